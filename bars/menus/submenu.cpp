// The menu window: placement, opening, window creation and destruction, the layout of its
// one column with scrolling, and its painting. Keys, mouse and timers are in
// submenu_input.cpp; personalised menus and the tear-off in submenu_personal.cpp.
#include "bars/menus/submenu.h"

#include "platform/Profile.h"
#include "platform/Win.h"

#include <algorithm>
#include <cstdlib>

#include "bars/itemcontrols/buttons.h"
#include "bars/model/customizing.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/menus/menuanimation.h"
#include "bars/painters/painter.h"
#include "bars/barwindows/shadow.h"
#include "bars/model/startup.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxControls.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/GraphicsObjects.h"
#include "platform/Messages.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarSubMenuControlViewInfo, TCustomdxBarControlViewInfo)
IMPLEMENT_CLASS(TdxBarSubMenuControl, TCustomdxBarControl)
IMPLEMENT_CLASS(TdxBarInternalSubMenuControl, TdxBarSubMenuControl)
IMPLEMENT_CLASS(TdxBarCustomizingPopup, TdxBarInternalSubMenuControl)
IMPLEMENT_CLASS(TdxBarToolbarsPopup, TdxBarInternalSubMenuControl)

namespace {

TdxBarRandomProc GRandomProc;
TdxBarSystemSettingProc GAnimationSettingProc;

// Each colour channel of the button face, lightened: the background of less-used links.
constexpr int LessUsedLightening = 20;
// Screens of fewer bits per pixel get the less-used colour through a palette of its own.
constexpr int PaletteColorDepth = 9;
// AnimateWindow's fade.
constexpr DWORD FadeDuration = 150;

int DefaultRandom(int ARange)
{
  return ARange > 0 ? std::rand() % ARange : 0;
}

bool SystemMenuAnimation()
{
  BOOL on = TRUE;
  if (!::SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &on, 0))
    return true;
  return on != FALSE;
}

}  // namespace

// ---------------------------------------------------------------------------
// Placement

TdxBarMenuPlacement dxBarPlaceMenu(const TdxBarMenuPlacementParams& AParams)
{
  const TRect& work = AParams.WorkArea;
  const int ow = AParams.OwnerWidth, oh = AParams.OwnerHeight;
  int l = AParams.Pos.x, t = AParams.Pos.y, w = AParams.Size.cx, h = AParams.Size.cy;
  TdxBarMenuPlacement result;
  // Right edge: beside an owner the menu jumps over it to the side with more room; at a point
  // it opens to the left of the point.
  if (l + w > work.right) {
    if (ow) {
      if (l - ow - work.left > work.right - l) {
        l = l - ow - w;
        result.FlippedX = true;
      }
    } else if (!oh && l - w >= work.left) {
      l -= w;
      result.FlippedX = true;
    } else {
      l = work.right - w;
    }
  }
  // Left edge: a menu that opened leftwards flips back to the right when that side has more room.
  if (l < work.left) {
    if (ow) {
      if (!AParams.PrefersRight && work.right - (l + w + ow) > l + w - work.left) {
        l = l + w + ow;
        result.FlippedX = true;
      }
    } else {
      l = work.left;
    }
  }
  if (l + w > work.right)
    l = work.right - w;
  if (l < work.left)
    l = work.left;
  if (AParams.CanCutWidth && l + w > work.right)
    w = work.right - l;
  // Bottom edge: below a toolbar item the menu goes above it when there is more room there,
  // else it is cut and scrolls.
  if (t + h > work.bottom) {
    if (oh) {
      if (t - oh - work.top > work.bottom - t) {
        t = t - oh - h;
        result.FlippedY = true;
      } else {
        h = work.bottom - t;
      }
    } else if (!ow && t - h >= work.top) {
      t -= h;
      result.FlippedY = true;
    } else {
      t = work.bottom - h;
    }
  }
  // Top edge.
  if (t < work.top) {
    if (AParams.PrefersDown) {
      if (result.FlippedY && oh) {
        h -= work.top - t;
        t = work.top;
      } else {
        t = work.top;
        if (t + h > work.bottom)
          h = work.bottom - t;
      }
    } else if (oh && work.bottom - (t + h + oh) > t + h - work.top) {
      t = t + h + oh;
      if (t + h > work.bottom)
        h = work.bottom - t;
      result.FlippedY = true;
    } else {
      // Nothing above and no owner to jump over: the menu stays on the work area.
      t = work.top;
      if (t + h > work.bottom)
        h = work.bottom - t;
    }
  }
  result.Bounds = TRect{l, t, l + w, t + std::max(h, 0)};
  return result;
}

// ---------------------------------------------------------------------------
// The column of links

namespace {

// The one rule of a column's height: the links stacked from AFirst at ATop, each with its
// separator and edge pixel (a link without a control takes no room, not even a separator's);
// APlace gets each link's index and top. Returns the bottom.
template <class TPlace>
int StackMenuColumn(const std::vector<TdxBarMenuColumnLink>& ALinks, int AFirst, int ATop, int ASeparatorSize,
                    TPlace APlace)
{
  int y = ATop;
  for (int i = AFirst; i < int(ALinks.size()); ++i) {
    const TdxBarMenuColumnLink& link = ALinks[size_t(i)];
    if (link.HasControl) {
      if (i != AFirst && link.BeginGroup)
        y += ASeparatorSize;
      if (link.EdgePixel)
        ++y;
    }
    APlace(i, y);
    if (link.HasControl)
      y += link.Height;
  }
  return y;
}

}  // namespace

