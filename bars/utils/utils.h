// The bar library's shared free routines: manager and form lookups, accelerator and
// shortcut text, the library's message box, message pumps for own modal loops, menu sounds,
// system fonts, GDI and arrow drawing, glyph drawing modes and visual-style helpers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>

#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/cxLookAndFeelPainters.h"
#include "platform/Controls.h"
#include "platform/Menus.h"
#include "platform/TypInfo.h"

class TCustomForm;
class TCustomdxBarControl;
class IdxBarLinksOwner;
class IdxBarSelectableItem;
class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLink;
class TdxBarItemLinks;
class TList;
class TdxBarManager;
class TStrings;
struct TcxObjectLink;

// ---------------------------------------------------------------------------
// Manager and form lookups

// The component itself when it is a manager, else the living manager it owns (defined
// beside the manager list, bars/model/manager.cpp).
TdxBarManager* GetBarManagerByOwner(TComponent* AComponent);
// The manager of the control that owns Wnd; nil for a foreign or unknown window.
TdxBarManager* GetBarManagerOfWindow(HWND Wnd);
// From the component's nearest windowed owner (with a window) up the parent windows, the
// first control that has a manager.
TdxBarManager* GetBarManagerOfComponent(TComponent* AComponent);

// How far FindParentForm climbs.
enum TdxBarFindFormMode { ffmTopLevel = 0, ffmMDIChild = 1, ffmFirstForm = 2 };
// Walks up the parent windows from the control, remembering the last form met; stops at
// the first form (ffmFirstForm), the first MDI child (ffmMDIChild) or goes to the top.
TCustomForm* FindParentForm(TControl* AControl, TdxBarFindFormMode Mode = ffmTopLevel);
// The first windowed control in the owner chain, starting at the component itself.
TWinControl* GetOwnerWinControl(TComponent* AComponent);
// The nearest form around GetOwnerWinControl.
TCustomForm* GetOwnerParentForm(TComponent* AComponent);
TCustomForm* FindOwnerParentForm(TComponent* AComponent, TdxBarFindFormMode Mode);
// Not designing and FormStyle fsMDIChild / fsMDIForm.
bool IsMDIChildForm(TCustomForm* AForm);
bool IsMDIParentForm(TCustomForm* AForm);
// Has a window and is the active one, or is the active MDI child of an active main form,
// or (not an MDI child) its top-level window is active.
bool IsFormActive(TCustomForm* AForm);
// The form of the active window when it and its parents are enabled; for an MDI parent
// its active MDI child when there is one.
TCustomForm* GetActiveFormOrMDIChild();
// The main form's MDI client's answer to WM_MDIGETACTIVE; nil without either.
TCustomForm* GetActiveMDIChild();
// The application is active by the last WM_ACTIVATEAPP the thread hooks saw, no window of
// another process took the activation since, and some window of the thread is active.
bool IsApplicationActive();
// True for no window or a window of another process.
bool IsForeignProcessWindow(HWND Wnd);
// Containment by window (IsChild) when both have windows, else by the Parent chain. A
// control contains itself.
bool ContainsControl(TControl* AParent, TControl* AControl);
// The first windowed owner of AOwned contains AControl.
bool OwnerContainsControl(TComponent* AOwned, TControl* AControl);
// The first windowed owner of AOwned has a window that lies inside Wnd.
bool IsOwnerInsideWindow(TComponent* AOwned, HWND Wnd);
// Wnd lies inside AParent by the chain of parent windows (not Wnd itself).
bool HasParentWindow(HWND Wnd, HWND AParent);
// WindowFromPoint, then repeatedly the visible child window at that point.
HWND DeepestWindowFromPoint(const TPoint& P);
// The innermost bar window in keyboard or menu mode, kept by the bar windows' chain of
// active windows (bars/barwindows/barcontrol_input.cpp); nil when none. It reads nil once that window
// is gone, whatever its address is reused for.
TCustomdxBarControl* ActiveBarControl();
// The manager of the active bar window; nil when none is active.
TdxBarManager* ActiveBarManager();
// The active bar window has a window that is enabled together with all its parents.
bool IsActiveBarControlEnabled();
// The window at the top of AControl's chain of parent bar windows (AControl itself without
// a parent); nil for nil. The toolbar variant is nil when that top window is a menu.
TCustomdxBarControl* GetRootBarControl(TCustomdxBarControl* AControl);
TCustomdxBarControl* GetRootToolbarControl(TCustomdxBarControl* AControl);
// The class GetTopBarParentControl looks for; nil (the default) makes it answer nil. A host
// that embeds bars in a control of its own sets it.
TClass dxBarTopBarParentControlClass();
void SetdxBarTopBarParentControlClass(TClass AClass);
// For a control with a window that is not being destroyed: the control of the top of its
// parent windows (with AThroughBars also climbing from a bar window to the one it opened
// from) when that differs from AControl and is of the class above; nil otherwise.
TWinControl* GetTopBarParentControl(TWinControl* AControl, bool AThroughBars = false);

