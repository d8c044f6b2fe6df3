// The popup menu shown as a user meets it, with the real pointer and keys: Popup waits for
// the choice in its own loop, which hands on a quit message and the click that closed the
// menu, holds commands until it has closed, survives its form being freed, and keeps each
// popup's options to that popup; without waiting it is a button's drop-down menu; the
// manager's popup-menu links show it on a right click and its items take their shortcuts.
#include "PopupTestUtil.h"

#include <atomic>

#include "bars/model/bar.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "platform/GraphicsObjects.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

const DWORD MainThreadId = ::GetCurrentThreadId();

// A window of this thread that records the presses and commands it gets while the flag it
// watches is set and after.
struct TTargetWindow {
  explicit TTargetWindow(const bool& AWaiting) : Waiting(AWaiting)
  {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TTargetWindow::WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TPopupTargetWindow";
    ::RegisterClassW(&wc);
    Wnd = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 560, 420, 120, 80, nullptr,
                            nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TTargetWindow() { ::DestroyWindow(Wnd); }
  static LRESULT CALLBACK WndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
  {
    auto* self = reinterpret_cast<TTargetWindow*>(::GetWindowLongPtrW(AWnd, GWLP_USERDATA));
    if (self && (AMsg == WM_LBUTTONDOWN || AMsg == WM_COMMAND))
      self->Got.push_back({AMsg, int(AWParam), self->Waiting});
    return AMsg == WM_MOUSEACTIVATE ? MA_NOACTIVATE : ::DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
  }
  struct TGot {
    UINT Msg;
    int WParam;
    bool WhileWaiting;
    bool operator==(const TGot&) const = default;
  };
  HWND Wnd = nullptr;
  const bool& Waiting;
  std::vector<TGot> Got;
};

// A real right click at a point whose release (and so the menu it opens) runs here while a
// helper thread plays AScript; true when the release came back.
bool RightClickWhile(TPoint AScreenPos, const std::function<void()>& AScript)
{
  if (!MoveMouseTo(POINT{AScreenPos.x, AScreenPos.y}))
    return false;
  bool released = false;
  RunWithHelperThread(
      [&] {
        MouseButtonDown(TInputButton::Right);
        released = MouseButtonUp(TInputButton::Right, 8000);
      },
      AScript);
  return released;
}

}  // namespace

TEST_F(TPopupFixture, PopupReturnsOnlyAfterAClickOnAnEntryRanItOnce)
{
  FillMenu(3);
  ShowForm();
  const POINT at{260, 220};
  std::vector<POINT> items = ItemCentersAt(at);
  ASSERT_EQ(items.size(), 3u);
  bool returned = false;
  bool clickedBeforeReturn = false;
  Buttons[1]->SetOnClick(TNotifyEvent([&](TObject*) {
    ++Clicks[1];
    clickedBeforeReturn = !returned;
  }));
  WhileMenuOpen(
      [&] {
        EXPECT_TRUE(Menu->Popup(at.x, at.y));
        returned = true;
      },
      [&] { ScriptClick(items[1]); });
  EXPECT_EQ(Clicks, (std::vector<int>{0, 1, 0}));
  EXPECT_TRUE(clickedBeforeReturn) << "the command ran before Popup returned";
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(CloseUps, 1);
  EXPECT_FALSE(Menu->IsShowing());
}

TEST_F(TPopupFixture, AQuitWhileTheMenuWaitsAtTheCursorEndsItAndReachesTheOuterLoop)
{
  FillMenu(2);
  ShowForm();
  ASSERT_TRUE(MoveMouseTo(POINT{300, 240}));
  TLoopProbe probe;
  RECT shown{};
  bool waitedInside = false;
  probe.Post([&] {
    waitedInside = Menu->IsWaiting();
    EXPECT_FALSE(Menu->Popup(10, 10)) << "an open menu does not open again";
    EXPECT_TRUE(IsAnyPopupMenuOpen());
    ::GetWindowRect(Window()->GetHandle(), &shown);
    ::PostQuitMessage(42);
  });
  Menu->PopupFromCursorPos();
  EXPECT_TRUE(waitedInside);
  EXPECT_EQ(shown.left, 300);
  EXPECT_EQ(shown.top, 240);
  EXPECT_EQ(Menu->GetBarControl(), nullptr) << "Popup returns with its menu closed";
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, WPARAM(42));
}

