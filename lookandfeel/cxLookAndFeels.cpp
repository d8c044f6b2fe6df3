// Look-and-feel settings with assigned values, a master and change listeners.
#include "lookandfeel/cxLookAndFeels.h"

#include <algorithm>

DEFINE_ENUM_INFO(TcxLookAndFeelKind, L"lfFlat", L"lfStandard", L"lfUltraFlat", L"lfOffice11")
DEFINE_ENUM_INFO(TcxLookAndFeelValue, L"lfvKind", L"lfvNativeStyle", L"lfvSkinName")

PUBLISHED(TcxLookAndFeel, TPersistent)
{
  p.Prop(L"Kind", &TcxLookAndFeel::GetKind, &TcxLookAndFeel::SetKind)
      .Default(cxDefaultLookAndFeelKind)
      .Stored(&TcxLookAndFeel::IsKindStored);
  p.Prop(L"NativeStyle", &TcxLookAndFeel::GetNativeStyle, &TcxLookAndFeel::SetNativeStyle)
      .Default(cxDefaultLookAndFeelNativeStyle)
      .Stored(&TcxLookAndFeel::IsNativeStyleStored);
  p.Prop(L"SkinName", &TcxLookAndFeel::GetSkinName, &TcxLookAndFeel::SetSkinName)
      .Stored(&TcxLookAndFeel::IsSkinNameStored);
}

TcxLookAndFeel::TcxLookAndFeel(TPersistent* AOwner) : FOwner(AOwner) {}

TcxLookAndFeel::~TcxLookAndFeel()
{
  FDestroying = true;
  // Followers fall back to their own or default values; they may unregister meanwhile.
  std::vector<IcxLookAndFeelNotificationListener*> listeners = FListeners;
  for (IcxLookAndFeelNotificationListener* l : listeners)
    if (std::find(FListeners.begin(), FListeners.end(), l) != FListeners.end())
      l->MasterLookAndFeelDestroying(this);
  FListeners.clear();
  if (TcxLookAndFeel* master = FMaster.Get())
    master->RemoveChangeListener(this);
}

void TcxLookAndFeel::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TcxLookAndFeel*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this)
    return;
  TSnapshot before = Snapshot();
  FKind = source->FKind;
  FNativeStyle = source->FNativeStyle;
  FSkinName = source->FSkinName;
  FAssignedValues = source->FAssignedValues;
  CheckChanged(before);
}

TcxLookAndFeelKind TcxLookAndFeel::GetKind() const
{
  if (FAssignedValues.Contains(lfvKind))
    return FKind;
  TcxLookAndFeel* master = FMaster.Get();
  return master ? master->GetKind() : cxDefaultLookAndFeelKind;
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind Value)
{
  if (Value < lfFlat || Value > lfOffice11)
    throw EPropertyError(L"Invalid look-and-feel kind " + IntToStr(int(Value)));
  TSnapshot before = Snapshot();
  FKind = Value;
  FAssignedValues.Include(lfvKind);
  CheckChanged(before);
}

bool TcxLookAndFeel::GetNativeStyle() const
{
  if (FAssignedValues.Contains(lfvNativeStyle))
    return FNativeStyle;
  TcxLookAndFeel* master = FMaster.Get();
  return master ? master->GetNativeStyle() : cxDefaultLookAndFeelNativeStyle;
}

void TcxLookAndFeel::SetNativeStyle(bool Value)
{
  TSnapshot before = Snapshot();
  FNativeStyle = Value;
  FAssignedValues.Include(lfvNativeStyle);
  CheckChanged(before);
}

String TcxLookAndFeel::GetSkinName() const
{
  if (FAssignedValues.Contains(lfvSkinName))
    return FSkinName;
  TcxLookAndFeel* master = FMaster.Get();
  return master ? master->GetSkinName() : String();
}

