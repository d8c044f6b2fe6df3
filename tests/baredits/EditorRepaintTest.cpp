// An editor that the painter draws: what the editor draws straight on the screen while the
// user types is painted again through the buffer, once per burst of input.
#include "EditTestUtil.h"

#include "bars/painters/painter.h"

namespace {

class TEditorDrawingPainter : public TdxBarPainter {
  DECLARE_CLASS(TEditorDrawingPainter, TdxBarPainter)
public:
  bool IsEditorDrawnByPainter() const override { return true; }
};

class TEditorDrawingManager : public TdxBarManager {
  DECLARE_CLASS(TEditorDrawingManager, TdxBarManager)
public:
  explicit TEditorDrawingManager(TComponent* AOwner) : TdxBarManager(AOwner) {}
  TClass GetPainterClass() const override { return TEditorDrawingPainter::StaticClass(); }
};

// Counts the editor repaints that reach a window through the queue; the hook goes with it.
class TRepaintCounter {
public:
  explicit TRepaintCounter(HWND AWnd)
  {
    FWnd = AWnd;
    FCount = 0;
    FHook = ::SetWindowsHookExW(WH_GETMESSAGE, Hook, nullptr, ::GetCurrentThreadId());
  }
  ~TRepaintCounter()
  {
    if (FHook)
      ::UnhookWindowsHookEx(FHook);
    FWnd = nullptr;
  }
  bool Installed() const { return FHook != nullptr; }
  int Count() const { return FCount; }

private:
  static LRESULT CALLBACK Hook(int ACode, WPARAM AWParam, LPARAM ALParam)
  {
    const MSG* msg = reinterpret_cast<const MSG*>(ALParam);
    if (ACode == HC_ACTION && AWParam == PM_REMOVE && msg->hwnd == FWnd && msg->message == dxBarEditorRepaintMessage)
      ++FCount;
    return ::CallNextHookEx(nullptr, ACode, AWParam, ALParam);
  }
  HHOOK FHook = nullptr;
  static inline HWND FWnd = nullptr;
  static inline int FCount = 0;
};

}  // namespace

IMPLEMENT_CLASS(TEditorDrawingPainter, TdxBarPainter)
IMPLEMENT_CLASS(TEditorDrawingManager, TdxBarManager)

class TEditorRepaint : public TEditFixture {};

TEST_F(TEditorRepaint, TypingIntoAnEditorThePainterDrawsRepaintsItOnce)
{
  TBarHost<TEditTestForm, TEditorDrawingManager> host;
  host.Manager->UpdateStyle();  // the constructor could only make the base class's painter
  host.Form()->SetBounds(140, 440, 400, 120);
  auto* edit = new TdxBarEdit(host.Form());
  edit->SetText(L"start");
  TdxBar* bar = host.Manager->GetBars()->Add();
  bar->SetDockingStyle(dsTop);
  bar->GetItemLinks()->AddItem(edit);
  bar->SetVisible(true);
  host.Form()->Show();
  ASSERT_TRUE(ActivateWindow(host.Form()->GetHandle()));
  PumpPending();
  auto* control = ControlOn(bar, edit);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(StartEditing(control));
  ASSERT_TRUE(control->IsEditorDrawnByPainter());

  TRepaintCounter repaints(control->GetHandle());
  ASSERT_TRUE(repaints.Installed());
  ASSERT_TRUE(PressKey(VK_END) && TypeText(L"ab"));
  EXPECT_TRUE(PumpUntil([&] { return repaints.Count() > 0; })) << "nobody repainted what the editor drew";
  PumpPending();
  const int afterTyping = repaints.Count();
  PumpPending();
  EXPECT_EQ(repaints.Count(), afterTyping) << "a repaint brought on another";
  // Posted only while none waits: a burst of input never floods the queue.
  for (wchar_t c : std::wstring(L"xyz"))
    ::SendMessageW(control->GetHandle(), WM_CHAR, c, 1);
  PumpPending();
  EXPECT_EQ(repaints.Count(), afterTyping + 1);
  ::SendMessageW(control->GetHandle(), EM_SETSEL, 0, 0);
  ::SendMessageW(control->GetHandle(), EM_SETSEL, 0, -1);
  PumpPending();
  EXPECT_EQ(repaints.Count(), afterTyping + 2);
  ASSERT_TRUE(PressKey(VK_RETURN));
  EXPECT_EQ(edit->GetText(), L"startabxyz");
}

TEST_F(TEditorRepaint, AnEditorTheSystemDrawsGetsNoExtraRepaint)
{
  auto* control = ControlOn(Bar1, Edit);
  ASSERT_TRUE(StartEditing(control));
  ASSERT_FALSE(control->IsEditorDrawnByPainter());
  TRepaintCounter repaints(control->GetHandle());
  ASSERT_TRUE(repaints.Installed());
  ASSERT_TRUE(TypeText(L"ab"));
  PumpPending();
  EXPECT_EQ(repaints.Count(), 0);
  ASSERT_TRUE(PressKey(VK_ESCAPE));
}
