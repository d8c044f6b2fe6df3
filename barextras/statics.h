// The static item (a caption and glyph in an optional border, clickable only when asked)
// and the progress item (a static with a gauge at its right end), with their item
// controls. Model (the items) and item-control layer (the controls); the painter's static
// and progress drawing does the pixels.
#pragma once

#include "barextras/extitems.h"  // the unit starts with any of its kinds
#include "bars/itemcontrols/labels.h"
#include "bars/painters/painter.h"
#include "platform/Controls.h"

class TdxBarStatic : public TdxBarItem {
  DECLARE_CLASS(TdxBarStatic, TdxBarItem)
public:
  explicit TdxBarStatic(TComponent* AOwner);

  bool IsClickable() const override { return FAllowClick; }
  bool HasAccel(const TdxBarItemLink* ALink) const override { return false; }
  bool UsesStyleBackground() const override { return true; }

  // --- Properties.
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool GetAllowClick() const { return FAllowClick; }
  void SetAllowClick(bool Value) { FAllowClick = Value; }
  TdxBarStaticBorderStyle GetBorderStyle() const { return FBorderStyle; }
  // A fixed size only repaints; otherwise the frame changes the size and the bars rebuild.
  void SetBorderStyle(TdxBarStaticBorderStyle Value);
  // Sizes and indents: a negative value is taken as 0; a change rebuilds the bars. Width
  // and Height 0 let the content decide.
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value) { SetSize(FHeight, Value); }
  int GetLeftIndent() const { return FLeftIndent; }
  void SetLeftIndent(int Value) { SetSize(FLeftIndent, Value); }
  int GetRightIndent() const { return FRightIndent; }
  void SetRightIndent(int Value) { SetSize(FRightIndent, Value); }
  void SetWidth(int Value) override;

private:
  void SetSize(int& AField, int Value);

  TAlignment FAlignment = taCenter;
  bool FAllowClick = false;
  TdxBarStaticBorderStyle FBorderStyle = sbsNone;
  int FHeight = 0;
  int FLeftIndent = 0;
  int FRightIndent = 0;
};

class TdxBarProgressItem : public TdxBarStatic {
  DECLARE_CLASS(TdxBarProgressItem, TdxBarStatic)
public:
  explicit TdxBarProgressItem(TComponent* AOwner);

  // Values read from form data are brought into range once all of them are in.
  void Loaded() override;

  // --- Properties. Min <= Position <= Max holds outside loading.
  // clDefault: the painter's progress colour.
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  int GetMax() const { return FMax; }
  // Below Min, Min follows it down; a position left outside moves to Min.
  void SetMax(int Value);
  int GetMin() const { return FMin; }
  // Above Max, Max follows it up; a position left outside moves to Min.
  void SetMin(int Value);
  int GetPosition() const { return FPosition; }
  // Held inside Min ... Max; only the gauges repaint.
  void SetPosition(int Value);
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  // Kept for the user; nothing steps by it.
  int GetStep() const { return FStep; }
  void SetStep(int Value) { FStep = Value; }

private:
  // Min lowered to Max when above it, the position moved to Min when outside, repaint.
  void RangeChanged();
  void RepaintGauges();

  TColor FColor = clDefault;
  int FMax = 100;
  int FMin = 0;
  int FPosition = 0;
  bool FSmooth = false;
  int FStep = 10;
};

class TdxBarStaticControl : public TdxBarCustomStaticControl {
  DECLARE_CLASS(TdxBarStaticControl, TdxBarCustomStaticControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarStaticControl(TdxBarItemLink* AItemLink) : TdxBarCustomStaticControl(AItemLink) {}

  TdxBarStatic* GetStatic() const;
  void CaptionChanged() override;
  bool CanClick() const override;
  // Clickable statics take the pointer as buttons do; others only while customizing.
  bool CanSelect() const override;
  bool CloseMenusOnClick() const override;
  void CalcDrawParams(bool AFull = true) override;
  void Draw(const TRect& R, bool AFlag) override;
  // The same size in menus as on toolbars, turned on a rotated bar.
  int GetWidth() override { return IsTextRotated() ? GetDefaultHeight() : GetDefaultWidth(); }
  int GetHeight() override { return IsTextRotated() ? GetDefaultWidth() : GetDefaultHeight(); }
  int GetDefaultHeight() override;
  int GetDefaultWidth() override;

  // The border's width on each side for the item's border style.
  TRect GetBorderOffsets() const;
  // The caption and glyph without border and indents.
  int GetContentHeight();
  int GetContentWidth();

protected:
  // What content without caption or glyph measures: the static keeps the glyph's room.
  virtual int GetEmptyContentHeight();
  virtual int GetEmptyContentWidth();
};

class TdxBarProgressControl : public TdxBarStaticControl {
  DECLARE_CLASS(TdxBarProgressControl, TdxBarStaticControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarProgressControl(TdxBarItemLink* AItemLink) : TdxBarStaticControl(AItemLink) {}

  TdxBarProgressItem* GetProgressItem() const;
  void CalcDrawParams(bool AFull = true) override;
  TdxBarItemViewLevels GetPossibleViewLevels() const override;
  int GetDefaultHeight() override;
  int GetDefaultWidth() override;
  void Draw(const TRect& R, bool AFlag) override;

  // The gauge inside R (the control's rectangle): at its far end, two thirds of the room
  // across, centred; empty when there is no room.
  TRect GetProgressBarRect(const TRect& R);
  // The gauge's rectangle in the bar window; repainting it alone follows a new position.
  TRect GetProgressBarBounds() { return GetProgressBarRect(GetItemRect()); }

protected:
  int GetEmptyContentHeight() override;
  int GetEmptyContentWidth() override { return 0; }

private:
  // The gauge's gap to the content when the item has no fixed width: caption or not.
  int GetBarGap() const;
};

// The gauge's default length and its gaps to the caption and to the far border.
inline constexpr int dxBarProgressDefaultLength = 150;
inline constexpr int dxBarProgressCaptionGap = 2;
inline constexpr int dxBarProgressNoCaptionGap = 4;
inline constexpr int dxBarProgressEndGap = 2;
