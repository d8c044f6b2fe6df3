// The floating caption's buttons: the press loop of the close button and of caption
// buttons, with real input and with posted messages; a quit message met in the loop goes
// back to the queue; losing the capture ends the press without a click.
#include "ToolbarTestUtil.h"

#include "support/Input.h"
#include "support/Pump.h"

namespace {

struct TCloseLog : TObject {
  int Closed = 0;
  int Clicked = 0;
  void BarClose(TObject*, TdxBar*) { ++Closed; }
  void Click(TObject*) { ++Clicked; }
};

class TToolbarCaption : public TToolbarFixture {
protected:
  void SetUp() override
  {
    ShowForm();
    Manager->OnBarClose = TdxBarEvent(&Log, &TCloseLog::BarClose);
    Bar = AddBar({L"One", L"Two"}, dsNone);
    Bar->SetFloatLeft(300);
    Bar->SetFloatTop(320);
    Bar->SetFloatClientWidth(180);
    Bar->SetVisible(true);
    PumpPending();
    Control = Bar->GetControl();
    ASSERT_NE(Control, nullptr);
    Handle = Control->GetHandle();
    TRect close = Control->GetCloseButtonRect();
    ASSERT_FALSE(IsRectEmpty(close));
    ClosePoint = WindowToScreen(Handle, Point((close.left + close.right) / 2, (close.top + close.bottom) / 2));
    TRect caption = Control->GetCaptionRect();
    CaptionPoint = WindowToScreen(Handle, Point(caption.left + 3, (caption.top + caption.bottom) / 2));
  }
  void TearDown() override { Manager->OnBarClose = TdxBarEvent(); }

  TCloseLog Log;
  TdxBar* Bar = nullptr;
  TdxBarControl* Control = nullptr;
  HWND Handle = nullptr;
  POINT ClosePoint{};
  POINT CaptionPoint{};
};

}  // namespace

TEST_F(TToolbarCaption, ReleaseOutsideTheCloseButtonDoesNotHide)
{
  ASSERT_TRUE(MoveMouseTo(ClosePoint));
  POINT away = CaptionPoint;
  RunWithHelperThread([] { MouseButtonDown(); },
                      [away] {
                        SendMouseMove(away);
                        PauseScript(100);
                        SendMouseButton(false);
                      },
                      250);
  PumpPending();
  EXPECT_TRUE(Bar->GetVisible());
  EXPECT_EQ(Bar->GetControl(), Control);
  EXPECT_EQ(Control->GetCloseButtonState(), TdxBarMarkState::Normal);
  EXPECT_NE(GetCapture(), Handle);
  EXPECT_EQ(Log.Closed, 0);
}

TEST_F(TToolbarCaption, PostedReleaseCountsOnlyOverTheButton)
{
  // Release away from the button: nothing happens.
  ASSERT_TRUE(MoveMouseTo(CaptionPoint));
  PostMessageW(Handle, WM_MOUSEMOVE, 0, 0);
  PostMessageW(Handle, WM_LBUTTONUP, 0, 0);
  SendMessageW(Handle, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(ClosePoint.x, ClosePoint.y));
  EXPECT_TRUE(Bar->GetVisible());
  EXPECT_EQ(Log.Closed, 0);
  // Released over it: the bar hides and the manager hears of it.
  ASSERT_TRUE(MoveMouseTo(ClosePoint));
  PostMessageW(Handle, WM_LBUTTONUP, 0, 0);
  SendMessageW(Handle, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(ClosePoint.x, ClosePoint.y));
  EXPECT_FALSE(Bar->GetVisible());
  EXPECT_EQ(Log.Closed, 1);
}

TEST_F(TToolbarCaption, QuitMessageMetInThePressLoopIsPostedAgain)
{
  ASSERT_TRUE(MoveMouseTo(ClosePoint));
  PostQuitMessage(7);
  SendMessageW(Handle, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(ClosePoint.x, ClosePoint.y));
  EXPECT_NE(GetCapture(), Handle);
  EXPECT_TRUE(Bar->GetVisible());
  EXPECT_EQ(Control->GetCloseButtonState(), TdxBarMarkState::Normal);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

namespace {

void CALLBACK TakeCaptureAway(HWND, UINT, UINT_PTR Id, DWORD)
{
  KillTimer(nullptr, Id);
  ReleaseCapture();
}

}  // namespace

TEST_F(TToolbarCaption, LosingTheCaptureEndsThePressWithoutAClick)
{
  ASSERT_TRUE(MoveMouseTo(ClosePoint));
  SetTimer(nullptr, 0, 30, &TakeCaptureAway);
  SendMessageW(Handle, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(ClosePoint.x, ClosePoint.y));
  EXPECT_TRUE(Bar->GetVisible());
  EXPECT_EQ(Log.Closed, 0);
  EXPECT_EQ(Control->GetCloseButtonState(), TdxBarMarkState::Normal);
}

TEST_F(TToolbarCaption, CaptionButtonClicksThroughTheSameLoop)
{
  TdxBarCaptionButton* button = Bar->GetCaptionButtons()->Add();
  button->OnClick = TNotifyEvent(&Log, &TCloseLog::Click);
  RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  // The button sits left of the close button.
  SendMessageW(Handle, WM_NCHITTEST, 0, MAKELPARAM(ClosePoint.x, ClosePoint.y));
  TRect r = button->GetRect();
  ASSERT_FALSE(IsRectEmpty(r));
  POINT p = WindowToScreen(Handle, Point((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  EXPECT_EQ(SendMessageW(Handle, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCLIENT);
  EXPECT_NE(Control->GetHitCode(), HTCAPTION);
  ASSERT_TRUE(MoveMouseTo(p));
  PostMessageW(Handle, WM_LBUTTONUP, 0, 0);
  SendMessageW(Handle, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(Log.Clicked, 1);
  EXPECT_TRUE(Bar->GetVisible());
}
