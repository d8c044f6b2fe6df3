// The gradient look's colour set, its shared brushes and the look's small drawing routines.
#include "lookandfeel/dxOffice11.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "lookandfeel/dxThemeManager.h"

namespace {

struct TSchemeAnchors {
  const wchar_t* Name;
  COLORREF Key;
  COLORREF Deep;
};

// Colour names of the known schemes and the two colours each one is built from.
const TSchemeAnchors KnownSchemes[] = {
    {L"NormalColor", RGB(89, 135, 214), RGB(0, 45, 150)},
    {L"Blue", RGB(89, 135, 214), RGB(0, 45, 150)},
    {L"HomeStead", RGB(165, 185, 115), RGB(63, 93, 56)},
    {L"Metallic", RGB(160, 160, 185), RGB(75, 75, 111)},
};

// The warm selection colours every scheme shares.
constexpr TColor SchemeSelected1 = RGB(255, 244, 204), SchemeSelected2 = RGB(255, 208, 145);
constexpr TColor SchemePressed1 = RGB(254, 145, 78), SchemePressed2 = RGB(255, 211, 142);
constexpr TColor SchemeChecked1 = RGB(255, 213, 140), SchemeChecked2 = RGB(255, 173, 85);

struct TOffice11State {
  TdxOffice11Colors Colors;
  TdxOffice11Brushes Brushes;
  bool Computed = false;
  int Users = 0;
  std::unique_ptr<TdxThemeChangedNotificator> Notificator;
};

TOffice11State State;

TColor Sys(int Index)
{
  return TColor(GetSysColor(Index));
}

TColor Mix(TColor A, TColor B, int Percent)
{
  return BlendColors(A, B, Percent);
}

// A gradient's two ends and the flat colour halfway between them.
void SetRamp(TColor& AColor1, TColor& AColor2, TColor& AFlat, TColor AFrom, TColor ATo)
{
  AColor1 = AFrom;
  AColor2 = ATo;
  AFlat = Mix(AFrom, ATo, 50);
}

const TSchemeAnchors* ActiveScheme()
{
  if (!AreVisualStylesActive())
    return nullptr;
  String file, color, size;
  if (!dxGetCurrentThemeName(file, color, size))
    return nullptr;
  for (const TSchemeAnchors& s : KnownSchemes)
    if (SameText(color, s.Name))
      return &s;
  return nullptr;
}

void ComputeHighContrast(TdxOffice11Colors& c)
{
  const TColor F = Sys(COLOR_BTNFACE), H = Sys(COLOR_HIGHLIGHT), T = Sys(COLOR_BTNTEXT);
  const TColor G = Sys(COLOR_GRAYTEXT), HT = Sys(COLOR_HIGHLIGHTTEXT);
  c.HighContrast = true;
  c.ToolbarLightColor = c.ToolbarDarkColor = F;
  c.DockColor1 = c.DockColor2 = F;
  c.MenuColor = F;
  c.MenuGlyphColor1 = c.MenuGlyphColor2 = F;
  c.MenuRarelyUsedColor1 = c.MenuRarelyUsedColor2 = F;
  c.MenuBorderColor = T;
  c.SelectedColor1 = c.SelectedColor2 = c.SelectedColor = H;
  c.PressedColor1 = c.PressedColor2 = c.PressedColor = H;
  c.CheckedColor1 = c.CheckedColor2 = c.CheckedColor = H;
  c.BorderColor = c.ToolbarBorderColor = c.FloatingBorderColor = T;
  c.FloatingCaptionColor = H;
  c.FloatingCaptionTextColor = HT;
  c.SeparatorDarkColor = c.DotsDarkColor = T;
  c.SeparatorLightColor = c.DotsLightColor = F;
  c.TextColor = T;
  c.DisabledTextColor = G;
  c.SelectedTextColor = HT;
  c.DisabledEditBorderColor = G;
  c.MenuEditBorderColor = T;
  c.SeparatorTextBackColor = F;
  c.StaticBorderColor = T;
  c.BarFaceColor = F;
  c.MarkNormalColor1 = c.MarkNormalColor2 = F;
  c.MarkHotColor1 = c.MarkHotColor2 = H;
  c.MarkOpenColor1 = c.MarkOpenColor2 = H;
}

void ComputeScheme(TdxOffice11Colors& c, const TSchemeAnchors& s)
{
  const TColor K = TColor(s.Key), D = TColor(s.Deep), W = clWhite;
  c.SchemeActive = true;
  c.ToolbarLightColor = Mix(K, W, 15);
  c.ToolbarDarkColor = Mix(K, W, 75);
  c.DockColor1 = Mix(K, W, 60);
  c.DockColor2 = Mix(K, W, 30);
  c.MenuColor = Mix(K, W, 4);
  c.MenuGlyphColor1 = c.ToolbarLightColor;
  c.MenuGlyphColor2 = c.ToolbarDarkColor;
  c.MenuRarelyUsedColor1 = Mix(K, W, 35);
  c.MenuRarelyUsedColor2 = Mix(K, W, 90);
  c.MenuBorderColor = Mix(D, K, 70);
  SetRamp(c.SelectedColor1, c.SelectedColor2, c.SelectedColor, SchemeSelected1, SchemeSelected2);
  SetRamp(c.PressedColor1, c.PressedColor2, c.PressedColor, SchemePressed1, SchemePressed2);
  SetRamp(c.CheckedColor1, c.CheckedColor2, c.CheckedColor, SchemeChecked1, SchemeChecked2);
  c.BorderColor = D;
  c.ToolbarBorderColor = Mix(K, D, 60);
  c.FloatingBorderColor = c.FloatingCaptionColor = Mix(K, D, 50);
  c.FloatingCaptionTextColor = W;
  c.SeparatorDarkColor = Mix(K, D, 75);
  c.SeparatorLightColor = W;
  c.DotsDarkColor = Mix(D, K, 60);
  c.DotsLightColor = W;
  c.TextColor = Sys(COLOR_BTNTEXT);
  c.DisabledTextColor = Sys(COLOR_GRAYTEXT);
  c.SelectedTextColor = Sys(COLOR_BTNTEXT);
  c.DisabledEditBorderColor = Mix(K, W, 40);
  c.MenuEditBorderColor = Mix(K, W, 60);
  c.SeparatorTextBackColor = Mix(K, W, 20);
  c.StaticBorderColor = Mix(K, W, 60);
  c.BarFaceColor = Mix(K, W, 50);
  c.MarkNormalColor1 = Mix(K, W, 50);
  c.MarkNormalColor2 = Mix(K, D, 40);
  c.MarkHotColor1 = c.SelectedColor1;
  c.MarkHotColor2 = c.SelectedColor2;
  c.MarkOpenColor1 = Mix(K, W, 15);
  c.MarkOpenColor2 = Mix(K, W, 40);
}

void ComputeClassic(TdxOffice11Colors& c)
{
  const TColor F = Sys(COLOR_BTNFACE), Wn = Sys(COLOR_WINDOW), H = Sys(COLOR_HIGHLIGHT), S = Sys(COLOR_BTNSHADOW);
  const TColor T = Sys(COLOR_BTNTEXT), G = Sys(COLOR_GRAYTEXT), L = Sys(COLOR_BTNHIGHLIGHT);
  c.ToolbarLightColor = Mix(F, Wn, 40);
  c.ToolbarDarkColor = F;
  c.DockColor1 = F;
  c.DockColor2 = Mix(F, Wn, 70);
  c.MenuColor = Mix(F, Wn, 15);
  c.MenuGlyphColor1 = c.ToolbarLightColor;
  c.MenuGlyphColor2 = c.ToolbarDarkColor;
  c.MenuRarelyUsedColor1 = Mix(F, S, 80);
  c.MenuRarelyUsedColor2 = Mix(F, S, 60);
  c.MenuBorderColor = Mix(S, T, 60);
  c.SelectedColor1 = c.SelectedColor2 = c.SelectedColor = Mix(H, Wn, 30);
  c.PressedColor1 = c.PressedColor2 = c.PressedColor = Mix(H, Wn, 50);
  c.CheckedColor1 = c.CheckedColor2 = c.CheckedColor = Mix(H, Wn, 15);
  c.BorderColor = H;
  c.ToolbarBorderColor = Mix(F, S, 50);
  c.FloatingBorderColor = c.FloatingCaptionColor = S;
  c.FloatingCaptionTextColor = L;
  c.SeparatorDarkColor = Mix(S, F, 70);
  c.SeparatorLightColor = L;
  c.DotsDarkColor = Mix(S, T, 70);
  c.DotsLightColor = L;
  c.TextColor = T;
  c.DisabledTextColor = G;
  c.SelectedTextColor = T;
  c.DisabledEditBorderColor = S;
  c.MenuEditBorderColor = Mix(S, F, 50);
  c.SeparatorTextBackColor = F;
  c.StaticBorderColor = S;
  c.BarFaceColor = F;
  c.MarkNormalColor1 = Mix(F, S, 50);
  c.MarkNormalColor2 = S;
  c.MarkHotColor1 = c.MarkHotColor2 = c.SelectedColor;
  c.MarkOpenColor1 = Mix(F, Wn, 40);
  c.MarkOpenColor2 = F;
}

void ComputeColors()
{
  TcxScreenColorScope screen;  // one screen device context for all the blends
  TdxOffice11Colors c;
  if (IsHighContrastBlack() || IsHighContrastWhite())
    ComputeHighContrast(c);
  else if (const TSchemeAnchors* scheme = ActiveScheme())
    ComputeScheme(c, *scheme);
  else
    ComputeClassic(c);
  State.Colors = c;
  State.Computed = true;
}

HBRUSH MakeBrush(TColor Color)
{
  return TrackGdiObject(CreateSolidBrush(COLORREF(ColorToRGB(Color))));
}

void FreeBrushes()
{
  TdxOffice11Brushes& b = State.Brushes;
  for (HBRUSH* h : {&b.Menu, &b.Selected, &b.Pressed, &b.Checked, &b.StaticBorder, &b.SeparatorDark, &b.SeparatorLight,
                    &b.BarFace}) {
    DeleteGdiObject(*h);
    *h = nullptr;
  }
}

void MakeBrushes()
{
  FreeBrushes();
  const TdxOffice11Colors& c = State.Colors;
  TdxOffice11Brushes& b = State.Brushes;
  b.Menu = MakeBrush(c.MenuColor);
  b.Selected = MakeBrush(c.SelectedColor);
  b.Pressed = MakeBrush(c.PressedColor);
  b.Checked = MakeBrush(c.CheckedColor);
  b.StaticBorder = MakeBrush(c.StaticBorderColor);
  b.SeparatorDark = MakeBrush(c.SeparatorDarkColor);
  b.SeparatorLight = MakeBrush(c.SeparatorLightColor);
  b.BarFace = MakeBrush(c.BarFaceColor);
}

// Theme changes move the scheme; the set follows them while it has users.
class TOffice11ThemeListener : public TdxThemeChangedNotificator {
protected:
  void DoThemeChanged() override
  {
    RefreshOffice11Colors();
    TdxThemeChangedNotificator::DoThemeChanged();
  }
};

// A solid fill that makes no GDI object: an opaque empty text run paints the background.
void FillSolid(HDC DC, const TRect& R, COLORREF Color)
{
  if (IsRectEmpty(R))
    return;
  COLORREF old = SetBkColor(DC, Color);
  ExtTextOutW(DC, 0, 0, ETO_OPAQUE, &R, nullptr, 0, nullptr);
  SetBkColor(DC, old);
}

}  // namespace

