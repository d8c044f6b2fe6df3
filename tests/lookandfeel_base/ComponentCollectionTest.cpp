// Component collections: adding, owners and names, update counting, indexes, freeing from
// either side and child streaming.
#include <gtest/gtest.h>

#include <memory>

#include "lookandfeel/cxClasses.h"

namespace {

class TShelfItem : public TcxComponentCollectionItem {
  DECLARE_CLASS(TShelfItem, TcxComponentCollectionItem)
public:
  using TcxComponentCollectionItem::TcxComponentCollectionItem;
  int Weight() const { return FWeight; }
  void SetWeight(int Value)
  {
    FWeight = Value;
    Changed(false);
  }

protected:
  TcxComponentCollection* GetCollectionFromParent(TComponent* AParent) override;

private:
  int FWeight = 0;
};

class TShelfItems : public TcxComponentCollection {
public:
  using TcxComponentCollection::TcxComponentCollection;
  String GetItemPrefixName() const override { return L"TShelf"; }
  void Notify(TcxComponentCollectionItem* AItem, TcxComponentCollectionNotification AAction) override
  {
    Log.push_back({AItem, AAction});
    TcxComponentCollection::Notify(AItem, AAction);
  }
  struct TEntry {
    TcxComponentCollectionItem* Item;
    TcxComponentCollectionNotification Action;
  };
  std::vector<TEntry> Log;
};

// The parent that keeps the items; it streams them as its children.
class TShelf : public TComponent {
  DECLARE_CLASS(TShelf, TComponent)
public:
  explicit TShelf(TComponent* AOwner) : TComponent(AOwner), FItems(new TShelfItems(this, TShelfItem::StaticClass())) {}
  ~TShelf() override { delete FItems; }
  TShelfItems* Items() const { return FItems; }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override
  {
    for (int i = 0; i < FItems->GetCount(); ++i)
      Proc(FItems->GetItem(i));
  }

private:
  TShelfItems* FItems;
};

// A root that writes what it owns and has no parent, as a form does.
class TShelfRoot : public TComponent {
  DECLARE_CLASS(TShelfRoot, TComponent)
public:
  using TComponent::TComponent;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override
  {
    for (int i = 0; i < ComponentCount(); ++i)
      if (!Components(i)->HasParent())
        Proc(Components(i));
  }
};

TcxComponentCollection* TShelfItem::GetCollectionFromParent(TComponent* AParent)
{
  auto* shelf = dynamic_cast<TShelf*>(AParent);
  return shelf ? shelf->Items() : nullptr;
}

}  // namespace

PUBLISHED(TShelfItem, TcxComponentCollectionItem)
{
  p.Prop(L"Weight", &TShelfItem::Weight, &TShelfItem::SetWeight).Default(0);
}
IMPLEMENT_CLASS(TShelf, TComponent)
IMPLEMENT_CLASS(TShelfRoot, TComponent)

namespace {

struct TShelfFixture : testing::Test {
  void SetUp() override
  {
    Root = new TShelfRoot(nullptr);
    Root->SetName(L"Root");
    Shelf = new TShelf(Root);
    Shelf->SetName(L"Shelf");
  }
  void TearDown() override { FreeAndNil(Root); }
  TShelfItems* Items() { return Shelf->Items(); }
  TShelfRoot* Root = nullptr;
  TShelf* Shelf = nullptr;
};

}  // namespace

TEST_F(TShelfFixture, AddGivesTheParentsOwnerANamedItemAtTheEnd)
{
  TcxComponentCollectionItem* a = Items()->Add();
  TcxComponentCollectionItem* b = Items()->Add();
  ASSERT_EQ(Items()->GetCount(), 2);
  EXPECT_EQ(a->ClassType(), TShelfItem::StaticClass());
  EXPECT_EQ(a->Owner(), Root) << "items belong to the parent's owner, not the parent";
  EXPECT_EQ(a->Collection(), Items());
  EXPECT_EQ(Items()->GetItem(0), a);
  EXPECT_EQ(Items()->GetItem(1), b);
  EXPECT_EQ(a->Name(), L"ShelfItem1");
  EXPECT_EQ(b->Name(), L"ShelfItem2");
  EXPECT_EQ(a->GetParentComponent(), Shelf);
  EXPECT_EQ(Items()->GetOwner(), Shelf);
  EXPECT_THROW(Items()->GetItem(2), EListError);
  EXPECT_THROW(Items()->GetItem(-1), EListError);
  EXPECT_THROW(Items()->Add(TShelf::StaticClass()), EInvalidCast);
  EXPECT_EQ(Items()->GetCount(), 2) << "a refused class adds nothing";
}

