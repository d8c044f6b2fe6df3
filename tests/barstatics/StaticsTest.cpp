// Static and progress items: their value rules, the sizes borders, indents and fixed sizes
// give, the gauge's place and drawing, the repaint a new position asks for, and clicks
// with the real pointer on toolbars and in menus.
#include "StaticsTestUtil.h"

#include "bars/model/manager.h"
#include "support/FormRoundTrip.h"

namespace {

class TStatics : public TStaticsFixture {
protected:
  template <class T>
  T* Add(const wchar_t* ACaption, TdxBarItemLinks* ALinks = nullptr)
  {
    auto* item = new T(Host.Form());
    item->SetCaption(ACaption);
    (ALinks ? ALinks : Bar->GetItemLinks())->AddItem(item);
    PumpPending();
    return item;
  }
  // The control's size as its bar lays it out.
  template <class T>
  TSize SizeOf(TdxBarItem* AItem)
  {
    PumpPending();
    auto* control = OnBar<TdxBarStaticControl>(AItem);
    if (!control)
      return TSize{-1, -1};
    return TSize{control->CalcWidth(), control->CalcHeight()};
  }
  TRect Gauge(TdxBarProgressItem* AItem)
  {
    PumpPending();
    auto* control = OnBar<TdxBarProgressControl>(AItem);
    return control ? control->GetProgressBarBounds() : TRect{};
  }
};

}  // namespace

TEST_F(TStatics, SizesFollowTheBorderAndIndentsUnlessFixed)
{
  auto* item = Add<TdxBarStatic>(L"Ready");
  const TSize plain = SizeOf<TdxBarStatic>(item);
  ASSERT_GT(plain.cx, 0);
  item->SetBorderStyle(sbsEtched);
  TSize etched = SizeOf<TdxBarStatic>(item);
  EXPECT_EQ(etched.cx, plain.cx + 4);
  EXPECT_EQ(etched.cy, plain.cy + 4);
  item->SetLeftIndent(-5);
  EXPECT_EQ(item->GetLeftIndent(), 0);
  item->SetLeftIndent(6);
  item->SetRightIndent(3);
  EXPECT_EQ(SizeOf<TdxBarStatic>(item).cx, plain.cx + 4 + 9);

  item->SetWidth(80);
  item->SetHeight(20);
  EXPECT_EQ(SizeOf<TdxBarStatic>(item).cx, 80);
  EXPECT_EQ(SizeOf<TdxBarStatic>(item).cy, 20);
  // A fixed size only repaints: the same control stays, with the same size.
  TdxBarItemControl* before = OnBar<TdxBarStaticControl>(item);
  item->SetBorderStyle(sbsBump);
  PumpPending();
  EXPECT_EQ(OnBar<TdxBarStaticControl>(item), before);
  EXPECT_EQ(SizeOf<TdxBarStatic>(item).cx, 80);
  EXPECT_EQ(SizeOf<TdxBarStatic>(item).cy, 20);
  item->SetWidth(-1);
  EXPECT_EQ(item->GetWidth(), 0);
  item->SetHeight(-7);
  EXPECT_EQ(item->GetHeight(), 0);
}

TEST_F(TStatics, ProgressValuesStayInRange)
{
  auto* item = Add<TdxBarProgressItem>(L"Load");
  EXPECT_EQ(item->GetBorderStyle(), sbsLowered);
  item->SetPosition(150);
  EXPECT_EQ(item->GetPosition(), 100);
  item->SetPosition(-4);
  EXPECT_EQ(item->GetPosition(), 0);
  item->SetPosition(80);
  item->SetMax(50);
  EXPECT_EQ(item->GetPosition(), 0) << "a range change moves an outside position to Min";
  item->SetMin(120);
  EXPECT_EQ(item->GetMax(), 120);
  EXPECT_EQ(item->GetPosition(), 120);
  item->SetMax(30);
  EXPECT_EQ(item->GetMin(), 30);
  EXPECT_EQ(item->GetPosition(), 30);
  item->SetMax(60);
  item->SetPosition(45);
  item->SetMax(70);
  EXPECT_EQ(item->GetPosition(), 45) << "a position inside the new range stays";
}

