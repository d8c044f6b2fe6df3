// The date combo's modal window: its layout from the font, and the edit and calendar kept
// in step.
#include "barextras/datecombo_dialog.h"

#include <algorithm>

#include "barextras/datecombo.h"
#include "barextras/datenavigator.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/manager.h"
#include "bars/keyboard/navigation.h"
#include "lookandfeel/cxClasses.h"
#include "platform/Canvas.h"
#include "platform/Scope.h"
#include "platform/StdCtrls.h"

namespace {

// The calendar of the window: a child that takes the focus when clicked, so that its keys
// work, and tells of every change of its selection.
class TdxBarDateComboDialogNavigator : public TdxBarDateNavigator {
  DECLARE_CLASS(TdxBarDateComboDialogNavigator, TdxBarDateNavigator)
public:
  explicit TdxBarDateComboDialogNavigator(TComponent* AOwner) : TdxBarDateNavigator(AOwner) {}

  void SetSelFinish(TDateTime Value) override
  {
    TdxBarDateNavigator::SetSelFinish(Value);
    if (OnSelectionChanged)
      OnSelectionChanged();
  }

  void WndProc(TMessage& Message) override
  {
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && CanFocus() && !Focused())
      SetFocus();
    TdxBarDateNavigator::WndProc(Message);
  }

  std::function<void()> OnSelectionChanged;
};

// Tags of the buttons that pick a day.
constexpr intptr_t TodayTag = 1, ClearTag = 2;

}  // namespace

IMPLEMENT_CLASS(TdxBarDateComboDialogNavigator, TdxBarDateNavigator)
IMPLEMENT_CLASS(TdxBarDateComboDialog, TForm)

TdxBarDateComboDialog::TdxBarDateComboDialog(TComponent* AOwner) : TForm(AOwner)
{
  OnCloseQuery = TCloseQueryEvent(this, &TdxBarDateComboDialog::FormCloseQuery);
}

TButton* TdxBarDateComboDialog::AddButton(const TResStringRec& AText, TModalResult AResult, intptr_t ATag)
{
  auto* button = new TButton(this);
  button->SetParent(this);
  button->SetCaption(GetResourceString(AText));
  button->SetModalResult(AResult);
  button->SetTag(ATag);
  if (ATag != 0)
    button->OnClick = TNotifyEvent(this, &TdxBarDateComboDialog::DayButtonClick);
  return button;
}

