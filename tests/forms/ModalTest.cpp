// ShowModal: its own loop ends when ModalResult is set (by a timer or a real click), asks
// OnCloseQuery, disables the other windows for its duration and gives them back.
#include "FormsTestUtil.h"
#include "platform/ExtCtrls.h"

namespace {

class Modal : public testing::Test {
protected:
  void SetUp() override
  {
    form = TCustomForm::CreateNew<TTestForm>(nullptr);
    guard = std::make_unique<TOwned<TTestForm>>(form);
    form->SetBounds(200, 200, 300, 200);
    form->OnCloseQuery = TCloseQueryEvent(form, &TTestForm::FormCloseQuery);
    form->OnClose = TCloseEvent(form, &TTestForm::FormClose);
    timer = new TTimer(form);
    timer->SetInterval(30);
  }
  void TearDown() override
  {
    guard.reset();
    ParkMouse();
  }
  // Runs Action at the timer's first tick and stops it.
  void OnFirstTick(std::function<void()> Action)
  {
    timer->SetOnTimer(TNotifyEvent([this, Action](TObject*) {
      timer->SetEnabled(false);
      Action();
    }));
  }

  TTestForm* form = nullptr;
  std::unique_ptr<TOwned<TTestForm>> guard;
  TTimer* timer = nullptr;
};

TEST_F(Modal, ATimerSettingModalResultEndsTheLoop)
{
  OnFirstTick([this] { form->SetModalResult(mrOk); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->GetVisible());
  EXPECT_FALSE(::IsWindowVisible(form->GetHandle()));
  EXPECT_FALSE(form->GetFormState().Contains(fsModal));
  // Ending asks the form, as closing does.
  EXPECT_EQ(form->Count(L"closequery"), 1);
  EXPECT_EQ(form->Count(L"close"), 1);
}

TEST_F(Modal, ARealClickOnAControlEndsTheLoopWithItsResult)
{
  auto* tile = new TTile(form);
  tile->SetBounds(20, 20, 120, 60);
  tile->SetParent(form);
  tile->OnClick = TNotifyEvent(form, &TTestForm::TileClick);
  form->ResultOnClick = mrYes;
  form->HandleNeeded();
  ClickLater(CenterOf(tile));
  EXPECT_EQ(form->ShowModal(), mrYes);
  EXPECT_EQ(form->Count(L"click "), 1);
}

TEST_F(Modal, OtherWindowsAreDisabledOnlyWhileTheLoopRuns)
{
  TOwned<TTestForm> other(TCustomForm::CreateNew<TTestForm>(nullptr));
  other->SetBounds(40, 40, 150, 100);
  other->Show();
  HWND otherWindow = other->GetHandle();
  bool otherEnabledInside = true, selfEnabledInside = false;
  bool modalInside = false;
  OnFirstTick([&] {
    otherEnabledInside = ::IsWindowEnabled(otherWindow) != 0;
    selfEnabledInside = ::IsWindowEnabled(form->GetHandle()) != 0;
    modalInside = form->GetFormState().Contains(fsModal);
    form->SetModalResult(mrCancel);
  });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_FALSE(otherEnabledInside);
  EXPECT_TRUE(selfEnabledInside);
  EXPECT_TRUE(modalInside);
  EXPECT_TRUE(::IsWindowEnabled(otherWindow));
}

TEST_F(Modal, ARefusedCloseQueryKeepsTheLoopRunning)
{
  form->AllowClose = false;
  int ticks = 0;
  timer->SetOnTimer(TNotifyEvent([&](TObject*) {
    ++ticks;
    if (ticks == 2)
      form->AllowClose = true;  // the first try was refused; this one may close
    form->SetModalResult(mrAbort);
    if (ticks >= 2)
      timer->SetEnabled(false);
  }));
  EXPECT_EQ(form->ShowModal(), mrAbort);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(form->Count(L"closequery"), 2);
  EXPECT_EQ(form->Count(L"close"), 1);
}

TEST_F(Modal, CloseInsideTheLoopCancels)
{
  OnFirstTick([this] { form->Close(); });
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(Modal, CaFreeReleasesTheFormAfterTheLoop)
{
  form->CloseAction = caFree;
  OnFirstTick([this] { form->SetModalResult(mrOk); });
  TWeakRef<TTestForm> alive(form);
  EXPECT_EQ(form->ShowModal(), mrOk);
  // Released, not freed at once: the caller may still read the form.
  EXPECT_TRUE(alive);
  EXPECT_TRUE(PumpUntil([&] { return !alive; }));
}

TEST_F(Modal, AVisibleFormCannotBeShownModal)
{
  form->Show();
  EXPECT_THROW(form->ShowModal(), EInvalidOperation);
  EXPECT_FALSE(form->GetFormState().Contains(fsModal));
}

TEST_F(Modal, TheWindowActiveBeforeIsActiveAgainAfter)
{
  TOwned<TTestForm> other(TCustomForm::CreateNew<TTestForm>(nullptr));
  other->SetBounds(40, 40, 150, 100);
  ASSERT_TRUE(ShowAndActivate(other.Get()));
  bool modalWasActive = false;
  OnFirstTick([&] {
    modalWasActive = ::GetActiveWindow() == form->GetHandle();
    form->SetModalResult(mrOk);
  });
  form->ShowModal();
  EXPECT_TRUE(modalWasActive);
  EXPECT_EQ(::GetActiveWindow(), other->GetHandle());
}

}  // namespace
