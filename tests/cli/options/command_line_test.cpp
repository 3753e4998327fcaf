// The command line as the usual checksum tools read theirs, and the help printed from the option
// table.
#include "cli/options/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "cli/options/help_text.h"
#include "cli/options/option_table.h"

namespace {

constexpr wchar_t SHA256_ABC[] =
    L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

CliOptions Parsed(const std::vector<Text>& arguments) {
  return ParseCliArguments(arguments);
}

Text AlgorithmsOf(const CliOptions& options) {
  Text names;
  for (const NamedAlgorithm* algorithm : options.algorithms) names += Text(algorithm->name) + L";";
  return names;
}

TEST(CommandLine, GroupedShortOptionsAndValuesInEveryPlace) {
  CliOptions options = Parsed({L"-ca", L"sha256,MD5,SHA256", L"sums"});
  EXPECT_EQ(options.error, L"");
  EXPECT_TRUE(options.check);
  EXPECT_EQ(AlgorithmsOf(options), L"sha256;md5;");
  EXPECT_EQ(options.files, std::vector<Text>{L"sums"});

  options = Parsed({L"-wcaSHA3-256"});
  EXPECT_TRUE(options.warn && options.check);
  EXPECT_EQ(AlgorithmsOf(options), L"sha3-256;");

  options = Parsed({L"a", L"--format=gnu", L"b", L"--algorithm", L"crc32", L"-bt", L"-"});
  EXPECT_EQ(options.error, L"");
  EXPECT_EQ(options.format, OutputFormat::GNU);
  EXPECT_EQ(options.files, (std::vector<Text>{L"a", L"b", L"-"}));

  options = Parsed({L"-r", L"--files-from", L"one", L"--files-from=two", L"--tag", L"-z"});
  EXPECT_TRUE(options.recursive && options.zero);
  EXPECT_EQ(options.format, OutputFormat::BSD);
  EXPECT_EQ(options.fileLists, (std::vector<Text>{L"one", L"two"}));

  EXPECT_EQ(Parsed({L"--progress"}).progress, ProgressShown::ALWAYS);
  EXPECT_EQ(Parsed({L"--progress", L"--no-progress"}).progress, ProgressShown::NEVER);
  EXPECT_EQ(Parsed({}).progress, ProgressShown::AUTOMATIC);
  EXPECT_TRUE(Parsed({L"-h"}).help);
  EXPECT_TRUE(Parsed({L"--version"}).version);
}

TEST(CommandLine, DoubleDashEndsTheOptions) {
  const CliOptions options = Parsed({L"--", L"-c", L"--help"});
  EXPECT_FALSE(options.check || options.help);
  EXPECT_EQ(options.files, (std::vector<Text>{L"-c", L"--help"}));
}

TEST(CommandLine, ExpectTakesHexWithBlanksBetweenAndANameBefore) {
  const CliOptions options =
      Parsed({L"--expect", L"BA7816BF 8f01cfea\t414140de5dae2223b00361a396177a9cb410ff61f20015ad",
              L"--quiet", L"f"});
  EXPECT_EQ(options.error, L"");
  EXPECT_EQ(options.expected, L"BA7816BF8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_TRUE(options.quiet);
  EXPECT_EQ(options.expectedAlgorithm, nullptr);

  const CliOptions named = Parsed({L"--expect", L"SHA-256 = " + Text(SHA256_ABC)});
  EXPECT_EQ(named.error, L"");
  EXPECT_EQ(named.expected, SHA256_ABC);
  ASSERT_NE(named.expectedAlgorithm, nullptr);
  EXPECT_EQ(Text(named.expectedAlgorithm->name), L"sha256");
  EXPECT_EQ(Parsed({L"-a", L"md5,sha1", L"--expect", L"sha256:" + Text(SHA256_ABC)}).error,
            L"--expect: SHA-256 is not among the algorithms chosen with -a");
}

TEST(CommandLine, AWrongLineIsSaidInOneLineAndTheFirstProblemWins) {
  const std::pair<std::vector<Text>, Text> cases[] = {
      {{L"--bogus", L"-x"}, L"unknown option --bogus"},
      {{L"-cx"}, L"unknown option -x"},
      {{L"--tag=bsd"}, L"unknown option --tag=bsd"},
      {{L"-a"}, L"option -a needs a value"},
      {{L"--expect"}, L"option --expect needs a value"},
      {{L"-a", L"md5,md6"},
       L"unknown algorithm 'md6'; choose from crc32, md5, sha1, sha224, sha256, sha384, sha512, "
       L"sha3-224, sha3-256, sha3-384, sha3-512, blake3, xxh3, xxh128, or all"},
      {{L"-a", L"xxh64"}, L"xxh64 is the older XXH64, not XXH3: choose xxh3 (64 bits) or xxh128"},
      {{L"--format", L"xml"}, L"unknown format 'xml'; choose from report, gnu, bsd"},
      {{L"--expect", L"12345"},
       L"--expect '12345' is no digest: it needs 8, 16, 32, 40, 56, 64, 96 or 128 hexadecimal "
       L"digits, "
       L"maybe after a name (sha256:)"},
      {{L"--expect", Text(L"x") + (SHA256_ABC + 1)},
       L"--expect 'x" + Text(SHA256_ABC + 1) +
           L"' is no digest: it needs 8, 16, 32, 40, 56, 64, 96 or 128 hexadecimal digits, maybe "
           L"after "
           L"a name (sha256:)"},
      {{L"-c", L"--expect", SHA256_ABC}, L"--check and --expect exclude each other"},
      {{L"-c", L"-z"}, L"--format, --tag and --zero are meaningful only when printing checksums"},
      {{L"--expect", SHA256_ABC, L"-r"},
       L"-r and --files-from are meaningful only when printing checksums"},
      {{L"--ignore-missing"},
       L"--quiet, --status and --ignore-missing are meaningful only with --check or --expect"},
      {{L"--expect", SHA256_ABC, L"--strict"},
       L"--strict and --warn are meaningful only with --check"},
      {{L"--format", L"gnu"}, L"--format gnu needs exactly one algorithm, chosen with -a"},
      {{L"-a", L"md5", L"--expect", SHA256_ABC},
       L"--expect: no algorithm chosen with -a has 64 hexadecimal digits"},
      {{L"--update", L"SUMS", L"-c"},
       L"--unlisted and --update take one sums file, and no other mode, FILE or -a"},
      {{L"--unlisted", L"SUMS", L"a.txt"},
       L"--unlisted and --update take one sums file, and no other mode, FILE or -a"},
      {{L"--update", L"-"}, L"--unlisted and --update need a sums file, not standard input"},
  };
  for (const auto& [arguments, error] : cases) {
    EXPECT_EQ(Parsed(arguments).error, error) << arguments[0];
  }
}

TEST(HelpText, EveryOptionOfTheTableIsListedWithinTheWidth) {
  const std::vector<Text> lines = HelpLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], L"Usage: checksums-cli [OPTION]... [FILE]...");
  Text all;
  for (const Text& line : lines) {
    EXPECT_LE(line.size(), HELP_WIDTH) << line;
    all += line + L"\n";
  }
  for (const OptionRow& row : OptionRows()) {
    Text names = row.shortName ? L"\n  -" + Text(1, row.shortName) + L", --" : Text(L"\n      --");
    names += row.longName;
    EXPECT_NE(all.find(names), Text::npos) << row.longName;
  }
  EXPECT_NE(all.find(L"crc32, md5, sha1,"), Text::npos);
  EXPECT_EQ(all.find(HELP_ALGORITHM_NAMES), Text::npos);
  // -t is told of on -b's line: its names stand beside the second line of that help.
  EXPECT_NE(all.find(L"\n  -t, --text            always read as bytes\n"), Text::npos);
}

}  // namespace
