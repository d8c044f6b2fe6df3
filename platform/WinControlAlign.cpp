// Children of a windowed control: the Controls list and tab order, lookups by position,
// broadcasts, streaming of children, and alignment: Align (top, bottom, left, right, then
// client, each with margins) and anchors keeping their distances to the parent's edges.
#include <algorithm>

#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"

// ---------------------------------------------------------------------------
// The Controls list

TControl* TWinControl::GetControls(int Index) const
{
  if (Index < 0 || Index >= GetControlCount())
    throw EListError(L"Control index out of bounds (" + IntToStr(Index) + L")");
  return FControls[size_t(Index)];
}

void TWinControl::InsertControl(TControl* AControl)
{
  if (!AControl || AControl->FParent == this)
    return;
  if (AControl->FParent)
    AControl->FParent->RemoveControl(AControl);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  FControls.push_back(AControl);
  auto* window = dynamic_cast<TWinControl*>(AControl);
  if (window) {
    int wanted = window->FTabOrderWanted;
    FTabList.push_back(window);
    if (wanted >= 0)
      window->UpdateTabOrder(wanted);
  }
  AControl->FParent = this;
  // Inherited attributes follow the new parent.
  AControl->Perform(CM_PARENTFONTCHANGED);
  AControl->Perform(CM_PARENTCOLORCHANGED);
  AControl->Perform(CM_PARENTSHOWHINTCHANGED);
  AControl->UpdateAnchorRules();
  if (window)
    window->UpdateControlState();
  else if (FHandle)
    AControl->Invalidate();
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  AlignControl(AControl);
}

void TWinControl::RemoveControl(TControl* AControl)
{
  auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it == FControls.end())
    return;
  bool destroying = FComponentState.Contains(csDestroying);
  if (!destroying)
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (auto* window = dynamic_cast<TWinControl*>(AControl)) {
    // Its window cannot outlive the parent window it was made in.
    HWND focus = ::GetFocus();
    if (window->FHandle && focus && (focus == window->FHandle || ::IsChild(window->FHandle, focus)))
      ::SetFocus(FHandle);
    window->DestroyHandle();
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), window), FTabList.end());
  } else if (FHandle && !destroying) {
    AControl->Invalidate();
  }
  it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it != FControls.end())
    FControls.erase(it);
  if (ControlsImpl::CaptureControlSlot() == AControl)
    SetCaptureControl(nullptr);
  AControl->FParent = nullptr;
  if (!destroying) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
    Realign();
  }
}

bool TWinControl::ContainsControl(TControl* Control) const
{
  for (TControl* c = Control; c; c = c->FParent)
    if (c == this)
      return true;
  return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls)
{
  // Windows lie above every graphic control; within each kind the last is on top.
  auto hits = [&](TControl* c) {
    if (!c->FVisible || (!AllowDisabled && !c->FEnabled))
      return false;
    if (!PtInRect(c->GetBoundsRect(), Pos))
      return false;
    return c->Perform(CM_HITTEST, 0, MAKELPARAM(Pos.x - c->FLeft, Pos.y - c->FTop)) != 0;
  };
  if (AllowWinControls)
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
      if (dynamic_cast<TWinControl*>(*it) && hits(*it))
        return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (!dynamic_cast<TWinControl*>(*it) && hits(*it))
      return *it;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
  for (TControl* c : std::vector<TControl*>(FControls)) {
    Message.Result = c->Perform(Message.Msg, Message.WParam, Message.LParam);
    if (Message.Result != 0)
      return;
  }
}

void TWinControl::NotifyControls(UINT Msg)
{
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
  for (TControl* c : FControls)
    if (c->Owner() == Root)
      Proc(c);
}

// ---------------------------------------------------------------------------
// Tab order

