// The toolbar window as Windows sees it: window kinds, hit codes docked and floating, the
// floating constraints (min/max info, sizing, being pulled back onto a monitor), the dialog
// code, the mark's hot-track timer and double-click docking.
#include "ToolbarTestUtil.h"

#include <atomic>

#include "bars/model/customizing.h"
#include "platform/Scope.h"

#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TToolbarWindow : public TToolbarFixture {
protected:
  void SetUp() override { ShowForm(); }

  // A floating bar shown at (AX, AY).
  TdxBarControl* ShowFloating(TdxBar* ABar, int AX = 300, int AY = 300)
  {
    ABar->SetDockingStyle(dsNone);
    ABar->SetFloatLeft(AX);
    ABar->SetFloatTop(AY);
    ABar->SetFloatClientWidth(200);
    ABar->SetVisible(true);
    PumpPending();
    return ABar->GetControl();
  }
};

// Where the window's client area sits inside it: the frame's left, top, right and bottom.
TRect FrameOf(HWND AWnd)
{
  const TRect w = WindowRectOf(AWnd);
  RECT c{};
  GetClientRect(AWnd, &c);
  MapWindowPoints(AWnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
  return TRect{c.left - w.left, c.top - w.top, w.right - c.right, w.bottom - c.bottom};
}

}  // namespace

TEST_F(TToolbarWindow, AWindowMadeAsItDocksHasTheFrameOfItsPlace)
{
  TdxBar* bar = AddBar({L"One"});
  bar->SetVisible(true);
  PumpPending();
  TdxBarControl* c = bar->GetControl();
  ASSERT_TRUE(c && c->HandleAllocated());
  EXPECT_EQ(FrameOf(c->GetHandle()), c->GetBorders(dsTop));
  // A status bar's frame makes room for the size grip it shows on the form's bottom edge.
  TdxBar* status = AddBar({L"Ready"}, dsBottom);
  status->SetBorderStyle(bbsNone);
  status->SetWholeRow(true);
  status->SetSizeGrip(true);
  status->SetVisible(true);
  PumpPending();
  c = status->GetControl();
  ASSERT_TRUE(c && c->HandleAllocated());
  ASSERT_TRUE(status->CanShowSizeGrip());
  EXPECT_EQ(FrameOf(c->GetHandle()), c->GetBorders(dsBottom));
}

