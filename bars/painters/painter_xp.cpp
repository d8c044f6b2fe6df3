// The XP painter: buttons, separators, grippers, caption and MDI buttons, combo and spin
// buttons, edit borders, progress bars and push buttons drawn with the visual-style theme
// of the matching window class, its sizes read from the theme. Whatever a theme cannot
// draw is drawn as the enhanced look draws it; floating frames and check marks, which have
// no themed look, by the shared flat painter.
#include <algorithm>

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/painters/painter_helpers.h"
#include "bars/model/startup.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"

namespace {

// Parts and states as the visual-style classes number them.
namespace ToolBar {
constexpr int Button = 1, SplitButton = 3, SplitButtonDropDown = 4, Separator = 5, SeparatorVert = 6;
constexpr int Normal = 1, Hot = 2, Pressed = 3, Disabled = 4, Checked = 5, HotChecked = 6;
}  // namespace ToolBar
namespace Window {
constexpr int MDIMinButton = 16, SmallCloseButton = 19, MDICloseButton = 20, MDIRestoreButton = 22;
// The states the caption buttons share.
constexpr int Normal = 1, Hot = 2, Pushed = 3, Disabled = 4;
}  // namespace Window
constexpr int RebarGripper = 1, RebarGripperVert = 2;
constexpr int ComboDropDownButton = 1;
constexpr int SpinUp = 1, SpinDown = 2;
constexpr int EditText = 1, EditNormal = 1, EditDisabled = 4;
constexpr int ProgressBar = 1, ProgressBarVert = 2, ProgressChunk = 3, ProgressChunkVert = 4;
constexpr int StatusGripper = 3;
constexpr int TmtFillColorHint = 3821;
// A rectangle large enough for a part's content margins to be read from it.
const TRect MeasureRect = Rect(0, 0, 100, 100);

TdxBarThemeBinding DefaultBinding()
{
  TdxBarThemeBinding b;
  b.Open = [](TdxThemedObjectType AKind) { return OpenTheme(AKind); };
  b.Draw = [](TdxTheme T, HDC DC, int P, int S, const TRect& R, const TRect* C) {
    return DrawThemeBackground(T, DC, P, S, R, C);
  };
  b.PartSize = [](TdxTheme T, HDC DC, int P, int S, TdxThemeSize K) { return GetThemePartSizeNoRect(T, DC, P, S, K); };
  b.ContentRect = [](TdxTheme T, HDC DC, int P, int S, const TRect& R) {
    return GetThemeBackgroundContentRect(T, DC, P, S, R);
  };
  b.Color = [](TdxTheme T, int P, int S, int Prop, COLORREF& C) { return GetThemeColor(T, P, S, Prop, C); };
  b.IsPartiallyTransparent = [](TdxTheme T, int P, int S) { return IsThemeBackgroundPartiallyTransparent(T, P, S); };
  return b;
}

TdxBarThemeBinding& Binding()
{
  static TdxBarThemeBinding binding = DefaultBinding();
  return binding;
}

TdxTheme Theme(TdxThemedObjectType AKind)
{
  return Binding().Open ? Binding().Open(AKind) : 0;
}

TSize PartSize(TdxThemedObjectType AKind, int APart, int AState = 1)
{
  TdxTheme theme = Theme(AKind);
  return theme && Binding().PartSize ? Binding().PartSize(theme, nullptr, APart, AState, tsTrue) : TSize{};
}

TRect ContentMargins(TdxThemedObjectType AKind, int APart)
{
  TdxTheme theme = Theme(AKind);
  if (!theme || !Binding().ContentRect)
    return TRect{};
  TRect content = Binding().ContentRect(theme, nullptr, APart, 1, MeasureRect);
  return Rect(content.left - MeasureRect.left, content.top - MeasureRect.top, MeasureRect.right - content.right,
              MeasureRect.bottom - content.bottom);
}

TdxBarXPThemeMetrics ReadThemeMetrics()
{
  TdxBarXPThemeMetrics m;
  m.ToolbarSeparatorSize = PartSize(totToolBar, ToolBar::Separator).cx;
  m.MenuSeparatorSize = PartSize(totToolBar, ToolBar::SeparatorVert).cy;
  m.CaptionButtonSize = PartSize(totWindow, Window::SmallCloseButton);
  TRect glyph = ContentMargins(totToolBar, ToolBar::SplitButton);
  m.GlyphIndent = glyph.left + glyph.right;
  m.DropDownButtonWidth = PartSize(totComboBox, ComboDropDownButton).cx;
  m.EditMargins = ContentMargins(totEdit, EditText);
  m.DragHandleWidth = PartSize(totRebar, RebarGripper).cx;
  TRect progress = ContentMargins(totProgress, ProgressBar);
  m.ProgressBorder = PartSize(totProgress, ProgressChunk).cx + progress.left + progress.right;
  m.SizeGripSize = PartSize(totStatus, StatusGripper);
  return m;
}

// The look drawn where a theme part is missing.
const TdxBarEnhancedPainter& Fallback()
{
  static const TdxBarEnhancedPainter painter;
  return painter;
}

}  // namespace

