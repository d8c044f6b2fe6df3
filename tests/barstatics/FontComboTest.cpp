// The font-name combo: the families the screen offers, each once with its mark, the list's
// drawing, typing that snaps to a family, and with the real pointer and keys: choosing a
// family from the list on a toolbar and in a menu, and the font dialog from a turned bar.
#include "StaticsTestUtil.h"

#include <algorithm>
#include <atomic>
#include <map>

#include "bars/barwindows/dropdownlistbox.h"
#include "platform/Canvas.h"
#include "platform/Printers.h"

#include <winspool.h>

namespace {

// The font dialog's family box.
constexpr int FontDialogFaceBox = 1136;

// Every family a device (the screen without one) enumerates, with how often it was met
// (once per character set).
std::map<String, int> EnumeratedFamilies(HDC ADevice = nullptr)
{
  std::map<String, int> families;
  HDC DC = ADevice ? ADevice : ::GetDC(nullptr);
  LOGFONTW font{};
  font.lfCharSet = DEFAULT_CHARSET;
  ::EnumFontFamiliesExW(
      DC, &font,
      [](const LOGFONTW* f, const TEXTMETRICW*, DWORD, LPARAM param) -> int {
        ++(*reinterpret_cast<std::map<String, int>*>(param))[f->lfFaceName];
        return 1;
      },
      LPARAM(&families), 0);
  if (!ADevice)
    ::ReleaseDC(nullptr, DC);
  return families;
}

// A printer set up in the prefix for the scope's lifetime, as the user's default: the
// system's PostScript driver with a description file of our own (none, with ADescribed false,
// so that no device context can be made for it).
class TTestPrinter {
public:
  explicit TTestPrinter(bool ADescribed)
  {
    wchar_t folder[MAX_PATH] = {};
    DWORD size = 0;
    if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &size))
      return;
    const std::wstring description = std::wstring(folder) + (ADescribed ? L"\\bartest.ppd" : L"\\bartest-none.ppd");
    if (ADescribed && !WriteDescription(description))
      return;
    // The system's PostScript driver under a name of ours, so that each kind has its file.
    FDriver = ADescribed ? L"Bar Test Driver" : L"Bar Test Driver Without Description";
    std::wstring& driver = FDriver;
    std::wstring path = L"wineps.drv", file = description;
    DRIVER_INFO_3W info{};
    info.cVersion = 3;
    info.pName = driver.data();
    info.pDriverPath = path.data();
    info.pDataFile = file.data();
    info.pConfigFile = path.data();
    if (!::AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&info)) &&
        ::GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
      return;
    FName = ADescribed ? L"Bar Test Printer" : L"Bar Test Printer Without Description";
    std::wstring port = L"FILE:", processor = L"WinPrint", type = L"RAW";
    PRINTER_INFO_2W printer{};
    printer.pPrinterName = FName.data();
    printer.pPortName = port.data();
    printer.pDriverName = driver.data();
    printer.pPrintProcessor = processor.data();
    printer.pDatatype = type.data();
    HANDLE handle = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (!handle)
      return;
    ::ClosePrinter(handle);
    FAdded = ::SetDefaultPrinterW(FName.c_str());
    Printer()->Refresh();
  }
  ~TTestPrinter()
  {
    HANDLE handle = nullptr;
    if (!FName.empty() && ::OpenPrinterW(FName.data(), &handle, nullptr)) {
      ::DeletePrinter(handle);
      ::ClosePrinter(handle);
    }
    if (!FDriver.empty())
      ::DeletePrinterDriverW(nullptr, nullptr, FDriver.data());
    Printer()->Refresh();
  }
  TTestPrinter(const TTestPrinter&) = delete;
  TTestPrinter& operator=(const TTestPrinter&) = delete;
  bool Added() const { return FAdded; }
  const std::wstring& Name() const { return FName; }

private:
  static bool WriteDescription(const std::wstring& AFile)
  {
    static const char text[] =
        "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
        "*LanguageEncoding: ISOLatin1\n*PCFileName: \"BARTEST.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Test)\"\n"
        "*PSVersion: \"(3010.000) 0\"\n*ModelName: \"Bar Test Printer\"\n*NickName: \"Bar Test Printer\"\n"
        "*ColorDevice: False\n*DefaultResolution: 300dpi\n*LanguageLevel: \"3\"\n*OpenUI *PageSize: PickOne\n"
        "*DefaultPageSize: Letter\n*PageSize Letter/Letter: \"<</PageSize[612 792]>>setpagedevice\"\n"
        "*CloseUI: *PageSize\n*DefaultImageableArea: Letter\n*ImageableArea Letter/Letter: \"18 36 594 756\"\n"
        "*DefaultPaperDimension: Letter\n*PaperDimension Letter/Letter: \"612 792\"\n*DefaultFont: Courier\n"
        "*Font Courier: Standard \"(002.004S)\" Standard ROM\n*Font Helvetica: Standard \"(001.006S)\" Standard ROM\n";
    HANDLE file = ::CreateFileW(AFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, text, DWORD(sizeof text - 1), &written, nullptr) && written == sizeof text - 1;
    ::CloseHandle(file);
    return ok;
  }

  std::wstring FName;
  std::wstring FDriver;
  bool FAdded = false;
};

