// Resizable drop-downs: the grip's corner away from the owner, the grip drawn mirrored into
// its corner, the close button at the band's other end, and under the real pointer a combo
// list dragged by its grip that keeps its size, its minimum and the work area, and closes by
// its close button.
#include "EditTestUtil.h"

#include "bars/itemcontrols/combos.h"
#include "bars/barwindows/dropdownlistbox.h"
#include "bars/barwindows/dropdownsizing.h"
#include "support/Pixels.h"

namespace {

TEST(TDropDownSizing, GripGoesToTheCornerAwayFromTheOwner)
{
  const TRect owner{100, 100, 200, 120};
  struct TCase {
    const char* Name;
    TRect DropDown;
    TdxBarSizeGripCorner Corner;
    int HitTest;
  } cases[] = {
      {"below, to the right", {100, 120, 260, 300}, sgcBottomRight, HTBOTTOMRIGHT},
      {"below, pushed left", {40, 120, 200, 300}, sgcBottomLeft, HTBOTTOMLEFT},
      {"above, to the right", {100, -80, 260, 100}, sgcTopRight, HTTOPRIGHT},
      {"above, to the left", {-60, -80, 100, 100}, sgcTopLeft, HTTOPLEFT},
      {"beside a menu item, left", {-60, 100, 100, 300}, sgcBottomLeft, HTBOTTOMLEFT},
  };
  for (const TCase& c : cases) {
    const TdxBarSizeGripCorner corner = GetSizeGripCorner(c.DropDown, owner);
    EXPECT_EQ(corner, c.Corner) << c.Name;
    EXPECT_EQ(GetCornerHitTestCode(corner), c.HitTest) << c.Name;
  }
  EXPECT_EQ(GetCornerHitTestCode(TdxBarSizeGripCorner(7)), HTNOWHERE);
  // The band lies along the grip's edge.
  const int band = GetDropDownCaptionHeight();
  EXPECT_GE(band, ::GetSystemMetrics(SM_CYSIZE) + 1);
  EXPECT_EQ(GetSizableDropDownMargins(sgcBottomLeft).bottom, 1 + band);
  EXPECT_EQ(GetSizableDropDownMargins(sgcBottomLeft).top, 1);
  EXPECT_EQ(GetSizableDropDownMargins(sgcTopRight).top, 1 + band);
}

TEST(TDropDownSizing, GripIsTheSystemGripMirroredIntoItsCorner)
{
  const int w = ::GetSystemMetrics(SM_CXVSCROLL), h = ::GetSystemMetrics(SM_CYHSCROLL);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  // The system's own grip at the size left inside the 2-pixel strips.
  TDib32 reference(w - 2, h - 2);
  RECT all{0, 0, w - 2, h - 2};
  ::FillRect(reference.DC(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
  ::DrawFrameControl(reference.DC(), &all, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  ASSERT_GT(CountPixels(reference, all, [&](COLORREF c) { return !ColorsClose(c, face, 2); }), 0)
      << "the system draws a grip";

  for (TdxBarSizeGripCorner corner : {sgcTopLeft, sgcTopRight, sgcBottomLeft, sgcBottomRight}) {
    SCOPED_TRACE(corner);
    TDib32 dib(3 * w, 2 * h, RGB(255, 0, 255));
    TRect r{0, 0, 3 * w, 2 * h};
    DrawSizeGripCorner(dib.DC(), r, corner);
    const bool right = IsSizeGripCornerRight(corner), bottom = IsSizeGripCornerBottom(corner);
    EXPECT_EQ(r.left, right ? 2 * w : 0);
    EXPECT_EQ(r.top, bottom ? h : 0);
    EXPECT_EQ(RectWidth(r), w);
    EXPECT_EQ(RectHeight(r), h);
    // The outer strips are button face; the inner part is the reference, flipped on the axes
    // whose outer side is not the system's.
    const int outerX = right ? r.right - 1 : r.left, outerY = bottom ? r.bottom - 1 : r.top;
    EXPECT_TRUE(ColorNear(dib.Pixel(outerX, r.top + h / 2), face, 2));
    EXPECT_TRUE(ColorNear(dib.Pixel(r.left + w / 2, outerY), face, 2));
    const int x0 = right ? r.left : r.left + 2, y0 = bottom ? r.top : r.top + 2;
    int different = 0;
    for (int y = 0; y < h - 2; ++y)
      for (int x = 0; x < w - 2; ++x) {
        const int sx = right ? x : w - 3 - x, sy = bottom ? y : h - 3 - y;
        if (!ColorsClose(dib.Pixel(x0 + x, y0 + y), reference.Pixel(sx, sy), 2))
          ++different;
      }
    EXPECT_EQ(different, 0);
    // Nothing outside the grip.
    EXPECT_EQ(dib.Pixel(right ? 0 : 3 * w - 1, bottom ? 0 : 2 * h - 1), RGB(255, 0, 255));
  }
}

TEST(TDropDownSizing, CloseButtonSitsAtTheOtherEndOfTheBand)
{
  const int size = ::GetSystemMetrics(SM_CXSIZE);
  const TRect band{10, 50, 210, 50 + GetDropDownCaptionHeight()};
  for (TdxBarSizeGripCorner corner : {sgcTopLeft, sgcTopRight, sgcBottomLeft, sgcBottomRight}) {
    SCOPED_TRACE(corner);
    TRect r = band;
    TDib32 dib(240, 120);
    DrawDropDownCloseButton(dib.DC(), r, false, corner, false, false);
    if (IsSizeGripCornerRight(corner))
      EXPECT_EQ(r.left, band.left + 1);
    else
      EXPECT_EQ(r.right, band.right - 1);
    EXPECT_EQ(RectWidth(r), size - 2);
    EXPECT_EQ(RectHeight(r), size + 1 - 4);
    EXPECT_GE(r.top, band.top);
    EXPECT_LE(r.bottom, band.bottom);
    TRect grip = band;
    DrawSizeGripCorner(nullptr, grip, corner);
    EXPECT_TRUE(IsRectEmpty(IntersectRect(grip, r))) << "the grip and the button never overlap";
  }
  // A window without the band answers no parts.
  const TdxBarSizableDropDownParts none =
      DrawSizableDropDownNonClient(nullptr, true, false, sgcBottomRight, false, false);
  EXPECT_TRUE(IsRectEmpty(none.Grip));
  EXPECT_TRUE(IsRectEmpty(none.CloseButton));
}

class TSizableCombo : public TEditFixture {
protected:
  void SetUp() override
  {
    TEditFixture::SetUp();
    Combo = new TdxBarCombo(Host.Form());
    for (int i = 0; i < 30; ++i)
      Combo->GetItems()->Add(L"entry " + std::to_wstring(i));
    Combo->SetWidth(120);
    Combo->SetAllowResizing(true);
    Bar2->GetItemLinks()->AddItem(Combo);
    PumpPending();
    Control = ControlOn<TdxBarComboControl>(Bar2, Combo);
    ASSERT_NE(Control, nullptr);
  }
  HWND List() const { return Combo->GetListBox()->GetHandle(); }
  bool ListShown() const { return ::IsWindowVisible(List()); }
  bool Open()
  {
    return ClickAt(ScreenCentreOf(Control, Control->GetDropDownRect())) && PumpUntil([&] { return ListShown(); });
  }
  POINT GripCenter() const
  {
    const TRect grip = Combo->GetListBox()->GetSizableParts().Grip;
    const RECT w = WindowRectOf(List());
    return POINT{w.left + (grip.left + grip.right) / 2, w.top + (grip.top + grip.bottom) / 2};
  }
  // Drags the grip by (DX, DY) with the real pointer, in steps as a hand does.
  bool DragGrip(int DX, int DY)
  {
    const POINT start = GripCenter();
    if (!MoveMouseTo(start) || !MouseButtonDown())
      return false;
    for (int step = 1; step <= 4; ++step)
      if (!MoveMouseTo(POINT{start.x + DX * step / 4, start.y + DY * step / 4}))
        return false;
    return MouseButtonUp();
  }
  void Shot(const char* AName)
  {
    ::RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASE);
    PumpPending();
    const RECT r = WindowRectOf(List());
    SaveShotOnRequest(CaptureScreen(RECT{r.left - 20, r.top - 40, r.right + 20, r.bottom + 20}), AName);
  }
  static SIZE SizeOf(const RECT& R) { return SIZE{R.right - R.left, R.bottom - R.top}; }

  TdxBarCombo* Combo = nullptr;
  TdxBarComboControl* Control = nullptr;
};

TEST_F(TSizableCombo, GripResizesTheListWithinItsLimitsAndTheSizeIsKept)
{
  ASSERT_TRUE(Open());
  const RECT opened = WindowRectOf(List());
  const POINT grip = GripCenter();
  EXPECT_EQ(::SendMessageW(List(), WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTBOTTOMRIGHT);
  EXPECT_GT(opened.bottom - opened.top, 0);
  Shot("sizable-list-opened");

  ASSERT_TRUE(DragGrip(60, 40));
  EXPECT_TRUE(ListShown()) << "dragging the grip keeps the list open";
  const RECT grown = WindowRectOf(List());
  EXPECT_EQ(grown.left, opened.left);
  EXPECT_EQ(grown.top, opened.top);
  EXPECT_EQ(SizeOf(grown).cx, SizeOf(opened).cx + 60);
  EXPECT_EQ(SizeOf(grown).cy, SizeOf(opened).cy + 40);
  Shot("sizable-list-grown");

  // Closed and opened again: the size the user gave it.
  Control->SetDroppedDown(false);
  ASSERT_TRUE(PumpUntil([&] { return !ListShown(); }));
  ASSERT_TRUE(Open());
  EXPECT_EQ(SizeOf(WindowRectOf(List())).cx, SizeOf(grown).cx);
  EXPECT_EQ(SizeOf(WindowRectOf(List())).cy, SizeOf(grown).cy);

  // Far smaller than allowed: the minimum; far larger: the work area.
  const SIZE now = SizeOf(WindowRectOf(List()));
  ASSERT_TRUE(DragGrip(-(now.cx - 20), -(now.cy - 20)));
  const SIZE min = Combo->GetListBox()->GetMinTrackSize();
  EXPECT_EQ(SizeOf(WindowRectOf(List())).cx, min.cx);
  EXPECT_EQ(SizeOf(WindowRectOf(List())).cy, min.cy);
  EXPECT_GT(min.cx, 0);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // The pointer at the screen's last pixel would take the edges past it by the grip's inset.
  const POINT from = GripCenter();
  ASSERT_TRUE(DragGrip(work.right - 1 - from.x, work.bottom - 1 - from.y));
  const RECT huge = WindowRectOf(List());
  EXPECT_EQ(huge.right, work.right);
  EXPECT_EQ(huge.bottom, work.bottom);
  EXPECT_EQ(huge.top, opened.top) << "the edges away from the grip stay";
}

// The band takes only what is its own: the list's scroll bar still scrolls it.
TEST_F(TSizableCombo, ScrollBarStillScrollsTheList)
{
  ASSERT_TRUE(Open());
  ASSERT_EQ(Combo->GetListBox()->GetTopIndex(), 0);
  RECT c{};
  ::GetClientRect(List(), &c);
  ::MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&c), 2);
  const POINT arrow{c.right + ::GetSystemMetrics(SM_CXVSCROLL) / 2, c.bottom - ::GetSystemMetrics(SM_CYVSCROLL) / 2};
  EXPECT_EQ(::SendMessageW(List(), WM_NCHITTEST, 0, MAKELPARAM(arrow.x, arrow.y)), HTVSCROLL);
  // The scroll bar tracks the press in a loop of its own: the click comes from a helper thread.
  EXPECT_TRUE(RunScript(
      [&] {
        SendMouseMove(arrow);
        PauseScript(50);
        SendMouseButton(true);
        PauseScript(100);
        SendMouseButton(false);
      },
      [&] { return Combo->GetListBox()->GetTopIndex() > 0 && !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000); }));
  EXPECT_TRUE(ListShown());
}

TEST_F(TSizableCombo, CloseButtonClosesTheListWithoutChoosing)
{
  Combo->SetItemIndex(3);
  ASSERT_TRUE(Open());
  const TRect close = Combo->GetListBox()->GetSizableParts().CloseButton;
  ASSERT_FALSE(IsRectEmpty(close));
  const RECT w = WindowRectOf(List());
  const POINT p{w.left + (close.left + close.right) / 2, w.top + (close.top + close.bottom) / 2};
  // Pressed and released away from it: still open.
  ASSERT_TRUE(MoveMouseTo(p) && MouseButtonDown());
  ASSERT_TRUE(MoveMouseTo(POINT{p.x + 60, p.y + 60}) && MouseButtonUp());
  PumpPending();
  EXPECT_TRUE(ListShown());
  ASSERT_TRUE(ClickAt(p));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(); }));
  EXPECT_FALSE(Control->IsDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 3);
}

}  // namespace