const TdxBarThemeBinding& dxBarThemeBinding()
{
  return Binding();
}

void SetdxBarThemeBinding(const TdxBarThemeBinding* ABinding)
{
  Binding() = ABinding ? *ABinding : DefaultBinding();
}

TdxBarXPPainter::TdxBarXPPainter() : FThemeMetrics(ReadThemeMetrics()) {}

bool TdxBarXPPainter::DrawPart(TdxThemedObjectType AKind, HDC DC, int APart, int AState, const TRect& R)
{
  TdxTheme theme = Theme(AKind);
  return DC && theme && !IsRectEmpty(R) && Binding().Draw && Binding().Draw(theme, DC, APart, AState, R, nullptr);
}

// ---------------------------------------------------------------------------
// Metrics from the theme

int TdxBarXPPainter::GetToolbarSeparatorSize() const
{
  int size = FThemeMetrics.ToolbarSeparatorSize;
  return size > 0 ? size : inherited::GetToolbarSeparatorSize();
}

int TdxBarXPPainter::GetMenuSeparatorSize() const
{
  int size = FThemeMetrics.MenuSeparatorSize;
  return size > 0 ? size : inherited::GetMenuSeparatorSize();
}

TSize TdxBarXPPainter::GetCaptionButtonSize() const
{
  if (FThemeMetrics.CaptionButtonSize.cx > 0 && FThemeMetrics.CaptionButtonSize.cy > 0)
    return FThemeMetrics.CaptionButtonSize;
  return inherited::GetCaptionButtonSize();
}

int TdxBarXPPainter::GetGlyphWidthIndent() const
{
  return FThemeMetrics.GlyphIndent > 0 ? FThemeMetrics.GlyphIndent : inherited::GetGlyphWidthIndent();
}

int TdxBarXPPainter::GetGlyphHeightIndent() const
{
  return FThemeMetrics.GlyphIndent > 0 ? FThemeMetrics.GlyphIndent : inherited::GetGlyphHeightIndent();
}

int TdxBarXPPainter::GetDefaultItemWidth(const TCustomdxBarControl* ABarControl, int AZeroWidth) const
{
  int width = FThemeMetrics.DropDownButtonWidth;
  return width > 0 ? width : inherited::GetDefaultItemWidth(ABarControl, AZeroWidth);
}

TRect TdxBarXPPainter::GetEditBorderMargins() const
{
  const TRect& m = FThemeMetrics.EditMargins;
  return m.left > 0 || m.top > 0 || m.right > 0 || m.bottom > 0 ? m : inherited::GetEditBorderMargins();
}

int TdxBarXPPainter::GetDragHandleSizeEx(const TdxBar* ABar) const
{
  int width = FThemeMetrics.DragHandleWidth > 0 ? FThemeMetrics.DragHandleWidth : Metrics().DragHandleWidth;
  return width + GetDragHandleOffset() + 2;
}

TSize TdxBarXPPainter::GetSizeGripSize() const
{
  const TSize& size = FThemeMetrics.SizeGripSize;
  return size.cx > 0 && size.cy > 0 ? size : inherited::GetSizeGripSize();
}

// ---------------------------------------------------------------------------
// Brushes and colours

