// The extra item kinds' public header: the large button, the static and progress items,
// the colour and font-name combos, the control container, the toolbars, recent-files and
// in-place lists, and the unit's start-up and shared resources. Programs
// that use an extra kind include it beside bars/dxBar.h; including it is what starts the
// unit with the library.
#pragma once

#include "barextras/colorcombo.h"
#include "barextras/containeritem.h"
#include "barextras/extitems.h"
#include "barextras/fontcombo.h"
#include "barextras/largebutton.h"
#include "barextras/listitems.h"
#include "barextras/statics.h"