const TdxOffice11Colors& dxOffice11Colors()
{
  if (!State.Computed)
    ComputeColors();
  return State.Colors;
}

const TdxOffice11Brushes& dxOffice11Brushes()
{
  return State.Brushes;
}

void AddOffice11ColorsUser()
{
  if (State.Users++ > 0)
    return;
  ComputeColors();
  MakeBrushes();
  State.Notificator = std::make_unique<TOffice11ThemeListener>();
}

void ReleaseOffice11ColorsUser()
{
  if (State.Users == 0)
    return;
  if (--State.Users > 0)
    return;
  State.Notificator.reset();
  FreeBrushes();
}

int GetOffice11ColorsUserCount()
{
  return State.Users;
}

void RefreshOffice11Colors()
{
  ComputeColors();
  if (State.Users > 0)
    MakeBrushes();
}

bool IsOffice11SchemeActive()
{
  return ActiveScheme() != nullptr;
}

String GetOffice11SchemeName()
{
  if (!AreVisualStylesActive())
    return String();
  String file, color, size;
  dxGetCurrentThemeName(file, color, size);
  return color;
}

void FrameOffice11Rect(HDC DC, const TRect& R)
{
  if (!DC || IsRectEmpty(R))
    return;
  // High contrast is read now: the set may not have been refreshed since it changed.
  const bool highContrast = IsHighContrastBlack() || IsHighContrastWhite();
  const COLORREF color =
      highContrast ? GetSysColor(COLOR_BTNTEXT) : COLORREF(ColorToRGB(dxOffice11Colors().BorderColor));
  FillSolid(DC, Rect(R.left, R.top, R.right, R.top + 1), color);
  FillSolid(DC, Rect(R.left, R.bottom - 1, R.right, R.bottom), color);
  FillSolid(DC, Rect(R.left, R.top + 1, R.left + 1, R.bottom - 1), color);
  FillSolid(DC, Rect(R.right - 1, R.top + 1, R.right, R.bottom - 1), color);
}

