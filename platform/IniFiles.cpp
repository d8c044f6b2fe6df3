#include "platform/IniFiles.h"

#include "platform/Streams.h"
#include "platform/Strings.h"

IMPLEMENT_CLASS(TCustomIniFile, TObject)
IMPLEMENT_CLASS(TMemIniFile, TCustomIniFile)

// ---------------------------------------------------------------------------
// TCustomIniFile: the typed values on top of ReadString and WriteString.

int32_t TCustomIniFile::ReadInteger(const String& Section, const String& Ident, int32_t Default)
{
  return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, int32_t Value)
{
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::TextToBool(const String& Text, bool Default)
{
  int32_t number;
  if (TryStrToInt(Text, number))
    return number != 0;
  if (SameText(Text, L"True"))
    return true;
  if (SameText(Text, L"False"))
    return false;
  return Default;
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default)
{
  return TextToBool(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value)
{
  WriteString(Section, Ident, Value ? L"1" : L"0");
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default)
{
  return StrToFloatDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value)
{
  WriteString(Section, Ident, FloatToStr(Value));
}

int TCustomIniFile::ReadBinaryStream(const String& Section, const String& Name, TStream* Value)
{
  String text = ReadString(Section, Name, String());
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    int hi = HexDigitValue(text[i]), lo = HexDigitValue(text[i + 1]);
    if (hi < 0 || lo < 0)
      break;
    bytes.push_back(uint8_t(hi * 16 + lo));
  }
  return PutBytes(Value, bytes);
}

std::vector<uint8_t> TCustomIniFile::RemainingBytes(TStream* Stream)
{
  int64_t count = std::max<int64_t>(Stream->GetSize() - Stream->GetPosition(), 0);
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  Stream->ReadBuffer(bytes.data(), count);
  return bytes;
}

int TCustomIniFile::PutBytes(TStream* Stream, const std::vector<uint8_t>& Bytes)
{
  if (Bytes.empty())
    return 0;
  int64_t position = Stream->GetPosition();
  Stream->WriteBuffer(Bytes.data(), int64_t(Bytes.size()));
  Stream->SetPosition(position);
  return int(Bytes.size());
}

void TCustomIniFile::WriteBinaryStream(const String& Section, const String& Name, TStream* Value)
{
  static const wchar_t digits[] = L"0123456789ABCDEF";
  std::vector<uint8_t> bytes = RemainingBytes(Value);
  String text;
  text.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  WriteString(Section, Name, text);
}

bool TCustomIniFile::SectionExists(const String& Section)
{
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident)
{
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.IndexOf(Ident) >= 0;
}

// ---------------------------------------------------------------------------
// TMemIniFile

TMemIniFile::TMemIniFile(const String& FileName) : TCustomIniFile(FileName)
{
  LoadValues();
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default)
{
  BeforeAccess();
  const String* value = FDocument.Find(Section, Ident);
  return value ? *value : Default;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value)
{
  BeforeAccess();
  FDocument.Set(Section, Ident, Value);
  Changed();
}

bool TMemIniFile::SectionExists(const String& Section)
{
  BeforeAccess();
  return FDocument.FindSection(Section) != nullptr;
}

bool TMemIniFile::ValueExists(const String& Section, const String& Ident)
{
  BeforeAccess();
  return FDocument.Find(Section, Ident) != nullptr;
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings)
{
  BeforeAccess();
  const TIniSection* section = FDocument.FindSection(Section);
  ReplaceStrings(*Strings, section ? section->Keys() : std::vector<String>());
}

void TMemIniFile::ReadSections(TStrings* Strings)
{
  BeforeAccess();
  ReplaceStrings(*Strings, FDocument.SectionNames());
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings)
{
  BeforeAccess();
  std::vector<String> lines;
  if (const TIniSection* section = FDocument.FindSection(Section))
    for (const String& key : section->Keys())
      lines.push_back(key + L"=" + *section->Find(key));
  ReplaceStrings(*Strings, lines);
}

void TMemIniFile::EraseSection(const String& Section)
{
  BeforeAccess();
  if (FDocument.EraseSection(Section))
    Changed();
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident)
{
  BeforeAccess();
  if (FDocument.Delete(Section, Ident))
    Changed();
}

void TMemIniFile::Clear()
{
  FDocument.Clear();
  Changed();
}

void TMemIniFile::GetStrings(TStrings* List)
{
  BeforeAccess();
  WithUpdate(*List, [&] {
    for (const String& line : FDocument.Lines())
      List->Add(line);
  });
}

void TMemIniFile::SetStrings(TStrings* List)
{
  String text;
  for (int i = 0; i < List->Count(); ++i) {
    text += List->Strings(i);
    text += L'\n';
  }
  SetText(text);
}

String TMemIniFile::GetText()
{
  BeforeAccess();
  return FDocument.Text();
}

void TMemIniFile::SetText(const String& Text)
{
  FDocument.Parse(Text);
  Changed();
}

void TMemIniFile::Rename(const String& FileName, bool Reload)
{
  FFileName = FileName;
  if (Reload)
    LoadValues();
}
