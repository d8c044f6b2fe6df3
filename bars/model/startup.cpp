// Start-up and shut-down of the bar library, in the order the library's users rely on:
// the drawing base first, then the library's own process-wide objects; shut-down in
// reverse. The counter makes nested calls harmless.
#include "bars/model/startup.h"

#include <algorithm>
#include <vector>

#include <mmsystem.h>

#include "bars/menus/appmenu.h"
#include "bars/model/bar.h"
#include "bars/accessibility/baraccessibility.h"
#include "bars/barwindows/barcanvas.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/itemcontrols/combos.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/itemcontrols/edits.h"
#include "bars/model/groups.h"
#include "bars/hints/hintwindow.h"
#include "bars/itemcontrols/labels.h"
#include "bars/model/manager.h"
#include "bars/keyboard/navigation.h"
#include "bars/painters/painter.h"
#include "bars/menus/popupmenu.h"
#include "bars/model/registry.h"
#include "bars/hints/screentips.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/keyboard/systemcontroller.h"
#include "lookandfeel/cxContainer.h"
#include "lookandfeel/cxControls.h"
#include "lookandfeel/cxStyles.h"
#include "lookandfeel/dxOffice11.h"
#include "lookandfeel/dxThemeManager.h"
#include "lookandfeel/dxUxTheme.h"
#include "platform/Forms.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

TdxUpdateLayeredWindowProc dxUpdateLayeredWindow = nullptr;
TdxAnimateWindowProc dxAnimateWindow = nullptr;
TdxSetLayeredWindowAttributesProc dxSetLayeredWindowAttributes = nullptr;

namespace {

int GStartCount = 0;
bool GFinalizing = false;
bool GStartedForms = false;  // the class layer was started by us, so we stop it too

TdxBarOSFlags GOSFlags;
HMODULE GUser32 = nullptr;
char* GClassNameBuffer = nullptr;
TdxBarManagerList* GManagerList = nullptr;
int GColorDepth = 0;
HBRUSH GCheckerBrush = nullptr;
TdxBarSystemController* GSystemController = nullptr;

TdxBarCanvas* GBarCanvas = nullptr;
TdxBarFlatPainter* GBarFlatPainter = nullptr;

// Made on first use: units add themselves from static initialisers of other files.
std::vector<TdxBarUnit>& Units()
{
  static std::vector<TdxBarUnit> units;
  return units;
}

const wchar_t* const MDIButtonBitmapNames[] = {L"DXBARCLOSE", L"DXBARRESTORE", L"DXBARMAXIMIZE", L"DXBARMINIMIZE"};

// The drag cursors by resource name and cursor number.
struct TCursorResource {
  const char* Name;
  int Number;
};
const TCursorResource CursorResources[] = {
    {"DXBARDRAGCURSOR", crdxBarDrag},
    {"DXBARDRAGCOPYCURSOR", crdxBarDragCopy},
    {"DXBARDRAGNODROPCURSOR", crdxBarDragNoDrop},
    {"DXBAREDITSIZINGCURSOR", crdxBarEditSizing},
};

void BindUser32()
{
  GUser32 = LoadLibraryA("USER32");
  // A handle of 32 or less is a failure code on the old systems this rule comes from.
  if (reinterpret_cast<uintptr_t>(GUser32) <= 32)
    return;
  dxUpdateLayeredWindow = reinterpret_cast<TdxUpdateLayeredWindowProc>(
      reinterpret_cast<void*>(GetProcAddress(GUser32, "UpdateLayeredWindow")));
  dxAnimateWindow =
      reinterpret_cast<TdxAnimateWindowProc>(reinterpret_cast<void*>(GetProcAddress(GUser32, "AnimateWindow")));
  dxSetLayeredWindowAttributes = reinterpret_cast<TdxSetLayeredWindowAttributesProc>(
      reinterpret_cast<void*>(GetProcAddress(GUser32, "SetLayeredWindowAttributes")));
}

void UnbindUser32()
{
  dxUpdateLayeredWindow = nullptr;
  dxAnimateWindow = nullptr;
  dxSetLayeredWindowAttributes = nullptr;
  if (reinterpret_cast<uintptr_t>(GUser32) > 32)
    FreeLibrary(GUser32);
  GUser32 = nullptr;
}

HBRUSH CreateCheckerBrush()
{
  HBITMAP bitmap = CreateScreenBitmap(8, 8);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      SetPixel(dc, x, y, (x % 2) == (y % 2) ? face : highlight);
  SelectObject(dc, old);
  DeleteDC(dc);
  HBRUSH brush = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);  // the brush keeps its own copy of the pattern
  return TrackGdiObject(brush);
}

