// The toolbar window's messages and input: hit testing with the stored code, the mouse on
// the bar (mark, frame, caption drag; the MDI buttons are toolbar_mdi.cpp's), the caption-button press loop, the mark's
// hot-track timer, double click docking, floating window constraints, keys and activation.
#include "bars/barwindows/toolbar.h"

#include <algorithm>

#include "bars/model/bar.h"
#include "bars/model/customizing.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/hints/hintwindow.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/keyboard/navigation.h"
#include "bars/painters/painter.h"
#include "bars/model/startup.h"
#include "bars/utils/utils.h"
#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/Messages.h"
#include "platform/Screen.h"

namespace {

TPoint ToolbarCursorPos()
{
  POINT p{};
  ::GetCursorPos(&p);
  return Point(p.x, p.y);
}

TRect WindowRectOf(HWND AWnd)
{
  RECT r{};
  ::GetWindowRect(AWnd, &r);
  return r;
}

bool IsSizingCode(int ACode)
{
  return ACode == HTTOP || ACode == HTRIGHT || ACode == HTBOTTOM || ACode == HTLEFT;
}

}  // namespace

// ---------------------------------------------------------------------------
// Geometry of the floating caption (window coordinates)

TRect TdxBarControl::GetCaptionRect() const
{
  if (FDockingStyle != dsNone || !HandleAllocated() || !GetPainter())
    return TRect{};
  TRect w = WindowRectOf(FHandle);
  ::OffsetRect(&w, -w.left, -w.top);
  return GetPainter()->GetCaptionRect(w);
}

TRect TdxBarControl::GetCloseButtonRect() const
{
  if (!HasCloseButton())
    return TRect{};
  TRect caption = GetCaptionRect();
  if (::IsRectEmpty(&caption))
    return TRect{};
  const TSize s = GetPainter()->GetCaptionButtonSize();
  int top = caption.top + (caption.bottom - caption.top - s.cy) / 2;
  return Rect(caption.right - s.cx, top, caption.right, top + s.cy);
}

namespace {

// The caption buttons' rectangles: right to left, before the close button.
void PlaceCaptionButtons(TdxBar* ABar, const TRect& ACaption, const TRect& AClose, const TSize& AButtonSize)
{
  TdxBarCaptionButtons* buttons = ABar ? ABar->GetCaptionButtons() : nullptr;
  if (!buttons)
    return;
  int right = ::IsRectEmpty(&AClose) ? ACaption.right : AClose.left;
  int top = ACaption.top + (ACaption.bottom - ACaption.top - AButtonSize.cy) / 2;
  for (int i = 0; i < buttons->GetCount(); ++i) {
    TdxBarCaptionButton* button = buttons->GetItem(i);
    int left = std::max(int(ACaption.left), right - int(AButtonSize.cx));
    button->SetRect(left < right ? Rect(left, top, right, top + AButtonSize.cy) : TRect{});
    right = left;
  }
}

}  // namespace

TRect TdxBarControl::GetMarkRect() const
{
  if (!HasMark())
    return TRect{};
  if (TdxBarPainter* painter = GetPainter())
    return painter->GetMarkRect(this);
  return TRect{};
}

bool TdxBarControl::IsPointOnMark(const TPoint& AClientPoint) const
{
  TRect mark = GetMarkRect();
  if (::IsRectEmpty(&mark))
    return false;
  TPoint p = AClientPoint;
  if (FDockingStyle == dsNone) {
    // The floating mark lies in the caption: window coordinates.
    TRect b = const_cast<TdxBarControl*>(this)->GetBorders(dsNone);
    p.x += b.left;
    p.y += b.top;
  }
  return ::PtInRect(&mark, p) != 0;
}

int TdxBarControl::CaptionButtonAt(const TPoint& AScreenPoint) const
{
  if (FDockingStyle != dsNone || !HandleAllocated())
    return -1;
  TRect w = WindowRectOf(FHandle);
  TPoint p = Point(AScreenPoint.x - w.left, AScreenPoint.y - w.top);
  TRect close = GetCloseButtonRect();
  if (::PtInRect(&close, p))
    return dxBarCloseButtonIndex;
  if (TdxBarCaptionButtons* buttons = FBar ? FBar->GetCaptionButtons() : nullptr) {
    PlaceCaptionButtons(FBar, GetCaptionRect(), close, GetPainter()->GetCaptionButtonSize());
    return buttons->IndexOfButtonAt(p);
  }
  return -1;
}

// ---------------------------------------------------------------------------
// Hit testing

int TdxBarControl::HitTest(const TPoint& P)
{
  if (!HandleAllocated())
    return HTNOWHERE;
  TPoint screen = P;
  ::ClientToScreen(FHandle, reinterpret_cast<POINT*>(&screen));
  HitTestPoint(screen);
  return FHitCode;
}

