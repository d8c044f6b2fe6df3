// Dragging a bar with real input: the drag's own loop runs on this thread while a helper
// thread moves the real cursor and presses keys, as a user would.
#include "BarTestUtil.h"
#include "platform/Scope.h"

#include <algorithm>
#include <atomic>
#include <functional>

#include "barextras/largebutton.h"
#include "barextras/statics.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

// Moves in a few steps so the drag sees several mouse moves.
void Glide(POINT From, POINT To)
{
  for (int i = 1; i <= 4; ++i) {
    SendMouseMove(POINT{From.x + (To.x - From.x) * i / 4, From.y + (To.y - From.y) * i / 4});
    PauseScript(30);
  }
}

// Runs Script on a helper thread while this thread drags the bar window.
void DragWith(TdxBars* ABars, TdxBarControl* AControl, const std::function<void()>& Script)
{
  RunWithHelperThread([&] { ABars->DragBar(AControl); }, Script);
}

class TBarDrag : public TBarFixture {
protected:
  void SetUp() override
  {
    Host.Form()->SetBounds(100, 100, 520, 360);
    Host.Form()->Show();
    ActivateWindow(Host.Form()->GetHandle());
    Bar = Bars()->Add();
    Bar->SetCaption(L"Dragged");
    Bar->SetFloatLeft(260);
    Bar->SetFloatTop(300);
    Bar->SetVisible(true);
    ASSERT_NE(Bar->GetControl(), nullptr);
    PumpPending();
    Start = CentreOf(WindowRectOf(Bar->GetControl()->GetHandle()));
    MoveMouseTo(Start);
  }
  void TearDown() override
  {
    // Nothing of a failed drag may stay pressed for the next test.
    SendKeyTransition(VK_CONTROL, false);
    SendMouseButton(false);
    PumpPending();
  }
  // A point inside the top dock site's docking zone, in screen coordinates.
  POINT TopZonePoint() const { return CentreOf(Bars()->GetDockControl(dsTop)->GetDockZoneRect()); }

  void PlaceCoveredDock(bool ACovered);

  TdxBar* Bar = nullptr;
  TdxBarDockControl* PlacedDock = nullptr;
  POINT Start{};
};

}  // namespace

TEST_F(TBarDrag, DroppingOverTheTopSiteDocksTheBarAfterTheWait)
{
  Manager->SetWaitForDockingTime(300);
  POINT target = TopZonePoint();
  std::atomic<DWORD> arrived{0};
  DWORD docked = 0;
  Manager->OnBarDockingStyleChange = TdxBarEvent([&docked](TObject*, TdxBar*) { docked = GetTickCount(); });
  DragWith(Bars(), Bar->GetControl(), [&] {
    SendMouseButton(true);
    Glide(Start, target);
    arrived = GetTickCount();
    PauseScript(700);
    SendMouseButton(false);
  });
  EXPECT_FALSE(Bars()->IsDragging());
  EXPECT_EQ(Bar->GetDockingStyle(), dsTop);
  ASSERT_NE(Bar->GetControl(), nullptr);
  EXPECT_EQ(Bar->GetControl()->GetDockControl(), Bars()->GetDockControl(dsTop));
  // Docking waited for the timer after the cursor reached the site.
  ASSERT_NE(docked, 0u);
  EXPECT_GE(docked - arrived.load(), 200u);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TBarDrag, CtrlKeepsTheBarFloating)
{
  Manager->SetWaitForDockingTime(21);
  POINT target = TopZonePoint();
  // The virtual display resyncs modifier keys with its own keyboard, so the key state is
  // kept here; the key messages themselves are real and make the drag look again.
  static std::atomic<bool> ctrl{false};
  TRestore<bool (*)()> saved(dxBarIsControlKeyDown, [] { return ctrl.load(); });
  int docked = 0;
  Manager->OnBarDockingStyleChange = TdxBarEvent([&docked](TObject*, TdxBar*) { ++docked; });
  DragWith(Bars(), Bar->GetControl(), [&] {
    SendMouseButton(true);
    ctrl = true;
    SendKeyTransition(VK_CONTROL, true);
    Glide(Start, target);
    PauseScript(300);
    // Releasing Ctrl over the site re-evaluates at once: the bar then docks after the wait.
    ctrl = false;
    SendKeyTransition(VK_CONTROL, false);
    PauseScript(300);
    ctrl = true;
    SendKeyTransition(VK_CONTROL, true);
    PauseScript(200);
    SendMouseButton(false);
    ctrl = false;
    SendKeyTransition(VK_CONTROL, false);
  });
  // Docked once Ctrl was let go, floated again once it was held.
  EXPECT_EQ(docked, 2);
  EXPECT_EQ(Bar->GetDockingStyle(), dsNone);
  ASSERT_NE(Bar->GetControl(), nullptr);
  // It followed the cursor: its window lies near the top now.
  RECT r;
  GetWindowRect(Bar->GetControl()->GetHandle(), &r);
  EXPECT_LT(r.top, Start.y - 100);
}

