// Collections: item creation through the item class, notifications, update counting,
// index moves, assignment and items that free themselves.
#include <gtest/gtest.h>

#include "platform/Classes.h"

namespace {

class TTestItem : public TCollectionItem {
  DECLARE_CLASS(TTestItem, TCollectionItem)
public:
  explicit TTestItem(TCollection* Collection) : TCollectionItem(Collection) { Ready = true; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value)
  {
    FCaption = Value;
    Changed(false);
  }
  int Width() const { return FWidth; }
  void SetWidth(int Value)
  {
    FWidth = Value;
    Changed(true);
  }
  void Assign(TPersistent* Source) override
  {
    if (auto* item = dynamic_cast<TTestItem*>(Source)) {
      FCaption = item->FCaption;
      FWidth = item->FWidth;
      return;
    }
    TCollectionItem::Assign(Source);
  }
  bool Ready = false;

private:
  String FCaption;
  int FWidth = 0;
};

class TOtherItem : public TCollectionItem {
  DECLARE_CLASS(TOtherItem, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
};

// Its constructor fails after the base part has joined the collection.
class TFailingItem : public TTestItem {
  DECLARE_CLASS(TFailingItem, TTestItem)
public:
  explicit TFailingItem(TCollection* Collection) : TTestItem(Collection) { throw EInvalidOperation(L"no"); }
};

// Logs what the collection is told: "added 0", "deleting 0", "extracting 0" (item IDs),
// "update nil" or "update 0".
class TLoggedCollection : public TOwnedCollection {
  DECLARE_CLASS(TLoggedCollection, TOwnedCollection)
public:
  TLoggedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass, std::vector<std::string>* Log)
      : TOwnedCollection(AOwner, ItemClass), FLog(Log)
  {
  }
  TLoggedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass) : TLoggedCollection(AOwner, ItemClass, &OwnLog)
  {
  }
  TTestItem* Item(int Index) const { return static_cast<TTestItem*>(Items(Index)); }
  std::vector<std::string> OwnLog;
  // Whether each added item was fully constructed when it was announced.
  std::vector<bool> AddedReady;
  void Changed() { TCollection::Changed(); }

protected:
  void Update(TCollectionItem* Item) override
  {
    FLog->push_back(Item ? "update " + std::to_string(Item->ID()) : "update nil");
  }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override
  {
    const char* what = Action == cnAdded ? "added " : Action == cnDeleting ? "deleting " : "extracting ";
    FLog->push_back(what + std::to_string(Item->ID()));
    if (Action == cnAdded) {
      auto* item = dynamic_cast<TTestItem*>(Item);
      AddedReady.push_back(item && item->Ready);
    }
    TOwnedCollection::Notify(Item, Action);
  }

private:
  std::vector<std::string>* FLog;
};

using Log = std::vector<std::string>;

class TColumnsOwner : public TComponent {
  DECLARE_CLASS(TColumnsOwner, TComponent)
public:
  explicit TColumnsOwner(TComponent* AOwner)
      : TComponent(AOwner), FColumns(new TLoggedCollection(this, TTestItem::StaticClass()))
  {
  }
  ~TColumnsOwner() override { delete FColumns; }
  TLoggedCollection* Columns() const { return FColumns; }
  void SetColumns(TLoggedCollection* Value) { FColumns->Assign(Value); }

private:
  TLoggedCollection* FColumns;
};

std::vector<String> Captions(const TCollection& c)
{
  std::vector<String> out;
  for (int i = 0; i < c.Count(); ++i)
    out.push_back(static_cast<TTestItem*>(c.Items(i))->Caption());
  return out;
}

void AddCaptions(TCollection& c, std::initializer_list<const wchar_t*> captions)
{
  for (const wchar_t* s : captions)
    static_cast<TTestItem*>(c.Add())->SetCaption(s);
}

}  // namespace

PUBLISHED(TTestItem, TCollectionItem)
{
  p.Prop(L"Caption", &TTestItem::Caption, &TTestItem::SetCaption);
  p.Prop(L"Width", &TTestItem::Width, &TTestItem::SetWidth).Default(0);
}
PUBLISHED(TOtherItem, TCollectionItem) {}
PUBLISHED(TFailingItem, TTestItem) {}
PUBLISHED(TLoggedCollection, TOwnedCollection) {}
PUBLISHED(TColumnsOwner, TComponent)
{
  p.Object(L"Columns", &TColumnsOwner::Columns, &TColumnsOwner::SetColumns);
}

