// The extra items unit's start-up and shut-down: the font marks, the first day of week,
// the shared dialogs made on first use and freed only when they exist, and the start-up count.
#include <gtest/gtest.h>

#include <set>

#include "barextras/dxBarExtItems.h"
#include "bars/dxBar.h"
#include "platform/Win.h"

namespace {

// Takes the unit down to a count of zero for a case that watches a whole start-up and
// shut-down, and brings it back to the count the library left it with afterwards.
class TExtItemsCycle {
public:
  TExtItemsCycle()
  {
    while (dxBarExtItemsIsInitialized()) {
      FinalizedxBarExtItems();
      ++FTaken;
    }
  }
  ~TExtItemsCycle()
  {
    while (dxBarExtItemsIsInitialized())
      FinalizedxBarExtItems();
    for (int i = 0; i < FTaken; ++i)
      InitializedxBarExtItems();
  }
  int Taken() const { return FTaken; }

private:
  int FTaken = 0;
};

std::set<TColor> MarkColors(TBitmap* Mark)
{
  std::set<TColor> colors;
  for (int y = 0; y < Mark->GetHeight(); ++y)
    for (int x = 0; x < Mark->GetWidth(); ++x)
      colors.insert(Mark->GetCanvas()->GetPixel(x, y));
  return colors;
}

}  // namespace

// ---------------------------------------------------------------------------

TEST(ExtItemsFontMarks, LoadedAtStartUpAsThirteenSquarePictures)
{
  ASSERT_TRUE(dxBarExtItemsIsInitialized()) << "the library's start-up starts the unit";
  for (TBitmap* mark : {dxBarTrueTypeFontMark(), dxBarNonTrueTypeFontMark()}) {
    ASSERT_NE(mark, nullptr);
    EXPECT_FALSE(mark->Empty());
    EXPECT_EQ(mark->GetWidth(), 13);
    EXPECT_EQ(mark->GetHeight(), 13);
    // The bottom-left pixel is the transparent ground; the mark draws something on it.
    EXPECT_EQ(mark->GetCanvas()->GetPixel(0, 12), clFuchsia);
    EXPECT_GE(MarkColors(mark).size(), 2u);
  }
  EXPECT_NE(dxBarTrueTypeFontMark(), dxBarNonTrueTypeFontMark());
  EXPECT_NE(MarkColors(dxBarTrueTypeFontMark()), MarkColors(dxBarNonTrueTypeFontMark()))
      << "the two marks must tell the font kinds apart";
}

// ---------------------------------------------------------------------------

TEST(ExtItemsFirstWeekDay, LocaleTextCountsFromMondayAndIsTurnedToCountFromSunday)
{
  EXPECT_EQ(dxBarFirstWeekDayFromLocaleText(L"0"), 1);  // Monday
  EXPECT_EQ(dxBarFirstWeekDayFromLocaleText(L"4"), 5);  // Friday
  EXPECT_EQ(dxBarFirstWeekDayFromLocaleText(L"5"), 6);  // Saturday
  EXPECT_EQ(dxBarFirstWeekDayFromLocaleText(L"6"), 0);  // Sunday
  for (const wchar_t* text : {L"", L"7", L"9", L"-1", L"x", L"01", L" 1", L"1 "})
    EXPECT_EQ(dxBarFirstWeekDayFromLocaleText(text), 1) << "bad text \"" << ToUtf8(text) << "\" gives Monday";
  // Read at start-up from the thread's locale: the tests run in US English, whose weeks start on Sunday.
  EXPECT_EQ(dxBarFirstWeekDay(), 0);
  EXPECT_EQ(dxBarReadFirstWeekDay(), 0);
}

// ---------------------------------------------------------------------------

TEST(ExtItemsSharedDialogs, MadeOnFirstUseOnceAndWithoutOwner)
{
  TExtItemsCycle cycle;
  InitializedxBarExtItems();
  EXPECT_FALSE(dxBarColorDialogExists());
  EXPECT_FALSE(dxBarFontDialogExists());

  TColorDialog* color = dxBarColorDialog();
  ASSERT_NE(color, nullptr);
  EXPECT_TRUE(dxBarColorDialogExists());
  EXPECT_FALSE(dxBarFontDialogExists()) << "asking for one dialog makes only that one";
  EXPECT_EQ(dxBarColorDialog(), color);
  EXPECT_EQ(color->GetOwner(), nullptr);

  TFontDialog* font = dxBarFontDialog();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(dxBarFontDialog(), font);
  EXPECT_EQ(font->GetOwner(), nullptr);
}