TEST_F(TBarDrag, EscEndsTheDragWhereTheBarIs)
{
  POINT away{Start.x - 80, Start.y - 40};
  DragWith(Bars(), Bar->GetControl(), [&] {
    SendMouseButton(true);
    Glide(Start, away);
    PauseScript(100);
    SendKeyStroke(VK_ESCAPE);
  });
  EXPECT_FALSE(Bars()->IsDragging());
  EXPECT_EQ(Bar->GetDockingStyle(), dsNone);
  RECT r;
  GetWindowRect(Bar->GetControl()->GetHandle(), &r);
  // Moved by the glide (80 left), then left there.
  EXPECT_NEAR(r.left, 260 - 80, 2);
  EXPECT_FALSE(Bar->GetControl()->IsMoving());
}

TEST_F(TBarDrag, QuitDuringTheDragEndsItAndIsPostedAgain)
{
  DWORD mainThread = GetCurrentThreadId();
  DragWith(Bars(), Bar->GetControl(), [&] {
    SendMouseButton(true);
    Glide(Start, POINT{Start.x + 30, Start.y});
    PostThreadMessageW(mainThread, WM_QUIT, 7, 0);
    PauseScript(200);
  });
  EXPECT_FALSE(Bars()->IsDragging());
  MSG msg;
  bool quit = false;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message == WM_QUIT) {
      quit = true;
      EXPECT_EQ(msg.wParam, 7u);
    }
  EXPECT_TRUE(quit);
}

// A placed dock control inside a holder window, with (or without) a sibling of the holder
// lying over it.
void TBarDrag::PlaceCoveredDock(bool ACovered)
{
  Manager->SetWaitForDockingTime(21);
  auto* holder = new TWinControl(Host.Form());
  holder->SetParent(Host.Form());
  holder->SetBounds(20, 60, 300, 80);
  holder->SetVisible(true);
  PlacedDock = new TdxBarDockControl(Host.Form());
  PlacedDock->SetParent(holder);
  PlacedDock->SetBarManager(Manager);
  PlacedDock->SetAlign(dalTop);
  if (ACovered) {
    auto* cover = new TWinControl(Host.Form());
    cover->SetParent(Host.Form());
    cover->SetBounds(10, 50, 320, 100);
    cover->SetVisible(true);
    cover->BringToFront();
  }
  Bars()->GetDockControl(dsTop)->SetAllowDocking(false);
  PumpPending();
  TRect zone = PlacedDock->GetDockZoneRect();
  POINT target{(zone.left + zone.right) / 2, zone.top + 2};
  DragWith(Bars(), Bar->GetControl(), [&] {
    SendMouseButton(true);
    Glide(Start, target);
    PauseScript(300);
    SendMouseButton(false);
  });
}

TEST_F(TBarDrag, ACoveredDockSiteDoesNotTakeTheBar)
{
  PlaceCoveredDock(true);
  EXPECT_EQ(Bar->GetDockingStyle(), dsNone);
  EXPECT_EQ(Bar->GetDockControl(), nullptr);
}

