#pragma once
// The system's folder picker as a modal dialog of the program (COM's file dialog, which loads the
// dialog libraries only when it is opened).
#include "runtime/text.h"

// The chosen folder's full path, or the empty text when the user cancels or anything fails.
// InitFileDialogs must have run on this thread.
Text AskFolderName(const wchar_t* title);
