// The menu window opened from a toolbar's drop-down button: where it opens, its window kind,
// scrolling, the menu keys and the routes that close it.
#include "MenuTestUtil.h"

#include "bars/barwindows/dockcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"
#include "support/SysColors.h"
#include "lookandfeel/cxControls.h"

// An item of a kind the register knows no control for: its links show nothing.
class TNoControlItem : public TdxBarItem {
  DECLARE_CLASS(TNoControlItem, TdxBarItem)
public:
  explicit TNoControlItem(TComponent* AOwner) : TdxBarItem(AOwner) {}
};
IMPLEMENT_CLASS(TNoControlItem, TdxBarItem)

namespace {

using TMenuWindow = TMenuFixture;

TRect WindowRect(HWND AWnd)
{
  RECT r{};
  GetWindowRect(AWnd, &r);
  return r;
}

TEST_F(TMenuWindow, OpensBelowItsButtonAsATopMostPopupOfTheMenuClass)
{
  ShowForm();
  FillMenu(MenuHost, 12);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  HWND wnd = menu->GetHandle();
  EXPECT_TRUE(IsWindowVisible(wnd));
  const TRect button = ScreenRectOf(ControlOf<TdxBarButtonControl>(MenuButton));
  const TRect r = WindowRect(wnd);
  EXPECT_EQ(r.left, button.left);
  EXPECT_EQ(r.top, button.bottom);
  EXPECT_EQ(DWORD(GetWindowLongW(wnd, GWL_STYLE)) & 0x86000000u, 0x86000000u);
  EXPECT_TRUE(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetClassLongW(wnd, GCL_STYLE), LONG(0x82B));
  EXPECT_EQ(SendMessageW(wnd, WM_GETDLGCODE, 0, 0), 7);
  // Items stack in one column inside the item area.
  for (int i = 1; i < 12; ++i)
    EXPECT_EQ(ItemOf(menu, i)->GetItemRect().top, ItemOf(menu, i - 1)->GetItemRect().bottom) << i;
  EXPECT_LE(ItemOf(menu, 11)->GetItemRect().bottom, menu->GetItemArea().bottom);
  EXPECT_EQ(ActiveBarControl(), menu);
}

// A dock site of the menu's form that changes its size takes the open menu away with it; a
// layout that keeps the size leaves the menu open.
TEST_F(TMenuWindow, ADockSiteThatChangesItsSizeClosesTheMenusOfItsForm)
{
  ShowForm();
  FillMenu(MenuHost, 3);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  TdxDockControl* top = Manager->GetBars()->GetDockControl(dsTop);
  ASSERT_NE(top, nullptr);
  top->RealignBars();
  EXPECT_EQ(MenuHost->Menu(), menu) << "the site kept its size";
  TdxBar* second = Manager->GetBars()->Add();
  second->SetCaption(L"Second");
  second->GetItemLinks()->AddItem(new TdxBarButton(Host.Form()));
  second->SetDockingStyle(dsTop);
  second->SetRow(top->GetRowCount());
  const int height = top->GetHeight();
  second->SetVisible(true);
  ASSERT_NE(top->GetHeight(), height);
  EXPECT_EQ(MenuHost->Menu(), nullptr) << "the menu stays open over a moved bar";
}

TEST_F(TMenuWindow, NearTheWorkAreasEdgesTheMenuFlipsToStayOnIt)
{
  const TRect work = GetMonitorWorkAreaAtPoint(TPoint{0, 0});
  FillMenu(MenuHost, 12);
  struct TRow {
    int Left, Top;
    bool Above;
  } rows[] = {{100, 100, false}, {100, work.bottom - 120, true}, {work.right - 200, 100, false}};
  for (const TRow& row : rows) {
    ShowForm(row.Left, row.Top, 300, 100);
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    const TRect r = WindowRect(menu->GetHandle());
    const TRect button = ScreenRectOf(ControlOf<TdxBarButtonControl>(MenuButton));
    EXPECT_GE(r.left, work.left);
    EXPECT_LE(r.right, work.right);
    EXPECT_GE(r.top, work.top);
    EXPECT_LE(r.bottom, work.bottom);
    if (row.Above)
      EXPECT_EQ(r.bottom, button.top) << "opened above its button";
    else
      EXPECT_EQ(r.top, button.bottom) << "opened below its button";
    menu->Close();
    PumpPending();
  }
}

// Sizing a hidden popup costs the system nearly as much as showing it: a menu that opens
// where it was asked is made at its final size; one that flips is made as asked and placed
// after, and ends where the flip puts it all the same.
TEST_F(TMenuWindow, AMenuThatOpensWhereAskedIsMadeAtItsFinalSize)
{
  const TRect work = GetMonitorWorkAreaAtPoint(TPoint{0, 0});
  FillMenu(MenuHost, 12);
  for (const bool flips : {false, true}) {
    SCOPED_TRACE(flips ? "flips" : "fits");
    ShowForm(100, flips ? work.bottom - 120 : 100, 300, 100);
    TWindowCreationSizes made;
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    const TRect r = WindowRect(menu->GetHandle());
    const TSize size = made.Of(menu->GetHandle());
    if (flips) {
      EXPECT_EQ(r.bottom, ScreenRectOf(ControlOf<TdxBarButtonControl>(MenuButton)).top);
      EXPECT_NE(size.cy, RectHeight(r));
    } else {
      EXPECT_EQ(r.top, ScreenRectOf(ControlOf<TdxBarButtonControl>(MenuButton)).bottom);
      EXPECT_EQ(size.cx, RectWidth(r));
      EXPECT_EQ(size.cy, RectHeight(r));
    }
    // Its links are laid out in the window as it stands.
    EXPECT_LE(ItemOf(menu, 11)->GetItemRect().bottom, menu->GetItemArea().bottom);
    EXPECT_GT(RectHeight(ItemOf(menu, 11)->GetItemRect()), 0);
    menu->Close();
    PumpPending();
  }
}

TEST_F(TMenuWindow, ATallMenuScrollsAndKeepsTheSelectedItemInView)
{
  ShowForm();
  FillMenu(MenuHost, 200);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  const TRect work = GetMonitorWorkAreaAtPoint(TPoint{0, 0});
  EXPECT_LE(WindowRect(menu->GetHandle()).bottom, work.bottom);
  EXPECT_FALSE(menu->CanScrollUp());
  EXPECT_TRUE(menu->CanScrollDown());
  // Keys move the selection past the view's end: the menu scrolls with it.
  auto selectedFits = [&] {
    TdxBarItemControl* selected = menu->GetSelectedControl();
    const TRect r = selected ? selected->GetItemRect() : TRect{};
    return selected && !IsRectEmpty(r) && r.top >= menu->GetItemArea().top && r.bottom <= menu->GetItemArea().bottom;
  };
  Key(menu, VK_END);
  EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, 199));
  EXPECT_TRUE(selectedFits());
  EXPECT_TRUE(menu->CanScrollUp());
  EXPECT_FALSE(menu->CanScrollDown());
  Key(menu, VK_HOME);
  EXPECT_TRUE(selectedFits());
  EXPECT_FALSE(menu->CanScrollUp());
  for (int i = 0; i < 60; ++i)
    Key(menu, VK_DOWN);
  EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, 60));
  EXPECT_TRUE(selectedFits());
  // Resting on the down button runs the scroll timer; leaving it stops the timer.
  const int top = menu->GetTopIndex();
  const TRect down = menu->ClientToScreen(menu->GetScrollButtonRect(true));
  ASSERT_FALSE(IsRectEmpty(down));
  MoveMouseTo(POINT{(down.left + down.right) / 2, (down.top + down.bottom) / 2});
  EXPECT_NE(menu->GetScrollTimerId(), 0u);
  EXPECT_TRUE(PumpUntil([&] { return menu->GetTopIndex() > top + 2; }));
  MoveMouseTo(ScreenCentreOf(ItemOf(menu, menu->GetFirstIndexInView() + 2)));
  EXPECT_EQ(menu->GetScrollTimerId(), 0u);
  MoveAway();
}

