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
  FormEdit = new TEdit(Host.Form());
  FormEdit->SetParent(Host.Form());
  FormEdit->SetBounds(20, 320, 200, 24);
  SubItem = new TdxBarSubItem(Host.Form());
  SubItem->SetCaption(L"Menu");
  Bar = Manager->GetBars()->Add();
  Bar->SetDockingStyle(dsTop);
  Bar->GetItemLinks()->AddItem(SubItem);
  Bar->SetVisible(true);
  Host.Form()->Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  FormEdit->SetFocus();
  PumpPending();
}

TdxBarItemControl* TStaticsFixture::ControlOf(TdxBarItemLinks* ALinks, TdxBarItem* AItem)
{
  for (int i = 0; i < ALinks->Count(); ++i)
    if (TdxBarItemLink* link = ALinks->Items(i); link->GetItem() == AItem)
      return link->GetControl();
  return nullptr;
}

POINT TStaticsFixture::ScreenCenter(TdxBarItemControl* AControl)
{
  TRect r = AControl->GetItemRect();
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ::ClientToScreen(AControl->GetParent()->GetHandle(), &p);
  return p;
}

RECT TStaticsFixture::ScreenRect(TdxBarItemControl* AControl, const TRect& R)
{
  RECT r{R.left, R.top, R.right, R.bottom};
  ::MapWindowPoints(AControl->GetParent()->GetHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TCustomdxBarControl* TStaticsFixture::OpenMenu()
{
  TdxBarItemControl* control = ControlOf(Bar->GetItemLinks(), SubItem);
  if (!control || !ClickAt(ScreenCenter(control)))
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

HWND FindThreadDialog(DWORD AThread)
{
  HWND found = nullptr;
  ::EnumThreadWindows(
      AThread,
      [](HWND wnd, LPARAM param) -> BOOL {
        wchar_t name[16] = {};
        ::GetClassNameW(wnd, name, 16);
        if (std::wstring(name) == L"#32770" && ::IsWindowVisible(wnd)) {
          *reinterpret_cast<HWND*>(param) = wnd;
          return FALSE;
        }
        return TRUE;
      },
      LPARAM(&found));
  return found;
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
