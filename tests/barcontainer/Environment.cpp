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
  Edit = AddEdit(Host.Form(), 20, 320, 120, 22);
  Edit->SetName(L"HostedEdit");
  FormEdit = AddEdit(Host.Form(), 200, 320, 120, 22);
  SubItem = new TdxBarSubItem(Host.Form());
  SubItem->SetCaption(L"Menu");
  Bar = Manager->GetBars()->Add();
  Bar->SetCaption(L"Main");
  Bar->SetDockingStyle(dsTop);
  Bar->GetItemLinks()->AddItem(SubItem);
  Bar->SetVisible(true);
  // Keys reach the thread through a focused window, as a user's do.
  ASSERT_TRUE(ShowActive(Host.Form(), FormEdit));
}

TCustomdxBarControl* TContainerFixture::OpenMenu()
{
  TdxBarItemControl* control = OnBar(SubItem);
  if (!control || !ClickAt(ScreenCentreOf(control)))
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

void TContainerFixture::Settle()
{
  PumpPending();
  PumpFor(50);
}
