// Drop shadows: the layered-window decision, the layout of the strips around a window and
// the item it was opened from, the strip images, and the strip windows themselves.
#include "bars/barwindows/shadow.h"

#include <algorithm>
#include <cstdint>

#include "bars/barwindows/barcontrol.h"
#include "bars/model/startup.h"
#include "platform/Bitmap.h"
#include "platform/Win.h"

IMPLEMENT_CLASS(TdxBarShadowPart, TCustomControl)
IMPLEMENT_CLASS(TdxBarShadow, TObject)

// ---------------------------------------------------------------------------
// The layered-window decision

namespace {

TdxBarShadowLayeredQuery& LayeredQuery()
{
  static TdxBarShadowLayeredQuery query;
  return query;
}

TdxBarShadowSettingQuery& SettingQuery()
{
  static TdxBarShadowSettingQuery query;
  return query;
}

// Puts a query in its slot and answers the one it replaces.
std::function<bool()> Exchange(std::function<bool()>& ASlot, std::function<bool()> AQuery)
{
  std::function<bool()> previous = std::move(ASlot);
  ASlot = std::move(AQuery);
  return previous;
}

}  // namespace

bool dxBarShadowCanUseLayeredWindows(bool HasUpdateLayeredWindow, int BitsPerPixel)
{
  return HasUpdateLayeredWindow && BitsPerPixel > 8;
}

TdxBarShadowLayeredQuery SetdxBarShadowLayeredQuery(TdxBarShadowLayeredQuery Query)
{
  return Exchange(LayeredQuery(), std::move(Query));
}

bool dxBarShadowIsLayered()
{
  if (LayeredQuery())
    return LayeredQuery()();
  return dxBarShadowCanUseLayeredWindows(dxUpdateLayeredWindow != nullptr, dxBarScreenColorDepth());
}

TdxBarShadowSettingQuery SetdxBarShadowSettingQuery(TdxBarShadowSettingQuery Query)
{
  return Exchange(SettingQuery(), std::move(Query));
}

bool dxBarShadowsEnabled()
{
  if (SettingQuery())
    return SettingQuery()();
  BOOL on = TRUE;
  // A system that cannot answer keeps the shadows.
  if (!::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &on, 0))
    return true;
  return on != FALSE;
}

// ---------------------------------------------------------------------------
// Layout
//
// A shadow is what the window (with the item it was opened from) covers when moved w
// pixels right and down, less what they cover themselves. The vertical arrangement is
// worked out below; the horizontal one is the same with x and y exchanged, so it runs
// through the same code on transposed rectangles.

namespace {

TRect Transposed(const TRect& R)
{
  return Rect(R.top, R.left, R.bottom, R.right);
}

bool Overlap(int ALow1, int AHigh1, int ALow2, int AHigh2)
{
  return ALow1 < AHigh2 && ALow2 < AHigh1;
}

void AddPart(std::vector<TdxBarShadowPartInfo>& AParts, const TRect& ABounds, bool AVertical,
             TdxBarShadowPartEnds AFadedEnds)
{
  if (!IsRectEmpty(ABounds))
    AParts.push_back({ABounds, AVertical, AFadedEnds});
}

// The strips for Upper above Lower (touching; Upper empty for a window alone).
std::vector<TdxBarShadowPartInfo> CalcVerticalParts(const TRect& Upper, const TRect& Lower, int w)
{
  std::vector<TdxBarShadowPartInfo> parts;
  const bool hasUpper = !IsRectEmpty(Upper);
  if (hasUpper) {
    const int m = Lower.top;
    // The item's right edge, down to where the window begins.
    AddPart(parts, Rect(Upper.right, Upper.top + w, Upper.right + w, m), true, {speStart});
    // Below the item, where the window does not cover it: left of the window ...
    AddPart(parts, Rect(Upper.left + w, m, std::min(Lower.left, Upper.right + w), m + w), false, {speStart});
    // ... and right of it, ending in the item's outer corner: the outline's step.
    const int stepLeft = std::max(Lower.right, Upper.left + w);
    TdxBarShadowPartEnds stepEnds{speEnd};
    if (stepLeft > Lower.right)
      stepEnds += speStart;
    AddPart(parts, Rect(stepLeft, m, Upper.right + w, m + w), false, stepEnds);
  }
  // The window's right edge: its top is an outer corner unless the item's shadow is above.
  TdxBarShadowPartEnds rightEnds;
  if (!hasUpper || Lower.right >= Upper.right + w)
    rightEnds += speStart;
  AddPart(parts, Rect(Lower.right, Lower.top + w, Lower.right + w, Lower.bottom), true, rightEnds);
  // The window's bottom edge, with the outer corner.
  AddPart(parts, Rect(Lower.left + w, Lower.bottom, Lower.right + w, Lower.bottom + w), false, {speStart, speEnd});
  return parts;
}

}  // namespace

TdxBarShadowOutline dxBarShadowOutline(const TRect& AOwnerRect, const TRect& AWindowRect, int ASize)
{
  TdxBarShadowOutline outline;
  outline.Second = AWindowRect;
  if (IsRectEmpty(AOwnerRect) || IsRectEmpty(AWindowRect))
    return outline;
  const TRect& o = AOwnerRect;
  const TRect& w = AWindowRect;
  if (Overlap(o.left, o.right, w.left, w.right) && (o.bottom == w.top || o.top == w.bottom)) {
    // Keep the upper one first: the item goes second when it lies below the window.
    if (o.bottom == w.top)
      outline.First = o;
    else {
      outline.First = w;
      outline.Second = o;
    }
  } else if (Overlap(o.top, o.bottom, w.top, w.bottom) && (o.right == w.left || o.left == w.right)) {
    outline.Vertical = false;
    if (o.right == w.left)
      outline.First = o;
    else {
      outline.First = w;
      outline.Second = o;
    }
  }
  // The strips of a combined outline assume each rectangle is at least as thick as the
  // shadow across the shared edge; a thinner one (or an item not touching the window)
  // leaves the window to cast its shadow alone.
  const bool thin = outline.Vertical ? std::min(RectHeight(outline.First), RectHeight(outline.Second)) < ASize
                                     : std::min(RectWidth(outline.First), RectWidth(outline.Second)) < ASize;
  if (!IsRectEmpty(outline.First) && thin)
    return TdxBarShadowOutline{true, TRect{}, AWindowRect};
  return outline;
}

std::vector<TdxBarShadowPartInfo> dxBarCalcShadowParts(const TRect& AOwnerRect, const TRect& AWindowRect, int ASize)
{
  if (ASize <= 0 || RectWidth(AWindowRect) < ASize || RectHeight(AWindowRect) < ASize)
    return {};
  const TdxBarShadowOutline outline = dxBarShadowOutline(AOwnerRect, AWindowRect, ASize);
  if (outline.Vertical)
    return CalcVerticalParts(outline.First, outline.Second, ASize);
  std::vector<TdxBarShadowPartInfo> parts =
      CalcVerticalParts(Transposed(outline.First), Transposed(outline.Second), ASize);
  for (TdxBarShadowPartInfo& part : parts) {
    part.Bounds = Transposed(part.Bounds);
    part.Vertical = !part.Vertical;
  }
  return parts;
}

// ---------------------------------------------------------------------------
// The strip image

void dxBarBuildShadowImage(TBitmap* ABitmap, int AWidth, int AHeight, bool AVertical, TdxBarShadowPartEnds AFadedEnds,
                           int ASize)
{
  if (!ABitmap)
    return;
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  ABitmap->SetPixelFormat(pf32bit);
  ABitmap->SetSize(AWidth, AHeight);
  if (ABitmap->Empty())
    return;
  const int across = AVertical ? AWidth : AHeight;
  const int along = AVertical ? AHeight : AWidth;
  for (int y = 0; y < AHeight; ++y) {
    auto* row = static_cast<uint32_t*>(ABitmap->ScanLine(y));
    for (int x = 0; x < AWidth; ++x) {
      const int a = AVertical ? y : x;  // position along the strip
      const int c = AVertical ? x : y;  // position across it, 0 at the window's edge
      int alpha = dxBarShadowAlphaStep * (across - c);
      // Along a faded end each line is scaled down, so the corner fades out diagonally.
      if (AFadedEnds.Contains(speStart) && a < ASize)
        alpha = ::MulDiv(alpha, a + 1, ASize + 1);
      const int fromEnd = along - 1 - a;
      if (AFadedEnds.Contains(speEnd) && fromEnd < ASize)
        alpha = ::MulDiv(alpha, fromEnd + 1, ASize + 1);
      alpha = std::clamp(alpha, 0, 255);
      // Premultiplied black: the colour channels stay 0 whatever the alpha.
      row[x] = uint32_t(alpha) << 24;
    }
  }
}

// ---------------------------------------------------------------------------
// TdxBarShadowPart

TdxBarShadowPart::TdxBarShadowPart(TdxBarShadow* AShadow, const TdxBarShadowPartInfo& AInfo, bool ALayered)
    : TCustomControl(nullptr),
      FShadow(AShadow),
      FFadedEnds(AInfo.FadedEnds),
      FVertical(AInfo.Vertical),
      FLayered(ALayered)
{
  // Shown and hidden by the shadow, never by the Visible machinery.
  SetVisible(false);
  SetColor(clBtnShadow);
  SetBoundsRect(AInfo.Bounds);
}

TdxBarShadowPart::~TdxBarShadowPart()
{
  delete FBitmap;
  FBitmap = nullptr;
}

void TdxBarShadowPart::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = 0;
  // HTTRANSPARENT passes a click on only to windows of the same thread (and not at all
  // between top-level windows on some hosts); a layered window that is also transparent
  // is skipped by the system's own hit testing, so clicks reach any window below.
  if (FLayered)
    Params.ExStyle |= WS_EX_LAYERED | WS_EX_TRANSPARENT;
  if (FShadow && FShadow->IsBarTopMost())
    Params.ExStyle |= WS_EX_TOPMOST;
  // Owned with the bar window rather than by it: a system keeps owned windows above their
  // owner and moves them along when the owner is restacked, so a strip owned by the bar would
  // sit in front of it and come between the bar and every restack of it.
  TCustomdxBarControl* bar = FShadow ? FShadow->GetBarControl() : nullptr;
  Params.WndParent = bar && bar->HandleAllocated() ? ::GetWindow(bar->GetHandle(), GW_OWNER) : nullptr;
  Params.WindowClass.style = 0;
}

