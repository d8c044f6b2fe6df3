// The realistic bar form and the read-show-paint-free checker of the damaged-form tests.
#include "FuzzTestUtil.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/Bitmap.h"
#include "platform/Dialogs.h"
#include "platform/GraphicsObjects.h"
#include "platform/ImgList.h"
#include "support/Pump.h"

namespace {

// --- Images

// The "Bitmap = {...}" lines of an image list holding ACount squares of ASize pixels, as
// form data writes them (indented for a child of the form).
String ImageListData(int ASize, int ACount)
{
  TImageList images(nullptr);
  images.SetSize(ASize, ASize);
  for (int i = 0; i < ACount; ++i) {
    TBitmap square;
    square.SetPixelFormat(pf24bit);
    square.SetSize(ASize, ASize);
    square.GetCanvas()->GetBrush()->SetColor(clFuchsia);
    square.GetCanvas()->FillRect(Rect(0, 0, ASize, ASize));
    square.GetCanvas()->GetBrush()->SetColor(TColor(RGB(40 * i, 0, 255 - 40 * i)));
    square.GetCanvas()->FillRect(Rect(2, 2, ASize - 2, ASize - 2));
    images.AddMasked(&square, clFuchsia);
  }
  images.SetName(L"Images");
  String text = ComponentToText(&images);
  size_t start = text.find(L"  Bitmap = {");
  size_t end = text.find(L'}', start);
  if (start == String::npos || end == String::npos)
    return String();
  // One level deeper than a root's properties.
  String block = text.substr(start, end + 1 - start), indented;
  for (wchar_t c : block) {
    indented += c;
    if (c == L'\n')
      indented += L"  ";
  }
  return L"  " + indented + L"\n";
}

String Link(const String& AName, bool ABeginGroup = false)
{
  return String(L"        item\n") + (ABeginGroup ? L"          BeginGroup = True\n" : L"") +
         L"          Visible = True\n          ItemName = '" + AName + L"'\n        end";
}

// --- Time limit and crash reports

std::mutex LabelLock;
std::string CurrentLabel;
std::atomic<ULONGLONG> Deadline{0};
LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = nullptr;

void PrintCurrentCase(const char* AWhat)
{
  std::lock_guard<std::mutex> lock(LabelLock);
  std::fprintf(stderr, "%s in damaged-form case: %s\n", AWhat, CurrentLabel.c_str());
  std::fflush(stderr);
}

LONG WINAPI ReportCase(EXCEPTION_POINTERS* Info)
{
  PrintCurrentCase("crash");
  return PreviousFilter ? PreviousFilter(Info) : EXCEPTION_CONTINUE_SEARCH;
}

DWORD WINAPI Watchdog(void*)
{
  for (;;) {
    Sleep(200);
    ULONGLONG deadline = Deadline.load();
    if (deadline != 0 && GetTickCount64() > deadline) {
      PrintCurrentCase("hang");
      TerminateProcess(GetCurrentProcess(), 4);
    }
  }
}

void StartWatchdogOnce()
{
  static bool started = false;
  if (started)
    return;
  started = true;
  PreviousFilter = SetUnhandledExceptionFilter(ReportCase);
  if (HANDLE thread = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr))
    CloseHandle(thread);
}

void PaintNow(TWinControl* AControl)
{
  if (!AControl || !AControl->HandleAllocated())
    return;
  AControl->Repaint();
  UpdateWindow(AControl->GetHandle());
}

}  // namespace

void PaintAll(TFuzzForm* AForm)
{
  PaintNow(AForm);
  for (int i = 0; i < AForm->ComponentCount(); ++i) {
    TComponent* component = AForm->Components(i);
    if (auto* dock = dynamic_cast<TdxBarDockControl*>(component))
      PaintNow(dock);
    else if (auto* manager = dynamic_cast<TdxBarManager*>(component))
      for (int j = 0; j < manager->GetBars()->GetCount(); ++j)
        PaintNow(manager->GetBars()->GetItem(j)->GetControl());
  }
}

