#pragma once
// The name that stands for the process's standard input where a file is named, as the usual
// command-line tools take it.

inline constexpr wchar_t STANDARD_INPUT_NAME[] = L"-";
