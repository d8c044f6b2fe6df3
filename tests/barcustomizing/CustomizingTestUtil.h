// Shared pieces of the customizing-mode tests: a form read from form data with a main menu,
// a "File" menu, a toolbar and an item shown only while customizing; services a test
// installs for the time of a scope; and answering a real message box with the real pointer.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "bars/bar.h"
#include "bars/buttons.h"
#include "bars/customizing.h"
#include "bars/subitems.h"
#include "bars/submenu.h"
#include "bars/toolbar.h"
#include "support/BarTestHost.h"
#include "support/Owned.h"

class TCustomizingForm : public TForm {
  DECLARE_CLASS(TCustomizingForm, TForm)
public:
  explicit TCustomizingForm(TComponent* AOwner) : TForm(AOwner) {}
};

// The form data: "Main Menu" with "FileItem" (links File0..File4; File3 and File4 not recently
// used) and "CustomizeOnly" (an item shown only while customizing); "Tools" with Tool0..Tool2,
// Tool2 not recently used.
String CustomizingFormText();

class TCustomizingFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  void ShowForm(int ALeft = 200, int ATop = 150, int AWidth = 500, int AHeight = 300);
  TdxBar* Bar(const String& ACaption) const { return Manager->FindBarByCaption(ACaption); }
  TdxBarItem* Item(const String& AName) const;
  TdxBarItemControl* ControlOf(const String& AItemName) const;
  POINT CenterOf(TdxBarItemControl* AControl) const;

  TCustomizingForm* Form = nullptr;
  std::unique_ptr<TOwned<TCustomizingForm>> FormOwner;
  TdxBarManager* Manager = nullptr;
};

// Installs services for a scope and puts the previous ones back at its end.
class TServicesScope {
public:
  explicit TServicesScope(TdxBarCustomizingServices AServices)
      : FPrevious(SetdxBarCustomizingServices(std::move(AServices)))
  {
  }
  ~TServicesScope() { SetdxBarCustomizingServices(std::move(FPrevious)); }
  TServicesScope(const TServicesScope&) = delete;
  TServicesScope& operator=(const TServicesScope&) = delete;

private:
  TdxBarCustomizingServices FPrevious;
};

// What a message box showed, read from its window.
struct TMessageBoxSeen {
  bool Found = false;
  String Text;
  bool HasYes = false;
  bool HasNo = false;
  int DefaultButton = 0;
  bool HasIcon = false;
};

// Runs AShow, which shows a message box on this thread; a helper thread finds the box by its
// window, reads it and clicks the button AButtonId with the real pointer.
TMessageBoxSeen AnswerMessageBox(const std::function<void()>& AShow, int AButtonId);

// The visible links of a bar window that have a control.
int ControlCount(TdxBar* ABar);
