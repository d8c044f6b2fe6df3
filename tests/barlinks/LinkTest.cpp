// One link: accelerators, user values, the group mark, the item it shows, its control and
// its place in the recent-use order.
#include "LinksTestUtil.h"

#include "platform/IniFiles.h"
#include "support/FormRoundTrip.h"

#include "barextras/largebutton.h"
#include "bars/itemcontrols/edits.h"

namespace {

using TLinkTest = TLinksFixture;

// --- Accelerators (the keyboard layout of the test prefix is US).

struct TAccelCase {
  const wchar_t* Caption;
  uint16_t Key;
  TShiftState Shift;
  bool Matches;
};

TEST_F(TLinkTest, AccelTable)
{
  const TAccelCase cases[] = {
      {L"&open", 'O', {}, true},        {L"&open", 'O', {ssShift}, false},
      {L"&open", 'O', {ssCtrl}, false}, {L"&open", 'O', {ssLeft}, true},  // mouse buttons held play no part
      {L"&Open", 'O', {}, true},        {L"&Open", 'O', {ssShift}, true},
      {L"&Open", 'P', {}, false},       {L"&&Save", 'S', {}, false},
      {L"&&Save", 'A', {}, false},      {L"A&&B&c", 'C', {}, true},
      {L"A&&B&c", 'B', {}, false},      {L"&1", '1', {}, true},
      {L"&1", '1', {ssShift}, false},   {L"Save&", 'S', {}, false},
      {L"&", 'S', {}, false},           {L"Plain", 'P', {}, false},
      {L"Semi&;", VK_OEM_1, {}, true},  // punctuation goes through the layout
  };
  TdxBarItemLink* link = AddLink(L"unused");
  for (const TAccelCase& c : cases) {
    link->SetUserCaption(c.Caption);
    EXPECT_EQ(link->IsAccel(c.Key, c.Shift), c.Matches) << "caption " << ToUtf8(c.Caption) << " key " << c.Key;
  }
}

// --- User values.

TEST_F(TLinkTest, UserCaptionSetsItsFlagOnlyForAnotherText)
{
  TdxBarItemLink* link = AddLink(L"Item");
  link->CreateControl();
  TLinkTestControl* control = ControlOf<TLinkTestControl>(link);
  ASSERT_NE(control, nullptr);

  link->SetUserCaption(L"");
  EXPECT_TRUE(link->GetUserDefine().Empty());
  EXPECT_EQ(control->CaptionChanges, 0);

  link->SetUserCaption(L"Mine");
  EXPECT_EQ(link->GetUserDefine(), TdxBarUserDefines{udCaption});
  EXPECT_EQ(link->GetCaption(), L"Mine");
  EXPECT_EQ(control->CaptionChanges, 1);
  link->SetUserCaption(L"Mine");
  EXPECT_EQ(control->CaptionChanges, 1);

  // A new text while the flag is set still reaches the control.
  link->SetUserCaption(L"Yours");
  EXPECT_EQ(control->CaptionChanges, 2);

  link->SetUserDefine({});
  EXPECT_EQ(link->GetUserCaption(), L"");
  EXPECT_EQ(link->GetCaption(), L"Item");
  EXPECT_EQ(control->CaptionChanges, 3);
}

// A large button's Width fixes its control on every bar; an edit's is where its links start
// and each link may change it. Read from form data, written and read again.
TEST(LinkWidths, OnlyKindsWithAWidthPerLinkGiveTheirLinksTheItemsWidth)
{
  const wchar_t* const form =
      L"object LinksForm: TLinksTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    object Large: TdxBarLargeButton\n"
      L"      Caption = 'Large'\n"
      L"      Category = 0\n"
      L"      Width = 60\n"
      L"    end\n"
      L"    object Edit: TdxBarEdit\n"
      L"      Caption = 'Edit'\n"
      L"      Category = 0\n"
      L"      Width = 50\n"
      L"    end\n"
      L"  end\n"
      L"  object LinksOwner: TTestLinksOwner\n"
      L"    ItemLinks = <\n"
      L"      item\n"
      L"        ItemName = 'Large'\n"
      L"      end\n"
      L"      item\n"
      L"        ItemName = 'Edit'\n"
      L"      end\n"
      L"      item\n"
      L"        UserDefine = [udWidth]\n"
      L"        UserWidth = 80\n"
      L"        ItemName = 'Edit'\n"
      L"      end>\n"
      L"  end\n"
      L"end\n";
  const String written = ExpectFormRoundTrip<TLinksTestForm>(form, [](TComponent* Form) {
    auto* owner = dynamic_cast<TTestLinksOwner*>(Form->FindComponent(L"LinksOwner"));
    ASSERT_NE(owner, nullptr);
    TdxBarItemLinks* links = owner->GetItemLinks();
    ASSERT_EQ(links->Count(), 3);
    ASSERT_NE(dynamic_cast<TdxBarLargeButton*>(links->Items(0)->GetItem()), nullptr);
    EXPECT_EQ(links->Items(0)->GetItem()->GetWidth(), 60);
    EXPECT_EQ(links->Items(0)->GetWidth(), 0) << "a large button's width is not its links'";
    EXPECT_EQ(links->Items(1)->GetWidth(), 50);
    EXPECT_FALSE(links->Items(1)->GetUserDefine().Contains(udWidth)) << "the edit's width became the link's own";
    EXPECT_EQ(links->Items(2)->GetWidth(), 80) << "a link's own width wins";
  });
  // After the round trip the plain link still follows its edit.
  TOwned<TLinksTestForm> again(TCustomForm::CreateFromText<TLinksTestForm>(written, nullptr));
  auto* owner = dynamic_cast<TTestLinksOwner*>(again->FindComponent(L"LinksOwner"));
  ASSERT_NE(owner, nullptr);
  owner->GetItemLinks()->Items(1)->GetItem()->SetWidth(70);
  EXPECT_EQ(owner->GetItemLinks()->Items(1)->GetWidth(), 70);
  EXPECT_EQ(owner->GetItemLinks()->Items(2)->GetWidth(), 80);
}

// --- The group mark.

TEST_F(TLinkTest, FirstShownLinkNeverBeginsAGroup)
{
  TdxBarItemLink* a = AddLink(L"A");
  TdxBarItemLink* b = AddLink(L"B");
  a->SetBeginGroup(true);
  b->SetBeginGroup(true);
  EXPECT_FALSE(a->GetBeginGroup());
  EXPECT_TRUE(b->GetBeginGroup());
}

TEST_F(TLinkTest, HiddenLinkHandsItsGroupMarkToTheNextShownOne)
{
  AddLink(L"A");
  TdxBarItemLink* hidden = AddLink(L"Hidden");
  TdxBarItemLink* c = AddLink(L"C");
  hidden->SetBeginGroup(true);
  EXPECT_FALSE(c->GetBeginGroup());
  hidden->SetVisible(false);
  EXPECT_TRUE(c->GetBeginGroup());
  EXPECT_FALSE(c->GetStoredBeginGroup());

  // Not for a control the window aligns to the right.
  c->CreateControl();
  Bar()->AlignsControls = true;
  c->GetItem()->SetAlign(iaRight);
  EXPECT_FALSE(c->GetBeginGroup());
  c->GetItem()->SetAlign(iaLeft);
  EXPECT_TRUE(c->GetBeginGroup());
}

TEST_F(TLinkTest, HandOverBeginGroupKeepsEverySeparator)
{
  TdxBarItemLink* a = AddLink(L"A");
  TdxBarItemLink* b = AddLink(L"B");
  TdxBarItemLink* c = AddLink(L"C");

  b->SetBeginGroup(true);
  b->HandOverBeginGroup();
  EXPECT_TRUE(c->GetStoredBeginGroup());

  // The next link's own mark is not toggled away.
  b->SetBeginGroup(false);
  b->HandOverBeginGroup();
  EXPECT_TRUE(c->GetStoredBeginGroup());

  // What follows the first link becomes first: its mark goes.
  b->SetBeginGroup(true);
  a->HandOverBeginGroup();
  EXPECT_FALSE(b->GetStoredBeginGroup());
}

// --- The item.

TEST_F(TLinkTest, NilItemFreesTheLinkOnce)
{
  TdxBarItemLink* a = AddLink(L"A");
  AddLink(L"B");
  a->CreateControl();
  int deletes = 0;
  Manager()->OnItemLinkDelete = TdxBarItemLinkEvent([&](TObject*, TdxBarItemLink*) { ++deletes; });
  TWeakRef<TdxBarItemLink> weak(a);
  TdxBarItem* item = a->GetItem();

  a->SetItem(nullptr);
  EXPECT_FALSE(weak.Alive());
  EXPECT_EQ(Links()->Count(), 1);
  EXPECT_EQ(deletes, 1);
  EXPECT_EQ(item->GetLinkCount(), 0);
  EXPECT_EQ(TLinkTestControl::Alive, 0);
  EXPECT_EQ(Links()->GetRecentItems().size(), 1u);
  Manager()->OnItemLinkDelete = nullptr;
}

TEST_F(TLinkTest, RefusedRecursiveItemKeepsTheOldOne)
{
  TLinkTestItem* outer = NewItem(L"Outer");
  TLinkTestItem* inner = NewItem(L"Inner");
  TLinkTestItem* plain = NewItem(L"Plain");
  outer->MakeSubItem();
  inner->MakeSubItem();
  outer->GetItemLinks()->AddItem(inner);
  TdxBarItemLink* link = inner->GetItemLinks()->AddItem(plain);

  try {
    link->SetItem(outer);
    ADD_FAILURE() << "a recursive menu was accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"You cannot create recursive menus");
  }
  EXPECT_EQ(link->GetItem(), plain);
  EXPECT_EQ(plain->GetLinkCount(), 1);
  EXPECT_EQ(outer->GetLinkCount(), 0);
  EXPECT_EQ(inner->GetItemLinks()->Count(), 1);

  // A menu holding itself is refused too, and AddItem leaves no empty link behind.
  EXPECT_THROW(outer->GetItemLinks()->AddItem(outer), Exception);
  EXPECT_EQ(outer->GetItemLinks()->Count(), 1);
}

TEST_F(TLinkTest, ChangingTheItemFiresOnItemLinkChangeOnce)
{
  TdxBarItemLink* link = AddLink(L"A");
  int changes = 0;
  Manager()->OnItemLinkChange = TdxBarItemLinkEvent([&](TObject*, TdxBarItemLink* L) {
    if (L == link)
      ++changes;
  });
  link->SetItem(NewItem(L"B"));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(link->GetCaption(), L"B");
  Manager()->OnItemLinkChange = nullptr;
}

TEST_F(TLinkTest, FreeingTheItemRemovesItsLinks)
{
  TdxBarItemLink* a = AddLink(L"A");
  TdxBarItem* item = a->GetItem();
  Links()->AddItem(item);
  item->Free();
  EXPECT_EQ(Links()->Count(), 0);
  EXPECT_TRUE(Links()->GetShownItems().empty());
  EXPECT_TRUE(Links()->GetRecentItems().empty());
}

TEST_F(TLinkTest, DestructionClearsTheWindowsReferences)
{
  TdxBarItemLink* a = AddLink(L"A");
  a->CreateControl();
  Bar()->SelectLink(a);
  Bar()->SetLastClickedLink(a);
  a->Free();
  EXPECT_EQ(Bar()->GetSelectedLink(), nullptr);
  EXPECT_EQ(Bar()->GetLastClickedLink(), nullptr);
}

TEST_F(TLinkTest, ItemChangesReachTheControlThroughTheLink)
{
  TdxBarItemLink* plain = AddLink(L"A");
  TdxBarItemLink* own = Links()->AddItem(plain->GetItem());
  plain->CreateControl();
  own->CreateControl();
  own->SetUserCaption(L"Own");
  int ownCaptions = ControlOf<TLinkTestControl>(own)->CaptionChanges;
  plain->GetItem()->SetCaption(L"B");
  EXPECT_EQ(ControlOf<TLinkTestControl>(plain)->CaptionChanges, 1);
  EXPECT_EQ(ControlOf<TLinkTestControl>(own)->CaptionChanges, ownCaptions) << "a user caption holds the item's back";
  EXPECT_EQ(own->GetCaption(), L"Own");
}

TEST_F(TLinkTest, UnregisteredItemKindGetsNoControl)
{
  auto* item = new TdxBarItem(FHost->Form());
  TdxBarItemLink* link = Links()->AddItem(item);
  link->CreateControl();
  EXPECT_EQ(link->GetControl(), nullptr);
}

TEST_F(TLinkTest, RefusedAssignLeavesTheLinkUntouched)
{
  TLinkTestItem* menu = NewItem(L"Menu");
  menu->MakeSubItem();
  TdxBarItemLink* source = AddLink(L"Menu");
  source->SetItem(menu);
  source->SetUserCaption(L"Mine");
  TdxBarItemLink* inner = menu->GetItemLinks()->AddItem(NewItem(L"Inner"));
  EXPECT_THROW(inner->Assign(source), Exception);
  EXPECT_EQ(inner->GetCaption(), L"Inner");
  EXPECT_TRUE(inner->GetUserDefine().Empty());
}

// --- Recent use.

TEST_F(TLinkTest, NotMostRecentlyUsedGoesToTheBottom)
{
  TdxBarItemLink* a = AddLink(L"A");
  AddLink(L"B");
  AddLink(L"C");
  a->SetRecentIndex(0);
  a->SetMostRecentlyUsed(false);
  EXPECT_EQ(a->GetUseCount(), 0);
  EXPECT_EQ(a->GetRecentIndex(), 2);

  a->SetMostRecentlyUsed(true);
  EXPECT_EQ(a->GetUseCount(), Manager()->GetRecentItemsCount());
  EXPECT_EQ(a->GetRecentIndex(), 0);
}

TEST_F(TLinkTest, RecentIndexMovesALinkEitherWayAndKeepsWithinTheList)
{
  TdxBarItemLink* a = AddLink(L"A");
  TdxBarItemLink* b = AddLink(L"B");
  TdxBarItemLink* c = AddLink(L"C");
  TdxBarItemLink* d = AddLink(L"D");
  const auto order = [&] { return Captions(Links()->GetRecentItems()); };
  // Each link came to the top as it was added.
  ASSERT_EQ(order(), (std::vector<String>{L"D", L"C", L"B", L"A"}));
  b->SetRecentIndex(3);
  EXPECT_EQ(order(), (std::vector<String>{L"D", L"C", L"A", L"B"}));
  a->SetRecentIndex(0);
  EXPECT_EQ(order(), (std::vector<String>{L"A", L"D", L"C", L"B"}));
  c->SetRecentIndex(99);
  EXPECT_EQ(order(), (std::vector<String>{L"A", L"D", L"B", L"C"}));
  d->SetRecentIndex(-5);
  EXPECT_EQ(order(), (std::vector<String>{L"D", L"A", L"B", L"C"}));
  a->SetRecentIndex(1);
  EXPECT_EQ(order(), (std::vector<String>{L"D", L"A", L"B", L"C"}));
  EXPECT_EQ(c->GetRecentIndex(), 3);
}

// Reading only the usage values puts back the stored recent order, then packs the visible
// links to its front: a hidden link never holds a place a shown one could use.
TEST_F(TLinkTest, ReadingUsageOnlyPacksTheVisibleLinksFirst)
{
  TdxBarItemLink* a = AddLink(L"A");
  TdxBarItemLink* b = AddLink(L"B");
  TdxBarItemLink* c = AddLink(L"C");
  a->GetItem()->SetName(L"ItemA");
  b->GetItem()->SetName(L"ItemB");
  c->GetItem()->SetName(L"ItemC");
  b->SetVisible(false);
  for (TdxBarItemLink* link : {c, a, b})
    link->SetRecentIndex(0);
  ASSERT_EQ(Captions(Links()->GetRecentItems()), (std::vector<String>{L"B", L"A", L"C"}));
  TMemIniFile ini;
  Links()->SaveToIni(&ini, L"Links", false);
  c->SetRecentIndex(0);
  Links()->LoadUsageFromIni(&ini, L"Links", false);
  EXPECT_EQ(Captions(Links()->GetRecentItems()), (std::vector<String>{L"A", L"C", L"B"}));
}

TEST_F(TLinkTest, ShowingBringsToTopWithoutCountingAUse)
{
  TdxBarItemLink* a = AddLink(L"A");
  AddLink(L"B");
  AddLink(L"C");
  a->SetVisible(false);
  EXPECT_EQ(a->GetRecentIndex(), 2);
  int uses = a->GetUseCount();

  a->SetVisible(true);
  EXPECT_EQ(a->GetRecentIndex(), 0);
  EXPECT_EQ(a->GetUseCount(), uses);
  ASSERT_NE(ControlOf<TLinkTestControl>(a), nullptr);
  EXPECT_EQ(ControlOf<TLinkTestControl>(a)->VisibleChanges, 1);

  a->SetVisible(false);
  EXPECT_EQ(a->GetControl(), nullptr);
}

TEST_F(TLinkTest, AUseCountsForTheParentLinkToo)
{
  TdxBarItemLink* a = AddLink(L"A");
  TdxBarItemLink* parent = AddLink(L"Parent");
  auto* menu = new TTestLinksOwner(FHost->Form());
  menu->ParentRecentLink = parent;
  TdxBarItemLink* inner = menu->GetItemLinks()->AddItem(NewItem(L"Inner"));
  a->SetRecentIndex(0);
  int parentUses = parent->GetUseCount();
  int innerUses = inner->GetUseCount();

  inner->BringToTopInRecentList(true);
  EXPECT_EQ(inner->GetUseCount(), innerUses + 1);
  EXPECT_EQ(parent->GetUseCount(), parentUses + 1);
  EXPECT_EQ(parent->GetRecentIndex(), 0);

  // A parent chain that loops back ends.
  menu->ParentRecentLink = inner;
  inner->BringToTopInRecentList(true);
  EXPECT_EQ(inner->GetUseCount(), innerUses + 2);
}

TEST_F(TLinkTest, RecentIndexBeyondTheEndBecomesTheLast)
{
  TdxBarItemLink* a = AddLink(L"A");
  AddLink(L"B");
  a->SetRecentIndex(99);
  EXPECT_EQ(a->GetRecentIndex(), 1);
  a->SetRecentIndex(-4);
  EXPECT_EQ(a->GetRecentIndex(), 0);
}

}  // namespace
