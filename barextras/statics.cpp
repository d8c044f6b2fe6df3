// The static and progress items and their controls.
#include "barextras/statics.h"

#include <algorithm>

#include "bars/barwindows/barcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Scope.h"

PUBLISHED(TdxBarStatic, TdxBarItem)
{
  using I = TdxBarStatic;
  p.Prop(L"Alignment", &I::GetAlignment, &I::SetAlignment).Default(taCenter);
  p.Prop(L"AllowClick", &I::GetAllowClick, &I::SetAllowClick).Default(false);
  p.Prop(L"BorderStyle", &I::GetBorderStyle, &I::SetBorderStyle).Default(sbsNone);
  p.Object(L"Glyph", &I::GetGlyph, &I::SetGlyph);
  p.Prop(L"Height", &I::GetHeight, &I::SetHeight).Default(0);
  p.Prop(L"ImageIndex", &I::GetImageIndex, &I::SetImageIndex).Default(-1);
  p.Prop(L"LeftIndent", &I::GetLeftIndent, &I::SetLeftIndent).Default(0);
  p.Prop(L"RightIndent", &I::GetRightIndent, &I::SetRightIndent).Default(0);
  p.Prop(L"ShowCaption", &I::GetShowCaption, &I::SetShowCaption).Default(true);
  p.Prop(L"Width", &I::GetWidth, &I::SetWidth).Default(0);
  p.Event(L"OnClick", &I::GetOnClick, &I::SetOnClick).Stored(&I::IsOnClickStored);
}

PUBLISHED(TdxBarProgressItem, TdxBarStatic)
{
  using I = TdxBarProgressItem;
  p.Prop(L"BorderStyle", &I::GetBorderStyle, &I::SetBorderStyle).Default(sbsLowered);
  p.Prop(L"Color", &I::GetColor, &I::SetColor).Default(clDefault).Idents(&ColorIdents());
  p.Prop(L"Max", &I::GetMax, &I::SetMax).Default(100);
  p.Prop(L"Min", &I::GetMin, &I::SetMin).Default(0);
  p.Prop(L"Position", &I::GetPosition, &I::SetPosition).Default(0);
  p.Prop(L"Smooth", &I::GetSmooth, &I::SetSmooth).Default(false);
  p.Prop(L"Step", &I::GetStep, &I::SetStep).Default(10);
}

IMPLEMENT_CLASS(TdxBarStaticControl, TdxBarCustomStaticControl)
IMPLEMENT_CLASS(TdxBarProgressControl, TdxBarStaticControl)

