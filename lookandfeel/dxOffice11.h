// The gradient look's colour set: every colour role the gradient painters draw
// with, computed from the visual-style colour scheme or from the system colours, its
// shared brushes (made for the first user, freed with the last), and the small drawing
// routines of that look: the selection frame, the raised grip dots and filled arrows.
#pragma once

#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/cxLookAndFeelPainters.h"

// ---------------------------------------------------------------------------
// How the colours are made
//
// Mix(A, B, p) below is BlendColors(A, B, p): per channel A * p% + B * (100 - p)%,
// snapped to the nearest screen colour. W is white, F COLOR_BTNFACE, Wn COLOR_WINDOW,
// H COLOR_HIGHLIGHT, S COLOR_BTNSHADOW, T COLOR_BTNTEXT, G COLOR_GRAYTEXT,
// L COLOR_BTNHIGHLIGHT, HT COLOR_HIGHLIGHTTEXT.
//
// 1. High contrast (the button face is black or white, IsHighContrastBlack/White): no
//    blending at all, every role is a system colour so that the user's contrast holds:
//    backgrounds (toolbar, dock, menu, glyph column, bar face, separator text) F;
//    selection, pressed and checked H (single colours, pairs of the same);
//    borders, menu border, floating border, static border, menu edit border, separator
//    and dots dark T; separator and dots light F; disabled edit border G;
//    floating caption H with caption text HT; text T, disabled text G, selected text HT;
//    mark: normal F, hot and open H.
// 2. A known colour scheme is active (IsOffice11SchemeActive): the scheme gives a key
//    colour K and a deep colour D (blue: K (89, 135, 214), D (0, 45, 150); olive:
//    K (165, 185, 115), D (63, 93, 56); silver: K (160, 160, 185), D (75, 75, 111)), and
//    the selection uses the warm colours every scheme shares:
//      toolbar light Mix(K, W, 15), dark Mix(K, W, 75)   (top to bottom)
//      dock Mix(K, W, 60) to Mix(K, W, 30)                (left to right)
//      menu Mix(K, W, 4); glyph column = toolbar pair; less-used column Mix(K, W, 35) to
//      Mix(K, W, 90); menu border Mix(D, K, 70)
//      selected (255, 244, 204) to (255, 208, 145); pressed (254, 145, 78) to
//      (255, 211, 142); checked (255, 213, 140) to (255, 173, 85); the single colours
//      are the middle of each pair (Mix(first, second, 50))
//      border D; toolbar border Mix(K, D, 60); floating border and caption Mix(K, D, 50),
//      caption text W
//      separator dark Mix(K, D, 75), light W; dots dark Mix(D, K, 60), light W
//      text T, disabled text G, selected text T
//      disabled edit border Mix(K, W, 40); menu edit border Mix(K, W, 60); separator text
//      background Mix(K, W, 20); static border Mix(K, W, 60); bar face Mix(K, W, 50)
//      mark normal Mix(K, W, 50) to Mix(K, D, 40); hot = selected pair; open
//      Mix(K, W, 15) to Mix(K, W, 40)
// 3. Otherwise (classic colours, visual styles off or an unknown scheme): the same roles
//    from the system colours:
//      toolbar light Mix(F, Wn, 40), dark F; dock F to Mix(F, Wn, 70)
//      menu Mix(F, Wn, 15); glyph column = toolbar pair; less-used column Mix(F, S, 80)
//      to Mix(F, S, 60); menu border Mix(S, T, 60)
//      selected Mix(H, Wn, 30), pressed Mix(H, Wn, 50), checked Mix(H, Wn, 15), each
//      pair made of its single colour twice
//      border H; toolbar border Mix(F, S, 50); floating border and caption S, caption
//      text L
//      separator dark Mix(S, F, 70), light L; dots dark Mix(S, T, 70), light L
//      text T, disabled text G, selected text T
//      disabled edit border S; menu edit border Mix(S, F, 50); separator text background
//      F; static border S; bar face F
//      mark normal Mix(F, S, 50) to S; hot = selected pair; open Mix(F, Wn, 40) to F
// The colour set is computed on first use and again by RefreshOffice11Colors, which the
// bar manager calls on system colour changes; while the set has users it also follows
// visual-style theme changes by itself.

struct TdxOffice11Colors {
  // Which of the three rules above made the set.
  bool HighContrast = false;
  bool SchemeActive = false;

