#include "platform/Registry.h"

#include "platform/Streams.h"
#include "platform/Strings.h"
#include "platform/Win.h"

IMPLEMENT_CLASS(TRegistry, TObject)
IMPLEMENT_CLASS(TRegistryIniFile, TCustomIniFile)

namespace {

bool IsRelative(const String& key)
{
  return key.empty() || key[0] != L'\\';
}

// Without the leading and trailing "\" and with doubled ones made single, as the API
// wants a path.
String NormalisePath(const String& key)
{
  String path;
  path.reserve(key.size());
  for (wchar_t ch : key)
    if (ch != L'\\' || (!path.empty() && path.back() != L'\\'))
      path += ch;
  if (!path.empty() && path.back() == L'\\')
    path.pop_back();
  return path;
}

TRegDataType DataTypeOf(DWORD type)
{
  switch (type) {
    case REG_SZ:
      return rdString;
    case REG_EXPAND_SZ:
      return rdExpandString;
    case REG_DWORD:
      return rdInteger;
    case REG_BINARY:
      return rdBinary;
    default:
      return rdUnknown;
  }
}

[[noreturn]] void ReadError(const String& name)
{
  throw ERegistryException(Format(L"Invalid data type for '%s'", {name}));
}

// Deletes parent\name with everything below it. Keys with subkeys cannot be deleted
// directly, so the children go first.
bool DeleteTree(HKEY parent, const String& name)
{
  HKEY key;
  if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    std::vector<String> children;
    wchar_t buffer[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(key, i, buffer, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      children.emplace_back(buffer, length);
    }
    for (const String& child : children)
      DeleteTree(key, child);
    RegCloseKey(key);
  }
  return RegDeleteKeyW(parent, name.c_str()) == ERROR_SUCCESS;
}

}  // namespace

// ---------------------------------------------------------------------------
// TRegistry: keys

TRegistry::TRegistry() : TRegistry(KEY_ALL_ACCESS) {}

TRegistry::TRegistry(uint32_t AAccess) : FRootKey(HKEY_CURRENT_USER), FAccess(AAccess) {}

TRegistry::~TRegistry()
{
  CloseKey();
}

void TRegistry::SetRootKey(HKEY Value)
{
  if (Value == FRootKey)
    return;
  CloseKey();
  FRootKey = Value;
}

