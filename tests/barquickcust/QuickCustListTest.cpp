// The quick-customisation list: one check entry per toolbar link that shows and hides it at
// once with the menu left open, entries that look like the commands they stand for, the
// check cell's width, and the commands after the entries.
#include "QuickCustTestUtil.h"

#include "barcustomize/designcontroller.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/utils/utils.h"
#include "platform/Graphics.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TQuickList = TQuickCustFixture;

TdxBarQuickCustItemControl* EntryControl(TdxBarQuickAccessSubControl* AList, int AIndex)
{
  TdxBarItemLink* link = AList->GetItemLinks()->Items(AIndex);
  return link ? dynamic_cast<TdxBarQuickCustItemControl*>(link->GetControl()) : nullptr;
}

}  // namespace

TEST_F(TQuickList, UntickingHidesTheCommandAtOnceAndTheMenuStaysOpen)
{
  AddBar({L"Open", L"Save", L"Print"});
  const int fullWidth = ToolbarWidth();
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TdxBarQuickAccessSubControl* list = OpenQuickList(quick);
  ASSERT_NE(list, nullptr);
  TWeakRef<TdxBarQuickAccessSubControl> listRef(list);
  TdxBarItemLink* save = ToolLinks()->Items(1);
  TdxBarQuickCustItemControl* entry = EntryControl(list, 1);
  ASSERT_NE(entry, nullptr);
  ASSERT_EQ(entry->GetTargetLink(), save);
  EXPECT_TRUE(entry->IsChecked());

  ASSERT_TRUE(ClickAt(CenterOfLink(list, 1)));
  EXPECT_TRUE(PumpUntil([&] { return !save->GetVisible(); }));
  PumpPending();
  ASSERT_TRUE(listRef) << "the menu stays open while entries are ticked";
  EXPECT_TRUE(IsWindowVisible(list->GetHandle()));
  entry = EntryControl(list, 1);
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->IsChecked());
  EXPECT_EQ(save->GetControl(), nullptr) << "the command is gone from the toolbar";
  EXPECT_LT(ToolbarWidth(), fullWidth) << "the toolbar shrank";
  EXPECT_EQ(Toolbar()->GetMarkState(), TdxBarMarkState::Pressed);

  ASSERT_TRUE(ClickAt(CenterOfLink(list, 1)));
  EXPECT_TRUE(PumpUntil([&] { return save->GetVisible(); }));
  PumpPending();
  ASSERT_TRUE(listRef);
  EXPECT_TRUE(EntryControl(list, 1)->IsChecked());
  EXPECT_NE(save->GetControl(), nullptr);
  EXPECT_EQ(ToolbarWidth(), fullWidth);
}

TEST_F(TQuickList, EntriesShowTheCaptionImageAndShortcutOfTheirCommands)
{
  AddBar({L"Open", L"Save"});
  TdxBarItemLink* open = ToolLinks()->Items(0);
  TdxBarItemLink* save = ToolLinks()->Items(1);
  open->SetUserCaption(L"Open a song");
  auto glyph = std::make_unique<TBitmap>();
  glyph->SetSize(16, 16);
  save->GetItem()->SetGlyph(glyph.get());
  save->GetItem()->SetShortCut(TShortCut(0x4000 | 'S'));
  save->GetItem()->SetHint(L"Saves the song");
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TdxBarQuickAccessSubControl* list = OpenQuickList(quick);
  ASSERT_NE(list, nullptr);
  TdxBarQuickCustItemControl* first = EntryControl(list, 0);
  TdxBarQuickCustItemControl* second = EntryControl(list, 1);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->GetCaption(), L"Open a song") << "the link's own caption";
  EXPECT_EQ(second->GetCaption(), L"Save");
  EXPECT_EQ(second->GetGlyph(), save->GetGlyph());
  EXPECT_NE(second->GetGlyph(), nullptr);
  EXPECT_EQ(second->GetShortCut(), save->GetItem()->GetShortCut());
  EXPECT_EQ(second->GetHint(), L"Saves the song");
  EXPECT_EQ(first->GetShortCut(), TShortCut(0));
  // A change of the command's caption reaches the entry.
  save->GetItem()->SetCaption(L"Save all");
  EXPECT_EQ(second->GetCaption(), L"Save all");
}

TEST_F(TQuickList, TheCheckCellAddsTheEntrysHeightToItsWidth)
{
  AddBar({L"Open", L"Save"});
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TdxBarQuickAccessSubControl* list = OpenQuickList(quick);
  ASSERT_NE(list, nullptr);
  TdxBarQuickCustItemControl* entry = EntryControl(list, 0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->GetWidth(), entry->TdxBarButtonControl::GetWidth() + entry->GetHeight());
  // The menu is wide enough for it.
  const TRect r = list->GetItemRect(entry);
  EXPECT_GE(r.right - r.left, entry->GetWidth());
  // The check cell shows a mark only while the command is shown: the cell's pixels differ.
  auto cellPixels = [&] {
    std::vector<COLORREF> pixels;
    const TRect cell = list->ClientToScreen(TdxCustomQuickCustItemControl::GetCheckRect(list->GetItemRect(entry)));
    HDC dc = GetDC(nullptr);
    for (int y = cell.top; y < cell.bottom; ++y)
      for (int x = cell.left; x < cell.right; ++x)
        pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(nullptr, dc);
    return pixels;
  };
  PumpPending();
  const auto checked = cellPixels();
  ToolLinks()->Items(0)->SetVisible(false);
  entry->Repaint();
  PumpPending();
  EXPECT_NE(cellPixels(), checked);
}

