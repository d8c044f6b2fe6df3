// The group-items picker: what it lists and in which order, how headers, members and item
// rows are drawn, what OK hands back, and that its list's class style stays its own.
#include "DialogTestUtil.h"
#include "barcustomize/groupitemsdialog.h"
#include "bars/model/groups.h"
#include "bars/model/items.h"
#include "platform/Lists.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

using TGroupItemsDialog = TDialogsFixture;

TfrmAddGroupItems* GroupDialog()
{
  return ActiveModalDialog<TfrmAddGroupItems>();
}

std::vector<String> Entries(TfrmAddGroupItems* ADialog)
{
  std::vector<String> entries;
  TStrings* items = ADialog->GetList()->GetItems();
  for (int i = 0; i < items->Count(); ++i)
    entries.push_back(items->Get(i) + (items->GetObject(i) ? L"" : L" (none)"));
  return entries;
}

// Draws row AIndex of the list into a picture of the row's size.
TDib32 DrawRow(TfrmAddGroupItems* ADialog, int AIndex, TOwnerDrawState AState = {})
{
  TListBox* list = ADialog->GetList();
  const TRect row = list->ItemRect(AIndex);
  TDib32 dib(RectWidth(row), RectHeight(row) + 4, RGB(1, 2, 3));
  TCanvas* canvas = list->GetCanvas();
  canvas->SetHandle(dib.DC());
  TFinally detach([canvas]() noexcept { canvas->SetHandle(nullptr); });
  canvas->GetFont()->Assign(list->GetFont());
  canvas->GetBrush()->SetColor(AState.Contains(odSelected) ? clHighlight : clWindow);
  canvas->GetFont()->SetColor(AState.Contains(odSelected) ? clHighlightText : clWindowText);
  ADialog->lbGroupItemsDrawItem(list, AIndex, Rect(0, 0, RectWidth(row), RectHeight(row)), AState);
  return dib;
}

TEST_F(TGroupItemsDialog, ListsTheOtherGroupsAndTheItemsByCategory)
{
  TOwned<TfrmAddGroupItems> dialog(TCustomForm::Create<TfrmAddGroupItems>(nullptr));
  auto* groupA = dynamic_cast<TdxBarGroup*>(Part(L"GroupA"));
  TList result;
  dialog->Prepare(groupA, &result);
  EXPECT_EQ(Entries(dialog.Get()), (std::vector<String>{L"~< Groups > (none)", L"GroupC", L"GroupB", L"~File (none)",
                                                        L"&New", L"Open", L"~Edit (none)", L"Cut", L"Paste"}))
      << "no edited group, no hidden item, no empty category";
  EXPECT_EQ(dialog->GetList()->GetItems()->GetObject(1), Part(L"GroupC"));
  EXPECT_EQ(dialog->GetList()->GetItems()->GetObject(8), Part(L"PasteItem"));
  EXPECT_TRUE(dialog->IsHeader(3));
  EXPECT_FALSE(dialog->IsHeader(4));

  // With no other group there is no groups header.
  Part(L"GroupB")->Free();
  Part(L"GroupC")->Free();
  dialog->Prepare(groupA, &result);
  EXPECT_EQ(Entries(dialog.Get()).front(), L"~File (none)");
  // A group without a manager lists nothing rather than failing.
  TOwned<TdxBarGroup> loose(new TdxBarGroup(nullptr));
  dialog->Prepare(loose.Get(), &result);
  EXPECT_EQ(dialog->GetList()->GetCount(), 0);
}

TEST_F(TGroupItemsDialog, DrawsHeadersMembersAndItemRowsApart)
{
  TOwned<TfrmAddGroupItems> dialog(TCustomForm::Create<TfrmAddGroupItems>(nullptr));
  dialog->SetBounds(100, 100, 364, 400);
  dialog->Prepare(dynamic_cast<TdxBarGroup*>(Part(L"GroupA")), nullptr);
  dialog->GetList()->HandleNeeded();
  TListBox* list = dialog->GetList();
  TCanvas* canvas = list->GetCanvas();

  // Rows are as high as "Qq" in the list's font, and two more.
  {
    TDib32 measure(10, 10);
    canvas->SetHandle(measure.DC());
    TFinally detach([canvas]() noexcept { canvas->SetHandle(nullptr); });
    canvas->GetFont()->Assign(list->GetFont());
    const int height = canvas->TextHeight(L"Qq") + 2;
    for (int i = 0; i < list->GetCount(); ++i)
      EXPECT_EQ(RectHeight(list->ItemRect(i)), height) << i;
  }

  const COLORREF face = ColorToRGB(clBtnFace), window = ColorToRGB(clWindow);
  const COLORREF grey = ColorToRGB(clGrayText), text = ColorToRGB(clWindowText);
  // A header: the button face behind its text, without the mark.
  TDib32 header = DrawRow(dialog.Get(), 3);
  EXPECT_TRUE(ColorNear(header.Pixel(header.Width() - 2, 1), face));
  {
    TDib32 expected(header.Width(), header.Height(), RGB(1, 2, 3));
    canvas->SetHandle(expected.DC());
    TFinally detach([canvas]() noexcept { canvas->SetHandle(nullptr); });
    canvas->GetFont()->Assign(list->GetFont());
    canvas->GetFont()->SetColor(clBtnText);
    canvas->GetBrush()->SetColor(clBtnFace);
    const TRect row = Rect(0, 0, header.Width(), RectHeight(list->ItemRect(3)));
    canvas->TextRect(row, 2, 1, L"File");
    EXPECT_EQ(CountDifferentPixels(header, RECT{0, 0, header.Width(), header.Height()}, expected), 0);
  }
  // An item row: caption left of a one-pixel line at the middle, the name right of it.
  TDib32 cut = DrawRow(dialog.Get(), 7);
  const int middle = cut.Width() / 2;
  EXPECT_TRUE(ColorNear(cut.Pixel(middle, 1), text)) << "the dividing line";
  EXPECT_TRUE(ColorNear(cut.Pixel(middle + 2, 1), window));
  EXPECT_GT(CountPixelsNear(cut, RECT{middle + 1, 0, cut.Width(), cut.Height() - 4}, text), 10) << "the name";
  EXPECT_GT(CountPixelsNear(cut, RECT{0, 0, middle, cut.Height() - 4}, text), 10) << "the caption";
  // Open already belongs to the group: greyed, unless chosen.
  TDib32 open = DrawRow(dialog.Get(), 5);
  EXPECT_EQ(CountPixelsNear(open, RECT{0, 0, middle, open.Height() - 4}, text, 0), 0);
  EXPECT_GT(CountPixelsNear(open, RECT{0, 0, middle, open.Height() - 4}, grey, 0), 5);
  TDib32 chosen = DrawRow(dialog.Get(), 5, TOwnerDrawState{odSelected});
  EXPECT_TRUE(ColorNear(chosen.Pixel(2, 1), ColorToRGB(clHighlight)));
  EXPECT_TRUE(ColorNear(chosen.Pixel(middle, 1), ColorToRGB(clHighlightText))) << "the line on a chosen row";
  // A group row uses the whole width: no line.
  TDib32 group = DrawRow(dialog.Get(), 2);
  EXPECT_TRUE(ColorNear(group.Pixel(middle, 1), window));
}

