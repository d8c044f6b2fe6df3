// The tree-view combo: a combo whose drop-down is a real tree view, resizable by a grip in
// its frame; choosing a node puts its text into the combo, optionally with the node's image
// in the edit area, and a modal select window with a tree serves a combo clicked instead of
// edited. Model (TdxBarTreeViewCombo), drop-down window (TdxBarTreeView) and item control
// (TdxBarTreeViewComboControl).
#pragma once

#include <optional>

#include "barextras/extitems.h"  // the unit starts with any of its kinds
#include "bars/barwindows/dropdownsizing.h"
#include "bars/itemcontrols/combos.h"
#include "platform/ComCtrls.h"

class TdxBarTreeViewCombo;
class TdxBarSelectItemForm;

using TdxBarTreeViewComboCanSelectNodeEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& CanSelect)>;

// A tree view that serves a tree-view combo: as its drop-down (a topmost tool window with a
// frame holding a size grip and a close button) or inside its select window.
class TdxBarTreeView : public TCustomTreeView {
  DECLARE_CLASS(TdxBarTreeView, TCustomTreeView)
public:
  explicit TdxBarTreeView(TComponent* AOwner);

  TdxBarTreeViewCombo* GetCombo() const { return FCombo; }
  void SetCombo(TdxBarTreeViewCombo* Value) { FCombo = Value; }
  bool GetDropDown() const { return FDropDown; }
  void SetDropDown(bool Value) { FDropDown = Value; }
  // Where the grip sits; the frame's band lies along that edge.
  TdxBarSizeGripCorner GetGripCorner() const { return FSizing.GetCorner(); }
  void SetGripCorner(TdxBarSizeGripCorner Value) { FSizing.SetCorner(Value); }
  // The grip's and the close button's window rectangles; empty while the drop-down cannot
  // be resized.
  TdxBarSizableDropDownParts GetSizableParts() const;
  bool GetCloseHot() const { return FSizing.IsCloseHot(); }

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;

  // The smallest size the grip leaves.
  static constexpr int MinTrackSize = 100;

private:
  bool IsSizable() const;
  // The painter of the combo's manager, which says whether the frame is flat.
  TdxBarPainter* GetPainter() const;
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMMouse(TMessage& Message);
  // The node under a client point, when the point lies on its image, state image or text.
  TTreeNode* ItemNodeAt(LPARAM APoint) const;

  TdxBarTreeViewCombo* FCombo = nullptr;
  bool FDropDown = false;
  TdxBarDropDownSizing FSizing{this};
};

class TdxBarTreeViewCombo : public TCustomdxBarCombo {
  DECLARE_CLASS(TdxBarTreeViewCombo, TCustomdxBarCombo)
public:
  explicit TdxBarTreeViewCombo(TComponent* AOwner);
  ~TdxBarTreeViewCombo() override;

  // While loading the text waits for the nodes: Loaded applies it.
  void SetText(const String& Value) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Enter goes to the open tree, which chooses with it.
  bool CheckKeyForDropDownWindow(WORD AKey, TShiftState AShift) override;
  HWND GetDropDownWindow() override;
  void PrepareDropDown() override;
  // Without a handler or a read-only text, the select window picks the node.
  void DoClick() override;
  // The node images in the edit area, when they show there.
  void DrawInterior(TcxCanvas* ACanvas, const TRect& R, const TdxBarItemLink* ALink) override;

  // The first node, depth first, whose text equals AText ignoring case; nil for none.
  TTreeNode* FindNode(const String& AText) const;
  // True unless OnCanSelectNode says no.
  bool CanSelectNode(TTreeNode* ANode);
  // The tree (the drop-down's or the select window's) chose its selected node.
  void ChooseNode(TdxBarTreeView* ATree);
  // Shows the modal select window; true when the user chose a node with OK.
  bool SelectItem();
  TdxBarTreeView* GetTreeView() const { return FTreeView; }
  // Whether the edit area shows node images.
  bool AreImagesInEdit() const;

  // --- Properties.
  bool GetAllowResizing() const { return FAllowResizing; }
  void SetAllowResizing(bool Value) { FAllowResizing = Value; }
  bool GetChooseByDblClick() const { return FChooseByDblClick; }
  void SetChooseByDblClick(bool Value) { FChooseByDblClick = Value; }
  bool GetFullExpand() const { return FFullExpand; }
  void SetFullExpand(bool Value) { FFullExpand = Value; }
  bool GetShowImageInEdit() const { return FShowImageInEdit; }
  void SetShowImageInEdit(bool Value);
  TTreeNode* GetSelectedNode() const { return FSelectedNode; }
  void SetSelectedNode(TTreeNode* Value);
  // The tree view's own properties, read and written through it. Images is published under
  // its own name; the accessors keep apart from the item's GetImages (the manager's list).
  int GetDropDownHeight() const;
  void SetDropDownHeight(int Value);
  int GetDropDownWidth() const;
  void SetDropDownWidth(int Value);
  TCustomImageList* GetComboImages() const;
  void SetComboImages(TCustomImageList* Value);
  TCustomImageList* GetStateImages() const;
  void SetStateImages(TCustomImageList* Value);
  int GetIndent() const;
  void SetIndent(int Value);
  TTreeNodes* GetItems() const;
  void SetItems(TTreeNodes* Value);
  bool GetShowButtons() const;
  void SetShowButtons(bool Value);
  bool GetShowLines() const;
  void SetShowLines(bool Value);
  bool GetShowRoot() const;
  void SetShowRoot(bool Value);
  TSortType GetSortType() const;
  void SetSortType(TSortType Value);
  TTVExpandedEvent GetOnExpanded() const;
  void SetOnExpanded(const TTVExpandedEvent& Value);
  TTVExpandingEvent GetOnExpanding() const;
  void SetOnExpanding(const TTVExpandingEvent& Value);
  TTVChangingEvent GetOnChanging() const;
  void SetOnChanging(const TTVChangingEvent& Value);
  TTVExpandedEvent GetOnCollapsed() const;
  void SetOnCollapsed(const TTVExpandedEvent& Value);
  TTVCollapsingEvent GetOnCollapsing() const;
  void SetOnCollapsing(const TTVCollapsingEvent& Value);
  TTVCompareEvent GetOnCompare() const;
  void SetOnCompare(const TTVCompareEvent& Value);
  TTVExpandedEvent GetOnGetImageIndex() const;
  void SetOnGetImageIndex(const TTVExpandedEvent& Value);
  TTVExpandedEvent GetOnGetSelectedIndex() const;
  void SetOnGetSelectedIndex(const TTVExpandedEvent& Value);
  TTVChangedEvent GetOnTreeViewChange() const;
  void SetOnTreeViewChange(const TTVChangedEvent& Value);

  TdxBarTreeViewComboCanSelectNodeEvent OnCanSelectNode;

protected:
  // The grip goes to the corner away from the control, as the combo list's does.
  void DropDownPlaced(HWND AWindow, const TRect& AWindowRect, const TRect& AOwnerRect) override;

private:
  void NodeDeleted(TObject* Sender, TTreeNode* Node);
  // The edit area's node and text: the tree's and the editor's for the edited link.
  void DrawNodeInEdit(TCanvas* ACanvas, const TRect& R, TTreeNode* ANode, const String& AText);
  void RebuildControls();

  bool FAllowResizing = true;
  TdxBarSelectItemForm* FDialog = nullptr;
  bool FChooseByDblClick = true;
  TdxBarTreeView* FTreeView = nullptr;
  bool FFullExpand = false;
  bool FTextUpdating = false;
  std::optional<String> FLoadedText;
  TTreeNode* FSelectedNode = nullptr;
  bool FShowImageInEdit = true;
};

class TdxBarTreeViewComboControl : public TdxBarComboControl {
  DECLARE_CLASS(TdxBarTreeViewComboControl, TdxBarComboControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarTreeViewComboControl(TdxBarItemLink* AItemLink) : TdxBarComboControl(AItemLink) {}

  TdxBarTreeViewCombo* GetTreeViewCombo() const;
  // Tall enough for the node images when they show in the edit area.
  int GetHeight() override;
  // Editing starts with the tree on the combo's node (or the node the text names).
  void SetFocused(bool Value) override;
};
