// The image combo and its control: per-entry images kept in the entries' object slots,
// their drawing and measuring, the image list's link, the stored indexes and the select
// window.
#include "barextras/imagecombo.h"

#include <algorithm>

#include "barextras/itemglyph.h"
#include "barextras/selectdialog.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "lookandfeel/cxClasses.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Canvas.h"
#include "platform/Filer.h"
#include "platform/Scope.h"
#include "platform/StdCtrls.h"
#include "platform/Strings.h"

PUBLISHED(TdxBarImageCombo, TdxBarCustomCombo)
{
  using I = TdxBarImageCombo;
  p.Component(L"Images", &I::GetComboImages, &I::SetComboImages);
  p.Object(L"Items", &I::GetItems, &I::SetItems);
  p.Prop(L"ItemIndex", &I::GetItemIndex, &I::SetItemIndex).Default(-1);
  p.Prop(L"ShowEditor", &I::GetShowEditor, &I::SetShowEditor).Default(false);
  p.Prop(L"Sorted", &I::GetSorted, &I::SetSorted).Default(false);
  p.Prop(L"ShowText", &I::GetShowText, &I::SetShowText).Default(true);
}

IMPLEMENT_CLASS(TdxBarImageComboControl, TdxBarComboControl)

namespace {

// Around an image: 1 pixel before it in a list entry, 2 between it and the text, and the
// entry's room above and below.
constexpr int ImageIndent = 1;
constexpr int TextGap = 2;
constexpr int EntryImagePadding = 2;

// An entry's image index lives in its object slot as index + 1, so an empty slot means none.
TObject* SlotOf(int AImageIndex)
{
  return reinterpret_cast<TObject*>(intptr_t(std::max(AImageIndex, -1) + 1));
}

int ImageIndexOf(TObject* ASlot)
{
  return int(reinterpret_cast<intptr_t>(ASlot)) - 1;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarImageCombo

TdxBarImageCombo::TdxBarImageCombo(TComponent* AOwner)
    : TdxBarCustomCombo(AOwner), FImageChangeLink(std::make_unique<TChangeLink>())
{
  dxBarLoadItemGlyph(this, L"DXBARIMAGECOMBO");
  SetShowEditor(false);
  FImageChangeLink->OnChange = TNotifyEvent(this, &TdxBarImageCombo::ImagesChanged);
}

TdxBarImageCombo::~TdxBarImageCombo()
{
  SetImageListProperty(FImages, nullptr, FImageChangeLink.get(), this);
}

void TdxBarImageCombo::DefineProperties(TFiler* Filer)
{
  TdxBarCustomCombo::DefineProperties(Filer);
  Filer->DefineProperty(
      L"ImageIndexes", [this](TReader* Reader) { ReadImageIndexes(Reader); },
      [this](TWriter* Writer) { WriteImageIndexes(Writer); }, true);
}

void TdxBarImageCombo::ReadImageIndexes(TReader* Reader)
{
  Reader->ReadListBegin();
  for (int i = 0; !Reader->EndOfList(); ++i) {
    const int value = Reader->ReadInteger();
    if (i < GetItems()->Count())
      SetImageIndexes(i, value);
  }
  Reader->ReadListEnd();
}

void TdxBarImageCombo::WriteImageIndexes(TWriter* Writer)
{
  Writer->WriteListBegin();
  for (int i = 0; i < GetItems()->Count(); ++i)
    Writer->WriteInteger(GetImageIndexes(i));
  Writer->WriteListEnd();
}

int TdxBarImageCombo::GetImageIndexes(int AIndex) const
{
  if (AIndex < 0 || AIndex >= GetItems()->Count())
    return -1;
  return ImageIndexOf(GetItems()->Objects(AIndex));
}

void TdxBarImageCombo::SetImageIndexes(int AIndex, int Value)
{
  if (AIndex < 0 || AIndex >= GetItems()->Count())
    return;
  GetItems()->SetObjects(AIndex, SlotOf(Value));
  if (AIndex == GetItemIndex())
    RepaintControls();
}

void TdxBarImageCombo::SetComboImages(TCustomImageList* Value)
{
  if (SetImageListProperty(FImages, Value, FImageChangeLink.get(), this))
    ImagesChanged(this);
}

void TdxBarImageCombo::Notification(TComponent* AComponent, TOperation Operation)
{
  TdxBarCustomCombo::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FImages)
    SetComboImages(nullptr);
}

void TdxBarImageCombo::ImagesChanged(TObject*)
{
  if (!IsLoading())
    RefreshControls();
}

void TdxBarImageCombo::RefreshControls()
{
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TdxBarImageComboControl*>(GetLink(i)->GetControl()))
      control->Refresh();
}

void TdxBarImageCombo::SetShowText(bool Value)
{
  if (FShowText == Value)
    return;
  FShowText = Value;
  RepaintControls();
}

TRect TdxBarImageCombo::ImageRect(const TRect& R) const
{
  const int w = FImages->GetWidth(), h = FImages->GetHeight();
  const int left = FShowText ? R.left + ImageIndent : R.left + (R.right - R.left - w) / 2;
  const int top = R.top + (R.bottom - R.top - h) / 2;
  return TRect{left, top, left + w, top + h};
}

