// The application menu's window, its extra pane and its bottom row of buttons.
#include "bars/appmenu.h"

#include "platform/Win.h"

#include <algorithm>
#include <cmath>

#include "bars/bar.h"
#include "bars/itemlinks.h"
#include "bars/manager.h"
#include "bars/painter.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarApplicationMenuButtonItem, TdxBarButton)
IMPLEMENT_CLASS(TdxBarApplicationMenuButtonControl, TdxBarButtonControl)
IMPLEMENT_CLASS(TdxBarApplicationMenuButtonItemLinks, TdxBarItemLinks)
IMPLEMENT_CLASS(TdxBarExtraPaneDockControl, TdxBarDockControl)
IMPLEMENT_CLASS(TdxBarExtraPaneControl, TdxBarControl)
IMPLEMENT_CLASS(TdxBarApplicationMenuControl, TdxBarSubMenuControl)

PUBLISHED(TdxBarApplicationMenuButton, TCollectionItem)
{
  using I = TdxBarApplicationMenuButton;
  p.Component(L"Item", &I::GetItem, &I::SetItem);
  p.Prop(L"Width", &I::GetWidth, &I::SetWidth).Default(0);
}

IMPLEMENT_CLASS(TdxBarApplicationMenuButtons, TOwnedCollection)

