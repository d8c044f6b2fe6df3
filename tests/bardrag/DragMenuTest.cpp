// Dragging links out of, into and within open menus while customizing; the menu a link was
// dragged from stays usable, also when its window is closed while the drag runs.
#include "DragTestUtil.h"

#include "bars/barwindows/shadow.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TCaptions = std::vector<String>;

class TMenuDrag : public TDragFixture {
protected:
  TdxBarItemLinks* MenuLinks() const { return SubItem->GetItemLinks(); }
};

}  // namespace

TEST_F(TMenuDrag, AMenuLinkMovesToAToolbarAndTheMenuGoesOnWorking)
{
  TdxBarSubMenuControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  TWeakRef<TdxBarSubMenuControl> menuRef(menu);
  DragLinkFromCode(MenuLinks()->Items(1), LeadingPart(LinksB()->Items(0)));
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"M1", L"M3"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"M2", L"Four", L"Five"}));
  EXPECT_EQ(::GetCapture(), nullptr);

  // Still open, laid out again without the link, and a drag inside it works as before.
  ASSERT_TRUE(menuRef);
  ASSERT_TRUE(menu->HandleAllocated());
  EXPECT_TRUE(::IsWindowVisible(menu->GetHandle()));
  ASSERT_EQ(menu->GetItemLinks()->ShownItemCount(), 2);
  DragLinkFromCode(MenuLinks()->Items(1), LeadingPart(MenuLinks()->Items(0)));
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"M3", L"M1"}));
}

TEST_F(TMenuDrag, AToolbarLinkDroppedInTheOpenMenuLandsBetweenItsLinks)
{
  ASSERT_NE(OpenMenu(), nullptr);
  TdxBarItemLink* m2 = MenuLinks()->Items(1);
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(LinksA()->Items(0)), LeadingPart(m2)));
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"M1", L"One", L"M2", L"M3"}));
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"Two", L"Three", L"Menu"}));
}

TEST_F(TMenuDrag, LinksMoveBetweenTwoOpenMenusOfNestedSubItems)
{
  auto* more = new TdxBarSubItem(Host.Form());
  more->SetCaption(L"More");
  MenuLinks()->AddItem(more);
  AddButton(more->GetItemLinks(), L"N1");
  AddButton(more->GetItemLinks(), L"N2");
  TdxBarSubMenuControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  auto* moreControl = dynamic_cast<TdxBarSubItemControl*>(MenuLinks()->Items(3)->GetControl());
  ASSERT_NE(moreControl, nullptr);
  moreControl->DoDropDown(true);
  PumpPending();
  auto* nested = dynamic_cast<TdxBarSubMenuControl*>(more->GetItemLinks()->GetBarControl());
  ASSERT_NE(nested, nullptr);
  // From the inner menu into the outer one, Ctrl held: a copy.
  DragLinkFromCode(more->GetItemLinks()->Items(0), LeadingPart(MenuLinks()->Items(0)), [] {
    SendKeyTransition(VK_CONTROL, true);
    PauseScript(60);
  });
  SendKeyTransition(VK_CONTROL, false);
  PumpPending();
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"N1", L"M1", L"M2", L"M3", L"More"}));
  EXPECT_EQ(Captions(more->GetItemLinks()), (TCaptions{L"N1", L"N2"}));
}

// In a menu the rules of a toolbar hold along its vertical axis: a nudge of four pixels down
// marks a group and one up takes the mark away, Esc changes nothing, a drop outside the bars
// removes the link and hands its group mark on; the menu stays open throughout.
TEST_F(TMenuDrag, InAMenuNudgesMarkGroupsEscChangesNothingAndADropOutsideRemoves)
{
  TdxBarSubMenuControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  TWeakRef<TdxBarSubMenuControl> menuRef(menu);
  // Across the menu first, so that the grab point is where the press was; then Dy along it.
  auto nudge = [&](TdxBarItemLink* ALink, int Dy) {
    const POINT p = ScreenCentreOf(ALink);
    MoveMouseTo(p);
    EXPECT_TRUE(RunScript(
        [&] {
          SendMouseButton(true);
          PauseScript(60);
          SendMouseMove(POINT{p.x + 6, p.y});
          PauseScript(60);
          SendMouseMove(POINT{p.x + 6, p.y + Dy});
          PauseScript(60);
          SendMouseButton(false);
        },
        [&] { return ::GetCapture() == nullptr && !Manager->IsDragging(); }, 100, 8000));
    PumpPending();
  };
  nudge(MenuLinks()->Items(1), 3);
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"M1", L"M2", L"M3"}));
  nudge(MenuLinks()->Items(1), 4);
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"M1", L"|M2", L"M3"}));
  nudge(MenuLinks()->Items(1), -4);
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"M1", L"M2", L"M3"}));
  MenuLinks()->Items(1)->SetBeginGroup(true);
  PumpPending();

  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(MenuLinks()->Items(0)), LeadingPart(LinksB()->Items(0)), [] {
    SendKeyStroke(VK_ESCAPE);
    PauseScript(60);
  }));
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"M1", L"|M2", L"M3"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Five"}));
  ASSERT_TRUE(menuRef) << "Esc ends the drag, not the menu";

  const TRect client = Host.Form()->ClientToScreen(Host.Form()->GetClientRect());
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(MenuLinks()->Items(1)), POINT{client.left + 30, client.bottom - 60}));
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"M1", L"|M3"}));
  EXPECT_EQ(Buttons[4]->GetLinkCount(), 0) << "only the link went";
  ASSERT_TRUE(menuRef);
  EXPECT_TRUE(::IsWindowVisible(menu->GetHandle()));
  EXPECT_EQ(menu->GetItemLinks()->ShownItemCount(), 2);
}

