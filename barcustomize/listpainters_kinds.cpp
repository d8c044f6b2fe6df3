// The flat, gradient and themed list painters of the Customize dialog.
#include <algorithm>

#include "barcustomize/listpainters.h"
#include "barcustomize/listpainters_private.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/dxOffice11.h"
#include "lookandfeel/dxThemeManager.h"
#include "platform/Win.h"

using TListMetrics = TdxBarCustomizingFormPainterMetrics;
using namespace dxBarCustomizingFormPainting;

namespace {

int RectHeightOf(const TRect& R)
{
  return std::max(0, int(R.bottom - R.top));
}

void FrameWithSysColor(TCanvas* ACanvas, const TRect& R, int AIndex)
{
  ::FrameRect(ACanvas->GetHandle(), &R, ::GetSysColorBrush(AIndex));
}

// Parts and states as the visual-style classes number them.
namespace ListTheme {
constexpr int ToolBarButton = 1, ToolBarNormal = 1, ToolBarHot = 2;
constexpr int ComboDropDownButton = 1, ComboNormal = 1, ComboHot = 2;
constexpr int EditText = 1, EditNormal = 1, EditHot = 2;
}  // namespace ListTheme
using namespace ListTheme;

// Through the bars' theme binding, so that whatever a theme cannot draw (visual styles off,
// a part missing) is known and drawn the plain way instead.
bool IsThemeAvailable(TdxThemedObjectType AKind)
{
  const TdxBarThemeBinding& binding = dxBarThemeBinding();
  return binding.Open && binding.Draw && binding.Open(AKind) != 0;
}

bool DrawThemed(TdxThemedObjectType AKind, HDC DC, int APart, int AState, const TRect& R)
{
  const TdxBarThemeBinding& binding = dxBarThemeBinding();
  if (!DC || IsRectEmpty(&R) || !binding.Open || !binding.Draw)
    return false;
  TdxTheme theme = binding.Open(AKind);
  return theme && binding.Draw(theme, DC, APart, AState, R, nullptr);
}

}  // namespace

// ---------------------------------------------------------------------------
// Flat

TColor TdxBarCustomizingFormFlatPainter::GetBackgroundColor(bool ASelected, TdxBarItem* AItem) const
{
  if (!ASelected)
    return clWindow;
  TdxBarManager* manager = AItem ? AItem->GetBarManager() : nullptr;
  TColor color = manager ? manager->GetFlatSelectedColor() : clNone;
  return color == clNone ? clHighlight : color;
}

TColor TdxBarCustomizingFormFlatPainter::GetTextColor(bool ASelected) const
{
  return ASelected && IsHighContrastWhite() ? clBtnFace : clBtnText;
}

void TdxBarCustomizingFormFlatPainter::DrawItemFrame(TCanvas* ACanvas, TRect& R, bool ASelected) const
{
  if (!ACanvas)
    return;
  if (ASelected)
    FrameSelected(ACanvas, R);
  else
    FrameWithSysColor(ACanvas, R, COLOR_BTNSHADOW);
  InflateRect(&R, -1, -1);
}

int TdxBarCustomizingFormFlatPainter::DrawTextCell(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem,
                                                   const String& AText) const
{
  if (!ACanvas)
    return R.right;
  TRect cell = R;
  cell.right += TextCellPadding(R);
  FillTextCell(ACanvas, cell, ASelected, AItem);
  if (ASelected)
    FrameSelected(ACanvas, cell);
  ACanvas->GetFont()->SetColor(GetTextColor(ASelected));
  ACanvas->GetBrush()->SetStyle(bsClear);
  DrawTextIn(ACanvas, Rect(cell.left + TextCellIndent(R), cell.top, cell.right, cell.bottom), AText);
  ACanvas->GetBrush()->SetStyle(bsSolid);
  TRect gap = Rect(cell.right, cell.top, cell.right + TListMetrics::TextCellGap, cell.bottom);
  FillWith(ACanvas, gap, GetBackgroundColor(false, AItem));
  return gap.right;
}

void TdxBarCustomizingFormFlatPainter::DrawDropDownButton(TCanvas* ACanvas, const TRect& R, bool ASelected,
                                                          TdxBarItem* AItem) const
{
  if (!ACanvas || IsRectEmpty(&R))
    return;
  FillWith(ACanvas, R, GetBackgroundColor(ASelected, AItem));
  if (ASelected) {
    TRect frame = R;
    InflateRect(&frame, 1, 1);
    FrameSelected(ACanvas, frame);
  }
  DrawArrow(ACanvas->GetHandle(), R, adDown, clDefault, true, ASelected && IsHighContrastWhite());
}

