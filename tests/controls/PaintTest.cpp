// Painting: TCustomControl paints on its canvas, graphic controls are painted by their
// parent in z order, hidden ones not at all, and a PrintWindow capture shows all of it
// (the layer answers WM_PRINTCLIENT, children included).
#include "ControlTestUtil.h"

namespace {

constexpr COLORREF kHostColor = RGB(0xF0, 0xF0, 0xF0);

class TSwatch : public TGraphicControl {
public:
  TSwatch(TComponent* AOwner, COLORREF Fill) : TGraphicControl(AOwner), FFill(Fill) {}
  COLORREF FFill;
  int Paints = 0;

protected:
  void Paint() override
  {
    ++Paints;
    GetCanvas()->GetBrush()->SetColor(TColor(FFill));
    GetCanvas()->FillRect(GetClientRect());
    // A mark outside the control must be clipped away by the parent.
    GetCanvas()->FillRect(Rect(GetWidth(), 0, GetWidth() + 20, GetHeight()));
  }
};

using TPaintTest = TSharedHostTest;

TSwatch* AddSwatch(TWinControl* Parent, COLORREF Fill, int L, int T, int W, int H)
{
  auto* s = new TSwatch(Parent, Fill);
  s->SetBounds(L, T, W, H);
  s->SetParent(Parent);
  return s;
}

}  // namespace

TEST_F(TPaintTest, CustomControlPaintsIntoACapture)
{
  auto* probe = new TProbeControl(Host);
  probe->SetParent(Host);
  probe->PaintColor = RGB(0x10, 0x80, 0x30);
  TDib32 shot = CaptureWindow(Host->GetHandle());
  ASSERT_TRUE(shot.Valid());
  EXPECT_TRUE(ColorNear(shot.Pixel(50, 40), RGB(0x10, 0x80, 0x30))) << "the child window is captured";
  EXPECT_TRUE(ColorNear(shot.Pixel(200, 200), kHostColor)) << "the background is the host's brush";
  // Graphic controls of a child window are in it too.
  probe->SetBounds(10, 10, 120, 100);
  AddSwatch(probe, RGB(0, 200, 0), 20, 20, 30, 30);
  shot = CaptureWindow(Host->GetHandle());
  EXPECT_TRUE(ColorNear(shot.Pixel(10 + 25, 10 + 25), RGB(0, 200, 0)));
  EXPECT_TRUE(ColorNear(shot.Pixel(10 + 80, 10 + 80), RGB(0x10, 0x80, 0x30)));
}

TEST_F(TPaintTest, GraphicControlsArePaintedByTheirParentInZOrder)
{
  TSwatch* red = AddSwatch(Host, RGB(255, 0, 0), 150, 100, 60, 40);
  TSwatch* blue = AddSwatch(Host, RGB(0, 0, 255), 180, 120, 60, 40);
  TDib32 shot = CaptureWindow(Host->GetHandle());
  ASSERT_TRUE(shot.Valid());
  EXPECT_TRUE(ColorNear(shot.Pixel(155, 105), RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(shot.Pixel(190, 130), RGB(0, 0, 255))) << "the later control lies on top";
  EXPECT_TRUE(ColorNear(shot.Pixel(215, 105), kHostColor)) << "painting is clipped to the control";
  red->BringToFront();
  shot = CaptureWindow(Host->GetHandle());
  EXPECT_TRUE(ColorNear(shot.Pixel(190, 130), RGB(255, 0, 0)));
  EXPECT_EQ(Host->GetControls(Host->GetControlCount() - 1), red);
  red->SetVisible(false);
  red->Paints = 0;
  shot = CaptureWindow(Host->GetHandle());
  EXPECT_TRUE(ColorNear(shot.Pixel(160, 110), kHostColor)) << "a hidden control is not painted";
  EXPECT_EQ(red->Paints, 0);
  EXPECT_GT(blue->Paints, 0);
}

TEST_F(TPaintTest, RepaintOfAGraphicControlReachesTheScreen)
{
  TSwatch* s = AddSwatch(Host, RGB(255, 0, 0), 150, 100, 60, 40);
  Host->Update();
  s->FFill = RGB(0, 0, 255);
  s->Repaint();
  PumpPending();
  RECT r = Host->ClientToScreen(Bounds(150, 100, 60, 40));
  TDib32 screen = CaptureScreen(r);
  ASSERT_TRUE(screen.Valid());
  EXPECT_TRUE(ColorNear(screen.Pixel(30, 20), RGB(0, 0, 255)));
}

// A hidden window asks for no repaint; the one it gets when shown shows what changed meanwhile.
TEST_F(TPaintTest, AWindowChangedWhileHiddenShowsItsNewStateWhenShown)
{
  auto* probe = new TProbeControl(Host);
  probe->SetBounds(20, 20, 80, 60);
  probe->SetParent(Host);
  Host->Update();
  probe->SetVisible(false);
  PumpPending();
  probe->PaintColor = RGB(0xC0, 0x20, 0x20);
  probe->Invalidate();
  RECT update{};
  EXPECT_FALSE(::GetUpdateRect(probe->GetHandle(), &update, FALSE)) << "nothing to paint while hidden";
  probe->SetVisible(true);
  probe->Update();
  PumpPending();
  TDib32 screen = CaptureScreen(Host->ClientToScreen(Bounds(20, 20, 80, 60)));
  ASSERT_TRUE(screen.Valid());
  EXPECT_TRUE(ColorNear(screen.Pixel(40, 30), RGB(0xC0, 0x20, 0x20)));
  probe->Free();
}
