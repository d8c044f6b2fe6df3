// Activation and focus: the active form and control as the screen tracks them, enter and
// exit notices, Tab through real keys, KeyPreview, window styles, Position and WindowState.
#include "FormsTestUtil.h"
#include "support/Pixels.h"

namespace {

TTestForm* NewForm(int Left, int Top)
{
  auto* form = TCustomForm::CreateNew<TTestForm>(nullptr);
  form->SetBounds(Left, Top, 260, 180);
  form->OnActivate = TNotifyEvent(form, &TTestForm::FormActivate);
  form->OnDeactivate = TNotifyEvent(form, &TTestForm::FormDeactivate);
  return form;
}

TTile* AddTile(TCustomForm* Form, const wchar_t* Name, int Left)
{
  auto* tile = new TTile(Form);
  tile->SetName(Name);
  tile->SetBounds(Left, 20, 80, 40);
  tile->SetParent(Form);
  return tile;
}

TEST(Activation, TheScreenFollowsTheActiveForm)
{
  TOwned<TTestForm> a(NewForm(60, 60));
  TOwned<TTestForm> b(NewForm(400, 60));
  int changes = 0;
  Screen->OnActiveFormChange = TNotifyEvent([&](TObject*) { ++changes; });
  ASSERT_TRUE(ShowAndActivate(a.Get()));
  EXPECT_EQ(Screen->GetActiveForm(), a.Get());
  EXPECT_EQ(Screen->GetActiveCustomForm(), a.Get());
  ASSERT_TRUE(ShowAndActivate(b.Get()));
  EXPECT_EQ(Screen->GetActiveForm(), b.Get());
  EXPECT_EQ(Screen->GetCustomForms(0), b.Get());
  EXPECT_FALSE(a->GetActive());
  EXPECT_EQ(a->Count(L"activate"), 1);
  EXPECT_EQ(a->Count(L"deactivate"), 1);
  EXPECT_EQ(b->Count(L"activate"), 1);
  EXPECT_GE(changes, 2);
  Screen->OnActiveFormChange = nullptr;
  b->Free();
  EXPECT_NE(Screen->GetActiveCustomForm(), static_cast<TCustomForm*>(b.Get()));
}

TEST(Activation, TheFirstTabStopGetsTheFocusAndTheScreenKnowsIt)
{
  TOwned<TTestForm> form(NewForm(80, 80));
  TTile* first = AddTile(form.Get(), L"First", 10);
  AddTile(form.Get(), L"Second", 110);
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  EXPECT_EQ(form->GetActiveControl(), first);
  EXPECT_EQ(::GetFocus(), first->GetHandle());
  EXPECT_EQ(Screen->GetActiveControl(), first);
}

TEST(Activation, MovingTheFocusSendsExitThenEnter)
{
  TOwned<TTestForm> form(NewForm(80, 80));
  TTile* first = AddTile(form.Get(), L"First", 10);
  TTile* second = AddTile(form.Get(), L"Second", 110);
  std::vector<std::wstring> log;
  first->OnExit = TNotifyEvent([&](TObject*) { log.push_back(L"exit First"); });
  second->OnEnter = TNotifyEvent([&](TObject*) { log.push_back(L"enter Second"); });
  int controlChanges = 0;
  Screen->OnActiveControlChange = TNotifyEvent([&](TObject*) { ++controlChanges; });
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  controlChanges = 0;
  form->SetActiveControl(second);
  EXPECT_EQ(::GetFocus(), second->GetHandle());
  EXPECT_EQ(log, (std::vector<std::wstring>{L"exit First", L"enter Second"}));
  EXPECT_EQ(Screen->GetActiveControl(), second);
  EXPECT_EQ(controlChanges, 1);
  Screen->OnActiveControlChange = nullptr;
}

TEST(Activation, TabFromTheKeyboardMovesToTheNextControl)
{
  TOwned<TTestForm> form(NewForm(80, 80));
  AddTile(form.Get(), L"First", 10);
  TTile* second = AddTile(form.Get(), L"Second", 110);
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  ASSERT_TRUE(PressKey(VK_TAB));
  EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == second->GetHandle(); }));
  EXPECT_EQ(form->GetActiveControl(), second);
}

