// Painting of windowed controls: WM_PAINT with graphic children and double buffering,
// background erasing with the control's brush, WM_PRINTCLIENT answered by painting into
// the given DC (children included, so PrintWindow captures work), and the canvases of
// TCustomControl and TGraphicControl.
#include <algorithm>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"

IMPLEMENT_CLASS(TControlCanvas, TCanvas)
IMPLEMENT_CLASS(TCustomControl, TWinControl)
IMPLEMENT_CLASS(TGraphicControl, TControl)

namespace {

// The canvases that hold a DC taken from a window (not one given by a paint).
std::vector<TControlCanvas*>& CanvasesWithDC()
{
  static std::vector<TControlCanvas*> list;
  return list;
}

class TSaveDCScope {
public:
  explicit TSaveDCScope(HDC DC) : FDC(DC), FSaved(::SaveDC(DC)) {}
  ~TSaveDCScope() { ::RestoreDC(FDC, FSaved); }
  TSaveDCScope(const TSaveDCScope&) = delete;
  TSaveDCScope& operator=(const TSaveDCScope&) = delete;

private:
  HDC FDC;
  int FSaved;
};

// Moves the DC's origin to (X, Y) of the current origin and clips to W x H there.
void EnterChildArea(HDC DC, int X, int Y, int W, int H)
{
  POINT org{};
  ::GetViewportOrgEx(DC, &org);
  ::SetViewportOrgEx(DC, org.x + X, org.y + Y, nullptr);
  ::IntersectClipRect(DC, 0, 0, W, H);
}

}  // namespace

// ---------------------------------------------------------------------------
// TControlCanvas

TControlCanvas::~TControlCanvas()
{
  FreeHandle();
}

