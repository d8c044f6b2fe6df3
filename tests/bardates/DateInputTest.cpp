// The date combo as a user drives it, with real pointer and keys: typing a date (and text
// that is none), "+" and "-", the calendar that drops down under the combo, a day picked by
// click and by keys, "Today", "Clear", the arrows that page and repeat, and Esc.
#include "DateTestUtil.h"
#include "barextras/extitems.h"
#include "bars/keyboard/navigation.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/menus/submenu.h"
#include "platform/GraphicsObjects.h"
#include "platform/Scope.h"
#include "support/Pixels.h"

namespace {

class TDateInput : public TDateComboFixture {
protected:
  // Replaces the editor's whole text by typing.
  bool ReplaceText(const std::wstring& AText)
  {
    return PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(AText);
  }
  bool EditorHidden() const { return !Control()->GetHandle() || !::IsWindowVisible(Control()->GetHandle()); }
  POINT DayPoint(TDateTime ADate) const { return NavigatorPoint(Navigator()->GetDayRect(ADate)); }
  // A pixel of a day's cell as the screen shows it, off its number.
  COLORREF CellPixel(TDateTime ADate) const
  {
    const TRect cell = Navigator()->GetDayRect(ADate);
    POINT corner{cell.left + 2, cell.top + 2};
    ::ClientToScreen(Navigator()->GetHandle(), &corner);
    return CaptureScreen(RECT{corner.x, corner.y, corner.x + 1, corner.y + 1}).Pixel(0, 0);
  }
  RECT NavigatorScreenRect() const
  {
    RECT r{};
    ::GetWindowRect(Navigator()->GetHandle(), &r);
    return r;
  }
  void Shot(const char* AName) const
  {
    PumpPending();
    // The toolbar with the combo and the calendar under it.
    RECT r = NavigatorScreenRect(), bar{};
    ::GetWindowRect(Control()->GetParent()->GetHandle(), &bar);
    ::UnionRect(&r, &r, &bar);
    SaveShotOnRequest(CaptureScreen(r), AName);
  }
};

}  // namespace

TEST_F(TDateInput, TypedDateIsReadAndShownBackInTheLocalesForm)
{
  ASSERT_TRUE(StartEditing());
  ASSERT_TRUE(ReplaceText(L"2.29.08"));
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(PumpUntil([&] { return EditorHidden(); }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 2, 29));
  EXPECT_EQ(Combo->GetText(), L"Fri 2/29/2008");
  // What the combo shows reads back as the same date when typed again.
  ASSERT_TRUE(StartEditing());
  ASSERT_TRUE(ReplaceText(Combo->GetText()));
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(PumpUntil([&] { return EditorHidden(); }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 2, 29));
  // An empty text clears the date.
  ASSERT_TRUE(StartEditing());
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && PressKey(VK_DELETE));
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(PumpUntil([&] { return EditorHidden(); }));
  EXPECT_EQ(Combo->GetText(), L"");
  EXPECT_EQ(Combo->GetDate(), cxNullDate);
}

TEST_F(TDateInput, TextThatIsNoDateKeepsTheEditorAndTheDate)
{
  Combo->SetDate(cxEncodeDate(2009, 1, 31));
  const String before = Combo->GetText();
  ASSERT_TRUE(StartEditing());
  ASSERT_TRUE(ReplaceText(L"2/29/2009"));
  static int beeps;
  beeps = 0;
  const TdxBarBeepProc oldBeep = SetdxBarBeepProc([] { ++beeps; });
  TFinally restoreBeep([oldBeep]() noexcept { SetdxBarBeepProc(oldBeep); });
  ASSERT_TRUE(PressKey(VK_RETURN));
  PumpPending();
  EXPECT_EQ(beeps, 1);
  EXPECT_FALSE(EditorHidden()) << "Enter on no date leaves the user's text to correct";
  EXPECT_EQ(EditorText(), L"2/29/2009");
  EXPECT_EQ(Combo->GetText(), before);
  // Ending the edit elsewhere still keeps the date the combo had.
  ASSERT_TRUE(ClickAt(POINT{Host.Form()->GetClientOrigin().x + 100, Host.Form()->GetClientOrigin().y + 200}));
  ASSERT_TRUE(PumpUntil([&] { return EditorHidden(); }));
  EXPECT_EQ(Combo->GetText(), before);
  // Esc drops what was typed.
  ASSERT_TRUE(StartEditing());
  ASSERT_TRUE(ReplaceText(L"3/1/2009"));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(PumpUntil([&] { return EditorHidden(); }));
  EXPECT_EQ(Combo->GetText(), before);
}

