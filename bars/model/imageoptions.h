// The image lists and glyph rules a bar manager gives all its items: five image lists,
// each watched through a change link and a free notification, the glyph flags, and the
// icon size that follows LargeIcons. Also the persistent base of the manager's parts.
#pragma once

#include <memory>

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/ImgList.h"

class TcxFreeNotificator;

// A nested part of a bar manager, edited as a property of the manager: it knows its
// owner for name paths and change reports.
class TdxBarPersistent : public TPersistent {
  DECLARE_CLASS(TdxBarPersistent, TPersistent)
public:
  explicit TdxBarPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FOwner; }

private:
  TPersistent* FOwner;
};

// The five image lists, in the order the options keep their change links.
enum TdxBarImageListKind { ilkImages, ilkDisabledImages, ilkHotImages, ilkLargeImages, ilkDisabledLargeImages };

class TdxBarImageOptions : public TdxBarPersistent {
  DECLARE_CLASS(TdxBarImageOptions, TdxBarPersistent)
public:
  explicit TdxBarImageOptions(TPersistent* AOwner);
  ~TdxBarImageOptions() override;

  // Copies every property from other image options; the lists and the flags that fire
  // events go through their setters.
  void Assign(TPersistent* Source) override;

  TCustomImageList* GetImageList(TdxBarImageListKind Kind) const { return FLists[Kind]; }
  // Moves the kind's change link and free notification to the new list and tells the
  // link's handler of the change (also when the list is cleared).
  void SetImageList(TdxBarImageListKind Kind, TCustomImageList* Value);
  // The link whose OnChange hears of changes of the kind's list (the manager sets it).
  TChangeLink* GetChangeLink(TdxBarImageListKind Kind) const { return FChangeLinks[Kind].get(); }

  TCustomImageList* GetDisabledImages() const { return FLists[ilkDisabledImages]; }
  void SetDisabledImages(TCustomImageList* Value) { SetImageList(ilkDisabledImages, Value); }
  TCustomImageList* GetDisabledLargeImages() const { return FLists[ilkDisabledLargeImages]; }
  void SetDisabledLargeImages(TCustomImageList* Value) { SetImageList(ilkDisabledLargeImages, Value); }
  TCustomImageList* GetHotImages() const { return FLists[ilkHotImages]; }
  void SetHotImages(TCustomImageList* Value) { SetImageList(ilkHotImages, Value); }
  TCustomImageList* GetImages() const { return FLists[ilkImages]; }
  void SetImages(TCustomImageList* Value) { SetImageList(ilkImages, Value); }
  TCustomImageList* GetLargeImages() const { return FLists[ilkLargeImages]; }
  void SetLargeImages(TCustomImageList* Value);

  bool GetCacheGlyphs() const { return FCacheGlyphs; }
  void SetCacheGlyphs(bool Value) { FCacheGlyphs = Value; }
  TColor GetImageListBkColor() const { return FImageListBkColor; }
  void SetImageListBkColor(TColor Value);
  bool GetLargeIcons() const { return FLargeIcons; }
  void SetLargeIcons(bool Value);
  bool GetMakeDisabledImagesFaded() const { return FMakeDisabledImagesFaded; }
  void SetMakeDisabledImagesFaded(bool Value);
  bool GetSmoothGlyphs() const { return FSmoothGlyphs; }
  void SetSmoothGlyphs(bool Value) { FSmoothGlyphs = Value; }
  bool GetStretchGlyphs() const { return FStretchGlyphs; }
  void SetStretchGlyphs(bool Value) { FStretchGlyphs = Value; }
  bool GetUseLargeImagesForLargeIcons() const { return FUseLargeImagesForLargeIcons; }
  void SetUseLargeImagesForLargeIcons(bool Value);
  bool GetUseLeftBottomPixelAsTransparent() const { return FUseLeftBottomPixelAsTransparent; }
  void SetUseLeftBottomPixelAsTransparent(bool Value);

  // The icon size in use, as last computed: 16 without LargeIcons; with it the width of
  // LargeImages when UseLargeImagesForLargeIcons and LargeImages is assigned, else 32.
  int GetIconSize() const { return FIconSize; }
  void UpdateIconSize();
  // Whether large icons are drawn from LargeImages.
  bool AreLargeImagesUsed() const;
  // True while any of the five lists is still being read from form data.
  bool IsAnyImageListLoading() const;

  // The general change (bars are rebuilt) and the icon-size change.
  TNotifyEvent OnChange;
  TNotifyEvent OnIconSizeChange;

private:
  void Changed();
  void IconSizeChanged();
  void ImageListFreed(TComponent* Sender);

  static constexpr int ListCount = 5;
  TCustomImageList* FLists[ListCount]{};
  std::unique_ptr<TChangeLink> FChangeLinks[ListCount];
  std::unique_ptr<TcxFreeNotificator> FFreeNotificator;
  bool FCacheGlyphs = true;
  TColor FImageListBkColor = clFuchsia;
  bool FLargeIcons = false;
  bool FMakeDisabledImagesFaded = false;
  bool FSmoothGlyphs = false;
  bool FStretchGlyphs = true;
  bool FUseLargeImagesForLargeIcons = false;
  bool FUseLeftBottomPixelAsTransparent = true;
  int FIconSize = 16;
};
