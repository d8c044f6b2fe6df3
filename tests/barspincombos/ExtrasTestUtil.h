// Shared pieces of the spin edit and combo tests: image lists of solid colours, screen
// places of a control's parts, and for the spin edit a shown form whose toolbar holds a spin edit and a
// sub-item whose menu holds the same spin edit, and the screen places of its buttons.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "barextras/dxBarExtItems.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/menus/submenu.h"
#include "platform/ImgList.h"
#include "platform/StdCtrls.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pump.h"

// An image list of solid squares of ASize, one per colour.
TImageList* MakeColorImages(TComponent* AOwner, int ASize, std::initializer_list<TColor> AColors);
// From a script's helper thread: a select window still open after a pause is closed with
// Esc, so that a script whose input went astray fails its test instead of hanging it.
void CancelSelectWindowIfOpen();

class TSpinTestForm : public TForm {
  DECLARE_CLASS(TSpinTestForm, TForm)
public:
  explicit TSpinTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Records every OnButtonClick with its button.
class TSpinClicks : public TObject {
public:
  void Clicked(TObject*, TdxBarSpinEditButton AButton) { Buttons.push_back(AButton); }
  int Count() const { return int(Buttons.size()); }
  std::vector<TdxBarSpinEditButton> Buttons;
};

class TSpinFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // The spin edit's control on the toolbar, or in the open menu.
  TdxBarSpinEditControl* ToolbarControl() const
  {
    return ControlOf<TdxBarSpinEditControl>(Bar->GetItemLinks()->Items(0));
  }
  TdxBarSpinEditControl* MenuControl() const
  {
    TdxBarItemLinks* links = Sub->GetItemLinks();
    return ControlOf<TdxBarSpinEditControl>(links->Count() > 0 ? links->Items(0) : nullptr);
  }
  // Opens the sub-item's menu by a click and waits for it.
  bool OpenMenu();
  // The screen centre of a part of the control.
  static POINT PartCenter(TdxBarSpinEditControl* AControl, int APart)
  {
    return ScreenCentreOf(AControl, AControl->GetPartRects().at(size_t(APart)));
  }
  // Holds the left button on a part: moves there and presses.
  static bool PressOn(TdxBarSpinEditControl* AControl, int APart);
  static bool ClickOn(TdxBarSpinEditControl* AControl, int APart);
  // A real key stroke, waited for until the queue holds no key message.
  static void Key(WORD AKey) { EXPECT_TRUE(StrokeKey(AKey)); }

  TBarHost<TSpinTestForm> Host;
  TdxBarManager* Manager = nullptr;
  TEdit* FormEdit = nullptr;
  TdxBarSpinEdit* Spin = nullptr;
  TdxBarSubItem* Sub = nullptr;
  TdxBar* Bar = nullptr;
  TSpinClicks Clicks;
};