// Commands met while the menu shows are held, the click on another window that closes it is
// handed back: both reach the window once, in order, after Popup returned.
TEST_F(TPopupFixture, TheClosingClickAndHeldCommandsReachTheirWindowAfterPopupReturns)
{
  FillMenu(2);
  ShowForm();
  bool waiting = false;
  TTargetWindow target(waiting);
  RECT r;
  ::GetWindowRect(target.Wnd, &r);
  TLoopProbe probe;
  probe.Post([&] {
    ::PostMessageW(target.Wnd, WM_COMMAND, 101, 0);
    ::PostMessageW(target.Wnd, WM_COMMAND, 102, 0);
  });
  WhileMenuOpen(
      [&] {
        waiting = true;
        Menu->Popup(200, 180);
        waiting = false;
      },
      [&] {
        ScriptClick(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      });
  PumpUntil([&] { return target.Got.size() >= 3; }, 2000);
  PumpFor(100);
  using G = TTargetWindow::TGot;
  EXPECT_EQ(target.Got,
            (std::vector<G>{{WM_LBUTTONDOWN, MK_LBUTTON, false}, {WM_COMMAND, 101, false}, {WM_COMMAND, 102, false}}));
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0}));
}

TEST_F(TPopupFixture, AMenuClosedByAMessageSentFromElsewhereEndsTheWaitWithoutFurtherInput)
{
  FillMenu(1);
  ShowForm();
  PumpFor(100);
  TLoopProbe probe;
  probe.Queue([&] { Window()->Close(); });
  std::atomic<bool> returned{false};
  bool nudged = false;
  RunWithHelperThread(
      [&] {
        Menu->Popup(200, 180);
        returned = true;
      },
      [&] {
        if (!WaitForMenuWindow())
          return;
        // Handled inside the loop's GetMessage: no message of the loop's own follows.
        probe.SendQueued();
        for (int i = 0; i < 300 && !returned; ++i)
          PauseScript(10);
        if (!returned) {
          nudged = true;
          ::PostThreadMessageW(MainThreadId, WM_NULL, 0, 0);
        }
      });
  EXPECT_FALSE(nudged) << "Popup waited for input after its menu had closed";
  EXPECT_EQ(probe.RunCount(), 1);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
}

// Each popup's options end with it, also when showing fails (which closes the window again).
TEST_F(TPopupFixture, WithoutWaitingPopupReturnsAtOnceAndTheNextPopupWaitsAgain)
{
  FillMenu(2);
  ShowForm();
  const TRect exclude{180, 150, 260, 176};
  Menu->PopupWithOptions(180, 176, dxBarPopupPrefersLeft | dxBarPopupPrefersUp, false, exclude, false);
  ASSERT_NE(Window(), nullptr) << "open after the call returned";
  EXPECT_FALSE(Menu->IsWaiting());
  EXPECT_EQ(Window()->GetOwnerHeight(), RectHeight(exclude));
  EXPECT_FALSE(Window()->GetPrefersRight());
  EXPECT_FALSE(Window()->GetPrefersDown());
  EXPECT_FALSE(Window()->GetAnimate());
  Window()->Close();
  Menu->PopupWithOptions(180, 176, 0, false, std::nullopt, true, 30, 0);
  EXPECT_EQ(Window()->GetOwnerWidth(), 30) << "beside what it opened from";
  Window()->Close();
  bool fail = true;
  Menu->OnPopup = TNotifyEvent([&](TObject*) {
    if (fail)
      throw Exception(L"no menu now");
  });
  EXPECT_THROW(Menu->PopupWithOptions(180, 176, 0, false, exclude), Exception);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
  EXPECT_FALSE(Menu->IsShowing());
  fail = false;
  TLoopProbe probe;
  bool waited = false;
  int ownerHeight = -1;
  bool prefersRight = false;
  probe.Post([&] {
    waited = Menu->IsWaiting();
    ownerHeight = Window()->GetOwnerHeight();
    prefersRight = Window()->GetPrefersRight();
    Window()->Close();
  });
  Menu->Popup(180, 176);
  EXPECT_TRUE(waited);
  EXPECT_EQ(ownerHeight, 0) << "no rectangle kept from an earlier popup";
  EXPECT_TRUE(prefersRight);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
}

