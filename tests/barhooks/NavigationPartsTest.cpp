// Keyboard navigation onto a toolbar's mark and a floating toolbar's caption buttons, with real
// keys: the arrows and Tab reach them, they are drawn selected, Enter runs them and Esc leaves
// a caption button for its toolbar's items.
#include <gtest/gtest.h>

#include "KeyTestUtil.h"
#include "bars/accessibility/baraccessibility.h"
#include "support/Pixels.h"

namespace {

// The part of a toolbar that navigation selected; dxBarNoPartIndex for an item or nothing.
int SelectedPart(TdxBar* ABar)
{
  TdxBarHelperRef selected = BarNavigationController()->GetSelectedObject();
  if (!selected || selected->GetHelperObject() != ABar->GetControl())
    return dxBarNoPartIndex;
  return selected->GetHelperPart();
}

TRect PartBounds(TdxBar* ABar, int APart)
{
  TdxBarAccessibilityHelper* helper = dxBarGetPartAccessibilityHelper(ABar->GetControl(), APart);
  return helper ? helper->GetScreenBounds(CHILDID_SELF) : TRect{};
}

bool NoNavigationLeft()
{
  return ActiveBarControl() == nullptr && !BarNavigationController()->IsNavigationOrKeyTipsActive();
}

TEST(NavigationParts, ArrowsAndTabReachTheMarkWhichShowsSelectedAndOpensOnEnter)
{
  TKeyForm f({L"One", L"Two"});
  const TRect mark = PartBounds(f.Bar, dxBarMarkIndex);
  ASSERT_FALSE(IsRectEmpty(&mark));
  const TDib32 normal = CaptureScreen(mark);

  Stroke(VK_MENU);
  ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() == f.Bar->GetControl(); }, 2000));
  Stroke(VK_RIGHT);
  Stroke(VK_RIGHT);
  EXPECT_EQ(SelectedPart(f.Bar), dxBarMarkIndex) << "right of the last item";
  EXPECT_EQ(f.SelectedCaption(), L"-") << "no item is drawn selected beside it";
  EXPECT_EQ(f.Bar->GetControl()->GetMarkState(), TdxBarMarkState::Hot);
  EXPECT_TRUE(dxBarGetPartAccessibilityHelper(f.Bar->GetControl(), dxBarMarkIndex)->GetState(CHILDID_SELF) &
              STATE_SYSTEM_HOTTRACKED);
  PumpPending();
  const TDib32 selected = CaptureScreen(mark);
  EXPECT_GT(CountDifferentPixels(selected, {0, 0, selected.Width(), selected.Height()}, normal, 8), 0)
      << "the mark is drawn hot";
  SaveShotOnRequest(normal, "mark-normal");
  SaveShotOnRequest(selected, "mark-selected");

  Stroke(VK_RIGHT);
  EXPECT_EQ(f.SelectedCaption(), L"One") << "right of the mark wraps around the bar";
  EXPECT_EQ(f.Bar->GetControl()->GetMarkState(), TdxBarMarkState::Normal);
  Stroke(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(SelectedPart(f.Bar), dxBarMarkIndex) << "before the first item in tree order";
  Stroke(VK_TAB);
  EXPECT_EQ(f.SelectedCaption(), L"One");
  Stroke(VK_LEFT);
  EXPECT_EQ(SelectedPart(f.Bar), dxBarMarkIndex);

  // A pointer passing over the mark and leaving it does not take the selection's look away.
  const TPoint centre{(mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2};
  ASSERT_TRUE(MoveMouseTo(centre));
  ASSERT_TRUE(MoveMouseTo({centre.x, mark.bottom + 80}));
  PumpPending();
  EXPECT_EQ(f.Bar->GetControl()->GetMarkState(), TdxBarMarkState::Hot);
  EXPECT_TRUE(BarNavigationController()->IsNavigationActive());

  // Enter opens the mark's popup with the keyboard on its first element; Esc ends it all.
  Stroke(VK_RETURN);
  TCustomdxBarControl* quick = f.Bar->GetControl()->GetQuickControl();
  ASSERT_NE(quick, nullptr);
  EXPECT_EQ(ActiveBarControl(), quick);
  ASSERT_NE(quick->GetSelectedControl(), nullptr);
  EXPECT_EQ(BarNavigationController()->GetSelectedObject()->GetHelperObject(), quick->GetSelectedControl());
  EXPECT_EQ(f.Bar->GetControl()->GetMarkState(), TdxBarMarkState::Pressed) << "open while its popup shows";
  Stroke(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil(NoNavigationLeft, 2000));
  EXPECT_EQ(f.Bar->GetControl()->GetQuickControl(), nullptr);
  EXPECT_EQ(f.Bar->GetControl()->GetMarkState(), TdxBarMarkState::Normal);
  EXPECT_TRUE(f.Clicks.empty());
}

TEST(NavigationParts, CaptionButtonsOfAFloatingBarAreReachedRunAndLeftByEsc)
{
  // Items wide enough for a caption with the mark, the button and the close button.
  TKeyForm f({L"One", L"Two and a half"});
  int pins = 0;
  TdxBarCaptionButton* pin = f.Bar->GetCaptionButtons()->Add();
  pin->SetHint(L"Pin");
  pin->OnClick = TNotifyEvent([&pins](TObject*) { ++pins; });
  // The classic look, whose close button is the system's, alike hot or not: chosen by keys it
  // shows a focus rectangle.
  f.Host.Manager->SetStyle(bmsStandard);
  f.Bar->SetFloatLeft(200);
  f.Bar->SetFloatTop(420);
  f.Bar->SetDockingStyle(dsNone);
  PumpPending();
  ASSERT_TRUE(f.Bar->GetControl()->IsFloating());
  const TRect close = PartBounds(f.Bar, dxBarCloseButtonIndex);
  ASSERT_FALSE(IsRectEmpty(&close));
  const TRect mark = PartBounds(f.Bar, dxBarMarkIndex), pinRect = PartBounds(f.Bar, 0);
  RECT overlap{};
  EXPECT_FALSE(IntersectRect(&overlap, &mark, &pinRect)) << "the mark sits left of every caption button";
  EXPECT_LE(mark.right, pinRect.left);
  const TDib32 normal = CaptureScreen(close);

  // Tab walks the items, the mark, the caption button and the close button, then wraps.
  Stroke(VK_MENU);
  ASSERT_TRUE(PumpUntil([&] { return ActiveBarControl() == f.Bar->GetControl(); }, 2000));
  ASSERT_EQ(f.SelectedCaption(), L"One");
  Stroke(VK_TAB);
  Stroke(VK_TAB);
  EXPECT_EQ(SelectedPart(f.Bar), dxBarMarkIndex);
  EXPECT_EQ(f.Bar->GetControl()->GetMarkState(), TdxBarMarkState::Hot);
  {
    RECT window{};
    GetWindowRect(f.Bar->GetControl()->GetHandle(), &window);
    SaveShotOnRequest(CaptureScreen(window), "floating-mark-selected");
  }
  Stroke(VK_TAB);
  EXPECT_EQ(SelectedPart(f.Bar), 0) << "the caption button";

  EXPECT_EQ(f.Bar->GetControl()->GetMarkState(), TdxBarMarkState::Normal);
  Stroke(VK_TAB);
  EXPECT_EQ(SelectedPart(f.Bar), dxBarCloseButtonIndex);
  PumpPending();
  const TDib32 selected = CaptureScreen(close);
  {
    RECT window{};
    GetWindowRect(f.Bar->GetControl()->GetHandle(), &window);
    SaveShotOnRequest(CaptureScreen(window), "close-selected");
  }
  EXPECT_GT(CountDifferentPixels(selected, {0, 0, selected.Width(), selected.Height()}, normal, 8), 0)
      << "the close button is drawn hot";
  Stroke(VK_TAB);
  EXPECT_EQ(f.SelectedCaption(), L"One");

  // Up from an item goes into the caption, Left and Right along it.
  Stroke(VK_UP);
  EXPECT_NE(SelectedPart(f.Bar), dxBarNoPartIndex);
  for (int n = 0; n < 3 && SelectedPart(f.Bar) != 0 && SelectedPart(f.Bar) != dxBarNoPartIndex; ++n)
    Stroke(SelectedPart(f.Bar) == dxBarMarkIndex ? VK_RIGHT : VK_LEFT);
  ASSERT_EQ(SelectedPart(f.Bar), 0);

  // Enter and Space press it and keep it selected; Esc goes back to the toolbar's items.
  Stroke(VK_RETURN);
  Stroke(VK_SPACE);
  EXPECT_EQ(pins, 2);
  EXPECT_EQ(SelectedPart(f.Bar), 0);
  Stroke(VK_ESCAPE);
  EXPECT_EQ(f.SelectedCaption(), L"One");
  EXPECT_TRUE(BarNavigationController()->IsNavigationActive());
  EXPECT_TRUE(f.Clicks.empty());

  // A disabled caption button can be reached but not pressed.
  Stroke(VK_TAB, {VK_SHIFT});
  Stroke(VK_TAB, {VK_SHIFT});
  ASSERT_EQ(SelectedPart(f.Bar), 0);
  pin->SetEnabled(false);
  Stroke(VK_RETURN);
  EXPECT_EQ(pins, 2);
  // Removed while selected, it hands the selection to the bar's first item.
  f.Bar->GetCaptionButtons()->Delete(0);
  PumpPending();
  EXPECT_EQ(f.SelectedCaption(), L"One");
  EXPECT_TRUE(BarNavigationController()->IsNavigationActive());

  // Enter on the close button closes the bar, and with it the navigation.
  Stroke(VK_TAB, {VK_SHIFT});
  ASSERT_EQ(SelectedPart(f.Bar), dxBarCloseButtonIndex) << "before the first item, wrapping";
  Stroke(VK_RETURN);
  EXPECT_FALSE(f.Bar->GetVisible());
  EXPECT_TRUE(PumpUntil(NoNavigationLeft, 2000));
  EXPECT_EQ(BarNavigationController()->GetSelectedObject(), nullptr);
  Stroke('A');
  EXPECT_EQ(f.Edit->GetText(), L"a") << "typing reaches the edit again";
}

}  // namespace
