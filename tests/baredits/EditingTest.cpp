// The in-place editor under real pointer and keys: where it opens, what Enter, Esc, Tab and
// a click elsewhere keep, the length limit, read-only editors, long texts, and that repeated
// editing leaves no window or GDI object behind.
#include "EditTestUtil.h"

#include "bars/keyboard/navigation.h"
#include "bars/painters/painter.h"
#include "platform/GraphicsObjects.h"
#include "platform/Scope.h"

namespace {

class TEditing : public TEditFixture {
protected:
  void SetUp() override
  {
    TEditFixture::SetUp();
    Edit->OnChange = TNotifyEvent([this](TObject*) { ++Changes; });
    Edit->OnCurChange = TNotifyEvent([this](TObject*) { ++CurChanges; });
    Control = ControlOn(Bar1, Edit);
  }
  // Replaces the editor's whole text by typing.
  bool ReplaceText(const std::wstring& AText)
  {
    return PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(AText);
  }
  bool EditorHidden() const { return !Control->GetHandle() || !::IsWindowVisible(Control->GetHandle()); }
  // The item holds "start", AlwaysSaveText as given, no change counted; then "abc" is typed
  // over it in the editor.
  bool EditStartIntoAbc(bool AAlwaysSaveText)
  {
    Manager->SetAlwaysSaveText(AAlwaysSaveText);
    Edit->SetText(L"start");
    Changes = 0;
    return StartEditing(Control) && ReplaceText(L"abc");
  }

  TdxBarEditControl* Control = nullptr;
  int Changes = 0;
  int CurChanges = 0;
};

}  // namespace

TEST_F(TEditing, ClickOpensTheEditorExactlyOverTheTextPart)
{
  ASSERT_TRUE(StartEditing(Control));
  HWND editor = Control->GetHandle();
  wchar_t name[16] = {};
  ::GetClassNameW(editor, name, 16);
  EXPECT_EQ(::lstrcmpiW(name, L"EDIT"), 0);
  EXPECT_TRUE(::IsWindowVisible(editor));
  EXPECT_EQ(::GetParent(editor), Bar1->GetControl()->GetHandle());
  // The text part less the painter's border margins, on the screen.
  TRect text = Control->GetPartRects().at(dxBarEditPartText);
  const TRect m = Control->GetPainter()->GetEditBorderMargins();
  RECT expected{text.left + m.left, text.top + m.top, text.right - m.right, text.bottom - m.bottom};
  ::MapWindowPoints(Bar1->GetControl()->GetHandle(), nullptr, reinterpret_cast<POINT*>(&expected), 2);
  RECT actual = WindowRectOf(editor);
  EXPECT_TRUE(::EqualRect(&actual, &expected))
      << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom;
  EXPECT_EQ(Control->GetText(), L"start");
  EXPECT_EQ(CurChanges, 0) << "reading the item's text in is no change of the user's";
  EXPECT_TRUE(Bar1->GetControl()->IsEditorEditing());
}

TEST_F(TEditing, EnterStoresTheTextOnEveryLink)
{
  ASSERT_TRUE(StartEditing(Control));
  ASSERT_TRUE(ReplaceText(L"hello"));
  EXPECT_EQ(Edit->GetCurText(), L"hello");
  EXPECT_EQ(Edit->GetText(), L"start");
  EXPECT_EQ(CurChanges, 5) << "one per keystroke";
  ASSERT_TRUE(PressKey(VK_RETURN));
  EXPECT_EQ(Edit->GetText(), L"hello");
  EXPECT_EQ(Changes, 1);
  EXPECT_TRUE(EditorHidden());
  EXPECT_FALSE(Bar1->GetControl()->GetActive());
  EXPECT_EQ(::GetFocus(), FormEdit->GetHandle());
  // The second toolbar draws the new text.
  auto* other = ControlOn(Bar2, Edit);
  EXPECT_TRUE(PumpUntil([&] { return other->GetEditDrawParams()->Text == L"hello"; }));
}

