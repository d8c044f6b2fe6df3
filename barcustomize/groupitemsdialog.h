// The group-items picker: lists the manager's other groups and, by category, the items
// offered for customising, so that several can be chosen at once to join a group. Entries
// already in the group are greyed but may be chosen again.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class TdxBarGroup;

// The picker's list: a list box of a window class of its own, which repaints wholly when
// its width changes (the item rows are split at the middle). The class style stays with
// this list and never reaches other list boxes.
class TdxBarGroupItemsListBox : public TListBox {
  DECLARE_CLASS(TdxBarGroupItemsListBox, TListBox)
public:
  using TListBox::TListBox;
  void CreateParams(TCreateParams& Params) override;
};

class TfrmAddGroupItems : public TForm {
  DECLARE_CLASS(TfrmAddGroupItems, TForm)
public:
  explicit TfrmAddGroupItems(TComponent* AOwner) : TForm(AOwner) {}

  // Handlers bound by name from the form data.
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void lbGroupItemsDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
  void lbGroupItemsMeasureItem(TWinControl* Control, int Index, int& Height);

  // Fills the list for AGroup; OK adds the chosen groups and items to AResult.
  void Prepare(TdxBarGroup* AGroup, TList* AResult);
  TListBox* GetList() const;
  // Whether a list entry is a header (a category's or the groups').
  bool IsHeader(int Index) const;

private:
  // Headers are kept with this mark in front; they carry no object.
  static constexpr wchar_t HeaderMark = L'~';

  void ListWndProc(TMessage& Message);
  void FillRestOfList(TCanvas* ACanvas, const TRect& ALastRow);

  TWeakRef<TdxBarGroup> FGroup;
  TWndMethod FSavedListWndProc;
  TList* FResult = nullptr;
};

// Shows the picker for AGroup; true when closed with OK, AList then holding the chosen
// groups and items in list order.
bool ShowAddGroupItems(TdxBarGroup* AGroup, TList* AList);
