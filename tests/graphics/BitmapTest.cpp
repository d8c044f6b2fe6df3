// Bitmaps: size and pixel formats, scan lines, the BMP stream in and out (including
// damaged ones), transparency when drawn, and the handle's life cycle.
#include <gtest/gtest.h>

#include <cstring>

#include "GdiCheck.h"
#include "support/Pixels.h"
#include "platform/Streams.h"

namespace {

// A picture with a distinct colour in each quadrant and a dot.
void PaintQuadrants(TBitmap& Bitmap)
{
  TCanvas* c = Bitmap.GetCanvas();
  int w = Bitmap.GetWidth(), h = Bitmap.GetHeight();
  c->GetBrush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, w / 2, h / 2));
  c->GetBrush()->SetColor(clLime);
  c->FillRect(Rect(w / 2, 0, w, h / 2));
  c->GetBrush()->SetColor(clBlue);
  c->FillRect(Rect(0, h / 2, w / 2, h));
  c->GetBrush()->SetColor(clWhite);
  c->FillRect(Rect(w / 2, h / 2, w, h));
  c->SetPixel(w - 1, h - 1, clBlack);
}

void ExpectQuadrants(TBitmap& Bitmap, const char* Where)
{
  int w = Bitmap.GetWidth(), h = Bitmap.GetHeight();
  EXPECT_TRUE(ColorNear(At(Bitmap, 1, 1), RGB(255, 0, 0), 0)) << Where;
  EXPECT_TRUE(ColorNear(At(Bitmap, w - 2, 1), RGB(0, 255, 0), 0)) << Where;
  EXPECT_TRUE(ColorNear(At(Bitmap, 1, h - 1), RGB(0, 0, 255), 0)) << Where;
  EXPECT_TRUE(ColorNear(At(Bitmap, w - 2, h - 2), RGB(255, 255, 255), 0)) << Where;
  EXPECT_TRUE(ColorNear(At(Bitmap, w - 1, h - 1), RGB(0, 0, 0), 0)) << Where;
}

std::vector<uint8_t> StreamBytes(TMemoryStream& Stream)
{
  const auto* p = static_cast<const uint8_t*>(Stream.Memory());
  return std::vector<uint8_t>(p, p + Stream.GetSize());
}

void LoadBytes(TBitmap& Bitmap, const std::vector<uint8_t>& Bytes)
{
  TMemoryStream stream;
  stream.Write(Bytes.data(), int64_t(Bytes.size()));
  stream.SetPosition(0);
  Bitmap.LoadFromStream(&stream);
}

void Put32(std::vector<uint8_t>& Bytes, size_t At, uint32_t Value)
{
  std::memcpy(Bytes.data() + At, &Value, 4);
}

// A hand-made BMP file: 3x2 pixels, 32 bits, with a 40-byte header and the given rows.
std::vector<uint8_t> SmallBmp(bool TopDown, uint32_t Compression = BI_RGB, const uint32_t* Masks = nullptr)
{
  std::vector<uint8_t> b(14 + 40 + (Masks ? 12 : 0) + 3 * 2 * 4);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, uint32_t(b.size()));
  Put32(b, 10, uint32_t(14 + 40 + (Masks ? 12 : 0)));
  Put32(b, 14, 40);
  Put32(b, 18, 3);
  Put32(b, 22, uint32_t(TopDown ? -2 : 2));
  b[26] = 1;
  b[28] = 32;
  Put32(b, 30, Compression);
  size_t at = 54;
  if (Masks)
    for (int i = 0; i < 3; ++i, at += 4)
      Put32(b, at, Masks[i]);
  // File order: first row red pixels, second row blue (0x00RRGGBB little-endian).
  for (int x = 0; x < 3; ++x)
    Put32(b, at + 4 * x, 0x00FF0000);
  for (int x = 0; x < 3; ++x)
    Put32(b, at + 12 + 4 * x, 0x000000FF);
  return b;
}

}  // namespace

class BitmapTest : public TGdiLeakTest {};

