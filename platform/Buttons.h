// A glyph button: a graphic control (no window) showing a bitmap and an optional caption,
// flat or raised, that can stay down alone or as one of a group of buttons of the same
// parent (GroupIndex), of which at most one is down.
#pragma once

#include <memory>

#include "platform/Bitmap.h"
#include "platform/Controls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
DECLARE_ENUM_INFO(TButtonLayout)
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
  DECLARE_CLASS(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  // The picture: NumGlyphs images side by side (up, disabled, down, down and staying down).
  // Its bottom-left pixel's colour is transparent.
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  // 1 to 4; other values are taken as 1.
  int GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool Value);
  // Only a button of a group (GroupIndex nonzero) stays down; going down raises the others of
  // its group; without AllowAllUp the down button of a group cannot be raised by a click.
  bool GetDown() const { return FDown; }
  void SetDown(bool Value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  // Pixels between glyph and caption.
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // The state drawn now.
  TButtonState GetState() const { return FState; }
  bool GetMouseInControl() const { return FMouseInControl; }

  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Tells the other buttons of the group that this one went down.
  void UpdateExclusive();
  void DrawGlyph(HDC DC, int X, int Y);
  void CMButtonPressed(TMessage& Message);
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;

  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
  bool FFlat = false;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FSpacing = 4;
  TButtonState FState = bsUp;
  bool FDragging = false;
  bool FMouseInControl = false;
};
