#include "lookandfeel/cxGeometry.h"

namespace {

// Half of a difference, rounded towards minus infinity so that an odd spare pixel always
// lands on the same side whatever the sign.
int HalfDown(int Value)
{
  return Value >= 0 ? Value / 2 : -((-Value + 1) / 2);
}

}  // namespace

TSize MakeSize(int AWidth, int AHeight)
{
  return TSize{AWidth, AHeight};
}

TPoint MakePoint(int X, int Y)
{
  return TPoint{X, Y};
}

TRect InflateRectBy(const TRect& R, int ALeft, int ATop, int ARight, int ABottom)
{
  return TRect{R.left - ALeft, R.top - ATop, R.right + ARight, R.bottom + ABottom};
}

TRect DeflateRectByMargins(const TRect& R, const TRect& AMargins)
{
  return TRect{R.left + AMargins.left, R.top + AMargins.top, R.right - AMargins.right, R.bottom - AMargins.bottom};
}

TRect OffsetRectBy(const TRect& R, int DX, int DY)
{
  return TRect{R.left + DX, R.top + DY, R.right + DX, R.bottom + DY};
}

TRect CenterRectInRect(const TRect& R, int AWidth, int AHeight)
{
  int left = R.left + HalfDown(RectWidth(R) - AWidth);
  int top = R.top + HalfDown(RectHeight(R) - AHeight);
  return TRect{left, top, left + AWidth, top + AHeight};
}

bool IsPointInRect(const TPoint& P, const TRect& R)
{
  return P.x >= R.left && P.x < R.right && P.y >= R.top && P.y < R.bottom;
}
