// The list box: items, selection and top item across RecreateWnd, owner drawing through
// the reflected messages, and a real click selecting an item.
#include "ControlTestUtil.h"

#include "platform/StdCtrls.h"

namespace {

std::vector<std::wstring> WindowItems(HWND h)
{
  std::vector<std::wstring> items;
  int n = int(::SendMessageW(h, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t text[256] = {};
    ::SendMessageW(h, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

std::vector<std::wstring> ListItems(TCustomListBox* List)
{
  std::vector<std::wstring> items;
  for (int i = 0; i < List->GetItems()->Count(); ++i)
    items.push_back(List->GetItems()->Get(i));
  return items;
}

struct TListBoxTest : TSharedHostTest {
  TListBox* List = nullptr;
  void SetUp() override
  {
    TSharedHostTest::SetUp();
    List = new TListBox(Host);
    List->SetBounds(10, 10, 150, 200);
    List->SetParent(Host);
  }
};

}  // namespace

TEST(ListBoxItems, SelectionFollowsItemsChangedWithoutAWindow)
{
  TListBox list(nullptr);
  list.GetItems()->AddStrings({L"a", L"b", L"c"});
  list.SetItemIndex(1);
  list.GetItems()->Insert(0, L"first");
  EXPECT_EQ(list.GetItemIndex(), 2) << "the same item stays selected";
  list.GetItems()->Delete(2);
  EXPECT_EQ(list.GetItemIndex(), -1);
  list.SetItemIndex(10);
  EXPECT_EQ(list.GetItemIndex(), -1) << "out of range clears the selection";
  EXPECT_THROW(list.GetSelected(5), EListError);
  EXPECT_THROW(list.GetItems()->Delete(7), EStringListError);
}

TEST_F(TListBoxTest, RecreateWndKeepsItemsSelectionAndTopItem)
{
  for (int i = 0; i < 40; ++i)
    List->GetItems()->Add(L"item " + std::to_wstring(i));
  List->SetItemIndex(25);
  List->SetTopIndex(20);
  HWND before = List->GetHandle();
  List->RecreateWnd();
  ASSERT_NE(List->GetHandle(), before);
  EXPECT_EQ(WindowItems(List->GetHandle()), ListItems(List));
  EXPECT_EQ(List->GetItemIndex(), 25);
  EXPECT_EQ(List->GetTopIndex(), 20);
  // Switching to multiple selection remakes the window; items and the selection stay.
  List->SetMultiSelect(true);
  EXPECT_EQ(::SendMessageW(List->GetHandle(), LB_GETCOUNT, 0, 0), 40);
  EXPECT_TRUE(List->GetSelected(25));
  List->SetSelected(3, true);
  List->SetSelected(7, true);
  EXPECT_EQ(List->GetSelCount(), 3);
  List->RecreateWnd();
  EXPECT_TRUE(List->GetSelected(3));
  EXPECT_TRUE(List->GetSelected(7));
  EXPECT_FALSE(List->GetSelected(4));
  EXPECT_EQ(List->GetSelCount(), 3);
}

TEST_F(TListBoxTest, OwnerDrawFixedDrawsEachVisibleItem)
{
  List->GetItems()->AddStrings({L"zero", L"one", L"two"});
  List->SetStyle(lbOwnerDrawFixed);
  List->SetItemHeight(24);
  std::vector<int> drawn;
  std::vector<TOwnerDrawState> states;
  List->OnDrawItem = TDrawItemEvent([&](TWinControl* Control, int Index, TRect R, TOwnerDrawState State) {
    EXPECT_EQ(Control, List);
    EXPECT_EQ(RectHeight(R), 24);
    drawn.push_back(Index);
    states.push_back(State);
    TCanvas* c = List->GetCanvas();
    c->GetBrush()->SetColor(Index == 1 ? TColor(RGB(255, 0, 0)) : TColor(RGB(0, 0, 255)));
    c->FillRect(R);
  });
  List->SetItemIndex(2);
  TDib32 shot = CaptureWindow(Host->GetHandle());
  ASSERT_TRUE(shot.Valid());
  for (int i = 0; i < 3; ++i)
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), i), drawn.end()) << "item " << i;
  TRect r1 = List->ItemRect(1);
  POINT p = List->ClientToParent(CenterPoint(r1));
  EXPECT_TRUE(ColorNear(shot.Pixel(p.x, p.y), RGB(255, 0, 0)));
  // Only the selected item is drawn selected.
  for (size_t i = 0; i < drawn.size(); ++i)
    EXPECT_EQ(states[i].Contains(odSelected), drawn[i] == 2) << "item " << drawn[i];
}

TEST_F(TListBoxTest, ARealClickSelectsTheItemAndClicks)
{
  List->GetItems()->AddStrings({L"a", L"b", L"c"});
  List->SetStyle(lbOwnerDrawFixed);
  List->SetItemHeight(20);
  int clicks = 0;
  List->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  List->HandleNeeded();
  ASSERT_TRUE(ClickAt(ScreenPoint(List, 20, 30)));
  EXPECT_EQ(List->GetItemIndex(), 1);
  EXPECT_EQ(clicks, 1);
}
