// Opening and closing the Customize dialog: one dialog at a time, customizing mode ended
// once on every way out, the other forms disabled meanwhile, the window's styles.
#include "CustFormTestUtil.h"

#include "barcustomize/listpainters.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/painters/painter.h"
#include "bars/utils/utils.h"
#include "lookandfeel/dxOffice11.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TLifecycle = TCustFormFixture;

TEST_F(TLifecycle, OpeningTwiceGivesOneDialogAndOneShowEvent)
{
  TdxBarCustomizingForm* first = Open();
  ASSERT_NE(first, nullptr);
  Manager->SetIsCustomizing(false);
  Manager->SetIsCustomizing(true);
  TdxBarCustomizingForm* second = GetCustomizingForm();
  ASSERT_NE(second, nullptr);
  const int shows = ShowCount;
  // Another manager asking while this one customizes gets nothing either.
  TOtherHost other;
  other.Manager->SetIsCustomizing(true);
  SetBarManagerCustomizing(Manager, true);
  EXPECT_EQ(GetCustomizingForm(), second);
  EXPECT_EQ(ShowCount, shows);
  EXPECT_EQ(second->GetBarManager(), Manager);
  EXPECT_EQ(ShowCount, 2) << "once per opening";
  EXPECT_EQ(HideCount, 1);
}

// Form data the dialog cannot read (a class it names is unknown) leaves no dialog and no
// customizing mode behind, and says why.
TEST_F(TLifecycle, UnreadableFormDataEndsTheModeAgain)
{
  struct TUnregistered {
    TUnregistered() { UnRegisterClass(TAction::StaticClass()); }
    ~TUnregistered() { RegisterClass(TAction::StaticClass()); }
  } unregistered;
  Host->Show();
  EXPECT_THROW(Manager->SetIsCustomizing(true), Exception);
  EXPECT_EQ(GetCustomizingForm(), nullptr);
  EXPECT_FALSE(Manager->IsCustomizing());
  EXPECT_EQ(ShowCount, 1);
  EXPECT_EQ(HideCount, 1);
}

TEST_F(TLifecycle, WindowIsAnOwnedPopupWithTheDialogFrame)
{
  ASSERT_NE(Open(), nullptr);
  HWND wnd = Dialog->GetHandle();
  EXPECT_EQ(DWORD(::GetWindowLongPtrW(wnd, GWL_STYLE)) & ~DWORD(WS_VISIBLE | WS_DISABLED), 0x84CC0000u);
  EXPECT_EQ(DWORD(::GetWindowLongPtrW(wnd, GWL_EXSTYLE)) & 0x101u, 0x101u);
  EXPECT_EQ(::GetWindow(wnd, GW_OWNER), Host->GetHandle());
  RECT client{};
  ::GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 366);
  EXPECT_EQ(client.bottom, 310);
  wchar_t caption[64] = {};
  ::GetWindowTextW(wnd, caption, 64);
  EXPECT_STREQ(caption, L"Customize");
}

TEST_F(TLifecycle, CloseButtonEndsCustomizingOnceAndFreesTheDialog)
{
  ASSERT_NE(Open(), nullptr);
  TWeakRef<TdxBarCustomizingForm> dialog(Dialog);
  RECT r{};
  ::GetWindowRect(Dialog->BClose->GetHandle(), &r);
  ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  EXPECT_TRUE(PumpUntil([&] { return !dialog; }));
  EXPECT_EQ(GetCustomizingForm(), nullptr);
  EXPECT_FALSE(Manager->IsCustomizing());
  EXPECT_EQ(HideCount, 1);
  Manager->SetIsCustomizing(false);
  EXPECT_EQ(HideCount, 1) << "the mode ends exactly once";
}

TEST_F(TLifecycle, ClosingGivesTheKeyboardBackToTheForm)
{
  ASSERT_NE(Open(), nullptr);
  ASSERT_EQ(::GetActiveWindow(), Dialog->GetHandle());
  Manager->SetIsCustomizing(false);
  EXPECT_EQ(::GetActiveWindow(), Host->GetHandle());
  PressKey(VK_F10, {}, 300);  // taken by the bars: the form sees no release
  EXPECT_TRUE(PumpUntil([] { return ActiveBarControl() != nullptr; }, 2000)) << "F10 reaches the form's menu bar";
  if (TCustomdxBarControl* active = ActiveBarControl())
    active->Close();
}

TEST_F(TLifecycle, EscapeAndTheSystemCloseEndCustomizingToo)
{
  ASSERT_NE(Open(), nullptr);
  TWeakRef<TdxBarCustomizingForm> dialog(Dialog);
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  EXPECT_TRUE(PumpUntil([&] { return !dialog; }));
  EXPECT_FALSE(Manager->IsCustomizing());

  ASSERT_NE(Open(), nullptr);
  dialog = Dialog;
  ::SendMessageW(Dialog->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return !dialog; }));
  EXPECT_FALSE(Manager->IsCustomizing());
  EXPECT_EQ(HideCount, 2);
}

TEST_F(TLifecycle, FreeingTheDialogOrTheManagerEndsCustomizing)
{
  ASSERT_NE(Open(), nullptr);
  Dialog->Free();
  EXPECT_EQ(GetCustomizingForm(), nullptr);
  EXPECT_FALSE(Manager->IsCustomizing());
  EXPECT_EQ(HideCount, 1);

  TOtherHost other;
  // The unit's shut-down (the program ending) closes an open dialog the same way.
  ASSERT_NE(Open(), nullptr);
  EXPECT_FALSE(::IsWindowEnabled(other.Form->GetHandle()));
  dxBarUninstallCustomizingForm();
  EXPECT_EQ(GetCustomizingForm(), nullptr);
  EXPECT_FALSE(Manager->IsCustomizing());
  EXPECT_TRUE(::IsWindowEnabled(other.Form->GetHandle()));

  ASSERT_NE(Open(), nullptr);
  EXPECT_FALSE(::IsWindowEnabled(other.Form->GetHandle()));
  TWeakRef<TdxBarCustomizingForm> dialog(Dialog);
  Manager->Free();
  Manager = nullptr;
  EXPECT_FALSE(dialog) << "the dialog goes with its manager";
  EXPECT_EQ(GetCustomizingForm(), nullptr);
  EXPECT_TRUE(::IsWindowEnabled(other.Form->GetHandle()));
}

TEST_F(TLifecycle, OtherFormsWithManagersAreDisabledWhileShownButNotTheCustomizedOne)
{
  TOtherHost other;
  TOwned<TCustFormHost> plain(TCustomForm::CreateNew<TCustFormHost>(nullptr));
  plain->Show();
  ASSERT_NE(Open(), nullptr);
  EXPECT_FALSE(::IsWindowEnabled(other.Form->GetHandle()));
  EXPECT_TRUE(::IsWindowEnabled(Host->GetHandle())) << "its bars are what the user customises";
  EXPECT_TRUE(::IsWindowEnabled(plain->GetHandle())) << "a form without a manager stays";
  Dialog->Hide();
  EXPECT_TRUE(::IsWindowEnabled(other.Form->GetHandle()));
  Dialog->Show();
  EXPECT_FALSE(::IsWindowEnabled(other.Form->GetHandle()));
  Manager->SetIsCustomizing(false);
  EXPECT_TRUE(::IsWindowEnabled(other.Form->GetHandle()));
  // A form the program disabled itself stays disabled after the dialog.
  ::EnableWindow(other.Form->GetHandle(), FALSE);
  ASSERT_NE(Open(), nullptr);
  Manager->SetIsCustomizing(false);
  EXPECT_FALSE(::IsWindowEnabled(other.Form->GetHandle()));
  ::EnableWindow(other.Form->GetHandle(), TRUE);
}

TEST_F(TLifecycle, TheFormsOwnControlsTakeNoClicksWhileTheDialogIsOpen)
{
  auto* button = new TButton(Host);
  button->SetParent(Host);
  button->SetBounds(20, 200, 90, 26);
  int clicks = 0;
  button->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  ASSERT_NE(Open(), nullptr);
  RECT r{};
  ::GetWindowRect(button->GetHandle(), &r);
  const POINT center{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ASSERT_EQ(::WindowFromPoint(center), button->GetHandle()) << "the dialog opened over the button";
  // The mouse hook takes the move and the press away from the button, so no message arrives
  // to wait for.
  ActivateWindow(Host->GetHandle());
  EXPECT_TRUE(RunScript(
      [center] {
        SendMouseMove(center);
        PauseScript(50);
        SendMouseButton(true);
        PauseScript(50);
        SendMouseButton(false);
      },
      [&] { return ::GetForegroundWindow() == Dialog->GetHandle(); }))
      << "a press on the form brings the dialog forward";
  PumpPending();
  EXPECT_EQ(clicks, 0);
  Manager->SetIsCustomizing(false);
  ActivateWindow(Host->GetHandle());
  ASSERT_TRUE(ClickAt(center));
  PumpPending();
  EXPECT_EQ(clicks, 1) << "after closing the button clicks again";
}

TEST_F(TLifecycle, FloatingBarsOfOtherManagersAreDisabledWhileShown)
{
  TOtherHost other;
  TdxBar* floating = other.Manager->GetBars()->Add();
  floating->SetCaption(L"Floating");
  floating->SetDockingStyle(dsNone);
  floating->SetVisible(true);
  PumpPending();
  ASSERT_NE(floating->GetControl(), nullptr);
  HWND wnd = floating->GetControl()->GetHandle();
  ASSERT_TRUE(::IsWindowEnabled(wnd));
  ASSERT_NE(Open(), nullptr);
  EXPECT_FALSE(::IsWindowEnabled(wnd));
  Manager->SetIsCustomizing(false);
  EXPECT_TRUE(::IsWindowEnabled(wnd));
}

TEST_F(TLifecycle, ClosingMergesBackWhatOpeningTookApart)
{
  TdxBar* tools = Bar(L"Tools");
  TdxBar* format = Bar(L"Format");
  tools->Merge(format);
  const int merged = tools->GetItemLinks()->Count();
  ASSERT_EQ(merged, 4);
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(tools->GetItemLinks()->Count(), 3) << "the merge is taken apart while customizing";
  TWeakRef<TdxBarCustomizingForm> dialog(Dialog);
  Dialog->Close();
  EXPECT_TRUE(PumpUntil([&] { return !dialog; }));
  EXPECT_EQ(tools->GetItemLinks()->Count(), merged);
}

TEST_F(TLifecycle, ListPainterFollowsTheBarPainterClassExactly)
{
  ASSERT_NE(Open(), nullptr);
  const std::pair<TdxBarManagerStyle, TClass> cases[] = {
      {bmsStandard, TdxBarCustomizingFormStandardPainter::StaticClass()},
      {bmsEnhanced, TdxBarCustomizingFormStandardPainter::StaticClass()},
      {bmsFlat, TdxBarCustomizingFormFlatPainter::StaticClass()},
      {bmsOffice11, TdxBarCustomizingFormOffice11Painter::StaticClass()}};
  for (const auto& [style, painter] : cases) {
    Manager->SetStyle(style);
    EXPECT_EQ(Dialog->GetPainterClass(), painter) << int(style);
    const TColor list = style == bmsFlat ? clWindow : style == bmsOffice11 ? dxOffice11Colors().MenuColor : clBtnFace;
    EXPECT_EQ(Dialog->lbItems->GetColor(), list) << int(style);
    EXPECT_EQ(Dialog->BarManager1->GetStyle(), style) << "the dialog's own manager follows";
  }
}

// Dragging the dialog's corner grows the lists with the page and keeps the buttons at its
// right edge; it shrinks no smaller than it was designed.
TEST_F(TLifecycle, ResizingGrowsTheListsAndStopsAtTheDesignedSize)
{
  ASSERT_NE(Open(), nullptr);
  RECT before{};
  ::GetWindowRect(Dialog->GetHandle(), &before);
  auto dragCorner = [&](int ADx, int ADy) {
    RECT r{};
    ::GetWindowRect(Dialog->GetHandle(), &r);
    const POINT corner{r.right - 2, r.bottom - 2};
    ASSERT_EQ(::SendMessageW(Dialog->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTBOTTOMRIGHT);
    // The system's sizing loop waits for the release: the drag comes from a helper thread.
    EXPECT_TRUE(RunScript(
        [&] {
          SendMouseMove(corner);
          PauseScript(50);
          SendMouseButton(true);
          PauseScript(100);
          for (int step = 1; step <= 4; ++step) {
            SendMouseMove(POINT{corner.x + ADx * step / 4, corner.y + ADy * step / 4});
            PauseScript(50);
          }
          SendMouseButton(false);
        },
        [] { return true; }));
    PumpPending();
  };
  const int listWidth = Dialog->lbBarsList->GetWidth(), listHeight = Dialog->lbBarsList->GetHeight();
  const int newLeft = Dialog->BBarNew->GetLeft(), closeLeft = Dialog->BClose->GetLeft();
  dragCorner(100, 60);
  RECT grown{};
  ::GetWindowRect(Dialog->GetHandle(), &grown);
  ASSERT_EQ(grown.right - before.right, 100);
  ASSERT_EQ(grown.bottom - before.bottom, 60);
  EXPECT_EQ(Dialog->lbBarsList->GetWidth(), listWidth + 100);
  EXPECT_EQ(Dialog->lbBarsList->GetHeight(), listHeight + 60);
  EXPECT_EQ(Dialog->BBarNew->GetLeft(), newLeft + 100);
  EXPECT_EQ(Dialog->BClose->GetLeft(), closeLeft + 100);
  Dialog->PageControl->SetActivePage(Dialog->tsItems);
  PumpPending();
  EXPECT_EQ(Dialog->lbItems->GetLeft() + Dialog->lbItems->GetWidth(), Dialog->tsItems->GetClientWidth() - 8)
      << "the command list reaches the page's right edge";

  dragCorner(-400, -400);
  RECT shrunk{};
  ::GetWindowRect(Dialog->GetHandle(), &shrunk);
  EXPECT_EQ(shrunk.right - shrunk.left, before.right - before.left);
  EXPECT_EQ(shrunk.bottom - shrunk.top, before.bottom - before.top);
  EXPECT_EQ(Dialog->lbBarsList->GetWidth(), listWidth);
}

TEST_F(TLifecycle, DialogFollowsTheFormItCustomizes)
{
  ASSERT_NE(Open(), nullptr);
  RECT before{};
  ::GetWindowRect(Dialog->GetHandle(), &before);
  ::SetWindowPos(Host->GetHandle(), nullptr, 130, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PumpPending();
  RECT after{};
  ::GetWindowRect(Dialog->GetHandle(), &after);
  EXPECT_EQ(after.left - before.left, 30);
  EXPECT_EQ(after.top - before.top, 30);
  ::ShowWindow(Host->GetHandle(), SW_HIDE);
  PumpPending();
  EXPECT_FALSE(::IsWindowVisible(Dialog->GetHandle()));
  ::ShowWindow(Host->GetHandle(), SW_SHOW);
  PumpPending();
  EXPECT_TRUE(::IsWindowVisible(Dialog->GetHandle()));
}

}  // namespace
