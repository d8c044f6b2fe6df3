// The demo's main window made with the system's own controls: the same frame, caption and
// size, and a native toolbar with the same four 32 x 32 pictures and captions. Run with
// --startup-time it prints what the demo prints: the milliseconds from the start of main to
// the end of its first complete paint, so that the two can be compared in one run
// (scripts/bench --startup).
#include <cstdio>
#include <cwchar>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

namespace {

double Seconds()
{
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

const wchar_t* const Pictures[4] = {L"DEMOADD", L"DEMOADDFOLDER", L"DEMOREMOVE", L"DEMOSTART"};
const wchar_t* const Captions[4] = {L"Add", L"Add Folder", L"Remove", L"Start!"};

LRESULT CALLBACK MainProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  switch (Msg) {
    case WM_SIZE:
      // The toolbar keeps to the top edge and the window's width.
      if (HWND toolbar = GetDlgItem(Wnd, 1))
        SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(Wnd, Msg, WParam, LParam);
  }
}

// The four pictures, each masked by its bottom-left pixel as the demo masks them.
HIMAGELIST LoadPictures(HINSTANCE Instance)
{
  HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 4, 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  for (const wchar_t* name : Pictures) {
    auto* picture = static_cast<HBITMAP>(LoadImageW(Instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!picture)
      continue;
    BITMAP info{};
    GetObjectW(picture, sizeof(info), &info);
    HGDIOBJ old = SelectObject(dc, picture);
    COLORREF background = GetPixel(dc, 0, info.bmHeight - 1);
    SelectObject(dc, old);
    ImageList_AddMasked(images, picture, background);
    DeleteObject(picture);
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return images;
}

HWND MakeToolbar(HWND Parent, HINSTANCE Instance, HIMAGELIST Images)
{
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_TOP, 0, 0, 0,
                                 0, Parent, reinterpret_cast<HMENU>(1), Instance, nullptr);
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Images));
  SendMessageW(toolbar, TB_SETBUTTONWIDTH, 0, MAKELPARAM(60, 200));
  TBBUTTON buttons[5] = {};
  int at = 0;
  for (int i = 0; i < 4; ++i) {
    if (i == 3) {
      buttons[at].fsStyle = BTNS_SEP;
      ++at;
    }
    TBBUTTON& b = buttons[at++];
    b.iBitmap = i;
    b.idCommand = 100 + i;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON;
    b.iString = reinterpret_cast<INT_PTR>(Captions[i]);
  }
  SendMessageW(toolbar, TB_ADDBUTTONSW, at, reinterpret_cast<LPARAM>(buttons));
  SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
  return toolbar;
}

// A windowed program's standard output, as the demo writes it.
void WriteLine(const char* Text, int Length)
{
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  if (out && out != INVALID_HANDLE_VALUE && Length > 0)
    WriteFile(out, Text, DWORD(Length), &written, nullptr);
}

// Dispatches messages until no window of the thread has anything left to paint: the demo's
// own test of a complete first paint.
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

}  // namespace

int main()
{
  const double start = Seconds();
  bool startupTime = false;
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; args && i < count; ++i) {
    if (std::wcscmp(args[i], L"--startup-time") == 0)
      startupTime = true;
    else {
      char line[] = "unknown argument; use --startup-time\n";
      WriteLine(line, int(sizeof(line) - 1));
      LocalFree(args);
      return 2;
    }
  }
  LocalFree(args);

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"NativeStartupMain";
  RegisterClassExW(&wc);
  HWND main = CreateWindowExW(0, wc.lpszClassName, L"Song Import", WS_OVERLAPPEDWINDOW, 120, 80, 560, 360, nullptr,
                              nullptr, instance, nullptr);
  HIMAGELIST images = LoadPictures(instance);
  MakeToolbar(main, instance, images);
  ShowWindow(main, SW_SHOWNORMAL);
  PaintPending();
  if (startupTime) {
    char line[64];
    WriteLine(line, std::snprintf(line, sizeof(line), "startup-ms: %d\n", int((Seconds() - start) * 1e3 + 0.5)));
    DestroyWindow(main);
    ImageList_Destroy(images);
    return 0;
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ImageList_Destroy(images);
  return 0;
}
