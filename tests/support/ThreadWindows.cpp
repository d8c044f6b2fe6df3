#include "support/ThreadWindows.h"

#include <cwchar>

namespace {

struct TFound {
  TWindowFilter Filter;
  std::vector<HWND> Windows;
};

BOOL CALLBACK CollectWindow(HWND AWnd, LPARAM AParam)
{
  auto* found = reinterpret_cast<TFound*>(AParam);
  if (found->Filter.VisibleOnly && !::IsWindowVisible(AWnd))
    return TRUE;
  if (found->Filter.ClassName) {
    wchar_t name[256] = {};
    ::GetClassNameW(AWnd, name, 256);
    if (std::wcscmp(name, found->Filter.ClassName) != 0)
      return TRUE;
  }
  found->Windows.push_back(AWnd);
  return TRUE;
}

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

std::vector<HWND> ThreadWindows(TWindowFilter AFilter, DWORD AThread)
{
  TFound found{AFilter, {}};
  ::EnumThreadWindows(AThread, &CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found.Windows;
}

HWND FirstThreadWindow(TWindowFilter AFilter, DWORD AThread)
{
  const std::vector<HWND> windows = ThreadWindows(AFilter, AThread);
  return windows.empty() ? nullptr : windows.front();
}

int ThreadWindowCount()
{
  return int(ThreadWindows().size());
}

int ThreadWindowTreeCount()
{
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountTree, reinterpret_cast<LPARAM>(&count));
  return count;
}
