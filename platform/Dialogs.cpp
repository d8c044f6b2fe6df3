#include "platform/Dialogs.h"

#include "platform/Forms.h"

namespace {

int SystemMessageBox(HWND Owner, const String& Text, const String& Caption, uint32_t Flags)
{
  return MessageBoxW(Owner, Text.c_str(), Caption.c_str(), Flags);
}

TMessageBoxProc& CurrentProc()
{
  static TMessageBoxProc proc;
  return proc;
}

String TitleForMessages()
{
  return Application ? Application->GetTitle() : String();
}

}  // namespace

TMessageBoxProc SetMessageBoxProc(TMessageBoxProc Proc)
{
  TMessageBoxProc previous = std::move(CurrentProc());
  CurrentProc() = std::move(Proc);
  return previous;
}

int ShowMessageBox(HWND Owner, const String& Text, const String& Caption, uint32_t Flags)
{
  const TMessageBoxProc& proc = CurrentProc();
  if (proc)
    return proc(Owner, Text, Caption, Flags);
  return SystemMessageBox(Owner, Text, Caption, Flags);
}

void ShowMessage(const String& Msg)
{
  ShowMessageBox(GetActiveWindow(), Msg, TitleForMessages(), MB_OK);
}

uint32_t MessageDlgFlags(TMsgDlgType DlgType, TMsgDlgButtons Buttons)
{
  uint32_t flags = 0;
  switch (DlgType) {
    case mtWarning:
      flags = MB_ICONWARNING;
      break;
    case mtError:
      flags = MB_ICONERROR;
      break;
    case mtInformation:
      flags = MB_ICONINFORMATION;
      break;
    case mtConfirmation:
      flags = MB_ICONQUESTION;
      break;
    case mtCustom:
      break;
  }
  // The system box has fixed button sets: take the first set that holds the main buttons.
  auto has = [&](TMsgDlgBtn b) { return Buttons.Contains(b); };
  if (has(mbAbort) || (has(mbRetry) && has(mbIgnore)))
    flags |= MB_ABORTRETRYIGNORE;
  else if (has(mbRetry))
    flags |= MB_RETRYCANCEL;
  else if ((has(mbYes) || has(mbYesToAll) || has(mbAll)) && (has(mbCancel) || has(mbClose)))
    flags |= MB_YESNOCANCEL;
  else if (has(mbYes) || has(mbYesToAll) || has(mbAll) || has(mbNo) || has(mbNoToAll))
    flags |= MB_YESNO;
  else if (has(mbCancel) || has(mbClose))
    flags |= MB_OKCANCEL;
  else
    flags |= MB_OK;
  if (has(mbHelp))
    flags |= MB_HELP;
  // The first button is the default, unless it is the only one that is not asked for.
  if ((flags & MB_TYPEMASK) == MB_YESNO && !has(mbYes) && has(mbNo))
    flags |= MB_DEFBUTTON2;
  return flags;
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
  static const wchar_t* const captions[] = {L"Warning", L"Error", L"Information", L"Confirm", nullptr};
  String caption = captions[DlgType] ? String(captions[DlgType]) : TitleForMessages();
  int answer = ShowMessageBox(GetActiveWindow(), Msg, caption, MessageDlgFlags(DlgType, Buttons));
  // IDOK ... IDCONTINUE are the modal results of the same buttons.
  return answer;
}
