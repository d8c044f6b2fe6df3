// The large button: a button item shown as a large image with its caption under (or beside)
// it, with a hot image, an automatic grey idle image, fixed sizes and an ImageIndex that
// follows LargeImageIndex while SyncImageIndex holds. Model (TdxBarLargeButton) and item
// control (TdxBarLargeButtonControl).
#pragma once

#include <memory>

#include "barextras/extitems.h"  // the unit starts with any of its kinds
#include "bars/itemcontrols/buttons.h"

class TdxBarLargeButton : public TdxBarButton {
  DECLARE_CLASS(TdxBarLargeButton, TdxBarButton)
public:
  explicit TdxBarLargeButton(TComponent* AOwner);
  ~TdxBarLargeButton() override;

  // Writes "ImageIndex" while SyncImageIndex is off; reading it sets ImageIndex.
  void DefineProperties(TFiler* Filer) override;
  // Forgets what this load set (the two loading marks).
  void Loaded() override;

  // --- Item overrides.
  // An action's image index lands in LargeImageIndex.
  int GetActionImageIndex() const override { return GetLargeImageIndex(); }
  void SetActionImageIndex(int Value) override { SetLargeImageIndex(Value); }
  // On a toolbar only a shown caption carries the accelerator.
  bool HasAccel(const TdxBarItemLink* ALink) const override;
  // Its look follows ShowCaption, never a paint style: customizing offers none.
  bool HasPaintStyle() const override { return false; }
  // The item's setter wrapped by the coupling rules (see the body).
  void SetImageIndex(int Value) override;
  bool HasHotImage() const override { return FHotImageIndex > -1; }
  bool UsesImageIndex() const override { return GetLargeImageIndex() > -1; }
  // The coupling rule of a new large image, then the item's reaction.
  void LargeGlyphChanged() override;
  // Fixed widths change the layout of every bar window kind.
  void WidthChanged() override;

  // --- Properties.
  bool GetAutoGrayScale() const { return FAutoGrayScale; }
  void SetAutoGrayScale(bool Value);
  // 0: the control's own height. Negative values are ignored. Like Width, a height given is
  // at 96 dots per inch and scaled to the screen's.
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value);
  TBitmap* GetHotGlyph() const { return FHotGlyph.get(); }
  void SetHotGlyph(TBitmap* Value);
  int GetHotImageIndex() const { return FHotImageIndex; }
  void SetHotImageIndex(int Value);
  bool GetSyncImageIndex() const { return FSyncImageIndex; }
  void SetSyncImageIndex(bool Value);

  bool IsLargeImageIndexStored() const { return IsImageIndexStored(); }

private:
  void HotGlyphBitmapChanged(TObject* Sender) { HotGlyphChanged(); }
  // ImageIndex := LargeImageIndex without the coupling rules.
  void CopyLargeImageIndex();

  bool FAutoGrayScale = true;
  int FHeight = 0;
  int FHotImageIndex = -1;
  bool FIndexUpdating = false;  // the item copies one index into the other
  std::unique_ptr<TBitmap> FHotGlyph;
  bool FSyncImageIndex = true;
  bool FImageIndexRead = false;  // ImageIndex was set during this load
  bool FSyncGiven = false;       // SyncImageIndex was set during this load
};

class TdxBarLargeButtonControl : public TdxBarButtonControl {
  DECLARE_CLASS(TdxBarLargeButtonControl, TdxBarButtonControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarLargeButtonControl(TdxBarItemLink* AItemLink);

  TdxBarLargeButton* GetLargeButton() const;

  void HotGlyphChanged() override { LargeGlyphChanged(); }
  void LargeGlyphChanged() override;
  TdxBarItemViewLevels GetPossibleViewLevels() const override;
  int GetDefaultViewParts() const override;
  int GetDefaultImageSize() const override;
  // The idle, enabled image is drawn grey while the item's AutoGrayScale holds.
  virtual bool IsGrayScaleImage() const;
  // Large images choose between the hot source and the large source, hot first while the
  // control is selected; other sizes answer as a button.
  bool GetImageInfo(int AImageSizeKind, TCustomImageList*& AImages, int& AImageIndex, TBitmap*& AGlyph) const override;
  // The large-size choice with the hot flag given.
  bool GetLargeImageInfo(bool AHot, TCustomImageList*& AImages, int& AImageIndex, TBitmap*& AGlyph) const;
  int GetDefaultHeight() override;
  int GetDefaultWidth() override;
  bool IsTextRotated() const override;
  int GetArrowWidth() const override;
  void AdjustPaintStyle(TdxBarPaintStyle& AStyle) const override { AStyle = psCaption; }
  void CalcDrawParams(bool AFull = true) override;

private:
  bool IsOnToolbar() const;
};
