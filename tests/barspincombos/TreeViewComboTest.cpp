// The tree-view combo: its text and selected node kept in step, deleted nodes, stored nodes
// and text, the real tree it drops down (chosen by mouse and keys, refused by the handler,
// closed by its button, sized by its grip down to its minimum), in a menu and in the select
// window.
#include <cstring>

#include "ExtrasTestUtil.h"
#include "support/FormRoundTrip.h"
#include "support/Pixels.h"

namespace {

// Alpha (Beta, Gamma (Delta)), Epsilon, and a second "alpha" deeper down.
void FillTree(TTreeNodes* ANodes)
{
  TTreeNode* alpha = ANodes->AddChild(nullptr, L"Alpha");
  ANodes->AddChild(alpha, L"Beta");
  TTreeNode* gamma = ANodes->AddChild(alpha, L"Gamma");
  ANodes->AddChild(gamma, L"Delta");
  TTreeNode* epsilon = ANodes->AddChild(nullptr, L"Epsilon");
  ANodes->AddChild(epsilon, L"alpha");
}

class TTreeComboModel : public testing::Test {
protected:
  void SetUp() override { FillTree(Combo->GetItems()); }
  TTreeNode* Node(int AIndex) const { return Combo->GetItems()->GetItem(AIndex); }

  TOwned<TComponent> Owner{new TComponent(nullptr)};
  TdxBarTreeViewCombo* Combo{new TdxBarTreeViewCombo(Owner.Get())};
};

TEST_F(TTreeComboModel, TextSelectsTheFirstNodeOfThatTextIgnoringCase)
{
  Combo->SetText(L"ALPHA");
  EXPECT_EQ(Combo->GetSelectedNode(), Node(0)) << "depth first: the top Alpha before the deeper alpha";
  EXPECT_EQ(Combo->GetText(), L"ALPHA") << "the text keeps its own case";
  Combo->SetText(L"delta");
  EXPECT_EQ(Combo->GetSelectedNode(), Node(3));
  Combo->SetText(L"Zeta");
  EXPECT_EQ(Combo->GetSelectedNode(), nullptr);
  int changes = 0;
  Combo->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  Combo->SetSelectedNode(Node(1));
  EXPECT_EQ(Combo->GetText(), L"Beta");
  EXPECT_EQ(changes, 1);
  Combo->SetSelectedNode(nullptr);
  EXPECT_EQ(Combo->GetText(), L"");
}

TEST_F(TTreeComboModel, DeletingTheSelectedNodeOrItsParentClearsTheSelectionButNotTheText)
{
  Combo->SetText(L"Delta");
  ASSERT_EQ(Combo->GetSelectedNode(), Node(3));
  Node(2)->Delete();  // Gamma, Delta's parent
  EXPECT_EQ(Combo->GetSelectedNode(), nullptr);
  EXPECT_EQ(Combo->GetText(), L"Delta");
  EXPECT_EQ(Combo->GetItems()->GetCount(), 4);
  Combo->SetText(L"Beta");
  Combo->GetItems()->Clear();
  EXPECT_EQ(Combo->GetSelectedNode(), nullptr);
  EXPECT_EQ(Combo->GetText(), L"Beta");
}

TEST(TreeView, RemakingTheWindowKeepsNodesImagesAndSelection)
{
  TOwned<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* tree = new TTreeView(form.Get());
  tree->SetParent(form.Get());
  FillTree(tree->GetItems());
  tree->GetItems()->GetItem(4)->SetImageIndex(2);
  form->Show();
  tree->GetItems()->GetItem(0)->Expand(false);
  tree->SetSelected(tree->GetItems()->GetItem(2));
  tree->SetShowLines(false);  // remakes the window
  EXPECT_EQ(::SendMessageW(tree->GetHandle(), TVM_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(tree->GetSelected(), tree->GetItems()->GetItem(2));
  EXPECT_TRUE(tree->GetItems()->GetItem(0)->GetExpanded());
  EXPECT_EQ(tree->GetItems()->GetItem(4)->GetImageIndex(), 2);
  tree->GetItems()->AddChild(tree->GetItems()->GetItem(0), L"Aardvark");
  tree->SetSortType(stText);
  EXPECT_EQ(tree->GetItems()->GetItem(1)->GetText(), L"Aardvark") << "sorted within each level";
  tree->GetItems()->AddChild(nullptr, L"Beta");
  EXPECT_EQ(tree->GetItems()->GetFirstNode()->GetNextSibling()->GetText(), L"Beta") << "added in order";
  TVITEMW item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  wchar_t text[16] = {};
  item.hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree->GetHandle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
  item.hItem =
      reinterpret_cast<HTREEITEM>(::SendMessageW(tree->GetHandle(), TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(item.hItem)));
  item.pszText = text;
  item.cchTextMax = 16;
  ::SendMessageW(tree->GetHandle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, L"Beta") << "the window shows the model's order";
}

TEST(TreeComboFormData, NodesAndTextSurviveARoundTripAndBadLevelsAreMended)
{
  const String text =
      LR"(object TreeForm: TSpinTestForm
  object dxBarManager1: TdxBarManager
    object Tree1: TdxBarTreeViewCombo
      Category = 0
      Text = 'gamma'
      ChooseByDblClick = False
      Items.Nodes = (
        0
        'Alpha'
        1
        2
        -1
        5
        'Gamma'
        -1
        -1
        -1
        0
        'Beta'
        -1
        -1
        -1)
    end
  end
end
)";
  ExpectFormRoundTrip<TSpinTestForm>(text, [](TComponent* AForm) {
    auto* combo = Find<TdxBarTreeViewCombo>(AForm, L"Tree1");
    ASSERT_NE(combo, nullptr);
    TTreeNodes* nodes = combo->GetItems();
    ASSERT_EQ(nodes->GetCount(), 3);
    EXPECT_EQ(nodes->GetItem(1)->GetParent(), nodes->GetItem(0)) << "level 5 after level 0 is read as 1";
    EXPECT_EQ(nodes->GetItem(0)->GetImageIndex(), 1);
    EXPECT_EQ(nodes->GetItem(0)->GetSelectedIndex(), 2);
    EXPECT_EQ(combo->GetSelectedNode(), nodes->GetItem(1)) << "the text waited for the nodes";
    EXPECT_EQ(combo->GetText(), L"gamma");
    EXPECT_FALSE(combo->GetChooseByDblClick());
  });
}

// --- On a form.

class TTreeComboOnBars : public TSpinFixture {
protected:
  void SetUp() override
  {
    TSpinFixture::SetUp();
    Combo = new TdxBarTreeViewCombo(Host.Form());
    Combo->SetWidth(120);
    FillTree(Combo->GetItems());
    Combo->SetFullExpand(true);
    Bar->GetItemLinks()->AddItem(Combo);
    Sub->GetItemLinks()->AddItem(Combo);
    PumpPending();
  }
  TdxBarTreeViewComboControl* ToolbarCombo() const
  {
    return dynamic_cast<TdxBarTreeViewComboControl*>(Bar->GetItemLinks()->Items(2)->GetControl());
  }
  TdxBarTreeViewComboControl* MenuCombo() const
  {
    return dynamic_cast<TdxBarTreeViewComboControl*>(Sub->GetItemLinks()->Items(1)->GetControl());
  }
  HWND Tree() const { return Combo->GetTreeView()->HandleAllocated() ? Combo->GetTreeView()->GetHandle() : nullptr; }
  bool TreeShown() const { return Tree() && ::IsWindowVisible(Tree()); }
  bool DropDown(TdxBarTreeViewComboControl* AControl)
  {
    return AControl && ClickAt(ScreenCentreOf(AControl, AControl->GetDropDownRect())) &&
           PumpUntil([&] { return TreeShown(); });
  }
  // The screen centre of a node's text in the tree.
  POINT NodeCenter(int AIndex) const
  {
    RECT r{};
    // The message takes the item in the rectangle's first bytes.
    const HTREEITEM id = Combo->GetItems()->GetItem(AIndex)->GetItemId();
    std::memcpy(&r, &id, sizeof id);
    ::SendMessageW(Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return ScreenCentreOf(Tree(), r);
  }

  TdxBarTreeViewCombo* Combo = nullptr;
};

TEST_F(TTreeComboOnBars, ARealTreeDropsDownAndADoubleClickChoosesANode)
{
  ASSERT_TRUE(DropDown(ToolbarCombo()));
  EXPECT_EQ(::SendMessageW(Tree(), TVM_GETCOUNT, 0, 0), 6) << "a real tree view holds the nodes";
  EXPECT_TRUE(::GetWindowLongPtrW(Tree(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Combo->GetTreeView()->GetSelected(), Combo->GetItems()->GetFirstNode()) << "the first node by default";
  SaveShotOnRequest(CaptureScreen(RECT{100, 100, 500, 500}), "treecombo-dropped");
  ASSERT_TRUE(ClickAt(NodeCenter(3)));
  EXPECT_TRUE(TreeShown()) << "a single click only selects";
  EXPECT_EQ(Combo->GetTreeView()->GetSelected(), Combo->GetItems()->GetItem(3));
  ASSERT_TRUE(DoubleClickAt(NodeCenter(3)));
  ASSERT_TRUE(PumpUntil([&] { return !TreeShown(); }));
  EXPECT_EQ(Combo->GetText(), L"Delta");
  EXPECT_EQ(Combo->GetSelectedNode(), Combo->GetItems()->GetItem(3));
  EXPECT_FALSE(ToolbarCombo()->GetFocused()) << "choosing ends editing";
}

TEST_F(TTreeComboOnBars, WithoutDoubleClicksARelease_Chooses_AndKeysChooseWithEnter)
{
  Combo->SetChooseByDblClick(false);
  ASSERT_TRUE(DropDown(ToolbarCombo()));
  ASSERT_TRUE(ClickAt(NodeCenter(4)));
  ASSERT_TRUE(PumpUntil([&] { return !TreeShown(); }));
  EXPECT_EQ(Combo->GetText(), L"Epsilon");
  ASSERT_TRUE(DropDown(ToolbarCombo()));
  EXPECT_EQ(Combo->GetTreeView()->GetSelected(), Combo->GetItems()->GetItem(4)) << "opens on the chosen node";
  Key(VK_DOWN);
  Key(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !TreeShown(); }));
  EXPECT_EQ(Combo->GetText(), L"alpha");
}

TEST_F(TTreeComboOnBars, ARefusedNodeKeepsTheDropDownOpenAndTheTextAsItWas)
{
  Combo->SetText(L"Beta");
  Combo->OnCanSelectNode = TdxBarTreeViewComboCanSelectNodeEvent(
      [](TObject*, TTreeNode* ANode, bool& ACanSelect) { ACanSelect = !ANode->HasChildren(); });
  ASSERT_TRUE(DropDown(ToolbarCombo()));
  Key(VK_UP);  // Alpha, which has children
  Key(VK_RETURN);
  PumpFor(200);
  EXPECT_TRUE(TreeShown());
  EXPECT_EQ(Combo->GetText(), L"Beta");
  ASSERT_TRUE(DoubleClickAt(NodeCenter(0)));
  PumpFor(200);
  EXPECT_TRUE(TreeShown()) << "a double click is refused too";
  Key(VK_ESCAPE);
  EXPECT_EQ(Combo->GetText(), L"Beta");
}

TEST_F(TTreeComboOnBars, TheCloseButtonClosesAndTheGripStopsAtTheMinimumSize)
{
  ASSERT_TRUE(DropDown(ToolbarCombo()));
  TdxBarTreeView* tree = Combo->GetTreeView();
  MINMAXINFO info{};
  ::SendMessageW(Tree(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_GE(info.ptMinTrackSize.x, 100);
  EXPECT_GE(info.ptMinTrackSize.y, 100);
  RECT window{};
  ::GetWindowRect(Tree(), &window);
  const TRect grip = tree->GetSizableParts().Grip;
  ASSERT_FALSE(IsRectEmpty(grip));
  const POINT gripAt{window.left + (grip.left + grip.right) / 2, window.top + (grip.top + grip.bottom) / 2};
  EXPECT_EQ(::SendMessageW(Tree(), WM_NCHITTEST, 0, MAKELPARAM(gripAt.x, gripAt.y)), HTBOTTOMRIGHT);
  // Dragged far up and left, the drop-down shrinks to 100 x 100 and no further.
  ASSERT_TRUE(MoveMouseTo(gripAt));
  ASSERT_TRUE(MouseButtonDown());
  ASSERT_TRUE(MoveMouseTo(POINT{gripAt.x - 30, gripAt.y - 40}));
  RECT r{};
  ::GetWindowRect(Tree(), &r);
  EXPECT_EQ(r.right - r.left, window.right - window.left - 30);
  EXPECT_EQ(r.bottom - r.top, window.bottom - window.top - 40);
  ASSERT_TRUE(MoveMouseTo(POINT{window.left - 50, window.top - 50}));
  ASSERT_TRUE(MouseButtonUp());
  ::GetWindowRect(Tree(), &r);
  EXPECT_EQ(r.right - r.left, 100);
  EXPECT_EQ(r.bottom - r.top, 100);
  EXPECT_EQ(r.left, window.left) << "the corner away from the grip stays";
  EXPECT_TRUE(TreeShown());
  const TRect close = tree->GetSizableParts().CloseButton;
  ASSERT_FALSE(IsRectEmpty(close));
  ASSERT_TRUE(ClickAt(POINT{r.left + (close.left + close.right) / 2, r.top + (close.top + close.bottom) / 2}));
  ASSERT_TRUE(PumpUntil([&] { return !TreeShown(); }));
  EXPECT_EQ(Combo->GetText(), L"");
}

TEST_F(TTreeComboOnBars, EscF4TheButtonAndAClickElsewhereCloseTheTreeWithoutChoosing)
{
  Combo->SetText(L"Beta");
  TdxBarTreeViewComboControl* control = ToolbarCombo();
  ASSERT_TRUE(DropDown(control));
  Key(VK_DOWN);
  Key(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !TreeShown(); }));
  ASSERT_TRUE(DropDown(control));
  Key(VK_DOWN);
  Key(VK_F4);
  ASSERT_TRUE(PumpUntil([&] { return !TreeShown(); }));
  ASSERT_TRUE(DropDown(control));
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control, control->GetDropDownRect())));
  ASSERT_TRUE(PumpUntil([&] { return !TreeShown(); }));
  ASSERT_TRUE(DropDown(control));
  RECT other{};
  ::GetWindowRect(FormEdit->GetHandle(), &other);
  ASSERT_TRUE(ClickAt(POINT{(other.left + other.right) / 2, (other.top + other.bottom) / 2}));
  ASSERT_TRUE(PumpUntil([&] { return !TreeShown(); }));
  EXPECT_EQ(Combo->GetText(), L"Beta") << "no route but choosing changes the text";
  EXPECT_EQ(Combo->GetSelectedNode(), Combo->GetItems()->GetItem(1));
  // And the tree opens again afterwards, on the node of the text.
  ASSERT_TRUE(DropDown(control));
  EXPECT_EQ(Combo->GetTreeView()->GetSelected(), Combo->GetItems()->GetItem(1));
  Key(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !TreeShown(); }));
}

