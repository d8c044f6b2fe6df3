// The painters of bars and menus: TdxBarPainter declares every metric, colour, brush and
// drawing operation the bar windows, menus, dock sites and item controls ask for, with the
// base answers; the five kinds a manager chooses from its style derive from it. Painters
// keep no state: each call works from its arguments, system metrics and system colours.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "bars/barwindows/drawparams.h"
#include "bars/painters/painter_metrics.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxLookAndFeelPainters.h"
#include "lookandfeel/dxThemeManager.h"
#include "platform/GraphicsObjects.h"
#include "platform/System.h"

class TcxCanvas;
class TcxLookAndFeel;
class TCustomdxBarControl;
class TdxBar;
class TdxBarItemControl;
class TdxBarManager;
class TdxBarCustomHintViewInfo;
class TWinControl;

// How DrawItemText draws a caption.
struct TdxBarItemTextFlags {
  bool Enabled = true;
  bool Selected = false;       // in the selected item's colours
  bool Vertical = false;       // turned for a vertical toolbar (the DC holds the turned font)
  bool Clipped = false;        // cut at the rectangle
  bool FlatSelection = false;  // the selection is light enough for the normal text colours
};
// The looks of an MDI child's caption buttons on the main menu bar: Down is held with the
// pointer away, Pressed held under it.
enum class TdxBarMDIButtonState : int { Normal, Disabled, Hot, Down, Pressed };
// The parts of a button-like control: the face, then the arrow of a drop-down control.
enum : int { dxBarButtonPartFace = 0, dxBarButtonPartArrow = 1 };

// A brush value that stands for a system colour's brush (never deleted).
inline HBRUSH dxBarSysColorBrush(int ASysColorIndex)
{
  return HBRUSH(uintptr_t(ASysColorIndex + 1));
}

// A brush value for the GDI calls that take no system colour index + 1 (FrameRect): such
// a value becomes that colour's system brush.
inline HBRUSH dxBarRealBrush(HBRUSH ABrush)
{
  uintptr_t value = uintptr_t(ABrush);
  return value > 0 && value <= uintptr_t(COLOR_MENUBAR + 1) ? GetSysColorBrush(int(value - 1)) : ABrush;
}

// The check mark's stroke, one pixel deep, ARow rows below P: down to the elbow, then up
// to the right; the pen leaves out the end point, so the last point lies one beyond.
inline std::array<POINT, 3> CheckMarkStroke(const TPoint& P, int AScale, int ARow)
{
  int y = P.y + ARow;
  return {POINT{P.x, y + 2 * AScale}, POINT{P.x + 3 * AScale, y + 5 * AScale}, POINT{P.x + 8 * AScale + 1, y - 1}};
}

// The stateless drawing and metrics strategy of bars and menus. Bar windows, menus, dock
// sites and item controls are read only through their virtual queries and the draw
// params. Operations whose drawing the kinds supply answer neutrally here (nothing drawn,
// False, 0 or an empty rectangle).
class TdxBarPainter : public TObject {
  DECLARE_CLASS(TdxBarPainter, TObject)
public:
  TdxBarPainter() = default;

  // The kind's fixed sizes; the getters below read them.
  virtual const TdxBarPainterMetrics& Metrics() const { return dxBarPainterMetrics; }

  // --- The painter and general queries.
  // A toolbar draws its background before its items (the base draws it after them into
  // the remaining area).
  virtual bool IsBackgroundDrawnFirst() const { return false; }
  virtual bool IsLargeIconsSupported() const { return true; }
  // The manager's MakeDisabledImagesFaded.
  virtual bool IsFadedDisabledImages(const TCustomdxBarControl* ABarControl) const;
  virtual bool AreIdleGlyphsFaded() const { return false; }
  virtual bool AreHotGlyphsShadowed() const { return false; }
  // The system colour index of a floating caption's background.
  virtual int GetSysColorByIndex(const TCustomdxBarControl* ABarControl, bool AActive) const;
  virtual TColor GetCaptionTextColor(const TCustomdxBarControl* ABarControl) const;
  virtual TColor GetCaptionButtonGlyphColor(const TCustomdxBarControl* ABarControl, TdxBarMarkState AState) const;
  // Pressed buttons keep their content in place and are not drawn sunken; a dropped-down
  // button has a look of its own.
  virtual bool IsFlatStyle() const { return false; }
  // IsFlatStyle, and the button face is not white (high contrast): the selection is light
  // enough for the normal text colours.
  virtual bool IsFlatSelection() const;
  // A down and held control keeps its content still instead of moving it a second pixel.
  virtual bool IsFlatPressedContent() const { return false; }
  // Sets the look-and-feel from the manager's effective style.
  virtual void InitLookAndFeel(const TdxBarManager* AManager, TcxLookAndFeel* ALookAndFeel) const;

  // --- Text and its colours.
  virtual TColor GetTextColor(const TdxBarItemControl* AControl, bool ASelected, bool AFlatSelection) const;
  virtual void GetDisabledTextColors(const TdxBarItemControl* AControl, bool ASelected, bool AFlatSelection,
                                     TColor& ATextColor, TColor& AEmbossColor) const;
  virtual TColor GetItemTextColor(const TdxBarItemControl* AControl, bool ASelected, bool AFlatSelection) const;
  // The text colour when IsArrowColorFromText, else clDefault (the arrow routine chooses).
  virtual TColor GetArrowColor(const TdxBarItemControlDrawParams* ADrawParams) const;
  virtual bool IsArrowColorFromText() const { return false; }
  // The caption's colour and its emboss colour; equal colours mean one pass.
  virtual void GetTextColors(const TdxBarItemControl* AControl, bool AEnabled, bool ASelected, bool AFlatSelection,
                             TColor& ATextColor, TColor& AEmbossColor) const;
  // Half the bar font's pixel height, toward zero; whatever the sign of the font height.
  virtual int GetSubItemCaptionMargin(const TdxBarItemControl* AControl) const;
  // The height of "Wg" in the canvas font + 6.
  virtual int GetTextHeight(TcxCanvas* ACanvas) const;
  virtual void DrawItemText(const TdxBarItemControl* AControl, HDC DC, const String& AText, const TRect& R,
                            TdxBarTextAlignment AAlignment, const TdxBarItemTextFlags& AFlags, UINT AFormat) const;
  // Space between glyph and caption on a toolbar (left only).
  virtual TRect GetCaptionOffsets() const { return Metrics().CaptionOffsets; }
  virtual TRect CalcTextRectForLines(TcxCanvas* ACanvas, const String& AText, int ALineCount) const;