TEST_F(BitmapTest, NewPixelsAreWhiteAndResizeKeepsTheTopLeft)
{
  TBitmap bmp;
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.GetHandle(), nullptr);
  bmp.SetSize(20, 10);
  EXPECT_FALSE(bmp.Empty());
  EXPECT_EQ(bmp.GetPixelFormat(), pfDevice);
  EXPECT_EQ(bmp.GetHandleType(), bmDDB);
  EXPECT_TRUE(ColorNear(At(bmp, 19, 9), RGB(255, 255, 255), 0));
  bmp.GetCanvas()->SetPixel(2, 3, clRed);
  bmp.SetSize(40, 30);
  EXPECT_TRUE(ColorNear(At(bmp, 2, 3), RGB(255, 0, 0), 0)) << "kept";
  EXPECT_TRUE(ColorNear(At(bmp, 35, 25), RGB(255, 255, 255), 0)) << "new area";
  bmp.SetWidth(-5);
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.GetWidth(), 0);
}

TEST_F(BitmapTest, ScanLinesAddressRowsFromTheTop)
{
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetSize(4, 3);
  auto* row = static_cast<uint32_t*>(bmp.ScanLine(0));
  row[1] = 0x00FF0000;  // red in 0x00RRGGBB
  static_cast<uint32_t*>(bmp.ScanLine(2))[3] = 0x000000FF;
  EXPECT_TRUE(ColorNear(At(bmp, 1, 0), RGB(255, 0, 0), 0));
  EXPECT_TRUE(ColorNear(At(bmp, 3, 2), RGB(0, 0, 255), 0));
  EXPECT_THROW(bmp.ScanLine(3), EInvalidGraphicOperation);
  EXPECT_THROW(bmp.ScanLine(-1), EInvalidGraphicOperation);

  TBitmap device(4, 4);
  ASSERT_EQ(device.GetHandleType(), bmDDB);
  device.GetCanvas()->SetPixel(0, 0, clLime);
  auto* first = static_cast<uint32_t*>(device.ScanLine(0));
  EXPECT_EQ(device.GetHandleType(), bmDIB) << "scan lines need a DIB";
  EXPECT_EQ(first[0] & 0xFFFFFF, 0x00FF00u);
}

TEST_F(BitmapTest, PixelFormatConversionKeepsThePicture)
{
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetSize(16, 16);
  PaintQuadrants(bmp);
  for (TPixelFormat pf : {pf24bit, pf8bit, pf4bit, pf16bit, pf15bit, pf32bit, pfDevice}) {
    bmp.SetPixelFormat(pf);
    EXPECT_EQ(bmp.GetPixelFormat(), pf);
    ExpectQuadrants(bmp, ToUtf8(GetEnumName(EnumInfo<TPixelFormat>(), pf)).c_str());
  }
  bmp.SetPixelFormat(pf1bit);
  EXPECT_TRUE(ColorNear(At(bmp, 12, 12), RGB(255, 255, 255), 0));
  EXPECT_TRUE(ColorNear(At(bmp, 15, 15), RGB(0, 0, 0), 0));
}

TEST_F(BitmapTest, StreamRoundTripForEveryPixelFormat)
{
  for (TPixelFormat pf : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfDevice}) {
    std::string name = ToUtf8(GetEnumName(EnumInfo<TPixelFormat>(), pf));
    TBitmap bmp;
    bmp.SetPixelFormat(pf);
    bmp.SetSize(13, 7);  // odd width: rows need padding
    if (pf == pf1bit) {
      bmp.GetCanvas()->GetBrush()->SetColor(clBlack);
      bmp.GetCanvas()->FillRect(Rect(0, 0, 6, 7));
    } else {
      PaintQuadrants(bmp);
    }
    TMemoryStream stream;
    bmp.SaveToStream(&stream);
    std::vector<uint8_t> bytes = StreamBytes(stream);
    ASSERT_GT(bytes.size(), 54u) << name;
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');

    TBitmap back;
    stream.SetPosition(0);
    back.LoadFromStream(&stream);
    EXPECT_EQ(stream.GetPosition(), stream.GetSize()) << name << ": the whole file is read";
    EXPECT_EQ(back.GetWidth(), 13) << name;
    EXPECT_EQ(back.GetHeight(), 7) << name;
    EXPECT_EQ(back.GetPixelFormat(), pf == pfDevice ? pf32bit : pf) << name;
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x)
        ASSERT_EQ(At(back, x, y), At(bmp, x, y)) << name << " at " << x << "," << y;
  }
}

