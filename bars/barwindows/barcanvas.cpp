// TdxBarCanvas: the nestable shared canvas.
#include "bars/barwindows/barcanvas.h"

#include "platform/Win.h"

IMPLEMENT_CLASS(TdxBarCanvas, TcxCanvas)

TdxBarCanvas::TdxBarCanvas() : TcxCanvas(nullptr), FOwnCanvas(std::make_unique<TCanvas>())
{
  SetCanvas(FOwnCanvas.get());
}

TdxBarCanvas::~TdxBarCanvas()
{
  // A painter that failed half-way leaves states behind: give every DC its state back.
  while (!FStates.empty())
    EndPaint();
  FOwnCanvas->SetHandle(nullptr);
}

void TdxBarCanvas::BeginPaint(HDC DC)
{
  TState state;
  state.PreviousHandle = FOwnCanvas->HandleAllocated() ? FOwnCanvas->GetHandle() : nullptr;
  state.OnDC = true;
  state.DC = DC;
  state.SavedDC = DC ? ::SaveDC(DC) : 0;
  // A BeginPaintOnCanvas may have switched away from the own canvas: painting on a DC
  // always goes through it.
  if (GetCanvas() != FOwnCanvas.get()) {
    state.SavedCanvas = GetCanvas();
    SetCanvas(FOwnCanvas.get());
  }
  FStates.push_back(state);
  FOwnCanvas->SetHandle(DC);
}

void TdxBarCanvas::BeginPaintOnCanvas(TCanvas* ACanvas)
{
  TState state;
  state.SavedCanvas = GetCanvas();
  FStates.push_back(state);
  SetCanvas(ACanvas ? ACanvas : FOwnCanvas.get());
}

void TdxBarCanvas::EndPaint()
{
  if (FStates.empty())
    return;
  const TState state = FStates.back();
  FStates.pop_back();
  if (state.OnDC) {
    // Take the canvas's objects out of the DC before its state comes back, even when the
    // previous target is the same DC.
    FOwnCanvas->SetHandle(nullptr);
    if (state.SavedDC)
      ::RestoreDC(state.DC, state.SavedDC);
    FOwnCanvas->SetHandle(state.PreviousHandle);
  }
  if (state.SavedCanvas)
    SetCanvas(state.SavedCanvas);
}
