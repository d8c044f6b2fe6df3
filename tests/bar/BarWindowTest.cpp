// The bar with its window: its site, rows, deferred positioning, and showing and hiding.
#include "BarTestUtil.h"

#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Scope.h"
#include "support/FormRoundTrip.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

const wchar_t* const kBarForm =
    L"object BarForm: TBarAreaForm\n"
    L"  Left = 60\n"
    L"  Top = 60\n"
    L"  Width = 520\n"
    L"  Height = 320\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    Style = bmsFlat\n"
    L"    object dxBarManager1Bar1: TdxBar\n"
    L"      Caption = 'Main'\n"
    L"      DockedLeft = 0\n"
    L"      DockedTop = 0\n"
    L"      DockingStyle = dsTop\n"
    L"      FloatLeft = 0\n"
    L"      FloatTop = 0\n"
    L"      FloatClientWidth = 0\n"
    L"      FloatClientHeight = 0\n"
    L"      ItemLinks = <\n"
    L"        item\n"
    L"          Visible = True\n"
    L"          ItemName = 'dxBarButton1'\n"
    L"        end\n"
    L"        item\n"
    L"          Visible = True\n"
    L"          ItemName = 'dxBarButton2'\n"
    L"        end>\n"
    L"      OneOnRow = True\n"
    L"      Row = 0\n"
    L"      UseOwnFont = False\n"
    L"      Visible = True\n"
    L"      WholeRow = False\n"
    L"    end\n"
    L"    object dxBarButton1: TdxBarButton\n"
    L"      Caption = 'Open'\n"
    L"      Category = 0\n"
    L"      Visible = ivAlways\n"
    L"    end\n"
    L"    object dxBarButton2: TdxBarButton\n"
    L"      Caption = 'Save'\n"
    L"      Category = 0\n"
    L"      Visible = ivAlways\n"
    L"    end\n"
    L"  end\n"
    L"end\n";

// Counts the moves of one window (WM_WINDOWPOSCHANGED without SWP_NOMOVE).
HWND GWatched = nullptr;
int GMoves = 0;
LRESULT CALLBACK MoveHook(int Code, WPARAM W, LPARAM L)
{
  if (Code == HC_ACTION) {
    auto* msg = reinterpret_cast<CWPSTRUCT*>(L);
    if (msg->hwnd == GWatched && msg->message == WM_WINDOWPOSCHANGED) {
      auto* pos = reinterpret_cast<WINDOWPOS*>(msg->lParam);
      if (!(pos->flags & SWP_NOMOVE))
        ++GMoves;
    }
  }
  return CallNextHookEx(nullptr, Code, W, L);
}

}  // namespace

using TBarWindow = TBarFixture;

TEST_F(TBarWindow, ShowingADockedBarPutsItInTheSiteOfItsSide)
{
  Host.Form()->SetBounds(80, 80, 500, 300);
  Host.Form()->Show();
  TdxBar* bar = Bars()->Add();
  bar->SetDockingStyle(dsLeft);
  bar->SetVisible(true);
  TdxBarControl* control = bar->GetControl();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->GetDockControl(), Bars()->GetDockControl(dsLeft));
  // Moving it to another side goes through a new placement.
  bar->SetDockingStyle(dsBottom);
  ASSERT_NE(bar->GetControl(), nullptr);
  EXPECT_EQ(bar->GetControl()->GetDockControl(), Bars()->GetDockControl(dsBottom));
  EXPECT_EQ(bar->GetControl()->GetDockingStyle(), dsBottom);
}

TEST_F(TBarWindow, RowBeyondTheRowsAddsOneRowOrAllRowsWhileLocked)
{
  Host.Form()->SetBounds(80, 80, 500, 300);
  Host.Form()->Show();
  TdxBar* a = Bars()->Add();
  TdxBar* b = Bars()->Add();
  for (TdxBar* bar : {a, b}) {
    bar->SetDockingStyle(dsTop);
    bar->SetOneOnRow(true);
    bar->SetVisible(true);
  }
  TdxDockControl* top = Bars()->GetDockControl(dsTop);
  int rows = top->GetRowCount();
  ASSERT_GE(rows, 1);
  ASSERT_LT(rows, 5);
  a->SetRow(5);
  EXPECT_EQ(top->GetRowCount(), rows + 1);
  EXPECT_EQ(a->GetRow(), rows);

  // Under the update lock rows are added up to the index asked for.
  Manager->BeginUpdate();
  b->SetRow(7);
  EXPECT_EQ(b->GetRow(), 7);
  EXPECT_EQ(top->GetRowCount(), 8);
  Manager->EndUpdate();
}

TEST_F(TBarWindow, FloatPositionInsideAnUpdateMovesTheWindowOnceAtTheEnd)
{
  Host.Form()->SetBounds(80, 80, 500, 300);
  Host.Form()->Show();
  ActivateWindow(Host.Form()->GetHandle());
  TdxBar* bar = Bars()->Add();
  bar->SetFloatLeft(200);
  bar->SetFloatTop(220);
  bar->SetVisible(true);
  TdxBarControl* control = bar->GetControl();
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(control->HandleAllocated());
  RECT before;
  GetWindowRect(control->GetHandle(), &before);
  EXPECT_EQ(before.left, 200);

  GWatched = control->GetHandle();
  GMoves = 0;
  {
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, MoveHook, nullptr, GetCurrentThreadId());
    TFinally unhook([&] {
      UnhookWindowsHookEx(hook);
      GWatched = nullptr;
    });
    bar->Updating();
    bar->SetFloatLeft(260);
    bar->SetFloatTop(240);
    EXPECT_EQ(GMoves, 0);
    bar->Updated();
  }
  EXPECT_EQ(GMoves, 1);
  RECT after;
  GetWindowRect(bar->GetControl()->GetHandle(), &after);
  EXPECT_EQ(after.left, 260);
  EXPECT_EQ(after.top, 240);
}

TEST_F(TBarWindow, VisibleChangesFireOnceAndHidingStoresTheState)
{
  Host.Form()->SetBounds(80, 80, 500, 300);
  Host.Form()->Show();
  TBarEventLog log;
  log.Attach(Manager);
  TdxBar* bar = Bars()->Add();
  bar->SetDockingStyle(dsTop);
  bar->SetVisible(true);
  bar->SetVisible(true);
  EXPECT_EQ(log.VisibleChanges, 1);
  bar->SetVisible(false);
  EXPECT_EQ(log.VisibleChanges, 2);
  EXPECT_EQ(bar->GetControl(), nullptr);
  EXPECT_EQ(bar->GetDockingStyle(), dsTop);
}
