// The base painter's answers for bar windows, menus, edits, statics and hints, the values
// read from the system (frames, captions, size grips), and the kinds' arrow widths.
#include "bars/painters/painter.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/hints/hintwindow.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter_helpers.h"
#include "bars/hints/screentips.h"
#include "bars/model/startup.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxControls.h"
#include "lookandfeel/cxGraphics.h"

namespace {

// The system's small caption height; the classic value when the metrics cannot be read.
int ReadSmallCaptionHeight()
{
  if (const std::optional<NONCLIENTMETRICSW> metrics = ReadNonClientMetrics())
    return metrics->iSmCaptionHeight;
  return GetSystemMetrics(SM_CYSMCAPTION) - 1;
}

// The height of AText in a bar window's font, measured on the screen.
int MeasureInWindowFont(const TCustomdxBarControl* ABar, const wchar_t* AText)
{
  TcxScreenCanvas canvas;
  if (ABar)
    if (TFont* font = ABar->GetFont())
      canvas.SetFont(font);
  return canvas.TextHeight(AText);
}

}  // namespace

// ---------------------------------------------------------------------------
// Bar windows: frames, backgrounds, captions, marks and size grips

void TdxBarPainter::DrawBarBackground(const TCustomdxBarControl* ABarControl, HDC DC) const
{
  if (!ABarControl || !DC)
    return;
  // The client rectangle of a window that has none yet is empty: nothing is filled.
  TRect r = ABarControl->GetClientRect();
  ABarControl->FillBackground(DC, r, ABarControl->GetBackgroundBrush(), clNone);
}

TRect TdxBarPainter::GetCaptionRect(const TRect& AWindowRect) const
{
  TRect r = AWindowRect;
  ::InflateRect(&r, -GetSizingFrameWidth(), -GetSizingFrameHeight());
  r.bottom = r.top + GetSmallCaptionHeight();
  return r;
}

int TdxBarPainter::GetSizingFrameWidth() const
{
  return GetSystemMetrics(SM_CXFRAME);
}

int TdxBarPainter::GetSizingFrameHeight() const
{
  return GetSystemMetrics(SM_CYFRAME);
}

HBRUSH TdxBarPainter::GetToolbarBackgroundBrush(const TCustomdxBarControl* ABarControl) const
{
  return GetBackgroundBrush(ABarControl);
}

HBRUSH TdxBarPainter::GetBackgroundBrush(const TCustomdxBarControl* ABarControl) const
{
  return dxBarSysColorBrush(COLOR_BTNFACE);
}

HBRUSH TdxBarPainter::GetCheckerBrush(const TCustomdxBarControl* ABarControl) const
{
  return dxBarCheckerBrush();
}

HBRUSH TdxBarPainter::GetFaceBrush(const TCustomdxBarControl* ABarControl) const
{
  return dxBarSysColorBrush(COLOR_BTNFACE);
}

HBRUSH TdxBarPainter::GetHighlightBrush(const TCustomdxBarControl* ABarControl) const
{
  return dxBarSysColorBrush(COLOR_HIGHLIGHT);
}

int TdxBarPainter::GetDefaultItemWidth(const TCustomdxBarControl* ABarControl, int AZeroWidth) const
{
  return 2 * AZeroWidth - 1;
}

int TdxBarPainter::GetDefaultItemHeight(const TCustomdxBarControl* ABarControl, int AZeroHeight) const
{
  // A toolbar item's own border is its lowered border, on both sides; the content
  // margins add their top and bottom.
  TRect margins = GetButtonContentMargins();
  return AZeroHeight + margins.top + margins.bottom + 2 * GetLoweredBorderWidth();
}

TRect TdxBarPainter::GetBarBorderRect() const
{
  int w = GetBarBorderWidth();
  return Rect(w, w, w, w);
}

int TdxBarPainter::GetSmallCaptionHeight() const
{
  return ReadSmallCaptionHeight();
}

TSize TdxBarPainter::GetCaptionButtonSize() const
{
  int h = GetSmallCaptionHeight();
  return Size(h, h);
}

