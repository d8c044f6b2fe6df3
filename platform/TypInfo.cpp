#include "platform/TypInfo.h"

#include <algorithm>

#include "platform/SysUtils.h"

int TEnumInfo::ValueOf(const String& name) const
{
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameText(Names[i], name))
      return int(i);
  return -1;
}

String TEnumInfo::NameOf(int64_t value) const
{
  return value >= 0 && value < int64_t(Names.size()) ? Names[size_t(value)] : String();
}

const TEnumInfo* EnumInfoOf(bool*)
{
  static const TEnumInfo info{L"Boolean", {L"False", L"True"}};
  return &info;
}

String GetEnumName(const TEnumInfo* info, int64_t value)
{
  return info ? info->NameOf(value) : String();
}

int GetEnumValue(const TEnumInfo* info, const String& name)
{
  return info ? info->ValueOf(name) : -1;
}

bool IdentToInt(const TIdentMap& map, const String& ident, int64_t& value)
{
  for (const auto& e : map)
    if (SameText(e.Name, ident)) {
      value = e.Value;
      return true;
    }
  return false;
}

bool IntToIdent(const TIdentMap& map, int64_t value, String& ident)
{
  for (const auto& e : map)
    if (e.Value == value) {
      ident = e.Name;
      return true;
    }
  return false;
}

bool TPropInfo::IsWritable() const
{
  switch (Kind) {
    case TPropKind::Float:
      return bool(SetFloat);
    case TPropKind::String:
      return bool(SetStr);
    case TPropKind::Object:
      return true;  // read into in place
    case TPropKind::Component:
      return bool(SetObj);
    case TPropKind::Event:
      return bool(SetMethod);
    default:
      return bool(SetOrd);
  }
}

bool TPropInfo::IsDefaultValue(const TObject* instance) const
{
  switch (Kind) {
    case TPropKind::Float:
      return GetFloat(instance) == 0.0;
    case TPropKind::String:
      return GetStr(instance).empty();
    case TPropKind::Object:
      return false;
    case TPropKind::Component:
      return GetObj(instance) == nullptr;
    case TPropKind::Event:
      return !GetMethod(instance).Assigned();
    default:
      return Default.has_value() && GetOrd(instance) == *Default;
  }
}

TPropInfo& TPropList::Add(TPropInfo info)
{
  FProps.push_back(std::move(info));
  return FProps.back();
}

void TPropList::Append(const TPropList& other)
{
  for (const auto& p : other.FProps) {
    // A redeclared property replaces its ancestor's entry in place, keeping the order.
    auto it = std::find_if(FProps.begin(), FProps.end(), [&](const TPropInfo& q) { return SameText(q.Name, p.Name); });
    if (it != FProps.end())
      *it = p;
    else
      FProps.push_back(p);
  }
  for (const auto& m : other.FMethods)
    FMethods.push_back(m);
}

const TPropInfo* TPropList::Find(const String& name) const
{
  for (auto it = FProps.rbegin(); it != FProps.rend(); ++it)
    if (SameText(it->Name, name))
      return &*it;
  return nullptr;
}

const TPublishedMethod* TPropList::FindMethod(const String& name) const
{
  for (auto it = FMethods.rbegin(); it != FMethods.rend(); ++it)
    if (SameText(it->Name, name))
      return &*it;
  return nullptr;
}

String TPropList::MethodName(TObject* instance, const TMethod& method) const
{
  if (!method.Assigned() || method.Data != instance)
    return String();
  for (auto it = FMethods.rbegin(); it != FMethods.rend(); ++it)
    if (it->Make(instance) == method)
      return it->Name;
  return String();
}

const TPropInfo* GetPropInfo(const TObject* instance, const String& name)
{
  return instance ? instance->ClassType()->Properties().Find(name) : nullptr;
}

static const TPropInfo& RequireProp(const TObject* instance, const String& name)
{
  const TPropInfo* info = GetPropInfo(instance, name);
  if (!info)
    throw EPropertyError(L"Property " + name + L" does not exist");
  return *info;
}

int64_t GetOrdProp(const TObject* instance, const String& name)
{
  const auto& info = RequireProp(instance, name);
  if (!info.GetOrd)
    throw EPropertyError(L"Property " + name + L" is not ordinal");
  return info.GetOrd(instance);
}

void SetOrdProp(TObject* instance, const String& name, int64_t value)
{
  const auto& info = RequireProp(instance, name);
  if (!info.SetOrd)
    throw EPropertyError(L"Property " + name + L" is read-only");
  info.SetOrd(instance, value);
}

String GetStrProp(const TObject* instance, const String& name)
{
  const auto& info = RequireProp(instance, name);
  if (!info.GetStr)
    throw EPropertyError(L"Property " + name + L" is not a string");
  return info.GetStr(instance);
}

void SetStrProp(TObject* instance, const String& name, const String& value)
{
  const auto& info = RequireProp(instance, name);
  if (!info.SetStr)
    throw EPropertyError(L"Property " + name + L" is read-only");
  info.SetStr(instance, value);
}

TObject* GetObjectProp(const TObject* instance, const String& name)
{
  const auto& info = RequireProp(instance, name);
  if (!info.GetObj)
    throw EPropertyError(L"Property " + name + L" is not an object");
  return info.GetObj(instance);
}

TMethod MethodAddress(TObject* instance, const String& name)
{
  if (!instance)
    return {};
  const TPublishedMethod* m = instance->ClassType()->Properties().FindMethod(name);
  return m ? m->Make(instance) : TMethod{};
}

String MethodName(TObject* instance, const TMethod& method)
{
  return instance ? instance->ClassType()->Properties().MethodName(instance, method) : String();
}
