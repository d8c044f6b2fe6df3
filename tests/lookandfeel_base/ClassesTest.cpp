// Class services: owned persistents, class registers, free notification, weak links,
// unique names and memory clearing.
#include <gtest/gtest.h>

#include <memory>

#include "lookandfeel/cxClasses.h"
#include "lookandfeel/cxStyles.h"

namespace {

class TNamedThing : public TComponent {
  DECLARE_CLASS(TNamedThing, TComponent)
public:
  using TComponent::TComponent;
};

class TcxNamedThing : public TNamedThing {
  DECLARE_CLASS(TcxNamedThing, TNamedThing)
public:
  using TNamedThing::TNamedThing;
};

}  // namespace

IMPLEMENT_CLASS(TNamedThing, TComponent)
IMPLEMENT_CLASS(TcxNamedThing, TNamedThing)

// ---------------------------------------------------------------------------

TEST(InterfacedPersistent, KeepsItsOwnerAndCountsWithoutFreeing)
{
  TcxInterfacedPersistent owner(nullptr);
  auto* p = new TcxInterfacedPersistent(&owner);
  TWeakRef<TObject> alive(p);
  EXPECT_EQ(p->GetOwner(), &owner);
  EXPECT_EQ(owner.GetOwner(), nullptr);
  EXPECT_EQ(p->AddRef(), 1);
  EXPECT_EQ(p->AddRef(), 2);
  EXPECT_EQ(p->Release(), 1);
  EXPECT_EQ(p->Release(), 0);
  EXPECT_TRUE(alive.Alive()) << "the last release must not free an owned object";
  EXPECT_EQ(p->Release(), 0) << "the count never goes below zero";
  p->Free();
  EXPECT_FALSE(alive.Alive());
}

// ---------------------------------------------------------------------------

TEST(RegisteredClassList, FindsTheNearestRegisteredAncestor)
{
  TcxRegisteredClassList list;
  EXPECT_EQ(list.FindClass(TcxNamedThing::StaticClass()), nullptr);
  list.Register(TComponent::StaticClass(), TcxStyle::StaticClass());
  EXPECT_EQ(list.FindClass(TcxNamedThing::StaticClass()), TcxStyle::StaticClass());
  EXPECT_EQ(list.FindClass(TPersistent::StaticClass()), nullptr) << "an ancestor does not inherit a descendant's pair";

  list.Register(TNamedThing::StaticClass(), TcxFreeNotificator::StaticClass());
  EXPECT_EQ(list.FindClass(TcxNamedThing::StaticClass()), TcxFreeNotificator::StaticClass());
  EXPECT_EQ(list.FindClass(TNamedThing::StaticClass()), TcxFreeNotificator::StaticClass());

  list.Unregister(TNamedThing::StaticClass());
  EXPECT_EQ(list.FindClass(TcxNamedThing::StaticClass()), TcxStyle::StaticClass());
  EXPECT_EQ(list.FindClass(nullptr), nullptr);
}

TEST(RegisteredClassList, RegisteringAgainReplacesAndUnregisterCanMatchThePair)
{
  TcxRegisteredClassList list;
  list.Register(TNamedThing::StaticClass(), TcxStyle::StaticClass());
  list.Register(TNamedThing::StaticClass(), TcxFreeNotificator::StaticClass());
  list.Register(nullptr, TcxStyle::StaticClass());
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.FindClass(TNamedThing::StaticClass()), TcxFreeNotificator::StaticClass());
  list.Unregister(TNamedThing::StaticClass(), TcxStyle::StaticClass());
  EXPECT_EQ(list.Count(), 1) << "a pair with another registered class stays";
  list.Unregister(TNamedThing::StaticClass(), TcxFreeNotificator::StaticClass());
  EXPECT_EQ(list.Count(), 0);
}

// ---------------------------------------------------------------------------

TEST(FreeNotificator, ReportsOnlyRegisteredComponents)
{
  auto notificator = std::make_unique<TcxFreeNotificator>(nullptr);
  std::vector<TComponent*> freed;
  notificator->OnFreeNotification = [&](TComponent* c) { freed.push_back(c); };
  auto* a = new TNamedThing(nullptr);
  auto* b = new TNamedThing(nullptr);
  auto* c = new TNamedThing(nullptr);
  notificator->AddSender(a);
  notificator->AddSender(b);
  notificator->AddSender(nullptr);
  notificator->RemoveSender(b);
  a->Free();
  b->Free();
  c->Free();
  ASSERT_EQ(freed.size(), 1u);
  EXPECT_EQ(freed[0], a);
}

