// The program-wide set-up of the date tests and their toolbar fixture: the class layer,
// then the bar library (which starts the extra items unit), as a program starts them.
#include "DateTestUtil.h"
#include "barextras/dxBarExtItems.h"
#include "bars/model/itemlinks.h"

IMPLEMENT_CLASS(TDateComboForm, TForm)

void TDateComboFixture::SetUp()
{
  Manager = Host.Manager;
  Host.Form()->SetBounds(120, 120, 600, 400);
  FormEdit = AddEdit(Host.Form(), 20, 300, 200, 24);
  Combo = new TdxBarDateCombo(Host.Form());
  Combo->SetWidth(160);
  Bar = Manager->GetBars()->Add();
  Bar->SetDockingStyle(dsTop);
  Bar->GetItemLinks()->AddItem(Combo);
  Bar->SetVisible(true);
  ASSERT_TRUE(ShowActive(Host.Form(), FormEdit));
  ASSERT_NE(Control(), nullptr);
}

bool TDateComboFixture::NavigatorShown() const
{
  return Navigator()->HandleAllocated() && ::IsWindowVisible(Navigator()->GetHandle());
}

bool TDateComboFixture::StartEditing()
{
  if (!ClickAt(TextCenter()))
    return false;
  return PumpUntil([&] { return Control()->GetHandle() && ::GetFocus() == Control()->GetHandle(); });
}

bool TDateComboFixture::OpenNavigator()
{
  if (!ClickAt(ButtonCenter()))
    return false;
  return PumpUntil([&] { return NavigatorShown(); });
}

String TDateComboFixture::EditorText() const
{
  return Control()->GetText();
}

namespace {

[[maybe_unused]] testing::Environment* const DatesEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TDateComboForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace
