// Run-time classes, published properties and method-pointer events.
#include <gtest/gtest.h>

#include "platform/Classes.h"

namespace {

enum TFruit { frApple, frPear, frPlum };
DECLARE_ENUM_INFO(TFruit)
DEFINE_ENUM_INFO(TFruit, L"frApple", L"frPear", L"frPlum")
using TFruits = TSet<TFruit>;

class TBasket : public TPersistent {
  DECLARE_CLASS(TBasket, TPersistent)
public:
  int Count() const { return FCount; }
  void SetCount(int v)
  {
    FCount = v;
    ++Sets;
  }
  TFruit Kind() const { return FKind; }
  void SetKind(TFruit v) { FKind = v; }
  TFruits FKinds;
  String FLabel;
  double FWeight = 0;
  bool FOpen = true;
  TNotifyEvent FOnEmpty;
  int Sets = 0;
  void Emptied(TObject* Sender)
  {
    ++EmptiedCalls;
    LastSender = Sender;
  }
  int EmptiedCalls = 0;
  TObject* LastSender = nullptr;

private:
  int FCount = 3;
  TFruit FKind = frPear;
};

class TBigBasket : public TBasket {
  DECLARE_CLASS(TBigBasket, TBasket)
public:
  int FHandles = 2;
};

}  // namespace

PUBLISHED(TBasket, TPersistent)
{
  p.Prop(L"Count", &TBasket::Count, &TBasket::SetCount).Default(3);
  p.Prop(L"Kind", &TBasket::Kind, &TBasket::SetKind).Default(frPear);
  p.Prop(L"Kinds", &TBasket::FKinds, &TBasket::FKinds);
  p.Prop(L"Label", &TBasket::FLabel, &TBasket::FLabel);
  p.Prop(L"Weight", &TBasket::FWeight, &TBasket::FWeight);
  p.Prop(L"Open", &TBasket::FOpen, &TBasket::FOpen).Default(true);
  p.Event(L"OnEmpty", &TBasket::FOnEmpty);
  p.Method(L"Emptied", &TBasket::Emptied);
}
PUBLISHED(TBigBasket, TBasket)
{
  p.Prop(L"Handles", &TBigBasket::FHandles, &TBigBasket::FHandles).Default(2);
  p.Prop(L"Count", &TBigBasket::Count, &TBigBasket::SetCount).Default(10);
}

TEST(RuntimeClass, VirtualConstructionThroughTheMetaclass)
{
  TClass cls = TBigBasket::StaticClass();
  std::unique_ptr<TObject> obj(cls->Create());
  ASSERT_NE(obj, nullptr);
  EXPECT_EQ(obj->ClassType(), cls);
  EXPECT_THROW(TComponent::StaticClass()->Create(new TBasket), EInvalidCast);
}

// A class that adds nothing to the metaclass chain: its objects answer as their declared
// ancestor does.
class TPlainBigBasket : public TBigBasket {};

TEST(RuntimeClass, ClassCastAnswersAsDynamicCast)
{
  TBasket basket;
  TBigBasket big;
  TPlainBigBasket plain;
  TComponent component(nullptr);
  const std::vector<TObject*> objects{&basket, &big, &plain, &component, nullptr};
  for (TObject* object : objects) {
    EXPECT_EQ(ClassCast<TBasket>(object), dynamic_cast<TBasket*>(object));
    EXPECT_EQ(ClassCast<TBigBasket>(object), dynamic_cast<TBigBasket*>(object));
    EXPECT_EQ(ClassCast<TPersistent>(object), dynamic_cast<TPersistent*>(object));
    EXPECT_EQ(ClassCast<TComponent>(object), dynamic_cast<TComponent*>(object));
    const TObject* constant = object;
    EXPECT_EQ(ClassCast<const TBigBasket>(constant), dynamic_cast<const TBigBasket*>(constant));
  }
}

TEST(RuntimeClass, RegistrationIsByNameAndCaseInsensitive)
{
  EXPECT_EQ(GetClass(L"TBasket"), nullptr);
  RegisterClasses({TBasket::StaticClass(), TBigBasket::StaticClass()});
  EXPECT_EQ(FindClass(L"tbasket"), TBasket::StaticClass());
  UnRegisterClass(TBasket::StaticClass());
  EXPECT_EQ(GetClass(L"TBasket"), nullptr);
  EXPECT_THROW(FindClass(L"TBasket"), EClassNotFound);
  UnRegisterClass(TBigBasket::StaticClass());
}

TEST(PublishedProperties, AccessByNameGoesThroughTheSetter)
{
  TBasket b;
  SetOrdProp(&b, L"Count", 7);
  EXPECT_EQ(b.Count(), 7);
  EXPECT_EQ(b.Sets, 1);
  SetOrdProp(&b, L"Kinds", TFruits{frApple, frPlum}.Mask());
  EXPECT_TRUE(b.FKinds.Contains(frPlum));
  EXPECT_FALSE(b.FKinds.Contains(frPear));
  EXPECT_THROW(GetOrdProp(&b, L"Missing"), EPropertyError);
  const TPropInfo* kind = GetPropInfo(&b, L"Kind");
  EXPECT_TRUE(kind->IsDefaultValue(&b));
  b.SetKind(frPlum);
  EXPECT_FALSE(kind->IsDefaultValue(&b));
  EXPECT_EQ(GetEnumName(kind->EnumType, GetOrdProp(&b, L"Kind")), L"frPlum");
  EXPECT_EQ(GetEnumValue(kind->EnumType, L"FRAPPLE"), 0);
}

TEST(Events, BindingByPublishedMethodName)
{
  TBasket b;
  TMethod m = MethodAddress(&b, L"emptied");
  ASSERT_TRUE(m.Assigned());
  GetPropInfo(&b, L"OnEmpty")->SetMethod(&b, m);
  b.FOnEmpty(nullptr);
  EXPECT_EQ(b.EmptiedCalls, 1);
  EXPECT_EQ(MethodName(&b, b.FOnEmpty.Method()), L"Emptied");
  // A method of another shape is refused rather than called through the wrong type.
  using TIntEvent = TEvent<void(int)>;
  EXPECT_FALSE(TIntEvent::FromMethod(m).Assigned());
}

TEST(WeakRef, ReadsNilAfterTheObjectDies)
{
  auto* b = new TBasket;
  TWeakRef<TBasket> ref(b);
  EXPECT_EQ(ref.Get(), b);
  b->Free();
  EXPECT_EQ(ref.Get(), nullptr);
}
