// Library start-up and shut-down: the process-wide objects, the counter, the checker
// brush and the application-initialisation sound.
#include <thread>
#include <vector>

#include "BarTestUtil.h"
#include "bars/accessibility/cxaccessibility.h"
#include "platform/Threads.h"
#include "support/ThreadWindows.h"

namespace {

struct TSoundCall {
  const wchar_t* Alias;
  uint32_t Flags;
};

class TSoundRecorder {
public:
  TSoundRecorder()
  {
    FPrevious = SetdxBarPlaySoundProc([this](const wchar_t* Alias, uint32_t Flags) {
      Calls.push_back({Alias, Flags});
    });
  }
  ~TSoundRecorder() { SetdxBarPlaySoundProc(std::move(FPrevious)); }
  std::vector<TSoundCall> Calls;

private:
  TdxBarPlaySoundProc FPrevious;
};

class TTestItemKind : public TComponent {
  DECLARE_CLASS(TTestItemKind, TComponent)
public:
  using TComponent::TComponent;
};
IMPLEMENT_CLASS(TTestItemKind, TComponent)

}  // namespace

TEST(LibraryStartup, ASecondStartOnlyCountsAndItsShutDownKeepsEverything)
{
  ASSERT_TRUE(dxBarIsInitialized());
  TdxBarManagerList* list = dxBarManagerList();
  HBRUSH checker = dxBarCheckerBrush();
  TdxBarSystemController* controller = dxBarSystemController();
  dxBarInitialize();
  EXPECT_EQ(dxBarManagerList(), list);
  EXPECT_EQ(dxBarCheckerBrush(), checker);
  EXPECT_EQ(dxBarSystemController(), controller);
  dxBarFinalize();
  EXPECT_TRUE(dxBarIsInitialized());
  EXPECT_FALSE(dxBarIsFinalizing());
  EXPECT_EQ(dxBarManagerList(), list);
  EXPECT_EQ(dxBarCheckerBrush(), checker);
}

TEST(LibraryStartup, ShutDownFreesEveryObjectAndAccessorsAnswerNil)
{
  const int standardKinds = RegisteredBarItems()->Count();
  RegisterBarItem(TTestItemKind::StaticClass(), TObject::StaticClass(), true);
  ASSERT_EQ(GetClass(L"TTestItemKind"), TTestItemKind::StaticClass());
  int gdiBefore = GdiObjectsInUse();

  ASSERT_NE(BarFlatPainter(), nullptr);
  EXPECT_EQ(BarFlatPainter(), BarFlatPainter());
  ASSERT_NE(BarCanvas(), nullptr);
  ASSERT_NE(dxBarClassNameBuffer(), nullptr);
  ASSERT_NE(GetModuleHandleW(L"oleacc.dll"), nullptr) << "the accessibility library is bound at start-up";
  dxBarFinalize();
  EXPECT_FALSE(dxBarIsInitialized());
  EXPECT_TRUE(dxBarIsFinalizing());
  EXPECT_EQ(BarFlatPainter(), nullptr);
  EXPECT_EQ(BarCanvas(), nullptr);
  EXPECT_EQ(dxBarManagerList(), nullptr);
  EXPECT_EQ(dxBarSystemController(), nullptr);
  EXPECT_EQ(dxBarCheckerBrush(), nullptr);
  EXPECT_EQ(dxBarClassNameBuffer(), nullptr);
  EXPECT_EQ(dxSetLayeredWindowAttributes, nullptr);
  EXPECT_EQ(dxUpdateLayeredWindow, nullptr);
  EXPECT_EQ(dxAnimateWindow, nullptr);
  // The accessibility entry points are unbound, but the system library stays: a client in
  // another process may still hold an element whose stub here runs its code.
  EXPECT_EQ(cxAccessibleObjectFromWindow, nullptr);
  EXPECT_NE(GetModuleHandleW(L"oleacc.dll"), nullptr);
  // The register's entries left form data with it, and it is not made again.
  EXPECT_EQ(GetClass(L"TTestItemKind"), nullptr);
  EXPECT_EQ(RegisteredBarItems(), nullptr);
  EXPECT_EQ(RegisteredBarItems(), nullptr);
  EXPECT_EQ(GetRegisteredControlClass(TTestItemKind::StaticClass()), nullptr);
  RegisterBarItem(TTestItemKind::StaticClass(), TObject::StaticClass(), true);
  EXPECT_EQ(GetClass(L"TTestItemKind"), nullptr);
  // The checker brush was the only GDI object of the library itself.
  EXPECT_EQ(GdiObjectsInUse(), gdiBefore - 1);
  // Living bar windows cannot be recorded without the list.
  TObject probe;
  AddBarControl(&probe);
  EXPECT_FALSE(IsBarControlAlive(&probe));
  // A second shut-down does nothing.
  dxBarFinalize();

  dxBarInitialize();
  EXPECT_FALSE(dxBarIsFinalizing());
  EXPECT_NE(dxBarManagerList(), nullptr);
  EXPECT_NE(dxBarCheckerBrush(), nullptr);
  // Start-up registers the library's own kinds again, and nothing else.
  ASSERT_NE(RegisteredBarItems(), nullptr);
  EXPECT_EQ(RegisteredBarItems()->Count(), standardKinds);
  EXPECT_EQ(GetRegisteredControlClass(TTestItemKind::StaticClass()), nullptr);
}

