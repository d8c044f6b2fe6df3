// Computed sizes of real bar windows: the single-line docked bar that is too narrow shows
// the mark and cuts its items, floating bars wrap and move whole groups, WholeRow takes the
// site's client width, the floating minimum.
#include "ToolbarTestUtil.h"

#include <map>
#include <numeric>

#include "bars/painters/painter.h"
#include "lookandfeel/cxGraphics.h"
#include "support/Pump.h"

using TToolbarSize = TToolbarFixture;

TEST_F(TToolbarSize, PreferredWidthIsTheLinksWithSeparatorsAndTheMark)
{
  TdxBar* bar = AddBar({L"One", L"Two", L"|Three"});
  TdxBarControl* c = MakeWindow(bar);
  ASSERT_NE(c, nullptr);
  std::vector<int> w = LinkWidths(c);
  ASSERT_EQ(w.size(), 3u);
  int sep = c->GetSeparatorSize();
  ASSERT_GT(sep, 0);
  EXPECT_EQ(c->GetPreferredWidth(dsTop), w[0] + w[1] + sep + w[2] + c->GetFullMarkSize());
  // The minimum is the first link and the mark.
  EXPECT_EQ(c->GetMinWidth(dsTop), w[0] + c->GetFullMarkSize());
  TPoint frame = c->GetFrameSize(dsTop);
  TPoint size = c->CalcSize(dsTop);
  EXPECT_EQ(size.x, c->GetPreferredWidth(dsTop) + frame.x);
  // Vertical: the same links along the height.
  EXPECT_GT(c->CalcSize(dsLeft).y, c->CalcSize(dsLeft).x);
}

TEST_F(TToolbarSize, NarrowSingleLineBarCutsItemsAndShowsTheMark)
{
  TdxBar* bar = AddBar({L"One", L"Two", L"|Three"});
  bar->SetAllowQuickCustomizing(false);  // the mark shows only for hidden items
  TdxBarControl* c = MakeWindow(bar);
  ASSERT_NE(c, nullptr);
  std::vector<int> w = LinkWidths(c);
  int sep = c->GetSeparatorSize();
  int height = c->GetSizeForWidth(dsTop, 1000).y;

  // Room for everything: no mark.
  c->SetBounds(0, 0, w[0] + w[1] + sep + w[2], height);
  c->CalculateViewInfo();
  EXPECT_EQ(c->GetVisibleCount(), 3);
  EXPECT_FALSE(c->GetItemsHidden());
  EXPECT_FALSE(c->HasMark());

  // One pixel short for the third link: two shown, the flag set, the mark shown, and the
  // cut link has no rectangle.
  c->SetBounds(0, 0, w[0] + w[1] + c->GetFullMarkSize() + sep + w[2] - 1 - c->GetFullMarkSize(), height);
  c->CalculateViewInfo();
  EXPECT_EQ(c->GetVisibleCount(), 2);
  EXPECT_TRUE(c->GetItemsHidden());
  EXPECT_TRUE(c->HasMark());
  TdxBarItemLinks* links = bar->GetItemLinks();
  EXPECT_TRUE(IsRectEmpty(links->Items(2)->GetItemRect()));
  EXPECT_EQ(links->Items(1)->GetItemRect().left, w[0]);
  // The mark sits at the right end of the client area.
  TRect mark = c->GetMarkRect();
  EXPECT_EQ(mark.right, c->GetClientRect().right);
  // The size for that width counts two links and adds the mark.
  TPoint s = c->GetSizeForWidth(dsTop, w[0] + w[1] + 10);
  EXPECT_EQ(s.x, w[0] + w[1] + c->GetFullMarkSize());
}

// The layout keeps the strip each look draws the mark in, so the mark never covers the
// last item; the classic looks draw it three pixels either side of the chevrons.
TEST_F(TToolbarSize, EveryLookLeavesTheRoomItDrawsTheMarkIn)
{
  TdxBar* bar = AddBar({L"One", L"Two", L"|Three"});
  TdxBarControl* c = MakeWindow(bar);
  ASSERT_NE(c, nullptr);
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced, bmsFlat, bmsOffice11, bmsXP}) {
    SCOPED_TRACE(int(style));
    Manager->SetStyle(style);
    c->SetBounds(0, 0, c->GetPreferredWidth(dsTop), c->GetSizeForWidth(dsTop, 1000).y);
    c->CalculateViewInfo();
    ASSERT_EQ(c->GetVisibleCount(), 3);
    TRect mark = c->GetMarkRect();
    EXPECT_GE(mark.left, bar->GetItemLinks()->Items(2)->GetItemRect().right);
    EXPECT_GE(mark.right, c->GetClientRect().right);  // the flat looks reach into the border
    if (style == bmsStandard || style == bmsEnhanced) {
      EXPECT_EQ(RectWidth(mark), 13);
    }
  }
}

