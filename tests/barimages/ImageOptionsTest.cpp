// The image options: the icon size, the manager's reactions to each kind of change (once
// per change, under the update lock), lists that are freed while referred to, and the lists
// a copy registers.
#include "ImagesTestUtil.h"

namespace {

// Counts the per-item reactions and checks that each runs under the update lock.
class TReactionManager : public TdxBarManager {
public:
  using TdxBarManager::TdxBarManager;
  int Glyph = 0, LargeGlyph = 0, HotGlyph = 0, Rebuilds = 0;
  int OutsideUpdate = 0;
  int DesignerCalls = 0;
  int Total() const { return Glyph + LargeGlyph + HotGlyph + Rebuilds; }
  void Reset() { Glyph = LargeGlyph = HotGlyph = Rebuilds = OutsideUpdate = 0; }

protected:
  void Check()
  {
    if (!IsUpdateLocked())
      ++OutsideUpdate;
  }
  void ItemsGlyphChanged() override { ++Glyph, Check(); }
  void ItemsLargeGlyphChanged() override { ++LargeGlyph, Check(); }
  void ItemsHotGlyphChanged() override { ++HotGlyph, Check(); }
  void RebuildAllBars() override { ++Rebuilds, Check(); }
  void NotifyDesigner() override { ++DesignerCalls; }
};

class TImageOptionsFixture : public testing::Test, protected TBarHost<TImagesTestForm, TReactionManager> {
protected:
  TImageList* NewList(int Size)
  {
    auto* list = new TImageList(FForm.Get());
    list->SetSize(Size, Size);
    return list;
  }
  TdxBarImageOptions* Options() const { return Manager->GetImageOptions(); }
};

}  // namespace

TEST_F(TImageOptionsFixture, IconSizeFollowsLargeIconsAndTheLargeList)
{
  TImageList* large = NewList(24);
  Manager->SetLargeImages(large);
  Manager->SetLargeIcons(true);
  EXPECT_EQ(Manager->GetIconSize(), 32);  // without UseLargeImagesForLargeIcons the list does not count
  EXPECT_FALSE(Manager->AreLargeImagesUsed());

  Manager->SetUseLargeImagesForLargeIcons(true);
  // That flag fires the general change only; the size follows at the next size event.
  Manager->SetLargeImages(nullptr);
  EXPECT_EQ(Manager->GetIconSize(), 32);
  Manager->SetLargeImages(large);
  EXPECT_EQ(Manager->GetIconSize(), 24);
  EXPECT_TRUE(Manager->AreLargeImagesUsed());

  Manager->SetLargeIcons(false);
  EXPECT_EQ(Manager->GetIconSize(), 16);
  Manager->SetLargeIcons(true);
  EXPECT_EQ(Manager->GetIconSize(), 24);
}

TEST_F(TImageOptionsFixture, ListChangesReachTheMatchingItemReactionOnce)
{
  TImageList* a = NewList(16);
  TImageList* b = NewList(16);
  struct Case {
    void (TdxBarManager::*Set)(TCustomImageList*);
    int TReactionManager::*Counter;
  };
  const Case cases[] = {
      {&TdxBarManager::SetImages, &TReactionManager::Glyph},
      {&TdxBarManager::SetDisabledImages, &TReactionManager::Glyph},
      {&TdxBarManager::SetLargeImages, &TReactionManager::LargeGlyph},
      {&TdxBarManager::SetDisabledLargeImages, &TReactionManager::LargeGlyph},
      {&TdxBarManager::SetHotImages, &TReactionManager::HotGlyph},
  };
  for (const Case& c : cases) {
    Manager->Reset();
    (Manager->*c.Set)(a);
    EXPECT_EQ(Manager->*c.Counter, 1);
    EXPECT_EQ(Manager->Total(), 1);
    (Manager->*c.Set)(a);  // the same list again is no change
    EXPECT_EQ(Manager->Total(), 1);
    (Manager->*c.Set)(b);
    EXPECT_EQ(Manager->*c.Counter, 2);
    (Manager->*c.Set)(nullptr);  // clearing is a change too
    EXPECT_EQ(Manager->*c.Counter, 3);
    EXPECT_EQ(Manager->Total(), 3);
    EXPECT_EQ(Manager->OutsideUpdate, 0);
  }
  EXPECT_FALSE(Manager->IsUpdateLocked());

  // A change inside the list reaches only the properties that show it.
  Manager->SetHotImages(a);
  Manager->Reset();
  a->SetBkColor(clRed);
  EXPECT_EQ(Manager->HotGlyph, 1);
  EXPECT_EQ(Manager->Total(), 1);
  b->SetBkColor(clRed);
  EXPECT_EQ(Manager->Total(), 1);
}

