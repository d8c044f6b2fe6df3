// The open menu under the real pointer and keys: a press dragged over the entries and
// released on one, and hints that must not cover an entry the keyboard selected.
#include "MenuTestUtil.h"

#include "bars/barwindows/drawparams.h"
#include "bars/hints/hintwindow.h"
#include "bars/keyboard/hooks.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "support/Input.h"
#include "support/Pump.h"
#include "platform/Scope.h"

namespace {

using TMenuPointer = TMenuFixture;

TEST_F(TMenuPointer, PressDragAndReleaseOnAnotherEntryClicksThatEntryOnce)
{
  ShowForm();
  FillMenu(MenuHost, 6);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ItemOf(menu, 1))));
  ASSERT_TRUE(MouseButtonDown());
  PumpPending();
  EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, 1));
  for (int i : {2, 4}) {
    ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ItemOf(menu, i))));
    PumpPending();
    EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, i)) << "the highlight follows the pointer";
  }
  ASSERT_TRUE(MouseButtonUp());
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);

  // Pressed and released on the same entry: one click as well.
  menu = Open();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(ItemOf(menu, 3))));
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 0, 1, 1, 0}));
  EXPECT_EQ(MenuHost->Menu(), nullptr);
}

TEST_F(TMenuPointer, AnEntrySelectedByKeyShowsNoHintOverTheMenu)
{
  ShowForm();
  FillMenu(MenuHost, 5);
  for (int i = 0; i < 5; ++i)
    MenuHost->Links()->Items(i)->GetItem()->SetHint(L"Does thing " + IntToStr(i));
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  // The pointer rests on an entry until its hint shows.
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ItemOf(menu, 1))));
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 5000));
  // A real key: the open menu takes it through the thread's keyboard hook.
  ASSERT_TRUE(StrokeKey(VK_DOWN));
  ASSERT_EQ(menu->GetSelectedControl(), ItemOf(menu, 2));
  // Long enough for a hint that would show at once after the one just hidden.
  PumpFor(300);
  EXPECT_FALSE(dxBarIsHintShowing()) << "a hint at the mouse would cover the entries";
  EXPECT_FALSE(dxBarIsHintPending());

  // The pointer moved onto an entry shows its hint again.
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ItemOf(menu, 4))));
  EXPECT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 5000));
  MoveAway();
}

// A window the toolbar hosts over one of its buttons (as a control-container item hosts a
// form's control): while a menu of another button is open, a press on it is the toolbar's
// press on that button, and its release clicks the button.
TEST_F(TMenuPointer, APressOnAWindowTheToolbarHostsIsTheToolbarsPressOnItsItem)
{
  auto* plain = new TdxBarButton(Host.Form());
  plain->SetCaption(L"Plain");
  plain->SetPaintStyle(psCaption);
  int plainClicks = 0;
  plain->SetOnClick(TNotifyEvent([&](TObject*) { ++plainClicks; }));
  Bar->GetItemLinks()->AddItem(plain);
  ShowForm();
  FillMenu(MenuHost, 3);
  TCustomdxBarControl* toolbar = Bar->GetControl();
  const TRect item = ControlOf<TdxBarButtonControl>(plain)->GetItemRect();
  HWND hosted = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, item.left + 2, item.top + 2,
                                item.right - item.left - 4, item.bottom - item.top - 4, toolbar->GetHandle(), nullptr,
                                nullptr, nullptr);
  ASSERT_NE(hosted, nullptr);
  TFinally destroy([&] { DestroyWindow(hosted); });
  ASSERT_NE(Open(), nullptr);
  RECT r{};
  GetWindowRect(hosted, &r);
  ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  PumpPending();
  EXPECT_EQ(plainClicks, 1);
  EXPECT_EQ(MenuHost->Menu(), nullptr) << "the command closed the open menu";
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 0}));
}

