// The drag of a link or command while customising: its own message loop with the mouse
// captured, the drop state shown through cursor and insertion mark, and what a release does.
// Everything the drag points at (item, link, bar windows, the manager) may go while its loop
// dispatches messages, so it is held weakly and looked at again after every step.
#include "barcustomize/dragdrop.h"

#include <map>

#include "barcustomize/submenueditor.h"
#include "barcustomize/customizeform.h"
#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/model/customizing.h"
#include "bars/keyboard/hooks.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/model/startup.h"
#include "bars/menus/submenu.h"
#include "bars/utils/utils.h"
#include "platform/Forms.h"
#include "platform/Scope.h"

namespace {

// A nudge along the bar shorter than this is no group change.
constexpr int dxBarBeginGroupThreshold = 4;

std::map<const TdxBarManager*, std::shared_ptr<TdxBarDragInfo>> GDragInfos;
bool GInstalled = false;

TPoint CursorPos()
{
  POINT p{};
  ::GetCursorPos(&p);
  return TPoint{p.x, p.y};
}

// The deepest visible window at P.
HWND DeepestWindowAt(const TPoint& P)
{
  HWND wnd = ::WindowFromPoint(POINT{P.x, P.y});
  while (wnd) {
    POINT client{P.x, P.y};
    ::ScreenToClient(wnd, &client);
    HWND child = ::ChildWindowFromPointEx(wnd, client, CWP_SKIPINVISIBLE);
    if (!child || child == wnd)
      break;
    wnd = child;
  }
  return wnd;
}

// The bar window AWnd belongs to: itself or the window it sits in (an in-place editor's).
TCustomdxBarControl* BarWindowOf(HWND AWnd)
{
  for (HWND wnd = AWnd; wnd; wnd = ::GetParent(wnd))
    if (auto* bar = dynamic_cast<TCustomdxBarControl*>(FindControl(wnd)))
      return bar;
  return nullptr;
}

bool IsShownWindow(TCustomdxBarControl* AWindow)
{
  return AWindow && !AWindow->IsDestroying() && AWindow->HandleAllocated() && ::IsWindowVisible(AWindow->GetHandle());
}

// Whether a bar window takes customising drops at all: a shown toolbar the user may customise
// or a menu of commands; never the design controller's own popup, whose entries are internal.
bool AcceptsDrops(TCustomdxBarControl* AWindow)
{
  if (!IsShownWindow(AWindow) || !AWindow->GetItemLinks() || !AWindow->IsCustomizing())
    return false;
  if (dynamic_cast<TdxBarCustomizingPopup*>(AWindow))
    return false;
  return AWindow->GetKind() == bckSubMenu || AWindow->IsDesigning();
}

// Whether the window refuses the drop: links that would contain their own menu are refused
// by the links themselves.
bool RefusesDrop(TCustomdxBarControl* AWindow, TdxBarItem* AItem)
{
  String error;
  return AItem && !AWindow->GetItemLinks()->CanAddItem(AItem, error);
}

// The link shown after (or before) ALink in its window; nil at the ends.
TdxBarItemLink* ShownNeighbour(TdxBarItemLink* ALink, bool ANext)
{
  TdxBarItemLinks* links = ALink ? ALink->GetItemLinks() : nullptr;
  if (!links)
    return nullptr;
  const auto& shown = links->GetShownItems();
  for (size_t i = 0; i < shown.size(); ++i)
    if (shown[i] == ALink) {
      if (ANext)
        return i + 1 < shown.size() ? shown[i + 1] : nullptr;
      return i > 0 ? shown[i - 1] : nullptr;
    }
  return nullptr;
}

}  // namespace

TdxBarDragInfo::TdxBarDragInfo(TdxBarManager* ABarManager) : FBarManager(ABarManager) {}

TdxBarDragInfo::~TdxBarDragInfo()
{
  if (FDragWindow)
    ::DestroyWindow(FDragWindow);
}

TdxBarItem* TdxBarDragInfo::GetDraggedItem() const
{
  return FDraggedItem.Get();
}

TdxBarItemLink* TdxBarDragInfo::GetDraggedLink() const
{
  return FDraggedLink.Get();
}

TCustomdxBarControl* TdxBarDragInfo::GetTargetWindow() const
{
  return FTargetWindow.Get();
}

TCustomdxBarControl* TdxBarDragInfo::GetMarkWindow() const
{
  return FMarkWindow.Get();
}

