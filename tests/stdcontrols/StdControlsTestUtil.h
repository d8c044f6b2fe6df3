// Shared pieces of the standard control tests: the class layer for the whole run, a shown
// form to put controls on, and helpers for real keys pressed while a modal loop runs.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Forms.h"
#include "support/Input.h"
#include "support/Owned.h"
#include "support/Pixels.h"
#include "support/Pump.h"

// A plain form that records the events its controls report through its handlers.
class THostForm : public TForm {
  DECLARE_CLASS(THostForm, TForm)
public:
  explicit THostForm(TComponent* AOwner) : TForm(AOwner) {}
  std::vector<std::wstring> Log;
  void Clicked(TObject* Sender) { Log.push_back(L"click " + NameOf(Sender)); }
  void Changed(TObject* Sender) { Log.push_back(L"change " + NameOf(Sender)); }
  void Selected(TObject* Sender) { Log.push_back(L"select " + NameOf(Sender)); }
  int Count(const std::wstring& Entry) const;
  void ClearLog() { Log.clear(); }

private:
  static std::wstring NameOf(TObject* Sender);
};

// A form of 400 x 300 at a fixed place, shown and active for each case and freed after it.
class TStdControlsTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Shows the form and waits until it is the active window.
  void ShowForm();
  // Made the active control when the form shows (a hidden form's controls cannot take it).
  void FocusOnShow(TWinControl* Control);
  THostForm* Form = nullptr;
  std::unique_ptr<TOwned<THostForm>> FormGuard;
};

// The screen point at client point (X, Y) of a control, or at its middle.
POINT ScreenPoint(TControl* Control, int X, int Y);
POINT CenterOf(TControl* Control);
// The colour the screen shows at client point (X, Y) of a control.
COLORREF ScreenPixel(TControl* Control, int X, int Y);

// Runs Form->ShowModal() while a helper thread waits until the form is the foreground window
// and then presses Key (with Modifiers); returns what ShowModal returned, or mrAbort when
// the loop was still running seconds later (the key did not end it).
TModalResult ShowModalPressing(TCustomForm* Form, WORD Key, std::initializer_list<WORD> Modifiers = {});

// Moves the cursor where no test window lies.
void ParkCursor();
