// The program-wide set-up of the static, progress, colour and font combo tests, and the
// fixture they share: a shown form with a manager, a toolbar at the top and a menu.
#include "StaticsTestUtil.h"

IMPLEMENT_CLASS(TStaticsTestForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const StaticsEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TStaticsTestForm::StaticClass(), TdxBarManager::StaticClass(),
                               TdxBarStatic::StaticClass(), TdxBarProgressItem::StaticClass()});

}  // namespace

void TStaticsFixture::SetUp()
{
  Manager = Host.Manager;
  Host.Form()->SetBounds(100, 100, 640, 420);
  FormEdit = AddEdit(Host.Form(), 20, 320, 200, 24);
  SubItem = new TdxBarSubItem(Host.Form());
  SubItem->SetCaption(L"Menu");
  Bar = Manager->GetBars()->Add();
  Bar->SetDockingStyle(dsTop);
  Bar->GetItemLinks()->AddItem(SubItem);
  Bar->SetVisible(true);
  ASSERT_TRUE(ShowActive(Host.Form(), FormEdit));
}

TCustomdxBarControl* TStaticsFixture::OpenMenu()
{
  TdxBarItemControl* control = ControlOf(Bar->GetItemLinks(), SubItem);
  if (!control || !ClickAt(ScreenCentreOf(control)))
    return nullptr;
  PumpUntil([&] { return Menu() && ::IsWindowVisible(Menu()->GetHandle()); });
  return Menu();
}

TCustomdxBarControl* TStaticsFixture::Menu() const
{
  return SubItem->GetItemLinks()->GetBarControl();
}

bool TStaticsFixture::WaitPainted(TCustomdxBarControl* ABar)
{
  if (!ABar || !ABar->HandleAllocated())
    return false;
  ::UpdateWindow(ABar->GetHandle());
  PumpPending();
  return true;
}

HWND WaitForThreadDialog(DWORD AThread)
{
  HWND dialog = FindThreadDialog(AThread);
  for (int i = 0; i < 250 && !dialog; ++i) {
    PauseScript(20);
    dialog = FindThreadDialog(AThread);
  }
  return dialog;
}
