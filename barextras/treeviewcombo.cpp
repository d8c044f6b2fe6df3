// The tree-view combo and its control: the selected node and the text kept in step, the
// drop-down's preparation and choosing, node images in the edit area and the select window.
#include "barextras/treeviewcombo.h"

#include <algorithm>

#include "barextras/imagecombo.h"
#include "barextras/itemglyph.h"
#include "barextras/selectdialog.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxClasses.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Canvas.h"
#include "platform/Scope.h"

PUBLISHED(TdxBarTreeViewCombo, TCustomdxBarCombo)
{
  using I = TdxBarTreeViewCombo;
  p.Prop(L"AllowResizing", &I::GetAllowResizing, &I::SetAllowResizing).Default(true);
  p.Prop(L"ChooseByDblClick", &I::GetChooseByDblClick, &I::SetChooseByDblClick).Default(true);
  p.Prop(L"DropDownHeight", &I::GetDropDownHeight, &I::SetDropDownHeight).Default(200);
  p.Prop(L"DropDownWidth", &I::GetDropDownWidth, &I::SetDropDownWidth).Default(150);
  p.Prop(L"FullExpand", &I::GetFullExpand, &I::SetFullExpand).Default(false);
  p.Component(L"Images", &I::GetComboImages, &I::SetComboImages);
  p.Prop(L"Indent", &I::GetIndent, &I::SetIndent).Default(19);
  p.Object(L"Items", &I::GetItems, &I::SetItems);
  p.Prop(L"ShowButtons", &I::GetShowButtons, &I::SetShowButtons).Default(true);
  p.Prop(L"ShowEditor", &I::GetShowEditor, &I::SetShowEditor).Default(false);
  p.Prop(L"ShowImageInEdit", &I::GetShowImageInEdit, &I::SetShowImageInEdit).Default(true);
  p.Prop(L"ShowLines", &I::GetShowLines, &I::SetShowLines).Default(true);
  p.Prop(L"ShowRoot", &I::GetShowRoot, &I::SetShowRoot).Default(true);
  p.Prop(L"SortType", &I::GetSortType, &I::SetSortType).Default(stNone);
  p.Component(L"StateImages", &I::GetStateImages, &I::SetStateImages);
  p.Event(L"OnExpanded", &I::GetOnExpanded, &I::SetOnExpanded);
  p.Event(L"OnExpanding", &I::GetOnExpanding, &I::SetOnExpanding);
  p.Event(L"OnCanSelectNode", &I::OnCanSelectNode);
  p.Event(L"OnChanging", &I::GetOnChanging, &I::SetOnChanging);
  p.Event(L"OnCollapsed", &I::GetOnCollapsed, &I::SetOnCollapsed);
  p.Event(L"OnCollapsing", &I::GetOnCollapsing, &I::SetOnCollapsing);
  p.Event(L"OnCompare", &I::GetOnCompare, &I::SetOnCompare);
  p.Event(L"OnGetImageIndex", &I::GetOnGetImageIndex, &I::SetOnGetImageIndex);
  p.Event(L"OnGetSelectedIndex", &I::GetOnGetSelectedIndex, &I::SetOnGetSelectedIndex);
  p.Event(L"OnTreeViewChange", &I::GetOnTreeViewChange, &I::SetOnTreeViewChange);
}

IMPLEMENT_CLASS(TdxBarTreeViewComboControl, TdxBarComboControl)

namespace {

// The edit area: images from 1 pixel in, the image cell 3 wider than the images, the text 2
// after it and 2 short of the right edge.
constexpr int EditImageIndent = 1;
constexpr int EditImageCellExtra = 3;
constexpr int EditTextGap = 2;

bool SameTextIgnoringCase(const String& A, const String& B)
{
  return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, A.c_str(), int(A.size()), B.c_str(), int(B.size())) ==
         CSTR_EQUAL;
}

