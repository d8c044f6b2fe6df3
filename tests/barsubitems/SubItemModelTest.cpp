// The sub-item's model: its values' rules, the tear-off bar and that bar's removal, the
// recursion rule, compatibility, its links in the stored layout, and form data.
#include "SubItemsTestUtil.h"

#include "bars/model/registry.h"
#include "platform/IniFiles.h"
#include "support/FormRoundTrip.h"

namespace {

using TSubItemModel = TSubItemsFixture;

TEST_F(TSubItemModel, BarSizeAndDetachingBarTakeOnlyWhatExists)
{
  auto* sub = new TdxBarSubItem(Form);
  EXPECT_EQ(sub->GetNewItemCaption(), L"New SubItem");
  EXPECT_TRUE(sub->GetShowCaption());
  EXPECT_TRUE(sub->GetAllowCustomizing());
  EXPECT_FALSE(sub->IsClickable());
  sub->SetBarSize(-3);
  EXPECT_EQ(sub->GetBarSize(), 0);
  sub->SetBarSize(24);
  EXPECT_EQ(sub->GetBarSize(), 24);
  EXPECT_EQ(sub->GetDetachingBarIndex(), -1);
  sub->SetDetachingBarIndex(-5);
  EXPECT_EQ(sub->GetDetachingBarIndex(), -1);
  sub->SetDetachingBarIndex(1);
  EXPECT_EQ(sub->GetDetachingBarIndex(), -1) << "the manager has one bar";
  TdxBar* floating = Manager->GetBars()->Add();
  sub->SetDetachingBarIndex(1);
  EXPECT_EQ(sub->GetDetachingBarIndex(), 1);
  // Only a detachable sub-item offers the bar for tearing off.
  EXPECT_EQ(sub->GetDetachingBar(), nullptr);
  sub->SetDetachable(true);
  EXPECT_EQ(sub->GetDetachingBar(), floating);
  floating->Free();
  EXPECT_EQ(sub->GetDetachingBarIndex(), -1);
  EXPECT_EQ(sub->GetDetachingBar(), nullptr);
  // The item that goes first leaves the bar's listeners.
  TdxBar* other = Manager->GetBars()->Add();
  sub->SetDetachingBarIndex(1);
  sub->Free();
  other->Free();
  EXPECT_EQ(Manager->GetBars()->GetCount(), 1);
}

TEST_F(TSubItemModel, AMenuCannotContainItselfDirectlyOrThroughNestedMenus)
{
  TdxBarSubItem* file = Sub(L"FileItem");
  TdxBarSubItem* recent = Sub(L"RecentItem");
  auto expectRefused = [](TdxBarItemLinks* ALinks, TdxBarItem* AItem) {
    const int count = ALinks->Count();
    try {
      ALinks->AddItem(AItem);
      ADD_FAILURE() << "linked";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), L"You cannot create recursive menus");
    }
    EXPECT_EQ(ALinks->Count(), count);
  };
  expectRefused(file->GetItemLinks(), file);
  expectRefused(recent->GetItemLinks(), file);
  String message;
  EXPECT_FALSE(file->CheckRecursiveMenus(recent->GetItemLinks(), message));
  EXPECT_EQ(message, L"You cannot create recursive menus");
  message.clear();
  EXPECT_TRUE(recent->CheckRecursiveMenus(Sub(L"EditItem")->GetItemLinks(), message));
  EXPECT_TRUE(message.empty());
  EXPECT_TRUE(file->IsCompatibleWith(recent));
  EXPECT_FALSE(file->IsCompatibleWith(Item<TdxBarButton>(L"File0")));
}

TEST_F(TSubItemModel, TheLayoutKeepsEachNamedSubItemsLinksInItsOwnSection)
{
  TdxBarSubItem* file = Sub(L"FileItem");
  auto* unnamed1 = new TdxBarSubItem(Form);
  auto* unnamed2 = new TdxBarSubItem(Form);
  unnamed1->GetItemLinks()->AddItem(Item<TdxBarButton>(L"Edit0"));
  unnamed2->GetItemLinks()->AddItem(Item<TdxBarButton>(L"Edit1"));
  unnamed2->GetItemLinks()->AddItem(Item<TdxBarButton>(L"Edit2"));
  TMemIniFile ini;
  Manager->SaveLayoutToIni(&ini, L"Layout", false);
  EXPECT_EQ(ini.ReadInteger(L"LayoutSubItem_FileItem", L"ItemLinkCount", -1), 6);
  EXPECT_EQ(ini.ReadInteger(L"LayoutSubItem_RecentItem", L"ItemLinkCount", -1), 3);
  EXPECT_FALSE(ini.SectionExists(L"LayoutSubItem_")) << "unnamed sub-items share no section";
  // The user's changes go; loading brings the saved links back, the unnamed ones keep theirs.
  file->GetItemLinks()->Items(0)->Free();
  file->GetItemLinks()->Items(0)->Free();
  unnamed1->GetItemLinks()->Clear();
  Manager->LoadLayoutFromIni(&ini, L"Layout", false);
  ASSERT_EQ(file->GetItemLinks()->Count(), 6);
  EXPECT_EQ(file->GetItemLinks()->Items(0)->GetItem(), Item<TdxBarItem>(L"File0"));
  EXPECT_EQ(file->GetItemLinks()->Items(3)->GetItem(), Sub(L"RecentItem"));
  EXPECT_EQ(unnamed1->GetItemLinks()->Count(), 0);
  EXPECT_EQ(unnamed2->GetItemLinks()->Count(), 2);
  // A section without "ItemLinkCount" leaves the links as they are.
  TMemIniFile partial;
  partial.WriteString(L"LayoutSubItem_FileItem", L"Other", L"1");
  file->GetItemLinks()->Items(0)->Free();
  file->LoadLinks(&partial, L"Layout", false);
  EXPECT_EQ(file->GetItemLinks()->Count(), 5);
  file->LoadLinkUsage(&partial, L"Layout", false);
  EXPECT_EQ(file->GetItemLinks()->Count(), 5);
}

