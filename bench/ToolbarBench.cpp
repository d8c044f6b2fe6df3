// Builds, lays out and paints a docked toolbar of 10, 100 and 1,000 buttons, with this library
// and with the system's native toolbar control side by side, and prints the time per button;
// then where the library's time goes, phase by phase, with what each phase asks of the
// system; then how creating and freeing components, items and bars grows with their number.
// Each figure is the median of several rounds; compare the columns of one run only.
//
//   toolbar_bench [--ratio] [--phases] [--scale] [--budget SECONDS] [--sizes N,N,...]
//
// With no switch every table is printed. A scale row whose time passes the budget (default
// 60 s) ends its series: the larger counts are shown as skipped.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "bars/dxBar.h"
#include "bench/BenchTiming.h"
#include "platform/Forms.h"
#include "platform/Profile.h"
#include "platform/Win.h"

#include <shellapi.h>
#include <uxtheme.h>

namespace {

// Paints a window and its children now, as a shown window would be painted.
void PaintNow(HWND Wnd)
{
  TProfileScope phase(TProfilePhase::Paint);
  RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

String ButtonCaption(int Index)
{
  return L"Button " + IntToStr(Index + 1);
}

// ---------------------------------------------------------------------------
// What the library asks of the system, counted at this program's own imports: every call the
// library makes to gdi32, user32 and uxtheme passes there, the native control's calls do not.

namespace hooks {

// Replaces the import Name of Dll in this program's import table with Hook; the original
// entry goes to Original. False when the program does not import it.
bool Patch(const char* Dll, const char* Name, void* Hook, void** Original)
{
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress)
    return false;
  bool found = false;
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (_stricmp(reinterpret_cast<char*>(base + imp->Name), Dll) != 0)
      continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
        continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), Name) != 0)
        continue;
      DWORD old = 0;
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
      *Original = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(Hook);
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
      found = true;
    }
  }
  return found;
}

// One counting replacement per imported function: F is the function's type, R1 and R2 what
// a call counts as (R2 may repeat R1 to count once).
template <auto& Slot, TSystemRequest R1, TSystemRequest R2, class F>
struct TCounter;

template <auto& Slot, TSystemRequest R1, TSystemRequest R2, class Ret, class... Args>
struct TCounter<Slot, R1, R2, Ret(WINAPI*)(Args...)> {
  static Ret WINAPI Call(Args... args)
  {
    ProfileCount(R1);
    if (R2 != R1)
      ProfileCount(R2);
    return Slot(args...);
  }
};

