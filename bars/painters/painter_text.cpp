// The base painter's drawing of item texts, glyphs, check marks, arrows and whole
// button-like controls. The kinds change the look only through the smaller operations
// these call (glyph frames, check marks, brushes, colours and the flat-style queries).
#include "bars/painters/painter.h"

#include <optional>

#include "bars/barwindows/barcanvas.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter_helpers.h"
#include "bars/model/startup.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Strings.h"

namespace {

// Selects a changed copy of the DC's font for its lifetime (nothing when the font cannot
// be read or already is as asked).
class TFontCopy {
public:
  template <typename TChange>
  TFontCopy(HDC DC, TChange AChange) : FDC(DC)
  {
    LOGFONTW font{};
    if (::GetObjectW(::GetCurrentObject(DC, OBJ_FONT), sizeof(font), &font) == 0 || !AChange(font))
      return;
    FFont = TrackGdiObject(::CreateFontIndirectW(&font));
    if (FFont)
      FOld = ::SelectObject(DC, FFont);
  }
  ~TFontCopy()
  {
    if (!FFont)
      return;
    ::SelectObject(FDC, FOld);
    DeleteGdiObject(FFont);
  }
  TFontCopy(const TFontCopy&) = delete;
  TFontCopy& operator=(const TFontCopy&) = delete;

private:
  HDC FDC;
  HFONT FFont = nullptr;
  HGDIOBJ FOld = nullptr;
};

bool MakeBold(LOGFONTW& AFont)
{
  AFont.lfWeight = FW_BOLD;
  return true;
}

// Text turned to run down the bar; a font already turned stays.
bool MakeTurned(LOGFONTW& AFont)
{
  if (AFont.lfEscapement != 0)
    return false;
  AFont.lfEscapement = AFont.lfOrientation = 2700;
  // Only outline fonts turn.
  AFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  return true;
}

const TdxBarButtonLikeControlDrawParams* AsButton(const TdxBarItemControlDrawParams* AParams)
{
  return dynamic_cast<const TdxBarButtonLikeControlDrawParams*>(AParams);
}

// A toolbar button's caption: selected and in a flat selection as the control asks.
TdxBarItemTextFlags ButtonCaptionFlags(const TdxBarPainter& APainter, const TdxBarItemControlDrawParams* AParams)
{
  const TdxBarButtonLikeControlDrawParams* button = AsButton(AParams);
  return {.Enabled = AParams->Enabled,
          .Selected = button && button->CaptionDrawnSelected,
          .Vertical = AParams->IsVertical(),
          .FlatSelection = button ? button->CaptionInFlatSelection : APainter.IsFlatSelection()};
}

UINT AlignmentFormat(TdxBarTextAlignment AAlignment)
{
  switch (AAlignment) {
    case dxBarTextAlignCenter:
      return DT_CENTER;
    case dxBarTextAlignRight:
      return DT_RIGHT;
    default:
      return DT_LEFT;
  }
}

// Saves the DC's state for the length of a drawing call, through the shared bar canvas
// when the library runs (so nested painting stays balanced), else directly.
class TDCStateGuard {
public:
  explicit TDCStateGuard(HDC DC) : FDC(DC)
  {
    if ((FCanvas = BarCanvas()) != nullptr)
      FCanvas->BeginPaint(DC);
    else
      FSaved = ::SaveDC(DC);
  }
  ~TDCStateGuard()
  {
    if (FCanvas)
      FCanvas->EndPaint();
    else if (FSaved)
      ::RestoreDC(FDC, FSaved);
  }
  TDCStateGuard(const TDCStateGuard&) = delete;
  TDCStateGuard& operator=(const TDCStateGuard&) = delete;

private:
  HDC FDC;
  TdxBarCanvas* FCanvas = nullptr;
  int FSaved = 0;
};

// The size an image is drawn at for the image-size kind: large icons show small images
// doubled (or stretched to the cell with StretchGlyphs).
TSize GlyphDrawSize(const TdxBarItemControlDrawParams* AParams, int AImageSizeKind, const TRect& ACell)
{
  TdxBarItemControl* control = AParams->ItemControl;
  TSize size = control ? control->GetImageSize(AImageSizeKind) : Size(16, 16);
  if (AImageSizeKind != isLargeIcons || !control)
    return size;
  TdxBarManager* manager = control->GetBarManager();
  if (manager && manager->GetStretchGlyphs()) {
    TSize cell = RectSize(ACell);
    // An odd difference both ways cannot be centred: the image loses a pixel instead.
    bool odd = (cell.cx - size.cx) % 2 != 0 && (cell.cy - size.cy) % 2 != 0;
    return Size(std::max(0L, cell.cx - (odd ? 1 : 0)), std::max(0L, cell.cy - (odd ? 1 : 0)));
  }
  int iconSize = manager ? manager->GetIconSize() : 2 * size.cx;
  if (size.cx < iconSize)
    size = Size(iconSize, iconSize);
  return size;
}

// The colour the cached glyph's transparent parts have; copied without them.
constexpr COLORREF CachedGlyphKey = RGB(255, 0, 255);

// The colour of a solid background brush (a system colour index + 1 allowed); CLR_INVALID
// for none or a patterned one.
COLORREF SolidBrushColor(HBRUSH ABrush)
{
  if (!ABrush)
    return CLR_INVALID;
  const auto value = reinterpret_cast<uintptr_t>(ABrush);
  if (value <= COLOR_MENUBAR + 1)
    return ::GetSysColor(int(value) - 1);
  LOGBRUSH info{};
  return GetLogBrushInfo(ABrush, info) && info.lbStyle == BS_SOLID ? info.lbColor : CLR_INVALID;
}

// Draws the glyph from the control's cache, composing it there first when the cache does
// not already hold this image in this mode at this size. A glyph bitmap is opaque and is
// kept colour-keyed; an image list's image may have soft edges, which only survive composed
// over the solid background it is drawn on (ABackground), and is cached over it.
void DrawCachedGlyph(HDC DC, const TRect& AGlyphRect, TBitmap* AGlyph, TCustomImageList* AImages, int AIndex,
                     TcxGlyphDrawingMode AMode, const TcxGlyphDrawOptions& AOptions, COLORREF ABackground,
                     TdxCachedImageOptions& ACache)
{
  TcxBitmap* bitmap = ACache.GetBitmap();
  int w = RectWidth(AGlyphRect);
  int h = RectHeight(AGlyphRect);
  if (w <= 0 || h <= 0)
    return;
  const bool keyed = ABackground == CLR_INVALID;
  HDC cacheDC = bitmap->GetCanvas()->GetHandle();
  if (!ACache.Matches(AMode, AImages, AIndex, ABackground) || bitmap->GetWidth() != w || bitmap->GetHeight() != h) {
    bitmap->SetSize(w, h);
    cacheDC = bitmap->GetCanvas()->GetHandle();
    TRect all = Rect(0, 0, w, h);
    FillRectByColor(cacheDC, all, TColor(keyed ? CachedGlyphKey : ABackground));
    TcxGlyphDrawOptions options = AOptions;
    options.BackgroundBrush = nullptr;
    DrawGlyphOrImage(cacheDC, all, all, AGlyph, AImages, AIndex, AMode, options);
    ACache.DrawMode = int(AMode);
    ACache.ImageList = AImages;
    ACache.ImageIndex = AIndex;
    ACache.Background = ABackground;
    ACache.Valid = true;
  }
  if (!keyed) {
    ::BitBlt(DC, AGlyphRect.left, AGlyphRect.top, w, h, cacheDC, 0, 0, SRCCOPY);
    return;
  }
  if (AOptions.BackgroundBrush)
    ::FillRect(DC, &AGlyphRect, AOptions.BackgroundBrush);
  ::GdiTransparentBlt(DC, AGlyphRect.left, AGlyphRect.top, w, h, cacheDC, 0, 0, w, h, CachedGlyphKey);
}

}  // namespace

