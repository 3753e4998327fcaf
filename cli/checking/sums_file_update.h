#pragma once
// --unlisted and --update: the files in a sums file's folder (and below, as deep as its names
// go) that it does not list, printed, or added to it in its own form. Listed files that are
// missing are printed by --update and keep their lines.
#include "cli/options/command_line.h"

// EXIT_ALL_GOOD when every file is listed, EXIT_SOME_FAILED when some are not (or a folder could
// not be listed), EXIT_CANNOT_PROCEED when the sums file cannot be read or has no line in a known
// form.
int PrintUnlistedFiles(const CliOptions& options);

// EXIT_ALL_GOOD when every file is now listed; EXIT_SOME_FAILED when a file could not be read (it
// gets no line) or a folder could not be listed; EXIT_CANNOT_PROCEED when the sums file was left
// as it was: it cannot be read or written, or takes no lines in its form.
int UpdateSumsFile(const CliOptions& options);
