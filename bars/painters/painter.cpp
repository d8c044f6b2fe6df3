// The base painter's metrics, colours, brushes and decision rules, the class-level answers
// of the painter kinds, and the replaceable skin painter class.
#include "bars/painters/painter.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter_helpers.h"
#include "bars/model/startup.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"

IMPLEMENT_CLASS(TdxBarPainter, TObject)
IMPLEMENT_CLASS(TdxBarStandardPainter, TdxBarPainter)
IMPLEMENT_CLASS(TdxBarEnhancedPainter, TdxBarStandardPainter)
IMPLEMENT_CLASS(TdxBarFlatPainter, TdxBarPainter)
IMPLEMENT_CLASS(TdxBarXPPainter, TdxBarPainter)
IMPLEMENT_CLASS(TdxBarOffice11Painter, TdxBarFlatPainter)

namespace {

bool IsInMenu(const TdxBarItemControl* AControl)
{
  const TCustomdxBarControl* parent = ParentOf(AControl);
  return parent && parent->GetBarKind() == bkMenu;
}

}  // namespace

// ---------------------------------------------------------------------------
// The painter and general queries

bool TdxBarPainter::IsFadedDisabledImages(const TCustomdxBarControl* ABarControl) const
{
  TdxBarManager* manager = ABarControl ? ABarControl->GetBarManager() : nullptr;
  return manager && manager->GetMakeDisabledImagesFaded();
}

int TdxBarPainter::GetSysColorByIndex(const TCustomdxBarControl* ABarControl, bool AActive) const
{
  return AActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION;
}

TColor TdxBarPainter::GetCaptionTextColor(const TCustomdxBarControl* ABarControl) const
{
  return SysColor(COLOR_CAPTIONTEXT);
}

TColor TdxBarPainter::GetCaptionButtonGlyphColor(const TCustomdxBarControl* ABarControl, TdxBarMarkState AState) const
{
  return SysColor(COLOR_CAPTIONTEXT);
}

bool TdxBarPainter::IsFlatSelection() const
{
  return IsFlatStyle() && GetSysColor(COLOR_BTNFACE) != RGB(255, 255, 255);
}

void TdxBarPainter::InitLookAndFeel(const TdxBarManager* AManager, TcxLookAndFeel* ALookAndFeel) const
{
  if (AManager && ALookAndFeel)
    SetLookAndFeelFromBarStyle(ALookAndFeel, AManager->GetRealStyle());
}

// ---------------------------------------------------------------------------
// Text and its colours

