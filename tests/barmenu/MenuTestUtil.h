// Shared pieces of the menu tests: a menu host that opens the library's menu window through
// the drop-down interface (as the popup menu will), and a fixture with a shown form whose
// toolbar holds two drop-down buttons with menus of buttons.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/menus/submenu.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"

using TMenuTestForm = TTestHostForm;

// A drop-down menu of its own links, shown in the library's menu window; it also offers a
// bar for tearing the menu off.
class TTestMenuHost : public TComponent,
                      public IdxBarDropDownMenu,
                      public IdxBarLinksOwner,
                      public IdxBarSubMenuDetaching {
  DECLARE_CLASS(TTestMenuHost, TComponent)
public:
  explicit TTestMenuHost(TComponent* AOwner);
  ~TTestMenuHost() override;

  TdxBarItemLinks* GetDropDownItemLinks() const override { return FLinks.get(); }
  TCustomdxBarControl* DropDownMenu(TdxBarItemControl* AOwnerControl, const TPoint& P, const TRect& AExcludeRect,
                                    TCustomdxBarControl* AParentBar) override;
  void CloseDropDownMenu() override;
  TCustomdxBarControl* GetDropDownWindow() const override { return FLinks ? FLinks->GetBarControl() : nullptr; }
  TdxBarSubMenuControl* Menu() const { return dynamic_cast<TdxBarSubMenuControl*>(GetDropDownWindow()); }

  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override;
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return true; }

  TdxBar* GetDetachingBar() override { return DetachingBar; }
  void DoDetaching() override { ++Detachings; }

  TdxBarItemLinks* Links() const { return FLinks.get(); }
  TdxBar* DetachingBar = nullptr;
  int Detachings = 0;
  int CloseUps = 0;

private:
  std::unique_ptr<TdxBarSubMenuControlItemLinks> FLinks;
};

class TMenuFixture : public testing::Test {
protected:
  TMenuFixture();
  void SetUp() override;
  void TearDown() override;

  // The form at a place and size, shown and active, with its toolbar laid out.
  void ShowForm(int ALeft = 100, int ATop = 100, int AWidth = 480, int AHeight = 300);
  // Buttons "Item 0" ... on a host's menu; their clicks are counted per index.
  void FillMenu(TTestMenuHost* AHost, int ACount, int AGroupEvery = 0);
  // Opens the first drop-down by its control (as a press on its arrow does).
  TdxBarSubMenuControl* Open(TTestMenuHost* AHost = nullptr);
  // The item control of a menu's link at a shown index.
  TdxBarItemControl* ItemOf(TdxBarSubMenuControl* AMenu, int AIndex) const;
  void Key(TCustomdxBarControl* AWindow, WORD AKey);
  void MoveAway();

  TBarHost<TMenuTestForm> Host;
  TdxBarManager* Manager;
  TdxBar* Bar = nullptr;
  TdxBarButton* MenuButton = nullptr;
  TdxBarButton* OtherButton = nullptr;
  TTestMenuHost* MenuHost = nullptr;
  TTestMenuHost* OtherHost = nullptr;
  std::vector<int> Clicks;
};

// Records the size each window of this thread is made at, while it lives.
class TWindowCreationSizes {
public:
  TWindowCreationSizes();
  ~TWindowCreationSizes();
  TSize Of(HWND AWnd) const;

private:
  static LRESULT CALLBACK Hook(int ACode, WPARAM AWParam, LPARAM ALParam);
  HHOOK FHook;
  static inline std::map<HWND, TSize> Sizes;
};
