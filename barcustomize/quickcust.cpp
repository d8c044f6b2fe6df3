// Quick customisation: the check entries and commands of the mark's popup, and the popup's
// toolbar window.
#include "barcustomize/quickcust.h"

#include <algorithm>

#include "bars/model/bar.h"
#include "bars/model/customizing.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/model/registry.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxControls.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Forms.h"

IMPLEMENT_CLASS(TdxBarQuickCustItem, TdxBarButton)
IMPLEMENT_CLASS(TdxBarQuickCustExtButton, TdxBarButton)
IMPLEMENT_CLASS(TdxCustomQuickCustItemControl, TdxBarButtonControl)
IMPLEMENT_CLASS(TdxBarQuickCustItemControl, TdxCustomQuickCustItemControl)
IMPLEMENT_CLASS(TdxBarQuickCustExtButtonControl, TdxCustomQuickCustItemControl)
IMPLEMENT_CLASS(TdxBarQuickAccessItem, TdxBarSubItem)
IMPLEMENT_CLASS(TdxBarQuickAccessSubControl, TdxBarSubMenuControl)
IMPLEMENT_CLASS(TdxBarQuickControl, TdxBarControl)

namespace {

// The closing check waits this long after the popup may have lost its place in the chain.
constexpr UINT ClosingCheckInterval = 200;

TdxBarManager* ManagerOfBar(TdxBarControl* ABarControl)
{
  return ABarControl ? ABarControl->GetBarManager() : nullptr;
}

TRect WorkAreaAt(const TPoint& P)
{
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR monitor = ::MonitorFromPoint(POINT{P.x, P.y}, MONITOR_DEFAULTTONEAREST);
  if (monitor && ::GetMonitorInfoW(monitor, &info))
    return info.rcWork;
  RECT r{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

}  // namespace

// ---------------------------------------------------------------------------
// Items

void TdxBarQuickCustItem::DoClick()
{
  TWeakRef<TdxBarQuickCustItem> self(this);
  TdxBarButton::DoClick();
  if (!self)
    return;
  if (TdxBarItemLink* target = FTargetLink.Get())
    target->SetVisible(!target->GetVisible());
}

TdxBarQuickAccessItem::TdxBarQuickAccessItem(TComponent* AOwner) : TdxBarSubItem(AOwner)
{
  SetInternalLinks(true);
}

TCustomdxBarControl* TdxBarQuickAccessItem::CreateBarControl()
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return nullptr;
  return dynamic_cast<TCustomdxBarControl*>(TdxBarQuickAccessSubControl::StaticClass()->Create(manager));
}

// ---------------------------------------------------------------------------
// Item controls

int TdxCustomQuickCustItemControl::GetWidth()
{
  return TdxBarButtonControl::GetWidth() + GetHeight();
}

void TdxCustomQuickCustItemControl::Draw(const TRect& R, bool AFlag)
{
  const TRect check = GetCheckRect(R);
  TdxBarButtonControl::Draw(Rect(check.right, R.top, R.right, R.bottom), AFlag);
  TdxBarPainter* painter = GetPainter();
  TdxBarItemControlDrawParams* params = GetDrawParams();
  TCustomdxBarControl* bar = GetParent();
  HDC dc = params && params->Canvas ? params->Canvas->GetHandle() : nullptr;
  if (!painter || !bar || !dc)
    return;
  bar->FillBackground(dc, check, bar->GetBackgroundBrush());
  TdxBarItemStateFlags states;
  states.Down = IsChecked();
  states.Selected = IsSelected();
  // The cell looks like the glyph box of a checked menu entry, the mark drawn as a menu draws it.
  TRect cell = InflateRect(check, -1, -1);
  if (states.Down || states.Selected)
    painter->DrawGlyphFrame(this, dc, states, cell, bar->GetBackgroundBrush());
  painter->DrawCheckMarkInRect(this, dc, cell, states.Down, bkMenu, GetEnabled());
}

TdxBarItemLink* TdxBarQuickCustItemControl::GetTargetLink() const
{
  auto* item = dynamic_cast<TdxBarQuickCustItem*>(GetItem());
  return item ? item->GetTargetLink() : nullptr;
}

TdxBarItem* TdxBarQuickCustItemControl::GetTargetItem() const
{
  TdxBarItemLink* target = GetTargetLink();
  return target ? target->GetItem() : nullptr;
}

bool TdxBarQuickCustItemControl::IsChecked() const
{
  TdxBarItemLink* target = GetTargetLink();
  return target && target->GetVisible();
}

const String& TdxBarQuickCustItemControl::GetCaption() const
{
  TdxBarItemLink* target = GetTargetLink();
  return target ? target->GetCaption() : TdxCustomQuickCustItemControl::GetCaption();
}

TBitmap* TdxBarQuickCustItemControl::GetGlyph() const
{
  TdxBarItemLink* target = GetTargetLink();
  return target ? target->GetGlyph() : nullptr;
}

TBitmap* TdxBarQuickCustItemControl::GetLargeGlyph() const
{
  TdxBarItem* item = GetTargetItem();
  return item ? item->GetLargeGlyph() : nullptr;
}

int TdxBarQuickCustItemControl::GetImageIndex() const
{
  TdxBarItem* item = GetTargetItem();
  return item ? item->GetImageIndex() : -1;
}

int TdxBarQuickCustItemControl::GetLargeImageIndex() const
{
  TdxBarItem* item = GetTargetItem();
  return item ? item->GetLargeImageIndex() : -1;
}

TCustomImageList* TdxBarQuickCustItemControl::GetCurrentImages(int AImageSizeKind) const
{
  TdxBarItem* item = GetTargetItem();
  if (item && !IsLargeImageListUsed(AImageSizeKind))
    if (TCustomImageList* images = item->GetImages())
      return images;
  return TdxCustomQuickCustItemControl::GetCurrentImages(AImageSizeKind);
}

String TdxBarQuickCustItemControl::GetHint() const
{
  TdxBarItem* item = GetTargetItem();
  return item ? item->GetHint() : String();
}

TShortCut TdxBarQuickCustItemControl::GetShortCut() const
{
  TdxBarItem* item = GetTargetItem();
  return item ? item->GetShortCut() : TShortCut(0);
}

void TdxBarQuickCustItemControl::Click()
{
  TWeakRef<TdxBarQuickCustItemControl> self(this);
  TdxCustomQuickCustItemControl::Click();
  if (self && IsParentAlive())
    Repaint();
}

int TdxBarQuickCustExtButtonControl::GetIndent() const
{
  return TdxCustomQuickCustItemControl::GetIndent() + const_cast<TdxBarQuickCustExtButtonControl*>(this)->GetHeight();
}

// ---------------------------------------------------------------------------
// The popup window

TRect dxBarGetMarkScreenRect(TdxBarControl* ABarControl)
{
  if (!ABarControl || !ABarControl->HandleAllocated() || !ABarControl->HasMark())
    return TRect{};
  TRect mark = ABarControl->GetMarkRect();
  if (ABarControl->HasCaptionMark()) {
    RECT w{};
    ::GetWindowRect(ABarControl->GetHandle(), &w);
    return Rect(w.left + mark.left, w.top + mark.top, w.left + mark.right, w.top + mark.bottom);
  }
  return ABarControl->ClientToScreen(mark);
}

TdxBarQuickControl::TdxBarQuickControl(TdxBarControl* AParentToolbar)
    : TdxBarControl(ManagerOfBar(AParentToolbar), AddInternalBar(ManagerOfBar(AParentToolbar), AParentToolbar), true),
      FParentToolbar(AParentToolbar)
{
}

void TdxBarQuickControl::AfterConstruction()
{
  TdxBarControl::AfterConstruction();
  AttachInternal(FParentToolbar.Get(), false);
  FOpeningRect = dxBarGetMarkScreenRect(FParentToolbar.Get());
  FTimer = std::make_unique<TcxTimer>(nullptr);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(ClosingCheckInterval);
  FTimer->SetOnTimer(TNotifyEvent(this, &TdxBarQuickControl::TimerFired));
}

TdxBarQuickControl::~TdxBarQuickControl() = default;

TCustomForm* TdxBarQuickControl::GetPopupOwnerForm() const
{
  if (TdxBarControl* parent = FParentToolbar.Get())
    return parent->GetOwnerForm();
  return GetOwnerForm();
}

void TdxBarQuickControl::CreateParams(TCreateParams& Params)
{
  TdxBarControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WindowClass.style = CS_SAVEBITS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  TCustomForm* form = GetPopupOwnerForm();
  Params.WndParent = form && form->HandleAllocated() ? form->GetHandle() : nullptr;
}

TRect TdxBarQuickControl::GetFrameBorders() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetMenuBorders(this) : TRect{};
}

