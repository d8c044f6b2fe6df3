// The dock site's dealings with its toolbar windows: docking at a point, moving and taking
// windows out, and laying a row of windows out.
#include <algorithm>

#include "bars/model/bar.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Win.h"

namespace {

bool RowHoldsOtherWholeRowBar(const TdxDockRow* ARow, const TdxBar* ABar)
{
  for (int i = 0; i < ARow->GetBarCount(); ++i)
    if (TdxBar* bar = ARow->GetBar(i))
      if (bar != ABar && bar->GetWholeRow())
        return true;
  return false;
}

bool RowHoldsOtherBar(const TdxDockRow* ARow, const TdxBar* ABar)
{
  if (ARow->GetColCount() > 0)
    return true;
  for (int i = 0; i < ARow->GetBarCount(); ++i)
    if (ARow->GetBar(i) != ABar)
      return true;
  return false;
}

}  // namespace

TClass TdxDockControl::GetBarControlClass() const
{
  return TdxBarControl::StaticClass();
}

bool TdxDockControl::CanDock(TdxBar* ABar)
{
  if (!FAllowDocking)
    return false;
  // A site inside a toolbar cannot take that toolbar.
  if (TdxBarControl* control = ABar ? ABar->GetControl() : nullptr)
    if (control->ContainsControl(this))
      return false;
  return true;
}

TPoint TdxDockControl::CorrectDragPoint(TdxBarControl* ABarControl, const TPoint& P)
{
  TdxBars* bars = FBarManager ? FBarManager->GetBars() : nullptr;
  if (!bars || !bars->IsDragging() || !ABarControl)
    return P;
  // Along the rows by where the window was grabbed (never beyond the window's length in this
  // style). Across them the point is the drag's already: the cursor moved by the grab offset
  // onto the boundary of the row the bar was taken from, so that the bar finds its own row
  // again where it was grabbed.
  const TPoint grab = bars->GetDragPoint();
  const TPoint size = ABarControl->GetSize(GetDockingStyle());
  TPoint result = P;
  if (IsVertical())
    result.y -= std::clamp<int>(grab.y, 0, std::max<int>(size.y - 1, 0));
  else
    result.x -= std::clamp<int>(grab.x, 0, std::max<int>(size.x - 1, 0));
  return result;
}

void TdxDockControl::DockBarControlAt(TdxBarControl* ABarControl, const TPoint& P, bool ARealign)
{
  if (!FBarManager || !ABarControl)
    return;
  TdxBar* bar = ABarControl->GetBar();
  int index;
  bool newRow;
  TPoint point = P;
  if (ABarControl->IsDockingLocked() && bar) {
    // Placed from the bar's settings.
    index = bar->GetRow();
    newRow = bar->GetOneOnRow();
  } else {
    point = CorrectDragPoint(ABarControl, P);
    index = FindRowAt(point, newRow);
  }
  DockAt(ABarControl, point, index, newRow, ARealign);
}

