// How keyboard navigation and key tips end, with real keys: a command run by key gives the
// keyboard back to the form, leaving the form ends them, key tips go with their bar, and a
// key tip in a non-Latin script is matched by the character typed.
#include <gtest/gtest.h>

#include "KeyTestUtil.h"
#include "platform/Scope.h"

namespace {

bool NavigationOver()
{
  return ActiveBarControl() == nullptr && !BarNavigationController()->IsNavigationOrKeyTipsActive();
}

// One character typed as Unicode input (as an on-screen keyboard or an input method sends it).
void TypeCharacter(wchar_t AChar)
{
  INPUT in[2] = {};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wScan = AChar;
    in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
  }
  ASSERT_EQ(SendInput(2, in, sizeof(INPUT)), 2u);
  EXPECT_TRUE(WaitUntilKeysTaken());
}

std::vector<HWND> KeyTipWindows()
{
  std::vector<HWND> result;
  for (const auto& tip : BarNavigationController()->GetKeyTips())
    if (tip->Window)
      result.push_back(tip->Window);
  return result;
}

int VisibleWindows(const std::vector<HWND>& AWindows)
{
  int n = 0;
  for (HWND w : AWindows)
    n += IsWindow(w) && IsWindowVisible(w);
  return n;
}

TEST(NavigationEnd, AClickByKeyGivesTheKeyboardBackToTheForm)
{
  struct TRoad {
    const char* Name;
    std::function<void()> Choose;  // leaves "&Rename" selected in keyboard mode
  };
  const TRoad roads[] = {
      {"Alt, Right, Right",
       [] {
         Stroke(VK_MENU);
         Stroke(VK_RIGHT);
         Stroke(VK_RIGHT);
       }},
      {"F10, Left, Left, Left (over the mark)",
       [] {
         Stroke(VK_F10);
         Stroke(VK_LEFT);
         Stroke(VK_LEFT);
         Stroke(VK_LEFT);
       }},
  };
  for (const TRoad& road : roads) {
    SCOPED_TRACE(road.Name);
    TKeyForm f({L"&Open", L"&Save", L"&Rename", L"&Remove"}, 100, true);
    f.Buttons[1]->SetShortCut(CtrlS);
    road.Choose();
    ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() == f.Bar->GetControl(); }, 2000));
    ASSERT_EQ(f.SelectedCaption(), L"&Rename");
    Stroke(VK_RETURN);
    EXPECT_EQ(f.Clicks, std::vector<String>{L"&Rename"});
    EXPECT_TRUE(NavigationOver());
    EXPECT_FALSE(f.Bar->GetControl()->GetSelectedControl()) << "no highlight is left";

    Stroke('S', {VK_CONTROL});
    EXPECT_EQ(f.Clicks, (std::vector<String>{L"&Rename", L"&Save"})) << "shortcuts work at once";
    Stroke('A');
    EXPECT_EQ(f.Edit->GetText(), L"a") << "typing reaches the edit";

    // The next F10 starts a navigation of its own on the first item.
    Stroke(VK_F10);
    ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() == f.Bar->GetControl(); }, 2000));
    EXPECT_TRUE(BarNavigationController()->IsNavigationActive());
    EXPECT_EQ(f.SelectedCaption(), L"&Open");
    Stroke(VK_ESCAPE);
    EXPECT_TRUE(NavigationOver());
  }
}

// The letter of an Alt accelerator is taken, so Alt's key-up comes alone: the form must not
// take it for the start of its own menu mode, which would swallow the keys that follow.
TEST(NavigationEnd, AnAltAcceleratorLeavesTheKeyboardToTheForm)
{
  TKeyForm f({L"&Open", L"&Save"});
  f.Buttons[1]->SetShortCut(CtrlS);
  // Alt let go before the letter, as users often do.
  SendKeyTransition(VK_MENU, true);
  SendKeyTransition('O', true);
  SendKeyTransition(VK_MENU, false);
  SendKeyTransition('O', false);
  EXPECT_TRUE(WaitUntilKeysTaken());
  EXPECT_EQ(f.Clicks, std::vector<String>{L"&Open"});
  EXPECT_EQ(f.Host.Form()->KeyMenuRequests, 0);
  Stroke('S', {VK_CONTROL});
  EXPECT_EQ(f.Clicks, (std::vector<String>{L"&Open", L"&Save"}));
  Stroke('B');
  EXPECT_EQ(f.Edit->GetText(), L"b");
  // A lone Alt still starts navigation.
  Stroke(VK_MENU);
  EXPECT_TRUE(PumpUntil([&] { return BarNavigationController()->IsNavigationActive(); }, 2000));
  Stroke(VK_ESCAPE);
  EXPECT_TRUE(NavigationOver());
}

