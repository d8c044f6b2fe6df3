// What the files of the bars' accessibility helpers share among themselves: a window's place
// on the screen, a caption as a reader hears it, the deferral of an action a client asks for,
// and the factories by which one file makes the element kinds of another.
#pragma once

#include <functional>

#include "bars/accessibility/baraccessibility.h"

class TdxBarControl;
class TWinControl;

namespace BarAccessibility {

// The window's screen rectangle while it shows; empty otherwise.
TRect WindowScreenRect(TWinControl* AControl);
bool IsWindowShown(TWinControl* AControl);
TPoint RectCentre(const TRect& R);
// Runs an action a client asks for later, from the message loop.
void DeferAction(std::function<void()> AAction);
TdxBarAccessibilityHelper* HelperOf(TObject* AOwner);

// The helper of a dock site or bar window; nil for an object of another kind.
TdxBarAccessibilityHelper* CreateWindowHelper(TObject* AOwner);
// The helpers of a toolbar's mark and of the group of its caption buttons.
TdxBarAccessibilityHelper* CreateMarkHelper(TdxBarControl* ABar);
TdxBarAccessibilityHelper* CreateCaptionButtonsHelper(TdxBarControl* ABar);

}  // namespace BarAccessibility