void TdxDockControl::DockAt(TdxBarControl* ABarControl, const TPoint& P, int ARowIndex, bool ANewRow, bool ARealign)
{
  if (!FBarManager || !ABarControl)
    return;
  TdxBar* bar = ABarControl->GetBar();
  const bool restoring = FBarManager->IsLoadingLayout() || FBarManager->IsRestoringRecreatedBars();
  // A window docked here already leaves its old column first.
  TdxDockCol* old = FindCol(ABarControl);
  const bool wasHere = old != nullptr;
  if (old) {
    TdxDockRow* oldRow = old->GetRow();
    const int oldIndex = oldRow->GetIndex();
    oldRow->RemoveBarControl(ABarControl);
    if (bar && bar->GetDockRow() == oldRow && !restoring) {
      oldRow->RemoveBar(bar, true);
      if (!GetRow(oldIndex) || GetRow(oldIndex) != oldRow)
        if (ARowIndex > oldIndex)
          --ARowIndex;
    }
  }
  if (bar && bar->GetWholeRow())
    ANewRow = true;

  int count = GetRowCount();
  if (restoring && ARowIndex >= count) {
    AddRowsUpTo(ARowIndex);
    ARowIndex = std::min(ARowIndex, GetRowCount() - 1);
    count = GetRowCount();
  } else
    ARowIndex = std::clamp(ARowIndex, 0, ANewRow ? count : std::max(count - 1, 0));
  const TPoint client = ScreenToClient(P);
  if (ARowIndex >= count)
    ANewRow = true;
  else if (RowHoldsOtherWholeRowBar(GetRow(ARowIndex), bar)) {
    // A row a bar has whole to itself stays its own: the new row goes on the side of it the
    // point lies on.
    if (!ANewRow && !restoring &&
        (IsVertical() ? client.x : client.y) >= GetRowStart(ARowIndex) + GetRow(ARowIndex)->GetThickness() / 2)
      ++ARowIndex;
    ANewRow = true;
  }

  const int along = std::max<int>(IsVertical() ? client.y : client.x, 0);
  TdxDockRow* row;
  TdxDockCol* col;
  // A stored row is used again unless a whole-row bar would share it.
  const bool reuse = restoring && ARowIndex < count && !RowHoldsOtherWholeRowBar(GetRow(ARowIndex), bar) &&
                     !(bar && bar->GetWholeRow() && RowHoldsOtherBar(GetRow(ARowIndex), bar));
  if (ANewRow && !reuse) {
    row = InsertRow(ARowIndex);
    col = row->AddCol(ABarControl);
  } else {
    row = GetRow(ARowIndex);
    // Before the first window that starts at or after the point.
    int at = row->GetColCount();
    for (int i = 0; i < row->GetColCount(); ++i) {
      TdxBarControl* other = row->GetCol(i)->GetBarControl();
      if (other && (IsVertical() ? other->GetTop() : other->GetLeft()) >= along) {
        at = i;
        break;
      }
    }
    col = row->InsertCol(at, ABarControl);
  }
  if (bar) {
    TdxDockRow* oldRow = bar->GetDockRow();
    if (oldRow && oldRow != row)
      oldRow->RemoveBar(bar, !restoring);
    row->AddBar(bar);
  }
  if (!col)
    return;
  const int across = GetRowStart(row->GetIndex());
  if (IsVertical()) {
    col->SetLeft(across);
    col->SetTop(along);
  } else {
    col->SetLeft(along);
    col->SetTop(across);
  }
  if (!ARealign)
    return;
  if (!ABarControl->IsMoving())
    ABarControl->SetBounds(col->GetLeft(), col->GetTop(), ABarControl->GetWidth(), ABarControl->GetHeight());
  // A window new to the site changes only the row it joins.
  if (wasHere)
    RealignBars();
  else
    RealignRow(row);
  if (!FBarManager->IsLoading() && !FBarManager->IsLoadingLayout())
    if (TdxDockCol* placed = FindCol(ABarControl))
      placed->SaveColumnPosition();
}

void TdxDockControl::RemoveBarControl(TdxBarControl* ABarControl)
{
  if (!ABarControl)
    return;
  for (int i = 0; i < GetRowCount(); ++i) {
    TdxDockRow* row = GetRow(i);
    if (row->IndexOfBarControl(ABarControl) < 0)
      continue;
    // The bar leaves first: the column change must not rewrite its OneOnRow, which places
    // it again when it comes back.
    TdxBar* bar = ABarControl->GetBar();
    if (bar && bar->GetDockRow() == row)
      row->RemoveBar(bar, false);
    row->RemoveBarControl(ABarControl);
    if (row->GetColCount() == 0 && row->GetBarCount() == 0)
      DeleteRow(i);
    break;
  }
  if (!ABarControl->IsMoving() && !FBarDestroying)
    RealignBars();
}

