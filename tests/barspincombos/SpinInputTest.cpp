// The spin edit with the real pointer and keys: held buttons repeat and pause off the
// button, steps stop at the limits, keys, characters and the wheel, typed values, and the
// same in a menu.
#include "ExtrasTestUtil.h"

namespace {

using TSpinInput = TSpinFixture;

String EditorText(TdxBarSpinEditControl* AControl)
{
  return AControl->GetText();
}

TEST_F(TSpinInput, HoldingUpStepsAtOnceRepeatsAndStopsOnRelease)
{
  TdxBarSpinEditControl* control = ToolbarControl();
  ASSERT_TRUE(PressOn(control, dxBarSpinEditPartUp));
  EXPECT_EQ(Clicks.Count(), 1) << "one step at the press";
  EXPECT_TRUE(control->GetFocused()) << "the press starts editing";
  EXPECT_EQ(control->GetPressedPart(), dxBarSpinEditPartUp);
  EXPECT_EQ(EditorText(control), L"1");
  EXPECT_EQ(Spin->GetText(), L"0") << "steps go to the editor until editing ends";
  ASSERT_TRUE(PumpUntil([&] { return Clicks.Count() >= 4; })) << "the held button repeats";
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_FALSE(control->IsRepeating());
  EXPECT_EQ(control->GetPressedPart(), -1);
  const int steps = Clicks.Count();
  PumpFor(400);
  EXPECT_EQ(Clicks.Count(), steps) << "no step after the release";
  EXPECT_EQ(EditorText(control), std::to_wstring(steps));
  for (TdxBarSpinEditButton button : Clicks.Buttons)
    EXPECT_EQ(button, sbUp);
  Key(VK_RETURN);
  EXPECT_EQ(Spin->GetValue(), (long double)steps) << "Enter keeps the stepped number";
}

TEST_F(TSpinInput, OffTheButtonTheRepeatPausesAndGoesOnWhenBack)
{
  TdxBarSpinEditControl* control = ToolbarControl();
  ASSERT_TRUE(PressOn(control, dxBarSpinEditPartDown));
  ASSERT_TRUE(MoveMouseTo(PartCenter(control, dxBarEditPartText)));
  EXPECT_TRUE(control->IsRepeating());
  EXPECT_EQ(control->GetPressedPart(), dxBarEditPartText);
  const int paused = Clicks.Count();
  PumpFor(800);
  EXPECT_EQ(Clicks.Count(), paused) << "no step while off the button";
  ASSERT_TRUE(MoveMouseTo(PartCenter(control, dxBarSpinEditPartDown)));
  EXPECT_TRUE(PumpUntil([&] { return Clicks.Count() > paused + 1; }));
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_EQ(EditorText(control), L"-" + std::to_wstring(Clicks.Count())) << "no limits: below zero";
}

TEST_F(TSpinInput, AHeldButtonStopsAtTheLimitAndTheIncrement)
{
  Spin->SetMaxValue(7);
  Spin->SetIncrement(2);
  TdxBarSpinEditControl* control = ToolbarControl();
  ASSERT_TRUE(PressOn(control, dxBarSpinEditPartUp));
  EXPECT_EQ(EditorText(control), L"2");
  ASSERT_TRUE(PumpUntil([&] { return EditorText(control) == L"7"; }));
  const int atLimit = Clicks.Count();
  ASSERT_TRUE(PumpUntil([&] { return Clicks.Count() >= atLimit + 3; }));
  EXPECT_EQ(EditorText(control), L"7") << "held on, it stays at the maximum";
  ASSERT_TRUE(MouseButtonUp());
  // A press while editing goes through the bar to the editor and steps down by 2.
  ASSERT_TRUE(ClickOn(control, dxBarSpinEditPartDown));
  EXPECT_EQ(EditorText(control), L"5");
  Key(VK_RETURN);
  EXPECT_EQ(Spin->GetValue(), 5.0L);
}

TEST_F(TSpinInput, KeysStepCharactersAreFilteredAndTheWheelSteps)
{
  Spin->SetMinValue(-10);
  Spin->SetMaxValue(10);
  TdxBarSpinEditControl* control = ToolbarControl();
  ASSERT_TRUE(ClickOn(control, dxBarEditPartText));
  ASSERT_TRUE(PumpUntil([&] { return control->GetFocused() && ::GetFocus() == control->GetHandle(); }));
  Key(VK_UP);
  Key(VK_UP);
  Key(VK_DOWN);
  EXPECT_EQ(EditorText(control), L"1");
  EXPECT_EQ(control->GetPressedPart(), -1) << "the key's release lets the button go";
  // Select all and type: letters and a point are swallowed, a minus is taken (MinValue < 0).
  ::SendMessageW(control->GetHandle(), EM_SETSEL, 0, -1);
  ASSERT_TRUE(TypeText(L"-x4.y"));
  PumpPending();
  EXPECT_EQ(EditorText(control), L"-4");
  ::SendMessageW(control->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(EditorText(control), L"-3");
  ::SendMessageW(control->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
  ::SendMessageW(control->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
  EXPECT_EQ(EditorText(control), L"-5");
  EXPECT_EQ(Clicks.Count(), 6);
  Key(VK_RETURN);
  EXPECT_EQ(Spin->GetValue(), -5.0L);
}

TEST_F(TSpinInput, TypedNumbersAreLimitedAndOtherTextsLoseNothing)
{
  Spin->SetMaxValue(10);
  Spin->SetValue(4);
  TdxBarSpinEditControl* control = ToolbarControl();
  ASSERT_TRUE(ClickOn(control, dxBarEditPartText));
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == control->GetHandle(); }));
  ::SendMessageW(control->GetHandle(), EM_SETSEL, 0, -1);
  ASSERT_TRUE(TypeText(L"-99"));
  PumpPending();
  EXPECT_EQ(EditorText(control), L"99") << "no minus without negative numbers";
  Key(VK_RETURN);
  EXPECT_EQ(Spin->GetText(), L"10");
  // A pasted text that is no number leaves the stored number as it was.
  ASSERT_TRUE(ClickOn(control, dxBarEditPartText));
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == control->GetHandle(); }));
  ::SetWindowTextW(control->GetHandle(), L"twelve");
  Key(VK_RETURN);
  EXPECT_EQ(Spin->GetText(), L"10");

  // Without limits negative numbers are typed as any others.
  Spin->SetMaxValue(0);
  Spin->SetMinValue(0);
  ASSERT_TRUE(ClickOn(control, dxBarEditPartText));
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == control->GetHandle(); }));
  ::SendMessageW(control->GetHandle(), EM_SETSEL, 0, -1);
  ASSERT_TRUE(TypeText(L"-7"));
  PumpPending();
  EXPECT_EQ(EditorText(control), L"-7");
  Key(VK_RETURN);
  EXPECT_EQ(Spin->GetValue(), -7.0L);
}

