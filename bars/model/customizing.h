// What the customizing units (barcustomize/: the design controller, the drag of commands, the
// Customize dialog and its small dialogs, quick customisation) do for the bar library. The
// bars cannot name those units, which sit above them; the units fill these entries at
// start-up and clear them at shut-down. Each entry is optional: a nil entry behaves as if
// that unit were absent (nothing selected, no drag, no dialog).
#pragma once

#include <functional>

#include "bars/model/components.h"
#include "platform/Classes.h"
#include "platform/Win.h"

class TComponent;
class TControl;
class TObject;
class TCustomdxBarControl;
class TdxBar;
class TdxBarControl;
class TdxBarItem;
class TdxBarItemLink;
class TdxBarManager;

// What changed that an open Customize dialog shows or follows.
enum class TdxBarCustomizingFormChange { Look, HelpButton, Options, FormPosition, Selection };

// A unit fills its own entries and keeps the others:
// `auto s = dxBarCustomizingServices(); s.DragAndDrop = ...; SetdxBarCustomizingServices(s);`.
struct TdxBarCustomizingServices {
  // --- The drag of commands (one drag info per manager). ALink is the link dragged, nil
  // for a command dragged from the Customize dialog's list; returns when the drag ends.
  std::function<void(TdxBarManager* AManager, TdxBarItem* AItem, TdxBarItemLink* ALink)> DragAndDrop;
  std::function<bool(const TdxBarManager* AManager)> IsDragging;
  std::function<TdxBarItem*(const TdxBarManager* AManager)> GetDraggingItem;
  std::function<TdxBarItemLink*(const TdxBarManager* AManager)> GetDraggingItemLink;
  // A manager is going: its drag info goes with it.
  std::function<void(TdxBarManager* AManager)> ManagerDestroying;
  // A menu window of the dragged link's links is being destroyed: the drag keeps its system
  // window until it ends (true), once per drag; false: destroy it as usual.
  std::function<bool(TdxBarManager* AManager, HWND AWnd)> KeepDragWindow;

  // --- The design controller's selection: AMode 0 selects, 1 deselects, 2 adds.
  std::function<void(TObject* AObject, int AMode)> SelectObject;
  std::function<bool(const TObject* AObject)> IsSelected;
  // Bar windows outline the links selected.
  std::function<TdxBarSelectionState(const TObject* AObject)> GetSelectionState;
  std::function<void()> ClearSelection;
  // Drops a selection that can no longer be customized (customizing mode changed).
  std::function<void()> TestDesignSelection;

  // --- The design controller's popups. AObject is the link or bar pressed, ATarget the bar
  // window it was pressed on.
  std::function<void(TdxBarManager* AManager, TObject* AObject, TCustomdxBarControl* ATarget)> ShowCustomizingPopup;
  std::function<void(TdxBarManager* AManager, TControl* ATarget)> ShowToolbarsPopup;
  // A bar window pressed with the right button where it has no link.
  std::function<void(TdxBarManager* AManager, TCustomdxBarControl* ATarget)> ShowBarControlPopup;
  std::function<void(TdxBarControl* ABarControl)> ShowQuickControl;
  // The window class of that popup (a toolbar window kind).
  TClass QuickControlClass = nullptr;

  // --- The Customize dialog: shown or hidden with customizing mode; its window while open.
  std::function<void(TdxBarManager* AManager, bool AShow)> ShowCustomizingForm;
  std::function<HWND(const TdxBarManager* AManager)> GetCustomizingFormHandle;
  // The manager's look, help button or options changed, or its form moved or was shown or
  // hidden: an open dialog shows them anew or follows the form.
  std::function<void(TdxBarManager* AManager, TdxBarCustomizingFormChange AChange)> CustomizingFormChanged;
  // The toolbar name dialog: edits ACaption of ABar, or of a new toolbar when ABar is nil;
  // false when cancelled.
  std::function<bool(TdxBarManager* AManager, String& ACaption, TdxBar* ABar)> ShowToolbarNameDialog;
};
const TdxBarCustomizingServices& dxBarCustomizingServices();
// Installs new services and returns the previous ones.
TdxBarCustomizingServices SetdxBarCustomizingServices(TdxBarCustomizingServices AServices);
// The manager's destruction tells the units (ManagerDestroying) while its bars still exist.
void dxBarCustomizingManagerDestroying(TdxBarManager* AManager);
// Tells an open Customize dialog what changed (nothing without the dialog's unit).
void dxBarCustomizingFormChanged(TdxBarManager* AManager, TdxBarCustomizingFormChange AChange);

// --- The questions asked while customizing (delete or reset a toolbar, delete links, reset
// usage data). One is up at a time in the process: a second is refused with a beep and
// answered IDCANCEL, and the one up comes to the front. The box shows over AAbout's window
// (nil: the thread's active window, else the Customize dialog, else the manager's form),
// whole on that window's monitor's work area, and is answered IDCANCEL when the manager
// ends customizing or goes, or its form is closed, hidden or minimised, while it is up; the
// caller then reaches what it asked about only through weak references. Returns the button pressed (IDOK, IDYES, ...).
int dxBarAskCustomizingQuestion(TdxBarManager* AManager, HWND AAbout, const String& AText, uint32_t AFlags);
bool dxBarIsCustomizingQuestionUp();
// Answers the question up as Cancel when AManager asked it (any question with nil).
void dxBarCancelCustomizingQuestion(const TdxBarManager* AManager);