namespace {

// A menu's static rows and a bar's caption both sit this much lower than the text's cell.
constexpr int StaticTextHeightReduction = 3;
// Between a static's glyph and its caption.
constexpr int StaticGlyphCaptionGap = 4;

TdxBarTextAlignment AlignmentToText(TAlignment AAlignment)
{
  switch (AAlignment) {
    case taLeftJustify:
      return dxBarTextAlignLeft;
    case taRightJustify:
      return dxBarTextAlignRight;
    default:
      return dxBarTextAlignCenter;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarStatic

TdxBarStatic::TdxBarStatic(TComponent* AOwner) : TdxBarItem(AOwner)
{
  SetShowCaption(true);
}

void TdxBarStatic::SetAlignment(TAlignment Value)
{
  if (FAlignment == Value)
    return;
  FAlignment = Value;
  if (!IsLoading())
    RepaintControls();
}

void TdxBarStatic::SetBorderStyle(TdxBarStaticBorderStyle Value)
{
  if (FBorderStyle == Value)
    return;
  FBorderStyle = Value;
  if (IsLoading())
    return;
  if (GetWidth() != 0 && FHeight != 0)
    RepaintControls();
  else
    RebuildBars(dxBarAllControlKinds);
}

void TdxBarStatic::SetSize(int& AField, int Value)
{
  Value = std::max(Value, 0);
  if (AField == Value)
    return;
  AField = Value;
  if (!IsLoading())
    RebuildBars(dxBarAllControlKinds);
}

void TdxBarStatic::SetWidth(int Value)
{
  Value = std::max(Value, 0);
  if (GetWidth() == Value)
    return;
  // The item's own setter stores it and tells the toolbars; menus size statics by it too.
  TdxBarItem::SetWidth(Value);
  if (!IsLoading())
    RebuildBars(dxBarAllControlKinds);
}

// ---------------------------------------------------------------------------
// TdxBarProgressItem

TdxBarProgressItem::TdxBarProgressItem(TComponent* AOwner) : TdxBarStatic(AOwner)
{
  SetBorderStyle(sbsLowered);
}

void TdxBarProgressItem::Loaded()
{
  TdxBarStatic::Loaded();
  // Form data written by hand may hold any three numbers: the range wins, then the position.
  FMax = std::max(FMax, FMin);
  FPosition = std::clamp(FPosition, FMin, FMax);
}

void TdxBarProgressItem::SetColor(TColor Value)
{
  if (FColor == Value)
    return;
  FColor = Value;
  if (!IsLoading())
    RepaintControls();
}

void TdxBarProgressItem::SetSmooth(bool Value)
{
  if (FSmooth == Value)
    return;
  FSmooth = Value;
  if (!IsLoading())
    RepaintControls();
}

void TdxBarProgressItem::SetMax(int Value)
{
  if (FMax == Value)
    return;
  if (Value < FMin && !IsLoading())
    FMin = Value;
  FMax = Value;
  if (!IsLoading())
    RangeChanged();
}

void TdxBarProgressItem::SetMin(int Value)
{
  if (FMin == Value)
    return;
  if (Value > FMax && !IsLoading())
    FMax = Value;
  FMin = Value;
  if (!IsLoading())
    RangeChanged();
}

void TdxBarProgressItem::RangeChanged()
{
  FMin = std::min(FMin, FMax);
  // Not to the nearer end: a range change starts the gauge over.
  if (FPosition < FMin || FPosition > FMax)
    FPosition = FMin;
  RepaintControls();
}

void TdxBarProgressItem::SetPosition(int Value)
{
  if (!IsLoading())
    Value = std::clamp(Value, FMin, FMax);
  if (FPosition == Value)
    return;
  FPosition = Value;
  if (!IsLoading())
    RepaintGauges();
}

void TdxBarProgressItem::RepaintGauges()
{
  // Only the gauge changes: the caption and border are left as drawn, so a fast-moving
  // position does not flicker the whole item.
  for (int i = 0; i < GetLinkCount(); ++i) {
    auto* progress = dynamic_cast<TdxBarProgressControl*>(GetLink(i)->GetControl());
    TCustomdxBarControl* bar = progress ? progress->GetParent() : nullptr;
    if (!bar || !bar->HandleAllocated())
      continue;
    TRect r = progress->GetProgressBarBounds();
    if (!IsRectEmpty(r))
      bar->InvalidateRect(r, false);
  }
}

// ---------------------------------------------------------------------------
// TdxBarStaticControl

TdxBarStatic* TdxBarStaticControl::GetStatic() const
{
  return dynamic_cast<TdxBarStatic*>(GetItem());
}

void TdxBarStaticControl::CaptionChanged()
{
  TdxBarStatic* item = GetStatic();
  if (item && item->GetWidth() != 0)
    Repaint();
  else
    TdxBarCustomStaticControl::CaptionChanged();
}

bool TdxBarStaticControl::CanClick() const
{
  TdxBarStatic* item = GetStatic();
  return item && item->GetAllowClick();
}

bool TdxBarStaticControl::CanSelect() const
{
  return CanClick() || TdxBarCustomStaticControl::CanSelect();
}

bool TdxBarStaticControl::CloseMenusOnClick() const
{
  return CanClick();
}

void TdxBarStaticControl::CalcDrawParams(bool AFull)
{
  TdxBarCustomStaticControl::CalcDrawParams(AFull);
  auto* params = dynamic_cast<TdxBarStaticLikeControlDrawParams*>(GetDrawParams());
  TdxBarStatic* item = GetStatic();
  if (!AFull || !params || !item)
    return;
  params->Alignment = AlignmentToText(item->GetAlignment());
  params->BorderStyle = item->GetBorderStyle();
  params->LeftIndent = item->GetLeftIndent();
  params->RightIndent = item->GetRightIndent();
  params->HasOwnBrush = HasOwnBrush();
}

void TdxBarStaticControl::Draw(const TRect& R, bool AFlag)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->DrawStaticControl(GetDrawParams(), R);
}

TRect TdxBarStaticControl::GetBorderOffsets() const
{
  TdxBarStatic* item = GetStatic();
  TdxBarPainter* painter = GetPainter();
  return item && painter ? painter->GetStaticBorderRect(item->GetBorderStyle()) : TRect{};
}

int TdxBarStaticControl::GetEmptyContentHeight()
{
  TdxBarItemControlDrawParams* params = GetDrawParams();
  return params ? int(params->GlyphSize.cy) : 0;
}

int TdxBarStaticControl::GetEmptyContentWidth()
{
  TdxBarItemControlDrawParams* params = GetDrawParams();
  return params ? int(params->GlyphSize.cx) : 0;
}

int TdxBarStaticControl::GetContentHeight()
{
  TdxBarItemControlDrawParams* params = GetDrawParams();
  if (!params)
    return 0;
  if (IsInMenu())
    return GetTextHeight();
  const int text = GetTextHeight() - StaticTextHeightReduction;
  const int glyph = params->GlyphSize.cy;
  const bool caption = params->HasCaptionPart(), image = params->HasGlyphPart();
  if (caption && image)
    return std::max(text, glyph);
  if (caption)
    return text;
  if (image)
    return glyph;
  return GetEmptyContentHeight();
}

int TdxBarStaticControl::GetContentWidth()
{
  TdxBarItemControlDrawParams* params = GetDrawParams();
  if (!params)
    return 0;
  const bool caption = params->HasCaptionPart(), image = params->HasGlyphPart();
  // In a menu the glyph column stands in for the glyph (GetGlyphWidth answers it there).
  if (caption && image)
    return GetCaptionTextWidth() + GetGlyphWidth() + StaticGlyphCaptionGap;
  if (caption)
    return GetCaptionTextWidth() + GetCaptionMargin() / 2;
  if (image)
    return GetGlyphWidth();
  return GetEmptyContentWidth();
}

int TdxBarStaticControl::GetDefaultHeight()
{
  TdxBarStatic* item = GetStatic();
  if (item && item->GetHeight() != 0)
    return item->GetHeight();
  const TRect border = GetBorderOffsets();
  return GetContentHeight() + border.top + border.bottom;
}

int TdxBarStaticControl::GetDefaultWidth()
{
  TdxBarStatic* item = GetStatic();
  if (!item)
    return 0;
  if (item->GetWidth() != 0)
    return item->GetWidth();
  const TRect border = GetBorderOffsets();
  return GetContentWidth() + item->GetLeftIndent() + item->GetRightIndent() + border.left + border.right;
}

// ---------------------------------------------------------------------------
// TdxBarProgressControl

TdxBarProgressItem* TdxBarProgressControl::GetProgressItem() const
{
  return dynamic_cast<TdxBarProgressItem*>(GetItem());
}

void TdxBarProgressControl::CalcDrawParams(bool AFull)
{
  TdxBarStaticControl::CalcDrawParams(AFull);
  auto* params = dynamic_cast<TdxBarStaticLikeControlDrawParams*>(GetDrawParams());
  TdxBarProgressItem* item = GetProgressItem();
  if (!AFull || !params || !item)
    return;
  params->Min = item->GetMin();
  params->Max = item->GetMax();
  params->Position = item->GetPosition();
  params->Smooth = item->GetSmooth();
  params->Color = item->GetColor();
}

TdxBarItemViewLevels TdxBarProgressControl::GetPossibleViewLevels() const
{
  TdxBarItemViewLevels levels = TdxBarStaticControl::GetPossibleViewLevels();
  levels += ivlControlOnly;
  return levels;
}

int TdxBarProgressControl::GetEmptyContentHeight()
{
  return GetTextHeight() - StaticTextHeightReduction;
}

int TdxBarProgressControl::GetDefaultHeight()
{
  const TRect border = GetBorderOffsets();
  TdxBarPainter* painter = GetPainter();
  const int gauge = (painter ? painter->GetProgressBarHeight() : 0) + border.top + border.bottom + 2;
  return std::max(TdxBarStaticControl::GetDefaultHeight(), gauge);
}

int TdxBarProgressControl::GetBarGap() const
{
  TdxBarItemControlDrawParams* params = GetDrawParams();
  return params && params->HasCaptionPart() ? dxBarProgressCaptionGap : dxBarProgressNoCaptionGap;
}

int TdxBarProgressControl::GetDefaultWidth()
{
  int width = TdxBarStaticControl::GetDefaultWidth();
  TdxBarProgressItem* item = GetProgressItem();
  if (item && item->GetWidth() == 0) {
    TdxBarPainter* painter = GetPainter();
    width += dxBarProgressDefaultLength + GetBarGap() + (painter ? painter->GetProgressExtraWidth() : 0);
  }
  return width;
}

TRect TdxBarProgressControl::GetProgressBarRect(const TRect& R)
{
  TdxBarProgressItem* item = GetProgressItem();
  if (!item || IsRectEmpty(R))
    return TRect{};
  // Measured along the bar's text: across a rotated bar the gauge runs from top to bottom.
  const bool vertical = IsTextRotated();
  const int along = vertical ? RectHeight(R) : RectWidth(R);
  const int across = vertical ? RectWidth(R) : RectHeight(R);
  const TRect border = GetBorderOffsets();
  const bool clientAligned = GetAlignment() == iaClient;
  int length = dxBarProgressDefaultLength;
  if (item->GetWidth() != 0 || clientAligned) {
    const int room = !clientAligned && !IsInMenu() && item->GetWidth() != 0 ? item->GetWidth() : along;
    ApplyItemFont();
    TFinally restoreFont([this] { RestoreFont(); });
    // The indents and the border are taken off too, or the gauge would run over the caption.
    length = room - GetContentWidth() - item->GetLeftIndent() - item->GetRightIndent() - border.left - border.right -
             GetBarGap();
  }
  length = std::max(length, 0);

  const int room = std::max<int>(across - border.top - border.bottom, 0);
  int thickness = ::MulDiv(room, 2, 3);
  // The same parity as the room, so that the gauge sits exactly in the middle.
  if ((thickness - room) % 2 != 0)
    ++thickness;
  const int start = (across - thickness) / 2;
  const int end = along - item->GetRightIndent() - border.right - dxBarProgressEndGap;
  if (end - length < 0)
    length = std::max(end, 0);
  if (vertical)
    return Rect(R.left + start, R.top + end - length, R.left + start + thickness, R.top + end);
  return Rect(R.left + end - length, R.top + start, R.left + end, R.top + start + thickness);
}

void TdxBarProgressControl::Draw(const TRect& R, bool AFlag)
{
  TdxBarPainter* painter = GetPainter();
  TcxCanvas* canvas = GetCanvas();
  HDC DC = canvas ? canvas->GetHandle() : nullptr;
  TdxBarItemControlDrawParams* params = GetDrawParams();
  TdxBarProgressItem* item = GetProgressItem();
  if (!painter || !DC || !params || !item)
    return;
  const TRect gauge = GetProgressBarRect(R);
  {
    TdxBarClipRgn saved = SaveClipRgn(DC);
    if (!IsRectEmpty(gauge))
      ::ExcludeClipRect(DC, gauge.left, gauge.top, gauge.right, gauge.bottom);
    TRect rest = R;
    if (int extra = painter->GetProgressExtraWidth(); extra > 0) {
      // The strip the look keeps free before the item shows the bar's own background.
      TRect strip = Rect(R.left, R.top, std::min<int>(R.right, R.left + extra), R.bottom);
      if (TCustomdxBarControl* bar = GetParent())
        bar->FillBackground(DC, strip, bar->GetBackgroundBrush());
      rest.left = strip.right;
    }
    // The border and background span the whole item; the caption and glyph keep to the
    // part before the gauge, or a centred caption would hide behind it.
    const int parts = params->ViewParts;
    params->ViewParts = 0;
    painter->DrawStaticControl(params, rest);
    params->ViewParts = parts;
    const TRect border = GetBorderOffsets();
    TRect content = InflateRectBy(rest, -(item->GetLeftIndent() + border.left), -border.top,
                                  -(item->GetRightIndent() + border.right), -border.bottom);
    if (!IsRectEmpty(gauge)) {
      if (IsTextRotated())
        content.bottom = std::max(content.top, gauge.top);
      else
        content.right = std::max(content.left, gauge.left);
    }
    if (!IsRectEmpty(content))
      painter->DrawStaticContent(params, content);
    RestoreClipRgn(DC, saved);
  }
  if (!IsRectEmpty(gauge)) {
    TColor color = item->GetColor() != clDefault ? item->GetColor() : painter->GetProgressBarColor();
    painter->DrawProgressBar(params, gauge, color);
  }
}
