#include "fuzz/common/Dumps.h"

#include "bars/layout/layoutformat.h"
#include "platform/Strings.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "fuzz/common/FuzzClasses.h"
#include "platform/BmpFormat.h"
#include "platform/Filer.h"
#include "platform/ImageListData.h"
#include "platform/IniParser.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"

std::string Escaped(const String& s)
{
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (wchar_t ch : s) {
    auto code = uint32_t(ch);
    if (code >= 0x20 && code < 0x7F && ch != L'\\') {
      out += char(code);
      continue;
    }
    out += "\\u";
    for (int shift = code > 0xFFFF ? 28 : 12; shift >= 0; shift -= 4)
      out += hex[(code >> shift) & 15];
  }
  return out;
}

// ---------------------------------------------------------------------------
// Form trees

namespace {

String Widen(const std::string& s)
{
  return String(s.begin(), s.end());
}

String FloatText(double v)
{
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, r.ptr);
  // "-0" or "100" would read back as integers.
  if (s.find_first_of(".e") == std::string::npos)
    s += ".0";
  return Widen(s);
}

// Quoted runs for printable characters, #nn codes for the rest.
String StringText(const String& s)
{
  if (s.empty())
    return L"''";
  String out;
  bool quoted = false;
  for (wchar_t ch : s) {
    bool printable = ch >= L' ' && ch < 0x7F;
    if (printable != quoted) {
      out += L'\'';
      quoted = printable;
    }
    if (!printable)
      out += L"#" + std::to_wstring(uint32_t(ch));
    else
      out += ch == L'\'' ? String(L"''") : String(1, ch);
  }
  if (quoted)
    out += L'\'';
  return out;
}

class TTreePrinter {
public:
  explicit TTreePrinter(bool lines) : FLines(lines) {}
  String Out;

  void Object(const TFormObject& o, int indent)
  {
    static const wchar_t* kinds[] = {L"object", L"inherited", L"inline"};
    Pad(indent);
    Out += kinds[int(o.Kind)];
    Out += L' ';
    Out += o.Name.empty() ? o.ClassName : o.Name + L": " + o.ClassName;
    if (o.Position)
      Out += L" [" + std::to_wstring(*o.Position) + L"]";
    At(o.Line);
    Out += L'\n';
    for (const TFormProperty& p : o.Properties)
      Property(p, indent + 1);
    for (const TFormObject& c : o.Children)
      Object(c, indent + 1);
    Pad(indent);
    Out += L"end";
    At(o.EndLine);
    Out += L'\n';
  }

private:
  void Pad(int indent) { Out.append(size_t(indent) * 2, L' '); }
  void At(int line)
  {
    if (FLines)
      Out += L" @" + std::to_wstring(line);
  }

  void Property(const TFormProperty& p, int indent)
  {
    Pad(indent);
    Out += p.Name;
    At(p.Line);
    Out += L" = ";
    Value(p.Value, indent);
    Out += L'\n';
  }

  void Value(const TFormValue& v, int indent)
  {
    switch (v.Kind) {
      case TFormValueKind::Integer:
        Out += std::to_wstring(v.Int);
        break;
      case TFormValueKind::Float:
        Out += FloatText(v.Float);
        break;
      case TFormValueKind::String:
        Out += StringText(v.Text);
        break;
      case TFormValueKind::Ident:
        Out += v.Text;
        break;
      case TFormValueKind::Set:
        Out += L'[';
        for (size_t i = 0; i < v.Names.size(); ++i)
          Out += (i ? L", " : L"") + v.Names[i];
        Out += L']';
        break;
      case TFormValueKind::List:
        Out += L"(\n";
        for (const TFormValue& item : v.Items) {
          Pad(indent + 1);
          Value(item, indent + 1);
          Out += L'\n';
        }
        Pad(indent);
        Out += L')';
        At(v.EndLine);
        break;
      case TFormValueKind::Collection:
        Out += L"<\n";
        for (const TFormItem& item : v.Collection) {
          Pad(indent + 1);
          Out += L"item";
          if (item.Order)
            Out += L" [" + std::to_wstring(*item.Order) + L"]";
          At(item.Line);
          Out += L'\n';
          for (const TFormProperty& p : item.Properties)
            Property(p, indent + 2);
          Pad(indent + 1);
          Out += L"end";
          At(item.EndLine);
          Out += L'\n';
        }
        Pad(indent);
        Out += L'>';
        At(v.EndLine);
        break;
      case TFormValueKind::Binary: {
        static const wchar_t hex[] = L"0123456789ABCDEF";
        Out += L'{';
        for (uint8_t b : v.Bytes) {
          Out += hex[b >> 4];
          Out += hex[b & 15];
        }
        Out += L'}';
        break;
      }
    }
    At(v.Line);
  }

