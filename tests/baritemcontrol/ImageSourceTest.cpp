// Where a control's image comes from: the manager's lists by enabling and size kind, the
// large lists only where they apply, glyph bitmaps before list entries.
#include "ItemControlTestUtil.h"

#include "platform/ImgList.h"

namespace {

class TImageSourceTest : public TItemControlFixture {
protected:
  void SetUp() override
  {
    TItemControlFixture::SetUp();
    Images = MakeImageList(16, 2);
    DisabledImages = MakeImageList(16, 2);
    LargeImages = MakeImageList(32, 2);
    DisabledLargeImages = MakeImageList(32, 2);
    Host.Manager->SetImages(Images.get());
    Host.Manager->SetLargeImages(LargeImages.get());
    Item = NewItem();
    Item->SetImageIndex(0);
    Item->SetLargeImageIndex(1);
    Control = ControlOf<TTestItemControl>(AddLink(Item));
    ASSERT_NE(Control, nullptr);
  }
  void TearDown() override
  {
    Host.Manager->SetImages(nullptr);
    Host.Manager->SetDisabledImages(nullptr);
    Host.Manager->SetLargeImages(nullptr);
    Host.Manager->SetDisabledLargeImages(nullptr);
    TItemControlFixture::TearDown();
  }
  struct TInfo {
    bool Result;
    TCustomImageList* Images;
    int Index;
    TBitmap* Glyph;
  };
  TInfo Info(int ASizeKind) const
  {
    TInfo info{};
    info.Result = Control->GetImageInfo(ASizeKind, info.Images, info.Index, info.Glyph);
    return info;
  }

  std::unique_ptr<TCustomImageList> Images, DisabledImages, LargeImages, DisabledLargeImages;
  TTestItem* Item = nullptr;
  TTestItemControl* Control = nullptr;
};

TEST_F(TImageSourceTest, DisabledItemUsesDisabledListsWhenAssigned)
{
  Item->SetEnabled(false);
  EXPECT_EQ(Control->GetImages(), Images.get());
  EXPECT_FALSE(Control->IsImageDrawnEnabled());

  Host.Manager->SetDisabledImages(DisabledImages.get());
  EXPECT_EQ(Control->GetImages(), DisabledImages.get());
  EXPECT_EQ(Info(isSmall).Images, DisabledImages.get());
  EXPECT_TRUE(Control->IsImageDrawnEnabled());

  // The large entry in use: the disabled large list decides.
  Control->GetViewInfo()->SetViewLevel(ivlLargeIconWithText);
  EXPECT_EQ(Control->GetLargeImages(), LargeImages.get());
  EXPECT_FALSE(Control->IsImageDrawnEnabled());
  Host.Manager->SetDisabledLargeImages(DisabledLargeImages.get());
  EXPECT_EQ(Info(isLarge).Images, DisabledLargeImages.get());
  EXPECT_TRUE(Control->IsImageDrawnEnabled());
}

TEST_F(TImageSourceTest, LargeListAlwaysAtKindTwo)
{
  TInfo info = Info(isLarge);
  EXPECT_EQ(info.Images, LargeImages.get());
  EXPECT_EQ(info.Index, 1);
  EXPECT_EQ(Control->GetImageSize(isLarge), (TSize{32, 32}));

  // An index the large list does not hold falls back to the small entry.
  Item->SetLargeImageIndex(5);
  info = Info(isLarge);
  EXPECT_EQ(info.Images, Images.get());
  EXPECT_EQ(info.Index, 0);
}

TEST_F(TImageSourceTest, LargeListAtKindOneOnlyOffMenusWithLargeImagesForLargeIcons)
{
  EXPECT_EQ(Control->GetCurrentImages(isLargeIcons), Images.get());
  Host.Manager->SetLargeIcons(true);
  EXPECT_EQ(Control->GetCurrentImages(isLargeIcons), Images.get());
  Host.Manager->SetUseLargeImagesForLargeIcons(true);
  EXPECT_EQ(Control->GetCurrentImages(isLargeIcons), LargeImages.get());
  EXPECT_EQ(Info(isLargeIcons).Index, 1);

  Bar->BarKind = bkMenu;
  EXPECT_EQ(Control->GetCurrentImages(isLargeIcons), Images.get());
  EXPECT_EQ(Info(isLargeIcons).Index, 0);
  // Kind 2 is large in menus too.
  EXPECT_EQ(Control->GetCurrentImages(isLarge), LargeImages.get());
}

TEST_F(TImageSourceTest, GlyphBeatsTheListEntry)
{
  std::unique_ptr<TBitmap> glyph = MakeGlyph(20, 18);
  Item->SetGlyph(glyph.get());
  TInfo info = Info(isSmall);
  EXPECT_TRUE(info.Result);
  EXPECT_EQ(info.Glyph, Item->GetGlyph());
  EXPECT_EQ(Control->GetImageSize(isSmall), (TSize{20, 18}));
  // A disabled glyph has no disabled list to come from.
  Item->SetEnabled(false);
  Host.Manager->SetDisabledImages(DisabledImages.get());
  EXPECT_FALSE(Control->IsImageDrawnEnabled());
}

TEST_F(TImageSourceTest, NothingToDrawWithoutListsOrGlyph)
{
  Item->SetImageIndex(-1);
  Item->SetLargeImageIndex(-1);
  EXPECT_FALSE(Control->HasImage(isSmall));
  EXPECT_FALSE(Control->HasImage(isLarge));
  Item->SetImageIndex(7);  // past the end of the list
  EXPECT_FALSE(Control->HasImage(isSmall));
}

}  // namespace
