// TSpeedButton: pressed and hot states from the mouse its parent routes to it, group
// exclusivity through CM_BUTTONPRESSED among siblings, and the glyph drawn with its
// transparent colour.
#include "platform/Buttons.h"

DEFINE_ENUM_INFO(TButtonLayout, L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop", L"blGlyphBottom")

PUBLISHED(TSpeedButton, TGraphicControl)
{
  p.Prop(L"AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  p.Prop(L"GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  p.Prop(L"Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown).Default(false);
  p.Prop(L"Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat).Default(false);
  p.Object(L"Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph);
  p.Prop(L"Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  p.Prop(L"NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  p.Prop(L"Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing).Default(4);
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
  FControlStyle = {csCaptureMouse, csDoubleClicks, csSetCaption, csOpaque};
  SetBounds(0, 0, 23, 22);
  FGlyph->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
}

TSpeedButton::~TSpeedButton()
{
  FGlyph->OnChange = nullptr;
}

void TSpeedButton::SetGlyph(TBitmap* Value)
{
  FGlyph->Assign(Value);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value)
{
  if (Value < 1 || Value > 4)
    Value = 1;
  if (FNumGlyphs == Value)
    return;
  FNumGlyphs = Value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool Value)
{
  if (FFlat == Value)
    return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
  if (Value < blGlyphLeft || Value > blGlyphBottom || FLayout == Value)
    return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value)
{
  Value = std::max(Value, 0);
  if (FSpacing == Value)
    return;
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int Value)
{
  if (FGroupIndex == Value)
    return;
  FGroupIndex = Value;
  if (FGroupIndex == 0 && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value)
{
  // A button outside a group never stays down (form data may say so before the group).
  if (FGroupIndex == 0 && !FComponentState.Contains(csLoading) && !FComponentState.Contains(csReading))
    Value = false;
  if (FDown == Value)
    return;
  if (FDown && FState == bsExclusive && !FAllowAllUp && FGroupIndex != 0 && !Value)
    return;  // the down button of a group goes up only when another goes down
  FDown = Value;
  FState = Value ? bsExclusive : bsUp;
  Invalidate();
  if (Value)
    UpdateExclusive();
}

void TSpeedButton::UpdateExclusive()
{
  if (FGroupIndex == 0 || !FParent || !FDown)
    return;
  TMessage message{CM_BUTTONPRESSED, WPARAM(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
  FParent->Broadcast(message);
}

void TSpeedButton::CMButtonPressed(TMessage& Message)
{
  auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
  if (int(Message.WParam) != FGroupIndex || sender == this || !sender)
    return;
  if (FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

void TSpeedButton::Dispatch(TMessage& Message)
{
  if (Message.Msg == CM_BUTTONPRESSED)
    return CMButtonPressed(Message);
  if (Message.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  TGraphicControl::Dispatch(Message);
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !IsEnabledInParents())
    return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging)
    return;
  // Pressed while the pointer stays over it; a down button keeps its look.
  TButtonState wanted = PtInRect(GetClientRect(), Point(X, Y)) ? bsDown : bsUp;
  if (FDown)
    wanted = bsExclusive;
  if (FState != wanted) {
    FState = wanted;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TWeakRef<TSpeedButton> self(this);
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!self || !FDragging || Button != mbLeft)
    return;
  FDragging = false;
  bool doClick = PtInRect(GetClientRect(), Point(X, Y));
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
  } else if (doClick) {
    SetDown(!FDown);
    if (FDown)
      FState = bsExclusive;
    else
      FState = bsUp;
    Invalidate();
  } else {
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
  if (doClick)
    Click();
}

void TSpeedButton::CMMouseEnter(TMessage& Message)
{
  TGraphicControl::CMMouseEnter(Message);
  FMouseInControl = true;
  if (FFlat && IsEnabledInParents())
    Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& Message)
{
  TGraphicControl::CMMouseLeave(Message);
  FMouseInControl = false;
  if (FFlat && IsEnabledInParents())
    Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& Message)
{
  TGraphicControl::CMEnabledChanged(Message);
  if (!FEnabled) {
    FMouseInControl = false;
    FDragging = false;
  }
  Invalidate();
}

void TSpeedButton::DrawGlyph(HDC DC, int X, int Y)
{
  int width = FGlyph->GetWidth() / FNumGlyphs;
  int height = FGlyph->GetHeight();
  bool enabled = IsEnabledInParents();
  // The image of the state, when the glyph has one; else the first.
  int index = 0;
  if (!enabled && FNumGlyphs > 1)
    index = 1;
  else if (FState == bsDown && FNumGlyphs > 2)
    index = 2;
  else if (FState == bsExclusive && FNumGlyphs > 3)
    index = 3;
  HDC source = FGlyph->GetCanvas()->GetHandle();
  COLORREF transparent = ColorToRGB(FGlyph->GetTransparentColor());
  if (enabled || FNumGlyphs > 1) {
    ::TransparentBlt(DC, X, Y, width, height, source, index * width, 0, width, height, transparent);
    return;
  }
  // Without an image of its own a disabled glyph is its shape in the shadow colour.
  COLORREF shadow = ColorToRGB(clBtnShadow);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (::GetPixel(source, x, y) != transparent)
        ::SetPixelV(DC, X + x, Y + y, shadow);
}

void TSpeedButton::Paint()
{
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  RECT r = GetClientRect();
  bool enabled = IsEnabledInParents();
  bool pressed = FState == bsDown || FState == bsExclusive;
  canvas->GetBrush()->SetColor(FState == bsExclusive && !FFlat ? TColor(clBtnHighlight) : FColor);
  canvas->FillRect(r);
  if (!FFlat)
    ::DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  else if (pressed)
    ::DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  else if (FMouseInControl && enabled)
    ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);

  // Glyph and caption as one block, centred, in the order Layout gives.
  String caption = GetText();
  canvas->SetFont(FFont);
  SIZE text{};
  if (!caption.empty()) {
    TRect measure{};
    canvas->TextRect(measure, caption, {tfCalcRect, tfSingleLine});
    text = SIZE{measure.right, measure.bottom};
  }
  SIZE glyph{FGlyph->Empty() ? 0 : FGlyph->GetWidth() / FNumGlyphs, FGlyph->Empty() ? 0 : FGlyph->GetHeight()};
  int gap = glyph.cx > 0 && text.cx > 0 ? FSpacing : 0;
  bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  int blockW = horizontal ? glyph.cx + gap + text.cx : std::max(glyph.cx, text.cx);
  int blockH = horizontal ? std::max(glyph.cy, text.cy) : glyph.cy + gap + text.cy;
  int left = (r.right - blockW) / 2 + (pressed ? 1 : 0);
  int top = (r.bottom - blockH) / 2 + (pressed ? 1 : 0);
  POINT glyphAt{}, textAt{};
  // clang-format off
  switch (FLayout) {
    case blGlyphLeft: glyphAt = {left, top + (blockH - glyph.cy) / 2}; textAt = {left + glyph.cx + gap, top + (blockH - text.cy) / 2}; break;
    case blGlyphRight: textAt = {left, top + (blockH - text.cy) / 2}; glyphAt = {left + text.cx + gap, top + (blockH - glyph.cy) / 2}; break;
    case blGlyphTop: glyphAt = {left + (blockW - glyph.cx) / 2, top}; textAt = {left + (blockW - text.cx) / 2, top + glyph.cy + gap}; break;
    case blGlyphBottom: textAt = {left + (blockW - text.cx) / 2, top}; glyphAt = {left + (blockW - glyph.cx) / 2, top + text.cy + gap}; break;
  }
  // clang-format on
  if (glyph.cx > 0)
    DrawGlyph(dc, glyphAt.x, glyphAt.y);
  if (text.cx > 0) {
    canvas->GetBrush()->SetStyle(bsClear);
    if (!enabled)
      canvas->GetFont()->SetColor(clGrayText);
    TRect t = Rect(textAt.x, textAt.y, textAt.x + text.cx, textAt.y + text.cy);
    canvas->TextRect(t, caption, {tfSingleLine});
    canvas->GetBrush()->SetStyle(bsSolid);
  }
}