// ---------------------------------------------------------------------------
// Item text

void TdxBarPainter::DrawItemText(const TdxBarItemControl* AControl, HDC DC, const String& AText, const TRect& R,
                                 TdxBarTextAlignment AAlignment, const TdxBarItemTextFlags& AFlags, UINT AFormat) const
{
  if (!DC || AText.empty())
    return;
  TDCStateGuard guard(DC);
  UINT format = AFormat;
  if (!AFlags.Clipped || AFlags.Vertical)
    format |= DT_NOCLIP;
  // Rotated text is not clipped by DrawText: the DC clips it instead.
  if (AFlags.Clipped && AFlags.Vertical)
    ::IntersectClipRect(DC, R.left, R.top, R.right, R.bottom);

  TRect textRect = R;
  String text = AText;
  TRect underline{};  // relative to the text's reference point, along the turned line
  // Bar windows paint their items in the bar's upright font.
  std::optional<TFontCopy> turned;
  if (AFlags.Vertical)
    turned.emplace(DC, MakeTurned);
  if (!AFlags.Vertical) {
    format |= AlignmentFormat(AAlignment) | DT_VCENTER;
  } else {
    String shown = AText;
    int accel = FindAcceleratorCharPos(shown, true);
    TSize extent = GetTextExtentOfString(DC, shown);
    int down = 0;
    if (AAlignment == dxBarTextAlignCenter)
      down = (RectHeight(R) - extent.cx) / 2;
    else if (AAlignment == dxBarTextAlignRight)
      down = RectHeight(R) - extent.cx;
    textRect = OffsetRect(R, (RectWidth(R) + extent.cy) / 2, down);
    format &= ~UINT(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM);
    if (accel > 0) {
      // The marker would show as a character: the text goes without it and the
      // accelerator is underlined by hand along the turned baseline.
      format |= DT_NOPREFIX;
      text = shown;
      TEXTMETRICW metrics{};
      ::GetTextMetricsW(DC, &metrics);
      int start = GetTextExtentOfString(DC, shown, accel - 1).cx;
      int width = GetTextExtentOfString(DC, shown.substr(size_t(accel - 1), 1)).cx;
      // The glyphs' tops face right: the baseline lies the ascent to the left of the
      // reference point, the underline the descent beyond it.
      int x = textRect.left - metrics.tmAscent - metrics.tmDescent;
      underline = Rect(x, textRect.top + start, x + 1, textRect.top + start + width);
    }
  }

  TColor textColor = clDefault;
  TColor embossColor = clDefault;
  GetTextColors(AControl, AFlags.Enabled, AFlags.Selected, AFlags.FlatSelection, textColor, embossColor);
  ::SetBkMode(DC, TRANSPARENT);
  auto drawPass = [&](TColor AColor, int AOffset) {
    ::SetTextColor(DC, ColorToRGB(AColor));
    TRect r = OffsetRect(textRect, AOffset, AOffset);
    DrawTextInRect(DC, text, r, format);
    if (!IsRectEmpty(underline))
      FillRectByColor(DC, OffsetRect(underline, AOffset, AOffset), AColor);
  };
  if (textColor != embossColor)
    drawPass(embossColor, 1);
  drawPass(textColor, 0);
}

