// Keyboard navigation and key tips: the process-wide controller that Alt, F10 and the keys
// that follow drive, the navigation targets it walks (a manager's bars and their item
// controls, or richer helpers that plug in through the same interface), the key tips shown
// over them, and the geometric choice of the nearest element in a direction.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "bars/accessibility/cxnavigationdirection.h"
#include "platform/Classes.h"
#include "platform/Types.h"
#include "platform/Win.h"

class TdxBarManager;
class TCustomdxBarControl;
class TTimer;
class IdxBarAccessibilityHelper;
using TdxBarHelperRef = std::shared_ptr<IdxBarAccessibilityHelper>;

// Where a key tip sits against its point: Near puts its left (top) edge there, Centre its
// centre, Far its right (bottom) edge.
enum class TdxBarKeyTipAlign : int { Near = 0, Centre = 1, Far = 2 };

// Shows and hides key-tip windows; the container of the key tips hands one out.
class IdxBarKeyTipWindowsManager {
public:
  virtual ~IdxBarKeyTipWindowsManager() = default;
  // Makes the window of one key tip at a screen point; nil when it could not be made.
  virtual HWND Add(const String& AText, const TPoint& APosition, TdxBarKeyTipAlign AVertAlign,
                   TdxBarKeyTipAlign AHorzAlign, bool AEnabled) = 0;
  // Destroys a window Add made.
  virtual void Delete(HWND AHandle) = 0;
};

// One key tip as a navigation target gives it.
struct TdxBarKeyTipInfo {
  String Text;
  TPoint Position{0, 0};  // screen
  TdxBarKeyTipAlign HorzAlign = TdxBarKeyTipAlign::Near;
  TdxBarKeyTipAlign VertAlign = TdxBarKeyTipAlign::Near;
  bool Visible = true;
  bool Enabled = true;
  std::function<void()> OnExecute;  // clicks, drops down or selects the element
  // The bar window the element lives on; only compared, so that its tips go with it.
  const TObject* BarControl = nullptr;
};

// A keyboard-navigation target (no accessibility object, whatever its name says): an element
// of a bar or menu, a bar window, or the root of a form's bars. Targets are small handles made
// per request and compared by the object they stand for, which reads nil once it is gone.
class IdxBarAccessibilityHelper {
public:
  virtual ~IdxBarAccessibilityHelper() = default;
  virtual TObject* GetHelperObject() const = 0;
  // Which part of that object the element is (a toolbar's mark or caption button); -1 for
  // the object as a whole.
  virtual int GetHelperPart() const { return -1; }
  virtual TdxBarManager* GetBarManager() const = 0;
  // The bar window the element lives on; nil for a root above the windows.
  virtual TCustomdxBarControl* GetBarControl() const = 0;
  virtual TRect GetScreenBounds() const = 0;
  // The first selectable element of this subtree (depth first); nil when none.
  virtual TdxBarHelperRef GetFirstSelectableObject() = 0;
  // The next (previous) selectable element in tree order.
  virtual TdxBarHelperRef GetNextSelectableObject(bool AForward) = 0;
  // The element in a direction (left, up, right or down); nil when none.
  virtual TdxBarHelperRef FindNavigationTarget(TcxAccessibilityNavigationDirection ADirection) = 0;
  // Whether the element wants a key / handles it itself (true: done).
  virtual bool WantsKey(uint16_t AKey) = 0;
  virtual bool HandleNavigationKey(uint16_t AKey) = 0;
  // Whether navigation may start here.
  virtual bool CanNavigate() = 0;
  virtual void SelectForNavigation(bool AByTab) = 0;
  virtual void ClearNavigationSelection(const TdxBarHelperRef& ANext) = 0;
  // The key tips of the subtree, each text unique among them.
  virtual std::vector<TdxBarKeyTipInfo> GetKeyTips() = 0;
  // The container one level up (Esc while key tips are shown); nil at the top.
  virtual TdxBarHelperRef GetKeyTipParent() = 0;
  virtual IdxBarKeyTipWindowsManager* GetKeyTipWindowsManager() = 0;
};

// A key-tip text as typed key tips are compared: upper case by the user's locale.
String dxBarKeyTipUpperCase(String AText);

// Same object and part behind both (nil never matches).
bool IsSameHelper(const TdxBarHelperRef& A, const TdxBarHelperRef& B);

// The navigation target of a window for Alt and F10: the root of its manager's bars (the
// main-menu bar first), unless a replacement procedure answers another; nil when the window
// has no manager.
TdxBarHelperRef GetWindowAccessibilityHelper(HWND AWnd);
using TdxBarWindowHelperProc = std::function<TdxBarHelperRef(HWND)>;
TdxBarWindowHelperProc SetdxBarWindowHelperProc(TdxBarWindowHelperProc AProc);
// The helper of a bar window and of one of its item controls (the built-in targets).
TdxBarHelperRef GetBarControlNavigationTarget(TCustomdxBarControl* AControl);
TdxBarHelperRef GetItemControlNavigationTarget(class TdxBarItemControl* AControl);
// The target of a toolbar's mark, close button or caption button (dxBarMarkIndex,
// dxBarCloseButtonIndex, the button's index).
TdxBarHelperRef GetBarPartNavigationTarget(class TdxBarControl* ABar, int APart);

