// Dock sites: their rows, row finding, sizing of the site, its border, background, colour
// and messages. The rows and columns with their placement arithmetic live in
// bars/barwindows/dockcontrol_rows.cpp, docking windows and laying a row of them out in
// bars/barwindows/dockcontrol_windows.cpp.
#include "bars/barwindows/dockcontrol.h"
#include "bars/model/customizing.h"

#include "bars/accessibility/baraccessibility.h"

#include <algorithm>

#include "bars/model/bar.h"
#include "bars/accessibility/baraccessibility.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "platform/Forms.h"
#include "platform/Profile.h"
#include "platform/Win.h"

DEFINE_ENUM_INFO(TdxBarDockAlign, L"dalNone", L"dalTop", L"dalBottom", L"dalLeft", L"dalRight")

IMPLEMENT_CLASS(TdxDockCol, TObject)
IMPLEMENT_CLASS(TdxDockRow, TObject)
IMPLEMENT_CLASS(TdxDockControl, TCustomControl)

PUBLISHED(TdxBarDockControl, TdxDockControl)
{
  using D = TdxBarDockControl;
  p.Prop(L"Align", &D::GetAlign, &D::SetAlign).Default(dalTop);
  p.Prop(L"AllowDocking", &D::GetAllowDocking, &D::SetAllowDocking).Default(true);
  p.Prop(L"AllowZeroSizeInDesignTime", &D::GetAllowZeroSizeInDesignTime, &D::SetAllowZeroSizeInDesignTime)
      .Default(false);
  p.Component(L"BarManager", &D::GetBarManagerProp, &D::SetBarManagerProp);
  p.Object(L"BackgroundBitmap", &D::GetBackgroundBitmap, &D::SetBackgroundBitmap);
  p.Prop(L"Color", &D::GetColor, &D::SetColor).Idents(&ColorIdents()).NoDefault().Stored(&D::IsColorStored);
  p.Prop(L"ParentColor", &D::GetParentColor, &D::SetParentColor).NoDefault().Stored(&D::IsColorStored);
  p.Prop(L"SunkenBorder", &D::GetSunkenBorder, &D::SetSunkenBorder).NoDefault().Stored(&D::IsSunkenBorderStored);
  p.Prop(L"UseOwnColor", &D::GetUseOwnColor, &D::SetUseOwnColor).Default(false);
  p.Prop(L"UseOwnSunkenBorder", &D::GetUseOwnSunkenBorder, &D::SetUseOwnSunkenBorder).Default(false);
}

TdxDockControlProc TdxDockControl::ShowToolbarsPopupProc;
TdxDockControlProc TdxDockControl::CustomizeProc;