namespace {

// The row's buttons lie this far apart.
constexpr int ButtonGap = 6;
// The row within its band: in from the left, and from the top and bottom.
constexpr int ButtonRowInsetLeft = 4;
constexpr int ButtonRowInsetY = 1;
// A button's room around its caption when it has no width of its own.
constexpr int ButtonTextPadding = 16;
constexpr int ButtonTextPaddingY = 8;
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

int dxBarNextApplicationMenuGroup(const int ACounts[3], int AGroup, bool AForward)
{
  auto takesPart = [&](int AIndex) { return AIndex == amgExtraPane ? ACounts[AIndex] > 1 : ACounts[AIndex] > 0; };
  const int step = AForward ? 1 : 2;
  int group = std::clamp(AGroup, 0, 2);
  for (int i = 0; i < 3; ++i) {
    group = (group + step) % 3;
    if (takesPart(group))
      return group;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// TdxBarApplicationMenuButtonItem

TdxBarApplicationMenuButtonItem::TdxBarApplicationMenuButtonItem(TComponent* AOwner)
    : TdxBarButton(AOwner), FWatch(std::make_unique<TdxBarComponentList>())
{
  FWatch->OnChange = TdxComponentListChangeEvent(this, &TdxBarApplicationMenuButtonItem::WatchChanged);
  UpdateFromItem();
}

TdxBarApplicationMenuButtonItem::~TdxBarApplicationMenuButtonItem()
{
  FWatch->SetDestroying();
  if (FItem)
    FItem->RemoveFreeNotification(this);
}

void TdxBarApplicationMenuButtonItem::SetItem(TdxBarButton* Value)
{
  if (FItem == Value)
    return;
  if (FItem) {
    FWatch->Remove(FItem);
    FItem->RemoveFreeNotification(this);
  }
  FItem = Value;
  if (FItem) {
    FItem->FreeNotification(this);
    FWatch->Add(FItem);
  }
  UpdateFromItem();
}

void TdxBarApplicationMenuButtonItem::UpdateFromItem()
{
  TdxBarButton* item = FItem;
  SetCaption(item ? item->GetCaption() : String());
  SetImageIndex(item ? item->GetImageIndex() : -1);
  SetEnabled(item && item->GetEnabled());
  SetVisible(item ? item->GetVisible() : ivNever);
  SetHint(item ? item->GetHint() : String());
  SetScreenTip(item ? item->GetScreenTip() : nullptr);
  if (item)
    GetGlyph()->Assign(item->GetGlyph());
  else
    GetGlyph()->Assign(nullptr);
}

void TdxBarApplicationMenuButtonItem::DoClick()
{
  if (FItem)
    FItem->Click();
}

void TdxBarApplicationMenuButtonItem::Notification(TComponent* AComponent, TOperation Operation)
{
  TdxBarButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FItem) {
    FItem = nullptr;
    UpdateFromItem();
  }
}

void TdxBarApplicationMenuButtonItem::WatchChanged(TObject*, TComponent* AComponent, TdxComponentListChangeType Kind)
{
  if (Kind == clcnChanged && (!AComponent || AComponent == FItem))
    UpdateFromItem();
}

// ---------------------------------------------------------------------------
// TdxBarApplicationMenuButtonControl

int TdxBarApplicationMenuButtonControl::GetDefaultViewParts() const
{
  TdxBarItem* item = GetItemControlItem(this);
  const bool image = item && (item->GetImageIndex() >= 0 || (item->GetGlyph() && !item->GetGlyph()->Empty()));
  return ivpCaption | (image ? ivpGlyph : 0);
}

// The row is not the menu's own links: the key's click goes to the button itself.
void TdxBarApplicationMenuButtonControl::ClickByKey()
{
  TWeakRef<TdxBarApplicationMenuButtonControl> self(this);
  if (!GetEnabled())
    return;
  ActivateByKey();
  if (self)
    Click();
}

int TdxBarApplicationMenuButtonControl::GetDefaultWidth()
{
  TdxBarItem* item = GetItemControlItem(this);
  const int width = item ? item->GetWidth() : 0;
  return width != 0 ? width : TdxBarButtonControl::GetDefaultWidth();
}

// ---------------------------------------------------------------------------
// TdxBarApplicationMenuButton(s)

TdxBarApplicationMenuButtons::TdxBarApplicationMenuButtons(TComponent* AOwner)
    : TOwnedCollection(AOwner, TdxBarApplicationMenuButton::StaticClass())
{
}

TdxBarManager* TdxBarApplicationMenuButtons::GetBarManager() const
{
  auto* owner = dynamic_cast<TComponent*>(GetOwner());
  if (auto* component = dynamic_cast<TdxBarComponent*>(owner))
    return component->GetBarManager();
  return owner ? GetBarManagerByOwner(owner) : nullptr;
}

TdxBarApplicationMenuButton::TdxBarApplicationMenuButton(TCollection* ACollection) : TCollectionItem(ACollection)
{
  auto* buttons = dynamic_cast<TdxBarApplicationMenuButtons*>(ACollection);
  TdxBarManager* manager = buttons ? buttons->GetBarManager() : nullptr;
  if (!manager)
    return;
  // Made in the manager: not streamed with the form, not named, not saved in a layout.
  FButtonItem = new TdxBarApplicationMenuButtonItem(manager);
}

TdxBarApplicationMenuButton::~TdxBarApplicationMenuButton()
{
  if (TdxBarApplicationMenuButtonItem* item = FButtonItem.Get())
    item->Free();
}

void TdxBarApplicationMenuButton::Assign(TPersistent* Source)
{
  if (auto* other = dynamic_cast<TdxBarApplicationMenuButton*>(Source)) {
    SetWidth(other->GetWidth());
    SetItem(other->GetItem());
    return;
  }
  TCollectionItem::Assign(Source);
}

TdxBarButton* TdxBarApplicationMenuButton::GetItem() const
{
  TdxBarApplicationMenuButtonItem* item = FButtonItem.Get();
  return item ? item->GetItem() : nullptr;
}

void TdxBarApplicationMenuButton::SetItem(TdxBarButton* Value)
{
  if (TdxBarApplicationMenuButtonItem* item = FButtonItem.Get())
    item->SetItem(Value);
}

int TdxBarApplicationMenuButton::GetWidth() const
{
  TdxBarApplicationMenuButtonItem* item = FButtonItem.Get();
  return item ? item->GetWidth() : 0;
}

void TdxBarApplicationMenuButton::SetWidth(int Value)
{
  if (TdxBarApplicationMenuButtonItem* item = FButtonItem.Get())
    item->SetWidth(Value);
}

// ---------------------------------------------------------------------------
// The extra pane

TdxBarExtraPaneDockControl::TdxBarExtraPaneDockControl(TComponent* AOwner) : TdxBarDockControl(AOwner)
{
  SetAllowDocking(false);
}

TClass TdxBarExtraPaneDockControl::GetBarControlClass() const
{
  return TdxBarExtraPaneControl::StaticClass();
}

// The menu gives the site its bounds; the site's one bar fills it. A plain site would size
// itself to its bars and close the open menu, which is the one it sits in.
void TdxBarExtraPaneDockControl::UpdateSize()
{
  TdxBarControl* control = nullptr;
  for (int i = 0; i < GetRowCount() && !control; ++i)
    if (TdxDockRow* row = GetRow(i); row->GetColCount() > 0)
      control = row->GetCol(0)->GetBarControl();
  if (!control || control->IsDestroying())
    return;
  const TRect client = GetClientRect();
  if (control->GetBoundsRect() == client)
    return;
  if (control->HandleAllocated()) {
    // The frame is worked out again with the move.
    ::SetWindowPos(control->GetHandle(), nullptr, client.left, client.top, RectWidth(client), RectHeight(client),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else {
    control->SetBounds(client.left, client.top, RectWidth(client), RectHeight(client));
  }
}

TdxBarApplicationMenuControl* TdxBarExtraPaneControl::GetApplicationMenuControl() const
{
  auto* self = const_cast<TdxBarExtraPaneControl*>(this);
  if (!self->HandleAllocated())
    return nullptr;
  HWND dock = ::GetParent(self->GetHandle());
  HWND menu = dock ? ::GetParent(dock) : nullptr;
  return dynamic_cast<TdxBarApplicationMenuControl*>(FindControl(menu));
}

TdxBarPainter* TdxBarExtraPaneControl::GetPainter() const
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    return menu->GetPainter();
  return TdxBarControl::GetPainter();
}

uint32_t TdxBarExtraPaneControl::GetOptions() const
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    return menu->GetOptions();
  return TdxBarControl::GetOptions();
}

void TdxBarExtraPaneControl::ActivateWithControl(TdxBarItemControl* AControl)
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    menu->SelectExtraPaneControl(AControl);
  else
    TdxBarControl::ActivateWithControl(AControl);
}

// The pane is never the active bar itself (the menu is): its release clicks the pressed
// entry as an active bar's would.
void TdxBarExtraPaneControl::PaneButtonUp(TMessage& Message)
{
  TWeakRef<TdxBarExtraPaneControl> self(this);
  Message.Result = 0;
  const bool held = FHoldsCapture;
  FHoldsCapture = false;
  if (held && ::GetCapture() == GetHandle())
    ::ReleaseCapture();
  if (!self)
    return;
  const TPoint p = LParamPoint(Message.LParam);
  TdxBarItemControl* control = PtInRect(GetClientRect(), p) ? GetItemControlAtPos(p) : nullptr;
  if (held && control && control == GetSelectedControl() && control->GetEnabled())
    control->Click();
}

bool TdxBarExtraPaneControl::IsInActiveChain() const
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    return menu->IsInActiveChain();
  return TdxBarControl::IsInActiveChain();
}

