// Dock sites with real toolbar windows: rows and columns, docking at a point, the row
// layout to the pixel (windows of fixed lengths), the site's size, the sunken border, the
// untrusted stored row, colours and the mouse reactions.
#include "DockTestUtil.h"

#include <chrono>
#include <climits>
#include <set>

#include "support/Input.h"
#include "bars/itemcontrols/buttons.h"
#include "support/Pixels.h"

namespace {

class DockSite : public testing::Test {
protected:
  void SetUp() override
  {
    Host.Form()->SetBounds(80, 80, 640, 420);
    Dock = new TFixedSizeDock(Host.Form());
    Dock->SetParent(Host.Form());
    Dock->SetBarManager(Host.Manager);
    Host.Form()->Show();
    PumpPending();
  }

  // A bar docked in the test site from its settings, its window of fixed lengths.
  TdxBar* AddBar(TFixedBarSize ASize, int ARow, bool AOneOnRow, int ADockedLeft = 0)
  {
    TdxBar* bar = Host.Manager->GetBars()->Add();
    Dock->Sizes[bar] = ASize;
    bar->SetDockControl(Dock);
    bar->SetRow(ARow);
    bar->SetOneOnRow(AOneOnRow);
    bar->SetDockedLeft(ADockedLeft);
    bar->SetVisible(true);
    return bar;
  }

  static TRect BoundsOf(TdxBar* ABar) { return ABar->GetControl()->GetBoundsRect(); }
  int Spacing() const { return Host.Manager->GetPainter()->GetDockRowSpacing(); }
  // A screen point in the site at client (X, Y).
  TPoint ScreenAt(int X, int Y) { return Dock->ClientToScreen(TPoint{X, Y}); }

  TBarHost<TDockTestForm> Host;
  TFixedSizeDock* Dock = nullptr;
};

testing::AssertionResult BoundsAre(const TRect& Actual, int Left, int Top, int Width, int Height)
{
  if (Actual.left == Left && Actual.top == Top && RectWidth(Actual) == Width && RectHeight(Actual) == Height)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "bounds (" << Actual.left << ", " << Actual.top << ", " << RectWidth(Actual)
                                     << " x " << RectHeight(Actual) << "), expected (" << Left << ", " << Top << ", "
                                     << Width << " x " << Height << ")";
}

}  // namespace

// --- Rows, columns and the site's size.

TEST_F(DockSite, BarsShareRowsAndTheSiteSizesItselfToThem)
{
  TdxBar* a = AddBar({40, 100, 26}, 0, true, 0);
  TdxBar* b = AddBar({40, 120, 22}, 0, false, 150);
  TdxBar* c = AddBar({40, 80, 30}, 1, true, 10);
  ASSERT_EQ(Dock->GetRowCount(), 2);
  EXPECT_EQ(Dock->GetRow(0)->GetColCount(), 2);
  EXPECT_EQ(a->GetDockRow(), Dock->GetRow(0));
  EXPECT_EQ(b->GetRow(), 0);
  EXPECT_EQ(c->GetRow(), 1);
  // Two windows on a row: neither is alone there.
  EXPECT_FALSE(a->GetOneOnRow());
  EXPECT_FALSE(b->GetOneOnRow());
  EXPECT_TRUE(c->GetOneOnRow());

  // Every window of a row takes the row's thickness.
  EXPECT_TRUE(BoundsAre(BoundsOf(a), 0, 0, 100, 26));
  EXPECT_TRUE(BoundsAre(BoundsOf(b), 150, 0, 120, 26));
  EXPECT_TRUE(BoundsAre(BoundsOf(c), 10, 26 + Spacing(), 80, 30));
  EXPECT_EQ(Dock->GetHeight(), 26 + Spacing() + 30);
  EXPECT_EQ(Dock->GetRowsSize(), 26 + Spacing() + 30);

  // Hiding the second row's bar frees its row and the site shrinks.
  c->SetVisible(false);
  EXPECT_EQ(Dock->GetRowCount(), 1);
  EXPECT_EQ(Dock->GetHeight(), 26);
}

