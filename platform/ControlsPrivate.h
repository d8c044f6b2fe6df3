// Shared state of the control layer's implementation files: the control whose window is
// being created on this thread, the window property that maps an HWND to its control,
// and the globals (capture, mouse tracking) that must forget a control when it goes.
#pragma once

#include "platform/Controls.h"

namespace ControlsImpl {

// The control of each window made by this layer, kept in the process rather than as a window
// property: every message of every control looks its control up, and under some systems
// reading a window property is a call into another process.
void BindControlHandle(HWND Window, TWinControl* Control);
void UnbindControlHandle(HWND Window, const TWinControl* Control);
TWinControl* ControlOfHandle(HWND Window);

// Set around CreateWindowExW: the first message of the new window binds it to this control.
TWinControl*& CreatingControl();

// The graphic control holding the capture through its parent's window, or nil.
TControl*& CaptureControlSlot();
// The control the mouse was last seen over.
TControl*& MouseControlSlot();

// The window procedure of every class this layer registers.
LRESULT CALLBACK StdWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

// Marks a message record as being dispatched by a control, for as long as the scope
// lives. A named handler that passes its own message on to WndProc again (a descendant's
// handler overriding one of ours by name and then calling the inherited WndProc) would be
// handed the message once more, without end; WndProc gives such a message the default
// handling instead. A handler that changes Msg before passing the record on has made a
// new message, which is dispatched as usual.
class TDispatchScope {
public:
  TDispatchScope(const TControl* Control, const TMessage& Message);
  ~TDispatchScope();
  TDispatchScope(const TDispatchScope&) = delete;
  TDispatchScope& operator=(const TDispatchScope&) = delete;

  // True while Control is dispatching this very record, still carrying the same message.
  static bool IsDispatching(const TControl* Control, const TMessage& Message);

private:
  const TControl* FControl;
  const TMessage* FMessage;
  UINT FMsg;
  TDispatchScope* FOuter;
};

}  // namespace ControlsImpl

// Lends a paint's DC to a control's canvas for a scope and takes it back when the scope
// ends, even when drawing raised.
class TCanvasPaintScope {
public:
  TCanvasPaintScope(TControlCanvas* Canvas, HDC DC) : FCanvas(Canvas)
  {
    FCanvas->FreeHandle();
    FCanvas->SetHandle(DC);
  }
  ~TCanvasPaintScope() { FCanvas->SetHandle(nullptr); }
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

private:
  TControlCanvas* FCanvas;
};

// Releases the window DCs that canvases took from Control's window.
void FreeControlCanvases(TWinControl* Control);

// Clears every global that refers to Control; called when it is destroyed.
void ForgetControl(TControl* Control);
