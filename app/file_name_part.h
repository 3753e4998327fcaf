#pragma once
// The file name at the end of a path, for the window title.
#include <string_view>

#include "runtime/text.h"

enum class FileNameMode {
  WITH_EXTENSION,
  WITHOUT_EXTENSION,
};

// What follows the last "\" or "/" of `path`, up to a double quote. A path in quotes gives its
// name without the closing quote; a list of dropped paths joined by line feeds gives the name of
// the last one. An empty (or null) path gives the empty text.
Text FileNamePart(std::wstring_view path, FileNameMode mode = FileNameMode::WITH_EXTENSION);
