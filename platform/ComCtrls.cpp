// The tree view: its node model, the window mirror of the model, and the window's
// notifications turned into events.
#include "platform/ComCtrls.h"

#include <algorithm>

#include "platform/Filer.h"
#include "platform/Messages.h"
#include "platform/Scope.h"

DEFINE_ENUM_INFO(TSortType, L"stNone", L"stData", L"stText", L"stBoth")

IMPLEMENT_CLASS(TTreeNode, TObject)
IMPLEMENT_CLASS(TTreeNodes, TPersistent)
IMPLEMENT_CLASS(TCustomTreeView, TWinControl)
IMPLEMENT_CLASS(TTreeView, TCustomTreeView)

namespace {

void EnsureTreeViewClass()
{
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

bool TextBefore(const String& A, const String& B)
{
  return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, A.c_str(), int(A.size()), B.c_str(), int(B.size())) ==
         CSTR_LESS_THAN;
}

}  // namespace

// ---------------------------------------------------------------------------
// TTreeNode

TTreeNode::TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent, const String& AText)
    : FOwner(AOwner), FParent(AParent), FText(AText)
{
}

TTreeNode::~TTreeNode() = default;

TTreeNode* TTreeNode::GetItem(int Index) const
{
  return Index >= 0 && Index < GetCount() ? FChildren[size_t(Index)].get() : nullptr;
}

int TTreeNode::GetIndex() const
{
  const auto& siblings = FParent ? FParent->FChildren : FOwner->FRoots;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this)
      return int(i);
  return -1;
}

int TTreeNode::GetLevel() const
{
  int level = 0;
  for (TTreeNode* p = FParent; p; p = p->FParent)
    ++level;
  return level;
}