TEST_F(TQuickList, TheCommandsAfterTheEntries)
{
  AddBar({L"Open", L"Save"});
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TdxBarQuickAccessSubControl* list = OpenQuickList(quick);
  ASSERT_NE(list, nullptr);
  TdxBarItemLinks* entries = list->GetItemLinks();
  // A bar made in code cannot be reset: no reset command; customize starts a group.
  ASSERT_EQ(entries->Count(), 3);
  TdxBarItemLink* customize = entries->Items(2);
  EXPECT_TRUE(dynamic_cast<TdxBarQuickCustExtButton*>(customize->GetItem()));
  EXPECT_EQ(customize->GetCaption(), GetResourceString(sdxBarCustomizeEllipsis));
  EXPECT_TRUE(customize->GetBeginGroup());
  auto* control = dynamic_cast<TdxBarQuickCustExtButtonControl*>(customize->GetControl());
  ASSERT_NE(control, nullptr);
  EXPECT_FALSE(control->IsChecked());
  EXPECT_EQ(control->GetIndent(), control->TdxCustomQuickCustItemControl::GetIndent() + control->GetHeight());
  // Its click enters customizing mode and closes the menus.
  TWeakRef<TdxBarQuickControl> ref(quick);
  ASSERT_TRUE(ClickAt(CenterOfLink(list, 2)));
  EXPECT_TRUE(PumpUntil([&] { return Manager->IsCustomizing() && !ref; }));
  EXPECT_NE(Toolbar()->GetMarkState(), TdxBarMarkState::Pressed);
}

TEST_F(TQuickList, ABarReadFromTheFormOffersItsReset)
{
  // A bar the form's data made can be reset; the command asks first.
  const String text =
      L"object QuickCustTestForm: TQuickCustTestForm\n"
      L"  object dxBarManager2: TdxBarManager\n"
      L"    Categories.Strings = ('Default')\n"
      L"    object FormBar: TdxBar\n      Caption = 'Form bar'\n      DockingStyle = dsTop\n"
      L"      ItemLinks = <\n        item\n          Visible = True\n          ItemName = 'btnA'\n        end>\n"
      L"      Visible = True\n    end\n"
      L"    object btnA: TdxBarButton\n      Caption = 'A'\n      Category = 0\n    end\n  end\nend\n";
  TOwned<TQuickCustTestForm> form(TCustomForm::CreateFromText<TQuickCustTestForm>(text, nullptr));
  auto* manager = dynamic_cast<TdxBarManager*>(form.Get()->FindComponent(L"dxBarManager2"));
  ASSERT_NE(manager, nullptr);
  form.Get()->SetBounds(120, 420, 400, 200);
  form.Get()->Show();
  PumpPending();
  TdxBar* bar = manager->FindBarByCaption(L"Form bar");
  ASSERT_TRUE(bar && bar->CanReset());
  FBar = bar;
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TdxBarQuickAccessSubControl* list = OpenQuickList(quick);
  ASSERT_NE(list, nullptr);
  TdxBarItemLinks* entries = list->GetItemLinks();
  ASSERT_EQ(entries->Count(), 3);
  EXPECT_EQ(entries->Items(1)->GetCaption(), GetResourceString(sdxBarResetToolbar));
  EXPECT_TRUE(entries->Items(1)->GetBeginGroup());
  EXPECT_FALSE(entries->Items(2)->GetBeginGroup());
  FBar = nullptr;
  list->CloseMenu();
  quick->Close();
  PumpPending();
}

TEST_F(TQuickList, AnEntryWhoseCommandWentDoesNothing)
{
  AddBar({L"Open", L"Save", L"Print"});
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TdxBarQuickAccessSubControl* list = OpenQuickList(quick);
  ASSERT_NE(list, nullptr);
  TWeakRef<TdxBarQuickAccessSubControl> listRef(list);
  TdxBarItem* save = ToolLinks()->Items(1)->GetItem();
  ToolLinks()->Delete(1);
  PumpPending();
  ASSERT_TRUE(listRef);
  TdxBarQuickCustItemControl* entry = EntryControl(list, 1);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->GetTargetLink(), nullptr);
  EXPECT_FALSE(entry->IsChecked());
  ASSERT_TRUE(ClickAt(CenterOfLink(list, 1)));
  PumpPending();
  EXPECT_TRUE(listRef) << "the menu stays";
  EXPECT_EQ(ToolLinks()->Count(), 2);
  EXPECT_EQ(ToolLinks()->Items(1)->GetItem()->GetCaption(), L"Print");
  EXPECT_EQ(save->GetLinkCount(), 0) << "no link of the command came back";
}

TEST_F(TQuickList, AHugeCaptionAndHundredsOfCommandsStillOpenAList)
{
  std::vector<String> captions(300, L"Cmd");
  captions[1] = String(10000, L'W');
  AddBar(captions);
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  // The popup of hidden commands keeps to the screen's width, its last entry within reach.
  RECT popup{};
  GetWindowRect(quick->GetHandle(), &popup);
  EXPECT_LE(popup.right - popup.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(popup.left, 0);
  TdxBarQuickAccessSubControl* list = OpenQuickList(quick);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetItemLinks()->Count(), 301);
  // The list stays within the screen's height and scrolls instead.
  RECT w{};
  GetWindowRect(list->GetHandle(), &w);
  EXPECT_LE(w.bottom - w.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(list->CanScrollDown());
  EXPECT_EQ(EntryControl(list, 1)->GetCaption().size(), 10000u);
}
