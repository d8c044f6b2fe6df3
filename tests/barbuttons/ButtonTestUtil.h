// Shared pieces of the button tests: a bar window double that makes no layout and counts
// rebuilds and repaints, a drop-down menu double that opens a menu window double and records
// how it was asked, and a fixture with buttons on a toolbar double.
#pragma once

#include <memory>
#include <vector>

#include "barextras/dxBarExtItems.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/drawparams.h"
#include "bars/model/itemlinks.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Glyphs.h"

class TButtonTestForm : public TForm {
  DECLARE_CLASS(TButtonTestForm, TForm)
public:
  explicit TButtonTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

// A bar window without layout: it answers what controls ask and counts what they do.
class TTestButtonBar : public TCustomdxBarControl {
  DECLARE_CLASS(TTestButtonBar, TCustomdxBarControl)
public:
  explicit TTestButtonBar(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}

  int GetBarKind() const override { return BarKind; }
  TdxBarControlKind GetKind() const override { return BarKind == bkMenu ? bckSubMenu : bckToolbar; }
  bool IsVertical() const override { return BarKind == bkVertical; }
  void InvalidateRect(const TRect& R, bool Erase) override { ++RepaintCount; }
  void RebuildBar() override { ++RebuildCount; }
  void LeaveMenuMode() override {}

  int BarKind = bkHorizontal;
  int RepaintCount = 0;
  int RebuildCount = 0;
};

// Makes the bar windows of a link collection: toolbars or menus.
class TTestBarOwner : public TObject, public IdxBarLinksOwner {
public:
  TTestBarOwner(TdxBarManager* AManager, int ABarKind) : FManager(AManager), FBarKind(ABarKind) {}
  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override
  {
    auto* bar = new TTestButtonBar(FManager);
    bar->BarKind = FBarKind;
    return bar;
  }
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return true; }

private:
  TdxBarManager* FManager;
  int FBarKind;
};

// A popup menu as a button sees it: its links, and a menu window double while open.
class TTestDropDownMenu : public TComponent, public IdxBarDropDownMenu, public IdxBarLinksOwner {
  DECLARE_CLASS(TTestDropDownMenu, TComponent)
public:
  explicit TTestDropDownMenu(TComponent* AOwner);
  ~TTestDropDownMenu() override;

  TdxBarItemLinks* GetDropDownItemLinks() const override { return FLinks.get(); }
  TCustomdxBarControl* DropDownMenu(TdxBarItemControl* AOwnerControl, const TPoint& P, const TRect& AExcludeRect,
                                    TCustomdxBarControl* AParentBar) override;
  void CloseDropDownMenu() override;
  TCustomdxBarControl* GetDropDownWindow() const override { return FLinks ? FLinks->GetBarControl() : nullptr; }

  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override;
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return true; }

  // A link to AItem with its control made once the menu is open.
  TdxBarItemLink* AddItem(TdxBarItem* AItem) { return FLinks->AddItem(AItem); }
  bool IsOpen() const { return GetDropDownWindow() != nullptr; }

  int OpenCount = 0;
  int CloseCount = 0;
  TdxBarItemControl* LastOwner = nullptr;
  TPoint LastPoint{};
  TRect LastExclude{};
  TCustomdxBarControl* LastParent = nullptr;
  // The parent bar was marked as opening from the keyboard (its menu then selects its first item).
  bool LastShownByKeyboard = false;

private:
  std::unique_ptr<TdxBarItemLinks> FLinks;
};

// A form with a manager, a toolbar double and a menu double, and buttons on them.
class TButtonFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A new button of the class on the links (the toolbar's when nil) with its control made.
  template <class T = TdxBarButton>
  T* NewButton(const String& ACaption, TdxBarButtonStyle AStyle = bsDefault, TdxBarItemLinks* ALinks = nullptr)
  {
    auto* button = new T(Host.Form());
    button->SetCaption(ACaption);
    button->SetButtonStyle(AStyle);
    TdxBarItemLink* link = (ALinks ? ALinks : ToolbarLinks.get())->AddItem(button);
    link->CreateControl();
    return button;
  }
  TTestButtonBar* BarOf(TdxBarItemLinks* ALinks) const
  {
    return dynamic_cast<TTestButtonBar*>(ALinks->GetBarControl());
  }

  TBarHost<TButtonTestForm> Host;
  std::unique_ptr<TTestBarOwner> ToolbarOwner;
  std::unique_ptr<TTestBarOwner> MenuOwner;
  std::unique_ptr<TdxBarItemLinks> ToolbarLinks;
  std::unique_ptr<TdxBarItemLinks> MenuLinks;
  TTestButtonBar* Toolbar = nullptr;
  TTestButtonBar* Menu = nullptr;
};

// An image list of ACount square glyphs of a size, each of its own colour.
std::unique_ptr<TCustomImageList> MakeButtonImages(int ASize, int ACount);
