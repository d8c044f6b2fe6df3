// Dock sites: the windows along a form's sides (or placed on a form) into which toolbar
// windows dock in rows. A site keeps its rows and each row its columns (one per toolbar
// window), lays the toolbars out along each row, sizes itself to its rows, draws its
// background and optional sunken border, and answers where a dragged toolbar would land.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "bars/model/manager.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"

class TdxBar;
class TdxBarControl;
class TdxDockControl;
class TdxDockRow;

// The Align values of a placed dock control; each equals the TAlign value of its name.
enum TdxBarDockAlign { dalNone, dalTop, dalBottom, dalLeft, dalRight };
DECLARE_ENUM_INFO(TdxBarDockAlign)

// A stored row index (from a saved layout or form data) is untrusted: restoring a layout
// appends empty rows up to it, but never past the number of bars of the manager (a valid
// layout needs no more rows than bars) nor past this index, so a corrupt value cannot make
// millions of rows.
inline constexpr int dxDockMaxRowIndex = 255;
// The thickness of the band around a row boundary where a drop makes a new row.
inline constexpr int dxDockRowBandSize = 5;
// An empty placed dock control's height (or width) at design time, so it can be picked.
inline constexpr int dxDockDesignEmptySize = 3;

// One toolbar window in a row, and where it was put along the row (dock-site client
// coordinates; the coordinate along the row is the one that matters).
class TdxDockCol : public TObject {
  DECLARE_CLASS(TdxDockCol, TObject)
public:
  TdxDockCol(TdxDockRow* ARow, TdxBarControl* ABarControl);

  TdxDockRow* GetRow() const { return FRow; }
  TdxBarControl* GetBarControl() const { return FBarControl; }
  int GetLeft() const { return FLeft; }
  void SetLeft(int Value) { FLeft = Value; }
  int GetTop() const { return FTop; }
  void SetTop(int Value) { FTop = Value; }
  // Left on a horizontal site, Top on a vertical one.
  int GetPos() const;
  void SetPos(int Value);
  // Stores the window's present Left and Top.
  void SaveColumnPosition();

private:
  TdxDockRow* FRow;
  TdxBarControl* FBarControl;
  int FLeft = 0;
  int FTop = 0;
};

// One row of a dock site: the bars that belong to it and the columns of their windows.
// The row owns its columns; the site owns its rows.
class TdxDockRow : public TObject {
  DECLARE_CLASS(TdxDockRow, TObject)
public:
  explicit TdxDockRow(TdxDockControl* ADockControl);
  ~TdxDockRow() override;

  TdxDockControl* GetDockControl() const { return FDockControl; }
  int GetIndex() const;
  // Laid out since its windows last changed: a realign of another row only moves it.
  bool IsLaidOut() const { return FLaidOut; }
  void SetLaidOut(bool Value) { FLaidOut = Value; }

  // Bars: a bar that joins takes this row as its dock row.
  void AddBar(TdxBar* ABar);
  // Drops ABar; with AFreeWhenEmpty an emptied row leaves its site and is freed (do not
  // touch it afterwards).
  void RemoveBar(TdxBar* ABar, bool AFreeWhenEmpty = true);
  int GetBarCount() const { return int(FBars.size()); }
  TdxBar* GetBar(int Index) const;
  int IndexOfBar(const TdxBar* ABar) const;

  // Columns. After every change each bar of the row learns whether it is alone on it.
  int GetColCount() const { return int(FCols.size()); }
  TdxDockCol* GetCol(int Index) const;
  TdxDockCol* AddCol(TdxBarControl* ABarControl);
  TdxDockCol* InsertCol(int Index, TdxBarControl* ABarControl);
  void DeleteCol(int Index);
  // Moves a column to another place in the row.
  void MoveCol(int AFrom, int ATo);
  int IndexOfBarControl(const TdxBarControl* ABarControl) const;
  TdxDockCol* FindCol(const TdxBarControl* ABarControl) const;
  // Deletes the column of ABarControl; false when it has none here.
  bool RemoveBarControl(TdxBarControl* ABarControl);
  // Moves the columns of AControls, in that order, with their bars to the end of ATarget (a
  // row of the same site), or to its front, their stored positions at the row's start.
  void MoveWindowsTo(const std::vector<TdxBarControl*>& AControls, TdxDockRow* ATarget, bool AAtFront = false);
  // The thickness across the row: the largest window extent across (0 without windows).
  int GetThickness() const;

private:
  void UpdateOneOnRow();

