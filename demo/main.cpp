// The demo program: starts the class layer and the bar library, makes the main form from
// its form data and runs it. Switches:
//   --screenshot FILE  show the window, save a picture of it to FILE (BMP), print FILE, exit
//   --describe         after showing the window, print the flat selected colour, the bar
//                      font's text height and the screen rectangles of the client area,
//                      the top dock, the toolbar and the buttons, then "ready", then run
#include <cstring>

#include "bars/toolbar.h"
#include "demo/MainForm.h"
#include "demo/Output.h"
#include "platform/Win.h"

#include <shellapi.h>

namespace {

struct TOptions {
  String ScreenshotFile;
  bool Describe = false;
  String Error;
};

TOptions ParseOptions()
{
  TOptions options;
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args)
    return options;
  for (int i = 1; i < count; ++i) {
    String arg = args[i];
    if (arg == L"--screenshot" && i + 1 < count)
      options.ScreenshotFile = args[++i];
    else if (arg == L"--describe")
      options.Describe = true;
    else
      options.Error = L"unknown argument: " + arg + L" (use --screenshot FILE or --describe)";
  }
  LocalFree(args);
  return options;
}

// Paints the form and its children now and lets the painting messages through.
void PaintNow(TCustomForm* Form)
{
  HWND wnd = Form->GetHandle();
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int i = 0; i < 10; ++i) {
    Application->ProcessMessages();
    Sleep(20);
  }
}

String RectText(const RECT& R)
{
  return IntToStr(R.left) + L" " + IntToStr(R.top) + L" " + IntToStr(R.right) + L" " + IntToStr(R.bottom);
}

void Describe(TMainForm* Form)
{
  TdxBarManager* manager = Form->GetBarManager();
  TdxBar* bar = Form->GetCommandBar();
  if (!manager || !bar)
    throw Exception(L"the main form has no bar manager or no toolbar");
  COLORREF selected = COLORREF(ColorToRGB(manager->GetFlatSelectedColor()));
  WriteOutputLine(L"selected-colour: " + IntToStr(GetRValue(selected)) + L" " + IntToStr(GetGValue(selected)) + L" " +
                  IntToStr(GetBValue(selected)));
  RECT client{};
  GetClientRect(Form->GetHandle(), &client);
  MapWindowPoints(Form->GetHandle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  WriteOutputLine(L"client: " + RectText(client));
  // The text height the large buttons' layout takes ("Qq" in the bar font).
  HDC dc = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, manager->GetFont()->GetHandle());
  SIZE text{};
  GetTextExtentPoint32W(dc, L"Qq", 2, &text);
  SelectObject(dc, oldFont);
  ReleaseDC(nullptr, dc);
  WriteOutputLine(L"text-height: " + IntToStr(text.cy));
  if (TdxDockControl* dock = manager->GetBars()->GetDockControl(dsTop); dock && dock->HandleAllocated()) {
    RECT r{};
    GetWindowRect(dock->GetHandle(), &r);
    WriteOutputLine(L"dock: " + RectText(r));
  }
  TdxBarControl* control = bar->GetControl();
  if (!control || !control->HandleAllocated())
    throw Exception(L"the toolbar has no window");
  RECT toolbar{};
  GetWindowRect(control->GetHandle(), &toolbar);
  WriteOutputLine(L"toolbar: " + RectText(toolbar));
  TdxBarItemLinks* links = bar->GetItemLinks();
  for (int i = 0; i < links->Count(); ++i) {
    TdxBarItemLink* link = links->Items(i);
    RECT r = link->GetItemRect();
    MapWindowPoints(control->GetHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    String caption = link->GetItem() ? link->GetItem()->GetCaption() : String();
    WriteOutputLine(L"button: " + RectText(r) + L" " + caption);
  }
  WriteOutputLine(L"ready");
}

// Copies the window's screen pixels: on the demo's own display nothing covers it.
void SaveScreenshot(TCustomForm* Form, const String& FileName)
{
  RECT r{};
  GetWindowRect(Form->GetHandle(), &r);
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(picture.GetCanvas()->GetHandle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  picture.SaveToFile(FileName);
}

int RunDemo(const TOptions& Options)
{
  Application->Initialize();
  Application->SetTitle(L"Song Import");
  TMainForm* form = nullptr;
  Application->CreateForm(form);
  if (!form)
    throw Exception(L"the main form could not be made");
  if (!Options.ScreenshotFile.empty()) {
    form->Show();
    PaintNow(form);
    SaveScreenshot(form, Options.ScreenshotFile);
    WriteOutputLine(Options.ScreenshotFile);
    return 0;
  }
  if (Options.Describe) {
    form->Show();
    PaintNow(form);
    Describe(form);
  }
  Application->Run();
  return 0;
}

}  // namespace

int main()
{
  TOptions options = ParseOptions();
  if (!options.Error.empty()) {
    WriteOutputLine(options.Error);
    return 2;
  }
  int result = 1;
  InitializeForms();
  dxBarInitialize();
  // The classes the main form's data names that the libraries do not register themselves.
  RegisterClasses({TMainForm::StaticClass(), TImageList::StaticClass(), TdxBarManager::StaticClass()});
  try {
    result = RunDemo(options);
  } catch (const Exception& e) {
    WriteOutputLine(L"error: " + e.Message());
  } catch (const std::exception& e) {
    WriteOutputLine(L"error: " + String(e.what(), e.what() + strlen(e.what())));
  }
  dxBarFinalize();
  FinalizeForms();
  return result;
}