TEST_F(TBarDrag, AnUncoveredPlacedDockSiteTakesTheBar)
{
  PlaceCoveredDock(false);
  EXPECT_EQ(Bar->GetDockControl(), PlacedDock);
  EXPECT_EQ(Bar->GetDockingStyle(), dsTop);
}

// The form brought back to the front after another window was active, then the bar
// grabbed by its caption, dragged across the form and dropped there: the screen shows the
// bar above its form each time, and so the press reaches the bar.
TEST_F(TBarDrag, BarDroppedFloatingOverItsFormShowsAboveIt)
{
  Host.Form()->SetColor(TColor(RGB(0, 255, 0)));
  TOwned<TForm> other(TCustomForm::CreateNew<TForm>(nullptr));
  other->SetBounds(700, 100, 200, 200);
  other->Show();
  ASSERT_TRUE(ActivateWindow(other->GetHandle()));
  HWND bar = Bar->GetControl()->GetHandle();
  auto formColoured = [bar] {
    RECT now{};
    GetWindowRect(bar, &now);
    TDib32 shot = CaptureScreen(now);
    return CountPixelsNear(shot, RECT{0, 0, shot.Width(), shot.Height()}, RGB(0, 255, 0), 24);
  };
  RECT r{};
  GetWindowRect(bar, &r);
  const POINT caption{(r.left + r.right) / 2 - 10, r.top + 6};
  RECT form{};
  GetWindowRect(Host.Form()->GetHandle(), &form);
  const POINT middle{(form.left + form.right) / 2, (form.top + form.bottom) / 2 + 20};
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  EXPECT_TRUE(PumpUntil([&] { return formColoured() == 0; }, 2000)) << formColoured() << " pixels of the form";
  std::atomic<bool> done{false};
  RunWithHelperThread([&] { PumpUntil([&] { return done.load(); }, 8000); },
                      [&] {
                        SendMouseMove(caption);
                        PauseScript(100);
                        SendMouseButton(true);
                        PauseScript(200);
                        Glide(caption, POINT{middle.x - 120, middle.y - 60});
                        Glide(POINT{middle.x - 120, middle.y - 60}, middle);
                        PauseScript(200);
                        SendMouseButton(false);
                        PauseScript(200);
                        done = true;
                      });
  ASSERT_EQ(Bar->GetDockingStyle(), dsNone);
  GetWindowRect(bar, &r);
  EXPECT_NE(r.top, caption.y - 6) << "the bar was not dragged";
  EXPECT_TRUE(PumpUntil([&] { return formColoured() == 0; }, 2000)) << formColoured() << " pixels of the form";
}

// The user's own drag may leave a bar partly off the screen, its caption too: it stays where
// it was dropped, and its values follow the window.
TEST_F(TBarDrag, BarDraggedPartlyOffTheScreenStaysThere)
{
  HWND bar = Bar->GetControl()->GetHandle();
  RECT r{};
  GetWindowRect(bar, &r);
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int width = r.right - r.left;
  ASSERT_GT(width, 40);
  // The window's right part, 20 pixels of it, past the work area's right edge.
  const int left = area.right - width + 20;
  const POINT target{left + (Start.x - r.left), area.bottom - 120};
  const int top = target.y - (Start.y - r.top);
  DragWith(Bars(), Bar->GetControl(), [&] {
    SendMouseButton(true);
    Glide(Start, target);
    PauseScript(200);
    SendMouseButton(false);
  });
  ASSERT_EQ(Bar->GetDockingStyle(), dsNone);
  GetWindowRect(bar, &r);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
}

namespace {

// A form with bars docked at the top, each of one button, dragged by their grips with the real
// pointer: the bar starts its own drag from the press, as for a user.
class TRowDrag : public TBarFixture {
protected:
  void SetUp() override
  {
    Host.Form()->SetBounds(100, 100, 520, 360);
    Host.Form()->Show();
    ActivateWindow(Host.Form()->GetHandle());
    Manager->SetWaitForDockingTime(21);
  }
  void TearDown() override
  {
    SendMouseButton(false);
    PumpPending();
  }
  TdxBar* AddDocked(const String& ACaption, int ARow, bool AMainMenu = false)
  {
    TdxBar* bar = Bars()->Add();
    bar->SetCaption(ACaption);
    bar->SetDockingStyle(dsTop);
    bar->SetRow(ARow);
    bar->SetOneOnRow(true);
    if (AMainMenu) {
      bar->SetIsMainMenu(true);
      bar->SetWholeRow(true);
    }
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(ACaption);
    button->SetPaintStyle(psCaption);
    bar->GetItemLinks()->AddItem(button);
    bar->SetVisible(true);
    return bar;
  }
  // Main on the first row, Tools on the second with large buttons whose row is wider than the
  // window the bar floats in.
  TdxBar* AddToolsRow()
  {
    AddDocked(L"Main", 0);
    TdxBar* tools = AddDocked(L"Tools", 1);
    for (const wchar_t* caption : {L"Second button", L"Third button", L"Fourth button"}) {
      auto* button = new TdxBarLargeButton(Host.Form());
      button->SetCaption(caption);
      tools->GetItemLinks()->AddItem(button);
    }
    tools->GetItemLinks()->Items(3)->SetBeginGroup(true);
    PumpPending();
    return tools;
  }
  TdxBar* AddStatusBar();
  testing::AssertionResult StatusBarShown(TdxBar* AStatus);
  TdxDockControl* Site(TdxBarDockingStyle AStyle) const { return Bars()->GetDockControl(AStyle); }
  // The drag grip at the leading edge of a docked bar's window, on the screen.
  static POINT Grip(TdxBar* ABar)
  {
    RECT r{};
    GetWindowRect(ABar->GetControl()->GetHandle(), &r);
    return POINT{r.left + 4, (r.top + r.bottom) / 2};
  }
  POINT FormPoint(int X, int Y) const
  {
    POINT p{X, Y};
    ClientToScreen(Host.Form()->GetHandle(), &p);
    return p;
  }
  // Presses at AFrom, passes through every point of APath, pausing at each, and releases.
  void DragAlong(POINT AFrom, const std::vector<POINT>& APath)
  {
    std::atomic<bool> done{false};
    RunWithHelperThread([&] { PumpUntil([&] { return done.load(); }, 10000); },
                        [&] {
                          SendMouseMove(AFrom);
                          PauseScript(100);
                          SendMouseButton(true);
                          PauseScript(150);
                          POINT from = AFrom;
                          for (POINT p : APath) {
                            Glide(from, p);
                            PauseScript(200);
                            from = p;
                          }
                          SendMouseButton(false);
                          PauseScript(150);
                          done = true;
                        });
    PumpPending();
  }
};

}  // namespace

// A bar dragged off the second row, past the form's left edge (where it docks at the left for a
// moment) and dropped floating: no row stands empty and no site keeps room it no longer uses.
TEST_F(TRowDrag, ABarDraggedOffItsRowLeavesNoEmptyRowOrSiteBehind)
{
  TdxBar* main = AddDocked(L"Main", 0);
  TdxBar* tools = AddDocked(L"Tools", 1);
  PumpPending();
  ASSERT_EQ(Site(dsTop)->GetRowCount(), 2);
  const int oneRow = main->GetControl()->GetHeight();
  RECT client{};
  GetClientRect(Host.Form()->GetHandle(), &client);
  DragAlong(Grip(tools), {FormPoint(3, client.bottom / 2), FormPoint(client.right / 2, client.bottom / 2 + 40)});
  ASSERT_EQ(tools->GetDockingStyle(), dsNone) << "the bar was not dropped floating";
  EXPECT_FALSE(Bars()->IsDragging());
  EXPECT_EQ(Site(dsTop)->GetRowCount(), 1);
  EXPECT_EQ(Site(dsTop)->GetHeight(), oneRow) << "the top site keeps the room of the row the bar left";
  EXPECT_EQ(Site(dsLeft)->GetRowCount(), 0);
  EXPECT_EQ(Site(dsLeft)->GetWidth(), 0) << "the left site keeps the room of the bar that passed";
}