TEST_F(TEditing, EscapeKeepsTheOldText)
{
  Manager->SetAlwaysSaveText(true);
  ASSERT_TRUE(StartEditing(Control));
  ASSERT_TRUE(TypeText(L"xyz"));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  EXPECT_EQ(Edit->GetText(), L"start");
  EXPECT_EQ(Changes, 0);
  EXPECT_TRUE(EditorHidden());
  EXPECT_EQ(::GetFocus(), FormEdit->GetHandle());
}

TEST_F(TEditing, ClickElsewhereKeepsTheTextOnlyWithAlwaysSaveText)
{
  for (bool always : {false, true}) {
    SCOPED_TRACE(always);
    ASSERT_TRUE(EditStartIntoAbc(always));
    RECT r = WindowRectOf(FormEdit->GetHandle());
    ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    EXPECT_TRUE(PumpUntil([&] { return EditorHidden(); }));
    EXPECT_EQ(Edit->GetText(), always ? L"abc" : L"start");
    EXPECT_EQ(Changes, always ? 1 : 0);
    EXPECT_EQ(::GetFocus(), FormEdit->GetHandle()) << "the focus stays where the user clicked";
    EXPECT_FALSE(Bar1->GetControl()->IsEditorEditing());
  }
}

// The focus taken by another top-level window ends editing as a click elsewhere does.
TEST_F(TEditing, AnotherWindowTakingTheFocusEndsEditing)
{
  for (bool always : {false, true}) {
    SCOPED_TRACE(always);
    ASSERT_TRUE(EditStartIntoAbc(always));
    {
      TOwned<TEditTestForm> other(TCustomForm::CreateNew<TEditTestForm>(nullptr));
      other->SetBounds(400, 400, 200, 120);
      other->Show();
      ASSERT_TRUE(ActivateWindow(other->GetHandle()));
      EXPECT_TRUE(PumpUntil([&] { return EditorHidden(); }));
      EXPECT_FALSE(Control->GetFocused());
      EXPECT_FALSE(Bar1->GetControl()->IsEditorEditing());
      EXPECT_EQ(Edit->GetText(), always ? L"abc" : L"start");
      EXPECT_EQ(Changes, always ? 1 : 0);
    }
    ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  }
}

TEST_F(TEditing, TabStoresAndMovesToTheNextControl)
{
  ASSERT_TRUE(StartEditing(Control));
  ASSERT_TRUE(ReplaceText(L"tab"));
  ASSERT_TRUE(PressKey(VK_TAB));
  EXPECT_EQ(Edit->GetText(), L"tab");
  EXPECT_TRUE(EditorHidden());
  EXPECT_EQ(Bar1->GetControl()->GetSelectedLink(), Button->GetLink(0));
}

TEST_F(TEditing, MaxLengthRefusesFurtherCharacters)
{
  Edit->SetMaxLength(-3);
  EXPECT_EQ(Edit->GetMaxLength(), 0);
  Edit->SetMaxLength(5);
  Edit->SetText(L"");
  ASSERT_TRUE(StartEditing(Control));
  EXPECT_EQ(::SendMessageW(Control->GetHandle(), EM_GETLIMITTEXT, 0, 0), 5);
  ASSERT_TRUE(TypeText(L"abcdefg"));
  EXPECT_EQ(Control->GetText(), L"abcde");
  ASSERT_TRUE(PressKey(VK_RETURN));
  EXPECT_EQ(Edit->GetText(), L"abcde");
}

