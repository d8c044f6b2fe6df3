// The bar manager's own rules: owners, the look and feel per style,
// recent items, fonts, ignored values, flat brushes, the update and designer locks,
// and dock controls.
#include "BarTestUtil.h"
#include "lookandfeel/dxThemeManager.h"
#include "support/SysColors.h"
#include "platform/Scope.h"

namespace {

const TdxThemedObjectTypes XPKinds{totComboBox, totEdit,   totProgress, totRebar, totScrollBar,
                                   totSpin,     totStatus, totToolBar,  totWindow};

class TManagerFixture : public testing::Test, protected TBarHost<TBarTestForm> {};

String ExpectExceptionText(const std::function<void()>& Action)
{
  try {
    Action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return L"(no exception)";
}

LOGFONTW MenuFont()
{
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0);
  return m.lfMenuFont;
}

// Counts the notifications the form designer would get.
class TCountingManager : public TdxBarManager {
public:
  using TdxBarManager::TdxBarManager;
  int DesignerCalls = 0;

protected:
  void NotifyDesigner() override { ++DesignerCalls; }
};

// A windowed control that records WM_SETREDRAW.
class TRedrawSpy : public TWinControl {
public:
  using TWinControl::TWinControl;
  std::vector<WPARAM> Redraws;

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == WM_SETREDRAW)
      Redraws.push_back(Message.WParam);
    TWinControl::WndProc(Message);
  }
};

COLORREF BrushColor(HBRUSH Brush)
{
  LOGBRUSH lb{};
  GetObjectW(Brush, sizeof lb, &lb);
  return lb.lbColor;
}

}  // namespace

// ---------------------------------------------------------------------------
// Owners

TEST(BarManagerOwner, ANilOwnerWithoutMainFormIsRefused)
{
  ASSERT_EQ(Application->GetMainForm(), nullptr);
  int managers = dxBarManagerList()->Count();
  EXPECT_EQ(ExpectExceptionText([] { new TdxBarManager(nullptr); }),
            L"TdxBarManager should have TWinControl as its Owner");
  TComponent plain(nullptr);
  EXPECT_EQ(ExpectExceptionText([&] { new TdxBarManager(&plain); }),
            L"TdxBarManager should have TWinControl as its Owner");
  EXPECT_EQ(plain.ComponentCount(), 0);
  EXPECT_EQ(dxBarManagerList()->Count(), managers);
}

TEST_F(TManagerFixture, ASecondManagerOnTheFormIsRefusedAndTheFirstKeepsWorking)
{
  EXPECT_EQ(ExpectExceptionText([&] { new TdxBarManager(Form()); }),
            L"A control should contain only a single TdxBarManager");
  EXPECT_EQ(Form()->ComponentCount(), 1);
  EXPECT_EQ(GetBarManagerByOwner(Form()), Manager);
  EXPECT_EQ(GetBarManagerByOwner(Manager), Manager);
  EXPECT_EQ(dxBarManagerList()->IndexOf(Manager), dxBarManagerList()->Count() - 1);
  Manager->SetStyle(bmsFlat);
  EXPECT_EQ(Manager->GetCurrentPainterClass(), TdxBarFlatPainter::StaticClass());
}

TEST(BarManagerOwner, TheManagerLeavesTheListWithItsForm)
{
  int managers = dxBarManagerList()->Count();
  TBarTestForm* form = NewBarForm();
  auto* manager = new TdxBarManager(form);
  EXPECT_EQ(dxBarManagerList()->Count(), managers + 1);
  form->Free();
  EXPECT_EQ(dxBarManagerList()->Count(), managers);
  EXPECT_EQ(dxBarManagerList()->IndexOf(manager), -1);
  // A freed manager makes room for a new one on another form.
  TOwned<TBarTestForm> other(NewBarForm());
  EXPECT_NO_THROW(new TdxBarManager(other.Get()));
}

// What reached a watching form: the manager's bar visibility events, and those of them that
// came after the form's own destructor had run. Kept outside the form, which is gone by then.
struct TBarEventLog {
  int Events = 0;
  int AfterDestructor = 0;
  bool Destroyed = false;
};
TBarEventLog GBarEventLog;

