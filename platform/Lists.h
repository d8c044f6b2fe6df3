// Pointer lists: TList (untyped entries with a notification hook), TObjectList (may own
// and free its objects) and TComponentList (its members leave it when they are freed).
// Index errors raise EListError naming the index.
#pragma once

#include <functional>
#include <unordered_map>

#include "platform/Component.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
// How Assign combines the source with the list (laCopy replaces it).
enum TListAssignOp { laCopy, laAnd, laOr, laXor, laSrcUnique, laDestUnique };

// Negative when Item1 sorts before Item2, zero when equal, positive after.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
  DECLARE_CLASS(TList, TObject)
public:
  TList() = default;
  ~TList() override;

  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  // Deletes the first occurrence; returns its former index or -1.
  int Remove(void* Item);
  int IndexOf(void* Item) const;
  // Removes the first occurrence without deleting it (lnExtracted); nil when absent.
  void* Extract(void* Item);
  virtual void Clear();

  int Count() const { return int(FList.size()); }
  // Growing appends nil entries, shrinking deletes entries from the end.
  void SetCount(int NewCount);
  int Capacity() const { return int(FList.capacity()); }
  void SetCapacity(int NewCapacity);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  void* const* List() const { return FList.data(); }

  // A stable sort; the list is unchanged when Compare raises.
  void Sort(const TListSortCompare& Compare);
  void Move(int CurIndex, int NewIndex);
  void Exchange(int Index1, int Index2);
  // Removes the nil entries.
  void Pack();
  void Assign(TList* ListA, TListAssignOp Operator = laCopy, TList* ListB = nullptr);

protected:
  // Told of every non-nil entry that enters or leaves the list, after the list changed.
  virtual void Notify(void* Ptr, TListNotification Action) {}
  // Removes the entry at Index without deleting it (lnExtracted).
  void ExtractAt(int Index);
  [[noreturn]] static void Error(const String& Message, int Data);
  void CheckIndex(int Index) const;

private:
  void RemoveAt(int Index, TListNotification Action);
  std::vector<void*> FList;
};

class TObjectList : public TList {
  DECLARE_CLASS(TObjectList, TList)
public:
  TObjectList() : FOwnsObjects(true) {}
  explicit TObjectList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
  // No owner of any kind: keeps a pointer from turning into the Boolean above.
  template <class P>
  TObjectList(P*) = delete;
  ~TObjectList() override;

  int Add(TObject* AObject) { return TList::Add(AObject); }
  void Insert(int Index, TObject* AObject) { TList::Insert(Index, AObject); }
  int Remove(TObject* AObject) { return TList::Remove(AObject); }
  int IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
  // Never frees the object, even when the list owns its objects.
  TObject* Extract(TObject* Item) { return static_cast<TObject*>(TList::Extract(Item)); }
  TObject* Items(int Index) const { return static_cast<TObject*>(TList::Items(Index)); }
  void SetItems(int Index, TObject* AObject) { TList::SetItems(Index, AObject); }
  TObject* First() const { return Items(0); }
  TObject* Last() const { return Items(Count() - 1); }
  // The index of the first object of class AClass (or a descendant unless AExact) from AStartAt on, or -1.
  int FindInstanceOf(TClass AClass, bool AExact = true, int AStartAt = 0) const;

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

protected:
  void Notify(void* Ptr, TListNotification Action) override;
  // Empties the list from a destructor: a notification that raises must neither escape the
  // destructor nor stop the remaining entries from being released.
  void ClearQuietly();

private:
  bool FOwnsObjects;
};

class TComponentListNexus;

// A list of components that watches its members through a hidden component: a member
// that is freed is extracted (lnExtracted) from the list before it is gone.
class TComponentList : public TObjectList {
  DECLARE_CLASS(TComponentList, TObjectList)
public:
  TComponentList() : TComponentList(true) {}
  explicit TComponentList(bool AOwnsObjects);
  template <class P>
  TComponentList(P*) = delete;
  ~TComponentList() override;

  int Add(TComponent* AComponent) { return TObjectList::Add(AComponent); }
  void Insert(int Index, TComponent* AComponent) { TObjectList::Insert(Index, AComponent); }
  int Remove(TComponent* AComponent) { return TObjectList::Remove(AComponent); }
  // A component that is not listed is answered without walking the list (asked before each
  // add, say). No Notify that runs before this class's counts asks for the entry it adds.
  int IndexOf(TComponent* AComponent) const
  {
    return EntryCount(AComponent) == 0 ? -1 : TObjectList::IndexOf(AComponent);
  }
  TComponent* Extract(TComponent* Item) { return static_cast<TComponent*>(TObjectList::Extract(Item)); }
  TComponent* Items(int Index) const { return static_cast<TComponent*>(TObjectList::Items(Index)); }
  void SetItems(int Index, TComponent* AComponent) { TObjectList::SetItems(Index, AComponent); }
  TComponent* First() const { return Items(0); }
  TComponent* Last() const { return Items(Count() - 1); }

protected:
  // How many entries hold AComponent, without walking the list. Counted in this class's
  // Notify: a descendant's Notify that runs before it still counts the entry it is told of.
  int EntryCount(TComponent* AComponent) const;
  void Notify(void* Ptr, TListNotification Action) override;
  // A member is being freed: every entry of it leaves the list.
  virtual void HandleFreeNotify(TObject* Sender, TComponent* AComponent);

private:
  friend class TComponentListNexus;
  TComponentListNexus* FNexus = nullptr;
  // How many entries hold each member: a member is watched while one does, and a freed
  // member's entries are found without walking the list.
  std::unordered_map<TComponent*, int> FEntries;
};
