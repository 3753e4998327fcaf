#include "verify/command_line_file.h"

#include <stdlib.h>

namespace {

const wchar_t CREATE_OPTION[] = L"--create";

bool CreateAsked() {
  return __argc > 1 && __wargv && Text(__wargv[1]) == CREATE_OPTION;
}

}  // namespace

// The runtime's own split of the command line (wWinMain with -municode fills __wargv), which
// spares the start the shell's library.
Text CommandLineFile() {
  return __argc > 1 && __wargv && !CreateAsked() ? Text(__wargv[1]) : Text();
}

bool CommandLineAsksToCreate(std::vector<Text>& items) {
  if (!CreateAsked()) return false;
  for (int i = 2; i < __argc; ++i) items.push_back(__wargv[i]);
  return true;
}
