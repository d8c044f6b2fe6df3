// The library's message box answered by a test, the message pumps that give back a quit
// message, and the menu sounds.
#include <gtest/gtest.h>

#include <vector>

#include "bars/dxBar.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Scope.h"

namespace {

struct TBoxCall {
  String Text, Caption;
  uint32_t Flags;
};

TEST(AppMessageBox, GoesThroughTheReplaceableBoxWithTheTitle)
{
  std::vector<TBoxCall> calls;
  TMessageBoxProc previous = SetMessageBoxProc([&](HWND, const String& Text, const String& Caption, uint32_t Flags) {
    calls.push_back({Text, Caption, Flags});
    return IDNO;
  });
  const String oldTitle = Application->GetTitle();
  TFinally restore([&] {
    Application->SetTitle(oldTitle);
    SetMessageBoxProc(std::move(previous));
  });
  Application->SetTitle(L"Bar Test Program");
  const int answer = ShowAppMessageBox(L"Reset the toolbar?", MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(answer, IDNO);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Text, L"Reset the toolbar?");
  EXPECT_EQ(calls[0].Caption, L"Bar Test Program");
  EXPECT_EQ(calls[0].Flags, uint32_t(MB_YESNO | MB_ICONQUESTION));
}

// A message-only window that counts what it is handed.
class TCountingWindow {
public:
  TCountingWindow()
  {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BarUtilsCountingWindow";
    RegisterClassW(&wc);
    Wnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TCountingWindow() { DestroyWindow(Wnd); }
  HWND Wnd;
  int Mouse = 0, Other = 0;

private:
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
  {
    if (auto* self = reinterpret_cast<TCountingWindow*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA))) {
      if (Msg >= WM_MOUSEFIRST && Msg <= 522)
        ++self->Mouse;
      else if (Msg == WM_APP)
        ++self->Other;
    }
    return DefWindowProcW(Wnd, Msg, W, L);
  }
};

void DrainQueue()
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message != WM_QUIT)
      DispatchMessageW(&msg);
}

TEST(MessagePumps, MouseMessagesDispatchedOthersLeft)
{
  DrainQueue();
  TCountingWindow window;
  PostMessageW(window.Wnd, WM_APP, 0, 0);
  PostMessageW(window.Wnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  PostMessageW(window.Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ProcessMouseMessages();
  EXPECT_EQ(window.Mouse, 2);
  EXPECT_EQ(window.Other, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, window.Wnd, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_APP));
  DrainQueue();
}

TEST(MessagePumps, QuitMetIsPostedAgainAndStopsThePump)
{
  DrainQueue();
  TCountingWindow window;
  PostMessageW(window.Wnd, WM_MOUSEMOVE, 0, 0);
  PostQuitMessage(7);
  ProcessMouseMessages();
  EXPECT_EQ(window.Mouse, 1);
  ProcessPaintMessages();
  // The quit is still there for the program's own loop, with its exit code.
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  DrainQueue();
}

TEST(MessagePumps, RepostQuitMessageForOwnLoops)
{
  DrainQueue();
  MSG quit{};
  quit.message = WM_QUIT;
  quit.wParam = 3;
  MSG other{};
  other.message = WM_MOUSEMOVE;
  EXPECT_FALSE(RepostQuitMessage(other));
  EXPECT_TRUE(RepostQuitMessage(quit));
  // An own loop that met the quit gives it up; the outer loop ends with the code.
  MSG msg{};
  EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST(MessagePumps, DiscardPendingCharMessagesOfOneWindow)
{
  DrainQueue();
  TCountingWindow a, b;
  PostMessageW(a.Wnd, WM_CHAR, 'x', 0);
  PostMessageW(b.Wnd, WM_CHAR, 'y', 0);
  PostMessageW(a.Wnd, WM_APP, 0, 0);
  DiscardPendingCharMessages(a.Wnd);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, a.Wnd, WM_CHAR, WM_CHAR, PM_NOREMOVE));
  EXPECT_TRUE(PeekMessageW(&msg, b.Wnd, WM_CHAR, WM_CHAR, PM_NOREMOVE));
  EXPECT_TRUE(PeekMessageW(&msg, a.Wnd, WM_APP, WM_APP, PM_NOREMOVE));
  DrainQueue();
}

struct TSoundCall {
  const wchar_t* Alias;
  uint32_t Flags;
};

TEST(MenuSounds, AliasesFlagsAndSwitch)
{
  std::vector<TSoundCall> calls;
  TdxBarPlaySoundProc previous = SetdxBarPlaySoundProc([&](const wchar_t* Alias, uint32_t Flags) {
    calls.push_back({Alias, Flags});
  });
  TFinally restore([&] {
    SetdxBarPlaySoundProc(std::move(previous));
    SetdxBarMenuSoundsEnabled(true);
  });
  PlayMenuSound(msMenuPopup);
  PlayMenuSound(msMenuCommand);
  StopMenuSound();
  SetdxBarMenuSoundsEnabled(false);
  PlayMenuSound(msMenuPopup);
  SetdxBarMenuSoundsEnabled(true);
  PlayMenuSound(TdxBarMenuSound(17));  // out of range: no sound, like msNone
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_STREQ(calls[0].Alias, L"MenuPopup");
  EXPECT_STREQ(calls[1].Alias, L"MenuCommand");
  EXPECT_EQ(calls[2].Alias, nullptr);
  EXPECT_EQ(calls[3].Alias, nullptr);
  for (const TSoundCall& call : calls)
    EXPECT_EQ(call.Flags, 0x12003u);
}

}  // namespace

TEST(MouseButtons, TheSecondaryButtonIsTheRightOneWhileButtonsAreNotSwapped)
{
  if (GetSystemMetrics(SM_SWAPBUTTON))
    GTEST_SKIP() << "buttons swapped on this system";
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  SendInput(1, &input, sizeof input);
  const bool secondary = IsSecondaryMouseButtonDown(), primary = IsPrimaryMouseButtonDown();
  input.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(1, &input, sizeof input);
  EXPECT_TRUE(secondary);
  EXPECT_FALSE(primary);
  EXPECT_FALSE(IsSecondaryMouseButtonDown());
}
