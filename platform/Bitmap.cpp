#include "platform/Graphics.h"

#include <cstring>

#include "platform/BmpFormat.h"
#include "platform/Filer.h"
#include "platform/Streams.h"

DEFINE_ENUM_INFO(TPixelFormat, L"pfDevice", L"pf1bit", L"pf4bit", L"pf8bit", L"pf15bit", L"pf16bit", L"pf24bit",
                 L"pf32bit", L"pfCustom")

namespace {

[[noreturn]] void InvalidBitmap()
{
  throw EInvalidGraphic(L"Bitmap image is not valid");
}

int64_t Remaining(TStream* Stream)
{
  return Stream->GetSize() - Stream->GetPosition();
}

void ReadOrFail(TStream* Stream, void* Buffer, size_t Count)
{
  if (Count && Stream->Read(Buffer, int64_t(Count)) != int64_t(Count))
    InvalidBitmap();
}

void WriteOrFail(TStream* Stream, const void* Buffer, size_t Count)
{
  if (Count && Stream->Write(Buffer, int64_t(Count)) != int64_t(Count))
    throw EWriteError(L"Stream write error");
}

int BitCountOf(TPixelFormat Format)
{
  static const int counts[] = {32, 1, 4, 8, 16, 16, 24, 32, 32};
  return counts[Format];
}

// The colours a new picture of a palette format starts with: black and white; the
// sixteen standard colours; those sixteen, a 6x6x6 cube and a grey ramp ending in white.
std::vector<RGBQUAD> DefaultTable(TPixelFormat Format)
{
  static const uint32_t vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                   0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                   0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};  // 0xRRGGBB
  auto quad = [](uint32_t rgb) { return RGBQUAD{BYTE(rgb), BYTE(rgb >> 8), BYTE(rgb >> 16), 0}; };
  std::vector<RGBQUAD> table;
  if (Format == pf1bit)
    return {quad(0), quad(0xFFFFFF)};
  if (Format != pf4bit && Format != pf8bit)
    return table;
  for (uint32_t c : vga)
    table.push_back(quad(c));
  if (Format == pf8bit) {
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b)
          table.push_back(RGBQUAD{BYTE(b * 51), BYTE(g * 51), BYTE(r * 51), 0});
    for (int i = 1; i <= 24; ++i) {
      BYTE v = BYTE(i * 255 / 24);
      table.push_back(RGBQUAD{v, v, v, 0});
    }
  }
  return table;
}

std::vector<RGBQUAD> QuadsOf(const std::vector<TDibColor>& Table)
{
  std::vector<RGBQUAD> quads;
  quads.reserve(Table.size());
  for (const TDibColor& c : Table)
    quads.push_back(RGBQUAD{c.Blue, c.Green, c.Red, 0});
  return quads;
}

std::vector<TDibColor> DibColorsOf(const std::vector<RGBQUAD>& Quads)
{
  std::vector<TDibColor> colors;
  colors.reserve(Quads.size());
  for (const RGBQUAD& q : Quads)
    colors.push_back(TDibColor{q.rgbBlue, q.rgbGreen, q.rgbRed});
  return colors;
}

struct TBitmapInfo {
  BITMAPINFOHEADER Header;
  RGBQUAD Colors[256];
};

// A bottom-up DIB section; for pfDevice one in the screen's format, whose bits stay hidden
// as a device bitmap's would. Not counted yet.
HBITMAP CreateImage(int Width, int Height, TPixelFormat Format, const std::vector<RGBQUAD>& Table, void** Bits)
{
  *Bits = nullptr;
  if (Format == pfDevice)
    return CreateScreenBitmap(Width, Height);
  TBitmapInfo info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = Width;
  info.Header.biHeight = Height;
  info.Header.biPlanes = 1;
  info.Header.biBitCount = WORD(BitCountOf(Format));
  info.Header.biCompression = BI_RGB;
  if (Format == pf16bit) {
    info.Header.biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info.Colors, masks, sizeof masks);
  } else if (BitCountOf(Format) <= 8) {
    size_t n = std::min<size_t>(Table.size(), size_t(1) << BitCountOf(Format));
    info.Header.biClrUsed = DWORD(n);
    std::copy(Table.begin(), Table.begin() + n, info.Colors);
  }
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, Bits, nullptr, 0);
}

