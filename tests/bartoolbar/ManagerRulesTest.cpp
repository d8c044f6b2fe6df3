// The manager's run-time changes reach its bars and their windows: a bar shown before a
// change of style, font or arrow width ends as a bar made after it; bars a category leaves
// empty hide and come back; the end of an update drops the rows it emptied.
#include "ToolbarTestUtil.h"

#include "barextras/largebutton.h"
#include "bars/model/items.h"
#include "bars/utils/utils.h"
#include "bars/model/backgrounds.h"
#include "lookandfeel/cxLookAndFeels.h"
#include "lookandfeel/dxThemeManager.h"
#include "platform/Bitmap.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TManagerRules : public TToolbarFixture {
protected:
  // A shown bar of its own row on the top site: a button and a drop-down button, large when
  // asked.
  TdxBar* AddDropDownBar(bool ALarge = false)
  {
    TdxBar* bar = AddBar({L"Open", L"Save"});
    if (ALarge) {
      auto* large = new TdxBarLargeButton(Host.Form());
      large->SetCaption(L"Large");
      bar->GetItemLinks()->AddItem(large);
    }
    TdxBarItemLinks* links = bar->GetItemLinks();
    static_cast<TdxBarButton*>(links->Items(links->Count() - 1)->GetItem())->SetButtonStyle(bsDropDown);
    bar->SetOneOnRow(true);
    bar->SetRow(Bars()->GetDockControl(dsTop)->GetRowCount());
    bar->SetVisible(true);
    return bar;
  }
};

struct TRuleCase {
  const char* Name;
  std::function<void(TdxBarManager*)> Before;
  std::function<void(TdxBarManager*)> Change;
  bool Large = false;
};

TEST_F(TManagerRules, BarWindowsShownBeforeAChangeMatchBarsMadeAfterIt)
{
  const TRuleCase cases[] = {
      {"Style", [](TdxBarManager* M) { M->SetStyle(bmsStandard); }, [](TdxBarManager* M) { M->SetStyle(bmsFlat); }},
      {"LookAndFeel", [](TdxBarManager* M) { M->SetStyle(bmsUseLookAndFeel); },
       [](TdxBarManager* M) { M->GetLookAndFeel()->SetKind(lfUltraFlat); }},
      {"Font", [](TdxBarManager* M) { M->SetScaled(false); },
       [](TdxBarManager* M) {
         M->GetFont()->SetName(L"Tahoma");
         M->GetFont()->SetSize(14);
       }},
      {"ButtonArrowWidth", [](TdxBarManager*) {}, [](TdxBarManager* M) { M->SetButtonArrowWidth(30); }},
      {"LargeButtonArrowWidth", [](TdxBarManager*) {}, [](TdxBarManager* M) { M->SetLargeButtonArrowWidth(30); }, true},
  };
  ShowForm();
  for (const TRuleCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Before(Manager);
    TdxBar* before = AddDropDownBar(c.Large);
    const int widthBefore = before->GetControl()->GetWidth();
    c.Change(Manager);
    // Read before another bar comes: a new bar lays the whole site out again.
    const int widthChanged = before->GetControl()->GetWidth();
    const int heightChanged = before->GetControl()->GetHeight();
    TdxBar* after = AddDropDownBar(c.Large);
    EXPECT_NE(after->GetControl()->GetWidth(), widthBefore) << "the change does not alter the width";
    EXPECT_EQ(widthChanged, after->GetControl()->GetWidth());
    EXPECT_EQ(heightChanged, after->GetControl()->GetHeight());
    EXPECT_EQ(before->GetControl()->GetFont()->GetName(), after->GetControl()->GetFont()->GetName());
    before->Free();
    after->Free();
  }
}