TEST_F(TToolbarWindow, DockedAndFloatingWindowKinds)
{
  TdxBar* bar = AddBar({L"One", L"Two"});
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  ASSERT_TRUE(c->HandleAllocated());
  HWND docked = c->GetHandle();
  LONG_PTR style = GetWindowLongPtrW(docked, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(style & WS_CLIPSIBLINGS);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_EQ(GetParent(docked), Bars()->GetDockControl(dsTop)->GetHandle());
  EXPECT_EQ(GetClassLongW(docked, GCL_STYLE) & 0xFFFF, UINT(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
  EXPECT_EQ(SendMessageW(docked, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS);

  bar->SetDockingStyle(dsNone);
  c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  ASSERT_TRUE(c->HandleAllocated());
  style = GetWindowLongPtrW(c->GetHandle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_FALSE(style & WS_BORDER);
  EXPECT_EQ(GetWindow(c->GetHandle(), GW_OWNER), Host.Form()->GetHandle());
  wchar_t text[64] = {};
  GetWindowTextW(c->GetHandle(), text, 64);
  EXPECT_STREQ(text, L"Tools");
}

TEST_F(TToolbarWindow, FloatingHitCodesStoreTheRealCode)
{
  TdxBar* bar = AddBar({L"One", L"Two"});
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  HWND h = c->GetHandle();
  TRect w = WindowRectOf(h);
  auto hit = [&](int X, int Y) { return int(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(X, Y))); };
  // Top frame, and the top-left corner too: top wins, no corners.
  EXPECT_EQ(hit(w.left + RectWidth(w) / 2, w.top), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTTOP);
  EXPECT_EQ(hit(w.left, w.top), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTTOP);
  EXPECT_EQ(hit(w.right - 1, w.top + RectHeight(w) / 2), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTRIGHT);
  EXPECT_EQ(hit(w.left + 5, w.bottom - 1), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTBOTTOM);
  EXPECT_EQ(hit(w.left, w.top + RectHeight(w) / 2), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTLEFT);
  // The close button.
  TRect close = c->GetCloseButtonRect();
  ASSERT_FALSE(IsRectEmpty(close));
  POINT p = WindowToScreen(h, Point((close.left + close.right) / 2, (close.top + close.bottom) / 2));
  EXPECT_EQ(hit(p.x, p.y), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTCLOSE);
  // The caption's free part drags.
  TRect caption = c->GetCaptionRect();
  p = WindowToScreen(h, Point(caption.left + 3, (caption.top + caption.bottom) / 2));
  EXPECT_EQ(hit(p.x, p.y), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTCAPTION);
  // An item takes the mouse.
  TRect item = bar->GetItemLinks()->Items(0)->GetItemRect();
  POINT ip{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(h, &ip);
  EXPECT_EQ(hit(ip.x, ip.y), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTCLIENT);
}

TEST_F(TToolbarWindow, DockedHitCodes)
{
  TdxBar* bar = AddBar({L"One", L"Two"});
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  PumpPending();
  HWND h = c->GetHandle();
  TRect item = bar->GetItemLinks()->Items(0)->GetItemRect();
  POINT ip{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(h, &ip);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(ip.x, ip.y)), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTCLIENT);
  // The free space after the items is the drag area.
  TRect client = c->GetClientRect();
  TRect last = bar->GetItemLinks()->Items(1)->GetItemRect();
  if (last.right + 2 < client.right - c->GetFullMarkSize()) {
    POINT fp{last.right + 1, client.bottom / 2};
    ClientToScreen(h, &fp);
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(fp.x, fp.y)), HTCLIENT);
    EXPECT_EQ(c->GetHitCode(), HTCAPTION);
  }
  // The frame before the items (the drag handle) drags too.
  TRect w = WindowRectOf(h);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(w.left, w.top + RectHeight(w) / 2)), HTCLIENT);
  EXPECT_EQ(c->GetHitCode(), HTCAPTION);
}

TEST_F(TToolbarWindow, FloatingMinMaxInfoAndSizing)
{
  TdxBar* bar = AddBar({L"Alpha", L"Beta", L"Gamma"});
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  HWND h = c->GetHandle();
  MINMAXINFO info{};
  SendMessageW(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 10);
  EXPECT_EQ(info.ptMinTrackSize.y, 10);
  EXPECT_EQ(info.ptMaxTrackSize.x, 30000);
  EXPECT_EQ(info.ptMaxSize.y, 30000);
  EXPECT_EQ(info.ptMaxPosition.x, 30000);

  TPoint frame = c->GetFrameSize(dsNone);
  // Dragging the right edge far left: the client keeps the floating minimum.
  RECT r = WindowRectOf(h);
  RECT asked = r;
  asked.right = asked.left + 12;
  SendMessageW(h, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&asked));
  EXPECT_EQ(asked.left, r.left);
  EXPECT_GE(asked.right - asked.left - frame.x, dxBarFloatingMinClientWidth);
  // Narrower means more lines: the bottom follows.
  EXPECT_GT(asked.bottom - asked.top, r.bottom - r.top);
  // The left edge moves and the right stays.
  RECT left = r;
  left.left = left.right - 12;
  SendMessageW(h, WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&left));
  EXPECT_EQ(left.right, r.right);
  EXPECT_GE(left.right - left.left - frame.x, dxBarFloatingMinClientWidth);
  // Corners keep the present rectangle.
  RECT corner{1, 2, 3, 4};
  SendMessageW(h, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&corner));
  EXPECT_EQ(corner, WindowRectOf(h));
  // Never further above the screen than 15 pixels.
  RECT high = r;
  OffsetRect(&high, 0, -40 - r.top);
  SendMessageW(h, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(high.top, dxBarFloatingTopLimit);
}

