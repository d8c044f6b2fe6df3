// The bars' accessibility helpers: the kinds of element, the registry that makes and keeps
// them, key tips and the tree order that keyboard navigation follows.
#include "bars/accessibility/baraccessibility.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

#include "bars/menus/appmenu.h"
#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/model/startup.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/menus/submenu.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "platform/Threads.h"

namespace {

// Key tips keep to this many characters before they are told apart.
constexpr size_t KeyTipMaxLength = 3;
// Every pass of the uniqueness rule only lengthens texts; the cap is insurance.
constexpr int KeyTipUniquePassLimit = 16;

String UpperText(String AText)
{
  if (!AText.empty())
    CharUpperBuffW(AText.data(), DWORD(AText.size()));
  return AText;
}

TRect WindowScreenRect(TWinControl* AControl)
{
  RECT r{};
  if (AControl && AControl->HandleAllocated() && IsWindowVisible(AControl->GetHandle()))
    ::GetWindowRect(AControl->GetHandle(), &r);
  return r;
}

bool IsWindowShown(TWinControl* AControl)
{
  return AControl && AControl->HandleAllocated() && IsWindowVisible(AControl->GetHandle());
}

TPoint RectCentre(const TRect& R)
{
  return TPoint{R.left + (R.right - R.left) / 2, R.top + (R.bottom - R.top) / 2};
}

// An action a client asks for runs from the message loop, not inside the client's call: a
// click may open a menu with a loop of its own, or free the element that was asked. A user's
// OnClick that raises is reported as a click by the pointer would be.
void DeferAction(std::function<void()> AAction)
{
  RunLater(std::move(AAction));
}

// --- Kinds of element

class TdxDockControlAccessibilityHelper;
class TCustomdxBarControlAccessibilityHelper;
class TdxBarCaptionButtonsAccessibilityHelper;

TdxBarAccessibilityHelper* HelperOf(TObject* AOwner)
{
  return dxBarGetAccessibilityHelper(AOwner);
}

class TdxDockControlAccessibilityHelper : public TdxBarAccessibilityHelper {
public:
  explicit TdxDockControlAccessibilityHelper(TdxDockControl* ADock) : TdxBarAccessibilityHelper(ADock), FDock(ADock) {}
  TdxBarManager* GetBarManager() override { return FDock ? FDock->GetBarManager() : nullptr; }
  TCustomdxBarControl* GetOwnerControl() override { return nullptr; }
  std::vector<TdxBarControl*> BarControls()
  {
    std::vector<TdxBarControl*> result;
    TdxDockControl* dock = FDock.Get();
    for (int r = 0; dock && r < dock->GetRowCount(); ++r)
      if (TdxDockRow* row = dock->GetRow(r))
        for (int c = 0; c < row->GetColCount(); ++c)
          if (TdxBarControl* control = row->GetCol(c)->GetBarControl())
            result.push_back(control);
    return result;
  }
  int GetChildCount() override { return int(BarControls().size()); }
  std::vector<TdxBarAccessibilityHelper*> GetBarChildren() override
  {
    std::vector<TdxBarAccessibilityHelper*> result;
    for (TdxBarControl* control : BarControls())
      result.push_back(HelperOf(control));
    return result;
  }
  TcxAccessibilityHelper* GetChild(int AIndex) override { return ChildAt(AIndex); }
  HWND GetOwnerObjectWindow() override { return FDock && FDock->HandleAllocated() ? FDock->GetHandle() : nullptr; }
  TRect GetScreenBounds(int) override { return WindowScreenRect(FDock.Get()); }
  int GetState(int) override { return IsWindowShown(FDock.Get()) ? 0 : STATE_SYSTEM_INVISIBLE; }
  int GetRole(int) override { return ROLE_SYSTEM_GROUPING; }
  int GetSupportedProperties(int) override { return cxAccessibleLocation; }

private:
  TWeakRef<TdxDockControl> FDock;
};

class TCustomdxBarControlAccessibilityHelper : public TdxBarAccessibilityHelper {
public:
  explicit TCustomdxBarControlAccessibilityHelper(TCustomdxBarControl* ABar)
      : TdxBarAccessibilityHelper(ABar), FBar(ABar)
  {
  }
  TdxBarManager* GetBarManager() override { return FBar ? FBar->GetBarManager() : nullptr; }
  TCustomdxBarControl* GetOwnerControl() override { return FBar.Get(); }
  // Navigation stays out of a window whose selected control is editing.
  bool CanNavigateToChildren() override { return FBar && !FBar->IsEditorEditing(); }
  virtual std::vector<TdxBarItemControl*> ItemControls()
  {
    std::vector<TdxBarItemControl*> result;
    TdxBarItemLinks* links = FBar ? FBar->GetItemLinks() : nullptr;
    if (links)
      for (TdxBarItemLink* link : links->GetShownItems())
        if (TdxBarItemControl* control = link->GetControl())
          result.push_back(control);
    return result;
  }
  int GetChildCount() override { return int(ItemControls().size()); }
  std::vector<TdxBarAccessibilityHelper*> GetBarChildren() override
  {
    std::vector<TdxBarAccessibilityHelper*> result;
    for (TdxBarItemControl* control : ItemControls())
      result.push_back(HelperOf(control));
    return result;
  }
  TcxAccessibilityHelper* GetChild(int AIndex) override { return ChildAt(AIndex); }
  HWND GetOwnerObjectWindow() override { return FBar && FBar->HandleAllocated() ? FBar->GetHandle() : nullptr; }
  TRect GetScreenBounds(int) override { return WindowScreenRect(FBar.Get()); }
  int GetState(int) override { return IsWindowShown(FBar.Get()) ? 0 : STATE_SYSTEM_INVISIBLE; }
  int GetRole(int) override
  {
    return FBar && FBar->GetKind() == bckSubMenu ? ROLE_SYSTEM_MENUPOPUP : ROLE_SYSTEM_TOOLBAR;
  }
  String GetName(int) override { return FBar ? StripAccelChars(FBar->GetBarCaptionText()) : String(); }
  int GetSupportedProperties(int) override { return cxAccessibleLocation; }

protected:
  TWeakRef<TCustomdxBarControl> FBar;
};

// A button of a floating toolbar's caption: one of the bar's caption buttons, or its close
// button (no button object; the bar stands for it).
class TdxBarCaptionButtonAccessibilityHelper : public TdxBarAccessibilityHelper {
public:
  TdxBarCaptionButtonAccessibilityHelper(TdxBarCaptionButton* AButton, TdxBarControl* ABar)
      : TdxBarAccessibilityHelper(AButton ? static_cast<TObject*>(AButton) : ABar),
        FButton(AButton),
        FBar(ABar),
        FIsClose(!AButton)
  {
  }
  TdxBarManager* GetBarManager() override { return FBar ? FBar->GetBarManager() : nullptr; }
  TCustomdxBarControl* GetOwnerControl() override { return FBar.Get(); }
  TcxAccessibilityHelper* GetParent() override;
  bool IsSelectable() override { return IsVisible(); }
  TRect GetScreenBounds(int) override
  {
    TRect r = FIsClose ? (FBar ? FBar->GetCloseButtonRect() : TRect{}) : FButton ? FButton->GetRect() : TRect{};
    const TRect window = WindowScreenRect(FBar.Get());
    if (::IsRectEmpty(&r) || ::IsRectEmpty(&window))
      return TRect{};
    OffsetRect(&r, window.left, window.top);
    return r;
  }
  int GetState(int) override
  {
    const TRect r = GetScreenBounds(CHILDID_SELF);
    int state = ::IsRectEmpty(&r) ? STATE_SYSTEM_INVISIBLE : 0;
    if (!IsEnabled())
      state |= STATE_SYSTEM_UNAVAILABLE;
    return state;
  }
  int GetRole(int) override { return ROLE_SYSTEM_PUSHBUTTON; }
  String GetName(int) override
  {
    if (FIsClose)
      return StripAccelChars(GetResourceString(sdxBarClose));
    return FButton ? FButton->GetHintText() : String();
  }
  String GetDefaultActionDescription(int) override { return L"Press"; }
  int GetSupportedProperties(int) override { return cxAccessibleLocation | cxAccessibleDefaultAction; }
  void DoDefaultAction(int) override
  {
    DeferAction([this, ref = TcxAccessibilityHelperRef(Ref())] { Click(); });
  }
  String GetExplicitKeyTip() override { return FButton ? FButton->GetKeyTip() : String(); }
  // The close button has no key tip: keyboard navigation reaches it.
  String GetDefaultKeyTip() override { return FIsClose ? String() : String(L"Y"); }
  void InitializeKeyTipData(TdxBarKeyTipInfo& AData) override
  {
    TdxBarAccessibilityHelper::InitializeKeyTipData(AData);
    const TRect r = GetScreenBounds(CHILDID_SELF);
    AData.Position = RectCentre(r);
    if (!::IsRectEmpty(&r) && FBar)
      AData.Position.y = WindowScreenRect(FBar.Get()).top + FBar->GetCaptionKeyTipY();
    AData.Enabled = IsEnabled();
  }
  void ExecuteKeyTip() override { Click(); }
  // Enter and Space press the button; Esc leaves it for the items of its toolbar.
  bool HandleNavigationKey(WORD AKey) override
  {
    if (AKey == VK_RETURN || AKey == VK_SPACE) {
      Click();
      return true;
    }
    if (AKey != VK_ESCAPE || !FBar)
      return false;
    TdxBarHelperRef first = GetBarControlHelper(FBar.Get())->GetFirstSelectableObject();
    TdxBarNavigationController* navigation = BarNavigationController();
    if (!first || !navigation || first->GetBarControl() != FBar.Get())
      return false;
    navigation->ChangeSelectedObject(false, nullptr, first);
    return true;
  }
  TdxBarHelperRef GetNavigationTarget() override
  {
    if (FIsClose)
      return GetBarPartHelper(FBar.Get(), dxBarCloseButtonIndex);
    return FButton && FButton->GetCaptionButtons() ? GetBarPartHelper(FBar.Get(), FButton->Index()) : nullptr;
  }

private:
  TcxAccessibilityHelper* Ref()
  {
    AddRef();
    return this;
  }
  bool IsEnabled() { return FIsClose ? FBar && FBar->HasCloseButton() : FButton && FButton->GetEnabled(); }
  void Click()
  {
    if (!IsAlive() || !IsEnabled())
      return;
    if (FIsClose)
      FBar->ClickCaptionButton(dxBarCloseButtonIndex);
    else if (TdxBarCaptionButton* button = FButton.Get())
      button->Click();
  }
  TWeakRef<TdxBarCaptionButton> FButton;
  TWeakRef<TdxBarControl> FBar;
  bool FIsClose;
};

// The caption buttons of a toolbar as one group, the toolbar's last child.
class TdxBarCaptionButtonsAccessibilityHelper : public TdxBarAccessibilityHelper {
public:
  explicit TdxBarCaptionButtonsAccessibilityHelper(TdxBarControl* ABar) : TdxBarAccessibilityHelper(ABar), FBar(ABar) {}
  TdxBarManager* GetBarManager() override { return FBar ? FBar->GetBarManager() : nullptr; }
  TCustomdxBarControl* GetOwnerControl() override { return FBar.Get(); }
  TcxAccessibilityHelper* GetParent() override { return HelperOf(FBar.Get()); }
  TdxBarCaptionButtons* Buttons()
  {
    TdxBar* bar = FBar ? FBar->GetBar() : nullptr;
    return bar ? bar->GetCaptionButtons() : nullptr;
  }
  // The caption buttons, then the close button of a floating bar that has one.
  int GetChildCount() override { return ButtonCount() + (HasClose() ? 1 : 0); }
  TcxAccessibilityHelper* GetChild(int AIndex) override;
  TRect GetScreenBounds(int) override
  {
    TRect r = Buttons() ? Buttons()->GetButtonsRect() : TRect{};
    if (TdxBarControl* bar = FBar.Get(); bar && HasClose()) {
      const TRect close = bar->GetCloseButtonRect();
      if (::IsRectEmpty(&r))
        r = close;
      else if (!::IsRectEmpty(&close))
        ::UnionRect(&r, &r, &close);
    }
    const TRect window = WindowScreenRect(FBar.Get());
    if (::IsRectEmpty(&r) || ::IsRectEmpty(&window))
      return TRect{};
    OffsetRect(&r, window.left, window.top);
    return r;
  }
  int GetState(int) override
  {
    const TRect r = GetScreenBounds(CHILDID_SELF);
    return ::IsRectEmpty(&r) ? STATE_SYSTEM_INVISIBLE : 0;
  }
  int GetRole(int) override { return ROLE_SYSTEM_GROUPING; }
  int GetSupportedProperties(int) override { return cxAccessibleLocation; }