void TdxBarCustomizingFormFlatPainter::DrawCommandItem(TCanvas* ACanvas, const TRect& R, bool ASelected,
                                                       TdxBarItem* AItem, const String& ACaption) const
{
  if (!ACanvas || IsRectEmpty(&R))
    return;
  int height = RectHeightOf(R);
  bool dropDown = AItem && HasDropDownPart(AItem);

  TRect column = Rect(R.left, R.top, std::min(R.left + height, R.right), R.bottom);
  if (ASelected)
    FillWith(ACanvas, R, GetBackgroundColor(true, AItem));
  else
    FillGlyphColumn(ACanvas, column);
  if (AItem && IsImageAvailable(AItem))
    DrawCommandGlyph(ACanvas, column, AItem);

  TRect text = R;
  text.left = column.right;
  if (dropDown)
    text.right -= TListMetrics::CommandDropDownWidth;
  if (!ASelected)
    FillWith(ACanvas, text, GetBackgroundColor(false, AItem));
  ACanvas->GetFont()->SetColor(GetTextColor(ASelected));
  text.left = R.left + height + TListMetrics::FlatTextIndent;
  DrawCommandCaption(ACanvas, text, AItem, ACaption);

  if (dropDown) {
    TRect part = Rect(R.right - TListMetrics::CommandDropDownWidth, R.top, R.right, R.bottom);
    if (ASelected)
      FrameSelected(ACanvas, part);
    else
      FrameWithSysColor(ACanvas, part, COLOR_BTNSHADOW);
    InflateRect(&part, -1, -1);
    FillWith(ACanvas, part, GetBackgroundColor(false, AItem));
    ACanvas->GetFont()->SetColor(GetTextColor(false));
    DrawSubMenuArrow(ACanvas, R.right - TListMetrics::ArrowFromRight, R.top + TListMetrics::ArrowFromTop, ASelected);
  } else if (AItem && HasSubMenuArrow(AItem)) {
    DrawSubMenuArrow(ACanvas, R.right - TListMetrics::ArrowFromRight, R.top + TListMetrics::ArrowFromTop, ASelected);
  }
  if (ASelected)
    FrameSelected(ACanvas, R);
}

void TdxBarCustomizingFormFlatPainter::FrameSelected(TCanvas* ACanvas, const TRect& R) const
{
  FrameWithSysColor(ACanvas, R, COLOR_HIGHLIGHT);
}

void TdxBarCustomizingFormFlatPainter::FillGlyphColumn(TCanvas* ACanvas, const TRect& R) const
{
  FillWith(ACanvas, R, GetBackgroundColor(false, nullptr));
}

int TdxBarCustomizingFormFlatPainter::TextCellPadding(const TRect&) const
{
  return TListMetrics::FlatTextCellPadding;
}

int TdxBarCustomizingFormFlatPainter::TextCellIndent(const TRect&) const
{
  return TListMetrics::TextOffset;
}

void TdxBarCustomizingFormFlatPainter::FillTextCell(TCanvas* ACanvas, const TRect& ACell, bool ASelected,
                                                    TdxBarItem* AItem) const
{
  FillWith(ACanvas, ACell, GetBackgroundColor(ASelected, AItem));
}

// ---------------------------------------------------------------------------
// The gradient look

TColor TdxBarCustomizingFormOffice11Painter::GetBackgroundColor(bool ASelected, TdxBarItem*) const
{
  const TdxOffice11Colors& c = dxOffice11Colors();
  return ASelected ? c.SelectedColor : c.MenuColor;
}

TColor TdxBarCustomizingFormOffice11Painter::GetTextColor(bool ASelected) const
{
  return ASelected && IsHighContrastWhite() ? clBtnFace : dxOffice11Colors().TextColor;
}

TColor TdxBarCustomizingFormOffice11Painter::GetListBackgroundColor() const
{
  return dxOffice11Colors().MenuColor;
}

void TdxBarCustomizingFormOffice11Painter::FrameSelected(TCanvas* ACanvas, const TRect& R) const
{
  FrameOffice11Rect(ACanvas->GetHandle(), R);
}