  TColor ToolbarLightColor, ToolbarDarkColor;
  TColor DockColor1, DockColor2;
  TColor MenuColor;
  TColor MenuGlyphColor1, MenuGlyphColor2;
  TColor MenuRarelyUsedColor1, MenuRarelyUsedColor2;
  TColor MenuBorderColor;
  TColor SelectedColor1, SelectedColor2, SelectedColor;
  TColor PressedColor1, PressedColor2, PressedColor;
  TColor CheckedColor1, CheckedColor2, CheckedColor;
  TColor BorderColor;
  TColor ToolbarBorderColor;
  TColor FloatingBorderColor, FloatingCaptionColor, FloatingCaptionTextColor;
  TColor SeparatorDarkColor, SeparatorLightColor;
  TColor DotsDarkColor, DotsLightColor;
  TColor TextColor, DisabledTextColor, SelectedTextColor;
  TColor DisabledEditBorderColor, MenuEditBorderColor;
  TColor SeparatorTextBackColor, StaticBorderColor, BarFaceColor;
  // The mark (the bar's end button) per state: normal, hot, open.
  TColor MarkNormalColor1, MarkNormalColor2;
  TColor MarkHotColor1, MarkHotColor2;
  TColor MarkOpenColor1, MarkOpenColor2;
};

// The shared solid brushes of the set; all nil while the set has no user.
struct TdxOffice11Brushes {
  HBRUSH Menu = nullptr;            // MenuColor (menu and toolbar background)
  HBRUSH Selected = nullptr;        // SelectedColor
  HBRUSH Pressed = nullptr;         // PressedColor
  HBRUSH Checked = nullptr;         // CheckedColor
  HBRUSH StaticBorder = nullptr;    // StaticBorderColor
  HBRUSH SeparatorDark = nullptr;   // SeparatorDarkColor
  HBRUSH SeparatorLight = nullptr;  // SeparatorLightColor
  HBRUSH BarFace = nullptr;         // BarFaceColor
};
constexpr int dxOffice11BrushCount = 8;

// Height of the double chevron the expand button of personalised menus shows: two
// chevrons of three rows one row apart (7), and the light copy one pixel lower.
constexpr int dxOffice11DoubleChevronHeight = 8;
// Grip dots: one every this many pixels, each a light then a dark square of this size.
constexpr int dxOffice11DotStep = 4;
constexpr int dxOffice11DotSize = 2;
// The fewest rows DrawOffice11ArrowFitted draws (tip to base).
constexpr int dxOffice11MinArrowSize = 3;

// The current colour set (computed on first use).
const TdxOffice11Colors& dxOffice11Colors();
const TdxOffice11Brushes& dxOffice11Brushes();

// Counts users; the first computes the colours and makes the brushes, the last frees
// them. A release without user does nothing.
void AddOffice11ColorsUser();
void ReleaseOffice11ColorsUser();
int GetOffice11ColorsUserCount();
// Recomputes the colours (and remakes the brushes while there are users).
void RefreshOffice11Colors();

// Visual styles are on and the theme's colour scheme is one of the known ones:
// "NormalColor" (blue), "HomeStead" (olive), "Metallic" (silver), or "Blue", the name
// the default theme of the compatibility layer this library is tested under reports for
// its blue scheme (case-insensitive).
bool IsOffice11SchemeActive();
// The scheme's colour name as the visual-styles library reports it; empty when off.
String GetOffice11SchemeName();

// A one-pixel frame in the set's border colour (COLOR_BTNTEXT in high contrast).
void FrameOffice11Rect(HDC DC, const TRect& R);

// A row (Vertical false) or column of raised dots, one every 4 pixels from the start of R,
// centred across R: each dot is a 2 x 2 light square one pixel right of and below the
// dot's place, then a 2 x 2 dark square on the place itself, so the dot shows a light
// edge on its bottom and right. Only dots that fit R whole (3 x 3 pixels) are drawn.
void DrawOffice11Dots(HDC DC, const TRect& R, bool Vertical);
void DrawOffice11Dots(TcxCanvas* ACanvas, const TRect& R, bool Vertical);

// The largest filled arrow that fits R (as CalculateArrowPoints lays it out), drawn row by
// row in AColor: for adDown the rows are 2n+1, 2n-1, ..., 1 pixels wide. clNone draws
// nothing; an out-of-range direction is adDown.
void DrawOffice11Arrow(HDC DC, const TRect& R, TcxArrowDirection Direction, TColor AColor);
void DrawOffice11Arrow(TcxCanvas* ACanvas, const TRect& R, TcxArrowDirection Direction, TColor AColor);
// An arrow sized from R: h = max(3, min(width, height) / 4) rows from base to tip with a
// base 2h - 1 pixels wide, centred in R; 3 rows even when R is smaller (it then spills
// over R's edges about evenly).
void DrawOffice11ArrowFitted(HDC DC, const TRect& R, TcxArrowDirection Direction, TColor AColor);
void DrawOffice11ArrowFitted(TcxCanvas* ACanvas, const TRect& R, TcxArrowDirection Direction, TColor AColor);
// The rows (h) DrawOffice11ArrowFitted uses for R.
int GetOffice11FittedArrowSize(const TRect& R);

// Start-up marks the set for computing on first use; shut-down frees the brushes and the
// theme listener whatever the user count. Both are idempotent.
void InitializedxOffice11();
void FinalizedxOffice11();