void TdxDockControl::MoveBarControl(TdxBarControl* ABarControl, const TPoint& P)
{
  if (!FBarManager || !ABarControl)
    return;
  TdxDockCol* col = FindCol(ABarControl);
  if (!col) {
    DockBarControlAt(ABarControl, P, true);
    return;
  }
  const TPoint point = CorrectDragPoint(ABarControl, P);
  bool newRow;
  int index = FindRowAt(point, newRow);
  TdxDockRow* row = col->GetRow();
  const int current = row->GetIndex();
  // A new row right next to a row the window has to itself is that row.
  if (newRow && row->GetColCount() == 1 && (index == current || index == current + 1)) {
    newRow = false;
    index = current;
  }
  if (!newRow && index == current) {
    const TPoint client = ScreenToClient(point);
    const int along = std::max<int>(IsVertical() ? client.y : client.x, 0);
    col->SetPos(along);
    const int from = row->IndexOfBarControl(ABarControl);
    int to = 0;
    for (int i = 0; i < row->GetColCount(); ++i) {
      if (i == from)
        continue;
      TdxBarControl* other = row->GetCol(i)->GetBarControl();
      if (other && (IsVertical() ? other->GetTop() : other->GetLeft()) < along)
        ++to;
    }
    row->MoveCol(from, to);
    RealignBars();
    return;
  }
  TdxBar* bar = ABarControl->GetBar();
  row->RemoveBarControl(ABarControl);
  if (bar && bar->GetDockRow() == row) {
    row->RemoveBar(bar, true);
    if (GetRow(current) != row && index > current)
      --index;
  }
  DockAt(ABarControl, point, index, newRow, true);
}

void TdxDockControl::SaveColumnPositions()
{
  for (int r = 0; r < GetRowCount(); ++r)
    for (int c = 0; c < GetRow(r)->GetColCount(); ++c)
      GetRow(r)->GetCol(c)->SaveColumnPosition();
}

TdxDockBarLengths TdxDockControl::GetBarControlLengths(TdxBarControl* ABarControl)
{
  const TdxBarDockingStyle style = GetDockingStyle();
  const TPoint frame = ABarControl->GetFrameSize(style);
  const TPoint full = ABarControl->CalcSize(style);
  TdxDockBarLengths result;
  if (IsVertical()) {
    result.MinLength = ABarControl->GetMinHeight(style) + frame.y;
    result.FullLength = full.y;
  } else {
    result.MinLength = ABarControl->GetMinWidth(style) + frame.x;
    result.FullLength = full.x;
  }
  // A window that can be squeezed shows its mark then: room for it stays.
  if (!ABarControl->HasMark() && result.MinLength != result.FullLength)
    result.MinLength = std::min(result.MinLength + ABarControl->GetFullMarkSize(), result.FullLength);
  return result;
}

TPoint TdxDockControl::GetBarControlSize(TdxBarControl* ABarControl, int ALength)
{
  const TdxBarDockingStyle style = GetDockingStyle();
  const TPoint frame = ABarControl->GetFrameSize(style);
  if (IsVertical()) {
    TPoint client = ABarControl->GetSizeForHeight(style, std::max<int>(ALength - frame.y, 0));
    return TPoint{client.x + frame.x, ALength};
  }
  TPoint client = ABarControl->GetSizeForWidth(style, std::max<int>(ALength - frame.x, 0));
  return TPoint{ALength, client.y + frame.y};
}

// A window that starts at or past the row's end cannot be seen or reached. Those windows go,
// in their order, to the row below, as a drop there would put them; that row wraps in turn
// when it is laid out, so every row is filled before the next begins. Not for a site
// without a size yet (a hidden or minimised form) or while bars are dragged, whose rows
// settle at the drop.
bool TdxDockControl::MoveUnreachableWindows(TdxDockRow* ARow, const std::vector<TdxDockRowLayoutItem>& AItems,
                                            int ARowLength)
{
  if (ARowLength <= 0 || FBarManager->IsDraggingBars() || !HandleAllocated() ||
      ::IsIconic(::GetAncestor(GetHandle(), GA_ROOT)))
    return false;
  std::vector<TdxBarControl*> moved;
  for (size_t i = 1; i < AItems.size(); ++i)
    if (AItems[i].Start >= ARowLength)
      moved.push_back(ARow->GetCol(int(i))->GetBarControl());
  if (moved.empty())
    return false;
  // The next row takes them in front of its own windows, as the row they continue, unless a
  // bar has that row whole: rows fill in turn, and a new row starts only after the last.
  TdxDockRow* next = GetRow(ARow->GetIndex() + 1);
  const bool join = next && next->GetColCount() > 0 && !RowHoldsOtherWholeRowBar(next, nullptr);
  ARow->MoveWindowsTo(moved, join ? next : InsertRow(ARow->GetIndex() + 1), join);
  return true;
}

