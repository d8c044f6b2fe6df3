// Shared pieces of the painter drawing tests: a form with a manager, a bar window double
// that answers the painter's toolbar queries from fields, an item control double with a
// solid test glyph, and a DIB-backed canvas for draw params.
#pragma once

#include <memory>

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/drawparams.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/painters/painter.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Bitmap.h"
#include "platform/ImgList.h"
#include "support/BarTestHost.h"
#include "support/Pixels.h"

using TPaintTestForm = TTestHostForm;

// A bar window that makes no window; the toolbar queries answer from fields.
class TPaintBar : public TCustomdxBarControl {
  DECLARE_CLASS(TPaintBar, TCustomdxBarControl)
public:
  explicit TPaintBar(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}

  int GetBarKind() const override { return BarKind; }
  int GetTextHeight() const override { return TextHeight; }
  int GetGlyphColumnWidth() const override { return GlyphColumnWidth; }
  TRect GetClientRect() const override { return ClientRect; }
  TdxBarMarkState GetMarkState() const override { return MarkState; }
  bool IsStatusBar() const override { return StatusBar; }
  TdxBarDockingStyle GetBarDockingStyle() const override { return DockingStyle; }
  bool HasHiddenItems() const override { return HiddenItems; }
  bool IsDockable() const override { return Dockable; }
  TSize GetMarkSize() const override { return MarkSize; }
  bool IsDetachable() const override { return Detachable; }
  bool IsMainMenu() const override { return MainMenu; }

  int BarKind = 0;
  int TextHeight = 22;
  int GlyphColumnWidth = 24;
  TRect ClientRect{0, 0, 200, 40};
  TdxBarMarkState MarkState = TdxBarMarkState::Normal;
  bool StatusBar = false;
  TdxBarDockingStyle DockingStyle = dsTop;
  bool HiddenItems = false;
  bool Dockable = true;
  TSize MarkSize{13, 13};
  bool Detachable = false;
  bool MainMenu = false;
};

// An item control without a link, with a solid square glyph of GlyphColor.
class TPaintItem : public TdxBarItemControl {
  DECLARE_CLASS(TPaintItem, TdxBarItemControl)
public:
  using TFactoryOwner = TCustomdxBarControl;
  explicit TPaintItem(TCustomdxBarControl* ABar = nullptr);

  TCustomdxBarControl* GetBarControl() const override { return Bar; }
  bool GetEnabled() const override { return Enabled; }
  bool IsActive() const override { return false; }
  bool GetDoingClick() const override { return DoingClick; }
  HBRUSH GetBackgroundBrush() const override;
  bool HasOwnBrush() const override { return OwnBrush != nullptr; }
  bool GetImageInfo(int AImageSizeKind, TCustomImageList*& AImages, int& AImageIndex, TBitmap*& AGlyph) const override;
  int GetCaptionMargin() const override { return 4; }

  // Gives the glyph a size and colour (a one-pixel border of another colour keeps the
  // bitmap's bottom-left transparent colour off the glyph).
  void SetGlyph(int ASize, COLORREF AColor);

  TCustomdxBarControl* Bar = nullptr;
  bool Enabled = true;
  bool DoingClick = false;
  bool HasGlyph = true;
  HBRUSH OwnBrush = nullptr;  // as an item style's colour gives it; the test frees it
  std::unique_ptr<TBitmap> Glyph;
  // Without a glyph: the image of an image list.
  TCustomImageList* Images = nullptr;
  int ImageIndex = -1;
};

struct TPaintHost : TBarHost<TPaintTestForm> {
  TPaintHost()
  {
    Manager->SetStyle(bmsFlat);
    Bar = new TPaintBar(Manager);
  }
  TdxBarPainter* Painter() const { return Manager->GetPainter(); }
  COLORREF Flat(int AIndex) const { return ColorToRGB(Manager->GetFlatBrushColor(AIndex)); }
  TPaintBar* Bar;
};

// A canvas over a DIB, for draw params.
struct TDibCanvas {
  explicit TDibCanvas(TDib32& ADib);
  ~TDibCanvas();
  TCanvas Canvas;
  TcxCanvas Cx;
};

// Draw params of a toolbar button with glyph, caption or both.
void InitButtonParams(TdxBarButtonLikeControlDrawParams& AParams, TPaintItem* AItem, TcxCanvas* ACanvas, int AViewParts,
                      const String& ACaption = L"");

// What a probed DIB holds before the painter draws on it.
constexpr COLORREF Paper = RGB(0, 128, 0);

inline COLORREF Sys(int AIndex)
{
  return GetSysColor(AIndex);
}

inline bool IsReddish(COLORREF C)
{
  return GetRValue(C) > 120 && GetRValue(C) > GetGValue(C) + 60 && GetRValue(C) > GetBValue(C) + 60;
}
