// The toolbars list, the recent-files list and the in-place sub item, in menus and on
// toolbars, driven with the real pointer and keys.
#include <algorithm>

#include "ContainerTestUtil.h"
#include "bars/accessibility/baraccessibility.h"
#include "platform/Scope.h"

namespace {

class TClickCounter : public TObject {
public:
  void Clicked(TObject* Sender)
  {
    ++Count;
    if (auto* list = dynamic_cast<TdxBarMRUListItem*>(Sender)) {
      const int index = list->GetItemIndex();
      File = index >= 0 && index < list->GetItems()->Count() ? list->GetItems()->Strings(index) : String();
      if (!File.empty())
        ++FileClicks;
    }
  }
  void Expanded(TdxBarInPlaceSubItem*, TdxBarItemLink* ALink) { Expands.push_back(ALink); }
  void Collapsing(TdxBarInPlaceSubItem*, TdxBarItemLink* ALink) { Collapses.push_back(ALink); }
  int Count = 0;
  // Clicks on an entry (a drop-down's own click reports no file).
  int FileClicks = 0;
  String File;
  std::vector<TdxBarItemLink*> Expands;
  std::vector<TdxBarItemLink*> Collapses;
};

std::vector<String> Strings(TStrings* AList)
{
  std::vector<String> result;
  for (int i = 0; i < AList->Count(); ++i)
    result.push_back(AList->Strings(i));
  return result;
}

// The first shown control in ABar whose caption is ACaption.
TdxBarItemControl* ControlCaptioned(TCustomdxBarControl* ABar, const String& ACaption)
{
  if (!ABar || !ABar->GetItemLinks())
    return nullptr;
  for (TdxBarItemLink* link : ABar->GetItemLinks()->GetVisibleItems())
    if (TdxBarItemControl* control = link->GetControl(); control && control->GetCaption() == ACaption)
      return control;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Recent-files list

TEST(MRUListItem, AddingPutsTheFileFirstMovesAKnownOneUpAndCapsTheListAtItsLimit)
{
  TOwned<TdxBarMRUListItem> list(new TdxBarMRUListItem(nullptr));
  list->SetMaxItemCount(3);
  for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
    list->AddItem(name);
  EXPECT_EQ(Strings(list->GetItems()), (std::vector<String>{L"c.txt", L"b.txt", L"a.txt"}));
  list->AddItem(L"A.TXT");
  EXPECT_EQ(Strings(list->GetItems()), (std::vector<String>{L"A.TXT", L"c.txt", L"b.txt"}))
      << "one entry per file, whatever its case";
  list->AddItem(L"d.txt");
  EXPECT_EQ(Strings(list->GetItems()), (std::vector<String>{L"d.txt", L"A.TXT", L"c.txt"})) << "the oldest drops off";
  list->AddItem(L"");
  EXPECT_EQ(list->GetItems()->Count(), 3);
  EXPECT_TRUE(list->RemoveItem(L"C.txt"));
  EXPECT_FALSE(list->RemoveItem(L"nothing"));
  EXPECT_EQ(Strings(list->GetItems()), (std::vector<String>{L"d.txt", L"A.TXT"}));
  // A lower limit trims from the end; a negative one means none and deletes nothing.
  list->AddItem(L"e.txt");
  list->SetMaxItemCount(2);
  EXPECT_EQ(Strings(list->GetItems()), (std::vector<String>{L"e.txt", L"d.txt"}));
  list->SetMaxItemCount(-1);
  EXPECT_EQ(list->GetMaxItemCount(), 0);
  list->AddItem(L"f.txt");
  EXPECT_EQ(list->GetItems()->Count(), 3);
}

TEST(MRUListItem, ALongPathIsShortenedInTheMiddleAndKeepsItsFileName)
{
  TOwned<TdxBarMRUListItem> list(new TdxBarMRUListItem(nullptr));
  String path = L"C:\\";
  for (int i = 0; i < 30; ++i)
    path += L"folder" + std::to_wstring(i) + L"\\";
  path += L"report.doc";
  const String shown = list->GetDisplayText(path);
  EXPECT_NE(shown, path);
  EXPECT_NE(shown.find(L"..."), String::npos);
  EXPECT_TRUE(shown.ends_with(L"report.doc")) << "the file name is kept";
  EXPECT_TRUE(shown.starts_with(L"C:\\"));
  HDC dc = ::GetDC(nullptr);
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, shown.c_str(), int(shown.size()), &extent);
  ::ReleaseDC(nullptr, dc);
  EXPECT_LE(extent.cx, dxBarMRUDisplayWidth);
  String huge = String(L"C:\\") + String(2000, L'x') + L"\\name.txt";
  // A folder name wider than the room itself: shortened still, and never past the text's
  // own length and the ellipsis.
  const String hugeShown = list->GetDisplayText(huge);
  EXPECT_TRUE(hugeShown.starts_with(L"...")) << "the start of the path gives way";
  EXPECT_LE(hugeShown.size(), huge.size() + 4);
  EXPECT_EQ(list->GetDisplayText(L"short.txt"), L"short.txt");
}

class TListItemsTest : public TContainerFixture {};

TEST_F(TListItemsTest, RecentFilesShowInTheMenuAndAClickReportsTheFile)
{
  auto* list = new TdxBarMRUListItem(Host.Form());
  TClickCounter counter;
  list->SetOnClick(TNotifyEvent(&counter, &TClickCounter::Clicked));
  list->SetRemoveItemOnClick(true);
  for (const wchar_t* name : {L"C:\\docs\\one.txt", L"C:\\docs\\two.txt", L"C:\\docs\\three.txt"})
    list->AddItem(name);
  SubItem->GetItemLinks()->AddItem(list);
  TCustomdxBarControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  Settle();
  EXPECT_EQ(ShownCaptions(menu),
            (std::vector<String>{L"&1 C:\\docs\\three.txt", L"&2 C:\\docs\\two.txt", L"&3 C:\\docs\\one.txt"}));
  SaveShotOnRequest(CaptureScreen(ScreenRectOf(menu)), "container-recent-files-menu");
  TdxBarItemControl* second = ControlCaptioned(menu, L"&2 C:\\docs\\two.txt");
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(second)));
  ASSERT_TRUE(PumpUntil([&] { return counter.Count == 1; }));
  EXPECT_EQ(counter.File, L"C:\\docs\\two.txt");
  EXPECT_EQ(Strings(list->GetItems()), (std::vector<String>{L"C:\\docs\\three.txt", L"C:\\docs\\one.txt"}))
      << "removed on click";
  EXPECT_EQ(list->GetItemIndex(), -1);
  EXPECT_TRUE(PumpUntil([&] { return Menu() == nullptr; })) << "the command closed the menu";

  // Opened again, the menu shows what the list holds now.
  list->AddItem(L"C:\\docs\\one.txt");
  menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(ShownCaptions(menu), (std::vector<String>{L"&1 C:\\docs\\one.txt", L"&2 C:\\docs\\three.txt"}));
  MenuKey(VK_ESCAPE);
  PumpUntil([&] { return Menu() == nullptr; });
}

