// Shared pieces of the bar item tests: a registered item kind that publishes what later
// kinds publish, an item control that records what it is told, a bar window that counts
// its rebuilds, a links owner that makes that window, and a fixture with a form and manager.
#pragma once

#include <string>
#include <vector>

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"

class TItemsTestForm : public TForm {
  DECLARE_CLASS(TItemsTestForm, TForm)
public:
  explicit TItemsTestForm(TComponent* AOwner) : TForm(AOwner) {}
  // A handler that form data binds by name.
  void ItemClick(TObject* Sender) { ++Clicks; }
  int Clicks = 0;
};

// A concrete item kind, registered with the item-kind register, that publishes the values
// only later kinds publish in the library.
class TTestItem : public TdxBarItem {
  DECLARE_CLASS(TTestItem, TdxBarItem)
public:
  explicit TTestItem(TComponent* AOwner) : TdxBarItem(AOwner) {}

  // Sub-menu kinds keep their hint; a test flag stands in for them.
  bool DoesHintFollowCaption() const override { return !KeepsHint; }
  TdxBarItemLinks* GetItemLinks() const override { return OwnLinks; }
  bool IsClickable() const override { return Clickable; }
  bool CanBeVisible() const override { return VisibleAllowed; }

  bool KeepsHint = false;
  bool Clickable = true;
  bool VisibleAllowed = true;
  TdxBarItemLinks* OwnLinks = nullptr;
};

// Registered by nobody: an item of this class shows no control.
class TUnregisteredTestItem : public TTestItem {
  DECLARE_CLASS(TUnregisteredTestItem, TTestItem)
public:
  explicit TUnregisteredTestItem(TComponent* AOwner) : TTestItem(AOwner) {}
};

// Records every notification in order, as short words.
class TTestItemControl : public TdxBarItemControl {
  DECLARE_CLASS(TTestItemControl, TdxBarItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TTestItemControl(TdxBarItemLink* ALink);
  ~TTestItemControl() override;

  void CaptionChanged() override { Log.push_back("caption"); }
  void EnabledChanged() override { Log.push_back("enabled"); }
  void GlyphChanged() override { Log.push_back("glyph"); }
  void HotGlyphChanged() override { Log.push_back("hotglyph"); }
  void LargeGlyphChanged() override { Log.push_back("largeglyph"); }
  void VisibleChanged() override { Log.push_back("visible"); }
  void WidthChanged() override { Log.push_back("width"); }
  void RecalcAndRepaint() override { Log.push_back("recalc"); }
  void Repaint() override { Log.push_back("repaint"); }
  void ApplyStyle() override { Log.push_back("style"); }

  std::vector<std::string> Log;
  // Controls alive now, to see creation and destruction.
  static int Alive;
};

// A bar window that counts its rebuilds and does nothing else: those asked for while
// the manager is update-locked (which the manager's EndUpdate stands for) apart.
class TTestBarControl : public TCustomdxBarControl {
  DECLARE_CLASS(TTestBarControl, TCustomdxBarControl)
public:
  // Shown, as the toolbars these tests stand for (bar windows are made hidden).
  explicit TTestBarControl(TComponent* AOwner) : TCustomdxBarControl(AOwner) { FVisible = true; }
  TdxBarControlKind GetKind() const override { return Kind; }
  void RebuildBar() override;

  TdxBarControlKind Kind = bckToolbar;
  int Rebuilds = 0;
  int LockedRebuilds = 0;
};

// Owns a link collection and its window, as a bar does.
class TTestLinksOwner : public TObject, public IdxBarLinksOwner {
public:
  explicit TTestLinksOwner(TdxBarManager* AManager, TdxBarControlKind AKind = bckToolbar);
  ~TTestLinksOwner() override;

  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override;
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return true; }

  TdxBarItemLinks* Links() const { return FLinks; }
  TTestBarControl* Bar() const { return dynamic_cast<TTestBarControl*>(FLinks->GetBarControl()); }
  // A link for AItem with its control made.
  TdxBarItemLink* Show(TdxBarItem* AItem);

private:
  TdxBarManager* FManager;
  TdxBarControlKind FKind;
  TdxBarItemLinks* FLinks;
};

struct TItemsFixture : testing::Test, TBarHost<TItemsTestForm> {
  TTestItem* NewItem(const String& Name = String())
  {
    auto* item = new TTestItem(Form());
    if (!Name.empty())
      item->SetName(Name);
    return item;
  }
  // Index positions of items in the manager's register, as names.
  std::vector<String> RegisterNames() const
  {
    std::vector<String> names;
    for (int i = 0; i < Manager->GetItemCount(); ++i)
      names.push_back(Manager->GetItem(i)->Name());
    return names;
  }
};
