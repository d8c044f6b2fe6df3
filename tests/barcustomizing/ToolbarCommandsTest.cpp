// The manager's toolbar commands: new toolbars and their names and places, rename, reset with
// the real question answered by pointer, delete; whether a manager can reset; moving items;
// the design-time hooks without a designer.
#include "CustomizingTestUtil.h"

#include "bars/dockcontrol.h"
#include "lookandfeel/cxControls.h"
#include "platform/Lists.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

class TToolbarCommands : public testing::Test {
protected:
  TToolbarCommands() : Manager(Host.Manager), Form(Host.Form()) {}
  TBarHost<TCustomizingForm> Host;
  TdxBarManager* Manager;
  TCustomizingForm* Form;
};

TEST_F(TToolbarCommands, NewToolbarsTakeTheLowestFreeCustomNumber)
{
  Form->SetBounds(300, 200, 400, 300);
  TdxBar* first = Manager->NewToolBar(false, true);  // no name dialog: the proposed name
  TdxBar* second = Manager->NewToolBar(false, false);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->GetCaption(), L"Custom 1");
  EXPECT_EQ(second->GetCaption(), L"Custom 2");
  first->Free();
  TdxBar* third = Manager->NewToolBar(false, false);
  EXPECT_EQ(third->GetCaption(), L"Custom 1");
  EXPECT_EQ(Manager->GetBars()->GetCount(), 2);
}

TEST_F(TToolbarCommands, TheNameDialogSeesTheProposedNameAndCancelMakesNothing)
{
  String asked;
  String answer;
  bool ok = false;
  TdxBarCustomizingServices services;
  services.ShowToolbarNameDialog = [&](TdxBarManager*, String& ACaption) {
    asked = ACaption;
    if (ok)
      ACaption = answer;
    return ok;
  };
  TServicesScope scope(services);
  EXPECT_EQ(Manager->NewToolBar(false, true), nullptr);
  EXPECT_EQ(asked, L"Custom 1");
  EXPECT_EQ(Manager->GetBars()->GetCount(), 0);
  ok = true;
  answer = L"Mine";
  TdxBar* mine = Manager->NewToolBar(false, true);
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(mine->GetCaption(), L"Mine");
  answer = String();
  TdxBar* empty = Manager->NewToolBar(false, true);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->GetCaption(), L"Custom 1") << "an empty name keeps the proposed one";

  // Renaming shows the bar's caption; OK with a name renames, Cancel or an empty name do not.
  answer = L"Renamed";
  Manager->RenameToolBar(mine);
  EXPECT_EQ(asked, L"Mine");
  EXPECT_EQ(mine->GetCaption(), L"Renamed");
  ok = false;
  Manager->RenameToolBar(mine);
  EXPECT_EQ(mine->GetCaption(), L"Renamed");
  ok = true;
  answer = String();
  Manager->RenameToolBar(mine);
  EXPECT_EQ(mine->GetCaption(), L"Renamed");
  Manager->RenameToolBar(nullptr);
}

TEST_F(TToolbarCommands, ANewToolbarIsDockedOnANewRowAndFloatsBesideTheForm)
{
  const TRect area = GetMonitorWorkAreaAtPoint(TPoint{0, 0});
  Form->SetBounds(300, 200, 400, 300);
  Form->Show();
  PumpPending();
  TdxBar* one = Manager->NewToolBar(false, false);
  TdxBar* two = Manager->NewToolBar(false, false);
  PumpPending();
  for (TdxBar* bar : {one, two}) {
    EXPECT_EQ(bar->GetDockingStyle(), dsTop);
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_FALSE(bar->GetOneOnRow());
  }
  EXPECT_EQ(one->GetRow(), 0);
  EXPECT_EQ(two->GetRow(), 1) << "below the rows there are, not beside the last bar";
  EXPECT_EQ(Manager->GetBars()->GetDockControl(dsTop)->GetRowCount(), 2);
  EXPECT_EQ(one->GetFloatLeft(), 250);
  EXPECT_EQ(one->GetFloatTop(), 200);

  struct {
    TRect Bounds;
    int Left;
    int Top;
  } rows[] = {
      // At the left edge: to the right of the form.
      {TRect{area.left, 100, area.left + 400, 400}, area.left + 410, 100},
      // Above the work area: just below its top.
      {TRect{300, area.top - 100, 700, area.top + 200}, 250, area.top + 10},
      // Maximised: neither side has room, so it floats near the work area's left.
      {TRect{area.left - 8, area.top - 8, area.right + 8, area.bottom + 8}, area.left + 10, area.top + 10},
  };
  for (const auto& row : rows) {
    Form->SetBoundsRect(row.Bounds);
    TdxBar* bar = Manager->NewToolBar(false, false);
    EXPECT_EQ(bar->GetFloatLeft(), row.Left) << row.Bounds.left;
    EXPECT_EQ(bar->GetFloatTop(), row.Top) << row.Bounds.top;
  }

  TdxBar* menu = Manager->NewToolBar(true, false);
  EXPECT_TRUE(menu->GetIsMainMenu());
  EXPECT_EQ(menu->GetRow(), 0);
  EXPECT_EQ(Manager->GetMainMenuBar(), menu);
}

