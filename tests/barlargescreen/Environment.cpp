// The program-wide set-up of the larger-screen tests.
#include "LargeScreenTestUtil.h"

namespace {

[[maybe_unused]] testing::Environment* const LargeScreenEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TLargeScreenForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass()});

}  // namespace

void TAt144DotsPerInch::SetUp()
{
  if (!IsRunningAtOtherDotsPerInch())
    GTEST_SKIP() << "run at 144 dots per inch by LargeScreen.CasesAt144DotsPerInchPassInAProcessOfTheirOwn";
  ASSERT_EQ(ScreenDotsPerInch(), 144);
  ASSERT_EQ(Screen->GetPixelsPerInch(), 144);
}

void ForEachControl(TWinControl* AParent, const std::function<void(TControl*)>& AVisit)
{
  for (int i = 0; i < AParent->GetControlCount(); ++i) {
    TControl* control = AParent->GetControls(i);
    AVisit(control);
    if (auto* inner = dynamic_cast<TWinControl*>(control))
      ForEachControl(inner, AVisit);
  }
}
