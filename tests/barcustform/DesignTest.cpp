// What the dialog shows only while the form is designed: the "... modify" buttons and their
// menus, moving and deleting commands, the all-commands and groups pages.
#include "CustFormTestUtil.h"

#include "barcustomize/submenueditor.h"
#include "bars/model/groups.h"
#include "bars/menus/popupmenu.h"
#include "bars/itemcontrols/subitems.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/ModalLoop.h"
#include "support/Pump.h"

namespace {

class TDesign : public TCustFormFixture {
protected:
  void SetUp() override
  {
    TCustFormFixture::SetUp();
    Manager->SetDesigning(true, false);
  }
  void TearDown() override
  {
    Manager->SetIsCustomizing(false);
    Manager->SetDesigning(false, false);
    TCustFormFixture::TearDown();
  }
  POINT ButtonPoint(TCheckableButton* AButton)
  {
    POINT p{AButton->GetLeft() + AButton->GetWidth() / 2, AButton->GetTop() + AButton->GetHeight() / 2};
    ::ClientToScreen(AButton->GetParent()->GetHandle(), &p);
    return p;
  }
};

TEST_F(TDesign, ModifyButtonOpensItsMenuAndASecondPressClosesIt)
{
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  PumpPending();
  TCheckableButton* button = Dialog->CategoriesModifyButton;
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetCaption(), L"... modify");
  int popups = 0;
  bool checkedWhileOpen = false;
  Dialog->CategoriesPopupMenu->OnPopup = TNotifyEvent([&](TObject*) {
    ++popups;
    checkedWhileOpen = button->GetChecked();
  });
  const POINT p = ButtonPoint(button);
  ASSERT_TRUE(MoveMouseTo(p));
  EXPECT_TRUE(RunScript(
      [&] {
        SendMouseButton(true);
        SendMouseButton(false);
        PauseScript(300);
        // The press that closes the open menu lands on the button again.
        SendMouseButton(true);
        PauseScript(60);
        SendMouseButton(false);
        PauseScript(100);
      },
      [] { return !IsAnyPopupMenuOpen(); }, 50, 6000));
  PumpPending();
  EXPECT_EQ(popups, 1) << "closing by a press on the button does not open it again";
  EXPECT_TRUE(checkedWhileOpen) << "drawn pressed while its menu is open";
  EXPECT_FALSE(button->GetChecked());
}

TEST_F(TDesign, CommandsMoveWithCtrlArrowsAndDeleteWithTheKey)
{
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  PumpPending();
  ::SetFocus(Dialog->lbItems->GetHandle());
  Dialog->lbItems->SetItemIndex(0);
  ASSERT_TRUE(PressKey(VK_DOWN, {VK_CONTROL}));
  PumpPending();
  ASSERT_EQ(Dialog->lbItems->GetCount(), 2);
  EXPECT_EQ(Dialog->lbItems->GetItems()->GetObject(1), Item(L"File0"));
  EXPECT_EQ(Dialog->lbItems->GetItemIndex(), 1) << "the moved command stays selected";
  EXPECT_LT(Manager->GetItemList()->IndexOf(Item(L"File1")), Manager->GetItemList()->IndexOf(Item(L"File0")));
  TWeakRef<TdxBarItem> file0(Item(L"File0"));
  ASSERT_TRUE(PressKey(VK_DELETE));
  PumpPending();
  EXPECT_FALSE(file0);
  EXPECT_EQ(Dialog->lbItems->GetCount(), 1);
}

TEST_F(TDesign, DeletingACategoryOrClearingItAsksFirst)
{
  ASSERT_NE(Open(), nullptr);
  Dialog->lbCategories->SetItemIndex(1);
  {
    TMessageBoxScope box(IDCANCEL);
    Dialog->CommandsPopupMenu->GetItemLinks()->Items(2)->GetItem()->Click();
    ASSERT_EQ(box.Asked.size(), 1u);
    EXPECT_EQ(box.Asked[0].Text, L"Are you sure you want to delete all commands in the 'Tools' category?");
    EXPECT_EQ(box.Asked[0].Flags, 0x31u);
  }
  EXPECT_NE(Item(L"Tool2"), nullptr);
  {
    TMessageBoxScope box(IDOK);
    Dialog->CategoriesPopupMenu->GetItemLinks()->Items(4)->GetItem()->Click();
    ASSERT_EQ(box.Asked.size(), 1u);
    EXPECT_EQ(box.Asked[0].Text, L"Are you sure you want to delete the 'Tools' category?");
  }
  EXPECT_EQ(Item(L"Tool2"), nullptr) << "its commands go with it";
  EXPECT_EQ(Manager->GetCategories()->Count(), 1);
  PumpPending();
  EXPECT_EQ(Dialog->lbCategories->GetCount(), 1);
}