  // --- Glyphs and check marks.
  virtual void DrawGlyphFrame(const TdxBarItemControl* AControl, HDC DC, const TdxBarItemStateFlags& AStates,
                              const TRect& AGlyphRect, HBRUSH ABrush) const
  {
  }
  // A check mark 9 x 7 times AScale with its top-left at P.
  virtual void DrawCheckMark(HDC DC, const TPoint& P, int AScale, bool AEnabled) const {}
  // Only a down item in a menu shows it: scale 2 with a bar font above 15 points.
  virtual void DrawCheckMarkInRect(const TdxBarItemControl* AControl, HDC DC, const TRect& R, bool ADown, int ABarKind,
                                   bool AEnabled = true) const;
  virtual TRect CalcGlyphRect(const TdxBarItemControlDrawParams* ADrawParams, const TSize& AGlyphSize,
                              const TRect& AContentRect, int AGlyphLayout) const;
  virtual void DrawGlyph(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TdxBarItemStateFlags& AStates,
                         int AImageSizeKind, const TRect& AFrameRect, const TRect& AContentRect,
                         TRect& AGlyphRect) const;
  // Background, frame and image (or check mark) of one glyph: the background and frame on
  // AFrameRect, the image in AGlyphRect. Without an image (AHasImage false) a down menu item
  // gets its check mark; AGlyphRect empty means no glyph part at all.
  virtual void DrawGlyphImage(const TdxBarItemControlDrawParams* ADrawParams, HDC DC,
                              const TdxBarItemStateFlags& AStates, int AImageSizeKind, const TRect& AFrameRect,
                              const TRect& AGlyphRect, bool AHasImage) const;
  // The image itself, in the drawing mode the states and the painter's answers give.
  virtual void DrawItemGlyph(const TdxBarItemControlDrawParams* ADrawParams, HDC DC,
                             const TdxBarItemStateFlags& AStates, int AImageSizeKind, const TRect& AGlyphRect,
                             HBRUSH ABrush) const;
  virtual HBRUSH GetGlyphBackgroundBrush(const TdxBarItemControl* AControl, const TdxBarItemStateFlags& AStates) const;
  virtual bool IsGlyphBackgroundDrawn(const TdxBarItemControl* AControl, const TdxBarItemStateFlags& AStates) const;
  virtual bool IsGlyphDrawnWithoutBackground(const TdxBarItemControl* AControl) const;
  // The painter draws through visual-style themes (size grips and status bars too).
  virtual bool IsNativeStyle() const { return false; }
  // The glyph frame (a themed or filled cell) goes under the image rather than over it.
  // A frame that fills must go first, or it would cover the image: the base keys it on
  // IsNativeStyle, the kinds whose frames fill answer True.
  virtual bool IsGlyphFrameDrawnFirst() const { return IsNativeStyle(); }
  virtual int GetGlyphWidthIndent() const { return Metrics().GlyphWidthIndent; }
  virtual int GetGlyphHeightIndent() const { return Metrics().GlyphHeightIndent; }
  int GetGlyphAreaWidth(int AValue) const { return AValue + GetGlyphWidthIndent(); }
  int GetGlyphAreaHeight(int AValue) const { return AValue + GetGlyphHeightIndent(); }
  // The glyph area of an icon size, which item controls keep in their draw params.
  virtual TSize GetImageSize(int AIconSize, int ATextHeight) const;
  // Offsets of a glyph in the pressed and in the down state.
  virtual TPoint GetPressedGlyphOffset() const { return Metrics().PressedGlyphOffset; }
  virtual TPoint GetDownGlyphOffset() const { return Metrics().DownGlyphOffset; }

