// Every page of the dialog in every look: what lies on a page stays inside it and apart from
// its neighbours, the texts are the library's, and (with TEST_SHOTS set) a picture of each
// page is written for a person to look at.
#include "CustFormTestUtil.h"

#include <string>

#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

using TLook = TCustFormFixture;

const char* StyleName(TdxBarManagerStyle AStyle)
{
  switch (AStyle) {
    case bmsStandard:
      return "standard";
    case bmsEnhanced:
      return "enhanced";
    case bmsFlat:
      return "flat";
    case bmsXP:
      return "xp";
    case bmsOffice11:
      return "office11";
    default:
      return "other";
  }
}

// The visible children of AParent with their bounds; windowed siblings must not overlap.
void ExpectLaidOut(TWinControl* AParent, const std::string& AWhere)
{
  const TRect client = AParent->GetClientRect();
  std::vector<TControl*> shown;
  for (int i = 0; i < AParent->GetControlCount(); ++i) {
    TControl* control = AParent->GetControls(i);
    if (!control->GetVisible())
      continue;
    const TRect r = control->GetBoundsRect();
    EXPECT_TRUE(r.left >= client.left && r.top >= client.top && r.right <= client.right && r.bottom <= client.bottom)
        << AWhere << ": " << ToUtf8(control->Name()) << " leaves its parent";
    for (TControl* other : shown) {
      TRect overlap{};
      const TRect o = other->GetBoundsRect();
      const bool windowed = dynamic_cast<TWinControl*>(control) && dynamic_cast<TWinControl*>(other);
      if (windowed && ::IntersectRect(&overlap, &r, &o))
        ADD_FAILURE() << AWhere << ": " << ToUtf8(control->Name()) << " overlaps " << ToUtf8(other->Name());
    }
    shown.push_back(control);
    if (auto* container = dynamic_cast<TWinControl*>(control))
      ExpectLaidOut(container, AWhere);
  }
}

TEST_F(TLook, EachPageInEachLookKeepsItsControlsInPlace)
{
  ASSERT_NE(Open(), nullptr);
  // A command with a description, as a user would have chosen one.
  Dialog->lbItems->SetItemIndex(1);
  Dialog->lbItems->Perform(WM_DXBARCUSTOMIZE_ACTIONS);
  ASSERT_FALSE(Dialog->DescriptionLabel->GetCaption().empty());
  TTabSheet* pages[] = {Dialog->tsToolbars, Dialog->tsItems, Dialog->tsOptions};
  const char* pageNames[] = {"toolbars", "commands", "options"};
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11}) {
    Manager->SetStyle(style);
    for (int p = 0; p < 3; ++p) {
      Dialog->PageControl->SetActivePage(pages[p]);
      PumpPending();
      const std::string where = std::string(StyleName(style)) + "/" + pageNames[p];
      ExpectLaidOut(pages[p], where);
      TDib32 shot = ShootWindow(Dialog->GetHandle());
      ASSERT_TRUE(shot.Valid());
      SaveShotOnRequest(shot, ("customize-" + where.substr(0, where.find('/')) + "-" + pageNames[p]).c_str());
    }
  }
  EXPECT_TRUE(Dialog->BClose->GetLeft() + Dialog->BClose->GetWidth() <= Dialog->PanelBottom->GetWidth());
}

}  // namespace
