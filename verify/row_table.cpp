#include "verify/row_table.h"

#include <algorithm>

#include "verify/pasted_check.h"
#include "verify/row_order.h"

void RowTable::List(std::shared_ptr<const Listing> entries) {
  listing = std::move(entries);
  found.reset();
  rows.clear();
  unlisted.clear();
  words.clear();
  reasons.clear();
  const size_t count = listing ? listing->Size() : 0;
  rows.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    rows.push_back({static_cast<uint32_t>(i), RowStatus::WAITING, NOT_MATCHED, -1, NO_WORDS});
  }
}

void RowTable::AddFound(const FoundFile& file, const NamedAlgorithm& algorithm) {
  if (!found) {
    List(nullptr);
    found = std::make_shared<Listing>();
    listing = found;
  }
  SumsEntry entry;
  entry.name = file.name;
  found->Add(entry, {&algorithm});
  rows.push_back(
      {static_cast<uint32_t>(rows.size()), RowStatus::WAITING, NOT_MATCHED, file.size, NO_WORDS});
}

void RowTable::AddUnlisted(std::vector<Text>&& names) {
  for (Text& name : names) {
    rows.push_back(
        {static_cast<uint32_t>(unlisted.size()), RowStatus::UNLISTED, NOT_MATCHED, -1, NO_WORDS});
    unlisted.push_back(std::move(name));
  }
}

CheckRow RowTable::operator[](size_t index) const {
  const Row& kept = rows[index];
  CheckRow row;
  if (kept.status == RowStatus::UNLISTED) {
    row.name = unlisted[kept.entry];
    row.status = kept.status;
    return row;
  }
  row.name = listing->Name(kept.entry);
  row.algorithm = kept.matched != NOT_MATCHED
                      ? Text(NAMED_ALGORITHMS[kept.matched].displayName)
                      : AlgorithmNames(listing->Algorithms(kept.entry),
                                       listing->HasMoreDigests(kept.entry) ? L", " : L" or ");
  row.size = kept.size;
  row.status = kept.status;
  row.expected = listing->Hex(kept.entry);
  row.lineNumber = listing->LineNumber(kept.entry);
  if (kept.words != NO_WORDS) {
    const Words& said = words[kept.words];
    row.reason = said.reason;
    if (!said.expected.empty()) row.expected = said.expected;
    row.computed = said.computed;
  }
  return row;
}

RowCounts RowTable::Counts() const {
  RowCounts counts;
  for (const Row& row : rows) CountRow(counts, row.status);
  return counts;
}

uint32_t RowTable::KeepWords(RowOutcome& outcome) {
  if (outcome.reason.empty() && outcome.expected.empty() && outcome.computed.empty()) {
    return NO_WORDS;
  }
  const bool reasonAlone = outcome.expected.empty() && outcome.computed.empty();
  if (reasonAlone) {
    const auto known = reasons.find(outcome.reason);
    if (known != reasons.end()) return known->second;
    reasons.emplace(outcome.reason, static_cast<uint32_t>(words.size()));
  }
  words.push_back(
      {std::move(outcome.reason), std::move(outcome.expected), std::move(outcome.computed)});
  return static_cast<uint32_t>(words.size() - 1);
}

void RowTable::Set(size_t index, RowOutcome&& outcome) {
  if (index >= rows.size()) return;
  Row& row = rows[index];
  row.status = outcome.status;
  row.matched =
      outcome.matched ? static_cast<uint8_t>(outcome.matched - NAMED_ALGORITHMS) : NOT_MATCHED;
  row.size = outcome.size;
  row.words = KeepWords(outcome);
}

void RowTable::End(bool putFailuresFirst) {
  for (Row& row : rows) {
    if (row.status == RowStatus::WAITING) row.status = RowStatus::NOT_CHECKED;
  }
  if (!putFailuresFirst) return;
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    return OrderRank(a.status) < OrderRank(b.status);
  });
}
