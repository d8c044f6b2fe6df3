// The program-wide start and shut-down of the bar library test areas.
#include "support/BarTestHost.h"

#include "support/Input.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TTestHostForm, TForm)

void TBarLibraryEnvironment::SetUp()
{
  InitializeForms();
  dxBarInitialize();
  for (TClass cls : FClasses)
    RegisterClass(cls);
  for (const TRegisteredItemKind& kind : FItemKinds)
    RegisterBarItem(kind.Item, kind.Control, kind.ShownInCustomizing);
}

void TBarLibraryEnvironment::TearDown()
{
  for (auto kind = FItemKinds.rbegin(); kind != FItemKinds.rend(); ++kind)
    UnregisterBarItem(kind->Item);
  dxBarFinalize();
  FinalizeForms();
}

TEdit* AddEdit(TCustomForm* AForm, int ALeft, int ATop, int AWidth, int AHeight)
{
  auto* edit = new TEdit(AForm);
  edit->SetParent(AForm);
  edit->SetBounds(ALeft, ATop, AWidth, AHeight);
  return edit;
}

void CloseActiveBar()
{
  if (TCustomdxBarControl* active = ActiveBarControl())
    active->Close();
}

bool ShowActive(TCustomForm* AForm, TWinControl* AFocus)
{
  AForm->Show();
  const bool active = ActivateWindow(AForm->GetHandle());
  if (AFocus)
    AFocus->SetFocus();
  PumpPending();
  return active;
}

bool ShowFormAt(TCustomForm* AForm, int ALeft, int ATop, int AWidth, int AHeight)
{
  AForm->SetBounds(ALeft, ATop, AWidth, AHeight);
  return ShowActive(AForm);
}
