// The popup menu component: construction and the manager it belongs to, fonts, showing the
// menu window with its own message loop or without waiting, the drop-down interface, and
// the services that plug it into the popup-menu links and the hooks at start-up.
#include "bars/menus/popupmenu.h"

#include "platform/Win.h"

#include <algorithm>
#include <vector>

#include "bars/utils/dxBarStrs.h"
#include "bars/keyboard/hooks.h"
#include "bars/model/manager.h"
#include "bars/model/popupmenulinks.h"
#include "bars/model/startup.h"
#include "bars/utils/utils.h"
#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/Messages.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarCustomPopupMenu, TdxBarComponent)

PUBLISHED(TdxBarPopupMenu, TdxBarCustomPopupMenu)
{
  using M = TdxBarPopupMenu;
  p.Object(L"BackgroundBitmap", &M::GetBackgroundBitmap, &M::SetBackgroundBitmap);
  p.Component(L"BarManager", &M::GetBarManager, &M::SetBarManager);
  p.Prop(L"BarSize", &M::GetBarSize, &M::SetBarSize).Default(0);
  p.Object(L"Font", &M::GetFont, &M::SetFont).Stored(&M::IsFontStored);
  p.Object(L"ItemLinks", &M::GetItemLinks, &M::SetItemLinks);
  p.Object(L"ItemOptions", &M::GetItemOptions, &M::SetItemOptions);
  p.Prop(L"UseOwnFont", &M::GetUseOwnFont, &M::SetUseOwnFont).Default(false);
  p.Prop(L"UseRecentItems", &M::GetUseRecentItems, &M::SetUseRecentItems).Default(false);
  p.Event(L"OnCloseUp", &M::OnCloseUp, &M::OnCloseUp);
  p.Event(L"OnPaintBar", &M::OnPaintBar, &M::OnPaintBar);
  p.Event(L"OnPopup", &M::OnPopup, &M::OnPopup);
}

