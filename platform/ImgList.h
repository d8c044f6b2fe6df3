// Image lists: TCustomImageList and TImageList over comctl32 image lists, with images
// drawn enabled or greyed, a change event and change links that tell every client of a
// change, and the images streamed in form data as one binary value.
#pragma once

#include "platform/Graphics.h"

class TCustomImageList;

// A client's registration with an image list. A link freed first unregisters itself; a
// list freed first clears the links' Sender.
class TChangeLink : public TObject {
  DECLARE_CLASS(TChangeLink, TObject)
public:
  TChangeLink() = default;
  ~TChangeLink() override;

  TCustomImageList* GetSender() const { return FSender; }
  void SetSender(TCustomImageList* Value) { FSender = Value; }
  virtual void Change();

  TNotifyEvent OnChange;

private:
  TCustomImageList* FSender = nullptr;
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
DECLARE_ENUM_INFO(TDrawingStyle)
enum TImageType { itImage, itMask };
DECLARE_ENUM_INFO(TImageType)
enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };
DECLARE_ENUM_INFO(TColorDepth)

class TCustomImageList : public TComponent {
  DECLARE_CLASS(TCustomImageList, TComponent)
public:
  explicit TCustomImageList(TComponent* AOwner);
  // An unowned list of the given image size.
  TCustomImageList(int AWidth, int AHeight);
  ~TCustomImageList() override;

  // Copies the settings and the images of another list.
  void Assign(TPersistent* Source) override;

  // Made on first use (comctl32 is initialised then).
  HIMAGELIST GetHandle();
  // Adopts a list; it is destroyed with this one unless ShareImages is set.
  void SetHandle(HIMAGELIST Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  bool GetShareImages() const { return FShareImages; }
  void SetShareImages(bool Value) { FShareImages = Value; }

  int GetCount() const;
  int GetWidth() const { return FWidth; }
  // A new image size removes every image, as the system list does.
  void SetWidth(int Value) { SetSize(Value, FHeight); }
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value) { SetSize(FWidth, Value); }
  void SetSize(int AWidth, int AHeight);
  TColor GetBkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  TColor GetBlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value);
  TDrawingStyle GetDrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType GetImageType() const { return FImageType; }
  void SetImageType(TImageType Value);
  // Masked and ColorDepth remake the system list; the images are carried over.
  bool GetMasked() const { return FMasked; }
  void SetMasked(bool Value);
  TColorDepth GetColorDepth() const { return FColorDepth; }
  void SetColorDepth(TColorDepth Value);
  int GetAllocBy() const { return FAllocBy; }
  void SetAllocBy(int Value) { FAllocBy = std::max(Value, 1); }

  // Each adds as many images as fit the bitmap's width; the first index or -1.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Pixels of MaskColor become transparent (clDefault: the bitmap's bottom-left pixel).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  int AddIcon(TIcon* Image);
  // Index out of range raises EInvalidOperation.
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
  void Delete(int Index);
  void Clear();

  // Disabled images are drawn in a light grey; dsFocus and dsSelected tint the image with
  // a quarter or a half of BlendColor (the highlight colour when none). Transparent
  // pixels show BkColor unless it is clNone or the style is dsTransparent. An index out
  // of range draws nothing.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle, TImageType AImageType,
            bool Enabled = true);
  // Fills Image with the image over BkColor (white when none); false for a bad index.
  bool GetBitmap(int Index, TBitmap* Image);
  bool GetIcon(int Index, TIcon* Image);

  void BeginUpdate();
  void EndUpdate();
  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  // Tells every registered link, then OnChange; held back while updating or loading.
  virtual void Change();

  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  // The images as the binary value form data holds: see ImgList.cpp for the layout.
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

  TNotifyEvent OnChange;

protected:
  virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);

private:
  void HandleNeeded();
  void FreeHandle();
  HIMAGELIST CreateList() const;
  void Recreate();
  void CheckIndex(int Index) const;
  // Draws every image side by side into a 32-bit picture and a monochrome mask.
  void GetImages(TBitmap* Images, TBitmap* Masks);
  // Draws Count images from First side by side over black and over white: a pixel that
  // differs between the two lets the background through.
  void RenderImages(int First, int Count, TBitmap& OnBlack, TBitmap& OnWhite);

  HIMAGELIST FHandle = nullptr;
  int FWidth = 16;
  int FHeight = 16;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  bool FMasked = true;
  bool FShareImages = false;
  TColorDepth FColorDepth = cdDeviceDependent;
  int FAllocBy = 4;
  std::vector<TChangeLink*> FClients;
  int FUpdateCount = 0;
  bool FChanged = false;
};

class TImageList : public TCustomImageList {
  DECLARE_CLASS(TImageList, TCustomImageList)
public:
  using TCustomImageList::TCustomImageList;
};

// Points ASlot, an image-list property of AOwner, at AValue: AOwner's change link and free
// notification leave the old list and follow the new one. False when ASlot held AValue already.
bool SetImageListProperty(TCustomImageList*& ASlot, TCustomImageList* AValue, TChangeLink* ALink, TComponent* AOwner);
