// Free notification and ownership of TComponent in every destruction order: the owner
// first, a peer first, an owned member first; and what an observer may see meanwhile.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Component.h"

namespace {

struct TEventLog {
  std::vector<std::string> Lines;
};

// Records every removal it hears of and drops its references then, as a component must.
class TObserver : public TComponent {
public:
  TObserver(TComponent* owner, const char* tag, TEventLog* log) : TComponent(owner), FTag(tag), FLog(log) { ++Live; }
  ~TObserver() override { --Live; }

  void Watch(TComponent* other)
  {
    Refs.push_back(other);
    other->FreeNotification(this);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override
  {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
      return;
    auto* obs = dynamic_cast<TObserver*>(AComponent);
    // The dying component still has its full type and is marked destroying.
    FLog->Lines.push_back(FTag + " hears " + (obs ? obs->FTag : std::string("?")) +
                          (AComponent->ComponentState().Contains(csDestroying) ? "" : " (not destroying)"));
    Refs.erase(std::remove(Refs.begin(), Refs.end(), AComponent), Refs.end());
  }

  std::string FTag;
  TEventLog* FLog;
  std::vector<TComponent*> Refs;
  static inline int Live = 0;
};

int Count(const TEventLog& log, const std::string& line)
{
  return int(std::count(log.Lines.begin(), log.Lines.end(), line));
}

}  // namespace

TEST(FreeNotification, OwnerFirstTellsOutsideObserversOfEveryOwnedComponent)
{
  TEventLog log;
  int live = TObserver::Live;
  auto* owner = new TObserver(nullptr, "owner", &log);
  auto* a = new TObserver(owner, "a", &log);
  auto* b = new TObserver(owner, "b", &log);
  TObserver outside(nullptr, "outside", &log);
  outside.Watch(a);
  outside.Watch(owner);
  b->Watch(a);  // a sibling observer dies in the same sweep
  owner->Free();
  EXPECT_EQ(TObserver::Live, live + 1);
  EXPECT_TRUE(outside.Refs.empty());
  EXPECT_EQ(Count(log, "outside hears owner"), 1);
  EXPECT_EQ(Count(log, "outside hears a"), 1);
  // Nobody hears of a component that is not destroying, and nobody hears twice.
  for (const auto& line : log.Lines)
    EXPECT_EQ(line.find("not destroying"), std::string::npos) << line;
}

TEST(FreeNotification, PeerFirstClearsTheOtherSideBothWays)
{
  TEventLog log;
  auto* a = new TObserver(nullptr, "a", &log);
  auto* b = new TObserver(nullptr, "b", &log);
  a->Watch(b);
  b->Watch(a);
  a->Free();
  EXPECT_TRUE(b->Refs.empty());
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"b hears a"}));
  EXPECT_FALSE(b->ComponentState().Contains(csFreeNotification)) << "the link is gone on both sides";
  log.Lines.clear();
  b->Free();  // must not reach the freed a
  EXPECT_TRUE(log.Lines.empty());
}

// A link asked for again from either side, whichever lists more, stands once: the observer
// hears once, and one removal undoes it.
TEST(FreeNotification, AskedAgainFromEitherSideTheLinkStandsOnce)
{
  TEventLog log;
  auto* hub = new TObserver(nullptr, "hub", &log);
  std::vector<TObserver*> watched;
  for (const char* tag : {"m0", "m1", "m2", "m3"}) {
    watched.push_back(new TObserver(nullptr, tag, &log));
    hub->Watch(watched.back());
  }
  watched[0]->FreeNotification(hub);  // from the side with the shorter list
  hub->FreeNotification(watched[0]);  // and from the longer
  watched[1]->Watch(hub);
  watched[1]->Watch(hub);
  watched[0]->Free();
  EXPECT_EQ(Count(log, "hub hears m0"), 1);
  watched[2]->RemoveFreeNotification(hub);
  watched[2]->Free();
  EXPECT_EQ(Count(log, "hub hears m2"), 0);
  hub->Free();
  // The link runs both ways: each one left hears the hub once, the one that asked twice too.
  EXPECT_EQ(Count(log, "m1 hears hub"), 1);
  EXPECT_EQ(Count(log, "m3 hears hub"), 1);
  log.Lines.clear();
  watched[1]->Free();
  watched[3]->Free();
  EXPECT_TRUE(log.Lines.empty()) << "the freed hub is no longer listed";
}