TEST_F(BitmapTest, ReadsTopDownAndBitFieldPictures)
{
  TBitmap bmp;
  LoadBytes(bmp, SmallBmp(false));
  EXPECT_TRUE(ColorNear(At(bmp, 0, 1), RGB(255, 0, 0), 0)) << "bottom-up: the first file row is the bottom";
  EXPECT_TRUE(ColorNear(At(bmp, 0, 0), RGB(0, 0, 255), 0));

  LoadBytes(bmp, SmallBmp(true));
  EXPECT_TRUE(ColorNear(At(bmp, 2, 0), RGB(255, 0, 0), 0)) << "top-down: the first file row is the top";
  EXPECT_TRUE(ColorNear(At(bmp, 2, 1), RGB(0, 0, 255), 0));

  // Blue and red swapped by the masks: converted to plain 32 bits.
  const uint32_t swapped[3] = {0x000000FF, 0x0000FF00, 0x00FF0000};
  LoadBytes(bmp, SmallBmp(false, BI_BITFIELDS, swapped));
  EXPECT_EQ(bmp.GetPixelFormat(), pf32bit);
  EXPECT_TRUE(ColorNear(At(bmp, 0, 1), RGB(0, 0, 255), 0));
  EXPECT_TRUE(ColorNear(At(bmp, 0, 0), RGB(255, 0, 0), 0));
}

TEST_F(BitmapTest, DamagedStreamsRaiseAndKeepThePicture)
{
  TBitmap bmp(5, 5);
  bmp.GetCanvas()->SetPixel(1, 1, clRed);
  std::vector<uint8_t> good = SmallBmp(false);
  struct TCase {
    const char* Name;
    std::function<void(std::vector<uint8_t>&)> Damage;
  } cases[] = {
      {"not BM", [](auto& b) { b[0] = 'X'; }},
      {"truncated pixels", [](auto& b) { b.resize(b.size() - 3); }},
      {"truncated header", [](auto& b) { b.resize(30); }},
      {"unknown header size", [](auto& b) { Put32(b, 14, 41); }},
      {"zero width", [](auto& b) { Put32(b, 18, 0); }},
      {"negative width", [](auto& b) { Put32(b, 18, uint32_t(-3)); }},
      {"zero height", [](auto& b) { Put32(b, 22, 0); }},
      {"huge size",
       [](auto& b) {
         Put32(b, 18, 60000);
         Put32(b, 22, 60000);
       }},
      {"two planes", [](auto& b) { b[26] = 2; }},
      {"7 bits", [](auto& b) { b[28] = 7; }},
      {"run-length",
       [](auto& b) {
         b[28] = 8;
         Put32(b, 30, BI_RLE8);
       }},
      {"too many colours",
       [](auto& b) {
         b[28] = 4;
         Put32(b, 46, 17);
       }},
      {"pixels inside the header", [](auto& b) { Put32(b, 10, 20); }},
      {"pixels past the end", [](auto& b) { Put32(b, 10, 5000); }},
      {"zero mask",
       [](auto& b) {
         Put32(b, 30, BI_BITFIELDS);
         b.insert(b.begin() + 54, 12, 0);
         Put32(b, 10, 66);
       }},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = good;
    c.Damage(bytes);
    try {
      LoadBytes(bmp, bytes);
      ADD_FAILURE() << c.Name << ": no error";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message(), L"Bitmap image is not valid") << c.Name;
    }
    EXPECT_EQ(bmp.GetWidth(), 5) << c.Name << ": the old picture stays";
    EXPECT_TRUE(ColorNear(At(bmp, 1, 1), RGB(255, 0, 0), 0)) << c.Name;
  }
  TMemoryStream empty;
  bmp.LoadFromStream(&empty);
  EXPECT_TRUE(bmp.Empty()) << "an empty stream is an empty picture";
}