TdxBarItemLink* TdxBarDragInfo::GetTargetLink() const
{
  return FTargetLinkRef.Get();
}

bool TdxBarDragInfo::IsDraggedGone() const
{
  return !FDraggedItem || (FHadLink && !FDraggedLink);
}

// ---------------------------------------------------------------------------
// The drag's life

void TdxBarDragInfo::BeginDrag(TdxBarItem* AItem, TdxBarItemLink* ALink)
{
  FDraggedItem = TWeakRef<TdxBarItem>(AItem);
  FDraggedLink = TWeakRef<TdxBarItemLink>(ALink);
  FHadLink = ALink != nullptr;
  FCancelled = false;
  FRefused = false;
  const TPoint p = CursorPos();
  FGrabOffset = ALink ? ALink->ScreenToLinkPoint(p) : TPoint{0, 0};
  FSavedCursor = Screen ? Screen->GetCursor() : crDefault;
  FCtrlDown = ::GetKeyState(VK_CONTROL) < 0;
  FCaptureWindow = FBarManager && FBarManager->GetBars() ? FBarManager->GetBars()->GetCaptureWindow() : nullptr;
  if (!FCaptureWindow || !AItem)
    return;
  FDragging = true;
  ::SetCapture(FCaptureWindow);
  // Whatever the press left in the window's paint queue is drawn before the mark goes on it.
  ProcessPaintMessages();
  DragMove(CursorPos());
}