  ~TdxBarCaptionButtonsAccessibilityHelper() override
  {
    if (FClose)
      FClose->OwnerObjectDestroyed();
  }

private:
  int ButtonCount() { return Buttons() ? Buttons()->GetCount() : 0; }
  bool HasClose() { return FBar && FBar->HasCloseButton(); }
  TWeakRef<TdxBarControl> FBar;
  // The helpers of the buttons, kept while the group lives.
  std::map<const TObject*, std::pair<TWeakRef<TObject>, TcxAccessibilityHelperRef>> FButtonHelpers;
  TcxAccessibilityHelperRef FClose;
};

TcxAccessibilityHelper* TdxBarCaptionButtonsAccessibilityHelper::GetChild(int AIndex)
{
  TdxBarCaptionButtons* buttons = Buttons();
  if (AIndex == ButtonCount() && HasClose()) {
    if (!FClose)
      FClose = TcxAccessibilityHelperRef(new TdxBarCaptionButtonAccessibilityHelper(nullptr, FBar.Get()));
    return FClose.Get();
  }
  if (!buttons || AIndex < 0 || AIndex >= buttons->GetCount())
    return nullptr;
  TdxBarCaptionButton* button = buttons->GetItem(AIndex);
  auto& entry = FButtonHelpers[button];
  if (!entry.first.Alive() || !entry.second) {
    if (entry.second)
      entry.second->OwnerObjectDestroyed();
    entry = {TWeakRef<TObject>(button),
             TcxAccessibilityHelperRef(new TdxBarCaptionButtonAccessibilityHelper(button, FBar.Get()))};
  }
  return entry.second.Get();
}

TcxAccessibilityHelper* TdxBarCaptionButtonAccessibilityHelper::GetParent()
{
  TdxBarAccessibilityHelper* bar = HelperOf(FBar.Get());
  return bar && bar->GetChildCount() > 0 ? bar->GetChild(bar->GetChildCount() - 1) : nullptr;
}

// A toolbar's mark: a button at the bar's end (floating, in its caption).
class TdxBarControlMarkAccessibilityHelper : public TdxBarAccessibilityHelper {
public:
  explicit TdxBarControlMarkAccessibilityHelper(TdxBarControl* ABar) : TdxBarAccessibilityHelper(ABar), FBar(ABar) {}
  TdxBarManager* GetBarManager() override { return FBar ? FBar->GetBarManager() : nullptr; }
  TCustomdxBarControl* GetOwnerControl() override { return FBar.Get(); }
  TcxAccessibilityHelper* GetParent() override { return HelperOf(FBar.Get()); }
  bool IsSelectable() override { return IsVisible(); }
  TRect GetScreenBounds(int) override
  {
    TdxBarControl* bar = FBar.Get();
    if (!bar || !bar->HasMark() || !IsWindowShown(bar))
      return TRect{};
    TRect r = bar->GetMarkRect();
    if (::IsRectEmpty(&r))
      return TRect{};
    if (bar->GetDockingStyle() == dsNone) {
      // The floating mark lies in the caption: window coordinates.
      const TRect window = WindowScreenRect(bar);
      OffsetRect(&r, window.left, window.top);
      return r;
    }
    return bar->ClientToScreen(r);
  }
  int GetState(int) override
  {
    const TRect r = GetScreenBounds(CHILDID_SELF);
    if (::IsRectEmpty(&r))
      return STATE_SYSTEM_INVISIBLE;
    const int mark = FBar ? FBar->GetMarkState() : 0;
    return mark == 2 ? STATE_SYSTEM_PRESSED : mark == 1 ? STATE_SYSTEM_HOTTRACKED : 0;
  }
  int GetRole(int) override { return ROLE_SYSTEM_BUTTONMENU; }
  // What its hint says, so that a reader does not announce an unnamed button.
  String GetName(int) override { return FBar ? FBar->GetMarkHint() : String(); }
  String GetDefaultActionDescription(int) override { return L"Press"; }
  int GetSupportedProperties(int) override { return cxAccessibleLocation | cxAccessibleDefaultAction; }
  void DoDefaultAction(int) override
  {
    AddRef();
    DeferAction([this, ref = TcxAccessibilityHelperRef(this)] { Click(); });
  }
  // Enter and Space press the mark; the popup it opens takes the keyboard at its first element.
  bool HandleNavigationKey(WORD AKey) override
  {
    TWeakRef<TdxBarControl> bar = FBar;
    if ((AKey != VK_RETURN && AKey != VK_SPACE) || !Click())
      return false;
    TCustomdxBarControl* quick = bar ? bar->GetQuickControl() : nullptr;
    if (quick && quick == ActiveBarControl())
      if (TdxBarHelperRef first = GetBarControlHelper(quick)->GetFirstSelectableObject())
        first->SelectForNavigation(false);
    return true;
  }
  void ExecuteKeyTip() override { Click(); }
  TdxBarHelperRef GetNavigationTarget() override { return GetBarPartHelper(FBar.Get(), dxBarMarkIndex); }

private:
  // Pressed, then let go as the pointer's release would: with no capture to end the press,
  // a mark left pressed would stay drawn so. A popup it opened keeps it open until it closes.
  bool Click()
  {
    TWeakRef<TdxBarControl> bar = FBar;
    if (!IsAlive() || !bar || !IsVisible())
      return false;
    bar->ClickMark(2);
    if (bar && bar->GetMarkState() == 2 && !bar->GetQuickControl() && ::GetCapture() != bar->GetHandle())
      bar->ClickMark(0);
    return true;
  }
  TWeakRef<TdxBarControl> FBar;
};

// A toolbar: its item controls, its mark, then the group of its caption buttons.
class TdxBarControlAccessibilityHelper : public TCustomdxBarControlAccessibilityHelper {
public:
  explicit TdxBarControlAccessibilityHelper(TdxBarControl* ABar) : TCustomdxBarControlAccessibilityHelper(ABar) {}
  ~TdxBarControlAccessibilityHelper() override
  {
    if (FCaptionButtons)
      FCaptionButtons->OwnerObjectDestroyed();
    if (FMark)
      FMark->OwnerObjectDestroyed();
  }
  TcxAccessibilityHelper* GetParent() override
  {
    auto* bar = static_cast<TdxBarControl*>(FBar.Get());
    return bar && bar->GetDockControl() ? HelperOf(bar->GetDockControl()) : nullptr;
  }
  int GetChildCount() override { return FBar ? int(ItemControls().size()) + 2 : 0; }
  std::vector<TdxBarAccessibilityHelper*> GetBarChildren() override
  {
    std::vector<TdxBarAccessibilityHelper*> result = TCustomdxBarControlAccessibilityHelper::GetBarChildren();
    if (auto* bar = static_cast<TdxBarControl*>(FBar.Get())) {
      if (!FMark)
        FMark = TcxAccessibilityHelperRef(new TdxBarControlMarkAccessibilityHelper(bar));
      if (!FCaptionButtons)
        FCaptionButtons = TcxAccessibilityHelperRef(new TdxBarCaptionButtonsAccessibilityHelper(bar));
      result.push_back(static_cast<TdxBarAccessibilityHelper*>(FMark.Get()));
      result.push_back(static_cast<TdxBarAccessibilityHelper*>(FCaptionButtons.Get()));
    }
    return result;
  }

