#include "ControlTestUtil.h"

IMPLEMENT_CLASS(THostWindow, TCustomControl)
IMPLEMENT_CLASS(TProbeControl, TCustomControl)

THostWindow* TSharedHostTest::Host = nullptr;

void TSharedHostTest::SetUpTestSuite()
{
  Host = new THostWindow(nullptr);
  ShowTopLevel(Host);
}

void TSharedHostTest::TearDownTestSuite()
{
  FreeAndNil(Host);
  PumpPending();
}

void TSharedHostTest::SetUp()
{
  ParkMouse();
  if (::GetForegroundWindow() != Host->GetHandle())
    ActivateWindow(Host->GetHandle());
}

void TSharedHostTest::TearDown()
{
  while (Host->GetControlCount() > 0)
    Host->GetControls(Host->GetControlCount() - 1)->Free();
  Host->OnClick = nullptr;
  Host->SetBounds(40, 40, 320, 240);
  PumpPending();
}
