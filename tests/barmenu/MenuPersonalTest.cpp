// Personalised menus (recent links first, the expand button and what expands the menu, the
// lighter background of the links that were hidden), the tear-off drag, and the opening
// animation's thread ending before its window goes.
#include "MenuTestUtil.h"

#include "lookandfeel/dxOffice11.h"

#include "bars/itemcontrols/itemcontrol.h"
#include "bars/menus/menuanimation.h"
#include "platform/GraphicsObjects.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

#include <tlhelp32.h>

namespace {

int ThreadsOfThisProcess()
{
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE)
    return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId())
      ++count;
  CloseHandle(snapshot);
  return count;
}

class TPersonalMenu : public TMenuFixture {
protected:
  void SetUp() override
  {
    TMenuFixture::SetUp();
    Manager->SetMenusShowRecentItemsFirst(true);
    ShowForm();
    FillMenu(MenuHost, 8);
    // Items 3 to 7 were never used: the menu shows 0 to 2 first.
    for (int i = 3; i < 8; ++i)
      MenuHost->Links()->Items(i)->SetMostRecentlyUsed(false);
  }
  void TearDown() override
  {
    SetdxBarMenuExpandDelay(0);
    SetdxBarMenuExpandHoverDelay(0);
    TMenuFixture::TearDown();
  }
  static int Shown(TdxBarSubMenuControl* AMenu) { return AMenu->GetItemLinks()->ShownItemCount(); }
};

TEST_F(TPersonalMenu, RecentLinksShowFirstAndEachRouteExpandsTheMenu)
{
  Manager->SetShowFullMenusAfterDelay(false);
  const char* routes[] = {"Ctrl+Down", "Down past the last recent link", "a click on the button"};
  for (int route = 0; route < 3; ++route) {
    SCOPED_TRACE(routes[route]);
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Shown(menu), 3);
    EXPECT_TRUE(menu->IsExpandButtonShown());
    const TRect mark = menu->ClientToScreen(menu->GetMarkRect());
    if (route == 0) {
      BYTE keys[256]{};
      GetKeyboardState(keys);
      keys[VK_CONTROL] = 0x80;
      SetKeyboardState(keys);
      Key(menu, VK_DOWN);
      keys[VK_CONTROL] = 0;
      SetKeyboardState(keys);
    } else if (route == 1) {
      menu->SelectItemControl(ItemOf(menu, 2));
      Key(menu, VK_DOWN);
    } else {
      MoveMouseTo(POINT{(mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2});
      ClickAt(POINT{(mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2});
    }
    PumpPending();
    menu = MenuHost->Menu();
    ASSERT_NE(menu, nullptr) << "the menu stays open";
    EXPECT_EQ(Shown(menu), 8);
    EXPECT_TRUE(dxBarMenusExpanded());
    EXPECT_FALSE(menu->IsExpandButtonShown());
    EXPECT_TRUE(menu->IsLessUsedLink(menu->GetItemLinks()->ShownItems(5)));
    EXPECT_FALSE(menu->IsLessUsedLink(menu->GetItemLinks()->ShownItems(1)));
    if (route == 1) {
      EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, 3)) << "the key moved on into the new links";
    }
    EXPECT_EQ(menu->GetMenuHint(), L"") << "the button's hint goes with the button";
    // A new chain shows the recent links again.
    menu->Close();
    PumpPending();
    MoveAway();
  }
  // Clicking two hidden items makes them recent: the menu opens with them and the button.
  for (int used : {7, 5}) {
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    menu->SetMarkState(TdxBarMarkState::Pressed);
    menu = MenuHost->Menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(ClickAt(ScreenCentreOf(ItemOf(menu, used))));
    PumpPending();
    EXPECT_EQ(Clicks[size_t(used)], 1);
    EXPECT_EQ(MenuHost->Menu(), nullptr);
  }
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(Shown(menu), 5);
  EXPECT_TRUE(menu->IsExpandButtonShown());
  EXPECT_EQ(menu->GetItemLinks()->ShownItems(3)->GetItem(), MenuHost->Links()->Items(5)->GetItem());
  EXPECT_EQ(menu->GetItemLinks()->ShownItems(4)->GetItem(), MenuHost->Links()->Items(7)->GetItem());
  MoveAway();
}

