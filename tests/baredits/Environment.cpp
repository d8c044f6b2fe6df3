// The program-wide set-up of the edit tests and their fixture.
#include "EditTestUtil.h"

void TEditFixture::SetUp()
{
  Manager = Host.Manager;
  Host.Form()->SetBounds(120, 120, 600, 400);
  FormEdit = AddEdit(Host.Form(), 20, 300, 200, 24);
  Edit = new TdxBarEdit(Host.Form());
  Edit->SetText(L"start");
  Button = new TdxBarButton(Host.Form());
  Button->SetCaption(L"Go");
  Button->SetPaintStyle(psCaption);
  Bar1 = AddBar({Edit, Button});
  Bar2 = AddBar({Edit});
  ASSERT_TRUE(ShowActive(Host.Form(), FormEdit));
  ASSERT_NE(ControlOn(Bar1, Edit), nullptr);
  ASSERT_NE(ControlOn(Bar2, Edit), nullptr);
}

TdxBar* TEditFixture::AddBar(std::initializer_list<TdxBarItem*> AItems)
{
  TdxBar* bar = Manager->GetBars()->Add();
  bar->SetDockingStyle(dsTop);
  bar->SetRow(Manager->GetBars()->GetCount() - 1);
  for (TdxBarItem* item : AItems)
    bar->GetItemLinks()->AddItem(item);
  bar->SetVisible(true);
  return bar;
}

bool TEditFixture::StartEditing(TdxBarEditControl* AControl)
{
  if (!ClickAt(TextCenter(AControl)))
    return false;
  return PumpUntil([&] { return AControl->GetHandle() && ::GetFocus() == AControl->GetHandle(); });
}

int TEditFixture::ThreadEditWindows()
{
  struct TCount {
    int Count = 0;
    static BOOL CALLBACK Child(HWND AWnd, LPARAM AParam)
    {
      wchar_t name[16] = {};
      ::GetClassNameW(AWnd, name, 16);
      if (::lstrcmpiW(name, L"EDIT") == 0)
        ++reinterpret_cast<TCount*>(AParam)->Count;
      return TRUE;
    }
    static BOOL CALLBACK Top(HWND AWnd, LPARAM AParam)
    {
      ::EnumChildWindows(AWnd, &TCount::Child, AParam);
      return TRUE;
    }
  } count;
  ::EnumThreadWindows(::GetCurrentThreadId(), &TCount::Top, reinterpret_cast<LPARAM>(&count));
  return count.Count;
}

namespace {

[[maybe_unused]] testing::Environment* const LibraryEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TEditTestForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace
