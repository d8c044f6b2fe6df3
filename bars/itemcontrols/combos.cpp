// The combo items: the drop-down window fitted to the screen, the list of strings with its
// index, sorting, sizes and owner drawing, and best-match typing.
#include "bars/itemcontrols/combos.h"

#include <algorithm>
#include <cwctype>
#include <utility>

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/dropdownlistbox.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "platform/Canvas.h"
#include "platform/Strings.h"

PUBLISHED(TCustomdxBarCombo, TdxBarEdit)
{
  using I = TCustomdxBarCombo;
  p.Prop(L"ShowEditor", &I::GetShowEditor, &I::SetShowEditor).Default(true);
  p.Event(L"OnCheckKeyForDropDownWindow", &I::OnCheckKeyForDropDownWindow);
  p.Event(L"OnCloseUp", &I::OnCloseUp);
  p.Event(L"OnDropDown", &I::OnDropDown);
  p.Event(L"OnGetDropDownWindow", &I::OnGetDropDownWindow);
}

PUBLISHED(TdxBarCustomCombo, TCustomdxBarCombo)
{
  using I = TdxBarCustomCombo;
  p.Prop(L"DropDownCount", &I::GetDropDownCount, &I::SetDropDownCount).Default(8);
  p.Prop(L"DropDownWidth", &I::GetDropDownWidth, &I::SetDropDownWidth).Default(0);
  p.Event(L"OnDrawItem", &I::OnDrawItem);
  p.Event(L"OnMeasureItem", &I::OnMeasureItem);
}

PUBLISHED(TdxBarCombo, TdxBarCustomCombo)
{
  using I = TdxBarCombo;
  p.Prop(L"ItemHeight", &I::GetItemHeight, &I::SetItemHeight).Default(0);
  p.Object(L"Items", &I::GetItems, &I::SetItems);
  p.Prop(L"Sorted", &I::GetSorted, &I::SetSorted).Default(false);
  p.Prop(L"ItemIndex", &I::GetItemIndex, &I::SetItemIndex).Default(-1);
}

namespace {

// The height of the drop-down's frame and the widening of its width.
constexpr int ListFrame = 4;
// The width a list item measures beyond its text.
constexpr int ItemTextPadding = 2;
// The size below which the user cannot shrink a resizable list (unless it opened smaller).
constexpr int MinResizedListSize = 100;

}  // namespace

// ---------------------------------------------------------------------------
// TCustomdxBarCombo

void TCustomdxBarCombo::SetShowEditor(bool Value)
{
  if (GetShowEditor() == Value)
    return;
  SetHideEditor(!Value);
  RepaintControls();
}

bool TCustomdxBarCombo::CheckKeyForDropDownWindow(WORD AKey, TShiftState AShift)
{
  bool allow = AKey != VK_ESCAPE && AKey != VK_RETURN && AKey != VK_TAB;
  CallEvent(OnCheckKeyForDropDownWindow, this, AKey, AShift, allow);
  return allow;
}

HWND TCustomdxBarCombo::GetDropDownWindow()
{
  HWND window = nullptr;
  CallEvent(OnGetDropDownWindow, this, window);
  return window;
}

TCustomdxBarComboControl* TCustomdxBarCombo::GetDropDownSourceControl() const
{
  if (auto* focused = dynamic_cast<TCustomdxBarComboControl*>(GetFocusedControl()))
    return focused;
  TdxBarItemLink* link = GetSelectedLink();
  return link ? dynamic_cast<TCustomdxBarComboControl*>(link->GetControl()) : nullptr;
}

