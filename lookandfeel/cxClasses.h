// Class services of the drawing base: a persistent with an owner and a reference count,
// class-to-class registers, free notification helpers, weak object links, resource and
// locale texts, unique component names and owned collections of components.
#pragma once

#include <vector>

#include "platform/Classes.h"
#include "platform/Win.h"

// ---------------------------------------------------------------------------
// A persistent that knows its owner and can be handed out as an interface. The count is
// kept for the interface users to read, but it never frees the object: lifetime always
// stays with the owner (or whoever created an unowned one and frees it), so an interface
// user that releases its last reference cannot free an object its owner still holds.

class TcxInterfacedPersistent : public TPersistent {
  DECLARE_CLASS(TcxInterfacedPersistent, TPersistent)
public:
  explicit TcxInterfacedPersistent(TPersistent* AOwner);

  TPersistent* GetOwner() const override { return FOwner; }
  // Interface reference counting; both answer the new count. Release stops at 0.
  int AddRef();
  int Release();
  int RefCount() const { return FRefCount; }

private:
  TPersistent* FOwner = nullptr;
  int FRefCount = 0;
};

// ---------------------------------------------------------------------------
// Pairs "a class -> the class registered for it" (a design helper for a control class,
// for example). A lookup falls back to the nearest registered ancestor.

class TcxRegisteredClassList : public TObject {
public:
  TcxRegisteredClassList() = default;

  // Registering a class again replaces the class registered for it. Nil classes are ignored.
  void Register(TClass AItemClass, TClass ARegisteredClass);
  // Removes the pair of AItemClass; when ARegisteredClass is given, only if it matches.
  void Unregister(TClass AItemClass, TClass ARegisteredClass = nullptr);
  // The class registered for AItemClass, else for its nearest registered ancestor, else nil.
  TClass FindClass(TClass AItemClass) const;
  int Count() const { return int(FItems.size()); }
  void Clear() { FItems.clear(); }

private:
  struct TPair {
    TClass ItemClass;
    TClass RegisteredClass;
  };
  std::vector<TPair> FItems;
};

// ---------------------------------------------------------------------------
// Calls OnFreeNotification with every registered component that is being freed.

using TcxFreeNotificationEvent = TEvent<void(TComponent* Sender)>;

class TcxFreeNotificator : public TComponent {
  DECLARE_CLASS(TcxFreeNotificator, TComponent)
public:
  explicit TcxFreeNotificator(TComponent* AOwner);

  void AddSender(TComponent* ASender);
  void RemoveSender(TComponent* ASender);
  TcxFreeNotificationEvent OnFreeNotification;

  void Notification(TComponent* AComponent, TOperation Operation) override;
};

// ---------------------------------------------------------------------------
// Weak object links. Code that may see an object freed under it (click chains, own
// message loops, timers) takes a link and reads link->Object, which turns nil when the
// object dies or when ClearObjectLinks is called for it. The process-wide controller that
// keeps the links is made by the first AddObjectLink and freed with the last link.

// The Object field of a link: reads as the object, or nil once it is gone or cleared.
struct TcxObjectLink;

class TcxLinkedObject {
public:
  operator TObject*() const { return FCleared ? nullptr : FRef.Get(); }
  TObject* Get() const { return *this; }

private:
  friend TcxObjectLink* AddObjectLink(TObject* AObject);
  friend void ClearObjectLinks(TObject* AObject);
  TWeakRef<TObject> FRef;
  bool FCleared = false;
};

struct TcxObjectLink {
  TcxLinkedObject Object;
};

// Nil for a nil object.
TcxObjectLink* AddObjectLink(TObject* AObject);
// Frees the link (nil-safe); the controller goes with its last link.
void RemoveObjectLink(TcxObjectLink* ALink);
// Every link to AObject reads nil from now on. Destructors of linkable objects call it.
void ClearObjectLinks(TObject* AObject);
// Whether the link controller exists, and how many times one has been made (for checks).
bool ObjectLinkControllerExists();
int ObjectLinkControllerGeneration();

// ---------------------------------------------------------------------------
// Small services.

// Calls AEvent with ASender when it is assigned.
void CallNotifyEvent(const TNotifyEvent& AEvent, TObject* ASender);

// A resource string: an entry of a module's string table. A nil Module means this program.
struct TResStringRec {
  int Identifier = 0;
  HMODULE Module = nullptr;
};
// The text of the entry; empty when the table has no such entry.
String GetResourceString(const TResStringRec& AResString);

// The locale item's text (GetLocaleInfoW), or ADefault when it is empty or unreadable.
String GetLocaleInfoString(LCID ALocale, LCTYPE AItem, const String& ADefault);

// CollectionOwner's Name + AItem's class name without APrefix (without its leading "T"
// when APrefix does not start it) + the first number from AStartNumber on for which
// AOwnerComponent holds no component of that name.
String CreateUniqueComponentName(TComponent* AOwnerComponent, TComponent* ACollectionOwner, TComponent* AItem,
                                 int AStartNumber, const String& APrefix);

void ClearMemory(void* ABlock, size_t ASize);

// ---------------------------------------------------------------------------
// Component collections: components kept in an ordered list by a parent component (the
// bars of a bar manager, the tips of a tip repository). The items are owned, as
// components, by the parent's owner, so they stream as children of the parent.

class TcxComponentCollection;
class TcxComponentCollectionItem;

// Kinds of change a collection reports; the numbers are the ones the designer reads.
enum TcxComponentCollectionNotification {
  ccnAdded = 0,
  ccnChanged = 1,
  ccnExtracting = 2,
  ccnExtracted = 3,
  ccnDeleting = 4,
};

// AItem nil with ccnChanged means "every item".
using TcxComponentCollectionChangeEvent =
    TEvent<void(TObject* Sender, TcxComponentCollectionItem* AItem, TcxComponentCollectionNotification AAction)>;

class TcxComponentCollectionItem : public TComponent {
  DECLARE_CLASS(TcxComponentCollectionItem, TComponent)
public:
  explicit TcxComponentCollectionItem(TComponent* AOwner);
  ~TcxComponentCollectionItem() override;
  void BeforeDestruction() override;

  TcxComponentCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (nil takes it out).
  virtual void SetCollection(TcxComponentCollection* Value);
  // The position in the collection, -1 without one.
  int GetIndex() const;
  void SetIndex(int Value);
  // Tells the collection this item (or every item) changed; nothing while the item is
  // being destroyed or has no collection.
  void Changed(bool AAllItems);

  // Child streaming: the item is a child of the collection's parent component.
  TComponent* GetParentComponent() const override;
  bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* Value) override;

protected:
  // The collection that AParent keeps items of this class in; nil by default.
  virtual TcxComponentCollection* GetCollectionFromParent(TComponent* AParent);

private:
  friend class TcxComponentCollection;
  TcxComponentCollection* FCollection = nullptr;
};

class TcxComponentCollection : public TPersistent {
  DECLARE_CLASS(TcxComponentCollection, TPersistent)
public:
  TcxComponentCollection(TComponent* AParentComponent, TClass AItemClass);
  ~TcxComponentCollection() override;

  // A new item of the item class, owned by the parent component's owner, named after
  // the parent and appended.
  TcxComponentCollectionItem* Add();
  TcxComponentCollectionItem* Add(TClass AItemClass);
  // Frees every item, reporting one change.
  void Clear();
  // Frees the item at Index; out-of-range indexes raise EListError.
  void Delete(int Index);
  int IndexOf(const TcxComponentCollectionItem* AItem) const;
  int GetCount() const { return int(FItems.size()); }
  // Out-of-range indexes raise EListError.
  TcxComponentCollectionItem* GetItem(int Index) const;

  // Nested; changes made meanwhile are reported as one change of every item by the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  TComponent* ParentComponent() const { return FParentComponent; }
  TPersistent* GetOwner() const override { return FParentComponent; }
  TClass ItemClass() const { return FItemClass; }

  // Fires OnChange; descendants extend it (the designer hears of changes here).
  virtual void Notify(TcxComponentCollectionItem* AItem, TcxComponentCollectionNotification AAction);
  // The class-name prefix that new item names leave out; empty leaves out just the "T".
  virtual String GetItemPrefixName() const { return String(); }

  TcxComponentCollectionChangeEvent OnChange;

protected:
  // Reports a change now, or once at the end of the update.
  void Changed(TcxComponentCollectionItem* AItem = nullptr, TcxComponentCollectionNotification AAction = ccnChanged);
  // Names a new item from the parent's name (CreateUniqueComponentName, numbers from 1).
  virtual void SetItemName(TcxComponentCollectionItem* AItem);

private:
  friend class TcxComponentCollectionItem;
  void InsertItem(TcxComponentCollectionItem* AItem);
  void RemoveItem(TcxComponentCollectionItem* AItem);
  void MoveItem(TcxComponentCollectionItem* AItem, int NewIndex);

  TComponent* FParentComponent;
  TClass FItemClass;
  std::vector<TcxComponentCollectionItem*> FItems;
  int FUpdateCount = 0;
};