int TdxBarControl::HitTestPoint(const TPoint& AScreenPoint)
{
  TRect w = WindowRectOf(FHandle);
  TPoint client = AScreenPoint;
  ::ScreenToClient(FHandle, reinterpret_cast<POINT*>(&client));
  TRect clientRect = GetClientRect();
  bool inClient = ::PtInRect(&clientRect, client);
  TdxBarPainter* painter = GetPainter();
  int answer = HTCLIENT;
  if (TdxBarManager* manager = GetBarManager(); manager && manager->IsDesigning()) {
    FHitCode = HTCLIENT;
    return HTCLIENT;
  }
  if (int code = painter ? painter->GetHitTestCode(this, client) : 0) {
    FHitCode = code;
    return code == HTBOTTOMRIGHT ? code : HTCLIENT;
  }
  if (FInternal && FDockingStyle == dsNone) {
    // An internal bar neither moves nor sizes: its frame is only a border.
    FHitCode = inClient ? HTCLIENT : HTBORDER;
    return FHitCode;
  }
  if (FDockingStyle != dsNone) {
    if (!inClient) {
      TMessage m{WM_NCHITTEST, 0, MAKELPARAM(AScreenPoint.x, AScreenPoint.y), 0};
      TCustomdxBarControl::WndProc(m);
      // The docked frame holds the drag handle: it is part of the drag area.
      FHitCode = (m.Result == HTNOWHERE || m.Result == HTBORDER || m.Result == HTCLIENT) ? HTCAPTION : int(m.Result);
    } else if (IsPointOnMark(client) || GetItemControlAtPos(client) != nullptr) {
      FHitCode = HTCLIENT;
    } else {
      FHitCode = HTCAPTION;
      for (int i = 0; i < 3; ++i) {
        TRect b = GetMDIButtonRect(i);
        if (::PtInRect(&b, client))
          FHitCode = HTCLIENT;
      }
    }
    if (FSizeGrip && FBar && FBar->CanShowSizeGrip() && painter) {
      TSize grip = painter->GetSizeGripSize();
      TRect g = Rect(w.right - grip.cx, w.bottom - grip.cy, w.right, w.bottom);
      if (::PtInRect(&g, AScreenPoint)) {
        FHitCode = HTBOTTOMRIGHT;
        answer = HTBOTTOMRIGHT;
      }
    }
    return answer;
  }
  // Floating: the sizing edges first (no corners), then the caption's buttons.
  TRect inner = w;
  int fw = painter ? painter->GetSizingFrameWidth() : 0;
  int fh = painter ? painter->GetSizingFrameHeight() : 0;
  ::InflateRect(&inner, -fw, -fh);
  if (!::PtInRect(&inner, AScreenPoint)) {
    if (AScreenPoint.y < inner.top)
      FHitCode = HTTOP;
    else if (AScreenPoint.x >= inner.right)
      FHitCode = HTRIGHT;
    else if (AScreenPoint.y >= inner.bottom)
      FHitCode = HTBOTTOM;
    else
      FHitCode = HTLEFT;
    return answer;
  }
  if (!IsCustomizing() && IsPointOnMark(client)) {
    FHitCode = HTCLIENT;
    return answer;
  }
  int button = CaptionButtonAt(AScreenPoint);
  if (button == dxBarCloseButtonIndex) {
    FHitCode = HTCLOSE;
    return painter && painter->IsCloseButtonHitCodeUsed() ? HTCLOSE : HTCLIENT;
  }
  if (button >= 0) {
    // A caption button acts through the non-client press like the close button.
    FHitCode = HTBORDER;
    return answer;
  }
  if (inClient && GetItemControlAtPos(client) != nullptr) {
    FHitCode = HTCLIENT;
    return answer;
  }
  FHitCode = HTCAPTION;
  return answer;
}

