// The bar as a model: naming, caption rules, clamped values, main-menu exclusivity, docking
// events, caption buttons and merging.
#include "BarTestUtil.h"

#include <functional>

#include "bars/itemcontrols/buttons.h"
#include "bars/utils/dxBarStrs.h"
#include "platform/Streams.h"

using TBarModel = TBarFixture;

// ---------------------------------------------------------------------------
// Naming and captions

TEST_F(TBarModel, RunTimeBarsAreNamedAfterTheManagerUnlessTaken)
{
  TdxBar* b1 = Bars()->Add();
  EXPECT_EQ(b1->Name(), L"dxBarManager1Bar1");
  // A component of the form already holds the second name: it is skipped.
  TComponent* squatter = new TComponent(Host.Form());
  squatter->SetName(L"dxBarManager1Bar2");
  TdxBar* b2 = Bars()->Add();
  TdxBar* b3 = Bars()->Add();
  EXPECT_EQ(b2->Name(), L"dxBarManager1Bar3");
  EXPECT_EQ(b3->Name(), L"dxBarManager1Bar4");
  EXPECT_EQ(Bars()->GetCount(), 3);
  EXPECT_EQ(b1->GetBarManager(), Manager);
  EXPECT_EQ(b1->Owner(), Host.Form());
}

TEST_F(TBarModel, DuplicateCaptionIsRefusedButCaseCounts)
{
  TdxBar* a = Bars()->Add();
  TdxBar* b = Bars()->Add();
  a->SetCaption(L"Tools");
  b->SetCaption(L"Other");
  b->SetCaption(L"Tools");
  EXPECT_EQ(b->GetCaption(), L"Other");
  b->SetCaption(L"tools");
  EXPECT_EQ(b->GetCaption(), L"tools");
  EXPECT_EQ(Manager->FindBarByCaption(L"Tools"), a);
  EXPECT_EQ(Manager->FindBarByCaption(L"tools"), b);
  EXPECT_EQ(Manager->GetUniqueBarCaption(L"Custom "), L"Custom 1");
  a->SetCaption(L"Custom 1");
  EXPECT_EQ(Manager->GetUniqueBarCaption(L"Custom "), L"Custom 2");
}

// ---------------------------------------------------------------------------
// Values and defaults

TEST_F(TBarModel, NegativePositionsAndRowsAreClamped)
{
  TdxBar* bar = Bars()->Add();
  bar->SetDockedLeft(-3);
  EXPECT_EQ(bar->GetDockedLeft(), 0);
  bar->SetDockedTop(-1);
  EXPECT_EQ(bar->GetDockedTop(), 0);
  bar->SetRow(-1);
  EXPECT_EQ(bar->GetRow(), 0);
  // Floating positions may be negative (a window left of the first monitor).
  bar->SetFloatLeft(-20);
  EXPECT_EQ(bar->GetFloatLeft(), -20);
}

TEST_F(TBarModel, CanDockUnlessEveryStyleIsExcluded)
{
  TdxBar* bar = Bars()->Add();
  EXPECT_TRUE(bar->CanDock());
  bar->SetNotDocking(TdxBarDockingStyles{dsLeft, dsTop, dsRight, dsBottom});
  EXPECT_TRUE(bar->CanDock());
  bar->SetNotDocking(TdxBarDockingStyles{dsNone, dsLeft, dsTop, dsRight, dsBottom});
  EXPECT_FALSE(bar->CanDock());
  bar->SetNotDocking(TdxBarDockingStyles{});
  Manager->SetNotDocking(TdxBarDockingStyles{dsNone, dsLeft, dsTop, dsRight, dsBottom});
  EXPECT_FALSE(bar->CanDock());
}

TEST_F(TBarModel, CanDockingAsksTheBarFirst)
{
  TdxBar* bar = Bars()->Add();
  bar->SetNotDocking(TdxBarDockingStyles{dsTop});
  EXPECT_FALSE(Manager->CanDocking(bar, dsTop, nullptr));
  EXPECT_TRUE(Manager->CanDocking(bar, dsBottom, nullptr));
  TdxBar* seen = nullptr;
  Manager->OnDocking = TdxBarCanDockingEvent([&seen](TdxBar* B, TdxBarDockingStyle, TWinControl*, bool& Can) {
    seen = B;
    Can = false;
  });
  EXPECT_FALSE(Manager->CanDocking(bar, dsBottom, nullptr));
  EXPECT_EQ(seen, bar);
}

