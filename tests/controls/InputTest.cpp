// Real input (SendInput) reaching controls: clicks and their coordinates, graphic children
// fed by their parent, mouse enter and leave, capture, focus moving on a click, keys and
// dialog keys, and an exception from a click handler stopping at the window procedure.
#include "ControlTestUtil.h"
#include "platform/Scope.h"

#include "platform/StdCtrls.h"

namespace {

class TClickable : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
  std::vector<std::wstring> Log;

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    Log.push_back(L"down " + std::to_wstring(X) + L"," + std::to_wstring(Y));
  }
  void Click() override
  {
    Log.push_back(L"click");
    TGraphicControl::Click();
  }
  void CMMouseEnter(TMessage& Message) override { Log.push_back(L"enter"); }
  void CMMouseLeave(TMessage& Message) override { Log.push_back(L"leave"); }
};

struct TInputFixture : TSharedHostTest {
  TProbeControl* Probe = nullptr;
  void SetUp() override
  {
    TSharedHostTest::SetUp();
    Probe = new TProbeControl(Host);
    Probe->SetParent(Host);
    PumpPending();
  }
};

}  // namespace

TEST_F(TInputFixture, ARealClickReachesOnClickOnceWithClientCoordinates)
{
  int clicks = 0;
  Probe->OnClick = TNotifyEvent([&](TObject* Sender) {
    EXPECT_EQ(Sender, Probe);
    ++clicks;
  });
  ASSERT_TRUE(ClickAt(ScreenPoint(Probe, 15, 25)));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Count(Probe->Log, L"down 15,25"), 1);
  EXPECT_EQ(Count(Probe->Log, L"up"), 1);
}

TEST_F(TInputFixture, ReleasingOutsideIsNoClickAndCaptureFollowsThePress)
{
  Probe->SetControlStyle(Probe->GetControlStyle() + csCaptureMouse);
  ASSERT_TRUE(MoveMouseTo(ScreenPoint(Probe, 20, 20)));
  ASSERT_TRUE(MouseButtonDown());
  EXPECT_EQ(::GetCapture(), Probe->GetHandle());
  EXPECT_TRUE(Probe->GetMouseCapture());
  EXPECT_EQ(GetCaptureControl(), Probe);
  // Outside the control, still inside the host: the captured control gets the moves.
  int moves = 0;
  Probe->OnMouseMove = TMouseMoveEvent([&](TObject*, TShiftState, int X, int Y) {
    if (X > 100)
      ++moves;
  });
  ASSERT_TRUE(MoveMouseTo(ScreenPoint(Probe, 200, 100)));
  EXPECT_GE(moves, 1);
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Count(Probe->Log, L"click"), 0);
}

TEST_F(TInputFixture, GraphicChildrenGetTheirParentsMouseMessages)
{
  auto* g = new TClickable(Host);
  g->SetBounds(150, 100, 60, 40);
  g->SetParent(Host);
  int clicks = 0;
  g->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  ASSERT_TRUE(ClickAt(ScreenPoint(Host, 160, 115)));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Count(g->Log, L"down 10,15"), 1) << "coordinates are the graphic control's own";
  // The parent's capture holds the graphic control while the button is down.
  ASSERT_TRUE(MoveMouseTo(ScreenPoint(Host, 170, 120)));
  ASSERT_TRUE(MouseButtonDown());
  EXPECT_EQ(GetCaptureControl(), g);
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_EQ(GetCaptureControl(), nullptr);
  // A disabled graphic control lets the click through to the parent.
  g->SetEnabled(false);
  int hostClicks = 0;
  Host->OnClick = TNotifyEvent([&](TObject*) { ++hostClicks; });
  ASSERT_TRUE(ClickAt(ScreenPoint(Host, 160, 115)));
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(hostClicks, 1);
}

TEST_F(TInputFixture, MouseEnterAndLeaveFollowTheCursor)
{
  auto* g = new TClickable(Host);
  g->SetBounds(150, 100, 60, 40);
  g->SetParent(Host);
  ASSERT_TRUE(MoveMouseTo(ScreenPoint(Probe, 30, 30)));
  EXPECT_EQ(Count(Probe->Log, L"enter"), 1);
  EXPECT_EQ(GetMouseControl(), Probe);
  ASSERT_TRUE(MoveMouseTo(ScreenPoint(Probe, 40, 35)));
  EXPECT_EQ(Count(Probe->Log, L"enter"), 1) << "moving within the control is no new enter";
  ASSERT_TRUE(MoveMouseTo(ScreenPoint(Host, 170, 120)));
  EXPECT_TRUE(PumpUntil([&] { return Count(Probe->Log, L"leave") == 1; }, 2000));
  EXPECT_EQ(Count(g->Log, L"enter"), 1);
  ASSERT_TRUE(MoveMouseTo(ScreenPoint(Host, 250, 200)));
  EXPECT_EQ(Count(g->Log, L"leave"), 1);
  // Leaving the window altogether.
  ParkMouse();
  EXPECT_TRUE(PumpUntil([&] { return GetMouseControl() == nullptr; }, 2000));
}

