#include "platform/SysUtils.h"

#include <charconv>
#include <cstdio>
#include <cmath>
#include <cwctype>
#include <limits>
#include <optional>

IMPLEMENT_CLASS(Exception, TObject)
IMPLEMENT_CLASS(EAbort, Exception)
IMPLEMENT_CLASS(EConvertError, Exception)
IMPLEMENT_CLASS(EListError, Exception)
IMPLEMENT_CLASS(EStringListError, Exception)
IMPLEMENT_CLASS(EComponentError, Exception)
IMPLEMENT_CLASS(EInvalidOperation, Exception)
IMPLEMENT_CLASS(EInvalidCast, Exception)
IMPLEMENT_CLASS(ERangeError, Exception)
IMPLEMENT_CLASS(EOutOfResources, Exception)
IMPLEMENT_CLASS(EOSError, Exception)
IMPLEMENT_CLASS(EStreamError, Exception)
IMPLEMENT_CLASS(EFOpenError, EStreamError)
IMPLEMENT_CLASS(EFCreateError, EStreamError)
IMPLEMENT_CLASS(EReadError, EStreamError)
IMPLEMENT_CLASS(EWriteError, EStreamError)
IMPLEMENT_CLASS(EFilerError, EStreamError)
IMPLEMENT_CLASS(EClassNotFound, EFilerError)
IMPLEMENT_CLASS(EMethodNotFound, EFilerError)
IMPLEMENT_CLASS(EInvalidImage, EFilerError)
IMPLEMENT_CLASS(EResNotFound, Exception)
IMPLEMENT_CLASS(EIniFileException, Exception)
IMPLEMENT_CLASS(ERegistryException, Exception)
IMPLEMENT_CLASS(EThread, Exception)
IMPLEMENT_CLASS(EInvalidGraphic, Exception)
IMPLEMENT_CLASS(EInvalidGraphicOperation, Exception)
IMPLEMENT_CLASS(EPropertyError, Exception)

void Exception::SetMessage(const String& message)
{
  FMessage = message;
  FNarrow = ToUtf8(message);
}

void Abort()
{
  throw EAbort(L"Operation aborted");
}

// ---------------------------------------------------------------------------
// Decimal text of floating-point values. Both Format and FloatToStr start from the
// digits and exponent of a value (value = 0.Digits x 10^Exponent) and lay them out.

namespace {

struct TDecimal {
  std::string Digits;  // without leading zeros; "0" for zero
  int Exponent = 0;
  bool Negative = false;
};

// Precision 0 asks for the shortest digits that read back to the same value.
TDecimal ToDecimal(double value, int precision)
{
  char buf[64];
  std::to_chars_result r =
      precision > 0 ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1)
                    : std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  TDecimal d;
  const char* p = buf;
  if (*p == '-') {
    d.Negative = true;
    ++p;
  }
  while (p < r.ptr && *p != 'e') {
    if (*p != '.')
      d.Digits += *p;
    ++p;
  }
  int exponent = 0;
  if (p < r.ptr)
    std::from_chars(p[1] == '+' ? p + 2 : p + 1, r.ptr, exponent);
  d.Exponent = exponent + 1;
  if (d.Digits.find_first_not_of('0') == std::string::npos) {
    d.Digits = "0";
    d.Exponent = 0;
  }
  return d;
}

String Widen(const std::string& s)
{
  return String(s.begin(), s.end());
}

std::optional<String> SpecialFloat(double value)
{
  if (std::isnan(value))
    return String(L"NAN");
  if (std::isinf(value))
    return String(value < 0 ? L"-INF" : L"INF");
  return std::nullopt;
}

// Fixed-point text with a number of decimals, optionally with thousands separators.
String FormatFixed(double value, int decimals, bool thousands)
{
  if (auto special = SpecialFloat(value))
    return *special;
  // Exact digits well past the last one shown, rounded here half away from zero as
  // amounts are expected to round (to_chars alone would round exact ties to even).
  constexpr int Extra = 30;
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals + Extra);
  std::string s(buf, r.ptr);
  bool negative = !s.empty() && s[0] == '-';
  if (negative)
    s.erase(0, 1);
  const size_t dot = s.find('.');
  const bool roundUp = s[dot + size_t(decimals) + 1] >= '5';
  s.resize(decimals > 0 ? dot + size_t(decimals) + 1 : dot);
  if (roundUp) {
    ptrdiff_t i = ptrdiff_t(s.size()) - 1;
    for (; i >= 0; --i) {
      if (s[size_t(i)] == '.')
        continue;
      if (s[size_t(i)] != '9') {
        ++s[size_t(i)];
        break;
      }
      s[size_t(i)] = '0';
    }
    if (i < 0)
      s.insert(0, 1, '1');
  }
  if (s.find_first_not_of("0.") == std::string::npos)
    negative = false;  // no "-0.00"
  if (thousands) {
    size_t intEnd = s.find('.');
    if (intEnd == std::string::npos)
      intEnd = s.size();
    for (ptrdiff_t i = ptrdiff_t(intEnd) - 3; i > 0; i -= 3)
      s.insert(size_t(i), 1, ',');
  }
  return (negative ? L"-" : L"") + Widen(s);
}

