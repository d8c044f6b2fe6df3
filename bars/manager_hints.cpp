// The manager's hints: whether a hint shows and what it says; the thread's hint window
// (bars/hintwindow.cpp) keeps the timing.
#include "bars/barcontrol.h"
#include "bars/hintwindow.h"
#include "bars/itemcontrol.h"
#include "bars/items.h"
#include "bars/manager.h"
#include "platform/Application.h"

// ---------------------------------------------------------------------------

void TdxBarManager::ActivateHint(bool AShow, const String& AText, TdxBarItemControl* AControl)
{
  if (IsCustomizing() || !FShowHint)
    return;
  if (!AShow) {
    HideHint();
    return;
  }
  String text = AText;
  String shortCut;
  if (AControl) {
    if (!AControl->GetEnabled() && !FShowHintForDisabledItems) {
      HideHint();
      return;
    }
    TdxBarItemControlHintInfo info;
    if (!AControl->GetHintInfo(info)) {
      HideHint();
      return;
    }
    if (text.empty())
      text = info.Hint;
    if (!info.ShortCut.empty() && (FShowShortCutInHint || (Application && Application->GetHintShortCuts())))
      shortCut = L" (" + info.ShortCut + L")";
  }
  TdxBarItem* item = AControl ? AControl->GetItem() : nullptr;
  if (text.empty() && !(item && item->GetScreenTip())) {
    HideHint();
    return;
  }
  dxBarShowHintDelayed(AControl, text, shortCut);
}

void TdxBarManager::HideHint()
{
  dxBarCancelHint();
}