void TdxBarDragInfo::RunDragLoop()
{
  if (!FDragging)
    return;
  auto stillDragging = [this] {
    return FBarManager && !FCancelled && !IsDraggedGone() && ::GetCapture() == FCaptureWindow;
  };
  while (stillDragging()) {
    MSG msg;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1)
      break;
    if (got == 0) {
      // The program is asked to end: the quit goes back to the loop that ends it.
      ::PostQuitMessage(int(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_KEYDOWN:
        if (msg.wParam == VK_CONTROL)
          CtrlChanged(true);
        else if (msg.wParam == VK_ESCAPE)
          FCancelled = true;
        break;
      case WM_KEYUP:
        if (msg.wParam == VK_CONTROL)
          CtrlChanged(false);
        break;
      case WM_MOUSEMOVE:
        DragMove(CursorPos());
        break;
      case WM_LBUTTONUP:
        if (stillDragging())
          Drop();
        return;
      default:
        DispatchKeepingMark(msg);
        break;
    }
  }
}

void TdxBarDragInfo::EndDrag()
{
  if (FCaptureWindow && ::GetCapture() == FCaptureWindow)
    ::ReleaseCapture();
  FCursorLockCount = 0;
  SetDropState(TdxBarDropState::None);
  HideMark();
  if (FDragWindow) {
    ::DestroyWindow(FDragWindow);
    FDragWindow = nullptr;
  }
  if (TdxBarItemLink* link = FDraggedLink.Get())
    if (TdxBarItemControl* control = link->GetControl())
      control->Repaint();
  FDragging = false;
  FDraggedItem = {};
  FDraggedLink = {};
  FHadLink = false;
  FMarkWindow = {};
  FTargetWindow = {};
  FTargetLinkRef = {};
  FPlace = {};
  FCaptureWindow = nullptr;
}

void TdxBarDragInfo::ManagerDestroying()
{
  if (FDragging) {
    // The bar windows still exist here: the mark is taken off them while it can be.
    FCursorLockCount = 0;
    SetDropState(TdxBarDropState::None);
    HideMark();
    FCancelled = true;
    if (FCaptureWindow && ::GetCapture() == FCaptureWindow)
      ::ReleaseCapture();
  }
  FBarManager = nullptr;
}

bool TdxBarDragInfo::KeepWindow(HWND AWnd)
{
  if (!FDragging || FDragWindow || !AWnd)
    return false;
  FDragWindow = AWnd;
  return true;
}

// ---------------------------------------------------------------------------
// Following the mouse

TCustomdxBarControl* TdxBarDragInfo::FindTargetWindow(const TPoint& P) const
{
  TCustomdxBarControl* window = BarWindowOf(DeepestWindowAt(P));
  if (!window || window->GetBarManager() != FBarManager) {
    // Under another manager's window or a child of the form: the first window of ours that
    // lies under the cursor all the same.
    window = nullptr;
    for (const auto& ref : dxBarGetBarControls(FBarManager)) {
      TCustomdxBarControl* candidate = ref.Get();
      RECT r{};
      if (IsShownWindow(candidate) && ::GetWindowRect(candidate->GetHandle(), &r) && ::PtInRect(&r, POINT{P.x, P.y})) {
        window = candidate;
        break;
      }
    }
  }
  return window && AcceptsDrops(window) ? window : nullptr;
}

void TdxBarDragInfo::DragMove(const TPoint& P)
{
  if (!FBarManager)
    return;
  LockCursor();
  TFinally unlock([this]() noexcept { UnlockCursor(); });
  ActivateSubMenuEditorAt(P);
  if (!FBarManager)
    return;
  // At design time the dialog's category list takes a command dropped on it into its category.
  TdxBarCustomizingForm* dialog = GetCustomizingForm();
  if (dialog && dialog->GetBarManager() == FBarManager && FBarManager->IsDesigning() && !FHadLink) {
    const int over = dialog->DragOverCategories(P, FDraggedItem.Get());
    if (over >= 0) {
      SetTarget(nullptr, TdxBarDropPlace{});
      FRefused = over == 0;
      SetDropState(over > 0 ? TdxBarDropState::Category : TdxBarDropState::NoDrop);
      return;
    }
  }
  TCustomdxBarControl* window = FindTargetWindow(P);
  TdxBarDropPlace place;
  if (window)
    place = dxBarDropPlaceAt(window, window->ScreenToClient(P));
  SetTarget(window, place);
  FRefused = window && RefusesDrop(window, FDraggedItem.Get());
  const bool possible = window && !FRefused && (place.Link || window->GetItemLinks()->ShownItemCount() == 0);
  if (!possible)
    SetDropState(TdxBarDropState::NoDrop);
  else if (FCtrlDown || !FHadLink)
    SetDropState(TdxBarDropState::Copy);
  else if (place.Link == FDraggedLink.Get() || LeavesLinkInPlace())
    SetDropState(TdxBarDropState::BeginGroup);
  else
    SetDropState(TdxBarDropState::Move);
}

// The sub-menu editor under the cursor opens its menu, so that a command can be dragged
// into a menu that is not open yet.
void TdxBarDragInfo::ActivateSubMenuEditorAt(const TPoint& P)
{
  TdxBarSubMenuEditor* editor = GetSubMenuEditorForm();
  if (editor && editor->HandleAllocated() && ::WindowFromPoint(POINT{P.x, P.y}) == editor->GetHandle())
    editor->Perform(CM_ACTIVATE, 0, 0);
}

// Ctrl switches between copy and move at once; the rest of the state is found again as for
// a move, so that a command of the dialog (no link) stays a copy.
void TdxBarDragInfo::CtrlChanged(bool ADown)
{
  if (FCtrlDown == ADown)
    return;
  FCtrlDown = ADown;
  if (FDropState == TdxBarDropState::Copy || FDropState == TdxBarDropState::Move ||
      FDropState == TdxBarDropState::BeginGroup)
    DragMove(CursorPos());
}

bool TdxBarDragInfo::LeavesLinkInPlace() const
{
  TdxBarItemLink* dragged = FDraggedLink.Get();
  TdxBarItemLink* target = GetTargetLink();
  if (!dragged || !target)
    return false;
  if (target == dragged)
    return !(FPlace.Group && FPlace.Before);
  if (dragged->GetItemLinks() != target->GetItemLinks())
    return false;
  // Right after the link before it: only a drop after that link stays in place.
  if (ShownNeighbour(target, true) == dragged && !FPlace.Group && !FPlace.Before)
    return true;
  return ShownNeighbour(dragged, true) == target && FPlace.Before && !target->GetBeginGroup();
}

// ---------------------------------------------------------------------------
// Releasing

void TdxBarDragInfo::Drop()
{
  // The state is found again where the button went up: what was under the cursor may have
  // gone since the last move.
  DragMove(CursorPos());
  switch (FDropState) {
    case TdxBarDropState::NoDrop:
      // Over a bar that refused the link nothing happens; elsewhere the link is taken away.
      if (!FRefused)
        RemoveDraggedLink();
      break;
    case TdxBarDropState::BeginGroup:
      ToggleBeginGroup();
      break;
    case TdxBarDropState::Copy:
    case TdxBarDropState::Move:
      Insert();
      break;
    case TdxBarDropState::Category:
      if (TdxBarCustomizingForm* dialog = GetCustomizingForm(); dialog && FDraggedItem)
        if (const int category = dialog->GetSelectedCategory();
            category >= 0 && category != FDraggedItem->GetCategory())
          FDraggedItem->SetCategory(category);
      break;
    case TdxBarDropState::None:
      break;
  }
}

void TdxBarDragInfo::RemoveDraggedLink()
{
  TWeakRef<TdxBarItemLink> link = FDraggedLink;
  TdxBarManager* manager = FBarManager;
  if (!link || !manager)
    return;
  link->HandOverBeginGroup();
  if (TdxBarItemLink* alive = link.Get())
    alive->Free();
  if (FBarManager)
    FBarManager->DesignerModified();
}

void TdxBarDragInfo::ToggleBeginGroup()
{
  TdxBarItemLink* link = FDraggedLink.Get();
  TCustomdxBarControl* window = link ? link->GetBarControl() : nullptr;
  if (!window)
    return;
  const TPoint p = link->ScreenToLinkPoint(CursorPos());
  const bool vertical = window->GetKind() == bckSubMenu || window->IsVertical();
  const int distance = vertical ? p.y - FGrabOffset.y : p.x - FGrabOffset.x;
  if (std::abs(distance) < dxBarBeginGroupThreshold)
    return;
  const bool beginGroup = distance > 0;
  if (link->GetBeginGroup() == beginGroup) {
    if (TdxBarItemControl* control = link->GetControl())
      window->SelectItemControl(control);
    return;
  }
  link->SetBeginGroup(beginGroup);
  if (FBarManager)
    FBarManager->DesignerModified();
}

void TdxBarDragInfo::Insert()
{
  const bool move = FDropState == TdxBarDropState::Move;
  SetDropState(TdxBarDropState::None);
  TWeakRef<TCustomdxBarControl> window = FTargetWindow;
  TWeakRef<TdxBarItemLink> target = FTargetLinkRef;
  TdxBarManager* manager = FBarManager;
  TdxBarItemLinks* links = window ? window->GetItemLinks() : nullptr;
  if (!manager || !links)
    return;
  const bool before = FPlace.Before, group = FPlace.Group;
  TWeakRef<TdxBarItemLink> added;
  {
    manager->LockDesignerModified(true);
    TFinally unlockDesigner([&] {
      if (FBarManager)
        FBarManager->LockDesignerModified(false);
    });
    TdxBarManagerUpdate managerUpdate(manager);
    {
      TUpdateLock<TCollection> linksUpdate(links);
      TdxBarItemLink* link = links->Add();
      added = TWeakRef<TdxBarItemLink>(link);
      // A link that cannot take the item (a menu that would contain itself) goes again.
      TFinally dropRefused([&] {
        if (TdxBarItemLink* half = added.Get(); half && !half->GetItem())
          half->Free();
      });
      link->BringToTopInRecentList(true);
      if (TdxBarItemLink* source = FDraggedLink.Get()) {
        link->Assign(source);
        link->SetBeginGroup(false);
      } else {
        link->SetItem(FDraggedItem.Get());
      }
      int index = links->Count() - 1;
      if (TdxBarItemLink* at = target.Get())
        index = links->IndexOf(at) + (before ? 0 : 1);
      else if (before)
        index = 0;
      if (index < link->Index())
        links->MoveLink(link->Index(), index);
      if (group && before)
        if (TdxBarItemLink* at = target.Get()) {
          link->SetBeginGroup(true);
          at->SetBeginGroup(false);
        }
    }
    if (move && added)
      RemoveDraggedLink();
  }
  TdxBarItemLink* link = added.Get();
  TCustomdxBarControl* bar = window.Get();
  if (!link || !bar)
    return;
  if (TdxBarItemControl* control = link->GetControl()) {
    TCustomdxBarControl* active = ActiveBarControl();
    if (active && active != bar) {
      active->Deactivate();
      if (window && added && link->GetControl())
        bar->ActivateItemControl(link->GetControl());
    } else {
      bar->SelectItemControl(control);
    }
  }
  if (FBarManager && added)
    FBarManager->SelectForCustomizing(added.Get());
  if (FBarManager)
    FBarManager->DesignerModified();
}

// ---------------------------------------------------------------------------
// State, cursor and mark

void TdxBarDragInfo::SetDropState(TdxBarDropState Value)
{
  if (FDropState == Value)
    return;
  FDropState = Value;
  UpdateCursorAndMark();
}

void TdxBarDragInfo::SetTarget(TCustomdxBarControl* AWindow, const TdxBarDropPlace& APlace)
{
  const bool changed = FTargetWindow.Get() != AWindow || GetTargetLink() != APlace.Link ||
                       FPlace.Before != APlace.Before || FPlace.Group != APlace.Group ||
                       FPlace.Vertical != APlace.Vertical;
  FTargetWindow = TWeakRef<TCustomdxBarControl>(AWindow);
  FTargetLinkRef = TWeakRef<TdxBarItemLink>(APlace.Link);
  FPlace = APlace;
  // The link is read through the weak reference from now on.
  FPlace.Link = nullptr;
  if (changed)
    UpdateCursorAndMark();
}

void TdxBarDragInfo::UnlockCursor()
{
  if (FCursorLockCount > 0 && --FCursorLockCount == 0 && FCursorUpdatePending)
    UpdateCursorAndMark();
}

void TdxBarDragInfo::UpdateCursorAndMark()
{
  if (FCursorLockCount > 0) {
    FCursorUpdatePending = true;
    return;
  }
  FCursorUpdatePending = false;
  switch (FDropState) {
    case TdxBarDropState::NoDrop:
      HideMark();
      FTargetLinkRef = {};
      SetDragCursor(crdxBarDragNoDrop);
      break;
    case TdxBarDropState::BeginGroup:
      HideMark();
      SetDragCursor(crdxBarDrag);
      break;
    case TdxBarDropState::Category:
      SetDragCursor(crdxBarDrag);
      break;
    case TdxBarDropState::Copy:
      HideMark();
      ShowMark();
      SetDragCursor(crdxBarDragCopy);
      break;
    case TdxBarDropState::Move:
      HideMark();
      if (!LeavesLinkInPlace())
        ShowMark();
      SetDragCursor(crdxBarDrag);
      break;
    case TdxBarDropState::None:
      HideMark();
      SetDragCursor(FSavedCursor);
      break;
  }
}

void TdxBarDragInfo::SetDragCursor(TCursor ACursor)
{
  if (!Screen)
    return;
  Screen->SetCursor(ACursor);
  if (ACursor != crDefault)
    ::SetCursor(Screen->GetCursors(ACursor));
}

void TdxBarDragInfo::ShowMark()
{
  TCustomdxBarControl* window = FTargetWindow.Get();
  if (FMarkShown || !IsShownWindow(window))
    return;
  FMarkWindow = TWeakRef<TCustomdxBarControl>(window);
  FMarkVertical = FPlace.Vertical;
  TdxBarItemLink* link = GetTargetLink();
  if (!link) {
    FMarkRect = window->GetClientRect();
    FMarkAtLeadingEdge = true;
  } else {
    FMarkRect = link->GetItemRect();
    FMarkAtLeadingEdge = FPlace.Before;
    if (FPlace.Group && FPlace.Before) {
      // In the gap of a group mark: at the end of the link before the gap.
      if (TdxBarItemLink* prev = ShownNeighbour(link, false)) {
        FMarkRect = prev->GetItemRect();
        FMarkAtLeadingEdge = false;
      }
    } else if (!FPlace.Before) {
      // After a link: at the start of the next one, unless a group mark lies between them.
      TdxBarItemLink* next = ShownNeighbour(link, true);
      if (next && !next->GetBeginGroup() && !IsRectEmpty(next->GetItemRect())) {
        FMarkRect = next->GetItemRect();
        FMarkAtLeadingEdge = true;
      }
    }
  }
  // A paint waiting for the window would land on the mark and leave its inverse behind.
  ::UpdateWindow(window->GetHandle());
  DrawMark();
  FMarkShown = true;
}

void TdxBarDragInfo::HideMark()
{
  if (!FMarkShown)
    return;
  FMarkShown = false;
  // A window that went took its pixels with it.
  if (IsShownWindow(FMarkWindow.Get()))
    DrawMark();
  FMarkWindow = {};
}

void TdxBarDragInfo::DrawMark()
{
  TCustomdxBarControl* window = FMarkWindow.Get();
  if (!window || !window->HandleAllocated())
    return;
  HWND wnd = window->GetHandle();
  HDC dc = ::GetDC(wnd);
  if (!dc)
    return;
  const TdxBarInsertionMarkLines points = dxBarGetInsertionMarkLines(FMarkRect, FMarkAtLeadingEdge, FMarkVertical);
  const DWORD counts[6] = {2, 2, 2, 2, 2, 2};
  const int oldRop = ::SetROP2(dc, R2_NOT);
  ::PolyPolyline(dc, points.data(), counts, 6);
  ::SetROP2(dc, oldRop ? oldRop : R2_COPYPEN);
  ::GdiFlush();
  ::ReleaseDC(wnd, dc);
}

void TdxBarDragInfo::DispatchKeepingMark(MSG& AMsg)
{
  TCustomdxBarControl* markWindow = FMarkWindow.Get();
  const bool underMark = FMarkShown && AMsg.message == WM_PAINT && markWindow && markWindow->HandleAllocated() &&
                         AMsg.hwnd == markWindow->GetHandle();
  if (underMark)
    DrawMark();
  ::TranslateMessage(&AMsg);
  ::DispatchMessageW(&AMsg);
  if (!underMark)
    return;
  if (FMarkShown && IsShownWindow(FMarkWindow.Get()))
    DrawMark();
  else
    FMarkShown = false;
}

// ---------------------------------------------------------------------------
// The services

std::shared_ptr<TdxBarDragInfo> dxBarFindDragInfo(const TdxBarManager* AManager)
{
  auto it = GDragInfos.find(AManager);
  return it == GDragInfos.end() ? nullptr : it->second;
}

bool dxBarIsAnyDragAndDropRunning()
{
  for (const auto& [manager, info] : GDragInfos)
    if (info && info->IsDragging())
      return true;
  return false;
}

namespace {

void DragAndDrop(TdxBarManager* AManager, TdxBarItem* AItem, TdxBarItemLink* ALink)
{
  if (!AManager || AManager->IsDestroying() || !AItem)
    return;
  std::shared_ptr<TdxBarDragInfo>& slot = GDragInfos[AManager];
  if (!slot)
    slot = std::make_shared<TdxBarDragInfo>(AManager);
  // Held here too: the manager, and with it its slot, may go while the loop runs.
  std::shared_ptr<TdxBarDragInfo> info = slot;
  if (info->IsDragging())
    return;
  // The hooks leave keys and clicks to the drag's loop while it runs.
  TdxBarDragRunning running;
  TFinally end([&] { info->EndDrag(); });
  info->BeginDrag(AItem, ALink);
  info->RunDragLoop();
}

void ManagerDestroying(TdxBarManager* AManager)
{
  auto it = GDragInfos.find(AManager);
  if (it == GDragInfos.end())
    return;
  std::shared_ptr<TdxBarDragInfo> info = it->second;
  GDragInfos.erase(it);
  if (info)
    info->ManagerDestroying();
}

bool KeepDragWindow(TdxBarManager* AManager, HWND AWnd)
{
  std::shared_ptr<TdxBarDragInfo> info = dxBarFindDragInfo(AManager);
  return info && info->KeepWindow(AWnd);
}

}  // namespace

void dxBarInstallDragAndDrop()
{
  if (GInstalled)
    return;
  GInstalled = true;
  TdxBarCustomizingServices services = dxBarCustomizingServices();
  services.DragAndDrop = &DragAndDrop;
  services.IsDragging = [](const TdxBarManager* AManager) {
    auto info = dxBarFindDragInfo(AManager);
    return info && info->IsDragging();
  };
  services.GetDraggingItem = [](const TdxBarManager* AManager) -> TdxBarItem* {
    auto info = dxBarFindDragInfo(AManager);
    return info ? info->GetDraggedItem() : nullptr;
  };
  services.GetDraggingItemLink = [](const TdxBarManager* AManager) -> TdxBarItemLink* {
    auto info = dxBarFindDragInfo(AManager);
    return info ? info->GetDraggedLink() : nullptr;
  };
  services.ManagerDestroying = &ManagerDestroying;
  services.KeepDragWindow = &KeepDragWindow;
  SetdxBarCustomizingServices(std::move(services));
}

void dxBarUninstallDragAndDrop()
{
  if (!GInstalled)
    return;
  GInstalled = false;
  for (auto& [manager, info] : GDragInfos)
    if (info)
      info->ManagerDestroying();
  GDragInfos.clear();
}
