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

}  // namespace

RowCounts CountRows(const std::vector<CheckRow>& rows) {
  RowCounts counts;
  for (const CheckRow& row : rows) {
    switch (row.status) {
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
    }
  }
  return counts;
}

Verdict SumsFileVerdict(const RowCounts& counts, const std::vector<size_t>& unrecognisedLines,
                        RunState state) {
  Verdict verdict;
  verdict.details = Details(counts, unrecognisedLines);
  const Text failures = FailureWords(counts, true);
  switch (state) {
    case RunState::RUNNING:
      verdict.text = L"Checking " + std::to_wstring(Checked(counts)) + L" of " +
                     Files(counts.Files()) + L"...";
      break;
    case RunState::CANCELLED:
      verdict.text =
          L"Cancelled after " + std::to_wstring(Checked(counts)) + L" of " + Files(counts.Files());
      if (!failures.empty()) verdict.text += L": " + FailureWords(counts, false);
      verdict.colour = failures.empty() ? VerdictColour::NEUTRAL : VerdictColour::RED;
      break;
    case RunState::DONE:
      if (failures.empty()) {
        verdict.text = counts.ok == 1 ? Text(L"1 file OK") : L"All " + Files(counts.ok) + L" OK";
        verdict.colour = VerdictColour::GREEN;
      } else {
        verdict.text = failures;
        verdict.colour = VerdictColour::RED;
      }
      break;
  }
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

Verdict BinarySumsFileVerdict(const Text& sumsFileName) {
  return {sumsFileName + L" is no sums file: it holds binary data, not lines of text.", Text(),
          VerdictColour::RED};
}
