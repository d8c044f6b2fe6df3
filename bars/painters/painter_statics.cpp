// The base painter's drawing of the item controls that show rather than edit: static
// texts with their borders and indents, separators, progress bars, in-place sub items,
// the window list's text and small push buttons.
#include <algorithm>

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/edits.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "bars/painters/painter_helpers.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"

namespace {

const TdxBarStaticLikeControlDrawParams* StaticParams(const TdxBarItemControlDrawParams* AParams)
{
  return dynamic_cast<const TdxBarStaticLikeControlDrawParams*>(AParams);
}

// A one-pixel line of a pen colour from (X1, Y1) to (X2, Y2), the end left out.
void LineByColor(HDC DC, int X1, int Y1, int X2, int Y2, TColor AColor)
{
  HPEN pen = TrackGdiObject(::CreatePen(PS_SOLID, 1, ColorToRGB(AColor)));
  HGDIOBJ old = ::SelectObject(DC, pen);
  ::MoveToEx(DC, X1, Y1, nullptr);
  ::LineTo(DC, X2, Y2);
  ::SelectObject(DC, old);
  DeleteGdiObject(pen);
}

}  // namespace

// ---------------------------------------------------------------------------
// Static texts

void TdxBarPainter::DrawStaticControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  const TdxBarStaticLikeControlDrawParams* params = StaticParams(ADrawParams);
  HDC DC = ParamsDC(ADrawParams);
  if (!params || !DC || IsRectEmpty(R))
    return;
  // The indents take the bar's edit colour: left and right, top and bottom on a vertical bar.
  TRect r = R;
  HBRUSH edit = GetBarEditBrush(params);
  int before = std::max(0, params->LeftIndent);
  int after = std::max(0, params->RightIndent);
  if (params->IsVertical()) {
    FillBackgroundRect(params, DC, Rect(r.left, r.top, r.right, std::min(r.bottom, r.top + before)), edit, false);
    FillBackgroundRect(params, DC, Rect(r.left, std::max(r.top, r.bottom - after), r.right, r.bottom), edit, false);
    r.top = std::min(r.bottom, r.top + before);
    r.bottom = std::max(r.top, r.bottom - after);
  } else {
    FillBackgroundRect(params, DC, Rect(r.left, r.top, std::min(r.right, r.left + before), r.bottom), edit, false);
    FillBackgroundRect(params, DC, Rect(std::max(r.left, r.right - after), r.top, r.right, r.bottom), edit, false);
    r.left = std::min(r.right, r.left + before);
    r.right = std::max(r.left, r.right - after);
  }
  DrawStaticBorder(params, r, std::clamp(params->BorderStyle, sbsNone, sbsBump));
  DrawStaticContent(params, r);
}

void TdxBarPainter::DrawStaticBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R,
                                     TdxBarStaticBorderStyle ABorderStyle) const
{
  HDC DC = ParamsDC(ADrawParams);
  TRect r = R;
  switch (ABorderStyle) {
    case sbsLowered:
    case sbsRaised:
    case sbsEtched: {
      static constexpr UINT Edges[] = {0, BDR_SUNKENOUTER, BDR_RAISEDINNER, EDGE_ETCHED};
      if (DC && !IsRectEmpty(r))
        ::DrawEdge(DC, &r, Edges[ABorderStyle], BF_RECT);
      break;
    }
    case sbsBump:
      // Raised outside, sunken one pixel in: a ridge.
      if (DC && !IsRectEmpty(r)) {
        ::DrawEdge(DC, &r, BDR_RAISEDINNER, BF_RECT);
        TRect inner = InflateRect(R, -1, -1);
        if (!IsRectEmpty(inner))
          ::DrawEdge(DC, &inner, BDR_SUNKENOUTER, BF_RECT);
      }
      break;
    default:
      break;
  }
  TRect w = GetStaticBorderRect(ABorderStyle);
  R = InflateRectBy(R, -w.left, -w.top, -w.right, -w.bottom);
}

void TdxBarPainter::DrawStaticContent(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!ADrawParams || !DC || IsRectEmpty(R))
    return;
  const TdxBarStaticLikeControlDrawParams* params = StaticParams(ADrawParams);
  bool ownBrush = params ? params->HasOwnBrush : ADrawParams->ItemControl && ADrawParams->ItemControl->HasOwnBrush();
  FillBackgroundRect(ADrawParams, DC, R, GetStaticBackgroundBrush(ADrawParams), ownBrush);
  TRect text = R;
  bool vertical = ADrawParams->IsVertical();
  if (ADrawParams->HasGlyphPart()) {
    int cell = vertical ? ADrawParams->GlyphSize.cy : ADrawParams->GlyphSize.cx;
    TRect glyphCell = vertical ? Rect(R.left, R.top, R.right, std::min(R.bottom, R.top + cell))
                               : Rect(R.left, R.top, std::min(R.right, R.left + cell), R.bottom);
    TdxBarItemStateFlags states;
    TRect glyph = glyphCell;
    DrawGlyph(ADrawParams, DC, states, ADrawParams->ViewSize, TRect{}, glyphCell, glyph);
    if (vertical)
      text.top = glyphCell.bottom;
    else
      text.left = glyphCell.right;
  }
  if (!ADrawParams->HasCaptionPart() || IsRectEmpty(text))
    return;
  TdxBarItemTextFlags flags;
  flags.Enabled = ADrawParams->Enabled;
  flags.Vertical = vertical;
  flags.Clipped = true;
  const TdxBarTextAlignment alignment = params ? params->Alignment : dxBarTextAlignLeft;
  DrawItemText(ADrawParams->ItemControl, DC, ADrawParams->Caption, text, alignment, flags, DT_SINGLELINE);
}

