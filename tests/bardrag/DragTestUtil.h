// Shared pieces of the drag tests: a shown form with two toolbars of buttons (one docked at
// the top, one at the bottom) and a sub-item whose menu holds buttons, in customizing mode;
// real input from a helper thread while this thread runs the drag's own loop; a probe that
// runs on this thread inside that loop when the script asks for it.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "barcustomize/dragdrop.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/menus/submenu.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/ThreadWindows.h"

using TDragTestForm = TTestHostForm;

// Runs a check on the test's thread from inside the drag's loop (through a thread timer the
// loop dispatches); the script's thread asks for it and waits until it ran.
class TDragProbe {
public:
  explicit TDragProbe(std::function<void()> AProbe);
  ~TDragProbe();
  TDragProbe(const TDragProbe&) = delete;
  TDragProbe& operator=(const TDragProbe&) = delete;
  // From the script's thread: true once the probe ran (false after 3 s).
  bool Run();
  int RunCount() const { return FDone.load(); }

private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  std::function<void()> FProbe;
  UINT_PTR FTimer = 0;
  std::atomic<int> FRequested{0};
  std::atomic<int> FDone{0};
};

class TDragFixture : public testing::Test {
protected:
  TDragFixture();
  void SetUp() override;
  void TearDown() override;

  TdxBarButton* AddButton(TdxBarItemLinks* ALinks, const String& ACaption);
  // Names of the items of a link collection, in order, with "|" before a link that begins a group.
  static std::vector<String> Captions(TdxBarItemLinks* ALinks);
  TdxBarItemLinks* LinksA() const { return BarA->GetItemLinks(); }
  TdxBarItemLinks* LinksB() const { return BarB->GetItemLinks(); }
  // Points in the link's rectangle on the screen, at the ends a drop before or after it aims at.
  static POINT LeadingPart(TdxBarItemLink* ALink);
  static POINT TrailingPart(TdxBarItemLink* ALink);
  // Paints AWindow now and pumps until the screen shows it steadily (the display catches up
  // with new windows a little later); false when it did not settle within two seconds.
  static bool WaitUntilScreenShows(TCustomdxBarControl* AWindow);
  std::shared_ptr<TdxBarDragInfo> DragInfo() const { return dxBarFindDragInfo(Manager); }

  // Presses at AFrom (on a link of a toolbar, which arms the drag), glides to ATo, runs
  // AAtTarget there (script thread) and releases; true once the drag is over.
  bool DragWithMouse(POINT AFrom, POINT ATo, const std::function<void()>& AAtTarget = {});
  // Starts the drag of ALink from code with the button held over it (as a window that arms
  // drags does), then the script glides to ATo and releases.
  void DragLinkFromCode(TdxBarItemLink* ALink, POINT ATo, const std::function<void()>& AAtTarget = {});
  // Opens the sub-item's menu on bar A.
  TdxBarSubMenuControl* OpenMenu();

  TBarHost<TDragTestForm> Host;
  TdxBarManager* Manager;
  TdxBar* BarA = nullptr;
  TdxBar* BarB = nullptr;
  TdxBarSubItem* SubItem = nullptr;
  std::vector<TdxBarButton*> Buttons;
};

// Moves from AFrom to ATo in a few steps, from the script's thread.
void Glide(POINT AFrom, POINT ATo, int ASteps = 4);