// A font file added to this process for the scope's lifetime, as an installer adds one.
class TAddedFont {
public:
  explicit TAddedFont(const wchar_t* APath) : FPath(APath), FAdded(::AddFontResourceExW(APath, FR_PRIVATE, nullptr) > 0)
  {
  }
  ~TAddedFont()
  {
    if (FAdded)
      ::RemoveFontResourceExW(FPath.c_str(), FR_PRIVATE, nullptr);
  }
  TAddedFont(const TAddedFont&) = delete;
  TAddedFont& operator=(const TAddedFont&) = delete;
  bool Added() const { return FAdded; }

private:
  std::wstring FPath;
  bool FAdded;
};

// Fonts the system ships but this prefix does not list: a TrueType family and a raster one.
const wchar_t* const TrueTypeFile = L"Z:\\usr\\share\\wine\\fonts\\tahoma.ttf";
const wchar_t* const RasterFile = L"Z:\\usr\\share\\wine\\fonts\\coure.fon";

class TFontCombos : public TStaticsFixture {
protected:
  void SetUp() override
  {
    TStaticsFixture::SetUp();
    if (!TrueTypeFont.Added() || !RasterFont.Added())
      GTEST_SKIP() << "the system's font files to add are not there";
  }

  TAddedFont TrueTypeFont{TrueTypeFile};
  TAddedFont RasterFont{RasterFile};

  TdxBarFontNameCombo* NewCombo(TdxBarItemLinks* ALinks = nullptr)
  {
    auto* combo = new TdxBarFontNameCombo(Host.Form());
    (ALinks ? ALinks : Bar->GetItemLinks())->AddItem(combo);
    PumpPending();
    return combo;
  }
  bool ListShown(TdxBarFontNameCombo* ACombo) const
  {
    return ACombo->GetListBox()->HandleAllocated() && ::IsWindowVisible(ACombo->GetListBox()->GetHandle());
  }
  POINT ListEntry(TdxBarFontNameCombo* ACombo, int AIndex) const
  {
    HWND list = ACombo->GetListBox()->GetHandle();
    ::SendMessageW(list, LB_SETTOPINDEX, WPARAM(AIndex), 0);
    RECT r{};
    ::SendMessageW(list, LB_GETITEMRECT, WPARAM(AIndex), LPARAM(&r));
    return ScreenCentreOf(list, r);
  }
  POINT TextPart(TdxBarItemControl* AControl) const
  {
    const RECT r = ScreenRectOf(AControl, AControl->GetPartRects().at(dxBarEditPartText));
    return POINT{r.left + 10, (r.top + r.bottom) / 2};
  }
};

}  // namespace

TEST_F(TFontCombos, ListsEveryFamilyOnceWithItsMark)
{
  TdxBarFontNameCombo* combo = NewCombo();
  EXPECT_EQ(combo->GetWidth(), 160);
  EXPECT_EQ(combo->GetDropDownCount(), 12);
  EXPECT_EQ(combo->GetGlyph()->GetHeight(), 16) << "its glyph from the library's resources";
  // Without any printer in the prefix, the screen's families.
  ASSERT_EQ(Printer()->GetPrinters()->Count(), 0);
  const std::map<String, int> families = EnumeratedFamilies();
  ASSERT_FALSE(families.empty());
  EXPECT_EQ(combo->GetItems()->Count(), int(families.size()));
  bool metTwice = false;
  for (const auto& [name, count] : families) {
    EXPECT_GE(combo->GetItems()->IndexOf(name), 0) << "missing " << std::string(name.begin(), name.end());
    metTwice = metTwice || count > 1;
  }
  EXPECT_TRUE(metTwice) << "some family comes in several character sets, and shows once";
  for (int i = 1; i < combo->GetItems()->Count(); ++i)
    EXPECT_LE(::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, combo->GetItems()->Get(i - 1).c_str(), -1,
                               combo->GetItems()->Get(i).c_str(), -1),
              CSTR_EQUAL);
  // The fonts added show with their kind.
  ASSERT_GE(combo->GetItems()->IndexOf(L"Tahoma"), 0);
  EXPECT_TRUE(combo->IsTrueTypeFont(L"Tahoma"));
  ASSERT_GE(combo->GetItems()->IndexOf(L"Courier"), 0);
  EXPECT_FALSE(combo->IsTrueTypeFont(L"Courier"));
  // A font removed goes at the next refresh.
  {
    TAddedFont again(L"Z:\\usr\\share\\wine\\fonts\\wingding.ttf");
    combo->RefreshFontList();
    EXPECT_GE(combo->GetItems()->IndexOf(L"Wingdings"), 0);
  }
  combo->RefreshFontList();
  EXPECT_LT(combo->GetItems()->IndexOf(L"Wingdings"), 0);
}

