// The edit controls: parts and sizes of an edit, its drawing through the painter, the width
// drag while customizing, and the "EDIT" window of the in-place editor.
#include "bars/itemcontrols/edits.h"

#include <algorithm>

#include "bars/barwindows/barcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/barwindows/toolbar.h"
#include "lookandfeel/dxUxTheme.h"
#include "platform/Forms.h"
#include "platform/GraphicsObjects.h"

IMPLEMENT_CLASS(TdxBarCustomEditControl, TdxBarWinControl)
IMPLEMENT_CLASS(TdxBarEditControl, TdxBarCustomEditControl)

namespace {

// The width handle of an edit while customizing: this far in from either edge.
constexpr int ResizeZone = 7;
// The bars of the width drag's frame.
constexpr int ResizeFrameWidth = 2;

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarCustomEditControl

TdxBarCustomEditControl::TdxBarCustomEditControl(TdxBarItemLink* AItemLink)
    : TdxBarWinControl(AItemLink), FBrush(std::make_unique<TBrush>())
{
}

TdxBarCustomEditControl::~TdxBarCustomEditControl()
{
  if (FResizing)
    EndResize(true);
}

TdxCustomBarEdit* TdxBarCustomEditControl::GetEdit() const
{
  return dynamic_cast<TdxCustomBarEdit*>(GetItem());
}

TClass TdxBarCustomEditControl::GetDrawParamsClass() const
{
  return TdxBarEditLikeControlDrawParams::StaticClass();
}

TdxBarEditLikeControlDrawParams* TdxBarCustomEditControl::GetEditDrawParams() const
{
  return dynamic_cast<TdxBarEditLikeControlDrawParams*>(GetDrawParams());
}

TdxBarItemViewLevels TdxBarCustomEditControl::GetPossibleViewLevels() const
{
  return TdxBarWinControl::GetPossibleViewLevels() + ivlControlOnly;
}

int TdxBarCustomEditControl::GetDefaultViewParts() const
{
  int parts = IsCaptionVisible() ? ivpCaption : 0;
  TdxBarPainter* painter = GetPainter();
  if (HasImage(isSmall) && painter && painter->IsEditGlyphShown())
    parts |= ivpGlyph;
  return parts;
}

bool TdxBarCustomEditControl::IsCaptionVisible() const
{
  TdxBarItem* item = GetItem();
  return IsInMenu() || (item && item->GetShowCaption());
}

bool TdxBarCustomEditControl::IsSelected() const
{
  TCustomdxBarControl* bar = GetParent();
  return TdxBarWinControl::IsSelected() && !(bar && bar->IsCustomizing());
}

void TdxBarCustomEditControl::CalcStyleValues()
{
  TdxBarWinControl::CalcStyleValues();
  FEditTextHeight = 0;
  TdxCustomBarEdit* edit = GetEdit();
  TFont* font = edit ? edit->GetEditStyleValues().Font : nullptr;
  TdxBarPainter* painter = GetPainter();
  TcxCanvas* canvas = GetCanvas();
  if (font && painter && canvas) {
    TFont saved;
    saved.Assign(canvas->GetFont());
    canvas->SetFont(font);
    FEditTextHeight = painter->GetTextHeight(canvas);
    canvas->SetFont(&saved);
  }
}

TFont* TdxBarCustomEditControl::GetEditFont() const
{
  TdxCustomBarEdit* edit = GetEdit();
  if (TFont* font = edit ? edit->GetEditStyleValues().Font : nullptr)
    return font;
  TCustomdxBarControl* bar = GetParent();
  return bar ? bar->GetFont() : nullptr;
}

int TdxBarCustomEditControl::GetCaptionWidth()
{
  TdxBarItemControlDrawParams* params = GetDrawParams();
  if (!params || !params->HasCaptionPart())
    return 0;
  TdxBarPainter* painter = GetPainter();
  return GetCaptionTextWidth() + (painter ? 2 * painter->GetEditCaptionMargin() : 0);
}

int TdxBarCustomEditControl::GetGlyphWidth()
{
  TdxBarItemControlDrawParams* params = GetDrawParams();
  if (!params || !params->HasGlyphPart())
    return 0;
  TdxBarPainter* painter = GetPainter();
  return GetImageSize(isSmall).cx + (painter ? 2 * painter->GetEditGlyphMargin() : 0);
}

int TdxBarCustomEditControl::GetExtraWidth()
{
  TdxBarItemLink* link = GetItemLink();
  return link ? link->GetWidth() : 0;
}

int TdxBarCustomEditControl::GetMinWidth() const
{
  // The glyph counts too: a drag never leaves the text part narrower than its minimum.
  const TdxBarEditLikeControlDrawParams* params = GetEditDrawParams();
  return (params ? params->CaptionWidth + params->GlyphWidth : 0) + GetMinEditWidth();
}

int TdxBarCustomEditControl::GetHeight()
{
  TCustomdxBarControl* bar = GetParent();
  int height = FEditTextHeight > 0 ? FEditTextHeight : (bar ? bar->GetTextHeight() : GetTextHeight());
  // A caption beside the text part is an item's text: it needs an item's height.
  if (IsCaptionVisible())
    height = std::max(height, TdxBarWinControl::GetHeight());
  return height;
}

TRect TdxBarCustomEditControl::GetEditRect() const
{
  TRect r = GetItemRect();
  const TdxBarEditLikeControlDrawParams* params = GetEditDrawParams();
  r.left = std::min<int>(r.right, r.left + (params ? params->CaptionWidth + params->GlyphWidth : 0));
  // A client-aligned control that the bar does not stretch keeps its own width at the right.
  TCustomdxBarControl* bar = GetParent();
  if (GetAlignment() == iaClient && bar && !(bar->GetOptions() & dxBarOptionStretchClientControls)) {
    TdxBarItemLink* link = GetItemLink();
    r.left = std::max<int>(r.left, r.right - (link ? link->GetWidth() : 0));
  }
  return r;
}

void TdxBarCustomEditControl::CalcDrawParams(bool AFull)
{
  TdxBarWinControl::CalcDrawParams(AFull);
  TdxBarEditLikeControlDrawParams* params = GetEditDrawParams();
  if (!params)
    return;
  params->EditControl = this;
  params->Focused = GetFocused();
  params->PainterDrawsText = IsTextDrawnByPainter();
  params->GlyphWidth = GetGlyphWidth();
  params->CaptionWidth = GetCaptionWidth();
  params->CaptionTextWidth = params->HasCaptionPart() ? GetCaptionTextWidth() : 0;
  params->EditRect = GetEditRect();
  params->Parts = GetPartRects();
  if (AFull)
    if (TdxBarWindowItem* item = GetWindowItem())
      params->Text = item->GetText();
}

void TdxBarCustomEditControl::CalcParts()
{
  CalcDrawParams(false);
  std::vector<TRect> parts;
  CalcPainterParts(parts);
  parts.resize(size_t(GetPartCount()));
  SetPartRects(parts);
  if (TdxBarEditLikeControlDrawParams* params = GetEditDrawParams())
    params->Parts = parts;
  SetWindowBounds(GetTextAreaRect());
}

TRect TdxBarCustomEditControl::GetTextAreaRect() const
{
  const std::vector<TRect>& parts = GetPartRects();
  if (parts.size() <= size_t(dxBarEditPartText))
    return TRect{};
  TRect r = parts[dxBarEditPartText];
  if (TdxBarPainter* painter = GetPainter()) {
    const TRect m = painter->GetEditBorderMargins();
    r = TRect{r.left + m.left, r.top + m.top, r.right - m.right, r.bottom - m.bottom};
  }
  return r.right < r.left || r.bottom < r.top ? TRect{} : r;
}

void TdxBarCustomEditControl::CalcPainterParts(std::vector<TRect>& AParts)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->CalcEditParts(GetDrawParams(), GetItemRect(), AParts);
}

