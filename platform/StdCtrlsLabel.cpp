// TCustomLabel: a caption its parent paints, sized to its text when AutoSize is on, whose
// accelerator moves the focus to FocusControl.
#include "platform/StdCtrls.h"

DEFINE_ENUM_INFO(TTextLayout, L"tlTop", L"tlCenter", L"tlBottom")

IMPLEMENT_CLASS(TLabel, TCustomLabel)

PUBLISHED(TCustomLabel, TGraphicControl)
{
  p.Component(L"FocusControl", &TCustomLabel::GetFocusControl, &TCustomLabel::SetFocusControl);
  p.Prop(L"Alignment", &TCustomLabel::GetAlignment, &TCustomLabel::SetAlignment).Default(taLeftJustify);
  p.Prop(L"Layout", &TCustomLabel::GetLayout, &TCustomLabel::SetLayout).Default(tlTop);
  p.Prop(L"AutoSize", &TCustomLabel::GetAutoSize, &TCustomLabel::SetAutoSize).Default(true);
  p.Prop(L"WordWrap", &TCustomLabel::GetWordWrap, &TCustomLabel::SetWordWrap).Default(false);
  p.Prop(L"Transparent", &TCustomLabel::GetTransparent, &TCustomLabel::SetTransparent).Default(false);
  p.Prop(L"ShowAccelChar", &TCustomLabel::GetShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true);
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
  FControlStyle += csOpaque;
  FControlStyle += csReplicatable;
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetFocusControl(TWinControl* Value)
{
  if (FFocusControl == Value)
    return;
  if (FFocusControl)
    FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value)
    Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl)
    FFocusControl = nullptr;
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
  if (FAlignment == Value)
    return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
  if (FLayout == Value)
    return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value)
{
  if (FAutoSize == Value)
    return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value)
{
  if (FWordWrap == Value)
    return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value)
{
  if (GetTransparent() == Value)
    return;
  if (Value)
    FControlStyle -= csOpaque;
  else
    FControlStyle += csOpaque;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
  if (FShowAccelChar == Value)
    return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

TTextFormat TCustomLabel::TextFormat() const
{
  TTextFormat format{tfExpandTabs};
  if (FWordWrap)
    format += tfWordBreak;
  if (!FShowAccelChar)
    format += tfNoPrefix;
  // clang-format off
  switch (FAlignment) {
    case taLeftJustify: format += tfLeft; break;
    case taRightJustify: format += tfRight; break;
    case taCenter: format += tfCenter; break;
  }
  // clang-format on
  return format;
}

TRect TCustomLabel::TextBounds(int Width)
{
  String text = GetText();
  // An empty caption still takes a line's height, so the label stays reachable.
  if (text.empty() || (FShowAccelChar && text.front() == L'&' && text.size() == 1))
    text = L" ";
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, FFont->GetHandle());
  RECT r{0, 0, std::max(Width, 1), 0};
  ::DrawTextW(dc, text.c_str(), int(text.size()), &r, TextFormatFlags(TextFormat()) | DT_CALCRECT);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return r;
}

void TCustomLabel::AdjustBounds()
{
  if (!FAutoSize || FComponentState.Contains(csLoading) || FComponentState.Contains(csReading))
    return;
  TRect r = TextBounds(FWordWrap ? FWidth : 0);
  int width = FWordWrap ? FWidth : RectWidth(r);
  int left = FLeft;
  if (FAlignment == taRightJustify && !FWordWrap)
    left = FLeft + FWidth - width;
  SetBounds(left, FTop, width, RectHeight(r));
}

void TCustomLabel::Loaded()
{
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::Paint()
{
  TCanvas* canvas = GetCanvas();
  TRect client = GetClientRect();
  if (!GetTransparent()) {
    canvas->GetBrush()->SetColor(FColor);
    canvas->FillRect(client);
  }
  canvas->SetFont(FFont);
  String text = GetText();
  TRect r = client;
  // Layout moves the text block down inside the label.
  if (FLayout != tlTop) {
    TRect measured = TextBounds(RectWidth(client));
    int offset = RectHeight(client) - RectHeight(measured);
    if (FLayout == tlCenter)
      offset /= 2;
    r.top += std::max(offset, 0);
  }
  // Text over whatever lies beneath: the label's colour, or the parent's when transparent.
  canvas->GetBrush()->SetStyle(bsClear);
  TTextFormat format = TextFormat();
  if (!IsEnabledInParents()) {
    // The engraved look of disabled text: a highlight one pixel down-right, then the shadow.
    TRect lower = OffsetRect(r, 1, 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    canvas->TextRect(lower, text, format);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  canvas->TextRect(r, text, format);
  canvas->GetBrush()->SetStyle(bsSolid);
}

void TCustomLabel::Dispatch(TMessage& Message)
{
  if (Message.Msg == CM_DIALOGCHAR)
    return CMDialogChar(Message);
  TGraphicControl::Dispatch(Message);
}

void TCustomLabel::CMTextChanged(TMessage& Message)
{
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message)
{
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& Message)
{
  if (FFocusControl && FShowAccelChar && IsEnabledInParents() && IsAccel(wchar_t(Message.WParam), GetText()) &&
      FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
  }
}
