// The shadow of a menu in the gradient look with fading menus, on the screen: shown when the
// menu opens, again after a menu closed by a mnemonic key, and all through a press and drag
// over the menu's entries; none while the system's setting for menu shadows is off.
#include "MenuTestUtil.h"

#include "bars/barwindows/shadow.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TMenuShadow : public TMenuFixture {
protected:
  void SetUp() override
  {
    TMenuFixture::SetUp();
    // Menu shadows as the system's default has them (Wine's prefix turns them off).
    FSavedSetting = SetdxBarShadowSettingQuery([] { return true; });
    Manager->SetStyle(bmsOffice11);
    Manager->SetMenuAnimations(maFade);
    for (const wchar_t* caption : {L"&Quit", L"&Copy", L"&Paste", L"&Delete"}) {
      auto* button = new TdxBarButton(Host.Form());
      button->SetCaption(caption);
      button->SetOnClick(TNotifyEvent([this](TObject*) { ++Runs; }));
      MenuHost->Links()->AddItem(button);
    }
    MenuButton->SetCaption(L"&Menu");
    ShowForm();
  }

  // The menu's shadow is up: every part shown, and the screen right of the menu darker next
  // to it than further out.
  testing::AssertionResult ShadowShows(TdxBarSubMenuControl* AMenu)
  {
    if (!AMenu || !AMenu->GetShadow())
      return testing::AssertionFailure() << "no menu";
    PumpPending();
    TdxBarShadow* shadow = AMenu->GetShadow();
    if (!shadow->GetVisible() || shadow->GetPartCount() == 0)
      return testing::AssertionFailure() << "the shadow is hidden";
    for (int i = 0; i < shadow->GetPartCount(); ++i)
      if (!IsWindowVisible(shadow->GetPart(i)->GetHandle()))
        return testing::AssertionFailure() << "part " << i << " is hidden";
    RECT r{};
    GetWindowRect(AMenu->GetHandle(), &r);
    const int y = (r.top + r.bottom) / 2;
    const TDib32 strip = CaptureScreen(RECT{r.right, y, r.right + 12, y + 1});
    const COLORREF inner = strip.Pixel(0, 0), outer = strip.Pixel(11, 0);
    if (GetRValue(inner) + GetGValue(inner) + GetBValue(inner) >=
        GetRValue(outer) + GetGValue(outer) + GetBValue(outer))
      return testing::AssertionFailure() << "nothing darker right of the menu: " << ColorText(inner) << " beside "
                                         << ColorText(outer);
    return testing::AssertionSuccess();
  }

  void TearDown() override
  {
    TMenuFixture::TearDown();
    SetdxBarShadowSettingQuery(FSavedSetting);
  }

  int Runs = 0;
  TdxBarShadowSettingQuery FSavedSetting;
};

TEST_F(TMenuShadow, AMenuClosedByAMnemonicKeyCastsItsShadowWhenOpenedAgain)
{
  TdxBarSystemSettingProc saved = SetdxBarMenuAnimationSettingProc([] { return true; });
  TFinally restore([&] { SetdxBarMenuAnimationSettingProc(saved); });
  TdxBarSubMenuControl* menu = Open();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetAnimationKind(), maFade);
  EXPECT_TRUE(ShadowShows(menu));
  // An entry's mnemonic runs it and closes the menu (the key's release goes nowhere).
  PressKey('Q', {}, 300);
  PumpPending();
  EXPECT_EQ(Runs, 1);
  EXPECT_EQ(MenuHost->Menu(), nullptr);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    MoveAway();
    ASSERT_TRUE(ClickAt(ArrowCentreOf(MenuButton)));
    PumpPending();
    menu = MenuHost->Menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(ShadowShows(menu));
    PressKey('C', {}, 300);
    PumpPending();
    EXPECT_EQ(MenuHost->Menu(), nullptr);
  }
  EXPECT_EQ(Runs, 4);
}

TEST_F(TMenuShadow, TheShadowStaysWhileThePointerDragsOverTheEntries)
{
  TdxBarSystemSettingProc saved = SetdxBarMenuAnimationSettingProc([] { return true; });
  TFinally restore([&] { SetdxBarMenuAnimationSettingProc(saved); });
  ASSERT_TRUE(ClickAt(ArrowCentreOf(MenuButton)));
  PumpPending();
  TdxBarSubMenuControl* menu = MenuHost->Menu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(ShadowShows(menu));
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ItemOf(menu, 0))));
  ASSERT_TRUE(MouseButtonDown());
  for (int i = 1; i < 4; ++i) {
    ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ItemOf(menu, i))));
    PumpPending();
    ASSERT_EQ(MenuHost->Menu(), menu);
    EXPECT_TRUE(ShadowShows(menu)) << "over entry " << i;
  }
  MouseButtonUp();
  PumpPending();
}

// With drop shadows turned off for the system no menu casts one, and it comes back with the
// setting.
TEST_F(TMenuShadow, TheSystemsSettingTurnsTheShadowOff)
{
  bool enabled = false;
  TdxBarShadowSettingQuery saved = SetdxBarShadowSettingQuery([&] { return enabled; });
  TFinally restore([&] { SetdxBarShadowSettingQuery(saved); });
  for (bool on : {false, true}) {
    enabled = on;
    TdxBarSubMenuControl* menu = Open();
    ASSERT_NE(menu, nullptr);
    PumpPending();
    TdxBarShadow* shadow = menu->GetShadow();
    ASSERT_NE(shadow, nullptr);
    int shown = 0;
    for (int i = 0; i < shadow->GetPartCount(); ++i)
      shown += IsWindowVisible(shadow->GetPart(i)->GetHandle()) != FALSE;
    EXPECT_EQ(shadow->GetVisible(), on);
    EXPECT_EQ(shown > 0, on);
    if (on) {
      EXPECT_TRUE(ShadowShows(menu));
    }
    menu->Close();
    PumpPending();
  }
}

}  // namespace
