// The colour combo: a list combo of the sixteen named colours, with an optional automatic
// entry at the top and a custom colour picked in the shared colour dialog; its control
// shows the colour in a sample and may offer a custom-colour button. Model (the item) and
// item-control layer (the control).
#pragma once

#include "barextras/extitems.h"  // the unit starts with any of its kinds
#include "barextras/itemglyph.h"
#include "bars/itemcontrols/combos.h"

class TdxBarColorCombo : public TdxBarCustomCombo {
  DECLARE_CLASS(TdxBarColorCombo, TdxBarCustomCombo)
public:
  explicit TdxBarColorCombo(TComponent* AOwner);

  // The item's click, then (with no OnClick handler and not read-only) the shared colour
  // dialog with the colour the custom-colour button took, or Color; OK takes its colour.
  void Click() override;
  // A new index the user or the program chose takes its colour; -1 keeps Color.
  void DoChange() override;
  // A colour sample (30 pixels) before each entry's text.
  void DrawItem(TCanvas* ACanvas, int AIndex, const TRect& R, TOwnerDrawState AState) override;
  void MeasureItem(int AIndex, int& AHeight) override;
  void MeasureItemWidth(int AIndex, int& AWidth) override;
  // A colour no entry names shows CustomColorText.
  void DrawInterior(TcxCanvas* ACanvas, const TRect& R, const TdxBarItemLink* ALink) override;

  // The colour of list entry AIndex (the automatic entry first when shown); an index off
  // the list gives Color.
  TColor GetColorOfIndex(int AIndex) const;
  // The entry showing AColor: the automatic entry for AutoColor itself, else the first
  // named colour of the same RGB value; -1 when none.
  int GetIndexOfColor(TColor AColor) const;
  // Whether AColor can be shown in a sample: an RGB value or a system colour.
  static bool IsSampleColor(TColor AColor);
  // What the custom-colour button does: remembers the colour the editor shows for the
  // dialog, then clicks the item.
  void ClickFromEditor(TColor AEditorColor);

  // --- Properties.
  TColor GetAutoColor() const { return FAutoColor; }
  void SetAutoColor(TColor Value);
  String GetAutoColorText() const { return FAutoColorText; }
  void SetAutoColorText(const String& Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  String GetCustomColorText() const { return FCustomColorText; }
  void SetCustomColorText(const String& Value);
  bool GetShowAutoColor() const { return FShowAutoColor; }
  void SetShowAutoColor(bool Value);
  bool GetShowCustomColorButton() const { return FShowCustomColorButton; }
  void SetShowCustomColorButton(bool Value);

  bool IsAutoColorTextStored() const;
  bool IsCustomColorTextStored() const;
  bool IsDropDownCountStored() const;

private:
  void FillList();
  // Moves ItemIndex to follow Color without Color following it back.
  void FollowColor();
  void MoveIndexQuietly(int AIndex);

  TColor FAutoColor = clWindowText;
  String FAutoColorText;
  TColor FColor = clBlack;
  String FCustomColorText;
  TColor FColorFromEditor = clBlack;
  bool FFromEditor = false;
  bool FChanging = false;
  bool FShowAutoColor = false;
  bool FShowCustomColorButton = false;
};

class TdxBarColorComboControl : public TdxBarComboControl {
  DECLARE_CLASS(TdxBarColorComboControl, TdxBarComboControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarColorComboControl(TdxBarItemLink* AItemLink) : TdxBarComboControl(AItemLink) {}

  TdxBarColorCombo* GetColorCombo() const;
  TClass GetDrawParamsClass() const override;
  int GetPartCount() const override { return dxBarColorComboPartCustomButton + 1; }
  void CalcDrawParams(bool AFull = true) override;
  // The combo's, less the sample's column at its left.
  TRect GetEditRect() const override;
  void DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams) override;
  bool IsSelected() const override;
  // A press on the custom-colour button.
  void MouseDown(const TPoint& P) override;
  // The colour the sample shows: the edited entry's while editing, else the item's.
  TColor GetSampleColor() const;
  // The sample's rectangle in the bar window; empty when the painter shows none.
  TRect GetSampleRect() const;
  TRect GetCustomColorButtonRect() const;
  bool IsCustomColorButtonPressed() const { return FButtonPressed; }

protected:
  void CalcPainterParts(std::vector<TRect>& AParts) override;
  void DoingClickChanged() override;
  // Ctrl+Enter and a press on the custom-colour button while editing.
  void WndProc(TMessage& Message) override;

private:
  void CustomColorButtonClick();

  bool FButtonPressed = false;
};