int dxBarMenuColumnHeight(const std::vector<TdxBarMenuColumnLink>& ALinks, int ASeparatorSize)
{
  return StackMenuColumn(ALinks, 0, 0, ASeparatorSize, [](int, int) {});
}

TdxBarMenuColumn dxBarLayoutMenuColumn(const TdxBarMenuColumnParams& AParams)
{
  const std::vector<TdxBarMenuColumnLink>& links = AParams.Links;
  const int count = int(links.size());
  const TRect& area = AParams.Area;
  const int buttonSize = AParams.ScrollButtonSize;
  TdxBarMenuColumn result;
  result.Rects.resize(size_t(count));
  int first = 0, last = -1;
  bool down = false;
  auto place = [&](int ATop) {
    std::fill(result.Rects.begin(), result.Rects.end(), TRect{});
    TRect view = area;
    first = ATop;
    if (ATop > 0) {
      view.top += buttonSize;
      if (!AParams.ScrollButtonsSeparate)
        first = std::min(ATop + 1, count - 1);
    }
    const int bottom = StackMenuColumn(links, first, view.top, AParams.SeparatorSize, [&](int AIndex, int ATopY) {
      const int height = links[size_t(AIndex)].HasControl ? links[size_t(AIndex)].Height : 0;
      result.Rects[size_t(AIndex)] = TRect{AParams.Left, ATopY, area.right, ATopY + height};
    });
    if (bottom > view.bottom)
      view.bottom -= buttonSize;
    last = first - 1;
    for (int i = first; i < count && result.Rects[size_t(i)].bottom <= view.bottom; ++i)
      last = i;
    // A link taller than the view still shows (clipped): the view is never empty.
    if (last < first && first < count)
      last = first;
    for (int i = last + 1; i < count; ++i)
      result.Rects[size_t(i)] = TRect{};
    down = last < count - 1;
  };
  int top = std::clamp(AParams.TopIndex, 0, std::max(0, count - 1));
  place(top);
  // Room left at the bottom after a change: scroll back while that keeps the menu scrolled.
  while (top > 0 && !down) {
    place(--top);
    if (down) {
      place(++top);
      break;
    }
  }
  result.TopIndex = top;
  result.First = count ? first : -1;
  result.Last = count ? last : -1;
  result.CanScrollDown = down;
  return result;
}

TdxBarMenuAnimations dxBarResolveMenuAnimation(TdxBarMenuAnimations AKind, int ARandom)
{
  if (AKind != maRandom)
    return AKind;
  if (ARandom < 33)
    return maUnfold;
  return ARandom < 66 ? maSlide : maFade;
}

TdxBarRandomProc SetdxBarMenuRandomProc(TdxBarRandomProc AProc)
{
  TdxBarRandomProc old = std::move(GRandomProc);
  GRandomProc = std::move(AProc);
  return old;
}

TdxBarSystemSettingProc SetdxBarMenuAnimationSettingProc(TdxBarSystemSettingProc AProc)
{
  TdxBarSystemSettingProc old = std::move(GAnimationSettingProc);
  GAnimationSettingProc = std::move(AProc);
  return old;
}

// ---------------------------------------------------------------------------
// View info

TdxBarSubMenuControlViewInfo::TdxBarSubMenuControlViewInfo(TCustomdxBarControl* ABarControl)
    : TCustomdxBarControlViewInfo(ABarControl)
{
}

void TdxBarSubMenuControlViewInfo::Calculate()
{
  Clear();
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetBarControl());
  TdxBarItemLinks* links = menu ? menu->GetItemLinks() : nullptr;
  if (!links || menu->FFirstInView < 0)
    return;
  const int separatorSize = menu->GetBeginGroupSize();
  const auto& shown = links->GetShownItems();
  for (int i = menu->FFirstInView; i <= menu->FLastInView && i < int(shown.size()); ++i) {
    TdxBarItemLink* link = shown[size_t(i)];
    TdxBarItemControl* control = link->GetControl();
    if (!control || !control->GetViewInfo())
      continue;
    const TRect& r = link->GetItemRect();
    if (i != menu->FFirstInView && link->GetBeginGroup() && separatorSize > 0)
      AddSeparatorInfo(TRect{r.left, r.top - separatorSize, r.right, r.top}, true, control->GetViewInfo());
    AddItemControlViewInfo(control->GetViewInfo());
  }
}

// ---------------------------------------------------------------------------
// Life and death

TdxBarSubMenuControl::TdxBarSubMenuControl(TComponent* AOwner) : TCustomdxBarControl(AOwner)
{
  SetWidth(0);
}

TdxBarSubMenuControl::~TdxBarSubMenuControl()
{
  FAnimationThread.reset();
  DeleteLessUsedBrush();
}

void TdxBarSubMenuControl::BeforeDestruction()
{
  FInDestruction = true;
  StopAnimation();
  KillScrollTimer();
  KillExpandTimers();
  TCustomdxBarControl::BeforeDestruction();
}

