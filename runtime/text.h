#pragma once
// Text is UTF-16 on Windows (wchar_t is 16 bits there). The portable code uses the same type
// natively, where wchar_t holds UTF-32 code points; conversions happen only at the edges.
#include <string>

using Text = std::wstring;

// UTF-8 for the edges that speak it: POSIX file names and console output.
std::string Utf8FromText(const Text& text);
Text TextFromUtf8(const std::string& utf8);

// File names outside Windows are bytes, not always UTF-8. These two keep every byte: one that is
// not part of valid UTF-8 becomes U+DC80..U+DCFF in the text (a code point valid UTF-8 never
// gives), and that code point becomes the byte again on the way out. For valid UTF-8 they are
// the two above.
Text TextFromNameBytes(const std::string& bytes);
std::string NameBytesFromText(const Text& text);
