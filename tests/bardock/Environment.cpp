// The program-wide set-up of the dock site tests: the class layer, then the bar library,
// as a program starts them; shut down in reverse.
#include "DockTestUtil.h"

IMPLEMENT_CLASS(TDockTestForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const DockEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TDockTestForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace
