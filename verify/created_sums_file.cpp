#include "verify/created_sums_file.h"

#include "sums/named_algorithms.h"
#include "sums/sums_line_writer.h"

namespace {

const wchar_t WALK_NOTE[] =
    L"Hidden and system files are included; links and junctions to folders are not followed.";

bool SameName(const Text& a, const Text& b) {
#ifdef _WIN32
  return LowerCaseAscii(a) == LowerCaseAscii(b);  // Windows names do not tell case apart
#else
  return a == b;
#endif
}

Text Files(size_t count) {
  return GroupedNumber(count) + (count == 1 ? L" file" : L" files");
}

// "; 2 could not be read and are not in it", or nothing.
Text LeftOut(size_t unreadable) {
  if (unreadable == 0) return Text();
  return L"; " + GroupedNumber(unreadable) +
         (unreadable == 1 ? L" could not be read and is not in it"
                          : L" could not be read and are not in it");
}

}  // namespace

Text GroupedNumber(size_t number) {
  Text digits = std::to_wstring(number);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, L',');
  return digits;
}

CreatedSumsFile CreatedSumsFileLines(const RowTable& rows, const Text& ownName) {
  CreatedSumsFile created;
  for (size_t i = 0; i < rows.size(); ++i) {
    const CheckRow row = rows[i];
    if (SameName(row.name, ownName)) continue;
    if (row.status == RowStatus::OK) {
      created.lines.push_back(GnuSumsLine(row.computed, SumsLineName(row.name)));
    } else {
      ++created.unreadable;
    }
  }
  return created;
}

Verdict CreateVerdict(const RowCounts& counts, RunState state, const SaveOutcome& save) {
  const size_t done = counts.ok + counts.unreadable;
  if (state == RunState::RUNNING) {
    return {L"Reading files: " + GroupedNumber(done) + L" of " + GroupedNumber(counts.Files()),
            WALK_NOTE, VerdictColour::NEUTRAL};
  }
  if (state == RunState::CANCELLED) {
    return {L"Cancelled: no checksums file was written", Text(), VerdictColour::NEUTRAL};
  }
  switch (save.state) {
    case SaveState::NOT_YET:
      return {Files(counts.ok) + L" read" + LeftOut(counts.unreadable), WALK_NOTE,
              VerdictColour::NEUTRAL};
    case SaveState::SAVED:
      return {Files(save.files) + L" in " + save.fileName + LeftOut(save.unreadable), WALK_NOTE,
              save.unreadable == 0 ? VerdictColour::GREEN : VerdictColour::RED};
    case SaveState::NOT_SAVED:
      return {L"Not saved: no checksums file was written", Text(), VerdictColour::NEUTRAL};
    case SaveState::FAILED:
      break;
  }
  return {save.fileName + L" was not written: " + save.reason,
          L"Nothing was left behind, and a file of that name is as it was.", VerdictColour::RED};
}