TEST_F(DockSite, AWindowThatChangesOrJoinsMovesTheRowsAfterItsOwn)
{
  TdxBar* a = AddBar({40, 100, 26}, 0, true);
  TdxBar* b = AddBar({40, 120, 22}, 1, true, 30);
  TdxBar* c = AddBar({40, 80, 30}, 2, true, 10);
  // The first window grows and rebuilds: its row is laid out again, the others move down.
  Dock->Sizes[a] = {40, 150, 40};
  a->GetControl()->RebuildBar();
  EXPECT_TRUE(BoundsAre(BoundsOf(a), 0, 0, 150, 40));
  EXPECT_TRUE(BoundsAre(BoundsOf(b), 30, 40 + Spacing(), 120, 22));
  EXPECT_TRUE(BoundsAre(BoundsOf(c), 10, 40 + 22 + 2 * Spacing(), 80, 30));
  EXPECT_EQ(Dock->GetHeight(), 40 + 22 + 30 + 2 * Spacing());

  // A window docked on a new row between them pushes the rows after it down alike.
  TdxBar* d = AddBar({40, 60, 24}, 1, true, 5);
  ASSERT_EQ(Dock->GetRowCount(), 4);
  EXPECT_TRUE(BoundsAre(BoundsOf(d), 5, 40 + Spacing(), 60, 24));
  EXPECT_TRUE(BoundsAre(BoundsOf(b), 30, 40 + 24 + 2 * Spacing(), 120, 22));
  EXPECT_TRUE(BoundsAre(BoundsOf(c), 10, 40 + 24 + 22 + 3 * Spacing(), 80, 30));
  EXPECT_EQ(Dock->GetHeight(), 40 + 24 + 22 + 30 + 3 * Spacing());
}

TEST_F(DockSite, SqueezedRowHidesItemsOfTheRightmostWindowAndKeepsMinimums)
{
  Host.Form()->SetClientWidth(300);
  PumpPending();
  ASSERT_EQ(Dock->GetClientWidth(), 300);
  TdxBar* a = AddBar({60, 200, 24}, 0, false, 0);
  TdxBar* b = AddBar({60, 200, 24}, 0, false, 200);
  EXPECT_TRUE(BoundsAre(BoundsOf(a), 0, 0, 200, 24));
  EXPECT_TRUE(BoundsAre(BoundsOf(b), 200, 0, 100, 24));
  EXPECT_FALSE(a->GetControl()->GetItemsHidden());
  EXPECT_TRUE(b->GetControl()->GetItemsHidden());

  // Narrower than both full lengths together and than one: the first takes the rest.
  Host.Form()->SetClientWidth(150);
  PumpPending();
  EXPECT_TRUE(BoundsAre(BoundsOf(a), 0, 0, 90, 24));
  EXPECT_TRUE(BoundsAre(BoundsOf(b), 90, 0, 60, 24));
  EXPECT_TRUE(a->GetControl()->GetItemsHidden());

  // The first one's minimum past the edge: the second would lie wholly beyond it, and goes
  // to a row of its own below instead.
  Dock->Sizes[a] = {160, 200, 24};
  Dock->RealignBars();
  EXPECT_EQ(a->GetRow(), 0);
  EXPECT_EQ(b->GetRow(), 1);
  EXPECT_EQ(BoundsOf(b).left, 0);
  EXPECT_EQ(BoundsOf(b).top, 24 + Spacing());
}

