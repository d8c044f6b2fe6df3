// What the parsers make of outside bytes, as canonical text: the fuzz targets' round
// trips print trees with it, and the parse dump program (built for the host and for
// Windows) writes it for every seed, so that the two builds can be compared line by line.
#pragma once

#include <string>

#include "platform/FormParser.h"
#include "platform/ShortCutText.h"

// Text as printable ASCII: other code units as \uXXXX.
std::string Escaped(const String& s);

// Form text that parses to the same tree. With Lines, each block and value is followed by
// "@line" (not parseable then, for comparing where things were found).
String FormTreeText(const TFormObject& root, bool Lines = false);

// The key names the shortcut target and dump read against: the names every layout shares
// and a fixed stand-in for the layout's own, the same on every build.
String FuzzKeyName(uint8_t Key);
const TKeyNameTable& FuzzKeyNames();

// One canonical dump per parser, from the raw bytes of one input.
std::string DumpForm(const std::string& bytes);
std::string DumpReader(const std::string& bytes);
std::string DumpIni(const std::string& bytes);
std::string DumpBmp(const std::string& bytes);
std::string DumpImageList(const std::string& bytes);
std::string DumpNumbers(const std::string& bytes);
std::string DumpShortCuts(const std::string& bytes);
// A stored bar layout as the manager reads it, written back (base "Form1.dxBarManager1.").
std::string DumpLayout(const std::string& bytes);
