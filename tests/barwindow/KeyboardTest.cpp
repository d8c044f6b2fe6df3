// Keys of an active bar window: the selection table on a horizontal and a vertical bar,
// accelerators that only select or also run, and Alt and F10 closing the bar.
#include "BarWindowTestUtil.h"

#include "platform/Win.h"

namespace {

class TKeyboardTest : public TBarWindowFixture {
protected:
  // Links A, B (beginning a group) and C on a shown, active bar window.
  void MakeABC(bool AVertical)
  {
    Bar->Vertical = AVertical;
    A = AddLink(NewItem(L"A"));
    B = AddLink(NewItem(L"B"));
    B->SetBeginGroup(true);
    C = AddLink(NewItem(L"C"));
    ShowBar();
    Bar->ActivateWithControl(nullptr);
    ASSERT_EQ(ActiveBarControl(), Bar);
  }
  TdxBarItemLink* A = nullptr;
  TdxBarItemLink* B = nullptr;
  TdxBarItemLink* C = nullptr;

  // One key pressed with the selection on From (0 none, 1 A, 2 B, 3 C): whether the bar
  // took it, and where the selection is then.
  struct TKeyRow {
    int From;
    WORD Key;
    TShiftState Shift;
    bool Taken;
    int To;
  };
  TdxBarItemLink* Link(int Index) const { return Index == 1 ? A : Index == 2 ? B : Index == 3 ? C : nullptr; }
  void ExpectKeys(std::initializer_list<TKeyRow> Rows)
  {
    int row = 0;
    for (const TKeyRow& r : Rows) {
      Bar->SetSelectedControl(ControlOf(Link(r.From)));
      EXPECT_EQ(Bar->Key(r.Key, r.Shift), r.Taken) << "row " << row;
      EXPECT_EQ(SelectedLink(), Link(r.To)) << "row " << row;
      ++row;
    }
  }
};

TEST_F(TKeyboardTest, HorizontalSelectionTable)
{
  MakeABC(false);
  ASSERT_EQ(SelectedLink(), nullptr);
  ExpectKeys({
      {0, VK_RIGHT, {}, true, 1},
      {0, VK_LEFT, {}, true, 1},  // nothing selected: the first link either way
      {1, VK_RIGHT, {}, true, 2},
      {2, VK_LEFT, {}, true, 1},
      {1, VK_END, {}, true, 3},
      {3, VK_HOME, {}, true, 1},
      {1, VK_TAB, {}, true, 2},
      {2, VK_TAB, {ssShift}, true, 1},
      {1, VK_DOWN, {}, false, 1},  // Up and Down are the selected control's
      {1, VK_UP, {}, false, 1},
  });
}

TEST_F(TKeyboardTest, VerticalBarTurnsTheArrows)
{
  MakeABC(true);
  ExpectKeys({
      {0, VK_DOWN, {}, true, 1},
      {1, VK_DOWN, {}, true, 2},
      {2, VK_UP, {}, true, 1},
      {1, VK_RIGHT, {}, false, 1},  // Left and Right become Up and Down there
      {1, VK_LEFT, {}, false, 1},
      {1, VK_END, {}, true, 3},
  });
}

TEST_F(TKeyboardTest, MenuWindowLeavesLeftAndRightToTheMenu)
{
  Bar->Kind = bckSubMenu;
  MakeABC(false);
  ExpectKeys({
      {0, VK_RIGHT, {}, false, 0},
      {0, VK_DOWN, {}, true, 1},
      {1, VK_DOWN, {}, true, 2},
      {2, VK_UP, {}, true, 1},
  });
}

TEST_F(TKeyboardTest, KeysArriveThroughTheWindowOnlyWhileABarIsActive)
{
  MakeABC(false);
  ::SendMessageW(Bar->GetHandle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SelectedLink(), A);
  Bar->Deactivate();
  ASSERT_EQ(ActiveBarControl(), nullptr);
  ::SendMessageW(Bar->GetHandle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SelectedLink(), nullptr);
}

TEST_F(TKeyboardTest, LinksThatCannotBeSelectedAreSkipped)
{
  MakeABC(false);
  static_cast<TBlockItem*>(B->GetItem())->Selectable = false;
  Bar->Key(VK_RIGHT);
  Bar->Key(VK_RIGHT);
  EXPECT_EQ(SelectedLink(), C);
}

// ---------------------------------------------------------------------------
// Accelerators

class TAcceleratorTest : public TBarWindowFixture {
protected:
  void SetUp() override
  {
    TBarWindowFixture::SetUp();
    Open = AddLink(NewItem(L"&Open"));
    Options = AddLink(NewItem(L"O&ptions"));
    Options->GetItem()->SetCaption(L"&Options");
    Save = AddLink(NewItem(L"&Save"));
    One = AddLink(NewItem(L"&1 One"));
    Dot = AddLink(NewItem(L"&. Dot"));
    for (TdxBarItemLink* link : {Open, Options, Save, One, Dot})
      link->GetItem()->SetOnClick(TNotifyEvent([this, link](TObject*) { Clicks.push_back(link); }));
    ShowBar();
    Bar->ActivateWithControl(nullptr);
  }
  TdxBarItemLink *Open = nullptr, *Options = nullptr, *Save = nullptr, *One = nullptr, *Dot = nullptr;
  std::vector<TdxBarItemLink*> Clicks;
};

TEST_F(TAcceleratorTest, SharedLetterOnlySelectsInTurn)
{
  EXPECT_TRUE(Bar->Key('O'));
  EXPECT_EQ(SelectedLink(), Open);
  Bar->Key('O');
  EXPECT_EQ(SelectedLink(), Options);
  Bar->Key('O');
  EXPECT_EQ(SelectedLink(), Open);
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(TAcceleratorTest, UniqueLetterRunsTheItemOnce)
{
  Bar->Key('S');
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0], Save);
}