TEST_F(DockSite, WindowAfterTheOneWhoseItemIsResizedKeepsItsPlace)
{
  // Squeezed, the second window would be pulled back to the first one's full length (100);
  // while the user drags an item's width on the first it stays where it was.
  Host.Form()->SetClientWidth(180);
  PumpPending();
  TdxBar* a = AddBar({40, 100, 24}, 0, true, 0);
  a->GetControl()->SetResizingItem(true);
  TdxBar* b = AddBar({40, 100, 24}, 0, false, 130);
  EXPECT_TRUE(BoundsAre(BoundsOf(a), 0, 0, 130, 24));
  EXPECT_TRUE(BoundsAre(BoundsOf(b), 130, 0, 50, 24));
  a->GetControl()->SetResizingItem(false);
  Dock->RealignBars();
  EXPECT_TRUE(BoundsAre(BoundsOf(b), 100, 0, 80, 24));
}

TEST_F(DockSite, AutoAlignBarsPacksEveryRowFromTheStart)
{
  TdxBar* a = AddBar({40, 100, 24}, 0, false, 30);
  TdxBar* b = AddBar({40, 100, 24}, 0, false, 300);
  EXPECT_EQ(BoundsOf(a).left, 30);
  EXPECT_EQ(BoundsOf(b).left, 300);
  Host.Manager->SetAutoAlignBars(true);
  Dock->RealignBars();
  EXPECT_EQ(BoundsOf(a).left, 0);
  EXPECT_EQ(BoundsOf(b).left, 100);
}

TEST_F(DockSite, VerticalSiteStacksRowsSideBySideAndSizesItsWidth)
{
  Dock->SetAlign(dalLeft);
  ASSERT_EQ(Dock->GetDockingStyle(), dsLeft);
  TdxBar* a = AddBar({40, 100, 26}, 0, true, 0);
  TdxBar* b = AddBar({40, 90, 30}, 1, true, 0);
  b->SetDockedTop(50);
  PumpPending();
  ASSERT_EQ(Dock->GetRowCount(), 2);
  // Along the rows is down the site; a row's thickness is its windows' width.
  EXPECT_TRUE(BoundsAre(BoundsOf(a), 0, 0, 26, 100));
  EXPECT_TRUE(BoundsAre(BoundsOf(b), 26 + Spacing(), 50, 30, 90));
  EXPECT_EQ(Dock->GetWidth(), 26 + Spacing() + 30);
  EXPECT_EQ(a->GetControl()->GetDockingStyle(), dsLeft);
}

// --- Docking at a point.

TEST_F(DockSite, DropOnTheBandBetweenTwoRowsMakesANewRowThere)
{
  AddBar({40, 100, 26}, 0, true);
  TdxBar* lower = AddBar({40, 100, 26}, 1, true);
  TdxBar* moved = AddBar({40, 90, 20}, 0, false, 200);
  ASSERT_EQ(Dock->GetRowCount(), 2);
  ASSERT_EQ(moved->GetRow(), 0);

  // The boundary between the rows: the band runs around it.
  ASSERT_EQ(Dock->GetRowStart(1), 26 + Spacing());
  Dock->MoveBarControl(moved->GetControl(), ScreenAt(200, Dock->GetRowStart(1)));
  ASSERT_EQ(Dock->GetRowCount(), 3);
  EXPECT_EQ(moved->GetRow(), 1);
  EXPECT_TRUE(moved->GetOneOnRow());
  EXPECT_EQ(lower->GetRow(), 2);
  EXPECT_EQ(BoundsOf(moved).top, 26 + Spacing());
  EXPECT_EQ(BoundsOf(lower).top, 26 + Spacing() + 20 + Spacing());
  EXPECT_EQ(Dock->GetHeight(), 26 + 20 + 26 + 2 * Spacing());
}

