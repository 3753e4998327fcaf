#pragma once
// Coordinates for the screen's resolution. DPI_AWARE is off in this program: every coordinate is
// a device pixel and the three conversions return their argument.
#include <cstdint>

constexpr bool DPI_AWARE = false;

// Measures the screen's resolution when DPI_AWARE is on.
void StartDpiScaling();

int32_t ScaleX(int32_t value);
int32_t ScaleY(int32_t value);
int32_t UnscaleX(int32_t value);
