// The fixture of the drawing-base tests: a 32-bit DIB with a platform canvas and a
// TcxCanvas on it, and a check that every case frees the GDI objects it made.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "lookandfeel/cxGraphics.h"
#include "support/Pixels.h"

class TDrawingTest : public testing::Test {
protected:
  static constexpr int Width = 64;
  static constexpr int Height = 48;
  static constexpr COLORREF Paper = RGB(10, 200, 30);

  void SetUp() override
  {
    FStart = GdiObjectsInUse();
    FDib = std::make_unique<TDib32>(Width, Height, Paper);
    FCanvas = std::make_unique<TCanvas>();
    FCanvas->SetHandle(FDib->DC());
    FcxCanvas = std::make_unique<TcxCanvas>(FCanvas.get());
  }
  void TearDown() override
  {
    FcxCanvas.reset();
    FCanvas.reset();
    FDib.reset();
    EXPECT_EQ(GdiObjectsInUse(), FStart) << "GDI objects leaked by this test";
  }

  HDC DC() const { return FDib->DC(); }
  COLORREF At(int X, int Y) const { return FDib->Pixel(X, Y); }
  TDib32& Dib() { return *FDib; }
  TcxCanvas* Canvas() { return FcxCanvas.get(); }

  std::unique_ptr<TDib32> FDib;
  std::unique_ptr<TCanvas> FCanvas;
  std::unique_ptr<TcxCanvas> FcxCanvas;

private:
  int FStart = 0;
};

inline COLORREF Sys(int Index)
{
  return GetSysColor(Index);
}
