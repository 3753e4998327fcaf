#include "cli/console/progress_line.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cwchar>
#include <iterator>

#include "cli/console/console.h"

namespace {

constexpr std::chrono::milliseconds QUIET_START{1000};
constexpr std::chrono::milliseconds REDRAW_EVERY{250};
// Where standard error is no terminal (--progress), a line this wide.
constexpr size_t DEFAULT_COLUMNS = 80;
constexpr wchar_t CUT_MARK[] = L"...";

bool enabled = false;
// Characters of the line on the screen; 0: none shown. Read by the interrupt handler too.
volatile std::sig_atomic_t shownWidth = 0;
ProgressClock::time_point lastDrawn;

Text Formatted(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return TextFromUtf8(text);
}

// "512 B", "1.5 kB", "23.4 MB", "2.1 GB": powers of 1000, as disks and speeds are sold.
Text ByteCount(double bytes) {
  static const wchar_t* const UNITS[] = {L" B", L" kB", L" MB", L" GB", L" TB", L" PB"};
  size_t unit = 0;
  while (bytes >= 1000 && unit + 1 < std::size(UNITS)) {
    bytes /= 1000;
    ++unit;
  }
  return (unit == 0 ? Formatted("%.0f", bytes) : Formatted("%.1f", bytes)) + UNITS[unit];
}

// "0:07", "12:34", "1:02:03".
Text Duration(double seconds) {
  const long long total = static_cast<long long>(seconds + 0.5);
  const long long hours = total / 3600, minutes = total / 60 % 60, rest = total % 60;
  wchar_t text[32];
  if (hours > 0) {
    std::swprintf(text, std::size(text), L"%lld:%02lld:%02lld", hours, minutes, rest);
  } else {
    std::swprintf(text, std::size(text), L"%lld:%02lld", minutes, rest);
  }
  return text;
}

void Draw(const Text& line) {
  Text text = L"\r" + line;
  const size_t shown = static_cast<size_t>(shownWidth);
  if (line.size() < shown) text.append(shown - line.size(), L' ');
  // Widened before the write: an interrupt that lands once the text is out must clear all of it.
  shownWidth = static_cast<std::sig_atomic_t>(std::max(shown, line.size()));
  uint32_t error = 0;
  WriteConsoleText(ConsoleStream::ERRORS, text, error);
  shownWidth = static_cast<std::sig_atomic_t>(line.size());
}

}  // namespace

void ChooseProgress(ProgressShown shown) {
  enabled = shown == ProgressShown::ALWAYS ||
            (shown == ProgressShown::AUTOMATIC && IsTerminal(ConsoleStream::ERRORS));
}

Text ProgressText(const Text& name, uint64_t bytesRead, int64_t size, double bytesPerSecond,
                  size_t columns) {
  Text state;
  if (size > 0) {
    const double done = static_cast<double>(bytesRead) / static_cast<double>(size);
    state = Formatted("%.0f", 100 * (done > 1 ? 1 : done)) + L"% of " + ByteCount(size);
  } else {
    state = ByteCount(static_cast<double>(bytesRead));
  }
  state += L", " + ByteCount(bytesPerSecond) + L"/s";
  if (size > 0 && bytesPerSecond > 0 && static_cast<uint64_t>(size) > bytesRead) {
    state += L", " + Duration(static_cast<double>(size - bytesRead) / bytesPerSecond) + L" left";
  }
  const Text tail = L": " + state;
  if (name.size() + tail.size() <= columns) return name + tail;
  const size_t room = columns > tail.size() + 3 ? columns - tail.size() - 3 : 0;
  return CUT_MARK + name.substr(name.size() - std::min(room, name.size())) + tail;
}

void ShowProgress(const Text& name, ProgressClock::time_point since, uint64_t bytesThen,
                  uint64_t bytesRead, int64_t size) {
  if (!enabled) return;
  const ProgressClock::time_point now = ProgressClock::now();
  if (now - since < QUIET_START || (shownWidth > 0 && now - lastDrawn < REDRAW_EVERY)) return;
  lastDrawn = now;
  const double seconds = std::chrono::duration<double>(now - since).count();
  const double speed = static_cast<double>(bytesRead - bytesThen) / seconds;
  const int columns = TerminalColumns(ConsoleStream::ERRORS);
  // One column short of the width: a full line would wrap on some terminals.
  Draw(ProgressText(name, bytesRead, size, speed,
                    columns > 1 ? static_cast<size_t>(columns) - 1 : DEFAULT_COLUMNS - 1));
}

void ClearProgress() {
  if (shownWidth == 0) return;
  Text text = L"\r" + Text(static_cast<size_t>(shownWidth), L' ') + L"\r";
  uint32_t error = 0;
  WriteConsoleText(ConsoleStream::ERRORS, text, error);
  shownWidth = 0;
}

size_t ShownProgressWidth() {
  return static_cast<size_t>(shownWidth);
}
