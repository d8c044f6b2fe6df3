// The process-wide state flag of the container base. The bar manager acts on its active
// bar window only while the flag is clear; nothing in the library sets it, so it reads
// false unless a test or a later container layer sets it.
#pragma once

bool GetContainerStateFlag();
void SetContainerStateFlag(bool Value);

// Start-up and shut-down put the flag back to false; both may be called more than once.
void InitializecxContainer();
void FinalizecxContainer();
