// The toolbar window's painting: the client content (items, separators, MDI buttons, the
// docked mark, the background) and the frame (floating caption with its buttons and mark,
// docked border), all through the painter; faded while another manager customizes.
#include "bars/barwindows/toolbar.h"

#include <algorithm>

#include "bars/model/bar.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/painters/painter.h"
#include "bars/model/startup.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Bitmap.h"

namespace {

// Another manager than AManager is customizing: the bars of AManager look inactive.
bool IsAnotherManagerCustomizing(const TdxBarManager* AManager)
{
  return AManager && AManager->IsAnotherManagerCustomizing();
}

}  // namespace

void TdxBarControl::Paint()
{
  if (IsDestroying())
    return;
  TRect client = GetClientRect();
  if (::IsRectEmpty(&client))
    return;
  // Drawn into the window's buffer first, so nothing flickers.
  TBitmap* buffer = GetBitmapBuffer();
  TCanvas* target = GetCanvas();
  if (!buffer || !target)
    return;
  if (buffer->GetWidth() != client.right || buffer->GetHeight() != client.bottom)
    buffer->SetSize(client.right, client.bottom);
  TcxCanvas canvas(buffer->GetCanvas());
  if (TFont* font = GetFont())
    canvas.SetFont(font);
  // The painter draws item text on the DC as it finds it: the window font goes in first.
  buffer->GetCanvas()->TextWidth(L"0");
  DrawContent(&canvas);
  // At design time the frame shows where the bar's client area is, even for an empty bar.
  if (TdxBarManager* manager = GetBarManager(); manager && manager->IsDesigning())
    DrawDottedDoubleFrame(canvas.GetHandle(), client);
  if (IsAnotherManagerCustomizing(GetBarManager()))
    TransformBarRect(&canvas, client);
  ::BitBlt(target->GetHandle(), 0, 0, client.right, client.bottom, buffer->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TdxBarControl::DrawContent(TcxCanvas* ACanvas)
{
  TdxBarPainter* painter = GetPainter();
  if (!ACanvas || !painter || !FItemLinks)
    return;
  TcxCanvas* canvas = ACanvas;
  HDC dc = canvas->GetHandle();
  const auto& shown = FItemLinks->GetShownItems();
  TdxBarManager* manager = GetBarManager();
  if (!(manager && manager->IsDesigning()))
    for (size_t i = size_t(std::max(0, FVisibleCount)); i < shown.size(); ++i)
      if (TdxBarItemControl* control = shown[i]->GetControl())
        if (TWinControl* hosted = control->GetHostedControl())
          if (hosted->HandleAllocated() && ::IsWindowVisible(hosted->GetHandle()))
            ::ShowWindow(hosted->GetHandle(), SW_HIDE);
  canvas->SaveState();
  bool backgroundFirst = painter->IsBackgroundDrawnFirst();
  if (backgroundFirst)
    DrawBackground(dc);
  for (int i = 0; i < FVisibleCount && i < int(shown.size()); ++i) {
    TdxBarItemControl* control = shown[size_t(i)]->GetControl();
    if (!control)
      continue;
    TRect r = shown[size_t(i)]->GetItemRect();
    if (::IsRectEmpty(&r))
      continue;
    DrawItemControl(canvas, control, r);
    canvas->ExcludeClipRect(r);
  }
  HBRUSH brush = GetBackgroundBrush();
  for (const TdxBarToolbarSeparator& s : FSeparators) {
    painter->DrawToolbarSeparator(this, dc, s.Bounds, brush, s.Horizontal);
    canvas->ExcludeClipRect(s.Bounds);
  }
  DrawMDIButtons(dc);
  if (FDockingStyle != dsNone && HasMark()) {
    TRect mark = GetMarkRect();
    painter->DrawMark(this, canvas, mark);
    canvas->ExcludeClipRect(mark);
  }
  if (!backgroundFirst)
    DrawBackground(dc);
  canvas->RestoreState();
}

void TdxBarControl::DrawBackground(HDC DC)
{
  if (TdxBarPainter* painter = GetPainter())
    painter->DrawBarBackground(this, DC);
}

void TdxBarControl::DrawMDIButtons(HDC DC)
{
  if (!HasMDIButtons())
    return;
  TdxBarPainter* painter = GetPainter();
  const TdxBarMDIButtonsState& state = dxBarMDIButtonsState();
  for (int i = HasMDISystemMenu() ? 0 : 2; i < 3; ++i) {
    TRect r = GetMDIButtonRect(i);
    const TdxBarMDIButtonState s = !IsMDIButtonEnabled(i) ? TdxBarMDIButtonState::Disabled
                                   : state.Pressed && state.PressedIndex == i && state.PressedHot
                                       ? TdxBarMDIButtonState::Pressed
                                   : state.HotIndex == i ? TdxBarMDIButtonState::Hot
                                                         : TdxBarMDIButtonState::Normal;
    painter->DrawMDIButton(this, DC, r, i, s);
    // A background drawn last must not cover the button.
    ::ExcludeClipRect(DC, r.left, r.top, r.right, r.bottom);
  }
}

namespace {

// Every other pixel of the rectangle's edge: a focus mark that, unlike the system's, does not
// depend on the colours and mix mode left in the device context.
void DrawDottedFrame(HDC DC, const TRect& R, COLORREF AColor)
{
  if (R.right - R.left < 2 || R.bottom - R.top < 2)
    return;
  for (int x = R.left; x < R.right; x += 2) {
    ::SetPixelV(DC, x, R.top, AColor);
    ::SetPixelV(DC, x, R.bottom - 1, AColor);
  }
  for (int y = R.top; y < R.bottom; y += 2) {
    ::SetPixelV(DC, R.left, y, AColor);
    ::SetPixelV(DC, R.right - 1, y, AColor);
  }
}

}  // namespace

void TdxBarControl::DrawCaptionButtons(HDC DC)
{
  TdxBarPainter* painter = GetPainter();
  TRect caption = GetCaptionRect();
  TRect close = GetCloseButtonRect();
  // A button selected by keyboard navigation shows hot while nothing else presses it.
  auto shown = [this](int AIndex, TdxBarMarkState AState) {
    return AState == TdxBarMarkState::Normal && FNavigationPart == AIndex ? TdxBarMarkState::Hot : AState;
  };
  if (!::IsRectEmpty(&close)) {
    const TdxBarMarkState state = shown(dxBarCloseButtonIndex, FCloseButtonState);
    painter->DrawCaptionButton(this, DC, close, state);
    painter->DrawCaptionCloseButton(this, DC, close, state);
    // The classic looks draw the system's close button alike hot or not: a button chosen by
    // keys is shown by a focus rectangle there.
    if (FNavigationPart == dxBarCloseButtonIndex && !painter->IsFlatStyle() && !painter->IsNativeStyle())
      DrawDottedFrame(DC, InflateRect(close, -2, -2), ::GetSysColor(COLOR_BTNTEXT));
  }
  TdxBarCaptionButtons* buttons = FBar ? FBar->GetCaptionButtons() : nullptr;
  if (!buttons || buttons->GetCount() == 0)
    return;
  // Button rectangles follow the caption (CaptionButtonAt places them).
  CaptionButtonAt(Point(-100000, -100000));
  for (int i = 0; i < buttons->GetCount(); ++i) {
    TdxBarCaptionButton* button = buttons->GetItem(i);
    TRect r = button->GetRect();
    if (::IsRectEmpty(&r) || r.right <= caption.left)
      continue;
    TdxBarMarkState state = button->GetState() == TdxBarCaptionButton::bsPressed ? TdxBarMarkState::Pressed
                            : button->GetState() == TdxBarCaptionButton::bsHot   ? TdxBarMarkState::Hot
                                                                                 : TdxBarMarkState::Normal;
    painter->DrawCaptionButton(this, DC, r, shown(i, state));
    TBitmap* glyph = button->GetGlyph();
    if (glyph && !glyph->Empty())
      DrawGlyphInRect(DC, r, glyph, nullptr, -1, button->IsEnabled() ? gdmNormal : gdmDisabled);
  }
}

void TdxBarControl::PaintNonClient(HDC DC)
{
  TdxBarPainter* painter = GetPainter();
  if (!painter || !HandleAllocated() || FInternal)
    return;
  TRect w = TRect{};
  ::GetWindowRect(FHandle, &w);
  ::OffsetRect(&w, -w.left, -w.top);
  TRect b = GetBorders(FDockingStyle);
  TRect client = Rect(w.left + b.left, w.top + b.top, w.right - b.right, w.bottom - b.bottom);
  bool fade = IsAnotherManagerCustomizing(GetBarManager());
  // Faded frames are drawn into a bitmap first, faded, and copied; otherwise straight on.
  HDC target = DC;
  HDC memDC = nullptr;
  HBITMAP memBitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  if (fade) {
    memDC = ::CreateCompatibleDC(DC);
    memBitmap = CreateScreenBitmap(w.right, w.bottom);
    oldBitmap = ::SelectObject(memDC, memBitmap);
    target = memDC;
  }
  int saved = ::SaveDC(target);
  ::ExcludeClipRect(target, client.left, client.top, client.right, client.bottom);
  if (FDockingStyle == dsNone) {
    painter->DrawFloatingBarBorder(this, target, w);
    TRect caption = GetCaptionRect();
    int sysColor = painter->GetSysColorByIndex(this, IsActive());
    painter->DrawBarCaption(this, target, caption, dxBarSysColorBrush(sysColor));
    DrawCaptionButtons(target);
  } else {
    // The border's inner ring and the room beside the grip show the bar's face; the
    // painter draws only the frame and the grip on it.
    HBRUSH face = GetBackgroundBrush();
    if (face)
      ::FillRect(target, &w, face);
    TRect r = w;
    painter->DrawDockedBarBorder(this, target, r);
    if (FSizeGrip && FBar && FBar->CanShowSizeGrip())
      painter->DrawFloatingSizeGrip(this, target, w);
  }
  ::RestoreDC(target, saved);
  if (fade) {
    TCanvas plain;
    plain.SetHandle(memDC);
    {
      TcxCanvas canvas(&plain);
      TransformBarRect(&canvas, w);
    }
    plain.SetHandle(nullptr);
    int s2 = ::SaveDC(DC);
    ::ExcludeClipRect(DC, client.left, client.top, client.right, client.bottom);
    ::BitBlt(DC, 0, 0, w.right, w.bottom, memDC, 0, 0, SRCCOPY);
    ::RestoreDC(DC, s2);
    ::SelectObject(memDC, oldBitmap);
    ::DeleteObject(memBitmap);
    ::DeleteDC(memDC);
  }
}

void TdxBarControl::InvalidateMark()
{
  if (!HandleAllocated())
    return;
  TdxBarPainter* painter = GetPainter();
  if (!HasCaptionMark() || !painter || FInternal) {
    TRect r = GetMarkRect();
    ::InvalidateRect(FHandle, &r, FALSE);
    return;
  }
  // A faded frame is drawn as a whole.
  if (IsAnotherManagerCustomizing(GetBarManager())) {
    ::RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    return;
  }
  if (HDC dc = GetNonClientDC()) {
    painter->DrawCaptionMark(this, dc, GetMarkRect());
    ReleaseNonClientDC(dc);
  }
}

// ---------------------------------------------------------------------------
// What the painter asks of a toolbar

TColor TdxBarControl::GetCaptionMarkColor() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? clSystemColor | TColor(painter->GetSysColorByIndex(this, IsActive())) : clNone;
}

TBitmap* TdxBarControl::GetBarBackgroundBitmap() const
{
  return FBar ? FBar->GetBackgroundBitmap() : nullptr;
}

TColor TdxBarControl::GetBarColor() const
{
  return FBar ? FBar->GetColor() : clDefault;
}

bool TdxBarControl::FillDockSiteBackground(HDC DC, const TRect& R) const
{
  TdxDockControl* dock = FDockingStyle != dsNone ? GetDockControl() : nullptr;
  if (!dock || !HandleAllocated() || !dock->HandleAllocated())
    return false;
  // The site's background at this window's place, so it runs on without a seam.
  TRect source = R;
  ::MapWindowPoints(FHandle, dock->GetHandle(), reinterpret_cast<POINT*>(&source), 2);
  dock->FillBackground(DC, R, source);
  return true;
}

bool TdxBarControl::HasCaptionButtons() const
{
  return GetCaptionButtonCount() > 0;
}

int TdxBarControl::GetCaptionButtonCount() const
{
  if (FDockingStyle != dsNone || FInternal)
    return 0;
  TdxBarCaptionButtons* buttons = FBar ? FBar->GetCaptionButtons() : nullptr;
  return (HasCloseButton() ? 1 : 0) + (buttons ? buttons->GetCount() : 0);
}

bool TdxBarControl::IsDockable() const
{
  return FBar && !FInternal && FBar->CanDock();
}

void TdxBarControl::FillBackground(HDC DC, const TRect& R, HBRUSH ABrush, TColor AColor) const
{
  TdxBarPainter* painter = GetPainter();
  // A bitmap, a colour of its own or a dock site's bitmap shows in every look, not only in
  // the looks that paint the whole background themselves.
  if (painter && ABrush && ABrush == GetBackgroundBrush() &&
      (painter->IsToolbarBackgroundPainted() || HasOwnBackground())) {
    painter->DrawToolbarBackground(this, DC, R, painter->GetToolbarBackgroundBrush(this));
    return;
  }
  TCustomdxBarControl::FillBackground(DC, R, ABrush, AColor);
}
