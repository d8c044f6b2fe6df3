// Shared pieces of the toolbar tests: a form class, a fixture with a shown form, a manager
// and buttons to put on bars, and real mouse input sent from a helper thread while this
// thread runs a modal loop.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"

using TToolbarTestForm = TTestHostForm;

class TToolbarFixture : public testing::Test {
protected:
  TToolbarFixture() : Manager(Host.Manager) { Manager->SetName(L"dxBarManager1"); }
  void ShowForm(int ALeft = 100, int ATop = 100, int AWidth = 560, int AHeight = 360)
  {
    ShowFormAt(Host.Form(), ALeft, ATop, AWidth, AHeight);
  }
  TdxBars* Bars() const { return Manager->GetBars(); }
  // A bar with buttons of the captions given; a caption starting with "|" begins a group.
  TdxBar* AddBar(const std::vector<String>& ACaptions, TdxBarDockingStyle AStyle = dsTop);
  // The bar window made by the links without placing it anywhere.
  TdxBarControl* MakeWindow(TdxBar* ABar);
  // The measured width of each shown link's control.
  std::vector<int> LinkWidths(TdxBarControl* AControl);

  TBarHost<TToolbarTestForm> Host;
  TdxBarManager* Manager;
};

// The screen point of a point in window coordinates (relative to the window's top-left).
POINT WindowToScreen(HWND AWnd, const TPoint& P);
