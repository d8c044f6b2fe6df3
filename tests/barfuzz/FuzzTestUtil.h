// Shared pieces of the damaged-form tests: a realistic bar form as form data text, and a
// checker that reads a (damaged) copy of it, then shows, lays out, paints and frees what it
// made under a time limit, watching GDI objects and error boxes.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "barextras/dxBarExtItems.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Dialogs.h"
#include "support/BarTestHost.h"

class TFuzzForm : public TForm {
  DECLARE_CLASS(TFuzzForm, TForm)
public:
  explicit TFuzzForm(TComponent* AOwner) : TForm(AOwner) {}
};

// The undamaged form: two image lists, a manager with two categories, a bar docked at the
// form's top, a floating bar, a bar in a dock control, plain buttons, a group of check
// buttons, a drop-down button and large buttons with image indexes.
String BarFormText();

// How a case ended: read and then shown, painted and freed, or refused by the reader.
struct TFuzzOutcome {
  bool Read = false;
  String Error;  // the reader's message when refused
};

// Reads AText into a form; when that works, shows it, lays it out at two sizes, paints every
// bar window and frees the form. A crash or a case running past the time limit ends the
// program naming ALabel; an exception other than the library's, an error box while showing
// or painting, or GDI objects left behind is a test failure.
// AInspect, when given, sees a form that was read after it has been shown and painted.
TFuzzOutcome CheckDamagedForm(const String& AText, const std::string& ALabel,
                              const std::function<void(TFuzzForm*)>& AInspect = nullptr);

// The per-case limit after which a case counts as hung.
inline constexpr int kCaseTimeLimitMs = 10000;

// Arms the time limit for one case and names it for crash reports.
class TCaseGuard {
public:
  explicit TCaseGuard(const std::string& ALabel);
  ~TCaseGuard();
  TCaseGuard(const TCaseGuard&) = delete;
  TCaseGuard& operator=(const TCaseGuard&) = delete;
};

// Counts the error boxes an exception inside a window procedure would show, answering them.
class TBoxCounter {
public:
  TBoxCounter();
  ~TBoxCounter();
  TBoxCounter(const TBoxCounter&) = delete;
  TBoxCounter& operator=(const TBoxCounter&) = delete;

  int Count = 0;
  String LastText;

private:
  TMessageBoxProc FPrevious;
};

// Paints every window the bars of AForm show: the form, its dock sites and each bar's window.
void PaintAll(TFuzzForm* AForm);