class TWatchingForm : public TBarTestForm {
public:
  using TBarTestForm::TBarTestForm;
  ~TWatchingForm() override { GBarEventLog.Destroyed = true; }
  void BarVisibleChange(TObject*, TdxBar*)
  {
    ++GBarEventLog.Events;
    GBarEventLog.AfterDestructor += GBarEventLog.Destroyed;
  }
};

// No event reaches a form that is being destroyed, whether it is freed or deleted: its
// manager's shown bars go with it in silence.
TEST(BarManagerOwner, AFormFreedOrDeletedHearsNoEventOnceItsDestructionBegan)
{
  for (bool deleted : {false, true}) {
    SCOPED_TRACE(deleted ? "delete" : "Free");
    GBarEventLog = {};
    auto* form = TCustomForm::CreateNew<TWatchingForm>(nullptr);
    form->SetBounds(120, 120, 400, 260);
    auto* manager = new TdxBarManager(form);
    manager->OnBarVisibleChange = TdxBarVisibleChangeEvent(form, &TWatchingForm::BarVisibleChange);
    for (TdxBarDockingStyle side : {dsTop, dsLeft, dsBottom}) {
      TdxBar* bar = manager->GetBars()->Add();
      bar->SetDockingStyle(side);
      bar->SetVisible(true);
    }
    form->Show();
    EXPECT_EQ(GBarEventLog.Events, 3) << "each bar shown";
    if (deleted)
      delete form;
    else
      form->Free();
    EXPECT_TRUE(GBarEventLog.Destroyed);
    EXPECT_EQ(GBarEventLog.Events, 3) << "nothing while the form went";
    EXPECT_EQ(GBarEventLog.AfterDestructor, 0);
  }
}

// Hears a bar window go and notes whether the links it showed were still there then: a
// window left over from its links would reach them while it goes.
class TBarWindowWatcher : public TComponent {
public:
  using TComponent::TComponent;
  void Watch(TdxBar* ABar)
  {
    TdxBarControl* control = ABar->GetControl();
    ASSERT_TRUE(control);
    FWatched.push_back({control, ABar->GetItemLinks()});
    control->FreeNotification(this);
  }
  int Heard = 0;
  int AfterTheirLinks = 0;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override
  {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
      return;
    for (const TWatched& watched : FWatched)
      if (watched.Control.Get() == AComponent) {
        ++Heard;
        AfterTheirLinks += !watched.Links;
      }
  }

private:
  struct TWatched {
    TWeakRef<TCustomdxBarControl> Control;
    TWeakRef<TdxBarItemLinks> Links;
  };
  std::vector<TWatched> FWatched;
};

// A manager going with its form marks its bar windows destroying at once; each still goes
// with its bar, before the links it shows, and not later with the manager's other parts.
TEST(BarManagerOwner, EachBarWindowGoesBeforeTheLinksItShows)
{
  for (bool deleted : {false, true}) {
    SCOPED_TRACE(deleted ? "delete" : "Free");
    auto* form = TCustomForm::CreateNew<TBarTestForm>(nullptr);
    form->SetBounds(120, 120, 400, 260);
    auto* manager = new TdxBarManager(form);
    TBarWindowWatcher watcher(nullptr);
    for (TdxBarDockingStyle side : {dsTop, dsLeft, dsNone}) {
      TdxBar* bar = manager->GetBars()->Add();
      bar->SetDockingStyle(side);
      bar->GetItemLinks()->AddItem(new TdxBarButton(form));
      bar->SetVisible(true);
    }
    form->Show();
    for (int i = 0; i < manager->GetBars()->GetCount(); ++i)
      watcher.Watch(manager->GetBars()->GetItem(i));
    if (deleted)
      delete form;
    else
      form->Free();
    EXPECT_EQ(watcher.Heard, 3);
    EXPECT_EQ(watcher.AfterTheirLinks, 0);
  }
}

// ---------------------------------------------------------------------------
// Style and painter
// ---------------------------------------------------------------------------
// Style and painter

