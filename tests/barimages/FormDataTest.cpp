// The manager's image options, backgrounds and popup-menu links in form data: written
// under ImageOptions, Backgrounds and PopupMenuLinks, read back equal, the forwarded
// values of older form data accepted, and style re-application on a new toolbar bitmap.
#include "ImagesTestUtil.h"
#include "support/FormRoundTrip.h"

namespace {

// Form data past its first line: a second form of a name gets a numbered one.
String Body(const String& Text)
{
  return Text.substr(std::min(Text.size(), Text.find(L'\n')));
}

bool Contains(const String& Text, const String& Part)
{
  return Text.find(Part) != String::npos;
}

// A windowed control whose colour shows whether the manager re-applied its style (the
// manager recolours its dock controls each time).
class TStyleWatch : public TWinControl {
public:
  using TWinControl::TWinControl;
};

}  // namespace

TEST(BarImagesFormData, ImageOptionsAndBackgroundsRoundTrip)
{
  TOwned<TImagesTestForm> form(NewImagesForm());
  form->SetName(L"ImagesForm");
  auto* small = new TImageList(form.Get());
  small->SetName(L"SmallImages");
  auto* large = new TImageList(form.Get());
  large->SetName(L"LargeImages24");
  large->SetSize(24, 24);
  auto* manager = new TdxBarManager(form.Get());
  manager->SetName(L"dxBarManager1");
  TdxBarImageOptions* o = manager->GetImageOptions();
  o->SetImages(small);
  o->SetHotImages(small);
  o->SetLargeImages(large);
  o->SetImageListBkColor(clRed);
  o->SetLargeIcons(true);
  o->SetUseLargeImagesForLargeIcons(true);
  o->SetStretchGlyphs(false);
  o->SetSmoothGlyphs(true);
  o->SetCacheGlyphs(false);
  o->SetUseLeftBottomPixelAsTransparent(false);
  TBitmap bar(5, 3);
  bar.GetCanvas()->SetPixel(2, 1, clBlue);
  manager->GetBackgrounds()->SetBar(&bar);

  String text = ComponentToText(form.Get());
  EXPECT_TRUE(Contains(text, L"ImageOptions.Images = SmallImages")) << ToUtf8(text);
  EXPECT_TRUE(Contains(text, L"ImageOptions.LargeImages = LargeImages24"));
  EXPECT_TRUE(Contains(text, L"ImageOptions.ImageListBkColor = clRed"));
  EXPECT_TRUE(Contains(text, L"ImageOptions.LargeIcons = True"));
  EXPECT_TRUE(Contains(text, L"Backgrounds.Bar.Data"));
  EXPECT_FALSE(Contains(text, L"Backgrounds.SubMenu"));          // empty bitmaps are not written
  EXPECT_FALSE(Contains(text, L"ImageOptions.DisabledImages"));  // defaults are not written
  EXPECT_FALSE(Contains(text, L"    Images = "));                // the manager's forwards are not stored
  EXPECT_FALSE(Contains(text, L"    LargeIcons = "));

  TOwned<TImagesTestForm> copy(TCustomForm::CreateFromText<TImagesTestForm>(text, nullptr));
  TdxBarManager* read = ManagerOf(copy.Get());
  ASSERT_NE(read, nullptr);
  TdxBarImageOptions* r = read->GetImageOptions();
  EXPECT_EQ(r->GetImages(), copy->FindComponent(L"SmallImages"));
  EXPECT_EQ(r->GetHotImages(), copy->FindComponent(L"SmallImages"));
  EXPECT_EQ(r->GetLargeImages(), copy->FindComponent(L"LargeImages24"));
  EXPECT_EQ(r->GetDisabledImages(), nullptr);
  EXPECT_EQ(r->GetImageListBkColor(), clRed);
  EXPECT_TRUE(r->GetLargeIcons());
  EXPECT_TRUE(r->GetUseLargeImagesForLargeIcons());
  EXPECT_FALSE(r->GetStretchGlyphs());
  EXPECT_TRUE(r->GetSmoothGlyphs());
  EXPECT_FALSE(r->GetCacheGlyphs());
  EXPECT_FALSE(r->GetUseLeftBottomPixelAsTransparent());
  EXPECT_EQ(read->GetIconSize(), 24);  // the size follows the list once its reference is resolved
  EXPECT_FALSE(r->IsAnyImageListLoading());
  TBitmap* readBar = read->GetBackgrounds()->GetBar();
  ASSERT_EQ(readBar->GetWidth(), 5);
  ASSERT_EQ(readBar->GetHeight(), 3);
  EXPECT_EQ(readBar->GetCanvas()->GetPixel(2, 1), clBlue);
  EXPECT_TRUE(read->GetBackgrounds()->GetSubMenu()->Empty());
  EXPECT_EQ(Body(ComponentToText(copy.Get())), Body(text));

  // The lists read back are watched as the originals were.
  copy->FindComponent(L"SmallImages")->Free();
  EXPECT_EQ(r->GetImages(), nullptr);
  EXPECT_EQ(r->GetHotImages(), nullptr);
}

