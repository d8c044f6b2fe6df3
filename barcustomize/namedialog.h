// The name dialog: asks for the name of a new or renamed toolbar or category. A toolbar
// may not take another toolbar's caption; a category name is taken as it is.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class TdxBar;
class TdxBarManager;

class TdxBarNameEd : public TForm {
  DECLARE_CLASS(TdxBarNameEd, TForm)
public:
  explicit TdxBarNameEd(TComponent* AOwner) : TForm(AOwner) {}

  // Handlers bound by name from the form data.
  void ENameChange(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);

  // Fills the texts for the kind of name and the mode (toolbar: 0 add, 1 rename; category:
  // 0 add, 1 insert, 2 rename) and shows AName.
  void Prepare(const String& AName, bool AIsCategory, int AMode, TdxBar* ABar, TdxBarManager* AManager);
  TEdit* GetNameEdit() const;
  TButton* GetOKButton() const;

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  bool FIsCategory = false;
  TWeakRef<TdxBarManager> FBarManager;
  TWeakRef<TdxBar> FBar;
  // The window that was active when the dialog was made: the dialog stays above it.
  HWND FOwnerWindow = nullptr;
};

// Shows the name dialog; true when it was closed with OK, AName then holding the new name.
// ABar is the toolbar being renamed (nil for a new one or a category).
bool ShowNameEditDialog(String& AName, bool AIsCategory, int AMode, TdxBar* ABar, TdxBarManager* AManager);