TdxBarItemControl* TdxBarSubMenuControl::GetOwnerItemControl() const
{
  if (TdxBarItemControl* control = FExplicitOwnerItemControl.Get())
    return control;
  return FOwnerItemControl.Get();
}

void TdxBarSubMenuControl::SetOwnerItemControl(TdxBarItemControl* Value)
{
  FOwnerItemControl = Value;
}

void TdxBarSubMenuControl::SetExplicitOwnerItemControl(TdxBarItemControl* Value)
{
  FExplicitOwnerItemControl = Value;
}

TCustomdxBarControl* TdxBarSubMenuControl::GetRootBarControl() const
{
  TCustomdxBarControl* bar = GetParentBarControl();
  for (int guard = 0; bar && bar->GetKind() == bckSubMenu && guard < dxBarMaxParentChainDepth; ++guard)
    bar = bar->GetParentBarControl();
  return bar && bar->GetKind() != bckSubMenu ? bar : nullptr;
}

void TdxBarSubMenuControl::DoBeforePopup()
{
  CallEvent(OnBeforePopup, this);
}

// The creator learns that the menu went: a button that dropped it down is up again.
void TdxBarSubMenuControl::DoCloseUp()
{
  TWeakRef<TdxBarSubMenuControl> self(this);
  if (auto* owner = dynamic_cast<TdxBarButtonLikeControl*>(GetOwnerItemControl()))
    owner->DoCloseUp();
  if (self)
    CallEvent(OnCloseUp, this);
}

void TdxBarSubMenuControl::DoClose()
{
  if (IsDestroying() || FMenuClosing)
    return;
  FMenuClosing = true;
  Free();
}

bool TdxBarSubMenuControl::IsCustomizing() const
{
  if (TCustomdxBarControl* parent = GetParentBarControl())
    return parent->IsCustomizing();
  return TCustomdxBarControl::IsCustomizing();
}

bool TdxBarSubMenuControl::CanCustomizeLinks() const
{
  if (TCustomdxBarControl* parent = GetParentBarControl())
    return parent->CanCustomizeLinks();
  return TCustomdxBarControl::CanCustomizeLinks();
}

void TdxBarSubMenuControl::CloseMenu()
{
  DoClose();
}

void TdxBarSubMenuControl::LeaveMenuMode()
{
  // A command runs: every menu of the chain closes and the toolbar leaves its menu mode.
  Close();
}

// ---------------------------------------------------------------------------
// Opening

void TdxBarSubMenuControl::Popup()
{
  TWeakRef<TdxBarSubMenuControl> self(this);
  FClosedByKey = false;
  DoBeforePopup();
  if (!self)
    return;
  TCustomdxBarControl* root = GetRootBarControl();
  TdxBarManager* manager = root && root->GetBarManager() ? root->GetBarManager() : GetBarManager();
  TdxBarMenuAnimations kind = manager ? manager->GetMenuAnimations() : maNone;
  if (kind == maRandom)
    kind = dxBarResolveMenuAnimation(kind, GRandomProc ? GRandomProc(100) : DefaultRandom(100));
  if (kind != maNone && !(GAnimationSettingProc ? GAnimationSettingProc() : SystemMenuAnimation()))
    kind = maNone;
  FAnimationKind = kind;
  FAnimate = FAnimate && kind != maNone && kind != maFade && FItemLinks && FItemLinks->VisibleItemCount() > 0 &&
             !IsCustomizing();
  ShowMenuWindow();
  if (self)
    SelectFirstLinkIfOpenedByKey();
}

void TdxBarSubMenuControl::ShowMenuWindow()
{
  TWeakRef<TdxBarSubMenuControl> self(this);
  HandleNeeded();
  if (!self || !HandleAllocated())
    return;
  if (FAnimationKind == maFade && dxAnimateWindow && !dxBarOSFlags().Win9X) {
    ProcessPaintMessages();
    if (self && HandleAllocated())
      dxAnimateWindow(GetHandle(), FadeDuration, AW_BLEND);
  } else {
    UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    // An animation shows the window with its first frame.
    if (!FAnimate)
      flags |= SWP_SHOWWINDOW;
    ::SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0, flags);
    ProcessPaintMessages();
  }
  if (!self)
    return;
  FVisible = true;
  FShowing = true;
  // A fade may show the window without a position change that finds it visible: the
  // shadow follows what the window is now.
  if (HandleAllocated())
    UpdateShadowPosition(false);
}

// A drop-down opened from the keyboard marked its bar window: the menu starts with its first
// link selected.
void TdxBarSubMenuControl::SelectFirstLinkIfOpenedByKey()
{
  TCustomdxBarControl* parent = GetParentBarControl();
  if (!parent || !parent->IsMenuShownByKeyboard())
    return;
  parent->SetMenuShownByKeyboard(false);
  TdxBarItemLink* first = FItemLinks ? FItemLinks->GetFirstSelectableLink() : nullptr;
  if (first && first->GetControl()) {
    SelectItemControl(first->GetControl());
    FKeyboardSelected = true;
  }
}

// ---------------------------------------------------------------------------
// The window

