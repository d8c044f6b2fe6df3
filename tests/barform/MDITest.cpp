// MDI merging: the main form's manager takes in the active child's main-menu bar and gives it
// back when the child is restored, switched or closed, with nothing left pointing at what the
// child frees.
#include "FormTestUtil.h"

#include <map>
#include <memory>
#include <set>

#include "support/Owned.h"
#include "support/Pixels.h"
#include "support/Pump.h"
#include "support/UnexpectedExceptions.h"

namespace {

struct TMergeLog : TObject {
  std::vector<bool> Calls;
  void MenuMerge(TObject*, TdxBarManager*, bool AAddItems) { Calls.push_back(AAddItems); }
};

// A merge handler that refuses to give a menu back.
struct TRefusingUnmerge : TObject {
  void MenuMerge(TObject*, TdxBarManager*, bool AAddItems)
  {
    if (!AAddItems)
      throw Exception(L"unmerge refused");
  }
};

// Closing a child frees it (an MDI child otherwise only minimises).
struct TFreeOnClose : TObject {
  void Close(TObject*, TCloseAction& AAction) { AAction = caFree; }
};

class TMDIMergeTest : public testing::Test {
protected:
  void SetUp() override
  {
    // The application's main form: the call-window hook tells its manager of its MDI children.
    ASSERT_EQ(Application->GetMainForm(), nullptr);
    Frame = static_cast<TForm*>(Application->CreateForm(TForm::StaticClass()));
    FrameGuard = std::make_unique<TOwned<TForm>>(Frame);
    Frame->SetBounds(60, 60, 640, 420);
    Frame->SetFormStyle(fsMDIForm);
    Manager = new TdxBarManager(Frame);
    Frame->Show();
    PumpPending();
  }
  void TearDown() override
  {
    Children.clear();
    FrameGuard.reset();
  }
  // A child with a manager whose main-menu bar shows buttons of the captions given.
  TFormTestForm* NewChild(const std::vector<String>& ACaptions)
  {
    auto* child = TCustomForm::CreateNew<TFormTestForm>(nullptr);
    Children.push_back(std::make_unique<TOwned<TFormTestForm>>(child));
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(0, 0, 300, 200);
    auto* manager = new TdxBarManager(child);
    TdxBar* bar = manager->GetBars()->Add();
    bar->SetCaption(L"Menu");
    bar->SetIsMainMenu(true);
    bar->SetDockingStyle(dsTop);
    for (const String& caption : ACaptions) {
      auto* button = new TdxBarButton(child);
      button->SetCaption(caption);
      bar->GetItemLinks()->AddItem(button);
    }
    bar->SetVisible(true);
    child->Show();
    PumpPending();
    return child;
  }
  void Activate(TCustomForm* AChild)
  {
    SendMessageW(Frame->GetClientHandle(), WM_MDIACTIVATE, WPARAM(AChild->GetHandle()), 0);
    PumpPending();
  }
  // The main form's main menu, with one button.
  TdxBar* AddMainMenu()
  {
    TdxBar* bar = Manager->GetBars()->Add();
    bar->SetIsMainMenu(true);
    bar->SetDockingStyle(dsTop);
    bar->GetItemLinks()->AddItem(new TdxBarButton(Frame))->GetItem()->SetCaption(L"Window");
    bar->SetVisible(true);
    return bar;
  }
  static TdxBarControl* BarWindow(TdxBar* ABar) { return dynamic_cast<TdxBarControl*>(ABar->GetControl()); }
  // The centre of a rectangle of the bar's client area, on the screen.
  static POINT ScreenCentre(TdxBar* ABar, const TRect& R) { return ScreenCentreOf(BarWindow(ABar), R); }
  static TdxBar* ChildBar(TCustomForm* AChild) { return GetBarManagerByOwner(AChild)->GetBars()->GetItem(0); }
  // The captions of the items the main form's main-menu bar shows.
  std::vector<String> MainMenuCaptions() const
  {
    std::vector<String> captions;
    TdxBar* bar = Manager->GetMainMenuBar();
    for (int i = 0; bar && i < bar->GetItemLinks()->Count(); ++i)
      captions.push_back(bar->GetItemLinks()->Items(i)->GetItem()->GetCaption());
    return captions;
  }

  TForm* Frame = nullptr;
  std::unique_ptr<TOwned<TForm>> FrameGuard;
  TdxBarManager* Manager = nullptr;
  std::vector<std::unique_ptr<TOwned<TFormTestForm>>> Children;
};

using TCaptions = std::vector<String>;

}  // namespace

TEST_F(TMDIMergeTest, ActiveChildMenuMergesSwitchesAndLeavesWithItsChild)
{
  Manager->SetAlwaysMerge(true);
  TFormTestForm* first = NewChild({L"File", L"Edit"});
  EXPECT_EQ(MainMenuCaptions(), (TCaptions{L"File", L"Edit"}));
  EXPECT_FALSE(ChildBar(first)->GetVisible());
  TWeakRef<TdxBar> made(Manager->GetMainMenuBar());

  TFormTestForm* second = NewChild({L"Song", L"Tools"});
  EXPECT_EQ(MainMenuCaptions(), (TCaptions{L"Song", L"Tools"}));
  EXPECT_TRUE(ChildBar(first)->GetVisible()) << "the first child's menu is back in its form";
  EXPECT_FALSE(ChildBar(second)->GetVisible());
  EXPECT_EQ(Manager->GetMainMenuBar(), made.Get()) << "switching keeps the bar that shows the menus";

  Activate(first);
  EXPECT_EQ(MainMenuCaptions(), (TCaptions{L"File", L"Edit"}));

  // Closing the active child leaves nothing of it merged.
  Children[0].reset();
  PumpPending();
  EXPECT_EQ(MainMenuCaptions(), (TCaptions{L"Song", L"Tools"}));
  Children[1].reset();
  PumpPending();
  EXPECT_EQ(Manager->GetMainMenuBar(), nullptr) << "the bar made for the children's menus goes with the last";
  EXPECT_EQ(Manager->GetBars()->GetCount(), 0);
}

TEST_F(TMDIMergeTest, ItemFreedInTheChildWhileMergedLeavesNoLink)
{
  Manager->SetAlwaysMerge(true);
  TFormTestForm* child = NewChild({L"File", L"Edit", L"View"});
  ASSERT_EQ(MainMenuCaptions().size(), 3u);
  TdxBarItem* edit = ChildBar(child)->GetItemLinks()->Items(1)->GetItem();
  TWeakRef<TdxBarItemLink> mergedLink(Manager->GetMainMenuBar()->GetItemLinks()->Items(1));
  edit->Free();
  EXPECT_FALSE(mergedLink);
  EXPECT_EQ(MainMenuCaptions(), (TCaptions{L"File", L"View"}));
  // The main-menu bar draws and unmerges with what is left.
  HWND main = Manager->GetMainMenuBar()->GetControl()->GetHandle();
  RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  Children.clear();
  PumpPending();
  EXPECT_EQ(Manager->GetMainMenuBar(), nullptr);
}

TEST_F(TMDIMergeTest, BarMadeForTheMenusGoesWhenEmptyAfterASwitchThatRaised)
{
  Manager->SetAlwaysMerge(true);
  NewChild({L"File"});
  TWeakRef<TdxBar> made(Manager->GetMainMenuBar());
  ASSERT_TRUE(made);
  TUnexpectedExceptions raised;
  TRefusingUnmerge handler;
  Manager->OnMenuMerge = TdxBarMergeEvent(&handler, &TRefusingUnmerge::MenuMerge);
  NewChild({L"Song"});
  Manager->OnMenuMerge = TdxBarMergeEvent();
  ASSERT_EQ(raised.Messages, std::vector<String>{L"unmerge refused"});
  // The first child's menu left it before the handler raised: nothing is merged into it.
  EXPECT_FALSE(made) << "the bar made for the children's menus stays on the main form, empty";
}

// Without AlwaysMerge the menu merges only while the child is maximised, and the main menu
// shows the child's caption buttons then.
TEST_F(TMDIMergeTest, MaximisedChildMergesIntoTheMainMenuUntilRestored)
{
  TdxBar* mainBar = Manager->GetBars()->Add();
  mainBar->SetCaption(L"Main");
  mainBar->SetIsMainMenu(true);
  mainBar->SetDockingStyle(dsTop);
  mainBar->GetItemLinks()->AddItem(new TdxBarButton(Frame))->GetItem()->SetCaption(L"Window");
  mainBar->SetVisible(true);
  TMergeLog log;
  for (bool alwaysMerge : {false, true}) {
    SCOPED_TRACE(alwaysMerge ? "AlwaysMerge" : "merge while maximised");
    Manager->SetAlwaysMerge(alwaysMerge);
    TFormTestForm* child = NewChild({L"File"});
    EXPECT_EQ(MainMenuCaptions(), alwaysMerge ? (TCaptions{L"Window", L"File"}) : TCaptions{L"Window"});
    child->SetWindowState(wsMaximized);
    PumpPending();
    // The child's system menu leads, without a caption.
    EXPECT_EQ(MainMenuCaptions(), (TCaptions{L"", L"Window", L"File"}));
    auto* control = dynamic_cast<TdxBarControl*>(mainBar->GetControl());
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->HasMDISystemMenu());
    EXPECT_GT(control->GetMDIAreaLength(), 0);
    child->SetWindowState(wsNormal);
    PumpPending();
    EXPECT_EQ(MainMenuCaptions(), alwaysMerge ? (TCaptions{L"Window", L"File"}) : TCaptions{L"Window"});
    EXPECT_FALSE(dynamic_cast<TdxBarControl*>(mainBar->GetControl())->HasMDISystemMenu());
    Children.clear();
    PumpPending();
    EXPECT_EQ(MainMenuCaptions(), TCaptions{L"Window"});
  }

  // OnMenuMerge takes the merge over: the child's bar is only hidden and shown again.
  Manager->OnMenuMerge = TdxBarMergeEvent(&log, &TMergeLog::MenuMerge);
  TFormTestForm* child = NewChild({L"File"});
  EXPECT_EQ(MainMenuCaptions(), TCaptions{L"Window"});
  EXPECT_FALSE(ChildBar(child)->GetVisible());
  Manager->SetAlwaysMerge(false);
  child->SetWindowState(wsMaximized);
  PumpPending();
  child->SetWindowState(wsNormal);
  PumpPending();
  EXPECT_TRUE(ChildBar(child)->GetVisible());
  EXPECT_EQ(log.Calls, (std::vector<bool>{true, false}));
}

// A maximised child's system menu leads the main menu: its entries open as a menu, an entry
// sends its command to the child, and a double click sends the default command.
TEST_F(TMDIMergeTest, TheMaximisedChildsSystemMenuLeadsTheMainMenuUntilTheChildIsRestored)
{
  TdxBar* mainBar = Manager->GetBars()->Add();
  mainBar->SetIsMainMenu(true);
  mainBar->SetDockingStyle(dsTop);
  mainBar->GetItemLinks()->AddItem(new TdxBarButton(Frame))->GetItem()->SetCaption(L"Window");
  mainBar->SetVisible(true);
  TFormTestForm* child = NewChild({L"File"});
  EXPECT_EQ(MainMenuCaptions(), TCaptions{L"Window"});
  child->SetWindowState(wsMaximized);
  PumpPending();
  auto* item = dynamic_cast<TSystemMenuSubItem*>(mainBar->GetItemLinks()->Items(0)->GetItem());
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetWindow(), child->GetHandle());
  auto* control = dynamic_cast<TSystemMenuSubItemControl*>(mainBar->GetItemLinks()->Items(0)->GetControl());
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(RectWidth(mainBar->GetItemLinks()->Items(0)->GetItemRect()), GetSystemMetrics(SM_CXSMICON));
  // Its menu holds the system menu's entries; Restore sends its command to the child.
  control->DoDropDown(true);
  PumpPending();
  TdxBarItemLinks* entries = item->GetItemLinks();
  ASSERT_GT(entries->Count(), 0);
  EXPECT_EQ(item->GetBuiltItemCount(), entries->Count());
  TdxBarButton* restore = nullptr;
  for (int i = 0; i < entries->Count(); ++i)
    if (auto* button = dynamic_cast<TdxBarButton*>(entries->Items(i)->GetItem()); button && button->Tag() == SC_RESTORE)
      restore = button;
  ASSERT_NE(restore, nullptr);
  EXPECT_TRUE(restore->GetEnabled());
  TWeakRef<TSystemMenuSubItem> itemRef(item);
  restore->Click();
  PumpUntil([&] { return !IsZoomed(child->GetHandle()); });
  EXPECT_FALSE(IsZoomed(child->GetHandle()));
  EXPECT_FALSE(itemRef.Alive()) << "a restored child's system menu leaves the main menu";
  EXPECT_EQ(MainMenuCaptions(), TCaptions{L"Window"});
  // A double click on the icon sends the default command (made Minimize here).
  child->SetWindowState(wsMaximized);
  PumpPending();
  ASSERT_TRUE(SetMenuDefaultItem(GetSystemMenu(child->GetHandle(), FALSE), SC_MINIMIZE, FALSE));
  control = dynamic_cast<TSystemMenuSubItemControl*>(mainBar->GetItemLinks()->Items(0)->GetControl());
  ASSERT_NE(control, nullptr);
  control->DoubleClick();
  PumpUntil([&] { return IsIconic(child->GetHandle()) != FALSE; });
  EXPECT_TRUE(IsIconic(child->GetHandle()));
  Children.clear();
  PumpPending();
  EXPECT_EQ(MainMenuCaptions(), TCaptions{L"Window"});
}

// The caption buttons a maximised child shows on the main menu take real clicks: each sends
// its command to the child, and the bar holds no capture afterwards (pressing one does not
// activate the bar).
TEST_F(TMDIMergeTest, CaptionButtonsOfAMaximisedChildMinimiseRestoreAndCloseItByClick)
{
  TdxBar* mainBar = AddMainMenu();
  TFormTestForm* child = NewChild({L"File"});
  TFreeOnClose freeOnClose;
  child->OnClose = TCloseEvent(&freeOnClose, &TFreeOnClose::Close);
  const HWND handle = child->GetHandle();
  auto clickButton = [&](int AButton) {
    child->SetWindowState(wsMaximized);
    PumpPending();
    ASSERT_TRUE(IsZoomed(handle));
    ASSERT_TRUE(BarWindow(mainBar) && BarWindow(mainBar)->HasMDISystemMenu());
    ASSERT_TRUE(BarWindow(mainBar)->IsMDIButtonEnabled(AButton));
    ASSERT_TRUE(ClickAt(ScreenCentre(mainBar, BarWindow(mainBar)->GetMDIButtonRect(AButton))));
  };

  clickButton(0);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(handle) != FALSE; })) << "minimise";
  EXPECT_EQ(GetCapture(), nullptr);

  clickButton(1);
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(handle) && !IsIconic(handle); })) << "restore";
  EXPECT_EQ(GetCapture(), nullptr);

  clickButton(2);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(handle); })) << "close";
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(MainMenuCaptions(), TCaptions{L"Window"});
}

