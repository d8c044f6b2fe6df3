// Small helpers of the control layer: cursor identifiers for form data and shift states
// from messages and the keyboard.
#include "platform/Controls.h"

// ---------------------------------------------------------------------------
// Cursor identifiers.

const TIdentMap& CursorIdents()
{
  static const TIdentMap map{
      {crDefault, L"crDefault"},     {crNone, L"crNone"},           {crArrow, L"crArrow"},
      {crCross, L"crCross"},         {crIBeam, L"crIBeam"},         {crSizeNESW, L"crSizeNESW"},
      {crSizeNS, L"crSizeNS"},       {crSizeNWSE, L"crSizeNWSE"},   {crSizeWE, L"crSizeWE"},
      {crUpArrow, L"crUpArrow"},     {crHourGlass, L"crHourGlass"}, {crDrag, L"crDrag"},
      {crNoDrop, L"crNoDrop"},       {crHSplit, L"crHSplit"},       {crVSplit, L"crVSplit"},
      {crMultiDrag, L"crMultiDrag"}, {crSQLWait, L"crSQLWait"},     {crNo, L"crNo"},
      {crAppStart, L"crAppStart"},   {crHelp, L"crHelp"},           {crHandPoint, L"crHandPoint"},
      {crSizeAll, L"crSizeAll"},     {crSizeAll, L"crSize"},
  };
  return map;
}

bool CursorToIdent(int32_t Cursor, String& Ident)
{
  return IntToIdent(CursorIdents(), Cursor, Ident);
}

bool IdentToCursor(const String& Ident, int32_t& Cursor)
{
  int64_t value = 0;
  if (!IdentToInt(CursorIdents(), Ident, value))
    return false;
  Cursor = int32_t(value);
  return true;
}

// ---------------------------------------------------------------------------
// Shift states.

String GetShortHint(const String& Hint)
{
  const size_t bar = Hint.find(L'|');
  return bar == String::npos ? Hint : Hint.substr(0, bar);
}

String GetLongHint(const String& Hint)
{
  const size_t bar = Hint.find(L'|');
  return bar == String::npos ? Hint : Hint.substr(bar + 1);
}

TShiftState KeysToShiftState(WORD Keys)
{
  TShiftState s;
  if (Keys & MK_SHIFT)
    s += ssShift;
  if (Keys & MK_CONTROL)
    s += ssCtrl;
  if (Keys & MK_LBUTTON)
    s += ssLeft;
  if (Keys & MK_RBUTTON)
    s += ssRight;
  if (Keys & MK_MBUTTON)
    s += ssMiddle;
  if (::GetKeyState(VK_MENU) < 0)
    s += ssAlt;
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
  TShiftState s;
  if (::GetKeyState(VK_SHIFT) < 0)
    s += ssShift;
  if (::GetKeyState(VK_CONTROL) < 0)
    s += ssCtrl;
  if (KeyDataHasAlt(KeyData))
    s += ssAlt;
  return s;
}

TShiftState GetShiftState()
{
  TShiftState s;
  if (::GetKeyState(VK_SHIFT) < 0)
    s += ssShift;
  if (::GetKeyState(VK_CONTROL) < 0)
    s += ssCtrl;
  if (::GetKeyState(VK_MENU) < 0)
    s += ssAlt;
  if (::GetKeyState(VK_LBUTTON) < 0)
    s += ssLeft;
  if (::GetKeyState(VK_RBUTTON) < 0)
    s += ssRight;
  if (::GetKeyState(VK_MBUTTON) < 0)
    s += ssMiddle;
  return s;
}
