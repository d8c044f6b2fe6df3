// The client side of the cross-process tests: a program started with its standard output
// read line by line, and a walk of an accessible object's tree through the system library.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Holds one COM reference.
template <class T>
class TComRef {
public:
  TComRef() = default;
  explicit TComRef(T* A) : FPtr(A) {}
  TComRef(const TComRef& A) : FPtr(A.FPtr)
  {
    if (FPtr)
      FPtr->AddRef();
  }
  TComRef& operator=(TComRef A)
  {
    std::swap(FPtr, A.FPtr);
    return *this;
  }
  ~TComRef()
  {
    if (FPtr)
      FPtr->Release();
  }
  T* Get() const { return FPtr; }
  T* operator->() const { return FPtr; }
  T** Put()
  {
    *this = TComRef();
    return &FPtr;
  }
  explicit operator bool() const { return FPtr != nullptr; }

private:
  T* FPtr = nullptr;
};

// A program of this build started beside the test program; its output lines are kept. The
// destructor closes its windows and ends it.
class TProgram {
public:
  TProgram(const std::wstring& ARelativePath, const std::wstring& AArguments);
  ~TProgram();
  bool Started() const { return FProcess.hProcess != nullptr; }
  // The system's error of the last failed start.
  DWORD StartError() const { return FStartError; }
  DWORD ProcessId() const { return FProcess.dwProcessId; }
  // Waits (pumping this thread's messages) for a line equal to ALine.
  bool WaitForLine(const std::string& ALine, int ATimeoutMs = 30000);
  // The rest of the first line that starts with APrefix; empty when none.
  std::string ValueOf(const std::string& APrefix);
  std::vector<std::string> Lines();

private:
  void Read();
  PROCESS_INFORMATION FProcess{};
  DWORD FStartError = 0;
  HANDLE FReadPipe = nullptr;
  std::thread FReader;
  std::mutex FLock;
  std::vector<std::string> FLines;
};

// What a client learns of one element.
struct TAccessibleNode {
  std::wstring Name;
  long Role = 0;
  long State = 0;
  RECT Location{};
  HRESULT LocationResult = E_FAIL;
  TComRef<IAccessible> Object;
  std::vector<TAccessibleNode> Children;
};

TComRef<IAccessible> AccessibleOfWindow(HWND AWnd);
// Reads an element and, through AccessibleChildren, its children to ADepth levels.
TAccessibleNode ReadAccessible(const TComRef<IAccessible>& AObject, int ADepth);
std::string Narrow(const std::wstring& AText);
