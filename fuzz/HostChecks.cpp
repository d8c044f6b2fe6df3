// What only a 32-bit wchar_t can show: text the program holds as one unit beyond 16 bits
// (a wide literal with a character outside the basic plane) is written as the UTF-16 pair
// the Windows build would hold, so form data and ini files read back alike everywhere.
#include <cstdio>

#include "fuzz/common/Dumps.h"
#include "fuzz/common/FuzzClasses.h"
#include "platform/Filer.h"
#include "platform/IniParser.h"

int main()
{
  static_assert(sizeof(wchar_t) == 4, "the host build is where wchar_t is 32 bits");
  const String wide = String(L"smile ") + wchar_t(0x1F600);
  const String pair = String(L"smile ") + wchar_t(0xD83D) + wchar_t(0xDE00);
  int failures = 0;
  auto check = [&](bool ok, const char* what, const String& got) {
    if (!ok) {
      std::fprintf(stderr, "host check failed: %s (got %s)\n", what, Escaped(got).c_str());
      ++failures;
    }
  };

  RegisterFuzzClasses();
  auto* form = new TFuzzForm(nullptr);
  form->SetName(L"Form1");
  form->FCaption = wide;
  String text = ComponentToText(form);
  form->Free();
  TFuzzForm* again = nullptr;
  try {
    again = dynamic_cast<TFuzzForm*>(TextToComponent(text));
  } catch (const EReadError& e) {
    text = e.Message();
  }
  check(again && again->FCaption == pair, "form data writes a character beyond 16 bits as its pair",
        again ? again->FCaption : text);
  if (again)
    again->Free();

  for (TIniEncoding encoding : {TIniEncoding::Utf8, TIniEncoding::Utf16LE, TIniEncoding::Utf16BE}) {
    TIniEncoding read;
    String back = DecodeIniText(EncodeIniText(wide, encoding), read);
    check(back == pair, "ini text writes a character beyond 16 bits as its pair", back);
  }
  if (!failures)
    std::printf("host checks passed\n");
  return failures ? 1 : 0;
}
