// TCustomForm: creation from form data, the window styles of the border settings,
// showing and hiding with Position and WindowState, painting and message dispatch.
// Closing, modal showing and focus live in FormActivation.cpp, MDI in FormMDI.cpp.
#include <algorithm>

#include "platform/Forms.h"

DEFINE_ENUM_INFO(TFormStyle, L"fsNormal", L"fsMDIChild", L"fsMDIForm", L"fsStayOnTop")
DEFINE_ENUM_INFO(TWindowState, L"wsNormal", L"wsMinimized", L"wsMaximized")
DEFINE_ENUM_INFO(TFormBorderStyle, L"bsNone", L"bsSingle", L"bsSizeable", L"bsDialog", L"bsToolWindow",
                 L"bsSizeToolWin")
DEFINE_ENUM_INFO(TBorderIcon, L"biSystemMenu", L"biMinimize", L"biMaximize", L"biHelp")
DEFINE_ENUM_INFO(TPosition, L"poDesigned", L"poDefault", L"poDefaultPosOnly", L"poDefaultSizeOnly", L"poScreenCenter",
                 L"poDesktopCenter", L"poMainFormCenter", L"poOwnerFormCenter")
DEFINE_ENUM_INFO(TCloseAction, L"caNone", L"caHide", L"caFree", L"caMinimize")

IMPLEMENT_CLASS(TCustomForm, TWinControl)

PUBLISHED(TForm, TCustomForm)
{
  using F = TCustomForm;
  p.Prop(L"ClientWidth", &F::GetFormClientWidth, &F::SetFormClientWidth);
  p.Prop(L"ClientHeight", &F::GetFormClientHeight, &F::SetFormClientHeight);
  p.Prop(L"PixelsPerInch", &F::GetPixelsPerInch, &F::SetPixelsPerInch).Default(96);
  p.Prop(L"Scaled", &F::GetScaled, &F::SetScaled).Default(true);
  // Forms are hidden until shown; form data says so only when one starts visible.
  p.Prop(L"Visible", &TControl::GetVisible, &TControl::SetVisible).Default(false);
  p.Prop(L"FormStyle", &F::GetFormStyle, &F::SetFormStyle).Default(fsNormal);
  p.Prop(L"BorderStyle", &F::GetBorderStyle, &F::SetBorderStyle).Default(bsSizeable);
  p.Prop(L"BorderIcons", &F::GetBorderIcons, &F::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  p.Prop(L"Position", &F::GetPosition, &F::SetPosition).Default(poDesigned);
  p.Prop(L"WindowState", &F::GetWindowState, &F::SetWindowState).Default(wsNormal);
  p.Prop(L"KeyPreview", &F::GetKeyPreview, &F::SetKeyPreview).Default(false);
  p.Component(L"ActiveControl", &F::GetActiveControl, &F::SetActiveControl);
  p.Event(L"OnActivate", &F::OnActivate, &F::OnActivate);
  p.Event(L"OnClose", &F::OnClose, &F::OnClose);
  p.Event(L"OnCloseQuery", &F::OnCloseQuery, &F::OnCloseQuery);
  p.Event(L"OnCreate", &F::OnCreate, &F::OnCreate);
  p.Event(L"OnDeactivate", &F::OnDeactivate, &F::OnDeactivate);
  p.Event(L"OnDestroy", &F::OnDestroy, &F::OnDestroy);
  p.Event(L"OnHide", &F::OnHide, &F::OnHide);
  p.Event(L"OnPaint", &F::OnPaint, &F::OnPaint);
  p.Event(L"OnShow", &F::OnShow, &F::OnShow);
}

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

namespace {

// Raises when a form is shown or hidden from its own OnShow or OnHide.
class TShowingScope {
public:
  explicit TShowingScope(TFormState& State) : FState(State)
  {
    if (FState.Contains(fsShowing))
      throw EInvalidOperation(L"Cannot change Visible in OnShow or OnHide");
    FState += fsShowing;
  }
  ~TShowingScope() { FState -= fsShowing; }
  TShowingScope(const TShowingScope&) = delete;
  TShowingScope& operator=(const TShowingScope&) = delete;

private:
  TFormState& FState;
};

// Reports an exception of a form's own event (OnCreate, OnDestroy, ...) without letting it
// undo the construction or destruction it happened in.
void ReportEventException(TObject* Sender)
{
  if (Application)
    Application->HandleException(Sender);
  else
    HandleUnexpectedException(Sender);
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction and destruction

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FControlState += csCustomPaint;  // OnPaint runs inside the window's WM_PAINT
  FPixelsPerInch = Screen ? Screen->GetPixelsPerInch() : 96;
  FVisible = false;
  FWidth = 320;
  FHeight = 240;
  FParentColor = false;
  FParentFont = false;
  SetColor(clBtnFace);
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
  if (Screen)
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
  // A form deleted without Free still leaves every list it was in.
  if (Screen)
    Screen->RemoveForm(this);
  if (Application)
    Application->FormDestroying(this);
  if (FHandle)
    DestroyWindowHandle();
}

void TCustomForm::AfterConstruction()
{
  TWinControl::AfterConstruction();
  FFormState += fsCreating;
  try {
    ReadFormData();
  } catch (...) {
    FFormState -= fsCreating;
    Free();
    throw;
  }
  FCreated = true;
  TWeakRef<TCustomForm> self(this);
  DoCreate();
  if (!self)
    return;
  FFormState -= fsCreating;
  // An MDI child always shows: its window lives inside the main form's client.
  if (FFormStyle == fsMDIChild)
    FFormState += fsVisible;
  if (FFormState.Contains(fsVisible)) {
    FFormState -= fsVisible;
    try {
      SetVisible(true);
    } catch (...) {
      // A form that cannot show (an MDI child without an MDI form) is not made at all.
      if (self)
        Free();
      throw;
    }
  }
}

void TCustomForm::ReadFormData()
{
  switch (FSource) {
    case fdNone:
      return;
    case fdText: {
      String text = std::move(FSourceText);
      FSourceText.clear();
      TextToComponent(text, this, Owner());
      return;
    }
    case fdResource: {
      // The two library classes have no form data of their own.
      if (ClassType() == TForm::StaticClass() || ClassType() == TCustomForm::StaticClass())
        return;
      TClass root = InheritsFrom(TForm::StaticClass()) ? TForm::StaticClass() : TCustomForm::StaticClass();
      if (!InitInheritedComponent(this, root))
        throw EResNotFound(L"Form data resource " + ClassName() + L" (RCDATA) not found: link the form's data " +
                           L"into the program's resources, or make a form built in code with CreateNew " +
                           L"(Application->CreateNewForm for the main form)");
      return;
    }
  }
}

void TCustomForm::BeforeDestruction()
{
  Destroying();
  TWeakRef<TCustomForm> self(this);
  try {
    if (FVisible && FFormStyle != fsMDIChild && FHandle)
      Hide();
  } catch (...) {
    ReportEventException(this);
  }
  if (FCreated) {
    FCreated = false;
    DoDestroy();
  }
  if (Screen)
    Screen->RemoveForm(this);
  if (Application)
    Application->FormDestroying(this);
  TWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate()
{
  try {
    CallEvent(OnCreate, this);
  } catch (...) {
    ReportEventException(this);
  }
}

void TCustomForm::DoDestroy()
{
  try {
    CallEvent(OnDestroy, this);
  } catch (...) {
    ReportEventException(this);
  }
}

void TCustomForm::SetPixelsPerInch(int Value)
{
  if (Value > 0)
    FPixelsPerInch = Value;
}

void TCustomForm::ChangeScale(int M, int D)
{
  if (M == D || M <= 0 || D <= 0)
    return;
  const int width = MulDiv(GetFormClientWidth(), M, D), height = MulDiv(GetFormClientHeight(), M, D);
  ScaleFont(M, D);
  for (TControl* control : std::vector<TControl*>(FControls))
    control->ChangeScale(M, D);
  if (FComponentState.Contains(csLoading)) {
    FPendingClientWidth = width;
    FPendingClientHeight = height;
  } else
    SetClientSize(width, height);
}

void TCustomForm::Loaded()
{
  const int screen = Screen ? Screen->GetPixelsPerInch() : FPixelsPerInch;
  if (FScaled && FPixelsPerInch != screen)
    ChangeScale(screen, FPixelsPerInch);
  FPixelsPerInch = screen;
  TWinControl::Loaded();
  if (FPendingClientWidth >= 0 || FPendingClientHeight >= 0) {
    int width = FPendingClientWidth >= 0 ? FPendingClientWidth : GetClientWidth();
    int height = FPendingClientHeight >= 0 ? FPendingClientHeight : GetClientHeight();
    FPendingClientWidth = FPendingClientHeight = -1;
    SetClientSize(width, height);
  }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove)
    return;
  if (AComponent == FActiveControl)
    FActiveControl = nullptr;
  if (AComponent == FFocusedControl)
    FFocusedControl = nullptr;
}

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
  // Components without a parent (lists, timers) are written before the controls.
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!c->HasParent())
      Proc(c);
  }
  TWinControl::GetChildren(Proc, Root);
}

// ---------------------------------------------------------------------------
// Window styles and size

void TCustomForm::FrameStyles(DWORD& Style, DWORD& ExStyle) const
{
  TFormBorderStyle border = FBorderStyle;
  TBorderIcons icons = FBorderIcons;
  // An MDI child always has a caption to be dragged and activated by.
  if (FFormStyle == fsMDIChild && (border == bsNone || border == bsDialog))
    border = bsSizeable;
  Style = 0;
  ExStyle = 0;
  switch (border) {
    case bsNone:
      Style = WS_POPUP;
      icons = {};
      break;
    case bsSingle:
      Style = WS_CAPTION;
      break;
    case bsSizeable:
      Style = WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      Style = WS_POPUP | WS_CAPTION;
      ExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      icons *= TBorderIcons{biSystemMenu, biHelp};
      break;
    case bsToolWindow:
      Style = WS_CAPTION;
      ExStyle = WS_EX_TOOLWINDOW;
      icons *= TBorderIcons{biSystemMenu};
      break;
    case bsSizeToolWin:
      Style = WS_CAPTION | WS_THICKFRAME;
      ExStyle = WS_EX_TOOLWINDOW;
      icons *= TBorderIcons{biSystemMenu};
      break;
  }
  // Minimise and maximise boxes need the system menu, as the system draws them.
  if (icons.Contains(biSystemMenu)) {
    Style |= WS_SYSMENU;
    if (icons.Contains(biMinimize))
      Style |= WS_MINIMIZEBOX;
    if (icons.Contains(biMaximize))
      Style |= WS_MAXIMIZEBOX;
    if (icons.Contains(biHelp) && (border == bsDialog || !(Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))))
      ExStyle |= WS_EX_CONTEXTHELP;
  }
  if (FFormStyle == fsMDIChild) {
    Style = (Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
    ExStyle |= WS_EX_MDICHILD;
  } else if (FFormStyle == fsStayOnTop) {
    ExStyle |= WS_EX_TOPMOST;
  }
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Params.WindowClass.style |= CS_DBLCLKS;
  Params.WindowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  // A form placed on another control is a child window like any control.
  if (FParent || FParentWindow)
    return;
  DWORD style = 0, exStyle = 0;
  FrameStyles(style, exStyle);
  Params.Style = style | WS_CLIPCHILDREN | (FEnabled ? 0 : WS_DISABLED);
  Params.ExStyle = exStyle;
  if (FFormStyle == fsMDIChild) {
    Params.WndParent = FindMDIClientWindow();
    Params.WindowClass.lpfnWndProc = DefMDIChildProcW;
  } else {
    // Owned by the hidden application window, so every form stays above nothing of
    // another program's and leaves with the application.
    Params.WndParent = Application ? Application->GetHandle() : nullptr;
    if (!Application || !Application->GetMainForm() || Application->GetMainForm() == this)
      Params.ExStyle |= WS_EX_APPWINDOW;
  }
  if (FPosition == poDefault || FPosition == poDefaultPosOnly)
    Params.X = Params.Y = CW_USEDEFAULT;
  if (FPosition == poDefault || FPosition == poDefaultSizeOnly)
    Params.Width = Params.Height = CW_USEDEFAULT;
}

