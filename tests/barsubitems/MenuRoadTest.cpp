// The road of a menu with the real pointer and keys: a main-menu bar read from form data, its
// sub-items opening, switching, nesting and closing, clicks reaching a leaf once, and
// handlers that change or free what the menus show.
#include "SubItemsTestUtil.h"

#include <functional>
#include <string>

#include "bars/barwindows/barcontrol.h"
#include "bars/menus/popupmenu.h"

#include "support/Input.h"
#include "support/Pump.h"
#include "support/ThreadWindows.h"

namespace {

using TSubItemMenus = TSubItemsFixture;

int CountThreadWindows()
{
  return int(ThreadWindows({.VisibleOnly = true}).size());
}

TRect WindowRectOf(TCustomdxBarControl* AWindow)
{
  RECT r{};
  if (AWindow && AWindow->HandleAllocated())
    GetWindowRect(AWindow->GetHandle(), &r);
  return TRect{r.left, r.top, r.right, r.bottom};
}

TEST_F(TSubItemMenus, ClickOpensBelowPointerSwitchesNestedOpensAfterTheDelayAndALeafClicksOnce)
{
  ShowForm();
  TdxBarSubItem* file = Sub(L"FileItem");
  TdxBarSubItem* edit = Sub(L"EditItem");
  TdxBarSubItem* find = Sub(L"FindItem");
  ASSERT_NE(ControlOf<TdxBarSubItemControl>(file), nullptr);
  // A click on "File" opens its menu below the entry, its left edge at the entry's.
  const TRect fileRect = ScreenRectOf(ControlOf(file));
  ASSERT_TRUE(ClickOn(ControlOf(file)));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
  TRect menuRect = WindowRectOf(MenuOf(file));
  EXPECT_EQ(menuRect.left, fileRect.left);
  EXPECT_EQ(menuRect.top, fileRect.bottom);
  EXPECT_TRUE(ControlOf<TdxBarSubItemControl>(file)->IsDroppedDown());
  // Onto "Edit" without a click: the menus switch.
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ControlOf(edit))));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(edit) != nullptr && MenuOf(file) == nullptr; }));
  TdxBarSubMenuControl* editMenu = MenuOf(edit);
  EXPECT_FALSE(ControlOf<TdxBarSubItemControl>(file)->IsDroppedDown());
  // The nested entry waits before it opens, then opens right of the entry.
  TdxBarItemControl* findEntry = EntryOf(editMenu, 3);
  ASSERT_EQ(findEntry, ControlOf(find));
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(findEntry)));
  PumpPending();
  EXPECT_EQ(MenuOf(find), nullptr) << "a nested menu waits for the delay";
  EXPECT_TRUE(static_cast<TdxBarSubItemControl*>(findEntry)->IsPendingOpen());
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(find) != nullptr; }));
  const TRect findRect = ScreenRectOf(findEntry);
  menuRect = WindowRectOf(MenuOf(find));
  EXPECT_GE(menuRect.left, findRect.right - 4);
  EXPECT_LE(std::abs(menuRect.top - findRect.top), 4);
  EXPECT_EQ(MenuOf(find)->GetParentBarControl(), editMenu);
  // A sibling takes the pointer: the nested menu closes, its parent stays.
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(EntryOf(editMenu, 4))));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(find) == nullptr; }));
  EXPECT_EQ(MenuOf(edit), editMenu);
  // A click on a leaf runs it once and closes every menu.
  ASSERT_TRUE(ClickAt(ScreenCentreOf(EntryOf(editMenu, 5))));
  PumpPending();
  EXPECT_EQ(Form->Clicks, (std::vector<String>{L"Edit4"}));
  EXPECT_EQ(MenuOf(edit), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  MoveAway();
}

