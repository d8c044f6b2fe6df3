// The form-data reader with components of every property kind: what it reads writes back
// as text that reads to the same components; what it refuses raises EReadError and frees
// every component it made. Read again with every error handled (reading goes on past
// them, leaving out what is in error), it must make components that write and read back
// the same too.
#include "fuzz/common/Check.h"
#include "fuzz/common/Dumps.h"
#include "fuzz/common/FuzzClasses.h"
#include "platform/Filer.h"

namespace {

// Reads text into new components and writes them back; nullopt when refused.
std::optional<String> ReadAndWrite(const String& text, bool handleErrors)
{
  TReader reader(text);
  if (handleErrors)
    reader.OnError = TReaderError([](TReader*, const String&, bool& handled) { handled = true; });
  TComponent* root = nullptr;
  try {
    root = reader.ReadRootComponent(nullptr);
  } catch (const EReadError&) {
    return std::nullopt;
  } catch (const std::exception& e) {
    FuzzFault("refused with an exception of another kind", e.what());
  }
  String written;
  try {
    written = ComponentToText(root);
  } catch (const std::exception& e) {
    FuzzFault("what was read cannot be written", e.what());
  }
  root->Free();
  return written;
}

void CheckReadsBack(const String& written)
{
  std::optional<String> again = ReadAndWrite(written, false);
  FuzzCheck(again.has_value(), "written components do not read back", Escaped(written));
  FuzzCheck(*again == written, "written components read back otherwise", Escaped(written) + "\n--\n" + Escaped(*again));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  RegisterFuzzClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const String text = FormDataBytesToText(data, size);
  if (std::optional<String> written = ReadAndWrite(text, false))
    CheckReadsBack(*written);
  if (std::optional<String> written = ReadAndWrite(text, true))
    CheckReadsBack(*written);
  return 0;
}
