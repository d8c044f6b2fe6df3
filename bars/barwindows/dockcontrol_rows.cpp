// The rows and columns of a dock site and their arithmetic on numbers: where the windows of a
// row go along it, which row a point falls on, and the rows' own lists of bars and windows.
#include <algorithm>
#include <unordered_set>

#include "bars/model/bar.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"

// Where the band of a row boundary lies: it is dxDockRowBandSize thick and centred in a
// zone of AZoneSize around the boundary; the far sides mirror it.
TdxDockRowBand dxDockRowBoundaryBand(int ABoundary, int AZoneSize, bool AFarSide)
{
  int zone = std::max(AZoneSize, dxDockRowBandSize);
  int before = zone / 2 - (zone - dxDockRowBandSize) / 2;
  if (AFarSide) {
    const int end = ABoundary + before + 1;
    return {end - dxDockRowBandSize, end};
  }
  const int start = ABoundary - before;
  return {start, start + dxDockRowBandSize};
}

// ---------------------------------------------------------------------------
// Placement arithmetic

void dxDockLayoutRowItems(std::vector<TdxDockRowLayoutItem>& AItems, int ARowLength, bool AAutoAlign)
{
  const int count = int(AItems.size());
  if (count == 0)
    return;
  auto hidden = [](const TdxDockRowLayoutItem& AItem) {
    return AItem.Length < AItem.FullLength && !AItem.MultiLine && AItem.MinLength != AItem.FullLength;
  };
  for (TdxDockRowLayoutItem& item : AItems) {
    item.MinLength = std::max(item.MinLength, 0);
    item.FullLength = std::max(item.FullLength, item.MinLength);
    item.ItemsHidden = false;
  }
  // Sums of the lengths of the windows before each one.
  std::vector<int> minBefore(count + 1, 0), fullBefore(count + 1, 0);
  for (int i = 0; i < count; ++i) {
    minBefore[i + 1] = minBefore[i] + AItems[i].MinLength;
    fullBefore[i + 1] = fullBefore[i] + AItems[i].FullLength;
  }

  if (AItems[0].WholeRow) {
    // A bar with the whole row to itself.
    TdxDockRowLayoutItem& item = AItems[0];
    item.Start = 0;
    item.Length = std::max(ARowLength, item.MinLength);
    item.ItemsHidden = !item.MultiLine && item.Length < item.FullLength;
    int next = item.Length;
    for (int i = 1; i < count; ++i) {
      AItems[i].Start = next;
      AItems[i].Length = AItems[i].FullLength;
      next += AItems[i].Length;
    }
    return;
  }

  int end = ARowLength;
  if (fullBefore[count] <= ARowLength) {
    // Everything fits: each window keeps its full length and, as far as the others allow,
    // its stored position.
    for (int i = count - 1; i >= 0; --i) {
      TdxDockRowLayoutItem& item = AItems[i];
      item.Length = item.FullLength;
      item.Start = std::max(std::min(item.StoredPos, end - item.Length), fullBefore[i]);
      end = item.Start;
    }
  } else {
    // Squeezed: the windows shrink from the right, none below its minimum; the first takes
    // what is left.
    for (int i = count - 1; i >= 0; --i) {
      TdxDockRowLayoutItem& item = AItems[i];
      int start;
      if (i == 0)
        start = 0;
      else if (AItems[i - 1].Resizing)
        // The window right after the one the user resizes stays where it is.
        start = std::max(std::min(item.StoredPos, end - item.MinLength), minBefore[i]);
      else {
        start = std::min(std::max(item.StoredPos, minBefore[i]), fullBefore[i]);
        start = std::max(std::min(start, end - item.MinLength), minBefore[i]);
      }
      item.Start = start;
      item.Length = std::max(end - start, item.MinLength);
      item.ItemsHidden = hidden(item);
      end = start;
    }
  }

  // Packing: rest-space bars, and every bar with automatic alignment, follow the previous
  // window; a rest-space bar stretches up to the next window (or the row's end).
  for (int i = 0; i < count; ++i) {
    TdxDockRowLayoutItem& item = AItems[i];
    if (!AAutoAlign && !item.UseRestSpace)
      continue;
    int start = i == 0 ? 0 : AItems[i - 1].Start + AItems[i - 1].Length;
    if (item.UseRestSpace) {
      int limit = i + 1 < count ? AItems[i + 1].Start : ARowLength;
      if (AAutoAlign && i + 1 < count)
        // The next window follows this one: it keeps only its own length after it.
        limit = std::max(limit, start + item.Length);
      item.Length = std::max(limit - start, item.MinLength);
      item.ItemsHidden = hidden(item);
    }
    item.Start = start;
  }

  // The last window with hidden items stretches over the free space after it.
  for (int i = count - 1; i >= 0; --i)
    if (AItems[i].ItemsHidden) {
      TdxDockRowLayoutItem& item = AItems[i];
      int limit = i + 1 < count ? AItems[i + 1].Start : ARowLength;
      item.Length = std::max(item.Length, limit - item.Start);
      break;
    }
}

