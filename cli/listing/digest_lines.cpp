#include "cli/output_formats.h"

#include "cli/name_escaping.h"

namespace {

Text LineStart(const WrittenName& name) {
  return name.escaped ? Text(1, ESCAPE_MARK) : Text();
}

}  // namespace

std::vector<Text> DigestLines(OutputFormat format, const AlgorithmList& algorithms,
                              const std::vector<Text>& digests, const Text& name,
                              bool escapeNames) {
  std::vector<Text> lines;
  const WrittenName written = escapeNames ? NameForSumsLine(name) : WrittenName{false, name};
  for (size_t i = 0; i < algorithms.size(); ++i) {
    switch (format) {
      case OutputFormat::REPORT:
        lines.push_back(ReportLine(*algorithms[i]->row, digests[i]));
        break;
      case OutputFormat::GNU:
        lines.push_back(LineStart(written) + digests[i] + L"  " + written.text);
        break;
      case OutputFormat::BSD:
        lines.push_back(LineStart(written) + algorithms[i]->bsdTag + L" (" + written.text +
                        L") = " + digests[i]);
        break;
    }
  }
  // The report shows the path as given, like the window's status bar.
  if (format == OutputFormat::REPORT) lines.push_back(FILE_PATH_PREFIX + name);
  return lines;
}

Text CheckResultLine(const Text& name, CheckOutcome outcome, const CliAlgorithm* matched) {
  const WrittenName written = NameForCheckResult(name);
  const wchar_t* result = outcome == CheckOutcome::MATCHED    ? L": OK"
                          : outcome == CheckOutcome::DIFFERED ? L": FAILED"
                                                              : L": FAILED open or read";
  const Text which = matched ? L" (" + Text(matched->displayName) + L")" : Text();
  return LineStart(written) + written.text + result + which;
}
