// The popup menu as a component: which manager it belongs to and what moving it does, its
// fonts and side strip, the recursion rule, shortcuts by key message, form data, and how
// it behaves once its manager is gone.
#include "PopupTestUtil.h"

#include "bars/dxBarStrs.h"
#include "support/FormRoundTrip.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

String ErrorOf(const std::function<void()>& AAction)
{
  try {
    AAction();
  } catch (const Exception& e) {
    return e.Message();
  }
  return L"(nothing raised)";
}

bool IsListedIn(TdxBarManager* AManager, TdxBarCustomPopupMenu* AMenu)
{
  TdxBarComponentList* list = AManager->GetPopupMenuList();
  return list && list->IndexOf(AMenu) >= 0;
}

}  // namespace

TEST(PopupMenuConstruction, WithoutAnyManagerRaisesAndLeavesNothing)
{
  ASSERT_EQ(dxBarManagerList()->Count(), 0);
  TOwned<TPopupTestForm> form(TCustomForm::CreateNew<TPopupTestForm>(nullptr));
  EXPECT_EQ(ErrorOf([&] { new TdxBarPopupMenu(form.Get()); }), L"There are no TdxBarManagers available");
  EXPECT_EQ(form->ComponentCount(), 0);
}

TEST(PopupMenuConstruction, TakesTheOwnersManagerElseTheFirstOne)
{
  TBarHost<TPopupTestForm> first;
  TBarHost<TPopupTestForm> second;
  TOwned<TPopupTestForm> bare(TCustomForm::CreateNew<TPopupTestForm>(nullptr));
  auto* onSecond = new TdxBarPopupMenu(second.Form());
  auto* ownedByManager = new TdxBarPopupMenu(second.Manager);
  auto* elsewhere = new TdxBarPopupMenu(bare.Get());
  EXPECT_EQ(onSecond->GetBarManager(), second.Manager);
  EXPECT_EQ(ownedByManager->GetBarManager(), second.Manager);
  EXPECT_EQ(elsewhere->GetBarManager(), first.Manager);
  EXPECT_EQ(onSecond->GetItemLinks()->GetBarManager(), second.Manager);
  EXPECT_TRUE(IsListedIn(second.Manager, onSecond));
  EXPECT_TRUE(IsListedIn(first.Manager, elsewhere));
  EXPECT_FALSE(onSecond->GetUseRecentItems());
  EXPECT_TRUE(onSecond->GetEnabled());
  // Freed, it leaves the manager's list.
  onSecond->Free();
  EXPECT_EQ(second.Manager->GetPopupMenuList()->IndexOf(ownedByManager), 0);
  EXPECT_EQ(second.Manager->GetPopupMenuList()->Count(), 1);
}

TEST(PopupMenuConstruction, MovingToAnotherManagerMovesListLinksAndFont)
{
  TBarHost<TPopupTestForm> first;
  TBarHost<TPopupTestForm> second;
  first.Manager->GetFont()->SetName(L"Arial");
  second.Manager->GetFont()->SetName(L"Courier New");
  auto* menu = new TdxBarPopupMenu(first.Form());
  EXPECT_EQ(menu->GetFont()->GetName(), L"Arial");
  menu->SetBarManager(second.Manager);
  EXPECT_EQ(menu->GetBarManager(), second.Manager);
  EXPECT_EQ(menu->GetItemLinks()->GetBarManager(), second.Manager);
  EXPECT_FALSE(IsListedIn(first.Manager, menu));
  EXPECT_TRUE(IsListedIn(second.Manager, menu));
  EXPECT_EQ(menu->GetFont()->GetName(), L"Courier New");
  EXPECT_FALSE(menu->GetUseOwnFont());
  // Nil and the same manager change nothing.
  menu->SetBarManager(nullptr);
  menu->SetBarManager(second.Manager);
  EXPECT_EQ(menu->GetBarManager(), second.Manager);
  EXPECT_EQ(second.Manager->GetPopupMenuList()->Count(), 1);
  // The old manager's font changes no longer reach it; the new one's do.
  first.Manager->GetFont()->SetName(L"Times New Roman");
  EXPECT_EQ(menu->GetFont()->GetName(), L"Courier New");
  second.Manager->GetFont()->SetName(L"Tahoma");
  EXPECT_EQ(menu->GetFont()->GetName(), L"Tahoma");
}