void TdxBarControl::WMNCHitTest(TMessage& Message)
{
  if (!HandleAllocated())
    return TCustomdxBarControl::WndProc(Message);
  TPoint p = Point(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
  Message.Result = HitTestPoint(p);
}

// ---------------------------------------------------------------------------
// The mouse on the bar

void TdxBarControl::ControlMouseDown(TMouseButton Button, TShiftState Shift, bool AInClient,
                                     TdxBarItemControl* AControl, const TPoint& P)
{
  TdxBarManager* manager = GetBarManager();
  bool customizing = IsCustomizing();
  if (Button == mbLeft && !customizing && !(manager && manager->IsDesigning()) && MDIButtonsMouseDown(P))
    return;
  if (Button == mbLeft && customizing && FHitCode != HTCAPTION && BeginItemResize(AControl, P))
    return;
  // A toolbar's context menu lists the toolbars, as its dock site's does; presses on an
  // editing editor's item stay the editor's.
  if (Button == mbRight && !customizing && !FInternal && manager && !manager->IsDesigning() && !IsEditorEditing()) {
    TWeakRef<TdxBarControl> self(this);
    if (FHitCode != HTCAPTION)
      TCustomdxBarControl::ControlMouseDown(Button, Shift, AInClient, AControl, P);
    if (auto show = dxBarCustomizingServices().ShowToolbarsPopup; self && show)
      show(manager, this);
    return;
  }
  if (FHitCode != HTCAPTION) {
    if (Button == mbLeft && IsPointOnMark(P) && GetQuickControlClass()) {
      // A press opens the popup, a press on the open mark closes it.
      ClickMark(FMarkState == TdxBarMarkState::Pressed ? TdxBarMarkState::Hot : TdxBarMarkState::Pressed);
      return;
    }
    if (Button == mbLeft && IsPointOnMark(P)) {
      // Nothing to open: drawn pressed while the button is down; the release turns it back.
      ClickMark(TdxBarMarkState::Pressed);
      if (FMarkState == TdxBarMarkState::Pressed && HandleAllocated())
        ::SetCapture(FHandle);
      return;
    }
    TRect client = GetClientRect();
    if (Button == mbLeft && !customizing &&
        (!::PtInRect(&client, P) || IsSizingCode(FHitCode) || FHitCode == HTCLOSE || FHitCode == HTBORDER)) {
      TPoint c = ToolbarCursorPos();
      ::SendMessageW(FHandle, WM_NCLBUTTONDOWN, WPARAM(FHitCode), MAKELPARAM(c.x, c.y));
      return;
    }
    TCustomdxBarControl::ControlMouseDown(Button, Shift, AInClient, AControl, P);
    return;
  }
  if (Button == mbRight && customizing && !FInternal)
    return ShowBarControlPopup();
  if (Button != mbLeft || FInternal)
    return;
  TdxBars* bars = manager ? manager->GetBars() : nullptr;
  if (bars && FBar && !(manager && manager->IsDesigning()))
    bars->DragBar(this);
}

TdxBarItemControl* TdxBarControl::GetResizingControl() const
{
  return FResizingControl.Get();
}

bool TdxBarControl::BeginItemResize(TdxBarItemControl* AControl, const TPoint& P)
{
  if (!AControl || !AControl->IsResizePoint(P) || !HandleAllocated())
    return false;
  FResizingControl = AControl;
  ::SetCapture(FHandle);
  AControl->BeginResize(P);
  return true;
}

void TdxBarControl::EndItemResize(bool ACancel)
{
  TdxBarItemControl* control = FResizingControl.Get();
  FResizingControl = nullptr;
  if (control)
    control->EndResize(ACancel);
  if (HandleAllocated() && ::GetCapture() == FHandle)
    ::ReleaseCapture();
}

void TdxBarControl::ControlMouseMove(TShiftState Shift, TdxBarItemControl* AControl, const TPoint& P)
{
  MDIButtonsMouseMove(P);
  TdxBarPainter* painter = GetPainter();
  if (HasMark() && painter && painter->IsMarkTracked() && !IsCustomizing()) {
    bool over = IsPointOnMark(P);
    if (over && FMarkState == TdxBarMarkState::Normal)
      ClickMark(TdxBarMarkState::Hot);
    else if (!over && FMarkState == TdxBarMarkState::Hot && FDockingStyle != dsNone)
      ClickMark(TdxBarMarkState::Normal);
  }
  TCustomdxBarControl::ControlMouseMove(Shift, AControl, P);
}

// A docked bar has no timer watching its hot mark: the pointer leaving the window cools it.
void TdxBarControl::DoMouseLeave()
{
  TWeakRef<TdxBarControl> self(this);
  if (FMarkState == TdxBarMarkState::Hot && FDockingStyle != dsNone && !IsDestroying())
    ClickMark(TdxBarMarkState::Normal);
  if (self)
    TCustomdxBarControl::DoMouseLeave();
}

// ---------------------------------------------------------------------------
// The caption-button press loop

void TdxBarControl::WMNCLButtonDown(TMessage& Message)
{
  if (FDockingStyle != dsNone) {
    DefaultHandler(Message);
    return;
  }
  // Closing the menu closes every window above it, which may be this one.
  TWeakRef<TdxBarControl> self(this);
  if (TCustomdxBarControl* menu = GetSubMenuControl(); menu && menu->IsShowing())
    menu->Close();
  if (!self)
    return;
  TPoint p = Point(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
  if (IsSizingCode(int(Message.WParam))) {
    // The system's sizing loop runs inside; some systems add each step's motion to the
    // rectangle the last step snapped to, so that slow steps would never pass a line.
    FEdgeSizingFrom = WindowRectOf(FHandle);
    FEdgeSizingGrab = p;
    FEdgeSizing = true;
    TFinally done([&]() noexcept {
      if (self)
        FEdgeSizing = false;
    });
    DefaultHandler(Message);
    return;
  }
  int button = CaptionButtonAt(p);
  if (button == -1) {
    DefaultHandler(Message);
    return;
  }
  TrackCaptionButton(button);
  Message.Result = 0;
}

namespace {

void RedrawFrame(HWND AWnd)
{
  if (AWnd && ::IsWindow(AWnd))
    ::RedrawWindow(AWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

}  // namespace

bool TdxBarControl::TrackCaptionButton(int AIndex)
{
  TdxBarCaptionButton* captionButton = nullptr;
  if (AIndex >= 0) {
    TdxBarCaptionButtons* buttons = FBar ? FBar->GetCaptionButtons() : nullptr;
    if (!buttons || AIndex >= buttons->GetCount())
      return false;
    captionButton = buttons->GetItem(AIndex);
  }
  TWeakRef<TdxBarControl> self(this);
  TWeakRef<TdxBarCaptionButton> buttonRef(captionButton);
  HWND wnd = FHandle;
  auto setState = [&](TdxBarMarkState AState) {
    if (!self.Get())
      return;
    if (AIndex == dxBarCloseButtonIndex)
      FCloseButtonState = AState;
    else if (TdxBarCaptionButton* b = buttonRef.Get())
      b->SetState(AState == TdxBarMarkState::Pressed ? TdxBarCaptionButton::bsPressed
                  : AState == TdxBarMarkState::Hot   ? TdxBarCaptionButton::bsHot
                                                     : TdxBarCaptionButton::bsNormal);
    RedrawFrame(wnd);
  };
  setState(TdxBarMarkState::Pressed);
  FCaptureLost = false;
  ::SetCapture(wnd);
  bool click = false;
  while (self.Get() && ::GetCapture() == wnd && !FCaptureLost) {
    MSG msg;
    BOOL read = ::GetMessageW(&msg, nullptr, 0, 0);
    if (read == -1)
      break;
    if (read == 0) {
      // The program is ending: the quit goes back in the queue for the real loop.
      ::PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      TPoint c = ToolbarCursorPos();
      TRect w = WindowRectOf(wnd);
      if (!::PtInRect(&w, c))
        continue;
      if (!self.Get())
        break;
      if (FLastMousePoint.x == -1 && FLastMousePoint.y == -1)
        DoMouseEnter();
      FLastMousePoint = c;
      setState(CaptionButtonAt(c) == AIndex ? TdxBarMarkState::Pressed : TdxBarMarkState::Hot);
      continue;
    }
    if (msg.message == WM_LBUTTONUP) {
      click = self.Get() && CaptionButtonAt(ToolbarCursorPos()) == AIndex;
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (!self.Get())
    return false;
  if (::GetCapture() == wnd)
    ::ReleaseCapture();
  setState(TdxBarMarkState::Normal);
  if (!click)
    return false;
  if (AIndex == dxBarCloseButtonIndex || buttonRef)
    ClickCaptionButton(AIndex);
  return true;
}

void TdxBarControl::ClickCaptionButton(int AIndex)
{
  if (AIndex == dxBarCloseButtonIndex) {
    if (!HasCloseButton())
      return;
    // Hiding the bar frees this window: nothing of it is touched afterwards.
    TdxBar* bar = FBar;
    TdxBarManager* manager = GetBarManager();
    TWeakRef<TdxBar> barRef(bar);
    TWeakRef<TdxBarManager> managerRef(manager);
    if (bar)
      bar->SetVisible(false);
    if (managerRef.Get() && barRef.Get())
      CallEvent(manager->OnBarClose, manager, bar);
    return;
  }
  TdxBarCaptionButtons* buttons = FBar ? FBar->GetCaptionButtons() : nullptr;
  if (buttons && AIndex >= 0 && AIndex < buttons->GetCount() && buttons->GetItem(AIndex)->GetEnabled())
    buttons->GetItem(AIndex)->Click();
}

// ---------------------------------------------------------------------------
// Keyboard navigation on the mark and the caption's buttons

void TdxBarControl::SelectNavigationPart(int APart)
{
  TWeakRef<TdxBarControl> self(this);
  if (!GetActive() && HandleAllocated()) {
    PrepareActivation();
    if (self)
      TCustomdxBarControl::ActivateWithControl(nullptr);
  } else {
    SelectItemControl(nullptr);
  }
  if (self && GetActive())
    SetNavigationPart(APart);
}

void TdxBarControl::SetNavigationPart(int APart)
{
  if (APart == FNavigationPart)
    return;
  const int old = FNavigationPart;
  FNavigationPart = APart;
  if (!HandleAllocated())
    return;
  if (old == dxBarMarkIndex || APart == dxBarMarkIndex)
    InvalidateMark();
  if ((old != dxBarMarkIndex && old != dxBarNoPartIndex) || (APart != dxBarMarkIndex && APart != dxBarNoPartIndex))
    RedrawFrame(FHandle);
}

void TdxBarControl::CaptionButtonsRenumbered()
{
  if (FNavigationPart < 0)
    return;
  SetNavigationPart(dxBarNoPartIndex);
  TdxBarNavigationController* navigation = BarNavigationController();
  if (!navigation || !navigation->IsActiveFor(this))
    return;
  TdxBarHelperRef first = GetBarControlNavigationTarget(this)->GetFirstSelectableObject();
  if (first && first->GetHelperPart() < 0)
    navigation->ChangeSelectedObject(false, nullptr, first);
  else
    navigation->StopNavigation();
}

void TdxBarControl::SetSelectedControl(TdxBarItemControl* Value)
{
  if (Value)
    SetNavigationPart(dxBarNoPartIndex);
  TCustomdxBarControl::SetSelectedControl(Value);
}

// ---------------------------------------------------------------------------
// The mark and its hot-track timer

void TdxBarControl::ClickMark(TdxBarMarkState AState)
{
  // A state made from a number out of range counts as the nearest one.
  AState = std::clamp(AState, TdxBarMarkState::Normal, TdxBarMarkState::Pressed);
  if (IsCustomizing() && AState != TdxBarMarkState::Normal)
    return;
  // The same state again changes nothing: a hot floating mark keeps its timer.
  if (AState == FMarkState)
    return;
  StopMarkTimer();
  const TdxBarMarkState old = FMarkState;
  FMarkState = AState;
  TWeakRef<TdxBarControl> self(this);
  if (old == TdxBarMarkState::Pressed)
    if (TCustomdxBarControl* quick = FQuickControl.Get()) {
      FQuickControl = nullptr;
      quick->Close();
      if (!self)
        return;
    }
  if (AState == TdxBarMarkState::Hot && FDockingStyle == dsNone && HandleAllocated() && !IsCustomizing()) {
    if (::SetTimer(FHandle, dxBarMarkTimerID, dxBarMarkTimerInterval, nullptr))
      FMarkTimer = true;
  }
  InvalidateMark();
  if (old == TdxBarMarkState::Hot && dxBarIsHintFrom(this))
    dxBarEndHint();
  if (TdxBarManager* manager = GetBarManager();
      AState == TdxBarMarkState::Hot && manager && manager->GetShowHint() && !IsCustomizing())
    dxBarShowHintDelayed(this, GetMarkHint(), String());
  if (AState != TdxBarMarkState::Pressed || !self)
    return;
  const TdxBarCustomizingServices& services = dxBarCustomizingServices();
  if (!services.ShowQuickControl || !GetQuickControlClass())
    return;  // the pressed look only (see MarkButtonUp)
  try {
    services.ShowQuickControl(this);
  } catch (...) {
    if (self)
      QuickControlClosed();
    throw;
  }
  // Nothing to show: the mark does not stay open over nothing.
  if (self && FMarkState == TdxBarMarkState::Pressed && !FQuickControl)
    QuickControlClosed();
}

void TdxBarControl::QuickControlClosed()
{
  if (FMarkState != TdxBarMarkState::Pressed)
    return;
  FQuickControl = nullptr;
  TdxBarPainter* painter = GetPainter();
  ClickMark(painter && painter->IsMarkTracked() && IsCursorOverMark() ? TdxBarMarkState::Hot : TdxBarMarkState::Normal);
}

String TdxBarControl::GetMarkHint() const
{
  String text = GetResourceString(FItemsHidden ? sdxBarMoreButtons : sdxBarAddRemoveButtons);
  return StripAccelChars(text);
}

TClass TdxBarControl::GetQuickControlClass() const
{
  return dxBarCustomizingServices().QuickControlClass;
}

bool TdxBarControl::IsQuickCustomizingAllowed() const
{
  return FBar && FBar->GetAllowQuickCustomizing();
}

void TdxBarControl::FillHiddenItemsPopup(TdxBarItemLinks* ALinks)
{
  TdxBarItemLinks* own = GetItemLinks();
  if (!ALinks || !own || !FItemsHidden)
    return;
  const auto& shown = own->GetShownItems();
  for (size_t i = size_t(std::max(FVisibleCount, 0)); i < shown.size(); ++i) {
    TdxBarItemLink* source = shown[i];
    if (!source || !source->GetItem())
      continue;
    TdxBarItemLink* link = ALinks->Add();
    try {
      link->Assign(source);
    } catch (const Exception&) {
      ALinks->Delete(link->Index());  // links that refuse the item show it nowhere
    }
  }
}

void TdxBarControl::MarkButtonUp(const TPoint& P)
{
  if (FMarkState != TdxBarMarkState::Pressed || FQuickControl)
    return;
  TdxBarPainter* painter = GetPainter();
  ClickMark(IsPointOnMark(P) && painter && painter->IsMarkTracked() ? TdxBarMarkState::Hot : TdxBarMarkState::Normal);
  if (HandleAllocated() && ::GetCapture() == FHandle)
    ::ReleaseCapture();
}

void TdxBarControl::StopMarkTimer()
{
  if (FMarkTimer && HandleAllocated())
    ::KillTimer(FHandle, dxBarMarkTimerID);
  FMarkTimer = false;
}

void TdxBarControl::MarkTimerTick()
{
  if (HandleAllocated() && ::IsWindowVisible(FHandle)) {
    TPoint c = ToolbarCursorPos();
    ::ScreenToClient(FHandle, reinterpret_cast<POINT*>(&c));
    if (IsPointOnMark(c))
      return;
  }
  StopMarkTimer();
  if (FMarkState == TdxBarMarkState::Hot)
    ClickMark(TdxBarMarkState::Normal);
}

void TdxBarControl::WMTimerBar(TMessage& Message)
{
  if (Message.WParam == dxBarMarkTimerID)
    MarkTimerTick();
  else
    TCustomdxBarControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// Docking by double click

void TdxBarControl::WMLButtonDblClkBar(TMessage& Message)
{
  TdxBarManager* manager = GetBarManager();
  if (FHitCode == HTCAPTION && !(manager && manager->IsDesigning()) && !FInternal) {
    DoubleClickDock();  // may free this window
    return;
  }
  TCustomdxBarControl::WndProc(Message);
}

void TdxBarControl::DoubleClickDock()
{
  TdxBar* bar = FBar;
  TdxBarManager* manager = GetBarManager();
  if (!bar || !manager)
    return;
  if (FDockingStyle != dsNone) {
    if (manager->CanDocking(bar, dsNone, nullptr))
      bar->SetDockingStyle(dsNone);
    return;
  }
  TdxBarDockingStyle style = bar->GetDockedDockingStyle();
  TdxBarDockControl* placed = bar->GetDockedDockControl();
  TdxBars* bars = manager->GetBars();
  if (style == dsNone || !bar->HasDockedPlace()) {
    // Never docked: a row of its own at the end of the top site.
    style = dsTop;
    placed = nullptr;
    TdxDockControl* top = bars ? bars->GetDockControl(dsTop) : nullptr;
    if (!manager->CanDocking(bar, style, top))
      return;
    bar->SetOneOnRow(true);
    bar->SetRow(top ? top->GetRowCount() : 0);
  } else {
    TWinControl* target = placed ? static_cast<TWinControl*>(placed)
                                 : static_cast<TWinControl*>(bars ? bars->GetDockControl(style) : nullptr);
    if (!manager->CanDocking(bar, style, target))
      return;
  }
  TWeakRef<TdxBar> barRef(bar);
  bar->SetVisible(false);
  if (!barRef.Get())
    return;
  bar->SetDocking(style, placed);
  if (barRef.Get())
    bar->SetVisible(true);
}

// ---------------------------------------------------------------------------
// Floating window behaviour

void TdxBarControl::WMGetMinMaxInfo(TMessage& Message)
{
  TCustomdxBarControl::WndProc(Message);
  if (FDockingStyle != dsNone)
    return;
  auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  info->ptMinTrackSize = POINT{10, 10};
  info->ptMaxTrackSize = POINT{30000, 30000};
  info->ptMaxSize = POINT{30000, 30000};
  info->ptMaxPosition = POINT{30000, 30000};
  Message.Result = 0;
}

void TdxBarControl::WMSizing(TMessage& Message)
{
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  if (FDockingStyle != dsNone || !r) {
    TCustomdxBarControl::WndProc(Message);
    return;
  }
  TPoint frame = GetFrameSize(dsNone);
  if (FEdgeSizing) {
    // The dragged edge lies where the pointer took it, from where the press found it.
    const TPoint c = ToolbarCursorPos();
    const int dx = c.x - FEdgeSizingGrab.x;
    const int dy = c.y - FEdgeSizingGrab.y;
    switch (Message.WParam) {
      case WMSZ_LEFT:
        r->left = FEdgeSizingFrom.left + dx;
        break;
      case WMSZ_RIGHT:
        r->right = FEdgeSizingFrom.right + dx;
        break;
      case WMSZ_TOP:
        r->top = FEdgeSizingFrom.top + dy;
        break;
      case WMSZ_BOTTOM:
        r->bottom = FEdgeSizingFrom.bottom + dy;
        break;
      default:
        break;
    }
  }
  switch (Message.WParam) {
    case WMSZ_LEFT:
    case WMSZ_RIGHT: {
      TPoint s = GetSizeForWidth(dsNone, r->right - r->left - frame.x);
      if (Message.WParam == WMSZ_LEFT)
        r->left = r->right - (s.x + frame.x);
      else
        r->right = r->left + s.x + frame.x;
      r->bottom = r->top + s.y + frame.y;
      break;
    }
    case WMSZ_TOP:
    case WMSZ_BOTTOM: {
      TPoint s = GetSizeForHeight(dsNone, r->bottom - r->top - frame.y);
      if (Message.WParam == WMSZ_TOP)
        r->top = r->bottom - (s.y + frame.y);
      else
        r->bottom = r->top + s.y + frame.y;
      r->right = r->left + s.x + frame.x;
      break;
    }
    default:
      // Corners keep the present rectangle.
      if (HandleAllocated())
        *r = WindowRectOf(FHandle);
      break;
  }
  if (r->top < dxBarFloatingTopLimit)
    ::OffsetRect(r, 0, dxBarFloatingTopLimit - r->top);
  if (FBar && Message.WParam != WMSZ_TOP && Message.WParam != WMSZ_BOTTOM)
    FBar->SetFloatClientWidth(r->right - r->left - frame.x);
  Message.Result = 1;
}

namespace {

MONITORINFO MonitorInfoOf(HMONITOR AMonitor)
{
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!AMonitor || !::GetMonitorInfoW(AMonitor, &info))
    info.cbSize = 0;
  return info;
}

// The least of a caption that must lie on a work area for the pointer to grab it.
constexpr int CaptionGrabLength = 24;
constexpr int CaptionGrabHeight = 6;

// Whether enough of a caption lies on the work area of the monitor it meets most.
bool IsCaptionGrabbable(const TRect& ACaption)
{
  MONITORINFO info = MonitorInfoOf(::MonitorFromRect(&ACaption, MONITOR_DEFAULTTONULL));
  RECT common{};
  if (!info.cbSize || !::IntersectRect(&common, &ACaption, &info.rcWork))
    return false;
  return common.right - common.left >= std::min<int>(CaptionGrabLength, RectWidth(ACaption)) &&
         common.bottom - common.top >= std::min<int>(CaptionGrabHeight, RectHeight(ACaption));
}

// The offset that moves ARect into AArea, edge by edge; the left and top edges win when it is
// larger.
TPoint OffsetInto(const TRect& ARect, const RECT& AArea)
{
  TPoint d;
  if (ARect.right > AArea.right)
    d.x = AArea.right - ARect.right;
  if (ARect.left + d.x < AArea.left)
    d.x = AArea.left - ARect.left;
  if (ARect.bottom > AArea.bottom)
    d.y = AArea.bottom - ARect.bottom;
  if (ARect.top + d.y < AArea.top)
    d.y = AArea.top - ARect.top;
  return d;
}

}  // namespace

// A floating bar placed, loaded or left by a screen change must stay reachable: a window off
// every monitor comes back into the work area of the cursor's monitor, and one with too little
// of its caption on a work area to grab comes wholly onto the nearest one. A bar the user drags
// partly off the screen stays where it is dropped.
void TdxBarControl::WMWindowPosChanging(TMessage& Message)
{
  TCustomdxBarControl::WndProc(Message);
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (FDockingStyle != dsNone || FMoving || !pos || ((pos->flags & SWP_NOMOVE) && (pos->flags & SWP_NOSIZE)))
    return;
  TRect r;
  if (HandleAllocated())
    r = WindowRectOf(FHandle);
  if (!(pos->flags & SWP_NOMOVE)) {
    int w = r.right - r.left, h = r.bottom - r.top;
    r.left = pos->x;
    r.top = pos->y;
    r.right = r.left + w;
    r.bottom = r.top + h;
  }
  if (!(pos->flags & SWP_NOSIZE)) {
    r.right = r.left + pos->cx;
    r.bottom = r.top + pos->cy;
  }
  const TPoint from{r.left, r.top};
  if (!::MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
    POINT c{};
    ::GetCursorPos(&c);
    MONITORINFO info = MonitorInfoOf(::MonitorFromPoint(c, MONITOR_DEFAULTTONEAREST));
    if (!info.cbSize)
      return;
    TPoint d = OffsetInto(r, info.rcWork);
    ::OffsetRect(&r, d.x, d.y);
  }
  TRect caption = r;
  if (TdxBarPainter* painter = GetPainter()) {
    caption = painter->GetCaptionRect(Rect(0, 0, r.right - r.left, r.bottom - r.top));
    ::OffsetRect(&caption, r.left, r.top);
  }
  if (!::IsRectEmpty(&caption) && !IsCaptionGrabbable(caption)) {
    MONITORINFO info = MonitorInfoOf(::MonitorFromRect(&caption, MONITOR_DEFAULTTONEAREST));
    if (info.cbSize) {
      TPoint d = OffsetInto(r, info.rcWork);
      ::OffsetRect(&r, d.x, d.y);
    }
  }
  if (r.left == from.x && r.top == from.y)
    return;
  pos->x = r.left;
  pos->y = r.top;
  pos->flags &= ~UINT(SWP_NOMOVE);
}

void TdxBarControl::WMMouseActivateToolbar(TMessage& Message)
{
  TCustomdxBarControl::WndProc(Message);
  if (FDockingStyle == dsNone && HandleAllocated() && !GetActive())
    SetWindowZOrder(FHandle, HWND_TOP);
}

void TdxBarControl::WMSetCursorToolbar(TMessage& Message)
{
  HWND wnd = reinterpret_cast<HWND>(Message.WParam);
  if (wnd == FHandle && LOWORD(Message.LParam) == HTCLIENT) {
    // Over a sizing edge the stored code chooses the cursor; over an item's size handle the
    // item-resizing cursor shows.
    LPCWSTR shape = nullptr;
    if (FDockingStyle == dsNone && (FHitCode == HTLEFT || FHitCode == HTRIGHT))
      shape = IDC_SIZEWE;
    else if (FDockingStyle == dsNone && (FHitCode == HTTOP || FHitCode == HTBOTTOM))
      shape = IDC_SIZENS;
    if (shape) {
      ::SetCursor(::LoadCursorW(nullptr, shape));
      Message.Result = 1;
      return;
    }
    TPoint c = ToolbarCursorPos();
    ::ScreenToClient(FHandle, reinterpret_cast<POINT*>(&c));
    TdxBarItemControl* control = GetItemControlAtPos(c);
    if (((control && control->IsResizePoint(c)) || FResizingControl) && Screen) {
      ::SetCursor(Screen->GetCursors(crdxBarEditSizing));
      Message.Result = 1;
      return;
    }
  }
  TCustomdxBarControl::WndProc(Message);
}

void TdxBarControl::WMDestroyToolbar(TMessage& Message)
{
  StopMarkTimer();
  TdxBarManager* manager = GetBarManager();
  bool fromOutside = !FMoving && !IsDockingLocked() && !IsDestroying() && !FInternal && FBar && FBar->GetVisible() &&
                     manager && !manager->IsDestroying() && !GetControlState().Contains(csDestroyingHandle) &&
                     !GetControlState().Contains(csRecreating);
  // While a docked window goes, its site keeps the rows' OneOnRow values as they are and
  // lays the bars out once it is over.
  TWeakRef<TdxDockControl> dock(FDockingStyle != dsNone ? GetDockControl() : nullptr);
  if (dock)
    dock->SetBarDestroying(true);
  // Gone with its dock site's window: the bar shows again when the site has a window again.
  if (fromOutside)
    manager->AddRecreatingBar(FBar);
  {
    TFinally unmark([&dock]() noexcept {
      if (TdxDockControl* site = dock.Get())
        site->SetBarDestroying(false);
    });
    TCustomdxBarControl::WndProc(Message);
    if (fromOutside) {
      // Someone destroyed the window behind the bar's back: the bar hides (later, when this
      // destruction is over).
      TWeakRef<TdxBar> bar(FBar);
      if (TdxBar* b = bar.Get())
        b->SetVisible(false);
    }
  }
  if (TdxDockControl* site = dock.Get(); site && fromOutside)
    site->RealignBars();
}

// ---------------------------------------------------------------------------
// Keys and activation

std::vector<TCustomdxBarControl*> TdxBarControl::GetTabOrderBars() const
{
  TdxBarManager* manager = GetBarManager();
  TdxBars* bars = manager ? manager->GetBars() : nullptr;
  if (!bars || FInternal)
    return TCustomdxBarControl::GetTabOrderBars();
  std::vector<TCustomdxBarControl*> result;
  for (int i = 0; i < bars->GetCount(); ++i)
    if (TdxBarControl* control = bars->GetItem(i)->GetControl(); control && !control->IsDestroying())
      result.push_back(control);
  return result;
}

void TdxBarControl::WMKeyDownBar(TMessage& Message)
{
  WORD key = WORD(Message.WParam);
  if (GetActive()) {
    TdxBarItemControl* selected = GetSelectedControl();
    if (selected && selected->GetEnabled() && selected->WantsKey(key)) {
      TCustomdxBarControl::WMKeyDownBar(Message);
      return;
    }
    if (key == VK_RETURN && selected) {
      selected->ClickByKey();
      Message.Result = 0;
      return;
    }
    if (key == VK_ESCAPE) {
      FClosedByKey = true;
      Close();
      Message.Result = 0;
      return;
    }
  }
  TCustomdxBarControl::WMKeyDownBar(Message);
}

void TdxBarControl::ActivateWithControl(TdxBarItemControl* AControl)
{
  if (!HandleAllocated()) {
    TCustomdxBarControl::ActivateWithControl(AControl);
    return;
  }
  TWeakRef<TdxBarControl> self(this);
  PrepareActivation();
  if (!self)
    return;
  if (!AControl && FItemLinks)
    for (TdxBarItemLink* link : FItemLinks->GetShownItems()) {
      TdxBarItemControl* control = link->GetControl();
      if (control && control->CanSelect() && !::IsRectEmpty(&link->GetItemRect())) {
        AControl = control;
        break;
      }
    }
  TCustomdxBarControl::ActivateWithControl(AControl);
}

void TdxBarControl::PrepareActivation()
{
  TWeakRef<TdxBarControl> self(this);
  LeaveBarControlUnderCursor(this);
  if (!self)
    return;
  ActivateHint(false, nullptr);
  FFocusedWnd = ::GetFocus();
  FClosedByKey = false;
  if (TdxBarManager* manager = GetBarManager()) {
    if (manager->GetFocusedBarControl() != this)
      FPreviousFocusedBar = manager->GetFocusedBarControl();
    manager->SetFocusedBarControl(this);
  }
  if (FDockingStyle == dsNone)
    SetWindowZOrder(FHandle, HWND_TOP);
}

void TdxBarControl::Deactivate()
{
  SetNavigationPart(dxBarNoPartIndex);
  TCustomdxBarControl::Deactivate();
  if (TdxBarManager* manager = GetBarManager(); manager && manager->GetFocusedBarControl() == this) {
    manager->SetFocusedBarControl(FPreviousFocusedBar.Get());
    FPreviousFocusedBar = nullptr;
  }
  if (HandleAllocated())
    PostHotTrackMouseMove();
  HWND focus = FFocusedWnd;
  FFocusedWnd = nullptr;
  TCustomForm* form = GetOwnerForm();
  if (focus && ::IsWindow(focus) && ::IsWindowVisible(focus) && IsApplicationActive() && form &&
      form->HandleAllocated() && (focus == form->GetHandle() || ::IsChild(form->GetHandle(), focus)))
    ::SetFocus(focus);
}

// ---------------------------------------------------------------------------
// The window procedure

void TdxBarControl::WndProc(TMessage& Message)
{
  // clang-format off
  switch (Message.Msg) {
    case WM_NCHITTEST: return WMNCHitTest(Message);
    case WM_NCLBUTTONDOWN: return WMNCLButtonDown(Message);
    case WM_NCCALCSIZE: return WMNCCalcSize(Message);
    case WM_GETMINMAXINFO: return WMGetMinMaxInfo(Message);
    case WM_SIZING: return WMSizing(Message);
    case WM_WINDOWPOSCHANGING: return WMWindowPosChanging(Message);
    case WM_MOUSEACTIVATE: return WMMouseActivateToolbar(Message);
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS; return;
    case WM_SETFOCUS: Message.Result = 0; return;  // the focus stays where it is
    case WM_MOUSEMOVE:
      if (TdxBarItemControl* control = FResizingControl.Get()) {
        control->DoResize(LParamPoint(Message.LParam));
        return;
      }
      return TCustomdxBarControl::WndProc(Message);
    case WM_LBUTTONDOWN: return WMLButtonDownToolbar(Message);
    case WM_LBUTTONUP: return WMLButtonUpToolbar(Message);
    case WM_LBUTTONDBLCLK: return WMLButtonDblClkBar(Message);
    case WM_TIMER: return WMTimerBar(Message);
    case WM_CANCELMODE: return WMCancelModeToolbar(Message);
    case WM_CAPTURECHANGED: return WMCaptureChangedToolbar(Message);
    case WM_SETCURSOR: return WMSetCursorToolbar(Message);
    case WM_SIZE: return WMSizeToolbar(Message);
    case WM_DESTROY: return WMDestroyToolbar(Message);
    case CM_FONTCHANGED: return CMFontChangedToolbar(Message);
    default: return TCustomdxBarControl::WndProc(Message);
  }
  // clang-format on
}

void TdxBarControl::WMLButtonDownToolbar(TMessage& Message)
{
  // A press on the frame, the close button or a caption button acts through the non-client
  // press at once, so nothing of the item handling runs on a window it may free.
  if ((IsSizingCode(FHitCode) || FHitCode == HTCLOSE || FHitCode == HTBORDER) && !IsCustomizing() &&
      FDockingStyle == dsNone) {
    TPoint c = ToolbarCursorPos();
    ::SendMessageW(FHandle, WM_NCLBUTTONDOWN, WPARAM(FHitCode), MAKELPARAM(c.x, c.y));
    return;
  }
  TCustomdxBarControl::WndProc(Message);
}

void TdxBarControl::WMLButtonUpToolbar(TMessage& Message)
{
  if (FResizingControl) {
    EndItemResize(false);
    return;
  }
  // A press on an MDI button does not activate the bar: its release is taken here, active or
  // not, so that the command is sent and the capture given back.
  if (dxBarMDIButtonsState().Pressed && ::GetCapture() == FHandle) {
    MDIButtonsMouseUp(LParamPoint(Message.LParam));
    return;
  }
  MarkButtonUp(Point(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))));
  TCustomdxBarControl::WndProc(Message);
}

void TdxBarControl::WMCancelModeToolbar(TMessage& Message)
{
  CancelMDIButton();
  TCustomdxBarControl::WndProc(Message);
}

void TdxBarControl::WMCaptureChangedToolbar(TMessage& Message)
{
  FCaptureLost = true;
  if (FResizingControl)
    EndItemResize(true);
  if (FMarkState == TdxBarMarkState::Pressed && !FQuickControl)
    ClickMark(TdxBarMarkState::Normal);
  if (dxBarMDIButtonsState().Pressed && reinterpret_cast<HWND>(Message.LParam) != FHandle)
    CancelMDIButton();
  TCustomdxBarControl::WndProc(Message);
}

void TdxBarControl::WMSizeToolbar(TMessage& Message)
{
  TCustomdxBarControl::WndProc(Message);
  CalculateViewInfo();
  // The caption holds the mark and the buttons at its end: a floating window that changed its
  // size draws it again, as the system does not always repaint a frame it only shrank.
  if (FDockingStyle == dsNone && !FInternal && HandleAllocated())
    ::RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TdxBarControl::CMFontChangedToolbar(TMessage& Message)
{
  TCustomdxBarControl::WndProc(Message);
  // The items measure on the window's canvases: they take the new font before the rebuild.
  RefreshFont();
  if (!IsDockingLocked() && !IsDestroying()) {
    SelectItemControl(nullptr);
    RebuildBar();
  }
}

void TdxBarControl::WMNCCalcSize(TMessage& Message)
{
  TRect b = GetBorders(FInternal ? dsTop : FDockingStyle);
  RECT* r = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                           : reinterpret_cast<RECT*>(Message.LParam);
  if (r) {
    r->left += b.left;
    r->top += b.top;
    r->right -= b.right;
    r->bottom -= b.bottom;
    if (r->right < r->left)
      r->right = r->left;
    if (r->bottom < r->top)
      r->bottom = r->top;
  }
  Message.Result = 0;
}
