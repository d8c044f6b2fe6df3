#include "platform/Graphics.h"

IMPLEMENT_CLASS(TCanvas, TPersistent)

unsigned TextFormatFlags(TTextFormat Format)
{
  static const unsigned flags[] = {
      DT_BOTTOM,       DT_CALCRECT,      DT_CENTER,        DT_EDITCONTROL,
      DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_EXPANDTABS,    DT_EXTERNALLEADING,
      DT_LEFT,         DT_MODIFYSTRING,  DT_NOCLIP,        DT_NOPREFIX,
      DT_RIGHT,        DT_RTLREADING,    DT_SINGLELINE,    DT_TOP,
      DT_VCENTER,      DT_WORDBREAK,     DT_HIDEPREFIX,    DT_NOFULLWIDTHCHARBREAK,
      DT_PREFIXONLY,   DT_TABSTOP,       DT_WORD_ELLIPSIS, 0 /* tfComposited: no DrawText flag */,
  };
  unsigned result = 0;
  for (unsigned i = 0; i < sizeof flags / sizeof flags[0]; ++i)
    if (Format.Contains(TTextFormats(i)))
      result |= flags[i];
  return result;
}

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
  FFont->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
  FFont->OnHandleFreeing = TNotifyEvent(this, &TCanvas::FontFreeing);
  FPen->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
  FPen->OnHandleFreeing = TNotifyEvent(this, &TCanvas::PenFreeing);
  FBrush->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
  FBrush->OnHandleFreeing = TNotifyEvent(this, &TCanvas::BrushFreeing);
}

TCanvas::~TCanvas()
{
  SetHandle(nullptr);
}

HDC TCanvas::GetHandle()
{
  RequiredState({csHandleValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC Value)
{
  if (Value == FHandle)
    return;
  DeselectHandles();
  FHandle = Value;
  if (Value)
    FState.Include(csHandleValid);
  else
    FState.Exclude(csHandleValid);
}

void TCanvas::RequiredState(TCanvasState State)
{
  TCanvasState needed = State - FState;
  if (needed.Empty())
    return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle)
      throw EInvalidOperation(L"Canvas does not allow drawing");
    FState.Include(csHandleValid);
  }
  if (needed.Contains(csFontValid))
    SelectFont();
  if (needed.Contains(csPenValid))
    SelectPen();
  if (needed.Contains(csBrushValid))
    SelectBrush();
}

void TCanvas::SelectFont()
{
  HGDIOBJ old = SelectObject(FHandle, FFont->GetHandle());
  if (!FOldFont)
    FOldFont = old;
  SetTextColor(FHandle, ColorToRGB(FFont->GetColor()));
  FState.Include(csFontValid);
}

void TCanvas::SelectPen()
{
  HGDIOBJ old = SelectObject(FHandle, FPen->GetHandle());
  if (!FOldPen)
    FOldPen = old;
  SetROP2(FHandle, FPen->Rop2());
  FState.Include(csPenValid);
}