TEST_F(TDateInput, PlusAndMinusStepTheEditorsDate)
{
  Combo->SetDate(cxEncodeDate(2009, 1, 31));
  ASSERT_TRUE(StartEditing());
  ASSERT_TRUE(TypeText(L"+"));
  EXPECT_EQ(Combo->TextToDate(EditorText()), cxEncodeDate(2009, 2, 1));
  EXPECT_EQ(EditorText().find(L'+'), String::npos);
  ASSERT_TRUE(TypeText(L"--"));
  EXPECT_EQ(Combo->TextToDate(EditorText()), cxEncodeDate(2009, 1, 30));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2009, 1, 31)) << "only Enter stores";
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(PumpUntil([&] { return EditorHidden(); }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2009, 1, 30));
  // On an empty editor "+" does nothing and is not typed.
  ASSERT_TRUE(StartEditing());
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && PressKey(VK_DELETE));
  ASSERT_TRUE(TypeText(L"+"));
  EXPECT_EQ(EditorText(), L"");
}

TEST_F(TDateInput, TheCalendarDropsUnderTheComboAndAClickPicksADay)
{
  Combo->SetDate(cxEncodeDate(2008, 12, 24));
  ASSERT_TRUE(OpenNavigator());
  const RECT nav = NavigatorScreenRect();
  RECT item{};
  const TRect text = Control()->GetPartRects().at(dxBarEditPartText);
  item = RECT{text.left, text.top, text.right, text.bottom};
  ::MapWindowPoints(Control()->GetParent()->GetHandle(), nullptr, reinterpret_cast<POINT*>(&item), 2);
  EXPECT_EQ(nav.left, item.left);
  EXPECT_GE(nav.top, item.bottom - 1);
  EXPECT_EQ(Navigator()->GetShownMonth(), 12);
  EXPECT_EQ(Navigator()->GetSelStart(), cxEncodeDate(2008, 12, 24));
  Shot("navigator-open");
  // The selected day is drawn highlighted on screen, apart from the grid.
  EXPECT_EQ(Navigator()->GetBorderKind(), 1);
  EXPECT_TRUE(ColorNear(CellPixel(cxEncodeDate(2008, 12, 24)), ::GetSysColor(COLOR_HIGHLIGHT)));
  ASSERT_TRUE(ClickAt(DayPoint(cxEncodeDate(2008, 12, 9))));
  ASSERT_TRUE(PumpUntil([&] { return !NavigatorShown(); }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 12, 9));
  EXPECT_EQ(Combo->TextToDate(EditorText()), cxEncodeDate(2008, 12, 9)) << "the editor shows the pick";
}

// The flat looks give the drop-down their own border: a shadow line under the header and the
// selected day in the manager's highlight colour with the day's own text colour.
TEST_F(TDateInput, TheFlatLooksDrawTheCalendarWithTheirOwnBorder)
{
  for (TdxBarManagerStyle style : {bmsFlat, bmsOffice11}) {
    SCOPED_TRACE(int(style));
    Manager->SetStyle(style);
    PumpPending();
    Combo->SetDate(cxEncodeDate(2008, 12, 24));
    ASSERT_TRUE(OpenNavigator());
    ::UpdateWindow(Navigator()->GetHandle());
    EXPECT_EQ(Navigator()->GetBorderKind(), 2);
    const COLORREF selected = CellPixel(cxEncodeDate(2008, 12, 24));
    EXPECT_TRUE(ColorNear(selected, ColorToRGB(Manager->GetFlatSelectedColor())));
    EXPECT_FALSE(ColorNear(selected, ColorToRGB(Navigator()->GetColor()))) << "apart from the grid";
    const TRect header = Navigator()->GetHeaderRect();
    POINT line{(header.left + header.right) / 2, header.bottom - 1};
    ::ClientToScreen(Navigator()->GetHandle(), &line);
    EXPECT_TRUE(ColorNear(CaptureScreen(RECT{line.x, line.y, line.x + 1, line.y + 1}).Pixel(0, 0),
                          ::GetSysColor(COLOR_BTNSHADOW)));
    Shot(style == bmsFlat ? "navigator-flat" : "navigator-office11");
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    ASSERT_TRUE(PumpUntil([&] { return !NavigatorShown(); }));
  }
}

