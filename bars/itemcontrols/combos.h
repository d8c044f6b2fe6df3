// Combo items: an edit with a drop-down window. The custom combo drops down any window
// (kinds above the library drop down pickers and trees); the combo drops down a list of
// strings in the library's drop-down list box, fitted to the screen, with best-match
// typing and keyboard stepping. Model (the items) and item-control layer (the controls).
#pragma once

#include <memory>

#include "bars/itemcontrols/edits.h"
#include "platform/StdCtrls.h"

class TStringList;
class TdxBarCustomCombo;
class TdxBarDropDownListBox;
class TCustomdxBarComboControl;

// May a key typed in the editor go to the open drop-down window.
using TdxBarCheckKeyForDropDownWindowEvent =
    TEvent<void(TObject* Sender, WORD Key, TShiftState Shift, bool& AllowProcessing)>;
// The window a combo drops down.
using TdxBarGetDropDownWindowEvent = TEvent<void(TObject* Sender, HWND& Window)>;
using TdxBarDrawItemEvent =
    TEvent<void(TdxBarCustomCombo* Sender, TCanvas* ACanvas, int AIndex, TRect ARect, TOwnerDrawState AState)>;
using TdxBarMeasureItemEvent = TEvent<void(TdxBarCustomCombo* Sender, int AIndex, int& AHeight)>;

class TCustomdxBarCombo : public TdxBarEdit {
  DECLARE_CLASS(TCustomdxBarCombo, TdxBarEdit)
public:
  explicit TCustomdxBarCombo(TComponent* AOwner) : TdxBarEdit(AOwner) {}

  // Whether the editor opens; without it the combo is picked from its drop-down only.
  bool GetShowEditor() const { return !GetHideEditor(); }
  void SetShowEditor(bool Value);

  // True except for Esc, Enter and Tab; the event may change the answer.
  virtual bool CheckKeyForDropDownWindow(WORD AKey, TShiftState AShift);
  // The window to drop down; nil when there is none.
  virtual HWND GetDropDownWindow();
  // Fills and sizes the drop-down window before it shows; nothing in the base.
  virtual void PrepareDropDown() {}
  // Drops the window down at (X, Y) on the screen, fitted into the work area.
  void DropDown(int X, int Y);
  // Hides the drop-down window and fires OnCloseUp, except while the combo or its manager is
  // being freed: the handler's object may be gone by then.
  virtual void CloseUp();
  // Closes the list of every control of the combo that has it open.
  void CloseDropDowns();
  // Gives a drop-down control the editor's font and the painter's edit colours.
  void InitDropDownControl(TWinControl* AControl);
  // The control that drops the window down: the editing one, else the selected one.
  TCustomdxBarComboControl* GetDropDownSourceControl() const;

  TdxBarCheckKeyForDropDownWindowEvent OnCheckKeyForDropDownWindow;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;
  TdxBarGetDropDownWindowEvent OnGetDropDownWindow;

protected:
  virtual void AfterDropDown() {}
  // The window is placed (screen rectangles of it and of the control it drops from) and
  // about to show.
  virtual void DropDownPlaced(HWND AWindow, const TRect& AWindowRect, const TRect& AOwnerRect) {}
};

class TdxBarCustomCombo : public TCustomdxBarCombo {
  DECLARE_CLASS(TdxBarCustomCombo, TCustomdxBarCombo)
public:
  explicit TdxBarCustomCombo(TComponent* AOwner);
  ~TdxBarCustomCombo() override;

  // Only Up, Down, Page Up and Page Down without Shift, Ctrl or Alt.
  bool CheckKeyForDropDownWindow(WORD AKey, TShiftState AShift) override;
  HWND GetDropDownWindow() override;
  void PrepareDropDown() override;
  // Keeps ItemIndex on the item equal to the text, else the index of the text.
  void SetText(const String& Value) override;
  void DoCurChange() override;

  virtual void DrawItem(TCanvas* ACanvas, int AIndex, const TRect& R, TOwnerDrawState AState);
  virtual void MeasureItem(int AIndex, int& AHeight);
  virtual void MeasureItemWidth(int AIndex, int& AWidth);
  // The width the list drops down with for a text part AEditWidth wide.
  virtual int GetListWidth(int AEditWidth);
  // The first item sharing the longest prefix with AText (upper case); -1 when none
  // shares even its first character.
  int FindBestMatch(const String& AText) const;
  // The editing control's index while a link is edited, else ItemIndex.
  int GetCurItemIndex() const;

  // --- Properties.
  int GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = std::max(Value, 1); }
  int GetDropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(int Value) { FDropDownWidth = std::max(Value, 0); }
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value) { FItemHeight = std::max(Value, 0); }
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  TStrings* GetItems() const;
  void SetItems(TStrings* Value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  TdxBarDropDownListBox* GetListBox() const { return FListBox; }
  // The user may resize the list by its grip; it opens again at the size it was given.
  bool GetAllowResizing() const { return FAllowResizing; }
  void SetAllowResizing(bool Value);
  // The size the user gave the list; zero until then.
  TSize GetResizedListSize() const { return FResizedListSize; }

  TdxBarDrawItemEvent OnDrawItem;
  TdxBarMeasureItemEvent OnMeasureItem;

private:
  TCanvas* MeasuringCanvas() const;
  void ItemsChanged(TObject* Sender);
  void ListDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
  void ListMeasureItem(TWinControl* Control, int Index, int& Height);
  void ListCloseUp(TdxBarDropDownListBox* Sender, int Index);
  void ListResized(TObject* Sender);
  void DropDownPlaced(HWND AWindow, const TRect& AWindowRect, const TRect& AOwnerRect) override;

  bool FAllowResizing = false;
  TSize FResizedListSize{0, 0};
  int FDropDownCount = 8;
  int FDropDownWidth = 0;
  int FItemHeight = 0;
  int FItemIndex = -1;
  // Set while ItemIndex writes the text: the index it set stands, even where an empty entry
  // would match the cleared text.
  bool FKeepItemIndex = false;
  bool FSorted = false;
  std::unique_ptr<TStringList> FItems;
  TdxBarDropDownListBox* FListBox = nullptr;
};

class TdxBarCombo : public TdxBarCustomCombo {
  DECLARE_CLASS(TdxBarCombo, TdxBarCustomCombo)
public:
  explicit TdxBarCombo(TComponent* AOwner) : TdxBarCustomCombo(AOwner) {}
};

// --- Controls. ---------------------------------------------------------------------------

class TCustomdxBarComboControl : public TdxBarEditControl {
  DECLARE_CLASS(TCustomdxBarComboControl, TdxBarEditControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TCustomdxBarComboControl(TdxBarItemLink* AItemLink) : TdxBarEditControl(AItemLink) {}
  ~TCustomdxBarComboControl() override;

  TCustomdxBarCombo* GetCombo() const;
  bool IsDroppedDown() const override { return FDroppedDown; }
  int GetPartCount() const override { return 3; }
  void CalcDrawParams(bool AFull = true) override;
  virtual TRect GetDropDownRect() const;
  void DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams) override;
  void Deactivate() override;
  void EnabledChanged() override;
  bool OwnsWindow(HWND AWnd) const override;
  // A press on the button part starts editing and opens or closes the list.
  void MouseDown(const TPoint& P) override;
  // Opening is refused for a read-only item.
  virtual void SetDroppedDown(bool Value);

protected:
  bool IsTextDrawnByPainter() const override;
  void CalcPainterParts(std::vector<TRect>& AParts) override;
  void HideEditor(bool AAccept) override;
  bool FilterSysKeyDown(WORD AKey) override;
  bool FilterSysKeyUp(WORD AKey) override;
  void WndProc(TMessage& Message) override;

private:
  // Whether a point of the bar window lies on what opens the list.
  bool IsDropDownPoint(const TPoint& P) const;

  bool FDroppedDown = false;
  bool FDownWhileOpen = false;
};

class TdxBarComboControl : public TCustomdxBarComboControl, public IdxBarComboItems {
  DECLARE_CLASS(TdxBarComboControl, TCustomdxBarComboControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarComboControl(TdxBarItemLink* AItemLink) : TCustomdxBarComboControl(AItemLink) {}

  TdxBarCustomCombo* GetCustomCombo() const;
  void SetFocused(bool Value) override;
  // The string at the edited index when it names one, else the item's text.
  String GetTextToRead() const override;
  int GetItemIndex() const { return FItemIndex; }
  // Re-reads the editor's text (and repaints when the item hides its editor); typing moves
  // the index without AReadText, leaving what the user typed.
  void SetItemIndex(int Value, bool AReadText = true);
  // Keeps the list's selection in step while it is open.
  void SyncWithList();
  // The list has chosen for an item without an editor: nothing is left to edit.
  void EndEditingAfterChoice();

  // --- What the painter reads of the list's entries.
  String GetComboText() const override;
  int GetComboItemCount() const override;
  String GetComboItem(int AIndex) const override;

protected:
  void WndProc(TMessage& Message) override;

private:
  void Step(int ADelta);

  int FItemIndex = -1;
};