TEST_F(DockSite, DropOnARowInsertsAmongItsWindowsByPosition)
{
  TdxBar* a = AddBar({40, 100, 24}, 0, false, 0);
  TdxBar* b = AddBar({40, 100, 24}, 0, false, 300);
  TdxBar* c = AddBar({40, 80, 24}, 1, true, 0);
  ASSERT_EQ(Dock->GetRowCount(), 2);

  Dock->MoveBarControl(c->GetControl(), ScreenAt(150, 12));
  ASSERT_EQ(Dock->GetRowCount(), 1);  // the emptied row went
  TdxDockRow* row = Dock->GetRow(0);
  ASSERT_EQ(row->GetColCount(), 3);
  EXPECT_EQ(row->IndexOfBarControl(a->GetControl()), 0);
  EXPECT_EQ(row->IndexOfBarControl(c->GetControl()), 1);
  EXPECT_EQ(row->IndexOfBarControl(b->GetControl()), 2);
  EXPECT_EQ(BoundsOf(c).left, 150);
  EXPECT_EQ(BoundsOf(c).top, 0);
  EXPECT_FALSE(c->GetOneOnRow());
  EXPECT_EQ(Dock->GetHeight(), 24);
}

TEST_F(DockSite, DropBeyondEveryZoneMakesARowAtTheEnd)
{
  AddBar({40, 100, 24}, 0, true);
  TdxBar* moved = AddBar({40, 100, 24}, 0, false, 200);
  Dock->MoveBarControl(moved->GetControl(), ScreenAt(10, 200));
  EXPECT_EQ(Dock->GetRowCount(), 2);
  EXPECT_EQ(moved->GetRow(), 1);
}

TEST_F(DockSite, WholeRowBarNeverSharesItsRow)
{
  TdxBar* menu = AddBar({40, 100, 24}, 0, true);
  menu->SetWholeRow(true);
  PumpPending();
  TdxBar* other = AddBar({40, 100, 24}, 0, false, 300);
  EXPECT_EQ(Dock->GetRowCount(), 2);
  EXPECT_NE(menu->GetDockRow(), other->GetDockRow());
  // The whole-row bar spans the site.
  EXPECT_EQ(RectWidth(BoundsOf(menu)), Dock->GetClientWidth());
}

// A bar dropped on the lower half of a whole-row bar's row goes below it, on the upper half
// above it: the whole-row bar keeps its row to itself either way.
TEST_F(DockSite, DropOnAWholeRowBarsRowGoesToTheSideOfItThePointIsOn)
{
  TdxBar* menu = AddBar({40, 100, 24}, 0, true);
  menu->SetWholeRow(true);
  TdxBar* other = AddBar({40, 100, 24}, 1, true);
  ASSERT_EQ(other->GetRow(), 1);
  Dock->MoveBarControl(other->GetControl(), ScreenAt(50, 18));
  EXPECT_EQ(menu->GetRow(), 0);
  EXPECT_EQ(other->GetRow(), 1);
  EXPECT_EQ(menu->GetDockRow()->GetColCount(), 1);
  Dock->MoveBarControl(other->GetControl(), ScreenAt(50, 6));
  EXPECT_EQ(other->GetRow(), 0);
  EXPECT_EQ(menu->GetRow(), 1);
  EXPECT_EQ(menu->GetDockRow()->GetColCount(), 1);
}

TEST_F(DockSite, BarPlacedAgainKeepsTheRowItHasToItself)
{
  TdxBar* a = AddBar({40, 100, 24}, 0, true);
  TdxBar* b = AddBar({40, 100, 24}, 1, true);
  // A new position takes the window out and docks it again from the bar's settings.
  b->SetDockedLeft(120);
  ASSERT_EQ(Dock->GetRowCount(), 2);
  EXPECT_EQ(b->GetRow(), 1);
  EXPECT_TRUE(b->GetOneOnRow());
  EXPECT_NE(a->GetDockRow(), b->GetDockRow());
  EXPECT_EQ(BoundsOf(b).left, 120);
}

TEST_F(DockSite, RowBoundaryPointFindsTheSameRowAgain)
{
  AddBar({40, 100, 26}, 0, true);
  AddBar({40, 100, 26}, 1, true);
  bool newRow = false;
  EXPECT_EQ(Dock->FindRowAt(Dock->GetRowBoundaryPoint(1, false), newRow), 1);
  EXPECT_FALSE(newRow);
  EXPECT_EQ(Dock->FindRowAt(Dock->GetRowBoundaryPoint(1, true), newRow), 1);
  EXPECT_TRUE(newRow);
  EXPECT_EQ(Dock->FindRowAt(Dock->GetRowBoundaryPoint(2, true), newRow), 2);
  EXPECT_TRUE(newRow);
}