TEST_F(TInputFixture, FocusMovesToTheEditClicked)
{
  auto* first = new TEdit(Host);
  first->SetBounds(10, 100, 100, 22);
  first->SetParent(Host);
  auto* second = new TEdit(Host);
  second->SetBounds(10, 140, 100, 22);
  second->SetParent(Host);
  std::vector<std::wstring> events;
  first->OnEnter = TNotifyEvent([&](TObject*) { events.push_back(L"enter first"); });
  first->OnExit = TNotifyEvent([&](TObject*) { events.push_back(L"exit first"); });
  second->OnEnter = TNotifyEvent([&](TObject*) { events.push_back(L"enter second"); });
  first->SetFocus();
  EXPECT_TRUE(first->Focused());
  ASSERT_TRUE(ClickAt(ScreenPoint(second, 20, 10)));
  EXPECT_TRUE(second->Focused());
  EXPECT_FALSE(first->Focused());
  std::vector<std::wstring> expected{L"enter first", L"exit first", L"enter second"};
  EXPECT_EQ(events, expected);
  // Disabled or hidden controls cannot take it.
  first->SetEnabled(false);
  EXPECT_FALSE(first->CanFocus());
  EXPECT_THROW(first->SetFocus(), EInvalidOperation);
}

TEST_F(TInputFixture, TypedKeysReachTheKeyEventsAndTheNativeEdit)
{
  auto* edit = new TEdit(Host);
  edit->SetBounds(10, 100, 150, 22);
  edit->SetParent(Host);
  edit->SetFocus();
  std::vector<WORD> downs;
  edit->OnKeyDown = TKeyEvent([&](TObject*, WORD& Key, TShiftState) { downs.push_back(Key); });
  edit->OnKeyPress = TKeyPressEvent([&](TObject*, wchar_t& Key) {
    if (Key == L'x')
      Key = 0;  // swallowed: never reaches the edit
  });
  ASSERT_TRUE(TypeText(L"axb"));
  EXPECT_EQ(edit->GetText(), L"ab");
  ASSERT_TRUE(PressKey('C', {VK_SHIFT}));
  EXPECT_EQ(edit->GetText(), L"abC");
  EXPECT_NE(std::find(downs.begin(), downs.end(), WORD('C')), downs.end());
}

TEST_F(TInputFixture, TabIsADialogKeyOfTheTopContainer)
{
  class TDialogHost : public THostWindow {
  public:
    using THostWindow::THostWindow;
    std::vector<WPARAM> DialogKeys;
    void WndProc(TMessage& Message) override
    {
      if (Message.Msg == CM_DIALOGKEY) {
        DialogKeys.push_back(Message.WParam);
        Message.Result = 1;
        return;
      }
      THostWindow::WndProc(Message);
    }
  };
  auto* host = new TDialogHost(nullptr);
  auto* edit = new TEdit(host);
  edit->SetBounds(10, 10, 150, 22);
  edit->SetParent(host);
  ShowTopLevel(host);
  edit->SetFocus();
  int editTabs = 0;
  edit->OnKeyDown = TKeyEvent([&](TObject*, WORD& Key, TShiftState) { editTabs += Key == VK_TAB; });
  ASSERT_TRUE(PressKey(VK_TAB));
  ASSERT_EQ(host->DialogKeys.size(), 1u);
  EXPECT_EQ(host->DialogKeys[0], WPARAM(VK_TAB));
  EXPECT_EQ(editTabs, 0) << "a used dialog key is not dispatched";
  host->Free();
}

TEST_F(TInputFixture, AnExceptionInAClickHandlerReachesTheHandlerNotTheProcess)
{
  std::vector<String> reported;
  auto old = SetUnexpectedExceptionHandler([&](TObject*) { reported.push_back(CurrentExceptionMessage()); });
  TFinally restore([&] { SetUnexpectedExceptionHandler(old); });
  Probe->OnClick = TNotifyEvent([](TObject*) { throw EInvalidOperation(L"click failed"); });
  ASSERT_TRUE(ClickAt(ScreenPoint(Probe, 15, 15)));
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], L"click failed");
  // The control still takes clicks.
  Probe->OnClick = nullptr;
  ASSERT_TRUE(ClickAt(ScreenPoint(Probe, 15, 15)));
  EXPECT_EQ(Count(Probe->Log, L"click"), 2);
}