void TdxBarQuickControl::PaintFrame(HDC DC)
{
  TdxBarPainter* painter = GetPainter();
  if (!painter || !DC || !HandleAllocated())
    return;
  RECT w{};
  ::GetWindowRect(GetHandle(), &w);
  ::OffsetRect(&w, -w.left, -w.top);
  const TRect b = GetFrameBorders();
  const int saved = ::SaveDC(DC);
  ::ExcludeClipRect(DC, w.left + b.left, w.top + b.top, w.right - b.right, w.bottom - b.bottom);
  // The borders show the window's background where the painter draws only lines.
  FillBackground(DC, w, GetBackgroundBrush());
  painter->DrawMenuFrame(this, DC, w);
  ::RestoreDC(DC, saved);
}

void TdxBarQuickControl::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_NCCALCSIZE: {
      const TRect b = GetFrameBorders();
      RECT* r = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                               : reinterpret_cast<RECT*>(Message.LParam);
      if (r) {
        r->left += b.left;
        r->top += b.top;
        r->right = std::max(r->left, LONG(r->right - b.right));
        r->bottom = std::max(r->top, LONG(r->bottom - b.bottom));
      }
      Message.Result = 0;
      return;
    }
    case WM_NCHITTEST: {
      // Nothing outside the client area drags or sizes the popup.
      TdxBarControl::WndProc(Message);
      POINT p{short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
      RECT client = GetClientRect();
      if (HandleAllocated() && ::ScreenToClient(GetHandle(), &p) && !::PtInRect(&client, p))
        Message.Result = HTBORDER;
      return;
    }
    case WM_NCPAINT: {
      HDC dc = ::GetWindowDC(GetHandle());
      PaintFrame(dc);
      ::ReleaseDC(GetHandle(), dc);
      Message.Result = 0;
      return;
    }
    case WM_NCLBUTTONDOWN:
      // A press on the frame closes the open list alone, as a press on a menu closes the menu
      // it opened: the popup stays, as it does when nothing is open.
      if (auto* list = dynamic_cast<TdxBarSubMenuControl*>(GetSubMenuControl()); list && list->IsShowing()) {
        TWeakRef<TdxBarQuickControl> self(this);
        list->CloseMenu();
        if (!self)
          return;
      }
      TdxBarControl::WndProc(Message);
      return;
    case WM_RBUTTONDOWN:
      // No context menu of the toolbar here.
      Message.Result = ::DefWindowProcW(GetHandle(), Message.Msg, Message.WParam, Message.LParam);
      return;
    default:
      TdxBarControl::WndProc(Message);
  }
}