TRect TCustomForm::GetClientRect() const
{
  if (FHandle)
    return TWinControl::GetClientRect();
  DWORD style = 0, exStyle = 0;
  FrameStyles(style, exStyle);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return Rect(0, 0, std::max(0, FWidth - RectWidth(frame)), std::max(0, FHeight - RectHeight(frame)));
}

void TCustomForm::SetClientSize(int AWidth, int AHeight)
{
  if (FHandle) {
    TWinControl::SetClientSize(AWidth, AHeight);
    return;
  }
  DWORD style = 0, exStyle = 0;
  FrameStyles(style, exStyle);
  RECT r{0, 0, std::max(AWidth, 0), std::max(AHeight, 0)};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  SetBounds(FLeft, FTop, RectWidth(r), RectHeight(r));
}

int TCustomForm::GetFormClientWidth() const
{
  if (FPendingClientWidth >= 0)
    return FPendingClientWidth;
  return const_cast<TCustomForm*>(this)->GetClientWidth();
}

int TCustomForm::GetFormClientHeight() const
{
  if (FPendingClientHeight >= 0)
    return FPendingClientHeight;
  return const_cast<TCustomForm*>(this)->GetClientHeight();
}

void TCustomForm::SetFormClientWidth(int Value)
{
  // While loading, the border style may still change: the size is applied in Loaded.
  if (FComponentState.Contains(csLoading))
    FPendingClientWidth = std::max(Value, 0);
  else
    SetClientSize(Value, GetClientHeight());
}

