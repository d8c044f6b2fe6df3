// The extra item kinds' public header: the large button, the static and progress items,
// the colour, font-name, date, tree-view and image combos, the spin edit, and the unit's start-up
// and shared resources. Programs that use an extra kind include it beside bars/dxBar.h;
// including it is what starts the unit with the library.
#pragma once

#include "barextras/colorcombo.h"
#include "barextras/datecombo.h"
#include "barextras/extitems.h"
#include "barextras/fontcombo.h"
#include "barextras/imagecombo.h"
#include "barextras/largebutton.h"
#include "barextras/spinedit.h"
#include "barextras/statics.h"
#include "barextras/treeviewcombo.h"
