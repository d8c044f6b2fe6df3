// The drop-down list box: a hidden top-level tool window, hot tracking with real input,
// the click that closes it, the first key, and its painted border.
#include <gtest/gtest.h>

#include "bars/dxBar.h"
#include "platform/Forms.h"
#include "support/BarProbe.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TCloseRecorder : public TObject {
public:
  void CloseUp(TdxBarDropDownListBox*, int Index) { Closed.push_back(Index); }
  std::vector<int> Closed;
};

class TDropDownFixture : public testing::Test {
protected:
  TDropDownFixture()
  {
    List = new TdxBarDropDownListBox(nullptr);
    List->SetItemHeight(16);
    for (const wchar_t* text : {L"One", L"Two", L"Three", L"Four"})
      List->GetItems()->Add(text);
    List->SetBounds(200, 200, 120, 4 * 16 + 2);
    List->OnCloseUp = TdxBarDropDownCloseUpEvent(&Recorder, &TCloseRecorder::CloseUp);
  }
  ~TDropDownFixture() override { List->Free(); }
  void ShowList()
  {
    HWND h = List->GetHandle();
    SetWindowPos(h, HWND_TOPMOST, 200, 200, 120, 4 * 16 + 2, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpPending();
  }
  POINT ItemCentre(int Index) { return ScreenCentreOf(List->GetHandle(), List->ItemRect(Index)); }
  TCloseRecorder Recorder;
  TdxBarDropDownListBox* List;
  std::vector<int>& Closed = Recorder.Closed;
};

TEST_F(TDropDownFixture, WindowIsAHiddenTopLevelToolWindow)
{
  HWND h = List->GetHandle();
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_EQ(GetParent(h), nullptr);
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(h, GWL_EXSTYLE);
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_TRUE(style & LBS_OWNERDRAWFIXED);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_FALSE(exStyle & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(GetClassLongPtrW(h, GCL_STYLE) & CS_SAVEBITS);
  // The client area is the window less the border on every side.
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 120 - 2);
  EXPECT_EQ(client.bottom, 4 * 16);
}

TEST_F(TDropDownFixture, HotTracksAndClosesOnClick)
{
  ShowList();
  ASSERT_TRUE(MoveMouseTo(ItemCentre(1)));
  EXPECT_TRUE(PumpUntil([&] { return List->GetItemIndex() == 1; }, 2000));
  ASSERT_TRUE(MoveMouseTo(ItemCentre(3)));
  EXPECT_TRUE(PumpUntil([&] { return List->GetItemIndex() == 3; }, 2000));
  ASSERT_TRUE(ClickAt(ItemCentre(2)));
  EXPECT_TRUE(PumpUntil([&] { return !Closed.empty(); }, 2000));
  ASSERT_EQ(Closed.size(), 1u);
  EXPECT_EQ(Closed[0], 2);
  EXPECT_FALSE(IsWindowVisible(List->GetHandle()));
}

TEST_F(TDropDownFixture, PendingMouseDownIsTakenOverWhenThePointerEnters)
{
  ShowList();
  HWND h = List->GetHandle();
  List->SetMouseDownPending(true);
  SetCapture(h);
  // A release while still pending keeps the list open and only gives up the capture.
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(Closed.empty());
  EXPECT_NE(GetCapture(), h);
  SetCapture(h);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 16 + 4));
  EXPECT_FALSE(List->GetMouseDownPending());
  EXPECT_EQ(List->GetItemIndex(), 1);
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 16 + 4));
  ASSERT_EQ(Closed.size(), 1u);
  EXPECT_EQ(Closed[0], 1);
  if (GetCapture() == h)
    ReleaseCapture();
}

TEST_F(TDropDownFixture, FirstKeySelectsTheTopVisibleItem)
{
  HWND h = List->GetHandle();
  List->SetTopIndex(2);
  EXPECT_EQ(List->GetItemIndex(), -1);
  SendMessageW(h, WM_KEYDOWN, VK_SHIFT, 0);
  EXPECT_EQ(List->GetItemIndex(), List->GetTopIndex());
}

TEST_F(TDropDownFixture, BorderPaintedOnTheWindowDC)
{
  ShowList();
  HWND h = List->GetHandle();
  SendMessageW(h, WM_NCPAINT, 1, 0);
  HDC dc = GetWindowDC(h);
  EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetPixel(dc, 119, 30), GetSysColor(COLOR_BTNSHADOW));
  ReleaseDC(h, dc);
  EXPECT_EQ(BarCanvas()->GetPaintLevel(), 0);
}

}  // namespace