void TCustomdxBarCombo::DropDown(int X, int Y)
{
  TWeakRef<TCustomdxBarCombo> self(this);
  CallEvent(OnDropDown, this);
  if (!self)
    return;
  HWND window = GetDropDownWindow();
  if (!window)
    return;
  PrepareDropDown();
  if (!self)
    return;
  RECT bounds{};
  ::GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromPoint(POINT{X, Y}, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  TRect link{X, Y, X, Y};
  int barKind = bkHorizontal;
  if (TCustomdxBarComboControl* control = GetDropDownSourceControl()) {
    barKind = control->GetBarKind();
    link = control->GetItemRect();
    if (TCustomdxBarControl* bar = control->GetParent(); bar && bar->HandleAllocated())
      ::MapWindowPoints(bar->GetHandle(), nullptr, reinterpret_cast<POINT*>(&link), 2);
  }
  // Fitted to the work area: below a toolbar's item (above it when there is more room
  // there), or beside a menu's item (to its left when there is more room there).
  if (barKind == bkHorizontal) {
    if (X + width > work.right)
      X = work.right - width;
    if (Y + height > work.bottom && link.top - work.top > work.bottom - link.bottom)
      Y = link.top - height;
  } else {
    if (X + width > work.right && link.left - work.left > work.right - link.right)
      X = link.left - width;
    if (Y + height > work.bottom)
      Y = work.bottom - height;
  }
  X = std::max<int>(X, work.left);
  Y = std::max<int>(Y, work.top);
  ::SetWindowPos(window, nullptr, X, Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  DropDownPlaced(window, TRect{X, Y, X + width, Y + height}, link);
  if (!self)
    return;
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  AfterDropDown();
}

void TCustomdxBarCombo::CloseUp()
{
  if (HWND window = GetDropDownWindow())
    ::ShowWindow(window, SW_HIDE);
  TdxBarManager* manager = GetBarManager();
  if (ComponentState().Contains(csDestroying) || (manager && manager->IsDestroying()))
    return;
  CallEvent(OnCloseUp, this);
}

void TCustomdxBarCombo::CloseDropDowns()
{
  TWeakRef<TCustomdxBarCombo> self(this);
  for (int i = GetLinkCount() - 1; self && i >= 0; --i)
    if (i < GetLinkCount())
      if (auto* control = dynamic_cast<TCustomdxBarComboControl*>(GetLink(i)->GetControl());
          control && control->IsDroppedDown())
        control->SetDroppedDown(false);
}

void TCustomdxBarCombo::InitDropDownControl(TWinControl* AControl)
{
  if (!AControl)
    return;
  TCustomdxBarComboControl* control = GetDropDownSourceControl();
  if (TFont* font = control ? control->GetEditFont() : nullptr)
    AControl->GetFont()->Assign(font);
  TdxBarPainter* painter = control ? control->GetPainter() : nullptr;
  if (!painter)
    return;
  TColor text = clWindowText, background = clWindow;
  painter->GetInPlaceEditColors(control, text, background);
  AControl->SetColor(background);
  AControl->GetFont()->SetColor(text);
}

// ---------------------------------------------------------------------------
// TdxBarCustomCombo

TdxBarCustomCombo::TdxBarCustomCombo(TComponent* AOwner)
    : TCustomdxBarCombo(AOwner), FItems(std::make_unique<TStringList>())
{
  FItems->OnChange = TNotifyEvent(this, &TdxBarCustomCombo::ItemsChanged);
  FListBox = new TdxBarDropDownListBox(this);
  FListBox->SetCombo(this);
  FListBox->OnDrawItem = TDrawItemEvent(this, &TdxBarCustomCombo::ListDrawItem);
  FListBox->OnMeasureItem = TMeasureItemEvent(this, &TdxBarCustomCombo::ListMeasureItem);
  FListBox->OnCloseUp = TdxBarDropDownCloseUpEvent(this, &TdxBarCustomCombo::ListCloseUp);
  FListBox->OnResized = TNotifyEvent(this, &TdxBarCustomCombo::ListResized);
}

TdxBarCustomCombo::~TdxBarCustomCombo()
{
  FItems->OnChange = TNotifyEvent();
}

TStrings* TdxBarCustomCombo::GetItems() const
{
  return FItems.get();
}

void TdxBarCustomCombo::SetItems(TStrings* Value)
{
  FItems->Assign(Value);
}

void TdxBarCustomCombo::ItemsChanged(TObject* Sender)
{
  if (FItemIndex >= FItems->Count())
    // The text is the user's: it stays, and the index names it again when it can.
    FItemIndex = FItems->IndexOf(GetText());
  RepaintControls();
}

void TdxBarCustomCombo::SetSorted(bool Value)
{
  if (FSorted == Value)
    return;
  FSorted = Value;
  FItems->SetSorted(Value);
  // The shown entry moved: the index follows it as any index change does. A text that
  // names no entry stays the user's.
  const int index = FItems->IndexOf(GetText());
  if (index >= 0 && index != FItemIndex)
    return SetItemIndex(index);
  FItemIndex = index;
  RepaintControls();
}

void TdxBarCustomCombo::SetItemIndex(int Value)
{
  if (Value < 0 || Value >= FItems->Count())
    Value = -1;
  if (FItemIndex == Value)
    return;
  const String text = Value < 0 ? String() : FItems->Get(Value);
  FItemIndex = Value;
  if (GetText() != text) {
    TRestore keep(FKeepItemIndex, true);
    SetText(text);
    return;
  }
  TWeakRef<TdxBarCustomCombo> self(this);
  RepaintControls();
  DoChange();
  if (self)
    RepaintControls();
}

void TdxBarCustomCombo::SetText(const String& Value)
{
  const bool keep = std::exchange(FKeepItemIndex, false);
  if (!keep && !(FItemIndex >= 0 && FItemIndex < FItems->Count() && FItems->Get(FItemIndex) == Value))
    FItemIndex = FItems->IndexOf(Value);
  TCustomdxBarCombo::SetText(Value);
}

int TdxBarCustomCombo::GetCurItemIndex() const
{
  if (auto* control = dynamic_cast<TdxBarComboControl*>(GetFocusedControl()))
    return control->GetItemIndex();
  return FItemIndex;
}

int TdxBarCustomCombo::FindBestMatch(const String& AText) const
{
  String text = AText;
  ::CharUpperBuffW(text.data(), DWORD(text.size()));
  int best = -1;
  size_t bestLength = 0;
  for (int i = 0; i < FItems->Count(); ++i) {
    String item = FItems->Get(i);
    ::CharUpperBuffW(item.data(), DWORD(item.size()));
    const size_t common =
        size_t(std::mismatch(text.begin(), text.end(), item.begin(), item.end()).first - text.begin());
    if (common > bestLength) {
      best = i;
      bestLength = common;
      if (common == text.size())
        break;
    }
  }
  return best;
}

void TdxBarCustomCombo::DoCurChange()
{
  TWeakRef<TdxBarCustomCombo> self(this);
  TCustomdxBarCombo::DoCurChange();
  if (!self)
    return;
  auto* control = dynamic_cast<TdxBarComboControl*>(GetFocusedControl());
  if (!control)
    return;
  const String text = control->GetText();
  const int index = control->GetItemIndex();
  if (!(index >= 0 && index < FItems->Count() && FItems->Get(index) == text))
    control->SetItemIndex(FindBestMatch(text), false);
  if (!control->IsDroppedDown() || !FListBox->HandleAllocated())
    return;
  const int match = control->GetItemIndex();
  const String item = match >= 0 ? FItems->Get(match) : String();
  if (match >= 0 && ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), int(text.size()), item.c_str(),
                                     int(item.size())) == CSTR_EQUAL) {
    FListBox->SetItemIndex(match);
    return;
  }
  FListBox->SetItemIndex(-1);
  if (match >= 0)
    FListBox->SetTopIndex(match);
}

