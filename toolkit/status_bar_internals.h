#pragma once
// Shared by the status bar's operations, its layout and its two window-procedure hooks.
#include <windows.h>

#include "toolkit/object_registry.h"
#include "toolkit/status_bar_record.h"

// The status bar a window carries: the parent's "zq_statusbar_id" names the bar made last on it,
// the status control's own names the control's bar. False when the window has none.
bool StatusBarNumberOf(HWND window, ObjectNumber* number);
void SetStatusBarNumber(HWND window, ObjectNumber number);

StatusBarRecord* FindStatusBar(ObjectNumber number);

// Sends the control the right edges of its sections.
void LayoutStatusSections(StatusBarRecord* record);

// Lays the sections out again when the parent's client size changes.
LRESULT CALLBACK ParentSizeHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Frees the bar's sections and its number when the control is destroyed.
LRESULT CALLBACK StatusWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
