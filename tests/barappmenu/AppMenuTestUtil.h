// Shared pieces of the application-menu tests: an application menu of the test's own (a popup
// menu that hands its window the pane's settings and the buttons) and a shown form whose
// toolbar opens it from a drop-down button.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "bars/menus/appmenu.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/menus/popupmenu.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarTestHost.h"

class TAppMenuTestForm : public TForm {
  DECLARE_CLASS(TAppMenuTestForm, TForm)
public:
  explicit TAppMenuTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

class TTestApplicationMenu : public TdxBarPopupMenu, public IdxBarApplicationMenu {
  DECLARE_CLASS(TTestApplicationMenu, TdxBarPopupMenu)
public:
  explicit TTestApplicationMenu(TComponent* AOwner);
  TClass GetSubMenuControlClass() const override { return TdxBarApplicationMenuControl::StaticClass(); }

  int GetExtraPaneWidth() const override { return PaneWidth; }
  double GetExtraPaneWidthRatio() const override { return PaneRatio; }
  std::vector<TdxBarItem*> GetExtraPaneItems() const override { return PaneItems; }
  TdxBarApplicationMenuButtons* GetButtons() const override { return FButtons.get(); }

  TdxBarApplicationMenuControl* Window() const { return dynamic_cast<TdxBarApplicationMenuControl*>(GetBarControl()); }

  int PaneWidth = 0;
  double PaneRatio = 0.5;
  std::vector<TdxBarItem*> PaneItems;

private:
  std::unique_ptr<TdxBarApplicationMenuButtons> FButtons;
};

class TAppMenuFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A button of caption ACaption that counts its clicks in Clicks[ACaption].
  TdxBarButton* NewButton(const String& ACaption);
  // Opens the menu with a click on the toolbar's drop-down button.
  bool OpenByPointer();
  POINT ScreenCenter(TCustomdxBarControl* ABar, const TRect& R) const;

  TBarHost<TAppMenuTestForm> Host;
  TdxBarManager* Manager = Host.Manager;
  TTestApplicationMenu* Menu = nullptr;
  TdxBar* Bar = nullptr;
  TdxBarButton* FileButton = nullptr;
  std::map<String, int> Clicks;
};
