#pragma once
// Digits and blanks as written digests have them, in sums lines and in digests pasted from pages.
#include "runtime/text.h"

// A space or a tab.
bool IsBlank(wchar_t character);
bool IsHexDigit(wchar_t character);
// True for the empty text too.
bool AllHexDigits(const Text& text);
// Without the blanks at either end.
Text TrimmedBlanks(const Text& text);
