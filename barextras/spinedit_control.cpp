// The spin edit's control: the two buttons beside the editor, their drawing through the
// painter, the held button's auto-repeat, and the keys, characters and wheel of the editor.
#include "barextras/spinedit.h"

#include <algorithm>

#include "bars/barwindows/barcontrol.h"
#include "bars/painters/painter.h"
#include "lookandfeel/cxGeometry.h"
#include "platform/Graphics.h"
#include "platform/Messages.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarSpinEditControl, TdxBarEditControl)

namespace {

// The auto-repeat: the first repeat waits as long as a double click less this, then one
// step per RepeatInterval.
enum : UINT_PTR { FirstRepeatTimer = 1, RepeatTimer = 2 };
constexpr UINT FirstRepeatShortening = 100;
constexpr UINT RepeatInterval = 100;

}  // namespace

TdxBarSpinEditControl::TdxBarSpinEditControl(TdxBarItemLink* AItemLink) : TdxBarEditControl(AItemLink) {}

TdxBarSpinEditControl::~TdxBarSpinEditControl()
{
  EndHold(true);
}

TdxBarSpinEdit* TdxBarSpinEditControl::GetSpinEdit() const
{
  return dynamic_cast<TdxBarSpinEdit*>(GetItem());
}

TdxBarSpinEditButton TdxBarSpinEditControl::ButtonOfPart(int APart)
{
  return APart == dxBarSpinEditPartUp ? sbUp : APart == dxBarSpinEditPartDown ? sbDown : sbNone;
}

// ---------------------------------------------------------------------------
// Layout and drawing

void TdxBarSpinEditControl::CalcPainterParts(std::vector<TRect>& AParts)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->CalcSpinEditParts(GetDrawParams(), GetItemRect(), AParts);
}

TRect TdxBarSpinEditControl::GetButtonsRect() const
{
  const std::vector<TRect>& parts = GetPartRects();
  TdxBarPainter* painter = GetPainter();
  if (!painter || parts.size() <= size_t(dxBarSpinEditPartDown))
    return TRect{};
  const TRect up = parts[dxBarSpinEditPartUp], down = parts[dxBarSpinEditPartDown];
  if (IsRectEmpty(up) && IsRectEmpty(down))
    return TRect{};
  const TRect m = painter->GetSpinButtonMargins();
  return TRect{std::min(up.left, down.left) - m.left, up.top - m.top, std::max(up.right, down.right) + m.right,
               down.bottom + m.bottom};
}

TRect TdxBarSpinEditControl::GetEditorRect() const
{
  // The editor keeps off the buttons, so that presses on them reach the bar (or, while
  // editing, come back to the editor as presses outside it) instead of moving the caret.
  TRect r = GetTextAreaRect();
  const TRect buttons = GetButtonsRect();
  if (!IsRectEmpty(buttons))
    r.right = std::max<int>(r.left, buttons.left);
  return r;
}

void TdxBarSpinEditControl::CalcParts()
{
  TdxBarEditControl::CalcParts();
  SetWindowBounds(GetEditorRect());
}

void TdxBarSpinEditControl::CalcDrawParams(bool AFull)
{
  TdxBarEditControl::CalcDrawParams(AFull);
  if (TdxBarItemControlDrawParams* params = GetDrawParams())
    params->PressedPartIndex = FPressedPart;
}

void TdxBarSpinEditControl::DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams)
{
  TdxBarPainter* painter = GetPainter();
  HDC dc = AParams && AParams->Canvas ? AParams->Canvas->GetHandle() : nullptr;
  const TRect buttons = GetButtonsRect();
  if (painter && dc && !IsRectEmpty(buttons)) {
    // The painter numbers the buttons 1 (up) and 2 (down), not as parts of the control.
    auto* params = const_cast<TdxBarEditLikeControlDrawParams*>(AParams);
    auto asButton = [](int APart) {
      return APart == dxBarSpinEditPartUp     ? int(dxBarSpinButtonUp)
             : APart == dxBarSpinEditPartDown ? int(dxBarSpinButtonDown)
                                              : -1;
    };
    TRestore<int> hot(params->HotPartIndex, asButton(GetHotPartIndex()));
    TRestore<int> pressed(params->PressedPartIndex, asButton(FPressedPart));
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, buttons.left, buttons.top, buttons.right, buttons.bottom);
    painter->DrawSpinButtons(params, GetTextAreaRect());
    ::RestoreDC(dc, saved);
    ::ExcludeClipRect(dc, buttons.left, buttons.top, buttons.right, buttons.bottom);
  }
  DrawTextIn(AParams, GetEditorRect());
}

