// Measurement: the size table per image-size kind, view level and bar kind, the layout
// helpers' alignment rules, the view info's per-level cache and its exceptions.
#include <algorithm>
#include <cstdlib>

#include "ItemControlTestUtil.h"

#include "platform/SysUtils.h"

namespace {

using TSizeTest = TItemControlFixture;

TEST_F(TSizeTest, CaptionMarginNeverNegativeForCellHeightFonts)
{
  TTestItemControl* control = NewControl();
  TFont* font = Bar->GetFont();
  font->SetHeight(-16);
  int fromCharHeight = control->GetCaptionMargin();
  font->SetHeight(16);
  int fromCellHeight = control->GetCaptionMargin();
  EXPECT_GT(fromCharHeight, 0);
  EXPECT_GE(fromCellHeight, 0);
  EXPECT_EQ(fromCellHeight, std::abs(font->GetSize()) / 2);
}

TEST_F(TSizeTest, RotatedBarSwapsWidthAndHeight)
{
  TTestItem* item = NewItem(L"Vertical");
  item->SetGlyph(MakeGlyph(16, 16).get());
  TTestItemControl* control = ControlOf<TTestItemControl>(AddLink(item));
  control->GetViewInfo()->SetViewLevel(ivlSmallIconWithText);
  int width = control->CalcWidth();
  int height = control->CalcHeight();
  ASSERT_NE(width, height);

  Bar->BarKind = bkVertical;
  EXPECT_TRUE(control->IsTextRotated());
  EXPECT_EQ(control->CalcWidth(), height);
  EXPECT_EQ(control->CalcHeight(), width);
}

TEST_F(TSizeTest, ClientAlignedControlTakesMinimumOnStretchingBars)
{
  TTestItem* item = NewItem(L"Stretched");
  item->SetAlign(iaClient);
  TTestItemControl* control = ControlOf<TTestItemControl>(AddLink(item));
  control->GetViewInfo()->SetViewLevel(ivlSmallIconWithText);
  int natural = control->CalcWidth();
  ASSERT_GT(natural, 1);

  // Without the bar's permission to align, the item's alignment does not count.
  Bar->Options = dxBarOptionStretchClientControls;
  EXPECT_EQ(control->CalcWidth(), natural);

  Bar->AlignControls = true;
  EXPECT_EQ(control->CalcWidth(), 1);
  Bar->Options = 0;
  EXPECT_EQ(control->CalcWidth(), natural);

  // On a vertical bar the height is the minimum, the minimum width on rotated text.
  Bar->BarKind = bkVertical;
  EXPECT_EQ(control->CalcHeight(), control->GetMinWidth());
}

using TMenuSizeTest = TItemControlFixtureBase<TTestPainterManager>;

TEST_F(TMenuSizeTest, LargeMenuItemsWidenForTheirDescription)
{
  Host.Manager->UpdateStyle();
  Bar->BarKind = bkMenu;
  TTestItem* item = NewItem(L"Go");
  item->SetDescription(L"A long description that needs far more room than the caption does");
  TTestItemControl* control = ControlOf<TTestItemControl>(AddLink(item));
  control->GetViewInfo()->SetViewLevel(ivlSmallIconWithText);
  int plain = control->CalcWidth();

  Links->GetItemOptions()->SetSize(misLarge);
  Links->GetItemOptions()->SetShowDescriptions(true);
  EXPECT_TRUE(control->IsDescriptionVisible());
  int widened = control->CalcWidth();
  EXPECT_GT(widened, plain);
  // Two lines: narrower than the whole description on one line.
  EXPECT_LT(widened, plain + TextWidth(control, item->GetDescription()));
}

// ---------------------------------------------------------------------------

using TViewLevelTest = TItemControlFixture;

TEST_F(TViewLevelTest, ViewPartsFollowTheLevel)
{
  TTestItem* item = NewItem();
  TTestItemControl* control = ControlOf<TTestItemControl>(AddLink(item));
  TdxBarItemControlViewInfo* info = control->GetViewInfo();
  control->DefaultViewParts = ivpGlyph | ivpCaption;

  info->SetViewLevel(ivlSmallIconWithText);
  EXPECT_EQ(control->GetViewParts(), ivpCaption);
  info->SetViewLevel(ivlSmallIcon);
  EXPECT_EQ(control->GetViewParts(), 0);
  info->SetViewLevel(ivlDefault);
  EXPECT_EQ(control->GetViewParts(), ivpGlyph | ivpCaption);

  item->SetGlyph(MakeGlyph(16, 16).get());
  info->SetViewLevel(ivlSmallIconWithText);
  EXPECT_EQ(control->GetViewParts(), ivpGlyph | ivpCaption);
  info->SetViewLevel(ivlSmallIcon);
  EXPECT_EQ(control->GetViewParts(), ivpGlyph);
  info->SetViewLevel(ivlControlOnly);
  EXPECT_EQ(control->GetViewParts(), 0);
}

TEST_F(TViewLevelTest, LevelOutsideThePossibleSetRaises)
{
  TTestItemControl* control = NewControl();
  try {
    control->GetViewInfo()->GetSize(ivlLargeIconWithText);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Testing! The level is not allowed");
  }
}

TEST_F(TViewLevelTest, EmptyPossibleSetRaisesWithTheClassName)
{
  TTestItemControl* control = NewControl();
  control->EmptyLevels = true;
  try {
    control->GetViewInfo()->GetSize(ivlSmallIconWithText);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"TTestItemControl.GetPossibleViewLevels = []");
  }
}

TEST_F(TViewLevelTest, SizeIsMeasuredOncePerLevelAtThatLevel)
{
  TTestItem* item = NewItem(L"Cached");
  item->SetGlyph(MakeGlyph(16, 16).get());
  TTestItemControl* control = ControlOf<TTestItemControl>(AddLink(item));
  TdxBarItemControlViewInfo* info = control->GetViewInfo();
  info->SetViewLevel(ivlSmallIcon);

  int withText = info->GetSize(ivlSmallIconWithText);
  int iconOnly = info->GetSize(ivlSmallIcon);
  EXPECT_GT(withText, iconOnly);
  EXPECT_EQ(iconOnly, 22);
  // The current level is back after measuring another one.
  EXPECT_EQ(info->GetViewLevel(), ivlSmallIcon);

  // A longer caption is not seen until the sizes are dropped.
  item->SetCaption(L"Cached and much longer now");
  EXPECT_EQ(info->GetSize(ivlSmallIconWithText), withText);
  control->ClearCachedSizes();
  EXPECT_GT(info->GetSize(ivlSmallIconWithText), withText);
}

}  // namespace
