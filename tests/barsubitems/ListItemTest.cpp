// List items and container items: captions, numbers, groups and checks of the generated
// buttons, the data index, the click, and the bookkeeping of what a fill adds to a menu's
// links, shown with the real pointer in the File menu of the main-menu form.
#include "SubItemsTestUtil.h"

#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TListItems = TSubItemsFixture;

void SetItems(TdxBarListItem* AList, std::initializer_list<String> AItems)
{
  AList->GetItems()->Clear();
  AList->GetItems()->AddStrings(AItems);
}

std::vector<String> CaptionsOf(TdxBarItemLinks* ALinks, int AFrom, int ACount)
{
  std::vector<String> captions;
  for (int i = AFrom; i < AFrom + ACount && i < ALinks->Count(); ++i)
    captions.push_back(ALinks->Items(i)->GetItem() ? ALinks->Items(i)->GetItem()->GetCaption() : L"<none>");
  return captions;
}

class TListItemsInMenu : public TListItems {
protected:
  void SetUp() override
  {
    TListItems::SetUp();
    File = Sub(L"FileItem");
    List = new TdxBarListItem(Form);
    List->SetName(L"WindowList");
    // After "File1": the list's entries follow at index 2.
    TdxBarItemLink* link = File->GetItemLinks()->Insert(2);
    link->SetItem(List);
  }
  TdxBarSubMenuControl* OpenFile()
  {
    if (!ClickOn(ControlOf(File)))
      return nullptr;
    PumpUntil([&] { return MenuOf(File) != nullptr; });
    return MenuOf(File);
  }
  void CloseAll()
  {
    if (TCustomdxBarControl* active = ActiveBarControl())
      active->Close();
    PumpPending();
  }
  TdxBarSubItem* File = nullptr;
  TdxBarListItem* List = nullptr;
};

TEST_F(TListItemsInMenu, TheListExpandsInPlaceNumberedGroupedWithTheCheckedEntryMarked)
{
  SetItems(List, {L"One", L"-", L"Two"});
  List->SetShowCheck(true);
  List->SetItemIndex(2);
  EXPECT_EQ(List->GetDataIndex(), 1);
  ShowForm();
  TdxBarSubMenuControl* menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  TdxBarItemLinks* links = File->GetItemLinks();
  ASSERT_EQ(links->Count(), 6 - 1 + 1 + 2) << "the list's own link leaves, its two buttons come";
  EXPECT_EQ(CaptionsOf(links, 2, 2), (std::vector<String>{L"&1 One", L"&2 Two"}));
  EXPECT_TRUE(links->Items(2)->GetBeginGroup());
  EXPECT_TRUE(links->Items(3)->GetBeginGroup());
  auto* first = dynamic_cast<TdxBarButton*>(links->Items(2)->GetItem());
  auto* second = dynamic_cast<TdxBarButton*>(links->Items(3)->GetItem());
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->Tag(), 0);
  EXPECT_EQ(second->Tag(), 2);
  EXPECT_EQ(second->GetButtonStyle(), bsChecked);
  EXPECT_TRUE(second->GetDown());
  EXPECT_FALSE(first->GetDown());
  // Shown as entries of the open menu, in place.
  EXPECT_EQ(EntryOf(menu, 2), links->Items(2)->GetControl());
  EXPECT_NE(EntryOf(menu, 3), nullptr);
  EXPECT_EQ(List->GetLinkCount(), 1) << "the list keeps its link aside meanwhile";
  CloseAll();
  ASSERT_EQ(links->Count(), 7);
  EXPECT_EQ(links->Items(2)->GetItem(), List);
}

TEST_F(TListItemsInMenu, AClickOnAGeneratedButtonSetsItemIndexBeforeOnClickRuns)
{
  SetItems(List, {L"A", L"B", L"C"});
  std::vector<int> seen;
  TObject* sender = nullptr;
  List->SetOnClick(TNotifyEvent([&](TObject* Sender) {
    seen.push_back(List->GetItemIndex());
    sender = Sender;
  }));
  ShowForm();
  TdxBarSubMenuControl* menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(EntryOf(menu, 4))));
  PumpPending();
  EXPECT_EQ(seen, (std::vector<int>{2}));
  EXPECT_EQ(sender, List);
  EXPECT_EQ(List->GetItemIndex(), 2);
  EXPECT_EQ(MenuOf(File), nullptr);
  EXPECT_EQ(File->GetItemLinks()->Count(), 7);
  MoveAway();
}