TEST_F(TManagerRules, BarsACategoryLeavesEmptyHideAndComeBackWithAutoHideEmptyBars)
{
  ShowForm();
  Manager->GetCategories()->Add(L"Files");
  TdxBar* files = AddBar({L"Open", L"Save"});
  TdxBar* mixed = AddBar({L"Open", L"Print"});
  TdxBar* empty = AddBar({});
  for (TdxBar* bar : {files, mixed})
    for (int i = 0; i < bar->GetItemLinks()->Count(); ++i)
      bar->GetItemLinks()->Items(i)->GetItem()->SetCategory(1);
  mixed->GetItemLinks()->Items(1)->GetItem()->SetCategory(0);
  for (TdxBar* bar : {files, mixed, empty})
    bar->SetVisible(true);
  Manager->SetAutoHideEmptyBars(true);

  Manager->SetCategoryItemsVisible(1, ivNever);
  EXPECT_FALSE(files->GetVisible());
  EXPECT_TRUE(files->GetAutoHidden());
  EXPECT_TRUE(mixed->GetVisible()) << "it still shows a link";
  EXPECT_TRUE(empty->GetVisible()) << "a bar empty before stays as it was";
  EXPECT_FALSE(empty->GetAutoHidden());

  Manager->SetCategoryItemsVisible(1, ivAlways);
  EXPECT_TRUE(files->GetVisible());
  EXPECT_FALSE(files->GetAutoHidden());
  ASSERT_NE(files->GetControl(), nullptr);

  // Switched off, the manager forgets which bars it hid.
  Manager->SetCategoryItemsVisible(1, ivNever);
  ASSERT_TRUE(files->GetAutoHidden());
  Manager->SetAutoHideEmptyBars(false);
  EXPECT_FALSE(files->GetAutoHidden());
  Manager->SetCategoryItemsVisible(1, ivAlways);
  EXPECT_FALSE(files->GetVisible());
}

TEST_F(TManagerRules, TheEndOfAnUpdateDropsTheRowsItLeftEmptyAndLaysTheSiteOut)
{
  ShowForm();
  TdxBar* first = AddDropDownBar();
  TdxBar* second = AddDropDownBar();
  TdxDockControl* top = Bars()->GetDockControl(dsTop);
  ASSERT_EQ(top->GetRowCount(), 2);
  const int height = top->GetHeight();
  Manager->BeginUpdate();
  first->SetRow(7);
  EXPECT_EQ(top->GetRowCount(), 8);
  Manager->EndUpdate();
  EXPECT_EQ(top->GetRowCount(), 2);
  EXPECT_EQ(second->GetRow(), 0);
  EXPECT_EQ(first->GetRow(), 1);
  EXPECT_EQ(top->GetHeight(), height);
  EXPECT_EQ(first->GetControl()->GetTop(), second->GetControl()->GetTop() + second->GetControl()->GetHeight() +
                                               Manager->GetPainter()->GetDockRowSpacing());
}

// Floating windows are outside the sites' redraw lock: those changed during an update repaint
// when it ends, rebuilt or, when the update ends without rebuilding, as they are; the others are
// left alone.
TEST_F(TManagerRules, TheEndOfAnUpdateRepaintsTheFloatingWindowsItChanged)
{
  ShowForm();
  TdxBar* changed = AddBar({L"Open", L"Save"}, dsNone);
  TdxBar* other = AddBar({L"Print"}, dsNone);
  changed->SetVisible(true);
  other->SetVisible(true);
  HWND changedWnd = changed->GetControl()->GetHandle();
  HWND otherWnd = other->GetControl()->GetHandle();
  ASSERT_TRUE(PumpUntil(
      [&] { return !GetUpdateRect(changedWnd, nullptr, FALSE) && !GetUpdateRect(otherWnd, nullptr, FALSE); }));
  for (bool rebuild : {true, false}) {
    SCOPED_TRACE(rebuild);
    Manager->BeginUpdate();
    changed->GetControl()->RebuildBar();
    EXPECT_FALSE(GetUpdateRect(changedWnd, nullptr, FALSE)) << "rebuilt under the lock";
    Manager->EndUpdate(rebuild);
    EXPECT_TRUE(GetUpdateRect(changedWnd, nullptr, FALSE)) << "the changed floating window was not repainted";
    EXPECT_FALSE(GetUpdateRect(otherWnd, nullptr, FALSE)) << "an unchanged window was repainted";
    EXPECT_TRUE(PumpUntil([&] { return !GetUpdateRect(changedWnd, nullptr, FALSE); }));
  }
  // The next update that rebuilds takes the window left pending along.
  Manager->BeginUpdate();
  Manager->EndUpdate();
  EXPECT_FALSE(changed->GetControl()->IsRebuildPending());
}

