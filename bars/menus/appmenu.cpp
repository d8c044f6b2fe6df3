// The application menu's window: its size and layout, the pane it fills and places, the row's
// links, painting and the keys over the three groups. The pane's windows are in
// appmenu_pane.cpp, the row's buttons in appmenu_buttons.cpp.
#include "bars/menus/appmenu.h"

#include "platform/Win.h"

#include <algorithm>
#include <cmath>

#include "bars/model/bar.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarApplicationMenuButtonItemLinks, TdxBarItemLinks)
IMPLEMENT_CLASS(TdxBarApplicationMenuControl, TdxBarSubMenuControl)

namespace {

// The row's buttons lie this far apart.
constexpr int ButtonGap = 6;
// The row within its band: in from the left, and from the top and bottom.
constexpr int ButtonRowInsetLeft = 4;
constexpr int ButtonRowInsetY = 1;
// The width a menu without links has.
constexpr int EmptyMenuWidth = 100;

}  // namespace

// ---------------------------------------------------------------------------
// Geometry and key order

int dxBarCalcExtraPaneWidth(int APaneWidth, double AWidthRatio, int AMenuWidth, int AItemHeight, int ADefaultItemHeight)
{
  if (APaneWidth != 0) {
    // MulDiv answers -1 for a zero divisor: the width then stays as given.
    const int scaled = ADefaultItemHeight > 0 ? ::MulDiv(APaneWidth, AItemHeight, ADefaultItemHeight) : APaneWidth;
    return std::max(scaled, 0);
  }
  if (!std::isfinite(AWidthRatio))
    return 0;
  return std::max(int(std::lround(AWidthRatio * AMenuWidth)), 0);
}

std::vector<TRect> dxBarLayoutApplicationMenuButtons(const TRect& ARow, const std::vector<int>& AWidths)
{
  std::vector<TRect> result(AWidths.size());
  int left = ARow.left, fitting = 0;
  for (size_t i = 0; i < AWidths.size(); ++i) {
    const int width = std::max(AWidths[i], 0);
    if (left + width > ARow.right)
      break;
    result[i] = TRect{left, ARow.top, left + width, ARow.bottom};
    left += width + ButtonGap;
    ++fitting;
  }
  // None fits: nothing to align.
  if (fitting == 0)
    return result;
  const int shift = ARow.right - result[size_t(fitting - 1)].right;
  for (int i = 0; i < fitting; ++i)
    result[size_t(i)] = OffsetRect(result[size_t(i)], shift, 0);
  return result;
}

