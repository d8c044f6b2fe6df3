// Shared pieces of the date tests: the test form, a scope guard for the thread locale, and
// a shown form with a toolbar holding a date combo, with the screen places a user clicks.
#pragma once

#include <gtest/gtest.h>

#include "barextras/datecombo.h"
#include "barextras/datenavigator.h"
#include "bars/model/bar.h"
#include "bars/barwindows/toolbar.h"
#include "platform/StdCtrls.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pump.h"

class TDateComboForm : public TForm {
  DECLARE_CLASS(TDateComboForm, TForm)
public:
  explicit TDateComboForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Switches the thread locale, which the date texts are written and read by, for a scope.
class TThreadLocale {
public:
  explicit TThreadLocale(LCID ALocale) : FSaved(::GetThreadLocale()) { ::SetThreadLocale(ALocale); }
  ~TThreadLocale() { ::SetThreadLocale(FSaved); }
  TThreadLocale(const TThreadLocale&) = delete;
  TThreadLocale& operator=(const TThreadLocale&) = delete;

private:
  LCID FSaved;
};

inline const LCID German = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
inline const LCID English = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

// A shown form whose toolbar holds a date combo (160 pixels wide) at the top, and an edit
// on the form that has the focus.
class TDateComboFixture : public testing::Test {
protected:
  void SetUp() override;

  TdxBarDateComboControl* Control() const { return ControlOf<TdxBarDateComboControl>(Bar->GetItemLinks(), Combo); }
  TdxBarDateNavigator* Navigator() const { return Combo->GetNavigator(); }
  bool NavigatorShown() const;
  // Screen points: the text part's centre, the drop-down button's centre, and a point of
  // the navigator's client area.
  POINT TextCenter() const { return ScreenCentreOf(Control(), Control()->GetPartRects().at(dxBarEditPartText)); }
  POINT ButtonCenter() const { return ScreenCentreOf(Control(), Control()->GetDropDownRect()); }
  POINT NavigatorPoint(const TRect& AClientRect) const { return ScreenCentreOf(Navigator(), AClientRect); }
  // Clicks the text part and waits until the editor has the focus.
  bool StartEditing();
  // Clicks the drop-down button and waits until the navigator shows.
  bool OpenNavigator();
  // The editor's text while editing.
  String EditorText() const;

  TThreadLocale Locale{English};
  TBarHost<TDateComboForm> Host;
  TdxBarManager* Manager = nullptr;
  TEdit* FormEdit = nullptr;
  TdxBarDateCombo* Combo = nullptr;
  TdxBar* Bar = nullptr;
};