  TdxDockControl* FDockControl;
  std::vector<TdxBar*> FBars;
  std::vector<std::unique_ptr<TdxDockCol>> FCols;
  bool FLaidOut = false;
};

// What LayoutRow works on for one window: its lengths along the row and flags; the result
// is written back into Start, Length and ItemsHidden. A plain record so the placement rules
// can be checked without windows.
struct TdxDockRowLayoutItem {
  int StoredPos = 0;   // the column's stored position along the row
  int MinLength = 0;   // whole-window minimum length (frame included)
  int FullLength = 0;  // whole-window preferred length (frame included)
  bool MultiLine = false;
  bool UseRestSpace = false;
  bool WholeRow = false;
  bool Resizing = false;  // the user is resizing this bar now
  // Results.
  int Start = 0;
  int Length = 0;
  bool ItemsHidden = false;
};

// Places the windows of one row of extent ARowLength (fit, squeeze, rest space, whole row,
// last hidden stretch). AAutoAlign packs every window from 0 with no gaps.
void dxDockLayoutRowItems(std::vector<TdxDockRowLayoutItem>& AItems, int ARowLength, bool AAutoAlign);

// The row a point across the rows falls on. ARowEdges holds the row starts and, last, the
// end of the last row (client coordinates, across the rows); the band of each boundary is
// placed within AZoneSize as the dock site's side asks (AFarSide: right and bottom sites).
// Answers the row index, and ANewRow when the point asks for a new row at that index.
int dxDockFindRow(const std::vector<int>& ARowEdges, int APos, int AZoneSize, bool AFarSide, bool& ANewRow);
// Where the band of a row boundary lies across the rows: from Start up to End.
struct TdxDockRowBand {
  int Start = 0;
  int End = 0;
};
// The band of the row boundary at ABoundary, for a docking zone of AZoneSize; AFarSide for
// right and bottom sites.
TdxDockRowBand dxDockRowBoundaryBand(int ABoundary, int AZoneSize, bool AFarSide);
// The whole-window lengths of a bar window along the rows (frame included).
struct TdxDockBarLengths {
  int MinLength = 0;
  int FullLength = 0;
};

// A hook the dock site calls: the toolbars popup on a right click, customizing on a double
// click. Later units plug into them; unassigned, nothing happens.
using TdxDockControlProc = std::function<void(TdxDockControl* ADockControl)>;

class TdxDockControl : public TCustomControl {
  DECLARE_CLASS(TdxDockControl, TCustomControl)
public:
  explicit TdxDockControl(TComponent* AOwner);
  // One of a manager's own sites: Align from the style, the style kept, the manager set.
  static TdxDockControl* CreateEx(TComponent* AOwner, TdxBarDockingStyle AStyle, TdxBarManager* ABarManager);
  ~TdxDockControl() override;
  void BeforeDestruction() override;

  // The toolbars popup (right click) and customizing (double click) hooks.
  static TdxDockControlProc ShowToolbarsPopupProc;
  static TdxDockControlProc CustomizeProc;

  TdxBarManager* GetBarManager() const { return FBarManager; }
  void SetBarManager(TdxBarManager* Value);
  bool GetAllowDocking() const { return FAllowDocking; }
  void SetAllowDocking(bool Value) { FAllowDocking = Value; }
  TBitmap* GetBackgroundBitmap() const { return FBackgroundBitmap.get(); }
  void SetBackgroundBitmap(TBitmap* Value);

  // The docking style: the own site's kept style, else from Align (alTop, alNone and
  // alClient give dsTop).
  TdxBarDockingStyle GetDockingStyle() const;
  bool IsVertical() const;
  bool IsOwnedByManager() const { return FOwnDockingStyle != dsNone; }
  // The nearest parent form of the site, else the manager's form.
  TCustomForm* GetOwnerForm();