// %e: one digit, the decimal point, the rest of Precision digits, "E", sign, at least
// three exponent digits.
String FormatScientific(double value, int precision)
{
  if (auto special = SpecialFloat(value))
    return *special;
  TDecimal d = ToDecimal(value, precision);
  const bool zero = d.Digits == "0";
  if (zero)
    d.Digits.assign(size_t(precision), '0');
  int exponent = zero ? 0 : d.Exponent - 1;
  std::string s = d.Negative && !zero ? "-" : "";
  s += d.Digits[0];
  if (d.Digits.size() > 1)
    s += "." + d.Digits.substr(1);
  std::string e = std::to_string(std::abs(exponent));
  while (e.size() < 3)
    e.insert(0, 1, '0');
  s += std::string("E") + (exponent < 0 ? "-" : "+") + e;
  return Widen(s);
}

// The general form: fixed while the exponent is moderate, scientific ("1.5E-7",
// "1E20") otherwise, never with trailing zeros. Precision 0 gives round-trip digits.
String FormatGeneral(double value, int precision)
{
  if (auto special = SpecialFloat(value))
    return *special;
  TDecimal d = ToDecimal(value, precision);
  if (d.Digits == "0")
    return L"0";
  while (d.Digits.size() > 1 && d.Digits.back() == '0')
    d.Digits.pop_back();
  const int maxFixed = precision > 0 ? precision : 15;
  const int x = d.Exponent;
  const int n = int(d.Digits.size());
  std::string s = d.Negative ? "-" : "";
  if (x > maxFixed || x < -3) {
    s += d.Digits[0];
    if (n > 1)
      s += "." + d.Digits.substr(1);
    s += "E" + std::to_string(x - 1);
  } else if (x <= 0) {
    s += "0." + std::string(size_t(-x), '0') + d.Digits;
  } else if (x >= n) {
    s += d.Digits + std::string(size_t(x - n), '0');
  } else {
    s += d.Digits.substr(0, size_t(x)) + "." + d.Digits.substr(size_t(x));
  }
  return Widen(s);
}

// ---------------------------------------------------------------------------
// Format

[[noreturn]] void FormatError(const String& format)
{
  throw EConvertError(L"Format '" + format + L"' invalid or incompatible with argument");
}

// Widths and precisions beyond this are taken as a damaged format, not as a request
// for gigabytes of padding.
constexpr int64_t MaxFormatWidth = 1 << 20;

class TFormatter {
public:
  TFormatter(const String& format, std::initializer_list<TVarRec> args) : FFormat(format), FArgs(args) {}

  String Run()
  {
    const size_t n = FFormat.size();
    while (FPos < n) {
      wchar_t ch = FFormat[FPos++];
      if (ch != L'%') {
        FOut += ch;
        continue;
      }
      if (FPos >= n)
        Fail();
      if (FFormat[FPos] == L'%') {
        FOut += L'%';
        ++FPos;
        continue;
      }
      Directive();
    }
    return FOut;
  }

private:
  [[noreturn]] void Fail() const { FormatError(FFormat); }

  const TFormatArg& Take()
  {
    if (FNext >= FArgs.size())
      Fail();
    return (FArgs.begin() + FNext++)->Value;
  }

  int64_t TakeInt()
  {
    const TFormatArg& a = Take();
    if (!std::holds_alternative<int64_t>(a))
      Fail();
    return std::get<int64_t>(a);
  }

  // A number of digits or "*"; nullopt when neither is there.
  std::optional<int64_t> Number()
  {
    if (FPos < FFormat.size() && FFormat[FPos] == L'*') {
      ++FPos;
      return TakeInt();
    }
    size_t start = FPos;
    int64_t v = 0;
    while (FPos < FFormat.size() && FFormat[FPos] >= L'0' && FFormat[FPos] <= L'9') {
      v = v * 10 + (FFormat[FPos++] - L'0');
      if (v > MaxFormatWidth)
        Fail();
    }
    if (FPos == start)
      return std::nullopt;
    return v;
  }

