// The accessibility helpers of a toolbar's parts: its mark, the group of its caption
// buttons and each caption button, the close button of a floating toolbar among them.
#include <map>

#include "bars/accessibility/baraccessibility.h"
#include "bars/accessibility/baraccessibility_impl.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "bars/model/bar.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/utils/utils.h"

namespace BarAccessibility {
namespace {

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
    DeferAction([this, ref = TcxAccessibilityHelperRef::Share(this)] { Click(); });
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
    TdxBarHelperRef first = GetBarControlNavigationTarget(FBar.Get())->GetFirstSelectableObject();
    TdxBarNavigationController* navigation = BarNavigationController();
    if (!first || !navigation || first->GetBarControl() != FBar.Get())
      return false;
    navigation->ChangeSelectedObject(false, nullptr, first);
    return true;
  }
  TdxBarHelperRef GetNavigationTarget() override
  {
    if (FIsClose)
      return GetBarPartNavigationTarget(FBar.Get(), dxBarCloseButtonIndex);
    return FButton && FButton->GetCaptionButtons() ? GetBarPartNavigationTarget(FBar.Get(), FButton->Index()) : nullptr;
  }

private:
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
    const TdxBarMarkState mark = FBar ? FBar->GetMarkState() : TdxBarMarkState::Normal;
    return mark == TdxBarMarkState::Pressed ? STATE_SYSTEM_PRESSED
           : mark == TdxBarMarkState::Hot   ? STATE_SYSTEM_HOTTRACKED
                                            : 0;
  }
  int GetRole(int) override { return ROLE_SYSTEM_BUTTONMENU; }
  // What its hint says, so that a reader does not announce an unnamed button.
  String GetName(int) override { return FBar ? FBar->GetMarkHint() : String(); }
  String GetDefaultActionDescription(int) override { return L"Press"; }
  int GetSupportedProperties(int) override { return cxAccessibleLocation | cxAccessibleDefaultAction; }
  void DoDefaultAction(int) override
  {
    DeferAction([this, ref = TcxAccessibilityHelperRef::Share(this)] { Click(); });
  }
  // Enter and Space press the mark; the popup it opens takes the keyboard at its first element.
  bool HandleNavigationKey(WORD AKey) override
  {
    TWeakRef<TdxBarControl> bar = FBar;
    if ((AKey != VK_RETURN && AKey != VK_SPACE) || !Click())
      return false;
    TCustomdxBarControl* quick = bar ? bar->GetQuickControl() : nullptr;
    if (quick && quick == ActiveBarControl())
      if (TdxBarHelperRef first = GetBarControlNavigationTarget(quick)->GetFirstSelectableObject())
        first->SelectForNavigation(false);
    return true;
  }
  void ExecuteKeyTip() override { Click(); }
  TdxBarHelperRef GetNavigationTarget() override { return GetBarPartNavigationTarget(FBar.Get(), dxBarMarkIndex); }

private:
  // Pressed, then let go as the pointer's release would: with no capture to end the press,
  // a mark left pressed would stay drawn so. A popup it opened keeps it open until it closes.
  bool Click()
  {
    TWeakRef<TdxBarControl> bar = FBar;
    if (!IsAlive() || !bar || !IsVisible())
      return false;
    bar->ClickMark(TdxBarMarkState::Pressed);
    if (bar && bar->GetMarkState() == TdxBarMarkState::Pressed && !bar->GetQuickControl() &&
        ::GetCapture() != bar->GetHandle())
      bar->ClickMark(TdxBarMarkState::Normal);
    return true;
  }
  TWeakRef<TdxBarControl> FBar;
};

}  // namespace

TdxBarAccessibilityHelper* CreateMarkHelper(TdxBarControl* ABar)
{
  return new TdxBarControlMarkAccessibilityHelper(ABar);
}

TdxBarAccessibilityHelper* CreateCaptionButtonsHelper(TdxBarControl* ABar)
{
  return new TdxBarCaptionButtonsAccessibilityHelper(ABar);
}

}  // namespace BarAccessibility
