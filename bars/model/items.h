// Bar items: the command objects of the bar library. An item holds a command's data
// (caption, images, shortcut, enabling, visibility, action, style) and pushes every change
// to the item links that show it and, through them, to their item controls. Every item
// kind derives from TdxBarItem; the item-kind register names the control class of each.
#pragma once

#include <memory>
#include <vector>

#include "bars/model/components.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemsupport.h"
#include "bars/model/itemtypes.h"
#include "bars/model/manager.h"
#include "platform/ActnList.h"
#include "platform/Bitmap.h"

class TCanvas;
class TCustomImageList;
class TdxBarItemControl;
class TdxBarItemLink;
class TdxBarItemLinks;

// The four values an item draws with, each from its style where the style assigns it,
// else the library default (no bitmap, clDefault colours, no font: the bar's own).
struct TdxBarItemStyleValues {
  TBitmap* Bitmap = nullptr;
  TColor Color = clDefault;
  TFont* Font = nullptr;
  TColor TextColor = clDefault;
};

// A caption as hints and command lists show it: without its first "&" and its first "...".
String dxBarStripCaption(const String& ACaption);

class TdxBarItem;
// Makes AItem one of the library's internal items, which customizing keeps to itself: listed
// by no manager and in no category, so not streamed, not saved, never in the Customize
// dialog, and enabled as set even while customizing. It keeps its manager.
void dxBarMakeInternalItem(TdxBarItem* AItem);

class TdxBarItem : public TdxBarComponent {
  DECLARE_CLASS(TdxBarItem, TdxBarComponent)
public:
  // Joins the manager found for the owner (a manager owner, or the manager on the owning
  // form); without one the item lives on its own until a manager reads it: an item made before
  // its form's manager shows on the bars it is linked to, but the Customize dialog and the
  // stored layout never know it. Make the manager first.
  explicit TdxBarItem(TComponent* AOwner);
  ~TdxBarItem() override;
  // Fires OnDestroy, then frees every link of the item while it still has its full type.
  void BeforeDestruction() override;

  // --- Component overrides.
  void Assign(TPersistent* Source) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  void SetName(const String& NewName) override;
  // Items stream as children of their manager.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  // --- Bar component overrides.
  // At run time while the manager is customizing an item with a category answers True,
  // so that every command can be dragged; otherwise the stored value.
  bool GetEnabled() const override;
  void SetEnabled(bool Value) override;
  // The stored value, whatever the customizing state.
  bool GetEnabledValue() const { return FEnabled; }
  TdxBarItemVisible GetVisible() const override { return FVisible; }
  void SetVisible(TdxBarItemVisible Value) override;
  // An item that still has links is not deleted unless forced: Delete frees its links.
  bool CanDelete(bool Force) override;
  void Delete(bool Force) override;
  int GetCategoryIndex() const override { return FCategory; }
  void SetCategoryIndex(int Value) override { FCategory = Value; }
  // Bars show a link only while this holds.
  bool IsAvailable() const override;

  // --- Links (not owned: each belongs to its link collection).
  void AddLink(TdxBarItemLink* ALink);
  void RemoveLink(TdxBarItemLink* ALink);
  int GetLinkCount() const { return FLinks.Count(); }
  // Nil out of range.
  TdxBarItemLink* GetLink(int Index) const;
  // The first link whose control exists and is selected; nil when none.
  TdxBarItemLink* GetSelectedLink() const;
  // Frees every link; the item leaves every bar and menu.
  void FreeLinks();

  // The item's position in its manager's register; -1 without a manager. Setting it moves
  // the item (clamped to the register).
  int GetIndex() const;
  void SetIndex(int Value);

  // --- Click chain.
  // The click a shortcut starts: only when IsClickable.
  void ShortCutClick();
  // The item click: only when enabled; the manager's DoClickItem, then DoClick.
  virtual void Click();
  // When the key is the item's shortcut, clicks it and answers True; an item with links of
  // its own passes the key on to them. A disabled item answers False.
  virtual bool IsShortCut(TShortCut Key);
  // Asks the action (if any) to update itself; its changes reach the item through the link.
  void UpdateActionLink();

  // --- Change propagation to the links' controls.
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void GlyphChanged();
  virtual void HotGlyphChanged();
  virtual void LargeGlyphChanged();
  virtual void PaintStyleChanged() {}
  virtual void ShortCutChanged();
  virtual void VisibleChanged();
  virtual void WidthChanged();
  // The general update: every control recalculates and repaints.
  virtual void Update();
  // Every control repaints, except a bar's selected control while that bar holds the
  // mouse capture for an item press.
  virtual void RepaintControls();
  // Rebuilds the bar windows of the given kinds that show the item (each window once).
  virtual void RebuildBars(TdxBarControlKinds Kinds = dxBarAllControlKinds);

