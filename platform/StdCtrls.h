// Standard controls over the system's native window classes: the list box ("LISTBOX",
// with owner-drawn items of fixed or variable height), the single-line edit ("EDIT"), the
// push button and check box ("BUTTON"), the combo box ("COMBOBOX"), and the label, which
// has no window of its own.
// Their state lives in the object as well as in the window, so it survives RecreateWnd and
// can be set before the window exists.
#pragma once

#include <memory>

#include "platform/ActnList.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Strings.h"

class TCustomListBox;

// What a list of strings mirrored into a native list window asks of the control that shows
// it: a list box or a combo box.
class TItemsMirror {
public:
  virtual ~TItemsMirror() = default;
  virtual void WindowInsert(int Index, const String& S) = 0;
  virtual void WindowDelete(int Index) = 0;
  virtual void WindowClear() = 0;
  // An item's text changed in place: the window's entry is remade, its selection kept.
  virtual void WindowPut(int Index, const String& S);
  virtual int GetItemIndex() = 0;
  virtual void SetItemIndex(int Value) = 0;
  // The window stops (true) or starts again (false) redrawing during an update.
  virtual void WindowUpdating(bool Updating) = 0;

protected:
  // WindowUpdating for a native list window (nil: nothing).
  static void SetListRedraw(HWND Window, bool Updating);
};

enum TOwnerDrawStateE {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odHotLight,
  odInactive,
  odNoAccel,
  odNoFocusRect,
  odReserved1,
  odReserved2,
  odComboBoxEdit,
};
using TOwnerDrawState = TSet<TOwnerDrawStateE>;
// The state of an owner-drawn item from the ODS_ flags of WM_DRAWITEM.
TOwnerDrawState OwnerDrawStateFromFlags(UINT ItemState);

using TDrawItemEvent = TEvent<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int Index, int& Height)>;

// The frame of a standard control: none or the sunken client edge.
using TBorderStyle = TFormBorderStyle;

// ---------------------------------------------------------------------------
// The items of a list or combo box: kept in a string list and mirrored into the window while
// it exists. Sorting is the list's (the window never sorts), so indexes always agree.

class TListBoxStrings : public TStrings {
  DECLARE_CLASS(TListBoxStrings, TStrings)
public:
  explicit TListBoxStrings(TItemsMirror* ListBox = nullptr);

  String Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void Put(int Index, const String& S) override;
  void PutObject(int Index, TObject* AObject) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const String& S) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  int IndexOf(const String& S) const override;

  TStringList& List() { return FList; }

protected:
  void SetUpdateState(bool Updating) override;

private:
  TItemsMirror* FListBox;
  TStringList FList;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
DECLARE_ENUM_INFO(TListBoxStyle)

class TCustomListBox : public TWinControl, public TItemsMirror {
  DECLARE_CLASS(TCustomListBox, TWinControl)
  friend class TListBoxStrings;

public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* GetItems() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  void Clear() { FItems->Clear(); }
  int GetCount() const { return FItems->Count(); }

  // The selected item (the focused one in a multi-select list), -1 for none. An index
  // out of range clears the selection.
  int GetItemIndex() override;
  void SetItemIndex(int Value) override;
  // Item height of a fixed-height list; for lbStandard the window's own.
  int GetItemHeight();
  void SetItemHeight(int Value);
  TListBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool GetExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool GetSorted() const { return FItems->List().Sorted(); }
  void SetSorted(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool GetIntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);

  bool GetSelected(int Index);
  void SetSelected(int Index, bool Value);
  // Selected items of a multi-select list; -1 for a single-select one.
  int GetSelCount();
  void SelectAll();
  void ClearSelection();
  int GetTopIndex();
  void SetTopIndex(int Value);
  // The item at a client point; -1 when none, or with Existing false the count when the
  // point lies below the last item.
  int ItemAtPos(const TPoint& Pos, bool Existing);
  // The item's rectangle in client coordinates (empty for a bad index).
  TRect ItemRect(int Index);
  TCanvas* GetCanvas() const;
  // The item height scales with the bounds.
  void ChangeScale(int M, int D) override;

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;

protected:
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  // The items were sorted: item j was item OldIndex[j] before (-1 when unknown).
  virtual void ItemsReordered(const std::vector<int>& OldIndex) {}
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  void CNCommand(TMessage& Message);

  // Window mirror of the item list.
  void WindowInsert(int Index, const String& S) override;
  void WindowDelete(int Index) override;
  void WindowClear() override;
  void WindowUpdating(bool Updating) override;

