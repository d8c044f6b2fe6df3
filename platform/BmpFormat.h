// The BMP file format and packed DIBs in memory: parsing with every header checked, and
// writing. Pictures come out as bottom-up rows in one of the formats TBitmap keeps
// (1, 4, 8, 16 as 5-5-5 or 5-6-5, 24 and 32 bits); other bit fields are widened to 32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A colour table entry in the order the file stores it.
struct TDibColor {
  uint8_t Blue = 0;
  uint8_t Green = 0;
  uint8_t Red = 0;
  bool operator==(const TDibColor&) const = default;
};

struct TDibImage {
  int Width = 0;
  int Height = 0;
  int BitCount = 32;
  bool Is565 = false;            // 16 bits: 5-6-5 instead of 5-5-5
  std::vector<TDibColor> Table;  // 1, 4 and 8 bits
  std::vector<uint8_t> Bits;     // bottom-up rows of DibStride bytes
};

// Bytes in a row: padded to four bytes.
size_t DibStride(int Width, int BitCount);

// A BMP file (FileHeader) or a packed DIB as RT_BITMAP resources hold it. Raises
// EInvalidGraphic "Bitmap image is not valid" for a damaged or unsupported picture.
TDibImage ParseDib(const uint8_t* Data, size_t Size, bool FileHeader);

// How many bytes the BMP file starting at Head takes, from its headers alone. Head
// must hold at least BmpHeadSize(Head) bytes; raises EInvalidGraphic when damaged.
constexpr size_t kBmpMinHead = 18;  // file header and the info header's size field
size_t BmpHeadSize(const uint8_t* Head);
size_t BmpFileSize(const uint8_t* Head, size_t HeadSize);

// The BMP file of a picture (BITMAPINFOHEADER, bit fields for 5-6-5).
std::vector<uint8_t> WriteBmpFile(const TDibImage& Image);
