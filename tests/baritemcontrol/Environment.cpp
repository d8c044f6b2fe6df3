// The program-wide set-up of the item control tests: the class layer and the bar library,
// then the test item kind joins the item-kind register.
#include "ItemControlTestUtil.h"

#include "platform/Canvas.h"
#include "platform/ImgList.h"

IMPLEMENT_CLASS(TTestItem, TdxBarItem)
IMPLEMENT_CLASS(TTestItemControl, TdxBarItemControl)
IMPLEMENT_CLASS(TTestBarControl, TCustomdxBarControl)
IMPLEMENT_CLASS(TTestPainter, TdxBarPainter)
IMPLEMENT_CLASS(TTestPainterManager, TdxBarManager)

void TTestItemControl::CalcParts()
{
  if (!TwoParts) {
    TdxBarItemControl::CalcParts();
    return;
  }
  TRect r = GetItemRect();
  InflateRect(&r, -2, -2);
  int middle = (r.left + r.right) / 2;
  SetPartRects({TRect{r.left, r.top, middle, r.bottom}, TRect{middle, r.top, r.right, r.bottom}});
}

std::unique_ptr<TCustomImageList> MakeImageList(int ASize, int ACount)
{
  auto images = std::make_unique<TCustomImageList>(ASize, ASize);
  std::unique_ptr<TBitmap> strip = MakeGlyph(ASize * ACount, ASize, clBlue);
  images->Add(strip.get(), nullptr);
  return images;
}

namespace {

[[maybe_unused]] testing::Environment* const LibraryEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{{TItemControlTestForm::StaticClass(), TdxBarManager::StaticClass()},
                               {{TTestItem::StaticClass(), TTestItemControl::StaticClass(), false}}});

}  // namespace