void LoadDragCursors()
{
  if (!Screen)
    return;
  // A missing resource puts a null cursor into the table, which restores the default.
  for (const TCursorResource& cursor : CursorResources)
    Screen->SetCursors(cursor.Number, LoadCursorA(dxBarResourceInstance(), cursor.Name));
}

// The application's initialisation procedure: the class layer runs the procedures added
// before this one first. Stopping the menu sound here primes the sound system, so that
// the first menu opened does not wait for it.
void ApplicationInitProc()
{
  PlayMenuSound(msNone);
}

// The standard item kinds, registered in this order as their classes join the library:
//   TdxBarButton -> TdxBarButtonControl (listed in the Customize dialog)
//   TdxBarEdit -> TdxBarEditControl (listed)
//   TCustomdxBarCombo -> TCustomdxBarComboControl (listed)
//   TdxBarCombo -> TdxBarComboControl (listed)
//   TdxBarSubItem -> TdxBarSubItemControl (listed)
//   TdxBarListItem -> TdxBarContainerItemControl (listed)
//   TdxBarContainerItem -> TdxBarContainerItemControl (listed)
//   TdxBarExtraPaneListItem -> TdxBarContainerItemControl
//   TdxBarLabel -> TdxBarCustomStaticControl
//   TdxBarSeparator -> TdxBarSeparatorControl (listed)
//   TdxBarApplicationMenuButtonItem -> TdxBarApplicationMenuButtonControl
//   TdxBarQuickCustExtButton -> TdxBarQuickCustExtButtonControl
//   TdxBarQuickCustItem -> TdxBarQuickCustItemControl
//   TdxBarQuickAccessItem -> TdxBarSubItemControl
//   TSystemMenuSubItem -> TSystemMenuSubItemControl
// Each joins as its class exists.
void RegisterStandardBarItems()
{
  RegisterBarItem(TdxBarButton::StaticClass(), TdxBarButtonControl::StaticClass(), true);
  RegisterBarItem(TdxBarEdit::StaticClass(), TdxBarEditControl::StaticClass(), true);
  RegisterBarItem(TCustomdxBarCombo::StaticClass(), TCustomdxBarComboControl::StaticClass(), true);
  RegisterBarItem(TdxBarCombo::StaticClass(), TdxBarComboControl::StaticClass(), true);
  RegisterBarItem(TdxBarSubItem::StaticClass(), TdxBarSubItemControl::StaticClass(), true);
  RegisterBarItem(TdxBarListItem::StaticClass(), TdxBarContainerItemControl::StaticClass(), true);
  RegisterBarItem(TdxBarContainerItem::StaticClass(), TdxBarContainerItemControl::StaticClass(), true);
  RegisterBarItem(TdxBarExtraPaneListItem::StaticClass(), TdxBarContainerItemControl::StaticClass(), false);
  RegisterBarItem(TdxBarLabel::StaticClass(), TdxBarCustomStaticControl::StaticClass(), false);
  RegisterBarItem(TdxBarSeparator::StaticClass(), TdxBarSeparatorControl::StaticClass(), true);
  RegisterBarItem(TdxBarApplicationMenuButtonItem::StaticClass(), TdxBarApplicationMenuButtonControl::StaticClass(),
                  false);
  RegisterBarItem(TSystemMenuSubItem::StaticClass(), TSystemMenuSubItemControl::StaticClass(), false);
}

