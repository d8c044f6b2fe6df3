// The navigation controller: a waiting root after Alt or F10, the 500 ms timer that shows key
// tips, moving and ending the selection, key-tip matching, and the direction search.
#include "bars/keyboard/navigation.h"

#include <cmath>

#include "bars/barwindows/barcontrol.h"
#include "bars/hints/hintwindow.h"
#include "bars/keyboard/hooks.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/model/startup.h"
#include "lookandfeel/cxControls.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TdxBarKeyTipData, TObject)
IMPLEMENT_CLASS(TdxBarNavigationController, TObject)

namespace {

constexpr uint32_t NavigationDelay = 500;  // ms Alt is held before key tips show

TdxBarNavigationController* GController = nullptr;

void SystemBeep()
{
  MessageBeep(0);
}
TdxBarBeepProc GBeep = &SystemBeep;

bool StartsWith(const String& AText, const String& APrefix)
{
  return AText.size() >= APrefix.size() && AText.compare(0, APrefix.size(), APrefix) == 0;
}

// The character a key types with the current keyboard state, in full UTF-16 (a key tip may
// be in any script); 0 for none. Unicode input (VK_PACKET) carries its character in the high
// word of the key flags. ToUnicode changes the dead-key state: a dead key typed now is lost
// to the focused control, which is accepted.
wchar_t KeyToChar(uint16_t AKey, LPARAM AFlags)
{
  wchar_t c = 0;
  if (AKey == VK_PACKET) {
    c = wchar_t(HIWORD(DWORD(AFlags)));
  } else {
    BYTE state[256] = {};
    if (!GetKeyboardState(state))
      return 0;
    wchar_t chars[4] = {};
    const UINT scan = MapVirtualKeyW(AKey, MAPVK_VK_TO_VSC);
    if (ToUnicode(AKey, scan, state, chars, 4, 0) != 1)
      return 0;
    c = chars[0];
  }
  return c < 32 ? 0 : c;
}

bool IsNavigationKey(uint16_t AKey)
{
  return AKey == VK_LEFT || AKey == VK_UP || AKey == VK_RIGHT || AKey == VK_DOWN ||
         (AKey == VK_TAB && GetKeyState(VK_CONTROL) >= 0);
}

}  // namespace

String dxBarKeyTipUpperCase(String AText)
{
  if (!AText.empty())
    CharUpperBuffW(AText.data(), DWORD(AText.size()));
  return AText;
}

bool IsSameHelper(const TdxBarHelperRef& A, const TdxBarHelperRef& B)
{
  TObject* a = A ? A->GetHelperObject() : nullptr;
  return a && B && a == B->GetHelperObject() && A->GetHelperPart() == B->GetHelperPart();
}

TdxBarBeepProc SetdxBarBeepProc(TdxBarBeepProc AProc)
{
  TdxBarBeepProc old = GBeep;
  GBeep = AProc ? AProc : &SystemBeep;
  return old;
}

void dxBarBeep()
{
  GBeep();
}

// ---------------------------------------------------------------------------
// Key-tip data

TdxBarKeyTipData::~TdxBarKeyTipData()
{
  Hide();
}

void TdxBarKeyTipData::Show(IdxBarKeyTipWindowsManager* AManager)
{
  if (Window || !AManager)
    return;
  FManager = AManager;
  Window = AManager->Add(Info.Text, Info.Position, Info.VertAlign, Info.HorzAlign, Info.Enabled);
}

void TdxBarKeyTipData::Hide()
{
  if (Window && FManager)
    FManager->Delete(Window);
  Window = nullptr;
}

String TdxBarKeyTipData::GetMatchText() const
{
  return dxBarKeyTipUpperCase(Info.Text);
}

// ---------------------------------------------------------------------------
// The controller

TdxBarNavigationController* BarNavigationController()
{
  return GController;
}

void dxBarCreateNavigationController()
{
  if (!GController)
    GController = new TdxBarNavigationController;
}

void dxBarFreeNavigationController()
{
  delete GController;
  GController = nullptr;
}

TdxBarNavigationController::TdxBarNavigationController() = default;

TdxBarNavigationController::~TdxBarNavigationController()
{
  FreeTimer();
  FPendingRoot.reset();
  FKeyTips.clear();
}

void TdxBarNavigationController::FreeTimer()
{
  if (FTimer) {
    TTimer* timer = FTimer;
    FTimer = nullptr;
    timer->Free();
  }
}