TEST_F(TEditing, ReadOnlyEditorSelectsButDoesNotChange)
{
  Edit->SetReadOnly(true);
  ASSERT_TRUE(StartEditing(Control));
  EXPECT_TRUE(::GetWindowLongPtrW(Control->GetHandle(), GWL_STYLE) & ES_READONLY);
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}));
  DWORD from = 0, to = 0;
  ::SendMessageW(Control->GetHandle(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
  EXPECT_EQ(to - from, 5u);
  ASSERT_TRUE(TypeText(L"zz"));
  EXPECT_EQ(Control->GetText(), L"start");
}

TEST_F(TEditing, LongTextSurvivesAnEditingRoundTrip)
{
  const String text(300, L'w');
  Edit->SetText(text);
  Changes = 0;
  Edit->FocusEditor();
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == Control->GetHandle(); }));
  DWORD from = 0, to = 0;
  ::SendMessageW(Control->GetHandle(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
  EXPECT_EQ(to - from, 300u) << "entered by key: all selected";
  ASSERT_TRUE(PressKey(VK_RETURN));
  EXPECT_EQ(Edit->GetText(), text);
  EXPECT_EQ(Changes, 0);
}

TEST_F(TEditing, RepeatedEditingLeavesNothingBehind)
{
  ASSERT_TRUE(StartEditing(Control));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  const int windows = ThreadEditWindows();
  const int gdi = GdiObjectsInUse();
  for (int i = 0; i < 200; ++i) {
    Edit->FocusEditor();
    ASSERT_TRUE(Control->GetFocused()) << i;
    ASSERT_TRUE(PressKey(VK_ESCAPE)) << i;
    ASSERT_FALSE(Control->GetFocused()) << i;
  }
  PumpPending();
  EXPECT_EQ(ThreadEditWindows(), windows);
  EXPECT_EQ(GdiObjectsInUse(), gdi);
}

TEST_F(TEditing, WidthDragWhileCustomizingSetsTheLinksWidth)
{
  Manager->SetIsCustomizing(true);
  TdxBarControl* bar = Bar1->GetControl();
  TdxBarItemLink* link = Edit->GetLink(0);
  auto drag = [&](int AFromRight, int ABy) {
    auto* control = ControlOn(Bar1, Edit);
    const TRect r = control->GetItemRect();
    POINT from{r.right - AFromRight, (r.top + r.bottom) / 2};
    ::ClientToScreen(bar->GetHandle(), &from);
    bool moved = MoveMouseTo(from) && MouseButtonDown();
    moved = moved && PumpUntil([&] { return bar->IsResizingItem(); });
    moved = moved && MoveMouseTo(POINT{from.x + ABy, from.y}) && MouseButtonUp();
    PumpPending();
    return moved;
  };
  const int start = link->GetWidth();
  ASSERT_TRUE(drag(2, 30));
  EXPECT_FALSE(bar->IsResizingItem());
  EXPECT_TRUE(link->GetUserDefine().Contains(udWidth));
  EXPECT_EQ(link->GetWidth(), start - 2 + 30) << "the new right edge is where the pointer went";
  EXPECT_EQ(Edit->GetWidth(), 100) << "the item keeps its own width";
  // Never narrower than the smallest text part.
  ASSERT_TRUE(drag(2, -120));
  EXPECT_EQ(link->GetWidth(), ControlOn(Bar1, Edit)->GetMinEditWidth());
  Manager->SetIsCustomizing(false);
}

TEST_F(TEditing, AltAndF10EndEditingAndStartTheMenuModeAsFromTheForm)
{
  for (WORD key : {WORD(VK_MENU), WORD(VK_F10)}) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(StartEditing(Control));
    ASSERT_TRUE(PressKey(key));
    PumpPending();
    EXPECT_TRUE(EditorHidden());
    EXPECT_NE(ActiveBarControl(), nullptr);
    EXPECT_TRUE(BarNavigationController()->IsNavigationActive());
    BarNavigationController()->StopNavigation();
  }
}

TEST_F(TEditing, HandlerThatFreesTheItemEndsTheKeyQuietly)
{
  auto* doomed = new TdxBarEdit(Host.Form());
  Bar2->GetItemLinks()->AddItem(doomed);
  PumpPending();
  TWeakRef<TdxBarEdit> alive(doomed);
  doomed->OnKeyDown = TKeyEvent([&](TObject*, WORD& Key, TShiftState) {
    if (Key == VK_RETURN)
      doomed->Free();
  });
  auto* control = ControlOn(Bar2, doomed);
  ASSERT_TRUE(StartEditing(control));
  HWND editor = control->GetHandle();
  PressKey(VK_RETURN);
  PumpPending();
  EXPECT_FALSE(alive);
  EXPECT_FALSE(::IsWindow(editor));
  EXPECT_EQ(::GetFocus(), FormEdit->GetHandle()) << "the focus went back before the editor went";
}

