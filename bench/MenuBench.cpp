// Opens a menu of 20, 100 and 500 buttons until its first complete paint, with this library's
// menu window and with the system's popup menu of the same entries side by side, and prints
// the median time of each and their ratio. The system's menu runs its own loop: it is timed
// from the call until its loop first goes idle (its window painted), where a posted
// WM_CANCELMODE closes it. Compare the columns of one run only. With --phases, where the
// library's time for 20 commands goes, phase by phase, with what each phase asks of the system.
//
//   menu_bench [--rounds N] [--phases]
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bars/dxBar.h"
#include "bench/BenchForm.h"
#include "bench/BenchTiming.h"
#include "bench/SystemCounters.h"
#include "bars/menus/submenu.h"
#include "platform/Forms.h"
#include "platform/Win.h"

#include <shellapi.h>

namespace {

String Caption(int Index)
{
  return L"Command " + IntToStr(Index + 1);
}

// The library: a manager's menu window over links to N buttons, shown at a point. Profiled,
// the profile covers the timed part only.
double LibraryRound(TdxBarManager* AManager, const std::vector<TdxBarButton*>& AButtons, bool AProfiled = false)
{
  auto* menu =
      dynamic_cast<TdxBarInternalSubMenuControl*>(TdxBarInternalSubMenuControl::StaticClass()->Create(AManager));
  TdxBarItemLinks* links = menu->GetOwnLinks();
  links->BeginUpdate();
  for (TdxBarButton* button : AButtons)
    links->AddItem(button);
  links->EndUpdate();
  if (AProfiled)
    ProfileStart();
  const double start = Now();
  menu->SetBounds(200, 100, 0, 0);
  menu->Popup();
  // Popup paints what is pending; this makes sure the window holds its whole picture.
  UpdateWindow(menu->GetHandle());
  GdiFlush();
  const double elapsed = Now() - start;
  if (AProfiled)
    ProfileStop();
  menu->Free();
  PumpPending();
  return elapsed;
}

// The system's popup menu: timed until its loop goes idle for the first time.
double GIdleAt = 0;
WNDPROC GOldProc = nullptr;

LRESULT CALLBACK OwnerProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  if (Msg == WM_ENTERIDLE && WParam == MSGF_MENU && GIdleAt == 0) {
    GIdleAt = Now();
    PostMessageW(reinterpret_cast<HWND>(LParam), WM_CANCELMODE, 0, 0);
    PostMessageW(Wnd, WM_CANCELMODE, 0, 0);
  }
  return CallWindowProcW(GOldProc, Wnd, Msg, WParam, LParam);
}

double NativeRound(HWND AOwner, int ACount)
{
  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < ACount; ++i)
    AppendMenuW(menu, MF_STRING, UINT_PTR(1000 + i), Caption(i).c_str());
  GIdleAt = 0;
  const double start = Now();
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, 200, 100, AOwner, nullptr);
  const double elapsed = (GIdleAt ? GIdleAt : Now()) - start;
  DestroyMenu(menu);
  PumpPending();
  return elapsed;
}

}  // namespace

int main()
{
  int rounds = 9;
  bool phases = false;
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; args && i < count; ++i) {
    if (String(args[i]) == L"--rounds" && i + 1 < count)
      rounds = std::max(1, _wtoi(args[++i]));
    else if (String(args[i]) == L"--phases")
      phases = true;
    else {
      std::printf("unknown argument; use --rounds N, --phases\n");
      return 2;
    }
  }
  LocalFree(args);
  TBenchForm bench;
  TCustomForm* form = bench.Form;
  TdxBarManager* manager = bench.Manager;
  HWND owner = form->GetHandle();
  GOldProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(owner, GWLP_WNDPROC, LONG_PTR(OwnerProc)));

  std::printf("Menu of N commands, opened until its first complete paint (median of %d, ms)\n", rounds);
  std::printf("%8s %12s %12s %8s\n", "commands", "library ms", "native ms", "ratio");
  for (int n : {20, 100, 500}) {
    std::vector<TdxBarButton*> buttons;
    for (int i = 0; i < n; ++i) {
      auto* button = new TdxBarButton(form);
      button->SetCaption(Caption(i));
      buttons.push_back(button);
    }
    // One round each first, so that neither side pays for what the system loads once.
    LibraryRound(manager, buttons);
    NativeRound(owner, n);
    std::vector<double> library, native;
    for (int r = 0; r < rounds; ++r) {
      library.push_back(LibraryRound(manager, buttons));
      native.push_back(NativeRound(owner, n));
    }
    const double lib = Median(library) * 1000, nat = Median(native) * 1000;
    std::printf("%8d %12.2f %12.2f %8.2f\n", n, lib, nat, lib / nat);
    if (phases && n == 20) {
      hooks::Install();
      PrintPhaseTable(L"Phases of a menu of 20 commands (median us per menu; system requests per menu)", rounds, 1,
                      [&] { LibraryRound(manager, buttons, true); });
      std::printf("\n");
    }
    for (TdxBarButton* button : buttons)
      button->Free();
  }
  SetWindowLongPtrW(owner, GWLP_WNDPROC, LONG_PTR(GOldProc));
  return 0;
}
