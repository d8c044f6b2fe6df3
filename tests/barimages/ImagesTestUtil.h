// Shared pieces of the image options, backgrounds and popup-menu link tests: the library
// started once, a form and a container control that form data can name, a stand-in for
// the popup-menu component, and a scope guard that frees components.
#pragma once

#include <gtest/gtest.h>

#include "bars/dxBar.h"
#include "platform/Forms.h"

class TImagesTestForm : public TForm {
  DECLARE_CLASS(TImagesTestForm, TForm)
public:
  explicit TImagesTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

// A plain window that holds other controls.
class TLinkPanel : public TCustomControl {
  DECLARE_CLASS(TLinkPanel, TCustomControl)
public:
  explicit TLinkPanel(TComponent* AOwner) : TCustomControl(AOwner)
  {
    FControlStyle += csAcceptsControls;
    SetBounds(10, 10, 200, 120);
  }
};

// Stands where the popup-menu component will: the links only keep and hand it over.
class TFakePopupMenu : public TComponent {
  DECLARE_CLASS(TFakePopupMenu, TComponent)
public:
  explicit TFakePopupMenu(TComponent* AOwner) : TComponent(AOwner) {}
};

// Frees a component at the end of a scope unless it is gone already.
template <class T>
class TOwned {
public:
  explicit TOwned(T* Object = nullptr) : FRef(Object) {}
  ~TOwned()
  {
    if (T* object = FRef.Get())
      object->Free();
  }
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;
  T* Get() const { return FRef.Get(); }
  T* operator->() const { return FRef.Get(); }

private:
  TWeakRef<T> FRef;
};

inline TImagesTestForm* NewImagesForm()
{
  return TCustomForm::CreateNew<TImagesTestForm>(nullptr);
}