TEST_F(TBarModel, CloseAndStatusBarRules)
{
  TdxBar* bar = Bars()->Add();
  EXPECT_TRUE(bar->CanClose());
  EXPECT_TRUE(bar->CanDelete());
  bar->SetIsMainMenu(true);
  EXPECT_FALSE(bar->CanClose());
  bar->SetIsMainMenu(false);
  bar->SetAllowClose(false);
  EXPECT_FALSE(bar->CanClose());
  EXPECT_FALSE(bar->CanReset());  // made at run time

  EXPECT_FALSE(bar->IsStatusBar());
  bar->SetBorderStyle(bbsNone);
  bar->SetDockingStyle(dsBottom);
  bar->SetWholeRow(true);
  EXPECT_TRUE(bar->IsStatusBar());
  bar->SetDockingStyle(dsTop);
  EXPECT_FALSE(bar->IsStatusBar());
}

// ---------------------------------------------------------------------------
// Main menu

TEST_F(TBarModel, MainMenuMovesFromTheShownMainMenuOnly)
{
  TdxBar* first = Bars()->Add();
  TdxBar* second = Bars()->Add();
  first->SetIsMainMenu(true);
  EXPECT_TRUE(first->GetWholeRow());
  EXPECT_TRUE(first->GetMultiLine());
  // A main menu without a window (as while form data is read) keeps its flag and its rules.
  second->SetIsMainMenu(true);
  EXPECT_TRUE(first->GetIsMainMenu());
  EXPECT_TRUE(first->GetWholeRow());
  EXPECT_TRUE(first->GetMultiLine());
  // The shown main menu gives it up.
  second->SetVisible(true);
  ASSERT_NE(second->GetControl(), nullptr);
  first->SetIsMainMenu(false);
  first->SetIsMainMenu(true);
  EXPECT_FALSE(second->GetIsMainMenu());
  EXPECT_FALSE(second->GetWholeRow());
  EXPECT_FALSE(second->GetMultiLine());
  // MultiLine cannot be switched off on a main menu.
  first->SetMultiLine(false);
  EXPECT_TRUE(first->GetMultiLine());
}

// ---------------------------------------------------------------------------
// Events

TEST_F(TBarModel, AddAndDeleteEvents)
{
  TBarEventLog log;
  log.Attach(Manager);
  TdxBar* bar = Bars()->Add();
  EXPECT_EQ(log.Added, 1);
  bar->Free();
  EXPECT_EQ(log.Deleted, 1);
  EXPECT_EQ(Bars()->GetCount(), 0);
}

TEST_F(TBarModel, SetDockingFiresOneEventAndShowsAllLinks)
{
  TdxBar* bar = Bars()->Add();
  bar->GetItemLinks()->SetRecentItemCount(3);
  TBarEventLog log;
  log.Attach(Manager);
  bar->SetDocking(dsLeft, nullptr);
  EXPECT_EQ(log.DockingChanges, 1);
  EXPECT_EQ(bar->GetDockingStyle(), dsLeft);
  EXPECT_EQ(bar->GetItemLinks()->GetRecentItemCount(), -1);
  bar->SetDocking(dsLeft, nullptr);
  EXPECT_EQ(log.DockingChanges, 1);
}

TEST_F(TBarModel, DockControlOfAnotherManagerIsIgnored)
{
  TBarHost<TBarAreaForm> other;
  auto* foreign = new TdxBarDockControl(other.Form());
  foreign->SetParent(other.Form());
  foreign->SetBarManager(other.Manager);
  TdxBar* bar = Bars()->Add();
  TBarEventLog log;
  log.Attach(Manager);
  bar->SetDockControl(foreign);
  EXPECT_EQ(bar->GetDockControl(), nullptr);
  bar->SetDockedDockControl(foreign);
  EXPECT_EQ(bar->GetDockedDockControl(), nullptr);
  EXPECT_EQ(log.DockingChanges, 0);
}

