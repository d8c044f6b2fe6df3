// The demo's main window.
#include "demo/MainForm.h"

#include "demo/Output.h"

const wchar_t* const DemoPictureResources[4] = {L"DEMOADD", L"DEMOADDFOLDER", L"DEMOREMOVE", L"DEMOSTART"};

PUBLISHED(TMainForm, TForm)
{
  p.Method(L"FormCreate", &TMainForm::FormCreate);
  p.Method(L"AddClick", &TMainForm::AddClick);
  p.Method(L"AddFolderClick", &TMainForm::AddFolderClick);
  p.Method(L"RemoveClick", &TMainForm::RemoveClick);
  p.Method(L"StartClick", &TMainForm::StartClick);
}

void TMainForm::FormCreate(TObject* Sender)
{
  LoadLargeImages();
}

TdxBarManager* TMainForm::GetBarManager() const
{
  return dynamic_cast<TdxBarManager*>(FindComponent(L"BarManager"));
}

TImageList* TMainForm::GetLargeImages() const
{
  return dynamic_cast<TImageList*>(FindComponent(L"LargeImages"));
}

TdxBar* TMainForm::GetCommandBar() const
{
  TdxBarManager* manager = GetBarManager();
  if (!manager || manager->GetBars()->GetCount() == 0)
    return nullptr;
  return manager->GetBars()->GetItem(0);
}

void TMainForm::ReportClick(TObject* Sender)
{
  auto* item = dynamic_cast<TdxBarItem*>(Sender);
  WriteOutputLine(L"clicked: " + (item ? item->GetCaption() : String(L"?")));
}

void TMainForm::LoadLargeImages()
{
  TImageList* images = GetLargeImages();
  if (!images)
    return;
  images->BeginUpdate();
  images->Clear();
  for (const wchar_t* name : DemoPictureResources) {
    TBitmap picture;
    picture.LoadFromResourceName(0, name);
    // The bottom-left pixel is each picture's background.
    images->AddMasked(&picture, clDefault);
  }
  images->EndUpdate();
}
