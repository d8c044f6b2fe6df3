// The library's message texts come from its string table, exactly as written there.
#include <gtest/gtest.h>

#include "bars/dxBarStrs.h"

namespace {

} // namespace
