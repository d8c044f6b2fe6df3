// String lists: sorting, duplicate and case rules, lookups, name=value pairs, objects
// and change events.
#include <gtest/gtest.h>

#include "platform/Classes.h"

namespace {

std::vector<String> Items(const TStrings& list)
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

TEST(StringList, SortedListKeepsOrderOnAdd)
{
  TStringList list;
  list.AddStrings({L"pear", L"Apple", L"fig", L"banana"});
  list.SetSorted(true);
  EXPECT_EQ(Items(list), (L{L"Apple", L"banana", L"fig", L"pear"}));
  EXPECT_EQ(list.Add(L"cherry"), 2);
  EXPECT_EQ(list.Add(L"ZUCCHINI"), 5);
  EXPECT_EQ(list.Add(L"aardvark"), 0);
  EXPECT_EQ(Items(list), (L{L"aardvark", L"Apple", L"banana", L"cherry", L"fig", L"pear", L"ZUCCHINI"}));
}

TEST(StringList, SortedListRefusesPositionalChanges)
{
  TStringList list;
  list.AddStrings({L"b", L"a"});
  list.SetSorted(true);
  EXPECT_THROW(list.Insert(0, L"z"), EStringListError);
  EXPECT_THROW(list.SetStrings(0, L"z"), EStringListError);
  EXPECT_THROW(list.Move(0, 1), EStringListError);
  EXPECT_THROW(list.Exchange(0, 1), EStringListError);
  EXPECT_EQ(Items(list), (L{L"a", L"b"}));
  list.SetSorted(false);
  list.Insert(0, L"z");
  EXPECT_EQ(Items(list), (L{L"z", L"a", L"b"}));
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

TEST(StringList, DuplicatesAreNotLookedForInUnsortedLists)
{
  TStringList list;
  list.SetDuplicates(dupError);
  list.Add(L"x");
  EXPECT_NO_THROW(list.Add(L"x"));
  EXPECT_EQ(list.Count(), 2);
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
  EXPECT_EQ(Items(list), (L{L"A", L"B", L"a", L"b"}));  // ordinal: capitals first
  int index = -1;
  EXPECT_TRUE(list.Find(L"a", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find(L"C", index));
  EXPECT_EQ(index, 2);  // where "C" would go

  // Switching the rule re-sorts a sorted list; equal entries keep their order.
  list.SetCaseSensitive(false);
  EXPECT_EQ(Items(list), (L{L"A", L"a", L"B", L"b"}));
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

TEST(StringList, CustomSortIsStableAndIgnoredOnSortedLists)
{
  TStringList list;
  list.AddStrings({L"ccc", L"a", L"bb", L"dd", L"e"});
  list.CustomSort([](TStringList* l, int a, int b) { return int(l->Strings(a).size()) - int(l->Strings(b).size()); });
  EXPECT_EQ(Items(list), (L{L"a", L"e", L"bb", L"dd", L"ccc"}));

  list.SetSorted(true);
  list.CustomSort([](TStringList* l, int a, int b) { return -CompareText(l->Strings(a), l->Strings(b)); });
  EXPECT_EQ(Items(list), (L{L"a", L"bb", L"ccc", L"dd", L"e"}));
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
  EXPECT_EQ(Items(list), (L{L"only"}));
}

TEST(StringList, MoveAndExchangeCarryObjects)
{
  TObject o0, o1, o2;
  TStringList list;
  list.AddObject(L"zero", &o0);
  list.AddObject(L"one", &o1);
  list.AddObject(L"two", &o2);
  list.Move(0, 2);
  EXPECT_EQ(Items(list), (L{L"one", L"two", L"zero"}));
  EXPECT_EQ(list.Objects(2), &o0);
  list.Exchange(0, 1);
  EXPECT_EQ(Items(list), (L{L"two", L"one", L"zero"}));
  EXPECT_EQ(list.Objects(0), &o2);
  EXPECT_EQ(list.IndexOfObject(&o1), 1);
  EXPECT_EQ(list.IndexOfObject(nullptr), -1);
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

TEST(StringList, NamesAndValues)
{
  TStringList list;
  list.AddStrings({L"Width=10", L"Caption=a=b", L"plain", L"=anonymous", L"Empty="});
  EXPECT_EQ(list.Names(0), L"Width");
  EXPECT_EQ(list.ValueFromIndex(0), L"10");
  EXPECT_EQ(list.Values(L"caption"), L"a=b");  // split at the first separator, names case-insensitive
  EXPECT_EQ(list.Names(2), L"");
  EXPECT_EQ(list.ValueFromIndex(2), L"");
  EXPECT_EQ(list.Names(3), L"");
  EXPECT_EQ(list.ValueFromIndex(3), L"anonymous");
  EXPECT_EQ(list.IndexOfName(L"Empty"), 4);
  EXPECT_EQ(list.Values(L"Empty"), L"");
  EXPECT_EQ(list.Values(L"missing"), L"");
  EXPECT_EQ(list.IndexOfName(L"plain"), -1);

  list.SetValues(L"WIDTH", L"20");
  EXPECT_EQ(list.Strings(0), L"WIDTH=20");
  list.SetValues(L"Height", L"5");
  EXPECT_EQ(list.Strings(5), L"Height=5");
  list.SetValues(L"Caption", L"");  // an empty value removes the pair
  EXPECT_EQ(list.IndexOfName(L"Caption"), -1);
  EXPECT_EQ(list.Count(), 5);
  list.SetValueFromIndex(0, L"30");
  EXPECT_EQ(list.Strings(0), L"WIDTH=30");

  list.SetNameValueSeparator(L':');
  list.Add(L"Color:red");
  EXPECT_EQ(list.Values(L"color"), L"red");
  EXPECT_EQ(list.Values(L"WIDTH"), L"");
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

TEST(StringList, AssignCopiesStringsObjectsAndRules)
{
  TObject o;
  TStringList source;
  source.SetCaseSensitive(true);
  source.SetDuplicates(dupAccept);
  source.SetSorted(true);
  source.AddObject(L"b", &o);
  source.Add(L"a");
  source.Add(L"a");
  source.SetDelimiter(L';');

  TStringList dest;
  dest.Add(L"old");
  TChangeSpy spy;
  spy.Attach(dest);
  dest.Assign(&source);
  EXPECT_EQ(spy.Changed, 1);
  EXPECT_EQ(Items(dest), (L{L"a", L"a", L"b"}));
  EXPECT_EQ(dest.Objects(2), &o);
  EXPECT_TRUE(dest.Sorted());
  EXPECT_TRUE(dest.CaseSensitive());
  EXPECT_EQ(dest.Duplicates(), dupAccept);
  EXPECT_EQ(dest.Delimiter(), L';');
  EXPECT_TRUE(dest.Equals(&source));

  dest.Assign(&dest);
  EXPECT_EQ(dest.Count(), 3);

  dest.SetSorted(false);
  dest.SetStrings(0, L"A");
  EXPECT_FALSE(dest.Equals(&source));  // exact comparison

  TCollection notStrings(TCollectionItem::StaticClass());
  EXPECT_THROW(dest.Assign(&notStrings), EConvertError);
}

TEST(StringList, AddStringsToItselfDoublesOnce)
{
  TStringList list;
  list.AddStrings({L"x", L"y"});
  list.AddStrings(&list);
  EXPECT_EQ(Items(list), (L{L"x", L"y", L"x", L"y"}));
}
