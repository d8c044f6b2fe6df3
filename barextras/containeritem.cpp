// The control container item, its host form and its item control.
#include "barextras/containeritem.h"

#include <algorithm>
#include <vector>

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/drawparams.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/utils/utils.h"
#include "platform/Scope.h"

PUBLISHED(TdxBarControlContainerItem, TdxBarItem)
{
  using I = TdxBarControlContainerItem;
  p.Component(L"Control", &I::GetControl, &I::SetControl);
}

IMPLEMENT_CLASS(TPlaceForm, TCustomForm)
IMPLEMENT_CLASS(TdxBarControlContainerControl, TdxBarItemControl)

namespace {

// Every item that holds a control, whatever its manager: two items hooking one control's
// window procedure would each restore what the other installed, and the control would end
// up calling into an item already freed.
std::vector<TdxBarControlContainerItem*>& HoldingItems()
{
  static std::vector<TdxBarControlContainerItem*> items;
  return items;
}

bool IsHeldByOther(const TdxBarControlContainerItem* AItem, const TControl* AControl)
{
  const auto& items = HoldingItems();
  return std::any_of(items.begin(), items.end(), [&](const TdxBarControlContainerItem* AOther) {
    return AOther != AItem && AOther->GetControl() == AControl;
  });
}

}  // namespace

// ---------------------------------------------------------------------------
// TPlaceForm

TPlaceForm::TPlaceForm(TComponent* AOwner) : TCustomForm(AOwner)
{
  SetBorderStyle(bsNone);
  SetPosition(poDesigned);
  SetVisible(false);
}

void TPlaceForm::WMEraseBkgnd(TMessage& Message)
{
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  TdxBarControlContainerControl* control = FItemControl.Get();
  TCustomdxBarControl* bar = control ? control->GetParent() : nullptr;
  if (dc && bar && control->IsHostOnThisBar()) {
    // The bar's own background, drawn in the bar's coordinates so bitmaps and gradients
    // line up with what surrounds the host.
    const TRect r = control->GetItemRect();
    POINT old{};
    ::OffsetViewportOrgEx(dc, -r.left, -r.top, &old);
    bar->FillBackground(dc, r, bar->GetBackgroundBrush());
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
  } else if (dc) {
    const TRect r = GetClientRect();
    ::FillRect(dc, &r, GetBrush()->GetHandle());
  }
  Message.Result = 1;
}

// ---------------------------------------------------------------------------
// TdxBarControlContainerItem

TdxBarControlContainerItem::TdxBarControlContainerItem(TComponent* AOwner) : TdxBarItem(AOwner)
{
  FPlaceForm = TCustomForm::CreateNew<TPlaceForm>(nullptr);
}

TdxBarControlContainerItem::~TdxBarControlContainerItem()
{
  SetControl(nullptr);
  std::erase(HoldingItems(), this);
  if (TPlaceForm* form = FPlaceForm) {
    FPlaceForm = nullptr;
    form->Free();
  }
}

void TdxBarControlContainerItem::BeforeDestruction()
{
  TdxBarItem::BeforeDestruction();
  SetControl(nullptr);
}

void TdxBarControlContainerItem::Notification(TComponent* AComponent, TOperation Operation)
{
  TdxBarItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl)
    SetControl(nullptr);
}

void TdxBarControlContainerItem::SetName(const String& NewName)
{
  TdxBarItem::SetName(NewName);
  // The placeholder shows the name.
  if (!FControl && !IsLoading())
    RebuildBars();
}

bool TdxBarControlContainerItem::HasAccel(const TdxBarItemLink* ALink) const
{
  TCustomdxBarControl* bar = ALink ? ALink->GetBarControl() : nullptr;
  return bar && bar->GetKind() == bckQuickCustomizing && TdxBarItem::HasAccel(ALink);
}

