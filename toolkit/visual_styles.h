#pragma once
// Whether the common controls draw with visual styles: a themed application on common controls
// 6.0 or later. Status texts are padded differently then.
#include <cstdint>

// Reads the common-controls version and the theme state; does its work until a version is known.
void ProbeVisualStyles();

// Major version in the high 16 bits, minor in the low 16 bits; 0 until a probe succeeded.
uint32_t CommonControlsVersion();

bool VisualStylesInUse();