// The selection crosses to another bar: the first bar closes on the way, and the navigation
// must go on in the second.
TEST(NavigationEnd, MovingToAnotherBarKeepsNavigating)
{
  TKeyForm f({L"One", L"Two"});
  TdxBar* second = f.AddBottomBar(L"Far");
  Stroke(VK_MENU);
  ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() == f.Bar->GetControl(); }, 2000));
  Stroke(VK_DOWN);
  EXPECT_EQ(ActiveBarControl(), second->GetControl());
  EXPECT_EQ(f.SelectedCaption(), L"Far");
  EXPECT_TRUE(BarNavigationController()->IsNavigationActive());
  Stroke(VK_UP);
  EXPECT_EQ(f.SelectedCaption(), L"One");
  Stroke(VK_ESCAPE);
  EXPECT_TRUE(NavigationOver());
}

// Navigation takes only the keys it moves, runs or ends with; the others mean what they mean
// in the bar window's own keyboard mode, or to the system.
TEST(NavigationEnd, KeysNavigationHasNoUseForGoToTheBarWindow)
{
  TKeyForm f({L"One", L"Two", L"Three"});
  TdxBar* second = f.AddBottomBar(L"Far");
  Stroke(VK_MENU);
  ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() == f.Bar->GetControl(); }, 2000));
  Stroke(VK_END);
  EXPECT_EQ(f.SelectedCaption(), L"Three");
  Stroke(VK_HOME);
  EXPECT_EQ(f.SelectedCaption(), L"One");
  EXPECT_TRUE(BarNavigationController()->IsNavigationActive());
  Stroke(VK_TAB, {VK_CONTROL});
  EXPECT_EQ(ActiveBarControl(), second->GetControl()) << "Ctrl+Tab moves to the next bar";
  EXPECT_EQ(f.SelectedCaption(), L"Far");
  EXPECT_TRUE(BarNavigationController()->IsNavigationActive());
  Stroke(VK_UP);
  EXPECT_EQ(ActiveBarControl(), f.Bar->GetControl()) << "arrows still cross bars after the move";
  Stroke(VK_ESCAPE);
  EXPECT_TRUE(NavigationOver());
  EXPECT_TRUE(f.Clicks.empty());
  EXPECT_EQ(f.Edit->GetText(), L"");
}

TEST(NavigationEnd, KeyTipsStayWhileAltRepeatsAndLeaveAltF4ToTheSystem)
{
  TKeyForm f({L"Open", L"Exit"});
  f.Buttons[0]->SetKeyTip(L"O");
  f.Buttons[1]->SetKeyTip(L"X");
  auto* form = static_cast<THooksTestForm*>(f.Host.Form());

  SendKeyTransition(VK_MENU, true);
  TFinally releaseAlt([] { SendKeyTransition(VK_MENU, false); });
  ASSERT_TRUE(PumpUntil([] { return BarNavigationController()->AreKeyTipsShown(); }, 3000));
  // A held key repeats with its previous-state bit set.
  const LPARAM repeat = 1 | (LPARAM(1) << 29) | (LPARAM(1) << 30);
  EXPECT_TRUE(dxBarKeyboardHookMessage(VK_MENU, repeat)) << "the repeat must not reach the window's menu mode";
  EXPECT_TRUE(BarNavigationController()->AreKeyTipsShown());

  SendKeyTransition(VK_F4, true);
  SendKeyTransition(VK_F4, false);
  EXPECT_TRUE(PumpUntil([&] { return form->CloseRequests > 0; }, 2000));
  EXPECT_FALSE(BarNavigationController()->AreKeyTipsShown());
  EXPECT_TRUE(f.Clicks.empty());
}