// With a printer, the families a document printed on it can use; a printer the system
// cannot open falls back to the screen's.
TEST_F(TFontCombos, WithAPrinterItsFamiliesAreListed)
{
  std::vector<String> onPrinter;
  {
    TTestPrinter printer(true);
    if (!printer.Added())
      GTEST_SKIP() << "no printer can be set up in this prefix";
    ASSERT_GE(Printer()->GetPrinterIndex(), 0);
    EXPECT_EQ(Printer()->GetPrinters()->Get(Printer()->GetPrinterIndex()), printer.Name()) << "the default";
    HDC device = ::CreateDCW(L"WINSPOOL", printer.Name().c_str(), nullptr, nullptr);
    ASSERT_NE(device, nullptr);
    const std::map<String, int> families = EnumeratedFamilies(device);
    ::DeleteDC(device);
    ASSERT_NE(families, EnumeratedFamilies()) << "the printer offers other families than the screen";
    TdxBarFontNameCombo* combo = NewCombo();
    for (int i = 0; i < combo->GetItems()->Count(); ++i)
      onPrinter.push_back(combo->GetItems()->Get(i));
    std::vector<String> expected;
    for (const auto& [name, count] : families)
      expected.push_back(name);
    std::sort(onPrinter.begin(), onPrinter.end());
    EXPECT_EQ(onPrinter, expected);
  }
  {
    TTestPrinter broken(false);
    if (!broken.Added())
      GTEST_SKIP() << "no printer can be set up in this prefix";
    ASSERT_GT(Printer()->GetPrinters()->Count(), 0);
    EXPECT_THROW(Printer()->GetHandle(), EPrinter);
    TdxBarFontNameCombo* combo = NewCombo();
    EXPECT_EQ(combo->GetItems()->Count(), int(EnumeratedFamilies().size())) << "the screen's";
  }
  EXPECT_EQ(Printer()->GetPrinters()->Count(), 0) << "the printers are gone again";
}

TEST_F(TFontCombos, EntriesDrawTheirMarkBeforeTheName)
{
  TdxBarFontNameCombo* combo = NewCombo();
  const int trueType = combo->GetItems()->IndexOf(L"Tahoma");
  const int other = combo->GetItems()->IndexOf(L"Courier");
  ASSERT_GE(trueType, 0);
  ASSERT_GE(other, 0);
  TDib32 dib(200, 40);
  TCanvas canvas;
  canvas.SetHandle(dib.DC());
  canvas.GetBrush()->SetColor(clWindow);
  combo->DrawItem(&canvas, trueType, Rect(0, 0, 200, 20), TOwnerDrawState{});
  combo->DrawItem(&canvas, other, Rect(0, 20, 200, 40), TOwnerDrawState{});
  canvas.SetHandle(nullptr);
  SaveShotOnRequest(dib, "font-list-entries");
  // The mark as its bitmap has it, centred in the row's first 13 columns.
  TBitmap* mark = dxBarTrueTypeFontMark();
  ASSERT_TRUE(mark && !mark->Empty());
  // Where the mark has ink, the row shows the mark's own colours.
  int same = 0, inked = 0;
  const int top = (20 - mark->GetHeight()) / 2;
  for (int y = 0; y < mark->GetHeight(); ++y)
    for (int x = 0; x < mark->GetWidth(); ++x) {
      COLORREF drawn = dib.Pixel(x, top + y);
      if (drawn == ColorToRGB(clWindow))
        continue;
      ++inked;
      same += ColorsClose(drawn, ColorToRGB(mark->GetCanvas()->GetPixel(x, y)));
    }
  EXPECT_GT(inked, 10);
  EXPECT_GE(same * 10, inked * 9);
  // The name starts after the mark and its gap.
  EXPECT_EQ(CountPixels(dib, RECT{13, 0, 15, 20}, [](COLORREF c) { return c != ColorToRGB(clWindow); }), 0);
  EXPECT_GT(CountPixels(dib, RECT{15, 0, 200, 20}, [](COLORREF c) { return c != ColorToRGB(clWindow); }), 10);
  // The other mark differs from the TrueType one.
  int differing = 0;
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 13; ++x)
      differing += !ColorsClose(dib.Pixel(x, top + y), dib.Pixel(x, 20 + top + y));
  EXPECT_GT(differing, 5);
}

