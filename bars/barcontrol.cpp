#include "bars/barcontrol.h"

#include "bars/drawparams.h"
#include "bars/itemcontrol.h"
#include "bars/itemlinks.h"
#include "bars/manager.h"
#include "bars/startup.h"
#include "lookandfeel/cxGraphics.h"

IMPLEMENT_CLASS(TCustomdxBarControl, TCustomControl)

TCustomdxBarControl::TCustomdxBarControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TCustomdxBarControl::~TCustomdxBarControl() = default;

TdxBarManager* TCustomdxBarControl::GetBarManager() const
{
  return dynamic_cast<TdxBarManager*>(Owner());
}

TdxBarPainter* TCustomdxBarControl::GetPainter() const
{
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetPainter() : nullptr;
}

void TCustomdxBarControl::SetItemLinks(TdxBarItemLinks* Value)
{
  FItemLinks = Value;
}

bool TCustomdxBarControl::IsCustomizing() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->IsCustomizing();
}

TdxBarItemControl* TCustomdxBarControl::GetSelectedControl() const
{
  return FSelectedLink ? FSelectedLink->GetControl() : nullptr;
}

// The selection is kept by link, so a control made again for the same link stays selected.
void TCustomdxBarControl::SetSelectedControl(TdxBarItemControl* Value)
{
  FSelectedLink = Value ? Value->GetItemLink() : nullptr;
}

void TCustomdxBarControl::RebuildBar() {}

void TCustomdxBarControl::RecalculateLayout() {}

void TCustomdxBarControl::RepaintAll()
{
  Invalidate();
}

// ---------------------------------------------------------------------------
// What the painter asks of a bar window

namespace {

HBRUSH SysBrushValue(int AIndex)
{
  return HBRUSH(uintptr_t(AIndex + 1));
}

}  // namespace

int TCustomdxBarControl::GetBarKind() const
{
  return GetKind() == bckToolbar ? bkHorizontal : bkMenu;
}

HBRUSH TCustomdxBarControl::GetBackgroundBrush() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetBackgroundBrush(this) : SysBrushValue(COLOR_BTNFACE);
}

HBRUSH TCustomdxBarControl::GetCheckerBrush() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetCheckerBrush(this) : dxBarCheckerBrush();
}

HBRUSH TCustomdxBarControl::GetFaceBrush() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetFaceBrush(this) : SysBrushValue(COLOR_BTNFACE);
}

HBRUSH TCustomdxBarControl::GetHighlightBrush() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetHighlightBrush(this) : SysBrushValue(COLOR_HIGHLIGHT);
}

void TCustomdxBarControl::FillBackground(HDC DC, const TRect& R, HBRUSH ABrush, TColor AColor) const
{
  if (!DC || IsRectEmpty(R))
    return;
  if (ABrush)
    ::FillRect(DC, &R, ABrush);
  else
    FillRectByColor(DC, R, AColor);
}

int TCustomdxBarControl::GetTextHeight() const
{
  TdxBarPainter* painter = GetPainter();
  if (!painter)
    return 0;
  TcxScreenCanvas canvas;
  if (TFont* font = GetFont())
    canvas.SetFont(font);
  return painter->GetTextHeight(&canvas);
}

// ---------------------------------------------------------------------------
// What item controls ask of a bar window

TcxCanvas* TCustomdxBarControl::GetcxCanvas() const
{
  if (HandleAllocated()) {
    if (!FItemCanvas)
      FItemCanvas = std::make_unique<TcxCanvas>(const_cast<TCustomdxBarControl*>(this)->GetCanvas());
    return FItemCanvas.get();
  }
  if (!FScreenItemCanvas) {
    FScreenItemCanvas = std::make_unique<TcxScreenCanvas>();
    if (TFont* font = GetFont())
      FScreenItemCanvas->SetFont(font);
  }
  return FScreenItemCanvas.get();
}
