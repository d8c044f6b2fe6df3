#include "support/ScreenDpi.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "platform/Win.h"

namespace {

const wchar_t* const DesktopKey = L"Control Panel\\Desktop";
const wchar_t* const DpiValue = L"LogPixels";
// Where the setting before the change is kept while it is changed: a value "Before" holding
// it, or "None" when there was none.
const wchar_t* const KeptKey = L"Software\\dxbarsTests\\ScreenDpi";
const wchar_t* const ReadyVariable = L"DXBARS_TEST_DPI_READY";

bool ReadDword(const wchar_t* AKey, const wchar_t* AValue, DWORD& AResult)
{
  DWORD size = sizeof AResult;
  return RegGetValueW(HKEY_CURRENT_USER, AKey, AValue, RRF_RT_REG_DWORD, nullptr, &AResult, &size) == ERROR_SUCCESS;
}

void WriteDword(const wchar_t* AKey, const wchar_t* AValue, DWORD AData)
{
  RegSetKeyValueW(HKEY_CURRENT_USER, AKey, AValue, REG_DWORD, &AData, sizeof AData);
}

// Puts back the setting kept by a change, when one is kept.
void PutBackKeptSetting()
{
  DWORD before = 0, none = 0;
  const bool kept = ReadDword(KeptKey, L"Before", before);
  const bool wasNone = ReadDword(KeptKey, L"None", none);
  if (!kept && !wasNone)
    return;
  if (kept)
    WriteDword(DesktopKey, DpiValue, before);
  else
    RegDeleteKeyValueW(HKEY_CURRENT_USER, DesktopKey, DpiValue);
  RegDeleteTreeW(HKEY_CURRENT_USER, KeptKey);
}

}  // namespace

int ScreenDotsPerInch()
{
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}

bool IsRunningAtOtherDotsPerInch()
{
  return _wgetenv(ReadyVariable) != nullptr;
}

void SettleScreenDotsPerInch()
{
  const wchar_t* name = _wgetenv(ReadyVariable);
  if (!name) {
    PutBackKeptSetting();
    return;
  }
  ScreenDotsPerInch();  // read now: the setting stays as read for the life of the process
  if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, name)) {
    SetEvent(ready);
    CloseHandle(ready);
  }
}

namespace {

// Starts the copy (with the ready event named in its environment), its output where this
// program writes; false when it could not start.
bool StartCopy(const std::wstring& AEventName, const std::string& AFilter, PROCESS_INFORMATION& AProcess)
{
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring command =
      L"\"" + std::wstring(path) + L"\" --gtest_brief=1 --gtest_filter=" + std::wstring(AFilter.begin(), AFilter.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  fflush(stdout);
  fflush(stderr);
  SetEnvironmentVariableW(ReadyVariable, AEventName.c_str());
  const bool started =
      CreateProcessW(path, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &AProcess);
  SetEnvironmentVariableW(ReadyVariable, nullptr);
  return started;
}

}  // namespace

int RunTestsAtDotsPerInch(int ADotsPerInch, const std::string& AFilter)
{
  PutBackKeptSetting();
  DWORD before = 0;
  if (ReadDword(DesktopKey, DpiValue, before))
    WriteDword(KeptKey, L"Before", before);
  else
    WriteDword(KeptKey, L"None", 1);
  WriteDword(DesktopKey, DpiValue, DWORD(ADotsPerInch));

  const std::wstring name = L"dxbars-test-dpi-" + std::to_wstring(GetCurrentProcessId());
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  PROCESS_INFORMATION process{};
  bool started = false;
  // Wine now and then ends a program before it runs at all: a copy that ended without reading
  // the setting is started once more.
  for (int attempt = 0; attempt < 2 && !started; ++attempt) {
    started = StartCopy(name, AFilter, process);
    if (!started)
      break;
    HANDLE waits[2] = {ready, process.hProcess};
    if (WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0 + 1 &&
        WaitForSingleObject(ready, 0) != WAIT_OBJECT_0 && attempt == 0) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
      started = false;
    }
  }
  PutBackKeptSetting();
  CloseHandle(ready);
  if (!started)
    return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = DWORD(-1);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return int(code);
}
