// A list box with a check box before each item: owner-drawn over the native "LISTBOX", the
// states kept beside the items (they follow insertions, deletions and remade windows). A
// click on the box or Space on the focused item toggles it, unless the item is disabled.
#pragma once

#include <vector>

#include "platform/StdCtrls.h"

class TCheckListBox : public TCustomListBox {
  DECLARE_CLASS(TCheckListBox, TCustomListBox)
public:
  explicit TCheckListBox(TComponent* AOwner);

  // Raise EListError for an index out of range.
  bool GetChecked(int Index) const;
  void SetChecked(int Index, bool Value);
  TCheckBoxState GetState(int Index) const;
  void SetState(int Index, TCheckBoxState Value);
  bool GetItemEnabled(int Index) const;
  void SetItemEnabled(int Index, bool Value);
  // With it, a user's toggle goes unchecked, grayed, checked.
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // What a user's click on the box does to item Index: next state and OnClickCheck.
  void ToggleClickCheck(int Index);
  // Width of the check box column.
  int GetCheckWidth() const;

  void CheckAll(TCheckBoxState AState, bool AllowGrayed = true, bool AllowDisabled = true);

  TNotifyEvent OnClickCheck;

  void CreateParams(TCreateParams& Params) override;

protected:
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyPress(wchar_t& Key) override;
  virtual void ClickCheck();
  void WindowInsert(int Index, const String& S) override;
  void WindowDelete(int Index) override;
  void WindowClear() override;
  void ItemsReordered(const std::vector<int>& OldIndex) override;
  void InvalidateItem(int Index);

  struct TItemState {
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
  };
  const TItemState& ItemState(int Index) const;
  TItemState& ItemState(int Index);

  std::vector<TItemState> FStates;
  bool FAllowGrayed = false;
};
