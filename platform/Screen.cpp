#include "platform/Forms.h"

#include <algorithm>
#include <cmath>
#include <cstring>

TScreen* Screen = nullptr;

// ---------------------------------------------------------------------------
// Cursors the system does not have: two-colour 32 x 32 pictures drawn here.

namespace {

class TCursorPicture {
public:
  enum TInk : char { Clear = 0, Black = 'X', White = 'O' };

  void Set(int X, int Y, TInk Ink)
  {
    if (X >= 0 && X < 32 && Y >= 0 && Y < 32)
      FInk[Y][X] = Ink;
  }
  // The usual arrow with its tip at (X, Y).
  void Arrow(int X, int Y)
  {
    static const char* const rows[] = {
        "X",        "XX",       "XOX",       "XOOX",       "XOOOX",       "XOOOOX",
        "XOOOOOX",  "XOOOOOOX", "XOOOOOOOX", "XOOOOOOOOX", "XOOOOOXXXXX", "XOOXOOX",
        "XOX XOOX", "XX  XOOX", "X    XOOX", "     XOOX",  "      XX",
    };
    for (int r = 0; r < int(std::size(rows)); ++r)
      for (int c = 0; rows[r][c]; ++c)
        if (rows[r][c] != ' ')
          Set(X + c, Y + r, TInk(rows[r][c]));
  }
  // A white sheet with a black edge.
  void Sheet(int X, int Y, int Width, int Height)
  {
    for (int y = Y; y < Y + Height; ++y)
      for (int x = X; x < X + Width; ++x) {
        bool edge = y == Y || y == Y + Height - 1 || x == X || x == X + Width - 1;
        Set(x, y, edge ? Black : White);
      }
  }
  // A no-entry sign centred at (Cx, Cy).
  void NoEntry(int Cx, int Cy, int Radius)
  {
    for (int y = Cy - Radius - 1; y <= Cy + Radius + 1; ++y)
      for (int x = Cx - Radius - 1; x <= Cx + Radius + 1; ++x) {
        double d = std::hypot(x - Cx, y - Cy);
        bool ring = d <= Radius + 0.5 && d >= Radius - 2.5;
        bool bar = d < Radius && std::abs((x - Cx) - (y - Cy)) <= 1;
        if (ring || bar)
          Set(x, y, Black);
        else if (d <= Radius + 1.5 && d > Radius + 0.5)
          Set(x, y, White);
      }
  }
  // Two bars across the middle with arrows pointing away from them, for a splitter.
  void Splitter()
  {
    for (int y = 6; y <= 25; ++y)
      for (int x = 13; x <= 18; ++x)
        Set(x, y, (x == 14 || x == 17) ? Black : (x == 15 || x == 16) ? White : Black);
    for (int i = 0; i < 5; ++i)
      for (int y = 16 - i; y <= 16 + i; ++y) {
        Set(8 + i, y, Black);
        Set(23 - i, y, Black);
      }
  }
  void Transpose()
  {
    for (int y = 0; y < 32; ++y)
      for (int x = y + 1; x < 32; ++x)
        std::swap(FInk[y][x], FInk[x][y]);
  }
  HCURSOR Make(int HotX, int HotY) const
  {
    uint8_t andMask[32 * 4];
    uint8_t xorMask[32 * 4];
    std::memset(andMask, 0xFF, sizeof andMask);
    std::memset(xorMask, 0, sizeof xorMask);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        uint8_t bit = uint8_t(0x80 >> (x % 8));
        int index = y * 4 + x / 8;
        if (FInk[y][x] == Black || FInk[y][x] == White)
          andMask[index] &= uint8_t(~bit);
        if (FInk[y][x] == White)
          xorMask[index] |= bit;
      }
    return CreateCursor(GetModuleHandleW(nullptr), HotX, HotY, 32, 32, andMask, xorMask);
  }

private:
  char FInk[32][32] = {};
};

