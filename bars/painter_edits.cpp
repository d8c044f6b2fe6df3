// The base painter's drawing of combo drop-down buttons, spin buttons and push-button
// text, and the background frame the edit-like controls share.
#include "bars/painter.h"

#include <algorithm>

#include "bars/barcontrol.h"
#include "bars/drawparams.h"
#include "bars/itemcontrol.h"
#include "bars/utils.h"
#include "lookandfeel/cxGraphics.h"

namespace {

HDC ParamsDC(const TdxBarItemControlDrawParams* AParams)
{
  return AParams && AParams->Canvas ? AParams->Canvas->GetHandle() : nullptr;
}

const TCustomdxBarControl* ParentOf(const TdxBarItemControlDrawParams* AParams)
{
  return AParams && AParams->ItemControl ? AParams->ItemControl->GetBarControl() : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Shared frames

void TdxBarPainter::FrameBackgroundRect(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R,
                                        HBRUSH ABrush, bool AUseBrush) const
{
  if (!DC || IsRectEmpty(R))
    return;
  // The four sides one by one, so the inside is left alone.
  const TRect sides[4] = {Rect(R.left, R.top, R.right, R.top + 1), Rect(R.left, R.bottom - 1, R.right, R.bottom),
                          Rect(R.left, R.top + 1, R.left + 1, R.bottom - 1),
                          Rect(R.right - 1, R.top + 1, R.right, R.bottom - 1)};
  for (const TRect& side : sides)
    FillBackgroundRect(ADrawParams, DC, side, ABrush, AUseBrush);
}

HBRUSH TdxBarPainter::GetBarEditBrush(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (ADrawParams && ADrawParams->ItemControl)
    return ADrawParams->ItemControl->GetBackgroundBrush();
  const TCustomdxBarControl* parent = ParentOf(ADrawParams);
  return parent ? parent->GetBackgroundBrush() : dxBarSysColorBrush(COLOR_BTNFACE);
}

// ---------------------------------------------------------------------------
// Combo buttons

void TdxBarPainter::DrawComboButton(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  TRect r = R;
  DrawButtonBackground(ADrawParams, r, GetComboButtonBrush(ADrawParams));
  DrawComboButtonFrame(ADrawParams, r);
  DrawComboArrow(ADrawParams, DC, r);
}

TColor TdxBarPainter::GetComboArrowColor(const TdxBarItemControlDrawParams* ADrawParams) const
{
  if (ADrawParams && !ADrawParams->Enabled && !IsFlatStyle())
    return clDefault;
  return clBtnText;
}

void TdxBarPainter::DrawComboArrow(const TdxBarItemControlDrawParams* ADrawParams, HDC DC, const TRect& R) const
{
  if (!ADrawParams || !DC || IsRectEmpty(R))
    return;
  int size = RectWidth(R) / 4;
  if (size % 2 == 0)
    ++size;
  TColor color = GetComboArrowColor(ADrawParams);
  // A colour the kind chose is drawn as it is; clDefault lets the routine pick its
  // disabled look.
  bool enabled = ADrawParams->Enabled || color != clDefault;
  DrawArrowEx(DC, R, adDown, size, color, enabled, false, IsFlatStyle());
}

// ---------------------------------------------------------------------------
// Spin buttons

int TdxBarPainter::GetSpinButtonsWidth(const TdxBarItemControlDrawParams* ADrawParams, int AEditHeight) const
{
  TRect margins = GetSpinButtonMargins();
  return GetSpinArrowSize(AEditHeight).cx + 2 * Metrics().SpinArrowPadding + margins.left + margins.right;
}

TRect TdxBarPainter::GetSpinButtonRect(const TRect& R, int AButton, int ALimit) const
{
  TRect margins = GetSpinButtonMargins();
  TRect column = Rect(R.right - GetSpinButtonsWidth(nullptr, RectHeight(R)) + margins.left, R.top + margins.top,
                      R.right - margins.right, R.bottom - margins.bottom);
  if (RectHeight(R) / 2 <= ALimit || column.right <= column.left)
    return Rect(R.right, R.top, R.right, R.top);
  int middle = (column.top + column.bottom) / 2;
  if (AButton == dxBarSpinButtonUp)
    column.bottom = middle;
  else
    column.top = middle;
  return column;
}

int TdxBarPainter::GetSpinButtonState(const TdxBarItemControlDrawParams* ADrawParams, int AButton) const
{
  if (!ADrawParams)
    return 1;
  if (!ADrawParams->Enabled)
    return 4;
  if (ADrawParams->PressedPartIndex == AButton)
    return 3;
  if (ADrawParams->HotPartIndex == AButton)
    return 2;
  return 1;
}

void TdxBarPainter::DrawSpinBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  FillBackgroundRect(ADrawParams, ParamsDC(ADrawParams), R, GetBarEditBrush(ADrawParams), true);
}

void TdxBarPainter::DrawSpinButtons(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  if (!ParamsDC(ADrawParams) || IsRectEmpty(R))
    return;
  TRect up = GetSpinButtonRect(R, dxBarSpinButtonUp, 0);
  TRect down = GetSpinButtonRect(R, dxBarSpinButtonDown, 0);
  if (IsRectEmpty(up) && IsRectEmpty(down))
    return;
  TRect column = Rect(R.right - GetSpinButtonsWidth(ADrawParams, RectHeight(R)), R.top, R.right, R.bottom);
  DrawSpinBackground(ADrawParams, column);
  DrawSpinButton(ADrawParams, dxBarSpinButtonUp, up);
  DrawSpinButton(ADrawParams, dxBarSpinButtonDown, down);
}

void TdxBarPainter::DrawSpinButton(const TdxBarItemControlDrawParams* ADrawParams, int AButton, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  int state = GetSpinButtonState(ADrawParams, AButton);
  TRect r = R;
  DrawSpinButtonBackground(ADrawParams, AButton, r);
  // The arrow is sized from the column both buttons share (twice a button's height).
  TSize arrow = GetSpinArrowSize(2 * RectHeight(R));
  if (arrow.cx <= 0 || arrow.cy <= 0)
    return;
  TRect a = CenterRectInRect(R, arrow.cx, arrow.cy);
  if (state == 3)
    a = OffsetRect(a, 1, 1);
  DrawSpinArrow(DC, a, AButton == dxBarSpinButtonUp, state != 4, state == 2 || state == 3);
}

void TdxBarPainter::FillSpinArrow(HDC DC, const TRect& R, bool AUp, TColor AColor)
{
  // One pixel row at a time: no pen, and the same pixels on every renderer.
  int h = RectHeight(R);
  int centre = R.left + RectWidth(R) / 2;
  for (int i = 0; i < h; ++i) {
    int half = AUp ? i : h - 1 - i;
    FillRectByColor(DC, Rect(centre - half, R.top + i, centre + half + 1, R.top + i + 1), AColor);
  }
}

void TdxBarPainter::DrawSpinArrow(HDC DC, const TRect& R, bool AUp, bool AEnabled, bool ASelected) const
{
  if (!DC || IsRectEmpty(R))
    return;
  if (AEnabled) {
    FillSpinArrow(DC, R, AUp, clBtnText);
    return;
  }
  FillSpinArrow(DC, OffsetRect(R, 1, 1), AUp, clBtnHighlight);
  FillSpinArrow(DC, R, AUp, clBtnShadow);
}

// ---------------------------------------------------------------------------
// Push buttons

void TdxBarPainter::DrawPushButtonText(HDC DC, const TRect& R, bool AFlat, const String& AText, bool APressed) const
{
  if (!DC || AText.empty() || IsRectEmpty(R))
    return;
  int saved = ::SaveDC(DC);
  ::SetTextColor(DC, ::GetSysColor(COLOR_BTNTEXT));
  ::SetBkColor(DC, ::GetSysColor(COLOR_BTNFACE));
  ::SetBkMode(DC, AFlat ? TRANSPARENT : OPAQUE);
  TRect r = APressed ? OffsetRect(R, 1, 1) : R;
  DrawTextInRect(DC, AText, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::RestoreDC(DC, saved);
}

// ---------------------------------------------------------------------------
// Drop-down windows

void TdxBarPainter::DrawDropDownBorder(HWND AWnd, HDC DC, const TRect& R) const
{
  TRect r = R;
  for (int i = 0; DC && i < GetDropDownBorderWidth(); ++i) {
    FrameRectByColor(DC, r, clBtnShadow);
    r = InflateRectBy(r, -1, -1, -1, -1);
  }
}

// ---------------------------------------------------------------------------
// Edit and combo layout, the edit's frame of steps and its idle text

void TdxBarPainter::CalcEditParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                  std::vector<TRect>& AParts) const
{
  auto* params = dynamic_cast<const TdxBarEditLikeControlDrawParams*>(ADrawParams);
  AParts.assign(2, TRect{});
  if (!params)
    return;
  TRect caption = R;
  if (!params->IsMenu() && params->HasCaptionPart())
    caption.left += GetEditBorderMargins().left;
  caption.right = std::min<int>(R.right, caption.left + params->GlyphWidth + params->CaptionWidth);
  AParts[dxBarEditPartCaption] = caption;
  TRect text = params->EditRect;
  text.left = std::max<int>(text.left, caption.right);
  AParts[dxBarEditPartText] = text;
}

TRect TdxBarPainter::GetComboButtonRect(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  auto* params = dynamic_cast<const TdxBarEditLikeControlDrawParams*>(ADrawParams);
  const int width = params ? params->ButtonWidth : 0;
  const TRect m = GetEditBorderMargins();
  return TRect{std::max<int>(R.left, R.right - m.right - width), R.top + m.top, R.right - m.right, R.bottom - m.bottom};
}

void TdxBarPainter::CalcComboParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                   std::vector<TRect>& AParts) const
{
  CalcEditParts(ADrawParams, R, AParts);
  const TRect button = GetComboButtonRect(ADrawParams, AParts[dxBarEditPartText]);
  AParts.push_back(button);
  AParts[dxBarEditPartText].right = std::max<int>(AParts[dxBarEditPartText].left, button.left - GetComboButtonGap());
}

void TdxBarPainter::DrawEditControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  auto* params = dynamic_cast<const TdxBarEditLikeControlDrawParams*>(ADrawParams);
  if (!params || !params->EditControl)
    return;
  params->EditControl->DrawParts(params);
  params->EditControl->DrawTextArea(params);
}

void TdxBarPainter::DrawEditText(const TdxBarItemControl* AEditControl, TcxCanvas* ACanvas, const TRect& R) const
{
  auto* edit = dynamic_cast<IdxBarEditLikeControl*>(const_cast<TdxBarItemControl*>(AEditControl));
  if (!edit || !ACanvas || IsRectEmpty(R))
    return;
  TColor text = clWindowText, background = clWindow;
  GetInPlaceEditColors(AEditControl, text, background);
  ACanvas->GetFont()->SetColor(text);
  ACanvas->GetBrush()->SetColor(background);
  ::SetTextColor(ACanvas->GetHandle(), ColorToRGB(text));
  edit->DrawInterior(ACanvas, R);
}