TPixelFormat FormatOf(int BitCount, bool Is565)
{
  switch (BitCount) {
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 16:
      return Is565 ? pf16bit : pf15bit;
    case 24:
      return pf24bit;
    default:
      return pf32bit;
  }
}

// A temporary memory DC holding one bitmap, restored and deleted at scope end.
class TMemDC {
public:
  explicit TMemDC(HBITMAP Bitmap) : FDC(CreateCompatibleDC(nullptr))
  {
    if (!FDC)
      throw EOutOfResources(L"Out of system resources");
    FOld = Bitmap ? SelectObject(FDC, Bitmap) : nullptr;
  }
  ~TMemDC()
  {
    if (FOld)
      SelectObject(FDC, FOld);
    DeleteDC(FDC);
  }
  TMemDC(const TMemDC&) = delete;
  TMemDC& operator=(const TMemDC&) = delete;
  operator HDC() const { return FDC; }

private:
  HDC FDC;
  HGDIOBJ FOld;
};

}  // namespace

// ---------------------------------------------------------------------------
// TGraphic

IMPLEMENT_CLASS(TGraphic, TPersistent)

void TGraphic::SetSize(int AWidth, int AHeight)
{
  SetWidth(AWidth);
  SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool Value)
{
  if (Value == FTransparent)
    return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::SetModified(bool Value)
{
  if (Value)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(TObject* Sender)
{
  FModified = true;
  CallEvent(OnChange, this);
}

void TGraphic::LoadFromFile(const String& FileName)
{
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const String& FileName)
{
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TGraphic::DefineProperties(TFiler* Filer)
{
  Filer->DefineBinaryProperty(
      L"Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !Empty());
}

// ---------------------------------------------------------------------------
// The bitmap's canvas: a memory DC made on first use with the bitmap selected into it.
// The bitmap frees the DC whenever it replaces its handle.

class TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext()
  {
    if (!FDC)
      return;
    HDC dc = FDC;
    SetHandle(nullptr);
    if (FOldBitmap)
      SelectObject(dc, FOldBitmap);
    FOldBitmap = nullptr;
    FDC = nullptr;
    DeleteGdiDC(dc);
  }

protected:
  void CreateHandle() override
  {
    FBitmap->HandleNeeded();
    HBITMAP bitmap = FBitmap->FHandle;
    HDC dc = TrackGdiObject(CreateCompatibleDC(nullptr));
    if (!dc)
      return;
    FOldBitmap = bitmap ? SelectObject(dc, bitmap) : nullptr;
    FDC = dc;
    SetHandle(dc);
  }
  void Changing() override
  {
    FBitmap->CanvasChanging();
    TCanvas::Changing();
  }
  void Changed() override
  {
    TCanvas::Changed();
    FBitmap->Changed(FBitmap);
  }

private:
  TBitmap* FBitmap;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

// ---------------------------------------------------------------------------
// TBitmap

IMPLEMENT_CLASS(TBitmap, TGraphic)

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight)
{
  SetSize(AWidth, AHeight);
}

TBitmap::~TBitmap()
{
  DestroyImage();
}

void TBitmap::FreeContext()
{
  if (FCanvas)
    FCanvas->FreeContext();
}

void TBitmap::FreeMask()
{
  DeleteGdiObject(FMaskHandle);
  FMaskHandle = nullptr;
}

void TBitmap::DestroyImage()
{
  FreeContext();
  FreeMask();
  DeleteGdiObject(FHandle);
  FHandle = nullptr;
  FBits = nullptr;
  FMemoryImage.clear();
}

void TBitmap::CanvasChanging()
{
  FreeMask();
  FMemoryImage.clear();
}

void TBitmap::ReplaceImage(HBITMAP Handle, void* Bits, int AWidth, int AHeight, TPixelFormat Format)
{
  DestroyImage();
  FHandle = Handle;
  FBits = Bits;
  FWidth = AWidth;
  FHeight = AHeight;
  FPixelFormat = Format;
}

void TBitmap::Rebuild(int AWidth, int AHeight, TPixelFormat Format, bool CopyPicture)
{
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (CopyPicture)
    HandleNeeded();
  FreeContext();
  std::vector<RGBQUAD> table = Format == FPixelFormat && !FColorTable.empty() ? FColorTable : DefaultTable(Format);
  if (AWidth == 0 || AHeight == 0) {
    DestroyImage();
    FWidth = AWidth;
    FHeight = AHeight;
    FPixelFormat = Format;
    FColorTable = table;
    return;
  }
  void* bits = nullptr;
  HBITMAP image = CreateImage(AWidth, AHeight, Format, table, &bits);
  if (!image)
    throw EOutOfResources(L"Out of system resources");
  TrackGdiObject(image);
  {
    TMemDC dst(image);
    RECT all{0, 0, AWidth, AHeight};
    ::FillRect(dst, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (CopyPicture && FHandle) {
      TMemDC src(FHandle);
      BitBlt(dst, 0, 0, std::min(AWidth, FWidth), std::min(AHeight, FHeight), src, 0, 0, SRCCOPY);
    }
    GdiFlush();
  }
  FColorTable = table;
  ReplaceImage(image, bits, AWidth, AHeight, Format);
}

void TBitmap::HandleNeeded()
{
  if (FHandle || Empty())
    return;
  if (FMemoryImage.empty()) {
    Rebuild(FWidth, FHeight, FPixelFormat, false);
    return;
  }
  std::vector<uint8_t> memory = std::move(FMemoryImage);
  FMemoryImage.clear();
  TPixelFormat wanted = FPixelFormat;
  LoadFromBytes(memory.data(), memory.size());
  if (wanted == pfDevice)
    Rebuild(FWidth, FHeight, pfDevice, true);
}

void TBitmap::LoadFromBytes(const uint8_t* Data, size_t Size)
{
  if (Size == 0) {
    DestroyImage();
    FWidth = FHeight = 0;
    return;
  }
  TDibImage img = ParseDib(Data, Size, true);
  TPixelFormat format = FormatOf(img.BitCount, img.Is565);
  void* bits = nullptr;
  std::vector<RGBQUAD> table = QuadsOf(img.Table);
  HBITMAP image = CreateImage(img.Width, img.Height, format, table, &bits);
  if (!image)
    throw EOutOfResources(L"Out of system resources");
  TrackGdiObject(image);
  std::memcpy(bits, img.Bits.data(), std::min(img.Bits.size(), DibStride(img.Width, img.BitCount) * img.Height));
  FColorTable = std::move(table);
  ReplaceImage(image, bits, img.Width, img.Height, format);
}

std::vector<uint8_t> TBitmap::SaveToBytes()
{
  if (Empty())
    return {};
  if (!FHandle && !FMemoryImage.empty())
    return FMemoryImage;
  HandleNeeded();
  FreeContext();
  TDibImage img;
  img.Width = FWidth;
  img.Height = FHeight;
  GdiFlush();
  if (FPixelFormat == pfDevice) {
    img.BitCount = 32;
    img.Bits.resize(DibStride(FWidth, 32) * FHeight);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), FWidth, FHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, FHandle, 0, UINT(FHeight), img.Bits.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
  } else {
    img.BitCount = BitCountOf(FPixelFormat);
    img.Is565 = FPixelFormat == pf16bit;
    img.Table = DibColorsOf(FColorTable);
    const auto* bits = static_cast<const uint8_t*>(FBits);
    img.Bits.assign(bits, bits + DibStride(FWidth, img.BitCount) * FHeight);
  }
  return WriteBmpFile(img);
}

void TBitmap::Changed(TObject* Sender)
{
  TGraphic::Changed(Sender);
}

void TBitmap::Assign(TPersistent* Source)
{
  if (!Source) {
    DestroyImage();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  if (Source == this)
    return;
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    std::vector<uint8_t> bytes = bitmap->SaveToBytes();
    if (bytes.empty()) {
      DestroyImage();
      FWidth = bitmap->FWidth;
      FHeight = bitmap->FHeight;
      FPixelFormat = bitmap->FPixelFormat;
      FColorTable = bitmap->FColorTable;
    } else {
      LoadFromBytes(bytes.data(), bytes.size());
      if (bitmap->FPixelFormat == pfDevice)
        Rebuild(FWidth, FHeight, pfDevice, true);
    }
    FTransparent = bitmap->FTransparent;
    FTransparentColor = bitmap->FTransparentColor;
    FTransparentMode = bitmap->FTransparentMode;
    Changed(this);
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    Rebuild(graphic->GetWidth(), graphic->GetHeight(), FPixelFormat, false);
    if (!Empty())
      graphic->Draw(GetCanvas(), Rect(0, 0, FWidth, FHeight));
    FTransparent = graphic->GetTransparent();
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight)
    return;
  Rebuild(AWidth, AHeight, FPixelFormat, true);
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
  // pfCustom describes a loaded picture; it cannot be asked for.
  if (Value == FPixelFormat || Value < pfDevice || Value >= pfCustom)
    return;
  if (Empty()) {
    FPixelFormat = Value;
    FColorTable = DefaultTable(Value);
  } else {
    Rebuild(FWidth, FHeight, Value, true);
  }
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType Value)
{
  if (Value == GetHandleType())
    return;
  SetPixelFormat(Value == bmDDB ? pfDevice : pf32bit);
}

TCanvas* TBitmap::GetCanvas()
{
  if (!FCanvas)
    FCanvas = std::make_unique<TBitmapCanvas>(this);
  return FCanvas.get();
}

void* TBitmap::ScanLine(int Row)
{
  if (Row < 0 || Row >= FHeight || Empty())
    throw EInvalidGraphicOperation(L"Scan line index out of range");
  if (FPixelFormat == pfDevice)
    SetPixelFormat(pf32bit);
  HandleNeeded();
  GdiFlush();
  CanvasChanging();
  auto* bits = static_cast<uint8_t*>(FBits);
  return bits + DibStride(FWidth, BitCountOf(FPixelFormat)) * size_t(FHeight - 1 - Row);
}

// The handle may be selected into another DC or changed by the caller: the canvas lets go
// of it and the mask is remade on next use.
HBITMAP TBitmap::GetHandle()
{
  FreeContext();
  HandleNeeded();
  FreeMask();
  return FHandle;
}

void TBitmap::SetHandle(HBITMAP Value)
{
  if (Value == FHandle && Value)
    return;
  if (!Value) {
    DestroyImage();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  DIBSECTION ds{};
  int size = GetObjectW(Value, sizeof ds, &ds);
  if (size != sizeof(DIBSECTION) && size != sizeof(BITMAP))
    throw EInvalidGraphic(L"Invalid bitmap handle");
  DestroyImage();
  FHandle = TrackGdiObject(Value);
  FWidth = ds.dsBm.bmWidth;
  FHeight = ds.dsBm.bmHeight;
  FColorTable.clear();
  if (size == sizeof(BITMAP) || !ds.dsBm.bmBits) {
    FPixelFormat = pfDevice;
  } else {
    FBits = ds.dsBm.bmBits;
    const DWORD* masks = ds.dsBitfields;
    bool is565 = ds.dsBmih.biCompression == BI_BITFIELDS && masks[0] == 0xF800 && masks[1] == 0x07E0;
    bool odd = ds.dsBmih.biCompression == BI_BITFIELDS && !is565 &&
               !(masks[0] == 0x7C00 || (masks[0] == 0xFF0000 && ds.dsBm.bmBitsPixel == 32));
    FPixelFormat = odd ? pfCustom : FormatOf(ds.dsBm.bmBitsPixel, is565);
    if (ds.dsBm.bmBitsPixel <= 8) {
      TMemDC dc(Value);
      RGBQUAD table[256];
      UINT n = GetDIBColorTable(dc, 0, 256, table);
      FColorTable.assign(table, table + n);
    }
    // Scan lines and the BMP writer work on bottom-up rows of the standard layouts, and
    // GDI does not tell a top-down section apart: the picture moves into one of ours.
    Rebuild(FWidth, FHeight, odd ? pf32bit : FPixelFormat, true);
  }
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle()
{
  HandleNeeded();
  if (!FHandle)
    return nullptr;
  std::vector<uint8_t> memory = SaveToBytes();
  FreeContext();
  FreeMask();
  HBITMAP handle = FHandle;
  FHandle = nullptr;
  FBits = nullptr;
  UntrackGdiObject(handle);
  FMemoryImage = std::move(memory);
  return handle;
}

HBITMAP TBitmap::GetMaskHandle()
{
  if (Empty())
    return nullptr;
  TColor color = GetTransparentColor();
  if (FMaskHandle && FMaskColor == color)
    return FMaskHandle;
  FreeMask();
  HDC src = GetCanvas()->GetHandle();
  HBITMAP mask = TrackGdiObject(CreateBitmap(FWidth, FHeight, 1, 1, nullptr));
  if (!mask)
    throw EOutOfResources(L"Out of system resources");
  // Copying colour to monochrome turns the source's background colour white.
  COLORREF oldBk = SetBkColor(src, ColorToRGB(color));
  {
    TMemDC dst(mask);
    BitBlt(dst, 0, 0, FWidth, FHeight, src, 0, 0, SRCCOPY);
  }
  SetBkColor(src, oldBk);
  FMaskHandle = mask;
  FMaskColor = color;
  return mask;
}

HBITMAP TBitmap::ReleaseMaskHandle()
{
  HBITMAP mask = GetMaskHandle();
  FMaskHandle = nullptr;
  UntrackGdiObject(mask);
  return mask;
}

void TBitmap::Mask(TColor TransparentColor)
{
  if (Empty())
    return;
  TColor saved = FTransparentColor;
  TTransparentMode savedMode = FTransparentMode;
  FTransparentColor = TransparentColor;
  FTransparentMode = tmFixed;
  HBITMAP mask = ReleaseMaskHandle();
  FTransparentColor = saved;
  FTransparentMode = savedMode;
  std::vector<RGBQUAD> table = DefaultTable(pf1bit);
  void* bits = nullptr;
  HBITMAP image = CreateImage(FWidth, FHeight, pf1bit, table, &bits);
  if (!image) {
    DeleteObject(mask);
    throw EOutOfResources(L"Out of system resources");
  }
  {
    TMemDC src(mask), dst(image);
    BitBlt(dst, 0, 0, FWidth, FHeight, src, 0, 0, SRCCOPY);
    GdiFlush();
  }
  DeleteObject(mask);
  FColorTable = table;
  ReplaceImage(TrackGdiObject(image), bits, FWidth, FHeight, pf1bit);
  Changed(this);
}

TColor TBitmap::GetTransparentColor()
{
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
    return FTransparentColor;
  if (Empty())
    return clDefault;
  return GetCanvas()->GetPixel(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor Value)
{
  TTransparentMode mode = Value == clDefault ? tmAuto : tmFixed;
  if (Value == FTransparentColor && mode == FTransparentMode)
    return;
  FTransparentColor = Value;
  FTransparentMode = mode;
  FreeMask();
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
  if (Value == FTransparentMode)
    return;
  if (Value == tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(GetTransparentColor());
}

void TBitmap::Dormant()
{
  if (!FHandle)
    return;
  std::vector<uint8_t> memory = SaveToBytes();
  DestroyImage();
  FMemoryImage = std::move(memory);
}

void TBitmap::FreeImage()
{
  HandleNeeded();
  FMemoryImage.clear();
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R)
{
  if (Empty() || !ACanvas || ACanvas == FCanvas.get())
    return;
  HDC dst = ACanvas->GetHandle();
  HBITMAP mask = FTransparent ? GetMaskHandle() : nullptr;
  HDC src = GetCanvas()->GetHandle();
  int w = RectWidth(R), h = RectHeight(R);
  int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
  if (mask) {
    // Picture XOR background, cleared where opaque, XOR picture again: the background
    // stays where the mask is white and the picture lands everywhere else.
    COLORREF oldText = SetTextColor(dst, RGB(0, 0, 0));
    COLORREF oldBk = SetBkColor(dst, RGB(255, 255, 255));
    TMemDC maskDC(mask);
    StretchBlt(dst, R.left, R.top, w, h, src, 0, 0, FWidth, FHeight, SRCINVERT);
    StretchBlt(dst, R.left, R.top, w, h, maskDC, 0, 0, FWidth, FHeight, SRCAND);
    StretchBlt(dst, R.left, R.top, w, h, src, 0, 0, FWidth, FHeight, SRCINVERT);
    SetTextColor(dst, oldText);
    SetBkColor(dst, oldBk);
  } else {
    StretchBlt(dst, R.left, R.top, w, h, src, 0, 0, FWidth, FHeight, DWORD(ACanvas->GetCopyMode()));
  }
  SetStretchBltMode(dst, oldMode);
}

void TBitmap::LoadFromStream(TStream* Stream)
{
  uint8_t head[14 + 124];
  int64_t got = Stream->Read(head, int64_t(kBmpMinHead));
  if (got == 0) {
    Assign(nullptr);
    return;
  }
  if (got != int64_t(kBmpMinHead) || head[0] != 'B' || head[1] != 'M')
    InvalidBitmap();
  size_t headSize = BmpHeadSize(head);
  ReadOrFail(Stream, head + kBmpMinHead, headSize - kBmpMinHead);
  size_t total = BmpFileSize(head, headSize);
  if (int64_t(total - headSize) > Remaining(Stream))
    InvalidBitmap();
  std::vector<uint8_t> data(total);
  std::memcpy(data.data(), head, headSize);
  ReadOrFail(Stream, data.data() + headSize, total - headSize);
  LoadFromBytes(data.data(), data.size());
  Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream)
{
  std::vector<uint8_t> bytes = SaveToBytes();
  WriteOrFail(Stream, bytes.data(), bytes.size());
}

// Form data holds the size of the BMP file before it, so that a reader can skip it.
void TBitmap::ReadData(TStream* Stream)
{
  uint32_t size = 0;
  ReadOrFail(Stream, &size, sizeof size);
  if (int64_t(size) > Remaining(Stream))
    InvalidBitmap();
  std::vector<uint8_t> data(size);
  ReadOrFail(Stream, data.data(), size);
  LoadFromBytes(data.data(), data.size());
  Changed(this);
}

void TBitmap::WriteData(TStream* Stream)
{
  std::vector<uint8_t> bytes = SaveToBytes();
  uint32_t size = uint32_t(bytes.size());
  WriteOrFail(Stream, &size, sizeof size);
  WriteOrFail(Stream, bytes.data(), bytes.size());
}

// RT_BITMAP resources hold a packed DIB: the BMP file without its file header.
static std::vector<uint8_t> BitmapResource(uintptr_t Instance, const wchar_t* Name, const String& Shown)
{
  HMODULE module = Instance ? reinterpret_cast<HMODULE>(Instance) : GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, Name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!res)
    throw EResNotFound(L"Resource " + Shown + L" not found");
  HGLOBAL global = LoadResource(module, res);
  const auto* data = static_cast<const uint8_t*>(global ? LockResource(global) : nullptr);
  return WriteBmpFile(ParseDib(data, SizeofResource(module, res), false));
}

void TBitmap::LoadFromResourceName(uintptr_t Instance, const String& ResName)
{
  std::vector<uint8_t> bytes = BitmapResource(Instance, ResName.c_str(), ResName);
  LoadFromBytes(bytes.data(), bytes.size());
  Changed(this);
}

void TBitmap::LoadFromResourceID(uintptr_t Instance, int ResID)
{
  std::vector<uint8_t> bytes = BitmapResource(Instance, MAKEINTRESOURCEW(ResID), IntToStr(ResID));
  LoadFromBytes(bytes.data(), bytes.size());
  Changed(this);
}

HBITMAP CreateScreenBitmap(int Width, int Height)
{
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), Width, Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}
