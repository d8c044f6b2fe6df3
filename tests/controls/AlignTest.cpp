// Bounds and alignment: the Align order (top, bottom, left, right, client), anchors,
// disabled alignment, and the invariants every layout keeps: aligned controls do not
// overlap and lie inside the parent's client area.
#include <random>

#include "ControlTestUtil.h"

namespace {

// A parent without a window: its client area is its bounds.
struct TAlignFixture : testing::Test {
  TWinControl Parent{nullptr};
  TAlignFixture() { Parent.SetBounds(0, 0, 300, 200); }
  TControl* Add(TAlign Align, int Left, int Top, int Width, int Height)
  {
    auto* c = new TGraphicControl(&Parent);
    c->SetBounds(Left, Top, Width, Height);
    c->SetParent(&Parent);
    c->SetAlign(Align);
    return c;
  }
};

bool Overlap(const TRect& A, const TRect& B)
{
  return !IsRectEmpty(IntersectRect(A, B));
}

bool Inside(const TRect& Inner, const TRect& Outer)
{
  return Inner.left >= Outer.left && Inner.top >= Outer.top && Inner.right <= Outer.right &&
         Inner.bottom <= Outer.bottom;
}

}  // namespace

TEST_F(TAlignFixture, EdgesAreFilledInTheirOrder)
{
  TControl* top1 = Add(alTop, 0, 0, 10, 20);
  TControl* client = Add(alClient, 0, 0, 10, 10);
  TControl* top2 = Add(alTop, 0, 50, 10, 30);
  TControl* bottom = Add(alBottom, 0, 0, 10, 25);
  TControl* left = Add(alLeft, 0, 0, 40, 10);
  TControl* right = Add(alRight, 0, 0, 50, 10);
  EXPECT_EQ(top1->GetBoundsRect(), Rect(0, 0, 300, 20));
  EXPECT_EQ(top2->GetBoundsRect(), Rect(0, 20, 300, 50));
  EXPECT_EQ(bottom->GetBoundsRect(), Rect(0, 175, 300, 200));
  EXPECT_EQ(left->GetBoundsRect(), Rect(0, 50, 40, 175));
  EXPECT_EQ(right->GetBoundsRect(), Rect(250, 50, 300, 175));
  EXPECT_EQ(client->GetBoundsRect(), Rect(40, 50, 250, 175));
}

TEST_F(TAlignFixture, DisabledAlignmentIsDoneOnceWhenEnabled)
{
  TControl* top = Add(alTop, 0, 0, 10, 20);
  Parent.DisableAlign();
  Parent.SetBounds(0, 0, 500, 200);
  TControl* client = Add(alClient, 0, 0, 10, 10);
  EXPECT_EQ(top->GetWidth(), 300) << "no alignment while disabled";
  EXPECT_EQ(client->GetBoundsRect(), Rect(0, 0, 10, 10));
  Parent.EnableAlign();
  EXPECT_EQ(top->GetWidth(), 500);
  EXPECT_EQ(client->GetBoundsRect(), Rect(0, 20, 500, 200));
}

TEST_F(TAlignFixture, SizesSurviveAParentTooSmallForThem)
{
  TControl* top = Add(alTop, 0, 0, 10, 80);
  TControl* bottom = Add(alBottom, 0, 0, 10, 90);
  Parent.SetBounds(0, 0, 300, 50);
  Parent.SetBounds(0, 0, 300, 200);
  EXPECT_EQ(top->GetHeight(), 80);
  EXPECT_EQ(bottom->GetHeight(), 90);
  EXPECT_FALSE(Overlap(top->GetBoundsRect(), bottom->GetBoundsRect()));
}

