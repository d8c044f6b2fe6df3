// Collections: owned, ordered lists of items of one class, streamed as < item ... end >
// and told of every change so that their owner can update what shows them.
#pragma once

#include "platform/Component.h"

class TCollection;

class TCollectionItem : public TPersistent {
  DECLARE_CLASS(TCollectionItem, TPersistent)
public:
  // Joins Collection (when given) as its last item.
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;
  // Leaves the collection while the item still has its full type, so that the
  // collection's Notify may look at it.
  void BeforeDestruction() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or out of any with nil).
  void SetCollection(TCollection* Value);
  int Index() const;
  // Raises EListError when Value is not an index of the collection.
  virtual void SetIndex(int Value);
  int ID() const { return FID; }
  virtual String GetDisplayName() const;
  virtual void SetDisplayName(const String& Value) {}
  // "Owner.Property[Index]"
  String GetNamePath() const override;
  TPersistent* GetOwner() const override;

protected:
  // Reports a change of this item (or of all items) to the collection.
  void Changed(bool AllItems);

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
  // Where the item stood when last looked for; checked before use, so no change to the
  // list needs to keep it.
  mutable int FIndexHint = -1;
  bool FAddPending = false;  // in the list, but the collection has not announced it yet
};

using TCollectionItemClass = TClass;
enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  DECLARE_CLASS(TCollection, TPersistent)
public:
  // ItemClass must be TCollectionItem or a descendant; raises EInvalidCast otherwise.
  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  // Makes a new item through ItemClass with this collection as its owner.
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  // Clears and adds one item per item of Source (a collection), assigning each.
  void Assign(TPersistent* Source) override;
  // Updates nest; the last EndUpdate reports one change of all items.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  int Count() const { return int(FItems.size()); }
  // Raises EListError when Index is out of range.
  TCollectionItem* Items(int Index) const;
  void SetItems(int Index, TCollectionItem* Value);
  TCollectionItem* FindItemID(int ID) const;
  TCollectionItemClass ItemClass() const { return FItemClass; }
  TPersistent* Owner() const { return GetOwner(); }
  // The owner's name path and the name of the owner's property holding this collection.
  String GetNamePath() const override;
  TPersistent* GetOwner() const override { return nullptr; }

protected:
  // Item is nil when every item changed. Called after the last EndUpdate as well.
  virtual void Update(TCollectionItem* Item) {}
  // Added items are announced once fully constructed when made by Add or Insert; an
  // item constructed directly is announced from its constructor. cnExtracting comes
  // whenever an item leaves, after cnDeleting when Delete removes it.
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  virtual void Added(TCollectionItem* Item) {}
  virtual void Deleting(TCollectionItem* Item) {}
  // Reports a change of all items unless an update is running.
  void Changed();
  // The name of the owner's published property that holds this collection, or empty.
  String GetPropName() const;

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void AnnounceItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void ItemChanged(TCollectionItem* Item);
  void MoveItem(TCollectionItem* Item, int NewIndex);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
  bool FDeferAnnounce = false;  // set while Add constructs the next item
};

// A collection that knows the persistent it belongs to (for name paths and form data).
class TOwnedCollection : public TCollection {
  DECLARE_CLASS(TOwnedCollection, TCollection)
public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass);
  TPersistent* GetOwner() const override { return FOwner; }

private:
  TPersistent* FOwner;
};
