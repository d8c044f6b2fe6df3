// Dragging a bar window with the mouse: an own message loop while the mouse is captured,
// finding the dock site under the cursor, the short wait before a floating bar docks, Ctrl
// to keep it floating and Esc to stop.
#include "bars/model/bar.h"

#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "platform/Application.h"
#include "platform/Forms.h"

#include <functional>

namespace {

// The one drag under way (the wait timer has no window to find it through).
TdxBars* GDraggingBars = nullptr;

TPoint PtAdd(const TPoint& A, const TPoint& B)
{
  return TPoint{A.x + B.x, A.y + B.y};
}
TPoint PtSub(const TPoint& A, const TPoint& B)
{
  return TPoint{A.x - B.x, A.y - B.y};
}

TPoint DragCursorPos()
{
  POINT p{};
  GetCursorPos(&p);
  return TPoint{p.x, p.y};
}

// Whether the dock site's parent is the visible window at P inside the grandparent; a
// top-level parent is never covered within a parent of its own.
bool IsParentUncoveredAt(TdxDockControl* ADock, const TPoint& P)
{
  HWND parent = nullptr;
  if (ADock->HandleAllocated())
    parent = GetParent(ADock->GetHandle());
  else if (TWinControl* control = ADock->GetParent(); control && control->HandleAllocated())
    parent = control->GetHandle();  // an empty site not yet given its window
  else
    return false;
  HWND grandParent = parent ? GetParent(parent) : nullptr;
  if (!parent || !grandParent || (GetWindowLongW(parent, GWL_STYLE) & WS_CHILD) == 0)
    return true;
  POINT p{P.x, P.y};
  ScreenToClient(grandParent, &p);
  return ChildWindowFromPointEx(grandParent, p, CWP_SKIPINVISIBLE) == parent;
}

bool AsyncControlKeyDown()
{
  return GetAsyncKeyState(VK_CONTROL) < 0;
}

}  // namespace

bool (*dxBarIsControlKeyDown)() = &AsyncControlKeyDown;

HWND TdxBars::GetCaptureWindow() const
{
  if (FBarManager->IsCustomizing())
    if (HWND wnd = FBarManager->GetCustomizingFormHandle())
      return wnd;
  if (TCustomForm* form = FBarManager->GetTopLevelForm())
    return form->GetHandle();
  TWinControl* parent = FBarManager->GetParentControl();
  return parent ? parent->GetHandle() : nullptr;
}

void TdxBars::KillWaitTimer()
{
  FWaitCall.Withdraw();
}

// Once the wait is over the move is made again, timer-driven, so the bar docks then.
void TdxBars::StartWaitTimer()
{
  KillWaitTimer();
  FWaitCall = RunLater(
      [this] {
        if (GDraggingBars == this && FMovingBarControl)
          MoveBarTo(PtAdd(DragCursorPos(), FDragOffset), true);
      },
      unsigned(std::max(FBarManager->GetWaitForDockingTime(), 0)));
}

bool TdxBars::FindTarget(const TPoint& P, TdxBarDockingStyle& AStyle, TdxDockControl*& ADockControl) const
{
  AStyle = dsNone;
  ADockControl = nullptr;
  if (FDragging && dxBarIsControlKeyDown())
    return true;
  TdxBar* bar = FMovingBarControl ? FMovingBarControl->GetBar() : nullptr;
  static const TdxBarDockingStyle order[] = {dsLeft, dsRight, dsTop, dsBottom};
  for (const TPoint& point : {P, PtSub(P, FDragOffset)}) {
    for (TdxBarDockingStyle style : order) {
      for (int i = 0; i < FBarManager->GetDockControlCount(); ++i) {
        auto* dock = dynamic_cast<TdxDockControl*>(FBarManager->GetDockControl(i));
        if (!dock || dock->GetDockingStyle() != style)
          continue;
        if (!dock->GetAllowDocking() && !dock->IsDesigning())
          continue;
        TdxBarManager* manager = dock->GetBarManager() ? dock->GetBarManager() : FBarManager;
        if (!manager->CanDocking(bar, style, dock))
          continue;
        if (!PtInRect(dock->GetDockZoneRect(), point) || !IsParentUncoveredAt(dock, point))
          continue;
        AStyle = style;
        ADockControl = dock;
        return true;
      }
    }
  }
  return true;
}

