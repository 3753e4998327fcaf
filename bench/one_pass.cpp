#include "bench/one_pass.h"

#include <chrono>

#include "app/report_table.h"
#include "digest/compute_file_digests.h"
#include "digest/register_digest_plugins.h"

double TimeOnePass(const std::string& path, unsigned workers, std::vector<std::string>& digests) {
  RegisterDigestPlugins();  // a second registration changes nothing
  std::vector<DigestChoice> choices;
  for (const ReportRow& row : REPORT_ROWS) choices.push_back({row.algorithm, row.bits});
  const Text file = TextFromUtf8(path);
  const auto start = std::chrono::steady_clock::now();
  const std::vector<Text> texts = ComputeFileDigests(file, choices, workers);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  digests.clear();
  for (const Text& text : texts) digests.push_back(Utf8FromText(text));
  return seconds.count();
}
