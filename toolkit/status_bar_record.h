#pragma once
// What the status bar table holds of one bar: its control and its sections.
#include <windows.h>

#include <cstdint>

// A section of this width shares what the fixed-width sections leave of the control.
constexpr int32_t SECTION_FILL = -65535;

// The most sections one bar holds.
constexpr int32_t MAX_STATUS_SECTIONS = 256;

struct StatusSection {
  int32_t width;  // pixels, or SECTION_FILL
};

struct StatusBarRecord {
  HWND window;              // the status control; null: the number is free
  StatusSection* sections;  // ours, from the main heap; freed when the control goes
  int32_t count;
  int32_t capacity;
  int32_t lastWidth;  // the parent's client size when the sections were last laid out
  int32_t lastHeight;
};
