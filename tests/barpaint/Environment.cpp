// The program-wide set-up of the painter drawing tests and the test doubles' bodies.
#include "PaintTestUtil.h"

IMPLEMENT_CLASS(TPaintBar, TCustomdxBarControl)
IMPLEMENT_CLASS(TPaintItem, TdxBarItemControl)

namespace {

[[maybe_unused]] testing::Environment* const BarPaintEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TPaintTestForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace

TPaintItem::TPaintItem(TCustomdxBarControl* ABar) : TdxBarItemControl(nullptr), Bar(ABar)
{
  SetGlyph(16, RGB(220, 0, 0));
}

HBRUSH TPaintItem::GetBackgroundBrush() const
{
  if (OwnBrush)
    return OwnBrush;
  return Bar ? Bar->GetBackgroundBrush() : dxBarSysColorBrush(COLOR_BTNFACE);
}

bool TPaintItem::GetImageInfo(int AImageSizeKind, TCustomImageList*& AImages, int& AImageIndex, TBitmap*& AGlyph) const
{
  AImages = HasGlyph ? nullptr : Images;
  AImageIndex = HasGlyph ? -1 : ImageIndex;
  AGlyph = HasGlyph ? Glyph.get() : nullptr;
  return AGlyph != nullptr || AImages != nullptr;
}

void TPaintItem::SetGlyph(int ASize, COLORREF AColor)
{
  Glyph = std::make_unique<TBitmap>();
  Glyph->SetPixelFormat(pf24bit);
  Glyph->SetWidth(ASize);
  Glyph->SetHeight(ASize);
  HDC dc = Glyph->GetCanvas()->GetHandle();
  RECT all{0, 0, ASize, ASize};
  HBRUSH border = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &all, border);
  DeleteObject(border);
  RECT inner{1, 1, ASize - 1, ASize - 1};
  HBRUSH fill = CreateSolidBrush(AColor);
  FillRect(dc, &inner, fill);
  DeleteObject(fill);
}

TDibCanvas::TDibCanvas(TDib32& ADib) : Cx(&Canvas)
{
  Canvas.SetHandle(ADib.DC());
}

TDibCanvas::~TDibCanvas()
{
  Canvas.SetHandle(nullptr);
}

void InitButtonParams(TdxBarButtonLikeControlDrawParams& AParams, TPaintItem* AItem, TcxCanvas* ACanvas, int AViewParts,
                      const String& ACaption)
{
  AParams.ItemControl = AItem;
  AParams.Canvas = ACanvas;
  AParams.Caption = ACaption;
  AParams.BarControlKind = bkHorizontal;
  AParams.ViewSize = isSmall;
  AParams.ViewParts = AViewParts;
  AParams.GlyphSize = Size(22, 23);
  AParams.TextHeight = 22;
  AParams.Enabled = AItem ? AItem->Enabled : true;
  AParams.CaptionInFlatSelection = true;
}
