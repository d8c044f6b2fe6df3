// The bar window hands the user's input to its item controls: a press on a drop-down
// button's arrow opens its menu, a press on its face clicks it, the selected control's own
// keys open the drop-down; freeing an item inside the manager's update rebuilds its toolbar
// once, at the update's end; the floating toolbar's caption, border and close button.
#include "SceneTestUtil.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

// A menu window stand-in: only its existence says the drop-down is open.
class TSceneMenuWindow : public TCustomdxBarControl {
  DECLARE_CLASS(TSceneMenuWindow, TCustomdxBarControl)
public:
  explicit TSceneMenuWindow(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}
  TdxBarControlKind GetKind() const override { return bckSubMenu; }
};
IMPLEMENT_CLASS(TSceneMenuWindow, TCustomdxBarControl)

// A drop-down menu that records how it was opened.
class TSceneDropDown : public TComponent, public IdxBarDropDownMenu {
  DECLARE_CLASS(TSceneDropDown, TComponent)
public:
  explicit TSceneDropDown(TComponent* AOwner) : TComponent(AOwner) {}
  ~TSceneDropDown() override { CloseDropDownMenu(); }
  TdxBarItemLinks* GetDropDownItemLinks() const override { return nullptr; }
  TCustomdxBarControl* DropDownMenu(TdxBarItemControl* AOwnerControl, const TPoint& P, const TRect& AExcludeRect,
                                    TCustomdxBarControl* AParentBar) override
  {
    ++Opens;
    LastParent = AParentBar;
    LastPoint = P;
    FWindow = new TSceneMenuWindow(AOwnerControl->GetBarManager());
    return FWindow.Get();
  }
  void CloseDropDownMenu() override
  {
    if (TSceneMenuWindow* w = FWindow.Get()) {
      ++Closes;
      FWindow = nullptr;
      w->Free();
    }
  }
  TCustomdxBarControl* GetDropDownWindow() const override { return FWindow.Get(); }

  int Opens = 0;
  int Closes = 0;
  TCustomdxBarControl* LastParent = nullptr;
  TPoint LastPoint{};

private:
  TWeakRef<TSceneMenuWindow> FWindow;
};
IMPLEMENT_CLASS(TSceneDropDown, TComponent)

class TWiring : public TSceneFixture {
protected:
  void SetUp() override
  {
    TSceneFixture::SetUp();
    if (HasFatalFailure())
      return;
    Menu = new TSceneDropDown(Form);
    MenuButton = dynamic_cast<TdxBarButton*>(LinkOf(L"btnMenu")->GetItem());
    ASSERT_NE(MenuButton, nullptr);
    MenuButton->SetDropDownMenu(Menu);
    MenuButton->SetOnClick(TNotifyEvent([this](TObject*) { ++Clicks; }));
    PumpPending();
  }
  TdxBarButtonControl* MenuControl() const { return dynamic_cast<TdxBarButtonControl*>(ControlOf(LinkOf(L"btnMenu"))); }
  // A part of the drop-down button in screen coordinates: 0 the face, 1 the arrow.
  POINT PartCenter(int APart) const
  {
    TdxBarButtonControl* control = MenuControl();
    control->CalcParts();
    return ScreenCentreOf(control, control->GetPartRects().at(size_t(APart)));
  }
  // The toolbar through the bar window base, whose activation is public.
  TCustomdxBarControl* Window() const { return Toolbar; }
  void Key(WORD AKey) { SendMessageW(Toolbar->GetHandle(), WM_KEYDOWN, AKey, 1); }

  TSceneDropDown* Menu = nullptr;
  TdxBarButton* MenuButton = nullptr;
  int Clicks = 0;
};

}  // namespace

TEST_F(TWiring, PressOnTheArrowOpensTheDropDownAndItsReleaseIsNoClick)
{
  ASSERT_NE(MenuControl(), nullptr);
  ASSERT_EQ(MenuControl()->GetPartRects().size(), 2u);
  ASSERT_TRUE(MoveMouseTo(PartCenter(1)));
  ASSERT_TRUE(MouseButtonDown());
  PumpUntil([&] { return Menu->Opens > 0; });
  EXPECT_EQ(Menu->Opens, 1);
  EXPECT_EQ(Menu->LastParent, Toolbar);
  EXPECT_TRUE(MenuControl()->IsDroppedDown());
  // The menu lies below the button on the horizontal bar.
  EXPECT_EQ(Menu->LastPoint.y, ScreenRectOf(LinkOf(L"btnMenu")).bottom);
  EXPECT_NE(GetCapture(), Toolbar->GetHandle()) << "the open menu, not the bar, follows the mouse";
  TDib32 shot = Shot("scene-dropped-down");
  ASSERT_TRUE(MouseButtonUp());
  PumpPending();
  EXPECT_EQ(Clicks, 0);
  EXPECT_TRUE(MenuControl()->IsDroppedDown()) << "the release leaves the menu open";
  // A second press on the arrow closes it.
  ASSERT_TRUE(ClickAt(PartCenter(1)));
  PumpUntil([&] { return Menu->Closes > 0; });
  EXPECT_EQ(Menu->Opens, 1);
  EXPECT_EQ(Menu->Closes, 1);
  EXPECT_FALSE(MenuControl()->IsDroppedDown());
  EXPECT_EQ(Clicks, 0);
}

