// The base and standard list painters of the Customize dialog, and the choice of a kind
// from the manager's bar painter.
#include "barcustomize/listpainters.h"
#include "barcustomize/listpainters_private.h"

#include <algorithm>
#include <array>

#include "bars/itemcontrols/buttons.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/ImgList.h"
#include "platform/Win.h"

IMPLEMENT_CLASS(TdxBarCustomizingFormPainter, TObject)
IMPLEMENT_CLASS(TdxBarCustomizingFormStandardPainter, TdxBarCustomizingFormPainter)
IMPLEMENT_CLASS(TdxBarCustomizingFormFlatPainter, TdxBarCustomizingFormPainter)
IMPLEMENT_CLASS(TdxBarCustomizingFormOffice11Painter, TdxBarCustomizingFormFlatPainter)
IMPLEMENT_CLASS(TdxBarCustomizingFormXPPainter, TdxBarCustomizingFormPainter)

using TListMetrics = TdxBarCustomizingFormPainterMetrics;

// ---------------------------------------------------------------------------
// Shared pieces of a command entry

namespace dxBarCustomizingFormPainting {

void FillWith(TCanvas* ACanvas, const TRect& R, TColor AColor)
{
  ACanvas->GetBrush()->SetColor(AColor);
  ACanvas->FillRect(R);
}

bool IsImageAvailable(const TdxBarItem* AItem)
{
  TCustomImageList* images = AItem->GetImages();
  return !images || (AItem->GetImageIndex() >= 0 && AItem->GetImageIndex() < images->GetCount());
}

bool HasDropDownPart(const TdxBarItem* AItem)
{
  const auto* button = dynamic_cast<const TdxBarButton*>(AItem);
  return button && button->GetButtonStyle() == bsDropDown;
}

// A container that stands for its content shows its caption in parentheses and opens no
// menu of its own in the list.
bool IsListedContainer(const TdxBarItem* AItem)
{
  const auto* container = dynamic_cast<const TCustomdxBarContainerItem*>(AItem);
  return container && container->IsListedAsGroup();
}

bool HasSubMenuArrow(const TdxBarItem* AItem)
{
  return dynamic_cast<const TCustomdxBarSubItem*>(AItem) && !IsListedContainer(AItem);
}

void DrawTextIn(TCanvas* ACanvas, const TRect& R, const String& AText)
{
  TRect r = R;
  String text = AText;
  ACanvas->TextRect(r, text, {tfVerticalCenter, tfSingleLine, tfNoClip, tfNoPrefix});
}

}  // namespace dxBarCustomizingFormPainting

using namespace dxBarCustomizingFormPainting;

// ---------------------------------------------------------------------------
// Base

void TdxBarCustomizingFormPainter::DrawItemCaptionCell(TCanvas* ACanvas, TRect& R, bool ASelected,
                                                       TdxBarItem* AItem) const
{
  if (!ACanvas)
    return;
  String caption = AItem ? StripAccelChars(AItem->GetCaption()) : String();
  TRect cell = R;
  cell.right = cell.left + ACanvas->TextWidth(caption);
  R.left = DrawTextCell(ACanvas, cell, ASelected, AItem, caption);
}

void TdxBarCustomizingFormPainter::DrawItemFrame(TCanvas* ACanvas, TRect& R, bool ASelected) const
{
  if (!ACanvas)
    return;
  if (ASelected) {
    TRect r = R;
    ::DrawEdge(ACanvas->GetHandle(), &r, BDR_SUNKENOUTER, BF_RECT);
  } else {
    ACanvas->FrameRect(R);
  }
  InflateRect(&R, -1, -1);
  ACanvas->FrameRect(R);
  InflateRect(&R, -1, -1);
}

void TdxBarCustomizingFormPainter::DrawItemContent(TCanvas* ACanvas, const TRect& R, bool ASelected, bool AWithDropDown,
                                                   TdxBarItem* AItem) const
{
  if (!ACanvas)
    return;
  TRect r = R;
  if (AWithDropDown) {
    r.right -= GetDropDownButtonWidth();
    DrawDropDownButton(ACanvas, Rect(r.right, R.top, R.right, R.bottom), ASelected, AItem);
  }
  DrawItemImage(ACanvas, r, ASelected, AItem);
}

int TdxBarCustomizingFormPainter::DrawTextCell(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem,
                                               const String& AText) const
{
  if (!ACanvas)
    return R.right;
  TRect cell = R;
  cell.right += TListMetrics::TextCellPadding;
  FillWith(ACanvas, cell, GetBackgroundColor(ASelected, AItem));
  ACanvas->GetFont()->SetColor(GetTextColor(ASelected));
  DrawTextIn(ACanvas, Rect(cell.left + TListMetrics::TextOffset, cell.top, cell.right, cell.bottom), AText);
  TRect gap = Rect(cell.right, cell.top, cell.right + TListMetrics::TextCellGap, cell.bottom);
  FillWith(ACanvas, gap, GetBackgroundColor(false, AItem));
  return gap.right;
}

