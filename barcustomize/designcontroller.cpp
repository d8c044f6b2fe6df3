// The design controller: registers, the run-time selection, Delete and Esc, and its start-up.
#include "barcustomize/designcontroller.h"

#include "barcustomize/customizeform.h"

#include "barcustomize/linkeditors.h"
#include "barcustomize/quickcust.h"
#include "bars/menus/appmenu.h"
#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/model/customizing.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/keyboard/hooks.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/menus/submenu.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "platform/Forms.h"
#include "platform/Scope.h"

IMPLEMENT_CLASS(TCustomdxBarControlDesignHelper, TObject)
IMPLEMENT_CLASS(TdxBarControlDesignHelper, TCustomdxBarControlDesignHelper)
IMPLEMENT_CLASS(TdxBarSubMenuControlDesignHelper, TCustomdxBarControlDesignHelper)
IMPLEMENT_CLASS(TdxBarApplicationMenuControlDesignHelper, TCustomdxBarControlDesignHelper)
IMPLEMENT_CLASS(TdxBarDesignController, TcxDesignController)

namespace {

TdxBarDesignController* GController = nullptr;
bool GShutDown = false;
// The hook entries as they were before the controller filled them.
TdxBarHookServices GPreviousHooks;

constexpr TdxBarLinkCommands Commands(std::initializer_list<int> ACommands)
{
  TdxBarLinkCommands result = 0;
  for (int c : ACommands)
    result |= dxBarCommandBit(c);
  return result;
}

TdxBarManager* ManagerOfObject(TObject* AObject)
{
  if (auto* link = dynamic_cast<TdxBarItemLink*>(AObject))
    return link->GetBarManager();
  if (auto* component = dynamic_cast<TdxBarComponent*>(AObject))
    return component->GetBarManager();
  if (auto* bar = dynamic_cast<TdxBar*>(AObject))
    return bar->GetBarManager();
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Design helpers

void TCustomdxBarControlDesignHelper::GetEditors(std::vector<TClass>& AList) const
{
  if (TdxBarDesignController* controller = BarDesignController())
    for (TClass editor : controller->GetEditors())
      AList.push_back(editor);
}

TdxBarLinkCommands TCustomdxBarControlDesignHelper::GetForbiddenCommands() const
{
  return Commands({lcPaintStyle, lcPosition, lcViewLevels, lcButtonGroup, lcMostRecentlyUsed});
}

TdxBarLinkCommands TdxBarControlDesignHelper::GetForbiddenCommands() const
{
  return Commands({lcPosition, lcViewLevels, lcButtonGroup, lcMostRecentlyUsed});
}

void TdxBarSubMenuControlDesignHelper::GetEditors(std::vector<TClass>& AList) const
{
  TCustomdxBarControlDesignHelper::GetEditors(AList);
  AList.push_back(TdxAddSeparatorEditor::StaticClass());
}

TdxBarLinkCommands TdxBarSubMenuControlDesignHelper::GetForbiddenCommands() const
{
  return Commands({lcPaintStyle, lcPosition, lcViewLevels, lcButtonGroup});
}

// ---------------------------------------------------------------------------
// The controller

TdxBarDesignController::TdxBarDesignController()
{
  RegisterDesignHelper(TdxBarControl::StaticClass(), TdxBarControlDesignHelper::StaticClass());
  RegisterDesignHelper(TdxBarSubMenuControl::StaticClass(), TdxBarSubMenuControlDesignHelper::StaticClass());
  RegisterDesignHelper(TdxBarApplicationMenuControl::StaticClass(),
                       TdxBarApplicationMenuControlDesignHelper::StaticClass());
  RegisterEditor(TdxAddSubItemEditor::StaticClass());
  RegisterEditor(TdxAddButtonEditor::StaticClass());
  RegisterEditor(TdxItemsEditorEx::StaticClass());
}

TdxBarDesignController::~TdxBarDesignController()
{
  // The popups go first: their links name the internal items.
  try {
    if (TdxBarSubMenuControl* popup = FPopup.Get())
      popup->Free();
    if (TdxBarSubMenuControl* popup = FToolbarsPopup.Get())
      popup->Free();
    if (TdxBarQuickControl* quick = FQuickControl.Get())
      quick->Free();
    FreeInternalItems();
  } catch (...) {
    // Nothing leaves a destructor; what the windows raised is reported, not rethrown.
    HandleUnexpectedException();
  }
}

void TdxBarDesignController::RegisterDesignHelper(TClass AControlClass, TClass AHelperClass)
{
  FHelpers.Register(AControlClass, AHelperClass);
}

void TdxBarDesignController::UnregisterDesignHelper(TClass AControlClass)
{
  FHelpers.Unregister(AControlClass);
}

void TdxBarDesignController::RegisterEditor(TClass AEditorClass)
{
  if (AEditorClass && std::find(FEditors.begin(), FEditors.end(), AEditorClass) == FEditors.end())
    FEditors.push_back(AEditorClass);
}

void TdxBarDesignController::UnregisterEditor(TClass AEditorClass)
{
  std::erase(FEditors, AEditorClass);
}

const TCustomdxBarControlDesignHelper* TdxBarDesignController::GetDesignHelper(const TCustomdxBarControl* AControl)
{
  TClass helperClass = AControl ? FHelpers.FindClass(AControl->ClassType()) : nullptr;
  if (!helperClass || !helperClass->InheritsFrom(TCustomdxBarControlDesignHelper::StaticClass()))
    helperClass = TCustomdxBarControlDesignHelper::StaticClass();
  std::unique_ptr<TCustomdxBarControlDesignHelper>& helper = FHelperInstances[helperClass];
  if (!helper)
    helper.reset(static_cast<TCustomdxBarControlDesignHelper*>(helperClass->Create()));
  return helper.get();
}

// ---------------------------------------------------------------------------
// Selection

void TdxBarDesignController::RepaintObject(TObject* AObject)
{
  if (auto* link = dynamic_cast<TdxBarItemLink*>(AObject)) {
    if (TdxBarItemControl* control = link->GetControl())
      control->Repaint();
  } else if (auto* item = dynamic_cast<TdxBarItem*>(AObject)) {
    for (int i = 0; i < item->GetLinkCount(); ++i)
      RepaintObject(item->GetLink(i));
  } else if (auto* bar = dynamic_cast<TdxBar*>(AObject)) {
    if (TdxBarControl* control = bar->GetControl(); control && control->HandleAllocated())
      ::InvalidateRect(control->GetHandle(), nullptr, false);
  }
}

void TdxBarDesignController::SelectObject(TObject* AObject, int AMode)
{
  TObject* old = FSelection.Get();
  if (AMode == 1) {
    if (AObject && AObject == old) {
      FSelection = TWeakRef<TObject>();
      RepaintObject(old);
    }
    return;
  }
  if (AObject == old)
    return;
  FSelection = TWeakRef<TObject>(AObject);
  if (old)
    RepaintObject(old);
  if (AObject)
    RepaintObject(AObject);
}

void TdxBarDesignController::SelectComponent(TComponent* AComponent, int AMode)
{
  // A form designer keeps its own selection; a running program has the controller's.
  TdxBarManager* manager = ManagerOfObject(AComponent);
  if (manager && manager->IsDesigning())
    manager->DesignerSelectComponent(AComponent, AMode);
  else
    SelectObject(AComponent, AMode);
}

bool TdxBarDesignController::KeepsSelection(TObject* AObject) const
{
  // A link whose menu is open keeps it: the user is customizing the links inside.
  auto* link = dynamic_cast<TdxBarItemLink*>(AObject);
  TdxBarItemControl* control = link ? link->GetControl() : nullptr;
  return control && control->IsDroppedDown();
}

void TdxBarDesignController::ClearSelection()
{
  TObject* selected = FSelection.Get();
  if (selected && ::GetActiveWindow() && KeepsSelection(selected))
    return;
  SelectObject(selected, 1);
}

void TdxBarDesignController::TestDesignSelection()
{
  // What can no longer be customized is no longer selected: its manager stopped customizing
  // (or went), or the link left its bar. Otherwise the outline would come back with the next
  // customizing and Delete would act on it.
  TObject* selected = FSelection.Get();
  if (!selected)
    return;
  TdxBarManager* manager = ManagerOfObject(selected);
  auto* link = dynamic_cast<TdxBarItemLink*>(selected);
  if (!manager || !manager->IsCustomizing() || (link && !link->GetItemLinks()))
    SelectObject(selected, 1);
}

bool TdxBarDesignController::IsSelected(const TObject* AObject) const
{
  return GetSelectionState(AObject) != TdxBarSelectionState::None;
}

TdxBarSelectionState TdxBarDesignController::GetSelectionState(const TObject* AObject) const
{
  TObject* selected = FSelection.Get();
  if (!AObject || !selected)
    return TdxBarSelectionState::None;
  if (AObject == selected)
    return TdxBarSelectionState::Current;
  auto* link = dynamic_cast<const TdxBarItemLink*>(AObject);
  return link && link->GetItem() && link->GetItem() == selected ? TdxBarSelectionState::Selected
                                                                : TdxBarSelectionState::None;
}

// ---------------------------------------------------------------------------
// Delete and Esc

TdxBarManager* TdxBarDesignController::FindSelectionManager() const
{
  TdxBarManager* manager = ManagerOfObject(FSelection.Get());
  return manager && manager->IsCustomizing() ? manager : nullptr;
}

bool TdxBarDesignController::IsManagerFormActive(TdxBarManager* AManager, WORD AKey) const
{
  TCustomForm* form = AManager ? AManager->GetTopLevelForm() : nullptr;
  if (form && form->HandleAllocated() && form->GetHandle() == ::GetActiveWindow())
    return true;
  // The Customize dialog stands in for the form while it is open, unless its list that has
  // the keyboard acts on the key itself.
  HWND dialog = AManager ? AManager->GetCustomizingFormHandle() : nullptr;
  return dialog && dialog == ::GetActiveWindow() && !CustomizingFormListTakesKey(AKey);
}

bool TdxBarDesignController::DeleteSelection(bool AItems, bool AFromKeyboard)
{
  TdxBarManager* manager = FindSelectionManager();
  if (!manager || (AFromKeyboard && !IsManagerFormActive(manager, VK_DELETE)))
    return false;
  TObject* selected = FSelection.Get();
  auto* link = dynamic_cast<TdxBarItemLink*>(selected);
  auto* item = dynamic_cast<TdxBarItem*>(selected);
  if (link && AItems)
    item = link->GetItem();
  if (item && (IsInternalItem(item) || !item->CanDelete(true)))
    return false;
  if (!item && (!link || !link->GetItemLinks()))
    return false;
  // Held weakly from here: while the question is up, timers, the Customize dialog and the
  // other windows run on, and any of them may free what it asks about.
  TWeakRef<TdxBarManager> managerRef(manager);
  TWeakRef<TdxBarItem> itemRef(item);
  TWeakRef<TdxBarItemLink> linkRef(item ? nullptr : link);
  // An item with more links than the one in view: the user confirms before they go, or
  // learns that the command also appears elsewhere.
  TdxBarItem* concerned = item ? item : link->GetItem();
  if (concerned && concerned->GetLinkCount() >= 2 &&
      dxBarAskCustomizingQuestion(manager, nullptr, GetResourceString(sdxBarDeleteItemWithLinksConfirmation),
                                  MB_YESNO) != IDYES)
    return true;
  // What is left of what was asked about goes; nothing else.
  manager = managerRef.Get();
  item = itemRef.Get();
  link = linkRef.Get();
  if (!manager || (!item && !link))
    return true;
  {
    TUpdateLock<TdxBarManager> update(manager);
    if (item)
      item->Delete(true);
    else {
      link->HandOverBeginGroup();
      link->Free();
    }
  }
  if (TdxBarManager* m = managerRef.Get())
    m->DesignerModified();
  return true;
}

bool TdxBarDesignController::EscapeSelection()
{
  TdxBarManager* manager = FindSelectionManager();
  auto* link = dynamic_cast<TdxBarItemLink*>(FSelection.Get());
  if (!manager || !link || !IsManagerFormActive(manager, VK_ESCAPE))
    return false;
  // The selection goes up to what holds the link: a toolbar's bar, a menu's opening link.
  TObject* up = nullptr;
  TCustomdxBarControl* control = link->GetBarControl();
  if (auto* toolbar = dynamic_cast<TdxBarControl*>(control))
    up = toolbar->GetBar();
  else if (auto* menu = dynamic_cast<TdxBarSubMenuControl*>(control))
    up = menu->GetOwnerItemControl() ? menu->GetOwnerItemControl()->GetItemLink() : nullptr;
  if (control && control->GetSelectedControl() && control->GetSelectedControl()->GetItemLink() == link)
    control->SelectItemControl(nullptr);
  if (up)
    SelectObject(up, 2);
  else
    ClearSelection();
  return true;
}

// ---------------------------------------------------------------------------
// The controller's life and its services

TdxBarDesignController* BarDesignController()
{
  if (!GController && !GShutDown)
    GController = new TdxBarDesignController();
  return GController;
}

namespace {

template <class F>
auto WithController(F AFunction)
{
  return [AFunction](auto&&... AArgs) {
    using R = decltype(AFunction(static_cast<TdxBarDesignController*>(nullptr), AArgs...));
    if (TdxBarDesignController* controller = BarDesignController())
      return AFunction(controller, AArgs...);
    return R();
  };
}

}  // namespace

void InitializedxBarDesignController(TdxBarCustomizingServices& AServices)
{
  GShutDown = false;
  using C = TdxBarDesignController;
  AServices.SelectObject = WithController([](C* c, TObject* o, int m) { c->SelectObject(o, m); });
  AServices.IsSelected = WithController([](C* c, const TObject* o) { return c->IsSelected(o); });
  AServices.GetSelectionState = WithController([](C* c, const TObject* o) { return c->GetSelectionState(o); });
  AServices.ClearSelection = WithController([](C* c) { c->ClearSelection(); });
  AServices.TestDesignSelection = WithController([](C* c) { c->TestDesignSelection(); });
  AServices.ShowBarControlPopup =
      WithController([](C* c, TdxBarManager* m, TCustomdxBarControl* t) { c->ShowBarControlPopup(m, t); });
  AServices.ShowCustomizingPopup = WithController(
      [](C* c, TdxBarManager* m, TObject* o, TCustomdxBarControl* t) { c->ShowCustomizingPopup(m, o, t); });
  AServices.ShowToolbarsPopup = WithController([](C* c, TdxBarManager* m, TControl* t) { c->ShowToolbarsPopup(m, t); });
  AServices.ShowQuickControl = WithController([](C* c, TdxBarControl* b) { c->ShowQuickControl(b); });

  TdxBarHookServices hooks = dxBarHookServices();
  GPreviousHooks = hooks;
  hooks.DesignEscape = WithController([](C* c) { return c->EscapeSelection(); });
  hooks.DesignDelete = WithController([](C* c, bool ACtrl) { return c->DeleteSelection(ACtrl); });
  hooks.CloseCustomizingPopup = WithController([](C* c, HWND ATarget, bool) {
    TdxBarSubMenuControl* popup = c->GetCustomizingPopup();
    if (!popup)
      return false;
    // A press inside the popup or a menu it opened is the popup's own.
    auto* pressed = dynamic_cast<TCustomdxBarControl*>(FindControl(ATarget));
    if (pressed && popup->IsParentOf(pressed))
      return false;
    return c->CloseCustomizingPopup();
  });
  SetdxBarHookServices(hooks);
}

void FinalizedxBarDesignController()
{
  // Only the controller's own entries go back: a unit started after it keeps its own.
  TdxBarHookServices hooks = dxBarHookServices();
  hooks.DesignEscape = GPreviousHooks.DesignEscape;
  hooks.DesignDelete = GPreviousHooks.DesignDelete;
  hooks.CloseCustomizingPopup = GPreviousHooks.CloseCustomizingPopup;
  SetdxBarHookServices(hooks);
  GPreviousHooks = TdxBarHookServices();
  GShutDown = true;
  TdxBarDesignController* controller = GController;
  GController = nullptr;
  delete controller;
}
