// The painters at work in an owner-drawn list box of the class layer, as the Customize
// dialog's commands list uses them, under a real pointer and keys; and one picture of the
// four kinds side by side.
#include "ListPaintTestUtil.h"
#include "platform/StdCtrls.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

constexpr int RowHeight = 22;

struct TCommandListTest : testing::Test {
  TListPaintHost Host;
  TListBox* List = nullptr;

  void SetUp() override
  {
    Host.Form()->SetBounds(120, 120, 320, 220);
    List = new TListBox(Host.Form());
    List->SetParent(Host.Form());
    List->SetBounds(8, 8, 280, 160);
    List->SetStyle(lbOwnerDrawFixed);
    List->SetItemHeight(RowHeight);
    for (TdxBarItem* item :
         std::initializer_list<TdxBarItem*>{Host.Button, Host.DropDown, Host.SubItem, Host.Container, Host.Ungrouped})
      List->GetItems()->AddObject(item->GetCaption(), item);
    List->OnDrawItem = TDrawItemEvent([this](TWinControl*, int Index, TRect R, TOwnerDrawState State) {
      const TdxBarCustomizingFormPainter& painter =
          GetCustomizingFormPainter(GetCustomizingFormPainterClass(Host.Manager));
      auto* item = static_cast<TdxBarItem*>(List->GetItems()->Objects(Index));
      painter.DrawCommandItem(List->GetCanvas(), R, State.Contains(odSelected), item, List->GetItems()->Get(Index));
      if (State.Contains(odFocused))
        painter.DrawFocusRect(List->GetCanvas(), R);
    });
    Host.Form()->Show();
    ActivateWindow(Host.Form()->GetHandle());
  }

  // A point of a row's text cell, clear of the caption, in form client coordinates.
  POINT TextCellPoint(int ARow)
  {
    TRect r = List->ItemRect(ARow);
    return List->ClientToParent(Point(r.right - 30, r.top + 2));
  }
};

}  // namespace

TEST_F(TCommandListTest, AClickAndAKeySelectAnEntryAndItIsDrawnSelectedInTheManagersLook)
{
  struct TRow {
    TdxBarManagerStyle Style;
    int Clicked;  // a row of its own, so that no click makes a double click with the last
    COLORREF Selected, Unselected;
  };
  for (TRow row : {TRow{bmsStandard, 2, GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_BTNFACE)},
                   TRow{bmsFlat, 0, ColorOf(Host.Manager->GetFlatSelectedColor()), GetSysColor(COLOR_WINDOW)}}) {
    SCOPED_TRACE(int(row.Style));
    Host.Manager->SetStyle(row.Style);
    List->SetItemIndex(-1);
    ASSERT_TRUE(ClickAt(List->ClientToScreen(Point(100, row.Clicked * RowHeight + 11))));
    EXPECT_EQ(List->GetItemIndex(), row.Clicked);
    TDib32 shot = CaptureWindow(Host.Form()->GetHandle());
    ASSERT_TRUE(shot.Valid());
    POINT selected = TextCellPoint(row.Clicked), other = TextCellPoint(4);
    EXPECT_TRUE(ColorNear(shot.Pixel(selected.x, selected.y), row.Selected));
    EXPECT_TRUE(ColorNear(shot.Pixel(other.x, other.y), row.Unselected));

    ASSERT_TRUE(PressKey(VK_DOWN));
    EXPECT_EQ(List->GetItemIndex(), row.Clicked + 1);
    shot = CaptureWindow(Host.Form()->GetHandle());
    selected = TextCellPoint(row.Clicked + 1);
    other = TextCellPoint(row.Clicked);
    EXPECT_TRUE(ColorNear(shot.Pixel(selected.x, selected.y), row.Selected));
    EXPECT_TRUE(ColorNear(shot.Pixel(other.x, other.y), row.Unselected));
  }
  // The standard look's column line sits 23 pixels into the selected row.
  Host.Manager->SetStyle(bmsStandard);
  TDib32 shot = CaptureWindow(Host.Form()->GetHandle());
  TRect r = List->ItemRect(1);
  POINT line = List->ClientToParent(Point(r.left + 23, r.top + 11));
  EXPECT_TRUE(ColorNear(shot.Pixel(line.x, line.y), GetSysColor(COLOR_BTNFACE)));
  EXPECT_TRUE(ColorNear(shot.Pixel(line.x + 1, line.y), GetSysColor(COLOR_HIGHLIGHT)));
}

TEST(CommandListPicture, TheFourKindsDrawTheSameCommands)
{
  TListPaintHost host;
  host.UseImages();
  host.Button->SetImageIndex(0);
  auto* disabled = host.NewItem<TdxBarButton>(L"Disabled");
  disabled->SetEnabled(false);
  host.DropDown->SetImageIndex(0);
  struct TEntry {
    TdxBarItem* Item;
    bool Selected;
  };
  const std::vector<TEntry> entries{{host.Button, false},  {host.Button, true},     {disabled, false},
                                    {host.SubItem, false}, {host.Container, false}, {host.DropDown, false},
                                    {host.DropDown, true}};
  constexpr int ColumnWidth = 200, Margin = 6;
  const std::vector<TClass> kinds = AllListPainterKinds();
  TPaintTarget t(int(kinds.size()) * (ColumnWidth + Margin) + Margin, int(entries.size()) * RowHeight + 2 * Margin,
                 RGB(255, 0, 255));
  for (size_t k = 0; k < kinds.size(); ++k) {
    const TdxBarCustomizingFormPainter& painter = PainterOf(kinds[k]);
    int left = Margin + int(k) * (ColumnWidth + Margin);
    for (size_t e = 0; e < entries.size(); ++e) {
      TRect r = Rect(left, Margin + int(e) * RowHeight, left + ColumnWidth, Margin + int(e + 1) * RowHeight);
      painter.DrawCommandItem(&t.Canvas, r, entries[e].Selected, entries[e].Item, entries[e].Item->GetCaption());
    }
  }
  SaveShotOnRequest(t.Dib, "ListPainterKinds");
  // Each kind shows its own selection and every entry is drawn.
  for (size_t k = 0; k < kinds.size(); ++k) {
    SCOPED_TRACE(kinds[k]->ClassName());
    int left = Margin + int(k) * (ColumnWidth + Margin);
    COLORREF selected = ColorOf(PainterOf(kinds[k]).GetBackgroundColor(true, host.Button));
    EXPECT_TRUE(ColorNear(t.Pixel(left + ColumnWidth - 20, Margin + RowHeight + 2), selected));
    EXPECT_EQ(CountPixelsNear(t.Dib, Rect(left, Margin, left + ColumnWidth, Margin + int(entries.size()) * RowHeight),
                              RGB(255, 0, 255), 0),
              0);
    // The glyph of the first entry sits in its column.
    EXPECT_GT(CountPixelsNear(t.Dib, Rect(left, Margin, left + RowHeight, Margin + RowHeight), RGB(0, 160, 0)), 200);
  }
}
