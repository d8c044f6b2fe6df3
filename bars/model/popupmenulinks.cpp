// Popup-menu links: the hook each link puts into its control's window procedure, the
// context-menu road through it, and shortcuts routed to the links' popup menus.
#include "bars/model/popupmenulinks.h"

#include <algorithm>

#include <memory>
#include <set>
#include <vector>

#include "bars/model/manager.h"

namespace {

TdxBarPopupMenuLinkServices& Services()
{
  static TdxBarPopupMenuLinkServices services;
  return services;
}

// ---------------------------------------------------------------------------
// The hook on one control. It sits in the control's WindowProc once and passes each
// message through the links hooked on it, newest first, then to the procedure it
// replaced. Links come and go in any order without breaking what lies around them;
// the control gets the replaced procedure back when the last link goes. Should someone
// else have put a procedure above ours meanwhile (keeping ours as the one to call), ours
// cannot be taken out: it is kept, passing everything through, for the rest of the run.

class TControlHook;

std::vector<TControlHook*>& HookedControls()
{
  static std::vector<TControlHook*> hooks;
  return hooks;
}

// Never destroyed: a retired hook may still be called by whoever sits above it, up to the
// last message the control gets, so it must outlive every static destructor as well.
std::vector<TControlHook*>& RetiredHooks()
{
  static auto* retired = new std::vector<TControlHook*>;
  return *retired;
}

class TControlHook : public TComponent {
public:
  explicit TControlHook(TControl* AControl) : TComponent(nullptr), FControl(AControl)
  {
    FOriginal = AControl->GetWindowProc();
    AControl->SetWindowProc(TWndMethod(this, &TControlHook::WndProc));
    AControl->FreeNotification(this);
    HookedControls().push_back(this);
  }

  static TControlHook* Find(TControl* AControl)
  {
    for (TControlHook* hook : HookedControls())
      if (hook->FControl == AControl)
        return hook;
    return nullptr;
  }

  void Add(TdxBarPopupMenuLink* Link) { FEntries.push_back({Link, false}); }

  void Remove(TdxBarPopupMenuLink* Link)
  {
    for (TEntry& entry : FEntries)
      if (entry.Link == Link && !entry.Removed)
        entry.Removed = true;
    if (FDepth == 0)
      Collect();
  }

  void Notification(TComponent* AComponent, TOperation Operation) override
  {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent != FControl || FControlGone)
      return;
    // The control is being freed: no link is called from now on.
    FControlGone = true;
    for (TEntry& entry : FEntries)
      entry.Removed = true;
    if (FDepth == 0)
      Collect();
  }

private:
  struct TEntry {
    TdxBarPopupMenuLink* Link;
    bool Removed;
  };

  TWndMethod OwnMethod() { return TWndMethod(this, &TControlHook::WndProc); }

  void WndProc(TMessage& Message)
  {
    ++FDepth;
    TFinally leave([this] { LeaveDispatch(); });
    CallBelow(FEntries.size(), Message);
  }

  // Passes the message to the newest live link below position Top, or to the procedure
  // this hook replaced.
  void CallBelow(size_t Top, TMessage& Message)
  {
    for (size_t i = std::min(Top, FEntries.size()); i > 0; --i) {
      if (FEntries[i - 1].Removed)
        continue;
      size_t below = i - 1;
      FEntries[below].Link->HookWndProc(Message, [this, below](TMessage& M) { CallBelow(below, M); });
      return;
    }
    FOriginal(Message);
  }

  void LeaveDispatch()
  {
    if (--FDepth == 0)
      Collect();  // may free this hook: the last thing done
  }

  // Drops removed links; without links left, gives the control its procedure back and
  // frees the hook (or retires it when that cannot be done).
  void Collect()
  {
    std::erase_if(FEntries, [](const TEntry& entry) { return entry.Removed; });
    if (!FEntries.empty())
      return;
    std::erase(HookedControls(), this);
    bool onTop = FControl->GetWindowProc() == OwnMethod();
    if (onTop)
      FControl->SetWindowProc(FOriginal);
    if (!FControlGone)
      FControl->RemoveFreeNotification(this);
    if (onTop) {
      delete this;
      return;
    }
    if (std::find(RetiredHooks().begin(), RetiredHooks().end(), this) == RetiredHooks().end())
      RetiredHooks().push_back(this);
  }

  TControl* FControl;
  TWndMethod FOriginal;
  std::vector<TEntry> FEntries;  // oldest first
  int FDepth = 0;
  bool FControlGone = false;
};

void HookControl(TControl* AControl, TdxBarPopupMenuLink* Link)
{
  TControlHook* hook = TControlHook::Find(AControl);
  if (!hook)
    hook = new TControlHook(AControl);
  hook->Add(Link);
}

void UnhookControl(TControl* AControl, TdxBarPopupMenuLink* Link)
{
  if (TControlHook* hook = TControlHook::Find(AControl))
    hook->Remove(Link);
}

constexpr TPoint NoMousePos{-1, -1};

}  // namespace

