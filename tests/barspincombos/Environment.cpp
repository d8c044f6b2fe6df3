// The program-wide set-up of the spin edit tests and their fixture.
#include "ExtrasTestUtil.h"

IMPLEMENT_CLASS(TSpinTestForm, TForm)

TImageList* MakeColorImages(TComponent* AOwner, int ASize, std::initializer_list<TColor> AColors)
{
  auto* list = new TImageList(AOwner);
  list->SetSize(ASize, ASize);
  for (TColor color : AColors) {
    TBitmap bitmap;
    bitmap.SetSize(ASize, ASize);
    bitmap.GetCanvas()->GetBrush()->SetColor(color);
    bitmap.GetCanvas()->FillRect(TRect{0, 0, ASize, ASize});
    list->Add(&bitmap, nullptr);
  }
  return list;
}

void CancelSelectWindowIfOpen()
{
  PauseScript(500);
  HWND dialog = ::FindWindowW(nullptr, L"Select item");
  if (dialog && ::IsWindowVisible(dialog)) {
    SendKeyStroke(VK_ESCAPE);
  }
}

void TSpinFixture::SetUp()
{
  Manager = Host.Manager;
  Host.Form()->SetBounds(120, 120, 600, 400);
  FormEdit = AddEdit(Host.Form(), 20, 300, 200, 24);
  Spin = new TdxBarSpinEdit(Host.Form());
  Spin->SetWidth(120);
  Spin->OnButtonClick = TdxBarSpinEditButtonClickEvent(&Clicks, &TSpinClicks::Clicked);
  Sub = new TdxBarSubItem(Host.Form());
  Sub->SetCaption(L"Numbers");
  Sub->GetItemLinks()->AddItem(Spin);
  Bar = Manager->GetBars()->Add();
  Bar->SetDockingStyle(dsTop);
  Bar->GetItemLinks()->AddItem(Spin);
  Bar->GetItemLinks()->AddItem(Sub);
  Bar->SetVisible(true);
  ASSERT_TRUE(ShowActive(Host.Form(), FormEdit));
  ASSERT_NE(ToolbarControl(), nullptr);
}

void TSpinFixture::TearDown()
{
  MouseButtonUp();
  CloseActiveBar();
  MoveMouseTo(POINT{5, 5});
  PumpPending();
}

bool TSpinFixture::OpenMenu()
{
  TdxBarItemControl* subControl = ControlOf(Bar->GetItemLinks(), Sub);
  return subControl && ClickAt(ScreenCentreOf(subControl)) &&
         PumpUntil([&] { return MenuControl() && MenuControl()->GetParent()->HandleAllocated(); });
}

bool TSpinFixture::PressOn(TdxBarSpinEditControl* AControl, int APart)
{
  return MoveMouseTo(PartCenter(AControl, APart)) && MouseButtonDown();
}

bool TSpinFixture::ClickOn(TdxBarSpinEditControl* AControl, int APart)
{
  return ClickAt(PartCenter(AControl, APart));
}

namespace {

[[maybe_unused]] testing::Environment* const SpinEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TSpinTestForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace
