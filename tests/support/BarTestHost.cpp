// The program-wide start and shut-down of the bar library test areas.
#include "support/BarTestHost.h"

void TBarLibraryEnvironment::SetUp()
{
  InitializeForms();
  dxBarInitialize();
  for (TClass cls : FClasses)
    RegisterClass(cls);
}

void TBarLibraryEnvironment::TearDown()
{
  dxBarFinalize();
  FinalizeForms();
}
