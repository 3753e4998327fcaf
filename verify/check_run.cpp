#include "verify/check_run.h"

#include <algorithm>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "sums/algorithm_by_file_name.h"
#include "sums/entry_check.h"
#include "sums/entry_group.h"
#include "sums/folder_separator.h"
#include "sums/unreadable_reason.h"
#include "verify/pasted_check.h"

namespace {

// Files read at once beyond those the workers are reading: enough to keep them busy, few enough
// that no more than these hold a file open.
constexpr size_t FILES_IN_FLIGHT_PER_WORKER = 4;

bool IsAbsolute(const Text& name) {
  if (!name.empty() && IsFolderSeparator(name[0])) return true;
#ifdef _WIN32
  return name.size() >= 2 && name[1] == L':';
#else
  return false;
#endif
}

uint64_t FileSize(const Text& path) {
#ifdef _WIN32
  // One question of the file system: the library's file_size took about twice as long under Wine.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
#else
  // The name's own bytes: a conversion through the C locale would throw beyond ASCII.
  std::error_code error;
  const uintmax_t size =
      std::filesystem::file_size(std::filesystem::path(NameBytesFromText(path)), error);
  return error ? 0 : static_cast<uint64_t>(size);
#endif
}

RowStatus StatusOf(EntryStatus status) {
  switch (status) {
    case EntryStatus::OK:
      return RowStatus::OK;
    case EntryStatus::FAILED:
      return RowStatus::FAILED;
    case EntryStatus::MISSING:
      return RowStatus::MISSING;
    case EntryStatus::UNREADABLE:
      break;
  }
  return RowStatus::UNREADABLE;
}

}  // namespace

// One read of one file for the rows listed one after another that name it.
struct CheckRun::Group {
  Text path;
  EntryGroup listed;  // no entries when two files are compared: only the algorithm to read for
  std::vector<size_t> rows;
  uint64_t size = 0;
  std::unique_ptr<DigestJob> job;
};

namespace {

// A row as listed, before its file is read; a row judged starts from it again rather than from a
// kept copy, which for a huge sums file would cost as much as the list itself.
CheckRow ListedRow(const SumsEntry& entry, const AlgorithmList& algorithms) {
  CheckRow row;
  row.name = entry.name;
  row.algorithm = AlgorithmNames(algorithms, entry.moreDigests.empty() ? L" or " : L", ");
  row.expected = LowerCaseHex(entry.hex);
  row.lineNumber = entry.lineNumber;
  return row;
}

}  // namespace

Text ListedFilePath(const Text& sumsFile, const Text& name) {
  if (IsAbsolute(name)) return name;
  size_t separator = Text::npos;
  for (size_t i = 0; i < sumsFile.size(); ++i) {
    if (IsFolderSeparator(sumsFile[i])) separator = i;
  }
  if (separator == Text::npos) return name;
  return sumsFile.substr(0, separator + 1) + name;
}

CheckRun::CheckRun(std::function<void()> wake) : wake(std::move(wake)) {}

CheckRun::~CheckRun() {
  Cancel();
  if (thread.joinable()) thread.join();
}

void CheckRun::Cancel() {
  cancelling = true;
  std::lock_guard<std::mutex> held(lock);
  if (digestRun) digestRun->Cancel();
}

RunOutbox CheckRun::Take() {
  std::lock_guard<std::mutex> held(lock);
  RunOutbox taken = std::move(outbox);
  outbox = RunOutbox();
  return taken;
}

RunProgress CheckRun::Progress() {
  std::lock_guard<std::mutex> held(lock);
  RunProgress progress;
  progress.bytesTotal = bytesTotal;
  progress.bytesDone = bytesFinished;
  if (!listingRead.empty()) {
    progress.current = listingRead;
    progress.currentDone = progress.bytesDone = listingBytesRead;
    progress.currentSize = listingSize;
    progress.bytesTotal = listingSize > 0 ? static_cast<uint64_t>(listingSize) : 0;
  }
  if (waitedFor) {
    progress.current = waitedFor->path;
    progress.currentDone = waitedFor->bytesRead;
    progress.currentSize = waitedFor->size;
    progress.bytesDone += progress.currentDone;
  }
  return progress;
}

