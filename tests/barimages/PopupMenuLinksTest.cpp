// Popup-menu links on real controls: the context-menu road through the link's hook
// (sent directly and by a real right click), the control's own handler first, children,
// and the hook taken off again when the link goes, its control changes or the control
// is freed, with two links on one control undone in either order.
#include <vector>

#include "ImagesTestUtil.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

struct TActionCall {
  TdxBarPopupMenuLink* Link;
  int X, Y;
  bool ClickedByMouse;
  bool AllowPopup;
};

struct TPopupCall {
  TComponent* Menu;
  TPoint ScreenPos;
};

// A panel that records its window procedure as its destruction starts to tell, after
// the free notifications went out.
class TDyingPanel : public TLinkPanel {
public:
  using TLinkPanel::TLinkPanel;
  TWndMethod* ProcAtDestruction = nullptr;
  void BeforeDestruction() override
  {
    TLinkPanel::BeforeDestruction();
    if (ProcAtDestruction)
      *ProcAtDestruction = GetWindowProc();
  }
};

class TLinksFixture : public testing::Test {
protected:
  TLinksFixture() : FForm(NewImagesForm())
  {
    Form()->SetBounds(60, 60, 400, 300);
    Panel = new TLinkPanel(Form());
    Panel->SetParent(Form());
    Child = new TLinkPanel(Form());
    Child->SetBounds(100, 60, 60, 40);
    Child->SetParent(Panel);
    Other = new TLinkPanel(Form());
    Other->SetBounds(220, 10, 100, 100);
    Other->SetParent(Form());
    Menu = new TFakePopupMenu(Form());
    Manager = new TdxBarManager(Form());
    Links = Manager->GetPopupMenuLinks();
    FSavedServices = SetdxBarPopupMenuLinkServices({[this](TComponent* M, const TPoint& P) {
                                                      Popups.push_back({M, P});
                                                      return true;
                                                    },
                                                    [this](TComponent* M, TShortCut S) {
                                                      ShortCuts.push_back(S);
                                                      return M == ShortCutMenu;
                                                    }});
    // Screen points are computed from the windows' real places.
    Child->GetHandle();
    Other->GetHandle();
    PanelProc = Panel->GetWindowProc();
    OtherProc = Other->GetWindowProc();
  }
  ~TLinksFixture() override
  {
    FForm->Free();
    SetdxBarPopupMenuLinkServices(FSavedServices);
  }

  TImagesTestForm* Form() const { return FForm.Get(); }
  TdxBarPopupMenuLink* AddLink(TControl* Control, TComponent* PopupMenu)
  {
    TdxBarPopupMenuLink* link = Links->Add();
    link->SetControl(Control);
    link->SetPopupMenu(PopupMenu);
    link->OnAction = TdxBarPopupMenuLinkActionEvent(
        [this](TdxBarPopupMenuLink* Sender, int& X, int& Y, bool ClickedByMouse, bool& AllowPopup) {
          Actions.push_back({Sender, X, Y, ClickedByMouse, AllowPopup});
          if (Refuse == Sender)
            AllowPopup = false;
        });
    return link;
  }
  // A context menu for a point of the control's client area, as the system sends it.
  LRESULT ContextMenuAt(TWinControl* Control, TPoint Client)
  {
    TPoint screen = Control->ClientToScreen(Client);
    return SendMessageW(Control->GetHandle(), WM_CONTEXTMENU, WPARAM(Control->GetHandle()),
                        MAKELPARAM(screen.x, screen.y));
  }
  LRESULT KeyboardContextMenu(TWinControl* Control)
  {
    return SendMessageW(Control->GetHandle(), WM_CONTEXTMENU, WPARAM(Control->GetHandle()), LPARAM(-1));
  }
  bool IsOwnProc(TControl* Control, const TWndMethod& Original) { return Control->GetWindowProc() == Original; }

  TOwned<TImagesTestForm> FForm;
  TLinkPanel* Panel;
  TLinkPanel* Child;
  TLinkPanel* Other;
  TFakePopupMenu* Menu;
  TdxBarManager* Manager;
  TdxBarPopupMenuLinks* Links;
  TWndMethod PanelProc, OtherProc;
  std::vector<TActionCall> Actions;
  std::vector<TPopupCall> Popups;
  std::vector<TShortCut> ShortCuts;
  TdxBarPopupMenuLink* Refuse = nullptr;
  TComponent* ShortCutMenu = nullptr;
  TdxBarPopupMenuLinkServices FSavedServices;
};

}  // namespace

TEST_F(TLinksFixture, AMouseContextMenuReachesOnActionAndPopsUpAtTheScreenPoint)
{
  TdxBarPopupMenuLink* link = AddLink(Panel, Menu);
  EXPECT_EQ(ContextMenuAt(Panel, Point(30, 20)), 1);  // handled: the system goes no further
  ASSERT_EQ(Actions.size(), 1u);
  EXPECT_EQ(Actions[0].Link, link);
  EXPECT_EQ(Actions[0].X, 30);
  EXPECT_EQ(Actions[0].Y, 20);
  EXPECT_TRUE(Actions[0].ClickedByMouse);
  EXPECT_TRUE(Actions[0].AllowPopup);
  ASSERT_EQ(Popups.size(), 1u);
  EXPECT_EQ(Popups[0].Menu, Menu);
  TPoint expected = Panel->ClientToScreen(Point(30, 20));
  EXPECT_EQ(Popups[0].ScreenPos.x, expected.x);
  EXPECT_EQ(Popups[0].ScreenPos.y, expected.y);
  // The control's own handler is its own again afterwards.
  EXPECT_FALSE(Panel->OnContextPopup.Assigned());
}

TEST_F(TLinksFixture, AKeyboardContextMenuIsNotClickedByMouse)
{
  AddLink(Panel, Menu);
  KeyboardContextMenu(Panel);
  ASSERT_EQ(Actions.size(), 1u);
  EXPECT_FALSE(Actions[0].ClickedByMouse);
  EXPECT_EQ(Actions[0].X, -1);
  EXPECT_EQ(Actions[0].Y, -1);
  EXPECT_EQ(Popups.size(), 1u);
}

TEST_F(TLinksFixture, OnActionMayRefuseAndMayMoveThePoint)
{
  TdxBarPopupMenuLink* link = AddLink(Panel, Menu);
  Refuse = link;
  EXPECT_EQ(ContextMenuAt(Panel, Point(5, 5)), 0);  // not handled: left to the system
  EXPECT_EQ(Actions.size(), 1u);
  EXPECT_TRUE(Popups.empty());

  Refuse = nullptr;
  link->OnAction = TdxBarPopupMenuLinkActionEvent([](TdxBarPopupMenuLink*, int& X, int& Y, bool, bool&) {
    X = 1;
    Y = 2;
  });
  ContextMenuAt(Panel, Point(5, 5));
  ASSERT_EQ(Popups.size(), 1u);
  EXPECT_EQ(Popups[0].ScreenPos.x, Panel->ClientToScreen(Point(1, 2)).x);
  EXPECT_EQ(Popups[0].ScreenPos.y, Panel->ClientToScreen(Point(1, 2)).y);
}

TEST_F(TLinksFixture, WithoutAPopupMenuNothingIsAllowed)
{
  AddLink(Panel, nullptr);
  ContextMenuAt(Panel, Point(5, 5));
  ASSERT_EQ(Actions.size(), 1u);
  EXPECT_FALSE(Actions[0].AllowPopup);
  EXPECT_TRUE(Popups.empty());
}

TEST_F(TLinksFixture, TheControlsOwnHandlerComesFirstAndMayTakeTheMenu)
{
  AddLink(Panel, Menu);
  int own = 0;
  bool take = true;
  Panel->OnContextPopup = TContextPopupEvent([&](TObject* Sender, TPoint, bool& Handled) {
    ++own;
    EXPECT_EQ(Sender, Panel);
    EXPECT_TRUE(Actions.empty() || !take);
    Handled = take;
  });
  ContextMenuAt(Panel, Point(5, 5));
  EXPECT_EQ(own, 1);
  EXPECT_TRUE(Actions.empty());
  take = false;
  ContextMenuAt(Panel, Point(5, 5));
  EXPECT_EQ(own, 2);
  EXPECT_EQ(Actions.size(), 1u);
  EXPECT_TRUE(Panel->OnContextPopup.Assigned());  // given back, not lost
}