bool TdxBarCustomCombo::CheckKeyForDropDownWindow(WORD AKey, TShiftState AShift)
{
  const bool stepping = AKey == VK_UP || AKey == VK_DOWN || AKey == VK_PRIOR || AKey == VK_NEXT;
  return stepping && !AShift.Contains(ssShift) && !AShift.Contains(ssCtrl) && !AShift.Contains(ssAlt);
}

HWND TdxBarCustomCombo::GetDropDownWindow()
{
  if (HWND window = TCustomdxBarCombo::GetDropDownWindow())
    return window;
  // The list is owned by the bar window of the control that drops it down, which hands
  // the list's drawing messages back to it. A top-level window gets its owner only when it is
  // made: a list made before (for no window or another one) is made again, never turned into
  // a child of the bar, which would clip it away.
  TCustomdxBarComboControl* control = GetDropDownSourceControl();
  TCustomdxBarControl* bar = control ? control->GetParent() : nullptr;
  if (bar && bar->HandleAllocated() && FListBox->GetParentWindow() != bar->GetHandle()) {
    FListBox->DestroyHandle();
    FListBox->SetParentWindow(bar->GetHandle());
  }
  return FListBox->GetHandle();
}

// The list's canvas with the list's font: the canvas takes it by itself only as it draws, and
// rows are measured before the first is drawn.
TCanvas* TdxBarCustomCombo::MeasuringCanvas() const
{
  TCanvas* canvas = FListBox->GetCanvas();
  canvas->SetFont(FListBox->GetFont());
  return canvas;
}

void TdxBarCustomCombo::MeasureItem(int AIndex, int& AHeight)
{
  if (FItemHeight >= 1)
    AHeight = FItemHeight;
  else
    AHeight = MeasuringCanvas()->TextHeight(L"Qq");
  CallEvent(OnMeasureItem, this, AIndex, AHeight);
}

void TdxBarCustomCombo::MeasureItemWidth(int AIndex, int& AWidth)
{
  AWidth = MeasuringCanvas()->TextWidth(FItems->Get(AIndex)) + ItemTextPadding;
}

