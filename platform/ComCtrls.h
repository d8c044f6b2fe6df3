// Common controls of the class layer. The tree view over the native "SysTreeView32" class:
// nodes kept in a model of their own (TTreeNodes), mirrored into the window whenever it is
// made, so that remaking the window keeps every node, its images and the selection. The page
// control: a stack of tab sheets over the system's tab control ("SysTabControl32") showing
// one sheet at a time; a sheet whose TabVisible is off has no tab and is never shown.
#pragma once

#include <memory>
#include <vector>

#include "platform/Controls.h"
#include "platform/ImgList.h"
#include "platform/StdCtrls.h"  // TBorderStyle

class TCustomTreeView;
class TTreeNodes;

enum TSortType { stNone, stData, stText, stBoth };
DECLARE_ENUM_INFO(TSortType)

class TTreeNode : public TObject {
  DECLARE_CLASS(TTreeNode, TObject)
  friend class TTreeNodes;
  friend class TCustomTreeView;

public:
  TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent, const String& AText);
  ~TTreeNode() override;

  TTreeNodes* GetOwner() const { return FOwner; }
  TTreeNode* GetParent() const { return FParent; }
  int GetCount() const { return int(FChildren.size()); }
  TTreeNode* GetItem(int Index) const;
  // The position among its parent's children (or the top nodes).
  int GetIndex() const;
  int GetLevel() const;
  bool HasChildren() const { return !FChildren.empty(); }
  TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
  TTreeNode* GetNextSibling() const;
  // Depth first over the whole tree: the first child, else the next sibling of the node or
  // of its nearest ancestor that has one.
  TTreeNode* GetNext() const;
  // Whether ANode lies below this node.
  bool HasAsParent(const TTreeNode* ANode) const;

  String GetText() const { return FText; }
  void SetText(const String& Value);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int GetSelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int Value);
  // 1-based index into the state images; -1 (or 0) for none.
  int GetStateIndex() const { return FStateIndex; }
  void SetStateIndex(int Value);
  bool GetExpanded() const;
  void SetExpanded(bool Value);
  // Expands (or collapses) the node, and with ARecurse its descendants.
  void Expand(bool ARecurse);
  void Collapse(bool ARecurse);
  bool GetSelected() const;
  void SetSelected(bool Value);
  // Expands its ancestors and scrolls it into view.
  void MakeVisible();
  // Removes the node and its descendants from the tree; the node is freed.
  void Delete();
  // The window's item; nil without a window.
  HTREEITEM GetItemId() const { return FItemId; }

private:
  void UpdateWindowItem() const;

  TTreeNodes* FOwner;
  TTreeNode* FParent;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  String FText;
  int FImageIndex = -1;
  int FSelectedIndex = -1;
  int FStateIndex = -1;
  bool FExpanded = false;  // kept while there is no window
  HTREEITEM FItemId = nullptr;
};

class TTreeNodes : public TPersistent {
  DECLARE_CLASS(TTreeNodes, TPersistent)
  friend class TTreeNode;
  friend class TCustomTreeView;

public:
  explicit TTreeNodes(TCustomTreeView* AOwner);
  ~TTreeNodes() override;

  TCustomTreeView* GetTreeView() const { return FOwner; }
  // Every node of the tree.
  int GetCount() const;
  // The node at a depth-first position; nil out of range.
  TTreeNode* GetItem(int Index) const;
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front().get(); }
  int GetRootCount() const { return int(FRoots.size()); }
  // A node added last at ASibling's level (the top level for nil).
  TTreeNode* Add(TTreeNode* ASibling, const String& AText);
  // A node added as the last child of AParent (a top node for nil).
  TTreeNode* AddChild(TTreeNode* AParent, const String& AText);
  void Delete(TTreeNode* ANode);
  void Clear();
  // Copies another tree's nodes (text, images, state).
  void Assign(TPersistent* Source) override;
  // "Nodes": per node, depth first, its level, text, image, selected and state indexes. A
  // level deeper than one below the node before is read as that one below.
  void DefineProperties(TFiler* Filer) override;

private:
  std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* AParent);
  TTreeNode* Insert(TTreeNode* AParent, const String& AText);
  void CopyChildren(TTreeNode* ATarget, const std::vector<std::unique_ptr<TTreeNode>>& ASource);
  void ReadNodes(TReader* Reader);
  void WriteNodes(TWriter* Writer);

  TCustomTreeView* FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FRoots;
};

using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
// Compare < 0 puts Node1 first; Data is 0 (nodes carry no data of their own here).
using TTVCompareEvent = TEvent<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;

enum THitTest {
  htAbove,
  htBelow,
  htNowhere,
  htOnItem,
  htOnButton,
  htOnIcon,
  htOnIndent,
  htOnLabel,
  htOnRight,
  htOnStateIcon,
  htToLeft,
  htToRight
};
using THitTests = TSet<THitTest>;

