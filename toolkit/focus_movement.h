#pragma once
// Keyboard focus movement between the controls of the active window, and the focus and
// accelerator cues.
#include <windows.h>

// Tab: the next enabled, visible WS_TABSTOP control of the active window, wrapping around.
void MoveFocusForward();
// Shift+Tab: the previous one, or the last from the first or from a control that is not a stop.
void MoveFocusBackward();

void ShowFocusCues(HWND window);
void HideFocusCues(HWND window);