TEST_F(TTreeComboOnBars, InAMenuChoosingClosesTheMenu)
{
  ASSERT_TRUE(OpenMenu());
  ASSERT_TRUE(DropDown(MenuCombo()));
  ASSERT_TRUE(DoubleClickAt(NodeCenter(1)));
  ASSERT_TRUE(PumpUntil([&] { return !TreeShown(); }));
  EXPECT_EQ(Combo->GetText(), L"Beta");
  EXPECT_TRUE(PumpUntil([&] { return ActiveBarControl() == nullptr; })) << "the menu closed";
}

TEST_F(TTreeComboOnBars, ImagesInTheEditMakeTheControlTallAndShowTheNodeImage)
{
  TImageList* images = MakeColorImages(Host.Form(), 24, {clRed, clBlue});
  Combo->GetItems()->GetItem(1)->SetImageIndex(1);
  Combo->SetComboImages(images);
  PumpPending();
  TdxBarTreeViewComboControl* control = ToolbarCombo();
  ASSERT_NE(control, nullptr);
  EXPECT_GE(control->GetHeight(), 30);
  Combo->SetText(L"Beta");
  PumpPending();
  const TRect r = control->GetParent()->GetItemScreenRect(control);
  const TDib32 shot = CaptureScreen(RECT{r.left, r.top, r.right, r.bottom});
  SaveShotOnRequest(shot, "treecombo-edit");
  EXPECT_GT(CountPixelsNear(shot, RECT{0, 0, shot.Width(), shot.Height()}, RGB(0, 0, 255), 30), 200);
  Combo->SetShowImageInEdit(false);
  PumpPending();
  EXPECT_LT(ToolbarCombo()->GetHeight(), 30);
}