void TRegistry::CloseKey()
{
  if (FCurrentKey)
    RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

void TRegistry::ChangeKey(HKEY Value, const String& Path)
{
  CloseKey();
  FCurrentKey = Value;
  FCurrentPath = Path;
}

HKEY TRegistry::BaseKey(bool relative) const
{
  return relative && FCurrentKey ? FCurrentKey : FRootKey;
}

bool TRegistry::OpenKeyWith(const String& Key, bool CanCreate, uint32_t access)
{
  bool relative = IsRelative(Key);
  String path = NormalisePath(Key);
  HKEY key = nullptr;
  LONG rc = !CanCreate || path.empty() ? RegOpenKeyExW(BaseKey(relative), path.c_str(), 0, access, &key)
                                       : RegCreateKeyExW(BaseKey(relative), path.c_str(), 0, nullptr,
                                                         REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS)
    return false;
  if (relative && FCurrentKey && !FCurrentPath.empty())
    path = path.empty() ? FCurrentPath : FCurrentPath + L"\\" + path;
  ChangeKey(key, path);
  return true;
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate)
{
  return OpenKeyWith(Key, CanCreate, FAccess);
}

bool TRegistry::OpenKeyReadOnly(const String& Key)
{
  // Narrower rights for keys that grant less than KEY_READ.
  for (uint32_t access : {uint32_t(KEY_READ), uint32_t(STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS),
                          uint32_t(KEY_QUERY_VALUE)})
    if (OpenKeyWith(Key, false, access))
      return true;
  return false;
}

HKEY TRegistry::GetKey(const String& Key, uint32_t access)
{
  HKEY key = nullptr;
  if (RegOpenKeyExW(BaseKey(IsRelative(Key)), NormalisePath(Key).c_str(), 0, access, &key) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

bool TRegistry::CreateKey(const String& Key)
{
  HKEY key = nullptr;
  if (RegCreateKeyExW(BaseKey(IsRelative(Key)), NormalisePath(Key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      FAccess, nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw ERegistryException(Format(L"Failed to create key %s", {Key}));
  RegCloseKey(key);
  return true;
}

bool TRegistry::DeleteKey(const String& Key)
{
  String path = NormalisePath(Key);
  if (path.empty())
    return false;  // never the open key or the root itself
  return DeleteTree(BaseKey(IsRelative(Key)), path);
}

bool TRegistry::KeyExists(const String& Key)
{
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExW(BaseKey(IsRelative(Key)), NormalisePath(Key).c_str(), 0, KEY_QUERY_VALUE, &key);
  if (rc == ERROR_SUCCESS)
    RegCloseKey(key);
  return rc == ERROR_SUCCESS || rc == ERROR_ACCESS_DENIED;  // a key we may not read is there
}

bool TRegistry::HasSubKeys()
{
  DWORD count = 0;
  return FCurrentKey &&
         RegQueryInfoKeyW(FCurrentKey, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS &&
         count > 0;
}

std::vector<String> TRegistry::KeyNames()
{
  std::vector<String> names;
  if (!FCurrentKey)
    return names;
  wchar_t buffer[256];  // key names have at most 255 characters
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(FCurrentKey, i, buffer, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(buffer, length);
  }
  return names;
}

void TRegistry::GetKeyNames(TStrings* Strings)
{
  ReplaceStrings(*Strings, KeyNames());
}

// ---------------------------------------------------------------------------
// TRegistry: values

std::vector<String> TRegistry::ValueNames()
{
  std::vector<String> names;
  if (!FCurrentKey)
    return names;
  std::vector<wchar_t> buffer(16384);  // the longest value name plus its NUL
  for (DWORD i = 0;; ++i) {
    DWORD length = DWORD(buffer.size());
    if (RegEnumValueW(FCurrentKey, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(buffer.data(), length);
  }
  return names;
}

void TRegistry::GetValueNames(TStrings* Strings)
{
  ReplaceStrings(*Strings, ValueNames());
}

bool TRegistry::ValueExists(const String& Name)
{
  TRegDataInfo info;
  return GetDataInfo(Name, info);
}

bool TRegistry::DeleteValue(const String& Name)
{
  return FCurrentKey && RegDeleteValueW(FCurrentKey, Name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::GetDataInfo(const String& ValueName, TRegDataInfo& Value)
{
  Value = TRegDataInfo();
  DWORD type = REG_NONE, size = 0;
  if (!FCurrentKey || RegQueryValueExW(FCurrentKey, ValueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  Value.RegData = DataTypeOf(type);
  Value.DataSize = int(size);
  return true;
}

int TRegistry::GetDataSize(const String& ValueName)
{
  TRegDataInfo info;
  return GetDataInfo(ValueName, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const String& ValueName)
{
  TRegDataInfo info;
  GetDataInfo(ValueName, info);
  return info.RegData;
}

int TRegistry::GetData(const String& Name, void* Buffer, int BufSize, TRegDataType& RegData)
{
  DWORD type = REG_NONE, size = DWORD(BufSize);
  if (!FCurrentKey ||
      RegQueryValueExW(FCurrentKey, Name.c_str(), nullptr, &type, static_cast<BYTE*>(Buffer), &size) != ERROR_SUCCESS)
    throw ERegistryException(Format(L"Failed to get data for '%s'", {Name}));
  RegData = DataTypeOf(type);
  return int(size);
}

void TRegistry::PutData(const String& Name, const void* Buffer, int BufSize, uint32_t type)
{
  if (!FCurrentKey || RegSetValueExW(FCurrentKey, Name.c_str(), 0, type, static_cast<const BYTE*>(Buffer),
                                     DWORD(BufSize)) != ERROR_SUCCESS)
    throw ERegistryException(Format(L"Failed to set data for '%s'", {Name}));
}

String TRegistry::ReadString(const String& Name)
{
  TRegDataInfo info;
  if (!GetDataInfo(Name, info) || info.DataSize == 0)
    return String();
  if (info.RegData != rdString && info.RegData != rdExpandString)
    ReadError(Name);
  std::vector<wchar_t> buffer(size_t(info.DataSize) / sizeof(wchar_t) + 1);
  TRegDataType type;
  int size = GetData(Name, buffer.data(), int(buffer.size() * sizeof(wchar_t)), type);
  if (type != rdString && type != rdExpandString)
    ReadError(Name);
  String text(buffer.data(), size_t(size) / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0')
    text.pop_back();
  return text;
}

void TRegistry::WriteString(const String& Name, const String& Value)
{
  PutData(Name, Value.c_str(), int((Value.size() + 1) * sizeof(wchar_t)), REG_SZ);
}

void TRegistry::WriteExpandString(const String& Name, const String& Value)
{
  PutData(Name, Value.c_str(), int((Value.size() + 1) * sizeof(wchar_t)), REG_EXPAND_SZ);
}

int32_t TRegistry::ReadInteger(const String& Name)
{
  TRegDataInfo info;
  if (!GetDataInfo(Name, info))
    throw ERegistryException(Format(L"Failed to get data for '%s'", {Name}));
  if (info.RegData != rdInteger || info.DataSize != sizeof(int32_t))
    ReadError(Name);
  int32_t value = 0;
  TRegDataType type;
  GetData(Name, &value, sizeof value, type);
  if (type != rdInteger)
    ReadError(Name);
  return value;
}

void TRegistry::WriteInteger(const String& Name, int32_t Value)
{
  PutData(Name, &Value, sizeof Value, REG_DWORD);
}

bool TRegistry::ReadBool(const String& Name)
{
  return ReadInteger(Name) != 0;
}

void TRegistry::WriteBool(const String& Name, bool Value)
{
  WriteInteger(Name, Value ? 1 : 0);
}

double TRegistry::ReadFloat(const String& Name)
{
  TRegDataInfo info;
  if (!GetDataInfo(Name, info))
    throw ERegistryException(Format(L"Failed to get data for '%s'", {Name}));
  if (info.RegData != rdBinary || info.DataSize != sizeof(double))
    ReadError(Name);
  double value = 0;
  TRegDataType type;
  GetData(Name, &value, sizeof value, type);
  return value;
}

void TRegistry::WriteFloat(const String& Name, double Value)
{
  PutData(Name, &Value, sizeof Value, REG_BINARY);
}

int TRegistry::ReadBinaryData(const String& Name, void* Buffer, int BufSize)
{
  TRegDataInfo info;
  if (!GetDataInfo(Name, info))
    return 0;
  if ((info.RegData != rdBinary && info.RegData != rdUnknown) || info.DataSize > BufSize)
    ReadError(Name);
  TRegDataType type;
  return GetData(Name, Buffer, info.DataSize, type);
}

void TRegistry::WriteBinaryData(const String& Name, const void* Buffer, int BufSize)
{
  PutData(Name, Buffer, BufSize, REG_BINARY);
}

// ---------------------------------------------------------------------------
// TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const String& FileName)
    : TRegistryIniFile(FileName, HKEY_CURRENT_USER, KEY_ALL_ACCESS)
{
}

TRegistryIniFile::TRegistryIniFile(const String& FileName, HKEY RootKey, uint32_t AAccess)
    : TCustomIniFile(FileName), FRootKey(RootKey), FAccess(AAccess)
{
}

TRegistryIniFile::~TRegistryIniFile() = default;

String TRegistryIniFile::KeyPath(const String& Section) const
{
  if (!IsRelative(Section))
    return L"\\" + NormalisePath(Section);
  String base = L"\\" + NormalisePath(FFileName);
  String section = NormalisePath(Section);
  if (section.empty())
    return base;
  return base.size() > 1 ? base + L"\\" + section : base + section;
}

std::unique_ptr<TRegistry> TRegistryIniFile::Open(const String& Section, TOpenMode mode)
{
  auto reg = std::make_unique<TRegistry>(FAccess);
  reg->SetRootKey(FRootKey);
  String path = KeyPath(Section);
  bool opened = mode == omRead ? reg->OpenKeyReadOnly(path) : reg->OpenKey(path, mode == omCreate);
  if (!opened) {
    if (mode == omCreate)
      throw ERegistryException(Format(L"Failed to create key %s", {path}));
    return nullptr;
  }
  return reg;
}

String TRegistryIniFile::ReadString(const String& Section, const String& Ident, const String& Default)
{
  try {
    auto reg = Open(Section, omRead);
    if (!reg || !reg->ValueExists(Ident))
      return Default;
    return reg->ReadString(Ident);
  } catch (const ERegistryException&) {
    return Default;
  }
}

void TRegistryIniFile::WriteString(const String& Section, const String& Ident, const String& Value)
{
  Open(Section, omCreate)->WriteString(Ident, Value);
}

template <class T, class N, class P>
T TRegistryIniFile::ReadTyped(const String& Section, const String& Ident, T Default, TRegDataType Native,
                              N&& ReadNative, P&& ParseText)
{
  try {
    auto reg = Open(Section, omRead);
    if (!reg)
      return Default;
    TRegDataType type = reg->GetDataType(Ident);
    if (type == Native)
      return ReadNative(*reg);
    if (type == rdString || type == rdExpandString)
      return ParseText(reg->ReadString(Ident));
    return Default;
  } catch (const ERegistryException&) {
    return Default;
  }
}

int32_t TRegistryIniFile::ReadInteger(const String& Section, const String& Ident, int32_t Default)
{
  return ReadTyped(
      Section, Ident, Default, rdInteger, [&](TRegistry& reg) { return reg.ReadInteger(Ident); },
      [&](const String& text) { return StrToIntDef(text, Default); });
}

void TRegistryIniFile::WriteInteger(const String& Section, const String& Ident, int32_t Value)
{
  auto reg = Open(Section, omCreate);
  if (reg->GetDataType(Ident) == rdString)
    reg->WriteString(Ident, IntToStr(Value));  // keep a text value text
  else
    reg->WriteInteger(Ident, Value);
}

bool TRegistryIniFile::ReadBool(const String& Section, const String& Ident, bool Default)
{
  return ReadTyped(
      Section, Ident, Default, rdInteger, [&](TRegistry& reg) { return reg.ReadInteger(Ident) != 0; },
      [&](const String& text) { return TextToBool(text, Default); });
}

void TRegistryIniFile::WriteBool(const String& Section, const String& Ident, bool Value)
{
  WriteInteger(Section, Ident, Value ? 1 : 0);
}

double TRegistryIniFile::ReadFloat(const String& Section, const String& Ident, double Default)
{
  return ReadTyped(
      Section, Ident, Default, rdBinary, [&](TRegistry& reg) { return reg.ReadFloat(Ident); },
      [&](const String& text) { return StrToFloatDef(text, Default); });
}

void TRegistryIniFile::WriteFloat(const String& Section, const String& Ident, double Value)
{
  auto reg = Open(Section, omCreate);
  if (reg->GetDataType(Ident) == rdString)
    reg->WriteString(Ident, FloatToStr(Value));
  else
    reg->WriteFloat(Ident, Value);
}

int TRegistryIniFile::ReadBinaryStream(const String& Section, const String& Name, TStream* Value)
{
  std::vector<uint8_t> bytes;
  try {
    auto reg = Open(Section, omRead);
    if (!reg)
      return 0;
    TRegDataInfo info;
    if (!reg->GetDataInfo(Name, info))
      return 0;
    if (info.RegData == rdString)
      return TCustomIniFile::ReadBinaryStream(Section, Name, Value);  // hexadecimal text
    if (info.RegData != rdBinary || info.DataSize <= 0)
      return 0;
    bytes.resize(size_t(info.DataSize));
    bytes.resize(size_t(reg->ReadBinaryData(Name, bytes.data(), int(bytes.size()))));
  } catch (const ERegistryException&) {
    return 0;
  }
  return PutBytes(Value, bytes);
}

void TRegistryIniFile::WriteBinaryStream(const String& Section, const String& Name, TStream* Value)
{
  std::vector<uint8_t> bytes = RemainingBytes(Value);
  Open(Section, omCreate)->WriteBinaryData(Name, bytes.data(), int(bytes.size()));
}

bool TRegistryIniFile::SectionExists(const String& Section)
{
  TRegistry reg(FAccess);
  reg.SetRootKey(FRootKey);
  return reg.KeyExists(KeyPath(Section));
}

bool TRegistryIniFile::ValueExists(const String& Section, const String& Ident)
{
  auto reg = Open(Section, omRead);
  return reg && reg->ValueExists(Ident);
}

void TRegistryIniFile::ReadSection(const String& Section, TStrings* Strings)
{
  auto reg = Open(Section, omRead);
  ReplaceStrings(*Strings, reg ? reg->ValueNames() : std::vector<String>());
}

void TRegistryIniFile::ReadSections(TStrings* Strings)
{
  auto reg = Open(String(), omRead);
  ReplaceStrings(*Strings, reg ? reg->KeyNames() : std::vector<String>());
}

void TRegistryIniFile::ReadSectionValues(const String& Section, TStrings* Strings)
{
  std::vector<String> lines;
  if (auto reg = Open(Section, omRead)) {
    for (const String& name : reg->ValueNames()) {
      String text;
      try {
        switch (reg->GetDataType(name)) {
          case rdString:
          case rdExpandString:
            text = reg->ReadString(name);
            break;
          case rdInteger:
            text = IntToStr(reg->ReadInteger(name));
            break;
          default: {
            TMemoryStream stream;
            if (ReadBinaryStream(Section, name, &stream) > 0)
              for (int64_t i = 0; i < stream.GetSize(); ++i)
                text += IntToHex(static_cast<const uint8_t*>(stream.Memory())[i], 2);
          }
        }
      } catch (const ERegistryException&) {
        // A value that changed while listing shows as empty.
      }
      lines.push_back(name + L"=" + text);
    }
  }
  ReplaceStrings(*Strings, lines);
}

void TRegistryIniFile::EraseSection(const String& Section)
{
  TRegistry reg(FAccess);
  reg.SetRootKey(FRootKey);
  reg.DeleteKey(KeyPath(Section));
}

void TRegistryIniFile::DeleteKey(const String& Section, const String& Ident)
{
  if (auto reg = Open(Section, omWrite))
    reg->DeleteValue(Ident);
}