// ---------------------------------------------------------------------------
// Text and keys

// Key + 0x2000 with Shift down, + 0x4000 with Ctrl down, + 0x8000 when bit 29 of the key
// message's flags (Alt) is set; 0 for key 0.
uint16_t ShortCutFromKeyMessage(uint16_t Key, intptr_t KeyFlags);
// " (Ctrl+S)"; empty for no shortcut.
String GetShortCutHintText(uint16_t AShortCut);
// The 1-based position of the accelerator character (ParseAccelCaption, platform/Menus.h:
// the first single "&" marks it); 0 when none. With ADelete the markers are removed from
// ACaption and the position counts in the shortened text.
int FindAcceleratorCharPos(String& ACaption, bool ADelete);
int FindAcceleratorCharPos(const String& ACaption);
// The character of a virtual key (MapVirtualKey mode 2); 0 for none or a space.
wchar_t VirtualKeyToChar(uint16_t AKey);
// "\" between registry layout sections, "." between ini ones.
String GetLayoutPathSeparator(bool AIsRegistry);
// The value names of an enumeration (set: of its element type), appended to AList.
void GetEnumNames(const TEnumInfo* AInfo, TStrings* AList);
void GetSetElementNames(const TEnumInfo* AElementInfo, TStrings* AList);
// The system's non-client metrics (its menu, status and caption fonts and sizes): read with
// the full structure first and, on a system that refuses that size, with the older one
// without the padded border width; nothing when neither is accepted.
std::optional<NONCLIENTMETRICSW> ReadNonClientMetrics();
// A font made from the system's small-caption font; unless AUseSystemFont, its height is
// at most -11 and its face name AFont's. The caller owns the result.
TFont* CreateSmallCaptionFont(TFont* AFont, bool AUseSystemFont);
// ATarget becomes a copy of AFont; with AUseIconTitleHeight it takes the icon-title
// font's height, at most -11.
void SetFontHandleFromFont(TFont* AFont, TFont* ATarget, bool AUseIconTitleHeight);
// Value scaled from Base dots per inch to the screen's, rounded half away from zero.
int ScaleToScreenDPI(int Value, int Base = 96);

// ---------------------------------------------------------------------------
// Message box, message pumps, sounds and the mouse

// Application.MessageBox (Text, Application.Title, Flags): the library's one message box,
// answered through the class layer's replaceable message-box function.
int ShowAppMessageBox(const String& AText, uint32_t AFlags);
// Dispatches the queued mouse messages (WM_MOUSEFIRST to 522) / WM_PAINT messages; a
// WM_QUIT met on the way is posted again and the pump stops.
void ProcessMouseMessages();
void ProcessPaintMessages();
// For own modal loops: when Msg is WM_QUIT, posts it again (same exit code) and answers
// true so the loop ends and the outer loop still sees it.
bool RepostQuitMessage(const MSG& Msg);
// WM_[LRM]BUTTONDOWN, WM_[LRM]BUTTONDBLCLK and their non-client forms.
bool IsMouseButtonDownMessage(UINT Msg);
// Removes the queued WM_CHAR messages of Wnd.
void DiscardPendingCharMessages(HWND Wnd);
// The asynchronous state of the primary / secondary button, honouring swapped buttons.
bool IsPrimaryMouseButtonDown();
bool IsSecondaryMouseButtonDown();

