// The run-time selection (one bar and one other component at most, notifications), the link
// editors, and the toolbars popup of a dock site.
#include "DesignTestUtil.h"

#include "barcustomize/linkeditors.h"
#include "barcustomize/runtimeselection.h"
#include "bars/menus/appmenu.h"
#include "bars/menus/submenu.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

// A button that counts how often a selection tells it of a change.
class TWatchedButton : public TdxBarButton {
  DECLARE_CLASS(TWatchedButton, TdxBarButton)
public:
  explicit TWatchedButton(TComponent* AOwner) : TdxBarButton(AOwner) {}
  void SelectionChanged() override { ++Changes; }
  int Changes = 0;
};
IMPLEMENT_CLASS(TWatchedButton, TdxBarButton)

class TRunTimeSelectionTest : public TDesignFixture {
protected:
  void SetUp() override
  {
    TDesignFixture::SetUp();
    Selection.OnSelectionChanged = TNotifyEvent([this](TObject*) { ++Notifications; });
  }
  TWatchedButton* NewButton() { return new TWatchedButton(Form); }
  TdxBarRunTimeSelectionController Selection;
  int Notifications = 0;
};

TEST_F(TRunTimeSelectionTest, HoldsOneBarAndOneItem)
{
  TWatchedButton* a = NewButton();
  TWatchedButton* b = NewButton();
  TdxBar* standard = Bar(L"Standard");
  TdxBar* tools = Bar(L"Tools");
  Selection.SelectComponent(a);
  Selection.SelectComponent(standard);
  EXPECT_TRUE(Selection.IsSelected(a));
  EXPECT_TRUE(Selection.IsSelected(standard));
  Selection.SelectComponent(b);
  EXPECT_FALSE(Selection.IsSelected(a)) << "an item replaces the item";
  EXPECT_TRUE(Selection.IsSelected(standard));
  Selection.SelectComponent(tools);
  EXPECT_FALSE(Selection.IsSelected(standard)) << "a bar replaces the bar";
  EXPECT_TRUE(Selection.IsSelected(b));
  EXPECT_EQ(Selection.Count(), 2);
  // Other selection types select nothing.
  Selection.SelectComponent(a, 2);
  EXPECT_FALSE(Selection.IsSelected(a));
}

TEST_F(TRunTimeSelectionTest, NotifiesOncePerChangeAndTellsExactlyTheComponentsConcerned)
{
  TWatchedButton* a = NewButton();
  TWatchedButton* b = NewButton();
  TWatchedButton* c = NewButton();
  Selection.SelectComponent(a);
  EXPECT_EQ(Notifications, 1);
  EXPECT_EQ(a->Changes, 1);
  Selection.SelectComponent(a);
  EXPECT_EQ(Notifications, 1) << "selecting the selected component changes nothing";
  TList list;
  list.Add(a);
  list.Add(b);
  list.Add(c);
  Selection.SetSelection(&list);
  EXPECT_EQ(Notifications, 2) << "one notification for the whole list";
  EXPECT_EQ(Selection.Count(), 1);
  EXPECT_TRUE(Selection.IsSelected(c));
  EXPECT_EQ(a->Changes, 2) << "a left the selection";
  EXPECT_EQ(b->Changes, 2) << "b came and went";
  EXPECT_EQ(c->Changes, 1);
  TList got;
  Selection.GetSelection(&got);
  ASSERT_EQ(got.Count(), 1);
  EXPECT_EQ(got.Items(0), c);
}

TEST_F(TRunTimeSelectionTest, AFreedComponentLeavesTheSelection)
{
  TWatchedButton* a = NewButton();
  Selection.SelectComponent(a);
  Selection.SelectComponent(Bar(L"Tools"));
  const int before = Notifications;
  a->Free();
  EXPECT_EQ(Selection.Count(), 1);
  EXPECT_EQ(Selection.GetSelected(0), Bar(L"Tools"));
  EXPECT_GT(Notifications, before);
}

// ---------------------------------------------------------------------------
// Editors

class TLinkEditorsTest : public TDesignFixture {};

TEST_F(TLinkEditorsTest, EditorMakesANamedItemInTheDefaultCategoryRightAfterTheTarget)
{
  Manager->GetCategories()->Insert(0, L"First");
  TdxBarItemLinks* links = Bar(L"Standard")->GetItemLinks();
  TdxAddButtonEditor editor;
  TdxBarItem* made = editor.Execute(links, links->Items(0));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(links->Count(), 5);
  EXPECT_EQ(links->Items(1)->GetItem(), made);
  EXPECT_EQ(made->GetCategoryIndex(), 1) << "the category named Default, not the first";
  EXPECT_EQ(made->Owner(), Form);
  EXPECT_FALSE(made->Name().empty());
  EXPECT_EQ(Form->FindComponent(made->Name()), made);
  TdxBarItem* second = editor.Execute(links, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->Name(), made->Name());
  EXPECT_EQ(links->Items(links->Count() - 1)->GetItem(), second) << "no target: at the end";
}

TEST_F(TLinkEditorsTest, ManagerWithoutCategoriesGetsADefaultOneAndToolbarsRefuseSeparators)
{
  Manager->GetCategories()->Clear();
  TdxBarItemLinks* links = Bar(L"Tools")->GetItemLinks();
  TdxAddSubItemEditor sub;
  TdxBarItem* made = sub.Execute(links, nullptr);
  ASSERT_NE(made, nullptr);
  ASSERT_EQ(Manager->GetCategories()->Count(), 1);
  EXPECT_EQ(Manager->GetCategories()->Strings(0), L"Default");
  EXPECT_EQ(made->GetCategoryIndex(), 0);
  EXPECT_TRUE(made->InheritsFrom(TdxBarSubItem::StaticClass()));

  const int components = Form->ComponentCount();
  TdxAddSeparatorEditor separator;
  EXPECT_ANY_THROW(separator.Execute(links, nullptr));
  EXPECT_EQ(Form->ComponentCount(), components) << "a refused item is not left behind";
  EXPECT_EQ(links->Count(), 3);
}

TEST_F(TLinkEditorsTest, HelpersOfferTheirEditorsAndTheItemsEditorListsEveryKind)
{
  std::vector<TClass> toolbar, menu;
  Controller->GetDesignHelper(Bar(L"Standard")->GetControl())->GetEditors(toolbar);
  TdxBarSubMenuControl* open = OpenFileMenu();
  ASSERT_NE(open, nullptr);
  Controller->GetDesignHelper(open)->GetEditors(menu);
  EXPECT_EQ(toolbar.size(), 3u);
  ASSERT_EQ(menu.size(), 4u);
  EXPECT_EQ(menu.back(), TdxAddSeparatorEditor::StaticClass());
  const std::vector<TClass> kinds = TdxItemsEditorEx::ItemClasses();
  EXPECT_NE(std::find(kinds.begin(), kinds.end(), TdxBarButton::StaticClass()), kinds.end());
  // Forbidden sets: the base, toolbars and menus.
  EXPECT_EQ(Controller->GetDesignHelper(nullptr)->GetForbiddenCommands(), 2528u);
  EXPECT_EQ(Controller->GetDesignHelper(Bar(L"Standard")->GetControl())->GetForbiddenCommands(),
            dxBarCommandBit(6) | dxBarCommandBit(7) | dxBarCommandBit(8) | dxBarCommandBit(11));
  EXPECT_EQ(Controller->GetDesignHelper(open)->GetForbiddenCommands(),
            dxBarCommandBit(5) | dxBarCommandBit(6) | dxBarCommandBit(7) | dxBarCommandBit(8));
  // The application menu is a menu window with a helper of its own kind, not its ancestor's.
  auto* appMenu = new TdxBarApplicationMenuControl(Manager);
  EXPECT_EQ(Controller->GetDesignHelper(appMenu)->GetForbiddenCommands(), 2528u);
  appMenu->Free();
}

// ---------------------------------------------------------------------------
// The toolbars popup

class TToolbarsPopupTest : public TDesignFixture {};

TEST_F(TToolbarsPopupTest, RightClickOnTheDockSiteListsTheToolbarsAndTogglesOne)
{
  Manager->SetIsCustomizing(false);
  PumpPending();
  TdxBar* tools = Bar(L"Tools");
  TdxDockControl* dock = Manager->GetBars()->GetDockControl(dsTop);
  ASSERT_NE(dock, nullptr);
  // The free part of the top dock site, right of the toolbars.
  RECT r{};
  ::GetWindowRect(dock->GetHandle(), &r);
  ASSERT_TRUE(ClickAt(POINT{r.right - 10, r.bottom - 4}, TInputButton::Right));
  ASSERT_TRUE(PumpUntil([&] { return Controller->GetToolbarsPopup() != nullptr; }, 3000));
  TdxBarItemLinks* links = Controller->GetToolbarsPopup()->GetItemLinks();
  ASSERT_EQ(links->Count(), 3);
  EXPECT_EQ(links->Items(0)->GetItem()->GetCaption(), L"Standard");
  EXPECT_EQ(links->Items(1)->GetItem()->GetCaption(), L"Tools");
  EXPECT_TRUE(static_cast<TdxBarButton*>(links->Items(1)->GetItem())->GetDown());
  EXPECT_EQ(links->Items(2)->GetItem()->GetCaption(), L"&Customize...");
  EXPECT_TRUE(links->Items(2)->GetBeginGroup());
  ASSERT_TRUE(ClickAt(ScreenCentreOf(links->Items(1))));
  EXPECT_TRUE(PumpUntil([&] { return !tools->GetVisible(); }, 2000));
  EXPECT_EQ(Controller->GetToolbarsPopup(), nullptr);
}

