// The popup menu shown as a user meets it, with the real pointer and keys: Popup waits for
// the choice in its own loop, which hands on a quit message and the click that closed the
// menu, holds commands until it has closed, survives its form being freed, and keeps each
// popup's options to that popup; without waiting it is a button's drop-down menu; the
// manager's popup-menu links show it on a right click and its items take their shortcuts.
#include "PopupTestUtil.h"

#include <atomic>

#include "bars/bar.h"
#include "bars/itemcontrol.h"
#include "bars/toolbar.h"
#include "platform/GraphicsObjects.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

const DWORD MainThreadId = ::GetCurrentThreadId();

// A window of this thread that counts the presses and commands it gets, and whether they
// came while a popup still waited.
struct TTargetWindow {
  TTargetWindow(int ALeft, int ATop)
  {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TTargetWindow::WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    wc.lpszClassName = L"TPopupTargetWindow";
    ::RegisterClassW(&wc);
    Wnd = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Target", WS_POPUP | WS_VISIBLE, ALeft, ATop, 120, 80,
                            nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    PumpPending();
  }
  ~TTargetWindow() { ::DestroyWindow(Wnd); }
  POINT Center() const
  {
    RECT r;
    ::GetWindowRect(Wnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static LRESULT CALLBACK WndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
  {
    auto* self = reinterpret_cast<TTargetWindow*>(::GetWindowLongPtrW(AWnd, GWLP_USERDATA));
    if (self && AMsg == WM_LBUTTONDOWN) {
      ++self->Presses;
      if (self->Waiting && *self->Waiting)
        ++self->PressesWhileWaiting;
    }
    if (self && AMsg == WM_COMMAND) {
      self->Commands.push_back(int(AWParam));
      if (self->Waiting && *self->Waiting)
        ++self->CommandsWhileWaiting;
    }
    if (AMsg == WM_MOUSEACTIVATE)
      return MA_NOACTIVATE;
    return ::DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
  }

  HWND Wnd = nullptr;
  const bool* Waiting = nullptr;
  int Presses = 0;
  int PressesWhileWaiting = 0;
  std::vector<int> Commands;
  int CommandsWhileWaiting = 0;
};

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
  EXPECT_TRUE(returned);
  EXPECT_EQ(Clicks[1], 1);
  EXPECT_TRUE(clickedBeforeReturn) << "the command ran before Popup returned";
  EXPECT_EQ(Clicks[0] + Clicks[2], 0);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(CloseUps, 1);
  EXPECT_FALSE(Menu->IsShowing());
}

TEST_F(TPopupFixture, AQuitWhileTheMenuWaitsEndsItAndReachesTheOuterLoop)
{
  FillMenu(2);
  ShowForm();
  TLoopProbe probe;
  bool waitedInside = false;
  probe.Post([&] {
    waitedInside = Menu->IsWaiting() && Window() != nullptr;
    ::PostQuitMessage(42);
  });
  Menu->Popup(240, 200);
  EXPECT_TRUE(waitedInside);
  EXPECT_EQ(Menu->GetBarControl(), nullptr) << "Popup returns with its menu closed";
  EXPECT_FALSE(Menu->IsWaiting());
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_QUIT));
  EXPECT_EQ(msg.wParam, WPARAM(42));
  EXPECT_EQ(Clicks[0] + Clicks[1], 0);
}

TEST_F(TPopupFixture, TheClickThatClosedTheMenuReachesItsWindowOnceAfterPopupReturns)
{
  FillMenu(2);
  ShowForm();
  TTargetWindow target(560, 420);
  bool waiting = false;
  target.Waiting = &waiting;
  WhileMenuOpen(
      [&] {
        waiting = true;
        Menu->Popup(200, 180);
        waiting = false;
        EXPECT_EQ(target.Presses, 0) << "not while Popup ran";
      },
      [&] { ScriptClick(target.Center()); });
  PumpUntil([&] { return target.Presses > 0; }, 2000);
  PumpFor(100);
  EXPECT_EQ(target.Presses, 1);
  EXPECT_EQ(target.PressesWhileWaiting, 0);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
  EXPECT_EQ(Clicks[0] + Clicks[1], 0);
}

TEST_F(TPopupFixture, AMenuClosedByAMessageSentFromElsewhereEndsTheWaitWithoutFurtherInput)
{
  FillMenu(1);
  ShowForm();
  PumpFor(100);
  TLoopProbe probe;
  probe.Queue([&] {
    if (TdxBarSubMenuControl* window = Window())
      window->Close();
  });
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
  EXPECT_TRUE(returned);
  EXPECT_FALSE(nudged) << "Popup waited for input after its menu had closed";
  EXPECT_EQ(probe.RunCount(), 1);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
}

