// The manager's toolbar commands: new toolbars, their names and places, rename, reset and the
// usage reset with the real questions answered by pointer, and moving items.
#include "CustomizingTestUtil.h"

#include <map>
#include <optional>
#include <tuple>

#include "bars/barwindows/dockcontrol.h"
#include "lookandfeel/cxControls.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TToolbarCommands = TCustomizingFixture;

TEST_F(TToolbarCommands, NewToolbarsAreNamedByTheLowestFreeNumberOrByTheNameDialog)
{
  TdxBarCustomizingServices none = dxBarCustomizingServices();
  none.ShowToolbarNameDialog = nullptr;
  std::optional<TServicesScope> noDialog(std::in_place, none);
  TdxBar* first = Manager->NewToolBar(false, true);  // no name dialog: the proposed name
  TdxBar* second = Manager->NewToolBar(false, false);
  EXPECT_EQ(first->GetCaption(), L"Custom 1");
  EXPECT_EQ(second->GetCaption(), L"Custom 2");
  first->Free();
  EXPECT_EQ(Manager->NewToolBar(false, false)->GetCaption(), L"Custom 1");

  String asked, answer;
  bool ok = false;
  TdxBar* askedBar = Bar(L"Tools");
  TdxBarCustomizingServices services;
  services.ShowToolbarNameDialog = [&](TdxBarManager*, String& ACaption, TdxBar* ABar) {
    asked = ACaption;
    askedBar = ABar;
    ACaption = answer;
    return ok;
  };
  noDialog.reset();
  TServicesScope scope(services);
  const int count = Manager->GetBars()->GetCount();
  EXPECT_EQ(Manager->NewToolBar(false, true), nullptr);
  EXPECT_EQ(asked, L"Custom 3");
  EXPECT_EQ(askedBar, nullptr) << "a new toolbar has no bar yet";
  EXPECT_EQ(Manager->GetBars()->GetCount(), count);
  ok = true;
  EXPECT_EQ(Manager->NewToolBar(false, true)->GetCaption(), L"Custom 3") << "an empty name keeps the proposed one";
  answer = L"Mine";
  Manager->RenameToolBar(second);
  EXPECT_EQ(asked, L"Custom 2");
  EXPECT_EQ(askedBar, second);
  EXPECT_EQ(second->GetCaption(), L"Mine");
  answer = String();
  Manager->RenameToolBar(second);
  EXPECT_EQ(second->GetCaption(), L"Mine");
}

TEST_F(TToolbarCommands, ANewToolbarIsDockedOnANewRowAndFloatsBesideTheForm)
{
  ShowForm();
  TdxBar* bar = Manager->NewToolBar(false, false);
  EXPECT_EQ(bar->GetDockingStyle(), dsTop);
  EXPECT_EQ(bar->GetRow(), 2) << "below the two rows there are";
  EXPECT_FALSE(bar->GetOneOnRow());
  EXPECT_EQ(Manager->GetBars()->GetDockControl(dsTop)->GetRowCount(), 3);
  EXPECT_EQ(bar->GetFloatLeft(), 150);
  EXPECT_EQ(bar->GetFloatTop(), 150);
  const TRect area = GetMonitorWorkAreaAtPoint(TPoint{0, 0});
  struct {
    TRect Bounds;
    POINT Float;
  } rows[] = {
      {TRect{area.left, 100, area.left + 400, 400}, {area.left + 410, 100}},    // at the left edge: on the right
      {TRect{300, area.top - 100, 700, area.top + 200}, {250, area.top + 10}},  // above the work area
      {TRect{area.left - 8, area.top - 8, area.right + 8, area.bottom + 8}, {area.left + 10, area.top + 10}},
  };  // the last one maximised: no room on either side
  for (const auto& row : rows) {
    Form->SetBoundsRect(row.Bounds);
    bar = Manager->NewToolBar(false, false);
    EXPECT_EQ(bar->GetFloatLeft(), row.Float.x) << row.Bounds.left;
    EXPECT_EQ(bar->GetFloatTop(), row.Float.y) << row.Bounds.top;
  }
}

