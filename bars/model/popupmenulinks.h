// Popup-menu links: which popup menu of the bar library opens for a control's context
// menu and which popup menus take part in shortcut handling. A link hooks the linked
// control's window procedure and takes the hook off again when it lets the control go.
#pragma once

#include <functional>

#include "platform/Collection.h"
#include "platform/Controls.h"
#include "platform/Menus.h"

class TdxBarManager;
class TdxBarPopupMenuLink;

// Sender is the link; X and Y are in the control's client coordinates, (-1, -1) for a
// menu asked for from the keyboard.
using TdxBarPopupMenuLinkActionEvent =
    TEvent<void(TdxBarPopupMenuLink* Sender, int& X, int& Y, bool ClickedByMouse, bool& AllowPopup)>;

// What the links need of the popup-menu component, which plugs them in when it joins
// the library: showing a menu at a screen point (true when it was shown), and clicking
// the item of a menu that has a shortcut (true when one was found). Until then nothing
// is shown and no shortcut is taken.
struct TdxBarPopupMenuLinkServices {
  std::function<bool(TComponent* PopupMenu, const TPoint& ScreenPos)> Popup;
  std::function<bool(TComponent* PopupMenu, TShortCut ShortCut)> ClickShortCut;
};
// Installs new services and returns the previous ones.
TdxBarPopupMenuLinkServices SetdxBarPopupMenuLinkServices(TdxBarPopupMenuLinkServices Services);

class TdxBarPopupMenuLink : public TCollectionItem {
  DECLARE_CLASS(TdxBarPopupMenuLink, TCollectionItem)
public:
  explicit TdxBarPopupMenuLink(TCollection* Collection);
  // Gives the control its window procedure back.
  ~TdxBarPopupMenuLink() override;

  // Takes the other link's control and popup menu by name from the components of this
  // manager's owner, and its ProcessChildren.
  void Assign(TPersistent* Source) override;

  TControl* GetControl() const { return FControl; }
  // A control outside the manager's owner is taken as none. The old control gets its
  // window procedure back; the new one is hooked and tells the manager when it is freed.
  void SetControl(TControl* Value);
  // The popup menu (the popup-menu component once it exists; the manager clears it when
  // the component is freed).
  TComponent* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  bool GetProcessChildren() const { return FProcessChildren; }
  void SetProcessChildren(bool Value) { FProcessChildren = Value; }

  TdxBarManager* GetBarManager() const;
  // Runs OnAction and shows the popup menu at the control's client point when allowed;
  // true when the menu was shown.
  virtual bool Popup(TPoint MousePos);
  // Asks OnAction as for a keyboard menu and, when allowed, looks for the shortcut among
  // the popup menu's items; true when one was taken.
  bool ProcessShortCut(TShortCut ShortCut);

  TdxBarPopupMenuLinkActionEvent OnAction;

  // The link's part of the control's window procedure; Next is what comes after it.
  void HookWndProc(TMessage& Message, const std::function<void(TMessage&)>& Next);

private:
  void ControlContextPopup(TObject* Sender, TPoint MousePos, bool& Handled);

  TControl* FControl = nullptr;
  TComponent* FPopupMenu = nullptr;
  bool FProcessChildren = true;
  // The control's own context-popup handler while a context menu is being handled, and
  // whether the link's handler stands in for it meanwhile.
  TContextPopupEvent FSavedContextPopup;
  bool FLending = false;
};

class TdxBarPopupMenuLinks : public TOwnedCollection {
  DECLARE_CLASS(TdxBarPopupMenuLinks, TOwnedCollection)
public:
  explicit TdxBarPopupMenuLinks(TdxBarManager* AOwner);

  TdxBarPopupMenuLink* Add() { return static_cast<TdxBarPopupMenuLink*>(TCollection::Add()); }
  TdxBarPopupMenuLink* GetItem(int Index) const { return static_cast<TdxBarPopupMenuLink*>(Items(Index)); }
  TdxBarManager* GetBarManager() const { return FBarManager; }

  // Whether any link refers to the component as its control / popup menu.
  bool UsesControl(TControl* AControl) const;
  // Clears the component from every link's Control and PopupMenu (it is being freed).
  void RemoveComponent(TComponent* AComponent);
  // Links of the focused control first, then links with ProcessChildren whose windowed
  // control contains it; true when one took the shortcut.
  bool ProcessShortCut(TControl* Focused, TShortCut ShortCut);

private:
  TdxBarManager* FBarManager;
};

// The links of the manager take the shortcut first; when none does, the manager of the
// window that contains the manager's owner is asked, and so on outwards.
bool dxBarProcessPopupMenuLinksShortCut(TdxBarManager* AManager, TControl* Focused, TShortCut ShortCut);

// How many controls have the links' window-procedure hook in place (for checks).
int dxBarHookedControlCount();
