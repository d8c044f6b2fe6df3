// The layout of shadow strips: the plain window, menus opened from an item above, below,
// left or right of them, items that do not touch, windows too small for a shadow, and the
// layered-window decision. Every outline is also checked against the shadow region itself.
#include <set>
#include <utility>

#include "ShadowTestUtil.h"
#include "platform/Scope.h"

namespace {

constexpr int W = dxBarLayeredShadowSize;

bool Intersects(const TRect& A, const TRect& B)
{
  return !IsRectEmpty(IntersectRect(A, B));
}

const TdxBarShadowPartInfo* FindPart(const std::vector<TdxBarShadowPartInfo>& Parts, const TRect& Bounds)
{
  for (const TdxBarShadowPartInfo& part : Parts)
    if (part.Bounds == Bounds)
      return &part;
  return nullptr;
}

std::string PartsText(const std::vector<TdxBarShadowPartInfo>& Parts)
{
  std::string text;
  for (const TdxBarShadowPartInfo& p : Parts)
    text += testing::PrintToString(p.Bounds) + (p.Vertical ? "V" : "H") + " ";
  return text;
}

// What the window and item cover when moved by Size right and down, less what they cover.
std::set<std::pair<int, int>> ExpectedShadowPixels(const std::vector<TRect>& Casters, int Size)
{
  auto covered = [&](int x, int y) {
    for (const TRect& r : Casters)
      if (PtInRect(r, TPoint{x, y}))
        return true;
    return false;
  };
  std::set<std::pair<int, int>> pixels;
  for (const TRect& r : Casters)
    for (int y = r.top + Size; y < r.bottom + Size; ++y)
      for (int x = r.left + Size; x < r.right + Size; ++x)
        if (!covered(x, y))
          pixels.insert({x, y});
  return pixels;
}

// The strips must cover the shadow region exactly once: no gaps, no overlaps, nothing on the
// window or the item.
void ExpectPartsTileTheShadow(const TRect& Item, const TRect& Window, bool ItemTouches)
{
  SCOPED_TRACE("item " + testing::PrintToString(Item) + " window " + testing::PrintToString(Window));
  const auto parts = dxBarCalcShadowParts(Item, Window, W);
  ASSERT_LE(int(parts.size()), dxBarShadowMaxParts) << PartsText(parts);
  std::set<std::pair<int, int>> got;
  for (const TdxBarShadowPartInfo& part : parts) {
    EXPECT_FALSE(Intersects(part.Bounds, Window)) << testing::PrintToString(part.Bounds);
    if (ItemTouches) {
      EXPECT_FALSE(Intersects(part.Bounds, Item)) << testing::PrintToString(part.Bounds);
    }
    // A strip is as wide (across) as the shadow.
    EXPECT_EQ(part.Vertical ? RectWidth(part.Bounds) : RectHeight(part.Bounds), W);
    for (int y = part.Bounds.top; y < part.Bounds.bottom; ++y)
      for (int x = part.Bounds.left; x < part.Bounds.right; ++x)
        EXPECT_TRUE(got.insert({x, y}).second) << "two strips cover " << x << "," << y;
  }
  std::vector<TRect> casters{Window};
  if (ItemTouches)
    casters.push_back(Item);
  EXPECT_TRUE(got == ExpectedShadowPixels(casters, W)) << PartsText(parts);
}

}  // namespace

TEST(ShadowLayout, PlainWindowCastsARightAndABottomStrip)
{
  const auto parts = dxBarCalcShadowParts(TRect{}, Rect(100, 100, 200, 300), W);
  ASSERT_EQ(parts.size(), 2u) << PartsText(parts);
  const TdxBarShadowPartInfo* right = FindPart(parts, Rect(200, 104, 204, 300));
  const TdxBarShadowPartInfo* bottom = FindPart(parts, Rect(104, 300, 204, 304));
  ASSERT_TRUE(right) << PartsText(parts);
  ASSERT_TRUE(bottom) << PartsText(parts);
  EXPECT_TRUE(right->Vertical);
  EXPECT_EQ(right->FadedEnds, TdxBarShadowPartEnds{speStart});
  EXPECT_FALSE(bottom->Vertical);
  EXPECT_EQ(bottom->FadedEnds, (TdxBarShadowPartEnds{speStart, speEnd}));
}

