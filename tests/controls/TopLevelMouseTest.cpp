// Mouse messages reaching controls that have no parent: a top-level, owner-drawn list box
// in a topmost tool window over the native list class (as a drop-down list is made), and a
// plain parentless windowed control. Sent, performed and real mouse input must each be
// handled once, by the control and the native window, never going round in the routing,
// also when a descendant's handler passes its own message back to WndProc.
#include "ControlTestUtil.h"

#include "platform/StdCtrls.h"

namespace {

// Deeper than this, a message is going round in circles: the probe drops it so the test
// fails instead of the process dying of a stack overflow.
constexpr int kMaxNesting = 8;

bool IsMouseMessage(UINT Msg)
{
  return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST;
}

// Counts how deeply calls nest; refuses to go deeper than kMaxNesting.
struct TNestingProbe {
  int Depth = 0;
  int MaxDepth = 0;
  int Dropped = 0;
  bool Enter()
  {
    if (Depth >= kMaxNesting) {
      ++Dropped;
      return false;
    }
    MaxDepth = std::max(MaxDepth, ++Depth);
    return true;
  }
  void Leave() { --Depth; }
};

std::wstring At(int X, int Y)
{
  return std::to_wstring(X) + L"," + std::to_wstring(Y);
}

int CountPrefix(const std::vector<std::wstring>& Log, const std::wstring& Prefix)
{
  return int(std::count_if(Log.begin(), Log.end(), [&](const std::wstring& e) { return e.rfind(Prefix, 0) == 0; }));
}

const wchar_t* ButtonName(TMouseButton Button)
{
  return Button == mbLeft ? L"l" : Button == mbRight ? L"r" : L"m";
}

// A list box made as a drop-down list is: a topmost popup tool window with no parent, no
// parent window and no owner, owner-drawn over the native class.
class TTopLevelList : public TCustomListBox {
  DECLARE_CLASS(TTopLevelList, TCustomListBox)
public:
  explicit TTopLevelList(TComponent* AOwner) : TCustomListBox(AOwner)
  {
    SetBorderStyle(bsNone);
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(20);
    SetBounds(420, 60, 160, 120);
    GetItems()->AddStrings({L"zero", L"one", L"two", L"three", L"four"});
  }
  TNestingProbe Nesting;
  std::vector<std::wstring> Log;

  void CreateParams(TCreateParams& Params) override
  {
    TCustomListBox::CreateParams(Params);
    Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WndParent = nullptr;
  }
  void WndProc(TMessage& Message) override
  {
    if (!IsMouseMessage(Message.Msg)) {
      TCustomListBox::WndProc(Message);
      return;
    }
    if (!Nesting.Enter())
      return;
    TCustomListBox::WndProc(Message);
    Nesting.Leave();
  }

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    Log.push_back(ButtonName(Button) + std::wstring(L"down ") + At(X, Y));
    TCustomListBox::MouseDown(Button, Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    Log.push_back(ButtonName(Button) + std::wstring(L"up"));
    TCustomListBox::MouseUp(Button, Shift, X, Y);
  }
  void MouseMove(TShiftState Shift, int X, int Y) override
  {
    Log.push_back(L"move " + At(X, Y));
    TCustomListBox::MouseMove(Shift, X, Y);
  }
};

IMPLEMENT_CLASS(TTopLevelList, TCustomListBox)

// The same list with handlers of its own for the mouse that do their part and then pass
// the message on to the inherited WndProc, as a descendant writing "inherited" may: the
// layer must hand such a message to the native window, not back to the handler.
class TForwardingList : public TTopLevelList {
  DECLARE_CLASS(TForwardingList, TTopLevelList)
public:
  using TTopLevelList::TTopLevelList;
  TNestingProbe Handlers;
  int Moves = 0, LeftDowns = 0, LeftUps = 0, RightDowns = 0;

protected:
  void WMMouseMove(TMessage& Message) override { Forward(Message, Moves); }
  void WMLButtonDown(TMessage& Message) override { Forward(Message, LeftDowns); }
  void WMLButtonUp(TMessage& Message) override { Forward(Message, LeftUps); }
  void WMRButtonDown(TMessage& Message) override { Forward(Message, RightDowns); }

private:
  void Forward(TMessage& Message, int& Counter)
  {
    if (!Handlers.Enter())
      return;
    ++Counter;
    TCustomListBox::WndProc(Message);
    Handlers.Leave();
  }
};

IMPLEMENT_CLASS(TForwardingList, TTopLevelList)

// A plain parentless windowed control: a topmost popup with no owner and no parent window.
class TTopLevelPanel : public TCustomControl {
  DECLARE_CLASS(TTopLevelPanel, TCustomControl)
public:
  explicit TTopLevelPanel(TComponent* AOwner) : TCustomControl(AOwner)
  {
    FControlStyle += csAcceptsControls;
    SetBounds(420, 220, 160, 100);
  }
  TNestingProbe Handlers;
  std::vector<std::wstring> Log;
  // Set: a double click is passed on as a second press, in the same message record.
  bool DoubleClickAsPress = false;

  void CreateParams(TCreateParams& Params) override
  {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WndParent = nullptr;
  }

protected:
  void WMRButtonUp(TMessage& Message) override
  {
    if (!Handlers.Enter())
      return;
    Log.push_back(L"rup handler");
    TCustomControl::WndProc(Message);
    Handlers.Leave();
  }
  void WMLButtonDblClk(TMessage& Message) override
  {
    if (!DoubleClickAsPress) {
      TCustomControl::WMLButtonDblClk(Message);
      return;
    }
    Message.Msg = WM_LBUTTONDOWN;
    TCustomControl::WndProc(Message);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    Log.push_back(ButtonName(Button) + std::wstring(L"down ") + At(X, Y));
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    Log.push_back(ButtonName(Button) + std::wstring(L"up"));
    TCustomControl::MouseUp(Button, Shift, X, Y);
  }
};

IMPLEMENT_CLASS(TTopLevelPanel, TCustomControl)

// Shows a top-level control without activating it, as a drop-down shows.
void ShowInactive(TWinControl* Control)
{
  HWND h = Control->GetHandle();
  ::SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::UpdateWindow(h);
  PumpPending();
}

template <class TList>
struct TTopLevelListFixture : testing::Test {
  TList* List = nullptr;
  void SetUp() override
  {
    ParkMouse();
    List = new TList(nullptr);
    ASSERT_EQ(List->GetParent(), nullptr);
    ASSERT_EQ(List->GetParentWindow(), nullptr);
    ShowInactive(List);
    ASSERT_EQ(::GetParent(List->GetHandle()), nullptr);
  }
  void TearDown() override
  {
    if (::GetCapture() == List->GetHandle())
      ::ReleaseCapture();
    FreeAndNil(List);
    ParkMouse();
    PumpPending();
  }
  // Client point in the middle of item Index.
  TPoint ItemPoint(int Index) { return CenterPoint(List->ItemRect(Index)); }
  LPARAM ItemParam(int Index)
  {
    const TPoint p = ItemPoint(Index);
    return MAKELPARAM(p.x, p.y);
  }
};

using TTopLevelListTest = TTopLevelListFixture<TTopLevelList>;
using TForwardingListTest = TTopLevelListFixture<TForwardingList>;

}  // namespace