TEST_F(TLinksFixture, ChildrenTakePartOnlyWithProcessChildren)
{
  TdxBarPopupMenuLink* link = AddLink(Panel, Menu);
  link->SetProcessChildren(false);
  // A context menu of the child window comes up to the panel from the child's default.
  TPoint inChild = Child->ClientToScreen(Point(5, 5));
  SendMessageW(Child->GetHandle(), WM_CONTEXTMENU, WPARAM(Child->GetHandle()), MAKELPARAM(inChild.x, inChild.y));
  EXPECT_TRUE(Actions.empty());
  ContextMenuAt(Panel, Point(5, 5));  // beside the child it is the panel's
  EXPECT_EQ(Actions.size(), 1u);

  link->SetProcessChildren(true);
  SendMessageW(Child->GetHandle(), WM_CONTEXTMENU, WPARAM(Child->GetHandle()), MAKELPARAM(inChild.x, inChild.y));
  ASSERT_EQ(Actions.size(), 2u);
  EXPECT_EQ(Actions[1].X, Child->GetLeft() + 5);
  EXPECT_EQ(Actions[1].Y, Child->GetTop() + 5);
}

TEST_F(TLinksFixture, ARealRightClickOpensTheLinkedMenu)
{
  AddLink(Panel, Menu);
  Form()->Show();
  ASSERT_TRUE(ActivateWindow(Form()->GetHandle()));
  TPoint target = Panel->ClientToScreen(Point(40, 30));
  ASSERT_TRUE(ClickAt({target.x, target.y}, TInputButton::Right));
  EXPECT_TRUE(PumpUntil([&] { return !Popups.empty(); }));
  ASSERT_EQ(Actions.size(), 1u);
  EXPECT_TRUE(Actions[0].ClickedByMouse);
  EXPECT_EQ(Actions[0].X, 40);
  EXPECT_EQ(Actions[0].Y, 30);
  ASSERT_EQ(Popups.size(), 1u);
  EXPECT_EQ(Popups[0].ScreenPos.x, target.x);
  EXPECT_EQ(Popups[0].ScreenPos.y, target.y);
}

TEST_F(TLinksFixture, ALinkOnAControlOfAnotherFormKeepsNoControl)
{
  TOwned<TImagesTestForm> otherForm(NewImagesForm());
  auto* foreign = new TLinkPanel(otherForm.Get());
  foreign->SetParent(otherForm.Get());
  TWndMethod foreignProc = foreign->GetWindowProc();
  TdxBarPopupMenuLink* link = AddLink(foreign, Menu);
  EXPECT_EQ(link->GetControl(), nullptr);
  EXPECT_TRUE(IsOwnProc(foreign, foreignProc));
  // The form itself is inside: a link may serve the whole form.
  link->SetControl(Form());
  EXPECT_EQ(link->GetControl(), Form());
}

TEST_F(TLinksFixture, ClearingOrChangingTheControlGivesTheProcedureBack)
{
  LONG_PTR systemProc = GetWindowLongPtrW(Panel->GetHandle(), GWLP_WNDPROC);
  TdxBarPopupMenuLink* link = AddLink(Panel, Menu);
  EXPECT_FALSE(IsOwnProc(Panel, PanelProc));
  // The hook lives in the control's WindowProc; the window's own procedure stays.
  EXPECT_EQ(GetWindowLongPtrW(Panel->GetHandle(), GWLP_WNDPROC), systemProc);

  link->SetControl(Other);
  EXPECT_TRUE(IsOwnProc(Panel, PanelProc));
  EXPECT_FALSE(IsOwnProc(Other, OtherProc));
  ContextMenuAt(Panel, Point(5, 5));
  EXPECT_TRUE(Actions.empty());
  ContextMenuAt(Other, Point(5, 5));
  EXPECT_EQ(Actions.size(), 1u);

  link->SetControl(nullptr);
  EXPECT_TRUE(IsOwnProc(Other, OtherProc));
  ContextMenuAt(Other, Point(5, 5));
  EXPECT_EQ(Actions.size(), 1u);
  EXPECT_EQ(GetWindowLongPtrW(Panel->GetHandle(), GWLP_WNDPROC), systemProc);
}

TEST_F(TLinksFixture, DeletingTheLinkOrFreeingTheManagerGivesTheProcedureBack)
{
  int hookedBefore = dxBarHookedControlCount();
  AddLink(Panel, Menu);
  AddLink(Other, Menu);
  EXPECT_EQ(dxBarHookedControlCount(), hookedBefore + 2);
  Links->Delete(0);
  EXPECT_TRUE(IsOwnProc(Panel, PanelProc));
  ContextMenuAt(Panel, Point(5, 5));
  EXPECT_TRUE(Actions.empty());

  Manager->Free();
  EXPECT_TRUE(IsOwnProc(Other, OtherProc));
  EXPECT_EQ(dxBarHookedControlCount(), hookedBefore);
  ContextMenuAt(Other, Point(5, 5));
  EXPECT_TRUE(Actions.empty());
}

