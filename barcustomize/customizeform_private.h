// What the Customize dialog's files share: text measures in a control's font.
#pragma once

#include "platform/Graphics.h"
#include "platform/Strings.h"

class TFont;

// The extent of AText in AFont on the screen (no prefix processing).
int CustomizeFormTextWidth(TFont* AFont, const String& AText);
int CustomizeFormTextHeight(TFont* AFont, const String& AText);
