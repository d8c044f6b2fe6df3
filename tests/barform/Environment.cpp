// The program-wide set-up of the form tests and their helpers.
#include "FormTestUtil.h"

#include "support/Pump.h"

IMPLEMENT_CLASS(TFormTestForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const FormEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TFormTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass()});

}  // namespace

void DeliverFormMessage(TdxBarManager* AManager, HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
  AManager->HandleFormActivationMessage(AWnd, AMsg, AWParam, ALParam);
}

void ShowFormWindow(TdxBarManager* AManager, TCustomForm* AForm, bool AShow)
{
  if (AShow)
    AForm->Show();
  else
    AForm->Hide();
  PumpPending();
  WINDOWPOS pos{AForm->GetHandle(), nullptr, 0, 0, 0, 0, UINT(AShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW)};
  DeliverFormMessage(AManager, AForm->GetHandle(), WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

TdxBar* AddFloatingBar(TdxBarManager* AManager, int ALeft, int ATop, const String& ACaption)
{
  TdxBar* bar = AManager->GetBars()->Add();
  bar->SetCaption(ACaption);
  bar->SetDockingStyle(dsNone);
  bar->SetFloatLeft(ALeft);
  bar->SetFloatTop(ATop);
  auto* button = new TdxBarButton(AManager->Owner());
  button->SetCaption(ACaption);
  bar->GetItemLinks()->AddItem(button);
  bar->SetVisible(true);
  return bar;
}

bool IsBarOnScreen(TdxBar* ABar)
{
  TdxBarControl* control = ABar->GetControl();
  return control && control->HandleAllocated() && IsWindowVisible(control->GetHandle());
}