void TdxBarShadowPart::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    // The mouse passes through a shadow to whatever lies below it.
    case WM_NCHITTEST:
      Message.Result = HTTRANSPARENT;
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    default:
      TCustomControl::WndProc(Message);
  }
}

void TdxBarShadowPart::WMEraseBkgnd(TMessage& Message)
{
  // Paint covers the whole strip.
  Message.Result = 1;
}

void TdxBarShadowPart::Paint()
{
  if (FLayered)
    return;
  TRect r = GetClientRect();
  ::FillRect(GetCanvas()->GetHandle(), &r, ::GetSysColorBrush(COLOR_BTNSHADOW));
}

void TdxBarShadowPart::UpdateLayeredImage()
{
  if (!FBitmap) {
    FBitmap = new TBitmap();
    dxBarBuildShadowImage(FBitmap, GetWidth(), GetHeight(), FVertical, FFadedEnds,
                          FShadow ? FShadow->GetSize() : dxBarLayeredShadowSize);
  }
  if (!dxUpdateLayeredWindow)
    return;
  POINT dst{GetLeft(), GetTop()};
  SIZE size{GetWidth(), GetHeight()};
  POINT src{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  dxUpdateLayeredWindow(GetHandle(), nullptr, &dst, &size, FBitmap->GetCanvas()->GetHandle(), &src, 0, &blend,
                        ULW_ALPHA);
}

void TdxBarShadowPart::ShowNextToBar()
{
  TCustomdxBarControl* bar = FShadow ? FShadow->GetBarControl() : nullptr;
  if (!bar || !bar->HandleAllocated())
    return;
  HWND wnd = GetHandle();
  if (FLayered)
    UpdateLayeredImage();
  ::SetWindowPos(wnd, bar->GetHandle(), GetLeft(), GetTop(), GetWidth(), GetHeight(),
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_SHOWWINDOW);
}

void TdxBarShadowPart::HidePart()
{
  if (HandleAllocated())
    ::ShowWindow(GetHandle(), SW_HIDE);
}

// ---------------------------------------------------------------------------
// TdxBarShadow

TdxBarShadow::TdxBarShadow(TCustomdxBarControl* ABarControl) : FBarControl(ABarControl) {}

TdxBarShadow::~TdxBarShadow()
{
  FreeParts();
}

TdxBarShadowPart* TdxBarShadow::GetPart(int Index) const
{
  return Index >= 0 && Index < GetPartCount() ? FParts[size_t(Index)] : nullptr;
}

bool TdxBarShadow::IsBarTopMost() const
{
  if (!FBarControl || !FBarControl->HandleAllocated())
    return false;
  return (::GetWindowLongPtrW(FBarControl->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void TdxBarShadow::FreeParts()
{
  std::vector<TdxBarShadowPart*> parts;
  parts.swap(FParts);
  for (TdxBarShadowPart* part : parts)
    part->Free();
}

void TdxBarShadow::ReleaseParts()
{
  FreeParts();
  FHasRectangles = false;
}

void TdxBarShadow::SetRectangles(const TRect& AOwnerRect, const TRect& AWindowRect)
{
  const bool layered = dxBarShadowIsLayered();
  const bool same =
      FHasRectangles && AOwnerRect == FGivenOwnerRect && AWindowRect == FGivenWindowRect && FLayered == layered;
  FGivenOwnerRect = AOwnerRect;
  FGivenWindowRect = AWindowRect;
  FHasRectangles = true;
  const TdxBarShadowOutline outline = dxBarShadowOutline(AOwnerRect, AWindowRect, dxBarShadowSizeFor(layered));
  FVertical = outline.Vertical;
  FOwnerRect = outline.First;
  FWindowRect = outline.Second;
  if (!same) {
    Rebuild();
    return;
  }
  // A change of z order only: the parts go behind the window again.
  if (FVisible)
    for (TdxBarShadowPart* part : FParts)
      part->ShowNextToBar();
}

void TdxBarShadow::Rebuild()
{
  FreeParts();
  FLayered = dxBarShadowIsLayered();
  FSize = dxBarShadowSizeFor(FLayered);
  if (!FHasRectangles || !FBarControl || !FBarControl->HandleAllocated())
    return;
  for (const TdxBarShadowPartInfo& info : dxBarCalcShadowParts(FGivenOwnerRect, FGivenWindowRect, FSize)) {
    auto* part = new TdxBarShadowPart(this, info, FLayered);
    FParts.push_back(part);
    if (FVisible)
      part->ShowNextToBar();
  }
}

void TdxBarShadow::SetVisible(bool Value)
{
  if (FVisible == Value)
    return;
  FVisible = Value;
  for (TdxBarShadowPart* part : FParts) {
    if (FVisible)
      part->ShowNextToBar();
    else
      part->HidePart();
  }
}
