#include "bars/itemcontrols/itemcontrol.h"

#include <algorithm>
#include <cstring>
#include <cstdlib>

#include "bars/accessibility/baraccessibility.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/drawparams.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/model/manager.h"
#include "bars/painters/painter.h"
#include "bars/utils/utils.h"
#include "platform/ActnList.h"
#include "platform/SysUtils.h"
#include "platform/Win.h"

IMPLEMENT_CLASS(TdxBarItemControlViewInfo, TcxInterfacedPersistent)
IMPLEMENT_CLASS(TdxCachedImageOptions, TObject)
IMPLEMENT_CLASS(TdxBarItemControl, TObject)

namespace {

// Developer messages: a layout that asks for a level the control cannot take, and a control
// kind that offers no level at all. Not user texts, so not in the string table.
constexpr const wchar_t* sLevelNotAllowed = L"Testing! The level is not allowed";
constexpr const wchar_t* sNoPossibleViewLevels = L".GetPossibleViewLevels = []";

// Large images: the space around the image, and the gap between it and the caption.
constexpr int LargeWidthIndent = 10;
constexpr int LargeHeightIndent = 6;
constexpr int LargeCaptionIndent = 6;
constexpr int LargeCaptionGap = 1;
// The size laid out for a large control without any image.
constexpr int DefaultLargeImageSize = 20;
// A menu's shortcut column: the bar's text height less this.
constexpr int ShortCutIndentReduction = 6;
// Large menu items show the description in this many lines.
constexpr int DescriptionLineCount = 2;

bool HasPicture(TBitmap* ABitmap)
{
  return ABitmap && !ABitmap->Empty();
}

bool IsValidImage(TCustomImageList* AImages, int AIndex)
{
  return AImages && AIndex >= 0 && AIndex < AImages->GetCount();
}

// The item's font for a scope: ApplyItemFont now, RestoreFont when the scope ends.
auto ItemFontScope(TdxBarItemControl* AControl)
{
  AControl->ApplyItemFont();
  return TFinally([AControl] { AControl->RestoreFont(); });
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxBarItemControlViewInfo

TdxBarItemControlViewInfo::TdxBarItemControlViewInfo(TdxBarItemControl* AControl)
    : TcxInterfacedPersistent(nullptr), FControl(AControl)
{
}

TdxBarItemViewLevels TdxBarItemControlViewInfo::GetPossibleViewLevels() const
{
  if (!FControl)
    return {};
  TdxBarItemViewLevels levels = FControl->GetPossibleViewLevels();
  if (levels.Empty())
    throw Exception(FControl->ClassName() + sNoPossibleViewLevels);
  return levels;
}

void TdxBarItemControlViewInfo::SetViewLevel(TdxBarItemViewLevel Value)
{
  if (Value < ivlLargeIconWithText || Value > ivlDefault)
    return;
  FViewLevel = Value;
}

int TdxBarItemControlViewInfo::GetSize(TdxBarItemViewLevel ALevel)
{
  if (ALevel < ivlLargeIconWithText || ALevel > ivlDefault || !GetPossibleViewLevels().Contains(ALevel))
    throw Exception(sLevelNotAllowed);
  if (!FSizeValid[ALevel]) {
    // Measured at that level, then the current level comes back.
    {
      TRestore level(FViewLevel, ALevel);
      FSizes[ALevel] = FControl->CalcWidth();
    }
    FSizeValid[ALevel] = true;
  }
  return FSizes[ALevel];
}

void TdxBarItemControlViewInfo::ClearCachedSizes()
{
  std::fill(std::begin(FSizeValid), std::end(FSizeValid), false);
}

// ---------------------------------------------------------------------------
// TdxCachedImageOptions

TdxCachedImageOptions::TdxCachedImageOptions() : FBitmap(std::make_unique<TcxBitmap>()) {}

TdxCachedImageOptions::~TdxCachedImageOptions() = default;

// ---------------------------------------------------------------------------
// TdxBarItemControl: life

namespace {

uint64_t GItemControlsStamp = 0;

}  // namespace

uint64_t dxBarItemControlsStamp()
{
  return GItemControlsStamp;
}

TdxBarItemControl::TdxBarItemControl(TdxBarItemLink* AItemLink)
    : FItemLink(AItemLink), FParent(AItemLink ? AItemLink->GetBarControl() : nullptr), FParentRef(FParent)
{
  ++GItemControlsStamp;
}

void TdxBarItemControl::AfterConstruction()
{
  TObject::AfterConstruction();
  TClass drawParamsClass = GetDrawParamsClass();
  TObject* drawParams = drawParamsClass ? drawParamsClass->Create(this) : nullptr;
  FDrawParams.reset(dynamic_cast<TdxBarItemControlDrawParams*>(drawParams));
  if (!FDrawParams) {
    delete drawParams;
    FDrawParams = std::make_unique<TdxBarItemControlDrawParams>(this);
  }
  FCachedImageOptions = std::make_unique<TdxCachedImageOptions>();
  TClass viewInfoClass = GetViewInfoClass();
  TObject* viewInfo = viewInfoClass ? viewInfoClass->Create(this) : nullptr;
  FViewInfo.reset(dynamic_cast<TdxBarItemControlViewInfo*>(viewInfo));
  if (!FViewInfo) {
    delete viewInfo;
    FViewInfo = std::make_unique<TdxBarItemControlViewInfo>(this);
  }
  ApplyStyle();
  FHotPartIndex = -1;
  CalcDrawParams(true);
  if (FParent)
    FViewInfo->SetViewLevel(FParent->GetItemViewLevel(this));
}

TdxBarItemControl::~TdxBarItemControl()
{
  ++GItemControlsStamp;
  if (IsParentAlive() && FParent->GetSelectedControl() == this && !FParent->IsCustomizing()) {
    // A link that stays shown keeps the selection for its next control; otherwise it goes.
    bool stillShown = FItemLink && FItemLink->GetShownIndex() >= 0;
    if (!stillShown)
      FParent->SetSelectedControl(nullptr);
  }
  if (FOwnBrush)
    DeleteGdiObject(FOwnBrush);
  ClearObjectLinks(this);
}

// ---------------------------------------------------------------------------
// Accessors

TdxBarItem* TdxBarItemControl::GetItem() const
{
  return FItemLink ? FItemLink->GetItem() : nullptr;
}

TdxBarManager* TdxBarItemControl::GetBarManager() const
{
  return FItemLink ? FItemLink->GetBarManager() : nullptr;
}

TdxBarPainter* TdxBarItemControl::GetPainter() const
{
  if (FParent)
    return FParent->GetPainter();
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetPainter() : nullptr;
}

TcxCanvas* TdxBarItemControl::GetCanvas() const
{
  if (FPaintCanvas)
    return FPaintCanvas;
  return FParent ? FParent->GetcxCanvas() : nullptr;
}

TRect TdxBarItemControl::GetItemRect() const
{
  return FItemLink ? FItemLink->GetItemRect() : TRect{0, 0, 0, 0};
}

TdxBarItemAlign TdxBarItemControl::GetAlignment() const
{
  TdxBarItem* item = GetItem();
  if (item && FParent && FParent->CanAlignControl(this))
    return item->GetAlign();
  return iaLeft;
}

bool TdxBarItemControl::GetSelected() const
{
  return FParent && FParent->GetSelectedControl() == this && (GetEnabled() || !FSelectedByBar);
}

bool TdxBarItemControl::IsDescriptionVisible() const
{
  TdxBarItemLinks* links = FItemLink ? FItemLink->GetLinks() : nullptr;
  return links && links->GetMenuItemSize() == misLarge && links->GetShowDescriptions();
}

bool TdxBarItemControl::IsShortCutVisible() const
{
  TdxBarItemLinks* links = FItemLink ? FItemLink->GetLinks() : nullptr;
  return links && links->GetShowShortCuts() && GetShortCut() != 0;
}

bool TdxBarItemControl::IsParentAlive() const
{
  return FParentRef.Alive() && !FParent->IsDestroying();
}

void TdxBarItemControl::RebuildBar()
{
  if (IsParentAlive())
    FParent->RebuildBar();
}

// ---------------------------------------------------------------------------
// Change reactions

namespace {

// Client-aligned on a bar that stretches such controls: its width does not follow its text.
bool IsStretchedClientControl(const TdxBarItemControl* AControl)
{
  TCustomdxBarControl* parent = AControl->GetParent();
  return parent && AControl->GetAlignment() == iaClient &&
         (parent->GetOptions() & dxBarOptionStretchClientControls) != 0;
}

}  // namespace

void TdxBarItemControl::BeginGroupChanged()
{
  RebuildBar();
}

void TdxBarItemControl::CaptionChanged()
{
  if (IsStretchedClientControl(this))
    Repaint();
  else
    RebuildBar();
}

void TdxBarItemControl::EnabledChanged()
{
  TWeakRef<TdxBarItemControl> self(this);
  if (!GetEnabled() && IsParentAlive() && FParent->GetSelectedControl() == this)
    FParent->SetSelectedControl(nullptr);
  if (self)
    Repaint();
}

void TdxBarItemControl::GlyphChanged()
{
  // A new or lost image changes what the layout can give the control.
  bool rebuild =
      GetPossibleViewLevels() != FLastPossibleViewLevels || (GetViewParts() & ivpGlyph) != (FLastViewParts & ivpGlyph);
  if (rebuild)
    RebuildBar();
  else
    Repaint();
}

void TdxBarItemControl::LargeGlyphChanged()
{
  if (GetImageSizeKind() == isSmall)
    return;
  if (IsInMenu())
    Repaint();
  else
    RebuildBar();
}

void TdxBarItemControl::VisibleChanged()
{
  RebuildBar();
}

void TdxBarItemControl::WidthChanged()
{
  if (IsParentAlive() && FParent->GetKind() == bckToolbar)
    FParent->RebuildBar();
}

void TdxBarItemControl::RecalcAndRepaint()
{
  CalcDrawParams(true);
  CalcParts();
  Repaint();
}

void TdxBarItemControl::Repaint()
{
  if (IsParentAlive())
    FParent->InvalidateRect(GetItemRect(), true);
}

void TdxBarItemControl::Update()
{
  RecalcAndRepaint();
}

void TdxBarItemControl::DropCachedImage()
{
  if (FCachedImageOptions)
    FCachedImageOptions->Drop();
}

void TdxBarItemControl::ClearCachedSizes()
{
  if (FViewInfo)
    FViewInfo->ClearCachedSizes();
}

// ---------------------------------------------------------------------------
// Style and font

bool TdxBarItemControl::HasStyleFont() const
{
  TdxBarItem* item = GetItem();
  return item && item->GetStyleValues().Font != nullptr;
}

void TdxBarItemControl::ApplyStyle()
{
  auto font = ItemFontScope(this);
  CalcStyleValues();
}

void TdxBarItemControl::CalcStyleValues()
{
  if (FOwnBrush) {
    DeleteGdiObject(FOwnBrush);
    FOwnBrush = nullptr;
  }
  TdxBarItem* item = GetItem();
  TColor color = item ? item->GetStyleValues().Color : clDefault;
  if (color != clDefault && color != clNone)
    FOwnBrush = TrackGdiObject(CreateSolidBrush(ColorToRGB(color)));

  FTextHeight = 0;
  TdxBarPainter* painter = GetPainter();
  TcxCanvas* canvas = GetCanvas();
  if (HasStyleFont() && painter && canvas)
    FTextHeight = painter->GetTextHeight(canvas);
  else if (FParent)
    FTextHeight = FParent->GetTextHeight();
  else if (painter && canvas)
    FTextHeight = painter->GetTextHeight(canvas);
}

void TdxBarItemControl::ApplyItemFont(TFont* AFont)
{
  // Only the outermost application saves and changes the font: measuring inside a paint
  // or a layout pass keeps what the outer pass selected.
  if (FFontApplyDepth++ > 0)
    return;
  TcxCanvas* canvas = GetCanvas();
  TFont* font = AFont;
  if (!font) {
    TdxBarItem* item = GetItem();
    font = item ? item->GetStyleValues().Font : nullptr;
  }
  if (!canvas || !font)
    return;
  if (!FSavedFont)
    FSavedFont = std::make_unique<TFont>();
  FSavedFont->Assign(canvas->GetFont());
  canvas->SetFont(font);
  FFontChanged = true;
}

void TdxBarItemControl::RestoreFont()
{
  if (FFontApplyDepth > 0 && --FFontApplyDepth > 0)
    return;
  if (!FFontChanged)
    return;
  FFontChanged = false;
  if (TcxCanvas* canvas = GetCanvas(); canvas && FSavedFont)
    canvas->SetFont(FSavedFont.get());
}

HBRUSH TdxBarItemControl::GetBackgroundBrush() const
{
  if (FOwnBrush)
    return FOwnBrush;
  // A less-used link of an expanded personalised menu.
  if (FNonRecent && FParent)
    if (TdxBarPainter* painter = GetPainter())
      return painter->GetLessUsedBrush(FParent);
  return FParent ? FParent->GetBackgroundBrush() : HBRUSH(uintptr_t(COLOR_BTNFACE + 1));
}

bool TdxBarItemControl::HasOwnBrush() const
{
  // A less-used link of an expanded personalised menu has the menu's less-used brush.
  return FOwnBrush != nullptr || (FNonRecent && FParent && FParent->GetLessUsedBrush());
}

bool TdxBarItemControl::IsActive() const
{
  return FActive;
}

TColor TdxBarItemControl::GetStyleTextColor() const
{
  TdxBarItem* item = GetItem();
  return item ? item->GetStyleValues().TextColor : clDefault;
}

// ---------------------------------------------------------------------------
// Draw parameters, parts and painting

void TdxBarItemControl::CalcDrawParams(bool AFull)
{
  if (!FDrawParams)
    return;
  TdxBarItemControlDrawParams& params = *FDrawParams;
  params.ItemControl = this;
  if (AFull) {
    TdxBarItem* item = GetItem();
    params.Caption = GetCaption();
    params.Description = item ? item->GetDescription() : String();
    params.ShortCut = IsShortCutVisible() ? ShortCutToText(GetShortCut()) : String();
    params.BarControlKind = GetBarKind();
    params.Enabled = GetEnabled();
    params.CanSelect = CanSelect();
    params.IsSelected = IsSelected();
    params.IsDropDown = IsDropDown();
    params.HotPartIndex = FHotPartIndex;
    params.IsCustomizing = FParent && FParent->IsCustomizing();
    params.PaintedSelected = GetSelected();
    params.DescriptionVisible = IsDescriptionVisible();
  }
  params.Canvas = GetCanvas();
  int sizeKind = GetImageSizeKind();
  if (sizeKind != FLastImageSizeKind) {
    if (FLastImageSizeKind != -1)
      DropCachedImage();
    FLastImageSizeKind = sizeKind;
  }
  params.ViewSize = sizeKind;
  params.ViewParts = GetViewParts();
  params.TextHeight = FTextHeight;
  TdxBarManager* manager = GetBarManager();
  TdxBarPainter* painter = GetPainter();
  if (painter && manager)
    params.GlyphSize = painter->GetImageSize(manager->GetIconSize(), FTextHeight);
  FLastViewParts = params.ViewParts;
  FLastPossibleViewLevels = GetPossibleViewLevels();
}

void TdxBarItemControl::CalcParts()
{
  FPartRects.assign(1, GetItemRect());
}

void TdxBarItemControl::Paint(TcxCanvas* ACanvas, const TRect& R, bool AFlag)
{
  if (IsRectEmpty(R))
    return;
  TRestore canvas(FPaintCanvas, ACanvas);
  auto font = ItemFontScope(this);
  // The painter writes captions on the raw device context, which holds whatever font was
  // last used there: the font the caption was measured with is selected into it first.
  if (ACanvas)
    ACanvas->SelectFontNow();
  CalcDrawParams(true);
  Draw(R, AFlag);
}

// ---------------------------------------------------------------------------
// Mouse, keys and clicks

void TdxBarItemControl::SetHotPartIndex(int Value)
{
  if (FHotPartIndex == Value)
    return;
  FHotPartIndex = Value;
  if (FDrawParams)
    FDrawParams->HotPartIndex = Value;
  Repaint();
}

void TdxBarItemControl::MouseMove(const TPoint& P)
{
  int part = -1;
  if (GetEnabled() && PtInRect(GetItemRect(), P)) {
    if (int(FPartRects.size()) != GetPartCount())
      CalcParts();
    part = dxBarHotPartBorder;
    for (int i = 0; i < int(FPartRects.size()); ++i)
      if (PtInRect(FPartRects[size_t(i)], P)) {
        part = i;
        break;
      }
  }
  SetHotPartIndex(part);
}

bool TdxBarItemControl::IsMousePressedOver() const
{
  if (!GetEnabled() || !FParent || !FParent->HandleAllocated())
    return false;
  POINT cursor{};
  if (!GetCursorPos(&cursor))
    return false;
  TPoint p = FParent->ScreenToClient(TPoint{cursor.x, cursor.y});
  return PtInRect(GetItemRect(), p) && IsPrimaryMouseButtonDown();
}

void TdxBarItemControl::ClickByKey()
{
  TWeakRef<TdxBarItemControl> self(this);
  TWeakRef<TCustomdxBarControl> parent(FParent);
  if (GetEnabled())
    ActivateByKey();
  if (!self || !parent)
    return;
  TdxBarItemLinks* links = parent->GetItemLinks();
  if (links && links->HasControl(this))
    Click();
}

void TdxBarItemControl::Activate()
{
  FActive = true;
}

void TdxBarItemControl::Deactivate()
{
  FActive = false;
}

void TdxBarItemControl::SetDoingClick(bool Value)
{
  if (FDoingClick == Value)
    return;
  FDoingClick = Value;
  DoingClickChanged();
}

void TdxBarItemControl::DoingClickChanged()
{
  if (!FDoingClick)
    Repaint();
}

// Leaving menu mode, the item's handler and the item's own reactions may free this control,
// its bar window, its link or the item. Everything the later steps need is taken before the
// first of them, and each step after one checks what it touches.
void TdxBarItemControl::Click()
{
  TWeakRef<TdxBarItemControl> self(this);
  TWeakRef<TCustomdxBarControl> parent(FParent);

  // 1. A menu command sounds.
  if (IsButtonControl() && IsInMenu())
    PlayMenuSound(msMenuCommand);

  // 2. The link that counts as clicked, and the item.
  TdxBarItemLink* ownLink = FItemLink;
  TdxBarItemLink* realLink = ownLink ? ownLink->GetRealItemLink() : nullptr;
  TWeakRef<TdxBarItem> item(GetItem());
  TWeakRef<TdxBarItemLink> ownLinkRef(ownLink);
  TWeakRef<TdxBarItemLink> realLinkRef(realLink);

  // 3. A use of the command moves it up in the personalised menus.
  const bool closeMenus = CloseMenusOnClick();
  if (closeMenus) {
    try {
      if (realLinkRef)
        realLinkRef->BringToTopInRecentList(true);
      if (ownLinkRef && ownLinkRef.Get() != realLinkRef.Get())
        ownLinkRef->BringToTopInRecentList(true);
    } catch (...) {
      // The recent-use order is a convenience; the click goes on.
    }
  }
  if (!self)
    return;

  // 4. Drawn pressed while the handler runs.
  const bool inMenu = IsInMenu();
  if (item && item->IsDrawnPressedWhileClicked() && (!closeMenus || !inMenu))
    SetDoingClick(true);

  // 5. Whether the item may be clicked is asked before menus close, as closing may free
  // the control.
  const bool canClick = CanClick();
  if (closeMenus) {
    if (parent)
      parent->LeaveMenuMode();
  } else if (!realLinkRef) {
    realLinkRef = ownLinkRef;
  }

  // 7. Back to normal when the control is still there, however the click ends.
  TFinally backToNormal([&] {
    if (self)
      self->SetDoingClick(false);
  });

  // 6. The item's click, with the clicked link set meanwhile.
  if (canClick && item) {
    item->SetClickItemLink(realLinkRef.Get());
    TFinally clearLink([&] {
      if (item)
        item->SetClickItemLink(nullptr);
    });
    item->Click();
  }
}

// ---------------------------------------------------------------------------
// Hints

bool TdxBarItemControl::GetHintInfo(TdxBarItemControlHintInfo& AInfo)
{
  AInfo = {};
  if (!IsParentAlive() || !FParent->CanShowHint() || FParent->GetHotControl() != this)
    return false;
  String hint = GetShortHint(GetHint());
  if (TdxBarItem* item = GetItem())
    if (auto* action = dynamic_cast<TCustomAction*>(item->GetAction()))
      if (!action->DoHint(hint))
        return false;
  AInfo.Hint = hint;
  if (TShortCut shortCut = GetShortCut())
    AInfo.ShortCut = ShortCutToText(shortCut);
  return true;
}

std::unique_ptr<TdxBarCustomHintViewInfo> TdxBarItemControl::CreateHintViewInfo(const String& AText,
                                                                                const String& AShortCut)
{
  TdxBarItem* item = GetItem();
  return IsParentAlive() ? FParent->CreateHintViewInfo(AText, AShortCut, item ? item->GetScreenTip() : nullptr)
                         : nullptr;
}

TPoint TdxBarItemControl::GetHintPosition(const TPoint& ACursorPos)
{
  return IsParentAlive() ? FParent->GetHintPosition(ACursorPos) : ACursorPos;
}

String TdxBarItemControl::GetHint() const
{
  TdxBarItem* item = GetItem();
  return item ? item->GetHint() : String();
}

TShortCut TdxBarItemControl::GetShortCut() const
{
  TdxBarItem* item = GetItem();
  return item ? item->GetShortCut() : TShortCut(0);
}

// ---------------------------------------------------------------------------
// State

bool TdxBarItemControl::GetEnabled() const
{
  TdxBarItem* item = GetItem();
  return item && item->GetEnabled();
}

bool TdxBarItemControl::CanSelect() const
{
  return true;
}

// ---------------------------------------------------------------------------
// Images

TBitmap* TdxBarItemControl::GetGlyph() const
{
  return FItemLink ? FItemLink->GetGlyph() : nullptr;
}

TBitmap* TdxBarItemControl::GetLargeGlyph() const
{
  TdxBarItem* item = GetItem();
  return item ? item->GetLargeGlyph() : nullptr;
}

int TdxBarItemControl::GetImageIndex() const
{
  TdxBarItem* item = GetItem();
  return item ? item->GetImageIndex() : -1;
}

int TdxBarItemControl::GetLargeImageIndex() const
{
  TdxBarItem* item = GetItem();
  return item ? item->GetLargeImageIndex() : -1;
}

TCustomImageList* TdxBarItemControl::GetImages() const
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return nullptr;
  if (!GetEnabled() && manager->GetDisabledImages())
    return manager->GetDisabledImages();
  return manager->GetImages();
}

TCustomImageList* TdxBarItemControl::GetLargeImages() const
{
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return nullptr;
  if (!GetEnabled() && manager->GetDisabledLargeImages())
    return manager->GetDisabledLargeImages();
  return manager->GetLargeImages();
}

TCustomImageList* TdxBarItemControl::GetHotImages() const
{
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetHotImages() : nullptr;
}

bool TdxBarItemControl::AreLargeSourcesUsed(int AImageSizeKind) const
{
  if (AImageSizeKind == isLarge)
    return true;
  if (AImageSizeKind != isLargeIcons || IsInMenu())
    return false;
  TdxBarManager* manager = GetBarManager();
  return manager && manager->GetLargeIcons() && manager->GetUseLargeImagesForLargeIcons();
}

bool TdxBarItemControl::IsLargeImageListUsed(int AImageSizeKind) const
{
  return AreLargeSourcesUsed(AImageSizeKind) && IsValidImage(GetLargeImages(), GetLargeImageIndex());
}

TCustomImageList* TdxBarItemControl::GetCurrentImages(int AImageSizeKind) const
{
  return IsLargeImageListUsed(AImageSizeKind) ? GetLargeImages() : GetImages();
}

bool TdxBarItemControl::GetImageInfo(int AImageSizeKind, TCustomImageList*& AImages, int& AImageIndex,
                                     TBitmap*& AGlyph) const
{
  const bool largeList = IsLargeImageListUsed(AImageSizeKind);
  AImages = largeList ? GetLargeImages() : GetImages();
  AImageIndex = largeList ? GetLargeImageIndex() : GetImageIndex();
  AGlyph = nullptr;
  if (AreLargeSourcesUsed(AImageSizeKind) && HasPicture(GetLargeGlyph()))
    AGlyph = GetLargeGlyph();
  else if (!largeList && HasPicture(GetGlyph()))
    AGlyph = GetGlyph();
  if (!AGlyph && !IsValidImage(AImages, AImageIndex) && FParent) {
    TBitmap* parentGlyph = FParent->GetDefaultItemGlyph(this);
    if (HasPicture(parentGlyph))
      AGlyph = parentGlyph;
  }
  return AGlyph || IsValidImage(AImages, AImageIndex);
}

bool TdxBarItemControl::HasImage(int AImageSizeKind) const
{
  TCustomImageList* images = nullptr;
  int index = -1;
  TBitmap* glyph = nullptr;
  return GetImageInfo(AImageSizeKind, images, index, glyph);
}

TSize TdxBarItemControl::GetImageSize(int AImageSizeKind) const
{
  TCustomImageList* images = nullptr;
  int index = -1;
  TBitmap* glyph = nullptr;
  if (GetImageInfo(AImageSizeKind, images, index, glyph)) {
    if (glyph)
      return TSize{glyph->GetWidth(), glyph->GetHeight()};
    return TSize{images->GetWidth(), images->GetHeight()};
  }
  if (AImageSizeKind == isLarge)
    return TSize{DefaultLargeImageSize, DefaultLargeImageSize};
  TdxBarManager* manager = GetBarManager();
  int size = manager ? manager->GetIconSize() : 16;
  return TSize{size, size};
}

bool TdxBarItemControl::IsImageDrawnEnabled() const
{
  if (GetEnabled())
    return true;
  TCustomImageList* images = nullptr;
  int index = -1;
  TBitmap* glyph = nullptr;
  int sizeKind = GetImageSizeKind();
  if (!GetImageInfo(sizeKind, images, index, glyph) || glyph)
    return false;
  TdxBarManager* manager = GetBarManager();
  if (!manager)
    return false;
  return IsLargeImageListUsed(sizeKind) ? manager->GetDisabledLargeImages() != nullptr
                                        : manager->GetDisabledImages() != nullptr;
}

// ---------------------------------------------------------------------------
// View levels and parts

TdxBarItemViewLevels TdxBarItemControl::GetPossibleViewLevels() const
{
  TdxBarItemViewLevels levels{ivlSmallIconWithText};
  if (HasImage(isSmall))
    levels += ivlSmallIcon;
  return levels;
}

int TdxBarItemControl::GetViewParts() const
{
  TdxBarItemViewLevel level = FViewInfo ? FViewInfo->GetViewLevel() : ivlDefault;
  switch (level) {
    case ivlLargeIconWithText:
    case ivlSmallIconWithText:
      return ivpCaption | (HasImage(GetImageSizeKind()) ? ivpGlyph : 0);
    case ivlSmallIcon:
      return HasImage(GetImageSizeKind()) ? ivpGlyph : 0;
    case ivlControlOnly:
      return 0;
    case ivlDefault:
      break;
  }
  return GetDefaultViewParts();
}

int TdxBarItemControl::GetDefaultImageSize() const
{
  if (GetMenuItemSize() == misLarge)
    return isLarge;
  TdxBarManager* manager = GetBarManager();
  TdxBarPainter* painter = GetPainter();
  if (manager && manager->GetLargeIcons() && painter && painter->IsLargeIconsSupported())
    return isLargeIcons;
  return isSmall;
}

int TdxBarItemControl::GetImageSizeKind() const
{
  TdxBarItemViewLevel level = FViewInfo ? FViewInfo->GetViewLevel() : ivlDefault;
  switch (level) {
    case ivlLargeIconWithText:
      return isLarge;
    case ivlSmallIconWithText:
    case ivlSmallIcon:
      return isSmall;
    default:
      return GetDefaultImageSize();
  }
}

int TdxBarItemControl::GetBarKind() const
{
  return FParent ? FParent->GetBarKind() : bkHorizontal;
}

bool TdxBarItemControl::IsInMenu() const
{
  return GetBarKind() == bkMenu;
}

bool TdxBarItemControl::IsTextRotated() const
{
  return GetBarKind() == bkVertical;
}

TdxBarAccessibilityHelperClass TdxBarItemControl::GetAccessibilityHelperClass() const
{
  return &dxBarAccessibilityHelperClassOf<TdxBarItemControlAccessibilityHelper>;
}

TClass TdxBarItemControl::GetViewInfoClass() const
{
  return TdxBarItemControlViewInfo::StaticClass();
}

TClass TdxBarItemControl::GetDrawParamsClass() const
{
  return TdxBarItemControlDrawParams::StaticClass();
}

const String& TdxBarItemControl::GetCaption() const
{
  static const String none;
  return FItemLink ? FItemLink->GetCaption() : none;
}

TdxBarMenuItemSize TdxBarItemControl::GetMenuItemSize() const
{
  TdxBarItemLinks* links = FItemLink ? FItemLink->GetLinks() : nullptr;
  return links ? links->GetMenuItemSize() : misNormal;
}

int TdxBarItemControl::GetIndent() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetItemIndent(this) : 0;
}