// The main menu alone on the first row, Tools alone on the second, a third bar dragged off
// before: Tools dragged a little below the site goes where the pointer is, and the main menu
// keeps its row to itself.
TEST_F(TRowDrag, ABarDraggedALittleBelowItsSiteGoesWhereThePointerIs)
{
  TdxBar* menu = AddDocked(L"Menu", 0, true);
  TdxBar* tools = AddDocked(L"Tools", 1);
  TdxBar* other = AddDocked(L"Other", 2);
  PumpPending();
  RECT client{};
  GetClientRect(Host.Form()->GetHandle(), &client);
  DragAlong(Grip(other), {FormPoint(client.right / 2, client.bottom - 60)});
  ASSERT_EQ(other->GetDockingStyle(), dsNone);
  ASSERT_EQ(Site(dsTop)->GetRowCount(), 2);

  RECT site{};
  GetWindowRect(Site(dsTop)->GetHandle(), &site);
  const POINT grip = Grip(tools);
  const POINT below{grip.x + 30, site.bottom + 12};
  DragAlong(grip, {below});
  EXPECT_NE(tools->GetDockingStyle(), dsLeft);
  EXPECT_EQ(Site(dsLeft)->GetRowCount(), 0);
  EXPECT_EQ(menu->GetDockingStyle(), dsTop);
  EXPECT_EQ(menu->GetRow(), 0);
  ASSERT_NE(menu->GetDockRow(), nullptr);
  EXPECT_EQ(menu->GetDockRow()->GetColCount(), 1) << "the main menu shares its row";
  RECT r{};
  GetWindowRect(tools->GetControl()->GetHandle(), &r);
  if (tools->GetDockingStyle() == dsTop) {
    EXPECT_GE(tools->GetRow(), 1) << "the bar went above the main menu";
  } else {
    ASSERT_EQ(tools->GetDockingStyle(), dsNone);
    EXPECT_TRUE(PtInRect(&r, below)) << "the bar is not where the pointer is";
  }
  EXPECT_EQ(Site(dsTop)->GetHeight(), Site(dsTop)->GetRowsSize());
}

// A bar that passed through the left site on its way off the top one floats as one dragged
// straight off: its window holds every button at its floating size.
TEST_F(TRowDrag, ABarThatPassedTheLeftSiteFloatsAtItsFloatingSize)
{
  AddDocked(L"Main", 0);
  TdxBar* tools = AddDocked(L"Tools", 1);
  for (const wchar_t* caption : {L"Second", L"Third"}) {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(caption);
    button->SetPaintStyle(psCaption);
    tools->GetItemLinks()->AddItem(button);
  }
  PumpPending();
  RECT client{};
  GetClientRect(Host.Form()->GetHandle(), &client);
  const POINT middle = FormPoint(client.right / 2, client.bottom / 2 + 40);
  DragAlong(Grip(tools), {middle});
  ASSERT_EQ(tools->GetDockingStyle(), dsNone);
  RECT straight{};
  GetWindowRect(tools->GetControl()->GetHandle(), &straight);
  // Back to the top, then off again by way of the left site.
  RECT r{};
  GetWindowRect(tools->GetControl()->GetHandle(), &r);
  DragAlong(POINT{r.left + 12, r.top + 6}, {FormPoint(client.right / 2, 12)});
  ASSERT_EQ(tools->GetDockingStyle(), dsTop);
  DragAlong(Grip(tools), {FormPoint(3, client.bottom / 2), middle});
  ASSERT_EQ(tools->GetDockingStyle(), dsNone);
  GetWindowRect(tools->GetControl()->GetHandle(), &r);
  EXPECT_EQ(r.right - r.left, straight.right - straight.left);
  EXPECT_EQ(r.bottom - r.top, straight.bottom - straight.top);
  RECT inside{};
  GetClientRect(tools->GetControl()->GetHandle(), &inside);
  for (int i = 0; i < tools->GetItemLinks()->Count(); ++i) {
    const TRect item = tools->GetItemLinks()->Items(i)->GetItemRect();
    EXPECT_TRUE(item.right <= inside.right && item.bottom <= inside.bottom)
        << "button " << i << " is cut off: " << item.left << "," << item.top << "," << item.right << "," << item.bottom
        << " in " << inside.right << "x" << inside.bottom;
  }
}

