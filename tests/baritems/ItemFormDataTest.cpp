// Items in form data: published values read and written back, Visible applied after
// loading, the action bound by name with only the defaults taken, handlers bound by name,
// and malformed values.
#include "ItemsTestUtil.h"
#include "support/FormRoundTrip.h"

namespace {

const wchar_t* const kForm =
    L"object ItemForm: TItemsTestForm\n"
    L"  object ActionList1: TActionList\n"
    L"    object SaveAction: TAction\n"
    L"      Caption = '&Save'\n"
    L"      ImageIndex = 4\n"
    L"    end\n"
    L"  end\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    Categories.Strings = (\n"
    L"      'File'\n"
    L"      'Edit')\n"
    L"    object OpenItem: TTestItem\n"
    L"      Align = iaRight\n"
    L"      Caption = '&Open...'\n"
    L"      Category = 0\n"
    L"      Description = 'Opens a file'\n"
    L"      Hint = 'Open|Opens a file'\n"
    L"      KeyTip = 'O'\n"
    L"      MergeKind = mkNone\n"
    L"      MergeOrder = 2\n"
    L"      Visible = ivInCustomizing\n"
    L"      ImageIndex = 3\n"
    L"      ShortCut = 16463\n"
    L"      Width = 50\n"
    L"      OnClick = ItemClick\n"
    L"    end\n"
    L"    object SaveItem: TTestItem\n"
    L"      Action = SaveAction\n"
    L"      Caption = 'Store'\n"
    L"      Category = 1\n"
    L"    end\n"
    L"  end\n"
    L"end\n";

void ExpectFormState(TItemsTestForm* Form)
{
  auto* manager = Find<TdxBarManager>(Form, L"dxBarManager1");
  auto* open = Find<TTestItem>(Form, L"OpenItem");
  auto* save = Find<TTestItem>(Form, L"SaveItem");
  ASSERT_TRUE(manager && open && save);
  EXPECT_EQ(open->GetBarManager(), manager);
  EXPECT_EQ(manager->GetItemCount(), 2);
  EXPECT_EQ(open->GetAlign(), iaRight);
  EXPECT_EQ(open->GetCaption(), L"&Open...");
  EXPECT_EQ(open->GetCategory(), 0);
  EXPECT_EQ(open->GetDescription(), L"Opens a file");
  EXPECT_EQ(open->GetHint(), L"Open|Opens a file");
  EXPECT_EQ(open->GetKeyTip(), L"O");
  EXPECT_EQ(open->GetMergeKind(), mkNone);
  EXPECT_EQ(open->GetMergeOrder(), 2);
  // Kept aside while loading, applied afterwards.
  EXPECT_EQ(open->GetVisible(), ivInCustomizing);
  EXPECT_EQ(open->GetImageIndex(), 3);
  EXPECT_EQ(open->GetShortCut(), ShortCut(L'O', {ssCtrl}));
  EXPECT_EQ(open->GetWidth(), 50);
  open->Click();
  EXPECT_EQ(Form->Clicks, 1);

  // The action filled only what the item left at its default.
  EXPECT_EQ(save->GetAction(), Find<TAction>(Form, L"SaveAction"));
  EXPECT_EQ(save->GetCaption(), L"Store");
  EXPECT_EQ(save->GetImageIndex(), 4);
  EXPECT_EQ(save->GetHint(), L"");
}

TEST(ItemFormData, ItemsReadAsStoredAndWrittenBack)
{
  String text = ExpectFormRoundTrip<TItemsTestForm>(kForm, ExpectFormState);
  EXPECT_NE(text.find(L"    object OpenItem: TTestItem"), String::npos) << ToUtf8(text);
  EXPECT_NE(text.find(L"OnClick = ItemClick"), String::npos) << ToUtf8(text);
  // The action supplies the image index: not written.
  size_t save = text.find(L"object SaveItem");
  ASSERT_NE(save, String::npos);
  EXPECT_EQ(text.find(L"ImageIndex", save), String::npos) << ToUtf8(text);
}

TEST(ItemFormData, OddValuesKeepTheDefaults)
{
  const wchar_t* const form =
      L"object OddForm: TItemsTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    object OddItem: TTestItem\n"
      L"      Category = 0\n"
      L"      MergeOrder = -4\n"
      L"      Width = -10\n"
      L"    end\n"
      L"  end\n"
      L"end\n";
  TOwned<TItemsTestForm> owned(TCustomForm::CreateFromText<TItemsTestForm>(form, nullptr));
  auto* item = Find<TTestItem>(owned.Get(), L"OddItem");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetMergeOrder(), 0);
  EXPECT_EQ(item->GetWidth(), 0);
  EXPECT_EQ(item->GetVisible(), ivAlways);
}

TEST(ItemFormData, UnknownVisibleNameIsAReadingError)
{
  const wchar_t* const form =
      L"object BadForm: TItemsTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    object BadItem: TTestItem\n"
      L"      Category = 0\n"
      L"      Visible = ivSometimes\n"
      L"    end\n"
      L"  end\n"
      L"end\n";
  EXPECT_THROW(TCustomForm::CreateFromText<TItemsTestForm>(form, nullptr), Exception);
}

}  // namespace
