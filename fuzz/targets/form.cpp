// The form-data text parser: what it accepts prints back as text that parses to the same
// tree; what it refuses raises EFormSyntaxError with a line inside the text.
#include "fuzz/common/Check.h"
#include "fuzz/common/Dumps.h"
#include "platform/Filer.h"
#include "platform/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  String text = FormDataBytesToText(data, size);
  TFormObject tree;
  try {
    tree = ParseFormText(text);
  } catch (const EFormSyntaxError& e) {
    // Lines end at LF, CR LF or a lone CR.
    int lines = 1;
    for (size_t i = 0; i < text.size(); ++i)
      lines += text[i] == L'\n' || (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n'));
    FuzzCheck(e.Line() >= 1 && e.Line() <= lines, "error line outside the text", e.what());
    return 0;
  } catch (const std::exception& e) {
    FuzzFault("refused with an exception of another kind", e.what());
  }
  String printed = FormTreeText(tree);
  String again;
  try {
    again = FormTreeText(ParseFormText(printed));
  } catch (const std::exception& e) {
    FuzzFault("printed tree does not parse", e.what() + std::string("\n") + Escaped(printed));
  }
  FuzzCheck(again == printed, "printed tree parses to another tree", Escaped(printed) + "\n--\n" + Escaped(again));
  return 0;
}
