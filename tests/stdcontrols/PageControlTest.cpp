// The page control: tabs that follow the pages and TabVisible, switching by a real click on
// a tab and by Ctrl+Tab, OnChanging refusing a switch, and the focus leaving a hidden page.
#include "StdControlsTestUtil.h"

#include <commctrl.h>

#include "platform/ComCtrls.h"
#include "platform/StdCtrls.h"

namespace {

struct PageControlTest : TStdControlsTest {
  TPageControl* Pages = nullptr;
  std::vector<TTabSheet*> Sheets;
  std::vector<TEdit*> Edits;
  bool Allow = true;

  void SetUp() override
  {
    TStdControlsTest::SetUp();
    Pages = new TPageControl(Form);
    Pages->SetName(L"Pages");
    Pages->SetBounds(10, 10, 360, 240);
    Pages->SetParent(Form);
    for (const wchar_t* caption : {L"Toolbars", L"Commands", L"Options"}) {
      auto* sheet = new TTabSheet(Form);
      sheet->SetCaption(caption);
      sheet->SetPageControl(Pages);
      auto* edit = new TEdit(Form);
      edit->SetBounds(10, 10, 120, 21);
      edit->SetParent(sheet);
      Sheets.push_back(sheet);
      Edits.push_back(edit);
    }
    Pages->OnChange = TNotifyEvent(Form, &THostForm::Changed);
    THostForm* form = Form;
    Pages->OnChanging = TTabChangingEvent([this, form](TObject*, bool& AllowChange) {
      form->Log.push_back(L"changing");
      AllowChange = Allow;
    });
  }
  int TabCount() { return int(::SendMessageW(Pages->GetHandle(), TCM_GETITEMCOUNT, 0, 0)); }
  POINT TabCenter(int Index)
  {
    RECT r{};
    ::SendMessageW(Pages->GetHandle(), TCM_GETITEMRECT, WPARAM(Index), reinterpret_cast<LPARAM>(&r));
    return ScreenPoint(Pages, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  std::vector<bool> Shown()
  {
    std::vector<bool> shown;
    for (TTabSheet* sheet : Sheets)
      shown.push_back(::IsWindowVisible(sheet->GetHandle()) != FALSE);
    return shown;
  }
};

}  // namespace

TEST_F(PageControlTest, TabsFollowThePagesAndTabVisible)
{
  ShowForm();
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]) << "the first page shows first";
  EXPECT_EQ(TabCount(), 3);
  EXPECT_EQ(Shown(), (std::vector<bool>{true, false, false}));
  Sheets[0]->SetTabVisible(false);
  EXPECT_EQ(TabCount(), 2);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]) << "a page without a tab cannot stay shown";
  EXPECT_EQ(Shown(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(Pages->PageOfTab(0), Sheets[1]);
  Pages->SetActivePage(Sheets[0]);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]) << "nor be made the shown one";
  Sheets[2]->SetCaption(L"Renamed");
  wchar_t text[64] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  ::SendMessageW(Pages->GetHandle(), TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, L"Renamed");
  Sheets[1]->Free();
  Sheets.erase(Sheets.begin() + 1);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]) << "freeing the shown page shows the next";
  EXPECT_EQ(TabCount(), 1);
  EXPECT_TRUE(Form->Log.empty()) << "changes by code report nothing";
}

TEST_F(PageControlTest, AClickOnATabSwitchesUnlessOnChangingRefuses)
{
  ShowForm();
  ASSERT_TRUE(ClickAt(TabCenter(2)));
  PumpUntil([this] { return Pages->GetActivePage() == Sheets[2]; }, 2000);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_EQ(Shown(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(Form->Log, (std::vector<std::wstring>{L"changing", L"change Pages"}));
  Form->ClearLog();
  Allow = false;
  ASSERT_TRUE(ClickAt(TabCenter(0)));
  PumpFor(100);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_EQ(::SendMessageW(Pages->GetHandle(), TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Form->Log, (std::vector<std::wstring>{L"changing"}));
}

TEST_F(PageControlTest, CtrlTabSwitchesPagesAndMovesTheFocusOffTheHiddenOne)
{
  Sheets[1]->SetTabVisible(false);
  FocusOnShow(Edits[0]);
  ShowForm();
  ASSERT_TRUE(Edits[0]->Focused());
  ASSERT_TRUE(PressKey(VK_TAB, {VK_CONTROL}));
  PumpUntil([this] { return Pages->GetActivePage() == Sheets[2]; }, 2000);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]) << "the page without a tab is skipped";
  EXPECT_TRUE(Edits[2]->Focused());
  ASSERT_TRUE(PressKey(VK_TAB, {VK_CONTROL, VK_SHIFT}));
  PumpUntil([this] { return Pages->GetActivePage() == Sheets[0]; }, 2000);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
  EXPECT_EQ(Form->Count(L"change Pages"), 2);
  // Outside the page control Ctrl+Tab leaves the pages alone.
  auto* outside = new TEdit(Form);
  outside->SetBounds(10, 255, 100, 21);
  outside->SetParent(Form);
  outside->SetFocus();
  ASSERT_TRUE(PressKey(VK_TAB, {VK_CONTROL}));
  PumpFor(50);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
}

TEST_F(PageControlTest, PageOrderAndNextPageWrap)
{
  Sheets[2]->SetPageIndex(0);
  EXPECT_EQ(Pages->GetPages(0), Sheets[2]);
  EXPECT_EQ(Pages->GetPages(1), Sheets[0]);
  EXPECT_EQ(Pages->GetPages(7), nullptr);
  EXPECT_EQ(Pages->FindNextPage(Sheets[1], true, true), Sheets[2]) << "wraps to the first";
  EXPECT_EQ(Pages->FindNextPage(Sheets[2], false, true), Sheets[1]);
  Sheets[0]->SetTabVisible(false);
  Sheets[1]->SetTabVisible(false);
  EXPECT_EQ(Pages->FindNextPage(Sheets[2], true, true), nullptr) << "no other page with a tab";
  EXPECT_EQ(Pages->FindNextPage(Sheets[2], true, false), Sheets[0]);
}