enum TdxBarMenuSound { msMenuPopup = 0, msMenuCommand = 1, msNone = 2 };
// Called with the system sound alias (nil for msNone, which stops a playing sound) and
// the PlaySound flags.
using TdxBarPlaySoundProc = std::function<void(const wchar_t* Alias, uint32_t Flags)>;
// Installs Proc (nil restores the system's PlaySound) and returns the previous one.
TdxBarPlaySoundProc SetdxBarPlaySoundProc(TdxBarPlaySoundProc Proc);
// Asynchronous, by alias, no default sound, no wait.
constexpr uint32_t dxBarMenuSoundFlags = 0x12003;
// On by default.
bool dxBarMenuSoundsEnabled();
void SetdxBarMenuSoundsEnabled(bool Value);
void PlayMenuSound(TdxBarMenuSound Sound);
inline void StopMenuSound()
{
  PlayMenuSound(msNone);
}

// ---------------------------------------------------------------------------
// Drawing

// The automatic arrow size for R: d is R's width less 8 for an up or down arrow, its
// height less 6 for a left or right one; (d - 1) div 2, plus 1 for an odd d, at least 3.
int GetArrowSizeForRect(const TRect& R, TcxArrowDirection Direction);
// The colour an arrow is drawn in: AColor, except clDefault, which becomes clBtnShadow
// when disabled, clHighlightText when selected (clBtnFace in high-contrast white), and
// clBtnText otherwise.
TColor GetArrowColor(TColor AColor, bool AEnabled, bool ASelected);
// A filled arrow triangle centred in R, of ASize (below 0: GetArrowSizeForRect). A
// disabled arrow that is not flat gets an embossed copy in COLOR_BTNHIGHLIGHT one pixel
// down and right, under it.
void DrawArrowEx(HDC DC, const TRect& R, TcxArrowDirection Direction, int ASize, TColor AColor, bool AEnabled,
                 bool ASelected, bool AFlat);
inline void DrawArrow(HDC DC, const TRect& R, TcxArrowDirection Direction, TColor AColor = clDefault,
                      bool AEnabled = true, bool ASelected = false, bool AFlat = false)
{
  DrawArrowEx(DC, R, Direction, -1, AColor, AEnabled, ASelected, AFlat);
}
inline void DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection Direction, int ASize, TColor AColor = clDefault,
                           bool AEnabled = true, bool ASelected = false, bool AFlat = false)
{
  DrawArrowEx(DC, R, Direction, std::max(0, ASize), AColor, AEnabled, ASelected, AFlat);
}
// A polygon with a 1-pixel solid pen and a solid brush of AColor; the DC's objects are
// put back and the temporary ones deleted.
void DrawFilledPolygon(HDC DC, const POINT* APoints, int ACount, TColor AColor);
// FrameRect with the COLOR_HIGHLIGHT brush.
void FrameRectWithHighlightColor(HDC DC, const TRect& R);
// FrameRect of R and of R shrunk by one, with the brush of a system colour index.
void FrameRectDouble(HDC DC, const TRect& R, int ASysColorIndex);
// A 1-pixel dotted frame: its pixels where x + y is even become clBtnText.
void DrawDottedFrame(HDC DC, const TRect& R);
// The dotted frame of R and of R shrunk by one.
void DrawDottedDoubleFrame(HDC DC, const TRect& R);
// The classic size grip drawn transparently: only its lines reach DC.
void DrawSizeGrip(HDC DC, const TRect& R);
// Tiles ABitmap over R so that tiles start at AOrigin's top-left.
void TileBackgroundBitmap(HDC DC, const TRect& R, TBitmap* ABitmap, const TPoint& AOrigin);
// R filled with the tiled background when ABitmap holds a picture, else with ABrush
// (a system colour index + 1 allowed) when given, else with AColor (clNone: nothing).
void FillRectWithBackground(HDC DC, const TRect& R, TBitmap* ABitmap, const TPoint& AOrigin, HBRUSH ABrush,
                            TColor AColor = clNone);

