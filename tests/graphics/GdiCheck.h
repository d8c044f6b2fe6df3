// A fixture for graphics tests: every case must free each GDI object, DC, icon and
// image list it made through the layer, as the layer's own count shows.
#pragma once

#include <gtest/gtest.h>

#include "platform/Bitmap.h"
#include "platform/Graphics.h"

class TGdiLeakTest : public testing::Test {
protected:
  void SetUp() override { FStart = GdiObjectsInUse(); }
  void TearDown() override { EXPECT_EQ(GdiObjectsInUse(), FStart) << "GDI objects leaked by this test"; }

private:
  int FStart = 0;
};

inline COLORREF At(TBitmap& Bitmap, int X, int Y)
{
  return COLORREF(Bitmap.GetCanvas()->GetPixel(X, Y));
}