TEST_F(TMenuWindow, AnItemThatShowsNothingTakesNoRoomInTheMenu)
{
  ShowForm();
  FillMenu(MenuHost, 4);
  // An item of a kind without a control, beginning a group, as the third link.
  TdxBarItemLink* nothing = MenuHost->Links()->Insert(2);
  nothing->SetItem(new TNoControlItem(Host.Form()));
  nothing->SetBeginGroup(true);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(nothing->GetControl(), nullptr);
  // The menu is made as tall as its links: all show, with no scroll button.
  EXPECT_FALSE(menu->CanScrollDown());
  EXPECT_EQ(menu->GetLastIndexInView(), 4);
  EXPECT_EQ(ItemOf(menu, 3)->GetItemRect().top, ItemOf(menu, 1)->GetItemRect().bottom);
  EXPECT_LE(ItemOf(menu, 4)->GetItemRect().bottom, menu->GetItemArea().bottom);
}

TEST_F(TMenuWindow, AnItemTallerThanTheViewNeverHangsMakeItemVisible)
{
  ShowForm();
  FillMenu(MenuHost, 30);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  // A view cut to less than one item: the walk stops with the item first in view.
  menu->SetBounds(menu->GetLeft(), menu->GetTop(), menu->GetWidth(), 12);
  menu->MakeItemVisible(ItemOf(menu, 25));
  EXPECT_LE(menu->GetFirstIndexInView(), 25);
  EXPECT_GE(menu->GetLastIndexInView(), menu->GetFirstIndexInView());
}

