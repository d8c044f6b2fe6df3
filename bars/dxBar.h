// The bar library's public header: the bar manager, the item-kind register, the painter
// classes and the library's start-up and shut-down. Programs include this one header.
#pragma once

#include "bars/backgrounds.h"
#include "bars/categories.h"
#include "bars/components.h"
#include "bars/groups.h"
#include "bars/imageoptions.h"
#include "bars/items.h"
#include "bars/itemlinks.h"
#include "bars/itemsupport.h"
#include "bars/barcanvas.h"
#include "bars/dropdownlistbox.h"
#include "bars/dxBarStrs.h"
#include "bars/extitems.h"
#include "bars/manager.h"
#include "bars/painter.h"
#include "bars/popupmenulinks.h"
#include "bars/registry.h"
#include "bars/shadow.h"
#include "bars/startup.h"
#include "bars/systemcontroller.h"
#include "bars/utils.h"