TEST_F(TTreeComboOnBars, TheSelectWindowChoosesByKeysAndRefusesWhatTheHandlerRefuses)
{
  Combo->SetText(L"Gamma");
  bool chosen = false;
  RunWithHelperThread([&] { chosen = Combo->SelectItem(); },
                      [] {
                        SendKeyStroke(VK_DOWN);
                        PauseScript(100);
                        SendKeyStroke(VK_RETURN);
                        CancelSelectWindowIfOpen();
                      },
                      400);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(Combo->GetText(), L"Delta");
  EXPECT_EQ(Combo->GetSelectedNode(), Combo->GetItems()->GetItem(3));
  Combo->OnCanSelectNode =
      TdxBarTreeViewComboCanSelectNodeEvent([](TObject*, TTreeNode*, bool& ACanSelect) { ACanSelect = false; });
  RunWithHelperThread([&] { chosen = Combo->SelectItem(); },
                      [] {
                        SendKeyStroke(VK_UP);
                        PauseScript(100);
                        SendKeyTransition(VK_RETURN, true);  // refused: the window stays
                        SendKeyTransition(VK_RETURN, false);
                        PauseScript(200);
                        SendKeyStroke(VK_ESCAPE);
                      },
                      400);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(Combo->GetText(), L"Delta");
}

}  // namespace