#define COUNT_IMPORT(Dll, Name, R1, R2)                                                                    \
  decltype(&::Name) Name##Original = nullptr;                                                              \
  void Install##Name()                                                                                     \
  {                                                                                                        \
    Patch(Dll, #Name,                                                                                      \
          reinterpret_cast<void*>(                                                                         \
              &TCounter<Name##Original, TSystemRequest::R1, TSystemRequest::R2, decltype(&::Name)>::Call), \
          reinterpret_cast<void**>(&Name##Original));                                                      \
  }

COUNT_IMPORT("gdi32.dll", CreateFontIndirectW, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateSolidBrush, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateBrushIndirect, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreatePatternBrush, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateHatchBrush, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreatePen, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreatePenIndirect, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", ExtCreatePen, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateRectRgn, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateRectRgnIndirect, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateRoundRectRgn, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreatePolygonRgn, GdiObject, GdiObject)
COUNT_IMPORT("gdi32.dll", CreateCompatibleBitmap, GdiObject, Bitmap)
COUNT_IMPORT("gdi32.dll", CreateDIBSection, GdiObject, Bitmap)
COUNT_IMPORT("gdi32.dll", CreateBitmap, GdiObject, Bitmap)
COUNT_IMPORT("gdi32.dll", CreateDIBitmap, GdiObject, Bitmap)
COUNT_IMPORT("gdi32.dll", CreateCompatibleDC, DeviceContext, DeviceContext)
COUNT_IMPORT("user32.dll", GetDC, DeviceContext, DeviceContext)
COUNT_IMPORT("user32.dll", GetDCEx, DeviceContext, DeviceContext)
COUNT_IMPORT("user32.dll", GetWindowDC, DeviceContext, DeviceContext)
COUNT_IMPORT("user32.dll", BeginPaint, DeviceContext, DeviceContext)
COUNT_IMPORT("gdi32.dll", GetTextExtentPoint32W, TextMeasured, TextMeasured)
COUNT_IMPORT("gdi32.dll", GetTextExtentExPointW, TextMeasured, TextMeasured)
COUNT_IMPORT("uxtheme.dll", GetThemeTextExtent, TextMeasured, TextMeasured)

#undef COUNT_IMPORT

// Fonts selected and texts measured by DrawText need a look at the arguments.
decltype(&::SelectObject) SelectObjectOriginal = nullptr;
HGDIOBJ WINAPI SelectObjectCounting(HDC DC, HGDIOBJ Object)
{
  if (Object && GetObjectType(Object) == OBJ_FONT)
    ProfileCount(TSystemRequest::FontSelected);
  return SelectObjectOriginal(DC, Object);
}

decltype(&::DrawTextW) DrawTextWOriginal = nullptr;
int WINAPI DrawTextWCounting(HDC DC, LPCWSTR Text, int Length, LPRECT Rect, UINT Format)
{
  if (Format & DT_CALCRECT)
    ProfileCount(TSystemRequest::TextMeasured);
  return DrawTextWOriginal(DC, Text, Length, Rect, Format);
}

decltype(&::DrawTextExW) DrawTextExWOriginal = nullptr;
int WINAPI DrawTextExWCounting(HDC DC, LPWSTR Text, int Length, LPRECT Rect, UINT Format, LPDRAWTEXTPARAMS Params)
{
  if (Format & DT_CALCRECT)
    ProfileCount(TSystemRequest::TextMeasured);
  return DrawTextExWOriginal(DC, Text, Length, Rect, Format, Params);
}

void Install()
{
  for (auto install : {InstallCreateFontIndirectW,
                       InstallCreateSolidBrush,
                       InstallCreateBrushIndirect,
                       InstallCreatePatternBrush,
                       InstallCreateHatchBrush,
                       InstallCreatePen,
                       InstallCreatePenIndirect,
                       InstallExtCreatePen,
                       InstallCreateRectRgn,
                       InstallCreateRectRgnIndirect,
                       InstallCreateRoundRectRgn,
                       InstallCreatePolygonRgn,
                       InstallCreateCompatibleBitmap,
                       InstallCreateDIBSection,
                       InstallCreateBitmap,
                       InstallCreateDIBitmap,
                       InstallCreateCompatibleDC,
                       InstallGetDC,
                       InstallGetDCEx,
                       InstallGetWindowDC,
                       InstallBeginPaint,
                       InstallGetTextExtentPoint32W,
                       InstallGetTextExtentExPointW,
                       InstallGetThemeTextExtent})
    install();
  Patch("gdi32.dll", "SelectObject", reinterpret_cast<void*>(&SelectObjectCounting),
        reinterpret_cast<void**>(&SelectObjectOriginal));
  Patch("user32.dll", "DrawTextW", reinterpret_cast<void*>(&DrawTextWCounting),
        reinterpret_cast<void**>(&DrawTextWOriginal));
  Patch("user32.dll", "DrawTextExW", reinterpret_cast<void*>(&DrawTextExWCounting),
        reinterpret_cast<void**>(&DrawTextExWOriginal));
}

}  // namespace hooks

// ---------------------------------------------------------------------------
// The toolbar, library against native

TCustomForm* ShownForm()
{
  TCustomForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  form->SetBounds(0, 0, 800, 300);
  form->Show();
  PumpPending();
  return form;
}

// The library: a form with a manager, N buttons and one bar docked at the top showing them.
double LibraryRound(int Count)
{
  TCustomForm* form = ShownForm();
  const double start = Now();
  TdxBar* bar;
  std::vector<TdxBarButton*> buttons;
  {
    TProfileScope phase(TProfilePhase::CreateItems);
    auto* manager = new TdxBarManager(form);
    manager->SetStyle(bmsFlat);
    bar = manager->GetBars()->Add();
    bar->SetDockingStyle(dsTop);
    buttons.reserve(size_t(Count));
    for (int i = 0; i < Count; ++i) {
      auto* button = new TdxBarButton(form);
      button->SetCaption(ButtonCaption(i));
      button->SetPaintStyle(psCaption);
      buttons.push_back(button);
    }
  }
  {
    TProfileScope phase(TProfilePhase::AddLinks);
    TdxBarItemLinks* links = bar->GetItemLinks();
    links->BeginUpdate();
    for (TdxBarButton* button : buttons)
      links->AddItem(button);
    links->EndUpdate();
  }
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
  TCustomForm* form = ShownForm();
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

void RatioTable()
{
  std::printf("Docked toolbar, build + lay out + paint, median per button\n");
  std::printf("%8s %16s %16s %8s\n", "buttons", "library us/btn", "native us/btn", "ratio");
  for (int count : {10, 100, 1000}) {
    const int rounds = count >= 1000 ? 7 : 11;
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
}

// ---------------------------------------------------------------------------
// Phases

const char* const PhaseNames[] = {"other (windows, docking)",
                                  "creating items",
                                  "adding links",
                                  "creating item controls",
                                  "measuring",
                                  "laying out",
                                  "painting"};

void PhaseTable()
{
  constexpr int PhaseCount = int(TProfilePhase::Count);
  constexpr int RequestCount = int(TSystemRequest::Count);
  hooks::Install();
  for (int count : {10, 100, 1000}) {
    const int rounds = count >= 1000 ? 7 : 11;
    std::vector<std::vector<double>> times(PhaseCount);
    TProfileFigures last;
    for (int r = 0; r < rounds; ++r) {
      ProfileStart();
      LibraryRound(count);
      ProfileStop();
      last = ProfileFigures();
      for (int p = 0; p < PhaseCount; ++p)
        times[size_t(p)].push_back(last.Seconds[p]);
    }
    std::printf("\nPhases at %d buttons (median us per button; system requests per button)\n", count);
    std::printf("%-26s %9s %9s %9s %9s %9s %9s\n", "phase", "us/btn", "GDI objs", "DCs", "font sel", "texts",
                "bitmaps");
    double total = 0;
    uint64_t totals[RequestCount] = {};
    for (int p = 1; p <= PhaseCount; ++p) {
      const int phase = p % PhaseCount;  // "other" last
      const double us = Median(times[size_t(phase)]) * 1e6 / count;
      total += us;
      std::printf("%-26s %9.2f", PhaseNames[phase], us);
      for (int q = 0; q < RequestCount; ++q) {
        totals[q] += last.Requests[phase][q];
        std::printf(" %9.3f", double(last.Requests[phase][q]) / count);
      }
      std::printf("\n");
    }
    std::printf("%-26s %9.2f", "total", total);
    for (int q = 0; q < RequestCount; ++q)
      std::printf(" %9.3f", double(totals[q]) / count);
    std::printf("\n");
    std::fflush(stdout);
  }
}

// ---------------------------------------------------------------------------
// Growth with the number of components, items and bars

// Times Make (which builds and returns the root to free) and the root's freeing, in ms.
template <class F>
std::pair<double, double> TimeMakeAndFree(F Make)
{
  const double start = Now();
  TComponent* root = Make();
  PumpPending();
  const double made = Now();
  root->Free();
  PumpPending();
  return {(made - start) * 1e3, (Now() - made) * 1e3};
}

TComponent* PlainComponents(int Count)
{
  auto* owner = new TComponent(nullptr);
  for (int i = 0; i < Count; ++i)
    new TComponent(owner);
  return owner;
}

TComponent* NamedComponents(int Count)
{
  auto* owner = new TComponent(nullptr);
  for (int i = 0; i < Count; ++i)
    (new TComponent(owner))->SetName(L"Component" + IntToStr(i + 1));
  return owner;
}

TComponent* ItemsOnAForm(int Count)
{
  TCustomForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  auto* manager = new TdxBarManager(form);
  for (int i = 0; i < Count; ++i) {
    auto* button = new TdxBarButton(form);
    button->SetCaption(ButtonCaption(i));
  }
  (void)manager;
  return form;
}

// Bars of one button each, docked one after another on the form's top dock site, each on a
// row of its own below the others (as the form data below places them).
TComponent* BarsOnOneDockSite(int Count)
{
  TCustomForm* form = ShownForm();
  auto* manager = new TdxBarManager(form);
  for (int i = 0; i < Count; ++i) {
    TdxBar* bar = manager->GetBars()->Add();
    bar->SetDockingStyle(dsTop);
    bar->SetRow(i);
    auto* button = new TdxBarButton(form);
    button->SetCaption(ButtonCaption(i));
    bar->GetItemLinks()->AddItem(button);
    bar->SetVisible(true);
  }
  PaintNow(form->GetHandle());
  return form;
}

// The same bars, read from form data.
String BarsFormData(int Count)
{
  String text =
      L"object BarsForm: TForm\n  Left = 0\n  Top = 0\n  Width = 800\n  Height = 600\n"
      L"  object BarManager: TdxBarManager\n    Style = bmsFlat\n";
  for (int i = 0; i < Count; ++i) {
    String n = IntToStr(i + 1);
    text += L"    object Bar" + n + L": TdxBar\n      Caption = 'Bar " + n +
            L"'\n      DockingStyle = dsTop\n      DockedLeft = 0\n      DockedTop = 0\n      Row = " + IntToStr(i) +
            L"\n      ItemLinks = <\n        item\n          Visible = True\n          ItemName = 'Button" + n +
            L"'\n        end>\n      Visible = True\n    end\n";
  }
  for (int i = 0; i < Count; ++i) {
    String n = IntToStr(i + 1);
    text += L"    object Button" + n + L": TdxBarButton\n      Caption = 'Button " + n +
            L"'\n      Category = 0\n      Visible = ivAlways\n    end\n";
  }
  return text + L"  end\nend\n";
}

TComponent* BarsFromFormData(const String& Text)
{
  TCustomForm* form = TCustomForm::CreateFromText<TForm>(Text, nullptr);
  form->Show();
  PaintNow(form->GetHandle());
  return form;
}

void ScaleTable(double BudgetSeconds, const std::vector<int>& Sizes)
{
  struct TSeries {
    const char* Name;
    std::function<TComponent*(int)> Make;
    bool Over = false;
  };
  std::vector<TSeries> series = {
      {"plain components", PlainComponents},
      {"named components", NamedComponents},
      {"items on a form", ItemsOnAForm},
      {"bars on one dock site", BarsOnOneDockSite},
      {"bars from form data", [](int n) { return BarsFromFormData(BarsFormData(n)); }},
  };
  std::printf("\nGrowth: making and freeing N of a kind under one owner (ms; x = time over the previous N)\n");
  std::printf("%-24s %6s %10s %6s %10s %6s\n", "kind", "N", "make ms", "x", "free ms", "x");
  for (TSeries& s : series) {
    double lastMake = 0, lastFree = 0;
    for (int n : Sizes) {
      if (s.Over) {
        std::printf("%-24s %6d %10s %6s %10s %6s\n", s.Name, n, "skipped", "", "skipped", "");
        continue;
      }
      auto [make, free] = TimeMakeAndFree([&] { return s.Make(n); });
      if (lastMake > 0)
        std::printf("%-24s %6d %10.1f %6.2f %10.1f %6.2f\n", s.Name, n, make, make / lastMake, free, free / lastFree);
      else
        std::printf("%-24s %6d %10.1f %6s %10.1f %6s\n", s.Name, n, make, "", free, "");
      std::fflush(stdout);
      lastMake = make;
      lastFree = free;
      s.Over = (make + free) / 1e3 > BudgetSeconds;
    }
  }
}

}  // namespace

int main()
{
  bool ratio = false, phases = false, scale = false;
  double budget = 60;
  std::vector<int> sizes = {1000, 2000, 4000};
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; args && i < count; ++i) {
    String arg = args[i];
    if (arg == L"--ratio")
      ratio = true;
    else if (arg == L"--phases")
      phases = true;
    else if (arg == L"--scale")
      scale = true;
    else if (arg == L"--budget" && i + 1 < count)
      budget = _wtof(args[++i]);
    else if (arg == L"--sizes" && i + 1 < count) {
      sizes.clear();
      for (const wchar_t* p = args[++i]; *p;) {
        wchar_t* end = nullptr;
        long n = wcstol(p, &end, 10);
        if (end == p || n <= 0)
          break;
        sizes.push_back(int(n));
        p = *end == L',' ? end + 1 : end;
      }
      scale = true;
    } else {
      std::printf("unknown argument; use --ratio, --phases, --scale, --budget SECONDS, --sizes N,N,...\n");
      return 2;
    }
  }
  LocalFree(args);
  if (!ratio && !phases && !scale)
    ratio = phases = scale = true;

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  InitializeForms();
  dxBarInitialize();
  RegisterClasses({TForm::StaticClass(), TdxBarButton::StaticClass()});

  if (ratio)
    RatioTable();
  if (phases)
    PhaseTable();
  if (scale)
    ScaleTable(budget, sizes.empty() ? std::vector<int>{1000} : sizes);
  dxBarFinalize();
  FinalizeForms();
  return 0;
}
