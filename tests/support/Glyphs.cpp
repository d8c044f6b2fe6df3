#include "support/Glyphs.h"

#include "platform/Canvas.h"

std::unique_ptr<TBitmap> MakeGlyph(int AWidth, int AHeight, TColor AColor)
{
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(AWidth, AHeight);
  bitmap->GetCanvas()->GetBrush()->SetColor(AColor);
  bitmap->GetCanvas()->FillRect(TRect{0, 0, AWidth, AHeight});
  return bitmap;
}
