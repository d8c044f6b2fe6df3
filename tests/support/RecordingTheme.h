// A theme binding for tests of the visual-style painter: it opens every kind, records what
// is drawn and answers sizes from a table, for one scope.
#pragma once

#include <map>
#include <vector>

#include "bars/painters/painter.h"

struct TRecordedPart {
  TdxTheme Theme;
  int Part, State;
  bool operator==(const TRecordedPart&) const = default;
};

// A theme binding that opens every kind (its handle is the kind + 1), records what is drawn
// and answers sizes from a table.
class TRecordingTheme {
public:
  TRecordingTheme()
  {
    TdxBarThemeBinding b;
    b.Open = [](TdxThemedObjectType AKind) { return TdxTheme(AKind) + 1; };
    b.Draw = [this](TdxTheme T, HDC, int P, int S, const TRect& R, const TRect*) {
      Drawn.push_back({T, P, S});
      Rects.push_back(R);
      return DrawWorks;
    };
    b.PartSize = [this](TdxTheme T, HDC, int P, int, TdxThemeSize) { return Sizes[{T, P}]; };
    b.ContentRect = [this](TdxTheme, HDC, int, int, const TRect& R) { return InflateRect(R, -Margin, -Margin); };
    b.Color = [](TdxTheme, int, int, int, COLORREF&) { return false; };
    b.IsPartiallyTransparent = [](TdxTheme, int, int) { return false; };
    SetdxBarThemeBinding(&b);
  }
  // The real theme's sizes are read again for the painters made after the test.
  ~TRecordingTheme()
  {
    SetdxBarThemeBinding(nullptr);
    TdxBarXPPainter reread;
  }
  static TdxTheme Of(TdxThemedObjectType AKind) { return TdxTheme(AKind) + 1; }

  std::vector<TRecordedPart> Drawn;
  std::vector<TRect> Rects;  // where each part of Drawn went
  std::map<std::pair<TdxTheme, int>, TSize> Sizes;
  int Margin = 3;
  bool DrawWorks = true;
};
