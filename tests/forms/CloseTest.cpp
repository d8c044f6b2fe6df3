// Closing: OnCloseQuery may refuse, OnClose chooses hide, minimise, free or nothing;
// Release frees later, once the messages waiting have been handled.
#include "FormsTestUtil.h"

namespace {

class Closing : public testing::Test {
protected:
  void SetUp() override
  {
    form = TCustomForm::CreateNew<TTestForm>(nullptr);
    guard = std::make_unique<TOwned<TTestForm>>(form);
    form->SetBounds(150, 150, 260, 180);
    form->OnCloseQuery = TCloseQueryEvent(form, &TTestForm::FormCloseQuery);
    form->OnClose = TCloseEvent(form, &TTestForm::FormClose);
    form->OnHide = TNotifyEvent(form, &TTestForm::FormHide);
    form->Show();
    form->Log.clear();
  }
  void TearDown() override { guard.reset(); }

  TTestForm* form = nullptr;
  std::unique_ptr<TOwned<TTestForm>> guard;
};

TEST_F(Closing, OnCloseQueryAndTheCloseActionDecide)
{
  struct TRow {
    const char* Case;
    bool Allow;
    TCloseAction Action;
    std::vector<std::wstring> Log;
    bool Visible;
  };
  const TRow rows[] = {
      {"hidden by default, after asking", true, caHide, {L"closequery", L"close", L"hide"}, false},
      {"a refusing OnCloseQuery keeps the form and skips OnClose", false, caHide, {L"closequery"}, true},
      {"caNone leaves everything as it was", true, caNone, {L"closequery", L"close"}, true},
  };
  for (const TRow& row : rows) {
    form->Show();
    form->Log.clear();
    form->AllowClose = row.Allow;
    form->CloseAction = row.Action;
    form->Close();
    EXPECT_EQ(form->Log, row.Log) << row.Case;
    EXPECT_EQ(form->GetVisible(), row.Visible) << row.Case;
    EXPECT_EQ(::IsWindowVisible(form->GetHandle()) != 0, row.Visible) << row.Case;
  }
}

TEST_F(Closing, CaFreeFreesTheFormOnlyAfterTheWaitingMessages)
{
  form->CloseAction = caFree;
  TWeakRef<TTestForm> alive(form);
  int forms = Screen->GetCustomFormCount();
  form->Close();
  // Still there for the code that called Close (an event handler of the form, usually).
  ASSERT_TRUE(alive);
  EXPECT_TRUE(PumpUntil([&] { return !alive; }));
  EXPECT_EQ(Screen->GetCustomFormCount(), forms - 1);
}

TEST_F(Closing, CaMinimizeMinimisesTheWindow)
{
  form->CloseAction = caMinimize;
  form->Close();
  EXPECT_EQ(form->GetWindowState(), wsMinimized);
  EXPECT_TRUE(::IsIconic(form->GetHandle()));
  EXPECT_TRUE(form->GetVisible());
}

TEST_F(Closing, TheSystemCloseCommandGoesThroughClose)
{
  HWND window = form->GetHandle();
  ::SendMessageW(window, WM_CLOSE, 0, 0);
  // Hidden as Close decides, not destroyed as the default handling would.
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_EQ(form->Count(L"close"), 1);
  EXPECT_FALSE(form->GetVisible());
}

TEST_F(Closing, ReleasingTwiceFreesOnce)
{
  std::vector<std::wstring> destroyed;
  form->OnDestroy = TNotifyEvent([&](TObject*) { destroyed.push_back(L"destroy"); });
  TWeakRef<TTestForm> alive(form);
  form->Release();
  form->Release();
  EXPECT_TRUE(PumpUntil([&] { return !alive; }));
  PumpPending();
  EXPECT_EQ(destroyed.size(), 1u);
}

TEST_F(Closing, AFormFreedBeforeItsReleaseArrivesIsNotFreedAgain)
{
  int destroyed = 0;
  auto* other = TCustomForm::CreateNew<TTestForm>(nullptr);
  other->OnDestroy = TNotifyEvent([&](TObject*) { ++destroyed; });
  other->Release();
  other->Free();
  // A form made now may sit where the freed one was; the late release must not reach it.
  TOwned<TTestForm> next(TCustomForm::CreateNew<TTestForm>(nullptr));
  next->HandleNeeded();
  PumpPending();
  EXPECT_EQ(destroyed, 1);
  EXPECT_NE(next.Get(), nullptr) << "the pending release freed another form";
}

}  // namespace
