// Control state: the hot part and its repaints, selection on disabling, the change
// reactions, the style brush and font, painting, and GDI balance.
#include "ItemControlTestUtil.h"

#include "lookandfeel/cxStyles.h"
#include "platform/GraphicsObjects.h"

namespace {

using THotPartTest = TItemControlFixture;

TEST_F(THotPartTest, HotPartByPositionRepaintingOnlyOnChange)
{
  TTestItemControl* control = NewControl();
  control->TwoParts = true;
  const TRect itemRect{10, 5, 60, 30};
  control->GetItemLink()->SetItemRect(itemRect);
  control->CalcParts();
  Bar->Invalidated.clear();

  EXPECT_EQ(control->GetHotPartIndex(), -1);
  control->MouseMove(TPoint{11, 6});  // inside, on the border
  EXPECT_EQ(control->GetHotPartIndex(), 100);
  control->MouseMove(TPoint{20, 15});
  EXPECT_EQ(control->GetHotPartIndex(), 0);
  control->MouseMove(TPoint{21, 16});  // same part: no repaint
  control->MouseMove(TPoint{50, 15});
  EXPECT_EQ(control->GetHotPartIndex(), 1);
  control->MouseMove(TPoint{70, 15});  // outside
  EXPECT_EQ(control->GetHotPartIndex(), -1);

  ASSERT_EQ(Bar->Invalidated.size(), 4u);
  for (const TRect& r : Bar->Invalidated)
    EXPECT_TRUE(EqualRect(&r, &itemRect));
}

TEST_F(THotPartTest, DisabledControlIsNeverHot)
{
  TTestItemControl* control = NewControl();
  control->GetItemLink()->SetItemRect(TRect{0, 0, 40, 20});
  control->MouseMove(TPoint{5, 5});
  EXPECT_EQ(control->GetHotPartIndex(), 0);
  control->GetItem()->SetEnabled(false);
  control->MouseMove(TPoint{5, 5});
  EXPECT_EQ(control->GetHotPartIndex(), -1);
  control->MouseMove(TPoint{6, 6});
  control->MouseLeave();
  EXPECT_EQ(control->GetHotPartIndex(), -1);
}

// ---------------------------------------------------------------------------

using TSelectionTest = TItemControlFixture;

TEST_F(TSelectionTest, DisablingTheSelectedControlClearsTheSelection)
{
  TTestItemControl* control = NewControl();
  TTestItemControl* other = NewControl(L"Other");
  control->GetItemLink()->SetItemRect(TRect{0, 0, 40, 20});
  Bar->SetSelectedControl(control);
  ASSERT_EQ(Bar->GetSelectedControl(), control);
  EXPECT_TRUE(control->GetSelected());
  EXPECT_FALSE(other->GetSelected());

  Bar->Invalidated.clear();
  control->GetItem()->SetEnabled(false);
  EXPECT_EQ(Bar->GetSelectedControl(), nullptr);
  EXPECT_FALSE(Bar->Invalidated.empty());

  // Disabling a control that is not selected leaves the selection alone.
  control->GetItem()->SetEnabled(true);
  Bar->SetSelectedControl(control);
  other->GetItem()->SetEnabled(false);
  EXPECT_EQ(Bar->GetSelectedControl(), control);
}

// ---------------------------------------------------------------------------

using TChangeTest = TItemControlFixture;

TEST_F(TChangeTest, CaptionChangeRebuildsUnlessStretched)
{
  TTestItem* item = NewItem();
  TTestItemControl* control = ControlOf<TTestItemControl>(AddLink(item));
  Bar->RebuildCount = 0;
  control->CaptionChanged();
  EXPECT_EQ(Bar->RebuildCount, 1);

  item->SetAlign(iaClient);
  Bar->AlignControls = true;
  Bar->Options = dxBarOptionStretchClientControls;
  Bar->RebuildCount = 0;
  Bar->Invalidated.clear();
  control->CaptionChanged();
  EXPECT_EQ(Bar->RebuildCount, 0);
  EXPECT_EQ(Bar->Invalidated.size(), 1u);
}

TEST_F(TChangeTest, GlyphChangeRebuildsOnlyWhenTheGlyphPartChanges)
{
  TTestItem* item = NewItem();
  TTestItemControl* control = ControlOf<TTestItemControl>(AddLink(item));
  control->GetViewInfo()->SetViewLevel(ivlSmallIconWithText);
  control->CalcDrawParams();
  Bar->RebuildCount = 0;

  item->SetGlyph(MakeGlyph(16, 16).get());  // a glyph part appears
  EXPECT_GE(Bar->RebuildCount, 1);

  control->CalcDrawParams();
  Bar->RebuildCount = 0;
  Bar->Invalidated.clear();
  item->SetGlyph(MakeGlyph(16, 16, clGreen).get());  // another picture, same parts
  EXPECT_EQ(Bar->RebuildCount, 0);
  EXPECT_FALSE(Bar->Invalidated.empty());
}

TEST_F(TChangeTest, LargeGlyphChangeMattersOnlyAtLargeSizes)
{
  TTestItemControl* control = NewControl();
  control->GetViewInfo()->SetViewLevel(ivlSmallIconWithText);
  Bar->RebuildCount = 0;
  Bar->Invalidated.clear();
  control->LargeGlyphChanged();
  EXPECT_EQ(Bar->RebuildCount, 0);
  EXPECT_TRUE(Bar->Invalidated.empty());

  control->GetViewInfo()->SetViewLevel(ivlLargeIconWithText);
  control->LargeGlyphChanged();
  EXPECT_EQ(Bar->RebuildCount, 1);

  Bar->BarKind = bkMenu;
  control->LargeGlyphChanged();
  EXPECT_EQ(Bar->RebuildCount, 1);
  EXPECT_EQ(Bar->Invalidated.size(), 1u);
}

TEST_F(TChangeTest, DoingClickRepaintsWhenCleared)
{
  TTestItemControl* control = NewControl();
  Bar->Invalidated.clear();
  control->SetDoingClick(true);
  EXPECT_TRUE(Bar->Invalidated.empty());
  control->SetDoingClick(true);
  control->SetDoingClick(false);
  EXPECT_EQ(Bar->Invalidated.size(), 1u);
}

TEST_F(TChangeTest, ImageSizeKindChangeDropsTheCachedImage)
{
  TTestItemControl* control = NewControl();
  control->GetViewInfo()->SetViewLevel(ivlSmallIconWithText);
  control->CalcDrawParams();
  control->GetCachedImageOptions()->Valid = true;
  control->CalcDrawParams();
  EXPECT_TRUE(control->GetCachedImageOptions()->Valid);
  control->GetViewInfo()->SetViewLevel(ivlLargeIconWithText);
  control->CalcDrawParams(false);
  EXPECT_FALSE(control->GetCachedImageOptions()->Valid);
}

// ---------------------------------------------------------------------------

using TStyleTest = TItemControlFixture;

TEST_F(TStyleTest, StyleColourGivesAnOwnBrushAndNoLeak)
{
  int before = GdiObjectsInUse();
  {
    TOwned<TcxStyle> style(new TcxStyle(nullptr));
    style->SetColor(clYellow);
    TTestItem* item = NewItem();
    item->SetStyle(style.Get());
    TdxBarItemLink* link = AddLink(item);
    TTestItemControl* control = ControlOf<TTestItemControl>(link);
    EXPECT_TRUE(control->HasOwnBrush());
    EXPECT_NE(control->GetBackgroundBrush(), Bar->GetBackgroundBrush());
    // Re-applying replaces the brush rather than adding one.
    int withBrush = GdiObjectsInUse();
    control->ApplyStyle();
    control->ApplyStyle();
    EXPECT_EQ(GdiObjectsInUse(), withBrush);

    TTestItemControl* plain = NewControl(L"Plain");
    EXPECT_FALSE(plain->HasOwnBrush());
    EXPECT_EQ(plain->GetBackgroundBrush(), Bar->GetBackgroundBrush());
    link->DestroyControl();
    plain->GetItemLink()->DestroyControl();
    item->SetStyle(nullptr);
  }
  EXPECT_EQ(GdiObjectsInUse(), before);
}

TEST_F(TStyleTest, StyleFontSetsTheTextHeightAndIsRestoredAfterMeasuring)
{
  TTestItemControl* plain = NewControl(L"Plain");
  TOwned<TcxStyle> style(new TcxStyle(nullptr));
  style->GetFont()->Assign(Bar->GetFont());
  style->GetFont()->SetHeight(-40);
  TTestItem* item = NewItem(L"Big");
  item->SetStyle(style.Get());
  TTestItemControl* control = ControlOf<TTestItemControl>(AddLink(item));
  control->ApplyStyle();
  EXPECT_GT(control->GetTextHeight(), plain->GetTextHeight());

  int barFontHeight = control->GetCanvas()->GetFont()->GetHeight();
  control->GetViewInfo()->SetViewLevel(ivlSmallIconWithText);
  int bigWidth = control->CalcWidth();
  EXPECT_EQ(control->GetCanvas()->GetFont()->GetHeight(), barFontHeight);
  // Measured with the style font: wider than the same caption in the bar font.
  EXPECT_GT(bigWidth, TextWidth(control, L"Big") + 2 * control->GetCaptionMargin());
  item->SetStyle(nullptr);
}

TEST_F(TStyleTest, PaintDrawsWithTheGivenCanvasAndSkipsEmptyRectangles)
{
  TTestItemControl* control = NewControl(L"Painted");
  TcxScreenCanvas canvas;
  control->Paint(&canvas, TRect{0, 0, 0, 10});
  EXPECT_EQ(control->DrawCount, 0);
  control->Paint(&canvas, TRect{0, 0, 50, 20});
  EXPECT_EQ(control->DrawCount, 1);
  EXPECT_EQ(control->DrawnCaption, L"Painted");
  EXPECT_EQ(control->DrawnCanvas, &canvas);
  EXPECT_EQ(control->GetCanvas(), Bar->GetcxCanvas());
}

}  // namespace