  bool FLines;
};

std::string ErrorText(const char* kind, const String& message)
{
  return std::string("error ") + kind + ": " + Escaped(message) + "\n";
}

// Every line of the text, escaped, one per output line.
std::string EscapedLines(const String& text)
{
  std::string out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == String::npos)
      end = text.size();
    out += Escaped(text.substr(start, end - start)) + "\n";
    start = end + 1;
  }
  return out;
}

// For each line of UTF-8 text: the line, a colon and what Dump says of it.
template <class F>
std::string DumpEachLine(const std::string& bytes, F&& Dump)
{
  std::string out;
  String text = FromUtf8(bytes);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(text.find(L'\n', start), text.size());
    String line = text.substr(start, end - start);
    out += Escaped(line) + ":" + Dump(line) + "\n";
    start = end + 1;
  }
  return out;
}

String TextOf(const std::string& bytes)
{
  return FormDataBytesToText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

String FormTreeText(const TFormObject& root, bool Lines)
{
  TTreePrinter printer(Lines);
  printer.Object(root, 0);
  return printer.Out;
}

std::string DumpForm(const std::string& bytes)
{
  try {
    return EscapedLines(FormTreeText(ParseFormText(TextOf(bytes)), true));
  } catch (const EFormSyntaxError& e) {
    return ErrorText("syntax", L"Line " + IntToStr(e.Line()) + L": " + e.Message());
  }
}

std::string DumpReader(const std::string& bytes)
{
  RegisterFuzzClasses();
  try {
    TComponent* root = TextToComponent(TextOf(bytes));
    String text = ComponentToText(root);
    root->Free();
    return EscapedLines(text);
  } catch (const EReadError& e) {
    return ErrorText("read", e.Message());
  }
}

std::string DumpIni(const std::string& bytes)
{
  static const char* encodings[] = {"utf-8", "utf-8 with mark", "utf-16le", "utf-16be", "ansi"};
  TIniEncoding encoding;
  TIniDocument doc;
  doc.Parse(DecodeIniText(bytes, encoding));
  std::string out = std::string("encoding ") + encodings[int(encoding)] + "\n";
  for (const String& line : doc.Lines())
    out += Escaped(line) + "\n";
  // Lookups go through the case-insensitive indexes.
  for (const String& section : doc.SectionNames())
    for (const String& key : doc.FindSection(UpperCase(section))->Keys())
      out += "[" + Escaped(section) + "] " + Escaped(key) + " -> " +
             Escaped(*doc.Find(LowerCase(section), UpperCase(key))) + "\n";
  return out;
}

static uint64_t HashOf(const std::vector<uint8_t>& bytes)
{
  uint64_t hash = 0xCBF29CE484222325ull;
  for (uint8_t b : bytes)
    hash = (hash ^ b) * 0x100000001B3ull;
  return hash;
}

std::string DumpBmp(const std::string& bytes)
{
  std::string out;
  for (bool fileHeader : {true, false}) {
    out += fileHeader ? "file: " : "packed: ";
    try {
      TDibImage img = ParseDib(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), fileHeader);
      uint64_t hash = HashOf(img.Bits);
      out += std::to_string(img.Width) + "x" + std::to_string(img.Height) + " " + std::to_string(img.BitCount) +
             (img.Is565 ? " 565" : "") + " table " + std::to_string(img.Table.size()) + " bits " +
             std::to_string(img.Bits.size()) + " hash " + std::to_string(hash) + "\n";
    } catch (const EInvalidGraphic& e) {
      out += ErrorText("bitmap", e.Message());
    }
  }
  return out;
}

