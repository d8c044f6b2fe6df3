// The accessibility helpers of the windows: dock sites, toolbars, menus, the application
// menu and its extra pane. A toolbar's mark and caption buttons are its last children.
#include <map>

#include "bars/accessibility/baraccessibility.h"
#include "bars/accessibility/baraccessibility_impl.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/menus/appmenu.h"
#include "bars/model/bar.h"
#include "bars/model/itemlinks.h"

namespace BarAccessibility {
namespace {

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
  // The collections whose shown links give the window's item controls, in order.
  virtual std::vector<TdxBarItemLinks*> ChildLinks()
  {
    TdxBarItemLinks* links = FBar ? FBar->GetItemLinks() : nullptr;
    return links ? std::vector<TdxBarItemLinks*>{links} : std::vector<TdxBarItemLinks*>{};
  }
  const std::vector<TdxBarItemControl*>& ItemControls();
  // The children after the item controls (a toolbar's mark and caption buttons, the
  // application menu's pane).
  virtual int GetTrailingChildCount() { return 0; }
  virtual TdxBarAccessibilityHelper* GetTrailingChild(int AIndex) { return nullptr; }
  int GetChildCount() override { return int(ItemControls().size()) + GetTrailingChildCount(); }
  std::vector<TdxBarAccessibilityHelper*> GetBarChildren() override
  {
    std::vector<TdxBarAccessibilityHelper*> result;
    for (TdxBarItemControl* control : ItemControls())
      result.push_back(HelperOf(control));
    for (int i = 0, count = GetTrailingChildCount(); i < count; ++i)
      result.push_back(GetTrailingChild(i));
    return result;
  }
  TcxAccessibilityHelper* GetChild(int AIndex) override
  {
    const std::vector<TdxBarItemControl*>& controls = ItemControls();
    if (AIndex >= 0 && AIndex < int(controls.size()))
      return HelperOf(controls[size_t(AIndex)]);
    const int trailing = AIndex - int(controls.size());
    return trailing >= 0 && trailing < GetTrailingChildCount() ? GetTrailingChild(trailing) : nullptr;
  }
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

private:
  // The last listing and what it was made from: the item controls' stamp, then each
  // collection and its shown links' stamp.
  std::vector<TdxBarItemControl*> FItemControls;
  std::vector<uint64_t> FItemControlsKey;
};

uint64_t GItemControlListings = 0;

// Listed afresh only when a collection's shown links changed or an item control was made or
// freed since the last listing: a client that walks the children one call at a time, and a
// hit test, cost one listing rather than one per child.
const std::vector<TdxBarItemControl*>& TCustomdxBarControlAccessibilityHelper::ItemControls()
{
  const std::vector<TdxBarItemLinks*> collections = ChildLinks();
  std::vector<uint64_t> key{dxBarItemControlsStamp()};
  for (TdxBarItemLinks* links : collections) {
    key.push_back(uint64_t(reinterpret_cast<uintptr_t>(links)));
    key.push_back(links->GetShownStamp());
  }
  if (key == FItemControlsKey && !FItemControlsKey.empty())
    return FItemControls;
  ++GItemControlListings;
  FItemControls.clear();
  for (TdxBarItemLinks* links : collections)
    for (TdxBarItemLink* link : links->GetShownItems())
      if (TdxBarItemControl* control = link->GetControl())
        FItemControls.push_back(control);
  FItemControlsKey = std::move(key);
  return FItemControls;
}

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
  int GetTrailingChildCount() override { return FBar ? 2 : 0; }
  TdxBarAccessibilityHelper* GetTrailingChild(int AIndex) override
  {
    auto* bar = static_cast<TdxBarControl*>(FBar.Get());
    if (!bar)
      return nullptr;
    if (!FMark)
      FMark = TcxAccessibilityHelperRef(CreateMarkHelper(bar));
    if (!FCaptionButtons)
      FCaptionButtons = TcxAccessibilityHelperRef(CreateCaptionButtonsHelper(bar));
    return static_cast<TdxBarAccessibilityHelper*>(AIndex == 0 ? FMark.Get() : FCaptionButtons.Get());
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
  std::vector<TdxBarItemLinks*> ChildLinks() override
  {
    std::vector<TdxBarItemLinks*> result = TdxBarSubMenuControlAccessibilityHelper::ChildLinks();
    if (TdxBarItemLinks* row = Menu() ? Menu()->GetButtonLinks() : nullptr)
      result.push_back(row);
    return result;
  }
  int GetTrailingChildCount() override { return Dock() ? 1 : 0; }
  TdxBarAccessibilityHelper* GetTrailingChild(int) override { return HelperOf(Dock()); }

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

TdxBarAccessibilityHelper* CreateWindowHelper(TObject* AOwner)
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
  return nullptr;
}

}  // namespace BarAccessibility

uint64_t dxBarAccessibilityItemControlListings()
{
  return BarAccessibility::GItemControlListings;
}

TdxBarAccessibilityHelper* dxBarGetPartAccessibilityHelper(TdxBarControl* ABar, int APart)
{
  auto* helper = dynamic_cast<BarAccessibility::TdxBarControlAccessibilityHelper*>(dxBarGetAccessibilityHelper(ABar));
  return helper && helper->IsAlive() ? helper->GetPartHelper(APart) : nullptr;
}