void DrawOffice11Dots(HDC DC, const TRect& R, bool Vertical)
{
  if (!DC)
    return;
  const TdxOffice11Colors& c = dxOffice11Colors();
  const COLORREF light = ColorToRGB(c.DotsLightColor), dark = ColorToRGB(c.DotsDarkColor);
  constexpr int extent = dxOffice11DotSize + 1;  // a dot with its light edge
  if ((Vertical ? RectWidth(R) : RectHeight(R)) < extent)
    return;
  const int across = Vertical ? R.left + (RectWidth(R) - extent) / 2 : R.top + (RectHeight(R) - extent) / 2;
  const int start = Vertical ? R.top : R.left;
  const int end = Vertical ? R.bottom : R.right;
  for (int pos = start; pos + extent <= end; pos += dxOffice11DotStep) {
    const int x = Vertical ? across : pos;
    const int y = Vertical ? pos : across;
    FillSolid(DC, Bounds(x + 1, y + 1, dxOffice11DotSize, dxOffice11DotSize), light);
    FillSolid(DC, Bounds(x, y, dxOffice11DotSize, dxOffice11DotSize), dark);
  }
}

void DrawOffice11Dots(TcxCanvas* ACanvas, const TRect& R, bool Vertical)
{
  if (ACanvas)
    DrawOffice11Dots(ACanvas->GetHandle(), R, Vertical);
}

