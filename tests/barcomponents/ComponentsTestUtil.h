// Shared pieces of the bar component tests: a form that form data can name, a stand-in
// for bar items (they come with a later step) answering the category and visibility hooks,
// and a form with a manager for fixtures.
#pragma once

#include "support/BarTestHost.h"

class TComponentsTestForm : public TForm {
  DECLARE_CLASS(TComponentsTestForm, TForm)
public:
  explicit TComponentsTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Stands in for a bar item: registers with the manager of its owner, carries a category
// number, Enabled and Visible, and streams as a child of the manager.
class TTestBarItem : public TdxBarComponent {
  DECLARE_CLASS(TTestBarItem, TdxBarComponent)
public:
  explicit TTestBarItem(TComponent* AOwner) : TdxBarComponent(AOwner)
  {
    if (TdxBarManager* manager = GetBarManagerByOwner(AOwner))
      Attach(manager);
  }
  void Attach(TdxBarManager* AManager)
  {
    SetBarManager(AManager);
    AManager->GetItemList()->Add(this);
  }

  int GetCategoryIndex() const override { return FCategory; }
  void SetCategoryIndex(int Value) override { FCategory = Value; }
  int GetCategory() const { return FCategory; }
  void SetCategory(int Value) { FCategory = Value; }
  bool GetEnabled() const override { return FEnabled; }
  void SetEnabled(bool Value) override { FEnabled = Value; }
  TdxBarItemVisible GetVisible() const override { return FVisible; }
  void SetVisible(TdxBarItemVisible Value) override
  {
    FVisible = Value;
    ++VisibleSets;
  }
  bool IsExcludedFromCustomizing() const override { return Excluded; }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return GetBarManager(); }
  void SetParentComponent(TComponent* Value) override
  {
    if (auto* manager = dynamic_cast<TdxBarManager*>(Value); manager && !GetBarManager())
      Attach(manager);
  }

  int VisibleSets = 0;
  bool Excluded = false;

private:
  int FCategory = -1;
  bool FEnabled = true;
  TdxBarItemVisible FVisible = ivAlways;
};

// A form with a manager and no form data.
struct TManagerFixture : testing::Test, TBarHost<TComponentsTestForm> {
  TTestBarItem* NewItem(int Category, const String& Name = String())
  {
    auto* item = new TTestBarItem(Form());
    item->SetCategory(Category);
    if (!Name.empty())
      item->SetName(Name);
    return item;
  }
  std::vector<String> CategoryNames() const
  {
    std::vector<String> names;
    for (int i = 0; i < Manager->GetCategories()->Count(); ++i)
      names.push_back(Manager->GetCategories()->Strings(i));
    return names;
  }
};
