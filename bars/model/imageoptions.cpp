// The bar manager's image options: image-list references kept through change links and a
// free notificator, the glyph flags, the icon size and the change events.
#include "bars/model/customizing.h"
#include "bars/model/imageoptions.h"

#include "bars/model/manager.h"
#include "lookandfeel/cxClasses.h"

IMPLEMENT_CLASS(TdxBarPersistent, TPersistent)

PUBLISHED(TdxBarImageOptions, TdxBarPersistent)
{
  using O = TdxBarImageOptions;
  p.Component(L"DisabledImages", &O::GetDisabledImages, &O::SetDisabledImages);
  p.Component(L"DisabledLargeImages", &O::GetDisabledLargeImages, &O::SetDisabledLargeImages);
  p.Component(L"HotImages", &O::GetHotImages, &O::SetHotImages);
  p.Component(L"Images", &O::GetImages, &O::SetImages);
  p.Component(L"LargeImages", &O::GetLargeImages, &O::SetLargeImages);
  p.Prop(L"CacheGlyphs", &O::GetCacheGlyphs, &O::SetCacheGlyphs).Default(true);
  p.Prop(L"ImageListBkColor", &O::GetImageListBkColor, &O::SetImageListBkColor)
      .Idents(&ColorIdents())
      .Default(clFuchsia);
  p.Prop(L"LargeIcons", &O::GetLargeIcons, &O::SetLargeIcons).Default(false);
  p.Prop(L"MakeDisabledImagesFaded", &O::GetMakeDisabledImagesFaded, &O::SetMakeDisabledImagesFaded).Default(false);
  p.Prop(L"SmoothGlyphs", &O::GetSmoothGlyphs, &O::SetSmoothGlyphs).Default(false);
  p.Prop(L"StretchGlyphs", &O::GetStretchGlyphs, &O::SetStretchGlyphs).Default(true);
  p.Prop(L"UseLargeImagesForLargeIcons", &O::GetUseLargeImagesForLargeIcons, &O::SetUseLargeImagesForLargeIcons)
      .Default(false);
  p.Prop(L"UseLeftBottomPixelAsTransparent", &O::GetUseLeftBottomPixelAsTransparent,
         &O::SetUseLeftBottomPixelAsTransparent)
      .Default(true);
}

namespace {

// The icon size without large icons, and with them when no large list gives it.
constexpr int SmallIconSize = 16;
constexpr int LargeIconSize = 32;

}  // namespace

TdxBarImageOptions::TdxBarImageOptions(TPersistent* AOwner) : TdxBarPersistent(AOwner)
{
  for (auto& link : FChangeLinks)
    link = std::make_unique<TChangeLink>();
  FFreeNotificator = std::make_unique<TcxFreeNotificator>(nullptr);
  FFreeNotificator->OnFreeNotification = TcxFreeNotificationEvent(this, &TdxBarImageOptions::ImageListFreed);
  UpdateIconSize();
}

TdxBarImageOptions::~TdxBarImageOptions()
{
  // The links unregister from their lists as they go; the notificator leaves the lists'
  // notification lists as it is freed.
  for (auto& link : FChangeLinks)
    link.reset();
  FFreeNotificator.reset();
}

void TdxBarImageOptions::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TdxBarImageOptions*>(Source);
  if (!source) {
    TdxBarPersistent::Assign(Source);
    return;
  }
  SetDisabledImages(source->GetDisabledImages());
  SetDisabledLargeImages(source->GetDisabledLargeImages());
  SetHotImages(source->GetHotImages());
  SetImages(source->GetImages());
  SetLargeImages(source->GetLargeImages());
  SetCacheGlyphs(source->GetCacheGlyphs());
  SetImageListBkColor(source->GetImageListBkColor());
  SetLargeIcons(source->GetLargeIcons());
  SetMakeDisabledImagesFaded(source->GetMakeDisabledImagesFaded());
  FSmoothGlyphs = source->FSmoothGlyphs;
  FStretchGlyphs = source->FStretchGlyphs;
  SetUseLargeImagesForLargeIcons(source->GetUseLargeImagesForLargeIcons());
  SetUseLeftBottomPixelAsTransparent(source->GetUseLeftBottomPixelAsTransparent());
}

