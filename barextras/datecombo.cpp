// The date combo: its date as text, the limits, the start date, the calendar it drops
// down, and the editor's "+" and "-".
#include "barextras/datecombo.h"

#include "barextras/datecombo_dialog.h"
#include "barextras/datenavigator.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/keyboard/navigation.h"
#include "bars/menus/submenu.h"
#include "bars/utils/utils.h"
#include "platform/Scope.h"

DEFINE_ENUM_INFO(TdxBarDateOnStart, L"bdsToday", L"bdsNullDate", L"bdsCustom")

PUBLISHED(TdxBarDateCombo, TCustomdxBarCombo)
{
  using I = TdxBarDateCombo;
  p.Prop(L"DateOnStart", &I::GetDateOnStart, &I::SetDateOnStart).Default(bdsToday);
  // MaxDate first: a MinDate above 0 is only kept below a MaxDate.
  p.Prop(L"MaxDate", &I::GetMaxDate, &I::SetMaxDate).Stored(&I::IsMaxDateStored);
  p.Prop(L"MinDate", &I::GetMinDate, &I::SetMinDate).Stored(&I::IsMinDateStored);
  p.Prop(L"ShowTodayButton", &I::GetShowTodayButton, &I::SetShowTodayButton).Default(true);
  p.Prop(L"ShowClearButton", &I::GetShowClearButton, &I::SetShowClearButton).Default(true);
  p.Prop(L"ShowDayText", &I::GetShowDayText, &I::SetShowDayText).Default(true);
  p.Prop(L"Text", &I::GetText, &I::SetText).Stored(&I::IsTextStored);
}

IMPLEMENT_CLASS(TdxBarDateComboControl, TCustomdxBarComboControl)

// ---------------------------------------------------------------------------
// TdxBarDateCombo

TdxBarDateCombo::TdxBarDateCombo(TComponent* AOwner) : TCustomdxBarCombo(AOwner)
{
  FNavigator = new TdxBarDateNavigator(this);
  FNavigator->SetCombo(this);
  FNavigator->SetIsDropDown(true);
  ApplyDateOnStart();
}

TdxBarDateCombo::~TdxBarDateCombo()
{
  FNavigator->OnDateSelected = TNotifyEvent();
  // A window still open for this item closes; whoever opened it frees it.
  if (FDialog)
    FDialog->SetModalResult(mrCancel);
}

void TdxBarDateCombo::Loaded()
{
  TCustomdxBarCombo::Loaded();
  // The limits were taken as read, in whatever order the form data holds them.
  FMinDate = std::min(FMinDate, FMaxDate);
  ApplyDateOnStart();
}

String TdxBarDateCombo::DateToText(TDateTime ADate) const
{
  if (ADate == cxNullDate)
    return String();
  // Four-digit years: a two-digit year would read back in another century.
  const String text = cxDateToText(true, false, ADate);
  if (!FShowDayText || text.empty())
    return text;
  return cxShortDayName(cxDayOfWeek(ADate)) + L" " + text;
}

TDateTime TdxBarDateCombo::TextToDate(const String& AText) const
{
  String text = AText;
  for (int day = 0; day < 7; ++day) {
    const String name = cxShortDayName(day);
    if (!name.empty() && text.find(name + L" ") != String::npos) {
      text.erase(0, text.find(L' ') + 1);
      break;
    }
  }
  const TDateTime date = cxTextToDate(text);
  // A day name of another language (a text stored under another locale) is skipped too,
  // rather than losing the date after it.
  const size_t blank = text.find(L' ');
  if (date != cxNullDate || blank == String::npos)
    return date;
  return cxTextToDate(text.substr(blank + 1));
}

TDateTime TdxBarDateCombo::LimitDate(TDateTime ADate) const
{
  // No date stays no date: raised to MinDate it would become 30 December 1899.
  if (ADate == cxNullDate || (FMinDate == 0 && FMaxDate == 0))
    return ADate;
  return std::min(std::max(ADate, FMinDate), FMaxDate);
}

TDateTime TdxBarDateCombo::GetDate() const
{
  return TextToDate(GetText());
}

void TdxBarDateCombo::SetDate(TDateTime Value)
{
  SetText(DateToText(LimitDate(Value)));
}

