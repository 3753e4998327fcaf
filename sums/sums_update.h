#pragma once
// Lines added to a sums file for files it does not list yet: in its own form (sums_file_form.h),
// after its last line, every byte already there kept, the whole written through a replace that
// leaves the old file as it was on any failure (replace_file.h). Listed files that are missing
// stay listed: nothing is ever taken out.
//
// Made for a worker thread: `goOn` is asked while files are read, about every tenth of a second
// and after each file, with the name being read and the bytes read of all files so far; when it
// says no, the read in progress stops within one piece and the sums file is left as it was.
#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/text.h"

struct UnreadFile {
  Text name;
  Text reason;  // the system's words, as after "cannot read NAME: "
};

struct SumsUpdate {
  std::vector<Text> added;         // the names the lines added list, in their order
  std::vector<UnreadFile> unread;  // files that could not be read, and have no line
  // Why the sums file was left as it was: it could not be read, its form takes no lines, its
  // digests' algorithm could not be told, or writing failed. Empty when it was written, or when
  // there was nothing to add.
  Text failure;
  bool stopped = false;  // `goOn` said no: nothing was written
};

using UpdateGoOn = std::function<bool(const Text& name, uint64_t bytesRead)>;

// Adds lines for `names`, relative to the sums file's folder with '/' between folders, as
// FindUnlistedFiles gives them. The digest plugins must be registered.
SumsUpdate AddFilesToSumsFile(const Text& sumsFile, const std::vector<Text>& names,
                              const UpdateGoOn& goOn = nullptr);
