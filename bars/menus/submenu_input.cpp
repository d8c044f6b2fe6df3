// The menu window's input: its message table, the menu keys, the mouse over the items, the
// scroll buttons, the tear-off strip and the expand button, and the scroll timer. Closing a
// menu frees it: every step after a call that may close it checks a weak reference first.
#include "bars/menus/submenu.h"

#include "platform/Win.h"

#include "bars/itemcontrols/buttons.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/menus/menuanimation.h"
#include "bars/painters/painter.h"
#include "platform/Messages.h"

namespace {

// Scroll steps while the mouse rests on a scroll button: slower for buttons of their own.
constexpr UINT SeparateScrollInterval = 200;
constexpr UINT ScrollInterval = 80;

const TPoint NoMenuPoint{-1, -1};

TPoint MenuCursorPos()
{
  return dxBarCursorPos();
}

// Closes the menu a button-like control opened at once, without the delay a menu gives it.
void CloseOpenerAtOnce(TdxBarItemControl* AOpener)
{
  if (auto* buttonLike = dynamic_cast<TdxBarButtonLikeControl*>(AOpener))
    buttonLike->DeactivateControl(true);
  else if (AOpener)
    AOpener->Deactivate();
}

}  // namespace

// ---------------------------------------------------------------------------
// The message table

void TdxBarSubMenuControl::WndProc(TMessage& Message)
{
  // clang-format off
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS; return;
    case WM_NCCALCSIZE: return WMNCCalcSize(Message);
    case WM_NCHITTEST: return WMNCHitTest(Message);
    case WM_PRINT: return WMPrint(Message);
    case WM_TIMER: return WMTimer(Message);
    case DXM_MENU_ANIMATION_END: return StopAnimation();
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return WMRButton(Message);
    default: return TCustomdxBarControl::WndProc(Message);
  }
  // clang-format on
}

void TdxBarSubMenuControl::WMNCCalcSize(TMessage& Message)
{
  TCustomdxBarControl::WndProc(Message);
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
  if (!params)
    return;
  const TRect b = GetBorders();
  RECT& r = params->rgrc[0];
  r.left += b.left;
  r.top += b.top + GetDetachStripAreaHeight();
  r.right -= b.right;
  r.bottom -= b.bottom;
  if (r.right < r.left)
    r.right = r.left;
  if (r.bottom < r.top)
    r.bottom = r.top;
}

void TdxBarSubMenuControl::WMNCHitTest(TMessage& Message)
{
  TCustomdxBarControl::WndProc(Message);
  if (!IsDetachable() || !HandleAllocated())
    return;
  const TPoint p = ScreenToClient(LParamPoint(Message.LParam));
  if (PtInRect(GetDetachStripRect(), p))
    Message.Result = HTCLIENT;
}

void TdxBarSubMenuControl::WMPrint(TMessage& Message)
{
  TCustomdxBarControl::WndProc(Message);
  if (Message.LParam & PRF_NONCLIENT)
    PaintNonClient(reinterpret_cast<HDC>(Message.WParam));
}

void TdxBarSubMenuControl::WMPrintClient(TMessage& Message)
{
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc)
    return;
  // WM_PRINT hands the client part with the origin at the client's corner.
  PaintClientTo(dc);
  Message.Result = 0;
}

void TdxBarSubMenuControl::WMTimer(TMessage& Message)
{
  const UINT_PTR id = Message.WParam;
  if (id == dxBarMenuScrollTimerId && FScrollTimerId)
    return ScrollTimerFired();
  if (id == dxBarMenuHotMarkTimerId || id == dxBarMenuExpandTimerId)
    return ExpandTimerFired(id);
  TCustomdxBarControl::WndProc(Message);
}

// A menu opened at a point (or from one that was) takes the right button as the left one.
bool TdxBarSubMenuControl::IsRightButtonResent() const
{
  if (FOwnerWidth == 0 && FOwnerHeight == 0)
    return true;
  auto* parent = dynamic_cast<TdxBarSubMenuControl*>(GetParentBarControl());
  return parent && parent->IsRightButtonResent();
}

void TdxBarSubMenuControl::WMRButton(TMessage& Message)
{
  if (!IsRightButtonResent() || !HandleAllocated())
    return TCustomdxBarControl::WndProc(Message);
  const UINT msg = Message.Msg == WM_RBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP;
  WPARAM keys = (Message.WParam & ~WPARAM(MK_RBUTTON)) | (msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0);
  Message.Result = ::SendMessageW(GetHandle(), msg, keys, Message.LParam);
}

