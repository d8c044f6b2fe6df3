// The visual object of one shown item link: it measures itself for its bar window's layout,
// keeps its hot, selected and pressed state, draws through the painter and turns the
// user's clicks into item clicks. A plain object, not a window. Also its per-level size
// cache (the view info) and the last image it had drawn (the cached image options).
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "bars/hints/hintwindow.h"
#include "bars/model/itemtypes.h"
#include "lookandfeel/cxClasses.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/GraphicsObjects.h"
#include "platform/Menus.h"
#include "platform/System.h"
#include "platform/Types.h"

class TBitmap;
class TCustomImageList;
class TCustomdxBarControl;
class TFont;
class TWinControl;
class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemControlDrawParams;
class TdxBarItemLink;
class TdxBarManager;
class TdxBarPainter;
class TdxBarAccessibilityHelper;

// Makes the accessibility helper of an item control (bars/accessibility/baraccessibility.h has the kinds).
using TdxBarAccessibilityHelperClass = TdxBarAccessibilityHelper* (*)(TdxBarItemControl* AControl);

// An in-place editor's window and the brush its window is painted with.
struct TdxBarInPlaceEdit {
  HWND Wnd = nullptr;
  HBRUSH Brush = nullptr;
};

// The parts an item control shows, as bits of TdxBarItemControlDrawParams' view parts.
enum : int { ivpGlyph = 1, ivpCaption = 2 };

// The image-size kinds: small images, large icons (the manager's LargeIcons), large images
// (large buttons and large menu items).
enum : int { isSmall = 0, isLargeIcons = 1, isLarge = 2 };

// Bar kinds as a control sees its window: horizontal toolbar, menu, vertical toolbar whose
// texts are rotated.
enum : int { bkHorizontal = 0, bkMenu = 1, bkVertical = 2 };

// The hot part when the mouse is inside the control's rectangle but on none of its parts.
inline constexpr int dxBarHotPartBorder = 100;

// A control's possible view levels, the current one, its bounds in the bar and the width
// measured once per level. Asking for a level outside the possible set is a programming
// error of the bar's layout and raises.
class TdxBarItemControlViewInfo : public TcxInterfacedPersistent {
  DECLARE_CLASS(TdxBarItemControlViewInfo, TcxInterfacedPersistent)
public:
  // Built through the class the control names (GetViewInfoClass).
  using TFactoryOwner = TdxBarItemControl;
  explicit TdxBarItemControlViewInfo(TdxBarItemControl* AControl);

  TdxBarItemControl* GetControl() const { return FControl; }
  TdxBarItemViewLevels GetPossibleViewLevels() const;
  TdxBarItemViewLevel GetViewLevel() const { return FViewLevel; }
  void SetViewLevel(TdxBarItemViewLevel Value);
  const TRect& GetBounds() const { return FBounds; }
  void SetBounds(const TRect& Value) { FBounds = Value; }
  // The control's layout width at ALevel, measured on first request; raises for a level
  // outside the possible set.
  int GetSize(TdxBarItemViewLevel ALevel);
  // Forgets every measured size.
  void ClearCachedSizes();
  bool IsSizeCached(TdxBarItemViewLevel ALevel) const { return FSizeValid[ALevel]; }

private:
  TdxBarItemControl* FControl;
  TRect FBounds{0, 0, 0, 0};
  TdxBarItemViewLevel FViewLevel = ivlDefault;
  int FSizes[ivlDefault + 1]{};
  bool FSizeValid[ivlDefault + 1]{};
};

// The image a control had drawn last, with what it was drawn from; the painter draws from
// the bitmap again while the same image is asked for in the same mode.
class TdxCachedImageOptions : public TObject {
  DECLARE_CLASS(TdxCachedImageOptions, TObject)
public:
  TdxCachedImageOptions();
  ~TdxCachedImageOptions() override;

  TcxBitmap* GetBitmap() const { return FBitmap.get(); }
  int DrawMode = 0;
  TCustomImageList* ImageList = nullptr;
  int ImageIndex = -1;
  // The colour the image was composed over; CLR_INVALID for a colour-keyed glyph.
  COLORREF Background = CLR_INVALID;
  bool Valid = false;

  // Whether the bitmap holds this image drawn in this mode over this background.
  bool Matches(int AMode, TCustomImageList* AImageList, int AImageIndex, COLORREF ABackground) const
  {
    return Valid && DrawMode == AMode && ImageList == AImageList && ImageIndex == AImageIndex &&
           Background == ABackground;
  }
  void Drop() { Valid = false; }

private:
  std::unique_ptr<TcxBitmap> FBitmap;
};