// ---------------------------------------------------------------------------
// Sizes

int TdxBarItemControl::CalcWidth()
{
  auto font = ItemFontScope(this);
  CalcDrawParams(false);
  int width = std::max(GetWidth(), GetMinWidth());
  if (GetBarKind() == bkHorizontal && IsStretchedClientControl(this))
    width = GetMinWidth();
  return width;
}

int TdxBarItemControl::CalcHeight()
{
  auto font = ItemFontScope(this);
  CalcDrawParams(false);
  int height = GetHeight();
  if (GetAlignment() == iaClient && FParent && FParent->IsVertical())
    height = IsTextRotated() ? GetMinWidth() : GetMinHeight();
  return height;
}

int TdxBarItemControl::GetWidth()
{
  if (IsInMenu())
    return GetMenuItemWidth();
  return IsTextRotated() ? GetDefaultHeight() : GetDefaultWidth();
}

int TdxBarItemControl::GetHeight()
{
  if (IsInMenu())
    return GetMenuItemHeight();
  return IsTextRotated() ? GetDefaultWidth() : GetDefaultHeight();
}

int TdxBarItemControl::GetDefaultWidth()
{
  return FDrawParams && FDrawParams->ViewSize == isLarge ? GetLargeWidth() : GetSmallWidth();
}

