// The entry point of every test executable: GoogleTest, no Windows error dialog that could
// wait on the virtual display, and a crash ends the process at once with its address
// instead of starting the debugger, which would wait for ever.
#include <windows.h>

#include <cstdio>

#include <gmock/gmock.h>

namespace {

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* Info)
{
  const EXCEPTION_RECORD* record = Info->ExceptionRecord;
  std::fprintf(stderr, "crash: exception %08lx at %p\n", record->ExceptionCode, record->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv)
{
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(ReportCrash);
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
