// Shared pieces of the hint tests: a form class, a fixture with a manager and toolbar
// buttons that carry hints, and the hint window's state as a user sees it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/hints/hintwindow.h"
#include "bars/hints/screentips.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"

class THintTestForm : public TForm {
  DECLARE_CLASS(THintTestForm, TForm)
public:
  explicit THintTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

class THintFixture : public testing::Test {
protected:
  THintFixture() : Manager(Host.Manager) { Manager->SetName(L"dxBarManager1"); }
  ~THintFixture() override { dxBarCancelHint(); }
  void ShowForm(int ALeft = 100, int ATop = 100, int AWidth = 460, int AHeight = 200)
  {
    ShowFormAt(Host.Form(), ALeft, ATop, AWidth, AHeight);
  }
  // A visible bar of buttons whose hints are their captions followed by " hint".
  TdxBar* AddBar(const std::vector<String>& ACaptions, TdxBarDockingStyle AStyle = dsTop);
  // The screen centre of a link's control.
  static POINT LinkCentre(TdxBar* ABar, int AIndex) { return ScreenCentreOf(ABar->GetItemLinks()->Items(AIndex)); }
  // A second form, shown to the right of the host's, for the pointer or the activation to go to.
  static TOwned<THintTestForm> ShowOtherForm();

  TBarHost<THintTestForm> Host;
  TdxBarManager* Manager;
};

// The thread's hint window's text and screen rectangle.
String HintText();
TRect HintRect();
