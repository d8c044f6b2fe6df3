// Extra non-visual and simple components of the control layer. TTimer raises OnTimer at
// its Interval through a window timer on a hidden message-only window of its own, made when
// the timer first runs (a timer that never runs costs no window), on the thread that runs
// it; a handler's exception never leaves the timer procedure.
#pragma once

#include "platform/Component.h"

class TTimerWindowClass;

class TTimer : public TComponent {
  DECLARE_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Milliseconds between two OnTimer calls; 0 stops the timer.
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t Value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(const TNotifyEvent& Value);

  // The hidden window (HWND) that receives WM_TIMER, made when first needed.
  void* WindowHandle() const;

protected:
  // Fires OnTimer. Runs inside the timer's window procedure.
  virtual void Timer();

private:
  friend class TTimerWindowClass;
  // Kills the system timer and sets it again when the timer should run.
  void UpdateTimer();

  mutable void* FWindowHandle = nullptr;
  bool FEnabled = true;
  uint32_t FInterval = 1000;
  TNotifyEvent FOnTimer;
};
