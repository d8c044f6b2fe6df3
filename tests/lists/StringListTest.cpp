// String lists: sorting, duplicate and case rules, lookups, objects and change
// events.
#include <gtest/gtest.h>

#include "platform/Classes.h"

namespace {

std::vector<String> ListItems(const TStrings& list)
{
  std::vector<String> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list.Strings(i));
  return out;
}

using L = std::vector<String>;

// Counts the change events of a list and checks they come in pairs.
struct TChangeSpy : TObject {
  int Changing = 0;
  int Changed = 0;
  void OnChanging(TObject*) { ++Changing; }
  void OnChanged(TObject*)
  {
    ++Changed;
    EXPECT_EQ(Changing, Changed) << "OnChange without OnChanging";
  }
  void Attach(TStringList& list)
  {
    list.OnChanging = TNotifyEvent(this, &TChangeSpy::OnChanging);
    list.OnChange = TNotifyEvent(this, &TChangeSpy::OnChanged);
  }
};

class TCounted : public TObject {
public:
  explicit TCounted(int& freed) : FFreed(freed) {}
  ~TCounted() override { ++FFreed; }
  int& FFreed;
};

}  // namespace

TEST(StringList, SortedListRefusesPositionalChanges)
{
  TStringList list;
  list.AddStrings({L"b", L"a"});
  list.SetSorted(true);
  EXPECT_THROW(list.Insert(0, L"z"), EStringListError);
  EXPECT_THROW(list.SetStrings(0, L"z"), EStringListError);
  EXPECT_THROW(list.Move(0, 1), EStringListError);
  EXPECT_THROW(list.Exchange(0, 1), EStringListError);
  EXPECT_EQ(ListItems(list), (L{L"a", L"b"}));
  list.SetSorted(false);
  list.Insert(0, L"z");
  EXPECT_EQ(ListItems(list), (L{L"z", L"a", L"b"}));
}

TEST(StringList, DuplicatesOnSortedLists)
{
  TStringList list;
  list.SetSorted(true);
  list.Add(L"one");
  list.Add(L"two");

  EXPECT_EQ(list.Duplicates(), dupIgnore);
  EXPECT_EQ(list.Add(L"ONE"), 0);  // the existing entry, case-insensitively
  EXPECT_EQ(list.Count(), 2);

  list.SetDuplicates(dupError);
  try {
    list.Add(L"two");
    FAIL() << "no error";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), L"String list does not allow duplicates");
  }
  EXPECT_EQ(list.Count(), 2);

  list.SetDuplicates(dupAccept);
  list.Add(L"two");
  list.Add(L"Two");
  EXPECT_EQ(list.Count(), 4);
  int index = -1;
  EXPECT_TRUE(list.Find(L"TWO", index));
  EXPECT_EQ(index, 1);  // the first of the equal ones
}

TEST(StringList, CaseSensitivityDecidesEqualityAndOrder)
{
  TStringList list;
  list.AddStrings({L"b", L"B", L"a", L"A"});
  EXPECT_EQ(list.IndexOf(L"A"), 2);  // case-insensitive: first "a"
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf(L"A"), 3);
  EXPECT_EQ(list.IndexOf(L"c"), -1);

  list.SetSorted(true);
  EXPECT_EQ(ListItems(list), (L{L"A", L"B", L"a", L"b"}));  // ordinal: capitals first
  int index = -1;
  EXPECT_TRUE(list.Find(L"a", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find(L"C", index));
  EXPECT_EQ(index, 2);  // where "C" would go

  // Switching the rule re-sorts a sorted list; equal entries keep their order.
  list.SetCaseSensitive(false);
  EXPECT_EQ(ListItems(list), (L{L"A", L"a", L"B", L"b"}));
  list.SetDuplicates(dupIgnore);
  EXPECT_EQ(list.Add(L"b"), 2);
}