void TdxBarCustomizingFormOffice11Painter::FillGlyphColumn(TCanvas* ACanvas, const TRect& R) const
{
  const TdxOffice11Colors& c = dxOffice11Colors();
  FillTwoStageGradientRect(ACanvas->GetHandle(), R, c.MenuGlyphColor1,
                           BlendColors(c.MenuGlyphColor1, c.MenuGlyphColor2, 50), c.MenuGlyphColor2, true);
}

int TdxBarCustomizingFormOffice11Painter::TextCellPadding(const TRect& R) const
{
  return RectHeightOf(R) + TListMetrics::Office11TextCellPadding;
}

int TdxBarCustomizingFormOffice11Painter::TextCellIndent(const TRect& R) const
{
  return RectHeightOf(R) + TListMetrics::Office11TextCellPadding / 2;
}

void TdxBarCustomizingFormOffice11Painter::FillTextCell(TCanvas* ACanvas, const TRect& ACell, bool ASelected,
                                                        TdxBarItem* AItem) const
{
  FillWith(ACanvas, ACell, GetBackgroundColor(ASelected, AItem));
  if (!ASelected)
    FillGlyphColumn(ACanvas,
                    Rect(ACell.left, ACell.top, std::min(ACell.right, ACell.left + RectHeightOf(ACell)), ACell.bottom));
}

// ---------------------------------------------------------------------------
// Themed

void TdxBarCustomizingFormXPPainter::DrawItemFrame(TCanvas* ACanvas, TRect& R, bool) const
{
  if (!ACanvas)
    return;
  ACanvas->FrameRect(R);
  InflateRect(&R, -1, -1);
}

void TdxBarCustomizingFormXPPainter::DrawItemImage(TCanvas* ACanvas, const TRect& R, bool ASelected,
                                                   TdxBarItem* AItem) const
{
  if (!ACanvas)
    return;
  if (!IsThemeAvailable(totEdit)) {
    inherited::DrawItemImage(ACanvas, R, ASelected, AItem);
    return;
  }
  TRect inner = R;
  InflateRect(&inner, -1, -1);
  inherited::DrawItemImage(ACanvas, inner, ASelected, AItem);
  // The themed field draws only its border round the sample.
  // Only the clip region is saved: a restored DC could select a canvas object freed meanwhile.
  HDC DC = ACanvas->GetHandle();
  TdxBarClipRgn saved = SaveClipRgn(DC);
  ::ExcludeClipRect(DC, inner.left, inner.top, inner.right, inner.bottom);
  if (!DrawThemed(totEdit, DC, EditText, ASelected ? EditHot : EditNormal, R))
    inherited::DrawItemImage(ACanvas, R, ASelected, AItem);
  RestoreClipRgn(DC, saved);
}

void TdxBarCustomizingFormXPPainter::DrawDropDownButton(TCanvas* ACanvas, const TRect& R, bool ASelected,
                                                        TdxBarItem* AItem) const
{
  if (!ACanvas || IsRectEmpty(&R))
    return;
  FillWith(ACanvas, R, GetBackgroundColor(false, AItem));
  if (!DrawThemed(totComboBox, ACanvas->GetHandle(), ComboDropDownButton, ASelected ? ComboHot : ComboNormal, R))
    inherited::DrawDropDownButton(ACanvas, R, ASelected, AItem);
}

void TdxBarCustomizingFormXPPainter::DrawCommandGlyphFrame(TCanvas* ACanvas, const TRect& AColumn) const
{
  if (!DrawThemed(totToolBar, ACanvas->GetHandle(), ToolBarButton, ToolBarHot, AColumn))
    inherited::DrawCommandGlyphFrame(ACanvas, AColumn);
}

void TdxBarCustomizingFormXPPainter::DrawCommandDropDownPart(TCanvas* ACanvas, const TRect& APart, bool ASelected,
                                                             TdxBarItem* AItem) const
{
  if (!IsThemeAvailable(totToolBar)) {
    inherited::DrawCommandDropDownPart(ACanvas, APart, ASelected, AItem);
    return;
  }
  FillWith(ACanvas, APart, GetBackgroundColor(false, AItem));
  if (!DrawThemed(totToolBar, ACanvas->GetHandle(), ToolBarButton, ASelected ? ToolBarHot : ToolBarNormal, APart))
    inherited::DrawCommandDropDownPart(ACanvas, APart, ASelected, AItem);
}