// After a pick the combo is drawn as any other item once the focus and the pointer have left:
// no selection frame stays on its button.
TEST_F(TDateInput, AfterAPickTheComboLetsGoOfItsSelection)
{
  // A combo never used, to compare with.
  auto* untouched = new TdxBarDateCombo(Host.Form());
  untouched->SetWidth(Combo->GetWidth());
  Bar->GetItemLinks()->AddItem(untouched);
  PumpPending();
  // The selection leaving the control takes its hot part along, whatever the pointer did
  // meanwhile: here the bar lets go of it as a pick's close-up does, the pointer still on it.
  ASSERT_TRUE(MoveMouseTo(ButtonCenter()));
  ASSERT_TRUE(PumpUntil([&] { return Control()->GetHotPartIndex() >= 0; }));
  Control()->GetParent()->SelectItemControl(nullptr);
  EXPECT_EQ(Control()->GetHotPartIndex(), -1);
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11}) {
    SCOPED_TRACE(int(style));
    Manager->SetStyle(style);
    PumpPending();
    Combo->SetDate(cxEncodeDate(2008, 12, 24));
    ASSERT_TRUE(OpenNavigator());
    ASSERT_TRUE(ClickAt(DayPoint(cxEncodeDate(2008, 12, 9))));
    ASSERT_TRUE(PumpUntil([&] { return !NavigatorShown(); }));
    RECT edit{};
    ::GetWindowRect(FormEdit->GetHandle(), &edit);
    ASSERT_TRUE(ClickAt(POINT{(edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2}));
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == FormEdit->GetHandle(); }));
    ASSERT_TRUE(MoveMouseTo(POINT{edit.right + 40, edit.bottom + 20}));
    PumpPending();
    TdxBarDateComboControl* control = Control();
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return !control->IsSelected(); }));
    EXPECT_EQ(control->GetHotPartIndex(), -1);
    EXPECT_NE(control->GetParent()->GetSelectedControl(), control);
    // Its button looks as the untouched combo's does.
    const auto buttonShot = [&](TdxBarItem* AItem) {
      TdxBarItemControl* shown = nullptr;
      for (int i = 0; i < Bar->GetItemLinks()->Count(); ++i)
        if (Bar->GetItemLinks()->Items(i)->GetItem() == AItem)
          shown = Bar->GetItemLinks()->Items(i)->GetControl();
      auto* combo = dynamic_cast<TCustomdxBarComboControl*>(shown);
      if (!combo)
        return TDib32(1, 1);
      ::UpdateWindow(combo->GetParent()->GetHandle());
      RECT button = RECT(combo->GetDropDownRect());
      ::MapWindowPoints(combo->GetParent()->GetHandle(), nullptr, reinterpret_cast<POINT*>(&button), 2);
      return CaptureScreen(button);
    };
    const auto looksUntouched = [&] {
      const TDib32 used = buttonShot(Combo), other = buttonShot(untouched);
      return used.Width() == other.Width() &&
             CountDifferentPixels(used, RECT{0, 0, used.Width(), used.Height()}, other, 8) == 0;
    };
    EXPECT_TRUE(PumpUntil(looksUntouched));
    SaveShotOnRequest(buttonShot(Combo), ("date-combo-button-after-pick-" + std::to_string(int(style))).c_str());
  }
}

