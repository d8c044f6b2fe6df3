#include "support/ThreadWindows.h"

#include "platform/Win.h"

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM AParam)
{
  ++*reinterpret_cast<int*>(AParam);
  return TRUE;
}

BOOL CALLBACK CountTree(HWND AWnd, LPARAM AParam)
{
  ++*reinterpret_cast<int*>(AParam);
  ::EnumChildWindows(AWnd, &CountWindow, AParam);
  return TRUE;
}

}  // namespace

int ThreadWindowCount()
{
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

int ThreadWindowTreeCount()
{
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountTree, reinterpret_cast<LPARAM>(&count));
  return count;
}