TEST(ShadowLayout, SubmenuBelowANarrowerButtonContinuesTheButtonsRightEdge)
{
  const TRect button = Rect(100, 50, 140, 72);
  const TRect menu = Rect(100, 72, 220, 200);
  const auto parts = dxBarCalcShadowParts(button, menu, W);
  // The button's right edge, from w below its top down to the menu, faded at the top.
  const TdxBarShadowPartInfo* buttonEdge = FindPart(parts, Rect(140, 54, 144, 72));
  ASSERT_TRUE(buttonEdge) << PartsText(parts);
  EXPECT_TRUE(buttonEdge->Vertical);
  EXPECT_EQ(buttonEdge->FadedEnds, TdxBarShadowPartEnds{speStart});
  // The menu's top right is an outer corner of the outline: its strip fades in there.
  const TdxBarShadowPartInfo* menuEdge = FindPart(parts, Rect(220, 76, 224, 200));
  ASSERT_TRUE(menuEdge) << PartsText(parts);
  EXPECT_EQ(menuEdge->FadedEnds, TdxBarShadowPartEnds{speStart});
  EXPECT_TRUE(FindPart(parts, Rect(104, 200, 224, 204))) << PartsText(parts);
  EXPECT_EQ(parts.size(), 3u) << PartsText(parts);
  ExpectPartsTileTheShadow(button, menu, true);
}

TEST(ShadowLayout, MenuOpenedUpwardsSwapsTheRectanglesAndStepsBelowItself)
{
  const TRect menu = Rect(300, 100, 420, 250);
  const TRect button = Rect(300, 250, 340, 272);
  const TdxBarShadowOutline outline = dxBarShadowOutline(button, menu, W);
  EXPECT_TRUE(outline.Vertical);
  EXPECT_EQ(outline.First, menu);
  EXPECT_EQ(outline.Second, button);
  const auto parts = dxBarCalcShadowParts(button, menu, W);
  // The menu's bottom edge right of the button, ending in the menu's outer corner.
  const TdxBarShadowPartInfo* step = FindPart(parts, Rect(340, 250, 424, 254));
  ASSERT_TRUE(step) << PartsText(parts);
  EXPECT_FALSE(step->Vertical);
  EXPECT_EQ(step->FadedEnds, TdxBarShadowPartEnds{speEnd});
  // The button's own right edge starts under the step and is not faded there.
  const TdxBarShadowPartInfo* buttonEdge = FindPart(parts, Rect(340, 254, 344, 272));
  ASSERT_TRUE(buttonEdge) << PartsText(parts);
  EXPECT_TRUE(buttonEdge->FadedEnds.Empty());
  ExpectPartsTileTheShadow(button, menu, true);
}

TEST(ShadowLayout, SubmenuBesideItsItemShadowsBelowTheItemUpToTheSubmenu)
{
  const TRect item = Rect(100, 100, 200, 120);
  const TRect submenu = Rect(200, 96, 300, 250);
  const TdxBarShadowOutline outline = dxBarShadowOutline(item, submenu, W);
  EXPECT_FALSE(outline.Vertical);
  EXPECT_EQ(outline.First, item);
  const auto parts = dxBarCalcShadowParts(item, submenu, W);
  const TdxBarShadowPartInfo* belowItem = FindPart(parts, Rect(104, 120, 200, 124));
  ASSERT_TRUE(belowItem) << PartsText(parts);
  EXPECT_FALSE(belowItem->Vertical);
  EXPECT_EQ(belowItem->FadedEnds, TdxBarShadowPartEnds{speStart});
  const TdxBarShadowPartInfo* right = FindPart(parts, Rect(300, 100, 304, 254));
  ASSERT_TRUE(right) << PartsText(parts);
  EXPECT_TRUE(right->Vertical);
  EXPECT_EQ(right->FadedEnds, (TdxBarShadowPartEnds{speStart, speEnd}));
  const TdxBarShadowPartInfo* bottom = FindPart(parts, Rect(204, 250, 300, 254));
  ASSERT_TRUE(bottom) << PartsText(parts);
  EXPECT_EQ(bottom->FadedEnds, TdxBarShadowPartEnds{speStart});
  EXPECT_EQ(parts.size(), 3u) << PartsText(parts);
  // Opened leftwards, the item goes second so the left rectangle stays first.
  const TdxBarShadowOutline leftwards = dxBarShadowOutline(Rect(300, 100, 400, 120), Rect(200, 100, 300, 250), W);
  EXPECT_FALSE(leftwards.Vertical);
  EXPECT_EQ(leftwards.First, Rect(200, 100, 300, 250));
  EXPECT_EQ(leftwards.Second, Rect(300, 100, 400, 120));
}