int TdxBarPainter::GetCaptionTextLeft(const TCustomdxBarControl* ABarControl, const TRect& ACaptionRect) const
{
  // A mark at the caption's start pushes the text past it. The mark normally sits at the
  // caption's end; in a narrow window it can lie left of the middle and must still leave
  // the text its place, so only a mark where the text would begin counts.
  int left = ACaptionRect.left + 2;
  if (ABarControl && ABarControl->HasCaptionMark()) {
    TRect mark = ABarControl->GetMarkRect();
    if (mark.left <= left)
      return mark.right + 3;
  }
  return left;
}

int TdxBarPainter::GetMarkArrowColorIndex(const TCustomdxBarControl* ABarControl) const
{
  return COLOR_BTNTEXT;
}

bool TdxBarPainter::IsSmallMark(const TRect& R) const
{
  return RectHeight(R) <= Metrics().SmallMarkMaxHeight;
}

TSize TdxBarPainter::GetSizeGripSize() const
{
  return Size(GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYHSCROLL));
}

// ---------------------------------------------------------------------------
// Menus

TRect TdxBarPainter::GetMenuBorders(const TCustomdxBarControl* AMenu) const
{
  int b = GetMenuBorderSize();
  return Rect(b, b, b, b);
}

int TdxBarPainter::GetDetachStripValue(const TCustomdxBarControl* AMenu) const
{
  int half = MeasureInWindowFont(AMenu, L"Qq") / 2;
  return half % 2 == 0 ? half + 1 : half;
}

int TdxBarPainter::GetDetachStripHeight(const TCustomdxBarControl* AMenu) const
{
  return GetDetachStripValue(AMenu) + Metrics().DetachStripExtra;
}

int TdxBarPainter::CalcMenuTextHeight(int ADigitHeight) const
{
  int height = ADigitHeight + 1;
  int arrow = GetScrollButtonArrowSize(height);
  if (arrow % 2 != 0)
    height = 2 * (arrow - 1) + 6;
  return height;
}

int TdxBarPainter::GetMenuCaptionIndent(const TCustomdxBarControl* AMenu) const
{
  return (AMenu ? AMenu->GetGlyphColumnWidth() : 0) + 3;
}

TRect TdxBarPainter::GetMenuGlyphRect(const TCustomdxBarControl* AMenu, const TRect& R) const
{
  TRect r = R;
  r.right = r.left + (AMenu ? AMenu->GetGlyphColumnWidth() : 0);
  return r;
}

TRect TdxBarPainter::GetMenuCaptionRect(const TCustomdxBarControl* AMenu, const TRect& R) const
{
  TRect r = R;
  r.left += GetMenuCaptionIndent(AMenu);
  return r;
}

TRect TdxBarPainter::GetSeparatorRect(const TdxBarItemControl* AControl, const TRect& AItemRect) const
{
  // An active item in a menu draws its frame one pixel above its rectangle.
  const TCustomdxBarControl* parent = AControl ? AControl->GetBarControl() : nullptr;
  int bottom = AItemRect.top;
  if (AControl && AControl->IsActive() && parent && parent->GetBarKind() == bkMenu)
    --bottom;
  return Rect(AItemRect.left, bottom - GetMenuSeparatorHeight(), AItemRect.right, bottom);
}

int TdxBarPainter::GetScrollButtonHeight(const TCustomdxBarControl* AMenu) const
{
  return AMenu ? AMenu->GetTextHeight() : 0;
}

TRect TdxBarPainter::GetScrollButtonRect(const TCustomdxBarControl* AMenu, const TRect& AItemArea, bool ADown) const
{
  TRect r = AItemArea;
  int h = std::min(GetScrollButtonHeight(AMenu), RectHeight(AItemArea));
  if (ADown)
    r.top = r.bottom - h;
  else
    r.bottom = r.top + h;
  return r;
}

HBRUSH TdxBarPainter::GetLessUsedBrush(const TCustomdxBarControl* AMenu) const
{
  if (HBRUSH brush = AMenu ? AMenu->GetLessUsedBrush() : nullptr)
    return brush;
  return AMenu ? AMenu->GetBackgroundBrush() : GetBackgroundBrush(AMenu);
}

HBRUSH TdxBarPainter::GetMenuBorderBrush(const TCustomdxBarControl* AMenu) const
{
  return dxBarSysColorBrush(COLOR_BTNFACE);
}

// ---------------------------------------------------------------------------
// Edits, combos and spin edits