void DrawOffice11Arrow(HDC DC, const TRect& R, TcxArrowDirection Direction, TColor AColor)
{
  if (!DC || AColor == clNone || IsRectEmpty(R))
    return;
  if (Direction < adUp || Direction > adRight)
    Direction = adDown;
  const COLORREF color = ColorToRGB(AColor);
  const TcxArrowPoints p = TcxCustomLookAndFeelPainter::CalculateArrowPoints(R, Direction, INT_MAX);
  // p[0] and p[1] end the base, p[2] is the tip; each row towards the tip loses a pixel
  // at both ends.
  switch (Direction) {
    case adUp:
    case adDown: {
      const int step = p[2].y > p[0].y ? 1 : -1;
      for (int i = 0, y = p[0].y; p[0].x + i <= p[1].x - i; ++i, y += step)
        FillSolid(DC, Rect(p[0].x + i, y, p[1].x - i + 1, y + 1), color);
      break;
    }
    default: {
      const int step = p[2].x > p[0].x ? 1 : -1;
      for (int i = 0, x = p[0].x; p[0].y + i <= p[1].y - i; ++i, x += step)
        FillSolid(DC, Rect(x, p[0].y + i, x + 1, p[1].y - i + 1), color);
      break;
    }
  }
}

void DrawOffice11Arrow(TcxCanvas* ACanvas, const TRect& R, TcxArrowDirection Direction, TColor AColor)
{
  if (ACanvas)
    DrawOffice11Arrow(ACanvas->GetHandle(), R, Direction, AColor);
}

int GetOffice11FittedArrowSize(const TRect& R)
{
  return std::max(dxOffice11MinArrowSize, std::min(RectWidth(R), RectHeight(R)) / 4);
}

void DrawOffice11ArrowFitted(HDC DC, const TRect& R, TcxArrowDirection Direction, TColor AColor)
{
  const int rows = GetOffice11FittedArrowSize(R);
  const int base = 2 * rows - 1;
  const bool vertical = Direction != adLeft && Direction != adRight;
  const int w = vertical ? base : rows, h = vertical ? rows : base;
  const TRect arrow = Bounds(R.left + (RectWidth(R) - w) / 2, R.top + (RectHeight(R) - h) / 2, w, h);
  DrawOffice11Arrow(DC, arrow, Direction, AColor);
}

void DrawOffice11ArrowFitted(TcxCanvas* ACanvas, const TRect& R, TcxArrowDirection Direction, TColor AColor)
{
  if (ACanvas)
    DrawOffice11ArrowFitted(ACanvas->GetHandle(), R, Direction, AColor);
}

void InitializedxOffice11()
{
  State.Computed = false;
}

void FinalizedxOffice11()
{
  State.Notificator.reset();
  FreeBrushes();
  State.Users = 0;
  State.Computed = false;
}
