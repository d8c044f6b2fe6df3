// Combos: the index, text and list rules, the list's size, and under real keys and pointer
// the list that opens fitted below the item, best-match typing, stepping, and the list
// that a click outside closes without touching the text.
#include "EditTestUtil.h"

#include "bars/itemcontrols/combos.h"
#include "bars/barwindows/dropdownlistbox.h"

namespace {

class TCombos : public TEditFixture {
protected:
  TdxBarCombo* NewCombo(std::initializer_list<const wchar_t*> AItems, TdxBar* ABar)
  {
    auto* combo = new TdxBarCombo(Host.Form());
    for (const wchar_t* item : AItems)
      combo->GetItems()->Add(item);
    combo->SetWidth(120);
    ABar->GetItemLinks()->AddItem(combo);
    PumpPending();
    return combo;
  }
  HWND List(TdxBarCombo* ACombo) const { return ACombo->GetListBox()->GetHandle(); }
  bool ListShown(TdxBarCombo* ACombo) const { return ::IsWindowVisible(List(ACombo)); }
  // Starts editing AControl and opens its list with F4.
  bool DropDown(TdxBarComboControl* AControl, TdxBarCombo* ACombo)
  {
    return StartEditing(AControl) && PressKey(VK_F4) && ListShown(ACombo);
  }
};

}  // namespace

TEST_F(TCombos, IndexTextAndListStayInStep)
{
  TdxBarCombo* combo = NewCombo({L"one", L"two", L"three"}, Bar2);
  int changes = 0;
  combo->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->GetText(), L"two");
  EXPECT_EQ(changes, 1);
  combo->SetItemIndex(10);
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_EQ(combo->GetText(), L"");
  EXPECT_EQ(changes, 2);
  combo->SetText(L"three");
  EXPECT_EQ(combo->GetItemIndex(), 2);
  // A change of the list keeps an index that is still in it, even on another string.
  combo->GetItems()->Insert(0, L"zero");
  EXPECT_EQ(combo->GetItemIndex(), 2);
  // The index of the text already shown: told once, the text as it was.
  changes = 0;
  combo->SetItemIndex(3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo->GetText(), L"three");
  combo->GetItems()->Delete(3);
  combo->GetItems()->Delete(0);
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_EQ(combo->GetText(), L"three") << "a shorter list leaves the user's text";
  combo->SetText(L"two");
  EXPECT_EQ(combo->GetItemIndex(), 1);
  combo->SetSorted(true);
  EXPECT_EQ(combo->GetItems()->Get(0), L"one");
  EXPECT_EQ(combo->GetItemIndex(), 1);
  EXPECT_EQ(combo->FindBestMatch(L"tw"), 1);
  EXPECT_EQ(combo->FindBestMatch(L"TX"), 1);
  EXPECT_EQ(combo->FindBestMatch(L"q"), -1);
}

TEST_F(TCombos, SortingMovesTheIndexWithTheShownEntryAndKeepsAnUnlistedText)
{
  TdxBarCombo* combo = NewCombo({L"pear", L"apple", L"fig"}, Bar2);
  combo->SetItemIndex(0);
  int changes = 0;
  combo->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  combo->SetSorted(true);
  EXPECT_EQ(combo->GetItemIndex(), 2);
  EXPECT_EQ(combo->GetText(), L"pear");
  EXPECT_EQ(changes, 1) << "the index moved: told as any index change";
  combo->SetText(L"kiwi");
  changes = 0;
  combo->SetSorted(false);
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_EQ(combo->GetText(), L"kiwi");
  EXPECT_EQ(changes, 0);
}