std::optional<TdxBarApplicationMenuGroup> dxBarNextApplicationMenuGroup(const int ACounts[3],
                                                                        TdxBarApplicationMenuGroup AGroup,
                                                                        bool AForward)
{
  auto takesPart = [&](int AIndex) { return AIndex == amgExtraPane ? ACounts[AIndex] > 1 : ACounts[AIndex] > 0; };
  const int step = AForward ? 1 : 2;
  int group = std::clamp(int(AGroup), int(amgItems), int(amgButtons));
  for (int i = 0; i < 3; ++i) {
    group = (group + step) % 3;
    if (takesPart(group))
      return TdxBarApplicationMenuGroup(group);
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------
// TdxBarApplicationMenuControl

TdxBarApplicationMenuControl::TdxBarApplicationMenuControl(TComponent* AOwner) : TdxBarSubMenuControl(AOwner)
{
  TdxBarManager* manager = GetBarManager();
  if (!manager || IsCustomizing())
    return;
  // The menu owns its site; it is no component of the form's.
  auto* dock = new TdxBarExtraPaneDockControl(nullptr);
  dock->SetBarManager(manager);
  dock->SetAlign(dalNone);
  FExtraPaneDock = dock;
  TdxBars* bars = manager->GetBars();
  bars->BeginUpdate();
  TFinally end([bars] { bars->EndUpdate(); });
  TdxBar* bar = bars->Add();
  bar->SetAllowQuickCustomizing(false);
  // Nothing drags the pane's bar anywhere else.
  bar->SetNotDocking(TdxBarDockingStyles{dsNone, dsLeft, dsTop, dsRight, dsBottom});
  bar->SetHidden(true);
  bar->SetUseOwnFont(false);
  bar->SetShowMark(false);
  FExtraPaneBar = bar;
}

TdxBarApplicationMenuControl::~TdxBarApplicationMenuControl()
{
  FreeButtonLinks();
  FreeExtraPane();
}

void TdxBarApplicationMenuControl::BeforeDestruction()
{
  // The pane's windows are children of the menu's, and the row's controls draw on it: they
  // go before it.
  FreeButtonLinks();
  FreeExtraPane();
  TdxBarSubMenuControl::BeforeDestruction();
}

void TdxBarApplicationMenuControl::FreeExtraPane()
{
  if (TdxBar* bar = FExtraPaneBar.Get()) {
    FExtraPaneBar = nullptr;
    bar->SetVisible(false);
    bar->Free();
  }
  if (TdxBarExtraPaneDockControl* dock = FExtraPaneDock.Get()) {
    FExtraPaneDock = nullptr;
    dock->Free();
  }
}

uint32_t TdxBarApplicationMenuControl::GetOptions() const
{
  // Of the menu's fixed option set, this is the bit the library defines.
  return TdxBarSubMenuControl::GetOptions() | dxBarOptionStretchClientControls;
}

IdxBarApplicationMenu* TdxBarApplicationMenuControl::GetApplicationMenu() const
{
  TdxBarItemLinks* links = GetItemLinks();
  return links ? dynamic_cast<IdxBarApplicationMenu*>(links->GetLinksOwner()) : nullptr;
}

int TdxBarApplicationMenuControl::ButtonRowHeight() const
{
  if (!FButtonLinks || IsCustomizing())
    return 0;
  int height = 0;
  for (TdxBarItemLink* link : FButtonLinks->GetShownItems())
    if (TdxBarItemControl* control = link->GetControl())
      height = std::max(height, control->CalcHeight());
  return height > 0 ? height + 2 * ButtonRowInsetY : 0;
}

std::optional<TSize> TdxBarApplicationMenuControl::GetSecondPassSize()
{
  IdxBarApplicationMenu* menu = GetApplicationMenu();
  if (!menu || IsCustomizing())
    return std::nullopt;
  TSize size = CalcMenuSize();
  int itemHeight = GetTextHeight();
  if (TdxBarItemLinks* links = GetItemLinks(); links && !links->GetShownItems().empty())
    if (TdxBarItemControl* control = links->GetShownItems().front()->GetControl())
      itemHeight = control->CalcHeight();
  TdxBarPainter* painter = GetPainter();
  const int menuWidth = size.cx > 0 ? int(size.cx) : EmptyMenuWidth;
  FExtraPaneWidth = dxBarCalcExtraPaneWidth(menu->GetExtraPaneWidth(), menu->GetExtraPaneWidthRatio(), menuWidth,
                                            itemHeight, painter ? painter->GetDefaultMenuItemHeight() : 0);
  size.cx += FExtraPaneWidth;
  size.cy += ButtonRowHeight();
  // The menu grows for a pane whose links need more height than its own links.
  if (TdxBarExtraPaneControl* pane = GetExtraPaneControl(); pane && FExtraPaneWidth > 0) {
    const TRect b = GetBorders();
    const int needed =
        pane->GetContentHeight() + 2 * (b.top + b.bottom) + GetDetachStripAreaHeight() + ButtonRowHeight();
    size.cy = std::max(int(size.cy), needed);
  }
  return size;
}

void TdxBarApplicationMenuControl::AdjustItemArea(TRect& AArea)
{
  const int rowHeight = ButtonRowHeight();
  const TRect client = GetClientRect();
  const TRect b = GetBorders();
  AArea.bottom = std::max(AArea.top, AArea.bottom - rowHeight);
  // The row: the item area's width, from its bottom to the client's bottom less the borders.
  FButtonRowRect = TRect{AArea.left + ButtonRowInsetLeft, AArea.bottom + ButtonRowInsetY, AArea.right,
                         client.bottom - b.bottom - ButtonRowInsetY};
  if (rowHeight == 0)
    FButtonRowRect = TRect{};
  FExtraPaneRect = TRect{};
  if (!IsCustomizing() && FExtraPaneWidth > 0) {
    const int width = std::min(FExtraPaneWidth, RectWidth(AArea));
    FExtraPaneRect = TRect{AArea.right - width, AArea.top, AArea.right, AArea.bottom};
    AArea.right -= width;
  }
  if (!FButtonLinks)
    return;
  const auto& shown = FButtonLinks->GetShownItems();
  std::vector<int> widths;
  for (TdxBarItemLink* link : shown)
    widths.push_back(link->GetControl() ? link->GetControl()->CalcWidth() : 0);
  const std::vector<TRect> rects = dxBarLayoutApplicationMenuButtons(FButtonRowRect, widths);
  for (size_t i = 0; i < shown.size(); ++i) {
    shown[i]->SetItemRect(rects[i]);
    if (TdxBarItemControl* control = shown[i]->GetControl())
      control->GetViewInfo()->SetBounds(rects[i]);
  }
}

void TdxBarApplicationMenuControl::FillExtraPane()
{
  TdxBar* bar = FExtraPaneBar.Get();
  TdxBarExtraPaneDockControl* dock = FExtraPaneDock.Get();
  IdxBarApplicationMenu* menu = GetApplicationMenu();
  if (!bar || !dock || !menu || !HandleAllocated())
    return;
  dock->SetParentWindow(GetHandle());
  TdxBarItemLinks* links = bar->GetItemLinks();
  links->Clear();
  for (TdxBarItem* item : menu->GetExtraPaneItems())
    if (item)
      links->AddItem(item);
  if (TFont* font = GetFont())
    bar->GetFont()->Assign(font);
  bar->SetBorderStyle(bbsNone);
  bar->SetDockControl(dock);
  bar->SetVisible(!IsRectEmpty(FExtraPaneRect));
  PlaceExtraPane();
  // The pane's links now measure themselves: the menu grows when they need more height.
  TdxBarExtraPaneControl* pane = GetExtraPaneControl();
  if (pane && pane->GetContentHeight() > RectHeight(FExtraPaneRect)) {
    CalcLayout();
    PlaceExtraPane();
  }
}

void TdxBarApplicationMenuControl::PlaceExtraPane()
{
  TdxBarExtraPaneDockControl* dock = FExtraPaneDock.Get();
  if (dock && dock->HandleAllocated() && !IsRectEmpty(FExtraPaneRect))
    ::SetWindowPos(dock->GetHandle(), nullptr, FExtraPaneRect.left, FExtraPaneRect.top, RectWidth(FExtraPaneRect),
                   RectHeight(FExtraPaneRect), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TdxBarApplicationMenuControl::ShowMenuWindow()
{
  TWeakRef<TdxBarApplicationMenuControl> self(this);
  HandleNeeded();
  if (!self)
    return;
  if (!IsCustomizing())
    FillExtraPane();
  if (self)
    TdxBarSubMenuControl::ShowMenuWindow();
}

void TdxBarApplicationMenuControl::PaintItems(TcxCanvas* ACanvas, const TRect& AUpdateRect)
{
  TdxBarSubMenuControl::PaintItems(ACanvas, AUpdateRect);
  // The pane and the row are set off from the items by the look's own lines, which stay on
  // the items, the pane, the side strip and the row's band.
  if (TdxBarPainter* painter = GetPainter()) {
    const TRect items = GetItemArea();
    const TRect row = IsRectEmpty(FButtonRowRect)
                          ? TRect{}
                          : TRect{FButtonRowRect.left - ButtonRowInsetLeft, FButtonRowRect.top - ButtonRowInsetY,
                                  FButtonRowRect.right, FButtonRowRect.bottom + ButtonRowInsetY};
    const int strip = GetSideStripWidth();
    HRGN clip = CreateRectRgn(items.left - strip, items.top, items.left, items.bottom);
    for (const TRect& part : {items, FExtraPaneRect, row})
      if (!IsRectEmpty(part))
        if (HRGN add = CreateRectRgnIndirect(&part)) {
          CombineRgn(clip, clip, add, RGN_OR);
          DeleteObject(add);
        }
    painter->DrawApplicationMenuParts(this, ACanvas, FExtraPaneRect, row, clip);
    DeleteObject(clip);
  }
  if (!FButtonLinks || IsRectEmpty(FButtonRowRect))
    return;
  for (TdxBarItemLink* link : FButtonLinks->GetShownItems()) {
    const TRect r = link->GetItemRect();
    if (TdxBarItemControl* control = link->GetControl(); control && !IsRectEmpty(r))
      DrawItemControl(ACanvas, control, r);
  }
}

// ---------------------------------------------------------------------------
// The row's links

void TdxBarApplicationMenuControl::SetItemLinks(TdxBarItemLinks* Value)
{
  TdxBarSubMenuControl::SetItemLinks(Value);
  MakeButtonLinks();
}

void TdxBarApplicationMenuControl::MakeButtonLinks()
{
  FreeButtonLinks();
  IdxBarApplicationMenu* menu = GetApplicationMenu();
  TdxBarApplicationMenuButtons* buttons = menu ? menu->GetButtons() : nullptr;
  if (!buttons || buttons->Count() == 0 || IsCustomizing())
    return;
  FButtonLinks =
      std::make_unique<TdxBarApplicationMenuButtonItemLinks>(GetBarManager(), static_cast<IdxBarLinksOwner*>(this));
  FButtonLinks->SetShowingBarControl(this);
  for (int i = 0; i < buttons->Count(); ++i)
    if (TdxBarApplicationMenuButtonItem* item = buttons->GetItem(i)->GetButtonItem())
      FButtonLinks->AddItem(item);
  for (TdxBarItemLink* link : FButtonLinks->GetShownItems())
    link->CreateControl();
}

void TdxBarApplicationMenuControl::FreeButtonLinks()
{
  if (!FButtonLinks)
    return;
  if (FButtonLinks->IndexOf(GetSelectedLink()) >= 0)
    FSelectedLink = nullptr;
  if (FButtonLinks->IndexOf(GetLastClickedLink()) >= 0)
    SetLastClickedLink(nullptr);
  for (int i = 0; i < FButtonLinks->Count(); ++i)
    FButtonLinks->Items(i)->DestroyControl();
  FButtonLinks->SetShowingBarControl(nullptr);
  FButtonLinks.reset();
}

TdxBarItemControl* TdxBarApplicationMenuControl::GetItemControlAtPos(const TPoint& P) const
{
  if (TdxBarItemControl* control = TdxBarSubMenuControl::GetItemControlAtPos(P))
    return control;
  if (!FButtonLinks || IsCustomizing())
    return nullptr;
  for (TdxBarItemLink* link : FButtonLinks->GetShownItems())
    if (PtInRect(link->GetItemRect(), P))
      return link->GetControl();
  return nullptr;
}

// ---------------------------------------------------------------------------
// Keys over the three groups

TdxBarExtraPaneControl* TdxBarApplicationMenuControl::GetExtraPaneControl() const
{
  TdxBar* bar = FExtraPaneBar.Get();
  return bar ? dynamic_cast<TdxBarExtraPaneControl*>(bar->GetControl()) : nullptr;
}

TdxBarItemLinks* TdxBarApplicationMenuControl::GroupLinks(TdxBarApplicationMenuGroup AGroup) const
{
  switch (AGroup) {
    case amgItems:
      return GetItemLinks();
    case amgExtraPane: {
      TdxBarExtraPaneControl* pane = GetExtraPaneControl();
      return pane ? pane->GetItemLinks() : nullptr;
    }
    case amgButtons:
      return FButtonLinks.get();
    default:
      return nullptr;
  }
}

TdxBarApplicationMenuGroup TdxBarApplicationMenuControl::GetSelectedGroup() const
{
  if (TdxBarExtraPaneControl* pane = GetExtraPaneControl(); pane && pane->GetSelectedLink())
    return amgExtraPane;
  if (IsButtonRowLink(GetSelectedLink()))
    return amgButtons;
  return amgItems;
}

void TdxBarApplicationMenuControl::SelectGroupLink(TdxBarApplicationMenuGroup AGroup, TdxBarItemLink* ALink)
{
  TWeakRef<TdxBarApplicationMenuControl> self(this);
  TdxBarItemControl* control = ALink ? ALink->GetControl() : nullptr;
  if (!control)
    return;
  TdxBarExtraPaneControl* pane = GetExtraPaneControl();
  if (AGroup == amgExtraPane) {
    SetSelectedControl(nullptr);
    if (self && pane)
      pane->SelectItemControl(control);
    // An entry chosen by key shows no hint, as in any menu: it would hang at the pointer.
    if (self && pane && !control->GetSelectedByBar())
      pane->ActivateHint(false, nullptr);
    return;
  }
  if (pane && pane->GetSelectedLink())
    pane->SetSelectedControl(nullptr);
  if (!self)
    return;
  SelectItemControl(control);
  if (!self)
    return;
  FKeyboardSelected = true;
  if (AGroup == amgItems)
    MakeItemVisible(control);
}

bool TdxBarApplicationMenuControl::IsButtonRowLink(const TdxBarItemLink* ALink) const
{
  return ALink && FButtonLinks && FButtonLinks->IndexOf(ALink) >= 0;
}

TPoint TdxBarApplicationMenuControl::GetButtonRowKeyTipPoint(const TdxBarItemLink* ALink)
{
  if (!IsButtonRowLink(ALink))
    return TPoint{-1, -1};
  const TPoint p = CenterPoint(ALink->GetItemRect());
  return HandleAllocated() ? ClientToScreen(p) : p;
}

void TdxBarApplicationMenuControl::SelectExtraPaneControl(TdxBarItemControl* AControl)
{
  SelectGroupLink(amgExtraPane, GetItemControlLink(AControl));
}

bool TdxBarApplicationMenuControl::MoveSelection(bool AForward)
{
  const TdxBarApplicationMenuGroup group = GetSelectedGroup();
  TdxBarItemLinks* links = GroupLinks(group);
  TdxBarItemLink* selected = nullptr;
  if (group == amgExtraPane)
    selected = GetExtraPaneControl()->GetSelectedLink();
  else
    selected = GetSelectedLink();
  // Within the group while it has a next link; past its end to the next group that takes part.
  if (links && selected) {
    TdxBarItemLink* edge = AForward ? links->GetLastSelectableLink() : links->GetFirstSelectableLink();
    if (selected != edge) {
      SelectGroupLink(group,
                      AForward ? links->GetNextSelectableLink(selected) : links->GetPrevSelectableLink(selected));
      return true;
    }
  } else if (!selected && group == amgItems) {
    TdxBarItemLink* first =
        links ? (AForward ? links->GetFirstSelectableLink() : links->GetLastSelectableLink()) : nullptr;
    if (first) {
      SelectGroupLink(group, first);
      return true;
    }
  }
  int counts[3] = {};
  for (TdxBarApplicationMenuGroup g : dxBarApplicationMenuGroups)
    if (TdxBarItemLinks* l = GroupLinks(g))
      counts[g] = l->GetFirstSelectableLink() ? int(l->GetShownItems().size()) : 0;
  const std::optional<TdxBarApplicationMenuGroup> next = dxBarNextApplicationMenuGroup(counts, group, AForward);
  TdxBarItemLinks* target = next ? GroupLinks(*next) : nullptr;
  if (!target)
    return false;
  SelectGroupLink(*next, AForward ? target->GetFirstSelectableLink() : target->GetLastSelectableLink());
  return true;
}

bool TdxBarApplicationMenuControl::BarKeyDown(WORD AKey, TShiftState AShift)
{
  if (IsCustomizing())
    return TdxBarSubMenuControl::BarKeyDown(AKey, AShift);
  const TdxBarApplicationMenuGroup group = GetSelectedGroup();
  const bool plain = !AShift.Contains(ssCtrl) && !AShift.Contains(ssAlt);
  const bool across = group != amgItems;
  bool forward = false, backward = false;
  if (plain && AKey == VK_TAB) {
    forward = !AShift.Contains(ssShift);
    backward = !forward;
  } else if (plain) {
    forward = AKey == VK_DOWN || (across && AKey == VK_RIGHT);
    backward = AKey == VK_UP || (across && AKey == VK_LEFT);
  }
  if (forward || backward) {
    // A submenu entry opens with Right; Down and Up move as in any menu until a group ends.
    return MoveSelection(forward);
  }
  if (AKey == VK_RETURN && group == amgExtraPane) {
    // The pane's bar clicks its own selection; the click closes the menu through the pane.
    if (TdxBarExtraPaneControl* pane = GetExtraPaneControl())
      if (TdxBarItemControl* selected = pane->GetSelectedControl())
        selected->ClickByKey();
    return true;
  }
  return TdxBarSubMenuControl::BarKeyDown(AKey, AShift);
}