// ---------------------------------------------------------------------------
// Holding a button

int TdxBarSpinEditControl::PartAt(const TPoint& P) const
{
  // The buttons lie inside the text part: the later parts win.
  const std::vector<TRect>& parts = GetPartRects();
  for (int i = int(parts.size()) - 1; i >= 0; --i)
    if (PtInRect(parts[size_t(i)], P))
      return i;
  return -1;
}

int TdxBarSpinEditControl::PartAtEditorPoint(LPARAM APoint) const
{
  TCustomdxBarControl* bar = GetParent();
  HWND wnd = GetHandle();
  if (!bar || !bar->HandleAllocated() || !wnd)
    return -1;
  POINT p{LParamX(APoint), LParamY(APoint)};
  ::MapWindowPoints(wnd, bar->GetHandle(), &p, 1);
  return PartAt(TPoint{p.x, p.y});
}

bool TdxBarSpinEditControl::CanStep() const
{
  // A read-only number is not changed by its buttons either, as by its keys and wheel.
  TdxBarSpinEdit* edit = GetSpinEdit();
  return edit && !edit->GetReadOnly() && GetEnabled();
}

void TdxBarSpinEditControl::SetPressedPart(int Value)
{
  if (FPressedPart == Value)
    return;
  FPressedPart = Value;
  if (TdxBarItemControlDrawParams* params = GetDrawParams())
    params->PressedPartIndex = Value;
  Repaint();
}

void TdxBarSpinEditControl::StepPart(int APart)
{
  if (TdxBarSpinEdit* edit = GetSpinEdit(); edit && IsButtonPart(APart))
    edit->Step(ButtonOfPart(APart));
}

void TdxBarSpinEditControl::BeginHold(int APart)
{
  HWND wnd = GetHandle();
  TWeakRef<TdxBarSpinEditControl> self(this);
  SetPressedPart(APart);
  if (wnd) {
    ::SetCapture(wnd);
    FTimerWnd = wnd;
    const UINT wait = std::max<UINT>(::GetDoubleClickTime(), FirstRepeatShortening + 1) - FirstRepeatShortening;
    FTimerId = ::SetTimer(wnd, FirstRepeatTimer, wait, nullptr) ? UINT_PTR(FirstRepeatTimer) : 0;
  }
  StepPart(APart);
  // A handler of the step that ended editing or freed the item ends the hold too.
  if (self && (!GetFocused() || !GetSpinEdit()))
    EndHold(true);
}

void TdxBarSpinEditControl::EndHold(bool AReleaseCapture)
{
  const UINT_PTR timer = FTimerId;
  HWND wnd = FTimerWnd;
  FTimerId = 0;
  FTimerWnd = nullptr;
  if (timer && wnd && ::IsWindow(wnd))
    ::KillTimer(wnd, timer);
  if (AReleaseCapture && wnd && ::GetCapture() == wnd)
    ::ReleaseCapture();
  SetPressedPart(-1);
}

void TdxBarSpinEditControl::MouseDown(const TPoint& P)
{
  const int part = PartAt(P);
  if (!IsButtonPart(part) || FPressedPart != -1 || !CanStep())
    return;
  // The editor window holds the capture and the timers: editing starts first.
  TWeakRef<TdxBarSpinEditControl> self(this);
  SetFocused(true);
  if (self && GetFocused())
    BeginHold(part);
}

void TdxBarSpinEditControl::MouseMove(const TPoint& P)
{
  TdxBarEditControl::MouseMove(P);
  if (const int part = PartAt(P); GetEnabled() && IsButtonPart(part))
    SetHotPartIndex(part);
}

