// What a button control shows and how large it is: view parts by paint style and place,
// the arrow part and the draw parameters.
#include "ButtonTestUtil.h"

#include "platform/ImgList.h"

namespace {

class TButtonMeasureTest : public TButtonFixture {
protected:
  void SetUp() override
  {
    TButtonFixture::SetUp();
    Images = MakeButtonImages(16, 2);
    Host.Manager->SetImages(Images.get());
  }
  void TearDown() override
  {
    Host.Manager->SetImages(nullptr);
    TButtonFixture::TearDown();
  }
  std::unique_ptr<TCustomImageList> Images;
};

TEST_F(TButtonMeasureTest, ViewPartsByPaintStyleOnToolbarsAndInMenus)
{
  struct Row {
    TdxBarPaintStyle Style;
    int Toolbar;
    int Menu;
  };
  const Row rows[] = {
      {psStandard, ivpGlyph, ivpGlyph | ivpCaption},
      {psCaption, ivpCaption, ivpCaption},
      {psCaptionInMenu, ivpGlyph, ivpCaption},
      {psCaptionGlyph, ivpGlyph | ivpCaption, ivpGlyph | ivpCaption},
  };
  for (const Row& row : rows) {
    TdxBarButton* onBar = NewButton(L"Bar");
    TdxBarButton* inMenu = NewButton(L"Menu", bsDefault, MenuLinks.get());
    for (TdxBarButton* button : {onBar, inMenu}) {
      button->SetImageIndex(0);
      button->SetPaintStyle(row.Style);
    }
    EXPECT_EQ(ControlOf<TdxBarButtonControl>(onBar)->GetDefaultViewParts(), row.Toolbar) << "style " << int(row.Style);
    EXPECT_EQ(ControlOf<TdxBarButtonControl>(inMenu)->GetDefaultViewParts(), row.Menu) << "style " << int(row.Style);
  }
  // A standard toolbar button without an image shows its caption.
  TdxBarButton* withoutImage = NewButton(L"Save");
  EXPECT_EQ(ControlOf<TdxBarButtonControl>(withoutImage)->GetDefaultViewParts(), ivpCaption);
  EXPECT_EQ(ControlOf<TdxBarButtonControl>(withoutImage)->GetPaintStyle(), psCaption);
}

TEST_F(TButtonMeasureTest, PaintStyleChangeRebuildsTheBar)
{
  TdxBarButton* button = NewButton(L"Open");
  Toolbar->RebuildCount = 0;
  button->SetPaintStyle(psCaptionGlyph);
  EXPECT_EQ(Toolbar->RebuildCount, 1);
  // A link with its own paint style keeps its control.
  TdxBarItemLink* link = button->GetLink(0);
  link->SetUserDefine(link->GetUserDefine() + udPaintStyle);
  Toolbar->RebuildCount = 0;
  button->SetPaintStyle(psCaption);
  EXPECT_EQ(Toolbar->RebuildCount, 0);
}

TEST_F(TButtonMeasureTest, DropDownAddsTheArrowPartAtTheRight)
{
  TdxBarButton* plain = NewButton(L"Open");
  TdxBarButton* drop = NewButton(L"Open", bsDropDown);
  TdxBarButtonControl* plainControl = ControlOf<TdxBarButtonControl>(plain);
  TdxBarButtonControl* dropControl = ControlOf<TdxBarButtonControl>(drop);
  int arrow = dropControl->GetArrowWidth();
  EXPECT_EQ(arrow, Host.Manager->GetPainter()->GetButtonArrowWidth(Host.Manager));
  EXPECT_GT(arrow, 0);
  EXPECT_EQ(dropControl->CalcWidth(), plainControl->CalcWidth() + arrow);
  EXPECT_EQ(plainControl->GetPartCount(), 1);
  EXPECT_EQ(dropControl->GetPartCount(), 2);
  drop->GetLink(0)->SetItemRect(TRect{0, 0, 50, 22});
  dropControl->CalcParts();
  ASSERT_EQ(dropControl->GetPartRects().size(), 2u);
  EXPECT_EQ(dropControl->GetPartRects()[1].left, 50 - arrow);
  EXPECT_EQ(dropControl->GetPartRects()[1].right, 50);
  EXPECT_EQ(dropControl->GetPartRects()[0].right, 50 - arrow);
}

TEST_F(TButtonMeasureTest, DrawParamsCarryTheButtonState)
{
  TdxBarButton* button = NewButton(L"Check", bsCheckedDropDown);
  button->SetShortCut(TShortCut(0x4000 | 'S'));
  button->SetLowered(true);
  button->SetDown(true);
  button->SetDropDownEnabled(false);
  TdxBarButtonControl* control = ControlOf<TdxBarButtonControl>(button);
  control->CalcDrawParams(true);
  auto* params = control->GetButtonDrawParams();
  ASSERT_NE(params, nullptr);
  EXPECT_TRUE(params->States.Down);
  EXPECT_FALSE(params->States.Pressed);
  EXPECT_FALSE(params->States.DroppedDown);
  EXPECT_TRUE(params->Lowered);
  EXPECT_TRUE(params->IsSplit);
  EXPECT_TRUE(params->IsDropDown);
  EXPECT_FALSE(params->DropDownEnabled);
  EXPECT_EQ(params->ArrowWidth, control->GetArrowWidth());
  EXPECT_EQ(params->ShortCut, ShortCutToText(TShortCut(0x4000 | 'S')));
  // Links that hide shortcuts give the painter none to draw.
  button->GetLink(0)->GetLinks()->GetItemOptions()->SetShowShortCuts(false);
  control->CalcDrawParams(true);
  EXPECT_EQ(params->ShortCut, String());
  EXPECT_FALSE(params->GrayScale);
  // A click in progress draws it pressed.
  control->SetDoingClick(true);
  control->CalcDrawParams(true);
  EXPECT_TRUE(params->States.Pressed);
  control->SetDoingClick(false);
}

}  // namespace
