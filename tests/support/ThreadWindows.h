// Counting the windows of the test's thread, for checks that nothing is left behind.
#pragma once

// The top-level windows of this thread, visible or not.
int ThreadWindowCount();
// Those and every child window beneath them.
int ThreadWindowTreeCount();
