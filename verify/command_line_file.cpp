#include "verify/command_line_file.h"

#include <stdlib.h>

// The runtime's own split of the command line (wWinMain with -municode fills __wargv), which
// spares the start the shell's library.
Text CommandLineFile() {
  return __argc > 1 && __wargv ? Text(__wargv[1]) : Text();
}
