// The system controller window.
#include "bars/keyboard/systemcontroller.h"

#include "platform/Threads.h"

IMPLEMENT_CLASS(TdxBarSystemController, TcxMessageWindow)

// In a program nothing is posted to the controller: its window waits until asked for. In a
// library worker threads post to it, so it is made now, on the thread that owns it.
TdxBarSystemController::TdxBarSystemController(bool AsLibrary) : TcxMessageWindow(!AsLibrary)
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
