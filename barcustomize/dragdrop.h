// Dragging links and commands while the bars are customised: one drag info per bar manager
// captures the mouse, runs its own message loop, finds the bar window and link under the
// cursor, shows what a release would do through the drag cursors and an inverted insertion
// mark, and moves, copies or removes the link, or toggles its group mark, on release.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/Controls.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "platform/Win.h"

class TCustomdxBarControl;
class TdxBarItem;
class TdxBarItemLink;
class TdxBarManager;

// What a release does now. The cursor shows it: Move and BeginGroup the drag cursor, Copy
// the copy cursor, NoDrop the no-drop cursor, None the cursor the drag began with.
enum class TdxBarDropState : uint8_t {
  None,
  NoDrop,
  BeginGroup,
  // Over the Customize dialog's category list at design time.
  Category,
  Copy,
  Move
};

// Where a point of a bar window would drop: the link it falls on (nil over an empty bar)
// and whether the drop goes before it, into the group gap before it, and whether the window
// lays its links out top to bottom.
struct TdxBarDropPlace {
  TdxBarItemLink* Link = nullptr;
  bool Before = false;
  bool Group = false;
  bool Vertical = false;
};

// The drop place of a client point of AWindow; Link stays nil when the point is beside every
// link (or the window shows none).
TdxBarDropPlace dxBarDropPlaceAt(TCustomdxBarControl* AWindow, const TPoint& P);
// The insertion mark's six lines against R (client coordinates): leading edge or trailing,
// across a horizontal or a vertical bar. Each pair of points is one line, end point excluded.
using TdxBarInsertionMarkLines = std::array<POINT, 12>;
TdxBarInsertionMarkLines dxBarGetInsertionMarkLines(const TRect& R, bool ALeading, bool AVertical);

class TdxBarDragInfo {
public:
  explicit TdxBarDragInfo(TdxBarManager* ABarManager);
  ~TdxBarDragInfo();
  TdxBarDragInfo(const TdxBarDragInfo&) = delete;
  TdxBarDragInfo& operator=(const TdxBarDragInfo&) = delete;

  // ALink nil: a command of the Customize dialog's list. Captures the mouse.
  void BeginDrag(TdxBarItem* AItem, TdxBarItemLink* ALink);
  // Until the button goes up, Esc, the capture is lost or what is dragged goes.
  void RunDragLoop();
  // Releases the capture, restores the cursor, takes the mark away and forgets the drag.
  void EndDrag();
  // The manager goes: a running drag ends without a drop and nothing of it is touched again.
  void ManagerDestroying();

  TdxBarManager* GetBarManager() const { return FBarManager; }
  bool IsDragging() const { return FDragging; }
  TdxBarItem* GetDraggedItem() const;
  TdxBarItemLink* GetDraggedLink() const;
  TdxBarDropState GetDropState() const { return FDropState; }
  bool IsMarkShown() const { return FMarkShown; }
  // Where the mark stands while shown (client coordinates of the mark window).
  TCustomdxBarControl* GetMarkWindow() const;
  const TRect& GetMarkRect() const { return FMarkRect; }
  bool IsMarkAtLeadingEdge() const { return FMarkAtLeadingEdge; }
  bool IsMarkVertical() const { return FMarkVertical; }
  TCustomdxBarControl* GetTargetWindow() const;
  TdxBarItemLink* GetTargetLink() const;

  // A menu window of the dragged link's links that is destroyed during the drag hands its
  // system window over; it is destroyed when the drag ends. False when one is kept already.
  bool KeepWindow(HWND AWnd);

private:
  // The mouse moved to P (screen): target, flags and drop state follow.
  void DragMove(const TPoint& P);
  void ActivateSubMenuEditorAt(const TPoint& P);
  void CtrlChanged(bool ADown);
  void Drop();
  void Insert();
  void RemoveDraggedLink();
  void ToggleBeginGroup();
  // Whether the drop would leave the dragged link where it is.
  bool LeavesLinkInPlace() const;
  TCustomdxBarControl* FindTargetWindow(const TPoint& P) const;
  bool IsDraggedGone() const;

  // Each change of state, target or flags updates cursor and mark, unless locked.
  void SetDropState(TdxBarDropState Value);
  void SetTarget(TCustomdxBarControl* AWindow, const TdxBarDropPlace& APlace);
  void LockCursor() { ++FCursorLockCount; }
  void UnlockCursor();
  void UpdateCursorAndMark();
  void ShowMark();
  void HideMark();
  void DrawMark();
  void SetDragCursor(TCursor ACursor);
  // A paint of the window under the mark would leave the inverted pixels behind: the mark
  // goes before the paint and comes back after.
  void DispatchKeepingMark(MSG& AMsg);

  TdxBarManager* FBarManager;
  int FCursorLockCount = 0;
  bool FCursorUpdatePending = false;
  HWND FCaptureWindow = nullptr;
  TCursor FSavedCursor = 0;
  TPoint FGrabOffset{0, 0};
  bool FMarkShown = false;
  TWeakRef<TCustomdxBarControl> FMarkWindow;
  bool FMarkAtLeadingEdge = false;
  TRect FMarkRect{0, 0, 0, 0};
  bool FMarkVertical = false;
  TWeakRef<TdxBarItem> FDraggedItem;
  TWeakRef<TdxBarItemLink> FDraggedLink;
  bool FHadLink = false;
  HWND FDragWindow = nullptr;
  TdxBarDropState FDropState = TdxBarDropState::None;
  TdxBarDropPlace FPlace;
  TWeakRef<TdxBarItemLink> FTargetLinkRef;
  TWeakRef<TCustomdxBarControl> FTargetWindow;
  // A bar window was under the cursor but refused the drop.
  bool FRefused = false;
  bool FCtrlDown = false;
  bool FDragging = false;
  bool FCancelled = false;
};

// The drag info of AManager while it exists (made on the manager's first drag).
std::shared_ptr<TdxBarDragInfo> dxBarFindDragInfo(const TdxBarManager* AManager);
// Whether any manager's drag runs.
bool dxBarIsAnyDragAndDropRunning();
// Fill and empty the drag's entries of the customizing services.
void dxBarInstallDragAndDrop();
void dxBarUninstallDragAndDrop();
