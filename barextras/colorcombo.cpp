// The colour combo and its control.
#include "barextras/colorcombo.h"

#include <algorithm>
#include <iterator>

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/dropdownlistbox.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/painters/painter.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Canvas.h"
#include "platform/Scope.h"

PUBLISHED(TdxBarColorCombo, TdxBarCustomCombo)
{
  using I = TdxBarColorCombo;
  p.Prop(L"AutoColor", &I::GetAutoColor, &I::SetAutoColor).Default(clWindowText).Idents(&ColorIdents());
  p.Prop(L"AutoColorText", &I::GetAutoColorText, &I::SetAutoColorText).Stored(&I::IsAutoColorTextStored);
  p.Prop(L"Color", &I::GetColor, &I::SetColor).Default(clBlack).Idents(&ColorIdents());
  p.Prop(L"CustomColorText", &I::GetCustomColorText, &I::SetCustomColorText).Stored(&I::IsCustomColorTextStored);
  p.Prop(L"DropDownCount", &I::GetDropDownCount, &I::SetDropDownCount).NoDefault().Stored(&I::IsDropDownCountStored);
  p.Prop(L"ShowAutoColor", &I::GetShowAutoColor, &I::SetShowAutoColor).Default(false);
  p.Prop(L"ShowCustomColorButton", &I::GetShowCustomColorButton, &I::SetShowCustomColorButton).Default(false);
  p.Prop(L"ShowEditor", &I::GetShowEditor, &I::SetShowEditor).Default(false);
  // The entry's name follows the colour and the language; only Color is kept.
  p.Prop(L"Text", &I::GetText, &I::SetText).Stored(false);
}

IMPLEMENT_CLASS(TdxBarColorComboControl, TdxBarComboControl)

