// The program-wide set-up of the bar item tests: the class layer and the bar library, then
// the test item kind in the item-kind register; and the shared test doubles.
#include "ItemsTestUtil.h"

PUBLISHED(TItemsTestForm, TForm)
{
  p.Method(L"ItemClick", &TItemsTestForm::ItemClick);
}

PUBLISHED(TTestItem, TdxBarItem)
{
  using I = TTestItem;
  p.Object(L"Glyph", &I::GetGlyph, &I::SetGlyph);
  p.Prop(L"ImageIndex", &I::GetImageIndex, &I::SetImageIndex).Default(-1).Stored(&I::IsImageIndexStored);
  p.Prop(L"LargeImageIndex", &I::GetLargeImageIndex, &I::SetLargeImageIndex).Default(-1);
  p.Prop(L"PaintStyle", &I::GetPaintStyle, &I::SetPaintStyle).Default(psStandard);
  p.Prop(L"ShortCut", &I::GetShortCut, &I::SetShortCut).Default(0).Stored(&I::IsShortCutStored);
  p.Prop(L"Width", &I::GetWidth, &I::SetWidth).Default(0);
  p.Event(L"OnClick", &I::GetOnClick, &I::SetOnClick).Stored(&I::IsOnClickStored);
}

IMPLEMENT_CLASS(TUnregisteredTestItem, TTestItem)
IMPLEMENT_CLASS(TTestItemControl, TdxBarItemControl)
IMPLEMENT_CLASS(TTestBarControl, TCustomdxBarControl)

int TTestItemControl::Alive = 0;

TTestItemControl::TTestItemControl(TdxBarItemLink* ALink) : TdxBarItemControl(ALink)
{
  ++Alive;
}

TTestItemControl::~TTestItemControl()
{
  --Alive;
}

TTestLinksOwner::TTestLinksOwner(TdxBarManager* AManager, TdxBarControlKind AKind)
    : FManager(AManager), FKind(AKind), FLinks(new TdxBarItemLinks(AManager, this))
{
  FLinks->CreateBarControl();
}

TTestLinksOwner::~TTestLinksOwner()
{
  delete FLinks;
}

void TTestBarControl::RebuildBar()
{
  // Inside the manager's update the window only notes the rebuild; the update's end runs it.
  if (DeferRebuild()) {
    ++LockedRebuilds;
    return;
  }
  TdxBarManager* manager = GetBarManager();
  EXPECT_FALSE(manager && manager->IsUpdateLocked()) << "rebuilt inside the manager's update";
  ++Rebuilds;
}

TCustomdxBarControl* TTestLinksOwner::CreateBarControl()
{
  auto* bar = new TTestBarControl(FManager);
  bar->Kind = FKind;
  return bar;
}

TdxBarItemLink* TTestLinksOwner::Show(TdxBarItem* AItem)
{
  TdxBarItemLink* link = FLinks->AddItem(AItem);
  link->CreateControl();
  // What the control heard while it was made is not the test's business.
  if (auto* control = dynamic_cast<TTestItemControl*>(link->GetControl()))
    control->Log.clear();
  return link;
}

namespace {

[[maybe_unused]] testing::Environment* const BarLibraryEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{{TItemsTestForm::StaticClass(), TdxBarManager::StaticClass(), TAction::StaticClass(),
                                TActionList::StaticClass(), TcxStyle::StaticClass()},
                               {{TTestItem::StaticClass(), TTestItemControl::StaticClass(), true}}});

}  // namespace
