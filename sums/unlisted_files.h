#pragma once
// The files a sums file leaves out: those in its folder, and in the folders below as deep as its
// listed names go, that no entry names. The sums file itself, its signatures beside it
// (SHA256SUMS.asc, .sig, .gpg, .sign) and other sums files (MD5SUMS, *.sha256, *.sfv, ...) are
// no files it should list. Hidden files count; links and devices are neither followed nor listed.
//
// Made for a worker thread: the search asks `goOn` before each folder it lists and stops when it
// says no, so that a window's Cancel is answered within one folder's listing.
#include <functional>
#include <vector>

#include "runtime/text.h"
#include "sums/sums_entry.h"

struct UnlistedFiles {
  // Relative to the sums file's folder, parts joined by '/', in ordinal order of those names.
  std::vector<Text> names;
  std::vector<Text> unlistedFolders;  // folders that could not be listed, relative as `names`
  bool stopped = false;               // `goOn` said no: `names` holds what was found before
};

using SearchGoOn = std::function<bool()>;

// `entries` are the sums file's proper entries; their names are found as a check finds them
// (listed_file.h).
UnlistedFiles FindUnlistedFiles(const Text& sumsFile, const std::vector<SumsEntry>& entries,
                                const SearchGoOn& goOn = nullptr);

// The folder a sums file's names are relative to, with its separator at the end ("" for the
// current folder).
Text SumsFileFolder(const Text& sumsFile);

// True for a file named as sums files are (by an algorithm, or .sfv, .hashdeep).
bool IsSumsFileName(const Text& name);

// True for a file beside `sumsFile` that it should not list: itself, its signatures, other sums
// files.
bool IsSumsFileOrKin(const Text& sumsFile, const Text& name);
