// Push buttons and check boxes under real input: a modal form ended by Enter and Esc through
// its default and cancel buttons, real clicks, accelerators, and the check box's states.
#include "StdControlsTestUtil.h"

#include "platform/StdCtrls.h"

namespace {

struct ButtonTest : TStdControlsTest {
  TEdit* Edit = nullptr;
  TButton* Ok = nullptr;
  TButton* Cancel = nullptr;

  void SetUp() override
  {
    TStdControlsTest::SetUp();
    Edit = new TEdit(Form);
    Edit->SetName(L"Edit1");
    Edit->SetBounds(10, 10, 200, 21);
    Edit->SetParent(Form);
    Ok = MakeButton(L"OkButton", L"&OK", 10);
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Cancel = MakeButton(L"CancelButton", L"Cancel", 100);
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    FocusOnShow(Edit);
  }
  TButton* MakeButton(const wchar_t* Name, const wchar_t* Caption, int Left)
  {
    auto* button = new TButton(Form);
    button->SetName(Name);
    button->SetCaption(Caption);
    button->SetBounds(Left, 60, 75, 25);
    button->SetParent(Form);
    button->OnClick = TNotifyEvent(Form, &THostForm::Clicked);
    return button;
  }
};

}  // namespace

TEST_F(ButtonTest, EnterAndEscEndAModalFormThroughTheDefaultAndCancelButtons)
{
  EXPECT_EQ(ShowModalPressing(Form, VK_RETURN), mrOk);
  EXPECT_EQ(Form->Count(L"click OkButton"), 1);
  EXPECT_FALSE(Form->GetVisible());
  Form->ClearLog();
  EXPECT_EQ(ShowModalPressing(Form, VK_ESCAPE), mrCancel);
  EXPECT_EQ(Form->Count(L"click CancelButton"), 1);
  EXPECT_EQ(Form->Count(L"click OkButton"), 0);
}

TEST_F(ButtonTest, AFocusedButtonTakesEnterInsteadOfTheDefaultOne)
{
  FocusOnShow(Cancel);
  EXPECT_EQ(ShowModalPressing(Form, VK_RETURN), mrCancel);
  EXPECT_EQ(Form->Count(L"click CancelButton"), 1);
  EXPECT_EQ(Form->Count(L"click OkButton"), 0);
  // Only the focused button looks like the default while it has the focus.
  EXPECT_FALSE(Ok->GetActive());
}

TEST_F(ButtonTest, EnterWithoutADefaultButtonLeavesTheModalLoopRunning)
{
  Ok->SetDefault(false);
  EXPECT_EQ(ShowModalPressing(Form, VK_RETURN), mrAbort) << "only the watchdog may end it";
  EXPECT_EQ(Form->Count(L"click OkButton"), 0);
}

TEST_F(ButtonTest, ADisabledDefaultButtonIgnoresEnter)
{
  Ok->SetEnabled(false);
  EXPECT_EQ(ShowModalPressing(Form, VK_RETURN), mrAbort);
  EXPECT_EQ(Form->Count(L"click OkButton"), 0);
}

TEST_F(ButtonTest, AltAndTheAcceleratorPressTheButton)
{
  EXPECT_EQ(ShowModalPressing(Form, 'O', {VK_MENU}), mrOk);
  EXPECT_EQ(Form->Count(L"click OkButton"), 1);
}

TEST_F(ButtonTest, ARealClickClicksOnceAndSetsTheModalResult)
{
  Ok->SetModalResult(mrNone);
  ShowForm();
  ASSERT_TRUE(ClickAt(CenterOf(Ok)));
  PumpUntil([this] { return Form->Count(L"click OkButton") > 0; }, 2000);
  EXPECT_EQ(Form->Count(L"click OkButton"), 1);
  EXPECT_EQ(Form->GetModalResult(), mrNone);
  ASSERT_TRUE(ClickAt(CenterOf(Cancel)));
  PumpUntil([this] { return Form->Count(L"click CancelButton") > 0; }, 2000);
  EXPECT_EQ(Form->GetModalResult(), mrCancel);
  Cancel->SetEnabled(false);
  ASSERT_TRUE(ClickAt(CenterOf(Cancel)));
  PumpFor(100);
  EXPECT_EQ(Form->Count(L"click CancelButton"), 1) << "a disabled button takes no click";
}

