// The application: exceptions from handlers reach HandleException and not the process, the
// replaceable message box, the message loop (HandleMessage, ProcessMessages, Run),
// activation and the main form.
#include "FormsTestUtil.h"
#include "platform/Threads.h"

namespace {

const wchar_t* const kClickForm =
    L"object ClickForm: TTestForm\n"
    L"  Left = 160\n"
    L"  Top = 160\n"
    L"  ClientWidth = 200\n"
    L"  ClientHeight = 100\n"
    L"  object Tile: TTile\n"
    L"    Left = 20\n"
    L"    Top = 20\n"
    L"    Width = 100\n"
    L"    Height = 50\n"
    L"    OnClick = TileClick\n"
    L"  end\n"
    L"end\n";

class Exceptions : public testing::Test {
protected:
  void TearDown() override { ParkMouse(); }
};

TEST_F(Exceptions, AnExceptionInAClickHandlerReachesHandleException)
{
  TExceptionRecorder errors;
  TOwned<TTestForm> form(FormFromText(kClickForm));
  auto* tile = static_cast<TControl*>(form->FindComponent(L"Tile"));
  form->ThrowOnClick = true;
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  ASSERT_TRUE(ClickAt(CenterOf(tile)));
  ASSERT_TRUE(PumpUntil([&] { return !errors.Messages.empty(); }));
  EXPECT_EQ(errors.Messages, std::vector<std::wstring>{L"The tile refused the click"});
  EXPECT_EQ(errors.Senders, std::vector<TObject*>{tile});
  // The program goes on: the next click is handled as usual.
  form->ThrowOnClick = false;
  ASSERT_TRUE(ClickAt(CenterOf(tile)));
  EXPECT_TRUE(PumpUntil([&] { return form->Count(L"click Tile") == 2; }));
  EXPECT_EQ(errors.Messages.size(), 1u);
}

TEST_F(Exceptions, AbortIsSilent)
{
  TExceptionRecorder errors;
  TMessageBoxRecorder boxes;
  TOwned<TTestForm> form(FormFromText(kClickForm));
  form->AbortOnClick = true;
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  ASSERT_TRUE(ClickAt(CenterOf(static_cast<TControl*>(form->FindComponent(L"Tile")))));
  ASSERT_TRUE(PumpUntil([&] { return form->Count(L"click Tile") == 1; }));
  PumpPending();
  EXPECT_TRUE(errors.Messages.empty());
  EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(Exceptions, WithoutOnExceptionTheMessageIsShownInABox)
{
  TMessageBoxRecorder boxes;
  auto raise = [](auto error) {
    try {
      throw error;
    } catch (...) {
      Application->HandleException(nullptr);
    }
  };
  raise(Exception(L"Boom"));
  raise(Exception(L"Done!"));
  raise(std::runtime_error("plain"));
  ASSERT_EQ(boxes.Calls.size(), 3u);
  EXPECT_EQ(boxes.Calls[0].Text, L"Boom.");
  EXPECT_EQ(boxes.Calls[0].Caption, Application->GetTitle());
  EXPECT_EQ(boxes.Calls[0].Flags, UINT(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(boxes.Calls[1].Text, L"Done!");
  EXPECT_EQ(boxes.Calls[2].Text, L"plain.");
}

TEST_F(Exceptions, AFailingOnExceptionDoesNotEscape)
{
  Application->OnException = TExceptionEvent([](TObject*, Exception*) { throw Exception(L"again"); });
  EXPECT_NO_THROW({
    try {
      throw Exception(L"first");
    } catch (...) {
      Application->HandleException(nullptr);
    }
  });
  Application->OnException = nullptr;
}

// Calls run later from the message loop, each once: by due time and then in the order asked
// for, a failing one reported as a handler's exception is while the next still runs, and a
// withdrawn one never.
TEST_F(Exceptions, CallsRunLaterInTurnAndAFailingOneReachesHandleException)
{
  TExceptionRecorder errors;
  std::vector<int> ran;
  RunLater([&] { ran.push_back(6); }, 50);
  RunLater([&] { ran.push_back(1); });
  RunLater([&] {
    ran.push_back(2);
    throw Exception(L"The later call failed");
  });
  RunLater([&] { ran.push_back(3); });
  TLaterCall withdrawn = RunLater([&] { ran.push_back(4); });
  RunLater([&] { ran.push_back(5); });
  EXPECT_TRUE(ran.empty()) << "nothing runs inside the request";
  EXPECT_TRUE(withdrawn.Pending());
  withdrawn.Withdraw();
  EXPECT_FALSE(withdrawn.Pending());
  ASSERT_TRUE(PumpUntil([&] { return ran.size() >= 5; }));
  PumpPending();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 5, 6}));
  EXPECT_EQ(errors.Messages, std::vector<std::wstring>{L"The later call failed"});
}

// ---------------------------------------------------------------------------

TEST(AppMessageBox, TheCaptionDefaultsToTheTitle)
{
  TMessageBoxRecorder boxes(IDNO);
  EXPECT_EQ(Application->MessageBox(L"Sure?", String(), MB_YESNO), IDNO);
  EXPECT_EQ(Application->MessageBox(L"Sure?", L"Asking", MB_YESNO), IDNO);
  ASSERT_EQ(boxes.Calls.size(), 2u);
  EXPECT_EQ(boxes.Calls[0].Caption, Application->GetTitle());
  EXPECT_EQ(boxes.Calls[1].Caption, L"Asking");
  EXPECT_EQ(boxes.Calls[1].Flags, UINT(MB_YESNO));
}

TEST(AppMessageBox, ShowMessageAndMessageDlgGoThroughTheSameBox)
{
  TMessageBoxRecorder boxes(IDYES);
  ShowMessage(L"Hello");
  EXPECT_EQ(MessageDlg(L"Replace?", mtConfirmation, mbYesNoCancel), mrYes);
  ASSERT_EQ(boxes.Calls.size(), 2u);
  EXPECT_EQ(boxes.Calls[0].Caption, Application->GetTitle());
  EXPECT_EQ(boxes.Calls[0].Flags, UINT(MB_OK));
  EXPECT_EQ(boxes.Calls[1].Caption, L"Confirm");
  EXPECT_EQ(boxes.Calls[1].Flags, UINT(MB_ICONQUESTION | MB_YESNOCANCEL));
}

// ---------------------------------------------------------------------------

TEST(MessageLoop, HandleMessageTakesOneMessageAndProcessMessagesAll)
{
  PumpPending();
  int seen = 0;
  Application->OnMessage = TMessageEvent([&](MSG& Msg, bool& Handled) {
    if (Msg.message == WM_APP + 7) {
      ++seen;
      Handled = true;
    }
  });
  for (int i = 0; i < 3; ++i)
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 7, 0, 0);
  Application->HandleMessage();
  EXPECT_EQ(seen, 1);
  Application->ProcessMessages();
  EXPECT_EQ(seen, 3);
  Application->OnMessage = nullptr;
}

