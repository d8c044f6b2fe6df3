// The program-wide set-up of the drop-shadow tests (the class layer, then the bar library)
// and the small windows the tests cast shadows with.
#include "ShadowTestUtil.h"

#include "platform/Bitmap.h"

IMPLEMENT_CLASS(TTestBarWindow, TCustomdxBarControl)
IMPLEMENT_CLASS(TClickTarget, TCustomControl)

namespace {

[[maybe_unused]] testing::Environment* const ShadowEnvironment =
    testing::AddGlobalTestEnvironment(new TBarLibraryEnvironment{TShadowTestForm::StaticClass()});

void MakeTopLevelPopup(TCreateParams& Params)
{
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WndParent = nullptr;
}

void FillWhite(TWinControl* AControl, TMessage& Message)
{
  TRect r = AControl->GetClientRect();
  ::FillRect(reinterpret_cast<HDC>(Message.WParam), &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  Message.Result = 1;
}

}  // namespace

void TTestBarWindow::CreateParams(TCreateParams& Params)
{
  TCustomdxBarControl::CreateParams(Params);
  MakeTopLevelPopup(Params);
}

void TTestBarWindow::Paint()
{
  RECT r{};
  ::GetClientRect(GetHandle(), &r);
  ::FillRect(GetCanvas()->GetHandle(), &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

void TClickTarget::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  MakeTopLevelPopup(Params);
}

void TClickTarget::WndProc(TMessage& Message)
{
  if (Message.Msg == WM_LBUTTONDOWN) {
    ++Presses;
    LastPress = POINT{LParamX(Message.LParam), LParamY(Message.LParam)};
  }
  TCustomControl::WndProc(Message);
}

void TClickTarget::WMEraseBkgnd(TMessage& Message)
{
  FillWhite(this, Message);
}

void ShowPopupAt(TWinControl* AControl, const TRect& R)
{
  AControl->SetBoundsRect(R);
  ::SetWindowPos(AControl->GetHandle(), HWND_TOP, R.left, R.top, RectWidth(R), RectHeight(R),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

int AlphaAt(TBitmap* ABitmap, int X, int Y)
{
  return int(static_cast<const uint32_t*>(ABitmap->ScanLine(Y))[X] >> 24);
}

uint32_t ColourBitsAt(TBitmap* ABitmap, int X, int Y)
{
  return static_cast<const uint32_t*>(ABitmap->ScanLine(Y))[X] & 0x00FFFFFFu;
}
