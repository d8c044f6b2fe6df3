// The painter classes a bar manager chooses from its style. Each bar manager holds one
// painter object made through the class reference; the drawing operations join these
// classes as the bar windows are built.
#pragma once

#include "platform/System.h"

// The stateless drawing and metrics strategy of bars and menus.
class TdxBarPainter : public TObject {
  DECLARE_CLASS(TdxBarPainter, TObject)
public:
  TdxBarPainter() = default;
};

class TdxBarStandardPainter : public TdxBarPainter {
  DECLARE_CLASS(TdxBarStandardPainter, TdxBarPainter)
};

class TdxBarEnhancedPainter : public TdxBarStandardPainter {
  DECLARE_CLASS(TdxBarEnhancedPainter, TdxBarStandardPainter)
};

class TdxBarFlatPainter : public TdxBarPainter {
  DECLARE_CLASS(TdxBarFlatPainter, TdxBarPainter)
};

class TdxBarXPPainter : public TdxBarPainter {
  DECLARE_CLASS(TdxBarXPPainter, TdxBarPainter)
};

class TdxBarOffice11Painter : public TdxBarFlatPainter {
  DECLARE_CLASS(TdxBarOffice11Painter, TdxBarFlatPainter)
};

// The painter class used for a look-and-feel that carries a skin; replaceable by a skin
// library, initially the standard painter. Setting nil restores that default.
TClass dxBarSkinPainterClass();
void SetdxBarSkinPainterClass(TClass Value);
