// Pointer lists and object lists: order operations, notifications, ownership and errors.
#include <gtest/gtest.h>

#include "platform/Classes.h"

namespace {

// Entries are addresses of these numbers, so a test can read the order back as values.
int V[8] = {0, 1, 2, 3, 4, 5, 6, 7};

std::vector<int> Values(const TList& list)
{
  std::vector<int> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list.Items(i) ? *static_cast<int*>(list.Items(i)) : -1);
  return out;
}

void Fill(TList& list, std::initializer_list<int> values)
{
  for (int v : values)
    list.Add(v < 0 ? nullptr : &V[v]);
}

int CompareInts(void* a, void* b)
{
  return *static_cast<int*>(a) - *static_cast<int*>(b);
}

// Records every notification as "+n", "-n" (deleted) or "~n" (extracted).
class TRecordingList : public TList {
public:
  std::vector<std::string> Log;

protected:
  void Notify(void* Ptr, TListNotification Action) override
  {
    const char* sign = Action == lnAdded ? "+" : Action == lnDeleted ? "-" : "~";
    Log.push_back(sign + std::to_string(*static_cast<int*>(Ptr)));
  }
};

}  // namespace

TEST(List, IndexErrorsNameTheIndex)
{
  TList list;
  Fill(list, {1, 2});
  try {
    list.Items(2);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), L"List index out of bounds (2)");
  }
  EXPECT_THROW(list.Items(-1), EListError);
  EXPECT_THROW(list.Delete(5), EListError);
  EXPECT_THROW(list.Insert(3, &V[0]), EListError);
  EXPECT_THROW(list.SetItems(2, &V[0]), EListError);
  EXPECT_THROW(list.Move(0, 2), EListError);
  EXPECT_THROW(list.Exchange(-1, 0), EListError);
  EXPECT_THROW(list.SetCount(-1), EListError);
  EXPECT_THROW(list.SetCapacity(1), EListError);
  // Nothing changed on the way.
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));

  TList empty;
  EXPECT_THROW(empty.First(), EListError);
  EXPECT_THROW(empty.Last(), EListError);
}

TEST(List, SortThatRaisesLeavesTheListAsItWas)
{
  TList list;
  Fill(list, {4, 2, 6, 1});
  EXPECT_THROW(list.Sort([](void* a, void* b) -> int {
    if (*static_cast<int*>(a) == 6 || *static_cast<int*>(b) == 6)
      throw EListError(L"cannot compare");
    return CompareInts(a, b);
  }),
               EListError);
  EXPECT_EQ(Values(list), (std::vector<int>{4, 2, 6, 1}));
}

TEST(List, NotificationsFollowEveryEntryInAndOut)
{
  TRecordingList list;
  list.Add(&V[1]);
  list.Add(nullptr);
  list.Insert(0, &V[2]);
  list.SetItems(0, &V[3]);
  list.Remove(&V[1]);
  EXPECT_EQ(list.Extract(&V[3]), &V[3]);
  EXPECT_EQ(list.Extract(&V[7]), nullptr);
  list.Add(&V[4]);
  list.Move(1, 0);
  list.Exchange(0, 1);
  list.Clear();
  EXPECT_EQ(list.Log, (std::vector<std::string>{"+1", "+2", "-2", "+3", "-1", "~3", "+4", "-4"}));
  EXPECT_EQ(list.Count(), 0);
}

TEST(List, ExtractAndRemoveTakeTheFirstOccurrence)
{
  TList list;
  Fill(list, {1, 2, 1, 3});
  EXPECT_EQ(list.Remove(&V[1]), 0);
  EXPECT_EQ(Values(list), (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(list.Extract(&V[1]), &V[1]);
  EXPECT_EQ(Values(list), (std::vector<int>{2, 3}));
  EXPECT_EQ(list.Remove(&V[1]), -1);
}

// ---------------------------------------------------------------------------

namespace {

class TThing : public TObject {
public:
  explicit TThing(int* Freed = nullptr) : FFreed(Freed) {}
  ~TThing() override
  {
    if (FFreed)
      ++*FFreed;
  }
  int* FFreed;
};

class TSpecialThing : public TThing {
  DECLARE_CLASS(TSpecialThing, TObject)
public:
  using TThing::TThing;
};

}  // namespace

PUBLISHED(TSpecialThing, TObject) {}

TEST(ObjectList, OwningListFreesOnDeleteRemoveAndClearButNotOnExtract)
{
  int freed = 0;
  auto* a = new TThing(&freed);
  auto* b = new TThing(&freed);
  auto* c = new TThing(&freed);
  auto* d = new TThing(&freed);
  {
    TObjectList list;
    EXPECT_TRUE(list.OwnsObjects());
    list.Add(a);
    list.Add(b);
    list.Add(c);
    list.Add(d);
    list.Delete(0);
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(list.Remove(b), 0);
    EXPECT_EQ(freed, 2);
    EXPECT_EQ(list.Extract(c), c);
    EXPECT_EQ(freed, 2);
    EXPECT_EQ(list.IndexOf(d), 0);
    list.SetItems(0, c);  // replacing an owned entry frees it
    EXPECT_EQ(freed, 3);
    list.Clear();
    EXPECT_EQ(freed, 4);
    list.Add(new TThing(&freed));
  }
  EXPECT_EQ(freed, 5);  // the list's destruction frees what is left
}
