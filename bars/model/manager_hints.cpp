// The manager's hints: whether a hint shows and what it says; the thread's hint window
// (bars/hints/hintwindow.cpp) keeps the timing.
#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/hints/hintwindow.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
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
  dxBarEndHint();
}

void TdxBarManager::ActivateCaptionButtonHint(bool AShow, TdxBarCaptionButton* AButton)
{
  if (!AShow) {
    if (dxBarIsHintFrom(AButton))
      HideHint();
    return;
  }
  String text;
  if (IsCustomizing() || !FShowHint || !AButton->GetHint(text) || (text.empty() && !AButton->GetScreenTip()))
    return;
  dxBarShowHintDelayed(AButton, text, String());
}