TEST_F(TManagerFixture, XPFallsBackToEnhancedWithoutVisualStyles)
{
  TFinally styles([]() noexcept { SetVisualStylesSuppressed(false); });
  SetVisualStylesSuppressed(true);
  Manager->SetStyle(bmsXP);
  EXPECT_FALSE(Manager->AreVisualStylesUsed());
  EXPECT_EQ(Manager->GetCurrentPainterClass(), TdxBarEnhancedPainter::StaticClass());
  EXPECT_EQ(Manager->GetRealStyle(), bmsXP);
  SetVisualStylesSuppressed(false);
  // The theme change re-applies the style.
  Manager->UpdateStyle();
  TClass expected =
      AreVisualStylesAvailable(XPKinds) ? TdxBarXPPainter::StaticClass() : TdxBarEnhancedPainter::StaticClass();
  EXPECT_EQ(Manager->GetCurrentPainterClass(), expected);
}

TEST_F(TManagerFixture, UseLookAndFeelFollowsTheKind)
{
  Manager->SetStyle(bmsUseLookAndFeel);
  TcxLookAndFeel* lf = Manager->GetLookAndFeel();
  lf->SetKind(lfUltraFlat);
  EXPECT_EQ(Manager->GetCurrentPainterClass(), TdxBarFlatPainter::StaticClass());
  EXPECT_EQ(Manager->GetRealStyle(), bmsFlat);
  lf->SetKind(lfFlat);
  EXPECT_EQ(Manager->GetCurrentPainterClass(), TdxBarEnhancedPainter::StaticClass());
  EXPECT_EQ(Manager->GetRealStyle(), bmsEnhanced);
  lf->SetKind(lfStandard);
  EXPECT_EQ(Manager->GetCurrentPainterClass(), TdxBarStandardPainter::StaticClass());
  EXPECT_FALSE(Manager->IsRealStyleNotStandard());
  EXPECT_FALSE(Manager->GetShowRecentItemsFirst());
  lf->SetKind(lfOffice11);
  EXPECT_EQ(Manager->GetCurrentPainterClass(), TdxBarOffice11Painter::StaticClass());
  lf->SetNativeStyle(true);
  bool themed = AreVisualStylesAvailable(XPKinds);
  EXPECT_EQ(Manager->GetCurrentPainterClass(),
            themed ? TdxBarXPPainter::StaticClass() : TdxBarOffice11Painter::StaticClass());
  EXPECT_EQ(Manager->GetRealStyle(), themed ? bmsXP : bmsOffice11);
  TFinally styles([]() noexcept { SetVisualStylesSuppressed(false); });
  SetVisualStylesSuppressed(true);
  Manager->UpdateStyle();
  EXPECT_EQ(Manager->GetCurrentPainterClass(), TdxBarOffice11Painter::StaticClass());
  SetVisualStylesSuppressed(false);
}

TEST_F(TManagerFixture, BarStyleGivesTheLookAndFeelKind)
{
  const std::pair<TdxBarManagerStyle, TcxLookAndFeelKind> table[] = {
      {bmsStandard, lfFlat}, {bmsEnhanced, lfStandard}, {bmsFlat, lfUltraFlat}, {bmsOffice11, lfOffice11}};
  for (auto [style, kind] : table) {
    SetLookAndFeelFromBarStyle(Manager->GetLookAndFeel(), style);
    EXPECT_FALSE(Manager->GetLookAndFeel()->GetNativeStyle());
    EXPECT_EQ(Manager->GetLookAndFeel()->GetKind(), kind) << int(style);
  }
}

TEST_F(TManagerFixture, SetupLookAndFeelMatchesThePainterStyle)
{
  TcxLookAndFeel other;
  other.SetSkinName(L"Something");
  other.SetKind(lfOffice11);
  Manager->SetStyle(bmsFlat);
  Manager->SetupLookAndFeel(&other);
  EXPECT_EQ(other.GetKind(), lfUltraFlat);
  EXPECT_EQ(other.GetSkinName(), L"");
  EXPECT_FALSE(other.GetNativeStyle());
  Manager->SetStyle(bmsStandard);
  Manager->SetupLookAndFeel(&other);
  EXPECT_EQ(other.GetKind(), lfFlat);
  Manager->SetStyle(bmsOffice11);
  Manager->SetupLookAndFeel(&other);
  EXPECT_EQ(other.GetKind(), lfOffice11);
  // The earlier values were reset: the native style is not assigned any more.
  EXPECT_TRUE(other.GetAssignedValues().Contains(lfvKind));
  EXPECT_FALSE(other.GetAssignedValues().Contains(lfvNativeStyle));
}

// ---------------------------------------------------------------------------
// Values

