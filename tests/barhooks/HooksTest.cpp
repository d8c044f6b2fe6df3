// The thread hooks with real keys and clicks: shortcuts from a form's edit, Alt, F10 and the
// arrows driving keyboard navigation, Alt accelerators, the hooks' life with the managers,
// keys routed to the focused form's manager, and colour changes reaching every manager.
#include <gtest/gtest.h>

#include "bars/model/customizing.h"
#include "bars/dxBar.h"
#include "platform/Application.h"
#include "platform/ExtCtrls.h"
#include "platform/Scope.h"
#include "platform/StdCtrls.h"
#include "KeyTestUtil.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"
#include "support/SysColors.h"

IMPLEMENT_CLASS(THooksTestForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const Env = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{THooksTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

// The services a part fills for a scope, put back afterwards.
struct TServicesScope {
  explicit TServicesScope(const std::function<void(TdxBarHookServices&)>& AFill)
  {
    TdxBarHookServices s = dxBarHookServices();
    AFill(s);
    FOld = SetdxBarHookServices(s);
  }
  ~TServicesScope() { SetdxBarHookServices(FOld); }
  TdxBarHookServices FOld;
};

TEST(Hooks, LiveWithTheManagersAndComeBackWithANewOne)
{
  int added = 0, removed = 0;
  TServicesScope services([&](TdxBarHookServices& s) {
    s.ManagerAdded = [&](TdxBarManager*) { ++added; };
    s.ManagerRemoved = [&](TdxBarManager*) { ++removed; };
  });
  ASSERT_EQ(dxBarManagerList()->Count(), 0);
  EXPECT_EQ(dxBarInstalledHookCount(), 0);
  EXPECT_EQ(dxBarHintWindow(), nullptr);
  {
    TBarHost<THooksTestForm> one;
    TBarHost<THooksTestForm> two;
    EXPECT_EQ(dxBarInstalledHookCount(), 3);
    TdxBarHintWindow* hintWindow = dxBarHintWindow();
    EXPECT_NE(hintWindow, nullptr) << "made with the first manager";
    one.FForm->Free();
    EXPECT_EQ(dxBarInstalledHookCount(), 3) << "a manager is left";
    EXPECT_EQ(dxBarHintWindow(), hintWindow);
  }
  EXPECT_EQ(dxBarInstalledHookCount(), 0);
  EXPECT_EQ(dxBarHintWindow(), nullptr) << "freed with the last";
  EXPECT_EQ(added, 2);
  EXPECT_EQ(removed, 2);
  TBarHost<THooksTestForm> again;
  EXPECT_EQ(dxBarInstalledHookCount(), 3);
}

TEST(Hooks, ActivationStateFollowsTheCallWindowHook)
{
  TKeyForm f({L"One"});
  HWND form = f.Host.Form()->GetHandle();
  ASSERT_TRUE(IsApplicationActive());
  SendMessageW(form, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(IsApplicationActive());
  SendMessageW(form, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_TRUE(IsApplicationActive());
  HWND foreign = GetDesktopWindow();
  ASSERT_TRUE(IsForeignProcessWindow(foreign));
  dxBarCallWndHookMessage(form, WM_ACTIVATE, WA_INACTIVE, LPARAM(foreign));
  EXPECT_FALSE(IsApplicationActive()) << "deactivated towards another process";
  SendMessageW(form, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_TRUE(IsApplicationActive());
}

// The design controller's side of the services (hooks.h): no part of the library fills it
// yet, so this holds the hooks to their side of the contract only: Esc and Delete are
// offered to the entries, and an entry that takes a key eats it.
TEST(HookServicesContract, EscAndDeleteAreOfferedToTheDesignEntries)
{
  int deletes = 0;
  bool ctrl = false;
  TServicesScope services([&](TdxBarHookServices& s) {
    s.DesignEscape = [] { return true; };
    s.DesignDelete = [&](bool ACtrl) {
      ++deletes;
      ctrl = ACtrl;
      return true;
    };
  });
  TKeyForm f({L"One"});
  EXPECT_TRUE(dxBarKeyboardHookMessage(VK_ESCAPE, 1));
  EXPECT_TRUE(dxBarKeyboardHookMessage(VK_DELETE, 1));
  EXPECT_EQ(deletes, 1);
  EXPECT_FALSE(ctrl);
  EXPECT_FALSE(dxBarKeyboardHookMessage(VK_DELETE, 1 | LPARAM(0xC0000000))) << "only the key-down";
}

TEST(Hooks, TheWheelGoesToNoOpenBarAndAPressOutsideClosesIt)
{
  TKeyForm f({L"One"});
  HWND edit = f.Edit->GetHandle();
  EXPECT_FALSE(dxBarMouseHookMessage(WM_MOUSEWHEEL, edit));
  static_cast<TCustomdxBarControl*>(f.Bar->GetControl())->ActivateWithControl(nullptr);
  EXPECT_TRUE(dxBarMouseHookMessage(WM_MOUSEWHEEL, edit)) << "eaten while a bar is active";
  EXPECT_TRUE(dxBarMouseHookMessage(WM_RBUTTONUP, edit)) << "a side button released outside";
  EXPECT_FALSE(dxBarMouseHookMessage(WM_LBUTTONDOWN, edit)) << "closes the bar and goes on";
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

// Wheel messages a mouse hook installed before the library's sees.
int GWheelsSeen = 0;
LRESULT CALLBACK CountWheels(int Code, WPARAM WParam, LPARAM LParam)
{
  if (Code == HC_ACTION && WParam == WM_MOUSEWHEEL)
    ++GWheelsSeen;
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

TEST(Hooks, AMouseMessageTheHookEatsStillReachesTheHooksAfterIt)
{
  ASSERT_EQ(dxBarInstalledHookCount(), 0) << "the counting hook must come after the library's in the chain";
  HHOOK hook = SetWindowsHookExW(WH_MOUSE, CountWheels, nullptr, GetCurrentThreadId());
  TFinally unhook([&] { UnhookWindowsHookEx(hook); });
  TKeyForm f({L"One"});
  static_cast<TCustomdxBarControl*>(f.Bar->GetControl())->ActivateWithControl(nullptr);
  RECT edit{};
  GetWindowRect(f.Edit->GetHandle(), &edit);
  ASSERT_TRUE(MoveMouseTo(POINT{edit.left + 5, edit.top + 5}));
  GWheelsSeen = 0;
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = DWORD(-WHEEL_DELTA);
  ASSERT_EQ(SendInput(1, &wheel, sizeof(wheel)), 1u);
  EXPECT_TRUE(PumpUntil([] { return GWheelsSeen > 0; }, 2000));
  EXPECT_EQ(ActiveBarControl(), f.Bar->GetControl()) << "the wheel did nothing to the open bar";
}

// A manager that reports an open Customize dialog through the customizing services (the
// dialog itself is not built yet), and a form that counts the presses it gets. The test holds
// the hooks to their side only: what they do with the presses while a dialog is reported.
class TCustomizingManager : public TdxBarManager {
public:
  explicit TCustomizingManager(TComponent* AOwner) : TdxBarManager(AOwner)
  {
    TdxBarCustomizingServices services = dxBarCustomizingServices();
    services.GetCustomizingFormHandle = [this](const TdxBarManager* AManager) {
      return AManager == this ? Dialog : nullptr;
    };
    FPreviousServices = SetdxBarCustomizingServices(std::move(services));
  }
  ~TCustomizingManager() override { SetdxBarCustomizingServices(std::move(FPreviousServices)); }
  HWND Dialog = nullptr;

private:
  TdxBarCustomizingServices FPreviousServices;
};

class TCountingForm : public TForm {
public:
  using TForm::TForm;
  int ErrorPresses = 0;

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == WM_NCLBUTTONDOWN && Message.WParam == WPARAM(HTERROR))
      ++ErrorPresses;
    TForm::WndProc(Message);
  }
};

TEST(HookServicesContract, WhileADialogIsReportedPressesOnTheFormsControlsBecomeItsNonClientOnes)
{
  TBarHost<TCountingForm, TCustomizingManager> host;
  auto* edit = new TEdit(host.Form());
  edit->SetParent(host.Form());
  host.Form()->Show();
  TOwned<TForm> dialog(TCustomForm::CreateNew<TForm>(nullptr));
  const POINT p{5, 5};
  // The dialog opens with customizing mode (an open dialog keeps the mode from switching on).
  host.Manager->SetIsCustomizing(true);
  EXPECT_FALSE(dxBarMouseHookMessage(WM_LBUTTONDOWN, edit->GetHandle(), p)) << "no dialog reported yet";
  host.Manager->Dialog = dialog->GetHandle();
  EXPECT_TRUE(dxBarMouseHookMessage(WM_LBUTTONDOWN, edit->GetHandle(), p));
  EXPECT_EQ(host.Form()->ErrorPresses, 1) << "the form got it as a non-client press that does nothing";
  EXPECT_TRUE(dxBarMouseHookMessage(WM_MOUSEMOVE, edit->GetHandle(), p));
  EXPECT_FALSE(dxBarMouseHookMessage(WM_LBUTTONDOWN, host.Form()->GetHandle(), p)) << "the form itself is left alone";
  host.Manager->SetIsCustomizing(false);
  EXPECT_FALSE(dxBarMouseHookMessage(WM_LBUTTONDOWN, edit->GetHandle(), p)) << "not customizing any more";
}

// Key messages the edit takes from the queue.
int GEditKeys = 0;
HWND GEditWindow = nullptr;
LRESULT CALLBACK CountEditKeys(int Code, WPARAM WParam, LPARAM LParam)
{
  auto* msg = reinterpret_cast<MSG*>(LParam);
  if (Code == HC_ACTION && WParam == PM_REMOVE && msg->hwnd == GEditWindow &&
      (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP))
    ++GEditKeys;
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

TEST(Hooks, KeysOfAnOpenBarAndTheirKeyUpsNeverReachTheFocusedControl)
{
  TKeyForm f({L"One", L"Two"});
  GEditWindow = f.Edit->GetHandle();
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, CountEditKeys, nullptr, GetCurrentThreadId());
  TFinally unhook([&] { UnhookWindowsHookEx(hook); });
  for (WORD key : {WORD('X'), WORD(VK_ESCAPE)}) {
    SCOPED_TRACE(key);
    static_cast<TCustomdxBarControl*>(f.Bar->GetControl())->ActivateWithControl(nullptr);
    GEditKeys = 0;
    Stroke(key);
    EXPECT_EQ(GEditKeys, 0);
    EXPECT_EQ(ActiveBarControl() == nullptr, key == VK_ESCAPE) << "Esc closes the bar";
  }
  EXPECT_EQ(f.Edit->GetText(), L"");
}

TEST(Hooks, APopupMenuLinkedToTheFocusedControlTakesTheShortCutFirst)
{
  TKeyForm f({L"Save"});
  f.Buttons[0]->SetShortCut(CtrlS);
  TComponent popup(nullptr);
  TdxBarPopupMenuLink* link = f.Host.Manager->GetPopupMenuLinks()->Add();
  link->SetControl(f.Edit);
  link->SetPopupMenu(&popup);
  std::vector<TShortCut> asked;
  TdxBarPopupMenuLinkServices old = SetdxBarPopupMenuLinkServices({nullptr, [&](TComponent*, TShortCut AShortCut) {
                                                                     asked.push_back(AShortCut);
                                                                     return true;
                                                                   }});
  TFinally restore([&] { SetdxBarPopupMenuLinkServices(old); });
  ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
  PumpPending();
  EXPECT_NE(std::find(asked.begin(), asked.end(), CtrlS), asked.end());
  EXPECT_TRUE(f.Clicks.empty()) << "the toolbar's button is not clicked";
  link->SetPopupMenu(nullptr);
}

struct TShortCutCase {
  const char* Name;
  bool Floating;
  bool FocusOnBar;  // the floating bar's window is the foreground window
  bool Enabled;
  bool BarVisible;
  int Clicks;
};

TEST(Hooks, RealCtrlSClicksTheButtonWithThatShortCut)
{
  const TShortCutCase cases[] = {
      {"docked, focus in the edit", false, false, true, true, 1},
      {"floating, focus in the edit", true, false, true, true, 1},
      {"floating, its window in front", true, true, true, true, 1},
      {"disabled item", false, false, false, true, 0},
      {"item on a hidden bar", false, false, true, false, 0},
  };
  for (const TShortCutCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TKeyForm f({L"Save", L"Other"});
    f.Buttons[0]->SetShortCut(CtrlS);
    f.Buttons[0]->SetEnabled(c.Enabled);
    if (c.Floating) {
      f.Bar->SetFloatLeft(200);
      f.Bar->SetFloatTop(420);
      f.Bar->SetDockingStyle(dsNone);
    }
    f.Bar->SetVisible(c.BarVisible);
    PumpPending();
    if (c.FocusOnBar) {
      ASSERT_TRUE(ActivateWindow(f.Bar->GetControl()->GetHandle()));
    }
    ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
    PumpPending();
    EXPECT_EQ(int(f.Clicks.size()), c.Clicks);
    if (c.Clicks) {
      EXPECT_EQ(f.Edit->GetText(), L"") << "the shortcut's key is eaten";
    }
  }
}

TEST(Hooks, KeysGoToTheManagerOfTheFocusedForm)
{
  TKeyForm a({L"A"}, 60);
  TKeyForm b({L"B"}, 520);
  a.Buttons[0]->SetShortCut(CtrlS);
  b.Buttons[0]->SetShortCut(CtrlS);
  ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
  PumpPending();
  EXPECT_TRUE(a.Clicks.empty());
  EXPECT_EQ(b.Clicks, std::vector<String>{L"B"});
  ASSERT_TRUE(ActivateWindow(a.Host.Form()->GetHandle()));
  a.Edit->SetFocus();
  ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
  PumpPending();
  EXPECT_EQ(a.Clicks, std::vector<String>{L"A"});
  EXPECT_EQ(b.Clicks.size(), 1u);
}

TEST(Hooks, AFormWithoutAManagerReachesTheMainFormsOnlyWhenItAllowsCalls)
{
  TOwned<TForm> main(static_cast<TForm*>(Application->CreateForm(TForm::StaticClass())));
  ASSERT_EQ(Application->GetMainForm(), main.Get());
  auto* manager = new TdxBarManager(main.Get());
  TdxBar* bar = manager->GetBars()->Add();
  bar->SetDockingStyle(dsTop);
  auto* button = new TdxBarButton(main.Get());
  int clicks = 0;
  button->SetShortCut(CtrlS);
  button->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  bar->GetItemLinks()->AddItem(button);
  bar->SetVisible(true);
  main->SetBounds(60, 60, 300, 200);
  main->Show();
  TOwned<TForm> other(TCustomForm::CreateNew<TForm>(nullptr));
  other->SetBounds(420, 60, 300, 200);
  auto* edit = new TEdit(other.Get());
  edit->SetParent(other.Get());
  other->Show();
  ASSERT_TRUE(ActivateWindow(other->GetHandle()));
  edit->SetFocus();
  for (bool allow : {false, true}) {
    SCOPED_TRACE(allow);
    manager->SetAllowCallFromAnotherForm(allow);
    clicks = 0;
    ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
    PumpPending();
    EXPECT_EQ(clicks, allow ? 1 : 0);
  }
}

// A panel of the form with a manager of its own: a shortcut typed in the form reaches the
// panel's bars as a companion's, and one typed in the panel reaches the form's bars on the way
// up from the panel.
TEST(Hooks, ShortCutsReachTheOtherManagersOfTheForm)
{
  TKeyForm f({L"Open"});
  f.Buttons[0]->SetShortCut(TShortCut(0x4000 | 'O'));
  auto* panel = new TPanel(f.Host.Form());
  panel->SetParent(f.Host.Form());
  panel->SetBounds(200, 120, 200, 100);
  auto* panelEdit = new TEdit(f.Host.Form());
  panelEdit->SetParent(panel);
  panelEdit->SetBounds(10, 60, 100, 24);
  auto* inner = new TdxBarManager(panel);
  TdxBar* bar = inner->GetBars()->Add();
  bar->SetDockingStyle(dsTop);
  auto* save = new TdxBarButton(f.Host.Form());
  save->SetShortCut(CtrlS);
  int saves = 0;
  save->SetOnClick(TNotifyEvent([&](TObject*) { ++saves; }));
  bar->GetItemLinks()->AddItem(save);
  bar->SetVisible(true);
  PumpPending();
  ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
  PumpPending();
  EXPECT_EQ(saves, 1) << "focus in the form's edit";
  panelEdit->SetFocus();
  ASSERT_TRUE(PressKey('O', {VK_CONTROL}));
  PumpPending();
  EXPECT_EQ(f.Clicks, std::vector<String>{L"Open"}) << "focus in the panel's edit";
  EXPECT_EQ(panelEdit->GetText(), L"");
}

// A form being designed is edited, not used: its manager takes no shortcut, no Alt and no hint.
TEST(Hooks, ADesignedManagerTakesNoKeysAndShowsNoHints)
{
  TKeyForm f({L"Save", L"Other"});
  f.Buttons[0]->SetShortCut(CtrlS);
  f.Host.Manager->SetDesigning(true, false);
  TFinally undesign([&] { f.Host.Manager->SetDesigning(false, false); });
  ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
  PumpPending();
  Stroke(VK_MENU);
  PumpPending();
  EXPECT_TRUE(f.Clicks.empty());
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_FALSE(BarNavigationController()->IsRootPending());
  f.Host.Manager->ActivateHint(true, L"Save", nullptr);
  EXPECT_FALSE(dxBarIsHintPending());
  EXPECT_FALSE(dxBarIsHintShowing());
}

TEST(Hooks, AltAloneAndF10StartNavigationArrowsMoveEnterClicks)
{
  for (WORD key : {WORD(VK_MENU), WORD(VK_F10)}) {
    SCOPED_TRACE(key);
    TKeyForm f({L"One", L"Two", L"Three"});
    Stroke(key);
    ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() == f.Bar->GetControl(); }, 2000));
    EXPECT_TRUE(BarNavigationController()->IsNavigationActive());
    EXPECT_FALSE(BarNavigationController()->AreKeyTipsShown());
    EXPECT_EQ(f.SelectedCaption(), L"One");
    Stroke(VK_RIGHT);
    EXPECT_EQ(f.SelectedCaption(), L"Two");
    Stroke(VK_LEFT);
    Stroke(VK_LEFT);
    EXPECT_EQ(f.SelectedCaption(), L"-") << "left of the first wraps around the bar to its mark";
    Stroke(VK_LEFT);
    EXPECT_EQ(f.SelectedCaption(), L"Three");
    Stroke(VK_RETURN);
    EXPECT_EQ(f.Clicks, std::vector<String>{L"Three"});
    EXPECT_EQ(f.Edit->GetText(), L"");
  }
}

// Keys through the hook procedure directly, with the modifiers held in the thread's key
// state: real input would leave these keys to the window's own menu loop.
TEST(Hooks, MenuKeysThatDoNotNavigatePassOn)
{
  struct TCase {
    const char* Name;
    WORD Key;
    std::vector<WORD> Held;
    bool UseF10;
  };
  const TCase cases[] = {
      {"F10 without UseF10ForMenu", VK_F10, {}, false},
      {"Shift+F10", VK_F10, {VK_SHIFT}, true},
      {"Ctrl+Alt", VK_MENU, {VK_CONTROL}, true},
  };
  TKeyForm f({L"One"});
  BYTE saved[256] = {};
  ASSERT_TRUE(GetKeyboardState(saved));
  TFinally restoreKeys([&] { SetKeyboardState(saved); });
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    f.Host.Manager->SetUseF10ForMenu(c.UseF10);
    BYTE state[256];
    std::copy(std::begin(saved), std::end(saved), state);
    for (WORD k : c.Held)
      state[k] |= 0x80;
    SetKeyboardState(state);
    const LPARAM alt = c.Key == VK_MENU ? LPARAM(1) << 29 : 0;
    EXPECT_FALSE(dxBarKeyboardHookMessage(c.Key, 1 | alt));
    EXPECT_FALSE(dxBarKeyboardHookMessage(c.Key, 1 | alt | LPARAM(0xC0000000))) << "the key-up passes on";
    SetKeyboardState(saved);
    PumpPending();
    EXPECT_FALSE(BarNavigationController()->IsRootPending());
    EXPECT_EQ(ActiveBarControl(), nullptr);
  }
}

TEST(Hooks, AltEscAndAMouseClickEndNavigation)
{
  TKeyForm f({L"One", L"Two"});
  Stroke(VK_MENU);
  ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() != nullptr; }, 2000));
  Stroke(VK_MENU);
  EXPECT_EQ(ActiveBarControl(), nullptr) << "a second Alt ends it, and the window's own menu mode stays off";

  Stroke(VK_MENU);
  ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() != nullptr; }, 2000));
  Stroke(VK_ESCAPE);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_FALSE(BarNavigationController()->IsNavigationActive());

  Stroke(VK_MENU);
  ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() != nullptr; }, 2000));
  RECT edit{};
  GetWindowRect(f.Edit->GetHandle(), &edit);
  ASSERT_TRUE(ClickAt(POINT{edit.left + 5, edit.top + 5}));
  EXPECT_TRUE(PumpUntil([] { return ActiveBarControl() == nullptr; }, 2000));
  EXPECT_FALSE(BarNavigationController()->IsNavigationOrKeyTipsActive());
  EXPECT_TRUE(f.Clicks.empty());
}

