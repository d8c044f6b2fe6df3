// The program-wide set-up of the menu tests, the menu host and the fixture's helpers.
#include "MenuTestUtil.h"

#include "bars/itemcontrols/itemcontrol.h"
#include "support/Input.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TTestMenuHost, TComponent)

namespace {

[[maybe_unused]] testing::Environment* const MenuEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TMenuTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

}  // namespace

// ---------------------------------------------------------------------------
// TTestMenuHost

TTestMenuHost::TTestMenuHost(TComponent* AOwner) : TComponent(AOwner)
{
  FLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(GetBarManagerByOwner(AOwner),
                                                           static_cast<IdxBarLinksOwner*>(this));
}

TTestMenuHost::~TTestMenuHost()
{
  FLinks.reset();
}

TCustomdxBarControl* TTestMenuHost::CreateBarControl()
{
  return dynamic_cast<TCustomdxBarControl*>(TdxBarSubMenuControl::StaticClass()->Create(FLinks->GetBarManager()));
}

TCustomdxBarControl* TTestMenuHost::DropDownMenu(TdxBarItemControl* AOwnerControl, const TPoint& P,
                                                 const TRect& AExcludeRect, TCustomdxBarControl* AParentBar)
{
  FLinks->CreateBarControl();
  TdxBarSubMenuControl* menu = Menu();
  if (!menu)
    return nullptr;
  TWeakRef<TdxBarSubMenuControl> ref(menu);
  menu->SetOwnerItemControl(AOwnerControl);
  menu->SetParentBarControl(AParentBar);
  menu->OnCloseUp = TNotifyEvent([this](TObject*) { ++CloseUps; });
  // Below a toolbar item the menu jumps over the item's height, beside a menu item over its width.
  if (AParentBar && AParentBar->GetKind() == bckToolbar && !AParentBar->IsVertical())
    menu->SetOwnerHeight(RectHeight(AExcludeRect));
  else
    menu->SetOwnerWidth(RectWidth(AExcludeRect));
  menu->SetBounds(P.x, P.y, 0, 0);
  menu->Popup();
  return ref.Get();
}

void TTestMenuHost::CloseDropDownMenu()
{
  FLinks->DestroyBarControl();
}

// ---------------------------------------------------------------------------
// TMenuFixture

TMenuFixture::TMenuFixture() : Manager(Host.Manager)
{
  Manager->SetName(L"dxBarManager1");
}

void TMenuFixture::SetUp()
{
  Manager->SetStyle(bmsFlat);
  Manager->SetMenusShowRecentItemsFirst(false);
  MenuHost = new TTestMenuHost(Host.Form());
  OtherHost = new TTestMenuHost(Host.Form());
  Bar = Manager->GetBars()->Add();
  Bar->SetCaption(L"Tools");
  Bar->SetDockingStyle(dsTop);
  auto addButton = [&](const String& ACaption, TTestMenuHost* AHost) {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(ACaption);
    button->SetPaintStyle(psCaption);
    button->SetButtonStyle(bsDropDown);
    button->SetDropDownMenu(AHost);
    Bar->GetItemLinks()->AddItem(button);
    return button;
  };
  MenuButton = addButton(L"Menu", MenuHost);
  OtherButton = addButton(L"Other", OtherHost);
}

void TMenuFixture::TearDown()
{
  CloseActiveBar();
  PumpPending();
}

void TMenuFixture::ShowForm(int ALeft, int ATop, int AWidth, int AHeight)
{
  Host.Form()->SetBounds(ALeft, ATop, AWidth, AHeight);
  Bar->SetVisible(true);
  Host.Form()->Show();
  ActivateWindow(Host.Form()->GetHandle());
  PumpPending();
}

void TMenuFixture::FillMenu(TTestMenuHost* AHost, int ACount, int AGroupEvery)
{
  Clicks.assign(size_t(ACount), 0);
  for (int i = 0; i < ACount; ++i) {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(L"Item " + IntToStr(i));
    if (AHost == MenuHost)
      button->SetOnClick(TNotifyEvent([this, i](TObject*) { ++Clicks[size_t(i)]; }));
    TdxBarItemLink* link = AHost->Links()->AddItem(button);
    link->SetBeginGroup(AGroupEvery > 0 && i > 0 && i % AGroupEvery == 0);
  }
}

TdxBarSubMenuControl* TMenuFixture::Open(TTestMenuHost* AHost)
{
  TTestMenuHost* host = AHost ? AHost : MenuHost;
  auto* control = ControlOf<TdxBarButtonControl>(host == MenuHost ? MenuButton : OtherButton);
  if (!control)
    return nullptr;
  static_cast<TCustomdxBarControl*>(Bar->GetControl())->ActivateWithControl(control);
  control->DoDropDown(true);
  PumpPending();
  return host->Menu();
}

TdxBarItemControl* TMenuFixture::ItemOf(TdxBarSubMenuControl* AMenu, int AIndex) const
{
  TdxBarItemLink* link = AMenu && AMenu->GetItemLinks() ? AMenu->GetItemLinks()->ShownItems(AIndex) : nullptr;
  return link ? link->GetControl() : nullptr;
}

void TMenuFixture::Key(TCustomdxBarControl* AWindow, WORD AKey)
{
  if (AWindow && AWindow->HandleAllocated())
    SendMessageW(AWindow->GetHandle(), WM_KEYDOWN, AKey, 0);
  PumpPending();
}

void TMenuFixture::MoveAway()
{
  MoveMouseTo(POINT{5, 5});
  PumpPending();
}

// ---------------------------------------------------------------------------
// TWindowCreationSizes

TWindowCreationSizes::TWindowCreationSizes()
    : FHook(SetWindowsHookExW(WH_CBT, &TWindowCreationSizes::Hook, nullptr, GetCurrentThreadId()))
{
  Sizes.clear();
}

TWindowCreationSizes::~TWindowCreationSizes()
{
  UnhookWindowsHookEx(FHook);
}

TSize TWindowCreationSizes::Of(HWND AWnd) const
{
  auto it = Sizes.find(AWnd);
  return it == Sizes.end() ? TSize{-1, -1} : it->second;
}

LRESULT CALLBACK TWindowCreationSizes::Hook(int ACode, WPARAM AWParam, LPARAM ALParam)
{
  if (ACode == HCBT_CREATEWND) {
    const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(ALParam)->lpcs;
    Sizes[reinterpret_cast<HWND>(AWParam)] = TSize{cs->cx, cs->cy};
  }
  return CallNextHookEx(nullptr, ACode, AWParam, ALParam);
}