HBRUSH TdxBarXPPainter::GetBackgroundBrush(const TCustomdxBarControl* ABarControl) const
{
  TdxBarManager* manager = ABarControl ? ABarControl->GetBarManager() : nullptr;
  HBRUSH brush = manager ? manager->GetThemedToolBarBrush() : nullptr;
  return brush ? brush : dxBarSysColorBrush(COLOR_BTNFACE);
}

HBRUSH TdxBarXPPainter::GetMenuBorderBrush(const TCustomdxBarControl* AMenu) const
{
  return dxBarSysColorBrush(COLOR_MENU);
}

TColor TdxBarXPPainter::GetEditBackgroundColor() const
{
  return TColor(GetThemedEditFillColor(dxThemeStateNormal));
}

TColor TdxBarXPPainter::GetEditTextColor() const
{
  return TColor(GetThemedEditTextColor(dxThemeStateNormal));
}

TColor TdxBarXPPainter::GetDisabledEditTextColor() const
{
  return TColor(GetThemedEditTextColor(dxThemeStateDisabled));
}

TColor TdxBarXPPainter::GetProgressBarColor() const
{
  COLORREF color = 0;
  TdxTheme theme = Theme(totProgress);
  if (theme && Binding().Color && Binding().Color(theme, ProgressChunk, 1, TmtFillColorHint, color))
    return TColor(color);
  return inherited::GetProgressBarColor();
}

// ---------------------------------------------------------------------------
// Buttons and glyphs

int TdxBarXPPainter::ToolBarButtonState(const TdxBarItemControlDrawParams* ADrawParams)
{
  if (!ADrawParams)
    return ToolBar::Normal;
  const TdxBarItemStateFlags& s = ADrawParams->States;
  bool toolbar = !ADrawParams->IsMenu();
  if (!ADrawParams->Enabled)
    return ToolBar::Disabled;
  if (s.Pressed || (toolbar && s.DroppedDown))
    return ToolBar::Pressed;
  if (toolbar && s.Down)
    return ADrawParams->PaintedSelected ? ToolBar::HotChecked : ToolBar::Checked;
  return ADrawParams->PaintedSelected ? ToolBar::Hot : ToolBar::Normal;
}

void TdxBarXPPainter::DrawButtonBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                           HBRUSH ABrush) const
{
  inherited::DrawButtonBackground(ADrawParams, R, ABrush);
  int state = ToolBarButtonState(ADrawParams);
  if (ADrawParams && ADrawParams->IsMenu() && state != ToolBar::Normal && state != ToolBar::Disabled)
    DrawPart(totToolBar, ParamsDC(ADrawParams), ToolBar::Button, state, R);
}

void TdxBarXPPainter::DrawButtonArrowPart(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  const auto* button = dynamic_cast<const TdxBarButtonLikeControlDrawParams*>(ADrawParams);
  HDC DC = ParamsDC(ADrawParams);
  if (!button || !DC)
    return;
  TRect arrow = R;
  arrow.left = std::max(R.left, R.right - std::max(0, button->ArrowWidth));
  inherited::DrawButtonBackground(ADrawParams, arrow, GetButtonBackgroundBrush(ADrawParams));
  // The split button's arrow part has a themed face of its own; a plain face is the
  // button part (drawn with the glyph frame).
  int state = ToolBarButtonState(ADrawParams);
  if (state != ToolBar::Normal && state != ToolBar::Disabled &&
      !DrawPart(totToolBar, DC, ToolBar::SplitButtonDropDown, state, arrow))
    Fallback().DrawButtonBackground(ADrawParams, arrow, GetButtonBackgroundBrush(ADrawParams));
  DrawButtonArrowGlyph(ADrawParams, arrow);
}

void TdxBarXPPainter::DrawGlyphFrame(const TdxBarItemControl* AControl, HDC DC, const TdxBarItemStateFlags& AStates,
                                     const TRect& AGlyphRect, HBRUSH ABrush) const
{
  if (!DC || IsRectEmpty(AGlyphRect))
    return;
  const TCustomdxBarControl* parent = AControl ? AControl->GetBarControl() : nullptr;
  bool menu = parent && parent->GetBarKind() == bkMenu;
  if (menu && ((AStates.Down && !AStates.Selected) || (AControl && AControl->HasOwnBrush()))) {
    ::FillRect(DC, &AGlyphRect, ABrush);
    // A checked entry shows its state round its glyph as well, or nothing would tell it
    // from an unchecked one that has a glyph.
    if (AStates.Down && !AStates.Selected)
      DrawPart(totToolBar, DC, ToolBar::Button, ToolBar::Checked, AGlyphRect);
    return;
  }
  if (menu && AStates.Selected && !AStates.Down) {
    ::FillRect(DC, &AGlyphRect, dxBarSysColorBrush(COLOR_HIGHLIGHT));
    return;
  }
  if (!AStates.Pressed && !AStates.Down && !AStates.Selected)
    return;
  bool enabled = !AControl || AControl->GetEnabled();
  int state = !enabled          ? ToolBar::Disabled
              : AStates.Pressed ? ToolBar::Pressed
              : AStates.Down    ? (AStates.Selected ? ToolBar::HotChecked : ToolBar::Checked)
                                : ToolBar::Hot;
  if (!DrawPart(totToolBar, DC, ToolBar::Button, state, AGlyphRect))
    Fallback().DrawGlyphFrame(AControl, DC, AStates, AGlyphRect, ABrush);
}

void TdxBarXPPainter::DrawCheckMark(HDC DC, const TPoint& P, int AScale, bool AEnabled) const
{
  if (TdxBarFlatPainter* flat = BarFlatPainter())
    flat->DrawCheckMark(DC, P, AScale, AEnabled);
}

// ---------------------------------------------------------------------------
// Toolbars

void TdxBarXPPainter::DrawToolbarSeparator(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                           HBRUSH ABrush, bool AHorizontal) const
{
  if (!DC || IsRectEmpty(R))
    return;
  if (ABarControl)
    ABarControl->FillBackground(DC, R, ABrush);
  else
    ::FillRect(DC, &R, ABrush);
  // The separator of a row of items (a vertical line) is the horizontal toolbar's part;
  // the line across a vertical bar is the vertical toolbar's part.
  int part = AHorizontal ? ToolBar::SeparatorVert : ToolBar::Separator;
  if (!DrawPart(totToolBar, DC, part, ToolBar::Normal, R))
    Fallback().DrawToolbarSeparator(ABarControl, DC, R, ABrush, AHorizontal);
}

void TdxBarXPPainter::DrawDockedBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, TRect& R) const
{
  if (!DC)
    return;
  if (ABarControl) {
    TdxBarClipRgn saved = SaveClipRgn(DC);
    TRect inner = InflateRect(R, -2, -2);
    ::ExcludeClipRect(DC, inner.left, inner.top, inner.right, inner.bottom);
    if (!ABarControl->FillDockSiteBackground(DC, R))
      ABarControl->FillBackground(DC, R, ABarControl->GetBackgroundBrush());
    RestoreClipRgn(DC, saved);
  }
  R = InflateRect(R, -2, -2);
  if (!ABarControl || !ABarControl->IsDockable())
    return;
  bool vertical = IsVerticalBar(ABarControl);
  int width = FThemeMetrics.DragHandleWidth > 0 ? FThemeMetrics.DragHandleWidth : Metrics().DragHandleWidth;
  int offset = GetDragHandleOffset();
  TRect grip = vertical ? Rect(R.left, R.top + offset, R.right, R.top + offset + width)
                        : Rect(R.left + offset, R.top, R.left + offset + width, R.bottom);
  ABarControl->FillBackground(DC, grip, ABarControl->GetBackgroundBrush());
  if (DrawPart(totRebar, DC, vertical ? RebarGripperVert : RebarGripper, 1, grip))
    ::ExcludeClipRect(DC, grip.left, grip.top, grip.right, grip.bottom);
}

void TdxBarXPPainter::DrawFloatingBarBorder(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R) const
{
  if (TdxBarFlatPainter* flat = BarFlatPainter())
    flat->DrawFloatingBarBorder(ABarControl, DC, R);
}