void TdxBarDateCombo::SetText(const String& Value)
{
  const String text = DateToText(LimitDate(TextToDate(Value)));
  if (!FInternalUpdate && !IsLoading())
    FDateOnStart = bdsCustom;
  TCustomdxBarCombo::SetText(text);
}

void TdxBarDateCombo::SetDateOnStart(TdxBarDateOnStart Value)
{
  if (FDateOnStart == Value)
    return;
  FDateOnStart = Value;
  if (!IsLoading())
    ApplyDateOnStart();
}

void TdxBarDateCombo::ApplyDateOnStart()
{
  TRestore update(FInternalUpdate, true);
  switch (FDateOnStart) {
    case bdsToday:
      SetDate(cxToday());
      break;
    case bdsNullDate:
      SetDate(cxNullDate);
      break;
    case bdsCustom:
      SetDate(GetDate());
      break;
  }
}

void TdxBarDateCombo::SetMinDate(TDateTime Value)
{
  if (IsLoading()) {
    FMinDate = Value;
    return;
  }
  Value = std::min(Value, FMaxDate);
  if (FMinDate == Value)
    return;
  FMinDate = Value;
  LimitsChanged();
}

void TdxBarDateCombo::SetMaxDate(TDateTime Value)
{
  if (IsLoading()) {
    FMaxDate = Value;
    return;
  }
  Value = std::max(Value, FMinDate);
  if (FMaxDate == Value)
    return;
  FMaxDate = Value;
  LimitsChanged();
}

void TdxBarDateCombo::LimitsChanged()
{
  if (IsLoading())
    return;
  const TDateTime date = GetDate();
  if (LimitDate(date) != date) {
    TRestore update(FInternalUpdate, true);
    SetDate(date);
  }
}

void TdxBarDateCombo::SetShowDayText(bool Value)
{
  if (FShowDayText == Value)
    return;
  // Read with the old setting, written with the new one.
  const TDateTime date = GetDate();
  FShowDayText = Value;
  TRestore update(FInternalUpdate, true);
  SetDate(date);
}

bool TdxBarDateCombo::CheckKeyForDropDownWindow(WORD AKey, TShiftState AShift)
{
  // Enter picks the calendar's day; the other keys the calendar knows page and move it.
  switch (AKey) {
    case VK_RETURN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
      break;
    default:
      return false;
  }
  bool allow = !AShift.Contains(ssAlt);
  CallEvent(OnCheckKeyForDropDownWindow, this, AKey, AShift, allow);
  return allow;
}

HWND TdxBarDateCombo::GetDropDownWindow()
{
  if (HWND window = TCustomdxBarCombo::GetDropDownWindow())
    return window;
  // Owned by the bar window of the control that drops it down; a calendar made for
  // another window is made again, never turned into the bar's child.
  TCustomdxBarComboControl* control = GetDropDownSourceControl();
  TCustomdxBarControl* bar = control ? control->GetParent() : nullptr;
  if (bar && bar->HandleAllocated() && FNavigator->GetParentWindow() != bar->GetHandle()) {
    FNavigator->DestroyHandle();
    FNavigator->SetParentWindow(bar->GetHandle());
  }
  return FNavigator->GetHandle();
}