TEST_F(TMenuDrag, ASubItemDraggedToAnotherToolbarTakesItsMenuAlong)
{
  ASSERT_NE(OpenMenu(), nullptr);
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(LinksA()->Items(3)), TrailingPart(LinksB()->Items(1))));
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Two", L"Three"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Five", L"Menu"}));
  // The menu opens from its new place with its links.
  TdxBarSubMenuControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetItemLinks()->ShownItemCount(), 3);
  EXPECT_EQ(SubItem->GetLink(0)->GetBarControl(), BarB->GetControl());
}

TEST_F(TMenuDrag, AMenuClosedWhileItsLinkIsDraggedKeepsItsWindowUntilTheDragEnds)
{
  TdxBarSubMenuControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  const int windowsOpen = ThreadWindowTreeCount();
  HWND menuWnd = menu->GetHandle();
  bool alive = false, visible = true, forgotten = false;
  TDragProbe probe([&] {
    MenuLinks()->DestroyBarControl();
    alive = ::IsWindow(menuWnd) != FALSE;
    visible = ::IsWindowVisible(menuWnd) != FALSE;
    forgotten = MenuLinks()->GetBarControl() == nullptr;
  });
  DragLinkFromCode(MenuLinks()->Items(0), LeadingPart(LinksB()->Items(0)), [&] { EXPECT_TRUE(probe.Run()); });

  EXPECT_TRUE(alive);
  EXPECT_FALSE(visible);
  EXPECT_TRUE(forgotten);
  // Destroyed with the drag's end; nothing else stays behind.
  EXPECT_FALSE(::IsWindow(menuWnd));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"M1", L"Four", L"Five"}));
  EXPECT_EQ(Captions(MenuLinks()), (TCaptions{L"M2", L"M3"}));
  // The menu opens again and works.
  TdxBarSubMenuControl* again = OpenMenu();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(ThreadWindowTreeCount(), windowsOpen);
  EXPECT_EQ(again->GetItemLinks()->ShownItemCount(), 2);
}

// In a look that shadows its menus, the menu a link is dragged out of keeps its shadow shown
// while the drag runs and after it.
TEST_F(TMenuDrag, TheMenuDraggedFromKeepsItsShadow)
{
  // The system's setting for shadows under menus is on, for this test only.
  TdxBarShadowSettingQuery saved = SetdxBarShadowSettingQuery([] { return true; });
  TFinally restore([&] { SetdxBarShadowSettingQuery(saved); });
  Manager->SetStyle(bmsOffice11);
  PumpPending();
  TdxBarSubMenuControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return menu->GetShadow() && menu->GetShadow()->GetVisible(); }, 3000))
      << "the look shadows its menus";
  auto shown = [&] {
    TdxBarShadow* shadow = menu->GetShadow();
    if (!shadow || !shadow->GetVisible() || shadow->GetPartCount() == 0)
      return false;
    for (int i = 0; i < shadow->GetPartCount(); ++i)
      if (!shadow->GetPart(i)->HandleAllocated() || !::IsWindowVisible(shadow->GetPart(i)->GetHandle()))
        return false;
    return true;
  };
  bool duringDrag = false;
  TDragProbe probe([&] { duringDrag = shown(); });
  DragLinkFromCode(MenuLinks()->Items(1), LeadingPart(MenuLinks()->Items(0)), [&] { probe.Run(); });
  EXPECT_EQ(probe.RunCount(), 1);
  EXPECT_TRUE(duringDrag) << "the shadow went while the menu's link was dragged";
  PumpPending();
  EXPECT_TRUE(shown()) << "the shadow did not come back after the drag";
}
