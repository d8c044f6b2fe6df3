// The shadow's strip windows on a real popup bar window: placement and styles, z order,
// showing and hiding, following the window, the opaque fallback, click-through with real
// input, and that nothing (windows, GDI objects) outlives the shadow.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "ShadowTestUtil.h"

#include "platform/Bitmap.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TShadowWindowTest : public testing::Test {
protected:
  void SetUp() override
  {
    FPreviousQuery = SetdxBarShadowLayeredQuery(nullptr);
    Bar = new TTestBarWindow(Host.Manager);
    FBar.reset(new TOwned<TTestBarWindow>(Bar));
    ShowPopupAt(Bar, BarRect);
    PumpPending();
    Shadow = std::make_unique<TdxBarShadow>(Bar);
  }
  void TearDown() override
  {
    Shadow.reset();
    FBar.reset();
    SetdxBarShadowLayeredQuery(FPreviousQuery);
  }

  void UseLayered(bool Value)
  {
    SetdxBarShadowLayeredQuery([Value] { return Value; });
  }
  // As the bar window does after a change: tell whether it shows, then its rectangles.
  void Follow(const TRect& OwnerRect = TRect{})
  {
    Shadow->SetVisible(true);
    Shadow->SetRectangles(OwnerRect, WindowRectOf(Bar->GetHandle()));
  }
  std::vector<HWND> PartHandles() const
  {
    std::vector<HWND> handles;
    for (int i = 0; i < Shadow->GetPartCount(); ++i)
      handles.push_back(Shadow->GetPart(i)->GetHandle());
    return handles;
  }
  std::vector<TRect> PartRects() const
  {
    std::vector<TRect> rects;
    for (HWND wnd : PartHandles())
      rects.push_back(WindowRectOf(wnd));
    return rects;
  }
  static bool Contains(const std::vector<TRect>& Rects, const TRect& R)
  {
    return std::find(Rects.begin(), Rects.end(), R) != Rects.end();
  }

  const TRect BarRect = Rect(100, 100, 200, 300);
  TBarHost<TShadowTestForm> Host;
  TTestBarWindow* Bar = nullptr;
  std::unique_ptr<TOwned<TTestBarWindow>> FBar;
  std::unique_ptr<TdxBarShadow> Shadow;

private:
  TdxBarShadowLayeredQuery FPreviousQuery;
};

}  // namespace

TEST_F(TShadowWindowTest, LayeredPartsAreClickThroughPopupsOwnedWithTheBarWindow)
{
  UseLayered(true);
  Follow();
  EXPECT_TRUE(Shadow->GetLayered());
  EXPECT_EQ(Shadow->GetSize(), 4);
  ASSERT_EQ(Shadow->GetPartCount(), 2);
  const std::vector<TRect> rects = PartRects();
  EXPECT_TRUE(Contains(rects, Rect(200, 104, 204, 300))) << testing::PrintToString(rects);
  EXPECT_TRUE(Contains(rects, Rect(104, 300, 204, 304))) << testing::PrintToString(rects);
  for (HWND wnd : PartHandles()) {
    EXPECT_TRUE(::IsWindowVisible(wnd));
    // Owned as the bar window is, not by it, so that they can lie behind it.
    EXPECT_EQ(::GetWindow(wnd, GW_OWNER), ::GetWindow(Bar->GetHandle(), GW_OWNER));
    const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CHILD | WS_CAPTION | WS_BORDER), WS_POPUP);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TRANSPARENT);  // skipped by the system's hit testing
    EXPECT_FALSE(exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(::GetClassLongW(wnd, GCL_STYLE), 0u);
    EXPECT_EQ(::SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(202, 150)), LRESULT(HTTRANSPARENT));
  }
  // Showing built each part's image: the strip's column nearest the window is the darkest.
  for (int i = 0; i < Shadow->GetPartCount(); ++i) {
    TdxBarShadowPart* part = Shadow->GetPart(i);
    ASSERT_NE(part->GetBitmap(), nullptr);
    EXPECT_EQ(part->GetBitmap()->GetWidth(), part->GetWidth());
    EXPECT_EQ(part->GetBitmap()->GetHeight(), part->GetHeight());
    const int middle = part->GetVertical() ? part->GetHeight() / 2 : part->GetWidth() / 2;
    const int x = part->GetVertical() ? 0 : middle;
    const int y = part->GetVertical() ? middle : 0;
    EXPECT_EQ(AlphaAt(part->GetBitmap(), x, y), 60);
    EXPECT_EQ(AlphaAt(part->GetBitmap(), part->GetVertical() ? 3 : x, part->GetVertical() ? y : 3), 15);
  }
  // The bar window's own hit test is untouched.
  EXPECT_NE(::SendMessageW(Bar->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(150, 150)), LRESULT(HTTRANSPARENT));
}

