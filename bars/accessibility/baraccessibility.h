// The accessibility tree of the bars: dock sites, bar and menu windows, their item controls
// and a toolbar's caption buttons, each with a helper made on first use. The tree answers
// accessibility clients and is what key tips and the tree order of keyboard navigation walk.
#pragma once

#include <vector>

#include "bars/accessibility/cxaccessibility.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/keyboard/navigation.h"

class TCustomdxBarControl;
class TdxBarCaptionButton;
class TdxBarItemControl;
class TdxBarManager;
class TdxDockControl;

class TdxBarAccessibilityHelper : public TcxAccessibilityHelper {
public:
  explicit TdxBarAccessibilityHelper(TObject* AOwnerObject);

  // --- The tree.
  virtual bool CanNavigateToChildren() { return true; }
  virtual TdxBarManager* GetBarManager() = 0;
  // The bar window the element lives on (the window itself for a bar).
  virtual TCustomdxBarControl* GetOwnerControl() = 0;
  // Whether navigation and key tips stop at this element rather than at its children.
  virtual bool IsSelectable() { return false; }
  // The next (previous) selectable helper in tree order; nil at the end of the tree.
  TdxBarAccessibilityHelper* GetNextNavigationTarget(bool AForward);
  // The first (last) selectable helper inside this one.
  TdxBarAccessibilityHelper* GetFirstSelectableChild(bool AFromFirst);
  TdxBarAccessibilityHelper* GetBarChild(int AIndex);
  TdxBarAccessibilityHelper* GetBarParent();
  // The children in order, for a walk over all of them: a bar lists its controls once for
  // the walk instead of once per child. Empty once the owner is gone.
  virtual std::vector<TdxBarAccessibilityHelper*> GetBarChildren();

  // --- Key tips.
  virtual String GetExplicitKeyTip() { return String(); }
  virtual String GetDefaultKeyTip() { return String(); }
  // The explicit key tip, else the default; at most 3 characters.
  String GetKeyTip();
  virtual void InitializeKeyTipData(TdxBarKeyTipInfo& AData);
  void AddOwnKeyTip(std::vector<TdxBarKeyTipInfo>& AList);
  virtual void CollectChildKeyTips(std::vector<TdxBarKeyTipInfo>& AList);
  // The key tips of the subtree with their texts told apart.
  void CollectUniqueKeyTips(std::vector<TdxBarKeyTipInfo>& AList);
  virtual void ExecuteKeyTip() {}
  // A key the selected element acts on itself (Enter and Space on a toolbar's mark).
  virtual bool HandleNavigationKey(WORD AKey) { return false; }
  // The keyboard-navigation target standing for this element; nil for none.
  virtual TdxBarHelperRef GetNavigationTarget() { return nullptr; }

  // --- What the accessibility bridge asks; every child has its own object.
  bool ChildIsSimpleElement(int AIndex) override { return false; }
  int GetChildIndex(TcxAccessibilityHelper* AChild) override;
  String GetValue(int AChildID) override { return String(); }
  int GetNextChildIndex(int AIndex, TcxAccessibilityNavigationDirection ADirection) override;
  int GetHitTest(int AScreenX, int AScreenY, int& AChildIndex) override;

protected:
  bool IsOwnerAlive() const override { return FOwnerRef.Alive(); }
  // GetChild through GetBarChildren, for the kinds that list their children in one go.
  TcxAccessibilityHelper* ChildAt(int AIndex);

private:
  TWeakRef<TObject> FOwnerRef;
};

// --- The helpers of item controls. A control names the class of its helper
// (TdxBarItemControl::GetAccessibilityHelperClass), so that a kind above the bar library
// brings its own, derived from one of these.

template <class T>
TdxBarAccessibilityHelper* dxBarAccessibilityHelperClassOf(TdxBarItemControl* AControl)
{
  return new T(AControl);
}