TEST_F(TListItemsTest, RecentFilesOnAToolbarOpenTheirOwnMenu)
{
  auto* list = new TdxBarMRUListItem(Host.Form());
  list->SetCaption(L"Recent");
  TClickCounter counter;
  list->SetOnClick(TNotifyEvent(&counter, &TClickCounter::Clicked));
  list->AddItem(L"C:\\b.txt");
  list->AddItem(L"C:\\a.txt");
  Bar->GetItemLinks()->AddItem(list);
  Settle();
  TdxBarItemControl* control = OnBar(list);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control)));
  TCustomdxBarControl* menu = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (menu = list->GetItemLinks()->GetBarControl()) != nullptr; }));
  Settle();
  TdxBarItemControl* entry = ControlCaptioned(menu, L"&2 C:\\b.txt");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(counter.FileClicks, 0) << "opening reports no file";
  ASSERT_TRUE(ClickAt(ScreenCentreOf(entry)));
  ASSERT_TRUE(PumpUntil([&] { return counter.FileClicks == 1; }));
  EXPECT_EQ(counter.File, L"C:\\b.txt");
  EXPECT_EQ(list->GetItems()->Count(), 2) << "kept without RemoveItemOnClick";

  // With RemoveItemOnClick an entry goes once clicked, but opening the drop-down (the
  // item's own click, with the last entry still the item index) removes nothing.
  list->SetRemoveItemOnClick(true);
  ASSERT_TRUE(PumpUntil([&] { return list->GetItemLinks()->GetBarControl() == nullptr; }));
  ASSERT_TRUE(ClickAt(ScreenCentreOf(OnBar(list))));
  ASSERT_TRUE(PumpUntil([&] { return (menu = list->GetItemLinks()->GetBarControl()) != nullptr; }));
  Settle();
  EXPECT_EQ(list->GetItems()->Count(), 2);
  entry = ControlCaptioned(menu, L"&1 C:\\a.txt");
  ASSERT_NE(entry, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(entry)));
  ASSERT_TRUE(PumpUntil([&] { return counter.File == L"C:\\a.txt"; }));
  EXPECT_EQ(Strings(list->GetItems()), (std::vector<String>{L"C:\\b.txt"}));
}

