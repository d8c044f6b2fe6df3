// Drop shadows of floating toolbars and menus (window layer). TdxBarShadow is the shadow of
// one bar window: up to five strip windows (TdxBarShadowPart) below and to the right of it,
// shaped around the item a menu was opened from, layered with per-pixel alpha where the
// system allows and opaque button-shadow strips otherwise. The layout is a plain function.
#pragma once

#include <functional>
#include <vector>

#include "platform/Controls.h"

class TBitmap;
class TCustomdxBarControl;
class TdxBarShadow;

// ---------------------------------------------------------------------------
// Metrics

constexpr int dxBarLayeredShadowSize = 4;  // width of a soft (layered) shadow
constexpr int dxBarOpaqueShadowSize = 2;   // width of the opaque fallback shadow
constexpr int dxBarShadowAlphaStep = 15;   // alpha per pixel of distance from the strip's outer edge
constexpr int dxBarShadowMaxParts = 5;     // a combined outline needs at most five strips

// ---------------------------------------------------------------------------
// The layered-window decision

// Soft shadows need UpdateLayeredWindow and a screen of more than 8 bits per pixel.
bool dxBarShadowCanUseLayeredWindows(bool HasUpdateLayeredWindow, int BitsPerPixel);
// The process's answer: by default the rule above for the function bound at start-up and
// the colour depth read then. Tests install their own answer; nil restores the default.
// Returns the previous query.
using TdxBarShadowLayeredQuery = std::function<bool()>;
TdxBarShadowLayeredQuery SetdxBarShadowLayeredQuery(TdxBarShadowLayeredQuery Query);
bool dxBarShadowIsLayered();
inline int dxBarShadowSizeFor(bool Layered)
{
  return Layered ? dxBarLayeredShadowSize : dxBarOpaqueShadowSize;
}

// The system's setting for drop shadows (on unless the user turned them off). Tests install
// their own answer; nil restores the system's. Returns the previous query.
using TdxBarShadowSettingQuery = std::function<bool()>;
TdxBarShadowSettingQuery SetdxBarShadowSettingQuery(TdxBarShadowSettingQuery Query);
bool dxBarShadowsEnabled();

// ---------------------------------------------------------------------------
// Layout

// The ends of a strip where its alpha fades out: the start is the top of a vertical strip
// and the left of a horizontal one.
enum TdxBarShadowPartEnd { speStart, speEnd };
using TdxBarShadowPartEnds = TSet<TdxBarShadowPartEnd>;

// One strip of a shadow, in screen coordinates. A vertical strip lies right of what casts
// it (its alpha runs across x), a horizontal one below (alpha runs across y).
struct TdxBarShadowPartInfo {
  TRect Bounds{};
  bool Vertical = false;
  TdxBarShadowPartEnds FadedEnds;
};

// How the opening item and the window stand: the vertical arrangement has the first
// rectangle above the second, the horizontal one has it to the left. First is empty when
// there is no opening item; also when it does not touch the window or either of the two is
// thinner than the shadow (ASize) across the edge they share: the window then casts its
// shadow alone.
struct TdxBarShadowOutline {
  bool Vertical = true;
  TRect First{};
  TRect Second{};
};
TdxBarShadowOutline dxBarShadowOutline(const TRect& AOwnerRect, const TRect& AWindowRect, int ASize);

// The strips of a shadow ASize pixels wide for a window opened from AOwnerRect (empty:
// none). No strip covers the opening item or the window; none at all when the window is
// narrower or lower than the shadow.
std::vector<TdxBarShadowPartInfo> dxBarCalcShadowParts(const TRect& AOwnerRect, const TRect& AWindowRect, int ASize);

// Fills a 32-bit bitmap of the strip's size with the shadow image: black (colour channels
// 0, as premultiplied alpha needs for black) with alpha 15 times the distance from the
// strip's outer edge, faded at the given ends by (i + 1) / (ASize + 1).
void dxBarBuildShadowImage(TBitmap* ABitmap, int AWidth, int AHeight, bool AVertical, TdxBarShadowPartEnds AFadedEnds,
                           int ASize);

