// Run-time class layer: the root object, metaclasses with factories, sets and
// method-pointer events. Everything above builds on these few types; no Windows
// header is needed here so that the form-data and ini parsers compile for the host.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

using String = std::wstring;

class TObject;
class TComponent;
class TCollection;
class TMetaClass;
class TPropList;
template <class T>
class TPublisher;
using TClass = const TMetaClass*;

// ---------------------------------------------------------------------------
// Sets of an enumeration: a 64-bit mask, enough for every set the library streams.

template <class E>
class TSet {
  static_assert(std::is_enum_v<E>);

public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values)
  {
    for (E v : values)
      FBits |= Bit(v);
  }
  static constexpr TSet FromMask(uint64_t mask)
  {
    TSet s;
    s.FBits = mask;
    return s;
  }

  constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
  constexpr TSet& Include(E v)
  {
    FBits |= Bit(v);
    return *this;
  }
  constexpr TSet& Exclude(E v)
  {
    FBits &= ~Bit(v);
    return *this;
  }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr uint64_t Mask() const { return FBits; }

  constexpr TSet operator+(TSet o) const { return FromMask(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromMask(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromMask(FBits & o.FBits); }
  constexpr TSet operator+(E v) const { return FromMask(FBits | Bit(v)); }
  constexpr TSet operator-(E v) const { return FromMask(FBits & ~Bit(v)); }
  constexpr TSet& operator+=(TSet o)
  {
    FBits |= o.FBits;
    return *this;
  }
  constexpr TSet& operator-=(TSet o)
  {
    FBits &= ~o.FBits;
    return *this;
  }
  constexpr TSet& operator*=(TSet o)
  {
    FBits &= o.FBits;
    return *this;
  }
  constexpr TSet& operator+=(E v) { return Include(v); }
  constexpr TSet& operator-=(E v) { return Exclude(v); }
  constexpr bool operator==(const TSet&) const = default;
  // Subset test, as "<=" reads on sets.
  constexpr bool operator<=(TSet o) const { return (FBits & ~o.FBits) == 0; }

private:
  static constexpr uint64_t Bit(E v) { return uint64_t(1) << static_cast<unsigned>(v); }
  uint64_t FBits = 0;
};

// ---------------------------------------------------------------------------
// Method pointers. An event holds an object and one of its member functions, is nil
// when unassigned and compares equal to another holding the same pair, as form data
// and "is this my handler" checks need. A plain callable may be bound too (tests,
// internal adapters); such an event compares equal only to a copy of itself.

using TMethodCode = std::aligned_storage_t<16, 8>;

struct TMethod {
  TObject* Data = nullptr;
  TMethodCode Code{};
  void* Thunk = nullptr;                      // typed caller, cast back by TEvent
  const std::type_info* Signature = nullptr;  // R(A...) of the member function
  std::shared_ptr<void> Callable;             // set for plain callables instead of Data/Code

  bool Assigned() const { return Thunk != nullptr; }
  bool operator==(const TMethod& o) const
  {
    if (Thunk != o.Thunk || Data != o.Data || Callable != o.Callable)
      return false;
    return std::memcmp(&Code, &o.Code, sizeof Code) == 0;
  }
};

template <class Sig>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
public:
  using Signature = R(A...);

  TEvent() = default;
  TEvent(std::nullptr_t) {}
  template <class C, class Obj>
  requires std::is_base_of_v<C, Obj> TEvent(Obj* object, R (C::*member)(A...))
  {
    static_assert(sizeof member <= sizeof(TMethodCode));
    FMethod.Data = static_cast<C*>(object);
    std::memcpy(&FMethod.Code, &member, sizeof member);
    FMethod.Thunk = reinterpret_cast<void*>(&MemberThunk<C>);
    FMethod.Signature = &typeid(Signature);
  }
  template <class F>
  requires(std::is_invocable_r_v<R, F, A...> && !std::is_same_v<std::decay_t<F>, TEvent> &&
           !std::is_same_v<std::decay_t<F>, std::nullptr_t>) TEvent(F callable)
  {
    auto fn = std::make_shared<std::function<R(A...)>>(std::move(callable));
    FMethod.Callable = fn;
    FMethod.Thunk = reinterpret_cast<void*>(&CallableThunk);
    FMethod.Signature = &typeid(Signature);
  }
  // Adopts an erased method (form data binding); a method of another shape gives nil.
  static TEvent FromMethod(const TMethod& m)
  {
    TEvent e;
    if (m.Assigned() && m.Signature && *m.Signature == typeid(Signature))
      e.FMethod = m;
    return e;
  }

  bool Assigned() const { return FMethod.Assigned(); }
  explicit operator bool() const { return Assigned(); }
  const TMethod& Method() const { return FMethod; }
  TObject* Data() const { return FMethod.Data; }
  bool operator==(const TEvent& o) const { return FMethod == o.FMethod; }
  bool operator==(std::nullptr_t) const { return !Assigned(); }

  R operator()(A... args) const
  {
    using Caller = R (*)(const TMethod&, A...);
    return reinterpret_cast<Caller>(FMethod.Thunk)(FMethod, std::forward<A>(args)...);
  }

private:
  template <class C>
  static R MemberThunk(const TMethod& m, A... args)
  {
    R (C::*member)(A...);
    std::memcpy(&member, &m.Code, sizeof member);
    return (static_cast<C*>(m.Data)->*member)(std::forward<A>(args)...);
  }
  static R CallableThunk(const TMethod& m, A... args)
  {
    return (*static_cast<std::function<R(A...)>*>(m.Callable.get()))(std::forward<A>(args)...);
  }

  TMethod FMethod;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

// Calls an event only when it is assigned.
template <class Ev, class... A>
inline void CallEvent(const Ev& event, A&&... args)
{
  if (event.Assigned())
    event(std::forward<A>(args)...);
}

// ---------------------------------------------------------------------------
// Metaclasses: one per streamable or class-referenced class. A factory builds an
// instance with the argument its family takes (owner component, collection, none).

using TFactory = TObject* (*)(TObject* owner);
using TPublishProc = void (*)(TPropList& list);

class TMetaClass {
public:
  TMetaClass(const wchar_t* name, TClass parent, TFactory factory, TPublishProc publish);
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;
  ~TMetaClass();

  const String& ClassName() const { return FName; }
  TClass ClassParent() const { return FParent; }
  bool InheritsFrom(TClass other) const;
  bool CanCreate() const { return FFactory != nullptr; }
  // Virtual construction; raises when the class is abstract.
  TObject* Create(TObject* owner = nullptr) const;
  // The published properties of this class and its ancestors, ancestors first.
  const TPropList& Properties() const;
  // Only the properties this class declares itself.
  const TPropList& OwnProperties() const;

private:
  String FName;
  TClass FParent;
  TFactory FFactory;
  TPublishProc FPublish;
  mutable std::unique_ptr<TPropList> FOwn;
  mutable std::unique_ptr<TPropList> FAll;
};

// ---------------------------------------------------------------------------
// The root of every class.

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  const String& ClassName() const { return ClassType()->ClassName(); }
  TClass ClassParent() const { return ClassType()->ClassParent(); }
  bool InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }
  template <class T>
  bool Is() const
  {
    return dynamic_cast<const T*>(this) != nullptr;
  }

  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
  // Runs BeforeDestruction and deletes; nil-safe through the free function below.
  void Free();
  // Deleting an object frees it as Free does: BeforeDestruction runs first, while the whole
  // object still stands, so that no part of it hears of its own end after a destructor of its
  // class has run (a form whose bars would report their hiding to its handlers, say). A
  // delete cannot raise: what BeforeDestruction raises there goes to the unexpected-exception
  // handler, where Free lets it reach its caller.
  void operator delete(TObject* AObject, std::destroying_delete_t);
  // True once Free or delete has started on this object. A component whose owner is being
  // destroyed is marked destroying long before that: until then it is still to be freed.
  bool DestructionBegun() const { return FDestructionBegun; }

  // The shared cell that weak references read; cleared when the object dies.
  const std::shared_ptr<TObject*>& LifeCell() const;

