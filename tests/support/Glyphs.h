// Pictures for items: a glyph filled with one colour, in 32 bits per pixel.
#pragma once

#include <memory>

#include "platform/Bitmap.h"
#include "platform/GraphicsObjects.h"

std::unique_ptr<TBitmap> MakeGlyph(int AWidth, int AHeight, TColor AColor = clRed);
