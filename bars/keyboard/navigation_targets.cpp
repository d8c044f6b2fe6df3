// The navigation targets the bars give by themselves: the root of a manager's bars, a bar
// window, an item control on it or a toolbar's mark or caption button, and small windows that
// show key tips. Richer targets plug in through IdxBarAccessibilityHelper and the
// window-helper procedure.
#include "bars/keyboard/navigation.h"

#include <algorithm>
#include <map>

#include "bars/model/bar.h"
#include "bars/accessibility/baraccessibility.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Forms.h"

namespace {

TdxBarWindowHelperProc GWindowHelperProc;

// How far a key tip of that extent reaches back from its point.
int AlignOffset(TdxBarKeyTipAlign AAlign, int AExtent)
{
  switch (AAlign) {
    case TdxBarKeyTipAlign::Centre:
      return AExtent / 2;
    case TdxBarKeyTipAlign::Far:
      return AExtent;
    default:
      return 0;
  }
}

// Key tips as small bordered windows that never take the activation.
class TKeyTipWindows : public IdxBarKeyTipWindowsManager {
public:
  HWND Add(const String& AText, const TPoint& APosition, TdxBarKeyTipAlign AVertAlign, TdxBarKeyTipAlign AHorzAlign,
           bool AEnabled) override
  {
    SIZE size{};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(dc, AText.c_str(), int(AText.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int w = size.cx + 8, h = size.cy + 4;
    const int x = APosition.x - AlignOffset(AHorzAlign, w);
    const int y = APosition.y - AlignOffset(AVertAlign, h);
    HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", AText.c_str(),
                               WS_POPUP | WS_BORDER | SS_CENTER | SS_CENTERIMAGE, x, y, w, h, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!wnd)
      return nullptr;
    SendMessageW(wnd, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
    EnableWindow(wnd, AEnabled);
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    return wnd;
  }
  void Delete(HWND AHandle) override
  {
    if (AHandle && IsWindow(AHandle))
      DestroyWindow(AHandle);
  }
};

TKeyTipWindows GKeyTipWindows;

// The bar windows a manager's navigation walks, main-menu bar first, then the other bars
// that show a window, in the bars' order.
std::vector<TCustomdxBarControl*> NavigableBars(TdxBarManager* AManager)
{
  std::vector<TCustomdxBarControl*> result;
  TdxBars* bars = AManager ? AManager->GetBars() : nullptr;
  auto add = [&result](TdxBar* bar) {
    TdxBarControl* control = bar ? bar->GetControl() : nullptr;
    if (control && control->HandleAllocated() && IsWindowVisible(control->GetHandle()) &&
        std::find(result.begin(), result.end(), control) == result.end())
      result.push_back(control);
  };
  add(AManager ? AManager->GetMainMenuBar() : nullptr);
  for (int i = 0; bars && i < bars->GetCount(); ++i)
    add(bars->GetItem(i));
  return result;
}

std::vector<TdxBarItemControl*> SelectableControls(TCustomdxBarControl* ABar)
{
  std::vector<TdxBarItemControl*> result;
  TdxBarItemLinks* links = ABar ? ABar->GetItemLinks() : nullptr;
  if (!links)
    return result;
  for (TdxBarItemLink* link : links->GetShownItems())
    if (TdxBarItemControl* control = link->GetControl();
        control && control->CanSelect() && !IsRectEmpty(&link->GetItemRect()))
      result.push_back(control);
  return result;
}

// A main menu's entries are what the keys walk, around and around: its mark stays the
// pointer's, so that while navigation runs on the bar some entry is always selected.
bool IsNavigablePart(TdxBarControl* ABar, int APart)
{
  return !(APart == dxBarMarkIndex && ABar && ABar->IsMainMenu());
}

bool IsNavigableTarget(const TdxBarHelperRef& ATarget)
{
  return ATarget && IsNavigablePart(dynamic_cast<TdxBarControl*>(ATarget->GetBarControl()), ATarget->GetHelperPart());
}

// What navigation may select on a bar window, in tree order: its item controls, then on a
// toolbar its mark, caption buttons and close button.
std::vector<TdxBarHelperRef> NavigableTargets(TCustomdxBarControl* ABar)
{
  std::vector<TdxBarHelperRef> result;
  for (TdxBarItemControl* control : SelectableControls(ABar))
    result.push_back(GetItemControlNavigationTarget(control));
  auto* toolbar = dynamic_cast<TdxBarControl*>(ABar);
  if (!toolbar)
    return result;
  std::vector<int> parts;
  if (IsNavigablePart(toolbar, dxBarMarkIndex))
    parts.push_back(dxBarMarkIndex);
  TdxBarCaptionButtons* buttons = toolbar->GetBar() ? toolbar->GetBar()->GetCaptionButtons() : nullptr;
  for (int i = 0; buttons && i < buttons->GetCount(); ++i)
    parts.push_back(i);
  parts.push_back(dxBarCloseButtonIndex);
  for (int part : parts)
    if (TdxBarAccessibilityHelper* helper = dxBarGetPartAccessibilityHelper(toolbar, part);
        helper && helper->IsSelectable())
      result.push_back(GetBarPartNavigationTarget(toolbar, part));
  return result;
}

// The manager's navigable bars, with ABar first when it is none of them (a menu).
std::vector<TCustomdxBarControl*> BarsAround(TCustomdxBarControl* ABar)
{
  std::vector<TCustomdxBarControl*> bars = NavigableBars(ABar ? ABar->GetBarManager() : nullptr);
  if (ABar && std::find(bars.begin(), bars.end(), ABar) == bars.end())
    bars.insert(bars.begin(), ABar);
  return bars;
}

// Within the bar first, then across the other bars, then around the bar (left and right).
TdxBarHelperRef FindTargetFrom(const TdxBarHelperRef& ACurrent, TcxAccessibilityNavigationDirection ADirection)
{
  if (!ACurrent)
    return nullptr;
  TCustomdxBarControl* own = ACurrent->GetBarControl();
  const TRect current = ACurrent->GetScreenBounds();
  std::vector<TdxBarHelperRef> ownTargets;
  for (TdxBarHelperRef& target : NavigableTargets(own))
    if (!IsSameHelper(target, ACurrent))
      ownTargets.push_back(std::move(target));
  std::vector<TdxBarHelperRef> others;
  for (TCustomdxBarControl* bar : BarsAround(own))
    if (bar != own)
      for (TdxBarHelperRef& target : NavigableTargets(bar))
        others.push_back(std::move(target));
  for (auto [list, wrap] : {std::pair{&ownTargets, false}, std::pair{&others, false}, std::pair{&ownTargets, true}}) {
    std::vector<TRect> rects;
    for (const TdxBarHelperRef& target : *list)
      rects.push_back(target->GetScreenBounds());
    if (int found = FindNearestInDirection(current, rects, ADirection, wrap); found >= 0)
      return (*list)[size_t(found)];
  }
  return nullptr;
}

// Tree order: the accessibility tree's within a dock site, else the elements of the
// manager's bars one after another, wrapping around.
TdxBarHelperRef NextTargetFrom(const TdxBarHelperRef& ACurrent, TdxBarAccessibilityHelper* AHelper, bool AForward)
{
  if (!ACurrent)
    return nullptr;
  for (TdxBarAccessibilityHelper* next = AHelper ? AHelper->GetNextNavigationTarget(AForward) : nullptr; next;
       next = next->GetNextNavigationTarget(AForward)) {
    TdxBarHelperRef target = next->GetNavigationTarget();
    if (!target)
      break;
    if (IsNavigableTarget(target))
      return target;
  }
  std::vector<TdxBarHelperRef> all;
  for (TCustomdxBarControl* bar : BarsAround(ACurrent->GetBarControl()))
    for (TdxBarHelperRef& target : NavigableTargets(bar))
      all.push_back(std::move(target));
  auto it = std::find_if(all.begin(), all.end(), [&](const TdxBarHelperRef& t) { return IsSameHelper(t, ACurrent); });
  if (it == all.end() || all.size() < 2)
    return nullptr;
  const size_t n = all.size(), i = size_t(it - all.begin());
  return all[AForward ? (i + 1) % n : (i + n - 1) % n];
}

// A navigation that leaves a bar window for another one closes it.
void LeaveBar(TCustomdxBarControl* ABar, const TdxBarHelperRef& ANext)
{
  if (ABar && (!ANext || ANext->GetBarControl() != ABar))
    ABar->Close();
}

// Key tips of the elements of the given windows, from their accessibility helpers, told
// apart across all the windows.
std::vector<TdxBarKeyTipInfo> CollectKeyTips(const std::vector<TCustomdxBarControl*>& ABars)
{
  std::vector<TdxBarAccessibilityHelper*> helpers;
  for (TCustomdxBarControl* bar : ABars)
    helpers.push_back(dxBarGetAccessibilityHelper(bar));
  std::vector<TdxBarKeyTipInfo> result;
  dxBarCollectUniqueKeyTips(helpers, result);
  return result;
}

class TRootNavigationTarget;
class TBarNavigationTarget;
class TItemNavigationTarget;

class TRootNavigationTarget : public IdxBarAccessibilityHelper {
public:
  explicit TRootNavigationTarget(TdxBarManager* AManager) : FManager(AManager) {}
  TObject* GetHelperObject() const override { return FManager.Get(); }
  TdxBarManager* GetBarManager() const override { return FManager.Get(); }
  TCustomdxBarControl* GetBarControl() const override { return nullptr; }
  TRect GetScreenBounds() const override { return TRect{}; }
  TdxBarHelperRef GetFirstSelectableObject() override
  {
    for (TCustomdxBarControl* bar : NavigableBars(FManager.Get()))
      if (TdxBarHelperRef first = GetBarControlNavigationTarget(bar)->GetFirstSelectableObject())
        return first;
    return nullptr;
  }
  TdxBarHelperRef GetNextSelectableObject(bool) override { return nullptr; }
  TdxBarHelperRef FindNavigationTarget(TcxAccessibilityNavigationDirection) override { return nullptr; }
  bool WantsKey(uint16_t) override { return false; }
  bool HandleNavigationKey(uint16_t) override { return false; }
  bool CanNavigate() override
  {
    TdxBarManager* manager = FManager.Get();
    return manager && !manager->IsCustomizing() && GetFirstSelectableObject() != nullptr;
  }
  void SelectForNavigation(bool) override {}
  void ClearNavigationSelection(const TdxBarHelperRef&) override {}
  std::vector<TdxBarKeyTipInfo> GetKeyTips() override { return CollectKeyTips(NavigableBars(FManager.Get())); }
  TdxBarHelperRef GetKeyTipParent() override { return nullptr; }
  IdxBarKeyTipWindowsManager* GetKeyTipWindowsManager() override { return &GKeyTipWindows; }

private:
  TWeakRef<TdxBarManager> FManager;
};

class TBarNavigationTarget : public IdxBarAccessibilityHelper {
public:
  explicit TBarNavigationTarget(TCustomdxBarControl* ABar) : FBar(ABar) {}
  TObject* GetHelperObject() const override { return FBar.Get(); }
  TdxBarManager* GetBarManager() const override { return FBar ? FBar->GetBarManager() : nullptr; }
  TCustomdxBarControl* GetBarControl() const override { return FBar.Get(); }
  TRect GetScreenBounds() const override
  {
    RECT r{};
    if (FBar && FBar->HandleAllocated())
      ::GetWindowRect(FBar->GetHandle(), &r);
    return r;
  }
  TdxBarHelperRef GetFirstSelectableObject() override
  {
    std::vector<TdxBarHelperRef> targets = NavigableTargets(FBar.Get());
    return targets.empty() ? nullptr : targets.front();
  }
  TdxBarHelperRef GetNextSelectableObject(bool) override { return nullptr; }
  TdxBarHelperRef FindNavigationTarget(TcxAccessibilityNavigationDirection) override { return nullptr; }
  bool IsMenu() const { return FBar && FBar->GetKind() == bckSubMenu; }
  // A menu window moves its own selection and closes one level on Esc.
  bool WantsKey(uint16_t AKey) override { return IsMenu() && AKey != VK_MENU && AKey != VK_F10; }
  bool HandleNavigationKey(uint16_t AKey) override
  {
    if (!WantsKey(AKey) || !FBar->HandleAllocated())
      return false;
    SendMessageW(FBar->GetHandle(), WM_KEYDOWN, AKey, 0);
    return true;
  }
  bool CanNavigate() override { return GetFirstSelectableObject() != nullptr; }
  void SelectForNavigation(bool) override {}
  void ClearNavigationSelection(const TdxBarHelperRef&) override {}
  std::vector<TdxBarKeyTipInfo> GetKeyTips() override { return CollectKeyTips({FBar.Get()}); }
  // One level up from a menu's tips is what was shown before it opened: its parent menu's
  // tips, or, for a menu opened from a toolbar, those of all the manager's bars as Alt shows them.
  TdxBarHelperRef GetKeyTipParent() override
  {
    TCustomdxBarControl* parent = FBar ? FBar->GetParentBarControl() : nullptr;
    if (parent && parent->GetKind() == bckSubMenu)
      return GetBarControlNavigationTarget(parent);
    return FBar ? std::make_shared<TRootNavigationTarget>(FBar->GetBarManager()) : nullptr;
  }
  IdxBarKeyTipWindowsManager* GetKeyTipWindowsManager() override { return &GKeyTipWindows; }

private:
  TWeakRef<TCustomdxBarControl> FBar;
};

class TItemNavigationTarget : public IdxBarAccessibilityHelper {
public:
  explicit TItemNavigationTarget(TdxBarItemControl* AControl) : FControl(AControl) {}
  TObject* GetHelperObject() const override { return FControl.Get(); }
  TdxBarManager* GetBarManager() const override { return Bar() ? Bar()->GetBarManager() : nullptr; }
  TCustomdxBarControl* GetBarControl() const override { return Bar(); }
  TRect GetScreenBounds() const override
  {
    TCustomdxBarControl* bar = Bar();
    return bar && bar->HandleAllocated() ? bar->GetItemScreenRect(FControl.Get()) : TRect{};
  }
  TdxBarHelperRef GetFirstSelectableObject() override
  {
    return FControl && FControl->CanSelect() ? GetItemControlNavigationTarget(FControl.Get()) : nullptr;
  }
  TdxBarHelperRef GetNextSelectableObject(bool AForward) override
  {
    return NextTargetFrom(GetItemControlNavigationTarget(FControl.Get()), dxBarGetAccessibilityHelper(FControl.Get()),
                          AForward);
  }
  TdxBarHelperRef FindNavigationTarget(TcxAccessibilityNavigationDirection ADirection) override
  {
    return FindTargetFrom(GetItemControlNavigationTarget(FControl.Get()), ADirection);
  }
  bool WantsKey(uint16_t AKey) override
  {
    if (IsInMenu())
      return AKey != VK_MENU && AKey != VK_F10;
    TdxBarItemControl* control = FControl.Get();
    if (!control)
      return false;
    if (AKey == VK_RETURN || (control->GetEnabled() && control->WantsKey(AKey)))
      return true;
    const UINT ch = MapVirtualKeyW(AKey, MAPVK_VK_TO_CHAR) & 0x7FFF;
    return IsCharAlphaNumericW(wchar_t(ch));
  }
  // Enter clicks, a key the control wants is its own, a letter or digit finds an accelerator;
  // in a menu the menu window handles every key.
  bool HandleNavigationKey(uint16_t AKey) override
  {
    if (!WantsKey(AKey))
      return false;
    TdxBarItemControl* control = FControl.Get();
    TCustomdxBarControl* bar = Bar();
    if (IsInMenu() || (AKey != VK_RETURN && !(control->GetEnabled() && control->WantsKey(AKey)))) {
      if (bar->HandleAllocated())
        SendMessageW(bar->GetHandle(), WM_KEYDOWN, AKey, 0);
      return true;
    }
    if (AKey == VK_RETURN)
      control->ClickByKey();
    else
      control->KeyDown(AKey);
    return true;
  }
  bool CanNavigate() override { return FControl && FControl->CanSelect(); }
  void SelectForNavigation(bool) override
  {
    TCustomdxBarControl* bar = Bar();
    if (!bar)
      return;
    TWeakRef<TCustomdxBarControl> barRef(bar);
    if (!bar->GetActive())
      bar->ActivateWithControl(FControl.Get());
    if (barRef && FControl)
      barRef->SelectAndPress(FControl.Get(), false);
    if (TdxBarNavigationController* controller = BarNavigationController())
      controller->SetSelection(GetItemControlNavigationTarget(FControl.Get()),
                               GetBarControlNavigationTarget(barRef.Get()));
  }
  void ClearNavigationSelection(const TdxBarHelperRef& ANext) override { LeaveBar(Bar(), ANext); }
  std::vector<TdxBarKeyTipInfo> GetKeyTips() override { return {}; }
  TdxBarHelperRef GetKeyTipParent() override { return Bar() ? GetBarControlNavigationTarget(Bar()) : nullptr; }
  IdxBarKeyTipWindowsManager* GetKeyTipWindowsManager() override { return &GKeyTipWindows; }

private:
  TCustomdxBarControl* Bar() const { return FControl ? FControl->GetParent() : nullptr; }
  bool IsInMenu() const { return Bar() && Bar()->GetKind() == bckSubMenu; }

  TWeakRef<TdxBarItemControl> FControl;
};

// A toolbar's mark, close button or caption button: Enter and Space run it, Esc as its
// accessibility helper says; selected, it is drawn hot in place of an item.
class TPartNavigationTarget : public IdxBarAccessibilityHelper {
public:
  TPartNavigationTarget(TdxBarControl* ABar, int APart) : FBar(ABar), FPart(APart) {}
  TObject* GetHelperObject() const override { return FBar.Get(); }
  int GetHelperPart() const override { return FPart; }
  TdxBarManager* GetBarManager() const override { return FBar ? FBar->GetBarManager() : nullptr; }
  TCustomdxBarControl* GetBarControl() const override { return FBar.Get(); }
  TRect GetScreenBounds() const override
  {
    TdxBarAccessibilityHelper* helper = Helper();
    return helper ? helper->GetScreenBounds(CHILDID_SELF) : TRect{};
  }
  TdxBarHelperRef GetFirstSelectableObject() override { return CanNavigate() ? Self() : nullptr; }
  TdxBarHelperRef GetNextSelectableObject(bool AForward) override { return NextTargetFrom(Self(), Helper(), AForward); }
  TdxBarHelperRef FindNavigationTarget(TcxAccessibilityNavigationDirection ADirection) override
  {
    return FindTargetFrom(Self(), ADirection);
  }
  bool WantsKey(uint16_t AKey) override { return AKey == VK_RETURN || AKey == VK_SPACE || AKey == VK_ESCAPE; }
  bool HandleNavigationKey(uint16_t AKey) override
  {
    TdxBarAccessibilityHelper* helper = Helper();
    return WantsKey(AKey) && helper && helper->HandleNavigationKey(AKey);
  }
  bool CanNavigate() override
  {
    TdxBarAccessibilityHelper* helper = Helper();
    return helper && helper->IsSelectable();
  }
  void SelectForNavigation(bool) override
  {
    TWeakRef<TdxBarControl> bar(FBar);
    if (!bar)
      return;
    bar->SelectNavigationPart(FPart);
    if (TdxBarNavigationController* controller = BarNavigationController(); controller && bar)
      controller->SetSelection(Self(), GetBarControlNavigationTarget(bar.Get()));
  }
  void ClearNavigationSelection(const TdxBarHelperRef& ANext) override
  {
    TdxBarControl* bar = FBar.Get();
    if (bar && bar->GetNavigationPart() == FPart)
      bar->SetNavigationPart(dxBarNoPartIndex);
    LeaveBar(bar, ANext);
  }
  std::vector<TdxBarKeyTipInfo> GetKeyTips() override { return {}; }
  TdxBarHelperRef GetKeyTipParent() override { return FBar ? GetBarControlNavigationTarget(FBar.Get()) : nullptr; }
  IdxBarKeyTipWindowsManager* GetKeyTipWindowsManager() override { return &GKeyTipWindows; }

private:
  TdxBarHelperRef Self() const { return GetBarPartNavigationTarget(FBar.Get(), FPart); }
  TdxBarAccessibilityHelper* Helper() const
  {
    return FBar ? dxBarGetPartAccessibilityHelper(FBar.Get(), FPart) : nullptr;
  }

  TWeakRef<TdxBarControl> FBar;
  int FPart;
};

}  // namespace

TdxBarHelperRef GetBarPartNavigationTarget(TdxBarControl* ABar, int APart)
{
  return ABar ? std::make_shared<TPartNavigationTarget>(ABar, APart) : nullptr;
}

TdxBarHelperRef GetBarControlNavigationTarget(TCustomdxBarControl* AControl)
{
  return AControl ? std::make_shared<TBarNavigationTarget>(AControl) : nullptr;
}

TdxBarHelperRef GetItemControlNavigationTarget(TdxBarItemControl* AControl)
{
  return AControl ? std::make_shared<TItemNavigationTarget>(AControl) : nullptr;
}

TdxBarWindowHelperProc SetdxBarWindowHelperProc(TdxBarWindowHelperProc AProc)
{
  std::swap(GWindowHelperProc, AProc);
  return AProc;
}

TdxBarHelperRef GetWindowAccessibilityHelper(HWND AWnd)
{
  if (GWindowHelperProc)
    if (TdxBarHelperRef helper = GWindowHelperProc(AWnd))
      return helper;
  TdxBarManager* manager = GetBarManagerOfWindow(AWnd);
  if (!manager || NavigableBars(manager).empty())
    return nullptr;
  return std::make_shared<TRootNavigationTarget>(manager);
}