namespace {

// Whether every link of ABar lies in its window's client; says which does not.
testing::AssertionResult LinksInsideTheWindow(TdxBar* ABar)
{
  RECT inside{};
  GetClientRect(ABar->GetControl()->GetHandle(), &inside);
  for (int i = 0; i < ABar->GetItemLinks()->Count(); ++i) {
    const TRect item = ABar->GetItemLinks()->Items(i)->GetItemRect();
    if (item.left < 0 || item.top < 0 || item.right > inside.right || item.bottom > inside.bottom)
      return testing::AssertionFailure() << "link " << i << " lies at " << item.left << "," << item.top << ","
                                         << item.right << "," << item.bottom << " in " << inside.right << "x"
                                         << inside.bottom;
  }
  return testing::AssertionSuccess();
}

}  // namespace

// Dragged straight off its row, a bar floats in a window of another size than the one first made
// for it: the caption is drawn for that size, the mark at its end, as at a start with the bar
// floating.
TEST_F(TRowDrag, ABarDraggedOffShowsTheMarkInItsCaption)
{
  TdxBar* tools = AddToolsRow();
  RECT client{};
  GetClientRect(Host.Form()->GetHandle(), &client);
  DragAlong(Grip(tools), {FormPoint(client.right / 2 + 40, 20), FormPoint(client.right / 2 + 40, client.bottom - 60)});
  ASSERT_EQ(tools->GetDockingStyle(), dsNone);
  TdxBarControl* control = tools->GetControl();
  HWND wnd = control->GetHandle();
  ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(wnd, nullptr, FALSE); }, 2000));
  EXPECT_TRUE(LinksInsideTheWindow(tools));
  ASSERT_TRUE(control->HasCaptionMark());
  const TRect mark = control->GetMarkRect();
  ASSERT_GT(mark.right - mark.left, 4);
  // The mark's arrow stands out of the caption around it.
  RECT window{};
  GetWindowRect(wnd, &window);
  TDib32 shot = CaptureScreen(
      RECT{window.left + mark.left, window.top + mark.top, window.left + mark.right, window.top + mark.bottom});
  const COLORREF around = shot.Pixel(0, 0);
  EXPECT_GT(CountPixels(shot, RECT{0, 0, shot.Width(), shot.Height()},
                        [&](COLORREF c) { return ColorDistance(c, around) > 60; }),
            4)
      << "no mark in the caption";
}

// On its way off the top site a bar floats, docks at the bottom for a moment as it passes the form's
// lower edge, and floats again below the form: back in the floating window it made first, its
// links are laid out for that window, not left where the bottom site had them.
TEST_F(TRowDrag, ABarFloatingAgainAfterPassingASiteLaysItsLinksOutForItsWindow)
{
  TdxBar* tools = AddToolsRow();
  std::vector<TdxBarDockingStyle> styles;
  Manager->OnBarDockingStyleChange =
      TdxBarEvent([&styles](TObject*, TdxBar* ABar) { styles.push_back(ABar->GetDockingStyle()); });
  RECT client{};
  GetClientRect(Host.Form()->GetHandle(), &client);
  const TRect zone = Site(dsBottom)->GetDockZoneRect();
  const POINT bottom{(zone.left + zone.right) / 2, (zone.top + zone.bottom) / 2};
  DragAlong(Grip(tools), {FormPoint(client.right / 2, 20), FormPoint(client.right / 2, client.bottom / 2), bottom,
                          POINT{bottom.x, bottom.y + 160}});
  ASSERT_EQ(tools->GetDockingStyle(), dsNone);
  ASSERT_NE(std::find(styles.begin(), styles.end(), dsBottom), styles.end()) << "the bar never docked at the bottom";
  EXPECT_TRUE(LinksInsideTheWindow(tools));
  EXPECT_EQ(Site(dsBottom)->GetRowCount(), 0);
}