namespace {

// The thread message that wakes a loop waiting in GetMessage after its menu closed from
// inside it (a hook or a sent message closed it, and the input that did so was eaten).
UINT WakeUpMessage()
{
  static const UINT message = ::RegisterWindowMessageW(L"dxBarPopupMenuWakeUp");
  return message;
}
int GPendingWakeUps = 0;

bool IsWakeUp(const MSG& AMsg)
{
  return AMsg.message == WakeUpMessage() && !AMsg.hwnd;
}

void PostWakeUp()
{
  if (::PostThreadMessageW(::GetCurrentThreadId(), WakeUpMessage(), 0, 0))
    ++GPendingWakeUps;
}

// Wake-ups that no loop took any more leave the queue.
void DrainWakeUps()
{
  MSG msg;
  while (GPendingWakeUps > 0 &&
         ::PeekMessageW(&msg, HWND(-1), WakeUpMessage(), WakeUpMessage(), PM_REMOVE | PM_NOYIELD))
    --GPendingWakeUps;
  GPendingWakeUps = 0;
}

TComponent* CheckManagersExist(TComponent* AOwner)
{
  TdxBarManagerList* list = dxBarManagerList();
  if (!list || list->Count() == 0)
    throw Exception(GetResourceString(sdxBarNoManagers));
  return AOwner;
}

TdxBarManager* ManagerForOwner(TComponent* AOwner)
{
  if (TdxBarManager* manager = GetBarManagerByOwner(AOwner))
    return manager;
  TdxBarManagerList* list = dxBarManagerList();
  return list && list->Count() > 0 ? list->GetItem(0) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Life and death

// The check runs before the component exists, so a refused menu leaves nothing behind.
TdxBarCustomPopupMenu::TdxBarCustomPopupMenu(TComponent* AOwner) : TdxBarComponent(CheckManagersExist(AOwner))
{
  FBackgroundBitmap = std::make_unique<TBitmap>();
  TdxBarManager* manager = ManagerForOwner(AOwner);
  FOwnFont = std::make_unique<TdxBarOwnFont>([this] { FontChanged(); });
  if (manager)
    FOwnFont->AssignQuietly(manager->GetFont());
  FItemLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(manager, static_cast<IdxBarLinksOwner*>(this));
  FItemLinks->SetUseRecentItems(false);
  AttachToManager(manager);
}

TdxBarCustomPopupMenu::~TdxBarCustomPopupMenu()
{
  DetachFromManager();
  // The links close an open window with them.
  FItemLinks.reset();
  FOwnFont.reset();
  FBackgroundBitmap.reset();
}

void TdxBarCustomPopupMenu::BeforeDestruction()
{
  TdxBarComponent::BeforeDestruction();
  // A window closed by the menu's own freeing tells no one: there is no one left to tell.
  if (auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetBarControl())) {
    menu->OnBeforePopup = nullptr;
    menu->OnCloseUp = nullptr;
  }
  FShowing = false;
  if (FLoopDepth > 0)
    PostWakeUp();
}

void TdxBarCustomPopupMenu::Loaded()
{
  TdxBarComponent::Loaded();
  TWeakRef<TdxBarManager> manager(GetBarManager());
  if (manager)
    manager->LockDesignerModified(true);
  TFinally unlock([manager] {
    if (TdxBarManager* m = manager.Get())
      m->LockDesignerModified(false, false);
  });
  FItemLinks->Loaded();
}

TClass TdxBarCustomPopupMenu::GetSubMenuControlClass() const
{
  return TdxBarSubMenuControl::StaticClass();
}

TClass TdxBarCustomPopupMenu::GetItemLinksClass() const
{
  return TdxBarSubMenuControlItemLinks::StaticClass();
}

TCustomdxBarControl* TdxBarCustomPopupMenu::CreateBarControl()
{
  TdxBarManager* manager = GetBarManager();
  TClass windowClass = GetSubMenuControlClass();
  if (!manager || !windowClass)
    return nullptr;
  TObject* window = windowClass->Create(manager);
  if (auto* bar = dynamic_cast<TCustomdxBarControl*>(window))
    return bar;
  if (window)
    window->Free();
  return nullptr;
}

void TdxBarCustomPopupMenu::DoPaintBar(TcxCanvas* ACanvas, const TRect& R)
{
  CallEvent(OnPaintBar, this, ACanvas, R);
}

void TdxBarCustomPopupMenu::DrawSideStrip(TdxBarSubMenuControl* AMenu, TcxCanvas* ACanvas, const TRect& R)
{
  DoPaintBar(ACanvas, R);
}

// ---------------------------------------------------------------------------
// The manager

void TdxBarCustomPopupMenu::AttachToManager(TdxBarManager* AManager)
{
  TdxBarComponent::SetBarManager(AManager);
  if (!AManager)
    return;
  if (TdxBarComponentList* list = AManager->GetPopupMenuList())
    list->Add(this);
  AManager->FontChangedHandlers().Add(TNotifyEvent(this, &TdxBarCustomPopupMenu::ManagerFontChanged));
  FListedIn = AManager;
}

void TdxBarCustomPopupMenu::DetachFromManager()
{
  TdxBarManager* manager = FListedIn.Get();
  FListedIn = nullptr;
  if (!manager)
    return;
  if (TdxBarComponentList* list = manager->GetPopupMenuList(); list && !list->IsDestroying())
    list->Remove(this);
  manager->FontChangedHandlers().Remove(TNotifyEvent(this, &TdxBarCustomPopupMenu::ManagerFontChanged));
}

void TdxBarCustomPopupMenu::SetBarManager(TdxBarManager* Value)
{
  if (!Value || Value == GetBarManager())
    return;
  DetachFromManager();
  AttachToManager(Value);
  FItemLinks->SetBarManager(Value);
  ManagerFontChanged(Value);
}

void TdxBarCustomPopupMenu::NotifyDesigner()
{
  const TComponentState state = ComponentState();
  if (!state.Contains(csDesigning) || state.Contains(csLoading) || state.Contains(csDestroying) ||
      state.Contains(csUpdating))
    return;
  if (TdxBarManager* manager = GetBarManager())
    manager->DesignerModified();
}

bool TdxBarCustomPopupMenu::NotifyOwnDesigner()
{
  NotifyDesigner();
  return true;
}

// ---------------------------------------------------------------------------
// Properties

void TdxBarCustomPopupMenu::SetBackgroundBitmap(TBitmap* Value)
{
  FBackgroundBitmap->Assign(Value);
}

void TdxBarCustomPopupMenu::SetBarSize(int Value)
{
  Value = std::max(Value, 0);
  if (FBarSize == Value)
    return;
  FBarSize = Value;
  if (TCustomdxBarControl* window = GetBarControl())
    window->RebuildBar();
}

void TdxBarCustomPopupMenu::SetItemLinks(TdxBarItemLinks* Value)
{
  if (Value && Value != FItemLinks.get())
    FItemLinks->Assign(Value);
}

TdxBarItemOptions* TdxBarCustomPopupMenu::GetItemOptions() const
{
  return FItemLinks->GetItemOptions();
}

void TdxBarCustomPopupMenu::SetItemOptions(TdxBarItemOptions* Value)
{
  if (Value)
    FItemLinks->SetItemOptions(Value);
}

bool TdxBarCustomPopupMenu::GetUseRecentItems() const
{
  return FItemLinks->GetUseRecentItems();
}

void TdxBarCustomPopupMenu::SetUseRecentItems(bool Value)
{
  FItemLinks->SetUseRecentItems(Value);
}

// ---------------------------------------------------------------------------
// Fonts

void TdxBarCustomPopupMenu::SetFont(TFont* Value)
{
  if (Value)
    GetFont()->Assign(Value);
}

TFont* TdxBarCustomPopupMenu::GetRealFont() const
{
  if (GetUseOwnFont())
    return FOwnFont->GetWorkingFont();
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetFont() : GetFont();
}

void TdxBarCustomPopupMenu::SetUseOwnFont(bool Value)
{
  TdxBarManager* manager = GetBarManager();
  FOwnFont->SetUseOwnFont(Value, manager ? manager->GetFont() : nullptr);
}

void TdxBarCustomPopupMenu::FontChanged()
{
  if (TCustomdxBarControl* window = GetBarControl())
    window->GetFont()->Assign(GetRealFont());
}

void TdxBarCustomPopupMenu::ManagerFontChanged(TObject*)
{
  TdxBarManager* manager = GetBarManager();
  FOwnFont->FollowManager(manager ? manager->GetFont() : nullptr);
}

// ---------------------------------------------------------------------------
// Showing

TCustomdxBarControl* TdxBarCustomPopupMenu::GetBarControl() const
{
  return FItemLinks ? FItemLinks->GetBarControl() : nullptr;
}

bool TdxBarCustomPopupMenu::Popup(int X, int Y)
{
  if (GetBarControl())
    return false;
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return false;
  TWeakRef<TdxBarCustomPopupMenu> self(this);
  // Whatever mouse mode the active form or a captured window is in ends before the menu shows.
  if (HWND active = ::GetActiveWindow())
    if (TWinControl* control = FindControl(active))
      if (TCustomForm* form = control->AsForm())
        form->SendCancelMode(nullptr);
  if (!self)
    return false;
  if (!manager->IsCustomizing())
    if (HWND capture = ::GetCapture()) {
      ::SendMessageW(capture, CM_CANCELMODE, 0, 0);
      ::ReleaseCapture();
    }
  if (!self)
    return false;
  FItemLinks->CreateBarControl();
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetBarControl());
  if (!menu) {
    FItemLinks->DestroyBarControl();
    return false;
  }
  // Read after the menu may be gone: the window opened whatever became of the menu since.
  bool shown = false;
  FShownFlag = &shown;
  TFinally unwatch([&self] {
    if (TdxBarCustomPopupMenu* m = self.Get())
      m->FShownFlag = nullptr;
  });
  ShowWindow(menu, X, Y);
  if (self && FOptions.Synchronous)
    RunMessageLoop();
  return shown;
}

