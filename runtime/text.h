#pragma once
// Text is UTF-16 on Windows (wchar_t is 16 bits there). The portable code uses the same type
// natively, where wchar_t holds UTF-32 code points; conversions happen only at the edges.
#include <string>

using Text = std::wstring;

// UTF-8 for the edges that speak it: POSIX file names and console output.
std::string Utf8FromText(const Text& text);
Text TextFromUtf8(const std::string& utf8);
