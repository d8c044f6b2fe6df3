// Lines on the program's standard output. The demo is a windowed program, so the C
// runtime's streams may not be tied to the handle it inherited: lines go straight to the
// standard output handle, as UTF-8, and are on their way before the call returns.
#pragma once

#include "platform/System.h"

// Writes Line and a line feed; does nothing when the program has no standard output.
void WriteOutputLine(const String& Line);
