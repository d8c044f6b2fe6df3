// A manager's own dock sites make their windows only when they come to show something: a
// bar docking there, room given to the site, or a caller asking for the window. Until then
// they still take part in docking, and a window made late keeps to the manager's rules.
#include "DockTestUtil.h"

#include "bars/itemcontrols/buttons.h"
#include "platform/Scope.h"

namespace {

class SiteWindow : public testing::Test {
protected:
  void SetUp() override
  {
    Host.Form()->SetBounds(60, 60, 480, 320);
    Host.Form()->Show();
    PumpPending();
  }

  TdxDockControl* Site(TdxBarDockingStyle AStyle) { return Host.Manager->GetBars()->GetDockControl(AStyle); }

  TdxBar* DockBar(TdxBarDockingStyle AStyle)
  {
    TdxBar* bar = Host.Manager->GetBars()->Add();
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(L"Open");
    bar->GetItemLinks()->AddItem(button);
    bar->SetDockingStyle(AStyle);
    bar->SetVisible(true);
    return bar;
  }

  TBarHost<TDockTestForm> Host;
};

bool Shows(TWinControl* AControl)
{
  return AControl && AControl->HandleAllocated() && IsWindowVisible(AControl->GetHandle());
}

}  // namespace

TEST_F(SiteWindow, OnlyTheSiteABarDocksOnGetsAWindowAndItShowsTheBar)
{
  for (TdxBarDockingStyle style : {dsLeft, dsTop, dsRight, dsBottom}) {
    ASSERT_NE(Site(style), nullptr);
    EXPECT_FALSE(Site(style)->HandleAllocated()) << "site " << int(style);
  }
  TdxBar* bar = DockBar(dsLeft);
  PumpPending();
  TdxDockControl* left = Site(dsLeft);
  ASSERT_TRUE(Shows(left));
  ASSERT_TRUE(Shows(bar->GetControl()));
  EXPECT_EQ(GetParent(bar->GetControl()->GetHandle()), left->GetHandle());
  EXPECT_GT(left->GetWidth(), 0);
  RECT r{};
  GetWindowRect(left->GetHandle(), &r);
  EXPECT_EQ(r.right - r.left, left->GetWidth()) << "the window sits on the site's bounds";
  for (TdxBarDockingStyle style : {dsTop, dsRight, dsBottom})
    EXPECT_FALSE(Site(style)->HandleAllocated()) << "site " << int(style);

  // A bar leaving for another site leaves the first its window.
  bar->SetDockingStyle(dsBottom);
  PumpPending();
  EXPECT_TRUE(Shows(Site(dsBottom)));
  EXPECT_TRUE(left->HandleAllocated());
  EXPECT_EQ(GetParent(bar->GetControl()->GetHandle()), Site(dsBottom)->GetHandle());
}

TEST(SiteWindowLoaded, ASiteGivenRoomInFormDataShowsItsWindowThere)
{
  TOwned<TDockTestForm> form(
      TCustomForm::CreateFromText<TDockTestForm>(L"object RoomForm: TDockTestForm\n"
                                                 L"  Left = 40\n"
                                                 L"  Top = 40\n"
                                                 L"  Width = 400\n"
                                                 L"  Height = 300\n"
                                                 L"  object Manager: TdxBarManager\n"
                                                 L"    DockControlHeights = (\n"
                                                 L"      0\n"
                                                 L"      0\n"
                                                 L"      40\n"
                                                 L"      0)\n"
                                                 L"  end\n"
                                                 L"end\n",
                                                 nullptr));
  form->Show();
  PumpPending();
  auto* manager = dynamic_cast<TdxBarManager*>(form->FindComponent(L"Manager"));
  ASSERT_NE(manager, nullptr);
  // The values run left, right, top, bottom: the top site had room when the form showed.
  TdxDockControl* top = manager->GetBars()->GetDockControl(dsTop);
  ASSERT_TRUE(Shows(top));
  RECT r{};
  GetWindowRect(top->GetHandle(), &r);
  EXPECT_EQ(r.bottom - r.top, manager->GetDockControlSize(dsTop)) << "the window sits on the site's bounds";
  for (TdxBarDockingStyle style : {dsLeft, dsRight, dsBottom})
    EXPECT_FALSE(manager->GetBars()->GetDockControl(style)->HandleAllocated()) << "site " << int(style);
}

TEST_F(SiteWindow, AnEmptySiteWithoutAWindowIsStillADropTarget)
{
  for (TdxBarDockingStyle style : {dsLeft, dsTop, dsRight, dsBottom}) {
    TdxDockControl* site = Site(style);
    ASSERT_FALSE(site->HandleAllocated());
    const TRect zone = site->GetDockZoneRect();
    EXPECT_FALSE(IsRectEmpty(&zone)) << "site " << int(style);
    // Asked for now, the window comes shown, where the zone was.
    site->HandleNeeded();
    EXPECT_TRUE(Shows(site)) << "site " << int(style);
    const TRect again = site->GetDockZoneRect();
    EXPECT_TRUE(EqualRect(&zone, &again)) << "site " << int(style);
  }
}

TEST_F(SiteWindow, ASiteMadeWhileTheManagerHoldsRedrawOffJoinsItUntilTheEnd)
{
  Host.Manager->BeginUpdate();
  TFinally end([&] {
    if (Host.Manager->IsUpdateLocked())
      Host.Manager->EndUpdate();
  });
  TdxBar* bar = DockBar(dsRight);
  TdxDockControl* right = Site(dsRight);
  ASSERT_TRUE(right->HandleAllocated());
  // Redraw turned off takes the visible style away without hiding the window.
  EXPECT_FALSE(IsWindowVisible(right->GetHandle()));
  Host.Manager->EndUpdate();
  PumpPending();
  EXPECT_TRUE(Shows(right));
  EXPECT_TRUE(Shows(bar->GetControl()));
}
