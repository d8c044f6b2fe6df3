// The replay log, the failure report and the watch over the user-interface thread.
#include "RandomTestUtil.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

namespace {

// The last events, kept in fixed buffers so that a crash handler can write them as they are.
constexpr int kKeptLines = 48;
constexpr int kLineLength = 200;
char KeptLines[kKeptLines][kLineLength];
std::atomic<int> KeptCount{0};
char ReplayFlags[512];
std::atomic<int> CurrentRound{-1};
std::atomic<int> CurrentRoundFirst{0};
int RoundEvents = 1;
const char* CurrentLook = "";
FILE* LogFile = nullptr;
std::atomic<const char*> Stage{nullptr};
std::atomic<ULONGLONG> StageEnd{0};
std::atomic<bool> Crashed{false};
// The class of the window the last pointer input went to, named in a crash report (the window
// itself may be gone by then).
HWND LastPointed = nullptr;
wchar_t LastPointedClass[64];
LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = nullptr;

void WriteText(const char* AText)
{
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), AText, DWORD(std::strlen(AText)), &written, nullptr);
}

void KeepLine(const char* AText)
{
  const int slot = KeptCount.fetch_add(1) % kKeptLines;
  std::snprintf(KeptLines[slot], kLineLength, "%s", AText);
}

// The return addresses of a thread from its context, innermost first, for addr2line
// (scripts/random turns them into files and lines). Writes with little stack.
void WriteFrames(const char* AWhere, CONTEXT& AContext)
{
  static char text[64];
  WriteText(AWhere);
  if (!AContext.Rip && AContext.Rsp) {
    // A call through a null pointer: the caller's return address is on the top of the stack.
    AContext.Rip = *reinterpret_cast<DWORD64*>(AContext.Rsp);
    AContext.Rsp += 8;
  }
  for (int frame = 0; frame < 40 && AContext.Rip; ++frame) {
    std::snprintf(text, sizeof text, " %p", reinterpret_cast<void*>(AContext.Rip));
    WriteText(text);
    DWORD64 base = 0;
    PRUNTIME_FUNCTION function = ::RtlLookupFunctionEntry(AContext.Rip, &base, nullptr);
    if (!function) {
      // A leaf function: the return address is on the top of the stack.
      AContext.Rip = *reinterpret_cast<DWORD64*>(AContext.Rsp);
      AContext.Rsp += 8;
      continue;
    }
    void* handlerData = nullptr;
    DWORD64 establisher = 0;
    ::RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, AContext.Rip, function, &AContext, &handlerData, &establisher, nullptr);
  }
  WriteText("\n");
}

// Names the seed and the last events before the test support's handler ends the program.
LONG WINAPI ReportCrashWithEvents(EXCEPTION_POINTERS* AInfo)
{
  // Little stack is left after an overflow: the texts are made in static buffers.
  Crashed = true;
  static char what[96];
  std::snprintf(what, sizeof what, "the program crashed (exception %08lx at %p)", AInfo->ExceptionRecord->ExceptionCode,
                AInfo->ExceptionRecord->ExceptionAddress);
  WriteFailureReport(what);
  static char where[160];
  std::snprintf(where, sizeof where, "  the last pointer input went to a window of class %ls%s\n", LastPointedClass,
                ::IsWindow(LastPointed) ? "" : ", which is gone");
  WriteText(where);
  static CONTEXT context;
  context = *AInfo->ContextRecord;
  WriteFrames("  the crashing thread stands at:", context);
  return PreviousFilter ? PreviousFilter(AInfo) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void EndProgram(const char* AWhat)
{
  // After a crash the test support's handler ends the program, unless the crash took the
  // thread with it: the report above says what happened.
  if (Crashed)
    WriteText("random input: the user-interface thread died of the crash above\n");
  else
    WriteFailureReport(AWhat);
  std::fflush(stdout);
  if (LogFile)
    std::fflush(LogFile);
  ::TerminateProcess(::GetCurrentProcess(), 4);
  for (;;)
    ::Sleep(INFINITE);
}

// Where a hung thread stands.
void WriteStack(DWORD AThread)
{
  HANDLE thread = ::OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_QUERY_INFORMATION, FALSE, AThread);
  if (!thread)
    return;
  CONTEXT context{};
  context.ContextFlags = CONTEXT_FULL;
  if (::SuspendThread(thread) != DWORD(-1) && ::GetThreadContext(thread, &context))
    WriteFrames("  the hung thread stands at:", context);
  ::CloseHandle(thread);
}

}  // namespace