TEST_F(TPopupFixture, ContentsChangedInOnPopupAreShown)
{
  Manager->SetStyle(bmsXP);
  FillMenu(2);
  ShowForm();
  TdxBarButton* added = nullptr;
  Menu->OnPopup = TNotifyEvent([&](TObject*) {
    added = new TdxBarButton(Host.Form());
    added->SetCaption(L"Added in OnPopup");
    Menu->GetItemLinks()->AddItem(added);
    Menu->GetItemLinks()->Items(0)->SetVisible(false);
  });
  TLoopProbe probe;
  probe.Post([&] {
    ASSERT_EQ(Window()->GetItemLinks()->ShownItemCount(), 2) << "one hidden, one added";
    EXPECT_EQ(ItemControl(1)->GetItemLink()->GetItem(), added);
    const TRect item = Window()->GetItemRect(ItemControl(1));
    EXPECT_FALSE(IsRectEmpty(item));
    EXPECT_LE(item.bottom, Window()->GetClientRect().bottom);
    PumpFor(100);
    TDib32 shot = CaptureScreen(Window()->GetBoundsRect());
    SaveShotOnRequest(shot, "popupmenu-open");
    EXPECT_GT(CountPixels(shot, RECT{0, 0, shot.Width(), shot.Height()},
                          [](COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; }),
              20)
        << "captions are drawn";
    Window()->Close();
  });
  Menu->Popup(220, 160);
  EXPECT_EQ(probe.RunCount(), 1);
}

TEST(PopupMenuLifetime, AFormFreedByAnEntryOrAMenuByItsCloseUpEndTheWaitQuietly)
{
  PumpPending();
  const int gdiBefore = GdiObjectsInUse();
  const int windowsBefore = ThreadWindowCount();
  for (bool freeForm : {true, false}) {
    SCOPED_TRACE(freeForm ? "form freed by an entry" : "menu freed by its close-up");
    auto* form = TCustomForm::CreateNew<TPopupTestForm>(nullptr);
    TWeakRef<TPopupTestForm> formRef(form);
    auto* manager = new TdxBarManager(form);
    manager->SetStyle(bmsOffice11);
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    ActivateWindow(form->GetHandle());
    auto* menu = new TdxBarPopupMenu(form);
    TWeakRef<TdxBarPopupMenu> menuRef(menu);
    auto* entry = new TdxBarButton(form);
    entry->SetCaption(L"Close");
    if (freeForm)
      entry->SetOnClick(TNotifyEvent([form](TObject*) { form->Free(); }));
    else
      menu->OnCloseUp = TNotifyEvent([menu](TObject*) { menu->Free(); });
    menu->GetItemLinks()->AddItem(entry);
    WhileMenuOpen([&] { menu->Popup(200, 200); },
                  [] {
                    const RECT r = VisibleMenuWindowRect();  // one entry: the menu's middle
                    ScriptClick(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
                  });
    // Nothing of the menu is touched from here on.
    EXPECT_EQ(formRef.Alive(), !freeForm);
    EXPECT_FALSE(menuRef.Alive());
    if (TPopupTestForm* left = formRef.Get())
      left->Free();
  }
  PumpPending();
  EXPECT_EQ(ThreadWindowCount(), windowsBefore);
  EXPECT_EQ(GdiObjectsInUse(), gdiBefore);
  EXPECT_FALSE(IsAnyPopupMenuOpen());
}

TEST_F(TPopupFixture, ARightClickOnALinkedControlShowsTheMenuAtThePointer)
{
  FillMenu(3);
  ShowForm();
  auto* panel = new TPopupPanel(Host.Form());
  panel->SetParent(Host.Form());
  TdxBarPopupMenuLink* link = Manager->GetPopupMenuLinks()->Add();
  link->SetControl(panel);
  link->SetPopupMenu(Menu);
  const TPoint at = panel->ClientToScreen(Point(60, 40));
  RECT shownAt{};
  const bool released = RightClickWhile(at, [&] {
    if (WaitForMenuWindow())
      shownAt = VisibleMenuWindowRect();
    SendKeyStroke(VK_ESCAPE);
  });
  EXPECT_TRUE(released);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(shownAt.left, at.x);
  EXPECT_EQ(shownAt.top, at.y);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 0})) << "Esc chose nothing";
}

