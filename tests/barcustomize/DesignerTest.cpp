// What customizing offers beyond a link's popup: the popup of a bar window pressed where it
// has no link (the toolbars in a running program, the link editors in a form designer),
// the form designer's selection taking the popup's commands and new items, the deletion
// rule of a designed form, and when the selection ends.
#include "DesignTestUtil.h"

#include "barcustomize/linkeditors.h"
#include "bars/menus/submenu.h"
#include "platform/Classes.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

// A form designer's side as the manager asks it: a selection it is given and the components
// the manager asked it to select.
class TDesignerHook : public IdxBarDesignerHook {
public:
  void GetSelection(TList* AList) override
  {
    for (TObject* object : Selection)
      AList->Add(object);
  }
  void SelectComponent(TComponent* AComponent, int) override { Selected.push_back(AComponent); }
  std::vector<TObject*> Selection;
  std::vector<TComponent*> Selected;
};

class TBarPopupTest : public TDesignFixture {
protected:
  void TearDown() override
  {
    Manager->SetDesignerHook(nullptr);
    Manager->SetDesigning(false, false);
    TDesignFixture::TearDown();
  }
  void Design()
  {
    Manager->SetDesigning(true, false);
    Manager->SetDesignerHook(&Hook);
  }
  // The free part of the toolbar, right of its links.
  POINT FreePartOf(const wchar_t* ABar) const
  {
    TdxBarControl* control = Bar(ABar)->GetControl();
    RECT r{};
    ::GetWindowRect(control->GetHandle(), &r);
    return POINT{r.right - 12, (r.top + r.bottom) / 2};
  }
  int EditorIndex(TClass AEditor) const
  {
    const std::vector<TClass>& editors = Controller->GetEditors();
    return int(std::find(editors.begin(), editors.end(), AEditor) - editors.begin());
  }
  TDesignerHook Hook;
};

TEST_F(TBarPopupTest, ARightClickOnAToolbarsFreePartOffersTheToolbarsInARunningProgram)
{
  ASSERT_TRUE(ClickAt(FreePartOf(L"Standard"), TInputButton::Right));
  ASSERT_TRUE(PumpUntil([&] { return Controller->GetToolbarsPopup() != nullptr; }, 3000));
  EXPECT_TRUE(Controller->GetToolbarsPopup()->InheritsFrom(TdxBarToolbarsPopup::StaticClass()));
  TdxBarItemLinks* links = Controller->GetToolbarsPopup()->GetItemLinks();
  ASSERT_EQ(links->Count(), 3);
  EXPECT_EQ(links->Items(0)->GetItem()->GetCaption(), L"Standard");
  EXPECT_FALSE(links->Items(2)->GetItem()->GetEnabled()) << "the dialog is open already";
  EXPECT_EQ(Popup(), nullptr) << "no link editors: a running program makes no commands";
}

TEST_F(TBarPopupTest, InAFormDesignerTheFreePartOffersTheLinkEditorsWhichAddAndSelectANewItem)
{
  Design();
  TdxBarItemLinks* links = Bar(L"Standard")->GetItemLinks();
  ASSERT_TRUE(ClickAt(FreePartOf(L"Standard"), TInputButton::Right));
  ASSERT_TRUE(PumpUntil([&] { return Popup() && ::IsWindowVisible(Popup()->GetHandle()); }, 3000));
  const int button = dxBarEditorCommand(EditorIndex(TdxAddButtonEditor::StaticClass()));
  const int items = dxBarEditorCommand(EditorIndex(TdxItemsEditorEx::StaticClass()));
  ASSERT_NE(Entry(button), nullptr);
  EXPECT_EQ(Entry(button)->GetItem()->GetCaption(), L"Add &Button");
  ASSERT_NE(Entry(dxBarEditorCommand(EditorIndex(TdxAddSubItemEditor::StaticClass()))), nullptr);
  ASSERT_NE(Entry(items, dxBarSubMenuEntry), nullptr);
  EXPECT_EQ(Entry(items, dxBarSubMenuEntry)->GetItem()->GetCaption(), L"Add &Item");
  EXPECT_EQ(Popup()->GetItemLinks()->Count(), 3) << "toolbars offer no separator editor";

  ASSERT_TRUE(ClickEntry(button));
  ASSERT_EQ(links->Count(), 5);
  TdxBarItem* made = links->Items(4)->GetItem();
  EXPECT_TRUE(made->InheritsFrom(TdxBarButton::StaticClass()));
  ASSERT_FALSE(Hook.Selected.empty());
  EXPECT_EQ(Hook.Selected.back(), made) << "the new item is selected in the designer";

  // The submenu lists every registered kind by its class name; an entry makes that kind.
  const std::vector<TClass> kinds = TdxItemsEditorEx::ItemClasses();
  const int sub = int(std::find(kinds.begin(), kinds.end(), TdxBarSubItem::StaticClass()) - kinds.begin());
  ASSERT_LT(size_t(sub), kinds.size());
  ASSERT_TRUE(ClickAt(FreePartOf(L"Standard"), TInputButton::Right));
  ASSERT_TRUE(PumpUntil([&] { return Popup() && ::IsWindowVisible(Popup()->GetHandle()); }, 3000));
  ASSERT_NE(Entry(items, sub), nullptr);
  EXPECT_EQ(Entry(items, sub)->GetItem()->GetCaption(), L"TdxBarSubItem");
  ASSERT_TRUE(ClickEntry(items, sub));
  ASSERT_EQ(links->Count(), 6);
  EXPECT_TRUE(links->Items(5)->GetItem()->InheritsFrom(TdxBarSubItem::StaticClass()));
}