// ---------------------------------------------------------------------------
// Glyphs

namespace {

// Where the glyph goes: ACell receives the cell its background and frame cover when the
// caller gives no frame, AGlyph the image rectangle (empty without a glyph part).
void CalcGlyphPlace(const TdxBarPainter& APainter, const TdxBarItemControlDrawParams* AParams,
                    const TdxBarItemStateFlags& AStates, int AImageSizeKind, const TRect& AFrameRect,
                    const TRect& AContentRect, TRect& ACell, TRect& AGlyph)
{
  TRect content = IsRectEmpty(AFrameRect) ? AContentRect : AFrameRect;
  ACell = content;
  AGlyph = TRect{};
  // A menu keeps its glyph column without a glyph part: a down item shows its tick there.
  if (!AParams->HasGlyphPart() && !AParams->IsMenu())
    return;
  if (AImageSizeKind == isLarge && !AParams->IsMenu()) {
    const TdxBarButtonLikeControlDrawParams* button = AsButton(AParams);
    TSize size = GlyphDrawSize(AParams, AImageSizeKind, content);
    AGlyph = APainter.CalcGlyphRect(AParams, size, content, button ? button->GlyphLayout : glTop);
    return;
  }
  // A caption beside the glyph leaves the glyph its glyph area only.
  if (!AParams->IsMenu() && AParams->HasCaptionPart()) {
    if (AParams->IsVertical())
      ACell.bottom = std::min(ACell.bottom, ACell.top + AParams->GlyphSize.cy);
    else
      ACell.right = std::min(ACell.right, ACell.left + AParams->GlyphSize.cx);
  }
  TSize size = GlyphDrawSize(AParams, AImageSizeKind, ACell);
  AGlyph = CenterRectInRect(ACell, size.cx, size.cy);
  if (AStates.Pressed)
    AGlyph = OffsetRect(AGlyph, APainter.GetPressedGlyphOffset().x, APainter.GetPressedGlyphOffset().y);
  if (AStates.Down)
    AGlyph = OffsetRect(AGlyph, APainter.GetDownGlyphOffset().x, APainter.GetDownGlyphOffset().y);
}

}  // namespace

