// Answers the real message boxes of this thread from a thread timer, which every modal loop
// dispatches.
#include "support/MessageBoxAnswerer.h"

#include <algorithm>

#include "support/ThreadWindows.h"

TMessageBoxAnswerer* TMessageBoxAnswerer::FCurrent = nullptr;

TMessageBoxAnswerer::TMessageBoxAnswerer(int AButton, std::function<void(HWND)> AWhileUp)
    : FButton(AButton), FWhileUp(std::move(AWhileUp))
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
  if (TMessageBoxAnswerer* self = FCurrent)
    self->Tick();
}

void TMessageBoxAnswerer::Tick()
{
  const std::vector<HWND> shown = ThreadWindows({L"#32770", true});
  FMostAtOnce = std::max(FMostAtOnce, int(shown.size()));
  // A box already answered is waiting for its answer to arrive; one gone is forgotten.
  std::erase_if(FAnswered, [](HWND AWnd) { return !::IsWindow(AWnd); });
  auto fresh = std::find_if(shown.begin(), shown.end(), [this](HWND AWnd) {
    return std::find(FAnswered.begin(), FAnswered.end(), AWnd) == FAnswered.end();
  });
  if (fresh == shown.end())
    return;
  HWND box = *fresh;
  FAnswered.push_back(box);
  TBox seen;
  wchar_t text[512] = {};
  // The message box's text is its static control 0xFFFF.
  ::GetDlgItemTextW(box, 0xFFFF, text, 512);
  seen.Text = text;
  seen.HasYes = ::GetDlgItem(box, IDYES) != nullptr;
  seen.HasNo = ::GetDlgItem(box, IDNO) != nullptr;
  ::GetWindowRect(box, &seen.Rect);
  FBoxes.push_back(seen);
  if (FWhileUp && !FRanWhileUp) {
    // Runs once: a box it brings up meanwhile is answered by the next tick inside it.
    FRanWhileUp = true;
    FWhileUp(box);
    if (!::IsWindow(box) || !::IsWindowVisible(box))
      return;
  }
  if (HWND button = ::GetDlgItem(box, FButton))
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(FButton, BN_CLICKED), LPARAM(button));
  else
    ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}