class TCustomTreeView : public TWinControl {
  DECLARE_CLASS(TCustomTreeView, TWinControl)
  friend class TTreeNode;
  friend class TTreeNodes;

public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* GetItems() const { return FItems.get(); }
  void SetItems(TTreeNodes* Value) { FItems->Assign(Value); }
  TTreeNode* GetSelected() const;
  void SetSelected(TTreeNode* Value);
  void FullExpand();
  void FullCollapse();
  // The node at a client point and what part of it lies there.
  TTreeNode* GetNodeAt(int X, int Y) const;
  THitTests GetHitTestInfoAt(int X, int Y) const;

  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* GetStateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);
  int GetIndent() const { return FIndent; }
  void SetIndent(int Value);
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value);
  bool GetShowLines() const { return FShowLines; }
  void SetShowLines(bool Value);
  bool GetShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // Any sort type but stNone keeps every level in order as nodes come in: by OnCompare when
  // assigned, else by text ignoring case (stText, stBoth; stData keeps the order of adding).
  TSortType GetSortType() const { return FSortType; }
  void SetSortType(TSortType Value);

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandedEvent OnExpanded;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnCollapsed;
  TTVCollapsingEvent OnCollapsing;
  // A node about to be freed (deleted from the tree or cleared), not a remade window.
  TTVExpandedEvent OnDeletion;
  TTVCompareEvent OnCompare;
  // Asked each time the window draws a node: the handler may set the node's ImageIndex
  // (or SelectedIndex) before it is used.
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;
  // Whether A goes before B by the sort type and OnCompare.
  bool NodeBefore(TTreeNode* A, TTreeNode* B);
  // Puts every level in order again (after OnCompare changed its mind).
  void AlphaSort();

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;

protected:
  virtual void Change(TTreeNode* Node);
  virtual void Delete(TTreeNode* Node);
  void CNNotify(TMessage& Message);
  void GetDispInfo(NMTVDISPINFOW* AInfo);

private:
  void InsertWindowItems(TTreeNode* AParent, const std::vector<std::unique_ptr<TTreeNode>>& ANodes);
  void InsertWindowItem(TTreeNode* ANode);
  void ForgetWindowItems(const std::vector<std::unique_ptr<TTreeNode>>& ANodes);
  void SortNodes(std::vector<std::unique_ptr<TTreeNode>>& ANodes, bool ARecurse);
  bool IsSorted() const;
  void ApplyImageLists();
  void ImageListChanged(TObject* Sender);
  TTreeNode* NodeOfItem(HTREEITEM AItem) const;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void RemakeWindow();

  std::unique_ptr<TTreeNodes> FItems;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  std::unique_ptr<TChangeLink> FStateChangeLink;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  int FIndent = 19;
  bool FShowButtons = true;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FReadOnly = false;
  bool FHideSelection = true;
  TBorderStyle FBorderStyle = bsSingle;
  TSortType FSortType = stNone;
  TTreeNode* FSelected = nullptr;  // kept while there is no window
  bool FFillingWindow = false;     // the window's own notifications while it is filled
  bool FAskingImages = false;      // the window asks for a node's images
};

class TTreeView : public TCustomTreeView {
  DECLARE_CLASS(TTreeView, TCustomTreeView)
public:
  using TCustomTreeView::TCustomTreeView;
};

// ---------------------------------------------------------------------------
// The page control and its sheets.

class TPageControl;

using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

class TTabSheet : public TWinControl {
  DECLARE_CLASS(TTabSheet, TWinControl)
  friend class TPageControl;

public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* GetPageControl() const { return FPageControl; }
  // Moves the sheet to another page control (nil: none); it becomes the last page there.
  void SetPageControl(TPageControl* Value);
  // A sheet's parent is its page control: setting one sets the other.
  void SetParent(TWinControl* AParent) override;
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  // Position among the pages of its page control; -1 without one.
  int GetPageIndex() const;
  void SetPageIndex(int Value);
  // Index of its tab among the visible tabs; -1 when it has none.
  int GetTabIndex() const;

  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;

private:
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

class TPageControl : public TWinControl {
  DECLARE_CLASS(TPageControl, TWinControl)
  friend class TTabSheet;

public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int GetPageCount() const { return int(FPages.size()); }
  // Nil when out of range.
  TTabSheet* GetPages(int Index) const;
  TTabSheet* GetActivePage() const { return FActivePage; }
  // Shows Page (one of this control's with a tab, or nil) without asking OnChanging.
  void SetActivePage(TTabSheet* Value);
  int GetActivePageIndex() const;
  void SetActivePageIndex(int Value);
  // The page after (or before) CurPage in page order, wrapping; with CheckTabVisible only pages
  // with a tab. Nil when there is none.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  // What a user's switch does: asks OnChanging, shows the next page with a tab, reports OnChange.
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
  // The visible page with tab Index; nil when out of range.
  TTabSheet* PageOfTab(int Index) const;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;
  void Loaded() override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

protected:
  virtual bool CanChange();
  virtual void Change();
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  // Remakes the tabs from the pages and selects the active page's.
  void UpdateTabs();
  // Shows the active page alone and puts the focus on it when a control of another page had it.
  void ShowActivePage(TTabSheet* Previous);
  void CNNotify(TMessage& Message);
  void CMDialogKey(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  // ActivePage read from form data before its sheets are; applied in Loaded.
  TTabSheet* FPendingActive = nullptr;
};