TEST(Hooks, ABarWindowDestroyedDuringNavigationLeavesNoSelection)
{
  TKeyForm f({L"One", L"Two"});
  Stroke(VK_MENU);
  ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() != nullptr; }, 2000));
  f.Bar->SetVisible(false);
  PumpPending();
  EXPECT_EQ(BarNavigationController()->GetSelectedObject(), nullptr);
  EXPECT_FALSE(BarNavigationController()->IsNavigationActive());
  Stroke(VK_RIGHT);
  EXPECT_TRUE(f.Clicks.empty());
}

TEST(Hooks, AltLetterClicksTheOnlyAcceleratorAndNarrowsTheKeyTipsOfAShared)
{
  TKeyForm f({L"&Add", L"&Remove", L"&Rename"});
  Stroke('A', {VK_MENU});
  PumpPending();
  EXPECT_EQ(f.Clicks, std::vector<String>{L"&Add"});
  EXPECT_EQ(ActiveBarControl(), nullptr);

  // Two links share R: their key tips are told apart and only theirs stay.
  Stroke('R', {VK_MENU});
  PumpPending();
  EXPECT_EQ(f.Clicks.size(), 1u);
  std::vector<String> shown;
  for (const auto& tip : BarNavigationController()->GetKeyTips())
    if (tip->Window && IsWindowVisible(tip->Window))
      shown.push_back(tip->Info.Text);
  EXPECT_EQ(shown, (std::vector<String>{L"R1", L"R2"}));
  Stroke('2');
  EXPECT_EQ(f.Clicks, (std::vector<String>{L"&Add", L"&Rename"}));
  EXPECT_FALSE(BarNavigationController()->AreKeyTipsShown());

  // Alt+F4 and other keys without an accelerator are not eaten.
  EXPECT_FALSE(dxBarKeyboardHookMessage(VK_F4, LPARAM(1) << 29));
}

