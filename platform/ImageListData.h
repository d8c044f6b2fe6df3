// The binary value "Bitmap" image lists keep in form data: a header, then the images side
// by side as one BMP file and their masks as another, each after its byte count. Read and
// checked whole before an image list is touched; needs no Windows header (it builds for
// the host too).
#pragma once

#include <cstdint>
#include <vector>

class TStream;

// The largest image side an image list takes.
constexpr int kMaxImageListSide = 1024;

struct TImageListData {
  uint32_t Count = 0;
  int Width = 16;
  int Height = 16;
  bool Masked = false;
  std::vector<uint8_t> Images;  // BMP files, both empty when Count is 0
  std::vector<uint8_t> Masks;
};

// Raises EReadError "Image list data is not valid: ..." naming what is wrong.
TImageListData ReadImageListData(TStream* Stream);
void WriteImageListData(TStream* Stream, const TImageListData& Data);
