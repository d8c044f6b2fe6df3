#include "platform/FormParser.h"

#include <charconv>
#include <utility>

EFormSyntaxError::EFormSyntaxError(int line, String message) : FLine(line), FMessage(std::move(message))
{
  FWhat = "Line " + std::to_string(line) + ": ";
  for (wchar_t ch : FMessage)
    FWhat += ch < 0x80 ? char(ch) : '?';
}

bool FormSameWord(const String& a, const wchar_t* b)
{
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= L'a' && x <= L'z')
      x = wchar_t(x - 32);
    if (y >= L'a' && y <= L'z')
      y = wchar_t(y - 32);
    if (x != y)
      return false;
  }
  return i == a.size() && !b[i];
}

namespace {

enum class TTok { End, Ident, Integer, Float, String, Symbol };

struct TToken {
  TTok Kind = TTok::End;
  int Line = 1;
  wchar_t Symbol = 0;
  String Text;  // Ident, String (decoded)
  int64_t Int = 0;
  double Float = 0;
};

bool IsLetter(wchar_t ch)
{
  return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z') || ch == L'_';
}
bool IsDigit(wchar_t ch)
{
  return ch >= L'0' && ch <= L'9';
}
int HexDigit(wchar_t ch)
{
  if (IsDigit(ch))
    return ch - L'0';
  if (ch >= L'A' && ch <= L'F')
    return ch - L'A' + 10;
  if (ch >= L'a' && ch <= L'f')
    return ch - L'a' + 10;
  return -1;
}

String Describe(wchar_t ch)
{
  if (ch > L' ' && ch < 0x7F)
    return String(L"'") + ch + L"'";
  return L"#" + std::to_wstring(unsigned(ch));
}

// Splits the text into tokens on demand; Cur is the token at hand.
class TLexer {
public:
  explicit TLexer(const String& text) : FText(text)
  {
    if (!FText.empty() && FText[0] == 0xFEFF)
      FPos = 1;
    Advance();
  }

  TToken Cur;

  [[noreturn]] void Fail(const String& message, int line = 0) const
  {
    throw EFormSyntaxError(line ? line : Cur.Line, message);
  }

  void Advance()
  {
    SkipBlanks();
    Cur = TToken();
    Cur.Line = FLine;
    if (FPos >= FText.size())
      return;
    wchar_t ch = FText[FPos];
    if (IsLetter(ch))
      LexIdent(String());
    else if (IsDigit(ch) || ch == L'$')
      LexNumber(false);
    else if (ch == L'-' && FPos + 1 < FText.size() && (IsDigit(FText[FPos + 1]) || FText[FPos + 1] == L'$')) {
      ++FPos;
      LexNumber(true);
    } else if (ch == L'-' && FPos + 1 < FText.size() && IsLetter(FText[FPos + 1])) {
      ++FPos;
      LexIdent(L"-");
      if (!FormSameWord(Cur.Text, L"-INF"))
        Fail(L"Invalid value " + Cur.Text);
    } else if (ch == L'\'' || ch == L'#')
      LexString();
    else if (String(L"=:[](){}<>,+").find(ch) != String::npos) {
      Cur.Kind = TTok::Symbol;
      Cur.Symbol = ch;
      ++FPos;
    } else
      Fail(L"Invalid character " + Describe(ch));
  }

  // Reads the hex digits after a "{" up to the closing "}", then moves on.
  std::vector<uint8_t> ReadBinaryBody()
  {
    std::vector<uint8_t> bytes;
    int pending = -1;
    for (;;) {
      SkipBlanks();
      if (FPos >= FText.size())
        Fail(L"Unterminated binary value", FLine);
      wchar_t ch = FText[FPos++];
      if (ch == L'}')
        break;
      int d = HexDigit(ch);
      if (d < 0)
        Fail(L"Invalid binary value: " + Describe(ch) + L" is no hex digit", FLine);
      if (pending < 0)
        pending = d;
      else {
        bytes.push_back(uint8_t(pending * 16 + d));
        pending = -1;
      }
    }
    if (pending >= 0)
      Fail(L"Invalid binary value: odd number of hex digits", FLine);
    Advance();
    return bytes;
  }

private:
  void SkipBlanks()
  {
    while (FPos < FText.size()) {
      wchar_t ch = FText[FPos];
      if (ch == L'\n' || (ch == L'\r' && (FPos + 1 >= FText.size() || FText[FPos + 1] != L'\n')))
        ++FLine;
      else if (ch != L' ' && ch != L'\t' && ch != L'\r' && ch != L'\f' && ch != L'\v')
        break;
      ++FPos;
    }
  }