TTreeNode* TTreeNode::GetNextSibling() const
{
  const auto& siblings = FParent ? FParent->FChildren : FOwner->FRoots;
  const int index = GetIndex();
  return index >= 0 && size_t(index + 1) < siblings.size() ? siblings[size_t(index + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
  if (TTreeNode* child = GetFirstChild())
    return child;
  for (const TTreeNode* node = this; node; node = node->FParent)
    if (TTreeNode* sibling = node->GetNextSibling())
      return sibling;
  return nullptr;
}

bool TTreeNode::HasAsParent(const TTreeNode* ANode) const
{
  for (TTreeNode* p = FParent; p; p = p->FParent)
    if (p == ANode)
      return true;
  return false;
}

void TTreeNode::UpdateWindowItem() const
{
  TCustomTreeView* tree = FOwner->GetTreeView();
  // While the window asks for images it is drawing: what a handler sets there is answered
  // at once, and telling the window would make it draw (and ask) again without end.
  if (!FItemId || !tree || !tree->HandleAllocated() || tree->FAskingImages)
    return;
  TVITEMW item{};
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_HANDLE;
  item.hItem = FItemId;
  item.pszText = const_cast<wchar_t*>(FText.c_str());
  item.iImage = I_IMAGECALLBACK;
  item.iSelectedImage = I_IMAGECALLBACK;
  item.stateMask = TVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(FStateIndex > 0 ? FStateIndex : 0);
  ::SendMessageW(tree->GetHandle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetText(const String& Value)
{
  if (FText == Value)
    return;
  FText = Value;
  UpdateWindowItem();
}

void TTreeNode::SetImageIndex(int Value)
{
  if (FImageIndex == Value)
    return;
  FImageIndex = Value;
  UpdateWindowItem();
}

void TTreeNode::SetSelectedIndex(int Value)
{
  if (FSelectedIndex == Value)
    return;
  FSelectedIndex = Value;
  UpdateWindowItem();
}

void TTreeNode::SetStateIndex(int Value)
{
  if (FStateIndex == Value)
    return;
  FStateIndex = Value;
  UpdateWindowItem();
}

bool TTreeNode::GetExpanded() const
{
  TCustomTreeView* tree = FOwner->GetTreeView();
  if (!FItemId || !tree || !tree->HandleAllocated())
    return FExpanded;
  return (::SendMessageW(tree->GetHandle(), TVM_GETITEMSTATE, WPARAM(FItemId), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool Value)
{
  FExpanded = Value;
  TCustomTreeView* tree = FOwner->GetTreeView();
  if (FItemId && tree && tree->HandleAllocated())
    ::SendMessageW(tree->GetHandle(), TVM_EXPAND, Value ? TVE_EXPAND : TVE_COLLAPSE, LPARAM(FItemId));
}

void TTreeNode::Expand(bool ARecurse)
{
  if (HasChildren())
    SetExpanded(true);
  if (ARecurse)
    for (auto& child : FChildren)
      child->Expand(true);
}

void TTreeNode::Collapse(bool ARecurse)
{
  SetExpanded(false);
  if (ARecurse)
    for (auto& child : FChildren)
      child->Collapse(true);
}

bool TTreeNode::GetSelected() const
{
  TCustomTreeView* tree = FOwner->GetTreeView();
  return tree && tree->GetSelected() == this;
}

void TTreeNode::SetSelected(bool Value)
{
  TCustomTreeView* tree = FOwner->GetTreeView();
  if (!tree)
    return;
  if (Value)
    tree->SetSelected(this);
  else if (GetSelected())
    tree->SetSelected(nullptr);
}

void TTreeNode::MakeVisible()
{
  for (TTreeNode* p = FParent; p; p = p->FParent)
    p->FExpanded = true;
  TCustomTreeView* tree = FOwner->GetTreeView();
  if (FItemId && tree && tree->HandleAllocated())
    ::SendMessageW(tree->GetHandle(), TVM_ENSUREVISIBLE, 0, LPARAM(FItemId));
}

void TTreeNode::Delete()
{
  FOwner->Delete(this);
}

// ---------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}

TTreeNodes::~TTreeNodes() = default;

int TTreeNodes::GetCount() const
{
  int count = 0;
  for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext())
    ++count;
  return count;
}

TTreeNode* TTreeNodes::GetItem(int Index) const
{
  if (Index < 0)
    return nullptr;
  TTreeNode* node = GetFirstNode();
  for (int i = 0; node && i < Index; ++i)
    node = node->GetNext();
  return node;
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::SiblingsOf(TTreeNode* AParent)
{
  return AParent ? AParent->FChildren : FRoots;
}

TTreeNode* TTreeNodes::Insert(TTreeNode* AParent, const String& AText)
{
  auto& siblings = SiblingsOf(AParent);
  auto node = std::make_unique<TTreeNode>(this, AParent, AText);
  TTreeNode* result = node.get();
  auto at = siblings.end();
  // A sorted tree keeps its order as nodes come in.
  if (FOwner && FOwner->IsSorted())
    at = std::upper_bound(siblings.begin(), siblings.end(), result,
                          [this](TTreeNode* n, const auto& other) { return FOwner->NodeBefore(n, other.get()); });
  siblings.insert(at, std::move(node));
  if (FOwner)
    FOwner->InsertWindowItem(result);
  return result;
}

TTreeNode* TTreeNodes::Add(TTreeNode* ASibling, const String& AText)
{
  return Insert(ASibling ? ASibling->GetParent() : nullptr, AText);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* AParent, const String& AText)
{
  return Insert(AParent, AText);
}

void TTreeNodes::Delete(TTreeNode* ANode)
{
  if (!ANode || ANode->GetOwner() != this)
    return;
  // Handlers hear of every node going, deepest last, before any is freed.
  if (FOwner) {
    for (TTreeNode* node = ANode; node && (node == ANode || node->HasAsParent(ANode)); node = node->GetNext())
      FOwner->Delete(node);
    if (FOwner->FSelected && (FOwner->FSelected == ANode || FOwner->FSelected->HasAsParent(ANode)))
      FOwner->FSelected = nullptr;
    if (ANode->FItemId && FOwner->HandleAllocated()) {
      TRestore<bool> filling(FOwner->FFillingWindow, true);
      ::SendMessageW(FOwner->GetHandle(), TVM_DELETEITEM, 0, LPARAM(ANode->FItemId));
    }
  }
  auto& siblings = SiblingsOf(ANode->GetParent());
  const auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& n) { return n.get() == ANode; });
  if (it != siblings.end())
    siblings.erase(it);
}

void TTreeNodes::Clear()
{
  while (!FRoots.empty())
    Delete(FRoots.back().get());
}

void TTreeNodes::CopyChildren(TTreeNode* ATarget, const std::vector<std::unique_ptr<TTreeNode>>& ASource)
{
  for (const auto& source : ASource) {
    TTreeNode* node = Insert(ATarget, source->GetText());
    node->FImageIndex = source->FImageIndex;
    node->FSelectedIndex = source->FSelectedIndex;
    node->FStateIndex = source->FStateIndex;
    node->FExpanded = source->GetExpanded();
    node->UpdateWindowItem();
    CopyChildren(node, source->FChildren);
  }
}

void TTreeNodes::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TTreeNodes*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this)
    return;
  Clear();
  CopyChildren(nullptr, source->FRoots);
}

void TTreeNodes::DefineProperties(TFiler* Filer)
{
  Filer->DefineProperty(
      L"Nodes", [this](TReader* Reader) { ReadNodes(Reader); }, [this](TWriter* Writer) { WriteNodes(Writer); },
      !FRoots.empty());
}

void TTreeNodes::ReadNodes(TReader* Reader)
{
  Clear();
  std::vector<TTreeNode*> path;  // the last node read at each level
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) {
    const int level = std::clamp(Reader->ReadInteger(), 0, int(path.size()));
    const String text = Reader->ReadString();
    const int image = Reader->ReadInteger();
    const int selected = Reader->ReadInteger();
    const int state = Reader->ReadInteger();
    path.resize(size_t(level));
    TTreeNode* node = Insert(level > 0 ? path.back() : nullptr, text);
    node->FImageIndex = image;
    node->FSelectedIndex = selected;
    node->FStateIndex = state;
    node->UpdateWindowItem();
    path.push_back(node);
  }
  Reader->ReadListEnd();
}

void TTreeNodes::WriteNodes(TWriter* Writer)
{
  Writer->WriteListBegin();
  for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) {
    Writer->WriteInteger(node->GetLevel());
    Writer->WriteString(node->GetText());
    Writer->WriteInteger(node->GetImageIndex());
    Writer->WriteInteger(node->GetSelectedIndex());
    Writer->WriteInteger(node->GetStateIndex());
  }
  Writer->WriteListEnd();
}