TEST_F(ButtonTest, TheDefaultStyleFollowsTheFocus)
{
  ShowForm();
  auto style = [](TButton* b) { return ::GetWindowLongPtrW(b->GetHandle(), GWL_STYLE) & 0xF; };
  EXPECT_EQ(style(Ok), BS_DEFPUSHBUTTON);
  Cancel->SetFocus();
  PumpPending();
  EXPECT_EQ(style(Ok), BS_PUSHBUTTON);
  EXPECT_EQ(style(Cancel), BS_DEFPUSHBUTTON);
  Edit->SetFocus();
  PumpPending();
  EXPECT_EQ(style(Ok), BS_DEFPUSHBUTTON);
  EXPECT_EQ(style(Cancel), BS_PUSHBUTTON);
}

// ---------------------------------------------------------------------------
// Check boxes

namespace {

struct CheckBoxTest : TStdControlsTest {
  TCheckBox* Box = nullptr;
  void SetUp() override
  {
    TStdControlsTest::SetUp();
    Box = new TCheckBox(Form);
    Box->SetName(L"Box");
    Box->SetCaption(L"&Large icons");
    Box->SetBounds(10, 10, 150, 17);
    Box->SetParent(Form);
    Box->OnClick = TNotifyEvent(Form, &THostForm::Clicked);
  }
  UINT WindowCheck() { return UINT(::SendMessageW(Box->GetHandle(), BM_GETCHECK, 0, 0)); }
};

}  // namespace

TEST_F(CheckBoxTest, ClicksAndSpaceToggleAndReportOnce)
{
  ShowForm();
  ASSERT_TRUE(ClickAt(ScreenPoint(Box, 6, 8)));
  PumpUntil([this] { return Box->GetChecked(); }, 2000);
  EXPECT_TRUE(Box->GetChecked());
  EXPECT_EQ(WindowCheck(), UINT(BST_CHECKED));
  EXPECT_EQ(Form->Count(L"click Box"), 1);
  ASSERT_TRUE(PressKey(VK_SPACE));
  PumpUntil([this] { return !Box->GetChecked(); }, 2000);
  EXPECT_EQ(Box->GetState(), cbUnchecked);
  EXPECT_EQ(Form->Count(L"click Box"), 2);
}

TEST_F(CheckBoxTest, AllowGrayedCyclesThroughTheThirdState)
{
  Box->SetAllowGrayed(true);
  ShowForm();
  std::vector<TCheckBoxState> seen;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(ClickAt(ScreenPoint(Box, 6, 8)));
    PumpUntil([&] { return Form->Count(L"click Box") == i + 1; }, 2000);
    seen.push_back(Box->GetState());
  }
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
  Box->SetAllowGrayed(false);
  Box->SetState(cbGrayed);  // code may still set it
  EXPECT_EQ(WindowCheck(), UINT(BST_INDETERMINATE));
  ASSERT_TRUE(ClickAt(ScreenPoint(Box, 6, 8)));
  PumpUntil([this] { return Box->GetState() != cbGrayed; }, 2000);
  EXPECT_EQ(Box->GetState(), cbChecked);
}

TEST_F(CheckBoxTest, SettingTheStateReportsOnlyChangesAndSurvivesANewWindow)
{
  Box->SetChecked(true);
  Box->SetChecked(true);
  EXPECT_EQ(Form->Count(L"click Box"), 1) << "the same value again is no change";
  Box->SetState(TCheckBoxState(7));
  EXPECT_EQ(Box->GetState(), cbChecked) << "a value outside the enumeration is ignored";
  HWND before = Box->GetHandle();
  Box->SetAlignment(taLeftJustify);
  ASSERT_NE(Box->GetHandle(), before);
  EXPECT_EQ(WindowCheck(), UINT(BST_CHECKED));
  EXPECT_NE(::GetWindowLongPtrW(Box->GetHandle(), GWL_STYLE) & BS_LEFTTEXT, 0);
}

TEST_F(CheckBoxTest, TheAcceleratorFocusesAndToggles)
{
  auto* edit = new TEdit(Form);
  edit->SetBounds(10, 40, 100, 21);
  edit->SetParent(Form);
  auto* button = new TButton(Form);
  button->SetBounds(10, 80, 75, 25);
  button->SetParent(Form);
  FocusOnShow(button);
  ShowForm();
  ASSERT_TRUE(PressKey('L', {VK_MENU}));
  PumpUntil([this] { return Box->GetChecked(); }, 2000);
  EXPECT_TRUE(Box->GetChecked());
  EXPECT_TRUE(Box->Focused());
}
