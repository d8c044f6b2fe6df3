// The bar manager's background bitmaps.
#include "bars/model/backgrounds.h"

#include "bars/model/manager.h"

PUBLISHED(TdxBarBackgrounds, TdxBarPersistent)
{
  p.Object(L"Bar", &TdxBarBackgrounds::GetBar, &TdxBarBackgrounds::SetBar);
  p.Object(L"SubMenu", &TdxBarBackgrounds::GetSubMenu, &TdxBarBackgrounds::SetSubMenu);
}

TdxBarBackgrounds::TdxBarBackgrounds(TPersistent* AOwner)
    : TdxBarPersistent(AOwner), FBar(std::make_unique<TBitmap>()), FSubMenu(std::make_unique<TBitmap>())
{
  FBar->OnChange = TNotifyEvent(this, &TdxBarBackgrounds::BarChanged);
}

TdxBarBackgrounds::~TdxBarBackgrounds()
{
  FBar->OnChange = nullptr;
}

void TdxBarBackgrounds::Assign(TPersistent* Source)
{
  if (auto* source = dynamic_cast<TdxBarBackgrounds*>(Source)) {
    SetBar(source->GetBar());
    SetSubMenu(source->GetSubMenu());
    return;
  }
  TdxBarPersistent::Assign(Source);
}

void TdxBarBackgrounds::SetBar(TBitmap* Value)
{
  bool wasEmpty = FBar->Empty();
  // The copy itself reports no change: the rule below decides whether one is due.
  {
    TRestore assigning(FAssigningBar, true);
    FBar->Assign(Value);
  }
  if (Value || !wasEmpty)
    CallEvent(OnBarChange, this);
}

void TdxBarBackgrounds::SetSubMenu(TBitmap* Value)
{
  FSubMenu->Assign(Value);
}

void TdxBarBackgrounds::BarChanged(TObject* Sender)
{
  if (!FAssigningBar)
    CallEvent(OnBarChange, this);
}

// ---------------------------------------------------------------------------
// The manager's backgrounds

void TdxBarManager::SetBackgrounds(TdxBarBackgrounds* Value)
{
  if (Value && FBackgrounds)
    FBackgrounds->Assign(Value);
}

void TdxBarManager::BackgroundsBarChanged(TObject* Sender)
{
  if (!IsDestroying())
    UpdateStyle();
}
