#include "platform/Threads.h"

#include <process.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>

#include "platform/Controls.h"
#include "platform/Win.h"

extern const uint32_t MainThreadID = GetCurrentThreadId();

IMPLEMENT_CLASS(TThread, TObject)

namespace {

// One call waiting for the main thread. The queue and, for a synchronous call, the thread
// waiting for it share the record; Done and Error are read under the queue's lock.
struct TSyncRecord {
  TThread* Thread = nullptr;
  TThreadMethod Method;
  bool Synchronous = false;
  bool Done = false;
  std::exception_ptr Error;
};

struct TSyncQueue {
  std::mutex Lock;
  std::condition_variable DoneSignal;
  std::deque<std::shared_ptr<TSyncRecord>> Calls;
  TNotifyEvent Wake;
};

TSyncQueue& SyncQueue()
{
  static TSyncQueue queue;
  return queue;
}

HANDLE SyncEventHandle()
{
  static HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return event;
}

thread_local TThread* CurrentThreadObject = nullptr;

bool OnMainThread()
{
  return GetCurrentThreadId() == MainThreadID;
}

// Handles the calls that need no queue: an empty method, and any call made on the main
// thread, which runs at once. False when Method has to go to the main thread.
bool CalledWithoutQueue(const TThreadMethod& method)
{
  if (!method.Assigned())
    return true;
  if (!OnMainThread())
    return false;
  method();
  return true;
}

// Puts a call into the queue, wakes the main thread and returns the call's record.
std::shared_ptr<TSyncRecord> Enqueue(TThread* thread, const TThreadMethod& method, bool synchronous)
{
  auto record = std::make_shared<TSyncRecord>();
  record->Thread = thread;
  record->Method = method;
  record->Synchronous = synchronous;
  TSyncQueue& queue = SyncQueue();
  TNotifyEvent wake;
  {
    std::lock_guard<std::mutex> guard(queue.Lock);
    queue.Calls.push_back(record);
    SetEvent(SyncEventHandle());
    wake = queue.Wake;
  }
  if (wake.Assigned()) {
    try {
      wake(thread);
    } catch (...) {
      // A failing wake-up handler must not lose the call: the event is set anyway.
    }
  } else {
    PostThreadMessageW(MainThreadID, WM_NULL, 0, 0);
  }
  return record;
}

}  // namespace

// ---------------------------------------------------------------------------
// The queue

void TThread::Synchronize(TThread* AThread, const TThreadMethod& Method)
{
  if (CalledWithoutQueue(Method))
    return;
  // The record is shared so that it stays valid for the main thread even if this
  // wait were ever abandoned.
  std::shared_ptr<TSyncRecord> record = Enqueue(AThread, Method, true);
  TSyncQueue& queue = SyncQueue();
  {
    std::unique_lock<std::mutex> guard(queue.Lock);
    queue.DoneSignal.wait(guard, [&] { return record->Done; });
  }
  if (record->Error)
    std::rethrow_exception(record->Error);
}

void TThread::Queue(TThread* AThread, const TThreadMethod& Method)
{
  if (!CalledWithoutQueue(Method))
    Enqueue(AThread, Method, false);
}

void TThread::RemoveQueuedEvents(TThread* AThread)
{
  TSyncQueue& queue = SyncQueue();
  std::lock_guard<std::mutex> guard(queue.Lock);
  std::erase_if(queue.Calls, [&](const auto& r) { return !r->Synchronous && r->Thread == AThread; });
  if (queue.Calls.empty())
    ResetEvent(SyncEventHandle());
}

bool CheckSynchronize(int Timeout)
{
  if (!OnMainThread())
    throw EThread(L"CheckSynchronize called from thread " + IntToStr(GetCurrentThreadId()) +
                  L", which is not the main thread");
  HANDLE event = SyncEventHandle();
  if (WaitForSingleObject(event, Timeout < 0 ? INFINITE : DWORD(Timeout)) != WAIT_OBJECT_0)
    return false;

  TSyncQueue& queue = SyncQueue();
  size_t pending;
  {
    std::lock_guard<std::mutex> guard(queue.Lock);
    pending = queue.Calls.size();
    if (pending == 0)
      ResetEvent(event);  // never leave a set event behind: waiting loops would spin
  }
  // One call at a time, so that a call freeing a thread drops that thread's later
  // queued calls before they run; only the calls present now, so a flood cannot
  // keep the main thread here.
  bool ran = false;
  for (; pending > 0; --pending) {
    std::shared_ptr<TSyncRecord> record;
    {
      std::lock_guard<std::mutex> guard(queue.Lock);
      if (queue.Calls.empty())
        break;
      record = queue.Calls.front();
      queue.Calls.pop_front();
      if (queue.Calls.empty())
        ResetEvent(event);
    }
    ran = true;
    if (record->Synchronous) {
      try {
        record->Method();
      } catch (...) {
        record->Error = std::current_exception();
      }
      {
        std::lock_guard<std::mutex> guard(queue.Lock);
        record->Done = true;
      }
      queue.DoneSignal.notify_all();
    } else {
      try {
        record->Method();
      } catch (...) {
        HandleUnexpectedException(record->Thread);
      }
    }
  }
  return ran;
}

