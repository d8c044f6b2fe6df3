// The group-items picker.
#include "barcustomize/groupitemsdialog.h"

#include "barcustomize/dialogparts.h"
#include "bars/model/groups.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"

IMPLEMENT_CLASS(TdxBarGroupItemsListBox, TListBox)

PUBLISHED(TfrmAddGroupItems, TForm)
{
  p.Method(L"FormCreate", &TfrmAddGroupItems::FormCreate);
  p.Method(L"FormDestroy", &TfrmAddGroupItems::FormDestroy);
  p.Method(L"FormCloseQuery", &TfrmAddGroupItems::FormCloseQuery);
  p.Method(L"lbGroupItemsDrawItem", &TfrmAddGroupItems::lbGroupItemsDrawItem);
  p.Method(L"lbGroupItemsMeasureItem", &TfrmAddGroupItems::lbGroupItemsMeasureItem);
}

namespace {

const wchar_t* const GroupsHeader = L"< Groups >";
// Between the left edge and an entry's text.
const wchar_t* const EntryIndent = L"   ";

}  // namespace

void TdxBarGroupItemsListBox::CreateParams(TCreateParams& Params)
{
  TListBox::CreateParams(Params);
  Params.WindowClass.style |= CS_HREDRAW;
}

TListBox* TfrmAddGroupItems::GetList() const
{
  return dxBarDialogPart<TListBox>(const_cast<TfrmAddGroupItems*>(this), L"lbGroupItems");
}

bool TfrmAddGroupItems::IsHeader(int Index) const
{
  const String text = GetList()->GetItems()->Get(Index);
  return !text.empty() && text[0] == HeaderMark;
}

void TfrmAddGroupItems::FormCreate(TObject*)
{
  // The rows paint their whole rectangle and the rest of the list: erasing first would only
  // flicker.
  TListBox* list = GetList();
  FSavedListWndProc = list->GetWindowProc();
  list->SetWindowProc(TWndMethod(this, &TfrmAddGroupItems::ListWndProc));
}

void TfrmAddGroupItems::FormDestroy(TObject*)
{
  if (auto* list = dynamic_cast<TListBox*>(FindComponent(L"lbGroupItems")); list && FSavedListWndProc.Assigned())
    list->SetWindowProc(FSavedListWndProc);
}

void TfrmAddGroupItems::ListWndProc(TMessage& Message)
{
  if (Message.Msg == WM_ERASEBKGND) {
    // An empty list draws no row, so nothing would paint it: it is filled here instead.
    TListBox* list = GetList();
    if (list->GetCount() == 0 && Message.WParam) {
      TRect r = list->GetClientRect();
      ::FillRect(HDC(Message.WParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    Message.Result = 1;
    return;
  }
  FSavedListWndProc(Message);
}

void TfrmAddGroupItems::Prepare(TdxBarGroup* AGroup, TList* AResult)
{
  FGroup = AGroup;
  FResult = AResult;
  TdxBarManager* manager = AGroup ? AGroup->GetBarManager() : nullptr;
  TListBox* list = GetList();
  TStrings* entries = list->GetItems();
  entries->BeginUpdate();
  TFinally end([entries] { entries->EndUpdate(); });
  entries->Clear();
  if (!manager)
    return;
  list->GetFont()->Assign(manager->GetFont());
  const String mark(1, HeaderMark);
  if (manager->GetGroupCount() > 1) {
    entries->Add(mark + GroupsHeader);
    for (int i = 0; i < manager->GetGroupCount(); ++i)
      if (TdxBarGroup* group = manager->GetGroup(i); group != AGroup)
        entries->AddObject(group->Name(), group);
  }
  TStrings* categories = manager->GetCategories();
  for (int c = 0; c < categories->Count(); ++c) {
    TList items;
    manager->GetVisibleItemsByCategory(c, &items);
    if (items.Count() == 0)
      continue;
    entries->Add(mark + categories->Get(c));
    for (int i = 0; i < items.Count(); ++i) {
      auto* item = static_cast<TdxBarItem*>(items.Items(i));
      entries->AddObject(item->GetCaption(), item);
    }
  }
}

void TfrmAddGroupItems::lbGroupItemsMeasureItem(TWinControl*, int, int& Height)
{
  TListBox* list = GetList();
  TCanvas* canvas = list->GetCanvas();
  canvas->GetFont()->Assign(list->GetFont());
  Height = canvas->TextHeight(L"Qq") + 2;
}

void TfrmAddGroupItems::lbGroupItemsDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State)
{
  TListBox* list = GetList();
  TCanvas* canvas = list->GetCanvas();
  const String text = list->GetItems()->Get(Index);
  if (IsHeader(Index)) {
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->GetFont()->SetColor(clBtnText);
    canvas->TextRect(Rect, Rect.left + 2, Rect.top + 1, text.substr(1));
  } else {
    auto* entry = dynamic_cast<TdxBarComponent*>(list->GetItems()->GetObject(Index));
    const bool isItem = dynamic_cast<TdxBarItem*>(entry) != nullptr;
    const bool selected = State.Contains(odSelected);
    TdxBarGroup* group = FGroup.Get();
    // A member already is greyed; chosen, it shows as chosen like any other entry. Grey
    // text rather than button-face text, which on the window colour of today's themes
    // nearly vanishes.
    if (!selected && group && entry && group->Contains(entry)) {
      canvas->GetBrush()->SetColor(clWindow);
      canvas->GetFont()->SetColor(clGrayText);
    }
    canvas->FillRect(Rect);
    TRect textRect = Rect;
    if (isItem)
      textRect.right = (Rect.left + Rect.right) / 2;
    String caption = EntryIndent + text;
    canvas->TextRect(textRect, caption, TTextFormat{tfSingleLine, tfVerticalCenter});
    if (isItem) {
      const int middle = textRect.right;
      canvas->GetPen()->SetColor(selected ? clHighlightText : clWindowText);
      canvas->MoveTo(middle, Rect.top);
      canvas->LineTo(middle, Rect.bottom);
      TRect nameRect = Rect;
      nameRect.left = middle + 1;
      String name = EntryIndent + entry->Name();
      canvas->TextRect(nameRect, name, TTextFormat{tfSingleLine, tfVerticalCenter, tfNoPrefix});
    }
  }
  if (Index == list->GetCount() - 1)
    FillRestOfList(canvas, Rect);
}

void TfrmAddGroupItems::FillRestOfList(TCanvas* ACanvas, const TRect& ALastRow)
{
  TRect rest = GetList()->GetClientRect();
  rest.top = ALastRow.bottom;
  if (rest.top >= rest.bottom)
    return;
  ACanvas->GetBrush()->SetColor(clBtnFace);
  ACanvas->FillRect(rest);
}

void TfrmAddGroupItems::FormCloseQuery(TObject*, bool&)
{
  if (GetModalResult() != mrOk || !FResult)
    return;
  TListBox* list = GetList();
  for (int i = 0; i < list->GetCount(); ++i)
    if (list->GetSelected(i))
      if (TObject* entry = list->GetItems()->GetObject(i))
        FResult->Add(entry);
}

bool ShowAddGroupItems(TdxBarGroup* AGroup, TList* AList)
{
  auto* dialog = TCustomForm::Create<TfrmAddGroupItems>(nullptr);
  TFinally free([dialog] { dialog->Free(); });
  dialog->Prepare(AGroup, AList);
  return dialog->ShowModal() == mrOk;
}
