// Ini files: TCustomIniFile reads and writes typed values by section and key, the
// interface layouts and settings are stored through (also by the registry's
// TRegistryIniFile). TMemIniFile holds a whole file in memory and writes it on
// UpdateFile; TIniFile writes every change through to its file.
#pragma once

#include "platform/IniParser.h"
#include "platform/SysUtils.h"

class TStrings;
class TStream;

class TCustomIniFile : public TObject {
  DECLARE_CLASS(TCustomIniFile, TObject)
public:
  explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}
  const String& FileName() const { return FFileName; }

  virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // Decimal or hexadecimal ("0x1F", "$1F") text; anything else gives Default.
  virtual int32_t ReadInteger(const String& Section, const String& Ident, int32_t Default);
  virtual void WriteInteger(const String& Section, const String& Ident, int32_t Value);
  // Written as "1" or "0"; any integer (nonzero is true), "True" or "False" is read.
  virtual bool ReadBool(const String& Section, const String& Ident, bool Default);
  virtual void WriteBool(const String& Section, const String& Ident, bool Value);
  // "." as the decimal point whatever the locale.
  virtual double ReadFloat(const String& Section, const String& Ident, double Default);
  virtual void WriteFloat(const String& Section, const String& Ident, double Value);
  // Bytes as hexadecimal text, two digits a byte. Reading writes the bytes into Value at
  // its position, leaves the position at the first of them and returns their number
  // (0 for a missing value); decoding stops at the first pair that is not hexadecimal.
  // Writing takes Value from its position to its end.
  virtual int ReadBinaryStream(const String& Section, const String& Name, TStream* Value);
  virtual void WriteBinaryStream(const String& Section, const String& Name, TStream* Value);

  virtual bool SectionExists(const String& Section);
  virtual bool ValueExists(const String& Section, const String& Ident);
  // Each fills Strings anew: key names, section names, "key=value" lines.
  virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  virtual void ReadSectionValues(const String& Section, TStrings* Strings) = 0;
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  // Makes the changes permanent where the store needs it.
  virtual void UpdateFile() = 0;

protected:
  // The text forms ReadBool takes: an integer (nonzero is true), "True" or "False".
  static bool TextToBool(const String& Text, bool Default);
  // A binary value to write: Stream from its position to its end.
  static std::vector<uint8_t> RemainingBytes(TStream* Stream);
  // Writes a binary value read into Stream at its position, leaves the position at the
  // first byte and returns the number of bytes.
  static int PutBytes(TStream* Stream, const std::vector<uint8_t>& Bytes);

  String FFileName;
};

// A whole ini file in memory. With an empty file name it is purely in memory; otherwise
// the file is read on creation (when it exists) and written by UpdateFile. Section and
// key names are case-insensitive and keep the spelling they were first written with.
// A damaged file gives what can be read: keys before the first section, lines without
// "=" and repeated keys are no values, but lines are written back as they were read.
class TMemIniFile : public TCustomIniFile {
  DECLARE_CLASS(TMemIniFile, TCustomIniFile)
public:
  explicit TMemIniFile(const String& FileName = String());

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  // A section exists while it is in the file, with keys or without.
  bool SectionExists(const String& Section) override;
  bool ValueExists(const String& Section, const String& Ident) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // Writes the file in the encoding it was read with (UTF-8 for a new or ANSI file);
  // does nothing without a file name. Errors of the file system reach the caller.
  void UpdateFile() override;

  void Clear();
  // Appends the file's lines to List; SetStrings replaces the content by List's lines.
  void GetStrings(TStrings* List);
  void SetStrings(TStrings* List);
  // The file text as a whole, CR LF line ends.
  String GetText();
  void SetText(const String& Text);
  // Changes the file name; Reload reads the new file in place of the content.
  void Rename(const String& FileName, bool Reload);
  TIniEncoding Encoding() const { return FEncoding; }
  void SetEncoding(TIniEncoding Value) { FEncoding = Value; }

protected:
  // Hooks for a file that is kept in step with the disk: called before every access
  // and after every change.
  virtual void BeforeAccess() {}
  virtual void Changed() {}
  void LoadValues();

  TIniDocument FDocument;
  TIniEncoding FEncoding = TIniEncoding::Utf8;
};

// An ini file that writes each change through at once and reads the file again when it
// changed on disk since this object last read or wrote it.
class TIniFile : public TMemIniFile {
  DECLARE_CLASS(TIniFile, TMemIniFile)
public:
  explicit TIniFile(const String& FileName);
  void UpdateFile() override;

protected:
  void BeforeAccess() override;
  void Changed() override;

private:
  void RememberStamp();
  uint64_t FStampTime = 0;
  int64_t FStampSize = -1;
};