private:
  mutable std::shared_ptr<TObject*> FLifeCell;
  bool FDestructionBegun = false;
};

// A reference that reads nil once its object is destroyed, whatever the address is
// reused for later. Code that may see its object freed by a callback holds one.
template <class T>
class TWeakRef {
public:
  TWeakRef() = default;
  TWeakRef(const T* object)
  {
    if (object)
      FCell = object->LifeCell();
  }
  T* Get() const { return FCell && *FCell ? static_cast<T*>(const_cast<TObject*>(*FCell)) : nullptr; }
  bool Alive() const { return Get() != nullptr; }
  explicit operator bool() const { return Alive(); }
  T* operator->() const { return Get(); }

private:
  std::shared_ptr<TObject*> FCell;
};

// Free(x) with a nil check, then clears the pointer: the usual FreeAndNil.
template <class T>
inline void FreeAndNil(T*& object)
{
  T* p = object;
  object = nullptr;
  if (p)
    p->Free();
}

// Removes the last entry equal to Value; false when there is none. Lists of unique entries
// that mostly leave newest first (owned components, collection items, links) are searched
// from the end, so that emptying them stays linear.
template <class T, class V>
bool EraseLast(std::vector<T>& List, const V& Value)
{
  auto it = std::find(List.rbegin(), List.rend(), Value);
  if (it == List.rend())
    return false;
  List.erase(std::next(it).base());
  return true;
}