TEST_F(TStatics, ProgressFromFormDataIsBroughtIntoRange)
{
  const String text =
      L"object StaticsForm: TStaticsTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    object Gauge: TdxBarProgressItem\n"
      L"      Category = 0\n"
      L"      Max = 10\n"
      L"      Min = 50\n"
      L"      Position = 99\n"
      L"      Step = 5\n"
      L"    end\n"
      L"  end\n"
      L"end\n";
  String written = ExpectFormRoundTrip<TStaticsTestForm>(text, [](TComponent* form) {
    auto* gauge = Find<TdxBarProgressItem>(form, L"Gauge");
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->GetMin(), 50);
    EXPECT_EQ(gauge->GetMax(), 50);
    EXPECT_EQ(gauge->GetPosition(), 50);
    EXPECT_EQ(gauge->GetStep(), 5);
    EXPECT_EQ(gauge->GetBorderStyle(), sbsLowered);
  });
  EXPECT_EQ(written.find(L"BorderStyle"), String::npos) << "the progress item's own default is not written";
}

TEST_F(TStatics, GaugeSitsAtTheFarEndCentredAcross)
{
  auto* label = Add<TdxBarStatic>(L"Loading");
  label->SetBorderStyle(sbsLowered);
  auto* gauge = Add<TdxBarProgressItem>(L"Loading");
  EXPECT_EQ(SizeOf<TdxBarProgressItem>(gauge).cx, SizeOf<TdxBarStatic>(label).cx + 152);
  gauge->SetShowCaption(false);
  EXPECT_EQ(SizeOf<TdxBarProgressItem>(gauge).cx, 1 + 154 + 1) << "no caption, no glyph: the gauge and the border";
  gauge->SetShowCaption(true);
  gauge->SetRightIndent(5);

  auto* control = OnBar<TdxBarProgressControl>(gauge);
  ASSERT_NE(control, nullptr);
  const TRect item = control->GetItemRect();
  const TRect r = Gauge(gauge);
  EXPECT_EQ(r.right, item.right - (5 + 1 + 2));
  EXPECT_EQ(r.right - r.left, 150);
  const int room = (item.bottom - item.top) - 2;
  EXPECT_EQ((r.bottom - r.top) % 2, room % 2) << "thickness keeps the room's parity";
  EXPECT_EQ(r.top - item.top, item.bottom - r.bottom) << "centred exactly";
  EXPECT_GE(r.bottom - r.top, room * 2 / 3);

  // A fixed width gives the gauge what the caption, indents and border leave.
  gauge->SetWidth(260);
  const TRect fixed = Gauge(gauge);
  control = OnBar<TdxBarProgressControl>(gauge);
  const TRect fixedItem = control->GetItemRect();
  EXPECT_EQ(fixedItem.right - fixedItem.left, 260);
  EXPECT_EQ(fixed.right, fixedItem.right - 8);
  EXPECT_LT(fixed.right - fixed.left, 260 - 8);
  EXPECT_GE(fixed.left, fixedItem.left + control->GetContentWidth()) << "the gauge leaves the caption alone";
  gauge->SetWidth(12);
  EXPECT_TRUE(IsRectEmpty(Gauge(gauge))) << "no room: no gauge, and nothing drawn over the border";
}