TEST_F(TMenuWindow, MenuKeysCloseOneLevelClickAndMoveBetweenTheToolbarsMenus)
{
  ShowForm();
  FillMenu(MenuHost, 5);
  FillMenu(OtherHost, 3);
  Clicks.assign(5, 0);
  TdxBarControl* toolbar = Bar->GetControl();
  // Esc closes the menu; the toolbar keeps its button selected.
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  Key(menu, VK_ESCAPE);
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  EXPECT_EQ(MenuHost->CloseUps, 1);
  EXPECT_FALSE(ControlOf<TdxBarButtonControl>(MenuButton)->IsDroppedDown());
  EXPECT_EQ(ActiveBarControl(), toolbar);
  EXPECT_EQ(toolbar->GetSelectedControl(), ControlOf<TdxBarButtonControl>(MenuButton));
  // Down opens it from the keyboard: the first item is selected at once.
  Key(toolbar, VK_DOWN);
  menu = MenuHost->Menu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, 0));
  EXPECT_FALSE(toolbar->IsMenuShownByKeyboard()) << "the menu took the mark";
  // Right moves to the next toolbar menu, Left back.
  Key(menu, VK_RIGHT);
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  ASSERT_NE(OtherHost->Menu(), nullptr);
  EXPECT_EQ(toolbar->GetSelectedControl(), ControlOf<TdxBarButtonControl>(OtherButton));
  Key(OtherHost->Menu(), VK_LEFT);
  EXPECT_EQ(OtherHost->Menu(), nullptr);
  menu = MenuHost->Menu();
  ASSERT_NE(menu, nullptr);
  // Enter clicks the selected item once and every menu closes.
  Key(menu, VK_DOWN);
  Key(menu, VK_RETURN);
  EXPECT_EQ(Clicks, (std::vector<int>{0, 1, 0, 0, 0}));
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  // Alt closes the whole chain.
  menu = Open();
  ASSERT_NE(menu, nullptr);
  Key(menu, VK_MENU);
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(TMenuWindow, PressOnTheArrowDragOntoAnItemAndReleaseClicksItOnce)
{
  ShowForm();
  FillMenu(MenuHost, 6);
  ASSERT_TRUE(MoveMouseTo(ArrowCentreOf(MenuButton)));
  ASSERT_TRUE(MouseButtonDown());
  PumpPending();
  TdxBarSubMenuControl* menu = MenuHost->Menu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ItemOf(menu, 3))));
  PumpPending();
  EXPECT_EQ(menu->GetSelectedControl(), ItemOf(menu, 3));
  ASSERT_TRUE(MouseButtonUp());
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  // A double click on an item clicks it once: the first click closes the menu.
  menu = Open();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(DoubleClickAt(ScreenCentreOf(ItemOf(menu, 2))));
  PumpPending();
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 1, 1, 0, 0}));
  // A click outside closes the menus and clicks nothing.
  ASSERT_NE(Open(), nullptr);
  RECT form{};
  GetWindowRect(Host.Form()->GetHandle(), &form);
  ASSERT_TRUE(ClickAt(POINT{form.right - 30, form.bottom - 30}));
  PumpPending();
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_EQ(Clicks, (std::vector<int>{0, 0, 1, 1, 0, 0}));
  MoveAway();
}

