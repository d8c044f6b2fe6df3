// The program-wide set-up of the bar component tests: the class layer, then the bar
// library, as a program starts them; shut down in reverse.
#include "ComponentsTestUtil.h"

IMPLEMENT_CLASS(TComponentsTestForm, TForm)

PUBLISHED(TTestBarItem, TdxBarComponent)
{
  p.Prop(L"Category", &TTestBarItem::GetCategory, &TTestBarItem::SetCategory).Default(-1);
  p.Prop(L"Enabled", &TTestBarItem::GetEnabled, &TTestBarItem::SetEnabled).Default(true);
  p.Prop(L"Visible", &TTestBarItem::GetVisible, &TTestBarItem::SetVisible).Default(ivAlways);
}

namespace {

[[maybe_unused]] testing::Environment* const BarComponentsEnvironment =
    testing::AddGlobalTestEnvironment(new TBarLibraryEnvironment{
        TComponentsTestForm::StaticClass(), TdxBarManager::StaticClass(), TTestBarItem::StaticClass()});

}  // namespace