// A status bar at the bottom: no border, a row of its own, the rest of the row, a size grip.
TdxBar* TRowDrag::AddStatusBar()
{
  auto* text = new TdxBarStatic(Host.Form());
  text->SetCaption(L"Ready");
  text->SetWidth(200);
  TdxBar* status = Bars()->Add();
  status->SetCaption(L"Status");
  status->SetDockingStyle(dsBottom);
  status->SetBorderStyle(bbsNone);
  status->SetWholeRow(true);
  status->SetUseRestSpace(true);
  status->SetShowMark(false);
  status->GetItemLinks()->AddItem(text);
  status->SetVisible(true);
  PumpPending();
  return status;
}

// What the user sees of a status bar: its window where its site is, its text on the screen, and
// the size grip at the form's corner answering the pointer as the form's corner.
testing::AssertionResult TRowDrag::StatusBarShown(TdxBar* AStatus)
{
  HWND wnd = AStatus->GetControl()->GetHandle();
  if (!PumpUntil([&] { return !GetUpdateRect(wnd, nullptr, FALSE); }, 2000))
    return testing::AssertionFailure() << "the status bar is never drawn";
  RECT site{};
  GetWindowRect(Site(dsBottom)->GetHandle(), &site);
  RECT bar{};
  GetWindowRect(wnd, &bar);
  if (bar.top < site.top || bar.bottom != site.bottom)
    return testing::AssertionFailure() << "the status bar lies " << bar.top - site.top << " pixels into its site of "
                                       << site.bottom - site.top;
  TDib32 shot = CaptureScreen(site);
  const COLORREF face = shot.Pixel(shot.Width() - 2, shot.Height() / 2);
  if (CountPixels(shot, RECT{0, 0, shot.Width(), shot.Height()},
                  [&](COLORREF c) { return ColorDistance(c, face) > 60; }) < 10)
    return testing::AssertionFailure() << "the status bar shows no text";
  if (SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(bar.right - 2, bar.bottom - 2)) != HTBOTTOMRIGHT)
    return testing::AssertionFailure() << "the status bar's corner is no size grip";
  TDib32 corner = CaptureScreen(RECT{bar.right - 12, bar.bottom - 12, bar.right, bar.bottom});
  if (CountPixels(corner, RECT{0, 0, 12, 12}, [&](COLORREF c) { return ColorDistance(c, face) > 40; }) < 6)
    return testing::AssertionFailure() << "the status bar shows no size grip";
  return testing::AssertionSuccess();
}

// A toolbar dragged off the top that docks beside a status bar for a moment, below it, on its way
// below the form: once the toolbar floats, the status bar shows as before.
TEST_F(TRowDrag, AStatusBarPassedByADraggedBarShowsAsBefore)
{
  TdxBar* tools = AddToolsRow();
  TdxBar* status = AddStatusBar();
  ASSERT_TRUE(StatusBarShown(status));
  std::vector<TdxBarDockingStyle> styles;
  Manager->OnBarDockingStyleChange =
      TdxBarEvent([&styles](TObject*, TdxBar* ABar) { styles.push_back(ABar->GetDockingStyle()); });
  RECT client{};
  GetClientRect(Host.Form()->GetHandle(), &client);
  RECT site{};
  GetWindowRect(Site(dsBottom)->GetHandle(), &site);
  // Past the status bar's middle: the toolbar takes a row below it.
  const POINT bottom{(site.left + site.right) / 2, site.bottom - 3};
  DragAlong(Grip(tools), {FormPoint(client.right / 2, 20), FormPoint(client.right / 2, client.bottom / 2), bottom,
                          POINT{bottom.x, bottom.y + 160}});
  ASSERT_EQ(tools->GetDockingStyle(), dsNone);
  ASSERT_NE(std::find(styles.begin(), styles.end(), dsBottom), styles.end()) << "the bar never docked at the bottom";
  EXPECT_EQ(Site(dsBottom)->GetRowCount(), 1);
  EXPECT_TRUE(StatusBarShown(status));
}