TEST(Collection, ItemsAreMadeFromTheItemClassAndAnnouncedWhenComplete)
{
  TLoggedCollection c(nullptr, TTestItem::StaticClass());
  TCollectionItem* item = c.Add();
  EXPECT_EQ(item->ClassType(), TTestItem::StaticClass());
  EXPECT_EQ(item->Collection(), &c);
  EXPECT_EQ(item->GetOwner(), &c);
  EXPECT_EQ(c.OwnLog, (Log{"added 0", "update nil"}));
  EXPECT_EQ(c.AddedReady, (std::vector<bool>{true}));

  // Constructed directly, an item joins from its constructor.
  auto* direct = new TTestItem(&c);
  EXPECT_EQ(c.Count(), 2);
  EXPECT_EQ(direct->Index(), 1);
  EXPECT_EQ(c.AddedReady, (std::vector<bool>{true, false}));
}

TEST(Collection, DeleteNotifiesBeforeTheItemGoes)
{
  TLoggedCollection c(nullptr, TTestItem::StaticClass());
  AddCaptions(c, {L"a", L"b", L"c"});
  TWeakRef<TCollectionItem> b(c.Items(1));
  c.OwnLog.clear();
  c.Delete(1);
  EXPECT_FALSE(b.Alive());
  EXPECT_EQ(Captions(c), (std::vector<String>{L"a", L"c"}));
  EXPECT_EQ(c.OwnLog, (Log{"deleting 1", "extracting 1", "update nil"}));
}

TEST(Collection, UpdatesNestAndEndWithOneUpdateOfAllItems)
{
  TLoggedCollection c(nullptr, TTestItem::StaticClass());
  AddCaptions(c, {L"a"});
  c.OwnLog.clear();
  c.BeginUpdate();
  c.BeginUpdate();
  EXPECT_EQ(c.UpdateCount(), 2);
  AddCaptions(c, {L"b", L"c"});
  c.Item(0)->SetCaption(L"A");
  c.Item(1)->SetIndex(2);
  c.Delete(0);
  c.EndUpdate();
  // Notifications are not held back; updates are.
  EXPECT_EQ(c.OwnLog, (Log{"added 1", "added 2", "deleting 0", "extracting 0"}));
  c.EndUpdate();
  EXPECT_EQ(c.OwnLog.back(), "update nil");
  EXPECT_EQ(std::count(c.OwnLog.begin(), c.OwnLog.end(), "update nil"), 1);
  EXPECT_EQ(c.UpdateCount(), 0);

  c.OwnLog.clear();
  c.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(c.UpdateCount(), 0);
  EXPECT_TRUE(c.OwnLog.empty());
}

TEST(Collection, IndexMoves)
{
  TLoggedCollection c(nullptr, TTestItem::StaticClass());
  AddCaptions(c, {L"a", L"b", L"c", L"d"});
  TTestItem* d = c.Item(3);
  c.OwnLog.clear();
  d->SetIndex(0);
  EXPECT_EQ(Captions(c), (std::vector<String>{L"d", L"a", L"b", L"c"}));
  EXPECT_EQ(d->Index(), 0);
  EXPECT_EQ(c.OwnLog, (Log{"update nil"}));
  c.Item(1)->SetIndex(3);
  EXPECT_EQ(Captions(c), (std::vector<String>{L"d", L"b", L"c", L"a"}));

  c.OwnLog.clear();
  d->SetIndex(0);  // already there
  EXPECT_TRUE(c.OwnLog.empty());
  EXPECT_THROW(d->SetIndex(4), EListError);
  EXPECT_THROW(d->SetIndex(-1), EListError);
  EXPECT_EQ(Captions(c), (std::vector<String>{L"d", L"b", L"c", L"a"}));
}

// Each item remembers where it stood; after any change every item still answers its place.
TEST(Collection, EveryIndexFollowsMovesDeletionsAndOtherCollections)
{
  TLoggedCollection a(nullptr, TTestItem::StaticClass()), b(nullptr, TTestItem::StaticClass());
  AddCaptions(a, {L"a", L"b", L"c", L"d", L"e"});
  AddCaptions(b, {L"x"});
  auto CheckAll = [](const TLoggedCollection& c) {
    for (int i = 0; i < c.Count(); ++i)
      EXPECT_EQ(c.Items(i)->Index(), i) << "item " << i;
  };
  CheckAll(a);  // every place remembered
  TTestItem* c = a.Item(2);
  a.Item(4)->SetIndex(0);
  CheckAll(a);
  a.Delete(1);
  CheckAll(a);
  EXPECT_EQ(c->Index(), 2);
  c->SetCollection(&b);
  EXPECT_EQ(c->Index(), 1) << "its place in the new collection";
  CheckAll(a);
  CheckAll(b);
  c->SetCollection(nullptr);
  EXPECT_EQ(c->Index(), -1);
  delete c;
}

