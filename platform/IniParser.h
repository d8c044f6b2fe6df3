// The text of ini files: "[section]" headers and "name=value" lines, read leniently (a
// damaged file gives what can be read) and written back with the lines that are not
// values kept in place. Only the standard library: this unit compiles for the host too.
#pragma once

#include <functional>
#include <string_view>
#include <unordered_map>

#include "platform/System.h"

// How the bytes of an ini file are encoded. Files without a byte-order mark are UTF-8
// when their bytes are valid UTF-8, ANSI otherwise; ANSI text is written back as UTF-8.
enum class TIniEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Ansi };

// Turns ANSI bytes into text (the system code page on Windows).
using TAnsiDecoder = std::function<String(std::string_view bytes)>;

// Decodes file bytes and reports the encoding found. Without an ANSI decoder ANSI bytes
// are taken as Windows-1252.
String DecodeIniText(std::string_view bytes, TIniEncoding& encoding, const TAnsiDecoder& ansi = {});
// Encodes text with a byte-order mark for Utf8Bom and both UTF-16 forms.
std::string EncodeIniText(const String& text, TIniEncoding encoding);

// One line of a section: a value, or a line kept as it was (comment, damaged line).
struct TIniLine {
  String Name;  // the key; the whole text for a line that is not a value
  String Value;
  bool IsValue = true;
};

// A section: its lines in file order and a case-insensitive index of its keys. The first
// line with a key wins when a damaged file repeats it.
class TIniSection {
public:
  explicit TIniSection(String name) : FName(std::move(name)) {}
  const String& Name() const { return FName; }
  const std::vector<TIniLine>& Lines() const { return FLines; }

  // Nil when the key is missing.
  const String* Find(const String& key) const;
  // Changes the value of the key or adds it at the end (keeping the first spelling).
  void Set(const String& key, const String& value);
  // Removes every line of the key.
  bool Delete(const String& key);
  void AddRaw(const String& text);
  // Appends a value line as read from a file; a repeated key stays hidden behind the first.
  void AddParsed(const String& key, const String& value);
  // Keys in file order, each once.
  std::vector<String> Keys() const;

private:
  void Reindex();
  String FName;
  std::vector<TIniLine> FLines;
  std::unordered_map<String, size_t> FIndex;  // upper-cased key -> line
};

// The whole file: sections in file order with a case-insensitive index, and the lines
// before the first section (never values, but written back).
class TIniDocument {
public:
  TIniDocument() = default;
  TIniDocument(const TIniDocument&) = delete;
  TIniDocument& operator=(const TIniDocument&) = delete;

  // Replaces the content by the parsed text. Never fails: lines that make no sense are
  // kept as text, NUL characters are dropped.
  void Parse(const String& text);
  // The file text: CR LF line ends, an empty line after each section.
  String Text() const;
  std::vector<String> Lines() const;
  void Clear();

  const TIniSection* FindSection(const String& name) const;
  TIniSection* FindSection(const String& name);
  // The section of that name, added at the end when missing.
  TIniSection& AddSection(const String& name);
  bool EraseSection(const String& name);
  std::vector<String> SectionNames() const;

  // Nil when the section or the key is missing.
  const String* Find(const String& section, const String& key) const;
  void Set(const String& section, const String& key, const String& value);
  bool Delete(const String& section, const String& key);

private:
  std::vector<String> FPrelude;
  std::vector<std::unique_ptr<TIniSection>> FSections;
  std::unordered_map<String, TIniSection*> FIndex;  // upper-cased name -> section
};
