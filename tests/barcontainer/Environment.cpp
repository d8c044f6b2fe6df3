// The program-wide set-up of the control container and list item tests, and the fixture
// they share.
#include "ContainerTestUtil.h"

IMPLEMENT_CLASS(TContainerTestForm, TForm)

namespace {

// The pointer is left in a corner, away from where the next program's windows open: a
// program whose first press lands where the pointer already rests gets no move before it.
class TPointerAway : public testing::Environment {
public:
  void TearDown() override { MoveMouseTo(POINT{5, 5}); }
};

[[maybe_unused]] testing::Environment* const PointerAway = testing::AddGlobalTestEnvironment(new TPointerAway);

[[maybe_unused]] testing::Environment* const ContainerEnvironment =
    testing::AddGlobalTestEnvironment(new TBarLibraryEnvironment{
        TContainerTestForm::StaticClass(), TdxBarManager::StaticClass(), TEdit::StaticClass(),
        TdxBarSubItem::StaticClass(), TdxBarControlContainerItem::StaticClass(), TdxBarMRUListItem::StaticClass(),
        TdxBarToolbarsListItem::StaticClass(), TdxBarInPlaceSubItem::StaticClass()});

}  // namespace

void TContainerFixture::SetUp()
{
  Manager = Host.Manager;
  Host.Form()->SetBounds(100, 100, 640, 420);
  Edit = new TEdit(Host.Form());
  Edit->SetName(L"HostedEdit");
  Edit->SetParent(Host.Form());
  Edit->SetBounds(20, 320, 120, 22);
  FormEdit = new TEdit(Host.Form());
  FormEdit->SetParent(Host.Form());
  FormEdit->SetBounds(200, 320, 120, 22);
  SubItem = new TdxBarSubItem(Host.Form());
  SubItem->SetCaption(L"Menu");
  Bar = Manager->GetBars()->Add();
  Bar->SetCaption(L"Main");
  Bar->SetDockingStyle(dsTop);
  Bar->GetItemLinks()->AddItem(SubItem);
  Bar->SetVisible(true);
  Host.Form()->Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  // Keys reach the thread through a focused window, as a user's do.
  FormEdit->SetFocus();
  PumpPending();
}

TdxBarItemControl* TContainerFixture::ControlOf(TdxBarItemLinks* ALinks, TdxBarItem* AItem)
{
  for (int i = 0; ALinks && i < ALinks->Count(); ++i)
    if (TdxBarItemLink* link = ALinks->Items(i); link->GetItem() == AItem)
      return link->GetControl();
  return nullptr;
}

POINT TContainerFixture::ScreenCenter(TdxBarItemControl* AControl)
{
  const RECT r = ScreenRect(AControl);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT TContainerFixture::ScreenRect(TdxBarItemControl* AControl)
{
  const TRect item = AControl->GetItemRect();
  RECT r{item.left, item.top, item.right, item.bottom};
  ::MapWindowPoints(AControl->GetParent()->GetHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT TContainerFixture::WindowRect(TWinControl* AWindow)
{
  RECT r{};
  if (AWindow && AWindow->HandleAllocated())
    ::GetWindowRect(AWindow->GetHandle(), &r);
  return r;
}

TCustomdxBarControl* TContainerFixture::OpenMenu()
{
  TdxBarItemControl* control = OnBar(SubItem);
  if (!control || !ClickAt(ScreenCenter(control)))
    return nullptr;
  PumpUntil([&] { return Menu() && ::IsWindowVisible(Menu()->GetHandle()); });
  return Menu();
}

std::vector<String> TContainerFixture::ShownCaptions(TCustomdxBarControl* ABar)
{
  std::vector<String> captions;
  if (!ABar || !ABar->GetItemLinks())
    return captions;
  for (TdxBarItemLink* link : ABar->GetItemLinks()->GetVisibleItems())
    if (TdxBarItemControl* control = link->GetControl())
      captions.push_back(control->GetCaption());
  return captions;
}

void TContainerFixture::MenuKey(WORD AKey)
{
  SendKeyTransition(AKey, true);
  SendKeyTransition(AKey, false);
  EXPECT_TRUE(PumpUntil([] { return (HIWORD(::GetQueueStatus(QS_KEY)) & QS_KEY) == 0; }, 2000));
  PumpPending();
}

void TContainerFixture::Settle()
{
  PumpPending();
  PumpFor(50);
}
