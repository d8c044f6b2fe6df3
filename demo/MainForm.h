// The demo's main window: the song-import tool's main form, read from its form data, with a
// flat bar manager and one toolbar of four large buttons at the top. The rest of the tool
// is not built here, so each command's handler only reports its click on standard output.
#pragma once

#include "barextras/dxBarExtItems.h"
#include "bars/dxBar.h"
#include "platform/Forms.h"
#include "platform/ImgList.h"

class TMainForm : public TForm {
  DECLARE_CLASS(TMainForm, TForm)
public:
  explicit TMainForm(TComponent* AOwner) : TForm(AOwner) {}

  // Handlers bound by name from the form data.
  void FormCreate(TObject* Sender);
  void AddClick(TObject* Sender) { ReportClick(Sender); }
  void AddFolderClick(TObject* Sender) { ReportClick(Sender); }
  void RemoveClick(TObject* Sender) { ReportClick(Sender); }
  void StartClick(TObject* Sender) { ReportClick(Sender); }

  TdxBarManager* GetBarManager() const;
  TImageList* GetLargeImages() const;
  // The toolbar the form data docks at the top; nil when the data holds none.
  TdxBar* GetCommandBar() const;

private:
  // Writes "clicked: <caption>" for the item that was clicked.
  void ReportClick(TObject* Sender);
  // Fills the large image list with the program's four pictures.
  void LoadLargeImages();
};

// The names of the picture resources, in image-index order.
extern const wchar_t* const DemoPictureResources[4];
