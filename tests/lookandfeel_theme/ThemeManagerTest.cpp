// Kept themes, the visual-styles switch and theme-change notification.
#include <gtest/gtest.h>

#include <memory>

#include "lookandfeel/dxThemeManager.h"

namespace {

// The units under test start once for the whole run and stop at its end.
class TThemeEnvironment : public testing::Environment {
public:
  void SetUp() override { InitializedxThemeManager(); }
  void TearDown() override
  {
    FinalizedxThemeManager();
    FinalizedxUxTheme();
  }
};
const testing::Environment* const ThemeEnvironment = testing::AddGlobalTestEnvironment(new TThemeEnvironment);

// Restores the switch whatever a case did with it.
class ThemeManager : public testing::Test {
protected:
  void TearDown() override { SetVisualStylesSuppressed(false); }
};

int gNotified = 0;

}  // namespace

TEST_F(ThemeManager, SwitchedOnTheToolBarThemeOpensOnceAndIsKept)
{
  if (!AreVisualStylesActive())
    GTEST_SKIP() << "visual styles are off on this system";
  TdxTheme toolbar = OpenTheme(totToolBar);
  EXPECT_NE(toolbar, 0u);
  EXPECT_EQ(OpenTheme(totToolBar), toolbar);
  // The bar manager's set of kinds for its native look.
  EXPECT_TRUE(AreVisualStylesAvailable(TdxThemedObjectTypes{totComboBox, totEdit, totProgress, totRebar, totScrollBar,
                                                            totSpin, totStatus, totToolBar, totWindow}));
  // A kept handle answers queries: a push button has a content area inside its face.
  EXPECT_FALSE(IsRectEmpty(GetThemeBackgroundContentRect(OpenTheme(totButton), nullptr, 1, 1, Rect(0, 0, 40, 20))));
}

TEST_F(ThemeManager, QueriesOnNoThemeFailQuietly)
{
  HDC dc = GetDC(nullptr);
  TRect r = Rect(1, 2, 30, 40);
  EXPECT_FALSE(DrawThemeBackground(0, dc, 1, 1, r));
  EXPECT_FALSE(DrawThemeBackgroundByRect(0, dc, 1, 1, &r, nullptr));
  EXPECT_EQ(GetThemeBackgroundContentRect(0, dc, 1, 1, r), r);
  EXPECT_EQ(GetThemePartSizeNoRect(0, dc, 1, 1, tsTrue), Size(0, 0));
  COLORREF color = 0x123456;
  EXPECT_FALSE(GetThemeColor(0, 1, 1, 3802, color));
  EXPECT_EQ(color, 0x123456u);
  EXPECT_FALSE(IsThemeBackgroundPartiallyTransparent(0, 1, 1));
  HDC paint = dc;
  EXPECT_EQ(BeginBufferedPaint(dc, Rect(0, 0, 0, 0), bpfTopDownDIB, 0, paint), 0u);
  EXPECT_EQ(paint, nullptr);
  EXPECT_FALSE(EndBufferedPaint(0, true));
  ReleaseDC(nullptr, dc);
}