void TWinControl::SetTabStop(bool Value)
{
  if (FTabStop == Value)
    return;
  FTabStop = Value;
  if (FHandle) {
    LONG_PTR style = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
    ::SetWindowLongPtrW(FHandle, GWL_STYLE, Value ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::GetTabOrder() const
{
  if (!FParent)
    return FTabOrderWanted;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
  if (!FParent || FComponentState.Contains(csReading)) {
    FTabOrderWanted = Value;  // applied when the parent is known
    if (!FParent)
      return;
  }
  UpdateTabOrder(Value);
}

void TWinControl::UpdateTabOrder(int Value)
{
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end())
    return;
  list.erase(it);
  // Out of range puts it last, as a negative or too large order reads.
  if (Value < 0 || size_t(Value) > list.size())
    Value = int(list.size());
  list.insert(list.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List)
{
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent)
{
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty())
    return nullptr;
  auto it = std::find(list.begin(), list.end(), CurControl);
  int start = it == list.end() ? (GoForward ? -1 : int(list.size())) : int(it - list.begin());
  int n = int(list.size());
  for (int step = 1; step <= n; ++step) {
    int i = ((GoForward ? start + step : start - step) % n + n) % n;
    TWinControl* c = list[size_t(i)];
    if (c == CurControl)
      break;
    if ((!CheckTabStop || c->FTabStop) && (!CheckParent || c->FParent == this) && c->CanFocus())
      return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
    next->SetFocus();
}

// ---------------------------------------------------------------------------
// Alignment

void TWinControl::DisableAlign()
{
  ++FAlignLevel;
}

void TWinControl::EnableAlign()
{
  if (FAlignLevel == 0)
    return;
  if (--FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded))
    Realign();
}

void TWinControl::Realign()
{
  AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* AControl)
{
  if (FComponentState.Contains(csDestroying))
    return;
  if (FAlignLevel > 0 || FComponentState.Contains(csLoading)) {
    FControlState += csAlignmentNeeded;
    return;
  }
  DisableAlign();
  TFinally enable([this] {
    FControlState -= csAlignmentNeeded;
    EnableAlign();
  });
  TRect r = GetClientRect();
  AdjustClientRect(r);
  AlignControls(AControl, r);
}

namespace {

struct TMarginBox {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

}  // namespace

void TWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
  TRect client = GetClientRect();
  TSize clientSize = RectSize(client);

  // Places a child through SetBounds, marked so that it does not take the new bounds
  // as its own choice (anchor rules) or ask for another alignment.
  auto place = [](TControl* c, int l, int t, int w, int h) {
    TStateFlag aligning(c->FControlState, csAligning);
    c->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
  };
  auto margins = [](TControl* c) {
    TMarginBox m;
    if (c->FAlignWithMargins)
      m = {c->FMargins->GetLeft(), c->FMargins->GetTop(), c->FMargins->GetRight(), c->FMargins->GetBottom()};
    return m;
  };

  // Anchored controls keep their distances to the edges they are anchored to; a control
  // anchored to neither edge of an axis keeps its centre's proportion.
  for (TControl* c : std::vector<TControl*>(FControls)) {
    if (c->FAlign != alNone || !c->FAnchorRulesValid || c->FAnchors == TAnchors{akLeft, akTop})
      continue;
    const TRect& a = c->FAnchorRect;
    int dx = clientSize.cx - c->FAnchorParentSize.cx;
    int dy = clientSize.cy - c->FAnchorParentSize.cy;
    int l = a.left, t = a.top, w = RectWidth(a), h = RectHeight(a);
    bool ak_l = c->FAnchors.Contains(akLeft), ak_r = c->FAnchors.Contains(akRight);
    bool ak_t = c->FAnchors.Contains(akTop), ak_b = c->FAnchors.Contains(akBottom);
    if (ak_l && ak_r)
      w += dx;
    else if (ak_r)
      l += dx;
    else if (!ak_l)
      l += dx / 2;
    if (ak_t && ak_b)
      h += dy;
    else if (ak_b)
      t += dy;
    else if (!ak_t)
      t += dy / 2;
    place(c, l, t, w, h);
  }

  static constexpr TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign align : order) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->FAlign == align && c->FVisible)
        list.push_back(c);
    // Stacking order along the edge: the position each has now, so that a control
    // moved by hand lands where it was dropped; on a tie the control that changed wins.
    auto key = [align](TControl* c) {
      // clang-format off
      switch (align) {
        case alTop: return c->FTop;
        case alBottom: return -(c->FTop + c->FHeight);
        case alLeft: return c->FLeft;
        case alRight: return -(c->FLeft + c->FWidth);
        default: return 0;
      }
      // clang-format on
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* x, TControl* y) {
      int kx = key(x), ky = key(y);
      if (kx != ky)
        return kx < ky;
      return x == AControl && y != AControl;
    });
    for (TControl* c : list) {
      TMarginBox m = margins(c);
      int rw = RectWidth(Rect), rh = RectHeight(Rect);
      switch (align) {
        case alTop: {
          place(c, Rect.left + m.Left, Rect.top + m.Top, rw - m.Left - m.Right, c->FHeight);
          Rect.top += c->FHeight + m.Top + m.Bottom;
          break;
        }
        case alBottom: {
          place(c, Rect.left + m.Left, Rect.bottom - m.Bottom - c->FHeight, rw - m.Left - m.Right, c->FHeight);
          Rect.bottom -= c->FHeight + m.Top + m.Bottom;
          break;
        }
        case alLeft: {
          place(c, Rect.left + m.Left, Rect.top + m.Top, c->FWidth, rh - m.Top - m.Bottom);
          Rect.left += c->FWidth + m.Left + m.Right;
          break;
        }
        case alRight: {
          place(c, Rect.right - m.Right - c->FWidth, Rect.top + m.Top, c->FWidth, rh - m.Top - m.Bottom);
          Rect.right -= c->FWidth + m.Left + m.Right;
          break;
        }
        default:
          place(c, Rect.left + m.Left, Rect.top + m.Top, rw - m.Left - m.Right, rh - m.Top - m.Bottom);
          break;
      }
      // What is left never turns inside out; controls that no longer fit keep their
      // size (and stick out) rather than lose it.
      Rect.bottom = std::max(Rect.bottom, Rect.top);
      Rect.right = std::max(Rect.right, Rect.left);
    }
  }
}
