// The popup menu as a component: which manager it belongs to and what moving it does, its
// fonts and side strip, the recursion rule, form data, and a menu whose manager is gone.
#include "PopupTestUtil.h"

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
  return AManager->GetPopupMenuList()->IndexOf(AMenu) >= 0;
}

}  // namespace

TEST(PopupMenuConstruction, NeedsSomeManagerAndTakesTheOwnersElseTheFirst)
{
  TOwned<TPopupTestForm> bare(TCustomForm::CreateNew<TPopupTestForm>(nullptr));
  EXPECT_EQ(ErrorOf([&] { new TdxBarPopupMenu(bare.Get()); }), L"There are no TdxBarManagers available");
  EXPECT_EQ(bare->ComponentCount(), 0) << "a refused menu leaves nothing";

  TBarHost<TPopupTestForm> first;
  TBarHost<TPopupTestForm> second;
  first.Manager->GetFont()->SetName(L"Arial");
  second.Manager->GetFont()->SetName(L"Courier New");
  auto* onSecond = new TdxBarPopupMenu(second.Form());
  auto* ownedByManager = new TdxBarPopupMenu(second.Manager);
  auto* elsewhere = new TdxBarPopupMenu(bare.Get());
  EXPECT_EQ(onSecond->GetBarManager(), second.Manager);
  EXPECT_EQ(ownedByManager->GetBarManager(), second.Manager);
  EXPECT_EQ(elsewhere->GetBarManager(), first.Manager);
  EXPECT_TRUE(IsListedIn(first.Manager, elsewhere));
  EXPECT_EQ(elsewhere->GetFont()->GetName(), L"Arial");
  EXPECT_FALSE(elsewhere->GetUseRecentItems());

  // Moved, it changes lists, links and font; nil and the same manager change nothing.
  elsewhere->SetBarManager(second.Manager);
  elsewhere->SetBarManager(nullptr);
  elsewhere->SetBarManager(second.Manager);
  EXPECT_EQ(elsewhere->GetItemLinks()->GetBarManager(), second.Manager);
  EXPECT_FALSE(IsListedIn(first.Manager, elsewhere));
  EXPECT_EQ(second.Manager->GetPopupMenuList()->Count(), 3);
  EXPECT_EQ(elsewhere->GetFont()->GetName(), L"Courier New");
  first.Manager->GetFont()->SetName(L"Times New Roman");
  second.Manager->GetFont()->SetName(L"Tahoma");
  EXPECT_EQ(elsewhere->GetFont()->GetName(), L"Tahoma");
  EXPECT_FALSE(elsewhere->GetUseOwnFont());
  onSecond->Free();
  EXPECT_EQ(second.Manager->GetPopupMenuList()->Count(), 2);
}

TEST_F(TPopupFixture, FontChangeMakesItOwnAndUseOwnFontOffTakesTheManagersBack)
{
  Manager->GetFont()->SetName(L"Arial");
  EXPECT_EQ(Menu->GetRealFont(), Manager->GetFont());
  Menu->GetFont()->SetName(L"Courier New");
  EXPECT_TRUE(Menu->GetUseOwnFont());
  EXPECT_EQ(Menu->GetRealFont()->GetName(), L"Courier New");
  Manager->GetFont()->SetName(L"Tahoma");
  EXPECT_EQ(Menu->GetFont()->GetName(), L"Courier New") << "an own font stays";
  Menu->SetUseOwnFont(false);
  EXPECT_FALSE(Menu->GetUseOwnFont()) << "taking the manager's font back is no change of the own one";
  EXPECT_EQ(Menu->GetFont()->GetName(), L"Tahoma");
  // The menu window draws with the font in force.
  Menu->GetFont()->SetSize(14);
  FillMenu(1);
  Menu->PopupWithOptions(200, 200, 0, false);
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Window()->GetFont()->GetName(), L"Tahoma");
  EXPECT_EQ(Window()->GetFont()->GetSize(), 14);
}

