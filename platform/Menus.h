// Keyboard shortcuts as menus, actions and bar items store them: a virtual key in the low
// byte with modifier bits above, and their text form ("Ctrl+Shift+F5" reads back as
// written, "Shift+Ctrl+F5" is how it is written) in the platform's key names.
#pragma once

#include "platform/System.h"

using TShortCut = uint16_t;

enum : TShortCut {
  scNone = 0,
  scShift = 0x2000,
  scCtrl = 0x4000,
  scAlt = 0x8000,
};

// The shortcut of a virtual key (its low byte) with the modifiers of Shift.
TShortCut ShortCut(uint16_t Key, TShiftState Shift);
// Splits a shortcut into its virtual key and modifiers.
void ShortCutToKey(TShortCut ShortCut, uint16_t& Key, TShiftState& Shift);
// "Shift+", "Ctrl+", "Alt+" in that order, then the key's name; empty for a key that has
// no name (and for 0).
String ShortCutToText(TShortCut ShortCut);
// The inverse, case-insensitive, with the modifiers in any order; 0 for unknown text.
TShortCut TextToShortCut(const String& Text);
// The name of a virtual key alone, empty when it has none.
String KeyToText(uint16_t Key);