TEST(Hooks, AltHeldShowsTheKeyTipsOfTheBarsAndTypingOneClicksIt)
{
  TKeyForm f({L"Open", L"Options", L"Exit"});
  f.Buttons[0]->SetKeyTip(L"O");
  f.Buttons[1]->SetKeyTip(L"O");
  f.Buttons[2]->SetKeyTip(L"X");
  ASSERT_TRUE(ShowKeyTipsByAlt());
  auto shown = [] {
    std::vector<String> texts;
    for (const auto& tip : BarNavigationController()->GetKeyTips())
      if (tip->Window && IsWindowVisible(tip->Window))
        texts.push_back(tip->Info.Text);
    return texts;
  };
  EXPECT_EQ(shown(), (std::vector<String>{L"O1", L"O2", L"X"})) << "the shared tip is told apart by numbers";
  // Each tip sits on the centre of its button.
  for (size_t i = 0; i < 3; ++i) {
    HWND window = BarNavigationController()->GetKeyTips()[i]->Window;
    RECT tip{};
    GetWindowRect(window, &tip);
    TdxBarItemControl* control = f.Buttons[i]->GetLink(0)->GetControl();
    const TRect button = f.Bar->GetControl()->GetItemScreenRect(control);
    EXPECT_NEAR((tip.left + tip.right) / 2, (button.left + button.right) / 2, 1) << i;
    EXPECT_NEAR((tip.top + tip.bottom) / 2, (button.top + button.bottom) / 2, 1) << i;
  }
  Stroke('O');
  EXPECT_EQ(shown(), (std::vector<String>{L"O1", L"O2"}));
  Stroke('2');
  EXPECT_EQ(f.Clicks, std::vector<String>{L"Options"});
  EXPECT_FALSE(BarNavigationController()->AreKeyTipsShown());
  EXPECT_EQ(f.Edit->GetText(), L"");
}