  void Directive()
  {
    std::optional<int64_t> first = Number();
    if (FPos < FFormat.size() && FFormat[FPos] == L':') {
      ++FPos;
      if (!first || *first < 0)
        Fail();
      FNext = size_t(*first);
      first.reset();
    }
    bool left = false;
    if (!first && FPos < FFormat.size() && FFormat[FPos] == L'-') {
      left = true;
      ++FPos;
    }
    std::optional<int64_t> width = first ? first : Number();
    std::optional<int64_t> precision;
    if (FPos < FFormat.size() && FFormat[FPos] == L'.') {
      ++FPos;
      precision = Number().value_or(0);
    }
    if (FPos >= FFormat.size())
      Fail();
    if ((width && (*width < 0 || *width > MaxFormatWidth)) ||
        (precision && (*precision < 0 || *precision > MaxFormatWidth)))
      Fail();
    String text = Convert(wchar_t(std::towlower(FFormat[FPos++])), precision);
    size_t w = size_t(width.value_or(0));
    if (text.size() < w) {
      if (left)
        text.append(w - text.size(), L' ');
      else
        text.insert(0, w - text.size(), L' ');
    }
    FOut += text;
  }

  static uint64_t AsUnsigned(int64_t v)
  {
    if (v < 0 && v >= std::numeric_limits<int32_t>::min())
      return uint32_t(v);
    return uint64_t(v);
  }

  static String PadDigits(String digits, std::optional<int64_t> precision)
  {
    bool negative = !digits.empty() && digits[0] == L'-';
    if (negative)
      digits.erase(0, 1);
    if (precision && int64_t(digits.size()) < *precision)
      digits.insert(0, size_t(*precision) - digits.size(), L'0');
    return negative ? L"-" + digits : digits;
  }

  double TakeFloat()
  {
    const TFormatArg& a = Take();
    if (!std::holds_alternative<double>(a))
      Fail();
    return std::get<double>(a);
  }

  String Convert(wchar_t type, std::optional<int64_t> precision)
  {
    auto digits = [&](int64_t def) { return int(std::min<int64_t>(precision.value_or(def), 18)); };
    switch (type) {
      case L'd':
        return PadDigits(IntToStr(TakeInt()), precision);
      case L'u':
        return PadDigits(std::to_wstring(AsUnsigned(TakeInt())), precision);
      case L'x':
        return PadDigits(IntToHex(AsUnsigned(TakeInt()), 0), precision);
      case L'f':
        return FormatFixed(TakeFloat(), digits(2), false);
      case L'n':
        return FormatFixed(TakeFloat(), digits(2), true);
      case L'm': {
        String s = FormatFixed(TakeFloat(), digits(2), true);
        if (!s.empty() && s[0] == L'-')
          return L"-$" + s.substr(1);
        return L"$" + s;
      }
      case L'e':
        return FormatScientific(TakeFloat(), std::max(digits(15), 1));
      case L'g':
        return FormatGeneral(TakeFloat(), std::max(digits(15), 1));
      case L's': {
        const TFormatArg& a = Take();
        if (!std::holds_alternative<String>(a))
          Fail();
        const String& s = std::get<String>(a);
        return precision && int64_t(s.size()) > *precision ? s.substr(0, size_t(*precision)) : s;
      }
      case L'p': {
        const TFormatArg& a = Take();
        if (!std::holds_alternative<const void*>(a))
          Fail();
        return IntToHex(reinterpret_cast<uintptr_t>(std::get<const void*>(a)), int(sizeof(void*) * 2));
      }
      default:
        Fail();
    }
  }

  const String& FFormat;
  std::initializer_list<TVarRec> FArgs;
  size_t FPos = 0;
  size_t FNext = 0;
  String FOut;
};

}  // namespace

String Format(const String& format, std::initializer_list<TVarRec> args)
{
  return TFormatter(format, args).Run();
}

// ---------------------------------------------------------------------------
// Integers

int HexDigitValue(wchar_t ch)
{
  if (ch >= L'0' && ch <= L'9')
    return ch - L'0';
  if (ch >= L'a' && ch <= L'f')
    return ch - L'a' + 10;
  if (ch >= L'A' && ch <= L'F')
    return ch - L'A' + 10;
  return -1;
}

