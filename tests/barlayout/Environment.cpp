// The program-wide set-up of the stored-layout tests.
#include "LayoutTestUtil.h"

namespace {

[[maybe_unused]] testing::Environment* const LayoutEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TLayoutForm::StaticClass(), TWatchedManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass()});

}  // namespace