TEST_F(TPopupFixture, BarSizeBelowZeroIsZeroAndOnPaintBarDrawsTheSideStrip)
{
  Menu->SetBarSize(-5);
  EXPECT_EQ(Menu->GetBarSize(), 0);
  Menu->SetBarSize(24);
  FillMenu(2);
  ShowForm();
  const COLORREF stripColor = RGB(20, 40, 160);
  TRect painted{};
  Menu->OnPaintBar = TdxBarPaintSubMenuBarEvent([&](TObject* Sender, TcxCanvas* ACanvas, const TRect& R) {
    EXPECT_EQ(Sender, Menu);
    HBRUSH brush = ::CreateSolidBrush(stripColor);
    ::FillRect(ACanvas->GetHandle(), &R, brush);
    ::DeleteObject(brush);
    painted = R;
  });
  Menu->PopupWithOptions(200, 200, 0, false);
  ASSERT_NE(Window(), nullptr);
  ::RedrawWindow(Window()->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpPending();
  ASSERT_EQ(RectWidth(painted), 24);
  EXPECT_GE(Window()->GetItemRect(ItemControl(0)).left, painted.right) << "the links start right of the strip";
  const TRect strip = Window()->ClientToScreen(painted);
  TDib32 shot = CaptureScreen(RECT{strip.left, strip.top, strip.right, strip.bottom});
  SaveShotOnRequest(CaptureScreen(Window()->GetBoundsRect()), "popupmenu-sidestrip");
  EXPECT_GT(CountPixelsNear(shot, RECT{0, 0, shot.Width(), shot.Height()}, stripColor),
            shot.Width() * shot.Height() * 9 / 10);
}

TEST_F(TPopupFixture, RecursiveMenusAreRefusedDirectlyAndThroughNestedLinks)
{
  // A drop-down button shows its menu's links as its own: it stands for any item with links.
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
  String error;
  EXPECT_FALSE(Menu->CanContainItem(opensInner, error));
  EXPECT_EQ(error, L"You cannot create recursive menus");
  EXPECT_TRUE(Menu->CanContainItem(new TdxBarButton(Host.Form()), error));
  EXPECT_TRUE(error.empty());
}

TEST_F(TPopupFixture, AMenuWhoseManagerIsGoneShowsNothingAndFreesCleanly)
{
  FillMenu(1);
  TOwned<TPopupTestForm> other(TCustomForm::CreateNew<TPopupTestForm>(nullptr));
  auto* menu = new TdxBarPopupMenu(other.Get());
  menu->GetItemLinks()->AddItem(Buttons[0]);
  Manager->Free();
  EXPECT_EQ(menu->GetBarManager(), nullptr);
  EXPECT_FALSE(menu->Popup(100, 100));
  EXPECT_FALSE(IsAnyPopupMenuOpen());
  menu->Free();
  EXPECT_EQ(other->ComponentCount(), 0);
}

TEST(PopupMenuFormData, AFormReadsItsPopupMenuWithLinksAndWritesTheFontOnlyWhileOwn)
{
  const wchar_t* const text =
      L"object PopupTestForm1: TPopupTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    object btnCopy: TdxBarButton\n      Caption = 'Copy'\n      Category = 0\n    end\n"
      L"    object btnPaste: TdxBarButton\n      Caption = 'Paste'\n      Category = 0\n    end\n"
      L"  end\n"
      L"  object dxBarPopupMenu1: TdxBarPopupMenu\n"
      L"    BarManager = dxBarManager1\n    BarSize = 12\n    Font.Name = 'Courier New'\n"
      L"    ItemLinks = <\n"
      L"      item\n        Visible = True\n        ItemName = 'btnCopy'\n      end\n"
      L"      item\n        BeginGroup = True\n        Visible = True\n        ItemName = 'btnPaste'\n      end>\n"
      L"    UseOwnFont = True\n"
      L"  end\n"
      L"end\n";
  ExpectFormRoundTrip<TPopupTestForm>(text, [](TComponent* AForm) {
    auto* menu = Find<TdxBarPopupMenu>(AForm, L"dxBarPopupMenu1");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetBarManager(), ManagerOf(AForm));
    EXPECT_EQ(menu->GetBarSize(), 12);
    EXPECT_TRUE(menu->GetUseOwnFont());
    EXPECT_EQ(menu->GetFont()->GetName(), L"Courier New");
    ASSERT_EQ(menu->GetItemLinks()->Count(), 2);
    EXPECT_EQ(menu->GetItemLinks()->Items(0)->GetItem(), Find<TdxBarItem>(AForm, L"btnCopy"));
    EXPECT_EQ(menu->GetItemLinks()->Items(1)->GetItem(), Find<TdxBarItem>(AForm, L"btnPaste"));
    EXPECT_TRUE(menu->GetItemLinks()->Items(1)->GetBeginGroup());
  });
  TOwned<TPopupTestForm> form(TCustomForm::CreateFromText<TPopupTestForm>(text, nullptr));
  Find<TdxBarPopupMenu>(form.Get(), L"dxBarPopupMenu1")->SetUseOwnFont(false);
  const String written = ComponentToText(form.Get());
  EXPECT_EQ(written.find(L"Courier New"), String::npos);
  EXPECT_NE(written.find(L"ItemName = 'btnPaste'"), String::npos);
}
