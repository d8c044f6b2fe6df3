// The small value types that items, item links, item controls, bar windows and painters
// share: alignment, paint styles, view levels, link placement, user-defined link values
// and the kinds of bar window.
#pragma once

#include "platform/TypInfo.h"

// Where an item sits on a bar that aligns its items.
enum TdxBarItemAlign { iaLeft, iaCenter, iaRight, iaClient };
DECLARE_ENUM_INFO(TdxBarItemAlign)

// What a button shows: its glyph, its caption, the caption only in menus, or both.
enum TdxBarPaintStyle { psStandard, psCaption, psCaptionInMenu, psCaptionGlyph };
DECLARE_ENUM_INFO(TdxBarPaintStyle)

// Where a large button's glyph sits relative to its caption.
enum TdxBarGlyphLayout { glLeft, glRight, glTop, glBottom };
DECLARE_ENUM_INFO(TdxBarGlyphLayout)

// The sizes an item control can be shown at on a bar that shrinks its items to fit;
// ivlDefault is the control's own choice and never part of a link's set.
enum TdxBarItemViewLevel { ivlLargeIconWithText, ivlSmallIconWithText, ivlSmallIcon, ivlControlOnly, ivlDefault };
DECLARE_ENUM_INFO(TdxBarItemViewLevel)
using TdxBarItemViewLevels = TSet<TdxBarItemViewLevel>;
inline constexpr TdxBarItemViewLevels dxBarAllItemViewLevels{ivlLargeIconWithText, ivlSmallIconWithText, ivlSmallIcon,
                                                             ivlControlOnly};

// A link's place in a group of buttons drawn as one.
enum TdxBarButtonGroupPosition { bgpNone, bgpStart, bgpMember };
DECLARE_ENUM_INFO(TdxBarButtonGroupPosition)

// A link's row and column placement in multi-row layouts.
enum TdxBarItemPosition { ipBeginsNewRow, ipBeginsNewColumn, ipContinuesRow };
DECLARE_ENUM_INFO(TdxBarItemPosition)

// Which of a link's own values replace its item's.
enum TdxBarUserDefine { udCaption, udGlyph, udPaintStyle, udWidth };
DECLARE_ENUM_INFO(TdxBarUserDefine)
using TdxBarUserDefines = TSet<TdxBarUserDefine>;

// Menu item options of a link collection.
enum TdxBarMenuItemSize { misNormal, misLarge };
DECLARE_ENUM_INFO(TdxBarMenuItemSize)
enum TdxBarItemOptionValue { ioShowDescriptions, ioShowShortCuts, ioSize };
DECLARE_ENUM_INFO(TdxBarItemOptionValue)
using TdxBarItemOptionValues = TSet<TdxBarItemOptionValue>;

// The kinds of bar window, as an item asks its bars to rebuild: toolbars, the quick
// customisation window and sub-menus.
enum TdxBarControlKind { bckToolbar, bckQuickCustomizing, bckSubMenu };
using TdxBarControlKinds = TSet<TdxBarControlKind>;
inline constexpr TdxBarControlKinds dxBarAllControlKinds{bckToolbar, bckQuickCustomizing, bckSubMenu};
