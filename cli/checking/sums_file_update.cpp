#include "cli/checking/sums_file_update.h"

#include "cli/console/console_lines.h"
#include "cli/console/exit_status.h"
#include "sums/folder_entries.h"
#include "sums/line_escapes.h"
#include "sums/listed_file.h"
#include "sums/sums_update.h"
#include "sums/unlisted_files.h"
#include "sums/unreadable_reason.h"
#include "sums/whole_sums_file.h"

namespace {

// The sums file's proper entries; false, with the reason said, when it cannot be read or has
// none.
bool ReadEntries(const Text& sumsFile, std::vector<SumsEntry>& entries) {
  const WholeSumsFile whole =
      ReadSumsFileEntries(sumsFile, [&](SumsEntry&& entry) { entries.push_back(entry); });
  if (!whole.failure.empty()) {
    WriteErrorLine(CannotReadMessage(sumsFile, whole.failure));
    return false;
  }
  if (whole.binary || entries.empty()) {
    WriteErrorLine(sumsFile + L": no properly formatted checksum lines found");
    return false;
  }
  return true;
}

Text ShownName(const Text& name) {
  const WrittenName written = NameForCheckResult(name);
  return written.LineStart() + written.text;
}

bool SayUnlistedFolders(const UnlistedFiles& unlisted) {
  for (const Text& folder : unlisted.unlistedFolders) {
    WriteErrorLine(L"cannot list the folder " + ShownName(folder));
  }
  return unlisted.unlistedFolders.empty();
}

// Listed names with no file, each once, in the listed order.
void PrintMissing(const Text& sumsFile, const std::vector<SumsEntry>& entries) {
  Text last;
  for (const SumsEntry& entry : entries) {
    if (entry.name == last) continue;
    last = entry.name;
    const ListedFile file = FindListedFile(sumsFile, entry, false);
    if (file.refusal.empty() && KindOf(file.path) == EntryKind::MISSING) {
      WriteConsoleLine(ConsoleStream::OUTPUT, ShownName(entry.name) + L": MISSING");
    }
  }
}

}  // namespace

int PrintUnlistedFiles(const CliOptions& options) {
  std::vector<SumsEntry> entries;
  if (!ReadEntries(options.unlistedOf, entries)) return EXIT_CANNOT_PROCEED;
  const UnlistedFiles unlisted = FindUnlistedFiles(options.unlistedOf, entries);
  for (const Text& name : unlisted.names) WriteConsoleLine(ConsoleStream::OUTPUT, ShownName(name));
  FlushConsoleOutput();
  const bool listedAll = SayUnlistedFolders(unlisted);
  return listedAll && unlisted.names.empty() ? EXIT_ALL_GOOD : EXIT_SOME_FAILED;
}

int UpdateSumsFile(const CliOptions& options) {
  const Text& sumsFile = options.updated;
  std::vector<SumsEntry> entries;
  if (!ReadEntries(sumsFile, entries)) return EXIT_CANNOT_PROCEED;
  const UnlistedFiles unlisted = FindUnlistedFiles(sumsFile, entries);
  const bool listedAll = SayUnlistedFolders(unlisted);
  const SumsUpdate update = AddFilesToSumsFile(sumsFile, unlisted.names);
  if (!update.failure.empty()) {
    WriteErrorLine(sumsFile + L": not updated: " + update.failure);
    return EXIT_CANNOT_PROCEED;
  }
  for (const UnreadFile& file : update.unread) {
    WriteErrorLine(CannotReadMessage(file.name, file.reason));
  }
  for (const Text& name : update.added) {
    WriteConsoleLine(ConsoleStream::OUTPUT, ShownName(name) + L": ADDED");
  }
  PrintMissing(sumsFile, entries);
  FlushConsoleOutput();
  return listedAll && update.unread.empty() ? EXIT_ALL_GOOD : EXIT_SOME_FAILED;
}
