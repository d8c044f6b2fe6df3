// The program-wide set-up of the extra items tests: the class layer, then the bar library
// (which starts the extra items unit), as a program starts them; shut down in reverse.
#include "barextras/dxBarExtItems.h"
#include "support/BarTestHost.h"

namespace {

[[maybe_unused]] testing::Environment* const ExtItemsEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TColorDialog::StaticClass(), TFontDialog::StaticClass()});

}  // namespace
