// The non-client area of drop-down windows the user can resize: a one-pixel frame and a
// small caption band along the edge away from the owner, with the size grip in one corner
// and a small close button at the other end. Drawing routines on a device context, and the
// object through which each such window sizes, hit-tests and paints its band.
#pragma once

#include <functional>

#include "bars/utils/utils.h"
#include "platform/Controls.h"
#include "platform/Messages.h"
#include "platform/Types.h"
#include "platform/Win.h"

class TdxBarPainter;

// The caption band's height: room for the grip and the small close button.
int GetDropDownCaptionHeight();
// The corner away from the owner: at the bottom unless the drop-down opened upwards, on the
// right unless it opened (or was pushed) to the left of its owner.
TdxBarSizeGripCorner GetSizeGripCorner(const TRect& ADropDownRect, const TRect& AOwnerRect);
// HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT or HTBOTTOMRIGHT; HTNOWHERE for no corner.
int GetCornerHitTestCode(TdxBarSizeGripCorner ACorner);
// The widths of the frame and band on each side of the client area.
TRect GetSizableDropDownMargins(TdxBarSizeGripCorner ACorner);

// Paints the grip into the corner of R and answers the grip's rectangle in R.
void DrawSizeGripCorner(HDC DC, TRect& R, TdxBarSizeGripCorner ACorner);
// Paints the close button at the end of the band R opposite the grip and answers its
// rectangle in R.
void DrawDropDownCloseButton(HDC DC, TRect& R, bool AHighlighted, TdxBarSizeGripCorner ACorner, bool AFlat,
                             bool APressed);

// What DrawSizableDropDownNonClient answers, in window coordinates; both empty when the
// window is not sizable.
struct TdxBarSizableDropDownParts {
  TRect Grip{};
  TRect CloseButton{};
};
// Paints the whole non-client area of AWnd (frame, band, grip and close button) through its
// window DC; scroll bars are left to the window.
TdxBarSizableDropDownParts DrawSizableDropDownNonClient(HWND AWnd, bool ASizable, bool AFlat,
                                                        TdxBarSizeGripCorner ACorner, bool ACloseHot,
                                                        bool AClosePressed);
// Where the grip and the close button of a window of ASize lie, without painting.
TdxBarSizableDropDownParts CalcSizableDropDownParts(const TSize& AWindowSize, TdxBarSizeGripCorner ACorner);
// WM_NCCALCSIZE of a drop-down: AMargins come off the proposed window rectangle, which both
// forms of the message start with.
void ExcludeDropDownMargins(TMessage& Message, const TRect& AMargins);
// Whether a drop-down of APainter's manager draws its frame and band flat (no painter: flat).
bool IsDropDownFlat(const TdxBarPainter* APainter);

// The band of one sizable drop-down window: its grip corner, the drag of the grip and the
// press of the close button. Every drop-down window with the band routes its non-client
// messages and the mouse through one of these while it is sizable, so they all size,
// hit-test and paint alike.
class TdxBarDropDownSizing {
public:
  explicit TdxBarDropDownSizing(TWinControl* AWindow) : FWindow(AWindow) {}

  TdxBarSizeGripCorner GetCorner() const { return FCorner; }
  // Lays the frame out again when the corner changes.
  void SetCorner(TdxBarSizeGripCorner Value);
  // The grip cannot make the window smaller than this, nor larger than the work area.
  TSize GetMinTrackSize() const { return FMinTrackSize; }
  void SetMinTrackSize(const TSize& Value) { FMinTrackSize = Value; }
  bool IsSizing() const { return FSizing; }
  bool IsCloseHot() const { return FCloseHot; }
  // The grip's and the close button's window rectangles.
  TdxBarSizableDropDownParts GetParts() const;

  // WM_NCHITTEST after the window's own answer: the grip's corner code, HTCLOSE, or
  // HTBORDER over the frame and the band.
  void HitTest(TMessage& Message) const;
  // The grip, the close button and the band take the mouse messages that are theirs; true
  // when Message was one of those and has been answered.
  bool Mouse(TMessage& Message);
  // The frame, band, grip and close button, flat or not as APainter's drop-downs are.
  void Paint(const TdxBarPainter* APainter) const;

  // The close button was clicked; the window may be gone when it returns.
  std::function<void()> OnClose;
  // A drag of the grip that changed the size ended.
  std::function<void()> OnResized;

private:
  HWND Handle() const;
  void TrackSizing(const TPoint& AScreenPoint);
  void EndSizing();
  void SetCloseState(bool AHot, bool APressed);

  TWinControl* FWindow;
  TdxBarSizeGripCorner FCorner = sgcBottomRight;
  TSize FMinTrackSize{100, 100};
  bool FSizing = false;
  bool FSized = false;
  TPoint FSizingStart{};
  TRect FSizingBounds{};
  bool FCloseTracking = false;
  bool FCloseHot = false;
  bool FClosePressed = false;
};
