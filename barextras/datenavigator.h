// The month calendar the date combo drops down: the calendar base (the date model and the
// selection by pointer) and the date navigator (the month header with its paging arrows,
// the day grid from the locale's first day of week, "Today" and "Clear", the keys), with
// the pop-up list of months its caption opens. Window layer; geometry in one metrics set.
#pragma once

#include <algorithm>

#include "barextras/cxDateUtils.h"
#include "platform/Controls.h"

class TdxBarDateCombo;
class TdxBarPainter;
class TAMonthListBox;

class TdxBarCustomCalendar : public TCustomControl {
  DECLARE_CLASS(TdxBarCustomCalendar, TCustomControl)
public:
  explicit TdxBarCustomCalendar(TComponent* AOwner);

  TDateTime GetDate() const { return FDate; }
  void SetDate(TDateTime Value) { FDate = Value; }
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool Value);

  // 0: none, 1: the flat frame, 2: the painter's frame.
  virtual int GetBorderKind() const { return FFlat ? 1 : 0; }
  virtual TDateTime GetFirstDate() const { return FFirstDate; }
  virtual TDateTime GetLastDate() const { return FFirstDate + 41; }
  // The earlier end of the selection; the null date when nothing is selected.
  virtual TDateTime GetSelStart() const;
  virtual TDateTime GetSelFinish() const;
  virtual void SetFirstDate(TDateTime Value);
  // One day selected (the null date: none).
  virtual void SetSelStart(TDateTime Value);
  virtual void SetSelFinish(TDateTime Value);
  // The day under a client point; the null date off the grid.
  virtual TDateTime PosToDateTime(const TPoint& P) const { return cxNullDate; }

  void CreateParams(TCreateParams& Params) override;

protected:
  // The selection follows the pointer while the button is held.
  void SelectAt(const TPoint& P, bool AExtend);

  TDateTime FDate;
  TDateTime FFirstDate = 0;
  TDateTime FSelStart = cxNullDate;
  TDateTime FSelFinish = cxNullDate;
  bool FFlat = true;
};

// What the navigator's layout is made of, recomputed when its font changes.
struct TdxBarDateNavigatorMetrics {
  int ColWidth = 0;
  int SideWidth = 0;
  int RowHeight = 0;
  int HeaderHeight = 0;
  int DaysOfWeekHeight = 0;
  int TodayButtonWidth = 0;
  int ClearButtonWidth = 0;
  int ButtonsOffset = 0;
  int ButtonsHeight = 0;
  int ButtonsRegionHeight = 0;
};

class TdxBarDateNavigator : public TdxBarCustomCalendar {
  DECLARE_CLASS(TdxBarDateNavigator, TdxBarCustomCalendar)
public:
  explicit TdxBarDateNavigator(TComponent* AOwner);
  ~TdxBarDateNavigator() override;

  TdxBarDateCombo* GetCombo() const { return FCombo; }
  // 2 where the painter of the combo's bar asks for its own border.
  int GetBorderKind() const override;
  void SetCombo(TdxBarDateCombo* Value) { FCombo = Value; }
  bool GetIsDropDown() const { return FIsDropDown; }
  void SetIsDropDown(bool Value) { FIsDropDown = Value; }
  bool GetShowTodayButton() const { return FShowTodayButton; }
  void SetShowTodayButton(bool Value) { FShowTodayButton = Value; }
  bool GetShowClearButton() const { return FShowClearButton; }
  void SetShowClearButton(bool Value) { FShowClearButton = Value; }

  // The month shown: its year and month; SetFirstDate picks the month of a date.
  int GetShownYear() const { return FShownYear; }
  int GetShownMonth() const { return FShownMonth; }
  void SetFirstDate(TDateTime Value) override;
  void SetSelFinish(TDateTime Value) override;
  // Moves the shown month (the selection stays).
  void ChangeMonth(int ADelta);
  TDateTime PosToDateTime(const TPoint& P) const override;

  const TdxBarDateNavigatorMetrics& GetMetrics() const { return FMetrics; }
  // Measures the font and sizes the window for it.
  void CalcMetrics();
  // The size the window takes for the metrics and buttons.
  TSize CalcSize() const;

