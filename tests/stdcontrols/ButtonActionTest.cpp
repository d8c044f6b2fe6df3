// Buttons and check boxes linked to actions: they show the action's data, follow its changes
// until given values of their own, run it when clicked, and let go of it when it is freed.
#include "StdControlsTestUtil.h"

#include "platform/ActnList.h"
#include "platform/StdCtrls.h"

namespace {

struct ButtonActionTest : TStdControlsTest {
  TAction* Action = nullptr;
  TButton* Button = nullptr;
  int Executed = 0;
  void SetUp() override
  {
    TStdControlsTest::SetUp();
    Action = new TAction(Form);
    Action->SetCaption(L"&New...");
    Action->SetHint(L"New toolbar");
    Action->SetOnExecute(TNotifyEvent([this](TObject*) { ++Executed; }));
    Button = new TButton(Form);
    Button->SetBounds(20, 20, 90, 25);
    Button->SetParent(Form);
  }
};

}  // namespace

TEST_F(ButtonActionTest, TheButtonShowsAndFollowsItsActionUntilGivenItsOwnValue)
{
  Button->SetAction(Action);
  EXPECT_EQ(Button->GetCaption(), L"&New...");
  EXPECT_EQ(Button->GetHint(), L"New toolbar");
  Action->SetEnabled(false);
  EXPECT_FALSE(Button->GetEnabled());
  Action->SetEnabled(true);
  Button->SetCaption(L"Mine");
  Action->SetCaption(L"&Rename...");
  EXPECT_EQ(Button->GetCaption(), L"Mine") << "a caption of its own stays";
  Action->SetVisible(false);
  EXPECT_FALSE(Button->GetVisible());
}

TEST_F(ButtonActionTest, AClickRunsTheActionUnlessTheButtonHasItsOwnHandler)
{
  Button->SetAction(Action);
  ShowForm();
  ASSERT_TRUE(ClickAt(CenterOf(Button)));
  PumpUntil([this] { return Executed > 0; }, 2000);
  EXPECT_EQ(Executed, 1);
  Button->OnClick = TNotifyEvent(Form, &THostForm::Clicked);
  ASSERT_TRUE(ClickAt(CenterOf(Button)));
  PumpUntil([this] { return !Form->Log.empty(); }, 2000);
  EXPECT_EQ(Executed, 1);
  EXPECT_EQ(Form->Log.size(), 1u);
  Action->SetEnabled(false);
  Button->OnClick = nullptr;
  Button->Click();
  EXPECT_EQ(Executed, 1) << "a disabled action does not run";
}

TEST_F(ButtonActionTest, AFreedActionLeavesTheButtonAsItIs)
{
  Button->SetAction(Action);
  Action->Free();
  EXPECT_EQ(Button->GetAction(), nullptr);
  EXPECT_EQ(Button->GetCaption(), L"&New...");
  Button->Click();  // nothing to run, nothing to crash
}

TEST_F(ButtonActionTest, ACheckBoxTakesTheActionsCheckWithoutRunningIt)
{
  auto* box = new TCheckBox(Form);
  box->SetBounds(20, 60, 120, 17);
  box->SetParent(Form);
  Action->SetChecked(true);
  box->SetAction(Action);
  EXPECT_TRUE(box->GetChecked());
  EXPECT_EQ(Executed, 0) << "copying the state is no click";
  Action->SetChecked(false);
  EXPECT_FALSE(box->GetChecked());
  EXPECT_EQ(Executed, 0);
  ShowForm();
  ASSERT_TRUE(ClickAt(ScreenPoint(box, 6, 8)));
  PumpUntil([this] { return Executed > 0; }, 2000);
  EXPECT_EQ(Executed, 1) << "a user's toggle runs the action";
  EXPECT_TRUE(box->GetChecked());
}