void TdxBarXPPainter::DrawMarkBackground(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                         HBRUSH ABrush) const
{
  if (!ABarControl || !DC)
    return;
  ABarControl->FillBackground(DC, R, ABrush);
  static constexpr int States[3] = {ToolBar::Normal, ToolBar::Hot, ToolBar::Pressed};
  int state = States[std::clamp(int(ABarControl->GetMarkState()), 0, 2)];
  // Without the bar's border round it the face would touch the bar's edges.
  TRect face = R;
  if (const TdxBar* bar = BarOf(ABarControl); bar && bar->GetBorderStyle() == bbsNone)
    face = IsVerticalBar(ABarControl) ? InflateRect(R, -2, 0) : InflateRect(R, 0, -2);
  if (!DrawPart(totToolBar, DC, ToolBar::Button, state, face))
    Fallback().DrawMarkBackground(ABarControl, DC, R, ABrush);
}

void TdxBarXPPainter::DrawCaptionCloseButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R,
                                             TdxBarMarkState AState) const
{
  // The theme's states by TdxBarMarkState.
  static constexpr int States[3] = {Window::Normal, Window::Hot, Window::Pushed};
  if (!DrawPart(totWindow, DC, Window::SmallCloseButton, States[std::clamp(int(AState), 0, 2)], R))
    Fallback().DrawCaptionCloseButton(ABarControl, DC, R, AState);
}

void TdxBarXPPainter::DrawMDIButton(const TCustomdxBarControl* ABarControl, HDC DC, const TRect& R, int AButton,
                                    TdxBarMDIButtonState AState) const
{
  if (!DC || IsRectEmpty(R))
    return;
  // Buttons: 0 minimize, 1 restore, 2 close; the theme's states by TdxBarMDIButtonState.
  static constexpr int Parts[3] = {Window::MDIMinButton, Window::MDIRestoreButton, Window::MDICloseButton};
  static constexpr int States[5] = {Window::Normal, Window::Disabled, Window::Hot, Window::Normal, Window::Pushed};
  if (ABarControl)
    ABarControl->FillBackground(DC, R, ABarControl->GetBackgroundBrush());
  if (!DrawPart(totWindow, DC, Parts[std::clamp(AButton, 0, 2)], States[std::clamp(int(AState), 0, 4)], R))
    Fallback().DrawMDIButton(ABarControl, DC, R, AButton, AState);
}

// ---------------------------------------------------------------------------
// Menus

void TdxBarXPPainter::DrawMenuFrame(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R) const
{
  inherited::DrawMenuFrame(AMenu, DC, R);
  // The themed menu and toolbar colours are nearly white: a frame in the shadow colour on
  // every side keeps the menu apart from what lies behind it.
  if (DC && !IsRectEmpty(R))
    ::FrameRect(DC, &R, ::GetSysColorBrush(COLOR_BTNSHADOW));
}

void TdxBarXPPainter::DrawMenuBackground(const TCustomdxBarControl* AMenu, HDC DC, const TRect& R, HBRUSH ABrush) const
{
  if (!DC || IsRectEmpty(R))
    return;
  ::FrameRect(DC, &R, dxBarRealBrush(GetMenuBorderBrush(AMenu)));
  TRect inside = InflateRect(R, -1, -1);
  if (ABrush && !IsRectEmpty(inside))
    FillMenuBackground(AMenu, DC, inside, ABrush);
}

void TdxBarXPPainter::DrawMenuItemBackground(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  // The caption takes the selected text colour, so the whole item is lit, not only the
  // glyph column.
  Fallback().DrawMenuItemBackground(ADrawParams, R);
}

void TdxBarXPPainter::DrawMenuSeparatorLine(TcxCanvas* ACanvas, const TRect& R) const
{
  HDC DC = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (RectHeight(R) < 3 || !DrawPart(totToolBar, DC, ToolBar::SeparatorVert, ToolBar::Normal, R))
    Fallback().DrawMenuSeparatorLine(ACanvas, Rect(R.left, (R.top + R.bottom) / 2 - 1, R.right, R.bottom));
}

// ---------------------------------------------------------------------------
// Edits, combos, spin buttons, progress bars and push buttons

void TdxBarXPPainter::DrawEditBorder(const TdxBarItemControlDrawParams* ADrawParams, TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  TRect margins = GetEditBorderMargins();
  TRect inner = InflateRectBy(R, -margins.left, -margins.top, -margins.right, -margins.bottom);
  if (!ADrawParams || !DC || IsRectEmpty(R)) {
    R = inner;
    return;
  }
  // Only the frame: the inside belongs to the editor or the text. Every edit shows it, as
  // the platform's own themed edits do, not only hot, disabled and menu edits.
  TdxBarClipRgn saved = SaveClipRgn(DC);
  ::ExcludeClipRect(DC, inner.left, inner.top, inner.right, inner.bottom);
  bool drawn = DrawPart(totEdit, DC, EditText, ADrawParams->Enabled ? EditNormal : EditDisabled, R);
  RestoreClipRgn(DC, saved);
  if (!drawn) {
    TRect r = R;
    Fallback().DrawEditBorder(ADrawParams, r);
  }
  R = inner;
}

