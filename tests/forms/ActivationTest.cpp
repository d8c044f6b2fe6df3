// Activation and focus: the active form and control as the screen tracks them, enter and
// exit notices, KeyPreview, a remade border, screen centring and the show events.
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