void TdxBarExtraPaneControl::LeaveMenuMode()
{
  if (TdxBarApplicationMenuControl* menu = GetApplicationMenuControl())
    menu->LeaveMenuMode();
  else
    TdxBarControl::LeaveMenuMode();
}

void TdxBarExtraPaneControl::CalculateViewInfo()
{
  TdxBarControl::CalculateViewInfo();
  TdxBarItemLinks* links = GetItemLinks();
  if (!links || IsDestroying())
    return;
  // One link a line, from the top, as wide as the pane; a group starts below a separator.
  const TRect client = GetClientRect();
  const int separatorSize = GetSeparatorSize();
  std::vector<TdxBarToolbarSeparator> separators;
  int y = client.top;
  const auto& shown = links->GetShownItems();
  // Links the pane has no room for yet still count in the height it asks the menu for.
  for (int i = 0; i < int(shown.size()); ++i) {
    TdxBarItemLink* link = shown[size_t(i)];
    TdxBarItemControl* control = link->GetControl();
    if (!control)
      continue;
    const bool placed = i < GetVisibleCount();
    if (y > client.top && link->GetBeginGroup() && separatorSize > 0) {
      if (placed)
        separators.push_back(TdxBarToolbarSeparator{i, TRect{client.left, y, client.right, y + separatorSize}, true});
      y += separatorSize;
    }
    const TRect r{client.left, y, client.right, y + control->CalcHeight()};
    y = r.bottom;
    if (!placed)
      continue;
    link->SetItemRect(r);
    control->GetViewInfo()->SetBounds(r);
  }
  SetSeparators(std::move(separators));
  FContentHeight = y - client.top;
  if (TCustomdxBarControlViewInfo* viewInfo = TCustomdxBarControl::GetViewInfo())
    viewInfo->Calculate();
}

