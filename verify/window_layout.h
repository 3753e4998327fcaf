#pragma once
// Where each control of the verifying window goes for a client area and a DPI: sizes are given
// at 96 DPI and scaled, the list takes what is left.
#include <cstdint>

#include "verify/control_numbers.h"

struct ControlPlace {
  int32_t control;
  int32_t x, y, width, height;
};

constexpr int32_t LAID_OUT_CONTROLS = 14;

// The window's smallest client area at 96 DPI.
constexpr int32_t MINIMUM_CLIENT_WIDTH = 520, MINIMUM_CLIENT_HEIGHT = 360;
// Its first client area at 96 DPI.
constexpr int32_t START_CLIENT_WIDTH = 900, START_CLIENT_HEIGHT = 560;

int32_t ScaleForDpi(int32_t value, uint32_t dpi);

// The place of every control in VerifyControl order.
void LayOutControls(int32_t clientWidth, int32_t clientHeight, uint32_t dpi,
                    ControlPlace (&places)[LAID_OUT_CONTROLS]);