bool TdxBarNavigationController::CanStartNavigation(const TdxBarHelperRef& ARoot) const
{
  return ARoot && (!FPendingRoot || IsSameHelper(FPendingRoot, ARoot));
}

void TdxBarNavigationController::StartNavigation(const TdxBarHelperRef& ARoot)
{
  if (!ARoot)
    throw EInvalidOperation(L"Keyboard navigation cannot start without a root element");
  if (!CanStartNavigation(ARoot))
    throw EInvalidOperation(L"Keyboard navigation cannot start on a second root while another one waits");
  if (FKeyTipContainer || FPendingRoot)
    return;
  FPendingRoot = ARoot;
  FTimer = new TcxTimer(nullptr);
  FTimer->SetInterval(NavigationDelay);
  FTimer->SetOnTimer(TNotifyEvent(this, &TdxBarNavigationController::TimerTick));
}

// A root without key tips keeps waiting for the key-up, so that holding Alt a little longer
// still selects its first element.
void TdxBarNavigationController::TimerTick(TObject*)
{
  std::vector<TdxBarKeyTipInfo> tips;
  if (dxBarAltWentDownAlone() && FPendingRoot)
    tips = FPendingRoot->GetKeyTips();
  if (!tips.empty())
    CancelPending(true);
  else
    FreeTimer();
}

void TdxBarNavigationController::CancelPending(bool AShowKeyTips)
{
  dxBarSetAltWentDownAlone(false);
  if (!FPendingRoot)
    return;
  FreeTimer();
  TdxBarHelperRef root = std::move(FPendingRoot);
  FPendingRoot.reset();
  if (AShowKeyTips)
    UpdateKeyTips(root, String());
}

void TdxBarNavigationController::ActivateOnKeyUp()
{
  TdxBarHelperRef root = FPendingRoot;
  FreeTimer();
  FPendingRoot.reset();
  if (!root)
    return;
  if (TdxBarHelperRef first = root->GetFirstSelectableObject()) {
    FNavigationActive = true;
    first->SelectForNavigation(false);
  }
}

void TdxBarNavigationController::StopNavigation()
{
  dxBarSetAltWentDownAlone(false);
  TdxBarHelperRef selected = GetSelectedObject();
  if (selected && selected->GetBarManager())
    selected->GetBarManager()->HideHint();
  FNavigationActive = false;
  if (selected)
    selected->ClearNavigationSelection(nullptr);
  FSelectedObject.reset();
  FSelectedRoot.reset();
  CancelPending(false);
  UpdateKeyTips(nullptr, String());
}

void TdxBarNavigationController::ObjectRemoving(TObject* AObject)
{
  if (!AObject)
    return;
  auto is = [AObject](const TdxBarHelperRef& h) { return h && h->GetHelperObject() == AObject; };
  if (is(FSelectedObject))
    FSelectedObject.reset();
  if (is(FSelectedRoot))
    FSelectedRoot.reset();
  if (is(FPendingRoot))
    CancelPending(false);
  if (is(FKeyTipContainer)) {
    UpdateKeyTips(nullptr, String());
    return;
  }
  const size_t before = FKeyTips.size();
  std::erase_if(FKeyTips,
                [AObject](const std::unique_ptr<TdxBarKeyTipData>& tip) { return tip->Info.BarControl == AObject; });
  // Tips nobody can see must not keep taking the keys.
  if (FKeyTips.size() != before && FKeyTips.empty())
    StopNavigation();
}

void TdxBarNavigationController::ActiveChainEmptied()
{
  if (FChangingSelection)
    return;
  FNavigationActive = false;
  FSelectedObject.reset();
  FSelectedRoot.reset();
}

void TdxBarNavigationController::KeepNavigationWhile(const std::function<void()>& AMove)
{
  TRestore changing(FChangingSelection, true);
  AMove();
}

void TdxBarNavigationController::ManagerDeactivated(TdxBarManager* AManager)
{
  auto of = [AManager](const TdxBarHelperRef& h) { return h && h->GetBarManager() == AManager; };
  if (of(FKeyTipContainer) || of(FPendingRoot) || of(GetSelectedObject()) || of(GetNavigationRoot()))
    StopNavigation();
}

