// Where windows, controls and their parts stand on the screen.
#include "support/BarProbe.h"

#include "bars/itemcontrols/buttons.h"
#include "bars/keyboard/navigation.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

constexpr POINT Nowhere{-1, -1};

}  // namespace

RECT WindowRectOf(HWND AWnd)
{
  RECT r{};
  if (AWnd)
    ::GetWindowRect(AWnd, &r);
  return r;
}

RECT ScreenRectOf(HWND AWnd, const RECT& R)
{
  RECT r = R;
  ::MapWindowPoints(AWnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

POINT ScreenCentreOf(HWND AWnd, const RECT& R)
{
  return CentreOf(ScreenRectOf(AWnd, R));
}

TRect ScreenRectOf(TControl* AControl)
{
  if (!AControl)
    return TRect{};
  if (auto* window = dynamic_cast<TWinControl*>(AControl))
    return window->HandleAllocated() ? WindowRectOf(window->GetHandle()) : TRect{};
  TWinControl* parent = AControl->GetParent();
  return parent ? parent->ClientToScreen(AControl->GetBoundsRect()) : AControl->GetBoundsRect();
}

TRect ScreenRectOf(TControl* AControl, const TRect& R)
{
  return AControl ? AControl->ClientToScreen(R) : TRect{};
}

TRect ScreenRectOf(TdxBarItemControl* AControl)
{
  return AControl && AControl->GetParent() ? AControl->GetParent()->GetItemScreenRect(AControl) : TRect{};
}

TRect ScreenRectOf(TdxBarItemControl* AControl, const TRect& R)
{
  return AControl ? ScreenRectOf(AControl->GetParent(), R) : TRect{};
}

TRect ScreenRectOf(TdxBarItemLink* ALink)
{
  TCustomdxBarControl* bar = ALink ? ALink->GetBarControl() : nullptr;
  return bar ? bar->ClientToScreen(ALink->GetItemRect()) : TRect{};
}

POINT ScreenCentreOf(TdxBarItemControl* AControl)
{
  return AControl && AControl->GetParent() ? CentreOf(ScreenRectOf(AControl)) : Nowhere;
}

POINT ScreenCentreOf(TdxBarItemControl* AControl, const TRect& R)
{
  return AControl && AControl->GetParent() ? CentreOf(ScreenRectOf(AControl, R)) : Nowhere;
}

POINT ScreenCentreOf(TdxBarItemLink* ALink)
{
  return ALink && ALink->GetBarControl() ? CentreOf(ScreenRectOf(ALink)) : Nowhere;
}

POINT ScreenCentreOf(TControl* AControl)
{
  return AControl ? CentreOf(ScreenRectOf(AControl)) : Nowhere;
}

POINT ScreenCentreOf(TControl* AControl, const TRect& R)
{
  return AControl ? CentreOf(ScreenRectOf(AControl, R)) : Nowhere;
}

POINT ArrowCentreOf(TdxBarButton* AButton)
{
  auto* control = ControlOf<TdxBarButtonControl>(AButton);
  if (!control)
    return Nowhere;
  control->CalcParts();
  return ScreenCentreOf(control, control->GetPartRects().at(1));
}

testing::AssertionResult ShowKeyTipsByAlt()
{
  SendKeyTransition(VK_MENU, true);
  const bool shown = PumpUntil([] { return BarNavigationController()->AreKeyTipsShown(); }, 3000);
  SendKeyTransition(VK_MENU, false);
  const bool taken = WaitUntilKeysTaken();
  if (!shown)
    return testing::AssertionFailure() << "the key tips did not show while Alt was held";
  if (!taken)
    return testing::AssertionFailure() << "key messages were still queued after Alt was let go";
  return testing::AssertionSuccess();
}