namespace {

struct TNamedColor {
  TResStringRec Text;
  TColor Color;
};

constexpr TNamedColor NamedColors[] = {
    {sdxBarColorBlack, TColor(0x000000)}, {sdxBarColorMaroon, TColor(0x000080)},  {sdxBarColorGreen, TColor(0x008000)},
    {sdxBarColorOlive, TColor(0x008080)}, {sdxBarColorNavy, TColor(0x800000)},    {sdxBarColorPurple, TColor(0x800080)},
    {sdxBarColorTeal, TColor(0x808000)},  {sdxBarColorGray, TColor(0x808080)},    {sdxBarColorSilver, TColor(0xC0C0C0)},
    {sdxBarColorRed, TColor(0x0000FF)},   {sdxBarColorLime, TColor(0x00FF00)},    {sdxBarColorYellow, TColor(0x00FFFF)},
    {sdxBarColorBlue, TColor(0xFF0000)},  {sdxBarColorFuchsia, TColor(0xFF00FF)}, {sdxBarColorAqua, TColor(0xFFFF00)},
    {sdxBarColorWhite, TColor(0xFFFFFF)},
};
constexpr int NamedColorCount = int(std::size(NamedColors));

// The list's sample column, and the room an entry has above and below its text.
constexpr int ListSampleWidth = 30;
constexpr int ListItemPadding = 4;

const wchar_t* const ColorComboGlyph = L"DXBARCOLORCOMBO";

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarColorCombo

TdxBarColorCombo::TdxBarColorCombo(TComponent* AOwner) : TdxBarCustomCombo(AOwner)
{
  FAutoColorText = GetResourceString(sdxBarColorAutomatic);
  FCustomColorText = GetResourceString(sdxBarColorCustom);
  SetDropDownCount(NamedColorCount);
  dxBarLoadItemGlyph(this, ColorComboGlyph);
  FillList();
  SetItemIndex(0);
  SetShowEditor(false);
}

void TdxBarColorCombo::FillList()
{
  TRestore changing(FChanging, true);
  TStrings* items = GetItems();
  items->BeginUpdate();
  TFinally endUpdate([items] { items->EndUpdate(); });
  items->Clear();
  if (FShowAutoColor)
    items->Add(FAutoColorText);
  for (const TNamedColor& entry : NamedColors)
    items->Add(GetResourceString(entry.Text));
}

TColor TdxBarColorCombo::GetColorOfIndex(int AIndex) const
{
  if (FShowAutoColor) {
    if (AIndex == 0)
      return FAutoColor;
    --AIndex;
  }
  return AIndex >= 0 && AIndex < NamedColorCount ? NamedColors[AIndex].Color : FColor;
}

int TdxBarColorCombo::GetIndexOfColor(TColor AColor) const
{
  if (FShowAutoColor && AColor == FAutoColor)
    return 0;
  // clNone and clDefault name no colour, though ColorToRGB reads them as numbers.
  if (AColor == clNone || AColor == clDefault)
    return -1;
  const COLORREF rgb = ColorToRGB(AColor);
  for (int i = 0; i < NamedColorCount; ++i)
    if (COLORREF(NamedColors[i].Color) == rgb)
      return i + (FShowAutoColor ? 1 : 0);
  return -1;
}

bool TdxBarColorCombo::IsSampleColor(TColor AColor)
{
  const uint32_t value = uint32_t(AColor);
  return value <= 0x00FFFFFFu || (value >= 0xFF000000u && value <= 0xFF000018u);
}

void TdxBarColorCombo::FollowColor()
{
  const int index = GetIndexOfColor(FColor);
  if (index == GetItemIndex()) {
    RepaintControls();
    TdxBarCustomCombo::DoChange();
    return;
  }
  MoveIndexQuietly(index);
}

void TdxBarColorCombo::MoveIndexQuietly(int AIndex)
{
  // The index change tells OnChange, whose handler may free the combo: the flag is put
  // back only on a combo that is still there.
  TWeakRef<TdxBarColorCombo> self(this);
  FChanging = true;
  SetItemIndex(AIndex);
  if (!self)
    return;
  FChanging = false;
  RepaintControls();
}

void TdxBarColorCombo::SetColor(TColor Value)
{
  if (FColor == Value)
    return;
  FColor = Value;
  FollowColor();
}

void TdxBarColorCombo::DoChange()
{
  if (!FChanging) {
    const int index = GetItemIndex();
    if (index >= 0)
      FColor = GetColorOfIndex(index);
  }
  TdxBarCustomCombo::DoChange();
}

void TdxBarColorCombo::SetAutoColor(TColor Value)
{
  if (FAutoColor == Value)
    return;
  FAutoColor = Value;
  if (FShowAutoColor)
    MoveIndexQuietly(GetIndexOfColor(FColor));
}

void TdxBarColorCombo::SetAutoColorText(const String& Value)
{
  if (FAutoColorText == Value)
    return;
  FAutoColorText = Value;
  if (FShowAutoColor) {
    TRestore changing(FChanging, true);
    GetItems()->Put(0, Value);
    if (GetItemIndex() == 0)
      StoreTextValue(Value);
  }
  RepaintControls();
}

void TdxBarColorCombo::SetCustomColorText(const String& Value)
{
  if (FCustomColorText == Value)
    return;
  FCustomColorText = Value;
  RepaintControls();
}

void TdxBarColorCombo::SetShowAutoColor(bool Value)
{
  if (FShowAutoColor == Value)
    return;
  const int oldCount = NamedColorCount + (FShowAutoColor ? 1 : 0);
  FShowAutoColor = Value;
  {
    TRestore changing(FChanging, true);
    if (Value)
      GetItems()->Insert(0, FAutoColorText);
    else
      GetItems()->Delete(0);
  }
  if (GetDropDownCount() == oldCount)
    SetDropDownCount(NamedColorCount + (Value ? 1 : 0));
  MoveIndexQuietly(GetIndexOfColor(FColor));
}

void TdxBarColorCombo::SetShowCustomColorButton(bool Value)
{
  if (FShowCustomColorButton == Value)
    return;
  FShowCustomColorButton = Value;
  Update();
}

bool TdxBarColorCombo::IsAutoColorTextStored() const
{
  return FAutoColorText != GetResourceString(sdxBarColorAutomatic);
}

bool TdxBarColorCombo::IsCustomColorTextStored() const
{
  return FCustomColorText != GetResourceString(sdxBarColorCustom);
}

bool TdxBarColorCombo::IsDropDownCountStored() const
{
  return GetDropDownCount() != NamedColorCount + (FShowAutoColor ? 1 : 0);
}

void TdxBarColorCombo::ClickFromEditor(TColor AEditorColor)
{
  FColorFromEditor = AEditorColor;
  FFromEditor = true;
  Click();
}

void TdxBarColorCombo::Click()
{
  TWeakRef<TdxBarColorCombo> self(this);
  TFinally clearFromEditor([&] {
    if (self)
      self->FFromEditor = false;
  });
  const bool enabled = GetEnabled();
  TdxBarCustomCombo::Click();
  if (!self || !enabled || GetOnClick().Assigned() || GetReadOnly())
    return;
  TColorDialog* dialog = dxBarColorDialog();
  if (!dialog)
    return;
  dialog->SetColor(FFromEditor ? FColorFromEditor : FColor);
  // The dialog runs its own message loop, in which anything may free the combo.
  if (dialog->Execute() && self)
    SetColor(dialog->GetColor());
}

void TdxBarColorCombo::MeasureItem(int AIndex, int& AHeight)
{
  if (OnMeasureItem.Assigned()) {
    TdxBarCustomCombo::MeasureItem(AIndex, AHeight);
    return;
  }
  AHeight = GetListBox()->GetCanvas()->TextHeight(L"0") + ListItemPadding;
}

void TdxBarColorCombo::MeasureItemWidth(int AIndex, int& AWidth)
{
  TdxBarCustomCombo::MeasureItemWidth(AIndex, AWidth);
  AWidth += ListSampleWidth;
}

void TdxBarColorCombo::DrawItem(TCanvas* ACanvas, int AIndex, const TRect& R, TOwnerDrawState AState)
{
  if (OnDrawItem.Assigned() || !ACanvas) {
    TdxBarCustomCombo::DrawItem(ACanvas, AIndex, R, AState);
    return;
  }
  const String text = AIndex >= 0 && AIndex < GetItems()->Count() ? GetItems()->Get(AIndex) : FCustomColorText;
  const bool sample = AIndex >= 0 || IsSampleColor(FColor);
  ACanvas->FillRect(R);
  TRect textRect = R;
  if (sample)
    textRect.left += ListSampleWidth;
  HDC DC = ACanvas->GetHandle();
  const int mode = ::SetBkMode(DC, TRANSPARENT);
  const int y = R.top + (RectHeight(R) - ACanvas->TextHeight(text)) / 2;
  ACanvas->TextRect(textRect, textRect.left + 1, y, text);
  ::SetBkMode(DC, mode);
  if (sample) {
    const TColor brush = ACanvas->GetBrush()->GetColor();
    TRect box = Rect(R.left, R.top, std::min<int>(R.right, R.left + ListSampleWidth), R.bottom);
    ACanvas->FrameRect(box);
    box = InflateRect(box, -1, -1);
    ACanvas->GetBrush()->SetColor(clBtnShadow);
    ACanvas->FrameRect(box);
    box = InflateRect(box, -1, -1);
    ACanvas->GetBrush()->SetColor(GetColorOfIndex(AIndex));
    ACanvas->FillRect(box);
    ACanvas->GetBrush()->SetColor(brush);
  }
  if (AState.Contains(odFocused))
    ACanvas->DrawFocusRect(R);
}

void TdxBarColorCombo::DrawInterior(TcxCanvas* ACanvas, const TRect& R, const TdxBarItemLink* ALink)
{
  const auto* control = ALink ? dynamic_cast<const TdxBarComboControl*>(ALink->GetControl()) : nullptr;
  const int index = control && control->GetFocused() ? control->GetItemIndex() : GetItemIndex();
  if (index >= 0 || (control && control->GetFocused() && GetShowEditor())) {
    TdxBarCustomCombo::DrawInterior(ACanvas, R, ALink);
    return;
  }
  if (!ACanvas || IsRectEmpty(R))
    return;
  ACanvas->FillRect(R, ACanvas->GetBrush()->GetColor());
  TRect r = R;
  r.left += dxBarEditTextIndent;
  HDC DC = ACanvas->GetHandle();
  ::SetBkMode(DC, TRANSPARENT);
  ::DrawTextW(DC, FCustomColorText.c_str(), int(FCustomColorText.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EDITCONTROL);
}

// ---------------------------------------------------------------------------
// TdxBarColorComboControl

TdxBarColorCombo* TdxBarColorComboControl::GetColorCombo() const
{
  return dynamic_cast<TdxBarColorCombo*>(GetItem());
}

TClass TdxBarColorComboControl::GetDrawParamsClass() const
{
  return TdxBarColorComboControlDrawParams::StaticClass();
}

TColor TdxBarColorComboControl::GetSampleColor() const
{
  TdxBarColorCombo* combo = GetColorCombo();
  if (!combo)
    return clNone;
  const int index = GetFocused() ? GetItemIndex() : combo->GetItemIndex();
  if (index < 0 && !TdxBarColorCombo::IsSampleColor(combo->GetColor()))
    return clNone;
  return combo->GetColorOfIndex(index);
}

void TdxBarColorComboControl::CalcDrawParams(bool AFull)
{
  TdxBarComboControl::CalcDrawParams(AFull);
  auto* params = dynamic_cast<TdxBarColorComboControlDrawParams*>(GetDrawParams());
  TdxBarColorCombo* combo = GetColorCombo();
  if (!params || !combo)
    return;
  params->ShowCustomColorButton = combo->GetShowCustomColorButton();
  params->CustomColorButtonPressed = FButtonPressed;
  params->Color = GetSampleColor();
}

void TdxBarColorComboControl::CalcPainterParts(std::vector<TRect>& AParts)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->CalcColorComboParts(GetDrawParams(), GetItemRect(), AParts);
}

TRect TdxBarColorComboControl::GetEditRect() const
{
  TRect r = TdxBarComboControl::GetEditRect();
  TdxBarPainter* painter = GetPainter();
  if (painter && painter->IsColorSampleShown())
    r.left = std::min<int>(r.right, r.left + painter->GetColorSampleMargins(GetBarKind()).left);
  return r;
}

TRect TdxBarColorComboControl::GetSampleRect() const
{
  TdxBarPainter* painter = GetPainter();
  if (!painter || !painter->IsColorSampleShown())
    return TRect{};
  const TRect m = painter->GetColorSampleMargins(GetBarKind());
  const TRect edit = GetEditRect();
  TRect r = Rect(edit.left - m.left, edit.top + m.top, edit.left - m.right, edit.bottom - m.bottom);
  return IsRectEmpty(r) ? TRect{} : r;
}

TRect TdxBarColorComboControl::GetCustomColorButtonRect() const
{
  const std::vector<TRect>& parts = GetPartRects();
  return parts.size() > size_t(dxBarColorComboPartCustomButton) ? parts[dxBarColorComboPartCustomButton] : TRect{};
}

void TdxBarColorComboControl::DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams)
{
  TdxBarComboControl::DrawTextArea(AParams);
  TdxBarPainter* painter = GetPainter();
  TcxCanvas* canvas = GetCanvas();
  HDC DC = canvas ? canvas->GetHandle() : nullptr;
  if (!painter || !DC)
    return;
  const TRect button = GetCustomColorButtonRect();
  if (!IsRectEmpty(button))
    painter->DrawColorComboButton(AParams, button);
  if (!painter->IsColorSampleShown())
    return;
  // The column between the caption and the text part: the bar's background round the
  // sample, then the sample.
  const TRect edit = GetEditRect();
  const TRect m = painter->GetColorSampleMargins(GetBarKind());
  const TRect column = Rect(edit.left - m.left, edit.top, edit.left, edit.bottom);
  const TRect sample = GetSampleRect();
  if (TCustomdxBarControl* bar = GetParent(); bar && !IsRectEmpty(column)) {
    TdxBarClipRgn saved = SaveClipRgn(DC);
    if (!IsRectEmpty(sample))
      ::ExcludeClipRect(DC, sample.left, sample.top, sample.right, sample.bottom);
    bar->FillBackground(DC, column, GetBackgroundBrush());
    RestoreClipRgn(DC, saved);
  }
  auto* params = dynamic_cast<const TdxBarColorComboControlDrawParams*>(AParams);
  if (params && !IsRectEmpty(sample))
    painter->DrawColorSample(params, sample, params->Color);
}