TdxBarPopupMenuLinkServices SetdxBarPopupMenuLinkServices(TdxBarPopupMenuLinkServices AServices)
{
  TdxBarPopupMenuLinkServices previous = std::move(Services());
  Services() = std::move(AServices);
  return previous;
}

int dxBarHookedControlCount()
{
  return int(HookedControls().size());
}

// ---------------------------------------------------------------------------
// TdxBarPopupMenuLink

PUBLISHED(TdxBarPopupMenuLink, TCollectionItem)
{
  using L = TdxBarPopupMenuLink;
  p.Component(L"Control", &L::GetControl, &L::SetControl);
  p.Component(L"PopupMenu", &L::GetPopupMenu, &L::SetPopupMenu);
  p.Prop(L"ProcessChildren", &L::GetProcessChildren, &L::SetProcessChildren).Default(true);
  p.Event(L"OnAction", &L::OnAction);
}

TdxBarPopupMenuLink::TdxBarPopupMenuLink(TCollection* Collection) : TCollectionItem(Collection) {}

TdxBarPopupMenuLink::~TdxBarPopupMenuLink()
{
  if (FControl)
    UnhookControl(FControl, this);
  FControl = nullptr;
}

TdxBarManager* TdxBarPopupMenuLink::GetBarManager() const
{
  auto* links = dynamic_cast<TdxBarPopupMenuLinks*>(Collection());
  return links ? links->GetBarManager() : nullptr;
}

void TdxBarPopupMenuLink::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TdxBarPopupMenuLink*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  TdxBarManager* manager = GetBarManager();
  TComponent* owner = manager ? manager->Owner() : nullptr;
  TControl* control = nullptr;
  TComponent* popupMenu = nullptr;
  if (owner) {
    // The other link's owner itself has no name among the owner's components: it maps
    // to this manager's owner.
    TdxBarManager* sourceManager = source->GetBarManager();
    if (source->FControl && sourceManager && source->FControl == sourceManager->Owner())
      control = dynamic_cast<TWinControl*>(owner);
    else if (source->FControl)
      control = dynamic_cast<TWinControl*>(owner->FindComponent(source->FControl->Name()));
    if (source->FPopupMenu)
      popupMenu = owner->FindComponent(source->FPopupMenu->Name());
  }
  SetControl(control);
  SetPopupMenu(popupMenu);
  FProcessChildren = source->FProcessChildren;
}

void TdxBarPopupMenuLink::SetControl(TControl* Value)
{
  TdxBarManager* manager = GetBarManager();
  if (Value) {
    TWinControl* parent = manager ? manager->GetParentControl() : nullptr;
    if (!parent || !parent->ContainsControl(Value))
      Value = nullptr;
  }
  if (FControl == Value)
    return;
  if (FControl) {
    UnhookControl(FControl, this);
    FControl = nullptr;
  }
  if (Value) {
    // The manager clears the link when the control is freed. Its notification stays
    // in place afterwards: hearing of a control no link uses any more costs nothing.
    if (manager)
      Value->FreeNotification(manager);
    HookControl(Value, this);
    FControl = Value;
  }
}

void TdxBarPopupMenuLink::SetPopupMenu(TComponent* Value)
{
  if (FPopupMenu == Value)
    return;
  FPopupMenu = Value;
  if (Value)
    if (TdxBarManager* manager = GetBarManager())
      Value->FreeNotification(manager);
}

void TdxBarPopupMenuLink::HookWndProc(TMessage& Message, const std::function<void(TMessage&)>& Next)
{
  TControl* control = FControl;
  if (Message.Msg != WM_CONTEXTMENU || !control || control->ComponentState().Contains(csDesigning)) {
    Next(Message);
    return;
  }
  // A context menu asked for again while the first is handled (the popup menu's own loop
  // runs inside it) finds the handler lent already: lending it again would save the link's
  // handler as the control's own, and the link would call itself for ever.
  if (FLending) {
    Next(Message);
    return;
  }
  // The control's own handler is lent to the link while the control handles the message;
  // both are put back whatever happens, and whoever of the two is freed meanwhile.
  TWeakRef<TdxBarPopupMenuLink> self(this);
  TWeakRef<TControl> controlRef(control);
  TContextPopupEvent own = control->OnContextPopup;
  FSavedContextPopup = own;
  control->OnContextPopup = TContextPopupEvent(this, &TdxBarPopupMenuLink::ControlContextPopup);
  FLending = true;
  TFinally restore([&] {
    if (TControl* c = controlRef.Get())
      c->OnContextPopup = own;
    if (TdxBarPopupMenuLink* link = self.Get()) {
      link->FSavedContextPopup = nullptr;
      link->FLending = false;
    }
  });
  Next(Message);
}