void TdxBarCustomizingFormPainter::DrawItemImage(TCanvas* ACanvas, const TRect& R, bool ASelected,
                                                 TdxBarItem* AItem) const
{
  if (!ACanvas)
    return;
  ACanvas->GetFont()->SetColor(GetTextColor(ASelected));
  if (AItem)
    AItem->DrawCustomizingImageBackground(ACanvas, R, ASelected);
}

void TdxBarCustomizingFormPainter::DrawSubMenuArrow(TCanvas* ACanvas, int X, int Y, bool ASelected) const
{
  if (!ACanvas)
    return;
  TColor color = ASelected && IsHighContrastWhite() ? clWhite : ACanvas->GetFont()->GetColor();
  std::array<POINT, 3> points{POINT{X, Y}, POINT{X, Y + 6}, POINT{X + 3, Y + 3}};
  DrawFilledPolygon(ACanvas->GetHandle(), points.data(), int(points.size()), color);
}

TColor TdxBarCustomizingFormPainter::GetBackgroundColor(bool ASelected, TdxBarItem*) const
{
  return ASelected ? clHighlight : clBtnFace;
}

void TdxBarCustomizingFormPainter::DrawCommandItem(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem,
                                                   const String& ACaption) const
{
  if (!ACanvas || IsRectEmpty(&R))
    return;
  bool glyphShown = AItem && IsImageAvailable(AItem);
  bool dropDown = AItem && HasDropDownPart(AItem);

  // The column and the line that closes it share the colour, so a selected entry with a
  // glyph keeps a face-coloured column beside its highlighted text.
  TRect column = Rect(R.left, R.top, R.left + TListMetrics::GlyphColumnWidth, R.bottom);
  FillWith(ACanvas, Rect(column.left, column.top, column.right + 1, column.bottom),
           GetBackgroundColor(ASelected && !glyphShown, AItem));
  if (glyphShown) {
    if (ASelected)
      DrawCommandGlyphFrame(ACanvas, column);
    DrawCommandGlyph(ACanvas, column, AItem);
  }

  TRect text = R;
  text.left += TListMetrics::TextIndent;
  if (dropDown)
    text.right -= TListMetrics::CommandDropDownWidth;
  ACanvas->GetFont()->SetColor(GetTextColor(ASelected));
  FillWith(ACanvas, text, GetBackgroundColor(ASelected, AItem));
  text.left += TListMetrics::TextOffset;
  DrawCommandCaption(ACanvas, text, AItem, ACaption);

  if (dropDown) {
    DrawCommandDropDownPart(ACanvas, Rect(R.right - TListMetrics::CommandDropDownWidth, R.top, R.right, R.bottom),
                            ASelected, AItem);
    ACanvas->GetFont()->SetColor(GetTextColor(false));
    DrawSubMenuArrow(ACanvas, R.right - TListMetrics::ArrowFromRight, R.top + TListMetrics::ArrowFromTop, ASelected);
  } else if (AItem && HasSubMenuArrow(AItem)) {
    DrawSubMenuArrow(ACanvas, R.right - TListMetrics::ArrowFromRight, R.top + TListMetrics::ArrowFromTop, ASelected);
  }
}

void TdxBarCustomizingFormPainter::DrawCommandGlyphFrame(TCanvas* ACanvas, const TRect& AColumn) const
{
  TRect r = AColumn;
  ::DrawEdge(ACanvas->GetHandle(), &r, BDR_RAISEDINNER, BF_RECT);
}

void TdxBarCustomizingFormPainter::DrawCommandDropDownPart(TCanvas* ACanvas, const TRect& APart, bool ASelected,
                                                           TdxBarItem* AItem) const
{
  TRect part = APart;
  HDC DC = ACanvas->GetHandle();
  if (ASelected) {
    ::DrawEdge(DC, &part, BDR_RAISEDINNER, BF_RECT);
    InflateRect(&part, -1, -1);
  } else {
    part.left -= 1;
    ::DrawEdge(DC, &part, EDGE_ETCHED, BF_LEFT);
    part.left += 2;
  }
  FillWith(ACanvas, part, GetBackgroundColor(false, AItem));
}

void TdxBarCustomizingFormPainter::DrawCommandGlyph(TCanvas* ACanvas, const TRect& AColumn, TdxBarItem* AItem) const
{
  TCustomImageList* images = AItem->GetImages();
  bool fromList = images && AItem->GetImageIndex() >= 0 && AItem->GetImageIndex() < images->GetCount();
  TBitmap* glyph = fromList ? nullptr : AItem->GetGlyph();
  if (!fromList && (!glyph || glyph->Empty()))
    return;
  TdxBarManager* manager = AItem->GetBarManager();
  DrawGlyphInRect(ACanvas->GetHandle(), AColumn, glyph, fromList ? images : nullptr, AItem->GetImageIndex(), gdmNormal,
                  nullptr, manager ? manager->GetImageListBkColor() : clNone);
}

