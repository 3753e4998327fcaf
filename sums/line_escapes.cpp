#include "sums/line_escapes.h"

namespace {

#ifdef _WIN32
constexpr bool BACKSLASH_SEPARATES_FOLDERS = true;
#else
constexpr bool BACKSLASH_SEPARATES_FOLDERS = false;
#endif

bool AsksForEscape(wchar_t character) {
  return character == L'\n' || character == L'\r' ||
         (character == ESCAPE_MARK && !BACKSLASH_SEPARATES_FOLDERS);
}

// Once a line is escaped every backslash in it is doubled, separator or not, so that it reads
// back the same everywhere.
Text Escaped(const Text& name) {
  Text text;
  for (wchar_t character : name) {
    if (character == L'\n') {
      text += L"\\n";
    } else if (character == L'\r') {
      text += L"\\r";
    } else if (character == ESCAPE_MARK) {
      text += L"\\\\";
    } else {
      text += character;
    }
  }
  return text;
}

}  // namespace

WrittenName NameForSumsLine(const Text& name) {
  for (wchar_t character : name) {
    if (AsksForEscape(character)) return {true, Escaped(name)};
  }
  return {false, name};
}

WrittenName NameForCheckResult(const Text& name) {
  if (name.find(L'\n') == Text::npos) return {false, name};
  return {true, Escaped(name)};
}

bool UnescapeName(const Text& escaped, Text& name) {
  name.clear();
  for (size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] != ESCAPE_MARK) {
      name += escaped[i];
      continue;
    }
    if (++i == escaped.size()) return false;
    switch (escaped[i]) {
      case L'n':
        name += L'\n';
        break;
      case L'r':
        name += L'\r';
        break;
      case ESCAPE_MARK:
        name += ESCAPE_MARK;
        break;
      default:
        return false;
    }
  }
  return true;
}

Text NameAsWritten(const Text& written, bool escaped) {
  Text name;
  if (!escaped) return written;
  return UnescapeName(written, name) ? name : Text();
}
