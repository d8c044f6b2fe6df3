// Worker threads: synchronised and queued calls reaching the main thread, waiting without
// dead-locks, exceptions kept, self-freeing threads and the wake-up of a blocked loop.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "support/Pump.h"
#include "support/UnexpectedExceptions.h"
#include "platform/Controls.h"
#include "platform/Threads.h"

namespace {

// A thread whose Execute is a callable, so each test states its body where it is used.
class TLambdaThread : public TThread {
public:
  explicit TLambdaThread(std::function<void(TLambdaThread&)> Body, bool CreateSuspended = true)
      : TThread(CreateSuspended), FBody(std::move(Body))
  {
  }
  ~TLambdaThread() override
  {
    if (Destroyed)
      *Destroyed = true;
  }
  std::atomic<bool>* Destroyed = nullptr;

protected:
  void Execute() override { FBody(*this); }

private:
  std::function<void(TLambdaThread&)> FBody;
};

}  // namespace

TEST(Thread, WaitForServesSynchronizeOnTheMainThread)
{
  std::vector<DWORD> callThreads;
  DWORD workerId = 0;
  auto* thread = TThread::New<TLambdaThread>(
      [&](TLambdaThread& self) {
        workerId = GetCurrentThreadId();
        for (int i = 0; i < 20; ++i)
          self.Synchronize([&] { callThreads.push_back(GetCurrentThreadId()); });
        self.SetReturnValue(77);
      },
      false);
  EXPECT_EQ(thread->WaitFor(), 77u);
  EXPECT_TRUE(thread->Finished());
  ASSERT_EQ(callThreads.size(), 20u);
  for (DWORD id : callThreads)
    EXPECT_EQ(id, MainThreadID);
  EXPECT_NE(workerId, MainThreadID);
  EXPECT_EQ(thread->ThreadID(), workerId);
  thread->Free();
}

TEST(Thread, WaitForServesSynchronizeOfOtherThreadsToo)
{
  std::atomic<int> calls{0};
  auto body = [&](TLambdaThread& self) {
    for (int i = 0; i < 25; ++i)
      self.Synchronize([&] { ++calls; });
  };
  auto* a = TThread::New<TLambdaThread>(body, false);
  auto* b = TThread::New<TLambdaThread>(body, false);
  a->WaitFor();
  b->WaitFor();
  EXPECT_EQ(calls.load(), 50);
  a->Free();
  b->Free();
}

TEST(Thread, WaitForServesMessagesSentByTheWorker)
{
  // A window of the main thread that a worker sends to: a plain wait would dead-lock.
  static DWORD handlerThread = 0;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpszClassName = L"ThreadTestSink";
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpfnWndProc = [](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (msg == WM_APP) {
      handlerThread = GetCurrentThreadId();
      return LRESULT(wParam * 6);
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
  };
  RegisterClassExW(&wc);
  HWND sink = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(sink, nullptr);
  auto* thread = TThread::New<TLambdaThread>(
      [&](TLambdaThread& self) { self.SetReturnValue(uint32_t(SendMessageW(sink, WM_APP, 7, 0))); }, false);
  EXPECT_EQ(thread->WaitFor(), 42u);
  EXPECT_EQ(handlerThread, MainThreadID);
  thread->Free();
  DestroyWindow(sink);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

TEST(Thread, SynchronizeRaisesTheCallsExceptionInTheWorker)
{
  String seen;
  auto* thread = TThread::New<TLambdaThread>(
      [&](TLambdaThread& self) {
        try {
          self.Synchronize([] { throw EConvertError(L"bad value"); });
        } catch (const EConvertError& e) {
          seen = e.Message();
        }
      },
      false);
  thread->WaitFor();
  EXPECT_EQ(seen, L"bad value");
  EXPECT_FALSE(thread->FatalException());
  thread->Free();
}

TEST(Thread, AnExceptionEscapingExecuteIsKept)
{
  auto* thread = TThread::New<TLambdaThread>([](TLambdaThread&) { throw EListError(L"index 9"); }, false);
  thread->WaitFor();
  ASSERT_TRUE(thread->FatalException());
  EXPECT_EQ(thread->FatalExceptionMessage(), L"index 9");
  EXPECT_THROW(std::rethrow_exception(thread->FatalException()), EListError);
  thread->Free();

  auto* other = TThread::New<TLambdaThread>([](TLambdaThread&) { throw std::runtime_error("plain"); }, false);
  other->WaitFor();
  EXPECT_EQ(other->FatalExceptionMessage(), L"plain");
  other->Free();
}

TEST(Thread, CreatedSuspendedRunsOnlyAfterStart)
{
  std::atomic<int> seen{-1};
  int value = 1;
  auto* thread = new TLambdaThread([&](TLambdaThread&) { seen = value; });
  EXPECT_FALSE(thread->Started());
  EXPECT_TRUE(thread->Suspended());
  // Whatever happens before Start is visible to Execute: it has not run yet.
  value = 2;
  thread->Start();
  EXPECT_THROW(thread->Start(), EThread);
  thread->WaitFor();
  EXPECT_EQ(seen.load(), 2);
  thread->Free();
}

TEST(Thread, FreeingANeverStartedThreadSkipsExecute)
{
  std::atomic<bool> ran{false};
  auto* thread = new TLambdaThread([&](TLambdaThread&) { ran = true; });
  thread->Free();
  EXPECT_FALSE(ran.load());
}

TEST(Thread, FreeingARunningThreadTerminatesAndWaits)
{
  std::atomic<bool> started{false}, left{false};
  auto* thread = TThread::New<TLambdaThread>(
      [&](TLambdaThread& self) {
        started = true;
        while (!self.Terminated())
          Sleep(1);
        left = true;
      },
      false);
  ASSERT_TRUE(PumpUntil([&] { return started.load(); }));
  thread->Free();
  EXPECT_TRUE(left.load());
}

TEST(Thread, OnTerminateRunsOnTheMainThreadAfterExecute)
{
  std::vector<String> log;
  auto* thread = new TLambdaThread([&](TLambdaThread&) { log.push_back(L"execute"); });
  DWORD terminateThread = 0;
  TObject* sender = nullptr;
  thread->OnTerminate = [&](TObject* Sender) {
    terminateThread = GetCurrentThreadId();
    sender = Sender;
    log.push_back(L"terminate");
  };
  thread->Start();
  thread->WaitFor();
  EXPECT_EQ(log, (std::vector<String>{L"execute", L"terminate"}));
  EXPECT_EQ(terminateThread, MainThreadID);
  EXPECT_EQ(sender, thread);
  thread->Free();
}

TEST(Thread, FreeOnTerminateFreesItselfAfterOnTerminate)
{
  std::atomic<bool> destroyed{false};
  bool destroyedAtTerminate = true;
  auto* thread = new TLambdaThread([](TLambdaThread&) {});
  thread->Destroyed = &destroyed;
  thread->SetFreeOnTerminate(true);
  thread->OnTerminate = [&](TObject*) { destroyedAtTerminate = destroyed.load(); };
  EXPECT_THROW(thread->WaitFor(), EThread);  // not started yet
  thread->Start();
  // Waiting for a thread that frees itself would read a freed object.
  ASSERT_TRUE(PumpUntil([&] { return destroyed.load(); }));
  EXPECT_FALSE(destroyedAtTerminate);
}

TEST(Thread, ClearingFreeOnTerminateLetsTheOwnerWait)
{
  // What a menu does to stop its animation: the thread is still inside OnTerminate's
  // synchronised call, so it cannot have freed itself yet.
  std::atomic<bool> destroyed{false};
  auto* thread = new TLambdaThread([](TLambdaThread& self) {
    while (!self.Terminated())
      Sleep(1);
  });
  thread->Destroyed = &destroyed;
  thread->SetFreeOnTerminate(true);
  thread->Start();
  thread->SetFreeOnTerminate(false);
  thread->Terminate();
  thread->WaitFor();
  EXPECT_FALSE(destroyed.load());
  thread->Free();
  EXPECT_TRUE(destroyed.load());
}

TEST(Thread, AThreadCannotWaitForItself)
{
  auto* thread = TThread::New<TLambdaThread>([](TLambdaThread& self) { self.WaitFor(); }, false);
  thread->WaitFor();
  EXPECT_THROW(std::rethrow_exception(thread->FatalException()), EThread);
  thread->Free();
}

TEST(SyncQueue, QueuedCallsRunInOrderWithoutBlockingTheWorker)
{
  std::vector<int> order;
  auto* thread = TThread::New<TLambdaThread>(
      [&](TLambdaThread& self) {
        for (int i = 1; i <= 3; ++i)
          self.Queue([&order, i] { order.push_back(i); });
      },
      false);
  // No pumping: the worker must finish without its calls having run.
  ASSERT_EQ(WaitForSingleObject(thread->Handle(), 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(order.empty());
  EXPECT_TRUE(CheckSynchronize(0));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(CheckSynchronize(0));
  thread->Free();
}

TEST(SyncQueue, QueuedCallsOfAFreedThreadAreDropped)
{
  bool ran = false;
  auto* thread = TThread::New<TLambdaThread>([&](TLambdaThread& self) { self.Queue([&] { ran = true; }); }, false);
  ASSERT_EQ(WaitForSingleObject(thread->Handle(), 5000), WAIT_OBJECT_0);
  thread->Free();
  EXPECT_FALSE(CheckSynchronize(0));
  EXPECT_FALSE(ran);
}

TEST(SyncQueue, AQueuedCallsExceptionGoesToTheUnexpectedExceptionHandler)
{
  TUnexpectedExceptions seen;
  bool nextRan = false;
  auto* thread = TThread::New<TLambdaThread>(
      [&](TLambdaThread& self) {
        self.Queue([] { throw EInvalidOperation(L"queued failure"); });
        self.Queue([&] { nextRan = true; });
      },
      false);
  ASSERT_EQ(WaitForSingleObject(thread->Handle(), 5000), WAIT_OBJECT_0);
  EXPECT_NO_THROW(CheckSynchronize(0));
  ASSERT_EQ(seen.Messages.size(), 1u);
  EXPECT_EQ(seen.Messages[0], L"queued failure");
  EXPECT_EQ(seen.Senders[0], thread);
  EXPECT_TRUE(nextRan);
  thread->Free();
}

TEST(SyncQueue, OnTheMainThreadCallsRunAtOnce)
{
  int calls = 0;
  TThread::Synchronize(nullptr, [&] { ++calls; });
  TThread::Queue(nullptr, [&] { ++calls; });
  EXPECT_EQ(calls, 2);
  EXPECT_THROW(TThread::Synchronize(nullptr, [] { throw EAbort(L""); }), EAbort);
}

TEST(SyncQueue, CheckSynchronizeWaitsForACallUpToItsTimeout)
{
  std::atomic<bool> go{false};
  bool ran = false;
  auto* thread = TThread::New<TLambdaThread>(
      [&](TLambdaThread& self) {
        while (!go)
          Sleep(1);
        self.Synchronize([&] { ran = true; });
      },
      false);
  EXPECT_FALSE(CheckSynchronize(0));
  go = true;
  EXPECT_TRUE(CheckSynchronize(10000));
  EXPECT_TRUE(ran);
  thread->WaitFor();
  thread->Free();
}

TEST(SyncQueue, ALoopBlockedInGetMessageIsWokenByDefault)
{
  ASSERT_FALSE(GetWakeMainThread().Assigned());
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  bool ran = false;
  auto* thread = TThread::New<TLambdaThread>([&](TLambdaThread& self) { self.Queue([&] { ran = true; }); }, false);
  // A timer bounds the wait should the wake-up never come.
  UINT_PTR guard = SetTimer(nullptr, 0, 5000, nullptr);
  ASSERT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
  KillTimer(nullptr, guard);
  EXPECT_NE(msg.message, UINT(WM_TIMER));
  CheckSynchronize(0);
  EXPECT_TRUE(ran);
  WaitForSingleObject(thread->Handle(), 5000);
  thread->Free();
}
