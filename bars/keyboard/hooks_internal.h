// What the two hook files share and nobody else uses: bars/keyboard/hooks.cpp owns the
// keyboard hook's handle and the eat-every-key state, bars/keyboard/hooks_keyboard.cpp the
// keyboard hook's procedure.
#pragma once

#include "platform/Win.h"

HHOOK dxBarKeyboardHookHandle();
bool dxBarEatingAllKeys();
LRESULT CALLBACK dxBarKeyboardHookProc(int Code, WPARAM WParam, LPARAM LParam);
