// The program-wide set-up of the utility tests: the class layer, then the bar library.
#include <gtest/gtest.h>

#include "bars/dxBar.h"
#include "platform/Forms.h"

namespace {

class TBarUtilsEnvironment : public testing::Environment {
public:
  void SetUp() override
  {
    InitializeForms();
    dxBarInitialize();
  }
  void TearDown() override
  {
    dxBarFinalize();
    FinalizeForms();
  }
};

[[maybe_unused]] testing::Environment* const BarUtilsEnvironment =
    testing::AddGlobalTestEnvironment(new TBarUtilsEnvironment);

}  // namespace