// The bar tells the painter each caption button's state by name: under the standard look a
// hot button looks as it does idle (the system's caption buttons have no hot look), never
// greyed, and a button held under the pointer is drawn pushed.
TEST_F(TMDIMergeTest, CaptionButtonsOfAMaximisedChildAreDrawnHotAndPressedNotGreyed)
{
  Manager->SetStyle(bmsStandard);
  TdxBar* mainBar = AddMainMenu();
  TFormTestForm* child = NewChild({L"File"});
  child->SetWindowState(wsMaximized);
  PumpPending();
  TdxBarControl* bar = BarWindow(mainBar);
  ASSERT_TRUE(bar && bar->HasMDISystemMenu() && bar->IsMDIButtonEnabled(0));
  const TRect button = bar->GetMDIButtonRect(0);
  const POINT centre = ScreenCentre(mainBar, button);
  RECT screen{centre.x - RectWidth(button) / 2, centre.y - RectHeight(button) / 2, 0, 0};
  screen.right = screen.left + RectWidth(button);
  screen.bottom = screen.top + RectHeight(button);
  auto shot = [&] {
    ::RedrawWindow(bar->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
    return CaptureScreen(screen);
  };
  const RECT all{0, 0, RectWidth(button), RectHeight(button)};
  ASSERT_TRUE(MoveMouseTo(POINT{5, 5}));
  const TDib32 idle = shot();
  ASSERT_TRUE(MoveMouseTo(centre));
  ASSERT_TRUE(PumpUntil([] { return dxBarMDIButtonsState().HotIndex == 0; }));
  EXPECT_EQ(CountDifferentPixels(shot(), all, idle, 2), 0) << "hot: as idle, not greyed";
  ASSERT_TRUE(MouseButtonDown());
  ASSERT_TRUE(PumpUntil([] { return dxBarMDIButtonsState().Pressed; }));
  EXPECT_GT(CountDifferentPixels(shot(), all, idle, 2), 0) << "held: pushed";
  // Released away from it: the child stays maximised.
  ASSERT_TRUE(MoveMouseTo(POINT{5, 5}));
  ASSERT_TRUE(MouseButtonUp());
  PumpPending();
  EXPECT_TRUE(IsZoomed(child->GetHandle()));
}

// A child without an icon of its own shows its class's on the main menu, and its system menu,
// opened by a click there, offers what a maximised window can do.
TEST_F(TMDIMergeTest, SystemMenuOfAMaximisedChildShowsAnIconAndOnlyWhatTheChildCanDo)
{
  TdxBar* mainBar = AddMainMenu();
  TFormTestForm* child = NewChild({L"File"});
  child->SetWindowState(wsMaximized);
  PumpPending();
  ASSERT_EQ(SendMessageW(child->GetHandle(), WM_GETICON, ICON_SMALL, 0), 0);
  ASSERT_EQ(SendMessageW(child->GetHandle(), WM_GETICON, ICON_BIG, 0), 0);
  TdxBarItemLink* link = mainBar->GetItemLinks()->Items(0);
  auto* item = dynamic_cast<TSystemMenuSubItem*>(link->GetItem());
  ASSERT_NE(item, nullptr);

  const HWND bar = BarWindow(mainBar)->GetHandle();
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpPending();
  TRect r = link->GetItemRect();
  MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
  TDib32 shot = CaptureScreen(r);
  // The item's own background is one colour; an icon brings more.
  std::set<COLORREF> colours;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x)
      colours.insert(shot.Pixel(x, y));
  EXPECT_GE(colours.size(), 3u) << "the class's icon is drawn";

  ASSERT_TRUE(ClickAt(ScreenCentre(mainBar, link->GetItemRect())));
  ASSERT_TRUE(PumpUntil([&] { return item->GetItemLinks()->Count() > 0; }));
  std::map<UINT, bool> enabled;
  for (int i = 0; i < item->GetItemLinks()->Count(); ++i)
    if (auto* button = dynamic_cast<TdxBarButton*>(item->GetItemLinks()->Items(i)->GetItem()))
      enabled[UINT(button->Tag())] = button->GetEnabled();
  const std::map<UINT, bool> expected{{SC_RESTORE, true},  {SC_MOVE, false},     {SC_SIZE, false},
                                      {SC_MINIMIZE, true}, {SC_MAXIMIZE, false}, {SC_CLOSE, true}};
  std::map<UINT, bool> shown;
  for (const auto& [command, state] : expected)
    if (enabled.count(command))
      shown[command] = enabled[command];
  EXPECT_EQ(shown, expected);
  PressKey(VK_ESCAPE);
  PumpPending();
}