TEST_F(TBarModel, DestroyedBarTellsItsListeners)
{
  TdxBar* bar = Bars()->Add();
  struct TListener : TdxBarItem {
    using TdxBarItem::TdxBarItem;
    int Told = 0;
    void BarNotification(int Kind) override { Told += Kind == dxBarNotificationDestroying ? 1 : 100; }
  };
  auto* listener = new TListener(Host.Form());
  bar->AddListener(listener);
  bar->Free();
  EXPECT_EQ(listener->Told, 1);
}

// ---------------------------------------------------------------------------
// Caption buttons

TEST(BarCaptionButtons, IndexOfButtonAtSkipsDisabledButtons)
{
  TdxBarCaptionButtons buttons(nullptr);
  TdxBarCaptionButton* a = buttons.Add();
  TdxBarCaptionButton* b = buttons.Add();
  a->SetRect(Rect(0, 0, 10, 10));
  b->SetRect(Rect(5, 0, 20, 10));  // overlaps a
  EXPECT_EQ(buttons.IndexOfButtonAt(Point(7, 5)), 0);
  a->SetEnabled(false);
  EXPECT_EQ(a->GetState(), TdxBarCaptionButton::bsDisabled);
  EXPECT_EQ(buttons.IndexOfButtonAt(Point(7, 5)), 1);
  EXPECT_EQ(buttons.IndexOfButtonAt(Point(2, 5)), -1);
  EXPECT_EQ(buttons.IndexOfButtonAt(Point(30, 5)), -1);
  a->SetEnabled(true);
  EXPECT_EQ(a->GetState(), TdxBarCaptionButton::bsNormal);
}

TEST(BarCaptionButtons, StatesFollowThePointAndTheHintOnlyWhileHot)
{
  TdxBarCaptionButtons buttons(nullptr);
  TdxBarCaptionButton* a = buttons.Add();
  TdxBarCaptionButton* b = buttons.Add();
  a->SetRect(Rect(0, 0, 10, 10));
  b->SetRect(Rect(10, 0, 20, 10));
  a->SetHint(L"Pin");
  int changes = 0;
  buttons.OnChanged =
      TdxBarCaptionButtonsChangedEvent([&changes](TdxBarCaptionButtons*, TdxBarCaptionButton*) { ++changes; });
  buttons.UpdateButtonStates(Point(3, 3), false);
  EXPECT_EQ(a->GetState(), TdxBarCaptionButton::bsHot);
  EXPECT_EQ(b->GetState(), TdxBarCaptionButton::bsNormal);
  EXPECT_EQ(changes, 1);
  String hint;
  EXPECT_TRUE(a->GetHint(hint));
  EXPECT_EQ(hint, L"Pin");
  EXPECT_FALSE(b->GetHint(hint));
  buttons.UpdateButtonStates(Point(3, 3), true);
  EXPECT_EQ(a->GetState(), TdxBarCaptionButton::bsPressed);
  buttons.UpdateButtonStates(Point(13, 3), false);
  EXPECT_EQ(a->GetState(), TdxBarCaptionButton::bsNormal);
  EXPECT_EQ(b->GetState(), TdxBarCaptionButton::bsHot);
  // Unchanged states report nothing.
  int before = changes;
  buttons.UpdateButtonStates(Point(13, 4), false);
  EXPECT_EQ(changes, before);
}

TEST(BarCaptionButtons, ClickFiresWithTheButton)
{
  TdxBarCaptionButtons buttons(nullptr);
  TdxBarCaptionButton* a = buttons.Add();
  TObject* sender = nullptr;
  a->OnClick = TNotifyEvent([&sender](TObject* S) { sender = S; });
  a->Click();
  EXPECT_EQ(sender, a);
}

// ---------------------------------------------------------------------------
// Merging

