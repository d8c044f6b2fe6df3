// TCustomForm: closing (OnCloseQuery, OnClose and the close actions), Release, ShowModal
// with its own loop, activation of the form and the focus among its controls.
#include <algorithm>

#include "platform/Forms.h"

namespace {

// Reports an exception of a form's own event (OnCreate, OnDestroy, ...) without letting it
// undo the construction or destruction it happened in.
void ReportFormEventException(TObject* Sender)
{
  if (Application)
    Application->HandleException(Sender);
  else
    HandleUnexpectedException(Sender);
}

// Counts focus changes, so that a focus move started from an OnEnter or OnExit handler
// ends the one that called it.
int FocusChangeCount = 0;

}  // namespace

// ---------------------------------------------------------------------------
// Closing

bool TCustomForm::CloseQuery()
{
  if (FFormStyle == fsMDIForm) {
    for (int i = 0; i < GetMDIChildCount(); ++i)
      if (TCustomForm* child = GetMDIChildren(i); child && !child->CloseQuery())
        return false;
  }
  bool canClose = true;
  CallEvent(OnCloseQuery, this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
  CallEvent(OnClose, this, Action);
}

void TCustomForm::Close()
{
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  TWeakRef<TCustomForm> self(this);
  if (!CloseQuery() || !self)
    return;
  TCloseAction action = caHide;
  if (FFormStyle == fsMDIChild)
    action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(action);
  if (!self || action == caNone)
    return;
  if (Application && Application->GetMainForm() == this)
    Application->Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release()
{
  if (Application && Application->GetHandle()) {
    Application->ReleaseForm(this);
    return;
  }
  ::PostMessageW(GetHandle(), CM_RELEASE, 0, 0);
}

// ---------------------------------------------------------------------------
// Modal showing

namespace {

// Disables the enabled, visible top-level windows of this thread except Keep; gives the
// list to enable again.
std::vector<HWND> DisableThreadWindows(HWND Keep)
{
  struct TData {
    HWND Keep;
    std::vector<HWND> Disabled;
  } data{Keep, {}};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND Window, LPARAM Param) -> BOOL {
        auto* d = reinterpret_cast<TData*>(Param);
        if (Window != d->Keep && ::IsWindowVisible(Window) && ::IsWindowEnabled(Window)) {
          d->Disabled.push_back(Window);
          ::EnableWindow(Window, FALSE);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&data));
  return data.Disabled;
}

}  // namespace

TModalResult TCustomForm::ShowModal()
{
  if (FVisible || !FEnabled || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation(L"Cannot make a visible window modal");
  if (HWND capture = ::GetCapture())
    ::SendMessageW(capture, WM_CANCELMODE, 0, 0);
  ::ReleaseCapture();
  HandleNeeded();

  // Everything taken here is given back however the loop ends, even when the form dies.
  struct TModalScope {
    TWeakRef<TCustomForm> Form;
    HWND PreviousActive = ::GetActiveWindow();
    std::vector<HWND> Disabled;
    ~TModalScope()
    {
      for (HWND w : Disabled)
        if (::IsWindow(w))
          ::EnableWindow(w, TRUE);
      if (PreviousActive && ::IsWindow(PreviousActive) && ::IsWindowVisible(PreviousActive))
        ::SetActiveWindow(PreviousActive);
      if (Application)
        Application->ModalFinished();
      if (TCustomForm* f = Form.Get())
        f->FFormState -= fsModal;
    }
  } scope;
  scope.Form = TWeakRef<TCustomForm>(this);
  FFormState += fsModal;
  if (Application)
    Application->ModalStarted();
  scope.Disabled = DisableThreadWindows(FHandle);

  TWeakRef<TCustomForm> self(this);
  TModalResult result = mrCancel;
  try {
    FModalResult = mrNone;
    Show();
    while (self && FModalResult == mrNone) {
      if (Application) {
        Application->HandleMessage();
      } else {
        MSG msg;
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0)
          break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      if (!self)
        break;
      if (Application && Application->GetTerminated())
        FModalResult = mrCancel;
      else if (FModalResult != mrNone)
        CloseModal();
    }
    if (self) {
      result = FModalResult == mrNone ? mrCancel : FModalResult;
      Hide();
    }
  } catch (...) {
    if (self) {
      try {
        Hide();
      } catch (...) {
        // The error that ended the loop is the one the caller is told.
      }
    }
    throw;
  }
  return result;
}

void TCustomForm::CloseModal()
{
  TWeakRef<TCustomForm> self(this);
  try {
    TCloseAction action = caNone;
    if (CloseQuery() && self) {
      action = caHide;
      DoClose(action);
    }
    if (!self)
      return;
    if (action == caNone)
      FModalResult = mrNone;
    else if (action == caFree)
      Release();
  } catch (...) {
    if (self)
      FModalResult = mrNone;
    ReportFormEventException(this);
  }
}

// ---------------------------------------------------------------------------
// Activation and focus

void TCustomForm::SetActive(bool Value)
{
  if (FActive == Value) {
    if (Value)
      SetWindowFocus();
    return;
  }
  FActive = Value;
  TWeakRef<TCustomForm> self(this);
  if (!Value) {
    Perform(CM_DEACTIVATE);
    return;
  }
  FFormState += fsActivated;
  if (!FActiveControl) {
    FActiveControl = FindNextControl(nullptr, true, true, false);
    if (FActiveControl)
      FActiveControl->FreeNotification(this);
  }
  if (Screen)
    Screen->SetActiveForm(this);
  if (!self)
    return;
  Perform(CM_ACTIVATE);
  if (self && FActive)
    SetWindowFocus();
}

void TCustomForm::CMActivate(TMessage& Message)
{
  Activate();
}

void TCustomForm::CMDeactivate(TMessage& Message)
{
  Deactivate();
}

void TCustomForm::Activate()
{
  CallEvent(OnActivate, this);
}

void TCustomForm::Deactivate()
{
  CallEvent(OnDeactivate, this);
}

void TCustomForm::SetWindowFocus()
{
  if (!FHandle || ::IsIconic(FHandle))
    return;
  if (FFormStyle == fsMDIForm)
    if (TCustomForm* child = GetActiveMDIChild()) {
      child->SetWindowFocus();
      return;
    }
  HWND target = FHandle;
  if (FActiveControl && FActiveControl->IsShowing() && FActiveControl->CanFocus())
    target = FActiveControl->GetHandle();
  if (::GetFocus() != target)
    ::SetFocus(target);
}

void TCustomForm::SetFocus()
{
  if (!FActive) {
    if (!FVisible || !FEnabled)
      throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    SetWindowFocus();
    return;
  }
  TWinControl::SetFocus();
}

void TCustomForm::SetActiveControl(TWinControl* Control)
{
  if (FActiveControl == Control)
    return;
  bool loading = FComponentState.Contains(csLoading);
  if (Control && (Control == this || GetParentForm(Control, false) != this || (!loading && !Control->CanFocus())))
    throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (Control)
    Control->FreeNotification(this);
  if (!loading && FActive)
    SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control)
{
  bool wasActive = FActive;
  SetActiveControl(Control);
  if (!wasActive)
    SetFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* Control)
{
  if (FComponentState.Contains(csDestroying) || !Control)
    return true;
  int count = ++FocusChangeCount;
  TWeakRef<TCustomForm> self(this);
  if (Control != this && FActiveControl != Control) {
    FActiveControl = Control;
    Control->FreeNotification(this);
  }
  if (Screen)
    Screen->SetActiveControl(this, Control);
  if (!self || count != FocusChangeCount)
    return true;
  // Exit notices go from the control that had the focus up to the first container that
  // also holds the new one; enter notices come down from there to the new control.
  while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
    TWinControl* leaving = FFocusedControl;
    FFocusedControl = leaving->GetParent();
    leaving->Perform(CM_EXIT);
    if (!self || count != FocusChangeCount)
      return true;
  }
  while (FFocusedControl != Control) {
    TWinControl* next = Control;
    while (next->GetParent() && next->GetParent() != FFocusedControl)
      next = next->GetParent();
    FFocusedControl = next;
    next->FreeNotification(this);
    next->Perform(CM_ENTER);
    if (!self || count != FocusChangeCount)
      return true;
  }
  TMessage notice{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control), 0};
  Broadcast(notice);
  return true;
}

void TCustomForm::SendCancelMode(TControl* Sender)
{
  if (FActive && FActiveControl)
    FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
  if (FFormStyle == fsMDIForm)
    if (TCustomForm* child = GetActiveMDIChild())
      child->SendCancelMode(Sender);
}
