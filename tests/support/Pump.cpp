#include "platform/Win.h"

#include "support/Pump.h"

#include "platform/Controls.h"
#include "platform/Threads.h"

void DispatchOne(MSG& Msg)
{
  if (IsControlKeyMessage(Msg))
    return;
  ::TranslateMessage(&Msg);
  ::DispatchMessageW(&Msg);
}

void PumpPending()
{
  // A bounded number of rounds: a window that posts to itself forever must not hang a test.
  for (int round = 0; round < 10000; ++round) {
    CheckSynchronize(0);
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      return;
    DispatchOne(msg);
  }
}

bool PumpUntil(const std::function<bool()>& Condition, int TimeoutMs)
{
  DWORD start = ::GetTickCount();
  HANDLE sync = static_cast<HANDLE>(SyncEvent());
  for (;;) {
    PumpPending();
    if (Condition())
      return true;
    DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= DWORD(TimeoutMs))
      return false;
    // Wakes on any message or synchronised call; the short cap also re-checks
    // conditions that change without a message (another thread's state).
    DWORD wait = std::min<DWORD>(DWORD(TimeoutMs) - elapsed, 20);
    ::MsgWaitForMultipleObjectsEx(sync ? 1 : 0, sync ? &sync : nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void PumpFor(int Ms)
{
  PumpUntil([] { return false; }, Ms);
}
