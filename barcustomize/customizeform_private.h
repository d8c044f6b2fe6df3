// What the Customize dialog's files share: text measures in a control's font.
#pragma once

#include "platform/Graphics.h"
#include "platform/Strings.h"
#include "platform/Win.h"

class TFont;

// The extent of AText in AFont on the screen (no prefix processing).
SIZE CustomizeFormTextExtent(TFont* AFont, const String& AText);
inline int CustomizeFormTextWidth(TFont* AFont, const String& AText)
{
  return CustomizeFormTextExtent(AFont, AText).cx;
}
inline int CustomizeFormTextHeight(TFont* AFont, const String& AText)
{
  return CustomizeFormTextExtent(AFont, AText).cy;
}

class TListBox;
class TObject;
// The object of a list's entry; nil for an index out of range.
TObject* CustomizeFormEntryObject(TListBox* AList, int AIndex);
