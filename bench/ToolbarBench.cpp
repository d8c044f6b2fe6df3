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
#include "bench/SystemCounters.h"
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
// The toolbar, library against native

TCustomForm* ShownForm()
{
  TCustomForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  form->SetBounds(0, 0, 800, 300);
  form->Show();
  PumpPending();
  return form;
}

// The form both kinds of round build on, shown once for all of them. A form made and freed
// per round leaves its window surface for the system to free later, when a cached device
// context that drew on it is next taken: traced, that fell into the library round's paint
// (the two previous rounds' surfaces unmapped and the form flushed to the display) and never
// into the native one, whose few device contexts the previous round had already moved on.
class TStage {
public:
  TStage() : FForm(ShownForm()) {}
  ~TStage() { FForm->Free(); }
  TCustomForm* Form() const { return FForm; }

private:
  TCustomForm* FForm;
};

// The library: a manager, N buttons and one bar docked at the top showing them, on the
// stage's form. Profiled, the profile covers the timed part only.
double LibraryRound(TCustomForm* Form, int Count, bool Profiled = false)
{
  if (Profiled)
    ProfileStart();
  const double start = Now();
  TdxBarManager* manager;
  TdxBar* bar;
  std::vector<TdxBarButton*> buttons;
  {
    TProfileScope phase(TProfilePhase::CreateItems);
    manager = new TdxBarManager(Form);
    manager->SetStyle(bmsFlat);
    bar = manager->GetBars()->Add();
    bar->SetDockingStyle(dsTop);
    buttons.reserve(size_t(Count));
    for (int i = 0; i < Count; ++i) {
      auto* button = new TdxBarButton(Form);
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
  PaintNow(Form->GetHandle());
  const double elapsed = Now() - start;
  if (Profiled)
    ProfileStop();

  for (TdxBarButton* button : buttons)
    button->Free();
  manager->Free();
  PumpPending();
  return elapsed;
}

// The native toolbar control holding the same buttons, text only, on the stage's form.
double NativeRound(TCustomForm* Form, int Count)
{
  const double start = Now();
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_TOP | CCS_NODIVIDER, 0, 0, 0,
                                 0, Form->GetHandle(), nullptr, GetModuleHandleW(nullptr), nullptr);
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
  PaintNow(Form->GetHandle());
  const double elapsed = Now() - start;

  DestroyWindow(toolbar);
  PumpPending();
  return elapsed;
}

void RatioTable()
{
  std::printf("Docked toolbar, build + lay out + paint, median per button\n");
  std::printf("%8s %16s %16s %8s\n", "buttons", "library us/btn", "native us/btn", "ratio");
  TStage stage;
  for (int count : {10, 100, 1000}) {
    const int rounds = count >= 1000 ? 7 : 11;
    std::vector<double> library, native;
    // Alternate the two so that the machine's noise falls on both alike.
    for (int r = 0; r < rounds; ++r) {
      library.push_back(LibraryRound(stage.Form(), count));
      native.push_back(NativeRound(stage.Form(), count));
    }
    const double lib = Median(library) * 1e6 / count;
    const double nat = Median(native) * 1e6 / count;
    std::printf("%8d %16.2f %16.2f %8.2f\n", count, lib, nat, lib / nat);
    std::fflush(stdout);
  }
}

// ---------------------------------------------------------------------------
// Phases

void PhaseTable()
{
  hooks::Install();
  TStage stage;
  for (int count : {10, 100, 1000}) {
    const String title =
        L"Phases at " + IntToStr(count) + L" buttons (median us per button; system requests per button)";
    PrintPhaseTable(title, count >= 1000 ? 7 : 11, count, [&] { LibraryRound(stage.Form(), count, true); });
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

// The native counterpart: toolbar controls of one button each made one after another on a
// shown form, each on a row of its own below the others.
TComponent* NativeToolbarsOnAForm(int Count)
{
  TCustomForm* form = ShownForm();
  int top = 0;
  for (int i = 0; i < Count; ++i) {
    HWND toolbar =
        CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, top,
                        0, 0, form->GetHandle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    const String caption = ButtonCaption(i);
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = 1000 + i;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    button.iString = INT_PTR(caption.c_str());
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, LPARAM(&button));
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    RECT r{};
    GetWindowRect(toolbar, &r);
    SetWindowPos(toolbar, nullptr, 0, top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    top += r.bottom - r.top;
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
      {"native toolbars on a form", NativeToolbarsOnAForm},
      {"bars from form data", [](int n) { return BarsFromFormData(BarsFormData(n)); }},
  };
  std::printf(
      "\nGrowth: making and freeing N of a kind under one owner (ms; x = time over the previous N;\n"
      "us/one = making time per one)\n");
  std::printf("%-26s %6s %10s %6s %9s %10s %6s\n", "kind", "N", "make ms", "x", "us/one", "free ms", "x");
  for (TSeries& s : series) {
    double lastMake = 0, lastFree = 0;
    for (int n : Sizes) {
      if (s.Over) {
        std::printf("%-26s %6d %10s %6s %9s %10s %6s\n", s.Name, n, "skipped", "", "", "skipped", "");
        continue;
      }
      auto [make, free] = TimeMakeAndFree([&] { return s.Make(n); });
      const double each = make * 1e3 / n;
      if (lastMake > 0)
        std::printf("%-26s %6d %10.1f %6.2f %9.1f %10.1f %6.2f\n", s.Name, n, make, make / lastMake, each, free,
                    free / lastFree);
      else
        std::printf("%-26s %6d %10.1f %6s %9.1f %10.1f %6s\n", s.Name, n, make, "", each, free, "");
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
