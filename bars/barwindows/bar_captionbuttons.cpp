// The buttons of a bar's caption: their states as the bar window tracks the mouse, hit
// testing, and the change notification that reaches the bar.
#include "bars/model/bar.h"

#include "bars/barwindows/toolbar.h"

IMPLEMENT_CLASS(TdxBarCaptionButtons, TCollection)

PUBLISHED(TdxBarCaptionButton, TCollectionItem)
{
  using B = TdxBarCaptionButton;
  p.Prop(L"Enabled", &B::GetEnabled, &B::SetEnabled).Default(true);
  p.Object(L"Glyph", &B::GetGlyph, &B::SetGlyph);
  p.Prop(L"Hint", &B::GetHintText, &B::SetHint);
  p.Prop(L"KeyTip", &B::GetKeyTip, &B::SetKeyTip);
  p.Component(L"ScreenTip", &B::GetScreenTip, &B::SetScreenTip);
  p.Event(L"OnClick", &B::OnClick);
}

TdxBarCaptionButton::TdxBarCaptionButton(TCollection* ACollection) : TCollectionItem(ACollection)
{
  FGlyph = std::make_unique<TBitmap>();
  FGlyph->OnChange = TNotifyEvent(this, &TdxBarCaptionButton::GlyphChanged);
}

TdxBarCaptionButton::~TdxBarCaptionButton() = default;

void TdxBarCaptionButton::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TdxBarCaptionButton*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetEnabled(source->FEnabled);
  SetGlyph(source->GetGlyph());
  FHint = source->FHint;
  FKeyTip = source->FKeyTip;
  FScreenTip = source->FScreenTip;
  OnClick = source->OnClick;
}

void TdxBarCaptionButton::Click()
{
  CallEvent(OnClick, this);
}

TdxBarCaptionButtons* TdxBarCaptionButton::GetCaptionButtons() const
{
  return static_cast<TdxBarCaptionButtons*>(Collection());
}

bool TdxBarCaptionButton::GetHint(String& AHint) const
{
  if (FState != bsHot)
    return false;
  AHint = FHint;
  return true;
}

void TdxBarCaptionButton::SetEnabled(bool Value)
{
  if (FEnabled == Value)
    return;
  FEnabled = Value;
  SetState(Value ? bsNormal : bsDisabled);
}

void TdxBarCaptionButton::SetGlyph(TBitmap* Value)
{
  FGlyph->Assign(Value);
}

void TdxBarCaptionButton::GlyphChanged(TObject*)
{
  Changed(false);
}

void TdxBarCaptionButton::SetState(int Value)
{
  if (FState == Value)
    return;
  FState = Value;
  TdxBar* bar = GetCaptionButtons() ? GetCaptionButtons()->GetBar() : nullptr;
  if (TdxBarManager* manager = bar && bar->GetControl() ? bar->GetBarManager() : nullptr)
    manager->ActivateCaptionButtonHint(Value == bsHot, this);
  Changed(false);
}

std::unique_ptr<TdxBarCustomHintViewInfo> TdxBarCaptionButton::CreateHintViewInfo(const String& AText,
                                                                                  const String& AShortCut)
{
  TdxBar* bar = GetCaptionButtons() ? GetCaptionButtons()->GetBar() : nullptr;
  TdxBarControl* control = bar ? bar->GetControl() : nullptr;
  return control ? control->CreateHintViewInfo(AText, AShortCut, GetScreenTip()) : nullptr;
}

TPoint TdxBarCaptionButton::GetHintPosition(const TPoint& ACursorPos)
{
  TdxBar* bar = GetCaptionButtons() ? GetCaptionButtons()->GetBar() : nullptr;
  TdxBarControl* control = bar ? bar->GetControl() : nullptr;
  return control ? control->GetHintPosition(ACursorPos) : ACursorPos;
}

// ---------------------------------------------------------------------------

TdxBarCaptionButtons::TdxBarCaptionButtons(TdxBar* ABar) : TCollection(TdxBarCaptionButton::StaticClass()), FBar(ABar)
{
}

TPersistent* TdxBarCaptionButtons::GetOwner() const
{
  return FBar;
}

int TdxBarCaptionButtons::IndexOfButtonAt(const TPoint& P) const
{
  for (int i = 0; i < GetCount(); ++i) {
    TdxBarCaptionButton* button = GetItem(i);
    if (button->IsEnabled() && PtInRect(button->GetRect(), P))
      return i;
  }
  return -1;
}

TRect TdxBarCaptionButtons::GetButtonsRect() const
{
  TRect result{};
  for (int i = 0; i < GetCount(); ++i) {
    TRect r = GetItem(i)->GetRect();
    if (IsRectEmpty(r))
      continue;
    result = IsRectEmpty(result) ? r : UnionRect(result, r);
  }
  return result;
}

void TdxBarCaptionButtons::UpdateButtonStates(const TPoint& P, bool Pressed)
{
  for (int i = 0; i < GetCount(); ++i) {
    TdxBarCaptionButton* button = GetItem(i);
    if (!button->IsEnabled())
      continue;
    if (!PtInRect(button->GetRect(), P))
      button->SetState(TdxBarCaptionButton::bsNormal);
    else
      button->SetState(Pressed ? TdxBarCaptionButton::bsPressed : TdxBarCaptionButton::bsHot);
  }
}

void TdxBarCaptionButtons::Update(TCollectionItem* Item)
{
  TCollection::Update(Item);
  CallEvent(OnChanged, this, static_cast<TdxBarCaptionButton*>(Item));
}
