// The add-item dialog.
#include "barcustomize/itemadddialog.h"

#include <algorithm>

#include "barcustomize/dialogparts.h"
#include "bars/model/customizing.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/model/registry.h"
#include "bars/utils/utils.h"

PUBLISHED(TdxBarItemAddEditor, TForm)
{
  p.Method(L"ComboBox1Click", &TdxBarItemAddEditor::ComboBox1Click);
  p.Method(L"BOkClick", &TdxBarItemAddEditor::BOkClick);
  p.Method(L"FormShow", &TdxBarItemAddEditor::FormShow);
}

void TdxBarItemAddEditor::Prepare(TdxBarManager* AManager, int ACategoryIndex)
{
  FBarManager = AManager;
  SetCaption(StripAccelChars(GetResourceString(sdxBarAddItem)));
  dxBarDialogPart<TButton>(this, L"BOk")->SetCaption(GetResourceString(sdxBarOK));
  dxBarDialogPart<TButton>(this, L"BCancel")->SetCaption(GetResourceString(sdxBarCancel));
  dxBarDialogPart<TEdit>(this, L"Edit2")->SetText(GetResourceString(sdxBarNewItem));
  // Opened from the Customize dialog, it speaks in that dialog's font.
  if (auto handle = dxBarCustomizingServices().GetCustomizingFormHandle)
    if (TWinControl* customizing = FindControl(handle(AManager)))
      GetFont()->Assign(customizing->GetFont());

  MakeRoomForLabels();

  auto* categories = dxBarDialogPart<TComboBox>(this, L"ComboBox2");
  categories->GetItems()->Assign(AManager->GetCategories());
  const int count = categories->GetItems()->Count();
  categories->SetItemIndex(ACategoryIndex >= 0 && ACategoryIndex < count ? ACategoryIndex : (count > 0 ? 0 : -1));

  auto* kinds = dxBarDialogPart<TComboBox>(this, L"ComboBox1");
  FKinds.clear();
  kinds->GetItems()->BeginUpdate();
  {
    TFinally end([kinds] { kinds->GetItems()->EndUpdate(); });
    kinds->GetItems()->Clear();
    if (TdxBarItemList* registered = RegisteredBarItems())
      for (int i = 0; i < registered->GetVisibleCount(); ++i) {
        FKinds.push_back(registered->GetVisibleItemClass(i));
        kinds->GetItems()->Add(FKinds.back()->ClassName());
      }
  }
  kinds->SetItemIndex(FKinds.empty() ? -1 : 0);
}

// The labels size to their text: a font wider than the one the form was laid out in
// pushes the fields, the buttons and the form's right edge along rather than letting a
// label run under its field.
void TdxBarItemAddEditor::MakeRoomForLabels()
{
  const wchar_t* labels[] = {L"LType", L"LCategory", L"LName", L"LCaption"};
  const wchar_t* movers[] = {L"ComboBox1", L"ComboBox2", L"Edit1", L"Edit2", L"BOk", L"BCancel"};
  const int gap = 7;  // between a label's text and its field
  int needed = 0;
  for (const wchar_t* name : labels) {
    TLabel* label = dxBarDialogPart<TLabel>(this, name);
    needed = std::max(needed, label->GetLeft() + label->GetWidth() + gap);
  }
  const int shift = needed - dxBarDialogPart<TControl>(this, L"ComboBox1")->GetLeft();
  if (shift <= 0)
    return;
  for (const wchar_t* name : movers) {
    TControl* control = dxBarDialogPart<TControl>(this, name);
    control->SetLeft(control->GetLeft() + shift);
  }
  SetClientSize(GetClientRect().right + shift, GetClientRect().bottom);
}

TdxBarItem* TdxBarItemAddEditor::GetCreatedItem() const
{
  return FCreatedItem.Get();
}

TClass TdxBarItemAddEditor::SelectedKind()
{
  const int index = dxBarDialogPart<TComboBox>(this, L"ComboBox1")->GetItemIndex();
  return index >= 0 && index < int(FKinds.size()) ? FKinds[index] : nullptr;
}

void TdxBarItemAddEditor::FormShow(TObject*)
{
  // The first kind's name is proposed at once, so that OK gives a named item.
  ComboBox1Click(nullptr);
  auto* name = dxBarDialogPart<TEdit>(this, L"Edit1");
  if (name->CanFocus())
    SetActiveControl(name);
}

void TdxBarItemAddEditor::ComboBox1Click(TObject*)
{
  TdxBarManager* manager = FBarManager.Get();
  TClass kind = SelectedKind();
  if (manager && kind)
    dxBarDialogPart<TEdit>(this, L"Edit1")->SetText(manager->GetUniqueItemName(kind));
}

void TdxBarItemAddEditor::BOkClick(TObject*)
{
  TdxBarManager* manager = FBarManager.Get();
  TClass kind = SelectedKind();
  if (!manager || !kind) {
    // Nothing to make: the dialog stays, as for a name that cannot be given.
    SetModalResult(mrNone);
    return;
  }
  TComponent* owner = manager->GetParentControl();
  auto* item = dynamic_cast<TdxBarItem*>(kind->Create(owner ? owner : manager->Owner()));
  if (!item) {
    SetModalResult(mrNone);
    throw EInvalidCast(L"Invalid class typecast");
  }
  try {
    item->SetName(dxBarDialogPart<TEdit>(this, L"Edit1")->GetText());
    item->SetCategory(dxBarDialogPart<TComboBox>(this, L"ComboBox2")->GetItemIndex());
    item->SetCaption(dxBarDialogPart<TEdit>(this, L"Edit2")->GetText());
  } catch (...) {
    // No half-made item stays behind; the user gets a fresh name and the error's message.
    item->Free();
    ComboBox1Click(nullptr);
    SetModalResult(mrNone);
    throw;
  }
  FCreatedItem = item;
}

TdxBarItem* ShowItemAddEditor(TdxBarManager* ABarManager, int ACategoryIndex)
{
  if (!ABarManager)
    return nullptr;
  auto* dialog = TCustomForm::Create<TdxBarItemAddEditor>(nullptr);
  TFinally free([dialog] { dialog->Free(); });
  dialog->Prepare(ABarManager, ACategoryIndex);
  if (dialog->ShowModal() != mrOk)
    return nullptr;
  return dialog->GetCreatedItem();
}