void TdxBarDateCombo::PrepareDropDown()
{
  InitDropDownControl(FNavigator);
  TDateTime date = GetDate();
  if (TdxBarWinControl* control = GetFocusedControl()) {
    // The editor's text, when it is a date: what the user typed is what the calendar shows.
    const TDateTime typed = TextToDate(control->GetText());
    if (typed != cxNullDate)
      date = typed;
  }
  if (date == cxNullDate)
    date = cxToday();
  FNavigator->SetDate(date);
  FNavigator->SetFirstDate(date);
  FNavigator->SetSelStart(date);
  FNavigator->SetShowTodayButton(FShowTodayButton);
  FNavigator->SetShowClearButton(FShowClearButton);
  FNavigator->OnDateSelected = TNotifyEvent(this, &TdxBarDateCombo::NavigatorDateSelected);
  FNavigator->CalcMetrics();
  const TSize size = FNavigator->CalcSize();
  ::SetWindowPos(FNavigator->GetHandle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TdxBarDateCombo::CloseUp()
{
  if (FNavigator->HandleAllocated() && ::IsWindowVisible(FNavigator->GetHandle()))
    FNavigator->CancelMouseModes();
  TCustomdxBarCombo::CloseUp();
  FNavigator->OnDateSelected = TNotifyEvent();
}

void TdxBarDateCombo::NavigatorDateSelected(TObject* Sender)
{
  TWeakRef<TdxBarDateCombo> self(this);
  const TDateTime date = FNavigator->GetSelStart();
  auto* control = dynamic_cast<TdxBarDateComboControl*>(GetDropDownSourceControl());
  TWeakRef<TdxBarDateComboControl> controlRef(control);
  if (TdxBarItemLink* link = control ? control->GetItemLink() : nullptr)
    link->BringToTopInRecentList(true);
  if (control)
    control->SetDroppedDown(false);
  // The menus the combo sits in close: the pick is the command. A toolbar stays as it is,
  // with its editor showing the pick.
  if (TdxBarManager* manager = self ? GetBarManager() : nullptr)
    if (dynamic_cast<TdxBarSubMenuControl*>(ActiveBarControl()))
      manager->CloseActiveBarControl();
  if (!self)
    return;
  SetDate(date);
  // The editor shows the pick; Enter then keeps it.
  if (self && controlRef && controlRef->IsEditing())
    controlRef->ReadText();
}

void TdxBarDateCombo::DoClick()
{
  if (GetOnClick().Assigned() || GetReadOnly()) {
    TCustomdxBarCombo::DoClick();
    return;
  }
  SelectDate();
}

bool TdxBarDateCombo::SelectDate()
{
  auto* dialog = TCustomForm::CreateNew<TdxBarDateComboDialog>(nullptr);
  TFinally freeDialog([dialog] { dialog->Free(); });
  dialog->Build(this);
  TWeakRef<TdxBarDateCombo> self(this);
  FDialog = dialog;
  TFinally closed([this, self] {
    if (self)
      FDialog = nullptr;
  });
  if (dialog->ShowModal() != mrOk || !self)
    return false;
  SetDate(dialog->GetEditDate());
  return true;
}

// ---------------------------------------------------------------------------
// TdxBarDateComboControl

TdxBarDateCombo* TdxBarDateComboControl::GetDateCombo() const
{
  return dynamic_cast<TdxBarDateCombo*>(GetItem());
}

bool TdxBarDateComboControl::IsEditorTextAcceptable() const
{
  TdxBarDateCombo* combo = GetDateCombo();
  const String text = Trim(GetText());
  return !combo || text.empty() || combo->TextToDate(text) != cxNullDate;
}

void TdxBarDateComboControl::StoreText()
{
  if (IsEditorTextAcceptable())
    TCustomdxBarComboControl::StoreText();
}

void TdxBarDateComboControl::StepDate(int ADays)
{
  TdxBarDateCombo* combo = GetDateCombo();
  const TDateTime date = combo ? combo->TextToDate(GetText()) : cxNullDate;
  if (date == cxNullDate)
    return;
  SetText(combo->DateToText(combo->LimitDate(date + ADays)));
  if (HWND wnd = GetHandle())
    ::SendMessageW(wnd, EM_SETSEL, 0, -1);
}

void TdxBarDateComboControl::WndProc(TMessage& Message)
{
  TdxBarDateCombo* combo = GetDateCombo();
  if (!combo || combo->GetReadOnly())
    return TCustomdxBarComboControl::WndProc(Message);
  if (Message.Msg == WM_CHAR && (Message.WParam == L'+' || Message.WParam == L'-')) {
    StepDate(Message.WParam == L'+' ? 1 : -1);
    Message.Result = 0;
    return;
  }
  // Enter or Tab on a text that is no date: the editor stays with what the user typed.
  if (Message.Msg == WM_KEYDOWN && (Message.WParam == VK_RETURN || Message.WParam == VK_TAB) && !IsDroppedDown() &&
      !IsEditorTextAcceptable()) {
    dxBarBeep();
    if (HWND wnd = GetHandle())
      ::SendMessageW(wnd, EM_SETSEL, 0, -1);
    Message.Result = 0;
    return;
  }
  TCustomdxBarComboControl::WndProc(Message);
}