void TdxBarSubMenuControl::CreateParams(TCreateParams& Params)
{
  TCustomdxBarControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_TOPMOST;
  Params.WindowClass.style = CS_SAVEBITS | CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  if (FCreationSize) {
    Params.Width = FCreationSize->cx;
    Params.Height = FCreationSize->cy;
  }
  if (FExplicitParentWindow) {
    Params.WndParent = FExplicitParentWindow;
    return;
  }
  TdxBarManager* manager = GetBarManager();
  TWinControl* parent = manager ? manager->GetParentControl() : nullptr;
  if (parent && parent->HandleAllocated())
    Params.WndParent = parent->GetHandle();
}

void TdxBarSubMenuControl::CreateLessUsedBrush()
{
  DeleteLessUsedBrush();
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF color =
      RGB(std::min(255, GetRValue(face) + LessUsedLightening), std::min(255, GetGValue(face) + LessUsedLightening),
          std::min(255, GetBValue(face) + LessUsedLightening));
  TdxBarManager* manager = GetBarManager();
  if (manager && manager->GetShowRecentItemsFirst() && dxBarScreenColorDepth() < PaletteColorDepth) {
    LOGPALETTE palette{0x300, 1, {{GetRValue(color), GetGValue(color), GetBValue(color), 0}}};
    FLessUsedPalette = TrackGdiObject(::CreatePalette(&palette));
    FLessUsedBrush = TrackGdiObject(::CreateSolidBrush(PALETTEINDEX(0)));
  } else {
    FLessUsedBrush = TrackGdiObject(::CreateSolidBrush(color));
  }
}

void TdxBarSubMenuControl::DeleteLessUsedBrush()
{
  if (FLessUsedBrush) {
    DeleteGdiObject(FLessUsedBrush);
    FLessUsedBrush = nullptr;
  }
  if (FLessUsedPalette) {
    DeleteGdiObject(FLessUsedPalette);
    FLessUsedPalette = nullptr;
  }
}

void TdxBarSubMenuControl::SetOwnFont(TFont* Value)
{
  FHasOwnFont = Value != nullptr;
  if (Value)
    GetFont()->Assign(Value);
}

// Set when the handle is made: by then the menu knows the window it opens from.
void TdxBarSubMenuControl::UpdateMenuFont()
{
  if (FHasOwnFont)
    return;
  TFont* font = nullptr;
  if (TCustomdxBarControl* parent = GetParentBarControl())
    font = parent->GetFont();
  else if (TdxBarManager* manager = GetBarManager())
    font = manager->GetFont();
  if (font)
    GetFont()->Assign(font);
}

void TdxBarSubMenuControl::CreateWnd()
{
  TWeakRef<TdxBarSubMenuControl> self(this);
  UpdateMenuFont();
  CreateLessUsedBrush();
  PresizeWindow();
  TFinally made([&]() noexcept {
    if (self) {
      FCreationSize.reset();
      FCreationWorkArea.reset();
      FRecentItemCountApplied = false;
    }
  });
  TCustomdxBarControl::CreateWnd();
  if (!self || !HandleAllocated())
    return;
  FSavedLeft = GetLeft();
  FSavedTop = GetTop();
  if (!FRecreating) {
    ActivateHint(false, nullptr);
    SetActive(true);
  }
  if (!std::exchange(FRecentItemCountApplied, false))
    ApplyRecentItemCount();
  // A personalised menu that became active shows all its links after a while.
  if (GetActive() && IsExpandButtonShown())
    StartExpandTimer(dxBarMenuExpandTimerId, dxBarMenuExpandDelay());
  FTopIndex = -1;
  SetTopIndex(0);
  CalcLayout();
  if (FAnimate)
    StartAnimation();
  PlayMenuSound(msMenuPopup);
}

void TdxBarSubMenuControl::DestroyWindowHandle()
{
  TWeakRef<TdxBarSubMenuControl> self(this);
  StopAnimation();
  KillScrollTimer();
  KillExpandTimers();
  if (TCustomdxBarControl* child = GetSubMenuControl())
    if (!child->IsDestroying()) {
      SetSubMenuControl(nullptr);
      child->Free();
    }
  if (!self)
    return;
  if (!FRecreating && GetActive())
    SetActive(false);
  if (!self)
    return;
  HandWindowToDrag();
  TCustomdxBarControl::DestroyWindowHandle();
  if (!FRecreating)
    DoCloseUp();
  if (self)
    DeleteLessUsedBrush();
}

// A drag of one of this menu's links runs inside a message of this window: its system window
// stays, hidden and no longer ours, until the drag ends (once per drag).
void TdxBarSubMenuControl::HandWindowToDrag()
{
  TdxBarManager* manager = GetBarManager();
  TdxBarItemLink* dragged = manager && manager->IsDragging() ? manager->GetDraggingItemLink() : nullptr;
  const auto& keep = dxBarCustomizingServices().KeepDragWindow;
  if (FRecreating || !dragged || !FItemLinks || dragged->GetItemLinks() != FItemLinks || !HandleAllocated() || !keep)
    return;
  HWND wnd = GetHandle();
  if (!keep(manager, wnd))
    return;
  ::ShowWindow(wnd, SW_HIDE);
  UnbindHandle(wnd);
}