bool TdxBarCustomEditControl::IsTextDrawnByPainter() const
{
  return !GetFocused() || !GetEnabled();
}

HBRUSH TdxBarCustomEditControl::GetEditBrush()
{
  TdxBarPainter* painter = GetPainter();
  FBrush->SetColor(painter ? painter->GetEditBrushColor(GetDrawParams()) : clWindow);
  return FBrush->GetHandle();
}

std::optional<TdxBarInPlaceEdit> TdxBarCustomEditControl::GetInPlaceEdit() const
{
  HWND wnd = GetHandle();
  if (!wnd)
    return std::nullopt;
  return TdxBarInPlaceEdit{wnd, const_cast<TdxBarCustomEditControl*>(this)->GetEditBrush()};
}

void TdxBarCustomEditControl::Draw(const TRect& R, bool AFlag)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->DrawEditControl(GetDrawParams(), R);
}

void TdxBarCustomEditControl::DrawParts(const TdxBarEditLikeControlDrawParams* AParams)
{
  TdxBarPainter* painter = GetPainter();
  const std::vector<TRect>& parts = GetPartRects();
  if (!painter || parts.size() <= size_t(dxBarEditPartText))
    return;
  TRect r = parts[dxBarEditPartText];
  painter->DrawEditBorder(AParams, r);
}

