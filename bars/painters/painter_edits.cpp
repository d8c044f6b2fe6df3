// The base painter's layout and drawing of edits and combos (caption area, border, glyph,
// caption, text and drop-down button), spin buttons, push-button text and the background
// frame the edit-like controls share.
#include "bars/painters/painter.h"

#include <algorithm>

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/drawparams.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter_helpers.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"

namespace {

const TdxBarEditLikeControlDrawParams* EditParams(const TdxBarItemControlDrawParams* AParams)
{
  return dynamic_cast<const TdxBarEditLikeControlDrawParams*>(AParams);
}

TRect PartOf(const TdxBarEditLikeControlDrawParams* AParams, int AIndex)
{
  return AParams && AIndex < int(AParams->Parts.size()) ? AParams->Parts[size_t(AIndex)] : TRect{};
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

TColor dxBarBrushColor(HBRUSH ABrush)
{
  uintptr_t value = uintptr_t(ABrush);
  if (value > 0 && value <= uintptr_t(COLOR_MENUBAR + 1))
    return TColor(::GetSysColor(int(value - 1)));
  LOGBRUSH info{};
  return GetLogBrushInfo(ABrush, info) ? TColor(info.lbColor) : TColor(::GetSysColor(COLOR_WINDOW));
}

// ---------------------------------------------------------------------------
// Edit and combo layout

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
  int width = params ? params->ButtonWidth : 0;
  if (width <= 0) {
    // The look's own drop-down width, from the bar font's "0".
    int zero = ADrawParams && ADrawParams->Canvas ? ADrawParams->Canvas->TextWidth(L"0") : 0;
    width = GetDefaultItemWidth(ParentOf(ADrawParams), zero > 0 ? zero : ::GetSystemMetrics(SM_CXVSCROLL) / 2);
  }
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

void TdxBarPainter::CalcSpinEditParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                      std::vector<TRect>& AParts) const
{
  CalcEditParts(ADrawParams, R, AParts);
  TRect margins = GetEditBorderMargins();
  TRect inside = InflateRectBy(AParts[dxBarEditPartText], -margins.left, -margins.top, -margins.right, -margins.bottom);
  AParts.push_back(GetSpinButtonRect(inside, dxBarSpinButtonUp, 0));
  AParts.push_back(GetSpinButtonRect(inside, dxBarSpinButtonDown, 0));
}

// ---------------------------------------------------------------------------
// Edit drawing

void TdxBarPainter::DrawEditControl(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  const TdxBarEditLikeControlDrawParams* params = EditParams(ADrawParams);
  HDC DC = ParamsDC(ADrawParams);
  if (!params || !DC)
    return;
  DrawEditCaption(params, R);
  if (params->IsMenu() && params->PaintedSelected)
    DrawSelectionFrame(params->ItemControl, DC, R);
  if (params->EditControl)
    params->EditControl->DrawParts(params);
  else {
    TRect edit = PartOf(params, dxBarEditPartText);
    DrawEditBorder(params, edit);
  }
  TdxBarClipRgn saved = SaveClipRgn(DC);
  DrawEditGlyph(params, R);
  DrawEditCaptionText(params, R);
  if (params->EditControl)
    params->EditControl->DrawTextArea(params);
  else if (params->ItemControl) {
    TRect edit = PartOf(params, dxBarEditPartText);
    TRect margins = GetEditBorderMargins();
    DrawEditText(params->ItemControl, params->Canvas,
                 InflateRectBy(edit, -margins.left, -margins.top, -margins.right, -margins.bottom));
  }
  RestoreClipRgn(DC, saved);
}

void TdxBarPainter::DrawEditCaption(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  const TdxBarEditLikeControlDrawParams* params = EditParams(ADrawParams);
  HDC DC = ParamsDC(ADrawParams);
  if (!params || !DC)
    return;
  bool menu = params->IsMenu();
  TRect area = PartOf(params, dxBarEditPartCaption);
  if (IsRectEmpty(area))
    return;
  // On a toolbar the caption is indented: the strip before it is the bar's, and no other
  // part paints it (it kept whatever the window showed there before).
  if (area.left > R.left)
    FillBackgroundRect(params, DC, Rect(R.left, area.top, area.left, area.bottom), GetBarEditBrush(params), false);
  HBRUSH captionBrush = params->EditControl ? params->EditControl->GetCaptionAreaBrush() : GetBarEditBrush(params);
  bool highlighted = menu && (params->PaintedSelected || params->Focused);
  TRect glyph = Rect(area.left, area.top, std::min(area.right, area.left + params->GlyphWidth), area.bottom);
  if (params->HasCaptionPart() || (menu && !params->HasGlyphPart() && IsMenuEditCaptionAreaDrawn())) {
    // The caption area ends at the caption text's right; the glyph cell keeps the edit
    // brush unless the highlight covers it.
    TRect caption = Rect(glyph.right, area.top, area.right, area.bottom);
    if (params->HasCaptionPart() && params->CaptionTextWidth > 0)
      caption.right = std::min(area.right, caption.left + params->CaptionWidth);
    FillBackgroundRect(params, DC, caption, captionBrush,
                       highlighted || (params->ItemControl && params->ItemControl->HasOwnBrush()));
    if (caption.right < area.right)
      FillBackgroundRect(params, DC, Rect(caption.right, area.top, area.right, area.bottom), GetBarEditBrush(params),
                         false);
    if (!IsRectEmpty(glyph))
      FillBackgroundRect(params, DC, glyph, menu ? GetBarEditBrush(params) : captionBrush, highlighted);
  } else if (!IsRectEmpty(glyph))
    FillBackgroundRect(params, DC, glyph, menu ? GetBarEditBrush(params) : captionBrush, highlighted);
}

void TdxBarPainter::DrawEditGlyph(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  const TdxBarEditLikeControlDrawParams* params = EditParams(ADrawParams);
  HDC DC = ParamsDC(ADrawParams);
  if (!params || !DC || !params->HasGlyphPart() || params->GlyphWidth <= 0)
    return;
  TRect area = PartOf(params, dxBarEditPartCaption);
  TRect cell = Rect(area.left, area.top, std::min(area.right, area.left + params->GlyphWidth), area.bottom);
  if (IsRectEmpty(cell))
    return;
  TdxBarItemStateFlags states;
  TRect glyph = cell;
  DrawGlyph(params, DC, states, params->ViewSize, TRect{}, cell, glyph);
  ::ExcludeClipRect(DC, cell.left, cell.top, cell.right, cell.bottom);
}

void TdxBarPainter::DrawEditCaptionText(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  const TdxBarEditLikeControlDrawParams* params = EditParams(ADrawParams);
  HDC DC = ParamsDC(ADrawParams);
  if (!params || !DC || !params->HasCaptionPart())
    return;
  TRect area = PartOf(params, dxBarEditPartCaption);
  TRect caption = Rect(area.left + params->GlyphWidth, area.top, area.right, area.bottom);
  if (IsRectEmpty(caption))
    return;
  // The caption ends its margin before the edit: right-aligned.
  TRect text = caption;
  text.right -= GetEditCaptionMargin();
  TdxBarItemTextFlags flags;
  flags.Enabled = params->Enabled;
  flags.Selected = params->IsMenu() && params->PaintedSelected;
  flags.FlatSelection = IsFlatSelection();
  DrawItemText(params->ItemControl, DC, params->Caption, text, dxBarTextAlignRight, flags, DT_SINGLELINE);
  ::ExcludeClipRect(DC, caption.left, caption.top, caption.right, caption.bottom);
}

void TdxBarPainter::DrawEditBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!ADrawParams || !DC || IsRectEmpty(R)) {
    R = InflateRect(R, -2, -2);
    return;
  }
  const TdxBarItemControl* control = ADrawParams->ItemControl;
  bool active = control && control->IsActive();
  HBRUSH edit = GetBarEditBrush(ADrawParams);
  // Outer pixel: sunken when hot, else the bar's edit colour (the window's own background
  // while the control is not active).
  if (ADrawParams->PaintedSelected) {
    TRect r = R;
    ::DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT);
  } else
    FrameBackgroundRect(ADrawParams, DC, R, edit, active || (control && control->HasOwnBrush()));
  R = InflateRect(R, -1, -1);
  // Inner pixel: the highlight colour marks a disabled edit.
  HBRUSH inner = !ADrawParams->Enabled && !ADrawParams->PaintedSelected ? dxBarSysColorBrush(COLOR_BTNHIGHLIGHT) : edit;
  if (!IsRectEmpty(R))
    ::FrameRect(DC, &R, dxBarRealBrush(inner));
  R = InflateRect(R, -1, -1);
}

