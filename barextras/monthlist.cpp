// The pop-up list of months a date navigator's caption opens while the button is held,
// and the navigator's side of opening and closing it.
#include "barextras/datenavigator.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/GraphicsObjects.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TAMonthListBox, TCustomControl)

namespace {

constexpr UINT_PTR ScrollTimerId = 1;
// The pointer's distance beyond an edge that makes one more step of speed.
constexpr int ScrollStepDistance = 12;
constexpr int MaxScrollStep = 4;
constexpr UINT ScrollIntervals[MaxScrollStep] = {500, 250, 100, 50};

}  // namespace

TAMonthListBox::TAMonthListBox(TComponent* AOwner) : TCustomControl(AOwner)
{
  SetVisible(false);
  SetColor(clWindow);
}

TAMonthListBox::~TAMonthListBox()
{
  if (HandleAllocated() && FScrollStep)
    ::KillTimer(GetHandle(), ScrollTimerId);
}

void TAMonthListBox::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = GetParentWindow();
}

void TAMonthListBox::SetTopMonth(int AYear, int AMonth)
{
  // Nothing before January of year 1 or after December 9999 can be shown.
  const int index = std::clamp(AYear * 12 + AMonth - 1, 12, 9999 * 12 + 12 - RowCount);
  if (FTopYear * 12 + FTopMonth - 1 == index)
    return;
  FTopYear = index / 12;
  FTopMonth = index % 12 + 1;
  Invalidate();
}

TDateTime TAMonthListBox::GetSelectedDate() const
{
  if (FSelectedRow < 0)
    return cxNullDate;
  uint16_t year = uint16_t(FTopYear), month = uint16_t(FTopMonth);
  cxChangeMonth(year, month, FSelectedRow);
  TDateTime date = cxNullDate;
  cxTryEncodeDate(year, month, 1, date);
  return date;
}

int TAMonthListBox::ScrollStep(int ADistanceAbove, int ADistanceBelow)
{
  if (ADistanceAbove > 0)
    return -std::min(MaxScrollStep, ADistanceAbove / ScrollStepDistance + 1);
  if (ADistanceBelow > 0)
    return std::min(MaxScrollStep, ADistanceBelow / ScrollStepDistance + 1);
  return 0;
}

int TAMonthListBox::ScrollInterval(int AStep)
{
  const int step = std::abs(AStep);
  return step >= 1 && step <= MaxScrollStep ? int(ScrollIntervals[step - 1]) : 0;
}

void TAMonthListBox::SetScrollStep(int Value)
{
  if (FScrollStep == Value)
    return;
  FScrollStep = Value;
  if (!HandleAllocated())
    return;
  if (Value == 0)
    ::KillTimer(GetHandle(), ScrollTimerId);
  else
    ::SetTimer(GetHandle(), ScrollTimerId, UINT(ScrollInterval(Value)), nullptr);
}

void TAMonthListBox::TrackPoint(const TPoint& P)
{
  const int height = RowCount * FRowHeight;
  SetScrollStep(ScrollStep(-P.y, P.y - height + 1));
  const bool inside = P.y >= 0 && P.y < height && P.x >= 0 && P.x < GetClientWidth();
  const int row = inside ? P.y / FRowHeight : -1;
  if (row != FSelectedRow) {
    FSelectedRow = row;
    Invalidate();
  }
}

void TAMonthListBox::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_TIMER:
      if (Message.WParam == ScrollTimerId && FScrollStep != 0) {
        uint16_t year = uint16_t(FTopYear), month = uint16_t(FTopMonth);
        cxChangeMonth(year, month, FScrollStep > 0 ? 1 : -1);
        SetTopMonth(year, month);
        return;
      }
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TAMonthListBox::Paint()
{
  HDC dc = GetCanvas()->GetHandle();
  const int saved = ::SaveDC(dc);
  TFinally restore([dc, saved]() noexcept { ::RestoreDC(dc, saved); });
  ::SelectObject(dc, GetFont()->GetHandle());
  ::SetBkMode(dc, OPAQUE);
  const int width = GetClientWidth();
  for (int row = 0; row < RowCount; ++row) {
    uint16_t year = uint16_t(FTopYear), month = uint16_t(FTopMonth);
    cxChangeMonth(year, month, row);
    const bool selected = row == FSelectedRow;
    const TColor back = selected ? TColor(clWindowText) : GetColor();
    const TColor text = selected ? GetColor() : GetFont()->GetColor();
    TRect r = Rect(0, row * FRowHeight, width, (row + 1) * FRowHeight);
    FillRectByColor(dc, r, back);
    ::SetTextColor(dc, ColorToRGB(text));
    ::SetBkColor(dc, ColorToRGB(back));
    DrawTextInRect(dc, cxLongMonthName(month) + L" " + IntToStr(year), r,
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

// ---------------------------------------------------------------------------
// The navigator's side

void TdxBarDateNavigator::ShowMonthList()
{
  if (FMonthListBox)
    return;
  FMonthListBox = new TAMonthListBox(this);
  FMonthListBox->SetParentWindow(GetHandle());
  FMonthListBox->GetFont()->Assign(GetFont());
  FMonthListBox->SetColor(GetColor());
  FMonthListBox->SetRowHeight(GetMetrics().HeaderHeight - 2);
  uint16_t year = uint16_t(FShownYear), month = uint16_t(FShownMonth);
  // With one month in the window the shown one is the middle row.
  cxChangeMonth(year, month, -3);
  FMonthListBox->SetTopMonth(year, month);
  const int width = 6 * GetMetrics().ColWidth + 2 * ::GetSystemMetrics(SM_CXBORDER);
  const int height = TAMonthListBox::RowCount * FMonthListBox->GetRowHeight() + 2 * ::GetSystemMetrics(SM_CYBORDER);
  const TRect caption = GetCaptionRect();
  POINT centre{(caption.left + caption.right) / 2, (caption.top + caption.bottom) / 2};
  ::ClientToScreen(GetHandle(), &centre);
  HWND list = FMonthListBox->GetHandle();
  ::SetWindowPos(list, HWND_TOPMOST, centre.x - width / 2, centre.y - height / 2, width, height, SWP_NOACTIVATE);
  ::ShowWindow(list, SW_SHOWNOACTIVATE);
}

void TdxBarDateNavigator::CloseMonthList(bool AApply)
{
  TAMonthListBox* list = FMonthListBox;
  if (!list)
    return;
  FMonthListBox = nullptr;
  const TDateTime chosen = list->GetSelectedDate();
  list->Free();
  if (AApply && chosen != cxNullDate) {
    SetFirstDate(chosen);
    Invalidate();
  }
}