void TCanvas::SelectBrush()
{
  HBRUSH brush = FBrush->GetHandle();
  UnrealizeObject(brush);
  HGDIOBJ old = SelectObject(FHandle, brush);
  if (!FOldBrush)
    FOldBrush = old;
  // Text and hatch backgrounds follow the brush: filled when solid, left alone otherwise.
  if (FBrush->GetStyle() == bsSolid) {
    SetBkColor(FHandle, ColorToRGB(FBrush->GetColor()));
    SetBkMode(FHandle, OPAQUE);
  } else {
    SetBkColor(FHandle, ~ColorToRGB(FBrush->GetColor()) & 0xFFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
  FState.Include(csBrushValid);
}

void TCanvas::DeselectHandles()
{
  if (FHandle) {
    if (FOldFont)
      SelectObject(FHandle, FOldFont);
    if (FOldPen)
      SelectObject(FHandle, FOldPen);
    if (FOldBrush)
      SelectObject(FHandle, FOldBrush);
  }
  FOldFont = FOldPen = FOldBrush = nullptr;
  FState -= TCanvasState{csFontValid, csPenValid, csBrushValid};
}

// A drawing object is about to free its handle: it must not be selected when it goes.
void TCanvas::FontFreeing(TObject*)
{
  if (FHandle && FOldFont) {
    SelectObject(FHandle, FOldFont);
    FOldFont = nullptr;
  }
  FState.Exclude(csFontValid);
}

void TCanvas::PenFreeing(TObject*)
{
  if (FHandle && FOldPen) {
    SelectObject(FHandle, FOldPen);
    FOldPen = nullptr;
  }
  FState.Exclude(csPenValid);
}

void TCanvas::BrushFreeing(TObject*)
{
  if (FHandle && FOldBrush) {
    SelectObject(FHandle, FOldBrush);
    FOldBrush = nullptr;
  }
  FState.Exclude(csBrushValid);
}

void TCanvas::Refresh()
{
  DeselectHandles();
}

void TCanvas::Changing()
{
  CallEvent(OnChanging, this);
}

void TCanvas::Changed()
{
  CallEvent(OnChange, this);
}

TPoint TCanvas::GetPenPos()
{
  RequiredState({csHandleValid});
  POINT p{};
  GetCurrentPositionEx(FHandle, &p);
  return p;
}

TColor TCanvas::GetPixel(int X, int Y)
{
  RequiredState({csHandleValid});
  COLORREF c = ::GetPixel(FHandle, X, Y);
  return c == CLR_INVALID ? clNone : TColor(c);
}

void TCanvas::SetPixel(int X, int Y, TColor Value)
{
  Changing();
  RequiredState({csHandleValid, csPenValid});
  SetPixelV(FHandle, X, Y, ColorToRGB(Value));
  Changed();
}

TRect TCanvas::GetClipRect()
{
  RequiredState({csHandleValid});
  RECT r{};
  GetClipBox(FHandle, &r);
  return r;
}

void TCanvas::MoveTo(int X, int Y)
{
  RequiredState({csHandleValid});
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Polyline(const TPoint* Points, int Count)
{
  if (!Points || Count < 2)
    return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polyline(FHandle, Points, Count);
  Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count)
{
  if (!Points || Count < 2)
    return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polygon(FHandle, Points, Count);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::FillRect(const TRect& R)
{
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, &R, FBrush->GetHandle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R)
{
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(FHandle, &R, FBrush->GetHandle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R)
{
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::DrawFocusRect(FHandle, &R);
  Changed();
}

void TCanvas::TextOut(int X, int Y, const String& Text)
{
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOutW(FHandle, X, Y, 0, nullptr, Text.c_str(), UINT(Text.size()), nullptr);
  SIZE size{};
  GetTextExtentPoint32W(FHandle, Text.c_str(), int(Text.size()), &size);
  MoveToEx(FHandle, X + size.cx, Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text)
{
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED;
  if (FBrush->GetStyle() != bsClear)
    options |= ETO_OPAQUE;
  ExtTextOutW(FHandle, X, Y, options, &R, Text.c_str(), UINT(Text.size()), nullptr);
  Changed();
}

void TCanvas::TextRect(TRect& R, String& Text, TTextFormat Format)
{
  bool measuring = Format.Contains(tfCalcRect);
  if (!measuring)
    Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  unsigned flags = TextFormatFlags(Format);
  if (Format.Contains(tfModifyString)) {
    // DrawText may write up to four characters beyond the text (the ellipsis).
    std::vector<wchar_t> buffer(Text.begin(), Text.end());
    buffer.resize(Text.size() + 5, L'\0');
    DrawTextW(FHandle, buffer.data(), int(Text.size()), &R, flags);
    Text.assign(buffer.data());
  } else {
    DrawTextW(FHandle, Text.c_str(), int(Text.size()), &R, flags);
  }
  if (!measuring)
    Changed();
}

TSize TCanvas::TextExtent(const String& Text)
{
  RequiredState({csHandleValid, csFontValid});
  SIZE size{};
  GetTextExtentPoint32W(FHandle, Text.c_str(), int(Text.size()), &size);
  return size;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
  if (!Graphic || Graphic->Empty())
    return;
  StretchDraw(Bounds(X, Y, Graphic->GetWidth(), Graphic->GetHeight()), Graphic);
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic)
{
  if (!Graphic || Graphic->Empty())
    return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect)
{
  if (!Source)
    return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC source = Source->GetHandle();
  int oldMode = SetStretchBltMode(FHandle, COLORONCOLOR);
  StretchBlt(FHandle, Dest.left, Dest.top, RectWidth(Dest), RectHeight(Dest), source, SourceRect.left, SourceRect.top,
             RectWidth(SourceRect), RectHeight(SourceRect), DWORD(FCopyMode));
  SetStretchBltMode(FHandle, oldMode);
  Changed();
}