// A personalised menu is made at the size of the links it shows first and its button, and
// grows to all of them when expanded.
TEST_F(TPersonalMenu, IsMadeAtTheSizeOfItsRecentLinksAndGrowsWhenExpanded)
{
  TWindowCreationSizes made;
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu), 3);
  RECT first{};
  GetWindowRect(menu->GetHandle(), &first);
  EXPECT_EQ(made.Of(menu->GetHandle()).cx, first.right - first.left);
  EXPECT_EQ(made.Of(menu->GetHandle()).cy, first.bottom - first.top);
  menu->SetMarkState(TdxBarMarkState::Pressed);
  menu = MenuHost->Menu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu), 8);
  RECT expanded{};
  GetWindowRect(menu->GetHandle(), &expanded);
  EXPECT_GT(expanded.bottom - expanded.top, first.bottom - first.top);
  EXPECT_LE(ItemOf(menu, 7)->GetItemRect().bottom, menu->GetItemArea().bottom);
}

TEST_F(TPersonalMenu, HiddenLinksShowOnTheLighterBackgroundOnceExpanded)
{
  Manager->SetShowFullMenusAfterDelay(false);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  menu->SetMarkState(TdxBarMarkState::Pressed);
  menu = MenuHost->Menu();
  ASSERT_NE(menu, nullptr);
  RedrawWindow(menu->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  PumpPending();
  RECT w{};
  GetWindowRect(menu->GetHandle(), &w);
  TDib32 shot = CaptureScreen(w);
  SaveShotOnRequest(shot, "personal_menu");
  LOGBRUSH lessUsed{};
  ASSERT_TRUE(GetObjectW(menu->GetLessUsedBrush(), sizeof(lessUsed), &lessUsed));
  auto probe = [&](int AIndex) {
    const TRect r = menu->ClientToScreen(ItemOf(menu, AIndex)->GetItemRect());
    return shot.Pixel(r.right - w.left - 3, (r.top + r.bottom) / 2 - w.top);
  };
  const COLORREF expected = GetNearestColor(shot.DC(), lessUsed.lbColor);
  EXPECT_TRUE(ColorNear(probe(5), expected));
  EXPECT_FALSE(ColorNear(probe(1), expected, 2));
}

// The gradient look draws the expand button's double chevron in its text colour over a light
// copy, and gives the glyph column of the links shown only once expanded the less-used pair.
TEST_F(TPersonalMenu, TheGradientLookMarksLessUsedLinksInTheirGlyphColumn)
{
  Manager->SetShowFullMenusAfterDelay(false);
  Manager->SetStyle(bmsOffice11);
  PumpPending();
  const TdxOffice11Colors& colors = dxOffice11Colors();
  ASSERT_FALSE(ColorNear(ColorToRGB(colors.MenuRarelyUsedColor1), ColorToRGB(colors.MenuGlyphColor1), 6));
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  RECT w{};
  GetWindowRect(menu->GetHandle(), &w);
  const TRect mark = OffsetRect(menu->ClientToScreen(menu->GetMarkRect()), -w.left, -w.top);
  TDib32 shot = CaptureScreen(w);
  EXPECT_GT(CountPixelsNear(shot, mark, ColorToRGB(colors.TextColor), 4), 6);
  EXPECT_GT(CountPixelsNear(shot, mark, ColorToRGB(colors.SeparatorLightColor), 4), 6);
  menu->SetMarkState(TdxBarMarkState::Pressed);
  menu = MenuHost->Menu();
  ASSERT_NE(menu, nullptr);
  RedrawWindow(menu->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  PumpPending();
  GetWindowRect(menu->GetHandle(), &w);
  shot = CaptureScreen(w);
  SaveShotOnRequest(shot, "personal_menu_office11");
  // The column's first pixels, and its middle, where the glyph goes.
  auto column = [&](int AIndex, int AX) {
    const TRect r = menu->ClientToScreen(ItemOf(menu, AIndex)->GetItemRect());
    return shot.Pixel(r.left - w.left + AX, (r.top + r.bottom) / 2 - w.top);
  };
  const int middle = menu->GetGlyphColumnWidth() / 2;
  EXPECT_TRUE(ColorNear(column(5, 0), ColorToRGB(colors.MenuRarelyUsedColor1), 6));
  EXPECT_TRUE(ColorNear(column(1, 0), ColorToRGB(colors.MenuGlyphColor1), 6));
  EXPECT_TRUE(ColorNear(column(5, middle), column(4, middle), 2));
  EXPECT_FALSE(ColorNear(column(5, middle), column(1, middle), 4));
}

TEST_F(TPersonalMenu, TheDelayExpandsTheMenuWhileTheHintWaitsWithoutIt)
{
  SetdxBarMenuExpandDelay(50);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->IsExpandTimerRunning(dxBarMenuExpandTimerId));
  EXPECT_TRUE(PumpUntil([&] { return MenuHost->Menu() && Shown(MenuHost->Menu()) == 8; }));
  MenuHost->Menu()->Close();
  PumpPending();
  // Without the delay, hovering the button shows the expand hint.
  Manager->SetShowFullMenusAfterDelay(false);
  menu = Open();
  ASSERT_NE(menu, nullptr);
  EXPECT_FALSE(menu->IsExpandTimerRunning(dxBarMenuExpandTimerId));
  EXPECT_FALSE(menu->IsExpandTimerRunning(dxBarMenuHotMarkTimerId));
  const TRect r = menu->ClientToScreen(menu->GetMarkRect());
  MoveMouseTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  PumpPending();
  EXPECT_EQ(menu->GetMarkState(), TdxBarMarkState::Hot);
  EXPECT_EQ(menu->GetMenuHint(), L"Expand (Ctrl-Down)");
  MoveAway();
}

// A personalised menu shows all its links by itself a while after it opens, whatever its
// selection does meanwhile: opened by keys (its first entry selected at once), and with the
// selection moved a second later. The wait is the real one.
TEST_F(TPersonalMenu, ItExpandsByItselfAfterTheDelayWhileItsSelectionMoves)
{
  auto stroke = [](WORD AKey) { EXPECT_TRUE(StrokeKey(AKey)); };
  MoveAway();
  for (bool moveLater : {false, true}) {
    SCOPED_TRACE(moveLater ? "the selection moved after a second" : "opened by keys");
    stroke(VK_MENU);
    stroke(VK_DOWN);
    TdxBarSubMenuControl* menu = MenuHost->Menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(Shown(menu), 3);
    EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, 0));
    EXPECT_TRUE(menu->IsExpandTimerRunning(dxBarMenuExpandTimerId));
    EXPECT_TRUE(menu->IsExpandTimerRunning(dxBarMenuHotMarkTimerId));
    if (moveLater) {
      PumpFor(1000);
      stroke(VK_DOWN);
      ASSERT_EQ(MenuHost->Menu(), menu);
      EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, 1));
    }
    EXPECT_TRUE(PumpUntil([&] { return MenuHost->Menu() && Shown(MenuHost->Menu()) == 8; }, 8000));
    if (MenuHost->Menu())
      MenuHost->Menu()->Close();
    PumpPending();
  }
}

