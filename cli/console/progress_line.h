#pragma once
// A line on standard error that keeps rewriting itself while a long file is read: its name, how
// far the reading is (a percentage of the file, or the bytes of a pipe), the speed and the time
// left. It shows only once a file has taken more than a second, and by default only when
// standard error is a terminal; it is cleared before anything else is written.
#include <chrono>
#include <cstdint>

#include "cli/options/command_line.h"
#include "runtime/text.h"

using ProgressClock = std::chrono::steady_clock;

void ChooseProgress(ProgressShown shown);

// Shows or refreshes the line for `name`, whose reading became the one waited for at `since`,
// when `bytesThen` of it had been read; now `bytesRead` of `size` (-1: unknown) are.
void ShowProgress(const Text& name, ProgressClock::time_point since, uint64_t bytesThen,
                  uint64_t bytesRead, int64_t size);

// Removes the line, if shown, so that the next text starts at the left.
void ClearProgress();

// The characters the line takes on the screen, 0 when none is shown; safe to read in a signal
// handler, which clears the line itself when the program is interrupted.
size_t ShownProgressWidth();

// The line's text in at most `columns` characters: the name is cut at its start to fit.
Text ProgressText(const Text& name, uint64_t bytesRead, int64_t size, double bytesPerSecond,
                  size_t columns);