// What the bar window's hint window learns from a control.
struct TdxBarItemControlHintInfo {
  String Hint;      // the short hint (the part before "|")
  String ShortCut;  // the shortcut text; empty without one
};

// Changes whenever an item control is made or freed, so that a list of a window's controls
// can tell whether it still holds.
uint64_t dxBarItemControlsStamp();

class TdxBarItemControl : public TObject, public IdxBarHintSource {
  DECLARE_CLASS(TdxBarItemControl, TObject)
public:
  // Built through the class the item-kind register names for the link's item.
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarItemControl(TdxBarItemLink* AItemLink);
  ~TdxBarItemControl() override;
  // Finishes construction with the most derived class in place: the virtual answers
  // (draw params class, view info class, style, draw params, view level) need it.
  void AfterConstruction() override;

  // --- Accessors.
  TdxBarItemLink* GetItemLink() const { return FItemLink; }
  TdxBarItem* GetItem() const;
  TCustomdxBarControl* GetParent() const { return FParent; }
  TdxBarManager* GetBarManager() const;
  virtual TdxBarPainter* GetPainter() const;
  // The paint canvas during Paint, else the bar window's canvas.
  TcxCanvas* GetCanvas() const;
  // The link's rectangle in the bar window's client coordinates.
  TRect GetItemRect() const;
  TdxBarItemControlDrawParams* GetDrawParams() const { return FDrawParams.get(); }
  TdxBarItemControlViewInfo* GetViewInfo() const { return FViewInfo.get(); }
  TdxCachedImageOptions* GetCachedImageOptions() const { return FCachedImageOptions.get(); }
  // The item's alignment when the bar window aligns this control, else iaLeft.
  TdxBarItemAlign GetAlignment() const;
  // The control is its bar window's selected control, and enabled or not merely selected
  // by the bar.
  bool GetSelected() const;
  bool GetSelectedByBar() const { return FSelectedByBar; }
  void SetSelectedByBar(bool Value) { FSelectedByBar = Value; }
  bool GetNonRecent() const { return FNonRecent; }
  void SetNonRecent(bool Value) { FNonRecent = Value; }
  int GetHotPartIndex() const { return FHotPartIndex; }
  // The part rectangles of the last CalcParts, in the bar window's client coordinates.
  const std::vector<TRect>& GetPartRects() const { return FPartRects; }
  // The text height the control measures with: the bar's, or its own with a style font.
  int GetTextHeight() const { return FTextHeight; }
  bool IsDescriptionVisible() const;
  // The link collection shows shortcuts and the control has one.
  bool IsShortCutVisible() const;

  // --- What the item and the link tell the control.
  virtual void BeginGroupChanged();
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void GlyphChanged();
  virtual void HotGlyphChanged() {}
  virtual void LargeGlyphChanged();
  virtual void PaintStyleChanged() {}
  virtual void VisibleChanged();
  virtual void WidthChanged();
  virtual void RecalcAndRepaint();
  // Invalidates the control's rectangle in its bar window.
  virtual void Repaint();
  // The link asks the control to bring itself up to date.
  virtual void Update();
  // Re-reads the item's style (colour brush, font height).
  virtual void ApplyStyle();
  virtual void CalcStyleValues();
  // The prepared image is stale (enabling or glyph changed).
  void DropCachedImage();
  // The sizes measured per view level are stale (glyph changed).
  void ClearCachedSizes();
  // Recomputes the draw parameters (all of them with Full).
  virtual void CalcDrawParams(bool AFull = true);
  // One rectangle per part (GetPartCount) into the part list; the base has the whole
  // item rectangle as its one part.
  virtual void CalcParts();
  // The window is about to be hidden.
  virtual void BeforeHide() {}