// A toolbar docked above the status bar, dragged down past it and off the form: the status bar
// takes the form's corner again, with its size grip.
TEST_F(TRowDrag, AStatusBarLeftAloneAtTheBottomShowsItsSizeGripAgain)
{
  TdxBar* status = AddStatusBar();
  TdxBar* tools = AddDocked(L"Tools", 0);
  tools->SetDockingStyle(dsBottom);
  tools->SetRow(0);
  status->SetRow(1);
  PumpPending();
  ASSERT_EQ(Site(dsBottom)->GetRowCount(), 2);
  ASSERT_TRUE(StatusBarShown(status));
  RECT site{};
  GetWindowRect(Site(dsBottom)->GetHandle(), &site);
  const POINT grip = Grip(tools);
  std::vector<POINT> path;
  for (int i = 1; i <= 6; ++i)
    path.push_back(POINT{grip.x, grip.y + 34 * i});
  DragAlong(grip, path);
  ASSERT_EQ(tools->GetDockingStyle(), dsNone);
  EXPECT_EQ(Site(dsBottom)->GetRowCount(), 1);
  EXPECT_TRUE(StatusBarShown(status));
}

// An edit on a toolbar dragged from the top onto the left site shows as a button there, its caption
// turned, as it does when the program starts with the toolbar on the left; back at the top it is
// an edit again.
TEST_F(TRowDrag, AnEditDraggedOntoTheLeftSiteShowsAsAButtonThere)
{
  AddDocked(L"Main", 0);
  auto* edit = new TdxBarEdit(Host.Form());
  edit->SetCaption(L"New task:");
  edit->SetShowCaption(true);
  edit->SetWidth(140);
  TdxBar* tools = Bars()->Add();
  tools->SetCaption(L"Tools");
  tools->SetDockingStyle(dsTop);
  tools->SetRow(1);
  tools->GetItemLinks()->AddItem(edit);
  tools->SetVisible(true);
  TdxBar* left = Bars()->Add();
  left->SetCaption(L"Left");
  left->SetDockingStyle(dsLeft);
  left->GetItemLinks()->AddItem(edit);
  left->SetVisible(true);
  PumpPending();
  auto size = [](TdxBar* ABar) {
    const TRect r = ABar->GetItemLinks()->Items(0)->GetItemRect();
    return std::pair<int, int>(r.right - r.left, r.bottom - r.top);
  };
  const auto onTheLeft = size(left);
  const auto atTheTop = size(tools);
  ASSERT_NE(onTheLeft, atTheTop);
  RECT site{};
  GetWindowRect(Site(dsLeft)->GetHandle(), &site);
  RECT client{};
  GetClientRect(Host.Form()->GetHandle(), &client);
  DragAlong(Grip(tools), {FormPoint(client.right / 2, client.bottom / 2), POINT{site.left + 4, site.top + 60}});
  ASSERT_EQ(tools->GetDockingStyle(), dsLeft);
  EXPECT_EQ(size(tools), onTheLeft);
  RECT r{};
  GetWindowRect(tools->GetControl()->GetHandle(), &r);
  DragAlong(POINT{(r.left + r.right) / 2, r.top + 3}, {FormPoint(client.right / 2, 12)});
  ASSERT_EQ(tools->GetDockingStyle(), dsTop);
  EXPECT_EQ(size(tools), atTheTop);
}