bool HoldsImage(const TCustomImageList* AImages, int AIndex)
{
  return AImages && AIndex >= 0 && AIndex < AImages->GetCount();
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarTreeViewCombo

TdxBarTreeViewCombo::TdxBarTreeViewCombo(TComponent* AOwner) : TCustomdxBarCombo(AOwner)
{
  dxBarLoadItemGlyph(this, L"DXBARTREEVIEWCOMBO");
  SetShowEditor(false);
  FTreeView = new TdxBarTreeView(nullptr);
  FTreeView->SetVisible(false);
  FTreeView->SetReadOnly(true);
  FTreeView->SetHideSelection(false);
  FTreeView->SetBounds(0, 0, 150, 200);
  FTreeView->SetDropDown(true);
  FTreeView->SetCombo(this);
  FTreeView->FreeNotification(this);
  FTreeView->OnDeletion = TTVExpandedEvent(this, &TdxBarTreeViewCombo::NodeDeleted);
}

TdxBarTreeViewCombo::~TdxBarTreeViewCombo()
{
  FSelectedNode = nullptr;
  if (TdxBarTreeView* tree = FTreeView) {
    FTreeView = nullptr;
    tree->RemoveFreeNotification(this);
    tree->SetCombo(nullptr);
    tree->Free();
  }
}

void TdxBarTreeViewCombo::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomdxBarCombo::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FTreeView) {
    FTreeView = nullptr;
    FSelectedNode = nullptr;
  }
}

void TdxBarTreeViewCombo::NodeDeleted(TObject*, TTreeNode* Node)
{
  // The text stays: only the node it named is gone.
  if (Node == FSelectedNode) {
    FSelectedNode = nullptr;
    RepaintControls();
  }
}

TTreeNode* TdxBarTreeViewCombo::FindNode(const String& AText) const
{
  TTreeNodes* items = GetItems();
  for (TTreeNode* node = items ? items->GetFirstNode() : nullptr; node; node = node->GetNext())
    if (SameTextIgnoringCase(node->GetText(), AText))
      return node;
  return nullptr;
}

void TdxBarTreeViewCombo::SetSelectedNode(TTreeNode* Value)
{
  if (FSelectedNode == Value || (Value && FTreeView && Value->GetOwner() != FTreeView->GetItems()))
    return;
  FSelectedNode = Value;
  TWeakRef<TdxBarTreeViewCombo> self(this);
  {
    TRestore<bool> updating(FTextUpdating, true);
    const String text = Value ? Value->GetText() : String();
    if (text != GetText())
      SetText(text);
    else
      DoChange();
  }
  if (self)
    RepaintControls();
}

void TdxBarTreeViewCombo::SetText(const String& Value)
{
  if (Value == GetText())
    return;
  if (IsLoading()) {
    FLoadedText = Value;
    return;
  }
  if (!FTextUpdating)
    FSelectedNode = FindNode(Value);
  TCustomdxBarCombo::SetText(Value);
}

void TdxBarTreeViewCombo::Loaded()
{
  TCustomdxBarCombo::Loaded();
  if (std::optional<String> text = std::exchange(FLoadedText, std::nullopt))
    SetText(*text);
}

bool TdxBarTreeViewCombo::CanSelectNode(TTreeNode* ANode)
{
  bool allow = true;
  CallEvent(OnCanSelectNode, this, ANode, allow);
  return allow;
}

bool TdxBarTreeViewCombo::CheckKeyForDropDownWindow(WORD AKey, TShiftState AShift)
{
  return AKey == VK_RETURN || TCustomdxBarCombo::CheckKeyForDropDownWindow(AKey, AShift);
}

HWND TdxBarTreeViewCombo::GetDropDownWindow()
{
  if (HWND window = TCustomdxBarCombo::GetDropDownWindow())
    return window;
  if (!FTreeView)
    return nullptr;
  // Owned by the bar window of the control that drops it down, which reflects the tree's
  // notifications back to it; a tree made for another window is made again.
  TCustomdxBarComboControl* control = GetDropDownSourceControl();
  TCustomdxBarControl* bar = control ? control->GetParent() : nullptr;
  if (bar && bar->HandleAllocated() && FTreeView->GetParentWindow() != bar->GetHandle()) {
    FTreeView->DestroyHandle();
    FTreeView->SetParentWindow(bar->GetHandle());
  }
  return FTreeView->GetParentWindow() ? FTreeView->GetHandle() : nullptr;
}

void TdxBarTreeViewCombo::PrepareDropDown()
{
  if (!FTreeView)
    return;
  InitDropDownControl(FTreeView);
  if (FFullExpand)
    FTreeView->FullExpand();
  const String editorText = GetCurText();
  if (editorText != GetText())
    FTreeView->SetSelected(FindNode(editorText));
  else if (FSelectedNode)
    FTreeView->SetSelected(FSelectedNode);
  if (!FTreeView->GetSelected() && FTreeView->GetItems()->GetFirstNode())
    FTreeView->SetSelected(FTreeView->GetItems()->GetFirstNode());
  if (TTreeNode* selected = FTreeView->GetSelected())
    selected->MakeVisible();
}

