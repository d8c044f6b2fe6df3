#include "platform/ImageListData.h"

#include "platform/BmpFormat.h"
#include "platform/Streams.h"

namespace {

constexpr uint32_t kStreamMagic = 0x4C494D47;  // "GMIL"
constexpr uint32_t kStreamVersion = 1;
constexpr uint32_t kMaskedFlag = 1;

[[noreturn]] void InvalidData(const String& Why)
{
  throw EReadError(L"Image list data is not valid: " + Why);
}

void ReadExact(TStream* Stream, void* Buffer, size_t Count)
{
  if (Count && Stream->Read(Buffer, int64_t(Count)) != int64_t(Count))
    InvalidData(L"the data ends early");
}

uint32_t ReadU32(TStream* Stream)
{
  uint32_t v = 0;
  ReadExact(Stream, &v, sizeof v);
  return v;
}

void WriteExact(TStream* Stream, const void* Buffer, size_t Count)
{
  if (Count && Stream->Write(Buffer, int64_t(Count)) != int64_t(Count))
    throw EWriteError(L"Stream write error");
}

void WriteU32(TStream* Stream, uint32_t Value)
{
  WriteExact(Stream, &Value, sizeof Value);
}

}  // namespace

TImageListData ReadImageListData(TStream* Stream)
{
  if (ReadU32(Stream) != kStreamMagic)
    InvalidData(L"unknown format");
  if (ReadU32(Stream) != kStreamVersion)
    InvalidData(L"unknown version");
  TImageListData data;
  data.Count = ReadU32(Stream);
  uint32_t width = ReadU32(Stream);
  uint32_t height = ReadU32(Stream);
  data.Masked = (ReadU32(Stream) & kMaskedFlag) != 0;
  if (width < 1 || width > uint32_t(kMaxImageListSide) || height < 1 || height > uint32_t(kMaxImageListSide) ||
      data.Count > 65535u / width)
    InvalidData(L"bad image size or count");
  data.Width = int(width);
  data.Height = int(height);
  for (std::vector<uint8_t>* part : {&data.Images, &data.Masks}) {
    uint32_t size = ReadU32(Stream);
    if (int64_t(size) > Stream->GetSize() - Stream->GetPosition())
      InvalidData(L"the data ends early");
    part->resize(size);
    ReadExact(Stream, part->data(), size);
    int partWidth = 0, partHeight = 0;
    if (size > 0) {
      try {
        TDibImage image = ParseDib(part->data(), part->size(), true);
        partWidth = image.Width;
        partHeight = image.Height;
      } catch (const EInvalidGraphic&) {
        InvalidData(L"a picture is damaged");
      }
    }
    bool expected = data.Count > 0;
    if (expected != (size > 0) || (expected && (partWidth != int(data.Count * width) || partHeight != int(height))))
      InvalidData(L"the pictures do not match the image size");
  }
  return data;
}

void WriteImageListData(TStream* Stream, const TImageListData& Data)
{
  WriteU32(Stream, kStreamMagic);
  WriteU32(Stream, kStreamVersion);
  WriteU32(Stream, Data.Count);
  WriteU32(Stream, uint32_t(Data.Width));
  WriteU32(Stream, uint32_t(Data.Height));
  WriteU32(Stream, Data.Masked ? kMaskedFlag : 0);
  for (const std::vector<uint8_t>* part : {&Data.Images, &Data.Masks}) {
    WriteU32(Stream, uint32_t(part->size()));
    WriteExact(Stream, part->data(), part->size());
  }
}