TEST_F(TToolbarSize, FloatingBarWrapsAndMovesTheWholeGroup)
{
  TdxBar* bar = AddBar({L"Alpha", L"Beta", L"|Gamma", L"Delta"}, dsNone);
  TdxBarControl* c = MakeWindow(bar);
  ASSERT_NE(c, nullptr);
  std::vector<int> w = LinkWidths(c);
  int sep = c->GetSeparatorSize();
  int oneLine = c->GetSizeForWidth(dsNone, 2000).y;
  // Room for Alpha, Beta and Gamma but not Delta: Gamma's group goes down with Delta.
  int width = w[0] + w[1] + sep + w[2] + std::min(w[3], 5);
  width = std::max(width, c->GetMinWidth(dsNone));
  bar->SetFloatClientWidth(width);
  TPoint frame = c->GetFrameSize(dsNone);
  TPoint size = c->CalcSize(dsNone);
  EXPECT_EQ(size.y - frame.y, 2 * oneLine + sep);
  // The window snaps to its longer line.
  EXPECT_EQ(size.x - frame.x, std::max(std::max(w[0] + w[1], w[2] + w[3]), c->GetMinWidth(dsNone)));
  // The placement agrees: Gamma starts the second line at the left edge.
  c->SetBounds(0, 0, size.x, size.y);
  c->CalculateViewInfo();
  TdxBarItemLinks* links = bar->GetItemLinks();
  EXPECT_EQ(links->Items(2)->GetItemRect().left, 0);
  EXPECT_GT(links->Items(2)->GetItemRect().top, links->Items(1)->GetItemRect().top);
  EXPECT_EQ(links->Items(3)->GetItemRect().top, links->Items(2)->GetItemRect().top);
  EXPECT_FALSE(c->GetItemsHidden());
}

TEST_F(TToolbarSize, FloatingWidthSnapsToItsLongestLine)
{
  TdxBar* bar = AddBar({L"Alpha", L"Beta"}, dsNone);
  TdxBarControl* c = MakeWindow(bar);
  ASSERT_NE(c, nullptr);
  std::vector<int> w = LinkWidths(c);
  const int minimum = c->GetMinWidth(dsNone);
  int oneLine = c->GetSizeForWidth(dsNone, 2000).y;
  // Wider than every line: the width is the one line's, whatever was asked.
  TPoint wide = c->GetSizeForWidth(dsNone, w[0] + w[1] + 90);
  EXPECT_EQ(wide.x, std::max(w[0] + w[1], minimum));
  EXPECT_EQ(wide.y, oneLine);
  // Too narrow for both on a line: two lines, as wide as the wider link.
  TPoint narrow = c->GetSizeForWidth(dsNone, w[0] + w[1] - 1);
  EXPECT_EQ(narrow.x, std::max(std::max(w[0], w[1]), minimum));
  EXPECT_EQ(narrow.y, 2 * oneLine);
  // Below the minimum: the minimum.
  EXPECT_EQ(c->GetSizeForWidth(dsNone, 3).x, std::max(minimum, std::max(w[0], w[1])));
  // Docked, the width is what the links take, whatever was asked.
  EXPECT_EQ(c->GetSizeForWidth(dsTop, 2000).x, c->GetPreferredWidth(dsTop));
}

TEST_F(TToolbarSize, FloatingSizeForAHeightNarrowsUntilTheLinesReachIt)
{
  TdxBar* bar = AddBar({L"Alpha", L"Beta", L"Gamma", L"Delta"}, dsNone);
  TdxBarControl* c = MakeWindow(bar);
  ASSERT_NE(c, nullptr);
  int oneLine = c->GetSizeForWidth(dsNone, 2000).y;
  TPoint s = c->GetSizeForHeight(dsNone, 2 * oneLine);
  EXPECT_GE(s.y, 2 * oneLine);
  // Asking for more lines than links can give stops at the minimum width.
  TPoint tall = c->GetSizeForHeight(dsNone, 100 * oneLine);
  EXPECT_LE(tall.x, c->GetMinWidth(dsNone) + 0);
  EXPECT_EQ(tall.y, 4 * oneLine);
}