void TdxBarCustomEditControl::DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams) {}

void TdxBarCustomEditControl::DrawInterior(TcxCanvas* ACanvas, const TRect& R)
{
  if (TdxCustomBarEdit* edit = GetEdit())
    edit->DrawInterior(ACanvas, R, GetItemLink());
}

HBRUSH TdxBarCustomEditControl::GetCaptionAreaBrush() const
{
  TCustomdxBarControl* bar = GetParent();
  if (bar && IsInMenu() && IsSelected())
    return bar->GetHighlightBrush();
  return GetBackgroundBrush();
}

TColor TdxBarCustomEditControl::GetEditStyleColor() const
{
  TdxCustomBarEdit* edit = GetEdit();
  return edit ? edit->GetEditStyleValues().Color : clDefault;
}

TColor TdxBarCustomEditControl::GetEditStyleTextColor() const
{
  TdxCustomBarEdit* edit = GetEdit();
  return edit ? edit->GetEditStyleValues().TextColor : clDefault;
}

// ---------------------------------------------------------------------------
// The width drag

bool TdxBarCustomEditControl::IsResizePoint(const TPoint& P) const
{
  TCustomdxBarControl* bar = GetParent();
  if (!bar || !bar->IsCustomizing() || IsInMenu())
    return false;
  const TRect r = GetItemRect();
  if (!::PtInRect(&r, P))
    return false;
  return P.x < r.left + ResizeZone || P.x >= r.right - ResizeZone;
}

void TdxBarCustomEditControl::BeginResize(const TPoint& P)
{
  const TRect r = GetItemRect();
  FResizing = true;
  FResizeLeftEdge = P.x < r.right - ResizeZone;
  FResizeStartWidth = FResizeWidth = r.right - r.left;
  if (auto* toolbar = dynamic_cast<TdxBarControl*>(GetParent()))
    toolbar->SetResizingItem(true);
  Repaint();
  if (TCustomdxBarControl* bar = GetParent(); bar && bar->HandleAllocated())
    ::UpdateWindow(bar->GetHandle());
  DrawResizeFrame(FResizeWidth);
}

void TdxBarCustomEditControl::DoResize(const TPoint& P)
{
  if (!FResizing)
    return;
  const TRect r = GetItemRect();
  const int width = std::max<int>(FResizeLeftEdge ? r.right - P.x : P.x - r.left, GetMinWidth());
  if (width == FResizeWidth)
    return;
  DrawResizeFrame(FResizeWidth);  // the old frame goes
  FResizeWidth = width;
  DrawResizeFrame(FResizeWidth);
}

void TdxBarCustomEditControl::EndResize(bool ACancel)
{
  if (!FResizing)
    return;
  DrawResizeFrame(FResizeWidth);
  FResizing = false;
  if (auto* toolbar = dynamic_cast<TdxBarControl*>(GetParent()))
    toolbar->SetResizingItem(false);
  const TdxBarEditLikeControlDrawParams* params = GetEditDrawParams();
  if (!ACancel && FResizeWidth != FResizeStartWidth && params) {
    if (TdxBarItemLink* link = GetItemLink())
      link->SetUserWidth(FResizeWidth - params->CaptionWidth - params->GlyphWidth);
    return;
  }
  Repaint();
}

