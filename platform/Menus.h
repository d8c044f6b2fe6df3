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

// A caption's accelerator, the character its "&" marks ("&File" is run by F). The first
// single "&" counts, for the key that runs the caption and for the letter drawn underlined
// alike; "&&" stands for a literal ampersand, and a "&" as the last character marks nothing.
struct TAccelCaption {
  String Text;                        // the caption as shown: markers removed, "&&" made "&"
  size_t Index = String::npos;        // the accelerator's place in Text; npos for none
  size_t SourceIndex = String::npos;  // its place in the caption as written
  wchar_t Char() const { return Index < Text.size() ? Text[Index] : L'\0'; }
};
TAccelCaption ParseAccelCaption(const String& ACaption);
// The accelerator character of a caption as written; 0 for none.
wchar_t GetAccelChar(const String& ACaption);
// The caption as shown: every marker removed, "&&" made "&"; a "&" as the last character stays.
String StripAccelChars(const String& ACaption);
// The caption for the system's text drawing, which underlines the last single "&" where the
// keys take the first: the first mark alone, further marks gone, literal ampersands doubled.
String KeepFirstAccelMark(const String& ACaption);
