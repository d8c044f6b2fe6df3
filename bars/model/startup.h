// Start-up and shut-down of the bar library, and the process-wide objects they make:
// the OS flags, the optional layered-window functions, the screen colour depth, the
// checker brush, the drag cursors, the class-name buffer and the menu sounds.
#pragma once

#include <cstdint>
#include <functional>

#include "bars/utils/utils.h"  // the menu sounds live with the other shared routines
#include "platform/Types.h"

class TdxBarManagerList;
class TdxBarSystemController;

// Starts the drawing base and then the bar library. Runs once: a start-up counter makes
// every further call only count, and the matching dxBarFinalize only uncount.
void dxBarInitialize();
// Shuts the bar library down, then the drawing base, in reverse order of start-up.
void dxBarFinalize();
bool dxBarIsInitialized();
// True from the first step of shut-down until the next start-up: the on-first-use
// accessors then answer nil rather than create.
bool dxBarIsFinalizing();

// Units above the bar library (the extra item kinds, the customising units) join its
// start-up here, since the library cannot name them. A unit's start-up runs after the
// library's own steps, lower ranks first and equal ranks in the order added; its shut-down
// runs before the library's, in the reverse order. A unit added while the library runs
// starts at once; adding the same pair again does nothing. Adding only records two
// functions, so a unit may add itself from a static initialiser in any order.
struct TdxBarUnit {
  int Rank;
  void (*Initialize)();
  void (*Finalize)();
};
// Answers true, so that a unit's header can record it as `inline const bool X = dxBarAddUnit(...)`.
bool dxBarAddUnit(const TdxBarUnit& Unit);

// ---------------------------------------------------------------------------
// OS flags, read once at start-up.

struct TdxBarOSFlags {
  bool Win9X = false;  // the Windows 9x family (platform id 1)
  bool Win95 = false;  // its first version (platform id 1, minor version 0)
  // The later 9x versions, and NT version 5 or higher: the systems whose menu items
  // carry the extended item information (bitmaps of system menu entries).
  bool Win98OrNT5Up = false;
};
// The flags for a platform id and version (VER_PLATFORM_WIN32_WINDOWS is 1, _NT is 2).
TdxBarOSFlags dxBarOSFlagsFor(uint32_t PlatformId, uint32_t MajorVersion, uint32_t MinorVersion);
void dxBarInitOSFlags();
const TdxBarOSFlags& dxBarOSFlags();

// ---------------------------------------------------------------------------
// Optional user32 functions, bound at start-up; nil when the system lacks them (and
// before start-up or after shut-down). Every user checks for nil.

using TdxUpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                 DWORD);
using TdxAnimateWindowProc = BOOL(WINAPI*)(HWND, DWORD, DWORD);
using TdxSetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
extern TdxUpdateLayeredWindowProc dxUpdateLayeredWindow;
extern TdxAnimateWindowProc dxAnimateWindow;
extern TdxSetLayeredWindowAttributesProc dxSetLayeredWindowAttributes;

// ---------------------------------------------------------------------------
// Process-wide objects made at start-up; nil (0) before it and after shut-down.

// Every living bar manager, in creation order.
TdxBarManagerList* dxBarManagerList();
// The hidden window that runs synchronised calls when the library lives in a DLL.
TdxBarSystemController* dxBarSystemController();
// 256 bytes into which the window hook reads a window's class name; nil outside the
// library's life.
constexpr int dxBarClassNameBufferSize = 256;
char* dxBarClassNameBuffer();
// Bits per pixel of the screen, read at start-up and again after a colour change.
int dxBarScreenColorDepth();
void dxBarUpdateScreenColorDepth();
// The 8 x 8 checker brush: COLOR_BTNFACE where column and row have the same parity,
// COLOR_BTNHIGHLIGHT elsewhere. Owned by the library; never delete it.
HBRUSH dxBarCheckerBrush();
// Makes the checker brush again from the current system colours (after a colour change).
void dxBarUpdateCheckerBrush();
// The module the library's resources live in.
HINSTANCE dxBarResourceInstance();
// True when this code runs inside a DLL rather than the program itself.
bool dxBarModuleIsLib();

// The drag cursors, installed into Screen's cursor table at start-up.
constexpr int crdxBarDrag = 1041;        // dragging an item or link
constexpr int crdxBarDragCopy = 1042;    // dragging with copy
constexpr int crdxBarDragNoDrop = 1043;  // no drop possible here
constexpr int crdxBarEditSizing = 1044;  // resizing an edit item's width

// The bitmaps of a maximised MDI child's close, restore, maximise and minimise buttons.
enum class TdxBarMDIButton { Close, Restore, Maximize, Minimize };
const wchar_t* dxBarMDIButtonBitmapName(TdxBarMDIButton Button);

// ---------------------------------------------------------------------------
// Process-wide objects made on first use; nil once shut-down has begun.

class TdxBarCanvas;
class TdxBarFlatPainter;
// The shared nestable canvas the bar windows and painters draw through.
TdxBarCanvas* BarCanvas();
// The shared flat painter, for painters that draw what visual styles cannot as the flat
// look does.
TdxBarFlatPainter* BarFlatPainter();