  // --- State and input.
  virtual bool GetEnabled() const;
  virtual bool CanClick() const { return true; }
  virtual bool CanSelect() const;
  virtual bool IsSelected() const { return GetSelected(); }
  virtual bool WantsKey(uint16_t Key) const { return false; }
  // A key the control wants (WantsKey) while it is its active bar window's selected control;
  // true when the control handled it. Nothing in the base.
  virtual bool KeyDown(uint16_t Key) { return false; }
  virtual bool WantsDoubleClick() const { return false; }
  // A double click on the selected control that wants it; nothing in the base.
  virtual void DoubleClick() {}
  virtual bool CloseMenusOnClick() const { return true; }
  virtual bool IsDropDown() const { return false; }
  virtual bool IsDroppedDown() const { return false; }
  virtual bool IsWinControl() const { return false; }
  // An in-place window control that is editing: keys and the wheel belong to its window.
  virtual bool IsEditing() const { return false; }
  // Whether AWnd is a window of this control (its editor, an open drop-down list).
  virtual bool OwnsWindow(HWND AWnd) const { return false; }
  // A button's control: its click in a menu plays the menu-command sound.
  virtual bool IsButtonControl() const { return false; }
  virtual TWinControl* GetHostedControl() const { return nullptr; }
  virtual TObject* GetDropDownControl() const { return nullptr; }
  // An in-place editor's window and the brush its window is painted with; none in the base.
  // Its bar window colours that window with the painter's in-place edit colours.
  virtual std::optional<TdxBarInPlaceEdit> GetInPlaceEdit() const { return std::nullopt; }
  // The mouse moved to P (bar window client coordinates); the hot part follows.
  virtual void MouseMove(const TPoint& P);
  // The left button went down on the control (bar window client coordinates), after the
  // bar window selected it; a drop-down button opens on its arrow part. Nothing in the base.
  virtual void MouseDown(const TPoint& P) {}
  // The mouse left the control.
  void MouseLeave() { SetHotPartIndex(-1); }
  // The mouse is over the enabled control and its left button is down.
  bool IsMousePressedOver() const;
  virtual void ClickByKey();
  virtual void ActivateByKey() {}
  // The bar's release over the selected control: an in-place window control starts
  // editing with the caret where the user clicked. Nothing in the base.
  virtual void ActivateByMouse() {}
  virtual void Activate();
  virtual void Deactivate();
  bool GetActive() const { return FActive; }
  // Turns the user's click into the item's click; see the steps in the body.
  virtual void Click();
  void SetDoingClick(bool Value);
  virtual bool IsResizePoint(const TPoint& P) const { return false; }
  virtual void BeginResize(const TPoint& P) {}
  virtual void DoResize(const TPoint& P) {}
  virtual void EndResize(bool ACancel) {}

  // --- Hints.
  // True when the bar window shows hints for this (hot) control; fills the texts. An
  // action's hint handler may cancel it.
  virtual bool GetHintInfo(TdxBarItemControlHintInfo& AInfo);
  virtual String GetHint() const;
  // The hint window's view info and position: the bar window's painter's, with the item's
  // screen tip.
  std::unique_ptr<TdxBarCustomHintViewInfo> CreateHintViewInfo(const String& AText, const String& AShortCut) override;
  TPoint GetHintPosition(const TPoint& ACursorPos) override;
  virtual TShortCut GetShortCut() const;

  // --- Images.
  virtual TBitmap* GetGlyph() const;
  virtual TBitmap* GetLargeGlyph() const;
  virtual int GetImageIndex() const;
  virtual int GetLargeImageIndex() const;
  virtual TCustomImageList* GetImages() const;
  virtual TCustomImageList* GetLargeImages() const;
  virtual TCustomImageList* GetHotImages() const;
  virtual TCustomImageList* GetCurrentImages(int AImageSizeKind) const;
  // Whether large sources (LargeGlyph, the large lists) apply at the size kind.
  bool AreLargeSourcesUsed(int AImageSizeKind) const;
  // Whether the large list entry is drawn at the size kind.
  bool IsLargeImageListUsed(int AImageSizeKind) const;
  // The source to draw at the size kind: a glyph wins over the list entry; when neither
  // exists the bar window may give a glyph. True when something can be drawn.
  virtual bool GetImageInfo(int AImageSizeKind, TCustomImageList*& AImages, int& AImageIndex, TBitmap*& AGlyph) const;
  bool HasImage(int AImageSizeKind) const;
  virtual TSize GetImageSize(int AImageSizeKind) const;
  virtual bool IsImageDrawnEnabled() const;

  // --- View levels and parts.
  virtual TdxBarItemViewLevels GetPossibleViewLevels() const;
  virtual int GetViewParts() const;
  virtual int GetDefaultViewParts() const { return 0; }
  virtual int GetDefaultImageSize() const;
  // The image-size kind at the view info's current level.
  int GetImageSizeKind() const;
  virtual int GetBarKind() const;
  virtual int GetPartCount() const { return 1; }
  virtual TClass GetViewInfoClass() const;
  virtual TClass GetDrawParamsClass() const;
  // The class of the control's accessibility helper, made on first request.
  virtual TdxBarAccessibilityHelperClass GetAccessibilityHelperClass() const;
  // The caption as the control shows it.
  virtual const String& GetCaption() const;
  virtual TdxBarMenuItemSize GetMenuItemSize() const;
  virtual int GetIndent() const;
  virtual bool IsTextRotated() const;
  // Whether the control sits in a menu window.
  bool IsInMenu() const;

