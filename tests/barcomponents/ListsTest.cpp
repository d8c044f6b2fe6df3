// The small lists bar components rest on: nil-safe object lists, component lists with
// change events and an update lock, and bar component lists their members know about.
#include <tuple>
#include <vector>

#include "ComponentsTestUtil.h"

namespace {

using TChange = std::tuple<TComponent*, TdxComponentListChangeType>;

struct TChangeLog {
  std::vector<TChange> Changes;
  std::vector<std::pair<TComponent*, TListNotification>> Notes;
  void Attach(TdxComponentList& List)
  {
    List.OnChange = TdxComponentListChangeEvent(
        [this](TObject*, TComponent* c, TdxComponentListChangeType k) { Changes.emplace_back(c, k); });
    List.OnNotify =
        TdxComponentListNotifyEvent([this](TObject*, TComponent* c, TListNotification a) { Notes.emplace_back(c, a); });
  }
};

}  // namespace

TEST(DxObjectList, NilSafeReadsAndUniqueAdds)
{
  TdxObjectList list;
  EXPECT_FALSE(list.OwnsObjects());
  EXPECT_EQ(list.Last(), nullptr);
  EXPECT_EQ(list.Items(-1), nullptr);
  EXPECT_EQ(list.Items(0), nullptr);

  TComponent a(nullptr), b(nullptr);
  EXPECT_EQ(list.AddUnique(&a), 0);
  EXPECT_EQ(list.AddUnique(&a), -1);
  EXPECT_EQ(list.AddUnique(nullptr), -1);
  EXPECT_EQ(list.AddUnique(&b), 1);
  EXPECT_EQ(list.Last(), &b);
  EXPECT_EQ(list.Items(1), &b);
  EXPECT_EQ(list.Items(2), nullptr);

  // A plain list may repeat entries; a TdxObjectList source is copied uniquely.
  TList plain;
  plain.Add(&a);
  plain.Add(&a);
  plain.Add(&b);
  TdxObjectList copy;
  copy.AssignList(&plain);
  EXPECT_EQ(copy.Count(), 3);
  TdxObjectList source;
  source.Add(&b);
  source.Add(&b);
  source.Add(&a);
  copy.AssignList(&source);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(0), &b);
  EXPECT_EQ(copy.Items(1), &a);
}

TEST(DxComponentList, ReportsAddsChangesAndRemovals)
{
  TdxComponentList list;
  TChangeLog log;
  log.Attach(list);
  TComponent a(nullptr), b(nullptr);
  list.Add(&a);
  list.Add(&b);
  list.Changed(&a);
  list.Extract(&a);
  list.Delete(0);
  std::vector<TChange> expected{
      {&a, clcnAdded}, {&b, clcnAdded}, {&a, clcnChanged}, {&a, clcnExtracted}, {&b, clcnDeleted}};
  EXPECT_EQ(log.Changes, expected);
  ASSERT_EQ(log.Notes.size(), 4u);
  EXPECT_EQ(log.Notes[2], std::make_pair(static_cast<TComponent*>(&a), lnExtracted));
  EXPECT_FALSE(list.OwnsObjects());
}

TEST(DxComponentList, UpdateLockHoldsEventsAndEndsWithOneWholeListChange)
{
  TdxComponentList list;
  TChangeLog log;
  log.Attach(list);
  TComponent a(nullptr), b(nullptr);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(&a);
  list.Add(&b);
  list.Changed(&a);
  list.EndUpdate(true);
  EXPECT_TRUE(list.IsUpdateLocked());
  EXPECT_TRUE(log.Changes.empty());
  EXPECT_TRUE(log.Notes.empty());
  list.EndUpdate(true);
  EXPECT_EQ(log.Changes, (std::vector<TChange>{{nullptr, clcnChanged}}));

  log.Changes.clear();
  list.BeginUpdate();
  list.Remove(&a);
  list.EndUpdate(false);
  EXPECT_TRUE(log.Changes.empty());
  // An unbalanced EndUpdate does nothing.
  list.EndUpdate(true);
  EXPECT_TRUE(log.Changes.empty());
  EXPECT_EQ(list.Count(), 1);
}

