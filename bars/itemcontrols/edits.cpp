// The window item and the edit item: text, the key events the in-place editors raise,
// the current text while a link is edited, and the edit's own properties.
#include "bars/itemcontrols/edits.h"

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "lookandfeel/cxStyles.h"
#include "platform/Classes.h"

PUBLISHED(TdxBarWindowItem, TdxBarItem)
{
  using I = TdxBarWindowItem;
  p.Event(L"OnChange", &I::OnChange);
  p.Event(L"OnCurChange", &I::OnCurChange);
  p.Event(L"OnEnter", &I::OnEnter);
  p.Event(L"OnExit", &I::OnExit);
  p.Event(L"OnKeyDown", &I::OnKeyDown);
  p.Event(L"OnKeyPress", &I::OnKeyPress);
  p.Event(L"OnKeyUp", &I::OnKeyUp);
}

PUBLISHED(TdxCustomBarEdit, TdxBarWindowItem)
{
  using I = TdxCustomBarEdit;
  p.Object(L"Glyph", &I::GetGlyph, &I::SetGlyph);
  p.Prop(L"ImageIndex", &I::GetImageIndex, &I::SetImageIndex).Default(-1).Stored(&I::IsImageIndexStored);
  p.Prop(L"ShowCaption", &I::GetShowCaption, &I::SetShowCaption).Default(false);
  p.Prop(L"Width", &I::GetWidth, &I::SetWidth).Default(100);
  p.Event(L"OnClick", &I::GetOnClick, &I::SetOnClick).Stored(&I::IsOnClickStored);
}

PUBLISHED(TdxBarEdit, TdxCustomBarEdit)
{
  using I = TdxBarEdit;
  p.Prop(L"MaxLength", &I::GetMaxLength, &I::SetMaxLength).Default(0);
  p.Prop(L"ReadOnly", &I::GetReadOnly, &I::SetReadOnly).Default(false);
  p.Component(L"StyleEdit", &I::GetStyleEdit, &I::SetStyleEdit);
  p.Prop(L"Text", &I::GetText, &I::SetText);
}

// ---------------------------------------------------------------------------
// TdxBarWindowItem

TdxBarWindowItem::TdxBarWindowItem(TComponent* AOwner) : TdxBarItem(AOwner) {}

TClass TdxBarWindowItem::GetControlClass(bool ARotated) const
{
  return ARotated ? TdxBarButtonControl::StaticClass() : TdxBarItem::GetControlClass(ARotated);
}

void TdxBarWindowItem::SetText(const String& Value)
{
  if (FText == Value)
    return;
  FText = Value;
  TWeakRef<TdxBarWindowItem> self(this);
  RepaintControls();
  DoChange();
  if (self)
    RepaintControls();
}

TdxBarWinControl* TdxBarWindowItem::GetFocusedControl() const
{
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TdxBarWinControl*>(GetLink(i)->GetControl()); control && control->IsEditing())
      return control;
  return nullptr;
}

TdxBarItemLink* TdxBarWindowItem::GetFocusedLink() const
{
  TdxBarWinControl* control = GetFocusedControl();
  return control ? control->GetItemLink() : nullptr;
}

String TdxBarWindowItem::GetCurText() const
{
  TdxBarWinControl* control = GetFocusedControl();
  return control ? control->GetText() : GetText();
}

void TdxBarWindowItem::SetCurText(const String& Value)
{
  if (TdxBarWinControl* control = GetFocusedControl())
    control->SetText(Value);
  else
    SetText(Value);
}

void TdxBarWindowItem::FocusEditor(bool AVisibleBarsOnly)
{
  for (int i = 0; i < GetLinkCount(); ++i) {
    TdxBarItemLink* link = GetLink(i);
    TdxBarItemControl* control = link->GetControl();
    TCustomdxBarControl* bar = control ? control->GetParent() : nullptr;
    if (!control || !control->IsWinControl() || !bar || !bar->HandleAllocated())
      continue;
    if (AVisibleBarsOnly && !::IsWindowVisible(bar->GetHandle()))
      continue;
    TWeakRef<TdxBarItemControl> controlRef(control);
    bar->ActivateWithControl(control);
    if (controlRef)
      controlRef->ClickByKey();
    return;
  }
}

