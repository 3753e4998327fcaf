#include "verify/check_view.h"

#include "sums/folder_separator.h"
#include "sums/unreadable_reason.h"
#include "verify/pasted_check.h"

namespace {

Verdict CannotRead(const Text& name, const Text& reason) {
  Text text = CannotReadMessage(name, reason);
  text[0] = L'C';
  return UnreadableSumsFileVerdict(text);
}

Verdict OneFileVerdict(const CheckView& view) {
  if (view.rows.empty() || view.state == RunState::RUNNING) {
    return {L"Checking " + FileNamePart(view.file) + L"...", Text(), VerdictColour::NEUTRAL};
  }
  if (view.state == RunState::CANCELLED) return {L"Cancelled", Text(), VerdictColour::NEUTRAL};
  for (size_t i = 0; i < view.rows.size(); ++i) {
    const CheckRow row = view.rows[i];
    if (row.status == RowStatus::MISSING || row.status == RowStatus::UNREADABLE) {
      return CannotRead(row.name, row.reason);
    }
  }
  if (view.kind == CheckKind::TWO_FILES) {
    return ComparisonVerdict(view.rows[0].size == view.rows[1].size,
                             view.digests.size() == 2 && view.digests[0] == view.digests[1]);
  }
  const CheckRow row = view.rows[0];
  const NamedAlgorithm* matched =
      row.status == RowStatus::OK ? FindAlgorithmByName(row.algorithm) : nullptr;
  return PastedDigestVerdict(matched, view.candidates, view.digests);
}

}  // namespace

void CheckView::Begin(CheckKind newKind, const Text& newFile, const AlgorithmList& newCandidates) {
  *this = CheckView();
  kind = newKind;
  file = newFile;
  candidates = newCandidates;
}

void CheckView::Apply(RunOutbox&& outbox) {
  if (outbox.listing) {
    rows.List(std::move(outbox.listing));
    malformedLines = std::move(outbox.malformedLines);
    listed = true;
  }
  for (const FoundFile& found : outbox.found) rows.AddFound(found, *candidates[0]);
  if (!outbox.found.empty()) listed = true;
  if (!outbox.failure.empty()) failure = std::move(outbox.failure);
  if (!outbox.updateFailure.empty()) updateFailure = std::move(outbox.updateFailure);
  for (RowUpdate& update : outbox.updates) rows.Set(update.index, std::move(update.outcome));
  if (!outbox.unlisted.empty()) rows.AddUnlisted(std::move(outbox.unlisted));
  if (outbox.binary) binary = true;
  if (outbox.outOfMemory) outOfMemory = true;
  if (!outbox.digests.empty()) digests = std::move(outbox.digests);
  if (!outbox.finished) return;
  state = outbox.cancelled ? RunState::CANCELLED : RunState::DONE;
  rows.End(kind == CheckKind::SUMS_FILE);
}

void CheckView::EndCancelled(RunOutbox&& last) {
  if (state != RunState::RUNNING) return;
  last.finished = last.cancelled = true;
  Apply(std::move(last));
}

Verdict CheckView::CurrentVerdict() const {
  Verdict verdict = VerdictOfRows();
  if (kind == CheckKind::SUMS_FILE && !updateFailure.empty()) {
    verdict.details = NotUpdatedSentence(FileNamePart(file), updateFailure);
  }
  return verdict;
}

Verdict CheckView::VerdictOfRows() const {
  if (outOfMemory && listed) return OutOfMemoryVerdict(rows.Counts());
  if (kind == CheckKind::CREATE) return CreateVerdict(rows.Counts(), state, save);
  if (kind != CheckKind::SUMS_FILE) return OneFileVerdict(*this);
  if (binary) return BinarySumsFileVerdict(FileNamePart(file));
  if (!listed && state == RunState::CANCELLED) {
    return {L"Cancelled while reading " + FileNamePart(file), Text(), VerdictColour::NEUTRAL};
  }
  if (!listed && adding > 0) return AddingVerdict(FileNamePart(file), adding);
  if (!listed) return {L"Reading " + FileNamePart(file) + L"...", Text(), VerdictColour::NEUTRAL};
  if (rows.empty() && !failure.empty()) return CannotRead(FileNamePart(file), failure);
  if (rows.empty()) return NoCheckLineVerdict(FileNamePart(file), malformedLines.size());
  const RowCounts counts = rows.Counts();
  SumsFileFacts facts{FileNamePart(file), failure, Text()};
  for (size_t i = 0; counts.ok == 1 && i < rows.size(); ++i) {
    if (rows.Status(i) == RowStatus::OK) facts.onlyOkName = rows[i].name;
  }
  return SumsFileVerdict(counts, malformedLines, state, facts);
}
