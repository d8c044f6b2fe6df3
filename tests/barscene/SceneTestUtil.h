// Shared pieces of the scene tests: a form read from form data with a flat-style manager, a
// toolbar docked at the top holding buttons in each state and a floating toolbar; screen
// captures of a bar window; and real mouse input sent from a helper thread while this thread
// runs the message loop a press may enter.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "barextras/dxBarExtItems.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pump.h"
#include "support/Pixels.h"

class TSceneForm : public TForm {
  DECLARE_CLASS(TSceneForm, TForm)
public:
  explicit TSceneForm(TComponent* AOwner) : TForm(AOwner) {}
};

// The colours the glyphs are drawn in; fuchsia around them is their transparent colour.
inline constexpr COLORREF SmallGlyphBlue = RGB(0, 0, 255);
inline constexpr COLORREF CheckGlyphGreen = RGB(0, 160, 0);
inline constexpr COLORREF LargeGlyphRed = RGB(255, 0, 0);

// The form data of the scene (glyph data made at run time).
String SceneFormText();

class TSceneFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // The docked toolbar's link of the item of that name.
  TdxBarItemLink* LinkOf(const String& AItemName) const;
  // The toolbar window as the screen shows it now (after a repaint), saved as Name.bmp when
  // TEST_SHOTS asks for pictures (SaveShotOnRequest).
  TDib32 Shot(const char* AName, TdxBarControl* AControl = nullptr);
  // A link's rectangle inside a shot of the docked toolbar.
  RECT InShot(const String& AItemName) const;
  // A flat brush's colour as the screen shows it.
  COLORREF Flat(int AIndex) const;
  void MoveAway();
  // The floating bar shown again once the form is up (read while its form was hidden, it
  // waits for the form's activation to show); nil when its window does not show.
  TdxBarControl* ReshowFloating()
  {
    auto shown = [this] {
      TdxBarControl* c = Floating->GetControl();
      return c && c->HandleAllocated() && IsWindowVisible(c->GetHandle()) ? c : nullptr;
    };
    Floating->SetVisible(false);
    Floating->SetVisible(true);
    PumpUntil([&] { return shown() != nullptr; });
    return shown();
  }

  TSceneForm* Form = nullptr;
  TdxBarManager* Manager = nullptr;
  TdxBar* Docked = nullptr;
  TdxBar* Floating = nullptr;
  TdxBarControl* Toolbar = nullptr;
};
