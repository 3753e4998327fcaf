#pragma once
// The clipboard's Unicode text, read and written on the window's thread.
#include <windows.h>

#include "runtime/text.h"

// The text on the clipboard, or the empty text when it holds none.
Text ClipboardText(HWND owner);
bool PutTextOnClipboard(HWND owner, const Text& text);
