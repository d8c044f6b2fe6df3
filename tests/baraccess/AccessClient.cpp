// The program runner and the tree walk of the cross-process tests.
#include "AccessClient.h"

#include "support/Pump.h"

TProgram::TProgram(const std::wstring& ARelativePath, const std::wstring& AArguments)
{
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  path = path.substr(0, path.find_last_of(L"\\/") + 1) + ARelativePath;
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE writePipe = nullptr;
  if (!CreatePipe(&FReadPipe, &writePipe, &sa, 0))
    return;
  SetHandleInformation(FReadPipe, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writePipe;
  si.hStdError = writePipe;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring commandLine = L"\"" + path + L"\" " + AArguments;
  // A program linked a moment ago may still be held by the build: a few tries, some time apart.
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &FProcess))
      break;
    FProcess = PROCESS_INFORMATION{};
    FStartError = GetLastError();
    PumpFor(300);
  }
  CloseHandle(writePipe);
  FReader = std::thread([this] { Read(); });
}

TProgram::~TProgram()
{
  if (FProcess.hProcess) {
    // Asked politely first: its windows close; then ended for sure. Forms are owned by the
    // program's hidden application window, so a window whose owner does not show counts as
    // a top one too; missing them cost every run the whole wait below.
    EnumWindows(
        [](HWND wnd, LPARAM pid) -> BOOL {
          DWORD owner = 0;
          GetWindowThreadProcessId(wnd, &owner);
          HWND ownerWindow = GetWindow(wnd, GW_OWNER);
          if (owner == DWORD(pid) && IsWindowVisible(wnd) && (!ownerWindow || !IsWindowVisible(ownerWindow)))
            PostMessageW(wnd, WM_CLOSE, 0, 0);
          return TRUE;
        },
        LPARAM(FProcess.dwProcessId));
    if (WaitForSingleObject(FProcess.hProcess, 5000) != WAIT_OBJECT_0)
      TerminateProcess(FProcess.hProcess, 1);
    WaitForSingleObject(FProcess.hProcess, 5000);
    CloseHandle(FProcess.hProcess);
    CloseHandle(FProcess.hThread);
  }
  if (FReader.joinable())
    FReader.join();
  if (FReadPipe)
    CloseHandle(FReadPipe);
}

void TProgram::Read()
{
  std::string pending;
  char buffer[512];
  DWORD got = 0;
  while (ReadFile(FReadPipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    pending.append(buffer, got);
    size_t eol;
    while ((eol = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, eol);
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      pending.erase(0, eol + 1);
      std::lock_guard<std::mutex> lock(FLock);
      FLines.push_back(line);
    }
  }
}

std::vector<std::string> TProgram::Lines()
{
  std::lock_guard<std::mutex> lock(FLock);
  return FLines;
}

bool TProgram::WaitForLine(const std::string& ALine, int ATimeoutMs)
{
  return PumpUntil(
      [&] {
        for (const std::string& line : Lines())
          if (line == ALine)
            return true;
        return false;
      },
      ATimeoutMs);
}

std::string TProgram::ValueOf(const std::string& APrefix)
{
  for (const std::string& line : Lines())
    if (line.compare(0, APrefix.size(), APrefix) == 0)
      return line.substr(APrefix.size());
  return std::string();
}

TComRef<IAccessible> AccessibleOfWindow(HWND AWnd)
{
  TComRef<IAccessible> result;
  if (FAILED(AccessibleObjectFromWindow(AWnd, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(result.Put()))))
    return TComRef<IAccessible>();
  return result;
}

TAccessibleNode ReadAccessible(const TComRef<IAccessible>& AObject, int ADepth)
{
  TAccessibleNode node;
  node.Object = AObject;
  if (!AObject)
    return node;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (SUCCEEDED(AObject->get_accName(self, &name)) && name)
    node.Name.assign(name, SysStringLen(name));
  SysFreeString(name);
  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(AObject->get_accRole(self, &v)) && v.vt == VT_I4)
    node.Role = v.lVal;
  VariantClear(&v);
  if (SUCCEEDED(AObject->get_accState(self, &v)) && v.vt == VT_I4)
    node.State = v.lVal;
  VariantClear(&v);
  long l = 0, t = 0, w = 0, h = 0;
  node.LocationResult = AObject->accLocation(&l, &t, &w, &h, self);
  node.Location = RECT{l, t, l + w, t + h};
  long count = 0;
  if (ADepth <= 0 || FAILED(AObject->get_accChildCount(&count)) || count <= 0)
    return node;
  std::vector<VARIANT> children(static_cast<size_t>(count));
  long obtained = 0;
  if (FAILED(AccessibleChildren(AObject.Get(), 0, count, children.data(), &obtained)))
    return node;
  for (long i = 0; i < obtained; ++i) {
    VARIANT& child = children[size_t(i)];
    if (child.vt == VT_DISPATCH && child.pdispVal) {
      TComRef<IAccessible> object;
      if (SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(object.Put()))))
        node.Children.push_back(ReadAccessible(object, ADepth - 1));
    } else {
      // The bars give every element an object of its own; a bare id is recorded empty.
      node.Children.push_back(TAccessibleNode{});
    }
    VariantClear(&child);
  }
  return node;
}

std::string Narrow(const std::wstring& AText)
{
  std::string result;
  for (wchar_t c : AText)
    result += c < 128 ? char(c) : '?';
  return result;
}