TEST_F(TWiring, PressOnTheFaceClicksWithoutOpening)
{
  ASSERT_TRUE(ClickAt(PartCenter(0)));
  PumpUntil([&] { return Clicks > 0; });
  EXPECT_EQ(Menu->Opens, 0);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(TWiring, DisabledDropDownButtonOpensNothing)
{
  MenuButton->SetEnabled(false);
  PumpPending();
  ASSERT_TRUE(ClickAt(PartCenter(1)));
  PumpPending();
  EXPECT_EQ(Menu->Opens, 0);
  EXPECT_EQ(Clicks, 0);
}

TEST_F(TWiring, DownKeyOpensTheSelectedDropDownByKeyboard)
{
  // A plain button ignores the key: nothing opens.
  Window()->ActivateWithControl(ControlOf(LinkOf(L"btnBlue")));
  ASSERT_TRUE(Toolbar->GetActive());
  Key(VK_DOWN);
  EXPECT_EQ(Menu->Opens, 0);
  EXPECT_EQ(Toolbar->GetSelectedControl(), ControlOf(LinkOf(L"btnBlue")));
  // Down on the selected drop-down button opens it.
  Toolbar->SelectItemControl(MenuControl());
  Key(VK_DOWN);
  EXPECT_EQ(Menu->Opens, 1);
  EXPECT_TRUE(MenuControl()->IsDroppedDown());
  EXPECT_EQ(Clicks, 0);
  MenuControl()->DoCloseUp();
  // Up opens it as well; Left and Right stay the bar's navigation.
  Key(VK_UP);
  EXPECT_EQ(Menu->Opens, 2);
  MenuControl()->DoCloseUp();
  Key(VK_RIGHT);
  EXPECT_EQ(Menu->Opens, 2);
  EXPECT_NE(Toolbar->GetSelectedControl(), MenuControl()) << "Right moved the selection on";
  Window()->Deactivate();
}

TEST_F(TWiring, FreeingAnItemInsideAnUpdateRebuildsTheToolbarOnceAtItsEnd)
{
  TWeakRef<TdxBarItemControl> open(ControlOf(LinkOf(L"btnOpen")));
  TWeakRef<TdxBarItemControl> check(ControlOf(LinkOf(L"btnCheck")));
  const int checkLeft = LinkOf(L"btnCheck")->GetItemRect().left;
  const int blueWidth = RectWidth(LinkOf(L"btnBlue")->GetItemRect());
  Manager->BeginUpdate();
  LinkOf(L"btnBlue")->GetItem()->Free();
  EXPECT_TRUE(Toolbar->IsRebuildPending());
  EXPECT_TRUE(open) << "no rebuild while the manager is locked";
  EXPECT_TRUE(check);
  Manager->EndUpdate();
  EXPECT_FALSE(Toolbar->IsRebuildPending());
  EXPECT_FALSE(open) << "the update's end made the controls anew";
  ASSERT_EQ(Docked->GetItemLinks()->Count(), 5);
  ASSERT_NE(ControlOf(LinkOf(L"btnCheck")), nullptr);
  EXPECT_EQ(LinkOf(L"btnCheck")->GetItemRect().left, checkLeft - blueWidth) << "the gap is closed";
  // Outside an update the rebuild is at once.
  TWeakRef<TdxBarItemControl> large(ControlOf(LinkOf(L"btnLarge")));
  LinkOf(L"btnOff")->GetItem()->Free();
  EXPECT_FALSE(Toolbar->IsRebuildPending());
  EXPECT_FALSE(large);
  EXPECT_NE(ControlOf(LinkOf(L"btnLarge")), nullptr);
}

TEST_F(TWiring, FloatingToolbarHasCaptionBorderAndACloseButtonThatHidesIt)
{
  TdxBarControl* c = ReshowFloating();
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->GetDockingStyle(), dsNone);
  ASSERT_TRUE(IsWindowVisible(c->GetHandle()));
  TDib32 shot = Shot("scene-floating", c);
  ASSERT_TRUE(shot.Valid());
  TRect caption = c->GetCaptionRect();
  ASSERT_FALSE(IsRectEmpty(caption));
  TRect close = c->GetCloseButtonRect();
  ASSERT_FALSE(IsRectEmpty(close));
  // The flat look draws the caption inactive, whatever the window's state.
  RECT textPart{caption.left, caption.top, close.left - 1, caption.bottom};
  EXPECT_GT(CountPixelsNear(shot, textPart, GetSysColor(COLOR_INACTIVECAPTION), 12),
            RectWidth(textPart) * RectHeight(textPart) / 3);
  EXPECT_GT(CountPixelsNear(shot, textPart, GetSysColor(COLOR_CAPTIONTEXT), 40), 5) << "the caption's text";
  EXPECT_GT(CountPixelsNear(shot, close,
                            ColorToRGB(c->GetPainter()->GetCaptionButtonGlyphColor(c, TdxBarMarkState::Normal)), 16),
            6);
  // A border frames the client area on every side.
  POINT co{0, 0};
  ClientToScreen(c->GetHandle(), &co);
  RECT w{};
  GetWindowRect(c->GetHandle(), &w);
  EXPECT_GT(co.x, w.left);
  EXPECT_GT(co.y, w.top + RectHeight(caption) - 1);
  // The close button, pressed and released with real input, hides the bar.
  POINT target{w.left + (close.left + close.right) / 2, w.top + (close.top + close.bottom) / 2};
  const bool done = RunScript(
      [&] {
        SendMouseMove(target);
        PauseScript(60);
        SendMouseButton(true);
        PauseScript(80);
        SendMouseButton(false);
      },
      [&] { return !Floating->GetVisible(); });
  EXPECT_TRUE(done);
  EXPECT_FALSE(Floating->GetVisible());
  EXPECT_TRUE(Docked->GetVisible());
}
