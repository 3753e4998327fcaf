#pragma once
// Shared between opening windows and their window procedure.
#include <windows.h>

#include <string>

#include "toolkit/object_registry.h"

// "WindowClass_" and the number in signed decimal: every window has a class of its own.
std::wstring WindowClassName(ObjectNumber number);

LRESULT CALLBACK ToolkitWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