HCURSOR MakeDrawnCursor(TCursor Id)
{
  TCursorPicture p;
  switch (Id) {
    case crDrag:
      p.Arrow(0, 0);
      p.Sheet(9, 17, 10, 11);
      return p.Make(0, 0);
    case crMultiDrag:
      p.Arrow(0, 0);
      p.Sheet(12, 20, 10, 11);
      p.Sheet(9, 17, 10, 11);
      return p.Make(0, 0);
    case crNoDrop:
      p.NoEntry(15, 15, 10);
      return p.Make(15, 15);
    case crSQLWait:
      p.Arrow(0, 0);
      p.Sheet(10, 16, 12, 12);
      for (int y = 19; y <= 25; y += 3)
        for (int x = 12; x <= 19; ++x)
          p.Set(x, y, TCursorPicture::Black);
      return p.Make(0, 0);
    case crHSplit:
      p.Splitter();
      return p.Make(15, 15);
    case crVSplit:
      p.Splitter();
      p.Transpose();
      return p.Make(15, 15);
    default:
      return nullptr;
  }
}

struct TSystemCursor {
  TCursor Id;
  const wchar_t* Resource;
};

// The predefined identifiers the system has a cursor for.
const TSystemCursor SystemCursors[] = {
    {crArrow, IDC_ARROW},
    {crCross, IDC_CROSS},
    {crIBeam, IDC_IBEAM},
    {-5, IDC_SIZEALL},
    {crSizeNESW, IDC_SIZENESW},
    {crSizeNS, IDC_SIZENS},
    {crSizeNWSE, IDC_SIZENWSE},
    {crSizeWE, IDC_SIZEWE},
    {crUpArrow, IDC_UPARROW},
    {crHourGlass, IDC_WAIT},
    {crNo, IDC_NO},
    {crAppStart, IDC_APPSTARTING},
    {crHelp, IDC_HELP},
    {crHandPoint, IDC_HAND},
    {crSizeAll, IDC_SIZEALL},
};

constexpr TCursor DrawnCursors[] = {crDrag, crNoDrop, crHSplit, crVSplit, crMultiDrag, crSQLWait};

}  // namespace

// ---------------------------------------------------------------------------
// TMonitor

IMPLEMENT_CLASS(TMonitor, TObject)

namespace {

MONITORINFO MonitorInfo(HMONITOR Handle)
{
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(Handle, &info)) {
    // A monitor that went away: report nothing rather than stale bounds.
    info.rcMonitor = info.rcWork = RECT{0, 0, 0, 0};
    info.dwFlags = 0;
  }
  return info;
}

}  // namespace

