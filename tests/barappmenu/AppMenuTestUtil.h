// Shared pieces of the application-menu tests: a shown form whose toolbar opens the tests'
// application menu from a drop-down button.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "bars/menus/appmenu.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/menus/popupmenu.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/TestApplicationMenu.h"

using TAppMenuTestForm = TTestHostForm;

class TAppMenuFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A button of caption ACaption that counts its clicks in Clicks[ACaption].
  TdxBarButton* NewButton(const String& ACaption);
  // AItems links "Item i", APaneItems pane entries "Recent i" and a row button for each caption.
  void Fill(int AItems, int APaneItems, std::initializer_list<const wchar_t*> AButtons);
  // Opens the menu with a click on the toolbar's drop-down button.
  bool OpenByPointer();

  TBarHost<TAppMenuTestForm> Host;
  TdxBarManager* Manager = Host.Manager;
  TTestApplicationMenu* Menu = nullptr;
  TdxBar* Bar = nullptr;
  TdxBarButton* FileButton = nullptr;
  std::map<String, int> Clicks;
};
