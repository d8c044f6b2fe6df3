// Shared pieces of the popup menu tests: a shown form with a manager, a popup menu of
// counted buttons and a panel to link it to; a probe that runs code on this thread from
// inside a popup's own message loop; and helper-thread input for a menu that waits.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "bars/menus/popupmenu.h"
#include "bars/menus/submenu.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/ThreadWindows.h"

class TPopupTestForm : public TForm {
  DECLARE_CLASS(TPopupTestForm, TForm)
public:
  explicit TPopupTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

// A plain windowed control to link a popup menu to.
class TPopupPanel : public TCustomControl {
  DECLARE_CLASS(TPopupPanel, TCustomControl)
public:
  explicit TPopupPanel(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(20, 60, 200, 120); }
};

// Runs code posted to it when a message loop of this thread dispatches its message: from
// inside a popup's own loop, the test sees and drives the open menu.
class TLoopProbe {
public:
  TLoopProbe();
  ~TLoopProbe();
  TLoopProbe(const TLoopProbe&) = delete;
  TLoopProbe& operator=(const TLoopProbe&) = delete;
  // Queued now, run by whichever loop dispatches next.
  void Post(std::function<void()> AStep);
  // Queued without a message; SendQueued (callable from any thread) runs it as a message
  // sent to this thread's window, which a waiting GetMessage handles without returning.
  void Queue(std::function<void()> AStep) { FSteps.push_back(std::move(AStep)); }
  void SendQueued();
  int RunCount() const { return FRuns; }

private:
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
  HWND FWnd = nullptr;
  std::vector<std::function<void()>> FSteps;
  int FRuns = 0;
};

// On a helper thread: waits until a menu window of the library is visible; false when none
// shows within the time.
bool WaitForMenuWindow(int TimeoutMs = 3000);
// How many menu windows of the library are visible; helper-thread safe.
int VisibleMenuWindowCount();
// The screen rectangle of the visible menu window (empty when none); helper-thread safe.
RECT VisibleMenuWindowRect();
// Runs APopup (a synchronous popup) here while a helper thread waits for the menu window
// and plays AScript. Should the menu still show afterwards, Esc closes it, so that a fault
// fails the test instead of hanging it.
void WhileMenuOpen(const std::function<void()>& APopup, const std::function<void()>& AScript);
// The helper thread's click: move, press and release with a user's pauses.
void ScriptClick(POINT AScreenPos);

class TPopupFixture : public testing::Test {
protected:
  TPopupFixture();
  void SetUp() override;
  void TearDown() override;

  // The form at a place and size, shown and active.
  void ShowForm(int ALeft = 80, int ATop = 80, int AWidth = 420, int AHeight = 300)
  {
    ShowFormAt(Host.Form(), ALeft, ATop, AWidth, AHeight);
  }
  // Buttons "Item 0" ... on the menu; their clicks are counted per index.
  void FillMenu(int ACount);
  // The open menu window, and the control and screen centre of one of its shown links.
  TdxBarSubMenuControl* Window() const;
  TdxBarItemControl* ItemControl(int AIndex) const
  {
    return Window() ? ControlOf(Window()->GetItemLinks()->ShownItems(AIndex)) : nullptr;
  }
  POINT ItemCenter(int AIndex) const { return ScreenCentreOf(ItemControl(AIndex)); }
  // The screen centres of the menu's links when it opens at P (opened without waiting and
  // closed again).
  std::vector<POINT> ItemCentersAt(POINT P);
  // A toolbar docked at the top with one drop-down button "Menu" whose menu is Menu.
  TdxBar* AddDropDownBar(TdxBarButton*& AButton);

  TBarHost<TPopupTestForm> Host;
  TdxBarManager* Manager;
  TdxBarPopupMenu* Menu = nullptr;
  std::vector<TdxBarButton*> Buttons;
  std::vector<int> Clicks;
  int Popups = 0;
  int CloseUps = 0;
};