TEST_F(ThemeManager, BufferedPaintReachesTheTarget)
{
  if (!IsBufferedPaintAvailable())
    GTEST_SKIP() << "no buffered painting on this system";
  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(target, bitmap);
  RECT all{0, 0, 8, 8};
  FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HDC paint = nullptr;
  TdxPaintBuffer buffer = BeginBufferedPaint(target, Rect(2, 2, 6, 6), bpfTopDownDIB, 0, paint);
  ASSERT_NE(buffer, 0u);
  ASSERT_NE(paint, nullptr);
  RECT inner{2, 2, 6, 6};
  FillRect(paint, &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  // Setting the alpha is reported as is: the compatibility layer this runs under answers
  // it with "not implemented", which must not disturb the painting itself.
  BufferedPaintSetAlpha(buffer, nullptr, 255);
  EXPECT_TRUE(EndBufferedPaint(buffer, true));
  EXPECT_EQ(GetPixel(target, 3, 3) & 0xFFFFFF, 0u);
  EXPECT_EQ(GetPixel(target, 0, 0) & 0xFFFFFF, 0xFFFFFFu);
  SelectObject(target, old);
  DeleteObject(bitmap);
  DeleteDC(target);
}

TEST_F(ThemeManager, NotificatorHearsThemeChangeUntilDestroyed)
{
  if (!IsThemeLibraryLoaded())
    GTEST_SKIP() << "no visual-styles library";
  int calls = 0;
  TObject* sender = nullptr;
  auto n = std::make_unique<TdxThemeChangedNotificator>();
  n->OnThemeChanged = TNotifyEvent([&](TObject* s) {
    ++calls;
    sender = s;
  });
  ASSERT_TRUE(n->IsListening());
  HWND window = dxThemeChangeWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CHILD, 0) << "must be top-level to get broadcasts";
  EXPECT_FALSE(IsWindowVisible(window));
  SendMessageW(window, WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(sender, n.get());
  n.reset();
  SendMessageW(window, WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(calls, 1);
}

TEST_F(ThemeManager, ThemeChangeClosesKeptThemes)
{
  if (!AreVisualStylesActive())
    GTEST_SKIP() << "visual styles are off on this system";
  TdxTheme before = OpenTheme(totEdit);
  ASSERT_NE(before, 0u);
  TdxThemeChangedNotificator n;
  SendMessageW(dxThemeChangeWindow(), WM_THEMECHANGED, 0, 0);
  // Reopened on demand and usable again.
  TdxTheme after = OpenTheme(totEdit);
  ASSERT_NE(after, 0u);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_TRUE(DrawThemeBackground(after, dc, 1, 1, Rect(0, 0, 40, 20)));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(ThemeManager, FinalizationDropsNotificatorsAndTheWindow)
{
  if (!IsThemeLibraryLoaded())
    GTEST_SKIP() << "no visual-styles library";
  auto n = std::make_unique<TdxThemeChangedNotificator>();
  int calls = 0;
  n->OnThemeChanged = TNotifyEvent([&](TObject*) { ++calls; });
  ASSERT_NE(dxThemeChangeWindow(), nullptr);
  FinalizedxThemeManager();
  FinalizedxThemeManager();
  EXPECT_FALSE(n->IsListening());
  EXPECT_EQ(dxThemeChangeWindow(), nullptr);
  InitializedxThemeManager();
  dxNotifyThemeChanged();
  EXPECT_EQ(calls, 0);
  n.reset();  // leaving a list it is no longer in is harmless
}

TEST_F(ThemeManager, HandlerMayFreeItselfAndOthers)
{
  if (!IsThemeLibraryLoaded())
    GTEST_SKIP() << "no visual-styles library";
  auto* first = new TdxThemeChangedNotificator;
  auto* second = new TdxThemeChangedNotificator;
  int secondCalls = 0;
  first->OnThemeChanged = TNotifyEvent([&](TObject*) {
    delete second;
    second = nullptr;
    delete first;
    first = nullptr;
  });
  second->OnThemeChanged = TNotifyEvent([&](TObject*) { ++secondCalls; });
  dxNotifyThemeChanged();
  EXPECT_EQ(first, nullptr);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(secondCalls, 0);
  // The list is empty again: a fresh notificator alone hears the next change.
  TdxThemeChangedNotificator third;
  third.OnThemeChanged = TNotifyEvent([](TObject*) { ++gNotified; });
  gNotified = 0;
  dxNotifyThemeChanged();
  EXPECT_EQ(gNotified, 1);
}

TEST_F(ThemeManager, SwitchChangeNotifiesOnlyOnChange)
{
  if (!IsThemeLibraryLoaded())
    GTEST_SKIP() << "no visual-styles library";
  TdxThemeChangedNotificator n;
  int calls = 0;
  n.OnThemeChanged = TNotifyEvent([&](TObject*) { ++calls; });
  SetVisualStylesSuppressed(true);
  SetVisualStylesSuppressed(true);
  EXPECT_EQ(calls, 1);
  SetVisualStylesSuppressed(false);
  EXPECT_EQ(calls, 2);
}
