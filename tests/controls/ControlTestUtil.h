// Shared pieces of the control tests: a top-level host window to put controls on, a
// custom control that records what reaches it, and helpers to show and locate things.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

// A borderless top-level window at a fixed place of the screen, filled with its Color.
class THostWindow : public TCustomControl {
  DECLARE_CLASS(THostWindow, TCustomControl)
public:
  explicit THostWindow(TComponent* AOwner) : TCustomControl(AOwner)
  {
    FControlStyle += csAcceptsControls;
    SetBounds(40, 40, 320, 240);
    SetColor(RGB(0xF0, 0xF0, 0xF0));
  }
  void CreateParams(TCreateParams& Params) override
  {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_CLIPCHILDREN;
    Params.WndParent = nullptr;
  }
};

// Records mouse, key and notification traffic.
class TProbeControl : public TCustomControl {
  DECLARE_CLASS(TProbeControl, TCustomControl)
public:
  explicit TProbeControl(TComponent* AOwner) : TCustomControl(AOwner)
  {
    SetBounds(10, 10, 100, 60);
    SetColor(RGB(0x20, 0x60, 0xC0));
  }
  std::vector<std::wstring> Log;
  int Paints = 0;
  TColor PaintColor = RGB(0x20, 0x60, 0xC0);

protected:
  void Paint() override
  {
    ++Paints;
    GetCanvas()->GetBrush()->SetColor(PaintColor);
    GetCanvas()->FillRect(GetClientRect());
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    Log.push_back(L"down " + std::to_wstring(X) + L"," + std::to_wstring(Y));
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
  {
    Log.push_back(L"up");
    TCustomControl::MouseUp(Button, Shift, X, Y);
  }
  void Click() override
  {
    Log.push_back(L"click");
    TCustomControl::Click();
  }
  void CMMouseEnter(TMessage& Message) override
  {
    Log.push_back(L"enter");
    TCustomControl::CMMouseEnter(Message);
  }
  void CMMouseLeave(TMessage& Message) override
  {
    Log.push_back(L"leave");
    TCustomControl::CMMouseLeave(Message);
  }
};

// Shows a top-level control's window and makes it the foreground window.
inline void ShowTopLevel(TWinControl* Control)
{
  HWND h = Control->GetHandle();
  ::ShowWindow(h, SW_SHOW);
  ActivateWindow(h);
  ::UpdateWindow(h);
  PumpPending();
}

// The screen point at client point (X, Y) of a control.
inline POINT ScreenPoint(TControl* Control, int X, int Y)
{
  return Control->ClientToScreen(Point(X, Y));
}

// A suite whose tests share one shown, active host window: destroying an activated
// top-level window waits seconds on the virtual display, so it is made once per suite.
// Each test's controls on it are freed after the test.
class TSharedHostTest : public testing::Test {
protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;
  static THostWindow* Host;
};

// Moves the cursor somewhere no test window lies.
inline void ParkMouse()
{
  MoveMouseTo(POINT{::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5});
}

// How often Entry stands in Log.
inline int Count(const std::vector<std::wstring>& Log, const std::wstring& Entry)
{
  return int(std::count(Log.begin(), Log.end(), Entry));
}
