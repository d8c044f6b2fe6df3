// The sub-menu editor.
#include "barcustomize/submenueditor.h"

#include "bars/model/customizing.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/menus/submenu.h"
#include "bars/utils/utils.h"

PUBLISHED(TdxBarSubMenuEditor, TForm)
{
  p.Method(L"FormActivate", &TdxBarSubMenuEditor::FormActivate);
  p.Method(L"FormClose", &TdxBarSubMenuEditor::FormClose);
  p.Method(L"FormDestroy", &TdxBarSubMenuEditor::FormDestroy);
}

namespace {

TdxBarSubMenuEditor* GEditor = nullptr;

}  // namespace

TdxBarSubMenuEditor* GetSubMenuEditorForm()
{
  return GEditor;
}

void TdxBarSubMenuEditor::CreateParams(TCreateParams& Params)
{
  TForm::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU;
  Params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  Params.WindowClass.style = CS_SAVEBITS | CS_OWNDC;
  // It belongs with the Customize dialog, above the same window; without the dialog, above
  // the form being customised.
  HWND parent = nullptr;
  TdxBarManager* manager = LinksAlive() ? FItemLinks->GetBarManager() : nullptr;
  if (auto handle = dxBarCustomizingServices().GetCustomizingFormHandle; handle && manager)
    if (HWND dialog = handle(manager))
      parent = ::GetWindow(dialog, GW_OWNER);
  if (!parent && Screen && Screen->GetActiveCustomForm() && Screen->GetActiveCustomForm() != this &&
      Screen->GetActiveCustomForm()->HandleAllocated())
    parent = Screen->GetActiveCustomForm()->GetHandle();
  if (parent)
    Params.WndParent = parent;
}

TdxBarSubMenuControl* TdxBarSubMenuEditor::GetMenuControl() const
{
  return LinksAlive() ? dynamic_cast<TdxBarSubMenuControl*>(FItemLinks->GetBarControl()) : nullptr;
}

void TdxBarSubMenuEditor::WatchLinksOwner(TComponent* AOwner)
{
  if (FLinksOwner == AOwner)
    return;
  if (FLinksOwner)
    FLinksOwner->RemoveFreeNotification(this);
  FLinksOwner = AOwner;
  if (FLinksOwner)
    FLinksOwner->FreeNotification(this);
}

void TdxBarSubMenuEditor::SetItemLinks(TdxBarItemLinks* Value)
{
  if (FItemLinks == Value && (!Value || LinksAlive()))
    return;
  CloseMenu();
  FItemLinks = Value;
  FMenuWidth = 0;
  FLinksOwnerRef = Value ? Value->GetLinksOwner() : nullptr;
  WatchLinksOwner(Value ? dynamic_cast<TComponent*>(Value->GetLinksOwner()) : nullptr);
  if (!Value) {
    Close();
    return;
  }
  // Already shown, it is not activated again: the new menu opens now.
  if (GetVisible())
    OpenMenu();
}

void TdxBarSubMenuEditor::Notification(TComponent* AComponent, TOperation Operation)
{
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FLinksOwner || !AComponent)
    return;
  // The links go with their owner, their menu with them: nothing of theirs is touched again.
  FLinksOwner = nullptr;
  FItemLinks = nullptr;
  Close();
}

void TdxBarSubMenuEditor::FormActivate(TObject*)
{
  OpenMenu();
}

void TdxBarSubMenuEditor::OpenMenu()
{
  TdxBarItemLinks* links = GetItemLinks();
  if (!links || links->GetBarControl() || !HandleAllocated())
    return;
  TdxBarManager* manager = links->GetBarManager();
  const TdxBarCustomizingServices& services = dxBarCustomizingServices();
  if (manager && services.IsDragging && services.IsDragging(manager) && services.GetDraggingItem) {
    String why;
    if (TdxBarItem* dragged = services.GetDraggingItem(manager); dragged && !links->CanAddItem(dragged, why))
      return;
  }
  links->CreateBarControl();
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(links->GetBarControl());
  if (!menu) {
    links->DestroyBarControl();
    return;
  }
  TWeakRef<TdxBarSubMenuEditor> self(this);
  TWeakRef<TdxBarSubMenuControl> menuRef(menu);
  RECT r{};
  ::GetWindowRect(GetHandle(), &r);
  menu->SetBounds(r.left, r.bottom, 0, 0);
  menu->Popup();
  if (!self || !menuRef || !menuRef->HandleAllocated())
    return;
  RECT m{};
  ::GetWindowRect(menuRef->GetHandle(), &m);
  FMenuWidth = m.right - m.left;
  SetBounds(GetLeft(), GetTop(), FMenuWidth, GetHeight());
}

void TdxBarSubMenuEditor::CloseMenu()
{
  if (LinksAlive() && FItemLinks->GetBarControl())
    FItemLinks->DestroyBarControl();
}

void TdxBarSubMenuEditor::FollowWithMenu()
{
  TdxBarSubMenuControl* menu = GetMenuControl();
  if (!menu || !menu->HandleAllocated() || !HandleAllocated())
    return;
  RECT r{};
  ::GetWindowRect(GetHandle(), &r);
  ::SetWindowPos(menu->GetHandle(), nullptr, r.left, r.bottom, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TdxBarSubMenuEditor::Dispatch(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED: {
      TForm::Dispatch(Message);
      if (!(reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags & SWP_NOMOVE))
        FollowWithMenu();
      return;
    }
    case WM_GETMINMAXINFO: {
      TForm::Dispatch(Message);
      // Only the caption shows: the height stays, and the width is the menu's.
      auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
      RECT r{};
      if (HandleAllocated() && ::GetWindowRect(GetHandle(), &r)) {
        const int width = FMenuWidth > 0 ? FMenuWidth : r.right - r.left;
        info->ptMinTrackSize = POINT{width, r.bottom - r.top};
        info->ptMaxTrackSize = info->ptMinTrackSize;
      }
      return;
    }
    case WM_NCLBUTTONDOWN:
      if (Message.WParam == HTCLOSE)
        CloseMenu();
      break;
  }
  TForm::Dispatch(Message);
}

void TdxBarSubMenuEditor::FormClose(TObject*, TCloseAction& Action)
{
  Action = caFree;
}

void TdxBarSubMenuEditor::FormDestroy(TObject*)
{
  CloseMenu();
  WatchLinksOwner(nullptr);
  FItemLinks = nullptr;
  if (GEditor == this)
    GEditor = nullptr;
}

void ShowSubMenuEditor(TdxBarItemLinks* AItemLinks)
{
  if (!AItemLinks) {
    if (GEditor)
      GEditor->SetItemLinks(nullptr);
    return;
  }
  if (TdxBarManager* manager = AItemLinks->GetBarManager())
    manager->SetIsCustomizing(true);
  if (!GEditor) {
    auto* editor = TCustomForm::Create<TdxBarSubMenuEditor>(nullptr);
    editor->SetCaption(GetResourceString(sdxBarSubMenuEditor));
    editor->SetClientSize(editor->GetClientRect().right, 0);
    GEditor = editor;
  }
  TdxBarSubMenuEditor* editor = GEditor;
  TWeakRef<TdxBarSubMenuEditor> self(editor);
  editor->SetItemLinks(AItemLinks);
  ProcessMouseMessages();
  if (self && self->GetItemLinks())
    self->Show();
}
