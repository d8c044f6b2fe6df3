// The component base that items, groups and popup menus of a bar manager share, and the
// small lists it rests on: an object list with nil-safe reads, a component list with change
// events and an update lock, and the component list that its bar components know about.
#pragma once

#include "platform/Lists.h"

class TdxBarComponent;
class TdxBarComponentList;
class TdxBarManager;

// When an item (or a whole category of items, or a group's members) is shown.
enum TdxBarItemVisible { ivNever, ivInCustomizing, ivAlways };
DECLARE_ENUM_INFO(TdxBarItemVisible)

// ---------------------------------------------------------------------------

// An object list that does not own its objects by default, with reads that answer nil.
class TdxObjectList : public TObjectList {
  DECLARE_CLASS(TdxObjectList, TObjectList)
public:
  TdxObjectList() : TObjectList(false) {}
  explicit TdxObjectList(bool AOwnsObjects) : TObjectList(AOwnsObjects) {}
  template <class P>
  TdxObjectList(P*) = delete;

  // Appends a non-nil object that is not listed yet; its index, or -1 when refused.
  int AddUnique(TObject* AObject);
  // Replaces the entries by those of Source (added uniquely when Source is a TdxObjectList).
  void AssignList(TList* Source);
  // The last entry, nil when empty.
  TObject* Last() const { return Count() > 0 ? TObjectList::Items(Count() - 1) : nullptr; }
  // Nil out of range.
  TObject* Items(int Index) const { return Index >= 0 && Index < Count() ? TObjectList::Items(Index) : nullptr; }
};

// What happened to a component list; a nil component stands for the whole list.
enum TdxComponentListChangeType { clcnAdded = 0, clcnChanged = 1, clcnExtracted = 3, clcnDeleted = 4 };

using TdxComponentListChangeEvent =
    TEvent<void(TObject* Sender, TComponent* AComponent, TdxComponentListChangeType Kind)>;
using TdxComponentListNotifyEvent = TEvent<void(TObject* Sender, TComponent* AComponent, TListNotification Action)>;

// A non-owning component list (a freed member leaves it) that reports its changes. Only
// components of its item class are taken in.
class TdxComponentList : public TComponentList {
  DECLARE_CLASS(TdxComponentList, TComponentList)
public:
  TdxComponentList() : TComponentList(false) {}
  ~TdxComponentList() override;

  // Refuse (-1, nothing inserted) a component that is nil or not of the item class.
  int Add(TComponent* AComponent);
  void Insert(int Index, TComponent* AComponent);
  virtual TClass GetItemClass() const { return TComponent::StaticClass(); }

  // No change event fires while locked; EndUpdate(true) reports a change of the whole list.
  void BeginUpdate() { ++FLockCount; }
  void EndUpdate(bool Notify = true);
  bool IsUpdateLocked() const { return FLockCount > 0; }
  // Reports a change of one member (nil: of the whole list).
  void Changed(TComponent* AComponent = nullptr) { DoChanged(AComponent, clcnChanged); }

  TdxComponentListChangeEvent OnChange;
  TdxComponentListNotifyEvent OnNotify;

protected:
  void Notify(void* Ptr, TListNotification Action) override;
  void DoChanged(TComponent* AComponent, TdxComponentListChangeType Kind);
  // Empties the list while its own Notify still runs; no change events.
  void ClearLocked();

private:
  int FLockCount = 0;
};

// The list of bar components the manager and groups keep: each member knows the lists that
// hold it, so that its changes reach them.
class TdxBarComponentList : public TdxComponentList {
  DECLARE_CLASS(TdxBarComponentList, TdxComponentList)
public:
  TdxBarComponentList() = default;
  ~TdxBarComponentList() override;

  TClass GetItemClass() const override;
  TdxBarComponent* GetBarComponent(int Index) const;
  // Set before the list goes away with its members alive: they stop reporting to it.
  void SetDestroying() { FDestroying = true; }
  bool IsDestroying() const { return FDestroying; }

protected:
  void Notify(void* Ptr, TListNotification Action) override;

private:
  bool FDestroying = false;
};

// How an object stands in the customizing selection: Selected through its item (a link whose
// item is the selection), or Current, the selected object itself, which bar windows outline
// more strongly.
enum class TdxBarSelectionState : int { None = 0, Selected = 1, Current = 2 };

// Design-time and run-time selection as the design controller asks it of an object.
class IdxBarSelectableItem {
public:
  virtual ~IdxBarSelectableItem() = default;
  virtual TdxBarSelectionState GetSelectionStatus() const = 0;
  virtual bool IsSelected() const = 0;
  virtual void Select(int Mode) = 0;
  // What kind of selectable object this is: 2 for components.
  virtual int GetSelectableKind() const = 0;
  // The object joined or left a selection and may show it.
  virtual void SelectionChanged() {}
};

class TdxBarComponent : public TComponent, public IdxBarSelectableItem {
  DECLARE_CLASS(TdxBarComponent, TComponent)
public:
  explicit TdxBarComponent(TComponent* AOwner) : TComponent(AOwner) {}
  ~TdxBarComponent() override;

  // Reports a change to every list that holds the component: of itself, or (AllItems) of
  // the whole list. Nothing while it is being destroyed.
  virtual void Changed(bool AllItems = false);

  // Enabled and Visible as items and groups answer them; the base has neither.
  virtual bool GetEnabled() const { return true; }
  virtual void SetEnabled(bool Value) {}
  virtual TdxBarItemVisible GetVisible() const { return ivAlways; }
  virtual void SetVisible(TdxBarItemVisible Value) {}

  // Whether the component may be deleted; Delete frees it when so.
  virtual bool CanDelete(bool Force);
  virtual void Delete(bool Force);
  // Told by the manager of changes that concern all its components.
  virtual void BarManagerNotification(int Kind) {}

  TdxBarManager* GetBarManager() const;
  void AddOwnerTo(TdxObjectList* List);
  // The accessibility object of the component: none.
  virtual void* GetAccessibilityHelper() { return nullptr; }
  // The component the designer shows for this one: its owner.
  virtual TComponent* GetInstanceOwner() const { return Owner(); }

  // Selection (the design controller's answers; none without a controller).
  TdxBarSelectionState GetSelectionStatus() const override { return TdxBarSelectionState::None; }
  bool IsSelected() const override { return false; }
  void Select(int Mode) override {}
  int GetSelectableKind() const override { return 2; }

  // --- Hooks through which the manager's category operations reach the items of its
  // item register. Items answer them; other components stand outside the categories.
  // The component's category, -1 for none.
  virtual int GetCategoryIndex() const { return -1; }
  // Renumbering by the category list: the number is stored without further reaction.
  virtual void SetCategoryIndex(int Value) {}
  // Whether bars would show the component now.
  virtual bool IsAvailable() const { return GetVisible() == ivAlways; }
  // An item kind that keeps itself out of the Customize dialog's command lists.
  virtual bool IsExcludedFromCustomizing() const { return false; }

  // The lists that hold the component.
  int GetListCount() const { return FLists.Count(); }
  TdxBarComponentList* GetList(int Index) const;

protected:
  void SetBarManager(TdxBarManager* Value);

private:
  friend class TdxBarComponentList;
  void AddList(TdxBarComponentList* AList);
  void RemoveList(TdxBarComponentList* AList);

  TWeakRef<TdxBarManager> FBarManager;
  TList FLists;
};
