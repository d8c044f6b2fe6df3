// Window services: window-tree tests, handles, the message queue, remembered windows,
// the message window and the designer notification lock.
#include <gtest/gtest.h>

#include <memory>

#include "lookandfeel/cxContainer.h"
#include "lookandfeel/cxControls.h"
#include "lookandfeel/cxGeometry.h"
#include "platform/Forms.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

// A visible top-level window with a child and a grandchild, plain Win32.
struct TWindowTree {
  TWindowTree()
  {
    Top = CreateWindowExW(0, L"STATIC", L"top", WS_POPUP | WS_VISIBLE, 50, 60, 200, 150, nullptr, nullptr, nullptr,
                          nullptr);
    Child =
        CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE, 10, 20, 100, 80, Top, nullptr, nullptr, nullptr);
    Grandchild = CreateWindowExW(0, L"STATIC", L"grandchild", WS_CHILD | WS_VISIBLE, 5, 7, 30, 30, Child, nullptr,
                                 nullptr, nullptr);
    Owned = CreateWindowExW(0, L"STATIC", L"owned", WS_POPUP, 0, 0, 10, 10, Top, nullptr, nullptr, nullptr);
  }
  ~TWindowTree()
  {
    DestroyWindow(Owned);
    DestroyWindow(Top);
  }
  HWND Top, Child, Grandchild, Owned;
};

}  // namespace

TEST(WindowTree, ChildStyleAncestorsAndTheNonChildAncestor)
{
  TWindowTree w;
  ASSERT_TRUE(w.Top && w.Child && w.Grandchild && w.Owned);
  EXPECT_FALSE(IsChildWindowStyle(w.Top));
  EXPECT_TRUE(IsChildWindowStyle(w.Grandchild));
  EXPECT_FALSE(IsChildWindowStyle(nullptr));

  EXPECT_TRUE(IsSameOrChildWindow(w.Top, w.Top));
  EXPECT_TRUE(IsSameOrChildWindow(w.Top, w.Grandchild));
  EXPECT_FALSE(IsSameOrChildWindow(w.Grandchild, w.Top));
  EXPECT_FALSE(IsSameOrChildWindow(w.Top, w.Owned)) << "an owned popup is no child";
  EXPECT_FALSE(IsSameOrChildWindow(nullptr, w.Top));

  EXPECT_TRUE(IsAncestorWindow(w.Top, w.Grandchild));
  EXPECT_TRUE(IsAncestorWindow(w.Child, w.Grandchild));
  EXPECT_FALSE(IsAncestorWindow(w.Grandchild, w.Grandchild)) << "a window is not its own ancestor";
  EXPECT_FALSE(IsAncestorWindow(w.Grandchild, w.Top));

  EXPECT_EQ(GetNonChildAncestorWindow(w.Grandchild), w.Top);
  EXPECT_EQ(GetNonChildAncestorWindow(w.Top), w.Top);
  EXPECT_EQ(GetNonChildAncestorWindow(w.Owned), w.Owned);
  EXPECT_EQ(GetNonChildAncestorWindow(nullptr), nullptr);
}

TEST(WindowTree, CanAllocateHandleFollowsParentsAndForms)
{
  EXPECT_FALSE(CanAllocateHandle(nullptr));
  std::unique_ptr<TWinControl> lonely(new TWinControl(nullptr));
  EXPECT_FALSE(CanAllocateHandle(lonely.get())) << "no window, no parent, not a form";

  TWindowTree w;
  std::unique_ptr<TWinControl> hosted(new TWinControl(nullptr));
  hosted->SetParentWindow(w.Top);
  std::unique_ptr<TWinControl> inner(new TWinControl(nullptr));
  inner->SetParent(hosted.get());
  EXPECT_TRUE(CanAllocateHandle(inner.get())) << "the parent can get a window in the foreign one";
  inner->SetParent(lonely.get());
  EXPECT_FALSE(CanAllocateHandle(inner.get()));
  inner->SetParent(nullptr);

  ASSERT_NE(Application, nullptr);
  TForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_TRUE(CanAllocateHandle(form));
  form->Free();
}

// ---------------------------------------------------------------------------

namespace {

constexpr UINT TestMessage = WM_APP + 17;

// Takes everything of TestMessage out of the queue and counts it.
int CountQueued(HWND Wnd)
{
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, Wnd, TestMessage, TestMessage, PM_REMOVE))
    ++count;
  return count;
}

}  // namespace

TEST(PendingMessages, OneOrAllOfTheRangeGo)
{
  TcxMessageWindow window;
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  for (int i = 0; i < 3; ++i)
    PostMessageW(window.Handle(), TestMessage, i, 0);
  PostMessageW(other, TestMessage, 9, 0);
  EXPECT_TRUE(DiscardPendingMessages(window.Handle(), TestMessage, TestMessage, false));
  EXPECT_TRUE(DiscardPendingMessages(window.Handle(), TestMessage, TestMessage, true));
  EXPECT_FALSE(DiscardPendingMessages(window.Handle(), TestMessage, TestMessage, true)) << "nothing left to remove";
  EXPECT_EQ(CountQueued(window.Handle()), 0);
  EXPECT_EQ(CountQueued(other), 1) << "another window's messages stay";
  DestroyWindow(other);
}