void TdxBarPainter::DrawGlyph(const TdxBarItemControlDrawParams* ADrawParams, HDC DC,
                              const TdxBarItemStateFlags& AStates, int AImageSizeKind, const TRect& AFrameRect,
                              const TRect& AContentRect, TRect& AGlyphRect) const
{
  AGlyphRect = TRect{};
  if (!ADrawParams || !DC)
    return;
  TRect cell{};
  CalcGlyphPlace(*this, ADrawParams, AStates, AImageSizeKind, AFrameRect, AContentRect, cell, AGlyphRect);
  TdxBarItemControl* control = ADrawParams->ItemControl;
  bool hasImage = ADrawParams->HasGlyphPart() && control && control->HasImage(AImageSizeKind);
  DrawGlyphImage(ADrawParams, DC, AStates, AImageSizeKind, IsRectEmpty(AFrameRect) ? cell : AFrameRect, AGlyphRect,
                 hasImage);
}

void TdxBarPainter::DrawGlyphImage(const TdxBarItemControlDrawParams* ADrawParams, HDC DC,
                                   const TdxBarItemStateFlags& AStates, int AImageSizeKind, const TRect& AFrameRect,
                                   const TRect& AGlyphRect, bool AHasImage) const
{
  if (!ADrawParams || !DC)
    return;
  const TdxBarItemControl* control = ADrawParams->ItemControl;
  HBRUSH brush = GetGlyphBackgroundBrush(control, AStates);
  if (IsGlyphBackgroundDrawn(control, AStates)) {
    TRect r = AFrameRect;
    if (!IsRectEmpty(AGlyphRect) && RectWidth(AFrameRect) >= RectWidth(AGlyphRect) + 2 &&
        RectHeight(AFrameRect) >= RectHeight(AGlyphRect) + 2)
      r = InflateRect(r, -1, -1);
    ::FillRect(DC, &r, brush);
  }
  // A frame that fills must never follow the image, or the glyph would vanish under it.
  bool frameFirst = IsGlyphFrameDrawnFirst();
  if (frameFirst)
    DrawGlyphFrame(control, DC, AStates, AFrameRect, brush);
  if (!IsRectEmpty(AGlyphRect)) {
    if (AHasImage)
      DrawItemGlyph(ADrawParams, DC, AStates, AImageSizeKind, AGlyphRect, brush);
    else
      DrawCheckMarkInRect(control, DC, AFrameRect, AStates.Down, ADrawParams->BarControlKind, ADrawParams->Enabled);
  }
  if (!frameFirst)
    DrawGlyphFrame(control, DC, AStates, AFrameRect, brush);
}

