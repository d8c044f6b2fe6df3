// Shared pieces of the item link tests: a form form data can name, a test item kind (with
// a separator flag and optional links of its own, as sub-items have), a counting item
// control, a bar window double, and a component that owns a link collection.
#pragma once

#include <memory>

#include "bars/barwindows/barcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"

class TLinksTestForm : public TForm {
  DECLARE_CLASS(TLinksTestForm, TForm)
public:
  explicit TLinksTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Counts what links and items tell it. It builds no view info: the counts are all it is for.
class TLinkTestControl : public TdxBarItemControl {
  DECLARE_CLASS(TLinkTestControl, TdxBarItemControl)
public:
  explicit TLinkTestControl(TdxBarItemLink* ALink) : TdxBarItemControl(ALink) { ++Alive; }
  ~TLinkTestControl() override { --Alive; }
  void AfterConstruction() override {}

  void BeginGroupChanged() override { ++BeginGroupChanges; }
  void CaptionChanged() override { ++CaptionChanges; }
  void GlyphChanged() override { ++GlyphChanges; }
  void PaintStyleChanged() override { ++PaintStyleChanges; }
  void WidthChanged() override { ++WidthChanges; }
  void VisibleChanged() override { ++VisibleChanges; }
  void Repaint() override { ++Repaints; }
  void Update() override {}
  void RecalcAndRepaint() override {}
  void ApplyStyle() override {}
  void CalcDrawParams(bool) override { ++DrawParamCalcs; }
  void CalcParts() override {}
  bool CanSelect() const override { return Selectable; }

  static inline int Alive = 0;
  bool Selectable = true;
  int BeginGroupChanges = 0;
  int CaptionChanges = 0;
  int GlyphChanges = 0;
  int PaintStyleChanges = 0;
  int WidthChanges = 0;
  int VisibleChanges = 0;
  int Repaints = 0;
  int DrawParamCalcs = 0;
};

class TLinkTestItem;

// A component that owns links: it refuses recursive menus as bars and sub-items do.
class TTestLinksOwner : public TComponent, public IdxBarLinksOwner {
  DECLARE_CLASS(TTestLinksOwner, TComponent)
public:
  explicit TTestLinksOwner(TComponent* AOwner);
  ~TTestLinksOwner() override;

  TdxBarItemLinks* GetItemLinks() const { return FItemLinks.get(); }
  void SetItemLinks(TdxBarItemLinks* Value) { FItemLinks->Assign(Value); }
  TdxBarItemOptions* GetItemOptions() const { return FItemLinks->GetItemOptions(); }
  void SetItemOptions(TdxBarItemOptions* Value) { FItemLinks->SetItemOptions(Value); }
  // Replaces the collection by one of the given kind (toolbar or sub-menu links).
  template <class T>
  void UseLinksOfKind()
  {
    FItemLinks.reset();
    FItemLinks = std::make_unique<T>(GetBarManagerByOwner(Owner()), this);
  }
  void Loaded() override;

  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override;
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override;
  TdxBarItemLink* GetParentRecentLink() override { return ParentRecentLink; }
  bool AllItemsFit() const override { return FitsAll; }

  TdxBarItemLink* ParentRecentLink = nullptr;
  bool FitsAll = true;
  // The parent window the next bar window is opened from.
  TCustomdxBarControl* ParentBar = nullptr;

private:
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
};

// A bar window double: no window handle, counts rebuilds and recalculations, keeps the
// selection a link asks it to drop, and aligns controls when told.
class TLinkTestBar : public TCustomdxBarControl {
  DECLARE_CLASS(TLinkTestBar, TCustomdxBarControl)
public:
  // Shown, as the bars these tests stand for (bar windows are made hidden).
  explicit TLinkTestBar(TComponent* AOwner) : TCustomdxBarControl(AOwner) { FVisible = true; }
  // The controls point at their window: a window freed before its links takes them along.
  ~TLinkTestBar() override
  {
    if (TdxBarItemLinks* links = GetItemLinks())
      for (int i = 0; i < links->Count(); ++i)
        links->Items(i)->DestroyControl();
  }
  void RebuildBar() override { ++Rebuilds; }
  void RecalculateLayout() override { ++Recalculations; }
  void SetSelectedControl(TdxBarItemControl* Value) override { FSelectedLink = Value ? Value->GetItemLink() : nullptr; }
  bool CanAlignControl(const TdxBarItemControl*) const override { return AlignsControls; }
  void SetParentBar(TCustomdxBarControl* AParent) { FParentBar = AParent; }
  void SelectLink(TdxBarItemLink* ALink) { FSelectedLink = ALink; }

  int Rebuilds = 0;
  int Recalculations = 0;
  bool AlignsControls = false;
};

// A test item kind. With links of its own it stands for a sub-item: it owns a link
// collection, is compatible with others of its kind that have links, and refuses
// recursion like any owner.
class TLinkTestItem : public TdxBarItem, public IdxBarLinksOwner {
  DECLARE_CLASS(TLinkTestItem, TdxBarItem)
public:
  explicit TLinkTestItem(TComponent* AOwner) : TdxBarItem(AOwner) {}
  ~TLinkTestItem() override;

  void MakeSubItem()
  {
    if (!FSubLinks)
      FSubLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(GetBarManager(), this);
  }
  TdxBarItemLinks* GetItemLinks() const override { return FSubLinks.get(); }
  bool IsSeparator() const override { return Separator; }
  bool IsWidthPerLink() const override { return WidthPerLink; }
  bool IsCompatibleWith(TdxBarItem* AItem) const override
  {
    auto* other = dynamic_cast<TLinkTestItem*>(AItem);
    return other && FSubLinks && other->GetItemLinks();
  }

  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override { return nullptr; }
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override;

  bool Separator = false;
  bool WidthPerLink = false;  // stands for an edit

private:
  std::unique_ptr<TdxBarItemLinks> FSubLinks;
};

// Refuses an item whose own links reach the owner of Links.
bool RefuseRecursion(TdxBarItemLinks* Links, TdxBarItem* AItem, String& AErrorText);

// A form with a manager, an owner of links with a bar window, and helpers to make items.
class TLinksFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  TdxBarManager* Manager() const { return FHost->Manager; }
  TdxBarItemLinks* Links() const { return FOwner->GetItemLinks(); }
  TLinkTestBar* Bar() const { return dynamic_cast<TLinkTestBar*>(Links()->GetBarControl()); }
  TLinkTestItem* NewItem(const String& ACaption, bool ASeparator = false);
  TdxBarItemLink* AddLink(const String& ACaption, bool ASeparator = false)
  {
    return Links()->AddItem(NewItem(ACaption, ASeparator));
  }
  std::vector<String> Captions(const TdxBarItemLinks::TLinkList& AList) const;

  std::unique_ptr<TBarHost<TLinksTestForm>> FHost;
  TTestLinksOwner* FOwner = nullptr;
};
