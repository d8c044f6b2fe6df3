// MDI forms: the client window of an MDI form (the system's "MDICLIENT" class), placed in
// what the form's aligned controls leave; MDI children made inside the main form's client;
// the frame and child default procedures; child activation and the child list.
#include "platform/Forms.h"

namespace {

// Menu identifiers of the children in the window menu start here, above any command ID.
constexpr UINT kFirstMDIChildId = 0xFF00;

}  // namespace

void TCustomForm::CreateWnd()
{
  TWinControl::CreateWnd();
  if (FFormStyle == fsMDIChild && !FParent && !FParentWindow)
    FFormState += fsCreatedMDIChild;
  if (FFormStyle == fsMDIForm && !FParent && !FParentWindow)
    CreateMDIClient();
}

void TCustomForm::CreateMDIClient()
{
  CLIENTCREATESTRUCT ccs{nullptr, kFirstMDIChildId};
  TRect r = GetClientRect();
  FClientHandle =
      ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, r.left,
                        r.top, RectWidth(r), RectHeight(r), FHandle, nullptr, ::GetModuleHandleW(nullptr), &ccs);
  if (!FClientHandle)
    throw EOSError(L"Cannot create the MDI client window (" + IntToStr(::GetLastError()) + L")");
  Realign();
}

void TCustomForm::DestroyWnd()
{
  TWinControl::DestroyWnd();
  FClientHandle = nullptr;
}

void TCustomForm::DestroyWindowHandle()
{
  if (FFormState.Contains(fsCreatedMDIChild)) {
    FFormState -= fsCreatedMDIChild;
    // The client keeps a list of its children: it must destroy the window itself.
    HWND client = FHandle ? ::GetParent(FHandle) : nullptr;
    if (client && ::IsWindow(client)) {
      FControlState += csDestroyingHandle;
      ::SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(FHandle), 0);
      FControlState -= csDestroyingHandle;
    }
  }
  TWinControl::DestroyWindowHandle();
  FClientHandle = nullptr;
}

void TCustomForm::DefaultHandler(TMessage& Message)
{
  if (FHandle && FClientHandle) {
    // The form's aligned controls decide where the client goes; the frame procedure
    // would stretch it over the whole client area.
    if (Message.Msg == WM_SIZE)
      Message.Result = ::DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
    else
      Message.Result = ::DefFrameProcW(FHandle, FClientHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  TWinControl::DefaultHandler(Message);
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect)
{
  TWinControl::AlignControls(AControl, Rect);
  if (FClientHandle)
    ::SetWindowPos(FClientHandle, HWND_BOTTOM, Rect.left, Rect.top, RectWidth(Rect), RectHeight(Rect), SWP_NOACTIVATE);
}

HWND TCustomForm::FindMDIClientWindow() const
{
  // The main form is the MDI parent; without one, the first MDI form there is.
  TCustomForm* frame = Application ? Application->GetMainForm() : nullptr;
  if ((!frame || frame->FFormStyle != fsMDIForm) && Screen) {
    frame = nullptr;
    for (int i = 0; i < Screen->GetCustomFormCount() && !frame; ++i)
      if (TCustomForm* f = Screen->GetCustomForms(i); f->FFormStyle == fsMDIForm && f != this)
        frame = f;
  }
  if (frame && frame != this)
    frame->HandleNeeded();
  if (!frame || frame == this || !frame->FClientHandle)
    throw EInvalidOperation(L"Cannot create form. No MDI forms are currently active");
  return frame->FClientHandle;
}

TCustomForm* TCustomForm::GetActiveMDIChild() const
{
  if (FFormStyle != fsMDIForm || !FClientHandle)
    return nullptr;
  auto active = reinterpret_cast<HWND>(::SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  TWinControl* control = FindControl(active);
  return control ? control->AsForm() : nullptr;
}

namespace {

// The forms among the client's child windows, topmost (the active one) first.
std::vector<TCustomForm*> ChildrenOf(HWND Client)
{
  std::vector<TCustomForm*> list;
  if (!Client)
    return list;
  for (HWND h = ::GetWindow(Client, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
    if (TWinControl* control = FindControl(h))
      if (TCustomForm* form = control->AsForm(); form && form->GetFormStyle() == fsMDIChild)
        list.push_back(form);
  return list;
}

}  // namespace

int TCustomForm::GetMDIChildCount() const
{
  return FFormStyle == fsMDIForm ? int(ChildrenOf(FClientHandle).size()) : 0;
}

TCustomForm* TCustomForm::GetMDIChildren(int Index) const
{
  if (FFormStyle != fsMDIForm)
    return nullptr;
  std::vector<TCustomForm*> list = ChildrenOf(FClientHandle);
  return Index >= 0 && Index < int(list.size()) ? list[Index] : nullptr;
}

void TCustomForm::Cascade()
{
  if (FFormStyle == fsMDIForm && FClientHandle)
    ::SendMessageW(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile()
{
  if (FFormStyle == fsMDIForm && FClientHandle)
    ::SendMessageW(FClientHandle, WM_MDITILE, MDITILE_HORIZONTAL, 0);
}

void TCustomForm::ArrangeIcons()
{
  if (FFormStyle == fsMDIForm && FClientHandle)
    ::SendMessageW(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next()
{
  if (FFormStyle == fsMDIForm && FClientHandle)
    ::SendMessageW(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous()
{
  if (FFormStyle == fsMDIForm && FClientHandle)
    ::SendMessageW(FClientHandle, WM_MDINEXT, 0, 1);
}

void TCustomForm::WMMDIActivate(TMessage& Message)
{
  DefaultHandler(Message);
  if (FFormStyle != fsMDIChild || FComponentState.Contains(csDestroying))
    return;
  // The client tells the child losing the activation (WParam) and the one gaining it.
  if (reinterpret_cast<HWND>(Message.LParam) == FHandle)
    SetActive(true);
  else if (reinterpret_cast<HWND>(Message.WParam) == FHandle)
    SetActive(false);
}