TNotifyEvent GetWakeMainThread()
{
  std::lock_guard<std::mutex> guard(SyncQueue().Lock);
  return SyncQueue().Wake;
}

void SetWakeMainThread(const TNotifyEvent& Handler)
{
  std::lock_guard<std::mutex> guard(SyncQueue().Lock);
  SyncQueue().Wake = Handler;
}

void* SyncEvent()
{
  return SyncEventHandle();
}

// ---------------------------------------------------------------------------
// TThread

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended)
{
  unsigned id = 0;
  uintptr_t handle = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id);
  if (handle == 0)
    throw EThread(L"Thread creation error: " + FromUtf8(std::strerror(errno)));
  FHandle = reinterpret_cast<void*>(handle);
  FThreadID = id;
}

TThread::~TThread()
{
  WaitUntilFinished();
  RemoveQueuedEvents(this);
  if (FHandle)
    CloseHandle(FHandle);
}

void TThread::AfterConstruction()
{
  if (!FCreateSuspended && !FStarted)
    Start();
}

void TThread::BeforeDestruction()
{
  WaitUntilFinished();
}

void TThread::WaitUntilFinished()
{
  // A thread that frees itself is already past Execute; never wait for oneself.
  if (!FHandle || FFinished || GetCurrentThreadId() == FThreadID)
    return;
  FFreeOnTerminate = false;
  Terminate();
  // A thread that never ran is started so that it leaves cleanly; it skips Execute.
  if (!FStarted)
    Start();
  else if (FSuspended)
    Resume();
  try {
    WaitFor();
  } catch (...) {
    HandleUnexpectedException(this);
  }
}

void TThread::Start()
{
  if (FStarted)
    throw EThread(L"Cannot call Start on a running or suspended thread");
  FStarted = true;
  FSuspended = false;
  ResumeThread(FHandle);
}

void TThread::Resume()
{
  if (!FStarted) {
    Start();
    return;
  }
  if (FSuspended) {
    FSuspended = false;
    ResumeThread(FHandle);
  }
}

void TThread::Suspend()
{
  if (!FStarted || FFinished || FSuspended)
    return;
  FSuspended = true;
  SuspendThread(FHandle);
}

void TThread::Terminate()
{
  FTerminated = true;
}

uint32_t TThread::WaitFor()
{
  if (GetCurrentThreadId() == FThreadID)
    throw EThread(L"A thread cannot wait for itself");
  if (!FStarted || FSuspended)
    throw EThread(L"Cannot wait for a thread that is not running");
  if (FFreeOnTerminate && !FFinished)
    throw EThread(L"Cannot wait for a thread that frees itself when it terminates");
  if (OnMainThread()) {
    // Sent messages (a worker's SendMessage to one of our windows) and synchronised
    // calls are served while waiting; either would dead-lock a plain wait.
    HANDLE handles[2] = {FHandle, SyncEventHandle()};
    // Messages sent before the wait began do not wake it: serve them first.
    MSG pending;
    PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE);
    for (;;) {
      DWORD result = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
      if (result == WAIT_OBJECT_0)
        break;
      if (result == WAIT_OBJECT_0 + 1) {
        CheckSynchronize(0);
      } else if (result == WAIT_OBJECT_0 + 2) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
      } else {
        throw EThread(L"Waiting for a thread failed (error " + IntToStr(GetLastError()) + L")");
      }
    }
  } else {
    WaitForSingleObject(FHandle, INFINITE);
  }
  return FReturnValue;
}

String TThread::FatalExceptionMessage() const
{
  if (!FFatalException)
    return String();
  try {
    std::rethrow_exception(FFatalException);
  } catch (...) {
    return CurrentExceptionMessage();
  }
}

TThread* TThread::CurrentThread()
{
  return CurrentThreadObject;
}

void TThread::DoTerminate()
{
  if (OnTerminate.Assigned())
    Synchronize(TThreadMethod(this, &TThread::CallOnTerminate));
}

void TThread::CallOnTerminate()
{
  CallEvent(OnTerminate, this);
}

unsigned __stdcall TThread::ThreadProc(void* Param)
{
  auto* thread = static_cast<TThread*>(Param);
  CurrentThreadObject = thread;
  try {
    if (!thread->Terminated())
      thread->Execute();
  } catch (...) {
    thread->FFatalException = std::current_exception();
  }
  try {
    thread->DoTerminate();
  } catch (...) {
    if (!thread->FFatalException)
      thread->FFatalException = std::current_exception();
  }
  // Read after DoTerminate: the main thread may still clear the flag to wait for us.
  bool freeThread = thread->FFreeOnTerminate;
  uint32_t result = thread->FReturnValue;
  thread->FFinished = true;
  if (freeThread)
    thread->Free();  // on this thread, so it does not wait for itself
  CurrentThreadObject = nullptr;
  return result;
}
