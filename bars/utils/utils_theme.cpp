// Visual-style helpers of the bar library: theme states, the themed fill and text colours
// of edits and toolbars, the small close button and the themed size grip.
#include "bars/utils/utils.h"

#include "lookandfeel/dxThemeManager.h"
#include "platform/Win.h"

namespace {

// Theme properties and parts used here.
constexpr int TmtFillColor = 3802;
constexpr int TmtTextColor = 3803;
constexpr int EditPartEditText = 1;
constexpr int WindowPartSmallCloseButton = 19;
constexpr int ScrollBarPartSizeBox = 10;
constexpr int SizeBoxStateRightAlign = 1;
// The size box is drawn with a pixel of room on each side.
constexpr int SizeBoxMargin = 2;

bool ReadThemeColor(TdxThemedObjectType AKind, int APart, int AState, int AProperty, COLORREF& AColor)
{
  const TdxTheme theme = OpenTheme(AKind);
  return theme && GetThemeColor(theme, APart, AState, AProperty, AColor);
}

TSize ThemePartSize(TdxThemedObjectType AKind, int APart, int AState)
{
  const TdxTheme theme = OpenTheme(AKind);
  if (!theme)
    return TSize{0, 0};
  HDC dc = GetDC(nullptr);
  const TSize size = dxGetThemePartSize(theme, dc, APart, AState, nullptr, tsTrue);
  ReleaseDC(nullptr, dc);
  return size;
}

}  // namespace

TdxBarThemeState EnabledToThemeState(bool AEnabled)
{
  return AEnabled ? dxThemeStateNormal : dxThemeStateDisabled;
}

COLORREF GetThemedEditFillColor(TdxBarThemeState AState)
{
  COLORREF color = GetSysColor(COLOR_WINDOW);
  if (AState == dxThemeStateDisabled && !ReadThemeColor(totEdit, EditPartEditText, AState, TmtFillColor, color))
    color = GetSysColor(COLOR_WINDOW);
  return color;
}

COLORREF GetThemedEditTextColor(TdxBarThemeState AState)
{
  COLORREF color = 0;
  if (ReadThemeColor(totEdit, EditPartEditText, AState, TmtTextColor, color))
    return color;
  return GetSysColor(AState == dxThemeStateDisabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
}

COLORREF GetThemedToolBarFillColor()
{
  COLORREF color = 0;
  if (ReadThemeColor(totToolBar, 0, 0, TmtFillColor, color))
    return color;
  return GetSysColor(COLOR_BTNFACE);
}

TSize GetThemedSmallCloseButtonSize()
{
  return ThemePartSize(totWindow, WindowPartSmallCloseButton, dxThemeStateNormal);
}

void DrawThemedSmallCloseButton(HDC DC, const TRect& R, TdxBarCloseButtonState AState, bool AAtLeft)
{
  if (!DC)
    return;
  FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  const TdxTheme theme = OpenTheme(totWindow);
  if (!theme)
    return;
  const TSize size = GetThemedSmallCloseButtonSize();
  const int left = AAtLeft ? R.left : R.right - size.cx;
  const TRect button = Bounds(left, R.top + (RectHeight(R) - size.cy) / 2, size.cx, size.cy);
  const int state = AState == TdxBarCloseButtonState::Hot || AState == TdxBarCloseButtonState::Pressed
                        ? int(AState)
                        : dxThemeStateNormal;
  DrawThemeBackground(theme, DC, WindowPartSmallCloseButton, state, button);
}

TSize GetThemedSizeBoxSize()
{
  TSize size = ThemePartSize(totScrollBar, ScrollBarPartSizeBox, SizeBoxStateRightAlign);
  if (size.cx == 0 && size.cy == 0)
    return size;
  return TSize{size.cx + SizeBoxMargin, size.cy + SizeBoxMargin};
}

void DrawThemedSizeGrip(HDC DC, const TRect& R, TdxBarSizeGripCorner ACorner)
{
  const TdxTheme theme = OpenTheme(totScrollBar);
  if (!DC || !theme)
    return;
  const TSize size = GetThemedSizeBoxSize();
  if (size.cx <= 0 || size.cy <= 0)
    return;
  // The theme draws the bottom-right grip into a work bitmap over the face colour; the
  // copy into the corner mirrors it for the other corners.
  HDC work = CreateCompatibleDC(DC);
  HBITMAP bitmap = CreateScreenBitmap(size.cx, size.cy);
  HGDIOBJ old = SelectObject(work, bitmap);
  const TRect local = Rect(0, 0, size.cx, size.cy);
  FillRect(work, &local, GetSysColorBrush(COLOR_BTNFACE));
  DrawThemeBackground(theme, work, ScrollBarPartSizeBox, SizeBoxStateRightAlign, local);
  const bool mirrorX = !IsSizeGripCornerRight(ACorner);
  const bool mirrorY = !IsSizeGripCornerBottom(ACorner);
  const int x = mirrorX ? R.left : R.right - size.cx;
  const int y = mirrorY ? R.top : R.bottom - size.cy;
  StretchBlt(DC, mirrorX ? x + size.cx - 1 : x, mirrorY ? y + size.cy - 1 : y, mirrorX ? -size.cx : size.cx,
             mirrorY ? -size.cy : size.cy, work, 0, 0, size.cx, size.cy, SRCCOPY);
  SelectObject(work, old);
  DeleteObject(bitmap);
  DeleteDC(work);
}