void TCustomForm::SetFormClientHeight(int Value)
{
  if (FComponentState.Contains(csLoading))
    FPendingClientHeight = std::max(Value, 0);
  else
    SetClientSize(GetClientWidth(), Value);
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
  if (FFormStyle == Value)
    return;
  TFormStyle old = FFormStyle;
  FFormStyle = Value;
  if (!FHandle || FComponentState.Contains(csLoading))
    return;
  if ((old == fsNormal || old == fsStayOnTop) && (Value == fsNormal || Value == fsStayOnTop)) {
    ::SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  if (Value == fsMDIChild)
    FVisible = true;
  RecreateWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
  if (FBorderStyle == Value)
    return;
  FBorderStyle = Value;
  if (FHandle && !FComponentState.Contains(csLoading))
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
  if (FBorderIcons == Value)
    return;
  FBorderIcons = Value;
  if (FHandle && !FComponentState.Contains(csLoading))
    RecreateWnd();
}

void TCustomForm::SetPosition(TPosition Value)
{
  FPosition = Value;
}

TWindowState TCustomForm::GetWindowState() const
{
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value)
{
  if (FWindowState == Value)
    return;
  FWindowState = Value;
  if (FHandle && FShowing && !FComponentState.Contains(csLoading))
    ShowWindowForState();
}

TCanvas* TCustomForm::GetCanvas()
{
  return FCanvas.get();
}

// ---------------------------------------------------------------------------
// Showing and hiding

void TCustomForm::Show()
{
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide()
{
  SetVisible(false);
}

void TCustomForm::SetVisible(bool Value)
{
  // Visible from form data or OnCreate waits until the form is complete.
  if (FFormState.Contains(fsCreating)) {
    if (Value)
      FFormState += fsVisible;
    else
      FFormState -= fsVisible;
    return;
  }
  if (!Value && FFormStyle == fsMDIChild && !FComponentState.Contains(csDestroying))
    throw EInvalidOperation(L"Cannot hide an MDI Child Form");
  TWinControl::SetVisible(Value);
}

void TCustomForm::CMShowingChanged(TMessage& Message)
{
  if (FParent || FParentWindow) {
    TWinControl::CMShowingChanged(Message);
    return;
  }
  TShowingScope scope(FFormState);
  TWeakRef<TCustomForm> self(this);
  if (FShowing) {
    DoShow();
    if (!self || !FHandle)
      return;
    ApplyPosition();
    ShowWindowForState();
  } else {
    DoHide();
    if (!self || !FHandle)
      return;
    ::ShowWindow(FHandle, SW_HIDE);
    if (FActive)
      SetActive(false);
  }
}

void TCustomForm::ShowWindowForState()
{
  if (FFormStyle == fsMDIChild) {
    HWND client = ::GetParent(FHandle);
    switch (FWindowState) {
      case wsMaximized:
        ::ShowWindow(FHandle, SW_SHOW);
        ::SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(FHandle), 0);
        break;
      case wsMinimized:
        ::ShowWindow(FHandle, SW_SHOWMINIMIZED);
        break;
      default:
        if (::IsZoomed(FHandle) || ::IsIconic(FHandle))
          ::SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(FHandle), 0);
        ::ShowWindow(FHandle, SW_SHOW);
        break;
    }
    if (FWindowState != wsMinimized)
      ::SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
    return;
  }
  static constexpr int commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
  // Read first: the steps below report intermediate states through WM_SIZE.
  TWindowState target = FWindowState;
  if (target == wsNormal) {
    // Restoring a minimised window brings back what it was before (maximised, perhaps),
    // and some hosts ignore "show normal" on a maximised one: restore step by step.
    if (::IsIconic(FHandle))
      ::ShowWindow(FHandle, SW_RESTORE);
    if (::IsZoomed(FHandle))
      ::ShowWindow(FHandle, SW_RESTORE);
  }
  ::ShowWindow(FHandle, commands[target]);
  FWindowState = target;
}

void TCustomForm::ApplyPosition()
{
  if (FFormStyle == fsMDIChild || !Screen)
    return;
  TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
  auto visibleOther = [this](TCustomForm* f) { return f && f != this && f->HandleAllocated() && f->FVisible; };
  TRect area{};
  switch (FPosition) {
    case poScreenCenter: {
      TMonitor* m = visibleOther(mainForm) ? Screen->MonitorFromWindow(mainForm->GetHandle()) : nullptr;
      if (!m)
        m = Screen->GetPrimaryMonitor();
      area = m ? m->GetBoundsRect() : Rect(0, 0, Screen->GetWidth(), Screen->GetHeight());
      break;
    }
    case poDesktopCenter:
      area = Screen->GetDesktopRect();
      break;
    case poOwnerFormCenter:
    case poMainFormCenter: {
      TCustomForm* over = mainForm;
      if (FPosition == poOwnerFormCenter)
        if (auto* owner = dynamic_cast<TCustomForm*>(Owner()); visibleOther(owner))
          over = owner;
      if (visibleOther(over))
        area = over->GetBoundsRect();
      else
        area = Rect(0, 0, Screen->GetWidth(), Screen->GetHeight());
      break;
    }
    default:
      return;
  }
  int x = area.left + (RectWidth(area) - FWidth) / 2;
  int y = area.top + (RectHeight(area) - FHeight) / 2;
  // The caption stays reachable: the top-left corner is kept inside the work area.
  if (TMonitor* m = Screen->MonitorFromRect(Bounds(x, y, FWidth, FHeight))) {
    TRect work = m->GetWorkareaRect();
    x = std::max<int>(work.left, std::min<int>(x, work.right - FWidth));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - FHeight));
  }
  SetBounds(x, y, FWidth, FHeight);
}