void TdxBarPainter::DrawItemGlyph(const TdxBarItemControlDrawParams* ADrawParams, HDC DC,
                                  const TdxBarItemStateFlags& AStates, int AImageSizeKind, const TRect& AGlyphRect,
                                  HBRUSH ABrush) const
{
  TdxBarItemControl* control = ADrawParams ? ADrawParams->ItemControl : nullptr;
  if (!control || !DC)
    return;
  TCustomImageList* images = nullptr;
  int index = -1;
  TBitmap* glyph = nullptr;
  if (!control->GetImageInfo(AImageSizeKind, images, index, glyph))
    return;
  const TdxBarButtonLikeControlDrawParams* button = AsButton(ADrawParams);
  TdxBarGlyphStateInfo info;
  info.DrawnEnabled = ADrawParams->Enabled || control->IsImageDrawnEnabled();
  info.FadedDisabledImages = IsFadedDisabledImages(ParentOf(ADrawParams));
  info.IdleGlyphsFaded = AreIdleGlyphsFaded();
  info.HotGlyphsShadowed = AreHotGlyphsShadowed();
  info.GrayScale = button && button->GrayScale;
  info.Selected = AStates.Selected;
  info.Down = AStates.Down;
  info.Pressed = AStates.Pressed;
  TcxGlyphDrawOptions options;
  if (!IsGlyphDrawnWithoutBackground(control))
    options.BackgroundBrush = IsGlyphBackgroundDrawn(control, AStates) ? ABrush : control->GetBackgroundBrush();
  TdxBarManager* manager = control->GetBarManager();
  if (!manager && ParentOf(ADrawParams))
    manager = ParentOf(ADrawParams)->GetBarManager();
  options.ImageListBkColor = manager ? manager->GetImageListBkColor() : clNone;
  TcxGlyphDrawingMode mode = GetGlyphDrawingMode(info);
  TdxBarImageOptions* imageOptions = manager ? manager->GetImageOptions() : nullptr;
  TdxCachedImageOptions* cache = control->GetCachedImageOptions();
  // An image without a solid background to compose over, and the shadowed mode, which
  // mixes with what lies beneath, are drawn directly.
  const bool hasGlyph = glyph && !glyph->Empty();
  const COLORREF background = hasGlyph ? CLR_INVALID : SolidBrushColor(options.BackgroundBrush);
  bool cached = cache && cache->GetBitmap() && imageOptions && imageOptions->GetCacheGlyphs() && mode != gdmShadowed &&
                (hasGlyph || (images && background != CLR_INVALID));
  if (!cached) {
    DrawGlyphOrImage(DC, AGlyphRect, AGlyphRect, glyph, images, index, mode, options);
    return;
  }
  DrawCachedGlyph(DC, AGlyphRect, glyph, images, index, mode, options, background, *cache);
}

// ---------------------------------------------------------------------------
// Toolbar button text

void TdxBarPainter::GetButtonTextRect(const TdxBarItemControlDrawParams* ADrawParams, const TRect& AContentRect,
                                      const TRect& AGlyphRect, TRect& ATextRect, TdxBarTextAlignment& AAlignment) const
{
  ATextRect = AContentRect;
  AAlignment = dxBarTextAlignLeft;
  if (!ADrawParams)
    return;
  bool vertical = ADrawParams->IsVertical();
  if (ADrawParams->ViewSize == isLarge) {
    AAlignment = dxBarTextAlignCenter;
    if (!ADrawParams->HasGlyphPart() || IsRectEmpty(AGlyphRect))
      return;
    const TdxBarButtonLikeControlDrawParams* button = AsButton(ADrawParams);
    switch (button ? button->GlyphLayout : glTop) {
      case glLeft:
        (vertical ? ATextRect.top : ATextRect.left) =
            (vertical ? AGlyphRect.bottom : AGlyphRect.right) + Metrics().LargeGlyphTextGap;
        AAlignment = dxBarTextAlignLeft;
        break;
      case glRight:
        (vertical ? ATextRect.bottom : ATextRect.right) =
            (vertical ? AGlyphRect.top : AGlyphRect.left) - Metrics().LargeGlyphTextGap;
        AAlignment = dxBarTextAlignRight;
        break;
      case glBottom:
        if (vertical)
          ATextRect.left = AGlyphRect.right;
        else
          ATextRect.bottom = AGlyphRect.top;
        break;
      default:  // glTop
        if (vertical)
          ATextRect.right = AGlyphRect.left;
        else
          ATextRect.top = AGlyphRect.bottom;
        break;
    }
    return;
  }
  int indent = ADrawParams->HasGlyphPart()
                   ? (vertical ? ADrawParams->GlyphSize.cy : ADrawParams->GlyphSize.cx)
                   : (ADrawParams->ItemControl ? ADrawParams->ItemControl->GetCaptionMargin() : 0);
  (vertical ? ATextRect.top : ATextRect.left) += indent;
  if (!IsPressedTextFixed())
    ShiftPressedContent(ADrawParams->States.Down, ADrawParams->States.Pressed, ATextRect);
}