void TdxBarXPPainter::DrawComboButton(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  // Combo states: 1 normal, 2 hot, 3 pressed, 4 disabled.
  bool pressed = ADrawParams->States.Pressed || ADrawParams->States.DroppedDown;
  int state = !ADrawParams->Enabled ? 4 : pressed ? 3 : ADrawParams->PaintedSelected ? 2 : 1;
  TdxTheme theme = Theme(totComboBox);
  if (theme && Binding().IsPartiallyTransparent && Binding().IsPartiallyTransparent(theme, ComboDropDownButton, state))
    FillRectByColor(DC, R, GetEditBackgroundColor());
  if (!DrawPart(totComboBox, DC, ComboDropDownButton, state, R))
    Fallback().DrawComboButton(ADrawParams, R);
}

void TdxBarXPPainter::DrawSpinButtons(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  TRect up = GetSpinButtonRect(R, dxBarSpinButtonUp, 0);
  TRect down = GetSpinButtonRect(R, dxBarSpinButtonDown, 0);
  if (IsRectEmpty(up) && IsRectEmpty(down))
    return;
  if (const TCustomdxBarControl* parent = ParentOf(ADrawParams))
    parent->FillBackground(DC, Rect(up.left, up.top, down.right, down.bottom), parent->GetBackgroundBrush());
  bool ok = DrawPart(totSpin, DC, SpinUp, GetSpinButtonState(ADrawParams, dxBarSpinButtonUp), up) &&
            DrawPart(totSpin, DC, SpinDown, GetSpinButtonState(ADrawParams, dxBarSpinButtonDown), down);
  if (!ok)
    Fallback().DrawSpinButtons(ADrawParams, R);
}

void TdxBarXPPainter::DrawProgressBar(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                      TColor AColor) const
{
  const auto* params = dynamic_cast<const TdxBarStaticLikeControlDrawParams*>(ADrawParams);
  HDC DC = ParamsDC(ADrawParams);
  if (!params || !DC || IsRectEmpty(R))
    return;
  bool vertical = params->IsVertical();
  int frame = vertical ? ProgressBarVert : ProgressBar;
  TdxTheme theme = Theme(totProgress);
  if (theme && Binding().IsPartiallyTransparent && Binding().IsPartiallyTransparent(theme, frame, 1))
    DrawProgressBackground(params, R);
  if (!DrawPart(totProgress, DC, frame, 1, R)) {
    Fallback().DrawProgressBar(ADrawParams, R, AColor);
    return;
  }
  TRect inside = R;
  if (theme && Binding().ContentRect)
    inside = Binding().ContentRect(theme, DC, frame, 1, R);
  int length = vertical ? RectHeight(inside) : RectWidth(inside);
  int filled = dxBarProgressFilledLength(length, params->Min, params->Max, params->Position);
  if (filled <= 0)
    return;
  TRect chunk = vertical ? Rect(inside.left, inside.top, inside.right, inside.top + filled)
                         : Rect(inside.left, inside.top, inside.left + filled, inside.bottom);
  DrawPart(totProgress, DC, vertical ? ProgressChunkVert : ProgressChunk, 1, chunk);
}

void TdxBarXPPainter::DrawPushButton(HDC DC, const TRect& R, bool AFlat, const String& AText, bool APressed) const
{
  if (!DC || IsRectEmpty(R))
    return;
  FillRectByColor(DC, R, clWindow);
  if (!DrawPart(totToolBar, DC, ToolBar::Button, APressed ? ToolBar::Pressed : ToolBar::Hot, R)) {
    Fallback().DrawPushButton(DC, R, AFlat, AText, APressed);
    return;
  }
  DrawPushButtonText(DC, InflateRect(R, -2, -2), true, AText, APressed);
}
