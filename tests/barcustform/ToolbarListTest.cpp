// The toolbar list: the check box column toggles bars, the rest of an entry selects, keys
// and double clicks toggle too, bars that cannot close only beep, hidden bars stay out.
#include "CustFormTestUtil.h"

#include "barcustomize/runtimeselection.h"
#include "bars/barwindows/shadow.h"
#include "bars/barwindows/toolbar.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

using TToolbarList = TCustFormFixture;

int EntryOf(TListBox* AList, TdxBar* ABar)
{
  return AList->GetItems()->IndexOfObject(ABar);
}

TEST_F(TToolbarList, ListsEveryBarButTheHiddenOnes)
{
  ASSERT_NE(Open(), nullptr);
  TStrings* items = Dialog->lbBarsList->GetItems();
  ASSERT_EQ(items->Count(), 3);
  EXPECT_EQ(items->Get(0), L"Main Menu");
  EXPECT_EQ(items->Get(1), L"Tools");
  EXPECT_EQ(items->Get(2), L"Format");
  EXPECT_EQ(EntryOf(Dialog->lbBarsList, Bar(L"Secret")), -1);
  EXPECT_EQ(Dialog->GetCurrentBar(), Bar(L"Main Menu")) << "the first bar starts selected";
  // A bar made or renamed while the dialog is open shows at once.
  TdxBar* added = Manager->GetBars()->Add();
  added->SetCaption(L"Added");
  PumpPending();
  EXPECT_GE(EntryOf(Dialog->lbBarsList, added), 0);
  added->SetCaption(L"Renamed");
  PumpPending();
  EXPECT_EQ(items->Get(EntryOf(Dialog->lbBarsList, added)), L"Renamed");
  added->Free();
  PumpPending();
  EXPECT_EQ(items->Count(), 3);
}

TEST_F(TToolbarList, ClickInTheBoxTogglesElsewhereOnlySelects)
{
  ASSERT_NE(Open(), nullptr);
  TdxBar* tools = Bar(L"Tools");
  TListBox* list = Dialog->lbBarsList;
  const int entry = EntryOf(list, tools);
  ASSERT_TRUE(ClickAt(EntryPoint(list, entry, 60)));
  PumpPending();
  EXPECT_TRUE(tools->GetVisible()) << "the caption only selects";
  EXPECT_EQ(Dialog->GetCurrentBar(), tools);
  EXPECT_TRUE(Dialog->GetSelectionController()->IsComponentSelected(tools));
  ASSERT_TRUE(ClickAt(EntryPoint(list, entry, 5)));
  PumpPending();
  EXPECT_FALSE(tools->GetVisible());
  // A quick second click in the box toggles back instead of being a double click.
  ASSERT_TRUE(ClickAt(EntryPoint(list, entry, 5)));
  PumpPending();
  EXPECT_TRUE(tools->GetVisible());
  // Space and a double click on the caption toggle too.
  ASSERT_TRUE(PressKey(VK_SPACE));
  PumpPending();
  EXPECT_FALSE(tools->GetVisible());
  ASSERT_TRUE(DoubleClickAt(EntryPoint(list, entry, 60)));
  PumpPending();
  EXPECT_TRUE(tools->GetVisible());
}

TEST_F(TToolbarList, BarsThatCannotCloseBeepAndStayVisible)
{
  TBeepScope beeps;
  ASSERT_NE(Open(), nullptr);
  TListBox* list = Dialog->lbBarsList;
  for (const wchar_t* caption : {L"Format", L"Main Menu"}) {
    TdxBar* bar = Bar(caption);
    ASSERT_FALSE(bar->CanClose()) << ToUtf8(caption);
    const int before = beeps.Count();
    ASSERT_TRUE(ClickAt(EntryPoint(list, EntryOf(list, bar), 5)));
    PumpPending();
    EXPECT_TRUE(bar->GetVisible()) << ToUtf8(caption);
    EXPECT_EQ(beeps.Count(), before + 1) << ToUtf8(caption);
    ASSERT_TRUE(PressKey(VK_SPACE));
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(beeps.Count(), before + 2);
  }
  // One the program hid can still be shown again from the list.
  TdxBar* format = Bar(L"Format");
  format->SetVisible(false);
  PumpPending();
  const int before = beeps.Count();
  ASSERT_TRUE(ClickAt(EntryPoint(list, EntryOf(list, format), 5)));
  PumpPending();
  EXPECT_TRUE(format->GetVisible());
  EXPECT_EQ(beeps.Count(), before);
}

TEST_F(TToolbarList, CheckBoxesShowVisibilityAndWhetherABarCanClose)
{
  ASSERT_NE(Open(), nullptr);
  TListBox* list = Dialog->lbBarsList;
  Bar(L"Tools")->SetVisible(false);
  PumpPending();
  ::UpdateWindow(list->GetHandle());
  // The box of a closable bar is drawn in the window colour, one of a bar that cannot
  // close in the inactive face colour; a hidden bar's box has no check mark.
  TDib32 shot = ShootWindow(list->GetHandle());
  RECT frame{};
  ::GetWindowRect(list->GetHandle(), &frame);
  POINT origin{0, 0};
  ::ClientToScreen(list->GetHandle(), &origin);
  auto boxInside = [&](int AEntry) {
    TRect r = list->ItemRect(AEntry);
    const int h = RectHeight(r);
    return RECT{origin.x - frame.left + r.left + 4, origin.y - frame.top + r.top + 4,
                origin.x - frame.left + r.left + h - 4, origin.y - frame.top + r.bottom - 4};
  };
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  const RECT tools = boxInside(EntryOf(list, Bar(L"Tools")));
  const RECT format = boxInside(EntryOf(list, Bar(L"Format")));
  const int area = (tools.right - tools.left) * (tools.bottom - tools.top);
  EXPECT_EQ(CountPixelsNear(shot, tools, window), area) << "unchecked: an empty white box";
  EXPECT_LT(CountPixelsNear(shot, format, window), area / 2) << "inactive and checked";
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  EXPECT_GT(CountPixels(shot, format, [&](COLORREF c) { return ColorDistance(c, face) > 40; }), 0) << "a check mark";
}