namespace {

bool IsVerticalStyle(TdxBarDockingStyle AStyle)
{
  return AStyle == dsLeft || AStyle == dsRight;
}

TAlign AlignOfStyle(TdxBarDockingStyle AStyle)
{
  switch (AStyle) {
    case dsLeft:
      return alLeft;
    case dsRight:
      return alRight;
    case dsBottom:
      return alBottom;
    default:
      return alTop;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxDockControl: life

TdxDockControl::TdxDockControl(TComponent* AOwner) : TCustomControl(AOwner)
{
  FBackgroundBitmap = std::make_unique<TBitmap>();
  FBackgroundBitmap->OnChange = TNotifyEvent(this, &TdxDockControl::BackgroundChanged);
  SetParentColor(true);
  // The site draws its whole background itself.
  SetControlStyle(GetControlStyle() + csOpaque);
}

TdxDockControl* TdxDockControl::CreateEx(TComponent* AOwner, TdxBarDockingStyle AStyle, TdxBarManager* ABarManager)
{
  auto* result = new TdxDockControl(AOwner);
  result->FOwnDockingStyle = AStyle == dsNone ? dsTop : AStyle;
  result->TControl::SetAlign(AlignOfStyle(result->FOwnDockingStyle));
  result->SetBarManager(ABarManager);
  return result;
}

TdxDockControl::~TdxDockControl()
{
  if (FBarManager) {
    FBarManager->RemoveFreeNotification(this);
    FBarManager->RemoveDockControl(this);
    FBarManager = nullptr;
  }
  FRows.clear();
  if (FBackgroundBitmap)
    FBackgroundBitmap->OnChange = TNotifyEvent();
}

void TdxDockControl::BeforeDestruction()
{
  TCustomControl::BeforeDestruction();
  // The manager forgets the site while it still has its full type.
  if (FBarManager) {
    FBarManager->RemoveFreeNotification(this);
    FBarManager->RemoveDockControl(this);
    FBarManager = nullptr;
  }
}

void TdxDockControl::SetBarManager(TdxBarManager* Value)
{
  if (FBarManager == Value)
    return;
  if (FBarManager) {
    FBarManager->RemoveFreeNotification(this);
    FBarManager->RemoveDockControl(this);
  }
  FBarManager = Value;
  if (FBarManager) {
    FBarManager->AddDockControl(this);
    FBarManager->FreeNotification(this);
  }
  UpdateColor();
  RealignBars();
}

void TdxDockControl::SetBackgroundBitmap(TBitmap* Value)
{
  FBackgroundBitmap->Assign(Value);
}

void TdxDockControl::BackgroundChanged(TObject* Sender)
{
  UpdateDoubleBuffered();
  if (HandleAllocated())
    RedrawWindow(GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  RealignBars();
}

void TdxDockControl::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBarManager) {
    FBarManager = nullptr;
    // The manager's bars go with it: nothing in the rows may be touched any more.
    FRows.clear();
  }
}

void TdxDockControl::Loaded()
{
  TCustomControl::Loaded();
  FinishLoading();
  if (GetRowCount() == 0)
    RealignBars();
}

void TdxDockControl::FinishLoading()
{
  UpdateColor();
  UpdateDoubleBuffered();
  // A site without rows keeps the size the form data gave it.
  if (GetRowCount() > 0)
    RealignBars();
}

TdxBarDockingStyle TdxDockControl::GetDockingStyle() const
{
  if (FOwnDockingStyle != dsNone)
    return FOwnDockingStyle;
  switch (TControl::GetAlign()) {
    case alBottom:
      return dsBottom;
    case alLeft:
      return dsLeft;
    case alRight:
      return dsRight;
    default:
      return dsTop;
  }
}

bool TdxDockControl::IsVertical() const
{
  return IsVerticalStyle(GetDockingStyle());
}

TCustomForm* TdxDockControl::GetOwnerForm()
{
  if (TCustomForm* form = GetParentForm(this, false))
    return form;
  if (FBarManager)
    if (TWinControl* parent = FBarManager->GetParentControl())
      return parent->AsForm() ? parent->AsForm() : GetParentForm(parent, false);
  return nullptr;
}

TdxBarPainter* TdxDockControl::GetPainter() const
{
  return FBarManager ? FBarManager->GetPainter() : nullptr;
}

// ---------------------------------------------------------------------------
// Rows

TdxDockRow* TdxDockControl::GetRow(int Index) const
{
  return Index >= 0 && Index < GetRowCount() ? FRows[size_t(Index)].get() : nullptr;
}

int TdxDockControl::IndexOfRow(const TdxDockRow* ARow) const
{
  for (int i = 0; i < GetRowCount(); ++i)
    if (FRows[size_t(i)].get() == ARow)
      return i;
  return -1;
}

TdxDockRow* TdxDockControl::AddRow()
{
  return InsertRow(GetRowCount());
}

TdxDockRow* TdxDockControl::InsertRow(int Index)
{
  Index = std::clamp(Index, 0, GetRowCount());
  auto row = std::make_unique<TdxDockRow>(this);
  TdxDockRow* result = row.get();
  FRows.insert(FRows.begin() + Index, std::move(row));
  return result;
}

void TdxDockControl::DeleteRow(int Index)
{
  if (Index < 0 || Index >= GetRowCount())
    return;
  std::unique_ptr<TdxDockRow> row = std::move(FRows[size_t(Index)]);
  FRows.erase(FRows.begin() + Index);
}

void TdxDockControl::DeleteEmptyRows()
{
  std::erase_if(
      FRows, [](const std::unique_ptr<TdxDockRow>& row) { return row->GetBarCount() == 0 && row->GetColCount() == 0; });
}

int TdxDockControl::GetMaxStoredRowIndex() const
{
  int result = dxDockMaxRowIndex;
  if (TdxBars* bars = FBarManager ? FBarManager->GetBars() : nullptr)
    result = std::min(result, std::max(bars->GetCount() - 1, 0));
  // Rows that exist already are never out of reach.
  return std::max(result, GetRowCount() - 1);
}

TdxDockRow* TdxDockControl::AddRowsUpTo(int AIndex)
{
  if (AIndex < 0)
    return nullptr;
  AIndex = std::min(AIndex, GetMaxStoredRowIndex());
  while (GetRowCount() <= AIndex)
    AddRow();
  return GetRow(AIndex);
}

TdxDockCol* TdxDockControl::FindCol(const TdxBarControl* ABarControl) const
{
  for (const std::unique_ptr<TdxDockRow>& row : FRows)
    if (TdxDockCol* col = row->FindCol(ABarControl))
      return col;
  return nullptr;
}

bool TdxDockControl::RowHasDockedWindow(const TdxDockRow* ARow) const
{
  return ARow && ARow->GetColCount() > 0;
}

int TdxDockControl::GetRowsSize() const
{
  const int spacing = GetPainter() ? GetPainter()->GetDockRowSpacing() : 0;
  int result = 0;
  for (int i = 0; i < GetRowCount(); ++i) {
    result += FRows[size_t(i)]->GetThickness();
    if (i + 1 < GetRowCount())
      result += spacing;
  }
  return result;
}

int TdxDockControl::GetRowsOffset() const
{
  TdxDockControl* self = const_cast<TdxDockControl*>(this);
  const TdxBarDockingStyle style = GetDockingStyle();
  if ((style != dsRight && style != dsBottom) || !FBarManager)
    return 0;
  TdxBars* bars = FBarManager->GetBars();
  if (!bars || !bars->IsDragging())
    return 0;
  const int client = IsVertical() ? self->GetClientWidth() : self->GetClientHeight();
  return std::max(client - GetRowsSize(), 0);
}

int TdxDockControl::GetRowStart(int AIndex) const
{
  const int spacing = GetPainter() ? GetPainter()->GetDockRowSpacing() : 0;
  int result = GetRowsOffset();
  for (int i = 0; i < std::min(AIndex, GetRowCount()); ++i)
    result += FRows[size_t(i)]->GetThickness() + spacing;
  return result;
}

// ---------------------------------------------------------------------------
// Row finding

int TdxDockControl::FindRowAt(const TPoint& P, bool& ANewRow)
{
  const TPoint client = ScreenToClient(P);
  std::vector<int> edges;
  for (int i = 0; i < GetRowCount(); ++i)
    edges.push_back(GetRowStart(i));
  if (GetRowCount() > 0)
    edges.push_back(edges.back() + FRows.back()->GetThickness());
  TdxBars* bars = FBarManager ? FBarManager->GetBars() : nullptr;
  const int zone = bars ? bars->GetDockingZoneSize() : 20;
  const TdxBarDockingStyle style = GetDockingStyle();
  return dxDockFindRow(edges, IsVertical() ? client.x : client.y, zone, style == dsRight || style == dsBottom, ANewRow);
}

TPoint TdxDockControl::GetRowBoundaryPoint(int ARow, bool AOneOnRow)
{
  const int rows = GetRowCount();
  ARow = std::clamp(ARow, 0, rows);
  int across;
  if (!AOneOnRow && ARow < rows) {
    across = GetRowStart(ARow) + GetRow(ARow)->GetThickness() / 2;
  } else {
    TdxBars* bars = FBarManager ? FBarManager->GetBars() : nullptr;
    const int zone = bars ? bars->GetDockingZoneSize() : 20;
    const TdxBarDockingStyle style = GetDockingStyle();
    int boundary =
        ARow < rows ? GetRowStart(ARow) : GetRowStart(rows - 1) + (rows > 0 ? FRows.back()->GetThickness() : 0);
    const TdxDockRowBand band = dxDockRowBoundaryBand(boundary, zone, style == dsRight || style == dsBottom);
    across = (band.Start + band.End - 1) / 2;
  }
  return ClientToScreen(IsVertical() ? TPoint{across, 0} : TPoint{0, across});
}

TRect TdxDockControl::GetDockZoneRect()
{
  TRect r{};
  if (HandleAllocated())
    GetWindowRect(GetHandle(), &r);
  else if (TWinControl* parent = GetParent(); parent && parent->HandleAllocated()) {
    // An empty site not yet given its window lies where its bounds put it.
    r = GetBoundsRect();
    MapWindowPoints(parent->GetHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  } else
    return r;
  TdxBars* bars = FBarManager ? FBarManager->GetBars() : nullptr;
  const int zone = bars ? bars->GetDockingZoneSize() : 20;
  // The zone reaches into the form from the side the site lies on.
  switch (GetDockingStyle()) {
    case dsLeft:
      r.right = std::max<LONG>(r.right, r.left + zone);
      break;
    case dsRight:
      r.left = std::min<LONG>(r.left, r.right - zone);
      break;
    case dsBottom:
      r.top = std::min<LONG>(r.top, r.bottom - zone);
      break;
    default:
      r.bottom = std::max<LONG>(r.bottom, r.top + zone);
      break;
  }
  return r;
}

// ---------------------------------------------------------------------------
// Sizing

int TdxDockControl::CalcWantedSize() const
{
  int result = GetRowsSize();
  if (GetSunkenBorder() && GetRowCount() > 0)
    result += 2;
  return result;
}

void TdxDockControl::SetSizeAcross(int ASize)
{
  ASize = std::max(ASize, 0);
  const TdxBarDockingStyle style = GetDockingStyle();
  TRect r = GetBoundsRect();
  if (IsVertical()) {
    if (GetWidth() == ASize)
      return;
    // A right site keeps its right edge.
    r = Bounds(style == dsRight ? GetLeft() + GetWidth() - ASize : GetLeft(), GetTop(), ASize, GetHeight());
  } else {
    if (GetHeight() == ASize)
      return;
    r = Bounds(GetLeft(), style == dsBottom ? GetTop() + GetHeight() - ASize : GetTop(), GetWidth(), ASize);
  }
  if (!HandleAllocated()) {
    SetBounds(r.left, r.top, RectWidth(r), RectHeight(r));
    return;
  }
  // Left to itself the system would redraw every toolbar of the site at each row added or
  // removed; the site redraws what the change touches instead.
  const TRect before = GetBoundsRect();
  {
    TRestore sizing(FSizingAcross, true);
    ::SetWindowPos(GetHandle(), nullptr, r.left, r.top, RectWidth(r), RectHeight(r),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  RedrawResized(before);
}

void TdxDockControl::RedrawResized(const TRect& ABefore)
{
  const HWND wnd = GetHandle();
  const TRect after = GetBoundsRect();
  // Toolbars keep their pixels unless the site moved (or its background spans it whole, in
  // which case the move handler redraws them).
  const bool moved = after.left != ABefore.left || after.top != ABefore.top;
  // A site that had no room before shows its toolbars for the first time: all of it is new.
  const bool wasEmpty = IsRectEmpty(ABefore);
  ::RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | (moved || wasEmpty ? RDW_ALLCHILDREN : 0));
  if (!moved && !wasEmpty) {
    // What the site grew by shows toolbars that had no pixels there yet.
    HRGN grown = ::CreateRectRgnIndirect(&after);
    HRGN old = ::CreateRectRgnIndirect(&ABefore);
    if (grown && old && ::CombineRgn(grown, grown, old, RGN_DIFF) > NULLREGION) {
      ::OffsetRgn(grown, -after.left, -after.top);
      ::RedrawWindow(wnd, nullptr, grown, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    if (old)
      ::DeleteObject(old);
    if (grown)
      ::DeleteObject(grown);
  }
  // What the site uncovered belongs to its parent again.
  TWinControl* parent = GetParent();
  if (!parent || !parent->HandleAllocated() || ::GetParent(wnd) != parent->GetHandle())
    return;
  const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN;
  HRGN uncovered = ::CreateRectRgnIndirect(&ABefore);
  HRGN now = ::CreateRectRgnIndirect(&after);
  const int kind = uncovered && now ? ::CombineRgn(uncovered, uncovered, now, RGN_DIFF) : ERROR;
  if (kind == ERROR)
    ::RedrawWindow(parent->GetHandle(), &ABefore, nullptr, flags);
  else if (kind != NULLREGION)
    ::RedrawWindow(parent->GetHandle(), nullptr, uncovered, flags);
  if (now)
    ::DeleteObject(now);
  if (uncovered)
    ::DeleteObject(uncovered);
}

void TdxDockControl::UpdateSize()
{
  if (!FBarManager || FBarManager->IsLoading() || IsDestroying())
    return;
  const TRect before = GetBoundsRect();
  SetSizeAcross(CalcWantedSize());
  if (GetBoundsRect() == before)
    return;
  // An open menu would hang where its bar no longer is.
  TCustomdxBarControl* root = GetRootBarControl(ActiveBarControl());
  TdxBarManager* manager = root ? root->GetBarManager() : nullptr;
  if (manager && manager->GetMDIChildOrTopLevelForm() == FBarManager->GetMDIChildOrTopLevelForm())
    if (TCustomdxBarControl* menu = root->GetSubMenuControl())
      menu->Close();
}

void TdxDockControl::RealignBars()
{
  Realign(nullptr);
}

void TdxDockControl::RealignRow(TdxDockRow* ARow)
{
  Realign(ARow);
}

void TdxDockControl::Realign(TdxDockRow* AOnlyRow)
{
  if (!AOnlyRow)
    FRealignAllAsked = true;
  if (!FBarManager || FBarManager->IsUpdateLocked() || FBarManager->IsDestroying() || IsDestroying() || FLayingOut) {
    if (!FLayingOut)
      FRowLengthLaidOut = -1;  // the rows were not laid out as they stand now
    return;
  }
  TProfileScope phase(TProfilePhase::Layout);
  {
    TRestore layingOut(FLayingOut, true);
    TRestore onlyRow(FOnlyRow, AOnlyRow);
    FRealignAllAsked = !AOnlyRow;
    // The manager's background bitmap or painter may have changed since.
    UpdateDoubleBuffered();
    if (FBarManager->IsLoadingLayout())
      FRowLengthLaidOut = -1;
    else {
      // Above the form's other controls; a site on top already is left alone, since each move
      // in the order makes the system erase the form and every toolbar waiting to be drawn. A
      // row laid out again for one of its windows leaves the site where it is.
      if (!AOnlyRow && !IsDesigning() && HandleAllocated() && ::GetWindow(GetHandle(), GW_HWNDPREV))
        SetWindowPos(GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_DEFERERASE);
      TWinControl* parent = GetParent();
      if (parent)
        parent->DisableAlign();
      {
        TFinally enable([parent] {
          if (parent)
            parent->EnableAlign();
        });
        LayoutRows();
        // Asked meanwhile by something the row's layout set off.
        if (FOnlyRow && FRealignAllAsked) {
          FOnlyRow = nullptr;
          LayoutRows();
        }
      }
      if (HandleAllocated())
        Invalidate();
    }
    // During a drag the rows of a far site lie against its far edge: a site that shrinks to
    // its rows keeps that edge, so they start at its near edge again.
    const int offset = GetRowsOffset();
    UpdateSize();
    if (GetRowsOffset() != offset && !FBarManager->IsLoadingLayout()) {
      LayoutRows();
      RefreshSizeGrips();
    }
  }
}

bool TdxDockControl::AreRowStartsAsked() const
{
  return GetRowsOffset() != 0 || (FBarManager && FBarManager->GetBars() && FBarManager->GetBars()->IsDragging());
}

int TdxDockControl::RowLength() const
{
  const TRect client = GetClientRect();
  return IsVertical() ? RectHeight(client) : RectWidth(client);
}

void TdxDockControl::LayoutRows()
{
  const int rowLength = RowLength();
  bool onlyOne = FOnlyRow && rowLength == FRowLengthLaidOut && IndexOfRow(FOnlyRow) >= 0;
  // Each row starts where the one before ends, once that one is laid out, unless its start
  // is asked each time.
  const bool offset = AreRowStartsAsked();
  const int spacing = GetPainter() ? GetPainter()->GetDockRowSpacing() : 0;
  int across = 0;
  for (int i = 0; i < GetRowCount(); ++i) {
    TdxDockRow* row = GetRow(i);
    if (offset)
      across = GetRowStart(i);
    if (RowHasDockedWindow(row)) {
      if (!onlyOne || row == FOnlyRow || !row->IsLaidOut())
        LayoutRowAt(row, across);
      else
        MoveRowAcross(row, across);
    }
    across += row->GetThickness() + spacing;
  }
  FRowLengthLaidOut = rowLength;
}

// ---------------------------------------------------------------------------
// Border, background and colour

bool TdxDockControl::GetSunkenBorder() const
{
  return FBarManager && FBarManager->GetSunkenBorder();
}

void TdxDockControl::UpdateBorders()
{
  if (HandleAllocated()) {
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0, flags);
    for (const std::unique_ptr<TdxDockRow>& row : FRows)
      for (int i = 0; i < row->GetColCount(); ++i)
        if (TdxBarControl* control = row->GetCol(i)->GetBarControl())
          if (control->HandleAllocated())
            SetWindowPos(control->GetHandle(), nullptr, 0, 0, 0, 0, flags);
  }
  RealignBars();
}

bool TdxDockControl::HasBackgroundBitmap() const
{
  return FBackgroundBitmap && !FBackgroundBitmap->Empty();
}

bool TdxDockControl::NeedsFullRepaint() const
{
  if (HasBackgroundBitmap())
    return true;
  if (TdxBarPainter* painter = GetPainter())
    if (painter->IsBackgroundDrawnFirst())
      return true;
  if (FBarManager && FBarManager->GetBackgrounds() && FBarManager->GetBackgrounds()->GetBar() &&
      !FBarManager->GetBackgrounds()->GetBar()->Empty())
    return true;
  return false;
}

void TdxDockControl::UpdateDoubleBuffered()
{
  SetDoubleBuffered(NeedsFullRepaint());
}

void TdxDockControl::FillBackground(HDC DC, const TRect& ADestR, const TRect& ASourceR)
{
  if (!DC || IsRectEmpty(&ADestR))
    return;
  // Bitmaps tile from the site's client origin, wherever the rectangle is drawn.
  const TPoint origin{ADestR.left - ASourceR.left, ADestR.top - ASourceR.top};
  if (HasBackgroundBitmap()) {
    TileBackgroundBitmap(DC, ADestR, FBackgroundBitmap.get(), origin);
    return;
  }
  if (FBarManager && FBarManager->GetBackgrounds()) {
    TBitmap* bitmap = FBarManager->GetBackgrounds()->GetBar();
    if (bitmap && !bitmap->Empty()) {
      TileBackgroundBitmap(DC, ADestR, bitmap, origin);
      return;
    }
  }
  // The site's colour, then whatever the painter draws over the whole client area, seen
  // through ADestR.
  FillRectByColor(DC, ADestR, GetColor());
  TdxBarPainter* painter = GetPainter();
  TRect client = GetClientRect();
  if (!painter || IsRectEmpty(&client))
    return;
  int saved = SaveDC(DC);
  POINT old{};
  OffsetViewportOrgEx(DC, origin.x, origin.y, &old);
  IntersectClipRect(DC, ASourceR.left, ASourceR.top, ASourceR.right, ASourceR.bottom);
  painter->DrawDockingAreaBackground(this, DC, client);
  RestoreDC(DC, saved);
}

void TdxDockControl::UpdateColor()
{
  if (!FBarManager || FBarManager->GetAutoDockColor())
    TControl::SetParentColor(true);
  else
    TControl::SetColor(FBarManager->GetDockColor());
  if (HandleAllocated())
    Invalidate();
}

void TdxDockControl::RepaintBars()
{
  for (const std::unique_ptr<TdxDockRow>& row : FRows)
    for (int i = 0; i < row->GetColCount(); ++i)
      if (TdxBarControl* control = row->GetCol(i)->GetBarControl())
        if (control->HandleAllocated())
          RedrawWindow(control->GetHandle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// ---------------------------------------------------------------------------
// Window

void TdxDockControl::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = 0;
  Params.WindowClass.style = CS_DBLCLKS;
  if (IsDesigning() && !IsOwnedByManager())
    Params.WindowClass.style |= CS_VREDRAW | CS_HREDRAW;
}

// Every manager has four sites, and most forms dock bars on one or two: a site of its own
// that holds nothing takes no room and draws nothing, so its window waits until a control
// docks there, the site takes room, or something asks for the window.
bool TdxDockControl::WantsWindowToShow()
{
  return FWindowWanted || !IsOwnedByManager() || IsDesigning() || GetControlCount() > 0 ||
         (GetWidth() > 0 && GetHeight() > 0);
}

void TdxDockControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!HandleAllocated() && WantsWindowToShow())
    UpdateControlState();
}

void TdxDockControl::CreateWnd()
{
  TCustomControl::CreateWnd();
  // A window made while the manager holds the sites' redraw off joins them once it shows
  // (showing it gives it back its redraw).
  FJoinRedrawLock = IsOwnedByManager() && FBarManager && FBarManager->IsUpdateLocked();
}

void TdxDockControl::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case CM_SHOWINGCHANGED:
      TCustomControl::WndProc(Message);
      if (FJoinRedrawLock && GetShowing()) {
        FJoinRedrawLock = false;
        if (FBarManager && FBarManager->IsUpdateLocked() && GetVisible())
          SendMessageW(GetHandle(), WM_SETREDRAW, FALSE, 0);
      }
      return;
    case CM_CONTROLLISTCHANGE:
      // A control about to dock here shows only in a site that shows.
      if (Message.LParam && !HandleAllocated()) {
        FWindowWanted = true;
        UpdateControlState();
      }
      break;
    case WM_GETOBJECT:
      if ((Message.Result = dxBarAnswerGetObject(this, Message.WParam, Message.LParam)) != 0)
        return;
      break;
    case WM_NCCALCSIZE:
      if (GetSunkenBorder()) {
        auto* r = reinterpret_cast<RECT*>(Message.LParam);
        InflateRect(r, -1, -1);
        if (r->right < r->left)
          r->right = r->left;
        if (r->bottom < r->top)
          r->bottom = r->top;
        Message.Result = 0;
        return;
      }
      break;
    case WM_NCPAINT:
      // Without its sunken border a site has no frame: the system's painting would only take
      // a device context of the window to draw nothing.
      if (GetSunkenBorder()) {
        HWND wnd = GetHandle();
        if (HDC dc = GetWindowDC(wnd)) {
          RECT r{};
          GetWindowRect(wnd, &r);
          OffsetRect(&r, -r.left, -r.top);
          DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
          ReleaseDC(wnd, dc);
        }
      }
      Message.Result = 0;
      return;
    case WM_NCACTIVATE:
      // Bars send it up to keep their form's caption active; a site has no caption.
      Message.Result = 1;
      return;
    case WM_DESTROY:
      // The bars' windows go with this one; they are remembered to be shown again.
      if (FBarManager && !IsDestroying() && !FBarManager->IsDestroying())
        FBarManager->BeginRecreateBars();
      break;
    case WM_MOUSEACTIVATE:
      if (!IsDesigning())
        if (TCustomForm* form = GetParentForm(this))
          if (form->HandleAllocated() && GetActiveWindow() != form->GetHandle()) {
            SetWindowPos(form->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            Message.Result = MA_NOACTIVATE;
            return;
          }
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TdxDockControl::WMEraseBkgnd(TMessage& Message)
{
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  // A double-buffered site fills only its buffer, never the screen.
  if (GetDoubleBuffered() && Message.WParam != WPARAM(Message.LParam) && !GetControlState().Contains(csPrintClient)) {
    Message.Result = 1;
    return;
  }
  FillBackground(dc, GetClientRect());
  Message.Result = 1;
}

void TdxDockControl::Paint()
{
  // A placed site at design time shows where it is.
  if (!IsDesigning() || IsOwnedByManager())
    return;
  HDC dc = GetCanvas()->GetHandle();
  TRect r = GetClientRect();
  if (!IsRectEmpty(&r))
    DrawFocusRect(dc, &r);
}

void TdxDockControl::WMSize(TMessage& Message)
{
  TCustomControl::WMSize(Message);
  // The size the rows just asked for lays them out as they stand, unless they keep to the
  // far side or the length along them changed: measuring every bar again would change nothing.
  if (FSizingAcross && FRowLengthLaidOut == RowLength() && !AreRowStartsAsked())
    return;
  RealignBars();
}

void TdxDockControl::WMWindowPosChanged(TMessage& Message)
{
  TRect before = FLastBounds;
  TCustomControl::WMWindowPosChanged(Message);
  FLastBounds = GetBoundsRect();
  if (EqualRect(&before, &FLastBounds))
    return;
  if (NeedsFullRepaint())
    RepaintBars();
  if (before.left != FLastBounds.left || before.top != FLastBounds.top)
    RefreshSizeGrips();
}

void TdxDockControl::RefreshSizeGrips()
{
  if (GetDockingStyle() != dsBottom)
    return;
  for (const std::unique_ptr<TdxDockRow>& row : FRows)
    for (int i = 0; i < row->GetColCount(); ++i)
      if (TdxBarControl* control = row->GetCol(i)->GetBarControl())
        if (control->GetBar() && control->GetBar()->GetSizeGrip() && control->GetBar()->IsStatusBar())
          control->RefreshFrame();
}

void TdxDockControl::WMRButtonDown(TMessage& Message)
{
  TCustomControl::WMRButtonDown(Message);
  if (FBarManager && !FBarManager->IsCustomizing())
    ShowToolbarsPopup();
}

void TdxDockControl::WMLButtonDblClk(TMessage& Message)
{
  TCustomControl::WMLButtonDblClk(Message);
  if (FBarManager && FBarManager->GetCanCustomize() && CustomizeProc)
    CustomizeProc(this);
}

void TdxDockControl::ShowToolbarsPopup()
{
  if (ShowToolbarsPopupProc)
    ShowToolbarsPopupProc(this);
  else if (const TdxBarCustomizingServices& services = dxBarCustomizingServices(); services.ShowToolbarsPopup)
    services.ShowToolbarsPopup(FBarManager, this);
}

// ---------------------------------------------------------------------------
// TdxBarDockControl

TdxBarDockControl::TdxBarDockControl(TComponent* AOwner) : TdxDockControl(AOwner)
{
  TControl::SetAlign(alTop);
}

void TdxBarDockControl::SetAlign(TdxBarDockAlign Value)
{
  if (Value < dalNone || Value > dalRight || GetAlign() == Value)
    return;
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading) || !FBarManager) {
    TControl::SetAlign(TAlign(Value));
    return;
  }
  TdxBarManager* manager = FBarManager;
  std::vector<TdxBarControl*> windows;
  for (int r = 0; r < GetRowCount(); ++r)
    for (int c = 0; c < GetRow(r)->GetColCount(); ++c)
      if (TdxBarControl* control = GetRow(r)->GetCol(c)->GetBarControl())
        windows.push_back(control);
  manager->BeginUpdate();
  {
    TFinally end([manager] { manager->EndUpdate(); });
    TControl::SetAlign(TAlign(Value));
    const TdxBarDockingStyle style = GetDockingStyle();
    for (TdxBarControl* control : windows)
      control->SetDockingStyle(style);
  }
  for (TdxBarControl* control : windows)
    control->RebuildBar();
  if (TWinControl* parent = GetParent())
    parent->Realign();
  RealignBars();
}

void TdxBarDockControl::SetAllowZeroSizeInDesignTime(bool Value)
{
  if (FAllowZeroSizeInDesignTime == Value)
    return;
  FAllowZeroSizeInDesignTime = Value;
  UpdateSize();
}

bool TdxBarDockControl::GetSunkenBorder() const
{
  return FUseOwnSunkenBorder ? FSunkenBorder : TdxDockControl::GetSunkenBorder();
}

void TdxBarDockControl::SetSunkenBorder(bool Value)
{
  const bool before = GetSunkenBorder();
  FSunkenBorder = Value;
  if (GetSunkenBorder() != before)
    UpdateBorders();
}

void TdxBarDockControl::SetUseOwnSunkenBorder(bool Value)
{
  if (FUseOwnSunkenBorder == Value)
    return;
  const bool before = GetSunkenBorder();
  FUseOwnSunkenBorder = Value;
  if (GetSunkenBorder() != before)
    UpdateBorders();
}

void TdxBarDockControl::SetUseOwnColor(bool Value)
{
  if (FUseOwnColor == Value)
    return;
  FUseOwnColor = Value;
  if (!Value)
    UpdateColor();
}

void TdxBarDockControl::SetColor(TColor Value)
{
  TControl::SetColor(Value);
  if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csReading))
    FUseOwnColor = true;
}

void TdxBarDockControl::SetParentColor(bool Value)
{
  TControl::SetParentColor(Value);
  if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csReading))
    FUseOwnColor = true;
}

void TdxBarDockControl::UpdateColor()
{
  if (!FUseOwnColor)
    TdxDockControl::UpdateColor();
}

void TdxBarDockControl::UpdateSize()
{
  if (GetRowCount() > 0) {
    TdxDockControl::UpdateSize();
    return;
  }
  if (!FBarManager || FBarManager->IsLoading())
    return;
  SetSizeAcross(IsDesigning() && !FAllowZeroSizeInDesignTime ? dxDockDesignEmptySize : 0);
}