// A second context menu for the control while its menu waits (sent, or the real Menu key on
// the focused control) finds the menu open and opens no other; the control keeps its own
// handler, which still comes first.
TEST_F(TPopupFixture, AContextMenuAskedForAgainWhileTheLinkedMenuWaitsOpensNoSecond)
{
  FillMenu(3);
  ShowForm();
  auto* panel = new TPopupPanel(Host.Form());
  panel->SetParent(Host.Form());
  int ownCalls = 0;
  const TContextPopupEvent own([&](TObject*, TPoint, bool&) { ++ownCalls; });
  panel->OnContextPopup = own;
  TdxBarPopupMenuLink* link = Manager->GetPopupMenuLinks()->Add();
  link->SetControl(panel);
  link->SetPopupMenu(Menu);
  panel->SetFocus();
  PumpPending();
  TLoopProbe probe;
  std::atomic<int> mostMenus{0};
  auto countMenus = [&] { mostMenus = std::max(mostMenus.load(), VisibleMenuWindowCount()); };
  const bool released = RightClickWhile(panel->ClientToScreen(Point(60, 40)), [&] {
    if (!WaitForMenuWindow())
      return;
    countMenus();
    probe.Queue([&] { ::SendMessageW(panel->GetHandle(), WM_CONTEXTMENU, WPARAM(panel->GetHandle()), -1); });
    probe.SendQueued();
    countMenus();
    SendKeyStroke(VK_APPS);
    PauseScript(300);
    countMenus();
    SendKeyStroke(VK_ESCAPE);
  });
  PumpPending();
  EXPECT_TRUE(released) << "the thread went on";
  EXPECT_EQ(probe.RunCount(), 1);
  EXPECT_EQ(mostMenus.load(), 1);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(ownCalls, 3) << "the click, the message and the Menu key each reached the control's handler first";
  EXPECT_TRUE(panel->OnContextPopup == own);
  // The link still works the next time.
  const int callsBefore = ownCalls;
  WhileMenuOpen([&] { ::SendMessageW(panel->GetHandle(), WM_CONTEXTMENU, WPARAM(panel->GetHandle()), -1); },
                [] { SendKeyStroke(VK_ESCAPE); });
  EXPECT_EQ(Popups, 2);
  EXPECT_EQ(ownCalls, callsBefore + 1);
  EXPECT_TRUE(panel->OnContextPopup == own);
}

TEST_F(TPopupFixture, TheShortcutOfAPopupMenuItemRunsItFromTheKeyboard)
{
  FillMenu(2);
  Buttons[1]->SetShortCut(TShortCut(0x6053));  // Ctrl+Shift+S
  Buttons[0]->SetShortCut(TShortCut(0x8000 | 'S'));
  ShowForm();
  ASSERT_TRUE(PressKey('S', {VK_CONTROL, VK_SHIFT}));
  ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 1})) << "Ctrl+S is another shortcut";
  // The Alt bit of a key message's data.
  EXPECT_TRUE(Menu->IsShortCut('S', intptr_t(1) << 29));
  EXPECT_FALSE(Menu->IsShortCut(0, intptr_t(1) << 29));
  EXPECT_EQ(Clicks, (std::vector<int>{1, 1}));

  // A menu that only the focused control's popup-menu link names takes its shortcut too.
  auto* edit = new TEdit(Host.Form());
  edit->SetParent(Host.Form());
  auto* linked = new TdxBarPopupMenu(Host.Form());
  Manager->GetPopupMenuList()->Remove(linked);
  linked->GetItemLinks()->AddItem(Buttons[0]);
  Buttons[0]->SetShortCut(TShortCut(0x6000 | 'P'));
  TdxBarPopupMenuLink* link = Manager->GetPopupMenuLinks()->Add();
  link->SetControl(edit);
  link->SetPopupMenu(linked);
  Menu->Free();
  Menu = nullptr;
  edit->SetFocus();
  ASSERT_TRUE(PressKey('P', {VK_CONTROL, VK_SHIFT}));
  ASSERT_TRUE(PressKey('S', {VK_CONTROL, VK_SHIFT}));
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{2, 1})) << "the freed menu took nothing";
}

