// Waiting in tests: pump messages and synchronised calls until a condition holds or a
// time limit passes, never a blind sleep.
#pragma once

#include <functional>

#include "platform/Threads.h"
#include "platform/Win.h"

inline bool PumpUntil(const std::function<bool()>& Condition, DWORD TimeoutMs = 5000)
{
  DWORD start = GetTickCount();
  HANDLE sync = SyncEvent();
  while (!Condition()) {
    if (GetTickCount() - start > TimeoutMs)
      return false;
    MsgWaitForMultipleObjects(1, &sync, FALSE, 10, QS_ALLINPUT);
    CheckSynchronize(0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}
