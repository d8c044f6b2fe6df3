// The combo box: its list chosen by a real click and by keys, the events a user's choice
// reports (and a choice by code does not), state across a new window, and an open list
// keeping Enter from the form's default button.
#include "StdControlsTestUtil.h"

#include "platform/StdCtrls.h"

namespace {

struct ComboBoxTest : TStdControlsTest {
  TComboBox* Combo = nullptr;
  void SetUp() override
  {
    TStdControlsTest::SetUp();
    Combo = new TComboBox(Form);
    Combo->SetName(L"Combo");
    Combo->SetBounds(20, 20, 160, 21);
    Combo->SetParent(Form);
    Combo->SetStyle(csDropDownList);
    Combo->GetItems()->AddStrings({L"Standard", L"Flat", L"Office 11", L"XP"});
    Combo->OnClick = TNotifyEvent(Form, &THostForm::Clicked);
    Combo->OnChange = TNotifyEvent(Form, &THostForm::Changed);
    Combo->OnSelect = TNotifyEvent(Form, &THostForm::Selected);
    FocusOnShow(Combo);
  }
  HWND ListWindow()
  {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ::GetComboBoxInfo(Combo->GetHandle(), &info);
    return info.hwndList;
  }
};

}  // namespace

TEST_F(ComboBoxTest, AClickOpensTheListAndAClickOnAnEntryChoosesIt)
{
  ShowForm();
  ASSERT_TRUE(ClickAt(ScreenPoint(Combo, Combo->GetWidth() - 8, 10)));
  ASSERT_TRUE(PumpUntil([this] { return Combo->GetDroppedDown(); }, 2000));
  HWND list = ListWindow();
  RECT item{};
  ::SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ::ClientToScreen(list, &p);
  ASSERT_TRUE(ClickAt(p));
  ASSERT_TRUE(PumpUntil([this] { return !Combo->GetDroppedDown(); }, 2000));
  PumpPending();
  EXPECT_EQ(Combo->GetItemIndex(), 2);
  EXPECT_EQ(Combo->ReadText(), L"Office 11");
  EXPECT_EQ(Form->Log, (std::vector<std::wstring>{L"click Combo", L"select Combo"}));
}

TEST_F(ComboBoxTest, KeysMoveTheChoiceAndAnOpenListKeepsEnterFromTheDefaultButton)
{
  auto* ok = new TButton(Form);
  ok->SetName(L"Ok");
  ok->SetBounds(20, 200, 75, 25);
  ok->SetParent(Form);
  ok->SetDefault(true);
  ok->OnClick = TNotifyEvent(Form, &THostForm::Clicked);
  ShowForm();
  ASSERT_TRUE(PressKey(VK_DOWN));
  PumpUntil([this] { return Combo->GetItemIndex() == 0; }, 2000);
  ASSERT_TRUE(PressKey(VK_DOWN));
  PumpUntil([this] { return Combo->GetItemIndex() == 1; }, 2000);
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  EXPECT_EQ(Form->Count(L"select Combo"), 2);
  ASSERT_TRUE(PressKey(VK_DOWN, {VK_MENU}));
  ASSERT_TRUE(PumpUntil([this] { return Combo->GetDroppedDown(); }, 2000));
  ASSERT_TRUE(PressKey(VK_DOWN));
  ASSERT_TRUE(PressKey(VK_RETURN));
  PumpUntil([this] { return !Combo->GetDroppedDown(); }, 2000);
  PumpPending();
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 2);
  EXPECT_EQ(Form->Count(L"click Ok"), 0) << "Enter closed the list only";
  ASSERT_TRUE(PressKey(VK_RETURN));
  PumpUntil([this] { return Form->Count(L"click Ok") > 0; }, 2000);
  EXPECT_EQ(Form->Count(L"click Ok"), 1) << "with the list closed Enter reaches the default button";
}

TEST_F(ComboBoxTest, WithoutOnSelectAChoiceReportsAChange)
{
  Combo->OnSelect = nullptr;
  ShowForm();
  ASSERT_TRUE(PressKey(VK_DOWN));
  PumpUntil([this] { return Form->Count(L"change Combo") > 0; }, 2000);
  EXPECT_EQ(Form->Log, (std::vector<std::wstring>{L"click Combo", L"change Combo"}));
}

TEST_F(ComboBoxTest, ChoicesByCodeReportNothingAndSurviveANewWindow)
{
  Combo->SetItemIndex(3);
  Combo->WriteText(L"flat");
  EXPECT_EQ(Combo->GetItemIndex(), -1) << "a drop-down list takes only an entry's exact text";
  Combo->WriteText(L"Flat");
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  Combo->SetItemIndex(99);
  EXPECT_EQ(Combo->GetItemIndex(), -1);
  Combo->SetItemIndex(1);
  EXPECT_TRUE(Form->Log.empty());
  Combo->SetStyle(csDropDown);  // a new window
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  EXPECT_EQ(::SendMessageW(Combo->GetHandle(), CB_GETCOUNT, 0, 0), 4);
  Combo->WriteText(L"typed");
  EXPECT_EQ(Combo->ReadText(), L"typed");
  Combo->SetStyle(csDropDownList);
  Combo->SetStyle(csDropDown);
  EXPECT_EQ(Combo->ReadText(), L"typed") << "the edit's text comes back with the window";
  Combo->GetItems()->Insert(0, L"first");
  Combo->SetItemIndex(2);
  Combo->GetItems()->Delete(0);
  EXPECT_EQ(Combo->GetItemIndex(), 1) << "the chosen entry stays chosen";
  EXPECT_EQ(Combo->ReadText(), L"Flat");
}

TEST_F(ComboBoxTest, TypingInADropDownReportsChanges)
{
  Combo->SetStyle(csDropDown);
  ShowForm();
  ASSERT_TRUE(TypeText(L"ab"));
  PumpUntil([this] { return Form->Count(L"change Combo") >= 2; }, 2000);
  EXPECT_EQ(Combo->ReadText(), L"ab");
  EXPECT_EQ(Form->Count(L"change Combo"), 2);
}

TEST_F(ComboBoxTest, DropDownCountLimitsTheOpenList)
{
  Combo->GetItems()->Clear();
  for (int i = 0; i < 30; ++i)
    Combo->GetItems()->Add(L"entry " + std::to_wstring(i));
  Combo->SetDropDownCount(5);
  ShowForm();
  Combo->SetDroppedDown(true);
  ASSERT_TRUE(PumpUntil([this] { return ::IsWindowVisible(ListWindow()) != FALSE; }, 2000));
  RECT client{};
  ::GetClientRect(ListWindow(), &client);
  int itemHeight = int(::SendMessageW(ListWindow(), LB_GETITEMHEIGHT, 0, 0));
  EXPECT_LE(client.bottom, 6 * itemHeight);
  EXPECT_GE(client.bottom, 4 * itemHeight);
  Combo->SetDroppedDown(false);
  Combo->SetDropDownCount(0);
  EXPECT_EQ(Combo->GetDropDownCount(), 1);
}
