// The draw parameters of an item control: the plain state an item control fills before it
// draws and the painter reads (caption, bar kind, image-size kind, view parts, states),
// so that painters never reach into the control for what it already measured.
#pragma once

#include "bars/itemtypes.h"
#include "platform/GraphicsObjects.h"
#include "platform/System.h"

class TcxCanvas;
class TdxBarItemControl;

// The state flags the glyph and background operations take, in their fixed order. The
// first (Pressed) decides how the others are read: a pressed glyph is framed as pressed,
// and its background is drawn when any of the other three is set.
struct TdxBarItemStateFlags {
  bool Pressed = false;      // held by the mouse, or a click in progress
  bool Down = false;         // the button's Down
  bool Selected = false;     // painted selected (hot)
  bool DroppedDown = false;  // its drop-down is open
  bool GlyphColumn = false;  // the glyph is drawn in a menu's glyph column
  bool Any() const { return Pressed || Down || Selected || DroppedDown; }
};

class TdxBarItemControlDrawParams : public TObject {
  DECLARE_CLASS(TdxBarItemControlDrawParams, TObject)
public:
  // Built through the class the item control names for its draw params.
  using TFactoryOwner = TdxBarItemControl;
  explicit TdxBarItemControlDrawParams(TdxBarItemControl* AItemControl = nullptr) : ItemControl(AItemControl) {}

  // Copies every field (a control keeps a snapshot while it redraws a part).
  virtual void Assign(const TdxBarItemControlDrawParams* ASource);

  // The bar kind is a menu / a vertical toolbar; the glyph / caption part is shown.
  bool IsMenu() const;
  bool IsVertical() const;
  bool HasGlyphPart() const;
  bool HasCaptionPart() const;

  TdxBarItemControl* ItemControl = nullptr;
  TcxCanvas* Canvas = nullptr;
  String Caption;
  String Description;
  String ShortCut;  // the shortcut as text; empty for none
  // The values item controls use (bars/itemcontrol.h): bar kind bkHorizontal, bkMenu or
  // bkVertical; image-size kind isSmall, isLargeIcons or isLarge; view parts ivp* bits.
  int BarControlKind = 0;
  int ViewSize = 0;
  int ViewParts = 0;
  TSize GlyphSize{};  // the glyph area (painter's GetImageSize)
  int TextHeight = 0;
  bool Enabled = true;
  bool CanSelect = true;
  bool IsSelected = false;       // the control is its bar's selected control
  bool PaintedSelected = false;  // selected, and not merely by the bar's keyboard walk
  bool IsDropDown = false;
  bool IsCustomizing = false;
  int HotPartIndex = -1;      // -1 outside, dxBarHotPartBorder on no part
  int PressedPartIndex = -1;  // the part held by the mouse (a spin button); -1 for none
  // The menu shows the Description below the caption (large items with descriptions on);
  // controls on links also answer it themselves (IsDescriptionVisible).
  bool DescriptionVisible = false;
  TdxBarItemStateFlags States;
};

// === Button-like controls ===============================================================
// What buttons, sub items on toolbars and large buttons add for DrawButtonLikeControl. The
// base States carry pressed (held or clicking), Down, selected and dropped down as drawn.
class TdxBarButtonLikeControlDrawParams : public TdxBarItemControlDrawParams {
  DECLARE_CLASS(TdxBarButtonLikeControlDrawParams, TdxBarItemControlDrawParams)
public:
  using TdxBarItemControlDrawParams::TdxBarItemControlDrawParams;
  void Assign(const TdxBarItemControlDrawParams* ASource) override;

  int ArrowWidth = 0;    // the drop-down arrow part's width
  int BarArrowSize = 0;  // the arrow size of a menu window
  bool IsSplit = false;  // the arrow is a part of its own (buttons)
  bool DropDownEnabled = true;
  bool CaptionDrawnSelected = false;
  bool CaptionInFlatSelection = false;
  bool Lowered = false;
  bool PaintsDroppedDown = false;  // the painter draws a dropped-down state of its own
  bool GrayScale = false;          // the glyph is drawn grey (large buttons' AutoGrayScale)
  int GlyphLayout = glTop;         // a TdxBarGlyphLayout; large images only
};
