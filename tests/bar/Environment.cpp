// The program-wide set-up of the bar tests: the class layer, then the bar library.
#include "BarTestUtil.h"

IMPLEMENT_CLASS(TBarAreaForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const BarEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TBarAreaForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

}  // namespace
