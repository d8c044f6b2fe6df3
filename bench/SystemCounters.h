// What a program asks of the system, counted at the program's own imports: the library is
// linked into the program, so every call it makes to gdi32, user32 and uxtheme passes there;
// the system's own controls call from their own modules and are not counted. Messages
// received are counted by the library's call-window hook.
#pragma once

#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/BenchTiming.h"

#include "platform/Profile.h"
#include "platform/System.h"
#include "platform/Win.h"

#include <uxtheme.h>

namespace hooks {

// Replaces the import Name of Dll in this program's import table with Hook; the original
// entry goes to Original. False when the program does not import it.
inline bool Patch(const char* Dll, const char* Name, void* Hook, void** Original)
{
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress)
    return false;
  bool found = false;
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (_stricmp(reinterpret_cast<char*>(base + imp->Name), Dll) != 0)
      continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
        continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), Name) != 0)
        continue;
      DWORD old = 0;
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
      *Original = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(Hook);
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
      found = true;
    }
  }
  return found;
}

// One counting replacement per imported function: F is the function's type, R1 and R2 what
// a call counts as (R2 may repeat R1 to count once).
template <auto& Slot, TSystemRequest R1, TSystemRequest R2, class F>
struct TCounter;

template <auto& Slot, TSystemRequest R1, TSystemRequest R2, class Ret, class... Args>
struct TCounter<Slot, R1, R2, Ret(WINAPI*)(Args...)> {
  static Ret WINAPI Call(Args... args)
  {
    ProfileCount(R1);
    if (R2 != R1)
      ProfileCount(R2);
    return Slot(args...);
  }
};

