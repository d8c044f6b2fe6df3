// The queue of calls run later on their own thread: one thread timer, armed for the call due
// first, runs whatever is due when it fires.
#include "platform/Threads.h"

#include <algorithm>
#include <vector>

#include "platform/Win.h"

struct TLaterRecord {
  std::function<void()> Action;
  uint64_t Due = 0;
  uint64_t Order = 0;
  bool Queued = false;
};

namespace {

struct TLaterQueue {
  std::vector<std::shared_ptr<TLaterRecord>> Calls;  // by due time, then by order
  UINT_PTR Timer = 0;
  uint64_t NextOrder = 0;
};

// Thread timers fire only on the thread that set them: each thread has its own queue.
TLaterQueue& LaterQueue()
{
  thread_local TLaterQueue queue;
  return queue;
}

void CALLBACK LaterTimerProc(HWND, UINT, UINT_PTR ATimer, DWORD);

// Sets the timer for the first call, or none when the queue is empty.
void Arm(TLaterQueue& AQueue)
{
  if (AQueue.Timer) {
    ::KillTimer(nullptr, AQueue.Timer);
    AQueue.Timer = 0;
  }
  if (AQueue.Calls.empty())
    return;
  const uint64_t now = ::GetTickCount64();
  const uint64_t due = AQueue.Calls.front()->Due;
  const UINT wait = due > now ? UINT(std::min<uint64_t>(due - now, USER_TIMER_MAXIMUM)) : 0;
  AQueue.Timer = ::SetTimer(nullptr, 0, wait, &LaterTimerProc);
}

void Unqueue(TLaterRecord& ARecord)
{
  ARecord.Queued = false;
  ARecord.Action = nullptr;
}

void CALLBACK LaterTimerProc(HWND, UINT, UINT_PTR ATimer, DWORD)
{
  TLaterQueue& queue = LaterQueue();
  ::KillTimer(nullptr, ATimer);
  if (ATimer == queue.Timer)
    queue.Timer = 0;
  const uint64_t limit = queue.NextOrder;
  while (!queue.Calls.empty()) {
    std::shared_ptr<TLaterRecord> call = queue.Calls.front();
    if (call->Due > ::GetTickCount64() || call->Order >= limit)
      break;
    queue.Calls.erase(queue.Calls.begin());
    std::function<void()> action = std::move(call->Action);
    Unqueue(*call);
    // The rest still run should this action enter a message loop of its own.
    Arm(queue);
    try {
      action();
    } catch (...) {
      HandleUnexpectedException();
    }
  }
  Arm(queue);
}

}  // namespace

bool TLaterCall::Pending() const
{
  return FRecord && FRecord->Queued;
}

void TLaterCall::Withdraw()
{
  if (!Pending())
    return;
  TLaterQueue& queue = LaterQueue();
  std::erase(queue.Calls, FRecord);
  Unqueue(*FRecord);
  if (queue.Calls.empty() && queue.Timer)
    Arm(queue);
}

TLaterCall RunLater(std::function<void()> AAction, unsigned ADelay)
{
  if (!AAction)
    return TLaterCall();
  TLaterQueue& queue = LaterQueue();
  auto record = std::make_shared<TLaterRecord>();
  record->Action = std::move(AAction);
  record->Due = ::GetTickCount64() + ADelay;
  record->Order = queue.NextOrder++;
  record->Queued = true;
  auto at = std::upper_bound(queue.Calls.begin(), queue.Calls.end(), record->Due,
                             [](uint64_t ADue, const auto& ACall) { return ADue < ACall->Due; });
  const bool first = at == queue.Calls.begin();
  queue.Calls.insert(at, record);
  if (first || !queue.Timer) {
    Arm(queue);
    if (!queue.Timer) {
      const DWORD error = ::GetLastError();
      std::erase(queue.Calls, record);
      Unqueue(*record);
      RaiseLastOSError(error);
    }
  }
  return TLaterCall(record);
}
