// The container and list kinds in form data: their values read, written and read back, the
// hosted control bound by name, and a recent-files limit read before its entries.
#include "ContainerTestUtil.h"
#include "support/FormRoundTrip.h"

namespace {

const wchar_t* const kForm =
    L"object ContainerForm: TContainerTestForm\n"
    L"  object Edit1: TEdit\n"
    L"    Left = 8\n"
    L"    Top = 200\n"
    L"    Width = 90\n"
    L"    Height = 21\n"
    L"  end\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    Categories.Strings = (\n"
    L"      'Default')\n"
    L"    object Place: TdxBarControlContainerItem\n"
    L"      Category = 0\n"
    L"      Control = Edit1\n"
    L"    end\n"
    L"    object Recent: TdxBarMRUListItem\n"
    L"      Category = 0\n"
    L"      MaxItemCount = 2\n"
    L"      RemoveItemOnClick = True\n"
    L"      Items.Strings = (\n"
    L"        'c:\\one.txt'\n"
    L"        'c:\\two.txt'\n"
    L"        'c:\\three.txt')\n"
    L"    end\n"
    L"    object Toolbars: TdxBarToolbarsListItem\n"
    L"      Category = 0\n"
    L"      Caption = 'Toolbars'\n"
    L"    end\n"
    L"    object More: TdxBarInPlaceSubItem\n"
    L"      Category = 0\n"
    L"      Caption = 'More'\n"
    L"      Expanded = True\n"
    L"      KeepBeginGroupWhileExpanded = True\n"
    L"    end\n"
    L"  end\n"
    L"end\n";

}  // namespace

TEST(ContainerFormData, TheKindsRoundTripAndTheHostedControlIsBoundByName)
{
  const String written = ExpectFormRoundTrip<TContainerTestForm>(kForm, [](TContainerTestForm* Form) {
    auto* place = Find<TdxBarControlContainerItem>(Form, L"Place");
    auto* recent = Find<TdxBarMRUListItem>(Form, L"Recent");
    auto* more = Find<TdxBarInPlaceSubItem>(Form, L"More");
    ASSERT_TRUE(place && recent && more && Find<TdxBarToolbarsListItem>(Form, L"Toolbars"));
    EXPECT_EQ(place->GetControl(), Find<TEdit>(Form, L"Edit1"));
    EXPECT_EQ(recent->GetMaxItemCount(), 2);
    EXPECT_TRUE(recent->GetRemoveItemOnClick());
    ASSERT_EQ(recent->GetItems()->Count(), 2) << "the limit holds once the entries are in";
    EXPECT_EQ(recent->GetItems()->Strings(1), L"c:\\two.txt");
    EXPECT_TRUE(more->GetExpanded());
    EXPECT_TRUE(more->GetKeepBeginGroupWhileExpanded());
  });
  EXPECT_NE(written.find(L"Control = Edit1"), String::npos);
}