void TdxBarQuickControl::PopupAtRectRight(const TRect& ARect)
{
  TWeakRef<TdxBarQuickControl> self(this);
  HandleNeeded();
  if (!self || !HandleAllocated())
    return;
  RebuildBar();
  if (!self)
    return;
  const TRect b = GetFrameBorders();
  const TRect work = WorkAreaAt(TPoint{ARect.left, ARect.top});
  TPoint client = GetSizeForWidth(dsNone, GetMinWidth(dsNone));
  const int widest = std::max(1, int(work.right - work.left - b.left - b.right));
  if (client.x > widest) {
    // A link wider than the screen keeps a line of its own, cut off; the others wrap at
    // the screen's width, and the height is what that layout takes.
    SetBounds(GetLeft(), GetTop(), widest + b.left + b.right, work.bottom - work.top);
    if (!self)
      return;
    CalculateViewInfo();
    client = Point(widest, 0);
    for (const TdxBarLayoutLink& link : GetPlacement())
      if (link.Shown)
        client.y = std::max(int(client.y), int(link.Bounds.bottom));
  }
  const TSize size{client.x + b.left + b.right, client.y + b.top + b.bottom};
  TdxBarControl* parent = FParentToolbar.Get();
  const bool vertical = parent && parent->IsVertical();
  TdxBarMenuPlacementParams params;
  params.Size = size;
  params.WorkArea = work;
  // The toolbar says which way it opens, and the painter may say otherwise.
  bool right = !parent || parent->IsQuickControlOpeningRight();
  if (TdxBarPainter* painter = parent ? parent->GetPainter() : nullptr)
    right = painter->IsQuickControlOpeningRight(parent, right);
  params.PrefersRight = right;
  params.PrefersDown = true;
  if (vertical) {
    params.Pos = TPoint{right ? ARect.right : ARect.left - size.cx, ARect.top};
    params.OwnerWidth = ARect.right - ARect.left;
  } else {
    params.Pos = TPoint{right ? ARect.left : ARect.right - size.cx, ARect.bottom};
    params.OwnerHeight = ARect.bottom - ARect.top;
  }
  const TRect bounds = dxBarPlaceMenu(params).Bounds;
  ::SetWindowPos(GetHandle(), HWND_TOPMOST, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (!self)
    return;
  UpdateBoundsRect(bounds);
  CalculateViewInfo();
  SetActive(true);
  ShowNoActivate();
  if (self && HandleAllocated())
    ::UpdateWindow(GetHandle());
}

void TdxBarQuickControl::StartTimer()
{
  if (FTimer)
    FTimer->SetEnabled(true);
}

bool TdxBarQuickControl::IsTimerEnabled() const
{
  return FTimer && FTimer->Enabled();
}

void TdxBarQuickControl::TimerFired(TObject*)
{
  FTimer->SetEnabled(false);
  CheckClosing();
}

void TdxBarQuickControl::CheckClosing()
{
  TCustomdxBarControl* active = ActiveBarControl();
  if (!active || active == this || IsParentOf(active) || FClosing)
    return;
  Close();
}

void TdxBarQuickControl::DoMouseLeave()
{
  TWeakRef<TdxBarQuickControl> self(this);
  TdxBarControl::DoMouseLeave();
  // The pointer may have gone to another popup of the chain that is about to become active.
  if (self)
    StartTimer();
}

void TdxBarQuickControl::ControlMouseDown(TMouseButton Button, TShiftState Shift, bool AInClient,
                                          TdxBarItemControl* AControl, const TPoint& P)
{
  // The pointer opened the entry's menu on its way in: a press keeps it open, as in a menu.
  if (Button == mbLeft && AControl && AControl->IsDropDown() && AControl->IsDroppedDown())
    return;
  TdxBarControl::ControlMouseDown(Button, Shift, AInClient, AControl, P);
}

void TdxBarQuickControl::LeaveMenuMode()
{
  // A command ran from the popup: it goes, as a menu does.
  Close();
}

void TdxBarQuickControl::DoClose()
{
  if (IsDestroying() || FClosing)
    return;
  FClosing = true;
  Free();
}

// ---------------------------------------------------------------------------
// Start-up

void InitializedxBarQuickCustomizing()
{
  RegisterBarItem(TdxBarQuickCustExtButton::StaticClass(), TdxBarQuickCustExtButtonControl::StaticClass(), false);
  RegisterBarItem(TdxBarQuickCustItem::StaticClass(), TdxBarQuickCustItemControl::StaticClass(), false);
  RegisterBarItem(TdxBarQuickAccessItem::StaticClass(), TdxBarSubItemControl::StaticClass(), false);
}

void FinalizedxBarQuickCustomizing()
{
  UnregisterBarItem(TdxBarQuickAccessItem::StaticClass());
  UnregisterBarItem(TdxBarQuickCustItem::StaticClass());
  UnregisterBarItem(TdxBarQuickCustExtButton::StaticClass());
}
