#pragma once
// The current gadget list: the window that receives newly created gadgets. Each window that was
// a gadget list keeps its saved state in its gadget-stack property.
#include <windows.h>

#include <cstdint>

struct GadgetListState {
  HWND window;        // current gadget-list window, null when none
  HFONT defaultFont;  // the gadget library's; not ours to delete here
  HWND* stack;        // ours while no window's saved block holds it
  int32_t depth;
  int32_t capacity;
  int32_t changed;  // cleared on every change of list
};

constexpr int32_t GADGET_STACK_CAPACITY = 10;

GadgetListState* CurrentGadgetList();

// Makes a window the current gadget list; returns the previously current window.
HWND MakeCurrentGadgetList(HWND window);

// The gadget-stack property's name: its prefix and the program's module handle.
const wchar_t* GadgetStackPropertyName();
