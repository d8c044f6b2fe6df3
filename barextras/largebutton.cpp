// The large button and its control.
#include "barextras/largebutton.h"

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/drawparams.h"
#include "bars/model/itemlinks.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/utils/utils.h"
#include "platform/Filer.h"
#include "platform/ImgList.h"

PUBLISHED(TdxBarLargeButton, TdxBarButton)
{
  using I = TdxBarLargeButton;
  p.Prop(L"AutoGrayScale", &I::GetAutoGrayScale, &I::SetAutoGrayScale).Default(true);
  p.Prop(L"GlyphLayout", &I::GetGlyphLayout, &I::SetGlyphLayout).Default(glTop);
  p.Prop(L"Height", &I::GetHeight, &I::SetHeight).Default(0);
  p.Object(L"HotGlyph", &I::GetHotGlyph, &I::SetHotGlyph);
  p.Prop(L"HotImageIndex", &I::GetHotImageIndex, &I::SetHotImageIndex).Default(-1);
  // Replaces the button's entry in place: it is written before SyncImageIndex, which the
  // coupling rules rely on when the form data is read back.
  p.Prop(L"LargeImageIndex", &I::GetLargeImageIndex, &I::SetLargeImageIndex)
      .Default(-1)
      .Stored(&I::IsLargeImageIndexStored);
  p.Prop(L"ShowCaption", &I::GetShowCaption, &I::SetShowCaption).Default(true);
  p.Prop(L"Width", &I::GetWidth, &I::SetWidth).Default(0);
  // Never written as a published value: the defined "ImageIndex" carries it.
  p.Prop(L"ImageIndex", &I::GetImageIndex, &I::SetImageIndex).Default(-1).Stored(false);
  p.Prop(L"SyncImageIndex", &I::GetSyncImageIndex, &I::SetSyncImageIndex).Default(true);
}

IMPLEMENT_CLASS(TdxBarLargeButtonControl, TdxBarButtonControl)

