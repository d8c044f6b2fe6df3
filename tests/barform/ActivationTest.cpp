// Floating bars follow their form: hidden with the form and shown with it, hidden while the
// form is inactive where the manager says so, and kept on the work area.
#include <algorithm>

#include "FormTestUtil.h"

#include "bars/itemcontrols/edits.h"
#include "bars/barwindows/shadow.h"
#include "lookandfeel/cxControls.h"
#include "platform/ExtCtrls.h"
#include "platform/Scope.h"
#include "platform/StdCtrls.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TFormActivationTest : public testing::Test {
protected:
  TFormActivationTest() : Manager(Host.Manager), Form(Host.Form()) { Form->SetBounds(100, 100, 400, 200); }
  void ShowAndActivate()
  {
    Form->Show();
    ASSERT_TRUE(ActivateWindow(Form->GetHandle()));
    PumpPending();
  }

  TBarHost<TFormTestForm> Host;
  TdxBarManager* Manager;
  TFormTestForm* Form;
};

const wchar_t* const FloatingBarForm =
    L"object LoadedForm: TFormTestForm\n"
    L"  Left = 100\n  Top = 100\n  Width = 400\n  Height = 200\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    object dxBarManager1Bar1: TdxBar\n"
    L"      Caption = 'Tools'\n"
    L"      DockingStyle = dsNone\n"
    L"      FloatLeft = 150\n      FloatTop = 340\n"
    L"      ItemLinks = <\n"
    L"        item\n          Visible = True\n          ItemName = 'btnAdd'\n        end>\n"
    L"      Visible = True\n"
    L"    end\n"
    L"    object btnAdd: TdxBarButton\n      Caption = 'Add'\n      Category = 0\n    end\n"
    L"  end\n"
    L"end\n";

}  // namespace

TEST_F(TFormActivationTest, FloatingBarsHideAndShowWithTheirForm)
{
  ShowAndActivate();
  TdxBar* first = AddFloatingBar(Manager, 150, 320, L"First");
  TdxBar* second = AddFloatingBar(Manager, 350, 320, L"Second");
  ASSERT_TRUE(IsBarOnScreen(first));
  ASSERT_TRUE(IsBarOnScreen(second));

  Form->Hide();
  PumpPending();
  EXPECT_FALSE(IsBarOnScreen(first));
  EXPECT_FALSE(IsBarOnScreen(second));
  EXPECT_TRUE(first->GetVisible());
  EXPECT_TRUE(Manager->IsTemporaryHiddenBar(first));

  ShowAndActivate();
  EXPECT_TRUE(IsBarOnScreen(first));
  EXPECT_TRUE(IsBarOnScreen(second));
  EXPECT_FALSE(Manager->IsTemporaryHiddenBar(first));

  // Minimised and restored.
  Form->SetWindowState(wsMinimized);
  PumpPending();
  EXPECT_FALSE(IsBarOnScreen(first));
  Form->SetWindowState(wsNormal);
  ASSERT_TRUE(ActivateWindow(Form->GetHandle()));
  PumpPending();
  EXPECT_TRUE(IsBarOnScreen(first));
}

// In code and in form data: a floating bar made visible before its form shows appears with it.
TEST_F(TFormActivationTest, FloatingBarMadeVisibleBeforeTheFormShowsAppearsWithIt)
{
  TdxBar* bar = AddFloatingBar(Manager, 150, 320);
  EXPECT_TRUE(bar->GetVisible());
  EXPECT_FALSE(IsBarOnScreen(bar));
  ShowAndActivate();
  EXPECT_TRUE(IsBarOnScreen(bar));

  TOwned<TFormTestForm> loaded(TCustomForm::CreateFromText<TFormTestForm>(FloatingBarForm, nullptr));
  TdxBar* read = GetBarManagerByOwner(loaded.Get())->GetBars()->GetItem(0);
  ASSERT_TRUE(read->GetVisible());
  EXPECT_FALSE(IsBarOnScreen(read));
  loaded->Show();
  ASSERT_TRUE(ActivateWindow(loaded->GetHandle()));
  PumpPending();
  EXPECT_TRUE(IsBarOnScreen(read));
  // The first form's bar hides while the second form is active, and comes back with its form.
  EXPECT_FALSE(IsBarOnScreen(bar));
  ASSERT_TRUE(ActivateWindow(Form->GetHandle()));
  PumpPending();
  EXPECT_TRUE(IsBarOnScreen(bar));
  EXPECT_FALSE(IsBarOnScreen(read));
}

