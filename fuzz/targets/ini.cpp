// The ini parser never refuses: whatever it reads writes back as text that reads to the
// same sections, keys and lines, in every encoding it writes.
#include "fuzz/common/Check.h"
#include "fuzz/common/Dumps.h"
#include "platform/IniParser.h"

namespace {

// UTF-8 has no form for an unpaired surrogate: the writer puts U+FFFD there.
String WithoutLoneSurrogates(String text)
{
  for (size_t i = 0; i < text.size(); ++i) {
    bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
      ++i;
    else if (high || (text[i] >= 0xDC00 && text[i] <= 0xDFFF))
      text[i] = 0xFFFD;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TIniEncoding encoding;
  TIniDocument doc;
  try {
    doc.Parse(DecodeIniText(bytes, encoding));
  } catch (const std::exception& e) {
    FuzzFault("reading raised", e.what());
  }
  const String text = doc.Text();
  for (TIniEncoding written :
       {TIniEncoding::Utf8, TIniEncoding::Utf8Bom, TIniEncoding::Utf16LE, TIniEncoding::Utf16BE}) {
    TIniEncoding found;
    TIniDocument again;
    again.Parse(DecodeIniText(EncodeIniText(text, written), found));
    // UTF-8 files hold U+FFFD for an unpaired surrogate: they read as that text does.
    bool utf16 = written == TIniEncoding::Utf16LE || written == TIniEncoding::Utf16BE;
    String expected = text;
    if (!utf16) {
      TIniDocument replaced;
      replaced.Parse(WithoutLoneSurrogates(text));
      expected = replaced.Text();
    }
    FuzzCheck(again.Text() == expected, "written text reads back otherwise",
              Escaped(expected) + "\n--\n" + Escaped(again.Text()));
  }
  // Every key is found again under its own spelling.
  for (const String& section : doc.SectionNames()) {
    const TIniSection* s = doc.FindSection(section);
    FuzzCheck(s != nullptr, "section not found by its name", Escaped(section));
    for (const String& key : s->Keys())
      FuzzCheck(s->Find(key) != nullptr, "key not found by its name", Escaped(key));
  }
  return 0;
}