void TdxBarControlContainerItem::SetControl(TControl* Value)
{
  if (FControl == Value)
    return;
  if (Value && IsHeldByOther(this, Value))
    throw Exception(GetResourceString(sdxBarOneContainerPerControl));
  // A form, or a control that holds the bars themselves, would become a child of its own
  // child once placed.
  if (auto* window = dynamic_cast<TWinControl*>(Value)) {
    TdxBarManager* manager = GetBarManager();
    TWinControl* site = manager ? manager->GetParentControl() : nullptr;
    if (window->AsForm() || (site && window->ContainsControl(site)))
      throw EInvalidOperation(L"A control container item cannot hold a form or a control its bars sit on");
  }
  if (TControl* old = FControl) {
    UnhookControl();
    FControl = nullptr;
    std::erase(HoldingItems(), this);
    old->RemoveFreeNotification(this);
    TdxBarManager* manager = GetBarManager();
    const bool designing = manager && manager->IsDesigning();
    if (!old->ComponentState().Contains(csDestroying) && !designing)
      old->SetParent(nullptr);
  }
  if (Value) {
    FControl = Value;
    HoldingItems().push_back(this);
    Value->FreeNotification(this);
    HookControl();
    FControlWidth = Value->GetWidth();
    FControlHeight = Value->GetHeight();
  }
  if (FPlaceForm && !FControl)
    HideHostedControl();
  if (!IsDestroying())
    RebuildBars();
}

void TdxBarControlContainerItem::HookControl()
{
  auto hook = std::make_shared<TControlHook>();
  hook->Item = this;
  hook->Saved = FControl->GetWindowProc();
  FHook = hook;
  FHookProc = TWndMethod([hook](TMessage& Message) {
    if (hook->Item)
      hook->Item->ControlWndProc(Message);
    else if (const TWndMethod saved = hook->Saved; saved.Assigned())
      saved(Message);
  });
  FControl->SetWindowProc(FHookProc);
}

void TdxBarControlContainerItem::UnhookControl()
{
  if (!FHook)
    return;
  // Only our own procedure is taken out: whoever hooked the control after us keeps theirs,
  // and the copy of ours it calls forwards to the one we replaced from now on.
  if (FControl->GetWindowProc() == FHookProc)
    FControl->SetWindowProc(FHook->Saved);
  FHook->Item = nullptr;
  FHook.reset();
  FHookProc = TWndMethod();
}

void TdxBarControlContainerItem::ControlWndProc(TMessage& Message)
{
  TControl* control = FControl;
  const std::shared_ptr<TControlHook> hook = FHook;
  if (!control || !hook || !hook->Saved.Assigned())
    return;
  TWeakRef<TdxBarControlContainerItem> self(this);
  if (Message.Msg == CM_RECREATEWND) {
    // The control's own handling runs unhooked, and whatever procedure it ends with is
    // the one chained to afterwards.
    const TWndMethod own = hook->Saved;
    control->SetWindowProc(own);
    own(Message);
    if (self && FControl == control && FHook == hook) {
      hook->Saved = control->GetWindowProc();
      control->SetWindowProc(FHookProc);
    }
    return;
  }
  const TWndMethod saved = hook->Saved;
  saved(Message);
  if (!self || FControl != control || IsPlacing())
    return;
  const bool sized = Message.Msg == WM_SIZE || (Message.Msg == WM_WINDOWPOSCHANGED && Message.LParam == 0);
  if (!sized || (control->GetWidth() == FControlWidth && control->GetHeight() == FControlHeight))
    return;
  FControlWidth = control->GetWidth();
  FControlHeight = control->GetHeight();
  RebuildBars();
}

bool TdxBarControlContainerItem::IsPlacing() const
{
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemLink* link = GetLink(i))
      if (auto* control = dynamic_cast<TdxBarControlContainerControl*>(link->GetControl());
          control && control->IsPlacing())
        return true;
  return false;
}

void TdxBarControlContainerItem::SetHostVisible(bool Value)
{
  if (FPlaceForm && FPlaceForm->GetVisible() != Value)
    FPlaceForm->SetVisible(Value);
}

void TdxBarControlContainerItem::HideHostedControl()
{
  if (!FPlaceForm)
    return;
  TdxBarControlContainerControl* holder = FPlaceForm->GetItemControl();
  SetHostVisible(false);
  FPlaceForm->SetItemControl(nullptr);
  // Off the bar window before that window can go and take the host's window with it.
  FPlaceForm->SetParentWindow(nullptr);
  if (!holder || IsDestroying())
    return;
  // A link on another bar showed the placeholder while this one held the control: it
  // takes the control over at its next paint.
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TdxBarControlContainerControl*>(GetLink(i)->GetControl());
        control && control != holder && control->IsHosted())
      control->Repaint();
}

// ---------------------------------------------------------------------------
// TdxBarControlContainerControl