TEST_F(TManagerFixture, RecentItemsPercentsAreClampedAndGiveTheCount)
{
  const struct {
    int Percents, Stored, Count;
  } cases[] = {{200, 100, 0}, {100, 100, 0}, {95, 95, 20}, {99, 99, 100}, {50, 50, 2}, {0, 0, 1}, {90, 90, 10}};
  for (const auto& c : cases) {
    Manager->SetMostRecentItemsPercents(uint8_t(c.Percents));
    EXPECT_EQ(Manager->GetMostRecentItemsPercents(), c.Stored) << c.Percents;
    EXPECT_EQ(Manager->GetRecentItemsCount(), c.Count) << c.Percents;
  }
}

TEST_F(TManagerFixture, InvalidValuesAreIgnored)
{
  Manager->SetButtonArrowWidth(1);
  EXPECT_EQ(Manager->GetButtonArrowWidth(), 11);
  Manager->SetButtonArrowWidth(2);
  EXPECT_EQ(Manager->GetButtonArrowWidth(), 2);
  Manager->SetLargeButtonArrowWidth(-3);
  EXPECT_EQ(Manager->GetLargeButtonArrowWidth(), 13);
  Manager->SetWaitForDockingTime(-5);
  EXPECT_EQ(Manager->GetWaitForDockingTime(), 21);
  Manager->SetWaitForDockingTime(0);
  EXPECT_EQ(Manager->GetWaitForDockingTime(), 0);
}

TEST_F(TManagerFixture, RegistryPathIsNormalised)
{
  Manager->SetRegistryPath(L"Software\\Test");
  EXPECT_EQ(Manager->GetRegistryPath(), L"\\Software\\Test\\");
  Manager->SetRegistryPath(L"\\A\\");
  EXPECT_EQ(Manager->GetRegistryPath(), L"\\A\\");
  Manager->SetRegistryPath(L"");
  EXPECT_EQ(Manager->GetRegistryPath(), L"");
}

TEST_F(TManagerFixture, DockColorFollowsTheOwnerUntilSet)
{
  Form()->SetColor(clYellow);
  EXPECT_EQ(Manager->GetDockColor(), clYellow);
  EXPECT_FALSE(Manager->IsDockColorStored());
  Manager->SetDockColor(clRed);
  EXPECT_FALSE(Manager->GetAutoDockColor());
  EXPECT_EQ(Manager->GetDockColor(), clRed);
  EXPECT_TRUE(Manager->IsDockColorStored());
  Manager->SetAutoDockColor(true);
  EXPECT_EQ(Manager->GetDockColor(), clYellow);
}

TEST_F(TManagerFixture, CanDockingHonoursNotDockingAndTheEvent)
{
  Manager->SetNotDocking(TdxBarDockingStyles{dsLeft});
  EXPECT_FALSE(Manager->CanDocking(nullptr, dsLeft, nullptr));
  EXPECT_TRUE(Manager->CanDocking(nullptr, dsTop, nullptr));
  Manager->OnDocking = TdxBarCanDockingEvent([](TdxBar*, TdxBarDockingStyle Style, TWinControl*, bool& Can) {
    if (Style == dsTop)
      Can = false;
  });
  EXPECT_FALSE(Manager->CanDocking(nullptr, dsTop, nullptr));
  EXPECT_TRUE(Manager->CanDocking(nullptr, dsBottom, nullptr));
}

// ---------------------------------------------------------------------------
// Fonts

TEST_F(TManagerFixture, UseSystemFontGivesTheMenuFontAndAHandChangeEndsIt)
{
  LOGFONTW menu = MenuFont();
  EXPECT_EQ(Manager->GetFont()->GetName(), String(menu.lfFaceName));
  EXPECT_EQ(Manager->GetFont()->GetHeight(), menu.lfHeight);

  int fired = 0;
  Manager->FontChangedHandlers().Add(TNotifyEvent([&](TObject*) { ++fired; }));
  Manager->GetFont()->SetName(L"Courier New");
  EXPECT_FALSE(Manager->GetUseSystemFont());
  EXPECT_EQ(Manager->GetFont()->GetName(), L"Courier New");
  // Scaled keeps the height of the system's menu font.
  EXPECT_EQ(Manager->GetFont()->GetHeight(), menu.lfHeight);
  EXPECT_GE(fired, 1);

  Manager->SetScaled(false);
  Manager->GetFont()->SetHeight(-30);
  EXPECT_EQ(Manager->GetFont()->GetHeight(), -30);
  // The second font is an exact copy while not scaled.
  EXPECT_EQ(Manager->GetSecondFont()->GetHeight(), -30);
  EXPECT_EQ(Manager->GetSecondFont()->GetName(), L"Courier New");

  Manager->SetUseSystemFont(true);
  EXPECT_EQ(Manager->GetFont()->GetName(), String(menu.lfFaceName));
  EXPECT_EQ(Manager->GetFont()->GetHeight(), menu.lfHeight);
}

