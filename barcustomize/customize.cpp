// The customizing units' start-up, in the order they rely on; shut-down runs it backwards.
#include "barcustomize/customize.h"

#include "barcustomize/customizeform.h"
#include "barcustomize/designcontroller.h"
#include "barcustomize/dragdrop.h"
#include "barcustomize/groupitemsdialog.h"
#include "barcustomize/namedialog.h"
#include "barcustomize/quickcust.h"
#include "bars/model/customizing.h"

namespace {

int GStartCount = 0;
// What the services were before the units installed theirs (a test may have set some).
TdxBarCustomizingServices GPreviousServices;

}  // namespace

void InitializedxBarCustomize()
{
  if (GStartCount++ > 0)
    return;
  TdxBarCustomizingServices services = dxBarCustomizingServices();
  InitializedxBarDesignController(services);
  InitializedxBarQuickCustomizing();
  services.QuickControlClass = TdxBarQuickControl::StaticClass();
  services.ShowToolbarNameDialog = [](TdxBarManager* AManager, String& ACaption, TdxBar* ABar) {
    return ShowNameEditDialog(ACaption, false, ABar ? 1 : 0, ABar, AManager);
  };
  dxBarInstallCustomizingForm(services);
  GPreviousServices = SetdxBarCustomizingServices(std::move(services));
  dxBarInstallDragAndDrop();
  // The group-items picker's form data names its list's class.
  RegisterClass(TdxBarGroupItemsListBox::StaticClass());
}

void FinalizedxBarCustomize()
{
  if (GStartCount == 0 || --GStartCount > 0)
    return;
  UnRegisterClass(TdxBarGroupItemsListBox::StaticClass());
  dxBarUninstallDragAndDrop();
  dxBarUninstallCustomizingForm();
  SetdxBarCustomizingServices(std::move(GPreviousServices));
  FinalizedxBarQuickCustomizing();
  FinalizedxBarDesignController();
}

bool dxBarCustomizeIsInitialized()
{
  return GStartCount > 0;
}