TEST_F(TDesign, AllCommandsAndGroupsPagesListWhatTheManagerHas)
{
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(Dialog->LAllCommands->GetCount(), 5);
  EXPECT_EQ(Dialog->LAllCommands->GetItems()->Get(1), L"File1\tSave\t");
  EXPECT_GT(::SendMessageW(Dialog->LAllCommands->GetHandle(), LB_GETHORIZONTALEXTENT, 0, 0), 30);
  Dialog->PageControl->SetActivePage(Dialog->tsGroups);
  PumpPending();
  EXPECT_EQ(Dialog->lbGroups->GetCount(), 0);
  RECT r{};
  ::GetWindowRect(dynamic_cast<TButton*>(Dialog->FindComponent(L"BAddGroup"))->GetHandle(), &r);
  ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  PumpPending();
  ASSERT_EQ(Manager->GetGroupCount(), 1);
  EXPECT_EQ(Dialog->lbGroups->GetCount(), 1);
  TdxBarGroup* group = Manager->GetGroup(0);
  group->Add(Item(L"Tool0"));
  ASSERT_TRUE(ClickAt(EntryPoint(Dialog->lbGroups, 0)));
  PumpPending();
  ASSERT_EQ(Dialog->lbGroupItems->GetCount(), 1);
  EXPECT_EQ(Dialog->lbGroupItems->GetItems()->Get(0), L"Tool0");
  ASSERT_TRUE(ClickAt(EntryPoint(Dialog->lbGroupItems, 0)));
  ::GetWindowRect(dynamic_cast<TButton*>(Dialog->FindComponent(L"BDeleteGroupItem"))->GetHandle(), &r);
  ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  PumpPending();
  EXPECT_EQ(group->GetCount(), 0);
  EXPECT_EQ(Dialog->lbGroupItems->GetCount(), 0);
}

// The entries that ask for a name, a kind or members open the small dialogs, and what those
// answer lands in the manager.
TEST_F(TDesign, MenuEntriesAndGroupButtonsOpenTheSmallDialogs)
{
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  PumpPending();
  auto entry = [](TdxBarPopupMenu* AMenu, int AIndex) { return AMenu->GetItemLinks()->Items(AIndex)->GetItem(); };
  auto retype = [](const wchar_t* AText) {
    PressKey(VK_END);
    for (int i = 0; i < 12; ++i)
      PressKey(VK_BACK);
    TypeText(AText);
    PressKey(VK_RETURN);
  };
  TStrings* categories = Manager->GetCategories();
  PlayInModalLoop([&] { entry(Dialog->CategoriesPopupMenu, 0)->Click(); }, {[&] { retype(L"Songs"); }});
  ASSERT_EQ(categories->Count(), 3);
  EXPECT_EQ(categories->Get(2), L"Songs");
  EXPECT_EQ(Dialog->GetSelectedCategory(), 2);
  Dialog->lbCategories->SetItemIndex(1);
  PlayInModalLoop([&] { entry(Dialog->CategoriesPopupMenu, 1)->Click(); }, {[&] { retype(L"Albums"); }});
  ASSERT_EQ(categories->Count(), 4);
  EXPECT_EQ(categories->Get(1), L"Albums");
  EXPECT_EQ(Item(L"Tool0")->GetCategory(), 2) << "the commands keep their category";
  PlayInModalLoop([&] { entry(Dialog->CategoriesPopupMenu, 2)->Click(); }, {[&] { retype(L"Artists"); }});
  EXPECT_EQ(categories->Get(1), L"Artists");
  EXPECT_EQ(categories->Count(), 4);

  // A command of the first kind, with the proposed name and caption, in the selected category.
  Dialog->lbCategories->SetItemIndex(0);
  const int count = Manager->GetItemCount();
  PlayInModalLoop([&] { entry(Dialog->CommandsPopupMenu, 0)->Click(); }, {[] { PressKey(VK_RETURN); }});
  ASSERT_EQ(Manager->GetItemCount(), count + 1);
  TdxBarItem* added = Dialog->GetSelectedItem();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->GetCaption(), L"New Item");
  EXPECT_EQ(added->GetCategory(), 0);

  // A sub item's links open in the sub-menu editor.
  auto* sub = new TdxBarSubItem(Host);
  sub->SetCaption(L"Recent");
  sub->SetCategory(0);
  PumpPending();
  Dialog->lbItems->SetItemIndex(Dialog->lbItems->GetItems()->IndexOfObject(sub));
  entry(Dialog->CommandsPopupMenu, 5)->Click();
  ASSERT_NE(GetSubMenuEditorForm(), nullptr);
  GetSubMenuEditorForm()->Close();
  EXPECT_TRUE(PumpUntil([] { return GetSubMenuEditorForm() == nullptr; }));

  // Members chosen in the picker join the group; the arrows move them.
  TdxBarGroup* group = Manager->AddGroup();
  group->Add(Item(L"Tool1"));
  Dialog->PageControl->SetActivePage(Dialog->tsGroups);
  PumpPending();
  ASSERT_TRUE(ClickAt(EntryPoint(Dialog->lbGroups, 0)));
  PumpPending();
  auto button = [&](const wchar_t* AName) { return dynamic_cast<TButton*>(Dialog->FindComponent(AName)); };
  PlayInModalLoop([&] { button(L"BAddGroupItem")->Click(); }, {[] {
                    PressKey(VK_DOWN);
                    PressKey(VK_DOWN);
                    PressKey(VK_RETURN);
                  }});
  ASSERT_EQ(group->GetCount(), 2);
  TdxBarComponent* chosen = group->GetItem(1);
  ASSERT_NE(dynamic_cast<TdxBarItem*>(chosen), nullptr);
  EXPECT_EQ(static_cast<TdxBarItem*>(chosen)->GetCategory(), 0) << "a command under the first heading";
  PumpPending();
  Dialog->lbGroupItems->SetItemIndex(1);
  button(L"BMoveUpGroupItem")->Click();
  EXPECT_EQ(group->GetItem(0), chosen);
  EXPECT_EQ(Dialog->lbGroupItems->GetItemIndex(), 0) << "the moved member stays selected";
  button(L"BMoveUpGroupItem")->Click();
  EXPECT_EQ(group->GetItem(0), chosen) << "the first member goes no higher";
}

