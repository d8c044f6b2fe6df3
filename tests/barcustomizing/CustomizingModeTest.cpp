// Switching customizing mode: open menus close, links hidden outside customizing show, the
// Customize dialog follows the mode, other managers' bars are drawn again, and the manager
// tracks the mouse over one bar window at a time.
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
  ASSERT_NE(mainMenu, nullptr);
  const int before = ControlCount(mainMenu);
  EXPECT_EQ(before, 1) << "the customizing-only item has no control yet";
  TdxBarItemControl* file = ControlOf(L"FileItem");
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(ClickAt(CenterOf(file)));
  auto* fileItem = static_cast<TCustomdxBarSubItem*>(Item(L"FileItem"));
  ASSERT_TRUE(PumpUntil([&] { return fileItem->GetItemLinks()->GetBarControl() != nullptr; }));
  TCustomdxBarControl* menu = fileItem->GetItemLinks()->GetBarControl();
  ASSERT_TRUE(menu->HandleAllocated());
  const HWND menuWindow = menu->GetHandle();

  Manager->SetIsCustomizing(true);
  PumpPending();
  EXPECT_FALSE(::IsWindow(menuWindow)) << "the open menu closed";
  EXPECT_EQ(fileItem->GetItemLinks()->GetBarControl(), nullptr);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_EQ(ControlCount(mainMenu), before + 1);
  EXPECT_NE(ControlOf(L"CustomizeOnly"), nullptr);

  Manager->SetIsCustomizing(false);
  PumpPending();
  EXPECT_EQ(ControlCount(mainMenu), before);
  EXPECT_EQ(ControlOf(L"CustomizeOnly"), nullptr);
}

TEST_F(TCustomizingMode, TheCustomizeDialogFollowsTheModeAndAnOpenDialogKeepsItOn)
{
  std::vector<bool> shown;
  HWND dialog = nullptr;
  TdxBarCustomizingServices services;
  services.ShowCustomizingForm = [&](TdxBarManager* AManager, bool AShow) {
    EXPECT_EQ(AManager, Manager);
    EXPECT_EQ(AManager->IsCustomizing(), AShow) << "the flag is stored first";
    shown.push_back(AShow);
  };
  services.GetCustomizingFormHandle = [&](const TdxBarManager*) { return dialog; };
  TServicesScope scope(services);
  ShowForm();
  Manager->SetIsCustomizing(true);
  Manager->SetIsCustomizing(true);
  EXPECT_EQ(shown, (std::vector<bool>{true})) << "an unchanged value does nothing";
  Manager->SetIsCustomizing(false);
  EXPECT_EQ(shown, (std::vector<bool>{true, false}));
  // A dialog that is still open (closing it ends the mode itself) keeps the mode off.
  dialog = Form->GetHandle();
  Manager->SetIsCustomizing(true);
  EXPECT_FALSE(Manager->IsCustomizing());
  EXPECT_EQ(shown.size(), 2u);
}

TEST_F(TCustomizingMode, OnlyAnotherManagersFlagCountsAndTheDialogClosesWithTheManager)
{
  ShowForm();
  TBarHost<TCustomizingForm> other;
  EXPECT_FALSE(Manager->IsAnotherManagerCustomizing());
  Manager->SetIsCustomizing(true);
  EXPECT_FALSE(Manager->IsAnotherManagerCustomizing()) << "its own flag is not another's";
  EXPECT_TRUE(other.Manager->IsAnotherManagerCustomizing());
  Manager->SetIsCustomizing(false);
  EXPECT_FALSE(other.Manager->IsAnotherManagerCustomizing());

  int hidden = 0;
  TdxBarCustomizingServices services;
  services.ShowCustomizingForm = [&](TdxBarManager*, bool AShow) { hidden += AShow ? 0 : 1; };
  TServicesScope scope(services);
  other.Manager->SetIsCustomizing(true);
  EXPECT_TRUE(Manager->IsAnotherManagerCustomizing());
  other.FForm->Free();
  EXPECT_EQ(hidden, 1) << "a manager that goes while customizing closes its dialog";
  EXPECT_FALSE(Manager->IsAnotherManagerCustomizing());
}

TEST_F(TCustomizingMode, TheManagerTracksOneBarWindowAndTheOneLeftLetsItsHotItemGo)
{
  ShowForm();
  TdxBarItemControl* tool = ControlOf(L"Tool0");
  TdxBarItemControl* file = ControlOf(L"FileItem");
  ASSERT_NE(tool, nullptr);
  ASSERT_NE(file, nullptr);
  TCustomdxBarControl* tools = tool->GetParent();
  TCustomdxBarControl* mainMenu = file->GetParent();
  ASSERT_TRUE(MoveMouseTo(CenterOf(tool)));
  ASSERT_TRUE(PumpUntil([&] { return Manager->IsMouseTrackingBarControl(tools); }));
  EXPECT_EQ(tools->GetSelectedControl(), tool);
  ASSERT_TRUE(MoveMouseTo(CenterOf(file)));
  ASSERT_TRUE(PumpUntil([&] { return Manager->IsMouseTrackingBarControl(mainMenu); }));
  EXPECT_FALSE(Manager->IsMouseTrackingBarControl(tools));
  EXPECT_EQ(tools->GetSelectedControl(), nullptr) << "the bar left lost its hot item";
  // Off every bar the tracking ends.
  ASSERT_TRUE(MoveMouseTo(POINT{5, 5}));
  EXPECT_TRUE(PumpUntil([&] { return !Manager->IsMouseTrackingBarControl(mainMenu); }));
  EXPECT_EQ(mainMenu->GetSelectedControl(), nullptr);
  Manager->EndMouseTracking(nullptr);  // nothing to end
}

}  // namespace