  // --- Rows.
  int GetRowCount() const { return int(FRows.size()); }
  TdxDockRow* GetRow(int Index) const;
  int IndexOfRow(const TdxDockRow* ARow) const;
  TdxDockRow* AddRow();
  // Index is clamped to 0 .. RowCount.
  TdxDockRow* InsertRow(int Index);
  // Frees the row (its columns go with it; its bars lose their row).
  void DeleteRow(int Index);
  // Frees the rows that hold neither bars nor windows.
  void DeleteEmptyRows();
  // Appends empty rows until row AIndex exists, but never past GetMaxStoredRowIndex();
  // answers the row at min(AIndex, the cap) (nil for a negative index).
  TdxDockRow* AddRowsUpTo(int AIndex);
  // The highest row index a stored value may make rows up to (see dxDockMaxRowIndex).
  int GetMaxStoredRowIndex() const;
  // The column of a window docked here; nil when none.
  TdxDockCol* FindCol(const TdxBarControl* ABarControl) const;
  // A row that holds a window (some rows only hold bars while a layout is restored).
  bool RowHasDockedWindow(const TdxDockRow* ARow) const;

  // --- Docking.
  virtual bool CanDock(TdxBar* ABar);
  // Docks the window at a screen point: the row from the point (or from the bar's Row
  // while the window's docking is locked), the column by position.
  void DockBarControlAt(TdxBarControl* ABarControl, const TPoint& P, bool ARealign = true);
  // Takes the window out of its row; an emptied row is freed.
  void RemoveBarControl(TdxBarControl* ABarControl);
  // Moves a docked window to a screen point (the drag within the site).
  void MoveBarControl(TdxBarControl* ABarControl, const TPoint& P);
  void SaveColumnPositions();
  void RealignBars();
  // Lays ARow out again, where only its windows changed: the other rows keep their layout
  // and their windows only move across, unless the site's length along the rows changed
  // since every row was laid out.
  void RealignRow(TdxDockRow* ARow);
  void UpdateBorders();
  virtual void UpdateSize();
  // The screen rectangle where a dragged bar docks here: the window grown by the
  // docking-zone size toward the form's inside.
  TRect GetDockZoneRect();
  // A screen point across the rows at which a drop finds the given row again: the middle
  // of the row, or for a bar alone on its row the band of the boundary before it.
  TPoint GetRowBoundaryPoint(int ARow, bool AOneOnRow);
  // The row under a screen point (the row-finding rules); ANewRow asks for a new row.
  int FindRowAt(const TPoint& P, bool& ANewRow);
  // Where row AIndex starts across the rows (client coordinates).
  int GetRowStart(int AIndex) const;
  // Sum of the row thicknesses, with the painter's row spacing between rows.
  virtual int GetRowsSize() const;

  virtual TClass GetBarControlClass() const;
  virtual bool GetSunkenBorder() const;
  TdxBarPainter* GetPainter() const;
  bool IsBarDestroying() const { return FBarDestroying; }
  void SetBarDestroying(bool Value) { FBarDestroying = Value; }
  virtual bool NeedsFullRepaint() const;
  virtual bool HasBackgroundBitmap() const;
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  // Fills ADestR of DC as the site's client area ASourceR looks: tiled bitmap (its tiles
  // anchored at the site's client origin), else the site's colour and the painter's
  // docking-area background. Docked toolbars continue the site's background through it.
  virtual void FillBackground(HDC DC, const TRect& ADestR, const TRect& ASourceR);
  void FillBackground(HDC DC, const TRect& R) { FillBackground(DC, R, R); }
  virtual void UpdateColor();
  void RepaintBars();
  void UpdateDoubleBuffered();

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  // The last step of loading, also run by the manager once it applied its layout: colour,
  // buffering and the bars' layout as loaded (an empty site keeps its size).
  void FinishLoading();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  bool WantsWindowToShow() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WMWindowPosChanged(TMessage& Message) override;
  void WMRButtonDown(TMessage& Message) override;
  void WMLButtonDblClk(TMessage& Message) override;

