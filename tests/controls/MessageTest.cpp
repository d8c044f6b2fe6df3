// Message flow: Perform and window messages through the replaceable WindowProc, dispatch
// to named handlers, reflection of child notifications, and exceptions that stop at the
// window procedure and reach the replaceable handler.
#include "ControlTestUtil.h"
#include "platform/Scope.h"

#include <thread>

namespace {

constexpr UINT WM_TEST_THROW = WM_APP + 1;
constexpr UINT WM_TEST_PING = WM_APP + 2;

}  // namespace

class TCountingControl : public TCustomControl {
  DECLARE_CLASS(TCountingControl, TCustomControl)
public:
  using TCustomControl::TCustomControl;
  int ColorChanges = 0;
  int FontChanges = 0;
  int Pings = 0;

  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == WM_TEST_THROW)
      throw EInvalidOperation(L"thrown in a handler");
    if (Message.Msg == WM_TEST_PING) {
      ++Pings;
      Message.Result = 42;
      return;
    }
    TCustomControl::WndProc(Message);
  }

protected:
  void CMColorChanged(TMessage& Message) override
  {
    ++ColorChanges;
    TCustomControl::CMColorChanged(Message);
  }
  void CMFontChanged(TMessage& Message) override
  {
    ++FontChanges;
    TCustomControl::CMFontChanged(Message);
  }
};

namespace {

// Hooks a control's WindowProc the way a library does: keep the old one, chain to it.
class TSpy : public TObject {
public:
  explicit TSpy(TControl* Control) : FControl(Control)
  {
    FOld = Control->GetWindowProc();
    Control->SetWindowProc(TWndMethod(this, &TSpy::Hook));
  }
  ~TSpy() override { FControl->SetWindowProc(FOld); }
  void Hook(TMessage& Message)
  {
    Seen.push_back(Message.Msg);
    if (Message.Msg == WM_TEST_PING && Swallow) {
      Message.Result = 7;
      return;
    }
    FOld(Message);
  }
  std::vector<UINT> Seen;
  bool Swallow = false;

private:
  TControl* FControl;
  TWndMethod FOld;
};

// Installs a recording exception handler for the scope of a test.
class TExceptionRecorder {
public:
  TExceptionRecorder()
  {
    FOld = SetUnexpectedExceptionHandler([this](TObject* Sender) {
      Messages.push_back(CurrentExceptionMessage());
      Senders.push_back(Sender);
    });
  }
  ~TExceptionRecorder() { SetUnexpectedExceptionHandler(FOld); }
  std::vector<String> Messages;
  std::vector<TObject*> Senders;

private:
  TUnexpectedExceptionHandler FOld;
};

}  // namespace

IMPLEMENT_CLASS(TCountingControl, TCustomControl)

TEST(MessageDispatch, ReplacedWindowProcSeesPerformAndWindowMessages)
{
  THostWindow host(nullptr);
  auto* c = new TCountingControl(&host);
  c->SetParent(&host);
  HWND h = c->GetHandle();
  {
    TSpy spy(c);
    EXPECT_EQ(c->Perform(WM_TEST_PING), 42);
    EXPECT_EQ(::SendMessageW(h, WM_TEST_PING, 0, 0), 42);
    EXPECT_EQ(std::count(spy.Seen.begin(), spy.Seen.end(), WM_TEST_PING), 2);
    spy.Swallow = true;
    EXPECT_EQ(::SendMessageW(h, WM_TEST_PING, 0, 0), 7);
    EXPECT_EQ(c->Pings, 2) << "a swallowed message never reaches WndProc";
  }
  // With the old procedure back nothing goes through the spy any more.
  EXPECT_EQ(::SendMessageW(h, WM_TEST_PING, 0, 0), 42);
  EXPECT_EQ(c->Pings, 3);
}

TEST(MessageDispatch, NotificationsReachTheirNamedHandlerOncePerRealChange)
{
  TCountingControl c(nullptr);
  c.SetColor(clRed);
  EXPECT_EQ(c.ColorChanges, 1);
  c.SetColor(clRed);
  EXPECT_EQ(c.ColorChanges, 1) << "an equal value is no change";
  c.GetFont()->SetHeight(-20);
  EXPECT_EQ(c.FontChanges, 1);
  EXPECT_FALSE(c.GetParentFont()) << "a font set on the control is its own";
}

TEST(MessageDispatch, ChildNotificationsAreReflectedToTheChild)
{
  THostWindow host(nullptr);
  auto* child = new TCountingControl(&host);
  child->SetParent(&host);
  TSpy spy(child);
  HWND h = child->GetHandle();
  ::SendMessageW(host.GetHandle(), WM_COMMAND, MAKEWPARAM(0, 0x300), reinterpret_cast<LPARAM>(h));
  EXPECT_NE(std::find(spy.Seen.begin(), spy.Seen.end(), CN_COMMAND), spy.Seen.end());
}

TEST(ExceptionsInWindowProcedures, ReachTheHandlerAndNotTheCaller)
{
  THostWindow host(nullptr);
  auto* c = new TCountingControl(&host);
  c->SetParent(&host);
  TExceptionRecorder recorder;
  LRESULT r = ::SendMessageW(c->GetHandle(), WM_TEST_THROW, 0, 0);
  EXPECT_EQ(r, 0);
  ASSERT_EQ(recorder.Messages.size(), 1u);
  EXPECT_EQ(recorder.Messages[0], L"thrown in a handler");
  EXPECT_EQ(recorder.Senders[0], c);
  // The control goes on working.
  EXPECT_EQ(::SendMessageW(c->GetHandle(), WM_TEST_PING, 0, 0), 42);
}