TEST_F(TLinksFixture, FreeingTheControlGivesTheProcedureBack)
{
  int hookedBefore = dxBarHookedControlCount();
  auto* dying = new TDyingPanel(Form());
  dying->SetParent(Form());
  TWndMethod ownProc = dying->GetWindowProc();
  TWndMethod atDestruction;
  dying->ProcAtDestruction = &atDestruction;
  TdxBarPopupMenuLink* first = AddLink(dying, Menu);
  TdxBarPopupMenuLink* second = AddLink(dying, nullptr);
  dying->GetHandle();
  dying->Free();
  EXPECT_TRUE(atDestruction == ownProc);
  EXPECT_EQ(first->GetControl(), nullptr);
  EXPECT_EQ(second->GetControl(), nullptr);
  EXPECT_EQ(dxBarHookedControlCount(), hookedBefore);
}

TEST_F(TLinksFixture, TwoLinksOnOneControlUnhookInEitherOrder)
{
  for (bool firstGoesFirst : {true, false}) {
    Actions.clear();
    TdxBarPopupMenuLink* a = AddLink(Panel, Menu);
    TdxBarPopupMenuLink* b = AddLink(Panel, Menu);
    // The newer link is asked first; when it refuses, the older one still gets the menu.
    Refuse = b;
    ContextMenuAt(Panel, Point(5, 5));
    ASSERT_EQ(Actions.size(), 2u);
    EXPECT_EQ(Actions[0].Link, b);
    EXPECT_EQ(Actions[1].Link, a);
    Refuse = nullptr;

    TdxBarPopupMenuLink* gone = firstGoesFirst ? a : b;
    TdxBarPopupMenuLink* stays = firstGoesFirst ? b : a;
    gone->SetControl(nullptr);
    EXPECT_FALSE(IsOwnProc(Panel, PanelProc));
    Actions.clear();
    ContextMenuAt(Panel, Point(5, 5));
    ASSERT_EQ(Actions.size(), 1u);
    EXPECT_EQ(Actions[0].Link, stays);

    delete stays;
    EXPECT_TRUE(IsOwnProc(Panel, PanelProc));
    Actions.clear();
    ContextMenuAt(Panel, Point(5, 5));
    EXPECT_TRUE(Actions.empty());
    delete gone;
    EXPECT_EQ(Links->Count(), 0);
  }
}

TEST_F(TLinksFixture, AProcedurePutAboveTheHookKeepsTheChainWhole)
{
  TdxBarPopupMenuLink* link = AddLink(Panel, Menu);
  // Someone else subclasses the control after the link, keeping the link's hook as the
  // procedure to call on.
  TWndMethod below = Panel->GetWindowProc();
  int seen = 0;
  Panel->SetWindowProc(TWndMethod([&](TMessage& M) {
    if (M.Msg == WM_CONTEXTMENU)
      ++seen;
    below(M);
  }));
  link->SetControl(nullptr);  // cannot take itself out: it passes everything on
  EXPECT_FALSE(IsOwnProc(Panel, PanelProc));
  ContextMenuAt(Panel, Point(5, 5));
  EXPECT_EQ(seen, 1);
  EXPECT_TRUE(Actions.empty());
  Panel->SetText(L"still reaches the control");
  EXPECT_EQ(Panel->GetText(), L"still reaches the control");

  // A new link hooks in above the other procedure and is taken out cleanly.
  TWndMethod foreign = Panel->GetWindowProc();
  link->SetControl(Panel);
  ContextMenuAt(Panel, Point(5, 5));
  EXPECT_EQ(Actions.size(), 1u);
  EXPECT_EQ(seen, 2);
  link->SetControl(nullptr);
  EXPECT_TRUE(Panel->GetWindowProc() == foreign);
  Panel->SetWindowProc(below);  // the other one leaves as it came
  ContextMenuAt(Panel, Point(5, 5));
  EXPECT_EQ(Actions.size(), 1u);
}

