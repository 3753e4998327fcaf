#pragma once
// Shared by the kinds of gadget.
#include <windows.h>

#include <cstdint>

// The control of a new gadget, a child of the current gadget-list window with the geometry
// scaled; null when it cannot be made (there is no gadget-list window, say).
HWND CreateGadgetControl(DWORD extendedStyle, const wchar_t* className, const wchar_t* text,
                         DWORD style, int32_t x, int32_t y, int32_t width, int32_t height);
