// The manager's update lock when the rebuild it ends raises: the program goes on.
#include "BarTestUtil.h"

#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Scope.h"

namespace {

// A button whose expansion into the bar raises while Raise is set, so that rebuilding a bar
// that shows it fails.
class TRaisingButton : public TdxBarButton {
public:
  using TdxBarButton::TdxBarButton;
  bool GetExpandedItems(std::vector<TdxBarItem*>&, bool&) const override
  {
    if (Raise)
      throw Exception(L"rebuild");
    return false;
  }
  bool Raise = false;
};

using TUpdateLockTest = TBarFixture;

TEST_F(TUpdateLockTest, ARebuildThatRaisesAtTheEndOfTheLockLeavesTheProcessAndTheManagerWorking)
{
  Host.Form()->SetBounds(80, 80, 500, 300);
  Host.Form()->Show();
  TdxBar* bar = Bars()->Add();
  bar->SetDockingStyle(dsTop);
  bar->SetVisible(true);
  auto* button = new TRaisingButton(Host.Form());
  bar->GetItemLinks()->AddItem(button);
  TdxBarControl* control = bar->GetControl();
  ASSERT_NE(control, nullptr);
  button->Raise = true;

  std::vector<String> handled;
  TUnexpectedExceptionHandler previous =
      SetUnexpectedExceptionHandler([&](TObject*) { handled.push_back(CurrentExceptionMessage()); });
  TFinally restore([&] { SetUnexpectedExceptionHandler(previous); });
  // Ended normally, the lock's rebuild raises to the caller.
  String caught;
  try {
    TdxBarManagerUpdate update(Manager);
    control->RebuildBar();
  } catch (const Exception& e) {
    caught = e.Message();
  }
  EXPECT_EQ(caught, L"rebuild");
  EXPECT_TRUE(handled.empty());
  EXPECT_FALSE(Manager->IsUpdateLocked());

  // Left by an error, the lock's failing rebuild goes to the handler and the error goes on.
  caught.clear();
  try {
    TdxBarManagerUpdate update(Manager);
    control->RebuildBar();
    throw EAbort(L"body");
  } catch (const Exception& e) {
    caught = e.Message();
  }
  EXPECT_EQ(caught, L"body");
  ASSERT_EQ(handled.size(), 1u);
  EXPECT_EQ(handled[0], L"rebuild");
  EXPECT_FALSE(Manager->IsUpdateLocked());

  // The bar rebuilds once the item behaves.
  button->Raise = false;
  control->RebuildBar();
  EXPECT_NE(bar->GetItemLinks()->Items(0)->GetControl(), nullptr);
}

}  // namespace