void TCustomForm::DoShow()
{
  CallEvent(OnShow, this);
}

void TCustomForm::DoHide()
{
  CallEvent(OnHide, this);
}

void TCustomForm::PaintWindow(HDC DC)
{
  // The canvas draws into the paint's DC only for the length of the paint.
  struct TPaintDC {
    TControlCanvas* Canvas;
    TPaintDC(TControlCanvas* C, HDC DC) : Canvas(C)
    {
      Canvas->FreeHandle();
      Canvas->SetHandle(DC);
    }
    ~TPaintDC() { Canvas->SetHandle(nullptr); }
  } scope(FCanvas.get(), DC);
  FCanvas->SetFont(FFont);
  FCanvas->GetBrush()->SetColor(FColor);
  Paint();
}

void TCustomForm::Paint()
{
  CallEvent(OnPaint, this);
}

// ---------------------------------------------------------------------------
// Messages

void TCustomForm::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case CM_RELEASE:
      Free();
      return;  // nothing may touch the form after this
    case WM_ACTIVATE:
      return WMActivate(Message);
    case WM_ACTIVATEAPP:
      return WMActivateApp(Message);
    case WM_MDIACTIVATE:
      return WMMDIActivate(Message);
    case WM_CLOSE:
      return WMClose(Message);
    case WM_QUERYENDSESSION:
      return WMQueryEndSession(Message);
    case CM_ACTIVATE:
      return CMActivate(Message);
    case CM_DEACTIVATE:
      return CMDeactivate(Message);
    default:
      return TWinControl::Dispatch(Message);
  }
}

void TCustomForm::WMActivate(TMessage& Message)
{
  // No default handling: it would focus the form's window instead of its active control.
  bool active = LOWORD(Message.WParam) != WA_INACTIVE;
  if (FComponentState.Contains(csDestroying) || (FParent || FParentWindow)) {
    DefaultHandler(Message);
    return;
  }
  SetActive(active);
  Message.Result = 0;
}

void TCustomForm::WMActivateApp(TMessage& Message)
{
  if (Application)
    Application->SetActiveState(Message.WParam != 0);
  DefaultHandler(Message);
}

void TCustomForm::WMClose(TMessage& Message)
{
  Close();
  Message.Result = 0;
}

void TCustomForm::WMQueryEndSession(TMessage& Message)
{
  Message.Result = CloseQuery() ? 1 : 0;
}

void TCustomForm::WMSize(TMessage& Message)
{
  TWinControl::WMSize(Message);
  if (FComponentState.Contains(csDestroying))
    return;
  switch (Message.WParam) {
    case SIZE_MINIMIZED:
      FWindowState = wsMinimized;
      break;
    case SIZE_MAXIMIZED:
      FWindowState = wsMaximized;
      break;
    case SIZE_RESTORED:
      // An MDI child hidden behind a maximised sibling reports a restore too.
      if (FShowing)
        FWindowState = wsNormal;
      break;
    default:
      break;
  }
}

void TCustomForm::CMDialogKey(TMessage& Message)
{
  // Tab moves through the tab order, arrows through the controls of the same parent;
  // everything else (Enter, Esc) goes to the controls, where default buttons take it.
  if (::GetKeyState(VK_MENU) >= 0) {
    switch (Message.WParam) {
      case VK_TAB:
        if (::GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, ::GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->GetParent()) {
          FActiveControl->GetParent()->SelectNext(FActiveControl,
                                                  Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  TWinControl::CMDialogKey(Message);
}

// ---------------------------------------------------------------------------

TCustomForm* ValidParentForm(TControl* Control, bool TopForm)
{
  TCustomForm* form = GetParentForm(Control, TopForm);
  if (!form)
    throw EInvalidOperation(L"Control '" + (Control ? Control->Name() : String()) + L"' has no parent form");
  return form;
}
