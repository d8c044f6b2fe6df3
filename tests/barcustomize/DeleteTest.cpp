// Delete, Ctrl+Delete and Esc on the selection while customizing, with real keys, and the
// several-links question answered on the real message box.
#include "DesignTestUtil.h"

#include "support/Input.h"
#include "support/Pump.h"

namespace {

class TDeleteSelectionTest : public TDesignFixture {
protected:
  // Selects a link by a real press (a release before the drag distance).
  void Select(TdxBarItemLink* ALink)
  {
    ASSERT_TRUE(ClickAt(ScreenCentreOf(ALink)));
    PumpPending();
    ASSERT_EQ(Controller->GetSelectedObject(), ALink);
  }
  int LinkCount(const wchar_t* ABar) const { return Bar(ABar)->GetItemLinks()->Count(); }
  // Selects the link of btnShared on "Standard" (the item has a second link on "Tools") and
  // presses Delete; AWhileUp runs while the real question is up, then Yes is pressed. A
  // use of what AWhileUp freed ends the program (the vectored handler of every test program).
  void DeleteWhileTheQuestionIsUp(const std::function<void()>& AWhileUp)
  {
    Select(LinkOf(L"Standard", 2));
    // Over the form, which the box disables; the dialog stays enabled.
    ASSERT_TRUE(ActivateWindow(Form->GetHandle()));
    TMessageBoxAnswerer answer(IDYES, [&](HWND) { AWhileUp(); });
    Key(VK_DELETE);
    EXPECT_EQ(answer.Boxes().size(), 1u);
    PumpPending();
  }
  // The fixture's form and manager went with it.
  void Forget()
  {
    Manager = nullptr;
    Form = nullptr;
  }
};

TEST_F(TDeleteSelectionTest, DeleteRemovesTheSelectedLinkAndHandsItsGroupMarkOn)
{
  TdxBarItemLink* save = LinkOf(L"Standard", 1);
  save->SetBeginGroup(true);
  Select(save);
  TMessageBoxAnswerer answer(IDNO);
  Key(VK_DELETE);
  EXPECT_TRUE(answer.Boxes().empty()) << "an item with one link is not asked about";
  ASSERT_EQ(LinkCount(L"Standard"), 3);
  EXPECT_EQ(LinkOf(L"Standard", 1)->GetItem(), Item(L"btnShared"));
  EXPECT_TRUE(LinkOf(L"Standard", 1)->GetBeginGroup()) << "the group mark passes to the next link";
  EXPECT_NE(Item(L"btnSave"), nullptr) << "Delete keeps the item";
  EXPECT_EQ(Controller->GetSelectedObject(), nullptr);
  SaveChangeAndLoad([] {});
  EXPECT_EQ(LinkCount(L"Standard"), 3);
}

TEST_F(TDeleteSelectionTest, DeleteOfALinkWhoseItemHasMoreLinksAsksAndNoKeepsEverything)
{
  Select(LinkOf(L"Standard", 2));
  {
    TMessageBoxAnswerer answer(IDNO);
    Key(VK_DELETE);
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes()[0].Text,
              L"One of the selected objects is an item which has several links. Are you sure "
              L"you want to delete these links?");
    EXPECT_TRUE(answer.Boxes()[0].HasYes && answer.Boxes()[0].HasNo);
  }
  EXPECT_EQ(LinkCount(L"Standard"), 4);
  EXPECT_EQ(LinkCount(L"Tools"), 2);
  {
    TMessageBoxAnswerer answer(IDYES);
    Key(VK_DELETE);
    EXPECT_EQ(answer.Boxes().size(), 1u);
  }
  EXPECT_EQ(LinkCount(L"Standard"), 3);
  EXPECT_EQ(LinkCount(L"Tools"), 2) << "the other toolbar keeps its link";
  EXPECT_EQ(Item(L"btnShared")->GetLinkCount(), 1);
}

TEST_F(TDeleteSelectionTest, CtrlDeleteRemovesTheItemWithAllItsLinksAfterTheQuestion)
{
  Select(LinkOf(L"Tools", 0));
  {
    TMessageBoxAnswerer answer(IDNO);
    Key(VK_DELETE, {VK_CONTROL});
    EXPECT_EQ(answer.Boxes().size(), 1u);
  }
  ASSERT_NE(Item(L"btnShared"), nullptr);
  {
    TMessageBoxAnswerer answer(IDYES);
    Key(VK_DELETE, {VK_CONTROL});
    EXPECT_EQ(answer.Boxes().size(), 1u);
  }
  EXPECT_EQ(Item(L"btnShared"), nullptr);
  EXPECT_EQ(LinkCount(L"Standard"), 3);
  EXPECT_EQ(LinkCount(L"Tools"), 1);
  // Loading the layout saved before the item went costs only its links.
  SaveChangeAndLoad([] {});
  ASSERT_EQ(LinkCount(L"Tools"), 1);
  EXPECT_EQ(LinkOf(L"Tools", 0)->GetItem(), Item(L"btnFind"));
}

