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
    SendKeyTransition(VK_ESCAPE, true);
    SendKeyTransition(VK_ESCAPE, false);
  }
}

POINT ScreenCenterOf(TdxBarItemControl* AControl, const TRect& R)
{
  POINT p{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
  ::ClientToScreen(AControl->GetParent()->GetHandle(), &p);
  return p;
}

void TSpinFixture::SetUp()
{
  Manager = Host.Manager;
  Host.Form()->SetBounds(120, 120, 600, 400);
  FormEdit = new TEdit(Host.Form());
  FormEdit->SetParent(Host.Form());
  FormEdit->SetBounds(20, 300, 200, 24);
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
  Host.Form()->Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  FormEdit->SetFocus();
  PumpPending();
  ASSERT_NE(ToolbarControl(), nullptr);
}

void TSpinFixture::TearDown()
{
  MouseButtonUp();
  if (TCustomdxBarControl* active = ActiveBarControl())
    active->Close();
  MoveMouseTo(POINT{5, 5});
  PumpPending();
}

TdxBarSpinEditControl* TSpinFixture::ToolbarControl() const
{
  return dynamic_cast<TdxBarSpinEditControl*>(Bar->GetItemLinks()->Items(0)->GetControl());
}

TdxBarSpinEditControl* TSpinFixture::MenuControl() const
{
  TdxBarItemLink* link = Sub->GetItemLinks()->Count() > 0 ? Sub->GetItemLinks()->Items(0) : nullptr;
  return link ? dynamic_cast<TdxBarSpinEditControl*>(link->GetControl()) : nullptr;
}

bool TSpinFixture::OpenMenu()
{
  TdxBarItemControl* subControl = Bar->GetItemLinks()->Items(1)->GetControl();
  if (!subControl)
    return false;
  const TRect r = subControl->GetParent()->GetItemScreenRect(subControl);
  return ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}) &&
         PumpUntil([&] { return MenuControl() && MenuControl()->GetParent()->HandleAllocated(); });
}

POINT TSpinFixture::PartCenter(TdxBarSpinEditControl* AControl, int APart)
{
  const TRect r = AControl->GetPartRects().at(size_t(APart));
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ::ClientToScreen(AControl->GetParent()->GetHandle(), &p);
  return p;
}

bool TSpinFixture::PressOn(TdxBarSpinEditControl* AControl, int APart)
{
  return MoveMouseTo(PartCenter(AControl, APart)) && MouseButtonDown();
}

bool TSpinFixture::ClickOn(TdxBarSpinEditControl* AControl, int APart)
{
  return ClickAt(PartCenter(AControl, APart));
}

void TSpinFixture::Key(WORD AKey)
{
  SendKeyTransition(AKey, true);
  SendKeyTransition(AKey, false);
  EXPECT_TRUE(PumpUntil([] { return (HIWORD(::GetQueueStatus(QS_KEY)) & QS_KEY) == 0; }, 2000));
  PumpPending();
}

namespace {

[[maybe_unused]] testing::Environment* const SpinEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TSpinTestForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace
