// Records the customizing units with the library's start-up. This file is linked whole into
// every program on the library, since nothing else names the units.
#include "barcustomize/customize.h"
#include "bars/model/startup.h"

namespace {

const bool GUnitAdded = dxBarAddUnit({dxBarCustomizeUnitRank, &InitializedxBarCustomize, &FinalizedxBarCustomize});

}  // namespace