TEST_F(TToolbarList, BarsFreedInsideAnUpdateLeaveNoEntryBehind)
{
  ASSERT_NE(Open(), nullptr);
  TdxBar* made = Manager->NewToolBar(false, false);
  PumpPending();
  ASSERT_EQ(Dialog->lbBarsList->GetCount(), 4);
  Dialog->lbBarsList->SetItemIndex(3);
  Manager->GetBars()->BeginUpdate();
  made->Free();
  // The entry still stands while the update lasts; drawing and reading it must not touch the bar.
  ::InvalidateRect(Dialog->lbBarsList->GetHandle(), nullptr, TRUE);
  ::UpdateWindow(Dialog->lbBarsList->GetHandle());
  EXPECT_EQ(Dialog->GetCurrentBar(), nullptr);
  Dialog->lbBarsList->Perform(WM_DXBARCUSTOMIZE_ACTIONS);
  EXPECT_FALSE(Dialog->aRenameToolBar->Enabled());
  Manager->GetBars()->EndUpdate();
  EXPECT_EQ(Dialog->lbBarsList->GetCount(), 3);
}

TEST_F(TToolbarList, VeryLongCaptionIsDrawnClipped)
{
  TdxBar* tools = Bar(L"Tools");
  tools->SetCaption(String(10000, L'W'));
  ASSERT_NE(Open(), nullptr);
  TListBox* list = Dialog->lbBarsList;
  ASSERT_EQ(list->GetItems()->Get(EntryOf(list, tools)).size(), 10000u);
  ::InvalidateRect(list->GetHandle(), nullptr, TRUE);
  ::UpdateWindow(list->GetHandle());
  ASSERT_TRUE(ClickAt(EntryPoint(list, EntryOf(list, tools), 5)));
  PumpPending();
  EXPECT_FALSE(tools->GetVisible());
  // Nothing is drawn past the list's own window.
  RECT r{};
  ::GetWindowRect(list->GetHandle(), &r);
  TDib32 beside = CaptureScreen(RECT{r.right + 1, r.top + 2, r.right + 6, r.top + 40});
  EXPECT_EQ(CountPixels(beside, RECT{0, 0, 5, 38}, [](COLORREF c) { return GetRValue(c) < 100; }), 0);
}

}  // namespace

// A hidden floating bar ticked in the list, then the dialog closed: the screen shows the bar
// and its shadow above the form, and no strip of the shadow stays on top of everything.
TEST_F(TToolbarList, FloatingBarTickedThenClosedShowsAboveItsFormWithItsShadowBehindIt)
{
  Host->SetColor(TColor(RGB(0, 255, 0)));
  Manager->SetStyle(bmsOffice11);
  TdxBar* tools = Bar(L"Tools");
  tools->SetVisible(false);
  tools->SetDockingStyle(dsNone);
  tools->SetFloatLeft(260);
  tools->SetFloatTop(260);
  ASSERT_NE(Open(), nullptr);
  TListBox* list = Dialog->lbBarsList;
  ASSERT_TRUE(ClickAt(EntryPoint(list, EntryOf(list, tools), 5)));
  ASSERT_TRUE(PumpUntil([tools] { return tools->GetVisible(); }, 2000));
  RECT button{};
  ::GetWindowRect(Dialog->BClose->GetHandle(), &button);
  ASSERT_TRUE(ClickAt(POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2}));
  ASSERT_TRUE(PumpUntil(
      [] { return GetCustomizingForm() == nullptr || !::IsWindowVisible(GetCustomizingForm()->GetHandle()); }, 3000));
  TdxBarControl* control = tools->GetControl();
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(::IsWindowVisible(control->GetHandle()));
  auto green = [](const RECT& ARect) {
    TDib32 shot = CaptureScreen(ARect);
    return CountPixelsNear(shot, RECT{0, 0, shot.Width(), shot.Height()}, RGB(0, 255, 0), 24);
  };
  RECT r{};
  ::GetWindowRect(control->GetHandle(), &r);
  EXPECT_TRUE(PumpUntil([&] { return green(r) == 0; }, 2000)) << green(r) << " pixels of the form over the bar";
  const RECT strip{r.right, r.top + 8, r.right + 4, r.bottom};
  EXPECT_TRUE(PumpUntil([&] { return green(strip) == 0; }, 2000))
      << green(strip) << " pixels of the form over the shadow";
  TdxBarShadow* shadow = control->GetShadow();
  ASSERT_NE(shadow, nullptr);
  ASSERT_GT(shadow->GetPartCount(), 0);
  for (int i = 0; i < shadow->GetPartCount(); ++i)
    EXPECT_FALSE(::GetWindowLongPtrW(shadow->GetPart(i)->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST)
        << "a shadow strip stays above every window";
}
