// The image list's binary form-data value: what it reads writes back as data that reads
// to the same header and pictures; what it refuses raises EReadError.
#include "fuzz/common/Check.h"
#include "platform/ImageListData.h"
#include "platform/Streams.h"

namespace {

bool SameData(const TImageListData& a, const TImageListData& b)
{
  return a.Count == b.Count && a.Width == b.Width && a.Height == b.Height && a.Masked == b.Masked &&
         a.Images == b.Images && a.Masks == b.Masks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  TMemoryStream in;
  in.WriteBuffer(data, int64_t(size));
  in.SetPosition(0);
  TImageListData read;
  try {
    read = ReadImageListData(&in);
  } catch (const EReadError&) {
    return 0;
  } catch (const std::exception& e) {
    FuzzFault("refused with an exception of another kind", e.what());
  }
  TMemoryStream out;
  WriteImageListData(&out, read);
  out.SetPosition(0);
  try {
    FuzzCheck(SameData(ReadImageListData(&out), read), "written data reads back otherwise");
  } catch (const EReadError& e) {
    FuzzFault("written data does not read back", e.what());
  }
  return 0;
}