void TdxBarCustomPopupMenu::ShowWindow(TdxBarSubMenuControl* AMenu, int X, int Y)
{
  TWeakRef<TdxBarCustomPopupMenu> self(this);
  AMenu->SetBounds(X, Y, 0, 0);
  if (TCustomdxBarControl* parent = FOptions.ParentBar.Get())
    parent->SetSubMenuControl(AMenu);
  AMenu->SetOwnerItemControl(FOptions.OwnerControl.Get());
  if (const std::optional<TRect>& exclude = FOptions.ExcludeRect) {
    // Opened below the rectangle the menu jumps over its height where it does not fit, opened
    // beside it over its width.
    if (Y >= exclude->bottom)
      AMenu->SetOwnerHeight(RectHeight(*exclude));
    else
      AMenu->SetOwnerWidth(RectWidth(*exclude));
  } else {
    AMenu->SetOwnerWidth(FOptions.OwnerWidth);
    AMenu->SetOwnerHeight(FOptions.OwnerHeight);
  }
  AMenu->SetPrefersRight((FOptions.AlignmentFlags & dxBarPopupPrefersLeft) == 0);
  AMenu->SetPrefersDown((FOptions.AlignmentFlags & dxBarPopupPrefersUp) == 0);
  if (auto* owner = dynamic_cast<TWinControl*>(Owner()); owner && owner->HandleAllocated())
    AMenu->SetExplicitParentWindow(owner->GetHandle());
  // Without a font of its own the menu writes as the bar it drops from, else as the manager.
  AMenu->SetOwnFont(GetUseOwnFont() ? GetRealFont() : nullptr);
  AMenu->OnBeforePopup = TNotifyEvent(this, &TdxBarCustomPopupMenu::WindowPopup);
  AMenu->OnCloseUp = TNotifyEvent(this, &TdxBarCustomPopupMenu::WindowCloseUp);
  AMenu->SetAnimate(FOptions.Animate);
  try {
    AMenu->Popup();
  } catch (...) {
    // A menu that failed to show does not stay half open.
    if (self)
      CloseWindow();
    throw;
  }
}