// Behind the bar window and right next to it: no other window may come between the bar
// window and its shadow.
TEST_F(TShadowWindowTest, PartsAndTheBarWindowAreNeighboursInZOrder)
{
  UseLayered(true);
  Follow();
  ASSERT_EQ(Shadow->GetPartCount(), 2);
  // Another window comes up; then the bar window is raised again and its shadow follows.
  TOwned<TClickTarget> other(new TClickTarget(nullptr));
  ShowPopupAt(other.Get(), Rect(400, 400, 420, 420));
  ::SetWindowPos(Bar->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Follow();
  std::vector<HWND> order;
  for (HWND h = ::GetWindow(Bar->GetHandle(), GW_HWNDFIRST); h; h = ::GetWindow(h, GW_HWNDNEXT))
    order.push_back(h);
  auto position = [&](HWND h) { return std::find(order.begin(), order.end(), h) - order.begin(); };
  const auto barAt = position(Bar->GetHandle());
  const auto otherAt = position(other->GetHandle());
  EXPECT_LT(barAt, otherAt);
  for (HWND part : PartHandles()) {
    EXPECT_GT(position(part), barAt);
    EXPECT_LE(position(part) - barAt, 2) << "part " << position(part) << " bar " << barAt;
    EXPECT_LT(position(part), otherAt);
  }
}

TEST_F(TShadowWindowTest, TopMostBarWindowsGetTopMostParts)
{
  ::SetWindowPos(Bar->GetHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Follow();
  ASSERT_EQ(Shadow->GetPartCount(), 2);
  for (HWND wnd : PartHandles())
    EXPECT_TRUE(::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ::SetWindowPos(Bar->GetHandle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TEST_F(TShadowWindowTest, PartsFollowTheWindowWhenItMovesAndResizes)
{
  UseLayered(true);
  Follow();
  const std::vector<HWND> before = PartHandles();
  ::SetWindowPos(Bar->GetHandle(), nullptr, 300, 150, 120, 80, SWP_NOZORDER | SWP_NOACTIVATE);
  Follow();
  const std::vector<TRect> rects = PartRects();
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_TRUE(Contains(rects, Rect(420, 154, 424, 230))) << testing::PrintToString(rects);
  EXPECT_TRUE(Contains(rects, Rect(304, 230, 424, 234))) << testing::PrintToString(rects);
  // The old strips were freed with their windows.
  for (HWND wnd : before)
    EXPECT_FALSE(::IsWindow(wnd));
  for (HWND wnd : PartHandles())
    EXPECT_TRUE(::IsWindowVisible(wnd));
}

TEST_F(TShadowWindowTest, RepeatedRectanglesKeepThePartsAndALayeringChangeRebuildsThem)
{
  UseLayered(true);
  Follow();
  const std::vector<HWND> first = PartHandles();
  Follow();
  EXPECT_EQ(PartHandles(), first);
  UseLayered(false);
  Follow();
  EXPECT_FALSE(Shadow->GetLayered());
  for (HWND wnd : first)
    EXPECT_FALSE(::IsWindow(wnd));
}

TEST_F(TShadowWindowTest, CombinedOutlineKeepsTheOpeningItemFreeOfShadow)
{
  UseLayered(true);
  // The bar window is a menu opened below a narrower button.
  const TRect button = Rect(100, 78, 140, 100);
  Follow(button);
  EXPECT_TRUE(Shadow->GetVertical());
  EXPECT_EQ(Shadow->GetOwnerRect(), button);
  const std::vector<TRect> rects = PartRects();
  ASSERT_EQ(rects.size(), 3u) << testing::PrintToString(rects);
  for (const TRect& r : rects) {
    EXPECT_TRUE(IsRectEmpty(IntersectRect(r, button))) << testing::PrintToString(r);
    EXPECT_TRUE(IsRectEmpty(IntersectRect(r, BarRect))) << testing::PrintToString(r);
  }
  EXPECT_TRUE(Contains(rects, Rect(140, 82, 144, 100))) << testing::PrintToString(rects);
}

TEST_F(TShadowWindowTest, HidingAndShowingTheShadowHidesAndShowsEveryPart)
{
  UseLayered(true);
  Follow(Rect(100, 78, 140, 100));
  ASSERT_EQ(Shadow->GetPartCount(), 3);
  Shadow->SetVisible(false);
  EXPECT_FALSE(Shadow->GetVisible());
  for (HWND wnd : PartHandles())
    EXPECT_FALSE(::IsWindowVisible(wnd));
  // Rebuilding a hidden shadow keeps its parts hidden.
  Shadow->SetRectangles(TRect{}, BarRect);
  ASSERT_EQ(Shadow->GetPartCount(), 2);
  for (int i = 0; i < Shadow->GetPartCount(); ++i)
    EXPECT_FALSE(Shadow->GetPart(i)->HandleAllocated() && ::IsWindowVisible(Shadow->GetPart(i)->GetHandle()));
  Shadow->SetVisible(true);
  for (HWND wnd : PartHandles())
    EXPECT_TRUE(::IsWindowVisible(wnd));
  EXPECT_EQ(Shadow->GetPart(99), nullptr);
  EXPECT_EQ(Shadow->GetPart(-1), nullptr);
}

TEST_F(TShadowWindowTest, OpaqueFallbackIsTwoPixelsOfButtonShadow)
{
  UseLayered(false);
  Follow();
  EXPECT_FALSE(Shadow->GetLayered());
  EXPECT_EQ(Shadow->GetSize(), 2);
  const std::vector<TRect> rects = PartRects();
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_TRUE(Contains(rects, Rect(200, 102, 202, 300))) << testing::PrintToString(rects);
  EXPECT_TRUE(Contains(rects, Rect(102, 300, 202, 302))) << testing::PrintToString(rects);
  const COLORREF shadowColour = ::GetSysColor(COLOR_BTNSHADOW);
  for (int i = 0; i < Shadow->GetPartCount(); ++i) {
    TdxBarShadowPart* part = Shadow->GetPart(i);
    EXPECT_FALSE(::GetWindowLongPtrW(part->GetHandle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(part->GetBitmap(), nullptr);
    TDib32 picture = CaptureWindow(part->GetHandle());
    ASSERT_TRUE(picture.Valid());
    const TRect all = Rect(0, 0, picture.Width(), picture.Height());
    EXPECT_EQ(CountPixelsNear(picture, all, shadowColour, 0), picture.Width() * picture.Height())
        << "first pixel " << ColorText(picture.Pixel(0, 0)) << " wanted " << ColorText(shadowColour);
  }
  // The screen shows them too.
  PumpUntil([] { return false; }, 100);
  TDib32 screen = CaptureScreen(Rect(200, 150, 202, 151));
  EXPECT_TRUE(ColorNear(screen.Pixel(0, 0), shadowColour, 0));
}

TEST_F(TShadowWindowTest, WindowsNarrowerThanTheShadowShowNoParts)
{
  UseLayered(true);
  ::SetWindowPos(Bar->GetHandle(), nullptr, 100, 100, 3, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  Follow();
  EXPECT_EQ(Shadow->GetPartCount(), 0);
  ::SetWindowPos(Bar->GetHandle(), nullptr, 100, 100, 200, 3, SWP_NOZORDER | SWP_NOACTIVATE);
  Follow();
  EXPECT_EQ(Shadow->GetPartCount(), 0);
  ::SetWindowPos(Bar->GetHandle(), nullptr, 100, 100, 40, 40, SWP_NOZORDER | SWP_NOACTIVATE);
  Follow();
  EXPECT_EQ(Shadow->GetPartCount(), 2);
}

TEST_F(TShadowWindowTest, ABarWindowWithoutAWindowGetsNoPartsAndKeepsHavingNone)
{
  TOwned<TTestBarWindow> noWindow(new TTestBarWindow(Host.Manager));
  TdxBarShadow shadow(noWindow.Get());
  shadow.SetVisible(true);
  shadow.SetRectangles(TRect{}, BarRect);
  EXPECT_EQ(shadow.GetPartCount(), 0);
  EXPECT_FALSE(noWindow->HandleAllocated());
}

TEST_F(TShadowWindowTest, AClickOnAShadowReachesTheWindowBelow)
{
  UseLayered(true);
  // A window under the bar window's right edge and its shadow.
  TOwned<TClickTarget> target(new TClickTarget(nullptr));
  ShowPopupAt(target.Get(), Rect(150, 120, 260, 220));
  // The program is in the foreground, as when a user opens a menu over its window.
  ASSERT_TRUE(ActivateWindow(target->GetHandle()));
  ::SetWindowPos(Bar->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Follow();
  PumpPending();
  ASSERT_EQ(Shadow->GetPartCount(), 2);
  const POINT onShadow{201, 170};
  ASSERT_TRUE(PtInRect(WindowRectOf(Shadow->GetPart(0)->GetHandle()), onShadow) ||
              PtInRect(WindowRectOf(Shadow->GetPart(1)->GetHandle()), onShadow));
  EXPECT_EQ(::WindowFromPoint(onShadow), target->GetHandle());
  ASSERT_TRUE(ClickAt(onShadow));
  PumpUntil([&] { return target->Presses > 0; }, 2000);
  EXPECT_EQ(target->Presses, 1);
  EXPECT_EQ(target->LastPress.x, onShadow.x - 150);
  EXPECT_EQ(target->LastPress.y, onShadow.y - 120);
}

TEST_F(TShadowWindowTest, NothingOutlivesTheShadow)
{
  UseLayered(true);
  const size_t windowsBefore = ThreadWindows().size();
  const int gdiBefore = GdiObjectsInUse();
  Follow(Rect(100, 78, 140, 100));
  ASSERT_EQ(Shadow->GetPartCount(), 3);
  EXPECT_EQ(ThreadWindows().size(), windowsBefore + 3);
  EXPECT_GT(GdiObjectsInUse(), gdiBefore);  // the images and their DCs
  Shadow->SetRectangles(TRect{}, BarRect);
  Shadow.reset();
  EXPECT_EQ(ThreadWindows().size(), windowsBefore);
  EXPECT_EQ(GdiObjectsInUse(), gdiBefore);
}

TEST_F(TShadowWindowTest, TheBarWindowGoingFirstTakesThePartWindowsWithIt)
{
  UseLayered(true);
  TdxBarShadow* own = Bar->GetShadow();
  ASSERT_NE(own, nullptr);
  own->SetVisible(true);
  own->SetRectangles(TRect{}, WindowRectOf(Bar->GetHandle()));
  std::vector<HWND> parts;
  for (int i = 0; i < own->GetPartCount(); ++i)
    parts.push_back(own->GetPart(i)->GetHandle());
  ASSERT_EQ(parts.size(), 2u);
  ::DestroyWindow(Bar->GetHandle());
  for (HWND wnd : parts)
    EXPECT_FALSE(::IsWindow(wnd));
  EXPECT_EQ(own->GetPartCount(), 0);
  // A new window of the bar gets its strips again.
  Bar->HandleNeeded();
  ::ShowWindow(Bar->GetHandle(), SW_SHOWNOACTIVATE);
  own->SetRectangles(TRect{}, WindowRectOf(Bar->GetHandle()));
  EXPECT_EQ(own->GetPartCount(), 2);
  own->SetVisible(false);
}

// Over a white window the screen is darker exactly where the strip lies (how much darker
// depends on whether the host blends layered windows).
TEST_F(TShadowWindowTest, LayeredStripsAppearOnTheScreenWhereTheyAreLaidOut)
{
  UseLayered(true);
  TOwned<TClickTarget> background(new TClickTarget(nullptr));
  ShowPopupAt(background.Get(), Rect(150, 120, 260, 320));
  ::SetWindowPos(Bar->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Follow();
  PumpUntil([] { return CaptureScreen(Rect(200, 200, 201, 201)).Pixel(0, 0) != RGB(255, 255, 255); });
  TDib32 screen = CaptureScreen(Rect(196, 200, 206, 201));
  ASSERT_TRUE(screen.Valid());
  const COLORREF white = RGB(255, 255, 255);
  for (int x = 0; x < 10; ++x) {
    const bool onStrip = x >= 4 && x < 8;  // screen x 200 .. 203
    const COLORREF pixel = screen.Pixel(x, 0);
    if (onStrip)
      EXPECT_LT(GetRValue(pixel), 255) << "x " << 196 + x << " " << ColorText(pixel);
    else
      EXPECT_TRUE(ColorNear(pixel, white, 0)) << "x " << 196 + x;
  }
}
