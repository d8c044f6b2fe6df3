// Shared pieces of the small customising dialogs' tests: a form with a bar manager read from
// form data, modal dialogs played by real input from inside their own loop, and a message
// box that records what it was asked (support/MessageBoxScope.h).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "bars/model/bar.h"
#include "bars/model/manager.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "support/BarProbe.h"
#include "support/MessageBoxScope.h"
#include "support/ModalLoop.h"
#include "support/Owned.h"

class TDialogsHostForm : public TForm {
  DECLARE_CLASS(TDialogsHostForm, TForm)
public:
  explicit TDialogsHostForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Bars "Standard" and "Formatting"; categories "File" (New, Open), "Edit" (Cut, Paste and
// a hidden item) and "Empty"; groups GroupA (holding Open and GroupC), GroupB and GroupC.
class TDialogsFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  void ShowForm();
  TdxBar* Bar(const String& ACaption) const { return Manager->FindBarByCaption(ACaption); }
  TComponent* Part(const String& AName) const { return Form->FindComponent(AName); }

  std::unique_ptr<TOwned<TDialogsHostForm>> FormOwner;
  TDialogsHostForm* Form = nullptr;
  TdxBarManager* Manager = nullptr;
};