  // The helper of the mark (dxBarMarkIndex), the close button or a caption button.
  TdxBarAccessibilityHelper* GetPartHelper(int APart)
  {
    const int items = int(ItemControls().size());
    if (APart == dxBarMarkIndex)
      return GetBarChild(items);
    TdxBarAccessibilityHelper* group = GetBarChild(items + 1);
    if (!group)
      return nullptr;
    const int buttons = group->GetChildCount() - (static_cast<TdxBarControl*>(FBar.Get())->HasCloseButton() ? 1 : 0);
    if (APart == dxBarCloseButtonIndex)
      return buttons < group->GetChildCount() ? group->GetBarChild(buttons) : nullptr;
    return APart >= 0 && APart < buttons ? group->GetBarChild(APart) : nullptr;
  }

private:
  TcxAccessibilityHelperRef FMark;
  TcxAccessibilityHelperRef FCaptionButtons;
};

class TdxBarSubMenuControlAccessibilityHelper : public TCustomdxBarControlAccessibilityHelper {
public:
  using TCustomdxBarControlAccessibilityHelper::TCustomdxBarControlAccessibilityHelper;
  // Key tips of a menu go back to the item that opened it.
  bool IsSelectable() override { return false; }
};

TdxBarApplicationMenuControl* ApplicationMenuOfDock(TdxDockControl* ADock)
{
  if (!ADock || !ADock->HandleAllocated())
    return nullptr;
  return dynamic_cast<TdxBarApplicationMenuControl*>(FindControl(::GetParent(ADock->GetHandle())));
}

// The application menu: its links and the row's buttons as any menu's items, then the extra
// pane's dock as the last child.
class TdxBarApplicationMenuControlAccessibilityHelper : public TdxBarSubMenuControlAccessibilityHelper {
public:
  explicit TdxBarApplicationMenuControlAccessibilityHelper(TdxBarApplicationMenuControl* AMenu)
      : TdxBarSubMenuControlAccessibilityHelper(AMenu)
  {
  }
  std::vector<TdxBarItemControl*> ItemControls() override
  {
    std::vector<TdxBarItemControl*> result = TdxBarSubMenuControlAccessibilityHelper::ItemControls();
    if (TdxBarItemLinks* row = Menu() ? Menu()->GetButtonLinks() : nullptr)
      for (TdxBarItemLink* link : row->GetShownItems())
        if (TdxBarItemControl* control = link->GetControl())
          result.push_back(control);
    return result;
  }
  int GetChildCount() override
  {
    const int items = int(ItemControls().size());
    return Dock() ? items + 1 : items;
  }
  std::vector<TdxBarAccessibilityHelper*> GetBarChildren() override
  {
    std::vector<TdxBarAccessibilityHelper*> result = TdxBarSubMenuControlAccessibilityHelper::GetBarChildren();
    if (TdxBarExtraPaneDockControl* dock = Dock())
      result.push_back(HelperOf(dock));
    return result;
  }

private:
  TdxBarApplicationMenuControl* Menu() { return static_cast<TdxBarApplicationMenuControl*>(FBar.Get()); }
  TdxBarExtraPaneDockControl* Dock() { return Menu() ? Menu()->GetExtraPaneDock() : nullptr; }
};

// The extra pane's dock site hangs under the application menu it sits in.
class TdxBarExtraPaneDockControlAccessibilityHelper : public TdxDockControlAccessibilityHelper {
public:
  explicit TdxBarExtraPaneDockControlAccessibilityHelper(TdxBarExtraPaneDockControl* ADock)
      : TdxDockControlAccessibilityHelper(ADock), FPaneDock(ADock)
  {
  }
  TcxAccessibilityHelper* GetParent() override { return HelperOf(ApplicationMenuOfDock(FPaneDock.Get())); }
  TCustomdxBarControl* GetOwnerControl() override { return ApplicationMenuOfDock(FPaneDock.Get()); }
  int GetRole(int) override { return ROLE_SYSTEM_PANE; }

private:
  TWeakRef<TdxBarExtraPaneDockControl> FPaneDock;
};

// The pane's window: its entries only; it has neither a mark nor a caption.
class TdxBarExtraPaneControlAccessibilityHelper : public TCustomdxBarControlAccessibilityHelper {
public:
  explicit TdxBarExtraPaneControlAccessibilityHelper(TdxBarExtraPaneControl* APane)
      : TCustomdxBarControlAccessibilityHelper(APane)
  {
  }
  TcxAccessibilityHelper* GetParent() override
  {
    auto* pane = static_cast<TdxBarExtraPaneControl*>(FBar.Get());
    return pane ? HelperOf(pane->GetDockControl()) : nullptr;
  }
  int GetRole(int) override { return ROLE_SYSTEM_LIST; }
};

}  // namespace