// --- Untrusted stored rows.

TEST_F(DockSite, HugeStoredRowNeverMakesMoreRowsThanBars)
{
  AddBar({40, 100, 24}, 0, true);
  AddBar({40, 100, 24}, 0, false, 200);
  AddBar({40, 100, 24}, 0, false, 400);
  ASSERT_EQ(Dock->GetRowCount(), 1);
  // Three bars: a stored layout needs rows 0 to 2 at most.
  EXPECT_EQ(Dock->GetMaxStoredRowIndex(), 2);
  auto started = std::chrono::steady_clock::now();
  TdxDockRow* last = Dock->AddRowsUpTo(INT_MAX);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
  EXPECT_EQ(Dock->GetRowCount(), 3);
  EXPECT_EQ(last, Dock->GetRow(2));
  EXPECT_EQ(Dock->AddRowsUpTo(-1), nullptr);
  EXPECT_EQ(Dock->AddRowsUpTo(1), Dock->GetRow(1));
  EXPECT_EQ(Dock->GetRowCount(), 3);
}

TEST_F(DockSite, HugeRowSetWhileUpdateLockedStaysBounded)
{
  AddBar({40, 100, 24}, 0, true);
  TdxBar* b = AddBar({40, 100, 24}, 0, false, 200);
  // While the manager is update-locked a bar's Row appends rows up to it.
  auto started = std::chrono::steady_clock::now();
  Host.Manager->BeginUpdate();
  b->SetRow(INT_MAX);
  Host.Manager->EndUpdate();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_LE(Dock->GetRowCount(), dxDockMaxRowIndex + 1);
  EXPECT_EQ(b->GetRow(), Dock->GetRowCount() - 1);
  // Rows there are stay reachable, past the bar count.
  EXPECT_EQ(Dock->GetMaxStoredRowIndex(), Dock->GetRowCount() - 1);
}

// --- What a new or removed row costs the others.

TEST_F(DockSite, RowAddedOrRemovedLeavesTheOtherWindowsAlone)
{
  Host.Manager->SetDockColor(clRed);
  std::vector<TdxBar*> bars;
  for (int i = 0; i < 4; ++i)
    bars.push_back(AddBar({40, 100, 24}, i, true));
  PumpPending();
  Dock->Measured.clear();

  // A fifth row: the windows there already are neither laid out nor drawn again.
  TdxBar* last = AddBar({40, 100, 24}, 4, true);
  EXPECT_EQ(Dock->GetHeight(), 5 * 24 + 4 * Spacing());
  for (TdxBar* bar : bars) {
    EXPECT_EQ(Dock->Measured[bar], 0);
    EXPECT_FALSE(GetUpdateRect(bar->GetControl()->GetHandle(), nullptr, FALSE));
  }
  EXPECT_GT(Dock->Measured[last], 0);
  // The site draws its new part: its colour shows beside the new window.
  ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(Dock->GetHandle(), nullptr, FALSE); }));
  const TPoint beside = Dock->ClientToScreen(TPoint{300, BoundsOf(last).top + 12});
  EXPECT_TRUE(ColorNear(CaptureScreen(Bounds(beside.x, beside.y, 1, 1)).Pixel(0, 0), RGB(255, 0, 0)));

  // The row gone again: where it was, the form shows once more, and nothing else is redrawn.
  const TPoint below = Dock->ClientToScreen(TPoint{300, BoundsOf(last).top + 12});
  last->SetVisible(false);
  EXPECT_EQ(Dock->GetHeight(), 4 * 24 + 3 * Spacing());
  for (TdxBar* bar : bars)
    EXPECT_FALSE(GetUpdateRect(bar->GetControl()->GetHandle(), nullptr, FALSE));
  ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(Host.Form()->GetHandle(), nullptr, FALSE); }));
  EXPECT_TRUE(ColorNear(CaptureScreen(Bounds(below.x, below.y, 1, 1)).Pixel(0, 0), GetSysColor(COLOR_BTNFACE)));
}

