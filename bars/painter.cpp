// The painter class family and the replaceable skin painter class.
#include "bars/painter.h"

IMPLEMENT_CLASS(TdxBarPainter, TObject)
IMPLEMENT_CLASS(TdxBarStandardPainter, TdxBarPainter)
IMPLEMENT_CLASS(TdxBarEnhancedPainter, TdxBarStandardPainter)
IMPLEMENT_CLASS(TdxBarFlatPainter, TdxBarPainter)
IMPLEMENT_CLASS(TdxBarXPPainter, TdxBarPainter)
IMPLEMENT_CLASS(TdxBarOffice11Painter, TdxBarFlatPainter)

namespace {
TClass GSkinPainterClass = nullptr;
}

TClass dxBarSkinPainterClass()
{
  return GSkinPainterClass ? GSkinPainterClass : TdxBarStandardPainter::StaticClass();
}

void SetdxBarSkinPainterClass(TClass Value)
{
  GSkinPainterClass = Value;
}