void TdxBarSubMenuControl::CMFontChanged(TMessage& Message)
{
  TCustomdxBarControl::CMFontChanged(Message);
  RefreshFont();
  FTextHeightCache.Valid = false;
  if (FItemLinks)
    for (TdxBarItemLink* link : FItemLinks->GetVisibleItems())
      if (TdxBarItemControl* control = link->GetControl())
        control->ClearCachedSizes();
}

// ---------------------------------------------------------------------------
// Selection

void TdxBarSubMenuControl::SetSelectedControl(TdxBarItemControl* Value)
{
  TdxBarItemControl* old = GetSelectedControl();
  TWeakRef<TdxBarSubMenuControl> self(this);
  TWeakRef<TdxBarItemControl> oldRef(old);
  TCustomdxBarControl::SetSelectedControl(Value);
  // An entry left for another lets its submenu go after the delay (or no longer opens it).
  if (auto* left = dynamic_cast<TdxBarButtonLikeControl*>(oldRef.Get());
      self && left && left != Value && left->GetActive())
    left->Deactivate();
  if (!self)
    return;
  // The wait for a hot expand button starts over with every new selection.
  if (self && Value != old && FMarkState == TdxBarMarkState::Normal && IsExpandButtonShown())
    StartExpandTimer(dxBarMenuHotMarkTimerId, dxBarMenuExpandDelay());
}

// ---------------------------------------------------------------------------
// Keys

void TdxBarSubMenuControl::WMKeyDownBar(TMessage& Message)
{
  TWeakRef<TdxBarSubMenuControl> self(this);
  StopAnimation();
  const WORD key = WORD(Message.WParam);
  const TShiftState shift = GetShiftState();
  if ((key == VK_TAB || key == VK_DOWN) && IsExpandButtonShown()) {
    if (key == VK_DOWN && shift.Contains(ssCtrl)) {
      SetMarkState(TdxBarMarkState::Pressed);
      Message.Result = 0;
      return;
    }
    const auto& shown = FItemLinks->GetShownItems();
    if (!shift.Contains(ssCtrl) && !shift.Contains(ssShift) && !shift.Contains(ssAlt) && !shown.empty() &&
        GetSelectedLink() == shown.back()) {
      // Past the last recent link: the menu expands and the key moves on into the new links.
      SetMarkState(TdxBarMarkState::Pressed);
      if (self && HandleAllocated())
        ::SendMessageW(GetHandle(), WM_KEYDOWN, Message.WParam, Message.LParam);
      Message.Result = 0;
      return;
    }
  }
  if (!self)
    return;
  TCustomdxBarControl::WMKeyDownBar(Message);
}