// The streamed bar classes (the manager, TdxBar, TdxBarGroup, dock controls, the screen-tip
// and application-menu button classes) register here for form data, so that a program's
// forms read them without registering them itself; the design
// controller's item editors and bar-window design helpers likewise.
void RegisterStreamedClasses()
{
  RegisterClass(TdxBarManager::StaticClass());
  RegisterClass(TdxBarGroup::StaticClass());
  RegisterClass(TdxBar::StaticClass());
  RegisterClass(TdxBarDockControl::StaticClass());
  RegisterClass(TdxBarScreenTip::StaticClass());
  RegisterClass(TdxBarScreenTipBand::StaticClass());
  RegisterClass(TdxBarScreenTipCollection::StaticClass());
  RegisterClass(TdxBarScreenTipRepository::StaticClass());
  RegisterClass(TdxBarApplicationMenuButtons::StaticClass());
  RegisterClass(TdxBarApplicationMenuButton::StaticClass());
}

void UnregisterStreamedClasses()
{
  UnRegisterClass(TdxBarApplicationMenuButton::StaticClass());
  UnRegisterClass(TdxBarApplicationMenuButtons::StaticClass());
  UnRegisterClass(TdxBarScreenTipRepository::StaticClass());
  UnRegisterClass(TdxBarScreenTipCollection::StaticClass());
  UnRegisterClass(TdxBarScreenTipBand::StaticClass());
  UnRegisterClass(TdxBarScreenTip::StaticClass());
  UnRegisterClass(TdxBarDockControl::StaticClass());
  UnRegisterClass(TdxBar::StaticClass());
  UnRegisterClass(TdxBarGroup::StaticClass());
  UnRegisterClass(TdxBarManager::StaticClass());
}
void RegisterDesignHelpers() {}

// The drawing-base units that keep process-wide state, in unit order.
void StartDrawingBase()
{
  InitializecxControls();
  InitializecxStyles();
  InitializecxContainer();
  InitializedxUxTheme();
  InitializedxThemeManager();
  InitializedxOffice11();
}

void StopDrawingBase()
{
  FinalizedxOffice11();
  FinalizedxThemeManager();
  FinalizedxUxTheme();
  FinalizecxContainer();
  FinalizecxStyles();
  FinalizecxControls();
}

void StartLibrary()
{
  GFinalizing = false;
  RegisterStreamedClasses();
  dxBarInitOSFlags();
  BindUser32();
  GClassNameBuffer = new char[dxBarClassNameBufferSize]();
  GManagerList = new TdxBarManagerList;
  dxBarCreateNavigationController();
  cxAccessibilityBind();
  GColorDepth = ReadScreenColorDepth();
  GCheckerBrush = CreateCheckerBrush();
  CreateBarControlList();
  GSystemController = CreateBarSystemController(dxBarModuleIsLib());
  RegisterStandardBarItems();
  dxBarInitializePopupMenus();
  RegisterDesignHelpers();
  LoadDragCursors();
  if (!dxBarModuleIsLib())
    AddApplicationInitProc(&ApplicationInitProc);
}

void StopLibrary()
{
  GFinalizing = true;
  dxBarFreeHintWindow();
  FreeBarSystemController(GSystemController);
  GSystemController = nullptr;
  FreeBarControlList();
  dxBarFinalizePopupMenus();
  FreeRegisteredBarItems();
  UnregisterStreamedClasses();
  // The design controller goes here as well once it exists, then the bar canvas.
  delete GBarCanvas;
  GBarCanvas = nullptr;
  delete GBarFlatPainter;
  GBarFlatPainter = nullptr;
  DeleteGdiObject(GCheckerBrush);
  GCheckerBrush = nullptr;
  dxBarReleaseAccessibilityHelpers(true);
  cxAccessibilityUnbind();
  dxBarFreeNavigationController();
  delete GManagerList;
  GManagerList = nullptr;
  delete[] GClassNameBuffer;
  GClassNameBuffer = nullptr;
  UnbindUser32();
  RemoveApplicationInitProc(&ApplicationInitProc);
  GColorDepth = 0;
}

}  // namespace

