// The program-wide set-up of the bar manager tests: the class layer, then the bar
// library, as a program starts them; shut down in reverse.
#include "BarTestUtil.h"

PUBLISHED(TBarTestForm, TForm)
{
  p.Method(L"ManagerClickItem", &TBarTestForm::ManagerClickItem);
}

namespace {

[[maybe_unused]] testing::Environment* const BarLibraryEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TBarTestForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace
