// The library's own hint window (window layer) and the view infos it asks for its size,
// position and painting: a plain framed text, or a screen tip with header, description
// and footer. One window serves the whole thread; bars/model/manager_hints.cpp decides when it
// shows, and the thread hooks hide it on input.
#pragma once

#include <memory>

#include "platform/Controls.h"

class TdxBarHintWindow;
class TdxBarManager;
class TdxBarScreenTip;

// The view info of one hint: measures itself, initialises the window and paints.
class TdxBarCustomHintViewInfo : public TObject {
  DECLARE_CLASS(TdxBarCustomHintViewInfo, TObject)
public:
  explicit TdxBarCustomHintViewInfo(const TdxBarManager* AManager = nullptr);
  virtual void Calculate(TCanvas* ACanvas) {}
  virtual bool IsScreenTip() const { return false; }
  virtual void Paint(TCanvas* ACanvas) {}
  // Gives the window the screen-tip flag of this view info and makes sure it has a handle.
  virtual void InitializeWindow(TdxBarHintWindow* AWindow);
  const TRect& GetBounds() const { return FBounds; }

protected:
  // Held weakly: the window keeps its last view info until the next hint, which may come
  // after the manager has gone.
  TWeakRef<const TdxBarManager> FBarManager;
  TRect FBounds{};
};

// A plain hint: the text in a raised one-pixel frame.
class TdxBarHintViewInfo : public TdxBarCustomHintViewInfo {
  DECLARE_CLASS(TdxBarHintViewInfo, TdxBarCustomHintViewInfo)
public:
  TdxBarHintViewInfo(const TdxBarManager* AManager = nullptr, const String& AText = String(), const TPoint& P = {});
  void Calculate(TCanvas* ACanvas) override;
  void Paint(TCanvas* ACanvas) override;
  void InitializeWindow(TdxBarHintWindow* AWindow) override;
  const String& GetText() const { return FText; }

protected:
  virtual void AdjustSize(TRect& R) const;
  virtual TRect GetTextRect() const;
  virtual void DrawText(TCanvas* ACanvas);
  // The manager's Font unless it uses the system font, else the status font of the
  // non-client metrics; in the hint font's colour.
  virtual void SetFont(TFont* AFont) const;

private:
  String FText;
  TPoint FPoint;
};

// A screen tip: bold header (with the shortcut), the description beside its glyph,
// and under a separator the footer; on a light gradient in a dark frame.
class TdxBarScreenTipViewInfo : public TdxBarCustomHintViewInfo {
  DECLARE_CLASS(TdxBarScreenTipViewInfo, TdxBarCustomHintViewInfo)
public:
  // AHint is the item's hint: the header when the tip uses it or has none.
  TdxBarScreenTipViewInfo(const TdxBarManager* AManager = nullptr, TdxBarScreenTip* AScreenTip = nullptr,
                          const String& AHint = String(), const String& AShortCut = String());
  ~TdxBarScreenTipViewInfo() override;
  void Calculate(TCanvas* ACanvas) override;
  bool IsScreenTip() const override { return true; }
  void Paint(TCanvas* ACanvas) override;
  void InitializeWindow(TdxBarHintWindow* AWindow) override;

  // The laid-out parts, in window coordinates (empty when absent).
  struct TBandLayout {
    String Text;
    std::unique_ptr<TBitmap> Glyph;
    std::unique_ptr<TFont> Font;
    TRect TextRect{};
    TRect GlyphRect{};
  };
  const TBandLayout& GetBand(int AIndex) const { return FBands[AIndex]; }
  int GetSeparatorY() const { return FSeparatorY; }

private:
  // Copies the tip's texts, glyphs and fonts; the header takes the hint when the tip uses
  // it or has none, followed by the shortcut.
  void PrepareBands();
  void CalculateBand(TCanvas* ACanvas, TBandLayout& ABand, bool ATextLeftOfGlyph, int ALeft, int ATop, int AWidth);
  TWeakRef<TdxBarScreenTip> FScreenTip;
  String FHint;
  String FShortCut;
  TBandLayout FBands[3];
  bool FTextLeftOfGlyph[3] = {};
  int FSeparatorY = -1;
};

// A hint source that makes its own view info and position (item controls).
class IdxBarHintSource {
public:
  virtual std::unique_ptr<TdxBarCustomHintViewInfo> CreateHintViewInfo(const String& AText,
                                                                       const String& AShortCut) = 0;
  virtual TPoint GetHintPosition(const TPoint& ACursorPos) = 0;

protected:
  ~IdxBarHintSource() = default;
};

class TdxBarHintWindow : public TCustomControl {
  DECLARE_CLASS(TdxBarHintWindow, TCustomControl)
public:
  explicit TdxBarHintWindow(TComponent* AOwner);
  ~TdxBarHintWindow() override;

  // Shows the hint of ASource (an IdxBarHintSource, a bar window or anything else) with
  // the text followed by the shortcut text; false when there is nothing to show.
  virtual bool ActivateHint(TObject* ASource, const String& AText, const String& AShortCut);
  // P moved so that the window lies on the work area of the monitor nearest it; a hint
  // that would pass the bottom goes above the point.
  virtual TPoint AdjustPosition(const TPoint& P) const;
  // How long a hint stays up, and how long the pointer rests before it shows, in milliseconds.
  virtual int GetHintHidePause() const { return FScreenTip ? ScreenTipHidePause : HintHidePause; }
  virtual int GetHintPause() const { return FScreenTip ? ScreenTipPause : HintPause; }
  virtual void RecreateWindow();

  bool IsScreenTip() const { return FScreenTip; }
  // Hides the window and recreates it with the other window class when the flag changes.
  void SetScreenTip(bool Value);
  TdxBarCustomHintViewInfo* GetViewInfo() const { return FViewInfo.get(); }
  bool IsShowing() const;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void WMSize(TMessage& Message) override;

private:
  // A screen tip is read rather than glanced at: it stays up far longer.
  static constexpr int HintHidePause = 10000;
  static constexpr int ScreenTipHidePause = 200000;
  static constexpr int HintPause = 1000;
  static constexpr int ScreenTipPause = 900;
  bool FScreenTip = false;
  std::unique_ptr<TdxBarCustomHintViewInfo> FViewInfo;
};

// The thread's one hint window: made with the first bar manager and freed with the last.
void dxBarCreateHintWindow();
void dxBarFreeHintWindow();
TdxBarHintWindow* dxBarHintWindow();
bool dxBarIsHintShowing();

// The timing of hints, shared by every manager (bars/model/manager_hints.cpp): a hint shows after
// the window's pause, at once within 400 ms of the last hide, and hides after the window's
// hide pause. dxBarCancelHint is what input does (the hooks call it): the hint of the same
// source stays away until the pointer has left the window it rested on.
void dxBarShowHintDelayed(TObject* ASource, const String& AText, const String& AShortCut);
void dxBarCancelHint();
// The hint's source is no longer selected: the hint hides (what the manager's HideHint does).
void dxBarEndHint();
// Whether a hint was hidden less than 400 ms ago / one waits for its pause.
bool dxBarIsHintRecentlyHidden();
bool dxBarIsHintPending();
// Whether the hint shown or waiting now is ASource's.
bool dxBarIsHintFrom(const TObject* ASource);
// The manager is going: a hint of its own (or one whose source died) hides and its timers stop.
void dxBarHideHintOfManager(const TdxBarManager* AManager);
// Stops the timers and forgets the pending hint (shut-down).
void dxBarResetHintTiming();