TEST_F(TTopLevelListTest, SentMouseMessagesAreHandledOnce)
{
  HWND h = List->GetHandle();
  const TPoint p = ItemPoint(2);
  const LPARAM at = ItemParam(2);
  ::SendMessageW(h, WM_MOUSEMOVE, 0, at);
  EXPECT_EQ(Count(List->Log, L"move " + At(p.x, p.y)), 1);
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_EQ(List->GetItemIndex(), 2) << "the native list selects on the press";
  EXPECT_EQ(::GetCapture(), h) << "the native list tracks the held button";
  ::SendMessageW(h, WM_LBUTTONUP, 0, at);
  EXPECT_NE(::GetCapture(), h);
  ::SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, at);
  ::SendMessageW(h, WM_RBUTTONUP, 0, at);
  EXPECT_EQ(Count(List->Log, L"ldown " + At(p.x, p.y)), 1);
  EXPECT_EQ(Count(List->Log, L"lup"), 1);
  EXPECT_EQ(Count(List->Log, L"rdown " + At(p.x, p.y)), 1);
  EXPECT_EQ(Count(List->Log, L"rup"), 1);
  EXPECT_EQ(List->Nesting.Dropped, 0);
  EXPECT_LE(List->Nesting.MaxDepth, 2) << "a mouse message came back into the control handling it";
}

TEST_F(TTopLevelListTest, PerformedMouseMessagesAreHandledOnce)
{
  for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONDOWN,
                   WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP})
    List->Perform(msg, 0, ItemParam(1));
  EXPECT_EQ(List->GetItemIndex(), 1);
  EXPECT_EQ(Count(List->Log, L"lup"), 2);
  EXPECT_EQ(Count(List->Log, L"rup"), 1);
  EXPECT_EQ(Count(List->Log, L"mup"), 1);
  EXPECT_EQ(List->Nesting.Dropped, 0);
  EXPECT_LE(List->Nesting.MaxDepth, 2);
}

TEST_F(TTopLevelListTest, MouseEnterAndLeaveAreToldOnceEach)
{
  int enters = 0, leaves = 0;
  List->OnMouseEnter = TNotifyEvent([&](TObject*) { ++enters; });
  List->OnMouseLeave = TNotifyEvent([&](TObject*) { ++leaves; });
  HWND h = List->GetHandle();
  for (int i = 0; i < 3; ++i)
    ::SendMessageW(h, WM_MOUSEMOVE, 0, ItemParam(i));
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 0);
  ::SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(leaves, 1);
  EXPECT_EQ(List->Nesting.Dropped, 0);
}

TEST_F(TTopLevelListTest, RealMovesAndClicksReachTheListOnce)
{
  ASSERT_TRUE(MoveMouseTo(List->ClientToScreen(ItemPoint(0))));
  ASSERT_TRUE(MoveMouseTo(List->ClientToScreen(ItemPoint(3))));
  EXPECT_GE(CountPrefix(List->Log, L"move "), 1);
  ASSERT_TRUE(ClickAt(List->ClientToScreen(ItemPoint(3))));
  EXPECT_EQ(List->GetItemIndex(), 3);
  EXPECT_EQ(CountPrefix(List->Log, L"ldown "), 1);
  EXPECT_EQ(Count(List->Log, L"lup"), 1);
  ASSERT_TRUE(ClickAt(List->ClientToScreen(ItemPoint(4)), TInputButton::Right));
  EXPECT_EQ(CountPrefix(List->Log, L"rdown "), 1);
  EXPECT_EQ(Count(List->Log, L"rup"), 1);
  EXPECT_EQ(List->Nesting.Dropped, 0);
  EXPECT_LE(List->Nesting.MaxDepth, 2);
}

// Regression: a handler passing its own message back to WndProc was handed the message
// again by the dispatch, without end, until the stack overflowed.
TEST_F(TForwardingListTest, AHandlerPassingItsMessageOnRunsOnceAndTheNativeListGetsIt)
{
  HWND h = List->GetHandle();
  ::SendMessageW(h, WM_MOUSEMOVE, 0, ItemParam(1));
  EXPECT_EQ(List->Moves, 1);
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, ItemParam(2));
  EXPECT_EQ(List->LeftDowns, 1);
  EXPECT_EQ(List->GetItemIndex(), 2) << "the native list had the press";
  EXPECT_EQ(::GetCapture(), h);
  ::SendMessageW(h, WM_LBUTTONUP, 0, ItemParam(2));
  EXPECT_EQ(List->LeftUps, 1);
  EXPECT_NE(::GetCapture(), h) << "the native list had the release";
  ::SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, ItemParam(0));
  EXPECT_EQ(List->RightDowns, 1);
  List->Perform(WM_MOUSEMOVE, 0, ItemParam(3));
  EXPECT_EQ(List->Moves, 2);
  EXPECT_EQ(List->Handlers.Dropped, 0);
  EXPECT_EQ(List->Handlers.MaxDepth, 1);
}

