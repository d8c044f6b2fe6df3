// The sub-item's control (a drop-down on a toolbar, a submenu entry in a menu), the
// container's control and the menu a container opens on a toolbar.
#include "bars/barwindows/barcontrol.h"
#include "bars/accessibility/baraccessibility.h"
#include "bars/barwindows/drawparams.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/itemcontrols/subitems.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarSubItemControl, TdxBarButtonLikeControl)
IMPLEMENT_CLASS(TdxBarContainerItemControl, TdxBarSubItemControl)
IMPLEMENT_CLASS(TContainerItemSubMenuControl, TdxBarSubMenuControl)

// ---------------------------------------------------------------------------
// TdxBarSubItemControl

TdxBarSubItemControl::TdxBarSubItemControl(TdxBarItemLink* AItemLink) : TdxBarButtonLikeControl(AItemLink) {}

TdxBarAccessibilityHelperClass TdxBarSubItemControl::GetAccessibilityHelperClass() const
{
  return &dxBarAccessibilityHelperClassOf<TdxBarSubItemControlAccessibilityHelper>;
}

TdxBarSubItemControl::~TdxBarSubItemControl()
{
  try {
    DoCloseUp();
  } catch (...) {
    // A control goes whatever its menu does on closing.
    HandleUnexpectedException();
  }
}

TCustomdxBarSubItem* TdxBarSubItemControl::GetSubItem() const
{
  return dynamic_cast<TCustomdxBarSubItem*>(GetItem());
}

bool TdxBarSubItemControl::WantsKey(uint16_t Key) const
{
  return TdxBarButtonLikeControl::WantsKey(Key) || Key == VK_RETURN;
}

bool TdxBarSubItemControl::KeyDown(uint16_t Key)
{
  if (!WantsKey(Key) || !IsEnabledOrDesigning())
    return false;
  ActivateByKey();
  return true;
}

void TdxBarSubItemControl::ActivateByKey()
{
  if (IsDroppedDown()) {
    // Enter on an open menu's entry closes it; Right leaves it open (the menu has the keys).
    if (!IsInMenu())
      DeactivateControl(true);
    return;
  }
  OpenByKey();
}

TdxBarItemViewLevels TdxBarSubItemControl::GetPossibleViewLevels() const
{
  return TdxBarButtonLikeControl::GetPossibleViewLevels() + ivlLargeIconWithText;
}

int TdxBarSubItemControl::GetDefaultViewParts() const
{
  TCustomdxBarSubItem* item = GetSubItem();
  int parts = 0;
  if ((item && item->GetShowCaption()) || IsInMenu())
    parts |= ivpCaption;
  if (HasImage(GetImageSizeKind()) || !(parts & ivpCaption))
    parts |= ivpGlyph;
  return parts;
}

TCustomdxBarControl* TdxBarSubItemControl::GetSubMenuControl() const
{
  TCustomdxBarSubItem* item = GetSubItem();
  TdxBarItemLinks* links = item ? item->GetItemLinks() : nullptr;
  return links ? links->GetBarControl() : nullptr;
}

bool TdxBarSubItemControl::IsDroppedDown() const
{
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetSubMenuControl());
  return FDroppedDown && menu && menu->GetOwnerItemControl() == this;
}

bool TdxBarSubItemControl::IsSelected() const
{
  TCustomdxBarControl* parent = GetParent();
  return (GetSelected() && !(parent && parent->IsCustomizing())) || IsActive();
}

void TdxBarSubItemControl::MouseDown(const TPoint&)
{
  if (!IsEnabledOrDesigning())
    return;
  // A press on an open entry of a menu keeps its menu; on a toolbar it closes it.
  if (IsDroppedDown()) {
    if (!IsInMenu())
      DeactivateControl(true);
    return;
  }
  DoDropDown(true);
}