void TdxBarPainter::GetInPlaceEditColors(const TdxBarItemControl* AEditControl, TColor& ATextColor,
                                         TColor& ABackgroundColor) const
{
  const auto* edit = dynamic_cast<const IdxBarEditLikeControl*>(AEditControl);
  bool enabled = !AEditControl || AEditControl->GetEnabled();
  if (!enabled) {
    ATextColor = GetDisabledEditTextColor();
    ABackgroundColor = dxBarBrushColor(AEditControl->GetBackgroundBrush());
    return;
  }
  TColor text = edit ? edit->GetEditStyleTextColor() : clDefault;
  TColor back = edit ? edit->GetEditStyleColor() : clDefault;
  ATextColor = text != clDefault ? text : GetEditTextColor();
  ABackgroundColor = back != clDefault ? back : GetEditBackgroundColor();
}

void TdxBarPainter::DrawEditText(const TdxBarItemControl* AEditControl, TcxCanvas* ACanvas, const TRect& R) const
{
  if (!AEditControl || !ACanvas || IsRectEmpty(R))
    return;
  TColor text = clDefault;
  TColor back = clDefault;
  GetInPlaceEditColors(AEditControl, text, back);
  // The canvas is the caller's: its colours and clip are given back afterwards.
  TColor oldText = ACanvas->GetFont()->GetColor();
  TColor oldBack = ACanvas->GetBrush()->GetColor();
  ACanvas->GetFont()->SetColor(text);
  ACanvas->GetBrush()->SetColor(back);
  ::SetTextColor(ACanvas->GetHandle(), ColorToRGB(text));
  ACanvas->SaveClipRegion();
  ACanvas->IntersectClipRect(R);
  if (auto* edit = dynamic_cast<IdxBarEditLikeControl*>(const_cast<TdxBarItemControl*>(AEditControl)))
    edit->DrawInterior(ACanvas, R);
  else
    FillRectByColor(ACanvas->GetHandle(), R, back);
  ACanvas->RestoreClipRegion();
  ACanvas->GetFont()->SetColor(oldText);
  ACanvas->GetBrush()->SetColor(oldBack);
}