void dxBarInitialize()
{
  if (GStartCount++ > 0)
    return;
  if (!Screen) {
    InitializeForms();
    GStartedForms = true;
  }
  StartDrawingBase();
  StartLibrary();
  // The units above join the register and lists the library has just made.
  for (const TdxBarUnit& unit : Units())
    unit.Initialize();
}

void dxBarFinalize()
{
  if (GStartCount == 0 || --GStartCount > 0)
    return;
  for (auto unit = Units().rbegin(); unit != Units().rend(); ++unit)
    unit->Finalize();
  StopLibrary();
  StopDrawingBase();
  if (GStartedForms) {
    GStartedForms = false;
    FinalizeForms();
  }
}

bool dxBarIsInitialized()
{
  return GStartCount > 0;
}

bool dxBarIsFinalizing()
{
  return GFinalizing;
}

bool dxBarAddUnit(const TdxBarUnit& Unit)
{
  std::vector<TdxBarUnit>& units = Units();
  auto same = [&](const TdxBarUnit& u) { return u.Initialize == Unit.Initialize && u.Finalize == Unit.Finalize; };
  if (std::any_of(units.begin(), units.end(), same))
    return true;
  auto after = std::upper_bound(units.begin(), units.end(), Unit.Rank,
                                [](int rank, const TdxBarUnit& u) { return rank < u.Rank; });
  units.insert(after, Unit);
  if (dxBarIsInitialized())
    Unit.Initialize();
  return true;
}

// ---------------------------------------------------------------------------

TdxBarOSFlags dxBarOSFlagsFor(uint32_t PlatformId, uint32_t MajorVersion, uint32_t MinorVersion)
{
  TdxBarOSFlags flags;
  flags.Win9X = PlatformId == VER_PLATFORM_WIN32_WINDOWS;
  flags.Win95 = flags.Win9X && MinorVersion == 0;
  // Every NT system from version 5 on, not only version 5 itself: later systems have the
  // extended menu item information too.
  flags.Win98OrNT5Up = (flags.Win9X && MinorVersion != 0) || (PlatformId == VER_PLATFORM_WIN32_NT && MajorVersion >= 5);
  return flags;
}

void dxBarInitOSFlags()
{
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info))
    info = OSVERSIONINFOA{};
#pragma GCC diagnostic pop
  GOSFlags = dxBarOSFlagsFor(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

const TdxBarOSFlags& dxBarOSFlags()
{
  return GOSFlags;
}

TdxBarManagerList* dxBarManagerList()
{
  return GManagerList;
}

TdxBarSystemController* dxBarSystemController()
{
  return GSystemController;
}

char* dxBarClassNameBuffer()
{
  return GClassNameBuffer;
}

int dxBarScreenColorDepth()
{
  return GColorDepth;
}

HBRUSH dxBarCheckerBrush()
{
  return GCheckerBrush;
}

void dxBarUpdateScreenColorDepth()
{
  if (GManagerList)
    GColorDepth = ReadScreenColorDepth();
}

void dxBarUpdateCheckerBrush()
{
  if (!GCheckerBrush)
    return;
  DeleteGdiObject(GCheckerBrush);
  GCheckerBrush = CreateCheckerBrush();
}

HINSTANCE dxBarResourceInstance()
{
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

bool dxBarModuleIsLib()
{
  return GetModuleHandleW(nullptr) != dxBarResourceInstance();
}

const wchar_t* dxBarMDIButtonBitmapName(TdxBarMDIButton Button)
{
  unsigned index = unsigned(Button);
  return index < std::size(MDIButtonBitmapNames) ? MDIButtonBitmapNames[index] : nullptr;
}

// ---------------------------------------------------------------------------

TdxBarCanvas* BarCanvas()
{
  if (!GBarCanvas && !dxBarIsFinalizing())
    GBarCanvas = new TdxBarCanvas;
  return GBarCanvas;
}

TdxBarFlatPainter* BarFlatPainter()
{
  if (!GBarFlatPainter && !dxBarIsFinalizing())
    GBarFlatPainter = new TdxBarFlatPainter;
  return GBarFlatPainter;
}
