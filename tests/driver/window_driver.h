#pragma once
// The window driver lives in tests/support, beside what the benchmarks share; this name stays
// until the verify window's tests include it from there.
#include "tests/support/window_driver.h"
