// The bar library's system controller: a hidden message window that, when the library
// lives in a DLL, becomes the main thread's wake-up handler so that synchronised calls of
// worker threads run even though the program's own loop does not know about them.
#pragma once

#include "bars/model/startup.h"
#include "lookandfeel/cxControls.h"

class TdxBarSystemController : public TcxMessageWindow {
  DECLARE_CLASS(TdxBarSystemController, TcxMessageWindow)
public:
  // AsLibrary: take over the wake-up handler (and give it back on destruction).
  explicit TdxBarSystemController(bool AsLibrary);
  ~TdxBarSystemController() override;
  bool IsWakeUpHandler() const { return FWakeUpHandler; }

protected:
  void WndProc(TMessage& Message) override;

private:
  void WakeMainThread(TObject* Sender);
  bool FWakeUpHandler = false;
  TNotifyEvent FPreviousWakeMainThread;
};

// Made by library start-up; AsLibrary says whether to take over the wake-up handler.
TdxBarSystemController* CreateBarSystemController(bool AsLibrary);
void FreeBarSystemController(TdxBarSystemController* Controller);