void TdxBarSubMenuControl::RebuildBar()
{
  if (DeferRebuild())
    return;
  TCustomdxBarControl::RebuildBar();
  if (IsDestroying() || !HandleAllocated() || FLayoutGuard || GetControlState().Contains(csCreating))
    return;
  // Links came or went while the menu is open: it takes their size from where it opened.
  SetBounds(FSavedLeft, FSavedTop, GetWidth(), GetHeight());
  CalcLayout();
  RepaintAll();
}

TClass TdxBarSubMenuControl::GetViewInfoClass() const
{
  return TdxBarSubMenuControlViewInfo::StaticClass();
}

bool TdxBarSubMenuControl::IsShowing()
{
  return !FAnimate && TCustomdxBarControl::IsShowing();
}

// ---------------------------------------------------------------------------
// Geometry

TRect TdxBarSubMenuControl::GetBorders() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetMenuBorders(this) : TRect{1, 1, 1, 1};
}

int TdxBarSubMenuControl::GetDetachStripAreaHeight() const
{
  TdxBarPainter* painter = GetPainter();
  return IsDetachable() && painter ? painter->GetDetachStripHeight(this) + 1 : 0;
}

TRect TdxBarSubMenuControl::GetDetachStripRect() const
{
  const int area = GetDetachStripAreaHeight();
  if (!area)
    return TRect{};
  // Client coordinates: the strip lies in the non-client area above the client's top.
  const TRect b = GetBorders();
  const TRect client = GetClientRect();
  auto* self = const_cast<TdxBarSubMenuControl*>(this);
  int hit = self->GetcxCanvas()->TextHeight(L"Qq") / 2;
  if (hit % 2 == 0)
    ++hit;
  const int top = -area + 1;
  return TRect{client.left - b.left + 1, top, client.right + b.right - 1, top + hit};
}

int TdxBarSubMenuControl::GetSideStripWidth() const
{
  auto* owner = FItemLinks ? dynamic_cast<IdxBarSubMenuOwner*>(FItemLinks->GetLinksOwner()) : nullptr;
  return owner ? std::max(0, owner->GetSideStripWidth(const_cast<TdxBarSubMenuControl*>(this))) : 0;
}

int TdxBarSubMenuControl::GetSeparatorSize() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetMenuSeparatorSize() : 0;
}

int TdxBarSubMenuControl::GetGlyphColumnWidth() const
{
  TdxBarPainter* painter = GetPainter();
  if (!painter)
    return 0;
  const bool large = FItemLinks && FItemLinks->GetMenuItemSize() == misLarge;
  TdxBarManager* manager = GetBarManager();
  const bool largeIcons = manager && manager->GetLargeIcons() && painter->IsLargeIconsSupported();
  const int icon = large || largeIcons ? 32 : 16;
  return std::max(GetTextHeight(), int(painter->GetImageSize(icon, GetTextHeight()).cx));
}

TRect TdxBarSubMenuControl::GetMarkRect() const
{
  if (!IsExpandButtonShown())
    return TRect{};
  TdxBarPainter* painter = GetPainter();
  const int h = painter ? painter->GetExpandButtonHeight() : 0;
  return TRect{FItemArea.left, FItemArea.bottom, FItemArea.right, FItemArea.bottom + h};
}

TRect TdxBarSubMenuControl::GetScrollButtonRect(bool ADown) const
{
  TdxBarPainter* painter = GetPainter();
  if (!painter || (ADown ? !CanScrollDown() : !CanScrollUp()))
    return TRect{};
  if (!painter->AreScrollButtonsSeparate())
    return painter->GetScrollButtonRect(this, FItemArea, ADown);
  // Separate buttons lie outside the item area, which gave them room.
  const int size = painter->GetScrollButtonSize();
  return ADown ? TRect{FItemArea.left, FItemArea.bottom, FItemArea.right, FItemArea.bottom + size}
               : TRect{FItemArea.left, FItemArea.top - size, FItemArea.right, FItemArea.top};
}

TRect TdxBarSubMenuControl::GetOwnerItemRect() const
{
  TdxBarPainter* painter = GetPainter();
  TdxBarItemControl* owner = GetOwnerItemControl();
  if (!painter || !owner || !painter->IsCombinedOutlineDrawn() || !IsOwnerRectAdjacent())
    return TRect{};
  TCustomdxBarControl* bar = owner->GetParent();
  return bar ? bar->GetItemScreenRect(owner) : TRect{};
}

bool TdxBarSubMenuControl::IsOwnerRectAdjacent() const
{
  TdxBarItemControl* owner = GetOwnerItemControl();
  TCustomdxBarControl* bar = owner ? owner->GetParent() : nullptr;
  auto* self = const_cast<TdxBarSubMenuControl*>(this);
  if (!bar || !self->HandleAllocated())
    return false;
  const TRect item = bar->GetItemScreenRect(owner);
  RECT w{};
  ::GetWindowRect(self->GetHandle(), &w);
  const bool alongX = item.left < w.right && w.left < item.right;
  const bool alongY = item.top < w.bottom && w.top < item.bottom;
  return (alongX && (item.bottom == w.top || item.top == w.bottom)) ||
         (alongY && (item.right == w.left || item.left == w.right));
}

int TdxBarSubMenuControl::ShownIndexOf(const TdxBarItemLink* ALink) const
{
  if (!FItemLinks || !ALink)
    return -1;
  const auto& shown = FItemLinks->GetShownItems();
  auto it = std::find(shown.begin(), shown.end(), ALink);
  return it == shown.end() ? -1 : int(it - shown.begin());
}

// ---------------------------------------------------------------------------
// Layout

TSize TdxBarSubMenuControl::CalcMenuSize()
{
  TProfileScope phase(TProfilePhase::Measure);
  MarkLessUsedLinks();
  TdxBarPainter* painter = GetPainter();
  int width = 0, height = 0;
  if (FItemLinks) {
    for (TdxBarItemLink* link : FItemLinks->GetShownItems())
      if (TdxBarItemControl* control = link->GetControl())
        width = std::max(width, control->CalcWidth());
    height = dxBarMenuColumnHeight(ColumnLinks(), GetBeginGroupSize());
  }
  if (width == 0)
    width = 100;
  if (height < 3)
    height += GetTextHeight();  // the empty menu's placeholder item
  if (IsExpandButtonShown() && painter)
    height += painter->GetExpandButtonHeight();
  const TRect b = GetBorders();
  width += GetSideStripWidth() + 2 * (b.left + b.right);
  height += 2 * (b.top + b.bottom) + GetDetachStripAreaHeight();
  return TSize{width, height};
}

std::vector<TdxBarMenuColumnLink> TdxBarSubMenuControl::ColumnLinks() const
{
  std::vector<TdxBarMenuColumnLink> result;
  if (!FItemLinks)
    return result;
  TdxBarPainter* painter = GetPainter();
  const bool edgePixel = painter && painter->IsLessUsedEdgePixelAdded();
  for (TdxBarItemLink* link : FItemLinks->GetShownItems()) {
    TdxBarItemControl* control = link->GetControl();
    result.push_back(TdxBarMenuColumnLink{control ? control->CalcHeight() : 0, control != nullptr,
                                          link->GetBeginGroup(), edgePixel && IsLessUsedEdgeLink(link)});
  }
  return result;
}

void TdxBarSubMenuControl::ApplyRecentItemCount()
{
  if (!FItemLinks)
    return;
  if (IsPersonalized() && !dxBarMenusExpanded())
    FItemLinks->SetRecentItemCount(FItemLinks->CalcRecentItemCount());
  else
    FItemLinks->SetRecentItemCount(-1);
}

// Sizing a hidden popup costs the system nearly as much as showing it: a window that its
// layout will leave where it was asked for is made at the size that layout gives it, and the
// layout then finds nothing to change. A menu that flips, or that sizes its links first
// (recreated, or placed by its parent), is made as it stands and placed after.
void TdxBarSubMenuControl::PresizeWindow()
{
  if (FRecreating || !FItemLinks || GetBoundsFromParent())
    return;
  // The links the window is going to show: the count is set here instead of once it is made.
  ApplyRecentItemCount();
  FRecentItemCountApplied = true;
  for (TdxBarItemLink* link : FItemLinks->GetShownItems())
    if (!link->GetControl())
      link->CreateControl();
  const TPoint pos{GetLeft(), GetTop()};
  FCreationWorkArea.emplace(pos, GetMonitorWorkAreaAtPoint(pos));
  const TdxBarMenuPlacement placement = PlaceMenu(pos, CalcMenuSize(), FCreationWorkArea->second);
  if (TopLeft(placement.Bounds) == pos)
    FCreationSize = TSize{RectWidth(placement.Bounds), RectHeight(placement.Bounds)};
}

TdxBarMenuPlacement TdxBarSubMenuControl::PlaceMenu(TPoint APos, TSize ASize, const TRect& AWorkArea) const
{
  TdxBarMenuPlacementParams params;
  params.Size = ASize;
  params.Pos = APos;
  params.WorkArea = AWorkArea;
  params.OwnerWidth = FOwnerWidth;
  params.OwnerHeight = FOwnerHeight;
  params.PrefersRight = FPrefersRight;
  params.PrefersDown = FPrefersDown;
  params.CanCutWidth = CanCutWidth();
  return dxBarPlaceMenu(params);
}

void TdxBarSubMenuControl::CalcLayout(TSize ASize)
{
  if (const std::optional<TRect> own = GetBoundsFromParent()) {
    SetBounds(own->left, own->top, RectWidth(*own), RectHeight(*own));
    FFlippedX = FFlippedY = false;
  } else {
    const TSize size = ASize.cx > 0 && ASize.cy > 0 ? ASize : CalcMenuSize();
    const TPoint pos{GetLeft(), GetTop()};
    const TRect workArea = FCreationWorkArea && FCreationWorkArea->first == pos ? FCreationWorkArea->second
                                                                                : GetMonitorWorkAreaAtPoint(pos);
    const TdxBarMenuPlacement placement = PlaceMenu(pos, size, workArea);
    const TRect& r = placement.Bounds;
    SetBounds(r.left, r.top, RectWidth(r), RectHeight(r));
    FFlippedX = placement.FlippedX;
    FFlippedY = placement.FlippedY;
  }
  CalculateViewInfo();
  if (FLayoutGuard)
    return;
  if (const std::optional<TSize> second = GetSecondPassSize()) {
    TRestore guard(FLayoutGuard, true);
    // The second pass places the window from where the first left it: a flip there undoes
    // or adds to the first's.
    const bool flippedX = FFlippedX, flippedY = FFlippedY;
    CalcLayout(*second);
    FFlippedX = flippedX != FFlippedX;
    FFlippedY = flippedY != FFlippedY;
  }
}

void TdxBarSubMenuControl::CalculateViewInfo()
{
  if (FLayingOut || IsDestroying())
    return;
  TProfileScope phase(TProfilePhase::Layout);
  TRestore laying(FLayingOut, true);
  LayoutItems();
  if (TCustomdxBarControlViewInfo* viewInfo = GetViewInfo())
    viewInfo->Calculate();
}

// Stacks the shown links from the first in view: a scroll button that can scroll takes room
// at its end; links that do not fit wholly are out of view (empty rectangles).
void TdxBarSubMenuControl::LayoutItems()
{
  FFirstInView = FLastInView = -1;
  FCanScrollDown = false;
  TdxBarPainter* painter = GetPainter();
  TRect area = GetClientRect();
  const TRect b = GetBorders();
  area = TRect{area.left + b.left, area.top + b.top, area.right - b.right, area.bottom - b.bottom};
  if (IsExpandButtonShown() && painter)
    area.bottom -= painter->GetExpandButtonHeight();
  AdjustItemArea(area);
  FItemArea = area;
  if (!FItemLinks || !painter)
    return;
  MarkLessUsedLinks();
  const bool separate = painter->AreScrollButtonsSeparate();
  TdxBarMenuColumnParams params;
  params.Links = ColumnLinks();
  params.Area = area;
  params.Left = area.left + GetSideStripWidth();
  params.SeparatorSize = GetBeginGroupSize();
  params.ScrollButtonSize = separate ? painter->GetScrollButtonSize() : painter->GetScrollButtonHeight(this);
  params.ScrollButtonsSeparate = separate;
  params.TopIndex = FTopIndex;
  const TdxBarMenuColumn column = dxBarLayoutMenuColumn(params);
  const std::vector<TRect>& rects = column.Rects;
  const auto& shown = FItemLinks->GetShownItems();
  const int count = int(shown.size());
  FTopIndex = column.TopIndex;
  FFirstInView = column.First;
  FLastInView = column.Last;
  FCanScrollDown = column.CanScrollDown;
  for (int i = 0; i < count; ++i) {
    TdxBarItemLink* link = shown[size_t(i)];
    if (link->GetItemRect() != rects[size_t(i)] || !link->IsControlPlaced())
      link->SetItemRect(rects[size_t(i)]);
    if (TdxBarItemControl* control = link->GetControl()) {
      control->GetViewInfo()->SetBounds(rects[size_t(i)]);
      control->SetNonRecent(IsLessUsedLink(link));
    }
  }
}

void TdxBarSubMenuControl::SetTopIndex(int Value)
{
  Value = std::max(Value, 0);
  if (Value == FTopIndex)
    return;
  FTopIndex = Value;
  if (!HandleAllocated())
    return;
  CalculateViewInfo();
  InvalidateRect(TRect{0, 0, GetWidth(), GetHeight()}, false);
}

void TdxBarSubMenuControl::MakeItemVisible(TdxBarItemControl* AControl)
{
  const int index = ShownIndexOf(GetItemControlLink(AControl));
  if (index < 0 || !HandleAllocated())
    return;
  const int count = FItemLinks->ShownItemCount();
  // Each step moves the view by one link; the walk ends after as many steps as there are
  // links, and as soon as the link is the first in view (a link taller than the view never
  // fits wholly).
  for (int guard = 0; guard <= count; ++guard) {
    const TRect r = GetItemRect(AControl);
    if (index < FFirstInView) {
      SetTopIndex(FTopIndex - 1);
      continue;
    }
    const bool fits = index <= FLastInView && !IsRectEmpty(r) && r.top >= FItemArea.top && r.bottom <= FItemArea.bottom;
    if (fits || index == FFirstInView || !FCanScrollDown)
      return;
    SetTopIndex(FTopIndex + 1);
  }
}

// ---------------------------------------------------------------------------
// Painting

void TdxBarSubMenuControl::Paint()
{
  if (IsAnimating() || FInDestruction)
    return;
  TProfileScope phase(TProfilePhase::Paint);
  TCustomdxBarControl::Paint();
}

