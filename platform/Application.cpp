// TApplication: the hidden application window, the message loop and idle time, the main
// form, exception reporting, released forms; TMouse; and the start-up and shut-down of the
// form layer, which plug the application into the control and thread layers.
#include <algorithm>
#include <atomic>
#include <cstdio>

#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/Threads.h"

TApplication* Application = nullptr;
TMouse* Mouse = nullptr;

namespace {

constexpr const wchar_t* kAppWindowClass = L"TApplication";

std::vector<TProcedure>& InitProcs()
{
  static std::vector<TProcedure> procs;
  return procs;
}

// The window a worker thread posts to when it queues a call for the main thread.
std::atomic<HWND>& WakeWindow()
{
  static std::atomic<HWND> window{nullptr};
  return window;
}

String ModuleFileName()
{
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n == 0)
      return String();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

void AddApplicationInitProc(TProcedure Proc)
{
  auto& procs = InitProcs();
  if (Proc && std::find(procs.begin(), procs.end(), Proc) == procs.end())
    procs.push_back(Proc);
}

void RemoveApplicationInitProc(TProcedure Proc)
{
  std::erase(InitProcs(), Proc);
}

// ---------------------------------------------------------------------------
// TApplication

IMPLEMENT_CLASS(TApplication, TComponent)

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
  CreateHandle();
}

TApplication::~TApplication()
{
  // The forms go while the window that owns theirs still exists.
  DestroyComponents();
  if (FHandle) {
    ::SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    ::DestroyWindow(FHandle);
    FHandle = nullptr;
  }
}

void TApplication::CreateHandle()
{
  static bool registered = false;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TApplication::AppWndProc;
    wc.hInstance = instance;
    // No icon or cursor: the window is never shown, and under Wine a class icon alone costs
    // the window server some forty requests.
    wc.lpszClassName = kAppWindowClass;
    if (!::RegisterClassW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOSError(L"Cannot register the application window class");
    registered = true;
  }
  // A real top-level window (not message-only), never shown, so that it receives the
  // broadcasts top-level windows get: WM_ACTIVATEAPP, WM_SETTINGCHANGE, WM_DISPLAYCHANGE.
  FHandle = ::CreateWindowExW(0, kAppWindowClass, GetTitle().c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
  if (!FHandle)
    throw EOSError(L"Cannot create the application window (" + IntToStr(::GetLastError()) + L")");
  ::SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK TApplication::AppWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  auto* app = reinterpret_cast<TApplication*>(::GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  if (!app)
    return ::DefWindowProcW(Wnd, Msg, WParam, LParam);
  TMessage message{Msg, WParam, LParam, 0};
  try {
    app->WndProc(message);
  } catch (...) {
    app->HandleException(app);
  }
  return message.Result;
}

void TApplication::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_ACTIVATEAPP:
      SetActiveState(Message.WParam != 0);
      break;
    case WM_NULL:
      // Posted by threads waiting in Synchronize: run their calls even inside the
      // system's own loops (menus, message boxes), which do not idle ours.
      if (::GetCurrentThreadId() == MainThreadID)
        CheckSynchronize();
      return;
    case CM_RELEASE:
      FreeReleasedForms();
      return;
    case WM_SETTINGCHANGE:
      if (Screen)
        Screen->ResetFonts();
      if (Screen && Message.WParam == SPI_SETWORKAREA)
        Screen->ResetMonitors();
      break;
    case WM_DISPLAYCHANGE:
      if (Screen)
        Screen->ResetMonitors();
      break;
    case WM_CLOSE:
      if (FMainForm)
        FMainForm->Close();
      return;
    case WM_QUERYENDSESSION:
      Message.Result = 1;
      return;
    default:
      break;
  }
  Message.Result = ::DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TApplication::Initialize()
{
  // A copy: a procedure may register another one for a later Initialize.
  std::vector<TProcedure> procs = InitProcs();
  for (TProcedure p : procs)
    p();
}

TComponent* TApplication::CreateForm(TClass InstanceClass)
{
  if (!InstanceClass || !InstanceClass->InheritsFrom(TComponent::StaticClass()))
    throw EInvalidOperation(L"CreateForm needs a component class");
  // Metaclass construction runs AfterConstruction: a form reads its data and runs OnCreate.
  auto* instance = static_cast<TComponent*>(InstanceClass->Create(this));
  AdoptForm(dynamic_cast<TCustomForm*>(instance));
  return instance;
}

void TApplication::AdoptForm(TCustomForm* Form)
{
  if (Form && !FMainForm) {
    Form->HandleNeeded();
    FMainForm = Form;
  }
}

void TApplication::Run()
{
  if (FRunning)
    throw EInvalidOperation(L"The application is running already");
  FRunning = true;
  struct TRunning {
    bool& Flag;
    ~TRunning() { Flag = false; }
  } running{FRunning};
  // Returning at once would end the program with no window and no word of why.
  if (!FMainForm)
    throw EInvalidOperation(
        L"The application has no main form to run: make one first with Application->CreateForm (a form read "
        L"from its form data) or Application->CreateNewForm (a form built in code)");
  // The form's WindowState decides how it shows (minimised, maximised or normal).
  if (FShowMainForm)
    FMainForm->SetVisible(true);
  while (!FTerminated) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::HandleMessage()
{
  MSG msg{};
  if (!ProcessMessage(msg))
    Idle(msg);
}

void TApplication::ProcessMessages()
{
  MSG msg{};
  while (ProcessMessage(msg)) {
  }
}

bool TApplication::ProcessMessage(MSG& Msg)
{
  if (!::PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE))
    return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  if (OnMessage.Assigned())
    OnMessage(Msg, handled);
  if (!handled && !IsMDIMsg(Msg) && !IsControlKeyMessage(Msg)) {
    ::TranslateMessage(&Msg);
    ::DispatchMessageW(&Msg);
  }
  return true;
}

bool TApplication::IsMDIMsg(MSG& Msg)
{
  // Ctrl+F4, Ctrl+F6 and the child's system menu keys belong to the MDI client.
  if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN)
    return false;
  if (!FMainForm || FMainForm->GetFormStyle() != fsMDIForm || !FMainForm->GetClientHandle())
    return false;
  if (!FMainForm->GetActiveMDIChild())
    return false;
  return ::TranslateMDISysAccel(FMainForm->GetClientHandle(), &Msg) != 0;
}