TEST_F(TGroupItemsDialog, HandsBackTheChosenEntriesInListOrder)
{
  ShowForm();
  auto* groupA = dynamic_cast<TdxBarGroup*>(Part(L"GroupA"));
  TList result;
  bool ok = false;
  COLORREF belowLastRow = 0;
  auto clickRow = [](int AIndex) {
    TListBox* list = GroupDialog()->GetList();
    const TRect r = list->ItemRect(AIndex);
    ClickAt(list->ClientToScreen(Point((r.left + r.right) / 2, (r.top + r.bottom) / 2)));
  };
  PlayInModalLoop([&] { ok = ShowAddGroupItems(groupA, &result); }, {[&] {
                    EXPECT_EQ(GroupDialog()->GetCaption(), L"Add Group Items");
                    // Chosen from the last upwards; a member and headers among them.
                    clickRow(8);
                    for (int i = 0; i < 6; ++i)
                      PressKey(VK_UP, {VK_SHIFT});
                    TListBox* list = GroupDialog()->GetList();
                    EXPECT_TRUE(list->GetSelected(5)) << "a member can be chosen";
                    EXPECT_FALSE(list->GetSelected(1));
                    EXPECT_EQ(list->GetSelCount(), 7);
                    PumpFor(50);
                    const TRect last = list->ItemRect(list->GetCount() - 1);
                    belowLastRow = CaptureWindow(list->GetHandle()).Pixel(10, last.bottom + 5);
                    ClickAt(ScreenCentreOf(dynamic_cast<TControl*>(GroupDialog()->FindComponent(L"btnOk"))));
                  }});
  EXPECT_TRUE(ok);
  ASSERT_EQ(result.Count(), 5) << "the headers carry nothing";
  const wchar_t* expected[] = {L"GroupB", L"NewItem", L"OpenItem", L"CutItem", L"PasteItem"};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(result.Items(i), Part(expected[i])) << i;
  EXPECT_TRUE(ColorNear(belowLastRow, ColorToRGB(clBtnFace))) << ColorText(belowLastRow);

  // Cancel hands back nothing.
  TList none;
  PlayInModalLoop([&] { ok = ShowAddGroupItems(groupA, &none); }, {[&] {
                    clickRow(4);
                    PressKey(VK_ESCAPE);
                  }});
  EXPECT_FALSE(ok);
  EXPECT_EQ(none.Count(), 0);
}

TEST_F(TGroupItemsDialog, KeepsItsClassStyleToItsOwnList)
{
  ShowForm();
  auto* groupA = dynamic_cast<TdxBarGroup*>(Part(L"GroupA"));
  LONG_PTR pickerStyle = 0;
  PlayInModalLoop([&] { ShowAddGroupItems(groupA, nullptr); }, {[&] {
                    pickerStyle = ::GetClassLongPtrW(GroupDialog()->GetList()->GetHandle(), GCL_STYLE);
                    PressKey(VK_ESCAPE);
                  }});
  EXPECT_TRUE(pickerStyle & CS_HREDRAW);
  auto* plain = new TListBox(Form);
  plain->SetParent(Form);
  LONG_PTR plainStyle = ::GetClassLongPtrW(plain->GetHandle(), GCL_STYLE);
  EXPECT_FALSE(plainStyle & CS_HREDRAW) << "other list boxes keep their class";
}

TEST_F(TGroupItemsDialog, PaintsAnEmptyListInsteadOfLeavingItUnpainted)
{
  ShowForm();
  TOwned<TdxBarGroup> loose(new TdxBarGroup(nullptr));
  COLORREF inside = 0;
  PlayInModalLoop([&] { ShowAddGroupItems(loose.Get(), nullptr); }, {[&] {
                    TListBox* list = GroupDialog()->GetList();
                    ::InvalidateRect(list->GetHandle(), nullptr, TRUE);
                    PumpFor(50);
                    inside = CaptureWindow(list->GetHandle()).Pixel(list->GetWidth() / 2, list->GetHeight() / 2);
                    PressKey(VK_ESCAPE);
                  }});
  EXPECT_TRUE(ColorNear(inside, ColorToRGB(clBtnFace))) << ColorText(inside);
}

}  // namespace
