// The entry point of every test executable: GoogleTest with failures that do not stop
// the run, and no Windows error dialog that could wait on the virtual display.
#include <windows.h>

#include <gmock/gmock.h>

int main(int argc, char** argv)
{
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
