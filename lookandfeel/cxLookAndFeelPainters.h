// Look-and-feel painters: the drawing strategies chosen from a look-and-feel's kind and
// native-style flag. Only what the bar library draws through is here: the base class
// with the arrow geometry shared by every look.
#pragma once

#include <array>

#include "platform/Classes.h"
#include "platform/Types.h"

// Which way an arrow points; the values are those the drawing code passes as numbers.
enum TcxArrowDirection { adUp = 0, adDown = 1, adLeft = 2, adRight = 3 };
DECLARE_ENUM_INFO(TcxArrowDirection)

using TcxArrowPoints = std::array<TPoint, 3>;

class TcxCustomLookAndFeelPainter : public TObject {
  DECLARE_CLASS(TcxCustomLookAndFeelPainter, TObject)
public:
  // The corners of an arrow triangle centred in R: the base ends first (in reading order:
  // left then right, or top then bottom), the tip last. Size is the distance from the base
  // to the tip; the base is 2 * Size + 1 pixels long. Size is reduced until the triangle
  // fits R (right and bottom edges outside), and a negative Size counts as 0. Points are
  // pixel positions, so a polygon through them covers Size + 1 rows (or columns).
  // An out-of-range direction is taken as adDown.
  static TcxArrowPoints CalculateArrowPoints(const TRect& R, TcxArrowDirection Direction, int Size);
  static TcxArrowPoints CalculateArrowPoints(const TRect& R, int Direction, int Size)
  {
    return CalculateArrowPoints(R, TcxArrowDirection(Direction), Size);
  }
};
