#include "verify/sums_file_run.h"

#include <algorithm>
#include <new>

#include "sums/algorithm_by_file_name.h"
#include "sums/entry_check.h"
#include "sums/whole_sums_file.h"
#include "sums/listed_file.h"
#include "sums/sums_update.h"
#include "sums/unlisted_files.h"
#include "verify/group_reads.h"

namespace {

const wchar_t NO_MEMORY_LEFT[] = L"memory ran out";

struct ReadListing {
  std::shared_ptr<Listing> listing = std::make_shared<Listing>();
  WholeSumsFile end;  // how the reading ended; its entries are in the listing
};

// Entries of an algorithm that no line form allows are counted with the lines not understood.
ReadListing ReadSumsFile(RunBoard& board, const Text& sumsFile) {
  ReadListing read;
  const NamedAlgorithm* named = AlgorithmNamedBySumsFile(sumsFile);
  const AlgorithmList all = AllAlgorithms();
  std::vector<size_t> withoutAlgorithm;
  board.ReadingListing(sumsFile);
  try {
    read.end = ReadSumsFileEntries(
        sumsFile,
        [&](SumsEntry&& entry) {
          const AlgorithmList algorithms = EntryAlgorithms(entry, all, named);
          if (algorithms.empty()) {
            withoutAlgorithm.push_back(entry.lineNumber);
          } else {
            read.listing->Add(entry, algorithms);
          }
        },
        [&](uint64_t bytesRead, int64_t size) { return board.ListingRead(bytesRead, size); });
  } catch (const std::bad_alloc&) {
    read.end.failure = NO_MEMORY_LEFT;  // what was read is kept and checked
  }
  board.ReadingListing(Text());
  std::vector<size_t>& malformed = read.end.malformedLines;
  malformed.insert(malformed.end(), withoutAlgorithm.begin(), withoutAlgorithm.end());
  std::sort(malformed.begin(), malformed.end());
  return read;
}

// The file an entry names, or why it is not opened: the window keeps no settings, so names on a
// share are always refused.
ListedFile EntryFile(const Listing& listing, const Text& sumsFile, size_t entry) {
  return FindListedFile(sumsFile, listing.Entry(entry), false);
}

// The entries from `first` on that name the same file, no more than are read together; the
// end of them, and where they lead in `file`.
size_t GroupEnd(const Listing& listing, const Text& sumsFile, size_t first, ListedFile& file) {
  file = EntryFile(listing, sumsFile, first);
  size_t end = first + 1;
  while (end < listing.Size() && end - first < ENTRIES_READ_TOGETHER) {
    const ListedFile next = EntryFile(listing, sumsFile, end);
    if (next.path != file.path || next.refusal != file.refusal) break;
    ++end;
  }
  return end;
}

uint64_t BytesToRead(RunBoard& board, const Listing& listing, const Text& sumsFile) {
  uint64_t total = 0;
  ListedFile file;
  for (size_t first = 0; first < listing.Size() && !board.Cancelling();) {
    const size_t end = GroupEnd(listing, sumsFile, first, file);
    if (file.refusal.empty()) total += ListedFileSize(file.path);
    first = end;
  }
  return total;
}

void CheckListing(RunBoard& board, const Listing& listing, const Text& sumsFile) {
  board.SetBytesTotal(BytesToRead(board, listing, sumsFile));
  size_t first = 0;
  const NextGroup next = [&](Group& group) {
    if (first >= listing.Size()) return false;
    ListedFile file;
    const size_t end = GroupEnd(listing, sumsFile, first, file);
    group.path = std::move(file.path);
    group.refusal = std::move(file.refusal);
    group.firstRow = first;
    for (; first < end; ++first) group.listed.Add(listing.Entry(first), listing.Algorithms(first));
    return true;
  };
  ReadGroups(board, next, [&](const Group& group, const DigestJob& job) {
    std::vector<RowUpdate> updates = JudgeGroup(group, job);
    board.Post([&](RunOutbox& box) {
      for (RowUpdate& update : updates) box.updates.push_back(std::move(update));
    });
  });
}

// A sums file made for one file beside it ("setup.iso.sha256" of "setup.iso") says nothing of the
// other files in its folder, which is often a whole downloads folder.
bool MadeForOneFile(const Listing& listing, const Text& sumsFile) {
  if (listing.Size() != 1) return false;
  const Text name = listing.Name(0) + L'.';
  const Text folder = SumsFileFolder(sumsFile);
  return sumsFile.compare(folder.size(), name.size(), name) == 0;
}

// The files here that no entry names, found once every entry is judged, as rows after theirs.
void ListUnlisted(RunBoard& board, const Listing& listing, const Text& sumsFile) {
  if (board.Cancelling() || MadeForOneFile(listing, sumsFile)) return;
  std::vector<SumsEntry> entries;
  entries.reserve(listing.Size());
  for (size_t i = 0; i < listing.Size(); ++i) entries.push_back(listing.Entry(i));
  UnlistedFiles unlisted =
      FindUnlistedFiles(sumsFile, entries, [&] { return !board.Cancelling(); });
  if (unlisted.stopped || unlisted.names.empty()) return;
  board.Post([&](RunOutbox& box) { box.unlisted = std::move(unlisted.names); });
}

}  // namespace

void RunSumsFileCheck(RunBoard& board, const Text& sumsFile) {
  ReadListing read = ReadSumsFile(board, sumsFile);
  if (read.end.stopped) return;
  if (read.end.binary) {
    board.Post([](RunOutbox& box) { box.binary = true; });
    return;
  }
  const std::shared_ptr<const Listing> listing = std::move(read.listing);
  board.Post(
      [&](RunOutbox& box) {
        box.listing = listing;
        box.malformedLines = std::move(read.end.malformedLines);
        box.failure = read.end.failure;
      },
      true);
  CheckListing(board, *listing, sumsFile);
  ListUnlisted(board, *listing, sumsFile);
}

void RunUnlistedAdd(RunBoard& board, const Text& sumsFile, const std::vector<Text>& names) {
  const SumsUpdate update = AddFilesToSumsFile(
      sumsFile, names, [&](const Text&, uint64_t) { return !board.Cancelling(); });
  if (!update.failure.empty()) {
    board.Post([&](RunOutbox& box) { box.updateFailure = update.failure; });
  }
  RunSumsFileCheck(board, sumsFile);
}
