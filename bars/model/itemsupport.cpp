// The bar item's action link and styles data.
#include "bars/model/itemsupport.h"

#include <algorithm>

#include "bars/model/items.h"
#include "platform/GraphicsObjects.h"

IMPLEMENT_CLASS(TdxBarItemActionLink, TActionLink)
IMPLEMENT_CLASS(TdxBarItemStylesData, TcxInterfacedPersistent)

// ---------------------------------------------------------------------------
// TdxBarItemActionLink
//
// The action tells its links before it stores a new value, so an "is linked" test
// compares the item with the action's old value: an item that still shows it follows.

TdxBarItemActionLink::TdxBarItemActionLink(TdxBarItem* AClient) : TActionLink(AClient), FClient(AClient) {}

bool TdxBarItemActionLink::IsCaptionLinked() const
{
  return TActionLink::IsCaptionLinked() && FClient && FClient->GetCaption() == CustomAction()->Caption();
}

bool TdxBarItemActionLink::IsCheckedLinked() const
{
  return TActionLink::IsCheckedLinked() && FClient && FClient->HasActionChecked() &&
         FClient->GetActionChecked() == CustomAction()->Checked();
}

bool TdxBarItemActionLink::IsEnabledLinked() const
{
  // The stored value: the customizing answer of the getter is not the item's own.
  return TActionLink::IsEnabledLinked() && FClient && FClient->GetEnabledValue() == CustomAction()->Enabled();
}

bool TdxBarItemActionLink::IsHelpContextLinked() const
{
  return TActionLink::IsHelpContextLinked() && FClient && FClient->GetHelpContext() == CustomAction()->HelpContext();
}

bool TdxBarItemActionLink::IsHintLinked() const
{
  return TActionLink::IsHintLinked() && FClient &&
         (FClient->GetHint() == CustomAction()->Hint() || FClient->IsHintDerivedFromCaption());
}

bool TdxBarItemActionLink::IsImageIndexLinked() const
{
  return TActionLink::IsImageIndexLinked() && FClient && FClient->GetActionImageIndex() == CustomAction()->ImageIndex();
}

bool TdxBarItemActionLink::IsShortCutLinked() const
{
  return TActionLink::IsShortCutLinked() && FClient && FClient->GetShortCut() == CustomAction()->ShortCut();
}

bool TdxBarItemActionLink::IsVisibleLinked() const
{
  if (!TActionLink::IsVisibleLinked() || !FClient)
    return false;
  return FClient->GetEffectiveVisible() == (CustomAction()->Visible() ? ivAlways : ivNever);
}

bool TdxBarItemActionLink::IsOnExecuteLinked() const
{
  return TActionLink::IsOnExecuteLinked() && FClient && FAction && FClient->GetOnClick() == FAction->OnExecute();
}

void TdxBarItemActionLink::SetCaption(const String& Value)
{
  if (IsCaptionLinked())
    FClient->SetCaption(Value);
}

void TdxBarItemActionLink::SetChecked(bool Value)
{
  if (IsCheckedLinked())
    FClient->SetActionChecked(Value);
}

void TdxBarItemActionLink::SetEnabled(bool Value)
{
  if (IsEnabledLinked())
    FClient->SetEnabled(Value);
}

void TdxBarItemActionLink::SetHelpContext(THelpContext Value)
{
  if (IsHelpContextLinked())
    FClient->SetHelpContext(Value);
}

void TdxBarItemActionLink::SetHint(const String& Value)
{
  if (IsHintLinked())
    FClient->SetHint(Value);
}

void TdxBarItemActionLink::SetImageIndex(TImageIndex Value)
{
  if (IsImageIndexLinked())
    FClient->SetActionImageIndex(Value);
}

void TdxBarItemActionLink::SetShortCut(TShortCut Value)
{
  if (IsShortCutLinked())
    FClient->SetShortCut(Value);
}

void TdxBarItemActionLink::SetVisible(bool Value)
{
  if (IsVisibleLinked())
    FClient->SetVisible(Value ? ivAlways : ivNever);
}

void TdxBarItemActionLink::SetOnExecute(const TNotifyEvent& Value)
{
  if (IsOnExecuteLinked())
    FClient->SetOnClick(Value);
}

// ---------------------------------------------------------------------------
// TdxBarItemStylesData

namespace {

// The order in which a batch's pending kind may only grow.
int StyleChangeRank(TdxBarItemStyleChange Kind)
{
  switch (Kind) {
    case iscNone:
      return 0;
    case iscRepaint:
      return 1;
    case iscRecalculate:
      return 2;
  }
  return 0;
}

constexpr size_t kMaxFontNameLength = 31;

}  // namespace

TdxBarItemStylesData::TdxBarItemStylesData(TPersistent* AOwner, int ACount)
    : TcxInterfacedPersistent(AOwner), FSlots(size_t(std::max(ACount, 0)))
{
}