TEST(Activation, KeyPreviewLetsTheFormTakeKeysFirst)
{
  TOwned<TTestForm> form(NewForm(80, 80));
  TTile* first = AddTile(form.Get(), L"First", 10);
  std::vector<std::wstring> log;
  form->OnKeyDown = TKeyEvent([&](TObject*, WORD& Key, TShiftState) {
    log.push_back(L"form");
    if (Key == 'X')
      Key = 0;  // eaten: the control never sees it
  });
  first->OnKeyDown = TKeyEvent([&](TObject*, WORD&, TShiftState) { log.push_back(L"control"); });
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  ASSERT_TRUE(PressKey('A'));
  PumpPending();
  EXPECT_EQ(log, std::vector<std::wstring>{L"control"}) << "no preview without KeyPreview";
  log.clear();
  form->SetKeyPreview(true);
  ASSERT_TRUE(PressKey('A'));
  ASSERT_TRUE(PressKey('X'));
  PumpPending();
  EXPECT_EQ(log, (std::vector<std::wstring>{L"form", L"control", L"form"}));
}

TEST(Activation, AFreedActiveControlIsForgotten)
{
  TOwned<TTestForm> form(NewForm(80, 80));
  TTile* first = AddTile(form.Get(), L"First", 10);
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  ASSERT_EQ(form->GetActiveControl(), first);
  first->Free();
  EXPECT_EQ(form->GetActiveControl(), nullptr);
  // The focus falls back to the form's own window, or nowhere.
  TWinControl* focused = form->GetFocusedControl();
  EXPECT_TRUE(focused == nullptr || focused == form.Get());
  TWinControl* screenActive = Screen->GetActiveControl();
  EXPECT_TRUE(screenActive == nullptr || screenActive == form.Get());
}

TEST(Activation, AControlOfAnotherFormCannotBeTheActiveControl)
{
  TOwned<TTestForm> a(NewForm(60, 60));
  TOwned<TTestForm> b(NewForm(400, 60));
  TTile* tile = AddTile(b.Get(), L"Elsewhere", 10);
  EXPECT_THROW(a->SetActiveControl(tile), EInvalidOperation);
  EXPECT_EQ(a->GetActiveControl(), nullptr);
  EXPECT_EQ(GetParentForm(tile), b.Get());
  EXPECT_EQ(ValidParentForm(tile), b.Get());
  TTile loose(nullptr);
  EXPECT_THROW(ValidParentForm(&loose), EInvalidOperation);
}

// ---------------------------------------------------------------------------

TEST(FormWindow, BorderStylesGiveTheSystemStyles)
{
  struct TRow {
    TFormBorderStyle Border;
    LONG_PTR Style, NoStyle, ExStyle;
  };
  const TRow rows[] = {
      {bsSizeable, WS_THICKFRAME | WS_CAPTION | WS_MAXIMIZEBOX, 0, 0},
      {bsSingle, WS_CAPTION | WS_MINIMIZEBOX, WS_THICKFRAME, 0},
      {bsDialog, WS_CAPTION | WS_SYSMENU, WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME, WS_EX_DLGMODALFRAME},
      {bsToolWindow, WS_CAPTION, WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW},
      {bsNone, WS_POPUP, WS_CAPTION | WS_SYSMENU, 0},
  };
  for (const TRow& row : rows) {
    TOwned<TTestForm> form(TCustomForm::CreateNew<TTestForm>(nullptr));
    form->SetBorderStyle(row.Border);
    HWND h = form->GetHandle();
    LONG_PTR style = ::GetWindowLongPtrW(h, GWL_STYLE), ex = ::GetWindowLongPtrW(h, GWL_EXSTYLE);
    SCOPED_TRACE(GetEnumName(EnumInfo<TFormBorderStyle>(), row.Border));
    EXPECT_EQ(style & row.Style, row.Style);
    EXPECT_EQ(style & row.NoStyle, 0);
    EXPECT_EQ(ex & row.ExStyle, row.ExStyle);
  }
}

