// The application menu's window under the real pointer and keys: the item column, the extra
// pane beside it showing the pane's items, and the row of buttons along the bottom.
#include "AppMenuTestUtil.h"

#include "bars/barwindows/dockcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "bars/itemcontrols/subitems.h"
#include "lookandfeel/cxGraphics.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TAppMenuWindow : public TAppMenuFixture {};

TEST_F(TAppMenuWindow, OpensWithItsExtraPaneAndButtonRow)
{
  Fill(3, 2, {L"Options", L"Exit"});
  ASSERT_TRUE(OpenByPointer());
  TdxBarApplicationMenuControl* window = Menu->Window();
  const TRect pane = window->GetExtraPaneRect();
  const TRect items = window->GetItemArea();
  ASSERT_FALSE(IsRectEmpty(pane));
  EXPECT_EQ(pane.left, items.right) << "the pane takes the right part of the item area";
  EXPECT_EQ(RectWidth(pane), window->GetExtraPaneWidth());
  // Its bar sits in the pane's dock, the dock on the pane's rectangle, with the pane's items.
  TdxBar* paneBar = window->GetExtraPaneBar();
  ASSERT_NE(paneBar, nullptr);
  EXPECT_TRUE(paneBar->GetHidden());
  EXPECT_EQ(paneBar->GetItemLinks()->Count(), 2);
  TdxBarExtraPaneDockControl* dock = window->GetExtraPaneDock();
  ASSERT_TRUE(dock && dock->HandleAllocated());
  EXPECT_TRUE(::IsWindowVisible(dock->GetHandle()));
  EXPECT_EQ(::GetParent(dock->GetHandle()), window->GetHandle());
  RECT d{};
  ::GetWindowRect(dock->GetHandle(), &d);
  EXPECT_EQ(RectWidth(TRect{d.left, d.top, d.right, d.bottom}), RectWidth(pane));
  ASSERT_NE(paneBar->GetControl(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(paneBar->GetControl()->GetHandle()));
  // The buttons along the bottom, right-aligned, below the items.
  TdxBarItemLinks* row = window->GetButtonLinks();
  ASSERT_TRUE(row && row->Count() == 2);
  EXPECT_EQ(row->Items(1)->GetItemRect().right, window->GetButtonRowRect().right);
  EXPECT_GE(row->Items(0)->GetItemRect().top, items.bottom);
  EXPECT_LT(row->Items(0)->GetItemRect().right, row->Items(1)->GetItemRect().left);
  // A row button's key tip sits at its centre; the menu's own links are not the row's.
  const POINT centre = ScreenCentreOf(window, row->Items(1)->GetItemRect());
  const TPoint tip = window->GetButtonRowKeyTipPoint(row->Items(1));
  EXPECT_EQ(tip.x, centre.x);
  EXPECT_EQ(tip.y, centre.y);
  EXPECT_FALSE(window->IsButtonRowLink(Menu->GetItemLinks()->Items(0)));
  EXPECT_EQ(window->GetButtonRowKeyTipPoint(Menu->GetItemLinks()->Items(0)).x, -1);
}

// The pane's list of files lists its entries and its own command in the pane, one under
// another; the menu grows to show them all, and a chosen entry is the list's choice.
TEST_F(TAppMenuWindow, ExtraPaneListShowsItsEntriesAndTheMenuGrowsForThem)
{
  Fill(2, 0, {L"Exit"});
  auto* files = new TdxBarExtraPaneListItem(Host.Form());
  files->SetCaption(L"More files");
  for (const wchar_t* name : {L"C:\\songs\\alpha.lst", L"C:\\songs\\beta.lst", L"C:\\songs\\gamma.lst",
                              L"C:\\songs\\delta.lst", L"C:\\songs\\epsilon.lst"})
    files->AddEntry(L"", -1, name);
  int chosen = -1;
  files->SetOnClick(TNotifyEvent([&](TObject*) { chosen = files->GetItemIndex(); }));
  Menu->PaneItems.push_back(files);
  Menu->PaneWidth = 140;
  ASSERT_TRUE(OpenByPointer());
  TdxBarApplicationMenuControl* window = Menu->Window();
  TdxBarExtraPaneControl* pane = window->GetExtraPaneControl();
  ASSERT_NE(pane, nullptr);
  TdxBarItemLinks* links = pane->GetItemLinks();
  ASSERT_EQ(links->ShownItemCount(), 6) << "five entries and the list's own command";
  EXPECT_EQ(links->ShownItems(1)->GetItem()->GetCaption(), L"&2 beta.lst");
  EXPECT_EQ(links->ShownItems(5)->GetItem()->GetCaption(), L"More files");
  // One under another, all inside the pane, which the menu made tall enough.
  const TRect client = pane->GetClientRect();
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const TRect r = links->ShownItems(i)->GetItemRect();
    EXPECT_EQ(r.left, client.left);
    EXPECT_EQ(r.right, client.right);
    EXPECT_LE(r.bottom, client.bottom);
    if (i > 0) {
      EXPECT_GE(r.top, links->ShownItems(i - 1)->GetItemRect().bottom);
    }
  }
  EXPECT_GT(links->ShownItems(5)->GetItemRect().top, links->ShownItems(4)->GetItemRect().bottom)
      << "the list's command starts a group";
  EXPECT_GE(RectHeight(window->GetExtraPaneRect()), pane->GetContentHeight());
  if (std::getenv("SHOT_PAUSE"))
    PumpFor(4000);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(pane, links->ShownItems(2)->GetItemRect())));
  EXPECT_TRUE(PumpUntil([&] { return Menu->Window() == nullptr; }));
  EXPECT_EQ(chosen, 2);
  // Closed, the list has taken its links back from the pane and nothing dangles.
  EXPECT_EQ(files->GetLinkCount(), 0);
}

