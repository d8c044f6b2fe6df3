// The bar window base: life and death, the view info, layout entry points, the painter's
// and the item controls' queries, fonts and painting. Input, the active chain and the
// message table are in barcontrol_input.cpp.
#include "bars/barwindows/barcontrol.h"

#include "platform/Win.h"

#include "bars/barwindows/drawparams.h"
#include "bars/hints/hintwindow.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/model/registry.h"
#include "bars/barwindows/shadow.h"
#include "bars/model/startup.h"
#include "bars/itemcontrols/subitems.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Bitmap.h"
#include "platform/GraphicsObjects.h"

#include <algorithm>

void dxBarRegisterBarControlInOrder(TCustomdxBarControl* AControl);

IMPLEMENT_CLASS(TCustomdxBarControlViewInfo, TObject)
IMPLEMENT_CLASS(TCustomdxBarControl, TCustomControl)

// ---------------------------------------------------------------------------
// TCustomdxBarControlViewInfo

TCustomdxBarControlViewInfo::TCustomdxBarControlViewInfo(TCustomdxBarControl* ABarControl) : FBarControl(ABarControl) {}

void TCustomdxBarControlViewInfo::AddItemControlViewInfo(TdxBarItemControlViewInfo* AViewInfo)
{
  if (AViewInfo)
    FItemControlViewInfos.push_back(AViewInfo);
}

void TCustomdxBarControlViewInfo::RemoveItemControlViewInfo(TdxBarItemControlViewInfo* AViewInfo)
{
  std::erase(FItemControlViewInfos, AViewInfo);
  // A separator that followed the removed view info now follows nothing.
  for (TdxBarSeparatorInfo& separator : FSeparators)
    if (separator.ItemControlViewInfo == AViewInfo)
      separator.ItemControlViewInfo = nullptr;
}

TdxBarItemControlViewInfo* TCustomdxBarControlViewInfo::GetItemControlViewInfo(int Index) const
{
  return Index >= 0 && Index < GetItemControlViewInfoCount() ? FItemControlViewInfos[size_t(Index)] : nullptr;
}

int TCustomdxBarControlViewInfo::IndexOfItemControlViewInfo(const TdxBarItemControlViewInfo* AViewInfo) const
{
  auto it = std::find(FItemControlViewInfos.begin(), FItemControlViewInfos.end(), AViewInfo);
  return it == FItemControlViewInfos.end() ? -1 : int(it - FItemControlViewInfos.begin());
}

void TCustomdxBarControlViewInfo::AddSeparatorInfo(const TRect& ABounds, bool AHorizontal,
                                                   TdxBarItemControlViewInfo* AViewInfo)
{
  FSeparators.push_back(TdxBarSeparatorInfo{AViewInfo, ABounds, AHorizontal});
}

bool TCustomdxBarControlViewInfo::GetSeparatorInfo(int Index, TRect& ABounds, bool& AHorizontal) const
{
  const TdxBarSeparatorInfo* separator = GetSeparator(Index);
  if (!separator)
    return false;
  ABounds = separator->Bounds;
  AHorizontal = separator->Horizontal;
  return true;
}

const TdxBarSeparatorInfo* TCustomdxBarControlViewInfo::GetSeparator(int Index) const
{
  return Index >= 0 && Index < GetSeparatorCount() ? &FSeparators[size_t(Index)] : nullptr;
}

void TCustomdxBarControlViewInfo::Clear()
{
  FItemControlViewInfos.clear();
  FSeparators.clear();
}

void TCustomdxBarControlViewInfo::Calculate()
{
  Clear();
  TdxBarItemLinks* links = FBarControl ? FBarControl->GetItemLinks() : nullptr;
  if (!links)
    return;
  TdxBarItemControlViewInfo* previous = nullptr;
  const int separatorSize = FBarControl->GetBeginGroupSize();
  const bool vertical = FBarControl->IsVertical() || FBarControl->GetKind() != bckToolbar;
  for (TdxBarItemLink* link : links->GetShownItems()) {
    TdxBarItemControl* control = link->GetControl();
    if (!control || !control->GetViewInfo())
      continue;
    const TRect& r = link->GetItemRect();
    if (previous && link->GetBeginGroup() && separatorSize > 0) {
      // The separator lies in the gap before the link: across a horizontal bar's line, along
      // a vertical one's column.
      TRect s = vertical ? TRect{r.left, r.top - separatorSize, r.right, r.top}
                         : TRect{r.left - separatorSize, r.top, r.left, r.bottom};
      AddSeparatorInfo(s, vertical, previous);
    }
    AddItemControlViewInfo(control->GetViewInfo());
    previous = control->GetViewInfo();
  }
}

// ---------------------------------------------------------------------------
// Life and death

