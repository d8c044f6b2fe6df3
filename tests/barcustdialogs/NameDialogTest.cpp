// The name dialog: texts by kind and mode, OK only with a name, a toolbar caption taken by
// another toolbar refused with the message while the dialog stays open, and the bar
// library's toolbar commands reaching the dialog.
#include "DialogTestUtil.h"
#include "barcustomize/namedialog.h"
#include "bars/model/customizing.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TNameDialog = TDialogsFixture;

TdxBarNameEd* NameDialog()
{
  return ActiveModalDialog<TdxBarNameEd>();
}

bool OKEnabled()
{
  TdxBarNameEd* dialog = NameDialog();
  return dialog && ::IsWindowEnabled(dialog->GetOKButton()->GetHandle());
}

TEST_F(TNameDialog, TakesItsTextsFromTheKindOfNameAndTheMode)
{
  struct {
    bool IsCategory;
    int Mode;
    const wchar_t* Caption;
    const wchar_t* Label;
  } rows[] = {
      {false, 0, L"Add Toolbar", L"&Toolbar name:"},     {false, 1, L"Rename Toolbar", L"&Toolbar name:"},
      {true, 0, L"Add Category", L"&Category name:"},    {true, 1, L"Insert Category", L"&Category name:"},
      {true, 2, L"Rename Category", L"&Category name:"},
  };
  Manager->GetFont()->SetName(L"Tahoma");
  for (const auto& row : rows) {
    TOwned<TdxBarNameEd> dialog(TCustomForm::Create<TdxBarNameEd>(nullptr));
    dialog->Prepare(L"Name", row.IsCategory, row.Mode, nullptr, Manager);
    EXPECT_EQ(dialog->GetCaption(), row.Caption);
    EXPECT_EQ(dynamic_cast<TControl*>(dialog->FindComponent(L"LName"))->GetCaption(), row.Label);
    EXPECT_EQ(dialog->GetFont()->GetName(), L"Tahoma") << "the manager's font name";
    EXPECT_EQ(dialog->GetFont()->GetHeight(), -11) << "the form's own height";
    EXPECT_EQ(dialog->GetClientRect(), Rect(0, 0, 266, 87));
  }
}

TEST_F(TNameDialog, OKIsEnabledOnlyWhileThereIsAName)
{
  ShowForm();
  String name;
  bool ok = false;
  bool enabledAtStart = true, enabledAfterTyping = false, enabledAfterErasing = true;
  PlayInModalLoop([&] { ok = ShowNameEditDialog(name, false, 0, nullptr, Manager); },
                  {[&] {
                     enabledAtStart = OKEnabled();
                     EXPECT_EQ(::GetWindow(NameDialog()->GetHandle(), GW_OWNER), Form->GetHandle())
                         << "owned by the window that was active";
                     TypeText(L"X");
                     PumpUntil(OKEnabled, 2000);
                     enabledAfterTyping = OKEnabled();
                     PressKey(VK_BACK);
                     PumpUntil([] { return !OKEnabled(); }, 2000);
                     enabledAfterErasing = OKEnabled();
                     PressKey(VK_RETURN);  // a disabled default button is not pressed
                   },
                   [&] {
                     EXPECT_NE(NameDialog(), nullptr);
                     TypeText(L"Tools");
                     PressKey(VK_RETURN);
                   }});
  EXPECT_FALSE(enabledAtStart);
  EXPECT_TRUE(enabledAfterTyping);
  EXPECT_FALSE(enabledAfterErasing);
  EXPECT_TRUE(ok);
  EXPECT_EQ(name, L"Tools");
}

TEST_F(TNameDialog, RefusesAnotherToolbarsCaptionAndStaysOpen)
{
  ShowForm();
  TMessageBoxScope boxes(IDOK);
  String name = L"Formatting";
  bool ok = false;
  PlayInModalLoop([&] { ok = ShowNameEditDialog(name, false, 1, Bar(L"Formatting"), Manager); },
                  {[&] {
                     TypeText(L"Standard");  // replaces the selected name
                     PressKey(VK_RETURN);
                   },
                   [&] {
                     ASSERT_NE(NameDialog(), nullptr) << "still open";
                     EXPECT_EQ(NameDialog()->GetModalResult(), mrNone);
                     ASSERT_EQ(boxes.Asked.size(), 1u);
                     EXPECT_EQ(boxes.Asked[0].Text, L"A toolbar named 'Standard' already exists. Type another name.");
                     EXPECT_EQ(boxes.Asked[0].Flags, 16u);
                     // Another case is another caption.
                     NameDialog()->GetNameEdit()->SelectAll();
                     TypeText(L"STANDARD");
                     PressKey(VK_RETURN);
                   }});
  EXPECT_TRUE(ok);
  EXPECT_EQ(name, L"STANDARD");
  EXPECT_EQ(boxes.Asked.size(), 1u);
}