TEST_F(TManagerFixture, ScaledGivesAHandSetFontTheMenuHeight)
{
  Manager->SetScaled(false);
  Manager->GetFont()->SetHeight(-25);
  ASSERT_FALSE(Manager->GetUseSystemFont());
  Manager->SetScaled(true);
  EXPECT_EQ(Manager->GetFont()->GetHeight(), MenuFont().lfHeight);
}

TEST_F(TManagerFixture, DerivedFontsKeepAtLeastElevenPixels)
{
  LOGFONTW icon{};
  SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0);
  int expected = icon.lfHeight > -11 ? -11 : icon.lfHeight;
  EXPECT_EQ(Manager->GetSecondFont()->GetHeight(), expected);
  EXPECT_LE(Manager->GetSecondFont()->GetHeight(), -11);
  Manager->GetFont()->SetName(L"Arial");
  EXPECT_LE(Manager->GetSmallCaptionFont()->GetHeight(), -11);
  EXPECT_EQ(Manager->GetSmallCaptionFont()->GetName(), L"Arial");
}

// ---------------------------------------------------------------------------
// Flat brushes

TEST_F(TManagerFixture, FlatBrushColoursComeFromTheSystemColours)
{
  TSysColorsScope colors({{COLOR_BTNSHADOW, RGB(100, 60, 20)},
                          {COLOR_BTNFACE, RGB(200, 100, 50)},
                          {COLOR_HIGHLIGHT, RGB(255, 0, 10)},
                          {COLOR_WINDOW, RGB(250, 250, 250)}});
  Manager->SysColorChanged();
  const COLORREF expected[5] = {
      RGB(80, 48, 16),     // the shadow darkened to 80 %
      RGB(209, 125, 83),   // the face lightened by 16 % of what it lacks to white
      RGB(227, 193, 188),  // 11 % face, 9 % highlight, 73 % window
      RGB(240, 114, 111),  // 14, 44, 40
      RGB(252, 178, 182),  // -2, 30, 72
  };
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(COLORREF(Manager->GetFlatBrushColor(i)), expected[i - 1]) << i;
    ASSERT_NE(Manager->GetFlatBrush(i), nullptr);
    EXPECT_EQ(BrushColor(Manager->GetFlatBrush(i)), expected[i - 1]) << i;
  }
  EXPECT_EQ(COLORREF(Manager->GetFlatSelectedColor()), expected[4]);
  EXPECT_EQ(Manager->GetFlatBrush(0), nullptr);
  EXPECT_EQ(Manager->GetFlatBrush(6), nullptr);
  EXPECT_EQ(Manager->GetThemedToolBarBrush() != nullptr, AreVisualStylesAvailable(totToolBar));
  colors.Set(COLOR_BTNFACE, RGB(100, 100, 100));
  Manager->SysColorChanged();
  EXPECT_EQ(COLORREF(Manager->GetFlatBrushColor(2)), RGB(125, 125, 125)) << "a colour change rebuilds the brushes";
}

TEST(BarManagerResources, BrushesAreFreedWithTheManager)
{
  TOwned<TBarTestForm> form(NewBarForm());
  int before = GdiObjectsInUse();
  auto* manager = new TdxBarManager(form.Get());
  EXPECT_GE(GdiObjectsInUse(), before + 5);
  manager->Free();
  EXPECT_EQ(GdiObjectsInUse(), before);
}

// ---------------------------------------------------------------------------
// Update lock, dock controls and designer notification