void TApplication::Idle(const MSG& Msg)
{
  bool done = true;
  try {
    CallEvent(OnIdle, this, done);
  } catch (...) {
    HandleException(this);
  }
  FreeDeviceContexts();
  if (::GetCurrentThreadId() == MainThreadID && CheckSynchronize())
    done = false;
  if (done)
    ::WaitMessage();
}

void TApplication::Terminate()
{
  ::PostQuitMessage(0);
}

void TApplication::SetTitle(const String& Value)
{
  FTitle = Value;
  if (FHandle)
    ::SetWindowTextW(FHandle, GetTitle().c_str());
}

String TApplication::GetTitle() const
{
  if (!FTitle.empty())
    return FTitle;
  String name = GetExeName();
  size_t slash = name.find_last_of(L"\\/");
  if (slash != String::npos)
    name.erase(0, slash + 1);
  size_t dot = name.find_last_of(L'.');
  if (dot != String::npos)
    name.erase(dot);
  return name;
}

String TApplication::GetExeName() const
{
  return ModuleFileName();
}

void TApplication::SetActiveState(bool Value)
{
  if (FActive == Value)
    return;
  FActive = Value;
  CallEvent(Value ? OnActivate : OnDeactivate, this);
}

int TApplication::MessageBox(const String& Text, const String& Caption, uint32_t Flags)
{
  return ShowMessageBox(::GetActiveWindow(), Text, Caption.empty() ? GetTitle() : Caption, Flags);
}

void TApplication::HandleException(TObject* Sender)
{
  std::exception_ptr error = std::current_exception();
  if (!error)
    return;
  // A mouse mode (capture, drag) must not outlive the operation that failed.
  if (HWND capture = ::GetCapture())
    ::SendMessageW(capture, WM_CANCELMODE, 0, 0);
  auto report = [&](Exception* e) {
    try {
      if (OnException.Assigned())
        OnException(Sender, e);
      else
        ShowException(e);
    } catch (...) {
      // The handler itself failed: there is nobody left to tell but the console.
      fputws((L"Exception in the exception handler: " + CurrentExceptionMessage() + L"\n").c_str(), stderr);
    }
  };
  try {
    std::rethrow_exception(error);
  } catch (EAbort&) {
    // The silent exception ends an operation without a message.
  } catch (Exception& e) {
    report(&e);
  } catch (std::exception& e) {
    Exception wrapped(FromUtf8(e.what()));
    report(&wrapped);
  } catch (...) {
    Exception wrapped(L"Unknown exception");
    report(&wrapped);
  }
}

void TApplication::ShowException(Exception* E)
{
  String text = E ? E->Message() : String();
  // A sentence gets its full stop, unless it ends with punctuation of its own.
  if (!text.empty() && text.back() > L'.')
    text += L'.';
  MessageBox(text, GetTitle(), MB_OK | MB_ICONSTOP);
}

bool TApplication::HelpContext(intptr_t Context)
{
  bool callHelp = true;
  if (OnHelp.Assigned())
    return OnHelp(HELP_CONTEXT, Context, callHelp);
  return false;
}

void TApplication::SetHint(const String& Value)
{
  if (FHint == Value)
    return;
  FHint = Value;
  CallEvent(OnHint, this);
}