int TdxBarCustomCombo::GetListWidth(int AEditWidth)
{
  if (FDropDownWidth >= 1)
    return FDropDownWidth;
  const int scrollBar = FItems->Count() > FDropDownCount ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
  int width = AEditWidth - ListFrame - scrollBar;
  for (int i = 0; i < FItems->Count(); ++i) {
    int itemWidth = 0;
    MeasureItemWidth(i, itemWidth);
    width = std::max(width, itemWidth);
  }
  return width + ListFrame + scrollBar;
}

void TdxBarCustomCombo::PrepareDropDown()
{
  TCustomdxBarComboControl* control = GetDropDownSourceControl();
  InitDropDownControl(FListBox);
  FListBox->GetItems()->Assign(FItems.get());
  int itemHeight = 0;
  if (FItems->Count() > 0)
    MeasureItem(0, itemHeight);
  FListBox->SetItemHeight(std::max(itemHeight, 1));
  int height = ListFrame;
  for (int i = 0; i < std::min(FItems->Count(), FDropDownCount); ++i) {
    int h = 0;
    MeasureItem(i, h);
    height += h;
  }
  const TRect text = control ? control->GetPartRects().at(dxBarEditPartText) : TRect{};
  int width = GetListWidth(text.right - text.left);
  FListBox->SetSizable(FAllowResizing);
  if (FAllowResizing) {
    // The frame and band take the place of the plain border.
    const TRect m = FListBox->GetNonClientMargins();
    height += m.top + m.bottom - ListFrame;
    // Never smaller than it opens at its own size, nor than the usual minimum.
    FListBox->SetMinTrackSize(TSize{std::min(width, MinResizedListSize), std::min(height, MinResizedListSize)});
    if (FResizedListSize.cx > 0 && FResizedListSize.cy > 0) {
      width = FResizedListSize.cx;
      height = FResizedListSize.cy;
    }
  }
  ::SetWindowPos(FListBox->GetHandle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int index = GetCurItemIndex();
  FListBox->SetItemIndex(index);
  if (index >= 0)
    FListBox->SetTopIndex(index);
}

void TdxBarCustomCombo::DrawItem(TCanvas* ACanvas, int AIndex, const TRect& R, TOwnerDrawState AState)
{
  if (OnDrawItem.Assigned())
    OnDrawItem(this, ACanvas, AIndex, R, AState);
  else if (TCustomdxBarComboControl* control = GetDropDownSourceControl()) {
    if (TdxBarPainter* painter = control->GetPainter()) {
      TcxCanvas canvas(ACanvas);
      painter->DrawComboItem(control, &canvas, AIndex, R);
    }
  }
  if (AState.Contains(odFocused))
    ::DrawFocusRect(ACanvas->GetHandle(), &R);
}

void TdxBarCustomCombo::ListDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)
{
  DrawItem(FListBox->GetCanvas(), Index, Rect, State);
}

void TdxBarCustomCombo::ListMeasureItem(TWinControl* Control, int Index, int& Height)
{
  MeasureItem(Index, Height);
}

void TdxBarCustomCombo::SetAllowResizing(bool Value)
{
  if (FAllowResizing == Value)
    return;
  FAllowResizing = Value;
  FResizedListSize = TSize{0, 0};
}

void TdxBarCustomCombo::ListResized(TObject*)
{
  RECT r{};
  if (FListBox->HandleAllocated() && ::GetWindowRect(FListBox->GetHandle(), &r))
    FResizedListSize = TSize{r.right - r.left, r.bottom - r.top};
}

void TdxBarCustomCombo::DropDownPlaced(HWND AWindow, const TRect& AWindowRect, const TRect& AOwnerRect)
{
  if (FListBox->HandleAllocated() && AWindow == FListBox->GetHandle())
    FListBox->SetGripCorner(GetSizeGripCorner(AWindowRect, AOwnerRect));
}

void TdxBarCustomCombo::ListCloseUp(TdxBarDropDownListBox* Sender, int Index)
{
  TWeakRef<TdxBarCustomCombo> self(this);
  auto* control = dynamic_cast<TdxBarComboControl*>(GetDropDownSourceControl());
  TWeakRef<TdxBarComboControl> controlRef(control);
  if (control)
    control->SetDroppedDown(false);
  if (!self || Index < 0)
    return;
  SetItemIndex(Index);
  // The editor shows the chosen string; Enter then keeps it.
  if (self && controlRef) {
    controlRef->SetItemIndex(Index, false);
    controlRef->ReadText();
    // Otherwise the hidden editor would keep the focus and swallow the next click.
    if (controlRef)
      controlRef->EndEditingAfterChoice();
  }
}