TEST_F(TManagerFixture, NestedUpdatesSendOneRedrawOffAndOneOn)
{
  // The manager's own dock sites are registered already.
  const int own = Manager->GetDockControlCount();
  auto* dock = new TRedrawSpy(Form());
  dock->SetParent(Form());
  Manager->AddDockControl(dock);
  Manager->AddDockControl(dock);
  EXPECT_EQ(Manager->GetDockControlCount(), own + 1);
  dock->GetHandle();
  Manager->BeginUpdate();
  Manager->BeginUpdate();
  EXPECT_TRUE(Manager->IsUpdateLocked());
  Manager->EndUpdate();
  Manager->EndUpdate();
  EXPECT_FALSE(Manager->IsUpdateLocked());
  EXPECT_EQ(dock->Redraws, (std::vector<WPARAM>{FALSE, TRUE}));
  // An unmatched EndUpdate is harmless.
  Manager->EndUpdate();
  EXPECT_FALSE(Manager->IsUpdateLocked());
}

TEST_F(TManagerFixture, DockControlsLeaveTheRegisterWhenFreedOrRemoved)
{
  const int own = Manager->GetDockControlCount();
  auto* a = new TRedrawSpy(Form());
  auto* b = new TRedrawSpy(Form());
  a->SetParentColor(false);
  Manager->AddDockControl(a);
  Manager->AddDockControl(b);
  Manager->SetDockControlOfSide(dsTop, a);
  Manager->SetDockColor(clLime);
  EXPECT_EQ(a->GetColor(), clLime);
  Manager->RemoveDockControl(a);
  EXPECT_EQ(Manager->GetDockControlCount(), own + 1);
  EXPECT_TRUE(a->GetParentColor());
  EXPECT_EQ(Manager->GetDockControlOfSide(dsTop), nullptr);
  b->Free();
  EXPECT_EQ(Manager->GetDockControlCount(), own);
}

TEST(BarManagerDesigner, NotificationsAreLockedAndRemembered)
{
  TOwned<TBarTestForm> form(NewBarForm());
  auto* manager = new TCountingManager(form.Get());
  manager->DesignerModified();
  EXPECT_EQ(manager->DesignerCalls, 0);  // not at design time
  manager->SetDesigning(true);
  manager->DesignerModified();
  EXPECT_EQ(manager->DesignerCalls, 1);
  manager->LockDesignerModified(true);
  manager->LockDesignerModified(true);
  manager->SetMenuAnimations(maFade);
  manager->SetShowHint(false);
  EXPECT_EQ(manager->DesignerCalls, 1);
  manager->LockDesignerModified(false);
  EXPECT_EQ(manager->DesignerCalls, 1);
  manager->LockDesignerModified(false);
  EXPECT_EQ(manager->DesignerCalls, 2);  // one for everything remembered
  manager->LockDesignerModified(false);  // never below zero
  EXPECT_EQ(manager->GetDesignerModifiedLockCount(), 0);
  // Unlocking without Notify drops the remembered change.
  manager->LockDesignerModified(true);
  manager->SetShowHint(true);
  manager->LockDesignerModified(false, false);
  EXPECT_EQ(manager->DesignerCalls, 2);
  // Nothing reaches the designer while updating.
  manager->BeginUpdate();
  manager->SetShowShortCutInHint(true);
  manager->EndUpdate();
  EXPECT_EQ(manager->DesignerCalls, 2);
  // An equal value is no change.
  manager->SetMenuAnimations(maFade);
  EXPECT_EQ(manager->DesignerCalls, 2);
}

TEST_F(TManagerFixture, UniqueItemNamesSkipTakenOnesCaseInsensitively)
{
  auto* taken = new TComponent(Form());
  taken->SetName(L"DXBARMANAGER1");
  EXPECT_EQ(Manager->GetUniqueItemName(TdxBarManager::StaticClass()), L"dxBarManager2");
  EXPECT_EQ(dxBarMakeUniqueName(L"Bar", [](const String& n) { return n == L"Bar1" || n == L"Bar2"; }), L"Bar3");
}

TEST_F(TManagerFixture, ClickItemFiresTheEventWithTheManager)
{
  TObject* sender = nullptr;
  Manager->OnClickItem = TdxBarClickItemEvent([&](TObject* Sender, TdxBarItem*) { sender = Sender; });
  Manager->DoClickItem(nullptr);
  EXPECT_EQ(sender, Manager);
}