namespace {

// Units above the library record what they see of the register when they start and stop.
std::vector<std::wstring> GUnitCalls;
void Note(const wchar_t* What)
{
  GUnitCalls.push_back(std::wstring(What) + (RegisteredBarItems() ? L" with the register" : L" without it"));
}
void StartLow()
{
  Note(L"start low");
}
void StopLow()
{
  Note(L"stop low");
}
void StartHigh()
{
  Note(L"start high");
}
void StopHigh()
{
  Note(L"stop high");
}

}  // namespace

TEST(LibraryStartup, UnitsAboveStartAfterItByRankAndStopBeforeItInReverse)
{
  GUnitCalls.clear();
  dxBarAddUnit({20, &StartHigh, &StopHigh});
  dxBarAddUnit({20, &StartHigh, &StopHigh});
  dxBarAddUnit({10, &StartLow, &StopLow});
  EXPECT_EQ(GUnitCalls, (std::vector<std::wstring>{L"start high with the register", L"start low with the register"}))
      << "a unit added while the library runs starts at once, and only once";

  GUnitCalls.clear();
  dxBarFinalize();
  dxBarInitialize();
  EXPECT_EQ(GUnitCalls, (std::vector<std::wstring>{L"stop high with the register", L"stop low with the register",
                                                   L"start low with the register", L"start high with the register"}));
}

TEST(LibraryStartup, CheckerBrushIsExactToThePixel)
{
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = 16;
  bi.bmiHeader.biHeight = -16;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, dib);
  RECT r{0, 0, 16, 16};
  FillRect(dc, &r, dxBarCheckerBrush());
  GdiFlush();
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  EXPECT_EQ(GetPixel(dc, 0, 0), face);
  EXPECT_EQ(GetPixel(dc, 1, 1), face);
  EXPECT_EQ(GetPixel(dc, 1, 0), highlight);
  EXPECT_EQ(GetPixel(dc, 0, 1), highlight);
  int wrong = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (GetPixel(dc, x, y) != ((x % 2) == (y % 2) ? face : highlight))
        ++wrong;
  EXPECT_EQ(wrong, 0);
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
}

TEST(LibraryStartup, ApplicationInitialisationStopsTheMenuSound)
{
  TSoundRecorder sounds;
  Application->Initialize();
  ASSERT_EQ(sounds.Calls.size(), 1u);
  EXPECT_EQ(sounds.Calls[0].Alias, nullptr);
  EXPECT_EQ(sounds.Calls[0].Flags, 0x12003u);
}

// The message windows this thread has, of the class every message window shares.
int MessageWindowsOfThisThread()
{
  return int(ThreadWindows({L"TcxMessageWindow"}).size());
}

TEST(SystemController, InAProgramItLeavesTheWakeUpHandlerAloneAndMakesItsWindowOnlyWhenAsked)
{
  ASSERT_NE(dxBarSystemController(), nullptr);
  EXPECT_FALSE(dxBarSystemController()->IsWakeUpHandler());
  EXPECT_NE(dxBarSystemController()->Handle(), nullptr);
  const int before = MessageWindowsOfThisThread();
  {
    TdxBarSystemController program(false);
    EXPECT_EQ(MessageWindowsOfThisThread(), before);
    const HWND window = program.Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(program.Handle(), window);
    EXPECT_EQ(MessageWindowsOfThisThread(), before + 1);
  }
  EXPECT_EQ(MessageWindowsOfThisThread(), before);
  {
    TdxBarSystemController library(true);
    EXPECT_EQ(MessageWindowsOfThisThread(), before + 1) << "made at once, on the thread that owns it";
  }
}

TEST(SystemController, InALibraryItWakesThroughItsWindowAndGivesTheHandlerBack)
{
  TNotifyEvent before = GetWakeMainThread();
  {
    TdxBarSystemController controller(true);
    ASSERT_TRUE(controller.IsWakeUpHandler());
    TNotifyEvent handler = GetWakeMainThread();
    ASSERT_TRUE(handler.Assigned());
    handler(nullptr);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, controller.Handle(), DXM_BAR_SYNCHRONIZE, DXM_BAR_SYNCHRONIZE, PM_REMOVE));
    // The message runs the waiting calls of other threads.
    bool ran = false;
    std::thread worker([&] { TThread::Queue(nullptr, TThreadMethod([&] { ran = true; })); });
    worker.join();
    SendMessageW(controller.Handle(), DXM_BAR_SYNCHRONIZE, 0, 0);
    EXPECT_TRUE(ran);
    // Drop the wake-ups the queued call posted.
    while (PeekMessageW(&msg, controller.Handle(), DXM_BAR_SYNCHRONIZE, DXM_BAR_SYNCHRONIZE, PM_REMOVE)) {
    }
  }
  EXPECT_TRUE(GetWakeMainThread() == before);
}
