// The menu animation thread and the menu's side of it: starting, the last frame on the
// user-interface thread, and stopping. The user-interface thread always joins and frees the
// thread (a thread that freed itself could race a stop into freeing it twice), and the
// worker draws nothing with the painter: the menu's frame and client are rendered into
// memory before it starts, on the user-interface thread.
#include "bars/menus/menuanimation.h"

#include "platform/Win.h"

#include <algorithm>
#include <cstdlib>

#include "bars/menus/submenu.h"
#include "platform/GraphicsObjects.h"
#include "platform/Messages.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarAnimationThread, TThread)

namespace {

// Pixels per frame: unfold grows both sides, slide only the height.
constexpr int UnfoldStep = 8;
constexpr int SlideStep = 17;

}  // namespace

void (*TdxBarAnimationThread::AfterFramesHook)() = nullptr;

// ---------------------------------------------------------------------------
// Frame arithmetic

TdxBarAnimationInfo dxBarMakeAnimationInfo(TdxBarMenuAnimations AKind, int AWidth, int AHeight)
{
  TdxBarAnimationInfo info;
  info.Kind = AKind == maSlide ? maSlide : maUnfold;
  info.Width = AWidth;
  info.Height = AHeight;
  if (info.Kind == maSlide) {
    info.StartOffset = 0;
    info.Total = AHeight;
    info.Step = SlideStep;
    info.Drawn = TRect{0, 0, AWidth, 0};
  } else {
    info.StartOffset = AHeight - AWidth;
    info.Total = std::min(AWidth, AHeight);
    info.Step = UnfoldStep;
    info.Drawn = AHeight > AWidth ? TRect{0, 0, 0, AHeight - AWidth} : TRect{0, 0, AWidth - AHeight, 0};
  }
  return info;
}

int dxBarAnimationFrameCount(const TdxBarAnimationInfo& AInfo)
{
  return AInfo.Step > 0 && AInfo.Total > 0 ? AInfo.Total / AInfo.Step : 0;
}

TSize dxBarAnimationFrameSize(const TdxBarAnimationInfo& AInfo, int AFrame)
{
  const int grown = AInfo.Step * AFrame;
  if (AInfo.StartOffset >= 0) {
    const int w = AInfo.Kind == maSlide ? AInfo.Width : grown;
    return TSize{w, AInfo.StartOffset + grown};
  }
  return TSize{-AInfo.StartOffset + grown, grown};
}

TRect dxBarAnimationSourceRect(const TdxBarAnimationInfo& AInfo, const TSize& AShown)
{
  const int w = std::min(int(AShown.cx), AInfo.Width), h = std::min(int(AShown.cy), AInfo.Height);
  // Growing down the bottom rows show, growing up the top ones: the content slides out of
  // the edge the menu opens from. Across, the left columns, except growing down and left.
  const int top = AInfo.GrowUp ? 0 : AInfo.Height - h;
  const int left = !AInfo.GrowUp && AInfo.GrowLeft ? AInfo.Width - w : 0;
  return TRect{left, top, left + w, top + h};
}

// ---------------------------------------------------------------------------
// The thread

TdxBarAnimationThread::TdxBarAnimationThread(TdxBarSubMenuControl* AMenu, const TdxBarAnimationInfo& AInfo)
    : TThread(true), FMenu(AMenu), FWnd(AMenu->GetHandle()), FInfo(AInfo)
{
  FMemoryDC = ::CreateCompatibleDC(nullptr);
  FBitmap = TrackGdiObject(CreateScreenBitmap(std::max(AInfo.Width, 1), std::max(AInfo.Height, 1)));
  FOldBitmap = ::SelectObject(FMemoryDC, FBitmap);
  const int fullWidth = AInfo.Width + AInfo.NonClientWidth, fullHeight = AInfo.Height + AInfo.NonClientHeight;
  FFrameDC = ::CreateCompatibleDC(nullptr);
  FFrameBitmap = TrackGdiObject(CreateScreenBitmap(std::max(fullWidth, 1), std::max(fullHeight, 1)));
  FOldFrameBitmap = ::SelectObject(FFrameDC, FFrameBitmap);
  FPalette = AMenu->GetLessUsedPalette();
  // The menu as it will look, rendered here on the user-interface thread.
  AMenu->PaintClientTo(FMemoryDC);
  AMenu->PaintNonClient(FFrameDC);
}

TdxBarAnimationThread::~TdxBarAnimationThread()
{
  if (FMemoryDC) {
    ::SelectObject(FMemoryDC, FOldBitmap);
    ::DeleteDC(FMemoryDC);
  }
  if (FBitmap)
    DeleteGdiObject(FBitmap);
  if (FFrameDC) {
    ::SelectObject(FFrameDC, FOldFrameBitmap);
    ::DeleteDC(FFrameDC);
  }
  if (FFrameBitmap)
    DeleteGdiObject(FFrameBitmap);
}

void TdxBarAnimationThread::Execute()
{
  const int frames = dxBarAnimationFrameCount(FInfo);
  for (int i = 1; i <= frames && !Terminated(); ++i) {
    const DWORD start = ::GetTickCount();
    DrawFrame(i);
    ::Sleep(1);
    while (::GetTickCount() == start && !Terminated())
      ::Sleep(1);
  }
  if (AfterFramesHook)
    AfterFramesHook();
}

void TdxBarAnimationThread::DoTerminate()
{
  TThread::DoTerminate();
  // The last frame: the menu takes its final bounds and paints itself.
  TdxBarSubMenuControl* menu = FMenu;
  Synchronize(TThreadMethod([menu] { menu->AnimationFinished(); }));
}