void CheckRun::Post(const std::function<void(RunOutbox&)>& change, bool wakeWindow) {
  {
    std::lock_guard<std::mutex> held(lock);
    change(outbox);
  }
  if (wakeWindow && wake) wake();
}

void CheckRun::Finish() {
  const bool cancelled = cancelling;
  Post(
      [&](RunOutbox& box) {
        box.finished = true;
        box.cancelled = cancelled;
      },
      true);
}

void CheckRun::CheckSumsFile(const Text& sumsFile) {
  thread = std::thread([this, sumsFile] {
    RunSumsFile(sumsFile);
    Finish();
  });
}

WholeSumsFile CheckRun::ReadListing(const Text& sumsFile) {
  {
    std::lock_guard<std::mutex> held(lock);
    listingRead = sumsFile;
  }
  WholeSumsFile whole = ReadWholeSumsFile(sumsFile, [this](uint64_t bytesRead, int64_t size) {
    std::lock_guard<std::mutex> held(lock);
    listingBytesRead = bytesRead;
    listingSize = size;
    return !cancelling;
  });
  std::lock_guard<std::mutex> held(lock);
  listingRead.clear();
  return whole;
}

void CheckRun::RunSumsFile(const Text& sumsFile) {
  WholeSumsFile whole = ReadListing(sumsFile);
  if (whole.stopped) return;
  if (whole.binary) {
    Post([](RunOutbox& box) { box.binary = true; });
    return;
  }
  const NamedAlgorithm* named = AlgorithmNamedBySumsFile(sumsFile);
  std::vector<CheckRow> rows;
  rows.reserve(whole.entries.size());
  std::vector<Group> groups;
  std::vector<size_t> malformed = whole.malformedLines;
  for (SumsEntry& entry : whole.entries) {
    AlgorithmList algorithms = EntryAlgorithms(entry, AllAlgorithms(), named);
    if (algorithms.empty()) {
      malformed.push_back(entry.lineNumber);
      continue;
    }
    CheckRow row = ListedRow(entry, algorithms);
    const Text path = ListedFilePath(sumsFile, entry.name);
    if (groups.empty() || groups.back().path != path || !groups.back().listed.Takes(entry)) {
      groups.push_back(Group{path, {}, {}, 0, nullptr});
    }
    Group& group = groups.back();
    group.rows.push_back(rows.size());
    group.listed.Add(std::move(entry), std::move(algorithms));
    rows.push_back(std::move(row));
  }
  std::vector<SumsEntry>().swap(whole.entries);  // each moved into its group
  std::sort(malformed.begin(), malformed.end());
  Post(
      [&](RunOutbox& box) {
        box.listed = true;
        box.rows = std::move(rows);
        box.malformedLines = std::move(malformed);
        box.failure = whole.failure;
      },
      true);
  uint64_t total = 0;
  for (Group& group : groups) {
    if (cancelling) break;
    group.size = FileSize(group.path);
    total += group.size;
  }
  {
    std::lock_guard<std::mutex> held(lock);
    bytesTotal = total;
  }
  RunGroups(groups, [this](const Group& group, const DigestJob& job) { Judge(group, job); });
}

void CheckRun::RunGroups(std::vector<Group>& groups,
                         const std::function<void(const Group&, const DigestJob&)>& done) {
  const unsigned workers = DigestWorkersForThisMachine();
  DigestRun run(workers);
  {
    std::lock_guard<std::mutex> held(lock);
    digestRun = &run;
    if (cancelling) run.Cancel();
  }
  const size_t inFlight = FILES_IN_FLIGHT_PER_WORKER * workers;
  size_t started = 0;
  for (size_t next = 0; next < groups.size(); ++next) {
    for (; !cancelling && started < groups.size() && started < next + inFlight; ++started) {
      Group& group = groups[started];
      group.job =
          std::make_unique<DigestJob>(group.path, false, DigestChoices(group.listed.algorithms));
      run.Start(*group.job);
    }
    if (!groups[next].job) break;  // cancelled before it was started
    DigestJob& job = *groups[next].job;
    {
      std::lock_guard<std::mutex> held(lock);
      waitedFor = &job;
    }
    run.Finish(job, nullptr);
    {
      std::lock_guard<std::mutex> held(lock);
      waitedFor = nullptr;
      bytesFinished += job.bytesRead;
    }
    if (job.cancelled) continue;  // its rows stay unchecked; the others are finished quickly
    done(groups[next], job);
    groups[next].job.reset();
  }
  std::lock_guard<std::mutex> held(lock);
  digestRun = nullptr;
}