TEST(StringList, FindOnSortedListReportsInsertionPoint)
{
  TStringList list;
  list.SetSorted(true);
  int index = -1;
  EXPECT_FALSE(list.Find(L"m", index));
  EXPECT_EQ(index, 0);
  for (const wchar_t* s : {L"d", L"b", L"f", L"h"})
    list.Add(s);
  EXPECT_FALSE(list.Find(L"a", index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(list.Find(L"e", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find(L"z", index));
  EXPECT_EQ(index, 4);
  EXPECT_TRUE(list.Find(L"H", index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(list.IndexOf(L"F"), 2);
  EXPECT_EQ(list.IndexOf(L"g"), -1);
}

TEST(StringList, IndexErrorsNameTheIndex)
{
  TStringList list;
  list.Add(L"only");
  try {
    list.Strings(1);
    FAIL() << "no error";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), L"List index out of bounds (1)");
  }
  EXPECT_THROW(list.Objects(-1), EStringListError);
  EXPECT_THROW(list.Delete(1), EStringListError);
  EXPECT_THROW(list.Insert(2, L"x"), EStringListError);
  EXPECT_THROW(list.SetObjects(3, nullptr), EStringListError);
  EXPECT_THROW(list.Move(0, 1), EStringListError);
  EXPECT_THROW(list.Exchange(0, 5), EStringListError);
  EXPECT_EQ(ListItems(list), (L{L"only"}));
}

TEST(StringList, OwningListFreesObjectsItDrops)
{
  int freed = 0;
  {
    TStringList list(true);
    list.AddObject(L"a", new TCounted(freed));
    list.AddObject(L"b", new TCounted(freed));
    list.AddObject(L"c", new TCounted(freed));
    list.AddObject(L"d", new TCounted(freed));
    list.Delete(0);
    EXPECT_EQ(freed, 1);
    list.Move(0, 2);  // moving is not dropping
    list.Exchange(0, 1);
    EXPECT_EQ(freed, 1);
    TObject* detached = list.Objects(0);
    list.SetObjects(0, nullptr);  // the caller takes it over
    EXPECT_EQ(freed, 1);
    delete detached;
    EXPECT_EQ(freed, 2);
    list.SetSorted(true);
    list.Add(L"b");  // ignored duplicate
  }
  EXPECT_EQ(freed, 4);
}

TEST(StringList, ChangeEventsPairUpAndFireOncePerOutermostUpdate)
{
  TStringList list;
  TChangeSpy spy;
  spy.Attach(list);

  list.Add(L"a");
  EXPECT_EQ(spy.Changed, 1);
  list.SetStrings(0, L"b");
  list.SetObjects(0, nullptr);
  list.Delete(0);
  EXPECT_EQ(spy.Changed, 4);
  list.Clear();  // nothing to clear: no event
  EXPECT_EQ(spy.Changed, 4);

  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(L"x");
  list.Add(L"y");
  list.EndUpdate();
  EXPECT_EQ(spy.Changed, 4);
  list.SetText(L"p\r\nq\r\n");  // brackets itself inside ours
  list.Sort();
  EXPECT_EQ(spy.Changing, 5);
  EXPECT_EQ(spy.Changed, 4);
  list.EndUpdate();
  EXPECT_EQ(spy.Changing, 5);
  EXPECT_EQ(spy.Changed, 5);
  EXPECT_EQ(list.UpdateCount(), 0);

  list.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(list.UpdateCount(), 0);
  EXPECT_EQ(spy.Changed, 5);

  list.SetCommaText(L"1,2,3");  // many adds, one change
  EXPECT_EQ(spy.Changed, 6);
}

TEST(StringList, AddStringsToItselfDoublesOnce)
{
  TStringList list;
  list.AddStrings({L"x", L"y"});
  list.AddStrings(&list);
  EXPECT_EQ(ListItems(list), (L{L"x", L"y", L"x", L"y"}));
}
