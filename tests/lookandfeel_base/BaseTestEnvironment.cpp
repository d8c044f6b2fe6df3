// The layers these tests stand on live for the whole run, as in a program: the form layer
// and the drawing-base units of this area, started before the first case and shut down
// after the last.
#include <gtest/gtest.h>

#include "lookandfeel/cxContainer.h"
#include "lookandfeel/cxControls.h"
#include "lookandfeel/cxStyles.h"
#include "platform/Forms.h"

namespace {

class TLookAndFeelBaseEnvironment : public testing::Environment {
public:
  void SetUp() override
  {
    InitializeForms();
    InitializecxControls();
    InitializecxStyles();
    InitializecxContainer();
  }
  void TearDown() override
  {
    FinalizecxContainer();
    FinalizecxStyles();
    FinalizecxControls();
    FinalizeForms();
  }
};

[[maybe_unused]] testing::Environment* const LookAndFeelBaseEnvironment =
    testing::AddGlobalTestEnvironment(new TLookAndFeelBaseEnvironment);

}  // namespace
