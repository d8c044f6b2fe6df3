// TCustomPanel and TBevel: bevelled plates and lines drawn with the system's 3-D colours.
#include "platform/ExtCtrls.h"

DEFINE_ENUM_INFO(TBevelCut, L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace")
DEFINE_ENUM_INFO(TBevelShape, L"bsBox", L"bsFrame", L"bsTopLine", L"bsBottomLine", L"bsLeftLine", L"bsRightLine",
                 L"bsSpacer")
DEFINE_ENUM_INFO(TBevelStyle, L"bsLowered", L"bsRaised")

IMPLEMENT_CLASS(TPanel, TCustomPanel)

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width)
{
  TPen* pen = Canvas->GetPen();
  pen->SetWidth(1);
  // The right and bottom lines lie inside the rectangle, on its last pixel.
  --Rect.right;
  --Rect.bottom;
  for (int i = 0; i < Width && Rect.right >= Rect.left && Rect.bottom >= Rect.top; ++i) {
    pen->SetColor(TopColor);
    Canvas->Polyline({Point(Rect.left, Rect.bottom), Point(Rect.left, Rect.top), Point(Rect.right, Rect.top)});
    pen->SetColor(BottomColor);
    Canvas->Polyline({Point(Rect.right, Rect.top), Point(Rect.right, Rect.bottom), Point(Rect.left - 1, Rect.bottom)});
    Rect = InflateRect(Rect, -1, -1);
  }
  ++Rect.right;
  ++Rect.bottom;
}

// ---------------------------------------------------------------------------
// TCustomPanel

PUBLISHED(TCustomPanel, TCustomControl)
{
  p.Prop(L"Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment).Default(taCenter);
  p.Prop(L"BevelInner", &TCustomPanel::GetBevelInner, &TCustomPanel::SetBevelInner).Default(bvNone);
  p.Prop(L"BevelOuter", &TCustomPanel::GetBevelOuter, &TCustomPanel::SetBevelOuter).Default(bvRaised);
  p.Prop(L"BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
  p.Prop(L"BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
  p.Prop(L"ShowCaption", &TCustomPanel::GetShowCaption, &TCustomPanel::SetShowCaption).Default(true);
  p.Prop(L"TabStop", &TCustomPanel::GetTabStop, &TCustomPanel::SetTabStop).Default(false);
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                   csOpaque,          csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  FParentColor = true;
}

void TCustomPanel::SetBevelInner(TPanelBevel Value)
{
  if (Value < bvNone || Value > bvSpace || FBevelInner == Value)
    return;
  FBevelInner = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value)
{
  if (Value < bvNone || Value > bvSpace || FBevelOuter == Value)
    return;
  FBevelOuter = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value)
{
  Value = std::max(Value, 1);
  if (FBevelWidth == Value)
    return;
  FBevelWidth = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int Value)
{
  Value = std::max(Value, 0);
  if (FBorderWidth == Value)
    return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value)
{
  if (FAlignment == Value)
    return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetShowCaption(bool Value)
{
  if (FShowCaption == Value)
    return;
  FShowCaption = Value;
  Invalidate();
}

int TCustomPanel::FrameWidth() const
{
  int width = FBorderWidth;
  if (FBevelOuter != bvNone)
    width += FBevelWidth;
  if (FBevelInner != bvNone)
    width += FBevelWidth;
  return width;
}

void TCustomPanel::AdjustClientRect(TRect& Rect)
{
  TCustomControl::AdjustClientRect(Rect);
  int frame = FrameWidth();
  Rect = InflateRect(Rect, -frame, -frame);
  if (Rect.right < Rect.left)
    Rect.right = Rect.left;
  if (Rect.bottom < Rect.top)
    Rect.bottom = Rect.top;
}

void TCustomPanel::Dispatch(TMessage& Message)
{
  if (Message.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomPanel::Paint()
{
  TCanvas* canvas = GetCanvas();
  TRect r = GetClientRect();
  auto bevel = [&](TPanelBevel cut) {
    if (cut == bvNone)
      return;
    TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    if (cut == bvSpace)
      top = bottom = FColor;
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  };
  bevel(FBevelOuter);
  Frame3D(canvas, r, FColor, FColor, FBorderWidth);
  bevel(FBevelInner);
  canvas->GetBrush()->SetColor(FColor);
  canvas->FillRect(r);
  String text = GetText();
  if (!FShowCaption || text.empty())
    return;
  canvas->SetFont(FFont);
  canvas->GetBrush()->SetStyle(bsClear);
  TTextFormat format{tfSingleLine, tfVerticalCenter};
  // clang-format off
  switch (FAlignment) {
    case taLeftJustify: format += tfLeft; break;
    case taRightJustify: format += tfRight; break;
    case taCenter: format += tfCenter; break;
  }
  // clang-format on
  if (!IsEnabledInParents())
    canvas->GetFont()->SetColor(clGrayText);
  canvas->TextRect(r, text, format);
  canvas->GetBrush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// TBevel

PUBLISHED(TBevel, TGraphicControl)
{
  p.Prop(L"Shape", &TBevel::GetShape, &TBevel::SetShape).Default(bsBox);
  p.Prop(L"Style", &TBevel::GetStyle, &TBevel::SetStyle).Default(bsLowered);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
  FControlStyle += csReplicatable;
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value)
{
  if (Value < bsBox || Value > bsSpacer || FShape == Value)
    return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value)
{
  if (Value < bsLowered || Value > bsRaised || FStyle == Value)
    return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint()
{
  TCanvas* canvas = GetCanvas();
  TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  TRect r = GetClientRect();
  int w = RectWidth(r), h = RectHeight(r);
  TPen* pen = canvas->GetPen();
  pen->SetWidth(1);
  auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
    pen->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  // clang-format off
  switch (FShape) {
    case bsBox: Frame3D(canvas, r, first, second, 1); break;
    case bsFrame: {
      // Two nested frames make the etched look.
      TRect outer = Rect(0, 0, w - 1, h - 1);
      TRect inner = Rect(1, 1, w, h);
      Frame3D(canvas, inner, second, second, 1);
      Frame3D(canvas, outer, first, first, 1);
      break;
    }
    case bsTopLine: line(first, 0, 0, w, 0); line(second, 0, 1, w, 1); break;
    case bsBottomLine: line(first, 0, h - 2, w, h - 2); line(second, 0, h - 1, w, h - 1); break;
    case bsLeftLine: line(first, 0, 0, 0, h); line(second, 1, 0, 1, h); break;
    case bsRightLine: line(first, w - 2, 0, w - 2, h); line(second, w - 1, 0, w - 1, h); break;
    case bsSpacer: break;
  }
  // clang-format on
}
