// The check list box: a real click on a box and Space toggle it (a click on the text only
// selects), disabled items stay as they are, and the states follow the items through
// insertions, deletions, renames and a remade window.
#include "StdControlsTestUtil.h"

#include "platform/CheckLst.h"

namespace {

struct CheckListBoxTest : TStdControlsTest {
  TCheckListBox* List = nullptr;
  void SetUp() override
  {
    TStdControlsTest::SetUp();
    List = new TCheckListBox(Form);
    List->SetName(L"Toolbars");
    List->SetBounds(10, 10, 200, 150);
    List->SetParent(Form);
    List->GetItems()->AddStrings({L"Standard", L"Formatting", L"Drawing", L"Web"});
    List->OnClickCheck = TNotifyEvent(Form, &THostForm::Clicked);
    FocusOnShow(List);
  }
  POINT BoxOf(int Index)
  {
    TRect r = List->ItemRect(Index);
    return ScreenPoint(List, r.left + List->GetCheckWidth() / 2, (r.top + r.bottom) / 2);
  }
  POINT TextOf(int Index)
  {
    TRect r = List->ItemRect(Index);
    return ScreenPoint(List, r.left + 80, (r.top + r.bottom) / 2);
  }
  std::vector<TCheckBoxState> States()
  {
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < List->GetCount(); ++i)
      states.push_back(List->GetState(i));
    return states;
  }
};

}  // namespace

TEST_F(CheckListBoxTest, AClickOnTheBoxTogglesAClickOnTheTextOnlySelects)
{
  ShowForm();
  ASSERT_TRUE(ClickAt(BoxOf(1)));
  PumpUntil([this] { return List->GetChecked(1); }, 2000);
  EXPECT_TRUE(List->GetChecked(1));
  EXPECT_EQ(Form->Count(L"click Toolbars"), 1);
  ASSERT_TRUE(ClickAt(TextOf(2)));
  PumpUntil([this] { return List->GetItemIndex() == 2; }, 2000);
  EXPECT_EQ(List->GetItemIndex(), 2);
  EXPECT_FALSE(List->GetChecked(2));
  EXPECT_EQ(Form->Count(L"click Toolbars"), 1);
}

TEST_F(CheckListBoxTest, SpaceTogglesTheFocusedItemUnlessItIsDisabled)
{
  List->SetItemIndex(0);
  List->SetItemEnabled(3, false);
  ShowForm();
  ASSERT_TRUE(PressKey(VK_SPACE));
  PumpUntil([this] { return List->GetChecked(0); }, 2000);
  EXPECT_TRUE(List->GetChecked(0));
  EXPECT_EQ(List->GetItemIndex(), 0) << "Space is no search for an item";
  ASSERT_TRUE(PressKey(VK_SPACE));
  PumpUntil([this] { return !List->GetChecked(0); }, 2000);
  EXPECT_FALSE(List->GetChecked(0));
  ASSERT_TRUE(ClickAt(BoxOf(3)));
  PumpFor(50);
  EXPECT_FALSE(List->GetChecked(3)) << "a disabled item keeps its state";
  EXPECT_EQ(Form->Count(L"click Toolbars"), 2);
  List->SetAllowGrayed(true);
  List->ToggleClickCheck(1);
  EXPECT_EQ(List->GetState(1), cbGrayed);
}

TEST_F(CheckListBoxTest, StatesFollowTheItems)
{
  List->SetChecked(1, true);
  List->SetState(3, cbGrayed);
  List->GetItems()->Insert(0, L"New");
  EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbUnchecked, cbUnchecked, cbChecked, cbUnchecked, cbGrayed}));
  List->GetItems()->Delete(1);
  List->GetItems()->Put(1, L"Renamed");
  EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbUnchecked, cbChecked, cbUnchecked, cbGrayed}));
  List->RecreateWnd();
  EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbUnchecked, cbChecked, cbUnchecked, cbGrayed}));
  EXPECT_THROW(List->GetChecked(4), EListError);
  EXPECT_THROW(List->SetItemEnabled(-1, true), EListError);
  List->GetItems()->Clear();
  List->GetItems()->Add(L"again");
  EXPECT_EQ(List->GetState(0), cbUnchecked);
}

TEST_F(CheckListBoxTest, TheBoxIsDrawnCheckedOrNot)
{
  List->SetChecked(0, true);
  List->SetColor(RGB(255, 255, 255));
  ShowForm();
  auto darkIn = [this](int Index) {
    TRect r = List->ItemRect(Index);
    POINT p = ScreenPoint(List, r.left, r.top);
    TDib32 shot = CaptureScreen(RECT{p.x, p.y, p.x + List->GetCheckWidth(), p.y + RectHeight(r)});
    // The inside of the box: the tick is the only dark thing there.
    return CountPixels(shot, RECT{5, 4, List->GetCheckWidth() - 5, RectHeight(r) - 4},
                       [](COLORREF c) { return GetRValue(c) < 90 && GetGValue(c) < 90; });
  };
  EXPECT_GT(darkIn(0), 3);
  EXPECT_EQ(darkIn(1), 0);
}

TEST_F(CheckListBoxTest, SortingCarriesStatesAndSelectionWithTheirItems)
{
  // Standard, Formatting, Drawing, Web; two of them checked, one disabled.
  List->SetChecked(0, true);
  List->SetState(3, cbGrayed);
  List->SetItemEnabled(1, false);
  List->GetItems()->Add(L"Drawing");  // a duplicate text keeps its own state
  List->SetChecked(2, true);
  List->SetItemIndex(3);
  List->SetSorted(true);
  std::vector<std::wstring> items;
  for (int i = 0; i < List->GetCount(); ++i)
    items.push_back(List->GetItems()->Get(i));
  ASSERT_EQ(items, (std::vector<std::wstring>{L"Drawing", L"Drawing", L"Formatting", L"Standard", L"Web"}));
  EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbUnchecked, cbChecked, cbGrayed}));
  EXPECT_FALSE(List->GetItemEnabled(2));
  EXPECT_EQ(List->GetItemIndex(), 4) << "the selected item stays selected";
  // A multi-select list keeps every selected item selected.
  List->SetSorted(false);
  List->SetMultiSelect(true);
  List->GetItems()->Add(L"Animation");
  List->ClearSelection();
  List->SetSelected(3, true);
  List->SetSelected(5, true);
  List->SetSorted(true);
  EXPECT_TRUE(List->GetSelected(0)) << "Animation";
  EXPECT_TRUE(List->GetSelected(4)) << "Standard";
  EXPECT_EQ(List->GetSelCount(), 2);
}