#define COUNT_IMPORT(Dll, Name, R1, R2)                                                                    \
  inline decltype(&::Name) Name##Original = nullptr;                                                       \
  inline void Install##Name()                                                                              \
  {                                                                                                        \
    Patch(Dll, #Name,                                                                                      \
          reinterpret_cast<void*>(                                                                         \
              &TCounter<Name##Original, TSystemRequest::R1, TSystemRequest::R2, decltype(&::Name)>::Call), \
          reinterpret_cast<void**>(&Name##Original));                                                      \
  }

COUNT_IMPORT("gdi32.dll", CreateFontIndirectW, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateSolidBrush, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateBrushIndirect, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreatePatternBrush, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateHatchBrush, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreatePen, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreatePenIndirect, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", ExtCreatePen, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateRectRgn, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateRectRgnIndirect, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateRoundRectRgn, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreatePolygonRgn, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateCompatibleBitmap, GdiObject, Bitmap)
COUNT_IMPORT("gdi32.dll", CreateDIBSection, GdiObject, Bitmap)
COUNT_IMPORT("gdi32.dll", CreateBitmap, GdiObject, Bitmap)
COUNT_IMPORT("gdi32.dll", CreateDIBitmap, GdiObject, Bitmap)
COUNT_IMPORT("gdi32.dll", CreateCompatibleDC, DeviceContext, DeviceContext)
COUNT_IMPORT("user32.dll", GetDC, DeviceContext, DeviceContext)
COUNT_IMPORT("user32.dll", GetDCEx, DeviceContext, DeviceContext)
COUNT_IMPORT("user32.dll", GetWindowDC, DeviceContext, DeviceContext)
COUNT_IMPORT("user32.dll", BeginPaint, DeviceContext, DeviceContext)
COUNT_IMPORT("gdi32.dll", GetTextExtentPoint32W, TextMeasured, TextMeasured)
COUNT_IMPORT("gdi32.dll", GetTextExtentExPointW, TextMeasured, TextMeasured)
COUNT_IMPORT("uxtheme.dll", GetThemeTextExtent, TextMeasured, TextMeasured)
COUNT_IMPORT("user32.dll", CreateWindowExW, Window, Window)
COUNT_IMPORT("user32.dll", SetWindowPos, WindowMoved, WindowMoved)
COUNT_IMPORT("user32.dll", MoveWindow, WindowMoved, WindowMoved)
COUNT_IMPORT("user32.dll", ShowWindow, WindowMoved, WindowMoved)
COUNT_IMPORT("user32.dll", DeferWindowPos, WindowMoved, WindowMoved)
COUNT_IMPORT("user32.dll", InvalidateRect, Invalidated, Invalidated)
COUNT_IMPORT("user32.dll", InvalidateRgn, Invalidated, Invalidated)
COUNT_IMPORT("user32.dll", RedrawWindow, Invalidated, Invalidated)
COUNT_IMPORT("user32.dll", UpdateWindow, Invalidated, Invalidated)

#undef COUNT_IMPORT

// Fonts selected and texts measured by DrawText need a look at the arguments.
inline decltype(&::SelectObject) SelectObjectOriginal = nullptr;
inline HGDIOBJ WINAPI SelectObjectCounting(HDC DC, HGDIOBJ Object)
{
  if (Object && GetObjectType(Object) == OBJ_FONT)
    ProfileCount(TSystemRequest::FontSelected);
  return SelectObjectOriginal(DC, Object);
}

inline decltype(&::DrawTextW) DrawTextWOriginal = nullptr;
inline int WINAPI DrawTextWCounting(HDC DC, LPCWSTR Text, int Length, LPRECT Rect, UINT Format)
{
  if (Format & DT_CALCRECT)
    ProfileCount(TSystemRequest::TextMeasured);
  return DrawTextWOriginal(DC, Text, Length, Rect, Format);
}

inline decltype(&::DrawTextExW) DrawTextExWOriginal = nullptr;
inline int WINAPI DrawTextExWCounting(HDC DC, LPWSTR Text, int Length, LPRECT Rect, UINT Format,
                                      LPDRAWTEXTPARAMS Params)
{
  if (Format & DT_CALCRECT)
    ProfileCount(TSystemRequest::TextMeasured);
  return DrawTextExWOriginal(DC, Text, Length, Rect, Format, Params);
}

// Counts from now on, for the rest of the program.
inline void Install()
{
  for (auto install : {InstallCreateFontIndirectW,
                       InstallCreateSolidBrush,
                       InstallCreateBrushIndirect,
                       InstallCreatePatternBrush,
                       InstallCreateHatchBrush,
                       InstallCreatePen,
                       InstallCreatePenIndirect,
                       InstallExtCreatePen,
                       InstallCreateRectRgn,
                       InstallCreateRectRgnIndirect,
                       InstallCreateRoundRectRgn,
                       InstallCreatePolygonRgn,
                       InstallCreateCompatibleBitmap,
                       InstallCreateDIBSection,
                       InstallCreateBitmap,
                       InstallCreateDIBitmap,
                       InstallCreateCompatibleDC,
                       InstallGetDC,
                       InstallGetDCEx,
                       InstallGetWindowDC,
                       InstallBeginPaint,
                       InstallGetTextExtentPoint32W,
                       InstallGetTextExtentExPointW,
                       InstallGetThemeTextExtent,
                       InstallCreateWindowExW,
                       InstallSetWindowPos,
                       InstallMoveWindow,
                       InstallShowWindow,
                       InstallDeferWindowPos,
                       InstallInvalidateRect,
                       InstallInvalidateRgn,
                       InstallRedrawWindow,
                       InstallUpdateWindow})
    install();
  Patch("gdi32.dll", "SelectObject", reinterpret_cast<void*>(&SelectObjectCounting),
        reinterpret_cast<void**>(&SelectObjectOriginal));
  Patch("user32.dll", "DrawTextW", reinterpret_cast<void*>(&DrawTextWCounting),
        reinterpret_cast<void**>(&DrawTextWOriginal));
  Patch("user32.dll", "DrawTextExW", reinterpret_cast<void*>(&DrawTextExWCounting),
        reinterpret_cast<void**>(&DrawTextExWOriginal));
}

}  // namespace hooks

// Runs Round Rounds times and prints, phase by phase, the median time and what the last round
// asked of the system, both divided by Per. Round starts and stops the profile around what it
// times.
template <class F>
void PrintPhaseTable(const String& Title, int Rounds, int Per, F Round)
{
  static const char* const PhaseNames[] = {"other (windows, docking)",
                                           "creating items",
                                           "adding links",
                                           "creating item controls",
                                           "measuring",
                                           "laying out",
                                           "painting"};
  constexpr int PhaseCount = int(TProfilePhase::Count);
  constexpr int RequestCount = int(TSystemRequest::Count);
  std::vector<std::vector<double>> times(PhaseCount);
  TProfileFigures last;
  for (int r = 0; r < Rounds; ++r) {
    Round();
    last = ProfileFigures();
    for (int p = 0; p < PhaseCount; ++p)
      times[size_t(p)].push_back(last.Seconds[p]);
  }
  std::printf("\n%ls\n", Title.c_str());
  std::printf("%-26s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s\n", "phase", "us", "GDI objs", "DCs", "font sel", "texts",
              "bitmaps", "windows", "msgs sent", "moved", "invalid");
  double total = 0;
  uint64_t totals[RequestCount] = {};
  for (int p = 1; p <= PhaseCount; ++p) {
    const int phase = p % PhaseCount;  // "other" last
    const double us = Median(times[size_t(phase)]) * 1e6 / Per;
    total += us;
    std::printf("%-26s %9.2f", PhaseNames[phase], us);
    for (int q = 0; q < RequestCount; ++q) {
      totals[q] += last.Requests[phase][q];
      std::printf(" %9.3f", double(last.Requests[phase][q]) / Per);
    }
    std::printf("\n");
  }
  std::printf("%-26s %9.2f", "total", total);
  for (int q = 0; q < RequestCount; ++q)
    std::printf(" %9.3f", double(totals[q]) / Per);
  std::printf("\n");
  std::fflush(stdout);
}
