// An application menu for the accessibility tests, built the same way in the host program and
// in the tests, opened from a drop-down button on a toolbar of its own.
#pragma once

#include <functional>

#include "bars/model/bar.h"
#include "support/TestApplicationMenu.h"

// A toolbar "Application" docked at the bottom whose "&File" drop-down opens an application
// menu: links "&New" and "&Open", a pane 120 pixels wide with entries "Recent &A" and
// "Recent &B", and the row's "&Options" and "E&xit". AOwner owns the menu; AMakeButton makes
// each button (and what a click does).
TTestApplicationMenu* AddApplicationMenuBar(TComponent* AOwner, TdxBarManager* AManager,
                                            const std::function<TdxBarButton*(const String&)>& AMakeButton);