TEST_F(TNameDialog, AcceptsTheBarsOwnCaptionAndAnyCategoryName)
{
  ShowForm();
  TMessageBoxScope boxes(IDOK);
  struct {
    bool IsCategory;
    TdxBar* Bar;
  } rows[] = {{false, Bar(L"Formatting")}, {true, nullptr}};
  for (const auto& row : rows) {
    String name = L"Formatting";
    bool ok = false;
    PlayInModalLoop([&] { ok = ShowNameEditDialog(name, row.IsCategory, 1, row.Bar, Manager); },
                    {[&] { PressKey(VK_RETURN); }});
    EXPECT_TRUE(ok) << row.IsCategory;
    EXPECT_EQ(name, L"Formatting");
  }
  EXPECT_TRUE(boxes.Asked.empty()) << "neither is compared with the bars";
}

TEST_F(TNameDialog, KeepsAVeryLongNameWhole)
{
  ShowForm();
  TMessageBoxScope boxes(IDOK);
  String longName(10000, L'x');
  longName[9999] = L'y';
  Bar(L"Standard")->SetCaption(longName);
  String name = longName;
  bool ok = true;
  // The same long caption is refused for another bar, with the whole caption in the message;
  // cancelling leaves the name as it was.
  PlayInModalLoop([&] { ok = ShowNameEditDialog(name, false, 1, Bar(L"Formatting"), Manager); },
                  {[&] {
                     EXPECT_EQ(NameDialog()->GetNameEdit()->GetText(), longName);
                     PressKey(VK_RETURN);
                   },
                   [&] { PressKey(VK_ESCAPE); }});
  EXPECT_FALSE(ok);
  EXPECT_EQ(name, longName);
  ASSERT_EQ(boxes.Asked.size(), 1u);
  EXPECT_EQ(boxes.Asked[0].Text, L"A toolbar named '" + longName + L"' already exists. Type another name.");
  // For the bar that has it, the long caption comes back whole.
  PlayInModalLoop([&] { ok = ShowNameEditDialog(name, false, 1, Bar(longName), Manager); }, {[&] {
                    PressKey(VK_END);
                    TypeText(L"z");
                    PressKey(VK_RETURN);
                  }});
  EXPECT_TRUE(ok);
  EXPECT_EQ(name, longName + L"z");
}

TEST_F(TNameDialog, NamesNewAndRenamedToolbarsOfTheBarLibrary)
{
  ASSERT_TRUE(dxBarCustomizingServices().ShowToolbarNameDialog) << "installed at start-up";
  ShowForm();
  TMessageBoxScope boxes(IDOK);
  TdxBar* created = nullptr;
  PlayInModalLoop([&] { created = Manager->NewToolBar(false, true); },
                  {[&] {
                     EXPECT_EQ(NameDialog()->GetCaption(), L"Add Toolbar");
                     EXPECT_EQ(NameDialog()->GetNameEdit()->GetText(), L"Custom 1");
                     TypeText(L"Formatting");
                     PressKey(VK_RETURN);
                   },
                   [&] {
                     EXPECT_EQ(boxes.Asked.size(), 1u) << "a new toolbar may not take a caption either";
                     NameDialog()->GetNameEdit()->SelectAll();
                     TypeText(L"Mine");
                     PressKey(VK_RETURN);
                   }});
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->GetCaption(), L"Mine");
  PlayInModalLoop([&] { Manager->RenameToolBar(created); }, {[&] {
                    EXPECT_EQ(NameDialog()->GetCaption(), L"Rename Toolbar");
                    TypeText(L"Renamed");
                    PressKey(VK_RETURN);
                  }});
  EXPECT_EQ(created->GetCaption(), L"Renamed");
  EXPECT_EQ(boxes.Asked.size(), 1u);
}

}  // namespace
