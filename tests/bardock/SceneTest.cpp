// A whole bar scene: a form with a manager and toolbars of buttons in the manager's own top
// site. The site sizes itself to its rows as the real toolbar windows measure them.
#include "DockTestUtil.h"

#include "bars/buttons.h"
#include "support/Pixels.h"

namespace {

class DockScene : public testing::Test {
protected:
  void SetUp() override
  {
    Host.Form()->SetBounds(50, 50, 520, 300);
    Top = Host.Manager->GetBars()->GetDockControl(dsTop);
    ASSERT_NE(Top, nullptr);
    Host.Form()->Show();
    PumpPending();
  }

  TdxBar* AddToolbar(const wchar_t* ACaption, int AButtons, int ARow, bool AOneOnRow, int ALeft)
  {
    TdxBar* bar = Host.Manager->GetBars()->Add();
    bar->SetCaption(ACaption);
    for (int i = 0; i < AButtons; ++i) {
      auto* button = new TdxBarButton(Host.Form());
      button->SetCaption(String(ACaption) + std::to_wstring(i));
      bar->GetItemLinks()->AddItem(button);
    }
    bar->SetDockingStyle(dsTop);
    bar->SetRow(ARow);
    bar->SetOneOnRow(AOneOnRow);
    bar->SetDockedLeft(ALeft);
    bar->SetVisible(true);
    PumpPending();
    return bar;
  }

  TBarHost<TDockTestForm> Host;
  TdxDockControl* Top = nullptr;
};

TRect WindowBounds(TdxBar* ABar)
{
  return ABar->GetControl()->GetBoundsRect();
}

}  // namespace

TEST_F(DockScene, ToolbarsDockInRowsOfTheTopSiteWhichSizesToThem)
{
  EXPECT_EQ(Top->GetHeight(), 0);
  TdxBar* file = AddToolbar(L"File", 3, 0, true, 0);
  TdxBar* edit = AddToolbar(L"Edit", 2, 0, false, 200);
  TdxBar* view = AddToolbar(L"View", 4, 1, true, 0);
  ASSERT_TRUE(file->GetControl() && edit->GetControl() && view->GetControl());
  EXPECT_EQ(file->GetRealDockControl(), Top);
  ASSERT_EQ(Top->GetRowCount(), 2);
  EXPECT_EQ(edit->GetDockRow(), file->GetDockRow());

  // Each window as long as the toolbar measures itself; the rows stacked.
  TRect f = WindowBounds(file), e = WindowBounds(edit), v = WindowBounds(view);
  EXPECT_EQ(RectWidth(f), file->GetControl()->CalcSize(dsTop).x);
  EXPECT_EQ(RectWidth(e), edit->GetControl()->CalcSize(dsTop).x);
  EXPECT_EQ(f.top, 0);
  EXPECT_EQ(e.left, 200);
  EXPECT_EQ(e.top, 0);
  const int spacing = Host.Manager->GetPainter()->GetDockRowSpacing();
  EXPECT_EQ(v.top, RectHeight(f) + spacing);
  EXPECT_EQ(Top->GetHeight(), RectHeight(f) + spacing + RectHeight(v));
  EXPECT_GT(RectHeight(f), 10);

  // The form's client area below the site is free: the site is aligned to the top.
  EXPECT_EQ(Top->GetTop(), 0);
  EXPECT_EQ(Top->GetWidth(), Host.Form()->GetClientWidth());

  // A narrow form squeezes the first row: the second toolbar shrinks and hides items.
  const int wanted = RectWidth(f) + RectWidth(e);
  Host.Form()->SetClientWidth(wanted - 20);
  PumpPending();
  e = WindowBounds(edit);
  EXPECT_EQ(e.right, Top->GetClientWidth());
  EXPECT_TRUE(edit->GetControl()->GetItemsHidden());

}

TEST_F(DockScene, SiteColourShowsBesideTheToolbars)
{
  Host.Manager->SetDockColor(TColor(RGB(0, 128, 128)));
  TdxBar* file = AddToolbar(L"File", 2, 0, true, 0);
  RedrawWindow(Top->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpPending();
  TRect f = WindowBounds(file);
  HDC screen = GetDC(nullptr);
  TPoint beside = Top->ClientToScreen(TPoint{f.right + 40, RectHeight(f) / 2});
  COLORREF pixel = GetPixel(screen, beside.x, beside.y);
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(ColorNear(pixel, RGB(0, 128, 128)));
}
