// Categories, stand-in items and groups in form data: reading the stored values
// "ItemsVisibles", "Visibles" and "Items", writing them back, the ancestor rule of "Items",
// and malformed values.
#include "ComponentsTestUtil.h"
#include "support/FormRoundTrip.h"

namespace {

const wchar_t* const kForm =
    L"object CompForm: TComponentsTestForm\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    Categories.Strings = (\n"
    L"      'File'\n"
    L"      'Edit'\n"
    L"      'Hidden')\n"
    L"    Categories.ItemsVisibles = (\n"
    L"      2\n"
    L"      1\n"
    L"      0)\n"
    L"    Categories.Visibles = (\n"
    L"      True\n"
    L"      True\n"
    L"      False)\n"
    L"    object OpenItem: TTestBarItem\n"
    L"      Category = 0\n"
    L"    end\n"
    L"    object CopyItem: TTestBarItem\n"
    L"      Category = 1\n"
    L"    end\n"
    L"    object SecretItem: TTestBarItem\n"
    L"      Category = 2\n"
    L"    end\n"
    L"    object InnerGroup: TdxBarGroup\n"
    L"      Enabled = False\n"
    L"      Items = (\n"
    L"        'CopyItem')\n"
    L"    end\n"
    L"    object OuterGroup: TdxBarGroup\n"
    L"      Visible = ivInCustomizing\n"
    L"      Items = (\n"
    L"        'OpenItem'\n"
    L"        'InnerGroup'\n"
    L"        'NoSuchItem'\n"
    L"        'OuterGroup')\n"
    L"    end\n"
    L"  end\n"
    L"end\n";

std::vector<String> MemberNames(TdxBarGroup* Group)
{
  std::vector<String> names;
  for (int i = 0; i < Group->GetCount(); ++i)
    names.push_back(Group->GetItem(i)->Name());
  return names;
}

// Checks everything kForm says, on a form read from it or from its written copy.
void ExpectFormState(TComponent* Form)
{
  TdxBarManager* manager = ManagerOf(Form);
  ASSERT_NE(manager, nullptr);
  TStrings* categories = manager->GetCategories();
  ASSERT_EQ(categories->Count(), 3);
  EXPECT_EQ(categories->Strings(0), L"File");
  EXPECT_EQ(categories->Strings(2), L"Hidden");
  EXPECT_EQ(manager->GetCategoryItemsVisible(0), ivAlways);
  EXPECT_EQ(manager->GetCategoryItemsVisible(1), ivInCustomizing);
  EXPECT_EQ(manager->GetCategoryItemsVisible(2), ivNever);
  EXPECT_TRUE(manager->GetCategoryVisible(1));
  EXPECT_FALSE(manager->GetCategoryVisible(2));
  EXPECT_EQ(manager->GetCategoryRealIndex(1), 1);
  EXPECT_EQ(manager->GetCategoryRealIndex(2), -1);

  ASSERT_EQ(manager->GetItemCount(), 3);
  auto* open = Find<TTestBarItem>(Form, L"OpenItem");
  auto* copy = Find<TTestBarItem>(Form, L"CopyItem");
  auto* secret = Find<TTestBarItem>(Form, L"SecretItem");
  ASSERT_TRUE(open && copy && secret);
  EXPECT_EQ(open->Owner(), Form);
  EXPECT_EQ(manager->GetItem(0), open);
  EXPECT_EQ(secret->GetCategory(), 2);
  // The loaded category visibility reached the items after loading.
  EXPECT_EQ(copy->GetVisible(), ivInCustomizing);
  EXPECT_EQ(secret->GetVisible(), ivNever);

  ASSERT_EQ(manager->GetGroupCount(), 2);
  TdxBarGroup* inner = manager->GetGroup(0);
  TdxBarGroup* outer = manager->GetGroup(1);
  EXPECT_EQ(inner->Name(), L"InnerGroup");
  EXPECT_EQ(inner->Owner(), Form);
  EXPECT_EQ(inner->GetBarManager(), manager);
  EXPECT_FALSE(inner->GetEnabled());
  EXPECT_EQ(outer->GetVisible(), ivInCustomizing);
  EXPECT_EQ(MemberNames(inner), std::vector<String>{L"CopyItem"});
  // The unknown name and the group itself are skipped.
  EXPECT_EQ(MemberNames(outer), (std::vector<String>{L"OpenItem", L"InnerGroup"}));
}

}  // namespace

TEST(BarComponentsFormData, CategoriesItemsAndGroupsReadAsStoredAndWrittenBack)
{
  String text = ExpectFormRoundTrip<TComponentsTestForm>(kForm, ExpectFormState);
  EXPECT_NE(text.find(L"Categories.ItemsVisibles = (\n"), String::npos) << ToUtf8(text);
  EXPECT_NE(text.find(L"Categories.Visibles = (\n"), String::npos);
  EXPECT_NE(text.find(L"object OuterGroup: TdxBarGroup"), String::npos);
  // Children of the manager, not of the form: nested one level deeper.
  EXPECT_NE(text.find(L"    object CopyItem: TTestBarItem"), String::npos);
  EXPECT_EQ(text.find(L"NoSuchItem"), String::npos);
}

