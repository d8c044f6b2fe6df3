#include "platform/IniParser.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Encodings

namespace {

// Strict enough to tell UTF-8 from ANSI text: well-formed sequences, no overlong forms,
// no surrogates.
bool IsValidUtf8(std::string_view s)
{
  size_t i = 0, n = s.size();
  while (i < n) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    uint32_t cp;
    if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else
      return false;
    if (i + size_t(extra) >= n)
      return false;
    for (int k = 1; k <= extra; ++k) {
      auto b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80)
        return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    static const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += size_t(extra) + 1;
  }
  return true;
}

String DecodeWindows1252(std::string_view s)
{
  // 0x80-0x9F; zero marks the five unused codes, which map to themselves.
  static const wchar_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                   0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  String out;
  out.reserve(s.size());
  for (char ch : s) {
    auto c = static_cast<unsigned char>(ch);
    out += c >= 0x80 && c < 0xA0 && high[c - 0x80] ? high[c - 0x80] : wchar_t(c);
  }
  return out;
}

String DecodeUtf16(std::string_view s, bool bigEndian)
{
  String out;
  out.reserve(s.size() / 2);
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    auto a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
    out += wchar_t(bigEndian ? (a << 8) | b : (b << 8) | a);
  }
  return out;
}

// UTF-8 for the text, with U+FFFD for an unpaired surrogate (left by a damaged UTF-16
// file or a #nn code of form data): encoded alone it is no UTF-8, and the whole file would
// read back as ANSI.
std::string EncodeUtf8(const String& text)
{
  String clean = text;
  for (size_t i = 0; i < clean.size(); ++i) {
    bool high = clean[i] >= 0xD800 && clean[i] <= 0xDBFF;
    if (high && i + 1 < clean.size() && clean[i + 1] >= 0xDC00 && clean[i + 1] <= 0xDFFF)
      ++i;
    else if (high || (clean[i] >= 0xDC00 && clean[i] <= 0xDFFF))
      clean[i] = 0xFFFD;
  }
  return ToUtf8(clean);
}

bool StartsWith(std::string_view s, std::string_view prefix)
{
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

}  // namespace

String DecodeIniText(std::string_view bytes, TIniEncoding& encoding, const TAnsiDecoder& ansi)
{
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    encoding = TIniEncoding::Utf8Bom;
    return FromUtf8(std::string(bytes.substr(3)));
  }
  if (StartsWith(bytes, "\xFF\xFE")) {
    encoding = TIniEncoding::Utf16LE;
    return DecodeUtf16(bytes.substr(2), false);
  }
  if (StartsWith(bytes, "\xFE\xFF")) {
    encoding = TIniEncoding::Utf16BE;
    return DecodeUtf16(bytes.substr(2), true);
  }
  if (IsValidUtf8(bytes)) {
    encoding = TIniEncoding::Utf8;
    return FromUtf8(std::string(bytes));
  }
  encoding = TIniEncoding::Ansi;
  return ansi ? ansi(bytes) : DecodeWindows1252(bytes);
}

std::string EncodeIniText(const String& text, TIniEncoding encoding)
{
  switch (encoding) {
    case TIniEncoding::Utf16LE:
    case TIniEncoding::Utf16BE: {
      const bool big = encoding == TIniEncoding::Utf16BE;
      std::string out = big ? "\xFE\xFF" : "\xFF\xFE";
      out.reserve(2 + text.size() * 2);
      auto put = [&](uint16_t unit) {
        auto hi = char(unit >> 8), lo = char(unit & 0xFF);
        out += big ? hi : lo;
        out += big ? lo : hi;
      };
      for (wchar_t ch : text) {
        // Where wchar_t is 32 bits, a character beyond 16 bits becomes its pair.
        if (IsBeyondUtf16Unit(ch)) {
          put(uint16_t(0xD800 + ((uint32_t(ch) - 0x10000) >> 10)));
          put(uint16_t(0xDC00 + ((uint32_t(ch) - 0x10000) & 0x3FF)));
        } else {
          put(uint16_t(ch));
        }
      }
      return out;
    }
    case TIniEncoding::Utf8Bom:
      return "\xEF\xBB\xBF" + EncodeUtf8(text);
    case TIniEncoding::Utf8:
    case TIniEncoding::Ansi:
      break;
  }
  // A leading U+FEFF would be taken for the byte-order mark when read: it keeps one.
  if (!text.empty() && text[0] == 0xFEFF)
    return "\xEF\xBB\xBF" + EncodeUtf8(text);
  return EncodeUtf8(text);
}

// ---------------------------------------------------------------------------
// Sections

const String* TIniSection::Find(const String& key) const
{
  auto it = FIndex.find(UpperCase(key));
  return it == FIndex.end() ? nullptr : &FLines[it->second].Value;
}

void TIniSection::Set(const String& key, const String& value)
{
  auto [it, added] = FIndex.try_emplace(UpperCase(key), FLines.size());
  if (added)
    FLines.push_back(TIniLine{key, value, true});
  else
    FLines[it->second].Value = value;
}

bool TIniSection::Delete(const String& key)
{
  if (!FIndex.count(UpperCase(key)))
    return false;
  // Every line of the key goes, so that a repeated key of a damaged file does not come
  // back as the key's value.
  std::erase_if(FLines, [&](const TIniLine& l) { return l.IsValue && SameText(l.Name, key); });
  Reindex();
  return true;
}