// --- The helpers of item controls

TdxBarItemControlAccessibilityHelper::TdxBarItemControlAccessibilityHelper(TdxBarItemControl* AControl)
    : TdxBarAccessibilityHelper(AControl), FControl(AControl)
{
}

TCustomdxBarControl* TdxBarItemControlAccessibilityHelper::Bar() const
{
  return FControl ? FControl->GetParent() : nullptr;
}

TdxBarManager* TdxBarItemControlAccessibilityHelper::GetBarManager()
{
  return Bar() ? Bar()->GetBarManager() : nullptr;
}

TcxAccessibilityHelper* TdxBarItemControlAccessibilityHelper::GetParent()
{
  return HelperOf(Bar());
}

bool TdxBarItemControlAccessibilityHelper::IsSelectable()
{
  return IsVisible() && FControl && FControl->GetEnabled() && FControl->CanSelect();
}

HWND TdxBarItemControlAccessibilityHelper::GetOwnerObjectWindow()
{
  return Bar() && Bar()->HandleAllocated() ? Bar()->GetHandle() : nullptr;
}

TRect TdxBarItemControlAccessibilityHelper::GetScreenBounds(int)
{
  TCustomdxBarControl* bar = Bar();
  if (!IsWindowShown(bar))
    return TRect{};
  return bar->GetItemScreenRect(FControl.Get());
}

