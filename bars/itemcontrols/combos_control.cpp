// The combo controls: the drop-down button, opening and closing the list, the keys that go
// to the open list, and stepping through the items with the list closed.
#include "bars/itemcontrols/combos.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/dropdownlistbox.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"

IMPLEMENT_CLASS(TCustomdxBarComboControl, TdxBarEditControl)
IMPLEMENT_CLASS(TdxBarComboControl, TCustomdxBarComboControl)

// ---------------------------------------------------------------------------
// TCustomdxBarComboControl

TCustomdxBarComboControl::~TCustomdxBarComboControl()
{
  SetDroppedDown(false);
}

TCustomdxBarCombo* TCustomdxBarComboControl::GetCombo() const
{
  return dynamic_cast<TCustomdxBarCombo*>(GetItem());
}

void TCustomdxBarComboControl::CalcDrawParams(bool AFull)
{
  TdxBarEditControl::CalcDrawParams(AFull);
  if (TdxBarEditLikeControlDrawParams* params = GetEditDrawParams()) {
    TdxBarPainter* painter = GetPainter();
    params->ButtonWidth = painter ? painter->GetButtonArrowWidth(GetBarManager()) : 0;
    params->DroppedDown = FDroppedDown;
  }
}

void TCustomdxBarComboControl::CalcPainterParts(std::vector<TRect>& AParts)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->CalcComboParts(GetDrawParams(), GetItemRect(), AParts);
}

TRect TCustomdxBarComboControl::GetDropDownRect() const
{
  const std::vector<TRect>& parts = GetPartRects();
  return parts.size() > size_t(dxBarComboPartButton) ? parts[dxBarComboPartButton] : TRect{};
}

void TCustomdxBarComboControl::DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->DrawComboButton(AParams, GetDropDownRect());
  TdxBarEditControl::DrawTextArea(AParams);
}

bool TCustomdxBarComboControl::IsTextDrawnByPainter() const
{
  TCustomdxBarCombo* combo = GetCombo();
  return TdxBarEditControl::IsTextDrawnByPainter() || (combo && !combo->GetShowEditor());
}

void TCustomdxBarComboControl::Deactivate()
{
  SetDroppedDown(false);
  TdxBarEditControl::Deactivate();
}

void TCustomdxBarComboControl::EnabledChanged()
{
  SetDroppedDown(false);
  TdxBarEditControl::EnabledChanged();
}

void TCustomdxBarComboControl::HideEditor(bool AAccept)
{
  // The list never outlives the editing.
  SetDroppedDown(false);
  TdxBarEditControl::HideEditor(AAccept);
}

bool TCustomdxBarComboControl::OwnsWindow(HWND AWnd) const
{
  if (TdxBarEditControl::OwnsWindow(AWnd))
    return true;
  TCustomdxBarCombo* combo = GetCombo();
  HWND list = FDroppedDown && combo ? combo->GetDropDownWindow() : nullptr;
  return AWnd && list && (AWnd == list || ::IsChild(list, AWnd));
}

void TCustomdxBarComboControl::SetDroppedDown(bool Value)
{
  TCustomdxBarCombo* combo = GetCombo();
  if (FDroppedDown == Value || !combo || (Value && combo->GetReadOnly()))
    return;
  FDroppedDown = Value;
  TWeakRef<TCustomdxBarComboControl> self(this);
  Repaint();
  if (!Value) {
    combo->CloseUp();
    return;
  }
  // Below the text part on a horizontal toolbar; beside the item in a menu or on a
  // vertical toolbar.
  TCustomdxBarControl* bar = GetParent();
  const TRect item = GetItemRect();
  POINT p = GetBarKind() == bkHorizontal ? POINT{GetPartRects().at(dxBarEditPartText).left, item.bottom}
                                         : POINT{item.right, item.top};
  if (bar && bar->HandleAllocated())
    ::ClientToScreen(bar->GetHandle(), &p);
  combo->DropDown(p.x, p.y);
  if (self && !::IsWindowVisible(combo->GetDropDownWindow()))
    FDroppedDown = false;  // nothing dropped down
}

