// The sub-menu editor: one window whose menu opens below it and follows it, reused for
// other links, closed with its links' owner or its close button, and opened by a drag
// that passes over it.
#include "DialogTestUtil.h"
#include "barcustomize/submenueditor.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/model/customizing.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/menus/submenu.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

class TSubMenuEditor : public TDialogsFixture {
protected:
  void SetUp() override
  {
    TDialogsFixture::SetUp();
    FileMenu = new TdxBarSubItem(Form);
    FileMenu->SetCaption(L"File");
    for (const wchar_t* name : {L"NewItem", L"OpenItem"})
      FileMenu->GetItemLinks()->AddItem(dynamic_cast<TdxBarItem*>(Part(name)));
    EditMenu = new TdxBarSubItem(Form);
    EditMenu->GetItemLinks()->AddItem(dynamic_cast<TdxBarItem*>(Part(L"CutItem")));
    ShowForm();
  }
  void TearDown() override
  {
    ShowSubMenuEditor(nullptr);
    PumpUntil([] { return GetSubMenuEditorForm() == nullptr; }, 2000);
    Manager->SetIsCustomizing(false);
    TDialogsFixture::TearDown();
  }
  // Opens the editor for the links and waits until their menu is open.
  TdxBarSubMenuEditor* Open(TdxBarItemLinks* ALinks)
  {
    ShowSubMenuEditor(ALinks);
    PumpUntil([ALinks] { return GetSubMenuEditorForm() && ALinks->GetBarControl(); }, 2000);
    return GetSubMenuEditorForm();
  }
  static RECT WindowRect(HWND AWnd)
  {
    RECT r{};
    ::GetWindowRect(AWnd, &r);
    return r;
  }
  static HWND MenuWindow(TdxBarItemLinks* ALinks)
  {
    TCustomdxBarControl* menu = ALinks->GetBarControl();
    return menu && menu->HandleAllocated() ? menu->GetHandle() : nullptr;
  }
  // A point of the editor's caption away from its buttons.
  static POINT CaptionPoint(TdxBarSubMenuEditor* AEditor)
  {
    const RECT r = WindowRect(AEditor->GetHandle());
    return POINT{r.left + 20, r.top + (r.bottom - r.top) / 2};
  }

  TdxBarSubItem* FileMenu = nullptr;
  TdxBarSubItem* EditMenu = nullptr;
};

TEST_F(TSubMenuEditor, OpensTheMenuBelowItselfAndIsTheOnlyOne)
{
  TdxBarSubMenuEditor* editor = Open(FileMenu->GetItemLinks());
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(Manager->IsCustomizing());
  EXPECT_EQ(editor->GetCaption(), L"Sub-menu Editor");
  EXPECT_EQ(editor->Tag(), 100);
  EXPECT_EQ(editor->GetClientRect().bottom, 0) << "only the caption shows";
  HWND window = editor->GetHandle();
  EXPECT_EQ(DWORD(::GetWindowLongPtrW(window, GWL_STYLE)) & ~DWORD(WS_VISIBLE), 0x84C80000u);
  EXPECT_EQ(DWORD(::GetWindowLongPtrW(window, GWL_EXSTYLE)) & 0x101u, 0x101u);
  EXPECT_EQ(::GetClassLongPtrW(window, GCL_STYLE), 0x820);
  EXPECT_EQ(::GetWindow(window, GW_OWNER), Form->GetHandle()) << "above the form being customised";

  HWND menu = MenuWindow(FileMenu->GetItemLinks());
  ASSERT_NE(menu, nullptr);
  RECT e = WindowRect(window), m = WindowRect(menu);
  EXPECT_EQ(m.left, e.left);
  EXPECT_EQ(m.top, e.bottom);
  EXPECT_EQ(e.right - e.left, m.right - m.left) << "as wide as its menu";

  // Other links reuse the window; the first links' menu closes.
  EXPECT_EQ(Open(EditMenu->GetItemLinks()), editor);
  EXPECT_EQ(editor->GetHandle(), window);
  EXPECT_EQ(FileMenu->GetItemLinks()->GetBarControl(), nullptr);
  menu = MenuWindow(EditMenu->GetItemLinks());
  ASSERT_NE(menu, nullptr);
  e = WindowRect(window);
  m = WindowRect(menu);
  EXPECT_EQ(m.left, e.left);
  EXPECT_EQ(m.top, e.bottom);
}

