// The registry of the bars' accessibility helpers: one helper per dock site, bar window and
// item control, made on first use and kept while its owner lives; and the notifications that
// tell clients of menus shown and selection moved.
#include <algorithm>
#include <map>

#include "bars/accessibility/baraccessibility.h"
#include "bars/accessibility/baraccessibility_impl.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/startup.h"

namespace {

struct THelperEntry {
  TWeakRef<TObject> Owner;
  TcxAccessibilityHelperRef Helper;
};
std::map<const TObject*, THelperEntry>* GHelpers = nullptr;
// The registry's size after its last sweep of helpers whose owners were freed.
size_t GHelpersAfterSweep = 16;

TdxBarAccessibilityHelper* CreateHelper(TObject* AOwner)
{
  if (TdxBarAccessibilityHelper* helper = BarAccessibility::CreateWindowHelper(AOwner))
    return helper;
  if (auto* control = dynamic_cast<TdxBarItemControl*>(AOwner)) {
    TdxBarAccessibilityHelperClass helperClass = control->GetAccessibilityHelperClass();
    return helperClass ? helperClass(control) : nullptr;
  }
  return nullptr;
}

}  // namespace

TdxBarAccessibilityHelper* dxBarGetAccessibilityHelper(TObject* AOwner)
{
  if (!AOwner || dxBarIsFinalizing())
    return nullptr;
  if (!GHelpers)
    GHelpers = new std::map<const TObject*, THelperEntry>;
  auto it = GHelpers->find(AOwner);
  if (it != GHelpers->end() && it->second.Owner.Alive() && it->second.Owner.Get() == AOwner)
    return static_cast<TdxBarAccessibilityHelper*>(it->second.Helper.Get());
  // A new object where a freed one was: the old helper goes first, with the others of freed
  // owners. Otherwise those are swept each time the registry has doubled, so that making a
  // helper costs no walk over all of them.
  if (it != GHelpers->end() || GHelpers->size() >= 2 * GHelpersAfterSweep) {
    dxBarReleaseAccessibilityHelpers(false);
    GHelpersAfterSweep = std::max<size_t>(GHelpers ? GHelpers->size() : 0, 16);
  }
  TdxBarAccessibilityHelper* helper = CreateHelper(AOwner);
  if (!helper)
    return nullptr;
  (*GHelpers)[AOwner] = THelperEntry{TWeakRef<TObject>(AOwner), TcxAccessibilityHelperRef(helper)};
  return helper;
}

void dxBarReleaseAccessibilityHelpers(bool AAll)
{
  if (!GHelpers)
    return;
  for (auto it = GHelpers->begin(); it != GHelpers->end();) {
    if (AAll || !it->second.Owner.Alive()) {
      TcxAccessibilityHelperRef helper = it->second.Helper;
      it = GHelpers->erase(it);
      if (helper)
        helper->OwnerObjectDestroyed();
    } else {
      ++it;
    }
  }
  if (AAll) {
    delete GHelpers;
    GHelpers = nullptr;
  }
}

LRESULT dxBarAnswerGetObject(TObject* AOwner, WPARAM wParam, LPARAM lParam)
{
  if (LONG(DWORD(lParam)) != LONG(OBJID_CLIENT))
    return 0;
  return cxAccessibilityAnswerGetObject(dxBarGetAccessibilityHelper(AOwner), wParam, lParam);
}

void dxBarAccessibilityWindowShown(TCustomdxBarControl* ABar, bool AShown)
{
  if (ABar && ABar->GetKind() == bckSubMenu && ABar->HandleAllocated())
    NotifyWinEvent(AShown ? EVENT_SYSTEM_MENUPOPUPSTART : EVENT_SYSTEM_MENUPOPUPEND, ABar->GetHandle(), OBJID_CLIENT,
                   CHILDID_SELF);
}

void dxBarAccessibilityItemFocused(TdxBarItemControl* AControl)
{
  TCustomdxBarControl* bar = AControl ? AControl->GetParent() : nullptr;
  TdxBarAccessibilityHelper* helper = dxBarGetAccessibilityHelper(bar);
  if (!helper || !bar->HandleAllocated())
    return;
  const int index = helper->GetChildIndex(dxBarGetAccessibilityHelper(AControl));
  if (index >= 0)
    NotifyWinEvent(EVENT_OBJECT_FOCUS, bar->GetHandle(), OBJID_CLIENT, index + 1);
}