TEST(Hooks, SysColorChangeRemakesFlatBrushesAndRepaintsTheBars)
{
  TKeyForm f({L"One"});
  f.Host.Manager->SetStyle(bmsFlat);
  PumpPending();
  const TColor before = f.Host.Manager->GetFlatBrushColor(2);
  {
    TSysColorsScope colors({{COLOR_BTNFACE, RGB(40, 120, 200)}});
    PumpPending();
    const TColor after = f.Host.Manager->GetFlatBrushColor(2);
    EXPECT_NE(after, before) << "the brushes were made again from the new face colour";
    HWND bar = f.Bar->GetControl()->GetHandle();
    ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(bar, nullptr, FALSE); }, 2000));
    TDib32 shot = CaptureWindow(bar);
    RECT r{};
    GetClientRect(bar, &r);
    EXPECT_GT(CountPixelsNear(shot, r, COLORREF(after), 10), 0) << ColorText(COLORREF(after));
  }
  PumpPending();
  EXPECT_EQ(f.Host.Manager->GetFlatBrushColor(2), before) << "the old colours are back";
}

TEST(Hooks, SettingChangeWithNewMetricsReachesTheManagerThroughTheCallWindowHook)
{
  TKeyForm f({L"One"});
  int fontChanges = 0;
  f.Host.Manager->FontChangedHandlers().Add(TEvent<void(TObject*)>([&](TObject*) { ++fontChanges; }));
  SendMessageW(f.Host.Form()->GetHandle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  EXPECT_EQ(fontChanges, 0);
  SendMessageW(f.Host.Form()->GetHandle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  EXPECT_EQ(fontChanges, 1) << "the menu font was read again";
}

}  // namespace