TEST_F(TPopupFixture, CommandsPostedWhileTheMenuShowsArriveAfterItClosedInOrder)
{
  FillMenu(1);
  ShowForm();
  TTargetWindow target(560, 420);
  bool waiting = false;
  target.Waiting = &waiting;
  TLoopProbe probe;
  probe.Post([&] {
    ::PostMessageW(target.Wnd, WM_COMMAND, 101, 0);
    ::PostMessageW(target.Wnd, WM_COMMAND, 102, 0);
    probe.Post([&] {
      // Both commands were met before this step: held, not run.
      if (TdxBarSubMenuControl* window = Window())
        window->Close();
    });
  });
  waiting = true;
  Menu->Popup(200, 180);
  waiting = false;
  PumpPending();
  EXPECT_EQ(probe.RunCount(), 2);
  EXPECT_EQ(target.CommandsWhileWaiting, 0);
  EXPECT_EQ(target.Commands, (std::vector<int>{101, 102}));
}

TEST_F(TPopupFixture, WithoutWaitingPopupReturnsAtOnceAndTheNextPopupWaitsAgain)
{
  FillMenu(2);
  ShowForm();
  const TRect exclude{180, 150, 260, 176};
  Menu->PopupWithOptions(180, 176, 0, false, exclude);
  ASSERT_NE(Window(), nullptr) << "open after the call returned";
  EXPECT_TRUE(Menu->IsShowing());
  EXPECT_FALSE(Menu->IsWaiting());
  EXPECT_EQ(Window()->GetOwnerHeight(), RectHeight(exclude));
  Window()->Close();
  PumpPending();
  ASSERT_EQ(Window(), nullptr);

  // The one popup's options are gone: the next one waits and keeps no rectangle.
  TLoopProbe probe;
  bool waited = false;
  int ownerHeight = -1;
  probe.Post([&] {
    waited = Menu->IsWaiting();
    if (TdxBarSubMenuControl* window = Window()) {
      ownerHeight = window->GetOwnerHeight();
      window->Close();
    }
  });
  Menu->Popup(180, 176);
  EXPECT_TRUE(waited);
  EXPECT_EQ(ownerHeight, 0);
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(Popups, 2);
  EXPECT_EQ(CloseUps, 2);
}

TEST_F(TPopupFixture, AnErrorWhileShowingClosesTheMenuAndTheNextPopupIsOrdinary)
{
  FillMenu(1);
  ShowForm();
  bool fail = true;
  Menu->OnPopup = TNotifyEvent([&](TObject*) {
    ++Popups;
    if (fail)
      throw Exception(L"no menu now");
  });
  EXPECT_THROW(Menu->PopupWithOptions(200, 200, 0, false, TRect{150, 150, 250, 200}), Exception);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
  EXPECT_FALSE(Menu->IsShowing());
  fail = false;
  TLoopProbe probe;
  bool waited = false;
  probe.Post([&] {
    waited = Menu->IsWaiting();
    if (TdxBarSubMenuControl* window = Window()) {
      EXPECT_EQ(window->GetOwnerHeight(), 0);
      window->Close();
    }
  });
  Menu->Popup(200, 200);
  EXPECT_TRUE(waited) << "the failed popup's options did not stay";
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
}

TEST_F(TPopupFixture, ContentsChangedInOnPopupAreShown)
{
  Manager->SetStyle(bmsXP);
  FillMenu(2);
  ShowForm();
  TdxBarButton* added = nullptr;
  Menu->OnPopup = TNotifyEvent([&](TObject*) {
    ++Popups;
    added = new TdxBarButton(Host.Form());
    added->SetCaption(L"Added in OnPopup");
    Menu->GetItemLinks()->AddItem(added)->SetBeginGroup(true);
    Menu->GetItemLinks()->Items(0)->SetVisible(false);
  });
  TLoopProbe probe;
  int shown = -1;
  TdxBarItem* last = nullptr;
  TRect lastRect{};
  RECT windowRect{};
  probe.Post([&] {
    TdxBarSubMenuControl* window = Window();
    if (!window)
      return;
    shown = window->GetItemLinks()->ShownItemCount();
    TdxBarItemLink* link = window->GetItemLinks()->ShownItems(shown - 1);
    last = link ? link->GetItem() : nullptr;
    lastRect = link && link->GetControl() ? window->GetItemRect(link->GetControl()) : TRect{};
    ::GetWindowRect(window->GetHandle(), &windowRect);
    PumpFor(100);
    TDib32 shot = CaptureScreen(windowRect);
    SaveShotOnRequest(shot, "popupmenu-open");
    // Text is drawn: the item area holds dark pixels.
    EXPECT_GT(CountPixels(shot, RECT{0, 0, shot.Width(), shot.Height()},
                          [](COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; }),
              20);
    window->Close();
  });
  Menu->Popup(220, 160);
  EXPECT_EQ(shown, 2) << "one hidden, one added";
  EXPECT_EQ(last, added);
  EXPECT_FALSE(IsRectEmpty(lastRect));
  EXPECT_LE(lastRect.bottom, windowRect.bottom - windowRect.top);
}

