// What the list painter kinds share of a command entry's rules and drawing.
#pragma once

#include "barcustomize/listpainters.h"

namespace dxBarCustomizingFormPainting {

// No image list, or an image index that names one of its images.
bool IsImageAvailable(const TdxBarItem* AItem);
// A drop-down button shows its drop-down part in the list too.
bool HasDropDownPart(const TdxBarItem* AItem);
bool IsListedContainer(const TdxBarItem* AItem);
bool HasSubMenuArrow(const TdxBarItem* AItem);
// One line, vertically centred, "&" shown as it is, not clipped to R.
void DrawTextIn(TCanvas* ACanvas, const TRect& R, const String& AText);
void FillWith(TCanvas* ACanvas, const TRect& R, TColor AColor);

}  // namespace dxBarCustomizingFormPainting