void TdxBarSubMenuControl::PaintClientTo(HDC DC)
{
  TRect client = GetClientRect();
  if (!DC || IsRectEmpty(client))
    return;
  TBitmap* buffer = GetBitmapBuffer();
  if (buffer->GetWidth() != RectWidth(client) || buffer->GetHeight() != RectHeight(client))
    buffer->SetSize(RectWidth(client), RectHeight(client));
  TcxCanvas canvas(buffer->GetCanvas());
  if (TFont* font = GetFont())
    canvas.SetFont(font);
  PaintBackground(&canvas, client);
  PaintItems(&canvas, client);
  ::BitBlt(DC, 0, 0, RectWidth(client), RectHeight(client), buffer->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TdxBarSubMenuControl::PaintBackground(TcxCanvas* ACanvas, const TRect& R)
{
  TdxBarPainter* painter = GetPainter();
  if (!painter) {
    TCustomdxBarControl::PaintBackground(ACanvas, R);
    return;
  }
  ::SelectClipRgn(ACanvas->GetHandle(), nullptr);
  painter->DrawMenuBackground(this, ACanvas->GetHandle(), GetClientRect(), GetBackgroundBrush());
}

void TdxBarSubMenuControl::PaintItems(TcxCanvas* ACanvas, const TRect& AUpdateRect)
{
  DrawItems(ACanvas);
  const int strip = GetSideStripWidth();
  if (!strip)
    return;
  const TRect r{FItemArea.left, FItemArea.top, FItemArea.left + strip, FItemArea.bottom};
  if (IsDesigning()) {
    FillGradientRect(ACanvas->GetHandle(), r, clBlack, clBlue, false);
    return;
  }
  if (auto* owner = dynamic_cast<IdxBarSubMenuOwner*>(FItemLinks->GetLinksOwner()))
    owner->DrawSideStrip(this, ACanvas, r);
}

void TdxBarSubMenuControl::DrawItems(TcxCanvas* ACanvas)
{
  TdxBarPainter* painter = GetPainter();
  if (!painter || !FItemLinks)
    return;
  if (FItemLinks->ShownItemCount() == 0) {
    // The empty menu: one empty item over the item area.
    FillBackground(ACanvas->GetHandle(), FItemArea, GetBackgroundBrush());
    return;
  }
  if (CanScrollUp())
    painter->DrawScrollButton(this, ACanvas, false);
  if (CanScrollDown())
    painter->DrawScrollButton(this, ACanvas, true);
  if (IsExpandButtonShown())
    painter->DrawExpandButton(this, ACanvas, GetMarkRect(), FMarkState != TdxBarMarkState::Normal);
  TCustomdxBarControlViewInfo* viewInfo = GetViewInfo();
  if (!viewInfo)
    return;
  for (int i = 0; i < viewInfo->GetSeparatorCount(); ++i) {
    const TdxBarSeparatorInfo* separator = viewInfo->GetSeparator(i);
    TdxBarItemControl* control =
        separator->ItemControlViewInfo ? separator->ItemControlViewInfo->GetControl() : nullptr;
    painter->DrawMenuSeparator(this, ACanvas, separator->Bounds, control);
  }
  HDC dc = ACanvas->GetHandle();
  HPALETTE oldPalette = nullptr;
  if (FLessUsedPalette) {
    oldPalette = ::SelectPalette(dc, FLessUsedPalette, FALSE);
    ::RealizePalette(dc);
  }
  const int last = viewInfo->GetItemControlViewInfoCount() - 1;
  for (int i = 0; i <= last; ++i) {
    TdxBarItemControl* control = viewInfo->GetItemControlViewInfo(i)->GetControl();
    const TRect r = GetItemRect(control);
    if (IsRectEmpty(r))
      continue;
    if (control->GetNonRecent())
      FillBackground(dc, r, painter->GetLessUsedBrush(this));
    DrawItemControl(ACanvas, control, r);
  }
  if (oldPalette)
    ::SelectPalette(dc, oldPalette, FALSE);
}

void TdxBarSubMenuControl::PaintNonClient(HDC DC)
{
  TProfileScope phase(TProfilePhase::Paint);
  TdxBarPainter* painter = GetPainter();
  if (!painter || !DC || !HandleAllocated())
    return;
  RECT w{};
  ::GetWindowRect(GetHandle(), &w);
  const TRect r{0, 0, w.right - w.left, w.bottom - w.top};
  painter->DrawMenuFrame(this, DC, r);
  if (FOverDetachStrip && IsDetachable()) {
    const TRect strip = painter->GetDetachStripBounds(this, r);
    if (!IsRectEmpty(&strip))
      painter->DrawDetachStrip(this, DC, strip, true);
  }
}

// ---------------------------------------------------------------------------
// Descendants

TdxBarInternalSubMenuControl::TdxBarInternalSubMenuControl(TComponent* AOwner) : TdxBarSubMenuControl(AOwner)
{
  FOwnLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(GetBarManager(), static_cast<IdxBarLinksOwner*>(this));
  // The links show through this window, which owns them.
  FOwnLinks->CreateBarControl();
}

TdxBarInternalSubMenuControl::~TdxBarInternalSubMenuControl()
{
  FOwnLinks.reset();
}

std::function<void(TdxBarManager*, TdxBarItemLinks*)> TdxBarCustomizingPopup::CustomizingPopupHook;

TdxBarCustomizingPopup::TdxBarCustomizingPopup(TComponent* AOwner) : TdxBarInternalSubMenuControl(AOwner)
{
  SetAnimate(false);
}

void TdxBarCustomizingPopup::NotifyBarManager()
{
  if (CustomizingPopupHook)
    CustomizingPopupHook(GetBarManager(), GetItemLinks());
}

void TdxBarCustomizingPopup::Popup()
{
  NotifyBarManager();
  TdxBarSubMenuControl::Popup();
}