// A right press on the editor goes on to the bar; a bar that frees the item then (a user's
// handler deleting the command from the context menu) ends the press there, and the form
// keeps working.
TEST_F(TEditing, BarThatFreesTheItemOnAForwardedRightPressEndsThePressQuietly)
{
  auto* doomed = new TdxBarEdit(Host.Form());
  Bar2->GetItemLinks()->AddItem(doomed);
  PumpPending();
  TWeakRef<TdxBarEdit> alive(doomed);
  auto* control = ControlOn(Bar2, doomed);
  ASSERT_TRUE(StartEditing(control));
  HWND editor = control->GetHandle();
  TdxBarControl* bar = Bar2->GetControl();
  const TWndMethod original = bar->GetWindowProc();
  TFinally restore([bar, original] { bar->SetWindowProc(original); });
  int rightPresses = 0;
  bar->SetWindowProc(TWndMethod([&](TMessage& Message) {
    if (Message.Msg == WM_RBUTTONDOWN) {
      ++rightPresses;
      if (TdxBarEdit* item = alive.Get())
        item->Free();
      return;
    }
    original(Message);
  }));
  RECT r = WindowRectOf(editor);
  ASSERT_TRUE(MoveMouseTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  ASSERT_TRUE(MouseButtonDown(TInputButton::Right));
  // The window under the pointer is gone with the item: the release lands on the bar.
  MouseButtonUp(TInputButton::Right);
  PumpPending();
  EXPECT_EQ(rightPresses, 1);
  EXPECT_FALSE(alive);
  EXPECT_FALSE(::IsWindow(editor));
  // The other edit still edits.
  ASSERT_TRUE(StartEditing(ControlOn(Bar1, Edit)));
}

TEST_F(TEditing, PressesOnTheCaptionOfAnEditingEditBelongToItsEditor)
{
  int clicks = 0;
  Edit->SetCaption(L"Find");
  Edit->SetShowCaption(true);
  Edit->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  Control = ControlOn(Bar1, Edit);
  ASSERT_NE(Control, nullptr);
  ASSERT_TRUE(StartEditing(Control));
  const int clicksToStart = clicks;
  ASSERT_TRUE(ReplaceText(L"hello") && PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}));
  const TRect caption = Control->GetPartRects().at(dxBarEditPartCaption);
  ASSERT_GT(caption.right - caption.left, 0);
  POINT at{(caption.left + caption.right) / 2, (caption.top + caption.bottom) / 2};
  ::ClientToScreen(Bar1->GetControl()->GetHandle(), &at);
  // Moves there are handed back and forth between bar and editor once, not for ever.
  ASSERT_TRUE(MoveMouseTo(at));
  ASSERT_TRUE(ClickAt(at));
  ASSERT_TRUE(DoubleClickAt(at));
  PumpPending();
  EXPECT_EQ(clicks, clicksToStart) << "the bar took the presses as clicks of the item";
  EXPECT_TRUE(Control->GetFocused());
  EXPECT_EQ(::GetFocus(), Control->GetHandle());
  DWORD from = 0, to = 0;
  ::SendMessageW(Control->GetHandle(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, 5u) << "the selection is the user's until he edits it";
  // A right click there opens no menu of the editor's; a menu that does open is closed
  // from inside its loop, so that the test ends either way.
  static bool menuShown;
  menuShown = false;
  auto closeMenus = [](HWND, UINT, UINT_PTR, DWORD) {
    if (HWND menu = ::FindWindowW(L"#32768", nullptr); menu && ::IsWindowVisible(menu)) {
      menuShown = true;
      ::EndMenu();
    }
  };
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, closeMenus);
  TFinally killTimer([&] { ::KillTimer(nullptr, timer); });
  // A menu opened by the release is shown and closed before the click is through.
  ASSERT_TRUE(ClickAt(at, TInputButton::Right));
  PumpPending();
  EXPECT_FALSE(menuShown);
  ASSERT_TRUE(PressKey(VK_RETURN));
  EXPECT_EQ(Edit->GetText(), L"hello");
}
