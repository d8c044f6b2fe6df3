// The system controller window.
#include "bars/systemcontroller.h"

#include "platform/Threads.h"

IMPLEMENT_CLASS(TdxBarSystemController, TcxMessageWindow)

TdxBarSystemController::TdxBarSystemController(bool AsLibrary)
{
  if (!AsLibrary)
    return;
  FPreviousWakeMainThread = GetWakeMainThread();
  SetWakeMainThread(TNotifyEvent(this, &TdxBarSystemController::WakeMainThread));
  FWakeUpHandler = true;
}

TdxBarSystemController::~TdxBarSystemController()
{
  if (FWakeUpHandler)
    SetWakeMainThread(FPreviousWakeMainThread);
}

// Runs on whichever thread queued a call: only posting is safe here.
void TdxBarSystemController::WakeMainThread(TObject* Sender)
{
  PostMessageW(Handle(), DXM_BAR_SYNCHRONIZE, 0, 0);
}

void TdxBarSystemController::WndProc(TMessage& Message)
{
  if (Message.Msg == DXM_BAR_SYNCHRONIZE)
    CheckSynchronize(0);
  else
    TcxMessageWindow::WndProc(Message);
}

TdxBarSystemController* CreateBarSystemController(bool AsLibrary)
{
  return new TdxBarSystemController(AsLibrary);
}

void FreeBarSystemController(TdxBarSystemController* Controller)
{
  delete Controller;
}