void TdxBarTreeViewCombo::DropDownPlaced(HWND AWindow, const TRect& AWindowRect, const TRect& AOwnerRect)
{
  if (FTreeView && FTreeView->HandleAllocated() && AWindow == FTreeView->GetHandle())
    FTreeView->SetGripCorner(GetSizeGripCorner(AWindowRect, AOwnerRect));
}

void TdxBarTreeViewCombo::ChooseNode(TdxBarTreeView* ATree)
{
  TTreeNode* node = ATree ? ATree->GetSelected() : nullptr;
  if (!node || !CanSelectNode(node))
    return;
  TWeakRef<TdxBarTreeViewCombo> self(this);
  if (ATree != FTreeView) {
    // The select window's tree: its nodes are copies, so the text names the choice.
    SetText(node->GetText());
    if (self && FDialog)
      FDialog->ChooseOK();
    return;
  }
  if (TdxBarItemLink* link = GetSelectedLink())
    link->BringToTopInRecentList(true);
  CloseDropDowns();
  if (TdxBarManager* manager = self ? GetBarManager() : nullptr)
    manager->CloseActiveBarControl();
  if (self)
    SetSelectedNode(node);
}

void TdxBarTreeViewCombo::DoClick()
{
  if (GetOnClick().Assigned() || GetReadOnly()) {
    TCustomdxBarCombo::DoClick();
    return;
  }
  SelectItem();
}

bool TdxBarTreeViewCombo::SelectItem()
{
  TdxBarSelectItemForm* form = TCustomForm::CreateNew<TdxBarSelectItemForm>(nullptr);
  TFinally freeForm([form] { form->Free(); });
  auto* tree = new TdxBarTreeView(form);
  tree->SetCombo(this);
  tree->SetReadOnly(true);
  tree->SetHideSelection(false);
  tree->SetImages(GetComboImages());
  tree->SetStateImages(GetStateImages());
  tree->GetItems()->Assign(GetItems());
  // Enter and OK choose as a double click does: only a node the handler lets be chosen.
  form->OnChoose = TNotifyEvent([this, tree](TObject*) { ChooseNode(tree); });
  form->Build(GetResourceString(sdxBarSelectItem), tree);
  if (FFullExpand)
    tree->FullExpand();
  TTreeNode* node = nullptr;
  for (TTreeNode* n = tree->GetItems()->GetFirstNode(); n && !node; n = n->GetNext())
    if (SameTextIgnoringCase(n->GetText(), GetText()))
      node = n;
  if (!node)
    node = tree->GetItems()->GetFirstNode();
  if (node) {
    tree->SetSelected(node);
    node->MakeVisible();
  }
  TWeakRef<TdxBarTreeViewCombo> self(this);
  FDialog = form;
  // The window's loop may free the combo: only a live one forgets its window.
  TFinally forget([&] {
    if (self)
      FDialog = nullptr;
  });
  const bool ok = form->ShowModal() == mrOk;
  if (!self || !ok)
    return false;
  TTreeNode* chosen = tree->GetSelected();
  if (!chosen || !CanSelectNode(chosen))
    return false;
  SetText(chosen->GetText());
  return true;
}

bool TdxBarTreeViewCombo::AreImagesInEdit() const
{
  return FShowImageInEdit && (GetComboImages() || GetStateImages());
}

void TdxBarTreeViewCombo::DrawInterior(TcxCanvas* ACanvas, const TRect& R, const TdxBarItemLink* ALink)
{
  if (!AreImagesInEdit() || !ACanvas || !ACanvas->GetCanvas() || IsRectEmpty(R)) {
    TCustomdxBarCombo::DrawInterior(ACanvas, R, ALink);
    return;
  }
  const bool edited = ALink && GetFocusedLink() == ALink;
  TTreeNode* node = edited && FTreeView ? FTreeView->GetSelected() : FSelectedNode;
  DrawNodeInEdit(ACanvas->GetCanvas(), R, node, edited ? GetCurText() : GetText());
}

