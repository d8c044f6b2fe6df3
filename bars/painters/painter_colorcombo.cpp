// The base painter's colour-combo parts: the custom-colour button beside the drop-down
// button, and the colour sample before the text part.
#include <algorithm>

#include "bars/barwindows/drawparams.h"
#include "bars/painters/painter.h"
#include "bars/painters/painter_helpers.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGeometry.h"
#include "lookandfeel/cxGraphics.h"

namespace {

// The sample's column: its width with the gap, its inset from the text part's height and
// the gap between it and the text part.
constexpr TRect ColorSampleMargins{20, 3, 3, 3};
// The button's three dots: each this size, and this many sevenths of the button apart.
constexpr int ColorButtonDotSize = 2;
constexpr int ColorButtonDotSpacing = 2;

}  // namespace

void TdxBarPainter::CalcColorComboParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R,
                                        std::vector<TRect>& AParts) const
{
  CalcComboParts(ADrawParams, R, AParts);
  TRect button{};
  auto* params = dynamic_cast<const TdxBarColorComboControlDrawParams*>(ADrawParams);
  if (params && params->ShowCustomColorButton && AParts.size() > size_t(dxBarComboPartButton)) {
    // As wide as the drop-down button, just left of it; the text part gives the room.
    const TRect dropDown = AParts[dxBarComboPartButton];
    TRect& text = AParts[dxBarEditPartText];
    const int width = RectWidth(dropDown);
    button = TRect{std::max<int>(text.left, dropDown.left - GetComboButtonGap() - width), dropDown.top,
                   std::max<int>(text.left, dropDown.left - GetComboButtonGap()), dropDown.bottom};
    text.right = std::max<int>(text.left, button.left - GetComboButtonGap());
  }
  AParts.resize(size_t(dxBarColorComboPartCustomButton) + 1);
  AParts[dxBarColorComboPartCustomButton] = button;
}

TRect TdxBarPainter::GetColorSampleMargins(int ABarKind) const
{
  return ColorSampleMargins;
}

void TdxBarPainter::DrawColorSample(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R, TColor AColor) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || RectWidth(R) < 3 || RectHeight(R) < 3 || AColor == clNone || AColor == clDefault)
    return;
  const bool enabled = !ADrawParams || ADrawParams->Enabled;
  FrameRectByColor(DC, R, enabled ? clBtnShadow : clGrayText);
  FillRectByColor(DC, InflateRect(R, -1, -1), AColor);
}

void TdxBarPainter::DrawColorComboButton(const TdxBarItemControlDrawParams* ADrawParams, const TRect& R) const
{
  HDC DC = ParamsDC(ADrawParams);
  if (!DC || IsRectEmpty(R))
    return;
  TRect r = R;
  DrawButtonBackground(ADrawParams, r, GetComboButtonBrush(ADrawParams));
  DrawComboButtonFrame(ADrawParams, r);
  const bool enabled = !ADrawParams || ADrawParams->Enabled;
  const TColor color = enabled ? clBtnText : clBtnShadow;
  auto* params = dynamic_cast<const TdxBarColorComboControlDrawParams*>(ADrawParams);
  const int shift = params && params->CustomColorButtonPressed ? 1 : 0;
  const int step = std::max(ColorButtonDotSize + 1, RectWidth(r) * ColorButtonDotSpacing / 7);
  const int centreX = (r.left + r.right) / 2 + shift;
  const int top = (r.top + r.bottom) / 2 + shift;
  for (int i = -1; i <= 1; ++i) {
    const int left = centreX + i * step - ColorButtonDotSize / 2;
    FillRectByColor(DC, Rect(left, top, left + ColorButtonDotSize, top + ColorButtonDotSize), color);
  }
}