TEST_F(TSubItemModel, SubItemsAndListItemsReadAndWriteTheirValuesInFormData)
{
  const String text = MainMenuFormText();
  const size_t end = text.rfind(L"  end\nend\n");
  ASSERT_NE(end, String::npos);
  const String withList = text.substr(0, end) +
                          L"    object WindowList: TdxBarListItem\n"
                          L"      Caption = 'Windows'\n"
                          L"      Category = 0\n"
                          L"      ItemIndex = 2\n"
                          L"      Items.Strings = (\n"
                          L"        'One'\n"
                          L"        '-'\n"
                          L"        'Two')\n"
                          L"      ShowCheck = True\n"
                          L"      ShowNumbers = False\n"
                          L"    end\n"
                          L"    object SideSub: TdxBarSubItem\n"
                          L"      Caption = 'Side'\n"
                          L"      Category = 0\n"
                          L"      BarSize = 20\n"
                          L"      Detachable = True\n"
                          L"      DetachingBar = 0\n"
                          L"      ShowCaption = False\n"
                          L"      ItemOptions.ShowShortCuts = False\n"
                          L"      ItemLinks = <>\n"
                          L"    end\n" +
                          text.substr(end);
  ExpectFormRoundTrip<TSubItemsForm>(withList, [](TSubItemsForm* AForm) {
    auto* list = dynamic_cast<TdxBarListItem*>(AForm->FindComponent(L"WindowList"));
    auto* side = dynamic_cast<TdxBarSubItem*>(AForm->FindComponent(L"SideSub"));
    auto* file = dynamic_cast<TdxBarSubItem*>(AForm->FindComponent(L"FileItem"));
    ASSERT_TRUE(list && side && file);
    EXPECT_EQ(list->GetItems()->Count(), 3);
    EXPECT_EQ(list->GetItemIndex(), 2);
    EXPECT_EQ(list->GetDataIndex(), 1);
    EXPECT_TRUE(list->GetShowCheck());
    EXPECT_FALSE(list->GetShowNumbers());
    EXPECT_EQ(side->GetBarSize(), 20);
    EXPECT_TRUE(side->GetDetachable());
    EXPECT_EQ(side->GetDetachingBarIndex(), 0);
    EXPECT_FALSE(side->GetShowCaption());
    EXPECT_FALSE(side->GetItemOptions()->GetShowShortCuts());
    ASSERT_EQ(file->GetItemLinks()->Count(), 6);
    EXPECT_EQ(file->GetItemLinks()->Items(3)->GetItem(), AForm->FindComponent(L"RecentItem"));
    EXPECT_EQ(file->GetItemLinks()->Items(5)->GetItem(), AForm->FindComponent(L"File4"));
  });
}

// The sub-item kinds join the standard kinds between the combo and the label, with their
// controls; all but the extra pane's list are offered in the Customize dialog.
TEST(SubItemKinds, AreRegisteredInTheStandardOrderWithTheirControls)
{
  struct TRow {
    TClass Item, Control;
    bool Listed;
  } rows[] = {{TdxBarCombo::StaticClass(), TdxBarComboControl::StaticClass(), true},
              {TdxBarSubItem::StaticClass(), TdxBarSubItemControl::StaticClass(), true},
              {TdxBarListItem::StaticClass(), TdxBarContainerItemControl::StaticClass(), true},
              {TdxBarContainerItem::StaticClass(), TdxBarContainerItemControl::StaticClass(), true},
              {TdxBarExtraPaneListItem::StaticClass(), TdxBarContainerItemControl::StaticClass(), false},
              {TdxBarLabel::StaticClass(), TdxBarCustomStaticControl::StaticClass(), false}};
  TdxBarItemList* list = RegisteredBarItems();
  ASSERT_NE(list, nullptr);
  int previous = -1;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Item->ClassName());
    const int index = list->IndexOfItemClass(row.Item);
    ASSERT_GE(index, 0);
    EXPECT_EQ(index, previous < 0 ? index : previous + 1) << "next to the one before";
    previous = index;
    EXPECT_EQ(GetRegisteredControlClass(row.Item), row.Control);
    EXPECT_EQ(list->GetRecord(index)->ShownInCustomizing, row.Listed);
  }
}

}  // namespace
