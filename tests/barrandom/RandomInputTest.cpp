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

  std::vector<int> gdi, windows;
  int played = 0, skipped = 0, untaken = 0, unwindClicks = 0;
  const DWORD started = ::GetTickCount();
  for (int round = options.FirstRound; round < options.Rounds(); ++round) {
    const TdxBarManagerStyle look = options.Looks[size_t(round) % options.Looks.size()];
    const int first = round * options.RoundEvents;
    LogRound(round, first, look);
    SetStageDeadline("building and showing the form");
    TWeakRef<TRandomForm> form(BuildRandomForm(look, options));
    InstallInputHooks();
    form->Show();
    ActivateWindow(form->GetHandle());
    PumpPending();
    SetStageDeadline(nullptr);

    // The driver plays the round from its thread while this one runs the program's loop; the
    // loop comes back here only once every menu loop, drag and modal window has ended.
    std::atomic<bool> ended{false}, atTop{false}, unwound{false}, done{false};
    TRandomDriver driver(options, form->GetHandle());
    std::thread player([&] {
      TRandomStream stream(options.Seed * 0x100000001B3ull + uint64_t(round));
      driver.PlayRound(stream, first, std::min(options.RoundEvents, options.Events - first));
      ended = true;
      ::PostMessageW(ProbeWindow(), WM_NULL, 0, 0);
      unwound = driver.Unwind(atTop);
      if (!unwound) {
        WriteFailureReport(
            "the user-interface thread stayed in a modal loop that Esc, released buttons and "
            "answered boxes did not end");
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
    if (!driver.ClosedFormWindows().empty()) {
      WriteFailureReport("windows left on the screen after the form was closed");
      ADD_FAILURE() << "round " << round
                    << ": windows left on the screen after the form was closed:" << driver.ClosedFormWindows();
    }
    SetStageDeadline("freeing the form");
    played += driver.Played();
    skipped += driver.Skipped();
    untaken += driver.Untaken();
    unwindClicks += driver.UnwindClicks();

    // Freed while whatever the input left open is open: every window of it must go.
    if (TRandomForm* shown = form.Get())
      shown->Free();
    PumpUntil([] { return VisibleWindowsOfProcess().empty(); }, 3000);
    const std::vector<TOurWindow> left = VisibleWindowsOfProcess();
    if (!left.empty()) {
      WriteFailureReport("windows left on the screen after the form was freed");
      ADD_FAILURE() << "round " << round
                    << ": windows left on the screen after the form was freed:" << WindowList(left);
      break;
    }
    SetStageDeadline(nullptr);
    gdi.push_back(GdiObjectsInUse());
    windows.push_back(ThreadWindowTreeCount());
  }

  // A first pass over the looks makes what each look keeps for the process.
  const size_t warmUp = std::min(options.Looks.size(), gdi.size() / 2);
  const bool gdiGrows = KeepsGrowing(gdi, warmUp, 10);
  const bool windowsGrow = KeepsGrowing(windows, warmUp, 2);
  std::printf("random input: %d events played, %d skipped, %zu rounds, %lu s; %d inputs not taken at once\n", played,
              skipped, gdi.size(), (::GetTickCount() - started) / 1000, untaken);
  if (unwindClicks)
    std::printf("  %d rounds ended only with a click where Esc did not close what was open (see the log)\n",
                unwindClicks);
  std::printf("  graphics objects after each round: %s\n", CountsText(gdi).c_str());
  std::printf("  windows of the thread after each round: %s\n", CountsText(windows).c_str());
  std::printf("  leak verdict: %s\n", gdiGrows || windowsGrow ? "growing" : "steady");
  seen.Print();
  std::fflush(stdout);
  EXPECT_FALSE(gdiGrows) << "graphics objects keep growing: " << CountsText(gdi);
  EXPECT_FALSE(windowsGrow) << "windows keep growing: " << CountsText(windows);
  if (gdiGrows || windowsGrow)
    WriteFailureReport("counts that keep growing");
  RemoveInputHooks();
}