TEST_F(TListItemsInMenu, OpeningAndClosingFiveTimesLeavesTheHostLinksAndTheManagersItemsAsTheyWere)
{
  SetItems(List, {L"One", L"Two", L"-", L"Three"});
  ShowForm();
  ASSERT_NE(OpenFile(), nullptr);
  CloseAll();
  const int links = File->GetItemLinks()->Count();
  const int items = Manager->GetItemCount();
  EXPECT_EQ(links, 7);
  for (int i = 0; i < 5; ++i) {
    TdxBarSubMenuControl* menu = OpenFile();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(File->GetItemLinks()->Count(), links - 1 + 3);
    CloseAll();
    EXPECT_EQ(File->GetItemLinks()->Count(), links);
    EXPECT_EQ(Manager->GetItemCount(), items);
  }
  // Changed while closed: the next opening shows the new entries.
  SetItems(List, {L"Four"});
  ASSERT_NE(OpenFile(), nullptr);
  EXPECT_EQ(CaptionsOf(File->GetItemLinks(), 2, 1), (std::vector<String>{L"&1 Four"}));
  EXPECT_EQ(File->GetItemLinks()->Items(3)->GetItem(), Item<TdxBarItem>(L"File2"));
  CloseAll();
  EXPECT_EQ(File->GetItemLinks()->Count(), links);
  MoveAway();
}

TEST_F(TListItemsInMenu, ItemsChangedWhileTheMenuIsOpenDeleteNoLinkOfTheMenusOwn)
{
  SetItems(List, {L"a.txt", L"b.txt", L"c.txt"});
  ShowForm();
  TdxBarItemLinks* links = File->GetItemLinks();
  std::vector<TWeakRef<TdxBarItemLink>> own;
  for (int i = 0; i < links->Count(); ++i)
    if (links->Items(i)->GetItem() != List)
      own.emplace_back(links->Items(i));
  ASSERT_EQ(own.size(), 6u);
  ASSERT_NE(OpenFile(), nullptr);
  // Fewer entries, then more, while the menu shows them.
  SetItems(List, {L"d.txt"});
  PumpPending();
  for (const auto& link : own)
    EXPECT_TRUE(link.Alive());
  EXPECT_EQ(links->Count(), 6 + 1);
  EXPECT_EQ(CaptionsOf(links, 2, 1), (std::vector<String>{L"&1 d.txt"}));
  SetItems(List, {L"e.txt", L"f.txt", L"g.txt", L"h.txt"});
  PumpPending();
  for (const auto& link : own)
    EXPECT_TRUE(link.Alive());
  ASSERT_EQ(links->Count(), 6 + 4);
  EXPECT_EQ(CaptionsOf(links, 2, 4), (std::vector<String>{L"&1 e.txt", L"&2 f.txt", L"&3 g.txt", L"&4 h.txt"}));
  TdxBarSubMenuControl* menu = MenuOf(File);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetItemLinks()->VisibleItemCount(), 10);
  EXPECT_EQ(EntryOf(menu, 5)->GetCaption(), L"&4 h.txt");
  CloseAll();
  ASSERT_EQ(links->Count(), 7);
  for (size_t i = 0; i < own.size(); ++i)
    EXPECT_TRUE(own[i].Alive()) << i;
  EXPECT_EQ(links->Items(2)->GetItem(), List);
  // The list freed while expanded takes its entries along and no other link.
  ASSERT_NE(OpenFile(), nullptr);
  List->Free();
  PumpPending();
  EXPECT_EQ(links->Count(), 6);
  for (const auto& link : own)
    EXPECT_TRUE(link.Alive());
  CloseAll();
  EXPECT_EQ(links->Count(), 6);
  MoveAway();
}

TEST_F(TListItems, NumbersRunFromOneToNineThenAToZAndStop)
{
  auto* list = new TdxBarListItem(Form);
  auto* target = new TdxBarSubItem(Form);
  for (int i = 0; i < 40; ++i)
    list->GetItems()->Add(L"Entry " + IntToStr(i));
  list->AddListedItemLinks(target->GetItemLinks(), 0, 7, true);
  TdxBarItemLinks* links = target->GetItemLinks();
  ASSERT_EQ(links->Count(), 40);
  EXPECT_EQ(links->Items(0)->GetItem()->GetCaption(), L"&1 Entry 0");
  EXPECT_EQ(links->Items(8)->GetItem()->GetCaption(), L"&9 Entry 8");
  EXPECT_EQ(links->Items(9)->GetItem()->GetCaption(), L"&A Entry 9");
  EXPECT_EQ(links->Items(10)->GetItem()->GetCaption(), L"&B Entry 10");
  EXPECT_EQ(links->Items(34)->GetItem()->GetCaption(), L"&Z Entry 34");
  EXPECT_EQ(links->Items(35)->GetItem()->GetCaption(), L"Entry 35");
  EXPECT_EQ(links->Items(0)->GetData(), 7);
  EXPECT_TRUE(links->Items(0)->GetStoredBeginGroup());
  EXPECT_FALSE(links->Items(1)->GetStoredBeginGroup());
  list->SetShowNumbers(false);
  list->AddListedItemLinks(links, 0, 0, true);
  EXPECT_EQ(links->Count(), 40) << "a second fill of the same links replaces the first";
  EXPECT_EQ(links->Items(0)->GetItem()->GetCaption(), L"Entry 0");
  list->DeleteListedItemLinks(links, 0);
  EXPECT_EQ(links->Count(), 0);
}

