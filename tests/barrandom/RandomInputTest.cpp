// Random real input over a form holding every kind of bar, menu and item, in the five looks,
// from a fixed seed: the program must stay alive and answering, leave no window of the form
// on the screen once the form is freed, and not keep gaining graphics objects or windows.
//
// The options (seed, events, looks, the Customize dialog, Delete among the keys, the extra
// item kinds) come from flags or RANDOM_* variables: see RandomTestUtil.h and scripts/random.
#include "RandomTestUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <map>
#include <thread>

#include "platform/Dialogs.h"
#include "platform/GraphicsObjects.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pump.h"
#include "support/ThreadWindows.h"

namespace {

[[maybe_unused]] testing::Environment* const RandomEnvironment =
    testing::AddGlobalTestEnvironment(new TBarLibraryEnvironment{});

void WaitForSentMessages()
{
  ::MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_SENDMESSAGE, 0);
  MSG msg;
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// Input the driver sent while this thread came back to its loop goes to a form about to be freed.
void DropQueuedInput()
{
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
         ::PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
}

// The counts of the rounds in order, a run of equal counts as one ("1 x23, 3 x227").
std::string CountsText(const std::vector<int>& ACounts)
{
  std::string text;
  for (size_t i = 0; i < ACounts.size();) {
    size_t end = i;
    while (end < ACounts.size() && ACounts[end] == ACounts[i])
      ++end;
    text +=
        (text.empty() ? "" : ", ") + std::to_string(ACounts[i]) + (end - i > 1 ? " x" + std::to_string(end - i) : "");
    i = end;
  }
  return text;
}

// Boxes shown and exceptions that reached a window procedure, by text, for the summary.
class TSeenTexts {
public:
  TSeenTexts()
  {
    FPreviousBox = SetMessageBoxProc([this](HWND AOwner, const String& AText, const String& ACaption, uint32_t AFlags) {
      Note("box", AText);
      return FPreviousBox ? FPreviousBox(AOwner, AText, ACaption, AFlags)
                          : ::MessageBoxW(AOwner, AText.c_str(), ACaption.c_str(), AFlags);
    });
    FPreviousHandler = SetUnexpectedExceptionHandler([this](TObject* ASender) {
      Note("exception", CurrentExceptionMessage());
      if (FPreviousHandler)
        FPreviousHandler(ASender);
    });
  }
  ~TSeenTexts()
  {
    SetMessageBoxProc(std::move(FPreviousBox));
    SetUnexpectedExceptionHandler(std::move(FPreviousHandler));
  }
  void Print() const
  {
    for (const auto& [text, count] : FSeen)
      std::printf("  %dx %s\n", count, text.c_str());
  }

private:
  void Note(const char* AKind, const String& AText)
  {
    const std::string text = std::string(AKind) + ": " + ToUtf8(AText);
    LogEvent(text);
    ++FSeen[text];
  }
  TMessageBoxProc FPreviousBox;
  TUnexpectedExceptionHandler FPreviousHandler;
  std::map<std::string, int> FSeen;
};

std::string WindowList(const std::vector<TOurWindow>& AWindows)
{
  std::string text;
  for (const TOurWindow& window : AWindows)
    if (window.Wnd == window.TopLevel)
      text += "\n    " + Describe(window);
  return text;
}

// What the rounds of a run add up to.
struct TRunTotals {
  int Played = 0, Skipped = 0, Untaken = 0, UnwindClicks = 0;
  std::vector<int> Gdi, Windows;  // counted once each round's form was freed
};

// The driver plays the round from its thread while this one runs the program's loop; the loop
// comes back here only once every menu loop, drag and modal window has ended. Then the form is
// freed with whatever the input left open. False when the run cannot go on.
bool PlayRoundOverNewForm(const TRandomOptions& AOptions, int ARound, TRunTotals& ATotals)
{
  const TdxBarManagerStyle look = AOptions.Looks[size_t(ARound) % AOptions.Looks.size()];
  const int first = ARound * AOptions.RoundEvents;
  LogRound(ARound, first, look);
  SetStageDeadline("building and showing the form");
  TWeakRef<TRandomForm> form(BuildRandomForm(look, AOptions));
  InstallInputHooks();
  form->Show();
  ActivateWindow(form->GetHandle());
  PumpPending();
  SetStageDeadline(nullptr);

  std::atomic<bool> ended{false}, atTop{false}, done{false};
  TRandomDriver driver(AOptions, form->GetHandle());
  std::thread player([&] {
    TRandomStream stream(AOptions.Seed * 0x100000001B3ull + uint64_t(ARound));
    driver.PlayRound(stream, first, std::min(AOptions.RoundEvents, AOptions.Events - first));
    ended = true;
    ::PostMessageW(ProbeWindow(), WM_NULL, 0, 0);
    if (!driver.Unwind(atTop)) {
      WriteFailureReport(
          "the user-interface thread stayed in a modal loop that Esc, released buttons, answered boxes and a "
          "click on the form's caption did not end");
      std::fprintf(stderr, "  windows shown:%s\n", WindowList(VisibleWindowsOfProcess()).c_str());
      ::TerminateProcess(::GetCurrentProcess(), 4);
    }
    done = true;
  });
  PumpUntil([&] { return ended.load(); }, INT_MAX);
  atTop = true;
  // The driver may still wait for an answer from this thread; input is left queued, so that
  // nothing opens a menu or a modal window once the driver has stopped.
  while (!done)
    WaitForSentMessages();
  player.join();
  DropQueuedInput();
  ATotals.Played += driver.Played();
  ATotals.Skipped += driver.Skipped();
  ATotals.Untaken += driver.Untaken();
  ATotals.UnwindClicks += driver.UnwindClicks();
  if (!driver.ClosedFormWindows().empty()) {
    WriteFailureReport("windows left on the screen after the form was closed");
    ADD_FAILURE() << "round " << ARound
                  << ": windows left on the screen after the form was closed:" << driver.ClosedFormWindows();
  }

  SetStageDeadline("freeing the form");
  if (TRandomForm* shown = form.Get())
    shown->Free();
  PumpUntil([] { return VisibleWindowsOfProcess().empty(); }, 3000);
  SetStageDeadline(nullptr);
  const std::vector<TOurWindow> left = VisibleWindowsOfProcess();
  if (!left.empty()) {
    WriteFailureReport("windows left on the screen after the form was freed");
    ADD_FAILURE() << "round " << ARound << ": windows left on the screen after the form was freed:" << WindowList(left);
    return false;
  }
  ATotals.Gdi.push_back(GdiObjectsInUse());
  ATotals.Windows.push_back(ThreadWindowTreeCount());
  return true;
}

}  // namespace

