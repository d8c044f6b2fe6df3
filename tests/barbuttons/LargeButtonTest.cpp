// The large button: the ImageIndex coupling at run time and in form data, rebuild versus
// repaint, the image choice with hot images, grey idle images and sizes.
#include "ButtonTestUtil.h"

#include "platform/ImgList.h"

namespace {

// --- Form data

String LargeButtonForm(const wchar_t* AName, const wchar_t* AProperties)
{
  return String(L"object ") + AName +
         L": TButtonTestForm\n"
         L"  object dxBarManager1: TdxBarManager\n"
         L"    object Large: TdxBarLargeButton\n"
         L"      Caption = 'Add'\n" +
         AProperties +
         L"    end\n"
         L"  end\n"
         L"end\n";
}

TdxBarLargeButton* LargeOf(TComponent* AForm)
{
  return dynamic_cast<TdxBarLargeButton*>(AForm->FindComponent(L"Large"));
}

TEST(LargeButtonFormData, ImageIndexCouplingAndDefaultsInFormData)
{
  struct TRow {
    const char* Case;
    const wchar_t* Properties;
    int Large, Image;
    bool Sync;
    std::vector<const wchar_t*> Written;  // in this order
    std::vector<const wchar_t*> NotWritten;
  };
  const TRow rows[] = {
      {"explicit index, sync off",
       L"      LargeImageIndex = 2\n      SyncImageIndex = False\n      ImageIndex = 0\n",
       2,
       0,
       false,
       {L"LargeImageIndex = 2", L"SyncImageIndex = False", L" ImageIndex = 0"},
       {}},
      {"equal indexes, sync off",
       L"      LargeImageIndex = 0\n      SyncImageIndex = False\n      ImageIndex = 0\n",
       0,
       0,
       false,
       {},
       {}},
      {"only an image index fills both",
       L"      ImageIndex = 3\n",
       3,
       3,
       true,
       {L"LargeImageIndex = 3"},
       {L" ImageIndex = "}},
      {"defaults",
       L"      Width = 60\n",
       -1,
       -1,
       true,
       {L"Width = 60"},
       {L"ShowCaption", L"AutoGrayScale", L"GlyphLayout", L"SyncImageIndex", L"Height"}},
  };
  for (const TRow& row : rows) {
    String text = LargeButtonForm(L"LargeForm", row.Properties);
    TOwned<TButtonTestForm> form(TCustomForm::CreateFromText<TButtonTestForm>(text, nullptr));
    TdxBarLargeButton* button = LargeOf(form.Get());
    ASSERT_NE(button, nullptr) << row.Case;
    EXPECT_EQ(button->GetLargeImageIndex(), row.Large) << row.Case;
    EXPECT_EQ(button->GetImageIndex(), row.Image) << row.Case;
    EXPECT_EQ(button->GetSyncImageIndex(), row.Sync) << row.Case;
    EXPECT_TRUE(button->GetShowCaption() && button->GetAutoGrayScale()) << row.Case;
    EXPECT_EQ(button->GetGlyphLayout(), glTop) << row.Case;
    String written = ComponentToText(button);
    size_t last = 0;
    for (const wchar_t* part : row.Written) {
      size_t at = written.find(part);
      EXPECT_NE(at, String::npos) << row.Case << ": " << ToUtf8(part) << " in " << ToUtf8(written);
      EXPECT_GE(at, last) << row.Case << ": " << ToUtf8(part) << " out of order";
      last = at == String::npos ? last : at;
    }
    for (const wchar_t* part : row.NotWritten)
      EXPECT_EQ(written.find(part), String::npos) << row.Case << ": " << ToUtf8(part);
    if (!row.Sync) {
      // After loading the coupling is off: a new large index does not move ImageIndex.
      button->SetLargeImageIndex(3);
      EXPECT_EQ(button->GetImageIndex(), row.Image) << row.Case;
    }
  }
}

// --- Run time

class TLargeButtonTest : public TButtonFixture {
protected:
  void SetUp() override
  {
    TButtonFixture::SetUp();
    LargeImages = MakeButtonImages(32, 4);
    HotImages = MakeButtonImages(32, 2);
    Host.Manager->SetLargeImages(LargeImages.get());
  }
  void TearDown() override
  {
    Host.Manager->SetLargeImages(nullptr);
    Host.Manager->SetHotImages(nullptr);
    TButtonFixture::TearDown();
  }
  TdxBarLargeButtonControl* LargeControl(TdxBarLargeButton* AButton)
  {
    return ControlOf<TdxBarLargeButtonControl>(AButton);
  }
  std::unique_ptr<TCustomImageList> LargeImages;
  std::unique_ptr<TCustomImageList> HotImages;
};

TEST_F(TLargeButtonTest, ImageIndexFollowsUntilSetExplicitly)
{
  auto* button = NewButton<TdxBarLargeButton>(L"Add");
  button->SetLargeImageIndex(5);
  EXPECT_EQ(button->GetImageIndex(), 5);
  button->SetImageIndex(2);
  EXPECT_FALSE(button->GetSyncImageIndex());
  EXPECT_EQ(button->GetLargeImageIndex(), 5);
  button->SetLargeImageIndex(1);
  EXPECT_EQ(button->GetImageIndex(), 2);
  button->SetSyncImageIndex(true);
  EXPECT_EQ(button->GetImageIndex(), 1);
  // An action's image index lands in LargeImageIndex.
  button->SetActionImageIndex(3);
  EXPECT_EQ(button->GetLargeImageIndex(), 3);
  EXPECT_EQ(button->GetActionImageIndex(), 3);
  EXPECT_TRUE(button->UsesImageIndex());
}

TEST_F(TLargeButtonTest, NewLargeImageRebuildsUnlessTheSizeIsFixed)
{
  auto* button = NewButton<TdxBarLargeButton>(L"Add");
  button->SetWidth(60);
  LargeControl(button)->CalcDrawParams(true);
  Toolbar->RebuildCount = 0;
  button->SetLargeImageIndex(1);
  EXPECT_GE(Toolbar->RebuildCount, 1);

  button->SetHeight(50);
  Toolbar->RebuildCount = 0;
  Toolbar->RepaintCount = 0;
  button->SetLargeImageIndex(2);
  EXPECT_EQ(Toolbar->RebuildCount, 0);
  EXPECT_GE(Toolbar->RepaintCount, 1);
}

TEST_F(TLargeButtonTest, FixedSizesRebuildAndReplaceTheLayout)
{
  auto* button = NewButton<TdxBarLargeButton>(L"Add");
  TdxBarLargeButtonControl* control = LargeControl(button);
  int width = control->CalcWidth();
  int height = control->CalcHeight();
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);
  Toolbar->RebuildCount = 0;
  button->SetWidth(60);
  EXPECT_EQ(Toolbar->RebuildCount, 1);
  button->SetHeight(57);
  EXPECT_EQ(Toolbar->RebuildCount, 2);
  EXPECT_EQ(control->CalcWidth(), 60);
  EXPECT_EQ(control->CalcHeight(), 57);
  button->SetHeight(-3);
  EXPECT_EQ(button->GetHeight(), 57) << "a negative height is ignored";
  EXPECT_EQ(Toolbar->RebuildCount, 2);
}

