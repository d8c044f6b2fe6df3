// What the small customising dialogs share: finding the controls their form data made.
#pragma once

#include "platform/Classes.h"
#include "platform/SysUtils.h"

// The component AName of a dialog read from form data, as a T. Form data that lacks it (a
// translated resource gone wrong) raises rather than leaving a dialog without its controls.
template <class T>
T* dxBarDialogPart(TComponent* ADialog, const wchar_t* AName)
{
  auto* part = dynamic_cast<T*>(ADialog->FindComponent(AName));
  if (!part)
    throw EComponentError(L"The form data of " + ADialog->ClassName() + L" has no " + String(AName));
  return part;
}
