// Shared pieces of the customizing tests: a form read from form data, services installed for
// a scope, and a real message box answered with the real pointer.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/model/customizing.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Owned.h"
#include "support/ServicesScope.h"

class TCustomizingForm : public TForm {
  DECLARE_CLASS(TCustomizingForm, TForm)
public:
  explicit TCustomizingForm(TComponent* AOwner) : TForm(AOwner) {}
};

// "Main Menu" links "FileItem" (File0..File4, the last two not recently used) and
// "CustomizeOnly" (shown only while customizing); "Tools" links Tool0..Tool2 (Tool2 not
// recently used).
class TCustomizingFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  void ShowForm();
  TdxBar* Bar(const String& ACaption) const { return Manager->FindBarByCaption(ACaption); }
  TdxBarItem* Item(const String& AName) const { return dynamic_cast<TdxBarItem*>(Form->FindComponent(AName)); }
  TdxBarItemLinks* FileLinks() const { return static_cast<TdxBarSubItem*>(Item(L"FileItem"))->GetItemLinks(); }
  // The centre on the screen of the first control of the item's links.
  POINT CenterOf(const String& AItemName) const { return ScreenCentreOf(ControlOf(Item(AItemName))); }

  std::unique_ptr<TOwned<TCustomizingForm>> FormOwner;
  TCustomizingForm* Form = nullptr;
  TdxBarManager* Manager = nullptr;
};

// What a message box showed: its text, whether it has Yes and No, its default button.
struct TMessageBoxSeen {
  bool Found = false;
  String Text;
  bool YesNo = false;
  int DefaultButton = 0;
};

// Runs AShow, which shows a message box on this thread; a helper thread finds the box by its
// window, reads it and clicks the button AButtonId with the real pointer.
TMessageBoxSeen AnswerMessageBox(const std::function<void()>& AShow, int AButtonId);

// How many links of the bar have a control.
int ControlCount(TdxBar* ABar);