// Deactivation towards each kind of window, and what the bars do.
TEST_F(TFormActivationTest, InactiveFormHidesItsFloatingBarsByTheRule)
{
  TBarHost<TFormTestForm> other;
  other.Form()->SetBounds(520, 100, 200, 150);
  other.Form()->Show();
  HWND plainWindow = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ShowAndActivate();
  TdxBar* bar = AddFloatingBar(Manager, 150, 320);
  ASSERT_TRUE(IsBarOnScreen(bar));
  HWND barWindow = bar->GetControl()->GetHandle();
  const struct {
    const char* Name;
    HWND Other;
    bool Hide;     // HideFloatingBarsWhenInactive
    bool ModalUp;  // the form disabled by a modal window of its own
    bool ExpectedOnScreen;
  } cases[] = {
      {"another form", other.Form()->GetHandle(), true, false, false},
      {"no window", nullptr, true, false, false},
      {"the application window", Application->GetHandle(), true, false, false},
      {"a window of the process that is no form", plainWindow, true, false, true},
      {"the bar's own window", barWindow, true, false, true},
      {"a modal dialog", other.Form()->GetHandle(), true, true, true},
      {"bars kept while inactive", other.Form()->GetHandle(), false, false, true},
  };
  for (const auto& k : cases) {
    Manager->SetHideFloatingBarsWhenInactive(k.Hide);
    DeliverFormMessage(Manager, Form->GetHandle(), WM_ACTIVATE, WA_ACTIVE, 0);
    ASSERT_TRUE(IsBarOnScreen(bar)) << k.Name;
    if (k.ModalUp)
      EnableWindow(Form->GetHandle(), FALSE);
    DeliverFormMessage(Manager, Form->GetHandle(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(k.Other));
    EXPECT_EQ(IsBarOnScreen(bar), k.ExpectedOnScreen) << k.Name;
    EnableWindow(Form->GetHandle(), TRUE);
    // Reactivation shows the bar without taking the activation.
    DeliverFormMessage(Manager, Form->GetHandle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(IsBarOnScreen(bar)) << k.Name;
    EXPECT_NE(GetActiveWindow(), barWindow) << k.Name;
  }
  // Switching the rule on while inactive hides at once.
  Manager->SetHideFloatingBarsWhenInactive(false);
  DeliverFormMessage(Manager, Form->GetHandle(), WM_ACTIVATE, WA_INACTIVE,
                     reinterpret_cast<LPARAM>(other.Form()->GetHandle()));
  ASSERT_TRUE(IsBarOnScreen(bar));
  Manager->SetHideFloatingBarsWhenInactive(true);
  EXPECT_FALSE(IsBarOnScreen(bar));
  DestroyWindow(plainWindow);
}

TEST_F(TFormActivationTest, ApplicationDeactivationRemembersTheActiveForm)
{
  ShowAndActivate();
  TdxBar* bar = AddFloatingBar(Manager, 150, 320);
  DeliverFormMessage(Manager, Form->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(Manager->GetFormActive());
  EXPECT_FALSE(IsBarOnScreen(bar));
  DeliverFormMessage(Manager, Form->GetHandle(), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_TRUE(Manager->GetFormActive());
  EXPECT_TRUE(IsBarOnScreen(bar));
}

TEST_F(TFormActivationTest, ApplicationDeactivationTakesTheHotButtonBack)
{
  ShowAndActivate();
  TdxBar* bar = Manager->GetBars()->Add();
  bar->SetDockingStyle(dsTop);
  auto* button = new TdxBarButton(Form);
  button->SetCaption(L"Add");
  bar->GetItemLinks()->AddItem(button);
  bar->SetVisible(true);
  PumpPending();
  TdxBarControl* control = bar->GetControl();
  TRect r = control->GetItemScreenRect(button->GetLink(0)->GetControl());
  ASSERT_TRUE(MoveMouseTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  ASSERT_TRUE(PumpUntil([&] { return control->GetSelectedControl() != nullptr; }, 2000)) << "hot under the pointer";
  SendMessageW(Form->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
  TFinally reactivate([&] { SendMessageW(Form->GetHandle(), WM_ACTIVATEAPP, TRUE, 0); });
  EXPECT_EQ(control->GetSelectedControl(), nullptr);
}

// Bottom, top, right, left in that order: a bar taller than the work area ends at its top.
TEST_F(TFormActivationTest, FloatingBarsMoveIntoTheWorkArea)
{
  ShowAndActivate();
  TRect area = GetMonitorWorkAreaAtPoint(TPoint{300, 200});
  TdxBar* off = AddFloatingBar(Manager, area.right + 100, area.bottom + 50, L"Off");
  TdxBar* left = AddFloatingBar(Manager, area.left - 300, 200, L"Left");
  SendMessageW(Form->GetHandle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  for (TdxBar* bar : {off, left}) {
    RECT r{};
    GetWindowRect(bar->GetControl()->GetHandle(), &r);
    EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom)
        << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom;
  }
  RECT r{};
  GetWindowRect(off->GetControl()->GetHandle(), &r);
  EXPECT_EQ(r.right, area.right);
  EXPECT_EQ(r.bottom, area.bottom);

  // A bar without a window keeps its stored position inside.
  off->SetVisible(false);
  off->SetFloatLeft(area.right + 500);
  off->SetFloatTop(-400);
  SendMessageW(Form->GetHandle(), WM_DISPLAYCHANGE, 32, 0);
  EXPECT_LE(off->GetFloatLeft() + off->GetFloatClientWidth(), area.right);
  EXPECT_EQ(off->GetFloatTop(), area.top);
}

namespace {

const wchar_t* const BarOverFormForm =
    L"object BarOverForm: TFormTestForm\n"
    L"  Left = 100\n  Top = 100\n  Width = 420\n  Height = 260\n"
    L"  Color = clLime\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    object dxBarManager1Bar1: TdxBar\n"
    L"      Caption = 'Tools'\n"
    L"      DockingStyle = dsNone\n"
    L"      FloatLeft = 180\n      FloatTop = 180\n"
    L"      ItemLinks = <\n"
    L"        item\n          Visible = True\n          ItemName = 'btnAdd'\n        end>\n"
    L"      Visible = True\n"
    L"    end\n"
    L"    object btnAdd: TdxBarButton\n      Caption = 'Add'\n      Category = 0\n    end\n"
    L"  end\n"
    L"end\n";

// How much of the bar's window the screen shows in the form's colour: all of it when the
// form covers the bar.
int FormColouredPixelsOverBar(TdxBar* ABar)
{
  RECT r{};
  ::GetWindowRect(ABar->GetControl()->GetHandle(), &r);
  TDib32 shot = CaptureScreen(r);
  SaveShotOnRequest(shot, "BarOverForm");
  return CountPixelsNear(shot, RECT{0, 0, shot.Width(), shot.Height()}, RGB(0, 255, 0), 24);
}

}  // namespace

// Read from the screen, not the window list: the window system may lose a restack while
// still listing the bar above its owner.
TEST_F(TFormActivationTest, FloatingBarOverItsFormShowsAboveIt)
{
  TOwned<TFormTestForm> form(TCustomForm::CreateFromText<TFormTestForm>(BarOverFormForm, nullptr));
  TdxBar* bar = GetBarManagerByOwner(form.Get())->GetBars()->GetItem(0);
  form->Show();
  ASSERT_TRUE(ActivateWindow(form->GetHandle()));
  ASSERT_TRUE(IsBarOnScreen(bar));
  EXPECT_TRUE(PumpUntil([bar] { return FormColouredPixelsOverBar(bar) == 0; }, 2000))
      << "the form covers its floating bar after Show";

  // Raised again over the bar, the form still shows the bar on top.
  ::SetWindowPos(form->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::BringWindowToTop(form->GetHandle());
  EXPECT_TRUE(PumpUntil([bar] { return FormColouredPixelsOverBar(bar) == 0; }, 2000))
      << "the form covers its floating bar after a restack";
}

// A click into a docked edit moves the focus into the form, which the window system may
// answer by lifting the form: its floating bar still shows above it.
TEST_F(TFormActivationTest, FloatingBarStaysAboveItsFormWhenTheFocusMovesIntoABarEditor)
{
  TOwned<TFormTestForm> form(TCustomForm::CreateFromText<TFormTestForm>(BarOverFormForm, nullptr));
  TdxBarManager* manager = GetBarManagerByOwner(form.Get());
  TdxBar* floating = manager->GetBars()->GetItem(0);
  TdxBar* docked = manager->GetBars()->Add();
  docked->SetDockingStyle(dsTop);
  auto* edit = new TdxBarEdit(form.Get());
  edit->SetWidth(100);
  docked->GetItemLinks()->AddItem(edit);
  docked->SetVisible(true);
  form->Show();
  ASSERT_TRUE(ActivateWindow(form->GetHandle()));
  ASSERT_TRUE(PumpUntil([floating] { return FormColouredPixelsOverBar(floating) == 0; }, 2000));
  TdxBarItemControl* control = docked->GetItemLinks()->Items(0)->GetControl();
  ASSERT_NE(control, nullptr);
  const TRect r = control->GetItemRect();
  POINT p{r.right - 20, (r.top + r.bottom) / 2};
  ::ClientToScreen(docked->GetControl()->GetHandle(), &p);
  ASSERT_TRUE(ClickAt(p));
  ASSERT_TRUE(PumpUntil([] { return ::GetFocus() && ::GetParent(::GetFocus()) != nullptr; }, 2000));
  EXPECT_TRUE(PumpUntil([floating] { return FormColouredPixelsOverBar(floating) == 0; }, 2000))
      << "the form covers its floating bar once the editor has the focus";
}

namespace {

// A form of the given colour with a manager in the look whose floating bars cast a shadow.
TFormTestForm* MakeShadowedBarForm(TdxBarManager*& AManager)
{
  auto* form = TCustomForm::CreateNew<TFormTestForm>(nullptr);
  form->SetBounds(100, 100, 420, 260);
  form->SetColor(TColor(RGB(0, 255, 0)));
  AManager = new TdxBarManager(form);
  AManager->SetStyle(bmsOffice11);
  return form;
}

// How much of the shadow strip along the bar's right edge the screen shows in the form's colour.
int FormColouredPixelsInShadow(TdxBar* ABar)
{
  RECT r{};
  ::GetWindowRect(ABar->GetControl()->GetHandle(), &r);
  TDib32 shot = CaptureScreen(RECT{r.right, r.top + 8, r.right + 4, r.bottom});
  return CountPixelsNear(shot, RECT{0, 0, shot.Width(), shot.Height()}, RGB(0, 255, 0), 24);
}

void ExpectBarAndShadowAboveTheForm(TdxBar* ABar)
{
  ASSERT_TRUE(IsBarOnScreen(ABar));
  ASSERT_NE(ABar->GetControl()->GetShadow(), nullptr);
  EXPECT_TRUE(ABar->GetControl()->GetShadow()->GetVisible());
  EXPECT_TRUE(PumpUntil([ABar] { return FormColouredPixelsOverBar(ABar) == 0; }, 2000))
      << FormColouredPixelsOverBar(ABar) << " pixels of the form over its floating bar";
  EXPECT_TRUE(PumpUntil([ABar] { return FormColouredPixelsInShadow(ABar) == 0; }, 2000))
      << FormColouredPixelsInShadow(ABar) << " pixels of the form over the bar's shadow";
}

}  // namespace

// A bar made visible floating before its form shows, in a look with shadows: the screen shows
// the bar and its shadow above the form once it is shown and takes the focus.
TEST_F(TFormActivationTest, FloatingBarShownBeforeItsFormShowsAboveItWithItsShadow)
{
  TdxBarManager* manager = nullptr;
  TOwned<TFormTestForm> form(MakeShadowedBarForm(manager));
  TdxBar* bar = AddFloatingBar(manager, 180, 180);
  form->Show();
  ASSERT_TRUE(ActivateWindow(form->GetHandle()));
  ExpectBarAndShadowAboveTheForm(bar);
}

// The same bar restored floating from an ini file before the form shows.
TEST_F(TFormActivationTest, FloatingBarRestoredFromAnIniFileAtStartShowsAboveItsForm)
{
  const String file = L"floating-at-start.ini";
  {
    TdxBarManager* first = nullptr;
    TOwned<TFormTestForm> saved(MakeShadowedBarForm(first));
    TdxBar* bar = AddFloatingBar(first, 180, 180);
    bar->SetName(L"barFloating");
    bar->GetItemLinks()->Items(0)->GetItem()->SetName(L"btnTools");
    first->SaveToIniFile(file);
  }
  TdxBarManager* manager = nullptr;
  TOwned<TFormTestForm> form(MakeShadowedBarForm(manager));
  TdxBar* bar = manager->GetBars()->Add();
  bar->SetName(L"barFloating");
  auto* button = new TdxBarButton(form.Get());
  button->SetName(L"btnTools");
  button->SetCaption(L"Tools");
  bar->GetItemLinks()->AddItem(button);
  manager->LoadFromIniFile(file);
  ::DeleteFileW(file.c_str());
  ASSERT_EQ(bar->GetDockingStyle(), dsNone);
  ASSERT_TRUE(bar->GetVisible());
  form->Show();
  ASSERT_TRUE(ActivateWindow(form->GetHandle()));
  ExpectBarAndShadowAboveTheForm(bar);
}

namespace {

// A program's main form as a program builds it: a panel in the form's colour fills it, and a
// list along its right edge takes the focus when the form is activated; a toolbar
// "Standard" with an edit and a button, all named for the stored layout, is docked at the top
// and made visible. The form has its window before it is filled, as a form the application
// makes does.
TFormTestForm* MakeProgramForm(TdxBarManager*& AManager, TdxBar*& ABar)
{
  TFormTestForm* form = MakeShadowedBarForm(AManager);
  form->HandleNeeded();
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetAlign(alClient);
  auto* list = new TListBox(form);
  list->SetParent(panel);
  list->SetAlign(alRight);
  list->SetWidth(80);
  ABar = AManager->GetBars()->Add();
  ABar->SetName(L"barStandard");
  ABar->SetCaption(L"Standard");
  ABar->SetDockingStyle(dsTop);
  auto* edit = new TdxBarEdit(form);
  edit->SetName(L"edtTask");
  edit->SetWidth(120);
  auto* button = new TdxBarButton(form);
  button->SetName(L"btnAdd");
  button->SetCaption(L"Add");
  ABar->GetItemLinks()->AddItem(edit);
  ABar->GetItemLinks()->AddItem(button);
  ABar->SetVisible(true);
  return form;
}

TPoint WindowSizeOf(TdxBar* ABar)
{
  RECT r{};
  ::GetWindowRect(ABar->GetControl()->GetHandle(), &r);
  return TPoint{r.right - r.left, r.bottom - r.top};
}

TListBox* ListOf(TFormTestForm* AForm)
{
  for (int i = 0; i < AForm->GetControlCount(); ++i)
    if (auto* panel = dynamic_cast<TPanel*>(AForm->GetControls(i)))
      return static_cast<TListBox*>(panel->GetControls(0));
  return nullptr;
}

}  // namespace

// A program's start, as the application's Run makes it: the main form, its bar restored floating
// from the ini file the library wrote on the last run, is shown once, with no other activation,
// and its list takes the focus. The program's first paint keeps its thread from its messages for
// a moment, so that the window system takes in its own events of the showing (it lifts the form
// as it gives the form the input) after the library's later raise is due. The screen shows the
// whole bar, at the size it had when it was stored, and its shadow above the form.
TEST_F(TFormActivationTest, FloatingBarRestoredAtAProgramsStartShowsAboveItsFormAtItsSize)
{
  const String file = L"floating-at-program-start.ini";
  TFinally remove([&] { ::DeleteFileW(file.c_str()); });
  TPoint savedSize;
  {
    TdxBarManager* manager = nullptr;
    TdxBar* bar = nullptr;
    TOwned<TFormTestForm> lastRun(MakeProgramForm(manager, bar));
    bar->SetFloatLeft(180);
    bar->SetFloatTop(180);
    bar->SetDockingStyle(dsNone);
    savedSize = WindowSizeOf(bar);
    manager->SaveToIniFile(file);
  }
  ASSERT_GT(savedSize.x, 0);
  ASSERT_GT(savedSize.y, 0);
  TdxBarManager* manager = nullptr;
  TdxBar* bar = nullptr;
  TOwned<TFormTestForm> form(MakeProgramForm(manager, bar));
  manager->LoadFromIniFile(file);
  ASSERT_EQ(bar->GetDockingStyle(), dsNone);
  form->SetVisible(true);
  ::Sleep(4 * USER_TIMER_MINIMUM);  // the first paint's moment
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == ListOf(form.Get())->GetHandle(); }, 2000));
  // The program's loop idles, and the window system takes its events in meanwhile.
  PumpFor(200);
  EXPECT_EQ(WindowSizeOf(bar), savedSize);
  ExpectBarAndShadowAboveTheForm(bar);
}

// Clicks that move the focus: into the floating bar's edit, from there into the form's list, and
// between the list and an edit of the form. The window system lifts the form as the focus comes
// into it or moves inside it, and the bar still shows above the form.
TEST_F(TFormActivationTest, FloatingBarStaysAboveItsFormWhenTheFocusMovesIntoTheFormOrInsideIt)
{
  TdxBarManager* manager = nullptr;
  TdxBar* bar = nullptr;
  TOwned<TFormTestForm> form(MakeProgramForm(manager, bar));
  TListBox* list = ListOf(form.Get());
  auto* edit = new TEdit(form.Get());
  edit->SetParent(list->GetParent());
  edit->SetAlign(alBottom);
  bar->SetFloatLeft(180);
  bar->SetFloatTop(180);
  bar->SetDockingStyle(dsNone);
  form->Show();
  ASSERT_TRUE(ActivateWindow(form->GetHandle()));
  PumpFor(200);
  ExpectBarAndShadowAboveTheForm(bar);
  const TRect barEdit = bar->GetControl()->GetItemScreenRect(bar->GetItemLinks()->Items(0)->GetControl());
  RECT listRect{}, editRect{};
  ::GetWindowRect(list->GetHandle(), &listRect);
  ::GetWindowRect(edit->GetHandle(), &editRect);
  const struct {
    const char* Name;
    POINT At;
  } clicks[] = {
      {"the bar's edit", {barEdit.right - 20, (barEdit.top + barEdit.bottom) / 2}},
      {"the list", {listRect.right - 30, listRect.top + 20}},
      {"the form's edit", CentreOf(editRect)},
      {"the list again", {listRect.right - 30, listRect.top + 20}},
  };
  for (const auto& click : clicks) {
    SCOPED_TRACE(testing::Message() << "a click into " << click.Name);
    const HWND focusBefore = ::GetFocus();
    ASSERT_TRUE(ClickAt(click.At));
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() && ::GetFocus() != focusBefore; }, 2000)) << "the focus moves";
    PumpFor(200);
    ExpectBarAndShadowAboveTheForm(bar);
  }
}

namespace {

// Whether the bar's window or a strip of its shadow lies in the topmost band.
bool IsBarOrShadowTopmost(TdxBar* ABar)
{
  std::vector<HWND> windows{ABar->GetControl()->GetHandle()};
  if (TdxBarShadow* shadow = ABar->GetControl()->GetShadow())
    for (int i = 0; i < shadow->GetPartCount(); ++i)
      if (shadow->GetPart(i)->HandleAllocated())
        windows.push_back(shadow->GetPart(i)->GetHandle());
  return std::any_of(windows.begin(), windows.end(),
                     [](HWND w) { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; });
}

}  // namespace

// Real clicks in a mixed order on the form, on its floating bar's button and on another form of
// the program, with the bar hidden and kept while the form is inactive: after each click the
// screen shows the bar over the form wherever the bar is shown, and neither the bar nor its
// shadow is left above other programs' windows.
TEST_F(TFormActivationTest, FloatingBarStaysAboveItsFormUnderClicksHereAndThere)
{
  TdxBarManager* manager = nullptr;
  TOwned<TFormTestForm> form(MakeShadowedBarForm(manager));
  TdxBar* bar = AddFloatingBar(manager, 180, 180);
  TBarHost<TFormTestForm> other;
  other.Form()->SetBounds(560, 100, 200, 150);
  other.Form()->Show();
  form->Show();
  ASSERT_TRUE(ActivateWindow(form->GetHandle()));
  ASSERT_TRUE(IsBarOnScreen(bar));
  const POINT onForm{480, 320};
  RECT otherRect{};
  ::GetWindowRect(other.Form()->GetHandle(), &otherRect);
  const POINT onOther = CentreOf(otherRect);
  enum { Form, Bar, Other };
  const char* const names[] = {"the form", "the bar", "the other form"};
  unsigned seed = 48;
  for (bool hideWhenInactive : {true, false}) {
    manager->SetHideFloatingBarsWhenInactive(hideWhenInactive);
    int checked = 0;
    for (int step = 0; step < 30; ++step) {
      seed = seed * 1103515245u + 12345u;
      int target = static_cast<int>((seed >> 16) % 3);
      // The bar hides while the other form is active: where it was, the click lands on the form.
      if (target == Bar && !IsBarOnScreen(bar))
        target = Form;
      POINT at = target == Form ? onForm : onOther;
      if (target == Bar)
        at = CentreOf(bar->GetControl()->GetItemScreenRect(bar->GetItemLinks()->Items(0)->GetControl()));
      SCOPED_TRACE(testing::Message() << "hidden while inactive " << hideWhenInactive << ", step " << step
                                      << ": a click on " << names[target]);
      ASSERT_TRUE(ClickAt(at));
      PumpPending();
      if (!IsBarOnScreen(bar))
        continue;
      ++checked;
      EXPECT_TRUE(PumpUntil([bar] { return FormColouredPixelsOverBar(bar) == 0; }, 2000))
          << FormColouredPixelsOverBar(bar) << " pixels of the form over its floating bar";
      EXPECT_TRUE(PumpUntil([bar] { return !IsBarOrShadowTopmost(bar); }, 2000))
          << "the bar stays above other programs' windows";
    }
    EXPECT_GE(checked, 15) << "steps with the bar shown";
  }
}