// One key tip while it is collected or shown.
class TdxBarKeyTipData : public TObject {
  DECLARE_CLASS(TdxBarKeyTipData, TObject)
public:
  explicit TdxBarKeyTipData(const TdxBarKeyTipInfo& AInfo) : Info(AInfo) {}
  ~TdxBarKeyTipData() override;
  void Show(IdxBarKeyTipWindowsManager* AManager);
  void Hide();
  // The text upper-cased, for matching.
  String GetMatchText() const;
  TdxBarKeyTipInfo Info;
  HWND Window = nullptr;

private:
  IdxBarKeyTipWindowsManager* FManager = nullptr;
};

// The beep of a key that matches no key tip or that an editor refuses; replaceable for tests.
using TdxBarBeepProc = void (*)();
TdxBarBeepProc SetdxBarBeepProc(TdxBarBeepProc AProc);
void dxBarBeep();

class TdxBarNavigationController : public TObject {
  DECLARE_CLASS(TdxBarNavigationController, TObject)
public:
  TdxBarNavigationController();
  ~TdxBarNavigationController() override;

  // Root waits for the key-up of Alt or F10, or for the 500 ms timer. Raises for a nil root
  // or a different root while one waits.
  void StartNavigation(const TdxBarHelperRef& ARoot);
  bool CanStartNavigation(const TdxBarHelperRef& ARoot) const;
  // Clears the Alt-alone flag; drops a waiting root, showing its key tips when asked.
  void CancelPending(bool AShowKeyTips);
  // Alt or F10 came up: the waiting root's first element is selected.
  void ActivateOnKeyUp();
  void StopNavigation();
  // A helper goes away: forgotten as selection, root and key-tip container; a bar window
  // also takes its key tips with it.
  void ObjectRemoving(TObject* AObject);
  // The last bar window of the active chain closed (a click by key, Esc, a close from
  // outside): the navigation that worked on it is over.
  void ActiveChainEmptied();
  // AMove hands the keyboard from one bar window to another (Ctrl+Tab): the chain empties on
  // the way, but the navigation goes on in the next window.
  void KeepNavigationWhile(const std::function<void()>& AMove);
  // The form of AManager lost the activation: its navigation and key tips end.
  void ManagerDeactivated(TdxBarManager* AManager);
  bool IsActiveFor(const TCustomdxBarControl* ABarControl) const;
  bool IsNavigationActive() const;
  bool IsRootPending() const { return FPendingRoot != nullptr; }
  bool AreKeyTipsShown() const { return FKeyTipContainer != nullptr; }
  bool IsNavigationOrKeyTipsActive() const { return IsNavigationActive() || AreKeyTipsShown(); }
  TdxBarHelperRef GetSelectedObject() const;
  TdxBarHelperRef GetNavigationRoot() const;
  // Helpers report their selection here.
  void SetSelection(const TdxBarHelperRef& ASelected, const TdxBarHelperRef& ARoot);
  void ChangeSelectedObject(bool AByTab, TdxBarHelperRef AOld, const TdxBarHelperRef& ANew);
  // Whether the keyboard hook gives the key to KeyDown now. AFlags are the key message's
  // (Unicode input carries its character there).
  bool TakesKey(uint16_t AKey, LPARAM AFlags = 0);
  bool HandlesKey(uint16_t AKey, LPARAM AFlags = 0);
  void KeyDown(uint16_t AKey, LPARAM AFlags = 0);
  void UpdateKeyTips(const TdxBarHelperRef& AContainer, const String& APrefix);
  // A mouse button went down somewhere.
  void MousePressed();

  // For checks: the key tips shown and the typed prefix.
  const std::vector<std::unique_ptr<TdxBarKeyTipData>>& GetKeyTips() const { return FKeyTips; }
  const String& GetTypedPrefix() const { return FTypedPrefix; }
  // A key tip runs that the user typed over shown tips (not one met by Alt held with a letter).
  bool IsRunningShownKeyTip() const { return FRunningShownKeyTip; }
  TdxBarHelperRef GetKeyTipContainer() const { return FKeyTipContainer; }

private:
  void TimerTick(TObject* Sender);
  void FreeTimer();
  // The bar window navigation works on now, with its selection and root.
  TCustomdxBarControl* GetNavigatedBarControl() const;
  bool IsWantedKey(uint16_t AKey) const;
  // Key-tip matching; true when something matched (or Esc while tips are shown).
  bool MatchKeyTip(uint16_t AKey, LPARAM AFlags, bool AApply);
  void FilterKeyTips();
  void HideKeyTips();

  bool FProcessing = false;
  TdxBarHelperRef FKeyTipContainer;
  std::vector<std::unique_ptr<TdxBarKeyTipData>> FKeyTips;
  String FTypedPrefix;
  bool FRunningShownKeyTip = false;
  TdxBarHelperRef FPendingRoot;
  TTimer* FTimer = nullptr;
  bool FNavigationActive = false;
  // The selection moves from one bar to another: the chain empties on the way.
  bool FChangingSelection = false;
  TdxBarHelperRef FSelectedObject;
  TdxBarHelperRef FSelectedRoot;
};

// The process-wide controller, made at start-up; nil before and after.
TdxBarNavigationController* BarNavigationController();
void dxBarCreateNavigationController();
void dxBarFreeNavigationController();

// The candidate nearest to Current in a direction (left, up, right, down): the smallest
// non-negative edge gap, then the smallest angle off the direction, then the earlier
// candidate. With AWrap, left and right search again from the far side. -1 when none (also
// for the tree-order directions, which have no geometry).
int FindNearestInDirection(const TRect& ACurrent, const std::vector<TRect>& ACandidates,
                           TcxAccessibilityNavigationDirection ADirection, bool AWrap);
