// The program-wide set-up of the list painter tests: the class layer, then the bar library.
#include "ListPaintTestUtil.h"

IMPLEMENT_CLASS(TUngroupedContainerItem, TdxBarContainerItem)

namespace {

[[maybe_unused]] testing::Environment* const ListPaintEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TListPaintTestForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace
