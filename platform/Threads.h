// Worker threads on Win32 threads, and the queue through which they hand calls to the
// user-interface (main) thread. The application's message loop runs CheckSynchronize;
// a thread that calls Synchronize wakes that loop through the replaceable wake-up handler.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

#include "platform/SysUtils.h"

// A call made on the main thread on a thread's behalf: a method pointer or any callable.
using TThreadMethod = TEvent<void()>;

// The id of the user-interface thread: the one that started the program.
extern const uint32_t MainThreadID;

// A thread object: derive, override Execute and look at Terminated there. Free a running
// thread with Free(), which terminates it and waits while the object still has its full
// type (a plain delete would run Execute on a half-destroyed object).
class TThread : public TObject {
  DECLARE_CLASS(TThread, TObject)
public:
  // The operating-system thread is made at once, suspended. Created running, it starts
  // after the whole object is built: in AfterConstruction, which TThread::New and
  // metaclass construction call. A plain `new` must be followed by Start().
  explicit TThread(bool CreateSuspended = false);
  ~TThread() override;

  // Builds a thread object and completes its construction (which starts a thread that
  // was not created suspended).
  template <class T, class... A>
  static T* New(A&&... args)
  {
    T* thread = new T(std::forward<A>(args)...);
    thread->AfterConstruction();
    return thread;
  }

  void AfterConstruction() override;
  // Terminates and waits for a running thread while the object still has its full type.
  void BeforeDestruction() override;

  // Starts a thread that has not run yet; raises EThread when it already runs.
  void Start();
  // Starts a thread not yet started, or resumes one stopped by Suspend.
  void Resume();
  void Suspend();
  // Sets Terminated; Execute is expected to look at it and return.
  void Terminate();
  // Waits until Execute has returned and returns ReturnValue. On the main thread the
  // wait keeps sent messages and synchronised calls of every thread flowing.
  uint32_t WaitFor();

  bool Terminated() const { return FTerminated.load(); }
  bool Finished() const { return FFinished.load(); }
  bool Started() const { return FStarted; }
  bool Suspended() const { return FSuspended; }
  bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
  void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }
  uint32_t ReturnValue() const { return FReturnValue; }
  void SetReturnValue(uint32_t Value) { FReturnValue = Value; }
  uint32_t ThreadID() const { return FThreadID; }
  void* Handle() const { return FHandle; }
  // The exception that escaped Execute, if any; the thread catches it and keeps it here.
  std::exception_ptr FatalException() const { return FFatalException; }
  // The message of that exception (empty when there is none).
  String FatalExceptionMessage() const;

  // Runs after Execute, on the main thread through Synchronize.
  TNotifyEvent OnTerminate;

  // Runs Method on the main thread and blocks until it has run; an exception it raises
  // is raised again here. Called on the main thread, Method runs at once.
  void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
  static void Synchronize(TThread* AThread, const TThreadMethod& Method);
  // Hands Method to the main thread without waiting. Called on the main thread, Method
  // runs at once. Calls still queued when their thread object is freed are dropped.
  void Queue(const TThreadMethod& Method) { Queue(this, Method); }
  static void Queue(TThread* AThread, const TThreadMethod& Method);
  static void RemoveQueuedEvents(TThread* AThread);
  static TThread* CurrentThread();

protected:
  virtual void Execute() = 0;
  // Called on the thread after Execute: fires OnTerminate through Synchronize.
  virtual void DoTerminate();

private:
  static unsigned __stdcall ThreadProc(void* Param);
  void CallOnTerminate();
  void WaitUntilFinished();

  void* FHandle = nullptr;
  uint32_t FThreadID = 0;
  bool FCreateSuspended;
  bool FStarted = false;
  bool FSuspended = true;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FFreeOnTerminate{false};
  uint32_t FReturnValue = 0;
  std::exception_ptr FFatalException;
};

// Runs the synchronised and queued calls waiting for the main thread. It first waits up
// to Timeout milliseconds for one to arrive; returns whether any ran. Only the main
// thread may call it (EThread otherwise). An exception raised by a queued call (nobody
// waits for it) goes to HandleUnexpectedException (SysUtils.h), never to the caller.
bool CheckSynchronize(int Timeout = 0);

// The main thread's wake-up handler: called (with the calling thread, or nil) whenever a
// call is put into the queue, so that a loop blocked in GetMessage notices. The default,
// when nil, posts WM_NULL to the main thread's queue. Set it to reach a window of yours.
TNotifyEvent GetWakeMainThread();
void SetWakeMainThread(const TNotifyEvent& Handler);

// A manual-reset event (HANDLE) that is set while calls wait in the queue, for loops
// that wait with MsgWaitForMultipleObjects.
void* SyncEvent();

// ---------------------------------------------------------------------------
// Calls run later on the calling thread

struct TLaterRecord;

// A call handed to RunLater. Whoever asked can withdraw it until it runs, on the thread that
// asked; copies share the call, and an empty one (made by default) is never pending.
class TLaterCall {
public:
  TLaterCall() = default;
  // Queued, and neither run nor withdrawn yet.
  bool Pending() const;
  // Takes the call out of the queue unless it has run: it then never runs, and what its
  // action holds is let go at once.
  void Withdraw();

private:
  friend TLaterCall RunLater(std::function<void()> AAction, unsigned ADelay);
  explicit TLaterCall(std::shared_ptr<TLaterRecord> ARecord) : FRecord(std::move(ARecord)) {}
  std::shared_ptr<TLaterRecord> FRecord;
};

// Runs AAction once, later, from whatever message loop the calling thread is in then (the
// system's own loops of menus, message boxes and drags too: a thread timer drives the
// queue), and not before ADelay milliseconds have passed. Calls run by their due time and,
// for the same time, in the order they were asked for; a call asked for while the queue
// runs waits for a later turn. An action that raises is handed to HandleUnexpectedException
// (the application's exception handler) and the calls after it still run. Every request is
// kept: asking again does not replace an earlier call. An action that reaches an object
// holds it by a weak reference, or is withdrawn when the object goes. Raises EOSError when
// no timer can be had; nothing is queued then. An empty action queues nothing.
TLaterCall RunLater(std::function<void()> AAction, unsigned ADelay = 0);