// Every way an item can touch a window: the strips tile the true shadow region.
TEST(ShadowLayout, StripsTileTheShadowOfEveryTouchingOutline)
{
  const TRect window = Rect(100, 100, 200, 180);
  struct TCase {
    const char* Name;
    TRect Item;
  };
  const TCase cases[] = {
      {"above, narrower, left-aligned", Rect(100, 80, 140, 100)},
      {"above, wider on both sides", Rect(80, 80, 230, 100)},
      {"above, inside", Rect(130, 80, 160, 100)},
      {"above, right edge just past the window's", Rect(100, 80, 202, 100)},
      {"above, left edge just inside the window's shadow", Rect(98, 80, 150, 100)},
      {"above, only touching the window's last columns", Rect(197, 80, 260, 100)},
      {"below, narrower", Rect(100, 180, 140, 200)},
      {"below, wider", Rect(60, 180, 260, 202)},
      {"left, shorter", Rect(40, 100, 100, 120)},
      {"left, taller", Rect(40, 60, 100, 230)},
      {"left, inside", Rect(40, 130, 100, 150)},
      {"right, shorter", Rect(200, 100, 260, 120)},
      {"right, taller", Rect(200, 90, 260, 240)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ExpectPartsTileTheShadow(c.Item, window, true);
  }
}

TEST(ShadowLayout, AnItemThatDoesNotTouchTheWindowIsIgnored)
{
  const TRect window = Rect(100, 100, 200, 180);
  for (const TRect& item : {Rect(100, 70, 140, 90), Rect(100, 90, 140, 110), Rect(300, 100, 340, 120),
                            Rect(200, 180, 240, 200) /* corner to corner */}) {
    SCOPED_TRACE(testing::PrintToString(item));
    EXPECT_TRUE(IsRectEmpty(dxBarShadowOutline(item, window, W).First));
    EXPECT_EQ(dxBarCalcShadowParts(item, window, W).size(), 2u);
    ExpectPartsTileTheShadow(item, window, false);
  }
}

TEST(ShadowLayout, AnItemThinnerThanTheShadowLeavesTheWindowAlone)
{
  const TRect window = Rect(100, 100, 200, 180);
  for (const TRect& item : {Rect(120, 180, 150, 182), Rect(120, 97, 150, 100), Rect(200, 120, 200 + W - 1, 140)}) {
    SCOPED_TRACE(testing::PrintToString(item));
    EXPECT_TRUE(IsRectEmpty(dxBarShadowOutline(item, window, W).First));
    EXPECT_EQ(dxBarCalcShadowParts(item, window, W).size(), 2u);
  }
  // The narrower fallback shadow still combines with the same item.
  EXPECT_FALSE(IsRectEmpty(dxBarShadowOutline(Rect(120, 97, 150, 100), window, dxBarOpaqueShadowSize).First));
}

TEST(ShadowLayout, WindowsSmallerThanTheShadowCastNone)
{
  EXPECT_TRUE(dxBarCalcShadowParts(TRect{}, Rect(0, 0, W - 1, 100), W).empty());
  EXPECT_TRUE(dxBarCalcShadowParts(TRect{}, Rect(0, 0, 100, W - 1), W).empty());
  EXPECT_TRUE(dxBarCalcShadowParts(TRect{}, TRect{}, W).empty());
  EXPECT_TRUE(dxBarCalcShadowParts(TRect{}, Rect(50, 50, 10, 10), W).empty());
  EXPECT_TRUE(dxBarCalcShadowParts(TRect{}, Rect(0, 0, 100, 100), 0).empty());
  // Exactly as wide as the shadow: the right strip would be empty, the bottom one is not.
  const auto parts = dxBarCalcShadowParts(TRect{}, Rect(0, 0, W, W), W);
  ASSERT_EQ(parts.size(), 1u) << PartsText(parts);
  EXPECT_EQ(parts[0].Bounds, Rect(W, W, 2 * W, 2 * W));
  // The fallback width lets a 2-pixel window keep its shadow.
  EXPECT_EQ(dxBarCalcShadowParts(TRect{}, Rect(0, 0, 3, 50), dxBarOpaqueShadowSize).size(), 2u);
}

TEST(ShadowLayout, LayeredWindowsNeedTheFunctionAndMoreThan256Colours)
{
  EXPECT_TRUE(dxBarShadowCanUseLayeredWindows(true, 32));
  EXPECT_TRUE(dxBarShadowCanUseLayeredWindows(true, 16));
  EXPECT_TRUE(dxBarShadowCanUseLayeredWindows(true, 9));
  EXPECT_FALSE(dxBarShadowCanUseLayeredWindows(true, 8));
  EXPECT_FALSE(dxBarShadowCanUseLayeredWindows(true, 4));
  EXPECT_FALSE(dxBarShadowCanUseLayeredWindows(false, 32));
  EXPECT_EQ(dxBarShadowSizeFor(true), 4);
  EXPECT_EQ(dxBarShadowSizeFor(false), 2);
}

TEST(ShadowLayout, TheProcessDecisionFollowsStartUpUnlessReplaced)
{
  EXPECT_EQ(dxBarShadowIsLayered(),
            dxBarShadowCanUseLayeredWindows(dxUpdateLayeredWindow != nullptr, dxBarScreenColorDepth()));
  // This host binds the function and runs at 32 bits per pixel.
  EXPECT_NE(dxUpdateLayeredWindow, nullptr);
  EXPECT_TRUE(dxBarShadowIsLayered());
  {
    TdxBarShadowLayeredQuery previous = SetdxBarShadowLayeredQuery([] { return false; });
    TFinally restore([&] { SetdxBarShadowLayeredQuery(previous); });
    EXPECT_FALSE(dxBarShadowIsLayered());
  }
  EXPECT_TRUE(dxBarShadowIsLayered());
}