TEST_F(TDateInput, KeysMoveTheSelectionAndEnterPicksIt)
{
  Combo->SetDate(cxEncodeDate(2008, 12, 24));
  ASSERT_TRUE(StartEditing());
  ASSERT_TRUE(PressKey(VK_F4));
  ASSERT_TRUE(PumpUntil([&] { return NavigatorShown(); }));
  ASSERT_TRUE(PressKey(VK_RIGHT));
  ASSERT_TRUE(PressKey(VK_DOWN));
  EXPECT_EQ(Navigator()->GetSelStart(), cxEncodeDate(2009, 1, 1));
  EXPECT_EQ(Navigator()->GetShownMonth(), 1) << "the month follows the selection";
  ASSERT_TRUE(PressKey(VK_PRIOR));
  EXPECT_EQ(Navigator()->GetShownMonth(), 12);
  EXPECT_EQ(Navigator()->GetSelStart(), cxEncodeDate(2008, 12, 1));
  ASSERT_TRUE(PressKey(VK_END, {VK_CONTROL}));
  EXPECT_EQ(Navigator()->GetSelStart(), cxEncodeDate(2008, 12, 31));
  ASSERT_TRUE(PressKey(VK_HOME));
  // 31 December 2008 is a Wednesday: its week row starts on the locale's first day.
  EXPECT_EQ(Navigator()->GetSelStart(), cxEncodeDate(2008, 12, 31) - ((3 - dxBarFirstWeekDay() + 7) % 7));
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(PumpUntil([&] { return !NavigatorShown(); }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 12, 31) - ((3 - dxBarFirstWeekDay() + 7) % 7));
  // Esc on an open calendar closes it and leaves the date.
  const TDateTime kept = Combo->GetDate();
  ASSERT_TRUE(PressKey(VK_F4));
  ASSERT_TRUE(PumpUntil([&] { return NavigatorShown(); }));
  ASSERT_TRUE(PressKey(VK_RIGHT));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(PumpUntil([&] { return !NavigatorShown(); }));
  EXPECT_EQ(Combo->GetDate(), kept);
}

TEST_F(TDateInput, TodayAndClearButtons)
{
  Combo->SetDate(cxEncodeDate(2008, 12, 24));
  ASSERT_TRUE(OpenNavigator());
  ASSERT_TRUE(ClickAt(NavigatorPoint(Navigator()->GetTodayButtonRect())));
  ASSERT_TRUE(PumpUntil([&] { return !NavigatorShown(); }));
  EXPECT_EQ(Combo->GetDate(), cxToday());
  ASSERT_TRUE(OpenNavigator());
  ASSERT_TRUE(ClickAt(NavigatorPoint(Navigator()->GetClearButtonRect())));
  ASSERT_TRUE(PumpUntil([&] { return !NavigatorShown(); }));
  EXPECT_EQ(Combo->GetDate(), cxNullDate);
  EXPECT_EQ(EditorText(), L"");
  // A press on "Today" released off it picks nothing.
  Combo->SetDate(cxEncodeDate(2008, 12, 24));
  ASSERT_TRUE(OpenNavigator());
  ASSERT_TRUE(MoveMouseTo(NavigatorPoint(Navigator()->GetTodayButtonRect())));
  ASSERT_TRUE(MouseButtonDown());
  ASSERT_TRUE(MoveMouseTo(NavigatorPoint(Navigator()->GetHeaderRect())));
  ASSERT_TRUE(MouseButtonUp());
  PumpPending();
  EXPECT_TRUE(NavigatorShown());
  EXPECT_EQ(Navigator()->GetSelStart(), cxEncodeDate(2008, 12, 24));
}

