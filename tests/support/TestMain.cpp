// The entry point of every test executable: GoogleTest, no Windows error dialog that could
// wait on the virtual display, and a crash ends the process at once with its address
// instead of starting the debugger, which would wait for ever.
//
// A fault raised inside a window procedure, hook or other callback entered from the system
// is swallowed by Wine's callback dispatcher, and the program runs on with its memory
// corrupted: a test that frees things from a handler would pass over a use-after-free. A
// vectored handler sees the fault first, wherever it is raised, and ends the process with the
// running test's name.
#include <windows.h>

#include <cstdio>

#include <gmock/gmock.h>

#include "support/ScreenDpi.h"

namespace {

const char* FaultName(DWORD Code)
{
  switch (Code) {
    case EXCEPTION_ACCESS_VIOLATION:
      return "access violation";
    case EXCEPTION_STACK_OVERFLOW:
      return "stack overflow";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
      return "illegal instruction";
    case EXCEPTION_PRIV_INSTRUCTION:
      return "privileged instruction";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return "integer division by zero";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
      return "array bounds exceeded";
    case EXCEPTION_IN_PAGE_ERROR:
      return "in-page error";
    case STATUS_HEAP_CORRUPTION:
      return "heap corruption";
    case 0xC0000409:
      return "stack buffer overrun";
    default:
      return nullptr;
  }
}

[[noreturn]] void EndOnFault(const EXCEPTION_RECORD* Record, const char* Name)
{
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::fprintf(stderr, "crash: %s (exception %08lx) at %p", Name, Record->ExceptionCode, Record->ExceptionAddress);
  if (Record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && Record->NumberParameters >= 2)
    std::fprintf(stderr, ", %s address %p",
                 Record->ExceptionInformation[0] == 8   ? "executing"
                 : Record->ExceptionInformation[0] == 1 ? "writing"
                                                        : "reading",
                 reinterpret_cast<void*>(Record->ExceptionInformation[1]));
  if (test)
    std::fprintf(stderr, "\n  in test %s.%s", test->test_suite_name(), test->name());
  std::fprintf(stderr, "\n");
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  for (;;)
    Sleep(INFINITE);
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* Info)
{
  const EXCEPTION_RECORD* record = Info->ExceptionRecord;
  const char* name = FaultName(record->ExceptionCode);
  EndOnFault(record, name ? name : "unhandled exception");
}

// Goes through the unhandled-exception filters, so that a test program that chained its own
// (to name the case it ran) still reports it.
LONG WINAPI FailOnFault(EXCEPTION_POINTERS* Info)
{
  if (!FaultName(Info->ExceptionRecord->ExceptionCode))
    return EXCEPTION_CONTINUE_SEARCH;
  LPTOP_LEVEL_EXCEPTION_FILTER filter = SetUnhandledExceptionFilter(nullptr);
  SetUnhandledExceptionFilter(filter);
  return (filter ? filter : ReportCrash)(Info);
}

}  // namespace

int main(int argc, char** argv)
{
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(ReportCrash);
  AddVectoredExceptionHandler(1, FailOnFault);
  SettleScreenDotsPerInch();
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
