// TCheckListBox: check boxes drawn before owner-drawn list items, toggled by a click on the
// box or by Space.
#include "platform/CheckLst.h"

PUBLISHED(TCheckListBox, TCustomListBox)
{
  p.Prop(L"AllowGrayed", &TCheckListBox::GetAllowGrayed, &TCheckListBox::SetAllowGrayed).Default(false);
  p.Event(L"OnClickCheck", &TCheckListBox::OnClickCheck);
}

namespace {

// The system's check box is 13 pixels; a pixel of room on each side.
constexpr int CheckSize = 13;
constexpr int CheckMargin = 2;

void CheckIndex(int Index, int Count)
{
  if (Index < 0 || Index >= Count)
    throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
}

}  // namespace

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner)
{
  FStyle = lbOwnerDrawFixed;
}

int TCheckListBox::GetCheckWidth() const
{
  return CheckSize + 2 * CheckMargin;
}

const TCheckListBox::TItemState& TCheckListBox::ItemState(int Index) const
{
  CheckIndex(Index, GetCount());
  return FStates[size_t(Index)];
}

TCheckListBox::TItemState& TCheckListBox::ItemState(int Index)
{
  CheckIndex(Index, GetCount());
  return FStates[size_t(Index)];
}

bool TCheckListBox::GetChecked(int Index) const
{
  return ItemState(Index).State == cbChecked;
}

void TCheckListBox::SetChecked(int Index, bool Value)
{
  SetState(Index, Value ? cbChecked : cbUnchecked);
}

TCheckBoxState TCheckListBox::GetState(int Index) const
{
  return ItemState(Index).State;
}

void TCheckListBox::SetState(int Index, TCheckBoxState Value)
{
  TItemState& state = ItemState(Index);
  if (Value < cbUnchecked || Value > cbGrayed || state.State == Value)
    return;
  state.State = Value;
  InvalidateItem(Index);
}

bool TCheckListBox::GetItemEnabled(int Index) const
{
  return ItemState(Index).Enabled;
}

void TCheckListBox::SetItemEnabled(int Index, bool Value)
{
  TItemState& state = ItemState(Index);
  if (state.Enabled == Value)
    return;
  state.Enabled = Value;
  InvalidateItem(Index);
}

void TCheckListBox::CheckAll(TCheckBoxState AState, bool AllowGrayed, bool AllowDisabled)
{
  for (int i = 0; i < GetCount(); ++i)
    if ((AllowGrayed || FStates[size_t(i)].State != cbGrayed) && (AllowDisabled || FStates[size_t(i)].Enabled))
      SetState(i, AState);
}

void TCheckListBox::ToggleClickCheck(int Index)
{
  if (Index < 0 || Index >= GetCount() || !FStates[size_t(Index)].Enabled)
    return;
  TCheckBoxState next = cbUnchecked;
  // clang-format off
  switch (FStates[size_t(Index)].State) {
    case cbUnchecked: next = FAllowGrayed ? cbGrayed : cbChecked; break;
    case cbGrayed: next = cbChecked; break;
    case cbChecked: next = cbUnchecked; break;
  }
  // clang-format on
  SetState(Index, next);
  ClickCheck();
}

void TCheckListBox::ClickCheck()
{
  CallEvent(OnClickCheck, this);
}

void TCheckListBox::InvalidateItem(int Index)
{
  if (!HandleAllocated())
    return;
  TRect r = ItemRect(Index);
  ::InvalidateRect(FHandle, &r, FALSE);
}

void TCheckListBox::CreateParams(TCreateParams& Params)
{
  // The boxes are drawn by the list: it is always owner-drawn.
  if (FStyle == lbStandard)
    FStyle = lbOwnerDrawFixed;
  FItemHeight = std::max(FItemHeight, CheckSize + CheckMargin);
  TCustomListBox::CreateParams(Params);
}

void TCheckListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
  TCanvas* canvas = GetCanvas();
  TRect box = Rect;
  box.right = box.left + GetCheckWidth();
  if (Index >= 0 && Index < GetCount()) {
    const TItemState& item = FStates[size_t(Index)];
    // The box stands on the list's colour even when the item is selected.
    TColor textColor = canvas->GetFont()->GetColor();
    TColor brushColor = canvas->GetBrush()->GetColor();
    canvas->GetBrush()->SetColor(FColor);
    canvas->FillRect(box);
    RECT check{box.left + CheckMargin, Rect.top + (RectHeight(Rect) - CheckSize) / 2, 0, 0};
    check.right = check.left + CheckSize;
    check.bottom = check.top + CheckSize;
    UINT flags = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (item.State == cbChecked)
      flags |= DFCS_CHECKED;
    else if (item.State == cbGrayed)
      flags = DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_FLAT;
    if (!item.Enabled || !IsEnabledInParents())
      flags |= DFCS_INACTIVE;
    ::DrawFrameControl(canvas->GetHandle(), &check, DFC_BUTTON, flags);
    canvas->GetBrush()->SetColor(brushColor);
    canvas->GetFont()->SetColor(item.Enabled ? textColor : TColor(clGrayText));
  }
  TRect text = Rect;
  text.left = box.right;
  TCustomListBox::DrawItem(Index, text, State);
}

void TCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (Button == mbLeft) {
    int index = ItemAtPos(Point(X, Y), true);
    if (index >= 0 && X - ItemRect(index).left < GetCheckWidth())
      ToggleClickCheck(index);
  }
  TCustomListBox::MouseDown(Button, Shift, X, Y);
}

void TCheckListBox::KeyPress(wchar_t& Key)
{
  if (Key == L' ') {
    ToggleClickCheck(GetItemIndex());
    Key = 0;  // not a search for an item starting with a space
  }
  TCustomListBox::KeyPress(Key);
}

// The states follow the item list, which changes before the window is told. A window remade
// (or refilled after sorting) inserts the items again without changing their number.
void TCheckListBox::WindowInsert(int Index, const String& S)
{
  if (size_t(GetCount()) > FStates.size())
    FStates.insert(FStates.begin() + std::min<size_t>(size_t(Index), FStates.size()), TItemState{});
  TCustomListBox::WindowInsert(Index, S);
}

void TCheckListBox::WindowDelete(int Index)
{
  if (size_t(GetCount()) < FStates.size() && size_t(Index) < FStates.size())
    FStates.erase(FStates.begin() + Index);
  TCustomListBox::WindowDelete(Index);
}

void TCheckListBox::WindowClear()
{
  if (GetCount() == 0)
    FStates.clear();
  TCustomListBox::WindowClear();
}

void TCheckListBox::ItemsReordered(const std::vector<int>& OldIndex)
{
  std::vector<TItemState> states(OldIndex.size());
  for (size_t j = 0; j < OldIndex.size(); ++j)
    if (OldIndex[j] >= 0 && size_t(OldIndex[j]) < FStates.size())
      states[j] = FStates[size_t(OldIndex[j])];
  FStates = std::move(states);
  Invalidate();
}