  void LexIdent(String text)
  {
    Cur.Kind = TTok::Ident;
    for (;;) {
      while (FPos < FText.size() && (IsLetter(FText[FPos]) || IsDigit(FText[FPos])))
        text += FText[FPos++];
      // A dot joins name parts (Font.Name, Form2.Button1) when a name part follows.
      if (FPos + 1 < FText.size() && FText[FPos] == L'.' && IsLetter(FText[FPos + 1])) {
        text += FText[FPos++];
        continue;
      }
      break;
    }
    if (FPos < FText.size() && FText[FPos] == L'.')
      Fail(L"Invalid name " + text + L".");
    Cur.Text = std::move(text);
  }

  void LexNumber(bool negative)
  {
    size_t start = FPos;
    if (FText[FPos] == L'$') {
      ++FPos;
      uint64_t v = 0;
      int digits = 0;
      while (FPos < FText.size() && HexDigit(FText[FPos]) >= 0) {
        if (v >> 60)
          Fail(L"Integer out of range");
        v = v * 16 + uint64_t(HexDigit(FText[FPos++]));
        ++digits;
      }
      if (!digits)
        Fail(L"Invalid hexadecimal number");
      FinishInteger(v, negative);
    } else {
      bool isFloat = false;
      while (FPos < FText.size() && IsDigit(FText[FPos]))
        ++FPos;
      if (FPos < FText.size() && FText[FPos] == L'.' && FPos + 1 < FText.size() && IsDigit(FText[FPos + 1])) {
        isFloat = true;
        ++FPos;
        while (FPos < FText.size() && IsDigit(FText[FPos]))
          ++FPos;
      }
      if (FPos < FText.size() && (FText[FPos] == L'E' || FText[FPos] == L'e')) {
        size_t e = FPos + 1;
        if (e < FText.size() && (FText[e] == L'+' || FText[e] == L'-'))
          ++e;
        if (e < FText.size() && IsDigit(FText[e])) {
          isFloat = true;
          FPos = e;
          while (FPos < FText.size() && IsDigit(FText[FPos]))
            ++FPos;
        }
      }
      std::string digits;
      if (negative)
        digits += '-';
      for (size_t i = start; i < FPos; ++i)
        digits += char(FText[i]);
      if (isFloat) {
        double v = 0;
        auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
        if (r.ec != std::errc() || r.ptr != digits.data() + digits.size())
          Fail(L"Float out of range: " + String(digits.begin(), digits.end()));
        Cur.Kind = TTok::Float;
        Cur.Float = v;
      } else {
        uint64_t v = 0;
        auto r = std::from_chars(digits.data() + (negative ? 1 : 0), digits.data() + digits.size(), v);
        if (r.ec != std::errc())
          Fail(L"Integer out of range: " + String(digits.begin(), digits.end()));
        FinishInteger(v, negative);
      }
    }
    if (FPos < FText.size() && (IsLetter(FText[FPos]) || FText[FPos] == L'.'))
      Fail(L"Invalid number");
  }

  void FinishInteger(uint64_t magnitude, bool negative)
  {
    if (magnitude > (negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX)))
      Fail(L"Integer out of range");
    Cur.Kind = TTok::Integer;
    Cur.Int = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
  }