bool TdxBarColorComboControl::IsSelected() const
{
  return TdxBarComboControl::IsSelected() || FButtonPressed;
}

void TdxBarColorComboControl::DoingClickChanged()
{
  TdxBarComboControl::DoingClickChanged();
  if (!GetDoingClick() && FButtonPressed) {
    FButtonPressed = false;
    CalcDrawParams(false);
  }
  Repaint();
}

void TdxBarColorComboControl::MouseDown(const TPoint& P)
{
  const TRect button = GetCustomColorButtonRect();
  if (!IsRectEmpty(button) && PtInRect(button, P)) {
    CustomColorButtonClick();
    return;
  }
  // The sample belongs to the text it shows: without an editor it opens the list too.
  const TRect sample = GetSampleRect();
  const std::vector<TRect>& parts = GetPartRects();
  TdxBarColorCombo* combo = GetColorCombo();
  if (combo && !combo->GetShowEditor() && parts.size() > size_t(dxBarEditPartText) && P.x >= sample.left &&
      P.x < parts[dxBarEditPartText].left && P.y >= parts[dxBarEditPartText].top &&
      P.y < parts[dxBarEditPartText].bottom) {
    TdxBarComboControl::MouseDown(TPoint{parts[dxBarEditPartText].left, P.y});
    return;
  }
  TdxBarComboControl::MouseDown(P);
}

