// The program-wide set-up of the painter tests: the class layer, then the bar library.
#include "PainterTestUtil.h"

IMPLEMENT_CLASS(TTestBarControl, TCustomdxBarControl)
IMPLEMENT_CLASS(TTestItemControl, TdxBarItemControl)

namespace {

[[maybe_unused]] testing::Environment* const BarPainterEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TPainterTestForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace
