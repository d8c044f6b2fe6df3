// The fixed sizes of the painter kinds, one table per kind: each kind starts from the table
// of the kind it derives from and lists only what it changes, so the kinds compare at a
// glance. Values the system decides (frames, caption heights, size grips) are read by the
// painter's getters and are not kept here.
#pragma once

#include "platform/Types.h"

// Pixels unless a row says otherwise.
struct TdxBarPainterMetrics {
  // --- Item controls on toolbars.
  TRect CaptionOffsets;  // between a toolbar item's glyph and its caption (left only)
  int GlyphWidthIndent;  // a glyph area is the icon size plus these two
  int GlyphHeightIndent;
  TPoint PressedGlyphOffset;    // how far a glyph moves while held
  TPoint DownGlyphOffset;       // how far a glyph moves while down
  int GlyphLayoutIndentAlong;   // a glyph placed by its layout keeps this from the content's edge along the line
  int GlyphLayoutIndentAcross;  // ... and this across it
  int LargeGlyphTextGap;        // text beside a large glyph keeps this from it
  TRect ButtonContentMargins;   // around a button's content
  int LoweredBorderWidth;       // the border of a Lowered button
  int ArrowWidthDelta;          // added to the manager's ButtonArrowWidth and LargeButtonArrowWidth
  int MinShiftedArrowWidth;     // a toolbar arrow part narrower than this stays put when pressed
  TRect ItemControlMargins;     // left and right of every toolbar item
  int ToolbarSeparatorSize;     // the gap between groups on a toolbar
  int ToolbarSeparatorOffset;   // from the gap's start to its line
  // --- Check marks.
  int CheckMarkWidth;  // per unit of scale
  int CheckMarkHeight;
  int LargeCheckMarkFontSize;  // bar fonts above this many points double the mark
  // --- Bar frames, drag handles and captions.
  int BarBorderWidth;
  TRect DockedBarBorders;
  TRect FloatingBarExtraBorders;  // what a kind adds around a floating bar's sizing frame
  int DragHandleOffset;           // the drag handle from the bar's edge
  int DragHandleWidth;            // one drag bar, or the dotted grip
  int DragHandleSize;             // the room before the first item of a docked bar with a border
  int DragHandleSizeEx;           // the same, when the bar window asks for the other form
  int DragGripEndInset;           // the dotted grip keeps this from the bar's ends
  int StatusBarTopIndent;
  int SizingFrameSize;  // a floating bar's sizing frame of the kind's own (0: the system's)
  TRect StatusBarBorders;
  int DockRowSpacing;    // between the rows of a dock site
  int CaptionMarkWidth;  // the triangle of a mark in a floating caption
  int CaptionMarkHeight;
  int CloseCrossMinSize;  // the plain close cross is half its button, at least this
  int CloseCrossInsetX;   // a kind's own close cross keeps this from the button's sides
  int CloseCrossInsetY;   // ... and this from its top and bottom
  // --- The mark at a docked bar's end.
  int DockedMarkSize;         // the strip a docked bar keeps at its end for the mark
  int SmallMarkMaxHeight;     // a mark no higher than this is drawn in its small layout
  int MarkArrowIndentX;       // horizontal bar: the arrow from the mark's left
  int MarkArrowIndentBottom;  // horizontal bar: the arrow from the mark's bottom
  int MarkArrowVerticalX;     // vertical bar: the arrow from the mark's left
  int MarkArrowVerticalY;     // vertical bar: the arrow from the mark's top
  int MarkChevronFirst;       // the chevrons from the mark's start
  int MarkChevronSecond;
  int MarkChevronTop;            // across a horizontal bar; one less on a small mark
  int MarkChevronVerticalRight;  // vertical bar: the chevrons start this far from the right
  // --- Menus.
  int MenuSeparatorSize;
  int MenuSeparatorHeight;  // the group separator above an item
  int MenuSeparatorIndent;  // the separator's line from the glyph column
  int MenuSideIndent;
  int MenuBorderSize;
  int MenuButtonHeight;     // scroll and expand buttons
  int MenuCaptionInset;     // what a caption rectangle grows by vertically
  int MenuItemHeightDelta;  // added to a menu item's height and width
  int MenuItemWidthDelta;
  int MenuItemIndentExtra;    // a menu item's indent is the menu's text height plus this
  int ScrollButtonSize;       // scroll buttons of their own (0: they take an item's place)
  int DefaultMenuItemHeight;  // an item in the application menu's proportions (0: none)
  int DescriptionLineCount;   // a Description shows in at most this many lines
  int DetachStripExtra;       // the tear-off strip is the menu's strip value plus this
  int DetachHandleWidth;      // the dotted tear-off handle, centred in its strip
  int DetachStripSideBar;     // the strip keeps this from the menu's sides
  // --- Edits, combos and spin edits.
  TRect ComboButtonMargins;
  int ComboButtonWidth;  // a combo's drop-down button when the bar gives none (0: the system's)
  int ComboButtonGap;    // between a combo's text and its button
  TRect EditBorderMargins;
  int EditCaptionMargin;  // around an edit's caption and glyph parts
  int EditGlyphMargin;
  TRect SpinButtonMargins;
  int SpinArrowPadding;  // a spin arrow's room on each side inside its button
  // --- Statics, progress bars, separators, containers and hints.
  int ProgressBarHeight;
  int ProgressExtraWidth;
  int ProgressBlockGap;  // between the blocks of a progress bar that is not smooth
  int InPlaceSubItemIndent;
  TRect SeparatorMargins;
  int SeparatorLineSize;
  int ContainerBorderWidth;
  int DropDownBorderWidth;  // of drop-down windows (a combo's list)
  int HintOffsetY;          // hints appear this far below the mouse
};

// The base painter: the classic sizes every kind starts from.
inline constexpr TdxBarPainterMetrics dxBarPainterMetrics{
    .CaptionOffsets = {4, 0, 0, 0},
    .GlyphWidthIndent = 6,
    .GlyphHeightIndent = 7,
    .PressedGlyphOffset = {0, 0},
    .DownGlyphOffset = {0, 0},
    .GlyphLayoutIndentAlong = 4,
    .GlyphLayoutIndentAcross = 2,
    .LargeGlyphTextGap = 3,
    .ButtonContentMargins = {2, 2, 2, 3},
    .LoweredBorderWidth = 0,
    .ArrowWidthDelta = 0,
    .MinShiftedArrowWidth = 10,
    .ItemControlMargins = {3, 0, 3, 0},
    .ToolbarSeparatorSize = 6,
    .ToolbarSeparatorOffset = 2,  // (size - 2) / 2
    .CheckMarkWidth = 9,
    .CheckMarkHeight = 7,
    .LargeCheckMarkFontSize = 15,
    .BarBorderWidth = 1,
    .DockedBarBorders = {2, 2, 2, 2},
    .FloatingBarExtraBorders = {0, 0, 0, 0},
    .DragHandleOffset = 0,
    .DragHandleWidth = 3,
    .DragHandleSize = 0,
    .DragHandleSizeEx = 0,
    .DragGripEndInset = 3,
    .StatusBarTopIndent = 2,
    .SizingFrameSize = 0,
    .StatusBarBorders = {0, 0, 0, 0},
    .DockRowSpacing = 0,
    .CaptionMarkWidth = 7,
    .CaptionMarkHeight = 4,
    .CloseCrossMinSize = 4,
    .CloseCrossInsetX = 3,
    .CloseCrossInsetY = 4,
    .DockedMarkSize = 11,
    .SmallMarkMaxHeight = 16,
    .MarkArrowIndentX = 3,
    .MarkArrowIndentBottom = 7,
    .MarkArrowVerticalX = 5,
    .MarkArrowVerticalY = 3,
    .MarkChevronFirst = 2,
    .MarkChevronSecond = 6,
    .MarkChevronTop = 4,
    .MarkChevronVerticalRight = 8,
    .MenuSeparatorSize = 10,
    .MenuSeparatorHeight = 0,
    .MenuSeparatorIndent = 0,
    .MenuSideIndent = 1,
    .MenuBorderSize = 1,
    .MenuButtonHeight = 19,
    .MenuCaptionInset = 0,
    .MenuItemHeightDelta = 0,
    .MenuItemWidthDelta = 0,
    .MenuItemIndentExtra = 1,
    .ScrollButtonSize = 0,
    .DefaultMenuItemHeight = 0,
    .DescriptionLineCount = 2,
    .DetachStripExtra = 3,
    .DetachHandleWidth = 33,
    .DetachStripSideBar = 3,
    .ComboButtonMargins = {1, 2, 1, 2},
    .ComboButtonWidth = 0,
    .ComboButtonGap = 1,
    .EditBorderMargins = {2, 2, 2, 2},
    .EditCaptionMargin = 2,
    .EditGlyphMargin = 4,
    .SpinButtonMargins = {1, 0, 1, 0},
    .SpinArrowPadding = 2,
    .ProgressBarHeight = 12,
    .ProgressExtraWidth = 0,
    .ProgressBlockGap = 2,
    .InPlaceSubItemIndent = 5,
    .SeparatorMargins = {6, 0, 0, 0},
    .SeparatorLineSize = 2,
    .ContainerBorderWidth = 0,
    .DropDownBorderWidth = 1,
    .HintOffsetY = 20,
};

