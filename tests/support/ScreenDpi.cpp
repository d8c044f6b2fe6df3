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
  SetEnvironmentVariableW(ReadyVariable, name.c_str());
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring command =
      L"\"" + std::wstring(path) + L"\" --gtest_brief=1 --gtest_filter=" + std::wstring(AFilter.begin(), AFilter.end());
  // The copy writes where this program writes.
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
  PROCESS_INFORMATION process{};
  const bool started =
      CreateProcessW(path, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableW(ReadyVariable, nullptr);
  if (started) {
    HANDLE waits[2] = {ready, process.hProcess};
    WaitForMultipleObjects(2, waits, FALSE, 60000);
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