void TIniSection::AddRaw(const String& text)
{
  FLines.push_back(TIniLine{text, String(), false});
}

void TIniSection::AddParsed(const String& key, const String& value)
{
  FIndex.try_emplace(UpperCase(key), FLines.size());
  FLines.push_back(TIniLine{key, value, true});
}

std::vector<String> TIniSection::Keys() const
{
  std::vector<String> keys;
  for (size_t i = 0; i < FLines.size(); ++i) {
    if (!FLines[i].IsValue)
      continue;
    auto it = FIndex.find(UpperCase(FLines[i].Name));
    if (it != FIndex.end() && it->second == i)
      keys.push_back(FLines[i].Name);
  }
  return keys;
}

void TIniSection::Reindex()
{
  FIndex.clear();
  for (size_t i = 0; i < FLines.size(); ++i)
    if (FLines[i].IsValue)
      FIndex.try_emplace(UpperCase(FLines[i].Name), i);
}

// ---------------------------------------------------------------------------
// The document

namespace {

// A section header: "[" up to the last "]" on the line, or to its end when the "]" is
// missing, so that the lines after a damaged header do not fall into the section before.
String SectionNameOf(const String& line)
{
  size_t close = line.rfind(L']');
  if (close == String::npos || close == 0)
    return Trim(line.substr(1));
  return Trim(line.substr(1, close - 1));
}

// Line breaks inside a name or value would split the line when the file is read again.
String OneLine(const String& s)
{
  if (s.find_first_of(L"\r\n") == String::npos)
    return s;
  String r = s;
  std::replace(r.begin(), r.end(), L'\r', L' ');
  std::replace(r.begin(), r.end(), L'\n', L' ');
  return r;
}

}  // namespace

void TIniDocument::Parse(const String& text)
{
  Clear();
  TIniSection* current = nullptr;
  String line;
  const size_t n = text.size();
  for (size_t i = 0; i <= n; ++i) {
    wchar_t ch = i < n ? text[i] : L'\n';
    if (ch == L'\0')
      continue;
    if (ch != L'\r' && ch != L'\n') {
      line += ch;
      continue;
    }
    if (ch == L'\r' && i + 1 < n && text[i + 1] == L'\n')
      ++i;
    String s = Trim(line);
    line.clear();
    if (s.empty())
      continue;
    if (s[0] == L'[') {
      current = &AddSection(SectionNameOf(s));
      continue;
    }
    size_t eq = s[0] == L';' || s[0] == L'#' ? String::npos : s.find(L'=');
    String key = eq == String::npos ? String() : TrimRight(s.substr(0, eq));
    if (!current)
      FPrelude.push_back(s);  // keys before any section are not values
    else if (key.empty())
      current->AddRaw(s);
    else
      current->AddParsed(key, TrimLeft(s.substr(eq + 1)));
  }
}

std::vector<String> TIniDocument::Lines() const
{
  std::vector<String> lines = FPrelude;
  if (!FPrelude.empty())
    lines.emplace_back();
  for (const auto& section : FSections) {
    lines.push_back(L"[" + OneLine(section->Name()) + L"]");
    for (const TIniLine& l : section->Lines())
      lines.push_back(l.IsValue ? OneLine(l.Name) + L"=" + OneLine(l.Value) : OneLine(l.Name));
    lines.emplace_back();
  }
  return lines;
}

String TIniDocument::Text() const
{
  String text;
  for (const String& line : Lines()) {
    text += line;
    text += L"\r\n";
  }
  return text;
}

void TIniDocument::Clear()
{
  FPrelude.clear();
  FSections.clear();
  FIndex.clear();
}

const TIniSection* TIniDocument::FindSection(const String& name) const
{
  auto it = FIndex.find(UpperCase(name));
  return it == FIndex.end() ? nullptr : it->second;
}

TIniSection* TIniDocument::FindSection(const String& name)
{
  auto it = FIndex.find(UpperCase(name));
  return it == FIndex.end() ? nullptr : it->second;
}

TIniSection& TIniDocument::AddSection(const String& name)
{
  auto [it, added] = FIndex.try_emplace(UpperCase(name), nullptr);
  if (added) {
    FSections.push_back(std::make_unique<TIniSection>(name));
    it->second = FSections.back().get();
  }
  return *it->second;
}

bool TIniDocument::EraseSection(const String& name)
{
  auto it = FIndex.find(UpperCase(name));
  if (it == FIndex.end())
    return false;
  TIniSection* section = it->second;
  FIndex.erase(it);
  FSections.erase(std::find_if(FSections.begin(), FSections.end(), [&](const auto& s) { return s.get() == section; }));
  return true;
}

std::vector<String> TIniDocument::SectionNames() const
{
  std::vector<String> names;
  names.reserve(FSections.size());
  for (const auto& section : FSections)
    names.push_back(section->Name());
  return names;
}

const String* TIniDocument::Find(const String& section, const String& key) const
{
  const TIniSection* s = FindSection(section);
  return s ? s->Find(key) : nullptr;
}

void TIniDocument::Set(const String& section, const String& key, const String& value)
{
  AddSection(section).Set(key, value);
}

bool TIniDocument::Delete(const String& section, const String& key)
{
  TIniSection* s = FindSection(section);
  return s && s->Delete(key);
}
