// Answers the real message boxes of this thread from a thread timer, which every modal loop
// dispatches.
#include "support/MessageBoxAnswerer.h"

TMessageBoxAnswerer* TMessageBoxAnswerer::FCurrent = nullptr;

TMessageBoxAnswerer::TMessageBoxAnswerer(int AButton) : FButton(AButton)
{
  FCurrent = this;
  FTimer = ::SetTimer(nullptr, 0, 50, TimerProc);
}

TMessageBoxAnswerer::~TMessageBoxAnswerer()
{
  ::KillTimer(nullptr, FTimer);
  FCurrent = nullptr;
}

void CALLBACK TMessageBoxAnswerer::TimerProc(HWND, UINT, UINT_PTR, DWORD)
{
  TMessageBoxAnswerer* self = FCurrent;
  if (!self)
    return;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND AWnd, LPARAM AParam) -> BOOL {
        wchar_t cls[32] = {};
        ::GetClassNameW(AWnd, cls, 32);
        if (String(cls) != L"#32770" || !::IsWindowVisible(AWnd))
          return TRUE;
        auto* answerer = reinterpret_cast<TMessageBoxAnswerer*>(AParam);
        TBox box;
        wchar_t text[512] = {};
        // The message box's text is its static control 0xFFFF.
        ::GetDlgItemTextW(AWnd, 0xFFFF, text, 512);
        box.Text = text;
        box.HasYes = ::GetDlgItem(AWnd, IDYES) != nullptr;
        box.HasNo = ::GetDlgItem(AWnd, IDNO) != nullptr;
        // A box already answered is waiting for its answer to arrive.
        if (AWnd == answerer->FAnswered)
          return FALSE;
        answerer->FAnswered = AWnd;
        answerer->FBoxes.push_back(box);
        if (HWND button = ::GetDlgItem(AWnd, answerer->FButton))
          ::PostMessageW(AWnd, WM_COMMAND, MAKEWPARAM(answerer->FButton, BN_CLICKED), LPARAM(button));
        else
          ::PostMessageW(AWnd, WM_COMMAND, IDCANCEL, 0);
        return FALSE;
      },
      reinterpret_cast<LPARAM>(self));
}
