// Standard controls over the system's native window classes: the list box ("LISTBOX",
// with owner-drawn items of fixed or variable height) and the single-line edit ("EDIT").
// Their state lives in the object as well as in the window, so it survives RecreateWnd and
// can be set before the window exists.
#pragma once

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Strings.h"

class TCustomListBox;

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
// The items of a list box: kept in a string list and mirrored into the window while it
// exists. Sorting is the list's (the window never sorts), so indexes always agree.

class TListBoxStrings : public TStrings {
  DECLARE_CLASS(TListBoxStrings, TStrings)
public:
  explicit TListBoxStrings(TCustomListBox* ListBox = nullptr);

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
  TCustomListBox* FListBox;
  TStringList FList;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
DECLARE_ENUM_INFO(TListBoxStyle)

class TCustomListBox : public TWinControl {
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
  int GetItemIndex();
  void SetItemIndex(int Value);
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

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;

protected:
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  void CNCommand(TMessage& Message);

  // Window mirror of the item list.
  void WindowInsert(int Index, const String& S);
  void WindowDelete(int Index);
  void WindowClear();

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
