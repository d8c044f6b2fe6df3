// The run-time selection: what the Customize dialog's lists and the bars have selected while
// a program (not a form designer) is customised. At most one bar and one other component are
// selected at a time. Model layer of the customizing units.
#pragma once

#include "bars/model/components.h"
#include "platform/Classes.h"

// The selection service a designer offers, as the customizing units ask it.
class IdxBarDesigner {
public:
  virtual ~IdxBarDesigner() = default;
  virtual bool CanDeleteComponent(TComponent* AComponent) = 0;
  // Appends every selected component.
  virtual void GetSelection(TList* AList) = 0;
  virtual bool IsComponentSelected(TComponent* AComponent) = 0;
  virtual bool IsSelected(TComponent* AComponent) = 0;
  // Selection types 0 and 1 select; others do nothing.
  virtual void SelectComponent(TComponent* AComponent, int ASelectionType = 0) = 0;
  // Every component of the list is selected, with one change notification at the end.
  virtual void SetSelection(TList* AList) = 0;
  virtual void ShowDefaultEventHandler(TComponent* AComponent) = 0;
  virtual String UniqueName(const String& ABaseName) = 0;
};

// Made and owned by the Customize dialog (std::unique_ptr); the others reach it through the dialog.
class TdxBarRunTimeSelectionController : public TObject, public IdxBarDesigner {
  DECLARE_CLASS(TdxBarRunTimeSelectionController, TObject)
public:
  TdxBarRunTimeSelectionController();
  ~TdxBarRunTimeSelectionController() override;

  bool CanDeleteComponent(TComponent*) override { return true; }
  void GetSelection(TList* AList) override;
  bool IsComponentSelected(TComponent* AComponent) override;
  bool IsSelected(TComponent* AComponent) override { return IsComponentSelected(AComponent); }
  void SelectComponent(TComponent* AComponent, int ASelectionType = 0) override;
  void SetSelection(TList* AList) override;
  void ShowDefaultEventHandler(TComponent*) override {}
  String UniqueName(const String&) override { return String(); }

  int Count() const { return FSelection->Count(); }
  TComponent* GetSelected(int Index) const { return FSelection->Items(Index); }

  // Fired after every change of the selection as a whole.
  TNotifyEvent OnSelectionChanged;

private:
  void Select(TComponent* AComponent);
  void SelectionListChanged(TObject* Sender, TComponent* AComponent, TdxComponentListChangeType Kind);
  void SelectionListNotify(TObject* Sender, TComponent* AComponent, TListNotification Action);

  std::unique_ptr<TdxComponentList> FSelection;
};