TEST_F(TListItems, DataIndexRoundTripsSkipsGroupEntriesAndGivesMinusOneForNone)
{
  auto* list = new TdxBarListItem(Form);
  EXPECT_EQ(list->GetDataIndex(), -1);
  list->SetDataIndex(0);
  EXPECT_EQ(list->GetItemIndex(), -1) << "an empty list selects nothing";
  SetItems(list, {L"A", L"-", L"B", L"C", L"-"});
  for (int value = 0; value < 3; ++value) {
    list->SetDataIndex(value);
    EXPECT_EQ(list->GetDataIndex(), value);
  }
  list->SetDataIndex(1);
  EXPECT_EQ(list->GetItemIndex(), 2);
  list->SetDataIndex(-3);
  EXPECT_EQ(list->GetItemIndex(), -1);
  EXPECT_EQ(list->GetDataIndex(), -1);
  list->SetDataIndex(99);
  EXPECT_EQ(list->GetItemIndex(), 3) << "the last real entry, never a group mark";
  list->SetItemIndex(1);
  EXPECT_EQ(list->GetDataIndex(), -1) << "a group mark is no entry";
  list->SetItemIndex(17);
  EXPECT_EQ(list->GetDataIndex(), -1);
  list->SetItemIndex(-8);
  EXPECT_EQ(list->GetItemIndex(), -1);
  SetItems(list, {L"-", L"-"});
  list->SetDataIndex(0);
  EXPECT_EQ(list->GetItemIndex(), -1);
}

TEST_F(TListItems, ButtonsStillLinkedElsewhereAreBroughtUpToDateWhenTheEntriesChange)
{
  auto* list = new TdxBarListItem(Form);
  auto* first = new TdxBarSubItem(Form);
  auto* second = new TdxBarSubItem(Form);
  auto* keep = new TdxBarButton(Form);
  second->GetItemLinks()->AddItem(keep);
  second->GetItemLinks()->AddItem(keep);
  SetItems(list, {L"A", L"B", L"C"});
  list->AddListedItemLinks(first->GetItemLinks(), 0, 0, true);
  ASSERT_EQ(first->GetItemLinks()->Count(), 3);
  // Grown while the first fill's buttons are still linked: the second fill reaches every entry.
  SetItems(list, {L"X", L"-", L"Y", L"Z", L"W", L"V"});
  list->AddListedItemLinks(second->GetItemLinks(), 1, 0, true);
  TdxBarItemLinks* links = second->GetItemLinks();
  ASSERT_EQ(links->Count(), 2 + 5);
  EXPECT_EQ(links->Items(0)->GetItem(), keep);
  EXPECT_EQ(CaptionsOf(links, 1, 5), (std::vector<String>{L"&1 X", L"&2 Y", L"&3 Z", L"&4 W", L"&5 V"}));
  EXPECT_EQ(links->Items(6)->GetItem(), keep);
  EXPECT_EQ(links->Items(2)->GetItem()->Tag(), 2);
  EXPECT_TRUE(links->Items(2)->GetBeginGroup());
  // Each target loses exactly what its fill added.
  list->DeleteListedItemLinks(first->GetItemLinks(), 0);
  EXPECT_EQ(first->GetItemLinks()->Count(), 0);
  EXPECT_EQ(links->Count(), 7);
  list->DeleteListedItemLinks(links, 1);
  ASSERT_EQ(links->Count(), 2);
  EXPECT_EQ(links->Items(0)->GetItem(), keep);
  EXPECT_EQ(links->Items(1)->GetItem(), keep);
}