void TdxBarColorComboControl::CustomColorButtonClick()
{
  TdxBarColorCombo* combo = GetColorCombo();
  if (!combo || !GetEnabled())
    return;
  // The colour the user is looking at: the entry being edited, else the item's colour.
  const TColor color = combo->GetColorOfIndex(GetFocused() ? GetItemIndex() : combo->GetItemIndex());
  TWeakRef<TdxBarColorComboControl> self(this);
  TWeakRef<TdxBarColorCombo> comboRef(combo);
  FButtonPressed = true;
  Repaint();
  if (TdxBarItemLink* link = GetItemLink())
    link->BringToTopInRecentList(true);
  if (self && GetFocused())
    ReleaseFocus(true);
  if (self && comboRef) {
    SetDoingClick(true);
    TFinally done([&] {
      if (self)
        self->SetDoingClick(false);
    });
    comboRef->ClickFromEditor(color);
  }
}

void TdxBarColorComboControl::WndProc(TMessage& Message)
{
  const UINT msg = Message.Msg;
  if (msg == WM_KEYDOWN && Message.WParam == VK_RETURN && ::GetKeyState(VK_CONTROL) < 0) {
    Message.Result = 0;
    CustomColorButtonClick();
    return;
  }
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
    const TRect button = GetCustomColorButtonRect();
    TCustomdxBarControl* bar = GetParent();
    HWND wnd = GetHandle();
    if (!IsRectEmpty(button) && bar && bar->HandleAllocated() && wnd) {
      POINT p{LParamX(Message.LParam), LParamY(Message.LParam)};
      ::MapWindowPoints(wnd, bar->GetHandle(), &p, 1);
      if (PtInRect(button, TPoint{p.x, p.y})) {
        Message.Result = 0;
        CustomColorButtonClick();
        return;
      }
    }
  }
  TdxBarComboControl::WndProc(Message);
}
