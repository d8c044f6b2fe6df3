// Two things a menu has and a toolbar has not: personalised menus (recent links first, the
// expand button with its timers, the lighter background of the links that were hidden) and
// the tear-off strip, whose drag turns the menu into its sub-item's floating toolbar.
#include "bars/menus/submenu.h"

#include "platform/Win.h"

#include <algorithm>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/keyboard/hooks.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "platform/Scope.h"

namespace {

// A personalised menu waits this long before it shows all its links by itself.
constexpr int DefaultExpandDelay = 4000;
// The tear-off drag leaves the menu once the mouse is this far outside the strip.
constexpr int DetachMargin = 15;
// The first place of the torn-off bar: its caption this far left of the mouse.
constexpr int DetachBarOffset = 100;

int GExpandDelay = 0;
int GExpandHoverDelay = 0;

int SystemHoverTime()
{
  UINT time = 0;
  return ::SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &time, 0) ? int(time) : 400;
}

}  // namespace

int dxBarMenuExpandDelay()
{
  return GExpandDelay > 0 ? GExpandDelay : DefaultExpandDelay;
}

void SetdxBarMenuExpandDelay(int AMilliseconds)
{
  GExpandDelay = std::max(AMilliseconds, 0);
}

int dxBarMenuExpandHoverDelay()
{
  return GExpandHoverDelay > 0 ? GExpandHoverDelay : SystemHoverTime();
}

void SetdxBarMenuExpandHoverDelay(int AMilliseconds)
{
  GExpandHoverDelay = std::max(AMilliseconds, 0);
}

// ---------------------------------------------------------------------------
// Personalised menus

bool TdxBarSubMenuControl::IsPersonalized() const
{
  TdxBarManager* manager = GetBarManager();
  return manager && manager->GetShowRecentItemsFirst() && !IsCustomizing();
}

bool TdxBarSubMenuControl::IsExpandButtonShown() const
{
  return IsPersonalized() && FItemLinks && FItemLinks->ShownItemCount() < FItemLinks->VisibleItemCount();
}

// In an expanded personalised menu the links beyond the recent ones are less used; where
// the mark changes from one link to the next a run of them begins or ends.
void TdxBarSubMenuControl::MarkLessUsedLinks()
{
  FLessUsedLinks.clear();
  FLessUsedEdges.clear();
  if (!FItemLinks || !IsPersonalized() || !dxBarMenusExpanded())
    return;
  const int recentCount = FItemLinks->CalcRecentItemCount();
  if (recentCount < 0)
    return;
  const auto& shown = FItemLinks->GetShownItems();
  const auto& recent = FItemLinks->GetRecentItems();
  bool previous = false;
  for (size_t i = size_t(std::max(FTopIndex, 0)); i < shown.size(); ++i) {
    TdxBarItemLink* link = shown[i];
    // The link's place in the recent-use order among the visible links.
    int rank = 0;
    for (TdxBarItemLink* r : recent) {
      if (r == link)
        break;
      if (std::find(FItemLinks->GetVisibleItems().begin(), FItemLinks->GetVisibleItems().end(), r) !=
          FItemLinks->GetVisibleItems().end())
        ++rank;
    }
    const bool lessUsed = rank >= recentCount;
    if (lessUsed)
      FLessUsedLinks.push_back(link);
    const bool firstInView = i == size_t(std::max(FTopIndex, 0));
    if (firstInView ? lessUsed && IsDetachable() : lessUsed != previous)
      FLessUsedEdges.push_back(link);
    previous = lessUsed;
  }
}

bool TdxBarSubMenuControl::IsLessUsedLink(const TdxBarItemLink* ALink) const
{
  return std::find(FLessUsedLinks.begin(), FLessUsedLinks.end(), ALink) != FLessUsedLinks.end();
}

bool TdxBarSubMenuControl::IsLessUsedEdgeLink(const TdxBarItemLink* ALink) const
{
  return std::find(FLessUsedEdges.begin(), FLessUsedEdges.end(), ALink) != FLessUsedEdges.end();
}

void TdxBarSubMenuControl::SetMarkState(TdxBarMarkState AState)
{
  TdxBarItemControl* selected = GetSelectedControl();
  if (AState == TdxBarMarkState::Hot && selected && selected->IsWinControl() && selected->GetActive())
    AState = TdxBarMarkState::Normal;
  TWeakRef<TdxBarSubMenuControl> self(this);
  if (AState != FMarkState) {
    FMarkState = AState;
    if (AState == TdxBarMarkState::Pressed) {
      // The button goes with the expansion; its hint must not stay over the full menu.
      if (!FMenuHint.empty())
        ShowMenuHint(String());
      if (self)
        Expand();
      return;
    }
    if (HandleAllocated()) {
      const TRect r = GetMarkRect();
      ::InvalidateRect(GetHandle(), &r, FALSE);
    }
  }
  TdxBarManager* manager = GetBarManager();
  if (manager && manager->GetShowFullMenusAfterDelay()) {
    KillExpandTimer(dxBarMenuExpandTimerId);
    POINT p{};
    if (AState == TdxBarMarkState::Hot && HandleAllocated() && ::GetCursorPos(&p) &&
        PtInRect(GetMarkRect(), ScreenToClient(TPoint{p.x, p.y})))
      StartExpandTimer(dxBarMenuExpandTimerId, dxBarMenuExpandHoverDelay());
    return;
  }
  ShowMenuHint(AState == TdxBarMarkState::Hot ? GetResourceString(sdxBarExpandHint) : String());
}

void TdxBarSubMenuControl::ShowMenuHint(const String& AText)
{
  FMenuHint = AText;
  if (TdxBarManager* manager = GetBarManager())
    manager->ActivateHint(!AText.empty(), AText, nullptr);
}

void TdxBarSubMenuControl::Expand()
{
  TWeakRef<TdxBarSubMenuControl> self(this);
  SetdxBarMenusExpanded(true);
  FAnimate = true;
  KillExpandTimers();
  if (HandleAllocated()) {
    TRestore recreating(FRecreating, true);
    RecreateWnd();
  }
  if (!self)
    return;
  FMarkState = TdxBarMarkState::Normal;
  SetBounds(FSavedLeft, FSavedTop, GetWidth(), GetHeight());
  Popup();
}

bool TdxBarSubMenuControl::IsExpandTimerRunning(UINT_PTR AId) const
{
  return AId == dxBarMenuExpandTimerId ? FExpandTimerRunning : AId == dxBarMenuHotMarkTimerId && FHotMarkTimerRunning;
}

// Each wait restarts only itself: a new selection never cancels the wait that expands the menu.
void TdxBarSubMenuControl::StartExpandTimer(UINT_PTR AId, int AInterval)
{
  TdxBarManager* manager = GetBarManager();
  if (!HandleAllocated() || !manager || !manager->GetShowFullMenusAfterDelay() || !IsExpandButtonShown() ||
      dxBarMenusExpanded())
    return;
  KillExpandTimer(AId);
  const bool started = ::SetTimer(GetHandle(), AId, UINT(AInterval), nullptr) != 0;
  (AId == dxBarMenuExpandTimerId ? FExpandTimerRunning : FHotMarkTimerRunning) = started;
}

void TdxBarSubMenuControl::KillExpandTimer(UINT_PTR AId)
{
  if (IsExpandTimerRunning(AId) && HandleAllocated())
    ::KillTimer(GetHandle(), AId);
  (AId == dxBarMenuExpandTimerId ? FExpandTimerRunning : FHotMarkTimerRunning) = false;
}

void TdxBarSubMenuControl::KillExpandTimers()
{
  KillExpandTimer(dxBarMenuHotMarkTimerId);
  KillExpandTimer(dxBarMenuExpandTimerId);
}

void TdxBarSubMenuControl::ExpandTimerFired(UINT_PTR AId)
{
  KillExpandTimer(AId);
  if (AId == dxBarMenuExpandTimerId)
    SetMarkState(TdxBarMarkState::Pressed);
  else if (!GetSubMenuControl())
    SetMarkState(TdxBarMarkState::Hot);
}

void TdxBarSubMenuControl::TrackMarkButton(const TPoint& P)
{
  if (!IsExpandButtonShown())
    return;
  const bool over = PtInRect(GetMarkRect(), P);
  if (over && FMarkState == TdxBarMarkState::Normal)
    SetMarkState(TdxBarMarkState::Hot);
  else if (!over && FMarkState == TdxBarMarkState::Hot)
    SetMarkState(TdxBarMarkState::Normal);
}

// ---------------------------------------------------------------------------
// Tear-off

bool TdxBarSubMenuControl::IsDetachable() const
{
  auto* owner = FItemLinks ? dynamic_cast<IdxBarSubMenuDetaching*>(FItemLinks->GetLinksOwner()) : nullptr;
  TdxBarPainter* painter = GetPainter();
  return owner && owner->GetDetachingBar() && painter && painter->IsTearOffSupported();
}

void TdxBarSubMenuControl::TrackDetachStrip(const TPoint& P)
{
  bool hot = false;
  if (IsDetachable() && !IsCustomizing()) {
    HWND capture = ::GetCapture();
    hot = PtInRect(GetDetachStripRect(), P) && (!capture || capture == GetHandle());
  }
  if (hot == FOverDetachStrip)
    return;
  FOverDetachStrip = hot;
  ShowMenuHint(hot ? GetResourceString(sdxBarDragToMakeMenuFloat) : String());
  if (HandleAllocated())
    ::SendMessageW(GetHandle(), WM_NCPAINT, 1, 0);
}

// The loop keeps all it needs on the stack: the first exit from the strip's area frees this
// menu, and nothing of it is touched after that.
void TdxBarSubMenuControl::DragOff(const TPoint& APressPos)
{
  auto* detaching = FItemLinks ? dynamic_cast<IdxBarSubMenuDetaching*>(FItemLinks->GetLinksOwner()) : nullptr;
  if (!detaching)
    return;
  TWeakRef<TdxBarSubMenuControl> self(this);
  detaching->DoDetaching();
  if (!self)
    return;
  TWeakRef<TdxBar> bar(detaching->GetDetachingBar());
  TCustomdxBarControl* root = GetRootBarControl();
  if (!bar || (bar->GetControl() && bar->GetControl() == root))
    return;
  TdxBarManager* manager = GetBarManager();
  TWinControl* parentControl = manager ? manager->GetParentControl() : nullptr;
  TdxBarPainter* painter = GetPainter();
  if (!parentControl || !parentControl->HandleAllocated() || !painter)
    return;
  // Everything the loop needs once the menu is gone.
  TWeakRef<TdxBarItemControl> opener(GetOwnerItemControl());
  TRect strip = GetDetachStripRect();
  strip = ClientToScreen(strip);
  const TRect hotRect = InflateRect(strip, DetachMargin, DetachMargin);
  const int captionHeight = painter->GetCaptionHeight();
  const HWND captureWnd = parentControl->GetHandle();
  // Moves are measured from the press, not from where the cursor is when the loop starts: a
  // quick drag may be well under way by then, and its moves must still count.
  const TPoint press = ClientToScreen(APressPos);
  POINT last{press.x, press.y};
  bool detached = false, dropped = false;
  // Esc, or the mouse back over the strip: a floating bar goes and the sub-item opens again.
  auto backToMenu = [&] {
    if (TdxBar* b = bar.Get(); b && detached)
      b->SetVisible(false);
    detached = false;
    if (auto* buttonLike = dynamic_cast<TdxBarButtonLikeControl*>(opener.Get()))
      buttonLike->ActivateControl(true);
  };
  // The keyboard hook leaves keys alone while a drag runs: they reach this loop.
  TdxBarDragRunning dragging;
  ::SetCapture(captureWnd);
  MSG msg{};
  while (::GetCapture() == captureWnd) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1)
      break;
    if (got == 0 || msg.message == WM_QUIT) {
      RepostQuitMessage(msg);
      break;
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
      if (msg.wParam != VK_ESCAPE)
        continue;
      backToMenu();
      break;
    }
    if (msg.message == WM_LBUTTONUP) {
      dropped = true;
      break;
    }
    if (msg.message != WM_MOUSEMOVE) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
      continue;
    }
    POINT p{};
    ::GetCursorPos(&p);
    if (p.x == last.x && p.y == last.y)
      continue;
    last = p;
    const bool inside = PtInRect(hotRect, TPoint{p.x, p.y});
    TdxBar* b = bar.Get();
    if (!b)
      break;
    if (!detached) {
      if (inside)
        continue;
      // Out of the strip's area: the menu closes and the bar floats under the mouse.
      detached = true;
      if (TdxBarItemControl* o = opener.Get())
        if (auto* buttonLike = dynamic_cast<TdxBarButtonLikeControl*>(o))
          buttonLike->DeactivateControl(true);
      if (TdxBarSubMenuControl* menu = self.Get())
        menu->CloseMenu();
      if (!bar)
        break;
      if (b->GetDockingStyle() != dsNone) {
        b->SetVisible(false);
        b->SetDockingStyle(dsNone);
      }
      if (!b->GetVisible()) {
        b->SetFloatLeft(p.x - DetachBarOffset);
        b->SetFloatTop(p.y - captionHeight / 2);
        b->SetVisible(true);
      }
      continue;
    }
    if (inside) {
      // Back over the strip: the bar goes and the menu opens again.
      backToMenu();
      break;
    }
    if (TdxBarControl* window = b->GetControl(); window && window->HandleAllocated()) {
      RECT w{};
      ::GetWindowRect(window->GetHandle(), &w);
      ::SetWindowPos(window->GetHandle(), nullptr, p.x - (w.right - w.left) / 2, p.y - captionHeight / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (::GetCapture() == captureWnd)
    ::ReleaseCapture();
  if (!detached)
    return;
  if (dropped) {
    // The torn-off bar stays; the menus it came from close.
    if (TdxBarItemControl* o = opener.Get())
      if (TCustomdxBarControl* parent = o->GetParent())
        parent->Close();
  } else if (TdxBar* b = bar.Get()) {
    b->SetVisible(false);
  }
}