TEST_F(TStatics, GaugeDrawsItsPositionInItsColour)
{
  auto* gauge = Add<TdxBarProgressItem>(L"Copy");
  gauge->SetSmooth(true);
  gauge->SetColor(clRed);
  gauge->SetPosition(50);
  auto* control = OnBar<TdxBarProgressControl>(gauge);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(WaitPainted(control->GetParent()));
  const TRect r = Gauge(gauge);
  ASSERT_FALSE(IsRectEmpty(r));
  RECT screen = ScreenRectOf(control, r);
  TDib32 shot = CaptureScreen(screen);
  SaveShotOnRequest(shot, "progress-red-half");
  const int y = shot.Height() / 2;
  EXPECT_TRUE(ColorNear(shot.Pixel(shot.Width() / 4, y), RGB(255, 0, 0)));
  EXPECT_FALSE(ColorsClose(shot.Pixel(shot.Width() * 3 / 4, y), RGB(255, 0, 0))) << "past the position: empty";

  gauge->SetColor(clDefault);
  gauge->SetPosition(100);
  ASSERT_TRUE(WaitPainted(control->GetParent()));
  shot = CaptureScreen(screen);
  EXPECT_TRUE(ColorNear(shot.Pixel(shot.Width() - 3, y), ::GetSysColor(COLOR_HIGHLIGHT)));

  // Blocks: gaps of the background between runs of the colour.
  gauge->SetSmooth(false);
  ASSERT_TRUE(WaitPainted(control->GetParent()));
  shot = CaptureScreen(screen);
  int runs = 0;
  bool inRun = false;
  for (int x = 0; x < shot.Width(); ++x) {
    bool filled = ColorsClose(shot.Pixel(x, y), ::GetSysColor(COLOR_HIGHLIGHT));
    runs += filled && !inRun;
    inRun = filled;
  }
  EXPECT_GT(runs, 5);
}

TEST_F(TStatics, NewPositionRepaintsOnlyTheGauge)
{
  auto* gauge = Add<TdxBarProgressItem>(L"Copy");
  auto* control = OnBar<TdxBarProgressControl>(gauge);
  ASSERT_NE(control, nullptr);
  HWND wnd = control->GetParent()->GetHandle();
  ASSERT_TRUE(WaitPainted(control->GetParent()));
  ASSERT_FALSE(::GetUpdateRect(wnd, nullptr, FALSE));
  gauge->SetPosition(40);
  RECT update{};
  ASSERT_TRUE(::GetUpdateRect(wnd, &update, FALSE));
  const TRect r = control->GetProgressBarBounds();
  EXPECT_EQ(update.left, r.left);
  EXPECT_EQ(update.right, r.right);
  EXPECT_EQ(update.top, r.top);
  EXPECT_EQ(update.bottom, r.bottom);
  gauge->SetPosition(40);
  ::ValidateRect(wnd, nullptr);
  gauge->SetPosition(40);
  EXPECT_FALSE(::GetUpdateRect(wnd, nullptr, FALSE)) << "the same position asks for nothing";
}

TEST_F(TStatics, OnlyClickableStaticsTakeTheClickAndCloseTheMenu)
{
  int clicks = 0;
  auto* note = Add<TdxBarStatic>(L"Note", SubItem->GetItemLinks());
  note->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  auto* link = Add<TdxBarStatic>(L"Link", SubItem->GetItemLinks());
  link->SetAllowClick(true);
  link->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));

  TCustomdxBarControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  auto* noteControl = InMenu<TdxBarStaticControl>(note);
  ASSERT_NE(noteControl, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(noteControl)));
  PumpFor(100);
  EXPECT_EQ(clicks, 0);
  ASSERT_NE(Menu(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(Menu()->GetHandle())) << "a plain static leaves the menu open";

  auto* linkControl = InMenu<TdxBarStaticControl>(link);
  ASSERT_NE(linkControl, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(linkControl)));
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
  EXPECT_TRUE(PumpUntil([&] { return !Menu() || !::IsWindowVisible(Menu()->GetHandle()); }));

  // On the toolbar too.
  Bar->GetItemLinks()->AddItem(link);
  Bar->GetItemLinks()->AddItem(note);
  PumpPending();
  ASSERT_TRUE(ClickAt(ScreenCentreOf(OnBar<TdxBarStaticControl>(note))));
  PumpFor(50);
  EXPECT_EQ(clicks, 1);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(OnBar<TdxBarStaticControl>(link))));
  EXPECT_TRUE(PumpUntil([&] { return clicks == 2; }));
}

