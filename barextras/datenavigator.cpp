// The calendar base and the date navigator: metrics, layout, painting, pointer, keys and
// the arrows' repeat timers.
#include "barextras/datenavigator.h"

#include "barextras/datecombo.h"
#include "barextras/extitems.h"
#include "bars/itemcontrols/combos.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/model/startup.h"
#include "lookandfeel/cxClasses.h"
#include "lookandfeel/cxGeometry.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/GraphicsObjects.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarCustomCalendar, TCustomControl)
IMPLEMENT_CLASS(TdxBarDateNavigator, TdxBarCustomCalendar)

namespace {

// The arrows page the month again every so often while the pointer stays on them.
constexpr UINT_PTR LeftArrowTimerId = 1;
constexpr UINT_PTR RightArrowTimerId = 2;
constexpr UINT ArrowRepeatMs = 170;
// The day names and numbers end this far left of their column's right edge.
constexpr int DayTextIndent = 3;
// The strips beside the day names filled with the control colour.
constexpr int DayNamesSideStrip = 8;

bool IsNull(TDateTime ADate)
{
  return ADate == cxNullDate;
}

TSize MeasureZero(TFont* AFont)
{
  HDC dc = ::GetDC(nullptr);
  TFinally release([dc]() noexcept { ::ReleaseDC(nullptr, dc); });
  HGDIOBJ old = ::SelectObject(dc, AFont->GetHandle());
  SIZE size{};
  ::GetTextExtentPoint32W(dc, L"0", 1, &size);
  ::SelectObject(dc, old);
  return TSize{size.cx, size.cy};
}

int MeasureText(TFont* AFont, const String& AText)
{
  HDC dc = ::GetDC(nullptr);
  TFinally release([dc]() noexcept { ::ReleaseDC(nullptr, dc); });
  HGDIOBJ old = ::SelectObject(dc, AFont->GetHandle());
  SIZE size{};
  ::GetTextExtentPoint32W(dc, AText.c_str(), int(AText.size()), &size);
  ::SelectObject(dc, old);
  return size.cx;
}

void DrawRightAligned(HDC DC, const String& AText, const TRect& R, TColor ATextColor, TColor ABack)
{
  ::SetTextColor(DC, ColorToRGB(ATextColor));
  ::SetBkColor(DC, ColorToRGB(ABack));
  ::SetBkMode(DC, OPAQUE);
  TRect r = R;
  r.right -= DayTextIndent;
  DrawTextInRect(DC, AText, r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Filled triangle pointing left or right inside R, one pixel column at a time.
void DrawArrow(HDC DC, const TRect& R, bool ALeft)
{
  const int height = std::max(1, std::min(RectHeight(R) / 2, RectWidth(R) / 2));
  const int half = height / 2 + 1;
  const int cy = (R.top + R.bottom) / 2;
  const int x0 = (R.left + R.right) / 2 - half / 2;
  for (int i = 0; i < half; ++i) {
    const int x = ALeft ? x0 + i : x0 + half - 1 - i;
    FillRectByColor(DC, Rect(x, cy - i, x + 1, cy + i + 1), clBtnText);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarCustomCalendar

TdxBarCustomCalendar::TdxBarCustomCalendar(TComponent* AOwner) : TCustomControl(AOwner), FDate(cxToday()) {}

void TdxBarCustomCalendar::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  if (!FFlat)
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TdxBarCustomCalendar::SetFlat(bool Value)
{
  if (FFlat == Value)
    return;
  FFlat = Value;
  if (HandleAllocated())
    RecreateWnd();
}

TDateTime TdxBarCustomCalendar::GetSelStart() const
{
  if (IsNull(FSelFinish))
    return FSelStart;
  return std::min(FSelStart, FSelFinish);
}

TDateTime TdxBarCustomCalendar::GetSelFinish() const
{
  if (IsNull(FSelFinish))
    return FSelStart;
  return std::max(FSelStart, FSelFinish);
}

void TdxBarCustomCalendar::SetFirstDate(TDateTime Value)
{
  FFirstDate = cxDateOf(Value);
  Invalidate();
}

void TdxBarCustomCalendar::SetSelStart(TDateTime Value)
{
  FSelStart = IsNull(Value) ? Value : cxDateOf(Value);
  FSelFinish = cxNullDate;
  SetSelFinish(FSelStart);
}

void TdxBarCustomCalendar::SetSelFinish(TDateTime Value)
{
  if (FSelFinish == Value)
    return;
  FSelFinish = Value;
  Invalidate();
}

void TdxBarCustomCalendar::SelectAt(const TPoint& P, bool AExtend)
{
  const TDateTime date = PosToDateTime(P);
  if (IsNull(date))
    return;
  if (AExtend)
    SetSelFinish(date);
  else
    SetSelStart(date);
}

// ---------------------------------------------------------------------------
// TdxBarDateNavigator: model and layout

TdxBarDateNavigator::TdxBarDateNavigator(TComponent* AOwner) : TdxBarCustomCalendar(AOwner)
{
  SetVisible(false);
  SetColor(clWindow);
  GetFont()->SetColor(clWindowText);
  SetFirstDate(FDate);
  FSelStart = FDate;
  CalcMetrics();
}

TdxBarDateNavigator::~TdxBarDateNavigator()
{
  StopArrowTimer();
}

void TdxBarDateNavigator::SetFirstDate(TDateTime Value)
{
  int year, month, day;
  if (!cxDecodeDate(Value, year, month, day))
    return;
  FShownYear = year;
  FShownMonth = month;
  UpdateFirstDate();
}

void TdxBarDateNavigator::ChangeMonth(int ADelta)
{
  uint16_t year = uint16_t(FShownYear), month = uint16_t(FShownMonth);
  cxChangeMonth(year, month, ADelta);
  // The calendar ends where dates end.
  if (year < 1 || year > 9999)
    return;
  FShownYear = year;
  FShownMonth = month;
  UpdateFirstDate();
}

int TdxBarDateNavigator::ColumnOf(TDateTime ADate) const
{
  return (cxDayOfWeek(ADate) - dxBarFirstWeekDay() + 7) % 7;
}

void TdxBarDateNavigator::UpdateFirstDate()
{
  const TDateTime first = cxEncodeDate(FShownYear, FShownMonth, 1);
  const int column = ColumnOf(first);
  // The grid always opens with days of the month before.
  TdxBarCustomCalendar::SetFirstDate(first - (column == 0 ? 7 : column));
}

void TdxBarDateNavigator::SetSelFinish(TDateTime Value)
{
  const bool changed = FSelFinish != Value;
  TdxBarCustomCalendar::SetSelFinish(Value);
  if (changed && !IsNull(Value) && (Value < GetFirstDate() || Value > GetLastDate()))
    SetFirstDate(Value);
}

void TdxBarDateNavigator::CalcMetrics()
{
  TFont* font = GetFont();
  const TSize zero = MeasureZero(font);
  const int size = font->GetSize();
  TdxBarDateNavigatorMetrics& m = FMetrics;
  m.ColWidth = 3 * zero.cx;
  m.SideWidth = 2 * zero.cx;
  m.RowHeight = zero.cy + 2;
  m.HeaderHeight = m.RowHeight + 2 + (FFlat ? 0 : 1);
  m.DaysOfWeekHeight = m.RowHeight + 1;
  m.TodayButtonWidth = MeasureText(font, GetResourceString(sdxBarDateToday)) + m.ColWidth;
  m.ClearButtonWidth = MeasureText(font, GetResourceString(sdxBarDateClear)) + m.ColWidth;
  m.ButtonsOffset = size / 2;
  m.ButtonsHeight = ::MulDiv(size, 5, 2);
  m.ButtonsRegionHeight = size * 3 / 4 + m.ButtonsOffset + m.ButtonsHeight;
}

TSize TdxBarDateNavigator::CalcSize() const
{
  // The flat frame is one pixel each side; a sunken client edge two.
  const int frame = FFlat ? 2 : 2 * ::GetSystemMetrics(SM_CXEDGE);
  const TdxBarDateNavigatorMetrics& m = FMetrics;
  TSize size;
  size.cx = frame + 2 * m.SideWidth + 7 * m.ColWidth;
  size.cy = frame + m.HeaderHeight + m.DaysOfWeekHeight + 6 * m.RowHeight + 1 + (FFlat ? 0 : 1);
  if (HasButtons())
    size.cy += m.ButtonsRegionHeight;
  return size;
}

void TdxBarDateNavigator::CMFontChanged(TMessage& Message)
{
  TdxBarCustomCalendar::CMFontChanged(Message);
  CalcMetrics();
}

TRect TdxBarDateNavigator::GetHeaderRect() const
{
  return Rect(0, 0, GetClientWidth(), FMetrics.HeaderHeight);
}

TRect TdxBarDateNavigator::GetLeftArrowRect() const
{
  return Rect(1, 1, FMetrics.ColWidth - 1, FMetrics.HeaderHeight - 1);
}

TRect TdxBarDateNavigator::GetRightArrowRect() const
{
  const int w = GetClientWidth();
  return Rect(w - FMetrics.ColWidth + 1, 1, w - 1, FMetrics.HeaderHeight - 1);
}

TRect TdxBarDateNavigator::GetCaptionRect() const
{
  return Rect(FMetrics.ColWidth, 0, GetClientWidth() - FMetrics.ColWidth, FMetrics.HeaderHeight);
}

TRect TdxBarDateNavigator::GetGridRect() const
{
  const int top = FMetrics.HeaderHeight + (FFlat ? 0 : 1) + FMetrics.DaysOfWeekHeight;
  return Rect(FMetrics.SideWidth, top, GetClientWidth() - FMetrics.SideWidth, top + 6 * FMetrics.RowHeight);
}

TRect TdxBarDateNavigator::GetDayRect(TDateTime ADate) const
{
  const int index = int(cxDateOf(ADate) - GetFirstDate());
  if (index < 0 || index >= 42)
    return TRect{};
  const TRect grid = GetGridRect();
  const int x = grid.left + (index % 7) * FMetrics.ColWidth, y = grid.top + (index / 7) * FMetrics.RowHeight;
  return Rect(x, y, x + FMetrics.ColWidth, y + FMetrics.RowHeight);
}

TRect TdxBarDateNavigator::GetTodayButtonRect() const
{
  if (!HasButtons() || !FShowTodayButton)
    return TRect{};
  const int buttons =
      (FShowTodayButton ? FMetrics.TodayButtonWidth : 0) + (FShowClearButton ? FMetrics.ClearButtonWidth : 0);
  const int gap = (GetClientWidth() - buttons) / (FShowClearButton ? 3 : 2);
  const int top = GetClientHeight() - FMetrics.ButtonsRegionHeight + FMetrics.ButtonsOffset;
  return Rect(gap, top, gap + FMetrics.TodayButtonWidth, top + FMetrics.ButtonsHeight);
}

TRect TdxBarDateNavigator::GetClearButtonRect() const
{
  if (!HasButtons() || !FShowClearButton)
    return TRect{};
  const int buttons = (FShowTodayButton ? FMetrics.TodayButtonWidth : 0) + FMetrics.ClearButtonWidth;
  const int gap = (GetClientWidth() - buttons) / (FShowTodayButton ? 3 : 2);
  const int top = GetClientHeight() - FMetrics.ButtonsRegionHeight + FMetrics.ButtonsOffset;
  const int right = GetClientWidth() - gap;
  return Rect(right - FMetrics.ClearButtonWidth, top, right, top + FMetrics.ButtonsHeight);
}

TDateTime TdxBarDateNavigator::PosToDateTime(const TPoint& P) const
{
  const TRect client = GetClientRect(), grid = GetGridRect();
  if (!::PtInRect(&client, P) || !::PtInRect(&grid, P) || FMetrics.ColWidth <= 0 || FMetrics.RowHeight <= 0)
    return cxNullDate;
  const int column = (P.x - grid.left) / FMetrics.ColWidth, row = (P.y - grid.top) / FMetrics.RowHeight;
  if (column > 6 || row > 5)
    return cxNullDate;
  // The cells beyond the calendar's ends stay empty and name nothing.
  const TDateTime date = GetFirstDate() + row * 7 + column;
  int year, month, day;
  return cxDecodeDate(date, year, month, day) ? date : cxNullDate;
}

TdxBarPainter* TdxBarDateNavigator::GetComboPainter() const
{
  TCustomdxBarComboControl* control = FCombo ? FCombo->GetDropDownSourceControl() : nullptr;
  return control ? control->GetPainter() : nullptr;
}

TdxBarPainter* TdxBarDateNavigator::GetPainter() const
{
  TdxBarPainter* painter = GetComboPainter();
  return painter ? painter : BarFlatPainter();
}

int TdxBarDateNavigator::GetBorderKind() const
{
  const int kind = TdxBarCustomCalendar::GetBorderKind();
  TdxBarPainter* painter = kind == 1 ? GetComboPainter() : nullptr;
  return painter && painter->GetDateNavigatorBorderKind() == 2 ? 2 : kind;
}

// ---------------------------------------------------------------------------
// Window

void TdxBarDateNavigator::CreateParams(TCreateParams& Params)
{
  TdxBarCustomCalendar::CreateParams(Params);
  if (!FIsDropDown)
    return;
  // A drop-down: a top-level window above everything that never takes activation.
  Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
  Params.ExStyle = (Params.ExStyle & ~DWORD(WS_EX_CLIENTEDGE)) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = GetParentWindow();
}

void TdxBarDateNavigator::CreateWnd()
{
  TdxBarCustomCalendar::CreateWnd();
  HWND handle = GetHandle();
  if (FIsDropDown && (::GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD))
    ::SetParent(handle, nullptr);
}

void TdxBarDateNavigator::WndProc(TMessage& Message)
{
  const TPoint p{LParamX(Message.LParam), LParamY(Message.LParam)};
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      if (FIsDropDown) {
        Message.Result = MA_NOACTIVATE;
        return;
      }
      break;
    case WM_LBUTTONDOWN:
      FDoubleClick = false;
      return MouseDownAt(p);
    case WM_LBUTTONDBLCLK:
      FDoubleClick = true;
      return MouseDownAt(p);
    case WM_MOUSEMOVE:
      return MouseMoveAt(p);
    case WM_LBUTTONUP:
      return MouseUpAt(p);
    case WM_TIMER:
      if (Message.WParam == LeftArrowTimerId || Message.WParam == RightArrowTimerId)
        return ArrowTimer();
      break;
    case WM_KEYDOWN:
      return KeyDownAt(WORD(Message.WParam));
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_NCCALCSIZE:
      if (FFlat)
        return NCCalcSize(Message);
      break;
    case WM_NCPAINT:
      if (FFlat) {
        NCPaint();
        Message.Result = 0;
        return;
      }
      break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (Message.Msg == WM_CANCELMODE || HWND(Message.LParam) != GetHandle())
        StopArrowTimer();
      break;
    default:
      break;
  }
  TdxBarCustomCalendar::WndProc(Message);
}

void TdxBarDateNavigator::NCCalcSize(TMessage& Message)
{
  if (auto* r = reinterpret_cast<RECT*>(Message.LParam))
    ::InflateRect(r, -1, -1);
  Message.Result = 0;
}

void TdxBarDateNavigator::NCPaint()
{
  HWND handle = GetHandle();
  HDC dc = ::GetWindowDC(handle);
  if (!dc)
    return;
  TFinally release([handle, dc]() noexcept { ::ReleaseDC(handle, dc); });
  RECT window;
  ::GetWindowRect(handle, &window);
  // One shadow-coloured line for either border kind: a one-pixel etched edge would show its
  // light half on a white window as nothing.
  FrameRectByColor(dc, Rect(0, 0, window.right - window.left, window.bottom - window.top), clBtnShadow);
}

// ---------------------------------------------------------------------------
// Pointer

void TdxBarDateNavigator::MouseDownAt(const TPoint& P)
{
  if (HasButtons()) {
    const TRect today = GetTodayButtonRect(), clear = GetClearButtonRect();
    if (::PtInRect(&today, P)) {
      FTodayPressed = FTodayHot = true;
      SetMouseCapture(true);
      Invalidate();
      return;
    }
    if (::PtInRect(&clear, P)) {
      FClearPressed = FClearHot = true;
      SetMouseCapture(true);
      Invalidate();
      return;
    }
    if (P.y >= GetClientHeight() - FMetrics.ButtonsRegionHeight)
      return;
  }
  SetMouseCapture(true);
  SelectAt(P, false);
  const TRect left = GetLeftArrowRect(), right = GetRightArrowRect(), caption = GetCaptionRect();
  if (::PtInRect(&left, P) || ::PtInRect(&right, P)) {
    const bool back = ::PtInRect(&left, P);
    ChangeMonth(back ? -1 : 1);
    FArrowTimer = ::SetTimer(GetHandle(), back ? LeftArrowTimerId : RightArrowTimerId, ArrowRepeatMs, nullptr);
  } else if (::PtInRect(&caption, P))
    ShowMonthList();
}

void TdxBarDateNavigator::MouseMoveAt(const TPoint& P)
{
  if (FArrowTimer)
    return;
  if (FMonthListBox) {
    POINT s{P.x, P.y};
    ::MapWindowPoints(GetHandle(), FMonthListBox->GetHandle(), &s, 1);
    FMonthListBox->TrackPoint(TPoint{s.x, s.y});
    return;
  }
  if (FTodayPressed || FClearPressed) {
    const TRect r = FTodayPressed ? GetTodayButtonRect() : GetClearButtonRect();
    bool& hot = FTodayPressed ? FTodayHot : FClearHot;
    if (hot != bool(::PtInRect(&r, P))) {
      hot = !hot;
      Invalidate();
    }
    return;
  }
  if (GetMouseCapture() && ::GetKeyState(VK_LBUTTON) < 0)
    SelectAt(P, true);
}

void TdxBarDateNavigator::MouseUpAt(const TPoint& P)
{
  TWeakRef<TdxBarDateNavigator> self(this);
  if (FArrowTimer) {
    StopArrowTimer();
    SetMouseCapture(false);
    return;
  }
  if (FMonthListBox) {
    SetMouseCapture(false);
    CloseMonthList(true);
    return;
  }
  const bool today = FTodayPressed && FTodayHot, clear = FClearPressed && FClearHot;
  FTodayPressed = FTodayHot = FClearPressed = FClearHot = false;
  if (today)
    SetSelStart(cxToday());
  else if (clear)
    SetSelStart(cxNullDate);
  Invalidate();
  SetMouseCapture(false);
  const TRect client = GetClientRect();
  if (FDoubleClick || !::PtInRect(&client, P))
    return;
  const TRect todayRect = GetTodayButtonRect(), clearRect = GetClearButtonRect();
  if (!IsNull(PosToDateTime(P)) || (today && ::PtInRect(&todayRect, P)) || (clear && ::PtInRect(&clearRect, P)))
    DoDateSelected();
  else if (self)
    SetSelStart(GetSelStart());
}

void TdxBarDateNavigator::ArrowTimer()
{
  const bool back = ::IsWindow(GetHandle()) && FArrowTimer == LeftArrowTimerId;
  POINT cursor;
  ::GetCursorPos(&cursor);
  ::ScreenToClient(GetHandle(), &cursor);
  const TRect arrow = back ? GetLeftArrowRect() : GetRightArrowRect();
  if (::PtInRect(&arrow, TPoint{cursor.x, cursor.y}))
    ChangeMonth(back ? -1 : 1);
}

void TdxBarDateNavigator::StopArrowTimer()
{
  if (!FArrowTimer)
    return;
  if (HandleAllocated())
    ::KillTimer(GetHandle(), FArrowTimer);
  FArrowTimer = 0;
}

void TdxBarDateNavigator::CancelMouseModes()
{
  if (HandleAllocated() && ::GetCapture() == GetHandle())
    ::ReleaseCapture();
  CloseMonthList(false);
  StopArrowTimer();
  FTodayPressed = FTodayHot = FClearPressed = FClearHot = false;
}

void TdxBarDateNavigator::DoDateSelected()
{
  CallEvent(OnDateSelected, this);
}

void TdxBarDateNavigator::SelectDate(TDateTime ADate)
{
  SetSelStart(ADate);
  DoDateSelected();
}

// ---------------------------------------------------------------------------
// Keys

void TdxBarDateNavigator::MoveSelection(TDateTime ADate)
{
  int year, month, day;
  if (!cxDecodeDate(ADate, year, month, day))
    return;
  SetSelStart(ADate);
  // The shown month follows a selection that leaves it.
  if (year != FShownYear || month != FShownMonth)
    SetFirstDate(ADate);
}

void TdxBarDateNavigator::KeyDownAt(WORD AKey)
{
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  TDateTime sel = GetSelStart();
  if (IsNull(sel))
    sel = cxEncodeDate(FShownYear, FShownMonth, 1);
  int year, month, day;
  if (!cxDecodeDate(sel, year, month, day))
    return;
  switch (AKey) {
    case VK_RETURN:
      if (!FMonthListBox)
        DoDateSelected();
      return;
    case VK_PRIOR:
    case VK_NEXT: {
      // The selection pages with the month, on the same day where the month has it.
      uint16_t y = uint16_t(year), m = uint16_t(month);
      cxChangeMonth(y, m, AKey == VK_PRIOR ? -1 : 1);
      TDateTime date;
      if (cxTryEncodeDate(y, m, cxCheckDay(y, m, day), date))
        MoveSelection(date);
      return;
    }
    case VK_LEFT:
      return MoveSelection(sel - 1);
    case VK_RIGHT:
      return MoveSelection(sel + 1);
    case VK_UP:
      return MoveSelection(sel - 7);
    case VK_DOWN:
      return MoveSelection(sel + 7);
    case VK_HOME:
      return MoveSelection(ctrl ? cxEncodeDate(year, month, 1) : sel - ColumnOf(sel));
    case VK_END:
      return MoveSelection(ctrl ? cxEncodeDate(year, month, cxDaysPerMonth(year, month)) : sel + 6 - ColumnOf(sel));
    default:
      return;
  }
}

// ---------------------------------------------------------------------------
// Painting

void TdxBarDateNavigator::Paint()
{
  HDC dc = GetCanvas()->GetHandle();
  const int saved = ::SaveDC(dc);
  TFinally restore([dc, saved]() noexcept { ::RestoreDC(dc, saved); });
  ::SelectObject(dc, GetFont()->GetHandle());
  PaintHeader(dc);
  PaintDayNames(dc);
  PaintDays(dc);
  PaintButtons(dc);
}

void TdxBarDateNavigator::PaintHeader(HDC DC)
{
  TRect r = GetHeaderRect();
  FillRectByColor(DC, r, clBtnFace);
  if (!FFlat)
    FillRectByColor(DC, Rect(r.left, r.bottom, r.right, r.bottom + 1), clBtnText);
  if (GetBorderKind() == 2)
    FillRectByColor(DC, Rect(r.left, r.bottom - 1, r.right, r.bottom), clBtnShadow);
  else {
    RECT edge = r;
    ::DrawEdge(DC, &edge, BDR_RAISEDINNER, BF_RECT);
    r = InflateRectBy(r, -1, -1, -1, -1);
  }
  const TRect left = GetLeftArrowRect(), right = GetRightArrowRect();
  DrawArrow(DC, left, true);
  DrawArrow(DC, right, false);
  ::ExcludeClipRect(DC, left.left, left.top, left.right, left.bottom);
  ::ExcludeClipRect(DC, right.left, right.top, right.right, right.bottom);
  const String caption = cxLongMonthName(FShownMonth) + L" " + IntToStr(FShownYear);
  TdxBarPainter* painter = GetPainter();
  ::SetTextColor(DC, ::GetSysColor(COLOR_BTNTEXT));
  ::SetBkColor(DC, ColorToRGB(painter ? painter->GetDateNavigatorHeaderColor() : TColor(clBtnFace)));
  ::SetBkMode(DC, OPAQUE);
  DrawTextInRect(DC, caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TdxBarDateNavigator::PaintDayNames(HDC DC)
{
  const int top = FMetrics.HeaderHeight + (FFlat ? 0 : 1);
  const int w = GetClientWidth();
  const TRect row = Rect(0, top, w, top + FMetrics.DaysOfWeekHeight);
  FillRectByColor(DC, row, GetColor());
  FillRectByColor(DC, Rect(0, row.bottom - 2, w, row.bottom - 1), clBtnShadow);
  FillRectByColor(DC, Rect(DayNamesSideStrip, row.bottom - 1, w - DayNamesSideStrip, row.bottom), GetColor());
  const BYTE charset = BYTE(GetFont()->GetCharset());
  const bool wholeName = charset == GB2312_CHARSET || charset == CHINESEBIG5_CHARSET || charset == ARABIC_CHARSET;
  for (int i = 0; i < 7; ++i) {
    String name = cxShortDayName((dxBarFirstWeekDay() + i) % 7);
    if (!wholeName && name.size() > 1)
      name.resize(1);
    const int x = FMetrics.SideWidth + i * FMetrics.ColWidth;
    DrawRightAligned(DC, name, Rect(x, row.top, x + FMetrics.ColWidth, row.bottom - 2), GetFont()->GetColor(),
                     GetColor());
  }
}

void TdxBarDateNavigator::PaintDays(HDC DC)
{
  const TDateTime today = cxToday();
  const TRect grid = GetGridRect();
  // The sides beside the grid and what lies below it up to the buttons.
  const int bottom = GetClientHeight() - (HasButtons() ? FMetrics.ButtonsRegionHeight : 0);
  FillRectByColor(DC, Rect(0, grid.top, grid.left, bottom), GetColor());
  FillRectByColor(DC, Rect(grid.right, grid.top, GetClientWidth(), bottom), GetColor());
  FillRectByColor(DC, Rect(grid.left, grid.bottom, grid.right, bottom), GetColor());
  const TDateTime selStart = GetSelStart(), selFinish = GetSelFinish();
  // The flat looks' own border marks the selected day in the manager's highlight colour, light
  // enough for the day's own text colour; otherwise the system's highlight and its text.
  TdxBarManager* manager = FCombo ? FCombo->GetBarManager() : nullptr;
  const bool ownBorder = GetBorderKind() == 2 && manager;
  const TColor selectedBack = ownBorder ? manager->GetFlatSelectedColor() : TColor(clHighlight);
  for (int i = 0; i < 42; ++i) {
    const TDateTime date = GetFirstDate() + i;
    TRect cell = GetDayRect(date);
    int year, month, day;
    if (!cxDecodeDate(date, year, month, day)) {
      FillRectByColor(DC, cell, GetColor());
      continue;
    }
    const bool selected = !IsNull(selStart) && date >= selStart && date <= selFinish;
    const bool inMonth = year == FShownYear && month == FShownMonth;
    TColor back = GetColor(), text = inMonth ? TColor(clWindowText) : TColor(clGrayText);
    if (selected) {
      back = selectedBack;
      if (!ownBorder)
        text = clHighlightText;
    }
    if (date == today) {
      FrameRectByColor(DC, cell, clMaroon);
      cell = InflateRectBy(cell, -1, -1, -1, -1);
    }
    FillRectByColor(DC, cell, back);
    DrawRightAligned(DC, IntToStr(day), cell, text, back);
  }
}

void TdxBarDateNavigator::PaintButtons(HDC DC)
{
  if (!HasButtons())
    return;
  const int top = GetClientHeight() - FMetrics.ButtonsRegionHeight;
  FillRectByColor(DC, Rect(0, top, GetClientWidth(), GetClientHeight()), GetColor());
  FillRectByColor(DC, Rect(0, top, GetClientWidth(), top + 1), clBtnShadow);
  TdxBarPainter* painter = GetPainter();
  if (!painter)
    return;
  if (FShowTodayButton)
    painter->DrawDateNavigatorButton(DC, GetTodayButtonRect(), GetResourceString(sdxBarDateToday), FTodayPressed,
                                     FTodayHot);
  if (FShowClearButton)
    painter->DrawDateNavigatorButton(DC, GetClearButtonRect(), GetResourceString(sdxBarDateClear), FClearPressed,
                                     FClearHot);
}