TEST(Collection, IdsAreUniqueAndNeverReused)
{
  TLoggedCollection c(nullptr, TTestItem::StaticClass());
  AddCaptions(c, {L"a", L"b", L"c"});
  c.Delete(2);
  TCollectionItem* d = c.Add();
  EXPECT_EQ(d->ID(), 3);
  d->SetIndex(0);
  EXPECT_EQ(c.FindItemID(3), d);
  EXPECT_EQ(c.FindItemID(1), c.Items(2));
  EXPECT_EQ(c.FindItemID(2), nullptr);
}

TEST(Collection, AssignCopiesItemsUnderOneUpdate)
{
  TLoggedCollection source(nullptr, TTestItem::StaticClass());
  AddCaptions(source, {L"x", L"y", L"z"});
  source.Item(1)->SetWidth(7);
  TLoggedCollection dest(nullptr, TTestItem::StaticClass());
  AddCaptions(dest, {L"old"});
  dest.OwnLog.clear();

  dest.Assign(&source);
  EXPECT_EQ(Captions(dest), (std::vector<String>{L"x", L"y", L"z"}));
  EXPECT_EQ(dest.Item(1)->Width(), 7);
  EXPECT_NE(dest.Items(0), source.Items(0));
  EXPECT_EQ(std::count(dest.OwnLog.begin(), dest.OwnLog.end(), "update nil"), 1);
  EXPECT_EQ(dest.OwnLog.back(), "update nil");

  TStringList strings;
  EXPECT_THROW(dest.Assign(&strings), EConvertError);
  EXPECT_EQ(dest.Count(), 3);

  // Items that cannot copy themselves cannot be assigned.
  TCollection plainSource(TOtherItem::StaticClass()), plainDest(TOtherItem::StaticClass());
  plainSource.Add();
  EXPECT_THROW(plainDest.Assign(&plainSource), EConvertError);
}

TEST(Collection, ItemsThatFreeThemselvesLeave)
{
  TLoggedCollection c(nullptr, TTestItem::StaticClass());
  AddCaptions(c, {L"a", L"b", L"c"});
  c.OwnLog.clear();
  c.Items(1)->Free();
  EXPECT_EQ(Captions(c), (std::vector<String>{L"a", L"c"}));
  EXPECT_EQ(c.OwnLog, (Log{"extracting 1", "update nil"}));
  delete c.Items(0);  // without Free
  EXPECT_EQ(Captions(c), (std::vector<String>{L"c"}));
}

TEST(Collection, ClearAndDestructionFreeEveryItem)
{
  Log log;
  TWeakRef<TCollectionItem> first, last;
  {
    TLoggedCollection c(nullptr, TTestItem::StaticClass(), &log);
    AddCaptions(c, {L"a", L"b", L"c"});
    log.clear();
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
    EXPECT_EQ(log, (Log{"extracting 2", "extracting 1", "extracting 0", "update nil"}));
    AddCaptions(c, {L"d", L"e"});
    first = c.Items(0);
    last = c.Items(1);
    log.clear();
  }
  EXPECT_FALSE(first.Alive());
  EXPECT_FALSE(last.Alive());
  EXPECT_EQ(std::count(log.begin(), log.end(), "update nil"), 0);  // no updates while going away
}

TEST(Collection, ItemsMoveBetweenCollectionsOfTheirClass)
{
  TLoggedCollection a(nullptr, TTestItem::StaticClass()), b(nullptr, TTestItem::StaticClass());
  TCollection others(TOtherItem::StaticClass());
  AddCaptions(a, {L"one", L"two"});
  TTestItem* two = a.Item(1);
  a.OwnLog.clear();
  two->SetCollection(&b);
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(b.Count(), 1);
  EXPECT_EQ(two->Collection(), &b);
  EXPECT_EQ(a.OwnLog, (Log{"extracting 1", "update nil"}));
  EXPECT_EQ(b.OwnLog, (Log{"added 0", "update nil"}));

  EXPECT_THROW(two->SetCollection(&others), EListError);
  EXPECT_EQ(two->Collection(), &b);

  two->SetCollection(nullptr);
  EXPECT_EQ(b.Count(), 0);
  delete two;
}

TEST(Collection, FailedItemConstructionLeavesNothingBehind)
{
  TLoggedCollection c(nullptr, TFailingItem::StaticClass());
  EXPECT_THROW(c.Add(), EInvalidOperation);
  EXPECT_EQ(c.Count(), 0);
  EXPECT_TRUE(c.OwnLog.empty());

  EXPECT_THROW({ TCollection bad(TComponent::StaticClass()); }, EInvalidCast);
  EXPECT_THROW({ TCollection bad(nullptr); }, EInvalidCast);
}
