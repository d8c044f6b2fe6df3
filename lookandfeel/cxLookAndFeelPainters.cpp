// Arrow geometry of the look-and-feel painters.
#include "lookandfeel/cxLookAndFeelPainters.h"

#include <algorithm>

DEFINE_ENUM_INFO(TcxArrowDirection, L"adUp", L"adDown", L"adLeft", L"adRight")

IMPLEMENT_CLASS(TcxCustomLookAndFeelPainter, TObject)

TcxArrowPoints TcxCustomLookAndFeelPainter::CalculateArrowPoints(const TRect& R, TcxArrowDirection Direction, int Size)
{
  if (Direction < adUp || Direction > adRight)
    Direction = adDown;
  const bool vertical = Direction == adUp || Direction == adDown;
  // Along the base and along the arrow's axis, in pixels.
  const int across = vertical ? RectWidth(R) : RectHeight(R);
  const int along = vertical ? RectHeight(R) : RectWidth(R);
  Size = std::max(0, std::min({Size, (across - 1) / 2, along - 1}));
  // The base spans 2 * Size + 1 pixels and the arrow Size + 1: centre both, leaning to
  // the top-left by half a pixel when the remainder is odd.
  const int baseStart = (vertical ? R.left : R.top) + std::max(0, (across - 1 - 2 * Size) / 2);
  const int axisStart = (vertical ? R.top : R.left) + std::max(0, (along - 1 - Size) / 2);
  const int middle = baseStart + Size;
  const int baseEnd = baseStart + 2 * Size;
  const int axisLow = axisStart, axisHigh = axisStart + Size;
  switch (Direction) {
    case adUp:
      return {TPoint{baseStart, axisHigh}, TPoint{baseEnd, axisHigh}, TPoint{middle, axisLow}};
    case adLeft:
      return {TPoint{axisHigh, baseStart}, TPoint{axisHigh, baseEnd}, TPoint{axisLow, middle}};
    case adRight:
      return {TPoint{axisLow, baseStart}, TPoint{axisLow, baseEnd}, TPoint{axisHigh, middle}};
    case adDown:
    default:
      return {TPoint{baseStart, axisLow}, TPoint{baseEnd, axisLow}, TPoint{middle, axisHigh}};
  }
}
