// The bar manager's style: the effective style, the painter class chosen from it, the
// look-and-feel that follows it, and the flat brushes the flat painter draws with.
#include "bars/model/customizing.h"
#include "bars/model/manager.h"

#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/dxOffice11.h"
#include "lookandfeel/dxThemeManager.h"

namespace {

// The theme classes the XP look draws with; all must open for it to be used.
const TdxThemedObjectTypes XPThemeKinds{totComboBox, totEdit,   totProgress, totRebar, totScrollBar,
                                        totSpin,     totStatus, totToolBar,  totWindow};

TdxBarManagerStyle StyleOfKind(TcxLookAndFeelKind Kind)
{
  switch (Kind) {
    case lfFlat:
      return bmsEnhanced;
    case lfStandard:
      return bmsStandard;
    case lfUltraFlat:
      return bmsFlat;
    case lfOffice11:
      return bmsOffice11;
  }
  return bmsEnhanced;
}

TColor NearestScreenColor(COLORREF Color)
{
  const COLORREF result = GetNearestScreenColor(Color);
  return result == CLR_INVALID ? TColor(Color) : TColor(result);
}

COLORREF MapChannels(COLORREF Color, int (*Map)(int))
{
  return RGB(Map(GetRValue(Color)), Map(GetGValue(Color)), Map(GetBValue(Color)));
}

int DarkenChannel(int C)
{
  return MulDiv(C, 8, 10);
}

int LightenChannel(int C)
{
  return C + MulDiv(255 - C, 16, 100);
}

}  // namespace

void SetLookAndFeelFromBarStyle(TcxLookAndFeel* ALookAndFeel, TdxBarManagerStyle AStyle)
{
  if (!ALookAndFeel)
    return;
  if (AStyle == bmsXP) {
    ALookAndFeel->SetNativeStyle(true);
    return;
  }
  ALookAndFeel->BeginUpdate();
  ALookAndFeel->SetNativeStyle(false);
  switch (AStyle) {
    case bmsStandard:
      ALookAndFeel->SetKind(lfFlat);
      break;
    case bmsEnhanced:
      ALookAndFeel->SetKind(lfStandard);
      break;
    case bmsFlat:
      ALookAndFeel->SetKind(lfUltraFlat);
      break;
    case bmsOffice11:
      ALookAndFeel->SetKind(lfOffice11);
      break;
    default:
      break;
  }
  ALookAndFeel->EndUpdate();
}

// ---------------------------------------------------------------------------

TdxBarManagerStyle TdxBarManager::GetRealStyle() const
{
  if (FStyle != bmsUseLookAndFeel)
    return FStyle;
  if (FLookAndFeel->GetNativeStyle() && AreVisualStylesAvailable(XPThemeKinds))
    return bmsXP;
  return StyleOfKind(FLookAndFeel->GetKind());
}

TClass TdxBarManager::GetPainterClass() const
{
  TdxBarManagerStyle style = FStyle;
  if (style == bmsXP && !FVisualStylesAvailable)
    style = bmsEnhanced;
  if (style == bmsUseLookAndFeel) {
    if (FLookAndFeel && FLookAndFeel->GetNativeStyle() && FVisualStylesAvailable)
      style = bmsXP;
    else if (FLookAndFeel && FLookAndFeel->IsSkinPainterAssigned())
      return dxBarSkinPainterClass();
    else
      style = FLookAndFeel ? StyleOfKind(FLookAndFeel->GetKind()) : bmsEnhanced;
  }
  switch (style) {
    case bmsStandard:
      return TdxBarStandardPainter::StaticClass();
    case bmsFlat:
      return TdxBarFlatPainter::StaticClass();
    case bmsXP:
      return TdxBarXPPainter::StaticClass();
    case bmsOffice11:
      return TdxBarOffice11Painter::StaticClass();
    default:
      return TdxBarEnhancedPainter::StaticClass();
  }
}

void TdxBarManager::SetStyle(TdxBarManagerStyle Value)
{
  if (FStyle == Value)
    return;
  FStyle = Value;
  UpdateStyle();
}

void TdxBarManager::SetLookAndFeel(TcxLookAndFeel* Value)
{
  if (Value && FLookAndFeel)
    FLookAndFeel->Assign(Value);
}

