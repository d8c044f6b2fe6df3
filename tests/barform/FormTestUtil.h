// Shared pieces of the form tests: form classes, a fixture with a form, its manager and
// floating bars, and the call-window hook's delivery of a form message.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"

class TFormTestForm : public TForm {
  DECLARE_CLASS(TFormTestForm, TForm)
public:
  explicit TFormTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Gives AManager the message as the call-window hook does when it is sent to AWnd: for the
// kinds of window taking the activation that real input cannot easily make.
void DeliverFormMessage(TdxBarManager* AManager, HWND AWnd, UINT AMsg, WPARAM AWParam = 0, LPARAM ALParam = 0);
// A floating bar of one button on AManager at (ALeft, ATop), made visible.
TdxBar* AddFloatingBar(TdxBarManager* AManager, int ALeft, int ATop, const String& ACaption = L"Tools");
// Whether the bar's window is on screen.
bool IsBarOnScreen(TdxBar* ABar);