TEST(ExtItemsSharedDialogs, ShutDownFreesTheDialogsThatExistAndNoneAfterwards)
{
  TExtItemsCycle cycle;
  InitializedxBarExtItems();
  TWeakRef<TFontDialog> font(dxBarFontDialog());
  ASSERT_TRUE(font.Get());
  FinalizedxBarExtItems();
  EXPECT_EQ(font.Get(), nullptr) << "the font dialog is freed at shut-down";
  EXPECT_FALSE(dxBarColorDialogExists()) << "the colour dialog was never asked for and is not made to be freed";
  // Once shut down, asking makes nothing that nobody would free.
  EXPECT_EQ(dxBarColorDialog(), nullptr);
  EXPECT_EQ(dxBarFontDialog(), nullptr);
  EXPECT_FALSE(dxBarColorDialogExists());
}

TEST(ExtItemsSharedDialogs, NothingIsMadeBeforeStartUp)
{
  TExtItemsCycle cycle;
  EXPECT_EQ(dxBarColorDialog(), nullptr);
  EXPECT_EQ(dxBarFontDialog(), nullptr);
  EXPECT_EQ(dxBarTrueTypeFontMark(), nullptr);
  EXPECT_EQ(dxBarNonTrueTypeFontMark(), nullptr);
  EXPECT_EQ(dxBarFirstWeekDay(), dxBarDefaultFirstWeekDay);
}

// ---------------------------------------------------------------------------

TEST(ExtItemsStartUp, CountedSoThatOnlyTheLastShutDownFrees)
{
  TExtItemsCycle cycle;
  InitializedxBarExtItems();
  InitializedxBarExtItems();
  TBitmap* mark = dxBarTrueTypeFontMark();
  TWeakRef<TColorDialog> color(dxBarColorDialog());

  FinalizedxBarExtItems();
  EXPECT_TRUE(dxBarExtItemsIsInitialized());
  EXPECT_EQ(dxBarTrueTypeFontMark(), mark) << "the second start-up made nothing new, the first shut-down freed nothing";
  EXPECT_EQ(color.Get(), dxBarColorDialog());
  ASSERT_TRUE(color.Get());

  FinalizedxBarExtItems();
  EXPECT_FALSE(dxBarExtItemsIsInitialized());
  EXPECT_EQ(dxBarTrueTypeFontMark(), nullptr);
  EXPECT_EQ(dxBarNonTrueTypeFontMark(), nullptr);
  EXPECT_EQ(color.Get(), nullptr);
}

TEST(ExtItemsStartUp, AShutDownTooManyIsIgnored)
{
  TExtItemsCycle cycle;
  FinalizedxBarExtItems();
  InitializedxBarExtItems();
  EXPECT_TRUE(dxBarExtItemsIsInitialized()) << "the extra shut-down must not have pushed the count below zero";
  ASSERT_NE(dxBarTrueTypeFontMark(), nullptr);
  FinalizedxBarExtItems();
  EXPECT_FALSE(dxBarExtItemsIsInitialized());
}

TEST(ExtItemsStartUp, AWholeCycleGivesBackEveryGdiObject)
{
  TExtItemsCycle cycle;
  int before = GdiObjectsInUse();
  InitializedxBarExtItems();
  EXPECT_EQ(GdiObjectsInUse(), before) << "the marks hold no GDI object until they are drawn";
  // Use the marks' handles and canvases and make both dialogs, as the combos would.
  MarkColors(dxBarTrueTypeFontMark());
  MarkColors(dxBarNonTrueTypeFontMark());
  dxBarFontDialog()->GetFont()->GetHandle();
  dxBarColorDialog();
  EXPECT_GT(GdiObjectsInUse(), before);
  FinalizedxBarExtItems();
  EXPECT_EQ(GdiObjectsInUse(), before);
}

TEST(ExtItemsStartUp, MarksAreLoadedAgainByTheNextStartUp)
{
  TExtItemsCycle cycle;
  InitializedxBarExtItems();
  FinalizedxBarExtItems();
  InitializedxBarExtItems();
  ASSERT_NE(dxBarNonTrueTypeFontMark(), nullptr);
  EXPECT_EQ(dxBarNonTrueTypeFontMark()->GetWidth(), 13);
  EXPECT_NE(dxBarColorDialog(), nullptr) << "a dialog can be made again after a restart";
}
