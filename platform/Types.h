// Rectangles, points and sizes: the Win32 RECT, POINT and SIZE with the small helpers the
// visual layers build geometry from (Rect, Point, Bounds, RectWidth, PtInRect, ...).
// Everything is inline so that layout code reads like arithmetic.
#pragma once

#include <algorithm>

#include "platform/Win.h"

using TRect = RECT;
using TPoint = POINT;
using TSize = SIZE;

inline TRect Rect(int Left, int Top, int Right, int Bottom)
{
  return TRect{Left, Top, Right, Bottom};
}
inline TRect Rect(const TPoint& TopLeft, const TPoint& BottomRight)
{
  return TRect{TopLeft.x, TopLeft.y, BottomRight.x, BottomRight.y};
}
// A rectangle from its origin and extent.
inline TRect Bounds(int Left, int Top, int Width, int Height)
{
  return TRect{Left, Top, Left + Width, Top + Height};
}
inline TPoint Point(int X, int Y)
{
  return TPoint{X, Y};
}
inline TSize Size(int Cx, int Cy)
{
  return TSize{Cx, Cy};
}

inline int RectWidth(const TRect& R)
{
  return R.right - R.left;
}
inline int RectHeight(const TRect& R)
{
  return R.bottom - R.top;
}
inline TSize RectSize(const TRect& R)
{
  return TSize{RectWidth(R), RectHeight(R)};
}
inline TPoint TopLeft(const TRect& R)
{
  return TPoint{R.left, R.top};
}
inline TPoint BottomRight(const TRect& R)
{
  return TPoint{R.right, R.bottom};
}
inline TPoint CenterPoint(const TRect& R)
{
  return TPoint{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
}
// Empty when it has no area (a reversed rectangle counts as empty).
inline bool IsRectEmpty(const TRect& R)
{
  return R.right <= R.left || R.bottom <= R.top;
}

// Right and bottom edges are outside, as everywhere in GDI.
inline bool PtInRect(const TRect& R, const TPoint& P)
{
  return P.x >= R.left && P.x < R.right && P.y >= R.top && P.y < R.bottom;
}

inline TRect OffsetRect(const TRect& R, int Dx, int Dy)
{
  return TRect{R.left + Dx, R.top + Dy, R.right + Dx, R.bottom + Dy};
}
// Grows the rectangle by Dx, Dy on every side (negative values shrink it).
inline TRect InflateRect(const TRect& R, int Dx, int Dy)
{
  return TRect{R.left - Dx, R.top - Dy, R.right + Dx, R.bottom + Dy};
}
// The common part, or an empty rectangle at the origin when they do not meet.
inline TRect IntersectRect(const TRect& A, const TRect& B)
{
  TRect r{std::max(A.left, B.left), std::max(A.top, B.top), std::min(A.right, B.right), std::min(A.bottom, B.bottom)};
  return IsRectEmpty(r) ? TRect{0, 0, 0, 0} : r;
}
// The smallest rectangle holding both; an empty one does not count.
inline TRect UnionRect(const TRect& A, const TRect& B)
{
  if (IsRectEmpty(A))
    return B;
  if (IsRectEmpty(B))
    return A;
  return TRect{std::min(A.left, B.left), std::min(A.top, B.top), std::max(A.right, B.right),
               std::max(A.bottom, B.bottom)};
}

inline bool operator==(const TRect& A, const TRect& B)
{
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}
inline bool operator==(const TPoint& A, const TPoint& B)
{
  return A.x == B.x && A.y == B.y;
}
inline bool operator==(const TSize& A, const TSize& B)
{
  return A.cx == B.cx && A.cy == B.cy;
}