void TdxBarCustomPopupMenu::WindowPopup(TObject*)
{
  FShowing = true;
  if (FShownFlag)
    *FShownFlag = true;
  CallEvent(OnPopup, this);
}

void TdxBarCustomPopupMenu::WindowCloseUp(TObject*)
{
  FShowing = false;
  if (FLoopDepth > 0)
    PostWakeUp();
  // The hint of the entry under the pointer goes with the menu, as the platform's own menus do.
  if (Application)
    Application->SetHint(String());
  CallEvent(OnCloseUp, this);
}

// Waits until the menu closes. Every message of the thread is handled meanwhile, except
// that commands are held until the menu has closed rather than run under it or dropped.
// The message that closed the menu from outside goes back to its window, so that the click
// or key reaches it after Popup returns. A quit message ends the wait and stays for the
// application's loop. The menu or its form may be freed by any message handled here.
void TdxBarCustomPopupMenu::RunMessageLoop()
{
  TWeakRef<TdxBarCustomPopupMenu> self(this);
  ++FLoopDepth;
  std::vector<MSG> commands;
  TFinally leave([&] {
    if (TdxBarCustomPopupMenu* menu = self.Get())
      --menu->FLoopDepth;
    DrainWakeUps();
    for (const MSG& command : commands)
      ::PostMessageW(command.hwnd, command.message, command.wParam, command.lParam);
  });
  auto open = [&self] {
    TdxBarCustomPopupMenu* menu = self.Get();
    return menu && menu->FShowing && menu->GetBarControl();
  };
  MSG msg;
  while (open()) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // Popup returns with its menu closed: what the program does next (quit, most
      // likely) must not meet a menu still waiting for a choice.
      if (TdxBarCustomPopupMenu* menu = self.Get())
        menu->CloseWindow();
      if (got == 0)
        ::PostQuitMessage(int(msg.wParam));
      return;
    }
    if (IsWakeUp(msg)) {
      --GPendingWakeUps;
      continue;
    }
    if (!open()) {
      ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
      return;
    }
    if (msg.message == WM_COMMAND) {
      commands.push_back(msg);
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool TdxBarCustomPopupMenu::PopupWith(int X, int Y, TPopupOptions AOptions)
{
  TWeakRef<TdxBarCustomPopupMenu> self(this);
  FOptions = std::move(AOptions);
  TFinally restore([&self] {
    if (TdxBarCustomPopupMenu* menu = self.Get())
      menu->FOptions = TPopupOptions{};
  });
  return Popup(X, Y);
}

void TdxBarCustomPopupMenu::PopupWithOptions(int X, int Y, uint32_t AAlignmentFlags, bool ASynchronous,
                                             const std::optional<TRect>& AExcludeRect, bool AAnimate, int AOwnerWidth,
                                             int AOwnerHeight)
{
  TPopupOptions options;
  options.AlignmentFlags = AAlignmentFlags;
  options.Synchronous = ASynchronous;
  options.ExcludeRect = AExcludeRect;
  options.Animate = AAnimate;
  options.OwnerWidth = AOwnerWidth;
  options.OwnerHeight = AOwnerHeight;
  PopupWith(X, Y, std::move(options));
}

void TdxBarCustomPopupMenu::PopupAtCursor()
{
  POINT p{};
  if (::GetCursorPos(&p))
    Popup(p.x, p.y);
}

// ---------------------------------------------------------------------------
// Drop-down

TCustomdxBarControl* TdxBarCustomPopupMenu::DropDownMenu(TdxBarItemControl* AOwnerControl, const TPoint& P,
                                                         const TRect& AExcludeRect, TCustomdxBarControl* AParentBar)
{
  TWeakRef<TdxBarCustomPopupMenu> self(this);
  TPopupOptions options;
  options.Synchronous = false;
  options.ExcludeRect = AExcludeRect;
  options.ParentBar = AParentBar;
  options.OwnerControl = AOwnerControl;
  PopupWith(P.x, P.y, std::move(options));
  return self ? GetBarControl() : nullptr;
}

void TdxBarCustomPopupMenu::CloseDropDownMenu()
{
  CloseWindow();
}

void TdxBarCustomPopupMenu::CloseWindow()
{
  TWeakRef<TdxBarCustomPopupMenu> self(this);
  FItemLinks->DestroyBarControl();
  // A window that never got its handle closes without a close-up notification.
  if (self)
    FShowing = false;
}

// ---------------------------------------------------------------------------
// Shortcuts and linking rules

bool TdxBarCustomPopupMenu::IsShortCut(uint16_t AKey, intptr_t AKeyData)
{
  const uint16_t shortCut = ShortCutFromKeyMessage(AKey, AKeyData);
  return shortCut != 0 && FItemLinks->IsShortCut(shortCut);
}

bool TdxBarCustomPopupMenu::CanContainItem(TdxBarItem* AItem, String& AErrorText)
{
  if (FItemLinks && FItemLinks->IsRecursiveItem(AItem)) {
    AErrorText = GetResourceString(sdxBarRecursiveMenusError);
    return false;
  }
  AErrorText.clear();
  return true;
}

// ---------------------------------------------------------------------------
// Process-wide services

bool IsAnyPopupMenuOpen()
{
  TdxBarManagerList* managers = dxBarManagerList();
  for (int i = 0; managers && i < managers->Count(); ++i) {
    TdxBarManager* manager = managers->GetItem(i);
    TdxBarComponentList* menus = manager->IsDestroying() ? nullptr : manager->GetPopupMenuList();
    for (int j = 0; menus && j < menus->Count(); ++j)
      if (auto* menu = dynamic_cast<TdxBarCustomPopupMenu*>(menus->GetBarComponent(j)); menu && menu->GetBarControl())
        return true;
  }
  return false;
}

bool dxBarPopupMenusShortCut(TdxBarManager* AManager, uint16_t AShortCut)
{
  TdxBarComponentList* list = AManager ? AManager->GetPopupMenuList() : nullptr;
  if (!list || AShortCut == 0)
    return false;
  // Copied: a click may free menus.
  std::vector<TWeakRef<TdxBarCustomPopupMenu>> menus;
  for (int i = 0; i < list->Count(); ++i)
    if (auto* menu = dynamic_cast<TdxBarCustomPopupMenu*>(list->GetBarComponent(i)))
      menus.emplace_back(menu);
  for (const TWeakRef<TdxBarCustomPopupMenu>& menu : menus)
    if (menu && menu->GetItemLinks()->IsShortCut(AShortCut))
      return true;
  return false;
}

namespace {

bool LinkPopup(TComponent* APopupMenu, const TPoint& AScreenPos)
{
  auto* menu = dynamic_cast<TdxBarCustomPopupMenu*>(APopupMenu);
  return menu && menu->Popup(AScreenPos.x, AScreenPos.y);
}

bool LinkShortCut(TComponent* APopupMenu, TShortCut AShortCut)
{
  auto* menu = dynamic_cast<TdxBarCustomPopupMenu*>(APopupMenu);
  return menu && AShortCut != 0 && menu->GetItemLinks()->IsShortCut(AShortCut);
}

}  // namespace

void dxBarInitializePopupMenus()
{
  RegisterClass(TdxBarPopupMenu::StaticClass());
  SetdxBarPopupMenuLinkServices({&LinkPopup, &LinkShortCut});
  TdxBarHookServices services = dxBarHookServices();
  services.PopupMenusShortCut = &dxBarPopupMenusShortCut;
  SetdxBarHookServices(services);
}

void dxBarFinalizePopupMenus()
{
  TdxBarHookServices services = dxBarHookServices();
  services.PopupMenusShortCut = nullptr;
  SetdxBarHookServices(services);
  SetdxBarPopupMenuLinkServices({});
  UnRegisterClass(TdxBarPopupMenu::StaticClass());
}