TColor TdxBarPainter::GetEditBackgroundColor() const
{
  return SysColor(COLOR_WINDOW);
}

TColor TdxBarPainter::GetEditTextColor() const
{
  return SysColor(COLOR_WINDOWTEXT);
}

TColor TdxBarPainter::GetDisabledEditTextColor() const
{
  return SysColor(COLOR_GRAYTEXT);
}

TColor TdxBarPainter::GetEditBrushColor(const TdxBarItemControlDrawParams* ADrawParams) const
{
  return GetEditBackgroundColor();
}

TSize TdxBarPainter::GetSpinArrowSize(int AButtonHeight) const
{
  int h = std::max(0, ((AButtonHeight / 2) - 2) / 2);
  return Size(std::max(0, 2 * h - 1), h);
}

TColor TdxBarPainter::GetDateNavigatorHeaderColor() const
{
  return SysColor(COLOR_BTNFACE);
}

// ---------------------------------------------------------------------------
// Statics, progress bars and separators

TColor TdxBarPainter::GetProgressBarColor() const
{
  return SysColor(COLOR_HIGHLIGHT);
}

HBRUSH TdxBarPainter::GetInPlaceSubItemFrameBrush(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (ADrawParams && ADrawParams->PaintedSelected && ADrawParams->ItemControl)
    if (const TCustomdxBarControl* parent = ADrawParams->ItemControl->GetBarControl())
      return parent->GetHighlightBrush();
  return dxBarSysColorBrush(COLOR_BTNSHADOW);
}

HBRUSH TdxBarPainter::GetStaticBackgroundBrush(const TdxBarItemControlDrawParams* ADrawParams) const
{
  return ADrawParams && ADrawParams->ItemControl ? ADrawParams->ItemControl->GetBackgroundBrush()
                                                 : dxBarSysColorBrush(COLOR_BTNFACE);
}

TRect TdxBarPainter::GetStaticBorderRect(TdxBarStaticBorderStyle ABorderStyle) const
{
  int w = 0;
  switch (ABorderStyle) {
    case sbsLowered:
    case sbsRaised:
      w = 1;
      break;
    case sbsEtched:
    case sbsBump:
      w = 2;
      break;
    default:
      w = 0;
      break;
  }
  return Rect(w, w, w, w);
}

// ---------------------------------------------------------------------------
// Hints

std::unique_ptr<TdxBarCustomHintViewInfo> TdxBarPainter::CreateHintViewInfo(const TdxBarManager* AManager,
                                                                            const String& AText,
                                                                            const String& AShortCut,
                                                                            TObject* AScreenTip) const
{
  if (auto* tip = dynamic_cast<TdxBarScreenTip*>(AScreenTip))
    return std::make_unique<TdxBarScreenTipViewInfo>(AManager, tip, AText, AShortCut);
  return std::make_unique<TdxBarHintViewInfo>(AManager, AText.empty() ? AText : AText + AShortCut, GetMouseCursorPos());
}

TPoint TdxBarPainter::GetHintPosition(const TCustomdxBarControl* ABarControl, const TPoint& P) const
{
  return Point(P.x, P.y + Metrics().HintOffsetY);
}

// ---------------------------------------------------------------------------
// The kinds

HBRUSH TdxBarFlatPainter::GetItemBackgroundBrush(const TCustomdxBarControl* ABarControl) const
{
  TdxBarManager* manager = ABarControl ? ABarControl->GetBarManager() : nullptr;
  HBRUSH brush = manager ? manager->GetFlatBrush(2) : nullptr;
  return brush ? brush : dxBarSysColorBrush(COLOR_BTNFACE);
}

HBRUSH TdxBarFlatPainter::GetBorderFillBrush(const TCustomdxBarControl* ABarControl) const
{
  return dxBarSysColorBrush(COLOR_BTNSHADOW);
}

TColor TdxBarFlatPainter::GetShadowColor() const
{
  return SysColor(COLOR_BTNSHADOW);
}

// ---------------------------------------------------------------------------
// The skin painter class

namespace {
TClass GSkinPainterClass = nullptr;
}

TClass dxBarSkinPainterClass()
{
  return GSkinPainterClass ? GSkinPainterClass : TdxBarStandardPainter::StaticClass();
}

void SetdxBarSkinPainterClass(TClass Value)
{
  GSkinPainterClass = Value;
}