TCustomdxBarControl* TdxBarNavigationController::GetNavigatedBarControl() const
{
  TCustomdxBarControl* active = ActiveBarControl();
  if (active && active->HandleAllocated() && IsActiveBarControlEnabled() && !active->IsCustomizing())
    return active;
  return nullptr;
}

bool TdxBarNavigationController::IsNavigationActive() const
{
  return FNavigationActive && GetNavigatedBarControl() != nullptr;
}

bool TdxBarNavigationController::IsActiveFor(const TCustomdxBarControl* ABarControl) const
{
  return FNavigationActive && ABarControl && GetNavigatedBarControl() == ABarControl;
}

TdxBarHelperRef TdxBarNavigationController::GetSelectedObject() const
{
  if (TCustomdxBarControl* bar = GetNavigatedBarControl())
    if (TdxBarItemControl* selected = bar->GetSelectedControl())
      return GetItemControlNavigationTarget(selected);
  return FSelectedObject && FSelectedObject->GetHelperObject() ? FSelectedObject : nullptr;
}

TdxBarHelperRef TdxBarNavigationController::GetNavigationRoot() const
{
  if (TCustomdxBarControl* bar = GetNavigatedBarControl())
    return GetBarControlNavigationTarget(bar);
  return FSelectedRoot && FSelectedRoot->GetHelperObject() ? FSelectedRoot : nullptr;
}

void TdxBarNavigationController::SetSelection(const TdxBarHelperRef& ASelected, const TdxBarHelperRef& ARoot)
{
  FSelectedObject = ASelected;
  FSelectedRoot = ARoot;
}

void TdxBarNavigationController::ChangeSelectedObject(bool AByTab, TdxBarHelperRef AOld, const TdxBarHelperRef& ANew)
{
  if (!AOld)
    AOld = GetSelectedObject();
  if (!ANew || IsSameHelper(AOld, ANew))
    return;
  TRestore changing(FChangingSelection, true);
  if (AOld)
    AOld->ClearNavigationSelection(ANew);
  ANew->SelectForNavigation(AByTab);
}

bool TdxBarNavigationController::IsWantedKey(uint16_t AKey) const
{
  if (IsNavigationKey(AKey))
    return true;
  const bool noActiveWindow = !ActiveBarControl();
  if (AKey == VK_MENU)
    return noActiveWindow;
  if (AKey == VK_F10) {
    TdxBarHelperRef root = GetNavigationRoot();
    TdxBarManager* manager = root ? root->GetBarManager() : nullptr;
    return noActiveWindow && manager && manager->GetUseF10ForMenu();
  }
  TdxBarHelperRef target = GetSelectedObject();
  if (!target)
    target = GetNavigationRoot();
  return target && target->WantsKey(AKey);
}

bool TdxBarNavigationController::HandlesKey(uint16_t AKey, LPARAM AFlags)
{
  TdxBarHelperRef root = GetNavigationRoot();
  if (IsWantedKey(AKey) && root && root->WantsKey(AKey))
    return true;
  return (FPendingRoot || FKeyTipContainer) && MatchKeyTip(AKey, AFlags, false);
}

// Only the keys navigation and key tips use are taken; the others (Home, End, Ctrl+Tab, Alt+F4)
// go on to the active bar window or the system, as they would without navigation.
bool TdxBarNavigationController::TakesKey(uint16_t AKey, LPARAM AFlags)
{
  const bool up = KeyDataIsUp(AFlags);
  if (FKeyTipContainer) {
    // Alt or F10 let go after the tips showed must not start the window's own menu mode.
    if (AKey == VK_MENU || AKey == VK_F10)
      return true;
    if (up)
      return false;
    if (AKey == VK_ESCAPE || KeyToChar(AKey, AFlags))
      return true;
    // A key the tips have no use for puts them away and goes on.
    CancelPending(false);
    UpdateKeyTips(nullptr, String());
  }
  if (IsNavigationActive())
    return !up && (AKey == VK_MENU || AKey == VK_F10 || AKey == VK_ESCAPE || IsWantedKey(AKey));
  return FPendingRoot && AKey != VK_MENU && AKey != VK_F10 && HandlesKey(AKey, AFlags);
}

void TdxBarNavigationController::KeyDown(uint16_t AKey, LPARAM AFlags)
{
  TRestore processing(FProcessing, true);
  // A held Alt repeats; the tips it showed stay.
  if (FKeyTipContainer && (AKey == VK_MENU || AKey == VK_F10) && KeyDataIsRepeat(AFlags))
    return;
  if (FPendingRoot) {
    dxBarSetAltWentDownAlone(false);
    if (KeyToChar(AKey, AFlags)) {
      MatchKeyTip(AKey, AFlags, true);
      return;
    }
  }
  if (FKeyTipContainer && AKey != VK_ESCAPE) {
    if (KeyToChar(AKey, AFlags)) {
      MatchKeyTip(AKey, AFlags, true);
      return;
    }
    CancelPending(false);
    UpdateKeyTips(nullptr, String());
  }
  if (FKeyTipContainer && AKey == VK_ESCAPE) {
    TdxBarHelperRef parent = FKeyTipContainer->GetKeyTipParent();
    // One level up from a menu's tips is the level that opened it: the menu closes first.
    TCustomdxBarControl* menu = FKeyTipContainer->GetBarControl();
    if (menu && menu == FKeyTipContainer->GetHelperObject() && menu->GetKind() == bckSubMenu &&
        menu->HandleAllocated()) {
      UpdateKeyTips(nullptr, String());
      SendMessageW(menu->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
    UpdateKeyTips(parent, String());
    return;
  }
  TdxBarHelperRef selected = GetSelectedObject();
  TdxBarHelperRef root = GetNavigationRoot();
  if (AKey != VK_MENU && AKey != VK_ESCAPE && AKey != VK_F10) {
    if (selected && selected->HandleNavigationKey(AKey))
      return;
    TdxBarHelperRef next;
    if (!selected)
      next = root ? root->GetFirstSelectableObject() : nullptr;
    else if (AKey == VK_TAB)
      next = selected->GetNextSelectableObject(GetKeyState(VK_SHIFT) >= 0);
    else if (AKey >= VK_LEFT && AKey <= VK_DOWN)
      next = selected->FindNavigationTarget(TcxAccessibilityNavigationDirection(andLeft + (AKey - VK_LEFT)));
    ChangeSelectedObject(AKey == VK_TAB, selected, next);
    return;
  }
  if (AKey == VK_ESCAPE && selected && selected->HandleNavigationKey(AKey))
    return;
  StopNavigation();
}

bool TdxBarNavigationController::MatchKeyTip(uint16_t AKey, LPARAM AFlags, bool AApply)
{
  if (AKey == VK_ESCAPE && FKeyTipContainer)
    return true;
  const wchar_t c = KeyToChar(AKey, AFlags);
  if (!c) {
    return false;
  }
  const String prefix = FTypedPrefix + dxBarKeyTipUpperCase(String(1, c));
  // The shown list, or one collected from the waiting root.
  std::vector<TdxBarKeyTipInfo> collected;
  std::vector<const TdxBarKeyTipInfo*> list;
  if (FKeyTipContainer) {
    for (const auto& tip : FKeyTips)
      list.push_back(&tip->Info);
  } else if (FPendingRoot) {
    collected = FPendingRoot->GetKeyTips();
    for (const TdxBarKeyTipInfo& info : collected)
      list.push_back(&info);
  }
  const TdxBarKeyTipInfo* match = nullptr;
  for (const TdxBarKeyTipInfo* info : list)
    if (info->Visible && StartsWith(dxBarKeyTipUpperCase(info->Text), prefix)) {
      match = info;
      break;
    }
  if (!match) {
    if (AApply && FProcessing)
      GBeep();
    return false;
  }
  if (!AApply)
    return true;
  if (dxBarKeyTipUpperCase(match->Text) == prefix) {
    TdxBarKeyTipInfo info = *match;
    const bool shown = FKeyTipContainer != nullptr;
    FreeTimer();
    FPendingRoot.reset();
    UpdateKeyTips(nullptr, String());
    if (info.Enabled && info.OnExecute) {
      TRestore running(FRunningShownKeyTip, shown);
      info.OnExecute();
    }
    return true;
  }
  if (!FKeyTipContainer) {
    TdxBarHelperRef root = FPendingRoot;
    CancelPending(false);
    UpdateKeyTips(root, prefix);
  } else {
    UpdateKeyTips(FKeyTipContainer, prefix);
  }
  return true;
}

void TdxBarNavigationController::FilterKeyTips()
{
  IdxBarKeyTipWindowsManager* manager = FKeyTipContainer ? FKeyTipContainer->GetKeyTipWindowsManager() : nullptr;
  for (const auto& tip : FKeyTips) {
    if (!tip->Info.Visible)
      continue;
    if (!FTypedPrefix.empty() && !StartsWith(tip->GetMatchText(), FTypedPrefix))
      tip->Hide();
    else
      tip->Show(manager);
  }
}

void TdxBarNavigationController::HideKeyTips()
{
  for (const auto& tip : FKeyTips)
    tip->Hide();
  FKeyTips.clear();
}

void TdxBarNavigationController::UpdateKeyTips(const TdxBarHelperRef& AContainer, const String& APrefix)
{
  if (AContainer && IsSameHelper(AContainer, FKeyTipContainer)) {
    if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, APrefix.c_str(), int(APrefix.size()), FTypedPrefix.c_str(),
                       int(FTypedPrefix.size())) != CSTR_EQUAL) {
      FTypedPrefix = dxBarKeyTipUpperCase(APrefix);
      FilterKeyTips();
    }
    return;
  }
  HideKeyTips();
  FKeyTipContainer = AContainer;
  FTypedPrefix.clear();
  if (!AContainer)
    return;
  FTypedPrefix = dxBarKeyTipUpperCase(APrefix);
  for (const TdxBarKeyTipInfo& info : AContainer->GetKeyTips())
    FKeyTips.push_back(std::make_unique<TdxBarKeyTipData>(info));
  FilterKeyTips();
}

void TdxBarNavigationController::MousePressed()
{
  FNavigationActive = false;
}

// ---------------------------------------------------------------------------
// The direction search

namespace {

struct TCentre {
  long double X, Y;
};

TCentre GetRectCentre(const TRect& R)
{
  return {R.left + (R.right - R.left) / 2.0L, R.top + (R.bottom - R.top) / 2.0L};
}

// How far (in degrees, 0 to 180) the line between the centres is off the direction.
long double GetDirectionDeviation(const TRect& ACurrent, const TRect& ACandidate,
                                  TcxAccessibilityNavigationDirection ADirection)
{
  static constexpr long double DirectionAngles[] = {180, 270, 0, 90};  // left, up, right, down
  const TCentre a = GetRectCentre(ACurrent), b = GetRectCentre(ACandidate);
  long double angle = std::atan2(b.Y - a.Y, b.X - a.X) * 180.0L / 3.14159265358979323846L;
  if (angle < 0)
    angle += 360;
  const long double d = std::fabs(angle - DirectionAngles[ADirection]);
  return std::min(d, 360 - d);
}

int EdgeGap(const TRect& C, const TRect& R, TcxAccessibilityNavigationDirection ADirection)
{
  switch (ADirection) {
    case andLeft:
      return C.left - R.right;
    case andUp:
      return C.top - R.bottom;
    case andRight:
      return R.left - C.right;
    default:
      return R.top - C.bottom;
  }
}

int FindNearest(const TRect& ACurrent, const std::vector<TRect>& ACandidates,
                TcxAccessibilityNavigationDirection ADirection)
{
  int best = -1;
  int bestGap = 0;
  long double bestDeviation = 0;
  for (size_t i = 0; i < ACandidates.size(); ++i) {
    const int gap = EdgeGap(ACurrent, ACandidates[i], ADirection);
    if (gap < 0)
      continue;
    const long double deviation = GetDirectionDeviation(ACurrent, ACandidates[i], ADirection);
    if (best < 0 || gap < bestGap || (gap == bestGap && deviation < bestDeviation)) {
      best = int(i);
      bestGap = gap;
      bestDeviation = deviation;
    }
  }
  return best;
}

}  // namespace

int FindNearestInDirection(const TRect& ACurrent, const std::vector<TRect>& ACandidates,
                           TcxAccessibilityNavigationDirection ADirection, bool AWrap)
{
  if (ADirection < andLeft || ADirection > andDown)
    return -1;
  int found = FindNearest(ACurrent, ACandidates, ADirection);
  if (found < 0 && AWrap && (ADirection == andLeft || ADirection == andRight)) {
    constexpr int FarSide = 0x3FFFFFFF;
    TRect moved = ACurrent;
    const int width = ACurrent.right - ACurrent.left;
    moved.left = ADirection == andLeft ? FarSide : -FarSide;
    moved.right = moved.left + width;
    found = FindNearest(moved, ACandidates, ADirection);
  }
  return found;
}