TColor TdxBarPainter::GetTextColor(const TdxBarItemControl* AControl, bool ASelected, bool AFlatSelection) const
{
  return SysColor(ASelected && !AFlatSelection ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
}

void TdxBarPainter::GetDisabledTextColors(const TdxBarItemControl* AControl, bool ASelected, bool AFlatSelection,
                                          TColor& ATextColor, TColor& AEmbossColor) const
{
  if (ASelected || AFlatSelection) {
    ATextColor = SysColor(COLOR_GRAYTEXT);
    AEmbossColor = ATextColor;
  } else {
    ATextColor = SysColor(COLOR_BTNSHADOW);
    AEmbossColor = SysColor(COLOR_BTNHIGHLIGHT);
  }
}

TColor TdxBarPainter::GetItemTextColor(const TdxBarItemControl* AControl, bool ASelected, bool AFlatSelection) const
{
  return GetTextColor(AControl, ASelected, AFlatSelection);
}

TColor TdxBarPainter::GetArrowColor(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (!IsArrowColorFromText() || !ADrawParams)
    return clDefault;
  TColor text = clDefault;
  TColor emboss = clDefault;
  GetTextColors(ADrawParams->ItemControl, ADrawParams->Enabled, ADrawParams->PaintedSelected, IsFlatSelection(), text,
                emboss);
  return text;
}

void TdxBarPainter::GetTextColors(const TdxBarItemControl* AControl, bool AEnabled, bool ASelected, bool AFlatSelection,
                                  TColor& ATextColor, TColor& AEmbossColor) const
{
  if (!AEnabled) {
    GetDisabledTextColors(AControl, ASelected, AFlatSelection, ATextColor, AEmbossColor);
    return;
  }
  TColor styleColor = AControl ? AControl->GetStyleTextColor() : clDefault;
  ATextColor = styleColor != clDefault ? styleColor : GetItemTextColor(AControl, ASelected, AFlatSelection);
  AEmbossColor = ATextColor;
}

int TdxBarPainter::GetSubItemCaptionMargin(const TdxBarItemControl* AControl) const
{
  // A font given by its cell height has a positive Height; the margin is half the pixel
  // height either way.
  const TCustomdxBarControl* parent = ParentOf(AControl);
  TFont* font = parent ? parent->GetFont() : nullptr;
  return font ? std::abs(font->GetHeight()) / 2 : 0;
}

int TdxBarPainter::GetTextHeight(TcxCanvas* ACanvas) const
{
  return ACanvas ? ACanvas->TextHeight(L"Wg") + 6 : 0;
}

TRect TdxBarPainter::CalcTextRectForLines(TcxCanvas* ACanvas, const String& AText, int ALineCount) const
{
  return ACanvas ? GetTextRectForLineCount(ACanvas, AText, ALineCount) : TRect{};
}

// ---------------------------------------------------------------------------
// Glyphs and check marks

void TdxBarPainter::DrawCheckMarkInRect(const TdxBarItemControl* AControl, HDC DC, const TRect& R, bool ADown,
                                        int ABarKind, bool AEnabled) const
{
  if (!DC || !ADown || ABarKind != bkMenu)
    return;
  const TCustomdxBarControl* parent = ParentOf(AControl);
  TFont* font = parent ? parent->GetFont() : nullptr;
  int scale = font && std::abs(font->GetSize()) > Metrics().LargeCheckMarkFontSize ? 2 : 1;
  TPoint p = Point((R.left + R.right - Metrics().CheckMarkWidth * scale) / 2,
                   (R.top + R.bottom - Metrics().CheckMarkHeight * scale) / 2);
  DrawCheckMark(DC, p, scale, AEnabled);
}

TRect TdxBarPainter::CalcGlyphRect(const TdxBarItemControlDrawParams* ADrawParams, const TSize& AGlyphSize,
                                   const TRect& AContentRect, int AGlyphLayout) const
{
  TRect r = CenterRectInRect(AContentRect, AGlyphSize.cx, AGlyphSize.cy);
  if (!ADrawParams || !ADrawParams->HasCaptionPart())
    return r;
  int dx = 0;
  int dy = 0;
  if (!ADrawParams->IsVertical()) {
    switch (AGlyphLayout) {
      case glLeft:
        dx = AContentRect.left + Metrics().GlyphLayoutIndentAlong - r.left;
        break;
      case glRight:
        dx = AContentRect.right - Metrics().GlyphLayoutIndentAlong - r.right;
        break;
      case glTop:
        dy = AContentRect.top + Metrics().GlyphLayoutIndentAcross - r.top;
        break;
      case glBottom:
        dy = AContentRect.bottom - Metrics().GlyphLayoutIndentAcross - r.bottom;
        break;
      default:
        break;
    }
  } else {
    switch (AGlyphLayout) {
      case glLeft:
        dy = AContentRect.top + Metrics().GlyphLayoutIndentAlong - r.top;
        break;
      case glRight:
        dy = AContentRect.bottom - Metrics().GlyphLayoutIndentAlong - r.bottom;
        break;
      case glTop:
        dx = AContentRect.right - Metrics().GlyphLayoutIndentAcross - r.right;
        break;
      case glBottom:
        dx = AContentRect.left + Metrics().GlyphLayoutIndentAcross - r.left;
        break;
      default:
        break;
    }
  }
  return OffsetRectBy(r, dx, dy);
}

HBRUSH TdxBarPainter::GetGlyphBackgroundBrush(const TdxBarItemControl* AControl,
                                              const TdxBarItemStateFlags& AStates) const
{
  return AControl ? AControl->GetBackgroundBrush() : dxBarSysColorBrush(COLOR_BTNFACE);
}

bool TdxBarPainter::IsGlyphBackgroundDrawn(const TdxBarItemControl* AControl, const TdxBarItemStateFlags& AStates) const
{
  if (!AControl)
    return false;
  if (!AStates.Pressed)
    return AControl->IsActive() || AControl->HasOwnBrush();
  return AControl->IsActive() || AStates.Down || AStates.Selected || AStates.DroppedDown;
}

bool TdxBarPainter::IsGlyphDrawnWithoutBackground(const TdxBarItemControl* AControl) const
{
  if (IsNativeStyle())
    return true;
  const TCustomdxBarControl* parent = ParentOf(AControl);
  return AControl && !AControl->IsActive() && parent && parent->IsBackgroundShownThrough();
}

TSize TdxBarPainter::GetImageSize(int AIconSize, int ATextHeight) const
{
  return Size(GetGlyphAreaWidth(AIconSize), GetGlyphAreaHeight(AIconSize));
}

// ---------------------------------------------------------------------------
// Arrows

void TdxBarPainter::DrawArrow(HDC DC, const TRect& R, TcxArrowDirection ADirection, TColor AColor, bool AEnabled,
                              bool ASelected) const
{
  DrawArrowEx(DC, R, ADirection, -1, AColor, AEnabled, ASelected, IsFlatStyle());
}

void TdxBarPainter::DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection ADirection, TColor AColor, bool AEnabled,
                                   bool ASelected, int ASize) const
{
  DrawArrowEx(DC, R, ADirection, std::max(0, ASize), AColor, AEnabled, ASelected, IsFlatStyle());
}

