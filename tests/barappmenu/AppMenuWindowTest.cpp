// The application menu's window under the real pointer and keys: the item column, the extra
// pane beside it showing the pane's items, and the row of buttons along the bottom.
#include "AppMenuTestUtil.h"

#include "bars/dockcontrol.h"
#include "bars/itemcontrol.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TAppMenuWindow : public TAppMenuFixture {
protected:
  void Fill(int AItems, int APaneItems, std::initializer_list<const wchar_t*> AButtons)
  {
    for (int i = 0; i < AItems; ++i)
      Menu->GetItemLinks()->AddItem(NewButton(L"Item " + std::to_wstring(i)));
    for (int i = 0; i < APaneItems; ++i)
      Menu->PaneItems.push_back(NewButton(L"Recent " + std::to_wstring(i)));
    for (const wchar_t* caption : AButtons) {
      TdxBarApplicationMenuButton* button = Menu->GetButtons()->Add();
      button->SetItem(NewButton(caption));
    }
  }
};

TEST_F(TAppMenuWindow, OpensWithItsExtraPaneAndButtonRow)
{
  Fill(3, 2, {L"Options", L"Exit"});
  ASSERT_TRUE(OpenByPointer());
  TdxBarApplicationMenuControl* window = Menu->Window();
  const TRect pane = window->GetExtraPaneRect();
  const TRect items = window->GetItemArea();
  ASSERT_FALSE(IsRectEmpty(pane));
  EXPECT_EQ(pane.left, items.right) << "the pane takes the right part of the item area";
  EXPECT_EQ(RectWidth(pane), window->GetExtraPaneWidth());
  // Its bar sits in the pane's dock, the dock on the pane's rectangle, with the pane's items.
  TdxBar* paneBar = window->GetExtraPaneBar();
  ASSERT_NE(paneBar, nullptr);
  EXPECT_TRUE(paneBar->GetHidden());
  EXPECT_EQ(paneBar->GetItemLinks()->Count(), 2);
  TdxBarExtraPaneDockControl* dock = window->GetExtraPaneDock();
  ASSERT_TRUE(dock && dock->HandleAllocated());
  EXPECT_TRUE(::IsWindowVisible(dock->GetHandle()));
  EXPECT_EQ(::GetParent(dock->GetHandle()), window->GetHandle());
  RECT d{};
  ::GetWindowRect(dock->GetHandle(), &d);
  EXPECT_EQ(RectWidth(TRect{d.left, d.top, d.right, d.bottom}), RectWidth(pane));
  ASSERT_NE(paneBar->GetControl(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(paneBar->GetControl()->GetHandle()));
  // The buttons along the bottom, right-aligned, below the items.
  TdxBarItemLinks* row = window->GetButtonLinks();
  ASSERT_TRUE(row && row->Count() == 2);
  EXPECT_EQ(row->Items(1)->GetItemRect().right, window->GetButtonRowRect().right);
  EXPECT_GE(row->Items(0)->GetItemRect().top, items.bottom);
  EXPECT_LT(row->Items(0)->GetItemRect().right, row->Items(1)->GetItemRect().left);
  PumpFor(100);
  if (std::getenv("SHOT_PAUSE"))
    PumpFor(4000);
}

}  // namespace