TEST(BarImagesFormData, OlderFormDataWithTheManagersOwnValuesIsAccepted)
{
  const wchar_t* kOld =
      L"object OldForm: TImagesTestForm\n"
      L"  object Images16: TImageList\n"
      L"  end\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    Images = Images16\n"
      L"    ImageListBkColor = clLime\n"
      L"    LargeIcons = True\n"
      L"    StretchGlyphs = False\n"
      L"  end\n"
      L"end\n";
  TOwned<TImagesTestForm> form(TCustomForm::CreateFromText<TImagesTestForm>(kOld, nullptr));
  TdxBarManager* manager = ManagerOf(form.Get());
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->GetImageOptions()->GetImages(), form->FindComponent(L"Images16"));
  EXPECT_EQ(manager->GetImageOptions()->GetImageListBkColor(), clLime);
  EXPECT_TRUE(manager->GetImageOptions()->GetLargeIcons());
  EXPECT_FALSE(manager->GetImageOptions()->GetStretchGlyphs());
  EXPECT_EQ(manager->GetIconSize(), 32);
  // Written back the new way only.
  String text = ComponentToText(form.Get());
  EXPECT_TRUE(Contains(text, L"ImageOptions.Images = Images16")) << ToUtf8(text);
  EXPECT_FALSE(Contains(text, L"    Images = "));
}

TEST(BarImagesFormData, PopupMenuLinksRoundTripAndHookTheirControls)
{
  const wchar_t* kLinks =
      L"object LinksForm: TImagesTestForm\n"
      L"  object Panel1: TLinkPanel\n"
      L"  end\n"
      L"  object Panel2: TLinkPanel\n"
      L"  end\n"
      L"  object Menu1: TFakePopupMenu\n"
      L"  end\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    PopupMenuLinks = <\n"
      L"      item\n"
      L"        Control = Panel1\n"
      L"        PopupMenu = Menu1\n"
      L"      end\n"
      L"      item\n"
      L"        Control = Panel2\n"
      L"        ProcessChildren = False\n"
      L"      end>\n"
      L"  end\n"
      L"end\n";
  int hookedBefore = dxBarHookedControlCount();
  TOwned<TImagesTestForm> form(TCustomForm::CreateFromText<TImagesTestForm>(kLinks, nullptr));
  TdxBarManager* manager = ManagerOf(form.Get());
  ASSERT_NE(manager, nullptr);
  TdxBarPopupMenuLinks* links = manager->GetPopupMenuLinks();
  ASSERT_EQ(links->Count(), 2);
  auto* panel1 = dynamic_cast<TControl*>(form->FindComponent(L"Panel1"));
  EXPECT_EQ(links->GetItem(0)->GetControl(), panel1);
  EXPECT_EQ(links->GetItem(0)->GetPopupMenu(), form->FindComponent(L"Menu1"));
  EXPECT_TRUE(links->GetItem(0)->GetProcessChildren());
  EXPECT_EQ(links->GetItem(1)->GetControl(), form->FindComponent(L"Panel2"));
  EXPECT_EQ(links->GetItem(1)->GetPopupMenu(), nullptr);
  EXPECT_FALSE(links->GetItem(1)->GetProcessChildren());
  EXPECT_EQ(dxBarHookedControlCount(), hookedBefore + 2);
  EXPECT_FALSE(panel1->GetWindowProc() == TWndMethod(panel1, &TControl::WndProc));

  String text = ComponentToText(form.Get());
  EXPECT_TRUE(Contains(text, L"Control = Panel1")) << ToUtf8(text);
  EXPECT_TRUE(Contains(text, L"PopupMenu = Menu1"));
  EXPECT_TRUE(Contains(text, L"ProcessChildren = False"));
  TOwned<TImagesTestForm> copy(TCustomForm::CreateFromText<TImagesTestForm>(text, nullptr));
  EXPECT_EQ(Body(ComponentToText(copy.Get())), Body(text));

  // Freeing the popup menu leaves the link without it; freeing the form unhooks all.
  form->FindComponent(L"Menu1")->Free();
  EXPECT_EQ(links->GetItem(0)->GetPopupMenu(), nullptr);
  form->Free();
  copy->Free();
  EXPECT_EQ(dxBarHookedControlCount(), hookedBefore);
}

TEST(BarImagesFormData, ANewToolbarBitmapReappliesTheStyle)
{
  TOwned<TImagesTestForm> form(NewImagesForm());
  form->SetColor(clTeal);
  auto* manager = new TdxBarManager(form.Get());
  auto* watch = new TStyleWatch(form.Get());
  manager->AddDockControl(watch);
  TdxBarBackgrounds* backgrounds = manager->GetBackgrounds();
  auto reapplied = [&] {
    bool result = watch->GetColor() == clTeal;
    watch->SetColor(clMaroon);
    return result;
  };
  reapplied();

  backgrounds->SetBar(nullptr);  // nothing given, nothing there before
  EXPECT_FALSE(reapplied());
  backgrounds->SetSubMenu(nullptr);
  TBitmap picture(4, 4);
  backgrounds->SetSubMenu(&picture);
  EXPECT_FALSE(reapplied());
  EXPECT_EQ(backgrounds->GetSubMenu()->GetWidth(), 4);

  TBitmap empty;
  backgrounds->SetBar(&empty);  // a bitmap is given, even an empty one
  EXPECT_TRUE(reapplied());
  backgrounds->SetBar(&picture);
  EXPECT_TRUE(reapplied());
  EXPECT_EQ(backgrounds->GetBar()->GetWidth(), 4);
  backgrounds->GetBar()->SetSize(8, 8);  // a change of the content
  EXPECT_TRUE(reapplied());
  backgrounds->SetBar(nullptr);  // the old one was not empty
  EXPECT_TRUE(reapplied());
  EXPECT_TRUE(backgrounds->GetBar()->Empty());
}