TEST_F(TToolbarCommands, ResettingABarAsksAndKeepsTheMenusOfItsSubItems)
{
  ShowForm();
  EXPECT_TRUE(Manager->CanReset());
  TdxBarItemLinks* tools = Bar(L"Tools")->GetItemLinks();
  tools->Items(0)->Free();
  TMessageBoxSeen seen = AnswerMessageBox([&] { Manager->ResetToolBar(Bar(L"Tools")); }, IDCANCEL);
  EXPECT_EQ(seen.Text, L"Are you sure you want to reset the changes made to the 'Tools' toolbar?");
  EXPECT_EQ(tools->Count(), 2);
  EXPECT_TRUE(AnswerMessageBox([&] { Manager->ResetToolBar(Bar(L"Tools")); }, IDOK).Found);
  EXPECT_EQ(tools->Count(), 3);
  FileLinks()->Items(4)->Free();
  Bar(L"Main Menu")->Reset();
  EXPECT_EQ(FileLinks()->Count(), 5) << "the File menu is back as the form data had it";
  TBarHost<TCustomizingForm> made;
  EXPECT_FALSE(made.Manager->CanReset());
}

using TUsage = std::map<String, std::tuple<int, int, bool>>;  // use count, recent index, recently used

TUsage UsageOf(TdxBarItemLinks* ALinks)
{
  TUsage usage;
  for (int i = 0; i < ALinks->Count(); ++i) {
    TdxBarItemLink* link = ALinks->Items(i);
    usage[link->GetItem()->Name()] = {link->GetUseCount(), link->GetRecentIndex(), link->GetMostRecentlyUsed()};
  }
  return usage;
}

TEST_F(TToolbarCommands, TheUsageResetKeepsTheCountsOnNoAndRestoresThemByItemOnYes)
{
  ShowForm();
  TdxBarItemLinks* tools = Bar(L"Tools")->GetItemLinks();
  const TUsage toolsBefore = UsageOf(tools), fileBefore = UsageOf(FileLinks());
  ASSERT_TRUE(ClickAt(CenterOf(L"Tool1")));
  tools->Items(2)->SetMostRecentlyUsed(true);
  FileLinks()->Items(4)->BringToTopInRecentList(true);
  FileLinks()->Items(3)->SetMostRecentlyUsed(true);
  FileLinks()->Items(0)->SetMostRecentlyUsed(false);
  FileLinks()->MoveLink(0, 4);  // a customization the reset must not undo
  const TUsage toolsUsed = UsageOf(tools), fileUsed = UsageOf(FileLinks());
  ASSERT_NE(toolsUsed, toolsBefore);
  ASSERT_NE(fileUsed, fileBefore);

  TMessageBoxSeen seen = AnswerMessageBox([&] { Manager->ResetUsageDataWithConfirmation(); }, IDNO);
  EXPECT_EQ(seen.Text,
            L"This will delete the record of the commands you've used in this application and restore "
            L"the default set of visible commands to the menus and toolbars. It will not undo any "
            L"explicit customizations.   Are you sure you want to proceed?");
  EXPECT_TRUE(seen.YesNo);
  EXPECT_EQ(seen.DefaultButton, IDNO);
  EXPECT_EQ(UsageOf(tools), toolsUsed);
  EXPECT_EQ(UsageOf(FileLinks()), fileUsed);
  EXPECT_TRUE(AnswerMessageBox([&] { Manager->ResetUsageDataWithConfirmation(); }, IDYES).Found);
  EXPECT_EQ(UsageOf(tools), toolsBefore);
  EXPECT_EQ(UsageOf(FileLinks()), fileBefore);
  EXPECT_EQ(FileLinks()->Items(4)->GetItem(), Item(L"File0"));
}

class TDesignedManager : public TdxBarManager {
public:
  using TdxBarManager::TdxBarManager;
  int Notified = 0;

protected:
  void NotifyDesigner() override { ++Notified; }
};

TEST(TManagerItems, MovingAnItemReordersTheListAndTellsTheDesigner)
{
  TBarHost<TCustomizingForm, TDesignedManager> host;
  auto* a = new TdxBarButton(host.Form());
  auto* b = new TdxBarButton(host.Form());
  host.Manager->SetDesigning(true, false);
  host.Manager->MoveItem(0, 1);
  for (auto [from, to] : {std::pair{0, 2}, std::pair{-1, 0}, std::pair{1, 1}})
    host.Manager->MoveItem(from, to);
  EXPECT_EQ(host.Manager->GetItem(0), b);
  EXPECT_EQ(host.Manager->GetItem(1), a);
  EXPECT_EQ(host.Manager->Notified, 1) << "only the move that moved something";
  host.Manager->SetDesigning(false, false);
  // Only an owner designed inline (a frame in a designed form) counts as inline designed.
  EXPECT_TRUE(host.Manager->IsOwnerNotInlineDesigned());
  host.Form()->SetInline(true);
  EXPECT_TRUE(host.Manager->IsOwnerNotInlineDesigned());
  host.Form()->SetDesigning(true, false);
  EXPECT_FALSE(host.Manager->IsOwnerNotInlineDesigned());
  host.Form()->SetDesigning(false, false);
}

}  // namespace