TEST(MessageLoop, AThreadsSynchronizeRunsWhileTheLoopWaits)
{
  class TWorker : public TThread {
  public:
    using TThread::TThread;
    std::atomic<DWORD> RanOn{0};

  protected:
    void Execute() override
    {
      ::Sleep(50);  // let the loop reach its wait
      Synchronize(TThreadMethod([this] { RanOn = ::GetCurrentThreadId(); }));
    }
  };
  PumpPending();
  auto* worker = TThread::New<TWorker>(false);
  // Should the waiting loop not be woken, this timer wakes it, and says so.
  static bool guardFired;
  guardFired = false;
  UINT_PTR guard = ::SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { guardFired = true; });
  while (worker->RanOn == 0 && !guardFired)
    Application->HandleMessage();
  ::KillTimer(nullptr, guard);
  EXPECT_EQ(worker->RanOn.load(), ::GetCurrentThreadId());
  EXPECT_FALSE(guardFired) << "the waiting loop was not woken";
  worker->WaitFor();
  worker->Free();
}

TEST(MessageLoop, ActivationOfTheProgramIsTracked)
{
  bool before = Application->GetActive();
  Application->SetActiveState(true);
  std::vector<std::wstring> log;
  Application->OnActivate = TNotifyEvent([&](TObject*) { log.push_back(L"activate"); });
  Application->OnDeactivate = TNotifyEvent([&](TObject*) { log.push_back(L"deactivate"); });
  ::SendMessageW(Application->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(Application->GetActive());
  ::SendMessageW(Application->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
  ::SendMessageW(Application->GetHandle(), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_TRUE(Application->GetActive());
  EXPECT_EQ(log, (std::vector<std::wstring>{L"deactivate", L"activate"}));
  Application->OnActivate = nullptr;
  Application->OnDeactivate = nullptr;
  Application->SetActiveState(before);
}

TEST(MessageLoop, HintChangesAreAnnouncedOnce)
{
  int hints = 0;
  Application->OnHint = TNotifyEvent([&](TObject*) { ++hints; });
  Application->SetHint(L"Opens a file");
  Application->SetHint(L"Opens a file");
  Application->SetHint(String());
  EXPECT_EQ(hints, 2);
  Application->OnHint = nullptr;
  Application->SetHintPause(-5);
  EXPECT_EQ(Application->GetHintPause(), 0);
}

// ---------------------------------------------------------------------------

// Runs the application and closes its main form from inside Run once its window shows;
// whether it was visible then.
bool RunClosingTheMainForm()
{
  static bool visibleInRun;
  visibleInRun = false;
  ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR Id, DWORD) {
    ::KillTimer(nullptr, Id);
    TCustomForm* main = Application->GetMainForm();
    visibleInRun = main && ::IsWindowVisible(main->GetHandle()) != 0;
    if (main)
      main->Close();
  });
  Application->Run();
  return visibleInRun;
}

TEST(Startup, RunShowsTheMainFormAndEndsWhenItCloses)
{
  ASSERT_EQ(Screen->GetCustomFormCount(), 0) << "a form of an earlier case is still alive";
  TResourceForm* main = nullptr;
  TResourceForm* second = nullptr;
  Application->CreateForm(main);
  Application->CreateForm(second);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Application->GetMainForm(), main);
  EXPECT_EQ(main->Owner(), Application);
  TWeakRef<TResourceForm> secondAlive(second);
  EXPECT_TRUE(RunClosingTheMainForm()) << "the main form showed";
  EXPECT_TRUE(Application->GetTerminated());
  EXPECT_FALSE(Application->GetRunning());
  // A terminated application stays so: the layer is made again for the cases that follow,
  // and the forms the application owned go with it.
  FinalizeForms();
  EXPECT_FALSE(secondAlive);
  EXPECT_EQ(Application, nullptr);
  InitializeForms();
  EXPECT_FALSE(Application->GetTerminated());
  EXPECT_EQ(Application->GetMainForm(), nullptr);
}

// A program whose main form is built in code has a way to make it the main form, and the two
// roads that used to end the program without a window now say what was looked for and what to do.
TEST(Startup, AFormBuiltInCodeRunsAsTheMainFormAndMissingFormsAreNamed)
{
  ASSERT_EQ(Screen->GetCustomFormCount(), 0) << "a form of an earlier case is still alive";
  try {
    Application->Run();
    ADD_FAILURE() << "Run without a main form returned without a word";
  } catch (const EInvalidOperation& e) {
    EXPECT_NE(e.Message().find(L"CreateNewForm"), String::npos) << e.Message();
  }
  TMissingDataForm* missing = nullptr;
  try {
    Application->CreateForm(missing);
    ADD_FAILURE() << "a form class without form data was made from its resource";
  } catch (const EResNotFound& e) {
    EXPECT_NE(e.Message().find(L"TMissingDataForm"), String::npos) << e.Message();
    EXPECT_NE(e.Message().find(L"CreateNew"), String::npos) << e.Message();
  }
  EXPECT_EQ(Application->GetMainForm(), nullptr);

  Application->CreateNewForm(missing);
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(Application->GetMainForm(), missing);
  EXPECT_EQ(missing->Owner(), Application);
  EXPECT_TRUE(RunClosingTheMainForm()) << "the main form showed";
  EXPECT_TRUE(Application->GetTerminated());
  FinalizeForms();
  InitializeForms();
}

}  // namespace