  // Quoted runs ('It''s') and character codes (#13, #$0A) written side by side.
  void LexString()
  {
    Cur.Kind = TTok::String;
    String text;
    while (FPos < FText.size()) {
      wchar_t ch = FText[FPos];
      if (ch == L'\'') {
        ++FPos;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == L'\n' || FText[FPos] == L'\r')
            Fail(L"Unterminated string", FLine);
          wchar_t c = FText[FPos++];
          if (c == L'\'') {
            if (FPos < FText.size() && FText[FPos] == L'\'') {
              text += L'\'';
              ++FPos;
              continue;
            }
            break;
          }
          text += c;
        }
      } else if (ch == L'#') {
        ++FPos;
        uint32_t code = 0;
        int digits = 0;
        bool hex = FPos < FText.size() && FText[FPos] == L'$';
        if (hex)
          ++FPos;
        while (FPos < FText.size() && (hex ? HexDigit(FText[FPos]) >= 0 : IsDigit(FText[FPos]))) {
          code = code * (hex ? 16 : 10) + uint32_t(hex ? HexDigit(FText[FPos]) : FText[FPos] - L'0');
          ++FPos;
          if (++digits > 6 || code > 0xFFFF)
            Fail(L"Character code out of range", FLine);
        }
        if (!digits)
          Fail(L"Invalid character code after #", FLine);
        text += wchar_t(code);
      } else {
        break;
      }
    }
    Cur.Text = std::move(text);
  }

  const String& FText;
  size_t FPos = 0;
  int FLine = 1;
};

class TParser {
public:
  explicit TParser(const String& text) : FLex(text) {}

  TFormObject ParseFile()
  {
    if (!IsObjectStart())
      Fail(L"'object' expected but " + Found() + L" found");
    TFormObject root = ParseObject();
    if (FLex.Cur.Kind != TTok::End)
      Fail(L"End of text expected but " + Found() + L" found");
    return root;
  }

private:
  // Counts one level of nesting for the lifetime of a block.
  struct TDepth {
    TParser& P;
    explicit TDepth(TParser& p) : P(p)
    {
      if (++P.FDepth > kFormMaxNesting)
        P.Fail(L"Nesting deeper than " + std::to_wstring(kFormMaxNesting) + L" levels");
    }
    ~TDepth() { --P.FDepth; }
  };

  TToken& Cur() { return FLex.Cur; }
  [[noreturn]] void Fail(const String& message) { FLex.Fail(message); }

  String Found()
  {
    switch (Cur().Kind) {
      case TTok::End:
        return L"end of text";
      case TTok::Ident:
        return L"'" + Cur().Text + L"'";
      case TTok::Integer:
        return L"number " + std::to_wstring(Cur().Int);
      case TTok::Float:
        return L"number";
      case TTok::String:
        return L"string";
      case TTok::Symbol:
        return String(L"'") + Cur().Symbol + L"'";
    }
    return String();
  }

  bool IsSymbol(wchar_t s) { return Cur().Kind == TTok::Symbol && Cur().Symbol == s; }
  bool IsWord(const wchar_t* w) { return Cur().Kind == TTok::Ident && FormSameWord(Cur().Text, w); }
  bool IsObjectStart() { return IsWord(L"object") || IsWord(L"inherited") || IsWord(L"inline"); }

  void Expect(wchar_t s)
  {
    if (!IsSymbol(s))
      Fail(String(L"'") + s + L"' expected but " + Found() + L" found");
    FLex.Advance();
  }
  String ExpectIdent(const wchar_t* what)
  {
    if (Cur().Kind != TTok::Ident)
      Fail(String(what) + L" expected but " + Found() + L" found");
    String s = Cur().Text;
    FLex.Advance();
    return s;
  }
  int64_t ParseBracketedInteger()
  {
    Expect(L'[');
    if (Cur().Kind != TTok::Integer)
      Fail(L"Integer expected but " + Found() + L" found");
    int64_t v = Cur().Int;
    FLex.Advance();
    Expect(L']');
    return v;
  }

  TFormObject ParseObject()
  {
    TDepth depth(*this);
    TFormObject obj;
    obj.Line = Cur().Line;
    obj.Kind = IsWord(L"inherited") ? TFormObjectKind::Inherited
               : IsWord(L"inline")  ? TFormObjectKind::Inline
                                    : TFormObjectKind::Object;
    FLex.Advance();
    String first = ExpectIdent(L"Name");
    if (IsSymbol(L':')) {
      FLex.Advance();
      obj.Name = first;
      obj.ClassName = ExpectIdent(L"Class name");
    } else {
      obj.ClassName = first;
    }
    if (obj.Name.find(L'.') != String::npos || obj.ClassName.find(L'.') != String::npos)
      FLex.Fail(L"Invalid object name " + obj.Name + L": " + obj.ClassName, obj.Line);
    if (IsSymbol(L'['))
      obj.Position = ParseBracketedInteger();
    while (!IsWord(L"end")) {
      if (Cur().Kind == TTok::End)
        Fail(L"Unexpected end of text: 'end' of " + (obj.Name.empty() ? obj.ClassName : obj.Name) + L" missing");
      if (IsObjectStart()) {
        obj.Children.push_back(ParseObject());
      } else if (!obj.Children.empty()) {
        Fail(L"'end' or a child object expected but " + Found() + L" found");
      } else {
        obj.Properties.push_back(ParseProperty());
      }
    }
    obj.EndLine = Cur().Line;
    FLex.Advance();
    return obj;
  }

