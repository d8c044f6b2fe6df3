// Links and item options in form data: "ItemName" written as the item's name and resolved
// after loading, the ancestor rule, and options stored only when set; options inherited
// from the parent menu.
#include "LinksTestUtil.h"
#include "support/FormRoundTrip.h"

#include "platform/Filer.h"

namespace {

const wchar_t* const kForm =
    L"object LinksForm: TLinksTestForm\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    object OpenItem: TLinkTestItem\n"
    L"      Caption = '&Open'\n"
    L"      Category = 0\n"
    L"    end\n"
    L"    object SaveItem: TLinkTestItem\n"
    L"      Caption = '&Save'\n"
    L"      Category = 0\n"
    L"    end\n"
    L"  end\n"
    L"  object LinksOwner: TTestLinksOwner\n"
    L"    ItemLinks = <\n"
    L"      item\n"
    L"        ItemName = 'OpenItem'\n"
    L"      end\n"
    L"      item\n"
    L"        BeginGroup = True\n"
    L"        UserCaption = 'Keep'\n"
    L"        Visible = False\n"
    L"        ItemName = 'SaveItem'\n"
    L"      end\n"
    L"      item\n"
    L"        ItemName = 'NoSuchItem'\n"
    L"      end>\n"
    L"    ItemOptions.ShowShortCuts = False\n"
    L"  end\n"
    L"end\n";

TdxBarItemLinks* LinksOf(TComponent* Form)
{
  auto* owner = dynamic_cast<TTestLinksOwner*>(Form->FindComponent(L"LinksOwner"));
  return owner ? owner->GetItemLinks() : nullptr;
}

void ExpectFormState(TComponent* Form)
{
  TdxBarItemLinks* links = LinksOf(Form);
  ASSERT_NE(links, nullptr);
  ASSERT_EQ(links->Count(), 3);
  EXPECT_EQ(links->Items(0)->GetItem(), Form->FindComponent(L"OpenItem"));
  EXPECT_EQ(links->Items(1)->GetItem(), Form->FindComponent(L"SaveItem"));
  EXPECT_EQ(links->Items(2)->GetItem(), nullptr);
  EXPECT_TRUE(links->Items(0)->GetItemName().empty());
  EXPECT_EQ(links->Items(1)->GetCaption(), L"Keep");
  EXPECT_EQ(links->Items(1)->GetUserDefine(), TdxBarUserDefines{udCaption});
  EXPECT_TRUE(links->Items(1)->GetStoredBeginGroup());
  EXPECT_FALSE(links->Items(1)->GetVisible());
  EXPECT_EQ(links->VisibleItemCount(), 1);
  EXPECT_FALSE(links->GetShowShortCuts());
  EXPECT_EQ(links->GetItemOptions()->GetAssignedValues(), TdxBarItemOptionValues{ioShowShortCuts});
}

TEST(LinksFormData, ItemNamesResolveAfterLoadingAndAreWrittenBack)
{
  String text = ExpectFormRoundTrip<TLinksTestForm>(kForm, ExpectFormState);
  EXPECT_NE(text.find(L"ItemName = 'OpenItem'"), String::npos) << ToUtf8(text);
  EXPECT_NE(text.find(L"ItemName = ''"), String::npos) << "a link without item names none";
  EXPECT_EQ(text.find(L"ShowDescriptions"), String::npos) << "an option never set is not stored";
}

// --- The ancestor rule.

class TAncestorTest : public TLinksFixture {
protected:
  bool WritesItemName(TdxBarItemLink* ALink, TPersistent* AAncestor)
  {
    TWriter writer;
    writer.SetRoot(FHost->Form());
    writer.SetAncestor(AAncestor);
    writer.WriteProperties(ALink);
    return writer.Text().find(L"ItemName") != String::npos;
  }
};

TEST_F(TAncestorTest, IdenticalAncestorLinkWritesNoItemName)
{
  TLinkTestItem* open = NewItem(L"Open");
  open->SetName(L"OpenItem");
  TLinkTestItem* save = NewItem(L"Save");
  save->SetName(L"SaveItem");
  TdxBarItemLink* link = Links()->AddItem(open);
  TdxBarItemLink* same = Links()->AddItem(open);
  TdxBarItemLink* other = Links()->AddItem(save);
  auto* ancestorForm = new TTestLinksOwner(FHost->Form());
  TdxBarItemLink* empty1 = ancestorForm->GetItemLinks()->Add();
  TdxBarItemLink* empty2 = ancestorForm->GetItemLinks()->Add();

  EXPECT_TRUE(WritesItemName(link, nullptr));
  EXPECT_FALSE(WritesItemName(link, same));
  EXPECT_TRUE(WritesItemName(link, other));
  EXPECT_TRUE(WritesItemName(link, empty1));
  EXPECT_FALSE(empty1->IsItemNameStored(empty2));
  EXPECT_TRUE(link->IsItemNameStored(open));  // an ancestor of another class differs
}

// --- Item options.

class TOptionsTest : public TLinksFixture {
protected:
  void SetUp() override
  {
    TLinksFixture::SetUp();
    FMenu = new TTestLinksOwner(FHost->Form());
    FMenu->UseLinksOfKind<TdxBarSubMenuControlItemLinks>();
    FMenu->ParentBar = Bar();
    FMenu->GetItemLinks()->CreateBarControl();
  }
  TdxBarItemLinks* Menu() const { return FMenu->GetItemLinks(); }
  TTestLinksOwner* FMenu = nullptr;
};

TEST_F(TOptionsTest, UnsetValuesComeFromTheParentMenu)
{
  Links()->GetItemOptions()->SetShowShortCuts(false);
  Links()->GetItemOptions()->SetSize(misLarge);
  EXPECT_FALSE(Menu()->GetShowShortCuts());
  EXPECT_EQ(Menu()->GetMenuItemSize(), misLarge);
  EXPECT_TRUE(Menu()->GetItemOptions()->GetShowShortCuts()) << "the menu's own value stays the default";

  Menu()->GetItemOptions()->SetShowShortCuts(true);
  EXPECT_TRUE(Menu()->GetShowShortCuts());
}

TEST_F(TOptionsTest, ParentChainThatLoopsEnds)
{
  auto* menuBar = dynamic_cast<TLinkTestBar*>(Menu()->GetBarControl());
  ASSERT_NE(menuBar, nullptr);
  Bar()->SetParentBar(menuBar);
  EXPECT_TRUE(Menu()->GetShowShortCuts());
  EXPECT_TRUE(Menu()->CanUseRecentItems());
  Bar()->SetParentBar(nullptr);
}

TEST_F(TOptionsTest, RecentItemsNeedTheParentMenuToo)
{
  EXPECT_TRUE(Menu()->CanUseRecentItems());
  Links()->SetUseRecentItems(false);
  EXPECT_FALSE(Menu()->CanUseRecentItems());
}

TEST_F(TOptionsTest, OnlySetValuesAreStored)
{
  TWriter writer;
  writer.SetRoot(FHost->Form());
  writer.WriteProperties(Links()->GetItemOptions());
  EXPECT_TRUE(writer.Text().empty()) << ToUtf8(writer.Text());

  Links()->GetItemOptions()->SetShowDescriptions(false);
  TWriter second;
  second.SetRoot(FHost->Form());
  second.WriteProperties(Links()->GetItemOptions());
  EXPECT_NE(second.Text().find(L"ShowDescriptions = False"), String::npos) << ToUtf8(second.Text());
  EXPECT_EQ(second.Text().find(L"ShowShortCuts"), String::npos);
  EXPECT_EQ(second.Text().find(L"AssignedValues"), String::npos);
}

}  // namespace