// ---------------------------------------------------------------------------
// TdxBarShadowPart: one strip window, owned by the bar window's window, click-through.

class TdxBarShadowPart : public TCustomControl {
  DECLARE_CLASS(TdxBarShadowPart, TCustomControl)
public:
  TdxBarShadowPart(TdxBarShadow* AShadow, const TdxBarShadowPartInfo& AInfo, bool ALayered);
  ~TdxBarShadowPart() override;
  TdxBarShadowPart(const TdxBarShadowPart&) = delete;
  TdxBarShadowPart& operator=(const TdxBarShadowPart&) = delete;

  TdxBarShadow* GetShadow() const { return FShadow; }
  bool GetVertical() const { return FVertical; }
  TdxBarShadowPartEnds GetFadedEnds() const { return FFadedEnds; }
  bool GetLayered() const { return FLayered; }
  // The layered image (built on first show); nil for an opaque part.
  TBitmap* GetBitmap() const { return FBitmap; }

  // Puts the image on the screen (layered), places the strip right behind the bar window
  // in z order and shows it without activating it. The strip has the bar window's owner, so
  // that it can lie behind the bar and follows the bar's owner as the bar does.
  void ShowNextToBar();
  void HidePart();

protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void Paint() override;

private:
  void UpdateLayeredImage();

  TdxBarShadow* FShadow;
  TdxBarShadowPartEnds FFadedEnds;
  bool FVertical;
  bool FLayered;
  TBitmap* FBitmap = nullptr;
};

// ---------------------------------------------------------------------------
// TdxBarShadow

class TdxBarShadow : public TObject {
  DECLARE_CLASS(TdxBarShadow, TObject)
public:
  using TFactoryOwner = TCustomdxBarControl;
  explicit TdxBarShadow(TCustomdxBarControl* ABarControl);
  ~TdxBarShadow() override;
  TdxBarShadow(const TdxBarShadow&) = delete;
  TdxBarShadow& operator=(const TdxBarShadow&) = delete;

  TCustomdxBarControl* GetBarControl() const { return FBarControl; }
  // The bar window calls this after each size or position change, with the rectangle of
  // the item that opened it (empty when none) and its own window rectangle, both in
  // screen coordinates. A change rebuilds the parts; the same rectangles again only put
  // the shown parts back behind the window.
  void SetRectangles(const TRect& AOwnerRect, const TRect& AWindowRect);
  // Frees the parts and makes them again for the current rectangles (shown when visible).
  void Rebuild();
  // The bar window goes: its strips, which it does not own, go with it; the next rectangles
  // make them again.
  void ReleaseParts();
  // Shows or hides every part; nothing happens when the flag does not change.
  void SetVisible(bool Value);
  bool GetVisible() const { return FVisible; }

  // The opening and window rectangles, the window's exchanged with the item's when the
  // item lies below or to the right of it (so the first is above or left of the second).
  const TRect& GetOwnerRect() const { return FOwnerRect; }
  const TRect& GetWindowRect() const { return FWindowRect; }
  // True for no opening item or one above or below the window.
  bool GetVertical() const { return FVertical; }
  // The width the parts were last built with (4 layered, 2 opaque).
  int GetSize() const { return FSize; }
  bool GetLayered() const { return FLayered; }
  int GetPartCount() const { return int(FParts.size()); }
  TdxBarShadowPart* GetPart(int Index) const;

private:
  void FreeParts();
  bool IsBarTopMost() const;
  friend class TdxBarShadowPart;

  TCustomdxBarControl* FBarControl;
  std::vector<TdxBarShadowPart*> FParts;
  TRect FOwnerRect{};
  TRect FWindowRect{};
  // What the caller gave, kept to tell a real change from a repeat.
  TRect FGivenOwnerRect{};
  TRect FGivenWindowRect{};
  bool FHasRectangles = false;
  bool FVertical = true;
  bool FVisible = false;
  bool FLayered = false;
  int FSize = dxBarOpaqueShadowSize;
};