// What a part does while the tear-off drag runs: it fills its hook services then.
bool GDragSeenRunning = false;
int GPartShortCuts = 0;
UINT_PTR GPartTimer = 0;
void CALLBACK InstallPartDuringDrag(HWND, UINT, UINT_PTR, DWORD)
{
  // The drag's loop holds the capture; before it there is nothing to do yet.
  if (!GetCapture() || !GPartTimer)
    return;
  KillTimer(nullptr, GPartTimer);
  GPartTimer = 0;
  GDragSeenRunning = dxBarIsDragRunning();
  TdxBarHookServices services = dxBarHookServices();
  services.PopupMenusShortCut = [](TdxBarManager*, uint16_t) { return ++GPartShortCuts > 0; };
  SetdxBarHookServices(services);
}

TEST_F(TMenuPointer, ServicesInstalledDuringATearOffStayAfterIt)
{
  ShowForm();
  FillMenu(MenuHost, 3);
  TdxBar* floating = Manager->GetBars()->Add();
  floating->SetCaption(L"Torn");
  floating->GetItemLinks()->AddItem(MenuHost->Links()->Items(0)->GetItem());
  floating->SetVisible(false);
  MenuHost->DetachingBar = floating;
  const TdxBarHookServices before = dxBarHookServices();
  TFinally restore([&] { SetdxBarHookServices(before); });
  GDragSeenRunning = false;
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  const TRect strip = menu->ClientToScreen(menu->GetDetachStripRect());
  const POINT start{(strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2};
  ASSERT_TRUE(MoveMouseTo(start));
  PumpPending();
  ASSERT_TRUE(menu->IsOverDetachStrip());
  GPartTimer = SetTimer(nullptr, 0, 10, &InstallPartDuringDrag);
  TFinally stopTimer([] {
    if (GPartTimer)
      KillTimer(nullptr, std::exchange(GPartTimer, 0));
  });
  const bool done = RunScript(
      [&] {
        SendMouseButton(true);
        PauseScript(200);
        SendKeyStroke(VK_ESCAPE);
        PauseScript(50);
        SendMouseButton(false);
      },
      [] { return GetCapture() == nullptr; }, 100, 5000);
  EXPECT_TRUE(done);
  PumpPending();
  EXPECT_TRUE(GDragSeenRunning) << "the hooks knew of the drag";
  EXPECT_FALSE(dxBarIsDragRunning());
  ASSERT_TRUE(dxBarHookServices().PopupMenusShortCut) << "what the part installed meanwhile is kept";
  if (MenuHost->Menu())
    MenuHost->Menu()->Close();
  PumpPending();
  MoveAway();
}

TEST_F(TMenuPointer, AButtonThePointerOpensInMenuModeOpensUnselectedAndIsDrawnPlainOnceItsCommandRan)
{
  FillMenu(MenuHost, 3);
  FillMenu(OtherHost, 3);
  ShowForm();
  TdxBarButtonControl* button = ControlOf<TdxBarButtonControl>(MenuButton);
  auto* bar = static_cast<TCustomdxBarControl*>(Bar->GetControl());
  ASSERT_TRUE(ClickAt(ArrowCentreOf(OtherButton)));
  ASSERT_TRUE(PumpUntil([&] { return OtherHost->Menu() != nullptr; }));
  Key(OtherHost->Menu(), VK_ESCAPE);
  ASSERT_EQ(OtherHost->Menu(), nullptr);
  ASSERT_EQ(ActiveBarControl(), bar) << "the toolbar is still in menu mode";
  // Over the other drop-down without a click: its menu opens as the mouse opens menus.
  ASSERT_TRUE(MoveMouseTo(ArrowCentreOf(MenuButton)));
  ASSERT_TRUE(PumpUntil([&] { return MenuHost->Menu() != nullptr; }));
  TdxBarSubMenuControl* menu = MenuHost->Menu();
  EXPECT_EQ(menu->GetSelectedControl(), nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(ItemOf(menu, 0))));
  PumpPending();
  EXPECT_EQ(Clicks[0], 1);
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  MoveAway();
  RedrawWindow(bar->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpPending();
  auto* params = button->GetButtonDrawParams();
  ASSERT_NE(params, nullptr);
  EXPECT_FALSE(params->States.Selected) << "the button is painted as one no longer in use";
}

TEST_F(TMenuPointer, MovingOntoAnotherDropDownSwitchesMenusSoThatOneStaysOpen)
{
  FillMenu(MenuHost, 3);
  FillMenu(OtherHost, 3);
  ShowForm();
  ASSERT_TRUE(ClickAt(ArrowCentreOf(OtherButton)));
  ASSERT_TRUE(PumpUntil([&] { return OtherHost->Menu() != nullptr; }));
  ASSERT_TRUE(MoveMouseTo(ArrowCentreOf(MenuButton)));
  ASSERT_TRUE(PumpUntil([&] { return MenuHost->Menu() != nullptr; }));
  EXPECT_EQ(OtherHost->Menu(), nullptr) << "the first menu closes as the second opens";
  EXPECT_FALSE(ControlOf<TdxBarButtonControl>(OtherButton)->IsDroppedDown());
  EXPECT_TRUE(ControlOf<TdxBarButtonControl>(MenuButton)->IsDroppedDown());
  Key(MenuHost->Menu(), VK_ESCAPE);
  PumpPending();
  MoveAway();
}

}  // namespace

