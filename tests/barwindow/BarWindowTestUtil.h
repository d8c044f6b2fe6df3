// Shared pieces of the bar window tests: a window kind that lays its items in a row (a
// stand-in for the toolbar), items that draw as solid blocks, a container item, a manager
// that records what bar windows leave with it, and a fixture with a shown bar window.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "bars/model/customizing.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/barwindows/shadow.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Pump.h"

using TBarWindowTestForm = TTestHostForm;

// An item that draws as a block of one colour; its control can pose as an in-place editor.
class TBlockItem : public TdxBarItem {
  DECLARE_CLASS(TBlockItem, TdxBarItem)
public:
  explicit TBlockItem(TComponent* AOwner) : TdxBarItem(AOwner) {}
  TColor FillColor = clRed;
  HWND EditWindow = nullptr;
  HBRUSH EditBrush = nullptr;
  bool WinControl = false;
  bool Selectable = true;
  // Called from the control's CalcDrawParams (the placement step of a layout pass).
  std::function<void()> OnPlacement;
};

class TBlockItemControl : public TdxBarItemControl {
  DECLARE_CLASS(TBlockItemControl, TdxBarItemControl)
public:
  explicit TBlockItemControl(TdxBarItemLink* AItemLink) : TdxBarItemControl(AItemLink) {}
  TBlockItem* Block() const { return dynamic_cast<TBlockItem*>(GetItem()); }
  void Draw(const TRect& R, bool AFlag) override;
  std::optional<TdxBarInPlaceEdit> GetInPlaceEdit() const override;
  bool IsWinControl() const override { return Block() && Block()->WinControl; }
  bool CanSelect() const override { return !Block() || Block()->Selectable; }
  void CalcDrawParams(bool AFull) override;
  int DrawCount = 0;
};

// A container: shows Contained in its place, and takes its own link out with HideSelf.
class TBlockContainerItem : public TBlockItem {
  DECLARE_CLASS(TBlockContainerItem, TBlockItem)
public:
  explicit TBlockContainerItem(TComponent* AOwner) : TBlockItem(AOwner) {}
  bool GetExpandedItems(std::vector<TdxBarItem*>& AItems, bool& AHideSelf) const override
  {
    AItems = Contained;
    AHideSelf = HideSelf;
    return true;
  }
  std::vector<TdxBarItem*> Contained;
  bool HideSelf = false;
};

// A painter with colours the tests can tell apart and shadows on.
class TRowPainter : public TdxBarPainter {
  DECLARE_CLASS(TRowPainter, TdxBarPainter)
public:
  void GetInPlaceEditColors(const TdxBarItemControl* AEditControl, TColor& ATextColor,
                            TColor& ABackgroundColor) const override
  {
    ATextColor = TColor(0x00123456);
    ABackgroundColor = clInfoBk;
  }
  bool IsShadowShown(const TCustomdxBarControl* ABarControl) const override { return true; }
};

// Records the drag start and answers the customizing selection, standing in for the
// customizing units through their services while one of these managers lives.
class TRowManager : public TdxBarManager {
  DECLARE_CLASS(TRowManager, TdxBarManager)
public:
  explicit TRowManager(TComponent* AOwner) : TdxBarManager(AOwner)
  {
    TdxBarCustomizingServices services = dxBarCustomizingServices();
    services.DragAndDrop = [](TdxBarManager* AManager, TdxBarItem*, TdxBarItemLink* ALink) {
      if (auto* manager = dynamic_cast<TRowManager*>(AManager)) {
        ++manager->DragStarts;
        manager->DraggedLink = ALink;
      }
    };
    services.SelectObject = [](TObject* AObject, int) {
      auto* link = dynamic_cast<TdxBarItemLink*>(AObject);
      if (auto* manager = link ? dynamic_cast<TRowManager*>(link->GetBarManager()) : nullptr)
        manager->CustomizingSelected = link;
    };
    services.GetSelectionState = [](const TObject* AObject) {
      auto* link = dynamic_cast<const TdxBarItemLink*>(AObject);
      auto* manager = link ? dynamic_cast<TRowManager*>(link->GetBarManager()) : nullptr;
      if (!manager)
        return TdxBarSelectionState::None;
      auto it = manager->SelectionStates.find(link);
      return it == manager->SelectionStates.end() ? TdxBarSelectionState::None : it->second;
    };
    FPreviousServices = SetdxBarCustomizingServices(std::move(services));
  }
  ~TRowManager() override { SetdxBarCustomizingServices(std::move(FPreviousServices)); }
  TClass GetPainterClass() const override { return TRowPainter::StaticClass(); }
  int DragStarts = 0;
  TdxBarItemLink* DraggedLink = nullptr;
  TdxBarItemLink* CustomizingSelected = nullptr;
  std::map<const TdxBarItemLink*, TdxBarSelectionState> SelectionStates;

private:
  TdxBarCustomizingServices FPreviousServices;
};