  TFormProperty ParseProperty()
  {
    TFormProperty prop;
    prop.Line = Cur().Line;
    prop.Name = ExpectIdent(L"Property name");
    Expect(L'=');
    prop.Value = ParseValue();
    return prop;
  }

  TFormValue ParseValue()
  {
    TFormValue v;
    v.Line = Cur().Line;
    switch (Cur().Kind) {
      case TTok::Integer:
        v.Kind = TFormValueKind::Integer;
        v.Int = Cur().Int;
        FLex.Advance();
        return v;
      case TTok::Float:
        v.Kind = TFormValueKind::Float;
        v.Float = Cur().Float;
        FLex.Advance();
        return v;
      case TTok::Ident:
        v.Kind = TFormValueKind::Ident;
        v.Text = Cur().Text;
        FLex.Advance();
        return v;
      case TTok::String:
        v.Kind = TFormValueKind::String;
        v.Text = Cur().Text;
        FLex.Advance();
        // Long strings are split across lines with "+".
        while (IsSymbol(L'+')) {
          FLex.Advance();
          if (Cur().Kind != TTok::String)
            Fail(L"String expected after '+' but " + Found() + L" found");
          v.Text += Cur().Text;
          FLex.Advance();
        }
        return v;
      case TTok::End:
        Fail(L"Unexpected end of text: value expected");
      case TTok::Symbol:
        break;
    }
    switch (Cur().Symbol) {
      case L'[': {
        v.Kind = TFormValueKind::Set;
        FLex.Advance();
        if (!IsSymbol(L']')) {
          for (;;) {
            v.Names.push_back(ExpectIdent(L"Set element"));
            if (IsSymbol(L']'))
              break;
            if (!IsSymbol(L','))
              Fail(L"',' or ']' expected but " + Found() + L" found");
            FLex.Advance();
          }
        }
        FLex.Advance();
        return v;
      }
      case L'(': {
        TDepth depth(*this);
        v.Kind = TFormValueKind::List;
        FLex.Advance();
        while (!IsSymbol(L')')) {
          if (Cur().Kind == TTok::End)
            Fail(L"Unexpected end of text: ')' missing");
          v.Items.push_back(ParseValue());
        }
        v.EndLine = Cur().Line;
        FLex.Advance();
        return v;
      }
      case L'<': {
        TDepth depth(*this);
        v.Kind = TFormValueKind::Collection;
        FLex.Advance();
        while (!IsSymbol(L'>')) {
          if (!IsWord(L"item"))
            Fail(L"'item' or '>' expected but " + Found() + L" found");
          v.Collection.push_back(ParseItem());
        }
        v.EndLine = Cur().Line;
        FLex.Advance();
        return v;
      }
      case L'{':
        v.Kind = TFormValueKind::Binary;
        v.Bytes = FLex.ReadBinaryBody();
        return v;
      default:
        Fail(L"Value expected but " + Found() + L" found");
    }
  }

  TFormItem ParseItem()
  {
    TDepth depth(*this);
    TFormItem item;
    item.Line = Cur().Line;
    FLex.Advance();
    if (IsSymbol(L'['))
      item.Order = ParseBracketedInteger();
    while (!IsWord(L"end")) {
      if (Cur().Kind == TTok::End)
        Fail(L"Unexpected end of text: 'end' of item missing");
      item.Properties.push_back(ParseProperty());
    }
    item.EndLine = Cur().Line;
    FLex.Advance();
    return item;
  }

  TLexer FLex;
  int FDepth = 0;
};

}  // namespace

TFormObject ParseFormText(const String& text)
{
  TParser parser(text);
  return parser.ParseFile();
}
