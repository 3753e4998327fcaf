#include "cli/listing/digest_lines.h"

#include "report/report_table.h"
#include "sums/line_escapes.h"
#include "sums/sums_line_writer.h"

std::vector<Text> DigestLines(OutputFormat format, const AlgorithmList& algorithms,
                              const std::vector<Text>& digests, const Text& name,
                              bool escapeNames) {
  std::vector<Text> lines;
  const WrittenName written =
      escapeNames ? SumsLineName(name) : WrittenName{false, PortableName(name)};
  for (size_t i = 0; i < algorithms.size(); ++i) {
    switch (format) {
      case OutputFormat::REPORT:
        lines.push_back(ReportLine(algorithms[i]->row, digests[i]));
        break;
      case OutputFormat::GNU:
        lines.push_back(GnuSumsLine(digests[i], written));
        break;
      case OutputFormat::BSD:
        lines.push_back(written.LineStart() + algorithms[i]->bsdTag + L" (" + written.text +
                        L") = " + digests[i]);
        break;
    }
  }
  // The report shows the path as given, like the window's status bar.
  if (format == OutputFormat::REPORT) lines.push_back(FILE_PATH_PREFIX + name);
  return lines;
}
