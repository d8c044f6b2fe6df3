// Labels, panels and bevels: sizing to the text, the accelerator that focuses another control,
// transparency, bevels and the panel's client area, checked on what reaches the screen.
#include "StdControlsTestUtil.h"

#include "platform/ExtCtrls.h"
#include "platform/StdCtrls.h"

namespace {

struct LabelTest : TStdControlsTest {
  TLabel* Label = nullptr;
  void SetUp() override
  {
    TStdControlsTest::SetUp();
    Label = new TLabel(Form);
    Label->SetBounds(20, 20, 10, 10);
    Label->SetParent(Form);
  }
};

}  // namespace

TEST_F(LabelTest, AutoSizeFollowsTheTextAndKeepsTheRightEdgeOfARightAlignedLabel)
{
  Label->SetCaption(L"Short");
  int shortWidth = Label->GetWidth();
  Label->SetCaption(L"A much longer caption");
  EXPECT_GT(Label->GetWidth(), shortWidth);
  EXPECT_EQ(Label->GetLeft(), 20);
  int right = Label->GetLeft() + Label->GetWidth();
  Label->SetAlignment(taRightJustify);
  Label->SetCaption(L"Short");
  EXPECT_EQ(Label->GetLeft() + Label->GetWidth(), right);
  EXPECT_EQ(Label->GetWidth(), shortWidth);
  // An empty caption keeps a line's height.
  Label->SetCaption(L"");
  EXPECT_GT(Label->GetHeight(), 5);
}

TEST_F(LabelTest, WordWrapKeepsTheWidthAndGrowsDownwards)
{
  Label->SetCaption(L"one two three four five six seven eight nine ten");
  int lineHeight = Label->GetHeight();
  Label->SetAutoSize(false);
  Label->SetWidth(60);
  Label->SetWordWrap(true);
  Label->SetAutoSize(true);
  EXPECT_EQ(Label->GetWidth(), 60);
  EXPECT_GE(Label->GetHeight(), 3 * lineHeight);
  // Without AutoSize nothing moves.
  Label->SetAutoSize(false);
  Label->SetCaption(L"x");
  EXPECT_EQ(Label->GetWidth(), 60);
  EXPECT_GE(Label->GetHeight(), 3 * lineHeight);
}

TEST_F(LabelTest, TheAcceleratorFocusesItsControlAndForgetsAFreedOne)
{
  auto* edit = new TEdit(Form);
  edit->SetBounds(20, 60, 100, 21);
  edit->SetParent(Form);
  auto* button = new TButton(Form);
  button->SetBounds(20, 100, 75, 25);
  button->SetParent(Form);
  Label->SetCaption(L"&Name:");
  Label->SetFocusControl(edit);
  FocusOnShow(button);
  ShowForm();
  ASSERT_TRUE(PressKey('N', {VK_MENU}));
  PumpUntil([edit] { return edit->Focused(); }, 2000);
  EXPECT_TRUE(edit->Focused());
  edit->Free();
  EXPECT_EQ(Label->GetFocusControl(), nullptr);
  button->SetFocus();
  ASSERT_TRUE(PressKey('N', {VK_MENU}));  // nothing to focus: nothing happens
  EXPECT_TRUE(button->Focused());
}

TEST_F(LabelTest, AnOpaqueLabelFillsWithItsColourATransparentOneLeavesTheParent)
{
  Form->SetColor(RGB(0, 0x80, 0));
  Label->SetAutoSize(false);
  Label->SetBounds(20, 20, 80, 30);
  Label->SetCaption(L"");
  Label->SetColor(RGB(0xC0, 0, 0));
  ShowForm();
  PumpPending();
  EXPECT_TRUE(ColorNear(ScreenPixel(Label, 40, 15), RGB(0xC0, 0, 0)));
  Label->SetTransparent(true);
  ::UpdateWindow(Form->GetHandle());
  PumpPending();
  EXPECT_TRUE(ColorNear(ScreenPixel(Label, 40, 15), RGB(0, 0x80, 0)));
}

