#include "platform/System.h"

#include <algorithm>
#include <cwctype>
#include <map>

#include "platform/Collection.h"
#include "platform/Component.h"
#include "platform/SysUtils.h"
#include "platform/TypInfo.h"

TMetaClass::TMetaClass(const wchar_t* name, TClass parent, TFactory factory, TPublishProc publish)
    : FName(name), FParent(parent), FFactory(factory), FPublish(publish)
{
}

TMetaClass::~TMetaClass() = default;

bool TMetaClass::InheritsFrom(TClass other) const
{
  for (TClass c = this; c; c = c->FParent)
    if (c == other)
      return true;
  return false;
}

TObject* TMetaClass::Create(TObject* owner) const
{
  if (!FFactory)
    throw EInvalidOperation(L"Cannot create an instance of the abstract class " + FName);
  TObject* object = FFactory(owner);
  if (!object)
    throw EInvalidOperation(L"Cannot create an instance of " + FName);
  object->AfterConstruction();
  return object;
}

const TPropList& TMetaClass::OwnProperties() const
{
  if (!FOwn) {
    auto list = std::make_unique<TPropList>();
    if (FPublish)
      FPublish(*list);
    FOwn = std::move(list);
  }
  return *FOwn;
}

const TPropList& TMetaClass::Properties() const
{
  if (!FAll) {
    auto list = std::make_unique<TPropList>();
    if (FParent)
      list->Append(FParent->Properties());
    list->Append(OwnProperties());
    FAll = std::move(list);
  }
  return *FAll;
}

TClass TObject::StaticClass()
{
  static const TMetaClass meta(L"TObject", nullptr, nullptr, nullptr);
  return &meta;
}

TObject::~TObject()
{
  if (FLifeCell)
    *FLifeCell = nullptr;
}

const std::shared_ptr<TObject*>& TObject::LifeCell() const
{
  if (!FLifeCell)
    FLifeCell = std::make_shared<TObject*>(const_cast<TObject*>(this));
  return FLifeCell;
}

void TObject::Free()
{
  FDestructionBegun = true;
  BeforeDestruction();
  delete this;
}

void TObject::operator delete(TObject* AObject, std::destroying_delete_t)
{
  // The block the object was made in, read while its dynamic type is still known.
  void* block = dynamic_cast<void*>(AObject);
  if (!std::exchange(AObject->FDestructionBegun, true)) {
    try {
      AObject->BeforeDestruction();
    } catch (...) {
      HandleUnexpectedException(AObject);
    }
  }
  AObject->~TObject();
  ::operator delete(block);
}

void* MakeInstanceOwner(TObject* owner, int family)
{
  if (!owner)
    return nullptr;
  if (family == 0) {
    if (auto* c = dynamic_cast<TComponent*>(owner))
      return c;
  } else if (auto* c = dynamic_cast<TCollection*>(owner)) {
    return c;
  }
  RaiseInvalidFactoryOwner(owner);
  return nullptr;
}

[[noreturn]] void RaiseInvalidFactoryOwner(TObject* owner)
{
  throw EInvalidCast(L"Invalid owner " + owner->ClassName() + L" for a class reference");
}

// ---------------------------------------------------------------------------

namespace {

struct NoCaseLess {
  bool operator()(const String& a, const String& b) const { return CompareText(a, b) < 0; }
};

std::map<String, TClass, NoCaseLess>& ClassRegistry()
{
  static std::map<String, TClass, NoCaseLess> registry;
  return registry;
}

}  // namespace

void RegisterClass(TClass cls)
{
  if (cls)
    ClassRegistry().emplace(cls->ClassName(), cls);
}

void RegisterClasses(std::initializer_list<TClass> classes)
{
  for (TClass c : classes)
    RegisterClass(c);
}

void UnRegisterClass(TClass cls)
{
  auto& registry = ClassRegistry();
  auto it = cls ? registry.find(cls->ClassName()) : registry.end();
  if (it != registry.end() && it->second == cls)
    registry.erase(it);
}

TClass GetClass(const String& name)
{
  auto& registry = ClassRegistry();
  auto it = registry.find(name);
  return it == registry.end() ? nullptr : it->second;
}

TClass FindClass(const String& name)
{
  if (TClass cls = GetClass(name))
    return cls;
  throw EClassNotFound(L"Class " + name + L" not found");
}

// ---------------------------------------------------------------------------

String UpperCase(const String& s)
{
  String r = s;
  for (auto& ch : r)
    ch = wchar_t(std::towupper(ch));
  return r;
}

String LowerCase(const String& s)
{
  String r = s;
  for (auto& ch : r)
    ch = wchar_t(std::towlower(ch));
  return r;
}

int CompareText(const String& a, const String& b)
{
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    wint_t x = std::towupper(a[i]), y = std::towupper(b[i]);
    if (x != y)
      return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(const String& a, const String& b)
{
  return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareStr(const String& a, const String& b)
{
  int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

static bool IsSpaceOrControl(wchar_t ch)
{
  return ch <= L' ';
}

String TrimLeft(const String& s)
{
  size_t i = 0;
  while (i < s.size() && IsSpaceOrControl(s[i]))
    ++i;
  return s.substr(i);
}

String TrimRight(const String& s)
{
  size_t n = s.size();
  while (n > 0 && IsSpaceOrControl(s[n - 1]))
    --n;
  return s.substr(0, n);
}

String Trim(const String& s)
{
  return TrimRight(TrimLeft(s));
}

String IntToStr(int64_t value)
{
  return std::to_wstring(value);
}

String IntToHex(uint64_t value, int digits)
{
  static const wchar_t hex[] = L"0123456789ABCDEF";
  String r;
  do {
    r.insert(r.begin(), hex[value & 15]);
    value >>= 4;
  } while (value);
  while (int(r.size()) < digits)
    r.insert(r.begin(), L'0');
  return r;
}

std::string ToUtf8(const String& s)
{
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xF0 | (cp >> 18));
      out += char(0x80 | ((cp >> 12) & 0x3F));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

String FromUtf8(const std::string& s)
{
  String out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    unsigned char c = s[i];
    uint32_t cp;
    int extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else {
      out += wchar_t(0xFFFD);
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    if (!ok) {
      out += wchar_t(0xFFFD);
      ++i;
      continue;
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += wchar_t(0xD800 + (cp >> 10));
      out += wchar_t(0xDC00 + (cp & 0x3FF));
    } else {
      out += wchar_t(cp);
    }
  }
  return out;
}