TdxBarControlContainerControl::~TdxBarControlContainerControl()
{
  TdxBarControlContainerItem* item = GetContainerItem();
  TPlaceForm* form = item ? item->GetPlaceForm() : nullptr;
  if (!form || form->GetItemControl() != this)
    return;
  try {
    // A rebuild makes a new control that places the host again at once; otherwise the bar
    // window may go next, and the host comes off it first.
    TCustomdxBarControl* bar = IsParentAlive() ? GetParent() : nullptr;
    if (bar && !bar->IsDestroying() && (bar->GetState() & dxBarStateRebuilding)) {
      item->SetHostVisible(false);
      form->SetItemControl(nullptr);
    } else {
      item->HideHostedControl();
    }
  } catch (...) {
    HandleUnexpectedException();
  }
}

TdxBarControlContainerItem* TdxBarControlContainerControl::GetContainerItem() const
{
  return dynamic_cast<TdxBarControlContainerItem*>(GetItem());
}

bool TdxBarControlContainerControl::IsQuickCustomizing() const
{
  TCustomdxBarControl* bar = GetParent();
  return bar && bar->GetKind() == bckQuickCustomizing;
}

bool TdxBarControlContainerControl::IsHosted() const
{
  TdxBarControlContainerItem* item = GetContainerItem();
  TdxBarManager* manager = GetBarManager();
  return !IsQuickCustomizing() && item && item->GetControl() && !(manager && manager->IsDesigning());
}

bool TdxBarControlContainerControl::IsHostHeldElsewhere() const
{
  TdxBarControlContainerItem* item = GetContainerItem();
  TPlaceForm* form = item ? item->GetPlaceForm() : nullptr;
  TdxBarControlContainerControl* holder = form ? form->GetItemControl() : nullptr;
  return holder && holder != this && form->GetVisible() && holder->IsHostOnThisBar() &&
         !IsRectEmpty(holder->GetItemRect());
}

bool TdxBarControlContainerControl::IsHostOnThisBar() const
{
  TdxBarControlContainerItem* item = GetContainerItem();
  TPlaceForm* form = item ? item->GetPlaceForm() : nullptr;
  TCustomdxBarControl* bar = GetParent();
  return form && bar && bar->HandleAllocated() && form->GetParentWindow() == bar->GetHandle();
}

TWinControl* TdxBarControlContainerControl::GetHostedControl() const
{
  TdxBarControlContainerItem* item = GetContainerItem();
  return item ? dynamic_cast<TWinControl*>(item->GetControl()) : nullptr;
}

bool TdxBarControlContainerControl::CanClick() const
{
  return IsQuickCustomizing();
}

bool TdxBarControlContainerControl::CanSelect() const
{
  if (IsQuickCustomizing())
    return true;
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsDesigning();
}

void TdxBarControlContainerControl::BeforeHide()
{
  TdxBarControlContainerItem* item = GetContainerItem();
  if (item && IsHostOnThisBar() && dynamic_cast<TWinControl*>(item->GetControl()))
    item->HideHostedControl();
}

int TdxBarControlContainerControl::GetWidth()
{
  if (IsInMenu() || IsQuickCustomizing())
    return TdxBarItemControl::GetWidth();
  TdxBarControlContainerItem* item = GetContainerItem();
  if (item && item->GetControl())
    return item->GetControl()->GetWidth();
  // The placeholder's whole text fits, with room around it.
  TcxCanvas* canvas = GetCanvas();
  TCustomdxBarControl* bar = GetParent();
  TFont* font = bar ? bar->GetFont() : nullptr;
  return (canvas ? canvas->TextWidth(GetPlaceholderText()) : 0) + (font ? std::abs(font->GetSize()) : 0);
}

int TdxBarControlContainerControl::GetHeight()
{
  if (IsInMenu() || IsQuickCustomizing())
    return TdxBarItemControl::GetHeight();
  TdxBarControlContainerItem* item = GetContainerItem();
  if (item && item->GetControl())
    return item->GetControl()->GetHeight();
  TdxBarItemControlDrawParams* params = GetDrawParams();
  return std::max(GetTextHeight(), params ? int(params->GlyphSize.cy) : 0);
}

String TdxBarControlContainerControl::GetPlaceholderText() const
{
  TdxBarControlContainerItem* item = GetContainerItem();
  if (!item)
    return String();
  const String name = item->GetControl() ? item->GetControl()->Name() : item->Name();
  return GetResourceString(sdxBarPlaceForControl) + name;
}

