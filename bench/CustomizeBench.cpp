// Opens the Customize dialog on its Commands page over a category of N commands until the
// dialog is completely painted, then scrolls the command list to its end and back, and prints
// the median time of each for N = 50, 500 and 5,000 with the ratio to N = 50. An owner-drawn
// list that measured or painted every entry would grow with N; one that paints only what shows
// stays flat. Compare the rows of one run only.
//
//   customize_bench [--rounds N]
#include <cstdio>
#include <vector>

#include "bars/dxBar.h"
#include "bench/BenchForm.h"
#include "bench/BenchTiming.h"
#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/Win.h"

#include <shellapi.h>

namespace {

// Paints every window of the dialog that waits for it.
void PaintAll(HWND AWnd)
{
  RedrawWindow(AWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

struct TRound {
  double Open = 0;
  double Scroll = 0;
  bool Shown = false;
};

TRound Round(TdxBarManager* AManager)
{
  TRound result;
  const double start = Now();
  AManager->SetIsCustomizing(true);
  HWND dialog = AManager->GetCustomizingFormHandle();
  auto* form = dialog ? dynamic_cast<TCustomForm*>(FindControl(dialog)) : nullptr;
  auto* commands = form ? dynamic_cast<TTabSheet*>(form->FindComponent(L"tsItems")) : nullptr;
  if (TPageControl* pages = commands ? commands->GetPageControl() : nullptr)
    pages->SetActivePage(commands);
  PumpPending();
  if (dialog)
    PaintAll(dialog);
  result.Open = Now() - start;
  auto* list = form ? dynamic_cast<TWinControl*>(form->FindComponent(L"lbItems")) : nullptr;
  if (list && list->HandleAllocated()) {
    result.Shown = true;
    const double scrollStart = Now();
    HWND wnd = list->GetHandle();
    SendMessageW(wnd, WM_VSCROLL, SB_BOTTOM, 0);
    UpdateWindow(wnd);
    SendMessageW(wnd, WM_VSCROLL, SB_TOP, 0);
    UpdateWindow(wnd);
    GdiFlush();
    result.Scroll = Now() - scrollStart;
  }
  AManager->SetIsCustomizing(false);
  PumpPending();
  return result;
}

}  // namespace

int main()
{
  int rounds = 7;
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; args && i < count; ++i) {
    if (String(args[i]) == L"--rounds" && i + 1 < count)
      rounds = std::max(1, _wtoi(args[++i]));
    else {
      std::printf("unknown argument; use --rounds N\n");
      return 2;
    }
  }
  LocalFree(args);
  TBenchForm bench;
  TCustomForm* form = bench.Form;
  TdxBarManager* manager = bench.Manager;
  manager->GetCategories()->Add(L"Commands");
  TdxBar* bar = manager->GetBars()->Add();
  bar->SetCaption(L"Toolbar");
  bar->SetVisible(true);

  std::printf("Customize dialog over N commands (median of %d, ms)\n", rounds);
  std::printf("%8s %12s %8s %12s %8s\n", "commands", "open ms", "ratio", "scroll ms", "ratio");
  double baseOpen = 0, baseScroll = 0;
  std::vector<TdxBarButton*> buttons;
  for (int n : {50, 500, 5000}) {
    while (int(buttons.size()) < n) {
      auto* button = new TdxBarButton(form);
      button->SetCaption(L"Command " + IntToStr(int(buttons.size()) + 1));
      button->SetCategory(0);
      buttons.push_back(button);
    }
    // One round first, so that no row pays for what the system loads once.
    if (!Round(manager).Shown) {
      std::printf("the Customize dialog did not open on its command list\n");
      return 1;
    }
    std::vector<double> open, scroll;
    for (int r = 0; r < rounds; ++r) {
      const TRound round = Round(manager);
      open.push_back(round.Open);
      scroll.push_back(round.Scroll);
    }
    const double o = Median(open) * 1000, s = Median(scroll) * 1000;
    if (n == 50)
      baseOpen = o, baseScroll = s;
    std::printf("%8d %12.2f %8.2f %12.2f %8.2f\n", n, o, o / baseOpen, s, s / baseScroll);
  }
  return 0;
}
