// The host every bar library test area shares: the class layer and the bar library started
// once for the program with the area's classes and item kinds, a plain form for hosts, a form
// shown active with an edit that holds the focus, and a form with a bar manager on it for
// fixtures.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "bars/dxBar.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "support/Owned.h"

// An item kind of an area's own, with the control that shows it, for the item-kind register.
struct TRegisteredItemKind {
  TClass Item;
  TClass Control;
  bool ShownInCustomizing;
};

// Starts the class layer, then the bar library, as a program starts them, registers the
// classes the area's form data names and adds the area's item kinds to the item-kind
// register; shuts down in reverse.
class TBarLibraryEnvironment : public testing::Environment {
public:
  explicit TBarLibraryEnvironment(std::initializer_list<TClass> AClasses = {},
                                  std::initializer_list<TRegisteredItemKind> AItemKinds = {})
      : FClasses(AClasses), FItemKinds(AItemKinds)
  {
  }
  void SetUp() override;
  void TearDown() override;

private:
  std::vector<TClass> FClasses;
  std::vector<TRegisteredItemKind> FItemKinds;
};

// A plain form for a test's host; an area whose form needs nothing of its own names this one
// after itself (using TMyAreaForm = TTestHostForm).
class TTestHostForm : public TForm {
  DECLARE_CLASS(TTestHostForm, TForm)
public:
  explicit TTestHostForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Shows AForm, brings it to the front, gives AFocus (when given) the focus, where keys go while
// no bar takes them, and handles what that queued; false when the form did not become the
// foreground window.
bool ShowActive(TCustomForm* AForm, TWinControl* AFocus = nullptr);
// The same, with the form placed first.
bool ShowFormAt(TCustomForm* AForm, int ALeft, int ATop, int AWidth, int AHeight);

// An edit on AForm, which owns it, at a place of the form's client area: where keys go while
// no bar takes them.
TEdit* AddEdit(TCustomForm* AForm, int ALeft, int ATop, int AWidth, int AHeight);

// Closes the bar window that is active (a menu a failed test left open), if any.
void CloseActiveBar();

// A form without form data with a manager on it; the form (and so the manager) is freed
// with the host.
template <class TFormClass, class TManagerClass = TdxBarManager>
class TBarHost {
public:
  TBarHost() : FForm(TCustomForm::CreateNew<TFormClass>(nullptr)), Manager(new TManagerClass(FForm.Get())) {}
  TFormClass* Form() const { return FForm.Get(); }

  TOwned<TFormClass> FForm;
  TManagerClass* Manager;
};
