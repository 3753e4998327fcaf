#pragma once
// How the console companion names itself in its messages and the statuses it ends with, shared by
// every mode.

inline constexpr wchar_t PROGRAM_NAME[] = L"checksums-cli";

// Exit statuses: every file read and, when checking, matched; one that could not be read or did
// not match; a wrong command line, or a sums file that cannot be read or has no line in a known
// form.
constexpr int EXIT_ALL_GOOD = 0;
constexpr int EXIT_SOME_FAILED = 1;
constexpr int EXIT_CANNOT_PROCEED = 2;
