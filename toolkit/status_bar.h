#pragma once
// Status bars: a system status control at the bottom of a window, divided into sections of given
// widths, each holding a text. Widths are device pixels and are used as given, never scaled.
#include <windows.h>

#include <cstdint>

#include "toolkit/object_registry.h"
#include "toolkit/status_bar_record.h"

// Appearance flags of SetStatusSectionTextWithFlags; where two exclude each other the lower wins.
constexpr int32_t STATUS_TEXT_RAISED = 1;
constexpr int32_t STATUS_TEXT_NO_BORDERS = 2;
constexpr int32_t STATUS_TEXT_CENTRED = 4;
constexpr int32_t STATUS_TEXT_RIGHT = 8;

// Run once after the window and gadget libraries start, before any status bar is made.
void InitStatusBars();

ObjectTable* StatusBarTable();

// Makes status bar `number` at the bottom of `parent` and makes it the current status bar.
// Result: the chosen number for ANY_OBJECT, else the control's handle; 0 on failure, which
// leaves nothing behind and the current status bar unchanged.
int64_t MakeStatusBar(ObjectNumber number, HWND parent);

// Appends a section at the right end of the current status bar and lays the sections out again.
// Does nothing at MAX_STATUS_SECTIONS, when the section array cannot grow, or when the current
// status bar is gone.
void AppendStatusSection(int32_t width);

// A null text is the empty text. A number that names no status bar, or a section the bar does
// not have, does nothing.
void SetStatusSectionText(ObjectNumber number, int32_t section, const wchar_t* text);
void SetStatusSectionTextWithFlags(ObjectNumber number, int32_t section, const wchar_t* text,
                                   int32_t flags);

// The status bar table's release routine: destroys the control, whose teardown frees the rest.
// ANY_OBJECT destroys every status bar.
void DestroyStatusBar(ObjectNumber number);