TEST_F(TBarPopupTest, TheDesignersOtherSelectedLinksTakeWhatThePopupChanged)
{
  Design();
  TdxBarItemLink* save = LinkOf(L"Standard", 1);
  TdxBarItemLink* find = LinkOf(L"Tools", 1);
  Hook.Selection = {save, find};
  ASSERT_TRUE(RightClick(save));
  ASSERT_TRUE(ClickEntry(lcPaintStyle, psCaptionGlyph));
  EXPECT_EQ(save->GetUserPaintStyle(), psCaptionGlyph);
  EXPECT_EQ(find->GetUserPaintStyle(), psCaptionGlyph);
  ASSERT_TRUE(RightClick(save));
  ASSERT_TRUE(ClickEntry(lcBeginGroup));
  EXPECT_TRUE(save->GetBeginGroup());
  EXPECT_TRUE(find->GetBeginGroup());
  EXPECT_FALSE(LinkOf(L"Standard", 2)->GetBeginGroup()) << "a link outside the selection keeps its own";
}

TEST_F(TBarPopupTest, TheSelectedComponentsAreTheDesignersOnesTheControllerHoldsSelected)
{
  Manager->SetDesignerHook(&Hook);
  TdxBarItem* save = Item(L"btnSave");
  TdxBarItem* open = Item(L"btnOpen");
  Hook.Selection = {save, open, LinkOf(L"Standard", 1)};
  Controller->SelectComponent(save);
  TList selected;
  Manager->GetSelectedComponents(&selected);
  ASSERT_EQ(selected.Count(), 1);
  EXPECT_EQ(static_cast<TComponent*>(selected.Items(0)), save);
}

TEST_F(TBarPopupTest, AnInheritedComponentCannotBeDeletedInTheFormDesigner)
{
  TdxBarItem* save = Item(L"btnSave");
  save->SetAncestor(true);
  EXPECT_TRUE(save->CanDelete(true)) << "a running program deletes what it likes";
  Design();
  EXPECT_FALSE(save->CanDelete(true));
  EXPECT_TRUE(Item(L"btnOpen")->CanDelete(true));
  ASSERT_TRUE(RightClick(LinkOf(L"Standard", 1)));
  ASSERT_NE(Entry(lcDeleteItem), nullptr);
  EXPECT_FALSE(Entry(lcDeleteItem)->GetItem()->GetEnabled());
  save->SetAncestor(false);
}

// ---------------------------------------------------------------------------
// When the selection ends

class TSelectionRulesTest : public TDesignFixture {};

TEST_F(TSelectionRulesTest, ALinkWhoseMenuIsOpenKeepsTheSelectionAndEndingCustomizingDropsIt)
{
  TdxBarSubMenuControl* menu = OpenFileMenu();
  ASSERT_NE(menu, nullptr);
  TdxBarItemLink* file = LinkOf(L"Standard", 3);
  ASSERT_EQ(Controller->GetSelectedObject(), file);
  Controller->ClearSelection();
  EXPECT_EQ(Controller->GetSelectedObject(), file) << "the user customizes the menu's links";
  menu->Close();
  PumpPending();
  Controller->ClearSelection();
  EXPECT_EQ(Controller->GetSelectedObject(), nullptr);

  TdxBarItemLink* save = LinkOf(L"Standard", 1);
  Controller->SelectComponent(Item(L"btnSave"));
  EXPECT_EQ(Controller->GetSelectionState(save), TdxBarSelectionState::Selected)
      << "a running program selects in the controller";
  ASSERT_TRUE(ClickAt(ScreenCentreOf(save)));
  PumpPending();
  ASSERT_EQ(Controller->GetSelectedObject(), save);
  Manager->SetIsCustomizing(false);
  PumpPending();
  EXPECT_EQ(Controller->GetSelectedObject(), nullptr) << "nothing stays selected for the next customizing";
}

}  // namespace
