// Probes of what the bars show, for tests that drive them as a user does: the control an
// item shows, and where a window, a control or a part of one stands on the screen.
#pragma once

#include <gtest/gtest.h>

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "platform/Win.h"

class TdxBarButton;

// The control a link shows, as C; nullptr without a link, a control, or one of that kind.
template <class C = TdxBarItemControl>
C* ControlOf(TdxBarItemLink* ALink)
{
  return ALink ? dynamic_cast<C*>(ALink->GetControl()) : nullptr;
}

// The control of AItem's first link among ALinks.
template <class C = TdxBarItemControl>
C* ControlOf(TdxBarItemLinks* ALinks, TdxBarItem* AItem)
{
  for (int i = 0; ALinks && i < ALinks->Count(); ++i)
    if (TdxBarItemLink* link = ALinks->Items(i); link->GetItem() == AItem)
      return ControlOf<C>(link);
  return nullptr;
}

// The control of the first of AItem's links, wherever they are, that shows one.
template <class C = TdxBarItemControl>
C* ControlOf(TdxBarItem* AItem)
{
  for (int i = 0; AItem && i < AItem->GetLinkCount(); ++i)
    if (TdxBarItemControl* control = AItem->GetLink(i)->GetControl())
      return dynamic_cast<C*>(control);
  return nullptr;
}

// The middle of R.
inline POINT CentreOf(const RECT& R)
{
  return POINT{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
}

// A window's rectangle on the screen; empty without a window.
RECT WindowRectOf(HWND AWnd);
// R, in AWnd's client coordinates, on the screen, and its middle there.
RECT ScreenRectOf(HWND AWnd, const RECT& R);
POINT ScreenCentreOf(HWND AWnd, const RECT& R);
// A control's rectangle on the screen: a windowed control's whole window, empty while it has
// none; empty without a control.
TRect ScreenRectOf(TControl* AControl);
// R, in AControl's client coordinates, on the screen.
TRect ScreenRectOf(TControl* AControl, const TRect& R);

// The control's cell on the screen; empty without a control on a bar. While the bar has no
// window, the cell in the bar's coordinates.
TRect ScreenRectOf(TdxBarItemControl* AControl);
// R, in the coordinates of the bar that shows AControl, on the screen.
TRect ScreenRectOf(TdxBarItemControl* AControl, const TRect& R);
// The link's cell on the screen; empty without a link on a bar.
TRect ScreenRectOf(TdxBarItemLink* ALink);

// The middles of those on the screen; {-1, -1}, where no click lands, without a control or a
// link on a bar.
POINT ScreenCentreOf(TdxBarItemControl* AControl);
POINT ScreenCentreOf(TdxBarItemControl* AControl, const TRect& R);
POINT ScreenCentreOf(TdxBarItemLink* ALink);
POINT ScreenCentreOf(TControl* AControl);
POINT ScreenCentreOf(TControl* AControl, const TRect& R);
// The screen centre of the arrow part of a drop-down button's first control; {-1, -1} without
// a control.
POINT ArrowCentreOf(TdxBarButton* AButton);

// Holds Alt until the bars show their key tips, lets it go and waits until every key message
// is taken; says which of the two did not happen.
[[nodiscard]] testing::AssertionResult ShowKeyTipsByAlt();