TEST(DxComponentList, RefusesComponentsOfAnotherClass)
{
  TdxBarComponentList list;
  TComponent plain(nullptr);
  EXPECT_EQ(list.Add(&plain), -1);
  list.Insert(0, &plain);
  EXPECT_EQ(list.Add(nullptr), -1);
  EXPECT_EQ(list.Count(), 0);
  TdxBarComponent bar(nullptr);
  EXPECT_EQ(list.Add(&bar), 0);
}

TEST(DxComponentList, FreedMemberLeavesTheListWithAnEvent)
{
  TdxComponentList list;
  TChangeLog log;
  log.Attach(list);
  auto* a = new TComponent(nullptr);
  TComponent b(nullptr);
  list.Add(a);
  list.Add(&b);
  log.Changes.clear();
  a->Free();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0), &b);
  ASSERT_EQ(log.Changes.size(), 1u);
  EXPECT_EQ(std::get<1>(log.Changes[0]), clcnExtracted);
}

TEST(DxComponentList, DestructionFiresNoEvents)
{
  TChangeLog log;
  TComponent a(nullptr);
  {
    TdxComponentList list;
    list.Add(&a);
    log.Attach(list);
  }
  EXPECT_TRUE(log.Changes.empty());
  EXPECT_TRUE(log.Notes.empty());
}

TEST(DxBarComponentList, MembersKnowTheListsThatHoldThem)
{
  TdxBarComponent component(nullptr);
  TdxBarComponentList first, second;
  first.Add(&component);
  second.Add(&component);
  ASSERT_EQ(component.GetListCount(), 2);
  EXPECT_EQ(component.GetList(0), &first);
  EXPECT_EQ(component.GetList(1), &second);
  EXPECT_EQ(component.GetList(2), nullptr);

  first.Remove(&component);
  ASSERT_EQ(component.GetListCount(), 1);
  EXPECT_EQ(component.GetList(0), &second);
  second.Extract(&component);
  EXPECT_EQ(component.GetListCount(), 0);
}

TEST(DxBarComponentList, ChangedReachesEveryHoldingList)
{
  TdxBarComponent component(nullptr);
  TdxBarComponentList first, second;
  first.Add(&component);
  second.Add(&component);
  TChangeLog log1, log2;
  log1.Attach(first);
  log2.Attach(second);
  component.Changed();
  component.Changed(true);
  std::vector<TChange> expected{{&component, clcnChanged}, {nullptr, clcnChanged}};
  EXPECT_EQ(log1.Changes, expected);
  EXPECT_EQ(log2.Changes, expected);
}

TEST(DxBarComponentList, FreeingEitherSideLeavesNoDanglingLink)
{
  // The member goes first: the list drops it.
  auto* component = new TdxBarComponent(nullptr);
  TdxBarComponentList list;
  list.Add(component);
  component->Free();
  EXPECT_EQ(list.Count(), 0);

  // The list goes first: the member forgets it and can still report changes.
  TdxBarComponent survivor(nullptr);
  TdxBarComponentList other;
  other.Add(&survivor);
  {
    TdxBarComponentList doomed;
    doomed.Add(&survivor);
    EXPECT_EQ(survivor.GetListCount(), 2);
  }
  ASSERT_EQ(survivor.GetListCount(), 1);
  EXPECT_EQ(survivor.GetList(0), &other);
  TChangeLog log;
  log.Attach(other);
  survivor.Changed();
  EXPECT_EQ(log.Changes.size(), 1u);
}

TEST(DxBarComponent, OwnerIsCollectedOnceAndDeleteFrees)
{
  TComponent owner(nullptr);
  auto* component = new TdxBarComponent(&owner);
  TdxObjectList owners;
  component->AddOwnerTo(&owners);
  component->AddOwnerTo(&owners);
  ASSERT_EQ(owners.Count(), 1);
  EXPECT_EQ(owners.Items(0), &owner);
  TWeakRef<TdxBarComponent> ref(component);
  component->Delete(false);
  EXPECT_FALSE(ref.Alive());
  EXPECT_EQ(owner.ComponentCount(), 0);
}