void SetReportOptions(const TRandomOptions& AOptions)
{
  std::snprintf(ReplayFlags, sizeof ReplayFlags, "%s", AOptions.Flags().c_str());
  RoundEvents = std::max(AOptions.RoundEvents, 1);
  if (!AOptions.LogPath.empty() && !LogFile)
    LogFile = std::fopen(AOptions.LogPath.c_str(), "w");
  if (!PreviousFilter)
    PreviousFilter = ::SetUnhandledExceptionFilter(ReportCrashWithEvents);
}

void SetStageDeadline(const char* AStage, int AMilliseconds)
{
  StageEnd = ::GetTickCount64() + ULONGLONG(AMilliseconds);
  Stage = AStage;
}

void LogEvent(const std::string& ALine)
{
  KeepLine(ALine.c_str());
  if (LogFile) {
    std::fprintf(LogFile, "%s\n", ALine.c_str());
    std::fflush(LogFile);
  }
}

void LogRound(int ARound, int AFirstEvent, TdxBarManagerStyle ALook)
{
  CurrentRound = ARound;
  CurrentRoundFirst = AFirstEvent;
  CurrentLook = LookName(ALook);
  char line[128];
  std::snprintf(line, sizeof line, "round %d, look %s, from event %d", ARound, CurrentLook, AFirstEvent);
  LogEvent(line);
}

void WriteFailureReport(const char* AWhat)
{
  static char text[1024];
  const int round = CurrentRound.load();
  const int kept = KeptCount.load();
  std::snprintf(text, sizeof text, "\nrandom input: %s\n  in round %d (look %s), after %d logged lines\n", AWhat, round,
                CurrentLook, kept);
  WriteText(text);
  WriteText("  the last events:\n");
  for (int i = std::max(0, kept - kKeptLines); i < kept; ++i) {
    WriteText("    ");
    WriteText(KeptLines[i % kKeptLines]);
    WriteText("\n");
  }
  // Replaying the failing round alone plays the same events from the same seed; a few more
  // rounds around it can be added by lowering --first-round.
  std::snprintf(text, sizeof text,
                "  replay: scripts/random %s --first-round=%d --events=%d\n"
                "  (the same seed plays the same events; --log=FILE writes every event as it is played)\n",
                ReplayFlags, std::max(round, 0), (std::max(round, 0) + 1) * RoundEvents);
  WriteText(text);
}

bool KeepsGrowing(const std::vector<int>& ACounts, size_t AWarmUp, int ASlack)
{
  AWarmUp = std::max<size_t>(AWarmUp, 1);
  if (ACounts.size() < AWarmUp + 3)
    return false;
  const int base = ACounts[AWarmUp - 1];
  const int middle = ACounts[AWarmUp - 1 + (ACounts.size() - AWarmUp) / 2];
  const int last = ACounts.back();
  return middle > base && last > middle && last - base > ASlack;
}

// ---------------------------------------------------------------------------
// TRandomWatch

TRandomWatch::TRandomWatch(DWORD AUiThread) : FUiThread(AUiThread)
{
  FStop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  FThread = ::CreateThread(nullptr, 0, &TRandomWatch::Run, this, 0, nullptr);
}

