// Small rectangle and point helpers the painters and bar windows lay out with: sizes and
// points from two numbers, rectangles grown, shrunk, moved and centred, and the point test
// that keeps the right and bottom edges outside, as GDI does.
#pragma once

#include "platform/Types.h"

TSize MakeSize(int AWidth, int AHeight);
TPoint MakePoint(int X, int Y);

// A copy grown by the four amounts (negative amounts shrink it).
TRect InflateRectBy(const TRect& R, int ALeft, int ATop, int ARight, int ABottom);
// A copy shrunk by Margins.left/top/right/bottom; the inverse of InflateRectBy with them.
TRect DeflateRectByMargins(const TRect& R, const TRect& AMargins);
TRect OffsetRectBy(const TRect& R, int DX, int DY);
// A rectangle of AWidth x AHeight centred in R. When the room left over is odd, the spare
// pixel goes to the right and bottom side (the offset is rounded down, towards minus
// infinity, also when the rectangle is larger than R).
TRect CenterRectInRect(const TRect& R, int AWidth, int AHeight);
// Inside R; a point on the right or bottom edge is outside.
bool IsPointInRect(const TPoint& P, const TRect& R);