void TdxBarControlContainerControl::Draw(const TRect& R, bool)
{
  if (IsInMenu() || IsQuickCustomizing()) {
    DrawMenuEntry(R);
    return;
  }
  // One control has one place: another link showing it keeps it, or each paint would take
  // it from the other bar, whose repaint would take it back.
  if (IsHosted() && !IsHostHeldElsewhere()) {
    PlaceControl();
    TdxBarControlContainerItem* item = GetContainerItem();
    if (TPlaceForm* form = item ? item->GetPlaceForm() : nullptr; form && form->HandleAllocated())
      ::InvalidateRect(form->GetHandle(), nullptr, TRUE);
    return;
  }
  DrawPlaceholder(R);
}

void TdxBarControlContainerControl::PlaceControl()
{
  TdxBarControlContainerItem* item = GetContainerItem();
  TCustomdxBarControl* bar = GetParent();
  if (!item || !bar || !IsHosted() || IsHostHeldElsewhere() || FPlacing || item->IsPlacing() || !bar->HandleAllocated())
    return;
  TPlaceForm* form = item->GetPlaceForm();
  TControl* control = item->GetControl();
  if (!form || !control)
    return;
  TWeakRef<TdxBarControlContainerControl> self(this);
  FPlacing = true;
  TFinally placed([&]() noexcept {
    if (self)
      FPlacing = false;
  });
  const TRect r = GetItemRect();
  const bool empty = ::IsRectEmpty(&r);
  const bool wasHere = IsHostOnThisBar();
  if (!empty || item->GetLinkCount() > 1)
    form->SetParentWindow(bar->GetHandle());
  form->SetPosition(poDesigned);
  if (!empty || !wasHere)
    form->SetBoundsRect(r);
  if (control->GetParent() != form)
    control->SetParent(form);
  if (!empty) {
    control->SetBounds(0, 0, form->GetClientWidth(), form->GetClientHeight());
    control->SetVisible(true);
    // A bar hides the window of a control its mark covers without touching its Visible.
    if (auto* window = dynamic_cast<TWinControl*>(control); window && window->HandleAllocated())
      if (HWND wnd = window->GetHandle(); !(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_VISIBLE))
        ::ShowWindow(wnd, SW_SHOWNA);
  }
  form->SetColor(dxBarBrushColor(bar->GetBackgroundBrush()));
  form->SetItemControl(this);
  item->SetHostVisible(true);
}

void TdxBarControlContainerControl::DrawPlaceholder(const TRect& R)
{
  TcxCanvas* canvas = GetCanvas();
  TCustomdxBarControl* bar = GetParent();
  HDC dc = canvas ? canvas->GetHandle() : nullptr;
  if (!dc || !bar)
    return;
  TRect r = R;
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  HBRUSH frame = ::CreateSolidBrush(shadow);
  ::FrameRect(dc, &r, frame);
  ::DeleteObject(frame);
  ::InflateRect(&r, -1, -1);
  HBRUSH hatch = ::CreateHatchBrush(HS_BDIAGONAL, shadow);
  const COLORREF oldBk = ::SetBkColor(dc, ColorToRGB(dxBarBrushColor(bar->GetBackgroundBrush())));
  const int oldMode = ::SetBkMode(dc, OPAQUE);
  ::FillRect(dc, &r, hatch);
  ::SetBkMode(dc, oldMode);
  ::SetBkColor(dc, oldBk);
  ::DeleteObject(hatch);
  if (TdxBarPainter* painter = GetPainter()) {
    TdxBarItemTextFlags flags;
    flags.Clipped = true;
    painter->DrawItemText(this, dc, GetPlaceholderText(), r, dxBarTextAlignCenter, flags, DT_SINGLELINE);
  }
}

void TdxBarControlContainerControl::DrawMenuEntry(const TRect& R)
{
  TcxCanvas* canvas = GetCanvas();
  TCustomdxBarControl* bar = GetParent();
  TdxBarPainter* painter = GetPainter();
  HDC dc = canvas ? canvas->GetHandle() : nullptr;
  if (!dc || !bar || !painter)
    return;
  const bool selected = GetSelected() && CanSelect();
  bar->FillBackground(dc, R, selected ? bar->GetHighlightBrush() : bar->GetBackgroundBrush());
  TRect text = R;
  text.left += bar->GetGlyphColumnWidth() + GetCaptionMargin();
  TdxBarItemTextFlags flags;
  flags.Enabled = GetEnabled();
  flags.Selected = selected;
  flags.FlatSelection = painter->IsFlatSelection();
  painter->DrawItemText(this, dc, GetCaption(), text, dxBarTextAlignLeft, flags, DT_SINGLELINE);
}
