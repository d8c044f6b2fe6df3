// Shared pieces of the quick-customisation tests: a shown form with a docked toolbar of
// captioned buttons, and the mark's popup opened and used with the real pointer.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "barcustomize/quickcust.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"

class TQuickCustTestForm : public TForm {
  DECLARE_CLASS(TQuickCustTestForm, TForm)
public:
  explicit TQuickCustTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

class TQuickCustFixture : public testing::Test {
protected:
  TQuickCustFixture() : Manager(Host.Manager) {}
  void SetUp() override;
  void TearDown() override;
  // A bar "Tools" docked at the top with a button per caption (shown with their captions).
  TdxBar* AddBar(const std::vector<String>& ACaptions);
  TdxBarControl* Toolbar() const { return FBar ? FBar->GetControl() : nullptr; }
  TdxBarItemLinks* ToolLinks() const { return FBar->GetItemLinks(); }
  // Presses the mark with the real pointer; the popup once it shows (nil when none showed).
  TdxBarQuickControl* OpenByMark();
  // The popup's "Add or Remove Buttons" entry clicked with the real pointer; its menu.
  TdxBarQuickAccessSubControl* OpenQuickList(TdxBarQuickControl* AQuick);
  // The screen centre of the control of the AIndex-th link of a bar window.
  static POINT CenterOfLink(TCustomdxBarControl* ABar, int AIndex)
  {
    return ScreenCentreOf(ControlOf(ABar->GetItemLinks()->Items(AIndex)));
  }
  int ToolbarWidth() const;

  TBarHost<TQuickCustTestForm> Host;
  TdxBarManager* Manager;
  TdxBar* FBar = nullptr;
};