void TdxBarPopupMenuLink::ControlContextPopup(TObject* Sender, TPoint MousePos, bool& Handled)
{
  TWeakRef<TdxBarPopupMenuLink> self(this);
  TContextPopupEvent own = FSavedContextPopup;  // a copy: the handler may free the link
  CallEvent(own, Sender, MousePos, Handled);
  if (Handled || !self.Get() || !FControl)
    return;
  // A child's own menu applies when the link does not speak for the children.
  if (!FProcessChildren)
    if (auto* container = dynamic_cast<TWinControl*>(FControl))
      if (container->ControlAtPos(MousePos, false, true))
        return;
  Handled = Popup(MousePos);
}

bool TdxBarPopupMenuLink::Popup(TPoint MousePos)
{
  bool clickedByMouse = !(MousePos.x == NoMousePos.x && MousePos.y == NoMousePos.y);
  bool allowPopup = FPopupMenu != nullptr;
  int x = MousePos.x;
  int y = MousePos.y;
  TWeakRef<TdxBarPopupMenuLink> self(this);
  TdxBarPopupMenuLinkActionEvent action = OnAction;  // a copy: the handler may free the link
  CallEvent(action, this, x, y, clickedByMouse, allowPopup);
  if (!self.Get() || !allowPopup || !FPopupMenu || !FControl)
    return false;
  TPoint screen = FControl->ClientToScreen(Point(x, y));
  auto popup = Services().Popup;  // a copy: the call may install other services
  return popup && popup(FPopupMenu, screen);
}

bool TdxBarPopupMenuLink::ProcessShortCut(TShortCut ShortCut)
{
  bool allowPopup = FPopupMenu != nullptr;
  int x = NoMousePos.x;
  int y = NoMousePos.y;
  TWeakRef<TdxBarPopupMenuLink> self(this);
  TdxBarPopupMenuLinkActionEvent action = OnAction;
  CallEvent(action, this, x, y, false, allowPopup);
  if (!self.Get() || !allowPopup || !FPopupMenu)
    return false;
  auto click = Services().ClickShortCut;
  return click && click(FPopupMenu, ShortCut);
}

// ---------------------------------------------------------------------------
// TdxBarPopupMenuLinks

PUBLISHED(TdxBarPopupMenuLinks, TOwnedCollection) {}

TdxBarPopupMenuLinks::TdxBarPopupMenuLinks(TdxBarManager* AOwner)
    : TOwnedCollection(AOwner, TdxBarPopupMenuLink::StaticClass()), FBarManager(AOwner)
{
}

bool TdxBarPopupMenuLinks::UsesControl(TControl* AControl) const
{
  for (int i = 0; i < Count(); ++i)
    if (GetItem(i)->GetControl() == AControl)
      return true;
  return false;
}

void TdxBarPopupMenuLinks::RemoveComponent(TComponent* AComponent)
{
  if (!AComponent)
    return;
  for (int i = 0; i < Count(); ++i) {
    TdxBarPopupMenuLink* link = GetItem(i);
    if (link->GetControl() == AComponent)
      link->SetControl(nullptr);
    if (link->GetPopupMenu() == AComponent)
      link->SetPopupMenu(nullptr);
  }
}

bool TdxBarPopupMenuLinks::ProcessShortCut(TControl* Focused, TShortCut ShortCut)
{
  if (!Focused)
    return false;
  // An OnAction handler may delete links: every step re-checks the count.
  for (int i = 0; i < Count(); ++i)
    if (GetItem(i)->GetControl() == Focused && GetItem(i)->ProcessShortCut(ShortCut))
      return true;
  for (int i = 0; i < Count(); ++i) {
    TdxBarPopupMenuLink* link = GetItem(i);
    auto* container = dynamic_cast<TWinControl*>(link->GetControl());
    if (link->GetProcessChildren() && container && container != Focused && container->ContainsControl(Focused) &&
        link->ProcessShortCut(ShortCut))
      return true;
  }
  return false;
}

bool dxBarProcessPopupMenuLinksShortCut(TdxBarManager* AManager, TControl* Focused, TShortCut ShortCut)
{
  std::set<TdxBarManager*> asked;
  while (AManager && asked.insert(AManager).second) {
    if (TdxBarPopupMenuLinks* links = AManager->GetPopupMenuLinks())
      if (links->ProcessShortCut(Focused, ShortCut))
        return true;
    // The manager of the nearest window around the owner is next.
    TdxBarManager* outer = nullptr;
    TWinControl* owner = AManager->GetParentControl();
    TWinControl* parent = owner ? owner->GetParent() : nullptr;
    if (owner && !parent && owner->GetParentWindow())
      parent = FindControl(owner->GetParentWindow());
    while (parent && !outer) {
      outer = GetBarManagerByOwner(parent);
      if (!outer) {
        TWinControl* next = parent->GetParent();
        if (!next && parent->GetParentWindow())
          next = FindControl(parent->GetParentWindow());
        parent = next;
      }
    }
    AManager = outer;
  }
  return false;
}

// ---------------------------------------------------------------------------
// The manager's links

void TdxBarManager::SetPopupMenuLinks(TdxBarPopupMenuLinks* Value)
{
  if (Value && FPopupMenuLinks)
    FPopupMenuLinks->Assign(Value);
}