TEST_F(TLargeButtonTest, ToolbarControlIsLargeAndCaptionedAndAMenuOneIsAButton)
{
  auto* button = NewButton<TdxBarLargeButton>(L"Add");
  TdxBarLargeButtonControl* control = LargeControl(button);
  EXPECT_EQ(control->GetDefaultImageSize(), isLarge);
  EXPECT_EQ(control->GetDefaultViewParts(), ivpGlyph | ivpCaption);
  EXPECT_TRUE(control->GetPossibleViewLevels().Contains(ivlLargeIconWithText));
  EXPECT_EQ(control->GetPaintStyle(), psCaption) << "psStandard on a toolbar becomes psCaption";
  button->SetShowCaption(false);
  EXPECT_EQ(control->GetDefaultViewParts(), ivpGlyph);
  // In menus it answers as a button.
  auto* inMenu = NewButton<TdxBarLargeButton>(L"Add", bsDefault, MenuLinks.get());
  EXPECT_EQ(LargeControl(inMenu)->GetDefaultViewParts(), ivpGlyph | ivpCaption);
  EXPECT_NE(LargeControl(inMenu)->GetDefaultImageSize(), isLarge);
}

TEST_F(TLargeButtonTest, GreyOnlyWhenIdleAndEnabled)
{
  auto* button = NewButton<TdxBarLargeButton>(L"Add");
  TdxBarLargeButtonControl* control = LargeControl(button);
  EXPECT_TRUE(control->IsGrayScaleImage());
  control->CalcDrawParams(true);
  EXPECT_TRUE(control->GetButtonDrawParams()->GrayScale);
  Toolbar->SetSelectedControl(control);
  EXPECT_FALSE(control->IsGrayScaleImage()) << "the selected button is coloured";
  Toolbar->SetSelectedControl(nullptr);
  button->SetEnabled(false);
  EXPECT_FALSE(control->IsGrayScaleImage());
  button->SetEnabled(true);
  button->SetAutoGrayScale(false);
  EXPECT_FALSE(control->IsGrayScaleImage());
}