TEST_F(TAlignFixture, AnchorsKeepDistancesToTheirEdges)
{
  TControl* right = Add(alNone, 250, 10, 40, 20);
  right->SetAnchors({akRight, akTop});
  TControl* stretch = Add(alNone, 10, 50, 100, 20);
  stretch->SetAnchors({akLeft, akTop, akRight});
  TControl* bottom = Add(alNone, 10, 170, 40, 20);
  bottom->SetAnchors({akLeft, akBottom});
  TControl* fixed = Add(alNone, 10, 100, 40, 20);
  TControl* floating = Add(alNone, 100, 100, 40, 20);
  floating->SetAnchors({});
  Parent.SetBounds(0, 0, 400, 260);
  EXPECT_EQ(floating->GetBoundsRect(), Bounds(150, 130, 40, 20)) << "no anchor on an axis keeps the centre";
  EXPECT_EQ(right->GetBoundsRect(), Bounds(350, 10, 40, 20));
  EXPECT_EQ(stretch->GetBoundsRect(), Bounds(10, 50, 200, 20));
  EXPECT_EQ(bottom->GetBoundsRect(), Bounds(10, 230, 40, 20));
  EXPECT_EQ(fixed->GetBoundsRect(), Bounds(10, 100, 40, 20));
  // Shrinking to nothing and back loses nothing.
  Parent.SetBounds(0, 0, 0, 0);
  Parent.SetBounds(0, 0, 300, 200);
  EXPECT_EQ(right->GetBoundsRect(), Bounds(250, 10, 40, 20));
  EXPECT_EQ(stretch->GetBoundsRect(), Bounds(10, 50, 100, 20));
}

TEST_F(TAlignFixture, AControlMovedByHandKeepsItsNewPlaceUnderAnchors)
{
  TControl* c = Add(alNone, 250, 10, 40, 20);
  c->SetAnchors({akRight, akTop});
  c->SetLeft(200);
  Parent.SetBounds(0, 0, 350, 200);
  EXPECT_EQ(c->GetLeft(), 250);
}

TEST_F(TAlignFixture, NegativeExtentsAreTakenAsZero)
{
  TControl* c = Add(alNone, 5, 5, 10, 10);
  c->SetBounds(1, 2, -3, -4);
  EXPECT_EQ(c->GetBoundsRect(), Rect(1, 2, 1, 2));
}

// Many layouts: whatever the mix, aligned controls that fit never overlap and stay inside.
TEST(AlignInvariants, AlignedControlsNeverOverlapAndStayInside)
{
  std::mt19937 random(12345);
  // Edges in any number; at most one client control, which takes what is left.
  const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
  for (int round = 0; round < 60; ++round) {
    TWinControl parent(nullptr);
    int pw = 200 + int(random() % 300), ph = 200 + int(random() % 300);
    parent.SetBounds(0, 0, pw, ph);
    int count = 1 + int(random() % 8);
    std::vector<TControl*> kids;
    for (int i = 0; i < count; ++i) {
      auto* c = new TGraphicControl(&parent);
      // Each edge control at most 20 pixels thick: eight of them always fit.
      c->SetBounds(int(random() % 50), int(random() % 50), 5 + int(random() % 16), 5 + int(random() % 16));
      c->SetAlignWithMargins(random() % 2 == 0);
      c->GetMargins()->SetMargins(int(random() % 3), int(random() % 3), int(random() % 3), int(random() % 3));
      c->SetParent(&parent);
      c->SetAlign(i == 0 && random() % 2 ? alClient : aligns[random() % 4]);
      kids.push_back(c);
    }
    parent.SetBounds(0, 0, pw + 7, ph - 3);
    TRect client = parent.GetClientRect();
    for (size_t i = 0; i < kids.size(); ++i) {
      EXPECT_TRUE(Inside(kids[i]->GetBoundsRect(), client)) << "round " << round << " control " << i;
      for (size_t j = i + 1; j < kids.size(); ++j)
        EXPECT_FALSE(Overlap(kids[i]->GetBoundsRect(), kids[j]->GetBoundsRect()))
            << "round " << round << " controls " << i << " and " << j;
    }
  }
}

TEST(AlignInvariants, WindowedChildrenAlignInTheClientAreaOfTheWindow)
{
  THostWindow host(nullptr);
  auto* top = new TProbeControl(&host);
  top->SetParent(&host);
  top->SetAlign(alTop);
  auto* client = new TProbeControl(&host);
  client->SetParent(&host);
  client->SetAlign(alClient);
  ShowTopLevel(&host);
  host.SetBounds(40, 40, 260, 180);
  RECT r{};
  ::GetWindowRect(client->GetHandle(), &r);
  ::MapWindowPoints(HWND_DESKTOP, host.GetHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(TRect(r), client->GetBoundsRect()) << "the window is where the bounds say";
  EXPECT_EQ(client->GetBoundsRect(), Rect(0, 60, 260, 180));
  EXPECT_EQ(top->GetWidth(), 260);
}
