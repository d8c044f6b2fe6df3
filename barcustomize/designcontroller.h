// The design controller: the one process-wide keeper of what is selected while bars are
// customised, what Delete and Esc do to it, and the popups customising offers (the
// customizing popup of a link, the toolbars popup of a dock site). The popups are built from
// internal items that no manager lists. Model layer above the bars; they reach it through
// the customizing and hook services it installs.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "bars/model/components.h"
#include "bars/model/itemtypes.h"
#include "lookandfeel/cxClasses.h"
#include "lookandfeel/cxControls.h"
#include "platform/Classes.h"

class TControl;
class TCustomdxBarControl;
class TdxBar;
class TdxBarButton;
class TdxBarCustomizingPopup;
class TdxBarItem;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBarSubMenuControl;
class TdxBarControlEditor;
class TdxBarControl;
class TdxBarQuickControl;

// The link commands, by number: the entries of a link's customizing popup.
enum TdxBarLinkCommand {
  lcReset = 0,
  lcDelete = 1,
  lcDeleteItem = 2,
  lcDeleteLink = 3,
  lcName = 4,
  lcPaintStyle = 5,
  lcPosition = 6,
  lcViewLevels = 7,
  lcButtonGroup = 8,
  lcBeginGroup = 9,
  lcVisible = 10,
  lcMostRecentlyUsed = 11,
  lcCount = 12
};
using TdxBarLinkCommands = uint32_t;
inline constexpr TdxBarLinkCommands dxBarCommandBit(int ACommand)
{
  return 1u << ACommand;
}
inline constexpr TdxBarLinkCommands dxBarAllLinkCommands = (1u << lcCount) - 1;
// An internal entry's Tag: its command and its number within the command; the entry that
// opens a command's submenu has the number dxBarSubMenuEntry.
inline constexpr int dxBarSubMenuEntry = 0xFFFF;
inline constexpr intptr_t dxBarCommandTag(int ACommand, int AEntry)
{
  return intptr_t(ACommand) * 65536 + AEntry;
}

// The entries of a bar window's popup run the link editors: editor I has the command
// number dxBarEditorCommand(I), past the link commands.
inline constexpr int dxBarEditorCommand(int AEditor)
{
  return lcCount + AEditor;
}

// What a kind of bar window forbids in the customizing popups of its links, and which link
// editors it offers. Class-level: one instance per class, kept by the controller.
class TCustomdxBarControlDesignHelper : public TObject {
  DECLARE_CLASS(TCustomdxBarControlDesignHelper, TObject)
public:
  TCustomdxBarControlDesignHelper() = default;
  // Removes the forbidden commands from ACommands.
  void RestrictCommands(TdxBarLinkCommands& ACommands) const { ACommands &= ~GetForbiddenCommands(); }
  // Adds the editor classes offered for new links.
  virtual void GetEditors(std::vector<TClass>& AList) const;
  virtual TdxBarLinkCommands GetForbiddenCommands() const;
};
// Toolbars allow the paint styles.
class TdxBarControlDesignHelper : public TCustomdxBarControlDesignHelper {
  DECLARE_CLASS(TdxBarControlDesignHelper, TCustomdxBarControlDesignHelper)
public:
  TdxBarControlDesignHelper() = default;
  TdxBarLinkCommands GetForbiddenCommands() const override;
};
// Menus allow the most-recently-used mark and offer separators.
class TdxBarSubMenuControlDesignHelper : public TCustomdxBarControlDesignHelper {
  DECLARE_CLASS(TdxBarSubMenuControlDesignHelper, TCustomdxBarControlDesignHelper)
public:
  TdxBarSubMenuControlDesignHelper() = default;
  void GetEditors(std::vector<TClass>& AList) const override;
  TdxBarLinkCommands GetForbiddenCommands() const override;
};
// The application menu forbids what the base does.
class TdxBarApplicationMenuControlDesignHelper : public TCustomdxBarControlDesignHelper {
  DECLARE_CLASS(TdxBarApplicationMenuControlDesignHelper, TCustomdxBarControlDesignHelper)
public:
  TdxBarApplicationMenuControlDesignHelper() = default;
};