TEST_F(TLargeButtonTest, ImageChoiceTriesTheHotSourceFirstWhenHot)
{
  Host.Manager->SetHotImages(HotImages.get());
  auto* button = NewButton<TdxBarLargeButton>(L"Add");
  button->SetLargeImageIndex(2);
  button->SetHotImageIndex(1);
  TdxBarLargeButtonControl* control = LargeControl(button);
  TCustomImageList* images = nullptr;
  int index = -1;
  TBitmap* glyph = nullptr;
  ASSERT_TRUE(control->GetLargeImageInfo(true, images, index, glyph));
  EXPECT_EQ(images, HotImages.get());
  EXPECT_EQ(index, 1);
  ASSERT_TRUE(control->GetLargeImageInfo(false, images, index, glyph));
  EXPECT_EQ(images, LargeImages.get());
  EXPECT_EQ(index, 2);
  // A hot glyph wins over the hot list.
  std::unique_ptr<TBitmap> hot = MakeGlyph(32, 32, clLime);
  button->SetHotGlyph(hot.get());
  ASSERT_TRUE(control->GetLargeImageInfo(true, images, index, glyph));
  EXPECT_EQ(glyph, button->GetHotGlyph());
}

TEST_F(TLargeButtonTest, OnlyAHotImageShowsAllTheTime)
{
  Host.Manager->SetHotImages(HotImages.get());
  auto* button = NewButton<TdxBarLargeButton>(L"Add");
  button->SetHotImageIndex(0);
  EXPECT_TRUE(button->HasHotImage());
  TCustomImageList* images = nullptr;
  int index = -1;
  TBitmap* glyph = nullptr;
  ASSERT_TRUE(LargeControl(button)->GetLargeImageInfo(false, images, index, glyph));
  EXPECT_EQ(images, HotImages.get());
  EXPECT_EQ(index, 0);
}

TEST_F(TLargeButtonTest, NoImageFallsBackToTheListsAndTwentyPixels)
{
  auto* button = NewButton<TdxBarLargeButton>(L"Add");
  button->SetLargeImageIndex(9);  // not held by the list
  TdxBarLargeButtonControl* control = LargeControl(button);
  TCustomImageList* images = nullptr;
  int index = 5;
  TBitmap* glyph = nullptr;
  EXPECT_FALSE(control->GetImageInfo(isLarge, images, index, glyph));
  EXPECT_EQ(images, LargeImages.get());
  EXPECT_EQ(index, -1);
  EXPECT_EQ(glyph, nullptr);
  TSize size = control->GetImageSize(isLarge);
  EXPECT_EQ(size.cx, 20);
  EXPECT_EQ(size.cy, 20);

  Host.Manager->SetLargeImages(nullptr);
  Host.Manager->SetHotImages(HotImages.get());
  EXPECT_FALSE(control->GetImageInfo(isLarge, images, index, glyph));
  EXPECT_EQ(images, HotImages.get());
}

}  // namespace