void TdxBarImageCombo::DrawItem(TCanvas* ACanvas, int AIndex, const TRect& R, TOwnerDrawState AState)
{
  if (OnDrawItem.Assigned() || !FImages || !ACanvas) {
    TdxBarCustomCombo::DrawItem(ACanvas, AIndex, R, AState);
    return;
  }
  HDC dc = ACanvas->GetHandle();
  ACanvas->FillRect(R);
  const TRect image = ImageRect(R);
  const int imageIndex = GetImageIndexes(AIndex);
  const bool drawn = AIndex >= 0 && imageIndex >= 0 && imageIndex < FImages->GetCount();
  if (drawn)
    FImages->Draw(ACanvas, image.left, image.top, imageIndex, true);
  if (FShowText) {
    const String text = AIndex >= 0 && AIndex < GetItems()->Count() ? GetItems()->Get(AIndex) : GetText();
    TRect r = R;
    r.left = !drawn && !GetFocusedControl() ? image.left + TextGap : image.right + TextGap;
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if (AState.Contains(odFocused))
    ::DrawFocusRect(dc, &R);
}

void TdxBarImageCombo::MeasureItem(int AIndex, int& AHeight)
{
  TdxBarCustomCombo::MeasureItem(AIndex, AHeight);
  if (FImages && !OnMeasureItem.Assigned())
    AHeight = std::max(AHeight, FImages->GetHeight() + EntryImagePadding);
}

void TdxBarImageCombo::MeasureItemWidth(int AIndex, int& AWidth)
{
  if (!FImages) {
    TdxBarCustomCombo::MeasureItemWidth(AIndex, AWidth);
    return;
  }
  AWidth = 0;
  if (FShowText)
    TdxBarCustomCombo::MeasureItemWidth(AIndex, AWidth);
  AWidth += FImages->GetWidth() + EntryImagePadding;
}

void TdxBarImageCombo::DrawInterior(TcxCanvas* ACanvas, const TRect& R, const TdxBarItemLink* ALink)
{
  if (!ACanvas || !ACanvas->GetCanvas() || IsRectEmpty(R)) {
    TdxBarCustomCombo::DrawInterior(ACanvas, R, ALink);
    return;
  }
  // The entry the text names; the typed text alone when it names none.
  const int index = GetCurItemIndex();
  const bool named = index >= 0 && index < GetItems()->Count() && GetItems()->Get(index) == GetCurText();
  DrawItem(ACanvas->GetCanvas(), named ? index : -1, R, TOwnerDrawState{});
}

void TdxBarImageCombo::DoClick()
{
  if (GetOnClick().Assigned() || GetReadOnly()) {
    TdxBarCustomCombo::DoClick();
    return;
  }
  SelectItem();
}

bool TdxBarImageCombo::SelectItem()
{
  TdxBarSelectItemForm* form = TCustomForm::CreateNew<TdxBarSelectItemForm>(nullptr);
  TFinally freeForm([form] { form->Free(); });
  auto* list = new TListBox(form);
  list->SetStyle(lbOwnerDrawVariable);
  list->GetItems()->Assign(GetItems());
  // The entries are drawn and measured as in the drop-down list, while the combo lives (the
  // window's loop may free it).
  TWeakRef<TdxBarImageCombo> self(this);
  list->OnDrawItem = TDrawItemEvent([self, list](TWinControl*, int AIndex, TRect ARect, TOwnerDrawState AState) {
    if (self)
      self->DrawItem(list->GetCanvas(), AIndex, ARect, AState);
  });
  list->OnMeasureItem = TMeasureItemEvent([self](TWinControl*, int AIndex, int& AHeight) {
    if (self)
      self->MeasureItem(AIndex, AHeight);
  });
  list->OnDblClick = TNotifyEvent([form](TObject*) { form->ChooseOK(); });
  form->Build(GetResourceString(sdxBarSelectImageItem), list);
  list->SetItemIndex(GetItemIndex());
  const bool chosen = form->ShowModal() == mrOk;
  // The window's loop may have freed the combo with its form.
  if (!self || !chosen)
    return false;
  SetItemIndex(list->GetItemIndex());
  return true;
}

// ---------------------------------------------------------------------------
// TdxBarImageComboControl

TdxBarImageCombo* TdxBarImageComboControl::GetImageCombo() const
{
  return dynamic_cast<TdxBarImageCombo*>(GetItem());
}

int TdxBarImageComboControl::GetHeight()
{
  int height = TdxBarComboControl::GetHeight();
  TdxBarImageCombo* combo = GetImageCombo();
  if (combo && combo->GetComboImages() && !IsTextRotated())
    height = std::max(height, combo->GetComboImages()->GetHeight() + dxBarComboControlImagePadding);
  return height;
}

void TdxBarImageComboControl::Refresh()
{
  // The images may change the control's height: the bar lays its controls out again.
  if (TCustomdxBarControl* bar = GetParent())
    bar->Rebuild();
}