namespace {

void ShowLayOutPaint(TFuzzForm* AForm)
{
  AForm->Show();
  PumpPending();
  PaintAll(AForm);
  // A narrow form wraps or cuts the docked bars: a second layout with little room.
  AForm->SetBounds(AForm->GetLeft(), AForm->GetTop(), 120, 160);
  PumpPending();
  PaintAll(AForm);
}

}  // namespace

// ---------------------------------------------------------------------------

TCaseGuard::TCaseGuard(const std::string& ALabel)
{
  StartWatchdogOnce();
  {
    std::lock_guard<std::mutex> lock(LabelLock);
    CurrentLabel = ALabel;
  }
  Deadline = GetTickCount64() + kCaseTimeLimitMs;
}

TCaseGuard::~TCaseGuard()
{
  Deadline = 0;
}

TBoxCounter::TBoxCounter()
{
  FPrevious = SetMessageBoxProc([this](HWND, const String& Text, const String&, uint32_t) {
    ++Count;
    LastText = Text;
    return IDOK;
  });
}

TBoxCounter::~TBoxCounter()
{
  SetMessageBoxProc(std::move(FPrevious));
}

String BarFormText()
{
  static const String small = ImageListData(16, 4);
  static const String large = ImageListData(32, 3);
  return String(
             L"object FuzzForm: TFuzzForm\n"
             L"  Left = 60\n  Top = 60\n  Width = 600\n  Height = 320\n  Caption = 'Damaged bars'\n"
             L"  object SmallImages: TImageList\n") +
         small +
         L"  end\n"
         L"  object LargeImages: TImageList\n"
         L"    Height = 32\n    Width = 32\n" +
         large +
         L"  end\n"
         L"  object dxBarManager1: TdxBarManager\n"
         L"    Style = bmsFlat\n"
         L"    Categories.Strings = (\n      'File'\n      'Format')\n"
         L"    Categories.ItemsVisibles = (\n      2\n      2)\n"
         L"    Categories.Visibles = (\n      True\n      True)\n"
         L"    ImageOptions.Images = SmallImages\n"
         L"    ImageOptions.LargeImages = LargeImages\n"
         L"    DockControlHeights = (\n      0\n      0\n      26\n      0)\n"
         L"    object dxBarManager1Bar1: TdxBar\n"
         L"      Caption = 'Standard'\n"
         L"      DockedLeft = 0\n      DockedTop = 0\n      DockingStyle = dsTop\n"
         L"      FloatLeft = 0\n      FloatTop = 0\n      FloatClientWidth = 0\n      FloatClientHeight = 0\n"
         L"      ItemLinks = <\n" +
         Link(L"btnOpen") + L"\n" + Link(L"btnSave") + L"\n" + Link(L"btnPaste", true) + L"\n" +
         Link(L"btnBold", true) + L"\n" + Link(L"btnItalic") + L"\n" + Link(L"btnUnderline") +
         L">\n"
         L"      OneOnRow = True\n      Row = 0\n      UseOwnFont = False\n      Visible = True\n"
         L"      WholeRow = False\n"
         L"    end\n"
         L"    object dxBarManager1Bar2: TdxBar\n"
         L"      Caption = 'Tools'\n"
         L"      DockedLeft = 0\n      DockedTop = 0\n      DockingStyle = dsNone\n"
         L"      FloatLeft = 300\n      FloatTop = 420\n      FloatClientWidth = 150\n      FloatClientHeight = 30\n"
         L"      ItemLinks = <\n" +
         Link(L"btnOpen") + L"\n" + Link(L"btnItalic", true) +
         L">\n"
         L"      OneOnRow = False\n      Row = 0\n      UseOwnFont = False\n      Visible = True\n"
         L"      WholeRow = False\n"
         L"    end\n"
         L"    object dxBarManager1Bar3: TdxBar\n"
         L"      Caption = 'Large'\n"
         L"      DockControl = dxBarDockControl1\n"
         L"      DockedDockControl = dxBarDockControl1\n"
         L"      DockedLeft = 0\n      DockedTop = 0\n"
         L"      FloatLeft = 0\n      FloatTop = 0\n      FloatClientWidth = 0\n      FloatClientHeight = 0\n"
         L"      ItemLinks = <\n" +
         Link(L"btnLarge") + L"\n" + Link(L"btnLargeSync") + L"\n" + Link(L"btnPaste", true) +
         L">\n"
         L"      OneOnRow = True\n      Row = 0\n      UseOwnFont = False\n      Visible = True\n"
         L"      WholeRow = False\n"
         L"    end\n"
         L"    object btnOpen: TdxBarButton\n"
         L"      Caption = 'Open'\n      Category = 0\n      Hint = 'Open a file'\n      Visible = ivAlways\n"
         L"      ImageIndex = 0\n      ShortCut = 16463\n"
         L"    end\n"
         L"    object btnSave: TdxBarButton\n"
         L"      Caption = 'Save'\n      Category = 0\n      Enabled = False\n      Visible = ivAlways\n"
         L"      ImageIndex = 1\n"
         L"    end\n"
         L"    object btnPaste: TdxBarButton\n"
         L"      Caption = 'Paste'\n      Category = 0\n      Visible = ivAlways\n"
         L"      ButtonStyle = bsDropDown\n      ImageIndex = 2\n"
         L"    end\n"
         L"    object btnBold: TdxBarButton\n"
         L"      Caption = 'Bold'\n      Category = 1\n      Visible = ivAlways\n"
         L"      ButtonStyle = bsChecked\n      GroupIndex = 1\n      Down = True\n      ImageIndex = 3\n"
         L"    end\n"
         L"    object btnItalic: TdxBarButton\n"
         L"      Caption = 'Italic'\n      Category = 1\n      Visible = ivAlways\n"
         L"      ButtonStyle = bsChecked\n      GroupIndex = 1\n"
         L"    end\n"
         L"    object btnUnderline: TdxBarButton\n"
         L"      Caption = 'Underline'\n      Category = 1\n      Visible = ivAlways\n"
         L"      AllowAllUp = True\n      ButtonStyle = bsChecked\n      GroupIndex = 1\n"
         L"    end\n"
         L"    object btnLarge: TdxBarLargeButton\n"
         L"      Caption = 'Import'\n      Category = 0\n      Visible = ivAlways\n"
         L"      AutoGrayScale = False\n      LargeImageIndex = 1\n      SyncImageIndex = False\n      ImageIndex = 0\n"
         L"      Width = 60\n"
         L"    end\n"
         L"    object btnLargeSync: TdxBarLargeButton\n"
         L"      Caption = 'Export'\n      Category = 0\n      Visible = ivAlways\n"
         L"      GlyphLayout = glLeft\n      LargeImageIndex = 2\n"
         L"    end\n"
         L"  end\n"
         L"  object dxBarDockControl1: TdxBarDockControl\n"
         L"    Left = 0\n    Top = 240\n    Width = 592\n    Height = 46\n"
         L"    Align = dalBottom\n"
         L"    BarManager = dxBarManager1\n"
         L"  end\n"
         L"end\n";
}

