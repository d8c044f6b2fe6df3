// Published properties: the run-time description of what form data and the Customize
// dialog may read and write on an object. Each class lists its own properties in its
// PUBLISHED block; the metaclass joins them with its ancestors'.
#pragma once

#include <climits>
#include <limits>
#include <optional>

#include "platform/System.h"

// Names of an enumeration's values, in ordinal order (and of a set's elements).
struct TEnumInfo {
  String TypeName;
  std::vector<String> Names;
  // Ordinal of a name (case-insensitive), or -1.
  int ValueOf(const String& name) const;
  // Name of an ordinal, or empty when out of range.
  String NameOf(int64_t value) const;
};

// Enumerations name their values through an overload found by argument-dependent
// lookup: DECLARE_ENUM_INFO beside the enumeration, DEFINE_ENUM_INFO in one .cpp.
#define DECLARE_ENUM_INFO(E) const ::TEnumInfo* EnumInfoOf(E*);
#define DEFINE_ENUM_INFO(E, ...)                          \
  const ::TEnumInfo* EnumInfoOf(E*)                       \
  {                                                       \
    static const ::TEnumInfo info{L## #E, {__VA_ARGS__}}; \
    return &info;                                         \
  }

template <class E>
const TEnumInfo* EnumInfo()
{
  return EnumInfoOf(static_cast<E*>(nullptr));
}
const TEnumInfo* EnumInfoOf(bool*);

String GetEnumName(const TEnumInfo* info, int64_t value);
int GetEnumValue(const TEnumInfo* info, const String& name);

// Integer values with identifiers, as colours ("clBtnFace") and cursors ("crHandPoint")
// are written in form data.
struct TIdentMapEntry {
  int64_t Value;
  const wchar_t* Name;
};
using TIdentMap = std::vector<TIdentMapEntry>;
bool IdentToInt(const TIdentMap& map, const String& ident, int64_t& value);
bool IntToIdent(const TIdentMap& map, int64_t value, String& ident);

enum class TPropKind {
  Integer,  // 32-bit or 64-bit integers, optionally with identifiers
  Enum,
  Bool,
  Set,
  Float,
  String,
  Object,     // an owned persistent (fonts, collections, string lists): read into, never replaced
  Component,  // a reference to a component, fixed up by name after loading
  Event,      // a method pointer, bound by handler name
};

struct TPropInfo {
  String Name;
  TPropKind Kind = TPropKind::Integer;
  const TEnumInfo* EnumType = nullptr;  // Enum, Bool and Set
  const TIdentMap* Idents = nullptr;    // Integer written as identifiers
  TClass PropClass = nullptr;           // Object and Component
  const std::type_info* EventSignature = nullptr;
  // Range of an Integer property's C++ type, so form data can refuse values that do not fit.
  int64_t MinValue = INT64_MIN;
  int64_t MaxValue = INT64_MAX;

  std::function<int64_t(const TObject*)> GetOrd;  // Integer, Enum, Bool, Set (mask)
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<double(const TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<String(const TObject*)> GetStr;
  std::function<void(TObject*, const String&)> SetStr;
  std::function<TObject*(const TObject*)> GetObj;  // Object and Component
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(const TObject*)> GetMethod;
  std::function<void(TObject*, const TMethod&)> SetMethod;

  // The default of an ordinal; without one the value is always written.
  std::optional<int64_t> Default;
  // The stored predicate; without one the property is stored.
  std::function<bool(const TObject*)> StoredProc;
  bool StoredFlag = true;

  bool IsStored(const TObject* instance) const { return StoredFlag && (!StoredProc || StoredProc(instance)); }
  bool IsWritable() const;
  // True when the value equals the default (ordinals, empty strings, zero floats,
  // nil references and events), so a writer may leave it out.
  bool IsDefaultValue(const TObject* instance) const;
};

// A published method: a handler a form exposes for binding by name.
struct TPublishedMethod {
  String Name;
  std::function<TMethod(TObject* instance)> Make;
};

class TPropList {
public:
  TPropInfo& Add(TPropInfo info);
  void AddMethod(TPublishedMethod method) { FMethods.push_back(std::move(method)); }
  void Append(const TPropList& other);

  // Case-insensitive; a later (descendant) entry of the same name hides an earlier one.
  const TPropInfo* Find(const String& name) const;
  const TPublishedMethod* FindMethod(const String& name) const;
  // The name of the published method that `method` calls on `instance`, or empty.
  String MethodName(TObject* instance, const TMethod& method) const;

  const std::vector<TPropInfo>& Items() const { return FProps; }
  const std::vector<TPublishedMethod>& Methods() const { return FMethods; }
  auto begin() const { return FProps.begin(); }
  auto end() const { return FProps.end(); }
  size_t size() const { return FProps.size(); }

private:
  std::vector<TPropInfo> FProps;
  std::vector<TPublishedMethod> FMethods;
};

// Property access by name, as the platform's typinfo routines offer it.
const TPropInfo* GetPropInfo(const TObject* instance, const String& name);
int64_t GetOrdProp(const TObject* instance, const String& name);
void SetOrdProp(TObject* instance, const String& name, int64_t value);
String GetStrProp(const TObject* instance, const String& name);
void SetStrProp(TObject* instance, const String& name, const String& value);
TObject* GetObjectProp(const TObject* instance, const String& name);
// The method a published method name gives on `instance`, or an unassigned one.
TMethod MethodAddress(TObject* instance, const String& name);
String MethodName(TObject* instance, const TMethod& method);

// ---------------------------------------------------------------------------
// The builder a PUBLISHED block fills. Getters are const member functions or data
// members; setters are member functions or data members; the kind follows the type.

template <class T>
struct TIsSet : std::false_type {
};
template <class E>
struct TIsSet<TSet<E>> : std::true_type {
  using Element = E;
};

template <class T>
struct TIsEvent : std::false_type {
};
template <class S>
struct TIsEvent<TEvent<S>> : std::true_type {
};

class TPropRef {
public:
  explicit TPropRef(TPropInfo& info) : FInfo(info) {}
  template <class V>
  TPropRef& Default(V value)
  {
    if constexpr (TIsSet<V>::value)
      FInfo.Default = static_cast<int64_t>(value.Mask());
    else
      FInfo.Default = static_cast<int64_t>(value);
    return *this;
  }
  TPropRef& NoDefault()
  {
    FInfo.Default.reset();
    return *this;
  }
  TPropRef& Stored(bool stored)
  {
    FInfo.StoredFlag = stored;
    return *this;
  }
  template <class C>
  TPropRef& Stored(bool (C::*predicate)() const)
  {
    FInfo.StoredProc = [predicate](const TObject* o) { return (static_cast<const C*>(o)->*predicate)(); };
    return *this;
  }
  TPropRef& Idents(const TIdentMap* map)
  {
    FInfo.Idents = map;
    return *this;
  }
  TPropInfo& Info() { return FInfo; }

private:
  TPropInfo& FInfo;
};

template <class T>
class TPublisher {
public:
  explicit TPublisher(TPropList& list) : FList(list) {}

  // Scalars: integers, Booleans, enumerations, sets, floats and strings.
  template <class G, class S>
  TPropRef Prop(const wchar_t* name, G getter, S setter)
  {
    using V = std::remove_cvref_t<decltype(Get(getter, std::declval<const T*>()))>;
    TPropInfo info;
    info.Name = name;
    if constexpr (std::is_same_v<V, bool>) {
      info.Kind = TPropKind::Bool;
      info.EnumType = EnumInfoOf(static_cast<bool*>(nullptr));
      info.Default = 0;
    } else if constexpr (std::is_enum_v<V>) {
      info.Kind = TPropKind::Enum;
      info.EnumType = EnumInfo<V>();
    } else if constexpr (TIsSet<V>::value) {
      info.Kind = TPropKind::Set;
      info.EnumType = EnumInfo<typename TIsSet<V>::Element>();
      info.Default = 0;
    } else if constexpr (std::is_integral_v<V>) {
      info.Kind = TPropKind::Integer;
      info.MinValue = int64_t(std::numeric_limits<V>::min());
      if constexpr (sizeof(V) < sizeof(int64_t) || std::is_signed_v<V>)
        info.MaxValue = int64_t(std::numeric_limits<V>::max());
    } else if constexpr (std::is_floating_point_v<V>) {
      info.Kind = TPropKind::Float;
    } else if constexpr (std::is_same_v<V, String>) {
      info.Kind = TPropKind::String;
    } else {
      static_assert(sizeof(V) == 0, "unsupported published property type");
    }
    if constexpr (std::is_floating_point_v<V>) {
      info.GetFloat = [getter](const TObject* o) { return double(Get(getter, static_cast<const T*>(o))); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetFloat = [setter](TObject* o, double v) { Set(setter, static_cast<T*>(o), static_cast<V>(v)); };
    } else if constexpr (std::is_same_v<V, String>) {
      info.GetStr = [getter](const TObject* o) { return String(Get(getter, static_cast<const T*>(o))); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetStr = [setter](TObject* o, const String& v) { Set(setter, static_cast<T*>(o), v); };
    } else if constexpr (TIsSet<V>::value) {
      info.GetOrd = [getter](const TObject* o) { return int64_t(Get(getter, static_cast<const T*>(o)).Mask()); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetOrd = [setter](TObject* o, int64_t v) { Set(setter, static_cast<T*>(o), V::FromMask(uint64_t(v))); };
    } else {
      info.GetOrd = [getter](const TObject* o) { return int64_t(Get(getter, static_cast<const T*>(o))); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetOrd = [setter](TObject* o, int64_t v) { Set(setter, static_cast<T*>(o), static_cast<V>(v)); };
    }
    return TPropRef(FList.Add(std::move(info)));
  }

  // An owned persistent, read into in place; the setter (Assign) is optional.
  template <class G, class S = std::nullptr_t>
  TPropRef Object(const wchar_t* name, G getter, S setter = nullptr)
  {
    using P = std::remove_pointer_t<std::remove_cvref_t<decltype(Get(getter, std::declval<const T*>()))>>;
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Object;
    info.PropClass = P::StaticClass();
    info.GetObj = [getter](const TObject* o) -> TObject* { return Get(getter, static_cast<const T*>(o)); };
    if constexpr (!std::is_same_v<S, std::nullptr_t>)
      info.SetObj = [setter](TObject* o, TObject* v) { Set(setter, static_cast<T*>(o), dynamic_cast<P*>(v)); };
    return TPropRef(FList.Add(std::move(info)));
  }

  // A reference to another component, resolved by name after loading.
  template <class G, class S>
  TPropRef Component(const wchar_t* name, G getter, S setter)
  {
    using P = std::remove_pointer_t<std::remove_cvref_t<decltype(Get(getter, std::declval<const T*>()))>>;
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Component;
    info.PropClass = P::StaticClass();
    info.GetObj = [getter](const TObject* o) -> TObject* { return Get(getter, static_cast<const T*>(o)); };
    info.SetObj = [setter](TObject* o, TObject* v) { Set(setter, static_cast<T*>(o), dynamic_cast<P*>(v)); };
    return TPropRef(FList.Add(std::move(info)));
  }

  // A method-pointer property, usually a data member.
  template <class G, class S>
  TPropRef Event(const wchar_t* name, G getter, S setter)
  {
    using E = std::remove_cvref_t<decltype(Get(getter, std::declval<const T*>()))>;
    static_assert(TIsEvent<E>::value);
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Event;
    info.EventSignature = &typeid(typename E::Signature);
    info.GetMethod = [getter](const TObject* o) { return Get(getter, static_cast<const T*>(o)).Method(); };
    info.SetMethod = [setter](TObject* o, const TMethod& m) { Set(setter, static_cast<T*>(o), E::FromMethod(m)); };
    return TPropRef(FList.Add(std::move(info)));
  }
  template <class E>
  TPropRef Event(const wchar_t* name, E T::*field)
  {
    return Event(name, field, field);
  }

  // A handler that form data may bind to events by its name.
  template <class R, class... A>
  void Method(const wchar_t* name, R (T::*member)(A...))
  {
    FList.AddMethod(
        {name, [member](TObject* instance) { return TEvent<R(A...)>(static_cast<T*>(instance), member).Method(); }});
  }

private:
  template <class G>
  static decltype(auto) Get(G getter, const T* o)
  {
    if constexpr (std::is_member_object_pointer_v<G>)
      return (o->*getter);
    else
      return (o->*getter)();
  }
  template <class S, class V>
  static void Set(S setter, T* o, V&& v)
  {
    if constexpr (std::is_member_object_pointer_v<S>)
      o->*setter = std::forward<V>(v);
    else
      (o->*setter)(std::forward<V>(v));
  }

  TPropList& FList;
};
