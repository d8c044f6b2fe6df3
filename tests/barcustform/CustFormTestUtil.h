// Shared pieces of the Customize dialog tests: a host form read from form data, the dialog
// opened on it, and scope guards for the message box, the beep and the name dialog.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "barcustomize/customizeform.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/model/customizing.h"
#include "bars/dxBar.h"
#include "platform/Dialogs.h"
#include "support/MessageBoxScope.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Owned.h"
#include "support/ServicesScope.h"

class TCustFormHost : public TForm {
  DECLARE_CLASS(TCustFormHost, TForm)
public:
  explicit TCustFormHost(TComponent* AOwner) : TForm(AOwner) {}
};

// "Main Menu" (main menu, cannot close), "Tools" (Tool0..Tool2), "Format" (cannot be
// closed, AllowClose False) and "Secret" (Hidden) from form data; categories "File" (File0,
// File1 with a description) and "Tools" (Tool0..Tool2).
class TCustFormFixture : public testing::Test {
public:
  // The screen centre of a list entry, at X from its left edge (-1: the middle).
  static POINT EntryPoint(TListBox* AList, int AIndex, int AX = -1);

protected:
  void SetUp() override;
  void TearDown() override;
  // Shows the host, opens customizing and answers the dialog (failing when none opened).
  TdxBarCustomizingForm* Open();
  TdxBar* Bar(const String& ACaption) const { return Manager->FindBarByCaption(ACaption); }
  TdxBarItem* Item(const String& AName) const { return dynamic_cast<TdxBarItem*>(Host->FindComponent(AName)); }

  std::unique_ptr<TOwned<TCustFormHost>> HostOwner;
  TCustFormHost* Host = nullptr;
  TdxBarManager* Manager = nullptr;
  TdxBarCustomizingForm* Dialog = nullptr;
  int ShowCount = 0;
  int HideCount = 0;
};

// A real click near the left end of a control of the dialog.
void ClickControl(TWinControl* AControl);

// Counts the beeps the bar library makes.
class TBeepScope {
public:
  TBeepScope();
  ~TBeepScope();
  TBeepScope(const TBeepScope&) = delete;
  TBeepScope& operator=(const TBeepScope&) = delete;
  int Count() const;

private:
  void (*FPrevious)() = nullptr;
};

// A second top-level form with a manager and a floating-free toolbar of its own.
struct TOtherHost {
  TOtherHost();
  TOwned<TCustFormHost> Form;
  TdxBarManager* Manager = nullptr;
};

// Screenshots a window from the screen (what the display shows).
class TDib32;
TDib32 ShootWindow(HWND AWnd);