  TListBoxStrings* FItems;
  TControlCanvas* FCanvas;
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FIntegralHeight = false;
  TBorderStyle FBorderStyle = bsSingle;
  // Kept while there is no window: the selection, the top item.
  int FItemIndex = -1;
  int FTopIndex = 0;
  std::vector<bool> FSelected;
};

class TListBox : public TCustomListBox {
  DECLARE_CLASS(TListBox, TCustomListBox)
public:
  using TCustomListBox::TCustomListBox;
};

// ---------------------------------------------------------------------------
// A single-line edit over the native "EDIT" class.

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
DECLARE_ENUM_INFO(TEditCharCase)

class TCustomEdit : public TWinControl {
  DECLARE_CLASS(TCustomEdit, TWinControl)
public:
  explicit TCustomEdit(TComponent* AOwner);

  // Characters the user may type; 0 for no limit. Negative values are taken as 0.
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  wchar_t GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(wchar_t Value);
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  bool GetModified();
  void SetModified(bool Value);

  int GetSelStart();
  void SetSelStart(int Value);
  int GetSelLength();
  void SetSelLength(int Value);
  String GetSelText();
  void SetSelText(const String& Value);
  void SelectAll();
  void ClearSelection();
  void Clear() { SetText(String()); }

  TNotifyEvent OnChange;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

protected:
  virtual void Change();
  String ReadText() const;
  void CNCommand(TMessage& Message);
  void CMTextChanged(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;

  int FMaxLength = 0;
  bool FReadOnly = false;
  wchar_t FPasswordChar = 0;
  TEditCharCase FCharCase = ecNormal;
  TBorderStyle FBorderStyle = bsSingle;
  bool FAutoSelect = true;
  bool FModified = false;
  // The selection while there is no window.
  int FSelStart = 0;
  int FSelLength = 0;
};

class TEdit : public TCustomEdit {
  DECLARE_CLASS(TEdit, TCustomEdit)
public:
  using TCustomEdit::TCustomEdit;
};

// ---------------------------------------------------------------------------
// Buttons over the native "BUTTON" class. Their caption may carry an accelerator ("&OK"),
// which Alt+letter (or the letter alone where the focused control takes no characters)
// presses.

// True when Key is the accelerator Caption marks with "&" (case-insensitive; "&&" is a
// plain ampersand).
bool IsAccel(wchar_t Key, const String& Caption);

class TButtonControl;

// Keeps a button's caption, enabled state, hint, visibility (and a check box's check) equal
// to its action's, for each property the button has not been given a value of its own.
class TButtonActionLink : public TActionLink {
  DECLARE_CLASS(TButtonActionLink, TActionLink)
public:
  explicit TButtonActionLink(TButtonControl* AClient);
  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsOnExecuteLinked() const override;

protected:
  void SetCaption(const String& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const String& Value) override;
  void SetVisible(bool Value) override;
  void SetChecked(bool Value) override;

private:
  TButtonControl* FButton;
};

class TButtonControl : public TWinControl {
  DECLARE_CLASS(TButtonControl, TWinControl)
public:
  explicit TButtonControl(TComponent* AOwner);
  ~TButtonControl() override;
  void Dispatch(TMessage& Message) override;

  // The action the button shows and runs when clicked (unless it has an OnClick of its own).
  // Setting one copies the action's caption, state and hint to the button.
  TBasicAction* GetAction() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(TBasicAction* Value);
  void Click() override;
  // For the action link: the check state of a check box, none for a push button.
  virtual bool GetCheckedForAction() const { return false; }
  virtual void SetCheckedForAction(bool Value) {}

protected:
  // The native control paints its text and background in the control's colours.
  void CNCtlColor(TMessage& Message);
  // Clicks a state change makes are not reported while reading form data.
  bool ClicksDisabled() const;

  std::unique_ptr<TButtonActionLink> FActionLink;
  // Set while the action's state is copied to the button: no click comes of it.
  bool FClicksDisabled = false;
  friend class TButtonActionLink;
};

class TButton : public TButtonControl {
  DECLARE_CLASS(TButton, TButtonControl)
public:
  explicit TButton(TComponent* AOwner);

  // Enter anywhere in the form presses the default button, unless another button has the focus.
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  // Esc anywhere in the form presses a cancel button.
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  // Given to the form's ModalResult when clicked, which ends a ShowModal.
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // True while Enter presses this button: it has the focus, or it is the default button and
  // no other button has it.
  bool GetActive() const { return FActive; }

