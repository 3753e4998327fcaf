// The tokenizer and the argument cursor on given command lines: the worked examples, then
// properties that must hold on thousands of random lines.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/app/command_line_examples.h"

namespace {

// Every argument handed out from a fresh start, until the cursor stops moving.
std::vector<Text> ArgumentsHandedOut(const Text& line) {
  StartFileLibrary();
  std::vector<Text> arguments;
  for (int32_t before = ArgumentCursor();; before = ArgumentCursor()) {
    Text argument = NextCommandLineArgument(line);
    if (ArgumentCursor() == before) {
      EXPECT_EQ(argument, L"");
      break;
    }
    EXPECT_EQ(ArgumentCursor(), before + 1);
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

TEST(CommandLine, Examples) {
  for (const CommandLineExample& example : CommandLineExamples()) {
    SCOPED_TRACE(Utf8FromText(example.name));
    EXPECT_EQ(ArgumentsHandedOut(example.commandLine), example.arguments);
    EXPECT_EQ(CommandLineArgumentCount(example.commandLine),
              static_cast<int64_t>(example.arguments.size()));
  }
}

TEST(CommandLine, MissingArgumentLeavesCursorWhereItIs) {
  const Text line = L"checksums.exe one";
  StartFileLibrary();
  EXPECT_EQ(NextCommandLineArgument(line), L"one");
  EXPECT_EQ(NextCommandLineArgument(line), L"");
  EXPECT_EQ(NextCommandLineArgument(line), L"");
  EXPECT_EQ(ArgumentCursor(), 1);
}

TEST(CommandLine, StartResetsCursor) {
  const Text line = L"checksums.exe one two";
  StartFileLibrary();
  EXPECT_EQ(NextCommandLineArgument(line), L"one");
  StartFileLibrary();
  EXPECT_EQ(NextCommandLineArgument(line), L"one");
  EXPECT_EQ(NextCommandLineArgument(line), L"two");
}

TEST(CommandLine, ArgumentAtMovesCursorOnlyForIndexZeroOrMore) {
  const Text line = L"checksums.exe zero one two";
  StartFileLibrary();
  EXPECT_EQ(CommandLineArgumentAt(2, line), L"two");
  EXPECT_EQ(CommandLineArgumentAt(0, line), L"zero");
  EXPECT_EQ(CommandLineArgumentAt(-1, line), L"one");
  EXPECT_EQ(ArgumentCursor(), 2);
  EXPECT_EQ(CommandLineArgumentAt(7, line), L"");
  EXPECT_EQ(ArgumentCursor(), 7);
}

TEST(CommandLine, EmptyLineHasNoArguments) {
  EXPECT_EQ(CommandLineTokenCount(L""), 0);
  EXPECT_EQ(CommandLineArgumentCount(L""), 0);
  EXPECT_EQ(CommandLineArgumentCount(L"   "), 0);
  EXPECT_FALSE(CommandLineToken(L"", 0).has_value());
  EXPECT_FALSE(CommandLineToken(L"a", -1).has_value());
}

Text RandomCommandLine(std::mt19937& random) {
  static constexpr wchar_t ALPHABET[] = {L' ', L' ', L'"', L'"', L'\t', L'\\', L'a', L'b', L'c'};
  std::uniform_int_distribution<size_t> length(0, 40);
  std::uniform_int_distribution<size_t> pick(0, std::size(ALPHABET) - 1);
  Text line(length(random), L' ');
  for (wchar_t& unit : line) unit = ALPHABET[pick(random)];
  return line;
}

Text WithoutUnits(Text text, const Text& units) {
  std::erase_if(text, [&](wchar_t unit) { return units.find(unit) != Text::npos; });
  return text;
}

TEST(CommandLine, RandomLinesKeepEveryPropertyOfTheSplit) {
  std::mt19937 random(20240517);
  for (int round = 0; round < 5000; ++round) {
    const Text line = RandomCommandLine(random);
    SCOPED_TRACE(Utf8FromText(L"[" + line + L"]"));

    const int64_t tokenCount = CommandLineTokenCount(line);
    Text joined;
    for (int64_t index = 0; index < tokenCount; ++index) {
      const std::optional<Text> token = CommandLineToken(line, index);
      ASSERT_TRUE(token.has_value());
      EXPECT_EQ(token->find(L'"'), Text::npos);
      joined += *token;
    }
    EXPECT_FALSE(CommandLineToken(line, tokenCount).has_value());
    // Splitting loses nothing and invents nothing: only quotes and separating spaces go.
    EXPECT_EQ(WithoutUnits(joined, L" "), WithoutUnits(line, L" \""));

    const std::vector<Text> handedOut = ArgumentsHandedOut(line);
    EXPECT_EQ(CommandLineArgumentCount(line), static_cast<int64_t>(handedOut.size()));
    for (size_t i = 0; i < handedOut.size(); ++i) {
      EXPECT_EQ(handedOut[i], CommandLineToken(line, static_cast<int64_t>(i) + 1));
    }
  }
}

}  // namespace