TCustomdxBarControl::TCustomdxBarControl(TComponent* AOwner) : TCustomControl(AOwner)
{
  AddBarControl(this);
  dxBarRegisterBarControlInOrder(this);
  FControlStyle.Exclude(csCaptureMouse);
  SetColor(clBtnFace);
  FShadow = std::make_unique<TdxBarShadow>(this);
  SetVisible(false);
  SetBounds(100, 100, 30, 50);
  FBitmapBuffer = std::make_unique<TBitmap>();
  FHotTrackRunning = false;
}

// The view info comes from the most derived class's GetViewInfoClass.
void TCustomdxBarControl::AfterConstruction()
{
  TCustomControl::AfterConstruction();
  TClass viewInfoClass = GetViewInfoClass();
  TObject* object = viewInfoClass ? viewInfoClass->Create(this) : nullptr;
  FViewInfo.reset(dynamic_cast<TCustomdxBarControlViewInfo*>(object));
  if (!FViewInfo) {
    if (object)
      object->Free();
    FViewInfo = std::make_unique<TCustomdxBarControlViewInfo>(this);
  }
}

void TCustomdxBarControl::BeforeDestruction()
{
  TCustomControl::BeforeDestruction();
  EndMouseTracking(this);
  if (TCustomdxBarControl* child = FSubMenuControl.Get()) {
    FSubMenuControl = nullptr;
    if (!child->IsDestroying())
      child->Free();
  }
  SetParentBarControl(nullptr);
  RemoveFromActiveChain();
  DoCloseNotification();
  if (TdxBarManager* manager = GetBarManager()) {
    TdxBarItemLink* clicked = manager->GetClickedItemLink();
    if (clicked && FItemLinks && clicked->GetItemLinks() == FItemLinks)
      manager->SetClickedItemLink(nullptr);
    if (manager->GetPendingDragBarControl() == this)
      manager->SetPendingDrag(nullptr, nullptr);
  }
  // The controls point at this window: they go now, and the links stop showing through it.
  if (FItemLinks) {
    FSelectedLink = nullptr;
    for (int i = 0; i < FItemLinks->Count(); ++i)
      FItemLinks->Items(i)->DestroyControl();
    CollapseContainers();
  }
  RemoveBarControl(this);
}

TCustomdxBarControl::~TCustomdxBarControl()
{
  RemoveBarControl(this);
  FShadow.reset();
  FViewInfo.reset();
  FItemCanvas.reset();
  FScreenItemCanvas.reset();
  FBufferCanvas.reset();
  FBitmapBuffer.reset();
  if (FRotatedFont)
    DeleteGdiObject(FRotatedFont);
}

TdxBarManager* TCustomdxBarControl::GetBarManager() const
{
  return ClassCast<TdxBarManager>(Owner());
}

TdxBarPainter* TCustomdxBarControl::GetPainter() const
{
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetPainter() : nullptr;
}

void TCustomdxBarControl::SetItemLinks(TdxBarItemLinks* Value)
{
  FItemLinks = Value;
}

void TCustomdxBarControl::SetParentBarControl(TCustomdxBarControl* Value)
{
  TCustomdxBarControl* old = FParentBar.Get();
  if (old == Value)
    return;
  FParentBar = Value;
  if (old && old->FSubMenuControl.Get() == this)
    old->FSubMenuControl = nullptr;
  if (Value)
    Value->FSubMenuControl = this;
}

void TCustomdxBarControl::SetSubMenuControl(TCustomdxBarControl* Value)
{
  TCustomdxBarControl* old = FSubMenuControl.Get();
  if (old == Value)
    return;
  if (old && old->FParentBar.Get() == this)
    old->FParentBar = nullptr;
  FSubMenuControl = Value;
  if (Value)
    Value->SetParentBarControl(this);
}

bool TCustomdxBarControl::IsParentOf(const TCustomdxBarControl* AControl) const
{
  for (int guard = 0; AControl && guard < dxBarMaxParentChainDepth; ++guard) {
    if (AControl == this)
      return true;
    AControl = AControl->GetParentBarControl();
  }
  return false;
}

bool TCustomdxBarControl::IsCustomizing() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsCustomizing();
}

bool TCustomdxBarControl::IsDesigning() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsDesigning();
}

bool TCustomdxBarControl::IsManagerLocked() const
{
  TdxBarManager* manager = GetBarManager();
  return !manager || manager->IsUpdateLocked() || manager->IsLoading() || manager->IsDestroying();
}

void TCustomdxBarControl::DoCloseNotification()
{
  TNotifyEvent handler = OnCloseNotification;
  OnCloseNotification = TNotifyEvent();
  CallEvent(handler, this);
}

TClass TCustomdxBarControl::GetViewInfoClass() const
{
  return TCustomdxBarControlViewInfo::StaticClass();
}

bool TCustomdxBarControl::IsShowing()
{
  return HandleAllocated() && ::IsWindowVisible(GetHandle());
}

// ---------------------------------------------------------------------------
// Item controls and places

TdxBarItemControl* TCustomdxBarControl::GetSelectedControl() const
{
  return GetLinkControl(FSelectedLink);
}

TdxBarItemControl* TCustomdxBarControl::GetItemControlAtPos(const TPoint& P) const
{
  if (!FItemLinks)
    return nullptr;
  const bool customizing = IsCustomizing();
  if (customizing && !CanCustomizeLinks())
    return nullptr;
  for (TdxBarItemLink* link : FItemLinks->GetShownItems()) {
    TdxBarItemControl* control = link->GetControl();
    if (!control)
      continue;
    TdxBarItemControlViewInfo* viewInfo = control->GetViewInfo();
    const TRect& r = viewInfo ? viewInfo->GetBounds() : link->GetItemRect();
    if (PtInRect(r, P) || (viewInfo && IsRectEmpty(r) && PtInRect(link->GetItemRect(), P))) {
      if (customizing && !control->CanSelect())
        return nullptr;
      return control;
    }
  }
  return nullptr;
}

TdxBarItemControl* TCustomdxBarControl::GetItemControlUnderCursor() const
{
  if (!HandleAllocated())
    return nullptr;
  POINT p{};
  if (!::GetCursorPos(&p))
    return nullptr;
  auto* self = const_cast<TCustomdxBarControl*>(this);
  return GetItemControlAtPos(self->ScreenToClient(TPoint{p.x, p.y}));
}

TRect TCustomdxBarControl::GetItemRect(const TdxBarItemControl* AControl) const
{
  return AControl && AControl->GetItemLink() ? AControl->GetItemLink()->GetItemRect() : TRect{};
}

TRect TCustomdxBarControl::GetItemScreenRect(const TdxBarItemControl* AControl)
{
  TRect r = GetItemRect(AControl);
  return HandleAllocated() ? ClientToScreen(r) : r;
}

bool TCustomdxBarControl::IsOwnWindow(HWND AWnd)
{
  if (!AWnd || !HandleAllocated())
    return false;
  HWND own = GetHandle();
  if (AWnd == own || ::IsChild(own, AWnd))
    return true;
  TdxBarItemControl* selected = GetSelectedControl();
  TWinControl* hosted = selected ? selected->GetHostedControl() : nullptr;
  if (hosted && hosted->HandleAllocated()) {
    HWND h = hosted->GetHandle();
    return AWnd == h || ::IsChild(h, AWnd);
  }
  return selected && selected->OwnsWindow(AWnd);
}

bool TCustomdxBarControl::IsEditorEditing() const
{
  TdxBarItemControl* selected = GetSelectedControl();
  return selected && selected->IsEditing();
}

bool TCustomdxBarControl::IsCursorOverWindow()
{
  if (!HandleAllocated())
    return false;
  POINT p{};
  if (!::GetCursorPos(&p))
    return false;
  RECT r{};
  ::GetWindowRect(GetHandle(), &r);
  return ::PtInRect(&r, p) != 0;
}

bool TCustomdxBarControl::IsCursorOverMark()
{
  if (!HasMark() || !HandleAllocated())
    return false;
  POINT p{};
  if (!::GetCursorPos(&p))
    return false;
  if (HasCaptionMark()) {
    // The caption's mark is placed in window coordinates.
    RECT w{};
    ::GetWindowRect(GetHandle(), &w);
    return PtInRect(GetMarkRect(), TPoint{p.x - w.left, p.y - w.top});
  }
  return PtInRect(GetMarkRect(), ScreenToClient(TPoint{p.x, p.y}));
}

void TCustomdxBarControl::ShowNoActivate()
{
  ::ShowWindow(GetHandle(), SW_SHOWNOACTIVATE);
  // The layer's bookkeeping follows the window.
  FVisible = true;
  FShowing = true;
  if (TdxBarItemControl* selected = GetSelectedControl())
    selected->Update();
}

TPoint TCustomdxBarControl::AdjustPopupPoint(const TPoint& P, int AHeight) const
{
  RECT work{};
  POINT p{P.x, P.y};
  HMONITOR monitor = ::MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor && ::GetMonitorInfoW(monitor, &info))
    work = info.rcWork;
  else
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  TPoint result = P;
  if (result.y + AHeight > work.bottom)
    result.y = work.bottom - AHeight;
  return result;
}

// ---------------------------------------------------------------------------
// Layout

void TCustomdxBarControl::CalculateViewInfo()
{
  if (FViewInfo)
    FViewInfo->Calculate();
}

void TCustomdxBarControl::Recalculate1()
{
  if (FState & (dxBarStateRecalculate1 | dxBarStateRecalculate2))
    return;
  TStateFlag recalculating(FState, dxBarStateRecalculate1);
  if (FItemLinks)
    for (TdxBarItemLink* link : FItemLinks->GetVisibleItems())
      if (TdxBarItemControl* control = link->GetControl())
        control->ClearCachedSizes();
  CalculateViewInfo();
}

void TCustomdxBarControl::Recalculate2()
{
  if (FState & (dxBarStateRecalculate1 | dxBarStateRecalculate2))
    return;
  TStateFlag recalculating(FState, dxBarStateRecalculate2);
  if (FItemLinks)
    for (TdxBarItemLink* link : FItemLinks->GetVisibleItems())
      if (TdxBarItemControl* control = link->GetControl())
        control->CalcDrawParams(false);
}

void TCustomdxBarControl::RecalculateLayout()
{
  if (IsDestroying())
    return;
  TWeakRef<TCustomdxBarControl> self(this);
  Recalculate2();
  if (!self)
    return;
  Recalculate1();
  if (!self || !HandleAllocated())
    return;
  Invalidate();
  // Hot tracking follows the new layout: the bar window under the cursor hears a move. A
  // window not shown has no layout under the cursor (and asking where the cursor is costs
  // the window server a round trip or two).
  POINT p{};
  if (::IsWindowVisible(FHandle) && ::GetCursorPos(&p))
    if (dynamic_cast<TCustomdxBarControl*>(FindControl(::WindowFromPoint(p))))
      PostHotTrackMouseMove();
}

void TCustomdxBarControl::PostHotTrackMouseMove()
{
  POINT p{};
  if (!::GetCursorPos(&p))
    return;
  HWND wnd = ::WindowFromPoint(p);
  if (!wnd)
    return;
  POINT client = p;
  ::ScreenToClient(wnd, &client);
  // The mark travels with the message: a move the window handles first (a real one) does
  // not use it up, and the posted one still counts when it arrives.
  WPARAM keys = dynamic_cast<TCustomdxBarControl*>(FindControl(wnd)) ? dxBarHotTrackMouseMove : 0;
  ::PostMessageW(wnd, WM_MOUSEMOVE, keys, MAKELPARAM(client.x, client.y));
}

void TCustomdxBarControl::RebuildBar()
{
  if (DeferRebuild())
    return;
  Rebuild();
}

bool TCustomdxBarControl::DeferRebuild()
{
  TdxBarManager* manager = GetBarManager();
  if (IsDestroying() || !manager || !manager->IsUpdateLocked() || manager->IsDestroying())
    return false;
  FRebuildPending = true;
  return true;
}

void TCustomdxBarControl::RebuildIfPending()
{
  if (!FRebuildPending)
    return;
  FRebuildPending = false;
  if (!IsDestroying())
    RebuildBar();
}

void TCustomdxBarControl::Rebuild()
{
  if (IsDestroying() || (FState & dxBarStateRebuilding))
    return;
  if (!HandleAllocated() || IsManagerLocked()) {
    if (FItemLinks && !FControlsStale)
      for (TdxBarItemLink* link : FItemLinks->GetVisibleItems())
        if (link->GetControl()) {
          FControlsStale = true;
          break;
        }
    return;
  }
  TWeakRef<TCustomdxBarControl> self(this);
  TWeakRef<TdxBarItemLink> selected(FSelectedLink);
  FState |= dxBarStateRebuilding;
  {
    TFinally done([&]() noexcept {
      if (self)
        FState &= uint8_t(~dxBarStateRebuilding);
    });
    if (FKeepControls)
      CreateMissingControls();
    else
      RecreateControls(true);
    FControlsStale = false;
  }
  if (!self)
    return;
  // The selection survives when its link is still shown with a control.
  TdxBarItemLink* link = selected.Get();
  FSelectedLink = link && link->GetControl() ? link : nullptr;
  RecalculateLayout();
}

void TCustomdxBarControl::RecreateControls(bool AExpandContainers)
{
  if (!FItemLinks)
    return;
  const uint8_t wasRebuilding = FState & dxBarStateRebuilding;
  FState |= dxBarStateRebuilding;
  {
    TFinally restore([&]() noexcept { FState = uint8_t((FState & ~dxBarStateRebuilding) | wasRebuilding); });
    TdxBarItemLink* selected = FSelectedLink;
    for (int i = 0; i < FItemLinks->Count(); ++i)
      FItemLinks->Items(i)->DestroyControl();
    FSelectedLink = selected;
    CollapseContainers();
    if (AExpandContainers)
      ExpandContainers();
    CreateMissingControls();
  }
  if (FSelectedLink && !FSelectedLink->GetControl())
    FSelectedLink = nullptr;
}

void TCustomdxBarControl::CreateMissingControls()
{
  // Copied: making a control may change the lists.
  for (TdxBarItemLink* link : std::vector<TdxBarItemLink*>(FItemLinks->GetVisibleItems()))
    link->CreateControl();
}

bool TCustomdxBarControl::ListsContainedLinks() const
{
  if (!ListsContainers())
    return false;
  for (int i = 0; i < FItemLinks->Count(); ++i)
    if (dynamic_cast<TCustomdxBarContainerItem*>(FItemLinks->Items(i)->GetItem()))
      return true;
  return false;
}

// Each container's items are linked right after its link; a container that hides itself
// has its link taken out of the collection (kept, with all its settings) until the
// expansion is undone.
void TCustomdxBarControl::ExpandContainers()
{
  if (!FItemLinks)
    return;
  std::vector<TdxBarItemLink*> links;
  for (int i = 0; i < FItemLinks->Count(); ++i)
    links.push_back(FItemLinks->Items(i));
  // Menus show a container's content in its place; toolbars, and menus being customized,
  // show the container itself.
  const bool listsContainers = ListsContainers();
  for (TdxBarItemLink* link : links) {
    TdxBarItem* item = link->GetItem();
    if (auto* container = dynamic_cast<TCustomdxBarContainerItem*>(item)) {
      if (!listsContainers || !item->IsAvailable() || item->ComponentState().Contains(csDestroying))
        continue;
      TContainerExpansion expansion;
      expansion.ContainerLink = link;
      expansion.ListingItem = container;
      expansion.Index = FItemLinks->IndexOf(link);
      TWeakRef<TCustomdxBarControl> self(this);
      TWeakRef<TdxBarItemLink> linkRef(link);
      container->AddListedItemLinks(FItemLinks, expansion.Index + 1, link->GetData(), true);
      if (!self)
        return;
      if (TdxBarItemLink* kept = linkRef.Get()) {
        if (!container->KeepsOwnLinkWhileListed()) {
          kept->SetCollection(nullptr);
          expansion.ContainerRemoved = true;
          expansion.Index = std::min(expansion.Index, FItemLinks->Count());
        }
        FContainerLinks.push_back(std::move(expansion));
      }
      continue;
    }
    std::vector<TdxBarItem*> items;
    bool hideSelf = false;
    if (!item || !item->GetExpandedItems(items, hideSelf))
      continue;
    TContainerExpansion expansion;
    expansion.ContainerLink = link;
    expansion.Index = FItemLinks->IndexOf(link);
    int index = expansion.Index + 1;
    for (TdxBarItem* contained : items) {
      if (!contained || contained == item)
        continue;
      TdxBarItemLink* added = FItemLinks->Insert(index++);
      try {
        added->SetItem(contained);
      } catch (...) {
        added->Free();  // an item these links refuse is not shown
        --index;
        continue;
      }
      expansion.AddedLinks.emplace_back(added);
    }
    if (hideSelf) {
      link->SetCollection(nullptr);
      expansion.ContainerRemoved = true;
    }
    FContainerLinks.push_back(std::move(expansion));
  }
}

void TCustomdxBarControl::CollapseContainers()
{
  // Undone in reverse, so every container goes back to the index it had.
  while (!FContainerLinks.empty()) {
    TContainerExpansion expansion = std::move(FContainerLinks.back());
    FContainerLinks.pop_back();
    if (TCustomdxBarContainerItem* container = expansion.ListingItem.Get(); container && FItemLinks)
      container->DeleteListedItemLinks(FItemLinks, expansion.Index + 1);
    for (const TWeakRef<TdxBarItemLink>& ref : expansion.AddedLinks)
      if (TdxBarItemLink* added = ref.Get()) {
        if (FSelectedLink == added)
          FSelectedLink = nullptr;
        added->Free();
      }
    if (TdxBarItemLink* link = expansion.ContainerLink.Get(); expansion.ContainerRemoved && link) {
      if (FItemLinks) {
        link->SetCollection(FItemLinks);
        link->SetIndex(std::clamp(expansion.Index, 0, FItemLinks->Count() - 1));
      } else {
        link->Free();
      }
    }
  }
}

void TCustomdxBarControl::RepaintAll()
{
  if (!HandleAllocated())
    return;
  // A hidden window's frame is painted as it shows: drawing it now would go nowhere, and the
  // system would still ask the display for it. Invalidate leaves a hidden window alone itself.
  if (::IsWindowVisible(GetHandle()))
    ::SendMessageW(GetHandle(), WM_NCPAINT, 1, 0);
  Invalidate();
}

void TCustomdxBarControl::RepaintItemControl(TdxBarItemControl* AControl)
{
  if (AControl && HandleAllocated() && !IsDestroying())
    AControl->Repaint();
}

// ---------------------------------------------------------------------------
// Window

void TCustomdxBarControl::CreateParams(TCreateParams& Params)
{
  // Double clicks reach the items except in the standard style outside customizing.
  TdxBarManager* manager = GetBarManager();
  if (manager && manager->GetRealStyle() == bmsStandard && !manager->IsCustomizing())
    FControlStyle.Exclude(csDoubleClicks);
  else
    FControlStyle.Include(csDoubleClicks);
  TCustomControl::CreateParams(Params);
  // Without a parent the window floats: a popup owned by the manager's form when it has a
  // window (floating toolbars and menus adjust this further).
  if (!GetParent() && !GetParentWindow()) {
    Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
    TWinControl* owner = manager ? manager->GetParentControl() : nullptr;
    if (owner && owner->HandleAllocated())
      Params.WndParent = owner->GetHandle();
  }
}

void TCustomdxBarControl::CreateWindowHandle(const TCreateParams& Params)
{
  TCustomControl::CreateWindowHandle(Params);
  RefreshFont();
}

void TCustomdxBarControl::CreateWnd()
{
  TCustomControl::CreateWnd();
  RefreshFont();
  // Measuring the links before the first window made their controls: unless a rebuild was
  // asked for since, they serve as they are instead of being made and measured again. A
  // window made again rebuilds them, as does a menu that lists a container's links in place.
  TRestore keep(FKeepControls, !FHadWindow && !FControlsStale && FItemLinks && !ListsContainedLinks());
  FHadWindow = true;
  RebuildBar();
}

void TCustomdxBarControl::DestroyWindowHandle()
{
  if (FItemLinks)
    for (TdxBarItemLink* link : FItemLinks->GetVisibleItems())
      if (TdxBarItemControl* control = link->GetControl())
        control->BeforeHide();
  EndMouseTracking(this);
  FLastMousePoint = TPoint{-1, -1};
  FItemCanvas.reset();
  TCustomControl::DestroyWindowHandle();
}

HDC TCustomdxBarControl::GetNonClientDC()
{
  return HandleAllocated() ? ::GetWindowDC(GetHandle()) : nullptr;
}

void TCustomdxBarControl::ReleaseNonClientDC(HDC DC)
{
  if (DC && HandleAllocated())
    ::ReleaseDC(GetHandle(), DC);
}

// ---------------------------------------------------------------------------
// Fonts

HFONT TCustomdxBarControl::CreateRotatedFont() const
{
  TFont* font = GetFont();
  if (!font)
    return nullptr;
  LOGFONTW lf{};
  if (!::GetObjectW(font->GetHandle(), sizeof(lf), &lf))
    return nullptr;
  lf.lfEscapement = -900;
  lf.lfOrientation = -900;
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  return TrackGdiObject(::CreateFontIndirectW(&lf));
}

HFONT TCustomdxBarControl::GetFontHandle() const
{
  if (IsTextRotated()) {
    if (!FRotatedFont)
      FRotatedFont = CreateRotatedFont();
    if (FRotatedFont)
      return FRotatedFont;
  }
  TFont* font = GetFont();
  return font ? font->GetHandle() : nullptr;
}

void TCustomdxBarControl::RefreshFont()
{
  if (FRotatedFont) {
    DeleteGdiObject(FRotatedFont);
    FRotatedFont = nullptr;
  }
  if (FItemCanvas)
    FItemCanvas->SetFont(GetFont());
  if (FScreenItemCanvas)
    FScreenItemCanvas->SetFont(GetFont());
}

// ---------------------------------------------------------------------------
// Hints

void TCustomdxBarControl::ActivateHint(bool AShow, TdxBarItemControl* AControl)
{
  if (TdxBarManager* manager = GetBarManager())
    manager->ActivateHint(AShow && AControl, String(), AControl);
}

std::unique_ptr<TdxBarCustomHintViewInfo> TCustomdxBarControl::CreateHintViewInfo(const String& AText,
                                                                                  const String& AShortCut,
                                                                                  TObject* AScreenTip) const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->CreateHintViewInfo(GetBarManager(), AText, AShortCut, AScreenTip) : nullptr;
}

TPoint TCustomdxBarControl::GetHintPosition(const TPoint& P) const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetHintPosition(this, P) : P;
}

// ---------------------------------------------------------------------------
// What the painter asks of a bar window

namespace {

HBRUSH SysBrushValue(int AIndex)
{
  return HBRUSH(uintptr_t(AIndex + 1));
}

}  // namespace

int TCustomdxBarControl::GetBarKind() const
{
  return GetKind() == bckToolbar ? bkHorizontal : bkMenu;
}

HBRUSH TCustomdxBarControl::GetBackgroundBrush() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetBackgroundBrush(this) : SysBrushValue(COLOR_BTNFACE);
}