void TApplication::BringToFront()
{
  if (!FMainForm || !FMainForm->HandleAllocated())
    return;
  HWND window = ::GetLastActivePopup(FMainForm->GetHandle());
  if (window && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
    ::SetForegroundWindow(window);
}

void TApplication::Minimize()
{
  if (FMainForm && FMainForm->HandleAllocated() && !::IsIconic(FMainForm->GetHandle()))
    ::ShowWindow(FMainForm->GetHandle(), SW_MINIMIZE);
  CallEvent(OnMinimize, this);
}

void TApplication::Restore()
{
  if (FMainForm && FMainForm->HandleAllocated() && ::IsIconic(FMainForm->GetHandle()))
    ::ShowWindow(FMainForm->GetHandle(), SW_RESTORE);
  CallEvent(OnRestore, this);
}

void TApplication::ReleaseForm(TCustomForm* Form)
{
  if (!Form)
    return;
  FReleased.emplace_back(Form);
  ::PostMessageW(FHandle, CM_RELEASE, 0, 0);
}

void TApplication::FreeReleasedForms()
{
  std::vector<TWeakRef<TCustomForm>> list = std::move(FReleased);
  FReleased.clear();
  for (auto& ref : list) {
    TCustomForm* form = ref.Get();
    if (!form)
      continue;
    try {
      form->Free();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::FormDestroying(TCustomForm* Form)
{
  if (FMainForm == Form)
    FMainForm = nullptr;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMainForm)
    FMainForm = nullptr;
}

// ---------------------------------------------------------------------------
// TMouse

IMPLEMENT_CLASS(TMouse, TObject)

TMouse::TMouse()
{
  FDragThreshold = std::max(::GetSystemMetrics(SM_CXDRAG), 1);
}

TPoint TMouse::GetCursorPos() const
{
  POINT p{0, 0};
  ::GetCursorPos(&p);
  return p;
}

void TMouse::SetCursorPos(const TPoint& Value)
{
  ::SetCursorPos(Value.x, Value.y);
}

HWND TMouse::GetCapture() const
{
  return ::GetCapture();
}

void TMouse::SetCapture(HWND Value)
{
  if (Value)
    ::SetCapture(Value);
  else
    ::ReleaseCapture();
}

bool TMouse::GetMousePresent() const
{
  return ::GetSystemMetrics(SM_MOUSEPRESENT) != 0;
}

int TMouse::GetWheelScrollLines() const
{
  UINT lines = 3;
  ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return int(lines);
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void InitializeForms()
{
  if (Application)
    return;
  static bool finderRegistered = false;
  if (!finderRegistered) {
    // Form data of one form may refer to components of another form by its name.
    RegisterFindGlobalComponentProc([](const String& Name) -> TComponent* {
      if (!Screen || Name.empty())
        return nullptr;
      for (int i = 0; i < Screen->GetCustomFormCount(); ++i)
        if (TCustomForm* form = Screen->GetCustomForms(i); SameText(form->Name(), Name))
          return form;
      return nullptr;
    });
    RegisterStandardControls();
    // The application's date and time formats are the user's as the program starts.
    FormatSettings();
    finderRegistered = true;
  }
  // All or nothing: a failure leaves the layer uninitialised, ready for another try.
  std::unique_ptr<TScreen> screen(new TScreen(nullptr));
  std::unique_ptr<TMouse> mouse(new TMouse());
  Screen = screen.get();
  try {
    Application = new TApplication(nullptr);
  } catch (...) {
    Screen = nullptr;
    throw;
  }
  Screen = screen.release();
  Mouse = mouse.release();

  SetUnexpectedExceptionHandler([](TObject* Sender) {
    if (Application)
      Application->HandleException(Sender);
    else
      fputws((L"Unhandled exception: " + CurrentExceptionMessage() + L"\n").c_str(), stderr);
  });
  WakeWindow() = Application->GetHandle();
  SetWakeMainThread(TNotifyEvent([](TObject*) {
    // Runs on the worker thread: it reads only the window handle, never the application.
    // A window message reaches the loop even inside the system's modal loops, which drop
    // thread messages.
    HWND window = WakeWindow().load();
    if (!window || !::PostMessageW(window, WM_NULL, 0, 0))
      ::PostThreadMessageW(MainThreadID, WM_NULL, 0, 0);
  }));
  SetCursorHandleProc([](TCursor Cursor) -> HCURSOR {
    return Screen ? Screen->GetCursors(Cursor) : ::LoadCursorW(nullptr, IDC_ARROW);
  });
  SetScreenCursorProc([]() -> TCursor { return Screen ? Screen->GetCursor() : crDefault; });
}

void FinalizeForms()
{
  // Threads stop reaching for the application window before it goes.
  SetWakeMainThread(TNotifyEvent());
  WakeWindow() = nullptr;
  // Forms still see Screen while the application frees them.
  FreeAndNil(Application);
  SetUnexpectedExceptionHandler(nullptr);
  SetCursorHandleProc(nullptr);
  SetScreenCursorProc(nullptr);
  FreeAndNil(Mouse);
  FreeAndNil(Screen);
}