TEST_F(TForwardingListTest, RealMovesAndClicksRunEachHandlerOncePerMessage)
{
  ASSERT_TRUE(MoveMouseTo(List->ClientToScreen(ItemPoint(0))));
  ASSERT_TRUE(MoveMouseTo(List->ClientToScreen(ItemPoint(2))));
  EXPECT_GE(List->Moves, 1);
  ASSERT_TRUE(ClickAt(List->ClientToScreen(ItemPoint(2))));
  EXPECT_EQ(List->LeftDowns, 1);
  EXPECT_EQ(List->LeftUps, 1);
  EXPECT_EQ(List->GetItemIndex(), 2);
  ASSERT_TRUE(ClickAt(List->ClientToScreen(ItemPoint(4)), TInputButton::Right));
  EXPECT_EQ(List->RightDowns, 1);
  EXPECT_EQ(List->Handlers.Dropped, 0);
  EXPECT_EQ(List->Handlers.MaxDepth, 1);
}

TEST(TopLevelControlMouse, AParentlessControlTakesItsOwnClicksAndCapture)
{
  ParkMouse();
  auto* panel = new TTopLevelPanel(nullptr);
  int clicks = 0;
  panel->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  ShowInactive(panel);
  HWND h = panel->GetHandle();
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(::GetCapture(), h);
  EXPECT_TRUE(panel->GetMouseCapture());
  ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(clicks, 1);
  ASSERT_TRUE(ClickAt(panel->ClientToScreen(Point(30, 30))));
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Count(panel->Log, L"ldown 30,30"), 1);
  FreeAndNil(panel);
  ParkMouse();
}

TEST(TopLevelControlMouse, AHandlerPassingItsMessageOnGetsTheDefaultHandlingOnce)
{
  ParkMouse();
  TTopLevelPanel panel(nullptr);
  ShowInactive(&panel);
  HWND h = panel.GetHandle();
  // The right release comes back from the handler: the window's default handling then
  // turns it into a context menu request, once.
  int menus = 0;
  panel.OnContextPopup = TContextPopupEvent([&](TObject*, TPoint, bool& Handled) {
    ++menus;
    Handled = true;
  });
  ::SendMessageW(h, WM_RBUTTONUP, 0, MAKELPARAM(12, 14));
  EXPECT_EQ(Count(panel.Log, L"rup handler"), 1);
  EXPECT_EQ(panel.Handlers.Dropped, 0);
  EXPECT_EQ(menus, 1);
  ASSERT_TRUE(ClickAt(panel.ClientToScreen(Point(40, 20)), TInputButton::Right));
  EXPECT_EQ(Count(panel.Log, L"rup handler"), 2);
  EXPECT_EQ(panel.Handlers.Dropped, 0);
  EXPECT_EQ(panel.Handlers.MaxDepth, 1);
  ParkMouse();
}

TEST(TopLevelControlMouse, AHandlerTranslatingItsMessageHasTheTranslationDispatched)
{
  TTopLevelPanel panel(nullptr);
  panel.DoubleClickAsPress = true;
  // The same record, now a press: it is a new message for the dispatch, not a loop.
  panel.Perform(WM_LBUTTONDBLCLK, 0, MAKELPARAM(7, 9));
  EXPECT_EQ(Count(panel.Log, L"ldown 7,9"), 1);
  EXPECT_EQ(CountPrefix(panel.Log, L"ldown "), 1);
  panel.Perform(WM_LBUTTONUP, 0, MAKELPARAM(7, 9));
}
