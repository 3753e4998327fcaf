#include "app/command_line.h"

namespace {

constexpr wchar_t SPACE = L' ';
constexpr wchar_t QUOTE = L'"';

// The file library's one state record.
struct FileLibrary {
  int32_t argumentCursor;
} fileLibrary;

// Where one token lies in the command line, quotes still in it.
struct TokenSpan {
  size_t start;
  size_t end;
};

// Finds the token beginning at or after `position` and moves `position` past it; none at the
// end of the line.
std::optional<TokenSpan> ScanToken(std::wstring_view line, size_t& position) {
  while (position < line.size() && line[position] == SPACE) ++position;
  if (position == line.size()) return std::nullopt;

  if (line[position] == QUOTE) {
    // A quoted token ends at the next quote; whatever follows that quote directly starts the
    // next token.
    const size_t start = position + 1;
    const size_t closing = line.find(QUOTE, start);
    const size_t end = closing == std::wstring_view::npos ? line.size() : closing;
    position = closing == std::wstring_view::npos ? line.size() : closing + 1;
    return TokenSpan{start, end};
  }

  // An unquoted token runs to the next space outside a quoted section.
  const size_t start = position;
  bool inQuotes = false;
  while (position < line.size() && (inQuotes || line[position] != SPACE)) {
    if (line[position] == QUOTE) inQuotes = !inQuotes;
    ++position;
  }
  return TokenSpan{start, position};
}

Text WithoutQuotes(std::wstring_view token) {
  Text result;
  result.reserve(token.size());
  for (const wchar_t unit : token) {
    if (unit != QUOTE) result += unit;
  }
  return result;
}

}  // namespace

void StartFileLibrary() {
  fileLibrary.argumentCursor = 0;
}

std::optional<Text> CommandLineToken(std::wstring_view commandLine, int64_t index) {
  if (index < 0) return std::nullopt;
  size_t position = 0;
  for (int64_t current = 0;; ++current) {
    const std::optional<TokenSpan> span = ScanToken(commandLine, position);
    if (!span) return std::nullopt;
    if (current == index)
      return WithoutQuotes(commandLine.substr(span->start, span->end - span->start));
  }
}

int64_t CommandLineTokenCount(std::wstring_view commandLine) {
  size_t position = 0;
  int64_t count = 0;
  while (ScanToken(commandLine, position)) ++count;
  return count;
}

Text NextCommandLineArgument(std::wstring_view commandLine) {
  std::optional<Text> argument =
      CommandLineToken(commandLine, int64_t{fileLibrary.argumentCursor} + 1);
  if (!argument) return Text();
  ++fileLibrary.argumentCursor;
  return std::move(*argument);
}

int64_t CommandLineArgumentCount(std::wstring_view commandLine) {
  // A line without even a program name has no arguments, not minus one.
  const int64_t tokens = CommandLineTokenCount(commandLine);
  return tokens > 0 ? tokens - 1 : 0;
}

Text CommandLineArgumentAt(int32_t index, std::wstring_view commandLine) {
  if (index >= 0) fileLibrary.argumentCursor = index;
  return NextCommandLineArgument(commandLine);
}

int32_t ArgumentCursor() {
  return fileLibrary.argumentCursor;
}
