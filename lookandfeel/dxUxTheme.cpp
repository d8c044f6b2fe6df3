// Run-time binding of uxtheme.dll. The system header is not included: its declarations
// would clash with this unit's wrappers, so the few types needed are spelled out here.
#include "lookandfeel/dxUxTheme.h"

namespace {

using THandle = void*;

// The buffered-paint parameter block, laid out as the library expects it.
struct TPaintParams {
  DWORD cbSize;
  DWORD dwFlags;
  const RECT* prcExclude;
  const void* pBlendFunction;
};

using TOpenThemeData = THandle(WINAPI*)(HWND, LPCWSTR);
using TCloseThemeData = HRESULT(WINAPI*)(THandle);
using TIsThemeActive = BOOL(WINAPI*)();
using TIsAppThemed = BOOL(WINAPI*)();
using TDrawThemeBackground = HRESULT(WINAPI*)(THandle, HDC, int, int, const RECT*, const RECT*);
using TGetThemeBackgroundContentRect = HRESULT(WINAPI*)(THandle, HDC, int, int, const RECT*, RECT*);
using TGetThemePartSize = HRESULT(WINAPI*)(THandle, HDC, int, int, RECT*, int, SIZE*);
using TGetThemeColor = HRESULT(WINAPI*)(THandle, int, int, int, COLORREF*);
using TIsThemeBackgroundPartiallyTransparent = BOOL(WINAPI*)(THandle, int, int);
using TGetCurrentThemeName = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
using TBufferedPaintInit = HRESULT(WINAPI*)();
using TBufferedPaintUnInit = HRESULT(WINAPI*)();
using TBeginBufferedPaint = THandle(WINAPI*)(HDC, const RECT*, int, TPaintParams*, HDC*);
using TEndBufferedPaint = HRESULT(WINAPI*)(THandle, BOOL);
using TBufferedPaintSetAlpha = HRESULT(WINAPI*)(THandle, const RECT*, BYTE);

struct TUxThemeBinding {
  HMODULE Library = nullptr;
  TOpenThemeData OpenThemeData = nullptr;
  TCloseThemeData CloseThemeData = nullptr;
  TIsThemeActive IsThemeActive = nullptr;
  TIsAppThemed IsAppThemed = nullptr;
  TDrawThemeBackground DrawThemeBackground = nullptr;
  TGetThemeBackgroundContentRect GetThemeBackgroundContentRect = nullptr;
  TGetThemePartSize GetThemePartSize = nullptr;
  TGetThemeColor GetThemeColor = nullptr;
  TIsThemeBackgroundPartiallyTransparent IsThemeBackgroundPartiallyTransparent = nullptr;
  TGetCurrentThemeName GetCurrentThemeName = nullptr;
  TBufferedPaintInit BufferedPaintInit = nullptr;
  TBufferedPaintUnInit BufferedPaintUnInit = nullptr;
  TBeginBufferedPaint BeginBufferedPaint = nullptr;
  TEndBufferedPaint EndBufferedPaint = nullptr;
  TBufferedPaintSetAlpha BufferedPaintSetAlpha = nullptr;
  bool BufferedPaintInitialized = false;
  bool Initialized = false;
};

TUxThemeBinding Ux;

template <class F>
void Bind(F& Slot, const char* Name)
{
  Slot = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Ux.Library, Name)));
}

THandle ToHandle(TdxTheme Theme)
{
  return reinterpret_cast<THandle>(Theme);
}

}  // namespace

void InitializedxUxTheme()
{
  if (Ux.Initialized)
    return;
  Ux.Initialized = true;
  Ux.Library = LoadLibraryW(L"uxtheme.dll");
  if (!Ux.Library)
    return;
  Bind(Ux.OpenThemeData, "OpenThemeData");
  Bind(Ux.CloseThemeData, "CloseThemeData");
  Bind(Ux.IsThemeActive, "IsThemeActive");
  Bind(Ux.IsAppThemed, "IsAppThemed");
  Bind(Ux.DrawThemeBackground, "DrawThemeBackground");
  Bind(Ux.GetThemeBackgroundContentRect, "GetThemeBackgroundContentRect");
  Bind(Ux.GetThemePartSize, "GetThemePartSize");
  Bind(Ux.GetThemeColor, "GetThemeColor");
  Bind(Ux.IsThemeBackgroundPartiallyTransparent, "IsThemeBackgroundPartiallyTransparent");
  Bind(Ux.GetCurrentThemeName, "GetCurrentThemeName");
  Bind(Ux.BufferedPaintInit, "BufferedPaintInit");
  Bind(Ux.BufferedPaintUnInit, "BufferedPaintUnInit");
  Bind(Ux.BeginBufferedPaint, "BeginBufferedPaint");
  Bind(Ux.EndBufferedPaint, "EndBufferedPaint");
  Bind(Ux.BufferedPaintSetAlpha, "BufferedPaintSetAlpha");
  if (!Ux.OpenThemeData || !Ux.CloseThemeData || !Ux.IsThemeActive) {
    // Without the basic entry points the library is of no use: behave as if absent.
    FreeLibrary(Ux.Library);
    Ux = TUxThemeBinding{};
    Ux.Initialized = true;
    return;
  }
  if (Ux.BufferedPaintInit && Ux.BufferedPaintUnInit && Ux.BeginBufferedPaint && Ux.EndBufferedPaint)
    Ux.BufferedPaintInitialized = SUCCEEDED(Ux.BufferedPaintInit());
}

void FinalizedxUxTheme()
{
  if (!Ux.Initialized)
    return;
  if (Ux.BufferedPaintInitialized)
    Ux.BufferedPaintUnInit();
  if (Ux.Library)
    FreeLibrary(Ux.Library);
  Ux = TUxThemeBinding{};
}

