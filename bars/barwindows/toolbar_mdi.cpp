// The buttons a main-menu bar shows for the form's maximised MDI child (minimise, restore,
// close) or for the manager's close button: whether they show, where they lie, whether each
// is enabled, and the press, track and release that send the child its command.
#include "bars/barwindows/toolbar.h"

#include "bars/model/manager.h"
#include "platform/Forms.h"

// ---------------------------------------------------------------------------
// Where they lie

namespace {

// What the minimise, restore and close buttons send the child, by button index.
const UINT kMDICommands[3] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};

// The active MDI child of the form that holds the manager: its window, zoomed or not.
HWND ActiveMDIChildOf(TdxBarManager* AManager)
{
  TCustomForm* form = AManager ? AManager->GetTopLevelForm() : nullptr;
  if (!form)
    return nullptr;
  TCustomForm* child = form->GetActiveMDIChild();
  return child && child->HandleAllocated() ? child->GetHandle() : nullptr;
}

}  // namespace

bool TdxBarControl::HasMDISystemMenu() const
{
  if (!IsMainMenu())
    return false;
  HWND child = ActiveMDIChildOf(GetBarManager());
  return child && ::IsZoomed(child) && (::GetWindowLongPtrW(child, GWL_STYLE) & WS_SYSMENU) &&
         ::GetSystemMenu(child, FALSE);
}

bool TdxBarControl::HasMDIButtons() const
{
  if (!IsMainMenu())
    return false;
  if (HasMDISystemMenu())
    return true;
  TdxBarManager* manager = GetBarManager();
  return manager && manager->GetShowCloseButton();
}

int TdxBarControl::MDIAreaFor(TdxBarDockingStyle AStyle) const
{
  if (!HasMDIButtons())
    return 0;
  bool vertical = IsStyleVertical(AStyle);
  int one = vertical ? FMDIButtonSize.cy : FMDIButtonSize.cx;
  if (!HasMDISystemMenu() || vertical)
    return one;
  return 3 * one + 2;
}

int TdxBarControl::GetMDIAreaLength() const
{
  return MDIAreaFor(FDockingStyle);
}

TRect TdxBarControl::GetMDIButtonRect(int AButton) const
{
  if (!HasMDIButtons() || AButton < 0 || AButton > 2)
    return TRect{};
  bool all = HasMDISystemMenu();
  if (!all && AButton != 2)
    return TRect{};
  TRect client = GetClientRect();
  int markLen = HasMark() && FDockingStyle != dsNone ? GetFullMarkSize() : 0;
  int w = FMDIButtonSize.cx, h = FMDIButtonSize.cy;
  if (IsVertical()) {
    // Stacked at the end of the bar, above the mark; centred across.
    int bottom = client.bottom - markLen;
    int index = all ? AButton : 0;
    int count = all ? 3 : 1;
    int top = bottom - (count - index) * h;
    int left = (client.right - w) / 2;
    return Rect(left, top, left + w, top + h);
  }
  int right = client.right - markLen;
  // Minimize and restore touch; 2 pixels part them from close.
  int left = all ? right - (3 * w + 2) + AButton * w + (AButton == 2 ? 2 : 0) : right - w;
  int top = (client.bottom - h) / 2;
  if (!FPlacement.empty() && IsMultiLine()) {
    // On a wrapped bar the buttons end the last line, or make a line of their own below it.
    const TdxBarLayoutLink& last = FPlacement.back();
    bool fits = last.Bounds.right + (right - left) <= right;
    top = fits ? last.LineTop + (last.LineThickness - h) / 2 : last.LineTop + last.LineThickness;
  }
  return Rect(left, top, left + w, top + h);
}

bool TdxBarControl::IsMDIButtonEnabled(int AButton) const
{
  if (AButton < 0 || AButton > 2)
    return false;
  HWND child = ActiveMDIChildOf(GetBarManager());
  if (!child)
    return AButton == 2;
  HMENU menu = ::GetSystemMenu(child, FALSE);
  if (!menu)
    return AButton == 2;
  UINT state = ::GetMenuState(menu, kMDICommands[AButton], MF_BYCOMMAND);
  return state == UINT(-1) || !(state & MF_GRAYED);
}

// ---------------------------------------------------------------------------
// Pressing them

bool TdxBarControl::MDIButtonsMouseDown(const TPoint& P)
{
  if (!HasMDIButtons())
    return false;
  TdxBarMDIButtonsState& state = dxBarMDIButtonsState();
  for (int i = HasMDISystemMenu() ? 0 : 2; i < 3; ++i) {
    TRect r = GetMDIButtonRect(i);
    if (::PtInRect(&r, P) && IsMDIButtonEnabled(i)) {
      state.Pressed = true;
      state.PressedHot = true;
      state.PressedIndex = i;
      state.HotIndex = i;
      ::InvalidateRect(FHandle, &r, FALSE);
      ::SetCapture(FHandle);
      return true;
    }
  }
  return false;
}

void TdxBarControl::MDIButtonsMouseMove(const TPoint& P)
{
  if (!HasMDIButtons() || !HandleAllocated())
    return;
  TdxBarMDIButtonsState& state = dxBarMDIButtonsState();
  if (state.Pressed) {
    TRect r = GetMDIButtonRect(state.PressedIndex);
    bool hot = ::PtInRect(&r, P) != 0;
    if (hot != state.PressedHot) {
      state.PressedHot = hot;
      ::InvalidateRect(FHandle, &r, FALSE);
    }
    return;
  }
  int hot = -1;
  for (int i = HasMDISystemMenu() ? 0 : 2; i < 3; ++i) {
    TRect r = GetMDIButtonRect(i);
    if (::PtInRect(&r, P) && IsMDIButtonEnabled(i))
      hot = i;
  }
  if (hot != state.HotIndex) {
    TRect oldR = GetMDIButtonRect(state.HotIndex);
    TRect newR = GetMDIButtonRect(hot);
    state.HotIndex = hot;
    ::InvalidateRect(FHandle, &oldR, FALSE);
    ::InvalidateRect(FHandle, &newR, FALSE);
  }
}

void TdxBarControl::MDIButtonsMouseUp(const TPoint& P)
{
  TdxBarMDIButtonsState& state = dxBarMDIButtonsState();
  int pressed = state.PressedIndex;
  TRect r = GetMDIButtonRect(pressed);
  bool over = ::PtInRect(&r, P) != 0;
  if (::GetCapture() == FHandle)
    ::ReleaseCapture();
  state = TdxBarMDIButtonsState{};
  ::InvalidateRect(FHandle, nullptr, FALSE);
  if (!over || pressed < 0)
    return;
  TdxBarManager* manager = GetBarManager();
  if (HasMDISystemMenu()) {
    TCustomForm* form = manager ? manager->GetTopLevelForm() : nullptr;
    TCustomForm* child = form ? form->GetActiveMDIChild() : nullptr;
    if (child && child->HandleAllocated())
      ::SendMessageW(child->GetHandle(), WM_SYSCOMMAND, kMDICommands[pressed], 0);
  } else if (manager) {
    CallEvent(manager->OnCloseButtonClick, manager);
  }
}

void TdxBarControl::CancelMDIButton()
{
  TdxBarMDIButtonsState& state = dxBarMDIButtonsState();
  if (!state.Pressed)
    return;
  if (HandleAllocated() && ::GetCapture() == FHandle)
    ::ReleaseCapture();
  state = TdxBarMDIButtonsState{};
  if (HandleAllocated())
    ::InvalidateRect(FHandle, nullptr, FALSE);
}