TEST_F(TImageOptionsFixture, FlagChangesRebuildOnceAndPlainFlagsDoNothing)
{
  struct Case {
    std::function<void(bool)> Set;
    bool Value;
  };
  TdxBarImageOptions* o = Options();
  const Case rebuilding[] = {
      {[o](bool v) { o->SetMakeDisabledImagesFaded(v); }, true},
      {[o](bool v) { o->SetUseLargeImagesForLargeIcons(v); }, true},
      {[o](bool v) { o->SetUseLeftBottomPixelAsTransparent(v); }, false},
      {[o](bool v) { o->SetImageListBkColor(v ? clRed : clFuchsia); }, true},
  };
  for (const Case& c : rebuilding) {
    Manager->Reset();
    c.Set(c.Value);
    EXPECT_EQ(Manager->Rebuilds, 1);
    c.Set(c.Value);
    EXPECT_EQ(Manager->Rebuilds, 1);
    EXPECT_EQ(Manager->Total(), 1);
    EXPECT_EQ(Manager->OutsideUpdate, 0);
  }

  Manager->Reset();
  o->SetCacheGlyphs(false);
  o->SetSmoothGlyphs(true);
  o->SetStretchGlyphs(false);
  EXPECT_EQ(Manager->Total(), 0);
  EXPECT_FALSE(o->GetCacheGlyphs());
  EXPECT_TRUE(o->GetSmoothGlyphs());
  EXPECT_FALSE(Manager->GetStretchGlyphs());
}

TEST_F(TImageOptionsFixture, IconSizeEventsRebuildOnce)
{
  TImageList* large = NewList(48);
  Manager->SetLargeImages(large);
  Manager->SetUseLargeImagesForLargeIcons(true);
  Manager->Reset();
  Manager->SetLargeIcons(true);
  EXPECT_EQ(Manager->Rebuilds, 1);
  EXPECT_EQ(Manager->GetIconSize(), 48);
  Manager->SetLargeIcons(true);
  EXPECT_EQ(Manager->Rebuilds, 1);

  // With large icons drawn from LargeImages a new large list changes the size as well.
  TImageList* larger = NewList(64);
  Manager->Reset();
  Manager->SetLargeImages(larger);
  EXPECT_EQ(Manager->LargeGlyph, 1);
  EXPECT_EQ(Manager->Rebuilds, 1);
  EXPECT_EQ(Manager->GetIconSize(), 64);

  // Without the flag a new large list is only a glyph change.
  Manager->SetUseLargeImagesForLargeIcons(false);
  Manager->Reset();
  Manager->SetLargeImages(large);
  EXPECT_EQ(Manager->LargeGlyph, 1);
  EXPECT_EQ(Manager->Rebuilds, 0);
  EXPECT_EQ(Manager->OutsideUpdate, 0);
}

TEST_F(TImageOptionsFixture, FreeingAListClearsEveryPropertyThatShowsIt)
{
  TImageList* shared = NewList(16);
  TImageList* other = NewList(16);
  Manager->SetImages(shared);
  Manager->SetHotImages(shared);
  Manager->SetLargeImages(other);
  // Moving one property away must not stop the other from hearing of the list's end.
  Manager->SetImages(other);
  Manager->Reset();
  shared->Free();
  EXPECT_EQ(Manager->GetHotImages(), nullptr);
  EXPECT_EQ(Manager->HotGlyph, 1);
  EXPECT_EQ(Manager->GetImages(), other);

  other->Free();
  EXPECT_EQ(Manager->GetImages(), nullptr);
  EXPECT_EQ(Manager->GetLargeImages(), nullptr);
  EXPECT_EQ(Manager->Glyph, 1);
  EXPECT_EQ(Manager->LargeGlyph, 1);
}

TEST_F(TImageOptionsFixture, ListsOutlivingTheManagerForgetIt)
{
  auto* list = new TImageList(16, 16);  // not owned by the form: it outlives the manager
  Manager->SetImages(list);
  Manager->Free();
  list->SetBkColor(clRed);  // would reach the freed manager through a stale link
  EXPECT_EQ(list->GetBkColor(), clRed);
  list->Free();
}

// The copy registers the lists itself: clearing the source's leaves them reporting to the manager.
TEST_F(TImageOptionsFixture, AssignedListsAreTheCopysOwnRegistrations)
{
  TImageList* a = NewList(16);
  TdxBarImageOptions source(nullptr);
  source.SetImages(a);
  source.SetHotImages(a);
  source.SetDisabledImages(a);
  Manager->SetImageOptions(&source);
  EXPECT_EQ(Options()->GetHotImages(), a);
  source.SetImages(nullptr);
  Manager->Reset();
  a->SetBkColor(clRed);
  EXPECT_EQ(Manager->Glyph, 2);  // Images and DisabledImages
  EXPECT_EQ(Manager->HotGlyph, 1);
  EXPECT_THROW(Options()->Assign(Manager->GetBackgrounds()), EConvertError);
}

TEST_F(TImageOptionsFixture, TheDesignerHearsOfIconSizeChangesOnceTheListsAreRead)
{
  Manager->SetDesigning(true);
  Manager->SetLargeIcons(true);
  EXPECT_EQ(Manager->DesignerCalls, 1);
  Manager->SetImageListBkColor(clRed);  // a general change is no designer business here
  EXPECT_EQ(Manager->DesignerCalls, 1);

  TImageList* list = NewList(16);
  Manager->SetDisabledLargeImages(list);
  list->IncludeState(csLoading);
  EXPECT_TRUE(Options()->IsAnyImageListLoading());
  Manager->SetLargeIcons(false);
  EXPECT_EQ(Manager->DesignerCalls, 1);
  list->ExcludeState(csLoading);
  EXPECT_FALSE(Options()->IsAnyImageListLoading());
  Manager->SetLargeIcons(true);
  EXPECT_EQ(Manager->DesignerCalls, 2);
}
