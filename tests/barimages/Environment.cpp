// The program-wide set-up of these tests: the class layer, then the bar library, as a
// program starts them; shut down in reverse.
#include "ImagesTestUtil.h"

PUBLISHED(TImagesTestForm, TForm) {}
PUBLISHED(TLinkPanel, TCustomControl) {}
PUBLISHED(TFakePopupMenu, TComponent) {}

namespace {

[[maybe_unused]] testing::Environment* const BarImagesEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TImagesTestForm::StaticClass(), TdxBarManager::StaticClass(), TImageList::StaticClass(),
                               TLinkPanel::StaticClass(), TFakePopupMenu::StaticClass()});

}  // namespace
