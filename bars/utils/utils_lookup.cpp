// Manager, form and window lookups of the bar library, the active bar window, and the small
// object helpers that clear a variable and free what it held.
#include "bars/utils/utils.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/model/components.h"
#include "bars/keyboard/hooks.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "lookandfeel/cxClasses.h"
#include "platform/Bitmap.h"
#include "platform/Forms.h"
#include "platform/Win.h"

namespace {

TClass GTopBarParentControlClass = nullptr;

bool IsChildWindow(HWND Wnd)
{
  return (GetWindowLongPtrW(Wnd, GWL_STYLE) & WS_CHILD) != 0;
}

// The parent window of a child window; nil for a top-level one.
HWND ParentWindowOf(HWND Wnd)
{
  return Wnd && IsChildWindow(Wnd) ? GetParent(Wnd) : nullptr;
}

TCustomForm* AsForm(TControl* AControl)
{
  auto* control = dynamic_cast<TWinControl*>(AControl);
  return control ? control->AsForm() : nullptr;
}

// The next control up: through the parent window when the control has one, else Parent.
TControl* ParentControlOf(TControl* AControl)
{
  auto* windowed = dynamic_cast<TWinControl*>(AControl);
  if (windowed && windowed->HandleAllocated()) {
    HWND parent = ParentWindowOf(windowed->GetHandle());
    return parent ? FindControl(parent) : nullptr;
  }
  return AControl->GetParent();
}

bool IsEnabledWithParents(HWND Wnd)
{
  for (; Wnd; Wnd = ParentWindowOf(Wnd))
    if (!IsWindowEnabled(Wnd))
      return false;
  return true;
}

}  // namespace

TdxBarManager* GetBarManagerOfWindow(HWND Wnd)
{
  return Wnd ? GetBarManagerByOwner(FindControl(Wnd)) : nullptr;
}

TdxBarManager* GetBarManagerOfComponent(TComponent* AComponent)
{
  TComponent* owner = AComponent;
  while (owner) {
    auto* control = dynamic_cast<TWinControl*>(owner);
    if (control && control->HandleAllocated())
      break;
    owner = owner->Owner();
  }
  if (!owner)
    return nullptr;
  for (HWND wnd = static_cast<TWinControl*>(owner)->GetHandle(); wnd; wnd = ParentWindowOf(wnd))
    if (TdxBarManager* manager = GetBarManagerOfWindow(wnd))
      return manager;
  return nullptr;
}

TCustomForm* FindParentForm(TControl* AControl, TdxBarFindFormMode Mode)
{
  TCustomForm* result = nullptr;
  for (TControl* control = AControl; control; control = ParentControlOf(control)) {
    TCustomForm* form = AsForm(control);
    if (!form)
      continue;
    result = form;
    if (Mode == ffmFirstForm || (Mode == ffmMDIChild && IsMDIChildForm(form)))
      break;
  }
  return result;
}

TWinControl* GetOwnerWinControl(TComponent* AComponent)
{
  for (TComponent* c = AComponent; c; c = c->Owner())
    if (auto* control = dynamic_cast<TWinControl*>(c))
      return control;
  return nullptr;
}

TCustomForm* GetOwnerParentForm(TComponent* AComponent)
{
  return FindParentForm(GetOwnerWinControl(AComponent), ffmFirstForm);
}

TCustomForm* FindOwnerParentForm(TComponent* AComponent, TdxBarFindFormMode Mode)
{
  return FindParentForm(GetOwnerWinControl(AComponent), Mode);
}

bool IsMDIChildForm(TCustomForm* AForm)
{
  return AForm && !AForm->ComponentState().Contains(csDesigning) && AForm->GetFormStyle() == fsMDIChild;
}

bool IsMDIParentForm(TCustomForm* AForm)
{
  return AForm && !AForm->ComponentState().Contains(csDesigning) && AForm->GetFormStyle() == fsMDIForm;
}

bool IsFormActive(TCustomForm* AForm)
{
  if (!AForm || !AForm->HandleAllocated())
    return false;
  HWND active = GetActiveWindow();
  if (!active)
    return false;
  HWND handle = AForm->GetHandle();
  if (handle == active)
    return true;
  if (IsMDIChildForm(AForm)) {
    TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
    return mainForm && mainForm->HandleAllocated() && mainForm->GetHandle() == active &&
           mainForm->GetActiveMDIChild() == AForm;
  }
  return GetAncestor(handle, GA_ROOT) == active;
}

