// Look-and-feel settings: a kind, a native-style flag and a skin name that an object
// either sets itself ("assigned values") or takes from a master it follows. Changes
// reach the owner's OnChanged handler and every registered listener.
#pragma once

#include <vector>

#include "platform/Classes.h"

enum TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };
DECLARE_ENUM_INFO(TcxLookAndFeelKind)

enum TcxLookAndFeelValue { lfvKind, lfvNativeStyle, lfvSkinName };
using TcxLookAndFeelValues = TSet<TcxLookAndFeelValue>;
DECLARE_ENUM_INFO(TcxLookAndFeelValue)

// The values a look-and-feel without master and without assigned values answers.
constexpr TcxLookAndFeelKind cxDefaultLookAndFeelKind = lfStandard;
constexpr bool cxDefaultLookAndFeelNativeStyle = false;

class TcxLookAndFeel;

// Told when a look-and-feel it listens to changes its effective values, and when it goes.
class IcxLookAndFeelNotificationListener {
public:
  virtual ~IcxLookAndFeelNotificationListener() = default;
  virtual void MasterLookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) = 0;
  virtual void MasterLookAndFeelDestroying(TcxLookAndFeel* Sender) = 0;
};

using TcxLookAndFeelChangedEvent = TEvent<void(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues)>;

class TcxLookAndFeel : public TPersistent, private IcxLookAndFeelNotificationListener {
  DECLARE_CLASS(TcxLookAndFeel, TPersistent)
public:
  explicit TcxLookAndFeel(TPersistent* AOwner = nullptr);
  ~TcxLookAndFeel() override;

  TPersistent* GetOwner() const override { return FOwner; }
  // Copies the assigned values and their settings of another look-and-feel (one change
  // notification); anything else goes to the usual assignment rules.
  void Assign(TPersistent* Source) override;

  // Effective values: the own value when assigned, else the master's, else the default.
  TcxLookAndFeelKind GetKind() const;
  void SetKind(TcxLookAndFeelKind Value);
  bool GetNativeStyle() const;
  void SetNativeStyle(bool Value);
  String GetSkinName() const;
  void SetSkinName(const String& Value);

  TcxLookAndFeelValues GetAssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxLookAndFeelValues Value);
  // Clears the assigned values, so that the master's (or default) values apply again.
  void Reset();

  // The look-and-feel followed for unassigned values; nil for none. A master that would
  // make a cycle (itself, or one that follows this one) is refused with EInvalidOperation.
  TcxLookAndFeel* GetMasterLookAndFeel() const { return FMaster.Get(); }
  void SetMasterLookAndFeel(TcxLookAndFeel* Value);

  // Listeners are told of effective changes and of destruction; each is added once.
  void AddChangeListener(IcxLookAndFeelNotificationListener* Listener);
  void RemoveChangeListener(IcxLookAndFeelNotificationListener* Listener);
  int GetChangeListenerCount() const { return int(FListeners.size()); }

  // Groups changes: one notification of everything that changed in between.
  void BeginUpdate();
  void EndUpdate();

  // Whether a skin painter goes with the current settings; no skins are supplied, so never.
  bool IsSkinPainterAssigned() const { return false; }

  // The owner's handler; the bar manager re-applies its style from it.
  TcxLookAndFeelChangedEvent OnChanged;

  // Stored predicates of the published values: stored exactly when assigned.
  bool IsKindStored() const { return FAssignedValues.Contains(lfvKind); }
  bool IsNativeStyleStored() const { return FAssignedValues.Contains(lfvNativeStyle); }
  bool IsSkinNameStored() const { return FAssignedValues.Contains(lfvSkinName); }

protected:
  // Fires OnChanged and tells the listeners; nothing when ChangedValues is empty.
  virtual void Changed(TcxLookAndFeelValues ChangedValues);

private:
  struct TSnapshot {
    TcxLookAndFeelKind Kind;
    bool NativeStyle;
    String SkinName;
  };
  TSnapshot Snapshot() const;
  // Reports what differs between Before and the current effective values.
  void CheckChanged(const TSnapshot& Before);
  void MasterLookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) override;
  void MasterLookAndFeelDestroying(TcxLookAndFeel* Sender) override;

  TPersistent* FOwner = nullptr;
  // Weak: a master freed without telling this one (its listener list skipped, or this one
  // set it while it was going) reads nil instead of a dangling pointer.
  TWeakRef<TcxLookAndFeel> FMaster;
  TcxLookAndFeelValues FAssignedValues;
  TcxLookAndFeelKind FKind = cxDefaultLookAndFeelKind;
  bool FNativeStyle = cxDefaultLookAndFeelNativeStyle;
  String FSkinName;
  std::vector<IcxLookAndFeelNotificationListener*> FListeners;
  int FUpdateCount = 0;
  TcxLookAndFeelValues FPendingChanges;
  bool FDestroying = false;
};
