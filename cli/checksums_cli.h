#pragma once
// checksums-cli: the digest engine for scripts and terminals. It prints digests in the window's
// report or in the two forms the usual checksum tools write and read, and checks sums files.
#include <vector>

#include "runtime/text.h"

inline constexpr wchar_t PROGRAM_NAME[] = L"checksums-cli";

// Exit statuses: every file read and, when checking, matched; one that could not be read or did
// not match; a wrong command line or a sums file with no line in a known form.
constexpr int EXIT_ALL_GOOD = 0;
constexpr int EXIT_SOME_FAILED = 1;
constexpr int EXIT_CANNOT_PROCEED = 2;

// The exit status for the arguments after the program's name.
int RunChecksumsCli(const std::vector<Text>& arguments);

// "checksums-cli: " and the message, on standard error.
void WriteErrorLine(const Text& message);
