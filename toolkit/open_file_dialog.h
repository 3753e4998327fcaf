#pragma once
// The system's open-file and save-file dialogs as modal dialogs of the program.
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

// The system's save-file dialog, shown as the open-file dialog above, with the initial file's
// name proposed (Enter alone accepts it) and the usual prompt before a file is overwritten;
// `filterPosition` is set to the pair chosen.
Text AskSaveFileName(const wchar_t* title, const wchar_t* initialFile, const wchar_t* filter,
                     int32_t& filterPosition);
