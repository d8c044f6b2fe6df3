// The button item: its styles, the exclusive groups, Down, the drop-down menu and its
// published properties.
#include "bars/itemcontrols/buttons.h"

#include <functional>
#include <set>

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "platform/SysUtils.h"

DEFINE_ENUM_INFO(TdxBarButtonStyle, L"bsDefault", L"bsChecked", L"bsDropDown", L"bsCheckedDropDown")

PUBLISHED(TdxBarButton, TdxBarItem)
{
  using I = TdxBarButton;
  p.Prop(L"AllowAllUp", &I::GetAllowAllUp, &I::SetAllowAllUp).Default(false);
  p.Prop(L"ButtonStyle", &I::GetButtonStyle, &I::SetButtonStyle).Default(bsDefault);
  p.Prop(L"CloseSubMenuOnClick", &I::GetCloseSubMenuOnClick, &I::SetCloseSubMenuOnClick).Default(true);
  p.Prop(L"DropDownEnabled", &I::GetDropDownEnabled, &I::SetDropDownEnabled).Default(true);
  p.Prop(L"GroupIndex", &I::GetGroupIndex, &I::SetGroupIndex).Default(0);
  p.Prop(L"Down", &I::GetDown, &I::SetDown).Default(false).Stored(&I::IsDownStored);
  p.Component(L"DropDownMenu", &I::GetDropDownMenu, &I::SetDropDownMenu);
  p.Object(L"Glyph", &I::GetGlyph, &I::SetGlyph);
  p.Prop(L"ImageIndex", &I::GetImageIndex, &I::SetImageIndex).Default(-1).Stored(&I::IsImageIndexStored);
  p.Object(L"LargeGlyph", &I::GetLargeGlyph, &I::SetLargeGlyph);
  p.Prop(L"LargeImageIndex", &I::GetLargeImageIndex, &I::SetLargeImageIndex).Default(-1);
  p.Prop(L"Lowered", &I::GetLowered, &I::SetLowered).Default(false);
  p.Prop(L"PaintStyle", &I::GetPaintStyle, &I::SetPaintStyle).Default(psStandard);
  p.Prop(L"ShortCut", &I::GetShortCut, &I::SetShortCut).Default(0).Stored(&I::IsShortCutStored);
  p.Prop(L"UnclickAfterDoing", &I::GetUnclickAfterDoing, &I::SetUnclickAfterDoing).Default(true);
  p.Event(L"OnClick", &I::GetOnClick, &I::SetOnClick).Stored(&I::IsOnClickStored);
}

namespace {

// A developer's mistake rather than a user's: not in the string table.
constexpr const wchar_t* sNotDropDownMenu = L"%s cannot be a drop-down menu";

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarButton

TdxBarButton::TdxBarButton(TComponent* AOwner) : TdxBarItem(AOwner)
{
  SetUnclickAfterDoing(true);
}

TdxBarButton::~TdxBarButton()
{
  if (FDropDownMenu)
    FDropDownMenu->RemoveFreeNotification(this);
}

void TdxBarButton::Notification(TComponent* AComponent, TOperation Operation)
{
  TdxBarItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu)
    FDropDownMenu = nullptr;
}

String TdxBarButton::GetNewItemCaption() const
{
  return GetResourceString(sdxBarNewButton);
}

IdxBarDropDownMenu* TdxBarButton::GetDropDownMenuIntf() const
{
  return dynamic_cast<IdxBarDropDownMenu*>(FDropDownMenu);
}

TdxBarItemLinks* TdxBarButton::GetItemLinks() const
{
  IdxBarDropDownMenu* menu = GetDropDownMenuIntf();
  return menu ? menu->GetDropDownItemLinks() : nullptr;
}

bool TdxBarButton::HasAccel(const TdxBarItemLink* ALink) const
{
  if (!GetEnabled())
    return false;
  if (!dxBarIsLinkOnBar(ALink))
    return true;
  // On a toolbar only a caption that shows carries the accelerator.
  auto showsCaption = [](TdxBarPaintStyle AStyle) { return AStyle == psCaption || AStyle == psCaptionGlyph; };
  if (showsCaption(ALink->GetPaintStyle()))
    return true;
  auto* control = dynamic_cast<TdxBarButtonControl*>(ALink->GetControl());
  return control && showsCaption(control->GetPaintStyle());
}

bool TdxBarButton::IsShortCut(TShortCut Key)
{
  if (GetEnabled() && Key != 0 && Key == GetShortCut() && IsClickable()) {
    TWeakRef<TdxBarButton> self(this);
    if (Checks())
      SetDown(!FDown);
    if (self)
      ShortCutClick();
    return true;
  }
  return TdxBarItem::IsShortCut(Key);
}

void TdxBarButton::PaintStyleChanged()
{
  // Collected first: a control's rebuild makes its bar's controls anew.
  std::vector<TWeakRef<TdxBarItemLink>> links;
  for (int i = 0; i < GetLinkCount(); ++i)
    links.emplace_back(GetLink(i));
  for (const auto& ref : links) {
    TdxBarItemLink* link = ref.Get();
    if (link && !link->GetUserDefine().Contains(udPaintStyle))
      if (TdxBarItemControl* control = link->GetControl())
        control->PaintStyleChanged();
  }
}

TdxBarButtonControl* TdxBarButton::GetDropDownSourceControl() const
{
  if (TdxBarItemLink* selected = GetSelectedLink())
    if (auto* control = dynamic_cast<TdxBarButtonControl*>(selected->GetControl()))
      return control;
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TdxBarButtonControl*>(GetLink(i)->GetControl()))
      return control;
  return nullptr;
}

void TdxBarButton::DropDown(bool AByMouse)
{
  if (TdxBarButtonControl* control = GetDropDownSourceControl())
    control->DoDropDown(AByMouse);
}

TdxBarButton* TdxBarButton::FindDownGroupMember() const
{
  TdxBarManager* manager = GetBarManager();
  if (!manager || FGroupIndex == 0)
    return nullptr;
  for (int i = 0; i < manager->GetItemCount(); ++i) {
    auto* button = dynamic_cast<TdxBarButton*>(manager->GetItem(i));
    if (button && button != this && button->Checks() && button->FGroupIndex == FGroupIndex && button->FDown)
      return button;
  }
  return nullptr;
}

// A group keeps at most one button down; without AllowAllUp the last down button stays
// down. The button released by a new down one goes after the repaint, so that a handler
// of the repaint never sees the group without a down button.
void TdxBarButton::SetDown(bool Value)
{
  if (FDown == Value)
    return;
  if (Value && !Checks())
    return;
  TdxBarButton* previous = nullptr;
  if (!IsLoading() && Checks() && FGroupIndex != 0) {
    if (!Value) {
      if (!FAllowAllUp && !FindDownGroupMember())
        return;
    } else {
      previous = FindDownGroupMember();
    }
  }
  FDown = Value;
  if (IsLoading())
    return;
  TWeakRef<TdxBarButton> previousRef(previous);
  RepaintControls();
  // Lists watching the button (an application menu's row button) show its state too.
  TWeakRef<TdxBarButton> self(this);
  Changed();
  if (!self)
    return;
  if (TdxBarButton* button = previousRef.Get())
    button->SetDown(false);
}

void TdxBarButton::ReleaseDown()
{
  if (!FDown)
    return;
  FDown = false;
  if (!IsLoading())
    RepaintControls();
}

// Changing the style or the group always leaves the button up: it left the group (or the
// checking styles), so the group's last-button rule does not hold it down.
void TdxBarButton::SetButtonStyle(TdxBarButtonStyle Value)
{
  if (FButtonStyle == Value || Value < bsDefault || Value > bsCheckedDropDown)
    return;
  FButtonStyle = Value;
  ReleaseDown();
  if (!IsLoading())
    RebuildBars(dxBarAllControlKinds);
  Changed();
}

void TdxBarButton::SetGroupIndex(int Value)
{
  if (!Checks())
    Value = 0;
  if (FGroupIndex == Value)
    return;
  FGroupIndex = Value;
  ReleaseDown();
}

void TdxBarButton::SetAllowAllUp(bool Value)
{
  if (FAllowAllUp == Value)
    return;
  FAllowAllUp = Value;
  TdxBarManager* manager = GetBarManager();
  if (FGroupIndex == 0 || !manager)
    return;
  for (int i = 0; i < manager->GetItemCount(); ++i)
    if (auto* button = dynamic_cast<TdxBarButton*>(manager->GetItem(i)); button && button->FGroupIndex == FGroupIndex)
      button->FAllowAllUp = Value;
}

void TdxBarButton::SetDropDownEnabled(bool Value)
{
  if (FDropDownEnabled == Value)
    return;
  FDropDownEnabled = Value;
  if (!IsLoading())
    RepaintControls();
}

void TdxBarButton::SetLowered(bool Value)
{
  if (FLowered == Value)
    return;
  FLowered = Value;
  if (!IsLoading())
    RebuildBars(dxBarAllControlKinds);
}

bool TdxBarButton::IsMenuRecursive(IdxBarDropDownMenu* AMenu) const
{
  std::set<const TdxBarItemLinks*> visited;
  std::function<bool(const TdxBarItemLinks*)> reaches = [&](const TdxBarItemLinks* ALinks) {
    if (!ALinks || !visited.insert(ALinks).second)
      return false;
    for (int i = 0; i < ALinks->Count(); ++i) {
      TdxBarItem* item = ALinks->Items(i)->GetItem();
      if (item == this || (item && reaches(item->GetItemLinks())))
        return true;
    }
    return false;
  };
  return reaches(AMenu->GetDropDownItemLinks());
}

void TdxBarButton::SetDropDownMenu(TComponent* Value)
{
  if (FDropDownMenu == Value)
    return;
  if (Value) {
    auto* menu = dynamic_cast<IdxBarDropDownMenu*>(Value);
    if (!menu)
      throw EInvalidOperation(Format(sNotDropDownMenu, {Value->Name()}));
    if (IsMenuRecursive(menu))
      throw Exception(GetResourceString(sdxBarRecursiveMenusError));
  }
  if (FDropDownMenu)
    FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = Value;
  if (FDropDownMenu)
    FDropDownMenu->FreeNotification(this);
}

bool TdxBarButton::IsDownStored() const
{
  return !GetActionLink() || !GetActionLink()->IsCheckedLinked();
}