bool IsThemeLibraryLoaded()
{
  return Ux.Library != nullptr;
}

TdxTheme dxOpenThemeData(HWND Wnd, const wchar_t* ClassList)
{
  if (!Ux.OpenThemeData || !ClassList)
    return 0;
  return reinterpret_cast<TdxTheme>(Ux.OpenThemeData(Wnd, ClassList));
}

void dxCloseThemeData(TdxTheme Theme)
{
  if (Theme && Ux.CloseThemeData)
    Ux.CloseThemeData(ToHandle(Theme));
}

bool dxIsThemeActive()
{
  return Ux.IsThemeActive && Ux.IsThemeActive();
}

bool dxIsAppThemed()
{
  // Older libraries lack the query; there an active theme also themes the program.
  if (!Ux.Library)
    return false;
  return !Ux.IsAppThemed || Ux.IsAppThemed();
}

bool dxGetCurrentThemeName(String& FileName, String& ColorName, String& SizeName)
{
  FileName.clear();
  ColorName.clear();
  SizeName.clear();
  if (!Ux.GetCurrentThemeName)
    return false;
  wchar_t file[MAX_PATH] = {}, color[MAX_PATH] = {}, size[MAX_PATH] = {};
  if (FAILED(Ux.GetCurrentThemeName(file, MAX_PATH, color, MAX_PATH, size, MAX_PATH)))
    return false;
  file[MAX_PATH - 1] = color[MAX_PATH - 1] = size[MAX_PATH - 1] = 0;
  FileName = file;
  ColorName = color;
  SizeName = size;
  return true;
}

bool DrawThemeBackground(TdxTheme Theme, HDC DC, int PartId, int StateId, const TRect& R, const TRect* ClipRect)
{
  return DrawThemeBackgroundByRect(Theme, DC, PartId, StateId, &R, ClipRect);
}

bool DrawThemeBackgroundByRect(TdxTheme Theme, HDC DC, int PartId, int StateId, const TRect* R, const TRect* ClipRect)
{
  if (!Theme || !DC || !R || !Ux.DrawThemeBackground)
    return false;
  return SUCCEEDED(Ux.DrawThemeBackground(ToHandle(Theme), DC, PartId, StateId, R, ClipRect));
}

TRect GetThemeBackgroundContentRect(TdxTheme Theme, HDC DC, int PartId, int StateId, const TRect& Bounds)
{
  TRect content = Bounds;
  if (Theme && Ux.GetThemeBackgroundContentRect &&
      FAILED(Ux.GetThemeBackgroundContentRect(ToHandle(Theme), DC, PartId, StateId, &Bounds, &content)))
    content = Bounds;
  return content;
}

TSize dxGetThemePartSize(TdxTheme Theme, HDC DC, int PartId, int StateId, const TRect* R, TdxThemeSize SizeKind)
{
  SIZE size{0, 0};
  if (Theme && Ux.GetThemePartSize) {
    RECT r{};
    if (R)
      r = *R;
    if (FAILED(Ux.GetThemePartSize(ToHandle(Theme), DC, PartId, StateId, R ? &r : nullptr, int(SizeKind), &size)))
      size = SIZE{0, 0};
  }
  return size;
}

TSize GetThemePartSizeNoRect(TdxTheme Theme, HDC DC, int PartId, int StateId, TdxThemeSize SizeKind)
{
  return dxGetThemePartSize(Theme, DC, PartId, StateId, nullptr, SizeKind);
}

bool GetThemeColor(TdxTheme Theme, int PartId, int StateId, int PropId, COLORREF& Color)
{
  if (!Theme || !Ux.GetThemeColor)
    return false;
  COLORREF value = 0;
  if (FAILED(Ux.GetThemeColor(ToHandle(Theme), PartId, StateId, PropId, &value)))
    return false;
  Color = value;
  return true;
}

bool IsThemeBackgroundPartiallyTransparent(TdxTheme Theme, int PartId, int StateId)
{
  return Theme && Ux.IsThemeBackgroundPartiallyTransparent &&
         Ux.IsThemeBackgroundPartiallyTransparent(ToHandle(Theme), PartId, StateId);
}

bool IsBufferedPaintAvailable()
{
  return Ux.BufferedPaintInitialized;
}

TdxPaintBuffer BeginBufferedPaint(HDC Target, const TRect& R, TdxBufferedPaintFormat Format, uint32_t Flags,
                                  HDC& PaintDC)
{
  PaintDC = nullptr;
  if (!Ux.BufferedPaintInitialized || !Target || IsRectEmpty(R))
    return 0;
  TPaintParams params{sizeof(TPaintParams), DWORD(Flags), nullptr, nullptr};
  HDC dc = nullptr;
  THandle buffer = Ux.BeginBufferedPaint(Target, &R, int(Format), &params, &dc);
  if (!buffer)
    return 0;
  PaintDC = dc;
  return reinterpret_cast<TdxPaintBuffer>(buffer);
}

bool EndBufferedPaint(TdxPaintBuffer Buffer, bool UpdateTarget)
{
  if (!Buffer || !Ux.EndBufferedPaint)
    return false;
  return SUCCEEDED(Ux.EndBufferedPaint(ToHandle(Buffer), UpdateTarget ? TRUE : FALSE));
}

bool BufferedPaintSetAlpha(TdxPaintBuffer Buffer, const TRect* R, uint8_t Alpha)
{
  if (!Buffer || !Ux.BufferedPaintSetAlpha)
    return false;
  return SUCCEEDED(Ux.BufferedPaintSetAlpha(ToHandle(Buffer), R, Alpha));
}