TEST(FormWindow, ChangingTheBorderOfAShownFormRemakesItsWindowVisible)
{
  TOwned<TTestForm> form(NewForm(100, 100));
  form->SetCaption(L"Kept");
  form->Show();
  form->SetBorderIcons(TBorderIcons{biSystemMenu});
  HWND h = form->GetHandle();
  EXPECT_TRUE(::IsWindowVisible(h));
  EXPECT_EQ(::GetWindowLongPtrW(h, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_EQ(form->GetCaption(), L"Kept");
  form->SetFormStyle(fsStayOnTop);
  EXPECT_TRUE(::GetWindowLongPtrW(form->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(FormWindow, ScreenCenterPutsTheFormInTheMiddleOfThePrimaryMonitor)
{
  TOwned<TTestForm> form(NewForm(0, 0));
  form->SetPosition(poScreenCenter);
  form->Show();
  TRect monitor = Screen->GetPrimaryMonitor()->GetBoundsRect();
  TRect bounds = form->GetBoundsRect();
  EXPECT_NEAR(bounds.left + RectWidth(bounds) / 2, (monitor.left + monitor.right) / 2, 1);
  EXPECT_NEAR(bounds.top + RectHeight(bounds) / 2, (monitor.top + monitor.bottom) / 2, 1);
}

TEST(FormWindow, OwnerFormCenterPutsTheFormOverItsOwner)
{
  TOwned<TTestForm> owner(NewForm(100, 120));
  owner->SetBounds(100, 120, 500, 400);
  owner->Show();
  TOwned<TTestForm> dialog(TCustomForm::CreateNew<TTestForm>(owner.Get()));
  dialog->SetBounds(0, 0, 200, 100);
  dialog->SetPosition(poOwnerFormCenter);
  dialog->Show();
  EXPECT_EQ(dialog->GetLeft(), 100 + (500 - 200) / 2);
  EXPECT_EQ(dialog->GetTop(), 120 + (400 - 100) / 2);
}

TEST(FormWindow, WindowStateFollowsTheWindow)
{
  TOwned<TTestForm> form(NewForm(100, 100));
  form->SetWindowState(wsMaximized);
  form->Show();
  EXPECT_TRUE(::IsZoomed(form->GetHandle()));
  form->SetWindowState(wsMinimized);
  EXPECT_TRUE(::IsIconic(form->GetHandle()));
  form->SetWindowState(wsNormal);
  EXPECT_FALSE(::IsIconic(form->GetHandle()));
  EXPECT_FALSE(::IsZoomed(form->GetHandle()));
  // A change made by the system is read back.
  ::ShowWindow(form->GetHandle(), SW_MAXIMIZE);
  EXPECT_TRUE(PumpUntil([&] { return form->GetWindowState() == wsMaximized; }));
  ::ShowWindow(form->GetHandle(), SW_MINIMIZE);
  EXPECT_TRUE(PumpUntil([&] { return form->GetWindowState() == wsMinimized; }));
}

TEST(FormWindow, OnPaintDrawsOnTheFormCanvas)
{
  TOwned<TTestForm> form(NewForm(120, 120));
  form->SetBorderStyle(bsNone);
  int paints = 0;
  form->OnPaint = TNotifyEvent([&](TObject*) {
    ++paints;
    TCanvas* canvas = form->GetCanvas();
    canvas->GetBrush()->SetColor(clRed);
    canvas->FillRect(Rect(10, 10, 60, 60));
  });
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  ::UpdateWindow(form->GetHandle());
  ASSERT_TRUE(PumpUntil([&] { return paints > 0; }));
  TDib32 shot = CaptureScreen(form->ClientToScreen(Rect(0, 0, 100, 100)));
  EXPECT_TRUE(ColorNear(shot.Pixel(30, 30), RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(shot.Pixel(80, 80), ColorToRGB(clBtnFace)));
}

TEST(FormWindow, ShowAndHideRunTheirEventsOncePerChange)
{
  TOwned<TTestForm> form(NewForm(100, 100));
  form->OnShow = TNotifyEvent(form.Get(), &TTestForm::FormShow);
  form->OnHide = TNotifyEvent(form.Get(), &TTestForm::FormHide);
  form->Show();
  form->Show();
  form->Hide();
  form->Hide();
  EXPECT_EQ(form->Count(L"show"), 1);
  EXPECT_EQ(form->Count(L"hide"), 1);
  // Visible cannot change from inside OnShow.
  form->OnShow = TNotifyEvent([&](TObject*) { form->Hide(); });
  EXPECT_THROW(form->Show(), EInvalidOperation);
}

}  // namespace