TEST(FreeNotificator, FreedFirstLeavesNoDanglingObserver)
{
  auto* notificator = new TcxFreeNotificator(nullptr);
  int calls = 0;
  notificator->OnFreeNotification = [&](TComponent*) { ++calls; };
  auto* a = new TNamedThing(nullptr);
  notificator->AddSender(a);
  notificator->Free();
  a->Free();
  EXPECT_EQ(calls, 0);
}

// ---------------------------------------------------------------------------

TEST(ObjectLinks, ClearedLinkReadsNilAndOthersStay)
{
  EXPECT_EQ(AddObjectLink(nullptr), nullptr);
  auto* a = new TNamedThing(nullptr);
  auto* b = new TNamedThing(nullptr);
  TcxObjectLink* la1 = AddObjectLink(a);
  TcxObjectLink* la2 = AddObjectLink(a);
  TcxObjectLink* lb = AddObjectLink(b);
  ASSERT_NE(la1, nullptr);
  EXPECT_EQ(la1->Object.Get(), a);
  EXPECT_EQ(lb->Object.Get(), b);
  ClearObjectLinks(a);
  EXPECT_EQ(la1->Object.Get(), nullptr);
  EXPECT_EQ(la2->Object.Get(), nullptr);
  EXPECT_EQ(lb->Object.Get(), b) << "clearing one object's links leaves the others";
  // The object's death clears its links even when nobody calls ClearObjectLinks.
  b->Free();
  EXPECT_EQ(lb->Object.Get(), nullptr);
  a->Free();
  RemoveObjectLink(la1);
  RemoveObjectLink(la2);
  RemoveObjectLink(lb);
  RemoveObjectLink(nullptr);
}

TEST(ObjectLinks, ControllerGoesWithTheLastLinkAndComesBack)
{
  ASSERT_FALSE(ObjectLinkControllerExists()) << "an earlier case left links behind";
  auto* a = new TNamedThing(nullptr);
  TcxObjectLink* first = AddObjectLink(a);
  int generation = ObjectLinkControllerGeneration();
  TcxObjectLink* second = AddObjectLink(a);
  EXPECT_EQ(ObjectLinkControllerGeneration(), generation) << "one controller serves every link";
  RemoveObjectLink(first);
  EXPECT_TRUE(ObjectLinkControllerExists());
  EXPECT_EQ(second->Object.Get(), a);
  RemoveObjectLink(second);
  EXPECT_FALSE(ObjectLinkControllerExists());
  ClearObjectLinks(a);  // no controller: nothing to do, nothing made

  EXPECT_FALSE(ObjectLinkControllerExists());
  TcxObjectLink* again = AddObjectLink(a);
  EXPECT_TRUE(ObjectLinkControllerExists());
  EXPECT_EQ(ObjectLinkControllerGeneration(), generation + 1);
  EXPECT_EQ(again->Object.Get(), a);
  RemoveObjectLink(again);
  a->Free();
}

TEST(ObjectLinks, LinkSurvivesItsObjectBeingFreedInACallback)
{
  // The pattern the links exist for: a handler frees the object that called it.
  auto* target = new TNamedThing(nullptr);
  TNotifyEvent handler = [&](TObject*) { target->Free(); };
  TcxObjectLink* link = AddObjectLink(target);
  CallNotifyEvent(handler, target);
  EXPECT_EQ(link->Object.Get(), nullptr);
  RemoveObjectLink(link);
}

// ---------------------------------------------------------------------------

TEST(SmallServices, UniqueComponentNames)
{
  TNamedThing owner(nullptr);
  TNamedThing repository(&owner);
  repository.SetName(L"Repo");
  TcxNamedThing item(nullptr);

  // The prefix matches: it goes; the numbers start at the given one.
  EXPECT_EQ(CreateUniqueComponentName(&owner, &repository, &item, 1, L"Tcx"), L"RepoNamedThing1");
  EXPECT_EQ(CreateUniqueComponentName(&owner, &repository, &item, 5, L"Tcx"), L"RepoNamedThing5");
  // The prefix does not match: only the "T" goes.
  EXPECT_EQ(CreateUniqueComponentName(&owner, &repository, &item, 1, L"TdxBar"), L"RepocxNamedThing1");
  EXPECT_EQ(CreateUniqueComponentName(&owner, nullptr, &item, 1, L""), L"cxNamedThing1");

  // Taken names are skipped, compared without regard to case.
  TNamedThing taken1(&owner);
  taken1.SetName(L"REPONAMEDTHING1");
  TNamedThing taken2(&owner);
  taken2.SetName(L"RepoNamedThing2");
  EXPECT_EQ(CreateUniqueComponentName(&owner, &repository, &item, 1, L"Tcx"), L"RepoNamedThing3");
  EXPECT_EQ(CreateUniqueComponentName(nullptr, &repository, &item, 1, L"Tcx"), L"RepoNamedThing1")
      << "without an owner every name is free";
}
