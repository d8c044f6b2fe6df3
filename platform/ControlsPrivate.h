// Shared state of the control layer's implementation files: the control whose window is
// being created on this thread, the window property that maps an HWND to its control,
// and the globals (capture, mouse tracking) that must forget a control when it goes.
#pragma once

#include "platform/Controls.h"

namespace ControlsImpl {

// The window property holding the TWinControl* of a window made by this layer.
inline constexpr const wchar_t* kControlProp = L"TWinControl.Object";

// Set around CreateWindowExW: the first message of the new window binds it to this control.
TWinControl*& CreatingControl();

// The graphic control holding the capture through its parent's window, or nil.
TControl*& CaptureControlSlot();
// The control the mouse was last seen over.
TControl*& MouseControlSlot();

// The window procedure of every class this layer registers.
LRESULT CALLBACK StdWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

}  // namespace ControlsImpl

// Releases the window DCs that canvases took from Control's window.
void FreeControlCanvases(TWinControl* Control);

// Clears every global that refers to Control; called when it is destroyed.
void ForgetControl(TControl* Control);