void TdxBarAnimationThread::DrawFrame(int AFrame)
{
  const TSize shown = dxBarAnimationFrameSize(FInfo, AFrame);
  const int w = std::min(int(shown.cx), FInfo.Width), h = std::min(int(shown.cy), FInfo.Height);
  const int x = FInfo.GrowLeft ? FInfo.Left + FInfo.Width - w : FInfo.Left;
  const int y = FInfo.GrowUp ? FInfo.Top + FInfo.Height - h : FInfo.Top;
  const int windowWidth = w + FInfo.NonClientWidth, windowHeight = h + FInfo.NonClientHeight;
  ::SetWindowPos(FWnd, nullptr, x, y, windowWidth, windowHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  HDC dc = ::GetWindowDC(FWnd);
  if (!dc)
    return;
  // On a palette screen the less-used colour needs the menu's palette in the window's DC.
  HPALETTE oldPalette = FPalette ? ::SelectPalette(dc, FPalette, FALSE) : nullptr;
  if (FPalette)
    ::RealizePalette(dc);
  // The frame: its corners and edges from the full-size image, stretched by cutting.
  const int fullWidth = FInfo.Width + FInfo.NonClientWidth, fullHeight = FInfo.Height + FInfo.NonClientHeight;
  RECT window{};
  ::GetWindowRect(FWnd, &window);
  POINT origin{0, 0};
  ::ClientToScreen(FWnd, &origin);
  const int left = origin.x - window.left, top = origin.y - window.top;
  const int right = fullWidth - FInfo.Width - left, bottom = fullHeight - FInfo.Height - top;
  ::BitBlt(dc, 0, 0, windowWidth - right, top, FFrameDC, 0, 0, SRCCOPY);
  ::BitBlt(dc, windowWidth - right, 0, right, top, FFrameDC, fullWidth - right, 0, SRCCOPY);
  ::BitBlt(dc, 0, top, left, windowHeight - top - bottom, FFrameDC, 0, top, SRCCOPY);
  ::BitBlt(dc, windowWidth - right, top, right, windowHeight - top - bottom, FFrameDC, fullWidth - right, top, SRCCOPY);
  ::BitBlt(dc, 0, windowHeight - bottom, windowWidth - right, bottom, FFrameDC, 0, fullHeight - bottom, SRCCOPY);
  ::BitBlt(dc, windowWidth - right, windowHeight - bottom, right, bottom, FFrameDC, fullWidth - right,
           fullHeight - bottom, SRCCOPY);
  // The client: the part of the image the growing edge has uncovered.
  const TRect source = dxBarAnimationSourceRect(FInfo, TSize{w, h});
  ::BitBlt(dc, left, top, RectWidth(source), RectHeight(source), FMemoryDC, source.left, source.top, SRCCOPY);
  if (FPalette) {
    ::SelectPalette(dc, oldPalette ? oldPalette : static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), FALSE);
    ::UpdateColors(dc);
  }
  ::GdiFlush();
  ::ReleaseDC(FWnd, dc);
  FInfo.Drawn = TRect{0, 0, w, h};
  ++FFramesDrawn;
}

// ---------------------------------------------------------------------------
// The menu's side

void TdxBarSubMenuControl::StartAnimation()
{
  if (FAnimationThread || !HandleAllocated() || (FAnimationKind != maUnfold && FAnimationKind != maSlide))
    return;
  RECT window{};
  ::GetWindowRect(GetHandle(), &window);
  const TRect client = GetClientRect();
  TdxBarAnimationInfo info = dxBarMakeAnimationInfo(FAnimationKind, RectWidth(client), RectHeight(client));
  info.Left = window.left;
  info.Top = window.top;
  info.NonClientWidth = (window.right - window.left) - RectWidth(client);
  info.NonClientHeight = (window.bottom - window.top) - RectHeight(client);
  // A menu that opens to the left (by preference or by a flip) grows leftwards.
  info.GrowLeft = FPrefersRight == FFlippedX;
  info.GrowUp = FPrefersDown == FFlippedY;
  FAnimationDone = false;
  FAnimationMousePoint = TPoint{-1, -1};
  POINT p{};
  if (::GetCursorPos(&p))
    FAnimationMousePoint = TPoint{p.x, p.y};
  FAnimationThread = std::make_unique<TdxBarAnimationThread>(this, info);
  FAnimationThread->Start();
}

bool TdxBarSubMenuControl::IsAnimating() const
{
  return FAnimationThread && !FAnimationDone;
}

void TdxBarSubMenuControl::AnimationFinished()
{
  FAnimationDone = true;
  if (FInDestruction || IsDestroying() || !HandleAllocated())
    return;
  FAnimate = false;
  ::SetWindowPos(GetHandle(), nullptr, GetLeft(), GetTop(), GetWidth(), GetHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  ::RedrawWindow(GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  // The thread ended by itself: it is joined once this call has returned to it.
  ::PostMessageW(GetHandle(), DXM_MENU_ANIMATION_END, 0, 0);
}

void TdxBarSubMenuControl::StopAnimation()
{
  if (!FAnimationThread || FStoppingAnimation)
    return;
  TRestore stopping(FStoppingAnimation, true);
  FAnimationThread->Terminate();
  // The last frame still runs, through Synchronize, while this waits.
  FAnimationThread->WaitFor();
  FAnimationThread.reset();
}