TEST(RandomInput, KeepsTheFormAliveAnsweringAndClean)
{
  const TRandomOptions options = TRandomOptions::FromProcess();
  ASSERT_TRUE(options.Error.empty()) << options.Error;
  SetReportOptions(options);
  InstallInputHooks();  // the probe window exists from here on
  TSeenTexts seen;
  TRandomWatch watch(::GetCurrentThreadId());
  std::printf("random input: %s --events=%d%s\n", options.Flags().c_str(), options.Events,
              options.FirstRound ? (" --first-round=" + std::to_string(options.FirstRound)).c_str() : "");
  std::fflush(stdout);

  TRunTotals totals;
  const DWORD started = ::GetTickCount();
  for (int round = options.FirstRound; round < options.Rounds(); ++round)
    if (!PlayRoundOverNewForm(options, round, totals))
      break;

  // A first pass over the looks makes what each look keeps for the process.
  const size_t warmUp = std::min(options.Looks.size(), totals.Gdi.size() / 2);
  const bool gdiGrows = KeepsGrowing(totals.Gdi, warmUp, 10);
  const bool windowsGrow = KeepsGrowing(totals.Windows, warmUp, 2);
  std::printf("random input: %d events played, %d skipped, %zu rounds, %lu s; %d inputs not taken at once\n",
              totals.Played, totals.Skipped, totals.Gdi.size(), (::GetTickCount() - started) / 1000, totals.Untaken);
  if (totals.UnwindClicks)
    std::printf("  %d rounds ended only with a click where Esc did not close what was open (see the log)\n",
                totals.UnwindClicks);
  std::printf("  graphics objects after each round: %s\n", CountsText(totals.Gdi).c_str());
  std::printf("  windows of the thread after each round: %s\n", CountsText(totals.Windows).c_str());
  std::printf("  leak verdict: %s\n", gdiGrows || windowsGrow ? "growing" : "steady");
  seen.Print();
  std::fflush(stdout);
  EXPECT_FALSE(gdiGrows) << "graphics objects keep growing: " << CountsText(totals.Gdi);
  EXPECT_FALSE(windowsGrow) << "windows keep growing: " << CountsText(totals.Windows);
  if (gdiGrows || windowsGrow)
    WriteFailureReport("counts that keep growing");
  RemoveInputHooks();
}