TRect TdxBarCustomEditControl::ResizeFrameRect(int AWidth) const
{
  TCustomdxBarControl* bar = GetParent();
  TRect r = GetItemRect();
  if (FResizeLeftEdge)
    r.left = r.right - AWidth;
  else
    r.right = r.left + AWidth;
  if (bar && bar->HandleAllocated())
    ::MapWindowPoints(bar->GetHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void TdxBarCustomEditControl::DrawResizeFrame(int AWidth)
{
  // Inverted on the screen, so drawing the same frame again takes it away.
  const TRect r = ResizeFrameRect(AWidth);
  HDC dc = ::GetDC(nullptr);
  if (!dc)
    return;
  const int w = r.right - r.left, h = r.bottom - r.top, f = ResizeFrameWidth;
  ::PatBlt(dc, r.left, r.top, w, f, DSTINVERT);
  ::PatBlt(dc, r.left, r.bottom - f, w, f, DSTINVERT);
  ::PatBlt(dc, r.left, r.top + f, f, h - 2 * f, DSTINVERT);
  ::PatBlt(dc, r.right - f, r.top + f, f, h - 2 * f, DSTINVERT);
  ::ReleaseDC(nullptr, dc);
}

// ---------------------------------------------------------------------------
// TdxBarEditControl

TdxBarEditControl::TdxBarEditControl(TdxBarItemLink* AItemLink) : TdxBarCustomEditControl(AItemLink) {}

TdxBarEditControl::~TdxBarEditControl()
{
  DestroyEditWindow();
}

void TdxBarEditControl::CreateEditWindow()
{
  TCustomdxBarControl* bar = GetParent();
  if (!bar || !bar->HandleAllocated() || bar->IsDestroying())
    return;
  // Made on first use in the bar window's current handle; a bar that changed its handle
  // (docked and floating) gets a new editor.
  if (FEditWnd && ::GetParent(FEditWnd) == bar->GetHandle())
    return;
  DestroyEditWindow();
  TdxBarPainter* painter = GetPainter();
  const DWORD style = WS_CHILD | ES_AUTOHSCROLL | (painter ? painter->GetEditStyle() : 0);
  FEditWnd = ::CreateWindowExW(0, L"EDIT", L"", style, 0, 0, 100, 100, bar->GetHandle(), nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  if (!FEditWnd)
    return;
  HookWindow();
  ReadText();
  TdxCustomBarEdit* edit = GetEdit();
  ::SendMessageW(FEditWnd, EM_LIMITTEXT, WPARAM(edit ? edit->GetMaxLength() : 0), 0);
}

void TdxBarEditControl::DestroyEditWindow()
{
  UnhookWindow();
  HWND wnd = FEditWnd;
  FEditWnd = nullptr;
  if (wnd && ::IsWindow(wnd))
    ::DestroyWindow(wnd);
}

void TdxBarEditControl::ActivateByKey()
{
  TdxBarCustomEditControl::ActivateByKey();
  if (GetFocused() && FEditWnd)
    ::SendMessageW(FEditWnd, EM_SETSEL, 0, -1);
}

void TdxBarEditControl::SetFocused(bool Value)
{
  if (Value && GetFocused() == Value)
    return;
  if (Value) {
    CreateEditWindow();
    if (!FEditWnd)
      return;
    TdxCustomBarEdit* edit = GetEdit();
    const bool readOnly = edit && (edit->GetReadOnly() || edit->GetHideEditor());
    ::SendMessageW(FEditWnd, EM_SETREADONLY, WPARAM(readOnly), 0);
  }
  TWeakRef<TdxBarEditControl> self(this);
  TdxBarCustomEditControl::SetFocused(Value);
  if (self)
    Repaint();
}

void TdxBarEditControl::ShowEditor()
{
  TdxBarCustomEditControl::ShowEditor();
  if (!FEditWnd)
    return;
  if (TFont* font = GetEditFont())
    ::SendMessageW(FEditWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font->GetHandle()), 0);
  const TRect r = GetWindowBounds();
  ::SetWindowPos(FEditWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  WindowPositioned();
  ReadText();
  ::SetFocus(FEditWnd);
}

void TdxBarEditControl::HideEditor(bool AAccept)
{
  if (FEditWnd)
    ::ShowWindow(FEditWnd, SW_HIDE);
  if (AAccept)
    StoreText();
}

void TdxBarEditControl::SetText(const String& Value)
{
  if (!FEditWnd)
    return;
  const bool changed = GetText() != Value;
  if (changed)
    ::SetWindowTextW(FEditWnd, Value.c_str());
  if (TdxBarPainter* painter = GetPainter())
    painter->SelectEditText(this, changed);
}

void TdxBarEditControl::WindowPositioned()
{
  if (TdxBarPainter* painter = GetPainter(); painter && FEditWnd)
    painter->SetEditFormattingRect(this, FEditWnd);
}

void TdxBarEditControl::DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams)
{
  DrawTextIn(AParams, GetTextAreaRect());
}

void TdxBarEditControl::DrawTextIn(const TdxBarEditLikeControlDrawParams* AParams, const TRect& AText)
{
  TdxBarPainter* painter = GetPainter();
  if (GetEnabled())
    SetWindowBounds(AText);
  if (!IsTextDrawnByPainter() || !painter || !AParams || !AParams->Canvas)
    return;
  TcxCanvas* canvas = AParams->Canvas;
  TFont saved;
  saved.Assign(canvas->GetFont());
  if (TFont* font = GetEditFont())
    canvas->SetFont(font);
  painter->DrawEditText(this, canvas, AText);
  canvas->SetFont(&saved);
}

void TdxBarEditControl::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_DESTROY: {
      // The bar window took the editor with it: editing ends, the next start makes a new one.
      SetFocused(false);
      DefaultHandler(Message);
      UnhookWindow();
      FEditWnd = nullptr;
      return;
    }
    case WM_PAINT:
      if (IsEditorDrawnByPainter() && IsBufferedPaintAvailable()) {
        PAINTSTRUCT ps{};
        HDC dc = ::BeginPaint(FEditWnd, &ps);
        PaintBuffered(dc);
        ::EndPaint(FEditWnd, &ps);
        Message.Result = 0;
        return;
      }
      break;
    case dxBarEditorRepaintMessage:
      if (FRepaintPending) {
        FRepaintPending = false;
        if (IsEditorDrawnByPainter() && ::IsWindowVisible(FEditWnd)) {
          HDC dc = ::GetDC(FEditWnd);
          PaintBuffered(dc);
          ::ReleaseDC(FEditWnd, dc);
        }
      }
      Message.Result = 0;
      return;
    default:
      break;
  }
  const UINT msg = Message.Msg;
  const WPARAM wparam = Message.WParam;
  TWeakRef<TdxBarEditControl> self(this);
  TdxBarCustomEditControl::WndProc(Message);
  if (self && MayDrawDirectly(msg, wparam))
    PostRepaint();
}