int TdxBarItemControl::GetDefaultHeight()
{
  return FDrawParams && FDrawParams->ViewSize == isLarge ? GetLargeHeight() : GetSmallHeight();
}

int TdxBarItemControl::GetSmallWidth()
{
  return GetGlyphWidth() + GetCaptionWidth() + GetExtraWidth();
}

int TdxBarItemControl::GetSmallHeight()
{
  int height = 0;
  if (FDrawParams && FDrawParams->HasCaptionPart())
    height = std::max(0, FTextHeight);
  if (FDrawParams && FDrawParams->HasGlyphPart())
    height = std::max(height, int(FDrawParams->GlyphSize.cy));
  return height;
}

int TdxBarItemControl::GetLargeWidth()
{
  int w = GetImageSize(isLarge).cx;
  if (!FDrawParams || !FDrawParams->HasCaptionPart())
    return w + LargeWidthIndent;
  int c = GetCaptionTextWidth() + LargeCaptionIndent;
  TdxBarItem* item = GetItem();
  TdxBarGlyphLayout layout = item ? item->GetGlyphLayout() : glTop;
  if (layout == glLeft || layout == glRight)
    return w + c + LargeWidthIndent;
  return std::max(w, c) + LargeWidthIndent;
}

int TdxBarItemControl::GetLargeHeight()
{
  int h = GetImageSize(isLarge).cy;
  if (!FDrawParams || !FDrawParams->HasCaptionPart())
    return h + LargeHeightIndent;
  TcxCanvas* canvas = GetCanvas();
  int t = canvas ? canvas->TextHeight(L"Qq") : 0;
  TdxBarItem* item = GetItem();
  TdxBarGlyphLayout layout = item ? item->GetGlyphLayout() : glTop;
  if (layout == glTop || layout == glBottom)
    return h + t + LargeCaptionGap + LargeHeightIndent;
  return std::max(h, t) + LargeHeightIndent;
}