  // --- Virtual operations descendants override.
  virtual int GetWidth() const { return FWidth; }
  virtual void SetWidth(int Value);
  // Whether the links show the item's width as theirs, for a user to change per link (edits).
  virtual bool IsWidthPerLink() const { return false; }
  virtual void BarManagerChanged() {}
  // Whether the item may be put on the given links; Error says why not.
  virtual bool CanBePlacedOn(TdxBarItemLinks* AItemLinks, String& Error);
  virtual bool HasPaintStyle() const { return false; }
  virtual bool IsClickable() const { return true; }
  // The image index an action sets and reads (ImageIndex here).
  virtual int GetActionImageIndex() const { return FImageIndex; }
  virtual void SetActionImageIndex(int Value) { SetImageIndex(Value); }
  // The control class the item-kind register names for exactly this item's class; nil
  // for a class that is not registered itself. ARotated: the bar turns its text.
  virtual TClass GetControlClass(bool ARotated = false) const;
  // Links the item owns itself (sub-menus); nil in the base.
  virtual TdxBarItemLinks* GetItemLinks() const { return nullptr; }
  // A container item shows other items in its place on bar windows: fills AItems with
  // them (shown after its own link, in order) and sets AHideSelf when its own link is taken
  // out meanwhile. False (no container) in the base.
  virtual bool GetExpandedItems(std::vector<TdxBarItem*>& AItems, bool& AHideSelf) const { return false; }
  virtual int GetStylesCount() const { return 1; }
  // Whether the link's caption accelerator selects the item (buttons also ask where the link is).
  virtual bool HasAccel(const TdxBarItemLink* ALink) const { return GetEnabled(); }
  virtual void HideHostedControl() {}
  virtual bool CanBeVisible() const { return true; }
  virtual bool IsCompatibleWith(TdxBarItem* AItem) const { return false; }
  virtual bool UsesStyleBackground() const { return false; }
  virtual bool HasHostedControl() const { return false; }
  virtual void BarNotification(int Kind) {}
  virtual void SetImageIndex(int Value);
  virtual void SetLargeImageIndex(int Value);
  virtual bool HasHotImage() const { return false; }
  virtual bool UsesImageIndex() const { return FImageIndex >= 0 || FLargeImageIndex >= 0; }
  virtual const String& GetCaption() const { return FCaption; }
  virtual bool IsCaptionStored() const;
  virtual void SetCaption(const String& Value);
  // Sub-menu kinds keep their links' layout data; empty here.
  // An item with links of its own (a sub-item) keeps them in the stored layout under the
  // base B: restores them from the initial layout, loads them, loads their usage values or
  // saves them (bars/layout/layoutstorage.cpp has the format).
  virtual void RestoreLinks(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry) {}
  virtual void LoadLinks(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry) {}
  virtual void LoadLinkUsage(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry) {}
  virtual void SaveLinks(TCustomIniFile* AStorage, const String& ABase, bool AIsRegistry) {}
  // The caption the Customize dialog gives a new item of this kind.
  virtual String GetNewItemCaption() const { return GetResourceString(sdxBarNewItem); }
  // The sample of the item the Customize dialog's lists draw beside its caption (the font
  // colour is set already); the base fills R with the canvas brush.
  virtual void DrawCustomizingImageBackground(TCanvas* ACanvas, const TRect& R, bool ASelected) const;
  virtual TCustomImageList* GetImages() const;
  // A separator kind answers True; links thin separators with it.
  virtual bool IsSeparator() const { return false; }

  // Hooks for kinds that come later. Whether the hint follows the caption (sub-menus
  // keep their hint); the action's Checked value as the item shows it (buttons: Down);
  // whether the item shows Checked at all.
  virtual bool DoesHintFollowCaption() const { return true; }
  virtual bool HasActionChecked() const { return false; }
  virtual bool GetActionChecked() const { return false; }
  virtual void SetActionChecked(bool Value) {}
  // Whether a click draws the item's control pressed while the handler runs: always, but
  // buttons only with UnclickAfterDoing.
  virtual bool IsDrawnPressedWhileClicked() const { return true; }