TEST_F(TSubItemMenus, TheKeyboardWalksEveryLevelRightOpensLeftClosesOneEscAndAltClose)
{
  ShowForm();
  TdxBarSubItem* file = Sub(L"FileItem");
  TdxBarSubItem* recent = Sub(L"RecentItem");
  ASSERT_TRUE(ClickOn(ControlOf(file)));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
  TdxBarSubMenuControl* fileMenu = MenuOf(file);
  MoveAway();
  for (int i = 0; i < 4; ++i)
    Key(VK_DOWN);
  ASSERT_EQ(fileMenu->GetSelectedControl(), EntryOf(fileMenu, 3));
  // Right opens the nested menu at once with its first entry selected.
  Key(VK_RIGHT);
  TdxBarSubMenuControl* recentMenu = MenuOf(recent);
  ASSERT_NE(recentMenu, nullptr);
  EXPECT_EQ(recentMenu->GetSelectedControl(), EntryOf(recentMenu, 0));
  EXPECT_EQ(ActiveBarControl(), recentMenu);
  // Left closes that level only.
  Key(VK_LEFT);
  EXPECT_EQ(MenuOf(recent), nullptr);
  EXPECT_EQ(MenuOf(file), fileMenu);
  EXPECT_EQ(fileMenu->GetSelectedControl(), EntryOf(fileMenu, 3));
  // Enter opens it too; Enter on a leaf runs it once.
  Key(VK_RETURN);
  ASSERT_NE(MenuOf(recent), nullptr);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(Form->Clicks, (std::vector<String>{L"Recent1"}));
  EXPECT_EQ(MenuOf(recent), nullptr);
  EXPECT_EQ(MenuOf(file), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  // Esc closes one menu back to the main menu; Alt closes everything.
  ASSERT_TRUE(ClickOn(ControlOf(file)));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
  MoveAway();
  Key(VK_ESCAPE);
  EXPECT_EQ(MenuOf(file), nullptr);
  EXPECT_EQ(ActiveBarControl(), static_cast<TCustomdxBarControl*>(MainMenu->GetControl()));
  Key(VK_DOWN);
  ASSERT_NE(MenuOf(file), nullptr) << "Down opens the selected entry's menu";
  Key(VK_MENU);
  EXPECT_EQ(MenuOf(file), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_EQ(Form->Clicks.size(), 1u);
}

// The manager's menu windows that show.
int ShownMenusOf(TdxBarManager* AManager)
{
  int shown = 0;
  for (const TWeakRef<TCustomdxBarControl>& ref : dxBarGetBarControls(AManager))
    if (TCustomdxBarControl* bar = ref.Get(); bar && bar->GetKind() == bckSubMenu && bar->HandleAllocated())
      shown += IsWindowVisible(bar->GetHandle()) != FALSE;
  return shown;
}

// A form that closes or hides takes its manager's menus away first: a sub-item's menu with
// its nested menu, and a menu opened from code.
TEST_F(TSubItemMenus, AFormClosedOrHiddenClosesItsMenusFirst)
{
  auto* popup = new TdxBarPopupMenu(Form);
  popup->GetItemLinks()->AddItem(Item<TdxBarItem>(L"Edit0"));
  const struct {
    const char* Name;
    std::function<void()> Leave;
  } roads[] = {
      {"WM_CLOSE", [&] { PostMessageW(Form->GetHandle(), WM_CLOSE, 0, 0); }},
      {"hidden", [&] { Form->SetVisible(false); }},
  };
  for (const auto& road : roads)
    for (bool fromCode : {false, true}) {
      SCOPED_TRACE(std::string(road.Name) + (fromCode ? ", menu opened from code" : ", nested menus"));
      ShowForm();
      if (fromCode) {
        popup->PopupWithOptions(Form->GetLeft() + 60, Form->GetTop() + 80, 0, false);
        ASSERT_NE(popup->GetBarControl(), nullptr);
      } else {
        ASSERT_TRUE(ClickOn(ControlOf(Sub(L"FileItem"))));
        ASSERT_TRUE(PumpUntil([&] { return MenuOf(Sub(L"FileItem")) != nullptr; }));
        MoveAway();
        for (int i = 0; i < 4; ++i)
          Key(VK_DOWN);
        Key(VK_RIGHT);
        ASSERT_NE(MenuOf(Sub(L"RecentItem")), nullptr);
      }
      ASSERT_EQ(ShownMenusOf(Manager), fromCode ? 1 : 2);
      road.Leave();
      ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(Form->GetHandle()); }));
      PumpPending();
      EXPECT_EQ(ShownMenusOf(Manager), 0);
      EXPECT_EQ(ActiveBarControl(), nullptr);
      EXPECT_EQ(popup->GetBarControl(), nullptr);
      EXPECT_EQ(MenuOf(Sub(L"FileItem")), nullptr);
    }
}

