// The spin edit as the five looks draw it, on a toolbar and in a menu: both buttons show,
// the held one is drawn pressed, and the editor leaves the buttons uncovered. With TEST_SHOTS
// set the pictures are saved to look at.
#include "ExtrasTestUtil.h"

#include <string>

#include "support/Pixels.h"

namespace {

class TSpinLook : public TSpinFixture, public testing::WithParamInterface<TdxBarManagerStyle> {
protected:
  static RECT ScreenRect(TdxBarSpinEditControl* AControl, const TRect& R)
  {
    RECT r{R.left, R.top, R.right, R.bottom};
    ::MapWindowPoints(AControl->GetParent()->GetHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static RECT Relative(const RECT& AInner, const RECT& AOuter)
  {
    return RECT{AInner.left - AOuter.left, AInner.top - AOuter.top, AInner.right - AOuter.left,
                AInner.bottom - AOuter.top};
  }

  // Captures the control idle and with its up button held, and checks both pictures.
  void CheckButtons(TdxBarSpinEditControl* AControl, const std::string& AName)
  {
    const RECT item = ScreenRect(AControl, AControl->GetItemRect());
    const RECT up = Relative(ScreenRect(AControl, AControl->GetPartRects().at(dxBarSpinEditPartUp)), item);
    const RECT down = Relative(ScreenRect(AControl, AControl->GetPartRects().at(dxBarSpinEditPartDown)), item);
    ASSERT_GT(up.right - up.left, 2);
    ASSERT_GT(down.bottom - down.top, 2);
    const TDib32 idle = CaptureScreen(item);
    SaveShotOnRequest(idle, (AName + "-idle").c_str());
    // Each button shows an arrow: a colour of its own amid the button face.
    for (const RECT& button : {up, down}) {
      const COLORREF face = idle.Pixel(button.left, button.top + (button.bottom - button.top) / 2);
      EXPECT_GT(CountPixels(idle, button, [&](COLORREF c) { return !ColorsClose(c, face, 40); }), 0)
          << AName << ": no arrow drawn";
    }
    ASSERT_TRUE(PressOn(AControl, dxBarSpinEditPartUp));
    ASSERT_TRUE(PumpUntil([&] { return AControl->GetPressedPart() == dxBarSpinEditPartUp; }));
    PumpPending();
    const TDib32 held = CaptureScreen(item);
    SaveShotOnRequest(held, (AName + "-held").c_str());
    ASSERT_TRUE(MouseButtonUp());
    EXPECT_GT(CountDifferentPixels(held, up, idle), 0) << AName << ": the held button looks as before";
    // The editor now open stops before the buttons.
    ASSERT_TRUE(AControl->GetFocused());
    RECT editor{};
    ::GetWindowRect(AControl->GetHandle(), &editor);
    EXPECT_LE(editor.right, item.left + up.left) << AName << ": the editor covers the buttons";
    EXPECT_GT(editor.right - editor.left, 10);
    Key(VK_ESCAPE);
  }
};

TEST_P(TSpinLook, BothButtonsShowAndTheHeldOneIsDrawnPressed)
{
  Manager->SetStyle(GetParam());
  Spin->SetValue(5);
  PumpPending();
  const std::string look = ToUtf8(GetEnumName(EnumInfo<TdxBarManagerStyle>(), GetParam()));
  CheckButtons(ToolbarControl(), "spin-" + look + "-toolbar");
  ASSERT_TRUE(OpenMenu());
  CheckButtons(MenuControl(), "spin-" + look + "-menu");
}

INSTANTIATE_TEST_SUITE_P(Looks, TSpinLook, testing::Values(bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11));

}  // namespace
