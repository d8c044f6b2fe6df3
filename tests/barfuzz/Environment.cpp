// The program-wide set-up of the damaged-form tests: the class layer, the bar library and
// the classes the fuzzed form data names.
#include "FuzzTestUtil.h"

#include "platform/ImgList.h"

IMPLEMENT_CLASS(TFuzzForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const FuzzEnvironment =
    testing::AddGlobalTestEnvironment(new TBarLibraryEnvironment{
        TFuzzForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(), TdxBarButton::StaticClass(),
        TdxBarLargeButton::StaticClass(), TdxBarDockControl::StaticClass(), TImageList::StaticClass()});

}  // namespace
