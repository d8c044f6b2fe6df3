// The lookups of managers, forms, bar windows and the model's interfaces, on a shown form
// with an edit and a manager, and on bar windows chained as menus chain them.
#include "support/BarTestHost.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/utils/utils.h"
#include "platform/Scope.h"
#include "support/Owned.h"
#include "platform/StdCtrls.h"
#include "support/Input.h"

namespace {

// A bar window of the menu kind, as far as the lookups ask.
class TMenuKindControl : public TCustomdxBarControl {
public:
  using TCustomdxBarControl::TCustomdxBarControl;
  TdxBarControlKind GetKind() const override { return bckSubMenu; }
};

TEST(BarLookups, FormsManagersAndContainmentAroundAnOwner)
{
  TBarHost<TForm> host;
  TForm* form = host.Form();
  TdxBarManager* manager = host.Manager;
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  auto* owned = new TComponent(edit);
  form->SetBounds(120, 120, 400, 300);
  form->Show();
  ASSERT_TRUE(ActivateWindow(form->GetHandle()));

  EXPECT_EQ(manager->GetTopLevelForm(), form);
  EXPECT_EQ(manager->GetMDIChildOrTopLevelForm(), form);
  EXPECT_EQ(manager->GetNearestParentForm(), form);
  EXPECT_EQ(GetOwnerWinControl(owned), edit);
  EXPECT_EQ(GetOwnerParentForm(owned), form);
  EXPECT_EQ(GetBarManagerOfComponent(owned), manager) << "through the edit's parent windows";
  EXPECT_EQ(GetBarManagerOfWindow(edit->GetHandle()), nullptr);
  EXPECT_TRUE(OwnerContainsControl(manager, edit));
  EXPECT_FALSE(OwnerContainsControl(owned, form));
  EXPECT_TRUE(IsOwnerInsideWindow(owned, form->GetHandle()));
  EXPECT_FALSE(IsOwnerInsideWindow(manager, edit->GetHandle()));

  EXPECT_TRUE(IsFormActive(form));
  EXPECT_EQ(GetActiveFormOrMDIChild(), form);
  EXPECT_TRUE(IsApplicationActive());
  EnableWindow(form->GetHandle(), FALSE);
  EXPECT_EQ(GetActiveFormOrMDIChild(), nullptr) << "a disabled active window has no form to offer";
  EnableWindow(form->GetHandle(), TRUE);
}

TEST(BarLookups, RootsOfBarWindowChainsAndTheModelsInterfaces)
{
  TBarHost<TForm> host;
  TdxBarManager* manager = host.Manager;
  TdxBar* bar = manager->GetBars()->Add();
  auto* button = new TdxBarButton(host.Form());
  bar->GetItemLinks()->AddItem(button);
  bar->SetVisible(true);
  TCustomdxBarControl* toolbar = bar->GetControl();
  ASSERT_NE(toolbar, nullptr);
  TOwned<TMenuKindControl> menu(new TMenuKindControl(manager));
  TOwned<TMenuKindControl> submenu(new TMenuKindControl(manager));
  menu->SetParentBarControl(toolbar);
  submenu->SetParentBarControl(menu.Get());
  EXPECT_EQ(GetRootBarControl(submenu.Get()), toolbar);
  EXPECT_EQ(GetRootToolbarControl(submenu.Get()), toolbar);
  EXPECT_EQ(GetRootBarControl(toolbar), toolbar);
  menu->SetParentBarControl(nullptr);
  EXPECT_EQ(GetRootBarControl(submenu.Get()), menu.Get());
  EXPECT_EQ(GetRootToolbarControl(submenu.Get()), nullptr) << "a menu opened from no toolbar";
  EXPECT_EQ(GetRootBarControl(nullptr), nullptr);

  EXPECT_EQ(GetLinksOwnerItemLinks(bar), bar->GetItemLinks());
  EXPECT_EQ(GetLinksOwnerItemLinks(button), nullptr);
  EXPECT_TRUE(IsSelectableItem(button));
  EXPECT_FALSE(IsSelectableItem(bar));
  TList list;
  list.Add(bar);
  list.Add(button);
  list.Add(nullptr);
  RemoveNonSelectableItems(&list);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0), static_cast<void*>(static_cast<TObject*>(button)));
}

// The top control of a window chain, only of the class a host names; bar windows opened from
// another bar window climb through it when asked.
TEST(BarLookups, TopBarParentControlOfTheNamedClassOnly)
{
  TBarHost<TForm> host;
  TForm* form = host.Form();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  TdxBar* bar = host.Manager->GetBars()->Add();
  bar->GetItemLinks()->AddItem(new TdxBarButton(form));
  bar->SetVisible(true);
  TCustomdxBarControl* toolbar = bar->GetControl();
  ASSERT_NE(toolbar, nullptr);
  TOwned<TMenuKindControl> menu(new TMenuKindControl(host.Manager));
  menu->SetParentBarControl(toolbar);
  menu->HandleNeeded();
  ASSERT_TRUE(toolbar->HandleAllocated());

  edit->HandleNeeded();
  EXPECT_EQ(dxBarTopBarParentControlClass(), nullptr);
  EXPECT_EQ(GetTopBarParentControl(edit), nullptr) << "no class named: nothing is a top bar parent";
  TFinally unset([]() noexcept { SetdxBarTopBarParentControlClass(nullptr); });
  SetdxBarTopBarParentControlClass(TCustomForm::StaticClass());
  EXPECT_EQ(GetTopBarParentControl(edit), form);
  EXPECT_EQ(GetTopBarParentControl(form), nullptr) << "the top itself is not its own parent";
  // The bar floats: its window has an owner, not a parent.
  SetdxBarTopBarParentControlClass(TCustomdxBarControl::StaticClass());
  EXPECT_EQ(GetTopBarParentControl(toolbar), nullptr);
  EXPECT_EQ(GetTopBarParentControl(menu.Get()), nullptr) << "a menu window has no parent window";
  EXPECT_EQ(GetTopBarParentControl(menu.Get(), true), toolbar) << "through the bar it was opened from";
  EXPECT_EQ(GetTopBarParentControl(nullptr, true), nullptr);
  SetdxBarTopBarParentControlClass(TEdit::StaticClass());
  EXPECT_EQ(GetTopBarParentControl(menu.Get(), true), nullptr) << "the top is a bar window, not of the class named";
}

}  // namespace
