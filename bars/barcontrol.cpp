#include "bars/barcontrol.h"

#include "bars/manager.h"

IMPLEMENT_CLASS(TCustomdxBarControl, TCustomControl)

TCustomdxBarControl::TCustomdxBarControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TCustomdxBarControl::~TCustomdxBarControl() = default;

TdxBarManager* TCustomdxBarControl::GetBarManager() const
{
  return dynamic_cast<TdxBarManager*>(Owner());
}

TdxBarPainter* TCustomdxBarControl::GetPainter() const
{
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetPainter() : nullptr;
}

void TCustomdxBarControl::SetItemLinks(TdxBarItemLinks* Value)
{
  FItemLinks = Value;
}

bool TCustomdxBarControl::IsCustomizing() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsCustomizing();
}

TdxBarItemControl* TCustomdxBarControl::GetSelectedControl() const
{
  return nullptr;
}

void TCustomdxBarControl::SetSelectedControl(TdxBarItemControl* Value) {}

void TCustomdxBarControl::RebuildBar() {}

void TCustomdxBarControl::RecalculateLayout() {}

void TCustomdxBarControl::RepaintAll()
{
  Invalidate();
}
