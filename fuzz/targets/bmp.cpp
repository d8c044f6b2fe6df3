// The BMP reader, for files and for packed pictures: what it reads writes back as a file
// that reads to the same picture; what it refuses raises EInvalidGraphic. The head-only
// size functions the stream loader uses agree with the full read.
#include "fuzz/common/Check.h"
#include "platform/BmpFormat.h"
#include "platform/SysUtils.h"

namespace {

bool SameImage(const TDibImage& a, const TDibImage& b)
{
  return a.Width == b.Width && a.Height == b.Height && a.BitCount == b.BitCount && a.Is565 == b.Is565 &&
         a.Table == b.Table && a.Bits == b.Bits;
}

void Check(const uint8_t* data, size_t size, bool fileHeader)
{
  TDibImage img;
  try {
    img = ParseDib(data, size, fileHeader);
  } catch (const EInvalidGraphic&) {
    return;
  } catch (const std::exception& e) {
    FuzzFault("refused with an exception of another kind", e.what());
  }
  FuzzCheck(img.Bits.size() == DibStride(img.Width, img.BitCount) * size_t(img.Height), "pixel rows of the wrong size");
  std::vector<uint8_t> file = WriteBmpFile(img);
  try {
    FuzzCheck(SameImage(ParseDib(file.data(), file.size(), true), img), "written file reads back otherwise");
  } catch (const EInvalidGraphic&) {
    FuzzFault("written file does not read back");
  }
  if (fileHeader) {
    size_t head = BmpHeadSize(data);
    FuzzCheck(head <= size, "a file that reads has a head larger than itself");
    FuzzCheck(BmpFileSize(data, head) <= size, "a file that reads is larger than itself");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Check(data, size, true);
  Check(data, size, false);
  // The stream loader reads the head first and asks for the size before it has the rest.
  if (size >= kBmpMinHead) {
    try {
      size_t head = BmpHeadSize(data);
      if (head <= size)
        BmpFileSize(data, head);
    } catch (const EInvalidGraphic&) {
    } catch (const std::exception& e) {
      FuzzFault("head refused with an exception of another kind", e.what());
    }
  }
  return 0;
}
