// The canvas wrapper and regions: combine operations, FrameRect sides and widths, the
// clip region stack, window-origin shifts, saved states.
#include "GraphicsFixture.h"

namespace {

using TRegionTest = TDrawingTest;
using TcxCanvasTest = TDrawingTest;

TEST_F(TRegionTest, CombineOperationsFollowTheirNames)
{
  TcxRegion region(0, 0, 10, 10);
  region.Combine(new TcxRegion(5, 0, 20, 10), roAdd);
  EXPECT_EQ(region.GetBoundsRect(), Rect(0, 0, 20, 10));
  region.Combine(new TcxRegion(0, 0, 5, 10), roSubtract);
  EXPECT_EQ(region.GetBoundsRect(), Rect(5, 0, 20, 10));
  region.Combine(new TcxRegion(0, 2, 8, 4), roIntersect);
  EXPECT_EQ(region.GetBoundsRect(), Rect(5, 2, 8, 4));
  region.Combine(new TcxRegion(1, 1, 2, 2), roSet);
  EXPECT_EQ(region.GetBoundsRect(), Rect(1, 1, 2, 2));
  region.Offset(10, 20);
  EXPECT_TRUE(region.PtInRegion(Point(11, 21)));
  EXPECT_FALSE(region.PtInRegion(Point(12, 21))) << "right edge is outside";
  region.Combine(nullptr, roIntersect);
  EXPECT_TRUE(region.IsEmpty());
}

TEST_F(TRegionTest, CombineKeepsTheArgumentWhenAsked)
{
  TcxRegion region(0, 0, 4, 4);
  TcxRegion other(2, 2, 6, 6);
  region.Combine(&other, roAdd, false);
  EXPECT_EQ(other.GetBoundsRect(), Rect(2, 2, 6, 6));
  EXPECT_EQ(region.GetBoundsRect(), Rect(0, 0, 6, 6));
  EXPECT_FALSE(region.IsEqual(&other));
  std::unique_ptr<TcxRegion> adopted(TcxRegion::CreateFromHandle(CreateRectRgn(0, 0, 6, 6)));
  EXPECT_FALSE(adopted->IsEqual(&region)) << "an L-shaped union is not its bounding box";
}

TEST_F(TcxCanvasTest, FrameRectDrawsOnlyTheChosenSidesAtTheirWidth)
{
  TRect r = Rect(10, 10, 30, 30);
  Canvas()->FrameRect(r, clRed, 3, cxBordersLeft | cxBordersBottom);
  EXPECT_EQ(At(10, 15), RGB(255, 0, 0));
  EXPECT_EQ(At(12, 15), RGB(255, 0, 0));
  EXPECT_EQ(At(13, 15), Paper) << "left side is 3 wide";
  EXPECT_EQ(At(20, 29), RGB(255, 0, 0));
  EXPECT_EQ(At(20, 27), RGB(255, 0, 0));
  EXPECT_EQ(At(20, 26), Paper) << "bottom side is 3 high";
  EXPECT_EQ(At(20, 10), Paper) << "no top side";
  EXPECT_EQ(At(29, 15), Paper) << "no right side";
  EXPECT_EQ(At(30, 29), Paper) << "nothing outside the rectangle";
}

TEST_F(TcxCanvasTest, ClipStackGivesBackWhatWasSaved)
{
  Canvas()->SaveClipRegion();
  Canvas()->SetClipRegion(new TcxRegion(10, 10, 20, 20), roIntersect);
  Canvas()->SaveClipRegion();
  Canvas()->ExcludeClipRect(Rect(10, 10, 15, 20));
  Canvas()->FillRect(Rect(0, 0, Width, Height), clBlue);
  EXPECT_EQ(At(9, 12), Paper);
  EXPECT_EQ(At(12, 12), Paper) << "excluded part";
  EXPECT_EQ(At(17, 12), RGB(0, 0, 255));
  EXPECT_EQ(At(20, 12), Paper);

  Canvas()->RestoreClipRegion();
  std::unique_ptr<TcxRegion> clip(Canvas()->GetClipRegion());
  EXPECT_EQ(clip->GetBoundsRect(), Rect(10, 10, 20, 20));
  Canvas()->RestoreClipRegion();
  clip.reset(Canvas()->GetClipRegion());
  EXPECT_EQ(clip->GetBoundsRect(), Rect(0, 0, 30000, 30000)) << "back to no clip region at all";
  Canvas()->RestoreClipRegion();  // unbalanced: ignored
  Canvas()->FillRect(Rect(0, 0, 2, 2), clBlue);
  EXPECT_EQ(At(0, 0), RGB(0, 0, 255));
}

TEST_F(TcxCanvasTest, ClipRegionsAreInLogicalCoordinatesUnderAWindowOrigin)
{
  Canvas()->SetWindowOrg(Point(5, 3));
  Canvas()->SetClipRegion(new TcxRegion(10, 10, 20, 20), roSet);
  std::unique_ptr<TcxRegion> logical(Canvas()->GetClipRegion());
  EXPECT_EQ(logical->GetBoundsRect(), Rect(10, 10, 20, 20));
  std::unique_ptr<TcxRegion> device(Canvas()->GetClipRegion(false));
  EXPECT_EQ(device->GetBoundsRect(), Rect(5, 7, 15, 17));
  Canvas()->FillRect(Rect(0, 0, 100, 100), clRed);
  EXPECT_EQ(At(5, 7), RGB(255, 0, 0));
  EXPECT_EQ(At(4, 7), Paper);
  EXPECT_EQ(At(14, 16), RGB(255, 0, 0));
  EXPECT_EQ(At(15, 16), Paper);
  // A region given in device units is taken as it is.
  Canvas()->SetClipRegion(new TcxRegion(0, 0, 10, 10), roIntersect, true, false);
  device.reset(Canvas()->GetClipRegion(false));
  EXPECT_EQ(device->GetBoundsRect(), Rect(5, 7, 10, 10));
  Canvas()->SetWindowOrg(Point(0, 0));
  SelectClipRgn(DC(), nullptr);
}

TEST_F(TcxCanvasTest, AddingToNoClipKeepsEverythingVisible)
{
  Canvas()->SetClipRegion(new TcxRegion(0, 0, 5, 5), roAdd);
  Canvas()->FillRect(Rect(0, 0, Width, Height), clRed);
  EXPECT_EQ(At(Width - 1, Height - 1), RGB(255, 0, 0));
  SelectClipRgn(DC(), nullptr);
}

TEST_F(TcxCanvasTest, SubtractingFromNoClipLeavesTheRestAndNoRegionToIntersectHidesAll)
{
  Canvas()->SetClipRegion(new TcxRegion(0, 0, 5, 5), roSubtract);
  Canvas()->FillRect(Rect(0, 0, Width, Height), clRed);
  EXPECT_EQ(At(2, 2), Paper);
  EXPECT_EQ(At(6, 2), RGB(255, 0, 0));
  EXPECT_EQ(At(Width - 1, Height - 1), RGB(255, 0, 0));
  Canvas()->SetClipRegion(nullptr, roIntersect);
  Canvas()->FillRect(Rect(0, 0, Width, Height), clBlue);
  EXPECT_EQ(At(Width - 1, Height - 1), RGB(255, 0, 0)) << "nothing drawn";
  SelectClipRgn(DC(), nullptr);
}

TEST_F(TcxCanvasTest, SaveStateRestoresObjectsAndContext)
{
  Canvas()->GetFont()->SetColor(clRed);
  Canvas()->GetBrush()->SetColor(clLime);
  Canvas()->SaveState();
  Canvas()->GetFont()->SetColor(clBlue);
  Canvas()->GetBrush()->SetColor(clYellow);
  Canvas()->GetPen()->SetWidth(4);
  Canvas()->SetWindowOrg(Point(7, 7));
  Canvas()->RestoreState();
  EXPECT_EQ(Canvas()->GetFont()->GetColor(), clRed);
  EXPECT_EQ(Canvas()->GetBrush()->GetColor(), clLime);
  EXPECT_EQ(Canvas()->GetPen()->GetWidth(), 1);
  EXPECT_EQ(Canvas()->GetWindowOrg(), Point(0, 0));
  Canvas()->GetCanvas()->FillRect(Rect(0, 0, 3, 3));
  EXPECT_EQ(At(1, 1), RGB(0, 255, 0)) << "the restored brush is selected again";
}

TEST_F(TcxCanvasTest, SynchronizeObjectsReadsTheContext)
{
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(4, 5, 6));
  LOGFONTW lf{};
  lf.lfHeight = -20;
  wcscpy(lf.lfFaceName, L"Tahoma");
  HFONT font = CreateFontIndirectW(&lf);
  TDib32 other(4, 4);
  HGDIOBJ oldBrush = SelectObject(other.DC(), brush), oldPen = SelectObject(other.DC(), pen);
  HGDIOBJ oldFont = SelectObject(other.DC(), font);
  SetTextColor(other.DC(), RGB(7, 8, 9));
  Canvas()->SynchronizeObjects(other.DC());
  EXPECT_EQ(Canvas()->GetBrush()->GetColor(), TColor(RGB(1, 2, 3)));
  EXPECT_EQ(Canvas()->GetPen()->GetColor(), TColor(RGB(4, 5, 6)));
  EXPECT_EQ(Canvas()->GetPen()->GetWidth(), 3);
  EXPECT_EQ(Canvas()->GetFont()->GetHeight(), -20);
  EXPECT_EQ(Canvas()->GetFont()->GetColor(), TColor(RGB(7, 8, 9)));
  SelectObject(other.DC(), oldBrush);
  SelectObject(other.DC(), oldPen);
  SelectObject(other.DC(), oldFont);
  DeleteObject(brush);
  DeleteObject(pen);
  DeleteObject(font);
}

TEST(TcxScreenCanvasTest, MeasuresAsTheScreenAndLeaksNothing)
{
  int before = GdiObjectsInUse();
  {
    TcxScreenCanvas canvas;
    TFont font;
    font.SetName(L"Tahoma");
    font.SetSize(13);
    font.SetStyle(TFontStyles{fsBold});
    canvas.SetFont(&font);
    ASSERT_NE(canvas.GetHandle(), nullptr);
    EXPECT_EQ(GetDeviceCaps(canvas.GetHandle(), TECHNOLOGY), DT_RASDISPLAY);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(canvas.GetHandle(), LOGPIXELSY), GetDeviceCaps(screen, LOGPIXELSY));
    HGDIOBJ old = SelectObject(screen, font.GetHandle());
    SIZE expected{};
    GetTextExtentPoint32W(screen, L"Measured text", 13, &expected);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(canvas.TextWidth(L"Measured text"), expected.cx);
    EXPECT_EQ(canvas.TextHeight(L"Measured text"), expected.cy);
  }
  EXPECT_EQ(GdiObjectsInUse(), before);
}

}  // namespace