// The keys win over a pointer that rests on the main menu: closing one menu makes the system
// repeat a mouse move at the same point, which must not take the selection back.
TEST_F(TSubItemMenus, RightAndLeftMoveBetweenMainMenuEntriesWhileThePointerRestsOnOne)
{
  ShowForm();
  TdxBarSubItem* file = Sub(L"FileItem");
  TdxBarSubItem* edit = Sub(L"EditItem");
  ASSERT_TRUE(ClickOn(ControlOf(file)));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
  Key(VK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(edit) != nullptr; }));
  PumpPending();
  EXPECT_EQ(MenuOf(file), nullptr);
  EXPECT_NE(MenuOf(edit), nullptr) << "the pointer over File took the selection back";
  Key(VK_LEFT);
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
  PumpPending();
  EXPECT_EQ(MenuOf(edit), nullptr);
  Key(VK_ESCAPE);
  Key(VK_ESCAPE);
  MoveAway();
}

TEST_F(TSubItemMenus, OnPopupThenOnClickRunBeforeTheMenuShowsWhatOnPopupAddedAndOnCloseUpFollows)
{
  ShowForm();
  TdxBarSubItem* file = Sub(L"FileItem");
  std::vector<String> events;
  file->OnPopup = TNotifyEvent([&](TObject*) {
    events.push_back(MenuOf(file) ? L"popup with menu" : L"popup");
    if (file->GetItemLinks()->Count() == 6) {
      auto* added = new TdxBarButton(Form);
      added->SetCaption(L"Added in OnPopup");
      file->GetItemLinks()->AddItem(added);
    }
  });
  file->SetOnClick(TNotifyEvent([&](TObject*) { events.push_back(MenuOf(file) ? L"click with menu" : L"click"); }));
  file->OnCloseUp = TNotifyEvent([&](TObject*) { events.push_back(MenuOf(file) ? L"closeup with menu" : L"closeup"); });
  // The side strip is the item's to paint.
  file->SetBarSize(18);
  int stripPaints = 0;
  file->OnPaintBar = TdxBarPaintSubMenuBarEvent([&](TObject*, TcxCanvas*, const TRect& R) {
    EXPECT_EQ(RectWidth(R), 18);
    ++stripPaints;
  });
  ASSERT_TRUE(ClickOn(ControlOf(file)));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
  TdxBarSubMenuControl* menu = MenuOf(file);
  EXPECT_EQ(events, (std::vector<String>{L"popup", L"click"}));
  ASSERT_EQ(menu->GetItemLinks()->VisibleItemCount(), 7);
  TdxBarItemControl* added = EntryOf(menu, 6);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->GetCaption(), L"Added in OnPopup");
  EXPECT_GT(RectHeight(ScreenRectOf(added)), 0);
  EXPECT_LE(ScreenRectOf(added).bottom, WindowRectOf(menu).bottom);
  EXPECT_EQ(menu->GetSideStripWidth(), 18);
  RedrawWindow(menu->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  EXPECT_GT(stripPaints, 0);
  MoveAway();
  Key(VK_ESCAPE);
  EXPECT_EQ(events, (std::vector<String>{L"popup", L"click", L"closeup"}));
}