void TdxBarExtraPaneControl::WndProc(TMessage& Message)
{
  // No frame: the pane's window is all client.
  if (Message.Msg == WM_NCCALCSIZE && Message.WParam) {
    Message.Result = 0;
    return;
  }
  if (Message.Msg == WM_LBUTTONUP && GetApplicationMenuControl())
    return PaneButtonUp(Message);
  TdxBarControl::WndProc(Message);
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

bool TdxBarApplicationMenuControl::GetSecondPassSize(TSize& ASize)
{
  IdxBarApplicationMenu* menu = GetApplicationMenu();
  if (!menu || IsCustomizing())
    return false;
  ASize = CalcMenuSize();
  int itemHeight = GetTextHeight();
  if (TdxBarItemLinks* links = GetItemLinks(); links && !links->GetShownItems().empty())
    if (TdxBarItemControl* control = links->GetShownItems().front()->GetControl())
      itemHeight = control->CalcHeight();
  TdxBarPainter* painter = GetPainter();
  const int menuWidth = ASize.cx > 0 ? int(ASize.cx) : EmptyMenuWidth;
  FExtraPaneWidth = dxBarCalcExtraPaneWidth(menu->GetExtraPaneWidth(), menu->GetExtraPaneWidthRatio(), menuWidth,
                                            itemHeight, painter ? painter->GetDefaultMenuItemHeight() : 0);
  ASize.cx += FExtraPaneWidth;
  ASize.cy += ButtonRowHeight();
  // The menu grows for a pane whose links need more height than its own links.
  if (TdxBarExtraPaneControl* pane = GetExtraPaneControl(); pane && FExtraPaneWidth > 0) {
    const TRect b = GetBorders();
    const int needed =
        pane->GetContentHeight() + 2 * (b.top + b.bottom) + GetDetachStripAreaHeight() + ButtonRowHeight();
    ASize.cy = std::max(int(ASize.cy), needed);
  }
  return true;
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
    bool flippedX = false, flippedY = false;
    CalcLayout(TSize{0, 0}, flippedX, flippedY);
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
  HDC dc = ACanvas->GetHandle();
  // The pane and the row are set off from the items by a line each.
  if (!IsRectEmpty(FExtraPaneRect))
    FillRectByColor(dc, TRect{FExtraPaneRect.left - 1, FExtraPaneRect.top, FExtraPaneRect.left, FExtraPaneRect.bottom},
                    clBtnShadow);
  if (!IsRectEmpty(FButtonRowRect)) {
    const int y = FButtonRowRect.top - ButtonRowInsetY;
    FillRectByColor(dc, TRect{FButtonRowRect.left - ButtonRowInsetLeft, y, FButtonRowRect.right, y + 1}, clBtnShadow);
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

TdxBarItemLinks* TdxBarApplicationMenuControl::GroupLinks(int AGroup) const
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

int TdxBarApplicationMenuControl::GetSelectedGroup() const
{
  if (TdxBarExtraPaneControl* pane = GetExtraPaneControl(); pane && pane->GetSelectedLink())
    return amgExtraPane;
  if (IsButtonRowLink(GetSelectedLink()))
    return amgButtons;
  return amgItems;
}

void TdxBarApplicationMenuControl::SelectGroupLink(int AGroup, TdxBarItemLink* ALink)
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
  const int group = GetSelectedGroup();
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
  for (int i = 0; i < 3; ++i)
    if (TdxBarItemLinks* l = GroupLinks(i))
      counts[i] = l->GetFirstSelectableLink() ? int(l->GetShownItems().size()) : 0;
  const int next = dxBarNextApplicationMenuGroup(counts, group, AForward);
  TdxBarItemLinks* target = next >= 0 ? GroupLinks(next) : nullptr;
  if (!target)
    return false;
  SelectGroupLink(next, AForward ? target->GetFirstSelectableLink() : target->GetLastSelectableLink());
  return true;
}

bool TdxBarApplicationMenuControl::BarKeyDown(WORD AKey, TShiftState AShift)
{
  if (IsCustomizing())
    return TdxBarSubMenuControl::BarKeyDown(AKey, AShift);
  const int group = GetSelectedGroup();
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
