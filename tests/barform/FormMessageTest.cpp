// The form's messages that reach its manager through the call-window hook: a cancel mode
// closes the active bar window, a close command at design time closes the open menus, and a
// remade form window gets its dock sites and docked bars back.
#include "FormTestUtil.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/dockcontrol.h"
#include "support/Pump.h"

namespace {

class TFormMessageTest : public testing::Test {
protected:
  TFormMessageTest() : Manager(Host.Manager), Form(Host.Form())
  {
    Form->SetBounds(100, 100, 400, 200);
    Bar = Manager->GetBars()->Add();
    Bar->SetCaption(L"Tools");
    Bar->SetDockingStyle(dsTop);
    auto* button = new TdxBarButton(Form);
    button->SetCaption(L"Add");
    button->SetPaintStyle(psCaption);
    Bar->GetItemLinks()->AddItem(button);
    Bar->SetVisible(true);
    Form->Show();
    ActivateWindow(Form->GetHandle());
    PumpPending();
  }

  TBarHost<TFormTestForm> Host;
  TdxBarManager* Manager;
  TFormTestForm* Form;
  TdxBar* Bar = nullptr;
};

}  // namespace

TEST_F(TFormMessageTest, CancelModeClosesTheActiveBarWindow)
{
  TdxBarControl* control = Bar->GetControl();
  ASSERT_NE(control, nullptr);
  static_cast<TCustomdxBarControl*>(control)->ActivateWithControl(nullptr);
  ASSERT_EQ(ActiveBarControl(), control);
  // Sent by the system to the form when a window takes the input away (a message box, a
  // disabled form).
  ::SendMessageW(Form->GetHandle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(TFormMessageTest, CloseCommandClosesTheOpenMenusOnlyAtDesignTime)
{
  TdxBarControl* control = Bar->GetControl();
  ASSERT_NE(control, nullptr);
  const struct {
    bool Designing;
    bool Closed;
  } rows[] = {{false, false}, {true, true}};
  for (const auto& k : rows) {
    Manager->SetDesigning(k.Designing, false);
    control = Bar->GetControl();
    ASSERT_NE(control, nullptr);
    static_cast<TCustomdxBarControl*>(control)->ActivateWithControl(nullptr);
    ASSERT_EQ(ActiveBarControl(), control);
    DeliverFormMessage(Manager, Form->GetHandle(), WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_EQ(ActiveBarControl() == nullptr, k.Closed) << k.Designing;
    if (ActiveBarControl())
      ActiveBarControl()->Close();
  }
  Manager->SetDesigning(false, false);
}

TEST_F(TFormMessageTest, RemadeFormWindowGetsItsSitesAndDockedBarsBack)
{
  HWND oldForm = Form->GetHandle();
  Form->RecreateWnd();
  PumpPending();
  ASSERT_TRUE(Form->HandleAllocated());
  EXPECT_NE(Form->GetHandle(), oldForm);
  auto* site = dynamic_cast<TWinControl*>(Manager->GetDockControlOfSide(dsTop));
  ASSERT_NE(site, nullptr);
  EXPECT_TRUE(site->HandleAllocated());
  TdxBarControl* control = Bar->GetControl();
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(control->HandleAllocated());
  EXPECT_TRUE(::IsWindowVisible(control->GetHandle()));
  EXPECT_EQ(::GetAncestor(control->GetHandle(), GA_ROOT), Form->GetHandle());
  EXPECT_TRUE(Bar->GetVisible());
}
