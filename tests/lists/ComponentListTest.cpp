// Component lists: members that are freed leave the list, in every order of destruction.
#include <gtest/gtest.h>

#include "platform/Classes.h"

namespace {

// Records how members left: "x" extracted, "d" deleted, with the member's name.
class TWatchingList : public TComponentList {
public:
  using TComponentList::TComponentList;
  std::vector<std::wstring> Log;

protected:
  void Notify(void* Ptr, TListNotification Action) override
  {
    auto* c = static_cast<TComponent*>(static_cast<TObject*>(Ptr));
    if (Action != lnAdded)
      Log.push_back((Action == lnExtracted ? L"x:" : L"d:") + c->Name());
    TComponentList::Notify(Ptr, Action);
  }
};

TComponent* Named(TComponent* owner, const wchar_t* name)
{
  auto* c = new TComponent(owner);
  c->SetName(name);
  return c;
}

}  // namespace

TEST(ComponentList, FreedMemberLeavesTheList)
{
  TWatchingList list(false);
  TComponent* a = Named(nullptr, L"A");
  TComponent* b = Named(nullptr, L"B");
  TComponent* c = Named(nullptr, L"C");
  list.Add(a);
  list.Add(b);
  list.Add(c);

  b->Free();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0), a);
  EXPECT_EQ(list.Items(1), c);
  EXPECT_EQ(list.Log, (std::vector<std::wstring>{L"x:B"}));

  delete a;  // without Free: still noticed
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.First(), c);
  c->Free();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ComponentList, OwnerFreedFirstEmptiesTheList)
{
  TComponentList list(false);
  auto* owner = new TComponent(nullptr);
  list.Add(Named(owner, L"One"));
  list.Add(Named(owner, L"Two"));
  list.Add(owner);
  owner->Free();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ComponentList, ListFreedFirstStopsWatching)
{
  TComponent owner(nullptr);
  TComponent* a = Named(&owner, L"A");
  {
    TComponentList list(false);
    list.Add(a);
    EXPECT_TRUE(a->ComponentState().Contains(csFreeNotification));
  }
  EXPECT_FALSE(a->ComponentState().Contains(csFreeNotification));
  TWeakRef<TComponent> weak(a);
  a->Free();  // must not reach the destroyed list
  EXPECT_FALSE(weak.Alive());
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(ComponentList, ExtractedOrRemovedMemberIsNoLongerWatched)
{
  TWatchingList list(false);
  TComponent* a = Named(nullptr, L"A");
  TComponent* b = Named(nullptr, L"B");
  list.Add(a);
  list.Add(b);
  EXPECT_EQ(list.Extract(a), a);
  EXPECT_FALSE(a->ComponentState().Contains(csFreeNotification));
  list.Remove(b);
  EXPECT_FALSE(b->ComponentState().Contains(csFreeNotification));
  list.Add(a);
  a->Free();
  b->Free();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Log, (std::vector<std::wstring>{L"x:A", L"d:B", L"x:A"}));
}

TEST(ComponentList, MemberListedTwiceLeavesWithAllEntries)
{
  TComponentList list(false);
  TComponent* a = Named(nullptr, L"A");
  TComponent* b = Named(nullptr, L"B");
  list.Add(a);
  list.Add(b);
  list.Add(a);
  list.Add(a);
  EXPECT_EQ(list.IndexOf(a), 0);
  list.Delete(0);  // another entry still holds it: it stays watched
  EXPECT_TRUE(a->ComponentState().Contains(csFreeNotification));
  EXPECT_EQ(list.IndexOf(a), 1) << "the first entry left";
  a->Free();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0), b);
  EXPECT_EQ(list.IndexOf(a), -1);
  EXPECT_EQ(list.IndexOf(b), 0);
  b->Free();
  EXPECT_EQ(list.IndexOf(b), -1);
}

TEST(ComponentList, OwningListFreesOnDeleteAndSurvivesMembersFreedElsewhere)
{
  TComponent owner(nullptr);
  TComponent* a = Named(&owner, L"A");
  TComponent* b = Named(&owner, L"B");
  TComponent* c = Named(&owner, L"C");
  TWeakRef<TComponent> wa(a), wb(b), wc(c);
  {
    TWatchingList list(true);
    list.Add(a);
    list.Add(b);
    list.Add(c);
    list.Delete(0);
    EXPECT_FALSE(wa.Alive());
    b->Free();  // freed by its owner's code, not by the list: extracted, not freed twice
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Log, (std::vector<std::wstring>{L"d:A", L"x:B"}));
    EXPECT_EQ(owner.ComponentCount(), 1);
  }
  EXPECT_FALSE(wc.Alive());  // the owning list freed the rest
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(ComponentList, ReplacingAnEntryMovesTheWatch)
{
  TComponentList list(false);
  TComponent* a = Named(nullptr, L"A");
  TComponent* b = Named(nullptr, L"B");
  list.Add(a);
  list.SetItems(0, b);
  EXPECT_EQ(list.IndexOf(a), -1);
  EXPECT_EQ(list.IndexOf(b), 0);
  EXPECT_FALSE(a->ComponentState().Contains(csFreeNotification));
  EXPECT_TRUE(b->ComponentState().Contains(csFreeNotification));
  a->Free();
  EXPECT_EQ(list.Count(), 1);
  b->Free();
  EXPECT_EQ(list.Count(), 0);
}
