// A combo's open list and its form's end: closing the form puts the list away, and the
// close-up event never reaches a form whose destructor has run.
#include "EditTestUtil.h"

#include <functional>

#include "bars/itemcontrols/combos.h"
#include "bars/barwindows/dropdownlistbox.h"

namespace {

// Outlives the form, so it can tell whether an event came while the form was being freed.
class TCloseUpWatch : public TObject {
public:
  void CloseUp(TObject*)
  {
    ++Calls;
    if (FormGone || Form->ComponentState().Contains(csDestroying))
      ++CallsAfterFormGone;
  }
  TComponent* Form = nullptr;
  bool FormGone = false;
  int Calls = 0;
  int CallsAfterFormGone = 0;
};

class TComboForm : public TForm {
  DECLARE_CLASS(TComboForm, TForm)
public:
  explicit TComboForm(TComponent* AOwner) : TForm(AOwner) {}
  ~TComboForm() override
  {
    if (Watch)
      Watch->FormGone = true;
  }
  TCloseUpWatch* Watch = nullptr;
};

IMPLEMENT_CLASS(TComboForm, TForm)

struct TComboFormParts {
  TComboForm* Form;
  TdxBarCombo* Combo;
  TdxBar* Bar;
};

TComboFormParts MakeComboForm(TCloseUpWatch& AWatch, bool AShowEditor)
{
  auto* form = TCustomForm::CreateNew<TComboForm>(nullptr);
  form->Watch = &AWatch;
  AWatch.Form = form;
  form->SetBounds(150, 150, 400, 200);
  auto* manager = new TdxBarManager(form);
  auto* combo = new TdxBarCombo(form);
  for (const wchar_t* text : {L"red", L"green", L"blue"})
    combo->GetItems()->Add(text);
  combo->SetWidth(120);
  combo->SetShowEditor(AShowEditor);
  combo->OnCloseUp = TNotifyEvent(&AWatch, &TCloseUpWatch::CloseUp);
  TdxBar* bar = manager->GetBars()->Add();
  bar->SetDockingStyle(dsTop);
  bar->GetItemLinks()->AddItem(combo);
  bar->SetVisible(true);
  form->Show();
  return {form, combo, bar};
}

bool OpenByArrow(const TComboFormParts& AParts)
{
  if (!ActivateWindow(AParts.Form->GetHandle()))
    return false;
  TdxBarItemLink* link = AParts.Bar->GetItemLinks()->Items(0);
  auto* control = dynamic_cast<TdxBarComboControl*>(link->GetControl());
  if (!control)
    return false;
  const TRect button = control->GetDropDownRect();
  POINT arrow{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ::ClientToScreen(AParts.Bar->GetControl()->GetHandle(), &arrow);
  TdxBarCombo* combo = AParts.Combo;
  return ClickAt(arrow) && PumpUntil([combo] { return ::IsWindowVisible(combo->GetListBox()->GetHandle()); });
}

}  // namespace

TEST(TComboFormClose, ClosingOrFreeingTheFormPutsTheOpenListAway)
{
  const struct {
    const char* Name;
    bool ShowEditor;
    bool CloseFirst;
  } rows[] = {
      {"closed, then freed, with the editor", true, true},
      {"closed, then freed, without the editor", false, true},
      {"freed with the list open, with the editor", true, false},
      {"freed with the list open, without the editor", false, false},
  };
  for (const auto& k : rows) {
    TCloseUpWatch watch;
    TComboFormParts parts = MakeComboForm(watch, k.ShowEditor);
    TOwned<TComboForm> owned(parts.Form);
    ASSERT_TRUE(OpenByArrow(parts)) << k.Name;
    HWND list = parts.Combo->GetListBox()->GetHandle();
    if (k.CloseFirst) {
      ::SendMessageW(parts.Form->GetHandle(), WM_CLOSE, 0, 0);
      PumpPending();
      EXPECT_FALSE(::IsWindowVisible(parts.Form->GetHandle())) << k.Name;
      EXPECT_FALSE(::IsWindowVisible(list)) << k.Name << ": the list stays on the screen";
      EXPECT_EQ(watch.Calls, 1) << k.Name;
    }
    parts.Form->Free();
    PumpPending();
    EXPECT_FALSE(::IsWindow(list) && ::IsWindowVisible(list)) << k.Name;
    EXPECT_TRUE(watch.FormGone) << k.Name;
    EXPECT_EQ(watch.CallsAfterFormGone, 0) << k.Name << ": an event reached the form being freed";
  }
}