TEST_F(BitmapTest, TransparentDrawLeavesTheKeyColour)
{
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(10, 10);
  glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  glyph.GetCanvas()->FillRect(Rect(0, 0, 10, 10));
  glyph.GetCanvas()->GetBrush()->SetColor(clNavy);
  glyph.GetCanvas()->FillRect(Rect(3, 3, 7, 7));
  EXPECT_EQ(glyph.GetTransparentColor(), clFuchsia) << "the bottom-left pixel by default";
  EXPECT_EQ(glyph.GetTransparentMode(), tmAuto);

  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(30, 30);
  target.GetCanvas()->GetBrush()->SetColor(clLime);
  target.GetCanvas()->FillRect(Rect(0, 0, 30, 30));
  target.GetCanvas()->Draw(0, 0, &glyph);
  EXPECT_TRUE(ColorNear(At(target, 1, 1), RGB(255, 0, 255), 0)) << "opaque by default";

  glyph.SetTransparent(true);
  target.GetCanvas()->Draw(15, 15, &glyph);
  EXPECT_TRUE(ColorNear(At(target, 16, 16), RGB(0, 255, 0), 0)) << "the key colour shows the background";
  EXPECT_TRUE(ColorNear(At(target, 20, 20), RGB(0, 0, 0x80), 0));

  target.GetCanvas()->StretchDraw(Rect(0, 0, 20, 20), &glyph);
  EXPECT_TRUE(ColorNear(At(target, 10, 10), RGB(0, 0, 0x80), 0));
  EXPECT_TRUE(ColorNear(At(target, 2, 18), RGB(0, 255, 0), 0));

  glyph.SetTransparentColor(clNavy);
  EXPECT_EQ(glyph.GetTransparentMode(), tmFixed);
  target.GetCanvas()->GetBrush()->SetColor(clYellow);
  target.GetCanvas()->FillRect(Rect(0, 0, 30, 30));
  target.GetCanvas()->Draw(0, 0, &glyph);
  EXPECT_TRUE(ColorNear(At(target, 5, 5), RGB(255, 255, 0), 0));
  EXPECT_TRUE(ColorNear(At(target, 1, 1), RGB(255, 0, 255), 0));
  glyph.SetTransparentMode(tmAuto);
  EXPECT_EQ(glyph.GetTransparentColor(), clFuchsia);
}

TEST_F(BitmapTest, MaskMarksTheTransparentColourWhite)
{
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(8, 8);
  bmp.GetCanvas()->GetBrush()->SetColor(clRed);
  bmp.GetCanvas()->FillRect(Rect(0, 0, 4, 8));
  TBitmap mask;
  mask.SetHandle(bmp.ReleaseMaskHandle());
  EXPECT_TRUE(ColorNear(At(mask, 1, 1), RGB(255, 255, 255), 0)) << "red, the bottom-left colour, is transparent";
  EXPECT_TRUE(ColorNear(At(mask, 6, 1), RGB(0, 0, 0), 0));
  bmp.SetTransparentColor(clWhite);
  mask.SetHandle(bmp.ReleaseMaskHandle());
  EXPECT_TRUE(ColorNear(At(mask, 6, 1), RGB(255, 255, 255), 0));
  EXPECT_TRUE(ColorNear(At(mask, 1, 1), RGB(0, 0, 0), 0));

  bmp.Mask(clRed);
  EXPECT_EQ(bmp.GetPixelFormat(), pf1bit);
  EXPECT_TRUE(ColorNear(At(bmp, 1, 1), RGB(255, 255, 255), 0));
  EXPECT_TRUE(ColorNear(At(bmp, 6, 1), RGB(0, 0, 0), 0));
}

TEST_F(BitmapTest, DormantAndReleaseHandleKeepThePicture)
{
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(16, 16);
  PaintQuadrants(bmp);
  int withHandle = GdiObjectsInUse();
  bmp.Dormant();
  EXPECT_FALSE(bmp.HandleAllocated());
  EXPECT_LT(GdiObjectsInUse(), withHandle) << "the bitmap and its DC are freed";
  EXPECT_EQ(bmp.GetWidth(), 16);
  ExpectQuadrants(bmp, "after Dormant");
  bmp.FreeImage();
  ExpectQuadrants(bmp, "after FreeImage");

  HBITMAP given = bmp.ReleaseHandle();
  ASSERT_NE(given, nullptr);
  EXPECT_FALSE(bmp.HandleAllocated());
  ExpectQuadrants(bmp, "after ReleaseHandle");
  EXPECT_NE(bmp.GetHandle(), given);
  DeleteObject(given);

  TBitmap adopted;
  HDC screen = GetDC(nullptr);
  HBITMAP ddb = CreateCompatibleBitmap(screen, 7, 5);
  ReleaseDC(nullptr, screen);
  adopted.SetHandle(ddb);
  EXPECT_EQ(adopted.GetWidth(), 7);
  EXPECT_EQ(adopted.GetHeight(), 5);
  EXPECT_EQ(adopted.GetHandleType(), bmDDB);
  EXPECT_THROW(adopted.SetHandle(reinterpret_cast<HBITMAP>(GetStockObject(BLACK_PEN))), EInvalidGraphic);
}

