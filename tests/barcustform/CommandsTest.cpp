// The Commands page: categories and their commands, the description, dragging a command
// onto a toolbar and a toolbar button off it, and a category of thousands of commands.
#include "CustFormTestUtil.h"

#include "bars/model/itemlinks.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TCommands = TCustFormFixture;

void Glide(POINT AFrom, POINT ATo, int ASteps = 8)
{
  for (int i = 1; i <= ASteps; ++i) {
    SendMouseMove(POINT{AFrom.x + (ATo.x - AFrom.x) * i / ASteps, AFrom.y + (ATo.y - AFrom.y) * i / ASteps});
    PauseScript(30);
  }
}

// Presses at AFrom, glides to ATo and releases there, while this thread runs what the
// press starts.
bool DragWithMouse(TdxBarManager* AManager, POINT AFrom, POINT ATo)
{
  MoveMouseTo(AFrom);
  return RunScript(
      [&] {
        SendMouseButton(true);
        PauseScript(80);
        Glide(AFrom, ATo);
        PauseScript(60);
        SendMouseButton(false);
      },
      [&] { return ::GetCapture() == nullptr && !AManager->IsDragging(); }, 100, 10000);
}

// A click on the commands list: the press waits there to tell a click from a drag, so the
// release comes from another thread.
bool ClickCommand(TListBox* AList, int AIndex)
{
  MoveMouseTo(TCustFormFixture::EntryPoint(AList, AIndex));
  const bool done = RunScript(
      [] {
        SendMouseButton(true);
        PauseScript(60);
        SendMouseButton(false);
        PauseScript(30);
      },
      [] { return ::GetCapture() == nullptr; }, 50, 5000);
  PumpPending();
  return done;
}

TEST_F(TCommands, CategoriesListTheirCommandsAndTheDescriptionFollows)
{
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  PumpPending();
  ASSERT_EQ(Dialog->lbCategories->GetCount(), 2);
  EXPECT_EQ(Dialog->lbCategories->GetItemIndex(), 0);
  ASSERT_EQ(Dialog->lbItems->GetCount(), 2);
  EXPECT_EQ(Dialog->lbItems->GetItems()->GetObject(1), Item(L"File1"));
  ASSERT_TRUE(ClickCommand(Dialog->lbItems, 1));
  PumpPending();
  EXPECT_EQ(Dialog->DescriptionLabel->GetCaption(), L"Saves the song list");
  ASSERT_TRUE(ClickCommand(Dialog->lbItems, 0));
  PumpPending();
  EXPECT_EQ(Dialog->DescriptionLabel->GetCaption(), L"") << "a command without a description clears it";
  ASSERT_TRUE(ClickAt(EntryPoint(Dialog->lbCategories, 1)));
  PumpPending();
  ASSERT_EQ(Dialog->lbItems->GetCount(), 3);
  EXPECT_EQ(Dialog->lbItems->GetItems()->GetObject(2), Item(L"Tool2"));
  // A category the Customize dialog must not list stays out.
  Manager->SetCategoryVisible(0, false);
  Dialog->UpdateLook();
  EXPECT_EQ(Dialog->lbCategories->GetCount(), 1);
}

TEST_F(TCommands, DraggingACommandOntoAToolbarAddsItAndOffAToolbarRemovesIt)
{
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  PumpPending();
  TdxBar* tools = Bar(L"Tools");
  TdxBarItemLinks* links = tools->GetItemLinks();
  ASSERT_EQ(links->Count(), 3);
  const POINT save = EntryPoint(Dialog->lbItems, 1);
  const POINT target = ScreenCentreOf(links->Items(2));
  ASSERT_TRUE(DragWithMouse(Manager, save, POINT{target.x + 6, target.y}));
  PumpPending();
  ASSERT_EQ(links->Count(), 4);
  EXPECT_EQ(links->Items(3)->GetItem(), Item(L"File1")) << "dropped after the last button";
  EXPECT_EQ(Dialog->GetSelectedItem(), Item(L"File1"));
  // Off the toolbar, onto the desktop: the button goes.
  const POINT from = ScreenCentreOf(links->Items(0));
  ASSERT_TRUE(DragWithMouse(Manager, from, POINT{from.x, from.y + 400}));
  PumpPending();
  ASSERT_EQ(links->Count(), 3);
  EXPECT_EQ(links->Items(0)->GetItem(), Item(L"Tool1"));
  // A plain click on a command starts no drag.
  ASSERT_TRUE(ClickCommand(Dialog->lbItems, 0));
  PumpPending();
  EXPECT_FALSE(Manager->IsDragging());
  EXPECT_EQ(links->Count(), 3);
}

