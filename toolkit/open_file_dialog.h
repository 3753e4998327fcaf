#pragma once
// The system's open-file dialog as a modal dialog of the program.
#include <cstdint>

#include "runtime/text.h"

// The dialog library's start: the common controls the dialog uses, and COM on this thread.
void InitFileDialogs();

// Shows the dialog titled `title`, opening in the directory of `initialFile` with its name in the
// file-name box (null: neither), offering the "|"-separated description|pattern pairs of
// `filter` with pair `filterPosition` (0 for the first) selected. Returns the chosen file's full
// path, or the empty text when the user cancels or anything fails.
Text AskOpenFileName(const wchar_t* title, const wchar_t* initialFile, const wchar_t* filter,
                     int32_t filterPosition);
