// The draw parameters of an item control: the plain state an item control fills before it
// draws and the painter reads (caption, bar kind, image-size kind, view parts, states),
// so that painters never reach into the control for what it already measured.
#pragma once

#include <vector>

#include "bars/model/itemtypes.h"
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
  // The values item controls use (bars/itemcontrols/itemcontrol.h): bar kind bkHorizontal, bkMenu or
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

// === Edit-like controls =================================================================
class TdxBarEditLikeControlDrawParams;

// What an edit-like control (edit, combo, spin edit) does itself between the painter's
// steps of DrawEditControl, and the values of its edit style. The edit controls implement
// it; the painter reaches it through the draw params.
class IdxBarEditLikeControl {
public:
  virtual ~IdxBarEditLikeControl() = default;
  // The border of the text part (the painter's DrawEditBorder) and whatever else the kind
  // of control draws around it.
  virtual void DrawParts(const TdxBarEditLikeControlDrawParams* AParams) = 0;
  // The text part: the editor window placed on it, or the text drawn by the painter.
  virtual void DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams) = 0;
  // The item's text in the canvas's font and colours, clipped to R.
  virtual void DrawInterior(TcxCanvas* ACanvas, const TRect& R) = 0;
  // The caption area's brush: the window's highlight brush when selected in a menu.
  virtual HBRUSH GetCaptionAreaBrush() const = 0;
  // The edit style's colour and text colour; clDefault lets the painter choose.
  virtual TColor GetEditStyleColor() const { return clDefault; }
  virtual TColor GetEditStyleTextColor() const { return clDefault; }
};

// A combo's entries as DrawComboItem reads them: its Text and its Items.
class IdxBarComboItems {
public:
  virtual ~IdxBarComboItems() = default;
  virtual String GetComboText() const = 0;
  virtual int GetComboItemCount() const = 0;
  virtual String GetComboItem(int AIndex) const = 0;
};

// Parts of an edit-like control, as CalcEditParts and CalcComboParts lay them out: the
// caption part (glyph and caption), the edit (its border included), the combo's button.
enum : int { dxBarEditPartCaption = 0, dxBarEditPartText = 1, dxBarComboPartButton = 2 };

// What edits, combos and spin edits add for the painter.
class TdxBarEditLikeControlDrawParams : public TdxBarItemControlDrawParams {
  DECLARE_CLASS(TdxBarEditLikeControlDrawParams, TdxBarItemControlDrawParams)
public:
  using TdxBarItemControlDrawParams::TdxBarItemControlDrawParams;
  void Assign(const TdxBarItemControlDrawParams* ASource) override;

  IdxBarEditLikeControl* EditControl = nullptr;  // nil: the painter draws only its own steps
  bool Focused = false;                          // the in-place editor is open
  bool PainterDrawsText = true;                  // no editor window covers the text
  bool DroppedDown = false;                      // a combo's list is open
  int GlyphWidth = 0;                            // the glyph part (0 without one)
  int CaptionWidth = 0;                          // the caption part, its margins included
  int CaptionTextWidth = 0;                      // the caption text alone
  int ButtonWidth = 0;                           // a combo's drop-down button
  TRect EditRect{};                              // the control's edit rectangle (GetEditRect)
  std::vector<TRect> Parts;                      // the last CalcEditParts / CalcComboParts
  String Text;                                   // the text shown when the painter draws it
};

// The colour combo's custom-colour button, after the combo's parts.
enum : int { dxBarColorComboPartCustomButton = 3 };

// What the colour combo adds: its colour, and its custom-colour button.
class TdxBarColorComboControlDrawParams : public TdxBarEditLikeControlDrawParams {
  DECLARE_CLASS(TdxBarColorComboControlDrawParams, TdxBarEditLikeControlDrawParams)
public:
  using TdxBarEditLikeControlDrawParams::TdxBarEditLikeControlDrawParams;
  void Assign(const TdxBarItemControlDrawParams* ASource) override;

  bool ShowCustomColorButton = false;
  bool CustomColorButtonPressed = false;
  TColor Color = clNone;  // the sample's colour; clNone: no sample
};

// The alignment of an item's text (DrawItemText and the statics).
enum TdxBarTextAlignment : int { dxBarTextAlignLeft = 0, dxBarTextAlignCenter = 1, dxBarTextAlignRight = 2 };

// === Statics and progress bars ===========================================================
// The border a static item draws around its content.
enum TdxBarStaticBorderStyle { sbsNone, sbsLowered, sbsRaised, sbsEtched, sbsBump };
DECLARE_ENUM_INFO(TdxBarStaticBorderStyle)

// What static texts and progress bars add for the painter.
class TdxBarStaticLikeControlDrawParams : public TdxBarItemControlDrawParams {
  DECLARE_CLASS(TdxBarStaticLikeControlDrawParams, TdxBarItemControlDrawParams)
public:
  using TdxBarItemControlDrawParams::TdxBarItemControlDrawParams;
  void Assign(const TdxBarItemControlDrawParams* ASource) override;

  TdxBarTextAlignment Alignment = dxBarTextAlignLeft;
  TdxBarStaticBorderStyle BorderStyle = sbsNone;
  int LeftIndent = 0;        // filled with the bar's edit brush before the content
  int RightIndent = 0;       // ... and after it
  bool HasOwnBrush = false;  // the control paints with a brush of its own
  // Progress bars.
  int Min = 0;
  int Max = 100;
  int Position = 0;
  bool Smooth = false;
  TColor Color = clDefault;  // the fill; clDefault: the painter's GetProgressBarColor
};