TEST_F(TCombos, ListIsSizedForTheFirstItemsAndTheWidest)
{
  TdxBarCombo* combo = NewCombo({}, Bar2);
  for (int i = 0; i < 10; ++i)
    combo->GetItems()->Add(i == 4 ? L"a much longer entry than the others, wider than the edit" : L"entry");
  combo->SetItemHeight(15);
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  control->SetFocused(true);
  control->SetDroppedDown(true);
  ASSERT_TRUE(ListShown(combo));
  RECT r = WindowRectOf(List(combo));
  EXPECT_EQ(r.bottom - r.top, 4 + 8 * 15);
  // The widest entry measured in the list's own font, 1 pixel on each side of its text.
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ font = ::SelectObject(dc, combo->GetListBox()->GetFont()->GetHandle());
  const String longest = combo->GetItems()->Get(4);
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, longest.c_str(), int(longest.size()), &extent);
  ::SelectObject(dc, font);
  ::ReleaseDC(nullptr, dc);
  EXPECT_EQ(r.right - r.left, extent.cx + 2 + 4 + ::GetSystemMetrics(SM_CXVSCROLL));
  control->SetDroppedDown(false);
  // A width given is the whole list's, frame and scroll bar within it.
  combo->SetDropDownWidth(200);
  control->SetDroppedDown(true);
  r = WindowRectOf(List(combo));
  EXPECT_EQ(r.right - r.left, 200);
  control->SetFocused(false);
  EXPECT_FALSE(ListShown(combo));
  combo->SetReadOnly(true);
  control->SetFocused(true);
  control->SetDroppedDown(true);
  EXPECT_FALSE(ListShown(combo)) << "a read-only combo keeps its list closed";
}

// Rows measured in the list's own font from the first opening on: a manager font larger than
// the list's default (as on a larger screen) gives rows as tall as its text.
TEST_F(TCombos, TheFirstOpeningMeasuresRowsInTheListsFont)
{
  Host.Manager->SetScaled(false);  // the manager's own height, not the system's
  Host.Manager->GetFont()->SetHeight(-24);
  TdxBarCombo* combo = NewCombo({L"Alpha", L"Beta", L"Gamma", L"Delta"}, Bar2);
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  control->SetFocused(true);
  control->SetDroppedDown(true);
  ASSERT_TRUE(ListShown(combo));
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ font = ::SelectObject(dc, combo->GetListBox()->GetFont()->GetHandle());
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, L"Qq", 2, &extent);
  ::SelectObject(dc, font);
  ::ReleaseDC(nullptr, dc);
  ASSERT_GT(extent.cy, 20) << "the list shows the manager's font";
  EXPECT_EQ(::SendMessageW(List(combo), LB_GETITEMHEIGHT, 0, 0), extent.cy);
  RECT r = WindowRectOf(List(combo));
  EXPECT_EQ(r.bottom - r.top, 4 + 4 * extent.cy);
  control->SetFocused(false);
}

TEST_F(TCombos, KeysAndPointerDriveTheList)
{
  TdxBarCombo* combo = NewCombo({}, Bar2);
  for (int i = 0; i < 50; ++i)
    combo->GetItems()->Add((i == 20 ? L"apple " : i == 30 ? L"apricot " : L"item ") + std::to_wstring(i));
  combo->SetText(L"none");
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(StartEditing(control));
  ASSERT_TRUE(PressKey(VK_DOWN, {VK_MENU}));
  ASSERT_TRUE(ListShown(combo));
  EXPECT_TRUE(control->GetFocused()) << "Alt+Down keeps the editor";
  // Below the text part, its left edge at the text part's.
  RECT list = WindowRectOf(List(combo));
  TRect text = control->GetPartRects().at(dxBarEditPartText);
  POINT corner{text.left, control->GetItemRect().bottom};
  ::ClientToScreen(Bar2->GetControl()->GetHandle(), &corner);
  EXPECT_EQ(list.left, corner.x);
  EXPECT_EQ(list.top, corner.y);

  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(L"ap"));
  EXPECT_EQ(control->GetItemIndex(), 20) << "the first of the best matches";
  EXPECT_EQ(combo->GetListBox()->GetTopIndex(), 20);
  ASSERT_TRUE(PressKey(VK_DOWN));
  EXPECT_EQ(combo->GetListBox()->GetItemIndex(), 21) << "from the top item of an unselected list";
  EXPECT_EQ(control->GetText(), L"item 21");
  ASSERT_TRUE(PressKey(VK_UP));
  EXPECT_EQ(combo->GetListBox()->GetItemIndex(), 20);
  EXPECT_EQ(control->GetText(), L"apple 20");

  RECT r = WindowRectOf(FormEdit->GetHandle());
  ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_EQ(combo->GetText(), L"none");

  // A click on the arrow opens the list; Up and Down in a closed list step the text.
  combo->SetItemIndex(5);
  const TRect button = control->GetDropDownRect();
  POINT arrow{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ::ClientToScreen(Bar2->GetControl()->GetHandle(), &arrow);
  ASSERT_TRUE(ClickAt(arrow));
  EXPECT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  ASSERT_TRUE(ClickAt(arrow));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); })) << "a second click closes it";
  ASSERT_TRUE(PressKey(VK_DOWN));
  EXPECT_EQ(control->GetText(), L"item 6");
  EXPECT_FALSE(ListShown(combo));
  ASSERT_TRUE(PressKey(VK_RETURN));
  EXPECT_EQ(combo->GetItemIndex(), 6);
  EXPECT_EQ(combo->GetText(), L"item 6");
}

TEST_F(TCombos, ClickOnAnEntryChoosesIt)
{
  TdxBarCombo* combo = NewCombo({L"red", L"green", L"blue"}, Bar2);
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(DropDown(control, combo));
  TRect r = combo->GetListBox()->ItemRect(2);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ::ClientToScreen(List(combo), &p);
  ASSERT_TRUE(ClickAt(p));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_EQ(combo->GetItemIndex(), 2);
  EXPECT_EQ(combo->GetText(), L"blue");
  EXPECT_EQ(control->GetText(), L"blue");
  EXPECT_TRUE(control->GetFocused()) << "the editor keeps the focus";
  ASSERT_TRUE(PressKey(VK_RETURN));
  EXPECT_EQ(combo->GetText(), L"blue");
}

TEST_F(TCombos, NearTheScreensBottomTheListOpensAbove)
{
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  Host.Form()->SetBounds(100, work.bottom - 160, 600, 150);
  PumpPending();
  TdxBarCombo* combo = NewCombo({}, Bar2);
  for (int i = 0; i < 20; ++i)
    combo->GetItems()->Add(L"entry " + std::to_wstring(i));
  combo->SetItemHeight(16);
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  control->SetFocused(true);
  control->SetDroppedDown(true);
  ASSERT_TRUE(ListShown(combo));
  RECT list = WindowRectOf(List(combo));
  TRect item = control->GetItemRect();
  ::MapWindowPoints(Bar2->GetControl()->GetHandle(), nullptr, reinterpret_cast<POINT*>(&item), 2);
  ASSERT_GT(item.bottom + (list.bottom - list.top), work.bottom) << "no room below";
  EXPECT_EQ(list.bottom, item.top);
}

