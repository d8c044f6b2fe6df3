// Start-up and shut-down of the extra item kinds: their registration with the item-kind
// register, and the process-wide things they share - the two font marks of the font-name
// combo, the first day of week of the calendars, and one colour and one font dialog.
#pragma once

#include <vector>

#include "bars/model/startup.h"
#include "platform/Bitmap.h"
#include "platform/CommonDialogs.h"

// Counted like the library's start-up: the first call does the work, later ones only count,
// and the matching finalize that brings the count back to zero undoes it. dxBarInitialize
// and dxBarFinalize call these as a unit of their own (below); they need the bar library's
// item register to be up.
void InitializedxBarExtItems();
void FinalizedxBarExtItems();
bool dxBarExtItemsIsInitialized();

// The unit's place among the units above the bar library: first, as the customising units
// list the kinds it registers.
constexpr int dxBarExtItemsUnitRank = 100;
// Using the unit starts it with the library: a program file that includes any of the unit's
// headers records its start-up and shut-down with dxBarInitialize, and the reference pulls
// the unit out of its static library.
inline const bool dxBarExtItemsUnitAdded =
    dxBarAddUnit({dxBarExtItemsUnitRank, &InitializedxBarExtItems, &FinalizedxBarExtItems});

// The 13 x 13 marks the font-name combo's list puts before TrueType fonts and before other
// fonts (bitmap resources "DXBARTRUETYPEFONT" and "DXBARNONTRUETYPEFONT"). Nil before
// start-up and after shut-down; an empty bitmap when the module lacks the resource.
TBitmap* dxBarTrueTypeFontMark();
TBitmap* dxBarNonTrueTypeFontMark();

// The first day of week read from the thread locale at start-up: 0 = Sunday ... 6 = Saturday.
// Before start-up (and after shut-down) the default below.
int dxBarFirstWeekDay();
// Monday: what a locale without an answer (read as "0", its Monday) gives.
constexpr int dxBarDefaultFirstWeekDay = 1;
// The locale's LOCALE_IFIRSTDAYOFWEEK text ("0" = Monday ... "6" = Sunday) as a week day
// counted from Sunday. Anything but one digit 0 ... 6 gives dxBarDefaultFirstWeekDay.
int dxBarFirstWeekDayFromLocaleText(const String& LocaleText);
// Reads the thread locale's first day of week now, converted as above.
int dxBarReadFirstWeekDay();

// The shared dialogs of the colour combo's custom-colour button and the font-name combo,
// made on first use and freed at shut-down. Nil while the unit is not started.
TColorDialog* dxBarColorDialog();
TFontDialog* dxBarFontDialog();
// Whether the shared dialog has been made; asking does not make it.
bool dxBarColorDialogExists();
bool dxBarFontDialogExists();

// One extra item kind: the item class and the control class that shows it. Every kind is
// listed by the Customize dialog.
struct TdxBarExtItemKind {
  TClass (*ItemClass)();
  TClass (*ControlClass)();
};
// The extra item kinds in registration order.
const std::vector<TdxBarExtItemKind>& dxBarExtItemKinds();