// ---------------------------------------------------------------------------
// Separators

void TdxBarPainter::DrawSeparatorControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!ADrawParams || !DC || IsRectEmpty(R))
    return;
  const TCustomdxBarControl* parent = ParentOf(ADrawParams);
  if (!ADrawParams->IsMenu()) {
    HBRUSH background = parent ? parent->GetBackgroundBrush() : GetBackgroundBrush(nullptr);
    DrawToolbarSeparator(parent, DC, R, background, ADrawParams->IsVertical());
    return;
  }
  if (ADrawParams->Caption.empty()) {
    DrawMenuSeparator(parent, ADrawParams->Canvas, R, ADrawParams->ItemControl);
    return;
  }
  DrawSeparatorText(ADrawParams, R);
  // The line runs on right of the text, unless the text fills the row.
  TSize extent = GetTextExtentOfString(DC, StripAccelChars(ADrawParams->Caption));
  int textRight = R.left + GetSeparatorMargins().left + extent.cx + GetSeparatorMargins().left;
  int y = (R.top + R.bottom) / 2;
  if (textRight < R.right)
    DrawMenuSeparatorLine(ADrawParams->Canvas, Rect(textRight, y, R.right, y + GetSeparatorLineSize()));
}

void TdxBarPainter::DrawSeparatorText(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!ADrawParams || !DC || IsRectEmpty(R))
    return;
  FillBackgroundRect(ADrawParams, DC, R, GetStaticBackgroundBrush(ADrawParams), false);
  TRect text = R;
  text.left += GetSeparatorMargins().left;
  TdxBarItemTextFlags flags;
  flags.Enabled = true;
  flags.Clipped = true;
  DrawItemText(ADrawParams->ItemControl, DC, ADrawParams->Caption, text, dxBarTextAlignLeft, flags, DT_SINGLELINE);
}

// ---------------------------------------------------------------------------
// Progress bars

void TdxBarPainter::DrawProgressBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  FillBackgroundRect(ADrawParams, ParamsDC(ADrawParams), R, GetBarEditBrush(ADrawParams), true);
}

void TdxBarPainter::FillProgressRect(HDC DC, const TRect& R, HBRUSH ABrush) const
{
  if (DC && ABrush && !IsRectEmpty(R))
    ::FillRect(DC, &R, ABrush);
}

int dxBarProgressFilledLength(int ALength, int AMin, int AMax, int APosition)
{
  // An empty range shows nothing, and a position outside the range is held at its ends
  // so that the fill never runs past the bar.
  if (AMax <= AMin || ALength <= 0)
    return 0;
  int position = std::clamp(APosition, AMin, AMax);
  return std::clamp(::MulDiv(ALength, position - AMin, AMax - AMin), 0, ALength);
}

void TdxBarPainter::DrawProgressBar(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R, TColor AColor) const
{
  const TdxBarStaticLikeControlDrawParams* params = StaticParams(ADrawParams);
  HDC DC = ParamsDC(ADrawParams);
  if (!params || !DC || IsRectEmpty(R))
    return;
  DrawProgressBackground(params, R);
  bool vertical = params->IsVertical();
  int length = vertical ? RectHeight(R) : RectWidth(R);
  int thickness = vertical ? RectWidth(R) : RectHeight(R);
  int filled = dxBarProgressFilledLength(length, params->Min, params->Max, params->Position);
  if (filled <= 0)
    return;
  TColor color = AColor != clDefault && AColor != clNone ? AColor : GetProgressBarColor();
  HBRUSH brush = TrackGdiObject(::CreateSolidBrush(ColorToRGB(color)));
  // A run [from, to) along the bar, from the left or, on a vertical bar, from the top.
  auto run = [&](int from, int to) {
    return vertical ? Rect(R.left, R.top + from, R.right, R.top + to)
                    : Rect(R.left + from, R.top, R.left + to, R.bottom);
  };
  if (params->Smooth)
    FillProgressRect(DC, run(0, filled), brush);
  else {
    int block = std::max(1, ::MulDiv(thickness, 2, 3));
    for (int start = 0; start < filled; start += block + Metrics().ProgressBlockGap)
      FillProgressRect(DC, run(start, std::min(filled, start + block)), brush);
  }
  DeleteGdiObject(brush);
}

