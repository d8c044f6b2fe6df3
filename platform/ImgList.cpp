#include "platform/ImgList.h"

#include <algorithm>
#include <cstring>

#include "platform/Filer.h"
#include "platform/ImageListData.h"
#include "platform/Streams.h"

DEFINE_ENUM_INFO(TDrawingStyle, L"dsFocus", L"dsSelected", L"dsNormal", L"dsTransparent")
DEFINE_ENUM_INFO(TImageType, L"itImage", L"itMask")
DEFINE_ENUM_INFO(TColorDepth, L"cdDeviceDependent", L"cd4Bit", L"cd8Bit", L"cd16Bit", L"cd24Bit", L"cd32Bit")

namespace {

void EnsureCommonControls()
{
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

COLORREF ListColor(TColor Color)
{
  if (Color == clNone)
    return CLR_NONE;
  if (Color == clDefault)
    return CLR_DEFAULT;
  return ColorToRGB(Color);
}

// A memory DC holding one bitmap for the length of a scope.
class TScopedDC {
public:
  explicit TScopedDC(HBITMAP Bitmap) : FDC(CreateCompatibleDC(nullptr)), FOld(SelectObject(FDC, Bitmap)) {}
  ~TScopedDC()
  {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
  }
  TScopedDC(const TScopedDC&) = delete;
  TScopedDC& operator=(const TScopedDC&) = delete;
  operator HDC() const { return FDC; }

private:
  HDC FDC;
  HGDIOBJ FOld;
};

}  // namespace

// ---------------------------------------------------------------------------
// TChangeLink

IMPLEMENT_CLASS(TChangeLink, TObject)

TChangeLink::~TChangeLink()
{
  if (FSender)
    FSender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
  if (FSender)
    CallEvent(OnChange, FSender);
}

// ---------------------------------------------------------------------------
// TCustomImageList

IMPLEMENT_CLASS(TCustomImageList, TComponent)

PUBLISHED(TImageList, TCustomImageList)
{
  p.Prop(L"AllocBy", &TImageList::GetAllocBy, &TImageList::SetAllocBy).Default(4);
  p.Prop(L"BlendColor", &TImageList::GetBlendColor, &TImageList::SetBlendColor).Default(clNone).Idents(&ColorIdents());
  p.Prop(L"BkColor", &TImageList::GetBkColor, &TImageList::SetBkColor).Default(clNone).Idents(&ColorIdents());
  p.Prop(L"ColorDepth", &TImageList::GetColorDepth, &TImageList::SetColorDepth).Default(cdDeviceDependent);
  p.Prop(L"DrawingStyle", &TImageList::GetDrawingStyle, &TImageList::SetDrawingStyle).Default(dsNormal);
  p.Prop(L"Height", &TImageList::GetHeight, &TImageList::SetHeight).Default(16);
  p.Prop(L"ImageType", &TImageList::GetImageType, &TImageList::SetImageType).Default(itImage);
  p.Prop(L"Masked", &TImageList::GetMasked, &TImageList::SetMasked).Default(true);
  p.Prop(L"ShareImages", &TImageList::GetShareImages, &TImageList::SetShareImages).Default(false);
  p.Prop(L"Width", &TImageList::GetWidth, &TImageList::SetWidth).Default(16);
  p.Event(L"OnChange", &TImageList::OnChange, &TImageList::OnChange);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(int AWidth, int AHeight) : TComponent(nullptr)
{
  FWidth = std::clamp(AWidth, 1, kMaxImageListSide);
  FHeight = std::clamp(AHeight, 1, kMaxImageListSide);
}

TCustomImageList::~TCustomImageList()
{
  while (!FClients.empty())
    UnRegisterChanges(FClients.back());
  FreeHandle();
}

HIMAGELIST TCustomImageList::CreateList() const
{
  EnsureCommonControls();
  static const UINT depths[] = {ILC_COLORDDB, ILC_COLOR4, ILC_COLOR8, ILC_COLOR16, ILC_COLOR24, ILC_COLOR32};
  UINT flags = depths[FColorDepth] | (FMasked ? ILC_MASK : 0);
  HIMAGELIST list = ImageList_Create(FWidth, FHeight, flags, FAllocBy, FAllocBy);
  if (!list)
    throw EOutOfResources(L"Failed to create the image list");
  ImageList_SetBkColor(list, ListColor(FBkColor));
  return TrackGdiObject(list);
}

void TCustomImageList::HandleNeeded()
{
  if (!FHandle)
    FHandle = CreateList();
}

HIMAGELIST TCustomImageList::GetHandle()
{
  HandleNeeded();
  return FHandle;
}

void TCustomImageList::FreeHandle()
{
  if (!FHandle)
    return;
  UntrackGdiObject(FHandle);
  if (!FShareImages)
    ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

void TCustomImageList::SetHandle(HIMAGELIST Value)
{
  if (Value == FHandle)
    return;
  FreeHandle();
  FHandle = TrackGdiObject(Value);
  if (Value) {
    int cx = 0, cy = 0;
    if (ImageList_GetIconSize(Value, &cx, &cy)) {
      FWidth = cx;
      FHeight = cy;
    }
    COLORREF bk = ImageList_GetBkColor(Value);
    FBkColor = bk == CLR_NONE ? clNone : TColor(bk);
  }
  Change();
}

int TCustomImageList::GetCount() const
{
  return FHandle ? ImageList_GetImageCount(FHandle) : 0;
}

void TCustomImageList::CheckIndex(int Index) const
{
  if (Index < 0 || Index >= GetCount())
    throw EInvalidOperation(L"Image list index out of range (" + IntToStr(Index) + L")");
}

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
  AWidth = std::clamp(AWidth, 1, kMaxImageListSide);
  AHeight = std::clamp(AHeight, 1, kMaxImageListSide);
  if (AWidth == FWidth && AHeight == FHeight)
    return;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FHandle)
    ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

void TCustomImageList::SetBkColor(TColor Value)
{
  if (Value == FBkColor)
    return;
  FBkColor = Value;
  if (FHandle)
    ImageList_SetBkColor(FHandle, ListColor(Value));
  Change();
}

void TCustomImageList::SetBlendColor(TColor Value)
{
  if (Value == FBlendColor)
    return;
  FBlendColor = Value;
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value)
{
  if (Value == FDrawingStyle || Value < dsFocus || Value > dsTransparent)
    return;
  FDrawingStyle = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value)
{
  if (Value == FImageType || Value < itImage || Value > itMask)
    return;
  FImageType = Value;
  Change();
}

void TCustomImageList::SetMasked(bool Value)
{
  if (Value == FMasked)
    return;
  FMasked = Value;
  Recreate();
  Change();
}

void TCustomImageList::SetColorDepth(TColorDepth Value)
{
  if (Value == FColorDepth || Value < cdDeviceDependent || Value > cd32Bit)
    return;
  FColorDepth = Value;
  Recreate();
  Change();
}

// A new system list with the current settings, holding the images of the old one.
void TCustomImageList::Recreate()
{
  if (!FHandle)
    return;
  TBitmap images, masks;
  GetImages(&images, &masks);
  HIMAGELIST fresh = CreateList();
  FreeHandle();
  FHandle = fresh;
  if (!images.Empty())
    ImageList_Add(FHandle, images.GetHandle(), FMasked ? masks.GetHandle() : nullptr);
}

void TCustomImageList::RenderImages(int First, int Count, TBitmap& OnBlack, TBitmap& OnWhite)
{
  int width = Count * FWidth;
  for (TBitmap* b : {&OnBlack, &OnWhite}) {
    b->SetPixelFormat(pf32bit);
    b->SetSize(width, FHeight);
    HDC dc = b->GetCanvas()->GetHandle();
    RECT all{0, 0, width, FHeight};
    ::FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(b == &OnBlack ? BLACK_BRUSH : WHITE_BRUSH)));
    for (int i = 0; i < Count; ++i)
      ImageList_DrawEx(FHandle, First + i, dc, i * FWidth, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
  }
  GdiFlush();
}

void TCustomImageList::GetImages(TBitmap* Images, TBitmap* Masks)
{
  int count = GetCount();
  Masks->SetPixelFormat(pf1bit);
  Masks->SetSize(count * FWidth, count ? FHeight : 0);  // new pixels are white: transparent
  if (!count) {
    Images->SetPixelFormat(pf32bit);
    Images->SetSize(0, 0);
    return;
  }
  TBitmap onWhite;
  // Transparent pixels come out black, as AddMasked leaves them.
  RenderImages(0, count, *Images, onWhite);
  for (int y = 0; y < FHeight; ++y) {
    const auto* black = static_cast<const uint32_t*>(Images->ScanLine(y));
    const auto* white = static_cast<const uint32_t*>(onWhite.ScanLine(y));
    auto* mask = static_cast<uint8_t*>(Masks->ScanLine(y));
    for (int x = 0; x < count * FWidth; ++x)
      if ((black[x] & 0xFFFFFF) == (white[x] & 0xFFFFFF))
        mask[x / 8] &= uint8_t(~(0x80 >> (x % 8)));
  }
}

void TCustomImageList::Assign(TPersistent* Source)
{
  auto* list = dynamic_cast<TCustomImageList*>(Source);
  if (!list) {
    TComponent::Assign(Source);
    return;
  }
  if (list == this)
    return;
  BeginUpdate();
  FreeHandle();
  FWidth = list->FWidth;
  FHeight = list->FHeight;
  FBkColor = list->FBkColor;
  FBlendColor = list->FBlendColor;
  FDrawingStyle = list->FDrawingStyle;
  FImageType = list->FImageType;
  FMasked = list->FMasked;
  FColorDepth = list->FColorDepth;
  FAllocBy = list->FAllocBy;
  if (list->FHandle)
    FHandle = TrackGdiObject(ImageList_Duplicate(list->FHandle));
  Change();
  EndUpdate();
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
  if (!Image || Image->Empty())
    return -1;
  HandleNeeded();
  int index = ImageList_Add(FHandle, Image->GetHandle(), Mask && !Mask->Empty() ? Mask->GetHandle() : nullptr);
  if (index >= 0)
    Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
  if (!Image || Image->Empty())
    return -1;
  HandleNeeded();
  if (MaskColor == clDefault)
    MaskColor = Image->GetCanvas()->GetPixel(0, Image->GetHeight() - 1);
  // The system call blackens the transparent pixels of what it is given: give it a copy.
  TBitmap copy;
  copy.Assign(Image);
  int index = ImageList_AddMasked(FHandle, copy.GetHandle(), ColorToRGB(MaskColor));
  if (index >= 0)
    Change();
  return index;
}

int TCustomImageList::AddIcon(TIcon* Image)
{
  if (!Image || Image->Empty())
    return -1;
  HandleNeeded();
  int index = ImageList_ReplaceIcon(FHandle, -1, Image->GetHandle());
  if (index >= 0)
    Change();
  return index;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
  CheckIndex(Index);
  if (!Image || Image->Empty())
    return;
  if (!ImageList_Replace(FHandle, Index, Image->GetHandle(), Mask && !Mask->Empty() ? Mask->GetHandle() : nullptr))
    throw EInvalidOperation(L"Failed to replace the image");
  Change();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor)
{
  CheckIndex(Index);
  if (!NewImage || NewImage->Empty())
    return;
  TBitmap copy, mask;
  copy.Assign(NewImage);
  copy.SetTransparentColor(MaskColor);
  mask.SetHandle(copy.ReleaseMaskHandle());
  // Transparent pixels must be black where the mask lets the background through.
  {
    HDC dc = copy.GetCanvas()->GetHandle();
    TScopedDC maskDC(mask.GetHandle());
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, 0, 0, copy.GetWidth(), copy.GetHeight(), maskDC, 0, 0, 0x00220326 /* DSna */);
    SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
  }
  if (!ImageList_Replace(FHandle, Index, copy.GetHandle(), mask.GetHandle()))
    throw EInvalidOperation(L"Failed to replace the image");
  Change();
}

