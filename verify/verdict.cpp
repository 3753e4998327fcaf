#include "verify/verdict.h"

namespace {

// Lines not understood named one by one, up to this many.
constexpr size_t LINES_NAMED = 10;

Text Count(size_t count, const wchar_t* what) {
  return std::to_wstring(count) + L" " + what;
}

// "FILES files", "1 file".
Text Files(size_t count) {
  return std::to_wstring(count) + (count == 1 ? L" file" : L" files");
}

// "2 of 12 FAILED, 1 MISSING": the first status that occurs says of how many, when `ofAll`.
Text FailureWords(const RowCounts& counts, bool ofAll) {
  const std::pair<size_t, RowStatus> failures[] = {{counts.failed, RowStatus::FAILED},
                                                   {counts.missing, RowStatus::MISSING},
                                                   {counts.unreadable, RowStatus::UNREADABLE}};
  Text words;
  for (const auto& [count, status] : failures) {
    if (count == 0) continue;
    if (!words.empty()) words += L", ";
    words += std::to_wstring(count);
    if (ofAll && words.find(L" of ") == Text::npos)
      words += L" of " + std::to_wstring(counts.Files());
    words += Text(L" ") + StatusWord(status);
  }
  return words;
}

Text LineNumbers(const std::vector<size_t>& lines) {
  Text text;
  for (size_t i = 0; i < lines.size() && i < LINES_NAMED; ++i) {
    if (i > 0) text += L", ";
    text += std::to_wstring(lines[i]);
  }
  if (lines.size() > LINES_NAMED)
    text += L" and " + std::to_wstring(lines.size() - LINES_NAMED) + L" more";
  return text;
}

Text Details(const RowCounts& counts, const std::vector<size_t>& unrecognisedLines) {
  Text details = Count(counts.ok, L"OK") + L", " + Count(counts.failed, L"FAILED") + L", " +
                 Count(counts.missing, L"MISSING") + L", " +
                 Count(counts.unreadable, L"UNREADABLE");
  if (unrecognisedLines.size() == 1) {
    details += L"; 1 line not understood: line " + LineNumbers(unrecognisedLines);
  } else if (!unrecognisedLines.empty()) {
    details += L"; " + std::to_wstring(unrecognisedLines.size()) +
               L" lines not understood: lines " + LineNumbers(unrecognisedLines);
  }
  return details;
}

size_t Checked(const RowCounts& counts) {
  return counts.Files() - counts.waiting;
}

// "setup.exe OK; 3 other listed files are not in this folder".
Text HereOkOthersAbsent(const RowCounts& counts, const Text& onlyOkName) {
  const Text ok =
      counts.ok == 1 && !onlyOkName.empty() ? onlyOkName + L" OK" : Files(counts.ok) + L" OK";
  return ok + L"; " + std::to_wstring(counts.missing) +
         (counts.missing == 1 ? L" other listed file is" : L" other listed files are") +
         L" not in this folder";
}

// The one rule for green: the sums file was read to its end, the run ended without a cancel, and
// every listed file was checked and is OK. (A sums file that lists no file never comes here: it
// gets a red sentence of its own.) Anything else is red, but for the download of one file among
// several listed: when every file here is OK and the others are not in the folder, the verdict
// says both without alarm.
Verdict FinishedVerdict(const RowCounts& counts, const SumsFileFacts& facts) {
  if (counts.failed + counts.unreadable + counts.waiting > 0 ||
      (counts.missing > 0 && counts.ok == 0)) {
    Text words = FailureWords(counts, true);
    if (counts.waiting > 0) {
      words += (words.empty() ? L"" : L", ") + std::to_wstring(counts.waiting) + L" NOT CHECKED";
    }
    return {words, Text(), VerdictColour::RED};
  }
  if (counts.missing > 0) {
    return {HereOkOthersAbsent(counts, facts.onlyOkName), Text(), VerdictColour::NEUTRAL};
  }
  const Text all = counts.ok == 1 ? Text(L"1 file OK") : L"All " + Files(counts.ok) + L" OK";
  return {all, Text(), VerdictColour::GREEN};
}

// "SHA256SUMS could not be read to the end: REASON. 12 entries read before it stopped."
Text UnfinishedRead(const RowCounts& counts, const SumsFileFacts& facts) {
  const size_t read = counts.Files();
  return facts.name + L" could not be read to the end: " + facts.readFailure + L". " +
         std::to_wstring(read) + (read == 1 ? L" entry" : L" entries") +
         L" read before it stopped.";
}

}  // namespace

void CountRow(RowCounts& counts, RowStatus status) {
  switch (status) {
    case RowStatus::OK:
      ++counts.ok;
      break;
    case RowStatus::FAILED:
      ++counts.failed;
      break;
    case RowStatus::MISSING:
      ++counts.missing;
      break;
    case RowStatus::UNREADABLE:
      ++counts.unreadable;
      break;
    case RowStatus::WAITING:
    case RowStatus::NOT_CHECKED:
      ++counts.waiting;
      break;
    case RowStatus::UNLISTED:
      ++counts.unlisted;
      break;
  }
}

Verdict SumsFileVerdict(const RowCounts& counts, const std::vector<size_t>& unrecognisedLines,
                        RunState state, const SumsFileFacts& facts) {
  Verdict verdict;
  Text details = Details(counts, unrecognisedLines);
  if (counts.unlisted > 0) {
    details += L"; " + Files(counts.unlisted) +
               (counts.unlisted == 1 ? L" here is" : L" here are") + L" not in " + facts.name;
  }
  if (state == RunState::RUNNING) {
    verdict.text =
        L"Checking " + std::to_wstring(Checked(counts)) + L" of " + Files(counts.Files()) + L"...";
  } else if (!facts.readFailure.empty()) {
    verdict = {UnfinishedRead(counts, facts), Text(), VerdictColour::RED};
  } else if (state == RunState::CANCELLED) {
    const Text failures = FailureWords(counts, false);
    verdict.text =
        L"Cancelled after " + std::to_wstring(Checked(counts)) + L" of " + Files(counts.Files());
    if (!failures.empty()) verdict.text += L": " + failures;
    verdict.colour = failures.empty() ? VerdictColour::NEUTRAL : VerdictColour::RED;
  } else {
    verdict = FinishedVerdict(counts, facts);
  }
  verdict.details = details;
  return verdict;
}

Verdict UnreadableSumsFileVerdict(const Text& failure) {
  return {failure, Text(), VerdictColour::RED};
}

Verdict NoCheckLineVerdict(const Text& sumsFileName, size_t lines) {
  const Text text = lines == 0 ? sumsFileName + L" is empty: it lists no file to check."
                               : sumsFileName + L" has no line that this program understands as " +
                                     L"a file and its checksum.";
  return {text, Text(), VerdictColour::RED};
}

Verdict OutOfMemoryVerdict(const RowCounts& counts) {
  return {L"Memory ran out after " + std::to_wstring(Checked(counts)) + L" of " +
              Files(counts.Files()) + L"; the rows checked are kept.",
          Details(counts, {}), VerdictColour::RED};
}

Verdict AddingVerdict(const Text& sumsFileName, size_t files) {
  return {L"Adding " + Files(files) + L" to " + sumsFileName + L"...", Text(),
          VerdictColour::NEUTRAL};
}

Text NotUpdatedSentence(const Text& sumsFileName, const Text& failure) {
  return sumsFileName + L" was left as it was: " + failure + L".";
}

Verdict BinarySumsFileVerdict(const Text& sumsFileName) {
  return {sumsFileName + L" is no sums file: it holds binary data, not lines of text.", Text(),
          VerdictColour::RED};
}
