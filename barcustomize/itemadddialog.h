// The add-item dialog: makes a new item of a chosen kind, with its name, category and
// caption, for a bar manager. A name that cannot be given leaves the dialog open.
#pragma once

#include <vector>

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class TdxBarItem;
class TdxBarManager;

class TdxBarItemAddEditor : public TForm {
  DECLARE_CLASS(TdxBarItemAddEditor, TForm)
public:
  explicit TdxBarItemAddEditor(TComponent* AOwner) : TForm(AOwner) {}

  // Handlers bound by name from the form data.
  void ComboBox1Click(TObject* Sender);
  void BOkClick(TObject* Sender);
  void FormShow(TObject* Sender);

  // Lists the manager's categories (selecting ACategoryIndex, else the first) and the item
  // kinds offered for customising, in registration order.
  void Prepare(TdxBarManager* AManager, int ACategoryIndex);
  // The item OK made; nil before.
  TdxBarItem* GetCreatedItem() const;
  // The kinds listed, in the order of the kind list.
  const std::vector<TClass>& GetKinds() const { return FKinds; }

private:
  TClass SelectedKind();
  void MakeRoomForLabels();

  TWeakRef<TdxBarManager> FBarManager;
  TWeakRef<TdxBarItem> FCreatedItem;
  std::vector<TClass> FKinds;
};

// Shows the add-item dialog; the new item, or nil when it was cancelled.
TdxBarItem* ShowItemAddEditor(TdxBarManager* ABarManager, int ACategoryIndex);
