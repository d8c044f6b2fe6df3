#include "platform/BmpFormat.h"

#include <bit>
#include <cstring>

#include "platform/SysUtils.h"

namespace {

// Larger pictures are refused rather than risk exhausting memory on a damaged header.
constexpr size_t kMaxPixelBytes = size_t(512) << 20;
constexpr int kMaxSide = 65535;
// The compression field's values that are read.
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitfields = 3;

[[noreturn]] void Invalid()
{
  throw EInvalidGraphic(L"Bitmap image is not valid");
}

uint16_t Rd16(const uint8_t* p)
{
  return uint16_t(p[0] | p[1] << 8);
}
uint32_t Rd32(const uint8_t* p)
{
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void Wr16(std::vector<uint8_t>& out, uint16_t v)
{
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Wr32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(uint8_t(v >> (8 * i)));
}

// What the headers say, checked.
struct TLayout {
  int Width = 0;
  int Height = 0;  // negative for top-down rows
  int BitCount = 0;
  bool Core = false;  // 12-byte header with 3-byte colour entries
  bool Bitfields = false;
  uint32_t Masks[3] = {};
  size_t TableEntries = 0;
  size_t TableOffset = 0;
  size_t BitsOffset = 0;
  size_t Stride = 0;
  size_t BitsSize = 0;
};

bool ValidHeaderSize(uint32_t size)
{
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Reads the headers at Data; Size must cover the file header and the info header.
// With HeadOnly, masks that follow the header need not be there yet.
TLayout ReadLayout(const uint8_t* Data, size_t Size, bool FileHeader, bool HeadOnly = false)
{
  TLayout l;
  size_t base = 0;
  uint32_t offBits = 0;
  if (FileHeader) {
    if (Size < 14 || Data[0] != 'B' || Data[1] != 'M')
      Invalid();
    offBits = Rd32(Data + 10);
    base = 14;
  }
  if (Size < base + 4)
    Invalid();
  const uint8_t* h = Data + base;
  uint32_t hdrSize = Rd32(h);
  if (!ValidHeaderSize(hdrSize) || Size < base + hdrSize)
    Invalid();
  uint32_t compression = kCompressionNone;
  uint32_t clrUsed = 0;
  int planes;
  if (hdrSize == 12) {
    l.Core = true;
    l.Width = Rd16(h + 4);
    l.Height = Rd16(h + 6);
    planes = Rd16(h + 8);
    l.BitCount = Rd16(h + 10);
  } else {
    l.Width = int32_t(Rd32(h + 4));
    l.Height = int32_t(Rd32(h + 8));
    planes = Rd16(h + 12);
    l.BitCount = Rd16(h + 14);
    compression = Rd32(h + 16);
    clrUsed = Rd32(h + 32);
  }
  if (planes != 1 || l.Width <= 0 || l.Width > kMaxSide || l.Height == 0 || l.Height < -kMaxSide || l.Height > kMaxSide)
    Invalid();
  int bc = l.BitCount;
  if (bc != 1 && bc != 4 && bc != 8 && bc != 16 && bc != 24 && bc != 32)
    Invalid();
  // Run-length and embedded JPEG or PNG pictures are not read.
  if (compression == kCompressionBitfields && (bc == 16 || bc == 32))
    l.Bitfields = true;
  else if (compression != kCompressionNone)
    Invalid();

  size_t pos = base + hdrSize;
  if (l.Bitfields) {
    bool haveMasks = true;
    if (hdrSize >= 52) {
      for (int i = 0; i < 3; ++i)
        l.Masks[i] = Rd32(h + 40 + 4 * i);
    } else {
      haveMasks = Size >= pos + 12;
      if (!haveMasks && !HeadOnly)
        Invalid();
      for (int i = 0; haveMasks && i < 3; ++i)
        l.Masks[i] = Rd32(Data + pos + 4 * i);
      pos += 12;
    }
    for (uint32_t m : l.Masks)
      if (haveMasks && m == 0)
        Invalid();
  }
  if (bc <= 8) {
    size_t full = size_t(1) << bc;
    if (clrUsed > full)
      Invalid();
    l.TableEntries = clrUsed ? clrUsed : full;
  } else {
    // Higher depths may carry a palette for display devices; it is skipped.
    if (clrUsed > 65536)
      Invalid();
    l.TableEntries = clrUsed;
  }
  l.TableOffset = pos;
  pos += l.TableEntries * (l.Core ? 3 : 4);
  if (FileHeader && offBits != 0) {
    if (offBits < pos)
      Invalid();
    pos = offBits;
  }
  l.BitsOffset = pos;
  l.Stride = DibStride(l.Width, bc);
  size_t rows = size_t(l.Height < 0 ? -l.Height : l.Height);
  if (l.Stride * rows > kMaxPixelBytes)
    Invalid();
  l.BitsSize = l.Stride * rows;
  return l;
}

int MaskShift(uint32_t mask)
{
  return std::countr_zero(mask);
}
int MaskWidth(uint32_t mask)
{
  return std::popcount(mask);
}

uint8_t Channel(uint32_t value, uint32_t mask)
{
  uint32_t c = (value & mask) >> MaskShift(mask);
  int width = MaskWidth(mask);
  if (width >= 8)
    return uint8_t(c >> (width - 8));
  return uint8_t(c * 255 / ((1u << width) - 1));
}

}  // namespace

size_t DibStride(int Width, int BitCount)
{
  return ((size_t(Width) * size_t(BitCount) + 31) / 32) * 4;
}

size_t BmpHeadSize(const uint8_t* Head)
{
  uint32_t hdrSize = Rd32(Head + 14);
  if (!ValidHeaderSize(hdrSize))
    Invalid();
  return 14 + hdrSize;
}

size_t BmpFileSize(const uint8_t* Head, size_t HeadSize)
{
  TLayout l = ReadLayout(Head, HeadSize, true, true);
  return l.BitsOffset + l.BitsSize;
}

TDibImage ParseDib(const uint8_t* Data, size_t Size, bool FileHeader)
{
  if (!Data)
    Invalid();
  TLayout l = ReadLayout(Data, Size, FileHeader);
  if (l.TableOffset + l.TableEntries * (l.Core ? 3 : 4) > Size || l.BitsOffset + l.BitsSize > Size)
    Invalid();

  TDibImage img;
  img.Width = l.Width;
  img.Height = l.Height < 0 ? -l.Height : l.Height;
  img.BitCount = l.BitCount;
  if (l.BitCount <= 8) {
    img.Table.resize(l.TableEntries);
    const uint8_t* t = Data + l.TableOffset;
    for (size_t i = 0; i < l.TableEntries; ++i) {
      const uint8_t* e = t + i * (l.Core ? 3 : 4);
      img.Table[i] = TDibColor{e[0], e[1], e[2]};
    }
  }

  // Which bit fields can be kept as they are, and which are widened to 32 bits.
  bool convert = false;
  if (l.Bitfields) {
    const uint32_t* m = l.Masks;
    if (l.BitCount == 16 && m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F)
      img.Is565 = false;
    else if (l.BitCount == 16 && m[0] == 0xF800 && m[1] == 0x07E0 && m[2] == 0x001F)
      img.Is565 = true;
    else if (!(l.BitCount == 32 && m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF))
      convert = true;
  }

  size_t rows = size_t(img.Height);
  const uint8_t* src = Data + l.BitsOffset;
  auto sourceRow = [&](size_t y) {  // y counts from the bottom
    size_t fileRow = l.Height < 0 ? rows - 1 - y : y;
    return src + fileRow * l.Stride;
  };
  if (!convert) {
    img.Bits.resize(l.BitsSize);
    for (size_t y = 0; y < rows; ++y)
      std::memcpy(img.Bits.data() + y * l.Stride, sourceRow(y), l.Stride);
    return img;
  }
  img.BitCount = 32;
  img.Is565 = false;
  size_t stride = DibStride(img.Width, 32);
  img.Bits.resize(stride * rows);
  for (size_t y = 0; y < rows; ++y) {
    const uint8_t* in = sourceRow(y);
    uint8_t* out = img.Bits.data() + y * stride;
    for (int x = 0; x < img.Width; ++x) {
      uint32_t v = l.BitCount == 16 ? Rd16(in + 2 * x) : Rd32(in + 4 * x);
      out[4 * x + 0] = Channel(v, l.Masks[2]);
      out[4 * x + 1] = Channel(v, l.Masks[1]);
      out[4 * x + 2] = Channel(v, l.Masks[0]);
      out[4 * x + 3] = 0;
    }
  }
  return img;
}

std::vector<uint8_t> WriteBmpFile(const TDibImage& Image)
{
  bool bitfields = Image.BitCount == 16 && Image.Is565;
  size_t tableEntries = Image.BitCount <= 8 ? Image.Table.size() : 0;
  size_t offBits = 14 + 40 + (bitfields ? 12 : 0) + tableEntries * 4;
  size_t bitsSize = DibStride(Image.Width, Image.BitCount) * size_t(Image.Height);
  std::vector<uint8_t> out;
  out.reserve(offBits + bitsSize);
  out.push_back('B');
  out.push_back('M');
  Wr32(out, uint32_t(offBits + bitsSize));
  Wr32(out, 0);
  Wr32(out, uint32_t(offBits));
  Wr32(out, 40);
  Wr32(out, uint32_t(Image.Width));
  Wr32(out, uint32_t(Image.Height));
  Wr16(out, 1);
  Wr16(out, uint16_t(Image.BitCount));
  Wr32(out, bitfields ? kCompressionBitfields : kCompressionNone);
  Wr32(out, uint32_t(bitsSize));
  Wr32(out, 3780);  // 96 dots per inch
  Wr32(out, 3780);
  Wr32(out, uint32_t(tableEntries));
  Wr32(out, 0);
  if (bitfields) {
    Wr32(out, 0xF800);
    Wr32(out, 0x07E0);
    Wr32(out, 0x001F);
  }
  for (size_t i = 0; i < tableEntries; ++i) {
    const TDibColor& c = Image.Table[i];
    out.insert(out.end(), {c.Blue, c.Green, c.Red, 0});
  }
  out.insert(out.end(), Image.Bits.begin(), Image.Bits.begin() + std::min(bitsSize, Image.Bits.size()));
  out.resize(offBits + bitsSize, 0);
  return out;
}
