// Painter layer: how the Customize dialog's owner-drawn lists (commands, toolbars,
// categories) draw their entries, so that the lists look like the bars of the same manager.
// Stateless like the bar painters: one shared instance per kind, every operation const,
// fed with the list's canvas, the entry rectangle, the selected state and the item.
#pragma once

#include "platform/Canvas.h"
#include "platform/System.h"

class TdxBarItem;
class TdxBarManager;

// The fixed geometry of a command entry.
struct TdxBarCustomizingFormPainterMetrics {
  static constexpr int GlyphColumnWidth = 23;  // the column the glyph is centred in
  static constexpr int TextIndent = 24;        // the text cell starts past the column's line
  static constexpr int TextOffset = 2;         // the caption starts this far into its cell
  static constexpr int CommandDropDownWidth = 13;
  static constexpr int ArrowFromRight = 9;  // the submenu arrow's left, from the right edge
  static constexpr int ArrowFromTop = 7;
  static constexpr int TextCellPadding = 3;  // a caption cell is this much wider than its text
  static constexpr int TextCellGap = 4;      // unselected gap after a caption cell
  static constexpr int FlatTextIndent = 10;  // flat kinds: text past the square glyph column
  static constexpr int FlatTextCellPadding = 11;
  static constexpr int Office11TextCellPadding = 16;  // plus the cell's height (its glyph square)
};

class TdxBarCustomizingFormPainter : public TObject {
  DECLARE_CLASS(TdxBarCustomizingFormPainter, TObject)
public:
  TdxBarCustomizingFormPainter() = default;

  // The item's caption without its accelerator markers, in a cell as wide as the text;
  // R's left edge moves past the cell.
  virtual void DrawItemCaptionCell(TCanvas* ACanvas, TRect& R, bool ASelected, TdxBarItem* AItem) const;
  // The frame round an item's sample; R shrinks past it.
  virtual void DrawItemFrame(TCanvas* ACanvas, TRect& R, bool ASelected) const;
  // The sample inside the frame, with a drop-down part at the right when asked.
  virtual void DrawItemContent(TCanvas* ACanvas, const TRect& R, bool ASelected, bool AWithDropDown,
                               TdxBarItem* AItem) const;
  // A caption cell starting at R's left edge; answers the right edge of the gap after it.
  virtual int DrawTextCell(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem,
                           const String& AText) const;
  virtual void DrawItemImage(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem) const;
  // A filled triangle pointing right with its left corners at (X, Y) and (X, Y + 6).
  virtual void DrawSubMenuArrow(TCanvas* ACanvas, int X, int Y, bool ASelected) const;
  // AItem (nil allowed) leads to the manager whose colours the flat kinds use.
  virtual TColor GetBackgroundColor(bool ASelected, TdxBarItem* AItem) const;
  // One entry of the commands list; ACaption is drawn as given (no accelerator markers).
  virtual void DrawCommandItem(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem,
                               const String& ACaption) const;
  // AItem only leads to the manager's colours, as for GetBackgroundColor.
  virtual void DrawDropDownButton(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem = nullptr) const;
  // Caption cell, frame, then content.
  virtual void DrawItem(TCanvas* ACanvas, const TRect& R, bool ASelected, bool AWithDropDown, TdxBarItem* AItem) const;
  virtual void DrawFocusRect(TCanvas* ACanvas, const TRect& R) const;
  virtual TColor GetTextColor(bool ASelected) const;
  virtual TColor GetListBackgroundColor() const;
  virtual int GetDropDownButtonWidth() const { return 12; }

protected:
  // Steps of DrawCommandItem a kind draws its own way: the frame of a selected entry's
  // glyph column and the drop-down part of a drop-down button (filled here).
  virtual void DrawCommandGlyphFrame(TCanvas* ACanvas, const TRect& AColumn) const;
  virtual void DrawCommandDropDownPart(TCanvas* ACanvas, const TRect& APart, bool ASelected, TdxBarItem* AItem) const;
  void DrawCommandGlyph(TCanvas* ACanvas, const TRect& AColumn, TdxBarItem* AItem) const;
  void DrawCommandCaption(TCanvas* ACanvas, const TRect& R, TdxBarItem* AItem, const String& ACaption) const;
};

class TdxBarCustomizingFormStandardPainter : public TdxBarCustomizingFormPainter {
  DECLARE_CLASS(TdxBarCustomizingFormStandardPainter, TdxBarCustomizingFormPainter)
public:
  void DrawFocusRect(TCanvas* ACanvas, const TRect& R) const override;
};

class TdxBarCustomizingFormFlatPainter : public TdxBarCustomizingFormPainter {
  DECLARE_CLASS(TdxBarCustomizingFormFlatPainter, TdxBarCustomizingFormPainter)
public:
  TColor GetBackgroundColor(bool ASelected, TdxBarItem* AItem) const override;
  TColor GetListBackgroundColor() const override { return clWindow; }
  TColor GetTextColor(bool ASelected) const override;
  void DrawFocusRect(TCanvas*, const TRect&) const override {}
  void DrawItemFrame(TCanvas* ACanvas, TRect& R, bool ASelected) const override;
  int DrawTextCell(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem,
                   const String& AText) const override;
  void DrawDropDownButton(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem = nullptr) const override;
  void DrawCommandItem(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem,
                       const String& ACaption) const override;

protected:
  // The frame of a selected part (the highlight colour here).
  virtual void FrameSelected(TCanvas* ACanvas, const TRect& R) const;
  // The unselected glyph column (a caption cell's square, too).
  virtual void FillGlyphColumn(TCanvas* ACanvas, const TRect& R) const;
  // The width a caption cell adds to its text, where the text starts in it, and its fill.
  virtual int TextCellPadding(const TRect& R) const;
  virtual int TextCellIndent(const TRect& R) const;
  virtual void FillTextCell(TCanvas* ACanvas, const TRect& ACell, bool ASelected, TdxBarItem* AItem) const;
};

class TdxBarCustomizingFormOffice11Painter : public TdxBarCustomizingFormFlatPainter {
  DECLARE_CLASS(TdxBarCustomizingFormOffice11Painter, TdxBarCustomizingFormFlatPainter)
public:
  TColor GetBackgroundColor(bool ASelected, TdxBarItem* AItem) const override;
  TColor GetTextColor(bool ASelected) const override;
  TColor GetListBackgroundColor() const override;

protected:
  void FrameSelected(TCanvas* ACanvas, const TRect& R) const override;
  void FillGlyphColumn(TCanvas* ACanvas, const TRect& R) const override;
  // A caption cell starts with a glyph square of its height, as a menu entry does.
  int TextCellPadding(const TRect& R) const override;
  int TextCellIndent(const TRect& R) const override;
  void FillTextCell(TCanvas* ACanvas, const TRect& ACell, bool ASelected, TdxBarItem* AItem) const override;
};

// Draws with the visual-style theme where the base draws edges; when visual styles are off
// or the theme cannot draw a part, that part is drawn as the base draws it.
class TdxBarCustomizingFormXPPainter : public TdxBarCustomizingFormPainter {
  DECLARE_CLASS(TdxBarCustomizingFormXPPainter, TdxBarCustomizingFormPainter)
public:
  void DrawItemFrame(TCanvas* ACanvas, TRect& R, bool ASelected) const override;
  void DrawItemImage(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem) const override;
  void DrawDropDownButton(TCanvas* ACanvas, const TRect& R, bool ASelected, TdxBarItem* AItem = nullptr) const override;
  int GetDropDownButtonWidth() const override { return 13; }

protected:
  void DrawCommandGlyphFrame(TCanvas* ACanvas, const TRect& AColumn) const override;
  void DrawCommandDropDownPart(TCanvas* ACanvas, const TRect& APart, bool ASelected, TdxBarItem* AItem) const override;
};

// The list painter kind for a bar painter class, compared exactly: the XP, gradient and
// flat bar painters have kinds of their own, every other class (nil too) the standard one.
TClass GetCustomizingFormPainterClass(TClass ABarPainterClass);
// The kind for the manager's current bar painter (standard without a manager or painter).
TClass GetCustomizingFormPainterClass(const TdxBarManager* AManager);
// The shared instance of a list painter kind; a class that is no kind gives the standard one.
const TdxBarCustomizingFormPainter& GetCustomizingFormPainter(TClass APainterClass);
