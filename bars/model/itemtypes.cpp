// Name tables of the shared item value types, for form data and the published-property
// tables.
#include "bars/model/itemtypes.h"

DEFINE_ENUM_INFO(TdxBarItemAlign, L"iaLeft", L"iaCenter", L"iaRight", L"iaClient")
DEFINE_ENUM_INFO(TdxBarPaintStyle, L"psStandard", L"psCaption", L"psCaptionInMenu", L"psCaptionGlyph")
DEFINE_ENUM_INFO(TdxBarGlyphLayout, L"glLeft", L"glRight", L"glTop", L"glBottom")
DEFINE_ENUM_INFO(TdxBarItemViewLevel, L"ivlLargeIconWithText", L"ivlSmallIconWithText", L"ivlSmallIcon",
                 L"ivlControlOnly", L"ivlDefault")
DEFINE_ENUM_INFO(TdxBarButtonGroupPosition, L"bgpNone", L"bgpStart", L"bgpMember")
DEFINE_ENUM_INFO(TdxBarItemPosition, L"ipBeginsNewRow", L"ipBeginsNewColumn", L"ipContinuesRow")
DEFINE_ENUM_INFO(TdxBarUserDefine, L"udCaption", L"udGlyph", L"udPaintStyle", L"udWidth")
DEFINE_ENUM_INFO(TdxBarMenuItemSize, L"misNormal", L"misLarge")
DEFINE_ENUM_INFO(TdxBarItemOptionValue, L"ioShowDescriptions", L"ioShowShortCuts", L"ioSize")