HBRUSH TCustomdxBarControl::GetCheckerBrush() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetCheckerBrush(this) : dxBarCheckerBrush();
}

HBRUSH TCustomdxBarControl::GetFaceBrush() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetFaceBrush(this) : SysBrushValue(COLOR_BTNFACE);
}

HBRUSH TCustomdxBarControl::GetHighlightBrush() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetHighlightBrush(this) : SysBrushValue(COLOR_HIGHLIGHT);
}

void TCustomdxBarControl::FillBackground(HDC DC, const TRect& R, HBRUSH ABrush, TColor AColor) const
{
  if (!DC || IsRectEmpty(R))
    return;
  if (ABrush)
    ::FillRect(DC, &R, ABrush);
  else
    FillRectByColor(DC, R, AColor);
}

namespace {

bool SameLogFont(const LOGFONTW& A, const LOGFONTW& B)
{
  return A.lfHeight == B.lfHeight && A.lfWidth == B.lfWidth && A.lfEscapement == B.lfEscapement &&
         A.lfOrientation == B.lfOrientation && A.lfWeight == B.lfWeight && A.lfItalic == B.lfItalic &&
         A.lfUnderline == B.lfUnderline && A.lfStrikeOut == B.lfStrikeOut && A.lfCharSet == B.lfCharSet &&
         A.lfOutPrecision == B.lfOutPrecision && A.lfClipPrecision == B.lfClipPrecision && A.lfQuality == B.lfQuality &&
         A.lfPitchAndFamily == B.lfPitchAndFamily && wcscmp(A.lfFaceName, B.lfFaceName) == 0;
}

}  // namespace

int TCustomdxBarControl::GetTextHeight() const
{
  TdxBarPainter* painter = GetPainter();
  if (!painter)
    return 0;
  // Every item control asks when it is made: measuring takes a screen DC and a font made for
  // it, so the answer is kept for the font description and the painter's class that gave it.
  TFont* font = GetFont();
  const LOGFONTW logFont = font ? font->GetLogFont() : LOGFONTW{};
  if (FTextHeightCache.Valid && FTextHeightCache.Painter == &typeid(*painter) &&
      FTextHeightCache.HasFont == (font != nullptr) && SameLogFont(FTextHeightCache.Font, logFont))
    return FTextHeightCache.Height;
  TcxScreenCanvas canvas;
  if (font)
    canvas.SetFont(font);
  FTextHeightCache = {true, &typeid(*painter), font != nullptr, logFont, painter->GetTextHeight(&canvas)};
  return FTextHeightCache.Height;
}

// ---------------------------------------------------------------------------
// What item controls ask of a bar window

TcxCanvas* TCustomdxBarControl::GetcxCanvas() const
{
  if (HandleAllocated()) {
    if (!FItemCanvas) {
      FItemCanvas = std::make_unique<TcxCanvas>(const_cast<TCustomdxBarControl*>(this)->GetCanvas());
      FItemCanvas->SetFont(GetFont());
    }
    return FItemCanvas.get();
  }
  if (!FScreenItemCanvas) {
    FScreenItemCanvas = std::make_unique<TcxScreenCanvas>();
    if (TFont* font = GetFont())
      FScreenItemCanvas->SetFont(font);
  }
  return FScreenItemCanvas.get();
}

// ---------------------------------------------------------------------------
// Painting

TRect TCustomdxBarControl::GetItemClipRect(const TdxBarItemControl* AControl) const
{
  TRect r = GetClientRect();
  // A mark in the caption (window coordinates) takes nothing from the client.
  if (HasMark() && !HasCaptionMark()) {
    // The mark keeps its own place: the items stop where it begins.
    TRect mark = GetMarkRect();
    if (!IsRectEmpty(mark)) {
      if (IsVertical())
        r.bottom = std::min(r.bottom, mark.top);
      else
        r.right = std::min(r.right, mark.left);
    }
  }
  return r;
}

TcxRegion* TCustomdxBarControl::CreateClipRegion(const TdxBarItemControl* AControl) const
{
  TRect r = IntersectRect(GetItemRect(AControl), GetItemClipRect(AControl));
  return new TcxRegion(r);
}

void TCustomdxBarControl::DrawItemControl(TcxCanvas* ACanvas, TdxBarItemControl* AControl, const TRect& R)
{
  if (!ACanvas || !AControl || IsRectEmpty(R))
    return;
  ACanvas->SaveState();
  {
    TFinally restore([ACanvas] { ACanvas->RestoreState(); });
    ACanvas->SetClipRegion(CreateClipRegion(AControl), roIntersect);
    AControl->Paint(ACanvas, R, GetItemDrawFlag(AControl));
  }
  DrawClipped(ACanvas, AControl, R);
  // Every kind of bar window draws its links here, so the customizing selection shows on
  // all of them, whether or not the window is active.
  if (IsCustomizing())
    if (TdxBarManager* manager = GetBarManager())
      if (const TdxBarSelectionState state = manager->GetCustomizingSelectionState(AControl->GetItemLink());
          state != TdxBarSelectionState::None)
        DrawSelectionOutline(ACanvas, AControl->GetItemLink(), R, state == TdxBarSelectionState::Current);
}

