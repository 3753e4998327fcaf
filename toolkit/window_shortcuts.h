#pragma once
// Keys a program adds to a toolkit window beside Tab and Shift+Tab: each reaches the program as
// EVENT_MENU with its command, whichever control of the window has the focus.
#include <windows.h>

#include "toolkit/object_registry.h"

// Appends `count` entries (FVIRTKEY keys with their modifiers and commands) to the window's
// accelerator table. False, the table unchanged, when the window is not open or memory runs out.
bool AddWindowShortcuts(ObjectNumber number, const ACCEL* shortcuts, int32_t count);