void TCustomImageList::Delete(int Index)
{
  CheckIndex(Index);
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear()
{
  if (GetCount() == 0)
    return;
  ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled)
{
  if (!Canvas || Index < 0 || Index >= GetCount())
    return;
  static const UINT styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  if (ADrawingStyle < dsFocus || ADrawingStyle > dsTransparent)
    ADrawingStyle = dsNormal;
  UINT style = styles[ADrawingStyle] | (AImageType == itMask ? ILD_MASK : 0);
  DoDraw(Index, Canvas, X, Y, style, Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled)
{
  HDC dc = Canvas->GetHandle();
  bool solidBack = !(Style & ILD_TRANSPARENT) && FBkColor != clNone;
  UINT blendStyle = Style & (ILD_BLEND25 | ILD_BLEND50);
  if ((Enabled && !blendStyle) || (Style & ILD_MASK)) {
    ImageList_DrawEx(FHandle, Index, dc, X, Y, 0, 0, solidBack ? ListColor(FBkColor) : CLR_NONE, CLR_NONE, Style);
    return;
  }
  // Greyed and blended images are made here, the same on every host: each pixel of the
  // image is recoloured over a copy of the background, which stays where the image lets
  // it through. Disabled: a light grey of the pixel's brightness. Focused or selected: a
  // quarter or a half of the blend colour (the highlight colour unless one is set).
  COLORREF tint = ColorToRGB(FBlendColor == clNone || FBlendColor == clDefault ? clHighlight : FBlendColor);
  int tintShare = (Style & ILD_BLEND50) ? 128 : 64;
  TBitmap onBlack, onWhite, picture;
  RenderImages(Index, 1, onBlack, onWhite);
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(FWidth, FHeight);
  HDC pictureDC = picture.GetCanvas()->GetHandle();
  if (solidBack) {
    HBRUSH back = CreateSolidBrush(ColorToRGB(FBkColor));
    RECT all{0, 0, FWidth, FHeight};
    ::FillRect(pictureDC, &all, back);
    DeleteObject(back);
  } else {
    BitBlt(pictureDC, 0, 0, FWidth, FHeight, dc, X, Y, SRCCOPY);
  }
  GdiFlush();
  const uint8_t tintBgr[3] = {GetBValue(tint), GetGValue(tint), GetRValue(tint)};
  for (int y = 0; y < FHeight; ++y) {
    auto* out = static_cast<uint8_t*>(picture.ScanLine(y));
    const auto* black = static_cast<const uint8_t*>(onBlack.ScanLine(y));
    const auto* white = static_cast<const uint8_t*>(onWhite.ScanLine(y));
    for (int x = 0; x < FWidth; ++x) {
      const uint8_t* b = black + 4 * x;
      const uint8_t* w = white + 4 * x;
      int through = std::max({w[0] - b[0], w[1] - b[1], w[2] - b[2], 0});  // 255: fully transparent
      int opacity = 255 - through;
      if (opacity <= 0)
        continue;
      // Over black the colour comes premultiplied by its opacity.
      int colour[3];
      for (int c = 0; c < 3; ++c)
        colour[c] = std::min(b[c] * 255 / opacity, 255);
      if (!Enabled) {
        int luma = (colour[2] * 77 + colour[1] * 150 + colour[0] * 29) >> 8;
        colour[0] = colour[1] = colour[2] = 96 + luma / 2;
      } else {
        for (int c = 0; c < 3; ++c)
          colour[c] = (colour[c] * (256 - tintShare) + tintBgr[c] * tintShare) >> 8;
      }
      uint8_t* p = out + 4 * x;
      for (int c = 0; c < 3; ++c)
        p[c] = uint8_t((colour[c] * opacity + p[c] * through) / 255);
    }
  }
  BitBlt(dc, X, Y, FWidth, FHeight, pictureDC, 0, 0, SRCCOPY);
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
  if (!Image || Index < 0 || Index >= GetCount())
    return false;
  Image->SetSize(FWidth, FHeight);
  HDC dc = Image->GetCanvas()->GetHandle();
  RECT all{0, 0, FWidth, FHeight};
  HBRUSH brush = CreateSolidBrush(FBkColor == clNone ? RGB(255, 255, 255) : ColorToRGB(FBkColor));
  ::FillRect(dc, &all, brush);
  DeleteObject(brush);
  ImageList_DrawEx(FHandle, Index, dc, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
  GdiFlush();
  Image->SetModified(true);
  return true;
}

bool TCustomImageList::GetIcon(int Index, TIcon* Image)
{
  if (!Image || Index < 0 || Index >= GetCount())
    return false;
  HICON icon = ImageList_GetIcon(FHandle, Index, ILD_NORMAL);
  if (!icon)
    return false;
  Image->SetHandle(icon);
  return true;
}

// ---------------------------------------------------------------------------
// Change notification

void TCustomImageList::BeginUpdate()
{
  ++FUpdateCount;
}

void TCustomImageList::EndUpdate()
{
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged)
    Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* Value)
{
  if (!Value)
    return;
  if (Value->GetSender() && Value->GetSender() != this)
    Value->GetSender()->UnRegisterChanges(Value);
  Value->SetSender(this);
  if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end())
    FClients.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value)
{
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it == FClients.end())
    return;
  FClients.erase(it);
  if (Value->GetSender() == this)
    Value->SetSender(nullptr);
}