TEST(PendingMessages, AQuitMetOnTheWayStaysRetrievable)
{
  TcxMessageWindow window;
  PumpPending();
  PostMessageW(window.Handle(), TestMessage, 1, 0);
  PostQuitMessage(42);
  EXPECT_TRUE(DiscardPendingMessages(nullptr, 0, 0, true));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_QUIT));
  EXPECT_EQ(msg.wParam, 42u);

  // Only the quit queued: nothing counts as removed, and the quit is still there.
  PostQuitMessage(7);
  EXPECT_FALSE(DiscardPendingMessages(nullptr, 0, 0, true));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "re-posted exactly once";
}

TEST(RememberedWindows, OnlyEnabledWindowsAreDisabledAndComeBack)
{
  HWND a = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  HWND b = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_DISABLED, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  HWND c = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  TcxWindowList list;
  DisableWindowAndRemember(a, list);
  DisableWindowAndRemember(b, list);
  DisableWindowAndRemember(c, list);
  DisableWindowAndRemember(nullptr, list);
  EXPECT_EQ(list.size(), 2u) << "the window that was disabled already is not remembered";
  EXPECT_FALSE(IsWindowEnabled(a));
  DestroyWindow(c);
  EnableRememberedWindows(list);
  EXPECT_TRUE(IsWindowEnabled(a));
  EXPECT_FALSE(IsWindowEnabled(b)) << "it was disabled before, it stays so";
  EXPECT_TRUE(list.empty());
  DestroyWindow(a);
  DestroyWindow(b);
}

// ---------------------------------------------------------------------------

namespace {

class TCountingMessageWindow : public TcxMessageWindow {
public:
  explicit TCountingMessageWindow(UINT Watched) : FWatched(Watched) {}
  int Seen = 0;
  bool ThrowOnNext = false;

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == FWatched) {
      ++Seen;
      if (ThrowOnNext)
        throw EInvalidOperation(L"thrown in a window procedure");
      Message.Result = 1234;
      return;
    }
    TcxMessageWindow::WndProc(Message);
  }

private:
  UINT FWatched;
};

}  // namespace

TEST(MessageWindow, HiddenTopLevelWindowThatHearsBroadcasts)
{
  const UINT broadcast = RegisterWindowMessageW(L"lookandfeel_base.broadcast");
  TCountingMessageWindow window(broadcast);
  HWND wnd = window.Handle();
  ASSERT_TRUE(IsWindow(wnd));
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_EQ(GetAncestor(wnd, GA_PARENT), GetDesktopWindow()) << "a message-only window would miss broadcasts";
  EXPECT_EQ(SendMessageW(wnd, broadcast, 0, 0), 1234);
  EXPECT_EQ(DefWindowProcW(wnd, WM_GETTEXTLENGTH, 0, 0), SendMessageW(wnd, WM_GETTEXTLENGTH, 0, 0))
      << "other messages get default handling";
  PostMessageW(HWND_BROADCAST, broadcast, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return window.Seen >= 2; }));
}

TEST(MessageWindow, ExceptionsStayInsideAndTheWindowGoesWithTheObject)
{
  TCountingMessageWindow* window = new TCountingMessageWindow(TestMessage);
  HWND wnd = window->Handle();
  int reported = 0;
  {
    TUnexpectedExceptionHandler previous = SetUnexpectedExceptionHandler([&](TObject*) { ++reported; });
    TFinally restore([&] { SetUnexpectedExceptionHandler(previous); });
    window->ThrowOnNext = true;
    SendMessageW(wnd, TestMessage, 0, 0);
  }
  EXPECT_EQ(reported, 1);
  delete window;
  EXPECT_FALSE(IsWindow(wnd));
}

// ---------------------------------------------------------------------------

namespace {

class TRecordingDesignController : public TcxDesignController {
public:
  std::vector<TComponent*> Told;
  bool Reenter = false;

protected:
  void NotifyDesigner(TComponent* AComponent) override
  {
    Told.push_back(AComponent);
    if (Reenter)
      DesignerModified(AComponent);  // a designer that changes the form again
  }
};

}  // namespace

TEST(DesignController, LockCountsNeverGoBelowZero)
{
  TRecordingDesignController controller;
  TComponent component(nullptr);
  controller.DesignerModified(&component);
  EXPECT_EQ(controller.Told.size(), 1u);
  controller.LockDesignerModified();
  controller.LockDesignerModified();
  controller.DesignerModified(&component);
  controller.UnlockDesignerModified();
  controller.DesignerModified(&component);
  EXPECT_EQ(controller.Told.size(), 1u) << "locked twice, unlocked once: still locked";
  controller.UnlockDesignerModified();
  controller.UnlockDesignerModified();
  EXPECT_EQ(controller.DesignerModifiedLockCount(), 0);
  controller.LockDesignerModified();
  EXPECT_TRUE(controller.IsDesignerModifiedLocked()) << "an extra unlock must not leave credit";
  controller.UnlockDesignerModified();
  controller.DesignerModified(&component);
  EXPECT_EQ(controller.Told.size(), 2u);
  controller.DesignerModified(nullptr);
  EXPECT_EQ(controller.Told.size(), 2u);
}

TEST(DesignController, ANotificationUnderWayIsNotRepeated)
{
  TRecordingDesignController controller;
  TComponent component(nullptr);
  controller.Reenter = true;
  controller.DesignerModified(&component);
  controller.DesignerModified(&component);
  EXPECT_EQ(controller.Told.size(), 2u) << "one each, the nested calls ignored";
}