// What decides the drawing mode of an item's glyph.
struct TdxBarGlyphStateInfo {
  bool DrawnEnabled = true;          // the item control's IsImageDrawnEnabled
  bool FadedDisabledImages = false;  // painter: IsFadedDisabledImages
  bool IdleGlyphsFaded = false;      // painter: AreIdleGlyphsFaded
  bool HotGlyphsShadowed = false;    // painter: AreHotGlyphsShadowed
  bool GrayScale = false;            // the control's IsGrayScaleImage
  bool Selected = false;
  bool Down = false;
  bool Pressed = false;
  int ColorDepth = -1;  // bits per pixel; -1 reads the one of start-up
};
// The first rule that applies: not drawn enabled -> disabled (faded when the painter
// fades disabled images); grey flag -> grey; idle glyphs faded -> faded for an item
// neither selected nor down on a screen above 8 bits, or else shadowed for a selected,
// unpressed item when hot glyphs are shadowed; otherwise normal.
TcxGlyphDrawingMode GetGlyphDrawingMode(const TdxBarGlyphStateInfo& AInfo);
// AGlyph when it holds a picture, else image AImageIndex of AImages, in AMode into
// AGlyphRect; ABackgroundRect is first filled with ABackgroundBrush when given. With a
// glyph the image-list background colour does not apply (clNone).
void DrawGlyph(HDC DC, const TRect& ABackgroundRect, const TRect& AGlyphRect, TBitmap* AGlyph,
               TCustomImageList* AImages, int AImageIndex, TcxGlyphDrawingMode AMode, HBRUSH ABackgroundBrush = nullptr,
               TColor AImageListBkColor = clNone);
// The same with the image at its own size centred in R (R is the background).
void DrawGlyphInRect(HDC DC, const TRect& R, TBitmap* AGlyph, TCustomImageList* AImages, int AImageIndex,
                     TcxGlyphDrawingMode AMode, HBRUSH ABackgroundBrush = nullptr, TColor AImageListBkColor = clNone);
// The ghosted-area transform of the bars: TransformRectThroughBitmap (0, 170, 20, 2,
// clBtnFace).
void TransformBarRect(TcxCanvas* ACanvas, const TRect& R);

// A DC's clip region as saved by SaveClipRgn.
struct TdxBarClipRgn {
  HRGN Region = nullptr;   // a copy, owned until RestoreClipRgn
  bool HadRegion = false;  // false: the DC had no clip region at all
};
TdxBarClipRgn SaveClipRgn(HDC DC);
// Puts the saved region (or none) back and deletes the copy.
void RestoreClipRgn(HDC DC, TdxBarClipRgn& ASaved);
// Adds R (logical coordinates) to the clip region; without a clip region everything is
// visible already and nothing changes.
void AddRectToClipRgn(HDC DC, const TRect& R);
// Removes the frame between AOuter and AInner from the canvas's clip region.
void ExcludeFrameFromCanvasClip(TcxCanvas* ACanvas, const TRect& AOuter, const TRect& AInner);
// Shifts DC's window origin so that the client coordinates of AControlWnd apply to a DC of
// ADCWnd's client area; SetWindowOrigin sets the origin outright.
void OffsetDCToControl(HDC DC, HWND ADCWnd, HWND AControlWnd);
void SetWindowOrigin(HDC DC, const TPoint& P);
// Below 255: WS_EX_LAYERED and the alpha; 255: the style removed and the window redrawn.
// Nothing without the layered-window function.
void SetWindowAlphaBlend(HWND Wnd, uint8_t Alpha);
// SetWindowPos without size or move, with SWP_NOACTIVATE unless AActivate.
void SetWindowZOrder(HWND Wnd, HWND AInsertAfter, bool AActivate = false, UINT AExtraFlags = 0);
// The colour the screen shows for AColor.
TColor GetScreenNearestColor(TColor AColor);
// Bits per pixel of the screen now.
int ReadScreenColorDepth();
// Rebuilds the library's checker brush from the current system colours.
void UpdateDitherBrush();

// ---------------------------------------------------------------------------
// Visual-style helpers

