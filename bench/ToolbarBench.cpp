// Builds, lays out and paints a docked toolbar of 10, 100 and 1,000 buttons, with this library
// and with the system's native toolbar control side by side, and prints the time per button.
// Each figure is the median of several rounds; compare the two columns of one run only.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bars/dxBar.h"
#include "platform/Forms.h"
#include "platform/Win.h"

namespace {

double Now()
{
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

void PumpPending()
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Paints a window and its children now, as a shown window would be painted.
void PaintNow(HWND Wnd)
{
  RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

String ButtonCaption(int Index)
{
  return L"Button " + IntToStr(Index + 1);
}

// The library: a form with a manager, N buttons and one bar docked at the top showing them.
double LibraryRound(int Count)
{
  TCustomForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  form->SetBounds(0, 0, 800, 300);
  form->Show();
  PumpPending();

  const double start = Now();
  auto* manager = new TdxBarManager(form);
  manager->SetStyle(bmsFlat);
  TdxBar* bar = manager->GetBars()->Add();
  bar->SetDockingStyle(dsTop);
  TdxBarItemLinks* links = bar->GetItemLinks();
  links->BeginUpdate();
  for (int i = 0; i < Count; ++i) {
    auto* button = new TdxBarButton(form);
    button->SetCaption(ButtonCaption(i));
    button->SetPaintStyle(psCaption);
    links->AddItem(button);
  }
  links->EndUpdate();
  bar->SetVisible(true);
  PaintNow(form->GetHandle());
  const double elapsed = Now() - start;

  form->Free();
  PumpPending();
  return elapsed;
}

// The native toolbar control holding the same buttons, text only.
double NativeRound(int Count)
{
  TCustomForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  form->SetBounds(0, 0, 800, 300);
  form->Show();
  PumpPending();

  const double start = Now();
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_TOP | CCS_NODIVIDER, 0, 0, 0,
                                 0, form->GetHandle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  std::vector<String> captions(static_cast<size_t>(Count));
  std::vector<TBBUTTON> buttons(static_cast<size_t>(Count));
  for (int i = 0; i < Count; ++i) {
    captions[size_t(i)] = ButtonCaption(i);
    TBBUTTON& b = buttons[size_t(i)];
    b.iBitmap = I_IMAGENONE;
    b.idCommand = 1000 + i;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    b.iString = INT_PTR(captions[size_t(i)].c_str());
  }
  SendMessageW(toolbar, TB_ADDBUTTONSW, WPARAM(Count), LPARAM(buttons.data()));
  SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
  PaintNow(form->GetHandle());
  const double elapsed = Now() - start;

  form->Free();
  PumpPending();
  return elapsed;
}

double Median(std::vector<double> Values)
{
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

}  // namespace

int main()
{
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  InitializeForms();
  dxBarInitialize();

  std::printf("%8s %16s %16s %8s\n", "buttons", "library us/btn", "native us/btn", "ratio");
  for (int count : {10, 100, 1000}) {
    const int rounds = count >= 1000 ? 5 : 9;
    std::vector<double> library, native;
    // Alternate the two so that the machine's noise falls on both alike.
    for (int r = 0; r < rounds; ++r) {
      library.push_back(LibraryRound(count));
      native.push_back(NativeRound(count));
    }
    const double lib = Median(library) * 1e6 / count;
    const double nat = Median(native) * 1e6 / count;
    std::printf("%8d %16.2f %16.2f %8.2f\n", count, lib, nat, lib / nat);
    std::fflush(stdout);
  }
  dxBarFinalize();
  FinalizeForms();
  return 0;
}