namespace {

// A control of the form under the menu that counts the presses it gets.
class TPressCounter : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  int Presses = 0;

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == WM_LBUTTONDOWN)
      ++Presses;
    TCustomControl::WndProc(Message);
  }
};

// A press counter on the form, beside where the menu opens.
TPressCounter* AddPressCounter(TBarHost<TMenuTestForm>& AHost)
{
  auto* target = new TPressCounter(AHost.Form());
  target->SetParent(AHost.Form());
  target->SetBounds(300, 150, 120, 80);
  PumpPending();
  return target;
}

// A press beside the open menu closes it and still reaches the window it was meant for, whose
// window stays; a press on the form's title bar closes the menus as well.
TEST_F(TMenuPointer, APressOutsideClosesTheMenusAndReachesItsWindowAndTheTitleBarClosesThemToo)
{
  ShowForm();
  FillMenu(MenuHost, 4);
  TPressCounter* target = AddPressCounter(Host);
  ASSERT_NE(Open(), nullptr);
  const TPoint at = target->ClientToScreen(Point(60, 40));
  ASSERT_TRUE(ClickAt(POINT{at.x, at.y}));
  PumpPending();
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_EQ(target->Presses, 1);
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 0, 0}));

  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  ASSERT_NE(Open(), nullptr);
  RECT form{};
  GetWindowRect(Host.Form()->GetHandle(), &form);
  const POINT title{(form.left + form.right) / 2,
                    form.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  ASSERT_EQ(SendMessageW(Host.Form()->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(title.x, title.y)), HTCAPTION);
  // The press on the caption starts the system's move loop, which waits for the release: the
  // press and release come from a helper thread.
  const bool done = RunScript(
      [&] {
        SendMouseMove(title);
        PauseScript(50);
        SendMouseButton(true);
        PauseScript(100);
        SendMouseButton(false);
      },
      [&] { return MenuHost->Menu() == nullptr; });
  EXPECT_TRUE(done);
  PumpPending();
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_EQ(target->Presses, 1);
  MoveAway();
}

// A window that the closing menu hides (a program's own pane shown only with its menu) does
// not get the press that closed the menu: it would land on whatever is now under the pointer.
TEST_F(TMenuPointer, APressOnAWindowTheClosingMenuHidesIsEaten)
{
  ShowForm();
  FillMenu(MenuHost, 4);
  TPressCounter* target = AddPressCounter(Host);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  menu->OnCloseUp = TNotifyEvent([&](TObject*) { target->SetVisible(false); });
  const TPoint at = target->ClientToScreen(Point(60, 40));
  ASSERT_TRUE(ClickAt(POINT{at.x, at.y}));
  PumpPending();
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  EXPECT_FALSE(target->GetVisible());
  EXPECT_EQ(target->Presses, 0);
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 0, 0}));
  MoveAway();
}

}  // namespace
