// The library's message box, the message pumps of its own modal loops, the menu sounds and
// the mouse-button helpers.
#include "bars/utils/utils.h"

#include <mmsystem.h>

#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Win.h"

namespace {

TdxBarPlaySoundProc GPlaySoundProc;
bool GMenuSoundsEnabled = true;

// The mouse messages of the pump: WM_MOUSEFIRST up to the last button message the pump
// knows (522, the wheel).
constexpr UINT MouseMessageLast = 522;

// Takes and dispatches the queued messages of one range; a WM_QUIT met on the way goes
// back into the queue, so the loop that owns the program still ends.
void PumpRange(UINT AFirst, UINT ALast)
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, AFirst, ALast, PM_REMOVE)) {
    if (RepostQuitMessage(msg))
      break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int ShowAppMessageBox(const String& AText, uint32_t AFlags)
{
  if (!Application)
    return ShowMessageBox(GetActiveWindow(), AText, String(), AFlags);
  return Application->MessageBox(AText, Application->GetTitle(), AFlags);
}

void ProcessMouseMessages()
{
  PumpRange(WM_MOUSEFIRST, MouseMessageLast);
}

void ProcessPaintMessages()
{
  PumpRange(WM_PAINT, WM_PAINT);
}

bool RepostQuitMessage(const MSG& Msg)
{
  if (Msg.message != WM_QUIT)
    return false;
  PostQuitMessage(int(Msg.wParam));
  return true;
}

bool IsMouseButtonDownMessage(UINT Msg)
{
  switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

void DiscardPendingCharMessages(HWND Wnd)
{
  MSG msg;
  while (PeekMessageW(&msg, Wnd, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    if (RepostQuitMessage(msg))
      break;
  }
}

bool IsPrimaryMouseButtonDown()
{
  const int key = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  return GetAsyncKeyState(key) < 0;
}

bool IsSecondaryMouseButtonDown()
{
  const int key = GetSystemMetrics(SM_SWAPBUTTON) ? VK_LBUTTON : VK_RBUTTON;
  return GetAsyncKeyState(key) < 0;
}

// ---------------------------------------------------------------------------

TdxBarPlaySoundProc SetdxBarPlaySoundProc(TdxBarPlaySoundProc Proc)
{
  TdxBarPlaySoundProc previous = std::move(GPlaySoundProc);
  GPlaySoundProc = std::move(Proc);
  return previous;
}

bool dxBarMenuSoundsEnabled()
{
  return GMenuSoundsEnabled;
}

void SetdxBarMenuSoundsEnabled(bool Value)
{
  GMenuSoundsEnabled = Value;
}

void PlayMenuSound(TdxBarMenuSound Sound)
{
  if (!GMenuSoundsEnabled)
    return;
  static const wchar_t* const aliases[] = {L"MenuPopup", L"MenuCommand", nullptr};
  unsigned index = unsigned(Sound);
  const wchar_t* alias = index < std::size(aliases) ? aliases[index] : nullptr;
  if (GPlaySoundProc)
    GPlaySoundProc(alias, dxBarMenuSoundFlags);
  else
    PlaySoundW(alias, nullptr, dxBarMenuSoundFlags);
}