TEST_F(TToolbarSize, FloatingMinimumIsFiftyOneClientPixels)
{
  TdxBar* bar = AddBar({L"a"}, dsNone);
  bar->SetAllowClose(false);
  bar->SetAllowQuickCustomizing(false);
  TdxBarControl* c = MakeWindow(bar);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetMinWidth(dsNone), dxBarFloatingMinClientWidth);
  bar->SetFloatClientWidth(10);
  TPoint frame = c->GetFrameSize(dsNone);
  EXPECT_EQ(c->CalcSize(dsNone).x - frame.x, dxBarFloatingMinClientWidth);
  EXPECT_GT(frame.y, frame.x);  // the caption is part of the floating frame
}

TEST_F(TToolbarSize, WholeRowTakesTheSiteClientWidth)
{
  ShowForm();
  TdxBar* bar = AddBar({L"One", L"Two"});
  bar->SetWholeRow(true);
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  TdxDockControl* top = Bars()->GetDockControl(dsTop);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(c->CalcSize(dsTop).x, top->GetClientRect().right);
  // Not whole-row: the preferred width. The bar is placed anew in a window of its own.
  bar->SetWholeRow(false);
  c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->CalcSize(dsTop).x, c->GetPreferredWidth(dsTop) + c->GetFrameSize(dsTop).x);
}

TEST_F(TToolbarSize, SizeCalculationLeavesTheShownLayoutAlone)
{
  TdxBar* bar = AddBar({L"One", L"Two", L"|Three"});
  bar->SetFloatClientWidth(1);  // floating, it wraps to one link a line
  TdxBarControl* c = MakeWindow(bar);
  ASSERT_NE(c, nullptr);
  c->SetBounds(0, 0, 2000, 60);
  c->CalculateViewInfo();
  ASSERT_EQ(c->GetVisibleCount(), 3);
  TRect before = bar->GetItemLinks()->Items(2)->GetItemRect();
  // Sizing for a narrow floating width breaks the lines elsewhere; the shown layout stays.
  TPoint narrow = c->CalcSize(dsNone);
  EXPECT_GT(narrow.y, 60);
  EXPECT_EQ(c->GetVisibleCount(), 3);
  EXPECT_EQ(bar->GetItemLinks()->Items(2)->GetItemRect(), before);
  c->RecalculateLayout();
  EXPECT_EQ(bar->GetItemLinks()->Items(2)->GetItemRect(), before);
}

// Sizes kept for a font or for one layout pass never outlive a change: a new caption is
// placed at its new width, and the bar's text height follows its font and its style.
TEST_F(TToolbarSize, CaptionFontAndStyleChangesReachTheSizesAtOnce)
{
  TdxBar* bar = AddBar({L"One", L"Two"});
  ShowForm();
  bar->SetVisible(true);
  auto* c = dynamic_cast<TdxBarControl*>(bar->GetControl());
  ASSERT_NE(c, nullptr);
  TdxBarItemLink* link = bar->GetItemLinks()->Items(0);
  auto width = [&] { return int(RectWidth(link->GetItemRect())); };
  ASSERT_TRUE(PumpUntil([&] { return width() > 0; }));

  const int before = width();
  link->GetItem()->SetCaption(L"One with a much longer caption");
  EXPECT_TRUE(PumpUntil([&] { return width() > before && width() == LinkWidths(c).at(0); }));

  // The two links differ by what their captions measure in the bar's font now, on a canvas
  // of its own: a width kept from another caption or font would not.
  TdxBarItemLink* other = bar->GetItemLinks()->Items(1);
  auto measuredDifference = [&] {
    TcxScreenCanvas canvas;
    canvas.SetFont(c->GetFont());
    return canvas.TextWidth(link->GetCaption()) - canvas.TextWidth(other->GetCaption());
  };
  auto shownDifference = [&] { return width() - int(RectWidth(other->GetItemRect())); };
  EXPECT_EQ(shownDifference(), measuredDifference());

  auto measuredTextHeight = [&] {
    TcxScreenCanvas canvas;
    canvas.SetFont(c->GetFont());
    return c->GetPainter()->GetTextHeight(&canvas);
  };
  const int text = c->GetTextHeight();
  const int difference = shownDifference();
  bar->GetFont()->SetSize(std::max(bar->GetFont()->GetSize(), 8) * 2);
  EXPECT_GT(c->GetTextHeight(), text);
  EXPECT_EQ(c->GetTextHeight(), measuredTextHeight());
  EXPECT_TRUE(PumpUntil([&] { return shownDifference() == measuredDifference(); }));
  EXPECT_GT(shownDifference(), difference);
  Manager->SetStyle(Manager->GetStyle() == bmsFlat ? bmsStandard : bmsFlat);
  EXPECT_EQ(c->GetTextHeight(), measuredTextHeight());
  EXPECT_TRUE(PumpUntil([&] { return shownDifference() == measuredDifference(); }));
}

