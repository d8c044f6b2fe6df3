// The test programs' own fault handling: a fault raised inside a window procedure that the
// system calls back (here while making the window) must end the program, not be swallowed by
// the system's callback dispatcher while the test runs on over corrupted memory.
#include "FormsTestUtil.h"

namespace {

LRESULT CALLBACK FaultingProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  if (Msg == WM_CREATE) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  return ::DefWindowProcW(Wnd, Msg, WParam, LParam);
}

void FaultInsideACallback()
{
  WNDCLASSW cls{};
  cls.lpfnWndProc = FaultingProc;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = L"TestFaultingWindow";
  ::RegisterClassW(&cls);
  ::CreateWindowW(cls.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, cls.hInstance, nullptr);
  // Reached only when the fault was swallowed.
  std::fprintf(stderr, "the fault was swallowed\n");
  std::exit(0);
}

TEST(FaultHandlerDeathTest, AFaultInsideAWindowProcedureEndsTheProgramNamingTheTest)
{
  EXPECT_EXIT(FaultInsideACallback(), testing::ExitedWithCode(3),
              "access violation.*writing address.*\\s+in test FaultHandlerDeathTest.AFault");
}

}  // namespace