namespace {

TEST_F(TTreeComboOnBars, FreeingTheComboWhileItsTreeIsOpenLeavesNothingBehind)
{
  ASSERT_TRUE(DropDown(ToolbarCombo()));
  HWND tree = Tree();
  TWeakRef<TdxBarTreeView> treeView(Combo->GetTreeView());
  Combo->Free();
  Combo = nullptr;
  PumpPending();
  EXPECT_FALSE(treeView);
  EXPECT_FALSE(::IsWindow(tree));
  EXPECT_EQ(Bar->GetItemLinks()->Count(), 2) << "the link went with the item";
}

}  // namespace

namespace {

TEST(TreeView, HandlersOrderTheNodesAndChooseTheirImagesAsTheyAreDrawn)
{
  TOwned<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* tree = new TTreeView(form.Get());
  tree->SetParent(form.Get());
  tree->SetImages(MakeColorImages(form.Get(), 16, {clRed, clBlue}));
  // Longest text first.
  tree->OnCompare = TTVCompareEvent([](TObject*, TTreeNode* A, TTreeNode* B, int, int& ACompare) {
    ACompare = int(B->GetText().size()) - int(A->GetText().size());
  });
  tree->SetSortType(stData);
  for (const wchar_t* text : {L"ab", L"abcd", L"a", L"abc"})
    tree->GetItems()->AddChild(nullptr, text);
  std::vector<String> order;
  for (TTreeNode* node = tree->GetItems()->GetFirstNode(); node; node = node->GetNext())
    order.push_back(node->GetText());
  EXPECT_EQ(order, (std::vector<String>{L"abcd", L"abc", L"ab", L"a"}));
  int asked = 0;
  // The handler passes through another value on its way, as handlers that reset first do.
  tree->OnGetImageIndex = TTVExpandedEvent([&](TObject*, TTreeNode* ANode) {
    ++asked;
    ANode->SetImageIndex(0);
    ANode->SetImageIndex(1);
  });
  form->SetBounds(100, 100, 200, 200);
  form->Show();
  PumpPending();
  ::UpdateWindow(tree->GetHandle());
  EXPECT_GT(asked, 0) << "the window asks as it draws";
  const int settled = asked;
  PumpFor(300);
  EXPECT_EQ(asked, settled) << "an image set by the handler does not make the window draw and ask again";
  EXPECT_EQ(tree->GetItems()->GetItem(2)->GetImageIndex(), 1);
  const TDib32 shot = CaptureWindow(tree->GetHandle());
  EXPECT_GT(CountPixelsNear(shot, RECT{0, 0, shot.Width(), shot.Height()}, RGB(0, 0, 255), 30), 100)
      << "the chosen image shows";
}

}  // namespace

// The combo freed while its select window runs its loop: the window is closed by the user and
// the call answers that nothing was chosen, touching nothing of the freed combo.
TEST_F(TTreeComboOnBars, TheComboFreedWhileItsSelectWindowIsOpenEndsThatCallQuietly)
{
  static TdxBarTreeViewCombo* doomed = nullptr;
  doomed = Combo;
  TWeakRef<TdxBarTreeViewCombo> combo(Combo);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR AId, DWORD) {
    ::KillTimer(nullptr, AId);
    if (doomed)
      doomed->Free();
    doomed = nullptr;
  });
  ASSERT_NE(timer, 0u);
  bool chosen = true;
  RunWithHelperThread([&] { chosen = combo->SelectItem(); }, [] { CancelSelectWindowIfOpen(); }, 400);
  Combo = nullptr;
  EXPECT_FALSE(chosen);
  EXPECT_FALSE(combo.Alive());
  EXPECT_EQ(::FindWindowW(nullptr, L"Select item"), nullptr);
}