// After a drag from the commands list that list keeps the focus: Delete still acts on the link
// then selected on a bar, since the list does nothing with the key. The toolbar list deletes
// toolbars with it and keeps it.
TEST_F(TCommands, DeleteReachesALinkSelectedOnABarWhileTheCommandListHasTheFocus)
{
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  PumpPending();
  TdxBarItemLinks* links = Bar(L"Tools")->GetItemLinks();
  const POINT target = ScreenCentreOf(links->Items(2));
  ASSERT_TRUE(DragWithMouse(Manager, EntryPoint(Dialog->lbItems, 1), POINT{target.x + 6, target.y}));
  PumpPending();
  ASSERT_EQ(links->Count(), 4);
  // Tool2 has no other link, so Delete asks nothing.
  ASSERT_TRUE(ClickAt(ScreenCentreOf(links->Items(2))));
  PumpPending();
  ASSERT_EQ(::GetActiveWindow(), Dialog->GetHandle());
  ASSERT_EQ(::GetFocus(), Dialog->lbItems->GetHandle());
  TMessageBoxScope box(IDCANCEL);
  ASSERT_TRUE(PressKey(VK_DELETE));
  PumpPending();
  EXPECT_TRUE(box.Asked.empty());
  ASSERT_EQ(links->Count(), 3) << "Delete did nothing";
  EXPECT_EQ(Item(L"Tool2")->GetLinkCount(), 0);
  EXPECT_EQ(Dialog->lbItems->GetCount(), 2) << "the command stays";

  Dialog->PageControl->SetActivePage(Dialog->tsToolbars);
  PumpPending();
  ASSERT_TRUE(ClickAt(ScreenCentreOf(links->Items(1))));
  PumpPending();
  ::SetFocus(Dialog->lbBarsList->GetHandle());
  ASSERT_TRUE(PressKey(VK_DELETE));
  PumpPending();
  EXPECT_EQ(links->Count(), 3) << "the toolbar list takes Delete itself";
}

// The commands list of a huge category draws only what it shows and still scrolls.
TEST_F(TCommands, FiveThousandCommandsScrollWithoutDrawingThemAll)
{
  for (int i = 0; i < 5000; ++i) {
    auto* button = new TdxBarButton(Host);
    button->SetCaption(L"Command " + std::to_wstring(i));
    button->SetCategory(1);
  }
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  ASSERT_TRUE(ClickAt(EntryPoint(Dialog->lbCategories, 1)));
  PumpPending();
  TListBox* list = Dialog->lbItems;
  ASSERT_EQ(list->GetCount(), 5003);
  int drawn = 0;
  TDrawItemEvent draw = list->OnDrawItem;
  list->OnDrawItem = TDrawItemEvent([&](TWinControl* C, int I, TRect R, TOwnerDrawState S) {
    ++drawn;
    draw(C, I, R, S);
  });
  const int visible = RectHeight(list->GetClientRect()) / 22 + 2;
  ::InvalidateRect(list->GetHandle(), nullptr, TRUE);
  ::UpdateWindow(list->GetHandle());
  EXPECT_GT(drawn, 0);
  EXPECT_LE(drawn, visible);
  ASSERT_TRUE(ClickCommand(list, 0));
  drawn = 0;
  ASSERT_TRUE(PressKey(VK_END));
  PumpPending();
  EXPECT_EQ(list->GetItemIndex(), 5002);
  EXPECT_GT(list->GetTopIndex(), 4990);
  EXPECT_LE(drawn, 2 * visible) << "scrolling to the end draws a page, not the list";
  ASSERT_TRUE(PressKey(VK_HOME));
  PumpPending();
  EXPECT_EQ(list->GetTopIndex(), 0);
  list->OnDrawItem = draw;
}

}  // namespace

namespace {

// While the form is designed, a command dropped on the category list moves into that category.
TEST_F(TCommands, AtDesignTimeACommandDroppedOnACategoryMovesThere)
{
  Manager->SetDesigning(true, false);
  ASSERT_NE(Open(), nullptr);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  PumpPending();
  EXPECT_TRUE(Dialog->tsCommands->GetTabVisible()) << "the design-time pages show";
  EXPECT_TRUE(Dialog->tsGroups->GetTabVisible());
  TdxBarItem* save = Item(L"File1");
  ASSERT_EQ(save->GetCategory(), 0);
  ASSERT_TRUE(DragWithMouse(Manager, EntryPoint(Dialog->lbItems, 1), EntryPoint(Dialog->lbCategories, 1)));
  PumpPending();
  EXPECT_EQ(save->GetCategory(), 1);
  // Dropped below the last category nothing moves.
  ASSERT_TRUE(ClickAt(EntryPoint(Dialog->lbCategories, 0)));
  PumpPending();
  ASSERT_EQ(Dialog->lbItems->GetItems()->GetObject(0), Item(L"File0"));
  POINT below = EntryPoint(Dialog->lbCategories, 1);
  below.y += 60;
  ASSERT_TRUE(DragWithMouse(Manager, EntryPoint(Dialog->lbItems, 0), below));
  PumpPending();
  EXPECT_EQ(Item(L"File0")->GetCategory(), 0);
  EXPECT_EQ(Dialog->GetSelectedCategory(), 0) << "the command's own category is selected again";
  Manager->SetIsCustomizing(false);
  Manager->SetDesigning(false, false);
}

}  // namespace
