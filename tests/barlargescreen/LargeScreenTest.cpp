// A screen of 144 dots per inch: the Customize dialog and the small customising dialogs are
// laid out for it from the 96 they were laid out at, check boxes whole; a large button of a
// fixed width shows its whole caption; a combo's first list has rows as tall as their text.
#include "LargeScreenTestUtil.h"

#include "barcustomize/customizeform.h"
#include "barcustomize/namedialog.h"
#include "barextras/largebutton.h"
#include "bars/itemcontrols/combos.h"
#include "bars/barwindows/dropdownlistbox.h"
#include "bars/barwindows/toolbar.h"
#include "platform/StdCtrls.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

// The cases below need the screen set before the program starts: run them in a copy of it.
TEST(LargeScreen, CasesAt144DotsPerInchPassInAProcessOfTheirOwn)
{
  if (IsRunningAtOtherDotsPerInch())
    GTEST_SKIP() << "the copy itself";
  EXPECT_EQ(RunTestsAtDotsPerInch(144, "TAt144DotsPerInch.*"), 0);
  EXPECT_EQ(ScreenDotsPerInch(), 96) << "this program's screen is as it was";
}

// A form with a manager and one docked toolbar holding AItems, shown.
struct TShownBar {
  TShownBar()
  {
    Host.Form()->SetBounds(60, 60, 600, 300);
    Bar = Host.Manager->GetBars()->Add();
    Bar->SetCaption(L"Tools");
    Bar->SetDockingStyle(dsTop);
    Bar->SetVisible(true);
    Host.Form()->Show();
    PumpPending();
  }
  template <class T>
  T* Add()
  {
    auto* item = new T(Host.Form());
    Bar->GetItemLinks()->AddItem(item);
    return item;
  }
  TBarHost<TLargeScreenForm> Host;
  TdxBar* Bar = nullptr;
};

TEST_F(TAt144DotsPerInch, TheCustomizeDialogIsLaidOutForTheScreenWithEveryCheckBoxWhole)
{
  TShownBar shown;
  shown.Add<TdxBarButton>()->SetCaption(L"Open");
  ActivateWindow(shown.Host.Form()->GetHandle());
  shown.Host.Manager->SetIsCustomizing(true);
  TdxBarCustomizingForm* dialog = GetCustomizingForm();
  ASSERT_NE(dialog, nullptr);
  // To the Options page, as a user goes.
  ASSERT_TRUE(ActivateWindow(dialog->GetHandle()));
  PressKey(VK_TAB, {VK_CONTROL});
  PressKey(VK_TAB, {VK_CONTROL});
  PumpPending();
  RECT client;
  GetClientRect(dialog->GetHandle(), &client);
  EXPECT_GE(client.right, Scaled(366));
  EXPECT_GE(client.bottom, Scaled(310));
  EXPECT_EQ(dialog->GetFont()->GetHeight(), Scaled(-11));
  // The box the system draws is as tall as a menu's check mark.
  const int glyph = GetSystemMetrics(SM_CYMENUCHECK);
  ASSERT_GT(glyph, 13);
  int boxes = 0, onPage = 0;
  ForEachControl(dialog, [&](TControl* AControl) {
    auto* box = dynamic_cast<TCheckBox*>(AControl);
    if (!box)
      return;
    ++boxes;
    SCOPED_TRACE(ToUtf8(box->Name()));
    EXPECT_GE(box->GetHeight(), glyph);
    if (!box->IsShowing())
      return;
    // What shows lies within what holds it.
    ++onPage;
    const TRect room = box->GetParent()->GetClientRect();
    EXPECT_LE(box->GetLeft() + box->GetWidth(), room.right);
    EXPECT_LE(box->GetTop() + box->GetHeight(), room.bottom);
  });
  EXPECT_GE(boxes, 5);
  EXPECT_GE(onPage, 3) << "the Options page shows";
  shown.Host.Manager->SetIsCustomizing(false);
  PumpPending();
}

TEST_F(TAt144DotsPerInch, TheSmallCustomizingDialogsAreLaidOutForTheScreen)
{
  TShownBar shown;
  TOwned<TdxBarNameEd> dialog(TCustomForm::Create<TdxBarNameEd>(nullptr));
  dialog->Prepare(L"Name", false, 0, nullptr, shown.Host.Manager);
  EXPECT_EQ(dialog->GetClientRect(), Rect(0, 0, Scaled(266), Scaled(87)));
  EXPECT_EQ(dialog->GetFont()->GetHeight(), Scaled(-11));
  auto* edit = dynamic_cast<TControl*>(dialog->FindComponent(L"EName"));
  ASSERT_NE(edit, nullptr);
  EXPECT_LE(edit->GetLeft() + edit->GetWidth(), dialog->GetClientRect().right);
}

// The demo's buttons are 60 pixels wide at 96 dots per inch: "Remove" fits there, and at 144
// in the width scaled with the text.
TEST_F(TAt144DotsPerInch, ALargeButtonOfAFixedWidthShowsItsWholeCaption)
{
  TShownBar shown;
  auto* button = shown.Add<TdxBarLargeButton>();
  button->SetCaption(L"Remove");
  button->SetWidth(60);
  PumpPending();
  TdxBarItemLink* link = shown.Bar->GetItemLinks()->Items(0);
  const TRect r = link->GetItemRect();
  EXPECT_EQ(RectWidth(r), Scaled(60));
  TdxBarControl* bar = shown.Bar->GetControl();
  HDC dc = GetDC(bar->GetHandle());
  HGDIOBJ old = SelectObject(dc, shown.Host.Manager->GetFont()->GetHandle());
  SIZE text{};
  GetTextExtentPoint32W(dc, L"Remove", 6, &text);
  SelectObject(dc, old);
  ReleaseDC(bar->GetHandle(), dc);
  EXPECT_GT(RectWidth(r), text.cx + 4) << "the caption and a margin on each side";
}

TEST_F(TAt144DotsPerInch, AComboFirstListHasRowsAsTallAsTheirText)
{
  TShownBar shown;
  auto* combo = shown.Add<TdxBarCombo>();
  combo->SetWidth(120);
  for (const wchar_t* entry : {L"Alpha", L"Beta", L"Gamma", L"Delta"})
    combo->GetItems()->Add(entry);
  PumpPending();
  auto* control = dynamic_cast<TdxBarComboControl*>(shown.Bar->GetItemLinks()->Items(0)->GetControl());
  ASSERT_NE(control, nullptr);
  control->SetFocused(true);
  control->SetDroppedDown(true);
  HWND list = combo->GetListBox()->GetHandle();
  ASSERT_TRUE(IsWindowVisible(list));
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, combo->GetListBox()->GetFont()->GetHandle());
  SIZE text{};
  GetTextExtentPoint32W(dc, L"Qq", 2, &text);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), text.cy);
  control->SetFocused(false);
}

}  // namespace
