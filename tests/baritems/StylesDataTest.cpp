// The styles data: what kind of change each style change reports, batching, listening to
// a style once for several slots, freed styles, and the item's reaction.
#include "ItemsTestUtil.h"

namespace {

struct TStylesData : testing::Test {
  TStylesData() : Data(nullptr, 2)
  {
    Data.OnChange =
        TdxBarItemStylesChangeEvent([this](TObject*, TdxBarItemStyleChange Kind) { Kinds.push_back(Kind); });
  }
  ~TStylesData() override
  {
    Data.SetStyle(0, nullptr);
    Data.SetStyle(1, nullptr);
  }
  TOwned<TcxStyle> Style{new TcxStyle(nullptr)};
  TOwned<TcxStyle> Other{new TcxStyle(nullptr)};
  TdxBarItemStylesData Data;
  std::vector<TdxBarItemStyleChange> Kinds;
};

TEST_F(TStylesData, EmptyStyleChangesNothing)
{
  Data.SetStyle(0, Style.Get());
  EXPECT_TRUE(Kinds.empty());
  EXPECT_EQ(Data.GetStyle(0), Style.Get());
  EXPECT_EQ(Data.GetStyle(2), nullptr);
  EXPECT_EQ(Data.GetStyle(-1), nullptr);
  Data.SetStyle(5, Other.Get());  // out of range: ignored
  EXPECT_EQ(Other->ListenerCount(), 0);
}

TEST_F(TStylesData, ColourChangeAsksForARepaintAndFontForALayout)
{
  Data.SetStyle(0, Style.Get());
  Style->SetColor(clRed);
  Style->SetTextColor(clBlue);
  Style->GetFont()->SetHeight(-20);
  EXPECT_EQ(Kinds, (std::vector<TdxBarItemStyleChange>{iscRepaint, iscRepaint, iscRecalculate}));
}

TEST_F(TStylesData, SameColourAfterResolvingIsNoChange)
{
  Style->SetColor(clBtnFace);
  Data.SetStyle(0, Style.Get());
  Kinds.clear();
  // The same colour given as its RGB value.
  Style->SetColor(TColor(ColorToRGB(clBtnFace)));
  EXPECT_TRUE(Kinds.empty());
}

TEST_F(TStylesData, BatchReportsOnceWithTheStrongestKind)
{
  Data.SetStyle(0, Style.Get());
  Data.BeginUpdate();
  Style->SetColor(clRed);
  Style->GetFont()->SetHeight(-18);
  Style->SetColor(clGreen);
  Data.BeginUpdate();
  Data.EndUpdate();
  EXPECT_TRUE(Kinds.empty());
  Data.EndUpdate();
  EXPECT_EQ(Kinds, std::vector<TdxBarItemStyleChange>{iscRecalculate});
  Kinds.clear();
  // A batch without changes reports nothing; an extra EndUpdate is harmless.
  Data.BeginUpdate();
  Data.EndUpdate();
  Data.EndUpdate();
  EXPECT_TRUE(Kinds.empty());
}

TEST_F(TStylesData, SharedStyleIsListenedToOnce)
{
  Data.SetStyle(0, Style.Get());
  Data.SetStyle(1, Style.Get());
  EXPECT_EQ(Style->ListenerCount(), 1);
  Style->SetColor(clRed);
  // Both slots refresh inside one batch: one report.
  EXPECT_EQ(Kinds.size(), 1u);
  Data.SetStyle(0, Other.Get());
  EXPECT_EQ(Style->ListenerCount(), 1);
  Data.SetStyle(1, nullptr);
  EXPECT_EQ(Style->ListenerCount(), 0);
  EXPECT_EQ(Other->ListenerCount(), 1);
}

TEST_F(TStylesData, FreedStyleLeavesEverySlot)
{
  auto* doomed = new TcxStyle(nullptr);
  doomed->SetColor(clRed);
  Data.SetStyle(0, doomed);
  Data.SetStyle(1, doomed);
  Kinds.clear();
  doomed->Free();
  EXPECT_EQ(Data.GetStyle(0), nullptr);
  EXPECT_EQ(Data.GetStyle(1), nullptr);
  // The assigned colour went with it.
  EXPECT_EQ(Kinds, std::vector<TdxBarItemStyleChange>{iscRepaint});
}

TEST_F(TStylesData, ReplacingTheStyleComparesWithTheOldOne)
{
  Style->SetColor(clRed);
  Other->SetColor(clRed);
  Data.SetStyle(0, Style.Get());
  Kinds.clear();
  Data.SetStyle(0, Other.Get());
  EXPECT_TRUE(Kinds.empty());
  Other->GetFont()->SetName(L"Courier New");
  EXPECT_EQ(Kinds, std::vector<TdxBarItemStyleChange>{iscRecalculate});
}

// ---------------------------------------------------------------------------

using TItemStyle = TItemsFixture;

TEST_F(TItemStyle, ColourRepaintsAndFontRebuilds)
{
  TTestItem* item = NewItem();
  TOwned<TcxStyle> style(new TcxStyle(Form()));
  TTestLinksOwner bar(Manager);
  TdxBarItemLink* link = bar.Show(item);
  item->SetStyle(style.Get());
  EXPECT_EQ(item->GetStyle(), style.Get());
  ControlOf<TTestItemControl>(link)->Log.clear();

  style->SetColor(clRed);
  EXPECT_EQ(ControlOf<TTestItemControl>(link)->Log, (std::vector<std::string>{"style", "repaint"}));
  EXPECT_EQ(item->GetStyleValues().Color, clRed);
  EXPECT_EQ(item->GetStyleValues().Font, nullptr);

  int rebuilds = bar.Bar()->Rebuilds;
  style->GetFont()->SetHeight(-22);
  EXPECT_EQ(bar.Bar()->Rebuilds, rebuilds + 1);
  EXPECT_EQ(item->GetStyleValues().Font, style->GetFont());
}

TEST_F(TItemStyle, FreedStyleLeavesTheItem)
{
  TTestItem* item = NewItem();
  auto* style = new TcxStyle(Form());
  item->SetStyle(style);
  style->Free();
  EXPECT_EQ(item->GetStyle(), nullptr);
  EXPECT_EQ(item->GetStyleValues().Color, clDefault);
}

TEST_F(TItemStyle, FreeingTheItemLetsGoOfItsStyle)
{
  TOwned<TcxStyle> style(new TcxStyle(Form()));
  TTestItem* item = NewItem();
  item->SetStyle(style.Get());
  EXPECT_EQ(style->ListenerCount(), 1);
  item->Free();
  EXPECT_EQ(style->ListenerCount(), 0);
}

}  // namespace