// An item control that is no button: its caption, bounds, state and key tip.
class TdxBarItemControlAccessibilityHelper : public TdxBarAccessibilityHelper {
public:
  explicit TdxBarItemControlAccessibilityHelper(TdxBarItemControl* AControl);
  TdxBarItemControl* GetControl() const { return FControl.Get(); }
  TCustomdxBarControl* Bar() const;
  TdxBarManager* GetBarManager() override;
  TCustomdxBarControl* GetOwnerControl() override { return Bar(); }
  TcxAccessibilityHelper* GetParent() override;
  bool IsSelectable() override;
  HWND GetOwnerObjectWindow() override;
  TRect GetScreenBounds(int) override;
  int GetState(int) override;
  int GetRole(int) override;
  String GetName(int) override;
  void GetKeyboardShortcut(int, TShortCut& AShortCut, String& ACaption, bool& AUseCaption) override;
  int GetSupportedProperties(int) override;
  String GetExplicitKeyTip() override;
  String GetDefaultKeyTip() override;
  void InitializeKeyTipData(TdxBarKeyTipInfo& AData) override;
  void ExecuteKeyTip() override { Run(true); }
  TdxBarHelperRef GetNavigationTarget() override;
  String GetDefaultActionDescription(int) override;
  void DoDefaultAction(int) override;

protected:
  // Runs the element as its key tip does; AShowMenuKeyTips: a menu it opens shows its tips.
  void Run(bool AShowMenuKeyTips);
  TWeakRef<TdxBarItemControl> FControl;
};

// A button, a sub item and the like: a push button on a toolbar, an entry in a menu.
class TdxBarButtonLikeControlAccessibilityHelper : public TdxBarItemControlAccessibilityHelper {
public:
  using TdxBarItemControlAccessibilityHelper::TdxBarItemControlAccessibilityHelper;
  int GetRole(int AChildID) override;
  int GetSupportedProperties(int AChildID) override;
};

// A button: pressed and checked.
class TdxBarButtonControlAccessibilityHelper : public TdxBarButtonLikeControlAccessibilityHelper {
public:
  using TdxBarButtonLikeControlAccessibilityHelper::TdxBarButtonLikeControlAccessibilityHelper;
  int GetState(int AChildID) override;
};

// A sub item: a button that opens a menu, expanded while its menu shows.
class TdxBarSubItemControlAccessibilityHelper : public TdxBarButtonLikeControlAccessibilityHelper {
public:
  using TdxBarButtonLikeControlAccessibilityHelper::TdxBarButtonLikeControlAccessibilityHelper;
  int GetRole(int) override;
  int GetState(int AChildID) override;
};

// An edit or combo: a text field.
class TdxBarWinControlAccessibilityHelper : public TdxBarItemControlAccessibilityHelper {
public:
  using TdxBarItemControlAccessibilityHelper::TdxBarItemControlAccessibilityHelper;
  int GetRole(int) override { return ROLE_SYSTEM_TEXT; }
};

// The helper of a dock site, bar or menu window, or item control; made on first use and
// kept while its owner lives. Nil for nil or an object of another kind.
TdxBarAccessibilityHelper* dxBarGetAccessibilityHelper(TObject* AOwner);
// The helper of a toolbar's mark (dxBarMarkIndex), close button (dxBarCloseButtonIndex) or
// caption button (its index); nil when the bar has none.
TdxBarAccessibilityHelper* dxBarGetPartAccessibilityHelper(class TdxBarControl* ABar, int APart);
// How many times the helper of a bar window has listed its item controls afresh, for checks
// that a walk over a window's children costs one listing.
uint64_t dxBarAccessibilityItemControlListings();
// Lets the helpers of freed owners go; the library's shut-down calls it with AAll.
void dxBarReleaseAccessibilityHelpers(bool AAll);
// WM_GETOBJECT of a bar window or dock site.
LRESULT dxBarAnswerGetObject(TObject* AOwner, WPARAM wParam, LPARAM lParam);

// Tells accessibility clients that a menu window appeared or went, and where the keyboard
// selection of a window moved.
void dxBarAccessibilityWindowShown(TCustomdxBarControl* ABar, bool AShown);
void dxBarAccessibilityItemFocused(TdxBarItemControl* AControl);

// Key tips of items: the explicit one, else the upper-case accelerator of the caption, else "Y".
String dxBarDefaultKeyTipOfCaption(const String& ACaption);
// The key tips of the subtrees of AHelpers (nil ones left out), their texts told apart
// across all of them.
void dxBarCollectUniqueKeyTips(const std::vector<TdxBarAccessibilityHelper*>& AHelpers,
                               std::vector<TdxBarKeyTipInfo>& AList);
// Makes equal texts unique by numbering them and a text that begins another one longer.
void dxBarMakeKeyTipsUnique(std::vector<String>& ATexts);