TEST_F(TPopupFixture, BarSizeBelowZeroIsZeroAndSizesTheSideStrip)
{
  Menu->SetBarSize(-5);
  EXPECT_EQ(Menu->GetBarSize(), 0);
  Menu->SetBarSize(24);
  EXPECT_EQ(Menu->GetBarSize(), 24);
  FillMenu(2);
  ShowForm();
  TRect painted{};
  int paints = 0;
  const COLORREF stripColor = RGB(20, 40, 160);
  Menu->OnPaintBar = TdxBarPaintSubMenuBarEvent([&](TObject* Sender, TcxCanvas* ACanvas, const TRect& R) {
    EXPECT_EQ(Sender, Menu);
    ASSERT_NE(ACanvas, nullptr);
    HBRUSH brush = ::CreateSolidBrush(stripColor);
    ::FillRect(ACanvas->GetHandle(), &R, brush);
    ::DeleteObject(brush);
    painted = R;
    ++paints;
  });
  Menu->PopupWithOptions(200, 200, 0, false);
  PumpPending();
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Window()->GetSideStripWidth(), 24);
  ::RedrawWindow(Window()->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpPending();
  EXPECT_GT(paints, 0);
  EXPECT_EQ(RectWidth(painted), 24);
  // On the screen, the strip runs down the menu's left side.
  const TRect strip = Window()->ClientToScreen(painted);
  TDib32 shot = CaptureScreen(RECT{strip.left, strip.top, strip.right, strip.bottom});
  SaveShotOnRequest(CaptureScreen(Window()->GetBoundsRect()), "popupmenu-sidestrip");
  EXPECT_GT(CountPixelsNear(shot, RECT{0, 0, shot.Width(), shot.Height()}, stripColor),
            shot.Width() * shot.Height() * 9 / 10);
  // The links start right of the strip.
  TRect item = Window()->GetItemRect(Window()->GetItemLinks()->ShownItems(0)->GetControl());
  EXPECT_GE(item.left, painted.right);
}

TEST_F(TPopupFixture, FontChangeMakesItOwnAndUseOwnFontOffTakesTheManagersBack)
{
  Manager->GetFont()->SetName(L"Arial");
  EXPECT_FALSE(Menu->GetUseOwnFont());
  EXPECT_EQ(Menu->GetRealFont(), Manager->GetFont());
  Menu->GetFont()->SetName(L"Courier New");
  EXPECT_TRUE(Menu->GetUseOwnFont());
  EXPECT_EQ(Menu->GetRealFont()->GetName(), L"Courier New");
  // The manager's later changes leave the own font alone.
  Manager->GetFont()->SetName(L"Tahoma");
  EXPECT_EQ(Menu->GetFont()->GetName(), L"Courier New");
  Menu->SetUseOwnFont(false);
  EXPECT_FALSE(Menu->GetUseOwnFont()) << "taking the manager's font back is no change of the own one";
  EXPECT_EQ(Menu->GetFont()->GetName(), L"Tahoma");
  EXPECT_EQ(Menu->GetRealFont(), Manager->GetFont());
  // The menu window draws with the font in force.
  Menu->GetFont()->SetSize(14);
  FillMenu(1);
  Menu->PopupWithOptions(200, 200, 0, false);
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Window()->GetFont()->GetName(), L"Tahoma");
  EXPECT_EQ(Window()->GetFont()->GetSize(), 14);
}

TEST_F(TPopupFixture, RecursiveMenusAreRefusedDirectlyAndThroughNestedLinks)
{
  // A drop-down button shows its menu's links as its own, so it stands for any item with
  // links of its own.
  auto* opensMenu = new TdxBarButton(Host.Form());
  opensMenu->SetButtonStyle(bsDropDown);
  opensMenu->SetDropDownMenu(Menu);
  EXPECT_EQ(ErrorOf([&] { Menu->GetItemLinks()->AddItem(opensMenu); }), L"You cannot create recursive menus");
  EXPECT_EQ(Menu->GetItemLinks()->Count(), 0) << "a refused item leaves no link";

  auto* inner = new TdxBarPopupMenu(Host.Form());
  inner->GetItemLinks()->AddItem(opensMenu);
  auto* opensInner = new TdxBarButton(Host.Form());
  opensInner->SetButtonStyle(bsDropDown);
  opensInner->SetDropDownMenu(inner);
  EXPECT_EQ(ErrorOf([&] { Menu->GetItemLinks()->AddItem(opensInner); }), L"You cannot create recursive menus");
  String error;
  EXPECT_FALSE(Menu->CanContainItem(opensInner, error));
  EXPECT_EQ(error, L"You cannot create recursive menus");

  auto* plain = new TdxBarButton(Host.Form());
  EXPECT_TRUE(Menu->CanContainItem(plain, error));
  EXPECT_TRUE(error.empty());
  EXPECT_NE(Menu->GetItemLinks()->AddItem(plain), nullptr);
  EXPECT_TRUE(Menu->CanContainItem(nullptr, error));
}