TEST(FreeNotification, MemberFirstLeavesItsOwnerAndTellsItsSiblings)
{
  TEventLog log;
  TObserver owner(nullptr, "owner", &log);
  auto* a = new TObserver(&owner, "a", &log);
  auto* b = new TObserver(&owner, "b", &log);
  auto* c = new TObserver(&owner, "c", &log);
  c->Watch(a);
  a->Free();
  EXPECT_EQ(owner.ComponentCount(), 2);
  EXPECT_EQ(owner.FindComponent(L""), nullptr);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(Count(log, "owner hears a"), 1);
  // A sibling that observes hears it as an observer and again through the owner, as
  // the platform does; handlers clear their references and so take it twice.
  EXPECT_GE(Count(log, "c hears a"), 1);
  EXPECT_EQ(Count(log, "b hears a"), 1) << "owned components hear of their siblings' removal";
  EXPECT_TRUE(c->Refs.empty());
  // A member deleted directly rather than freed leaves and tells as a freed one does: while
  // it still has its full type.
  log.Lines.clear();
  delete b;
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(Count(log, "owner hears b"), 1);
  EXPECT_EQ(Count(log, "owner hears ?"), 0);
}

TEST(FreeNotification, AnOwnerThatObservesItsMemberIsToldOnce)
{
  TEventLog log;
  auto* owner = new TObserver(nullptr, "owner", &log);
  auto* a = new TObserver(owner, "a", &log);
  owner->Watch(a);
  a->Free();
  EXPECT_EQ(Count(log, "owner hears a"), 1);
  EXPECT_TRUE(owner->Refs.empty());
  EXPECT_FALSE(owner->ComponentState().Contains(csFreeNotification));
  owner->Free();
}

TEST(FreeNotification, RemoveFreeNotificationStopsTheMessage)
{
  TEventLog log;
  TObserver watcher(nullptr, "watcher", &log);
  auto* a = new TObserver(nullptr, "a", &log);
  watcher.Watch(a);
  a->RemoveFreeNotification(&watcher);
  a->Free();
  EXPECT_TRUE(log.Lines.empty());
}

TEST(FreeNotification, AnObserverFreedFromANotificationDoesNotBreakTheSweep)
{
  // c frees d when it hears of a: the sweep over a's observers must skip the freed d.
  struct TKiller : TObserver {
    using TObserver::TObserver;
    TComponent* Victim = nullptr;
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
      TObserver::Notification(AComponent, Operation);
      if (Operation == opRemove && Victim && AComponent != Victim) {
        TComponent* v = Victim;
        Victim = nullptr;
        v->Free();
      }
    }
  };
  TEventLog log;
  int live = TObserver::Live;
  auto* a = new TObserver(nullptr, "a", &log);
  auto* d = new TObserver(nullptr, "d", &log);
  auto* c = new TKiller(nullptr, "c", &log);
  d->Watch(a);
  c->Watch(a);
  c->Victim = d;
  a->Free();
  EXPECT_EQ(Count(log, "c hears a"), 1);
  c->Free();
  EXPECT_EQ(TObserver::Live, live);
}

TEST(Ownership, NamesAreCheckedAndUniqueAmongTheOwnersComponents)
{
  TEventLog log;
  TObserver owner(nullptr, "owner", &log);
  auto* a = new TObserver(&owner, "a", &log);
  auto* b = new TObserver(&owner, "b", &log);
  a->SetName(L"Alpha");
  EXPECT_THROW(b->SetName(L"alpha"), EComponentError);
  EXPECT_THROW(b->SetName(L"1abc"), EComponentError);
  EXPECT_THROW(b->SetName(L"a b"), EComponentError);
  b->SetName(L"_b2");
  a->SetName(L"ALPHA");  // a case change of its own name
  EXPECT_EQ(owner.FindComponent(L"alpha"), a);
  EXPECT_EQ(owner.FindComponent(L"_B2"), b);
  a->SetName(L"");
  b->SetName(L"");  // two unnamed components are fine
  EXPECT_EQ(owner.FindComponent(L""), nullptr);
}