// A handler that renames the entry clicked (a file moved, say) still sees it removed: the
// entry is found by its object when its text is gone.
TEST_F(TListItemsTest, AnEntryRenamedByTheClickHandlerIsRemovedAllTheSame)
{
  auto* list = new TdxBarMRUListItem(Host.Form());
  list->SetRemoveItemOnClick(true);
  TObject first, second;
  list->GetItems()->AddObject(L"C:\\first.txt", &first);
  list->GetItems()->AddObject(L"C:\\second.txt", &second);
  struct TRenamer : TObject {
    void Click(TObject* Sender)
    {
      auto* item = static_cast<TdxBarMRUListItem*>(Sender);
      if (const int index = item->GetItemIndex(); index >= 0)
        item->GetItems()->SetStrings(index, L"C:\\moved.txt");
    }
  } renamer;
  list->SetOnClick(TNotifyEvent(&renamer, &TRenamer::Click));
  SubItem->GetItemLinks()->AddItem(list);
  TCustomdxBarControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  Settle();
  TdxBarItemControl* entry = ControlCaptioned(menu, L"&2 C:\\second.txt");
  ASSERT_NE(entry, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(entry)));
  ASSERT_TRUE(PumpUntil([&] { return Menu() == nullptr; }));
  EXPECT_EQ(Strings(list->GetItems()), (std::vector<String>{L"C:\\first.txt"}));
}

// ---------------------------------------------------------------------------
// Toolbars list

TEST_F(TListItemsTest, TheToolbarsListShowsEachToolbarAndAClickTogglesIt)
{
  TdxBar* second = Manager->GetBars()->Add();
  second->SetCaption(L"Second");
  second->SetDockingStyle(dsBottom);
  TdxBar* hidden = Manager->GetBars()->Add();
  hidden->SetCaption(L"Internal");
  hidden->SetHidden(true);
  auto* toolbars = new TdxBarToolbarsListItem(Host.Form());
  toolbars->SetCaption(L"Toolbars");
  SubItem->GetItemLinks()->AddItem(toolbars);
  TCustomdxBarControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  TdxBarItemControl* entry = InMenu(toolbars);
  ASSERT_NE(entry, nullptr);
  // Right opens the list's own menu, the first entry selected.
  ASSERT_TRUE(ClickAt(ScreenCentreOf(entry)));
  TCustomdxBarControl* list = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (list = toolbars->GetItemLinks()->GetBarControl()) != nullptr; }));
  Settle();
  EXPECT_EQ(ShownCaptions(list), (std::vector<String>{L"Main", L"Second"})) << "hidden bars are not listed";
  auto* secondEntry = dynamic_cast<TdxBarButton*>(toolbars->GetItemLinks()->Items(1)->GetItem());
  ASSERT_NE(secondEntry, nullptr);
  EXPECT_FALSE(secondEntry->GetDown());
  EXPECT_TRUE(dynamic_cast<TdxBarButton*>(toolbars->GetItemLinks()->Items(0)->GetItem())->GetDown());
  SaveShotOnRequest(CaptureScreen(ScreenRectOf(list)), "container-toolbars-list");

  ASSERT_TRUE(ClickAt(ScreenCentreOf(ControlCaptioned(list, L"Second"))));
  ASSERT_TRUE(PumpUntil([&] { return second->GetVisible(); }));
  ASSERT_TRUE(PumpUntil([&] { return Menu() == nullptr; }));

  // Opened again, the entry shows the bar's new state.
  toolbars->RefillLinks();
  EXPECT_TRUE(dynamic_cast<TdxBarButton*>(toolbars->GetItemLinks()->Items(1)->GetItem())->GetDown());
}