// At design time a bar's client area shows its bounds by a double dotted frame, also where no
// item lies; at run time it has none.
TEST_F(TManagerRules, ABarAtDesignTimeShowsADottedDoubleFrame)
{
  ShowForm();
  TdxBar* bar = AddDropDownBar();
  HWND wnd = bar->GetControl()->GetHandle();
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  // Dotted pixels of the client area's outer and inner top rows.
  auto dots = [&](int ARow) {
    RECT r{};
    GetClientRect(wnd, &r);
    TDib32 client(r.right, r.bottom, RGB(1, 2, 3));
    PrintWindow(wnd, client.DC(), PW_CLIENTONLY);
    int count = 0;
    for (int x = ARow; x < r.right - ARow; ++x)
      count += ColorsClose(client.Pixel(x, ARow), text, 0) && (x + ARow) % 2 == 0;
    return std::pair{count, int(r.right) - 2 * ARow};
  };
  const auto [runDots, width] = dots(0);
  EXPECT_LT(runDots, width / 4) << "a frame at run time";
  Manager->SetDesigning(true);
  bar->GetControl()->Invalidate();
  for (int row : {0, 1}) {
    const auto [designDots, rowWidth] = dots(row);
    EXPECT_GE(designDots, rowWidth / 2 - 1) << "row " << row;
  }
  Manager->SetDesigning(false);
}

TEST_F(TManagerRules, AWindowDestroyedFromOutsideLeavesItsRowMatesOneOnRowAlone)
{
  ShowForm();
  TdxBar* left = AddBar({L"Open"});
  TdxBar* right = AddBar({L"Save"});
  for (TdxBar* bar : {left, right}) {
    bar->SetOneOnRow(false);
    bar->SetVisible(true);
  }
  TdxDockControl* top = Bars()->GetDockControl(dsTop);
  ASSERT_EQ(top->GetRowCount(), 1);
  ASSERT_EQ(top->GetRow(0)->GetColCount(), 2);
  DestroyWindow(left->GetControl()->GetHandle());
  EXPECT_FALSE(left->GetVisible());
  EXPECT_FALSE(top->IsBarDestroying());
  EXPECT_EQ(top->GetRow(0)->GetColCount(), 1);
  EXPECT_FALSE(right->GetOneOnRow()) << "the site reports no rows while a window goes";
}

TEST_F(TManagerRules, RenamingTheManagerAtDesignTimeRenamesTheItemsThatFollowItsName)
{
  TdxBarItem* follower = new TdxBarButton(Host.Form());
  follower->SetName(L"dxBarManager1Button1");
  TdxBarItem* other = new TdxBarButton(Host.Form());
  other->SetName(L"OpenButton");
  Manager->SetName(L"Bars");
  EXPECT_EQ(follower->Name(), L"dxBarManager1Button1") << "only at design time";
  Manager->SetName(L"dxBarManager1");
  Manager->SetDesigning(true);
  Manager->SetName(L"Menus");
  Manager->SetDesigning(false);
  EXPECT_EQ(follower->Name(), L"MenusButton1");
  EXPECT_EQ(other->Name(), L"OpenButton");
}

TEST_F(TManagerRules, TheActiveBarWindowAndItsManagerAreTheOnesTheBarWindowsActivated)
{
  ShowForm();
  TdxBar* bar = AddDropDownBar();
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_EQ(ActiveBarManager(), nullptr);
  EXPECT_FALSE(IsActiveBarControlEnabled());
  TCustomdxBarControl* control = bar->GetControl();
  control->ActivateWithControl(nullptr);
  EXPECT_EQ(ActiveBarControl(), control);
  EXPECT_EQ(ActiveBarManager(), Manager);
  EXPECT_TRUE(IsActiveBarControlEnabled());
  EnableWindow(Host.Form()->GetHandle(), FALSE);
  EXPECT_FALSE(IsActiveBarControlEnabled()) << "a disabled parent disables it";
  EnableWindow(Host.Form()->GetHandle(), TRUE);
  control->Deactivate();
  EXPECT_EQ(ActiveBarManager(), nullptr);
}

