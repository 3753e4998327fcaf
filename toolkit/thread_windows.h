#pragma once
// A modal dialog's effect on the calling thread's other windows: they are disabled and taken out
// of the topmost band while it is open, so that the dialog is not hidden behind them, and get
// both back afterwards. Each thread undoes only its own changes.
#include <windows.h>

// The foreground window when it belongs to this process, else null (the dialog then has no
// owner).
HWND DialogOwnerWindow();

// Disables the calling thread's visible top-level windows, except the foreground one, and makes
// its topmost ones non-topmost.
void DisableThreadWindows();

// Undoes what DisableThreadWindows did on the calling thread: enables the windows it disabled and
// puts the formerly topmost ones back into the topmost band.
void RestoreThreadWindows();
