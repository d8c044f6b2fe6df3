// Merging the links of one collection into another and taking them out again.
#include "LinksTestUtil.h"

#include "bars/model/bar.h"

namespace {

using TStrings_ = std::vector<String>;

class TMergeTest : public TLinksFixture {
protected:
  void SetUp() override
  {
    TLinksFixture::SetUp();
    FSource = new TTestLinksOwner(FHost->Form());
    FMergedBar = Manager()->GetBars()->Add();
    dxBarSetMergingBar(FMergedBar);
  }
  void TearDown() override
  {
    dxBarSetMergingBar(nullptr);
    TLinksFixture::TearDown();
  }
  // Real bars: a merged link may be asked about the bar it came from.
  TdxBar* MergedBar() const { return FMergedBar; }
  TdxBarItemLinks* Source() const { return FSource->GetItemLinks(); }
  TLinkTestItem* Ordered(const String& ACaption, int AOrder, TdxBarItemMergeKind AKind = mkAdd)
  {
    TLinkTestItem* item = NewItem(ACaption);
    item->SetMergeOrder(AOrder);
    item->SetMergeKind(AKind);
    return item;
  }
  std::vector<String> Dest() const { return Captions(Links()->GetShownItems()); }

  TTestLinksOwner* FSource = nullptr;
  TdxBar* FMergedBar = nullptr;
};

TEST_F(TMergeTest, AddInsertsByMergeOrder)
{
  Links()->AddItem(Ordered(L"A", 0));
  Links()->AddItem(Ordered(L"B", 2));
  Links()->AddItem(Ordered(L"C", 5));
  Source()->AddItem(Ordered(L"X", 3));
  Source()->AddItem(Ordered(L"Y", 2));  // after the last of equal order
  Source()->AddItem(Ordered(L"Z", 9));
  Links()->MergeLinks(Source());
  EXPECT_EQ(Dest(), (TStrings_{L"A", L"B", L"Y", L"X", L"C", L"Z"}));
  EXPECT_EQ(Links()->Items(3)->GetMergedFromBar(), MergedBar());
  EXPECT_EQ(Links()->Items(0)->GetMergedFromBar(), nullptr);
  EXPECT_EQ(Source()->Count(), 3);
}

TEST_F(TMergeTest, AllGreaterInsertsAtTheStart)
{
  Links()->AddItem(Ordered(L"B", 2));
  Source()->AddItem(Ordered(L"X", 1));
  Links()->MergeLinks(Source());
  EXPECT_EQ(Dest(), (TStrings_{L"X", L"B"}));
}

TEST_F(TMergeTest, MergeKindNoneIsNeverMerged)
{
  Links()->AddItem(Ordered(L"A", 0));
  Source()->AddItem(Ordered(L"X", 0, mkNone));
  Links()->MergeLinks(Source());
  EXPECT_EQ(Dest(), (TStrings_{L"A"}));
}

TEST_F(TMergeTest, HandlerDecidesKindAndIndex)
{
  Links()->AddItem(Ordered(L"A", 0));
  Source()->AddItem(Ordered(L"X", 0));
  Source()->AddItem(Ordered(L"Y", 0));
  Source()->AddItem(Ordered(L"Z", 0));
  int calls = 0;
  Manager()->OnMergeItemLink =
      TdxBarMergeItemLinkEvent([&](TObject*, TdxBarItemLinks* Dst, TdxBarItemLinks* Src, TdxBarItemLink* Link,
                                   TdxBarItemMergeKind& Kind, int& Index) {
        ++calls;
        EXPECT_EQ(Dst, Links());
        EXPECT_EQ(Src, Source());
        EXPECT_EQ(Kind, mkAdd);
        if (Link->GetCaption() == L"X")
          Index = -1;  // adds nothing
        else if (Link->GetCaption() == L"Y")
          Index = Dst->Count() + 1;  // past the end: adds nothing
        else
          Index = 0;
      });
  Links()->MergeLinks(Source());
  Manager()->OnMergeItemLink = nullptr;
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(Dest(), (TStrings_{L"Z", L"A"}));
}

TEST_F(TMergeTest, MergeByCaptionGoesIntoTheCompatibleSubItem)
{
  TLinkTestItem* file = Ordered(L"&File", 0, mkMergeByCaption);
  file->MakeSubItem();
  file->GetItemLinks()->AddItem(Ordered(L"Open", 0));
  Links()->AddItem(file);
  Links()->AddItem(Ordered(L"Help", 9));

  TLinkTestItem* childFile = Ordered(L"&File", 0, mkMergeByCaption);
  childFile->MakeSubItem();
  childFile->GetItemLinks()->AddItem(Ordered(L"Close", 1));
  Source()->AddItem(childFile);
  Source()->AddItem(Ordered(L"Tools", 5));

  Links()->MergeLinks(Source());
  EXPECT_EQ(Dest(), (TStrings_{L"&File", L"Tools", L"Help"}));
  EXPECT_EQ(Captions(file->GetItemLinks()->GetShownItems()), (TStrings_{L"Open", L"Close"}));

  // Another bar's links stay; this bar's go, also inside the sub-item.
  Links()->UnmergeLinks(Manager()->GetBars()->Add());
  EXPECT_EQ(Links()->Count(), 3);
  Links()->UnmergeLinks(MergedBar());
  EXPECT_EQ(Dest(), (TStrings_{L"&File", L"Help"}));
  EXPECT_EQ(Captions(file->GetItemLinks()->GetShownItems()), (TStrings_{L"Open"}));
  EXPECT_EQ(Links()->GetRecentItems().size(), 2u);
}

TEST_F(TMergeTest, IncompatibleCaptionMatchIsAdded)
{
  Links()->AddItem(Ordered(L"&File", 0, mkMergeByCaption));  // no links of its own
  TLinkTestItem* childFile = Ordered(L"&File", 1, mkMergeByCaption);
  childFile->MakeSubItem();
  Source()->AddItem(childFile);
  Links()->MergeLinks(Source());
  EXPECT_EQ(Links()->Count(), 2);
}

TEST_F(TMergeTest, UnmergeAllRestoresTheListsExactly)
{
  Links()->AddItem(Ordered(L"A", 0));
  Links()->AddItem(Ordered(L"S", 1))->GetItem();
  Links()->AddItem(Ordered(L"B", 2));
  std::vector<TdxBarItemLink*> before = Links()->GetShownItems();
  std::vector<TdxBarItemLink*> recentBefore = Links()->GetRecentItems();
  Source()->AddItem(Ordered(L"X", 1));
  Source()->AddItem(Ordered(L"Y", 7));
  Links()->MergeLinks(Source());
  EXPECT_EQ(Links()->Count(), 5);
  Links()->UnmergeLinks(nullptr);
  EXPECT_EQ(Links()->GetShownItems(), before);
  EXPECT_EQ(Links()->GetRecentItems(), recentBefore);
}

TEST_F(TMergeTest, SelfMergeEnds)
{
  Links()->AddItem(Ordered(L"A", 0));
  Links()->MergeLinks(Links());
  EXPECT_EQ(Links()->Count(), 1);

  // One sub-item linked on both sides: its links would be merged into themselves.
  TLinkTestItem* shared = Ordered(L"&Edit", 0, mkMergeByCaption);
  shared->MakeSubItem();
  shared->GetItemLinks()->AddItem(Ordered(L"Copy", 0));
  Links()->AddItem(shared);
  Source()->AddItem(shared);
  Links()->MergeLinks(Source());
  EXPECT_EQ(Links()->Count(), 2);
  EXPECT_EQ(shared->GetItemLinks()->Count(), 1);
}

}  // namespace