void TdxBarWindowItem::DoChange()
{
  if (!IsLoading())
    CallEvent(OnChange, this);
}

void TdxBarWindowItem::DoCurChange()
{
  CallEvent(OnCurChange, this);
}

void TdxBarWindowItem::DoEnter()
{
  CallEvent(OnEnter, this);
}

void TdxBarWindowItem::DoExit()
{
  CallEvent(OnExit, this);
}

void TdxBarWindowItem::DoKeyDown(WORD& Key, TShiftState Shift)
{
  CallEvent(OnKeyDown, this, Key, Shift);
}

void TdxBarWindowItem::DoKeyPress(wchar_t& Key)
{
  CallEvent(OnKeyPress, this, Key);
}

void TdxBarWindowItem::DoKeyUp(WORD& Key, TShiftState Shift)
{
  CallEvent(OnKeyUp, this, Key, Shift);
}

// ---------------------------------------------------------------------------
// TdxCustomBarEdit

TdxCustomBarEdit::TdxCustomBarEdit(TComponent* AOwner) : TdxBarWindowItem(AOwner)
{
  SetWidth(100);
}

void TdxCustomBarEdit::ReadState(TReader* Reader)
{
  if (!FGlyphCleared) {
    FGlyphCleared = true;
    GetGlyph()->Assign(nullptr);
  }
  TdxBarWindowItem::ReadState(Reader);
}

bool TdxCustomBarEdit::HasAccel(const TdxBarItemLink* ALink) const
{
  return GetEnabled() && (GetShowCaption() || !dxBarIsLinkOnBar(ALink));
}

void TdxCustomBarEdit::SetWidth(int Value)
{
  if (Value > 0)
    TdxBarWindowItem::SetWidth(Value);
}

void TdxCustomBarEdit::SetMaxLength(int Value)
{
  Value = Value < 1 ? 0 : Value;
  if (FMaxLength == Value)
    return;
  FMaxLength = Value;
  // The open editors take the new limit at once.
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TdxBarWinControl*>(GetLink(i)->GetControl()))
      if (HWND wnd = control->GetHandle())
        ::SendMessageW(wnd, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TdxCustomBarEdit::SetReadOnly(bool Value)
{
  if (FReadOnly == Value)
    return;
  FReadOnly = Value;
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TdxBarWinControl*>(GetLink(i)->GetControl()); control && control->GetHandle())
      ::SendMessageW(control->GetHandle(), EM_SETREADONLY, WPARAM(FReadOnly || GetHideEditor()), 0);
}

TcxStyle* TdxCustomBarEdit::GetStyleEdit() const
{
  return GetStylesData() ? GetStylesData()->GetStyle(1) : nullptr;
}

void TdxCustomBarEdit::SetStyleEdit(TcxStyle* Value)
{
  if (GetStylesData())
    GetStylesData()->SetStyle(1, Value);
}

TdxBarItemStyleValues TdxCustomBarEdit::GetEditStyleValues() const
{
  return GetStyleValues(1);
}

void TdxCustomBarEdit::DrawInterior(TcxCanvas* ACanvas, const TRect& R, const TdxBarItemLink* ALink)
{
  if (!ACanvas || IsRectEmpty(R))
    return;
  HDC dc = ACanvas->GetHandle();
  ACanvas->FillRect(R, ACanvas->GetBrush()->GetColor());
  // The text where the editor window shows it: one line, from its left margin.
  TRect r = R;
  r.left += dxBarEditTextIndent;
  const String text = GetCurText();
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EDITCONTROL);
}
