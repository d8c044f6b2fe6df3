// The system registry: TRegistry opens keys under a root key and reads and writes typed
// values; TRegistryIniFile stores ini-style sections as keys below a base key, so the
// layout code can write to the registry or an ini file alike. The HKEY_ root constants
// come from the Windows headers ("platform/Win.h"); this header needs only the type.
#pragma once

#include "platform/IniFiles.h"

struct HKEY__;
typedef HKEY__* HKEY;

class TStrings;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;
};

// Key paths: "A\B" is relative to the open key (or the root key when none is open);
// "\A\B" starts at the root key. Trailing "\" are ignored. Reading a value that is
// missing or of another type raises ERegistryException, except ReadString and
// ReadBinaryData, which give an empty text and 0 for a missing value.
class TRegistry : public TObject {
  DECLARE_CLASS(TRegistry, TObject)
public:
  // Opens keys with all access (KEY_ALL_ACCESS) under HKEY_CURRENT_USER.
  TRegistry();
  explicit TRegistry(uint32_t AAccess);
  ~TRegistry() override;

  HKEY RootKey() const { return FRootKey; }
  // Closes the open key.
  void SetRootKey(HKEY Value);
  HKEY CurrentKey() const { return FCurrentKey; }
  // The open key's path from the root key, without a leading "\"; empty when none is open.
  const String& CurrentPath() const { return FCurrentPath; }
  uint32_t Access() const { return FAccess; }
  void SetAccess(uint32_t Value) { FAccess = Value; }

  // Makes Key the open key; creates it (and the keys on its path) when CanCreate.
  bool OpenKey(const String& Key, bool CanCreate);
  bool OpenKeyReadOnly(const String& Key);
  void CloseKey();
  // Creates Key without opening it; raises ERegistryException when it cannot.
  bool CreateKey(const String& Key);
  // Deletes Key with all keys below it.
  bool DeleteKey(const String& Key);
  bool KeyExists(const String& Key);
  bool HasSubKeys();
  void GetKeyNames(TStrings* Strings);
  std::vector<String> KeyNames();

  // Values of the open key.
  bool ValueExists(const String& Name);
  bool DeleteValue(const String& Name);
  void GetValueNames(TStrings* Strings);
  std::vector<String> ValueNames();
  bool GetDataInfo(const String& ValueName, TRegDataInfo& Value);
  // -1 when the value is missing.
  int GetDataSize(const String& ValueName);
  TRegDataType GetDataType(const String& ValueName);

  String ReadString(const String& Name);
  void WriteString(const String& Name, const String& Value);
  void WriteExpandString(const String& Name, const String& Value);
  int32_t ReadInteger(const String& Name);
  void WriteInteger(const String& Name, int32_t Value);
  bool ReadBool(const String& Name);
  void WriteBool(const String& Name, bool Value);
  // A double as 8 bytes of binary data.
  double ReadFloat(const String& Name);
  void WriteFloat(const String& Name, double Value);
  // Returns the number of bytes read; raises when the value is not binary or is larger
  // than BufSize.
  int ReadBinaryData(const String& Name, void* Buffer, int BufSize);
  void WriteBinaryData(const String& Name, const void* Buffer, int BufSize);

private:
  // Opens Key relative to the open key or the root; nil when it is not there.
  HKEY GetKey(const String& Key, uint32_t access);
  void ChangeKey(HKEY Value, const String& Path);
  bool OpenKeyWith(const String& Key, bool CanCreate, uint32_t access);
  HKEY BaseKey(bool relative) const;
  int GetData(const String& Name, void* Buffer, int BufSize, TRegDataType& RegData);
  void PutData(const String& Name, const void* Buffer, int BufSize, uint32_t type);

  HKEY FRootKey;
  HKEY FCurrentKey = nullptr;
  String FCurrentPath;
  uint32_t FAccess;
};

// Ini-file access to the registry. The file name is a key path below the root key
// (HKEY_CURRENT_USER unless given); a section is a key path relative to it ("Sec",
// "Sec\Sub") or absolute from the root ("\Software\App\Sec"); the empty section is the
// base key itself. Missing keys and values, and values of another type, read as the
// default; writing creates the keys on the way. Integers and Booleans are REG_DWORD
// (text values are read and rewritten as text), binary streams REG_BINARY.
class TRegistryIniFile : public TCustomIniFile {
  DECLARE_CLASS(TRegistryIniFile, TCustomIniFile)
public:
  explicit TRegistryIniFile(const String& FileName);
  TRegistryIniFile(const String& FileName, HKEY RootKey, uint32_t AAccess);
  ~TRegistryIniFile() override;

  HKEY RootKey() const { return FRootKey; }

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  int32_t ReadInteger(const String& Section, const String& Ident, int32_t Default) override;
  void WriteInteger(const String& Section, const String& Ident, int32_t Value) override;
  bool ReadBool(const String& Section, const String& Ident, bool Default) override;
  void WriteBool(const String& Section, const String& Ident, bool Value) override;
  double ReadFloat(const String& Section, const String& Ident, double Default) override;
  void WriteFloat(const String& Section, const String& Ident, double Value) override;
  int ReadBinaryStream(const String& Section, const String& Name, TStream* Value) override;
  void WriteBinaryStream(const String& Section, const String& Name, TStream* Value) override;

  bool SectionExists(const String& Section) override;
  bool ValueExists(const String& Section, const String& Ident) override;
  // Value names of the section's key.
  void ReadSection(const String& Section, TStrings* Strings) override;
  // Subkey names of the base key.
  void ReadSections(TStrings* Strings) override;
  // "name=value" lines; integers as decimal text, binary data as hexadecimal text.
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  // Deletes the section's key with all keys below it.
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override {}

private:
  // The section's key path from the root, with a leading "\".
  String KeyPath(const String& Section) const;
  // Reading opens read-only; writing needs the key (nil when it is missing); creating
  // makes the key and the keys on its path, raising ERegistryException when it cannot.
  enum TOpenMode { omRead, omWrite, omCreate };
  // A registry with the section's key open, or nil.
  std::unique_ptr<TRegistry> Open(const String& Section, TOpenMode mode);
  // A number or Boolean as ReadNative reads it when the value has the type Native, as
  // ParseText reads it when it is text; Default when the key or the value is missing,
  // has another type or cannot be read.
  template <class T, class N, class P>
  T ReadTyped(const String& Section, const String& Ident, T Default, TRegDataType Native, N&& ReadNative,
              P&& ParseText);

  HKEY FRootKey;
  uint32_t FAccess;
};