void TdxBarImageOptions::SetImageList(TdxBarImageListKind Kind, TCustomImageList* Value)
{
  if (Kind < 0 || Kind >= ListCount)
    return;
  TCustomImageList* old = FLists[Kind];
  if (old == Value)
    return;
  TChangeLink* link = FChangeLinks[Kind].get();
  if (old) {
    old->UnRegisterChanges(link);
    // The same list may still serve another property: keep its notification then.
    bool stillUsed = false;
    for (int i = 0; i < ListCount; ++i)
      if (i != Kind && FLists[i] == old)
        stillUsed = true;
    if (!stillUsed)
      FFreeNotificator->RemoveSender(old);
  }
  FLists[Kind] = Value;
  if (Value) {
    Value->RegisterChanges(link);
    FFreeNotificator->AddSender(Value);
  }
  // The link's own Change stays silent without a list; clearing a list is a change too.
  CallEvent(link->OnChange, Value);
}

void TdxBarImageOptions::SetLargeImages(TCustomImageList* Value)
{
  if (FLists[ilkLargeImages] == Value)
    return;
  SetImageList(ilkLargeImages, Value);
  if (FLargeIcons && FUseLargeImagesForLargeIcons)
    IconSizeChanged();
}

void TdxBarImageOptions::SetImageListBkColor(TColor Value)
{
  if (FImageListBkColor == Value)
    return;
  FImageListBkColor = Value;
  Changed();
}

void TdxBarImageOptions::SetLargeIcons(bool Value)
{
  if (FLargeIcons == Value)
    return;
  FLargeIcons = Value;
  IconSizeChanged();
}

void TdxBarImageOptions::SetMakeDisabledImagesFaded(bool Value)
{
  if (FMakeDisabledImagesFaded == Value)
    return;
  FMakeDisabledImagesFaded = Value;
  Changed();
}

void TdxBarImageOptions::SetUseLargeImagesForLargeIcons(bool Value)
{
  if (FUseLargeImagesForLargeIcons == Value)
    return;
  FUseLargeImagesForLargeIcons = Value;
  Changed();
}

void TdxBarImageOptions::SetUseLeftBottomPixelAsTransparent(bool Value)
{
  if (FUseLeftBottomPixelAsTransparent == Value)
    return;
  FUseLeftBottomPixelAsTransparent = Value;
  Changed();
}

void TdxBarImageOptions::UpdateIconSize()
{
  if (!FLargeIcons)
    FIconSize = SmallIconSize;
  else if (AreLargeImagesUsed())
    FIconSize = FLists[ilkLargeImages]->GetWidth();
  else
    FIconSize = LargeIconSize;
}

bool TdxBarImageOptions::AreLargeImagesUsed() const
{
  return FLargeIcons && FUseLargeImagesForLargeIcons && FLists[ilkLargeImages];
}

bool TdxBarImageOptions::IsAnyImageListLoading() const
{
  for (TCustomImageList* list : FLists)
    if (list && list->ComponentState().Contains(csLoading))
      return true;
  return false;
}

void TdxBarImageOptions::Changed()
{
  CallEvent(OnChange, this);
}

void TdxBarImageOptions::IconSizeChanged()
{
  // Without a handler nobody else recomputes the size.
  if (!OnIconSizeChange.Assigned())
    UpdateIconSize();
  CallEvent(OnIconSizeChange, this);
}

void TdxBarImageOptions::ImageListFreed(TComponent* Sender)
{
  for (int i = 0; i < ListCount; ++i)
    if (FLists[i] == Sender) {
      if (i == ilkLargeImages)
        SetLargeImages(nullptr);
      else
        SetImageList(TdxBarImageListKind(i), nullptr);
    }
}

// ---------------------------------------------------------------------------
// The manager's image options

void TdxBarManager::CreateImageOptions()
{
  FImageOptions = std::make_unique<TdxBarImageOptions>(this);
  FImageOptions->GetChangeLink(ilkImages)->OnChange = TNotifyEvent(this, &TdxBarManager::ImagesChanged);
  FImageOptions->GetChangeLink(ilkDisabledImages)->OnChange = TNotifyEvent(this, &TdxBarManager::ImagesChanged);
  FImageOptions->GetChangeLink(ilkLargeImages)->OnChange = TNotifyEvent(this, &TdxBarManager::LargeImagesChanged);
  FImageOptions->GetChangeLink(ilkDisabledLargeImages)->OnChange =
      TNotifyEvent(this, &TdxBarManager::LargeImagesChanged);
  FImageOptions->GetChangeLink(ilkHotImages)->OnChange = TNotifyEvent(this, &TdxBarManager::HotImagesChanged);
  FImageOptions->OnChange = TNotifyEvent(this, &TdxBarManager::ImageOptionsChanged);
  FImageOptions->OnIconSizeChange = TNotifyEvent(this, &TdxBarManager::ImageOptionsIconSizeChanged);
}

void TdxBarManager::SetImageOptions(TdxBarImageOptions* Value)
{
  if (Value && FImageOptions)
    FImageOptions->Assign(Value);
}

void TdxBarManager::RunImageOptionsReaction(void (TdxBarManager::*Reaction)())
{
  if (IsLoading() || IsDestroying())
    return;
  BeginUpdate();
  TFinally end([this] { EndUpdate(true); });
  (this->*Reaction)();
}

void TdxBarManager::ImagesChanged(TObject* Sender)
{
  RunImageOptionsReaction(&TdxBarManager::ItemsGlyphChanged);
}

void TdxBarManager::LargeImagesChanged(TObject* Sender)
{
  RunImageOptionsReaction(&TdxBarManager::ItemsLargeGlyphChanged);
}

void TdxBarManager::HotImagesChanged(TObject* Sender)
{
  RunImageOptionsReaction(&TdxBarManager::ItemsHotGlyphChanged);
}

void TdxBarManager::ImageOptionsChanged(TObject* Sender)
{
  RunImageOptionsReaction(&TdxBarManager::RebuildAllBars);
}

void TdxBarManager::ImageOptionsIconSizeChanged(TObject* Sender)
{
  // The size is kept right even while loading: what is read next may ask for it.
  if (FImageOptions)
    FImageOptions->UpdateIconSize();
  if (IsLoading() || IsDestroying())
    return;
  DesignerModified();
  // An open Customize dialog refreshes its options page from here once it exists.
  RunImageOptionsReaction(&TdxBarManager::RebuildAllBars);
}

int TdxBarManager::GetIconSize() const
{
  return FImageOptions ? FImageOptions->GetIconSize() : SmallIconSize;
}

bool TdxBarManager::AreLargeImagesUsed() const
{
  return FImageOptions && FImageOptions->AreLargeImagesUsed();
}

TCustomImageList* TdxBarManager::GetDisabledImages() const
{
  return FImageOptions->GetDisabledImages();
}
void TdxBarManager::SetDisabledImages(TCustomImageList* Value)
{
  FImageOptions->SetDisabledImages(Value);
}
TCustomImageList* TdxBarManager::GetDisabledLargeImages() const
{
  return FImageOptions->GetDisabledLargeImages();
}
void TdxBarManager::SetDisabledLargeImages(TCustomImageList* Value)
{
  FImageOptions->SetDisabledLargeImages(Value);
}
TCustomImageList* TdxBarManager::GetHotImages() const
{
  return FImageOptions->GetHotImages();
}
void TdxBarManager::SetHotImages(TCustomImageList* Value)
{
  FImageOptions->SetHotImages(Value);
}
TCustomImageList* TdxBarManager::GetImages() const
{
  return FImageOptions->GetImages();
}
void TdxBarManager::SetImages(TCustomImageList* Value)
{
  FImageOptions->SetImages(Value);
}
TCustomImageList* TdxBarManager::GetLargeImages() const
{
  return FImageOptions->GetLargeImages();
}
void TdxBarManager::SetLargeImages(TCustomImageList* Value)
{
  FImageOptions->SetLargeImages(Value);
}
TColor TdxBarManager::GetImageListBkColor() const
{
  return FImageOptions->GetImageListBkColor();
}
void TdxBarManager::SetImageListBkColor(TColor Value)
{
  FImageOptions->SetImageListBkColor(Value);
}
bool TdxBarManager::GetLargeIcons() const
{
  return FImageOptions->GetLargeIcons();
}
void TdxBarManager::SetLargeIcons(bool Value)
{
  if (FImageOptions->GetLargeIcons() == Value)
    return;
  FImageOptions->SetLargeIcons(Value);
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::Options);
}
bool TdxBarManager::GetMakeDisabledImagesFaded() const
{
  return FImageOptions->GetMakeDisabledImagesFaded();
}
void TdxBarManager::SetMakeDisabledImagesFaded(bool Value)
{
  FImageOptions->SetMakeDisabledImagesFaded(Value);
}
bool TdxBarManager::GetStretchGlyphs() const
{
  return FImageOptions->GetStretchGlyphs();
}
void TdxBarManager::SetStretchGlyphs(bool Value)
{
  FImageOptions->SetStretchGlyphs(Value);
}
bool TdxBarManager::GetUseLargeImagesForLargeIcons() const
{
  return FImageOptions->GetUseLargeImagesForLargeIcons();
}
void TdxBarManager::SetUseLargeImagesForLargeIcons(bool Value)
{
  FImageOptions->SetUseLargeImagesForLargeIcons(Value);
}