int TdxBarItemControl::GetMenuItemWidth()
{
  int width = GetSmallWidth();
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetMenuItemWidthDelta(this, width) : width;
}

int TdxBarItemControl::GetMenuItemHeight()
{
  int height = FParent ? FParent->GetItemHeight(this) : FTextHeight;
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetMenuItemHeightDelta(this, height) : height;
}

int TdxBarItemControl::GetCaptionTextWidth()
{
  TcxCanvas* canvas = GetCanvas();
  if (!canvas)
    return 0;
  const String& caption = GetCaption();
  TFont* font = canvas->GetFont();
  const LOGFONTW logFont = font ? font->GetLogFont() : LOGFONTW{};
  if (FCaptionWidth.Width < 0 || FCaptionWidth.Caption != caption ||
      std::memcmp(&FCaptionWidth.Font, &logFont, sizeof logFont) != 0) {
    FCaptionWidth.Width =
        caption.find(L'&') == String::npos ? canvas->TextWidth(caption) : canvas->TextWidth(StripAccelChars(caption));
    FCaptionWidth.Caption = caption;
    FCaptionWidth.Font = logFont;
  }
  return FCaptionWidth.Width;
}

int TdxBarItemControl::GetCaptionWidth()
{
  if (!FDrawParams || !FDrawParams->HasCaptionPart())
    return 0;
  int width = GetCaptionTextWidth();
  TdxBarPainter* painter = GetPainter();
  if (!IsInMenu()) {
    if (FDrawParams->HasGlyphPart())
      width += painter ? painter->GetCaptionOffsets().left : 0;
    else
      width += 2 * GetCaptionMargin();
    return width;
  }
  TcxCanvas* canvas = GetCanvas();
  if (IsShortCutVisible() && canvas) {
    int barTextHeight = FParent ? FParent->GetTextHeight() : FTextHeight;
    width += canvas->TextWidth(ShortCutToText(GetShortCut())) + barTextHeight - ShortCutIndentReduction;
  }
  if (IsDescriptionVisible() && painter && canvas) {
    TdxBarItem* item = GetItem();
    String description = item ? item->GetDescription() : String();
    if (!description.empty()) {
      TRect r = painter->CalcTextRectForLines(canvas, description, DescriptionLineCount);
      width = std::max(width, int(r.right - r.left));
    }
  }
  TRect margins = GetItemControlMargins();
  return width + margins.left + margins.right + GetIndent();
}

int TdxBarItemControl::GetGlyphWidth()
{
  if (IsInMenu())
    return FParent ? FParent->GetGlyphColumnWidth() : 0;
  return FDrawParams && FDrawParams->HasGlyphPart() ? int(FDrawParams->GlyphSize.cx) : 0;
}

int TdxBarItemControl::GetCaptionMargin() const
{
  TFont* font = FParent ? FParent->GetFont() : nullptr;
  if (!font) {
    TdxBarManager* manager = GetBarManager();
    font = manager ? manager->GetFont() : nullptr;
  }
  return font ? std::abs(font->GetSize()) / 2 : 0;
}

TRect TdxBarItemControl::GetItemControlMargins() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetItemControlMargins() : TRect{0, 0, 0, 0};
}
