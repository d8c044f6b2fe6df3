// The non-client area of drop-down windows the user can resize: a one-pixel frame and a
// small caption band along the edge away from the owner, with the size grip in one corner
// and a small close button at the other end. Plain drawing routines on a device context;
// the painters call them and the drop-down windows hit-test with their rectangles.
#pragma once

#include "platform/Types.h"
#include "platform/Win.h"

// The corner the grip sits in (the themed grip numbers its corners otherwise).
inline constexpr int dxGripTopLeft = 0;
inline constexpr int dxGripTopRight = 1;
inline constexpr int dxGripBottomLeft = 2;
inline constexpr int dxGripBottomRight = 3;

inline bool IsSizeGripCornerRight(int ACorner)
{
  return ACorner == dxGripTopRight || ACorner == dxGripBottomRight;
}
inline bool IsSizeGripCornerBottom(int ACorner)
{
  return ACorner == dxGripBottomLeft || ACorner == dxGripBottomRight;
}

// The caption band's height: room for the grip and the small close button.
int GetDropDownCaptionHeight();
// The corner away from the owner: at the bottom unless the drop-down opened upwards, on the
// right unless it opened (or was pushed) to the left of its owner.
int GetSizeGripCorner(const TRect& ADropDownRect, const TRect& AOwnerRect);
// HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT or HTBOTTOMRIGHT; HTNOWHERE for no corner.
int GetCornerHitTestCode(int ACorner);
// The widths of the frame and band on each side of the client area.
TRect GetSizableDropDownMargins(int ACorner);

// Paints the grip into the corner of R and answers the grip's rectangle in R.
void DrawSizeGripCorner(HDC DC, TRect& R, int ACorner);
// Paints the close button at the end of the band R opposite the grip and answers its
// rectangle in R.
void DrawDropDownCloseButton(HDC DC, TRect& R, bool AHighlighted, int ACorner, bool AFlat, bool APressed);

// What DrawSizableDropDownNonClient answers, in window coordinates; both empty when the
// window is not sizable.
struct TdxBarSizableDropDownParts {
  TRect Grip{};
  TRect CloseButton{};
};
// Paints the whole non-client area of AWnd (frame, band, grip and close button) through its
// window DC; scroll bars are left to the window.
TdxBarSizableDropDownParts DrawSizableDropDownNonClient(HWND AWnd, bool ASizable, bool AFlat, int ACorner,
                                                        bool ACloseHot, bool AClosePressed);
// Where the grip and the close button of a window of ASize lie, without painting.
TdxBarSizableDropDownParts CalcSizableDropDownParts(const TSize& AWindowSize, int ACorner);