// The states the themes number alike for their buttons and edits.
enum TdxBarThemeState : int {
  dxThemeStateNormal = 1,
  dxThemeStateHot = 2,
  dxThemeStatePressed = 3,
  dxThemeStateDisabled = 4
};
TdxBarThemeState EnabledToThemeState(bool AEnabled);
// COLORREF values (not TColor system colours).
COLORREF GetThemedEditFillColor(TdxBarThemeState AState);
COLORREF GetThemedEditTextColor(TdxBarThemeState AState);
COLORREF GetThemedToolBarFillColor();
// The Window theme's small close button; (0, 0) without visual styles.
TSize GetThemedSmallCloseButtonSize();
// The state of a toolbar's mark, of a menu's expand button and of a floating bar's caption
// buttons, which the painters draw alike. A toolbar's mark is pressed (open) while it has a
// popup to show (hidden items and quick customization), else drawn pressed until the button
// comes up; a menu's expand button pressed expands the menu.
enum class TdxBarMarkState : int { Normal = 0, Hot = 1, Pressed = 2 };
// The states the small close button is drawn in (the theme's own numbers).
enum class TdxBarCloseButtonState : int {
  Normal = dxThemeStateNormal,
  Hot = dxThemeStateHot,
  Pressed = dxThemeStatePressed
};
// Fills R with COLOR_BTNFACE and draws the button at its left or right edge, vertically
// centred.
void DrawThemedSmallCloseButton(HDC DC, const TRect& R, TdxBarCloseButtonState AState, bool AAtLeft);
// The ScrollBar theme's size box plus 2 each way; (0, 0) without visual styles.
TSize GetThemedSizeBoxSize();
// The corner a size grip sits in. Both the themed and the classic grip are drawn for the
// bottom-right one; the others are its mirror images.
enum TdxBarSizeGripCorner : int { sgcTopLeft = 0, sgcTopRight = 1, sgcBottomLeft = 2, sgcBottomRight = 3 };
constexpr bool IsSizeGripCornerRight(TdxBarSizeGripCorner ACorner)
{
  return ACorner == sgcTopRight || ACorner == sgcBottomRight;
}
constexpr bool IsSizeGripCornerBottom(TdxBarSizeGripCorner ACorner)
{
  return ACorner == sgcBottomLeft || ACorner == sgcBottomRight;
}
// Over COLOR_BTNFACE, into the corner of R; nothing without visual styles.
void DrawThemedSizeGrip(HDC DC, const TRect& R, TdxBarSizeGripCorner ACorner);

// ---------------------------------------------------------------------------
// Links, item controls and the model's interfaces, each nil-safe

TdxBarItemControl* GetLinkControl(const TdxBarItemLink* ALink);
TdxBarItem* GetLinkItem(const TdxBarItemLink* ALink);
TdxBarItemLink* GetItemControlLink(const TdxBarItemControl* AControl);
TdxBarItem* GetItemControlItem(const TdxBarItemControl* AControl);
// Repaints the control's place in its bar window.
void InvalidateItemControl(TdxBarItemControl* AControl);
// The design-selection side of an object (bars, items, groups).
bool SupportsSelectableItem(TObject* AObject, IdxBarSelectableItem*& AItem);
IdxBarSelectableItem* GetSelectableItem(TObject* AObject);
bool IsSelectableItem(TObject* AObject);
// Takes the objects without a design-selection side out of AList.
void RemoveNonSelectableItems(TList* AList);
// The link-collection owner side of an object (bars), and the collection it owns.
IdxBarLinksOwner* QueryLinksOwner(TObject* AObject);
TdxBarItemLinks* GetLinksOwnerItemLinks(TObject* AObject);

// ---------------------------------------------------------------------------
// Object helpers

// Each clears its variable first, then frees what it held, so that code reached while the
// object goes never sees it half freed.
template <class T>
void FreeAndNilObject(T*& AObject)
{
  T* object = AObject;
  AObject = nullptr;
  if constexpr (std::is_base_of_v<TObject, T>) {
    if (object)
      object->Free();
  } else
    delete object;
}
void RemoveAndClearObjectLink(TcxObjectLink*& ALink);
void DeleteAndClearGDIObject(HGDIOBJ& AObject);
template <class H>
void DeleteAndClearGDIObject(H& AObject)
{
  HGDIOBJ object = AObject;
  AObject = nullptr;
  DeleteAndClearGDIObject(object);
}
// Selects AOldObject back into DC and deletes the object it replaces (the temporary one the
// caller selected), then clears AOldObject.
void SelectAndDeleteGDIObject(HDC DC, HGDIOBJ& AOldObject);
void DestroyWindowAndClear(HWND& Wnd);
void KillTimerAndClear(HWND Wnd, UINT_PTR& ATimerId);
// The object a link still points at; nil for no link or an object gone.
TObject* GetObjectLinkRef(TcxObjectLink* ALink);
// A bitmap that calls AOnChange on every change; the caller owns it.
TBitmap* CreateNotifyingBitmap(const TNotifyEvent& AOnChange);
// The highest of 3, 2, 1, 0 present in a set of bits (bit n = member n); 255 when none.
uint8_t GetHighestSetMember(uint32_t ASetBits);
// AValue becomes ANewValue when that is greater.
inline void SetIfGreater(int& AValue, int ANewValue)
{
  if (ANewValue > AValue)
    AValue = ANewValue;
}
