// Shared pieces of the item control tests: an item kind with a control that can be tuned
// per test, a bar window double that makes no window and records what controls ask of it,
// a painter whose menu deltas are visible, and a fixture with links on that window.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/drawparams.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Glyphs.h"

using TItemControlTestForm = TTestHostForm;

class TTestItem : public TdxBarItem {
  DECLARE_CLASS(TTestItem, TdxBarItem)
public:
  explicit TTestItem(TComponent* AOwner) : TdxBarItem(AOwner) {}
};

// The base control with knobs: parts, default parts, click behaviour, an empty level set.
class TTestItemControl : public TdxBarItemControl {
  DECLARE_CLASS(TTestItemControl, TdxBarItemControl)
public:
  explicit TTestItemControl(TdxBarItemLink* AItemLink) : TdxBarItemControl(AItemLink) {}

  void Draw(const TRect& R, bool AFlag) override
  {
    ++DrawCount;
    DrawnCaption = GetDrawParams()->Caption;
    DrawnCanvas = GetCanvas();
  }
  TdxBarItemViewLevels GetPossibleViewLevels() const override
  {
    return EmptyLevels ? TdxBarItemViewLevels{} : TdxBarItemControl::GetPossibleViewLevels();
  }
  int GetDefaultViewParts() const override { return DefaultViewParts; }
  bool CloseMenusOnClick() const override { return CloseMenus; }
  bool IsButtonControl() const override { return ButtonControl; }
  bool CanClick() const override
  {
    ++CanClickCalls;
    return Clickable;
  }
  int GetPartCount() const override { return TwoParts ? 2 : 1; }
  // Two parts inside the rectangle, leaving a 2-pixel border that is on no part.
  void CalcParts() override;

  int DefaultViewParts = 0;
  bool EmptyLevels = false;
  bool CloseMenus = true;
  bool ButtonControl = false;
  bool Clickable = true;
  bool TwoParts = false;
  mutable int CanClickCalls = 0;
  int DrawCount = 0;
  String DrawnCaption;
  TcxCanvas* DrawnCanvas = nullptr;
};

// A bar window without a window: it answers what controls ask and counts what they do.
class TTestBarControl : public TCustomdxBarControl {
  DECLARE_CLASS(TTestBarControl, TCustomdxBarControl)
public:
  explicit TTestBarControl(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}

  int GetBarKind() const override { return BarKind; }
  TdxBarControlKind GetKind() const override { return BarKind == bkMenu ? bckSubMenu : bckToolbar; }
  uint32_t GetOptions() const override { return Options; }
  bool IsVertical() const override { return BarKind == bkVertical; }
  int GetGlyphColumnWidth() const override { return GlyphColumnWidth; }
  int GetItemHeight(const TdxBarItemControl* AControl) const override { return ItemHeight; }
  bool CanAlignControl(const TdxBarItemControl* AControl) const override { return AlignControls; }
  void InvalidateRect(const TRect& R, bool Erase) override { Invalidated.push_back(R); }
  void LeaveMenuMode() override
  {
    ++LeaveMenuModeCount;
    if (OnLeaveMenuMode)
      OnLeaveMenuMode();
  }
  void RebuildBar() override { ++RebuildCount; }

  int BarKind = bkHorizontal;
  uint32_t Options = 0;
  int GlyphColumnWidth = 0;
  int ItemHeight = 0;
  bool AlignControls = false;
  std::vector<TRect> Invalidated;
  int LeaveMenuModeCount = 0;
  int RebuildCount = 0;
  std::function<void()> OnLeaveMenuMode;
};

// Menu deltas that show whether a size went through them.
class TTestPainter : public TdxBarPainter {
  DECLARE_CLASS(TTestPainter, TdxBarPainter)
public:
  int GetMenuItemHeightDelta(const TdxBarItemControl* AControl, int AValue) const override { return AValue + 3; }
  int GetMenuItemWidthDelta(const TdxBarItemControl* AControl, int AValue) const override { return AValue + 7; }
};

// A manager whose painter is the test painter once UpdateStyle has run.
class TTestPainterManager : public TdxBarManager {
  DECLARE_CLASS(TTestPainterManager, TdxBarManager)
public:
  explicit TTestPainterManager(TComponent* AOwner) : TdxBarManager(AOwner) {}
  TClass GetPainterClass() const override { return TTestPainter::StaticClass(); }
};

// Owns the links' window: a test bar window on the manager.
class TTestLinksOwner : public TObject, public IdxBarLinksOwner {
public:
  explicit TTestLinksOwner(TdxBarManager* AManager) : FManager(AManager) {}
  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override { return new TTestBarControl(FManager); }
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return true; }

private:
  TdxBarManager* FManager;
};

// An image list of a size holding ACount images.
std::unique_ptr<TCustomImageList> MakeImageList(int ASize, int ACount);

// A form with a manager, links on a test bar window, and items on those links.
template <class TManagerClass = TdxBarManager>
class TItemControlFixtureBase : public testing::Test {
protected:
  void SetUp() override
  {
    Owner = std::make_unique<TTestLinksOwner>(Host.Manager);
    Links = std::make_unique<TdxBarItemLinks>(Host.Manager, Owner.get());
    Links->CreateBarControl();
    Bar = dynamic_cast<TTestBarControl*>(Links->GetBarControl());
    ASSERT_NE(Bar, nullptr);
    Bar->SetFont(Host.Manager->GetFont());
  }
  void TearDown() override
  {
    Links.reset();
    Owner.reset();
  }

  TTestItem* NewItem(const String& ACaption = L"Open")
  {
    auto* item = new TTestItem(Host.Form());
    item->SetCaption(ACaption);
    return item;
  }
  // A link to AItem on the bar with its control made.
  TdxBarItemLink* AddLink(TdxBarItem* AItem)
  {
    TdxBarItemLink* link = Links->AddItem(AItem);
    link->CreateControl();
    return link;
  }
  // A new item on a new link, and its control.
  TTestItemControl* NewControl(const String& ACaption = L"Open")
  {
    return ControlOf<TTestItemControl>(AddLink(NewItem(ACaption)));
  }
  int TextWidth(TdxBarItemControl* AControl, const String& AText) const
  {
    return AControl->GetCanvas()->TextWidth(AText);
  }

  TBarHost<TItemControlTestForm, TManagerClass> Host;
  std::unique_ptr<TTestLinksOwner> Owner;
  std::unique_ptr<TdxBarItemLinks> Links;
  TTestBarControl* Bar = nullptr;
};

using TItemControlFixture = TItemControlFixtureBase<>;