TEST(NavigationEnd, AnotherFormActivatedEndsNavigationAndTakesTheKeyTipsAway)
{
  TKeyForm other({L"Else"}, 540);
  TKeyForm f({L"Open", L"Exit"});
  f.Buttons[0]->SetKeyTip(L"O");
  f.Buttons[1]->SetKeyTip(L"X");

  EXPECT_TRUE(ShowKeyTipsByAlt());
  const std::vector<HWND> tips = KeyTipWindows();
  ASSERT_EQ(VisibleWindows(tips), 2);
  ASSERT_TRUE(ActivateWindow(other.Host.Form()->GetHandle()));
  PumpPending();
  EXPECT_EQ(VisibleWindows(tips), 0) << "no key tip stays over the other form";
  EXPECT_TRUE(NavigationOver());

  ASSERT_TRUE(ActivateWindow(f.Host.Form()->GetHandle()));
  f.Edit->SetFocus();
  Stroke(VK_MENU);
  ASSERT_TRUE(PumpUntil([&] { return BarNavigationController()->IsNavigationActive(); }, 2000));
  ASSERT_TRUE(ActivateWindow(other.Host.Form()->GetHandle()));
  other.Edit->SetFocus();
  PumpPending();
  EXPECT_TRUE(NavigationOver());
  Stroke('Q');
  EXPECT_EQ(other.Edit->GetText(), L"q");
  EXPECT_TRUE(f.Clicks.empty());
}

TEST(NavigationEnd, KeyTipsGoWithTheirBarAndThenLeaveTheKeysAlone)
{
  TKeyForm f({L"Open", L"Exit"});
  f.Buttons[0]->SetKeyTip(L"O");
  f.Buttons[1]->SetKeyTip(L"X");
  TdxBar* second = f.Host.Manager->GetBars()->Add();
  second->SetDockingStyle(dsBottom);
  auto* closeButton = new TdxBarButton(f.Host.Form());
  closeButton->SetCaption(L"Close");
  closeButton->SetPaintStyle(psCaption);
  closeButton->SetKeyTip(L"C");
  second->GetItemLinks()->AddItem(closeButton);
  second->SetVisible(true);
  PumpPending();

  EXPECT_TRUE(ShowKeyTipsByAlt());
  const std::vector<HWND> tips = KeyTipWindows();
  ASSERT_EQ(VisibleWindows(tips), 3);
  second->SetVisible(false);
  PumpPending();
  EXPECT_EQ(VisibleWindows(tips), 2) << "the hidden bar's tip went, the others stay";
  EXPECT_TRUE(BarNavigationController()->AreKeyTipsShown());

  f.Bar->SetVisible(false);
  PumpPending();
  EXPECT_EQ(VisibleWindows(tips), 0);
  EXPECT_TRUE(NavigationOver());
  Stroke('Z');
  EXPECT_EQ(f.Edit->GetText(), L"z") << "a key no tip can take reaches the edit";
}

TEST(NavigationEnd, ANonLatinKeyTipMatchesTheLetterTyped)
{
  TKeyForm f({L"Open", L"Exit"});
  f.Buttons[0]->SetKeyTip(L"\u0416");  // Cyrillic capital Zhe
  f.Buttons[1]->SetKeyTip(L"\u03A9");  // Greek capital Omega
  EXPECT_TRUE(ShowKeyTipsByAlt());
  ASSERT_EQ(VisibleWindows(KeyTipWindows()), 2);
  TypeCharacter(L'\u03C9');  // small omega: tips match whatever the case
  EXPECT_EQ(f.Clicks, std::vector<String>{L"Exit"});
  EXPECT_TRUE(NavigationOver());
  EXPECT_EQ(f.Edit->GetText(), L"");
}

}  // namespace