void TdxBarSubItemControl::CalcDrawParams(bool AFull)
{
  TdxBarButtonLikeControl::CalcDrawParams(AFull);
  TdxBarButtonLikeControlDrawParams* params = GetButtonDrawParams();
  if (!params || !AFull)
    return;
  TdxBarPainter* painter = GetPainter();
  params->IsDropDown = IsInMenu();
  params->States.Selected = IsSelected();
  params->States.DroppedDown = IsDroppedDown();
  params->PaintsDroppedDown = painter && painter->IsFlatStyle();
  params->IsSplit = false;
  // The menu arrow takes the text height's width at the right, centred.
  params->ArrowWidth = 0;
  params->BarArrowSize = 0;
  params->CaptionDrawnSelected = IsCaptionDrawnSelected();
  params->CaptionInFlatSelection = IsCaptionInFlatSelection();
  if (TCustomdxBarSubItem* item = GetSubItem())
    params->GlyphLayout = item->GetGlyphLayout();
}

void TdxBarSubItemControl::Draw(const TRect& R, bool)
{
  TdxBarPainter* painter = GetPainter();
  if (!painter)
    return;
  painter->DrawButtonLikeControl(GetDrawParams(), R);
  // The entry of a menu points at the menu it opens.
  if (IsInMenu())
    painter->DrawDropDownArrow(GetDrawParams(), R);
}

int TdxBarSubItemControl::GetCaptionWidth()
{
  int width = TdxBarButtonLikeControl::GetCaptionWidth();
  TdxBarPainter* painter = GetPainter();
  if (IsInMenu() && painter)
    width += painter->GetSubItemCaptionMargin(this);
  return width;
}

void TdxBarSubItemControl::GetSubMenuPosition(TPoint& P, int& DX, int& DY) const
{
  P = TPoint{};
  DX = DY = 0;
  TCustomdxBarControl* parent = GetParent();
  if (!parent || !IsParentAlive())
    return;
  const TRect r = parent->GetItemScreenRect(this);
  if (IsInMenu()) {
    // The first entry of the new menu lines up with this entry.
    int offset = 0;
    if (auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetSubMenuControl()))
      offset = menu->GetBorders().top + menu->GetDetachStripAreaHeight();
    P = TPoint{r.right, r.top - offset};
    DX = RectWidth(r);
  } else if (GetBarKind() == bkHorizontal) {
    P = TPoint{r.left, r.bottom};
    DY = RectHeight(r);
  } else {
    P = TPoint{r.right, r.top};
    DX = RectWidth(r);
  }
}

TdxBarItemLinks* TdxBarSubItemControl::PrepareMenuLinks()
{
  TCustomdxBarSubItem* item = GetSubItem();
  return item ? item->GetItemLinks() : nullptr;
}

// Every handler on the way may free the control, the item or the form: each step checks.
void TdxBarSubItemControl::DoDropDown(bool AByMouse)
{
  TCustomdxBarSubItem* item = GetSubItem();
  if (!item || IsDroppedDown() || !IsParentAlive() || !IsEnabledOrDesigning())
    return;
  TWeakRef<TdxBarSubItemControl> self(this);
  TWeakRef<TCustomdxBarSubItem> itemRef(item);
  item->DoPopup();
  if (!self || !itemRef)
    return;
  item->Click();
  if (!self || !itemRef || IsDroppedDown() || !IsParentAlive())
    return;
  TdxBarItemLinks* links = PrepareMenuLinks();
  if (!self || !links)
    return;
  CloseSiblingMenu();
  if (!self || !IsParentAlive())
    return;
  // Links show in one window at a time: the item's menu open elsewhere closes.
  links->DestroyBarControl();
  if (!self)
    return;
  links->CreateBarControl();
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(links->GetBarControl());
  if (!menu) {
    links->DestroyBarControl();
    ReleaseMenuLinks(links);
    return;
  }
  TCustomdxBarControl* parent = GetParent();
  TWeakRef<TCustomdxBarControl> parentRef(parent);
  TWeakRef<TdxBarSubMenuControl> menuRef(menu);
  FDroppedDown = true;
  menu->SetOwnerItemControl(this);
  menu->SetParentBarControl(parent);
  TPoint p;
  int dx = 0, dy = 0;
  GetSubMenuPosition(p, dx, dy);
  menu->SetOwnerWidth(dx);
  menu->SetOwnerHeight(dy);
  Repaint();
  // Opened from the keyboard: the menu window starts with its first link selected.
  parent->SetMenuShownByKeyboard(!AByMouse);
  TFinally unmark([&]() noexcept {
    if (TCustomdxBarControl* bar = parentRef.Get())
      bar->SetMenuShownByKeyboard(false);
  });
  try {
    menu->SetBounds(p.x, p.y, 0, 0);
    menu->Popup();
  } catch (...) {
    if (TdxBarSubMenuControl* open = menuRef.Get(); open && !open->IsDestroying())
      open->Free();
    if (self) {
      FDroppedDown = false;
      Repaint();
    }
    throw;
  }
}

