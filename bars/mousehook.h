// The thread's mouse hook: bars and menus never take the focus, so the library watches the
// mouse itself and closes the active bar windows when a button goes down outside them. It is
// installed while at least one bar manager exists.
#pragma once

#include "platform/Win.h"

// Installs the hook for the calling thread when it is not installed yet / removes it.
void dxBarInstallMouseHook();
void dxBarRemoveMouseHook();
bool dxBarIsMouseHookInstalled();

// What the hook does with one mouse message (exposed for tests): true when the message is
// eaten (its target window went away with the bars it closed).
bool dxBarMouseHookMessage(UINT AMessage, HWND ATarget);
