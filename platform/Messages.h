// Message numbers private to the control layer, and the message record a control's
// window procedure works on. Every private number is declared here once, with who sends
// it and what it means; CN_ numbers are window messages reflected back to the control
// that caused them.
#pragma once

#include "platform/Types.h"

// One message as a control's WindowProc sees it; Result is what the window procedure returns.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// The signed coordinates a mouse message packs into its LParam.
inline int LParamX(LPARAM LParam)
{
  return int(short(LOWORD(LParam)));
}
inline int LParamY(LPARAM LParam)
{
  return int(short(HIWORD(LParam)));
}
inline TPoint LParamPoint(LPARAM LParam)
{
  return TPoint{LParamX(LParam), LParamY(LParam)};
}

// clang-format off
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE              = CM_BASE + 0;   // form: its window became the active one
constexpr UINT CM_DEACTIVATE            = CM_BASE + 1;   // form: its window stopped being the active one
constexpr UINT CM_GOTFOCUS              = CM_BASE + 2;   // form: a control of it received the focus
constexpr UINT CM_LOSTFOCUS             = CM_BASE + 3;   // form: a control of it lost the focus
constexpr UINT CM_CANCELMODE            = CM_BASE + 4;   // anyone: end a mouse mode (capture, drag) now; LParam = the control that asks
constexpr UINT CM_DIALOGKEY             = CM_BASE + 5;   // focused control to its form: Tab, arrows, Enter or Esc it does not want; WParam = key; nonzero Result = used
constexpr UINT CM_DIALOGCHAR            = CM_BASE + 6;   // form to its controls: an accelerator character; WParam = char; nonzero Result = used
constexpr UINT CM_FOCUSCHANGED          = CM_BASE + 7;   // form to its controls: the focused control changed; LParam = the new one
constexpr UINT CM_PARENTFONTCHANGED     = CM_BASE + 8;   // parent to children: its font changed (children with ParentFont copy it)
constexpr UINT CM_PARENTCOLORCHANGED    = CM_BASE + 9;   // parent to children: its colour changed (children with ParentColor copy it)
constexpr UINT CM_HITTEST               = CM_BASE + 10;  // parent to a graphic child: does the point (LParam, client) hit you; nonzero = yes
constexpr UINT CM_VISIBLECHANGED        = CM_BASE + 11;  // control to itself: Visible changed; WParam = the new value
constexpr UINT CM_ENABLEDCHANGED        = CM_BASE + 12;  // control to itself: Enabled changed
constexpr UINT CM_COLORCHANGED          = CM_BASE + 13;  // control to itself: Color changed
constexpr UINT CM_FONTCHANGED           = CM_BASE + 14;  // control to itself: its font changed (also sent by the bar library to re-read fonts)
constexpr UINT CM_CURSORCHANGED         = CM_BASE + 15;  // control to itself: Cursor changed
constexpr UINT CM_TEXTCHANGED           = CM_BASE + 18;  // control to itself: Caption/Text changed
constexpr UINT CM_MOUSEENTER            = CM_BASE + 19;  // the layer's mouse tracking: the mouse came over the control
constexpr UINT CM_MOUSELEAVE            = CM_BASE + 20;  // the layer's mouse tracking: the mouse left the control
constexpr UINT CM_SHOWINGCHANGED        = CM_BASE + 25;  // windowed control to itself: Showing changed; show or hide the window
constexpr UINT CM_ENTER                 = CM_BASE + 26;  // form (or the layer without a form) to a control: it became the focused control
constexpr UINT CM_EXIT                  = CM_BASE + 27;  // form (or the layer without a form) to a control: it stopped being the focused control
constexpr UINT CM_WANTSPECIALKEY        = CM_BASE + 30;  // layer to the focused control: do you take this Tab/arrow/Enter/Esc yourself; WParam = key; nonzero = yes
constexpr UINT CM_BUTTONPRESSED         = CM_BASE + 31;  // glyph button to its siblings: it went down in group WParam; LParam = the button (others of the group go up)
constexpr UINT CM_RELEASE               = CM_BASE + 33;  // posted by TCustomForm::Release to the application window (free the released forms) or, without one, to the form (free itself)
constexpr UINT CM_SHOWHINTCHANGED       = CM_BASE + 34;  // control to itself: ShowHint changed
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;  // parent to children: ShowHint changed (children with ParentShowHint copy it)
constexpr UINT CM_SYSCOLORCHANGE        = CM_BASE + 36;  // application to every control: system colours changed
constexpr UINT CM_WININICHANGE          = CM_BASE + 37;  // application to every control: system settings changed
constexpr UINT CM_TABSTOPCHANGED        = CM_BASE + 40;  // control to itself: TabStop changed
constexpr UINT CM_CONTROLLISTCHANGE     = CM_BASE + 44;  // container to itself and its parents: a child is inserted (WParam = control, LParam = 1) or removed (LParam = 0)
constexpr UINT CM_CHILDKEY              = CM_BASE + 46;  // focused control up its parents: a key arrives; WParam = key, LParam = the control; nonzero = used
constexpr UINT CM_HINTSHOW              = CM_BASE + 48;  // application's hint machinery to a control: a hint is about to show; nonzero Result = suppress
constexpr UINT CM_RECREATEWND           = CM_BASE + 51;  // control to itself (RecreateWnd): destroy and remake the window now
constexpr UINT CM_INVALIDATE            = CM_BASE + 52;  // control to itself and its parent: it was invalidated; WParam = 1 when the parent should repaint too
constexpr UINT CM_CONTROLCHANGE         = CM_BASE + 54;  // container to itself: a child is inserted (LParam = 1) or removed (0); WParam = control
constexpr UINT CM_MOUSEWHEEL            = CM_BASE + 67;  // layer to the control under the mouse and its parents: wheel turned; WParam/LParam as WM_MOUSEWHEEL
// clang-format on

// The bar library's own messages (WM_APP range; no window of the layers below uses it).
// clang-format off
constexpr UINT DXM_BAR_REBUILD          = 0x8065;  // posted by a docked toolbar to itself: rebuild once the current message is done
constexpr UINT DXM_BAR_SYNCHRONIZE      = 0x8066;  // posted to the bar library's system controller window: run the calls waiting to be synchronised
constexpr UINT DXM_MENU_ANIMATION_END   = 0x8067;  // posted by a menu window to itself after its animation's last frame: join and free the thread
// A WM_MOUSEMOVE key-state bit no mouse key uses: posted by a bar window after a layout or a
// deactivation to the bar window under the pointer, whose hot tracking then re-evaluates the
// control under a pointer that has not moved.
constexpr WPARAM dxBarHotTrackMouseMove = 0x8000;
// clang-format on

// Window messages reflected back to the control they concern: WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLORxxx and friends reach the parent window, which
// hands them to the child control as CN_BASE + the message. Key messages go the same way
// from the message loop before dispatching (a nonzero Result consumes the key).
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
