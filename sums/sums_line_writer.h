#pragma once
// Sums files as every checker reads them: GNU lines ("HEX  NAME", two spaces), lower-case digits,
// UTF-8 without a byte-order mark, LF line ends, '/' between folders of a relative name also on
// Windows, and GNU's escaped form only for a name that needs it.
#include <string>
#include <vector>

#include "runtime/text.h"
#include "sums/line_escapes.h"

// A name as a sums file writes it: on Windows a relative name's '\' separators become '/', which
// every system reads; an absolute name, which only this machine can use, is left as it is.
Text PortableName(const Text& name);

// The name portable, and escaped where it needs to be.
WrittenName SumsLineName(const Text& name);

// "HEX  NAME", with the escape mark first for an escaped name.
Text GnuSumsLine(const Text& hex, const WrittenName& name);

// The lines as the file's bytes: UTF-8, each line ended by LF.
std::string SumsFileBytes(const std::vector<Text>& lines);
