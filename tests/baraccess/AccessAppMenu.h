// An application menu for the accessibility tests, built the same way in the host program and
// in the tests: a popup menu that gives its window an extra pane and a row of buttons, opened
// from a drop-down button on a toolbar of its own.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "bars/menus/appmenu.h"
#include "bars/model/bar.h"
#include "bars/menus/popupmenu.h"

class TAccessAppMenu : public TdxBarPopupMenu, public IdxBarApplicationMenu {
  DECLARE_CLASS(TAccessAppMenu, TdxBarPopupMenu)
public:
  explicit TAccessAppMenu(TComponent* AOwner);
  TClass GetSubMenuControlClass() const override { return TdxBarApplicationMenuControl::StaticClass(); }
  int GetExtraPaneWidth() const override { return 120; }
  double GetExtraPaneWidthRatio() const override { return 0; }
  std::vector<TdxBarItem*> GetExtraPaneItems() const override { return PaneItems; }
  TdxBarApplicationMenuButtons* GetButtons() const override { return FButtons.get(); }
  TdxBarApplicationMenuControl* Window() const { return dynamic_cast<TdxBarApplicationMenuControl*>(GetBarControl()); }

  std::vector<TdxBarItem*> PaneItems;

private:
  std::unique_ptr<TdxBarApplicationMenuButtons> FButtons;
};

// A toolbar "Application" docked at the bottom whose "&File" drop-down opens an application
// menu: links "&New" and "&Open", pane entries "Recent &A" and "Recent &B", and the row's
// "&Options" and "E&xit". AOwner owns the menu; AMakeButton makes each button (and what a click does).
TAccessAppMenu* AddApplicationMenuBar(TComponent* AOwner, TdxBarManager* AManager,
                                      const std::function<TdxBarButton*(const String&)>& AMakeButton);
