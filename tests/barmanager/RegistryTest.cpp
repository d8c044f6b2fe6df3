// The item-kind register: exact-class lookup, the kinds listed for customizing,
// duplicates and unregistration.
#include <vector>

#include "BarTestUtil.h"

namespace {

class TKindA : public TComponent {
  DECLARE_CLASS(TKindA, TComponent)
public:
  using TComponent::TComponent;
};
class TKindB : public TKindA {
  DECLARE_CLASS(TKindB, TKindA)
public:
  using TKindA::TKindA;
};
class TKindHidden : public TComponent {
  DECLARE_CLASS(TKindHidden, TComponent)
public:
  using TComponent::TComponent;
};
class TControlA : public TObject {
  DECLARE_CLASS(TControlA, TObject)
};
class TControlB : public TObject {
  DECLARE_CLASS(TControlB, TObject)
};

// Every case starts from an empty register: the library's own kinds are taken out for the
// case and put back, in their order, afterwards.
class BarItemRegister : public testing::Test {
protected:
  void SetUp() override
  {
    for (int i = 0; i < RegisteredBarItems()->Count(); ++i) {
      const TRegItemRecord* record = RegisteredBarItems()->GetRecord(i);
      FStandard.push_back({record->ItemClass, record->ControlClass, record->ShownInCustomizing});
    }
    Empty();
  }
  void TearDown() override
  {
    Empty();
    for (const TStandardKind& kind : FStandard)
      RegisterBarItem(kind.ItemClass, kind.ControlClass, kind.Shown);
  }

private:
  struct TStandardKind {
    TClass ItemClass;
    TClass ControlClass;
    bool Shown;
  };
  static void Empty()
  {
    while (RegisteredBarItems()->Count() > 0)
      UnregisterBarItem(RegisteredBarItems()->GetRecord(0)->ItemClass);
  }
  std::vector<TStandardKind> FStandard;
};

}  // namespace

IMPLEMENT_CLASS(TKindA, TComponent)
IMPLEMENT_CLASS(TKindB, TKindA)
IMPLEMENT_CLASS(TKindHidden, TComponent)
IMPLEMENT_CLASS(TControlA, TObject)
IMPLEMENT_CLASS(TControlB, TObject)

TEST_F(BarItemRegister, LookupIsByExactClass)
{
  RegisterBarItem(TKindA::StaticClass(), TControlA::StaticClass(), true);
  EXPECT_EQ(GetRegisteredControlClass(TKindA::StaticClass()), TControlA::StaticClass());
  // A subclass that was not registered itself gets no control class.
  EXPECT_EQ(GetRegisteredControlClass(TKindB::StaticClass()), nullptr);
  RegisterBarItem(TKindB::StaticClass(), TControlB::StaticClass(), true);
  EXPECT_EQ(GetRegisteredControlClass(TKindB::StaticClass()), TControlB::StaticClass());
  EXPECT_EQ(GetRegisteredControlClass(nullptr), nullptr);
}

TEST_F(BarItemRegister, RegisteringMakesTheClassKnownToFormData)
{
  EXPECT_EQ(GetClass(L"TKindA"), nullptr);
  RegisterBarItem(TKindA::StaticClass(), TControlA::StaticClass(), true);
  EXPECT_EQ(GetClass(L"TKindA"), TKindA::StaticClass());
  UnregisterBarItem(TKindA::StaticClass());
  EXPECT_EQ(GetClass(L"TKindA"), nullptr);
  EXPECT_EQ(RegisteredBarItems()->Count(), 0);
}

TEST_F(BarItemRegister, VisibleKindsAreCountedAndIndexedInRegistrationOrder)
{
  RegisterBarItem(TKindHidden::StaticClass(), TControlA::StaticClass(), false);
  RegisterBarItem(TKindA::StaticClass(), TControlA::StaticClass(), true);
  RegisterBarItem(TKindB::StaticClass(), TControlB::StaticClass(), true);
  TdxBarItemList* list = RegisteredBarItems();
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(list->GetVisibleCount(), 2);
  EXPECT_EQ(list->GetVisibleItemClass(0), TKindA::StaticClass());
  EXPECT_EQ(list->GetVisibleItemClass(1), TKindB::StaticClass());
  // The index equal to the count, and any beyond or before, give nil.
  EXPECT_EQ(list->GetVisibleItemClass(list->GetVisibleCount()), nullptr);
  EXPECT_EQ(list->GetVisibleItemClass(7), nullptr);
  EXPECT_EQ(list->GetVisibleItemClass(-1), nullptr);
  // A hidden kind still has its control class.
  EXPECT_EQ(GetRegisteredControlClass(TKindHidden::StaticClass()), TControlA::StaticClass());
}

TEST_F(BarItemRegister, DuplicatesGiveTwoEntriesAndTheFirstWins)
{
  RegisterBarItem(TKindA::StaticClass(), TControlA::StaticClass(), true);
  RegisterBarItem(TKindA::StaticClass(), TControlB::StaticClass(), false);
  EXPECT_EQ(RegisteredBarItems()->Count(), 2);
  EXPECT_EQ(GetRegisteredControlClass(TKindA::StaticClass()), TControlA::StaticClass());
  UnregisterBarItem(TKindA::StaticClass());
  ASSERT_EQ(RegisteredBarItems()->Count(), 1);
  // The first entry went; the second is found now.
  EXPECT_EQ(GetRegisteredControlClass(TKindA::StaticClass()), TControlB::StaticClass());
  EXPECT_FALSE(RegisteredBarItems()->GetRecord(0)->ShownInCustomizing);
}

TEST_F(BarItemRegister, UnregisteringAnUnknownClassChangesNothing)
{
  RegisterBarItem(TKindA::StaticClass(), TControlA::StaticClass(), true);
  UnregisterBarItem(TKindB::StaticClass());
  UnregisterBarItem(nullptr);
  EXPECT_EQ(RegisteredBarItems()->Count(), 1);
  EXPECT_EQ(GetClass(L"TKindA"), TKindA::StaticClass());
}
