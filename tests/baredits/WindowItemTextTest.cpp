// The painter's text of a window item: the link being edited shows what the user has typed,
// any other link its caption.
#include "EditTestUtil.h"

#include "bars/painters/painter.h"
#include "lookandfeel/cxGraphics.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

using TWindowItemText = TEditFixture;

// The control's text as the painter draws it, and a string drawn the same way.
TDib32 Drawn(const TdxBarPainter* APainter, const TdxBarItemControl* AControl, const String* AText = nullptr)
{
  TDib32 dib(160, 24, RGB(255, 255, 255));
  TCanvas canvas;
  canvas.SetHandle(dib.DC());
  TcxCanvas cx(&canvas);
  cx.GetBrush()->SetColor(clWhite);
  const TRect r = Rect(0, 0, 160, 24);
  if (AText) {
    TRect t = r;
    DrawTextInRect(dib.DC(), *AText, t, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  } else
    APainter->DrawWindowItemText(AControl, &cx, r);
  canvas.SetHandle(nullptr);
  return dib;
}

int Differences(const TDib32& A, const TDib32& B)
{
  int n = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x)
      n += A.Pixel(x, y) != B.Pixel(x, y);
  return n;
}

TEST_F(TWindowItemText, TheLinkBeingEditedShowsTheTypedTextOthersTheirCaption)
{
  Edit->SetCaption(L"Name");
  Edit->SetText(L"Stored");
  TdxBarEditControl* editing = ControlOn(Bar1, Edit);
  TdxBarEditControl* other = ControlOn(Bar2, Edit);
  ASSERT_NE(editing, nullptr);
  ASSERT_NE(other, nullptr);
  const TdxBarPainter* painter = editing->GetPainter();
  ASSERT_NE(painter, nullptr);
  const String caption = L"Name", typed = L"Typed";
  ASSERT_GT(Differences(Drawn(painter, editing, &caption), Drawn(painter, editing, &typed)), 20);
  EXPECT_EQ(Differences(Drawn(painter, editing), Drawn(painter, editing, &caption)), 0);
  ASSERT_TRUE(StartEditing(editing));
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(L"Typed"));
  PumpPending();
  ASSERT_EQ(Edit->GetFocusedLink(), editing->GetItemLink());
  EXPECT_EQ(Differences(Drawn(painter, editing), Drawn(painter, editing, &typed)), 0);
  EXPECT_EQ(Differences(Drawn(painter, other), Drawn(painter, other, &caption)), 0);
  PressKey(VK_ESCAPE);
}

}  // namespace