int TdxBarItemControlAccessibilityHelper::GetState(int)
{
  TdxBarItemControl* control = FControl.Get();
  const TRect r = GetScreenBounds(CHILDID_SELF);
  if (!control || ::IsRectEmpty(&r))
    return STATE_SYSTEM_INVISIBLE;
  int state = STATE_SYSTEM_FOCUSABLE;
  if (!control->GetEnabled())
    state |= STATE_SYSTEM_UNAVAILABLE;
  if (control->IsSelected())
    state |= STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED;
  if (control->GetDoingClick())
    state |= STATE_SYSTEM_PRESSED;
  return state;
}

int TdxBarItemControlAccessibilityHelper::GetRole(int)
{
  return FControl && FControl->IsInMenu() ? ROLE_SYSTEM_MENUITEM : ROLE_SYSTEM_CLIENT;
}

String TdxBarItemControlAccessibilityHelper::GetName(int)
{
  return FControl ? StripAccelChars(FControl->GetCaption()) : String();
}

void TdxBarItemControlAccessibilityHelper::GetKeyboardShortcut(int, TShortCut& AShortCut, String&, bool&)
{
  AShortCut = FControl ? FControl->GetShortCut() : 0;
}

int TdxBarItemControlAccessibilityHelper::GetSupportedProperties(int)
{
  return cxAccessibleLocation | cxAccessibleKeyboardShortcut;
}

String TdxBarItemControlAccessibilityHelper::GetExplicitKeyTip()
{
  TdxBarItem* item = FControl ? FControl->GetItem() : nullptr;
  return item ? item->GetKeyTip() : String();
}

String TdxBarItemControlAccessibilityHelper::GetDefaultKeyTip()
{
  return dxBarDefaultKeyTipOfCaption(FControl ? FControl->GetCaption() : String());
}

void TdxBarItemControlAccessibilityHelper::InitializeKeyTipData(TdxBarKeyTipInfo& AData)
{
  TdxBarAccessibilityHelper::InitializeKeyTipData(AData);
  AData.Enabled = FControl && FControl->GetEnabled();
  const TRect r = GetScreenBounds(CHILDID_SELF);
  AData.Position = RectCentre(r);
  TCustomdxBarControl* bar = Bar();
  if (auto* menu = dynamic_cast<TdxBarApplicationMenuControl*>(bar);
      menu && FControl && menu->IsButtonRowLink(FControl->GetItemLink())) {
    // The row's buttons are laid out as on a toolbar: the tip sits on the button's centre.
    if (!::IsRectEmpty(&r))
      AData.Position = menu->GetButtonRowKeyTipPoint(FControl->GetItemLink());
  } else if (bar && bar->GetKind() == bckSubMenu && bar->GetPainter() && !::IsRectEmpty(&r)) {
    // In a menu the tip sits on the glyph column, beside the side strip.
    TRect local = bar->GetItemRect(FControl.Get());
    const TRect glyph = bar->GetPainter()->GetMenuGlyphRect(bar, local);
    AData.Position.x = r.left + (glyph.left - local.left) + (glyph.right - glyph.left) / 2;
  }
}

