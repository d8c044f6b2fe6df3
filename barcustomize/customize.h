// Start-up and shut-down of the customizing units: each installs its entries of the bar
// library's customizing services (bars/model/customizing.h) and takes them out again.
#pragma once

// Counted like the library's start-up: the first call does the work, later ones only count,
// and the matching finalize that brings the count back to zero undoes it. They run as a unit
// of the library's start-up (unit.cpp), after the extra item kinds.
void InitializedxBarCustomize();
void FinalizedxBarCustomize();
bool dxBarCustomizeIsInitialized();

constexpr int dxBarCustomizeUnitRank = 200;
