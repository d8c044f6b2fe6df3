// Pictures: TGraphic, the abstract image with a size, transparency, a change event and a
// stream form; TBitmap, a DIB section (or device bitmap) with pixel formats, scan lines,
// a canvas and the BMP file format; TIcon over an icon handle with the ICO format.
#pragma once

#include "platform/Canvas.h"

class TStream;

class TGraphic : public TPersistent {
  DECLARE_CLASS(TGraphic, TPersistent)
public:
  virtual bool Empty() const = 0;
  virtual int GetWidth() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual int GetHeight() const = 0;
  virtual void SetHeight(int Value) = 0;
  virtual void SetSize(int AWidth, int AHeight);
  virtual bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool GetModified() const { return FModified; }
  void SetModified(bool Value);

  // Reads the image at the stream's position; raises EInvalidGraphic when it is damaged.
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

  // Paints the image stretched into R of the canvas.
  virtual void Draw(TCanvas* ACanvas, const TRect& R) = 0;

  // Form data keeps the image as the binary value "Data".
  void DefineProperties(TFiler* Filer) override;

  TNotifyEvent OnChange;

protected:
  virtual void Changed(TObject* Sender);
  virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }
  bool FTransparent = false;
  bool FModified = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
DECLARE_ENUM_INFO(TPixelFormat)
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;

class TBitmap : public TGraphic {
  DECLARE_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;

  // Copies another bitmap, or draws any other graphic; nil empties the bitmap.
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FWidth <= 0 || FHeight <= 0; }
  int GetWidth() const override { return FWidth; }
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  int GetHeight() const override { return FHeight; }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  // Keeps the top-left part of the picture; new pixels are white.
  void SetSize(int AWidth, int AHeight) override;

  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  // Converts the picture; colours without an exact match take the nearest one.
  void SetPixelFormat(TPixelFormat Value);
  TBitmapHandleType GetHandleType() const { return FPixelFormat == pfDevice ? bmDDB : bmDIB; }
  // bmDIB turns a device bitmap into a 32-bit DIB; bmDDB the other way.
  void SetHandleType(TBitmapHandleType Value);

  // The canvas on a memory DC that holds the bitmap; drawing on it fires OnChange.
  TCanvas* GetCanvas();
  // Row Row from the top of a DIB (a device bitmap becomes one first); raises
  // EInvalidGraphicOperation outside 0 .. Height-1.
  void* ScanLine(int Row);

  HBITMAP GetHandle();
  // Adopts a bitmap handle, owned from now on. A device bitmap is kept; a DIB section is
  // copied into a bottom-up one of the same format (GDI does not say which way it runs).
  void SetHandle(HBITMAP Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Gives the handle away: the caller deletes it; the picture is kept in memory.
  HBITMAP ReleaseHandle();
  // A monochrome mask: white where the picture has the transparent colour.
  HBITMAP GetMaskHandle();
  HBITMAP ReleaseMaskHandle();
  // Turns the bitmap into its own mask for TransparentColor (black and white, 1 bit).
  void Mask(TColor TransparentColor);

  // Fixed colour, or the bottom-left pixel in tmAuto mode.
  TColor GetTransparentColor();
  // Setting a colour fixes it; clDefault goes back to tmAuto.
  void SetTransparentColor(TColor Value);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  // BMP files: 1, 4, 8, 16, 24 and 32 bits, bottom-up or top-down, uncompressed or with
  // bit fields. Anything else raises EInvalidGraphic "Bitmap image is not valid".
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // RT_BITMAP resources of a module (0 for this program).
  void LoadFromResourceName(uintptr_t Instance, const String& ResName);
  void LoadFromResourceID(uintptr_t Instance, int ResID);

  // Keeps the picture in memory only and frees the GDI objects until the next use.
  void Dormant();
  // Drops the in-memory copy once a handle holds the picture.
  void FreeImage();

  void Draw(TCanvas* ACanvas, const TRect& R) override;

  // The picture as a BMP file in memory, and back; used by the streams and by Dormant.
  std::vector<uint8_t> SaveToBytes();
  void LoadFromBytes(const uint8_t* Data, size_t Size);

protected:
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;
  void Changed(TObject* Sender) override;

private:
  friend class TBitmapCanvas;
  // Makes a new picture of the given size and format, copying what fits of the old.
  void Rebuild(int AWidth, int AHeight, TPixelFormat Format, bool CopyPicture);
  void ReplaceImage(HBITMAP Handle, void* Bits, int AWidth, int AHeight, TPixelFormat Format);
  void FreeContext();
  void FreeMask();
  void DestroyImage();
  void HandleNeeded();
  // Called by the canvas before it draws: the in-memory copy and the mask go stale.
  void CanvasChanging();

  HBITMAP FHandle = nullptr;
  void* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  std::vector<RGBQUAD> FColorTable;
  HBITMAP FMaskHandle = nullptr;
  TColor FMaskColor = clNone;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  std::unique_ptr<TBitmapCanvas> FCanvas;
  // The picture while dormant or after ReleaseHandle, as a BMP file.
  std::vector<uint8_t> FMemoryImage;
};

class TIcon : public TGraphic {
  DECLARE_CLASS(TIcon, TGraphic)
public:
  TIcon() = default;
  ~TIcon() override;

  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FHandle == nullptr; }
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  // An icon's size comes from its image: these raise EInvalidGraphicOperation.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  HICON GetHandle() const { return FHandle; }
  // Adopts an icon handle; it is owned from now on.
  void SetHandle(HICON Value);
  HICON ReleaseHandle();

  // ICO files: the largest image of the file is taken.
  void LoadFromStream(TStream* Stream) override;
  // Writes a one-image ICO file with a 32-bit picture and its mask.
  void SaveToStream(TStream* Stream) override;
  // RT_GROUP_ICON resources at the system's large icon size.
  void LoadFromResourceName(uintptr_t Instance, const String& ResName);
  void LoadFromResourceID(uintptr_t Instance, int ResID);

  void Draw(TCanvas* ACanvas, const TRect& R) override;

private:
  void Adopt(HICON Value);
  HICON FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
};

// A bitmap to draw in as on the screen, for paint buffers and device-format pictures: a 32-bit
// DIB section. A device bitmap would draw the same, but under Wine its making and every
// selection into a DC is a round trip to the window server.
HBITMAP CreateScreenBitmap(int Width, int Height);