TEST_F(TMenuFixture, TearingTheStripOffFloatsTheDetachingBarAndEscReturnsToTheMenu)
{
  ShowForm();
  FillMenu(MenuHost, 4);
  TdxBar* floating = Manager->GetBars()->Add();
  floating->SetCaption(L"Torn");
  for (int i = 0; i < MenuHost->Links()->Count(); ++i)
    floating->GetItemLinks()->AddItem(MenuHost->Links()->Items(i)->GetItem());
  floating->SetVisible(false);
  MenuHost->DetachingBar = floating;
  struct TRow {
    bool Drop;
  } rows[] = {{true}, {false}};
  for (const TRow& row : rows) {
    const int detachingsBefore = MenuHost->Detachings;
    bool done = false;
    for (int attempt = 1;; ++attempt) {
      MenuHost->Detachings = detachingsBefore;
      TdxBarSubMenuControl* menu = Open();
      ASSERT_NE(menu, nullptr);
      ASSERT_TRUE(menu->IsDetachable());
      const TRect strip = menu->ClientToScreen(menu->GetDetachStripRect());
      const POINT start{(strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2};
      ASSERT_TRUE(MoveMouseTo(start));
      PumpPending();
      ASSERT_TRUE(menu->IsOverDetachStrip());
      EXPECT_EQ(menu->GetMenuHint(), L"Drag to make this menu float");
      const POINT away{start.x + 80, start.y + 160};
      done = RunScript(
          [&] {
            SendMouseButton(true);
            PauseScript(100);
            SendMouseMove(POINT{start.x + 40, start.y + 80});
            PauseScript(100);
            SendMouseMove(away);
            PauseScript(150);
            EndDragFromScript(row.Drop);
          },
          [] { return GetCapture() == nullptr; }, 100, 5000);
      PumpPending();
      if (!TryAgainAfterStalePointer(attempt, row.Drop ? MenuHost->Menu() == nullptr && floating->GetVisible()
                                                       : MenuHost->Menu() != nullptr && !floating->GetVisible()))
        break;
      if (MenuHost->Menu())
        MenuHost->Menu()->Close();
      floating->SetVisible(false);
      PumpPending();
      MoveAway();
    }
    EXPECT_TRUE(done);
    EXPECT_EQ(MenuHost->Detachings, row.Drop ? 1 : 2);
    if (row.Drop) {
      EXPECT_EQ(MenuHost->Menu(), nullptr);
      EXPECT_TRUE(floating->GetVisible());
      EXPECT_EQ(floating->GetDockingStyle(), dsNone);
      ASSERT_NE(floating->GetControl(), nullptr);
      // The floating toolbar works: its first button clicks the same item.
      floating->GetControl()->GetItemLinks()->Items(0)->GetControl()->Click();
      EXPECT_EQ(Clicks[0], 1);
      floating->SetVisible(false);
    } else {
      EXPECT_FALSE(floating->GetVisible());
      EXPECT_NE(MenuHost->Menu(), nullptr) << "the menu is open again";
      if (MenuHost->Menu())
        MenuHost->Menu()->Close();
    }
    PumpPending();
    MoveAway();
  }
}

// An animated menu ends its thread before the window goes, however it goes; nothing of the
// thread's GDI objects stays.
TEST_F(TMenuFixture, TheAnimationThreadEndsBeforeItsMenuGoesInEveryOrder)
{
  TdxBarSystemSettingProc setting = SetdxBarMenuAnimationSettingProc([] { return true; });
  TFinally restore([&] { SetdxBarMenuAnimationSettingProc(setting); });
  ShowForm();
  FillMenu(MenuHost, 30);
  const int gdi = GdiObjectsInUse();
  const int threads = ThreadsOfThisProcess();
  ASSERT_GT(threads, 0);
  const TdxBarMenuAnimations kinds[] = {maUnfold, maSlide};
  for (TdxBarMenuAnimations kind : kinds) {
    Manager->SetMenuAnimations(kind);
    // Natural end: the last frame shows the whole menu at its final place.
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetAnimationKind(), kind);
    EXPECT_TRUE(PumpUntil([&] { return MenuHost->Menu() && !MenuHost->Menu()->GetAnimationThread(); }));
    menu = MenuHost->Menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->IsShowing());
    RECT r{};
    GetWindowRect(menu->GetHandle(), &r);
    EXPECT_EQ(r.right - r.left, menu->GetWidth());
    EXPECT_EQ(r.bottom - r.top, menu->GetHeight());
    menu->Close();
    PumpPending();
    // A key at once, a close at once, the form freed at once: many times.
    for (int i = 0; i < 40; ++i) {
      menu = Open();
      ASSERT_NE(menu, nullptr);
      if (i % 2 == 0) {
        SendMessageW(menu->GetHandle(), WM_KEYDOWN, VK_DOWN, 0);
        ASSERT_NE(MenuHost->Menu(), nullptr);
        EXPECT_FALSE(MenuHost->Menu()->IsAnimating()) << "the key waits for the complete menu";
      }
      MenuHost->Menu()->Close();
    }
  }
  PumpPending();
  EXPECT_EQ(GdiObjectsInUse(), gdi);
  // The system may list a joined thread for a moment after it ended.
  EXPECT_TRUE(PumpUntil([&] { return ThreadsOfThisProcess() <= threads; }, 3000))
      << ThreadsOfThisProcess() << " threads, " << threads << " before: every animation thread was joined";
  // Fade and a system that turns menu animations off run no thread.
  for (bool systemOn : {true, false}) {
    SetdxBarMenuAnimationSettingProc([systemOn] { return systemOn; });
    Manager->SetMenuAnimations(systemOn ? maFade : maUnfold);
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetAnimationKind(), systemOn ? maFade : maNone);
    EXPECT_EQ(menu->GetAnimationThread(), nullptr);
    EXPECT_TRUE(IsWindowVisible(menu->GetHandle()));
    menu->Close();
  }
  // Freeing the form during the animation.
  Manager->SetMenuAnimations(maUnfold);
  ASSERT_NE(Open(), nullptr);
  Host.Form()->Free();
  PumpPending();
}