// The test window kind: items 40 x 24 in a row (a column when vertical) from (2, 2); a
// floating popup owned by the form when Popup is set. Enter clicks the selected control and
// Escape closes, as a toolbar does.
class TRowBarControl : public TCustomdxBarControl {
  DECLARE_CLASS(TRowBarControl, TCustomdxBarControl)
public:
  static constexpr int ItemWidth = 40, ItemHeight = 24, Gap = 4;
  explicit TRowBarControl(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}
  // Freed windows are filled with a pattern and kept, so a write after the free shows.
  static void operator delete(void* P, size_t Size);
  static bool QuarantineIntact();

  TdxBarControlKind GetKind() const override { return Kind; }
  bool IsVertical() const override { return Vertical; }
  bool IsTextRotated() const override { return Rotated; }
  bool IsDesigning() const override { return true; }
  bool HasMark() const override { return MarkWidth > 0; }
  TRect GetMarkRect() const override
  {
    TRect r = GetClientRect();
    r.left = r.right - MarkWidth;
    return r;
  }
  void Recalculate1() override;
  void RecreateControls(bool AExpandContainers) override;
  void DoClose() override;
  bool BarKeyDown(WORD AKey, TShiftState AShift) override;

  // Public doors to what the window kinds reach.
  bool Key(WORD AKey, TShiftState AShift = {}) { return BarKeyDown(AKey, AShift); }
  void Recreate(bool AExpand) { RecreateControls(AExpand); }
  void CloseBar() { Close(); }
  void SetParentForm(HWND AForm) { FormWindow = AForm; }

  TdxBarControlKind Kind = bckToolbar;
  bool Vertical = false;
  bool Rotated = false;
  bool Popup = false;
  bool FreeOnClose = false;
  int MarkWidth = 0;
  HWND FormWindow = nullptr;
  int Recalculate1Calls = 0;
  int Recalculate1Runs = 0;
  int RecreateCalls = 0;
  int DoCloseCalls = 0;
  std::function<void()> OnDoClose;
  std::function<void()> OnRecreate;

protected:
  void CreateParams(TCreateParams& Params) override;
};

class TRowLinksOwner : public TObject, public IdxBarLinksOwner {
public:
  explicit TRowLinksOwner(TdxBarManager* AManager) : FManager(AManager) {}
  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override
  {
    return dynamic_cast<TCustomdxBarControl*>(TRowBarControl::StaticClass()->Create(FManager));
  }
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return true; }

private:
  TdxBarManager* FManager;
};

// A shown form with a manager, and a floating row bar window on it at (Left, Top) of the
// screen.
class TBarWindowFixture : public testing::Test {
protected:
  static constexpr int BarLeft = 300, BarTop = 300;
  void SetUp() override;
  void TearDown() override;

  TBlockItem* NewItem(const String& ACaption, TColor AColor = clRed);
  TdxBarItemLink* AddLink(TdxBarItem* AItem);
  // Shows the bar window with every link laid out.
  void ShowBar();
  TdxBarItemLink* SelectedLink() const { return Bar ? Bar->GetSelectedLink() : nullptr; }
  // A client point's place in a capture of the whole window.
  TPoint InShot(const TPoint& P) const;

  TBarHost<TBarWindowTestForm, TRowManager> Host;
  std::unique_ptr<TRowLinksOwner> Owner;
  std::unique_ptr<TdxBarItemLinks> Links;
  TRowBarControl* Bar = nullptr;
};
