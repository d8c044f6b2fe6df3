// The library's message texts come from its string table, exactly as written there.
#include <gtest/gtest.h>

#include "bars/dxBarStrs.h"

namespace {

TEST(StringTable, KeepsLeadingAndTrailingBlanks)
{
  EXPECT_EQ(GetResourceString(sdxBarNewToolbarName), L"Custom ");
  EXPECT_EQ(GetResourceString(sdxBarPersonalizedMenus), L"Personalized Menus and Toolbars  ");
  EXPECT_EQ(GetResourceString(sdxBarOther), L"Other  ");
  EXPECT_EQ(GetResourceString(sdxBarDescription), L"Description  ");
  EXPECT_EQ(GetResourceString(sdxBarToolbarsPage), L" Toolbars ");
  EXPECT_EQ(GetResourceString(sdxBarViewLevelOnly), L" ONLY");
  EXPECT_EQ(GetResourceString(sdxBarPlaceForControl), L"The place for the ");
  const String confirmation = GetResourceString(sdxBarResetUsageDataConfirmation);
  EXPECT_NE(confirmation.find(L"explicit customizations.   Are you sure"), String::npos);
  EXPECT_EQ(confirmation.substr(0, 54), L"This will delete the record of the commands you've use");
}

TEST(StringTable, TextsCarryTheirPlaceholdersAndAccelerators)
{
  EXPECT_EQ(GetResourceString(sdxBarToolbarsAlreadyMerged), L"The '%s' toolbar is already merged with the '%s' toolbar");
  EXPECT_EQ(GetResourceString(sdxBarRecursiveMenusError), L"You cannot create recursive menus");
  EXPECT_EQ(GetResourceString(sdxBarOneContainerPerControl),
            L"You cannot assign the same control to more than one TdxBarControlContainerItem");
  EXPECT_EQ(GetResourceString(sdxBarTextOnlyInMenus), L"Text &Only (in Menus)");
  EXPECT_EQ(GetResourceString(sdxBarSelectItem), GetResourceString(sdxBarSelectImageItem));
  EXPECT_FALSE(GetResourceString(sdxBarSubMenuEditor).empty());
}

} // namespace