TEST_F(TDateInput, ArrowsPageTheMonthAndRepeatWhileHeld)
{
  Combo->SetDate(cxEncodeDate(2008, 12, 24));
  ASSERT_TRUE(OpenNavigator());
  ASSERT_TRUE(ClickAt(NavigatorPoint(Navigator()->GetRightArrowRect())));
  EXPECT_EQ(Navigator()->GetShownMonth(), 1);
  EXPECT_EQ(Navigator()->GetShownYear(), 2009);
  ASSERT_TRUE(ClickAt(NavigatorPoint(Navigator()->GetLeftArrowRect())));
  ASSERT_TRUE(ClickAt(NavigatorPoint(Navigator()->GetLeftArrowRect())));
  EXPECT_EQ(Navigator()->GetShownMonth(), 11);
  EXPECT_TRUE(NavigatorShown()) << "paging picks nothing";
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 12, 24));
  // Held down, the arrow keeps paging until it is let go.
  ASSERT_TRUE(MoveMouseTo(NavigatorPoint(Navigator()->GetLeftArrowRect())));
  ASSERT_TRUE(MouseButtonDown());
  EXPECT_TRUE(Navigator()->IsArrowTimerRunning());
  EXPECT_TRUE(PumpUntil([&] { return Navigator()->GetShownYear() == 2008 && Navigator()->GetShownMonth() <= 8; }));
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_FALSE(Navigator()->IsArrowTimerRunning());
  const int stopped = Navigator()->GetShownMonth();
  PumpFor(400);
  EXPECT_EQ(Navigator()->GetShownMonth(), stopped) << "no paging after the release";
  Shot("navigator-paged");
}

TEST_F(TDateInput, TheCaptionOpensAMonthListThatPicksAMonth)
{
  Combo->SetDate(cxEncodeDate(2008, 12, 24));
  ASSERT_TRUE(OpenNavigator());
  ASSERT_TRUE(MoveMouseTo(NavigatorPoint(Navigator()->GetCaptionRect())));
  ASSERT_TRUE(MouseButtonDown());
  TAMonthListBox* list = Navigator()->GetMonthListBox();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(::IsWindowVisible(list->GetHandle()));
  EXPECT_EQ(list->GetTopMonth(), 9) << "the shown month in the middle row";
  // Two rows down from the middle: February 2009.
  RECT r{};
  ::GetWindowRect(list->GetHandle(), &r);
  POINT row{(r.left + r.right) / 2, r.top + 1 + list->GetRowHeight() * 5 + list->GetRowHeight() / 2};
  ASSERT_TRUE(MoveMouseTo(row));
  EXPECT_EQ(list->GetSelectedRow(), 5);
  SaveShotOnRequest(CaptureScreen(r), "month-list");
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_EQ(Navigator()->GetMonthListBox(), nullptr);
  EXPECT_EQ(Navigator()->GetShownMonth(), 2);
  EXPECT_EQ(Navigator()->GetShownYear(), 2009);
  EXPECT_TRUE(NavigatorShown());
}

TEST_F(TDateInput, TheMonthListScrollsWhileThePointerIsBelowIt)
{
  Combo->SetDate(cxEncodeDate(2008, 12, 24));
  ASSERT_TRUE(OpenNavigator());
  ASSERT_TRUE(MoveMouseTo(NavigatorPoint(Navigator()->GetCaptionRect())));
  ASSERT_TRUE(MouseButtonDown());
  TAMonthListBox* list = Navigator()->GetMonthListBox();
  ASSERT_NE(list, nullptr);
  RECT r{};
  ::GetWindowRect(list->GetHandle(), &r);
  // 30 pixels below the last row: the third speed.
  ASSERT_TRUE(MoveMouseTo(POINT{(r.left + r.right) / 2, r.bottom - 1 - ::GetSystemMetrics(SM_CYBORDER) + 30}));
  EXPECT_EQ(list->GetScrollStep(), 3);
  EXPECT_EQ(list->GetSelectedRow(), -1);
  EXPECT_TRUE(PumpUntil([&] { return list->GetTopYear() == 2009 && list->GetTopMonth() >= 2; }));
  // Released outside the rows: no month is chosen.
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_EQ(Navigator()->GetMonthListBox(), nullptr);
  EXPECT_EQ(Navigator()->GetShownMonth(), 12);
  EXPECT_EQ(Navigator()->GetShownYear(), 2008);
}