void TdxBarTreeViewCombo::DrawNodeInEdit(TCanvas* ACanvas, const TRect& R, TTreeNode* ANode, const String& AText)
{
  ACanvas->FillRect(R);
  TCustomImageList* images = GetComboImages();
  TCustomImageList* stateImages = GetStateImages();
  int x = R.left + EditImageIndent;
  if (ANode && HoldsImage(stateImages, ANode->GetStateIndex())) {
    stateImages->Draw(ACanvas, x, R.top + (R.bottom - R.top - stateImages->GetHeight()) / 2, ANode->GetStateIndex());
    x += stateImages->GetWidth();
  }
  if (images && ANode && FTreeView) {
    CallEvent(FTreeView->OnGetSelectedIndex, FTreeView, ANode);
    CallEvent(FTreeView->OnGetImageIndex, FTreeView, ANode);
  }
  if (images) {
    const int index = !ANode                                          ? -1
                      : HoldsImage(images, ANode->GetSelectedIndex()) ? ANode->GetSelectedIndex()
                      : HoldsImage(images, ANode->GetImageIndex())    ? ANode->GetImageIndex()
                                                                      : -1;
    if (index >= 0)
      images->Draw(ACanvas, x, R.top + (R.bottom - R.top - images->GetHeight()) / 2, index);
    x += images->GetWidth() + EditImageCellExtra;
  }
  TRect text{x + EditTextGap, R.top, R.right - EditTextGap, R.bottom};
  HDC dc = ACanvas->GetHandle();
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, AText.c_str(), int(AText.size()), &text, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TdxBarTreeViewCombo::SetShowImageInEdit(bool Value)
{
  if (FShowImageInEdit == Value)
    return;
  FShowImageInEdit = Value;
  if (GetComboImages() || GetStateImages())
    RebuildControls();
}

void TdxBarTreeViewCombo::RebuildControls()
{
  // The control's height follows the images: the bars lay their controls out again.
  std::vector<TWeakRef<TCustomdxBarControl>> bars;
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl(); control && control->GetParent())
      bars.emplace_back(control->GetParent());
  for (auto& bar : bars)
    if (bar)
      bar->Rebuild();
}

// --- The tree view's own properties.

int TdxBarTreeViewCombo::GetDropDownHeight() const
{
  return FTreeView ? FTreeView->GetHeight() : 0;
}

void TdxBarTreeViewCombo::SetDropDownHeight(int Value)
{
  if (FTreeView)
    FTreeView->SetHeight(std::max(Value, TdxBarTreeView::MinTrackSize));
}

int TdxBarTreeViewCombo::GetDropDownWidth() const
{
  return FTreeView ? FTreeView->GetWidth() : 0;
}

void TdxBarTreeViewCombo::SetDropDownWidth(int Value)
{
  if (FTreeView)
    FTreeView->SetWidth(std::max(Value, TdxBarTreeView::MinTrackSize));
}

TCustomImageList* TdxBarTreeViewCombo::GetComboImages() const
{
  return FTreeView ? FTreeView->GetImages() : nullptr;
}

void TdxBarTreeViewCombo::SetComboImages(TCustomImageList* Value)
{
  if (!FTreeView || FTreeView->GetImages() == Value)
    return;
  FTreeView->SetImages(Value);
  if (FShowImageInEdit && !IsLoading())
    RebuildControls();
}

TCustomImageList* TdxBarTreeViewCombo::GetStateImages() const
{
  return FTreeView ? FTreeView->GetStateImages() : nullptr;
}

void TdxBarTreeViewCombo::SetStateImages(TCustomImageList* Value)
{
  if (!FTreeView || FTreeView->GetStateImages() == Value)
    return;
  FTreeView->SetStateImages(Value);
  if (FShowImageInEdit && !IsLoading())
    RebuildControls();
}