void TdxBarPainter::SetEditFormattingRect(const TdxBarItemControl* AEditControl, HWND AWnd) const
{
  if (!AEditControl || !AWnd || !::IsWindow(AWnd))
    return;
  const std::vector<TRect>& parts = AEditControl->GetPartRects();
  if (int(parts.size()) <= dxBarEditPartText)
    return;
  TRect margins = GetEditBorderMargins();
  TRect text = InflateRectBy(parts[dxBarEditPartText], -margins.left, -margins.top, -margins.right, -margins.bottom);
  // A combo's editor stops before its button and the gap.
  if (int(parts.size()) > dxBarComboPartButton && !IsRectEmpty(parts[dxBarComboPartButton]))
    text.right = std::min(text.right, parts[dxBarComboPartButton].left - GetComboButtonGap());
  const TCustomdxBarControl* bar = AEditControl->GetBarControl();
  HWND barWnd = bar && bar->HandleAllocated() ? const_cast<TCustomdxBarControl*>(bar)->GetHandle() : nullptr;
  ::MapWindowPoints(barWnd, AWnd, reinterpret_cast<POINT*>(&text), 2);
  RECT client{};
  ::GetClientRect(AWnd, &client);
  // The rectangle is the window's text area, kept inside its client area.
  RECT r{std::max(text.left, client.left), std::max(text.top, client.top), std::min(text.right, client.right),
         std::min(text.bottom, client.bottom)};
  if (r.right > r.left && r.bottom > r.top)
    ::SendMessageW(AWnd, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TdxBarPainter::DrawComboItem(const TdxBarItemControl* AComboControl, TcxCanvas* ACanvas, int AIndex,
                                  const TRect& R) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  const auto* combo = dynamic_cast<const IdxBarComboItems*>(AComboControl);
  if (!DC || IsRectEmpty(R))
    return;
  FillRectByColor(DC, R, ACanvas->GetBrush()->GetColor());
  String text;
  if (combo && AIndex < 0)
    text = combo->GetComboText();
  else if (combo && AIndex < combo->GetComboItemCount())
    text = combo->GetComboItem(AIndex);
  if (!text.empty()) {
    int mode = ::SetBkMode(DC, TRANSPARENT);
    ExtTextOutString(DC, Point(R.left + 2, R.top), 0, nullptr, text);
    ::SetBkMode(DC, mode);
  }
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

TdxBarThemeState TdxBarPainter::GetSpinButtonState(const TdxBarItemControlDrawParams* ADrawParams, int AButton) const
{
  if (!ADrawParams)
    return dxThemeStateNormal;
  if (!ADrawParams->Enabled)
    return dxThemeStateDisabled;
  if (ADrawParams->PressedPartIndex == AButton)
    return dxThemeStatePressed;
  if (ADrawParams->HotPartIndex == AButton)
    return dxThemeStateHot;
  return dxThemeStateNormal;
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
  const TdxBarThemeState state = GetSpinButtonState(ADrawParams, AButton);
  TRect r = R;
  DrawSpinButtonBackground(ADrawParams, AButton, r);
  // The arrow is sized from the column both buttons share (twice a button's height).
  TSize arrow = GetSpinArrowSize(2 * RectHeight(R));
  if (arrow.cx <= 0 || arrow.cy <= 0)
    return;
  TRect a = CenterRectInRect(R, arrow.cx, arrow.cy);
  if (state == dxThemeStatePressed)
    a = OffsetRect(a, 1, 1);
  DrawSpinArrow(DC, a, AButton == dxBarSpinButtonUp, state != dxThemeStateDisabled,
                state == dxThemeStateHot || state == dxThemeStatePressed);
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