  // --- Properties.
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* Value);
  TdxBarItemActionLink* GetActionLink() const { return FActionLink.get(); }
  TdxBarItemAlign GetAlign() const { return FAlign; }
  void SetAlign(TdxBarItemAlign Value);
  // A new item has no category (-1) and the Customize dialog lists commands by category, so an
  // item made in code needs one to be offered there.
  int GetCategory() const { return FCategory; }
  // Moves the item behind the other items of the new category in the register; an index
  // that is not one of the manager's categories leaves the category unchanged.
  void SetCategory(int Value);
  const String& GetDescription() const { return FDescription; }
  void SetDescription(const String& Value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TdxBarGlyphLayout GetGlyphLayout() const { return FGlyphLayout; }
  void SetGlyphLayout(TdxBarGlyphLayout Value);
  THelpContext GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(THelpContext Value);
  const String& GetHint() const { return FHint; }
  void SetHint(const String& Value);
  int GetImageIndex() const { return FImageIndex; }
  const String& GetKeyTip() const { return FKeyTip; }
  void SetKeyTip(const String& Value) { FKeyTip = Value; }
  TBitmap* GetLargeGlyph() const { return FLargeGlyph.get(); }
  void SetLargeGlyph(TBitmap* Value);
  int GetLargeImageIndex() const { return FLargeImageIndex; }
  TdxBarItemVisible GetLoadedVisible() const { return FLoadedVisible; }
  TdxBarItemMergeKind GetMergeKind() const { return FMergeKind; }
  void SetMergeKind(TdxBarItemMergeKind Value) { FMergeKind = Value; }
  int GetMergeOrder() const { return FMergeOrder; }
  // Values below 1 are stored as 0.
  void SetMergeOrder(int Value) { FMergeOrder = Value < 1 ? 0 : Value; }
  TdxBarPaintStyle GetPaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TdxBarPaintStyle Value);
  // The screen tip component (not owned; a freed one leaves the item).
  TComponent* GetScreenTip() const { return FScreenTip; }
  void SetScreenTip(TComponent* Value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  TcxStyle* GetStyle() const;
  void SetStyle(TcxStyle* Value);
  TdxBarItemStylesData* GetStylesData() const { return FStylesData.get(); }
  // The values of style slot ASlot (0 the item's Style).
  TdxBarItemStyleValues GetStyleValues(int ASlot = 0) const;
  bool GetUnclickAfterDoing() const { return FUnclickAfterDoing; }
  void SetUnclickAfterDoing(bool Value) { FUnclickAfterDoing = Value; }
  const TNotifyEvent& GetOnClick() const { return FOnClick; }
  // The link a click came through, while its handlers run; nil otherwise.
  TdxBarItemLink* GetClickItemLink() const;
  void SetClickItemLink(TdxBarItemLink* Value);
  void SetOnClick(const TNotifyEvent& Value) { FOnClick = Value; }

  // Stored predicates: a value the action link supplies is not written.
  bool IsEnabledStored() const;
  bool IsHelpContextStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;
  // The hint is what the caption makes of it: empty or its short part equals the caption
  // without "&" and "...".
  bool IsHintDerivedFromCaption() const;
  // Visible as the action link compares it: the value being read while loading.
  TdxBarItemVisible GetEffectiveVisible() const;
  // The manager applies the Visible read from form data once it has loaded.
  void ApplyLoadedVisible();

  TNotifyEvent OnDestroy;
  // Raised after the item has loaded (not published).
  TNotifyEvent OnLoadedNotify;

protected:
  // Takes the action's values: all of them, or (CheckDefaults) only into properties that
  // still hold their defaults; in that case the hint does not follow the caption.
  virtual void UpdateFromAction(TBasicAction* AAction, bool CheckDefaults);
  void AssignTo(TPersistent* Dest) override;
  virtual void DoClick();
  // The styles data changed: controls re-apply their style.
  virtual void StylesChanged(TObject* Sender, TdxBarItemStyleChange Kind);
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }

private:
  void AttachToManager(TdxBarManager* AManager);
  void ActionChanged(TObject* Sender);
  void GlyphBitmapChanged(TObject* Sender);
  void LargeGlyphBitmapChanged(TObject* Sender);
  // Calls Proc(link, control) for each link that still belongs to the item and has a
  // control when its turn comes; a reaction may free links or controls.
  template <class F>
  void ForEachControl(F Proc);
  // Whether a control is its bar's selected control while that bar holds the capture.
  static bool IsPressedControl(TdxBarItemControl* AControl);

  std::unique_ptr<TdxBarItemActionLink> FActionLink;
  bool FEnabled = true;
  TdxBarItemVisible FVisible = ivAlways;
  TdxBarItemAlign FAlign = iaLeft;
  String FCaption;
  int FCategory = -1;
  bool FActionUpdating = false;
  String FDescription;
  std::unique_ptr<TBitmap> FGlyph;
  THelpContext FHelpContext = 0;
  String FHint;
  int FImageIndex = -1;
  String FKeyTip;
  std::unique_ptr<TBitmap> FLargeGlyph;
  int FLargeImageIndex = -1;
  TList FLinks;
  TdxBarItemVisible FLoadedVisible = ivAlways;
  bool FHasLoadedVisible = false;
  TdxBarItemMergeKind FMergeKind = mkAdd;
  int FMergeOrder = 0;
  TdxBarPaintStyle FPaintStyle = psStandard;
  TShortCut FShortCut = 0;
  std::unique_ptr<TdxBarItemStylesData> FStylesData;
  TComponent* FScreenTip = nullptr;
  bool FUnclickAfterDoing = false;
  // Weak: a handler may free the link.
  TWeakRef<TdxBarItemLink> FClickItemLink;
  int FWidth = 0;
  TNotifyEvent FOnClick;
  TdxBarGlyphLayout FGlyphLayout = glTop;
  bool FShowCaption = false;
  bool FSearchingShortCut = false;
};