void TControlCanvas::SetControl(TControl* Value)
{
  if (FControl == Value)
    return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::CreateHandle()
{
  if (!FControl)
    return;
  auto* window = dynamic_cast<TWinControl*>(FControl);
  TWinControl* host = window ? window : FControl->GetParent();
  if (!host)
    return;
  HWND h = host->GetHandle();
  HDC dc = ::GetDCEx(h, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc)
    return;
  if (!window) {
    TRect r = FControl->GetBoundsRect();
    EnterChildArea(dc, r.left, r.top, RectWidth(r), RectHeight(r));
  }
  FDeviceContext = dc;
  FWindowHandle = h;
  CanvasesWithDC().push_back(this);
  SetHandle(dc);
}

void TControlCanvas::FreeHandle()
{
  if (!FDeviceContext) {
    SetHandle(nullptr);
    return;
  }
  SetHandle(nullptr);
  ::ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
  auto& list = CanvasesWithDC();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void FreeDeviceContexts()
{
  for (TControlCanvas* c : std::vector<TControlCanvas*>(CanvasesWithDC()))
    c->FreeHandle();
}

bool HasSystemFrame(HWND Wnd)
{
  constexpr LONG_PTR frameStyles = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL;
  constexpr LONG_PTR frameExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME;
  return (GetWindowLongPtrW(Wnd, GWL_STYLE) & frameStyles) || (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & frameExStyles);
}

void FreeControlCanvases(TWinControl* Control)
{
  if (!Control->HandleAllocated())
    return;
  HWND h = Control->GetHandle();
  for (TControlCanvas* c : std::vector<TControlCanvas*>(CanvasesWithDC())) {
    TControl* owner = c->GetControl();
    auto* window = dynamic_cast<TWinControl*>(owner);
    TWinControl* host = window ? window : (owner ? owner->GetParent() : nullptr);
    if (host && host->HandleAllocated() && host->GetHandle() == h)
      c->FreeHandle();
  }
}

// ---------------------------------------------------------------------------
// TWinControl painting

void TWinControl::WMPaint(TMessage& Message)
{
  bool graphicChildren =
      std::any_of(FControls.begin(), FControls.end(), [](TControl* c) { return !dynamic_cast<TWinControl*>(c); });
  if (!FControlState.Contains(csCustomPaint) && !graphicChildren && !FDoubleBuffered) {
    DefaultHandler(Message);
    return;
  }
  if (HDC given = reinterpret_cast<HDC>(Message.WParam)) {
    PaintHandler(given);
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(FHandle, &ps);
  // EndPaint must run even when a Paint raises, or the window asks to be painted forever.
  struct TEndPaint {
    HWND Window;
    PAINTSTRUCT* Paint;
    ~TEndPaint() { ::EndPaint(Window, Paint); }
  } endPaint{FHandle, &ps};
  if (!FDoubleBuffered) {
    PaintHandler(dc);
    return;
  }
  TRect client = GetClientRect();
  HDC memory = ::CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateScreenBitmap(std::max(RectWidth(client), 1), std::max(RectHeight(client), 1));
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  struct TBufferFree {
    HDC Memory;
    HBITMAP Bitmap;
    HGDIOBJ Old;
    ~TBufferFree()
    {
      ::SelectObject(Memory, Old);
      ::DeleteObject(Bitmap);
      ::DeleteDC(Memory);
    }
  } bufferFree{memory, bitmap, old};
  ::IntersectClipRect(memory, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
  // WParam equal to LParam marks the erase of our own buffer (always done).
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(memory));
  PaintHandler(memory);
  ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, RectWidth(ps.rcPaint), RectHeight(ps.rcPaint), memory, ps.rcPaint.left,
           ps.rcPaint.top, SRCCOPY);
}

void TWinControl::PaintHandler(HDC DC)
{
  {
    TSaveDCScope saved(DC);
    // Opaque graphic children cover their part: nothing is painted under them.
    for (TControl* c : FControls)
      if (!dynamic_cast<TWinControl*>(c) && c->FVisible && c->FControlStyle.Contains(csOpaque))
        ::ExcludeClipRect(DC, c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight);
    PaintWindow(DC);
  }
  PaintControls(DC, nullptr);
}

void TWinControl::PaintWindow(HDC DC)
{
  // A native control paints into a given DC; our own classes have nothing to paint here.
  if (FDefWndProc == ::DefWindowProcW || !FHandle)
    return;
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First)
{
  auto it = FControls.begin();
  if (First)
    it = std::find(FControls.begin(), FControls.end(), First);
  for (; it != FControls.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->FVisible)
      continue;
    TRect r = c->GetBoundsRect();
    if (!::RectVisible(DC, &r))
      continue;
    TSaveDCScope saved(DC);
    EnterChildArea(DC, r.left, r.top, RectWidth(r), RectHeight(r));
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TWinControl::WMEraseBkgnd(TMessage& Message)
{
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  // A double-buffered control erases only its buffer (WParam == LParam), never the screen.
  if (FDoubleBuffered && Message.WParam != WPARAM(Message.LParam) && !FControlState.Contains(csPrintClient)) {
    Message.Result = 1;
    return;
  }
  TRect r = GetClientRect();
  ::FillRect(dc, &r, FBrush->GetHandle());
  Message.Result = 1;
}

void TWinControl::WMPrintClient(TMessage& Message)
{
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc)
    return;
  struct TPrintState {
    TControlState& State;
    TPrintState(TControlState& s) : State(s) { State += csPrintClient; }
    ~TPrintState() { State -= csPrintClient; }
  } printing{FControlState};
  if (FDefWndProc != ::DefWindowProcW) {
    DefaultHandler(Message);  // the native control prints itself
    PaintControls(dc, nullptr);
  } else {
    PaintHandler(dc);
  }
  Message.Result = 0;
  if (!(Message.LParam & PRF_CHILDREN) || !FHandle)
    return;
  // Child windows, bottom of the z order first, each at its place in our client area.
  HWND child = ::GetWindow(FHandle, GW_CHILD);
  if (!child)
    return;
  for (child = ::GetWindow(child, GW_HWNDLAST); child; child = ::GetWindow(child, GW_HWNDPREV)) {
    if (!::IsWindowVisible(child))
      continue;
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, FHandle, reinterpret_cast<POINT*>(&r), 2);
    TSaveDCScope saved(dc);
    EnterChildArea(dc, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                   PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  }
}

void TWinControl::PaintTo(HDC DC, int X, int Y)
{
  TSaveDCScope saved(DC);
  EnterChildArea(DC, X, Y, FWidth, FHeight);
  ::SendMessageW(GetHandle(), WM_PRINT, reinterpret_cast<WPARAM>(DC),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
}

// ---------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner)
{
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
  FControlState += csCustomPaint;
}

TCustomControl::~TCustomControl()
{
  delete FCanvas;
  FCanvas = nullptr;
}

TCanvas* TCustomControl::GetCanvas() const
{
  return FCanvas;
}

void TCustomControl::PaintWindow(HDC DC)
{
  TCanvasPaintScope scope(FCanvas, DC);
  Paint();
}

// ---------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner)
{
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl()
{
  delete FCanvas;
  FCanvas = nullptr;
}

TCanvas* TGraphicControl::GetCanvas() const
{
  return FCanvas;
}

void TGraphicControl::Dispatch(TMessage& Message)
{
  if (Message.Msg == WM_PAINT)
    return WMPaint(Message);
  TControl::Dispatch(Message);
}

void TGraphicControl::WMPaint(TMessage& Message)
{
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc)
    return;
  TCanvasPaintScope scope(FCanvas, dc);
  Paint();
}