TEST_F(TAcceleratorTest, DigitsCountPunctuationDoesNot)
{
  Bar->Key('1');
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0], One);
  Clicks.clear();
  EXPECT_FALSE(Bar->Key(VK_OEM_PERIOD));
  EXPECT_TRUE(Clicks.empty());
  EXPECT_NE(SelectedLink(), Dot);
}

// ---------------------------------------------------------------------------
// Alt and F10

TEST_F(TKeyboardTest, F10ClosesOnlyWhenTheManagerUsesIt)
{
  MakeABC(false);
  Host.Manager->SetUseF10ForMenu(false);
  EXPECT_FALSE(Bar->Key(VK_F10));
  EXPECT_EQ(ActiveBarControl(), Bar);
  Host.Manager->SetUseF10ForMenu(true);
  EXPECT_TRUE(Bar->Key(VK_F10));
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_FALSE(Bar->GetActive());
}

TEST_F(TKeyboardTest, AltAlwaysCloses)
{
  MakeABC(false);
  Host.Manager->SetUseF10ForMenu(false);
  Bar->Key(VK_RIGHT);
  ASSERT_EQ(SelectedLink(), A);
  ::SendMessageW(Bar->GetHandle(), WM_KEYDOWN, VK_MENU, 0);
  EXPECT_EQ(ActiveBarControl(), nullptr);
  EXPECT_EQ(SelectedLink(), nullptr);
}

TEST_F(TKeyboardTest, CtrlTabMovesToTheNextBarAndBack)
{
  MakeABC(false);
  Bar->Key(VK_RIGHT);
  ASSERT_EQ(SelectedLink(), A);
  TRowLinksOwner owner(Host.Manager);
  TdxBarControlItemLinks links(Host.Manager, &owner);
  links.CreateBarControl();
  auto* second = dynamic_cast<TRowBarControl*>(links.GetBarControl());
  ASSERT_NE(second, nullptr);
  second->Popup = true;
  second->SetParentForm(Host.Form()->GetHandle());
  TdxBarItemLink* first = links.AddItem(NewItem(L"X"));
  second->SetBounds(BarLeft, BarTop + 60, 100, 30);
  second->HandleNeeded();
  second->RebuildBar();
  // A bar window with nothing to select is passed over.
  TRowLinksOwner emptyOwner(Host.Manager);
  TdxBarControlItemLinks emptyLinks(Host.Manager, &emptyOwner);
  emptyLinks.CreateBarControl();

  EXPECT_TRUE(Bar->Key(VK_TAB, {ssCtrl}));
  EXPECT_FALSE(Bar->GetActive());
  EXPECT_EQ(SelectedLink(), nullptr);
  EXPECT_EQ(ActiveBarControl(), second);
  EXPECT_EQ(second->GetSelectedLink(), first);

  second->Key(VK_TAB, {ssCtrl, ssShift});
  EXPECT_EQ(ActiveBarControl(), Bar);
  EXPECT_EQ(SelectedLink(), A);
  EXPECT_FALSE(second->GetActive());
}

}  // namespace
