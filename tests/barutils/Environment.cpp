// The program-wide set-up of the utility tests: the class layer, then the bar library.
#include "support/BarTestHost.h"

namespace {

[[maybe_unused]] testing::Environment* const BarUtilsEnvironment =
    testing::AddGlobalTestEnvironment(new TBarLibraryEnvironment);

}  // namespace
