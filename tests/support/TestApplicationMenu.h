// An application menu of the tests' own: a popup menu that hands its window an extra pane of
// the width and items the test sets, and a row of buttons. Plain library code, so that a host
// program without the test framework builds it too.
#pragma once

#include <memory>
#include <vector>

#include "bars/menus/appmenu.h"
#include "bars/model/bar.h"
#include "bars/menus/popupmenu.h"

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