// A list whose window was made before its first drop-down (a handler that asked for it) still
// opens as a window of its own over everything, not clipped inside the bar, and takes a click.
TEST_F(TCombos, ListMadeBeforeItsFirstDropDownStillShowsOnTop)
{
  TdxBarCombo* combo = NewCombo({L"red", L"green", L"blue"}, Bar2);
  combo->GetListBox()->HandleNeeded();
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  const TRect button = control->GetDropDownRect();
  POINT arrow{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ::ClientToScreen(Bar2->GetControl()->GetHandle(), &arrow);
  ASSERT_TRUE(ClickAt(arrow));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  EXPECT_EQ(::GetAncestor(List(combo), GA_PARENT), ::GetDesktopWindow()) << "the list is a child window";
  TRect r = combo->GetListBox()->ItemRect(1);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ::ClientToScreen(List(combo), &p);
  EXPECT_EQ(::WindowFromPoint(p), List(combo));
  ASSERT_TRUE(ClickAt(p));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_EQ(combo->GetText(), L"green");
}

TEST_F(TCombos, ArrowOpensTheListOfAComboEditedFromTheKeyboard)
{
  TdxBarCombo* combo = NewCombo({L"one", L"two", L"three"}, Bar2);
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  combo->FocusEditor();
  ASSERT_TRUE(PumpUntil([&] { return control->GetHandle() && ::GetFocus() == control->GetHandle(); }));
  const TRect button = control->GetDropDownRect();
  POINT arrow{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ::ClientToScreen(Bar2->GetControl()->GetHandle(), &arrow);
  ASSERT_TRUE(ClickAt(arrow));
  EXPECT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  EXPECT_TRUE(control->GetFocused());
  ASSERT_TRUE(ClickAt(arrow));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_TRUE(control->GetFocused()) << "closing the list keeps editing";
  ASSERT_TRUE(PressKey(VK_ESCAPE));
}

// An index out of range clears the text and names no entry, even where an entry is empty;
// the second of two equal entries stays chosen.
TEST_F(TCombos, AnIndexOutOfRangeNamesNoEntryEvenAnEmptyOne)
{
  TdxBarCombo* combo = NewCombo({L"", L"x", L"x"}, Bar2);
  int changes = 0;
  combo->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->GetItemIndex(), 2);
  EXPECT_EQ(combo->GetText(), L"x");
  combo->SetItemIndex(10);
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_EQ(combo->GetText(), L"");
  EXPECT_EQ(changes, 2);
  // Text set as such still names its entry.
  combo->SetText(L"x");
  combo->SetText(L"");
  EXPECT_EQ(combo->GetItemIndex(), 0);
}

// A list that is open when the combo turns read-only still closes when editing ends.
TEST_F(TCombos, AListOpenWhenTheComboTurnsReadOnlyStillCloses)
{
  TdxBarCombo* combo = NewCombo({L"red", L"green", L"blue"}, Bar2);
  int closeUps = 0;
  combo->OnCloseUp = TNotifyEvent([&](TObject*) { ++closeUps; });
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(DropDown(control, combo));
  combo->SetReadOnly(true);
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_FALSE(control->IsDroppedDown());
  EXPECT_EQ(closeUps, 1);
}

// Turns the real mouse wheel by ANotches (positive away from the user).
bool TurnWheel(int ANotches)
{
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  input.mi.mouseData = DWORD(ANotches * WHEEL_DELTA);
  if (::SendInput(1, &input, sizeof(input)) != 1)
    return false;
  PumpPending();
  return true;
}

TEST_F(TCombos, WheelStepsAClosedListAndScrollsAnOpenOne)
{
  TdxBarCombo* combo = NewCombo({}, Bar2);
  for (int i = 0; i < 20; ++i)
    combo->GetItems()->Add(L"entry " + std::to_wstring(i));
  combo->SetItemIndex(5);
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(StartEditing(control));
  ASSERT_TRUE(TurnWheel(-1));
  EXPECT_TRUE(PumpUntil([&] { return control->GetText() == L"entry 6"; })) << ToUtf8(control->GetText());
  ASSERT_TRUE(TurnWheel(1));
  EXPECT_TRUE(PumpUntil([&] { return control->GetText() == L"entry 5"; })) << ToUtf8(control->GetText());
  EXPECT_EQ(combo->GetText(), L"entry 5");

  ASSERT_TRUE(PressKey(VK_F4));
  ASSERT_TRUE(ListShown(combo));
  const int top = combo->GetListBox()->GetTopIndex();
  ASSERT_LT(top, 20 - 8) << "room to scroll down";
  ASSERT_TRUE(TurnWheel(-1));
  EXPECT_TRUE(PumpUntil([&] { return combo->GetListBox()->GetTopIndex() == top + 1; }));
  EXPECT_TRUE(ListShown(combo));
  EXPECT_EQ(control->GetText(), L"entry 5") << "scrolling chooses nothing";
  ASSERT_TRUE(PressKey(VK_ESCAPE));
}

// A whole entry typed in other letters is chosen in the open list; text that is no entry
// leaves the list without a choice, the best match still edited.
TEST_F(TCombos, AnEntryTypedInOtherLettersIsChosenInTheOpenList)
{
  TdxBarCombo* combo = NewCombo({L"Apple", L"Apricot", L"Banana"}, Bar2);
  auto* control = ControlOn<TdxBarComboControl>(Bar2, combo);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(DropDown(control, combo));
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(L"aPRICOT"));
  EXPECT_EQ(combo->GetListBox()->GetItemIndex(), 1);
  EXPECT_EQ(control->GetItemIndex(), 1);
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(L"apz"));
  EXPECT_EQ(combo->GetListBox()->GetItemIndex(), -1);
  EXPECT_EQ(control->GetItemIndex(), 0);
  ASSERT_TRUE(PressKey(VK_ESCAPE));
}
