// Style objects and the style list.
#include "lookandfeel/cxStyles.h"

#include <algorithm>
#include <mutex>

DEFINE_ENUM_INFO(TcxStyleValue, L"svBitmap", L"svColor", L"svFont", L"svTextColor")

PUBLISHED(TcxStyle, TComponent)
{
  // The flags first: form data reads them before the values they describe.
  p.Prop(L"AssignedValues", &TcxStyle::GetAssignedValues, &TcxStyle::SetAssignedValues);
  p.Object(L"Bitmap", &TcxStyle::GetBitmap, &TcxStyle::SetBitmap).Stored(&TcxStyle::IsBitmapStored);
  p.Prop(L"Color", &TcxStyle::GetColor, &TcxStyle::SetColor)
      .NoDefault()
      .Stored(&TcxStyle::IsColorStored)
      .Idents(&ColorIdents());
  p.Object(L"Font", &TcxStyle::GetFont, &TcxStyle::SetFont).Stored(&TcxStyle::IsFontStored);
  p.Prop(L"TextColor", &TcxStyle::GetTextColor, &TcxStyle::SetTextColor)
      .NoDefault()
      .Stored(&TcxStyle::IsTextColorStored)
      .Idents(&ColorIdents());
}

TcxStyle::TcxStyle(TComponent* AOwner) : TComponent(AOwner)
{
  FFont = new TFont;
  FFont->OnChange = TNotifyEvent(this, &TcxStyle::FontChanged);
  FBitmap = new TBitmap;
  FBitmap->OnChange = TNotifyEvent(this, &TcxStyle::BitmapChanged);
}

TcxStyle::~TcxStyle()
{
  NotifyRemoved();
  FFont->OnChange = nullptr;
  FBitmap->OnChange = nullptr;
  delete FBitmap;
  delete FFont;
}

void TcxStyle::BeforeDestruction()
{
  TComponent::BeforeDestruction();
  NotifyRemoved();
}

void TcxStyle::NotifyRemoved()
{
  if (FRemovedNotified)
    return;
  FRemovedNotified = true;
  // A listener usually lets go of the style in its callback; walk a copy.
  std::vector<IcxStyleChangeListener*> listeners;
  listeners.swap(FListeners);
  for (IcxStyleChangeListener* listener : listeners)
    listener->StyleRemoved(this);
}

void TcxStyle::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TcxStyle*>(Source);
  if (!source) {
    TComponent::Assign(Source);
    return;
  }
  BeginUpdate();
  TFinally end([this] { EndUpdate(); });
  {
    TRestore bitmapChange(FBitmap->OnChange, nullptr);
    TRestore fontChange(FFont->OnChange, nullptr);
    FBitmap->Assign(source->FBitmap);
    FFont->Assign(source->FFont);
  }
  FColor = source->FColor;
  FTextColor = source->FTextColor;
  FAssignedValues = source->FAssignedValues;
  Changed();
}

void TcxStyle::RestoreDefaults()
{
  SetAssignedValues(TcxStyleValues());
}

void TcxStyle::SetAssignedValues(TcxStyleValues Value)
{
  if (FAssignedValues == Value)
    return;
  FAssignedValues = Value;
  Changed();
}

void TcxStyle::SetBitmap(TBitmap* Value)
{
  {
    TRestore bitmapChange(FBitmap->OnChange, nullptr);
    FBitmap->Assign(Value);
  }
  BitmapChanged(FBitmap);
}

void TcxStyle::SetColor(TColor Value)
{
  if (FColor == Value && FAssignedValues.Contains(svColor))
    return;
  FColor = Value;
  FAssignedValues.Include(svColor);
  Changed();
}

void TcxStyle::SetFont(TFont* Value)
{
  if (!Value)
    return;
  {
    TRestore fontChange(FFont->OnChange, nullptr);
    FFont->Assign(Value);
  }
  FontChanged(FFont);
}

void TcxStyle::SetTextColor(TColor Value)
{
  if (FTextColor == Value && FAssignedValues.Contains(svTextColor))
    return;
  FTextColor = Value;
  FAssignedValues.Include(svTextColor);
  Changed();
}

void TcxStyle::FontChanged(TObject* Sender)
{
  FAssignedValues.Include(svFont);
  Changed();
}

void TcxStyle::BitmapChanged(TObject* Sender)
{
  if (FBitmap->Empty())
    FAssignedValues.Exclude(svBitmap);
  else
    FAssignedValues.Include(svBitmap);
  Changed();
}

void TcxStyle::BeginUpdate()
{
  ++FUpdateCount;
}

void TcxStyle::EndUpdate()
{
  if (FUpdateCount <= 0)
    return;
  if (--FUpdateCount == 0 && FChangePending)
    Changed();
}

void TcxStyle::Changed()
{
  if (FUpdateCount > 0) {
    FChangePending = true;
    return;
  }
  FChangePending = false;
  if (FRemovedNotified)
    return;
  // A listener may remove itself (or another) while being told; skip those gone since.
  std::vector<IcxStyleChangeListener*> listeners = FListeners;
  for (IcxStyleChangeListener* listener : listeners)
    if (std::find(FListeners.begin(), FListeners.end(), listener) != FListeners.end())
      listener->StyleChanged(this);
}

void TcxStyle::AddListener(IcxStyleChangeListener* AListener)
{
  if (AListener && std::find(FListeners.begin(), FListeners.end(), AListener) == FListeners.end())
    FListeners.push_back(AListener);
}

void TcxStyle::RemoveListener(IcxStyleChangeListener* AListener)
{
  auto it = std::find(FListeners.begin(), FListeners.end(), AListener);
  if (it != FListeners.end())
    FListeners.erase(it);
}

// ---------------------------------------------------------------------------

namespace {
std::mutex gStyleListLock;
std::vector<TObject*> gStyleList;
}  // namespace

void AddStyleEntryForOwner(TObject* AOwner)
{
  std::lock_guard<std::mutex> guard(gStyleListLock);
  if (AOwner && std::find(gStyleList.begin(), gStyleList.end(), AOwner) == gStyleList.end())
    gStyleList.push_back(AOwner);
}

bool HasStyleEntryForOwner(TObject* AOwner)
{
  std::lock_guard<std::mutex> guard(gStyleListLock);
  return AOwner && std::find(gStyleList.begin(), gStyleList.end(), AOwner) != gStyleList.end();
}

void RemoveStyleEntryForOwner(TObject* AOwner)
{
  std::lock_guard<std::mutex> guard(gStyleListLock);
  auto it = std::find(gStyleList.begin(), gStyleList.end(), AOwner);
  if (it != gStyleList.end())
    gStyleList.erase(it);
}

void InitializecxStyles()
{
  std::lock_guard<std::mutex> guard(gStyleListLock);
  gStyleList.clear();
}

void FinalizecxStyles()
{
  std::lock_guard<std::mutex> guard(gStyleListLock);
  gStyleList.clear();
  gStyleList.shrink_to_fit();
}
