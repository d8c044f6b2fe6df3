// The small kinds and the window item's rules: where a separator may go, when a text
// change is told, which control a window item gets on a bar that turns its text, and what
// a label's control answers.
#include "EditTestUtil.h"

#include "bars/utils/dxBarStrs.h"

namespace {

class TItemKinds : public TEditFixture {};

}  // namespace

TEST_F(TItemKinds, SeparatorGoesOnlyIntoMenus)
{
  auto* separator = new TdxBarSeparator(Host.Form());
  TdxBarSubMenuControlItemLinks menu(Manager, nullptr);
  struct TRow {
    TdxBarItemLinks* Links;
    bool Placed;
    String Error;
  } rows[] = {
      {Bar1->GetItemLinks(), false, GetResourceString(sdxBarSeparatorCantBePlaced)},
      {&menu, true, L""},
  };
  for (const TRow& row : rows) {
    String error = L"stale";
    EXPECT_EQ(separator->CanBePlacedOn(row.Links, error), row.Placed);
    EXPECT_EQ(error, row.Error);
  }
}

TEST_F(TItemKinds, TextChangeIsToldOnceAndNotWhileLoading)
{
  std::vector<String> seen;
  Edit->OnChange = TNotifyEvent([&](TObject*) { seen.push_back(Edit->GetText()); });
  Edit->SetText(L"a");
  Edit->SetText(L"a");
  EXPECT_EQ(seen, std::vector<String>{L"a"});
  Edit->IncludeState(csLoading);
  Edit->SetText(L"b");
  Edit->ExcludeState(csLoading);
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(Edit->GetText(), L"b");
}

// An edit's own font sets its height on a toolbar; once it shows its caption there, it is at
// least an item high, as in a menu, however small that font.
TEST_F(TItemKinds, AnEditWithItsCaptionShownIsAtLeastAnItemHigh)
{
  Edit->SetCaption(L"Find");
  auto height = [&] {
    auto* control = ControlOn(Bar1, Edit);
    return control ? control->GetHeight() : -1;
  };
  const int plain = height();
  ASSERT_GT(plain, 0);
  TOwned<TcxStyle> style(new TcxStyle(Host.Form()));
  style->GetFont()->SetHeight(-6);
  Edit->SetStyleEdit(style.Get());
  const int small = height();
  EXPECT_LT(small, plain);
  Edit->SetShowCaption(true);
  EXPECT_GE(height(), plain);
  Edit->SetShowCaption(false);
  EXPECT_EQ(height(), small);
}

TEST_F(TItemKinds, WindowItemShowsAsAButtonWhereTextTurns)
{
  Bar2->SetRotateWhenVertical(true);
  Bar2->SetDockingStyle(dsLeft);
  PumpPending();
  ASSERT_TRUE(Bar2->GetControl()->IsTextRotated());
  EXPECT_NE(dynamic_cast<TdxBarButtonControl*>(Edit->GetLink(1)->GetControl()), nullptr);
  EXPECT_NE(ControlOn(Bar1, Edit), nullptr);
}

TEST_F(TItemKinds, LabelControlIsNeverClickedAndSelectableOnlyWhileCustomizing)
{
  auto* label = new TdxBarLabel(Host.Form());
  label->SetCaption(L"Label");
  EXPECT_TRUE(label->GetShowCaption());
  Bar1->GetItemLinks()->AddItem(label);
  PumpPending();
  auto* control = ControlOn<TdxBarCustomStaticControl>(Bar1, label);
  ASSERT_NE(control, nullptr);
  EXPECT_FALSE(control->CanClick());
  EXPECT_FALSE(control->CanSelect());
  EXPECT_EQ(control->GetDefaultViewParts(), ivpCaption);
  Manager->SetIsCustomizing(true);
  // Switching the mode remakes the bar's controls.
  control = ControlOn<TdxBarCustomStaticControl>(Bar1, label);
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(control->CanSelect());
  Manager->SetIsCustomizing(false);
}
