// What the main menu and its menus look like after the real pointer and keys used them: an
// entry whose menu closed is drawn as before, and a menu the pointer opened shows no entry
// selected.
#include "SubItemsTestUtil.h"

#include "bars/barwindows/drawparams.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

using TSubItemLook = TSubItemsFixture;

// The bar painted now, as the screen shows it.
TDib32 PaintedBar(TCustomdxBarControl* ABar)
{
  HWND wnd = ABar->GetHandle();
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME | RDW_ALLCHILDREN);
  PumpPending();
  RECT r{};
  GetWindowRect(wnd, &r);
  return CaptureScreen(r);
}

// The selected state the painter was given at the control's last paint.
bool DrawnSelected(TdxBarItemControl* AControl)
{
  auto* params = dynamic_cast<TdxBarButtonLikeControlDrawParams*>(AControl->GetDrawParams());
  return params && params->States.Selected;
}

TEST_F(TSubItemLook, AMainMenuEntryIsDrawnAsBeforeOnceACommandOfItsMenuRan)
{
  for (TdxBarManagerStyle style : {bmsFlat, bmsOffice11}) {
    SCOPED_TRACE(style);
    Manager->SetStyle(style);
    ShowForm();
    MoveAway();
    TdxBarSubItem* file = Sub(L"FileItem");
    TdxBarSubItem* edit = Sub(L"EditItem");
    auto* bar = static_cast<TCustomdxBarControl*>(MainMenu->GetControl());
    ASSERT_NE(bar, nullptr);
    const TDib32 before = PaintedBar(bar);
    const RECT whole{0, 0, before.Width(), before.Height()};
    ASSERT_EQ(CountDifferentPixels(PaintedBar(bar), whole, before), 0) << "the bar paints the same twice";

    // By key: Alt, on to "Edit", its menu, Enter on its first command.
    Key(VK_MENU);
    Key(VK_RIGHT);
    Key(VK_DOWN);
    ASSERT_NE(MenuOf(edit), nullptr);
    Key(VK_RETURN);
    EXPECT_EQ(Form->Clicks, (std::vector<String>{L"Edit0"}));
    EXPECT_EQ(MenuOf(edit), nullptr);
    EXPECT_EQ(ActiveBarControl(), nullptr);
    EXPECT_EQ(CountDifferentPixels(PaintedBar(bar), whole, before), 0) << "\"Edit\" is drawn as before";
    EXPECT_FALSE(DrawnSelected(ControlOf(edit)));

    // By mouse: "Edit", over to "File" (the menus switch), a click on File's first command.
    ASSERT_TRUE(ClickOn(ControlOf(edit)));
    ASSERT_TRUE(PumpUntil([&] { return MenuOf(edit) != nullptr; }));
    ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ControlOf(file))));
    ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr && MenuOf(edit) == nullptr; }));
    ASSERT_TRUE(ClickAt(ScreenCentreOf(EntryOf(MenuOf(file), 0))));
    PumpPending();
    EXPECT_EQ(Form->Clicks, (std::vector<String>{L"Edit0", L"File0"}));
    EXPECT_EQ(MenuOf(file), nullptr);
    MoveAway();
    EXPECT_EQ(CountDifferentPixels(PaintedBar(bar), whole, before), 0) << "neither entry stays highlighted";
    EXPECT_FALSE(DrawnSelected(ControlOf(file)));
    EXPECT_FALSE(DrawnSelected(ControlOf(edit)));

    // The next use of the menus still highlights the entry whose menu is open.
    ASSERT_TRUE(ClickOn(ControlOf(edit)));
    ASSERT_TRUE(PumpUntil([&] { return MenuOf(edit) != nullptr; }));
    MoveAway();
    EXPECT_GT(CountDifferentPixels(PaintedBar(bar), whole, before), 0);
    EXPECT_TRUE(DrawnSelected(ControlOf(edit)));
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    EXPECT_EQ(ActiveBarControl(), nullptr);
    Form->Clicks.clear();
    Form->Hide();
    PumpPending();
  }
}

TEST_F(TSubItemLook, AMenuThePointerSwitchesToOpensWithNoEntrySelectedAKeyOpensWithTheFirst)
{
  ShowForm();
  TdxBarSubItem* file = Sub(L"FileItem");
  TdxBarSubItem* edit = Sub(L"EditItem");
  ASSERT_TRUE(ClickOn(ControlOf(file)));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
  EXPECT_EQ(MenuOf(file)->GetSelectedControl(), nullptr);
  // Onto "Edit" without a click; the pointer then stays over the main menu, off the menu.
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ControlOf(edit))));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(edit) != nullptr && MenuOf(file) == nullptr; }));
  TdxBarSubMenuControl* editMenu = MenuOf(edit);
  RedrawWindow(editMenu->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  PumpPending();
  EXPECT_EQ(editMenu->GetSelectedControl(), nullptr);
  for (int i = 0; i < 3; ++i)
    EXPECT_FALSE(DrawnSelected(EntryOf(editMenu, i))) << i;
  // And back onto "File": the same.
  ASSERT_TRUE(MoveMouseTo(ScreenCentreOf(ControlOf(file))));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr && MenuOf(edit) == nullptr; }));
  TdxBarSubMenuControl* fileMenu = MenuOf(file);
  RedrawWindow(fileMenu->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  PumpPending();
  EXPECT_EQ(fileMenu->GetSelectedControl(), nullptr);
  EXPECT_FALSE(DrawnSelected(EntryOf(fileMenu, 0)));
  // Right is a key: the next menu opens with its first entry selected and drawn so.
  MoveAway();
  Key(VK_RIGHT);
  editMenu = MenuOf(edit);
  ASSERT_NE(editMenu, nullptr);
  EXPECT_EQ(MenuOf(file), nullptr);
  RedrawWindow(editMenu->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  PumpPending();
  EXPECT_EQ(editMenu->GetSelectedControl(), EntryOf(editMenu, 0));
  EXPECT_TRUE(DrawnSelected(EntryOf(editMenu, 0)));
  Key(VK_MENU);
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

}  // namespace
