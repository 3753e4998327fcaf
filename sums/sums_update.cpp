#include "sums/sums_update.h"

#include <algorithm>
#include <string>

#include "digest/digest_run.h"
#include "sums/entry_check.h"
#include "sums/listed_file.h"
#include "sums/replace_file.h"
#include "sums/sums_file_form.h"
#include "sums/sums_line_reader.h"
#include "sums/unlisted_files.h"
#include "sums/unreadable_reason.h"

namespace {

constexpr uint32_t PIECE_SIZE = 65536;

// The file's bytes whole; false, with the system's reason, when it cannot be read.
bool ReadWholeFile(const Text& path, std::string& bytes, Text& reason) {
  DigestFile file;
  if (!file.OpenAnyReadable(path).Opened()) {
    reason = UnreadableFileReason(path);
    return false;
  }
  uint8_t piece[PIECE_SIZE];
  for (;;) {
    const int64_t got = file.ReadSome(piece, PIECE_SIZE);
    if (got == 0) return true;
    if (got < 0) {
      reason = UnreadableFileReason(path);
      return false;
    }
    bytes.append(reinterpret_cast<const char*>(piece), static_cast<size_t>(got));
  }
}

class FileDigests {
 public:
  explicit FileDigests(const UpdateGoOn& goOn) : goOn(goOn) {}

  // False when `goOn` stopped the read; else `digests` (all empty when the file could not be
  // read, `failure` saying why).
  bool Read(const Text& path, const Text& name, const AlgorithmList& algorithms,
            std::vector<Text>& digests, FileFailure& failure) {
    DigestJob job(path, false, DigestChoices(algorithms), FileKinds::REGULAR_ONLY);
    run.Start(job);
    run.Finish(job, [&] {
      if (goOn && !goOn(name, bytesBefore + job.bytesRead)) run.Cancel();
    });
    bytesBefore += job.bytesRead;
    if (job.cancelled || (goOn && !goOn(name, bytesBefore))) return false;
    digests = job.digests;
    failure = FailureOf(job);
    return true;
  }

 private:
  const UpdateGoOn& goOn;
  DigestRun run{DigestWorkersForThisMachine()};
  uint64_t bytesBefore = 0;
};

// Untagged digests of a length two algorithms share (SHA-256, SHA3-256) in a file whose name
// says neither: the first listed file that can be read tells which. False when none can.
bool PickAlgorithm(const Text& sumsFile, const std::vector<SumsEntry>& entries, FileDigests& reader,
                   SumsFileForm& form, bool& stopped) {
  for (const SumsEntry& entry : entries) {
    const ListedFile listed = FindListedFile(sumsFile, entry, false);
    std::vector<Text> digests;
    FileFailure failure;
    if (!listed.refusal.empty()) continue;
    if (!reader.Read(listed.path, entry.name, form.algorithms, digests, failure)) {
      stopped = true;
      return false;
    }
    if (failure.failed) continue;
    const NamedAlgorithm* matching =
        MatchingAlgorithm(form.algorithms, entry.hex, form.algorithms, digests);
    if (!matching) continue;
    form.algorithms = {matching};
    return true;
  }
  return false;
}

// The lines added read back as entries of the names added, in order, after the entries there:
// not so after a line that opens an entry of several lines, or a table's header, which would take
// the first line added as its own.
bool ReadBack(const std::string& bytes, const SumsFileForm& form, size_t entriesBefore,
              const std::vector<Text>& lines, const std::vector<Text>& names) {
  const std::vector<SumsEntry> entries = ProperSumsFileEntries(bytes);
  if (entries.size() != entriesBefore + lines.size()) return false;
  const size_t perName = lines.size() / names.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    Text name = entries[entriesBefore + i].name;
    std::replace(name.begin(), name.end(), form.folderSeparator, L'/');
    if (name != names[i / perName]) return false;
  }
  return true;
}

Text UnknownAlgorithmReason(const AlgorithmList& algorithms) {
  Text names;
  for (const NamedAlgorithm* algorithm : algorithms) {
    names += (names.empty() ? L"" : L" or ") + Text(algorithm->displayName);
  }
  return L"its digests may be " + names +
         L", and no listed file that could be read tells which; name it after its algorithm "
         L"(SHA256SUMS, *.sha3-256)";
}

}  // namespace

SumsUpdate AddFilesToSumsFile(const Text& sumsFile, const std::vector<Text>& names,
                              const UpdateGoOn& goOn) {
  SumsUpdate update;
  std::string bytes;
  if (!ReadWholeFile(sumsFile, bytes, update.failure)) return update;
  const std::vector<SumsEntry> entries = ProperSumsFileEntries(bytes);
  SumsFileForm form = ReadSumsFileForm(sumsFile, bytes, entries);
  update.failure = form.failure;
  if (!update.failure.empty() || names.empty()) return update;
  FileDigests reader(goOn);
  // bsd lines name theirs, a line each; an untagged digest is in one algorithm.
  if (form.lines != SumsLineForm::BSD && form.algorithms.size() > 1 &&
      !PickAlgorithm(sumsFile, entries, reader, form, update.stopped)) {
    if (!update.stopped) update.failure = UnknownAlgorithmReason(form.algorithms);
    return update;
  }
  const Text folder = SumsFileFolder(sumsFile);
  std::vector<Text> lines;
  for (const Text& name : names) {
    std::vector<Text> digests;
    FileFailure failure;
    if (!reader.Read(folder + name, name, form.algorithms, digests, failure)) {
      update.stopped = true;
      update.added.clear();
      return update;
    }
    if (failure.failed) {
      update.unread.push_back({name, failure.reason});
      continue;
    }
    for (Text& line : LinesInForm(form, name, digests)) lines.push_back(std::move(line));
    update.added.push_back(name);
  }
  if (lines.empty()) return update;
  const std::string updated = bytes + BytesToAppend(form, lines);
  if (!ReadBack(updated, form, entries.size(), lines, update.added)) {
    update.failure = L"its last lines would take the lines added as their own";
  } else {
    ReplaceFileBytes(sumsFile, updated, update.failure);
  }
  if (!update.failure.empty()) update.added.clear();
  return update;
}