TCustomForm* GetActiveFormOrMDIChild()
{
  HWND active = GetActiveWindow();
  if (!active || !IsEnabledWithParents(active))
    return nullptr;
  TCustomForm* form = AsForm(FindControl(active));
  if (IsMDIParentForm(form))
    if (TCustomForm* child = form->GetActiveMDIChild())
      return child;
  return form;
}

TCustomForm* GetActiveMDIChild()
{
  TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
  if (!mainForm || !mainForm->GetClientHandle())
    return nullptr;
  auto active = reinterpret_cast<HWND>(SendMessageW(mainForm->GetClientHandle(), WM_MDIGETACTIVE, 0, 0));
  return AsForm(FindControl(active));
}

bool IsApplicationActive()
{
  return dxBarApplicationActiveFlag() && !dxBarDeactivatedTowardsOtherProcess() && GetActiveWindow() != nullptr;
}

bool IsForeignProcessWindow(HWND Wnd)
{
  if (!Wnd || !IsWindow(Wnd))
    return true;
  DWORD process = 0;
  GetWindowThreadProcessId(Wnd, &process);
  return process != GetCurrentProcessId();
}

bool ContainsControl(TControl* AParent, TControl* AControl)
{
  if (!AParent || !AControl)
    return false;
  auto* parent = dynamic_cast<TWinControl*>(AParent);
  auto* control = dynamic_cast<TWinControl*>(AControl);
  if (parent && control && parent->HandleAllocated() && control->HandleAllocated())
    return parent == control || IsChild(parent->GetHandle(), control->GetHandle());
  for (TControl* c = AControl; c; c = c->GetParent())
    if (c == AParent)
      return true;
  return false;
}

bool OwnerContainsControl(TComponent* AOwned, TControl* AControl)
{
  return ContainsControl(GetOwnerWinControl(AOwned), AControl);
}

bool IsOwnerInsideWindow(TComponent* AOwned, HWND Wnd)
{
  TWinControl* owner = GetOwnerWinControl(AOwned);
  if (!owner || !owner->HandleAllocated() || !Wnd)
    return false;
  HWND handle = owner->GetHandle();
  return handle == Wnd || HasParentWindow(handle, Wnd);
}

bool HasParentWindow(HWND Wnd, HWND AParent)
{
  if (!AParent)
    return false;
  for (HWND w = ParentWindowOf(Wnd); w; w = ParentWindowOf(w))
    if (w == AParent)
      return true;
  return false;
}

HWND DeepestWindowFromPoint(const TPoint& P)
{
  HWND wnd = WindowFromPoint(P);
  while (wnd) {
    POINT client = P;
    ScreenToClient(wnd, &client);
    HWND child = ChildWindowFromPointEx(wnd, client, CWP_SKIPINVISIBLE);
    if (!child || child == wnd)
      break;
    wnd = child;
  }
  return wnd;
}

TdxBarManager* ActiveBarManager()
{
  TCustomdxBarControl* control = ActiveBarControl();
  return control ? control->GetBarManager() : nullptr;
}

bool IsActiveBarControlEnabled()
{
  TCustomdxBarControl* control = ActiveBarControl();
  return control && control->HandleAllocated() && IsEnabledWithParents(control->GetHandle());
}

TCustomdxBarControl* GetRootBarControl(TCustomdxBarControl* AControl)
{
  // A menu's parent chain is short; the bound only guards against a cycle.
  for (int depth = 0; AControl && depth < 256; ++depth) {
    TCustomdxBarControl* parent = AControl->GetParentBarControl();
    if (!parent || parent == AControl)
      break;
    AControl = parent;
  }
  return AControl;
}

TCustomdxBarControl* GetRootToolbarControl(TCustomdxBarControl* AControl)
{
  TCustomdxBarControl* root = GetRootBarControl(AControl);
  return root && root->GetKind() != bckSubMenu ? root : nullptr;
}

TClass dxBarTopBarParentControlClass()
{
  return GTopBarParentControlClass;
}

void SetdxBarTopBarParentControlClass(TClass AClass)
{
  GTopBarParentControlClass = AClass;
}