TEST_F(TListItemsTest, OnAToolbarTheToolbarsListDropsDownAndHidesItsOwnBar)
{
  auto* toolbars = new TdxBarToolbarsListItem(Host.Form());
  toolbars->SetCaption(L"Toolbars");
  Bar->GetItemLinks()->AddItem(toolbars);
  Settle();
  TdxBarItemControl* control = OnBar(toolbars);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control)));
  TCustomdxBarControl* list = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (list = toolbars->GetItemLinks()->GetBarControl()) != nullptr; }));
  Settle();
  EXPECT_EQ(ShownCaptions(list), (std::vector<String>{L"Main"}));
  // Down and Enter pick the entry by keys: the bar the list sits on goes.
  MenuKey(VK_DOWN);
  MenuKey(VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return !Bar->GetVisible(); }));
  EXPECT_EQ(toolbars->GetItemLinks()->GetBarControl(), nullptr);
}

TEST_F(TListItemsTest, TheToolbarsListFollowsToolbarsAddedAndFreed)
{
  auto* toolbars = new TdxBarToolbarsListItem(Host.Form());
  toolbars->RefillLinks();
  EXPECT_EQ(toolbars->GetItemLinks()->Count(), 1);
  TdxBar* added = Manager->GetBars()->Add();
  added->SetCaption(L"Added");
  toolbars->RefillLinks();
  ASSERT_EQ(toolbars->GetItemLinks()->Count(), 2);
  TdxBarItem* entry = toolbars->GetItemLinks()->Items(1)->GetItem();
  EXPECT_EQ(toolbars->GetEntryBar(entry), added);
  added->Free();
  EXPECT_EQ(toolbars->GetEntryBar(entry), nullptr) << "an entry of a freed bar stands for nothing";
  entry->Click();  // and clicking it does nothing
  toolbars->RefillLinks();
  EXPECT_EQ(toolbars->GetItemLinks()->Count(), 1);
}

// ---------------------------------------------------------------------------
// In-place sub item

class TInPlaceSubItemTest : public TContainerFixture {
protected:
  void SetUp() override
  {
    TContainerFixture::SetUp();
    InPlace = new TdxBarInPlaceSubItem(Host.Form());
    InPlace->SetCaption(L"More");
    for (const wchar_t* caption : {L"Inner one", L"Inner two"}) {
      auto* button = new TdxBarButton(Host.Form());
      button->SetCaption(caption);
      InPlace->GetItemLinks()->AddItem(button);
    }
    auto* before = new TdxBarButton(Host.Form());
    before->SetCaption(L"Before");
    After = new TdxBarButton(Host.Form());
    After->SetCaption(L"After");
    SubItem->GetItemLinks()->AddItem(before);
    SubItem->GetItemLinks()->AddItem(InPlace);
    SubItem->GetItemLinks()->AddItem(After);
    InPlace->OnAfterExpand = TdxBarInPlaceSubItemEvent(&Counter, &TClickCounter::Expanded);
    InPlace->OnBeforeCollapse = TdxBarInPlaceSubItemEvent(&Counter, &TClickCounter::Collapsing);
  }

  TdxBarItemLink* AfterLink() const
  {
    TdxBarItemLinks* links = SubItem->GetItemLinks();
    for (int i = 0; i < links->Count(); ++i)
      if (links->Items(i)->GetItem() == After)
        return links->Items(i);
    return nullptr;
  }

  TdxBarInPlaceSubItem* InPlace = nullptr;
  TdxBarButton* After = nullptr;
  TClickCounter Counter;
};