class TdxBarDesignController : public TcxDesignController {
  DECLARE_CLASS(TdxBarDesignController, TcxDesignController)
public:
  TdxBarDesignController();
  ~TdxBarDesignController() override;

  // --- Registers.
  void RegisterDesignHelper(TClass AControlClass, TClass AHelperClass);
  void UnregisterDesignHelper(TClass AControlClass);
  void RegisterEditor(TClass AEditorClass);
  void UnregisterEditor(TClass AEditorClass);
  const std::vector<TClass>& GetEditors() const { return FEditors; }
  // The helper of the nearest registered ancestor of the control's class; the base helper
  // when none is registered (or without a control).
  const TCustomdxBarControlDesignHelper* GetDesignHelper(const TCustomdxBarControl* AControl);

  // --- Selection: one object at run time, forgotten when it is freed.
  // AMode 0 selects, 1 deselects, 2 adds (at run time the same as 0).
  void SelectObject(TObject* AObject, int AMode);
  void DeselectObject(TObject* AObject) { SelectObject(AObject, 1); }
  // A component: through the form designer when its manager is designed, else as above.
  void SelectComponent(TComponent* AComponent, int AMode = 0);
  // Clears the selection, unless the selected object keeps it (a link whose menu is open)
  // while the application has an active window.
  void ClearSelection();
  // Drops a selection that can no longer be customized: its manager is not customizing or
  // the link has left its bar.
  void TestDesignSelection();
  TObject* GetSelectedObject() const { return FSelection.Get(); }
  // True for the selected object and for a link whose item is the selected object.
  bool IsSelected(const TObject* AObject) const;
  TdxBarSelectionState GetSelectionState(const TObject* AObject) const;

  // --- Keys while customizing (true: handled).
  // Delete: the selected links (AItems false) or their items (AItems true). From the
  // keyboard the manager's form must be the active window.
  bool DeleteSelection(bool AItems, bool AFromKeyboard = true);
  // Esc hands the selection from a link to what holds it.
  bool EscapeSelection();

  // --- Popups.
  // The customizing popup for a link (or a bar) pressed on ATarget, at the cursor. Does
  // nothing when the object offers no command.
  void ShowCustomizingPopup(TdxBarManager* AManager, TObject* AObject, TCustomdxBarControl* ATarget);
  // A bar window pressed where it has no link: in a form designer the link editors that
  // the window's kind offers ("Add &Item" a submenu of every registered kind); in a running
  // program a toolbar offers its toolbars popup.
  void ShowBarControlPopup(TdxBarManager* AManager, TCustomdxBarControl* ATarget);
  // The toolbars popup of a dock site or toolbar, at the cursor.
  void ShowToolbarsPopup(TdxBarManager* AManager, TControl* ATarget);
  // The popup of a toolbar's mark: the links that did not fit and the quick-customisation
  // entries, next to the mark. Nothing when it would be empty.
  void ShowQuickControl(TdxBarControl* ABarControl);
  TdxBarQuickControl* GetQuickControl() const;
  TdxBarSubMenuControl* GetCustomizingPopup() const;
  TdxBarSubMenuControl* GetToolbarsPopup() const;
  // Closes the customizing popup; false when none was open.
  bool CloseCustomizingPopup();
  // The popup and every menu of the target's chain above (on) or not above (off) other
  // windows.
  void SetPopupsTopMost(bool AOn);
  // The commands the link's popup offers on ATarget (0 when none).
  TdxBarLinkCommands GetLinkCommands(TdxBarItemLink* ALink, TCustomdxBarControl* ATarget);
  TdxBarItemLink* GetTargetLink() const;
  TCustomdxBarControl* GetTargetControl() const;
  // The items the open popups are made of; kept until the next popup is built.
  int GetInternalItemCount() const;
  bool IsInternalItem(const TdxBarItem* AItem) const;