void TdxBarManager::UpdateStyle()
{
  TRestore changing(FStyleChanging, true);
  FVisualStylesAvailable = AreVisualStylesAvailable(XPThemeKinds);
  FPainter.reset();
  FPainter.reset(static_cast<TdxBarPainter*>(GetPainterClass()->Create()));
  UpdateDockControls(true);
  BarControlsStyleChanged();
  dxBarCustomizingFormChanged(this, TdxBarCustomizingFormChange::Look);
}

void TdxBarManager::SetupLookAndFeel(TcxLookAndFeel* ALookAndFeel) const
{
  if (!ALookAndFeel)
    return;
  ALookAndFeel->BeginUpdate();
  ALookAndFeel->Reset();
  ALookAndFeel->SetSkinName(String());
  TClass painter = GetPainterClass();
  if (painter == TdxBarStandardPainter::StaticClass() || painter == TdxBarEnhancedPainter::StaticClass())
    ALookAndFeel->SetKind(lfFlat);
  else if (painter == TdxBarFlatPainter::StaticClass())
    ALookAndFeel->SetKind(lfUltraFlat);
  else if (painter == TdxBarXPPainter::StaticClass())
    ALookAndFeel->SetNativeStyle(true);
  else if (painter == TdxBarOffice11Painter::StaticClass())
    ALookAndFeel->SetKind(lfOffice11);
  else
    ALookAndFeel->Assign(FLookAndFeel.get());
  ALookAndFeel->EndUpdate();
}

void TdxBarManager::LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues)
{
  if (!IsDestroying())
    UpdateStyle();
}

void TdxBarManager::ThemeChanged(TObject* Sender)
{
  if (IsDestroying())
    return;
  SysColorChanged();
  UpdateStyle();
}

// ---------------------------------------------------------------------------
// Flat brushes

void TdxBarManager::CreateBrushes()
{
  TcxScreenColorScope screen;  // one screen device context for the colours below
  FFlatColors[0] = NearestScreenColor(MapChannels(GetSysColor(COLOR_BTNSHADOW), DarkenChannel));
  FFlatColors[1] = NearestScreenColor(MapChannels(GetSysColor(COLOR_BTNFACE), LightenChannel));
  FFlatColors[2] = NearestScreenColor(ColorToRGB(GetMixedSystemColor(11, 9, 73)));
  FFlatColors[3] = NearestScreenColor(ColorToRGB(GetMixedSystemColor(14, 44, 40)));
  FFlatColors[4] = NearestScreenColor(ColorToRGB(GetMixedSystemColor(-2, 30, 72)));
  for (size_t i = 0; i < FFlatBrushes.size(); ++i)
    FFlatBrushes[i] = TrackGdiObject(CreateSolidBrush(COLORREF(FFlatColors[i])));
  if (AreVisualStylesAvailable(totToolBar))
    FThemedToolBarBrush = TrackGdiObject(CreateSolidBrush(GetThemedToolBarFillColor()));
  if (!FOffice11ColorsUser) {
    AddOffice11ColorsUser();
    FOffice11ColorsUser = true;
  }
}

void TdxBarManager::DestroyBrushes()
{
  for (HBRUSH& brush : FFlatBrushes) {
    DeleteGdiObject(brush);
    brush = nullptr;
  }
  DeleteGdiObject(FThemedToolBarBrush);
  FThemedToolBarBrush = nullptr;
  if (FOffice11ColorsUser) {
    FOffice11ColorsUser = false;
    ReleaseOffice11ColorsUser();
  }
}

void TdxBarManager::SysColorChanged()
{
  DestroyBrushes();
  CreateBrushes();
  RefreshOffice11Colors();
  UpdateDitherBrush();
}

HBRUSH TdxBarManager::GetFlatBrush(int Index) const
{
  return Index >= 1 && Index <= 5 ? FFlatBrushes[size_t(Index - 1)] : nullptr;
}

TColor TdxBarManager::GetFlatBrushColor(int Index) const
{
  return Index >= 1 && Index <= 5 ? FFlatColors[size_t(Index - 1)] : clNone;
}