  // --- Arrows.
  virtual void DrawArrow(HDC DC, const TRect& R, TcxArrowDirection ADirection, TColor AColor, bool AEnabled,
                         bool ASelected) const;
  virtual void DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection ADirection, TColor AColor, bool AEnabled,
                              bool ASelected, int ASize) const;
  // The manager's ButtonArrowWidth, doubled with LargeIcons, made odd.
  virtual int GetButtonArrowWidth(const TdxBarManager* AManager) const;
  virtual int GetLargeButtonArrowWidth(const TdxBarManager* AManager) const;

  // --- Buttons, sub items on toolbars and large buttons.
  // Part 0 the face; for a drop-down control part 1 the arrow, AArrowWidth wide at the
  // item's right edge.
  virtual void CalcButtonLikeControlParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& AItemRect,
                                          int AArrowWidth, std::vector<TRect>& AParts) const;
  // A sunken outer edge on all sides; R shrinks by 1.
  virtual void DrawLoweredBorder(HDC DC, TRect& R) const;
  virtual TRect GetButtonContentMargins() const { return Metrics().ButtonContentMargins; }
  virtual int GetLoweredBorderWidth() const { return Metrics().LoweredBorderWidth; }
  // In a menu the menu's text height + 1, else 0.
  virtual int GetItemIndent(const TdxBarItemControl* AControl) const;
  virtual void GetButtonTextRect(const TdxBarItemControlDrawParams* ADrawParams, const TRect& AContentRect,
                                 const TRect& AGlyphRect, TRect& ATextRect, TdxBarTextAlignment& AAlignment) const;
  // Moves pressed or down content by a pixel (two for both) unless the look is flat.
  virtual void ShiftPressedContent(bool ADown, bool APressed, TRect& R) const;
  virtual void ShiftPressedArrow(TRect& R, bool APressed) const;
  // A control whose small caption stays put while the glyph moves with the pressed state.
  virtual bool IsPressedTextFixed() const { return false; }
  virtual void DrawButtonLikeControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawButtonLikeControlCaption(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawButtonCaption(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                 TdxBarTextAlignment AAlignment) const;
  virtual void DrawButtonArrowGlyph(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                    HBRUSH ABrush) const;
  virtual void DrawButtonArrowPart(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawDropDownArrow(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual HBRUSH GetButtonBackgroundBrush(const TdxBarItemControlDrawParams* ADrawParams) const;
  // The control is active, or the look is flat and it is pressed or selected.
  virtual bool IsButtonBackgroundDrawn(const TdxBarItemControlDrawParams* ADrawParams) const;
  // The arrow of a split button is drawn selected: the face is selected and not held.
  virtual bool IsButtonPressedDrawn(const TdxBarItemControlDrawParams* ADrawParams) const;
  virtual int GetMenuItemHeightDelta(const TdxBarItemControl* AControl, int AValue) const
  {
    return AValue + Metrics().MenuItemHeightDelta;
  }
  virtual int GetMenuItemWidthDelta(const TdxBarItemControl* AControl, int AValue) const
  {
    return AValue + Metrics().MenuItemWidthDelta;
  }

  // --- Bar windows: frames, backgrounds, captions, marks and size grips.
  // Fills the client rectangle through the window's background filling.
  virtual void DrawBarBackground(const TCustomdxBarControl* ABarControl, HDC DC) const;
  // The window rectangle less the sizing frame, as high as a small caption.
  virtual TRect GetCaptionRect(const TRect& AWindowRect) const;
  // The non-client border widths of a bar (ADockingStyle: a TdxBarDockingStyle value).
  virtual TRect GetBarBorders(const TdxBar* ABar, int ADockingStyle, bool ASizeGrip) const;
  // What a kind adds on each side of a floating bar's frame.
  virtual TRect GetFloatingBarExtraBorders(const TCustomdxBarControl* ABarControl) const
  {
    return Metrics().FloatingBarExtraBorders;
  }
  virtual int GetSizingFrameWidth() const;
  virtual int GetSizingFrameHeight() const;
  virtual int GetDragHandleSize(const TdxBar* ABar) const { return Metrics().DragHandleSize; }
  virtual int GetDragHandleSizeEx(const TdxBar* ABar) const { return Metrics().DragHandleSizeEx; }
  // The drag handle's distance from the bar's edge.
  virtual int GetDragHandleOffset() const { return Metrics().DragHandleOffset; }
  virtual HBRUSH GetToolbarBackgroundBrush(const TCustomdxBarControl* ABarControl) const;
  virtual HBRUSH GetBackgroundBrush(const TCustomdxBarControl* ABarControl) const;
  // The library's shared checker brush (never deleted).
  virtual HBRUSH GetCheckerBrush(const TCustomdxBarControl* ABarControl) const;
  virtual HBRUSH GetFaceBrush(const TCustomdxBarControl* ABarControl) const;
  virtual HBRUSH GetHighlightBrush(const TCustomdxBarControl* ABarControl) const;
  // From the width / height of the text "0" in the bar font.
  virtual int GetDefaultItemWidth(const TCustomdxBarControl* ABarControl, int AZeroWidth) const;
  virtual int GetDefaultItemHeight(const TCustomdxBarControl* ABarControl, int AZeroHeight) const;
  virtual int GetToolbarSeparatorOffset() const { return Metrics().ToolbarSeparatorOffset; }
  virtual int GetToolbarSeparatorSize() const { return Metrics().ToolbarSeparatorSize; }
  virtual int GetBarBorderWidth() const { return Metrics().BarBorderWidth; }
  virtual TRect GetBarBorderRect() const;
  virtual TRect GetDockedBarBorders(const TCustomdxBarControl* ABarControl) const { return Metrics().DockedBarBorders; }
  virtual int GetCaptionHeight() const { return GetSmallCaptionHeight() + 1; }
  // The system's small caption height (non-client metrics).
  virtual int GetSmallCaptionHeight() const;
  virtual TSize GetCaptionButtonSize() const;
  // The floating caption is a gradient (its text is then drawn transparent).
  virtual bool IsGradientCaption() const { return false; }
  virtual void DrawToolbarBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                     HBRUSH ABrush) const;
  // Toolbars ask DrawToolbarBackground for every fill of their own background (gradient
  // looks); otherwise they fill it with their background brush.
  virtual bool IsToolbarBackgroundPainted() const { return false; }
  virtual void DrawDockedBarBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  virtual void DrawStatusBarBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                       HBRUSH ABrush) const;
  virtual void DrawToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush,
                                    bool AHorizontal) const;
  // The border and drag handle of a docked bar; the frame of a floating one.
  virtual void DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const {}
  virtual void DrawFloatingBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const {}
  virtual void DrawBarCaption(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush) const;
  virtual void DrawCaptionBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  virtual int GetCaptionTextLeft(const TCustomdxBarControl* ABarControl, const TRect& ACaptionRect) const;
  virtual void DrawCaptionButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                 TdxBarMarkState AState) const;
  // The close button's glyph on its background: a plain cross in the caption button glyph
  // colour; the kinds draw their own.
  virtual void DrawCaptionCloseButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                      TdxBarMarkState AState) const;
  virtual void DrawCaptionButtonArrow(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  virtual void DrawCaptionMark(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  // The minimize, restore and close buttons of an MDI child on the main menu bar.
  virtual void DrawMDIButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, int AButton,
                             TdxBarMDIButtonState AState) const
  {
  }
  virtual void DrawMark(const TCustomdxBarControl* ABarControl, TcxCanvas* ACanvas, const TRect& R) const;
  virtual void DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush) const
  {
  }
  virtual void DrawMarkContent(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  virtual void DrawMarkChevron(const TCustomdxBarControl* ABarControl, HDC DC, int X, int Y, bool AVertical) const;
  virtual int GetMarkArrowColorIndex(const TCustomdxBarControl* ABarControl) const;
  virtual void DrawSelectionFrame(const TdxBarItemControl* AControl, HDC DC, const TRect& R) const {}
  virtual void DrawSizeGrip(HDC DC, const TRect& R) const;
  virtual void DrawFloatingSizeGrip(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  virtual void DrawStatusBarTopIndent(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  virtual TRect GetMarkRect(const TCustomdxBarControl* ABarControl) const;
  virtual TRect CalcMarkRect(const TCustomdxBarControl* ABarControl) const;
  virtual bool IsMarkArrowDrawn() const { return true; }
  // The rectangle is at most 16 high.
  virtual bool IsSmallMark(const TRect& R) const;
  // Mouse moves make the mark hot.
  virtual bool IsMarkTracked() const { return false; }
  // Whether the mark's popup opens to the right; AToolbarSays is the toolbar's own answer.
  virtual bool IsQuickControlOpeningRight(const TCustomdxBarControl* ABarControl, bool AToolbarSays) const
  {
    return AToolbarSays;
  }
  // 0: the window's own hit test stands.
  virtual int GetHitTestCode(const TCustomdxBarControl* ABarControl, const TPoint& P) const { return 0; }
  // The close button of a floating caption answers HTCLOSE rather than HTCLIENT.
  virtual bool IsCloseButtonHitCodeUsed() const { return false; }
  virtual TRect GetStatusBarBorders() const { return Metrics().StatusBarBorders; }
  virtual int GetStatusBarTopIndent() const { return Metrics().StatusBarTopIndent; }
  virtual TSize GetSizeGripSize() const;
  virtual TRect GetItemControlMargins() const { return Metrics().ItemControlMargins; }
  // Dock sites: the docking-area background and the space between rows.
  virtual void DrawDockingAreaBackground(TWinControl* ADockControl, HDC DC, const TRect& R) const {}
  virtual int GetDockRowSpacing() const { return Metrics().DockRowSpacing; }
  // Drop shadows: whether the window casts one, and whether a menu's shadow runs on
  // around the item that opened it.
  virtual bool IsShadowShown(const TCustomdxBarControl* ABarControl) const { return false; }
  virtual bool IsCombinedOutlineDrawn() const { return false; }

  // --- Menus.
  virtual int GetMenuSeparatorSize() const { return Metrics().MenuSeparatorSize; }
  virtual int GetMenuFrameSize() const { return GetMenuSideIndent() + GetMenuBorderSize(); }
  virtual int GetMenuSideIndent() const { return Metrics().MenuSideIndent; }
  virtual int GetMenuBorderSize() const { return Metrics().MenuBorderSize; }
  virtual TRect GetMenuBorders(const TCustomdxBarControl* AMenu) const;
  // Half the menu font's "Qq" height raised to odd, + 3.
  virtual int GetDetachStripHeight(const TCustomdxBarControl* AMenu) const;
  virtual int GetScrollButtonArrowSize(int AHeight) const { return (AHeight - 6) / 2; }
  virtual int GetMenuButtonHeight() const { return Metrics().MenuButtonHeight; }
  // The personalised menu's expand button; a look with taller chevrons makes it taller.
  virtual int GetExpandButtonHeight() const { return GetMenuButtonHeight(); }
  // The menu's text height from the height of "0" in its font: that + 1, corrected so
  // that the scroll-button arrow size comes out even.
  virtual int CalcMenuTextHeight(int ADigitHeight) const;
  virtual int GetMenuArrowWidth(int AValue) const { return (AValue / 4) * 3 + 1; }
  virtual int GetMenuCaptionIndent(const TCustomdxBarControl* AMenu) const;
  // The glyph column of an item: R with its right edge at left + the column width.
  virtual TRect GetMenuGlyphRect(const TCustomdxBarControl* AMenu, const TRect& R) const;
  virtual TRect GetMenuCaptionRect(const TCustomdxBarControl* AMenu, const TRect& R) const;
  // What the caption rectangle grows by vertically.
  virtual int GetMenuCaptionInset() const { return Metrics().MenuCaptionInset; }
  // The separator above an item whose group begins at AItemRect's top.
  virtual TRect GetSeparatorRect(const TdxBarItemControl* AControl, const TRect& AItemRect) const;
  virtual int GetMenuSeparatorHeight() const { return Metrics().MenuSeparatorHeight; }
  virtual int GetMenuSeparatorIndent() const { return Metrics().MenuSeparatorIndent; }
  virtual int GetScrollButtonHeight(const TCustomdxBarControl* AMenu) const;
  virtual int GetScrollArrowSize(int AHeight) const { return AHeight / 3 - 1; }
  virtual TRect GetScrollButtonRect(const TCustomdxBarControl* AMenu, const TRect& AItemArea, bool ADown) const;
  // Scroll buttons take space of their own instead of an item's place; their size then.
  virtual bool AreScrollButtonsSeparate() const { return false; }
  virtual int GetScrollButtonSize() const { return Metrics().ScrollButtonSize; }
  virtual bool IsTearOffSupported() const { return true; }
  // Less-used items of personalised menus: an extra pixel at their edges, and the brush.
  virtual bool IsLessUsedEdgePixelAdded() const { return false; }
  virtual HBRUSH GetLessUsedBrush(const TCustomdxBarControl* AMenu) const;
  // The height one menu item has in the application menu's proportions.
  virtual int GetDefaultMenuItemHeight() const { return Metrics().DefaultMenuItemHeight; }
  // The non-client frame (window rectangle R): button face at the left and top, a raised
  // outer edge at the right and bottom; a detachable menu's tear-off strip below the top.
  virtual void DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const;
  // The client area: a raised inner edge (starting 2 higher on a detachable menu, so it runs
  // on into the strip's frame), then the background inside.
  virtual void DrawMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush) const;
  // The manager's SubMenu background bitmap tiled, else ABrush.
  virtual void FillMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush) const;
  virtual void DrawMenuItemBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const {}
  // The tear-off strip in the caption colour of the menu's active state.
  virtual void DrawDetachStrip(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, bool AHot) const;
  // Where DrawMenuFrame puts the tear-off strip in the window rectangle R; the hot strip is
  // drawn there too, so it never covers the frame around it.
  virtual TRect GetDetachStripBounds(const TCustomdxBarControl* AMenu, const TRect& R) const;
  // The gap above a link that begins a group: the background, then the line at its middle.
  virtual void DrawMenuSeparator(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& R,
                                 const TdxBarItemControl* AControl) const;
  // An etched line along R's top.
  virtual void DrawMenuSeparatorLine(TcxCanvas* ACanvas, const TRect& R) const;
  // The same line standing upright, down R's left side.
  virtual void DrawMenuSeparatorLineVertical(TcxCanvas* ACanvas, const TRect& R) const;
  // What sets an application menu's extra pane and button row off from its items (client
  // coordinates; an empty rectangle has none): the menu's separator line down the pane's left
  // side and along the top of the row's band, drawn inside AClip only.
  virtual void DrawApplicationMenuParts(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& AExtraPane,
                                        const TRect& AButtonRow, HRGN AClip) const;
  // The height of the rectangle DrawMenuSeparator gives the line.
  virtual int GetMenuSeparatorLineHeight() const { return 2; }
  // The background, the arrow and the kind's frame of a menu's scroll button.
  virtual void DrawScrollButton(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, bool ADown) const;
  virtual void DrawScrollButtonFrame(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& R) const {}
  // A triangle of GetScrollArrowSize (R's height) rows centred in R, in COLOR_BTNTEXT; each
  // row is one pixel wider on both sides, so odd widths come out symmetric.
  virtual void DrawScrollArrow(TcxCanvas* ACanvas, const TRect& R, bool ADown) const;
  // The expand button of a personalised menu, drawn off-screen and copied.
  virtual void DrawExpandButton(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& R,
                                bool ASelected) const;
  // Two chevrons pointing down, each of ASize one-pixel "V" lines, centred in R.
  virtual void DrawExpandChevrons(HDC DC, const TRect& R, int ASize, bool ASelected) const;
  // The menu's expand chevrons' size (GetScrollArrowSize of half the button).
  int GetExpandChevronSize(const TCustomdxBarControl* AMenu) const;
  // A menu item's background, glyph column, caption and shortcut.
  virtual void DrawGlyphAndCaption(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  // Runs first in DrawGlyphAndCaption.
  virtual void PrepareGlyphAndCaption(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const {}
  // The brush of the menu frame: button face, as its system colour index + 1.
  virtual HBRUSH GetMenuBorderBrush(const TCustomdxBarControl* AMenu) const;

  // --- Edits, combos, spin edits and window items.
  virtual void CalcComboParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                              std::vector<TRect>& AParts) const;
  virtual void CalcEditParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                             std::vector<TRect>& AParts) const;
  virtual void CalcSpinEditParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                 std::vector<TRect>& AParts) const;
  virtual TRect GetComboButtonRect(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  // The drop-down button of a combo: its background, the kind's frame, then the arrow.
  virtual void DrawComboButton(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawComboButtonFrame(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const {}
  // A down arrow of (button width div 4, made odd) in GetComboArrowColor.
  virtual void DrawComboArrow(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R) const;
  // clBtnText; clDefault (the arrow routine's disabled look) for a disabled control
  // outside the flat look.
  virtual TColor GetComboArrowColor(const TdxBarItemControlDrawParams* ADrawParams) const;
  virtual HBRUSH GetComboButtonBrush(const TdxBarItemControlDrawParams* ADrawParams) const
  {
    return GetButtonBackgroundBrush(ADrawParams);
  }
  virtual TRect GetComboButtonMargins() const { return Metrics().ComboButtonMargins; }
  // Between a combo's text part and its button.
  virtual int GetComboButtonGap() const { return Metrics().ComboButtonGap; }
  virtual TColor GetEditBackgroundColor() const;
  virtual TColor GetEditTextColor() const;
  virtual TColor GetDisabledEditTextColor() const;
  virtual void GetInPlaceEditColors(const TdxBarItemControl* AEditControl, TColor& ATextColor,
                                    TColor& ABackgroundColor) const;
  // The colour of the brush an edit's window is painted with.
  virtual TColor GetEditBrushColor(const TdxBarItemControlDrawParams* ADrawParams) const;
  // Window style bits the painter adds to an edit's "EDIT" window.
  virtual DWORD GetEditStyle() const { return 0; }
  // Glyphs are shown on edits; the painter draws an idle editor's window itself.
  virtual bool IsEditGlyphShown() const { return false; }
  virtual bool IsEditorDrawnByPainter() const { return false; }
  // Margins around an edit's caption and glyph parts (left and right).
  virtual int GetEditCaptionMargin() const { return Metrics().EditCaptionMargin; }
  virtual int GetEditGlyphMargin() const { return Metrics().EditGlyphMargin; }
  // Menu edits without a glyph part still draw their caption area.
  virtual bool IsMenuEditCaptionAreaDrawn() const { return false; }
  virtual void DrawEditControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawEditBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const;
  virtual void DrawEditCaption(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawEditCaptionText(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawEditGlyph(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawEditText(const TdxBarItemControl* AEditControl, TcxCanvas* ACanvas, const TRect& R) const;
  virtual void SetEditFormattingRect(const TdxBarItemControl* AEditControl, HWND AWnd) const;
  virtual void SelectEditText(const TdxBarItemControl* AEditControl, bool ATextChanged) const {}
  virtual TRect GetEditBorderMargins() const { return Metrics().EditBorderMargins; }
  virtual void DrawComboItem(const TdxBarItemControl* AComboControl, TcxCanvas* ACanvas, int AIndex,
                             const TRect& R) const;
  virtual void DrawWindowItemText(const TdxBarItemControl* AControl, TcxCanvas* ACanvas, const TRect& R) const;
  // The button column: the arrow width for the edit height, its padding and the margins.
  virtual int GetSpinButtonsWidth(const TdxBarItemControlDrawParams* ADrawParams, int AEditHeight) const;
  // A spin arrow for a button height: h = ((height div 2) - 2) div 2 high, 2h - 1 wide.
  virtual TSize GetSpinArrowSize(int AButtonHeight) const;
  virtual TRect GetSpinButtonMargins() const { return Metrics().SpinButtonMargins; }
  // Button AButton (dxBarSpinButtonUp or Down) in the column at the right of the edit
  // rectangle R; empty (at R's right edge) when half of R's height is ALimit or less.
  virtual TRect GetSpinButtonRect(const TRect& R, int AButton, int ALimit) const;
  // In the themes' numbering, which the themed painter draws with.
  virtual TdxBarThemeState GetSpinButtonState(const TdxBarItemControlDrawParams* ADrawParams, int AButton) const;
  // The column's background, then both buttons; R is the edit rectangle.
  virtual void DrawSpinButtons(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  // The kind's button background for the state, then the arrow (a pixel lower and to the
  // right when pressed).
  virtual void DrawSpinButton(const TdxBarItemControlDrawParams* ADrawParams, int AButton, const TRect& R) const;
  virtual void DrawSpinButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, int AButton, TRect& R) const {}
  // A filled triangle in R (its top-left and GetSpinArrowSize): COLOR_BTNTEXT, or
  // embossed in highlight and shadow when disabled.
  virtual void DrawSpinArrow(HDC DC, const TRect& R, bool AUp, bool AEnabled, bool ASelected) const;
  // The button column filled with the bar's edit brush.
  virtual void DrawSpinBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  // The colour combo's parts: the combo's, then its custom-colour button (part
  // dxBarColorComboPartCustomButton, empty unless shown) left of the drop-down button.
  virtual void CalcColorComboParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                   std::vector<TRect>& AParts) const;
  // Whether the colour combo shows its colour in a sample left of its text part.
  virtual bool IsColorSampleShown() const { return true; }
  // The sample's column: left is the room taken from the text part's left, top and bottom
  // the sample's inset from the text part's height, right the gap before the text part.
  virtual TRect GetColorSampleMargins(int ABarKind) const;
  // A frame in the shadow colour round the colour.
  virtual void DrawColorSample(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R, TColor AColor) const;
  // The custom-colour button: the combo button's background and frame with three dots.
  virtual void DrawColorComboButton(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  // The date navigator's header background and its "Today" / "Clear" buttons.
  virtual TColor GetDateNavigatorHeaderColor() const;
  // The border kind of a flat date navigator dropped down from this look's bars: 1 its flat
  // frame, 2 the flat looks' own (a line under the header, the selected day in the
  // manager's highlight colour).
  virtual int GetDateNavigatorBorderKind() const { return IsFlatStyle() ? 2 : 1; }
  // A push button, drawn pressed while the pointer holds it down over it.
  virtual void DrawDateNavigatorButton(HDC DC, const TRect& R, const String& AText, bool APressed, bool AHot) const
  {
    DrawPushButton(DC, R, false, AText, APressed && AHot);
  }

  // --- Statics, progress bars, separators, in-place sub items and containers.
  virtual TColor GetProgressBarColor() const;
  virtual int GetProgressBarHeight() const { return Metrics().ProgressBarHeight; }
  virtual int GetProgressExtraWidth() const { return Metrics().ProgressExtraWidth; }
  virtual void DrawProgressBar(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R, TColor AColor) const;
  virtual void DrawProgressBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void FillProgressRect(HDC DC, const TRect& R, HBRUSH ABrush) const;
  virtual void DrawInPlaceSubItemControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawInPlaceSubItemBackground(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const;
  virtual void DrawInPlaceSubItemArrow(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual int GetInPlaceSubItemIndent() const { return Metrics().InPlaceSubItemIndent; }
  // The width of the expand sign at the right of an entry AHeight high: a square.
  virtual int GetInPlaceSubItemSignWidth(int AHeight) const { return AHeight; }
  // COLOR_BTNSHADOW; the window's highlight brush for a selected control.
  virtual HBRUSH GetInPlaceSubItemFrameBrush(const TdxBarItemControlDrawParams* ADrawParams) const;
  virtual HBRUSH GetStaticBackgroundBrush(const TdxBarItemControlDrawParams* ADrawParams) const;
  virtual void DrawStaticContent(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawStaticBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R,
                                TdxBarStaticBorderStyle ABorderStyle) const;
  // The border width on each side: 0, 1, 1, 2, 2 for the five styles.
  virtual TRect GetStaticBorderRect(TdxBarStaticBorderStyle ABorderStyle) const;
  virtual TRect GetSeparatorMargins() const { return Metrics().SeparatorMargins; }
  virtual void DrawSeparatorControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawSeparatorText(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual void DrawStaticControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  virtual int GetSeparatorLineSize() const { return Metrics().SeparatorLineSize; }
  virtual void DrawPushButton(HDC DC, const TRect& R, bool AFlat, const String& AText, bool APressed) const;
  // Centred COLOR_BTNTEXT on COLOR_BTNFACE (transparent when flat), a pixel lower and to
  // the right when pressed.
  virtual void DrawPushButtonText(HDC DC, const TRect& R, bool AFlat, const String& AText, bool APressed) const;
  // A container drawn in place of its control.
  virtual void DrawContainerContent(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const {}
  virtual int GetContainerBorderWidth() const { return Metrics().ContainerBorderWidth; }
  // Drop-down windows (a combo's list): their border width and its drawing, a frame in
  // the shadow colour.
  virtual int GetDropDownBorderWidth() const { return Metrics().DropDownBorderWidth; }
  virtual void DrawDropDownBorder(HWND AWnd, HDC DC, const TRect& R) const;

  // --- Hints.
  // The point moved 20 pixels down.
  virtual TPoint GetHintPosition(const TCustomdxBarControl* ABarControl, const TPoint& P) const;
  // The view info a hint window shows: the screen tip's when one is given, else the plain
  // hint of the text and shortcut at the cursor.
  virtual std::unique_ptr<TdxBarCustomHintViewInfo> CreateHintViewInfo(const TdxBarManager* AManager,
                                                                       const String& AText, const String& AShortCut,
                                                                       TObject* AScreenTip) const;

protected:
  // Fills a toolbar separator's rectangle with the window's background and answers the
  // rectangle left for its line (the separator offset in from both sides).
  TRect FillToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush,
                             bool AHorizontal) const;
  // Fills R with ABrush when AUseBrush, else with the bar window's own background (its
  // bitmap or the dock site's background showing through).
  void FillBackgroundRect(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R, HBRUSH ABrush,
                          bool AUseBrush) const;
  // The face part of a button-like control before its glyph and caption.
  void DrawButtonFace(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const;
  // Half the "Qq" height of the menu font, raised to the next odd number: the part of the
  // tear-off strip height every kind shares.
  int GetDetachStripValue(const TCustomdxBarControl* AMenu) const;
  // Frames R (one pixel) with ABrush when AUseBrush, else with the bar window's own
  // background on the ring.
  void FrameBackgroundRect(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R, HBRUSH ABrush,
                           bool AUseBrush) const;
  // What the bar paints around its edit-like controls: the control's background brush.
  HBRUSH GetBarEditBrush(const TdxBarItemControlDrawParams* ADrawParams) const;
  // Draws a menu item's Description in up to two lines below ACaption and makes ACaption
  // the part left for the caption; false when there is no description to show.
  bool DrawMenuItemDescription(const TdxBarItemControlDrawParams* ADrawParams, TRect& ACaption) const;
  // A spin arrow's triangle of R's height, pointing up or down, in AColor.
  static void FillSpinArrow(HDC DC, const TRect& R, bool AUp, TColor AColor);
};

// The colour a brush paints with (a system colour index + 1 included); COLOR_WINDOW when
// it cannot be read.
TColor dxBarBrushColor(HBRUSH ABrush);

// The filled length of a progress bar ALength long: none for an empty range, the position
// held inside [AMin, AMax].
int dxBarProgressFilledLength(int ALength, int AMin, int AMax, int APosition);

// Spin buttons, as GetSpinButtonRect and the draw params' part indices number them.
enum : int { dxBarSpinButtonUp = 1, dxBarSpinButtonDown = 2 };

// The classic three-dimensional look (bmsStandard).
class TdxBarStandardPainter : public TdxBarPainter {
  DECLARE_CLASS(TdxBarStandardPainter, TdxBarPainter)
public:
  const TdxBarPainterMetrics& Metrics() const override { return dxBarStandardPainterMetrics; }
  // Its frames fill a cell that is not pressed or down: they go under the image.
  bool IsGlyphFrameDrawnFirst() const override { return true; }
  void DrawGlyphFrame(const TdxBarItemControl* AControl, HDC DC, const TdxBarItemStateFlags& AStates,
                      const TRect& AGlyphRect, HBRUSH ABrush) const override;
  HBRUSH GetGlyphBackgroundBrush(const TdxBarItemControl* AControl, const TdxBarItemStateFlags& AStates) const override;
  // A down button shows its checker (or, held, its face) behind the glyph.
  bool IsGlyphBackgroundDrawn(const TdxBarItemControl* AControl, const TdxBarItemStateFlags& AStates) const override
  {
    return inherited::IsGlyphBackgroundDrawn(AControl, AStates) || AStates.Down;
  }
  void DrawButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                            HBRUSH ABrush) const override;
  void DrawCheckMark(HDC DC, const TPoint& P, int AScale, bool AEnabled) const override;
  void DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const override;
  void DrawFloatingBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const override;
  void DrawCaptionCloseButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                              TdxBarMarkState AState) const override;
  void DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush) const override;
  void DrawMarkChevron(const TCustomdxBarControl* ABarControl, HDC DC, int X, int Y, bool AVertical) const override;
  bool IsMarkArrowDrawn() const override { return false; }
  bool IsSmallMark(const TRect& R) const override { return false; }
  void DrawSpinButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, int AButton, TRect& R) const override;
  void DrawComboButtonFrame(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const override;
  void DrawMDIButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, int AButton,
                     TdxBarMDIButtonState AState) const override;
  // A detachable menu has no top border: its tear-off strip lies there.
  TRect GetMenuBorders(const TCustomdxBarControl* AMenu) const override;
  void DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const override;
  void DrawMenuItemBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const override;

protected:
  // One raised drag bar at R, excluded from the clip region afterwards (so the window's
  // background drawn later leaves it alone).
  void DrawDragBar(HDC DC, const TRect& R, bool ALitCorner) const;
};

// The standard look with a single drag bar and a framed mark (bmsEnhanced).
class TdxBarEnhancedPainter : public TdxBarStandardPainter {
  DECLARE_CLASS(TdxBarEnhancedPainter, TdxBarStandardPainter)
public:
  const TdxBarPainterMetrics& Metrics() const override { return dxBarEnhancedPainterMetrics; }
  void DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const override;
  bool IsMarkArrowDrawn() const override { return true; }
  // Its mark is framed when hot: the pointer must make it so.
  bool IsMarkTracked() const override { return true; }
  void DrawMarkChevron(const TCustomdxBarControl* ABarControl, HDC DC, int X, int Y, bool AVertical) const override;
  void DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush) const override;
};

// One-pixel frames in flat colours and the manager's mixed brushes (bmsFlat).
class TdxBarFlatPainter : public TdxBarPainter {
  DECLARE_CLASS(TdxBarFlatPainter, TdxBarPainter)
public:
  const TdxBarPainterMetrics& Metrics() const override { return dxBarFlatPainterMetrics; }
  bool IsFlatStyle() const override { return true; }
  bool IsMarkTracked() const override { return true; }

  // Its glyph frames fill the cell: they go under the image.
  bool IsGlyphFrameDrawnFirst() const override { return true; }
  bool AreIdleGlyphsFaded() const override { return true; }
  bool AreHotGlyphsShadowed() const override { return true; }
  int GetSysColorByIndex(const TCustomdxBarControl* ABarControl, bool AActive) const override;
  TColor GetCaptionButtonGlyphColor(const TCustomdxBarControl* ABarControl, TdxBarMarkState AState) const override;
  void DrawSelectionFrame(const TdxBarItemControl* AControl, HDC DC, const TRect& R) const override;
  void DrawLoweredBorder(HDC DC, TRect& R) const override;
  HBRUSH GetGlyphBackgroundBrush(const TdxBarItemControl* AControl, const TdxBarItemStateFlags& AStates) const override;
  bool IsGlyphBackgroundDrawn(const TdxBarItemControl* AControl, const TdxBarItemStateFlags& AStates) const override;
  void DrawButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                            HBRUSH ABrush) const override;
  void DrawGlyphFrame(const TdxBarItemControl* AControl, HDC DC, const TdxBarItemStateFlags& AStates,
                      const TRect& AGlyphRect, HBRUSH ABrush) const override;
  HBRUSH GetButtonBackgroundBrush(const TdxBarItemControlDrawParams* ADrawParams) const override;
  void DrawCheckMark(HDC DC, const TPoint& P, int AScale, bool AEnabled) const override;
  HBRUSH GetToolbarBackgroundBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetBackgroundBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetCheckerBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetFaceBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetHighlightBrush(const TCustomdxBarControl* ABarControl) const override;
  void DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const override;
  void DrawFloatingBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const override;
  void DrawToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush,
                            bool AHorizontal) const override;
  void DrawCaptionCloseButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                              TdxBarMarkState AState) const override;
  void DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush) const override;
  int GetMarkArrowColorIndex(const TCustomdxBarControl* ABarControl) const override;
  void DrawCaptionMark(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const override;
  void DrawMDIButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, int AButton,
                     TdxBarMDIButtonState AState) const override;
  // Floating toolbars and menus cast a shadow.
  bool IsShadowShown(const TCustomdxBarControl* ABarControl) const override;

  // Menus.
  int CalcMenuTextHeight(int ADigitHeight) const override;
  int GetScrollButtonArrowSize(int AHeight) const override;
  TRect GetSeparatorRect(const TdxBarItemControl* AControl, const TRect& AItemRect) const override;
  HBRUSH GetMenuBorderBrush(const TCustomdxBarControl* AMenu) const override;
  void DrawMenuItemBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const override;
  void DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const override;
  void DrawDetachStrip(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, bool AHot) const override;
  TRect GetDetachStripBounds(const TCustomdxBarControl* AMenu, const TRect& R) const override;
  void DrawMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush) const override;
  void DrawMenuSeparator(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& R,
                         const TdxBarItemControl* AControl) const override;
  void DrawMenuSeparatorLine(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawMenuSeparatorLineVertical(TcxCanvas* ACanvas, const TRect& R) const override;

  // Edits, combos, spin edits, statics and push buttons.
  void DrawEditBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const override;
  TColor GetComboArrowColor(const TdxBarItemControlDrawParams* ADrawParams) const override;
  HBRUSH GetComboButtonBrush(const TdxBarItemControlDrawParams* ADrawParams) const override;
  void DrawComboButtonFrame(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const override;
  void DrawSpinButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, int AButton, TRect& R) const override;
  void DrawSpinArrow(HDC DC, const TRect& R, bool AUp, bool AEnabled, bool ASelected) const override;
  void DrawStaticBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R,
                        TdxBarStaticBorderStyle ABorderStyle) const override;
  void DrawPushButton(HDC DC, const TRect& R, bool AFlat, const String& AText, bool APressed) const override;

  // The flat kind's own operations.
  // Frames a glyph cell: dark for a down, unselected menu item; the selection frame when
  // selected or down; else in the window's background (nothing shows).
  virtual void DrawFlatGlyphFrame(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R,
                                  HBRUSH ABrush) const;
  // Brush 2 of the manager (menu item background); button face without a manager.
  virtual HBRUSH GetItemBackgroundBrush(const TCustomdxBarControl* ABarControl) const;
  virtual HBRUSH GetBorderFillBrush(const TCustomdxBarControl* ABarControl) const;
  // DrawFlatBorder, then R shrinks by one and is filled with the bar's face brush.
  virtual void DrawFlatPressedFrame(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const;
  // The face filled, then a one-pixel frame in brush 1; the DC's clip region is the same
  // after the call.
  virtual void DrawFlatBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  virtual void FrameDark(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  virtual void FillFace(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const;
  virtual TColor GetShadowColor() const;
  // The frame of an edit that is neither hot nor focused: disabled or in a menu; clNone
  // where the bar's own edit colour frames it.
  virtual TColor GetEditFrameColor(const TdxBarItemControlDrawParams* ADrawParams) const;

protected:
  // A manager brush (1 to 5) of the window's manager; AFallback (a system colour index)
  // without one.
  HBRUSH FlatBrush(const TCustomdxBarControl* ABarControl, int AIndex, int AFallback) const;
};

// The visual-style calls the XP painter draws and measures with. The default binding
// goes to the theme manager (OpenTheme) and the visual-styles library; tests put a
// recording one in its place.
struct TdxBarThemeBinding {
  std::function<TdxTheme(TdxThemedObjectType AKind)> Open;
  std::function<bool(TdxTheme ATheme, HDC DC, int APart, int AState, const TRect& R, const TRect* AClip)> Draw;
  std::function<TSize(TdxTheme ATheme, HDC DC, int APart, int AState, TdxThemeSize ASize)> PartSize;
  std::function<TRect(TdxTheme ATheme, HDC DC, int APart, int AState, const TRect& ABounds)> ContentRect;
  std::function<bool(TdxTheme ATheme, int APart, int AState, int AProperty, COLORREF& AColor)> Color;
  std::function<bool(TdxTheme ATheme, int APart, int AState)> IsPartiallyTransparent;
};
const TdxBarThemeBinding& dxBarThemeBinding();
// Replaces the binding; nil puts the default back.
void SetdxBarThemeBinding(const TdxBarThemeBinding* ABinding);

// The sizes an XP painter reads from the theme when it is made (the manager makes a new
// one whenever the theme changes). A size the theme cannot give keeps the base painter's
// value.
struct TdxBarXPThemeMetrics {
  int ToolbarSeparatorSize = 0;
  int MenuSeparatorSize = 0;
  TSize CaptionButtonSize{};
  int GlyphIndent = 0;
  int DropDownButtonWidth = 0;
  TRect EditMargins{};
  int DragHandleWidth = 0;
  int ProgressBorder = 0;
  TSize SizeGripSize{};
};

// Draws through the visual-style themes (bmsXP while visual styles are available); the
// floating frame and check marks, which have no themed look, through the shared flat
// painter.
class TdxBarXPPainter : public TdxBarPainter {
  DECLARE_CLASS(TdxBarXPPainter, TdxBarPainter)
public:
  // Reads the theme's sizes for this painter.
  TdxBarXPPainter();
  const TdxBarXPThemeMetrics& GetThemeMetrics() const { return FThemeMetrics; }
  const TdxBarPainterMetrics& Metrics() const override { return dxBarXPPainterMetrics; }
  bool IsNativeStyle() const override { return true; }
  bool IsMarkTracked() const override { return true; }
  bool IsGlyphFrameDrawnFirst() const override { return true; }
  bool IsFadedDisabledImages(const TCustomdxBarControl* ABarControl) const override { return true; }
  bool AreIdleGlyphsFaded() const override { return true; }

  // Metrics from the theme.
  int GetToolbarSeparatorSize() const override;
  int GetToolbarSeparatorOffset() const override { return (GetToolbarSeparatorSize() - 1) / 2; }
  int GetMenuSeparatorSize() const override;
  int GetSeparatorLineSize() const override { return GetMenuSeparatorSize(); }
  TSize GetCaptionButtonSize() const override;
  int GetGlyphWidthIndent() const override;
  int GetGlyphHeightIndent() const override;
  int GetDefaultItemWidth(const TCustomdxBarControl* ABarControl, int AZeroWidth) const override;
  TRect GetEditBorderMargins() const override;
  int GetDragHandleSize(const TdxBar* ABar) const override { return GetDragHandleSizeEx(ABar); }
  int GetDragHandleSizeEx(const TdxBar* ABar) const override;
  TSize GetSizeGripSize() const override;

  // Brushes and colours.
  HBRUSH GetBackgroundBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetMenuBorderBrush(const TCustomdxBarControl* AMenu) const override;
  TColor GetEditBackgroundColor() const override;
  TColor GetEditTextColor() const override;
  TColor GetDisabledEditTextColor() const override;
  TColor GetProgressBarColor() const override;

  // Buttons and glyphs.
  void DrawButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                            HBRUSH ABrush) const override;
  void DrawButtonArrowPart(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const override;
  void DrawGlyphFrame(const TdxBarItemControl* AControl, HDC DC, const TdxBarItemStateFlags& AStates,
                      const TRect& AGlyphRect, HBRUSH ABrush) const override;
  void DrawCheckMark(HDC DC, const TPoint& P, int AScale, bool AEnabled) const override;

  // Toolbars.
  void DrawToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush,
                            bool AHorizontal) const override;
  void DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const override;
  void DrawFloatingBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const override;
  void DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush) const override;
  void DrawCaptionCloseButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                              TdxBarMarkState AState) const override;
  void DrawMDIButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, int AButton,
                     TdxBarMDIButtonState AState) const override;

  // Menus.
  void DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const override;
  void DrawMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush) const override;
  void DrawMenuItemBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const override;
  // The themed line is drawn at its own height: squeezed into two pixels the part paints
  // nothing.
  int GetMenuSeparatorLineHeight() const override { return GetSeparatorLineSize(); }
  void DrawMenuSeparatorLine(TcxCanvas* ACanvas, const TRect& R) const override;

  // Edits, combos, spin buttons, progress bars and push buttons.
  void DrawEditBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const override;
  void DrawComboButton(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const override;
  void DrawSpinButtons(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const override;
  void DrawProgressBar(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R, TColor AColor) const override;
  void DrawPushButton(HDC DC, const TRect& R, bool AFlat, const String& AText, bool APressed) const override;

  // The ToolBar state of a button-like control: 4 disabled, 3 pressed (or open on a
  // toolbar), 5 down on a toolbar, 6 hot and down, 2 hot, 1 otherwise.
  static int ToolBarButtonState(const TdxBarItemControlDrawParams* ADrawParams);

private:
  // Draws a part of a theme kind; false when the theme or the part cannot be drawn (the
  // caller then draws the enhanced look's part).
  static bool DrawPart(TdxThemedObjectType AKind, HDC DC, int APart, int AState, const TRect& R);

  const TdxBarXPThemeMetrics FThemeMetrics;
};

// The flat geometry in the gradient look's colour set (bmsOffice11): toolbars, dock sites,
// menu glyph columns, marks and selections are filled with gradients of that set.
class TdxBarOffice11Painter : public TdxBarFlatPainter {
  DECLARE_CLASS(TdxBarOffice11Painter, TdxBarFlatPainter)
public:
  const TdxBarPainterMetrics& Metrics() const override { return dxBarOffice11PainterMetrics; }
  bool IsGlyphFrameDrawnFirst() const override { return true; }

  // Colours and text.
  bool IsFadedDisabledImages(const TCustomdxBarControl* ABarControl) const override { return true; }
  bool AreIdleGlyphsFaded() const override { return false; }
  bool AreHotGlyphsShadowed() const override { return false; }
  // Glyphs lie on gradients (bars, glyph columns, selections): never on a solid fill.
  bool IsGlyphDrawnWithoutBackground(const TdxBarItemControl* AControl) const override { return true; }
  TColor GetTextColor(const TdxBarItemControl* AControl, bool ASelected, bool AFlatSelection) const override;
  void GetDisabledTextColors(const TdxBarItemControl* AControl, bool ASelected, bool AFlatSelection, TColor& ATextColor,
                             TColor& AEmbossColor) const override;
  TColor GetCaptionTextColor(const TCustomdxBarControl* ABarControl) const override;
  TColor GetCaptionButtonGlyphColor(const TCustomdxBarControl* ABarControl, TdxBarMarkState AState) const override;
  bool IsGradientCaption() const override { return true; }
  void DrawCaptionBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const override;
  void DrawCaptionButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                         TdxBarMarkState AState) const override;
  void DrawSelectionFrame(const TdxBarItemControl* AControl, HDC DC, const TRect& R) const override;
  TColor GetDisabledEditTextColor() const override;
  int GetSizingFrameWidth() const override { return Metrics().SizingFrameSize; }
  int GetSizingFrameHeight() const override { return Metrics().SizingFrameSize; }
  int GetDefaultItemWidth(const TCustomdxBarControl* ABarControl, int AZeroWidth) const override;

  // Brushes, all shared ones of the colour set (never deleted).
  HBRUSH GetBackgroundBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetCheckerBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetFaceBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetHighlightBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetItemBackgroundBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetBorderFillBrush(const TCustomdxBarControl* ABarControl) const override;
  HBRUSH GetMenuBorderBrush(const TCustomdxBarControl* AMenu) const override;
  TColor GetShadowColor() const override;
  HBRUSH GetButtonBackgroundBrush(const TdxBarItemControlDrawParams* ADrawParams) const override;
  void FrameDark(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const override;

  // Toolbars and dock sites.
  bool IsToolbarBackgroundPainted() const override { return true; }
  void DrawToolbarBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                             HBRUSH ABrush) const override;
  void DrawDockingAreaBackground(TWinControl* ADockControl, HDC DC, const TRect& R) const override;
  void DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const override;
  void DrawFloatingBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const override;
  TRect GetDockedBarBorders(const TCustomdxBarControl* ABarControl) const override;
  void DrawToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush,
                            bool AHorizontal) const override;
  void DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, HBRUSH ABrush) const override;
  void DrawMarkChevron(const TCustomdxBarControl* ABarControl, HDC DC, int X, int Y, bool AVertical) const override;
  TRect GetMarkRect(const TCustomdxBarControl* ABarControl) const override;
  void DrawArrow(HDC DC, const TRect& R, TcxArrowDirection ADirection, TColor AColor, bool AEnabled,
                 bool ASelected) const override;
  void DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection ADirection, TColor AColor, bool AEnabled,
                      bool ASelected, int ASize) const override;

  // Buttons.
  bool IsGlyphBackgroundDrawn(const TdxBarItemControl* AControl, const TdxBarItemStateFlags& AStates) const override;
  void DrawGlyphFrame(const TdxBarItemControl* AControl, HDC DC, const TdxBarItemStateFlags& AStates,
                      const TRect& AGlyphRect, HBRUSH ABrush) const override;
  void DrawFlatGlyphFrame(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R,
                          HBRUSH ABrush) const override;
  void DrawButtonArrowPart(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const override;

  // Menus.
  void DrawMenuItemBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const override;
  void FillMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush) const override;
  void DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const override;
  void DrawMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush) const override;
  void DrawDetachStrip(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, bool AHot) const override;
  TRect GetDetachStripBounds(const TCustomdxBarControl* AMenu, const TRect& R) const override;
  void DrawMenuSeparator(const TCustomdxBarControl* AMenu, TcxCanvas* ACanvas, const TRect& R,
                         const TdxBarItemControl* AControl) const override;
  void DrawMenuSeparatorLine(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawMenuSeparatorLineVertical(TcxCanvas* ACanvas, const TRect& R) const override;
  // A menu and the toolbar button that opened it share one outline (and one shadow).
  bool IsCombinedOutlineDrawn() const override { return true; }
  void DrawScrollArrow(TcxCanvas* ACanvas, const TRect& R, bool ADown) const override;
  void DrawExpandChevrons(HDC DC, const TRect& R, int ASize, bool ASelected) const override;
  int GetExpandButtonHeight() const override;

  // Edits, combos, separators and statics.
  TColor GetEditFrameColor(const TdxBarItemControlDrawParams* ADrawParams) const override;
  TColor GetComboArrowColor(const TdxBarItemControlDrawParams* ADrawParams) const override;
  HBRUSH GetComboButtonBrush(const TdxBarItemControlDrawParams* ADrawParams) const override;
  void DrawComboButtonFrame(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const override;
  void DrawComboArrow(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R) const override;
  void DrawSeparatorText(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const override;

protected:
  // The gradient of a selected, pressed or checked cell (the scheme's pair for the state);
  // false for a cell in none of them.
  bool FillSelectionGradient(HDC DC, const TRect& R, const TdxBarItemStateFlags& AStates, bool AVertical) const;
  // The menu's background with its glyph column in the column's gradient, or in the
  // less-used pair.
  void FillMenuColumn(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush, bool ALessUsed) const;
  // The piece of a menu's border along the button that opened it, in the toolbar's colour;
  // AOffset is how far R's left lies inside the window.
  void DrawMenuJoin(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, int AOffset) const;
};

// The painter class used for a look-and-feel that carries a skin; replaceable by a skin
// library, initially the standard painter. Setting nil restores that default.
TClass dxBarSkinPainterClass();
void SetdxBarSkinPainterClass(TClass Value);