TEST_F(TBarModel, MergeRefusesTheDocumentedCases)
{
  TdxBar* a = Bars()->Add();
  TdxBar* b = Bars()->Add();
  TdxBar* c = Bars()->Add();
  a->SetCaption(L"A");
  b->SetCaption(L"B");
  c->SetCaption(L"C");
  EXPECT_THROW(a->Merge(nullptr), Exception);
  EXPECT_THROW(a->Merge(a), Exception);
  b->Merge(a);
  EXPECT_EQ(a->GetMergeData().MergedWith.Get(), b);
  // B now has merged bars: it cannot be merged into C.
  try {
    c->Merge(b);
    ADD_FAILURE() << "merging a bar with merged bars must fail";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), Format(GetResourceString(sdxBarToolbarHasMergedToolbars), {String(L"B")}));
  }
  // A is merged: nothing can be merged into it.
  try {
    a->Merge(c);
    ADD_FAILURE() << "merging into a merged bar must fail";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), GetResourceString(sdxBarCantMergeWithMergedToolbar));
  }
  auto message = [](const std::function<void()>& AAction) {
    try {
      AAction();
    } catch (const Exception& e) {
      return e.Message();
    }
    return String(L"(nothing raised)");
  };
  EXPECT_EQ(message([&] { b->Merge(a); }), L"The 'A' toolbar is already merged with the 'B' toolbar");
  EXPECT_EQ(message([&] { b->Unmerge(b); }), L"You cannot unmerge the specified toolbar");
  // Unmerging a bar merged nowhere does nothing; one merged elsewhere raises.
  EXPECT_NO_THROW(b->Unmerge(c));
  EXPECT_EQ(message([&] { c->Unmerge(a); }), L"The 'A' toolbar is not merged with the 'C' toolbar");
  EXPECT_EQ(a->GetMergeData().MergedWith.Get(), b) << "a refusal changes nothing";
  b->Unmerge(a);
  EXPECT_EQ(a->GetMergeData().MergedWith.Get(), nullptr);
}

TEST_F(TBarModel, MergeRefusedHalfWayLeavesBothBarsAsTheyWere)
{
  TdxBar* host = Bars()->Add();
  TdxBar* a = Bars()->Add();
  auto* item = new TdxBarButton(Host.Form());
  for (TdxBar* bar : {host, a, a})
    bar->GetItemLinks()->AddItem(item);
  int merged = 0;
  Manager->OnMergeItemLink = TdxBarMergeItemLinkEvent(
      [&](TObject*, TdxBarItemLinks*, TdxBarItemLinks*, TdxBarItemLink*, TdxBarItemMergeKind&, int&) {
        if (++merged == 2)
          throw Exception(L"refused");  // the second link of the two
      });
  EXPECT_THROW(host->Merge(a), Exception);
  EXPECT_EQ(host->GetItemLinks()->Count(), 1);
  EXPECT_EQ(a->GetMergeData().MergedWith.Get(), nullptr);
  EXPECT_TRUE(host->GetMergeData().MergedBars.empty());
}

TEST_F(TBarModel, MergeReceivingBarIsFreedOnceWhenEmptied)
{
  TdxBar* host = Bars()->Add();
  TdxBar* a = Bars()->Add();
  host->GetMergeData().CreatedForMerging = true;
  host->Merge(a);
  TWeakRef<TdxBar> hostRef(host);
  host->Unmerge(a);
  EXPECT_FALSE(hostRef.Alive());
  EXPECT_EQ(Bars()->GetCount(), 1);
}

TEST_F(TBarModel, MergeReceivingBarDestroyedWithMergedBarsIsFreedOnce)
{
  TBarEventLog log;
  log.Attach(Manager);
  TdxBar* host = Bars()->Add();
  TdxBar* a = Bars()->Add();
  a->SetVisible(true);
  host->GetMergeData().CreatedForMerging = true;
  host->Merge(a);
  EXPECT_FALSE(a->GetVisible());
  // Freeing the host unmerges A; that must not free the host a second time.
  host->Free();
  EXPECT_EQ(log.Deleted, 1);
  EXPECT_EQ(Bars()->GetCount(), 1);
  EXPECT_EQ(a->GetMergeData().MergedWith.Get(), nullptr);
  EXPECT_TRUE(a->GetVisible());  // its visibility came back
}
