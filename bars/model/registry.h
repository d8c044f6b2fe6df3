// The item-kind register: which item-control class shows each bar item class, and which
// kinds the Customize dialog offers. Also the list of living bar windows, which hooks and
// timers consult before they touch a window that a callback may have freed.
#pragma once

#include "platform/Lists.h"

// One register entry: an item class, the control class that shows it on bars and menus,
// and whether the Customize dialog lists the kind among the commands to add.
class TRegItemRecord : public TObject {
  DECLARE_CLASS(TRegItemRecord, TObject)
public:
  TRegItemRecord(TClass AItemClass, TClass AControlClass, bool AShownInCustomizing)
      : ItemClass(AItemClass), ControlClass(AControlClass), ShownInCustomizing(AShownInCustomizing)
  {
  }
  TClass ItemClass;
  TClass ControlClass;
  bool ShownInCustomizing;
};

// The register, in registration order. It owns its records.
class TdxBarItemList : public TList {
  DECLARE_CLASS(TdxBarItemList, TList)
public:
  TdxBarItemList() = default;
  ~TdxBarItemList() override;

  TRegItemRecord* GetRecord(int Index) const { return static_cast<TRegItemRecord*>(Items(Index)); }
  // Entries whose kind the Customize dialog lists.
  int GetVisibleCount() const;
  // The item class of the Index-th listed entry (0-based); nil past the last one.
  TClass GetVisibleItemClass(int Index) const;
  // The control class of the first entry whose item class is exactly ItemClass (a
  // subclass that was not registered itself gets nil); nil when there is none.
  TClass FindControlClass(TClass ItemClass) const;
  // The index of the first entry of ItemClass, or -1.
  int IndexOfItemClass(TClass ItemClass) const;

protected:
  void Notify(void* Ptr, TListNotification Action) override;
};

// Appends an entry and registers the item class for form data. No duplicate test: a class
// registered twice has two entries, and lookups find the first.
void RegisterBarItem(TClass ItemClass, TClass ControlClass, bool ShownInCustomizing);
// Removes the first entry of ItemClass and unregisters the class from form data; a class
// that is not registered is ignored.
void UnregisterBarItem(TClass ItemClass);
// The register, made on first use; nil once library shut-down has begun.
TdxBarItemList* RegisteredBarItems();
// The control class for an item class by exact match (what an item's GetControlClass
// answers); nil without a register.
TClass GetRegisteredControlClass(TClass ItemClass);
// Frees the register, its entries removed from the last to the first, each unregistered
// from form data. Library shut-down calls it.
void FreeRegisteredBarItems();

// The living bar windows. The entries are only compared, never dereferenced, so any
// object pointer serves; adding before start-up or after shut-down does nothing.
void AddBarControl(TObject* AControl);
void RemoveBarControl(TObject* AControl);
// Nil is never alive.
bool IsBarControlAlive(TObject* AControl);
// The list's lifetime, tied to library start-up and shut-down.
void CreateBarControlList();
void FreeBarControlList();