// Measuring takes a DC of the window; a window that keeps it until idle time makes the
// system slower at every window change and DC it hands out, for each toolbar on the form.
TEST_F(TToolbarSize, LayingOutKeepsNoDeviceContextOfTheWindow)
{
  ShowForm();
  TdxBar* bar = AddBar({L"One", L"Two", L"|Three"});
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  ASSERT_TRUE(c->HandleAllocated());
  EXPECT_GT(c->GetPreferredWidth(dsTop), 0);
  c->CalculateViewInfo();
  EXPECT_FALSE(c->GetCanvas()->HandleAllocated());
  // Drawing on the canvas afterwards takes a DC again.
  EXPECT_GT(c->GetCanvas()->TextWidth(L"One"), 0);
  EXPECT_TRUE(c->GetCanvas()->HandleAllocated());
}

namespace {

// Counts, per item control, how often its parts are placed: each layout of a bar's links
// places every shown control once.
class TPlacementCountingPainter : public TdxBarPainter {
  DECLARE_CLASS(TPlacementCountingPainter, TdxBarPainter)
public:
  void CalcButtonLikeControlParts(const TdxBarItemControlDrawParams* ADrawParams, const TRect& AItemRect,
                                  int AArrowWidth, std::vector<TRect>& AParts) const override
  {
    ++Placements[ADrawParams ? ADrawParams->ItemControl : nullptr];
    TdxBarPainter::CalcButtonLikeControlParts(ADrawParams, AItemRect, AArrowWidth, AParts);
  }
  static inline std::map<const TdxBarItemControl*, int> Placements;
};

class TPlacementCountingManager : public TdxBarManager {
  DECLARE_CLASS(TPlacementCountingManager, TdxBarManager)
public:
  explicit TPlacementCountingManager(TComponent* AOwner) : TdxBarManager(AOwner) {}
  TClass GetPainterClass() const override { return TPlacementCountingPainter::StaticClass(); }
};

IMPLEMENT_CLASS(TPlacementCountingPainter, TdxBarPainter)
IMPLEMENT_CLASS(TPlacementCountingManager, TdxBarManager)

}  // namespace

// Showing a bar lays its links out once, as its row (or its floating size) has it, whether
// the manager was locked meanwhile or not; each layout more measures and places every link
// again, which for a bar of many buttons is most of its cost.
TEST(TToolbarShowing, PlacesEachLinkOnceWhereItsRowPutsIt)
{
  TBarHost<TToolbarTestForm, TPlacementCountingManager> host;
  host.Manager->UpdateStyle();  // the constructor made the base class's painter
  host.Form()->SetBounds(100, 100, 560, 360);
  host.Form()->Show();
  PumpPending();
  const struct {
    TdxBarDockingStyle Style;
    bool Locked;
  } cases[] = {{dsTop, false}, {dsTop, true}, {dsNone, false}, {dsLeft, false}};
  for (const auto& shown : cases) {
    SCOPED_TRACE(testing::Message() << "style " << int(shown.Style) << (shown.Locked ? ", locked" : ""));
    TdxBar* bar = host.Manager->GetBars()->Add();
    bar->SetDockingStyle(shown.Style);
    for (const wchar_t* caption : {L"One", L"Two", L"Three"}) {
      auto* button = new TdxBarButton(host.Form());
      button->SetCaption(caption);
      button->SetPaintStyle(psCaption);
      bar->GetItemLinks()->AddItem(button);
    }
    TPlacementCountingPainter::Placements.clear();
    if (shown.Locked)
      host.Manager->BeginUpdate();
    bar->SetVisible(true);
    if (shown.Locked)
      host.Manager->EndUpdate();

    TdxBarControl* c = bar->GetControl();
    ASSERT_TRUE(c && c->HandleAllocated());
    EXPECT_EQ(c->GetVisibleCount(), 3);
    const bool vertical = shown.Style == dsLeft;
    const TRect client = c->GetClientRect();
    int along = 0;
    for (TdxBarItemLink* link : bar->GetItemLinks()->GetShownItems()) {
      // Under the lock the site lays all its rows out again when it ends.
      if (!shown.Locked)
        EXPECT_EQ(TPlacementCountingPainter::Placements[link->GetControl()], 1);
      const TRect r = link->GetItemRect();
      TRect inside;
      EXPECT_TRUE(IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r));
      // Docked, one after another from the start (a floating bar may wrap its lines).
      if (shown.Style != dsNone)
        EXPECT_EQ(vertical ? r.top : r.left, along);
      along = vertical ? r.bottom : r.right;
    }
  }
}