// ---------------------------------------------------------------------------
// Button-like controls

void TdxBarPainter::FillBackgroundRect(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R,
                                       HBRUSH ABrush, bool AUseBrush) const
{
  if (!DC || IsRectEmpty(R))
    return;
  const TCustomdxBarControl* parent = ParentOf(ADrawParams);
  if (AUseBrush || !parent) {
    if (ABrush)
      ::FillRect(DC, &R, ABrush);
    return;
  }
  parent->FillBackground(DC, R, parent->GetBackgroundBrush());
}

void TdxBarPainter::DrawButtonFace(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  FillBackgroundRect(ADrawParams, ParamsDC(ADrawParams), R, GetButtonBackgroundBrush(ADrawParams),
                     IsButtonBackgroundDrawn(ADrawParams));
}

void TdxBarPainter::DrawButtonLikeControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  const TdxBarButtonLikeControlDrawParams* button = AsButton(ADrawParams);
  TRect r = R;
  if (button && button->Lowered)
    DrawLoweredBorder(DC, r);
  if (ADrawParams->IsMenu()) {
    DrawGlyphAndCaption(ADrawParams, r);
    return;
  }
  bool split = ADrawParams->IsDropDown && button && button->IsSplit;
  TRect content = r;
  if (split)
    content.right = std::max(content.left, content.right - std::max(0, button->ArrowWidth));

  // The face gets its background first: the window paints its own background only around
  // its items. The glyph's frame and background then cover the whole face, so a hot or
  // down button with a caption is highlighted as one piece.
  DrawButtonFace(ADrawParams, content);
  const TdxBarItemStateFlags& states = ADrawParams->States;
  TRect frame = content;
  if (ADrawParams->ViewSize == isLarge) {
    content = InflateRect(content, -1, -1);
    ShiftPressedContent(states.Down, states.Pressed, content);
  }
  // The glyph's first state: held, or (flat kinds) the drop-down is open.
  TdxBarItemStateFlags glyphStates = states;
  glyphStates.Pressed =
      states.Pressed || (states.DroppedDown && (IsFlatStyle() || (button && button->PaintsDroppedDown)));
  TRect glyphRect{};
  DrawGlyph(ADrawParams, DC, glyphStates, ADrawParams->ViewSize, frame, content, glyphRect);

  if (ADrawParams->HasCaptionPart()) {
    TRect textRect{};
    TdxBarTextAlignment alignment = dxBarTextAlignLeft;
    GetButtonTextRect(ADrawParams, content, glyphRect, textRect, alignment);
    DrawItemText(ADrawParams->ItemControl, DC, ADrawParams->Caption, textRect, alignment,
                 ButtonCaptionFlags(*this, ADrawParams), DT_SINGLELINE);
  }
  if (ADrawParams->IsDropDown) {
    if (split)
      DrawButtonArrowPart(ADrawParams, r);
    else
      DrawDropDownArrow(ADrawParams, r);
  }
}

void TdxBarPainter::DrawButtonLikeControlCaption(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  if (!ADrawParams || !ADrawParams->HasCaptionPart() || ADrawParams->IsMenu())
    return;
  const TdxBarButtonLikeControlDrawParams* button = AsButton(ADrawParams);
  TRect content = R;
  if (ADrawParams->IsDropDown && button && button->IsSplit)
    content.right = std::max(content.left, content.right - std::max(0, button->ArrowWidth));
  TRect frame = content;
  if (ADrawParams->ViewSize == isLarge) {
    content = InflateRect(content, -1, -1);
    ShiftPressedContent(ADrawParams->States.Down, ADrawParams->States.Pressed, content);
  }
  TRect cell{};
  TRect glyphRect{};
  CalcGlyphPlace(*this, ADrawParams, ADrawParams->States, ADrawParams->ViewSize, frame, content, cell, glyphRect);
  TRect textRect{};
  TdxBarTextAlignment alignment = dxBarTextAlignLeft;
  GetButtonTextRect(ADrawParams, content, glyphRect, textRect, alignment);
  DrawButtonCaption(ADrawParams, textRect, alignment);
}