TEST(BarComponentsFormData, ItemsAreWrittenOnlyWhenTheyDifferFromTheAncestor)
{
  TOwned<TComponentsTestForm> ancestor(TCustomForm::CreateFromText<TComponentsTestForm>(kForm, nullptr));
  String text = kForm;
  text.replace(text.find(L"CompForm"), 8, L"CompForm2");
  TOwned<TComponentsTestForm> descendant(TCustomForm::CreateFromText<TComponentsTestForm>(text, nullptr));

  auto written = [&] {
    TWriter writer;
    writer.WriteDescendent(descendant.Get(), ancestor.Get());
    return writer.Text();
  };
  String same = written();
  EXPECT_EQ(same.find(L"Items = ("), String::npos) << ToUtf8(same);

  // Same names in another order count as different.
  TdxBarGroup* outer = Find<TdxBarGroup>(descendant.Get(), L"OuterGroup");
  TdxBarComponent* open = outer->GetItem(0);
  outer->Remove(open);
  outer->Add(open);
  String reordered = written();
  size_t at = reordered.find(L"Items = (");
  ASSERT_NE(at, String::npos) << ToUtf8(reordered);
  EXPECT_LT(reordered.find(L"'InnerGroup'", at), reordered.find(L"'OpenItem'", at));
  // Only the group that differs writes its members.
  EXPECT_EQ(reordered.find(L"Items = (", at + 1), String::npos);
}

TEST(BarComponentsFormData, RecursiveGroupsInFormDataAreBrokenNotFatal)
{
  const wchar_t* const form =
      L"object LoopForm: TComponentsTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    object GroupA: TdxBarGroup\n"
      L"      Items = (\n"
      L"        'GroupB')\n"
      L"    end\n"
      L"    object GroupB: TdxBarGroup\n"
      L"      Items = (\n"
      L"        'GroupA'\n"
      L"        'dxBarManager1')\n"
      L"    end\n"
      L"  end\n"
      L"end\n";
  TOwned<TComponentsTestForm> owned(TCustomForm::CreateFromText<TComponentsTestForm>(form, nullptr));
  auto* a = Find<TdxBarGroup>(owned.Get(), L"GroupA");
  auto* b = Find<TdxBarGroup>(owned.Get(), L"GroupB");
  ASSERT_TRUE(a && b);
  // Exactly one of the two links survives, and no group contains itself.
  EXPECT_EQ(a->GetCount() + b->GetCount(), 1);
  EXPECT_FALSE(a->Contains(a));
  EXPECT_FALSE(b->Contains(b));
}

TEST(BarComponentsFormData, OddStoredValuesKeepTheDefaults)
{
  const wchar_t* const form =
      L"object OddForm: TComponentsTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    Categories.Strings = (\n"
      L"      'A'\n"
      L"      'B'\n"
      L"      'C')\n"
      L"    Categories.ItemsVisibles = (\n"
      L"      7\n"
      L"      -1\n"
      L"      1\n"
      L"      0\n"
      L"      0)\n"
      L"    Categories.Visibles = (\n"
      L"      False)\n"
      L"  end\n"
      L"end\n";
  TOwned<TComponentsTestForm> owned(TCustomForm::CreateFromText<TComponentsTestForm>(form, nullptr));
  TdxBarManager* manager = ManagerOf(owned.Get());
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->GetCategories()->Count(), 3);
  EXPECT_EQ(manager->GetCategoryItemsVisible(0), ivAlways);
  EXPECT_EQ(manager->GetCategoryItemsVisible(1), ivAlways);
  EXPECT_EQ(manager->GetCategoryItemsVisible(2), ivInCustomizing);
  EXPECT_FALSE(manager->GetCategoryVisible(0));
  EXPECT_TRUE(manager->GetCategoryVisible(1));
}

TEST(BarComponentsFormData, WrongKindOfValueIsAReadingError)
{
  const wchar_t* const form =
      L"object BadForm: TComponentsTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    Categories.ItemsVisibles = (\n"
      L"      'always')\n"
      L"  end\n"
      L"end\n";
  EXPECT_THROW(TCustomForm::CreateFromText<TComponentsTestForm>(form, nullptr), EReadError);
  // No half-read manager is left registered for a form.
  EXPECT_EQ(dxBarManagerList()->Count(), 0);
}

TEST(BarComponentsFormData, ManagerWithoutStoredCategoriesKeepsDefault)
{
  const wchar_t* const form =
      L"object PlainForm: TComponentsTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"  end\n"
      L"end\n";
  TOwned<TComponentsTestForm> owned(TCustomForm::CreateFromText<TComponentsTestForm>(form, nullptr));
  TdxBarManager* manager = ManagerOf(owned.Get());
  ASSERT_NE(manager, nullptr);
  ASSERT_EQ(manager->GetCategories()->Count(), 1);
  EXPECT_EQ(manager->GetCategories()->Strings(0), L"Default");
}
