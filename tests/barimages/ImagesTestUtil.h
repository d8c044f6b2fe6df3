// Shared pieces of the image options, backgrounds and popup-menu link tests: a form and a
// container control that form data can name, and a stand-in for the popup-menu component.
#pragma once

#include "support/BarTestHost.h"

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

inline TImagesTestForm* NewImagesForm()
{
  return TCustomForm::CreateNew<TImagesTestForm>(nullptr);
}