  virtual void LayoutRows();
  // The length along the rows: the client's width, or its height on a vertical site.
  int RowLength() const;
  // Where the rows keep to the far side, or while bars are dragged, each row's start depends
  // on all rows and the site's size: it is asked each time instead of following the row before.
  bool AreRowStartsAsked() const;
  virtual void LayoutRow(TdxDockRow* ARow);
  // LayoutRow for a row that starts at AAcross across the rows.
  void LayoutRowAt(TdxDockRow* ARow, int AAcross);
  // Moves the windows of a laid-out row across to AAcross, their sizes kept.
  void MoveRowAcross(TdxDockRow* ARow, int AAcross);
  // Windows that lie wholly past the end of ARow's placed layout go to rows of their own
  // below it; true when any moved.
  bool MoveUnreachableWindows(TdxDockRow* ARow, const std::vector<TdxDockRowLayoutItem>& AItems, int ARowLength);
  virtual void ShowToolbarsPopup();
  // The whole-window lengths along the rows that LayoutRow works with (frame included): the
  // minimum (with room for the mark the window shows once squeezed) and the preferred one.
  virtual TdxDockBarLengths GetBarControlLengths(TdxBarControl* ABarControl);
  // The whole-window size the window asks for at ALength along the rows.
  virtual TPoint GetBarControlSize(TdxBarControl* ABarControl, int ALength);
  // Docks the window into row ARowIndex, or into a new row there with ANewRow.
  void DockAt(TdxBarControl* ABarControl, const TPoint& P, int ARowIndex, bool ANewRow, bool ARealign);
  // A point of a drag corrected by the grab offsets, so the window lands where it is drawn.
  TPoint CorrectDragPoint(TdxBarControl* ABarControl, const TPoint& P);
  // The site's wanted size across the rows (UpdateSize's value).
  int CalcWantedSize() const;
  void SetSizeAcross(int ASize);
  // Redraws what a change of the site's bounds from ABefore, made without redrawing, touched.
  void RedrawResized(const TRect& ABefore);
  // A status bar's size grip shows only while the bar lies on the form's bottom edge: its frame
  // is measured and drawn again once the bar or its site moved.
  void RefreshSizeGrips();
  // Rows are stacked from the far edge while a bar is dragged over a right or bottom site.
  int GetRowsOffset() const;
  void BackgroundChanged(TObject* Sender);

  bool FAllowDocking = true;
  std::unique_ptr<TBitmap> FBackgroundBitmap;
  TdxBarManager* FBarManager = nullptr;
  TdxBarDockingStyle FOwnDockingStyle = dsNone;
  bool FBarDestroying = false;
  std::vector<std::unique_ptr<TdxDockRow>> FRows;
  bool FLayingOut = false;
  void Realign(TdxDockRow* AOnlyRow);
  // The row RealignRow lays out while its layout runs; the length along the rows when
  // every row was last laid out (-1: since unknown); a whole realign asked for meanwhile.
  TdxDockRow* FOnlyRow = nullptr;
  int FRowLengthLaidOut = -1;
  // Set while the site takes the size its rows ask for (SetSizeAcross).
  bool FSizingAcross = false;
  bool FRealignAllAsked = false;
  TRect FLastBounds{};
  // A window was asked of the site (something docked there): it keeps it from then on.
  bool FWindowWanted = false;
  bool FJoinRedrawLock = false;
};

// The dock control a developer places on a form.
class TdxBarDockControl : public TdxDockControl {
  DECLARE_CLASS(TdxBarDockControl, TdxDockControl)
public:
  explicit TdxBarDockControl(TComponent* AOwner);

  TdxBarDockAlign GetAlign() const { return TdxBarDockAlign(TControl::GetAlign()); }
  void SetAlign(TdxBarDockAlign Value);
  bool GetAllowZeroSizeInDesignTime() const { return FAllowZeroSizeInDesignTime; }
  void SetAllowZeroSizeInDesignTime(bool Value);
  // Effective: the own value with UseOwnSunkenBorder, else the manager's.
  bool GetSunkenBorder() const override;
  void SetSunkenBorder(bool Value);
  bool GetUseOwnSunkenBorder() const { return FUseOwnSunkenBorder; }
  void SetUseOwnSunkenBorder(bool Value);
  bool GetUseOwnColor() const { return FUseOwnColor; }
  void SetUseOwnColor(bool Value);
  TColor GetColor() const { return TControl::GetColor(); }
  // Setting the colour (outside loading) makes it the site's own.
  void SetColor(TColor Value);
  bool GetParentColor() const { return TControl::GetParentColor(); }
  void SetParentColor(bool Value);
  // BarManager as the form data reads and writes it.
  TdxBarManager* GetBarManagerProp() const { return GetBarManager(); }
  void SetBarManagerProp(TdxBarManager* Value) { SetBarManager(Value); }

  void UpdateColor() override;
  void UpdateSize() override;

private:
  bool IsColorStored() const { return FUseOwnColor && !GetParentColor(); }
  bool IsSunkenBorderStored() const { return FUseOwnSunkenBorder; }

  bool FSunkenBorder = false;
  bool FUseOwnColor = false;
  bool FUseOwnSunkenBorder = false;
  bool FAllowZeroSizeInDesignTime = false;
};