std::string DumpImageList(const std::string& bytes)
{
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(0);
  try {
    TImageListData data = ReadImageListData(&stream);
    return std::to_string(data.Count) + " of " + std::to_string(data.Width) + "x" + std::to_string(data.Height) +
           (data.Masked ? " masked" : "") + " images " + std::to_string(HashOf(data.Images)) + " masks " +
           std::to_string(HashOf(data.Masks)) + "\n";
  } catch (const EReadError& e) {
    return ErrorText("image list", e.Message());
  }
}

std::string DumpNumbers(const std::string& bytes)
{
  return DumpEachLine(bytes, [](const String& s) {
    int32_t i;
    int64_t i64;
    double f;
    bool b;
    std::string out = TryStrToInt(s, i) ? " int " + std::to_string(i) : " int -";
    out += TryStrToInt64(s, i64) ? " int64 " + std::to_string(i64) : " int64 -";
    out += TryStrToFloat(s, f) ? " float " + Escaped(FloatToStr(f)) : " float -";
    out += TryStrToBool(s, b) ? (b ? " bool true" : " bool false") : " bool -";
    return out;
  });
}

String FuzzKeyName(uint8_t Key)
{
  // The names every layout shares (fixed ones, digits, letters, function keys) and,
  // for the keys a layout names itself, a stand-in of typical names.
  struct TName {
    uint8_t Key;
    const wchar_t* Name;
  };
  static const TName names[] = {
      {0x08, L"BkSp"},  {0x09, L"Tab"},       {0x0D, L"Enter"}, {0x10, L"Shift"}, {0x11, L"Ctrl"},  {0x12, L"Alt"},
      {0x13, L"Pause"}, {0x14, L"Caps Lock"}, {0x1B, L"Esc"},   {0x20, L"Space"}, {0x21, L"PgUp"},  {0x22, L"PgDn"},
      {0x23, L"End"},   {0x24, L"Home"},      {0x25, L"Left"},  {0x26, L"Up"},    {0x27, L"Right"}, {0x28, L"Down"},
      {0x2D, L"Ins"},   {0x2E, L"Del"},       {0x6A, L"Num *"}, {0x6B, L"Num +"}, {0x6D, L"Num -"}, {0x6E, L"Num Del"},
      {0x6F, L"Num /"}, {0x90, L"Num Lock"},  {0xBA, L";"},     {0xBB, L"="},     {0xBC, L","},     {0xBD, L"-"},
      {0xBE, L"."},     {0xBF, L"/"},         {0xC0, L"`"},     {0xDB, L"["},     {0xDC, L"\\"},    {0xDD, L"]"},
      {0xDE, L"'"},     {0xE2, L"\\"},
  };
  for (const TName& n : names)
    if (n.Key == Key)
      return n.Name;
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
    return String(1, wchar_t(Key));
  if (Key >= 0x60 && Key <= 0x69)
    return L"Num " + String(1, wchar_t('0' + Key - 0x60));
  if (Key >= 0x70 && Key <= 0x87)
    return L"F" + IntToStr(Key - 0x70 + 1);
  return String();
}

const TKeyNameTable& FuzzKeyNames()
{
  static const TKeyNameTable table = [] {
    TKeyNameTable t;
    t.Fill(FuzzKeyName);
    return t;
  }();
  return table;
}

std::string DumpShortCuts(const std::string& bytes)
{
  return DumpEachLine(bytes, [](const String& s) {
    TShortCut sc = ShortCutOfText(s, FuzzKeyNames());
    return " " + std::to_string(sc) + " " + Escaped(ShortCutTextOf(sc, FuzzKeyName));
  });
}

std::string DumpLayout(const std::string& bytes)
{
  TIniEncoding encoding;
  TMemIniFile source;
  source.SetText(DecodeIniText(bytes, encoding));
  const TdxBarLayoutStore from{&source, L"Form1.dxBarManager1.", false};
  const TdxBarManagerLayout layout = dxBarReadLayout(from, true);
  TMemIniFile written;
  const TdxBarLayoutStore to{&written, from.Base, false};
  dxBarWriteLayout(to, layout, true, std::vector<TdxBarLinksLayoutKind>(layout.Bars.size(), {true, true, true}));
  std::string out;
  TStringList lines;
  written.GetStrings(&lines);
  for (int i = 0; i < lines.Count(); ++i)
    out += Escaped(lines.Strings(i)) + "\n";
  return out;
}