void TdxDockControl::LayoutRow(TdxDockRow* ARow)
{
  if (ARow)
    LayoutRowAt(ARow, GetRowStart(ARow->GetIndex()));
}

void TdxDockControl::MoveRowAcross(TdxDockRow* ARow, int AAcross)
{
  const bool vertical = IsVertical();
  for (int i = 0; i < ARow->GetColCount(); ++i) {
    TdxBarControl* control = ARow->GetCol(i)->GetBarControl();
    if (!control || (vertical ? control->GetLeft() : control->GetTop()) == AAcross)
      continue;
    if (vertical)
      control->SetBounds(AAcross, control->GetTop(), control->GetWidth(), control->GetHeight());
    else
      control->SetBounds(control->GetLeft(), AAcross, control->GetWidth(), control->GetHeight());
  }
}

void TdxDockControl::LayoutRowAt(TdxDockRow* ARow, int AAcross)
{
  if (!ARow || !FBarManager)
    return;
  const bool vertical = IsVertical();
  const TRect client = GetClientRect();
  const int rowLength = vertical ? RectHeight(client) : RectWidth(client);
  const int count = ARow->GetColCount();
  std::vector<std::unique_ptr<TdxBarControl::TMeasureOnce>> measureOnce;
  measureOnce.reserve(size_t(count));
  for (int i = 0; i < count; ++i)
    measureOnce.push_back(std::make_unique<TdxBarControl::TMeasureOnce>(ARow->GetCol(i)->GetBarControl()));
  std::vector<TdxDockRowLayoutItem> items(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    TdxDockCol* col = ARow->GetCol(i);
    TdxBarControl* control = col->GetBarControl();
    TdxDockRowLayoutItem& item = items[size_t(i)];
    control->SetItemsHidden(false);
    control->ShowAllLinks();
    const TdxDockBarLengths lengths = GetBarControlLengths(control);
    item.MinLength = lengths.MinLength;
    item.FullLength = lengths.FullLength;
    item.StoredPos = col->GetPos();
    item.MultiLine = control->IsMultiLine();
    item.Resizing = control->IsResizingItem();
    if (TdxBar* bar = control->GetBar()) {
      item.UseRestSpace = bar->GetUseRestSpace();
      item.WholeRow = bar->GetWholeRow();
    }
  }
  dxDockLayoutRowItems(items, rowLength, FBarManager->GetAutoAlignBars());
  if (MoveUnreachableWindows(ARow, items, rowLength)) {
    LayoutRowAt(ARow, AAcross);
    return;
  }

  std::vector<TPoint> sizes(static_cast<size_t>(count));
  int thickness = 0;
  for (int i = 0; i < count; ++i) {
    TdxBarControl* control = ARow->GetCol(i)->GetBarControl();
    control->SetItemsHidden(items[size_t(i)].ItemsHidden);
    sizes[size_t(i)] = GetBarControlSize(control, items[size_t(i)].Length);
    thickness = std::max<int>(thickness, vertical ? sizes[size_t(i)].x : sizes[size_t(i)].y);
  }
  const int across = AAcross;
  for (int i = 0; i < count; ++i) {
    TdxBarControl* control = ARow->GetCol(i)->GetBarControl();
    const TdxDockRowLayoutItem& item = items[size_t(i)];
    TRect bounds = vertical ? Bounds(across, item.Start, thickness, item.Length)
                            : Bounds(item.Start, across, item.Length, thickness);
    TRect current = control->GetBoundsRect();
    if (!EqualRect(&current, &bounds))
      control->SetBounds(bounds.left, bounds.top, RectWidth(bounds), RectHeight(bounds));
    // A window not made yet places its links when it is made (its rebuild lays out its row).
    if (control->HandleAllocated())
      control->CalculateViewInfo();
    // The view info measures the links; a window the row squeezed keeps the flag (and so
    // its mark) even where its own measure comes out shorter.
    if (item.ItemsHidden && !control->GetItemsHidden())
      control->SetItemsHidden(true);
  }
  ARow->SetLaidOut(true);
}
