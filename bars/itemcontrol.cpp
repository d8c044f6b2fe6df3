#include "bars/itemcontrol.h"

#include "bars/itemlinks.h"

IMPLEMENT_CLASS(TdxBarItemControl, TObject)

TdxBarItemControl::TdxBarItemControl(TdxBarItemLink* AItemLink) : FItemLink(AItemLink), FParent(nullptr) {}

TdxBarItemControl::~TdxBarItemControl() = default;

TdxBarItem* TdxBarItemControl::GetItem() const
{
  return nullptr;
}

TdxBarManager* TdxBarItemControl::GetBarManager() const
{
  return nullptr;
}

TdxBarItemAlign TdxBarItemControl::GetAlignment() const
{
  return iaLeft;
}

bool TdxBarItemControl::GetSelected() const
{
  return false;
}

void TdxBarItemControl::BeginGroupChanged() {}
void TdxBarItemControl::CaptionChanged() {}
void TdxBarItemControl::EnabledChanged() {}
void TdxBarItemControl::GlyphChanged() {}
void TdxBarItemControl::LargeGlyphChanged() {}
void TdxBarItemControl::VisibleChanged() {}
void TdxBarItemControl::WidthChanged() {}
void TdxBarItemControl::RecalcAndRepaint() {}
void TdxBarItemControl::Repaint() {}
void TdxBarItemControl::Update() {}
void TdxBarItemControl::ApplyStyle() {}
void TdxBarItemControl::DropCachedImage() {}
void TdxBarItemControl::ClearCachedSizes() {}
void TdxBarItemControl::CalcDrawParams(bool AFull) {}
void TdxBarItemControl::CalcParts() {}

bool TdxBarItemControl::CanSelect() const
{
  return false;
}