// ---------------------------------------------------------------------------
// TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TTreeNodes>(this)),
      FImageChangeLink(std::make_unique<TChangeLink>()),
      FStateChangeLink(std::make_unique<TChangeLink>())
{
  FImageChangeLink->OnChange = TNotifyEvent(this, &TCustomTreeView::ImageListChanged);
  FStateChangeLink->OnChange = TNotifyEvent(this, &TCustomTreeView::ImageListChanged);
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
}

TCustomTreeView::~TCustomTreeView()
{
  SetImages(nullptr);
  SetStateImages(nullptr);
  // The nodes go before the window: no handler is told of them any more.
  OnDeletion = nullptr;
  FItems->Clear();
}

void TCustomTreeView::CreateParams(TCreateParams& Params)
{
  EnsureTreeViewClass();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TREEVIEWW);
  Params.Style |= (FShowButtons ? TVS_HASBUTTONS : 0) | (FShowLines ? TVS_HASLINES : 0) |
                  (FShowRoot ? TVS_LINESATROOT : 0) | (FReadOnly ? 0 : TVS_EDITLABELS) |
                  (FHideSelection ? 0 : TVS_SHOWSELALWAYS);
  if (FBorderStyle == bsSingle)
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTreeView::CreateWnd()
{
  TWinControl::CreateWnd();
  TRestore<bool> filling(FFillingWindow, true);
  ::SendMessageW(FHandle, TVM_SETINDENT, WPARAM(FIndent), 0);
  ApplyImageLists();
  InsertWindowItems(nullptr, FItems->FRoots);
  if (FSelected && FSelected->FItemId)
    ::SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, LPARAM(FSelected->FItemId));
}

