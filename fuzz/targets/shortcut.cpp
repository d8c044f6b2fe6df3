// The shortcut text reader: a shortcut read writes back as text that reads to the same
// shortcut, under a fixed table of key names.
#include "fuzz/common/Check.h"
#include "fuzz/common/Dumps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  String text = FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
  TShortCut sc = ShortCutOfText(text, FuzzKeyNames());
  if (sc == scNone)
    return 0;
  String written = ShortCutTextOf(sc, FuzzKeyName);
  FuzzCheck(!written.empty(), "a shortcut read has no text", Escaped(text));
  FuzzCheck(ShortCutOfText(written, FuzzKeyNames()) == sc, "shortcut does not read back",
            Escaped(text) + " -> " + Escaped(written));
  return 0;
}
