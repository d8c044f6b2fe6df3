// Switching customizing mode: open menus close, links hidden outside customizing show, the
// Customize dialog follows the mode, and the manager tracks the mouse over one bar window.
#include "CustomizingTestUtil.h"

#include <vector>

#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TCustomizingMode = TCustomizingFixture;

TEST_F(TCustomizingMode, SwitchingOnClosesTheOpenMenuAndShowsTheLinksHiddenOutsideCustomizing)
{
  ShowForm();
  TdxBar* mainMenu = Bar(L"Main Menu");
  ASSERT_EQ(ControlCount(mainMenu), 1);
  ASSERT_TRUE(ClickAt(CenterOf(L"FileItem")));
  ASSERT_TRUE(PumpUntil([&] { return FileLinks()->GetBarControl() != nullptr; }));
  const HWND menu = FileLinks()->GetBarControl()->GetHandle();
  Manager->SetIsCustomizing(true);
  EXPECT_FALSE(::IsWindow(menu));
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_EQ(ControlCount(mainMenu), 2);
  EXPECT_NE(ControlOf(Item(L"CustomizeOnly")), nullptr);
  Manager->SetIsCustomizing(false);
  EXPECT_EQ(ControlCount(mainMenu), 1);
  // The closed Customize dialog's window leaves a mouse move over the bars behind it.
  PumpPending();
  PressKey(VK_F10, {}, 300);  // taken by the bars: the form sees no release
  ASSERT_TRUE(PumpUntil([] { return ActiveBarControl() != nullptr; }, 2000));
  Manager->SetIsCustomizing(true);
  EXPECT_EQ(ActiveBarControl(), nullptr) << "the keyboard mode ends too";
}

TEST_F(TCustomizingMode, TheDialogFollowsTheModeAnOpenOneKeepsItOffAndAnotherManagerSeesIt)
{
  std::vector<bool> shown;
  HWND dialog = nullptr;
  TdxBarCustomizingServices services;
  services.ShowCustomizingForm = [&](TdxBarManager* AManager, bool AShow) {
    EXPECT_EQ(AManager->IsCustomizing(), AShow) << "the flag is stored first";
    shown.push_back(AShow);
  };
  services.GetCustomizingFormHandle = [&](const TdxBarManager*) { return dialog; };
  TServicesScope scope(services);
  TBarHost<TCustomizingForm> other;
  Manager->SetIsCustomizing(true);
  Manager->SetIsCustomizing(true);
  EXPECT_TRUE(other.Manager->IsAnotherManagerCustomizing());
  EXPECT_FALSE(Manager->IsAnotherManagerCustomizing()) << "its own flag is not another's";
  Manager->SetIsCustomizing(false);
  EXPECT_EQ(shown, (std::vector<bool>{true, false}));
  dialog = Form->GetHandle();
  Manager->SetIsCustomizing(true);
  EXPECT_FALSE(Manager->IsCustomizing());
  // A manager that goes while customizing closes its dialog.
  dialog = nullptr;
  other.Manager->SetIsCustomizing(true);
  other.FForm->Free();
  EXPECT_EQ(shown, (std::vector<bool>{true, false, true, false}));
  EXPECT_FALSE(Manager->IsAnotherManagerCustomizing());
}

TEST_F(TCustomizingMode, TheManagerTracksOneBarWindowAndTheOneLeftLetsItsHotItemGo)
{
  ShowForm();
  TCustomdxBarControl* tools = ControlOf(Item(L"Tool0"))->GetParent();
  TCustomdxBarControl* mainMenu = ControlOf(Item(L"FileItem"))->GetParent();
  ASSERT_TRUE(MoveMouseTo(CenterOf(L"Tool0")));
  ASSERT_TRUE(PumpUntil([&] { return Manager->IsMouseTrackingBarControl(tools); }));
  EXPECT_EQ(tools->GetSelectedControl(), ControlOf(Item(L"Tool0")));
  ASSERT_TRUE(MoveMouseTo(CenterOf(L"FileItem")));
  ASSERT_TRUE(PumpUntil([&] { return Manager->IsMouseTrackingBarControl(mainMenu); }));
  EXPECT_FALSE(Manager->IsMouseTrackingBarControl(tools));
  EXPECT_EQ(tools->GetSelectedControl(), nullptr);
  ASSERT_TRUE(MoveMouseTo(POINT{5, 5}));
  EXPECT_TRUE(PumpUntil([&] { return !Manager->IsMouseTrackingBarControl(mainMenu); }));
}

}  // namespace