TEST_F(TListItems, ContainersShowTheirContentInPlaceInAMenuAndInADropDownOnAToolbar)
{
  auto* container = new TdxBarContainerItem(Form);
  container->SetCaption(L"Tools");
  container->GetItemLinks()->AddItem(Item<TdxBarButton>(L"Find0"));
  container->GetItemLinks()->AddItem(Item<TdxBarButton>(L"Find1"));
  EXPECT_TRUE(container->CanBeVisible());
  TdxBarSubItem* file = Sub(L"FileItem");
  file->GetItemLinks()->AddItem(container);
  auto* list = new TdxBarListItem(Form);
  list->SetCaption(L"Windows");
  SetItems(list, {L"One", L"Two"});
  TdxBar* tools = Manager->GetBars()->Add();
  tools->SetDockingStyle(dsTop);
  tools->GetItemLinks()->AddItem(container);
  tools->GetItemLinks()->AddItem(list);
  tools->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(ClickOn(ControlOf(file)));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(file) != nullptr; }));
  TdxBarItemLinks* links = file->GetItemLinks();
  ASSERT_EQ(links->Count(), 6 + 2);
  EXPECT_EQ(links->Items(6)->GetItem(), Item<TdxBarItem>(L"Find0"));
  EXPECT_TRUE(links->Items(6)->GetBeginGroup());
  EXPECT_EQ(links->Items(7)->GetItem(), Item<TdxBarItem>(L"Find1"));
  if (TCustomdxBarControl* active = ActiveBarControl())
    active->Close();
  PumpPending();
  EXPECT_EQ(links->Count(), 7);
  // On the toolbar the container is one entry whose drop-down shows its own links.
  auto* control = dynamic_cast<TdxBarContainerItemControl*>(tools->GetItemLinks()->Items(0)->GetControl());
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->GetCaption(), L"Tools");
  ASSERT_TRUE(ClickOn(control));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(container) != nullptr; }));
  auto* menu = dynamic_cast<TContainerItemSubMenuControl*>(MenuOf(container));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetContainerItem(), container);
  EXPECT_EQ(menu->GetItemLinks()->VisibleItemCount(), 2);
  Key(VK_ESCAPE);
  EXPECT_EQ(MenuOf(container), nullptr);
  EXPECT_EQ(container->GetItemLinks()->Count(), 2);
  // A list lists its entries into its own links for the drop-down, and takes them back.
  Key(VK_ESCAPE);
  ASSERT_EQ(ActiveBarControl(), nullptr);
  ASSERT_TRUE(ClickOn(tools->GetItemLinks()->Items(1)->GetControl()));
  ASSERT_TRUE(PumpUntil([&] { return MenuOf(list) != nullptr; }));
  EXPECT_EQ(CaptionsOf(list->GetItemLinks(), 0, 2), (std::vector<String>{L"&1 One", L"&2 Two"}));
  Key(VK_ESCAPE);
  EXPECT_EQ(list->GetItemLinks()->Count(), 0);
  EXPECT_TRUE(list->IsMenuClosed());
  EXPECT_TRUE(container->IsCompatibleWith(new TdxBarContainerItem(Form)));
  EXPECT_FALSE(container->IsCompatibleWith(file));
  MoveAway();
}

TEST_F(TListItems, TheExtraPaneListShowsImagesFileNamesAndItsCommandAndTakesAllBack)
{
  auto* pane = new TdxBarExtraPaneListItem(Form);
  auto* target = new TdxBarSubItem(Form);
  auto* keep = new TdxBarButton(Form);
  target->GetItemLinks()->AddItem(keep);
  EXPECT_FALSE(pane->CanBeVisible());
  pane->AddEntry(String(), 3, L"C:\\Documents\\Report.txt");
  pane->AddEntry(L"Notes", -1, L"C:\\Notes.txt");
  pane->SetCaption(L"Clear the list");
  int extraClicks = 0;
  pane->OnExtraCommandClick = TNotifyEvent([&](TObject*) { ++extraClicks; });
  pane->AddListedItemLinks(target->GetItemLinks(), 0, 0, true);
  TdxBarItemLinks* links = target->GetItemLinks();
  ASSERT_EQ(links->Count(), 1 + 2 + 1);
  EXPECT_EQ(CaptionsOf(links, 0, 3), (std::vector<String>{L"&1 Report.txt", L"&2 Notes", L"Clear the list"}));
  auto* report = dynamic_cast<TdxBarButton*>(links->Items(0)->GetItem());
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->GetImageIndex(), 3);
  EXPECT_EQ(report->GetPaintStyle(), psCaptionGlyph);
  EXPECT_EQ(report->GetHint(), L"Report.txt");
  EXPECT_EQ(links->Items(2)->GetItem(), pane->GetExtraCommandButton());
  EXPECT_EQ(links->Items(3)->GetItem(), keep);
  pane->GetExtraCommandButton()->Click();
  EXPECT_EQ(extraClicks, 1);
  // Filled again and emptied: the command's link goes with the entries, every time.
  for (int i = 0; i < 3; ++i) {
    pane->AddListedItemLinks(links, 0, 0, true);
    EXPECT_EQ(links->Count(), 4);
    pane->DeleteListedItemLinks(links, 0);
    ASSERT_EQ(links->Count(), 1);
    EXPECT_EQ(links->Items(0)->GetItem(), keep);
  }
}

}  // namespace
