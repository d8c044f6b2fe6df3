// TControl's mouse messages: presses, releases and clicks (with capture taken for the
// press), double clicks, moves, the wheel offered up the parent chain, context menus and
// cancelled mouse modes.
#include "platform/Controls.h"

// ---------------------------------------------------------------------------
// Mouse

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift)
{
  if (FControlStyle.Contains(csNoStdEvents))
    return;
  int x = LParamX(Message.LParam), y = LParamY(Message.LParam);
  MouseDown(Button, KeysToShiftState(WORD(Message.WParam)) + Shift, x, y);
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button)
{
  if (FControlStyle.Contains(csNoStdEvents))
    return;
  int x = LParamX(Message.LParam), y = LParamY(Message.LParam);
  MouseUp(Button, KeysToShiftState(WORD(Message.WParam)), x, y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  CallEvent(OnMouseDown, this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
  CallEvent(OnMouseMove, this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  CallEvent(OnMouseUp, this, Button, Shift, X, Y);
}

void TControl::Click()
{
  CallEvent(OnClick, this);
}

void TControl::DblClick()
{
  CallEvent(OnDblClick, this);
}

void TControl::WMLButtonDown(TMessage& Message)
{
  DefaultHandler(Message);
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& Message)
{
  DefaultHandler(Message);
  TWeakRef<TControl> alive(this);
  if (FControlStyle.Contains(csClickEvents))
    DblClick();
  if (alive)
    DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& Message)
{
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse))
    SetMouseCapture(false);
  TWeakRef<TControl> alive(this);
  if (FControlState.Contains(csClicked)) {
    FControlState -= csClicked;
    TPoint p = Point(LParamX(Message.LParam), LParamY(Message.LParam));
    if (PtInRect(GetClientRect(), p))
      Click();
  }
  if (alive)
    DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& Message)
{
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& Message)
{
  DefaultHandler(Message);
  DoMouseUp(Message, mbRight);
}

void TControl::WMRButtonDblClk(TMessage& Message)
{
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TMessage& Message)
{
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& Message)
{
  DefaultHandler(Message);
  DoMouseUp(Message, mbMiddle);
}

void TControl::WMMButtonDblClk(TMessage& Message)
{
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, {ssDouble});
}

void TControl::WMMouseMove(TMessage& Message)
{
  DefaultHandler(Message);
  if (FControlStyle.Contains(csNoStdEvents))
    return;
  MouseMove(KeysToShiftState(WORD(Message.WParam)), LParamX(Message.LParam), LParamY(Message.LParam));
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
  bool handled = false;
  CallEvent(OnMouseWheel, this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

void TControl::WMMouseWheel(TMessage& Message)
{
  // Offered to the control and its parents first; unclaimed, the default handling
  // (which passes it to the parent window) runs.
  Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  if (Message.Result == 0)
    DefaultHandler(Message);
}

void TControl::CMMouseWheel(TMessage& Message)
{
  TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
  TPoint pos = Point(LParamX(Message.LParam), LParamY(Message.LParam));
  Message.Result = DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(Message.WParam), pos) ? 1 : 0;
  if (Message.Result == 0 && FParent)
    Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled)
{
  CallEvent(OnContextPopup, this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& Message)
{
  if (Message.Result != 0)
    return;
  TPoint screen = Point(LParamX(Message.LParam), LParamY(Message.LParam));
  // (-1, -1) marks a menu asked for from the keyboard: it belongs at the control.
  TPoint pos = screen.x == -1 && screen.y == -1 ? Point(-1, -1) : ScreenToClient(screen);
  bool handled = false;
  DoContextPopup(pos, handled);
  Message.Result = handled ? 1 : 0;
  if (!handled)
    DefaultHandler(Message);
}

void TControl::WMCancelMode(TMessage& Message)
{
  DefaultHandler(Message);
  if (GetMouseCapture()) {
    SetMouseCapture(false);
    if (FControlState.Contains(csLButtonDown))
      Perform(WM_LBUTTONUP, 0, LPARAM(-1));  // a release far outside: no click
  }
  FControlState -= csLButtonDown;
  FControlState -= csClicked;
}

void TControl::CMCancelMode(TMessage& Message)
{
  FControlState -= csClicked;
}

void TControl::CMHitTest(TMessage& Message)
{
  Message.Result = HTCLIENT;
}

void TControl::CMMouseEnter(TMessage& Message)
{
  CallEvent(OnMouseEnter, this);
}

void TControl::CMMouseLeave(TMessage& Message)
{
  CallEvent(OnMouseLeave, this);
}