void CheckRun::Judge(const Group& group, const DigestJob& job) {
  const FileFailure failure = FailureOf(job);
  std::vector<RowUpdate> updates;
  for (size_t i = 0; i < group.rows.size(); ++i) {
    const SumsEntry& entry = group.listed.entries[i];
    const EntryVerdict verdict = group.listed.Judge(i, failure, job.digests);
    CheckRow row = ListedRow(entry, group.listed.entryAlgorithms[i]);
    row.status = StatusOf(verdict.status);
    if (verdict.status == EntryStatus::OK && entry.moreDigests.empty()) {
      row.algorithm = verdict.algorithm->displayName;
    }
    if (verdict.status == EntryStatus::FAILED) {
      row.expected = verdict.expected;
      row.computed = verdict.computed;
    }
    row.reason = verdict.reason;
    row.size = failure.failed ? -1 : job.size.load();
    updates.push_back({group.rows[i], std::move(row)});
  }
  Post([&](RunOutbox& box) {
    for (RowUpdate& update : updates) box.updates.push_back(std::move(update));
  });
}

void CheckRun::CheckDigest(const Text& file, const AlgorithmList& candidates, const Text& hex) {
  thread = std::thread([this, file, candidates, hex] {
    const NamedAlgorithm* named = candidates.size() == 1 ? candidates[0] : nullptr;
    const SumsEntry entry = ProperEntry(SumsLineForm::GNU, named, hex, file);
    const CheckRow row = ListedRow(entry, candidates);
    Group group{file, {}, {0}, FileSize(file), nullptr};
    group.listed.Add(entry, candidates);
    Post(
        [&](RunOutbox& box) {
          box.listed = true;
          box.rows = {row};
        },
        true);
    {
      std::lock_guard<std::mutex> held(lock);
      bytesTotal = group.size;
    }
    std::vector<Group> groups;
    groups.push_back(std::move(group));
    RunGroups(groups, [this](const Group& read, const DigestJob& job) {
      Judge(read, job);
      Post([&](RunOutbox& box) { box.digests = job.digests; });
    });
    Finish();
  });
}

void CheckRun::CompareFiles(const Text& first, const Text& second) {
  thread = std::thread([this, first, second] {
    const NamedAlgorithm* sha256 = FindAlgorithmByName(L"sha256");
    std::vector<Group> groups;
    for (const Text& path : {first, second}) {
      CheckRow row;
      row.name = path;
      row.algorithm = sha256->displayName;
      listedRows.push_back(row);
      groups.push_back(Group{path, {{}, {}, {sha256}}, {groups.size()}, FileSize(path), nullptr});
    }
    Post(
        [&](RunOutbox& box) {
          box.listed = true;
          box.rows = listedRows;
        },
        true);
    {
      std::lock_guard<std::mutex> held(lock);
      bytesTotal = groups[0].size + groups[1].size;
    }
    CompareRead(groups);
    Finish();
  });
}

void CheckRun::CompareRead(std::vector<Group>& groups) {
  std::vector<CheckRow> rows = listedRows;
  std::vector<Text> digests(groups.size());
  size_t read = 0;
  RunGroups(groups, [&](const Group& group, const DigestJob& job) {
    CheckRow& row = rows[group.rows[0]];
    const FileFailure failure = FailureOf(job);
    if (failure.failed) {
      row.status = failure.missing ? RowStatus::MISSING : RowStatus::UNREADABLE;
      row.reason = failure.reason;
      return;
    }
    row.size = job.size;
    row.computed = digests[group.rows[0]] = job.digests[0];
    ++read;
  });
  if (read == rows.size()) {
    const bool same = rows[0].size == rows[1].size && digests[0] == digests[1];
    for (size_t i = 0; i < rows.size(); ++i) {
      rows[i].status = same ? RowStatus::OK : RowStatus::FAILED;
      rows[i].expected = digests[1 - i];
    }
  }
  Post([&](RunOutbox& box) {
    for (size_t i = 0; i < rows.size(); ++i) box.updates.push_back({i, rows[i]});
    box.digests = digests;
  });
}