// The race a self-freeing thread would lose: the thread has ended its frames and waits to hand
// over its last frame when the menu stops it.
TEST_F(TMenuFixture, AStopAfterTheLastFrameFreesTheThreadOnce)
{
  TdxBarSystemSettingProc setting = SetdxBarMenuAnimationSettingProc([] { return true; });
  static HANDLE reached = nullptr;
  reached = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  TdxBarAnimationThread::AfterFramesHook = [] {
    SetEvent(reached);
    Sleep(200);
  };
  TFinally restore([&] {
    TdxBarAnimationThread::AfterFramesHook = nullptr;
    CloseHandle(reached);
    SetdxBarMenuAnimationSettingProc(setting);
  });
  ShowForm();
  FillMenu(MenuHost, 3);
  Manager->SetMenuAnimations(maSlide);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  // Pumped: the thread's frames send their window changes to this thread.
  EXPECT_TRUE(PumpUntil([] { return WaitForSingleObject(reached, 0) == WAIT_OBJECT_0; }));
  ASSERT_NE(menu->GetAnimationThread(), nullptr) << "stopped before the thread hands its last frame over";
  menu->StopAnimation();
  EXPECT_EQ(menu->GetAnimationThread(), nullptr);
  EXPECT_FALSE(menu->IsAnimating());
  PumpPending();
  menu->Close();
}

}  // namespace

TEST_F(TPersonalMenu, TheGradientLooksExpandButtonHasRoomForItsDoubleChevrons)
{
  Manager->SetShowFullMenusAfterDelay(false);
  int heights[2]{};
  int menuHeights[2]{};
  const TdxBarManagerStyle styles[] = {bmsFlat, bmsOffice11};
  for (int i = 0; i < 2; ++i) {
    Manager->SetStyle(styles[i]);
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->IsExpandButtonShown());
    const TRect mark = menu->GetMarkRect();
    heights[i] = RectHeight(mark);
    menuHeights[i] = RectHeight(menu->GetClientRect());
    // The button lies under the items and inside the menu.
    EXPECT_GE(mark.top, menu->GetItemLinks()->ShownItems(2)->GetItemRect().bottom);
    EXPECT_LE(mark.bottom, menu->GetClientRect().bottom);
    menu->Close();
    PumpPending();
  }
  EXPECT_EQ(heights[1], heights[0] + dxOffice11DoubleChevronHeight);
  EXPECT_GE(menuHeights[1] - menuHeights[0], dxOffice11DoubleChevronHeight) << "the menu grew with its button";
}