void TdxBarSpinEditControl::Deactivate()
{
  if (FTimerId && !IsButtonPart(FPressedPart))
    EndHold(true);
  TdxBarEditControl::Deactivate();
}

// ---------------------------------------------------------------------------
// The editor's messages

bool TdxBarSpinEditControl::HandleMouse(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // While editing, the bar hands presses on the buttons to the editor.
      const int part = PartAtEditorPoint(Message.LParam);
      if (!IsButtonPart(part) || FPressedPart != -1)
        return false;
      if (CanStep())
        BeginHold(part);
      return true;
    }
    case WM_MOUSEMOVE:
      if (!FTimerId)
        return false;
      // Off its button the held button pauses; back on it, it repeats again.
      SetPressedPart(PartAtEditorPoint(Message.LParam));
      return true;
    case WM_LBUTTONUP:
      if (!FTimerId && FPressedPart == -1)
        return false;
      EndHold(true);
      return true;
    case WM_CAPTURECHANGED:
      if (FTimerId)
        EndHold(false);
      return false;
    case WM_TIMER:
      if (!FTimerId || (Message.WParam != FirstRepeatTimer && Message.WParam != RepeatTimer))
        return false;
      if (Message.WParam == FirstRepeatTimer) {
        ::KillTimer(FTimerWnd, FirstRepeatTimer);
        FTimerId = ::SetTimer(FTimerWnd, RepeatTimer, RepeatInterval, nullptr) ? UINT_PTR(RepeatTimer) : 0;
      } else if (IsButtonPart(FPressedPart)) {
        StepPart(FPressedPart);
      }
      return true;
    case WM_MOUSEWHEEL:
      if (CanStep())
        StepPart(GET_WHEEL_DELTA_WPARAM(Message.WParam) < 1 ? dxBarSpinEditPartDown : dxBarSpinEditPartUp);
      return true;
    default:
      return false;
  }
}

bool TdxBarSpinEditControl::HandleKey(TMessage& Message)
{
  WORD key = WORD(Message.WParam);
  const bool alt = (HIWORD(Message.LParam) & KF_ALTDOWN) != 0;
  if ((key != VK_UP && key != VK_DOWN) || alt || !GetFocused() || !CanStep())
    return false;
  const int part = key == VK_UP ? dxBarSpinEditPartUp : dxBarSpinEditPartDown;
  TdxBarSpinEdit* edit = GetSpinEdit();
  TWeakRef<TdxBarSpinEditControl> self(this);
  if (Message.Msg == WM_KEYUP) {
    edit->DoKeyUp(key, KeyDataToShiftState(Message.LParam));
    if (self && !FTimerId)
      SetPressedPart(-1);
    return true;
  }
  edit->DoKeyDown(key, KeyDataToShiftState(Message.LParam));
  // A handler that took the key (or freed the control) keeps it from stepping.
  if (!self || key == 0)
    return true;
  if (!FTimerId) {
    SetPressedPart(part);
    StepPart(part);
  }
  return true;
}

bool TdxBarSpinEditControl::IsCharAccepted(wchar_t AChar) const
{
  TdxBarSpinEdit* edit = GetSpinEdit();
  if ((AChar >= L'0' && AChar <= L'9') || AChar == VK_BACK || AChar == 3 || AChar == 22 || AChar == 24)
    return true;
  if (!edit)
    return false;
  if (AChar == L'-')
    return edit->AcceptsMinus();
  return edit->GetValueType() == svtFloat && AChar == dxBarSpinDecimalSeparator();
}

void TdxBarSpinEditControl::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_DESTROY:
      EndHold(true);
      break;
    case WM_CHAR:
      if (GetFocused() && !IsCharAccepted(wchar_t(Message.WParam))) {
        Message.Result = 0;
        return;
      }
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (HandleKey(Message)) {
        Message.Result = 0;
        return;
      }
      break;
    default:
      if (HandleMouse(Message)) {
        Message.Result = 0;
        return;
      }
      break;
  }
  TdxBarEditControl::WndProc(Message);
}