// ---------------------------------------------------------------------------
// In-place sub items and the window list

void TdxBarPainter::DrawInPlaceSubItemControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!ADrawParams || !DC || IsRectEmpty(R))
    return;
  TRect r = R;
  DrawInPlaceSubItemBackground(ADrawParams, r);
  TRect text = Rect(r.left + GetInPlaceSubItemIndent(), r.top, r.right, r.bottom);
  TdxBarItemTextFlags flags;
  flags.Enabled = true;
  flags.Selected = ADrawParams->PaintedSelected;
  flags.FlatSelection = IsFlatSelection();
  DrawItemText(ADrawParams->ItemControl, DC, ADrawParams->Caption, text, dxBarTextAlignLeft, flags, DT_SINGLELINE);
  if (ADrawParams->Enabled)
    DrawInPlaceSubItemArrow(ADrawParams, r);
}

void TdxBarPainter::DrawInPlaceSubItemBackground(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!ADrawParams || !DC || IsRectEmpty(R))
    return;
  // The glyph column's part (as wide as the item is high, less one) keeps the bar's edit
  // colour; the frame starts on that part's last column, so it stays inside the item.
  int column = std::clamp(RectHeight(R) - 1, 0, RectWidth(R));
  FillBackgroundRect(ADrawParams, DC, Rect(R.left, R.top, R.left + column, R.bottom), GetBarEditBrush(ADrawParams),
                     true);
  R.left = std::max(R.left, R.left + column - 1);
  HBRUSH frame = GetInPlaceSubItemFrameBrush(ADrawParams);
  if (!IsRectEmpty(R))
    ::FrameRect(DC, &R, dxBarRealBrush(frame));
  if (ADrawParams->PaintedSelected)
    DrawSelectionFrame(ADrawParams->ItemControl, DC, R);
}

void TdxBarPainter::DrawInPlaceSubItemArrow(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!ADrawParams || !DC || IsRectEmpty(R))
    return;
  int size = std::max(1, RectHeight(R) / 4);
  TRect arrow = Rect(R.right - GetInPlaceSubItemSignWidth(RectHeight(R)), R.top, R.right, R.bottom);
  DrawArrowSized(DC, arrow, adRight, GetArrowColor(ADrawParams), true, ADrawParams->PaintedSelected, size);
}

void TdxBarPainter::DrawWindowItemText(const TdxBarItemControl* AControl, TcxCanvas* ACanvas, const TRect& R) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (!AControl || !DC || IsRectEmpty(R))
    return;
  FillRectByColor(DC, R, ACanvas->GetBrush()->GetColor());
  // The link being edited shows what the user has typed so far.
  String text = AControl->GetCaption();
  if (const auto* item = dynamic_cast<const TdxBarWindowItem*>(AControl->GetItem());
      item && AControl->GetItemLink() && item->GetFocusedLink() == AControl->GetItemLink())
    text = item->GetCurText();
  int mode = ::SetBkMode(DC, TRANSPARENT);
  TRect r = R;
  DrawTextInRect(DC, text, r, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  ::SetBkMode(DC, mode);
}

// ---------------------------------------------------------------------------
// Small push buttons

void TdxBarPainter::DrawPushButton(HDC DC, const TRect& R, bool AFlat, const String& AText, bool APressed) const
{
  if (!DC || RectWidth(R) < 4 || RectHeight(R) < 4)
    return;
  if (AFlat) {
    TRect r = R;
    ::DrawFrameControl(DC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (APressed ? DFCS_PUSHED : 0));
  } else {
    // Two rings of one-pixel lines: light above and left, dark below and right; pressed,
    // the rings turn round.
    TColor outerLight = APressed ? clBtnText : clBtnHighlight;
    TColor outerDark = APressed ? clBtnHighlight : clBtnText;
    TColor innerLight = APressed ? clBtnShadow : clBtnFace;
    TColor innerDark = APressed ? clBtnFace : clBtnShadow;
    TRect inside = InflateRect(R, -2, -2);
    FillRectByColor(DC, inside, clBtnFace);
    TRect rings[2] = {R, InflateRect(R, -1, -1)};
    TColor light[2] = {outerLight, innerLight};
    TColor dark[2] = {outerDark, innerDark};
    for (int i = 0; i < 2; ++i) {
      const TRect& q = rings[i];
      LineByColor(DC, q.left, q.bottom - 2, q.left, q.top, light[i]);
      LineByColor(DC, q.left, q.top, q.right - 1, q.top, light[i]);
      LineByColor(DC, q.right - 1, q.top, q.right - 1, q.bottom - 1, dark[i]);
      LineByColor(DC, q.left, q.bottom - 1, q.right, q.bottom - 1, dark[i]);
    }
    // The outer ring's lower-left corner belongs to neither side.
    ::SetPixel(DC, R.left, R.bottom - 1, ::GetSysColor(COLOR_BTNFACE));
  }
  DrawPushButtonText(DC, InflateRect(R, -2, -2), AFlat, AText, APressed);
}