TEST_F(LabelTest, LayoutMovesTheTextDown)
{
  Label->SetAutoSize(false);
  Label->SetBounds(20, 20, 120, 90);
  Label->SetCaption(L"WWWW");
  Label->SetColor(RGB(255, 255, 255));
  Label->GetFont()->SetColor(RGB(0, 0, 0));
  ShowForm();
  auto darkRows = [this](int From, int To) {
    POINT p = ScreenPoint(Label, 0, 0);
    TDib32 shot = CaptureScreen(RECT{p.x, p.y, p.x + 120, p.y + 90});
    return CountPixels(shot, RECT{0, From, 120, To}, [](COLORREF c) { return GetRValue(c) < 100; });
  };
  EXPECT_GT(darkRows(0, 25), 0);
  EXPECT_EQ(darkRows(65, 90), 0);
  Label->SetLayout(tlBottom);
  ::UpdateWindow(Form->GetHandle());
  PumpPending();
  EXPECT_EQ(darkRows(0, 25), 0);
  EXPECT_GT(darkRows(65, 90), 0);
}

// ---------------------------------------------------------------------------
// Panels and bevels

TEST_F(TStdControlsTest, APanelLaysOutItsChildrenInsideBordersAndBevels)
{
  auto* panel = new TPanel(Form);
  panel->SetBounds(10, 10, 200, 150);
  panel->SetParent(Form);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  auto* child = new TPanel(Form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->GetBoundsRect(), Rect(7, 7, 193, 143)) << "2 + 3 + 2 on each side";
  panel->SetBevelInner(bvNone);
  EXPECT_EQ(child->GetBoundsRect(), Rect(5, 5, 195, 145));
  panel->SetBorderWidth(-4);
  EXPECT_EQ(panel->GetBorderWidth(), 0) << "negative widths are taken as 0";
  EXPECT_EQ(child->GetBoundsRect(), Rect(2, 2, 198, 148));
}

TEST_F(TStdControlsTest, AlignWithMarginsKeepsTheMarginsAroundATopPanel)
{
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetHeight(40);
  panel->SetAlignWithMargins(true);
  panel->GetMargins()->SetMargins(5, 6, 7, 8);
  panel->SetAlign(alTop);
  TRect client = Form->GetClientRect();
  EXPECT_EQ(panel->GetBoundsRect(), Rect(5, 6, client.right - 7, 46));
}

TEST_F(TStdControlsTest, BevelsAndTheCaptionAreDrawnWhereTheySay)
{
  Form->SetColor(clBtnFace);
  auto* panel = new TPanel(Form);
  panel->SetBounds(10, 10, 200, 60);
  panel->SetParent(Form);
  panel->SetCaption(L"WWWWWW");
  panel->SetAlignment(taLeftJustify);
  auto* bevel = new TBevel(Form);
  bevel->SetBounds(10, 100, 200, 20);
  bevel->SetShape(bsTopLine);
  bevel->SetParent(Form);
  ShowForm();
  COLORREF highlight = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
  EXPECT_TRUE(ColorNear(ScreenPixel(panel, 0, 30), highlight));
  EXPECT_TRUE(ColorNear(ScreenPixel(panel, 100, 0), highlight));
  EXPECT_TRUE(ColorNear(ScreenPixel(panel, 199, 30), shadow));
  EXPECT_TRUE(ColorNear(ScreenPixel(panel, 100, 59), shadow));
  POINT origin = ScreenPoint(panel, 0, 0);
  TDib32 shot = CaptureScreen(RECT{origin.x, origin.y, origin.x + 200, origin.y + 60});
  COLORREF text = ColorToRGB(clBtnText);
  EXPECT_GT(CountPixelsNear(shot, RECT{2, 2, 100, 58}, text, 40), 0) << "a left caption starts at the left";
  EXPECT_EQ(CountPixelsNear(shot, RECT{120, 2, 198, 58}, text, 40), 0);
  // A lowered top line: shadow over highlight.
  EXPECT_TRUE(ColorNear(ScreenPixel(bevel, 50, 0), shadow));
  EXPECT_TRUE(ColorNear(ScreenPixel(bevel, 50, 1), highlight));
  EXPECT_FALSE(ColorNear(ScreenPixel(bevel, 50, 10), shadow));
}