TEST_F(TFontCombos, TypedTextSnapsToAFamily)
{
  TdxBarFontNameCombo* combo = NewCombo();
  combo->SetShowEditor(true);
  combo->SetText(L"Courier");
  PumpPending();
  auto* control = OnBar<TdxBarComboControl>(combo);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(ClickAt(TextPart(control)));
  ASSERT_TRUE(PumpUntil([&] { return control->GetFocused(); }));
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(L"taH") && PressKey(VK_RETURN));
  EXPECT_TRUE(PumpUntil([&] { return !control->GetFocused(); }));
  EXPECT_EQ(combo->GetText(), L"Tahoma") << "the family's own spelling";
  const String before = combo->GetText();
  ASSERT_TRUE(ClickAt(TextPart(control)));
  ASSERT_TRUE(PumpUntil([&] { return control->GetFocused(); }));
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(L"#none") && PressKey(VK_RETURN));
  EXPECT_TRUE(PumpUntil([&] { return !control->GetFocused(); }));
  EXPECT_EQ(combo->GetText(), before) << "nothing shares even its first letter: refused";
  ASSERT_TRUE(ClickAt(TextPart(control)));
  ASSERT_TRUE(PumpUntil([&] { return control->GetFocused(); }));
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(L"Cxyz") && PressKey(VK_RETURN));
  EXPECT_TRUE(PumpUntil([&] { return !control->GetFocused(); }));
  EXPECT_EQ(combo->GetText(), before) << "a family sharing its first letter only is no match either";
  // Outside editing the program's text is taken as it is.
  combo->SetText(L"#none");
  EXPECT_EQ(combo->GetText(), L"#none");
}

TEST_F(TFontCombos, PointerChoosesAFamilyOnAToolbarAndInAMenu)
{
  TdxBarFontNameCombo* combo = NewCombo();
  auto* control = OnBar<TdxBarComboControl>(combo);
  ASSERT_NE(control, nullptr);
  const int tahoma = combo->GetItems()->IndexOf(L"Tahoma");
  ASSERT_GT(tahoma, 0) << "Courier sorts before it";
  ASSERT_TRUE(ClickAt(TextPart(control)));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  RECT list{};
  ::GetWindowRect(combo->GetListBox()->GetHandle(), &list);
  SaveShotOnRequest(CaptureScreen(list), "font-list-open");
  ASSERT_TRUE(ClickAt(ListEntry(combo, tahoma)));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_EQ(combo->GetText(), L"Tahoma");
  // And again, by keys this time.
  ASSERT_TRUE(ClickAt(TextPart(control)));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  ASSERT_TRUE(PressKey(VK_UP) && PressKey(VK_RETURN));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_EQ(combo->GetText(), combo->GetItems()->Get(tahoma - 1));

  SubItem->GetItemLinks()->AddItem(combo);
  ASSERT_NE(OpenMenu(), nullptr);
  auto* inMenu = InMenu<TdxBarComboControl>(combo);
  ASSERT_NE(inMenu, nullptr);
  ASSERT_TRUE(ClickAt(TextPart(inMenu)));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  ASSERT_TRUE(ClickAt(ListEntry(combo, tahoma)));
  EXPECT_TRUE(PumpUntil([&] { return combo->GetText() == L"Tahoma"; }));
}

TEST_F(TFontCombos, ATurnedBarShowsAButtonThatAsksTheFontDialog)
{
  TdxBarFontNameCombo* combo = NewCombo();
  combo->SetText(L"Courier");
  TdxBar* side = Manager->GetBars()->Add();
  side->SetDockingStyle(dsLeft);
  side->GetItemLinks()->AddItem(combo);
  side->SetVisible(true);
  PumpPending();
  TdxBarItemControl* button = ControlOf(side->GetItemLinks(), combo);
  ASSERT_NE(button, nullptr);
  const DWORD thread = ::GetCurrentThreadId();
  std::atomic<bool> found{false};
  String opened;
  RunWithHelperThread([&] { ClickAt(ScreenCentreOf(button)); },
                      [&] {
                        HWND dialog = WaitForThreadDialog(thread);
                        found = dialog != nullptr;
                        if (!dialog)
                          return;
                        // The family box: what it opened with, then the family chosen.
                        HWND face = ::GetDlgItem(dialog, FontDialogFaceBox);
                        wchar_t text[LF_FACESIZE] = {};
                        ::GetWindowTextW(face, text, LF_FACESIZE);
                        opened = text;
                        ::SendMessageW(face, CB_SELECTSTRING, WPARAM(-1), LPARAM(L"Tahoma"));
                        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(FontDialogFaceBox, CBN_SELCHANGE), LPARAM(face));
                        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                      });
  ASSERT_TRUE(found) << "the font dialog opened";
  EXPECT_EQ(opened, L"Courier");
  EXPECT_TRUE(PumpUntil([&] { return combo->GetText() == L"Tahoma"; }));
}
