// Layout and painting: the guards of the layout and rebuild steps,
// container items expanding in place and back, painting through the painter into the bitmap
// buffer with clipping and design outlines, and in-place edit colours.
#include "BarWindowTestUtil.h"

#include "platform/GraphicsObjects.h"
#include "platform/Win.h"
#include "support/Pixels.h"

namespace {

using TLayoutTest = TBarWindowFixture;

TEST_F(TLayoutTest, LayoutStepsDoNotReenter)
{
  TBlockItem* item = NewItem(L"A");
  AddLink(item);
  ShowBar();
  int nestedRuns = -1;
  item->OnPlacement = [&] {
    // Inside the placement step the size step is refused.
    if ((Bar->GetState() & dxBarStateRecalculate2) == 0)
      return;
    int before = Bar->Recalculate1Runs;
    Bar->Recalculate1();
    nestedRuns = Bar->Recalculate1Runs - before;
  };
  int runs = Bar->Recalculate1Runs;
  Bar->RecalculateLayout();
  item->OnPlacement = nullptr;
  EXPECT_EQ(nestedRuns, 0);
  EXPECT_EQ(Bar->Recalculate1Runs, runs + 1);
  EXPECT_EQ(Bar->GetState() & (dxBarStateRecalculate1 | dxBarStateRecalculate2), 0);
}

TEST_F(TLayoutTest, RebuildDoesNotReenterAndKeepsTheSelection)
{
  AddLink(NewItem(L"A"));
  TdxBarItemLink* b = AddLink(NewItem(L"B"));
  ShowBar();
  Bar->ActivateWithControl(ControlOf(b));
  ASSERT_EQ(SelectedLink(), b);
  // Watched weakly: a new control may well get the freed one's address.
  TWeakRef<TdxBarItemControl> oldControl(ControlOf(b));
  Bar->OnRecreate = [this] { Bar->RebuildBar(); };
  int calls = Bar->RecreateCalls;
  Bar->RebuildBar();
  Bar->OnRecreate = nullptr;
  EXPECT_EQ(Bar->RecreateCalls, calls + 1);
  EXPECT_EQ(SelectedLink(), b);
  EXPECT_NE(ControlOf(b), nullptr);
  EXPECT_FALSE(oldControl.Alive()) << "the controls were made again";
  EXPECT_EQ(Bar->GetState() & dxBarStateRebuilding, 0);
}

TEST_F(TLayoutTest, NoRebuildWhileTheManagerIsLocked)
{
  AddLink(NewItem(L"A"));
  ShowBar();
  int calls = Bar->RecreateCalls;
  Host.Manager->BeginUpdate();
  Bar->Rebuild();
  EXPECT_EQ(Bar->RecreateCalls, calls);
  Host.Manager->EndUpdate(false);
}

// ---------------------------------------------------------------------------
// Containers

class TContainerTest : public TBarWindowFixture {
protected:
  void SetUp() override
  {
    TBarWindowFixture::SetUp();
    A = AddLink(NewItem(L"A"));
    Container = new TBlockContainerItem(Host.Form());
    Container->SetCaption(L"List");
    ContainerLink = AddLink(Container);
    ContainerLink->SetUserCaption(L"Mine");
    B = AddLink(NewItem(L"B"));
    X = NewItem(L"X");
    Y = NewItem(L"Y");
    Container->Contained = {X, Y};
  }
  std::vector<TdxBarItem*> ItemsInOrder() const
  {
    std::vector<TdxBarItem*> items;
    for (int i = 0; i < Links->Count(); ++i)
      items.push_back(Links->Items(i)->GetItem());
    return items;
  }
  TdxBarItemLink *A = nullptr, *ContainerLink = nullptr, *B = nullptr;
  TBlockContainerItem* Container = nullptr;
  TBlockItem *X = nullptr, *Y = nullptr;
};

TEST_F(TContainerTest, ContainerExpandsAfterItsLinkAndCollapsesBack)
{
  ShowBar();
  EXPECT_EQ(ItemsInOrder(), (std::vector<TdxBarItem*>{A->GetItem(), Container, X, Y, B->GetItem()}));
  EXPECT_NE(Links->Items(2)->GetControl(), nullptr);
  Bar->Recreate(false);
  EXPECT_EQ(ItemsInOrder(), (std::vector<TdxBarItem*>{A->GetItem(), Container, B->GetItem()}));
}

TEST_F(TContainerTest, HidingContainerTakesItsLinkOutAndPutsTheSameLinkBack)
{
  Container->HideSelf = true;
  ShowBar();
  EXPECT_EQ(ItemsInOrder(), (std::vector<TdxBarItem*>{A->GetItem(), X, Y, B->GetItem()}));
  Bar->Recreate(false);
  ASSERT_EQ(Links->Count(), 3);
  EXPECT_EQ(Links->Items(1), ContainerLink);
  EXPECT_EQ(ContainerLink->GetUserCaption(), L"Mine");
}

TEST_F(TContainerTest, RebuildingAgainDoesNotDoubleTheExpansion)
{
  ShowBar();
  Bar->RebuildBar();
  Bar->RebuildBar();
  EXPECT_EQ(Links->Count(), 5);
}

TEST_F(TContainerTest, WindowThatGoesWhileExpandedLeavesTheLinksAsTheyWere)
{
  Container->HideSelf = true;
  ShowBar();
  Links->DestroyBarControl();
  Bar = nullptr;
  ASSERT_EQ(Links->Count(), 3);
  EXPECT_EQ(Links->Items(1), ContainerLink);
}

// ---------------------------------------------------------------------------
// Painting

class TPaintTest : public TBarWindowFixture {
protected:
  COLORREF Probe(const TDib32& AShot, const TPoint& AClient) const
  {
    TPoint p = InShot(AClient);
    return AShot.Pixel(p.x, p.y);
  }
  COLORREF Background() const { return ::GetSysColor(COLOR_BTNFACE); }
};

TEST_F(TPaintTest, ItemsAreDrawnThroughTheBufferOntoTheWindow)
{
  TdxBarItemLink* red = AddLink(NewItem(L"R", clRed));
  TdxBarItemLink* blue = AddLink(NewItem(L"B", clBlue));
  ShowBar();
  TDib32 shot = CaptureWindow(Bar->GetHandle());
  ASSERT_TRUE(shot.Valid());
  TPoint r = CenterPoint(red->GetItemRect()), b = CenterPoint(blue->GetItemRect());
  EXPECT_TRUE(ColorNear(Probe(shot, r), RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(Probe(shot, b), RGB(0, 0, 255)));
  // The gap between the two is background.
  int gapX = red->GetItemRect().right + TRowBarControl::Gap / 2;
  EXPECT_TRUE(ColorNear(Probe(shot, TPoint{gapX, r.y}), Background()));
  // The buffer holds the same picture.
  TBitmap* buffer = Bar->GetBitmapBuffer();
  ASSERT_EQ(buffer->GetWidth(), Bar->GetClientWidth());
  EXPECT_TRUE(ColorNear(::GetPixel(buffer->GetCanvas()->GetHandle(), b.x, b.y), RGB(0, 0, 255)));
  EXPECT_GT(static_cast<TBlockItemControl*>(ControlOf(red))->DrawCount, 0);
}

TEST_F(TPaintTest, ControlsAreClippedAtTheMark)
{
  TdxBarItemLink* red = AddLink(NewItem(L"R", clRed));
  Bar->MarkWidth = 20;
  ShowBar();
  // The item reaches under the mark: cut there, the rest shows the background.
  Bar->SetBounds(BarLeft, BarTop, red->GetItemRect().right + 20 - 10, Bar->GetHeight());
  Bar->RecalculateLayout();
  Bar->Update();
  TRect mark = Bar->GetMarkRect();
  ASSERT_LT(mark.left, red->GetItemRect().right);
  TDib32 shot = CaptureWindow(Bar->GetHandle());
  int y = CenterPoint(red->GetItemRect()).y;
  EXPECT_TRUE(ColorNear(Probe(shot, TPoint{mark.left - 2, y}), RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(Probe(shot, TPoint{mark.left + 2, y}), Background()));
}

TEST_F(TPaintTest, DesignSelectionIsOutlined)
{
  TdxBarItemLink* current = AddLink(NewItem(L"C", clWhite));
  TdxBarItemLink* other = AddLink(NewItem(L"O", clWhite));
  Host.Manager->SelectionStates[current] = TdxBarSelectionState::Current;
  Host.Manager->SelectionStates[other] = TdxBarSelectionState::Selected;
  Host.Manager->SetIsCustomizing(true);
  ShowBar();
  Bar->Invalidate();
  Bar->Update();
  Host.Manager->SetIsCustomizing(false);
  // Probed in the paint buffer, which holds the client area as painted.
  HDC buffer = Bar->GetBitmapBuffer()->GetCanvas()->GetHandle();
  const COLORREF frame = ::GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF white = RGB(255, 255, 255);
  TRect c = current->GetItemRect();
  int midY = CenterPoint(c).y;
  // Two solid frames, then the white inside.
  EXPECT_TRUE(ColorNear(::GetPixel(buffer, c.left, midY), frame));
  EXPECT_TRUE(ColorNear(::GetPixel(buffer, c.left + 1, midY), frame));
  EXPECT_TRUE(ColorNear(::GetPixel(buffer, c.left + 2, midY), white));
  EXPECT_TRUE(ColorNear(::GetPixel(buffer, c.right - 2, midY), frame));
  EXPECT_TRUE(ColorNear(::GetPixel(buffer, c.right - 3, midY), white));
  // Dotted: along the left edge only the pixels whose x + y is even, on both frames.
  TRect o = other->GetItemRect();
  for (int y = o.top + 2; y < o.bottom - 2; ++y) {
    for (int x : {o.left, o.left + 1}) {
      COLORREF expected = (x + y) % 2 == 0 ? frame : white;
      EXPECT_TRUE(ColorNear(::GetPixel(buffer, x, y), expected)) << x << "," << y;
    }
  }
  EXPECT_TRUE(ColorNear(::GetPixel(buffer, o.left + 2, CenterPoint(o).y), white));
}

TEST_F(TPaintTest, InPlaceEditGetsThePainterColoursAndItsBrush)
{
  TBlockItem* edit = NewItem(L"E");
  AddLink(edit);
  ShowBar();
  HWND editWindow =
      ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, Bar->GetHandle(), nullptr, nullptr, nullptr);
  HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
  edit->EditWindow = editWindow;
  edit->EditBrush = brush;
  HDC dc = ::CreateCompatibleDC(nullptr);
  LRESULT result = ::SendMessageW(Bar->GetHandle(), WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(editWindow));
  EXPECT_EQ(result, LRESULT(brush));
  EXPECT_EQ(::GetTextColor(dc), ColorToRGB(TColor(0x00123456)));
  EXPECT_EQ(::GetBkColor(dc), ColorToRGB(clInfoBk));

  // A window the bar does not know gets the default handling.
  HWND stranger =
      ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, Bar->GetHandle(), nullptr, nullptr, nullptr);
  ::SetTextColor(dc, RGB(9, 9, 9));
  result = ::SendMessageW(Bar->GetHandle(), WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(stranger));
  EXPECT_NE(result, LRESULT(brush));
  EXPECT_NE(::GetTextColor(dc), ColorToRGB(TColor(0x00123456)));
  edit->EditWindow = nullptr;
  ::DeleteDC(dc);
  ::DestroyWindow(stranger);
  ::DestroyWindow(editWindow);
  ::DeleteObject(brush);
}

TEST_F(TPaintTest, RotatedFontTurnsClockwiseAndIsFreedOnRefresh)
{
  TFont* font = Bar->GetFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(Bar->GetFontHandle(), font->GetHandle()) << "upright text uses the window font";
  int objects = GdiObjectsInUse();
  Bar->Rotated = true;
  HFONT rotated = Bar->GetFontHandle();
  ASSERT_NE(rotated, font->GetHandle());
  LOGFONTW lf{};
  ASSERT_NE(::GetObjectW(rotated, sizeof(lf), &lf), 0);
  EXPECT_EQ(lf.lfEscapement, -900);
  EXPECT_EQ(lf.lfOrientation, -900);
  EXPECT_EQ(lf.lfOutPrecision, OUT_TT_ONLY_PRECIS);
  EXPECT_EQ(Bar->GetFontHandle(), rotated) << "made once";
  Bar->RefreshFont();
  Bar->Rotated = false;
  EXPECT_EQ(GdiObjectsInUse(), objects);
}

}  // namespace
