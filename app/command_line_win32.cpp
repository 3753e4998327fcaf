#include <windows.h>

#include "app/command_line.h"

// The process's command line, read on every call rather than kept.
Text NextCommandLineArgument() {
  return NextCommandLineArgument(GetCommandLineW());
}

int64_t CommandLineArgumentCount() {
  return CommandLineArgumentCount(GetCommandLineW());
}

Text CommandLineArgumentAt(int32_t index) {
  return CommandLineArgumentAt(index, GetCommandLineW());
}
