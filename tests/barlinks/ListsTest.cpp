// A link collection's derived lists: separator thinning, the personalised-menu count, the
// shown links of a personalised menu, moving links and keyboard navigation.
#include "LinksTestUtil.h"

namespace {

using TListsTest = TLinksFixture;
using TStrings_ = std::vector<String>;

// --- Separators.

TEST_F(TListsTest, SeparatorsShowOnlyBetweenOtherLinksOrFirst)
{
  // Captions starting with S are separators.
  struct TRow {
    TStrings_ Links, Shown;
  };
  const TRow rows[] = {
      {{L"A", L"S1", L"S2", L"B", L"S3"}, {L"A", L"S2", L"B"}},
      {{L"S", L"A"}, {L"S", L"A"}},    // a leading separator stays
      {{L"A", L"S1", L"S2"}, {L"A"}},  // trailing ones all go
  };
  for (const TRow& row : rows) {
    Links()->Clear();
    for (const String& caption : row.Links)
      AddLink(caption, caption[0] == L'S');
    EXPECT_EQ(Captions(Links()->GetShownItems()), row.Shown) << ToUtf8(row.Links[0]) << row.Links.size();
    EXPECT_EQ(Captions(Links()->GetVisibleItems()), row.Shown);
    EXPECT_EQ(Links()->AvailableItemCount(), int(row.Links.size()));
  }
}

TEST_F(TListsTest, NothingIsThinnedWhileCustomizingOrUpdating)
{
  AddLink(L"A");
  AddLink(L"S1", true);
  AddLink(L"S2", true);
  Manager()->SetIsCustomizing(true);
  Links()->RebuildLists();
  EXPECT_EQ(Links()->ShownItemCount(), 3);
  Manager()->SetIsCustomizing(false);

  Links()->BeginUpdate();
  Links()->RebuildLists();
  EXPECT_EQ(Links()->ShownItemCount(), 3);
  Links()->EndUpdate();
  EXPECT_EQ(Links()->ShownItemCount(), 1);
}

// Each link remembers its place among the shown ones; every change of the list moves it.
TEST_F(TListsTest, ShownIndexFollowsHidingMovingAndDeleting)
{
  TdxBarItemLink* a = AddLink(L"A");
  TdxBarItemLink* b = AddLink(L"B");
  TdxBarItemLink* c = AddLink(L"C");
  auto Shown = [&] { return std::vector<int>{a->GetShownIndex(), b->GetShownIndex(), c->GetShownIndex()}; };
  EXPECT_EQ(Shown(), (std::vector<int>{0, 1, 2}));
  b->SetVisible(false);
  EXPECT_EQ(Shown(), (std::vector<int>{0, -1, 1}));
  b->SetVisible(true);
  c->SetIndex(0);
  EXPECT_EQ(Shown(), (std::vector<int>{1, 2, 0}));
  a->Free();
  EXPECT_EQ(b->GetShownIndex(), 1);
  EXPECT_EQ(c->GetShownIndex(), 0);
}

// --- Visibility and design time.

TEST_F(TListsTest, HiddenLinksAreNeverShown)
{
  AddLink(L"A");
  TdxBarItemLink* b = AddLink(L"B");
  TdxBarItemLink* c = AddLink(L"C");
  b->SetVisible(false);
  c->GetItem()->SetVisible(ivNever);
  EXPECT_EQ(Captions(Links()->GetShownItems()), (TStrings_{L"A"}));
  EXPECT_EQ(Captions(Links()->GetAvailableItems()), (TStrings_{L"A", L"B"}));
}

// --- Personalised menus.

TEST_F(TListsTest, RecentItemCountFromUseCounts)
{
  TdxBarItemLink* a = AddLink(L"A");
  TdxBarItemLink* b = AddLink(L"B");
  TdxBarItemLink* c = AddLink(L"C");
  a->SetUseCount(40);
  b->SetUseCount(2);
  c->SetUseCount(0);
  a->SetRecentIndex(0);
  b->SetRecentIndex(1);
  c->SetRecentIndex(2);
  // Threshold 0 + MulDiv(40, 5, 100) = 2: A and B reach it.
  EXPECT_EQ(Links()->CalcRecentItemCount(), 2);

  // The threshold moves with the least used: 2 + MulDiv(38, 5, 100) = 4 leaves only A.
  c->SetUseCount(2);
  EXPECT_EQ(Links()->CalcRecentItemCount(), 1);

  b->SetUseCount(40);
  c->SetUseCount(40);
  EXPECT_EQ(Links()->CalcRecentItemCount(), -1);

  Manager()->SetStyle(bmsStandard);
  c->SetUseCount(0);
  EXPECT_EQ(Links()->CalcRecentItemCount(), -1);
}

TEST_F(TListsTest, RecentOrderPositionsCountHiddenLinks)
{
  TdxBarItemLink* a = AddLink(L"A");
  TdxBarItemLink* hidden = AddLink(L"Hidden");
  TdxBarItemLink* b = AddLink(L"B");
  hidden->SetVisible(false);
  a->SetUseCount(40);
  hidden->SetUseCount(40);
  b->SetUseCount(0);
  hidden->SetRecentIndex(0);
  a->SetRecentIndex(1);
  b->SetRecentIndex(2);
  // Two visible links; position 1 of the order (A) reaches the threshold: all are shown.
  EXPECT_EQ(Links()->CalcRecentItemCount(), -1);
}

TEST_F(TListsTest, PersonalisedMenuShowsTheMostRecentInCollectionOrder)
{
  TdxBarItemLink* a = AddLink(L"A");
  AddLink(L"B");
  TdxBarItemLink* c = AddLink(L"C");
  c->SetRecentIndex(0);
  a->SetRecentIndex(1);
  Links()->SetRecentItemCount(2);
  EXPECT_EQ(Captions(Links()->GetShownItems()), (TStrings_{L"A", L"C"}));

  Links()->SetRecentItemCount(0);
  EXPECT_EQ(Links()->ShownItemCount(), 0);
  EXPECT_EQ(Links()->VisibleItemCount(), 3);

  Links()->RestoreRecentItemCount();
  EXPECT_EQ(Links()->ShownItemCount(), 2);

  Links()->SetUseRecentItems(false);
  Links()->SetRecentItemCount(1);
  EXPECT_EQ(Links()->GetRecentItemCount(), -1);
  EXPECT_EQ(Links()->ShownItemCount(), 3);
}

// --- Moving.

TEST_F(TListsTest, MoveLinkRebuildsTheWindowEvenWhenNothingMoves)
{
  AddLink(L"A");
  AddLink(L"B");
  AddLink(L"C");
  int rebuilds = Bar()->Rebuilds;
  Links()->MoveLink(0, 2);
  EXPECT_EQ(Captions(Links()->GetShownItems()), (TStrings_{L"B", L"C", L"A"}));
  EXPECT_GT(Bar()->Rebuilds, rebuilds);

  for (auto [from, to] : {std::pair{1, 1}, std::pair{-1, 0}, std::pair{0, 3}}) {
    rebuilds = Bar()->Rebuilds;
    Links()->MoveLink(from, to);
    EXPECT_EQ(Captions(Links()->GetShownItems()), (TStrings_{L"B", L"C", L"A"})) << from << "->" << to;
    EXPECT_GT(Bar()->Rebuilds, rebuilds) << from << "->" << to;
  }
}

// --- Keyboard navigation.

class TNavigationTest : public TLinksFixture {
protected:
  void SetUp() override
  {
    TLinksFixture::SetUp();
    for (const wchar_t* caption : {L"A", L"B", L"C", L"D"})
      AddLink(caption)->CreateControl();
  }
  TdxBarItemLink* Link(int Index) const { return Links()->Items(Index); }
  void SetSelectable(int Index, bool Value) { ControlOf<TLinkTestControl>(Link(Index))->Selectable = Value; }
};

TEST_F(TNavigationTest, NextAndPrevSkipWrapAndGiveNilAfterACircuit)
{
  SetSelectable(1, false);
  EXPECT_EQ(Links()->GetNextSelectableLink(Link(0)), Link(2));
  EXPECT_EQ(Links()->GetNextSelectableLink(Link(3)), Link(0));
  EXPECT_EQ(Links()->GetNextSelectableLink(Link(0), true), Link(1));
  EXPECT_EQ(Links()->GetNextSelectableLink(nullptr), Link(0));
  SetSelectable(1, true);
  SetSelectable(2, false);
  EXPECT_EQ(Links()->GetPrevSelectableLink(Link(3)), Link(1));
  EXPECT_EQ(Links()->GetPrevSelectableLink(Link(0)), Link(3));
  EXPECT_EQ(Links()->GetPrevSelectableLink(nullptr), Link(3));
  for (int i = 0; i < 4; ++i)
    SetSelectable(i, false);
  EXPECT_EQ(Links()->GetNextSelectableLink(Link(1)), nullptr);
  EXPECT_EQ(Links()->GetPrevSelectableLink(Link(1)), nullptr);
  EXPECT_EQ(Links()->GetFirstSelectableLink(), nullptr);
  EXPECT_EQ(Links()->GetLastSelectableLink(), nullptr);
}

TEST_F(TNavigationTest, OnlyFittingLinksTakePart)
{
  FOwner->FitsAll = false;
  Bar()->SetBounds(0, 0, 100, 20);
  for (int i = 0; i < 4; ++i)
    Link(i)->SetItemRect(Bounds(i * 30, 0, 30, 20));  // D ends at 120: cut off
  EXPECT_EQ(Links()->GetFittingItemCount(), 3);
  EXPECT_EQ(Links()->GetNextSelectableLink(Link(2)), Link(0));
  EXPECT_EQ(Links()->GetLastSelectableLink(), Link(2));

  Link(1)->SetItemRect(TRect{0, 0, 0, 0});  // an empty rectangle ends the count
  EXPECT_EQ(Links()->GetFittingItemCount(), 1);
}

// --- Accelerator search.

class TAccelSearchTest : public TLinksFixture {
protected:
  void AddMenu(bool ASubMenu)
  {
    if (ASubMenu) {
      FOwner->UseLinksOfKind<TdxBarSubMenuControlItemLinks>();
      Links()->CreateBarControl();
    }
    for (const wchar_t* caption : {L"&Open", L"&Save", L"&Other"})
      AddLink(caption)->CreateControl();
  }
  TdxBarItemLink* Link(int Index) const { return Links()->Items(Index); }
};

TEST_F(TAccelSearchTest, ToolbarStartsAfterTheStartLinkAndWraps)
{
  AddMenu(false);
  EXPECT_EQ(Links()->FindAccelLink('O', {ssAlt}, nullptr), Link(0));
  EXPECT_EQ(Links()->FindAccelLink('O', {}, nullptr), Link(0));
  EXPECT_EQ(Links()->FindAccelLink('O', {}, Link(0)), Link(2));
  EXPECT_EQ(Links()->FindAccelLink('O', {}, Link(2)), Link(0));
  // The start link itself is not a match of its own search.
  EXPECT_EQ(Links()->FindAccelLink('S', {}, Link(1)), nullptr);
  EXPECT_EQ(Links()->FindAccelLink('X', {}, nullptr), nullptr);
}

TEST_F(TAccelSearchTest, CharacterTypedWithAltGrIsFound)
{
  // A layout that types '@' with AltGr+Q, as many European layouts do.
  int16_t (*layout)(char) = dxBarVkKeyScan;
  dxBarVkKeyScan = [](char AChar) -> int16_t { return AChar == '@' ? 0x600 | 'Q' : -1; };
  AddLink(L"Mail &@")->CreateControl();
  TdxBarItemLink* found = Links()->FindAccelLink('Q', {ssCtrl, ssAlt}, nullptr);
  TdxBarItemLink* plain = Links()->FindAccelLink('Q', {}, nullptr);
  dxBarVkKeyScan = layout;
  EXPECT_EQ(found, Link(0));
  EXPECT_EQ(plain, nullptr);
}

TEST_F(TAccelSearchTest, ToolbarSkipsDisabledItemsAndHiddenWindows)
{
  AddMenu(false);
  Link(0)->GetItem()->SetEnabled(false);
  EXPECT_EQ(Links()->FindAccelLink('O', {}, nullptr), Link(2));
  Bar()->SetVisible(false);
  EXPECT_EQ(Links()->FindAccelLink('O', {}, nullptr), nullptr);
}

TEST_F(TAccelSearchTest, SubMenuTestsTheStartLinkLast)
{
  AddMenu(true);
  EXPECT_EQ(Links()->FindAccelLink('S', {}, Link(1)), Link(1));
  EXPECT_EQ(Links()->FindAccelLink('O', {ssAlt}, Link(0)), Link(2));
  EXPECT_EQ(Links()->FindAccelLink('O', {}, Link(2)), Link(0));
  // Selectability plays no part in a menu.
  ControlOf<TLinkTestControl>(Link(1))->Selectable = false;
  EXPECT_EQ(Links()->FindAccelLink('S', {}, nullptr), Link(1));
}

}  // namespace
