// Action lists and timers in form data: actions read as children of their list, with
// their properties and handlers bound by name, and written back the same way.
#include <gtest/gtest.h>

#include "platform/ActnList.h"
#include "platform/ExtCtrls.h"
#include "platform/Filer.h"

namespace {

// A form-like root: components without a parent are its children in form data.
class TActionForm : public TComponent {
  DECLARE_CLASS(TActionForm, TComponent)
public:
  explicit TActionForm(TComponent* AOwner) : TComponent(AOwner) {}
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override
  {
    for (int i = 0; i < ComponentCount(); ++i)
      if (!Components(i)->HasParent())
        Proc(Components(i));
  }
  void OpenExecute(TObject* Sender) { Log.push_back(L"open:" + static_cast<TComponent*>(Sender)->Name()); }
  void ListExecute(TBasicAction* Action, bool& Handled) { Log.push_back(L"list:" + Action->Name()); }
  void Tick(TObject*) {}
  std::vector<String> Log;
};

const wchar_t* FormText =
    L"object Form: TActionForm\n"
    L"  object Actions: TActionList\n"
    L"    OnExecute = ListExecute\n"
    L"    object OpenAction: TAction\n"
    L"      Category = 'File'\n"
    L"      Caption = '&Open...'\n"
    L"      Hint = 'Open|Opens a file'\n"
    L"      ImageIndex = 3\n"
    L"      ShortCut = 16463\n"
    L"      OnExecute = OpenExecute\n"
    L"    end\n"
    L"    object BoldAction: TAction\n"
    L"      AutoCheck = True\n"
    L"      Checked = True\n"
    L"      GroupIndex = 2\n"
    L"      Visible = False\n"
    L"    end\n"
    L"  end\n"
    L"  object Clock: TTimer\n"
    L"    Enabled = False\n"
    L"    Interval = 250\n"
    L"    OnTimer = Tick\n"
    L"  end\n"
    L"end\n";

struct TFormData : testing::Test {
  void SetUp() override
  {
    RegisterClasses(
        {TActionForm::StaticClass(), TActionList::StaticClass(), TAction::StaticClass(), TTimer::StaticClass()});
  }
  void TearDown() override
  {
    for (TClass cls :
         {TActionForm::StaticClass(), TActionList::StaticClass(), TAction::StaticClass(), TTimer::StaticClass()})
      UnRegisterClass(cls);
  }
};

}  // namespace

PUBLISHED(TActionForm, TComponent)
{
  p.Method(L"OpenExecute", &TActionForm::OpenExecute);
  p.Method(L"ListExecute", &TActionForm::ListExecute);
  p.Method(L"Tick", &TActionForm::Tick);
}

TEST_F(TFormData, ActionsAreReadIntoTheirListWithHandlersBound)
{
  auto* form = dynamic_cast<TActionForm*>(TextToComponent(FormText));
  ASSERT_NE(form, nullptr);
  auto* list = dynamic_cast<TActionList*>(form->FindComponent(L"Actions"));
  auto* open = dynamic_cast<TAction*>(form->FindComponent(L"OpenAction"));
  auto* bold = dynamic_cast<TAction*>(form->FindComponent(L"BoldAction"));
  ASSERT_TRUE(list && open && bold);
  EXPECT_EQ(open->Owner(), form);
  ASSERT_EQ(list->ActionCount(), 2);
  EXPECT_EQ(list->Actions(0), open);
  EXPECT_EQ(list->Actions(1), bold);
  EXPECT_EQ(open->Category(), L"File");
  EXPECT_EQ(open->Caption(), L"&Open...");
  EXPECT_EQ(open->ImageIndex(), 3);
  EXPECT_EQ(ShortCutToText(open->ShortCut()), L"Ctrl+O");
  EXPECT_TRUE(bold->AutoCheck());
  EXPECT_TRUE(bold->Checked());
  EXPECT_EQ(bold->GroupIndex(), 2);
  EXPECT_FALSE(bold->Visible());
  auto* clock = dynamic_cast<TTimer*>(form->FindComponent(L"Clock"));
  ASSERT_NE(clock, nullptr);
  EXPECT_FALSE(clock->Enabled());
  EXPECT_EQ(clock->Interval(), 250u);
  EXPECT_TRUE(clock->OnTimer().Assigned());

  open->Execute();
  EXPECT_EQ(form->Log, (std::vector<String>{L"list:OpenAction", L"open:OpenAction"}));
  form->Free();
}