// A row wider than the menu shows the buttons that fit, right-aligned, and hides the rest.
TEST_F(TAppMenuWindow, ButtonsThatDoNotFitAreLeftOut)
{
  Fill(1, 0, {});
  for (int i = 0; i < 4; ++i) {
    TdxBarApplicationMenuButton* button = Menu->GetButtons()->Add();
    button->SetItem(NewButton(L"B" + std::to_wstring(i)));
    button->SetWidth(90);
  }
  Menu->PaneWidth = 60;
  ASSERT_TRUE(OpenByPointer());
  TdxBarApplicationMenuControl* window = Menu->Window();
  const TRect row = window->GetButtonRowRect();
  TdxBarItemLinks* links = window->GetButtonLinks();
  ASSERT_EQ(links->ShownItemCount(), 4);
  int shown = 0;
  for (int i = 0; i < 4; ++i) {
    const TRect r = links->ShownItems(i)->GetItemRect();
    if (IsRectEmpty(r))
      continue;
    ++shown;
    EXPECT_EQ(RectWidth(r), 90) << "the button's own width";
    EXPECT_GE(r.left, row.left);
  }
  const int fit = (RectWidth(row) + 6) / (90 + 6);
  ASSERT_LT(fit, 4) << "the test wants a row too narrow for all";
  EXPECT_EQ(shown, fit);
  EXPECT_EQ(links->ShownItems(fit - 1)->GetItemRect().right, row.right);
  EXPECT_TRUE(IsRectEmpty(links->ShownItems(3)->GetItemRect()));
  // The row's free start holds no button, hidden or not.
  const TRect first = links->ShownItems(0)->GetItemRect();
  ASSERT_GT(first.left, row.left);
  EXPECT_EQ(window->GetItemControlAtPos(TPoint{row.left, (row.top + row.bottom) / 2}), nullptr);
  EXPECT_EQ(window->GetItemControlAtPos(CenterPoint(first)), links->ShownItems(0)->GetControl());
}

// The pane and the row are set off from the items by the look's own separator line: its
// colour in each look, read from the window on screen.
TEST_F(TAppMenuWindow, ThePaneAndTheRowAreSetOffByTheLooksSeparatorLine)
{
  Fill(3, 2, {L"Options", L"Exit"});
  for (TdxBarManagerStyle style : {bmsStandard, bmsFlat, bmsOffice11}) {
    SCOPED_TRACE(int(style));
    Manager->SetStyle(style);
    ASSERT_TRUE(OpenByPointer());
    TdxBarApplicationMenuControl* window = Menu->Window();
    TdxBarPainter* painter = window->GetPainter();
    ASSERT_NE(painter, nullptr);
    // What the look draws for a menu's separator line, lying and standing.
    TCanvas plain;
    TcxCanvas canvas(&plain);
    TDib32 lying(20, 6, RGB(1, 2, 3));
    plain.SetHandle(lying.DC());
    painter->DrawMenuSeparatorLine(&canvas, Rect(0, 0, 20, 2));
    TDib32 standing(6, 20, RGB(1, 2, 3));
    plain.SetHandle(standing.DC());
    painter->DrawMenuSeparatorLineVertical(&canvas, Rect(0, 0, 2, 20));
    plain.SetHandle(nullptr);
    ASSERT_NE(lying.Pixel(10, 0), RGB(1, 2, 3));
    ASSERT_NE(standing.Pixel(0, 10), RGB(1, 2, 3));

    PumpFor(50);
    const TRect pane = window->GetExtraPaneRect();
    const TRect row = window->GetButtonRowRect();
    const TPoint origin = window->ClientToScreen(TPoint{0, 0});
    const TDib32 shot = CaptureScreen(
        RECT{origin.x, origin.y, origin.x + window->GetClientWidth(), origin.y + window->GetClientHeight()});
    SaveShotOnRequest(shot, ("appmenu-parts-" + std::to_string(int(style))).c_str());
    EXPECT_EQ(shot.Pixel((row.left + row.right) / 2, row.top - 1), lying.Pixel(10, 0)) << "the row's line";
    EXPECT_EQ(shot.Pixel(pane.left - 1, (pane.top + pane.bottom) / 2), standing.Pixel(0, 10)) << "the pane's line";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return Menu->Window() == nullptr; }));
  }
}

}  // namespace