bool TdxBarEditControl::MayDrawDirectly(UINT AMsg, WPARAM AWParam)
{
  if (AMsg == WM_MOUSEMOVE)
    return (AWParam & MK_LBUTTON) != 0;
  // Typing, selecting, caret moves and text changes: the editor draws these at once
  // through its own device context, past the buffer.
  return AMsg == WM_CHAR || AMsg == WM_KEYDOWN || AMsg == WM_SETTEXT || AMsg == WM_SETFOCUS || AMsg == WM_KILLFOCUS ||
         (AMsg >= WM_LBUTTONDOWN && AMsg <= WM_MBUTTONDBLCLK) || (AMsg >= EM_SETSEL && AMsg <= EM_SETREADONLY) ||
         (AMsg >= WM_CUT && AMsg <= WM_UNDO);
}

void TdxBarEditControl::PostRepaint()
{
  if (FRepaintPending || !FEditWnd || !IsEditorDrawnByPainter() || !GetFocused())
    return;
  FRepaintPending = ::PostMessageW(FEditWnd, dxBarEditorRepaintMessage, 0, 0) != FALSE;
}

void TdxBarEditControl::PaintBuffered(HDC DC)
{
  // A themed editor flickers when it erases and draws straight on the screen: both go
  // into one buffer that reaches the window at once.
  RECT client{};
  ::GetClientRect(FEditWnd, &client);
  HDC buffer = nullptr;
  TdxPaintBuffer paint = BeginBufferedPaint(DC, client, bpfCompatibleBitmap, 0, buffer);
  if (!paint) {
    TMessage print{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT, 0};
    DefaultHandler(print);
    return;
  }
  TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffer), 0, 0};
  DefaultHandler(erase);
  TMessage print{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(buffer), PRF_CLIENT, 0};
  DefaultHandler(print);
  const TRect r = client;
  BufferedPaintSetAlpha(paint, &r, 255);
  ::HideCaret(FEditWnd);
  EndBufferedPaint(paint, true);
  ::ShowCaret(FEditWnd);
}