namespace {

// Parses [sign] digits | [sign] ("$" | "0x") hexdigits. Decimal text must lie within
// [-limit-1, limit]; hexadecimal text may use all bits of the type (hexLimit).
bool ParseInteger(const String& s, uint64_t limit, uint64_t hexLimit, int64_t& result)
{
  size_t i = 0, n = s.size();
  bool negative = false;
  if (i < n && (s[i] == L'+' || s[i] == L'-'))
    negative = s[i++] == L'-';
  bool hex = false;
  if (i < n && s[i] == L'$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n)
    return false;
  uint64_t v = 0;
  const uint64_t max = hex ? hexLimit : limit + (negative ? 1 : 0);
  for (; i < n; ++i) {
    int value = HexDigitValue(s[i]);
    if (value < 0 || (!hex && value > 9))
      return false;
    const unsigned digit = unsigned(value);
    const uint64_t base = hex ? 16 : 10;
    if (v > (max - digit) / base)
      return false;
    v = v * base + digit;
  }
  result = negative ? int64_t(0 - v) : int64_t(v);
  return true;
}

[[noreturn]] void IntegerError(const String& s)
{
  throw EConvertError(L"'" + s + L"' is not a valid integer value");
}

}  // namespace

bool TryStrToInt64(const String& s, int64_t& value)
{
  return ParseInteger(s, uint64_t(std::numeric_limits<int64_t>::max()), std::numeric_limits<uint64_t>::max(), value);
}

bool TryStrToInt(const String& s, int32_t& value)
{
  int64_t v;
  if (!ParseInteger(s, uint64_t(std::numeric_limits<int32_t>::max()), std::numeric_limits<uint32_t>::max(), v))
    return false;
  value = int32_t(uint32_t(uint64_t(v)));  // "$FFFFFFFF" is -1, as a 32-bit pattern
  return true;
}

int32_t StrToInt(const String& s)
{
  int32_t v;
  if (!TryStrToInt(s, v))
    IntegerError(s);
  return v;
}

int64_t StrToInt64(const String& s)
{
  int64_t v;
  if (!TryStrToInt64(s, v))
    IntegerError(s);
  return v;
}

int32_t StrToIntDef(const String& s, int32_t def)
{
  int32_t v;
  return TryStrToInt(s, v) ? v : def;
}

int64_t StrToInt64Def(const String& s, int64_t def)
{
  int64_t v;
  return TryStrToInt64(s, v) ? v : def;
}

// ---------------------------------------------------------------------------
// Floats and Booleans

bool TryStrToFloat(const String& s, double& value)
{
  String t = Trim(s);
  if (SameText(t, L"NAN")) {
    value = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  if (SameText(t, L"INF") || SameText(t, L"+INF") || SameText(t, L"-INF")) {
    value = t[0] == L'-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return true;
  }
  // Checked here so that from_chars sees only the plain decimal form.
  std::string narrow;
  size_t i = 0, n = t.size();
  if (i < n && (t[i] == L'+' || t[i] == L'-'))
    narrow += char(t[i++]);
  size_t mantissaDigits = 0;
  bool dot = false;
  for (; i < n && ((t[i] >= L'0' && t[i] <= L'9') || t[i] == L'.'); ++i) {
    if (t[i] == L'.') {
      if (dot)
        return false;
      dot = true;
    } else {
      ++mantissaDigits;
    }
    narrow += char(t[i]);
  }
  if (mantissaDigits == 0)
    return false;
  bool negativeExponent = false;
  if (i < n && (t[i] == L'e' || t[i] == L'E')) {
    narrow += 'e';
    ++i;
    if (i < n && (t[i] == L'+' || t[i] == L'-')) {
      negativeExponent = t[i] == L'-';
      narrow += char(t[i++]);
    }
    size_t start = i;
    for (; i < n && t[i] >= L'0' && t[i] <= L'9'; ++i)
      narrow += char(t[i]);
    if (i == start)
      return false;
  }
  if (i != n)
    return false;
  const char* first = narrow.data();
  if (*first == '+')
    ++first;
  double v = 0;
  auto r = std::from_chars(first, narrow.data() + narrow.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    if (!negativeExponent)
      return false;  // overflow
    v = narrow[0] == '-' ? -0.0 : 0.0;
  } else if (r.ec != std::errc() || r.ptr != narrow.data() + narrow.size()) {
    return false;
  }
  value = v;
  return true;
}

double StrToFloat(const String& s)
{
  double v;
  if (!TryStrToFloat(s, v))
    throw EConvertError(L"'" + s + L"' is not a valid floating point value");
  return v;
}

double StrToFloatDef(const String& s, double def)
{
  double v;
  return TryStrToFloat(s, v) ? v : def;
}

String FloatToStr(double value)
{
  return FormatGeneral(value, 0);
}

bool TryStrToBool(const String& s, bool& value)
{
  if (SameText(s, L"True")) {
    value = true;
    return true;
  }
  if (SameText(s, L"False")) {
    value = false;
    return true;
  }
  double number;
  if (!TryStrToFloat(s, number) || std::isnan(number))
    return false;
  value = number != 0;
  return true;
}

bool StrToBool(const String& s)
{
  bool v;
  if (!TryStrToBool(s, v))
    throw EConvertError(L"'" + s + L"' is not a valid boolean value");
  return v;
}

String BoolToStr(bool value, bool useBoolStrs)
{
  if (useBoolStrs)
    return value ? L"True" : L"False";
  return value ? L"-1" : L"0";
}

// ---------------------------------------------------------------------------
// File names

namespace {

bool IsDelimiter(wchar_t ch)
{
  return ch == L'\\' || ch == L'/';
}

// Index just past the last path delimiter or drive colon; 0 when there is none.
size_t NameStart(const String& fileName)
{
  for (size_t i = fileName.size(); i > 0; --i)
    if (IsDelimiter(fileName[i - 1]) || fileName[i - 1] == L':')
      return i;
  return 0;
}

}  // namespace

String ExtractFilePath(const String& FileName)
{
  return FileName.substr(0, NameStart(FileName));
}

String ExtractFileDir(const String& FileName)
{
  size_t i = NameStart(FileName);
  // Keep the root delimiter of "C:\" and "\".
  if (i > 0 && IsDelimiter(FileName[i - 1]) && i > 1 && FileName[i - 2] != L':' && !IsDelimiter(FileName[i - 2]))
    --i;
  return FileName.substr(0, i);
}

String ExtractFileName(const String& FileName)
{
  return FileName.substr(NameStart(FileName));
}

String ExtractFileExt(const String& FileName)
{
  size_t start = NameStart(FileName);
  size_t dot = FileName.rfind(L'.');
  if (dot == String::npos || dot < start)
    return String();
  return FileName.substr(dot);
}

String ChangeFileExt(const String& FileName, const String& Extension)
{
  size_t start = NameStart(FileName);
  size_t dot = FileName.rfind(L'.');
  if (dot == String::npos || dot < start)
    return FileName + Extension;
  return FileName.substr(0, dot) + Extension;
}

String IncludeTrailingPathDelimiter(const String& Path)
{
  if (!Path.empty() && IsDelimiter(Path.back()))
    return Path;
  return Path + L"\\";
}

String ExcludeTrailingPathDelimiter(const String& Path)
{
  String r = Path;
  if (!r.empty() && IsDelimiter(r.back()))
    r.pop_back();
  return r;
}

// ---------------------------------------------------------------------------
// The unexpected-exception hook.

namespace {

TUnexpectedExceptionHandler& ExceptionHandlerSlot()
{
  static TUnexpectedExceptionHandler handler;
  return handler;
}

}  // namespace

TUnexpectedExceptionHandler SetUnexpectedExceptionHandler(TUnexpectedExceptionHandler Handler)
{
  TUnexpectedExceptionHandler old = std::move(ExceptionHandlerSlot());
  ExceptionHandlerSlot() = std::move(Handler);
  return old;
}

String CurrentExceptionMessage()
{
  try {
    throw;
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return FromUtf8(e.what());
  } catch (...) {
    return L"Unknown exception";
  }
}

void HandleUnexpectedException(TObject* Sender)
{
  // The handler itself must not let anything escape: we are on the way out of a window
  // procedure or hook, where unwinding would cross system frames.
  try {
    if (const auto& handler = ExceptionHandlerSlot()) {
      handler(Sender);
      return;
    }
    try {
      throw;
    } catch (const EAbort&) {
      return;  // the silent exception
    } catch (...) {
      std::fprintf(stderr, "Unhandled exception: %s\n", ToUtf8(CurrentExceptionMessage()).c_str());
    }
  } catch (...) {
    std::fprintf(stderr, "The exception handler failed\n");
  }
}

void HandleEndFailure() noexcept
{
  HandleUnexpectedException(nullptr);
}