TRandomWatch::~TRandomWatch()
{
  ::SetEvent(FStop);
  // The watch may be asking this thread a question meanwhile.
  while (::MsgWaitForMultipleObjects(1, &FThread, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  ::CloseHandle(FThread);
  ::CloseHandle(FStop);
}

DWORD WINAPI TRandomWatch::Run(void* AParam)
{
  auto* self = static_cast<TRandomWatch*>(AParam);
  HANDLE ui = ::OpenThread(SYNCHRONIZE, FALSE, self->FUiThread);
  while (::WaitForSingleObject(self->FStop, 250) == WAIT_TIMEOUT) {
    if (ui && ::WaitForSingleObject(ui, 0) == WAIT_OBJECT_0)
      EndProgram("the user-interface thread is dead");
    if (const char* stage = Stage.load(); stage && ::GetTickCount64() > StageEnd.load()) {
      char what[256];
      std::snprintf(what, sizeof what, "%s did not end in time", stage);
      WriteStack(self->FUiThread);
      EndProgram(what);
    }
    // One window of each thread of the process that has windows: they answer or they hang.
    std::set<DWORD> threads{self->FUiThread};
    std::vector<HWND> asked{ProbeWindow()};
    for (const TOurWindow& window : VisibleWindowsOfProcess()) {
      const DWORD thread = ::GetWindowThreadProcessId(window.Wnd, nullptr);
      if (threads.insert(thread).second)
        asked.push_back(window.Wnd);
    }
    for (HWND wnd : asked) {
      DWORD_PTR result = 0;
      if (!::SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) &&
          ::GetLastError() == ERROR_TIMEOUT && ::IsWindow(wnd)) {
        char what[256];
        wchar_t cls[64] = {};
        ::GetClassNameW(wnd, cls, 64);
        std::snprintf(what, sizeof what, "a window (class %ls) answered no message for 10 s", cls);
        WriteStack(::GetWindowThreadProcessId(wnd, nullptr));
        EndProgram(what);
      }
    }
  }
  if (ui)
    ::CloseHandle(ui);
  return 0;
}

// ---------------------------------------------------------------------------
// What the user-interface thread tells the driver and the watch

namespace {

std::atomic<int> Taken{0};
HHOOK KeyHook = nullptr;
HHOOK MouseHook = nullptr;
HHOOK CommandHook = nullptr;
HWND Probe = nullptr;

LRESULT CALLBACK CountKey(int ACode, WPARAM AWParam, LPARAM ALParam)
{
  if (ACode == HC_ACTION)
    ++Taken;
  return ::CallNextHookEx(nullptr, ACode, AWParam, ALParam);
}

LRESULT CALLBACK CountMouse(int ACode, WPARAM AWParam, LPARAM ALParam)
{
  if (ACode == HC_ACTION) {
    ++Taken;
    if (HWND wnd = reinterpret_cast<MOUSEHOOKSTRUCT*>(ALParam)->hwnd; wnd != LastPointed) {
      LastPointed = wnd;
      LastPointedClass[0] = 0;
      ::GetClassNameW(wnd, LastPointedClass, 64);
    }
  }
  return ::CallNextHookEx(nullptr, ACode, AWParam, ALParam);
}

LRESULT CALLBACK FilterCommand(int ACode, WPARAM AWParam, LPARAM ALParam)
{
  if (ACode == HCBT_SYSCOMMAND && (AWParam & 0xFFF0) >= SC_SCREENSAVE) {
    char line[64];
    std::snprintf(line, sizeof line, "  (kept out: the system command %04llx)",
                  static_cast<unsigned long long>(AWParam));
    LogEvent(line);
    return 1;
  }
  return ::CallNextHookEx(nullptr, ACode, AWParam, ALParam);
}

}  // namespace

void InstallInputHooks()
{
  // Thread hooks installed last are asked first: ahead of the library's, which may take the input.
  RemoveInputHooks();
  KeyHook = ::SetWindowsHookExW(WH_KEYBOARD, CountKey, nullptr, ::GetCurrentThreadId());
  MouseHook = ::SetWindowsHookExW(WH_MOUSE, CountMouse, nullptr, ::GetCurrentThreadId());
  CommandHook = ::SetWindowsHookExW(WH_CBT, FilterCommand, nullptr, ::GetCurrentThreadId());
  if (!Probe)
    Probe = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

void RemoveInputHooks()
{
  for (HHOOK* hook : {&KeyHook, &MouseHook, &CommandHook})
    if (*hook) {
      ::UnhookWindowsHookEx(*hook);
      *hook = nullptr;
    }
}

int InputTaken()
{
  return Taken.load();
}

HWND ProbeWindow()
{
  return Probe;
}
