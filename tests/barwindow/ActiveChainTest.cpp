// The process-wide chain of active bar windows: who is in it, how leaving it hands back to
// the previous window, the close cascade through a toolbar and two menus that free
// themselves, and the guards that keep the close and layout steps from running twice.
#include "BarWindowTestUtil.h"

#include "bars/keyboard/hooks.h"
#include "platform/Win.h"
#include "support/Input.h"

namespace {

class TActiveChainTest : public TBarWindowFixture {
protected:
  TRowBarControl* NewMenu(TCustomdxBarControl* AParent)
  {
    auto* menu = dynamic_cast<TRowBarControl*>(TRowBarControl::StaticClass()->Create(Host.Manager));
    menu->Kind = bckSubMenu;
    menu->FreeOnClose = true;
    menu->Popup = true;
    menu->SetParentForm(Host.Form()->GetHandle());
    menu->SetParentBarControl(AParent);
    return menu;
  }
};

TEST_F(TActiveChainTest, ChainMembershipAndHandBack)
{
  TOwned<TRowBarControl> menu(NewMenu(Bar));
  menu->FreeOnClose = false;
  TOwned<TRowBarControl> stranger(NewMenu(nullptr));
  EXPECT_TRUE(Bar->IsInActiveChain()) << "no active window: everyone is in";

  Bar->ActivateWithControl(nullptr);
  menu->ActivateWithControl(nullptr);
  EXPECT_EQ(ActiveBarControl(), menu.Get());
  EXPECT_TRUE(Bar->IsInActiveChain());
  EXPECT_TRUE(menu->IsInActiveChain());
  EXPECT_FALSE(stranger->IsInActiveChain());

  menu->Deactivate();
  EXPECT_EQ(ActiveBarControl(), Bar) << "the previous window becomes active again";
  Bar->Deactivate();
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(TActiveChainTest, PreviousWindowThatIsNoLongerActiveEmptiesTheChain)
{
  TOwned<TRowBarControl> menu(NewMenu(Bar));
  menu->FreeOnClose = false;
  Bar->ActivateWithControl(nullptr);
  menu->ActivateWithControl(nullptr);
  Bar->Deactivate();  // out of order: the chain still points at the menu
  EXPECT_EQ(ActiveBarControl(), menu.Get());
  menu->Deactivate();
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(TActiveChainTest, FreedActiveWindowHandsBackToItsPrevious)
{
  TRowBarControl* menu = NewMenu(Bar);
  Bar->ActivateWithControl(nullptr);
  menu->ActivateWithControl(nullptr);
  menu->Free();
  EXPECT_EQ(ActiveBarControl(), Bar);
  EXPECT_EQ(Bar->GetSubMenuControl(), nullptr);
}

TEST_F(TActiveChainTest, AltClosesTheWholeCascadeAndTouchesNothingFreed)
{
  AddLink(NewItem(L"A"));
  ShowBar();
  TRowBarControl* menu = NewMenu(Bar);
  TRowBarControl* submenu = NewMenu(menu);
  TWeakRef<TCustomdxBarControl> menuRef(menu), submenuRef(submenu);
  Bar->ActivateWithControl(nullptr);
  menu->ActivateWithControl(nullptr);
  submenu->ActivateWithControl(nullptr);
  ASSERT_EQ(ActiveBarControl(), submenu);

  EXPECT_TRUE(submenu->Key(VK_MENU));
  EXPECT_FALSE(menuRef.Alive());
  EXPECT_FALSE(submenuRef.Alive());
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_FALSE(Bar->GetActive());
  EXPECT_EQ(Bar->DoCloseCalls, 1);
  EXPECT_EQ(Bar->GetSubMenuControl(), nullptr);
  EXPECT_TRUE(TRowBarControl::QuarantineIntact()) << "a freed window was written to";
}

TEST_F(TActiveChainTest, EscapeInAMenuThatFreesItselfEndsItsOwnHandling)
{
  TRowBarControl* menu = NewMenu(Bar);
  Bar->ActivateWithControl(nullptr);
  menu->ActivateWithControl(nullptr);
  menu->HandleNeeded();
  TWeakRef<TCustomdxBarControl> ref(menu);
  ::SendMessageW(menu->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(ref.Alive());
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_TRUE(TRowBarControl::QuarantineIntact());
}

TEST_F(TActiveChainTest, CloseDoesNotReenter)
{
  Bar->ActivateWithControl(nullptr);
  Bar->OnDoClose = [this] {
    EXPECT_TRUE(Bar->IsClosing());
    Bar->CloseBar();
  };
  Bar->CloseBar();
  EXPECT_EQ(Bar->DoCloseCalls, 1);
  EXPECT_FALSE(Bar->IsClosing());
  Bar->OnDoClose = nullptr;
}

TEST_F(TActiveChainTest, ParentAlreadyClosingIsNotClosedAgain)
{
  TRowBarControl* menu = NewMenu(Bar);
  TWeakRef<TCustomdxBarControl> ref(menu);
  Bar->ActivateWithControl(nullptr);
  menu->ActivateWithControl(nullptr);
  // The toolbar's close closes its menu, which must not close the toolbar a second time.
  Bar->OnDoClose = [this] {
    if (TCustomdxBarControl* child = Bar->GetSubMenuControl())
      static_cast<TRowBarControl*>(child)->CloseBar();
  };
  Bar->CloseBar();
  Bar->OnDoClose = nullptr;
  EXPECT_EQ(Bar->DoCloseCalls, 1);
  EXPECT_FALSE(ref.Alive());
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(TActiveChainTest, CloseNotificationRunsOnceWhenTheWindowGoes)
{
  TRowBarControl* menu = NewMenu(Bar);
  int notified = 0;
  TObject* sender = nullptr;
  menu->OnCloseNotification = TNotifyEvent([&](TObject* Sender) {
    ++notified;
    sender = Sender;
  });
  TObject* expected = menu;
  menu->Free();
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(sender, expected);
}

}  // namespace

namespace {

// The bar window under a screen point, if any.
TCustomdxBarControl* BarControlAt(POINT P)
{
  return dynamic_cast<TCustomdxBarControl*>(FindControl(WindowFromPoint(P)));
}

// ---------------------------------------------------------------------------
// Clicks outside the chain, seen by the thread's mouse hook

TEST_F(TActiveChainTest, MouseHookLivesWithTheManagers)
{
  EXPECT_EQ(dxBarInstalledHookCount(), 3) << "a manager exists";
  EXPECT_FALSE(dxBarMouseHookMessage(WM_LBUTTONDOWN, Host.Form()->GetHandle())) << "nothing active: nothing to close";
}

TEST_F(TActiveChainTest, PressOutsideClosesTheWholeChainAndInsideDoesNot)
{
  TOwned<TRowBarControl> menu(NewMenu(Bar));
  menu->FreeOnClose = false;
  Bar->ActivateWithControl(nullptr);
  menu->ActivateWithControl(nullptr);
  // Inside the chain (the toolbar under the menu counts too) nothing closes; side buttons
  // released outside are eaten.
  EXPECT_FALSE(dxBarMouseHookMessage(WM_LBUTTONDOWN, Bar->GetHandle()));
  EXPECT_FALSE(dxBarMouseHookMessage(WM_LBUTTONDOWN, menu->GetHandle()));
  EXPECT_EQ(ActiveBarControl(), menu.Get());
  EXPECT_TRUE(dxBarMouseHookMessage(WM_RBUTTONUP, Host.Form()->GetHandle()));
  EXPECT_FALSE(dxBarMouseHookMessage(WM_MOUSEMOVE, Host.Form()->GetHandle()));
  EXPECT_EQ(ActiveBarControl(), menu.Get());
  // A press on the form closes the menu and then the toolbar.
  EXPECT_FALSE(dxBarMouseHookMessage(WM_NCLBUTTONDOWN, Host.Form()->GetHandle()));
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_FALSE(Bar->GetActive());
}

TEST_F(TActiveChainTest, RealClickOnTheFormEndsTheActiveBar)
{
  ShowBar();
  Bar->ActivateWithControl(nullptr);
  ASSERT_EQ(ActiveBarControl(), Bar);
  RECT form{};
  GetWindowRect(Host.Form()->GetHandle(), &form);
  POINT outside{form.left + 20, form.bottom - 20};
  ASSERT_NE(BarControlAt(outside), Bar);
  ASSERT_TRUE(ClickAt(outside));
  EXPECT_TRUE(PumpUntil([] { return ActiveBarControl() == nullptr; }, 2000));
}

}  // namespace