void TdxBarPainter::DrawButtonCaption(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                      TdxBarTextAlignment AAlignment) const
{
  if (!ADrawParams)
    return;
  DrawItemText(ADrawParams->ItemControl, ParamsDC(ADrawParams), ADrawParams->Caption, R, AAlignment,
               ButtonCaptionFlags(*this, ADrawParams), DT_SINGLELINE | DT_NOCLIP);
}

void TdxBarPainter::DrawButtonArrowPart(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  const TdxBarButtonLikeControlDrawParams* button = AsButton(ADrawParams);
  if (!button)
    return;
  TRect arrow = R;
  arrow.left = std::max(R.left, R.right - std::max(0, button->ArrowWidth));
  DrawButtonBackground(ADrawParams, arrow, GetButtonBackgroundBrush(ADrawParams));
  DrawButtonArrowGlyph(ADrawParams, arrow);
}

void TdxBarPainter::DrawButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                         HBRUSH ABrush) const
{
  if (!ADrawParams)
    return;
  TRect r = R;
  bool flatToolbar = IsFlatStyle() && !ADrawParams->IsMenu();
  // The arrow part of a flat button shares its left edge with the face's frame.
  if (flatToolbar)
    --r.left;
  // A held flat button gets its face from the pressed frame instead.
  if (flatToolbar && ADrawParams->States.Pressed)
    return;
  FillBackgroundRect(ADrawParams, ParamsDC(ADrawParams), r, ABrush, IsButtonBackgroundDrawn(ADrawParams));
}

bool TdxBarPainter::IsButtonPressedDrawn(const TdxBarItemControlDrawParams* ADrawParams) const
{
  return ADrawParams && ADrawParams->IsMenu() && ADrawParams->PaintedSelected && !IsFlatSelection();
}

void TdxBarPainter::DrawButtonArrowGlyph(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC)
    return;
  const TdxBarButtonLikeControlDrawParams* button = AsButton(ADrawParams);
  TRect r = R;
  bool menu = ADrawParams->IsMenu();
  if (!IsFlatStyle() && !IsFlatPressedContent() && ADrawParams->States.Pressed &&
      (menu || RectWidth(r) >= Metrics().MinShiftedArrowWidth))
    r = OffsetRect(r, 1, 1);
  bool enabled = ADrawParams->Enabled && (!button || button->DropDownEnabled);
  bool selected = IsButtonPressedDrawn(ADrawParams);
  if (menu)
    DrawArrowSized(DC, r, adRight, GetArrowColor(ADrawParams), enabled, selected,
                   button ? button->BarArrowSize : GetArrowSizeForRect(r, adRight));
  else
    DrawArrow(DC, r, adDown, GetArrowColor(ADrawParams), enabled, selected);
}

void TdxBarPainter::DrawDropDownArrow(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC)
    return;
  const TCustomdxBarControl* parent = ParentOf(ADrawParams);
  int textHeight = parent ? parent->GetTextHeight() : ADrawParams->TextHeight;
  TFont* font = parent ? parent->GetFont() : nullptr;
  int fontHeight = font ? std::abs(font->GetHeight()) : 0;
  int indent = textHeight / 2 + fontHeight / 2;
  TRect r = R;
  TcxArrowDirection direction = adRight;
  bool selected = false;
  const TdxBarButtonLikeControlDrawParams* button = AsButton(ADrawParams);
  if (ADrawParams->IsMenu()) {
    int arrowSize = button ? button->BarArrowSize : 0;
    r.left = R.right - textHeight + arrowSize;
    selected = ADrawParams->PaintedSelected && !IsFlatSelection();
  } else {
    ShiftPressedContent(ADrawParams->States.Down, ADrawParams->States.Pressed, r);
    if (ADrawParams->IsVertical())
      r.top = r.bottom - indent;
    else {
      r.left = r.right - indent;
      direction = adDown;
    }
    selected = button && button->CaptionDrawnSelected;
  }
  DrawArrow(DC, r, direction, GetArrowColor(ADrawParams), ADrawParams->Enabled, selected);
}

