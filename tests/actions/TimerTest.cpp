// TTimer: firing at its interval, stopping, and handlers that fail
// or free their timer.
#include <gtest/gtest.h>

#include "support/Pump.h"
#include "platform/Controls.h"
#include "platform/ExtCtrls.h"
#include "platform/Scope.h"

namespace {

// Whether the timer's system timer is set: killing it succeeds only then. The timer is
// set again afterwards so that the check changes nothing.
bool SystemTimerRunning(TTimer* timer)
{
  HWND wnd = static_cast<HWND>(timer->WindowHandle());
  if (!KillTimer(wnd, 1))
    return false;
  SetTimer(wnd, 1, timer->Interval(), nullptr);
  return true;
}

// The timer windows of the process: message-only windows of the timer's class.
int TimerWindows()
{
  int count = 0;
  for (HWND wnd = FindWindowExW(HWND_MESSAGE, nullptr, L"TTimerWindow", nullptr); wnd;
       wnd = FindWindowExW(HWND_MESSAGE, wnd, L"TTimerWindow", nullptr))
    ++count;
  return count;
}

struct TTimerCounter {
  int Calls = 0;
  TObject* Sender = nullptr;
  void Tick(TObject* ASender)
  {
    ++Calls;
    Sender = ASender;
  }
};

}  // namespace

TEST(Timer, FiresRepeatedlyWithItselfAsSender)
{
  TTimer timer(nullptr);
  TTimerCounter counter;
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject* Sender) { counter.Tick(Sender); });
  ASSERT_TRUE(PumpUntil([&] { return counter.Calls >= 3; }));
  EXPECT_EQ(counter.Sender, &timer);
}

TEST(Timer, RunsOnlyWhenEnabledWithAnIntervalAndAHandler)
{
  TTimer timer(nullptr);
  EXPECT_FALSE(SystemTimerRunning(&timer));  // no handler yet
  timer.SetOnTimer([](TObject*) {});
  EXPECT_TRUE(SystemTimerRunning(&timer));
  timer.SetEnabled(false);
  EXPECT_FALSE(SystemTimerRunning(&timer));
  timer.SetEnabled(true);
  EXPECT_TRUE(SystemTimerRunning(&timer));
  timer.SetInterval(0);
  EXPECT_FALSE(SystemTimerRunning(&timer));
  timer.SetInterval(500);
  EXPECT_TRUE(SystemTimerRunning(&timer));
  timer.SetOnTimer(nullptr);
  EXPECT_FALSE(SystemTimerRunning(&timer));
}

TEST(Timer, OnlyATimerThatRanHasAWindow)
{
  const int before = TimerWindows();
  {
    TTimer idle(nullptr);
    idle.SetInterval(50);
    idle.SetEnabled(false);
    idle.SetEnabled(true);
    TTimer used(nullptr);
    EXPECT_EQ(TimerWindows(), before) << "no handler yet: nothing to run";
    used.SetOnTimer([](TObject*) {});
    EXPECT_EQ(TimerWindows(), before + 1);
    used.SetEnabled(false);
    EXPECT_FALSE(SystemTimerRunning(&used));
    EXPECT_EQ(TimerWindows(), before + 1) << "a stopped timer keeps its window for the next start";
  }
  EXPECT_EQ(TimerWindows(), before) << "freed with its timer";
}

TEST(Timer, StoppedTimerFiresNoMore)
{
  TTimer timer(nullptr);
  int calls = 0;
  timer.SetInterval(5);
  timer.SetOnTimer([&](TObject*) {
    if (++calls == 2)
      timer.SetEnabled(false);
  });
  ASSERT_TRUE(PumpUntil([&] { return calls >= 2; }));
  // Killing the timer also removes a WM_TIMER already waiting in the queue.
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, static_cast<HWND>(timer.WindowHandle()), WM_TIMER, WM_TIMER, PM_NOREMOVE));
  EXPECT_EQ(calls, 2);
}

TEST(Timer, AHandlersExceptionGoesToTheHandlerNotTheProcess)
{
  std::vector<String> messages;
  std::vector<TObject*> senders;
  TUnexpectedExceptionHandler previous = SetUnexpectedExceptionHandler([&](TObject* Sender) {
    messages.push_back(CurrentExceptionMessage());
    senders.push_back(Sender);
  });
  TFinally restore([&] { SetUnexpectedExceptionHandler(previous); });
  {
    TTimer timer(nullptr);
    timer.SetInterval(5);
    timer.SetOnTimer([](TObject*) { throw EConvertError(L"tick failed"); });
    // The timer keeps running after a failure.
    EXPECT_TRUE(PumpUntil([&] { return messages.size() >= 2; }));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0], L"tick failed");
    EXPECT_EQ(senders[0], &timer);
  }
}

TEST(Timer, AHandlerMayFreeItsTimer)
{
  auto* timer = new TTimer(nullptr);
  TWeakRef<TTimer> ref(timer);
  HWND wnd = static_cast<HWND>(timer->WindowHandle());
  timer->SetInterval(5);
  timer->SetOnTimer([timer](TObject*) { timer->Free(); });
  ASSERT_TRUE(PumpUntil([&] { return !ref; }));
  EXPECT_FALSE(IsWindow(wnd));
}

TEST(Timer, FreedWithItsOwnerTakingItsWindow)
{
  auto* owner = new TComponent(nullptr);
  auto* timer = new TTimer(owner);
  HWND wnd = static_cast<HWND>(timer->WindowHandle());
  EXPECT_TRUE(IsWindow(wnd));
  owner->Free();
  EXPECT_FALSE(IsWindow(wnd));
}