// The classic three-dimensional look: two raised drag bars, tighter button margins.
inline constexpr TdxBarPainterMetrics dxBarStandardPainterMetrics = [] {
  TdxBarPainterMetrics m = dxBarPainterMetrics;
  m.ButtonContentMargins = {2, 1, 2, 1};
  m.LoweredBorderWidth = 1;
  m.DragHandleOffset = 2;
  m.DragHandleSizeEx = 2 * m.DragHandleWidth + 2 + 1;  // two bars, the offset and a pixel
  m.DragHandleSize = m.DragHandleSizeEx;
  m.MenuBorderSize = 2;
  m.MenuSeparatorIndent = 2;
  m.DockedMarkSize = 3 + 7 + 3;  // the chevrons with three pixels either side
  return m;
}();

// The standard look with one drag bar.
inline constexpr TdxBarPainterMetrics dxBarEnhancedPainterMetrics = [] {
  TdxBarPainterMetrics m = dxBarStandardPainterMetrics;
  m.DragHandleOffset = 1;
  m.DragHandleSizeEx = m.DragHandleWidth + 1 + 2;  // one bar, the offset and two pixels
  m.DragHandleSize = m.DragHandleSizeEx;
  m.MenuSeparatorIndent = 12;
  return m;
}();

// The flat look: one-pixel frames, narrower separators and arrows, roomier menu items.
inline constexpr TdxBarPainterMetrics dxBarFlatPainterMetrics = [] {
  TdxBarPainterMetrics m = dxBarPainterMetrics;
  m.LoweredBorderWidth = 1;
  m.ArrowWidthDelta = -1;
  m.ToolbarSeparatorSize = 5;
  m.ToolbarSeparatorOffset = 2;  // (size - 1) / 2
  m.DragHandleOffset = 1;
  m.DragHandleSizeEx = m.DragHandleWidth + 1 + 2;  // the grip, the offset and two pixels
  m.DragHandleSize = m.DragHandleSizeEx;           // a docked flat bar always has room for its grip
  m.MenuSeparatorSize = 5;
  m.MenuSeparatorIndent = 8;
  m.MenuButtonHeight = 20;
  m.MenuItemHeightDelta = 2;
  m.MenuItemWidthDelta = 9;
  m.MenuItemIndentExtra = 3;
  m.DetachStripExtra = 1;
  m.EditBorderMargins = {1, 1, 1, 1};
  m.EditCaptionMargin = 6;
  m.EditGlyphMargin = 5;
  return m;
}();

// The look drawn through the visual-style themes: wider arrows, the gripper at the bar's
// edge. Separators, margins, glyph indents and grips are the theme's (TdxBarXPThemeMetrics);
// these stand when the theme gives none.
inline constexpr TdxBarPainterMetrics dxBarXPPainterMetrics = [] {
  TdxBarPainterMetrics m = dxBarPainterMetrics;
  m.ArrowWidthDelta = 3;
  m.DragHandleOffset = 0;
  m.DragHandleSizeEx = m.DragHandleWidth + m.DragHandleOffset + 2;
  m.DragHandleSize = m.DragHandleSizeEx;
  m.MenuItemHeightDelta = 1;
  m.DetachStripExtra = 1;
  m.ComboButtonMargins = {1, 1, 1, 1};
  m.EditCaptionMargin = 6;
  m.EditGlyphMargin = 5;
  return m;
}();

// The flat geometry in the gradient look's colours: a thin sizing frame, the grip's dots
// further in, a taller tear-off strip.
inline constexpr TdxBarPainterMetrics dxBarOffice11PainterMetrics = [] {
  TdxBarPainterMetrics m = dxBarFlatPainterMetrics;
  m.SizingFrameSize = 3;
  m.DragHandleOffset = 1 + 2;                                       // the flat offset and two pixels
  m.DragHandleSizeEx = m.DragHandleOffset + m.DragHandleWidth + 2;  // dots 3 wide, two pixels after
  m.DragHandleSize = m.DragHandleSizeEx;
  m.DetachStripExtra = 5;
  m.ComboButtonWidth = 13;
  return m;
}();