int dxDockFindRow(const std::vector<int>& ARowEdges, int APos, int AZoneSize, bool AFarSide, bool& ANewRow)
{
  ANewRow = true;
  const int rows = int(ARowEdges.size()) - 1;
  if (rows <= 0)
    return 0;
  for (int i = 0; i <= rows; ++i) {
    const TdxDockRowBand band = dxDockRowBoundaryBand(ARowEdges[i], AZoneSize, AFarSide);
    if (APos >= band.Start && APos < band.End)
      return i;
  }
  for (int i = 0; i < rows; ++i)
    if (APos >= ARowEdges[i] && APos < ARowEdges[i + 1]) {
      ANewRow = false;
      return i;
    }
  return APos < ARowEdges[0] ? 0 : rows;
}

// ---------------------------------------------------------------------------
// TdxDockCol

TdxDockCol::TdxDockCol(TdxDockRow* ARow, TdxBarControl* ABarControl) : FRow(ARow), FBarControl(ABarControl) {}

int TdxDockCol::GetPos() const
{
  TdxDockControl* dock = FRow ? FRow->GetDockControl() : nullptr;
  return dock && dock->IsVertical() ? FTop : FLeft;
}

void TdxDockCol::SetPos(int Value)
{
  TdxDockControl* dock = FRow ? FRow->GetDockControl() : nullptr;
  if (dock && dock->IsVertical())
    FTop = Value;
  else
    FLeft = Value;
}

void TdxDockCol::SaveColumnPosition()
{
  if (!FBarControl)
    return;
  FLeft = FBarControl->GetLeft();
  FTop = FBarControl->GetTop();
}

// ---------------------------------------------------------------------------
// TdxDockRow

TdxDockRow::TdxDockRow(TdxDockControl* ADockControl) : FDockControl(ADockControl) {}

TdxDockRow::~TdxDockRow()
{
  for (std::unique_ptr<TdxDockCol>& col : FCols)
    if (TdxBarControl* control = col->GetBarControl())
      if (control->GetDockCol() == col.get())
        control->SetDockCol(nullptr);
  FCols.clear();
  for (TdxBar* bar : FBars)
    if (bar->GetDockRow() == this)
      bar->SetDockRow(nullptr);
  FBars.clear();
}

int TdxDockRow::GetIndex() const
{
  return FDockControl ? FDockControl->IndexOfRow(this) : -1;
}

void TdxDockRow::AddBar(TdxBar* ABar)
{
  if (!ABar)
    return;
  if (IndexOfBar(ABar) < 0)
    FBars.push_back(ABar);
  ABar->SetDockRow(this);
  ABar->SetOneOnRow(GetColCount() == 1);
}

void TdxDockRow::RemoveBar(TdxBar* ABar, bool AFreeWhenEmpty)
{
  int index = IndexOfBar(ABar);
  if (index >= 0) {
    FBars.erase(FBars.begin() + index);
    if (ABar->GetDockRow() == this)
      ABar->SetDockRow(nullptr);
  }
  if (AFreeWhenEmpty && FBars.empty() && FCols.empty() && FDockControl)
    FDockControl->DeleteRow(GetIndex());
}

TdxBar* TdxDockRow::GetBar(int Index) const
{
  return Index >= 0 && Index < GetBarCount() ? FBars[size_t(Index)] : nullptr;
}

int TdxDockRow::IndexOfBar(const TdxBar* ABar) const
{
  auto it = std::find(FBars.begin(), FBars.end(), ABar);
  return it == FBars.end() ? -1 : int(it - FBars.begin());
}

TdxDockCol* TdxDockRow::GetCol(int Index) const
{
  return Index >= 0 && Index < GetColCount() ? FCols[size_t(Index)].get() : nullptr;
}

TdxDockCol* TdxDockRow::AddCol(TdxBarControl* ABarControl)
{
  return InsertCol(GetColCount(), ABarControl);
}

TdxDockCol* TdxDockRow::InsertCol(int Index, TdxBarControl* ABarControl)
{
  FLaidOut = false;
  if (!ABarControl)
    return nullptr;
  if (TdxDockCol* existing = FindCol(ABarControl))
    return existing;
  Index = std::clamp(Index, 0, GetColCount());
  auto col = std::make_unique<TdxDockCol>(this, ABarControl);
  TdxDockCol* result = col.get();
  FCols.insert(FCols.begin() + Index, std::move(col));
  ABarControl->SetDockCol(result);
  UpdateOneOnRow();
  return result;
}

