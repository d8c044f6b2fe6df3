#include "StdControlsTestUtil.h"

#include <thread>

#include "platform/ExtCtrls.h"
#include "platform/StdCtrls.h"

PUBLISHED(THostForm, TForm)
{
  p.Method(L"Clicked", &THostForm::Clicked);
  p.Method(L"Changed", &THostForm::Changed);
  p.Method(L"Selected", &THostForm::Selected);
}

int THostForm::Count(const std::wstring& Entry) const
{
  return int(std::count(Log.begin(), Log.end(), Entry));
}

std::wstring THostForm::NameOf(TObject* Sender)
{
  auto* component = dynamic_cast<TComponent*>(Sender);
  return component ? component->Name() : L"?";
}

void TStdControlsTest::SetUp()
{
  ParkCursor();
  Form = TCustomForm::CreateNew<THostForm>(nullptr);
  FormGuard = std::make_unique<TOwned<THostForm>>(Form);
  Form->SetBounds(100, 100, 400, 300);
}

void TStdControlsTest::TearDown()
{
  FormGuard.reset();
  PumpPending();
}

void TStdControlsTest::FocusOnShow(TWinControl* Control)
{
  THostForm* form = Form;
  Form->OnShow = TNotifyEvent([form, Control](TObject*) { form->SetActiveControl(Control); });
}

void TStdControlsTest::ShowForm()
{
  Form->Show();
  ASSERT_TRUE(ActivateWindow(Form->GetHandle()));
  ASSERT_TRUE(PumpUntil([this] { return Form->GetActive(); }));
  ::UpdateWindow(Form->GetHandle());
  PumpPending();
}

POINT ScreenPoint(TControl* Control, int X, int Y)
{
  return Control->ClientToScreen(Point(X, Y));
}

POINT CenterOf(TControl* Control)
{
  return ScreenPoint(Control, Control->GetWidth() / 2, Control->GetHeight() / 2);
}

COLORREF ScreenPixel(TControl* Control, int X, int Y)
{
  POINT p = ScreenPoint(Control, X, Y);
  return CaptureScreen(RECT{p.x, p.y, p.x + 1, p.y + 1}).Pixel(0, 0);
}

TModalResult ShowModalPressing(TCustomForm* Form, WORD Key, std::initializer_list<WORD> Modifiers)
{
  HWND window = Form->GetHandle();
  std::vector<WORD> modifiers(Modifiers);
  TModalResult result = mrNone;
  // A key that never ends the loop fails the case instead of hanging the run.
  TOwned<TTimer> watchdog(new TTimer(nullptr));
  watchdog->SetInterval(3000);
  watchdog->SetOnTimer(TNotifyEvent([Form](TObject*) { Form->SetModalResult(mrAbort); }));
  RunWithHelperThread([&] { result = Form->ShowModal(); },
                      [window, Key, modifiers] {
                        for (int i = 0; i < 300 && ::GetForegroundWindow() != window; ++i)
                          PauseScript(10);
                        PauseScript(50);
                        for (WORD m : modifiers)
                          SendKeyTransition(m, true);
                        SendKeyStroke(Key);
                        for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
                          SendKeyTransition(*it, false);
                      });
  return result;
}

void ParkCursor()
{
  MoveMouseTo(POINT{::GetSystemMetrics(SM_CXSCREEN) - 3, ::GetSystemMetrics(SM_CYSCREEN) - 3});
}

// The class layer lives for the whole run, as in a program.
namespace {

class TStdControlsEnvironment : public testing::Environment {
public:
  void SetUp() override
  {
    InitializeForms();
    RegisterClass(THostForm::StaticClass());
  }
  void TearDown() override { FinalizeForms(); }
};

[[maybe_unused]] testing::Environment* const StdControlsEnvironment =
    testing::AddGlobalTestEnvironment(new TStdControlsEnvironment);

}  // namespace
