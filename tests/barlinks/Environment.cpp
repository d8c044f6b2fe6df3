// The program-wide set-up of the item link tests, and the test doubles' bodies.
#include "LinksTestUtil.h"

IMPLEMENT_CLASS(TLinksTestForm, TForm)
IMPLEMENT_CLASS(TLinkTestControl, TdxBarItemControl)
IMPLEMENT_CLASS(TLinkTestBar, TCustomdxBarControl)

PUBLISHED(TTestLinksOwner, TComponent)
{
  p.Object(L"ItemLinks", &TTestLinksOwner::GetItemLinks, &TTestLinksOwner::SetItemLinks);
  p.Object(L"ItemOptions", &TTestLinksOwner::GetItemOptions, &TTestLinksOwner::SetItemOptions);
}

PUBLISHED(TLinkTestItem, TdxBarItem)
{
  p.Prop(L"Separator", &TLinkTestItem::Separator, &TLinkTestItem::Separator).Default(false);
}

namespace {

// The library with the test item kind and its counting control.
[[maybe_unused]] testing::Environment* const LinksEnvironment =
    testing::AddGlobalTestEnvironment(new TBarLibraryEnvironment{
        {TLinksTestForm::StaticClass(), TdxBarManager::StaticClass(), TTestLinksOwner::StaticClass()},
        {{TLinkTestItem::StaticClass(), TLinkTestControl::StaticClass(), true}}});

}  // namespace

bool RefuseRecursion(TdxBarItemLinks* Links, TdxBarItem* AItem, String& AErrorText)
{
  if (Links && Links->IsRecursiveItem(AItem)) {
    AErrorText = GetResourceString(sdxBarRecursiveMenusError);
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------

TTestLinksOwner::TTestLinksOwner(TComponent* AOwner)
    : TComponent(AOwner), FItemLinks(std::make_unique<TdxBarControlItemLinks>(GetBarManagerByOwner(AOwner), this))
{
}

TTestLinksOwner::~TTestLinksOwner() = default;

void TTestLinksOwner::Loaded()
{
  TComponent::Loaded();
  FItemLinks->Loaded();
}

TCustomdxBarControl* TTestLinksOwner::CreateBarControl()
{
  auto* bar = new TLinkTestBar(FItemLinks->GetBarManager());
  bar->SetParentBar(ParentBar);
  return bar;
}

bool TTestLinksOwner::CanAddItem(TdxBarItem* AItem, String& AErrorText)
{
  return RefuseRecursion(FItemLinks.get(), AItem, AErrorText);
}

// ---------------------------------------------------------------------------

TLinkTestItem::~TLinkTestItem() = default;

bool TLinkTestItem::CanAddItem(TdxBarItem* AItem, String& AErrorText)
{
  return RefuseRecursion(FSubLinks.get(), AItem, AErrorText);
}

// ---------------------------------------------------------------------------

void TLinksFixture::SetUp()
{
  FHost = std::make_unique<TBarHost<TLinksTestForm>>();
  FOwner = new TTestLinksOwner(FHost->Form());
  FOwner->SetName(L"LinksOwner");
  Links()->CreateBarControl();
  ASSERT_NE(Bar(), nullptr);
}

void TLinksFixture::TearDown()
{
  FHost.reset();
  EXPECT_EQ(TLinkTestControl::Alive, 0) << "an item control outlived its link";
  TLinkTestControl::Alive = 0;
}

TLinkTestItem* TLinksFixture::NewItem(const String& ACaption, bool ASeparator)
{
  auto* item = new TLinkTestItem(FHost->Form());
  item->SetCaption(ACaption);
  item->Separator = ASeparator;
  return item;
}

std::vector<String> TLinksFixture::Captions(const TdxBarItemLinks::TLinkList& AList) const
{
  std::vector<String> captions;
  for (TdxBarItemLink* link : AList)
    captions.push_back(link->GetCaption());
  return captions;
}
