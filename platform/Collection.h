// Collections: owned, ordered lists of items of one class, streamed as < item ... end >
// and told of every change so that their owner can update what shows them.
#pragma once

#include "platform/Component.h"

class TCollection;

class TCollectionItem : public TPersistent {
  DECLARE_CLASS(TCollectionItem, TPersistent)
public:
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  void SetCollection(TCollection* Value);
  int Index() const;
  virtual void SetIndex(int Value);
  int ID() const { return FID; }
  virtual String GetDisplayName() const;
  virtual void SetDisplayName(const String& Value) {}
  String GetNamePath() const override;
  TPersistent* GetOwner() const override;

protected:
  // Reports a change of this item (or of all items) to the collection.
  void Changed(bool AllItems);

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

using TCollectionItemClass = TClass;
enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  DECLARE_CLASS(TCollection, TPersistent)
public:
  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  void Assign(TPersistent* Source) override;
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  int Count() const { return int(FItems.size()); }
  // Raises EListError when Index is out of range.
  TCollectionItem* Items(int Index) const;
  TCollectionItem* FindItemID(int ID) const;
  TCollectionItemClass ItemClass() const { return FItemClass; }
  String GetNamePath() const override;
  TPersistent* GetOwner() const override { return nullptr; }

protected:
  // Item is nil when every item changed. Called after the last EndUpdate as well.
  virtual void Update(TCollectionItem* Item) {}
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
  virtual void Added(TCollectionItem* Item) {}
  virtual void Deleting(TCollectionItem* Item) {}
  void Changed();

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void ItemChanged(TCollectionItem* Item);
  void MoveItem(TCollectionItem* Item, int NewIndex);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
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
