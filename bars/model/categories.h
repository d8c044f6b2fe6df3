// The bar manager's command categories: a string list of category names whose operations
// keep every item in its category (items carry category numbers), with per-category item
// visibility and Customize-dialog visibility stored as "ItemsVisibles" and "Visibles".
#pragma once

#include "bars/model/components.h"
#include "platform/Strings.h"

// What the manager keeps per category; a category without one has the defaults.
class TdxBarCategoryData : public TObject {
  DECLARE_CLASS(TdxBarCategoryData, TObject)
public:
  TdxBarItemVisible ItemsVisible = ivAlways;
  // The ItemsVisible read from form data, applied once loading is over.
  TdxBarItemVisible LoadedItemsVisible = ivAlways;
  bool HasLoadedItemsVisible = false;
  // Whether the Customize dialog lists the category at run time.
  bool Visible = true;
};

// Owns its data objects. Deleting, inserting, exchanging and moving categories renumber the
// items of the manager's item register so that each stays with its category's name.
class TdxBarManagerCategories : public TStringList {
  DECLARE_CLASS(TdxBarManagerCategories, TStringList)
public:
  // Starts with the one category "Default" unless the manager is loading.
  explicit TdxBarManagerCategories(TdxBarManager* ABarManager);
  template <class P>
  TdxBarManagerCategories(P*) = delete;

  TdxBarManager* GetBarManager() const { return FBarManager; }
  // The data of a category; nil when it has none or the index is out of range.
  TdxBarCategoryData* GetData(int Index) const;
  // The data of a valid category, made with the defaults when missing; nil out of range.
  TdxBarCategoryData* NeedData(int Index);

  // Frees the items of the category, renumbers the later ones; "Default" comes back when
  // the last category goes.
  void Delete(int Index) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;
  // Copies the names, and the category data when Source is another manager's categories.
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

protected:
  void Changed() override;

private:
  // Calls Proc for every item of the manager's register (a copy of the register).
  template <class F>
  void ForEachItem(F Proc) const;
  void ReadItemsVisibles(TReader* Reader);
  void WriteItemsVisibles(TWriter* Writer);
  void ReadVisibles(TReader* Reader);
  void WriteVisibles(TWriter* Writer);

  TdxBarManager* FBarManager;
  bool FMoving = false;  // Delete and Insert are plain string operations meanwhile
};
