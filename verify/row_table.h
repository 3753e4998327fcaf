#pragma once
// The rows the window shows, held as what changes: a row is its listed entry (kept once, in the
// listing shared with the run) and what the run found for it, with words only for the rows that
// need them, and the same reason kept once however many rows give it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "verify/check_rows.h"
#include "verify/listing.h"
#include "verify/verdict.h"

// A file a sums file being made will list, as the walk finds it.
struct FoundFile {
  Text name;  // below the sums file's folder
  int64_t size = -1;
};

// What a run found for one row.
struct RowOutcome {
  RowStatus status = RowStatus::WAITING;
  const NamedAlgorithm* matched = nullptr;  // OK: the one that matched, where several may have
  int64_t size = -1;
  Text reason;    // MISSING, UNREADABLE: why
  Text expected;  // FAILED: the digest expected, when it is not the listed one
  Text computed;  // FAILED: the digest of the file as it is now
};

class RowTable {
 public:
  // A row for each entry, in its order, each waiting.
  void List(std::shared_ptr<const Listing> entries);
  size_t size() const { return rows.size(); }
  bool empty() const { return rows.empty(); }
  // A row for a file a sums file being made will list, waiting, after the others.
  void AddFound(const FoundFile& file, const NamedAlgorithm& algorithm);
  // A row UNLISTED for each file here the sums file does not name, after the others.
  void AddUnlisted(std::vector<Text>&& names);
  // Their names, relative to the sums file's folder with '/' between folders.
  const std::vector<Text>& UnlistedNames() const { return unlisted; }
  // The row as a cell or a copied line shows it.
  CheckRow operator[](size_t index) const;
  CheckRow back() const { return (*this)[rows.size() - 1]; }
  RowStatus Status(size_t index) const { return rows[index].status; }
  RowCounts Counts() const;

  void Set(size_t index, RowOutcome&& outcome);
  // At the end: rows never reached are NOT CHECKED, and failures come first.
  void End(bool putFailuresFirst);

 private:
  static constexpr uint32_t NO_WORDS = UINT32_MAX;
  struct Row {
    uint32_t entry;
    RowStatus status;
    uint8_t matched;  // the algorithm's place in the table; NOT_MATCHED
    int64_t size;
    uint32_t words;  // the index in `words`; NO_WORDS
  };
  struct Words {
    Text reason, expected, computed;
  };
  static constexpr uint8_t NOT_MATCHED = 0xFF;

  uint32_t KeepWords(RowOutcome& outcome);

  std::shared_ptr<const Listing> listing;
  std::shared_ptr<Listing> found;  // the rows AddFound made: `listing` is this one then
  std::vector<Row> rows;
  std::vector<Text> unlisted;  // UNLISTED rows' `entry` is an index in this
  std::vector<Words> words;
  std::unordered_map<Text, uint32_t> reasons;  // words holding a reason alone, by it
};