TEST_F(TInPlaceSubItemTest, AClickExpandsTheEntriesInTheSameMenuAndLeftCollapsesThem)
{
  TCustomdxBarControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  Settle();
  EXPECT_EQ(ShownCaptions(menu), (std::vector<String>{L"Before", L"More", L"After"}));
  // The entry is wide enough for its caption and the sign the painter draws at its height.
  TdxBarItemControl* entry = InMenu(InPlace);
  ASSERT_NE(entry, nullptr);
  const RECT shown = ScreenRectOf(entry);
  EXPECT_GE(entry->GetWidth() - entry->GetPainter()->GetInPlaceSubItemIndent() - entry->GetCaptionTextWidth(),
            entry->GetPainter()->GetInPlaceSubItemSignWidth(shown.bottom - shown.top));
  ASSERT_TRUE(ClickAt(ScreenCentreOf(InMenu(InPlace))));
  ASSERT_TRUE(PumpUntil([&] { return InPlace->GetExpanded(); }));
  Settle();
  EXPECT_EQ(Menu(), menu) << "no further menu opens";
  EXPECT_EQ(ShownCaptions(menu), (std::vector<String>{L"Before", L"More", L"Inner one", L"Inner two", L"After"}));
  EXPECT_EQ(Counter.Expands.size(), 1u);
  ASSERT_NE(menu->GetSelectedLink(), nullptr);
  EXPECT_EQ(menu->GetSelectedLink()->GetItem(), InPlace) << "the same entry stays selected";
  SaveShotOnRequest(CaptureScreen(ScreenRectOf(menu)), "container-inplace-expanded");

  // An inner entry is a command like any other in the menu.
  int innerClicks = 0;
  struct TInner : TObject {
    int* Clicks;
    void Click(TObject*) { ++*Clicks; }
  } inner;
  inner.Clicks = &innerClicks;
  auto* innerButton = dynamic_cast<TdxBarButton*>(InPlace->GetItemLinks()->Items(1)->GetItem());
  innerButton->SetOnClick(TNotifyEvent(&inner, &TInner::Click));

  MenuKey(VK_LEFT);
  ASSERT_TRUE(PumpUntil([&] { return !InPlace->GetExpanded(); }));
  Settle();
  EXPECT_EQ(ShownCaptions(menu), (std::vector<String>{L"Before", L"More", L"After"}));
  EXPECT_EQ(Counter.Collapses.size(), 1u);
  MenuKey(VK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return InPlace->GetExpanded(); }));
  Settle();
  ASSERT_TRUE(ClickAt(ScreenCentreOf(ControlCaptioned(menu, L"Inner two"))));
  EXPECT_TRUE(PumpUntil([&] { return innerClicks == 1; }));
  EXPECT_TRUE(PumpUntil([&] { return Menu() == nullptr; }));
  EXPECT_TRUE(InPlace->GetExpanded()) << "stays expanded for the next time";
  EXPECT_EQ(SubItem->GetItemLinks()->Count(), 3) << "the listed entries left with the menu";
}

// What an accessibility client sees of the entry in a menu: collapsed or expanded, with the
// action that changes it, and doing that action lists or hides the entries.
TEST_F(TInPlaceSubItemTest, InAMenuItsAccessibleObjectExpandsAndCollapses)
{
  ASSERT_NE(OpenMenu(), nullptr);
  Settle();
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  const auto accessible = [&] {
    TdxBarAccessibilityHelper* helper = dxBarGetAccessibilityHelper(InMenu(InPlace));
    return helper ? helper->GetIAccessible() : nullptr;
  };
  const auto action = [&] {
    BSTR text = nullptr;
    String result;
    if (IAccessible* object = accessible(); object && object->get_accDefaultAction(self, &text) == S_OK && text)
      result = text;
    ::SysFreeString(text);
    return result;
  };
  const auto state = [&] {
    VARIANT value{};
    IAccessible* object = accessible();
    return object && object->get_accState(self, &value) == S_OK && value.vt == VT_I4 ? value.lVal : 0L;
  };
  ASSERT_NE(accessible(), nullptr);
  EXPECT_EQ(action(), L"Expand");
  EXPECT_TRUE(state() & STATE_SYSTEM_COLLAPSED);
  EXPECT_FALSE(state() & STATE_SYSTEM_HASPOPUP) << "it opens no menu";

  ASSERT_EQ(accessible()->accDoDefaultAction(self), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return InPlace->GetExpanded(); }));
  Settle();
  EXPECT_EQ(ShownCaptions(Menu()), (std::vector<String>{L"Before", L"More", L"Inner one", L"Inner two", L"After"}));
  EXPECT_EQ(action(), L"Collapse");
  EXPECT_TRUE(state() & STATE_SYSTEM_EXPANDED);

  ASSERT_EQ(accessible()->accDoDefaultAction(self), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return !InPlace->GetExpanded(); }));
  Settle();
  EXPECT_EQ(ShownCaptions(Menu()), (std::vector<String>{L"Before", L"More", L"After"}));
  EXPECT_EQ(action(), L"Expand");

  // On a toolbar it is a sub item that opens its menu.
  Bar->GetItemLinks()->AddItem(InPlace);
  Settle();
  TdxBarAccessibilityHelper* onBar = dxBarGetAccessibilityHelper(OnBar(InPlace));
  ASSERT_NE(onBar, nullptr);
  BSTR text = nullptr;
  ASSERT_EQ(onBar->GetIAccessible()->get_accDefaultAction(self, &text), S_OK);
  EXPECT_EQ(String(text ? text : L""), L"Open");
  ::SysFreeString(text);
  VARIANT value{};
  ASSERT_EQ(onBar->GetIAccessible()->get_accState(self, &value), S_OK);
  EXPECT_TRUE(value.lVal & STATE_SYSTEM_HASPOPUP);
}

