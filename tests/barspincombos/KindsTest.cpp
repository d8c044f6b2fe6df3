// The three kinds as the library knows them: registered with their controls in the extra
// kinds' order, shown by the Customize dialog, and made with their starting glyphs.
#include "ExtrasTestUtil.h"
#include "bars/model/registry.h"

namespace {

TEST(ExtraKinds, TreeImageAndSpinAreRegisteredInTableOrderWithTheirControls)
{
  TdxBarItemList* list = RegisteredBarItems();
  ASSERT_NE(list, nullptr);
  const int tree = list->IndexOfItemClass(TdxBarTreeViewCombo::StaticClass());
  const int image = list->IndexOfItemClass(TdxBarImageCombo::StaticClass());
  const int spin = list->IndexOfItemClass(TdxBarSpinEdit::StaticClass());
  ASSERT_GE(tree, 0);
  EXPECT_LT(tree, image);
  EXPECT_LT(image, spin);
  EXPECT_EQ(GetRegisteredControlClass(TdxBarTreeViewCombo::StaticClass()), TdxBarTreeViewComboControl::StaticClass());
  EXPECT_EQ(GetRegisteredControlClass(TdxBarImageCombo::StaticClass()), TdxBarImageComboControl::StaticClass());
  EXPECT_EQ(GetRegisteredControlClass(TdxBarSpinEdit::StaticClass()), TdxBarSpinEditControl::StaticClass());
  for (int index : {tree, image, spin})
    EXPECT_TRUE(list->GetRecord(index)->ShownInCustomizing);
}

TEST(ExtraKinds, TheCombosStartWithTheirGlyphsAndTheSpinEditWithNone)
{
  TOwned<TComponent> owner(new TComponent(nullptr));
  auto* tree = new TdxBarTreeViewCombo(owner.Get());
  auto* image = new TdxBarImageCombo(owner.Get());
  auto* spin = new TdxBarSpinEdit(owner.Get());
  for (TdxBarItem* item : {static_cast<TdxBarItem*>(tree), static_cast<TdxBarItem*>(image)}) {
    EXPECT_EQ(item->GetGlyph()->GetWidth(), 16);
    EXPECT_EQ(item->GetGlyph()->GetHeight(), 16);
  }
  EXPECT_TRUE(spin->GetGlyph()->Empty());
}

}  // namespace
