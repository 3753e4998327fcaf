#pragma once
// Plain Win32 top-level windows made by a test, to watch what a component does to the
// program's windows.
#include <windows.h>

// A visible top-level window of the calling thread; destroyed by the caller.
HWND MakePlainWindow(const wchar_t* title, DWORD extendedStyle = 0, DWORD style = 0);

bool IsTopmostWindow(HWND window);

// Handles the calling thread's messages until `handle` is signalled or `milliseconds` pass;
// true when it was signalled. Another thread may be sending this thread's windows messages.
bool WaitPumping(HANDLE handle, DWORD milliseconds = 30000);

// Handles every message already waiting for the calling thread.
void PumpPending();

// Makes `window` the foreground window; true when it is.
bool BringToForeground(HWND window);