TEST_F(TSpinInput, AReadOnlySpinEditIgnoresButtonsKeysAndWheel)
{
  Spin->SetReadOnly(true);
  TdxBarSpinEditControl* control = ToolbarControl();
  ASSERT_TRUE(ClickOn(control, dxBarSpinEditPartUp));
  ASSERT_TRUE(ClickOn(control, dxBarEditPartText));
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == control->GetHandle(); }));
  Key(VK_UP);
  ::SendMessageW(control->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(Clicks.Count(), 0);
  EXPECT_EQ(EditorText(control), L"0");
}

TEST_F(TSpinInput, InAMenuTheButtonsStepAndRepeatToo)
{
  ASSERT_TRUE(OpenMenu());
  TdxBarSpinEditControl* control = MenuControl();
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(PressOn(control, dxBarSpinEditPartUp));
  EXPECT_EQ(Clicks.Count(), 1);
  ASSERT_TRUE(PumpUntil([&] { return Clicks.Count() >= 3; }));
  ASSERT_TRUE(MouseButtonUp());
  const int steps = Clicks.Count();
  EXPECT_EQ(EditorText(control), std::to_wstring(steps));
  Key(VK_RETURN);
  EXPECT_EQ(Spin->GetValue(), (long double)steps);
}

}  // namespace

namespace {

TEST_F(TSpinInput, AHandlerThatFreesTheItemWhileItsButtonIsHeldEndsTheRepeat)
{
  TWeakRef<TdxBarSpinEdit> spin(Spin);
  Spin->OnButtonClick = TdxBarSpinEditButtonClickEvent([&](TObject*, TdxBarSpinEditButton AButton) {
    Clicks.Buttons.push_back(AButton);
    if (Clicks.Count() == 3)
      Spin->Free();
  });
  ASSERT_TRUE(PressOn(ToolbarControl(), dxBarSpinEditPartUp));
  ASSERT_TRUE(PumpUntil([&] { return !spin; })) << "freed by its third step";
  PumpFor(300);
  EXPECT_EQ(Clicks.Count(), 3) << "no step after the item went";
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_EQ(::GetCapture(), nullptr);
}

}  // namespace