TEST_F(BitmapTest, FilesRoundTripAndMissingFilesRaise)
{
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  String path = String(dir) + L"graphics_test_quadrants.bmp";
  TBitmap bmp;
  bmp.SetPixelFormat(pf8bit);
  bmp.SetSize(16, 16);
  PaintQuadrants(bmp);
  bmp.SaveToFile(path);
  TBitmap back;
  back.LoadFromFile(path);
  DeleteFileW(path.c_str());
  EXPECT_EQ(back.GetPixelFormat(), pf8bit);
  ExpectQuadrants(back, "from the file");
  EXPECT_THROW(back.LoadFromFile(String(dir) + L"no_such_picture.bmp"), EFOpenError);
  EXPECT_EQ(back.GetWidth(), 16);
}

TEST_F(BitmapTest, DeviceBitmapsStayDeviceBitmapsThroughDormant)
{
  TBitmap bmp(16, 16);
  PaintQuadrants(bmp);
  bmp.Dormant();
  EXPECT_EQ(bmp.GetPixelFormat(), pfDevice);
  ExpectQuadrants(bmp, "restored");
  EXPECT_EQ(bmp.GetHandleType(), bmDDB);
  bmp.SetHandleType(bmDIB);
  EXPECT_EQ(bmp.GetPixelFormat(), pf32bit);
  ExpectQuadrants(bmp, "as a DIB");
}

class IconTest : public TGdiLeakTest {};

TEST_F(IconTest, LoadsDrawsAndStreams)
{
  TIcon icon;
  EXPECT_TRUE(icon.Empty());
  icon.LoadFromResourceName(0, L"ORANGE");
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(icon.GetWidth(), GetSystemMetrics(SM_CXICON));
  EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);

  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(40, 40);
  target.GetCanvas()->GetBrush()->SetColor(clBlue);
  target.GetCanvas()->FillRect(Rect(0, 0, 40, 40));
  target.GetCanvas()->Draw(4, 4, &icon);
  EXPECT_TRUE(ColorNear(At(target, 30, 30), RGB(255, 0x80, 0), 2)) << "orange body";
  EXPECT_TRUE(ColorNear(At(target, 5, 5), RGB(0, 0, 255), 2)) << "transparent corner";

  TMemoryStream stream;
  icon.SaveToStream(&stream);
  stream.SetPosition(0);
  TIcon back;
  back.LoadFromStream(&stream);
  EXPECT_EQ(back.GetWidth(), icon.GetWidth());
  target.GetCanvas()->FillRect(Rect(0, 0, 40, 40));
  target.GetCanvas()->Draw(4, 4, &back);
  EXPECT_TRUE(ColorNear(At(target, 30, 30), RGB(255, 0x80, 0), 2));
  EXPECT_TRUE(ColorNear(At(target, 5, 5), RGB(0, 0, 255), 2));

  TBitmap fromIcon;
  fromIcon.Assign(&icon);
  EXPECT_EQ(fromIcon.GetWidth(), icon.GetWidth());
  EXPECT_TRUE(ColorNear(At(fromIcon, 20, 20), RGB(255, 0x80, 0), 2));
}

TEST_F(IconTest, DamagedIconStreamsRaise)
{
  TIcon icon;
  auto load = [&](std::vector<uint8_t> bytes) {
    TMemoryStream s;
    s.Write(bytes.data(), int64_t(bytes.size()));
    s.SetPosition(0);
    icon.LoadFromStream(&s);
  };
  EXPECT_THROW(load({0, 0, 1, 0}), EInvalidGraphic);
  EXPECT_THROW(load({0, 0, 2, 0, 1, 0}), EInvalidGraphic) << "a cursor file";
  EXPECT_THROW(load({0, 0, 1, 0, 0, 0}), EInvalidGraphic) << "no images";
  std::vector<uint8_t> entryPastEnd = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
  for (uint32_t v : {1000u, 22u})
    for (int i = 0; i < 4; ++i)
      entryPastEnd.push_back(uint8_t(v >> (8 * i)));
  EXPECT_THROW(load(entryPastEnd), EInvalidGraphic);
  std::vector<uint8_t> garbage = entryPastEnd;
  garbage[14] = 8;
  garbage[15] = 0;
  garbage.resize(22 + 8, 0x5A);
  EXPECT_THROW(load(garbage), EInvalidGraphic) << "an image that is not one";
  EXPECT_TRUE(icon.Empty());
}