TEST_F(TDeleteSelectionTest, CtrlDeleteOfAnItemWithOneLinkAsksNothing)
{
  Select(LinkOf(L"Standard", 0));
  TMessageBoxAnswerer answer(IDNO);
  Key(VK_DELETE, {VK_CONTROL});
  EXPECT_TRUE(answer.Boxes().empty());
  EXPECT_EQ(Item(L"btnOpen"), nullptr);
  EXPECT_EQ(LinkCount(L"Standard"), 3);
}

TEST_F(TDeleteSelectionTest, DeleteEntryOfThePopupDeletesTheLink)
{
  TdxBarItemLink* find = LinkOf(L"Tools", 1);
  ASSERT_TRUE(RightClick(find));
  ASSERT_TRUE(ClickEntry(lcDelete));
  EXPECT_EQ(LinkCount(L"Tools"), 1);
  EXPECT_NE(Item(L"btnFind"), nullptr);
}

TEST_F(TDeleteSelectionTest, KeysDoNothingOutsideCustomizingOrWithAnotherFormActive)
{
  Select(LinkOf(L"Standard", 0));
  Manager->SetIsCustomizing(false);
  Key(VK_DELETE);
  EXPECT_EQ(LinkCount(L"Standard"), 4);
  Manager->SetIsCustomizing(true);
  // From the keyboard the manager's form must be the active window.
  TOwned<TForm> other(TCustomForm::CreateNew<TForm>(nullptr));
  other->SetBounds(700, 100, 200, 120);
  other->Show();
  ASSERT_TRUE(ActivateWindow(other->GetHandle()));
  EXPECT_FALSE(Controller->DeleteSelection(false));
  EXPECT_EQ(LinkCount(L"Standard"), 4);
}

TEST_F(TDeleteSelectionTest, EscHandsTheSelectionFromTheLinkToItsBar)
{
  Select(LinkOf(L"Tools", 1));
  Key(VK_ESCAPE);
  EXPECT_EQ(Controller->GetSelectedObject(), Bar(L"Tools"));
  EXPECT_EQ(Controller->GetSelectionState(LinkOf(L"Tools", 1)), TdxBarSelectionState::None);
  EXPECT_EQ(LinkCount(L"Tools"), 2);
  // Nothing is taken for a bar: Esc passes on.
  EXPECT_FALSE(Controller->EscapeSelection());
}

// While the several-links question is up the dialog, the form's other windows and timers
// run on: Yes acts on what is left of what was asked about, and on nothing else.
TEST_F(TDeleteSelectionTest, TheLinksBarFreedUnderTheQuestionLeavesTheItemsOtherLinks)
{
  TdxBarItem* shared = Item(L"btnShared");
  DeleteWhileTheQuestionIsUp([&] { Bar(L"Standard")->Free(); });
  EXPECT_EQ(Bar(L"Standard"), nullptr);
  ASSERT_EQ(Item(L"btnShared"), shared);
  EXPECT_EQ(shared->GetLinkCount(), 1);
  ASSERT_EQ(LinkCount(L"Tools"), 2) << "the other toolbar keeps its link";
  EXPECT_EQ(LinkOf(L"Tools", 0)->GetItem(), shared);
  EXPECT_EQ(Controller->GetSelectedObject(), nullptr);
}

TEST_F(TDeleteSelectionTest, TheItemFreedUnderTheQuestionLeavesTheOtherLinks)
{
  DeleteWhileTheQuestionIsUp([&] { Item(L"btnShared")->Free(); });
  EXPECT_EQ(Item(L"btnShared"), nullptr);
  EXPECT_EQ(LinkCount(L"Standard"), 3);
  ASSERT_EQ(LinkCount(L"Tools"), 1);
  EXPECT_EQ(LinkOf(L"Tools", 0)->GetItem(), Item(L"btnFind"));
  EXPECT_EQ(LinkOf(L"Standard", 2)->GetItem(), Item(L"FileItem"));
}

TEST_F(TDeleteSelectionTest, TheManagerFreedUnderTheQuestionIsNotTouched)
{
  DeleteWhileTheQuestionIsUp([&] {
    Manager->Free();
    Manager = nullptr;
  });
  ASSERT_NE(FormOwner->Get(), nullptr);
  EXPECT_EQ(Form->FindComponent(L"dxBarManager1"), nullptr);
  EXPECT_EQ(Controller->GetSelectedObject(), nullptr);
}

TEST_F(TDeleteSelectionTest, TheFormFreedUnderTheQuestionIsNotTouched)
{
  TWeakRef<TDesignForm> form(Form);
  DeleteWhileTheQuestionIsUp([&] {
    Form->Free();
    Forget();
  });
  EXPECT_FALSE(form);
  EXPECT_EQ(Controller->GetSelectedObject(), nullptr);
}

TEST_F(TDeleteSelectionTest, AFreedSelectionIsForgotten)
{
  Select(LinkOf(L"Standard", 1));
  Item(L"btnSave")->Free();
  EXPECT_EQ(Controller->GetSelectedObject(), nullptr);
  EXPECT_FALSE(Controller->DeleteSelection(false, false));
  EXPECT_EQ(LinkCount(L"Standard"), 3);
}

}  // namespace