TdxBarItemStylesData::~TdxBarItemStylesData()
{
  FDestroying = true;
  for (TSlot& slot : FSlots)
    if (slot.Style) {
      TcxStyle* style = slot.Style;
      slot.Style = nullptr;
      if (!IsStyleUsed(style, -1))
        style->RemoveListener(this);
    }
}

TcxStyle* TdxBarItemStylesData::GetStyle(int Index) const
{
  return Index >= 0 && Index < GetCount() ? FSlots[size_t(Index)].Style : nullptr;
}

bool TdxBarItemStylesData::IsStyleUsed(TcxStyle* AStyle, int ExceptIndex) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (i != ExceptIndex && FSlots[size_t(i)].Style == AStyle)
      return true;
  return false;
}

void TdxBarItemStylesData::SetStyle(int Index, TcxStyle* Value)
{
  if (Index < 0 || Index >= GetCount() || FSlots[size_t(Index)].Style == Value)
    return;
  TcxStyle* old = FSlots[size_t(Index)].Style;
  FSlots[size_t(Index)].Style = Value;
  if (old && !IsStyleUsed(old, -1))
    old->RemoveListener(this);
  if (Value && !IsStyleUsed(Value, Index))
    Value->AddListener(this);
  RefreshSlot(Index);
}

void TdxBarItemStylesData::BeginUpdate()
{
  if (FUpdateCount++ == 0)
    FPendingKind = iscNone;
}

void TdxBarItemStylesData::EndUpdate()
{
  if (FUpdateCount == 0 || --FUpdateCount > 0)
    return;
  TdxBarItemStyleChange kind = FPendingKind;
  FPendingKind = iscNone;
  if (kind != iscNone)
    CallEvent(OnChange, this, kind);
}

void TdxBarItemStylesData::Report(TdxBarItemStyleChange Kind)
{
  if (Kind == iscNone)
    return;
  if (FUpdateCount > 0) {
    if (StyleChangeRank(Kind) > StyleChangeRank(FPendingKind))
      FPendingKind = Kind;
    return;
  }
  CallEvent(OnChange, this, Kind);
}

// Compares what the slot saw last with what its style holds now, remembers the new state
// and reports the strongest change: a font change needs a new layout, a colour a repaint.
void TdxBarItemStylesData::RefreshSlot(int Index)
{
  if (FDestroying)
    return;
  TSlot& slot = FSlots[size_t(Index)];
  TSlot fresh;
  fresh.Style = slot.Style;
  if (TcxStyle* style = slot.Style) {
    TcxStyleValues assigned = style->GetAssignedValues();
    fresh.AssignedValues = assigned * TcxStyleValues{svColor, svFont, svTextColor};
    if (assigned.Contains(svColor))
      fresh.Color = style->GetColor();
    if (assigned.Contains(svTextColor))
      fresh.TextColor = style->GetTextColor();
    if (assigned.Contains(svFont)) {
      TFont* font = style->GetFont();
      fresh.FontHeight = font->GetHeight();
      fresh.FontOrientation = font->GetOrientation();
      fresh.FontPitch = uint8_t(font->GetPitch());
      fresh.FontStyle = uint8_t(font->GetStyle().Mask());
      fresh.FontCharset = font->GetCharset();
      fresh.FontName = font->GetName().substr(0, kMaxFontNameLength);
    }
  }
  auto flagChanged = [&](TcxStyleValue Value) {
    return slot.AssignedValues.Contains(Value) != fresh.AssignedValues.Contains(Value);
  };
  auto either = [&](TcxStyleValue Value) {
    return slot.AssignedValues.Contains(Value) || fresh.AssignedValues.Contains(Value);
  };
  bool repaint =
      (either(svColor) && (flagChanged(svColor) || ColorToRGB(slot.Color) != ColorToRGB(fresh.Color))) ||
      (either(svTextColor) && (flagChanged(svTextColor) || ColorToRGB(slot.TextColor) != ColorToRGB(fresh.TextColor)));
  bool recalculate = either(svFont) && (flagChanged(svFont) || slot.FontHeight != fresh.FontHeight ||
                                        slot.FontOrientation != fresh.FontOrientation ||
                                        slot.FontPitch != fresh.FontPitch || slot.FontStyle != fresh.FontStyle ||
                                        slot.FontCharset != fresh.FontCharset || slot.FontName != fresh.FontName);
  slot = fresh;
  if (recalculate)
    Report(iscRecalculate);
  else if (repaint)
    Report(iscRepaint);
}

void TdxBarItemStylesData::StyleChanged(TcxStyle* Sender)
{
  if (FDestroying)
    return;
  BeginUpdate();
  for (int i = 0; i < GetCount(); ++i)
    if (FSlots[size_t(i)].Style == Sender)
      RefreshSlot(i);
  EndUpdate();
}

void TdxBarItemStylesData::StyleRemoved(TcxStyle* Sender)
{
  if (FDestroying)
    return;
  BeginUpdate();
  for (int i = 0; i < GetCount(); ++i)
    if (FSlots[size_t(i)].Style == Sender)
      SetStyle(i, nullptr);
  EndUpdate();
}