// The groups page follows the selection: a selected group becomes the listed one, a selected
// member is selected among its members.
TEST_F(TDesign, GroupListsTakeTheSelection)
{
  ASSERT_NE(Open(), nullptr);
  TdxBarGroup* first = Manager->AddGroup();
  first->Add(Item(L"Tool0"));
  TdxBarGroup* second = Manager->AddGroup();
  second->Add(Item(L"Tool1"));
  second->Add(Item(L"Tool2"));
  Dialog->PageControl->SetActivePage(Dialog->tsGroups);
  PumpPending();
  ASSERT_EQ(Dialog->lbGroups->GetCount(), 2);
  ASSERT_EQ(Dialog->lbGroups->GetItemIndex(), 0);
  // A form designer holds the selection and says when it changes.
  struct THook : IdxBarDesignerHook {
    void GetSelection(TList* AList) override
    {
      if (Selected)
        AList->Add(Selected);
    }
    void SelectComponent(TComponent*, int) override {}
    TComponent* Selected = nullptr;
  } hook;
  Manager->SetDesignerHook(&hook);
  TFinally unhook([&] { Manager->SetDesignerHook(nullptr); });
  hook.Selected = second;
  Manager->DesignerSelectionChanged();
  PumpPending();
  EXPECT_EQ(Dialog->lbGroups->GetItemIndex(), 1);
  ASSERT_EQ(Dialog->lbGroupItems->GetCount(), 2) << "the members of the selected group";
  hook.Selected = Item(L"Tool2");
  Manager->DesignerSelectionChanged();
  PumpPending();
  EXPECT_EQ(Dialog->lbGroupItems->GetItemIndex(), 1);
}

// Insert in the command list adds a command as the menu entry does; ending customizing
// closes the sub-menu editor, which edits links only while their manager customizes.
TEST_F(TDesign, InsertAddsACommandAndEndingCustomizingClosesTheSubMenuEditor)
{
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  PumpPending();
  Dialog->lbCategories->SetItemIndex(0);
  Dialog->lbItems->SetFocus();
  PumpPending();
  ASSERT_EQ(::GetFocus(), Dialog->lbItems->GetHandle());
  const int count = Manager->GetItemCount();
  PlayInModalLoop([] { PressKey(VK_INSERT); }, {[] { PressKey(VK_RETURN); }});
  ASSERT_EQ(Manager->GetItemCount(), count + 1);
  ASSERT_NE(Dialog->GetSelectedItem(), nullptr);
  EXPECT_EQ(Dialog->GetSelectedItem()->GetCaption(), L"New Item");

  auto* sub = new TdxBarSubItem(Host);
  sub->SetCategory(0);
  ShowSubMenuEditor(sub->GetItemLinks());
  ASSERT_NE(GetSubMenuEditorForm(), nullptr);
  Manager->SetIsCustomizing(false);
  EXPECT_TRUE(PumpUntil([] { return GetSubMenuEditorForm() == nullptr; }));
}

}  // namespace

namespace {

using THiddenPages = TCustFormFixture;

TEST_F(THiddenPages, KeyTipsAreCollectedOnAPageThatNeverShows)
{
  ASSERT_NE(Open(), nullptr);
  EXPECT_FALSE(Dialog->TabSheet1->GetTabVisible());
  EXPECT_FALSE(Dialog->tsCommands->GetTabVisible()) << "design-time pages stay hidden at run time";
  EXPECT_FALSE(Dialog->tsGroups->GetTabVisible());
  TTreeNodes* nodes = Dialog->tvKeyTips->GetItems();
  TTreeNode* tools = nullptr;
  for (TTreeNode* node = nodes->GetFirstNode(); node; node = node->GetNextSibling())
    if (node->GetText() == L"Tools")
      tools = node;
  ASSERT_NE(tools, nullptr);
  EXPECT_EQ(tools->GetCount(), 3) << "one key tip per button";
}

}  // namespace