// --- Sizes of empty sites and the sunken border.

TEST_F(DockSite, SunkenBorderAddsTwoPixelsAndAFrame)
{
  AddBar({40, 100, 24}, 0, true);
  ASSERT_EQ(Dock->GetHeight(), 24);
  // The site's own value counts only once the site says so.
  Dock->SetSunkenBorder(true);
  EXPECT_EQ(Dock->GetHeight(), 24);
  Dock->SetUseOwnSunkenBorder(true);
  EXPECT_EQ(Dock->GetHeight(), 26);
  EXPECT_EQ(Dock->GetClientHeight(), 24);
  EXPECT_EQ(Dock->GetClientWidth(), Dock->GetWidth() - 2);

  // The frame is the sunken outer edge: shadow at the top-left, highlight at the bottom-right.
  RedrawWindow(Dock->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetWindowDC(Dock->GetHandle());
  COLORREF topLeft = GetPixel(dc, 5, 0);
  COLORREF bottom = GetPixel(dc, 5, Dock->GetHeight() - 1);
  ReleaseDC(Dock->GetHandle(), dc);
  EXPECT_TRUE(ColorNear(topLeft, GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ColorNear(bottom, GetSysColor(COLOR_BTNHIGHLIGHT)));

  // Back to the manager's setting (off).
  Dock->SetUseOwnSunkenBorder(false);
  EXPECT_EQ(Dock->GetHeight(), 24);
  Host.Manager->SetSunkenBorder(true);
  EXPECT_EQ(Dock->GetHeight(), 26);
  Host.Manager->SetSunkenBorder(false);
}

TEST(DockSiteSize, FarSitesKeepTheirFarEdgeWhenTheyGrow)
{
  TBarHost<TDockTestForm> host;
  TOwned<TdxDockControl> bottom(TdxDockControl::CreateEx(host.Form(), dsBottom, host.Manager));
  bottom->TControl::SetAlign(alNone);
  bottom->SetParent(host.Form());
  bottom->SetBounds(0, 300, 400, 0);
  host.Manager->SetSunkenBorder(true);
  // An (empty) row and the border: 2 pixels, grown upwards.
  bottom->AddRow();
  bottom->UpdateSize();
  EXPECT_EQ(bottom->GetHeight(), 2);
  EXPECT_EQ(bottom->GetTop() + bottom->GetHeight(), 300);
  EXPECT_EQ(bottom->GetDockingStyle(), dsBottom);
  EXPECT_TRUE(bottom->IsOwnedByManager());

  TOwned<TdxDockControl> right(TdxDockControl::CreateEx(host.Form(), dsRight, host.Manager));
  right->TControl::SetAlign(alNone);
  right->SetParent(host.Form());
  right->SetBounds(500, 0, 0, 200);
  right->AddRow();
  right->UpdateSize();
  EXPECT_EQ(right->GetWidth(), 2);
  EXPECT_EQ(right->GetLeft() + right->GetWidth(), 500);
  EXPECT_TRUE(right->IsVertical());
  host.Manager->SetSunkenBorder(false);
}

// --- Colour and docking permission.

TEST_F(DockSite, ColourFollowsTheManagerUnlessTheSiteHasItsOwn)
{
  EXPECT_TRUE(Dock->GetParentColor());
  Host.Manager->SetDockColor(clRed);
  EXPECT_FALSE(Dock->GetParentColor());
  EXPECT_EQ(Dock->GetColor(), clRed);
  EXPECT_FALSE(Dock->GetUseOwnColor());

  Dock->SetColor(clBlue);
  EXPECT_TRUE(Dock->GetUseOwnColor());
  Host.Manager->SetDockColor(clLime);
  EXPECT_EQ(Dock->GetColor(), clBlue);

  Dock->SetUseOwnColor(false);
  EXPECT_EQ(Dock->GetColor(), clLime);
  Host.Manager->SetAutoDockColor(true);
  EXPECT_TRUE(Dock->GetParentColor());
}

TEST_F(DockSite, SiteWithoutManagerDoesNothing)
{
  TOwned<TdxBarDockControl> lone(new TdxBarDockControl(Host.Form()));
  lone->SetParent(Host.Form());
  lone->SetHeight(30);
  lone->RealignBars();
  lone->UpdateSize();
  EXPECT_EQ(lone->GetHeight(), 30);
  EXPECT_EQ(lone->GetDockingStyle(), dsTop);
  lone->SetAlign(dalLeft);
  EXPECT_EQ(lone->GetDockingStyle(), dsLeft);
  EXPECT_TRUE(lone->IsVertical());
}

// --- Mouse reactions (real input).

TEST_F(DockSite, RightClickShowsTheToolbarsPopupUnlessCustomizing)
{
  AddBar({40, 100, 24}, 0, true);
  int popups = 0, customizes = 0;
  TdxDockControl::ShowToolbarsPopupProc = [&](TdxDockControl* ADock) { popups += ADock == Dock; };
  TdxDockControl::CustomizeProc = [&](TdxDockControl* ADock) { customizes += ADock == Dock; };
  const TPoint free = ScreenAt(400, 10);
  EXPECT_TRUE(ClickAt(free, TInputButton::Right));
  PumpUntil([&] { return popups > 0; }, 2000);
  EXPECT_EQ(popups, 1);

  Host.Manager->SetIsCustomizing(true);
  EXPECT_TRUE(ClickAt(free, TInputButton::Right));
  PumpFor(100);
  EXPECT_EQ(popups, 1);
  Host.Manager->SetIsCustomizing(false);

  EXPECT_TRUE(DoubleClickAt(free));
  PumpUntil([&] { return customizes > 0; }, 2000);
  EXPECT_EQ(customizes, 1);
  Host.Manager->SetCanCustomize(false);
  EXPECT_TRUE(DoubleClickAt(free));
  PumpFor(100);
  EXPECT_EQ(customizes, 1);

  TdxDockControl::ShowToolbarsPopupProc = nullptr;
  TdxDockControl::CustomizeProc = nullptr;
}

// Many bars added to one site wrap as drops would place them: each row filled before the
// next begins, and every window starts on the form.
TEST(DockSiteWrapping, ManyBarsFillEachRowAndStayOnTheForm)
{
  TBarHost<TDockTestForm> host;
  host.Form()->SetBounds(40, 40, 700, 560);
  host.Form()->Show();
  PumpPending();
  TdxBarManager* manager = host.Manager;
  manager->BeginUpdate();
  for (int i = 0; i < 200; ++i) {
    TdxBar* bar = manager->GetBars()->Add();
    bar->SetDockingStyle(dsTop);
    auto* button = new TdxBarButton(host.Form());
    button->SetCaption(L"B" + std::to_wstring(i));
    button->SetPaintStyle(psCaption);
    bar->GetItemLinks()->AddItem(button);
    bar->SetVisible(true);
  }
  manager->EndUpdate();
  PumpPending();

  auto* site = dynamic_cast<TdxDockControl*>(manager->GetDockControlOfSide(dsTop));
  ASSERT_NE(site, nullptr);
  const int length = site->GetClientWidth();
  RECT formClient{};
  ::GetClientRect(host.Form()->GetHandle(), &formClient);
  const int rows = site->GetRowCount();
  int windows = 0;
  for (int r = 0; r < rows; ++r) {
    TdxDockRow* row = site->GetRow(r);
    // The windows that wrapped took their bars along, each knowing its row and column.
    EXPECT_EQ(row->GetBarCount(), row->GetColCount()) << "row " << r;
    int used = 0;
    for (int c = 0; c < row->GetColCount(); ++c) {
      TdxBarControl* control = row->GetCol(c)->GetBarControl();
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(control->GetDockCol(), row->GetCol(c));
      EXPECT_EQ(control->GetBar()->GetDockRow(), row);
      EXPECT_EQ(control->GetBar()->GetOneOnRow(), row->GetColCount() == 1);
      ++windows;
      RECT bounds{};
      ::GetWindowRect(control->GetHandle(), &bounds);
      ::MapWindowPoints(nullptr, host.Form()->GetHandle(), reinterpret_cast<POINT*>(&bounds), 2);
      EXPECT_TRUE(bounds.left >= 0 && bounds.left < formClient.right && bounds.bottom <= formClient.bottom)
          << "row " << r << " col " << c << ": " << bounds.left << ", " << bounds.top << ", " << bounds.right << ", "
          << bounds.bottom;
      used = std::max<int>(used, control->GetLeft() + control->GetWidth());
    }
    // The next row's first window would not have fitted after this row's last.
    if (r + 1 < rows && site->GetRow(r + 1)->GetColCount() > 0) {
      TdxBarControl* next = site->GetRow(r + 1)->GetCol(0)->GetBarControl();
      EXPECT_GT(used + next->GetWidth(), length) << "row " << r << " is not full";
    }
  }
  EXPECT_EQ(windows, 200);
}

// A program that adds toolbars one after another, each made visible on its own with no
// place of its own: the rows fill in turn, none below the form.
TEST(DockSiteWrapping, BarsShownOneByOneFillEachRowBeforeTheNext)
{
  TBarHost<TDockTestForm> host;
  host.Form()->SetBounds(20, 20, 1000, 900);
  host.Form()->Show();
  PumpPending();
  TdxBarManager* manager = host.Manager;
  std::vector<TdxBar*> bars;
  for (int i = 0; i < 200; ++i) {
    TdxBar* bar = manager->GetBars()->Add();
    bar->SetDockingStyle(dsTop);
    for (int b = 0; b < 3; ++b) {
      auto* button = new TdxBarButton(host.Form());
      button->SetCaption(L"B" + std::to_wstring(i) + L"." + std::to_wstring(b));
      button->SetPaintStyle(psCaption);
      bar->GetItemLinks()->AddItem(button);
    }
    bar->SetVisible(true);
    bars.push_back(bar);
  }
  PumpPending();

  auto* site = dynamic_cast<TdxDockControl*>(manager->GetDockControlOfSide(dsTop));
  ASSERT_NE(site, nullptr);
  const int length = site->GetClientWidth();
  RECT formClient{};
  ::GetClientRect(host.Form()->GetHandle(), &formClient);
  const int rows = site->GetRowCount();
  std::set<TdxBar*> seen;
  for (int r = 0; r < rows; ++r) {
    TdxDockRow* row = site->GetRow(r);
    ASSERT_GT(row->GetColCount(), 0) << "row " << r << " stands empty";
    int used = 0;
    for (int c = 0; c < row->GetColCount(); ++c) {
      TdxBarControl* control = row->GetCol(c)->GetBarControl();
      seen.insert(control->GetBar());
      EXPECT_EQ(control->GetBar()->GetDockRow(), row);
      EXPECT_LT(control->GetLeft(), length) << "row " << r << " col " << c << " starts past the row's end";
      used = std::max<int>(used, control->GetLeft() + control->GetWidth());
    }
    if (r + 1 < rows) {
      TdxBarControl* next = site->GetRow(r + 1)->GetCol(0)->GetBarControl();
      EXPECT_GT(used + next->GetWidth(), length) << "row " << r << " is not full";
    }
  }
  EXPECT_EQ(seen, std::set<TdxBar*>(bars.begin(), bars.end()));
  // Every row on the form: a 900-pixel form holds the 200 bars in far fewer rows than that.
  EXPECT_LE(site->GetHeight(), formClient.bottom) << rows << " rows";
}