TEST_F(TToolbarCommands, ResettingAToolbarAsksAndTheAnswerGivenByPointerCounts)
{
  TOwned<TCustomizingForm> form(TCustomForm::CreateFromText<TCustomizingForm>(CustomizingFormText(), nullptr));
  form->SetBounds(200, 150, 500, 300);
  form->Show();
  ActivateWindow(form->GetHandle());
  PumpPending();
  TdxBarManager* manager = ManagerOf(form.Get());
  TdxBar* tools = manager->FindBarByCaption(L"Tools");
  ASSERT_NE(tools, nullptr);
  tools->GetItemLinks()->Items(0)->Free();
  ASSERT_EQ(tools->GetItemLinks()->Count(), 2);
  TMessageBoxSeen seen = AnswerMessageBox([&] { manager->ResetToolBar(tools); }, IDCANCEL);
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(seen.Text, L"Are you sure you want to reset the changes made to the 'Tools' toolbar?");
  EXPECT_EQ(tools->GetItemLinks()->Count(), 2);
  seen = AnswerMessageBox([&] { manager->ResetToolBar(tools); }, IDOK);
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(tools->GetItemLinks()->Count(), 3);
  manager->ResetToolBar(nullptr);

  // Deleting the bar, as the Customize dialog does, leaves the others.
  tools->Free();
  EXPECT_EQ(manager->FindBarByCaption(L"Tools"), nullptr);
  EXPECT_NE(manager->FindBarByCaption(L"Main Menu"), nullptr);
}

TEST_F(TToolbarCommands, OnlyAManagerReadFromFormDataCanReset)
{
  EXPECT_FALSE(Manager->CanReset()) << "made in code";
  TOwned<TCustomizingForm> form(TCustomForm::CreateFromText<TCustomizingForm>(CustomizingFormText(), nullptr));
  TdxBarManager* read = ManagerOf(form.Get());
  EXPECT_TRUE(read->CanReset());
  read->SetAllowReset(false);
  EXPECT_FALSE(read->CanReset());
}

class TDesignedManager : public TdxBarManager {
public:
  explicit TDesignedManager(TComponent* AOwner) : TdxBarManager(AOwner) {}
  int Notified = 0;

protected:
  void NotifyDesigner() override { ++Notified; }
};

TEST(TManagerItems, MovingAnItemReordersTheListAndTellsTheDesigner)
{
  TBarHost<TCustomizingForm, TDesignedManager> host;
  TDesignedManager* manager = host.Manager;
  auto* a = new TdxBarButton(host.Form());
  auto* b = new TdxBarButton(host.Form());
  auto* c = new TdxBarButton(host.Form());
  manager->SetDesigning(true, false);
  manager->MoveItem(0, 2);
  EXPECT_EQ(manager->GetItem(0), b);
  EXPECT_EQ(manager->GetItem(1), c);
  EXPECT_EQ(manager->GetItem(2), a);
  EXPECT_EQ(manager->Notified, 1);
  for (auto [from, to] : {std::pair{0, 3}, std::pair{-1, 0}, std::pair{1, 1}})
    manager->MoveItem(from, to);
  EXPECT_EQ(manager->GetItem(0), b);
  EXPECT_EQ(manager->Notified, 1) << "nothing moved, nothing told";
  manager->SetDesigning(false, false);
}

TEST(TManagerDesigner, WithoutADesignerNothingIsSelectedAndOnlyAnInlineDesignedOwnerCounts)
{
  TBarHost<TCustomizingForm> host;
  TList list;
  host.Manager->DesignerGetSelection(&list);
  host.Manager->GetSelectedComponents(&list);
  host.Manager->DesignerSelectComponent(host.Form(), 0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(host.Manager->IsOwnerNotInlineDesigned());
  host.Form()->SetInline(true);
  EXPECT_TRUE(host.Manager->IsOwnerNotInlineDesigned()) << "inline, but not designed";
  host.Form()->SetDesigning(true, false);
  EXPECT_FALSE(host.Manager->IsOwnerNotInlineDesigned());
  host.Form()->SetInline(false);
  EXPECT_TRUE(host.Manager->IsOwnerNotInlineDesigned());
  host.Form()->SetDesigning(false, false);
}

}  // namespace
