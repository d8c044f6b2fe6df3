// Extra non-visual and simple components of the control layer, and the panel and bevel that
// group and frame other controls. TTimer raises OnTimer at
// its Interval through a window timer on a hidden message-only window of its own, made when
// the timer first runs (a timer that never runs costs no window), on the thread that runs
// it; a handler's exception never leaves the timer procedure.
#pragma once

#include "platform/Component.h"
#include "platform/Controls.h"

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

// ---------------------------------------------------------------------------
// Bevels: the raised or lowered edges of panels and bevel shapes.

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
DECLARE_ENUM_INFO(TBevelCut)
using TPanelBevel = TBevelCut;
using TBevelWidth = int;

// Draws a frame Width pixels wide, TopColor on the top and left, BottomColor on the bottom
// and right, and shrinks Rect by it.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

// A container drawn as a raised (or lowered) plate with an optional caption; children are
// laid out inside its border and bevels.
class TCustomPanel : public TCustomControl {
  DECLARE_CLASS(TCustomPanel, TCustomControl)
public:
  explicit TCustomPanel(TComponent* AOwner);

  TPanelBevel GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  // Below 1 is taken as 1.
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  // Space between the bevels; negative is taken as 0.
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);

  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  // The width all bevels and the border take on each side.
  int FrameWidth() const;

  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TAlignment FAlignment = taCenter;
  bool FShowCaption = true;
};

class TPanel : public TCustomPanel {
  DECLARE_CLASS(TPanel, TCustomPanel)
public:
  using TCustomPanel::TCustomPanel;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
DECLARE_ENUM_INFO(TBevelShape)
enum TBevelStyle { bsLowered, bsRaised };
DECLARE_ENUM_INFO(TBevelStyle)

// A box, frame or line with a bevelled edge; no window.
class TBevel : public TGraphicControl {
  DECLARE_CLASS(TBevel, TGraphicControl)
public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

protected:
  void Paint() override;

  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};