bool TCustomdxBarComboControl::IsDropDownPoint(const TPoint& P) const
{
  TCustomdxBarCombo* combo = GetCombo();
  const TRect button = GetDropDownRect();
  const std::vector<TRect>& parts = GetPartRects();
  if (::PtInRect(&button, P))
    return true;
  return combo && !combo->GetShowEditor() && parts.size() > dxBarEditPartText &&
         (::PtInRect(&parts[dxBarEditPartCaption], P) || ::PtInRect(&parts[dxBarEditPartText], P));
}

void TCustomdxBarComboControl::MouseDown(const TPoint& P)
{
  if (!IsDropDownPoint(P))
    return;
  // A press on the button of an open list closes it, and its release does not open it again.
  TWeakRef<TCustomdxBarComboControl> self(this);
  const bool open = FDroppedDown;
  SetFocused(true);
  if (self)
    SetDroppedDown(!open);
}

bool TCustomdxBarComboControl::FilterSysKeyDown(WORD AKey)
{
  if (AKey == VK_UP || AKey == VK_DOWN) {
    SetDroppedDown(!FDroppedDown);
    // The Alt held with it is no Alt of its own: its release does not end editing.
    ResetSysKeyCount();
    return true;
  }
  return TdxBarEditControl::FilterSysKeyDown(AKey);
}

bool TCustomdxBarComboControl::FilterSysKeyUp(WORD AKey)
{
  if (AKey == VK_UP || AKey == VK_DOWN)
    return true;
  return TdxBarEditControl::FilterSysKeyUp(AKey);
}

void TCustomdxBarComboControl::WndProc(TMessage& Message)
{
  const UINT msg = Message.Msg;
  if (msg == WM_KEYDOWN && Message.WParam == VK_F4) {
    SetDroppedDown(!FDroppedDown);
    Message.Result = 0;
    return;
  }
  TCustomdxBarCombo* combo = GetCombo();
  // Characters stay with the editor: a character code is no key code ("(" is the code of
  // Down), and the list's stepping keys make no characters.
  if ((msg == WM_KEYDOWN || msg == WM_KEYUP) && FDroppedDown && combo) {
    HWND list = combo->GetDropDownWindow();
    if (list && combo->CheckKeyForDropDownWindow(WORD(Message.WParam), KeyDataToShiftState(Message.LParam))) {
      // Enter in the list picks an entry and may end editing, which frees this control.
      TWeakRef<TCustomdxBarComboControl> alive(this);
      Message.Result = ::SendMessageW(list, msg, Message.WParam, Message.LParam);
      if (auto* control = dynamic_cast<TdxBarComboControl*>(alive.Get()); control && msg == WM_KEYDOWN)
        control->SyncWithList();
      return;
    }
  }
  HWND wnd = GetHandle();
  TWeakRef<TCustomdxBarComboControl> self(this);
  TdxBarEditControl::WndProc(Message);
  // While editing the bar hands presses on the button to the editor: an open list closes
  // on the release, so that the press that closed it does not open it again.
  const bool press = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
  if (!self || !(press || msg == WM_LBUTTONUP) || !wnd || !::IsWindowVisible(wnd))
    return;
  TCustomdxBarControl* bar = GetParent();
  if (!bar || !bar->HandleAllocated())
    return;
  POINT p{LParamX(Message.LParam), LParamY(Message.LParam)};
  ::MapWindowPoints(wnd, bar->GetHandle(), &p, 1);
  const bool onButton = IsDropDownPoint(TPoint{p.x, p.y});
  if (press) {
    FDownWhileOpen = FDroppedDown;
    if (onButton && !FDroppedDown)
      SetDroppedDown(true);
    return;
  }
  const bool close = onButton && FDownWhileOpen;
  FDownWhileOpen = false;
  if (close)
    SetDroppedDown(false);
}

// ---------------------------------------------------------------------------
// TdxBarComboControl

TdxBarCustomCombo* TdxBarComboControl::GetCustomCombo() const
{
  return dynamic_cast<TdxBarCustomCombo*>(GetItem());
}

void TdxBarComboControl::SetFocused(bool Value)
{
  // Editing starts at the item's index, set before the editor reads its text.
  if (Value && !GetFocused())
    if (TdxBarCustomCombo* combo = GetCustomCombo())
      FItemIndex = combo->GetItemIndex();
  TCustomdxBarComboControl::SetFocused(Value);
}

