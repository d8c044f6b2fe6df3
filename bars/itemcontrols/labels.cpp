// The label and separator items and their controls.
#include "bars/itemcontrols/labels.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/painters/painter.h"
#include "lookandfeel/cxGraphics.h"

PUBLISHED(TdxBarLabel, TdxBarItem) {}

PUBLISHED(TdxBarSeparator, TdxBarLabel)
{
  using I = TdxBarSeparator;
  p.Prop(L"ShowCaption", &I::GetShowCaption, &I::SetShowCaption).Default(true);
}

IMPLEMENT_CLASS(TdxBarSeparatorControlDrawParams, TdxBarStaticLikeControlDrawParams)
IMPLEMENT_CLASS(TdxBarCustomStaticControl, TdxBarItemControl)
IMPLEMENT_CLASS(TdxBarSeparatorControl, TdxBarCustomStaticControl)

TdxBarLabel::TdxBarLabel(TComponent* AOwner) : TdxBarItem(AOwner)
{
  SetShowCaption(true);
}

bool TdxBarSeparator::CanBePlacedOn(TdxBarItemLinks* AItemLinks, String& Error)
{
  if (dynamic_cast<TdxBarSubMenuControlItemLinks*>(AItemLinks)) {
    Error.clear();
    return true;
  }
  Error = GetResourceString(sdxBarSeparatorCantBePlaced);
  return false;
}

String TdxBarSeparator::GetNewItemCaption() const
{
  return GetResourceString(sdxBarNewSeparator);
}

void TdxBarSeparatorControlDrawParams::Assign(const TdxBarItemControlDrawParams* ASource)
{
  TdxBarStaticLikeControlDrawParams::Assign(ASource);
  if (auto* source = dynamic_cast<const TdxBarSeparatorControlDrawParams*>(ASource); source && source != this)
    IsFirstShownLink = source->IsFirstShownLink;
}

// ---------------------------------------------------------------------------
// TdxBarCustomStaticControl

TClass TdxBarCustomStaticControl::GetDrawParamsClass() const
{
  return TdxBarStaticLikeControlDrawParams::StaticClass();
}

bool TdxBarCustomStaticControl::CanSelect() const
{
  TCustomdxBarControl* bar = GetParent();
  return bar && bar->IsCustomizing();
}

int TdxBarCustomStaticControl::GetDefaultViewParts() const
{
  TdxBarItem* item = GetItem();
  int parts = item && item->GetShowCaption() ? ivpCaption : 0;
  if (HasImage(GetImageSizeKind()))
    parts |= ivpGlyph;
  return parts;
}

void TdxBarCustomStaticControl::Draw(const TRect& R, bool AFlag)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->DrawStaticContent(GetDrawParams(), R);
}

// ---------------------------------------------------------------------------
// TdxBarSeparatorControl

TdxBarSeparatorControl::TdxBarSeparatorControl(TdxBarItemLink* AItemLink)
    : TdxBarCustomStaticControl(AItemLink), FBoldFont(std::make_unique<TFont>())
{
}

TdxBarSeparatorControl::~TdxBarSeparatorControl() = default;

TClass TdxBarSeparatorControl::GetDrawParamsClass() const
{
  return TdxBarSeparatorControlDrawParams::StaticClass();
}

int TdxBarSeparatorControl::GetDefaultViewParts() const
{
  TdxBarItem* item = GetItem();
  return IsInMenu() && item && item->GetShowCaption() ? ivpCaption : 0;
}

bool TdxBarSeparatorControl::IsFirstShownLink() const
{
  TdxBarItemLink* link = GetItemLink();
  return link && link->GetShownIndex() == 0;
}

void TdxBarSeparatorControl::CalcDrawParams(bool AFull)
{
  TdxBarCustomStaticControl::CalcDrawParams(AFull);
  if (auto* params = dynamic_cast<TdxBarSeparatorControlDrawParams*>(GetDrawParams()))
    params->IsFirstShownLink = IsFirstShownLink();
}

void TdxBarSeparatorControl::Draw(const TRect& R, bool AFlag)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->DrawSeparatorControl(GetDrawParams(), R);
}

void TdxBarSeparatorControl::ApplyItemFont(TFont* AFont)
{
  TFont* source = AFont;
  if (!source)
    if (TdxBarItem* item = GetItem())
      source = item->GetStyleValues().Font;
  TcxCanvas* canvas = GetCanvas();
  if (!source && canvas)
    source = canvas->GetFont();
  if (source && source != FBoldFont.get()) {
    FBoldFont->Assign(source);
    FBoldFont->SetStyle(FBoldFont->GetStyle() + fsBold);
    AFont = FBoldFont.get();
  }
  TdxBarCustomStaticControl::ApplyItemFont(AFont);
}

int TdxBarSeparatorControl::GetMenuItemHeight()
{
  TCustomdxBarControl* bar = GetParent();
  TdxBarItemControlDrawParams* params = GetDrawParams();
  if (!params || !params->HasCaptionPart())
    return bar ? bar->GetSeparatorSizeValue() : 0;
  TdxBarPainter* painter = GetPainter();
  const int line = painter ? painter->GetSeparatorLineSize() : 0;
  return TdxBarCustomStaticControl::GetMenuItemHeight() + line * (IsFirstShownLink() ? 1 : 2);
}

int TdxBarSeparatorControl::GetDefaultWidth()
{
  TCustomdxBarControl* bar = GetParent();
  return bar ? bar->GetSeparatorSizeValue() : 0;
}

int TdxBarSeparatorControl::GetMinWidth() const
{
  TCustomdxBarControl* bar = GetParent();
  TdxBarPainter* painter = GetPainter();
  return (painter ? painter->GetSeparatorMargins().left : 0) + (bar ? bar->GetGlyphColumnWidth() : 0);
}

TRect TdxBarSeparatorControl::GetItemControlMargins() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetSeparatorMargins() : TRect{};
}
