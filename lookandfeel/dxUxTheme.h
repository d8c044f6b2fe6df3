// The visual-styles library (uxtheme.dll) bound at run time by InitializedxUxTheme; each
// wrapper answers "failed" when the library or its entry point is missing. Theme handles
// are integers (TdxTheme, 0 = none), so the wrappers do not collide with <uxtheme.h>,
// which code including this header must not include.
#pragma once

#include <cstdint>

#include "platform/System.h"
#include "platform/Types.h"

using TdxTheme = uintptr_t;        // an open visual-style theme, 0 for none
using TdxPaintBuffer = uintptr_t;  // a buffered-paint buffer, 0 for none

// Loads the library and binds its entry points (idempotent); Finalize releases it.
void InitializedxUxTheme();
void FinalizedxUxTheme();

// The library was found and its basic entry points are bound.
bool IsThemeLibraryLoaded();

// Raw bindings under the unit's own names (the system names would clash).
TdxTheme dxOpenThemeData(HWND Wnd, const wchar_t* ClassList);
void dxCloseThemeData(TdxTheme Theme);
bool dxIsThemeActive();
bool dxIsAppThemed();
// The file, colour-scheme and size names of the current theme; false (and empty texts)
// when no theme is active or the library is missing.
bool dxGetCurrentThemeName(String& FileName, String& ColorName, String& SizeName);

// Drawing and queries by the names the drawing code uses. Each fails quietly (false, an
// empty size, the unchanged rectangle) for a 0 theme or a missing entry point.
bool DrawThemeBackground(TdxTheme Theme, HDC DC, int PartId, int StateId, const TRect& R,
                         const TRect* ClipRect = nullptr);
bool DrawThemeBackgroundByRect(TdxTheme Theme, HDC DC, int PartId, int StateId, const TRect* R, const TRect* ClipRect);
// The content area inside a part's background; Bounds itself when it cannot be read.
TRect GetThemeBackgroundContentRect(TdxTheme Theme, HDC DC, int PartId, int StateId, const TRect& Bounds);
// Size kinds of GetThemePartSize.
enum TdxThemeSize { tsMin = 0, tsTrue = 1, tsDraw = 2 };
// A part's size without a bounding rectangle; (0, 0) when it cannot be read.
TSize GetThemePartSizeNoRect(TdxTheme Theme, HDC DC, int PartId, int StateId, TdxThemeSize SizeKind);
TSize dxGetThemePartSize(TdxTheme Theme, HDC DC, int PartId, int StateId, const TRect* R, TdxThemeSize SizeKind);
// A colour property (3802 fill colour, 3803 text colour, ...) as COLORREF.
bool GetThemeColor(TdxTheme Theme, int PartId, int StateId, int PropId, COLORREF& Color);
bool IsThemeBackgroundPartiallyTransparent(TdxTheme Theme, int PartId, int StateId);

// Buffered painting, offered by newer systems only (IsBufferedPaintAvailable). The
// buffer is initialised for the process by InitializedxUxTheme when it exists.
enum TdxBufferedPaintFormat { bpfCompatibleBitmap = 0, bpfDIB = 1, bpfTopDownDIB = 2, bpfTopDownMonoDIB = 3 };
constexpr uint32_t dxBPPF_ERASE = 0x0001;   // clear the buffer to zero first
constexpr uint32_t dxBPPF_NOCLIP = 0x0002;  // do not apply the target's clip region
bool IsBufferedPaintAvailable();
// Starts painting R of Target into an off-screen buffer; PaintDC receives the buffer's DC.
// 0 (and PaintDC nil) when buffered painting is unavailable or fails.
TdxPaintBuffer BeginBufferedPaint(HDC Target, const TRect& R, TdxBufferedPaintFormat Format, uint32_t Flags,
                                  HDC& PaintDC);
// Copies the buffer to the target when UpdateTarget, and frees it.
bool EndBufferedPaint(TdxPaintBuffer Buffer, bool UpdateTarget);
// Sets the alpha of R (the whole buffer for nil) to Alpha.
bool BufferedPaintSetAlpha(TdxPaintBuffer Buffer, const TRect* R, uint8_t Alpha);