void TdxDockRow::DeleteCol(int Index)
{
  FLaidOut = false;
  if (Index < 0 || Index >= GetColCount())
    return;
  std::unique_ptr<TdxDockCol> col = std::move(FCols[size_t(Index)]);
  FCols.erase(FCols.begin() + Index);
  if (TdxBarControl* control = col->GetBarControl())
    if (control->GetDockCol() == col.get())
      control->SetDockCol(nullptr);
  UpdateOneOnRow();
}

void TdxDockRow::MoveCol(int AFrom, int ATo)
{
  FLaidOut = false;
  if (AFrom < 0 || AFrom >= GetColCount())
    return;
  ATo = std::clamp(ATo, 0, GetColCount() - 1);
  if (AFrom == ATo)
    return;
  std::unique_ptr<TdxDockCol> col = std::move(FCols[size_t(AFrom)]);
  FCols.erase(FCols.begin() + AFrom);
  FCols.insert(FCols.begin() + ATo, std::move(col));
}

int TdxDockRow::IndexOfBarControl(const TdxBarControl* ABarControl) const
{
  for (int i = 0; i < GetColCount(); ++i)
    if (FCols[size_t(i)]->GetBarControl() == ABarControl)
      return i;
  return -1;
}

TdxDockCol* TdxDockRow::FindCol(const TdxBarControl* ABarControl) const
{
  return GetCol(IndexOfBarControl(ABarControl));
}

bool TdxDockRow::RemoveBarControl(TdxBarControl* ABarControl)
{
  int index = IndexOfBarControl(ABarControl);
  if (index < 0)
    return false;
  DeleteCol(index);
  return true;
}

void TdxDockRow::MoveWindowsTo(const std::vector<TdxBarControl*>& AControls, TdxDockRow* ATarget, bool AAtFront)
{
  if (!ATarget || ATarget == this || AControls.empty())
    return;
  const std::unordered_set<const TdxBarControl*> moving(AControls.begin(), AControls.end());
  // Each list is walked once, and each row tells its bars once whether they are alone: a
  // row of thousands of windows wraps in time linear in them.
  std::vector<std::unique_ptr<TdxDockCol>> kept;
  for (std::unique_ptr<TdxDockCol>& col : FCols) {
    TdxBarControl* control = col->GetBarControl();
    if (!moving.count(control)) {
      kept.push_back(std::move(col));
      continue;
    }
    if (control->GetDockCol() == col.get())
      control->SetDockCol(nullptr);
  }
  FCols = std::move(kept);
  FLaidOut = false;
  ATarget->FLaidOut = false;
  std::unordered_set<const TdxBarControl*> there;
  for (const std::unique_ptr<TdxDockCol>& col : ATarget->FCols)
    there.insert(col->GetBarControl());
  std::vector<std::unique_ptr<TdxDockCol>> added;
  for (TdxBarControl* control : AControls) {
    if (!there.insert(control).second)
      continue;
    auto col = std::make_unique<TdxDockCol>(ATarget, control);
    control->SetDockCol(col.get());
    added.push_back(std::move(col));
  }
  ATarget->FCols.insert(AAtFront ? ATarget->FCols.begin() : ATarget->FCols.end(),
                        std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  std::unordered_set<const TdxBar*> leaving;
  std::unordered_set<const TdxBar*> joined(ATarget->FBars.begin(), ATarget->FBars.end());
  std::vector<TdxBar*> joining;
  for (TdxBarControl* control : AControls)
    if (TdxBar* bar = control->GetBar()) {
      if (bar->GetDockRow() == this)
        leaving.insert(bar);
      if (joined.insert(bar).second)
        joining.push_back(bar);
      bar->SetDockRow(ATarget);
    }
  ATarget->FBars.insert(AAtFront ? ATarget->FBars.begin() : ATarget->FBars.end(), joining.begin(), joining.end());
  std::erase_if(FBars, [&](TdxBar* bar) { return leaving.count(bar) > 0; });
  UpdateOneOnRow();
  ATarget->UpdateOneOnRow();
}

int TdxDockRow::GetThickness() const
{
  const bool vertical = FDockControl && FDockControl->IsVertical();
  int result = 0;
  for (const std::unique_ptr<TdxDockCol>& col : FCols)
    if (TdxBarControl* control = col->GetBarControl())
      result = std::max(result, vertical ? control->GetWidth() : control->GetHeight());
  return result;
}

void TdxDockRow::UpdateOneOnRow()
{
  const bool alone = GetColCount() == 1;
  for (TdxBar* bar : FBars)
    bar->SetOneOnRow(alone);
}
