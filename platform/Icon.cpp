#include "platform/Graphics.h"

#include <cstring>

#include "platform/BmpFormat.h"
#include "platform/Streams.h"

namespace {

// Larger icon images are taken as damage rather than read.
constexpr uint32_t kMaxIconImage = 16u << 20;

[[noreturn]] void InvalidIcon()
{
  throw EInvalidGraphic(L"Icon image is not valid");
}

void ReadIconOrFail(TStream* Stream, void* Buffer, size_t Count)
{
  if (Count && Stream->Read(Buffer, int64_t(Count)) != int64_t(Count))
    InvalidIcon();
}

uint32_t Read32(const uint8_t* p)
{
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
  out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
}
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
  out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

// The bits of a bitmap as a bottom-up DIB of BitCount bits per pixel.
std::vector<uint8_t> DibBits(HBITMAP Bitmap, int Width, int Height, int BitCount)
{
  std::vector<uint8_t> bits(DibStride(Width, BitCount) * size_t(Height));
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colors[2];
  } info{};
  info.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), Width, Height, 1, WORD(BitCount), BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, Bitmap, 0, UINT(Height), bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bits;
}

}  // namespace

IMPLEMENT_CLASS(TIcon, TGraphic)

TIcon::~TIcon()
{
  DestroyGdiIcon(FHandle);
}

void TIcon::Adopt(HICON Value)
{
  DestroyGdiIcon(FHandle);
  FHandle = TrackGdiObject(Value);
  FWidth = FHeight = 0;
  ICONINFO info{};
  if (Value && GetIconInfo(Value, &info)) {
    BITMAP bm{};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
      FWidth = bm.bmWidth;
      FHeight = bm.bmHeight;
    } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) {
      // A monochrome icon keeps its AND and XOR masks stacked in one bitmap.
      FWidth = bm.bmWidth;
      FHeight = bm.bmHeight / 2;
    }
    if (info.hbmColor)
      DeleteObject(info.hbmColor);
    if (info.hbmMask)
      DeleteObject(info.hbmMask);
  }
}

void TIcon::SetHandle(HICON Value)
{
  if (Value == FHandle)
    return;
  Adopt(Value);
  Changed(this);
}

HICON TIcon::ReleaseHandle()
{
  HICON icon = FHandle;
  UntrackGdiObject(icon);
  FHandle = nullptr;
  FWidth = FHeight = 0;
  return icon;
}

void TIcon::SetWidth(int Value)
{
  if (Value != FWidth)
    throw EInvalidGraphicOperation(L"Cannot change the size of an icon");
}

void TIcon::SetHeight(int Value)
{
  if (Value != FHeight)
    throw EInvalidGraphicOperation(L"Cannot change the size of an icon");
}