  // --- Internal entries.
  TdxBarItem* AddInternalLink(TdxBarItemLinks* ALinks, TClass AItemClass, const String& ACaption, intptr_t ATag,
                              const TNotifyEvent& AOnClick, bool ABeginGroup);
  // "&Customize..." (enabled while no Customize dialog is open) when the manager allows it.
  void AddCustomizeLink(TdxBarItemLinks* ALinks, bool ABeginGroup);

private:
  void FreeInternalItems();
  void RepaintObject(TObject* AObject);
  bool KeepsSelection(TObject* AObject) const;
  // The popup made for ATarget, shown at the cursor once AFill has filled it.
  void ShowPopupFor(TdxBarManager* AManager, TCustomdxBarControl* ATarget,
                    const std::function<void(TdxBarItemLinks*)>& AFill);
  void FillEditorsPopup(TdxBarItemLinks* ALinks, TCustomdxBarControl* ATarget);
  void EditorClick(TObject* Sender);
  // The objects the commands of the popup act on besides its link: a form designer's other
  // selected links.
  void NotifySelection(int ACommand, TdxBarItemLink* ASource);
  TdxBarManager* FindSelectionManager() const;
  // The manager's form, or the Customize dialog unless its focused list takes AKey, is active.
  bool IsManagerFormActive(TdxBarManager* AManager, WORD AKey) const;
  void FillLinkPopup(TdxBarItemLinks* ALinks, TdxBarItemLink* ALink, TdxBarLinkCommands ACommands);
  void AddSubMenu(TdxBarItemLinks* ALinks, int ACommand, const String& ACaption,
                  const std::vector<std::pair<String, bool>>& AEntries, bool ARadio, bool ABeginGroup,
                  const std::vector<int>& AGroupStarts = {});
  void CommandClick(TObject* Sender);
  void NameEntered(TObject* Sender);
  void NameKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void RunCommand(int ACommand, int AEntry);
  void ToolbarClick(TObject* Sender);
  void CustomizeClick(TObject* Sender);
  void PopupClosed(TObject* Sender);
  // "Add or Remove Buttons" with one check entry per link of the bar, reset and customize.
  void AddQuickCustomizingLink(TdxBarControl* ABarControl, TdxBarItemLinks* ALinks);
  void QuickControlClosed(TObject* Sender);
  void ResetToolbarClick(TObject* Sender);

  TcxRegisteredClassList FHelpers;
  std::map<TClass, std::unique_ptr<TCustomdxBarControlDesignHelper>> FHelperInstances;
  std::vector<TClass> FEditors;
  TWeakRef<TObject> FSelection;
  TWeakRef<TdxBarManager> FManager;
  TWeakRef<TdxBarItemLink> FTargetLink;
  TWeakRef<TCustomdxBarControl> FTargetControl;
  TWeakRef<TdxBarSubMenuControl> FPopup;
  TWeakRef<TdxBarSubMenuControl> FToolbarsPopup;
  std::vector<TWeakRef<TdxBarItem>> FInternalItems;
  std::vector<TWeakRef<TdxBar>> FToolbarsPopupBars;
  // The editor classes of the open bar-window popup, by the entries' tags.
  std::vector<TClass> FPopupEditors;
  TWeakRef<TdxBarQuickControl> FQuickControl;
  TWeakRef<TdxBar> FQuickBar;
  // The name box's last key was Enter: only that commits the name.
  bool FNameEnterPressed = false;
};

// The controller, made on first use; nil once the units' shut-down has begun.
TdxBarDesignController* BarDesignController();

// Start-up and shut-down of the controller: fills its entries of the customizing services
// (AServices, installed by the caller) and of the hook services, and empties them again.
struct TdxBarCustomizingServices;
void InitializedxBarDesignController(TdxBarCustomizingServices& AServices);
void FinalizedxBarDesignController();