// What the screen shows of a window: a window that was not told to repaint shows its old
// picture there, whatever it would paint if asked.
TDib32 Shown(HWND AWnd)
{
  TRect r = WindowRectOf(AWnd);
  return CaptureScreen(RECT{r.left, r.top, r.right, r.bottom});
}

// Inked pixels (darker than the face) in the last AWidth columns of the window.
int InkAtTheEnd(HWND AWnd, int AWidth)
{
  TDib32 shot = Shown(AWnd);
  RECT r{};
  GetClientRect(AWnd, &r);
  const RECT end{std::max(0, int(r.right) - AWidth), 0, r.right, r.bottom};
  return CountPixels(shot, end, [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200; });
}

// The main menu shows a close button with ShowCloseButton, drawn flat with FlatCloseButton,
// as soon as either is set: its window is rebuilt.
TEST_F(TManagerRules, TheCloseButtonSettingsShowOnTheMainMenuAtOnce)
{
  ShowForm();
  Manager->SetStyle(bmsStandard);
  TdxBar* menu = AddBar({L"File", L"Edit"});
  menu->SetIsMainMenu(true);
  menu->SetVisible(true);
  TdxBarControl* c = menu->GetControl();
  ASSERT_NE(c, nullptr);
  HWND wnd = c->GetHandle();
  ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(wnd, nullptr, FALSE); }));
  const int widthBefore = c->GetWidth();
  EXPECT_EQ(InkAtTheEnd(wnd, 24), 0) << "no close button yet";

  Manager->SetShowCloseButton(true);
  EXPECT_TRUE(PumpUntil([&] { return InkAtTheEnd(wnd, 24) > 0; })) << "the close cross does not show";
  EXPECT_EQ(c->GetWidth(), widthBefore) << "a main menu keeps its whole row";
  const TDib32 raised = Shown(wnd);

  Manager->SetFlatCloseButton(true);
  RECT client{};
  GetClientRect(wnd, &client);
  const RECT end{client.right - 24, 0, client.right, client.bottom};
  EXPECT_TRUE(PumpUntil([&] { return CountDifferentPixels(Shown(wnd), end, raised, 8) > 0; }))
      << "the close button is not drawn flat";

  Manager->SetShowCloseButton(false);
  EXPECT_TRUE(PumpUntil([&] { return InkAtTheEnd(wnd, 24) == 0; })) << "the close button stays";
}

// A theme change and a new bar background re-apply the style: every bar window is remade, its
// item controls new.
TEST_F(TManagerRules, AThemeChangeAndANewBarBackgroundRemakeTheBarWindows)
{
  ShowForm();
  TdxBar* bar = AddDropDownBar();
  TBitmap red;
  red.SetSize(8, 8);
  red.GetCanvas()->GetBrush()->SetColor(TColor(RGB(255, 0, 0)));
  red.GetCanvas()->FillRect(TRect{0, 0, 8, 8});
  TBitmap none;
  const std::pair<const char*, std::function<void()>> routes[] = {
      {"theme", [] { dxNotifyThemeChanged(); }},
      {"background", [&] { Manager->GetBackgrounds()->SetBar(&red); }},
      {"background drawn on", [&] { Manager->GetBackgrounds()->GetBar()->GetCanvas()->SetPixel(1, 1, clBlue); }},
      {"background taken away", [&] { Manager->GetBackgrounds()->SetBar(&none); }},
  };
  for (const auto& [name, route] : routes) {
    SCOPED_TRACE(name);
    TdxBarItemLink* link = bar->GetItemLinks()->Items(0);
    TWeakRef<TdxBarItemControl> old(link->GetControl());
    ASSERT_TRUE(old);
    route();
    EXPECT_FALSE(old) << "the bar window was not remade";
    EXPECT_NE(link->GetControl(), nullptr);
  }
  // Nil given to an empty background changes nothing.
  TWeakRef<TdxBarItemControl> kept(bar->GetItemLinks()->Items(0)->GetControl());
  Manager->GetBackgrounds()->SetBar(nullptr);
  EXPECT_TRUE(kept);
}

}  // namespace