TEST_F(TInPlaceSubItemTest, KeepBeginGroupPutsASeparatorAfterTheExpandedBlock)
{
  InPlace->SetKeepBeginGroupWhileExpanded(true);
  TCustomdxBarControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  Settle();
  ASSERT_NE(AfterLink(), nullptr);
  EXPECT_FALSE(AfterLink()->GetBeginGroup());
  InPlace->SetExpanded(true);
  Settle();
  EXPECT_TRUE(AfterLink()->GetBeginGroup());
  InPlace->SetExpanded(false);
  Settle();
  EXPECT_FALSE(AfterLink()->GetBeginGroup());
  MenuKey(VK_ESCAPE);
  PumpUntil([&] { return Menu() == nullptr; });
}

TEST_F(TInPlaceSubItemTest, OnAToolbarItOpensItsEntriesInAMenuOfTheirOwn)
{
  Bar->GetItemLinks()->AddItem(InPlace);
  Settle();
  TdxBarItemControl* control = OnBar(InPlace);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control)));
  TCustomdxBarControl* menu = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (menu = InPlace->GetItemLinks()->GetBarControl()) != nullptr; }));
  Settle();
  EXPECT_EQ(ShownCaptions(menu), (std::vector<String>{L"Inner one", L"Inner two"}));
  EXPECT_FALSE(InPlace->GetExpanded());
  MenuKey(VK_ESCAPE);
}

// A stored layout keeps where the user put the recent-files list; loading it puts the list's
// link back and leaves the files the list holds alone.
TEST_F(TListItemsTest, RecentFilesKeepTheirPlaceAndFilesThroughALayoutRoundTrip)
{
  auto* list = new TdxBarMRUListItem(Host.Form());
  list->SetName(L"mruFiles");
  list->SetCaption(L"Recent");
  SubItem->SetName(L"subFile");
  for (const wchar_t* name : {L"C:\\docs\\one.txt", L"C:\\docs\\two.txt"})
    list->AddItem(name);
  Bar->SetName(L"barMain");
  Bar->GetItemLinks()->AddItem(list)->SetBeginGroup(true);
  const int count = Bar->GetItemLinks()->Count();
  wchar_t dir[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, dir);
  const String file = String(dir) + L"dxbars-mru-layout.ini";
  TFinally removeFile([&] { ::DeleteFileW(file.c_str()); });
  Manager->SaveToIniFile(file);

  Bar->GetItemLinks()->Items(count - 1)->Free();
  ASSERT_EQ(list->GetLinkCount(), 0);
  Manager->LoadFromIniFile(file);
  Settle();
  ASSERT_EQ(Bar->GetItemLinks()->Count(), count);
  TdxBarItemLink* back = Bar->GetItemLinks()->Items(count - 1);
  EXPECT_EQ(back->GetItem(), list);
  EXPECT_TRUE(back->GetBeginGroup());
  EXPECT_EQ(Strings(list->GetItems()), (std::vector<String>{L"C:\\docs\\two.txt", L"C:\\docs\\one.txt"}));
}