TEST_F(TPopupFixture, IsShortCutReadsShiftCtrlAndTheAltBitOfTheKeyData)
{
  FillMenu(2);
  Buttons[0]->SetShortCut(TShortCut(0x8000 | 'S'));  // Alt+S
  Buttons[1]->SetShortCut(TShortCut('S'));
  constexpr intptr_t AltBit = intptr_t(1) << 29;
  EXPECT_TRUE(Menu->IsShortCut('S', AltBit));
  EXPECT_EQ(Clicks[0], 1);
  EXPECT_EQ(Clicks[1], 0);
  EXPECT_TRUE(Menu->IsShortCut('S', 0));
  EXPECT_EQ(Clicks[1], 1);
  EXPECT_FALSE(Menu->IsShortCut('T', 0));
  EXPECT_FALSE(Menu->IsShortCut(0, AltBit)) << "key 0 is no shortcut";
  EXPECT_EQ(Clicks[0] + Clicks[1], 2);
}

TEST_F(TPopupFixture, AMenuWhoseManagerIsGoneShowsNothingAndFreesCleanly)
{
  FillMenu(1);
  TOwned<TPopupTestForm> other(TCustomForm::CreateNew<TPopupTestForm>(nullptr));
  auto* menu = new TdxBarPopupMenu(other.Get());
  ASSERT_EQ(menu->GetBarManager(), Manager);
  menu->GetItemLinks()->AddItem(Buttons[0]);
  Manager->Free();
  EXPECT_EQ(menu->GetBarManager(), nullptr);
  EXPECT_FALSE(menu->Popup(100, 100));
  EXPECT_EQ(menu->GetBarControl(), nullptr);
  EXPECT_FALSE(IsAnyPopupMenuOpen());
  menu->Free();
  EXPECT_EQ(other->ComponentCount(), 0);
}

namespace {

const wchar_t* const PopupForm =
    L"object PopupTestForm1: TPopupTestForm\n"
    L"  Left = 100\n  Top = 100\n  Width = 400\n  Height = 300\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    object btnCopy: TdxBarButton\n      Caption = 'Copy'\n      Category = 0\n    end\n"
    L"    object btnPaste: TdxBarButton\n      Caption = 'Paste'\n      Category = 0\n    end\n"
    L"  end\n"
    L"  object dxBarPopupMenu1: TdxBarPopupMenu\n"
    L"    BarManager = dxBarManager1\n"
    L"    BarSize = 12\n"
    L"    Font.Name = 'Courier New'\n"
    L"    ItemLinks = <\n"
    L"      item\n        Visible = True\n        ItemName = 'btnCopy'\n      end\n"
    L"      item\n        BeginGroup = True\n        Visible = True\n        ItemName = 'btnPaste'\n      end>\n"
    L"    UseOwnFont = True\n"
    L"  end\n"
    L"end\n";

}  // namespace

TEST(PopupMenuFormData, AFormReadsItsPopupMenuWithLinksAndWritesItBack)
{
  String written = ExpectFormRoundTrip<TPopupTestForm>(PopupForm, [](TComponent* AForm) {
    auto* menu = Find<TdxBarPopupMenu>(AForm, L"dxBarPopupMenu1");
    ASSERT_NE(menu, nullptr);
    TdxBarManager* manager = ManagerOf(AForm);
    EXPECT_EQ(menu->GetBarManager(), manager);
    EXPECT_EQ(menu->GetBarSize(), 12);
    EXPECT_TRUE(menu->GetUseOwnFont());
    EXPECT_EQ(menu->GetFont()->GetName(), L"Courier New");
    ASSERT_EQ(menu->GetItemLinks()->Count(), 2);
    EXPECT_EQ(menu->GetItemLinks()->Items(0)->GetItem(), Find<TdxBarItem>(AForm, L"btnCopy"));
    EXPECT_EQ(menu->GetItemLinks()->Items(1)->GetItem(), Find<TdxBarItem>(AForm, L"btnPaste"));
    EXPECT_TRUE(menu->GetItemLinks()->Items(1)->GetBeginGroup());
    EXPECT_TRUE(manager->GetPopupMenuList()->IndexOf(menu) >= 0);
  });
  EXPECT_NE(written.find(L"TdxBarPopupMenu"), String::npos);
}

TEST(PopupMenuFormData, TheFontIsWrittenOnlyWhileItIsTheMenusOwn)
{
  TOwned<TPopupTestForm> form(TCustomForm::CreateFromText<TPopupTestForm>(PopupForm, nullptr));
  auto* menu = Find<TdxBarPopupMenu>(form.Get(), L"dxBarPopupMenu1");
  ASSERT_NE(menu, nullptr);
  menu->SetUseOwnFont(false);
  String text = ComponentToText(form.Get());
  EXPECT_EQ(text.find(L"Courier New"), String::npos);
  EXPECT_EQ(text.find(L"UseOwnFont"), String::npos);
  EXPECT_NE(text.find(L"ItemName = 'btnPaste'"), String::npos);
}
