// The extra item kinds' public header: the large button and the unit's start-up and shared
// resources. Programs that use an extra kind include it beside bars/dxBar.h; including it
// is what starts the unit with the library.
#pragma once

#include "barextras/extitems.h"
#include "barextras/imagecombo.h"
#include "barextras/largebutton.h"
#include "barextras/spinedit.h"
#include "barextras/treeviewcombo.h"
