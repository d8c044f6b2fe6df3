// The glyph button under the real pointer: pressed look while held, one click, groups where one
// button stays down, the flat button's hot frame, and the glyph drawn with its transparent colour.
#include "StdControlsTestUtil.h"

#include "platform/Buttons.h"

namespace {

struct SpeedButtonTest : TStdControlsTest {
  TSpeedButton* Make(const wchar_t* Name, int Left, int Group = 0)
  {
    auto* button = new TSpeedButton(Form);
    button->SetName(Name);
    button->SetBounds(Left, 20, 40, 30);
    button->SetGroupIndex(Group);
    button->SetParent(Form);
    button->OnClick = TNotifyEvent(Form, &THostForm::Clicked);
    return button;
  }
};

// A 16 x 16 glyph: magenta around a red square of 8 x 8.
void MakeGlyph(TBitmap* Glyph)
{
  Glyph->SetSize(16, 16);
  TCanvas* canvas = Glyph->GetCanvas();
  canvas->GetBrush()->SetColor(RGB(255, 0, 255));
  canvas->FillRect(Rect(0, 0, 16, 16));
  canvas->GetBrush()->SetColor(RGB(255, 0, 0));
  canvas->FillRect(Rect(4, 4, 12, 12));
}

}  // namespace

TEST_F(SpeedButtonTest, APressLooksDownUntilTheReleaseWhichClicksOnce)
{
  TSpeedButton* button = Make(L"A", 20);
  ShowForm();
  ASSERT_TRUE(MoveMouseTo(CenterOf(button)));
  ASSERT_TRUE(MouseButtonDown());
  EXPECT_EQ(button->GetState(), bsDown);
  EXPECT_EQ(Form->Count(L"click A"), 0);
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_EQ(button->GetState(), bsUp);
  EXPECT_FALSE(button->GetDown()) << "outside a group it never stays down";
  EXPECT_EQ(Form->Count(L"click A"), 1);
  // Released elsewhere: no click.
  ASSERT_TRUE(MouseButtonDown());
  ASSERT_TRUE(MoveMouseTo(ScreenPoint(button, 100, 100)));
  EXPECT_EQ(button->GetState(), bsUp);
  ASSERT_TRUE(MouseButtonUp());
  EXPECT_EQ(Form->Count(L"click A"), 1);
  button->SetEnabled(false);
  ASSERT_TRUE(ClickAt(CenterOf(button)));
  EXPECT_EQ(Form->Count(L"click A"), 1) << "a disabled button takes no click";
}

TEST_F(SpeedButtonTest, OneButtonOfAGroupStaysDown)
{
  TSpeedButton* a = Make(L"A", 20, 1);
  TSpeedButton* b = Make(L"B", 70, 1);
  TSpeedButton* other = Make(L"C", 120, 2);
  other->SetDown(true);
  ShowForm();
  ASSERT_TRUE(ClickAt(CenterOf(a)));
  EXPECT_TRUE(a->GetDown());
  ASSERT_TRUE(ClickAt(CenterOf(b)));
  EXPECT_TRUE(b->GetDown());
  EXPECT_FALSE(a->GetDown());
  EXPECT_TRUE(other->GetDown()) << "another group is left alone";
  ASSERT_TRUE(ClickAt(CenterOf(b)));
  EXPECT_TRUE(b->GetDown()) << "without AllowAllUp a click does not raise it";
  b->SetAllowAllUp(true);
  ASSERT_TRUE(ClickAt(CenterOf(b)));
  EXPECT_FALSE(b->GetDown());
  EXPECT_EQ(Form->Count(L"click B"), 3);
}

TEST_F(SpeedButtonTest, AFlatButtonShowsAFrameOnlyWhileThePointerIsOverIt)
{
  Form->SetColor(clBtnFace);
  TSpeedButton* button = Make(L"A", 20);
  button->SetFlat(true);
  ShowForm();
  COLORREF face = ColorToRGB(clBtnFace);
  EXPECT_TRUE(ColorNear(ScreenPixel(button, 0, 15), face));
  ASSERT_TRUE(MoveMouseTo(CenterOf(button)));
  PumpUntil([button] { return button->GetMouseInControl(); }, 2000);
  ::UpdateWindow(Form->GetHandle());
  EXPECT_TRUE(ColorNear(ScreenPixel(button, 0, 15), ColorToRGB(clBtnHighlight)));
  ParkCursor();
  PumpUntil([button] { return !button->GetMouseInControl(); }, 2000);
  ::UpdateWindow(Form->GetHandle());
  EXPECT_TRUE(ColorNear(ScreenPixel(button, 0, 15), face));
}

TEST_F(SpeedButtonTest, TheGlyphIsDrawnWithoutItsTransparentColour)
{
  TSpeedButton* button = Make(L"A", 20);
  MakeGlyph(button->GetGlyph());
  button->SetNumGlyphs(9);
  EXPECT_EQ(button->GetNumGlyphs(), 1) << "out of range is taken as 1";
  ShowForm();
  // The glyph is centred: 12..28 across, 7..23 down.
  EXPECT_TRUE(ColorNear(ScreenPixel(button, 20, 15), RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(ScreenPixel(button, 13, 8), ColorToRGB(clBtnFace)));
  button->SetEnabled(false);
  ::UpdateWindow(Form->GetHandle());
  PumpPending();
  EXPECT_TRUE(ColorNear(ScreenPixel(button, 20, 15), ColorToRGB(clBtnShadow))) << "disabled: the shape in shadow";
}