TdxBarHelperRef TdxBarItemControlAccessibilityHelper::GetNavigationTarget()
{
  return GetItemControlHelper(FControl.Get());
}

String TdxBarItemControlAccessibilityHelper::GetDefaultActionDescription(int)
{
  return FControl && FControl->IsDropDown() ? L"Open" : L"Press";
}

void TdxBarItemControlAccessibilityHelper::DoDefaultAction(int)
{
  AddRef();
  DeferAction([this, ref = TcxAccessibilityHelperRef(this)] {
    if (IsAlive())
      Run(false);
  });
}

int TdxBarButtonLikeControlAccessibilityHelper::GetRole(int AChildID)
{
  if (FControl && FControl->IsInMenu())
    return ROLE_SYSTEM_MENUITEM;
  return FControl && FControl->IsDropDown() ? ROLE_SYSTEM_BUTTONDROPDOWN : ROLE_SYSTEM_PUSHBUTTON;
}

int TdxBarButtonLikeControlAccessibilityHelper::GetSupportedProperties(int AChildID)
{
  return TdxBarItemControlAccessibilityHelper::GetSupportedProperties(AChildID) | cxAccessibleDefaultAction;
}

int TdxBarButtonControlAccessibilityHelper::GetState(int AChildID)
{
  int state = TdxBarButtonLikeControlAccessibilityHelper::GetState(AChildID);
  auto* control = static_cast<TdxBarButtonControl*>(FControl.Get());
  if (control && !(state & STATE_SYSTEM_INVISIBLE)) {
    if (control->IsPressed())
      state |= STATE_SYSTEM_PRESSED;
    if (TdxBarButton* button = control->GetButton(); button && button->GetDown())
      state |= STATE_SYSTEM_CHECKED | STATE_SYSTEM_PRESSED;
  }
  return state;
}

int TdxBarSubItemControlAccessibilityHelper::GetRole(int)
{
  return FControl && FControl->IsInMenu() ? ROLE_SYSTEM_MENUITEM : ROLE_SYSTEM_BUTTONMENU;
}

int TdxBarSubItemControlAccessibilityHelper::GetState(int AChildID)
{
  int state = TdxBarButtonLikeControlAccessibilityHelper::GetState(AChildID);
  if (FControl && FControl->IsDroppedDown())
    state |= STATE_SYSTEM_EXPANDED;
  return state | STATE_SYSTEM_HASPOPUP;
}

// A key tip runs its element: one whose click closes the menus is clicked, as the pointer
// clicks it (a key tip is no press of a key on the element: nothing of a click by key, such
// as a drop-down part opened by key, takes part); the others (drop-downs, editors) are
// selected for keyboard navigation first, and a drop-down then opens.
void TdxBarItemControlAccessibilityHelper::Run(bool AShowMenuKeyTips)
{
  TdxBarItemControl* control = FControl.Get();
  TCustomdxBarControl* bar = control ? control->GetParent() : nullptr;
  if (!bar || !control->GetEnabled())
    return;
  if (control->CloseMenusOnClick() && !control->IsDropDown()) {
    control->Click();
    return;
  }
  GetItemControlHelper(control)->SelectForNavigation(false);
  if (FControl && control->IsDropDown()) {
    // A split button's click by key is its main part's: its tip opens the arrow's menu.
    if (dynamic_cast<TdxBarButtonControl*>(control))
      static_cast<TdxBarButtonControl*>(control)->OpenByKey();
    else
      control->ClickByKey();
    TdxBarNavigationController* navigation = BarNavigationController();
    if (!AShowMenuKeyTips || !navigation || !navigation->IsRunningShownKeyTip())
      return;
    // A menu opened by a key tip typed over shown tips shows the key tips of its own items next.
    DeferAction([] {
      TCustomdxBarControl* menu = ActiveBarControl();
      TdxBarNavigationController* navigation = BarNavigationController();
      if (menu && menu->GetKind() == bckSubMenu && IsWindowShown(menu) && navigation && !navigation->AreKeyTipsShown())
        navigation->UpdateKeyTips(GetBarControlHelper(menu), String());
    });
  }
}

namespace {

// --- The registry

struct THelperEntry {
  TWeakRef<TObject> Owner;
  TcxAccessibilityHelperRef Helper;
};
std::map<const TObject*, THelperEntry>* GHelpers = nullptr;
// The registry's size after its last sweep of helpers whose owners were freed.
size_t GHelpersAfterSweep = 16;

TdxBarAccessibilityHelper* CreateHelper(TObject* AOwner)
{
  if (auto* paneDock = dynamic_cast<TdxBarExtraPaneDockControl*>(AOwner))
    return new TdxBarExtraPaneDockControlAccessibilityHelper(paneDock);
  if (auto* dock = dynamic_cast<TdxDockControl*>(AOwner))
    return new TdxDockControlAccessibilityHelper(dock);
  if (auto* pane = dynamic_cast<TdxBarExtraPaneControl*>(AOwner))
    return new TdxBarExtraPaneControlAccessibilityHelper(pane);
  if (auto* toolbar = dynamic_cast<TdxBarControl*>(AOwner))
    return new TdxBarControlAccessibilityHelper(toolbar);
  if (auto* appMenu = dynamic_cast<TdxBarApplicationMenuControl*>(AOwner))
    return new TdxBarApplicationMenuControlAccessibilityHelper(appMenu);
  if (auto* bar = dynamic_cast<TCustomdxBarControl*>(AOwner)) {
    if (bar->GetKind() == bckSubMenu)
      return new TdxBarSubMenuControlAccessibilityHelper(bar);
    return new TCustomdxBarControlAccessibilityHelper(bar);
  }
  if (auto* control = dynamic_cast<TdxBarItemControl*>(AOwner)) {
    TdxBarAccessibilityHelperClass helperClass = control->GetAccessibilityHelperClass();
    return helperClass ? helperClass(control) : nullptr;
  }
  return nullptr;
}

}  // namespace

// --- TdxBarAccessibilityHelper