TEST_F(TStatics, EveryLookDrawsBordersAndTheGauge)
{
  struct TLook {
    TdxBarManagerStyle Style;
    const char* Name;
  };
  const TLook looks[] = {{bmsStandard, "standard"},
                         {bmsEnhanced, "enhanced"},
                         {bmsFlat, "flat"},
                         {bmsXP, "xp"},
                         {bmsOffice11, "office11"}};
  const TdxBarStaticBorderStyle borders[] = {sbsNone, sbsLowered, sbsRaised, sbsEtched, sbsBump};
  for (TdxBarStaticBorderStyle border : borders) {
    auto* item = Add<TdxBarStatic>(L"Text");
    item->SetBorderStyle(border);
  }
  auto* gauge = Add<TdxBarProgressItem>(L"Gauge");
  gauge->SetPosition(60);
  gauge->SetColor(clGreen);
  gauge->SetSmooth(true);
  // The combos of the same unit, for the looks' pictures.
  auto* colours = Add<TdxBarColorCombo>(L"Colour");
  colours->SetShowCustomColorButton(true);
  colours->SetColor(clRed);
  colours->SetWidth(90);
  auto* fonts = Add<TdxBarFontNameCombo>(L"Font");
  fonts->SetWidth(90);
  fonts->SetItemIndex(0);
  Host.Form()->SetBounds(100, 100, 900, 420);
  for (const TLook& look : looks) {
    SCOPED_TRACE(look.Name);
    Manager->SetStyle(look.Style);
    PumpPending();
    auto* control = OnBar<TdxBarProgressControl>(gauge);
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(WaitPainted(control->GetParent()));
    // The bar's client area as the screen shows it, probed in client coordinates.
    HWND wnd = control->GetParent()->GetHandle();
    RECT client{};
    ::GetClientRect(wnd, &client);
    ::MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    TDib32 shot = CaptureScreen(client);
    SaveShotOnRequest(shot, (std::string("statics-") + look.Name).c_str());
    const TRect g = control->GetProgressBarBounds();
    POINT filled{g.left + (g.right - g.left) / 4, (g.top + g.bottom) / 2};
    POINT empty{g.right - 4, filled.y};
    if (look.Style != bmsXP) {
      EXPECT_TRUE(ColorNear(shot.Pixel(filled.x, filled.y), RGB(0, 128, 0)));
    }
    EXPECT_FALSE(ColorsClose(shot.Pixel(filled.x, filled.y), shot.Pixel(empty.x, empty.y)));
    auto* colourControl = OnBar<TdxBarColorComboControl>(colours);
    ASSERT_NE(colourControl, nullptr);
    const TRect sample = colourControl->GetSampleRect();
    EXPECT_TRUE(
        ColorNear(shot.Pixel((sample.left + sample.right) / 2, (sample.top + sample.bottom) / 2), RGB(255, 0, 0)))
        << "the colour combo's sample";
  }
}

TEST_F(TStatics, AMenuShowsTheGaugeAndItsCaption)
{
  auto* gauge = Add<TdxBarProgressItem>(L"Saving", SubItem->GetItemLinks());
  gauge->SetColor(clRed);
  gauge->SetSmooth(true);
  gauge->SetPosition(100);
  Add<TdxBarStatic>(L"Ready", SubItem->GetItemLinks())->SetBorderStyle(sbsLowered);
  TCustomdxBarControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  auto* control = InMenu<TdxBarProgressControl>(gauge);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(WaitPainted(menu));
  RECT client{};
  ::GetClientRect(menu->GetHandle(), &client);
  ::MapWindowPoints(menu->GetHandle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  TDib32 shot = CaptureScreen(client);
  SaveShotOnRequest(shot, "statics-menu");
  const TRect r = control->GetProgressBarBounds();
  ASSERT_EQ(r.right - r.left, 150);
  EXPECT_TRUE(ColorNear(shot.Pixel(r.left + 5, (r.top + r.bottom) / 2), RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(shot.Pixel(r.right - 2, (r.top + r.bottom) / 2), RGB(255, 0, 0)));
  // The caption before the gauge has ink.
  const TRect item = control->GetItemRect();
  EXPECT_GT(CountPixels(shot, RECT{item.left + 2, item.top + 2, r.left - 1, item.bottom - 2},
                        [&](COLORREF c) { return !ColorsClose(c, shot.Pixel(item.left + 1, item.top + 1), 40); }),
            5);
}