TEST(ExceptionsInWindowProcedures, DefaultHandlerSwallowsWithoutAHandler)
{
  THostWindow host(nullptr);
  auto* c = new TCountingControl(&host);
  c->SetParent(&host);
  auto old = SetUnexpectedExceptionHandler(nullptr);
  TFinally restore([&] { SetUnexpectedExceptionHandler(old); });
  EXPECT_NO_THROW(::SendMessageW(c->GetHandle(), WM_TEST_THROW, 0, 0));
}

TEST(ExceptionsInWindowProcedures, AThrowingHandlerDoesNotEscapeEither)
{
  THostWindow host(nullptr);
  auto* c = new TCountingControl(&host);
  c->SetParent(&host);
  auto old = SetUnexpectedExceptionHandler([](TObject*) { throw Exception(L"the handler fails too"); });
  TFinally restore([&] { SetUnexpectedExceptionHandler(old); });
  EXPECT_NO_THROW(::SendMessageW(c->GetHandle(), WM_TEST_THROW, 0, 0));
}

TEST(ExceptionsInWindowProcedures, PaintThatThrowsDoesNotLoopForever)
{
  class TBadPaint : public TCustomControl {
  public:
    using TCustomControl::TCustomControl;
    int Paints = 0;
    void Paint() override
    {
      ++Paints;
      throw Exception(L"paint failed");
    }
  };
  THostWindow host(nullptr);
  auto* c = new TBadPaint(&host);
  c->SetBounds(0, 0, 50, 50);
  c->SetParent(&host);
  TExceptionRecorder recorder;
  ShowTopLevel(&host);
  PumpFor(100);
  // The window was validated despite the exception: no endless WM_PAINT.
  EXPECT_GE(c->Paints, 1);
  EXPECT_LE(c->Paints, 3);
  EXPECT_FALSE(::GetUpdateRect(c->GetHandle(), nullptr, FALSE));
}

namespace {

struct TObserved {
  UINT Msg;
  bool After;
  int Pings;  // the control's count when the observer saw the message
};
std::vector<TObserved> GObserved;
TCountingControl* GObservedControl = nullptr;

void RecordBefore(HWND, UINT Msg, WPARAM, LPARAM)
{
  if (Msg == WM_TEST_PING)
    GObserved.push_back({Msg, false, GObservedControl->Pings});
}

void RecordAfter(HWND, UINT Msg, WPARAM, LPARAM)
{
  if (Msg == WM_TEST_PING)
    GObserved.push_back({Msg, true, GObservedControl->Pings});
}

}  // namespace

TEST(MessageObserver, SeesSentAndPostedMessagesAroundTheWindowProcedureOfItsThreadOnly)
{
  THostWindow host(nullptr);
  auto* c = new TCountingControl(&host);
  c->SetParent(&host);
  HWND h = c->GetHandle();
  GObserved.clear();
  GObservedControl = c;
  const TWindowMessageObserver old = SetWindowMessageObserver({RecordBefore, RecordAfter, ::GetCurrentThreadId()});
  TFinally restore([&] { SetWindowMessageObserver(old); });

  ::SendMessageW(h, WM_TEST_PING, 0, 0);
  ASSERT_EQ(GObserved.size(), 2u);
  EXPECT_FALSE(GObserved[0].After);
  EXPECT_EQ(GObserved[0].Pings, 0) << "before the window procedure";
  EXPECT_TRUE(GObserved[1].After);
  EXPECT_EQ(GObserved[1].Pings, 1) << "after it";

  ::PostMessageW(h, WM_TEST_PING, 0, 0);
  PumpPending();
  EXPECT_EQ(GObserved.size(), 4u) << "a posted message passes too";

  // Another thread's message to its own window of this layer passes no observer.
  std::thread worker([] {
    auto* other = new TCountingControl(nullptr);
    other->SetParentWindow(HWND_MESSAGE);
    ::SendMessageW(other->GetHandle(), WM_TEST_PING, 0, 0);
    other->Free();
  });
  worker.join();
  EXPECT_EQ(GObserved.size(), 4u);

  SetWindowMessageObserver({});
  ::SendMessageW(h, WM_TEST_PING, 0, 0);
  EXPECT_EQ(GObserved.size(), 4u) << "removed";
  EXPECT_EQ(c->Pings, 3);
}

namespace {

void FreeObservedOnPing(HWND, UINT Msg, WPARAM, LPARAM)
{
  if (Msg == WM_TEST_PING && GObservedControl)
    std::exchange(GObservedControl, nullptr)->Free();
}

}  // namespace

// The observer runs code of the library (a form's activation closes its menus), which may free
// the very control whose message it sees: the message then goes nowhere.
TEST(MessageObserver, AControlTheObserverFreesGetsNoMoreOfTheMessage)
{
  THostWindow host(nullptr);
  auto* c = new TCountingControl(&host);
  c->SetParent(&host);
  HWND h = c->GetHandle();
  TWeakRef<TCountingControl> ref(c);
  GObservedControl = c;
  const TWindowMessageObserver old = SetWindowMessageObserver({FreeObservedOnPing, nullptr, ::GetCurrentThreadId()});
  TFinally restore([&] { SetWindowMessageObserver(old); });
  EXPECT_EQ(::SendMessageW(h, WM_TEST_PING, 0, 0), 0) << "the freed control did not answer";
  EXPECT_FALSE(ref);
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(FindControl(h), nullptr);
}