// A floating bar one link a line, its right edge pressed with the real pointer and drawn out in
// small steps, as a hand moves: the edge follows the pointer, and the links take fewer lines
// once it has gone far enough, however small each step was.
TEST_F(TToolbarWindow, AFloatingBarsEdgeDrawnOutSlowlyByThePointerWidensIt)
{
  TdxBar* bar = AddBar({L"Alpha", L"Beta", L"Gamma", L"Delta"});
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  HWND h = c->GetHandle();
  bar->SetFloatClientWidth(0);
  c->SizeForFloating();
  const TRect before = WindowRectOf(h);
  const POINT edge{before.right - 2, (before.top + before.bottom) / 2};
  ASSERT_TRUE(MoveMouseTo(edge));
  std::atomic<bool> done{false};
  RunWithHelperThread([&] { PumpUntil([&] { return done.load(); }, 10000); },
                      [&] {
                        SendMouseButton(true);
                        PauseScript(150);
                        for (int i = 1; i <= 30; ++i) {
                          SendMouseMove(POINT{edge.x + 8 * i, edge.y});
                          PauseScript(30);
                        }
                        PauseScript(150);
                        SendMouseButton(false);
                        PauseScript(150);
                        done = true;
                      });
  const TRect after = WindowRectOf(h);
  EXPECT_EQ(after.left, before.left);
  EXPECT_GT(after.right - after.left, before.right - before.left) << "the window did not widen";
  EXPECT_LE(after.right, edge.x + 8 * 30 + 2) << "the window passed the pointer";
  EXPECT_LT(after.bottom - after.top, before.bottom - before.top) << "the links take as many lines";
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TToolbarWindow, FloatingBarDraggedOffScreenIsPulledBack)
{
  TdxBar* bar = AddBar({L"One"});
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  HWND h = c->GetHandle();
  MoveMouseTo(POINT{200, 200});
  SetWindowPos(h, nullptr, -5000, -5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  TRect w = WindowRectOf(h);
  EXPECT_NE(MonitorFromRect(&w, MONITOR_DEFAULTTONULL), nullptr);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint(POINT{200, 200}, MONITOR_DEFAULTTONEAREST), &info);
  EXPECT_EQ(w.left, info.rcWork.left);
  EXPECT_EQ(w.top, info.rcWork.top);
  // Far right and below: the right and bottom edges meet the work area's.
  SetWindowPos(h, nullptr, 50000, 50000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  w = WindowRectOf(h);
  EXPECT_EQ(w.right, info.rcWork.right);
  EXPECT_EQ(w.bottom, info.rcWork.bottom);
  // Partly visible with the whole caption on the work area stays where it was put.
  SetWindowPos(h, nullptr, 100, info.rcWork.bottom - c->GetCaptionRect().bottom, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(WindowRectOf(h).top, info.rcWork.bottom - c->GetCaptionRect().bottom);
  // Placed with too little of its caption on the work area to grab, the bar comes wholly
  // onto it; placed with enough of it there, the bar stays partly off the screen. The bar's
  // own values keep what was asked for.
  const TRect caption = c->GetCaptionRect();  // window coordinates
  const RECT& area = info.rcWork;
  const struct {
    int Left, Top;
    bool Moved;
  } cases[] = {
      {-20, 100, false},
      {area.right - 40, 100, false},
      {area.right - 5, 100, true},
      {100, area.bottom - 4, true},
      {-RectWidth(caption) + 3, 100, true},
  };
  for (const auto& k : cases) {
    bar->SetFloatLeft(k.Left);
    bar->SetFloatTop(k.Top);
    w = WindowRectOf(h);
    EXPECT_EQ(bar->GetFloatLeft(), k.Left);
    EXPECT_EQ(bar->GetFloatTop(), k.Top);
    if (k.Moved)
      EXPECT_TRUE(w.left >= area.left && w.right <= area.right && w.top >= area.top && w.bottom <= area.bottom)
          << k.Left << ", " << k.Top;
    else
      EXPECT_TRUE(w.left == k.Left && w.top == k.Top) << k.Left << ", " << k.Top;
  }
}

TEST_F(TToolbarWindow, MarkHotTrackTimerReturnsTheMarkToNormal)
{
  TdxBar* bar = AddBar({L"One"});
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  ASSERT_TRUE(c->HasMark());
  // The cursor away from the bar: the next tick turns the hot mark back.
  MoveMouseTo(POINT{20, 20});
  c->ClickMark(TdxBarMarkState::Hot);
  EXPECT_EQ(c->GetMarkState(), TdxBarMarkState::Hot);
  EXPECT_TRUE(c->IsMarkTimerRunning());
  EXPECT_TRUE(PumpUntil([&] { return c->GetMarkState() == TdxBarMarkState::Normal; }, 2000));
  EXPECT_FALSE(c->IsMarkTimerRunning());

  // Over the mark it stays hot.
  TRect mark = c->GetMarkRect();
  POINT centre = WindowToScreen(c->GetHandle(), Point((mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2));
  MoveMouseTo(centre);
  c->ClickMark(TdxBarMarkState::Hot);
  PumpFor(200);
  EXPECT_EQ(c->GetMarkState(), TdxBarMarkState::Hot);
  EXPECT_TRUE(c->IsMarkTimerRunning());
  c->ClickMark(TdxBarMarkState::Normal);
  EXPECT_FALSE(c->IsMarkTimerRunning());
}

TEST_F(TToolbarWindow, WithoutAPopupToOpenTheMarkIsDrawnPressedOnlyWhileItIsPressed)
{
  TdxBarCustomizingServices none = dxBarCustomizingServices();
  none.ShowQuickControl = nullptr;
  none.QuickControlClass = nullptr;
  TdxBarCustomizingServices previous = SetdxBarCustomizingServices(none);
  TFinally restore([&]() noexcept { SetdxBarCustomizingServices(previous); });
  TdxBar* bar = AddBar({L"One"});
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  ASSERT_TRUE(c->HasMark());
  TRect mark = c->GetMarkRect();
  POINT centre{(mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2};
  ::ClientToScreen(c->GetHandle(), &centre);
  SendMouseMove(centre);
  SendMouseButton(true);
  EXPECT_TRUE(PumpUntil([&] { return c->GetMarkState() == TdxBarMarkState::Pressed; }, 2000));
  SendMouseButton(false);
  EXPECT_TRUE(PumpUntil([&] { return c->GetMarkState() != TdxBarMarkState::Pressed; }, 2000))
      << "the mark stays drawn open";
  SendMouseMove(POINT{20, 20});
  PumpPending();
}

TEST_F(TToolbarWindow, DockedMarkHasNoTimer)
{
  TdxBar* bar = AddBar({L"One"});
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  c->ClickMark(TdxBarMarkState::Hot);
  EXPECT_FALSE(c->IsMarkTimerRunning());
  c->ClickMark(TdxBarMarkState::Pressed);
  EXPECT_EQ(c->GetMarkState(), TdxBarMarkState::Pressed);
  c->ClickMark(TdxBarMarkState(7));  // out of range is clamped
  EXPECT_EQ(c->GetMarkState(), TdxBarMarkState::Pressed);
  c->ClickMark(TdxBarMarkState::Normal);
  EXPECT_EQ(c->GetMarkState(), TdxBarMarkState::Normal);
}

TEST_F(TToolbarWindow, DoubleClickDocksANeverDockedBarOnANewLastTopRow)
{
  TdxBar* docked = AddBar({L"First"});
  docked->SetVisible(true);
  TdxDockControl* top = Bars()->GetDockControl(dsTop);
  ASSERT_NE(top, nullptr);
  int rows = top->GetRowCount();
  ASSERT_GE(rows, 1);

  TdxBar* bar = AddBar({L"One"}, dsNone);
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  TRect caption = c->GetCaptionRect();
  POINT p = WindowToScreen(c->GetHandle(), Point(caption.left + 3, (caption.top + caption.bottom) / 2));
  SendMessageW(c->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  ASSERT_EQ(c->GetHitCode(), HTCAPTION);
  SendMessageW(c->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  PumpPending();
  EXPECT_EQ(bar->GetDockingStyle(), dsTop);
  EXPECT_TRUE(bar->GetOneOnRow());
  EXPECT_EQ(bar->GetRow(), rows);
  ASSERT_NE(bar->GetControl(), nullptr);
  EXPECT_EQ(bar->GetControl()->GetDockControl(), top);

  // And back: a docked bar floats on a double click of its drag area.
  TdxBarControl* dc = bar->GetControl();
  TRect w = WindowRectOf(dc->GetHandle());
  SendMessageW(dc->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(w.left, w.top + RectHeight(w) / 2));
  ASSERT_EQ(dc->GetHitCode(), HTCAPTION);
  SendMessageW(dc->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  PumpPending();
  EXPECT_EQ(bar->GetDockingStyle(), dsNone);
}

TEST_F(TToolbarWindow, CtrlTabFollowsTheManagersBars)
{
  TdxBar* a = AddBar({L"A"});
  TdxBar* b = AddBar({L"B"});
  TdxBar* c = AddBar({L"C"});
  for (TdxBar* bar : {a, b, c})
    bar->SetVisible(true);
  // B's window is made again: the newest window, but still the second bar.
  b->SetVisible(false);
  b->SetVisible(true);
  PumpPending();
  auto ctrlTab = [](TdxBar* AFrom, bool ABack) {
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), std::begin(state));
    state[VK_CONTROL] = 0x80;
    state[VK_SHIFT] = ABack ? 0x80 : 0;
    SetKeyboardState(state);
    TFinally restore([&] { SetKeyboardState(saved); });
    SendMessageW(AFrom->GetControl()->GetHandle(), WM_KEYDOWN, VK_TAB, 0);
  };
  static_cast<TCustomdxBarControl*>(a->GetControl())->ActivateWithControl(nullptr);
  ASSERT_EQ(ActiveBarControl(), a->GetControl());
  ctrlTab(a, false);
  EXPECT_EQ(ActiveBarControl(), b->GetControl());
  ctrlTab(b, true);
  EXPECT_EQ(ActiveBarControl(), a->GetControl());
  ctrlTab(a, true);
  EXPECT_EQ(ActiveBarControl(), c->GetControl());
  static_cast<TCustomdxBarControl*>(c->GetControl())->Deactivate();
}

namespace {

struct TRefuseDocking : TObject {
  int Asked = 0;
  void Handle(TdxBar*, TdxBarDockingStyle, TWinControl*, bool& CanDocking)
  {
    ++Asked;
    CanDocking = false;
  }
};

}  // namespace

TEST_F(TToolbarWindow, RefusedDockingKeepsTheBarFloating)
{
  TRefuseDocking refuse;
  Manager->OnDocking = TdxBarCanDockingEvent(&refuse, &TRefuseDocking::Handle);
  TdxBar* bar = AddBar({L"One"}, dsNone);
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  TRect caption = c->GetCaptionRect();
  POINT p = WindowToScreen(c->GetHandle(), Point(caption.left + 3, (caption.top + caption.bottom) / 2));
  SendMessageW(c->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  SendMessageW(c->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  PumpPending();
  EXPECT_GE(refuse.Asked, 1);
  EXPECT_EQ(bar->GetDockingStyle(), dsNone);
  EXPECT_EQ(bar->GetControl(), c);
  Manager->OnDocking = TdxBarCanDockingEvent();
}

TEST_F(TToolbarWindow, TransparencyOnlyWhileFloating)
{
  TdxBar* bar = AddBar({L"One"});
  bar->SetAlphaBlendValue(128);
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(c->GetHandle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(c->GetHandle(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  bar->SetDockingStyle(dsTop);
  c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(c->GetHandle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(TToolbarWindow, DestroyedFromOutsideHidesTheBar)
{
  TdxBar* bar = AddBar({L"One"});
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  DestroyWindow(c->GetHandle());
  PumpPending();
  EXPECT_FALSE(bar->GetVisible());
}

TEST_F(TToolbarWindow, MovingKeepsBothWindowsAndSwitchesBetweenThem)
{
  TdxBar* bar = AddBar({L"One", L"Two"});
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  HWND floating = c->GetHandle();
  c->SetMoving(true);
  c->SetDockingStyle(dsTop);
  HWND docked = c->GetHandle();
  ASSERT_NE(docked, floating);
  EXPECT_TRUE(GetWindowLongPtrW(docked, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetParent(docked), Bars()->GetDockControl(dsTop)->GetHandle());
  EXPECT_TRUE(IsWindowVisible(docked));
  // The floating window waits hidden.
  EXPECT_TRUE(IsWindow(floating));
  EXPECT_FALSE(IsWindowVisible(floating));
  // Back to floating: the same floating window again, the docked one waits.
  c->SetDockingStyle(dsNone);
  EXPECT_EQ(c->GetHandle(), floating);
  EXPECT_TRUE(IsWindowVisible(floating));
  EXPECT_TRUE(IsWindow(docked));
  EXPECT_EQ(FindControl(floating), c);
  EXPECT_EQ(FindControl(docked), nullptr);
  // The end of the move drops the spare window and writes the state back.
  c->SetMoving(false);
  EXPECT_FALSE(IsWindow(docked));
  EXPECT_EQ(c->GetHandle(), floating);
  EXPECT_EQ(bar->GetDockingStyle(), dsNone);
}

TEST_F(TToolbarWindow, PostedRebuildRunsOnceForADockedBar)
{
  TdxBar* bar = AddBar({L"One"});
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  // A new link appears after the posted rebuild, not before it.
  auto* button = new TdxBarButton(Host.Form());
  button->SetCaption(L"Two");
  Manager->BeginUpdate();
  bar->GetItemLinks()->AddItem(button);
  Manager->EndUpdate(false);
  c->PostRebuild();
  c->PostRebuild();
  MSG msg{};
  int posted = 0;
  while (PeekMessageW(&msg, c->GetHandle(), DXM_BAR_REBUILD, DXM_BAR_REBUILD, PM_REMOVE)) {
    ++posted;
    DispatchOne(msg);
  }
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(c->GetVisibleCount(), 2);
}

TEST_F(TToolbarWindow, CaptionMarkLeavesTheItemsTheWholeClient)
{
  // Floating, the mark lies in the caption: the items may use the whole client width.
  TdxBar* bar = AddBar({L"One"});
  TdxBarControl* c = ShowFloating(bar);
  ASSERT_NE(c, nullptr);
  ASSERT_TRUE(c->HasCaptionMark());
  bar->SetFloatClientWidth(0);  // the minimum: the caption's mark lies above the client's right part
  c->SizeForFloating();
  c->CalculateViewInfo();
  TdxBarItemControl* control = bar->GetItemLinks()->Items(0)->GetControl();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(c->GetItemClipRect(control), c->GetClientRect());
  // Docked, the mark takes the end of the client: the items stop before it.
  TdxBar* docked = AddBar({L"Two"});
  docked->SetVisible(true);
  TdxBarControl* d = docked->GetControl();
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(d->HasMark());
  ASSERT_FALSE(d->HasCaptionMark());
  TdxBarItemControl* dockedControl = docked->GetItemLinks()->Items(0)->GetControl();
  ASSERT_NE(dockedControl, nullptr);
  EXPECT_EQ(d->GetItemClipRect(dockedControl).right, d->GetMarkRect().left);
}

TEST_F(TToolbarWindow, MarkedMouseMoveReevaluatesTheControlUnderAStillPointer)
{
  TdxBar* bar = AddBar({L"One", L"Two"});
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  TdxBarItemLink* link = bar->GetItemLinks()->Items(1);
  TRect r = link->GetItemRect();
  POINT client{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  POINT screen = client;
  ClientToScreen(c->GetHandle(), &screen);
  ASSERT_TRUE(MoveMouseTo(screen));
  PumpUntil([&] { return c->GetSelectedControl() == link->GetControl(); });
  ASSERT_EQ(c->GetSelectedControl(), link->GetControl());
  const LPARAM at = MAKELPARAM(client.x, client.y);
  // A repeated move at the stored point is no move: the cleared selection stays cleared.
  c->SelectItemControl(nullptr);
  SendMessageW(c->GetHandle(), WM_MOUSEMOVE, 0, at);
  EXPECT_EQ(c->GetSelectedControl(), nullptr);
  // A hot-tracking move finds the control under the pointer again.
  SendMessageW(c->GetHandle(), WM_MOUSEMOVE, dxBarHotTrackMouseMove, at);
  EXPECT_EQ(c->GetSelectedControl(), link->GetControl());
  // It counts once: the next plain move at the same point is again no move.
  c->SelectItemControl(nullptr);
  SendMessageW(c->GetHandle(), WM_MOUSEMOVE, 0, at);
  EXPECT_EQ(c->GetSelectedControl(), nullptr);
  // The move a layout posts is such a move: it arrives, marked, and re-selects.
  c->RecalculateLayout();
  EXPECT_TRUE(PumpUntil([&] { return c->GetSelectedControl() == link->GetControl(); }, 1000));
}

namespace {

// A bar activated by key takes the pointer's hot item away from the bar the pointer rests on:
// one highlighted item on screen, not two.
TEST_F(TToolbarWindow, ABarActivatedByKeyTakesTheHotItemFromTheBarUnderThePointer)
{
  TdxBar* hovered = AddBar({L"One", L"Two"});
  TdxBar* keyed = AddBar({L"Three"});
  for (TdxBar* bar : {hovered, keyed}) {
    bar->SetOneOnRow(true);
    bar->SetVisible(true);
  }
  TdxBarControl* under = hovered->GetControl();
  TdxBarItemLink* link = hovered->GetItemLinks()->Items(1);
  TRect r = link->GetItemRect();
  POINT screen{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(under->GetHandle(), &screen);
  ASSERT_TRUE(MoveMouseTo(screen));
  ASSERT_TRUE(PumpUntil([&] { return under->GetSelectedControl() == link->GetControl(); }));
  static_cast<TCustomdxBarControl*>(keyed->GetControl())->ActivateWithControl(nullptr);
  EXPECT_NE(keyed->GetControl()->GetSelectedControl(), nullptr);
  EXPECT_EQ(under->GetSelectedControl(), nullptr) << "two hot items";
  keyed->GetControl()->Close();
}

}  // namespace

namespace {

// The manager knows which toolbar is active by key: a second one activated takes its place and
// gives it back when it leaves; Esc marks the close as the keyboard's, a later activation
// clears the mark.
TEST_F(TToolbarWindow, TheManagersFocusedBarFollowsActivationAndEscMarksTheClose)
{
  TdxBar* first = AddBar({L"One"});
  TdxBar* second = AddBar({L"Two"});
  for (TdxBar* bar : {first, second})
    bar->SetVisible(true);
  auto activate = [](TdxBar* ABar) {
    static_cast<TCustomdxBarControl*>(ABar->GetControl())->ActivateWithControl(nullptr);
  };
  EXPECT_EQ(Manager->GetFocusedBarControl(), nullptr);
  activate(first);
  EXPECT_EQ(Manager->GetFocusedBarControl(), first->GetControl());
  activate(second);
  EXPECT_EQ(Manager->GetFocusedBarControl(), second->GetControl());
  static_cast<TCustomdxBarControl*>(second->GetControl())->Deactivate();
  EXPECT_EQ(Manager->GetFocusedBarControl(), first->GetControl()) << "not given back";

  SendMessageW(first->GetControl()->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(first->GetControl()->GetActive());
  EXPECT_TRUE(first->GetControl()->IsClosedByKey());
  EXPECT_EQ(Manager->GetFocusedBarControl(), nullptr);
  activate(first);
  EXPECT_FALSE(first->GetControl()->IsClosedByKey());
  first->GetControl()->Close();
  EXPECT_FALSE(first->GetControl()->IsClosedByKey()) << "a close not by key";
  EXPECT_EQ(Manager->GetFocusedBarControl(), nullptr);
}

}  // namespace

namespace {

// The non-client messages windows of this thread receive: whether the window was visible, and
// what its window procedure answered.
class TNonClientLog {
public:
  struct TEntry {
    HWND Wnd;
    UINT Message;
    bool Visible;
    LRESULT Result;
  };
  TNonClientLog() { FHook = SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId()); }
  ~TNonClientLog()
  {
    UnhookWindowsHookEx(FHook);
    FEntries.clear();
  }
  bool Installed() const { return FHook != nullptr; }
  int Count(HWND AWnd, UINT AMessage, bool AVisible = true) const
  {
    return int(std::count_if(FEntries.begin(), FEntries.end(), [&](const TEntry& e) {
      return e.Wnd == AWnd && e.Message == AMessage && e.Visible == AVisible;
    }));
  }
  // Whether every AMessage AWnd received was answered with AResult.
  bool AllAnswered(HWND AWnd, UINT AMessage, LRESULT AResult) const
  {
    return std::all_of(FEntries.begin(), FEntries.end(),
                       [&](const TEntry& e) { return e.Wnd != AWnd || e.Message != AMessage || e.Result == AResult; });
  }

private:
  static LRESULT CALLBACK Hook(int ACode, WPARAM AWParam, LPARAM ALParam)
  {
    const auto* e = reinterpret_cast<const CWPRETSTRUCT*>(ALParam);
    if (ACode == HC_ACTION && (e->message == WM_NCPAINT || e->message == WM_NCACTIVATE))
      FEntries.push_back({e->hwnd, e->message, IsWindowVisible(e->hwnd) != FALSE, e->lResult});
    return CallNextHookEx(nullptr, ACode, AWParam, ALParam);
  }
  HHOOK FHook = nullptr;
  static inline std::vector<TEntry> FEntries;
};

// How many pixels of the window's left frame (where a docked bar's gripper is) differ from
// the colour of its first pixel, on the screen.
int VariedFramePixels(TdxBarControl* AControl)
{
  const TRect r = WindowRectOf(AControl->GetHandle());
  const int frame = AControl->GetBorders(dsTop).left;
  const TDib32 shot = CaptureScreen(RECT{r.left, r.top, r.left + frame, r.bottom});
  const COLORREF first = shot.Pixel(0, 0);
  return CountPixels(shot, RECT{0, 0, frame, r.bottom - r.top}, [&](COLORREF c) { return !ColorsClose(c, first, 2); });
}

}  // namespace

// A bar's window is made hidden and then shown: its frame is drawn as it shows, not before
// (where it would go nowhere), by the bar alone (its window has no frame of the system's);
// activation is answered without the system's frame drawing, by the bar and by its site.
TEST_F(TToolbarWindow, AShowingBarDrawsItsOwnFrameOnlyOnceVisibleAndAnswersActivationItself)
{
  TdxBar* bar = AddBar({L"One", L"Two"});
  TNonClientLog log;
  ASSERT_TRUE(log.Installed());
  bar->SetVisible(true);
  PumpPending();
  TdxBarControl* c = bar->GetControl();
  ASSERT_TRUE(c && c->HandleAllocated());
  const HWND wnd = c->GetHandle();
  const HWND site = GetParent(wnd);
  EXPECT_EQ(log.Count(wnd, WM_NCPAINT, false), 0);
  const int shown = log.Count(wnd, WM_NCPAINT);
  EXPECT_GE(shown, 1);
  EXPECT_GT(VariedFramePixels(c), 0) << "the gripper is drawn in the frame";
  c->RepaintAll();
  EXPECT_EQ(log.Count(wnd, WM_NCPAINT), shown + 1);

  SendMessageW(wnd, WM_NCACTIVATE, 1, 0);
  EXPECT_GE(log.Count(wnd, WM_NCACTIVATE), 1);
  EXPECT_GE(log.Count(site, WM_NCACTIVATE), 1) << "the bar keeps its parent drawn active";
  EXPECT_TRUE(log.AllAnswered(wnd, WM_NCACTIVATE, TRUE));
  EXPECT_TRUE(log.AllAnswered(site, WM_NCACTIVATE, TRUE));
}
