// Static items: the label (a text that shows on bars and menus) and the separator item (a
// line, or a bold caption between lines in menus), with their item controls. Model (the
// items) and item-control layer (the controls).
#pragma once

#include <memory>

#include "bars/barwindows/drawparams.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/items.h"

class TFont;

class TdxBarLabel : public TdxBarItem {
  DECLARE_CLASS(TdxBarLabel, TdxBarItem)
public:
  explicit TdxBarLabel(TComponent* AOwner);
};

class TdxBarSeparator : public TdxBarLabel {
  DECLARE_CLASS(TdxBarSeparator, TdxBarLabel)
public:
  explicit TdxBarSeparator(TComponent* AOwner) : TdxBarLabel(AOwner) {}
  // Menus only: on toolbars the bar's own group separators serve.
  bool CanBePlacedOn(TdxBarItemLinks* AItemLinks, String& Error) override;
  String GetNewItemCaption() const override;
  bool IsSeparator() const override { return true; }
};

// What a separator's control adds for the painter.
class TdxBarSeparatorControlDrawParams : public TdxBarStaticLikeControlDrawParams {
  DECLARE_CLASS(TdxBarSeparatorControlDrawParams, TdxBarStaticLikeControlDrawParams)
public:
  using TdxBarStaticLikeControlDrawParams::TdxBarStaticLikeControlDrawParams;
  void Assign(const TdxBarItemControlDrawParams* ASource) override;

  bool IsFirstShownLink = false;  // no line above the caption at the top of a menu
};

// The label's control: never clicked, selectable only while customizing.
class TdxBarCustomStaticControl : public TdxBarItemControl {
  DECLARE_CLASS(TdxBarCustomStaticControl, TdxBarItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarCustomStaticControl(TdxBarItemLink* AItemLink) : TdxBarItemControl(AItemLink) {}

  TClass GetDrawParamsClass() const override;
  bool CanClick() const override { return false; }
  bool CanSelect() const override;
  int GetDefaultViewParts() const override;
  void Draw(const TRect& R, bool AFlag) override;
};

class TdxBarSeparatorControl : public TdxBarCustomStaticControl {
  DECLARE_CLASS(TdxBarSeparatorControl, TdxBarCustomStaticControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarSeparatorControl(TdxBarItemLink* AItemLink);
  ~TdxBarSeparatorControl() override;

  TClass GetDrawParamsClass() const override;
  int GetDefaultViewParts() const override;
  void CalcDrawParams(bool AFull = true) override;
  void Draw(const TRect& R, bool AFlag) override;
  // The caption is bold.
  void ApplyItemFont(TFont* AFont = nullptr) override;
  TdxBarMenuItemSize GetMenuItemSize() const override { return misNormal; }
  int GetGlyphWidth() override { return 0; }
  // The bar's separator size without a caption; a caption line grows by the painter's
  // line size once at the top of a menu and twice further down (a line above and below).
  int GetMenuItemHeight() override;
  int GetDefaultHeight() override { return GetTextHeight(); }
  int GetDefaultWidth() override;
  int GetMinWidth() const override;
  TRect GetItemControlMargins() const override;
  bool IsFirstShownLink() const;

private:
  std::unique_ptr<TFont> FBoldFont;
};
