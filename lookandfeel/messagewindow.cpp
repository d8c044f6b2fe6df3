// The hidden message window and its window class, registered on first use.
#include <mutex>

#include "lookandfeel/cxControls.h"

IMPLEMENT_CLASS(TcxMessageWindow, TObject)

namespace {

constexpr const wchar_t* MessageWindowClassName = L"TcxMessageWindow";

std::mutex gClassLock;
bool gClassRegistered = false;

// The module that holds this code (the program, or a library linking this layer).
HINSTANCE CodeModule()
{
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&CodeModule), &module);
  return module ? module : GetModuleHandleW(nullptr);
}

void RegisterMessageWindowClass(WNDPROC Proc)
{
  std::lock_guard<std::mutex> guard(gClassLock);
  if (gClassRegistered)
    return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = CodeModule();
  wc.lpszClassName = MessageWindowClassName;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EOSError(L"Cannot register the message window class (error " + IntToStr(GetLastError()) + L")");
  gClassRegistered = true;
}

}  // namespace

void FinalizeMessageWindowClass()
{
  std::lock_guard<std::mutex> guard(gClassLock);
  // Fails while windows of the class still exist; the class then stays for them.
  if (gClassRegistered && UnregisterClassW(MessageWindowClassName, CodeModule()))
    gClassRegistered = false;
}

TcxMessageWindow::TcxMessageWindow() : TcxMessageWindow(false) {}

TcxMessageWindow::TcxMessageWindow(bool ADeferWindow)
{
  if (!ADeferWindow)
    CreateHandle();
}

void TcxMessageWindow::CreateHandle() const
{
  RegisterMessageWindowClass(&MainWndProc);
  HWND handle = CreateWindowExW(WS_EX_TOOLWINDOW, MessageWindowClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                CodeModule(), const_cast<TcxMessageWindow*>(this));
  if (!handle)
    throw EOSError(L"Cannot create the message window (error " + IntToStr(GetLastError()) + L")");
  FHandle = handle;
}

HWND TcxMessageWindow::Handle() const
{
  if (!FHandle)
    CreateHandle();
  return FHandle;
}

TcxMessageWindow::~TcxMessageWindow()
{
  if (FHandle) {
    // From here on the window no longer reaches this half-destroyed object.
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
    FHandle = nullptr;
  }
}

void TcxMessageWindow::WndProc(TMessage& Message)
{
  Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT CALLBACK TcxMessageWindow::MainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  auto* window = reinterpret_cast<TcxMessageWindow*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  if (!window && Msg == WM_NCCREATE) {
    window = static_cast<TcxMessageWindow*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
    if (window) {
      window->FHandle = Wnd;
      SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
  }
  if (!window)
    return DefWindowProcW(Wnd, Msg, WParam, LParam);
  TMessage message{Msg, WParam, LParam, 0};
  try {
    window->WndProc(message);
  } catch (...) {
    HandleUnexpectedException(window);
    return 0;
  }
  return message.Result;
}