void TCustomdxBarControl::DrawClipped(TcxCanvas* ACanvas, TdxBarItemControl* AControl, const TRect& R)
{
  TRect clip = GetItemClipRect(AControl);
  TRect inside = IntersectRect(R, clip);
  if (inside == R)
    return;
  // What lies beyond the clip area shows the background, not a half-drawn control.
  ACanvas->SaveClipRegion();
  ACanvas->SetClipRegion(new TcxRegion(R), roIntersect);
  ACanvas->SetClipRegion(new TcxRegion(inside), roSubtract);
  FillBackground(ACanvas->GetHandle(), R, GetBackgroundBrush());
  ACanvas->RestoreClipRegion();
}

void TCustomdxBarControl::PaintBackground(TcxCanvas* ACanvas, const TRect& R)
{
  FillBackground(ACanvas->GetHandle(), R, GetBackgroundBrush());
}

void TCustomdxBarControl::PaintItems(TcxCanvas* ACanvas, const TRect& AUpdateRect)
{
  if (!FItemLinks)
    return;
  for (TdxBarItemLink* link : std::vector<TdxBarItemLink*>(FItemLinks->GetShownItems())) {
    TdxBarItemControl* control = link->GetControl();
    const TRect& r = link->GetItemRect();
    if (!control || IsRectEmpty(r) || IsRectEmpty(IntersectRect(r, AUpdateRect)))
      continue;
    DrawItemControl(ACanvas, control, r);
  }
}

// The current object: two solid frames in the window-text colour. The others: the same two
// frames dotted, on the pixels whose x + y is even.
void TCustomdxBarControl::DrawSelectionOutline(TcxCanvas* ACanvas, TdxBarItemLink* ALink, const TRect& R, bool ACurrent)
{
  HDC dc = ACanvas->GetHandle();
  if (ACurrent) {
    HBRUSH brush = ::GetSysColorBrush(COLOR_WINDOWTEXT);
    ::FrameRect(dc, &R, brush);
    TRect inner = InflateRect(R, -1, -1);
    ::FrameRect(dc, &inner, brush);
    return;
  }
  const COLORREF color = ::GetSysColor(COLOR_WINDOWTEXT);
  for (int frame = 0; frame < 2; ++frame) {
    TRect r = InflateRect(R, -frame, -frame);
    if (IsRectEmpty(r))
      break;
    for (int x = r.left; x < r.right; ++x) {
      if ((x + r.top) % 2 == 0)
        ::SetPixel(dc, x, r.top, color);
      if ((x + r.bottom - 1) % 2 == 0)
        ::SetPixel(dc, x, r.bottom - 1, color);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
      if ((r.left + y) % 2 == 0)
        ::SetPixel(dc, r.left, y, color);
      if ((r.right - 1 + y) % 2 == 0)
        ::SetPixel(dc, r.right - 1, y, color);
    }
  }
}

// Everything is drawn into the bitmap buffer first and reaches the window in one copy.
void TCustomdxBarControl::Paint()
{
  if (IsDestroying())
    return;
  TRect client = GetClientRect();
  if (IsRectEmpty(client))
    return;
  TCanvas* target = GetCanvas();
  RECT update{};
  ::GetClipBox(target->GetHandle(), &update);
  TRect updateRect = IsRectEmpty(TRect{update.left, update.top, update.right, update.bottom})
                         ? client
                         : TRect{update.left, update.top, update.right, update.bottom};
  if (FBitmapBuffer->GetWidth() != RectWidth(client) || FBitmapBuffer->GetHeight() != RectHeight(client))
    FBitmapBuffer->SetSize(RectWidth(client), RectHeight(client));
  TcxCanvas canvas(FBitmapBuffer->GetCanvas());
  if (TFont* font = GetFont())
    canvas.SetFont(font);
  PaintBackground(&canvas, client);
  PaintItems(&canvas, updateRect);
  ::BitBlt(target->GetHandle(), 0, 0, RectWidth(client), RectHeight(client), FBitmapBuffer->GetCanvas()->GetHandle(), 0,
           0, SRCCOPY);
}

int TCustomdxBarControl::HitTest(const TPoint& P)
{
  return PtInRect(GetClientRect(), P) ? HTCLIENT : HTNOWHERE;
}