bool TdxBarSubMenuControl::BarKeyDown(WORD AKey, TShiftState AShift)
{
  TWeakRef<TdxBarSubMenuControl> self(this);
  if (TCustomdxBarControl::BarKeyDown(AKey, AShift) || !self)
    return true;
  TCustomdxBarControl* parent = GetParentBarControl();
  switch (AKey) {
    case VK_RETURN:
      if (TdxBarItemControl* selected = GetSelectedControl())
        selected->ClickByKey();
      return true;
    case VK_ESCAPE: {
      // Marked before anything frees the menu: its creator reads the mark on close-up.
      FClosedByKey = true;
      TdxBarItemControl* opener = parent ? parent->GetSelectedControl() : nullptr;
      if (opener)
        CloseOpenerAtOnce(opener);
      if (self)
        CloseMenu();
      return true;
    }
    case VK_LEFT:
      if (parent && parent->GetKind() == bckSubMenu) {
        // Back to the parent menu, which keeps its selection.
        CloseOpenerAtOnce(parent->GetSelectedControl());
        if (self)
          CloseMenu();
        return true;
      }
      [[fallthrough]];
    case VK_RIGHT: {
      TCustomdxBarControl* root = GetRootBarControl();
      if (!root)
        return false;
      if (AKey == VK_LEFT && root->IsVertical()) {
        ::SendMessageW(GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
      }
      // The toolbar moves on to its previous or next command, whose menu opens.
      TWeakRef<TCustomdxBarControl> rootRef(root);
      CloseOpenerAtOnce(root->GetSelectedControl());
      if (!rootRef || !rootRef->HandleAllocated())
        return true;
      ::SendMessageW(rootRef->GetHandle(), WM_KEYDOWN, AKey, 0);
      if (!rootRef)
        return true;
      TdxBarItemControl* next = rootRef->GetSelectedControl();
      if (next && next->IsDropDown() && !next->IsDroppedDown() && next->WantsKey(VK_DOWN))
        next->KeyDown(VK_DOWN);
      return true;
    }
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// Mouse

void TdxBarSubMenuControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (Button == mbLeft && FScrollTimerId)
    return;
  TWeakRef<TdxBarSubMenuControl> self(this);
  TCustomdxBarControl::MouseDown(Button, Shift, X, Y);
  if (!self || !HandleAllocated() || Button != mbLeft)
    return;
  TdxBarItemControl* selected = GetSelectedControl();
  if (selected && selected->GetDoingClick())
    return;
  StopAnimation();
  const TPoint p{X, Y};
  if (FOverDetachStrip && PtInRect(GetDetachStripRect(), p)) {
    // The drag may free this menu: nothing of it is touched afterwards.
    DragOff(p);
    return;
  }
  if (IsExpandButtonShown() && PtInRect(GetMarkRect(), p)) {
    if (FMarkState == TdxBarMarkState::Hot || FMarkState == TdxBarMarkState::Pressed) {
      // The release belongs to this press: it must not click the link the expanded menu
      // shows under the mouse.
      SetIgnoreMouseUp(true);
      SetMarkState(TdxBarMarkState::Pressed);
    } else {
      SelectItemControl(nullptr);
      if (self)
        SetMarkState(TdxBarMarkState::Hot);
    }
  }
}

void TdxBarSubMenuControl::MouseMove(TShiftState Shift, int X, int Y)
{
  const TPoint p{X, Y};
  if (IsAnimating()) {
    // Only a real move into the menu ends the animation.
    const TPoint cursor = MenuCursorPos();
    RECT w{};
    ::GetWindowRect(GetHandle(), &w);
    if (cursor == FAnimationMousePoint || !::PtInRect(&w, POINT{cursor.x, cursor.y}))
      return;
    StopAnimation();
  }
  TWeakRef<TdxBarSubMenuControl> self(this);
  if (TrackScrollButtons(p))
    return;
  TrackDetachStrip(p);
  if (self)
    TrackMarkButton(p);
  if (self)
    TCustomdxBarControl::MouseMove(Shift, X, Y);
}

bool TdxBarSubMenuControl::TrackScrollButtons(const TPoint& P)
{
  const bool over = (CanScrollUp() && PtInRect(GetScrollButtonRect(false), P)) ||
                    (CanScrollDown() && PtInRect(GetScrollButtonRect(true), P));
  if (over) {
    const TPoint screen = MenuCursorPos();
    if (!FScrollTimerId && screen != FLastScrollPoint) {
      StartScrollTimer();
      SelectItemControl(nullptr);
    }
    return true;
  }
  if (FScrollTimerId) {
    KillScrollTimer();
    FLastScrollPoint = NoMenuPoint;
    ::InvalidateRect(GetHandle(), nullptr, FALSE);
  }
  return false;
}

UINT TdxBarSubMenuControl::GetScrollTimerInterval() const
{
  TdxBarPainter* painter = GetPainter();
  return painter && painter->AreScrollButtonsSeparate() ? SeparateScrollInterval : ScrollInterval;
}

void TdxBarSubMenuControl::StartScrollTimer()
{
  if (!HandleAllocated() || FScrollTimerId)
    return;
  FScrollTimerId = ::SetTimer(GetHandle(), dxBarMenuScrollTimerId, GetScrollTimerInterval(), nullptr);
}

void TdxBarSubMenuControl::KillScrollTimer()
{
  if (FScrollTimerId && HandleAllocated())
    ::KillTimer(GetHandle(), dxBarMenuScrollTimerId);
  FScrollTimerId = 0;
}

void TdxBarSubMenuControl::ScrollTimerFired()
{
  const TPoint cursor = MenuCursorPos();
  const TPoint p = ScreenToClient(cursor);
  if (CanScrollUp() && PtInRect(GetScrollButtonRect(false), p)) {
    SetTopIndex(FTopIndex - 1);
    return;
  }
  if (CanScrollDown() && PtInRect(GetScrollButtonRect(true), p)) {
    SetTopIndex(FTopIndex + 1);
    return;
  }
  // The mouse left the buttons, or the end was reached: the item under it is hot again.
  KillScrollTimer();
  FLastScrollPoint = NoMenuPoint;
  TdxBarManager* manager = GetBarManager();
  TWinControl* parent = manager ? manager->GetParentControl() : nullptr;
  if (manager && manager->GetPendingDragItemLink() && parent && parent->HandleAllocated()) {
    const TPoint q = parent->ScreenToClient(cursor);
    ::PostMessageW(parent->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(q.x, q.y));
  } else {
    ::SendMessageW(GetHandle(), WM_MOUSEMOVE, dxBarHotTrackMouseMove, MAKELPARAM(p.x, p.y));
  }
}