  void Click() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

protected:
  void SetButtonStyle(bool ADefault);
  void CNCommand(TMessage& Message);
  void CMDialogKey(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message);

  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
DECLARE_ENUM_INFO(TCheckBoxState)

class TCustomCheckBox : public TButtonControl {
  DECLARE_CLASS(TCustomCheckBox, TButtonControl)
public:
  explicit TCustomCheckBox(TComponent* AOwner);

  TCheckBoxState GetState() const { return FState; }
  // A change reports a click (OnClick), except while form data is read.
  void SetState(TCheckBoxState Value);
  bool GetChecked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  // Without it a click goes between checked and unchecked only; cbGrayed set by code stays allowed.
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // taRightJustify puts the caption right of the box (the usual place), taLeftJustify left of it.
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool IsStateStored() const { return FState == cbGrayed; }
  bool GetCheckedForAction() const override { return GetChecked(); }
  void SetCheckedForAction(bool Value) override { SetChecked(Value); }

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

protected:
  // What a user's click does: unchecked, (grayed,) checked, unchecked again.
  virtual void Toggle();
  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message) override;

  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  DECLARE_CLASS(TCheckBox, TCustomCheckBox)
public:
  using TCustomCheckBox::TCustomCheckBox;
};

// ---------------------------------------------------------------------------
// A label: text painted by its parent, no window. Its accelerator focuses FocusControl.

enum TTextLayout { tlTop, tlCenter, tlBottom };
DECLARE_ENUM_INFO(TTextLayout)

class TCustomLabel : public TGraphicControl {
  DECLARE_CLASS(TCustomLabel, TGraphicControl)
public:
  explicit TCustomLabel(TComponent* AOwner);

  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  // Sizes the label to its text (keeping the width and growing downwards when it wraps; a
  // right-aligned label keeps its right edge).
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // A transparent label leaves its parent's background; otherwise it fills with Color.
  bool GetTransparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);

  void Dispatch(TMessage& Message) override;
  void Loaded() override;
  // The text's extent as it would be drawn in Width (for word wrap) with the label's font.
  TRect TextBounds(int Width);

protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void AdjustBounds();
  TTextFormat TextFormat() const;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMDialogChar(TMessage& Message);

  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
};

class TLabel : public TCustomLabel {
  DECLARE_CLASS(TLabel, TCustomLabel)
public:
  using TCustomLabel::TCustomLabel;
};

// ---------------------------------------------------------------------------
// A combo box over the native "COMBOBOX" class: an edit with a drop-down list
// (csDropDown) or a drop-down list alone (csDropDownList).

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
DECLARE_ENUM_INFO(TComboBoxStyle)

class TCustomComboBox : public TWinControl, public TItemsMirror {
  DECLARE_CLASS(TCustomComboBox, TWinControl)
  friend class TListBoxStrings;

public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TStrings* GetItems() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  void Clear();
  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  // -1 for none; out of range clears the selection. Setting it fires no event.
  int GetItemIndex() override;
  void SetItemIndex(int Value) override;
  int ReadItemIndex() const { return const_cast<TCustomComboBox*>(this)->GetItemIndex(); }
  // Items the open list shows before it scrolls; below 1 is taken as 1.
  int GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  bool GetSorted() const { return FItems->List().Sorted(); }
  void SetSorted(bool Value);
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool GetDroppedDown();
  void SetDroppedDown(bool Value);
  // In a drop-down list the text is the selected item's; setting a text selects the item
  // with exactly that text, or nothing.
  String ReadText() const;
  void WriteText(const String& Value);

  TNotifyEvent OnChange;
  // A user's choice of an item; without a handler it reports a change instead.
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;

protected:
  virtual void Change();
  virtual void Select();
  void AdjustDropDown();
  void CNCommand(TMessage& Message);
  void CMWantSpecialKey(TMessage& Message);
  void WindowInsert(int Index, const String& S) override;
  void WindowDelete(int Index) override;
  void WindowClear() override;
  void WindowUpdating(bool Updating) override;

  TListBoxStrings* FItems;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  int FMaxLength = 0;
  // Kept while there is no window.
  int FItemIndex = -1;
  String FEditText;
};

class TComboBox : public TCustomComboBox {
  DECLARE_CLASS(TComboBox, TCustomComboBox)
public:
  using TCustomComboBox::TCustomComboBox;
};

// Makes the standard controls (these, the panels, the page control, the tree view, the check
// list box and the glyph button) known to form data by their class names.
void RegisterStandardControls();
