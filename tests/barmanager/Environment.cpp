// The program-wide set-up of the bar manager tests: the class layer, then the bar
// library, as a program starts them; shut down in reverse.
#include "BarTestUtil.h"

PUBLISHED(TBarTestForm, TForm)
{
  p.Method(L"ManagerClickItem", &TBarTestForm::ManagerClickItem);
}

namespace {

class TBarLibraryEnvironment : public testing::Environment {
public:
  void SetUp() override
  {
    InitializeForms();
    dxBarInitialize();
    RegisterClasses({TBarTestForm::StaticClass(), TdxBarManager::StaticClass()});
  }
  void TearDown() override
  {
    dxBarFinalize();
    FinalizeForms();
  }
};

[[maybe_unused]] testing::Environment* const BarLibraryEnvironment =
    testing::AddGlobalTestEnvironment(new TBarLibraryEnvironment);

}  // namespace