void TcxLookAndFeel::SetSkinName(const String& Value)
{
  TSnapshot before = Snapshot();
  FSkinName = Value;
  FAssignedValues.Include(lfvSkinName);
  CheckChanged(before);
}

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues Value)
{
  Value *= TcxLookAndFeelValues{lfvKind, lfvNativeStyle, lfvSkinName};
  if (Value == FAssignedValues)
    return;
  TSnapshot before = Snapshot();
  FAssignedValues = Value;
  CheckChanged(before);
}

void TcxLookAndFeel::Reset()
{
  SetAssignedValues({});
}

void TcxLookAndFeel::SetMasterLookAndFeel(TcxLookAndFeel* Value)
{
  // A master on its way out could not tell this one it went: it is no master.
  if (Value && Value->FDestroying)
    Value = nullptr;
  if (Value == FMaster.Get())
    return;
  for (TcxLookAndFeel* m = Value; m; m = m->FMaster.Get())
    if (m == this)
      throw EInvalidOperation(L"A look-and-feel cannot follow itself");
  TSnapshot before = Snapshot();
  if (TcxLookAndFeel* old = FMaster.Get())
    old->RemoveChangeListener(this);
  FMaster = Value;
  if (Value)
    Value->AddChangeListener(this);
  CheckChanged(before);
}

void TcxLookAndFeel::AddChangeListener(IcxLookAndFeelNotificationListener* Listener)
{
  if (Listener && !FDestroying && std::find(FListeners.begin(), FListeners.end(), Listener) == FListeners.end())
    FListeners.push_back(Listener);
}

void TcxLookAndFeel::RemoveChangeListener(IcxLookAndFeelNotificationListener* Listener)
{
  FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), Listener), FListeners.end());
}

void TcxLookAndFeel::BeginUpdate()
{
  ++FUpdateCount;
}

void TcxLookAndFeel::EndUpdate()
{
  if (FUpdateCount == 0)
    return;
  if (--FUpdateCount == 0 && !FPendingChanges.Empty()) {
    TcxLookAndFeelValues pending = FPendingChanges;
    FPendingChanges = {};
    Changed(pending);
  }
}

void TcxLookAndFeel::Changed(TcxLookAndFeelValues ChangedValues)
{
  if (ChangedValues.Empty() || FDestroying)
    return;
  if (FUpdateCount > 0) {
    FPendingChanges += ChangedValues;
    return;
  }
  TWeakRef<TcxLookAndFeel> self(this);
  CallEvent(OnChanged, this, ChangedValues);
  if (!self)
    return;
  std::vector<IcxLookAndFeelNotificationListener*> listeners = FListeners;
  for (IcxLookAndFeelNotificationListener* l : listeners) {
    if (std::find(FListeners.begin(), FListeners.end(), l) == FListeners.end())
      continue;
    l->MasterLookAndFeelChanged(this, ChangedValues);
    if (!self)
      return;
  }
}

TcxLookAndFeel::TSnapshot TcxLookAndFeel::Snapshot() const
{
  return TSnapshot{GetKind(), GetNativeStyle(), GetSkinName()};
}

void TcxLookAndFeel::CheckChanged(const TSnapshot& Before)
{
  TcxLookAndFeelValues changed;
  if (Before.Kind != GetKind())
    changed.Include(lfvKind);
  if (Before.NativeStyle != GetNativeStyle())
    changed.Include(lfvNativeStyle);
  if (Before.SkinName != GetSkinName())
    changed.Include(lfvSkinName);
  Changed(changed);
}

void TcxLookAndFeel::MasterLookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues)
{
  // Only the values this object does not set itself follow the master.
  Changed(ChangedValues - FAssignedValues);
}

void TcxLookAndFeel::MasterLookAndFeelDestroying(TcxLookAndFeel* Sender)
{
  if (Sender != FMaster.Get())
    return;
  TSnapshot before = Snapshot();
  FMaster = nullptr;
  CheckChanged(before);
}