  // --- Sizes.
  // The width and height the bar lays out (oriented: swapped on rotated bars), each
  // between applying the style font and restoring it.
  int CalcWidth();
  int CalcHeight();
  virtual int GetWidth();
  virtual int GetHeight();
  virtual int GetDefaultWidth();
  virtual int GetDefaultHeight();
  virtual int GetSmallWidth();
  virtual int GetSmallHeight();
  virtual int GetLargeWidth();
  virtual int GetLargeHeight();
  virtual int GetMenuItemWidth();
  virtual int GetMenuItemHeight();
  virtual int GetMinWidth() const { return 1; }
  virtual int GetMinHeight() const { return 1; }
  virtual int GetCaptionTextWidth();
  virtual int GetCaptionWidth();
  virtual int GetGlyphWidth();
  virtual int GetExtraWidth() { return 0; }
  // Half the bar font's point size, rounded toward zero (the absolute size, so a font given
  // by its cell height measures the same).
  virtual int GetCaptionMargin() const;
  virtual TRect GetItemControlMargins() const;

  // --- Style, font and painting.
  // Saves the canvas font and selects AFont, or the item style's font when nil and the
  // style sets one.
  virtual void ApplyItemFont(TFont* AFont = nullptr);
  virtual void RestoreFont();
  bool HasStyleFont() const;
  // Draws the control into R on ACanvas through the painter (nothing for an empty R).
  void Paint(TcxCanvas* ACanvas, const TRect& R, bool AFlag = false);
  virtual void Draw(const TRect& R, bool AFlag) {}

  // --- What the painter asks of the control. The painter reads the control only through
  // these and the draw params, so a test double can answer them without a bar window.
  // The bar window the control is drawn on: its parent.
  virtual TCustomdxBarControl* GetBarControl() const { return GetParent(); }
  // The background brush: the control's own brush (from the item style colour), else its
  // bar window's; may be a system colour index + 1.
  virtual HBRUSH GetBackgroundBrush() const;
  // The control has a brush of its own.
  virtual bool HasOwnBrush() const;
  // Activated: an open drop-down or a focused editor.
  virtual bool IsActive() const;
  // A click is running (the control is drawn pressed meanwhile).
  virtual bool GetDoingClick() const { return FDoingClick; }
  // The item style's text colour; clDefault lets the painter choose.
  virtual TColor GetStyleTextColor() const;

protected:
  void SetHotPartIndex(int Value);
  // Descendants' CalcParts store their part rectangles here.
  void SetPartRects(std::vector<TRect> Value) { FPartRects = std::move(Value); }
  // Filled in place, the rectangles reuse their storage from one layout to the next.
  std::vector<TRect>& PartRectsToFill() { return FPartRects; }
  virtual void DoingClickChanged();
  // Whether the control is still alive and still shown by a living parent.
  bool IsParentAlive() const;
  // The bar window rebuilds (all controls are made again).
  void RebuildBar();

private:
  TdxBarItemLink* FItemLink;
  TCustomdxBarControl* FParent;
  // Reads nil once the bar window is gone, should it go before its controls.
  TWeakRef<TCustomdxBarControl> FParentRef;
  std::unique_ptr<TdxCachedImageOptions> FCachedImageOptions;
  std::unique_ptr<TdxBarItemControlDrawParams> FDrawParams;
  std::unique_ptr<TdxBarItemControlViewInfo> FViewInfo;
  std::vector<TRect> FPartRects;
  int FHotPartIndex = -1;
  int FTextHeight = 0;
  int FLastImageSizeKind = -1;
  // The caption's width as last measured, with the caption and the font it was measured in:
  // a layout pass measures each control several times, and any other text or font measures
  // anew.
  struct {
    String Caption;
    LOGFONTW Font{};
    int Width = -1;
  } FCaptionWidth;
  // What the last draw-params pass found, for GlyphChanged to compare with.
  TdxBarItemViewLevels FLastPossibleViewLevels;
  int FLastViewParts = -1;
  bool FActive = false;
  bool FDoingClick = false;
  bool FSelectedByBar = false;
  bool FNonRecent = false;
  HBRUSH FOwnBrush = nullptr;
  // The canvas font saved by ApplyItemFont.
  std::unique_ptr<TFont> FSavedFont;
  bool FFontChanged = false;
  int FFontApplyDepth = 0;
  TcxCanvas* FPaintCanvas = nullptr;
};