namespace {

bool HasPicture(const TBitmap* ABitmap)
{
  return ABitmap && !ABitmap->Empty();
}

bool Holds(const TCustomImageList* AImages, int AIndex)
{
  return AImages && AIndex >= 0 && AIndex < AImages->GetCount();
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarLargeButton

TdxBarLargeButton::TdxBarLargeButton(TComponent* AOwner) : TdxBarButton(AOwner)
{
  FHotGlyph = std::make_unique<TBitmap>();
  FHotGlyph->OnChange = TNotifyEvent(this, &TdxBarLargeButton::HotGlyphBitmapChanged);
  SetShowCaption(true);
}

TdxBarLargeButton::~TdxBarLargeButton()
{
  if (FHotGlyph)
    FHotGlyph->OnChange = TNotifyEvent();
  FHotGlyph.reset();
}

void TdxBarLargeButton::DefineProperties(TFiler* Filer)
{
  TdxBarButton::DefineProperties(Filer);
  Filer->DefineProperty(
      L"ImageIndex", [this](TReader* Reader) { SetImageIndex(Reader->ReadInteger()); },
      [this](TWriter* Writer) { Writer->WriteInteger(GetImageIndex()); }, !FSyncImageIndex);
}

void TdxBarLargeButton::Loaded()
{
  TdxBarButton::Loaded();
  FImageIndexRead = false;
  FSyncGiven = false;
}

bool TdxBarLargeButton::HasAccel(const TdxBarItemLink* ALink) const
{
  if (!TdxBarButton::HasAccel(ALink))
    return false;
  return !dxBarIsLinkOnBar(ALink) || GetShowCaption();
}

void TdxBarLargeButton::CopyLargeImageIndex()
{
  TRestore updating(FIndexUpdating, true);
  TdxBarButton::SetImageIndex(GetLargeImageIndex());
}

// The coupling of ImageIndex to LargeImageIndex while SyncImageIndex holds:
//  1. a new large image copies its index into ImageIndex; while loading after ImageIndex
//     was read, the two indexes only decide whether they are still in sync;
//  2. turning SyncImageIndex on copies at once;
//  3. an explicit ImageIndex turns the coupling off, unless the form data says otherwise;
//     form data with only an ImageIndex fills LargeImageIndex too.
// The item's own copies run with FIndexUpdating set, so no rule fires for them.
void TdxBarLargeButton::LargeGlyphChanged()
{
  if (!FIndexUpdating && FSyncImageIndex) {
    if (IsLoading() && FImageIndexRead)
      FSyncImageIndex = GetLargeImageIndex() == GetImageIndex();
    else
      CopyLargeImageIndex();
  }
  TdxBarButton::LargeGlyphChanged();
}

void TdxBarLargeButton::SetSyncImageIndex(bool Value)
{
  if (IsLoading())
    FSyncGiven = true;
  if (FSyncImageIndex == Value)
    return;
  FSyncImageIndex = Value;
  if (Value)
    LargeGlyphChanged();
}

void TdxBarLargeButton::SetImageIndex(int Value)
{
  if (FIndexUpdating) {
    TdxBarButton::SetImageIndex(Value);
    return;
  }
  const bool loading = IsLoading();
  if (loading)
    FImageIndexRead = true;
  TdxBarButton::SetImageIndex(Value);
  if (loading && GetLargeImageIndex() == -1 && (FSyncImageIndex || !FSyncGiven)) {
    TRestore updating(FIndexUpdating, true);
    SetLargeImageIndex(Value);
  } else if (!FSyncGiven) {
    FSyncImageIndex = false;
  }
}

void TdxBarLargeButton::WidthChanged()
{
  RebuildBars(dxBarAllControlKinds);
}

void TdxBarLargeButton::SetAutoGrayScale(bool Value)
{
  if (FAutoGrayScale == Value)
    return;
  FAutoGrayScale = Value;
  RepaintControls();
}

void TdxBarLargeButton::SetHeight(int Value)
{
  if (Value < 0 || FHeight == Value)
    return;
  FHeight = Value;
  RebuildBars(dxBarAllControlKinds);
}

void TdxBarLargeButton::SetHotGlyph(TBitmap* Value)
{
  FHotGlyph->Assign(Value);
}

void TdxBarLargeButton::SetHotImageIndex(int Value)
{
  if (FHotImageIndex == Value)
    return;
  FHotImageIndex = Value;
  HotGlyphChanged();
}

// ---------------------------------------------------------------------------
// TdxBarLargeButtonControl

TdxBarLargeButtonControl::TdxBarLargeButtonControl(TdxBarItemLink* AItemLink) : TdxBarButtonControl(AItemLink) {}

TdxBarLargeButton* TdxBarLargeButtonControl::GetLargeButton() const
{
  return dynamic_cast<TdxBarLargeButton*>(GetItem());
}

bool TdxBarLargeButtonControl::IsOnToolbar() const
{
  TCustomdxBarControl* parent = GetParent();
  return parent && parent->GetKind() == bckToolbar && !IsInMenu();
}

void TdxBarLargeButtonControl::LargeGlyphChanged()
{
  TdxBarItemControlDrawParams* params = GetDrawParams();
  if (!params || params->ViewSize != isLarge)
    return;
  TdxBarLargeButton* button = GetLargeButton();
  const bool fixedSize = button && button->GetWidth() != 0 && button->GetHeight() != 0;
  if (IsOnToolbar() && !fixedSize)
    RebuildBar();
  else
    Repaint();
}

TdxBarItemViewLevels TdxBarLargeButtonControl::GetPossibleViewLevels() const
{
  TdxBarItemViewLevels levels = TdxBarButtonControl::GetPossibleViewLevels();
  levels += ivlLargeIconWithText;
  return levels;
}

int TdxBarLargeButtonControl::GetDefaultViewParts() const
{
  if (IsInMenu())
    return TdxBarButtonControl::GetDefaultViewParts();
  TdxBarLargeButton* button = GetLargeButton();
  return ivpGlyph | (button && button->GetShowCaption() ? ivpCaption : 0);
}

int TdxBarLargeButtonControl::GetDefaultImageSize() const
{
  return IsInMenu() ? TdxBarButtonControl::GetDefaultImageSize() : isLarge;
}

bool TdxBarLargeButtonControl::IsGrayScaleImage() const
{
  TdxBarLargeButton* button = GetLargeButton();
  return button && button->GetAutoGrayScale() && GetEnabled() && !IsSelected();
}

bool TdxBarLargeButtonControl::GetLargeImageInfo(bool AHot, TCustomImageList*& AImages, int& AImageIndex,
                                                 TBitmap*& AGlyph) const
{
  AImages = nullptr;
  AImageIndex = -1;
  AGlyph = nullptr;
  TdxBarLargeButton* button = GetLargeButton();
  TdxBarManager* manager = GetBarManager();
  auto hotSource = [&] {
    if (button && HasPicture(button->GetHotGlyph())) {
      AGlyph = button->GetHotGlyph();
      return true;
    }
    if (button && manager && Holds(manager->GetHotImages(), button->GetHotImageIndex())) {
      AImages = GetHotImages();
      AImageIndex = button->GetHotImageIndex();
      return true;
    }
    return false;
  };
  auto largeSource = [&] {
    if (HasPicture(GetLargeGlyph())) {
      AGlyph = GetLargeGlyph();
      return true;
    }
    if (manager && Holds(manager->GetLargeImages(), GetLargeImageIndex())) {
      AImages = GetLargeImages();
      AImageIndex = GetLargeImageIndex();
      return true;
    }
    return false;
  };
  // A button with only a hot image shows it all the time.
  if (AHot ? hotSource() || largeSource() : largeSource() || hotSource())
    return true;
  AImages = GetLargeImages() ? GetLargeImages() : GetHotImages();
  return false;
}

bool TdxBarLargeButtonControl::GetImageInfo(int AImageSizeKind, TCustomImageList*& AImages, int& AImageIndex,
                                            TBitmap*& AGlyph) const
{
  if (AImageSizeKind != isLarge)
    return TdxBarButtonControl::GetImageInfo(AImageSizeKind, AImages, AImageIndex, AGlyph);
  return GetLargeImageInfo(IsSelected(), AImages, AImageIndex, AGlyph);
}

// A fixed size is given at 96 dots per inch, as form data lays a form out: on a larger screen
// it grows with the text, so that the caption still fits.
int TdxBarLargeButtonControl::GetDefaultHeight()
{
  TdxBarLargeButton* button = GetLargeButton();
  return button && button->GetHeight() != 0 ? ScaleToScreenDPI(button->GetHeight())
                                            : TdxBarButtonControl::GetDefaultHeight();
}

int TdxBarLargeButtonControl::GetDefaultWidth()
{
  TdxBarLargeButton* button = GetLargeButton();
  return button && button->GetWidth() != 0 ? ScaleToScreenDPI(button->GetWidth())
                                           : TdxBarButtonControl::GetDefaultWidth();
}

bool TdxBarLargeButtonControl::IsTextRotated() const
{
  TdxBarLargeButton* button = GetLargeButton();
  return TdxBarButtonControl::IsTextRotated() && button && button->GetShowCaption();
}

int TdxBarLargeButtonControl::GetArrowWidth() const
{
  if (!IsOnToolbar())
    return TdxBarButtonControl::GetArrowWidth();
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetLargeButtonArrowWidth(GetBarManager()) : 0;
}

void TdxBarLargeButtonControl::CalcDrawParams(bool AFull)
{
  TdxBarButtonControl::CalcDrawParams(AFull);
  if (AFull)
    if (TdxBarButtonLikeControlDrawParams* params = GetButtonDrawParams())
      params->GrayScale = IsGrayScaleImage();
}