TdxBarAccessibilityHelper::TdxBarAccessibilityHelper(TObject* AOwnerObject)
    : TcxAccessibilityHelper(AOwnerObject), FOwnerRef(AOwnerObject)
{
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::GetBarChild(int AIndex)
{
  return IsAlive() ? static_cast<TdxBarAccessibilityHelper*>(GetChild(AIndex)) : nullptr;
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::GetBarParent()
{
  return IsAlive() ? static_cast<TdxBarAccessibilityHelper*>(GetParent()) : nullptr;
}

std::vector<TdxBarAccessibilityHelper*> TdxBarAccessibilityHelper::GetBarChildren()
{
  std::vector<TdxBarAccessibilityHelper*> result;
  if (IsAlive())
    for (int i = 0, count = GetChildCount(); i < count; ++i)
      result.push_back(static_cast<TdxBarAccessibilityHelper*>(GetChild(i)));
  return result;
}

TcxAccessibilityHelper* TdxBarAccessibilityHelper::ChildAt(int AIndex)
{
  std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  return AIndex >= 0 && AIndex < int(children.size()) ? children[size_t(AIndex)] : nullptr;
}

int TdxBarAccessibilityHelper::GetChildIndex(TcxAccessibilityHelper* AChild)
{
  std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  auto it = std::find(children.begin(), children.end(), AChild);
  return it == children.end() ? -1 : int(it - children.begin());
}

int TdxBarAccessibilityHelper::GetNextChildIndex(int AIndex, TcxAccessibilityNavigationDirection ADirection)
{
  const std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  const int count = int(children.size());
  if (ADirection == andNext)
    return AIndex + 1 < count ? AIndex + 1 : AIndex;
  if (ADirection == andPrev)
    return AIndex > 0 ? AIndex - 1 : AIndex;
  std::vector<TRect> rects;
  std::vector<int> indexes;
  TRect current{};
  for (int i = 0; i < count; ++i) {
    TcxAccessibilityHelper* child = children[size_t(i)];
    if (!child)
      continue;
    if (i == AIndex) {
      current = child->GetScreenBounds(CHILDID_SELF);
    } else if (child->IsVisible()) {
      rects.push_back(child->GetScreenBounds(CHILDID_SELF));
      indexes.push_back(i);
    }
  }
  const int found = FindNearestInDirection(current, rects, int(ADirection), false);
  return found < 0 ? AIndex : indexes[size_t(found)];
}

int TdxBarAccessibilityHelper::GetHitTest(int AScreenX, int AScreenY, int& AChildIndex)
{
  const POINT p{AScreenX, AScreenY};
  const std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  for (int i = 0, count = int(children.size()); i < count; ++i)
    if (TcxAccessibilityHelper* child = children[size_t(i)]; child && child->IsVisible()) {
      const TRect r = child->GetScreenBounds(CHILDID_SELF);
      if (PtInRect(&r, p)) {
        AChildIndex = i;
        return cxAccessibleHitChild;
      }
    }
  return cxAccessibleHitSelf;
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::GetFirstSelectableChild(bool AFromFirst)
{
  if (!IsAlive() || !IsVisible() || !CanNavigateToChildren())
    return nullptr;
  const std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  const int count = int(children.size());
  for (int n = 0; n < count; ++n) {
    TdxBarAccessibilityHelper* child = children[size_t(AFromFirst ? n : count - 1 - n)];
    if (!child || !child->IsVisible())
      continue;
    if (child->IsSelectable())
      return child;
    if (TdxBarAccessibilityHelper* inner = child->GetFirstSelectableChild(AFromFirst))
      return inner;
  }
  return nullptr;
}

// Siblings first, a non-selectable sibling searched inside; then the parent's siblings.
TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::GetNextNavigationTarget(bool AForward)
{
  TdxBarAccessibilityHelper* current = this;
  for (int depth = 0; depth < 64; ++depth) {
    TdxBarAccessibilityHelper* parent = current->GetBarParent();
    if (!parent)
      return nullptr;
    const std::vector<TdxBarAccessibilityHelper*> siblings = parent->GetBarChildren();
    const int count = int(siblings.size());
    auto at = std::find(siblings.begin(), siblings.end(), current);
    const int own = at == siblings.end() ? -1 : int(at - siblings.begin());
    for (int i = own + (AForward ? 1 : -1); i >= 0 && i < count; i += AForward ? 1 : -1) {
      TdxBarAccessibilityHelper* sibling = siblings[size_t(i)];
      if (!sibling || !sibling->IsVisible())
        continue;
      if (sibling->IsSelectable())
        return sibling;
      if (TdxBarAccessibilityHelper* inner = sibling->GetFirstSelectableChild(AForward))
        return inner;
    }
    current = parent;
  }
  return nullptr;
}

String TdxBarAccessibilityHelper::GetKeyTip()
{
  String result = GetExplicitKeyTip();
  if (result.empty())
    result = GetDefaultKeyTip();
  if (result.size() > KeyTipMaxLength)
    result.resize(KeyTipMaxLength);
  return result;
}

void TdxBarAccessibilityHelper::InitializeKeyTipData(TdxBarKeyTipInfo& AData)
{
  AData.Text = GetKeyTip();
  AData.Visible = IsVisible();
  AData.HorzAlign = 1;
  AData.VertAlign = 1;
  AData.BarControl = GetOwnerControl();
  AddRef();
  AData.OnExecute = [ref = TcxAccessibilityHelperRef(this)] {
    auto* helper = static_cast<TdxBarAccessibilityHelper*>(ref.Get());
    if (helper->IsAlive())
      helper->ExecuteKeyTip();
  };
}

void TdxBarAccessibilityHelper::AddOwnKeyTip(std::vector<TdxBarKeyTipInfo>& AList)
{
  TdxBarKeyTipInfo data;
  InitializeKeyTipData(data);
  if (!data.Text.empty())
    AList.push_back(std::move(data));
}

void TdxBarAccessibilityHelper::CollectChildKeyTips(std::vector<TdxBarKeyTipInfo>& AList)
{
  if (!IsAlive() || !IsVisible())
    return;
  for (TdxBarAccessibilityHelper* child : GetBarChildren())
    if (child) {
      if (child->IsSelectable())
        child->AddOwnKeyTip(AList);
      else
        child->CollectChildKeyTips(AList);
    }
}

void TdxBarAccessibilityHelper::CollectUniqueKeyTips(std::vector<TdxBarKeyTipInfo>& AList)
{
  const size_t first = AList.size();
  CollectChildKeyTips(AList);
  std::vector<String> texts;
  for (size_t i = first; i < AList.size(); ++i)
    texts.push_back(AList[i].Text);
  dxBarMakeKeyTipsUnique(texts);
  for (size_t i = first; i < AList.size(); ++i)
    AList[i].Text = texts[i - first];
}

// --- Free routines

String dxBarDefaultKeyTipOfCaption(const String& ACaption)
{
  const wchar_t accel = GetAccelChar(ACaption);
  return accel ? UpperText(String(1, accel)) : String(L"Y");
}

// Texts are compared as the user types them, whatever their case.
void dxBarMakeKeyTipsUnique(std::vector<String>& ATexts)
{
  for (String& text : ATexts)
    text = UpperText(text);
  for (int pass = 0; pass < KeyTipUniquePassLimit; ++pass) {
    bool changed = false;
    for (size_t i = 0; i < ATexts.size(); ++i) {
      const String text = ATexts[i];
      std::vector<size_t> same;
      bool prefixOfOther = false;
      for (size_t j = 0; j < ATexts.size(); ++j) {
        if (ATexts[j] == text)
          same.push_back(j);
        else if (ATexts[j].compare(0, text.size(), text) == 0)
          prefixOfOther = true;
      }
      if (same.size() > 1) {
        const size_t digits = IntToStr(int(same.size())).size();
        for (size_t n = 0; n < same.size(); ++n) {
          String number = IntToStr(int(n + 1));
          ATexts[same[n]] += String(digits - number.size(), L'0') + number;
        }
        changed = true;
      } else if (prefixOfOther) {
        ATexts[i] += L"1";
        changed = true;
      }
    }
    if (!changed)
      break;
  }
}

TdxBarAccessibilityHelper* dxBarGetAccessibilityHelper(TObject* AOwner)
{
  if (!AOwner || dxBarIsFinalizing())
    return nullptr;
  if (!GHelpers)
    GHelpers = new std::map<const TObject*, THelperEntry>;
  auto it = GHelpers->find(AOwner);
  if (it != GHelpers->end() && it->second.Owner.Alive() && it->second.Owner.Get() == AOwner)
    return static_cast<TdxBarAccessibilityHelper*>(it->second.Helper.Get());
  // A new object where a freed one was: the old helper goes first, with the others of freed
  // owners. Otherwise those are swept each time the registry has doubled, so that making a
  // helper costs no walk over all of them.
  if (it != GHelpers->end() || GHelpers->size() >= 2 * GHelpersAfterSweep) {
    dxBarReleaseAccessibilityHelpers(false);
    GHelpersAfterSweep = std::max<size_t>(GHelpers ? GHelpers->size() : 0, 16);
  }
  TdxBarAccessibilityHelper* helper = CreateHelper(AOwner);
  if (!helper)
    return nullptr;
  (*GHelpers)[AOwner] = THelperEntry{TWeakRef<TObject>(AOwner), TcxAccessibilityHelperRef(helper)};
  return helper;
}

void dxBarReleaseAccessibilityHelpers(bool AAll)
{
  if (!GHelpers)
    return;
  for (auto it = GHelpers->begin(); it != GHelpers->end();) {
    if (AAll || !it->second.Owner.Alive()) {
      TcxAccessibilityHelperRef helper = it->second.Helper;
      it = GHelpers->erase(it);
      if (helper)
        helper->OwnerObjectDestroyed();
    } else {
      ++it;
    }
  }
  if (AAll) {
    delete GHelpers;
    GHelpers = nullptr;
  }
}

TdxBarAccessibilityHelper* dxBarGetPartAccessibilityHelper(TdxBarControl* ABar, int APart)
{
  auto* helper = dynamic_cast<TdxBarControlAccessibilityHelper*>(dxBarGetAccessibilityHelper(ABar));
  return helper && helper->IsAlive() ? helper->GetPartHelper(APart) : nullptr;
}

LRESULT dxBarAnswerGetObject(TObject* AOwner, WPARAM wParam, LPARAM lParam)
{
  if (LONG(DWORD(lParam)) != LONG(OBJID_CLIENT))
    return 0;
  return cxAccessibilityAnswerGetObject(dxBarGetAccessibilityHelper(AOwner), wParam, lParam);
}

void dxBarAccessibilityWindowShown(TCustomdxBarControl* ABar, bool AShown)
{
  if (ABar && ABar->GetKind() == bckSubMenu && ABar->HandleAllocated())
    NotifyWinEvent(AShown ? EVENT_SYSTEM_MENUPOPUPSTART : EVENT_SYSTEM_MENUPOPUPEND, ABar->GetHandle(), OBJID_CLIENT,
                   CHILDID_SELF);
}

void dxBarAccessibilityItemFocused(TdxBarItemControl* AControl)
{
  TCustomdxBarControl* bar = AControl ? AControl->GetParent() : nullptr;
  TdxBarAccessibilityHelper* helper = dxBarGetAccessibilityHelper(bar);
  if (!helper || !bar->HandleAllocated())
    return;
  const int index = helper->GetChildIndex(dxBarGetAccessibilityHelper(AControl));
  if (index >= 0)
    NotifyWinEvent(EVENT_OBJECT_FOCUS, bar->GetHandle(), OBJID_CLIENT, index + 1);
}