TFuzzOutcome CheckDamagedForm(const String& AText, const std::string& ALabel,
                              const std::function<void(TFuzzForm*)>& AInspect)
{
  TFuzzOutcome outcome;
  TCaseGuard guard(ALabel);
  TBoxCounter boxes;
  const int gdi = GdiObjectsInUse();
  TFuzzForm* form = nullptr;
  try {
    form = TCustomForm::CreateFromText<TFuzzForm>(AText, nullptr);
  } catch (const Exception& e) {
    outcome.Error = e.Message();
  } catch (const std::exception& e) {
    ADD_FAILURE() << ALabel << ": reading raised a foreign exception: " << e.what();
  }
  if (form) {
    outcome.Read = true;
    TOwned<TFuzzForm> owned(form);
    try {
      ShowLayOutPaint(form);
      if (AInspect)
        AInspect(form);
    } catch (const std::exception& e) {
      ADD_FAILURE() << ALabel << ": showing the form raised: " << e.what();
    }
  }
  PumpPending();
  EXPECT_EQ(boxes.Count, 0) << ALabel << ": an error reached the user: " << ToUtf8(boxes.LastText);
  EXPECT_EQ(GdiObjectsInUse(), gdi) << ALabel << ": GDI objects left behind";
  return outcome;
}
