// The name dialog for toolbars and categories.
#include "barcustomize/namedialog.h"

#include "barcustomize/dialogparts.h"
#include "bars/model/bar.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/manager.h"
#include "bars/utils/utils.h"

PUBLISHED(TdxBarNameEd, TForm)
{
  p.Method(L"ENameChange", &TdxBarNameEd::ENameChange);
  p.Method(L"FormCloseQuery", &TdxBarNameEd::FormCloseQuery);
}

namespace {

const TResStringRec& ModeCaption(bool AIsCategory, int AMode)
{
  if (AIsCategory)
    return AMode == 1 ? sdxBarInsertCategory : AMode == 2 ? sdxBarRenameCategory : sdxBarAddCategory;
  return AMode == 1 ? sdxBarRenameToolbar : sdxBarAddToolbar;
}

}  // namespace

TEdit* TdxBarNameEd::GetNameEdit() const
{
  return dxBarDialogPart<TEdit>(const_cast<TdxBarNameEd*>(this), L"EName");
}

TButton* TdxBarNameEd::GetOKButton() const
{
  return dxBarDialogPart<TButton>(const_cast<TdxBarNameEd*>(this), L"BOK");
}

void TdxBarNameEd::CreateParams(TCreateParams& Params)
{
  TForm::CreateParams(Params);
  if (FOwnerWindow && ::IsWindow(FOwnerWindow))
    Params.WndParent = FOwnerWindow;
}

void TdxBarNameEd::Prepare(const String& AName, bool AIsCategory, int AMode, TdxBar* ABar, TdxBarManager* AManager)
{
  FIsCategory = AIsCategory;
  FBar = ABar;
  FBarManager = AManager;
  FOwnerWindow = ::GetActiveWindow();
  if (AManager) {
    GetFont()->SetName(AManager->GetFont()->GetName());
    GetFont()->SetCharset(AManager->GetFont()->GetCharset());
  }
  SetCaption(GetResourceString(ModeCaption(AIsCategory, AMode)));
  dxBarDialogPart<TLabel>(this, L"LName")
      ->SetCaption(GetResourceString(AIsCategory ? sdxBarCategoryName : sdxBarToolbarName));
  GetOKButton()->SetCaption(GetResourceString(sdxBarOK));
  dxBarDialogPart<TButton>(this, L"BCancel")->SetCaption(GetResourceString(sdxBarCancel));
  GetNameEdit()->SetText(AName);
  // Setting the text reports a change only when it differs from the form data's empty one.
  ENameChange(nullptr);
}

void TdxBarNameEd::ENameChange(TObject*)
{
  GetOKButton()->SetEnabled(!GetNameEdit()->GetText().empty());
}

void TdxBarNameEd::FormCloseQuery(TObject*, bool& CanClose)
{
  TdxBarManager* manager = FBarManager.Get();
  if (GetModalResult() != mrOk || FIsCategory || !manager)
    return;
  const String name = GetNameEdit()->GetText();
  // Every bar is looked at, not only the first with the caption: two bars may share one
  // already, and the bar being renamed may be the first of them.
  TdxBars* bars = manager->GetBars();
  for (int i = 0; bars && i < bars->GetCount(); ++i) {
    TdxBar* bar = bars->GetItem(i);
    if (bar == FBar.Get() || bar->GetCaption() != name)
      continue;
    CanClose = false;
    ShowAppMessageBox(Format(GetResourceString(sdxBarToolbarNameExists), {name}), MB_OK | MB_ICONHAND);
    return;
  }
}

bool ShowNameEditDialog(String& AName, bool AIsCategory, int AMode, TdxBar* ABar, TdxBarManager* AManager)
{
  auto* dialog = TCustomForm::Create<TdxBarNameEd>(nullptr);
  TFinally free([dialog] { dialog->Free(); });
  dialog->Prepare(AName, AIsCategory, AMode, ABar, AManager);
  if (dialog->ShowModal() != mrOk)
    return false;
  AName = dialog->GetNameEdit()->GetText();
  return true;
}