void TdxBars::MoveBarTo(const TPoint& P, bool ATimerDriven)
{
  TdxBarControl* control = FMovingBarControl;
  TdxBar* bar = control ? control->GetBar() : nullptr;
  if (!bar)
    return;
  TdxBarDockingStyle style;
  TdxDockControl* dock;
  FindTarget(P, style, dock);
  if (!FBarManager->CanDocking(bar, style, dock))
    return;
  if (!ATimerDriven && control->GetDockingStyle() == dsNone && style != dsNone) {
    // A floating bar docks only after the wait: brushing past a dock site leaves it floating.
    StartWaitTimer();
    style = dsNone;
    dock = nullptr;
  }
  TPoint target = style == dsNone ? PtSub(P, FDragOffset) : P;
  TWeakRef<TdxBarControl> alive(control);
  if (style == control->GetDockingStyle() && (style == dsNone || dock == control->GetDockControl())) {
    if (style == dsNone) {
      TPoint topLeft = PtSub(target, FGrabPoint);
      SetWindowPos(control->GetHandle(), nullptr, topLeft.x, topLeft.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else
      dock->MoveBarControl(control, target);
    return;
  }
  // The grab point keeps its place in proportion when the window changes its size.
  TPoint oldSize = control->GetSize(control->GetDockingStyle());
  const bool wasVertical = control->IsVertical();
  const bool wasRotated = control->IsTextRotated();
  // The site the bar leaves, laid out again below once the bar is elsewhere.
  TWeakRef<TdxDockControl> left;
  if (control->GetDockingStyle() != dsNone) {
    if (TdxDockControl* oldDock = control->GetDockControl()) {
      oldDock->RemoveBarControl(control);
      left = oldDock;
    }
    if (bar->GetItemLinks())
      bar->GetItemLinks()->SetRecentItemCount(-1);
  }
  bar->FDockingStyle = style;
  bar->FDockControl = dock && !dock->IsOwnedByManager() ? dynamic_cast<TdxBarDockControl*>(dock) : nullptr;
  control->LockDocking();
  {
    TFinally unlock([&] {
      if (alive)
        control->UnlockDocking();
    });
    control->SetDockingStyle(style);
  }
  // The links of a bar that comes off a left or right site still hold the sizes they had
  // there, their captions turned: measured afresh, they fit the floating window. A bar that
  // turns its captions makes its item controls again, as an edit shows as a button turned.
  if (alive && ((style == dsNone && wasVertical) || control->IsTextRotated() != wasRotated))
    control->RebuildBar();
  if (!alive)
    return;
  TPoint newSize = control->GetSize(style);
  if (oldSize.x > 0 && oldSize.y > 0)
    FGrabPoint = TPoint{MulDiv(FGrabPoint.x, newSize.x, oldSize.x), MulDiv(FGrabPoint.y, newSize.y, oldSize.y)};
  if (style != dsNone)
    dock->DockBarControlAt(control, target, true);
  else {
    control->SizeForFloating();
    TPoint topLeft = PtSub(target, FGrabPoint);
    SetWindowPos(control->GetHandle(), nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (control->HandleAllocated())
    ShowWindow(control->GetHandle(), SW_SHOWNA);
  // A site is as large as what it holds: the row the bar left goes, and a site it only passed
  // through shrinks back.
  if (left && left.Get() != dock)
    left->RealignBars();
  bar->DoDockingStyleChanged();
}

void TdxBars::DragBar(TdxBarControl* ABarControl)
{
  if (!ABarControl || FDragging || !ABarControl->GetBar() || !ABarControl->HandleAllocated())
    return;
  TdxBar* bar = ABarControl->GetBar();
  TWeakRef<TdxBarControl> control(ABarControl);
  if (TdxDockCol* col = ABarControl->GetDockCol())
    col->SaveColumnPosition();

  FDragging = true;
  FMovingBarControl = ABarControl;
  GDraggingBars = this;
  TdxBarDockingStyle startStyle = ABarControl->GetDockingStyle();
  // The drag's state ends however the loop leaves.
  TFinally endDrag([this, control] {
    KillWaitTimer();
    if (TdxBarControl* c = control.Get()) {
      c->SetMoving(false);
      if (c->GetDockingStyle() != dsNone)
        if (TdxDockControl* dock = c->GetDockControl())
          dock->SaveColumnPositions();
    }
    FDragging = false;
    FMovingBarControl = nullptr;
    GDraggingBars = nullptr;
    // A bar dropped floating over its form must not end beneath it.
    if (control && control->GetDockingStyle() == dsNone && FBarManager)
      FBarManager->KeepFloatingBarsAboveForm();
  });

  ABarControl->SetMoving(true);
  TPoint last = DragCursorPos();
  FOriginalDockingStyle = startStyle;
  FDragOffset = TPoint{0, 0};
  RECT wr;
  GetWindowRect(ABarControl->GetHandle(), &wr);
  FGrabPoint = PtSub(last, TPoint{wr.left, wr.top});
  if (startStyle != dsNone) {
    TdxDockControl* dock = ABarControl->GetDockControl();
    TdxDockCol* col = ABarControl->GetDockCol();
    if (dock && col) {
      POINT colPos{col->GetLeft(), col->GetTop()};
      ClientToScreen(dock->GetHandle(), &colPos);
      int row = bar->GetRow();
      dock->RemoveBarControl(ABarControl);
      TPoint boundary = dock->GetRowBoundaryPoint(row, bar->GetOneOnRow());
      if (ABarControl->IsVertical())
        FDragOffset.x = boundary.x - last.x;
      else
        FDragOffset.y = boundary.y - last.y;
      dock->DockBarControlAt(ABarControl, TPoint{colPos.x, colPos.y}, true);
      GetWindowRect(ABarControl->GetHandle(), &wr);
      FDragPoint = PtSub(last, TPoint{wr.left, wr.top});
      FGrabPoint = FDragPoint;
    }
  }

  ProcessPaintMessages();
  HWND capture = GetCaptureWindow();
  if (!capture)
    return;
  SetCapture(capture);
  auto moveTo = [&](const TPoint& p) {
    if (p == last)
      return;
    MoveBarTo(PtAdd(p, FDragOffset));
    last = p;
  };
  while (GetCapture() == capture && control) {
    MSG msg;
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1)
      break;
    if (got == 0) {
      // Someone asked the program to end: the quit message goes back for the outer loop.
      PostQuitMessage(int(msg.wParam));
      break;
    }
    bool done = false;
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_KEYUP:
        if (msg.wParam == VK_CONTROL) {
          last = TPoint{-1, -1};
          moveTo(DragCursorPos());
        } else if (msg.wParam == VK_ESCAPE)
          done = true;
        break;
      case WM_MOUSEMOVE: {
        POINT p{short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam))};
        ClientToScreen(msg.hwnd, &p);
        moveTo(TPoint{p.x, p.y});
        break;
      }
      case WM_LBUTTONUP:
        done = true;
        break;
      default:
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        break;
    }
    if (done)
      break;
  }
  if (GetCapture() == capture)
    ReleaseCapture();
}