TEST_F(TPopupFixture, AButtonsDropDownPopupMenuOpensBelowItAndCloses)
{
  FillMenu(3);
  TdxBarButton* button = nullptr;
  TdxBar* bar = AddDropDownBar(button);
  ShowForm();
  TdxBarControl* toolbar = bar->GetControl();
  auto* control = dynamic_cast<TdxBarButtonControl*>(button->GetLink(0)->GetControl());
  ASSERT_NE(control, nullptr);
  const POINT arrowCenter = ArrowCentreOf(button);
  const TRect face = toolbar->GetItemScreenRect(control);
  ASSERT_TRUE(ClickAt(arrowCenter));
  PumpPending();
  ASSERT_NE(Window(), nullptr) << "open, and the click returned: the drop-down does not wait";
  EXPECT_TRUE(control->IsDroppedDown());
  EXPECT_EQ(Window()->GetParentBarControl(), toolbar);
  RECT shown;
  ::GetWindowRect(Window()->GetHandle(), &shown);
  EXPECT_EQ(shown.left, face.left);
  EXPECT_EQ(shown.top, face.bottom);
  // An entry runs and closes the menu; the button is up again.
  ASSERT_TRUE(ClickAt(ItemCenter(2)));
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(Window(), nullptr);
  EXPECT_FALSE(control->IsDroppedDown());
  // Opened again, a second press on the arrow closes it.
  ASSERT_TRUE(ClickAt(arrowCenter));
  PumpPending();
  ASSERT_NE(Window(), nullptr);
  ASSERT_TRUE(ClickAt(arrowCenter));
  PumpPending();
  EXPECT_EQ(Window(), nullptr);
  EXPECT_FALSE(control->IsDroppedDown());
  EXPECT_EQ(Popups, 2);
  EXPECT_EQ(CloseUps, 2);
}

namespace {

// Opened at a point, the menu takes the right button as the left one: a right click runs an
// entry. Opened from a toolbar's button, the right button runs nothing.
TEST_F(TPopupFixture, TheRightButtonRunsAnEntryOnlyOfAMenuOpenedAtAPoint)
{
  FillMenu(3);
  TdxBarButton* button = nullptr;
  AddDropDownBar(button);
  ShowForm();
  Menu->PopupWithOptions(260, 220, 0, false);
  ASSERT_NE(Window(), nullptr);
  ASSERT_TRUE(ClickAt(ItemCenter(1), TInputButton::Right));
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(Window(), nullptr);

  ASSERT_NE(button->GetLink(0)->GetControl(), nullptr);
  ASSERT_TRUE(ClickAt(ArrowCentreOf(button)));
  PumpPending();
  ASSERT_NE(Window(), nullptr);
  ASSERT_TRUE(ClickAt(ItemCenter(2), TInputButton::Right));
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 1, 0}));
  if (TdxBarSubMenuControl* open = Window())
    open->Close();
  PumpPending();
}

// The entry under the pointer tells the application what it does (its long hint), so that a
// status line fed by Application->OnHint follows the menu; a disabled entry tells nothing and
// a toolbar's buttons leave the application's hint alone.
TEST_F(TPopupFixture, TheEntryUnderThePointerGivesTheApplicationItsLongHint)
{
  FillMenu(3);
  Buttons[0]->SetHint(L"Open|Opens a document");
  Buttons[1]->SetHint(L"Save");
  Buttons[2]->SetHint(L"Print|Prints the document");
  Buttons[2]->SetEnabled(false);
  Manager->SetShowHintForDisabledItems(false);
  TdxBarButton* button = nullptr;
  AddDropDownBar(button);
  button->SetHint(L"Menu|Opens the menu");
  ShowForm();
  std::vector<String> hints;
  Application->OnHint = TNotifyEvent([&](TObject*) { hints.push_back(Application->GetHint()); });
  Application->SetHint(L"");
  hints.clear();

  ASSERT_TRUE(MoveMouseTo(ArrowCentreOf(button)));
  PumpPending();
  EXPECT_EQ(hints, std::vector<String>{}) << "a toolbar's button";

  Menu->PopupWithOptions(260, 220, 0, false);
  ASSERT_NE(Window(), nullptr);
  const std::vector<String> expected{L"Opens a document", L"Save", L""};
  for (int i : {0, 1, 2}) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(MoveMouseTo(ItemCenter(i)));
    PumpUntil([&] { return Window() && Window()->GetSelectedControl() == ItemControl(i); });
    EXPECT_EQ(Application->GetHint(), expected[i]);
    ASSERT_FALSE(hints.empty()) << "OnHint fired";
    EXPECT_EQ(hints.back(), expected[i]);
  }
  ASSERT_TRUE(MoveMouseTo(ItemCenter(0)));
  PumpUntil([&] { return Application->GetHint() == L"Opens a document"; });
  ASSERT_NE(Window(), nullptr);
  Window()->Close();
  PumpPending();
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(Application->GetHint(), L"") << "a closed menu leaves no hint behind";
  Application->OnHint = TNotifyEvent();
}

}  // namespace