void TCustomTreeView::DestroyWnd()
{
  if (FHandle) {
    FSelected = GetSelected();
    // The expanded states stay with the nodes for the next window.
    for (TTreeNode* node = FItems->GetFirstNode(); node; node = node->GetNext())
      node->FExpanded = node->GetExpanded();
  }
  {
    TRestore<bool> filling(FFillingWindow, true);
    TWinControl::DestroyWnd();
  }
  ForgetWindowItems(FItems->FRoots);
}

void TCustomTreeView::InsertWindowItems(TTreeNode* AParent, const std::vector<std::unique_ptr<TTreeNode>>& ANodes)
{
  for (const auto& node : ANodes) {
    InsertWindowItem(node.get());
    InsertWindowItems(node.get(), node->FChildren);
  }
  // Parents expand once their children are in.
  for (const auto& node : ANodes)
    if (node->FExpanded && node->FItemId)
      ::SendMessageW(FHandle, TVM_EXPAND, TVE_EXPAND, LPARAM(node->FItemId));
}

void TCustomTreeView::InsertWindowItem(TTreeNode* ANode)
{
  if (!HandleAllocated() || !ANode)
    return;
  TTreeNode* parent = ANode->GetParent();
  if (parent && !parent->FItemId)
    return;
  const int index = ANode->GetIndex();
  const auto& siblings = parent ? parent->FChildren : FItems->FRoots;
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent->FItemId : TVI_ROOT;
  insert.hInsertAfter = index <= 0 ? TVI_FIRST : siblings[size_t(index - 1)]->FItemId;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
  insert.item.pszText = const_cast<wchar_t*>(ANode->FText.c_str());
  // The window asks for the images as it draws: handlers may choose them then.
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.lParam = reinterpret_cast<LPARAM>(ANode);
  insert.item.stateMask = TVIS_STATEIMAGEMASK;
  insert.item.state = INDEXTOSTATEIMAGEMASK(ANode->FStateIndex > 0 ? ANode->FStateIndex : 0);
  TRestore<bool> filling(FFillingWindow, true);
  ANode->FItemId =
      reinterpret_cast<HTREEITEM>(::SendMessageW(FHandle, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!ANode->FItemId)
    throw EOutOfResources(L"The tree view cannot take more nodes");
}

void TCustomTreeView::ForgetWindowItems(const std::vector<std::unique_ptr<TTreeNode>>& ANodes)
{
  for (const auto& node : ANodes) {
    node->FItemId = nullptr;
    ForgetWindowItems(node->FChildren);
  }
}

void TCustomTreeView::RemakeWindow()
{
  if (HandleAllocated())
    RecreateWnd();
}

TTreeNode* TCustomTreeView::NodeOfItem(HTREEITEM AItem) const
{
  if (!AItem || !HandleAllocated())
    return nullptr;
  TVITEMW item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = AItem;
  if (!::SendMessageW(FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
    return nullptr;
  return reinterpret_cast<TTreeNode*>(item.lParam);
}

TTreeNode* TCustomTreeView::GetSelected() const
{
  if (!HandleAllocated())
    return FSelected;
  auto caret = reinterpret_cast<HTREEITEM>(::SendMessageW(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0));
  return NodeOfItem(caret);
}

void TCustomTreeView::SetSelected(TTreeNode* Value)
{
  if (Value && Value->GetOwner() != FItems.get())
    return;
  FSelected = Value;
  if (HandleAllocated())
    ::SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, LPARAM(Value ? Value->FItemId : nullptr));
}

void TCustomTreeView::FullExpand()
{
  for (const auto& node : FItems->FRoots)
    node->Expand(true);
}

void TCustomTreeView::FullCollapse()
{
  for (const auto& node : FItems->FRoots)
    node->Collapse(true);
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const
{
  if (!HandleAllocated())
    return nullptr;
  TVHITTESTINFO info{};
  info.pt = POINT{X, Y};
  auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(FHandle, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  return NodeOfItem(item);
}

THitTests TCustomTreeView::GetHitTestInfoAt(int X, int Y) const
{
  THitTests result;
  if (!HandleAllocated())
    return result;
  TVHITTESTINFO info{};
  info.pt = POINT{X, Y};
  ::SendMessageW(FHandle, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
  const UINT f = info.flags;
  const std::pair<UINT, THitTest> flags[] = {
      {TVHT_ABOVE, htAbove},           {TVHT_BELOW, htBelow},         {TVHT_NOWHERE, htNowhere},
      {TVHT_ONITEMBUTTON, htOnButton}, {TVHT_ONITEMICON, htOnIcon},   {TVHT_ONITEMINDENT, htOnIndent},
      {TVHT_ONITEMLABEL, htOnLabel},   {TVHT_ONITEMRIGHT, htOnRight}, {TVHT_ONITEMSTATEICON, htOnStateIcon},
      {TVHT_TOLEFT, htToLeft},         {TVHT_TORIGHT, htToRight}};
  for (const auto& [flag, test] : flags)
    if (f & flag)
      result += test;
  if (f & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON))
    result += htOnItem;
  return result;
}

void TCustomTreeView::SetImages(TCustomImageList* Value)
{
  if (SetImageListProperty(FImages, Value, FImageChangeLink.get(), this))
    ApplyImageLists();
}

void TCustomTreeView::SetStateImages(TCustomImageList* Value)
{
  if (SetImageListProperty(FStateImages, Value, FStateChangeLink.get(), this))
    ApplyImageLists();
}

void TCustomTreeView::ApplyImageLists()
{
  if (!HandleAllocated())
    return;
  ::SendMessageW(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(FImages ? FImages->GetHandle() : nullptr));
  ::SendMessageW(FHandle, TVM_SETIMAGELIST, TVSIL_STATE, LPARAM(FStateImages ? FStateImages->GetHandle() : nullptr));
}

void TCustomTreeView::ImageListChanged(TObject*)
{
  ApplyImageLists();
  if (HandleAllocated())
    ::InvalidateRect(FHandle, nullptr, TRUE);
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent)
    return;
  if (AComponent == FImages)
    SetImages(nullptr);
  if (AComponent == FStateImages)
    SetStateImages(nullptr);
}

void TCustomTreeView::SetIndent(int Value)
{
  FIndent = std::max(Value, 0);
  if (HandleAllocated())
    ::SendMessageW(FHandle, TVM_SETINDENT, WPARAM(FIndent), 0);
}

void TCustomTreeView::SetShowButtons(bool Value)
{
  if (FShowButtons != Value) {
    FShowButtons = Value;
    RemakeWindow();
  }
}

void TCustomTreeView::SetShowLines(bool Value)
{
  if (FShowLines != Value) {
    FShowLines = Value;
    RemakeWindow();
  }
}

void TCustomTreeView::SetShowRoot(bool Value)
{
  if (FShowRoot != Value) {
    FShowRoot = Value;
    RemakeWindow();
  }
}

void TCustomTreeView::SetReadOnly(bool Value)
{
  if (FReadOnly != Value) {
    FReadOnly = Value;
    RemakeWindow();
  }
}

void TCustomTreeView::SetHideSelection(bool Value)
{
  if (FHideSelection != Value) {
    FHideSelection = Value;
    RemakeWindow();
  }
}

void TCustomTreeView::SetBorderStyle(TBorderStyle Value)
{
  if (FBorderStyle != Value) {
    FBorderStyle = Value;
    RemakeWindow();
  }
}

bool TCustomTreeView::IsSorted() const
{
  return FSortType != stNone && (OnCompare.Assigned() || FSortType == stText || FSortType == stBoth);
}

bool TCustomTreeView::NodeBefore(TTreeNode* A, TTreeNode* B)
{
  if (OnCompare.Assigned()) {
    int compare = 0;
    OnCompare(this, A, B, 0, compare);
    return compare < 0;
  }
  return TextBefore(A->GetText(), B->GetText());
}

void TCustomTreeView::AlphaSort()
{
  if (!IsSorted())
    return;
  SortNodes(FItems->FRoots, true);
  RemakeWindow();
}

void TCustomTreeView::SortNodes(std::vector<std::unique_ptr<TTreeNode>>& ANodes, bool ARecurse)
{
  std::stable_sort(ANodes.begin(), ANodes.end(),
                   [this](const auto& a, const auto& b) { return NodeBefore(a.get(), b.get()); });
  if (ARecurse)
    for (auto& node : ANodes)
      SortNodes(node->FChildren, true);
}

void TCustomTreeView::SetSortType(TSortType Value)
{
  if (FSortType == Value)
    return;
  FSortType = Value;
  AlphaSort();
}

void TCustomTreeView::Change(TTreeNode* Node)
{
  CallEvent(OnChange, this, Node);
}

void TCustomTreeView::Delete(TTreeNode* Node)
{
  CallEvent(OnDeletion, this, Node);
}

void TCustomTreeView::GetDispInfo(NMTVDISPINFOW* AInfo)
{
  TTreeNode* node = reinterpret_cast<TTreeNode*>(AInfo->item.lParam);
  if (!node)
    return;
  TRestore<bool> asking(FAskingImages, true);
  if (AInfo->item.mask & TVIF_IMAGE) {
    CallEvent(OnGetImageIndex, this, node);
    AInfo->item.iImage = node->FImageIndex;
  }
  if (AInfo->item.mask & TVIF_SELECTEDIMAGE) {
    CallEvent(OnGetSelectedIndex, this, node);
    AInfo->item.iSelectedImage = node->FSelectedIndex;
  }
}

void TCustomTreeView::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_NOTIFY) {
    CNNotify(Message);
    return;
  }
  TWinControl::Dispatch(Message);
}

void TCustomTreeView::CNNotify(TMessage& Message)
{
  auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
  if (!header)
    return;
  auto* view = reinterpret_cast<NMTREEVIEWW*>(Message.LParam);
  auto nodeOf = [](const TVITEMW& AItem) { return reinterpret_cast<TTreeNode*>(AItem.lParam); };
  switch (header->code) {
    case TVN_SELCHANGINGW:
    case TVN_SELCHANGINGA: {
      bool allow = true;
      if (!FFillingWindow)
        CallEvent(OnChanging, this, nodeOf(view->itemNew), allow);
      Message.Result = allow ? 0 : 1;
      return;
    }
    case TVN_SELCHANGEDW:
    case TVN_SELCHANGEDA:
      FSelected = nodeOf(view->itemNew);
      if (!FFillingWindow)
        Change(FSelected);
      return;
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDINGA: {
      bool allow = true;
      TTreeNode* node = nodeOf(view->itemNew);
      if (!FFillingWindow && node) {
        if (view->action & TVE_EXPAND)
          CallEvent(OnExpanding, this, node, allow);
        else
          CallEvent(OnCollapsing, this, node, allow);
      }
      Message.Result = allow ? 0 : 1;
      return;
    }
    case TVN_ITEMEXPANDEDW:
    case TVN_ITEMEXPANDEDA: {
      TTreeNode* node = nodeOf(view->itemNew);
      if (!node)
        return;
      node->FExpanded = (view->action & TVE_EXPAND) != 0;
      if (!FFillingWindow)
        CallEvent(node->FExpanded ? OnExpanded : OnCollapsed, this, node);
      return;
    }
    case NM_DBLCLK:
      DblClick();
      return;
    case TVN_GETDISPINFOW:
    case TVN_GETDISPINFOA:
      GetDispInfo(reinterpret_cast<NMTVDISPINFOW*>(Message.LParam));
      return;
    default:
      return;
  }
}