void TdxBarDateComboDialog::Build(TdxBarDateCombo* ACombo)
{
  FCombo = TWeakRef<TdxBarDateCombo>(ACombo);
  SetCaption(GetResourceString(sdxBarSelectDate));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  if (TdxBarManager* manager = ACombo ? ACombo->GetBarManager() : nullptr)
    GetFont()->Assign(manager->GetFont());

  FEdit = new TEdit(this);
  FEdit->SetParent(this);
  auto* navigator = new TdxBarDateComboDialogNavigator(this);
  FNavigator = navigator;
  navigator->SetFlat(false);
  // The calendar starts hidden, as a drop-down does.
  navigator->SetVisible(true);
  navigator->SetParent(this);
  navigator->SetParentFont(true);
  navigator->SetTabStop(true);
  navigator->CalcMetrics();
  FOK = AddButton(sdxBarSelectOK, mrOk, 0);
  FOK->SetDefault(true);
  FCancel = AddButton(sdxBarSelectCancel, mrCancel, 0);
  FCancel->SetCancel(true);
  if (!ACombo || ACombo->GetShowTodayButton())
    FToday = AddButton(sdxBarDateToday, mrNone, TodayTag);
  if (!ACombo || ACombo->GetShowClearButton())
    FClear = AddButton(sdxBarDateClear, mrNone, ClearTag);

  // Sizes follow the calendar's measures of the font; a caption never wider than its button.
  const TdxBarDateNavigatorMetrics& m = navigator->GetMetrics();
  TCanvas* canvas = GetCanvas();
  int buttonWidth = ::MulDiv(m.TodayButtonWidth, 3, 2);
  for (TButton* button : {FOK, FCancel, FToday, FClear})
    if (button)
      buttonWidth = std::max(buttonWidth, canvas->TextWidth(button->GetCaption()) + m.ColWidth);
  const int buttonHeight = std::max(::MulDiv(m.ButtonsHeight, 7, 6), canvas->TextHeight(L"0") + 6);
  const int margin = m.SideWidth, gap = std::max(m.SideWidth / 2, 2);
  const int editHeight = canvas->TextHeight(L"0") + 8;
  const TSize calendar = navigator->CalcSize();

  FEdit->SetBounds(margin, margin, calendar.cx, editHeight);
  navigator->SetBounds(margin, margin + editHeight + gap, calendar.cx, calendar.cy);
  const int column = margin + calendar.cx + margin;
  int top = margin;
  for (TButton* button : {FOK, FCancel}) {
    button->SetBounds(column, top, buttonWidth, buttonHeight);
    top += buttonHeight + gap;
  }
  // "Today" and "Clear" sit at the calendar's foot, away from the buttons that close, and
  // below them when the calendar is too short for both groups.
  const int calendarBottom = margin + editHeight + gap + calendar.cy;
  const int dayButtons = (FToday ? 1 : 0) + (FClear ? 1 : 0);
  top = std::max(top + gap, calendarBottom - dayButtons * (buttonHeight + gap) + gap);
  int contentBottom = calendarBottom;
  for (TButton* button : {FToday, FClear})
    if (button) {
      button->SetBounds(column, top, buttonWidth, buttonHeight);
      contentBottom = std::max(contentBottom, top + buttonHeight);
      top += buttonHeight + gap;
    }
  SetClientSize(column + buttonWidth + margin, contentBottom + margin);

  FEdit->SetTabOrder(0);
  navigator->SetTabOrder(1);
  TDateTime date = ACombo ? ACombo->GetDate() : cxNullDate;
  FEdit->SetText(ACombo ? ACombo->DateToText(date) : String());
  // An empty combo opens the calendar on today, with nothing picked.
  navigator->SetFirstDate(date == cxNullDate ? cxToday() : date);
  navigator->SetSelStart(date);
  FEdit->OnChange = TNotifyEvent(this, &TdxBarDateComboDialog::EditChange);
  navigator->OnSelectionChanged = [this] { NavigatorSelectionChanged(); };
}

void TdxBarDateComboDialog::Activate()
{
  TForm::Activate();
  // The edit takes the keys from the start; before the window shows it cannot.
  if (FEdit && !GetActiveControl() && FEdit->CanFocus())
    FEdit->SetFocus();
}

TDateTime TdxBarDateComboDialog::GetEditDate() const
{
  TdxBarDateCombo* combo = FCombo.Get();
  return combo && FEdit ? combo->TextToDate(Trim(FEdit->GetText())) : cxNullDate;
}

bool TdxBarDateComboDialog::IsEditTextAcceptable() const
{
  return !FEdit || Trim(FEdit->GetText()).empty() || GetEditDate() != cxNullDate;
}

void TdxBarDateComboDialog::EditChange(TObject* Sender)
{
  if (FSyncing || !IsEditTextAcceptable())
    return;
  TRestore syncing(FSyncing, true);
  const TDateTime date = GetEditDate();
  FNavigator->SetSelStart(date);
  if (date != cxNullDate)
    FNavigator->SetFirstDate(date);
}

void TdxBarDateComboDialog::NavigatorSelectionChanged()
{
  TdxBarDateCombo* combo = FCombo.Get();
  if (FSyncing || !combo)
    return;
  TRestore syncing(FSyncing, true);
  const String text = combo->DateToText(FNavigator->GetSelStart());
  if (FEdit->GetText() != text)
    FEdit->SetText(text);
}

void TdxBarDateComboDialog::DayButtonClick(TObject* Sender)
{
  auto* button = dynamic_cast<TButton*>(Sender);
  if (!button)
    return;
  FNavigator->SetSelStart(button->Tag() == TodayTag ? cxToday() : cxNullDate);
}

void TdxBarDateComboDialog::FormCloseQuery(TObject* Sender, bool& CanClose)
{
  // OK on a text that is no date would clear the combo's date: the text stays to be put right.
  if (GetModalResult() != mrOk || IsEditTextAcceptable())
    return;
  CanClose = false;
  dxBarBeep();
  if (FEdit->CanFocus()) {
    FEdit->SetFocus();
    FEdit->SelectAll();
  }
}