TEST_F(TSubItemMenus, AnItemFreedByItsOwnClickAndAFormFreedByAMenuHandlerEndQuietly)
{
  ShowForm();
  const int windows = CountThreadWindows();
  const int gdi = GdiObjectsInUse();
  // An item frees itself from its OnClick in a menu.
  TdxBarSubItem* file = Sub(L"FileItem");
  auto* doomed = Item<TdxBarButton>(L"File1");
  TWeakRef<TdxBarButton> doomedRef(doomed);
  doomed->SetOnClick(TNotifyEvent([](TObject* Sender) { static_cast<TComponent*>(Sender)->Free(); }));
  ASSERT_TRUE(ClickOn(ControlOf(file)));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
  TWeakRef<TdxBarSubMenuControl> menu(MenuOf(file));
  ASSERT_TRUE(ClickAt(ScreenCentreOf(EntryOf(menu.Get(), 1))));
  PumpPending();
  EXPECT_FALSE(doomedRef.Alive());
  EXPECT_FALSE(menu.Alive());
  EXPECT_EQ(file->GetItemLinks()->Count(), 5);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  MoveAway();
  EXPECT_EQ(CountThreadWindows(), windows);

  // A second form, freed by the handler of an item in its own nested menu.
  {
    TSubItemsForm* other = TCustomForm::CreateFromText<TSubItemsForm>(MainMenuFormText(), nullptr);
    TOwned<TSubItemsForm> guard(other);
    TWeakRef<TSubItemsForm> otherRef(other);
    other->SetBounds(200, 200, 480, 300);
    other->Show();
    ActivateWindow(other->GetHandle());
    PumpPending();
    auto* otherFile = dynamic_cast<TdxBarSubItem*>(other->FindComponent(L"FileItem"));
    auto* otherRecent = dynamic_cast<TdxBarSubItem*>(other->FindComponent(L"RecentItem"));
    auto* leaf = dynamic_cast<TdxBarButton*>(other->FindComponent(L"Recent0"));
    ASSERT_TRUE(otherFile && otherRecent && leaf);
    leaf->SetOnClick(TNotifyEvent([other](TObject*) { other->Free(); }));
    ASSERT_TRUE(ClickOn(ControlOf(otherFile)));
    ASSERT_TRUE(PumpUntil([&] { return MenuOf(otherFile) != nullptr; }));
    ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(EntryOf(MenuOf(otherFile), 3))));
    ASSERT_TRUE(PumpUntil([&] { return MenuOf(otherRecent) != nullptr; }));
    ASSERT_TRUE(ClickAt(ScreenCentreOf(EntryOf(MenuOf(otherRecent), 0))));
    PumpPending();
    EXPECT_FALSE(otherRef.Alive());
    EXPECT_EQ(ActiveBarControl(), nullptr);
  }
  MoveAway();
  ActivateWindow(Form->GetHandle());
  PumpPending();
  EXPECT_EQ(CountThreadWindows(), windows);
  EXPECT_EQ(GdiObjectsInUse(), gdi);
}

TEST_F(TSubItemMenus, MenusOpenBelowAHorizontalToolbarAndBesideAVerticalOne)
{
  TdxBar* side = Manager->GetBars()->Add();
  side->SetCaption(L"Side");
  side->SetDockingStyle(dsLeft);
  TdxBarSubItem* find = Sub(L"FindItem");
  side->GetItemLinks()->AddItem(find);
  side->SetVisible(true);
  ShowForm();
  auto* control = dynamic_cast<TdxBarSubItemControl*>(side->GetItemLinks()->Items(0)->GetControl());
  ASSERT_NE(control, nullptr);
  TPoint p;
  int dx = -1, dy = -1;
  control->GetSubMenuPosition(p, dx, dy);
  const TRect r = ScreenRectOf(control);
  EXPECT_EQ(p.x, r.right);
  EXPECT_EQ(p.y, r.top);
  EXPECT_EQ(dx, RectWidth(r));
  EXPECT_EQ(dy, 0);
  ASSERT_TRUE(ClickOn(control));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(find) != nullptr; }));
  const TRect menuRect = WindowRectOf(MenuOf(find));
  EXPECT_EQ(menuRect.left, r.right);
  EXPECT_EQ(menuRect.top, r.top);
  MoveAway();
  Key(VK_ESCAPE);
  // On the main menu: below, jumping the entry's height.
  TdxBarSubItemControl* fileControl = ControlOf<TdxBarSubItemControl>(Sub(L"FileItem"));
  fileControl->GetSubMenuPosition(p, dx, dy);
  const TRect fr = ScreenRectOf(fileControl);
  EXPECT_EQ(p.x, fr.left);
  EXPECT_EQ(p.y, fr.bottom);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, RectHeight(fr));
}

}  // namespace