void TCustomImageList::Change()
{
  FChanged = true;
  if (FUpdateCount > 0 || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying))
    return;
  FChanged = false;
  TWeakRef<TCustomImageList> self(this);
  // A client may unregister itself or others while being told: walk a copy and skip
  // whoever left in the meantime.
  std::vector<TChangeLink*> clients = FClients;
  for (TChangeLink* link : clients) {
    if (!self)
      return;
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
      link->Change();
  }
  if (self)
    CallEvent(OnChange, this);
}

void TCustomImageList::Loaded()
{
  TComponent::Loaded();
  Change();
}

// ---------------------------------------------------------------------------
// Form data

void TCustomImageList::DefineProperties(TFiler* Filer)
{
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      L"Bitmap", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, GetCount() > 0);
}

void TCustomImageList::WriteData(TStream* Stream)
{
  TBitmap images, masks;
  GetImages(&images, &masks);
  TImageListData data;
  data.Count = uint32_t(GetCount());
  data.Width = FWidth;
  data.Height = FHeight;
  data.Masked = FMasked;
  data.Images = images.SaveToBytes();
  data.Masks = masks.SaveToBytes();
  WriteImageListData(Stream, data);
}

void TCustomImageList::ReadData(TStream* Stream)
{
  TImageListData data = ReadImageListData(Stream);
  TBitmap parts[2];
  parts[0].LoadFromBytes(data.Images.data(), data.Images.size());
  parts[1].LoadFromBytes(data.Masks.data(), data.Masks.size());
  BeginUpdate();
  SetSize(data.Width, data.Height);
  Clear();
  HandleNeeded();
  if (data.Count > 0)
    ImageList_Add(FHandle, parts[0].GetHandle(), data.Masked && FMasked ? parts[1].GetHandle() : nullptr);
  Change();
  EndUpdate();
}

bool SetImageListProperty(TCustomImageList*& ASlot, TCustomImageList* AValue, TChangeLink* ALink, TComponent* AOwner)
{
  if (ASlot == AValue)
    return false;
  if (ASlot) {
    ASlot->UnRegisterChanges(ALink);
    ASlot->RemoveFreeNotification(AOwner);
  }
  ASlot = AValue;
  if (ASlot) {
    ASlot->RegisterChanges(ALink);
    ASlot->FreeNotification(AOwner);
  }
  return true;
}
