// Message boxes. Every message box of the layer and of the libraries above goes through
// one replaceable function, so that tests can answer it and see its text, caption and
// flags; ShowMessage and MessageDlg are the simple forms built on it.
#pragma once

#include <functional>

#include "platform/SysUtils.h"
#include "platform/Win.h"

// Shows a message box and returns the button pressed (IDOK, IDYES, ...).
using TMessageBoxProc = std::function<int(HWND Owner, const String& Text, const String& Caption, uint32_t Flags)>;
// Installs Proc (nil restores the system's MessageBoxW) and returns the previous one.
TMessageBoxProc SetMessageBoxProc(TMessageBoxProc Proc);
int ShowMessageBox(HWND Owner, const String& Text, const String& Caption, uint32_t Flags);

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp,
  mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// Text in a box with an OK button, captioned with the application's title.
void ShowMessage(const String& Msg);
// A message box of the dialog type's caption and icon with the buttons asked for, mapped
// onto the nearest set the system box offers (Yes/No/Cancel, OK/Cancel, Abort/Retry/
// Ignore, Retry/Cancel, Yes/No, OK). Returns the modal result of the button pressed.
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
// The flags MessageDlg passes for a type and buttons (exposed for tests and callers that
// want the same box through Application->MessageBox).
uint32_t MessageDlgFlags(TMsgDlgType DlgType, TMsgDlgButtons Buttons);
