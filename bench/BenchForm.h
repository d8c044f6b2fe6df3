// The library started for a benchmark: a shown 600 x 400 form with a manager in the flat look
// on it, menus silent. The form goes and the library ends with the object, on every return.
#pragma once

#include "bars/dxBar.h"
#include "bench/BenchTiming.h"
#include "platform/Forms.h"

class TBenchForm {
public:
  TBenchForm()
  {
    InitializeForms();
    dxBarInitialize();
    SetdxBarMenuSoundsEnabled(false);
    Form = TCustomForm::CreateNew<TForm>(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    Form->Show();
    PumpPending();
    Manager = new TdxBarManager(Form);
    Manager->SetStyle(bmsFlat);
  }
  ~TBenchForm()
  {
    Form->Free();
    dxBarFinalize();
    FinalizeForms();
  }
  TBenchForm(const TBenchForm&) = delete;
  TBenchForm& operator=(const TBenchForm&) = delete;

  TCustomForm* Form = nullptr;
  TdxBarManager* Manager = nullptr;
};
