// The shared canvas of the bar windows and painters: one canvas wrapper that is pointed at
// whatever DC or canvas is being painted and remembers each previous target, so painting
// can nest (a bar window painting an item control that paints into a buffer).
#pragma once

#include <memory>
#include <vector>

#include "lookandfeel/cxGraphics.h"

class TdxBarCanvas : public TcxCanvas {
  DECLARE_CLASS(TdxBarCanvas, TcxCanvas)
public:
  TdxBarCanvas();
  ~TdxBarCanvas() override;

  // Points the canvas at DC after saving DC's state (SaveDC) and the previous target.
  void BeginPaint(HDC DC);
  // Switches to another canvas, remembering the current one.
  void BeginPaintOnCanvas(TCanvas* ACanvas);
  // Undoes the last BeginPaint / BeginPaintOnCanvas; an unbalanced call does nothing.
  void EndPaint();
  // Nesting depth: how many BeginPaint calls wait for their EndPaint.
  int GetPaintLevel() const { return int(FStates.size()); }

private:
  struct TState {
    TCanvas* SavedCanvas = nullptr;  // set by BeginPaintOnCanvas
    HDC PreviousHandle = nullptr;    // the own canvas's handle before BeginPaint
    bool OnDC = false;               // pushed by BeginPaint
    HDC DC = nullptr;
    int SavedDC = 0;
  };
  std::unique_ptr<TCanvas> FOwnCanvas;
  std::vector<TState> FStates;
};