TEST_F(TLinksFixture, ALinkDeletedByItsOwnActionLeavesNothingBehind)
{
  TdxBarPopupMenuLink* link = AddLink(Panel, Menu);
  link->OnAction =
      TdxBarPopupMenuLinkActionEvent([](TdxBarPopupMenuLink* Sender, int&, int&, bool, bool&) { delete Sender; });
  EXPECT_EQ(ContextMenuAt(Panel, Point(5, 5)), 0);
  EXPECT_EQ(Links->Count(), 0);
  EXPECT_TRUE(IsOwnProc(Panel, PanelProc));
  EXPECT_TRUE(Popups.empty());
  EXPECT_FALSE(Panel->OnContextPopup.Assigned());
}

TEST_F(TLinksFixture, AssignFindsControlAndMenuByNameOnThisManagersForm)
{
  Panel->SetName(L"Panel1");
  Menu->SetName(L"Menu1");
  TdxBarPopupMenuLink* source = AddLink(Panel, Menu);
  source->SetProcessChildren(false);
  TdxBarPopupMenuLink* formLink = AddLink(Form(), nullptr);

  TOwned<TImagesTestForm> second(NewImagesForm());
  auto* panel2 = new TLinkPanel(second.Get());
  panel2->SetName(L"Panel1");
  panel2->SetParent(second.Get());
  auto* menu2 = new TFakePopupMenu(second.Get());
  menu2->SetName(L"Menu1");
  auto* manager2 = new TdxBarManager(second.Get());
  manager2->SetPopupMenuLinks(Links);
  TdxBarPopupMenuLinks* copied = manager2->GetPopupMenuLinks();
  ASSERT_EQ(copied->Count(), 2);
  EXPECT_EQ(copied->GetItem(0)->GetControl(), panel2);
  EXPECT_EQ(copied->GetItem(0)->GetPopupMenu(), menu2);
  EXPECT_FALSE(copied->GetItem(0)->GetProcessChildren());
  EXPECT_EQ(copied->GetItem(1)->GetControl(), second.Get());
  EXPECT_EQ(formLink->GetControl(), Form());
  EXPECT_EQ(source->GetControl(), Panel);  // the source keeps its own
}

TEST_F(TLinksFixture, ShortCutsAskTheFocusedControlsLinksThenTheContainers)
{
  TShortCut ctrlK = TShortCut(scCtrl | 'K');
  auto* menu2 = new TFakePopupMenu(Form());
  TdxBarPopupMenuLink* onPanel = AddLink(Panel, Menu);
  TdxBarPopupMenuLink* onChild = AddLink(Child, menu2);
  ShortCutMenu = Menu;
  EXPECT_TRUE(Links->ProcessShortCut(Child, ctrlK));
  ASSERT_EQ(Actions.size(), 2u);
  EXPECT_EQ(Actions[0].Link, onChild);  // the focused control's own link first
  EXPECT_EQ(Actions[1].Link, onPanel);
  EXPECT_FALSE(Actions[0].ClickedByMouse);
  EXPECT_EQ(Actions[0].X, -1);
  EXPECT_EQ(Actions[0].Y, -1);
  EXPECT_EQ(ShortCuts, (std::vector<TShortCut>{ctrlK, ctrlK}));

  onPanel->SetProcessChildren(false);
  Actions.clear();
  EXPECT_FALSE(Links->ProcessShortCut(Child, ctrlK));
  EXPECT_EQ(Actions.size(), 1u);

  // A refused link does not look at its menu.
  Refuse = onPanel;
  ShortCuts.clear();
  EXPECT_FALSE(Links->ProcessShortCut(Panel, ctrlK));
  EXPECT_TRUE(ShortCuts.empty());
}

TEST_F(TLinksFixture, ShortCutsGoOutToTheManagerOfTheEnclosingWindow)
{
  TShortCut ctrlK = TShortCut(scCtrl | 'K');
  AddLink(Panel, Menu);
  ShortCutMenu = Menu;
  // A manager serving the other panel, which lies on the form with its own manager.
  auto* inner = new TdxBarManager(Other);
  auto* innerChild = new TLinkPanel(Form());
  innerChild->SetParent(Other);
  EXPECT_FALSE(dxBarProcessPopupMenuLinksShortCut(inner, innerChild, ctrlK));
  EXPECT_TRUE(Actions.empty());  // the outer link is not for this control

  EXPECT_TRUE(dxBarProcessPopupMenuLinksShortCut(inner, Panel, ctrlK));
  EXPECT_EQ(Actions.size(), 1u);
}