TEST(PopupMenuLifetime, AFormFreedByAnEntryEndsTheLoopQuietlyAndLeavesNothing)
{
  PumpPending();
  const int gdiBefore = GdiObjectsInUse();
  const int windowsBefore = ThreadWindowCount();
  TWeakRef<TPopupTestForm> formRef;
  {
    auto* form = TCustomForm::CreateNew<TPopupTestForm>(nullptr);
    formRef = form;
    auto* manager = new TdxBarManager(form);
    manager->SetStyle(bmsOffice11);
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    ActivateWindow(form->GetHandle());
    auto* menu = new TdxBarPopupMenu(form);
    auto* close = new TdxBarButton(form);
    close->SetCaption(L"Close the form");
    close->SetOnClick(TNotifyEvent([form](TObject*) { form->Free(); }));
    menu->GetItemLinks()->AddItem(close);
    int closeUps = 0;
    menu->OnCloseUp = TNotifyEvent([&](TObject*) { ++closeUps; });
    // Where the entry will be: opened once without waiting.
    menu->PopupWithOptions(200, 200, 0, false);
    TdxBarItemControl* control = menu->GetItemLinks()->Items(0)->GetControl();
    ASSERT_NE(control, nullptr);
    TRect r = control->GetParent()->GetItemScreenRect(control);
    menu->GetBarControl()->Close();
    PumpPending();
    EXPECT_EQ(closeUps, 1);
    const POINT entry{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    WhileMenuOpen([&] { menu->Popup(200, 200); }, [&] { ScriptClick(entry); });
    // Nothing of the menu is touched from here on.
  }
  EXPECT_FALSE(formRef.Alive());
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
  PumpPending();
  const TPoint at = panel->ClientToScreen(Point(60, 40));
  ASSERT_TRUE(MoveMouseTo(POINT{at.x, at.y}));
  RECT shownAt{};
  bool released = false;
  RunWithHelperThread(
      [&] {
        MouseButtonDown(TInputButton::Right);
        released = MouseButtonUp(TInputButton::Right, 8000);
      },
      [&] {
        if (WaitForMenuWindow())
          shownAt = VisibleMenuWindowRect();
        PauseScript(50);
        SendKeyTransition(VK_ESCAPE, true);
        SendKeyTransition(VK_ESCAPE, false);
      });
  EXPECT_TRUE(released);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(shownAt.left, at.x);
  EXPECT_EQ(shownAt.top, at.y);
  EXPECT_GT(shownAt.bottom - shownAt.top, 0);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
  EXPECT_EQ(Clicks[0] + Clicks[1] + Clicks[2], 0) << "Esc chose nothing";
}

TEST_F(TPopupFixture, TheShortcutOfAPopupMenuItemRunsItFromTheKeyboard)
{
  FillMenu(2);
  Buttons[1]->SetShortCut(TShortCut(0x6053));  // Ctrl+Shift+S
  ShowForm();
  ASSERT_TRUE(PressKey('S', {VK_CONTROL, VK_SHIFT}));
  PumpPending();
  EXPECT_EQ(Clicks[1], 1);
  EXPECT_EQ(Clicks[0], 0);
  ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
  PumpPending();
  EXPECT_EQ(Clicks[1], 1) << "Ctrl+S is another shortcut";

  // A menu linked to the focused control through the manager's links takes its shortcut too,
  // once it has left the manager's own list.
  auto* edit = new TEdit(Host.Form());
  edit->SetParent(Host.Form());
  edit->SetBounds(20, 200, 120, 24);
  auto* linked = new TdxBarPopupMenu(Host.Form());
  auto* paste = new TdxBarButton(Host.Form());
  int pastes = 0;
  paste->SetOnClick(TNotifyEvent([&](TObject*) { ++pastes; }));
  paste->SetShortCut(TShortCut(0x6000 | 'P'));
  linked->GetItemLinks()->AddItem(paste);
  Manager->GetPopupMenuList()->Remove(linked);
  TdxBarPopupMenuLink* link = Manager->GetPopupMenuLinks()->Add();
  link->SetControl(edit);
  link->SetPopupMenu(linked);
  edit->SetFocus();
  PumpPending();
  ASSERT_TRUE(PressKey('P', {VK_CONTROL, VK_SHIFT}));
  PumpPending();
  EXPECT_EQ(pastes, 1);

  // A freed menu takes nothing and breaks nothing.
  Menu->Free();
  Menu = nullptr;
  ASSERT_TRUE(PressKey('S', {VK_CONTROL, VK_SHIFT}));
  PumpPending();
  EXPECT_EQ(Clicks[1], 1);
}

TEST_F(TPopupFixture, AButtonsDropDownPopupMenuOpensBelowItAndCloses)
{
  FillMenu(3);
  TdxBar* bar = Manager->GetBars()->Add();
  bar->SetCaption(L"Tools");
  bar->SetDockingStyle(dsTop);
  auto* button = new TdxBarButton(Host.Form());
  button->SetCaption(L"Menu");
  button->SetPaintStyle(psCaption);
  button->SetButtonStyle(bsDropDown);
  button->SetDropDownMenu(Menu);
  bar->GetItemLinks()->AddItem(button);
  bar->SetVisible(true);
  ShowForm();
  TdxBarControl* toolbar = bar->GetControl();
  ASSERT_NE(toolbar, nullptr);
  auto* control = dynamic_cast<TdxBarButtonControl*>(button->GetLink(0)->GetControl());
  ASSERT_NE(control, nullptr);
  control->CalcParts();
  const TRect arrow = toolbar->ClientToScreen(control->GetPartRects().at(1));
  const TRect face = toolbar->GetItemScreenRect(control);
  ASSERT_TRUE(ClickAt(POINT{(arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2}));
  PumpPending();
  ASSERT_NE(Window(), nullptr) << "open, and the click returned: the drop-down does not wait";
  EXPECT_FALSE(Menu->IsWaiting());
  EXPECT_TRUE(control->IsDroppedDown());
  EXPECT_EQ(Window()->GetParentBarControl(), toolbar);
  RECT shown;
  ::GetWindowRect(Window()->GetHandle(), &shown);
  EXPECT_EQ(shown.left, face.left);
  EXPECT_EQ(shown.top, face.bottom);
  EXPECT_EQ(Popups, 1);

  // An entry runs and closes the menu; the button is up again.
  ASSERT_TRUE(ClickAt(ItemCenter(2)));
  PumpPending();
  EXPECT_EQ(Clicks[2], 1);
  EXPECT_EQ(Window(), nullptr);
  EXPECT_FALSE(control->IsDroppedDown());
  EXPECT_EQ(CloseUps, 1);

  // Opened again, a second press on the arrow closes it.
  ASSERT_TRUE(ClickAt(POINT{(arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2}));
  PumpPending();
  ASSERT_NE(Window(), nullptr);
  ASSERT_TRUE(ClickAt(POINT{(arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2}));
  PumpPending();
  EXPECT_EQ(Window(), nullptr);
  EXPECT_FALSE(control->IsDroppedDown());
  EXPECT_EQ(Clicks[0] + Clicks[1], 0);
}

TEST_F(TPopupFixture, AMenuFreedByItsOwnCloseUpEndsItsWaitQuietly)
{
  FillMenu(2);
  ShowForm();
  const int gdiBefore = GdiObjectsInUse();
  TWeakRef<TdxBarPopupMenu> menuRef(Menu);
  Menu->OnCloseUp = TNotifyEvent([this](TObject*) {
    ++CloseUps;
    Menu->Free();
    Menu = nullptr;
  });
  TdxBarPopupMenu* menu = Menu;
  TLoopProbe probe;
  bool again = true;
  probe.Post([&] {
    // A second Popup of an open menu does nothing and does not wait.
    again = menu->Popup(10, 10);
    EXPECT_TRUE(IsAnyPopupMenuOpen());
    if (TdxBarSubMenuControl* window = dynamic_cast<TdxBarSubMenuControl*>(menu->GetBarControl()))
      window->Close();
  });
  menu->Popup(240, 200);
  EXPECT_FALSE(again);
  EXPECT_EQ(CloseUps, 1);
  EXPECT_FALSE(menuRef.Alive());
  EXPECT_FALSE(IsAnyPopupMenuOpen());
  PumpPending();
  EXPECT_LE(GdiObjectsInUse(), gdiBefore);
}

TEST_F(TPopupFixture, PopupAtCursorOpensWhereThePointerIs)
{
  FillMenu(2);
  ShowForm();
  ASSERT_TRUE(MoveMouseTo(POINT{300, 240}));
  TLoopProbe probe;
  RECT shown{};
  probe.Post([&] {
    if (TdxBarSubMenuControl* window = Window()) {
      ::GetWindowRect(window->GetHandle(), &shown);
      window->Close();
    }
  });
  Menu->PopupFromCursorPos();
  EXPECT_EQ(shown.left, 300);
  EXPECT_EQ(shown.top, 240);
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
}