String TdxBarComboControl::GetTextToRead() const
{
  TdxBarCustomCombo* combo = GetCustomCombo();
  TStrings* items = combo ? combo->GetItems() : nullptr;
  if (!items || FItemIndex < 0 || FItemIndex >= items->Count())
    return TCustomdxBarComboControl::GetTextToRead();
  return items->Get(FItemIndex);
}

void TdxBarComboControl::SetItemIndex(int Value, bool AReadText)
{
  if (FItemIndex == Value)
    return;
  FItemIndex = Value;
  if (!AReadText)
    return;
  ReadText();
  if (TdxBarCustomCombo* combo = GetCustomCombo(); combo && !combo->GetShowEditor())
    Repaint();
}

void TdxBarComboControl::Step(int ADelta)
{
  TdxBarCustomCombo* combo = GetCustomCombo();
  if (!combo)
    return;
  const int next = FItemIndex + ADelta;
  if (next < 0 || next >= combo->GetItems()->Count())
    return;
  FItemIndex = next;
  ReadText();
  if (HWND wnd = GetHandle())
    ::SendMessageW(wnd, EM_SETSEL, 0, -1);
  if (!combo->GetShowEditor())
    Repaint();
}

void TdxBarComboControl::SyncWithList()
{
  TdxBarCustomCombo* combo = GetCustomCombo();
  if (!combo || !combo->GetListBox()->HandleAllocated())
    return;
  const int index = combo->GetListBox()->GetItemIndex();
  if (index < 0 || index == FItemIndex)
    return;
  FItemIndex = index;
  ReadText();
  if (HWND wnd = GetHandle())
    ::SendMessageW(wnd, EM_SETSEL, 0, -1);
}

void TdxBarComboControl::EndEditingAfterChoice()
{
  // The choice is the item's already: the hidden editor's text is not stored again.
  TdxBarCustomCombo* combo = GetCustomCombo();
  if (combo && !combo->GetShowEditor() && GetFocused())
    ReleaseFocus(true);
}

void TdxBarComboControl::WndProc(TMessage& Message)
{
  TdxBarCustomCombo* combo = GetCustomCombo();
  if (!combo || combo->GetReadOnly())
    return TCustomdxBarComboControl::WndProc(Message);
  const WORD key = WORD(Message.WParam);
  if (Message.Msg == WM_KEYDOWN && key != VK_RETURN && key != VK_TAB && !IsDroppedDown() &&
      (key == VK_UP || key == VK_DOWN) && GetShiftState().Empty()) {
    Step(key == VK_UP ? -1 : 1);
    Message.Result = 0;
    return;
  }
  if (Message.Msg == WM_KEYDOWN && (key == VK_RETURN || key == VK_TAB) && FItemIndex >= 0 &&
      FItemIndex < combo->GetItems()->Count()) {
    TWeakRef<TdxBarComboControl> self(this);
    if (GetText() == combo->GetItems()->Get(FItemIndex))
      combo->SetItemIndex(FItemIndex);
    if (!self || !GetHandle() || !::IsWindowVisible(GetHandle()))
      return;
  }
  if (Message.Msg == WM_MOUSEWHEEL) {
    const bool up = GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0;
    if (IsDroppedDown())
      ::SendMessageW(combo->GetDropDownWindow(), WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
    else
      Step(up ? -1 : 1);
    Message.Result = 0;
    return;
  }
  TCustomdxBarComboControl::WndProc(Message);
}

String TdxBarComboControl::GetComboText() const
{
  TdxBarCustomCombo* combo = GetCustomCombo();
  return combo ? combo->GetText() : String();
}

int TdxBarComboControl::GetComboItemCount() const
{
  TdxBarCustomCombo* combo = GetCustomCombo();
  return combo ? combo->GetItems()->Count() : 0;
}

String TdxBarComboControl::GetComboItem(int AIndex) const
{
  TdxBarCustomCombo* combo = GetCustomCombo();
  if (!combo || AIndex < 0 || AIndex >= combo->GetItems()->Count())
    return GetComboText();
  return combo->GetItems()->Get(AIndex);
}
