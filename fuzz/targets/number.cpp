// The number text functions: a value read writes back as text that reads to the same
// value; refused text raises EConvertError, the Try forms answer false.
#include <cmath>

#include "fuzz/common/Check.h"
#include "fuzz/common/Dumps.h"
#include "platform/SysUtils.h"

namespace {

template <class F>
void Refused(F&& read, const String& text)
{
  try {
    read();
  } catch (const EConvertError&) {
    return;
  } catch (const std::exception& e) {
    FuzzFault("refused with an exception of another kind", e.what());
  }
  FuzzFault("the raising form accepts what the Try form refuses", Escaped(text));
}

// The sign of zero is not kept in text ("-0" is written "0").
bool SameDouble(double a, double b)
{
  return (std::isnan(a) && std::isnan(b)) || a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  String text = FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
  int32_t i = 0, i2 = 0;
  if (TryStrToInt(text, i)) {
    FuzzCheck(StrToInt(text) == i, "StrToInt and TryStrToInt disagree", Escaped(text));
    FuzzCheck(TryStrToInt(IntToStr(i), i2) && i2 == i, "integer does not read back", Escaped(text));
  } else {
    Refused([&] { StrToInt(text); }, text);
  }
  int64_t l = 0, l2 = 0;
  if (TryStrToInt64(text, l)) {
    FuzzCheck(StrToInt64(text) == l, "StrToInt64 and TryStrToInt64 disagree", Escaped(text));
    FuzzCheck(TryStrToInt64(IntToStr(l), l2) && l2 == l, "64-bit integer does not read back", Escaped(text));
    FuzzCheck(TryStrToInt64(L"$" + IntToHex(uint64_t(l), 1), l2) && l2 == l, "hexadecimal does not read back",
              Escaped(text));
  } else {
    Refused([&] { StrToInt64(text); }, text);
  }
  double f = 0, f2 = 0;
  if (TryStrToFloat(text, f)) {
    FuzzCheck(SameDouble(StrToFloat(text), f), "StrToFloat and TryStrToFloat disagree", Escaped(text));
    String written = FloatToStr(f);
    FuzzCheck(TryStrToFloat(written, f2) && SameDouble(f, f2), "float does not read back",
              Escaped(text) + " -> " + Escaped(written));
  } else {
    Refused([&] { StrToFloat(text); }, text);
  }
  bool b = false, b2 = false;
  if (TryStrToBool(text, b)) {
    FuzzCheck(StrToBool(text) == b, "StrToBool and TryStrToBool disagree", Escaped(text));
    FuzzCheck(TryStrToBool(BoolToStr(b, true), b2) && b2 == b, "Boolean does not read back", Escaped(text));
    FuzzCheck(TryStrToBool(BoolToStr(b), b2) && b2 == b, "Boolean number does not read back", Escaped(text));
  } else {
    Refused([&] { StrToBool(text); }, text);
  }
  return 0;
}
