// The program-wide set-up of the hint tests and the fixture's helpers.
#include "HintTestUtil.h"

#include "support/Pump.h"

IMPLEMENT_CLASS(THintTestForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const HintEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{THintTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass()});

}  // namespace

TdxBar* THintFixture::AddBar(const std::vector<String>& ACaptions, TdxBarDockingStyle AStyle)
{
  TdxBar* bar = Manager->GetBars()->Add();
  bar->SetCaption(L"Tools");
  bar->SetDockingStyle(AStyle);
  for (const String& caption : ACaptions) {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(caption);
    button->SetHint(caption + L" hint");
    button->SetPaintStyle(psCaption);
    bar->GetItemLinks()->AddItem(button);
  }
  bar->SetVisible(true);
  return bar;
}

TOwned<THintTestForm> THintFixture::ShowOtherForm()
{
  auto* form = TCustomForm::CreateNew<THintTestForm>(nullptr);
  form->SetBounds(500, 100, 200, 200);
  form->Show();
  PumpPending();
  return TOwned<THintTestForm>(form);
}

String HintText()
{
  TdxBarHintWindow* window = dxBarHintWindow();
  return window ? window->GetText() : String();
}

TRect HintRect()
{
  TdxBarHintWindow* window = dxBarHintWindow();
  return window && window->HandleAllocated() ? WindowRectOf(window->GetHandle()) : TRect{};
}
