// The bar item's click chain and the fan-out of its changes to the controls of its links.
#include <set>
#include <vector>

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"

namespace {

}  // namespace

// ---------------------------------------------------------------------------
// Click chain

void TdxBarItem::ShortCutClick()
{
  if (IsClickable())
    Click();
}

void TdxBarItem::Click()
{
  if (!GetEnabled())
    return;
  // A handler may free the item, its bar or its form.
  TWeakRef<TdxBarItem> self(this);
  if (TdxBarManager* manager = GetBarManager())
    manager->DoClickItem(this);
  if (self)
    DoClick();
}

void TdxBarItem::DoClick()
{
  TBasicAction* action = GetAction();
  if (FOnClick.Assigned() && !(action && FOnClick == action->OnExecute())) {
    TNotifyEvent handler = FOnClick;
    handler(this);
    return;
  }
  if (!IsDesigning() && FActionLink)
    FActionLink->Execute(this);
}

bool TdxBarItem::IsShortCut(TShortCut Key)
{
  if (!GetEnabled() || Key == 0 || FSearchingShortCut)
    return false;
  if (IsClickable() && Key == FShortCut) {
    ShortCutClick();
    return true;
  }
  // A sub-menu reached again through its own links must not search forever.
  TdxBarItemLinks* links = GetItemLinks();
  if (!links)
    return false;
  TWeakRef<TdxBarItem> self(this);
  FSearchingShortCut = true;
  bool result = false;
  {
    TFinally done([&]() noexcept {
      if (self)
        FSearchingShortCut = false;
    });
    result = links->IsShortCut(Key);
  }
  return result;
}

// ---------------------------------------------------------------------------
// Change propagation

template <class F>
void TdxBarItem::ForEachControl(F Proc)
{
  std::vector<TWeakRef<TdxBarItemLink>> links;
  for (int i = 0; i < FLinks.Count(); ++i)
    links.emplace_back(GetLink(i));
  TWeakRef<TdxBarItem> self(this);
  for (const auto& ref : links) {
    if (!self)
      return;
    TdxBarItemLink* link = ref.Get();
    if (!link || FLinks.IndexOf(link) < 0 || !link->GetControl())
      continue;
    Proc(link, link->GetControl());
  }
}

bool TdxBarItem::IsPressedControl(TdxBarItemControl* AControl)
{
  TCustomdxBarControl* bar = AControl->GetParent();
  return bar && bar->HoldsCapture() && bar->GetSelectedControl() == AControl;
}

void TdxBarItem::CaptionChanged()
{
  ForEachControl([](TdxBarItemLink* link, TdxBarItemControl* control) {
    if (!link->GetUserDefine().Contains(udCaption))
      control->CaptionChanged();
  });
  Changed();
}

void TdxBarItem::EnabledChanged()
{
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* control) {
    control->DropCachedImage();
    control->EnabledChanged();
  });
  Changed();
}

void TdxBarItem::GlyphChanged()
{
  // Every stale image goes before any control measures itself again: controls of one
  // bar lay each other out.
  ForEachControl([](TdxBarItemLink* link, TdxBarItemControl* control) {
    if (!link->GetUserDefine().Contains(udGlyph)) {
      control->DropCachedImage();
      control->ClearCachedSizes();
    }
  });
  ForEachControl([](TdxBarItemLink* link, TdxBarItemControl* control) {
    if (!link->GetUserDefine().Contains(udGlyph))
      control->GlyphChanged();
  });
  Changed();
}

void TdxBarItem::HotGlyphChanged()
{
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* control) {
    control->DropCachedImage();
    control->HotGlyphChanged();
  });
}

void TdxBarItem::LargeGlyphChanged()
{
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* control) {
    control->DropCachedImage();
    control->ClearCachedSizes();
  });
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* control) { control->LargeGlyphChanged(); });
  Changed();
}

void TdxBarItem::ShortCutChanged()
{
  RebuildBars({bckSubMenu});
  Changed();
}

void TdxBarItem::VisibleChanged()
{
  if (IsDesigning())
    return;
  {
    TdxBarManagerUpdate update(GetBarManager());
    std::vector<TWeakRef<TdxBarItemLink>> links;
    for (int i = 0; i < FLinks.Count(); ++i)
      links.emplace_back(GetLink(i));
    TWeakRef<TdxBarItem> self(this);
    for (const auto& ref : links) {
      TdxBarItemLink* link = ref.Get();
      if (!self)
        return;
      if (!link || FLinks.IndexOf(link) < 0)
        continue;
      if (TdxBarItemLinks* collection = link->GetItemLinks())
        collection->RebuildLists();
      if (IsAvailable()) {
        link->BringToTopInRecentList(false);
        if (!link->GetControl())
          link->CreateControl();
        if (TdxBarItemControl* control = link->GetControl())
          control->VisibleChanged();
      } else {
        link->MoveToRecentBottom();
        if (TdxBarItemControl* control = link->GetControl()) {
          control->VisibleChanged();
          link->DestroyControl();
        }
      }
    }
  }
  Changed();
}

void TdxBarItem::WidthChanged()
{
  ForEachControl([](TdxBarItemLink* link, TdxBarItemControl* control) {
    if (!link->GetUserDefine().Contains(udWidth))
      control->WidthChanged();
  });
}

void TdxBarItem::Update()
{
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* control) { control->RecalcAndRepaint(); });
}

void TdxBarItem::RepaintControls()
{
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* control) {
    if (!IsPressedControl(control))
      control->Repaint();
  });
}

void TdxBarItem::RebuildBars(TdxBarControlKinds Kinds)
{
  // Collected first: a rebuild makes the window's controls anew.
  std::vector<TWeakRef<TCustomdxBarControl>> bars;
  std::set<TCustomdxBarControl*> seen;
  ForEachControl([&](TdxBarItemLink*, TdxBarItemControl* control) {
    TCustomdxBarControl* bar = control->GetParent();
    if (bar && Kinds.Contains(bar->GetKind()) && !IsPressedControl(control) && seen.insert(bar).second)
      bars.emplace_back(bar);
  });
  for (const auto& ref : bars)
    if (TCustomdxBarControl* bar = ref.Get())
      bar->RebuildBar();
}

void TdxBarItem::StylesChanged(TObject* Sender, TdxBarItemStyleChange Kind)
{
  if (IsDestroying() || Kind == iscNone)
    return;
  bool fontChanged = Kind == iscRecalculate;
  ForEachControl([&](TdxBarItemLink* link, TdxBarItemControl* control) {
    control->ApplyStyle();
    if (fontChanged)
      link->RecreateControl();
  });
  if (fontChanged)
    RebuildBars(dxBarAllControlKinds);
  else
    RepaintControls();
}
