// The program-wide set-up of the date tests: the class layer, then the bar library (which
// starts the extra items unit), as a program starts them; shut down in reverse.
#include "barextras/dxBarExtItems.h"
#include "support/BarTestHost.h"

namespace {

[[maybe_unused]] testing::Environment* const DatesEnvironment =
    testing::AddGlobalTestEnvironment(new TBarLibraryEnvironment{TdxBarManager::StaticClass()});

}  // namespace
