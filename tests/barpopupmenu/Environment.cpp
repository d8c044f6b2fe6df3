// The program-wide set-up of the popup menu tests, the loop probe, the helper-thread input
// and the fixture's helpers.
#include "PopupTestUtil.h"

#include <chrono>
#include <string>
#include <thread>

#include "bars/model/bar.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "support/Input.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TPopupTestForm, TForm)
IMPLEMENT_CLASS(TPopupPanel, TCustomControl)

namespace {

[[maybe_unused]] testing::Environment* const PopupEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TPopupTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass()});

constexpr wchar_t ProbeClass[] = L"TLoopProbeWindow";
constexpr UINT ProbeMessage = WM_APP + 17;

// The tests' own thread: menu windows of other programs on the display do not count.
const DWORD UiThreadId = ::GetCurrentThreadId();

const TWindowFilter VisibleMenus{L"TdxBarSubMenuControl", true};

HWND VisibleMenuWindow()
{
  return FirstThreadWindow(VisibleMenus, UiThreadId);
}

}  // namespace

// ---------------------------------------------------------------------------
// TLoopProbe

TLoopProbe::TLoopProbe()
{
  WNDCLASSW wc{};
  wc.lpfnWndProc = &TLoopProbe::WndProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = ProbeClass;
  ::RegisterClassW(&wc);  // a second registration fails harmlessly
  FWnd = ::CreateWindowExW(0, ProbeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ::SetWindowLongPtrW(FWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TLoopProbe::~TLoopProbe()
{
  ::DestroyWindow(FWnd);
}

void TLoopProbe::Post(std::function<void()> AStep)
{
  FSteps.push_back(std::move(AStep));
  ::PostMessageW(FWnd, ProbeMessage, 0, 0);
}

void TLoopProbe::SendQueued()
{
  ::SendMessageW(FWnd, ProbeMessage, 0, 0);
}

LRESULT CALLBACK TLoopProbe::WndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
  auto* probe = reinterpret_cast<TLoopProbe*>(::GetWindowLongPtrW(AWnd, GWLP_USERDATA));
  if (AMsg != ProbeMessage || !probe || probe->FSteps.empty())
    return ::DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
  std::function<void()> step = std::move(probe->FSteps.front());
  probe->FSteps.erase(probe->FSteps.begin());
  ++probe->FRuns;
  step();
  return 0;
}

// ---------------------------------------------------------------------------
// Helper-thread input

bool WaitForMenuWindow(int TimeoutMs)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  while (!VisibleMenuWindow()) {
    if (std::chrono::steady_clock::now() > end)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

int VisibleMenuWindowCount()
{
  return int(ThreadWindows(VisibleMenus, UiThreadId).size());
}

RECT VisibleMenuWindowRect()
{
  RECT r{};
  if (HWND wnd = VisibleMenuWindow())
    ::GetWindowRect(wnd, &r);
  return r;
}

void WhileMenuOpen(const std::function<void()>& APopup, const std::function<void()>& AScript)
{
  RunWithHelperThread(APopup, [&AScript] {
    if (WaitForMenuWindow())
      AScript();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(3000);
    while (VisibleMenuWindow() && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (VisibleMenuWindow()) {
      SendKeyStroke(VK_ESCAPE);
    }
  });
}

void ScriptClick(POINT AScreenPos)
{
  SendMouseMove(AScreenPos);
  PauseScript(80);
  SendMouseButton(true);
  PauseScript(50);
  SendMouseButton(false);
}

// ---------------------------------------------------------------------------
// TPopupFixture

TPopupFixture::TPopupFixture() : Manager(Host.Manager)
{
  Manager->SetName(L"dxBarManager1");
}

void TPopupFixture::SetUp()
{
  Manager->SetStyle(bmsFlat);
  Manager->SetMenusShowRecentItemsFirst(false);
  Menu = new TdxBarPopupMenu(Host.Form());
  Menu->OnPopup = TNotifyEvent([this](TObject*) { ++Popups; });
  Menu->OnCloseUp = TNotifyEvent([this](TObject*) { ++CloseUps; });
}

void TPopupFixture::TearDown()
{
  if (Menu && Host.Form() && Menu->GetBarControl())
    Menu->GetBarControl()->Close();
  PumpPending();
}

void TPopupFixture::FillMenu(int ACount)
{
  Clicks.assign(size_t(ACount), 0);
  for (int i = 0; i < ACount; ++i) {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(L"Item " + IntToStr(i));
    button->SetOnClick(TNotifyEvent([this, i](TObject*) { ++Clicks[size_t(i)]; }));
    Menu->GetItemLinks()->AddItem(button);
    Buttons.push_back(button);
  }
}

TdxBar* TPopupFixture::AddDropDownBar(TdxBarButton*& AButton)
{
  TdxBar* bar = Manager->GetBars()->Add();
  bar->SetDockingStyle(dsTop);
  AButton = new TdxBarButton(Host.Form());
  AButton->SetCaption(L"Menu");
  AButton->SetPaintStyle(psCaption);
  AButton->SetButtonStyle(bsDropDown);
  AButton->SetDropDownMenu(Menu);
  bar->GetItemLinks()->AddItem(AButton);
  bar->SetVisible(true);
  return bar;
}

TdxBarSubMenuControl* TPopupFixture::Window() const
{
  return dynamic_cast<TdxBarSubMenuControl*>(Menu->GetBarControl());
}

std::vector<POINT> TPopupFixture::ItemCentersAt(POINT P)
{
  std::vector<POINT> centers;
  Menu->PopupWithOptions(P.x, P.y, 0, false);
  PumpPending();
  for (int i = 0; Window() && i < Window()->GetItemLinks()->ShownItemCount(); ++i)
    centers.push_back(ItemCenter(i));
  if (TdxBarSubMenuControl* window = Window())
    window->Close();
  PumpPending();
  Popups = CloseUps = 0;
  return centers;
}