TEST_F(TSubMenuEditor, TakesItsMenuAlongWhenItMoves)
{
  TdxBarSubMenuEditor* editor = Open(FileMenu->GetItemLinks());
  ASSERT_NE(editor, nullptr);
  const RECT before = WindowRect(editor->GetHandle());
  // Moved as the system's move loop moves it: a caption drag by real input does not end
  // under the test display's window system, so the window is moved directly.
  ::SetWindowPos(editor->GetHandle(), nullptr, before.left + 60, before.top + 30, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpPending();
  const RECT after = WindowRect(editor->GetHandle());
  EXPECT_EQ(after.left - before.left, 60);
  EXPECT_EQ(after.top - before.top, 30);
  HWND menu = MenuWindow(FileMenu->GetItemLinks());
  ASSERT_NE(menu, nullptr) << "the menu stays open";
  const RECT m = WindowRect(menu);
  EXPECT_EQ(m.left, after.left);
  EXPECT_EQ(m.top, after.bottom);
  EXPECT_EQ(after.right - after.left, m.right - m.left) << "the width stays the menu's";
}

TEST_F(TSubMenuEditor, ClosesWithItsLinksOwnerAndWithoutLinks)
{
  ASSERT_NE(Open(FileMenu->GetItemLinks()), nullptr);
  FileMenu->Free();
  EXPECT_TRUE(PumpUntil([] { return GetSubMenuEditorForm() == nullptr; }, 2000));

  ASSERT_NE(Open(EditMenu->GetItemLinks()), nullptr);
  ShowSubMenuEditor(nullptr);
  EXPECT_TRUE(PumpUntil([] { return GetSubMenuEditorForm() == nullptr; }, 2000));
  EXPECT_EQ(EditMenu->GetItemLinks()->GetBarControl(), nullptr) << "its menu closed";
}

TEST_F(TSubMenuEditor, ItsCloseButtonClosesTheMenuToo)
{
  TdxBarSubMenuEditor* editor = Open(FileMenu->GetItemLinks());
  ASSERT_NE(editor, nullptr);
  // The close button is where the caption answers HTCLOSE.
  const RECT r = WindowRect(editor->GetHandle());
  POINT close{};
  const int y = r.top + (r.bottom - r.top) / 2;
  for (int x = r.right - 1; x > r.left && !close.x; --x)
    if (::SendMessageW(editor->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
      close = POINT{x - 4, y};
  ASSERT_NE(close.x, 0);
  // The system follows the button in a loop of its own until it is released.
  bool closed = false;
  RunWithHelperThread([&] { closed = PumpUntil([] { return GetSubMenuEditorForm() == nullptr; }, 3000); },
                      [close] {
                        SendMouseMove(close);
                        PauseScript(50);
                        SendMouseButton(true);
                        PauseScript(80);
                        SendMouseButton(false);
                      });
  EXPECT_TRUE(closed);
  EXPECT_EQ(FileMenu->GetItemLinks()->GetBarControl(), nullptr);
}

TEST_F(TSubMenuEditor, ADragOverItOpensItsMenuUnlessTheLinksRefuseTheItem)
{
  auto drag = dxBarCustomizingServices().DragAndDrop;
  ASSERT_TRUE(drag);
  TdxBarSubMenuEditor* editor = Open(FileMenu->GetItemLinks());
  ASSERT_NE(editor, nullptr);
  struct {
    TdxBarItem* Dragged;
    bool Opens;
  } rows[] = {{FileMenu, false}, {dynamic_cast<TdxBarItem*>(Part(L"CutItem")), true}};
  for (const auto& row : rows) {
    FileMenu->GetItemLinks()->DestroyBarControl();
    const POINT over = CaptionPoint(editor);
    MoveMouseTo(POINT{over.x, over.y + 200});
    RunWithHelperThread([&] { drag(Manager, row.Dragged, nullptr); },
                        [over] {
                          SendMouseMove(over);
                          PauseScript(100);
                          SendMouseMove(POINT{over.x + 2, over.y});
                          PauseScript(100);
                          SendKeyStroke(VK_ESCAPE);
                        });
    PumpPending();
    EXPECT_EQ(FileMenu->GetItemLinks()->GetBarControl() != nullptr, row.Opens) << row.Dragged->GetCaption();
  }
}

}  // namespace

namespace {

// The Customize dialog's window, as the customizing services report it, for a scope.
class TCustomizingDialogScope {
public:
  explicit TCustomizingDialogScope(HWND AWindow) : FPrevious(dxBarCustomizingServices())
  {
    TdxBarCustomizingServices services = FPrevious;
    services.GetCustomizingFormHandle = [AWindow](const TdxBarManager*) { return AWindow; };
    SetdxBarCustomizingServices(services);
  }
  ~TCustomizingDialogScope() { SetdxBarCustomizingServices(FPrevious); }

private:
  TdxBarCustomizingServices FPrevious;
};

TEST_F(TSubMenuEditor, StandsAboveTheWindowTheCustomizeDialogStandsAbove)
{
  TOwned<TForm> customizing(TCustomForm::CreateNew<TForm>(nullptr));
  customizing->SetBounds(700, 100, 200, 200);
  customizing->Show();
  TCustomizingDialogScope scope(customizing->GetHandle());
  TdxBarSubMenuEditor* editor = Open(FileMenu->GetItemLinks());
  ASSERT_NE(editor, nullptr);
  HWND above = ::GetWindow(customizing->GetHandle(), GW_OWNER);
  ASSERT_NE(above, nullptr);
  EXPECT_NE(above, Form->GetHandle());
  EXPECT_EQ(::GetWindow(editor->GetHandle(), GW_OWNER), above);
}

}  // namespace