TEST_F(TShelfFixture, NestedUpdatesReportOneChangeOfAllItems)
{
  int calls = 0;
  TcxComponentCollectionItem* lastItem = nullptr;
  TcxComponentCollectionNotification lastAction = ccnDeleting;
  Items()->OnChange = [&](TObject*, TcxComponentCollectionItem* AItem, TcxComponentCollectionNotification AAction) {
    ++calls;
    lastItem = AItem;
    lastAction = AAction;
  };
  Items()->BeginUpdate();
  Items()->BeginUpdate();
  auto* item = static_cast<TShelfItem*>(Items()->Add());
  item->SetWeight(2);
  Items()->Add()->Free();
  Items()->EndUpdate();
  EXPECT_EQ(calls, 0) << "the inner EndUpdate reports nothing";
  lastItem = Items()->GetItem(0);
  Items()->EndUpdate();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(lastItem, nullptr);
  EXPECT_EQ(lastAction, ccnChanged);
  Items()->EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(Items()->UpdateCount(), 0);
  EXPECT_EQ(calls, 1);
  Items()->OnChange = nullptr;
}

TEST_F(TShelfFixture, FreeingAnItemTakesItOutAndShiftsTheIndexes)
{
  TcxComponentCollectionItem* items[4];
  for (auto*& item : items)
    item = Items()->Add();
  items[1]->Free();
  EXPECT_EQ(Items()->GetCount(), 3);
  EXPECT_EQ(items[0]->GetIndex(), 0);
  EXPECT_EQ(items[2]->GetIndex(), 1);
  EXPECT_EQ(items[3]->GetIndex(), 2);
  EXPECT_EQ(Root->FindComponent(L"ShelfItem2"), nullptr);

  Items()->Log.clear();
  TWeakRef<TObject> gone(items[2]);
  Items()->Delete(1);
  EXPECT_FALSE(gone.Alive());
  EXPECT_EQ(items[3]->GetIndex(), 1);
  ASSERT_GE(Items()->Log.size(), 3u);
  EXPECT_EQ(Items()->Log[0].Action, ccnDeleting);
  EXPECT_EQ(Items()->Log.back().Action, ccnExtracted);
  EXPECT_THROW(Items()->Delete(5), EListError);

  items[3]->SetIndex(0);
  EXPECT_EQ(items[3]->GetIndex(), 0);
  EXPECT_EQ(items[0]->GetIndex(), 1);

  items[0]->SetCollection(nullptr);
  EXPECT_EQ(items[0]->GetIndex(), -1);
  EXPECT_EQ(items[0]->GetParentComponent(), nullptr);
  size_t logged = Items()->Log.size();
  items[0]->Changed(false);
  EXPECT_EQ(Items()->Log.size(), logged) << "an item without a collection reports nothing";
}

TEST_F(TShelfFixture, FreeingTheCollectionFreesItsItems)
{
  TWeakRef<TObject> a(Items()->Add());
  TWeakRef<TObject> b(Items()->Add());
  int owned = Root->ComponentCount();
  TShelf* shelf = Shelf;
  Shelf = nullptr;
  shelf->Free();
  EXPECT_FALSE(a.Alive());
  EXPECT_FALSE(b.Alive());
  EXPECT_EQ(Root->ComponentCount(), owned - 3);
}

TEST_F(TShelfFixture, FreeingTheOwnerFreesItemsAndCollectionInAnyOrder)
{
  // One item made before its shelf and one after it, so that whichever order the owner
  // frees its components in, one item goes before the shelf and one with it.
  auto* early = new TShelfItem(Root);
  auto* shelf = new TShelf(Root);
  early->SetParentComponent(shelf);
  EXPECT_EQ(early->Collection(), shelf->Items());
  TWeakRef<TObject> late(shelf->Items()->Add());
  TWeakRef<TObject> e(early);
  TWeakRef<TObject> s(shelf);
  FreeAndNil(Root);
  EXPECT_FALSE(late.Alive());
  EXPECT_FALSE(e.Alive());
  EXPECT_FALSE(s.Alive());
}

TEST_F(TShelfFixture, ItemsStreamAsChildrenOfTheirParent)
{
  static bool registered = false;
  if (!registered) {
    RegisterClasses({TShelfRoot::StaticClass(), TShelf::StaticClass(), TShelfItem::StaticClass()});
    registered = true;
  }
  static_cast<TShelfItem*>(Items()->Add())->SetWeight(7);
  Items()->Add();
  String text = ComponentToText(Root);
  EXPECT_NE(text.find(L"Weight = 7"), String::npos) << ToUtf8(text);

  std::unique_ptr<TComponent> copy(TextToComponent(text));
  auto* root = dynamic_cast<TShelfRoot*>(copy.get());
  ASSERT_NE(root, nullptr);
  auto* shelf = dynamic_cast<TShelf*>(root->FindComponent(L"Shelf"));
  ASSERT_NE(shelf, nullptr);
  ASSERT_EQ(shelf->Items()->GetCount(), 2);
  auto* first = static_cast<TShelfItem*>(shelf->Items()->GetItem(0));
  EXPECT_EQ(first->Name(), L"ShelfItem1");
  EXPECT_EQ(first->Weight(), 7);
  EXPECT_EQ(first->Owner(), root);
  EXPECT_EQ(shelf->Items()->GetItem(1)->Name(), L"ShelfItem2");
}