TWinControl* GetTopBarParentControl(TWinControl* AControl, bool AThroughBars)
{
  if (!AControl || !AControl->HandleAllocated() || AControl->ComponentState().Contains(csDestroying))
    return nullptr;
  HWND top = AControl->GetHandle();
  // A menu chain is short and parent windows cannot loop; the bound only guards a chain of
  // bar windows that names itself.
  for (int depth = 0; depth < 256; ++depth) {
    if (HWND parent = ParentWindowOf(top)) {
      top = parent;
      continue;
    }
    auto* bar = AThroughBars ? dynamic_cast<TCustomdxBarControl*>(FindControl(top)) : nullptr;
    TCustomdxBarControl* from = bar ? bar->GetParentBarControl() : nullptr;
    if (!from || from == bar || !from->HandleAllocated())
      break;
    top = from->GetHandle();
  }
  TWinControl* result = FindControl(top);
  return result && result != AControl && GTopBarParentControlClass && result->InheritsFrom(GTopBarParentControlClass)
             ? result
             : nullptr;
}

// ---------------------------------------------------------------------------
// Links, item controls and the model's interfaces

TdxBarItemControl* GetLinkControl(const TdxBarItemLink* ALink)
{
  return ALink ? ALink->GetControl() : nullptr;
}

TdxBarItem* GetLinkItem(const TdxBarItemLink* ALink)
{
  return ALink ? ALink->GetItem() : nullptr;
}

TdxBarItemLink* GetItemControlLink(const TdxBarItemControl* AControl)
{
  return AControl ? AControl->GetItemLink() : nullptr;
}

TdxBarItem* GetItemControlItem(const TdxBarItemControl* AControl)
{
  return AControl ? AControl->GetItem() : nullptr;
}

void InvalidateItemControl(TdxBarItemControl* AControl)
{
  if (AControl)
    AControl->Repaint();
}

bool SupportsSelectableItem(TObject* AObject, IdxBarSelectableItem*& AItem)
{
  AItem = dynamic_cast<IdxBarSelectableItem*>(AObject);
  return AItem != nullptr;
}

IdxBarSelectableItem* GetSelectableItem(TObject* AObject)
{
  IdxBarSelectableItem* item = nullptr;
  SupportsSelectableItem(AObject, item);
  return item;
}

bool IsSelectableItem(TObject* AObject)
{
  return GetSelectableItem(AObject) != nullptr;
}

void RemoveNonSelectableItems(TList* AList)
{
  for (int i = AList ? AList->Count() - 1 : -1; i >= 0; --i)
    if (!IsSelectableItem(static_cast<TObject*>(AList->Items(i))))
      AList->Delete(i);
}

IdxBarLinksOwner* QueryLinksOwner(TObject* AObject)
{
  return dynamic_cast<IdxBarLinksOwner*>(AObject);
}

TdxBarItemLinks* GetLinksOwnerItemLinks(TObject* AObject)
{
  IdxBarLinksOwner* owner = QueryLinksOwner(AObject);
  return owner ? owner->GetOwnedItemLinks() : nullptr;
}

// ---------------------------------------------------------------------------
// Object helpers

void DeleteAndClearGDIObject(HGDIOBJ& AObject)
{
  HGDIOBJ object = AObject;
  AObject = nullptr;
  if (object)
    DeleteObject(object);
}

void SelectAndDeleteGDIObject(HDC DC, HGDIOBJ& AOldObject)
{
  HGDIOBJ old = AOldObject;
  AOldObject = nullptr;
  if (DC && old)
    if (HGDIOBJ replaced = SelectObject(DC, old))
      DeleteObject(replaced);
}

void RemoveAndClearObjectLink(TcxObjectLink*& ALink)
{
  TcxObjectLink* link = ALink;
  ALink = nullptr;
  RemoveObjectLink(link);
}

TObject* GetObjectLinkRef(TcxObjectLink* ALink)
{
  return ALink ? ALink->Object.Get() : nullptr;
}

TBitmap* CreateNotifyingBitmap(const TNotifyEvent& AOnChange)
{
  auto* bitmap = new TBitmap;
  bitmap->OnChange = AOnChange;
  return bitmap;
}

void DestroyWindowAndClear(HWND& Wnd)
{
  HWND wnd = Wnd;
  Wnd = nullptr;
  if (wnd && IsWindow(wnd))
    DestroyWindow(wnd);
}

void KillTimerAndClear(HWND Wnd, UINT_PTR& ATimerId)
{
  if (ATimerId != 0)
    KillTimer(Wnd, ATimerId);
  ATimerId = 0;
}

uint8_t GetHighestSetMember(uint32_t ASetBits)
{
  for (int member = 3; member >= 0; --member)
    if (ASetBits & (1u << member))
      return uint8_t(member);
  return 255;
}