TEST_F(TToolbarsPopupTest, RightClickOnAToolbarOffersTheSameListAndCustomizeOpensTheDialog)
{
  Manager->SetIsCustomizing(false);
  PumpPending();
  for (int i = 0; i < 2; ++i) {
    // On a button, then on the bar's drag area.
    TdxBarItemLink* link = LinkOf(L"Standard", 0);
    ASSERT_NE(link, nullptr);
    POINT p = ScreenCentreOf(link);
    if (i == 1) {
      RECT r{};
      ::GetWindowRect(Bar(L"Standard")->GetControl()->GetHandle(), &r);
      p = POINT{r.left + 3, (r.top + r.bottom) / 2};
    }
    ASSERT_TRUE(ClickAt(p, TInputButton::Right));
    ASSERT_TRUE(PumpUntil([&] { return Controller->GetToolbarsPopup() != nullptr; }, 3000));
    TdxBarItemLinks* links = Controller->GetToolbarsPopup()->GetItemLinks();
    ASSERT_EQ(links->Count(), 3);
    EXPECT_EQ(links->Items(0)->GetItem()->GetCaption(), L"Standard");
    if (i == 0) {
      // The menu's hooks take the key: no window of the thread sees it.
      SendKeyStroke(VK_ESCAPE);
      ASSERT_TRUE(PumpUntil([&] { return Controller->GetToolbarsPopup() == nullptr; }));
      continue;
    }
    ASSERT_TRUE(ClickAt(ScreenCentreOf(links->Items(2))));
    EXPECT_TRUE(PumpUntil([&] { return Manager->GetCustomizingFormHandle() != nullptr; }, 3000));
    EXPECT_TRUE(Manager->IsCustomizing());
  }
  Manager->SetIsCustomizing(false);
  PumpPending();
}

// ---------------------------------------------------------------------------
// The selection outline on the real bar windows

class TSelectionOutlineTest : public TDesignFixture {
protected:
  // Pixels on the screen along the link's left edge and top edge, one and two in: the
  // outline's two frames are drawn in the window-text colour there.
  testing::AssertionResult Outlined(TdxBarItemLink* ALink)
  {
    TCustomdxBarControl* bar = ALink && ALink->GetControl() ? ALink->GetBarControl() : nullptr;
    if (!bar)
      return testing::AssertionFailure() << "the link has no control";
    const TRect r = bar->GetItemScreenRect(ALink->GetControl());
    TDib32 shot = CaptureScreen(r);
    const COLORREF frame = ::GetSysColor(COLOR_WINDOWTEXT);
    const int w = r.right - r.left, h = r.bottom - r.top;
    for (POINT p :
         {POINT{0, h / 2}, POINT{1, h / 2}, POINT{w / 2, 0}, POINT{w / 2, 1}, POINT{w - 1, 2}, POINT{w - 2, h - 3}})
      if (!ColorsClose(shot.Pixel(p.x, p.y), frame))
        return testing::AssertionFailure()
               << "no outline at " << p.x << "," << p.y << ": " << ColorText(shot.Pixel(p.x, p.y));
    return testing::AssertionSuccess();
  }
  // A real click on the form's caption, away from its buttons. The press starts the
  // system's move loop, which waits for the release: both come from a helper thread.
  void ClickCaption()
  {
    RECT r{};
    ::GetWindowRect(Form->GetHandle(), &r);
    const POINT title{r.left + 150, r.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2};
    ASSERT_EQ(::SendMessageW(Form->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(title.x, title.y)), HTCAPTION);
    EXPECT_TRUE(RunScript(
        [&] {
          SendMouseMove(title);
          PauseScript(50);
          SendMouseButton(true);
          PauseScript(100);
          SendMouseButton(false);
        },
        [] { return true; }));
    PumpPending();
  }
};

TEST_F(TSelectionOutlineTest, ALinkClickedOnAToolbarStaysOutlinedWhenTheFormCaptionIsClicked)
{
  TdxBarItemLink* save = LinkOf(L"Standard", 1);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(save)));
  PumpPending();
  ASSERT_EQ(Controller->GetSelectedObject(), save);
  MoveMouseTo(POINT{5, 5});
  PumpPending();
  EXPECT_TRUE(Outlined(save));
  EXPECT_FALSE(Outlined(LinkOf(L"Standard", 0))) << "only the selected link";
  ClickCaption();
  EXPECT_EQ(::GetActiveWindow(), Form->GetHandle());
  EXPECT_EQ(Controller->GetSelectedObject(), save);
  EXPECT_TRUE(Outlined(save)) << "the bar window no longer shows it selected: the outline does";
  // The outline goes with the selection.
  Controller->ClearSelection();
  PumpPending();
  EXPECT_FALSE(Outlined(save));
}

TEST_F(TSelectionOutlineTest, ALinkClickedInAMenuIsOutlinedThere)
{
  TdxBarSubMenuControl* menu = OpenFileMenu();
  ASSERT_NE(menu, nullptr);
  TdxBarItemLink* close = menu->GetItemLinks()->Items(1);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(close)));
  PumpPending();
  ASSERT_EQ(Controller->GetSelectedObject(), close);
  EXPECT_TRUE(Outlined(close));
  EXPECT_FALSE(Outlined(menu->GetItemLinks()->Items(0)));
}

}  // namespace