void TdxBarSubItemControl::DoCloseUp()
{
  if (!FDroppedDown)
    return;
  FDroppedDown = false;
  // However the menu went (a command closing every menu, too), the entry is no longer the one
  // in use; left active, it would stay drawn selected on its bar.
  TdxBarItemControl::Deactivate();
  TWeakRef<TdxBarSubItemControl> self(this);
  TWeakRef<TCustomdxBarSubItem> item(GetSubItem());
  TdxBarItemLinks* links = item ? item->GetItemLinks() : nullptr;
  if (auto* menu = dynamic_cast<TdxBarSubMenuControl*>(links ? links->GetBarControl() : nullptr);
      menu && menu->GetOwnerItemControl() == this) {
    menu->SetOwnerItemControl(nullptr);
    if (!menu->IsDestroying() && !menu->IsMenuClosing())
      links->DestroyBarControl();
  }
  if (self && IsParentAlive())
    Repaint();
  if (TCustomdxBarSubItem* subItem = item.Get())
    subItem->DoCloseUp();
}

// ---------------------------------------------------------------------------
// TdxBarContainerItemControl

TCustomdxBarContainerItem* TdxBarContainerItemControl::GetContainerItem() const
{
  return dynamic_cast<TCustomdxBarContainerItem*>(GetItem());
}

bool TdxBarContainerItemControl::WantsDoubleClick() const
{
  TdxBarManager* manager = GetBarManager();
  return !(manager && manager->IsCustomizing());
}

bool TdxBarContainerItemControl::IsSelected() const
{
  TCustomdxBarControl* parent = GetParent();
  return !(parent && parent->IsCustomizing()) && TdxBarSubItemControl::IsSelected();
}

const String& TdxBarContainerItemControl::GetCaption() const
{
  const String& caption = TdxBarSubItemControl::GetCaption();
  TCustomdxBarContainerItem* item = GetContainerItem();
  // The entry that stands for the expanded content of a menu while it is customized.
  if (!(IsInMenu() && item && item->IsListedAsGroup()))
    return caption;
  FGroupCaption = L"(" + caption + L")";
  return FGroupCaption;
}

TdxBarItemLinks* TdxBarContainerItemControl::PrepareMenuLinks()
{
  TCustomdxBarContainerItem* item = GetContainerItem();
  TdxBarItemLinks* links = item ? item->GetItemLinks() : nullptr;
  if (!links)
    return nullptr;
  TdxBarManager* manager = GetBarManager();
  if (!IsInMenu() && !(manager && manager->IsCustomizing())) {
    TWeakRef<TCustomdxBarContainerItem> itemRef(item);
    item->AddListedItemLinks(links, links->Count(), 0, true);
    if (!itemRef)
      return nullptr;
  }
  return links;
}

void TdxBarContainerItemControl::ReleaseMenuLinks(TdxBarItemLinks* ALinks)
{
  if (TCustomdxBarContainerItem* item = GetContainerItem())
    item->DeleteListedItemLinks(ALinks, 0);
}

// ---------------------------------------------------------------------------
// TContainerItemSubMenuControl

TContainerItemSubMenuControl::~TContainerItemSubMenuControl()
{
  if (TCustomdxBarContainerItem* item = FContainerItem.Get())
    item->SetMenuClosed(true);
}

void TContainerItemSubMenuControl::DoCloseUp()
{
  if (TCustomdxBarContainerItem* item = FContainerItem.Get())
    if (TdxBarItemLinks* links = GetItemLinks())
      item->DeleteListedItemLinks(links, 0);
  TdxBarSubMenuControl::DoCloseUp();
}
