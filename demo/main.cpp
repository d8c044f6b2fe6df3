// The demo program: starts the class layer and the bar library, makes the main form from
// its form data and runs it. Switches:
//   --screenshot FILE  show the window, save a picture of it to FILE (BMP), print FILE, exit
//   --describe         after showing the window, print the flat selected colour, the bar
//                      font's text height and the screen rectangles of the client area,
//                      the top dock, the toolbar and the buttons, then "ready", then run
//   --startup-time     show the window, print the milliseconds from the start of main to the
//                      end of its first complete paint and the share of them spent making
//                      the main form from its form data, exit
#include <cstring>

#include "bars/barwindows/toolbar.h"
#include "demo/MainForm.h"
#include "demo/Output.h"
#include "platform/Win.h"

#include <shellapi.h>

namespace {

struct TOptions {
  String ScreenshotFile;
  bool Describe = false;
  bool StartupTime = false;
  String Error;
};

double Seconds()
{
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

// Start-up is measured from the first line of main.
double StartTime = 0;

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
    else if (arg == L"--startup-time")
      options.StartupTime = true;
    else
      options.Error = L"unknown argument: " + arg + L" (use --screenshot FILE, --describe or --startup-time)";
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

// Dispatches messages until no window of the thread has anything left to paint.
void PaintPending()
{
  MSG msg;
  while (GetQueueStatus(QS_ALLINPUT) & (QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

String MillisecondsText(double Seconds)
{
  return IntToStr(int(Seconds * 1e3 + 0.5));
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
  const double formStart = Seconds();
  Application->CreateForm(form);
  const double formSeconds = Seconds() - formStart;
  if (!form)
    throw Exception(L"the main form could not be made");
  if (Options.StartupTime) {
    form->Show();
    PaintPending();
    const double total = Seconds() - StartTime;
    WriteOutputLine(L"startup-ms: " + MillisecondsText(total));
    WriteOutputLine(L"form-data-ms: " + MillisecondsText(formSeconds) + L" (" +
                    IntToStr(int(formSeconds * 100 / total + 0.5)) + L"%)");
    return 0;
  }
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
  StartTime = Seconds();
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
