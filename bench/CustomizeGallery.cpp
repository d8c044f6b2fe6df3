// Opens the Customize dialog over a small program's bars in each of the five looks and saves a
// picture of each of its three pages, with the toolbar being customised behind it.
//
//   customize_gallery FOLDER   writes FOLDER\customize-<look>-<page>.bmp and prints each path
//
// The pictures are copied from the screen, so the program runs on a display of its own
// (scripts/gallery --customize).
#include <cstdio>

#include "bars/bar.h"
#include "bars/buttons.h"
#include "bars/dxBar.h"
#include "bars/subitems.h"
#include "platform/Bitmap.h"
#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/Win.h"

#include <shellapi.h>

namespace {

struct TLook {
  TdxBarManagerStyle Style;
  const wchar_t* Name;
};
constexpr TLook Looks[] = {{bmsStandard, L"standard"},
                           {bmsEnhanced, L"enhanced"},
                           {bmsFlat, L"flat"},
                           {bmsXP, L"xp"},
                           {bmsOffice11, L"office11"}};

struct TPage {
  const wchar_t* Component;
  const wchar_t* Name;
};
constexpr TPage Pages[] = {{L"tsToolbars", L"toolbars"}, {L"tsItems", L"commands"}, {L"tsOptions", L"options"}};

void Print(const String& AText)
{
  std::fputws((AText + L"\n").c_str(), stdout);
  std::fflush(stdout);
}

// Lets the windows take what was sent to them: timers, repaints.
void Settle(int AMilliseconds = 200)
{
  const DWORD end = GetTickCount() + DWORD(AMilliseconds);
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() < end);
}

// The dialog and the form behind it, as the screen shows them.
void SaveShot(HWND AForm, HWND ADialog, const String& AFileName)
{
  RECT r{}, d{};
  GetWindowRect(AForm, &r);
  GetWindowRect(ADialog, &d);
  UnionRect(&r, &r, &d);
  InflateRect(&r, 6, 6);
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(picture.GetCanvas()->GetHandle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  picture.SaveToFile(AFileName);
}

TdxBarButton* AddButton(TComponent* AOwner, const String& ACaption, int ACategory, const String& ADescription = L"")
{
  auto* button = new TdxBarButton(AOwner);
  button->SetCaption(ACaption);
  button->SetCategory(ACategory);
  button->SetDescription(ADescription);
  return button;
}

int Run(const String& AFolder)
{
  TCustomForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  form->SetCaption(L"Song Import");
  form->SetBounds(30, 30, 460, 200);
  auto* manager = new TdxBarManager(form);
  TStrings* categories = manager->GetCategories();
  categories->Add(L"File");
  categories->Add(L"Edit");
  categories->Add(L"Tools");
  TdxBar* menuBar = manager->GetBars()->Add();
  menuBar->SetCaption(L"Main Menu");
  menuBar->SetIsMainMenu(true);
  TdxBar* toolbar = manager->GetBars()->Add();
  toolbar->SetCaption(L"Import");
  TdxBar* tools = manager->GetBars()->Add();
  tools->SetCaption(L"Tools");
  auto* file = new TdxBarSubItem(form);
  file->SetCaption(L"&File");
  file->SetCategory(0);
  menuBar->GetItemLinks()->AddItem(file);
  for (const wchar_t* caption : {L"Add &Folder", L"Add &Files", L"&Remove", L"&Import"}) {
    TdxBarButton* button = AddButton(form, caption, 0, L"Adds songs to the import list.");
    toolbar->GetItemLinks()->AddItem(button);
    file->GetItemLinks()->AddItem(button);
  }
  for (const wchar_t* caption : {L"Cu&t", L"&Copy", L"&Paste", L"Select &All"})
    AddButton(form, caption, 1);
  for (const wchar_t* caption : {L"&Options...", L"&Tag Editor"})
    tools->GetItemLinks()->AddItem(AddButton(form, caption, 2));
  for (TdxBar* bar : {menuBar, toolbar, tools}) {
    bar->SetDockingStyle(dsTop);
    bar->SetVisible(true);
  }
  form->Show();
  Settle(400);
  manager->SetIsCustomizing(true);
  Settle(300);
  HWND dialog = manager->GetCustomizingFormHandle();
  auto* dialogForm = dialog ? dynamic_cast<TCustomForm*>(FindControl(dialog)) : nullptr;
  if (!dialogForm) {
    Print(L"error: the Customize dialog did not open");
    return 1;
  }
  // Beside the form, so that both show.
  SetWindowPos(dialog, nullptr, 500, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const TLook& look : Looks) {
    manager->SetStyle(look.Style);
    Settle(300);
    for (const TPage& page : Pages) {
      auto* sheet = dynamic_cast<TTabSheet*>(dialogForm->FindComponent(page.Component));
      if (!sheet || !sheet->GetPageControl()) {
        Print(String(L"error: the dialog has no page ") + page.Component);
        return 1;
      }
      sheet->GetPageControl()->SetActivePage(sheet);
      RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      Settle(300);
      const String name = AFolder + L"\\customize-" + look.Name + L"-" + page.Name + L".bmp";
      SaveShot(form->GetHandle(), dialog, name);
      Print(name);
    }
  }
  manager->SetIsCustomizing(false);
  Settle(200);
  form->Free();
  return 0;
}

}  // namespace

int main()
{
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  String folder = count > 1 ? String(args[1]) : String(L".");
  LocalFree(args);
  InitializeForms();
  dxBarInitialize();
  SetdxBarMenuSoundsEnabled(false);
  int result = 1;
  try {
    result = Run(folder);
  } catch (const Exception& e) {
    Print(L"error: " + e.Message());
  }
  dxBarFinalize();
  FinalizeForms();
  return result;
}