void TdxBarCustomizingFormPainter::DrawCommandCaption(TCanvas* ACanvas, const TRect& R, TdxBarItem* AItem,
                                                      const String& ACaption) const
{
  ACanvas->GetBrush()->SetStyle(bsClear);
  DrawTextIn(ACanvas, R, AItem && IsListedContainer(AItem) ? L"(" + ACaption + L")" : ACaption);
  ACanvas->GetBrush()->SetStyle(bsSolid);
}

void TdxBarCustomizingFormPainter::DrawDropDownButton(TCanvas* ACanvas, const TRect& R, bool ASelected,
                                                      TdxBarItem* AItem) const
{
  if (!ACanvas || IsRectEmpty(&R))
    return;
  HDC DC = ACanvas->GetHandle();
  TRect r = R;
  if (ASelected)
    ::DrawEdge(DC, &r, BDR_RAISEDINNER, BF_RECT);
  else
    FillWith(ACanvas, Rect(R.left, R.top, R.left + 1, R.bottom), GetBackgroundColor(false, AItem));
  // Inside the edge (or past the line), up to the part's right edge.
  TRect inner = Rect(R.left + 1, R.top + 1, R.right - (ASelected ? 1 : 0), R.bottom - 1);
  FillWith(ACanvas, inner, GetBackgroundColor(false, AItem));
  DrawArrow(DC, inner, adDown, clDefault, true, false);
}

void TdxBarCustomizingFormPainter::DrawItem(TCanvas* ACanvas, const TRect& R, bool ASelected, bool AWithDropDown,
                                            TdxBarItem* AItem) const
{
  if (!ACanvas)
    return;
  TRect r = R;
  DrawItemCaptionCell(ACanvas, r, ASelected, AItem);
  DrawItemFrame(ACanvas, r, ASelected);
  DrawItemContent(ACanvas, r, ASelected, AWithDropDown, AItem);
}

void TdxBarCustomizingFormPainter::DrawFocusRect(TCanvas* ACanvas, const TRect& R) const
{
  if (!ACanvas)
    return;
  // The canvas believes its font's colour is still in the DC: put the DC's colours back.
  HDC DC = ACanvas->GetHandle();
  COLORREF text = ::SetTextColor(DC, ColorToRGB(GetTextColor(false)));
  COLORREF back = ::SetBkColor(DC, ColorToRGB(GetBackgroundColor(false, nullptr)));
  ::DrawFocusRect(DC, &R);
  ::SetTextColor(DC, text);
  ::SetBkColor(DC, back);
}

TColor TdxBarCustomizingFormPainter::GetTextColor(bool ASelected) const
{
  return ASelected ? clHighlightText : clBtnText;
}

TColor TdxBarCustomizingFormPainter::GetListBackgroundColor() const
{
  return clBtnFace;
}

// ---------------------------------------------------------------------------
// Standard

void TdxBarCustomizingFormStandardPainter::DrawFocusRect(TCanvas* ACanvas, const TRect& R) const
{
  TRect r = R;
  InflateRect(&r, -2, -2);
  inherited::DrawFocusRect(ACanvas, r);
}

// ---------------------------------------------------------------------------
// The choice of a kind

TClass GetCustomizingFormPainterClass(TClass ABarPainterClass)
{
  if (ABarPainterClass == TdxBarXPPainter::StaticClass())
    return TdxBarCustomizingFormXPPainter::StaticClass();
  if (ABarPainterClass == TdxBarOffice11Painter::StaticClass())
    return TdxBarCustomizingFormOffice11Painter::StaticClass();
  if (ABarPainterClass == TdxBarFlatPainter::StaticClass())
    return TdxBarCustomizingFormFlatPainter::StaticClass();
  return TdxBarCustomizingFormStandardPainter::StaticClass();
}

TClass GetCustomizingFormPainterClass(const TdxBarManager* AManager)
{
  TdxBarPainter* painter = AManager ? AManager->GetPainter() : nullptr;
  return GetCustomizingFormPainterClass(painter ? painter->ClassType() : nullptr);
}

const TdxBarCustomizingFormPainter& GetCustomizingFormPainter(TClass APainterClass)
{
  static const TdxBarCustomizingFormStandardPainter standard;
  static const TdxBarCustomizingFormFlatPainter flat;
  static const TdxBarCustomizingFormOffice11Painter office11;
  static const TdxBarCustomizingFormXPPainter xp;
  for (const TdxBarCustomizingFormPainter* painter :
       std::initializer_list<const TdxBarCustomizingFormPainter*>{&flat, &office11, &xp})
    if (painter->ClassType() == APainterClass)
      return *painter;
  return standard;
}