// A menu writes as the bar it drops from: in the manager's font, or in the bar's own.
TEST_F(TMenuWindow, AMenuWritesInTheFontOfTheBarItDropsFrom)
{
  ShowForm();
  FillMenu(MenuHost, 3);
  TFont large;
  large.SetName(L"Courier New");
  large.SetHeight(-22);
  // Scaled, the manager would keep the system's height.
  Manager->SetScaled(false);
  Manager->SetFont(&large);
  PumpPending();
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetFont()->GetName(), L"Courier New");
  EXPECT_EQ(menu->GetFont()->GetHeight(), -22);
  const int largeHeight = RectHeight(ItemOf(menu, 0)->GetItemRect());
  menu->Close();
  PumpPending();
  TFont small;
  small.SetName(L"Tahoma");
  small.SetHeight(-11);
  Bar->SetFont(&small);
  PumpPending();
  menu = Open();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetFont()->GetName(), L"Tahoma");
  EXPECT_LT(RectHeight(ItemOf(menu, 0)->GetItemRect()), largeHeight) << "the entries are measured in it";
}

TEST_F(TMenuWindow, LessUsedBackgroundIsTheButtonFaceLightenedByTwentyPerChannel)
{
  TSysColorsScope colors{{COLOR_BTNFACE, RGB(250, 240, 10)}};
  ShowForm();
  FillMenu(MenuHost, 2);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  LOGBRUSH brush{};
  ASSERT_TRUE(GetObjectW(menu->GetLessUsedBrush(), sizeof(brush), &brush));
  EXPECT_EQ(brush.lbColor, RGB(255, 255, 30));
}

TEST_F(TMenuWindow, FlatMenuShowsItsFrameBackgroundAndSelection)
{
  ShowForm();
  FillMenu(MenuHost, 6, 3);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  menu->SelectItemControl(ItemOf(menu, 1));
  RedrawWindow(menu->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpPending();
  const TRect r = WindowRect(menu->GetHandle());
  TDib32 shot = CaptureScreen(RECT{r.left, r.top, r.right, r.bottom});
  SaveShotOnRequest(shot, "flat_menu");
  const COLORREF frame = GetNearestColor(shot.DC(), ColorToRGB(Manager->GetFlatBrushColor(1)));
  const COLORREF background = GetNearestColor(shot.DC(), ColorToRGB(Manager->GetFlatBrushColor(2)));
  const COLORREF selection = GetNearestColor(shot.DC(), ColorToRGB(Manager->GetFlatBrushColor(5)));
  EXPECT_TRUE(ColorNear(shot.Pixel(0, shot.Height() / 2), frame));
  EXPECT_TRUE(ColorNear(shot.Pixel(shot.Width() - 1, shot.Height() / 2), frame));
  // The selected item is filled with the selection colour; another item is not.
  const TRect selected = menu->ClientToScreen(ItemOf(menu, 1)->GetItemRect());
  EXPECT_TRUE(ColorNear(shot.Pixel(selected.right - r.left - 4, selected.top - r.top + 3), selection));
  const TRect other = menu->ClientToScreen(ItemOf(menu, 4)->GetItemRect());
  EXPECT_TRUE(ColorNear(shot.Pixel(other.right - r.left - 4, other.top - r.top + 3), background));
  // The separator before the second group leaves a gap with a line in the shadow colour.
  const TRect group = menu->ClientToScreen(ItemOf(menu, 3)->GetItemRect());
  EXPECT_GE(group.top - menu->ClientToScreen(ItemOf(menu, 2)->GetItemRect()).bottom, 5);
}

}  // namespace
