// The system's colour and font dialogs as components. Execute fills the system's parameter
// block from the properties and reads the answer back only on OK. The routine that shows
// the system dialog is replaceable (as the message box is), so a test can answer it.
#pragma once

#include <functional>

#include "platform/Component.h"
#include "platform/GraphicsObjects.h"
#include "platform/Strings.h"
#include "platform/Win.h"

// The parameter blocks of <commdlg.h>; users of the replaceable routines include it.
struct tagCHOOSECOLORW;
struct tagCHOOSEFONTW;

// What the dialogs share: the owner-window choice and the Execute entry points.
class TCommonDialog : public TComponent {
  DECLARE_CLASS(TCommonDialog, TComponent)
public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

  // Shows the dialog owned by the active window, or by the application's window when no
  // window of this thread is active. True when the user chose OK.
  bool Execute();
  // Shows the dialog modal to ParentWnd (nil: no owner). True when the user chose OK; a
  // cancelled or failed dialog leaves every property as it was.
  virtual bool Execute(HWND ParentWnd) = 0;

  // Fired just before the system dialog opens and after it has closed, whatever the answer.
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

protected:
  void DoShow() { CallEvent(OnShow, this); }
  void DoClose() { CallEvent(OnClose, this); }
};

// ---------------------------------------------------------------------------

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdSolidColor, cdAnyColor };
DECLARE_ENUM_INFO(TColorDialogOption)
using TColorDialogOptions = TSet<TColorDialogOption>;

// Shows the colour dialog and gives it the answer; true for OK. Params arrive filled in.
using TChooseColorProc = std::function<bool(tagCHOOSECOLORW& Params)>;
// Installs Proc (nil restores the system's ChooseColorW) and returns the previous one.
TChooseColorProc SetChooseColorProc(TChooseColorProc Proc);

// The number of custom colours the system dialog keeps.
constexpr int ColorDialogCustomColorCount = 16;

class TColorDialog : public TCommonDialog {
  DECLARE_CLASS(TColorDialog, TCommonDialog)
public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;

  using TCommonDialog::Execute;
  bool Execute(HWND ParentWnd) override;

  // The colour shown when the dialog opens and chosen when it closes with OK. A system
  // colour opens as its current RGB value; the answer is always an RGB value.
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }

  // The sixteen custom colours as "ColorA=RRGGBB" ... "ColorP=RRGGBB" lines: hexadecimal,
  // red first. A missing or unreadable line opens as white; after OK every custom colour
  // that is not white, or that had a line already, is written back (other lines are kept).
  TStrings* GetCustomColors() const { return FCustomColors; }
  void SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }

  TColorDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

  // The name of custom colour Index (0 ... 15): "ColorA" ... "ColorP".
  static String CustomColorName(int Index);

private:
  TColor FColor = clBlack;
  TStrings* FCustomColors;
  TColorDialogOptions FOptions;
};

// ---------------------------------------------------------------------------

enum TFontDialogOption { fdEffects, fdFixedPitchOnly, fdTrueTypeOnly, fdForceFontExist, fdScalableOnly, fdLimitSize };
DECLARE_ENUM_INFO(TFontDialogOption)
using TFontDialogOptions = TSet<TFontDialogOption>;

using TChooseFontProc = std::function<bool(tagCHOOSEFONTW& Params)>;
// Installs Proc (nil restores the system's ChooseFontW) and returns the previous one.
TChooseFontProc SetChooseFontProc(TChooseFontProc Proc);

class TFontDialog : public TCommonDialog {
  DECLARE_CLASS(TFontDialog, TCommonDialog)
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;

  using TCommonDialog::Execute;
  bool Execute(HWND ParentWnd) override;

  // The font shown when the dialog opens and chosen when it closes with OK: name, height,
  // styles, character set and pitch; with fdEffects also the colour, underline and
  // strike-out (without it those are kept as they were).
  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }

  // Default: fdEffects.
  TFontDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TFontDialogOptions Value) { FOptions = Value; }
  // Point sizes the dialog offers when fdLimitSize is set (0: no limit on that side).
  int GetMinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(int Value) { FMinFontSize = Value; }
  int GetMaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(int Value) { FMaxFontSize = Value; }

private:
  TFont* FFont;
  TFontDialogOptions FOptions{fdEffects};
  int FMinFontSize = 0;
  int FMaxFontSize = 0;
};
