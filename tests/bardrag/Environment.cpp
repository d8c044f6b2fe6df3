// The program-wide set-up of the drag tests and the fixture they share.
#include "DragTestUtil.h"

#include <thread>

#include "bars/itemcontrols/itemcontrol.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

[[maybe_unused]] testing::Environment* const DragEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TDragTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

TDragProbe* GProbe = nullptr;

}  // namespace

TDragProbe::TDragProbe(std::function<void()> AProbe) : FProbe(std::move(AProbe))
{
  GProbe = this;
  FTimer = ::SetTimer(nullptr, 0, 10, &TDragProbe::TimerProc);
}

TDragProbe::~TDragProbe()
{
  ::KillTimer(nullptr, FTimer);
  GProbe = nullptr;
}

void CALLBACK TDragProbe::TimerProc(HWND, UINT, UINT_PTR, DWORD)
{
  TDragProbe* probe = GProbe;
  if (!probe || probe->FDone.load() >= probe->FRequested.load())
    return;
  probe->FProbe();
  ++probe->FDone;
}

bool TDragProbe::Run()
{
  const int wanted = ++FRequested;
  for (int waited = 0; waited < 3000; waited += 5) {
    if (FDone.load() >= wanted)
      return true;
    PauseScript(5);
  }
  return false;
}

void Glide(POINT AFrom, POINT ATo, int ASteps)
{
  for (int i = 1; i <= ASteps; ++i) {
    SendMouseMove(POINT{AFrom.x + (ATo.x - AFrom.x) * i / ASteps, AFrom.y + (ATo.y - AFrom.y) * i / ASteps});
    PauseScript(30);
  }
}

TDragFixture::TDragFixture() : Manager(Host.Manager)
{
  Manager->SetName(L"dxBarManager1");
}

TdxBarButton* TDragFixture::AddButton(TdxBarItemLinks* ALinks, const String& ACaption)
{
  auto* button = new TdxBarButton(Host.Form());
  button->SetCaption(ACaption);
  button->SetPaintStyle(psCaption);
  ALinks->AddItem(button);
  Buttons.push_back(button);
  return button;
}

void TDragFixture::SetUp()
{
  Manager->SetStyle(bmsFlat);
  Manager->SetMenusShowRecentItemsFirst(false);
  Host.Form()->SetBounds(100, 100, 560, 360);
  BarA = Manager->GetBars()->Add();
  BarA->SetCaption(L"First");
  BarA->SetDockingStyle(dsTop);
  AddButton(LinksA(), L"One");
  AddButton(LinksA(), L"Two");
  AddButton(LinksA(), L"Three");
  SubItem = new TdxBarSubItem(Host.Form());
  SubItem->SetCaption(L"Menu");
  LinksA()->AddItem(SubItem);
  AddButton(SubItem->GetItemLinks(), L"M1");
  AddButton(SubItem->GetItemLinks(), L"M2");
  AddButton(SubItem->GetItemLinks(), L"M3");
  BarB = Manager->GetBars()->Add();
  BarB->SetCaption(L"Second");
  BarB->SetDockingStyle(dsBottom);
  AddButton(LinksB(), L"Four");
  AddButton(LinksB(), L"Five");
  BarA->SetVisible(true);
  BarB->SetVisible(true);
  Host.Form()->Show();
  ActivateWindow(Host.Form()->GetHandle());
  Manager->SetIsCustomizing(true);
  PumpPending();
  ASSERT_NE(BarA->GetControl(), nullptr);
  ASSERT_NE(BarB->GetControl(), nullptr);
}

void TDragFixture::TearDown()
{
  // Nothing of a failed drag may stay pressed for the next test.
  SendKeyTransition(VK_CONTROL, false);
  SendMouseButton(false);
  PumpPending();
  if (TdxBarManager* manager = Host.Form() ? Manager : nullptr)
    manager->SetIsCustomizing(false);
  CloseActiveBar();
  PumpPending();
}

std::vector<String> TDragFixture::Captions(TdxBarItemLinks* ALinks)
{
  std::vector<String> result;
  for (int i = 0; i < ALinks->Count(); ++i) {
    TdxBarItemLink* link = ALinks->Items(i);
    result.push_back((link->GetBeginGroup() ? L"|" : L"") + (link->GetItem() ? link->GetItem()->GetCaption() : L"?"));
  }
  return result;
}

namespace {

// Menus lay their links out top to bottom.
bool IsMenuLink(TdxBarItemLink* ALink)
{
  TCustomdxBarControl* bar = ALink ? ALink->GetBarControl() : nullptr;
  return bar && bar->GetKind() == bckSubMenu;
}

}  // namespace

POINT TDragFixture::LeadingPart(TdxBarItemLink* ALink)
{
  const TRect r = ScreenRectOf(ALink);
  if (IsMenuLink(ALink))
    return POINT{(r.left + r.right) / 2, r.top + 3};
  return POINT{r.left + 3, (r.top + r.bottom) / 2};
}

POINT TDragFixture::TrailingPart(TdxBarItemLink* ALink)
{
  const TRect r = ScreenRectOf(ALink);
  if (IsMenuLink(ALink))
    return POINT{(r.left + r.right) / 2, r.bottom - 3};
  return POINT{r.right - 3, (r.top + r.bottom) / 2};
}

bool TDragFixture::WaitUntilScreenShows(TCustomdxBarControl* AWindow)
{
  if (!AWindow || !AWindow->HandleAllocated())
    return false;
  ::RedrawWindow(AWindow->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpPending();
  // The display has caught up once two looks a little apart agree.
  const RECT r = ScreenRectOf(AWindow);
  TDib32 last = CaptureScreen(r);
  return PumpUntil(
      [&] {
        PumpFor(30);
        TDib32 now = CaptureScreen(r);
        const bool same =
            now.Valid() && last.Valid() && CountDifferentPixels(now, RECT{0, 0, now.Width(), now.Height()}, last) == 0;
        last = std::move(now);
        return same;
      },
      2000);
}

bool TDragFixture::DragWithMouse(POINT AFrom, POINT ATo, const std::function<void()>& AAtTarget)
{
  MoveMouseTo(AFrom);
  return RunScript(
      [&] {
        SendMouseButton(true);
        PauseScript(60);
        Glide(AFrom, ATo);
        PauseScript(40);
        if (AAtTarget)
          AAtTarget();
        SendMouseButton(false);
      },
      [&] { return ::GetCapture() == nullptr && !(Host.Form() && Manager->IsDragging()); }, 100, 10000);
}

void TDragFixture::DragLinkFromCode(TdxBarItemLink* ALink, POINT ATo, const std::function<void()>& AAtTarget)
{
  const POINT from = ScreenCentreOf(ALink);
  MoveMouseTo(from);
  TWeakRef<TdxBarItemLink> link(ALink);
  RunWithHelperThread(
      [&] {
        if (link)
          Manager->StartItemLinkDrag(link.Get());
      },
      [&] {
        SendMouseButton(true);
        PauseScript(40);
        Glide(from, ATo);
        PauseScript(40);
        if (AAtTarget)
          AAtTarget();
        SendMouseButton(false);
      });
  PumpPending();
}

TdxBarSubMenuControl* TDragFixture::OpenMenu()
{
  auto* control = ControlOf<TdxBarSubItemControl>(SubItem);
  if (!control)
    return nullptr;
  control->DoDropDown(true);
  PumpPending();
  return dynamic_cast<TdxBarSubMenuControl*>(SubItem->GetItemLinks()->GetBarControl());
}