// Checks that the owner given to a factory is of the family's kind (0 component,
// 1 collection) and returns it; raises EInvalidCast otherwise.
void* MakeInstanceOwner(TObject* owner, int family);

// Factories chosen by what the class can be constructed from.
// A class built from an object of its own kind (an item control from its link) names that
// kind as TFactoryOwner.
[[noreturn]] void RaiseInvalidFactoryOwner(TObject* owner);

template <class T>
TObject* MakeInstance(TObject* owner)
{
  if constexpr (std::is_abstract_v<T>)
    return nullptr;
  else if constexpr (requires { typename T::TFactoryOwner; }) {
    auto* typed = dynamic_cast<typename T::TFactoryOwner*>(owner);
    if (owner && !typed)
      RaiseInvalidFactoryOwner(owner);
    return new T(typed);
  } else if constexpr (std::is_constructible_v<T, TComponent*>)
    return new T(static_cast<TComponent*>(MakeInstanceOwner(owner, 0)));
  else if constexpr (std::is_constructible_v<T, TCollection*>)
    return new T(static_cast<TCollection*>(MakeInstanceOwner(owner, 1)));
  else if constexpr (std::is_default_constructible_v<T>)
    return new T();
  else
    return nullptr;
}

template <class T>
constexpr TFactory FactoryOf()
{
  if constexpr (std::is_abstract_v<T>)
    return nullptr;
  else
    return &MakeInstance<T>;
}

// Class declaration: DECLARE_CLASS inside the class body. IMPLEMENT_CLASS in one .cpp
// defines the metaclass; PUBLISHED does the same and opens the body of the static
// member that declares the published properties (parameter `p`, a TPublisher<T>), so
// that private accessors may be named there.
#define DECLARE_CLASS(T, Base)             \
public:                                    \
  using inherited = Base;                  \
  using DeclaredClass = T;                 \
  static ::TClass StaticClass();           \
  ::TClass ClassType() const override      \
  {                                        \
    return StaticClass();                  \
  }                                        \
                                           \
private:                                   \
  static void Publish(::TPublisher<T>& p); \
                                           \
public:

// A checked downcast along the metaclass chain, for paths taken per item and per paint:
// a few pointer compares where dynamic_cast compares type names as strings on this
// platform. T must declare its own class, which the assertion checks.
template <class T, class S>
T* ClassCast(S* Object)
{
  using U = std::remove_cv_t<T>;
  static_assert(std::is_same_v<typename U::DeclaredClass, U>, "ClassCast needs a class declared with DECLARE_CLASS");
  return Object && Object->InheritsFrom(U::StaticClass()) ? static_cast<T*>(Object) : nullptr;
}

#define IMPLEMENT_CLASS_WITH(T, Base, publish)                                              \
  ::TClass T::StaticClass()                                                                 \
  {                                                                                         \
    static const ::TMetaClass meta(L## #T, Base::StaticClass(), ::FactoryOf<T>(), publish); \
    return &meta;                                                                           \
  }

#define IMPLEMENT_CLASS(T, Base)         \
  IMPLEMENT_CLASS_WITH(T, Base, nullptr) \
  [[maybe_unused]] void T::Publish(::TPublisher<T>&) {}

#define PUBLISHED(T, Base)                              \
  IMPLEMENT_CLASS_WITH(T, Base, [](::TPropList& list) { \
    ::TPublisher<T> p(list);                            \
    T::Publish(p);                                      \
  })                                                    \
  void T::Publish([[maybe_unused]] ::TPublisher<T>& p)

// ---------------------------------------------------------------------------
// Class registration, for form data and class references by name.

void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
// Nil when not registered.
TClass GetClass(const String& name);
// Raises EClassNotFound when not registered.
TClass FindClass(const String& name);

// ---------------------------------------------------------------------------
// Modifier keys and mouse buttons held during an input event.

enum TShiftStateE { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateE>;

// ---------------------------------------------------------------------------
// Text helpers the whole layer uses.

String UpperCase(const String& s);
String LowerCase(const String& s);
bool SameText(const String& a, const String& b);
int CompareText(const String& a, const String& b);
int CompareStr(const String& a, const String& b);
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);
String IntToStr(int64_t value);
String IntToHex(uint64_t value, int digits);
std::string ToUtf8(const String& s);
String FromUtf8(const std::string& s);
// True for a character beyond one UTF-16 unit, which only a 32-bit wchar_t (the host build's)
// can hold; writers turn it into its surrogate pair.
inline bool IsBeyondUtf16Unit(wchar_t ch)
{
  return (uint32_t(ch) >> 16) != 0;
}