bool TMonitor::GetPrimary() const
{
  return (MonitorInfo(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0;
}

TRect TMonitor::GetBoundsRect() const
{
  return MonitorInfo(FHandle).rcMonitor;
}

TRect TMonitor::GetWorkareaRect() const
{
  return MonitorInfo(FHandle).rcWork;
}

// ---------------------------------------------------------------------------
// TScreen

IMPLEMENT_CLASS(TScreen, TComponent)

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner)
{
  FMenuFont = std::make_unique<TFont>();
  FHintFont = std::make_unique<TFont>();
  FIconFont = std::make_unique<TFont>();
  CreateCursors();
  ResetFonts();
}

TScreen::~TScreen()
{
  DestroyCursors();
}

void TScreen::CreateCursors()
{
  FDefaultCursor = LoadCursorW(nullptr, IDC_ARROW);
  FCursors[crNone] = TCursorEntry{nullptr, false};
  for (const TSystemCursor& c : SystemCursors)
    FCursors[c.Id] = TCursorEntry{nullptr, false, true};
  for (TCursor id : DrawnCursors)
    FCursors[id] = TCursorEntry{nullptr, false, true};
}

TScreen::TCursorEntry TScreen::LoadStandardCursor(int Id) const
{
  for (const TSystemCursor& c : SystemCursors)
    if (c.Id == Id)
      return TCursorEntry{LoadCursorW(nullptr, c.Resource), false};
  HCURSOR handle = MakeDrawnCursor(TCursor(Id));
  // Without a drawn cursor the system's arrow stands in; it is shared and never destroyed.
  return handle ? TCursorEntry{handle, true} : TCursorEntry{LoadCursorW(nullptr, IDC_ARROW), false};
}

void TScreen::DestroyCursors()
{
  for (auto& [id, entry] : FCursors)
    if (entry.Owned && entry.Handle)
      DestroyCursor(entry.Handle);
  FCursors.clear();
  if (FDefaultOwned && FDefaultCursor)
    DestroyCursor(FDefaultCursor);
  FDefaultCursor = nullptr;
  FDefaultOwned = false;
}

HCURSOR TScreen::GetCursors(int Index) const
{
  if (Index == crDefault)
    return FDefaultCursor;
  auto it = FCursors.find(Index);
  if (it == FCursors.end())
    return FDefaultCursor;
  if (it->second.Pending)
    it->second = LoadStandardCursor(Index);
  return it->second.Handle;
}

void TScreen::SetCursors(int Index, HCURSOR Handle)
{
  if (Index == crDefault) {
    if (Handle == FDefaultCursor)
      return;
    if (FDefaultOwned && FDefaultCursor)
      DestroyCursor(FDefaultCursor);
    FDefaultOwned = Handle != nullptr;
    FDefaultCursor = Handle ? Handle : LoadCursorW(nullptr, IDC_ARROW);
    return;
  }
  auto it = FCursors.find(Index);
  if (it != FCursors.end()) {
    if (it->second.Handle == Handle && Handle)
      return;
    if (it->second.Owned && it->second.Handle)
      DestroyCursor(it->second.Handle);
    FCursors.erase(it);
  }
  if (Handle)
    FCursors[Index] = TCursorEntry{Handle, true};
  if (FCursor == Index && FCursor != crDefault)
    ::SetCursor(GetCursors(Index));
}

void TScreen::SetCursor(TCursor Value)
{
  if (FCursor == Value)
    return;
  FCursor = Value;
  if (Value == crDefault) {
    // Nudge the mouse so that the window under it chooses its own cursor again.
    POINT p;
    if (GetCursorPos(&p))
      SetCursorPos(p.x, p.y);
  } else {
    ::SetCursor(GetCursors(Value));
  }
}

int TScreen::GetWidth() const
{
  return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::GetHeight() const
{
  return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::GetDesktopRect() const
{
  int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
  int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return Bounds(x, y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::GetWorkAreaRect() const
{
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
    r = RECT{0, 0, GetWidth(), GetHeight()};
  return r;
}

// ---------------------------------------------------------------------------
// Monitors

void TScreen::ResetMonitors()
{
  FMonitors.clear();
  FTrueColor = -1;
}

bool TScreen::IsTrueColor() const
{
  if (FTrueColor < 0) {
    HDC dc = GetDC(nullptr);
    FTrueColor = dc && !(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) &&
                 GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) >= 24;
    if (dc)
      ReleaseDC(nullptr, dc);
  }
  return FTrueColor != 0;
}

void TScreen::EnumerateMonitors()
{
  std::vector<HMONITOR> handles;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR Handle, HDC, LPRECT, LPARAM Data) -> BOOL {
        reinterpret_cast<std::vector<HMONITOR>*>(Data)->push_back(Handle);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&handles));
  bool same = handles.size() == FMonitors.size();
  for (size_t i = 0; same && i < handles.size(); ++i)
    same = FMonitors[i]->FHandle == handles[i];
  if (same)
    return;
  FMonitors.clear();
  for (size_t i = 0; i < handles.size(); ++i)
    FMonitors.push_back(std::make_unique<TMonitor>(handles[i], int(i)));
}

int TScreen::GetMonitorCount()
{
  if (FMonitors.empty())
    EnumerateMonitors();
  return int(FMonitors.size());
}

TMonitor* TScreen::GetMonitors(int Index)
{
  if (FMonitors.empty())
    EnumerateMonitors();
  return Index >= 0 && Index < int(FMonitors.size()) ? FMonitors[Index].get() : nullptr;
}

TMonitor* TScreen::FindMonitor(HMONITOR Handle)
{
  if (!Handle)
    return nullptr;
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1 || FMonitors.empty())
      EnumerateMonitors();
    for (auto& m : FMonitors)
      if (m->FHandle == Handle)
        return m.get();
  }
  return nullptr;
}

TMonitor* TScreen::GetPrimaryMonitor()
{
  return FindMonitor(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

namespace {

DWORD MonitorFlags(TMonitorDefaultTo Default)
{
  switch (Default) {
    case mdNull:
      return MONITOR_DEFAULTTONULL;
    case mdPrimary:
      return MONITOR_DEFAULTTOPRIMARY;
    default:
      return MONITOR_DEFAULTTONEAREST;
  }
}

}  // namespace

TMonitor* TScreen::MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default)
{
  return FindMonitor(::MonitorFromPoint(Point, MonitorFlags(Default)));
}

TMonitor* TScreen::MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default)
{
  return FindMonitor(::MonitorFromRect(&Rect, MonitorFlags(Default)));
}

TMonitor* TScreen::MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default)
{
  if (!Handle || !IsWindow(Handle))
    return Default == mdNull ? nullptr : Default == mdPrimary ? GetPrimaryMonitor() : GetMonitors(0);
  return FindMonitor(::MonitorFromWindow(Handle, MonitorFlags(Default)));
}

// ---------------------------------------------------------------------------
// Fonts and metrics

void TScreen::ResetFonts()
{
  HDC dc = GetDC(nullptr);
  if (dc) {
    FPixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    FMenuFont->Assign(metrics.lfMenuFont);
    FHintFont->Assign(metrics.lfStatusFont);
  }
  FMenuFont->SetColor(clMenuText);
  FHintFont->SetColor(clInfoText);
  LOGFONTW icon{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0))
    FIconFont->Assign(icon);
  FIconFont->SetColor(clWindowText);
  FFonts.reset();
}

TStrings* TScreen::GetFonts()
{
  if (!FFonts) {
    auto list = std::make_unique<TStringList>();
    list->SetSorted(true);
    list->SetDuplicates(dupIgnore);
    HDC dc = GetDC(nullptr);
    LOGFONTW filter{};
    filter.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(
        dc, &filter,
        [](const LOGFONTW* Font, const TEXTMETRICW*, DWORD, LPARAM Data) -> int {
          // Vertical variants ("@Name") are not families of their own.
          if (Font->lfFaceName[0] != L'@')
            reinterpret_cast<TStringList*>(Data)->Add(Font->lfFaceName);
          return 1;
        },
        reinterpret_cast<LPARAM>(list.get()), 0);
    ReleaseDC(nullptr, dc);
    FFonts = std::move(list);
  }
  return FFonts.get();
}

// ---------------------------------------------------------------------------
// Forms and activity

TCustomForm* TScreen::GetCustomForms(int Index) const
{
  return Index >= 0 && Index < int(FCustomForms.size()) ? FCustomForms[Index] : nullptr;
}

int TScreen::GetFormCount() const
{
  return int(std::count_if(FCustomForms.begin(), FCustomForms.end(),
                           [](TCustomForm* f) { return dynamic_cast<TForm*>(f) != nullptr; }));
}

TForm* TScreen::GetForms(int Index) const
{
  for (TCustomForm* f : FCustomForms)
    if (auto* form = dynamic_cast<TForm*>(f); form && Index-- == 0)
      return form;
  return nullptr;
}

TForm* TScreen::GetActiveForm() const
{
  return dynamic_cast<TForm*>(FActiveCustomForm);
}

void TScreen::AddForm(TCustomForm* Form)
{
  if (std::find(FCustomForms.begin(), FCustomForms.end(), Form) == FCustomForms.end())
    FCustomForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form)
{
  auto it = std::find(FCustomForms.begin(), FCustomForms.end(), Form);
  if (it == FCustomForms.end())
    return;
  FCustomForms.erase(it);
  bool formChanged = FActiveCustomForm == Form;
  if (formChanged)
    FActiveCustomForm = nullptr;
  bool controlChanged = FActiveControl && (FActiveControl == Form || Form->ContainsControl(FActiveControl));
  if (controlChanged)
    FActiveControl = nullptr;
  // Nobody is told while the screen itself is going.
  if (ComponentState().Contains(csDestroying))
    return;
  if (formChanged)
    CallEvent(OnActiveFormChange, this);
  if (controlChanged)
    CallEvent(OnActiveControlChange, this);
}

void TScreen::SetActiveForm(TCustomForm* Form)
{
  if (Form) {
    // The active form moves to the front, so the list reads most recently active first.
    auto it = std::find(FCustomForms.begin(), FCustomForms.end(), Form);
    if (it != FCustomForms.end())
      std::rotate(FCustomForms.begin(), it, it + 1);
  }
  if (FActiveCustomForm == Form)
    return;
  FActiveCustomForm = Form;
  CallEvent(OnActiveFormChange, this);
}

void TScreen::SetActiveControl(TCustomForm* Form, TWinControl* Control)
{
  SetActiveForm(Form);
  if (FActiveControl == Control)
    return;
  FActiveControl = Control;
  if (Control)
    Control->FreeNotification(this);
  CallEvent(OnActiveControlChange, this);
}

void TScreen::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActiveControl) {
    FActiveControl = nullptr;
    if (!ComponentState().Contains(csDestroying))
      CallEvent(OnActiveControlChange, this);
  }
}
