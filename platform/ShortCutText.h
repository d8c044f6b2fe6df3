// The text form of shortcuts apart from where key names come from: the modifier words
// and reading and writing "Shift+Ctrl+F5" against a table of key names. ShortCuts.cpp
// fills the table from the keyboard layout; this part builds for the host too.
#pragma once

#include <array>
#include <functional>

#include "platform/Menus.h"

// The name of a virtual key, empty when it has none.
using TKeyNamer = std::function<String(uint8_t Key)>;

// The names of all 256 keys, for reading text.
struct TKeyNameTable {
  std::array<String, 256> Names;

  void Fill(const TKeyNamer& NameOf);
  // The first key with that name (case-insensitive), or 0.
  uint8_t Find(const String& Name) const;
};

// "Shift+", "Ctrl+", "Alt+" in that order, then the key's name; empty when it has none.
String ShortCutTextOf(TShortCut ShortCut, const TKeyNamer& NameOf);
// The inverse, case-insensitive, with the modifiers in any order; 0 for unknown text.
TShortCut ShortCutOfText(const String& Text, const TKeyNameTable& Keys);