// ---------------------------------------------------------------------------
// Menu items

void TdxBarPainter::DrawGlyphAndCaption(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC)
    return;
  PrepareGlyphAndCaption(ADrawParams, R);
  DrawMenuItemBackground(ADrawParams, R);
  const TCustomdxBarControl* menu = ParentOf(ADrawParams);
  TRect glyphColumn = GetMenuGlyphRect(menu, R);
  TdxBarItemStateFlags states;
  states.Down = ADrawParams->States.Down;
  states.Selected = ADrawParams->PaintedSelected;
  states.GlyphColumn = true;
  TRect glyphRect{};
  DrawGlyph(ADrawParams, DC, states, ADrawParams->ViewSize, glyphColumn, glyphColumn, glyphRect);

  TRect caption = InflateRect(GetMenuCaptionRect(menu, R), 0, GetMenuCaptionInset());
  const TdxBarItemTextFlags flags{
      .Enabled = ADrawParams->Enabled, .Selected = ADrawParams->PaintedSelected, .FlatSelection = IsFlatSelection()};
  if (DrawMenuItemDescription(ADrawParams, caption)) {
    // Above its description the caption is bold.
    TFontCopy bold(DC, MakeBold);
    DrawItemText(ADrawParams->ItemControl, DC, ADrawParams->Caption, caption, dxBarTextAlignLeft, flags, DT_SINGLELINE);
  } else
    DrawItemText(ADrawParams->ItemControl, DC, ADrawParams->Caption, caption, dxBarTextAlignLeft, flags, DT_SINGLELINE);
  if (!ADrawParams->ShortCut.empty()) {
    TRect shortCut = caption;
    shortCut.right -= (menu ? menu->GetTextHeight() : ADrawParams->TextHeight) + 5;
    DrawItemText(ADrawParams->ItemControl, DC, ADrawParams->ShortCut, shortCut, dxBarTextAlignRight, flags,
                 DT_SINGLELINE);
  }
}

bool TdxBarPainter::DrawMenuItemDescription(const TdxBarItemControlDrawParams* ADrawParams, TRect& ACaption) const
{
  HDC DC = ParamsDC(ADrawParams);
  const TdxBarItemControl* control = ADrawParams ? ADrawParams->ItemControl : nullptr;
  if (!DC || ADrawParams->Description.empty())
    return false;
  if (!ADrawParams->DescriptionVisible)
    return false;
  TcxCanvas* canvas = ADrawParams->Canvas;
  int t = canvas->TextHeight(L"Wg");
  int h = RectHeight(ACaption);
  TRect below = ACaption;
  ACaption.bottom -= 2 * ((h - 3 * t) / 4 + t);
  below.top = ACaption.bottom;
  const TCustomdxBarControl* menu = ParentOf(ADrawParams);
  below.right -= menu ? menu->GetTextHeight() : ADrawParams->TextHeight;
  if (below.right <= below.left || t <= 0)
    return true;
  TStringList lines;
  SplitTextIntoLines(canvas, ADrawParams->Description, RectWidth(below), &lines);
  for (int i = 0; i < std::min(lines.GetCount(), Metrics().DescriptionLineCount); ++i) {
    String text = lines.Get(i);
    TRect line = Rect(below.left, below.top + i * t, below.right, below.top + (i + 1) * t);
    UINT format = DT_SINGLELINE;
    bool last = i == Metrics().DescriptionLineCount - 1 && lines.GetCount() > Metrics().DescriptionLineCount;
    if (last) {
      // What does not fit runs on in the last line and ends in an ellipsis.
      for (int j = i + 1; j < lines.GetCount(); ++j)
        text += L" " + lines.Get(j);
      format |= DT_END_ELLIPSIS;
    }
    DrawItemText(control, DC, text, line, dxBarTextAlignLeft,
                 {.Enabled = ADrawParams->Enabled,
                  .Selected = ADrawParams->PaintedSelected,
                  .Clipped = last,
                  .FlatSelection = IsFlatSelection()},
                 format);
  }
  return true;
}