  // Where things lie, in client coordinates.
  TRect GetHeaderRect() const;
  TRect GetLeftArrowRect() const;
  TRect GetRightArrowRect() const;
  TRect GetCaptionRect() const;
  TRect GetGridRect() const;
  TRect GetDayRect(TDateTime ADate) const;
  TRect GetTodayButtonRect() const;
  TRect GetClearButtonRect() const;
  bool HasButtons() const { return FIsDropDown && (FShowTodayButton || FShowClearButton); }
  bool IsArrowTimerRunning() const { return FArrowTimer != 0; }
  TAMonthListBox* GetMonthListBox() const { return FMonthListBox; }
  // Sets the selection to the day and fires the date-selected notification.
  void SelectDate(TDateTime ADate);

  // A day was picked (by click, Enter, "Today" or "Clear"): the selection holds it.
  TNotifyEvent OnDateSelected;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  // Releases the pointer, closes the month list and stops the arrow timer.
  void CancelMouseModes();

protected:
  void Paint() override;
  void CMFontChanged(TMessage& Message) override;

private:
  // The painter of the combo's bar; nil outside one.
  TdxBarPainter* GetComboPainter() const;
  // That painter, else the flat look's.
  TdxBarPainter* GetPainter() const;
  int ColumnOf(TDateTime ADate) const;
  void UpdateFirstDate();
  void DoDateSelected();
  void MouseDownAt(const TPoint& P);
  void MouseMoveAt(const TPoint& P);
  void MouseUpAt(const TPoint& P);
  void ArrowTimer();
  void KeyDownAt(WORD AKey);
  void MoveSelection(TDateTime ADate);
  void ShowMonthList();
  void CloseMonthList(bool AApply);
  void StopArrowTimer();
  void PaintHeader(HDC DC);
  void PaintDayNames(HDC DC);
  void PaintDays(HDC DC);
  void PaintButtons(HDC DC);
  void NCCalcSize(TMessage& Message);
  void NCPaint();

  TdxBarDateCombo* FCombo = nullptr;
  TdxBarDateNavigatorMetrics FMetrics;
  TAMonthListBox* FMonthListBox = nullptr;
  int FShownYear = 2000;
  int FShownMonth = 1;
  UINT_PTR FArrowTimer = 0;
  bool FTodayPressed = false, FTodayHot = false;
  bool FClearPressed = false, FClearHot = false;
  bool FDoubleClick = false;
  bool FIsDropDown = false;
  bool FShowTodayButton = true;
  bool FShowClearButton = true;
};

// The months around the shown one, shown while the button is held on the caption: the
// row under the pointer is chosen, and beyond the edges the list scrolls, the faster the
// farther the pointer is.
class TAMonthListBox : public TCustomControl {
  DECLARE_CLASS(TAMonthListBox, TCustomControl)
public:
  explicit TAMonthListBox(TComponent* AOwner);
  ~TAMonthListBox() override;

  static constexpr int RowCount = 7;
  void SetTopMonth(int AYear, int AMonth);
  int GetTopYear() const { return FTopYear; }
  int GetTopMonth() const { return FTopMonth; }
  int GetRowHeight() const { return FRowHeight; }
  void SetRowHeight(int Value) { FRowHeight = std::max(Value, 1); }
  int GetSelectedRow() const { return FSelectedRow; }
  // The chosen month's first day; the null date when no row is chosen.
  TDateTime GetSelectedDate() const;
  // The scroll step for a pointer this far outside the rows (0 inside, -4 ... 4 beyond),
  // and the timer's interval for a step.
  static int ScrollStep(int ADistanceAbove, int ADistanceBelow);
  static int ScrollInterval(int AStep);
  int GetScrollStep() const { return FScrollStep; }
  // A pointer move in this window's client coordinates.
  void TrackPoint(const TPoint& P);

  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;

protected:
  void Paint() override;

private:
  void SetScrollStep(int Value);

  int FTopYear = 2000;
  int FTopMonth = 1;
  int FRowHeight = 16;
  int FSelectedRow = -1;
  int FScrollStep = 0;
};