TEST_F(TDateInput, AtTheScreensBottomTheCalendarOpensAboveTheCombo)
{
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  Host.Form()->SetBounds(120, work.bottom - 140, 600, 140);
  PumpPending();
  ASSERT_TRUE(OpenNavigator());
  const RECT nav = NavigatorScreenRect();
  POINT itemTop{0, Control()->GetItemRect().top};
  ::ClientToScreen(Control()->GetParent()->GetHandle(), &itemTop);
  EXPECT_LE(nav.bottom, itemTop.y);
  EXPECT_GE(nav.top, work.top);
}

TEST_F(TDateInput, APickInAMenuClosesTheMenus)
{
  auto* sub = new TdxBarSubItem(Host.Form());
  sub->SetCaption(L"Dates");
  sub->GetItemLinks()->AddItem(Combo);
  Bar->GetItemLinks()->AddItem(sub);
  PumpPending();
  TdxBarItemControl* subControl = Bar->GetItemLinks()->Items(1)->GetControl();
  ASSERT_NE(subControl, nullptr);
  const TRect subRect = subControl->GetItemRect();
  POINT p{(subRect.left + subRect.right) / 2, (subRect.top + subRect.bottom) / 2};
  ::ClientToScreen(Bar->GetControl()->GetHandle(), &p);
  ASSERT_TRUE(ClickAt(p));
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(sub->GetItemLinks()->GetBarControl());
  ASSERT_TRUE(PumpUntil([&] {
    return (menu = dynamic_cast<TdxBarSubMenuControl*>(sub->GetItemLinks()->GetBarControl())) &&
           ::IsWindowVisible(menu->GetHandle());
  }));
  auto* control = dynamic_cast<TdxBarDateComboControl*>(sub->GetItemLinks()->Items(0)->GetControl());
  ASSERT_NE(control, nullptr);
  const TRect button = control->GetDropDownRect();
  POINT b{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ::ClientToScreen(menu->GetHandle(), &b);
  Combo->SetDate(cxEncodeDate(2008, 12, 24));
  ASSERT_TRUE(ClickAt(b));
  ASSERT_TRUE(PumpUntil([&] { return NavigatorShown(); }));
  ASSERT_TRUE(ClickAt(DayPoint(cxEncodeDate(2008, 12, 2))));
  ASSERT_TRUE(PumpUntil([&] { return !NavigatorShown() && !sub->GetItemLinks()->GetBarControl(); }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 12, 2));
}

TEST_F(TDateInput, TodayIsFramedAndDrawingLeavesNoGdiObjects)
{
  Combo->SetDate(cxToday() + 1);
  ASSERT_TRUE(OpenNavigator());
  PumpPending();
  const int objects = GdiObjectsInUse();
  // Today's cell has a maroon frame; the selected day beside it has none.
  const TRect today = Navigator()->GetDayRect(cxToday());
  POINT corner{today.left, today.top};
  ::ClientToScreen(Navigator()->GetHandle(), &corner);
  TDib32 cell = CaptureScreen(RECT{corner.x, corner.y, corner.x + RectWidth(today), corner.y + RectHeight(today)});
  EXPECT_TRUE(ColorNear(cell.Pixel(0, 0), RGB(128, 0, 0)));
  EXPECT_TRUE(ColorNear(cell.Pixel(RectWidth(today) - 1, RectHeight(today) / 2), RGB(128, 0, 0)));
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(ClickAt(NavigatorPoint(Navigator()->GetRightArrowRect())));
    ::UpdateWindow(Navigator()->GetHandle());
  }
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(PumpUntil([&] { return !NavigatorShown(); }));
  EXPECT_EQ(GdiObjectsInUse(), objects);
}

TEST_F(TDateInput, FreeingTheFormWithTheCalendarOpen)
{
  ASSERT_TRUE(OpenNavigator());
  TWeakRef<TdxBarDateNavigator> navigator(Navigator());
  HWND window = Navigator()->GetHandle();
  Host.Form()->Free();
  PumpPending();
  EXPECT_FALSE(navigator);
  EXPECT_FALSE(::IsWindow(window));
}
