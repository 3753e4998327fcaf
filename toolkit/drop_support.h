#pragma once
// Windows that accept data dragged onto them from other programs through OLE drag and drop. A
// drop arrives as EVENT_WINDOW_DROP for the window, carrying a copy of the dropped data.
#include <cstdint>

#include "toolkit/object_registry.h"

// OLE on the GUI thread: start once before any window accepts drops, stop once at the end.
void StartDropSupport();
void StopDropSupport();

// Lets window `number` accept the clipboard format with the allowed-action mask (DROPEFFECT_COPY,
// _MOVE, _LINK). Format 1 (CF_TEXT) stands for the three text formats. Actions 0 withdraws the
// format, and the window stops being a drop target once it accepts nothing.
void AcceptWindowDrops(ObjectNumber number, int32_t format, int32_t actions);