TEST(Ownership, RemoveAndInsertComponentMoveBetweenOwners)
{
  TEventLog log;
  TObserver first(nullptr, "first", &log);
  TObserver second(nullptr, "second", &log);
  auto* a = new TObserver(&first, "a", &log);
  a->SetName(L"Shared");
  auto* clash = new TObserver(&second, "clash", &log);
  clash->SetName(L"Shared");
  first.RemoveComponent(a);
  EXPECT_EQ(a->Owner(), nullptr);
  EXPECT_THROW(second.InsertComponent(a), EComponentError) << "the name is taken there";
  EXPECT_EQ(a->Owner(), nullptr);
  clash->Free();
  second.InsertComponent(a);
  EXPECT_EQ(a->Owner(), &second);
  EXPECT_EQ(second.FindComponent(L"Shared"), a);
  EXPECT_EQ(a->GetComponentIndex(), 0);
}

TEST(Ownership, DestroyingIsSetOnTheWholeTreeBeforeAnyoneIsTold)
{
  struct TProbe : TComponent {
    using TComponent::TComponent;
    std::vector<bool>* Seen = nullptr;
    TComponent* Sibling = nullptr;
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
      TComponent::Notification(AComponent, Operation);
      if (Operation == opRemove && Seen && Sibling)
        Seen->push_back(ComponentState().Contains(csDestroying) && Sibling->ComponentState().Contains(csDestroying));
    }
  };
  std::vector<bool> seen;
  auto* owner = new TComponent(nullptr);
  auto* a = new TProbe(owner);
  auto* b = new TProbe(owner);
  a->Seen = &seen;
  a->Sibling = b;
  owner->Free();
  ASSERT_FALSE(seen.empty());
  for (bool s : seen)
    EXPECT_TRUE(s);
}

TEST(FreeNotification, ASiblingsRemovalReachesEveryHandlerAmongManyAndTheirOwnComponents)
{
  struct TQuiet : TObserver {
    TQuiet(TComponent* owner, const char* tag, TEventLog* log) : TObserver(owner, tag, log) { IgnoreSiblingRemovals(); }
  };
  TEventLog log;
  TObserver owner(nullptr, "owner", &log);
  for (int i = 0; i < 500; ++i)
    new TComponent(&owner);
  auto* heard = new TObserver(&owner, "sibling", &log);
  auto* holder = new TComponent(&owner);  // a plain component passes it on to its own
  new TObserver(holder, "grandchild", &log);
  new TQuiet(&owner, "quiet", &log);
  auto* gone = new TObserver(&owner, "gone", &log);
  gone->Free();
  EXPECT_EQ(Count(log, "owner hears gone"), 1);
  EXPECT_EQ(Count(log, "sibling hears gone"), 1);
  EXPECT_EQ(Count(log, "grandchild hears gone"), 1);
  EXPECT_EQ(Count(log, "quiet hears gone"), 0) << "it watches what it refers to through free notification";
  // A component that gets its first own component after it was passed over hears from then on.
  auto* late = new TComponent(&owner);
  auto* other = new TObserver(&owner, "other", &log);
  other->Free();
  new TObserver(late, "late", &log);
  heard->Free();
  EXPECT_EQ(Count(log, "late hears sibling"), 1);
}

TEST(Ownership, NameLookupsFollowRenamesRemovalsAndNamesAClassLetsTwoShare)
{
  struct TLenient : TComponent {
    using TComponent::TComponent;
    void ValidateRename(TComponent*, const String&, const String&) override {}
  };
  TLenient owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName(L"Same");
  b->SetName(L"same");
  EXPECT_EQ(owner.FindComponent(L"SAME"), a) << "the first of the list, as a walk would find";
  a->Free();
  EXPECT_EQ(owner.FindComponent(L"Same"), b);
  b->SetName(L"Other");
  EXPECT_EQ(owner.FindComponent(L"same"), nullptr);
  EXPECT_EQ(owner.FindComponent(L"other"), b);
  owner.RemoveComponent(b);
  EXPECT_EQ(owner.FindComponent(L"Other"), nullptr);
  b->Free();
}