// clang-format off
int TdxBarTreeViewCombo::GetIndent() const { return FTreeView ? FTreeView->GetIndent() : 0; }
void TdxBarTreeViewCombo::SetIndent(int Value) { if (FTreeView) FTreeView->SetIndent(Value); }
TTreeNodes* TdxBarTreeViewCombo::GetItems() const { return FTreeView ? FTreeView->GetItems() : nullptr; }
void TdxBarTreeViewCombo::SetItems(TTreeNodes* Value) { if (FTreeView) FTreeView->SetItems(Value); }
bool TdxBarTreeViewCombo::GetShowButtons() const { return FTreeView && FTreeView->GetShowButtons(); }
void TdxBarTreeViewCombo::SetShowButtons(bool Value) { if (FTreeView) FTreeView->SetShowButtons(Value); }
bool TdxBarTreeViewCombo::GetShowLines() const { return FTreeView && FTreeView->GetShowLines(); }
void TdxBarTreeViewCombo::SetShowLines(bool Value) { if (FTreeView) FTreeView->SetShowLines(Value); }
bool TdxBarTreeViewCombo::GetShowRoot() const { return FTreeView && FTreeView->GetShowRoot(); }
void TdxBarTreeViewCombo::SetShowRoot(bool Value) { if (FTreeView) FTreeView->SetShowRoot(Value); }
TSortType TdxBarTreeViewCombo::GetSortType() const { return FTreeView ? FTreeView->GetSortType() : stNone; }
void TdxBarTreeViewCombo::SetSortType(TSortType Value) { if (FTreeView) FTreeView->SetSortType(Value); }
TTVExpandedEvent TdxBarTreeViewCombo::GetOnExpanded() const { return FTreeView ? FTreeView->OnExpanded : TTVExpandedEvent(); }
void TdxBarTreeViewCombo::SetOnExpanded(const TTVExpandedEvent& Value) { if (FTreeView) FTreeView->OnExpanded = Value; }
TTVExpandingEvent TdxBarTreeViewCombo::GetOnExpanding() const { return FTreeView ? FTreeView->OnExpanding : TTVExpandingEvent(); }
void TdxBarTreeViewCombo::SetOnExpanding(const TTVExpandingEvent& Value) { if (FTreeView) FTreeView->OnExpanding = Value; }
TTVChangingEvent TdxBarTreeViewCombo::GetOnChanging() const { return FTreeView ? FTreeView->OnChanging : TTVChangingEvent(); }
void TdxBarTreeViewCombo::SetOnChanging(const TTVChangingEvent& Value) { if (FTreeView) FTreeView->OnChanging = Value; }
TTVExpandedEvent TdxBarTreeViewCombo::GetOnCollapsed() const { return FTreeView ? FTreeView->OnCollapsed : TTVExpandedEvent(); }
void TdxBarTreeViewCombo::SetOnCollapsed(const TTVExpandedEvent& Value) { if (FTreeView) FTreeView->OnCollapsed = Value; }
TTVCollapsingEvent TdxBarTreeViewCombo::GetOnCollapsing() const { return FTreeView ? FTreeView->OnCollapsing : TTVCollapsingEvent(); }
void TdxBarTreeViewCombo::SetOnCollapsing(const TTVCollapsingEvent& Value) { if (FTreeView) FTreeView->OnCollapsing = Value; }
TTVCompareEvent TdxBarTreeViewCombo::GetOnCompare() const { return FTreeView ? FTreeView->OnCompare : TTVCompareEvent(); }
void TdxBarTreeViewCombo::SetOnCompare(const TTVCompareEvent& Value) { if (FTreeView) FTreeView->OnCompare = Value; }
TTVExpandedEvent TdxBarTreeViewCombo::GetOnGetImageIndex() const { return FTreeView ? FTreeView->OnGetImageIndex : TTVExpandedEvent(); }
void TdxBarTreeViewCombo::SetOnGetImageIndex(const TTVExpandedEvent& Value) { if (FTreeView) FTreeView->OnGetImageIndex = Value; }
TTVExpandedEvent TdxBarTreeViewCombo::GetOnGetSelectedIndex() const { return FTreeView ? FTreeView->OnGetSelectedIndex : TTVExpandedEvent(); }
void TdxBarTreeViewCombo::SetOnGetSelectedIndex(const TTVExpandedEvent& Value) { if (FTreeView) FTreeView->OnGetSelectedIndex = Value; }
TTVChangedEvent TdxBarTreeViewCombo::GetOnTreeViewChange() const { return FTreeView ? FTreeView->OnChange : TTVChangedEvent(); }
void TdxBarTreeViewCombo::SetOnTreeViewChange(const TTVChangedEvent& Value) { if (FTreeView) FTreeView->OnChange = Value; }
// clang-format on

// ---------------------------------------------------------------------------
// TdxBarTreeViewComboControl

TdxBarTreeViewCombo* TdxBarTreeViewComboControl::GetTreeViewCombo() const
{
  return dynamic_cast<TdxBarTreeViewCombo*>(GetItem());
}

int TdxBarTreeViewComboControl::GetHeight()
{
  int height = TdxBarComboControl::GetHeight();
  TdxBarTreeViewCombo* combo = GetTreeViewCombo();
  if (!combo || !combo->AreImagesInEdit() || IsTextRotated())
    return height;
  int images = 0;
  if (TCustomImageList* list = combo->GetComboImages())
    images = std::max(images, list->GetHeight());
  if (TCustomImageList* list = combo->GetStateImages())
    images = std::max(images, list->GetHeight());
  return std::max(height, images + dxBarComboControlImagePadding);
}

void TdxBarTreeViewComboControl::SetFocused(bool Value)
{
  if (Value && !GetFocused())
    if (TdxBarTreeViewCombo* combo = GetTreeViewCombo(); combo && combo->GetTreeView()) {
      TTreeNode* node = combo->GetSelectedNode();
      combo->GetTreeView()->SetSelected(node ? node : combo->FindNode(combo->GetText()));
    }
  TdxBarComboControl::SetFocused(Value);
}