namespace {

// A detachable sub-item's menu torn off by its strip becomes the sub-item's floating bar,
// whose buttons run their commands; Esc during the drag brings the menu back instead.
TEST_F(TSubItemMenus, TearingADetachableMenuOffFloatsTheSubItemsBarAndEscBringsTheMenuBack)
{
  TdxBarSubItem* file = Sub(L"FileItem");
  TdxBar* torn = Manager->GetBars()->Add();
  torn->SetCaption(L"File");
  for (int i = 0; i < 3; ++i)
    torn->GetItemLinks()->AddItem(Item<TdxBarButton>((L"File" + IntToStr(i)).c_str()));
  torn->SetVisible(false);
  file->SetDetachable(true);
  file->SetDetachingBarIndex(Manager->GetBars()->IndexOf(torn));
  int detachings = 0;
  file->OnDetaching = TNotifyEvent([&](TObject*) { ++detachings; });
  ShowForm();
  for (bool drop : {true, false}) {
    SCOPED_TRACE(drop ? "dropped" : "Esc");
    const int detachingsBefore = detachings;
    bool done = false;
    for (int attempt = 1;; ++attempt) {
      detachings = detachingsBefore;
      ASSERT_TRUE(ClickOn(ControlOf(file)));
      ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
      TdxBarSubMenuControl* menu = MenuOf(file);
      ASSERT_TRUE(menu->IsDetachable());
      const TRect strip = menu->ClientToScreen(menu->GetDetachStripRect());
      const POINT start{(strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2};
      ASSERT_TRUE(MoveMouseTo(start));
      ASSERT_TRUE(PumpUntil([&] { return menu->IsOverDetachStrip(); }));
      const DWORD ui = ::GetCurrentThreadId();
      const HWND menuWnd = menu->GetHandle();
      done = RunScript(
          [&] {
            // Each step waits for the last one's effect: the tear-off loop holds the mouse, then
            // the menu has closed for the floating bar.
            SendMouseButton(true);
            WaitInScript([ui] { return CaptureOfThread(ui) != nullptr; });
            PauseScript(50);
            SendMouseMove(POINT{start.x + 60, start.y + 150});
            WaitInScript([menuWnd] { return !::IsWindowVisible(menuWnd); });
            PauseScript(50);
            EndDragFromScript(drop);
          },
          [] { return GetCapture() == nullptr; }, 100, 5000);
      PumpPending();
      if (!TryAgainAfterStalePointer(attempt, drop ? MenuOf(file) == nullptr && torn->GetVisible()
                                                   : MenuOf(file) != nullptr && !torn->GetVisible()))
        break;
      for (int i = 0; i < 3 && MenuOf(file); ++i)
        Key(VK_ESCAPE);
      torn->SetVisible(false);
      PumpPending();
      MoveAway();
    }
    EXPECT_TRUE(done);
    if (drop) {
      EXPECT_EQ(MenuOf(file), nullptr);
      EXPECT_TRUE(torn->GetVisible());
      EXPECT_EQ(torn->GetDockingStyle(), dsNone);
      ASSERT_TRUE(ClickOn(torn->GetItemLinks()->Items(1)->GetControl()));
      PumpPending();
      EXPECT_EQ(Form->Clicks, (std::vector<String>{L"File1"}));
      torn->SetVisible(false);
      PumpPending();
    } else {
      EXPECT_FALSE(torn->GetVisible());
      EXPECT_NE(MenuOf(file), nullptr) << "the sub-item's menu is open again";
      Key(VK_ESCAPE);
      Key(VK_ESCAPE);
    }
    MoveAway();
  }
  EXPECT_EQ(detachings, 2);
}

}  // namespace
