// The command-line tokenizer against a plain model of its rules, on any line. Each input byte is
// one code unit, so spaces, quotes and tabs come up often.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "app/command_line.h"

namespace {

// A line this long already has hundreds of tokens; each argument handed out rescans the line.
constexpr size_t LONGEST_LINE = 512;

void Require(bool condition) {
  if (!condition) std::abort();
}

// The tokens, unit by unit: a token opened by a quote ends at the next quote; any other runs to
// a space outside quotes, each quote turning quoting on or off. Quotes are left out.
std::vector<Text> ModelTokens(const Text& line) {
  std::vector<Text> tokens;
  size_t i = 0;
  for (;;) {
    while (i < line.size() && line[i] == L' ') ++i;
    if (i == line.size()) return tokens;
    Text token;
    if (line[i] == L'"') {
      for (++i; i < line.size() && line[i] != L'"'; ++i) token += line[i];
      if (i < line.size()) ++i;
    } else {
      bool quoted = false;
      for (; i < line.size() && (quoted || line[i] != L' '); ++i) {
        if (line[i] == L'"') {
          quoted = !quoted;
        } else {
          token += line[i];
        }
      }
    }
    tokens.push_back(token);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > LONGEST_LINE) return 0;
  const Text line(data, data + size);
  const std::vector<Text> tokens = ModelTokens(line);
  const int64_t count = static_cast<int64_t>(tokens.size());
  const int64_t arguments = std::max<int64_t>(count - 1, 0);

  Require(CommandLineTokenCount(line) == count);
  Require(CommandLineArgumentCount(line) == arguments);
  Require(!CommandLineToken(line, -1));
  for (int64_t i = 0; i <= count; ++i) {
    Require(CommandLineToken(line, i) == (i < count ? std::optional(tokens[i]) : std::nullopt));
  }

  // The cursor hands out the arguments in order, then stays where it is.
  StartFileLibrary();
  for (int64_t i = 0; i < arguments; ++i) {
    Require(NextCommandLineArgument(line) == tokens[i + 1] && ArgumentCursor() == i + 1);
  }
  Require(NextCommandLineArgument(line).empty() && ArgumentCursor() == arguments);
  Require(CommandLineArgumentAt(-1, line).empty() && ArgumentCursor() == arguments);
  if (arguments > 0) {
    Require(CommandLineArgumentAt(0, line) == tokens[1] && ArgumentCursor() == 1);
  }
  return 0;
}