void TIcon::Assign(TPersistent* Source)
{
  if (!Source) {
    Adopt(nullptr);
    Changed(this);
    return;
  }
  if (auto* icon = dynamic_cast<TIcon*>(Source)) {
    if (icon != this) {
      Adopt(icon->FHandle ? CopyIcon(icon->FHandle) : nullptr);
      Changed(this);
    }
    return;
  }
  TGraphic::Assign(Source);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& R)
{
  if (!FHandle || !ACanvas)
    return;
  DrawIconEx(ACanvas->GetHandle(), R.left, R.top, FHandle, RectWidth(R), RectHeight(R), 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromResourceName(uintptr_t Instance, const String& ResName)
{
  HINSTANCE module = Instance ? reinterpret_cast<HINSTANCE>(Instance) : GetModuleHandleW(nullptr);
  HICON icon = static_cast<HICON>(LoadImageW(module, ResName.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  if (!icon)
    throw EResNotFound(L"Resource " + ResName + L" not found");
  Adopt(icon);
  Changed(this);
}

void TIcon::LoadFromResourceID(uintptr_t Instance, int ResID)
{
  HINSTANCE module = Instance ? reinterpret_cast<HINSTANCE>(Instance) : GetModuleHandleW(nullptr);
  HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(ResID), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  if (!icon)
    throw EResNotFound(L"Resource " + IntToStr(ResID) + L" not found");
  Adopt(icon);
  Changed(this);
}

// An ICO file: a directory of images, each a DIB (doubled height for the AND mask) or a
// PNG. The whole file is read so that the stream ends up past it.
void TIcon::LoadFromStream(TStream* Stream)
{
  uint8_t dir[6];
  ReadIconOrFail(Stream, dir, sizeof dir);
  int count = dir[4] | dir[5] << 8;
  if (dir[0] || dir[1] || dir[2] != 1 || dir[3] || count == 0)
    InvalidIcon();
  std::vector<uint8_t> entries(size_t(count) * 16);
  ReadIconOrFail(Stream, entries.data(), entries.size());
  size_t headEnd = 6 + entries.size();
  size_t best = 0, end = headEnd;
  int bestArea = -1;
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = entries.data() + 16 * i;
    uint32_t size = Read32(e + 8), offset = Read32(e + 12);
    if (size == 0 || size > kMaxIconImage || offset < headEnd || offset > kMaxIconImage * 16u)
      InvalidIcon();
    int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
    if (w * h > bestArea) {
      bestArea = w * h;
      best = size_t(i);
    }
    end = std::max<size_t>(end, size_t(offset) + size);
  }
  if (int64_t(end - headEnd) > Stream->GetSize() - Stream->GetPosition())
    InvalidIcon();
  std::vector<uint8_t> rest(end - headEnd);
  ReadIconOrFail(Stream, rest.data(), rest.size());
  const uint8_t* e = entries.data() + 16 * best;
  uint32_t size = Read32(e + 8), offset = Read32(e + 12);
  int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
  HICON icon =
      CreateIconFromResourceEx(rest.data() + (offset - headEnd), size, TRUE, 0x00030000, w, h, LR_DEFAULTCOLOR);
  if (!icon)
    InvalidIcon();
  Adopt(icon);
  Changed(this);
}

void TIcon::SaveToStream(TStream* Stream)
{
  if (!FHandle)
    return;
  ICONINFO info{};
  if (!GetIconInfo(FHandle, &info))
    throw EInvalidGraphic(L"Icon image is not valid");
  int w = FWidth, h = FHeight;
  std::vector<uint8_t> color, mask;
  if (info.hbmColor) {
    color = DibBits(info.hbmColor, w, h, 32);
    mask = DibBits(info.hbmMask, w, h, 1);
  } else {
    // Bottom-up, the lower half (the XOR picture) comes first, then the AND mask.
    std::vector<uint8_t> both = DibBits(info.hbmMask, w, 2 * h, 1);
    size_t half = both.size() / 2, stride1 = DibStride(w, 1);
    mask.assign(both.begin() + half, both.end());
    color.resize(DibStride(w, 32) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        bool white = both[y * stride1 + x / 8] & (0x80 >> (x % 8));
        std::memset(&color[(y * w + x) * 4], white ? 0xFF : 0, 3);
      }
  }
  if (info.hbmColor)
    DeleteObject(info.hbmColor);
  if (info.hbmMask)
    DeleteObject(info.hbmMask);

  std::vector<uint8_t> out;
  uint32_t imageSize = uint32_t(40 + color.size() + mask.size());
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.insert(out.end(), {uint8_t(w >= 256 ? 0 : w), uint8_t(h >= 256 ? 0 : h), 0, 0});
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, imageSize);
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, uint32_t(w));
  Put32(out, uint32_t(2 * h));
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i)
    Put32(out, i == 1 ? uint32_t(color.size() + mask.size()) : 0);
  out.insert(out.end(), color.begin(), color.end());
  out.insert(out.end(), mask.begin(), mask.end());
  if (Stream->Write(out.data(), int64_t(out.size())) != int64_t(out.size()))
    throw EWriteError(L"Stream write error");
}
