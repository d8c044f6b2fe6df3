// The windows of a thread, for checks that nothing is left behind and for finding what a
// thread shows, from it or from a helper thread.
#pragma once

#include <vector>

#include "platform/Win.h"

// Which top-level windows count: those of a window class (any when none is named), only the
// visible ones or all.
struct TWindowFilter {
  const wchar_t* ClassName = nullptr;
  bool VisibleOnly = false;
};

// The top-level windows of AThread (this thread by default) that pass AFilter.
std::vector<HWND> ThreadWindows(TWindowFilter AFilter = {}, DWORD AThread = ::GetCurrentThreadId());
// The first of them; nullptr when there is none.
HWND FirstThreadWindow(TWindowFilter AFilter, DWORD AThread = ::GetCurrentThreadId());
// The top-level windows of this thread, visible or not.
int ThreadWindowCount();
// Those and every child window beneath them.
int ThreadWindowTreeCount();
