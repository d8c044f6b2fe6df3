// Floating bars follow their form: hidden with the form and shown with it, hidden while the
// form is inactive where the manager says so, and kept on the work area.
#include "FormTestUtil.h"

#include "lookandfeel/cxControls.h"
#include "support/Pump.h"

namespace {

class TFormActivationTest : public testing::Test {
protected:
  TFormActivationTest() : Manager(Host.Manager), Form(Host.Form()) { Form->SetBounds(100, 100, 400, 200); }
  void ShowAndActivate()
  {
    ShowFormWindow(Manager, Form, true);
    DeliverFormMessage(Manager, Form->GetHandle(), WM_ACTIVATE, WA_ACTIVE, 0);
  }

  TBarHost<TFormTestForm> Host;
  TdxBarManager* Manager;
  TFormTestForm* Form;
};

}  // namespace

TEST_F(TFormActivationTest, FloatingBarsHideAndShowWithTheirForm)
{
  ShowAndActivate();
  TdxBar* first = AddFloatingBar(Manager, 150, 320, L"First");
  TdxBar* second = AddFloatingBar(Manager, 350, 320, L"Second");
  ASSERT_TRUE(IsBarOnScreen(first));
  ASSERT_TRUE(IsBarOnScreen(second));

  ShowFormWindow(Manager, Form, false);
  EXPECT_FALSE(IsBarOnScreen(first));
  EXPECT_FALSE(IsBarOnScreen(second));
  EXPECT_TRUE(first->GetVisible());
  EXPECT_TRUE(Manager->IsTemporaryHiddenBar(first));

  ShowFormWindow(Manager, Form, true);
  EXPECT_TRUE(IsBarOnScreen(first));
  EXPECT_TRUE(IsBarOnScreen(second));
  EXPECT_FALSE(Manager->IsTemporaryHiddenBar(first));
}

TEST_F(TFormActivationTest, FloatingBarMadeVisibleBeforeTheFormShowsAppearsWithIt)
{
  TdxBar* bar = AddFloatingBar(Manager, 150, 320);
  EXPECT_TRUE(bar->GetVisible());
  EXPECT_FALSE(IsBarOnScreen(bar));
  ShowAndActivate();
  EXPECT_TRUE(IsBarOnScreen(bar));
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

// Bottom, top, right, left in that order: a bar taller than the work area ends at its top.
TEST_F(TFormActivationTest, FloatingBarsMoveIntoTheWorkArea)
{
  ShowAndActivate();
  TRect area = GetMonitorWorkAreaAtPoint(TPoint{300, 200});
  TdxBar* off = AddFloatingBar(Manager, area.right + 100, area.bottom + 50, L"Off");
  TdxBar* left = AddFloatingBar(Manager, area.left - 300, 200, L"Left");
  DeliverFormMessage(Manager, Form->GetHandle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
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
  DeliverFormMessage(Manager, Form->GetHandle(), WM_DISPLAYCHANGE, 32, 0);
  EXPECT_LE(off->GetFloatLeft() + off->GetFloatClientWidth(), area.right);
  EXPECT_EQ(off->GetFloatTop(), area.top);
}