int TdxBarPainter::GetButtonArrowWidth(const TdxBarManager* AManager) const
{
  if (!AManager)
    return 0;
  int width = (AManager->GetLargeIcons() ? 2 : 1) * AManager->GetButtonArrowWidth();
  return (width % 2 == 0 ? width + 1 : width) + Metrics().ArrowWidthDelta;
}

int TdxBarPainter::GetLargeButtonArrowWidth(const TdxBarManager* AManager) const
{
  return AManager ? AManager->GetLargeButtonArrowWidth() + Metrics().ArrowWidthDelta : 0;
}

// ---------------------------------------------------------------------------
// Buttons, sub items on toolbars and large buttons

void TdxBarPainter::CalcButtonLikeControlParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& AItemRect,
                                               int AArrowWidth, std::vector<TRect>& AParts) const
{
  AParts.assign(1, AItemRect);
  if (!ADrawParams || !ADrawParams->IsDropDown)
    return;
  int split = std::clamp(AItemRect.right - std::max(0, AArrowWidth), AItemRect.left, AItemRect.right);
  AParts[dxBarButtonPartFace].right = split;
  AParts.push_back(Rect(split, AItemRect.top, AItemRect.right, AItemRect.bottom));
}

void TdxBarPainter::DrawLoweredBorder(HDC DC, TRect& R) const
{
  if (DC)
    ::DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT);
  ::InflateRect(&R, -1, -1);
}

int TdxBarPainter::GetItemIndent(const TdxBarItemControl* AControl) const
{
  return IsInMenu(AControl) ? ParentOf(AControl)->GetTextHeight() + Metrics().MenuItemIndentExtra : 0;
}

void TdxBarPainter::ShiftPressedContent(bool ADown, bool APressed, TRect& R) const
{
  if (IsFlatStyle())
    return;
  if (ADown || APressed)
    ::OffsetRect(&R, 1, 1);
  if (ADown && APressed && !IsFlatPressedContent())
    ::OffsetRect(&R, 1, 1);
}

void TdxBarPainter::ShiftPressedArrow(TRect& R, bool APressed) const
{
  if (APressed && !IsFlatStyle())
    ::OffsetRect(&R, 1, 1);
}

HBRUSH TdxBarPainter::GetButtonBackgroundBrush(const TdxBarItemControlDrawParams* ADrawParams) const
{
  return ADrawParams && ADrawParams->ItemControl ? ADrawParams->ItemControl->GetBackgroundBrush()
                                                 : dxBarSysColorBrush(COLOR_BTNFACE);
}

bool TdxBarPainter::IsButtonBackgroundDrawn(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (!ADrawParams)
    return false;
  if (ADrawParams->ItemControl && ADrawParams->ItemControl->IsActive())
    return true;
  return IsFlatStyle() && (ADrawParams->States.Pressed || ADrawParams->PaintedSelected);
}
